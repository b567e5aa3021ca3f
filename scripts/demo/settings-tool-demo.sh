#!/usr/bin/env bash
# The command-line settings tool against the monitor that runs from the install tree: a few
# changes as a user would script them, what the keyboard was sent for each (its decoded
# trace) and the profile read back.
#
# Usage: settings-tool-demo.sh DIST TOOLS   (inside the Wine session of scripts/lib/environment.sh)
# Shows the monitor from DIST against the session's virtual keyboard, as the main job runs
# them; whichever of the two is not running is started for the demo and stopped at its end.
set -euo pipefail
source "$(dirname "$0")/../lib/demo.sh"
demo_init "$1" "$2"
WORK=$(mktemp -d /tmp/brenik-settings-demo.XXXXXX)
at_exit 'rm -rf "$WORK"'

tool() { wine "$DIST/BrenikSettings.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }
# What reached the keyboard since the last call, without the status polls.
sent() {
    local reports
    reports=$(keyboard_reports "$WORK/trace.txt")
    if [ -n "$reports" ]; then
        printf '%s\n' "$reports" | sed 's/^/      keyboard: /'
    else
        echo "      keyboard: (nothing)"
    fi
    vkbd trace clear >/dev/null
}
run() {
    echo "    > BrenikSettings $*"
    tool "$@" | sed 's/^/      /' || true
    sent
}

need_session_monitor
# A monitor just started (here, or again by a demo before) first synchronises with the
# keyboard: let that end, so that what the keyboard is sent below is the tool's doing alone.
wait_for_quiet_keyboard "$WORK"

say "BrenikSettings.exe: the profiles from the command line, through the running monitor"
run list
run set 2 name Racing
run set 2 key-green 160
run key 2 5 macro Hello "+H 30, -H, +I 30, -I"
run set 2 lock-caps-lock on
run set 2 key-green 999
echo "    (refused, exit status 3: nothing was written or sent)"

say "profile 2 read back (part of show 2)"
tool show 2 | grep -E '^Profile|^  (name|key-green|lock-caps-lock) |key 5 ' | sed 's/^/    /'
say "the same list for scripts (--json)"
tool --json list | sed 's/^/    /'

say "the keyboard is wiped elsewhere (a firmware update cleared its memory) and the monitor starts again"
close_monitor
vkbd factory-reset
vkbd trace clear >/dev/null
start_dist_monitor
# The read-back ends with the host state; about 15 s of reports.
wait_for_trace "$WORK/read-back.txt" 'SET host-state' 120
echo "    the monitor read every setting back: $(keyboard_reports "$WORK/read-back.txt" | grep -c '^GET ') reads, ending:"
keyboard_reports "$WORK/read-back.txt" | tail -3 | sed 's/^/      keyboard: /'
vkbd trace clear >/dev/null
echo "    the display was told: \"$(tr -d '\r' < "$DIST/$kConfigFileName" | sed -n "s/^$kOsdTextKey=//p")\""
echo "    profile 2 now holds the keyboard's settings (the name is the monitor's own):"
tool show 2 | grep -E '^  (name|key-green|lock-caps-lock) |key 5 ' | sed 's/^/      /'

say "the history kept the profiles as they were before the read-back"
run history
say "restore 1 brings them back, in the files and on the keyboard"
run restore 1
tool show 2 | grep -E '^  (name|key-green|lock-caps-lock) |key 5 ' | sed 's/^/      /'
