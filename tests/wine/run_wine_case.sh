#!/usr/bin/env bash
# Runs one end-to-end case with the Windows program under Wine. When it
# fails, it is run once more with Wine's error messages on, and their text
# is shown, so that a failure that does not come back still tells its cause;
# the case fails either way.
#   tests/wine/run_wine_case.sh CASE_DIR WINE KORVANEL_EXE   (WINEPREFIX set)
set -u
here=$(cd "$(dirname "$0")" && pwd)
case_dir=$1
shift
bash "$here/../e2e/run_case.sh" "$case_dir" "$@" && exit 0

echo "== the case failed; run once more with WINEDEBUG=err+all"
KORVANEL_WINE_ERRORS=$(mktemp)
export KORVANEL_WINE_ERRORS
trap 'rm -f "$KORVANEL_WINE_ERRORS"' EXIT
# The standard error of that run is kept aside and handed on, so the case
# sees it as before.
WINEDEBUG=err+all bash "$here/../e2e/run_case.sh" "$case_dir" \
    sh -c '"$@" 2> "$KORVANEL_WINE_ERRORS"; status=$?; cat "$KORVANEL_WINE_ERRORS" >&2; exit $status' sh "$@"
echo "== standard error of that run:"
cat "$KORVANEL_WINE_ERRORS"
exit 1
