#include "system/file_replace.h"

#include <array>
#include <csignal>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>

#include "system/stop_signals.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace korvanel {

namespace {
constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";

std::filesystem::path random_name() {
    static std::mt19937_64 generator{std::random_device{}() ^ static_cast<std::uint64_t>(
                                         std::chrono::steady_clock::now().time_since_epoch().count())};
    std::string name = ".korvanel-";
    for (int i = 0; i < 6; ++i) name += kAlphabet[generator() % kAlphabet.size()];
    name += ".tmp";
    return std::filesystem::path(name);
}

#ifdef _WIN32
std::FILE* create_new(const std::filesystem::path& path) {
    const int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) _close(fd);
    return file;
}

void remove_named(const wchar_t* path) { _wunlink(path); }
void on_first_watched() {}
void on_last_unwatched() {}
#else
std::FILE* create_new(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) ::close(fd);
    return file;
}

void remove_named(const char* path) { ::unlink(path); }

constexpr std::array<int, 4> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction g_previous[kSignals.size()];

extern "C" void remove_and_end(int signal_number) {
    remove_temp_files();
    // The program ends as the signal says, with the handler it had before.
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (kSignals[i] == signal_number) ::sigaction(signal_number, &g_previous[i], nullptr);
    }
    ::raise(signal_number);
}

// Once the program takes the stop signals itself, it ends its pages
// before it stops, and a signal leaves the temporary files to it.
void on_first_watched() {
    if (stop_signals_caught()) return;
    struct sigaction action {};
    action.sa_handler = remove_and_end;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) sigaddset(&action.sa_mask, s);
    for (std::size_t k = 0; k < kSignals.size(); ++k) ::sigaction(kSignals[k], &action, &g_previous[k]);
}

void on_last_unwatched() {
    if (stop_signals_caught()) return;
    for (std::size_t k = 0; k < kSignals.size(); ++k) ::sigaction(kSignals[k], &g_previous[k], nullptr);
}
#endif

// The temporary files not yet put in place: a run's pages at the most,
// each path kept whole in a fixed slot, so that a signal handler can remove
// them without allocating or reading a structure being changed.
using Unit = std::filesystem::path::value_type;
constexpr int kWatched = 32;
constexpr std::size_t kPathUnits = 4096;
Unit g_watched[kWatched][kPathUnits];
volatile std::sig_atomic_t g_in_use[kWatched];
int g_watching = 0;
// Pages may be written on two threads at once: making and forgetting
// temporary files take turns (a signal handler only reads the slots).
std::mutex g_watch_lock;

void watch(const std::filesystem::path& path) {
    const auto& text = path.native();
    if (text.size() >= kPathUnits) return;
    for (int i = 0; i < kWatched; ++i) {
        if (g_in_use[i]) continue;
        text.copy(g_watched[i], text.size());
        g_watched[i][text.size()] = Unit{0};
        g_in_use[i] = 1;
        if (g_watching++ == 0) on_first_watched();
        return;
    }
}

void unwatch(const std::filesystem::path& path) {
    for (int i = 0; i < kWatched; ++i) {
        if (!g_in_use[i] || path.native() != g_watched[i]) continue;
        g_in_use[i] = 0;
        if (--g_watching == 0) on_last_unwatched();
        return;
    }
}
}  // namespace

std::optional<TempFile> create_temp_file(const std::filesystem::path& folder) {
    const std::lock_guard<std::mutex> lock(g_watch_lock);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path path = folder / random_name();
        if (std::FILE* file = create_new(path)) {
            watch(path);
            return TempFile{file, path};
        }
        std::error_code ignored;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, ignored))) return std::nullopt;
    }
    return std::nullopt;
}

void forget_temp_file(const std::filesystem::path& path) {
    const std::lock_guard<std::mutex> lock(g_watch_lock);
    unwatch(path);
}

void remove_temp_files() {
    for (int i = 0; i < kWatched; ++i) {
        if (g_in_use[i]) remove_named(g_watched[i]);
    }
}

bool replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
    // A page a browser or an antivirus holds open is tried again, for a second at the most.
    for (int waited_ms = 0;; waited_ms += 50) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
        if (!held || waited_ms >= 1000) return false;
        Sleep(50);
    }
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace korvanel
