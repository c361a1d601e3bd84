#!/usr/bin/python3
"""FTP service of one simulated level checker: receives the reboot marker.

    levelchecker_ftp.py --listen 127.0.0.1:PORT --device-dir DIR [--reboot-seconds S]
                        [--owner-pid PID]

A real FTP server (pyftpdlib) on loopback. The device login is "kv52gate" with the same
password; its home folder is DIR/ftp with the folder "data" in it. When a file named
".reboot" has been stored, the device reboots: the line "<iso-time> FTP STOR <path>" goes to
DIR/requests.log and DIR/reboot.json holds the time until which the device stays silent
(S seconds, default 30), which the relay honours by dropping every request meanwhile.

Port 0 binds a free port; the bound port is written to DIR/ftp.port once the server
listens. SIGTERM or SIGINT stop it; with --owner-pid it also stops once that process is gone.
"""

import argparse
import datetime
import json
import logging
import os
import signal
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from levelchecker_relay import process_alive  # noqa: E402

LOGIN = "kv52gate"
MARKER = ".reboot"


def write_json(path, data):
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        json.dump(data, f)
    os.replace(tmp, path)


def make_handler(folder, reboot_seconds):
    home = os.path.join(folder, "ftp")

    class DeviceHandler(FTPHandler):
        def on_file_received(self, file):
            if os.path.basename(file) != MARKER:
                return
            now = datetime.datetime.now()
            stamp = now.strftime("%Y-%m-%dT%H:%M:%S.") + "%03d" % (now.microsecond // 1000)
            shown = "/" + os.path.relpath(file, home).replace(os.sep, "/")
            with open(os.path.join(folder, "requests.log"), "a", encoding="utf-8") as log:
                log.write("%s FTP STOR %s\n" % (stamp, shown))
            write_json(os.path.join(folder, "reboot.json"),
                       {"silent_until": time.time() + reboot_seconds})

    return DeviceHandler, home


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--listen", required=True, help="HOST:PORT, loopback only")
    parser.add_argument("--device-dir", required=True)
    parser.add_argument("--reboot-seconds", type=float, default=30.0)
    parser.add_argument("--owner-pid", type=int, default=0)
    args = parser.parse_args()
    host, _, port = args.listen.rpartition(":")
    if not host.startswith("127."):
        sys.stderr.write("ftp: only loopback addresses are allowed\n")
        return 2
    logging.basicConfig(level=logging.WARNING)
    folder = os.path.abspath(args.device_dir)
    handler, home = make_handler(folder, max(0.0, args.reboot_seconds))
    os.makedirs(os.path.join(home, "data"), exist_ok=True)
    authorizer = DummyAuthorizer()
    authorizer.add_user(LOGIN, LOGIN, home, perm="elradfmw")
    handler.authorizer = authorizer
    handler.banner = "level checker ready"
    handler.passive_ports = None
    try:
        server = FTPServer((host, int(port)), handler)
    except OSError as e:
        sys.stderr.write("ftp: cannot listen on %s: %s\n" % (args.listen, e))
        return 3

    running = [True]

    def stop(_signum, _frame):
        running[0] = False

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    port_file = os.path.join(folder, "ftp.port")
    with open(port_file + ".tmp", "w") as f:
        f.write("%d\n" % server.address[1])
    os.replace(port_file + ".tmp", port_file)
    while running[0]:
        server.serve_forever(timeout=0.2, blocking=False)
        if args.owner_pid and not process_alive(args.owner_pid):
            break
    server.close_all()
    return 0


if __name__ == "__main__":
    sys.exit(main())
