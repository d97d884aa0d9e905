#!/usr/bin/env bash
# Runs the window's scaling tests (MainWindowScaling) again at 120, 144 and 192
# pixels per inch, at 192 on an 800 x 600 screen (a Wine virtual desktop) and
# with a message font larger than the design font, in a copy of the Wine
# prefix: the shared prefix keeps its settings.
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

explorer='HKCU\Software\Wine\Explorer'

# One run: DPI [serif: larger message font] [WIDTHxHEIGHT: a virtual desktop of
# that size]. Each new process reads the settings as it starts, so the server
# keeps running between the runs; a virtual desktop gets a name of its own, so
# that it is made afresh at its size.
status=0
run() {
    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    local font= screen=${3:-}
    if [ -n "${2:-}" ]; then
        wine reg add "$desktop\\WindowMetrics" /v MessageFont /t REG_BINARY /d "$serif" /f \
            >/dev/null 2>&1
        font="Liberation Serif"
    fi
    if [ -n "$screen" ]; then
        wine reg add "$explorer" /v Desktop /d "scaled-$screen" /f >/dev/null 2>&1
        wine reg add "$explorer\\Desktops" /v "scaled-$screen" /d "$screen" /f >/dev/null 2>&1
    fi
    echo "== $1 pixels per inch${font:+, message font $font}${screen:+, screen $screen}"
    env VELBROOK_TEST_DPI="$1" ${font:+VELBROOK_TEST_MESSAGE_FONT="$font"} \
        ${screen:+VELBROOK_TEST_SCREEN="$screen"} \
        "$root/scripts/wine-run" "$exe" --gtest_filter='MainWindowScaling.*' || status=1
    # The virtual desktop leaves the server its screen size: a new server for
    # the runs that follow.
    if [ -n "$screen" ]; then
        wine reg delete "$explorer" /v Desktop /f >/dev/null 2>&1
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
    fi
}

run 120
run 144
run 192
run 96 serif
run 144 serif
run 192 "" 800x600
exit $status
