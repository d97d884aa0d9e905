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
    if [ -n "${DISPLAY:-}" ] && ! command -v xdpyinfo >/dev/null 2>&1 && [ -z "${VELBROOK_XVFB_PID:-}" ]; then
        return 0
    fi
    local n
    for n in 91 92 93 94 95 96 97 98 99; do
        if [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            VELBROOK_XVFB_PID=$!
            export DISPLAY=":$n"
            local i
            for i in $(seq 1 100); do
                [ -e "/tmp/.X11-unix/X$n" ] && return 0
                sleep 0.1
            done
            echo "Xvfb did not start on :$n" >&2
            return 1
        fi
    done
    echo "No free display number for Xvfb" >&2
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
