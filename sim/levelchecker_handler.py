#!/usr/bin/python3
"""pass_persist handler of one simulated level checker.

snmpd starts it as
    levelchecker_handler.py DEVICE_DIR
and talks to it over stdin/stdout (PING, get, getnext, set). The device's settings
live in DEVICE_DIR/state.json so that they survive a restart of the handler; the
value faults (wrongchannel, range, nosignal) are read from DEVICE_DIR/fault.json,
which simctl rewrites at run time. Transport faults (silent, error, slow) belong to
the relay in front of snmpd and are not handled here.

Standard library only.
"""

import datetime
import json
import math
import os
import random
import sys
import time

PREFIX = ".1.3.6.1.4.1.52817.1.70"

# suffix -> (type, default). Types: "string" (identity, served as text),
# "integer", "text" (writable octet string), "result" (lcMeasResult, served as hex).
OBJECTS = {
    "1.2": ("string", "VZ52-{n:05d}"),
    "1.3": ("string", "00:1B:52:81:70:{n:02X}"),
    "1.4.1": ("string", "NRT52-LC 3.12.0"),
    "1.4.2": ("string", "BOOT 1.04"),
    "1.4.3": ("string", "FPGA 2.7.1"),
    "1.4.4": ("string", "TUNER 5.0.3"),
    "1.4.5": ("string", "WEB 1.9.0"),
    "1.4.6": ("string", "OPT-OPTICAL OPT-SAT"),
    "2.2": ("integer", 0),
    "2.4": ("integer", 0),
    "2.5": ("integer", 0),
    "2.6": ("integer", 3),
    "2.7.1": ("integer", 0),
    "2.7.2": ("integer", 0),
    "3.1.1": ("text", "ISDBT"),
    "3.1.2": ("integer", 0),
    "3.1.3": ("integer", 0),
    "3.1.4": ("integer", 0),
    "3.1.5": ("text", ""),
    "3.1.6": ("text", "0"),
    "3.8": ("integer", 0),
    "3.11": ("integer", 0),
    "4.1": ("result", None),
}

READ_ONLY = {"1.2", "1.3", "1.4.1", "1.4.2", "1.4.3", "1.4.4", "1.4.5", "1.4.6", "4.1"}
SELECTION = ("3.1.1", "3.1.2", "3.1.3", "3.1.4", "3.1.5", "3.1.6")


def oid_key(suffix):
    return tuple(int(p) for p in suffix.split("."))


ORDERED = sorted(OBJECTS, key=oid_key)


class Device:
    def __init__(self, folder):
        self.folder = folder
        self.state_path = os.path.join(folder, "state.json")
        self.fault_path = os.path.join(folder, "fault.json")
        try:
            self.number = int(os.path.basename(os.path.normpath(folder)))
        except ValueError:
            self.number = 0
        self.values = {}
        for suffix, (kind, default) in OBJECTS.items():
            if kind == "result":
                continue
            if isinstance(default, str):
                default = default.format(n=self.number)
            self.values[suffix] = default
        self.load()
        self.random = random.Random(self.number * 7919)
        # Each device drifts with its own phase, so two devices never show the same curve.
        self.phase = self.number * 1.7

    def load(self):
        try:
            with open(self.state_path, encoding="utf-8") as f:
                saved = json.load(f)
        except (OSError, ValueError):
            return
        for suffix, value in saved.items():
            if suffix in self.values and suffix not in READ_ONLY:
                self.values[suffix] = value

    def save(self):
        writable = {k: v for k, v in self.values.items() if k not in READ_ONLY}
        tmp = self.state_path + ".tmp"
        with open(tmp, "w", encoding="utf-8") as f:
            json.dump(writable, f, ensure_ascii=False, indent=1)
        os.replace(tmp, self.state_path)

    def fault(self):
        try:
            with open(self.fault_path, encoding="utf-8") as f:
                data = json.load(f)
            return data if isinstance(data, dict) else {}
        except (OSError, ValueError):
            return {}

    # ---- measurement -------------------------------------------------------------

    def result_band(self):
        band = self.values["3.1.1"]
        pol = self.values["3.1.3"]
        if band in ("BS", "CS"):
            return band + ("_L" if pol == 1 else "_R")
        if band in ("JCSAT-3A", "JCSAT-4B", "SCC-B", "SCC-C"):
            return band + ("_V" if pol == 3 else "_H")
        if band == "CATV_ALL":
            return "CATV"
        return band

    def drift(self, centre, swing, period_s, noise):
        t = time.time()
        value = centre + swing * math.sin(2 * math.pi * t / period_s + self.phase)
        return value + self.random.uniform(-noise, noise)

    def measurement(self):
        """Elements 1 to 11 (without the time) for the current selection."""
        band_code = self.values["3.1.1"]
        band = self.result_band()
        channel = self.values["3.1.6"]
        optical = self.values["2.2"] == 1
        standard = "---"
        modulation = "---"
        layer = "---"
        ber = "<1.0E-8"
        extra = "0"
        if band_code == "ISDBT":
            level, mer = self.drift(68.0, 2.5, 90, 0.3), self.drift(31.0, 1.5, 70, 0.2)
            standard, modulation, layer = "ISDBT", "64QAM", "A"
        elif band_code in ("BS", "CS"):
            level, mer = self.drift(62.0, 2.0, 110, 0.3), self.drift(14.5, 1.0, 80, 0.2)
            standard, modulation, layer = "ISDBS", "8PSK", "---"
            ber = "1.0E-7" if self.random.random() < 0.2 else "<1.0E-8"
        elif band_code == "CATV_ALL":
            level, mer = self.drift(70.0, 2.0, 100, 0.3), self.drift(36.0, 1.5, 75, 0.2)
            if self.values["3.1.2"] == 1:
                standard, modulation, layer = "ISDBC", "64QAM", "---"
            else:
                standard, modulation, layer = "ISDBT", "64QAM", "A"
        elif band_code == "OPTICAST":
            level, mer = self.drift(66.0, 2.0, 95, 0.3), self.drift(33.0, 1.2, 65, 0.2)
            standard, modulation, layer = "ISDBC", "64QAM", "---"
        elif band_code in ("JCSAT-3A", "JCSAT-4B", "SCC-B", "SCC-C"):
            level, mer = self.drift(58.0, 2.5, 120, 0.3), self.drift(12.5, 1.0, 85, 0.2)
            standard, modulation, layer = "DVBS2", "QPSK", "---"
        elif band_code == "UL":
            level, mer = self.drift(90.0, 3.0, 60, 0.5), self.drift(40.0, 2.0, 60, 0.3)
            modulation, ber = "CW", "---"
        elif band_code == "LTE":
            level, mer = self.drift(45.0, 4.0, 50, 0.8), self.drift(20.0, 2.0, 55, 0.4)
            ber = "---"
        elif band_code == "FM":
            level, mer = self.drift(64.0, 2.0, 90, 0.3), self.drift(45.0, 2.0, 70, 0.3)
            modulation, ber = "FM", "---"
        elif band_code == "PILOT":
            level, mer = self.drift(95.0, 1.5, 100, 0.2), self.drift(50.0, 1.0, 80, 0.2)
            modulation, ber = "CW", "---"
        else:
            level = mer = None
        # In "CNR" mode the terrestrial and CATV channels report C/N, a little above MER.
        cn_mode = (band_code == "ISDBT" and self.values["2.7.1"] == 1) or \
                  (band_code == "CATV_ALL" and self.values["2.7.2"] == 1)
        if cn_mode and mer is not None:
            mer += 1.8
        hikari = "%.1f" % self.drift(-3.0, 0.8, 150, 0.1) if optical else "---"
        values = {
            "band": band,
            "channel": channel,
            "level": "---" if level is None else "%.1f" % level,
            "mer": "---" if mer is None else "%.1f" % mer,
            "ber": "---" if level is None else ber,
            "extra": extra,
            "standard": standard,
            "modulation": modulation,
            "layer": layer,
            "hikari": hikari,
        }
        stopped = band_code == "ISDBT" and channel == "0"
        if level is None or stopped:
            self.no_signal(values)
        return values

    @staticmethod
    def no_signal(values):
        for key in ("level", "mer", "ber", "extra", "modulation", "layer", "hikari"):
            values[key] = "---"

    @staticmethod
    def other_channel(channel):
        if channel.isdigit():
            return str(int(channel) + 100)
        return "X" + channel

    def result_text(self):
        values = self.measurement()
        fault = self.fault()
        mode = fault.get("mode", "none")
        only = fault.get("only_channel")
        if only and only != self.values["3.1.6"]:
            mode = "none"
        if mode == "wrongchannel":
            values["channel"] = fault.get("channel") or self.other_channel(values["channel"])
        elif mode == "range":
            values["level"] = ">120.0"
            values["mer"] = "<5.0"
            values["ber"] = ">1.0E-2"
            if values["hikari"] != "---":
                values["hikari"] = "<-30.0"
        elif mode == "nosignal":
            self.no_signal(values)
        stamp = datetime.datetime.now().strftime("%Y/%m/%d %H:%M:%S")
        elements = [stamp, values["band"], values["channel"], "0", values["level"],
                    values["mer"], values["ber"], values["extra"], values["standard"],
                    values["modulation"], values["layer"], values["hikari"]]
        # The trailing comma keeps the closing quote of the rendering out of element 11.
        # Elements are capped so that the whole rendering fits the monitor's 256 bytes.
        text = ",".join(clean(e)[:40] for e in elements) + ",\n"
        return text.encode("ascii", "replace")

    # ---- protocol ---------------------------------------------------------------

    def get(self, suffix):
        kind = OBJECTS[suffix][0]
        if kind == "result":
            return "octet", " ".join("%02X" % b for b in self.result_text())
        value = self.values[suffix]
        if kind == "integer":
            return "integer", str(int(value))
        return "string", value

    def set(self, suffix, type_and_value):
        if suffix in READ_ONLY:
            return "not-writable"
        kind = OBJECTS[suffix][0]
        vtype, _, raw = type_and_value.partition(" ")
        vtype = vtype.lower()
        if kind == "integer":
            if vtype != "integer":
                return "wrong-type"
            try:
                self.values[suffix] = int(raw.strip())
            except ValueError:
                return "wrong-value"
        else:
            if vtype == "string":
                text = unquote(raw)
            elif vtype == "octet":
                try:
                    text = bytes.fromhex(raw.replace(" ", "")).decode("utf-8", "replace")
                except ValueError:
                    return "wrong-value"
            else:
                return "wrong-type"
            self.values[suffix] = text
        if suffix == "3.11" and self.values[suffix] == 1:
            # A reboot forgets the channel selection, like the real device.
            self.values["3.11"] = 0
            self.values["3.1.1"], self.values["3.1.6"] = "ISDBT", "0"
        self.save()
        return "DONE"


def clean(element):
    # Commas, quotes and backslashes would break the element layout or be escaped.
    return "".join(c for c in str(element) if c not in ',"\\\n\r') or "---"


def unquote(raw):
    raw = raw.strip()
    if len(raw) >= 2 and raw[0] == '"' and raw[-1] == '"':
        raw = raw[1:-1]
    return raw.replace('\\"', '"').replace("\\\\", "\\")


def suffix_of(oid):
    oid = oid.strip()
    if not oid.startswith(PREFIX + "."):
        return None
    rest = oid[len(PREFIX) + 1:]
    if not rest.endswith(".0"):
        return None
    suffix = rest[:-2]
    return suffix if suffix in OBJECTS else None


def next_suffix(oid):
    """First object whose instance OID is greater than oid (for getnext/walks)."""
    try:
        want = tuple(int(p) for p in oid.strip().lstrip(".").split("."))
    except ValueError:
        return None
    base = tuple(int(p) for p in PREFIX.lstrip(".").split("."))
    for suffix in ORDERED:
        full = base + oid_key(suffix) + (0,)
        if full > want:
            return suffix
    return None


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: levelchecker_handler.py DEVICE_DIR\n")
        return 2
    folder = sys.argv[1]
    device = Device(folder)
    try:
        with open(os.path.join(folder, "handler.pid"), "w") as f:
            f.write("%d\n" % os.getpid())
    except OSError:
        pass
    out = sys.stdout
    lines = sys.stdin

    def reply(*parts):
        out.write("".join(p + "\n" for p in parts))
        out.flush()

    while True:
        command = lines.readline()
        if not command:
            return 0  # snmpd closed the pipe: it is stopping
        command = command.strip()
        if command == "PING":
            reply("PONG")
        elif command in ("get", "getnext"):
            oid = lines.readline().strip()
            suffix = suffix_of(oid) if command == "get" else next_suffix(oid)
            if suffix is None:
                reply("NONE")
                continue
            vtype, value = device.get(suffix)
            reply("%s.%s.0" % (PREFIX, suffix), vtype, value)
        elif command == "set":
            oid = lines.readline().strip()
            value = lines.readline().rstrip("\n")
            suffix = suffix_of(oid)
            reply("not-writable" if suffix is None else device.set(suffix, value))
        elif command == "":
            continue
        else:
            reply("NONE")


if __name__ == "__main__":
    sys.exit(main())
