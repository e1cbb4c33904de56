#include "run/log_open.h"

#include "console/file_open.h"
#include "run/exit_wait.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kLogNotFound = latin1("le fichier log n'a pas ete trouve \n quel fichier voulez-vous analyser ?(q pour quitter)\n");

std::FILE* try_open(const std::filesystem::path& dir, const std::string& name) {
    const std::filesystem::path path = dir / name;
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return nullptr;  // not a log
    return open_file(path, "rb");
}
}  // namespace

std::FILE* open_log(std::string& name, const std::filesystem::path& dir, Console& console) {
    std::string working = name;
    for (;;) {
        if (std::FILE* file = try_open(dir, working)) {
            name = working;
            return file;
        }
        if (working.size() <= 59) {
            working += ".log";
            if (std::FILE* file = try_open(dir, working)) {
                name = working;
                return file;
            }
        }
        console.write(kLogNotFound);
        std::optional<std::string> word = console.read_word();
        if (!word) throw QuitRun{1};
        if (word->starts_with('q')) throw QuitRun{0};
        working = word->substr(0, 63);
    }
}

}  // namespace korvanel
