#include "run/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "system/system_names.h"

namespace korvanel {
namespace {

// An argument as the system hands it over, from UTF-8 text.
NativeString arg(const std::string& utf8) { return path_from_utf8(utf8).native(); }

struct ParseCase {
    std::vector<std::string> args;
    std::optional<std::string> log;
    std::optional<std::string> output;
    std::string flags;  // "n" --no-wait, "h" --help, "V" --version, "j" --json, "f" --follow
    std::optional<std::string> error;  // ISO-8859-1
};

TEST(CommandLine, EveryOptionSpellingAndEveryUsageError) {
    const std::optional<std::string> none;
    const ParseCase cases[] = {
        {{}, none, none, "", none},
        {{"chat.log"}, "chat.log", none, "", none},
        {{"-o", "pages", "x.log"}, "x.log", "pages", "", none},
        {{"x.log", "--output", "pages"}, "x.log", "pages", "", none},
        {{"--output=pages"}, none, "pages", "", none},
        {{"--output==a b"}, none, "=a b", "", none},
        {{"-o", "--help"}, none, "--help", "", none},  // the next argument, whatever it is
        {{"-o", "--"}, none, "--", "", none},
        {{"--no-wait", "x.log", "--no-wait"}, "x.log", none, "n", none},
        {{"--json", "x.log", "--json"}, "x.log", none, "j", none},
        {{"--JSON"}, none, none, "", "option inconnue : --JSON"},
        {{"-f", "x.log", "--follow"}, "x.log", none, "f", none},
        {{"-F"}, none, none, "", "option inconnue : -F"},
        {{"-h"}, none, none, "h", none},
        {{"--help"}, none, none, "h", none},
        {{"-V"}, none, none, "V", none},
        {{"--version", "--help"}, none, none, "hV", none},
        {{"-"}, "-", none, "", none},
        {{"--", "-o"}, "-o", none, "", none},
        {{"--", "--"}, "--", none, "", none},
        {{"-o", "d", "--", "--help"}, "--help", "d", "", none},
        {{"--out", "x"}, "x", none, "", "option inconnue : --out"},
        {{"-hV"}, none, none, "", "option inconnue : -hV"},
        {{"-oDIR"}, none, none, "", "option inconnue : -oDIR"},
        {{"--HELP"}, none, none, "", "option inconnue : --HELP"},
        {{"--\xc3\xa9t\xc3\xa9"}, none, none, "", "option inconnue : --\xe9t\xe9"},
        {{"x.log", "-o"}, "x.log", none, "", "l'option -o demande un dossier"},
        {{"--output"}, none, none, "", "l'option --output demande un dossier"},
        {{"-o", "a", "--output=b"}, none, "a", "", "l'option -o ne peut etre donnee qu'une fois"},
        {{"-o", "a", "-o", ""}, none, "a", "", "l'option -o ne peut etre donnee qu'une fois"},
        {{"-o", "a", "-o"}, none, "a", "", "l'option -o demande un dossier"},
        {{"-o", ""}, none, none, "", "nom de dossier vide"},
        {{"--output="}, none, none, "", "nom de dossier vide"},
        {{""}, none, none, "", "nom de fichier vide"},
        {{"--", ""}, none, none, "", "nom de fichier vide"},
        {{"a.log", "\xc3\xa9.log"}, "a.log", none, "", "un seul fichier log peut etre donne : \xe9.log"},
        // the first error from the left wins, and any error wins over --help
        {{"--bad", "a", "b"}, "a", none, "", "option inconnue : --bad"},
        {{"a", "b", "--bad"}, "a", none, "", "un seul fichier log peut etre donne : b"},
        {{"--help", "--version", "-x"}, none, none, "hV", "option inconnue : -x"},
    };
    for (const ParseCase& c : cases) {
        std::vector<NativeString> args;
        std::string shown;
        for (const std::string& a : c.args) {
            args.push_back(arg(a));
            shown += "[" + a + "] ";
        }
        const CommandLine parsed = parse_command_line(args);
        EXPECT_EQ(parsed.log, c.log ? std::optional(arg(*c.log)) : std::nullopt) << shown;
        EXPECT_EQ(parsed.output, c.output ? std::optional(arg(*c.output)) : std::nullopt) << shown;
        EXPECT_EQ(parsed.no_wait, c.flags.find('n') != std::string::npos) << shown;
        EXPECT_EQ(parsed.help, c.flags.find('h') != std::string::npos) << shown;
        EXPECT_EQ(parsed.version, c.flags.find('V') != std::string::npos) << shown;
        EXPECT_EQ(parsed.json, c.flags.find('j') != std::string::npos) << shown;
        EXPECT_EQ(parsed.follow, c.flags.find('f') != std::string::npos) << shown;
        EXPECT_EQ(parsed.usage_error, c.error) << shown;
    }
}

TEST(CommandLine, TheFolderOfALogOnEachSystem) {
    struct SplitCase {
        PathRules rules;
        const char* path;
        const char* folder;
        const char* file;
    };
    const SplitCase cases[] = {
        {PathRules::Posix, "x.log", "", "x.log"},
        {PathRules::Posix, "sub/x.log", "sub", "x.log"},
        {PathRules::Posix, "sub//x.log", "sub", "x.log"},
        {PathRules::Posix, "a/b/c.log", "a/b", "c.log"},
        {PathRules::Posix, "./x.log", ".", "x.log"},
        {PathRules::Posix, "/x.log", "/", "x.log"},
        {PathRules::Posix, "//x.log", "/", "x.log"},
        {PathRules::Posix, "C:x.log", "", "C:x.log"},
        {PathRules::Posix, "a\\b.log", "", "a\\b.log"},
        {PathRules::Windows, "x.log", "", "x.log"},
        {PathRules::Windows, "a\\b.log", "a", "b.log"},
        {PathRules::Windows, "a/b\\\\c.log", "a/b", "c.log"},
        {PathRules::Windows, "C:x.log", "C:", "x.log"},
        {PathRules::Windows, "C:\\x.log", "C:\\", "x.log"},
        {PathRules::Windows, "C:/\\x.log", "C:/", "x.log"},
        {PathRules::Windows, "C:\\Mes logs\\\\chat.log", "C:\\Mes logs", "chat.log"},
        {PathRules::Windows, "\\x.log", "\\", "x.log"},
        {PathRules::Windows, "sub\\C:x.log", "sub", "C:x.log"},
        {PathRules::Windows, "1:x.log", "", "1:x.log"},
    };
    for (const SplitCase& c : cases) {
        const SplitPath<NativeString> split = split_path(arg(c.path), c.rules);
        EXPECT_EQ(split.folder, arg(c.folder)) << c.path;
        EXPECT_EQ(split.file, arg(c.file)) << c.path;
    }
}

}  // namespace
}  // namespace korvanel
