// Following the log while the game writes it: the first read, then a look
// about once a second at what was appended, and the pages written again,
// each with a line that makes an open browser tab reload it.
#include <algorithm>
#include <new>
#include <string>

#include "analysis/events.h"
#include "chat/transcript.h"
#include "diag/messages.h"
#include "report/charts_json.h"
#include "report/charts_page.h"
#include "report/page_writer.h"
#include "run/exit_wait.h"
#include "run/log_run.h"
#include "system/file_open.h"
#include "system/stop_signals.h"
#include "system/system_names.h"

namespace korvanel {

namespace {
constexpr auto kStatus = latin1("\ren direct : %s lignes, pages mises a jour a %s");
constexpr auto kRestarted = latin1("le journal a recommence : analyse reprise depuis le debut\n");
constexpr auto kFollowEnded = latin1("suivi termine\n");
constexpr int kTickMs = 100;     // between two looks for a key or a stop signal
constexpr int kLookMs = 1000;    // between two looks at the log
constexpr int kUpdateMs = 2000;  // between the starts of two updates of the pages, at the least

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
    std::FILE* file = open_file(path, "rb");
    if (file == nullptr) return std::nullopt;
    std::string bytes;
    char chunk[1 << 14];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) != 0;) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return bytes;
}

void add_once(std::vector<std::filesystem::path>& files, const std::filesystem::path& file) {
    if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
}
}  // namespace

int LogRun::follow() {
    first_read();
    catch_stop_signals();
    try {
        WaitScope keys(console_);
        std::int64_t now = console_.now_ms();
        std::int64_t next_look = now + kLookMs;
        std::int64_t last_look = now;
        std::int64_t next_update = now + kUpdateMs;
        while (!stop_signal_status() && !console_.key_waiting()) {
            now = console_.now_ms();
            if (now >= next_look) {
                look(false);
                last_look = now;
                next_look = now + kLookMs;
            }
            const bool changed = all_changed_ || chat_changed_ || parts_.count > parts_written_ ||
                                 std::find(part_changed_.begin(), part_changed_.end(), true) != part_changed_.end();
            if (changed && now >= next_update) {
                // The lines appended since the last look are shown too.
                if (now - last_look >= kTickMs) look(false);
                const std::int64_t began = console_.now_ms();
                write_changed_pages(false, true, quiet_);
                const std::int64_t ended = console_.now_ms();
                next_update = std::max(began + kUpdateMs, ended + 2 * (ended - began));
                show_status();
            }
            console_.sleep_ms(kTickMs);
        }
        // The last look takes the log to its end, a last line without its
        // line feed included, and the pages lose their reload line.
        look(true);
        write_changed_pages(true, false, quiet_);
    } catch (...) {
        end_status_line();
        take_reload_lines_out(reloading_);
        stop_signal_handled();
        throw;
    }
    end_status_line();
    console_.write(kFollowEnded);
    stop_signal_handled();
    return stop_signal_status().value_or(0);
}

// The run without --follow up to its closing message, except that a last
// line without its line feed waits and the pages reload.
void LogRun::first_read() {
    open();
    console_.write(kReading);
    analyse<true>(*reader_, console_, true);
    close_log();
    write_changed_pages(true, true, console_);
    closing_message();
}

// Reads what the log holds past what was read: complete lines, or with
// `to_end` every byte. Returns false when there was nothing new.
bool LogRun::look(bool to_end) {
    const std::optional<NewBytes> found = look_at_log(log_.path, read_, to_end);
    if (!found) return false;
    if (found->restarted) start_again();
    LogReader reader(found->file, ReaderOptions{false}, found->to - found->from);
    analyse<true>(reader, quiet_, false);
    reader.close();
    read_ = {found->identity, found->to};
    log_identity_ = found->identity;
    return true;
}

// The log started again: fresh records and transcript, every page to write.
void LogRun::start_again() {
    end_status_line();
    console_.write(kRestarted);
    parts_ = PartTable{};
    parts_.names[0] = "Resultats";
    parts_.stats[0] = new_part_stats();
    target_ = Name49{"Inconnu"};
    chat_ = std::make_unique<ChatBuffer>();
    lines_ = 0;
    last_clock_.reset();
    part_changed_.fill(false);
    parts_written_ = 0;
    chat_changed_ = false;
    all_changed_ = true;
}

// The pages the lines read since the last update change (every page with
// `all` or after the log started again), from the records, which stay as
// they are; `reload` gives them the reload line.
void LogRun::write_changed_pages(bool all, bool reload, Console& messages) {
    all = all || all_changed_;
    settle_page_names();
    ReloadingPageSink reloading(sink());
    PageSink& out = reload ? static_cast<PageSink&>(reloading) : sink();
    std::vector<std::filesystem::path> written;
    for (int i = 0; i < parts_.count; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (!all && !part_changed_[slot] && i < parts_written_) continue;
        print(messages, kWritingPart, names_[slot]);
        write_analysis_page_keeping_stats(*parts_.stats[slot], log_.shown, targets_[slot], out);
        written.push_back(targets_[slot].file);
    }
    if (all || chat_changed_) {
        write_discussions_page(*chat_, log_.shown, pages_.path, messages, out);
        written.push_back(pages_.path / kTranscriptName);
    }
    std::vector<Timeline> timelines;
    timelines.reserve(static_cast<std::size_t>(parts_.count));
    for (int i = 0; i < parts_.count; ++i) {
        timelines.push_back(parts_.stats[static_cast<std::size_t>(i)]->timeline);
        timelines.back().finish();
    }
    write_charts_page(names_, targets_, timelines, log_.shown, pages_.path, out);
    written.push_back(pages_.path / path_from_latin1(kChartsPageName));
    if (command_.json) write_charts_json(names_, targets_, timelines, log_.path, pages_.path, out);

    // Pages left from before the log started again keep their figures, not
    // their reload line.
    std::vector<std::filesystem::path> stale;
    if (all) {
        for (const std::filesystem::path& file : reloading_) {
            if (std::find(written.begin(), written.end(), file) == written.end()) stale.push_back(file);
        }
    }
    if (reload) {
        for (const std::filesystem::path& file : written) add_once(reloading_, file);
    }
    put_pages_in_place();
    if (!reload) {
        std::erase_if(reloading_, [&](const std::filesystem::path& file) {
            return std::find(written.begin(), written.end(), file) != written.end();
        });
    }
    take_reload_lines_out(stale);
    std::erase_if(reloading_, [&](const std::filesystem::path& file) {
        return std::find(stale.begin(), stale.end(), file) != stale.end();
    });
    part_changed_.fill(false);
    parts_written_ = parts_.count;
    chat_changed_ = false;
    all_changed_ = false;
}

void LogRun::show_status() {
    const std::string clock = last_clock_ ? std::string(last_clock_->data(), last_clock_->size()) : "--:--:--";
    print(console_, kStatus, std::to_string(lines_), clock);
    console_.flush();
    status_shown_ = true;
}

void LogRun::end_status_line() {
    if (!status_shown_) return;
    console_.write("\n");
    status_shown_ = false;
}

// Writes the pages `files` again without their reload line, each put in
// place whole; a page that cannot be read or written is left as it is.
void LogRun::take_reload_lines_out(const std::vector<std::filesystem::path>& files) {
    try {
        for (const std::filesystem::path& file : files) {
            const std::optional<std::string> page = read_whole_file(file);
            if (!page) continue;
            const std::string plain = without_reload_line(*page);
            if (plain.size() == page->size()) continue;
            // A page that fails goes with its sink, the one in place untouched.
            FilePageSink out;
            if (!out.begin(file, "")) continue;
            const bool written = out.write(plain);
            if (out.end() && written) out.put_in_place();
        }
    } catch (const std::bad_alloc&) {
        // the pages keep their reload line
    }
}

}  // namespace korvanel
