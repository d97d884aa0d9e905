#!/usr/bin/env bash
# Runs the window's scaling tests (MainWindowScaling) again at 120, 144 and 192
# pixels per inch and with a message font larger than the design font, in a
# copy of the Wine prefix: the shared prefix keeps its settings.
#   scaled_runs.sh UI_TESTS_EXE
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/lib.sh"
exe=$1
velbrook_ensure_prefix
prefix="$(cd "$(dirname "$exe")/.." && pwd)/scaled-wineprefix"
rm -rf "$prefix"
cp -a "$WINEPREFIX" "$prefix" || exit 1
export WINEPREFIX="$prefix"
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$prefix"' EXIT

desktop='HKCU\Control Panel\Desktop'
# The message font as Wine keeps it: a LOGFONTW of Liberation Serif, 16 pixels high.
serif=f0ffffff0000000000000000000000009001000000000001000000004c0069006200650072006100740069006f006e002000530065007200690066000000000000000000000000000000000000000000000000000000000000000000

# One run: DPI [larger message font]. Each new process reads the settings as it
# starts, so the server keeps running between the runs.
status=0
run() {
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    local font=
    if [ -n "${2:-}" ]; then
        wine reg add "$desktop\\WindowMetrics" /v MessageFont /t REG_BINARY /d "$serif" /f \
            >/dev/null 2>&1
        font="Liberation Serif"
    fi
    echo "== $1 pixels per inch${font:+, message font $font}"
    env VELBROOK_TEST_DPI="$1" ${font:+VELBROOK_TEST_MESSAGE_FONT="$font"} \
        "$root/scripts/wine-run" "$exe" --gtest_filter='MainWindowScaling.*' || status=1
}

run 120
run 144
run 192
run 96 serif
run 144 serif
exit $status
