#!/usr/bin/env bash
# Checks the release archives that scripts/package.sh wrote in dist/: each
# holds exactly its program and LISEZMOI.txt, flat; the zip's guide is UTF-8
# with a byte-order mark and CR LF line ends, the tarball's has LF; both
# programs print the version; and the korvanel.exe unpacked from the zip,
# run under Wine on the sample log, writes the very pages and console text
# of the korvanel unpacked from the tarball.
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
[ "$(unzip -Z1 "$zip_file" | sort | tr '\n' ' ')" = "LISEZMOI.txt korvanel.exe " ] || fail "zip entries: $(unzip -Z1 "$zip_file" | tr '\n' ' ')"
[ "$(tar -tzf "$tar_file" | sort | tr '\n' ' ')" = "LISEZMOI.txt korvanel " ] || fail "tarball entries: $(tar -tzf "$tar_file" | tr '\n' ' ')"

mkdir -p "$scratch/win" "$scratch/linux"
unzip -q "$zip_file" -d "$scratch/win"
tar -xzf "$tar_file" -C "$scratch/linux"
[ "$(head -c 3 "$scratch/win/LISEZMOI.txt" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "zip guide has no byte-order mark"
[ "$(wc -l < "$scratch/win/LISEZMOI.txt")" = "$(grep -c $'\r$' "$scratch/win/LISEZMOI.txt")" ] \
    && [ "$(tr -cd '\r' < "$scratch/win/LISEZMOI.txt" | wc -c)" = "$(wc -l < "$scratch/win/LISEZMOI.txt")" ] \
    || fail "zip guide lines do not all end with CR LF"
grep -q $'\r' "$scratch/linux/LISEZMOI.txt" && fail "tarball guide holds a CR"
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

if [ "$failures" = 0 ]; then
    echo "ok: release archives"
    exit 0
fi
exit 1
