// The argument parser and the page naming on arbitrary bytes, without a run
// and without the file system.
//
// The bytes, split on NUL, are first a command line: the parser either
// gives a command line made of the arguments, or exactly one of its usage
// messages. Then the same pieces are a log's file name followed by part
// names (as many as a log holds, each cut as a part name is): every page
// name must be one that Windows can hold, and none may name the file of
// another page, of the transcript or of the log, ignoring case as the
// systems that ignore it do.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "diag/messages.h"
#include "run/command_line.h"
#include "run/log_parts.h"
#include "run/page_names.h"
#include "system/system_names.h"

namespace {
using korvanel::NativeString;

// The program's own pages beside the part pages.
// Add "graphiques.html" here when the charts page is written.
constexpr std::string_view kReservedPages[] = {"discussions.html", "graphiques.html"};

// A file name holds at most 255 bytes.
constexpr std::size_t kMaxFileName = 255;

[[noreturn]] void finding(const std::string& what) {
    std::fprintf(stderr, "finding: %s\n", what.c_str());
    std::abort();
}

std::vector<std::string> split_on_nul(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> pieces;
    if (size == 0) return pieces;
    pieces.emplace_back();
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(static_cast<char>(data[i]));
        }
    }
    return pieces;
}

bool any_of(const std::vector<NativeString>& args, std::initializer_list<std::string_view> spellings) {
    for (const NativeString& arg : args) {
        for (std::string_view spelling : spellings) {
            if (arg == spelling) return true;
        }
    }
    return false;
}

// A message naming one of the arguments, as the console shows names (no
// control byte).
bool names_an_argument(std::string_view message, std::string_view prefix, const std::vector<NativeString>& args) {
    if (!message.starts_with(prefix)) return false;
    message.remove_prefix(prefix.size());
    for (const NativeString& arg : args) {
        if (message == korvanel::console_safe(korvanel::shown_name(arg))) return true;
    }
    return false;
}

void check_command_line(const std::vector<NativeString>& args) {
    const korvanel::CommandLine line = korvanel::parse_command_line(args);
    if (line.usage_error) {
        const std::string& message = *line.usage_error;
        if (message != "l'option -o demande un dossier" && message != "l'option --output demande un dossier" &&
            message != "l'option -o ne peut etre donnee qu'une fois" && message != "nom de dossier vide" &&
            message != "nom de fichier vide" && !names_an_argument(message, "option inconnue : ", args) &&
            !names_an_argument(message, "un seul fichier log peut etre donne : ", args)) {
            finding("not a usage message: " + message);
        }
        return;
    }
    if (line.log && (line.log->empty() || !any_of(args, {*line.log}))) finding("a log that is no argument: " + *line.log);
    if (line.output && (line.output->empty() || !any_of(args, {*line.output, "--output=" + *line.output}))) {
        finding("a folder that is no argument: " + *line.output);
    }
    if (line.no_wait && !any_of(args, {"--no-wait"})) finding("--no-wait without the option");
    if (line.json && !any_of(args, {"--json"})) finding("--json without the option");
    if (line.follow && !any_of(args, {"-f", "--follow"})) finding("--follow without the option");
    if (line.help && !any_of(args, {"-h", "--help"})) finding("help without the option");
    if (line.version && !any_of(args, {"-V", "--version"})) finding("version without the option");
}

char folded_ascii(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 0x20) : ch; }

// Whether Windows would take the file name for a device: the text before
// its first ".", without trailing blanks, is CON, PRN, AUX, NUL, or COM or
// LPT and a digit, "¹", "²" or "³".
bool device_name(std::string_view file) {
    std::string stem(file.substr(0, file.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& ch : stem) ch = folded_ascii(ch);
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    if (stem.size() != 4 || (!stem.starts_with("COM") && !stem.starts_with("LPT"))) return false;
    const auto last = static_cast<unsigned char>(stem[3]);
    return (last >= '0' && last <= '9') || last == 0xB9 || last == 0xB2 || last == 0xB3;
}

void check_file_name(const std::string& file) {
    if (!file.ends_with(".html")) finding("not a page name: " + file);
    for (char ch : file) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) finding("a control character in " + file);
        if (std::string_view("/\\:*?\"<>|").find(ch) != std::string_view::npos) finding("a reserved character in " + file);
    }
    if (device_name(file)) finding("a device name: " + file);
}

void check_page_names(const std::vector<std::string>& pieces) {
    if (pieces.empty()) return;
    // The log's file name, when the log lies in the pages' folder (an empty
    // one: it lies elsewhere). No log file is given, so nothing is compared
    // by identity on the disk.
    const std::string log_name = pieces[0].substr(0, kMaxFileName);
    std::vector<std::string> part_names;
    for (std::size_t i = 1; i < pieces.size() && part_names.size() < korvanel::PartTable::kMaxParts; ++i) {
        part_names.emplace_back(korvanel::Name49(pieces[i]).view());
    }
    const std::vector<korvanel::PageTarget> targets = korvanel::assign_page_targets(part_names, {}, log_name);
    if (targets.size() != part_names.size()) finding("not one page per part");
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const std::string& file = targets[i].display_name;
        check_file_name(file);
        if (targets[i].file != korvanel::path_from_latin1(file)) finding("the file on disk is not " + file);
        for (std::string_view reserved : kReservedPages) {
            if (korvanel::same_page_name(file, reserved)) finding("a part page named like a page of its own: " + file);
        }
        if (!log_name.empty() && korvanel::same_page_name(file, log_name)) finding("a part page named like the log: " + file);
        for (std::size_t j = 0; j < i; ++j) {
            if (korvanel::same_page_name(file, targets[j].display_name)) {
                finding("two parts on one page: " + targets[j].display_name + " and " + file);
            }
        }
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> pieces = split_on_nul(data, size);
    check_command_line(pieces);
    check_page_names(pieces);
    return 0;
}
