#!/usr/bin/python3
"""Soak run of the monitor against simulated level checkers (not part of CI).

    scripts/soak.py [--devices 50] [--minutes 10] [--silent 10] [--error 5] [--slow 4]
                    [--slow-ms 1500] [--range 4] [--nosignal 4] [--build-dir build] [--keep]
                    [--full-disk SECONDS] [--log-fs-mb 32]

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

With --full-disk, every log the program writes (result, error and history logs, work
history, application log) lies on a small file system of its own (an ext2 image of
--log-fs-mb with 1 KiB blocks, loop-mounted in a mount namespace of the script's own, so
root is needed), which is filled up by a filler file for SECONDS in the middle of the run
and then freed. A file keeps taking lines until its last block is full, as on a real disk. Then, per device, every result
served before the disk filled and after it was freed must be in its result log, the lines
lost in between must be told by the program ("log append failed: <file> (<reason>)" when
the loss begins, "log append resumed: <file> (<n> lines lost)" when it ends), the log lines
plus the lines told lost must cover the requests, and no line of any log may be cut or a
mix of two.
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
STAMP = re.compile(r"^(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d|----/--/-- --:--:--)$")
LOG_LINE = re.compile(r"\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\.\d{3} \[[^\]]*\] ")
LOSS_BEGUN = re.compile(r"log append failed: (.+) \((.*)\)$")
LOSS_ENDED = re.compile(r"log append resumed: (.+) \((\d+) lines lost\)$")
# Time a served result may take to reach its log after the request (slow devices, timeouts).
SETTLE_S = 10

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


def enter_mount_namespace():
    """Runs the script again in a mount namespace of its own, where it may mount its logs'
    file system; the mount goes with the namespace however the script ends."""
    if os.environ.get("NRT52_SOAK_MOUNT_NS") == "1":
        return
    if os.geteuid() != 0:
        sys.exit("soak: --full-disk needs root (a file system is mounted for the logs)")
    env = dict(os.environ, NRT52_SOAK_MOUNT_NS="1")
    os.execvpe("unshare", ["unshare", "--mount", "--propagation", "private",
                           sys.executable, os.path.abspath(__file__)] + sys.argv[1:], env)


def mount_log_fs(root, megabytes):
    """Every log on one small file system: the work folder (application log and result and
    error logs) and the history and work-history folders, by symbolic links. Small blocks
    and no reserve, so that a full disk is full for every file within a kilobyte."""
    fs = os.path.join(root, "logfs")
    image = os.path.join(root, "logfs.img")
    os.makedirs(fs)
    with open(image, "wb") as f:
        f.truncate(megabytes << 20)
    subprocess.run(["mkfs.ext2", "-q", "-F", "-b", "1024", "-m", "0", image], check=True)
    subprocess.run(["mount", "-o", "loop", image, fs], check=True)
    for name in ("work", "INDIVIDUAL_LOG", "WORK_LOG"):
        os.makedirs(os.path.join(fs, name))
    os.makedirs(os.path.join(root, "InternalReadOnly"), exist_ok=True)
    os.symlink(os.path.join(fs, "work"), os.path.join(root, "work"))
    for name in ("INDIVIDUAL_LOG", "WORK_LOG"):
        os.symlink(os.path.join(fs, name), os.path.join(root, "InternalReadOnly", name))
    return fs


def fill(fs):
    """Fills the file system to the last byte; returns the filler's path."""
    path = os.path.join(fs, "filler")
    with open(path, "wb", buffering=0) as f:
        for size in (1 << 20, 4096, 1):
            block = b"\0" * size
            while True:
                try:
                    if f.write(block) < size:
                        break
                except OSError:
                    break
    return path


def stamp_of(text):
    try:
        return datetime.datetime.strptime(text, "%Y/%m/%d %H:%M:%S")
    except ValueError:
        return None


def whole_lines(path, encoding, line_end):
    """The file's lines; None when it does not end in a line end."""
    with open(path, "rb") as f:
        data = f.read()
    if data and not data.endswith(line_end):
        return None
    return data.decode(encoding, errors="replace").split(line_end.decode())[:-1] if data else []


def check_logs(root):
    """Every line of every log whole and of its kind: (number of files, faults)."""
    faults = []
    count = 0
    data = os.path.join(root, "work", "Data")
    kinds = [(os.path.join(data, "LOG"), "shift_jis", 12, 5),
             (os.path.join(data, "ERROR_LOG"), "shift_jis", 16, 1),
             (os.path.join(root, "InternalReadOnly", "INDIVIDUAL_LOG"), "utf-8", 18, 1)]
    for folder, encoding, columns, head in kinds:
        for path in sorted(glob.glob(os.path.join(folder, "機器No*", "*.csv"))):
            count += 1
            lines = whole_lines(path, encoding, b"\n")
            if lines is None:
                faults.append("%s: ends in a cut line" % path)
                continue
            if len(lines) < head:
                faults.append("%s: head cut (%d lines)" % (path, len(lines)))
                continue
            if head == 5:
                prefixes = ("日付,", "時刻,", "機器No,", "名称,", "日時,")
                for i, prefix in enumerate(prefixes):
                    if not lines[i].startswith(prefix) or (i < 4 and lines[i].count(",") != 1):
                        faults.append("%s:%d: head line cut or mixed: %r" % (path, i + 1, lines[i]))
            if lines[head - 1].count(",") != columns - 1:
                faults.append("%s:%d: header cut or mixed" % (path, head))
            stamp_column = 0 if columns == 12 else 2
            for i, line in enumerate(lines[head:], head + 1):
                parts = line.split(",")
                if len(parts) != columns or not STAMP.match(parts[stamp_column]):
                    faults.append("%s:%d: cut or mixed: %r" % (path, i, line))
    for path in sorted(glob.glob(os.path.join(root, "InternalReadOnly", "WORK_LOG", "*.csv"))):
        count += 1
        lines = whole_lines(path, "shift_jis", b"\r\n")
        if lines is None or not lines or not lines[0].startswith("日時,"):
            faults.append("%s: cut line or head" % path)
            continue
        for i, line in enumerate(lines[1:], 2):
            if not STAMP.match(line.split(",")[0]) or "\r" in line or "\n" in line:
                faults.append("%s:%d: cut or mixed: %r" % (path, i, line))
    app = os.path.join(root, "work", "pcapplication.log")
    if os.path.exists(app):
        count += 1
        lines = whole_lines(app, "utf-8", b"\n")
        if lines is None:
            faults.append("%s: ends in a cut line" % app)
        else:
            # A message may hold line ends of its own, so not every line starts with a time
            # stamp; a line glued after a cut one shows as a time stamp and source inside.
            for i, line in enumerate(lines, 1):
                if LOG_LINE.search(line[1:]):
                    faults.append("%s:%d: cut or mixed: %r" % (app, i, line))
    return count, faults


def loss_reports(path, cwd):
    """From the program's console: file -> [begun episodes, ended episodes, lines told lost].
    Files are keyed by their real path; relative ones are taken from the program's cwd."""
    reports = {}
    with open(path, "rb") as f:
        for raw in f:
            line = raw.decode("shift_jis", errors="replace").rstrip("\r\n")
            begun = LOSS_BEGUN.search(line)
            ended = LOSS_ENDED.search(line)
            match = begun or ended
            if not match:
                continue
            entry = reports.setdefault(os.path.realpath(os.path.join(cwd, match.group(1))), [0, 0, 0])
            if begun:
                entry[0] += 1
            else:
                entry[1] += 1
                entry[2] += int(ended.group(2))
    return reports


def result_lines_around(root, number, start, end):
    """Result lines stamped before start and after end."""
    before = after = 0
    for path in glob.glob(os.path.join(root, "work", "Data", "LOG", "機器No%d" % number, "*.csv")):
        with open(path, "rb") as f:
            for line in f:
                if RESULT_LINE.match(line):
                    stamp = stamp_of(line[:19].decode("ascii"))
                    if stamp is not None and stamp < start:
                        before += 1
                    elif stamp is not None and stamp > end:
                        after += 1
    return before, after


def requests_around(sim_dir, number, start, end, cutoff):
    """Measurement requests made well before start, and after end up to cutoff."""
    before = after = 0
    with open(os.path.join(sim_dir, str(number), "requests.log"), encoding="utf-8") as f:
        for line in f:
            stamp, _, rest = line.rstrip("\n").partition(" ")
            if rest != "GET 4.1":
                continue
            t = datetime.datetime.strptime(stamp, "%Y-%m-%dT%H:%M:%S.%f")
            if t < start - datetime.timedelta(seconds=SETTLE_S):
                before += 1
            elif end < t <= cutoff:
                after += 1
    return before, after


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
    p.add_argument("--full-disk", type=float, default=0, metavar="SECONDS",
                   help="fill the logs' file system for this long in the middle of the run")
    p.add_argument("--log-fs-mb", type=int, default=32, help="size of the logs' file system")
    a = p.parse_args()
    if a.full_disk > 0:
        enter_mount_namespace()

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
    fs = None
    episode = None
    try:
        if a.full_disk > 0:
            fs = mount_log_fs(root, a.log_fs_mb)
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
        fill_at = (a.minutes * 60 - a.full_disk) / 2.0
        filler = None
        while time.monotonic() - started < a.minutes * 60:
            if fs and episode is None and time.monotonic() - started >= fill_at:
                filler = fill(fs)
                episode = [datetime.datetime.now(), None]
                say("soak: log file system full at %.0f s" % (time.monotonic() - started))
            if filler and time.monotonic() - started >= fill_at + a.full_disk:
                os.remove(filler)
                filler = None
                episode[1] = datetime.datetime.now()
                say("soak: log file system freed at %.0f s" % (time.monotonic() - started))
            if proc.poll() is not None:
                say("soak: the program ended by itself (exit %d)" % proc.returncode)
                return 1
            kb = rss_kb(proc.pid)
            if kb is not None and (not samples or time.monotonic() - started - samples[-1][0] >= SAMPLE_S):
                samples.append((time.monotonic() - started, kb))
            time.sleep(1 if fs else SAMPLE_S)

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
        # Freed whatever happened, so the checks below read a file system with room.
        if fs:
            subprocess.run(["rm", "-f", os.path.join(fs, "filler")])
    if fs and (episode is None or episode[1] is None):
        say("soak: the run ended before the full-disk episode did")
        return 1

    cutoff = stopped_at - datetime.timedelta(seconds=GRACE_S)
    say("")
    say("device  fault      requests  (before end-%ds)  result lines  (with values)  verdict" % GRACE_S)
    lost = []
    total_req = total_lines = 0
    reports = loss_reports(os.path.join(root, "program.out"), os.path.join(root, "work")) if fs else {}
    told_total = 0
    for number in range(1, a.devices + 1):
        mode = faults.get(number, ("none", 0))[0]
        made, before = requests_of(sim_dir, number, cutoff)
        lines, values = result_lines_of(root, number)
        total_req += made
        total_lines += lines
        told = 0
        if fs:
            for path in glob.glob(os.path.join(root, "work", "Data", "LOG", "機器No%d" % number, "*.csv")):
                told += reports.get(os.path.realpath(path), [0, 0, 0])[2]
            told_total += told
        verdict = "ok" if lines + told >= before else "LOST %d" % (before - lines - told)
        if lines + told < before:
            lost.append(number)
        if fs:
            req_before, req_after = requests_around(sim_dir, number, episode[0], episode[1], cutoff)
            lines_before, lines_after = result_lines_around(root, number, episode[0], episode[1])
            if lines_before < req_before or lines_after < req_after:
                verdict = "LOST outside the episode: before %d/%d, after %d/%d" % (
                    lines_before, req_before, lines_after, req_after)
                lost.append(number)
            verdict += " (%d told lost)" % told
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
    if fs:
        say("")
        files, faults_found = check_logs(root)
        say("full disk: %s to %s; %d lines of the result logs told lost"
            % (episode[0].strftime("%H:%M:%S"), episode[1].strftime("%H:%M:%S"), told_total))
        unended = [(path, r) for path, r in sorted(reports.items()) if r[0] != r[1]]
        say("full disk: %d files told of a loss, %d episodes begun, %d ended, %d lines told lost in all"
            % (len(reports), sum(r[0] for r in reports.values()), sum(r[1] for r in reports.values()),
               sum(r[2] for r in reports.values())))
        for path, r in unended:
            say("  episode still open at the end (no append since): %s begun %d ended %d" % (path, r[0], r[1]))
        say("full disk: %d log files checked line by line, %d cut or mixed lines" % (files, len(faults_found)))
        for fault in faults_found[:20]:
            say("  " + fault)
        # A file told of a loss that wrote again must have told the end; only a file that
        # took no line after the disk was freed (an error log, say) may end still open.
        result_unended = [p for p, _ in unended if os.sep + "LOG" + os.sep in p]
        if faults_found or told_total == 0 or result_unended:
            ok = False
            if told_total == 0:
                say("full disk: no result line was lost: the episode tested nothing")
    say("")
    say("soak: %s" % ("every served result logged" if ok else
                      "FAILED: loss at devices %s, exit code %d" % (lost, code)))
    if fs:
        # The mount goes with this namespace: what is kept is a copy of its logs.
        if a.keep or not ok:
            shutil.copytree(fs, os.path.join(root, "logs"), symlinks=True,
                            ignore=shutil.ignore_patterns("lost+found"))
        subprocess.run(["umount", fs])
    if a.keep or not ok:
        say("soak: root kept at %s" % root)
    else:
        shutil.rmtree(root, ignore_errors=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
