#include "run/run.h"

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "chat/chat_buffer.h"
#include "chat/transcript.h"
#include "report/analysis_page.h"
#include "report/charts_json.h"
#include "report/charts_page.h"
#include "run/command_line.h"
#include "run/log_parts.h"
#include "run/log_open.h"
#include "run/log_reader.h"
#include "run/exit_wait.h"
#include "run/page_names.h"
#include "stats/value_series.h"
#include "text/latin1.h"
#include "system/system_names.h"

namespace korvanel {

namespace {
constexpr auto kBanner = latin1("\nKORVANEL - statistiques du journal de jeu\n\n");
constexpr auto kReading = latin1("Lecture en cours");
constexpr auto kWritingPart = latin1("\nanalyse et ecriture de la partie de log nommee \"%s\"\n");
constexpr auto kProcessingTime = latin1("\n\nTemps de traitement: %i,%is");
constexpr auto kDoneHead = latin1("\n\nTraitement termine avec succes\n\nlire l'analyse dans les fichiers ");
constexpr auto kDoneTranscript = latin1(" et le chat dans discussions.html\n");
constexpr auto kDoneCharts = latin1("et les graphiques dans graphiques.html\n");
constexpr auto kDoneSameFolder = latin1("(dans le meme dossier)");
constexpr auto kDoneFolder = latin1("(dans le dossier %s)");
constexpr auto kDoneKey = latin1("\n\nappuyez sur une touche pour quitter");
constexpr auto kCannotCreateFolder = latin1("impossible de creer le dossier %s");
constexpr auto kCannotWrite = latin1("impossible d'ecrire le fichier %s");
constexpr std::string_view kTranscriptName = "discussions.html";
constexpr auto kChatFull = latin1("trop de lignes de chat");
constexpr auto kJournalOpened = latin1("*** Journal ouvert : ");

struct WarningScope {
    explicit WarningScope(Console& console) { set_warning_console(&console); }
    ~WarningScope() { set_warning_console(nullptr); }
};

// What the command line settles for a run: the working directory, and the
// log and the pages' folder as given (none: the prompt and the working
// directory).
struct RunPlan {
    std::filesystem::path dir;
    std::optional<NativeString> log;
    std::optional<NativeString> output;
    bool json = false;
};

[[noreturn]] void fatal_with_name(std::string_view format, std::string_view name) {
    std::string message;
    format_into(message, format, {FormatArg(name)}, false);
    fatal_error(message);
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

// Where the pages go, and how the closing message names that folder (none:
// the working directory itself).
struct PageFolder {
    std::filesystem::path path;
    std::optional<std::string> shown;
};

// The folder -o names, created with its parents; else the log's folder when
// the command line names the log; else the working directory.
PageFolder page_folder(const RunPlan& plan) {
    std::optional<NativeString> given = plan.output;
    if (!given && plan.log) {
        NativeString folder = split_path(*plan.log).folder;
        if (!folder.empty()) given = std::move(folder);
    }
    if (!given) return {plan.dir, std::nullopt};
    const std::filesystem::path path = plan.dir / std::filesystem::path(*given);
    const std::string shown = shown_name(std::filesystem::path(*given));
    if (plan.output) {
        std::error_code failed;
        std::filesystem::create_directories(path, failed);
        std::error_code ignored;
        if (!std::filesystem::is_directory(path, ignored)) fatal_with_name(kCannotCreateFolder, shown);
    }
    if (same_file(path, plan.dir)) return {path, std::nullopt};
    return {path, shown};
}

// The run itself; fatal conditions leave it as FatalError.
int run_sequence(Console& console, const RunPlan& plan) {
    std::unique_ptr<ChatBuffer> chat;
    try {
        chat = std::make_unique<ChatBuffer>();
    } catch (const std::bad_alloc&) {
        fatal_error("memoire insuffisante");
    }
    Name49 target{"Inconnu"};
    PartTable parts;
    parts.names[0] = "Resultats";
    console.write(kBanner);
    parts.stats[0] = new_part_stats();

    const OpenedLog log = plan.log ? open_given_log(plan.dir, *plan.log) : open_log(plan.dir, console);
    const std::string& log_name = log.shown;
    LogReader reader(log.file);
    const PageFolder pages = page_folder(plan);
    // The log's own file is never written over: a page named like it takes
    // another name, and the transcript cannot.
    const bool log_beside_pages = same_file(pages.path, log.folder);
    for (std::string_view own : {kTranscriptName, kChartsPageName, plan.json ? kChartsDataName : ""}) {
        if (own.empty()) continue;
        if ((log_beside_pages && same_page_name(log.shown_file_name, own)) ||
            same_file(pages.path / path_from_latin1(own), log.path)) {
            fatal_with_name(kCannotWrite, own);
        }
    }
    const std::int64_t start = console.now_ms();
    console.write(kReading);

    int progress = 0;
    LogLine line;
    while (reader.next(line)) {
        select_log_part(line, parts, target, console);
        const bool chat_line = line.message_starts_with("@@");
        if (!chat_line) dispatch_line(line, parts.current_stats());
        if (chat_line || line.starts_with(kJournalOpened)) {
            if (!chat->store(line.text())) fatal_error(kChatFull, line.text());
        }
        if (++progress == 100) {
            console.write(".");
            progress = 0;
        }
    }

    std::vector<std::string> names;
    for (int i = 0; i < parts.count; ++i) names.emplace_back(parts.names[static_cast<std::size_t>(i)].view());
    const std::vector<PageTarget> targets =
        assign_page_targets(names, pages.path, log_beside_pages ? log.shown_file_name : "", log.path);
    std::vector<Timeline> timelines;
    timelines.reserve(names.size());
    for (int i = 0; i < parts.count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        print(console, kWritingPart, names[slot]);
        write_analysis_page(*parts.stats[slot], log_name, targets[slot]);
        timelines.push_back(std::move(parts.stats[slot]->timeline));
        timelines.back().finish();
        parts.stats[slot].reset();
    }
    reader.close();
    write_discussions_page(*chat, log_name, pages.path, console);
    chat.reset();
    write_charts_page(names, targets, timelines, log_name, pages.path);
    if (plan.json) write_charts_json(names, targets, timelines, log.path, pages.path);

    const int tenths = round_half_up(static_cast<double>(console.now_ms() - start) / 100.0);
    print(console, kProcessingTime, tenths / 10, tenths % 10);
    console.write(kDoneHead);
    for (const PageTarget& target_page : targets) print(console, "%s, ", target_page.display_name);
    console.write(kDoneTranscript);
    console.write(kDoneCharts);
    if (pages.shown) {
        print(console, kDoneFolder, *pages.shown);
    } else {
        console.write(kDoneSameFolder);
    }
    console.write(kDoneKey);
    return 0;
}

// A run of `plan`; with `wait`, the exit wait closes it (not after a quit
// at the prompt).
int run_plan(Console& console, const RunPlan& plan, bool wait) {
    WarningScope warnings(console);
    int status = 0;
    try {
        status = run_sequence(console, plan);
    } catch (const QuitRun& quit) {
        return quit.status;
    } catch (const FatalError& error) {
        report_fatal_error(console, error);
        status = 1;
    }
    if (wait) wait_before_exit(console);
    return status;
}
}  // namespace

int run_korvanel(Console& console, const std::filesystem::path& dir) {
    return run_plan(console, RunPlan{dir, std::nullopt, std::nullopt}, true);
}

int run_command_line(Console& console, const std::vector<NativeString>& args, const std::filesystem::path& dir) {
    const CommandLine command = parse_command_line(args);
    if (command.usage_error) {
        console.write_error(usage_error_text(*command.usage_error));
        // A window of its own would close before the message is read.
        if (console.alone_in_window() && !command.no_wait) wait_before_exit(console);
        return 2;
    }
    if (command.help) {
        console.write(help_text());
        return 0;
    }
    if (command.version) {
        console.write(version_text());
        return 0;
    }
    return run_plan(console, RunPlan{dir, command.log, command.output, command.json}, !command.no_wait);
}

int run_command_line(Console& console, const std::vector<NativeString>& args) {
    return run_command_line(console, args, std::filesystem::path("."));
}

}  // namespace korvanel
