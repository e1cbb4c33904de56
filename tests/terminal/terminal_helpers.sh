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

# A log whose eleventh crafting skill ends the run with an accented report.
accented_report_dir() {
    local skills="" skill
    for skill in 'forge d'"'"'armes' 'couture' 'empennage' 'menuiserie' 'tannerie' 'alchimie' 'gemmes' 'arcs' \
                 'boucliers' 'armures'; do
        skills="${skills}[22:00:01] Vous devenez plus dou\xe9 en $skill!\n"
    done
    log_dir "[22:00:00] Vous commencez le travail sur arc long.\n${skills}[22:00:02] Vous devenez plus dou\xe9 en \xe9b\xe9nisterie!\n"
}
check_accented_report() {
    wait_for "dans la ligne" 150 || fail "no fatal report"
    screen | grep -q "^trop d'artisanats différents\$" || fail "message not shown in UTF-8: $(screen | grep "trop d'")"
    screen | grep -q '^\[22:00:02\] Vous devenez plus doué en ébénisterie!$' \
        || fail "offending line not shown in UTF-8: $(screen | grep '22:00:02')"
}
