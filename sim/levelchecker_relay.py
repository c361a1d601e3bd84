#!/usr/bin/python3
"""UDP relay in front of the snmpd of one simulated level checker.

    levelchecker_relay.py --listen 127.0.0.1:PORT --agent AGENT_PORT --device-dir DIR

The relay is the device's address as the monitor sees it. It logs every request it
receives to DIR/requests.log (the real PDUs, so a SET is logged once, without the GETs
snmpd makes internally before it), then applies the transport fault of DIR/fault.json:

    none, wrongchannel, range, nosignal   forward to snmpd (value faults are the handler's)
    silent                                drop the request, no answer at all
    error                                 answer itself: GetResponse, error-status genErr
    slow                                  forward after delay_ms milliseconds

While the device reboots (DIR/reboot.json, written by its FTP service on the reboot
marker) every request is dropped, as for silent.

Port 0 binds a free port; the bound port is written to DIR/relay.port once the relay
listens. SIGTERM or SIGINT stop it cleanly. With --owner-pid the relay also stops, and
takes its snmpd (--agent-pid, else DIR/snmpd.pid) with it, once that process is gone, so a
test that crashed leaves no devices behind, even when DIR went with the test. Loopback only. Standard library only.
"""

import argparse
import datetime
import heapq
import json
import os
import selectors
import signal
import socket
import sys
import time

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import snmp_ber  # noqa: E402

PREFIX = ".1.3.6.1.4.1.52817.1.70."
IDLE_UPSTREAM_S = 30.0


def suffix_text(oid):
    if oid.startswith(PREFIX):
        rest = oid[len(PREFIX):]
        return rest[:-2] if rest.endswith(".0") else rest
    return oid


def value_text(kind, value):
    if kind == "octets":
        text = value.decode("utf-8", "replace")
        return "".join(c if c.isprintable() else "\\x%02x" % ord(c) for c in text)
    if kind in ("null", "exception"):
        return ""
    return str(value)


def process_alive(pid):
    """True while the process exists and is not a zombie."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            state = f.read().rpartition(")")[2].split()
    except OSError:
        return False
    return bool(state) and state[0] not in ("Z", "X")


def agent_pid(folder):
    """The PID of this device's snmpd from its pid file, while that PID is still that snmpd;
    0 otherwise."""
    try:
        with open(os.path.join(folder, "snmpd.pid")) as f:
            pid = int(f.read().strip())
    except (OSError, ValueError):
        return 0
    return pid if is_agent(pid, folder) else 0


def is_agent(pid, folder):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            cmdline = f.read().decode("utf-8", "replace")
    except OSError:
        return False
    return os.path.join(folder, "snmpd.conf") in cmdline


def stop_agent(folder, pid):
    """Ends the snmpd of this device, when the PID is still that snmpd."""
    if pid and is_agent(pid, folder):
        try:
            os.kill(pid, signal.SIGTERM)
        except OSError:
            pass


class FaultFile:
    """DIR/fault.json, read again for every request: a switch is seen at once, however
    quickly it follows the one before (a change test by time stamp could miss one)."""

    def __init__(self, path):
        self.path = path

    def current(self):
        try:
            with open(self.path, encoding="utf-8") as f:
                data = json.load(f)
            return str(data.get("mode", "none")), max(0, int(data.get("delay_ms", 0)))
        except (OSError, ValueError, TypeError, AttributeError):
            return "none", 0


class RebootFile:
    """DIR/reboot.json, written by the device's FTP service when it received the reboot
    marker: until "silent_until" (epoch seconds) the device answers nothing."""

    def __init__(self, path):
        self.path = path

    def rebooting(self):
        try:
            with open(self.path, encoding="utf-8") as f:
                until = float(json.load(f).get("silent_until", 0))
        except (OSError, ValueError, TypeError, AttributeError):
            return False
        return time.time() < until


class Relay:
    def __init__(self, listen_host, listen_port, agent_port, folder, owner_pid=0, agent_pid=0):
        self.folder = folder
        self.owner_pid = owner_pid
        # Given by the starter, else learnt while the folder is there: a test that fails may
        # remove it before its process ends, and its snmpd must end all the same.
        self.agent_pid = agent_pid
        self.owner_lost = False
        self.agent = ("127.0.0.1", agent_port)
        self.fault = FaultFile(os.path.join(folder, "fault.json"))
        self.reboot = RebootFile(os.path.join(folder, "reboot.json"))
        self.log = open(os.path.join(folder, "requests.log"), "a", encoding="utf-8")
        self.selector = selectors.DefaultSelector()
        self.public = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.public.bind((listen_host, listen_port))
        self.public.setblocking(False)
        self.selector.register(self.public, selectors.EVENT_READ, None)
        self.upstreams = {}      # client address -> [socket, last use]
        self.timers = []         # (due, sequence, client, datagram)
        self.sequence = 0
        self.running = True
        # A signal writes into this pair so that a stop request ends the select at once.
        self.wake_read, self.wake_write = socket.socketpair()
        self.wake_read.setblocking(False)
        self.wake_write.setblocking(False)
        self.selector.register(self.wake_read, selectors.EVENT_READ, "wake")

    @property
    def port(self):
        return self.public.getsockname()[1]

    def write_log(self, datagram):
        now = datetime.datetime.now()
        stamp = now.strftime("%Y-%m-%dT%H:%M:%S.") + "%03d" % (now.microsecond // 1000)
        try:
            message = snmp_ber.Message(datagram)
        except ValueError as e:
            self.log.write("%s BAD %d bytes (%s)\n" % (stamp, len(datagram), e))
            self.log.flush()
            return None
        for oid, kind, value in message.varbinds:
            line = "%s %s %s" % (stamp, message.pdu_name, suffix_text(oid))
            if message.pdu_type == snmp_ber.SET_REQUEST:
                line += " " + value_text(kind, value)
            self.log.write(line.rstrip(" ") + "\n")
        self.log.flush()
        return message

    def upstream_for(self, client):
        entry = self.upstreams.get(client)
        if entry is None:
            sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
            sock.bind(("127.0.0.1", 0))
            sock.setblocking(False)
            self.selector.register(sock, selectors.EVENT_READ, client)
            entry = [sock, time.monotonic()]
            self.upstreams[client] = entry
        entry[1] = time.monotonic()
        return entry[0]

    def forward(self, client, datagram):
        try:
            self.upstream_for(client).sendto(datagram, self.agent)
        except OSError:
            pass

    def on_request(self, datagram, client):
        message = self.write_log(datagram)
        mode, delay_ms = self.fault.current()
        if mode == "silent" or self.reboot.rebooting():
            return
        if mode == "error":
            if message is not None and message.pdu_type != snmp_ber.GET_RESPONSE:
                try:
                    self.public.sendto(message.error_reply(), client)
                except OSError:
                    pass
            return
        if mode == "slow" and delay_ms > 0:
            self.sequence += 1
            heapq.heappush(self.timers, (time.monotonic() + delay_ms / 1000.0,
                                         self.sequence, client, datagram))
            return
        self.forward(client, datagram)

    def on_reply(self, sock, client):
        try:
            data = sock.recv(65535)
        except OSError:
            return
        try:
            self.public.sendto(data, client)
        except OSError:
            pass

    def drop_idle(self):
        now = time.monotonic()
        for client, (sock, last) in list(self.upstreams.items()):
            if now - last > IDLE_UPSTREAM_S:
                self.selector.unregister(sock)
                sock.close()
                del self.upstreams[client]

    def run(self):
        while self.running:
            timeout = 0.5
            if self.timers:
                timeout = max(0.0, min(timeout, self.timers[0][0] - time.monotonic()))
            for key, _ in self.selector.select(timeout):
                if key.data == "wake":
                    try:
                        self.wake_read.recv(64)
                    except OSError:
                        pass
                elif key.data is None:
                    try:
                        datagram, client = self.public.recvfrom(65535)
                    except OSError:
                        continue
                    self.on_request(datagram, client)
                else:
                    self.on_reply(key.fileobj, key.data)
            now = time.monotonic()
            while self.timers and self.timers[0][0] <= now:
                _, _, client, datagram = heapq.heappop(self.timers)
                self.forward(client, datagram)
            self.drop_idle()
            if self.owner_pid and not self.agent_pid:
                self.agent_pid = agent_pid(self.folder)
            if self.owner_pid and not process_alive(self.owner_pid):
                self.owner_lost = True
                self.running = False
        self.close()
        if self.owner_lost:
            stop_agent(self.folder, self.agent_pid or agent_pid(self.folder))

    def close(self):
        for sock, _ in self.upstreams.values():
            sock.close()
        self.upstreams.clear()
        self.selector.close()
        self.wake_read.close()
        self.wake_write.close()
        self.public.close()
        self.log.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--listen", required=True, help="HOST:PORT, loopback only")
    parser.add_argument("--agent", required=True, type=int, help="port of snmpd on 127.0.0.1")
    parser.add_argument("--device-dir", required=True)
    parser.add_argument("--owner-pid", type=int, default=0)
    parser.add_argument("--agent-pid", type=int, default=0, help="PID of that snmpd")
    args = parser.parse_args()
    host, _, port = args.listen.rpartition(":")
    if not host.startswith("127."):
        sys.stderr.write("relay: only loopback addresses are allowed\n")
        return 2
    try:
        relay = Relay(host, int(port), args.agent, args.device_dir, args.owner_pid, args.agent_pid)
    except OSError as e:
        sys.stderr.write("relay: cannot listen on %s: %s\n" % (args.listen, e))
        return 3

    def stop(_signum, _frame):
        relay.running = False

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    signal.set_wakeup_fd(relay.wake_write.fileno(), warn_on_full_buffer=False)
    port_file = os.path.join(args.device_dir, "relay.port")
    with open(port_file + ".tmp", "w") as f:
        f.write("%d\n" % relay.port)
    os.replace(port_file + ".tmp", port_file)
    relay.run()
    return 0


if __name__ == "__main__":
    sys.exit(main())
