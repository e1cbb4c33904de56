// The command line: korvanel [OPTIONS] [LOG].
//
// Arguments come as the system hands them over (bytes on POSIX, UTF-16
// units on Windows); options are recognised by their exact ASCII spelling.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvanel {

using NativeString = std::filesystem::path::string_type;

// What the command line asks for. `usage_error` holds the first usage error
// found from left to right (ISO-8859-1, names shown as the program's texts
// show system names); it wins over `help`, which wins over `version`. The
// reading goes on past an error, so the flags tell what the whole line
// holds (a usage error with --no-wait anywhere does not wait either).
struct CommandLine {
    std::optional<NativeString> log;     // the log to read, as given
    std::optional<NativeString> output;  // the pages' folder, as given
    bool no_wait = false;
    bool json = false;  // also write the charts' data, graphiques.json
    bool follow = false;  // keep reading what the game appends, and keep the pages up to date
    bool help = false;
    bool version = false;
    std::optional<std::string> usage_error;
};

CommandLine parse_command_line(const std::vector<NativeString>& args);

// How a system splits a path into folders: "/" everywhere, and on Windows
// also "\" and a drive's ":" ("C:x.log").
enum class PathRules { Posix, Windows };
#ifdef _WIN32
inline constexpr PathRules kSystemPathRules = PathRules::Windows;
#else
inline constexpr PathRules kSystemPathRules = PathRules::Posix;
#endif

// A path cut at its last separator (bytes, UTF-16 units or ISO-8859-1
// text alike). `folder` drops the separators that end it unless they are the
// root ("sub//x.log" gives "sub", "/x.log" gives "/", "C:x.log" gives "C:"
// and "C:\x.log" gives "C:\"); it is empty when the path names no folder
// (the working directory).
template <class Text>
struct SplitPath {
    Text folder;
    Text file;
};

template <class Text>
SplitPath<Text> split_path(const Text& path, PathRules rules = kSystemPathRules) {
    using Unit = typename Text::value_type;
    auto separator = [&](Unit unit) {
        return unit == static_cast<Unit>('/') || (rules == PathRules::Windows && unit == static_cast<Unit>('\\'));
    };
    auto letter = [](Unit unit) {
        return (unit >= static_cast<Unit>('a') && unit <= static_cast<Unit>('z')) ||
               (unit >= static_cast<Unit>('A') && unit <= static_cast<Unit>('Z'));
    };
    // The drive of a Windows path ("C:") is a folder of its own.
    const std::size_t drive =
        rules == PathRules::Windows && path.size() >= 2 && letter(path[0]) && path[1] == static_cast<Unit>(':') ? 2 : 0;
    std::size_t cut = path.size();
    while (cut > drive && !separator(path[cut - 1])) --cut;
    if (cut == 0) return {Text(), path};
    // A separator at the start (or right after the drive) is the root.
    const std::size_t root = drive + (cut > drive && separator(path[drive]) ? 1 : 0);
    std::size_t folder_end = cut;
    while (folder_end > root && separator(path[folder_end - 1])) --folder_end;
    return {path.substr(0, folder_end), path.substr(cut)};
}

// The standard-error text of a usage error: "korvanel : ", the message, and
// the usage line.
std::string usage_error_text(std::string_view message);

// The text of --help and of --version.
std::string_view help_text();
std::string version_text();

}  // namespace korvanel
