#!/usr/bin/python3
"""Shows the program's console lines, which it writes in Shift-JIS, in the terminal's own
encoding, line by line as they come.

    nrt52 | scripts/console-text.py

It outlives the program: Ctrl-C and a hang-up reach the program, which then writes its
last lines while closing, and those must not meet a closed pipe. Once the terminal is gone
the lines are still read, and dropped.
"""

import codecs
import signal
import sys

# Shift-JIS as Windows reads it maps a few marks to other code points than the JIS tables
# of other terminal encodings do: those take the JIS one, anything else unknown a "?".
JIS_FORMS = {"\uff5e": "\u301c", "\u2225": "\u2016", "\uff0d": "\u2212",
             "\uffe0": "\u00a2", "\uffe1": "\u00a3", "\uffe2": "\u00ac"}


def jis_forms(error):
    replaced = ""
    for char in error.object[error.start:error.end]:
        jis = JIS_FORMS.get(char, "?")
        try:
            jis.encode(error.encoding)
        except (UnicodeEncodeError, LookupError):
            jis = "?"
        replaced += jis
    return replaced, error.end


codecs.register_error("jisforms", jis_forms)

signal.signal(signal.SIGINT, signal.SIG_IGN)
signal.signal(signal.SIGHUP, signal.SIG_IGN)

out = sys.stdout
writable = True
for raw in sys.stdin.buffer:
    if not writable:
        continue
    try:
        out.buffer.write(raw.decode("cp932", "replace").encode(out.encoding or "utf-8", "jisforms"))
        out.flush()
    except OSError:
        writable = False
