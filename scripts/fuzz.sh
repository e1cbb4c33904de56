#!/usr/bin/env bash
# Builds the fuzz target with clang and runs it for a bounded time on a seed
# corpus made of the sample log, the end-to-end logs and the inputs of past
# findings, with the texts the program looks for as a dictionary. Any crash,
# sanitizer report, leak or time-out fails.
#   scripts/fuzz.sh [seconds]   (default 120)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
      -DKORVANEL_FUZZ=ON -DKORVANEL_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target korvanel_fuzz

corpus=build/fuzz/corpus
rm -rf "$corpus" && mkdir -p "$corpus"
n=0
add_seed() {  # a log (ISO-8859-1), cut into pieces the fuzzer keeps whole
    split -b 60000 -d -a 3 "$1" "$corpus/seed$(printf %03d $n)-"
    n=$((n + 1))
}
[ -f examples/chat.log ] && add_seed examples/chat.log
for log in tests/e2e/cases/*/chat.log; do
    iconv -f UTF-8 -t ISO-8859-1 "$log" > build/fuzz/seed.log 2>/dev/null && add_seed build/fuzz/seed.log
done
for seed in tests/fuzz/regressions/*; do
    [ -f "$seed" ] && cp "$seed" "$corpus/"
done

# The texts the program looks for, as a dictionary (Latin-1, with libFuzzer's escapes).
dict=build/fuzz/korvanel.dict
grep -rhoP '"(?:[^"\\]|\\.)+"' src/analysis src/chat src/run/log_parts.cpp src/run/run.cpp | sort -u \
    | iconv -f UTF-8 -t ISO-8859-1 \
    | LC_ALL=C perl -ne 'chomp; s/^"//; s/"$//; s/\\n/\\x0a/g; s/\\t/\\x09/g; s/\\b/\\x08/g; s/\\r/\\x0d/g;
                         s/([\x80-\xff])/sprintf("\\x%02x", ord($1))/ge; print "\"$_\"\n"' > "$dict"

mkdir -p build/fuzz/findings
ASAN_OPTIONS=detect_leaks=1 build/fuzz/tests/fuzz/korvanel_fuzz "$corpus" -dict="$dict" -max_len=65536 -timeout=10 \
    -max_total_time="$seconds" -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 2>&1 | tail -n 25
