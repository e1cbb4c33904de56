#!/usr/bin/env bash
# Builds the two fuzz targets with clang and runs each for a bounded time.
# The whole program runs on a seed corpus made of the sample log, the
# end-to-end logs and the inputs of past findings, with the texts the
# program looks for as a dictionary; the argument parser and the page
# naming run on the end-to-end command lines and part names, with the
# option spellings and device names as a dictionary. Any crash, sanitizer
# report, leak or time-out fails. Each target's number of runs and runs a
# second are printed from libFuzzer's final statistics.
#   scripts/fuzz.sh [seconds [names_seconds]]   (default 120, names_seconds as seconds)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-120}
names_seconds=${2:-$seconds}
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
      -DKORVANEL_FUZZ=ON -DKORVANEL_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target korvanel_fuzz korvanel_fuzz_names

# Runs one target; on a failure shows the end of its output, else its figures.
#   fuzz TARGET SECONDS CORPUS DICT MAX_LEN
# The inputs it finds go to a scratch corpus in memory (the seeds stay as
# they are). A small quarantine, no allocation stacks (rerun a finding
# with the default options to see where its memory came from) and no
# filling of new blocks keep the sanitizer's bookkeeping from outweighing a
# run, and the plain scheduling of inputs (no entropic weighing of rare
# features) keeps libFuzzer's own from doing so; every check stays on.
fuzz() {
    local log=build/fuzz/$1.out status=0 found
    found=$(mktemp -d "$(scratch_base)/korvanel-$1-XXXXXX")
    ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=1:malloc_context_size=0:max_malloc_fill_size=0:clear_shadow_mmap_threshold=1048576 \
        "build/fuzz/tests/fuzz/$1" "$found" "$3" -dict="$4" -max_len="$5" -timeout=10 -entropic=0 \
        -max_total_time="$2" -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 > "$log" 2>&1 || status=$?
    rm -rf "$found"
    if [ "$status" != 0 ]; then
        tail -n 25 "$log"
        echo "$1: FAILED (status $status)"
        return "$status"
    fi
    awk -v target="$1" '/^stat::number_of_executed_units:/ { runs = $2 }
                        /^stat::average_exec_per_sec:/ { rate = $2 }
                        END { printf "%s: %d runs, %d runs a second\n", target, runs, rate }' "$log"
}
scratch_base() { if [ -d /dev/shm ] && [ -w /dev/shm ]; then echo /dev/shm; else echo "${TMPDIR:-/tmp}"; fi; }

corpus=build/fuzz/corpus
rm -rf "$corpus" && mkdir -p "$corpus"
n=0
# A log (ISO-8859-1), cut into pieces of a few lines that the fuzzer keeps
# whole: its inputs start no longer than the longest seed, and most of a
# run's work goes with its length.
add_seed() {
    split -b 500 -d -a 3 "$1" "$corpus/seed$(printf %03d $n)-"
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

# Command lines and part names, their pieces apart on NUL bytes: the
# end-to-end cases' arguments, then a log name and the part names of the
# end-to-end logs.
names_corpus=build/fuzz/names_corpus
rm -rf "$names_corpus" && mkdir -p "$names_corpus"
n=0
for args in tests/e2e/cases/*/args; do
    tr '\n' '\0' < "$args" | head -c -1 > "$names_corpus/args$(printf %03d $n)"
    n=$((n + 1))
done
n=0
for log in tests/e2e/cases/*/chat.log; do
    { printf 'chat.log\n'; sed -n 's/^.*\]log name //p' "$log" | tr -d '\r'; } \
        | iconv -f UTF-8 -t ISO-8859-1 2>/dev/null | tr '\n' '\0' | head -c -1 > "$names_corpus/parts$(printf %03d $n)" || true
    n=$((n + 1))
done
names_dict=build/fuzz/names.dict
printf '"%s"\n' -o --output --output= --json -f --follow --no-wait -h --help -V --version -- - \
    con PRN aux NUL COM LPT \\xb9 \\xb2 \\xb3 .html discussions.html Discussions.HTML \\xc9 \\xe9 \\x00 > "$names_dict"

mkdir -p build/fuzz/findings
fuzz korvanel_fuzz "$seconds" "$corpus" "$dict" 65536
fuzz korvanel_fuzz_names "$names_seconds" "$names_corpus" "$names_dict" 2048
