#include "report/page_writer.h"

#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kCannotWrite = latin1("impossible d'ecrire le fichier %s");
}  // namespace

[[noreturn]] void cannot_write_page(std::string_view display_name) {
    std::string message;
    format_into(message, kCannotWrite, {FormatArg(display_name)}, false);
    fatal_error(message);
}

PageWriter::PageWriter(PageSink& sink, const std::filesystem::path& path, std::string_view display_name)
    : sink_(sink), display_name_(display_name) {
    if (!sink_.begin(path, display_name_)) cannot_write_page(display_name_);
    open_ = true;
    buffer_.reserve(kFirstBufferSize);
}

PageWriter::~PageWriter() {
    if (!open_) return;
    flush();
    sink_.end();
}

void PageWriter::flush() {
    if (buffer_.empty()) return;
    if (!sink_.write(buffer_)) failed_ = true;
    buffer_.clear();
}

void PageWriter::raw_large(std::string_view fragment) {
    flush();
    if (!sink_.write(fragment)) failed_ = true;
}

void PageWriter::close() {
    flush();
    open_ = false;
    const bool ended = sink_.end();
    if (failed_ || !ended) cannot_write_page(display_name_);
}

}  // namespace korvanel
