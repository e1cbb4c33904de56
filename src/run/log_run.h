// One run over one log, step by step, and with --follow the reading of
// what the game appends after it. Fatal conditions leave it as FatalError.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chat/chat_buffer.h"
#include "console/console.h"
#include "report/analysis_page.h"
#include "report/page_sink.h"
#include "run/command_line.h"
#include "run/log_open.h"
#include "run/log_parts.h"
#include "run/log_watch.h"
#include "run/run.h"
#include "stats/timeline.h"
#include "text/latin1.h"

namespace korvanel {

inline constexpr auto kReading = latin1("Lecture en cours");
inline constexpr std::string_view kTranscriptName = "discussions.html";
inline constexpr auto kWritingPart = latin1("\nanalyse et ecriture de la partie de log nommee \"%s\"\n");

// Where the pages go, and how the closing message names that folder (none:
// the working directory itself).
struct PageFolder {
    std::filesystem::path path;
    std::optional<std::string> shown;
};

// A console that shows nothing: the messages of lines read while following.
class QuietConsole : public Console {
public:
    explicit QuietConsole(Console& clock) : clock_(clock) {}
    void write(std::string_view) override {}
    void write_error(std::string_view) override {}
    std::optional<TypedWord> read_word() override { return std::nullopt; }
    bool key_waiting() override { return false; }
    std::int64_t now_ms() override { return clock_.now_ms(); }
    void sleep_ms(int ms) override { clock_.sleep_ms(ms); }

private:
    Console& clock_;
};

class LogRun {
public:
    LogRun(Console& console, const std::filesystem::path& dir, const CommandLine& command,
           const RunEnvironment& environment);

    // A run without --follow.
    void open();
    void read();
    void close_log();
    // Every page from what was read, put in place together.
    void write_pages();
    void closing_message();

    // With --follow: the first read, then following until a key or a stop
    // signal. Returns the exit status.
    int follow();

private:
    template <bool kFollowing>
    void analyse(LogReader& reader, Console& messages, bool progress);
    PageSink& sink() { return environment_.pages != nullptr ? *environment_.pages : files_; }
    void take_timelines();
    void write_part_page(int part, Console& messages, PageSink& pages);
    void write_transcript(Console& messages, PageSink& pages);
    void write_charts(PageSink& pages);
    std::vector<std::function<void(Console&, PageSink&)>> page_writers();
    void write_pages_on_two_threads(const std::vector<std::function<void(Console&, PageSink&)>>& writers);
    void put_pages_in_place();
    void settle_page_names();
    bool is_log_file(const std::filesystem::path& file) const;
    void closing_lines();

    // Following.
    void first_read();
    bool look(bool to_end);
    void start_again();
    void write_changed_pages(bool all, bool reload, Console& messages);
    void show_status();
    void end_status_line();
    void take_reload_lines_out(const std::vector<std::filesystem::path>& files);

    Console& console_;
    QuietConsole quiet_;
    const std::filesystem::path& dir_;
    const CommandLine& command_;
    const RunEnvironment& environment_;
    std::unique_ptr<ChatBuffer> chat_;
    Name49 target_{"Inconnu"};
    PartTable parts_;
    OpenedLog log_;
    std::optional<LogReader> reader_;
    PageFolder pages_;
    bool log_beside_pages_ = false;
    std::optional<FileIdentity> log_identity_;  // of the file last read
    std::int64_t start_ms_ = 0;
    std::vector<std::string> names_;  // of the parts, in part order
    std::vector<PageTarget> targets_;
    std::vector<Timeline> timelines_;
    FilePageSink files_;

    // Following: how far the log was read, the lines read since it started,
    // the clock of the last of them with a time stamp, what changed since
    // the pages were last written, and the pages on disk that reload.
    ReadPosition read_;
    std::int64_t lines_ = 0;
    std::optional<std::array<char, 8>> last_clock_;
    std::array<bool, PartTable::kMaxParts> part_changed_{};
    int parts_written_ = 0;
    bool chat_changed_ = false;
    bool all_changed_ = false;
    std::vector<std::filesystem::path> reloading_;
    bool status_shown_ = false;
};

}  // namespace korvanel
