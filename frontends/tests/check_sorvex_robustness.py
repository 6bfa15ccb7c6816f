#!/usr/bin/env python3
"""A Python client against the real Sorvex.exe on 127.0.0.1:8188.

  check_sorvex_robustness.py WINE SORVEX_EXE PACKAGE WORK_DIR

Sorvex runs under Wine in WORK_DIR with the package and a readme holding "<"
and "&". While it runs, its only listening socket is 127.0.0.1:8188. Clients
send split messages, three messages in one piece, a quoted destination, a
second client's requests, an oversized message, random bytes and an early
close: Sorvex serves every session on its own connection, never crashes,
ends cleanly about seven seconds after the first session ended, and logs each
error. Last, with the port taken, Sorvex ends at once with the reason logged
and never starts its GUI program.
"""
import os
import random
import shutil
import socket
import subprocess
import sys
import time

WINE, SORVEX, PACKAGE, WORK = sys.argv[1:5]
SORVEX_BUILT = SORVEX
PORT = 8188


def fail(msg):
    print("FAIL:", msg)
    log = os.path.join(WORK, "Sorvex.log")
    if os.path.exists(log):
        print("== Sorvex.log")
        print(open(log, "rb").read().decode("latin-1")[-6000:])
    sys.exit(1)


def winpath(p):
    return "Z:" + os.path.abspath(p).replace("/", "\\")


class Client:
    def __init__(self):
        deadline = time.time() + 60
        while True:
            try:
                self.s = socket.create_connection(("127.0.0.1", PORT), timeout=5)
                break
            except OSError:
                if time.time() > deadline:
                    fail("cannot connect to 127.0.0.1:%d" % PORT)
                time.sleep(0.2)
        self.s.settimeout(30)
        self.buf = b""

    def send(self, data):
        self.s.sendall(data)

    def message(self, timeout=30):
        self.s.settimeout(timeout)
        while b"\0" not in self.buf:
            chunk = self.s.recv(65536)
            if not chunk:
                return None
            self.buf += chunk
        m, _, self.buf = self.buf.partition(b"\0")
        return m.decode("latin-1")

    def nothing_within(self, seconds):
        self.s.settimeout(seconds)
        try:
            chunk = self.s.recv(65536)
        except socket.timeout:
            return True
        self.buf += chunk
        return False

    def closed_within(self, seconds):
        self.s.settimeout(seconds)
        try:
            while True:
                chunk = self.s.recv(65536)
                if not chunk:
                    return True
        except ConnectionResetError:
            return True  # closed with our bytes still unread on its side
        except socket.timeout:
            return False

    def close(self):
        self.s.close()


def listeners():
    """Listening sockets on port 8188 and those Sorvex holds: (local address, line)."""
    out = subprocess.run(["ss", "-ltnpH"], capture_output=True, text=True).stdout
    found = []
    for line in out.splitlines():
        fields = line.split()
        if len(fields) < 4:
            continue
        local = fields[3]
        if local.endswith(":%d" % PORT) or "sorvex" in line.lower():
            found.append((local, line))
    return found


def start(args):
    return subprocess.Popen([WINE, SORVEX] + args, cwd=WORK, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def log_text():
    return open(os.path.join(WORK, "Sorvex.log"), "rb").read().decode("latin-1").replace("\r", "")


def main():
    global SORVEX
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    shutil.copy(SORVEX, os.path.join(WORK, "Sorvex.exe"))
    shutil.copy(PACKAGE, os.path.join(WORK, "Sample.msi"))
    readme = "Read <this> & that\r\nsecond line"
    open(os.path.join(WORK, "readme.txt"), "wb").write(readme.encode())
    open(os.path.join(WORK, "setup.ini"), "wb").write(b"[Setup]\r\nMsiname=Sample.msi\r\nPerUser=false\r\n")
    SORVEX = os.path.join(WORK, "Sorvex.exe")

    # The port is the machine's, not this test run's: a Sorvex of another run
    # (another build tree's tests) would answer in place of ours.
    taken = [line for local, line in listeners() if local.endswith(":%d" % PORT)]
    if taken:
        fail("port %d is already taken by another program: %r" % (PORT, taken))

    proc = start(["Sample.msi"])
    a = Client()
    greeting = a.message()
    if greeting is None or "<ProductName>Sample</ProductName>" not in greeting:
        fail("greeting: %r" % greeting)
    if "<Readme>Read <this> & that\nsecond line</Readme>" not in greeting:
        fail("the readme is not sent unchanged: %r" % greeting)
    if "<PerUser>false</PerUser>" not in greeting:
        fail("PerUser not from setup.ini: %r" % greeting)

    # Its only listener: 127.0.0.1:8188.
    found = listeners()
    if not found or any(local != "127.0.0.1:%d" % PORT for local, _ in found):
        fail("Sorvex listens on %r" % [line for _, line in found])

    # A message split across reads is put together.
    a.send(b"Directory::C:\\Sp")
    time.sleep(0.5)
    a.send(b"lit\\Folder\0Type::Typical\0")
    r = a.message()
    if r is None or "<DestinationPath>C:\\Split\\Folder</DestinationPath>" not in r:
        fail("split message: %r" % r)
    # Three messages in one piece are taken one by one.
    a.send(b"Group::G1\0Info::Ann::Co::K\0Type::Typical\0")
    r = a.message()
    if r is None or "<Group>G1</Group>" not in r or "<CustomerName>Ann</CustomerName>" not in r:
        fail("three messages in one piece: %r" % r)
    # A destination holding a double quote installs nothing.
    a.send(b'Directory::C:\\x" REBOOT="Force\0Install::\0')
    if not a.nothing_within(3):
        fail("a quoted destination got an answer: %r" % a.buf)

    # A second client is served on its own connection.
    b = Client()
    if b.message() is None:
        fail("no greeting for the second client")
    b.send(b"Directory::C:\\Second\0Type::Complete\0")
    r = b.message()
    if r is None or "<DestinationPath>C:\\Second</DestinationPath>" not in r:
        fail("second client: %r" % r)
    if not a.nothing_within(1):
        fail("the first client got the second one's reply: %r" % a.buf)

    # An oversized message ends its session (and starts Sorvex's end).
    c = Client()
    c.message()
    try:
        c.send(b"Directory::" + b"x" * (2 * 1024 * 1024))
    except OSError:
        pass
    if not c.closed_within(20):
        fail("the oversized message did not end its session")
    # Random bytes, then an early close; and a client that leaves at once.
    d = Client()
    d.message()
    rnd = random.Random(12)
    try:
        d.send(bytes(rnd.randrange(256) for _ in range(20000)))
    except OSError:
        pass  # the first garbage without "::" may already have ended the session
    d.close()
    e = Client()
    e.close()
    # The first client is still served.
    a.send(b"Type::Typical\0")
    r = a.message()
    if r is None or "<Settings>" not in r:
        fail("the first client is no longer served: %r" % r)

    try:
        code = proc.wait(timeout=60)
    except subprocess.TimeoutExpired:
        proc.kill()
        fail("Sorvex did not end after the sessions")
    if code != 0:
        fail("Sorvex ended with %d" % code)
    log = log_text()
    for text in ("Install refused: The destination", "Session ended: ", "Sorvex ends"):
        if text not in log:
            fail("the log lacks %r" % text)
    if "Message" not in log and "limit" not in log and "long" not in log:
        fail("the oversized message is not logged")
    print("sessions served and ended cleanly; errors logged")

    # The port taken: Sorvex ends before its GUI program starts, saying why.
    os.replace(os.path.join(WORK, "Sorvex.log"), os.path.join(WORK, "Sorvex-sessions.log"))
    shutil.copy(os.path.join(os.path.dirname(SORVEX_BUILT), "FlashGui.exe"), os.path.join(WORK, "FlashGui.exe"))
    blocker = socket.socket()
    # The sessions above leave connections in TIME_WAIT on the port.
    blocker.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    blocker.bind(("127.0.0.1", PORT))
    blocker.listen(1)
    proc = start(["Sample.msi", "FlashGui.exe"])
    try:
        code = proc.wait(timeout=60)
    except subprocess.TimeoutExpired:
        proc.kill()
        fail("Sorvex did not end on a busy port")
    blocker.close()
    log = log_text()
    if "Unhandled Exception: Could not bind socket. Address and port are already in use." not in log:
        fail("the busy port is not logged")
    if os.path.exists(os.path.join(WORK, "FlashGui.log")):
        fail("the GUI program was started on a busy port")
    print("busy port: Sorvex ended with %d, reason logged, GUI program not started" % code)


main()
