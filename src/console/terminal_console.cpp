#include "console/terminal_console.h"

#include <cerrno>
#include <cstdint>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <langinfo.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "console/prompt_word.h"
#include "text/latin1.h"
#include "system/system_names.h"

namespace korvanel {

namespace {
// The terminal mode to restore, also from a signal handler.
struct termios g_saved_mode;
volatile std::sig_atomic_t g_mode_saved = 0;
// The signals that end the program during the exit wait (Ctrl+C,
// Ctrl+backslash, a kill, the terminal closing): each restores the terminal
// first. One the program was started with ignored stays ignored.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
struct sigaction g_old_actions[kSignalCount];
// Text for standard output waits at most this much in the buffer.
constexpr std::size_t kBufferBytes = 64 * 1024;

void restore_terminal() {
    if (g_mode_saved) tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_mode);
}

void on_signal(int sig) {
    restore_terminal();
    g_mode_saved = 0;
    for (int i = 0; i < kSignalCount; ++i) {
        if (kSignals[i] == sig) sigaction(sig, &g_old_actions[i], nullptr);
    }
    raise(sig);
}

// Writes every byte, or returns false when the system refuses (a closed
// pipe, a full disk, a descriptor that is not open).
bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}
}  // namespace

bool locale_wants_utf8() {
    if (std::setlocale(LC_CTYPE, "") == nullptr) return false;
    const char* codeset = nl_langinfo(CODESET);
    return codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
}

TerminalConsole::TerminalConsole(bool utf8_output)
    : utf8_output_(utf8_output),
      output_is_terminal_(isatty(STDOUT_FILENO) == 1),
      input_is_terminal_(isatty(STDIN_FILENO) == 1) {}

TerminalConsole::~TerminalConsole() {
    end_wait();
    flush();
}

void TerminalConsole::flush() {
    if (!output_failed_ && !write_all(STDOUT_FILENO, pending_)) output_failed_ = true;
    pending_.clear();
}

namespace {
// Whether every byte is below 0x80, eight bytes at a time.
bool plain_ascii(std::string_view text) {
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i) high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080ULL) == 0;
}
}  // namespace

void TerminalConsole::write(std::string_view latin1_text) {
    // Once a write has failed, nothing more is shown; the run goes on.
    if (output_failed_) return;
    // Only a UTF-8 terminal needs other bytes than the text's own.
    if (utf8_output_ && !plain_ascii(latin1_text)) {
        pending_.append(latin1_to_utf8(latin1_text));
    } else {
        pending_.append(latin1_text);
    }
    if (output_is_terminal_ || pending_.size() >= kBufferBytes) flush();
}

void TerminalConsole::write_error(std::string_view latin1_text) {
    flush();
    if (error_failed_) return;
    const std::string text = utf8_output_ ? latin1_to_utf8(latin1_text) : std::string(latin1_text);
    if (!write_all(STDERR_FILENO, text)) error_failed_ = true;
}

std::optional<TypedWord> TerminalConsole::read_word() {
    flush();
    const std::optional<std::string> word = read_prompt_word<char>([] {
        const int c = std::getchar();
        return c == EOF ? -1L : static_cast<long>(c);
    });
    if (!word) return std::nullopt;
    return TypedWord{*word, utf8_output_ ? latin1_from_utf8_name(*word) : *word};
}

bool TerminalConsole::key_waiting() {
    flush();
    // Something already read into stdio's buffer counts as a key.
    if (!input_is_terminal_ && std::feof(stdin)) return true;
    struct pollfd fd {};
    fd.fd = STDIN_FILENO;
    fd.events = POLLIN;
    const int ready = poll(&fd, 1, 0);
    if (ready < 0) return !input_is_terminal_;
    return ready > 0 && (fd.revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::int64_t TerminalConsole::now_ms() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void TerminalConsole::sleep_ms(int ms) {
    struct pollfd fd {};
    fd.fd = STDIN_FILENO;
    fd.events = POLLIN;
    poll(&fd, 1, ms);  // wakes early on a key press
}

void TerminalConsole::begin_wait() {
    flush();
    if (!input_is_terminal_ || raw_mode_) return;
    if (tcgetattr(STDIN_FILENO, &g_saved_mode) != 0) return;
    g_mode_saved = 1;
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], nullptr, &g_old_actions[i]);
        if (g_old_actions[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
    }
    struct termios raw = g_saved_mode;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    raw_mode_ = true;
}

void TerminalConsole::end_wait() {
    flush();
    if (!raw_mode_) return;
    tcflush(STDIN_FILENO, TCIFLUSH);  // the key pressed does not reach the shell
    restore_terminal();
    g_mode_saved = 0;
    for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &g_old_actions[i], nullptr);
    raw_mode_ = false;
}

}  // namespace korvanel
