#include "console/windows_console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "console/prompt_word.h"
#include "system/stop_signals.h"
#include "system/system_names.h"

namespace korvanel {

namespace {
// Output waits at most this long in the buffer while more text comes.
constexpr std::int64_t kFlushMs = 100;
constexpr std::size_t kBufferBytes = 16 * 1024;
// The exit wait never sleeps longer than this between two looks at the input.
constexpr DWORD kPollMs = 50;
constexpr int kInterruptedStatus = 130;

// The input mode to restore, also from the handler of Ctrl+C, which runs on
// a thread of its own.
HANDLE g_wait_input = nullptr;
DWORD g_saved_mode = 0;
volatile LONG g_mode_saved = 0;

void restore_input_mode() {
    if (InterlockedExchange(&g_mode_saved, 0) != 0) SetConsoleMode(g_wait_input, g_saved_mode);
}

BOOL WINAPI on_console_event(DWORD event) {
    // While following, the program takes these events itself and ends in its own time.
    if (stop_signals_caught()) return FALSE;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        restore_input_mode();
        ExitProcess(kInterruptedStatus);
    }
    restore_input_mode();  // the window closes: the system ends the program
    return FALSE;
}

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// A key press that ends the wait. A modifier or lock key pressed alone types
// nothing (a terminal never sees it), so it does not.
bool is_key_press(const INPUT_RECORD& record) {
    if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) return false;
    switch (record.Event.KeyEvent.wVirtualKeyCode) {
        case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_LWIN: case VK_RWIN:
        case VK_CAPITAL: case VK_NUMLOCK: case VK_SCROLL:
            return false;
        default:
            return true;
    }
}

}  // namespace

std::wstring name_from_redirected_bytes(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (units > 0) {
        std::wstring wide(static_cast<std::size_t>(units), L'\0');
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), units);
        return wide;
    }
    std::wstring wide;
    for (const char c : bytes) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

WindowsConsole::WindowsConsole() {
    // Redirected text goes out as it stands: "\n" stays one byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    in_ = GetStdHandle(STD_INPUT_HANDLE);
    out_.handle = GetStdHandle(STD_OUTPUT_HANDLE);
    err_.handle = GetStdHandle(STD_ERROR_HANDLE);
    input_is_console_ = is_console(in_);
    out_.is_console = is_console(out_.handle);
    err_.is_console = is_console(err_.handle);
    out_.flushed_at = err_.flushed_at = now_ms();
}

WindowsConsole::~WindowsConsole() {
    end_wait();
    flush(out_);
    flush(err_);
}

void WindowsConsole::send(Output& out, std::string_view text) {
    // Once a write has failed (a closed pipe, a full disk), nothing more is
    // shown there; the run goes on.
    if (out.failed || out.handle == nullptr || out.handle == INVALID_HANDLE_VALUE) return;
    if (out.is_console) {
        // ISO-8859-1 is the first 256 characters of UTF-16.
        std::wstring wide(text.size(), L'\0');
        std::transform(text.begin(), text.end(), wide.begin(),
                       [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
        std::size_t at = 0;
        while (at < wide.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 8192));
            DWORD written = 0;
            if (!WriteConsoleW(out.handle, wide.data() + at, chunk, &written, nullptr) || written == 0) {
                out.failed = true;
                return;
            }
            at += written;
        }
    } else {
        std::size_t at = 0;
        while (at < text.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - at, 1 << 20));
            DWORD written = 0;
            if (!WriteFile(out.handle, text.data() + at, chunk, &written, nullptr) || written == 0) {
                out.failed = true;
                return;
            }
            at += written;
        }
    }
}

void WindowsConsole::flush(Output& out) {
    out.flushed_at = now_ms();
    if (out.pending.empty()) return;
    send(out, out.pending);
    out.pending.clear();
}

void WindowsConsole::write(std::string_view latin1_text) {
    if (out_.failed) return;
    out_.pending.append(latin1_text);
    if (out_.pending.size() >= kBufferBytes || now_ms() - out_.flushed_at >= kFlushMs) flush(out_);
}

void WindowsConsole::write_error(std::string_view latin1_text) {
    flush(out_);
    err_.pending.append(latin1_text);
    flush(err_);
}

long WindowsConsole::next_byte() {
    if (bytes_ended_) return -1;
    if (bytes_at_ == read_bytes_.size()) {
        char bytes[4096];
        DWORD read = 0;
        if (!ReadFile(in_, bytes, sizeof bytes, &read, nullptr) || read == 0) {
            bytes_ended_ = true;
            return -1;
        }
        read_bytes_.assign(bytes, read);
        bytes_at_ = 0;
    }
    return static_cast<unsigned char>(read_bytes_[bytes_at_++]);
}

std::optional<TypedWord> WindowsConsole::read_word() {
    flush(out_);
    if (input_is_console_) {
        const auto read = [this](std::wstring& units) {
            wchar_t typed[1024];
            DWORD count = 0;
            if (!ReadConsoleW(in_, typed, 1024, &count, nullptr)) return false;
            units.assign(typed, count);
            return true;
        };
        const std::optional<std::wstring> word =
            read_prompt_word<wchar_t>([&] { return console_input_.next(read); });
        if (!word) return std::nullopt;
        return TypedWord{*word, latin1_from_utf16(std::wstring_view(*word))};
    }
    const std::optional<std::string> word = read_prompt_word<char>([this] { return next_byte(); });
    if (!word) return std::nullopt;
    return TypedWord{name_from_redirected_bytes(*word), *word};
}

bool WindowsConsole::key_waiting() {
    flush(out_);
    if (input_is_console_) {
        // Every event but a key press (key releases, focus, mouse, window
        // size) is read and dropped.
        while (!key_pressed_ && WaitForSingleObject(in_, 0) == WAIT_OBJECT_0) {
            DWORD count = 0;
            if (!GetNumberOfConsoleInputEvents(in_, &count) || count == 0) break;
            INPUT_RECORD record;
            DWORD read = 0;
            if (!ReadConsoleInputW(in_, &record, 1, &read) || read == 0) break;
            if (is_key_press(record)) key_pressed_ = true;
        }
        return key_pressed_;
    }
    // Redirected input: text already read ahead, a file, NUL or an ended
    // pipe would not keep a read waiting; only an empty open pipe does.
    if (bytes_ended_ || bytes_at_ < read_bytes_.size()) return true;
    if (GetFileType(in_) != FILE_TYPE_PIPE) return true;
    DWORD available = 0;
    return !(PeekNamedPipe(in_, nullptr, 0, nullptr, &available, nullptr) && available == 0);
}

std::int64_t WindowsConsole::now_ms() { return static_cast<std::int64_t>(GetTickCount64()); }

void WindowsConsole::sleep_ms(int ms) {
    flush(out_);
    if (ms <= 0) return;
    if (!input_is_console_) {
        Sleep(static_cast<DWORD>(ms));
        return;
    }
    // Wakes early when the console has something to read.
    const std::int64_t until = now_ms() + ms;
    for (std::int64_t left = ms; left > 0; left = until - now_ms()) {
        if (WaitForSingleObject(in_, static_cast<DWORD>(std::min<std::int64_t>(left, kPollMs))) == WAIT_OBJECT_0) return;
    }
}

void WindowsConsole::begin_wait() {
    flush(out_);
    if (!input_is_console_ || waiting_) return;
    DWORD mode = 0;
    if (!GetConsoleMode(in_, &mode)) return;
    g_wait_input = in_;
    g_saved_mode = mode;
    InterlockedExchange(&g_mode_saved, 1);
    SetConsoleCtrlHandler(on_console_event, TRUE);
    // Keys are read one by one and not shown; Ctrl+C still interrupts.
    SetConsoleMode(in_, mode & ~static_cast<DWORD>(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT));
    waiting_ = true;
    key_pressed_ = false;
}

void WindowsConsole::end_wait() {
    flush(out_);
    if (!waiting_) return;
    FlushConsoleInputBuffer(in_);  // the key pressed does not reach the shell
    restore_input_mode();
    SetConsoleCtrlHandler(on_console_event, FALSE);
    waiting_ = false;
}

bool WindowsConsole::alone_in_window() {
    DWORD processes[2] = {};
    return GetConsoleProcessList(processes, 2) == 1;
}

}  // namespace korvanel
