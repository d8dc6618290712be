# Shared by the build, test and run scripts: packages, builds, display, Wine.
# Source it; it expects ROOT and BUILD_ROOT to be set.

PACKAGES_AMD64="cmake g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 xvfb xdotool x11-utils imagemagick faketime libfaketime fonts-wine icoutils zip"

log() { echo "[wimmelpult] $*" >&2; }

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

ensure_packages() {
    local missing=""
    for p in $PACKAGES_AMD64; do have_pkg "$p" || missing="$missing $p"; done
    have_pkg wine32:i386 || missing="$missing wine32:i386"
    [ -z "$missing" ] && return 0
    log "installing:$missing"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -q i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq $PACKAGES_AMD64 >/dev/null
    $sudo apt-get install -y -qq wine32:i386 >/dev/null
}

# build_arch ARCH [extra cmake args...]: configures and builds BUILD_ROOT/ARCH
# (only BUILD_TARGET, when that is set).
build_arch() {
    local arch=$1; shift
    cmake -S "$ROOT" -B "$BUILD_ROOT/$arch" \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$BUILD_ROOT/$arch" -j"$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}

# Starts Xvfb when there is no display; sets DISPLAY.
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
    log "started Xvfb on $DISPLAY"
}

stop_display() {
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}

# Every Wine process of the prefix runs in one virtual desktop named "shell",
# which has a taskbar with a notification area like a real desktop.
wine_env() {
    export WINEPREFIX="$BUILD_ROOT/wineprefix"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export LANG=en_US.UTF-8        # ANSI code page 1252
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

start_wine() {
    wine_env
    if [ ! -f "$WINEPREFIX/.wimmelpult-ready" ]; then
        log "creating Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        # The caption buttons need Marlett, which this Wine does not find by itself.
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x700 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.wimmelpult-ready"
    fi
    wineserver -p 2>/dev/null || true   # one may run already
    # Start Wine's background services now, so the first test does not wait
    # for them (or, started by a test, keep ctest waiting on them).
    wine wineboot </dev/null >/dev/null 2>&1 || true
}

stop_wine() {
    wine_env
    wineserver -k 2>/dev/null || true
}
