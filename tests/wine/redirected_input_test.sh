#!/usr/bin/env bash
# The exit wait of the Windows program when its standard input is a pipe
# with nothing left to read and no writer: the run never waits. (Under Wine
# a pipe from the shell cannot be peeked at, so it always counts as a key
# waiting; an open empty pipe that keeps the wait going needs a Windows pipe.)
#   tests/wine/redirected_input_test.sh WINE KORVANEL_EXE   (WINEPREFIX set)
set -u
wine=$1
exe=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" && : > chat.log
now_ms() { date +%s%3N; }

started=$(now_ms)
true | LC_ALL=C timeout 20 "$wine" "$exe" > console.txt
status=$?
elapsed=$(( $(now_ms) - started ))
[ "$status" = 0 ] || { echo "FAIL: exit status $status"; exit 1; }
[ "$elapsed" -lt 3000 ] || { echo "FAIL: the program waited ${elapsed} ms"; exit 1; }
grep -q 'appuyez sur une touche pour quitter$' console.txt || { echo "FAIL: no closing message"; exit 1; }
echo ok
