#!/usr/bin/env bash
# Runs the real binary on one end-to-end case and compares everything it
# leaves behind, byte for byte, with the case's expected files.
#
# A case folder holds:
#   chat.log      the log, as UTF-8 text (converted to ISO-8859-1 for the run)
#   chat.log.sh   or a script printing the log's raw bytes
#   setup.sh      optional, run in the working directory before the program
#   expected/     every file the run must leave (UTF-8 text, converted to
#                 ISO-8859-1 before comparing; file names as on disk),
#                 console.txt (the console text, processing time written
#                 "#,#s") and status (the exit status, 0 when absent)
#
#   tests/e2e/run_case.sh CASE_DIR COMMAND [WORDS...]
# runs COMMAND and its words (for instance "wine korvanel.exe") in the locale
# ${KORVANEL_E2E_LC_ALL:-C}.
set -u
case_dir=$(realpath "$1")
shift
command=("$@")
case ${command[0]} in */*) command[0]=$(realpath "${command[0]}") ;; esac
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
run="$scratch/run"
mkdir -p "$run" "$scratch/expected"

fail() { echo "FAIL: $*"; exit 1; }

if [ -f "$case_dir/chat.log.sh" ]; then
    bash "$case_dir/chat.log.sh" > "$run/chat.log" || fail "chat.log.sh failed"
elif [ -f "$case_dir/chat.log" ]; then
    iconv -f UTF-8 -t ISO-8859-1 "$case_dir/chat.log" > "$run/chat.log" || fail "chat.log is not Latin-1 text"
fi
if [ -f "$case_dir/setup.sh" ]; then
    (cd "$run" && bash "$case_dir/setup.sh") || fail "setup.sh failed"
fi

(cd "$run" && LC_ALL=${KORVANEL_E2E_LC_ALL:-C} timeout 60 "${command[@]}" < /dev/null > "$scratch/console.raw" 2> "$scratch/stderr.txt")
status=$?

ok=1
if [ -s "$scratch/stderr.txt" ]; then
    echo "FAIL: the program wrote on standard error:"; head -c 4000 "$scratch/stderr.txt"; ok=0
fi
expected_status=0
[ -f "$case_dir/expected/status" ] && expected_status=$(tr -d ' \n' < "$case_dir/expected/status")
[ "$status" = "$expected_status" ] || { echo "FAIL: exit status $status, expected $expected_status"; ok=0; }

sed -E 's/Temps de traitement: [0-9]+,[0-9]s/Temps de traitement: #,#s/' "$scratch/console.raw" > "$scratch/console.txt"

compare() {  # expected (UTF-8 text), actual (ISO-8859-1), label
    iconv -f UTF-8 -t ISO-8859-1 "$1" > "$scratch/expected/current" || { echo "FAIL: $3: expected file is not Latin-1 text"; ok=0; return; }
    if ! cmp -s "$scratch/expected/current" "$2"; then
        echo "FAIL: $3 differs (expected, then actual, shown as UTF-8):"
        diff <(iconv -f ISO-8859-1 -t UTF-8 "$scratch/expected/current" | fold -w 200) \
             <(iconv -f ISO-8859-1 -t UTF-8 "$2" | fold -w 200) | head -n 40
        ok=0
    fi
}

[ -f "$case_dir/expected/console.txt" ] || fail "no expected/console.txt"
compare "$case_dir/expected/console.txt" "$scratch/console.txt" "console"

ignored=""
[ -f "$case_dir/ignore" ] && ignored=$(cat "$case_dir/ignore")
while IFS= read -r -d '' file; do
    name=${file#"$run"/}
    [ "$name" = "chat.log" ] && continue
    case " $ignored " in *" $name "*) continue ;; esac
    if [ -f "$case_dir/expected/$name" ]; then
        compare "$case_dir/expected/$name" "$file" "$name"
    else
        echo "FAIL: unexpected file $name"; ok=0
    fi
done < <(find "$run" -type f -print0)
shopt -s dotglob nullglob  # page names may begin with a dot (".html")
for file in "$case_dir"/expected/*; do
    name=$(basename "$file")
    case "$name" in console.txt|status) continue ;; esac
    [ -f "$run/$name" ] || { echo "FAIL: missing file $name"; ok=0; }
done

[ "$ok" = 1 ] || exit 1
echo "ok"
