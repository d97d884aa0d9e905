# Shared shell helpers for the project scripts. Source, do not run.
VELBROOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEPREFIX=${WINEPREFIX:-$VELBROOK_ROOT/build/wineprefix}

# Create the Wine prefix once; later calls return at once.
velbrook_ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
}

# Start a virtual display when there is none. Sets DISPLAY.
velbrook_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    # Xvfb picks a free display number itself and writes it to the file.
    local numfile i
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    VELBROOK_XVFB_PID=$!
    for i in $(seq 1 200); do
        if [ -s "$numfile" ]; then
            export DISPLAY=":$(tr -dc '0-9' <"$numfile")"
            rm -f "$numfile"
            return 0
        fi
        kill -0 "$VELBROOK_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$numfile"
    echo "Xvfb did not start" >&2
    return 1
}

velbrook_stop_display() {
    if [ -n "${VELBROOK_XVFB_PID:-}" ]; then
        kill "$VELBROOK_XVFB_PID" 2>/dev/null || true
        wait "$VELBROOK_XVFB_PID" 2>/dev/null || true
        unset VELBROOK_XVFB_PID
    fi
}

velbrook_build() {
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake -S "$VELBROOK_ROOT" -B "$VELBROOK_ROOT/build/win32" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$VELBROOK_ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build "$VELBROOK_ROOT/build/win32" -j "$jobs" "$@"
}
