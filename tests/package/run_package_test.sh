#!/usr/bin/env bash
# Checks the release archives that scripts/package.sh wrote in dist/: each
# holds exactly its program and LISEZMOI.txt, flat, and the zip also
# korvanel-direct.bat; the zip's guide is UTF-8 with a byte-order mark and
# CR LF line ends, the tarball's has LF, the batch file is ASCII with CR LF;
# both programs print the version; the korvanel.exe unpacked from the zip,
# run under Wine on the sample log, writes the very pages and console text
# of the korvanel unpacked from the tarball; and the batch file, started
# from another folder with a key waiting, follows the chat.log beside it, or
# a log dropped onto it, and writes those pages too, or with a wrong option
# pauses and ends with 2.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(korvanel VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
zip_file=$root/dist/korvanel-$version-windows-x86_64.zip
tar_file=$root/dist/korvanel-$version-linux-x86_64.tar.gz
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
[ -d "$WINEPREFIX" ] || LC_ALL=C.UTF-8 wineboot -i >/dev/null 2>&1

[ -f "$zip_file" ] || { echo "FAIL: no $zip_file"; exit 1; }
[ -f "$tar_file" ] || { echo "FAIL: no $tar_file"; exit 1; }
[ "$(unzip -Z1 "$zip_file" | sort | tr '\n' ' ')" = "LISEZMOI.txt korvanel-direct.bat korvanel.exe " ] || fail "zip entries: $(unzip -Z1 "$zip_file" | tr '\n' ' ')"
[ "$(tar -tzf "$tar_file" | sort | tr '\n' ' ')" = "LISEZMOI.txt korvanel " ] || fail "tarball entries: $(tar -tzf "$tar_file" | tr '\n' ' ')"

mkdir -p "$scratch/win" "$scratch/linux"
unzip -q "$zip_file" -d "$scratch/win"
tar -xzf "$tar_file" -C "$scratch/linux"
[ "$(head -c 3 "$scratch/win/LISEZMOI.txt" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "zip guide has no byte-order mark"
[ "$(wc -l < "$scratch/win/LISEZMOI.txt")" = "$(grep -c $'\r$' "$scratch/win/LISEZMOI.txt")" ] \
    && [ "$(tr -cd '\r' < "$scratch/win/LISEZMOI.txt" | wc -c)" = "$(wc -l < "$scratch/win/LISEZMOI.txt")" ] \
    || fail "zip guide lines do not all end with CR LF"
grep -q $'\r' "$scratch/linux/LISEZMOI.txt" && fail "tarball guide holds a CR"
bat=$scratch/win/korvanel-direct.bat
[ "$(tr -cd '\r' < "$bat" | wc -c)" = "$(wc -l < "$bat")" ] && [ "$(grep -c $'\r$' "$bat")" = "$(wc -l < "$bat")" ] \
    || fail "batch file lines do not all end with CR LF"
LC_ALL=C grep -q '[^ -~'$'\r'']' "$bat" && fail "batch file is not plain ASCII"
iconv -f UTF-8 -t UTF-8 "$scratch/linux/LISEZMOI.txt" >/dev/null 2>&1 || fail "tarball guide is not UTF-8"
[ -x "$scratch/linux/korvanel" ] || fail "korvanel is not executable"

[ "$("$scratch/linux/korvanel" --version)" = "korvanel $version" ] || fail "linux --version"
[ "$(LC_ALL=C.UTF-8 wine "$scratch/win/korvanel.exe" --version 2>/dev/null)" = "korvanel $version" ] || fail "windows --version"

# The same sample log on both systems gives the same bytes.
for sys in win linux; do
    mkdir -p "$scratch/run-$sys"
    cp "$root/examples/chat.log" "$scratch/run-$sys/chat.log"
done
(cd "$scratch/run-linux" && LC_ALL=C "$scratch/linux/korvanel" < /dev/null > ../console-linux.txt 2>&1) || fail "linux run ended with $?"
(cd "$scratch/run-win" && LC_ALL=C.UTF-8 wine "$scratch/win/korvanel.exe" < /dev/null > ../console-win.txt 2> ../stderr-win.txt) \
    || fail "windows run ended with $?"
[ -s "$scratch/stderr-win.txt" ] && fail "windows run wrote on standard error: $(head -c 500 "$scratch/stderr-win.txt")"
mask() { sed -E 's/Temps de traitement: [0-9]+,[0-9]s/Temps de traitement: #,#s/' "$1"; }
cmp -s <(mask "$scratch/console-linux.txt") <(mask "$scratch/console-win.txt") || fail "console texts differ"
diff -r "$scratch/run-linux" "$scratch/run-win" >/dev/null || fail "pages differ: $(diff -rq "$scratch/run-linux" "$scratch/run-win" | head -5)"
[ "$(find "$scratch/run-win" -name '*.html' | wc -l)" -ge 2 ] || fail "the windows run wrote no pages"

# The batch file, started from elsewhere: standard input from /dev/null is
# a key waiting, so following ends at once with the pages of a normal run.
cp "$root/examples/chat.log" "$scratch/win/chat.log"
mkdir -p "$scratch/elsewhere"
windows_bat="Z:${bat//\//\\}"
(cd "$scratch/elsewhere" && LC_ALL=C.UTF-8 wine cmd /c "$windows_bat" < /dev/null > ../console-bat.txt 2>&1) \
    || fail "the batch file ended with $?"
grep -q 'suivi termine' "$scratch/console-bat.txt" || fail "the batch file did not follow: $(tail -c 300 "$scratch/console-bat.txt")"
for page in "$scratch/run-win"/*.html; do
    cmp -s "$page" "$scratch/win/${page##*/}" || fail "the batch file's ${page##*/} differs from a normal run"
done
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the batch file wrote into the folder it was started from"
# A log dropped onto it, in a folder with a blank: its pages go beside it.
mkdir -p "$scratch/mes logs"
cp "$root/examples/chat.log" "$scratch/mes logs/chat.log"
dropped="Z:${scratch//\//\\}\\mes logs\\chat.log"
(cd "$scratch/elsewhere" && LC_ALL=C.UTF-8 wine cmd /c "$windows_bat" "$dropped" < /dev/null > /dev/null 2>&1) \
    || fail "the batch file on a dropped log ended with $?"
cmp -s "$scratch/run-win/Resultats.html" "$scratch/mes logs/Resultats.html" || fail "the dropped log's pages differ from a normal run"
(cd "$scratch/elsewhere" && LC_ALL=C.UTF-8 wine cmd /c "$windows_bat" --bogus < /dev/null > ../console-bat.txt 2>&1)
status=$?
[ "$status" = 2 ] || fail "the batch file with a wrong option ended with $status"
grep -qi 'press any key\|appuyez sur une touche pour continuer' "$scratch/console-bat.txt" \
    || fail "the batch file did not pause after a wrong option: $(tail -c 300 "$scratch/console-bat.txt")"

if [ "$failures" = 0 ]; then
    echo "ok: release archives"
    exit 0
fi
exit 1
