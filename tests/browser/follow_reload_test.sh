#!/usr/bin/env bash
# A page open in the browser while KORVANEL follows its log reloads by
# itself and shows the figures of lines that came after it was opened.
# The followed folder is served over HTTP on the loopback, so that the test
# sees each load of the page: headless chromium opens it (the first read's
# figures), a line comes, the page is written again, and within the next
# seconds the page's reload line must make the browser load it anew; the
# text the browser then shows (read through its debugging port) must hold
# the new figures.
#   tests/browser/follow_reload_test.sh [path to korvanel]
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bin=$(realpath "${1:-$root/build/release/korvanel}")
command -v chromium >/dev/null || { echo "FAIL: chromium is missing"; exit 1; }
scratch=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    exec 3>&- 2>/dev/null
    rm -rf "$scratch"
}
[ -n "${KEEP_SCRATCH:-}" ] && echo "scratch: $scratch" || trap cleanup EXIT
fail() { echo "FAIL: follow reload: $*"; exit 1; }
wait_until() {  # seconds command...
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}

mkdir -p "$scratch/live"
hit() { echo "[21:00:0$1] Vous attaquez le loup avec votre hache, et infligez $2 points de dégâts."; }
{ hit 1 11; hit 2 11; } | iconv -f UTF-8 -t ISO-8859-1 > "$scratch/live/chat.log"
mkfifo "$scratch/keys"
exec 3<> "$scratch/keys"
(cd "$scratch/live" && exec "$bin" --follow < "$scratch/keys" > "$scratch/console.txt" 2>&1) &
pids+=($!)
wait_until 20 grep -q "appuyez sur une touche pour arreter" "$scratch/console.txt" || fail "the first read did not end"

port=$((20000 + RANDOM % 20000))
python3 -u -m http.server --bind 127.0.0.1 --directory "$scratch/live" "$port" > "$scratch/server.log" 2>&1 &
pids+=($!)
wait_until 20 grep -q "Serving HTTP" "$scratch/server.log" || fail "no HTTP server on port $port"
loads() { [ "$(grep -c 'GET /Resultats.html' "$scratch/server.log")" -ge "$1" ]; }
debug_port=$((port + 1))
chromium --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --no-first-run \
    --disable-background-networking --user-data-dir="$scratch/profile" --remote-debugging-port="$debug_port" \
    "http://127.0.0.1:$port/Resultats.html" > /dev/null 2>&1 &
pids+=($!)
wait_until 90 loads 1 || fail "the browser never opened the page"
# A hit of 4,000 points comes, and the page is written again.
hit 3 4000 | iconv -f UTF-8 -t ISO-8859-1 >> "$scratch/live/chat.log"
wait_until 20 grep -q "en direct : 3 lignes" "$scratch/console.txt" || fail "the page was not written again"
loads 2 && fail "the browser loaded the page again before it changed"
wait_until 30 loads 2 || fail "the open page did not reload by itself"
sleep 1
shown=$(python3 "$here/page_text.py" "$debug_port") || fail "the browser's debugging port did not answer"
grep -q "11-4000" <<< "$shown" || fail "the reloaded page lacks the new figures (hits of 11 to 4000)"
printf 'x' >&3
wait "${pids[0]}" || fail "the followed run did not end well"
echo "ok: a followed page reloads by itself and shows the new figures"
