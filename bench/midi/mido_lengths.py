#!/usr/bin/python3
"""Prints the length in ms of each MIDI file as python3-mido computes it, in the format of
`vorlo length` (length, a tab, the path; or an error line), then the time it took on stderr."""
import sys
import time

import mido

start = time.perf_counter()
out = []
for path in sys.argv[1:]:
    try:
        out.append("%d\t%s" % (int(mido.MidiFile(path).length * 1000), path))
    except Exception as error:  # mido raises many kinds for files it cannot read
        out.append("error\t%s\t%s" % (path, str(error).replace("\n", " ")))
print("\n".join(out))
print("mido seconds %.3f" % (time.perf_counter() - start), file=sys.stderr)
