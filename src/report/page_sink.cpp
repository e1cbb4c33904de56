#include "report/page_sink.h"

#include "system/file_replace.h"

namespace korvanel {

// The pages not put in place go the way a signal would take them.
FilePageSink::~FilePageSink() {
    if (open_ != nullptr) std::fclose(open_);
    remove_temp_files();
    for (const Page& page : pages_) forget_temp_file(page.temp);
}

bool FilePageSink::begin(const std::filesystem::path& file, std::string_view display_name) {
    std::error_code ignored;
    const std::filesystem::file_status status = std::filesystem::symlink_status(file, ignored);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_symlink(status)) {
        return false;
    }
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::optional<TempFile> temp = create_temp_file(folder);
    if (!temp) return false;
    open_ = temp->file;
    failed_ = false;
    pages_.push_back({file, std::string(display_name), temp->path});
    return true;
}

bool FilePageSink::write(std::string_view bytes) {
    if (open_ == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), open_) != bytes.size()) failed_ = true;
    return !failed_;
}

bool FilePageSink::end() {
    if (open_ == nullptr) return false;
    const bool closed = std::fclose(open_) == 0;
    open_ = nullptr;
    return closed && !failed_;
}

std::optional<std::string> FilePageSink::put_in_place() {
    std::size_t placed = 0;
    std::optional<std::string> refused;
    for (; placed < pages_.size(); ++placed) {
        Page& page = pages_[placed];
        if (!replace_file(page.temp, page.file)) {
            refused = page.display_name;
            break;
        }
        forget_temp_file(page.temp);
    }
    pages_.erase(pages_.begin(), pages_.begin() + static_cast<std::ptrdiff_t>(placed));
    return refused;
}

bool ReloadingPageSink::write(std::string_view bytes) {
    if (head_) {
        head_ = false;
        const std::size_t at = bytes.starts_with("<html>") ? bytes.find(kContentType) : std::string_view::npos;
        if (at != std::string_view::npos) {
            const std::size_t end = at + kContentType.size();
            return pages_.write(bytes.substr(0, end)) && pages_.write(kReloadLine) && pages_.write(bytes.substr(end));
        }
    }
    return pages_.write(bytes);
}

std::string without_reload_line(std::string page) {
    const std::size_t at = page.find(ReloadingPageSink::kReloadLine);
    if (at != std::string::npos && at >= ReloadingPageSink::kContentType.size() &&
        std::string_view(page).substr(at - ReloadingPageSink::kContentType.size()).starts_with(
            ReloadingPageSink::kContentType)) {
        page.erase(at, ReloadingPageSink::kReloadLine.size());
    }
    return page;
}

}  // namespace korvanel
