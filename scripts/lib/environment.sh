# Shared set-up for the README's commands: Debian packages, the private Wine prefix, and an
# Xvfb display with a persistent wineserver for the Windows programs and tests.
# Sourced, not run. Everything it starts it stops again by process id (see stop_session).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD="$ROOT/build"

# Packages the build and the tests need on a fresh Debian 12 machine.
REQUIRED_PACKAGES=(cmake ninja-build g++ googletest libgtest-dev g++-mingw-w64-x86-64-posix
                   wine wine64 xvfb xauth python3)

log() { printf '== %s\n' "$*"; }

# Installs those of the named Debian packages that are missing; quiet when all are there.
ensure_tools() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

ensure_packages() {
    ensure_tools "${REQUIRED_PACKAGES[@]}"
}

# Debian's NSIS (makensis), for the Windows installer; only the scripts that build it call this.
ensure_nsis() {
    ensure_tools nsis
}

# The fuzz build's compiler and libFuzzer (only a recommendation of clang's, so named here).
ensure_fuzz_tools() {
    ensure_tools cmake ninja-build googletest libgtest-dev clang libclang-rt-14-dev
}

# BRENIK_WINEPREFIX lets a second developer session on the same machine keep its own prefix
# and wineserver.
export WINEPREFIX="${BRENIK_WINEPREFIX:-$BUILD/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

XVFB_PID=""
SERVER_STARTED=""

start_xvfb() {
    mkdir -p "$BUILD"
    local fdfile="$BUILD/.xvfb-display"
    rm -f "$fdfile"
    # -displayfd picks a free display and writes its number once the server is ready. A common
    # desktop screen: the settings program's window at 150 % (144 DPI) needs about 1190 x 760.
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb did not start" >&2; return 1; }
        sleep 0.1
    done
    [ -s "$fdfile" ] || { echo "Xvfb gave no display" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$fdfile")"
    log "Xvfb $DISPLAY (pid $XVFB_PID)"
}

# The prefix is made once per build tree and kept; it must first start with a display, or
# later GUI runs in it fail.
prepare_wine_prefix() {
    if [ ! -f "$WINEPREFIX/.brenik-ready" ]; then
        log "creating the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wine wineboot --init >/dev/null 2>&1
        wineserver -w
        # A crashing test must fail, not wait on Wine's crash dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.brenik-ready"
    fi
}

# One persistent wineserver for all the Windows processes of this run, warmed once with its
# output away from any pipe a caller waits on (Wine's services inherit it).
start_wineserver() {
    wineserver -p
    SERVER_STARTED=1
    wine wineboot >/dev/null 2>&1 </dev/null
}

stop_session() {
    if [ -n "$SERVER_STARTED" ]; then
        wineserver -k >/dev/null 2>&1 || true
        SERVER_STARTED=""
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}

start_session() {
    trap stop_session EXIT
    trap 'exit 130' INT TERM
    start_xvfb
    prepare_wine_prefix
    start_wineserver
}

configure_and_build() {
    local preset=$1
    log "build: $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
}
