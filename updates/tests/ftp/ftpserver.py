#!/usr/bin/python3
"""A local FTP server for the FTP client's tests.

    ftpserver.py WORK USER PASSWORD

Serves WORK/root for one account on 127.0.0.1 and a port the system picks,
and writes the port into WORK/port once it listens. Every command received
is appended to WORK/commands.log as one line ("PASS ****" for the password);
a command the server refuses gets " -> 550" after it.

WORK/knobs (read afresh for every command) names commands to refuse with
550, one per line:
    STOR              every STOR
    MKD /updates      MKD with exactly that argument
    STOR #2           the second STOR since the server started
The server ends when WORK/stop appears or WORK is removed (or after ten
minutes), removing WORK/port as it goes.
"""
import logging
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

work, user, password = sys.argv[1:4]
root = os.path.join(work, "root")
os.makedirs(root, exist_ok=True)
counts = {}


def log(line):
    with open(os.path.join(work, "commands.log"), "a") as f:
        f.write(line + "\n")


def refused(cmd, arg, nth):
    try:
        with open(os.path.join(work, "knobs")) as f:
            knobs = [k.strip() for k in f if k.strip()]
    except FileNotFoundError:
        return False
    for knob in knobs:
        name, _, rest = knob.partition(" ")
        if name.upper() != cmd:
            continue
        if not rest or rest == arg or rest == "#%d" % nth:
            return True
    return False


class Handler(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        counts[cmd] = counts.get(cmd, 0) + 1
        text = "PASS ****" if cmd == "PASS" else line
        if refused(cmd, arg or "", counts[cmd]):
            log(text + " -> 550")
            self.respond("550 Refused by the test.")
            return
        log(text)
        super().pre_process_command(line, cmd, arg)


logging.basicConfig(level=logging.ERROR)  # quiet: the command log is the record
logging.getLogger("pyftpdlib").setLevel(logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm="elradfmwMT")
Handler.authorizer = authorizer
Handler.banner = "test server ready"
Handler.auth_failed_timeout = 0  # answer a wrong password at once
server = FTPServer(("127.0.0.1", 0), Handler)
port = server.socket.getsockname()[1]
with open(os.path.join(work, "port.tmp"), "w") as f:
    f.write(str(port))
os.replace(os.path.join(work, "port.tmp"), os.path.join(work, "port"))
deadline = time.monotonic() + 600
stop = os.path.join(work, "stop")
# Also ends when the work folder is gone (the test's temporary folder removed).
while os.path.isdir(work) and not os.path.exists(stop) and time.monotonic() < deadline:
    server.ioloop.loop(timeout=0.05, blocking=False)
server.close_all()
try:
    os.remove(os.path.join(work, "port"))  # tells the test the server has gone
except OSError:
    pass
