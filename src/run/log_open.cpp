#include "run/log_open.h"

#include "console/file_open.h"
#include "run/exit_wait.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kLogNotFound = latin1("le fichier log n'a pas ete trouve \n quel fichier voulez-vous analyser ?(q pour quitter)\n");

std::FILE* try_open(const std::filesystem::path& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return nullptr;  // not a log
    return open_file(path, "rb");
}
}  // namespace

OpenedLog open_log(const std::filesystem::path& dir, Console& console) {
    TypedWord working{std::filesystem::path("chat.log").native(), "chat.log"};
    for (;;) {
        if (std::FILE* file = try_open(dir / working.native)) return {file, dir / working.native, working.shown};
        if (working.native.size() <= 59) {
            working.native += std::filesystem::path(".log").native();
            working.shown += ".log";
            if (std::FILE* file = try_open(dir / working.native)) return {file, dir / working.native, working.shown};
        }
        console.write(kLogNotFound);
        std::optional<TypedWord> word = console.read_word();
        if (!word) throw QuitRun{1};
        if (!word->native.empty() && word->native[0] == 'q') throw QuitRun{0};
        working = *word;
    }
}

}  // namespace korvanel
