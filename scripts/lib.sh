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
    # Debian's Wine does not find its own Marlett font, which draws the title
    # bar buttons; give the prefix a copy (also one made before this was here).
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
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

# Shows velbrook.exe on a Wine virtual desktop of the running display and saves a
# picture of that desktop: velbrook_window_picture BIN_DIR OUT.png [dropdown].
# Returns the program's exit code (1 when no picture was taken).
velbrook_window_picture() {
    local bin=$1 out=$2 mode=${3:-} work i
    work=$(mktemp -d)
    wine explorer /desktop=velbrook,800x600 "$bin/window_tool.exe" show \
        "$(winepath -w "$bin/velbrook.exe")" "$(winepath -w "$work/ready")" \
        "$(winepath -w "$work/done")" $mode >"$work/exit" 2>/dev/null &
    for i in $(seq 1 600); do
        [ -e "$work/ready" ] && break
        sleep 0.1
    done
    local status=1
    if [ -e "$work/ready" ]; then
        mkdir -p "$(dirname "$out")"
        import -window root -crop 800x600+0+0 +repage "$out" && status=0
    fi
    touch "$work/done"
    wineserver -w
    rm -rf "$work"
    return $status
}
