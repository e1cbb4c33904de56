#!/usr/bin/env bash
# Builds KORVANEL and runs every test suite: the unit and end-to-end tests
# built with g++, then the same suites built with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, the log reader's tests
# under ThreadSanitizer, a minute of fuzzing for each of the two fuzz
# targets, the test in a real terminal (tmux) and the test in a real
# browser (headless chromium), and last the Windows program cross-built
# with MinGW-w64, its unit and end-to-end tests and the terminal test run
# under Wine, then the release archives, built and tried. Each step says
# how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install_deps.sh tmux chromium windows
jobs=$(nproc)
# Each step says how long the one before it took.
step_start=$SECONDS
step() {
    [ -n "${step_name:-}" ] && echo "   ($step_name: $((SECONDS - step_start)) s)"
    step_name=$1
    step_start=$SECONDS
    echo "== $1"
}
trap '[ -n "${step_name:-}" ] && echo "   ($step_name: $((SECONDS - step_start)) s)"' EXIT

step "g++ build, unit and end-to-end tests"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

step "clang build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
      -DKORVANEL_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

step "the log reader's threaded path under ThreadSanitizer"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ -DKORVANEL_TSAN=ON >/dev/null
cmake --build build/tsan -j "$jobs" --target korvanel_unit_tests
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/korvanel_unit_tests --gtest_filter='*LogReaderPaths*:*Run*:Follow*' --gtest_brief=1

step "fuzzing: the whole program on arbitrary logs, the command line and the page names on arbitrary bytes"
bash scripts/fuzz.sh 60

step "terminal and browser tests"
bash tests/terminal/run_terminal_test.sh build/release/korvanel
bash tests/browser/run_browser_test.sh build/release/korvanel
bash tests/browser/follow_reload_test.sh build/release/korvanel

step "Windows build (MinGW-w64), unit, end-to-end and terminal tests under Wine"
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/windows -j "$jobs"
ctest --test-dir build/windows --output-on-failure -j "$jobs"
bash tests/terminal/run_wine_terminal_test.sh build/windows/korvanel.exe build/windows/wineprefix

step "release archives: built, unpacked, and the Windows program from the zip run under Wine"
bash scripts/package.sh
bash tests/package/run_package_test.sh
