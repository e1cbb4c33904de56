#include "report/page_writer.h"

#include "system/file_open.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kCannotWrite = latin1("impossible d'ecrire le fichier %s");

[[noreturn]] void cannot_write(std::string_view display_name) {
    std::string message;
    format_into(message, kCannotWrite, {FormatArg(display_name)}, false);
    fatal_error(message);
}
}  // namespace

PageWriter::PageWriter(const std::filesystem::path& path, std::string_view display_name)
    : display_name_(display_name) {
    std::error_code ignored;
    if (!std::filesystem::is_directory(path, ignored)) file_ = open_file(path, "wb");
    if (file_ == nullptr) cannot_write(display_name_);
    buffer_.reserve(kFlushSize * 2);
}

PageWriter::~PageWriter() {
    if (file_ == nullptr) return;
    flush();
    std::fclose(file_);
}

void PageWriter::flush() {
    if (buffer_.empty() || file_ == nullptr) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
    buffer_.clear();
}

void PageWriter::close() {
    flush();
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (failed_ || !closed) cannot_write(display_name_);
}

}  // namespace korvanel
