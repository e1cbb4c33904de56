#!/usr/bin/env bash
# Runs one end-to-end case with the Windows program under Wine. Wine's own
# error messages are kept aside from the program's standard error (which
# the case compares) and shown when the case fails; a failed case is then
# run once more with Wine's error messages in its standard error, shown
# too. So a failure that does not come back still tells its cause; the case
# fails either way.
#   tests/wine/run_wine_case.sh CASE_DIR WINE KORVANEL_EXE   (WINEPREFIX set)
set -u
here=$(cd "$(dirname "$0")" && pwd)
case_dir=$1
shift
KORVANEL_WINE_ERRORS=$(mktemp)
export KORVANEL_WINE_ERRORS
trap 'rm -f "$KORVANEL_WINE_ERRORS" "$KORVANEL_WINE_ERRORS.all"' EXIT

# Wine writes its messages as "0024:err:channel:function text".
WINEDEBUG=-all,err+all bash "$here/../e2e/run_case.sh" "$case_dir" \
    sh -c '"$@" 2> "$KORVANEL_WINE_ERRORS.all"; status=$?
           grep -E "^[0-9a-f]{4}:(err|fixme|warn|trace):" "$KORVANEL_WINE_ERRORS.all" > "$KORVANEL_WINE_ERRORS"
           grep -vE "^[0-9a-f]{4}:(err|fixme|warn|trace):" "$KORVANEL_WINE_ERRORS.all" >&2
           exit $status' sh "$@" && exit 0
echo "== Wine's error messages during that run:"
cat "$KORVANEL_WINE_ERRORS"

echo "== the case failed; run once more with WINEDEBUG=err+all"
# The standard error of that run is kept aside and handed on, so the case
# sees it as before.
WINEDEBUG=err+all bash "$here/../e2e/run_case.sh" "$case_dir" \
    sh -c '"$@" 2> "$KORVANEL_WINE_ERRORS"; status=$?; cat "$KORVANEL_WINE_ERRORS" >&2; exit $status' sh "$@"
echo "== standard error of that run:"
cat "$KORVANEL_WINE_ERRORS"
exit 1
