#!/usr/bin/env bash
# Follows a log that grows, is cut short and ends with a half-written line,
# and checks after every update that the pages, their reload line taken
# out, are the pages of a normal run on the lines read so far.
#
#   run_follow_test.sh PROGRAM SAMPLE_LOG [WINE]
#
# PROGRAM is the Linux build, or with WINE the Windows build (WINEPREFIX
# set); SAMPLE_LOG a log of 250 lines at least (ISO-8859-1), into which the
# test puts a part named "Boss". The Linux program reads its keys from a
# pipe kept open, and one byte written ends following. Under Wine a pipe
# from the shell always counts as a key waiting, so the Windows program
# follows in a terminal (a private tmux server), its console output
# redirected to a file, and a key typed there ends following.
set -u
program=$(realpath "$1")
wine=${3:-}
work=$(mktemp -d)
source_log=$work/source.log
{ sed -n 1,50p "$2"; echo '[21:10:00] [TOUS]:  ]log name Boss'; sed -n 51,250p "$2"; } > "$source_log"
pid=
T() { tmux -S "$work/tmux.sock" "$@"; }
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    exec 3>&- 2>/dev/null
    [ -n "$wine" ] && { T kill-server 2>/dev/null; sleep 0.5; }
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/console.txt" ] && tail -c 600 "$work/console.txt" | cat -A | tail -n 8; exit 1; }

live=$work/live
mkdir -p "$live"
lines() { sed -n "$1,$2p" "$source_log"; }
run() { if [ -n "$wine" ]; then "$wine" "$program" "$@"; else "$program" "$@"; fi; }

# Starts following the log in $live; standard output goes to console.txt.
start_following() {
    if [ -z "$wine" ]; then
        mkfifo "$work/keys"
        exec 3<> "$work/keys"
        # The program holds no writer of the pipe: should the test die, the
        # pipe ends and following with it.
        (cd "$live" && exec "$program" --follow --json < "$work/keys" > "$work/console.txt" 2> "$work/stderr.txt" 3>&-) &
        pid=$!
        return
    fi
    command -v tmux >/dev/null || fail "tmux is missing"
    cat > "$work/follow.sh" <<EOF
cd "$live" && "$wine" "$program" --follow --json > "$work/console.txt" 2> "$work/stderr.txt"
echo \$? > "$work/status.new" && mv "$work/status.new" "$work/status"
EOF
    T new-session -d -s follow -x 120 -y 30 \
        "env WINEPREFIX=$WINEPREFIX WINEDEBUG=-all LC_ALL=C.UTF-8 bash $work/follow.sh"
}
# Presses a key and waits for the program to end; sets $status.
press_key_and_wait() {
    if [ -z "$wine" ]; then
        printf 'x' >&3
        wait "$pid"
        status=$?
        pid=
        return
    fi
    T send-keys -t follow -l x
    for _ in $(seq 200); do
        [ -f "$work/status" ] && break
        sleep 0.1
    done
    status=$(cat "$work/status" 2>/dev/null || echo "none: the program did not end")
}

# Waits until the console holds TEXT (a fixed string), 20 seconds at most.
wait_for() {
    for _ in $(seq 200); do
        grep -qaF -- "$1" "$work/console.txt" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "the console never showed: $1"
}

# Compares the pages of the followed folder with a normal run on LOG's
# bytes; with RELOAD the followed HTML pages must carry the reload line.
compare_with_normal_run() {  # LOG_BYTES_FILE reload|final [STALE_PAGE...]
    local bytes=$1 mode=$2
    shift 2
    local normal=$work/normal
    rm -rf "$normal" && mkdir -p "$normal"
    cp "$bytes" "$normal/chat.log"
    (cd "$normal" && run --json --no-wait < /dev/null > /dev/null 2>&1) || fail "the normal run failed"
    local page
    for page in "$normal"/*; do
        local name=${page##*/}
        [ "$name" = chat.log ] && continue
        [ -f "$live/$name" ] || fail "$name is missing"
        local meta='<meta http-equiv="refresh" content="5">'
        if [ "$mode" = reload ] && [ "${name##*.}" = html ]; then
            grep -qF "$meta" "$live/$name" || fail "$name has no reload line"
        else
            grep -qF "$meta" "$live/$name" && fail "$name keeps a reload line"
        fi
        cmp -s <(sed "s|$meta||" "$live/$name") "$page" || fail "$name differs from a normal run"
    done
    for page in "$@"; do
        grep -qF 'http-equiv="refresh"' "$live/$page" && fail "$page, of a part the log no longer holds, reloads"
    done
}

[ "$(wc -l < "$source_log")" -ge 201 ] || fail "the sample log needs 250 lines at least"

# First read: 100 lines and half of the next one, which waits.
lines 1 100 > "$live/chat.log"
head -c 12 <(lines 101 101) >> "$live/chat.log"
lines 1 100 > "$work/expected.log"
start_following
wait_for "appuyez sur une touche pour arreter"
compare_with_normal_run "$work/expected.log" reload

# The rest of the half line and 60 more come in two steps.
tail -c +13 <(lines 101 101) >> "$live/chat.log"
lines 102 130 >> "$live/chat.log"
lines 1 130 > "$work/expected.log"
wait_for "en direct : 130 lignes, pages mises a jour a "
compare_with_normal_run "$work/expected.log" reload
lines 131 160 >> "$live/chat.log"
lines 1 160 > "$work/expected.log"
wait_for "en direct : 160 lignes, pages mises a jour a "
compare_with_normal_run "$work/expected.log" reload

# The log is cut short: it starts again with its last 40 lines, which
# hold none of the parts named before.
[ -f "$live/Boss.html" ] || fail "no page for the part Boss"
lines 161 200 > "$work/expected.log"
cp "$work/expected.log" "$live/chat.log.new" && mv "$live/chat.log.new" "$live/chat.log"
wait_for "le journal a recommence : analyse reprise depuis le debut"
restarted=$(wc -l < "$work/expected.log")
wait_for "en direct : $restarted lignes"
compare_with_normal_run "$work/expected.log" reload Boss.html

# A last line without its line feed, then a key: it is read all the same.
printf '%s' "$(lines 201 201)" >> "$live/chat.log"
cp "$live/chat.log" "$work/expected.log"
press_key_and_wait
[ "$status" = 0 ] || fail "exit status $status"
compare_with_normal_run "$work/expected.log" final
tail -c 14 "$work/console.txt" | cmp -s - <(printf 'suivi termine\n') || fail "the console does not end with suivi termine"
[ -s "$work/stderr.txt" ] && fail "standard error: $(cat "$work/stderr.txt")"
ls -a "$live" | grep -q '\.korvanel-' && fail "a temporary file is left"
echo "follow: every update matched a normal run"
