#!/bin/bash
# Speaks Monitor.exe's sound cues into Wave/ beside this script. The build uses the committed
# files; run this only to change a cue:
#
#     monitor/sound/art/make_cues.sh
#
# Each cue is plain 16-bit mono PCM at 22050 Hz with the 16-byte fmt chunk, which PlaySound
# takes as it is. Silence is trimmed at both ends so a cue starts when its event happens, and
# the level is normalised so all cues sound equally loud. The output is byte-for-byte the same
# on every run (no dither noise, no dates in the files), so regenerating does not churn git.

set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$HERE/../../../scripts/lib/environment.sh"
ensure_tools espeak-ng sox

OUT="$HERE/Wave"
VOICE=en-us
WORDS_PER_MINUTE=150
RATE=22050

# Relative path under Wave/ and the words spoken.
CUES=(
    "Profile/profile_one.wav|Profile one"
    "Profile/profile_two.wav|Profile two"
    "Profile/profile_three.wav|Profile three"
    "Profile/profile_four.wav|Profile four"
    "Profile/profile_five.wav|Profile five"
    "MacroLiveRecord/1_driver_select_macro_key.wav|Select a macro key"
    "MacroLiveRecord/2_driver_enter_macro_key_and_press.wav|Enter the macro, then press the macro key"
    "MacroLiveRecord/3_driver_macro_recorded_successfuly.wav|Macro recorded"
    "MacroLiveRecord/4_driver_macro_recording_aborted.wav|Macro recording aborted"
    "MacroLiveRecord/5_driver_key_not_available.wav|Key not available"
    "MacroLiveRecord/6_driver_Macro_full_recorded.wav|Macro full"
    "Timer/timer_activated.wav|Timer activated"
    "Timer/10_second.wav|Ten seconds"
    "Timer/5_second.wav|Five"
    "Timer/4_second.wav|Four"
    "Timer/3_second.wav|Three"
    "Timer/2_second.wav|Two"
    "Timer/1_second.wav|One"
    "Timer/go.wav|Go"
    "Timer/timer_stopped.wav|Timer stopped"
    "ExtendedLayer/Extended_layer.wav|Extended layer"
    "ExtendedLayer/Standard_Layer.wav|Standard layer"
)

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# -R fixes sox's random seed and -D turns dither off: both keep the bytes repeatable.
# The silence effect cuts the start and a short fade-in keeps the cut edge from clicking;
# reversing does the same at the end.
speak() {
    local target=$1 words=$2
    espeak-ng -v "$VOICE" -s "$WORDS_PER_MINUTE" -w "$WORK/raw.wav" "$words"
    mkdir -p "$(dirname "$target")"
    sox -R -D -V1 "$WORK/raw.wav" -t wav -e signed-integer -b 16 -c 1 -r "$RATE" "$WORK/cue.wav" \
        silence 1 0.01 0.1% fade t 0.005 reverse silence 1 0.01 0.1% fade t 0.01 reverse \
        gain -n -1
    mv "$WORK/cue.wav" "$target"
}

for cue in "${CUES[@]}"; do
    path=${cue%%|*}
    words=${cue#*|}
    speak "$OUT/$path" "$words"
    printf '%-55s %5.2f s %7d bytes  "%s"\n' "$path" "$(soxi -D "$OUT/$path")" \
        "$(stat -c %s "$OUT/$path")" "$words"
done
