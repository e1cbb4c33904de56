// The whole program on arbitrary bytes as the log: reading, part commands,
// every recogniser, every page and the transcript. The log is read from a
// scratch directory by the serial reader, in one block sized to the input,
// and the pages go to memory, so a run allocates what its input needs and
// starts no thread. A fatal report (status 1) is a normal outcome; a crash,
// a sanitizer report, a leak or a hang is a finding, and so is a file
// written in the scratch directory, a page outside it, or a text from the
// log that acts as markup.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "run/run.h"
#include "scripted_console.h"

namespace {
namespace fs = std::filesystem;

// The run works in <scratch>/run; nothing may appear beside it.
const fs::path& scratch_dir() {
    static const fs::path dir = [] {
        const char* base = fs::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/korvanel-fuzz-XXXXXX";
        const fs::path made(mkdtemp(pattern.data()));
        fs::create_directory(made / "run");
        return made;
    }();
    return dir;
}

[[noreturn]] void finding(const std::string& what) {
    std::fprintf(stderr, "finding: %s\n", what.c_str());
    std::abort();
}

bool is_known_tag(std::string_view name) {
    for (std::string_view tag : {"html", "head", "title", "meta", "body", "p", "font", "a", "table", "tr", "td", "b", "i",
                                 "br", "style", "svg", "g", "rect", "path", "text"}) {
        if (name == tag) return true;
    }
    return false;
}

bool is_known_attribute(std::string_view name) {
    for (std::string_view attribute : {"http-equiv", "content", "bgcolor", "text", "vlink", "size", "href", "name",
                                       "border", "align", "width", "height", "class", "color", "colspan", "d", "fill",
                                       "font-size", "text-anchor", "transform", "x", "y", "xmlns", "viewBox"}) {
        if (name == attribute) return true;
    }
    return false;
}

// Every tag of a page is one the program writes itself, with its own
// attributes, each value quoted (or a bare number) and free of quotes: a
// name from the log can neither open a tag nor leave an attribute value.
void check_markup(const std::string& page, const std::string& file) {
    std::size_t at = 0;
    while ((at = page.find('<', at)) != std::string::npos) {
        std::size_t pos = at + 1;
        if (pos < page.size() && page[pos] == '/') ++pos;
        const std::size_t name_start = pos;
        while (pos < page.size() && page[pos] != ' ' && page[pos] != '>') ++pos;
        const std::string_view tag(page.data() + name_start, pos - name_start);
        if (!is_known_tag(tag)) finding(file + ": unknown tag <" + std::string(tag) + "> at " + std::to_string(at));
        while (pos < page.size() && page[pos] != '>') {
            while (pos < page.size() && page[pos] == ' ') ++pos;
            if (pos < page.size() && page[pos] == '>') break;
            if (pos + 1 < page.size() && page[pos] == '/' && page[pos + 1] == '>') {  // an element without content
                ++pos;
                break;
            }
            const std::size_t attribute_start = pos;
            while (pos < page.size() && page[pos] != '=' && page[pos] != '>' && page[pos] != ' ') ++pos;
            const std::string_view attribute(page.data() + attribute_start, pos - attribute_start);
            if (!is_known_attribute(attribute) || pos >= page.size() || page[pos] != '=') {
                finding(file + ": unexpected attribute '" + std::string(attribute) + "' at " + std::to_string(at));
            }
            ++pos;
            if (pos < page.size() && page[pos] == '"') {
                const std::size_t close = page.find('"', pos + 1);
                if (close == std::string::npos) finding(file + ": unclosed attribute value at " + std::to_string(at));
                if (page.find('<', pos + 1) < close) finding(file + ": '<' inside an attribute value");
                pos = close + 1;
            } else {
                const std::size_t value_start = pos;
                while (pos < page.size() && page[pos] >= '0' && page[pos] <= '9') ++pos;
                if (pos == value_start) finding(file + ": unquoted attribute value at " + std::to_string(at));
            }
        }
        at = pos;
    }
}
// A strict reading of one JSON value at `at`; false when the text is not JSON.
bool json_value(std::string_view text, std::size_t& at, int depth = 0) {
    auto skip = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\t' || text[at] == '\r')) ++at;
    };
    auto literal = [&](std::string_view word) {
        if (text.substr(at, word.size()) != word) return false;
        at += word.size();
        return true;
    };
    skip();
    if (at >= text.size() || depth > 64) return false;
    const char c = text[at];
    if (c == '"') {
        for (++at; at < text.size() && text[at] != '"'; ++at) {
            const auto byte = static_cast<unsigned char>(text[at]);
            if (byte < 0x20) return false;
            if (text[at] == '\\') {
                ++at;
                if (at >= text.size() || std::string_view("\"\\/bfnrtu").find(text[at]) == std::string_view::npos) return false;
                if (text[at] == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (++at >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[at]))) return false;
                    }
                }
            }
        }
        return at++ < text.size();
    }
    if (c == '[' || c == '{') {
        const char close = c == '[' ? ']' : '}';
        ++at;
        skip();
        if (at < text.size() && text[at] == close) return ++at, true;
        for (;;) {
            if (c == '{') {
                skip();
                if (at >= text.size() || text[at] != '"' || !json_value(text, at, depth + 1)) return false;
                skip();
                if (at >= text.size() || text[at++] != ':') return false;
            }
            if (!json_value(text, at, depth + 1)) return false;
            skip();
            if (at >= text.size()) return false;
            if (text[at] == close) return ++at, true;
            if (text[at++] != ',') return false;
        }
    }
    if (c == '-' || (c >= '0' && c <= '9')) {
        if (c == '-') ++at;
        const std::size_t digits = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at > digits;
    }
    return literal("true") || literal("false") || literal("null");
}

void check_json(const std::string& data, const std::string& file) {
    std::size_t at = 0;
    if (!json_value(data, at) || at + 1 != data.size() || data.back() != '\n') finding(file + ": not one JSON document");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = scratch_dir() / "run";
    {  // the only file there: anything else would have been a finding
        std::ofstream log(dir / "chat.log", std::ios::binary);
        log.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    korvanel::ScriptedConsole console;
    console.key_at_ms = 0;  // no exit wait
    korvanel::MemoryPageSink pages;
    korvanel::RunEnvironment environment;
    environment.reader = {false, size + 1};
    environment.pages = &pages;
    const int status = korvanel::run_command_line(console, {"--json"}, dir, environment);
    if (status != 0 && status != 1) finding("exit status " + std::to_string(status));
    if (status == 1 && console.output.find("\n\nERREUR\n\n") == std::string::npos) finding("status 1 without a report");

    for (const auto& entry : fs::recursive_directory_iterator(scratch_dir())) {
        if (entry.path() != dir && entry.path() != dir / "chat.log") finding("a file written: " + entry.path().string());
    }
    for (const auto& [path, page] : pages.pages) {
        const std::string file = path.filename().string();
        if (path.parent_path() != dir) finding("a page outside the pages' folder: " + path.string());
        if (file == "graphiques.json") {
            check_json(page, file);
            continue;
        }
        if (file.size() < 5 || file.compare(file.size() - 5, 5, ".html") != 0) finding("not a page: " + file);
        check_markup(page, file);
    }
    return 0;
}
