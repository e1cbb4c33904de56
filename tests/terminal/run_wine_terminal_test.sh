#!/usr/bin/env bash
# Runs the Windows program under Wine in a real terminal (a private tmux
# server) and checks what a person at the keyboard sees and gets back:
#   - the prompt when no log is found, an accented name typed and opened,
#     then "q";
#   - the countdown of the exit wait, digit by digit, with no key pressed;
#   - a key press ending the wait in the quiet phase and in the countdown,
#     the key consumed (it never reaches the shell);
#   - Ctrl+C during the wait ending the program with status 130;
#   - the console's input mode as the program found it once it has ended;
#   - accented console text read right in a UTF-8 terminal.
# Wine restores the terminal itself when a program ends, so the console mode
# is checked from inside the console, by a probe that runs the program.
#   tests/terminal/run_wine_terminal_test.sh [korvanel.exe] [wine prefix] [console_mode_probe.exe]
set -u
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "${1:-$here/../../build/windows/korvanel.exe}")
prefix=$(realpath -m "${2:-$(dirname "$exe")/wineprefix}")
probe=$(realpath -m "${3:-$(dirname "$exe")/tests/console_mode_probe.exe}")
[ -f "$exe" ] || { echo "FAIL: no program at $exe"; exit 1; }
[ -f "$probe" ] || { echo "FAIL: no probe at $probe"; exit 1; }
windows_exe="Z:${exe//\//\\}"
command -v tmux >/dev/null || { echo "FAIL: tmux is missing"; exit 1; }
command -v wine >/dev/null || { echo "FAIL: wine is missing"; exit 1; }
export WINEPREFIX=$prefix WINEDEBUG=-all LC_ALL=C.UTF-8
wineboot -i >/dev/null 2>&1

scratch=$(mktemp -d)
sock="$scratch/tmux.sock"
T() { tmux -u -S "$sock" "$@"; }
trap 'T kill-server >/dev/null 2>&1; sleep 0.5; rm -rf "$scratch" 2>/dev/null || true' EXIT

failures=0
passed=0
fail() { echo "FAIL: $current: $*"; failures=$((failures + 1)); case_ok=0; }
start_case() { current=$1; case_ok=1; }
end_case() { [ "$case_ok" = 1 ] && { echo "ok: $current"; passed=$((passed + 1)); }; }

T new-session -d -s term -x 150 -y 45 \
    "env -i HOME=$scratch PATH=/usr/bin:/bin TERM=tmux-256color LC_ALL=C.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all PS1='$ ' bash --norc --noprofile"

screen() { T capture-pane -p -t term; }
clear_screen() { T send-keys -t term 'clear' Enter; sleep 0.3; T send-keys -R -t term; T clear-history -t term; }
type_line() { T send-keys -t term -l "$1"; T send-keys -t term Enter; }
wait_for() {  # extended regular expression, timeout in tenths of a second
    local tenths=${2:-100}
    while [ "$tenths" -gt 0 ]; do
        screen | grep -Eq -- "$1" && return 0
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}
now_ms() { date +%s%3N; }

# Runs the program in directory $1 through the probe, which reports its exit
# status and the console mode it left, then reads for one second whatever
# key might have been left over for the shell.
launch() {
    cat > "$scratch/launch.sh" <<LAUNCH
trap 'true' INT
cd "$1" && wine "$probe" '$windows_exe'
left=
read -t 1 -n 1 -r left
echo "left=[\$left]"
LAUNCH
    clear_screen
    type_line "bash $scratch/launch.sh"
}
finished() {  # expected status
    wait_for "^left=\[" 150 || { fail "the run did not finish"; return; }
    screen | grep -q "^status=$1 " || fail "exit status $(screen | grep -o 'status=[0-9]*'), expected $1"
    screen | grep -q "^status=.* mode=restored\$" || fail "console input mode not restored"
    screen | grep -q '^left=\[\]$' || fail "a key reached the shell: $(screen | grep '^left=')"
}
log_dir() {  # a directory holding the given Latin-1 log text (printf format)
    local dir
    dir=$(mktemp -d "$scratch/run.XXXX")
    # shellcheck disable=SC2059
    printf "$1" > "$dir/chat.log"
    echo "$dir"
}
closing='appuyez sur une touche pour quitter'
countdown='fermeture automatique dans'

start_case "prompt for another file name, an accented name opened, then quit with q"
dir=$(mktemp -d "$scratch/run.XXXX")
: > "$dir/été.log"
launch "$dir"
wait_for 'quel fichier voulez-vous analyser \?\(q pour quitter\)' 150 || fail "no prompt"
screen | grep -q 'KORVANEL - statistiques du journal de jeu' || fail "no banner"
type_line "absent"
wait_for 'absent' 30
sleep 0.5
[ "$(screen | grep -c "le fichier log n'a pas ete trouve")" = 2 ] || fail "the prompt did not come back after a wrong name"
type_line "q"
finished 0
screen | grep -q "$countdown" && fail "quitting waited"
[ -e "$dir/Resultats.html" ] && fail "quitting wrote a page"
launch "$dir"
wait_for 'quel fichier voulez-vous analyser' 150 || fail "no prompt"
type_line "été"
wait_for "$closing" 100 || fail "the accented name was not opened"
grep -q "<title>Analyse du fichier $(printf '\xe9t\xe9.log')</title>" "$dir/Resultats.html" 2>/dev/null \
    || fail "the page does not name été.log in ISO-8859-1"
T send-keys -t term -l z
finished 0
end_case

start_case "countdown shown digit by digit, no key pressed"
dir=$(log_dir '')
launch "$dir"
wait_for "$closing" 150 || fail "no closing message"
shown_at=$(now_ms)
digits=""
countdown_at=""
while :; do
    now=$(screen)
    line=$(printf '%s\n' "$now" | grep "$countdown" | tail -n 1)
    if [ -n "$line" ] && [ -z "$countdown_at" ]; then countdown_at=$(now_ms); fi
    digit=$(printf '%s' "$line" | sed -nE "s/.*$countdown ([0-5]).*\$/\1/p")
    [ -n "$digit" ] && [ "${digits: -1}" != "$digit" ] && digits="$digits$digit"
    printf '%s\n' "$now" | grep -q 'status=' && break
    [ $(( $(now_ms) - shown_at )) -gt 20000 ] && break
    sleep 0.1
done
ended_at=$(now_ms)
[ "$digits" = "543210" ] || fail "digits shown: '$digits', expected 5 4 3 2 1 0 in turn"
if [ -n "$countdown_at" ]; then
    quiet=$((countdown_at - shown_at))
    [ "$quiet" -ge 4000 ] && [ "$quiet" -le 7500 ] || fail "quiet phase lasted ${quiet} ms"
    count=$((ended_at - countdown_at))
    [ "$count" -ge 4000 ] && [ "$count" -le 8000 ] || fail "countdown lasted ${count} ms"
else
    fail "no countdown message"
fi
screen | grep -Eq "$countdown 0\$" || fail "the last digit is not 0 with one blank before it"
finished 0
end_case

start_case "key pressed in the quiet phase"
dir=$(log_dir '')
launch "$dir"
wait_for "$closing" 150 || fail "no closing message"
sleep 1
pressed_at=$(now_ms)
T send-keys -t term -l x
wait_for 'status=' 40 || fail "the key did not end the wait"
[ $(( $(now_ms) - pressed_at )) -le 3000 ] || fail "the wait went on after the key"
screen | grep -q "$countdown" && fail "countdown shown after a key in the quiet phase"
finished 0
end_case

start_case "key pressed during the countdown"
dir=$(log_dir '')
launch "$dir"
wait_for "$countdown 3" 200 || fail "the countdown did not reach 3"
T send-keys -t term -l y
wait_for 'status=' 40 || fail "the key did not end the wait"
last=$(screen | grep "$countdown" | tail -n 1 | sed -nE "s/.*$countdown ([0-5]).*\$/\1/p")
case "$last" in 3|2) ;; *) fail "the countdown went on to '$last' after the key" ;; esac
finished 0
end_case

start_case "Ctrl+C during the wait ends the program with status 130"
dir=$(log_dir '')
launch "$dir"
wait_for "$closing" 150 || fail "no closing message"
sleep 0.5
T send-keys -t term C-c
finished 130
end_case

start_case "accented fatal report read right in a UTF-8 terminal"
skills=""
for skill in 'forge d'"'"'armes' 'couture' 'empennage' 'menuiserie' 'tannerie' 'alchimie' 'gemmes' 'arcs' \
             'boucliers' 'armures'; do
    skills="$skills[22:00:01] Vous devenez plus dou\xe9 en $skill!\n"
done
dir=$(log_dir "[22:00:00] Vous commencez le travail sur arc long.\n${skills}[22:00:02] Vous devenez plus dou\xe9 en \xe9b\xe9nisterie!\n")
launch "$dir"
wait_for "dans la ligne" 150 || fail "no fatal report"
screen | grep -q "^trop d'artisanats différents\$" || fail "message not shown right: $(screen | grep "trop d'")"
screen | grep -q '^\[22:00:02\] Vous devenez plus doué en ébénisterie!$' \
    || fail "offending line not shown right: $(screen | grep '22:00:02')"
T send-keys -t term -l z
finished 1
end_case

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
