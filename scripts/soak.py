#!/usr/bin/python3
"""Soak run of the monitor against simulated level checkers (not part of CI).

    scripts/soak.py [--devices 50] [--minutes 10] [--silent 10] [--error 5] [--slow 4]
                    [--slow-ms 1500] [--range 4] [--nosignal 4] [--build-dir build] [--keep]

Starts N simulated devices (sim/simctl), gives them the chosen faults (--silent and
--error in per cent of the devices, --slow, --range and --nosignal as device counts),
registers them all as measuring in a temporary root and runs the real program (offscreen)
for M minutes. The program's resident memory is sampled every 10 s. The program is then
ended with SIGTERM and must exit 0.

Afterwards, per device, the measurement requests the device received ("GET 4.1" in its
request log) are set against the lines of its result log: every request is answered by a
result line, either the value served or, for a request that failed, a "---" line. A
request made in the last seconds before the end may still be in flight, so the check is
lines >= requests made up to the grace period before SIGTERM. Any device with fewer lines
is a loss; the script then exits 1.
"""

import argparse
import datetime
import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(HERE)
SIMCTL = os.path.join(SOURCE, "sim", "simctl")
GRACE_S = 15
SAMPLE_S = 10
RESULT_LINE = re.compile(rb"^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d,")

PLAN_HEADER = "'BandTabIndex,Channel,Frequency[KHz],BroadbandSystem,localFrequency[KHz],powerSupply,measuring"
ALERT_HEADER = "'BandTabIndex,Channel,LevelMin,LevelMax,MER/CN,BER,HikariLevelMin,HikariLevelMax,ConvertCNR"
REGISTRATION_HEADER = ("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                       "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)")
PLAN = ["0,13,473142,0,0,0,1", "0,20,515142,0,0,0,1", "5,C24,231000,3,0,0,1", "1,BS1,1049480,0,0,0,1"]
ALERT = ["0,13,<47.0,>81.0,<25.0,>2.0E-4,<-8.0,>2.0,<21.0", "0,20,<47.0,>81.0,<25.0,>2.0E-4,<-8.0,>2.0,<21.0",
         "5,C24,<47.0,>81.0,<30.0,>2.0E-4,<-8.0,>2.0,<21.0", "1,BS1,<47.0,>81.0,<8.0,>2.0E-4,<-8.0,>2.0,---"]


def say(text):
    print(text, flush=True)


def run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, text=True, **kw).stdout


def fault_plan(a):
    """Device number -> (mode, delay_ms) for the devices with a fault."""
    counts = [("silent", round(a.devices * a.silent / 100.0)), ("error", round(a.devices * a.error / 100.0)),
              ("slow", a.slow), ("range", a.range), ("nosignal", a.nosignal)]
    plan = {}
    number = a.devices
    # Faulty devices from the end of the list, so device 1 stays a healthy reference.
    for mode, count in counts:
        for _ in range(count):
            if number < 2:
                break
            plan[number] = (mode, a.slow_ms if mode == "slow" else 0)
            number -= 1
    return plan


def write_root(root, peers):
    settings = os.path.join(root, "InternalReadOnly", "CheckerSettings")
    shutil.copytree(os.path.join(SOURCE, "demo", "root"), root, dirs_exist_ok=True)
    os.makedirs(os.path.join(root, "InternalReadOnly", "Mibs", "Vm"), exist_ok=True)
    shutil.copy(os.path.join(SOURCE, "sim", "VEDIRUDO-ZER"), os.path.join(root, "InternalReadOnly", "Mibs", "Vm"))
    for folder in ("MeasurementChannelSetting", "AlertSetting"):
        os.makedirs(os.path.join(settings, folder), exist_ok=True)
    for folder in ("work", "tmp"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    lines = [REGISTRATION_HEADER]
    for n, peer in enumerate(peers, 1):
        lines.append("%d,受信点%d,%s,同軸,連続,常時,常時,1550,---,---,---,0,MER,MER" % (n, n, peer))
        with open(os.path.join(settings, "MeasurementChannelSetting", "%d.csv" % n), "w", encoding="utf-8") as f:
            f.write("\n".join([PLAN_HEADER] + PLAN) + "\n")
        with open(os.path.join(settings, "AlertSetting", "alert_%d.csv" % n), "w", encoding="utf-8") as f:
            f.write("\n".join([ALERT_HEADER] + ALERT) + "\n")
    with open(os.path.join(settings, "DeviceRegistSetting.csv"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def rss_kb(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def requests_of(sim_dir, number, cutoff):
    made, before = 0, 0
    with open(os.path.join(sim_dir, str(number), "requests.log"), encoding="utf-8") as f:
        for line in f:
            stamp, _, rest = line.rstrip("\n").partition(" ")
            if rest != "GET 4.1":
                continue
            made += 1
            if datetime.datetime.strptime(stamp, "%Y-%m-%dT%H:%M:%S.%f") <= cutoff:
                before += 1
    return made, before


def result_lines_of(root, number):
    lines, values = 0, 0
    for path in glob.glob(os.path.join(root, "work", "Data", "LOG", "機器No%d" % number, "*.csv")):
        with open(path, "rb") as f:
            for line in f:
                if RESULT_LINE.match(line):
                    lines += 1
                    # Columns: date-time, channel, band, frequency, level, ...
                    if line.split(b",")[4] != b"---":
                        values += 1
    return lines, values


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--devices", type=int, default=50)
    p.add_argument("--minutes", type=float, default=10)
    p.add_argument("--silent", type=float, default=10, help="per cent of the devices")
    p.add_argument("--error", type=float, default=5, help="per cent of the devices")
    p.add_argument("--slow", type=int, default=4, help="devices")
    p.add_argument("--slow-ms", type=int, default=1500)
    p.add_argument("--range", type=int, default=4, help="devices")
    p.add_argument("--nosignal", type=int, default=4, help="devices")
    p.add_argument("--build-dir", default=os.path.join(SOURCE, "build"))
    p.add_argument("--keep", action="store_true", help="keep the temporary root")
    a = p.parse_args()

    program = os.path.join(os.path.abspath(a.build_dir), "nrt52")
    if not os.access(program, os.X_OK):
        sys.exit("soak: %s is missing; build it first (./test.sh or cmake --build build)" % program)
    root = tempfile.mkdtemp(prefix="nrt52-soak-")
    sim_dir = os.path.join(root, "sim")
    faults = fault_plan(a)
    say("soak: %d devices for %g min, root %s" % (a.devices, a.minutes, root))
    say("soak: faults " + ", ".join("%s %d" % (m, sum(1 for f in faults.values() if f[0] == m))
                                    for m in ("silent", "error", "slow", "range", "nosignal")))
    peers = run([SIMCTL, "start", "--count", str(a.devices), "--dir", sim_dir,
                 "--owner-pid", str(os.getpid())]).split()
    proc = None
    try:
        for number, (mode, delay) in sorted(faults.items()):
            args = [SIMCTL, "fault", "--dir", sim_dir, "--device", str(number), mode]
            if mode == "slow":
                args += ["--delay-ms", str(delay)]
            run(args)
        write_root(root, peers)

        env = dict(os.environ, NRT52_ROOT=root, TMPDIR=os.path.join(root, "tmp"),
                   QT_QPA_PLATFORM="offscreen", QT_QUICK_BACKEND="software")
        with open(os.path.join(root, "program.out"), "w") as out:
            proc = subprocess.Popen([program], cwd=os.path.join(root, "work"), env=env,
                                    stdout=out, stderr=subprocess.STDOUT)
        started = time.monotonic()
        samples = []
        while time.monotonic() - started < a.minutes * 60:
            if proc.poll() is not None:
                say("soak: the program ended by itself (exit %d)" % proc.returncode)
                return 1
            kb = rss_kb(proc.pid)
            if kb is not None:
                samples.append((time.monotonic() - started, kb))
            time.sleep(SAMPLE_S)

        stopped_at = datetime.datetime.now()
        proc.send_signal(signal.SIGTERM)
        try:
            code = proc.wait(timeout=120)
        except subprocess.TimeoutExpired:
            proc.kill()
            say("soak: the program did not end within 120 s of SIGTERM")
            return 1
        say("soak: SIGTERM after %.0f s; exit code %d" % (time.monotonic() - started, code))
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
        subprocess.run([SIMCTL, "stop", "--dir", sim_dir], stdout=subprocess.DEVNULL)

    cutoff = stopped_at - datetime.timedelta(seconds=GRACE_S)
    say("")
    say("device  fault      requests  (before end-%ds)  result lines  (with values)  verdict" % GRACE_S)
    lost = []
    total_req = total_lines = 0
    for number in range(1, a.devices + 1):
        mode = faults.get(number, ("none", 0))[0]
        made, before = requests_of(sim_dir, number, cutoff)
        lines, values = result_lines_of(root, number)
        total_req += made
        total_lines += lines
        verdict = "ok" if lines >= before else "LOST %d" % (before - lines)
        if lines < before:
            lost.append(number)
        if made == 0:
            verdict = "NO REQUESTS"
            lost.append(number)
        say("%6d  %-9s  %8d  %17d  %12d  %13d  %s" % (number, mode, made, before, lines, values, verdict))
    say("total: %d measurement requests, %d result lines" % (total_req, total_lines))

    say("")
    say("memory (VmRSS, MiB) once a minute:")
    say("  " + "  ".join("%dm:%.1f" % (t // 60, kb / 1024.0) for t, kb in samples if int(t) % 60 < SAMPLE_S))
    # The first two minutes are start-up (QML, caches); growth is judged after them.
    settled = [kb for t, kb in samples if t >= 120]
    if len(settled) >= 12:
        first = sum(settled[:6]) / 6.0
        last = sum(settled[-6:]) / 6.0
        say("  after start-up: %.1f MiB, at the end: %.1f MiB, growth %.1f MiB (%.1f %%)"
            % (first / 1024.0, last / 1024.0, (last - first) / 1024.0, 100.0 * (last - first) / first))

    ok = not lost and code == 0
    say("")
    say("soak: %s" % ("every served result logged" if ok else
                      "FAILED: loss at devices %s, exit code %d" % (lost, code)))
    if a.keep or not ok:
        say("soak: root kept at %s" % root)
    else:
        shutil.rmtree(root, ignore_errors=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
