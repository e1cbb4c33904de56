#include "run/run.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "analysis/dispatch.h"
#include "chat/chat_buffer.h"
#include "chat/transcript.h"
#include "report/analysis_page.h"
#include "report/charts_json.h"
#include "report/charts_page.h"
#include "report/page_writer.h"
#include "run/command_line.h"
#include "run/exit_wait.h"
#include "run/log_open.h"
#include "run/log_parts.h"
#include "run/log_run.h"
#include "run/log_watch.h"
#include "run/page_names.h"
#include "stats/value_series.h"
#include "system/file_state.h"
#include "system/system_names.h"
#include "analysis/events.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kBanner = latin1("\nKORVANEL - statistiques du journal de jeu\n\n");
constexpr auto kProcessingTime = latin1("\n\nTemps de traitement: %i,%is");
constexpr auto kDoneHead = latin1("\n\nTraitement termine avec succes\n\nlire l'analyse dans les fichiers ");
constexpr auto kDoneTranscript = latin1(" et le chat dans discussions.html\n");
constexpr auto kDoneCharts = latin1("et les graphiques dans graphiques.html\n");
constexpr auto kDoneSameFolder = latin1("(dans le meme dossier)");
constexpr auto kDoneFolder = latin1("(dans le dossier %s)");
constexpr auto kDoneKey = latin1("\n\nappuyez sur une touche pour quitter");
constexpr auto kFollowing = latin1(
    "\n\nsuivi en direct : les pages sont mises a jour quand le jeu ecrit dans le journal\n"
    "appuyez sur une touche pour arreter\n");
constexpr auto kCannotCreateFolder = latin1("impossible de creer le dossier %s");
constexpr auto kReadError = latin1("erreur de lecture du fichier %s");
constexpr auto kJournalOpened = latin1("*** Journal ouvert : ");

[[noreturn]] void fatal_with_name(std::string_view format, std::string_view name) {
    std::string message;
    format_into(message, format, {FormatArg(name)}, false);
    fatal_error(message);
}

// Two paths alike name one folder or file; others may too, by identity.
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a == b) return true;
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

// The folder -o names, created with its parents; else the log's folder when
// the command line names the log; else the working directory.
PageFolder page_folder(const std::filesystem::path& dir, const CommandLine& command) {
    std::optional<NativeString> given = command.output;
    if (!given && command.log) {
        NativeString folder = split_path(*command.log).folder;
        if (!folder.empty()) given = std::move(folder);
    }
    if (!given) return {dir, std::nullopt};
    const std::filesystem::path path = dir / std::filesystem::path(*given);
    const std::string shown = shown_name(std::filesystem::path(*given));
    if (command.output) {
        std::error_code failed;
        std::filesystem::create_directories(path, failed);
        std::error_code ignored;
        if (!std::filesystem::is_directory(path, ignored)) fatal_with_name(kCannotCreateFolder, shown);
    }
    if (same_file(path, dir)) return {path, std::nullopt};
    return {path, shown};
}

}  // namespace

LogRun::LogRun(Console& console, const std::filesystem::path& dir, const CommandLine& command,
               const RunEnvironment& environment)
    : console_(console), quiet_(console), dir_(dir), command_(command), environment_(environment) {
    try {
        chat_ = std::make_unique<ChatBuffer>();
    } catch (const std::bad_alloc&) {
        fatal_error("memoire insuffisante");
    }
    parts_.names[0] = "Resultats";
    console_.write(kBanner);
    parts_.stats[0] = new_part_stats();
}

// Opens the log and settles where the pages go; the processing time
// starts here.
void LogRun::open() {
    log_ = command_.log ? open_given_log(dir_, *command_.log) : open_log(dir_, console_);
    std::uint64_t limit = LogReader::kWholeFile;
    const std::optional<FileState>& state = log_.state;
    if (state) log_identity_ = state->identity;
    if (command_.follow) {
        // The game may be writing the last line: it waits for its line feed.
        if (state) {
            limit = end_of_last_line(log_.file, 0, state->size);
            read_ = {state->identity, limit};
            if (!seek_file(log_.file, 0)) fatal_with_name(kReadError, log_.shown);
        }
    }
    reader_.emplace(log_.file, environment_.reader, limit);
    pages_ = page_folder(dir_, command_);
    // The log's own file is never written over: a page named like it takes
    // another name, and the transcript, the charts page and their data
    // cannot.
    log_beside_pages_ = same_file(pages_.path, log_.folder);
    for (std::string_view own : {kTranscriptName, kChartsPageName, command_.json ? kChartsDataName : ""}) {
        if (own.empty()) continue;
        if ((log_beside_pages_ && same_page_name(log_.shown_file_name, own)) ||
            is_log_file(pages_.path / path_from_latin1(own))) {
            cannot_write_page(own);
        }
    }
    start_ms_ = console_.now_ms();
}

// Whether `file` is the log's own file, the same file under another name
// (a link, or another case or short name on Windows) included.
bool LogRun::is_log_file(const std::filesystem::path& file) const {
    if (log_identity_) return path_identity(file) == log_identity_;
    return same_file(file, log_.path);
}

// Every line of the log: part commands, the recognisers, the lines the
// transcript shows, and a progress mark every hundred lines.
void LogRun::read() {
    console_.write(kReading);
    analyse<false>(*reader_, console_, true);
}

// Every line `reader` holds; while following, also what changed, the
// lines counted and the last clock read.
template <bool kFollowing>
void LogRun::analyse(LogReader& reader, Console& messages, bool progress) {
    int progress_step = 0;
    LogLine line;
    // Only the reader throws LogReadError; one handler for the whole loop
    // keeps each line's step into the reader inline.
    try {
        while (reader.next(line)) {
            select_log_part(line, parts_, target_, messages);
            const bool chat_line = line.message_starts_with("@@");
            if (!chat_line) dispatch_line(line, parts_.current_stats());
            const bool shown = chat_line || line.starts_with(kJournalOpened);
            if (shown) chat_->store(line.text());
            if constexpr (kFollowing) {
                ++lines_;
                if (!chat_line) part_changed_[static_cast<std::size_t>(parts_.current)] = true;
                chat_changed_ = chat_changed_ || shown;
                if (line_clock(line) != Timeline::kNoClock) {
                    std::array<char, 8> clock;
                    line.text().copy(clock.data(), clock.size(), 1);
                    last_clock_ = clock;
                }
            }
            if (progress && ++progress_step == 100) {
                messages.write(".");
                progress_step = 0;
            }
        }
    } catch (const LogReadError&) {
        fatal_with_name(kReadError, log_.shown);
    }
}

// While following, the lines read go through the same steps.
template void LogRun::analyse<true>(LogReader& reader, Console& messages, bool progress);

void LogRun::settle_page_names() {
    names_.clear();
    for (int i = 0; i < parts_.count; ++i) names_.emplace_back(parts_.names[static_cast<std::size_t>(i)].view());
    targets_ = assign_page_targets(names_, pages_.path, log_beside_pages_ ? log_.shown_file_name : "",
                                   [this](const std::filesystem::path& file) { return is_log_file(file); });
}

// The parts' timelines, taken out of their records: the charts need
// nothing else.
void LogRun::take_timelines() {
    timelines_.reserve(static_cast<std::size_t>(parts_.count));
    for (int i = 0; i < parts_.count; ++i) {
        timelines_.push_back(std::move(parts_.stats[static_cast<std::size_t>(i)]->timeline));
        timelines_.back().finish();
    }
}

// A part's analysis page; its record is released after it.
void LogRun::write_part_page(int part, Console& messages, PageSink& pages) {
    const auto slot = static_cast<std::size_t>(part);
    print(messages, kWritingPart, names_[slot]);
    write_analysis_page(*parts_.stats[slot], log_.shown, targets_[slot], pages);
    parts_.stats[slot].reset();
}

void LogRun::close_log() { reader_->close(); }

void LogRun::write_transcript(Console& messages, PageSink& pages) {
    write_discussions_page(*chat_, log_.shown, pages_.path, messages, pages);
    chat_.reset();
}

// The charts page, and with --json its data, from the parts' fights.
void LogRun::write_charts(PageSink& pages) {
    write_charts_page(names_, targets_, timelines_, log_.shown, pages_.path, pages);
    if (command_.json) write_charts_json(names_, targets_, timelines_, log_.path, pages_.path, pages);
}

namespace {
// What a page shows on the console, kept until the pages before it are shown.
class KeptConsole : public QuietConsole {
public:
    using QuietConsole::QuietConsole;
    std::string text;
    void write(std::string_view latin1_text) override { text.append(latin1_text); }
    void write_error(std::string_view latin1_text) override { text.append(latin1_text); }
};

// One page (or the charts page and its data), written on its own.
struct PageJob {
    explicit PageJob(Console& clock) : messages(clock) {}
    KeptConsole messages;
    FilePageSink pages;
    std::exception_ptr failure;
};
}  // namespace

// Each page's writing, in their order: one analysis page per part in part
// order, the transcript, the charts.
std::vector<std::function<void(Console&, PageSink&)>> LogRun::page_writers() {
    std::vector<std::function<void(Console&, PageSink&)>> writers;
    for (int i = 0; i < parts_.count; ++i) {
        writers.emplace_back([this, i](Console& messages, PageSink& pages) { write_part_page(i, messages, pages); });
    }
    writers.emplace_back([this](Console& messages, PageSink& pages) { write_transcript(messages, pages); });
    writers.emplace_back([this](Console&, PageSink& pages) { write_charts(pages); });
    return writers;
}

void LogRun::write_pages() {
    settle_page_names();
    take_timelines();
    const auto writers = page_writers();
    if (environment_.pages == nullptr && environment_.reader.threaded) return write_pages_on_two_threads(writers);
    for (const auto& write : writers) write(console_, sink());
    put_pages_in_place();
}

// The same pages, shared between this thread and a second one, the longest
// (the last) first, each written to files of its own with its console
// messages kept. Then, in their order, their messages are shown and their
// files put in place: the console and the folder end as if the pages had
// been written one after the other, and the first page that failed ends the
// run there.
void LogRun::write_pages_on_two_threads(const std::vector<std::function<void(Console&, PageSink&)>>& writers) {
    std::vector<std::unique_ptr<PageJob>> jobs;
    for (std::size_t i = 0; i < writers.size(); ++i) jobs.push_back(std::make_unique<PageJob>(console_));
    std::atomic<std::size_t> taken{0};
    auto work = [&] {
        for (std::size_t k; (k = taken++) < jobs.size();) {
            const std::size_t at = jobs.size() - 1 - k;
            PageJob& job = *jobs[at];
            try {
                writers[at](job.messages, job.pages);
            } catch (...) {
                job.failure = std::current_exception();
            }
        }
    };
    std::optional<std::thread> second;
    try {
        second.emplace(work);
    } catch (const std::system_error&) {
        // no second thread: this one writes them all
    }
    work();
    if (second) second->join();
    for (const auto& job : jobs) {
        console_.write(job->messages.text);
        if (job->failure) std::rethrow_exception(job->failure);
    }
    for (const auto& job : jobs) {
        if (std::optional<std::string> refused = job->pages.put_in_place()) cannot_write_page(*refused);
    }
}

// Once every page is complete, all are put in place.
void LogRun::put_pages_in_place() {
    if (std::optional<std::string> refused = sink().put_in_place()) cannot_write_page(*refused);
}

// The closing message up to the folder of the pages.
void LogRun::closing_lines() {
    const int tenths = round_half_up(static_cast<double>(console_.now_ms() - start_ms_) / 100.0);
    print(console_, kProcessingTime, tenths / 10, tenths % 10);
    console_.write(kDoneHead);
    for (const PageTarget& page : targets_) print(console_, "%s, ", page.display_name);
    console_.write(kDoneTranscript);
    console_.write(kDoneCharts);
    if (pages_.shown) {
        print(console_, kDoneFolder, *pages_.shown);
    } else {
        console_.write(kDoneSameFolder);
    }
}

void LogRun::closing_message() {
    closing_lines();
    console_.write(command_.follow ? kFollowing.view() : kDoneKey.view());
}

namespace {
int run_log(Console& console, const std::filesystem::path& dir, const CommandLine& command,
            const RunEnvironment& environment) {
    LogRun run(console, dir, command, environment);
    if (command.follow) return run.follow();
    run.open();
    run.read();
    run.close_log();
    run.write_pages();
    run.closing_message();
    return 0;
}

// The run, its fatal report, and the exit wait that closes it (not after a
// quit at the prompt, nor with --no-wait).
int run_with_report(Console& console, const std::filesystem::path& dir, const CommandLine& command,
                    const RunEnvironment& environment) {
    int status = 0;
    try {
        status = run_log(console, dir, command, environment);
    } catch (const QuitRun& quit) {
        return quit.status;
    } catch (const FatalError& error) {
        report_fatal_error(console, error);
        status = 1;
    } catch (const std::bad_alloc&) {
        // A table that could not grow, on either thread; the run's memory is back by now.
        report_fatal_error(console, FatalError{"memoire insuffisante", std::nullopt});
        status = 1;
    }
    // Following ends by a key or a signal: no wait after it, but after its errors.
    if (!command.no_wait && (!command.follow || status == 1)) wait_before_exit(console);
    return status;
}
}  // namespace

int run_command_line(Console& console, const std::vector<NativeString>& args, const std::filesystem::path& dir,
                     const RunEnvironment& environment) {
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
    return run_with_report(console, dir, command, environment);
}

}  // namespace korvanel
