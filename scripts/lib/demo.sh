# shellcheck shell=bash
# Shared by the main job and its demos (scripts/demo/*.sh): the tools they drive under Wine,
# the names the programs find each other by, pictures, the keyboard's trace, the session's
# monitor and keyboard, and what to undo on the way out. Sourced, not run.
#
# demo_init DIST TOOLS sets DIST and TOOLS (absolute) and sources the program names the build
# generates from shared/contracts/program_windows.h (kTitleMonitor, kTitleOsd, kProgramOsd,
# kOsdSettingsSection, ...), so no script writes a title of its own. vkbd talks to the
# session's virtual keyboard (the default pipe) unless a demo names its own in KEYBOARD_PIPE.

DEMO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
PROGRAM_NAMES="$DEMO_ROOT/build/windows/packaging/installer/program_names.sh"
KEYBOARD_PIPE=""

demo_init() {  # DIST TOOLS
    DIST=$(cd "$1" && pwd)
    TOOLS=$(cd "$2" && pwd)
    if [ ! -f "$PROGRAM_NAMES" ]; then
        echo "$PROGRAM_NAMES is missing: build the windows preset first" >&2
        exit 1
    fi
    # shellcheck source=/dev/null
    source "$PROGRAM_NAMES"
}

# ---- What to undo when the script exits: the steps run last registered first.

DEMO_EXIT_STEPS=()
at_exit() {  # COMMAND...
    DEMO_EXIT_STEPS+=("$*")
    trap run_exit_steps EXIT
}
run_exit_steps() {
    local i
    for ((i = ${#DEMO_EXIT_STEPS[@]} - 1; i >= 0; i--)); do
        eval "${DEMO_EXIT_STEPS[i]}" || true
    done
}

# ---- The tools, under Wine.

vkbd() { wine "$TOOLS/vkbd.exe" ${KEYBOARD_PIPE:+--pipe "$KEYBOARD_PIPE"} "$@" </dev/null; }
desktop() { wine "$TOOLS/desktop-tool.exe" "$@" </dev/null; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
say() { printf '\n-- %s\n' "$*"; }

# ---- Pictures: BMP from desktop-tool, and PNG beside them when python3-pil is there.

shot() {  # NAME [WINDOW]: a picture of the screen, or of one window, as $SHOTS/NAME.bmp
    desktop shot "$(winpath "$SHOTS/$1.bmp")" ${2:+"$2"} >/dev/null 2>&1 || echo "   (no picture: $1)"
}
pictures_as_png() {  # FOLDER
    local pictures=("$1"/*.bmp)
    [ -e "${pictures[0]}" ] || return 0
    /usr/bin/python3 -c 'import PIL' 2>/dev/null || return 0
    /usr/bin/python3 -c '
import sys
from PIL import Image
for bmp in sys.argv[1:]:
    Image.open(bmp).save(bmp[:-4] + ".png")' "${pictures[@]}"
}

# ---- The keyboard's trace: "<seconds>.<microseconds> <decoded report>" lines, each followed
# by one of the report's bytes (which starts with a space).

keyboard_trace() { vkbd trace "$(winpath "$1")" >/dev/null; }  # FILE: the trace so far, into FILE
# Whether a decoded line of the trace so far matches PATTERN (grep); the trace is left in FILE.
trace_has() {  # FILE PATTERN
    keyboard_trace "$1" 2>/dev/null || return 1
    tr -d '\r' < "$1" | grep -q -- "$2"
}
wait_for_trace() {  # FILE PATTERN SECONDS
    local end=$((SECONDS + $3))
    while [ $SECONDS -lt "$end" ]; do
        trace_has "$1" "$2" && return 0
        sleep 1
    done
    echo "timed out waiting for \"$2\" in the keyboard's trace" >&2
    return 1
}
# What the keyboard was sent and answered so far, without the times and the status polls.
keyboard_reports() {  # FILE
    keyboard_trace "$1" || return 1
    tr -d '\r' < "$1" | grep -E '^[0-9]' | cut -d' ' -f2- | grep -v -E '^GET (status|update-status)' || true
}
# Waits until the keyboard has been sent nothing but status polls for two seconds (a monitor's
# synchronisation has ended), at most two minutes; clears the trace.
wait_for_quiet_keyboard() {  # WORK_FOLDER
    local _
    for _ in $(seq 1 60); do
        vkbd trace clear >/dev/null
        sleep 2
        [ -z "$(keyboard_reports "$1/quiet-trace.txt")" ] && break
    done
    vkbd trace clear >/dev/null
}

# ---- The monitor. One runs per session, found by its title.

monitor_running() { desktop wait "$kTitleMonitor" 0.1 >/dev/null 2>&1; }
close_monitor() {  # as the tray's Exit does; fails when its window is still there after 20 s
    desktop close "$kTitleMonitor" >/dev/null 2>&1 || true
    desktop gone "$kTitleMonitor" 20 >/dev/null 2>&1
}
start_dist_monitor() {  # the monitor of DIST, in the background; waits for its window
    (cd "$DIST" && wine "$DIST/Monitor.exe" </dev/null >/dev/null 2>&1 &)
    desktop wait "$kTitleMonitor" 20 >/dev/null 2>&1
}

# A demo that runs a monitor of its own closes the session's for the time being and starts it
# again from DIST when it exits.
borrow_session_monitor() {
    monitor_running || return 0
    echo "a monitor is running: closed for the demo (one per session), started again at the end"
    close_monitor
    at_exit 'start_dist_monitor; echo "the monitor from $DIST runs again"'
}

# A demo that shows the monitor of DIST against the session's keyboard (as the main job runs
# them) starts whichever of the two is not running, and stops it again when it exits.
need_session_monitor() {
    if ! vkbd status >/dev/null 2>&1; then
        vkbd start >/dev/null
        at_exit 'vkbd stop >/dev/null 2>&1'
        echo "the virtual keyboard was started for the demo"
    fi
    if ! monitor_running; then
        start_dist_monitor
        at_exit close_monitor
        echo "the monitor from $DIST was started for the demo"
    fi
}
