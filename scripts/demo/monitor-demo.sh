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
DIST=$(cd "$1" && pwd)
TOOLS=$(cd "$2" && pwd)
MONITOR_TITLE=BrenikGamingKeyboardMonitor
PIPE="BrenikMonitorDemo-$$"
WORK=$(mktemp -d /tmp/brenik-monitor-demo.XXXXXX)
TRACE="$WORK/trace.txt"
MONITOR_PID=""
RESTORE=""

vkbd() { wine "$TOOLS/vkbd.exe" --pipe "$PIPE" "$@" </dev/null; }
desktop() { wine "$TOOLS/desktop-tool.exe" "$@" </dev/null; }
say() { printf '\n-- %s\n' "$*"; }

cleanup() {
    if [ -n "$MONITOR_PID" ]; then
        desktop close "$MONITOR_TITLE" >/dev/null 2>&1 || true
        desktop gone "$MONITOR_TITLE" 20 >/dev/null 2>&1 || true
        wait "$MONITOR_PID" 2>/dev/null || true
    fi
    vkbd stop >/dev/null 2>&1 || true
    rm -rf "$WORK"
    if [ -n "$RESTORE" ]; then
        (cd "$DIST" && wine "$DIST/Monitor.exe" </dev/null >/dev/null 2>&1 &)
        desktop wait "$MONITOR_TITLE" 20 >/dev/null 2>&1 || true
        echo "the monitor from $DIST runs again"
    fi
}
trap cleanup EXIT

if desktop wait "$MONITOR_TITLE" 0.1 >/dev/null 2>&1; then
    echo "a monitor is running: closed for the demo (one per session), started again at the end"
    desktop close "$MONITOR_TITLE" >/dev/null
    desktop gone "$MONITOR_TITLE" 20 >/dev/null
    RESTORE=1
fi

# Writes the trace so far to $TRACE; true when a decoded line matches the pattern.
trace_has() {
    vkbd trace "$(winepath -w "$TRACE")" >/dev/null 2>&1 || return 1
    tr -d '\r' < "$TRACE" | grep -q -- "$1"
}
wait_for_trace() {  # pattern, seconds
    local end=$((SECONDS + $2))
    while [ $SECONDS -lt "$end" ]; do
        trace_has "$1" && return 0
        sleep 1
    done
    echo "timed out waiting for \"$1\" in the keyboard's trace" >&2
    return 1
}
count_in_trace() { tr -d '\r' < "$TRACE" | grep -c -- "$1" || true; }

# ---- A copy of the install tree, its kbhid.dll pointed at this demo's keyboard.
INSTALL="$WORK/install"
mkdir -p "$INSTALL/config"
cp "$DIST/Monitor.exe" "$DIST/kbhid.dll" "$INSTALL/"
[ -f "$DIST/config.ini" ] && cp "$DIST/config.ini" "$INSTALL/"
cp "$DIST"/config/*.cmp "$INSTALL/config/" 2>/dev/null || true
printf '[Backend]\r\nType=virtual\r\nPipeName=%s\r\n' "$PIPE" > "$INSTALL/kbhid.ini"

vkbd start >/dev/null
if ! ls "$INSTALL"/config/*.cmp >/dev/null 2>&1; then
    say "no profile files yet: a first start against a keyboard with factory settings writes them"
    wine "$INSTALL/Monitor.exe" </dev/null >/dev/null 2>&1 &
    MONITOR_PID=$!
    desktop wait "$MONITOR_TITLE" 20 >/dev/null
    wait_for_trace "SET host-state value=1" 120
    desktop close "$MONITOR_TITLE" >/dev/null
    desktop gone "$MONITOR_TITLE" 20 >/dev/null
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
desktop wait "$MONITOR_TITLE" 20 >/dev/null
wait_for_trace "SET host-state value=1" 120
echo "synchronised after $((SECONDS - START)) s: $(count_in_trace ' GET ') reads, $(count_in_trace ' SET select') of them selected first"

say "the profile key 5 is pressed on the keyboard"
vkbd profile 5 >/dev/null
wait_for_trace "SET current-profile profile=4" 20
echo "the monitor switched to profile 5 and wrote it back to the keyboard"

say "a macro is recorded live on key 6 of profile 5"
vkbd record-macro 6 0x04 0x05 >/dev/null
wait_for_trace "GET macro profile=4 key=5" 20
sleep 3   # the new token and the saved files follow the read
echo "the monitor read the recorded macro back"

say "closing the monitor"
desktop close "$MONITOR_TITLE" >/dev/null
desktop gone "$MONITOR_TITLE" 20 >/dev/null
wait "$MONITOR_PID" 2>/dev/null || true
MONITOR_PID=""
trace_has "." || true

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
for file in config.ini config/Default0.cmp config/Default1.cmp config/Default2.cmp config/Default3.cmp config/Default4.cmp; do
    old="$WORK/before/$file"
    new="$INSTALL/$file"
    [ -f "$new" ] || continue
    changes=$(awk -F= '
        FNR == 1 { side++ }
        /^\[/ { section = $0; next }
        NF < 2 { next }
        { key = section " " $1; value = substr($0, length($1) + 2); gsub(/\r/, "", value) }
        side == 1 { before[key] = value; next }
        { after[key] = value; if (!(key in before) || before[key] != value) changed[key] = 1 }
        function hexbyte(v, i,   d, n, k, c) {
            n = 0;
            for (k = 1; k <= 2; k++) { c = index("0123456789ABCDEF", toupper(substr(v, 2 * i + k, 1))); n = n * 16 + c - 1 }
            return n
        }
        # A key entry: function type (byte 1), macro name (bytes 34..65), action count (66, 67).
        function entry(v,   name, i, b) {
            if (v == "") return "(none)";
            name = "";
            for (i = 34; i < 66; i++) { b = hexbyte(v, i); if (b == 0) break; name = name sprintf("%c", b) }
            return sprintf("function 0x%02X \"%s\" %d actions", hexbyte(v, 1), name, hexbyte(v, 66) + 256 * hexbyte(v, 67))
        }
        END {
            for (key in changed) {
                old = (key in before) ? before[key] : "(none)";
                new = after[key];
                if (key ~ /MacroKeyInfo/) { old = entry(key in before ? old : ""); new = entry(new) }
                if (length(old) > 40) old = substr(old, 1, 36) "...";
                if (length(new) > 40) new = substr(new, 1, 36) "...";
                printf "    %-30s %s -> %s\n", key, old, new
            }
        }' <( [ -f "$old" ] && cat "$old" || true; echo ) "$new" | sort)
    if [ -z "$changes" ]; then
        echo "  $file: unchanged"
    else
        echo "  $file:"
        echo "$changes"
    fi
done

say "done: the keyboard's state now"
vkbd status
