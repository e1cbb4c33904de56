# Shared by the terminal tests: a private tmux server with one shell, what
# its screen shows, the test cases' bookkeeping and the checks both
# programs (Linux and Windows under Wine) must pass alike. Sourced.

# Starts the shell, in the UTF-8 locale, with the environment words given
# (NAME=value ...); sets $scratch, a folder removed at exit.
start_terminal() {
    scratch=$(mktemp -d)
    sock="$scratch/tmux.sock"
    trap 'T kill-server >/dev/null 2>&1; sleep 0.5; rm -rf "$scratch" 2>/dev/null || true' EXIT
    T new-session -d -s term -x 150 -y 45 \
        "env -i HOME=$scratch PATH=/usr/bin:/bin TERM=tmux-256color LC_ALL=C.UTF-8 $* PS1='$ ' bash --norc --noprofile"
}
T() { tmux -u -S "$sock" "$@"; }

failures=0
passed=0
fail() { echo "FAIL: $current: $*"; failures=$((failures + 1)); case_ok=0; }
start_case() { current=$1; case_ok=1; }
end_case() { [ "$case_ok" = 1 ] && { echo "ok: $current"; passed=$((passed + 1)); }; }
all_cases_passed() { echo "$passed passed, $failures failed"; [ "$failures" = 0 ]; }

screen() { T capture-pane -p -t term; }
clear_screen() { T send-keys -t term 'clear' Enter; sleep 0.3; T send-keys -R -t term; T clear-history -t term; }
type_line() { T send-keys -t term -l "$1"; T send-keys -t term Enter; }
# Waits until the screen matches an extended regular expression.
wait_for() {  # pattern, timeout in tenths of a second
    local tenths=${2:-100}
    while [ "$tenths" -gt 0 ]; do
        screen | grep -Eq -- "$1" && return 0
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}
now_ms() { date +%s%3N; }
log_dir() {  # a directory holding the given Latin-1 log text (printf format)
    local dir
    dir=$(mktemp -d "$scratch/run.XXXX")
    # shellcheck disable=SC2059
    printf "$1" > "$dir/chat.log"
    echo "$dir"
}
closing='appuyez sur une touche pour quitter'
countdown='fermeture automatique dans'

# From the closing message on, with no key pressed: the quiet phase, then the
# countdown digit by digit, up to the line "status=" the launcher prints.
check_countdown() {
    local shown_at now line digit digits="" countdown_at="" ended_at quiet count
    shown_at=$(now_ms)
    while :; do
        now=$(screen)
        line=$(printf '%s\n' "$now" | grep "$countdown" | tail -n 1)
        if [ -n "$line" ] && [ -z "$countdown_at" ]; then countdown_at=$(now_ms); fi
        digit=$(printf '%s' "$line" | sed -nE "s/.*$countdown ([0-5])\$/\1/p")
        [ -n "$digit" ] && [ "${digits: -1}" != "$digit" ] && digits="$digits$digit"
        printf '%s\n' "$now" | grep -q '^status=' && break
        [ $(( $(now_ms) - shown_at )) -gt 20000 ] && break
        sleep 0.1
    done
    ended_at=$(now_ms)
    [ "$digits" = "543210" ] || fail "digits shown: '$digits', expected 5 4 3 2 1 0 in turn"
    if [ -n "$countdown_at" ]; then
        quiet=$((countdown_at - shown_at))
        if [ "$quiet" -lt 4000 ] || [ "$quiet" -gt 7500 ]; then fail "quiet phase lasted ${quiet} ms"; fi
        count=$((ended_at - countdown_at))
        if [ "$count" -lt 4000 ] || [ "$count" -gt 8000 ]; then fail "countdown lasted ${count} ms"; fi
    else
        fail "no countdown message"
    fi
    screen | grep -Eq "$countdown 0\$" || fail "the last digit is not 0 with one blank before it"
}

# In a folder without chat.log: the prompt, a wrong name and the prompt
# again, then "q" quits at once, without the wait and without a page.
prompt_wrong_name_then_quit() {  # folder, timeout for the prompt (tenths of a second)
    launch "$1"
    wait_for 'quel fichier voulez-vous analyser \?\(q pour quitter\)' "$2" || fail "no prompt"
    screen | grep -q 'KORVANEL - statistiques du journal de jeu' || fail "no banner"
    type_line "absent"
    wait_for 'absent' 30
    sleep 0.5
    [ "$(screen | grep -c "le fichier log n'a pas ete trouve")" = 2 ] || fail "the prompt did not come back after a wrong name"
    type_line "q"
    finished 0
    screen | grep -q "$countdown" && fail "quitting waited"
    [ -e "$1/Resultats.html" ] && fail "quitting wrote a page"
}

# A fatal report with accents, read right on the screen; a key ends its wait.
case_accented_report() {  # case title
    start_case "$1"
    launch "$(accented_report_dir)"
    check_accented_report
    T send-keys -t term -l z
    finished 1
    end_case
}

# The two ways a key ends the exit wait, alike for both programs; each
# program's script defines launch, finished and during_wait (a check of the
# input mode while the wait runs, or nothing) and gives the time to wait for
# the closing message (tenths of a second).
case_key_in_quiet_phase() {  # closing timeout
    start_case "key pressed in the quiet phase"
    launch "$(log_dir '')"
    wait_for "$closing" "$1" || fail "no closing message"
    sleep 1
    during_wait
    local pressed_at
    pressed_at=$(now_ms)
    T send-keys -t term -l x
    wait_for 'status=' 40 || fail "the key did not end the wait"
    [ $(( $(now_ms) - pressed_at )) -le 3000 ] || fail "the wait went on after the key"
    screen | grep -q "$countdown" && fail "countdown shown after a key in the quiet phase"
    finished 0
    end_case
}
case_key_in_countdown() {  # closing timeout
    start_case "key pressed during the countdown"
    launch "$(log_dir '')"
    wait_for "$countdown 3" $(( $1 + 50 )) || fail "the countdown did not reach 3"
    T send-keys -t term -l y
    wait_for 'status=' 40 || fail "the key did not end the wait"
    local last
    last=$(screen | grep "$countdown" | tail -n 1 | sed -nE "s/.*$countdown ([0-5]).*\$/\1/p")
    case "$last" in 3|2) ;; *) fail "the countdown went on to '$last' after the key" ;; esac
    finished 0
    end_case
}

# A log whose accented line of what the player said ends the run with its report.
accented_report_dir() {  # a line of what the player said, without its opening quote
    log_dir "[22:00:00] @@[Guilde] Aldric : \"avant\"\n[22:00:02] @@Vous d\xeetes bonjour \xe0 tous\n"
}
check_accented_report() {
    wait_for "dans la ligne" 150 || fail "no fatal report"
    screen | grep -q '^\[22:00:02\] @@Vous dîtes bonjour à tous$' \
        || fail "offending line not shown in UTF-8: $(screen | grep '22:00:02')"
}

# Following a log: lines appended show in the status line, a key ends it
# with "suivi termine" and status 0, and the final pages do not reload.
# Leaves $dir, the followed folder. Each program's launch takes the
# folder and the program's arguments.
follow_dir() {  # a folder whose chat.log holds the sample log's first 40 lines
    dir=$(mktemp -d "$scratch/run.XXXX")
    sed -n 1,40p "$here/../../examples/chat.log" > "$dir/chat.log"
}
start_following() {  # timeout for the first read (tenths of a second)
    follow_dir
    launch "$dir" --follow
    wait_for 'appuyez sur une touche pour arreter' "$1" || fail "following did not start"
    sed -n 41,60p "$here/../../examples/chat.log" >> "$dir/chat.log"
    wait_for 'en direct : 60 lignes, pages mises a jour a ' 100 || fail "no status line for the lines appended"
}
final_pages_written() {
    wait_for '^suivi termine$' 50 || fail "no suivi termine"
    grep -lF 'http-equiv="refresh"' "$dir"/*.html | grep -q . && fail "a final page reloads: $(grep -lF 'http-equiv="refresh"' "$dir"/*.html)"
    [ -f "$dir/Resultats.html" ] || fail "no analysis page"
}
case_follow_key() {  # timeout for the first read (tenths of a second)
    start_case "following ends with a key, the input mode back"
    start_following "$1"
    during_wait
    T send-keys -t term -l k
    final_pages_written
    finished 0
    end_case
}
