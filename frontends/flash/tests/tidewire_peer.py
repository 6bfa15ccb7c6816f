#!/usr/bin/env python3
"""Drives the listener library from outside Wine with real TCP clients.

Usage: tidewire_peer.py <wine-run.sh> <TidewireEchoHost.exe>

The host listens on 127.0.0.1 on a port the system picks and echoes every
NUL-ended message as "echo:" + message. Checks: the only listening address is
127.0.0.1, a message split across sends is put together, several messages in one
send come back one by one, random bytes, two clients at once, a message over
1 MiB ends that connection with a logged error, an early close, and the host
deactivates and ends cleanly.
"""
import os
import random
import socket
import subprocess
import sys
import threading
import time

TIMEOUT = 60


def fail(msg):
    print("FAIL:", msg)
    sys.exit(1)


class Host:
    def __init__(self, runner, exe):
        self.proc = subprocess.Popen([runner, exe], stdout=subprocess.PIPE, stdin=subprocess.DEVNULL,
                                     text=True, errors="replace")
        self.lines = []
        self.cond = threading.Condition()
        threading.Thread(target=self._pump, daemon=True).start()

    def _pump(self):
        for line in self.proc.stdout:
            with self.cond:
                self.lines.append(line.rstrip("\r\n"))
                self.cond.notify_all()
        with self.cond:
            self.lines.append(None)
            self.cond.notify_all()

    def wait_line(self, pred, what):
        deadline = time.time() + TIMEOUT
        with self.cond:
            while True:
                for line in self.lines:
                    if line is not None and pred(line):
                        return line
                if None in self.lines:
                    fail("host ended before " + what + ": " + repr(self.lines))
                left = deadline - time.time()
                if left <= 0:
                    fail("no " + what + " from the host: " + repr(self.lines))
                self.cond.wait(left)


def connect(port):
    s = socket.create_connection(("127.0.0.1", port), timeout=TIMEOUT)
    return s


def read_messages(s, count):
    data = b""
    while data.count(b"\0") < count:
        part = s.recv(65536)
        if not part:
            fail("connection closed after %r" % data[:200])
        data += part
    return data


def listening_addresses(port):
    found = []
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        with open(table) as f:
            next(f)
            for row in f:
                fields = row.split()
                addr, state = fields[1], fields[3]
                host, hexport = addr.rsplit(":", 1)
                if state == "0A" and int(hexport, 16) == port:
                    found.append(host)
    return found


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    host = Host(runner, exe)
    port = int(host.wait_line(lambda l: l.startswith("port "), "port").split()[1])

    addrs = listening_addresses(port)
    if addrs != ["0100007F"]:
        fail("listening on %r, expected 127.0.0.1 only" % addrs)

    a = connect(port)
    # Split across sends, with pauses so that each part is a read of its own.
    for part in (b"Directory::C:\\Pro", b"gram Files\\", b"App\0"):
        a.sendall(part)
        time.sleep(0.2)
    got = read_messages(a, 1)
    if got != b"echo:Directory::C:\\Program Files\\App\0":
        fail("split message came back as %r" % got)

    # Three in one send.
    a.sendall(b"Type::Typical\0Group::Tools\0Info::x::y::z\0")
    got = read_messages(a, 3)
    if got != b"echo:Type::Typical\0echo:Group::Tools\0echo:Info::x::y::z\0":
        fail("three messages came back as %r" % got)

    # A second client while the first is connected; both are served.
    b = connect(port)
    b.sendall(b"Type::Custom\0")
    a.sendall(b"Type::Complete\0")
    if read_messages(b, 1) != b"echo:Type::Custom\0" or read_messages(a, 1) != b"echo:Type::Complete\0":
        fail("two clients were mixed up")

    # Random bytes with NULs among them, in random pieces.
    rnd = random.Random(12)
    blob = bytes(rnd.randrange(256) for _ in range(20000)) + b"\0"
    pos = 0
    while pos < len(blob):
        n = rnd.randrange(1, 3000)
        b.sendall(blob[pos:pos + n])
        pos += n
    pieces = blob.split(b"\0")[:-1]
    got = read_messages(b, len(pieces))
    if got != b"".join(b"echo:" + p + b"\0" for p in pieces):
        fail("random bytes came back changed")

    # Over 1 MiB before its NUL: the host drops that connection and logs it.
    c = connect(port)
    try:
        c.sendall(b"x" * ((1 << 20) + 4096))
    except OSError:
        pass
    c.settimeout(TIMEOUT)
    try:
        rest = c.recv(100)
    except ConnectionResetError:
        rest = b""
    if rest != b"":
        fail("oversized message answered with %r" % rest)
    host.wait_line(lambda l: l.startswith("error: Message longer than 1048576 bytes"), "oversize error")
    c.close()

    # The others go on.
    a.sendall(b"Directory::D:\\\0")
    if read_messages(a, 1) != b"echo:Directory::D:\\\0":
        fail("first client not served after the oversized one")

    # Early close in the middle of a message.
    b.sendall(b"Group::half")
    b.close()

    a.sendall(b"Stop::\0")
    host.wait_line(lambda l: l == "inactive", "deactivation")
    host.wait_line(lambda l: l == "end", "end")
    code = host.proc.wait(timeout=TIMEOUT)
    a.close()
    errors = [l for l in host.lines if l and l.startswith("error:")]
    if len(errors) != 1:
        fail("unexpected errors: %r" % errors)
    if code != 0:
        fail("host exit code %d" % code)
    if listening_addresses(port):
        fail("still listening after the end")
    print("ok:", len(host.lines), "host lines")


if __name__ == "__main__":
    main()
