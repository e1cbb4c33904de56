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
#   - accented console text read right in a UTF-8 terminal;
#   - following a log: a key ends it, the console mode restored; Ctrl+C
#     ends it with the final pages written and status 130.
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

# shellcheck source=terminal_helpers.sh
. "$here/terminal_helpers.sh"
start_terminal "WINEPREFIX=$prefix WINEDEBUG=-all"

# Runs the program in directory $1, with the arguments after it, through
# the probe, which reports its exit status and the console mode it left,
# then reads for one second whatever key might have been left over for the
# shell.
launch() {
    local dir=$1
    shift
    cat > "$scratch/launch.sh" <<LAUNCH
trap 'true' INT
cd "$dir" && wine "$probe" '$windows_exe' $*
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
start_case "prompt for another file name, an accented name opened, then quit with q"
dir=$(mktemp -d "$scratch/run.XXXX")
: > "$dir/été.log"
prompt_wrong_name_then_quit "$dir" 150
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
check_countdown
finished 0
end_case

during_wait() { :; }
case_key_in_quiet_phase 150
case_key_in_countdown 150

start_case "Ctrl+C during the wait ends the program with status 130"
dir=$(log_dir '')
launch "$dir"
wait_for "$closing" 150 || fail "no closing message"
sleep 0.5
T send-keys -t term C-c
finished 130
end_case

case_accented_report "accented fatal report read right in a UTF-8 terminal"

case_follow_key 150
start_case "Ctrl+C while following writes the final pages, status 130"
start_following 150
T send-keys -t term C-c
final_pages_written
finished 130
end_case

all_cases_passed
