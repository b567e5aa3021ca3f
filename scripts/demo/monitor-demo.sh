#!/usr/bin/env bash
# The monitor and the keyboard end to end, as a newcomer would want to see it: a virtual
# keyboard holding settings the profile files do not know, the monitor's first
# synchronisation reading them back, a profile key pressed and a macro recorded on the
# keyboard, then a readable account of the exchange (as the keyboard's trace decodes it) and
# of what changed in the profile files and config.ini.
#
# Usage: monitor-demo.sh DIST TOOLS   (inside the Wine session of scripts/lib/environment.sh)
# Works on a copy of DIST with a virtual keyboard of its own, so the install tree is left as it
# is; stops everything it started. One monitor runs per session: a monitor already running is
# closed for the demo and started again from DIST at the end.
set -euo pipefail
source "$(dirname "$0")/../lib/demo.sh"
demo_init "$1" "$2"
KEYBOARD_PIPE="BrenikMonitorDemo-$$"
WORK=$(mktemp -d /tmp/brenik-monitor-demo.XXXXXX)
TRACE="$WORK/trace.txt"
MONITOR_PID=""

borrow_session_monitor
at_exit 'rm -rf "$WORK"'
at_exit 'vkbd stop >/dev/null 2>&1'
at_exit 'if [ -n "$MONITOR_PID" ]; then close_monitor; wait "$MONITOR_PID" 2>/dev/null; fi'

count_in_trace() { tr -d '\r' < "$TRACE" | grep -c -- "$1" || true; }

# ---- A copy of the install tree, its kbhid.dll pointed at this demo's keyboard; the settings
# tool beside the monitor reads the profile files back at the end.
INSTALL="$WORK/install"
mkdir -p "$INSTALL/config"
cp "$DIST/Monitor.exe" "$DIST/kbhid.dll" "$DIST/BrenikSettings.exe" "$INSTALL/"
[ -f "$DIST/config.ini" ] && cp "$DIST/config.ini" "$INSTALL/"
cp "$DIST"/config/*.cmp "$INSTALL/config/" 2>/dev/null || true
printf '[Backend]\r\nType=virtual\r\nPipeName=%s\r\n' "$KEYBOARD_PIPE" > "$INSTALL/kbhid.ini"

vkbd start >/dev/null
if ! ls "$INSTALL"/config/*.cmp >/dev/null 2>&1; then
    say "no profile files yet: a first start against a keyboard with factory settings writes them"
    wine "$INSTALL/Monitor.exe" </dev/null >/dev/null 2>&1 &
    MONITOR_PID=$!
    desktop wait "$kTitleMonitor" 20 >/dev/null
    wait_for_trace "$TRACE" "SET host-state value=1" 120
    close_monitor
    wait "$MONITOR_PID" 2>/dev/null || true
    MONITOR_PID=""
    echo "written: $(cd "$INSTALL/config" && ls | tr '\n' ' ')"
fi

say "the keyboard is programmed elsewhere: settings the profile files do not know"
vkbd profile 3 >/dev/null
vkbd lighting 200 >/dev/null
vkbd winlock 3 on >/dev/null
vkbd record-macro 4 0x0B 0x08 0x0F 0x0F 0x12 >/dev/null   # "hello" on key 4 of profile 3
vkbd set firmware-version 23 >/dev/null
# The keyboard's sync token stays what this monitor last gave it; config.ini forgets its copy,
# as on a computer that has never seen this keyboard.
sed -i '/^\[HidAccessCode\]/,/^\[/{/^Code=/d}' "$INSTALL/config.ini"
rm -rf "$WORK/before"
cp -r "$INSTALL" "$WORK/before"
vkbd trace clear >/dev/null
echo "profile 3 current, its lighting control 200, its Windows key locked, a macro \"hello\" on key 4,"
echo "firmware 23; config.ini holds no sync token, so the monitor will read everything back."

say "Monitor.exe starts; 200 ms later the first synchronisation begins"
START=$SECONDS
wine "$INSTALL/Monitor.exe" </dev/null >/dev/null 2>&1 &
MONITOR_PID=$!
desktop wait "$kTitleMonitor" 20 >/dev/null
wait_for_trace "$TRACE" "SET host-state value=1" 120
echo "synchronised after $((SECONDS - START)) s: $(count_in_trace ' GET ') reads, $(count_in_trace ' SET select') of them selected first"

say "the profile key 5 is pressed on the keyboard"
vkbd profile 5 >/dev/null
wait_for_trace "$TRACE" "SET current-profile profile=4" 20
echo "the monitor switched to profile 5 and wrote it back to the keyboard"

say "a macro is recorded live on key 6 of profile 5"
vkbd record-macro 6 0x04 0x05 >/dev/null
wait_for_trace "$TRACE" "GET macro profile=4 key=5" 20
sleep 3   # the new token and the saved files follow the read
echo "the monitor read the recorded macro back"

say "closing the monitor"
close_monitor
wait "$MONITOR_PID" 2>/dev/null || true
MONITOR_PID=""
trace_has "$TRACE" "." || true

say "the exchange, as the keyboard's trace decodes it (seconds from the first report)"
echo "   (status polls and select requests counted, not listed; reads of one kind folded)"
tr -d '\r' < "$TRACE" | awk '
    function flush() {
        if (group == "") return;
        printf "%8.3fs  %s", start - first, group;
        if (count > 1) printf " .. %s (%d reads)", lastArg, count;
        if (selects) printf "  [%d select%s]", selects, (selects > 1 ? "s" : "");
        if (polls) printf "  [%d status poll%s]", polls, (polls > 1 ? "s" : "");
        printf "\n";
        group = ""; count = 0; selects = 0; polls = 0
    }
    /^ / { next }
    {
        t = $1; sub(/^[^ ]+ /, "");
        if (first == "") first = t;
        if ($0 ~ /^HOST/) next;
        if ($0 ~ /^GET status/) { if (pendingSelects) pendingPolls++; else polls++; next }
        if ($0 ~ /^SET select/) { pendingSelects++; next }
        kind = $1 " " $2;
        if ($1 == "GET" && kind == lastKind && count > 0) {
            count++; lastArg = $3; selects += pendingSelects; polls += pendingPolls; pendingSelects = 0; pendingPolls = 0; next
        }
        flush();
        group = $0; start = t; count = 1; lastKind = kind; lastArg = $3;
        selects = pendingSelects; polls = pendingPolls; pendingSelects = 0; pendingPolls = 0
    }
    END { flush() }'

say "what changed in config.ini and the profile files"
# Key entry N (from 0, as the profile file names it) of profile P (from 0) in the install tree
# TREE, as the settings tool reads it from the profile files there (the monitor is closed).
key_entry() {  # TREE P N
    (cd "$1" && wine "$1/BrenikSettings.exe" --json show $(($2 + 1)) </dev/null 2>/dev/null) | tr -d '\r' |
        /usr/bin/python3 -c '
import json, sys
key = int(sys.argv[1]) + 1
for entry in json.load(sys.stdin)["keys"]:
    if entry["key"] == key:
        if entry["kind"] == "macro":
            print("macro \"%s\", %d actions" % (entry["name"], entry["actionCount"]))
        else:
            print(entry["text"])
        break
else:
    print("(none)")' "$3"
}
shorten() { if [ ${#1} -gt 40 ]; then printf '%s...' "${1:0:36}"; else printf '%s' "$1"; fi; }
for file in config.ini config/Default0.cmp config/Default1.cmp config/Default2.cmp config/Default3.cmp config/Default4.cmp; do
    old="$WORK/before/$file"
    new="$INSTALL/$file"
    [ -f "$new" ] || continue
    profile=""
    [[ $file =~ Default([0-4])\.cmp$ ]] && profile=${BASH_REMATCH[1]}
    # Each changed key, tab-separated: "[section] key", before ("(none)" when new), after.
    changes=$(awk -F= '
        FNR == 1 { side++ }
        /^\[/ { section = $0; next }
        NF < 2 { next }
        { key = section " " $1; value = substr($0, length($1) + 2); gsub(/\r/, "", value) }
        side == 1 { before[key] = value; next }
        { after[key] = value; if (!(key in before) || before[key] != value) changed[key] = 1 }
        END { for (key in changed) printf "%s\t%s\t%s\n", key, (key in before) ? before[key] : "(none)", after[key] }
        ' <( [ -f "$old" ] && cat "$old" || true; echo ) "$new" |
        while IFS=$'\t' read -r key was now; do
            if [ -n "$profile" ] && [[ $key =~ MacroKeyInfo([0-9]+)$ ]]; then
                [ "$was" = "(none)" ] || was=$(key_entry "$WORK/before" "$profile" "${BASH_REMATCH[1]}")
                now=$(key_entry "$INSTALL" "$profile" "${BASH_REMATCH[1]}")
            fi
            printf '    %-30s %s -> %s\n' "$key" "$(shorten "$was")" "$(shorten "$now")"
        done | sort)
    if [ -z "$changes" ]; then
        echo "  $file: unchanged"
    else
        echo "  $file:"
        echo "$changes"
    fi
done

say "done: the keyboard's state now"
vkbd status
