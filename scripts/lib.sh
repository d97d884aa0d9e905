# Shared shell helpers for the project scripts. Source, do not run.
VELBROOK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEPREFIX=${WINEPREFIX:-$VELBROOK_ROOT/build/wineprefix}

# A static 32-bit x86 Linux program that only exits with code 0 (232 bytes).
VELBROOK_PROBE32='f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAABwAAAAAAAAADQAIAABACgAAwACAAEAAABUAAAAVIAECFSABAgJAAAACQAAAAcAAAABAAAAuAEAAAAx282AAC5zaHN0cnRhYgAudGV4dAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAALAAAAAQAAAAcAAABUgAQIVAAAAAkAAAAAAAAAAAAAAAEAAAAAAAAAAQAAAAMAAAAAAAAAAAAAAF0AAAARAAAAAAAAAAAAAAABAAAAAAAAAA=='

# True when this machine runs 32-bit x86 programs. Some kernels have IA32
# emulation switched off; then no 32-bit Wine runs at all, and the x86_64
# build takes the i686 build's place wherever a program runs. Asked once: the
# answer is kept in VELBROOK_RUNS_32BIT (yes or no), which the scripts started
# from here inherit and which may be set beforehand to force either path.
velbrook_runs_32bit() {
    if [ -z "${VELBROOK_RUNS_32BIT:-}" ]; then
        local probe="$VELBROOK_ROOT/build/probe32"
        mkdir -p "$VELBROOK_ROOT/build"
        echo "$VELBROOK_PROBE32" | base64 -d >"$probe" && chmod +x "$probe"
        if "$probe" >/dev/null 2>&1; then
            VELBROOK_RUNS_32BIT=yes
        else
            VELBROOK_RUNS_32BIT=no
        fi
        rm -f "$probe"
        export VELBROOK_RUNS_32BIT
    fi
    [ "$VELBROOK_RUNS_32BIT" = yes ]
}

# The Windows build whose programs run here: win32 (the product) or win64.
velbrook_run_arch() {
    if velbrook_runs_32bit; then echo win32; else echo win64; fi
}

# One line for the scripts that run a program of the x86_64 build instead.
velbrook_why_win64="this machine cannot run 32-bit programs (its kernel has IA32 emulation switched off)"

velbrook_wine64() {
    command -v wine64 || echo /usr/lib/wine/wine64
}

# Create the Wine prefix once; later calls return at once. It is a 64-bit
# prefix, which runs both builds where 32-bit programs run at all.
velbrook_ensure_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        if velbrook_runs_32bit; then
            wineboot -i >/dev/null 2>&1 || true
        else
            WINEARCH=win64 "$(velbrook_wine64)" wineboot -i >/dev/null 2>&1 || true
        fi
        wineserver -w
    fi
    # Debian's Wine does not find its own Marlett font, which draws the title
    # bar buttons; give the prefix a copy (also one made before this was here).
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    velbrook_unmanaged_windows
}

# Wine hands top-level windows to the X window manager and, each time one is
# hidden or destroyed, waits up to 2 s for the manager to confirm. The virtual
# displays here have no window manager, so every closed window cost those 2 s.
# Wine draws and moves its windows itself when they are not managed.
velbrook_unmanaged_windows() {
    local key='HKCU\Software\Wine\X11 Driver'
    # user.reg may lag behind the server by a few seconds; asking again is harmless.
    if ! awk '/^\[Software\\\\Wine\\\\X11 Driver\]/ { in_key = 1; next }
              /^\[/ { in_key = 0 }
              in_key && /^"Managed"="N"/ { found = 1 }
              END { exit !found }' "$WINEPREFIX/user.reg" 2>/dev/null; then
        if velbrook_runs_32bit; then
            wine reg add "$key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        else
            "$(velbrook_wine64)" reg add "$key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        fi
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

# Configures and builds one Windows build: velbrook_build ARCH [cmake --build args].
# ARCH is win32 (i686, the product) or win64 (x86_64); the build is build/ARCH.
velbrook_build() {
    local arch=$1 jobs toolchain
    shift
    case "$arch" in
        win32) toolchain=mingw-i686.cmake ;;
        win64) toolchain=mingw-x86_64.cmake ;;
        *) echo "velbrook_build: unknown build $arch" >&2; return 1 ;;
    esac
    jobs=$(nproc 2>/dev/null || echo 2)
    cmake -S "$VELBROOK_ROOT" -B "$VELBROOK_ROOT/build/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$VELBROOK_ROOT/cmake/$toolchain" >/dev/null || return 1
    cmake --build "$VELBROOK_ROOT/build/$arch" -j "$jobs" "$@"
}

# Shows velbrook.exe on a Wine virtual desktop of the running display and saves a
# picture of that desktop:
#   velbrook_window_picture BIN_DIR OUT.png [dropdown|add|delete|""] [WIDTHxHEIGHT]
# The desktop is 800x600 unless given. Returns the program's exit code (1 when
# no picture was taken).
velbrook_window_picture() {
    local bin=$1 out=$2 mode=${3:-} size=${4:-800x600} work i
    work=$(mktemp -d)
    wine explorer /desktop=velbrook,"$size" "$bin/window_tool.exe" show \
        "$(winepath -w "$bin/velbrook.exe")" "$(winepath -w "$work/ready")" \
        "$(winepath -w "$work/done")" $mode >"$work/exit" 2>/dev/null &
    for i in $(seq 1 600); do
        [ -e "$work/ready" ] && break
        sleep 0.1
    done
    local status=1
    if [ -e "$work/ready" ]; then
        mkdir -p "$(dirname "$out")"
        import -window root -crop "$size+0+0" +repage "$out" && status=0
    fi
    touch "$work/done"
    wineserver -w
    rm -rf "$work"
    return $status
}

# Builds the Windows Installer package of a staged release (velbrook.exe, How to
# use.txt, sample.ini, LICENSE) with msitools' wixl:
#   velbrook_msi STAGE win32|win64 VERSION OUT.msi
# The product code follows from the architecture and the first three fields of
# the version, the ones Windows Installer compares, so that the same release
# always gives the same one.
velbrook_msi() {
    local stage=$1 arch=$2 version=$3 out=$4 wixarch product
    case "$arch" in
        win32) wixarch=x86 ;;
        win64) wixarch=x64 ;;
        *) echo "velbrook_msi: unknown architecture $arch" >&2; return 1 ;;
    esac
    product=$(python3 -c "import uuid, sys; print(uuid.uuid5(uuid.NAMESPACE_URL, 'velbrook/' + sys.argv[1] + '/' + '.'.join(sys.argv[2].split('.')[:3])))" "$arch" "$version") || return 1
    local source=${VELBROOK_MSI_SOURCE:-$VELBROOK_ROOT}
    cp "$source/packaging/velbrook.wxs" "$source/res/velbrook.ico" "$stage/" || return 1
    # wixl takes the files' names relative to the source it reads.
    (cd "$stage" && wixl -a "$wixarch" -D Arch="$wixarch" -D Version="$version" \
        -D ProductCode="$product" -D Stage=. -D Res=. -o "$out" velbrook.wxs) || return 1
    # The other architecture's package of the same version is replaced too:
    # the major upgrade's row includes its highest version (VersionMaxInclusive).
    (cd "$stage" && msiinfo export "$out" Upgrade |
        awk -F'\t' 'BEGIN { OFS = "\t" } { sub(/\r$/, "") }
            NR > 3 && $7 == "WIX_UPGRADE_DETECTED" { $5 = $5 + 512 } { printf "%s\r\n", $0 }' \
            >Upgrade.idt && msibuild "$out" -i Upgrade.idt && rm Upgrade.idt) || return 1
    rm -f "$stage/velbrook.wxs" "$stage/velbrook.ico"
}
