#!/usr/bin/env bash
# The benchmark: builds KORVANEL in Release, generates a mixed log of
# 1,000,000 lines and a ten-part log of the same size, runs korvanel on each
# (standard input from /dev/null, so the run does not wait at the end) and
# reports its speed and peak memory, with the time of `wc -l` and
# `grep -c Vous` on the same file for scale, and its speed pinned to one
# core (`taskset -c 0`), where the reading cannot run beside the analysis.
# Then a log of years of play: 10,000,000 lines of the unbounded generator
# (about 700 MB, one line in five a chat line, 2,080 monsters, 169 spells,
# 300 crafted items), run once, whose peak memory must stay under 400 MB;
# and the precise-shot split of 1,000,000 ranged hits of one weapon, which
# must take under 0.3 s.
#
#   bench/run.sh [--lines N] [--seed S] [--repeat R] [--micro] [--binary PATH] [--before FILE]
#                [--big-lines N | --no-big] [--old PATH | --no-old] [--no-follow]
#
# Every command is timed R times (default 3) and the best time is kept.
# --micro also runs the microbenchmarks of the dispatcher, one per kind of
# line. --binary measures another korvanel (an older build, for a before
# and after on the same machine) instead of the one just built. Logs, pages
# and console texts stay in build/bench/run. The last lines are the rows of
# the README's tables of figures; --before names the saved output of an
# earlier run with --micro, whose per-kind figures fill the "before" column.
# Last, the program as it was before the fights' timelines (on the main
# line, the commit before the one that brought src/stats/timeline.cpp;
# built in build/bench-before)
# and this build side by side: bench/compare.sh runs them in turn on the two
# 1,000,000-line logs and gives the medians and the ratio of their speeds
# (it must stay at least 0.9). --old PATH compares with another build
# instead, --no-old leaves the comparison out. Then bench/follow.py follows
# the one-part log while it grows (--no-follow leaves it out).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

lines=1000000
seed=1
repeat=3
micro=0
binary=""
before=""
big_lines=10000000
old=""
compare=1
follow=1
while [ $# -gt 0 ]; do
    case "$1" in
        --lines) lines=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --repeat) repeat=$2; shift 2 ;;
        --micro) micro=1; shift ;;
        --binary) binary=$(realpath "$2"); shift 2 ;;
        --before) before=$(realpath "$2"); shift 2 ;;
        --big-lines) big_lines=$2; shift 2 ;;
        --no-big) big_lines=0; shift ;;
        --old) old=$(realpath "$2"); shift 2 ;;
        --no-old) compare=0; shift ;;
        --no-follow) follow=0; shift ;;
        *) echo "usage: bench/run.sh [--lines N] [--seed S] [--repeat R] [--micro] [--binary PATH] [--before FILE] [--big-lines N | --no-big] [--old PATH | --no-old] [--no-follow]" >&2
           exit 2 ;;
    esac
done

bash scripts/install_deps.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
      -DKORVANEL_BENCH=ON -DKORVANEL_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target korvanel korvanel_loggen korvanel_measure korvanel_dispatch_bench \
    korvanel_split_bench

korvanel=$root/$build/korvanel
[ -n "$binary" ] && korvanel=$binary
measure=$root/$build/bench/korvanel_measure
work=$root/$build/run
rm -rf "$work"
mkdir -p "$work/mixed" "$work/ten-parts"

export LC_ALL=C

echo "generating the logs ($lines lines, seed $seed)"
"$build/tools/korvanel_loggen" --lines "$lines" --seed "$seed" --output "$work/mixed/chat.log"
"$build/tools/korvanel_loggen" --lines "$lines" --seed "$seed" --parts 10 --output "$work/ten-parts/chat.log"

# best_of DIR STDOUT COMMAND...: "wall cpu peak" of the fastest of $repeat
# runs (wall and processor seconds), with the largest peak memory seen (kB).
best_of() {
    local dir=$1 out=$2
    shift 2
    local best="" peak=0
    for _ in $(seq "$repeat"); do
        local result wall user sys rss status
        result=$("$measure" --dir "$dir" --stdout "$out" -- "$@")
        read -r wall user sys rss status <<<"$result"
        if [ "$status" != 0 ]; then
            echo "$* ended with status $status" >&2
            [ -f "$out" ] && tail -c 2000 "$out" >&2
            exit 1
        fi
        [ "$rss" -gt "$peak" ] && peak=$rss
        if [ -z "$best" ] || awk -v a="$wall" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
            best="$wall $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')"
        fi
    done
    echo "$best $peak"
}

rows=""
# what was measured, when: the commit built, or the binary given
if [ -n "$binary" ]; then
    measured="$(basename "$binary"), $(date -u +%Y-%m-%d)"
else
    measured="$(git rev-parse --short HEAD 2>/dev/null || echo '?'), $(date -u +%Y-%m-%d)"
fi
report() {
    local name=$1 dir=$work/$1
    local log=$dir/chat.log
    local bytes line_count run_time run_cpu peak one_time one_cpu one_peak wc_time grep_time pages
    bytes=$(stat -c %s "$log")
    line_count=$(wc -l <"$log")
    read -r run_time run_cpu peak < <(best_of "$dir" "$dir/console.txt" "$korvanel")
    one_time=0
    if command -v taskset >/dev/null; then
        read -r one_time one_cpu one_peak < <(best_of "$dir" "$dir/console-one-core.txt" taskset -c 0 "$korvanel")
    fi
    read -r wc_time _ < <(best_of "$dir" /dev/null wc -l chat.log)
    read -r grep_time _ < <(best_of "$dir" /dev/null grep -c Vous chat.log)
    pages=$(find "$dir" -name '*.html' | wc -l)
    awk -v name="$name" -v bytes="$bytes" -v lines="$line_count" -v t="$run_time" -v cpu="$run_cpu" \
        -v rss="$peak" -v one="$one_time" -v wc="$wc_time" -v grep="$grep_time" -v pages="$pages" 'BEGIN {
        printf "\n%s log: %d lines, %.1f MB, %d pages written\n", name, lines, bytes / 1e6, pages
        printf "  korvanel      %7.3f s (processor %.3f s)  %7.1f MB/s  %9.0f lines/s  peak memory %.1f MB\n",
               t, cpu, bytes / 1e6 / t, lines / t, rss / 1024
        if (one > 0) printf "  one core      %7.3f s (taskset -c 0)     %7.1f MB/s\n", one, bytes / 1e6 / one
        printf "  wc -l         %7.3f s   korvanel / wc   = %.1f\n", wc, t / wc
        printf "  grep -c Vous  %7.3f s   korvanel / grep = %.1f\n", grep, t / grep
    }'
    rows+=$(awk -v name="$name" -v bytes="$bytes" -v lines="$line_count" -v t="$run_time" -v rss="$peak" \
        -v one="$one_time" -v wc="$wc_time" -v grep="$grep_time" -v measured="$measured" 'BEGIN {
        label = name == "mixed" ? "1,000,000 lines, one part" : "1,000,000 lines, ten parts"
        if (lines != 1000000) label = lines " lines, " name
        one_text = one > 0 ? sprintf("%.3f s, %.0f MB/s", one, bytes / 1e6 / one) : "-"
        printf "| %s, %.1f MB | %s | %.3f s | %.0f MB/s, %.1f million lines/s | %s | %.1f MB | %.0f | %.0f |\n",
               label, bytes / 1e6, measured, t, bytes / 1e6 / t, lines / t / 1e6, one_text, rss / 1024, t / wc, t / grep
    }')$'\n'
}

echo
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
report mixed
report ten-parts

# The log of years of play, run once: its time, its peak memory against
# the 400 MB it must stay under, and what memory it took per line read.
if [ "$big_lines" -gt 0 ]; then
    big=$work/big
    mkdir -p "$big"
    echo
    echo "generating the unbounded log ($big_lines lines, seed $seed)"
    "$build/tools/korvanel_loggen" --lines "$big_lines" --seed "$seed" --unbounded --kinds \
        --output "$big/chat.log" 2>"$big/kinds.txt"
    read -r big_time _ _ big_rss big_status < <("$measure" --dir "$big" --stdout "$big/console.txt" -- "$korvanel")
    if [ "$big_status" != 0 ]; then
        echo "the unbounded log ended with status $big_status" >&2
        tail -c 2000 "$big/console.txt" >&2
        exit 1
    fi
    big_bytes=$(stat -c %s "$big/chat.log")
    big_chat=$(awk '$1 == "chat" { print $2 }' "$big/kinds.txt")
    big_pages=$(find "$big" -name '*.html' | wc -l)
    awk -v lines="$big_lines" -v bytes="$big_bytes" -v chat="$big_chat" -v t="$big_time" -v rss="$big_rss" \
        -v pages="$big_pages" 'BEGIN {
        printf "\nunbounded log: %d lines (%d chat lines), %.1f MB, %d pages written\n", lines, chat, bytes / 1e6, pages
        printf "  korvanel      %7.3f s  %7.1f MB/s  peak memory %.1f MB (%s 400 MB)\n", t, bytes / 1e6 / t, rss / 1024,
               rss / 1024 < 400 ? "under" : "OVER"
    }'
    rows+=$(awk -v lines="$big_lines" -v bytes="$big_bytes" -v t="$big_time" -v rss="$big_rss" -v measured="$measured" 'BEGIN {
        printf "| %d lines, unbounded, %.1f MB | %s | %.3f s | %.0f MB/s, %.1f million lines/s | - | %.1f MB | - | - |\n",
               lines, bytes / 1e6, measured, t, bytes / 1e6 / t, lines / t / 1e6, rss / 1024
    }')$'\n'
fi

# The precise-shot split on its own (the median of five runs).
echo
"$build/bench/korvanel_split_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true |
    tee "$work/split.txt" | grep -E '^(Benchmark|split/.*_median)'
awk '$1 == "split/ranged_hits/1000000_median" {
    t = $4; if ($5 == "ms") t /= 1000; else if ($5 == "us") t /= 1e6; else if ($5 == "ns") t /= 1e9
    printf "  split of 1,000,000 ranged hits: %.3f s (%s 0.3 s)\n", t, t < 0.3 ? "under" : "OVER"
}' "$work/split.txt"

echo
echo "rows of the README table of whole runs (best of $repeat):"
printf '%s' "$rows"

if [ "$micro" = 1 ]; then
    echo
    # Five repetitions of each, of which the median is kept: a single run
    # of a fraction of a second is easily off by a third.
    "$build/bench/korvanel_dispatch_bench" --benchmark_min_time=0.2 --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true | tee "$work/micro.txt"
    # Nanoseconds of processor time per line, by kind: "| kind | before | dispatch | looked |"
    # (the medians; an older output without repetitions gives its single figures).
    echo
    echo "rows of the README table of kinds of line (ns per line, processor time):"
    awk -v before="$before" '
        function take(file, prefix,    line, f) {
            while ((getline line < file) > 0) {
                split(line, f, " ")
                if (f[1] ~ "_(mean|stddev|cv)$") continue
                sub("_median$", "", f[1])
                if (f[1] ~ "^(dispatch|looked)/" && f[5] == "ns") table[prefix f[1]] = f[4]
            }
        }
        BEGIN {
            if (before != "") take(before, "before:")
            take(ARGV[1], "after:")
            ARGV[1] = ""
        }
        /^dispatch\// && $1 !~ "_(mean|stddev|cv)$" {
            kind = substr($1, 10)
            sub("_median$", "", kind)
            b = ("before:dispatch/" kind) in table ? sprintf("%.0f", table["before:dispatch/" kind]) : "-"
            printf "| %s | %s | %.0f | %.0f |\n", kind, b, table["after:dispatch/" kind], table["after:looked/" kind]
        }' "$work/micro.txt" "$work/micro.txt"
fi

# The program before the timelines and this one, side by side.
if [ "$compare" = 1 ]; then
    if [ -z "$old" ]; then
        first=$(git log --first-parent --format=%H -- src/stats/timeline.cpp 2>/dev/null | tail -1)
        if [ -n "$first" ] && git rev-parse -q --verify "$first^" >/dev/null; then
            before_src=$root/build/bench-before/src
            rm -rf "$before_src" && mkdir -p "$before_src"
            git archive "$first^" | tar -x -C "$before_src"
            cmake -S "$before_src" -B build/bench-before/build -G Ninja -DCMAKE_BUILD_TYPE=Release \
                  -DCMAKE_CXX_COMPILER=g++ -DKORVANEL_TESTS=OFF >/dev/null
            cmake --build build/bench-before/build -j "$(nproc)" --target korvanel >/dev/null
            old=$root/build/bench-before/build/korvanel
            echo
            echo "before the timelines ($(git rev-parse --short "$first^")) and this build, in turn:"
        else
            echo
            echo "no history to build the program before the timelines from: no comparison"
        fi
    fi
    if [ -n "$old" ]; then
        bench/compare.sh "$old" "$korvanel" --lines "$lines" --seed "$seed"
    fi
fi

# A followed log that grows by 100 lines every 100 ms for 20 seconds, after
# the 975,000 first lines of the one-part log: the time from a line's
# arrival to pages that show it, and the processor time while idle.
if [ "$follow" = 1 ]; then
    echo
    python3 bench/follow.py "$korvanel" "$work/mixed/chat.log" --start $((lines - 25000))
fi
