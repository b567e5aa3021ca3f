#!/bin/bash
# Names the sound cues a Monitor.exe run played, from Wine's winmm trace of it: one line
# "played Wave\<folder>\<file>.wav" per cue, in order, for each file PlaySound opened and read
# as a WAVE file ("missing ..." for a cue whose file could not be opened). The monitor must
# have run with WINEDEBUG=-all,+winmm (or with more channels) and its standard error kept:
#
#     WINEDEBUG=-all,+winmm wine Monitor.exe 2>monitor-trace.txt &
#     ...
#     monitor/sound/played-cues.sh monitor-trace.txt
#
# The trace is read from the file named, or from standard input.
set -euo pipefail
tr -d '\r' < "${1:-/dev/stdin}" | awk '
    # A thread id (optionally after a process id) and the text after "proc_PlaySound ".
    match($0, /trace:winmm:proc_PlaySound /) {
        split(substr($0, 1, RSTART - 1), ids, ":")
        thread = ids[1] ":" ids[2]
        text = substr($0, RSTART + RLENGTH)
        if (text ~ /^SoundName=L"/) {
            name = text
            sub(/^SoundName=L"/, "", name)
            sub(/" !$/, "", name)
            gsub(/\\\\/, "\\", name)
            if (match(name, /\\Wave\\/)) name = substr(name, RSTART + 1)
            playing[thread] = name
            read[thread] = 0
        } else if (text ~ /^ParentChunk ckid=RIFF fccType=WAVE/) {
            read[thread] = 1
        } else if (text ~ /^Done playing=/ && thread in playing) {
            print (read[thread] ? "played " : "missing ") playing[thread]
            delete playing[thread]
        }
    }'
