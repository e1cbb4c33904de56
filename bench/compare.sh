#!/usr/bin/env bash
# Two builds side by side on the benchmark logs: runs them in turn, R times
# each (default 7), on the 1,000,000-line mixed and ten-part logs, and
# prints the median wall time of each, its speed and the ratio new / old
# (above 1: the new build is faster). Neighbouring runs share the
# machine's state, so the ratio varies far less than figures taken apart.
#
#   bench/compare.sh OLD_KORVANEL [NEW_KORVANEL] [--repeat R] [--lines N] [--seed S]
#
# NEW defaults to the build of this tree (made in build/bench).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
old="" new="" repeat=7 lines=1000000 seed=1
while [ $# -gt 0 ]; do
    case "$1" in
        --repeat) repeat=$2; shift 2 ;;
        --lines) lines=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        *) if [ -z "$old" ]; then old=$(realpath "$1"); else new=$(realpath "$1"); fi; shift ;;
    esac
done
[ -n "$old" ] || { echo "usage: bench/compare.sh OLD_KORVANEL [NEW_KORVANEL] [--repeat R] [--lines N] [--seed S]" >&2; exit 2; }

bash scripts/install_deps.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
      -DKORVANEL_BENCH=ON -DKORVANEL_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target korvanel korvanel_loggen korvanel_measure >/dev/null
[ -n "$new" ] || new=$root/$build/korvanel
measure=$root/$build/bench/korvanel_measure
work=$root/$build/compare
rm -rf "$work" && mkdir -p "$work/mixed" "$work/ten-parts"
export LC_ALL=C
"$build/tools/korvanel_loggen" --lines "$lines" --seed "$seed" --output "$work/mixed/chat.log"
"$build/tools/korvanel_loggen" --lines "$lines" --seed "$seed" --parts 10 --output "$work/ten-parts/chat.log"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for name in mixed ten-parts; do
    dir=$work/$name
    : > "$dir/old.times"
    : > "$dir/new.times"
    for _ in $(seq "$repeat"); do
        for which in old new; do
            binary=$old
            [ "$which" = new ] && binary=$new
            read -r wall _ _ rss status < <("$measure" --dir "$dir" --stdout "$dir/$which.console" -- "$binary")
            [ "$status" = 0 ] || { echo "$binary ended with status $status on the $name log" >&2; exit 1; }
            echo "$wall $rss" >> "$dir/$which.times"
        done
    done
    bytes=$(stat -c %s "$dir/chat.log")
    old_t=$(cut -d' ' -f1 "$dir/old.times" | median)
    new_t=$(cut -d' ' -f1 "$dir/new.times" | median)
    old_m=$(cut -d' ' -f2 "$dir/old.times" | sort -g | tail -1)
    new_m=$(cut -d' ' -f2 "$dir/new.times" | sort -g | tail -1)
    awk -v name="$name" -v b="$bytes" -v o="$old_t" -v n="$new_t" -v om="$old_m" -v nm="$new_m" -v r="$repeat" 'BEGIN {
        printf "%-9s old %.3f s (%.0f MB/s, peak %.1f MB)  new %.3f s (%.0f MB/s, peak %.1f MB)  new/old speed %.2f (medians of %d)\n",
               name, o, b / 1e6 / o, om / 1024, n, b / 1e6 / n, nm / 1024, o / n, r
    }'
done
