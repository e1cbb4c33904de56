#include "run/exit_wait.h"

#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kErrorHeader = latin1("\n\nERREUR\n\n%s");
constexpr auto kErrorLine = latin1("\nl'erreur s'est produite dans la ligne : \n%s\n");
constexpr auto kClosingSoon = latin1("\n\n\tfermeture automatique dans  ");
constexpr int kPollMs = 20;
}  // namespace

void report_fatal_error(Console& console, const FatalError& error) {
    print(console, kErrorHeader, error.message);
    if (error.line) print(console, kErrorLine, log_line(*error.line));
}

namespace {
// Runs one phase of the wait: `on_step(step)` at 0 s, 1 s, ... 5 s after the
// phase began. Returns false when a key press cut the phase short.
template <class OnStep>
bool wait_phase(Console& console, OnStep on_step) {
    const std::int64_t start = console.now_ms();
    int step = 0;
    while (step < 6) {
        if (console.key_waiting()) return false;
        const std::int64_t elapsed_seconds = (console.now_ms() - start) / 1000;
        if (elapsed_seconds >= step) {
            on_step(step);
            ++step;
        } else {
            console.sleep_ms(kPollMs);
        }
    }
    return true;
}

}  // namespace

void wait_before_exit(Console& console) {
    WaitScope scope(console);
    if (!wait_phase(console, [](int) {})) return;
    print(console, kClosingSoon);
    wait_phase(console, [&](int step) { print(console, "\b%i", 5 - step); });
}

}  // namespace korvanel
