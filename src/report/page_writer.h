// Writes one page file. Fragments are the program's own markup and go in as
// they are; every "%s" value of `format` and every `escaped` text is
// HTML-escaped, since names and texts come from the log.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "report/page_sink.h"
#include "text/format.h"

namespace korvanel {

class PageWriter {
public:
    // Begins the page `path` in `sink`. A page that cannot be created ends
    // the run with "impossible d'ecrire le fichier <display_name>".
    PageWriter(PageSink& sink, const std::filesystem::path& path, std::string_view display_name);
    // Hands the sink what is still buffered and ends the page.
    ~PageWriter();
    PageWriter(const PageWriter&) = delete;
    PageWriter& operator=(const PageWriter&) = delete;

    void raw(std::string_view fragment) {
        if (fragment.size() >= kFlushSize) return raw_large(fragment);
        buffer_.append(fragment);
        if (buffer_.size() >= kFlushSize) flush();
    }
    template <class... Args>
    void format(std::string_view fmt, const Args&... args) {
        format_into(buffer_, fmt, {FormatArg(args)...}, true);
        if (buffer_.size() >= kFlushSize) flush();
    }
    void escaped(std::string_view text) { append_escaped(buffer_, text); }

    // Writes out the rest and ends the page; a failed write ends the run
    // like a page that cannot be created.
    void close();

private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    // Enough for the smallest pages, so that few grow the buffer.
    static constexpr std::size_t kFirstBufferSize = 1 << 12;
    void flush();
    // A fragment too large to buffer goes to the sink as it is.
    void raw_large(std::string_view fragment);

    PageSink& sink_;
    std::string buffer_;
    std::string display_name_;
    bool open_ = false;
    bool failed_ = false;
};

// Ends the run with "impossible d'ecrire le fichier <display_name>".
[[noreturn]] void cannot_write_page(std::string_view display_name);

}  // namespace korvanel
