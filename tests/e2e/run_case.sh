#!/usr/bin/env bash
# Runs the program on one end-to-end case and compares everything it
# leaves behind, byte for byte, with the case's expected files.
#
#   run_case.sh CASE_DIR COMMAND [WORDS...]
#
# COMMAND and its WORDS start the program from a scratch working directory,
# so give the program by an absolute path (/abs/build/release/korvanel, or
# wine /abs/build/windows/korvanel.exe). The program runs with LC_ALL set
# to $KORVANEL_E2E_LC_ALL (C when unset).
#
# A case folder holds:
#   chat.log      the log, as UTF-8 text (converted to ISO-8859-1 for the run)
#   chat.log.sh   or a script printing the log's raw bytes
#   setup.sh      optional, run in the working directory before the program
#   args          optional, the program's arguments, one a line (UTF-8, as
#                 the program gets them; an empty line is an empty argument)
#   stdin         optional, the standard input (raw bytes); /dev/null else
#   ignore        optional, files the run may leave that are not compared
#   expected/     every file the run must leave, in nested folders too
#                 (UTF-8 text, converted to ISO-8859-1 before comparing, except
#                 graphiques.json, compared as UTF-8 bytes; file names as on
#                 disk); graphiques.html is compared only where the case
#                 holds one; and at its top console.txt (the console
#                 text, processing time written "#,#s"), status (the exit
#                 status, 0 when absent) and stderr.txt (the standard error;
#                 it must be empty when absent)
# A file that was there before the run and is not expected must still be
# there afterwards, unchanged (the log is never written over).
set -u
[ $# -ge 2 ] || { echo "usage: run_case.sh CASE_DIR COMMAND [WORDS...]"; exit 2; }
case_dir=$(realpath "$1")
shift
command=("$@")
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
cp -a "$run" "$scratch/before"

args=()
[ -f "$case_dir/args" ] && mapfile -t args < "$case_dir/args"
input=/dev/null
[ -f "$case_dir/stdin" ] && input="$case_dir/stdin"

(cd "$run" && LC_ALL="${KORVANEL_E2E_LC_ALL:-C}" timeout 60 "${command[@]}" ${args[@]+"${args[@]}"} \
    < "$input" > "$scratch/console.raw" 2> "$scratch/stderr.raw")
status=$?

ok=1
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
if [ -f "$case_dir/expected/stderr.txt" ]; then
    compare "$case_dir/expected/stderr.txt" "$scratch/stderr.raw" "standard error"
elif [ -s "$scratch/stderr.raw" ]; then
    echo "FAIL: the program wrote on standard error:"; head -c 4000 "$scratch/stderr.raw"; ok=0
fi

# The expected files, relative to expected/, without the console, status
# and standard error at its top.
expected_files() {
    (cd "$case_dir/expected" && find . -type f -printf '%P\0') | while IFS= read -r -d '' name; do
        case "$name" in console.txt|status|stderr.txt) continue ;; esac
        printf '%s\0' "$name"
    done
}

ignored=""
[ -f "$case_dir/ignore" ] && ignored=$(cat "$case_dir/ignore")
while IFS= read -r -d '' name; do
    case " $ignored " in *" $name "*) continue ;; esac
    case "$name" in console.txt|status|stderr.txt) echo "FAIL: unexpected file $name"; ok=0; continue ;; esac
    if [ -f "$case_dir/expected/$name" ]; then
        case "$name" in
            graphiques.json|*/graphiques.json)
                cmp -s "$case_dir/expected/$name" "$run/$name" ||
                    { echo "FAIL: $name differs:"; diff <(fold -w 200 "$case_dir/expected/$name") \
                          <(fold -w 200 "$run/$name") | head -n 40; ok=0; } ;;
            *) compare "$case_dir/expected/$name" "$run/$name" "$name" ;;
        esac
    elif [ -f "$scratch/before/$name" ]; then
        cmp -s "$scratch/before/$name" "$run/$name" || { echo "FAIL: $name was there before the run and changed"; ok=0; }
    else
        case "$name" in
            graphiques.html|*/graphiques.html) ;;  # the charts are checked where a case expects them
            *) echo "FAIL: unexpected file $name"; ok=0 ;;
        esac
    fi
done < <(cd "$run" && find . -type f -printf '%P\0')
while IFS= read -r -d '' name; do
    [ -f "$run/$name" ] || { echo "FAIL: missing file $name"; ok=0; }
done < <(expected_files; cd "$scratch/before" && find . -type f -printf '%P\0')

[ "$ok" = 1 ] || exit 1
echo "ok"
