#!/usr/bin/env bash
# Runs KORVANEL in a real terminal (a private tmux server) and checks what a
# person at the keyboard sees and gets back:
#   - the prompt when no log is found, a typed name, then "q";
#   - the countdown of the exit wait, digit by digit, with no key pressed;
#   - a key press ending the wait in the quiet phase and in the countdown,
#     the key consumed (it never reaches the shell);
#   - the terminal in non-canonical, no-echo mode during the wait and
#     restored afterwards, also when SIGINT, SIGTERM, SIGHUP or SIGQUIT end
#     the run;
#   - accented console text read right in a UTF-8 locale;
#   - following a log: a key ends it, the terminal mode restored; SIGINT
#     ends it with the final pages written and status 130.
#   tests/terminal/run_terminal_test.sh [path to korvanel]
set -u
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "${1:-$here/../../build/release/korvanel}")
[ -x "$bin" ] || { echo "FAIL: no program at $bin"; exit 1; }
command -v tmux >/dev/null || { echo "FAIL: tmux is missing"; exit 1; }

# shellcheck source=terminal_helpers.sh
. "$here/terminal_helpers.sh"
start_terminal
tty=$(T display-message -p -t term '#{pane_tty}')
shell_pid=$(T display-message -p -t term '#{pane_pid}')

mode_is_raw() { stty -F "$tty" -a | grep -qw -- -icanon && stty -F "$tty" -a | grep -qw -- -echo; }

# Runs the program in directory $1, with the arguments after it, from a
# small script that reports its exit status, saves the terminal mode before
# and after, and then reads for one second whatever key might have been
# left over for the shell.
launch() {
    local dir=$1
    shift
    cat > "$scratch/launch.sh" <<EOF
trap 'true' INT QUIT
ulimit -c 0
stty -g > "$scratch/mode.before"
cd "$dir" && "$bin" $*
code=\$?; echo; echo "status=\$code"
stty -g > "$scratch/mode.after"
left=
read -t 1 -n 1 -r left
echo "left=[\$left]"
EOF
    clear_screen
    rm -f "$scratch/mode.before" "$scratch/mode.after"
    type_line "bash $scratch/launch.sh"
}
finished() {  # expected status
    wait_for "^left=\[" 150 || { fail "the run did not finish"; return; }
    screen | grep -q "^status=$1\$" || fail "exit status $(screen | grep -o 'status=[0-9]*'), expected $1"
    screen | grep -q '^left=\[\]$' || fail "a key reached the shell: $(screen | grep '^left=')"
    cmp -s "$scratch/mode.before" "$scratch/mode.after" || fail "terminal mode not restored"
}
start_case "prompt for another file name, then quit with q"
dir=$(mktemp -d "$scratch/run.XXXX")
prompt_wrong_name_then_quit "$dir" 100
end_case

start_case "countdown shown digit by digit, no key pressed"
dir=$(log_dir '')
launch "$dir"
wait_for "$closing" 100 || fail "no closing message"
mode_is_raw || fail "input not in non-canonical no-echo mode during the wait"
check_countdown
finished 0
end_case

during_wait() { mode_is_raw || fail "input not in non-canonical no-echo mode during the wait"; }
case_key_in_quiet_phase 100
case_key_in_countdown 100

for sig in INT TERM HUP QUIT; do
    start_case "terminal mode restored when SIG$sig ends the wait"
    dir=$(log_dir '')
    launch "$dir"
    wait_for "$closing" 100 || fail "no closing message"
    mode_is_raw || fail "input not in non-canonical no-echo mode during the wait"
    if [ "$sig" = INT ]; then
        T send-keys -t term C-c
    elif [ "$sig" = QUIT ]; then
        T send-keys -t term 'C-\'
    else
        runner=$(pgrep -P "$shell_pid" -x bash | head -n 1)
        program=$(pgrep -P "$runner" | head -n 1)
        [ -n "$program" ] && kill -s "$sig" "$program"
    fi
    case $sig in INT) code=130 ;; TERM) code=143 ;; HUP) code=129 ;; QUIT) code=131 ;; esac
    finished "$code"
    end_case
done

case_accented_report "accented fatal report read right in a UTF-8 locale"

during_wait() { mode_is_raw || fail "input not in non-canonical no-echo mode while following"; }
case_follow_key 100
start_case "SIGINT while following writes the final pages, status 130"
start_following 100
T send-keys -t term C-c
final_pages_written
finished 130
end_case

all_cases_passed
