#!/usr/bin/env bash
# The command-line settings tool against the monitor that runs from the install tree: a few
# changes as a user would script them, what the keyboard was sent for each (its decoded
# trace) and the profile read back.
#
# Usage: settings-tool-demo.sh DIST TOOLS   (inside the Wine session of scripts/lib/environment.sh,
# with the monitor from DIST running against the session's virtual keyboard)
set -euo pipefail
DIST=$(cd "$1" && pwd)
TOOLS=$(cd "$2" && pwd)
WORK=$(mktemp -d /tmp/brenik-settings-demo.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

vkbd() { wine "$TOOLS/vkbd.exe" "$@" </dev/null; }
tool() { wine "$DIST/BrenikSettings.exe" "$@" </dev/null 2>&1 | tr -d '\r'; }
say() { printf '\n-- %s\n' "$*"; }
# What reached the keyboard since the last call, without the status polls.
sent() {
    vkbd trace "$(winepath -w "$WORK/trace.txt")" >/dev/null
    { tr -d '\r' < "$WORK/trace.txt" | grep -E '^[0-9]' | cut -d' ' -f2- | grep -v -E '^GET (status|update-status)' \
        | sed 's/^/      keyboard: /'; } || echo "      keyboard: (nothing)"
    vkbd trace clear >/dev/null
}
run() {
    echo "    > BrenikSettings $*"
    tool "$@" | sed 's/^/      /' || true
    sent
}

if ! wine "$TOOLS/desktop-tool.exe" wait BrenikGamingKeyboardMonitor 0.1 >/dev/null 2>&1; then
    echo "no monitor runs from $DIST: nothing to show" >&2
    exit 1
fi
# The monitor was just started again by the demo before: let its synchronisation end, so that
# what the keyboard is sent below is the tool's doing alone.
for _ in $(seq 1 60); do
    vkbd trace clear >/dev/null
    sleep 2
    vkbd trace "$(winepath -w "$WORK/trace.txt")" >/dev/null
    tr -d '\r' < "$WORK/trace.txt" | grep -E '^[0-9]' | grep -q -v -E ' GET (status|update-status)' || break
done
vkbd trace clear >/dev/null

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
