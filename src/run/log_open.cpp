#include "run/log_open.h"

#include <utility>

#include "system/file_open.h"
#include "diag/messages.h"
#include "run/command_line.h"
#include "run/exit_wait.h"
#include "text/latin1.h"
#include "system/system_names.h"

namespace korvanel {

namespace {
constexpr auto kLogNotFound = latin1("le fichier log n'a pas ete trouve \n quel fichier voulez-vous analyser ?(q pour quitter)\n");
constexpr auto kCannotOpen = latin1("impossible d'ouvrir le fichier %s");
constexpr std::size_t kLogNameBound = 63;

// The log `word` names in `dir`, open, with what the system says of it;
// none when it does not open or is a folder (not a log).
std::optional<OpenedLog> try_open(const std::filesystem::path& dir, const TypedWord& word) {
    const std::filesystem::path path = dir / word.native;
    std::FILE* file = open_file(path, "rb");
    if (file == nullptr) return std::nullopt;
    const std::optional<FileState> state = file_state(file);
    if (state && state->folder) {
        std::fclose(file);
        return std::nullopt;
    }
    return OpenedLog{file, state, path, word.shown, path.parent_path(), split_path(word.shown).file};
}
}  // namespace

OpenedLog open_log(const std::filesystem::path& dir, Console& console) {
    TypedWord working{std::filesystem::path("chat.log").native(), "chat.log"};
    for (;;) {
        if (std::optional<OpenedLog> log = try_open(dir, working)) return std::move(*log);
        if (working.native.size() <= 59) {
            working.native += std::filesystem::path(".log").native();
            working.shown += ".log";
            if (std::optional<OpenedLog> log = try_open(dir, working)) return std::move(*log);
        }
        console.write(kLogNotFound);
        std::optional<TypedWord> word = console.read_word();
        if (!word) throw QuitRun{1};
        if (!word->native.empty() && word->native[0] == 'q') throw QuitRun{0};
        working = *word;
    }
}

OpenedLog open_given_log(const std::filesystem::path& dir, const std::filesystem::path::string_type& given) {
    const std::filesystem::path path = dir / std::filesystem::path(given);
    std::error_code ignored;
    std::FILE* file = std::filesystem::is_regular_file(path, ignored) ? open_file(path, "rb") : nullptr;
    if (file == nullptr) {
        std::string message;
        format_into(message, kCannotOpen, {FormatArg(shown_name(std::filesystem::path(given)))}, false);
        fatal_error(message);
    }
    const SplitPath<std::filesystem::path::string_type> parts = split_path(given);
    const std::string file_name = shown_name(std::filesystem::path(parts.file));
    const std::filesystem::path folder = parts.folder.empty() ? dir : dir / std::filesystem::path(parts.folder);
    return {file, file_state(file), path, file_name.substr(0, kLogNameBound), folder, file_name};
}

}  // namespace korvanel
