#include "run/command_line.h"

#include <algorithm>
#include <cstddef>

#include "diag/messages.h"
#include "text/latin1.h"
#include "system/system_names.h"

#ifndef KORVANEL_VERSION
#error "KORVANEL_VERSION must be defined by the build"
#endif

namespace korvanel {

namespace {
constexpr auto kUnknownOption = latin1("option inconnue : %s");
constexpr auto kOptionNeedsFolder = latin1("l'option %s demande un dossier");
constexpr auto kOutputTwice = latin1("l'option -o ne peut etre donnee qu'une fois");
constexpr auto kEmptyFolder = latin1("nom de dossier vide");
constexpr auto kEmptyFile = latin1("nom de fichier vide");
constexpr auto kSecondLog = latin1("un seul fichier log peut etre donne : %s");
constexpr auto kUsageHead = latin1("usage : korvanel");
constexpr auto kUsageTail = latin1(" [FICHIER_LOG]");
constexpr auto kUsageHint = latin1("   (korvanel --help pour l'aide)");

constexpr auto kHelpIntro = latin1(
    "KORVANEL lit le journal de jeu (chat.log) et en fait des pages HTML de statistiques.\n"
    "\n");
constexpr auto kHelpLogLabel = latin1("FICHIER_LOG");
constexpr auto kHelpLog = latin1(
    "le journal à lire ; sans lui, chat.log du dossier courant\n"
    "(ou le nom demandé quand il n'y est pas)");
constexpr auto kHelpOutput = latin1("écrire les pages dans DOSSIER, créé au besoin");
constexpr auto kHelpOutputEquals = latin1("(de même)");
constexpr auto kHelpJson = latin1("écrire aussi graphiques.json, les données des graphiques");
constexpr auto kHelpFollow = latin1(
    "suivre le journal pendant le jeu : les pages sont réécrites\n"
    "quand il grandit (et rechargées par le navigateur),\n"
    "jusqu'à une touche pressée");
constexpr auto kHelpNoWait = latin1("finir sans attendre une touche");
constexpr auto kHelpHelp = latin1("afficher cette aide");
constexpr auto kHelpVersion = latin1("afficher la version");
constexpr auto kHelpRest = latin1("tout ce qui suit est le nom du journal");
constexpr auto kHelpOutro = latin1(
    "\n"
    "Les pages (une par partie du journal, et discussions.html pour les discussions)\n"
    "vont dans le dossier de FICHIER_LOG, sinon dans le dossier courant, ou dans\n"
    "DOSSIER avec -o.\n"
    "\n"
    "Statut de sortie : 0 si tout va bien, 1 si le traitement s'arrête sur une erreur\n"
    "(journal introuvable, ligne illisible, page impossible à écrire),\n"
    "2 si la ligne de commande est fausse.\n");

using Unit = NativeString::value_type;

// Whether `arg` is exactly the ASCII text `spelling`, unit by unit.
bool spelled(const NativeString& arg, std::string_view spelling) {
    if (arg.size() != spelling.size()) return false;
    for (std::size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] != static_cast<Unit>(static_cast<unsigned char>(spelling[i]))) return false;
    }
    return true;
}

bool starts_with(const NativeString& arg, std::string_view prefix) {
    return arg.size() >= prefix.size() && spelled(arg.substr(0, prefix.size()), prefix);
}

// A usage error's text: an argument it echoes is shown safe.
std::string formatted(std::string_view format, std::string_view text) { return console_text(format, text); }

std::string shown(const NativeString& arg) { return shown_name(std::filesystem::path(arg)); }

class Parser {
public:
    CommandLine result;

    void fail(std::string message) {
        if (!result.usage_error) result.usage_error = std::move(message);
    }

    // The folder of -o, --output or --output=; none when the option stood
    // last. A missing folder is reported before a second one, and a second
    // one before an empty one.
    void folder(const NativeString* value, std::string_view option) {
        if (value == nullptr) return fail(formatted(kOptionNeedsFolder, option));
        if (result.output) return fail(std::string(kOutputTwice.view()));
        if (value->empty()) return fail(std::string(kEmptyFolder.view()));
        result.output = *value;
    }

    void log(const NativeString& arg) {
        if (arg.empty()) return fail(std::string(kEmptyFile.view()));
        if (result.log) return fail(formatted(kSecondLog, shown(arg)));
        result.log = arg;
    }
};

// One option of the command line: its spellings, the value that follows it
// (given as the next argument, or after "=" with the long spelling), and
// its line in the help. The table's order is the order of the usage line
// and of the help.
struct Option {
    std::string_view short_spelling;  // empty when there is none
    std::string_view long_spelling;
    std::string_view value_name;      // empty when no value follows
    std::string_view in_usage;        // its spelling in the usage line; empty when not named there
    std::string_view help;
    std::string_view equals_help;     // the help of the "--long=VALUE" form
    bool CommandLine::*flag;          // what an option without a value sets
    void (Parser::*take)(const NativeString* value, std::string_view spelling);  // what one with a value does
};

constexpr Option kOptions[] = {
    {"-o", "--output", "DOSSIER", "-o", kHelpOutput.view(), kHelpOutputEquals.view(), nullptr, &Parser::folder},
    {"", "--json", "", "--json", kHelpJson.view(), "", &CommandLine::json, nullptr},
    {"-f", "--follow", "", "--follow", kHelpFollow.view(), "", &CommandLine::follow, nullptr},
    {"", "--no-wait", "", "--no-wait", kHelpNoWait.view(), "", &CommandLine::no_wait, nullptr},
    {"-h", "--help", "", "", kHelpHelp.view(), "", &CommandLine::help, nullptr},
    {"-V", "--version", "", "", kHelpVersion.view(), "", &CommandLine::version, nullptr},
};

// The usage line, without its line end.
std::string usage_line() {
    std::string line(kUsageHead.view());
    for (const Option& option : kOptions) {
        if (option.in_usage.empty()) continue;
        line += " [";
        line += option.in_usage;
        if (!option.value_name.empty()) line.append(" ").append(option.value_name);
        line += "]";
    }
    line += kUsageTail.view();
    return line;
}

// One line of the help: the spellings from the third column, the text from
// the twenty-sixth (a text of several lines keeps that column).
void help_line(std::string& text, std::string_view left, std::string_view help) {
    constexpr std::size_t kHelpColumn = 25;
    std::string line = "  ";
    line += left;
    line.resize(std::max(kHelpColumn, line.size() + 1), ' ');
    for (std::size_t at = 0;;) {
        const std::size_t end = help.find('\n', at);
        line += help.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        text += line;
        text += '\n';
        if (end == std::string_view::npos) break;
        at = end + 1;
        line.assign(kHelpColumn, ' ');
    }
}

std::string make_help_text() {
    std::string text = usage_line();
    text += "\n\n";
    text += kHelpIntro.view();
    help_line(text, kHelpLogLabel.view(), kHelpLog.view());
    for (const Option& option : kOptions) {
        std::string left = option.short_spelling.empty() ? "    " : std::string(option.short_spelling) + ", ";
        left += option.long_spelling;
        if (!option.value_name.empty()) left.append(" ").append(option.value_name);
        help_line(text, left, option.help);
        if (!option.equals_help.empty()) {
            help_line(text, "    " + std::string(option.long_spelling) + "=" + std::string(option.value_name),
                      option.equals_help);
        }
    }
    help_line(text, "--", kHelpRest.view());
    text += kHelpOutro.view();
    return text;
}
}  // namespace

CommandLine parse_command_line(const std::vector<NativeString>& args) {
    Parser parser;
    bool only_logs = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const NativeString& arg = args[i];
        if (only_logs || arg.empty() || arg[0] != static_cast<Unit>('-') || spelled(arg, "-")) {
            parser.log(arg);
            continue;
        }
        if (spelled(arg, "--")) {
            only_logs = true;
            continue;
        }
        const NativeString* next = i + 1 < args.size() ? &args[i + 1] : nullptr;
        bool known = false;
        for (const Option& option : kOptions) {
            const bool short_form = !option.short_spelling.empty() && spelled(arg, option.short_spelling);
            if (short_form || spelled(arg, option.long_spelling)) {
                known = true;
                if (option.take == nullptr) {
                    parser.result.*option.flag = true;
                } else {
                    (parser.*option.take)(next, short_form ? option.short_spelling : option.long_spelling);
                    if (next != nullptr) ++i;
                }
                break;
            }
            if (option.take != nullptr && starts_with(arg, std::string(option.long_spelling) + "=")) {
                known = true;
                const NativeString value = arg.substr(option.long_spelling.size() + 1);
                (parser.*option.take)(&value, option.long_spelling);
                break;
            }
        }
        if (!known) parser.fail(formatted(kUnknownOption, shown(arg)));
    }
    return parser.result;
}

std::string usage_error_text(std::string_view message) {
    std::string text = "korvanel : ";
    text.append(message);
    text.push_back('\n');
    text += usage_line();
    text += kUsageHint.view();
    text += '\n';
    return text;
}

std::string_view help_text() {
    static const std::string text = make_help_text();
    return text;
}

std::string version_text() { return std::string("korvanel ") + KORVANEL_VERSION + "\n"; }

}  // namespace korvanel
