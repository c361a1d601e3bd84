#!/usr/bin/python3
"""Shows the program's console lines, which it writes in Shift-JIS, in the terminal's own
encoding, line by line as they come.

    nrt52 | scripts/console-text.py

It outlives the program: Ctrl-C and a hang-up reach the program, which then writes its
last lines while closing, and those must not meet a closed pipe. Once the terminal is gone
the lines are still read, and dropped.
"""

import signal
import sys

signal.signal(signal.SIGINT, signal.SIG_IGN)
signal.signal(signal.SIGHUP, signal.SIG_IGN)

out = sys.stdout
writable = True
for raw in sys.stdin.buffer:
    if not writable:
        continue
    try:
        out.buffer.write(raw.decode("cp932", "replace").encode(out.encoding or "utf-8", "replace"))
        out.flush()
    except OSError:
        writable = False
