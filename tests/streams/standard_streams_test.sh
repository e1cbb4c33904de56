#!/usr/bin/env bash
# The program and its standard streams:
#   - started with standard input, output and error closed, it opens none of
#     its files as descriptor 0, 1 or 2 (they are the null device), so no
#     console text ends up in a page;
#   - its console writes failing (a pipe nobody reads), it still writes every
#     page and ends with the run's status, not killed by SIGPIPE.
#   tests/streams/standard_streams_test.sh PATH_TO_KORVANEL
set -u
bin=$(realpath "$1")
scratch=$(mktemp -d)
trap 'exec 3>&- 5>&- 2>/dev/null; rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A log of two parts and some chat, enough for every page to hold text.
write_log() {
    printf '[20:00:00] [TOUS]:  ]log name Boss\n'
    printf '[20:00:01] @@[Guilde] Aldric : "bonjour"\n'
    printf '[20:00:02] Vous frappez le gobelin pour 12 points de dommage !\n'
}
mkdir "$scratch/reference"
write_log > "$scratch/reference/chat.log"
(cd "$scratch/reference" && "$bin" --no-wait > /dev/null 2>&1 < /dev/null) || fail "the reference run failed"
# The run in $dir ended with status 0 and wrote the reference run's pages.
same_as_reference() {  # status, label
    [ "$1" = 0 ] || fail "$2: status $1"
    for page in "$scratch/reference"/*.html; do
        cmp -s "$page" "$dir/${page##*/}" || fail "$2: ${page##*/} differs from the reference run's"
    done
}

# The log is a named pipe, so the program waits on it while its open files are looked at.
dir="$scratch/closed"
mkdir "$dir"
mkfifo "$dir/chat.log"
exec 3<> "$dir/chat.log"
(cd "$dir" && exec "$bin" --no-wait <&- >&- 2>&- 3>&-) &
pid=$!
log_fd=""
for _ in $(seq 100); do
    for fd in /proc/"$pid"/fd/*; do
        [ "$(readlink "$fd")" = "$dir/chat.log" ] && log_fd=${fd##*/}
    done
    [ -n "$log_fd" ] && break
    sleep 0.05
done
if [ -z "$log_fd" ]; then
    fail "the program did not open its log"
else
    [ "$log_fd" -gt 2 ] || fail "the log was opened as descriptor $log_fd"
    for fd in 0 1 2; do
        target=$(readlink "/proc/$pid/fd/$fd")
        [ "$target" = /dev/null ] || fail "descriptor $fd is '$target', not /dev/null"
    done
fi
write_log >&3
exec 3>&-
wait "$pid"
status=$?
same_as_reference "$status" "with closed streams"

# Standard output a pipe whose reader is gone: every write fails with EPIPE.
dir="$scratch/broken"
mkdir "$dir"
write_log > "$dir/chat.log"
mkfifo "$scratch/pipe"
exec 4<> "$scratch/pipe"
exec 5> "$scratch/pipe"
exec 4<&-
(cd "$dir" && exec "$bin" --no-wait < /dev/null >&5 2>&5 5>&-)
status=$?
exec 5>&-
same_as_reference "$status" "with a broken pipe as standard output"

[ "$failures" = 0 ] && echo "ok"
[ "$failures" = 0 ]
