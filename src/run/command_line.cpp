#include "run/command_line.h"

#include <cstddef>

#include "text/format.h"
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
constexpr auto kUsage =
    latin1("usage : korvanel [-o DOSSIER] [--json] [--no-wait] [FICHIER_LOG]   (korvanel --help pour l'aide)\n");

constexpr auto kHelp = latin1(
    "usage : korvanel [-o DOSSIER] [--json] [--no-wait] [FICHIER_LOG]\n"
    "\n"
    "KORVANEL lit le journal de jeu (chat.log) et en fait des pages HTML de statistiques.\n"
    "\n"
    "  FICHIER_LOG            le journal à lire ; sans lui, chat.log du dossier courant\n"
    "                         (ou le nom demandé quand il n'y est pas)\n"
    "  -o, --output DOSSIER   écrire les pages dans DOSSIER, créé au besoin\n"
    "      --output=DOSSIER   (de même)\n"
    "      --json             écrire aussi graphiques.json, les données des graphiques\n"
    "      --no-wait          finir sans attendre une touche\n"
    "  -h, --help             afficher cette aide\n"
    "  -V, --version          afficher la version\n"
    "  --                     tout ce qui suit est le nom du journal\n"
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

std::string formatted(std::string_view format, std::string_view text) {
    std::string out;
    format_into(out, format, {FormatArg(text)}, false);
    return out;
}

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
}  // namespace

CommandLine parse_command_line(const std::vector<NativeString>& args) {
    Parser parser;
    bool only_logs = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const NativeString& arg = args[i];
        const NativeString* next = i + 1 < args.size() ? &args[i + 1] : nullptr;
        if (only_logs || arg.empty() || arg[0] != static_cast<Unit>('-') || spelled(arg, "-")) {
            parser.log(arg);
        } else if (spelled(arg, "--")) {
            only_logs = true;
        } else if (spelled(arg, "-o") || spelled(arg, "--output")) {
            parser.folder(next, spelled(arg, "-o") ? "-o" : "--output");
            if (next != nullptr) ++i;
        } else if (starts_with(arg, "--output=")) {
            const NativeString value = arg.substr(9);
            parser.folder(&value, "--output");
        } else if (spelled(arg, "--no-wait")) {
            parser.result.no_wait = true;
        } else if (spelled(arg, "--json")) {
            parser.result.json = true;
        } else if (spelled(arg, "-h") || spelled(arg, "--help")) {
            parser.result.help = true;
        } else if (spelled(arg, "-V") || spelled(arg, "--version")) {
            parser.result.version = true;
        } else {
            parser.fail(formatted(kUnknownOption, shown(arg)));
        }
    }
    return parser.result;
}

std::string usage_error_text(std::string_view message) {
    std::string text = "korvanel : ";
    text.append(message);
    text.push_back('\n');
    text.append(kUsage.view());
    return text;
}

std::string_view help_text() { return kHelp.view(); }

std::string version_text() { return std::string("korvanel ") + KORVANEL_VERSION + "\n"; }

}  // namespace korvanel
