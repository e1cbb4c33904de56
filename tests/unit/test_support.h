// Helpers shared by the unit tests: scratch directories and whole runs in-process.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "report/page_writer.h"
#include "run/run.h"
#include "scripted_console.h"
#include "system/system_names.h"

namespace korvanel::testing {

class TempDir {
public:
    // A fresh directory of its own under the system's temporary directory.
    TempDir() {
        static std::mt19937_64 generator{std::random_device{}()};
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("korvanel-test-" + std::to_string(generator() % 1000000000000u));
            if (std::filesystem::create_directory(path_)) break;  // false: the name was taken
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

    // File names are UTF-8 text, whatever the system's code page.
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / path_from_utf8(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / path_from_utf8(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(path_ / path_from_utf8(name)); }

private:
    std::filesystem::path path_;
};

// A whole run on `log` (raw ISO-8859-1 bytes) in a fresh directory.
struct RunResult {
    int status;
    std::string console;
};
inline RunResult run_on(const TempDir& dir, const std::string& log, ScriptedConsole console = {}) {
    dir.write("chat.log", log);
    if (!console.key_at_ms) console.key_at_ms = 0;  // no exit wait
    const int status = run_command_line(console, {}, dir.path());
    return {status, console.output};
}

// What `write` writes through a page writer, as the page file holds it.
template <class Write>
std::string page_text(Write write) {
    MemoryPageSink sink;
    {
        PageWriter page(sink, "p.html", "p.html");
        write(page);
        page.close();
    }
    return sink.pages.at(0).second;
}

}  // namespace korvanel::testing
