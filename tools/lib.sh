# Shared by the build, test and run scripts: packages, builds, display, Wine.
# Source it; it expects ROOT and BUILD_ROOT to be set. Scripts that source it
# run Wine as "wine", which is the function below: the loader choose_wine
# picked.

# locales: glibc locales for running programs under other code pages;
# fonts-wqy-microhei: Cyrillic and CJK letters for the screenshots.
PACKAGES_AMD64="cmake g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 xvfb xdotool x11-utils imagemagick faketime libfaketime fonts-wine fonts-wqy-microhei icoutils zip locales"

# Wine takes a process's ANSI code page from its locale, so these give the
# code pages the tests run programs under: 1252, 1251 and 932.
LOCALES="en_US.UTF-8 ru_RU.UTF-8 ja_JP.UTF-8"

log() { echo "[wimmelpult] $*" >&2; }
# One line on what failed, then out; the caller's EXIT trap cleans up.
die() { log "error: $*"; exit 1; }

# run_quiet WHAT COMMAND...: runs COMMAND with its output held back; when it
# fails, dies with WHAT and the last line the command printed.
run_quiet() {
    local what=$1 out status=0 why
    shift
    out=$(mktemp)
    "$@" </dev/null >"$out" 2>&1 || status=$?
    why=$(grep -v '^[[:space:]]*$' "$out" | tail -n1 || true)
    rm -f "$out"
    [ "$status" = 0 ] || die "$what failed (exit $status)${why:+: $why}"
}

# What start_display and start_wine started, so that stop_* undo only that
# and are safe to call in any case.
XVFB_PID=""
WINE_STARTED=""

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

ensure_packages() {
    local missing=""
    for p in $PACKAGES_AMD64; do have_pkg "$p" || missing="$missing $p"; done
    have_pkg wine32:i386 || missing="$missing wine32:i386"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo"
    if [ -n "$missing" ]; then
        log "installing:$missing"
        export DEBIAN_FRONTEND=noninteractive
        if ! dpkg --print-foreign-architectures | grep -q i386; then
            $sudo dpkg --add-architecture i386
        fi
        # A mirror in the middle of a sync fails an index now and then: try
        # again, and let the installs tell whether what they need came.
        local try
        for try in 1 2 3; do
            $sudo apt-get update -qq && break
            log "apt-get update failed ($try of 3)"
            [ "$try" = 3 ] || sleep 20
        done
        $sudo apt-get install -y -qq $PACKAGES_AMD64 >/dev/null
        # Without it the 32-bit program is checked without running it.
        $sudo apt-get install -y -qq wine32:i386 >/dev/null ||
            log "wine32:i386 could not be installed; the 32-bit program will not run"
    fi
    ensure_locales "$sudo"
}

# ensure_locales SUDO: makes the glibc locales of LOCALES that are missing.
# Without them Wine falls back to en-US, code page 1252.
ensure_locales() {
    local name have
    have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
    for name in $LOCALES; do
        # locale -a lists en_US.UTF-8 as en_US.utf8.
        if printf '%s\n' "$have" | grep -qx "$(echo "${name%%.*}.utf8" | tr 'A-Z' 'a-z')"; then continue; fi
        log "making the locale $name"
        run_quiet "making the locale $name (localedef)" $1 localedef -i "${name%%.*}" -f UTF-8 "$name"
    done
}

# codepage_locale CP: the locale under which Wine gives a program the ANSI
# code page CP. Run one program alone under it: env LC_ALL=... wine prog.exe
codepage_locale() {
    case $1 in
    1252) echo en_US.UTF-8 ;;
    1251) echo ru_RU.UTF-8 ;;
    932) echo ja_JP.UTF-8 ;;
    *) die "no locale for code page $1" ;;
    esac
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

# Has Wine and Xvfb stopped when the script ends, by an error or a signal
# too. Call it before start_display and start_wine, so that a failed start
# leaves nothing behind either.
stop_on_exit() {
    trap 'stop_wine; stop_display' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# Starts Xvfb when there is no display; sets DISPLAY.
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    command -v Xvfb >/dev/null || die "Xvfb not found (package xvfb)"
    local fdfile xvfblog number status=0
    fdfile=$(mktemp)
    xvfblog=$(mktemp --suffix=-Xvfb.log)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >"$xvfblog" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    number=$(head -n1 "$fdfile")
    rm -f "$fdfile"
    case $number in
    '' | *[!0-9]*)
        if kill -0 "$XVFB_PID" 2>/dev/null; then
            stop_display
            die "Xvfb reported no display within 10 s; its output is in $xvfblog"
        fi
        wait "$XVFB_PID" || status=$?
        XVFB_PID=""
        die "Xvfb ended (exit $status) without a display; its output is in $xvfblog"
        ;;
    esac
    rm -f "$xvfblog"
    export DISPLAY=":$number"
    log "started Xvfb on $DISPLAY"
}

stop_display() {
    [ -n "$XVFB_PID" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
}

# Debian's wine wrapper takes the 32-bit loader whenever wine32:i386 is
# installed, and that loader cannot start where the kernel runs no 32-bit
# programs. There the 64-bit loader serves for everything, and 32-bit
# programs cannot run at all. WIMMELPULT_WINE says which: "auto" (or unset)
# tries the 32-bit loader, "wine" is the wrapper, "wine64-only" the 64-bit
# loader alone. It is exported as decided, so that tools/wine-run.sh, which
# ctest starts, follows without deciding again.
WINE32_SKIP_WHY=""
choose_wine() {
    local loader=/usr/lib/wine/wine
    case ${WIMMELPULT_WINE:-auto} in
    auto)
        if "$loader" --version >/dev/null 2>&1; then
            WIMMELPULT_WINE=wine
        elif [ -x "$loader" ]; then
            WIMMELPULT_WINE=wine64-only
            WINE32_SKIP_WHY="this host cannot execute 32-bit programs"
        else
            WIMMELPULT_WINE=wine64-only
            WINE32_SKIP_WHY="Wine's 32-bit loader is not installed (package wine32:i386)"
        fi
        ;;
    wine) ;;
    wine64-only) WINE32_SKIP_WHY=${WINE32_SKIP_WHY:-"WIMMELPULT_WINE=wine64-only asks for the 64-bit loader alone"} ;;
    *) die "WIMMELPULT_WINE is '$WIMMELPULT_WINE'; it can be auto, wine or wine64-only" ;;
    esac
    export WIMMELPULT_WINE
    if [ "$WIMMELPULT_WINE" = wine64-only ]; then
        loader=/usr/lib/wine/wine64
        WINE_CMD=$loader
        export WINELOADER=$loader
    fi
    "$loader" --version >/dev/null 2>&1 && return 0
    [ "$WIMMELPULT_WINE" = wine ] &&
        die "Wine's 32-bit loader does not start on this host ($loader --version failed); WIMMELPULT_WINE=wine64-only does without it"
    die "Wine cannot start on this host: $loader --version failed (package wine64)"
}

# Runs Wine with the loader choose_wine picked (the wrapper until then).
WINE_CMD=wine
wine() { command "$WINE_CMD" "$@"; }

# can_run_32bit WHAT: true where 32-bit programs run; otherwise says in one
# line that WHAT is not run, and why.
can_run_32bit() {
    choose_wine
    [ "$WIMMELPULT_WINE" = wine64-only ] || return 0
    log "$1 not run: $WINE32_SKIP_WHY"
    return 1
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
    choose_wine
    WINE_STARTED=1
    # The marker names the loader that made the prefix: one made by the
    # 64-bit loader alone is made again for 32-bit programs.
    local made=none
    [ -f "$WINEPREFIX/.wimmelpult-ready" ] && made=$(cat "$WINEPREFIX/.wimmelpult-ready")
    if [ "$made" = none ] || { [ "$made" = wine64-only ] && [ "$WIMMELPULT_WINE" != wine64-only ]; }; then
        log "creating Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        run_quiet "creating the Wine prefix (wineboot -i)" wine wineboot -i
        run_quiet "waiting for the wineserver" wineserver -w
        # The caption buttons need Marlett, which this Wine does not find by itself.
        local fonts=/usr/share/wine/fonts
        [ -f "$fonts/marlett.ttf" ] || die "$fonts/marlett.ttf missing (package fonts-wine)"
        run_quiet "copying $fonts/*.ttf into the prefix" \
            cp "$fonts"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
        run_quiet "setting the Wine desktop (reg add)" \
            wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
        run_quiet "setting the Wine desktop size (reg add)" \
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x700 /f
        run_quiet "waiting for the wineserver" wineserver -w
        echo "$WIMMELPULT_WINE" >"$WINEPREFIX/.wimmelpult-ready"
    fi
    # Japanese and Chinese letters, which the dialog fonts lack, come from
    # WenQuanYi Micro Hei (fonts-wqy-microhei), linked to those fonts.
    if [ ! -f "$WINEPREFIX/.wimmelpult-fontlink" ]; then
        local face
        for face in "MS Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" Tahoma; do
            run_quiet "linking a CJK font to $face (reg add)" wine reg add \
                'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
                /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f
        done
        run_quiet "waiting for the wineserver" wineserver -w
        # The DPI copies of the prefix are made again with it.
        touch "$WINEPREFIX/.wimmelpult-fontlink" "$WINEPREFIX/.wimmelpult-ready"
    fi
    # Exit status 2: a server of this prefix runs already, which serves as
    # well. (Into a file: the server stays on in the background with the
    # output it was given.)
    local out status=0
    out=$(mktemp)
    wineserver -p >"$out" 2>&1 || status=$?
    if [ "$status" != 0 ] && [ "$status" != 2 ]; then
        die "starting the wineserver (wineserver -p) failed (exit $status): $(tail -n1 "$out"; rm -f "$out")"
    fi
    rm -f "$out"
    # Start Wine's background services now, so the first test does not wait
    # for them (or, started by a test, keep ctest waiting on them).
    run_quiet "starting Wine's services (wine wineboot)" wine wineboot
}

stop_wine() {
    [ -n "$WINE_STARTED" ] || return 0
    wine_env
    wineserver -k 2>/dev/null || true
    WINE_STARTED=""
}
