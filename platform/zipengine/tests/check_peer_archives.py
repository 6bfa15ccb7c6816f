#!/usr/bin/env python3
"""Checks the archives the engine tests wrote with the host's own unzip.

Usage: check_peer_archives.py FOLDER
For each archive X (a zip archive or a self-extractor) with an X.expect beside it: `unzip -tq` must pass (with the
password from X.password when there is one), `unzip -Z1` must list the
expected names in order, and `unzip -Zs` must show the expected methods.
"""
import os
import subprocess
import sys


def run(args):
    return subprocess.run(args, capture_output=True, text=True, encoding="latin-1")


def main():
    folder = sys.argv[1]
    failures = []
    checked = 0
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".expect"):
            continue
        archive = os.path.join(folder, name[: -len(".expect")])
        with open(os.path.join(folder, name), encoding="latin-1") as f:
            expected = [line.rstrip("\n").split("\t", 1) for line in f if line.strip()]
        pw_file = archive + ".password"
        test = ["unzip", "-tq"]
        if os.path.exists(pw_file):
            with open(pw_file, encoding="latin-1") as f:
                test += ["-P", f.read()]
        r = run(test + [archive])
        if r.returncode != 0:
            failures.append(f"{archive}: unzip -tq failed ({r.returncode}): {r.stdout}{r.stderr}")
        r = run(["unzip", "-Z1", archive])
        names = r.stdout.splitlines()
        if names != [e[1] for e in expected]:
            failures.append(f"{archive}: names {names} != {[e[1] for e in expected]}")
        r = run(["unzip", "-Zs", archive])
        methods = []
        for line in r.stdout.splitlines():
            fields = line.split(None, 8)
            if len(fields) == 9 and fields[2] in ("fat", "unx", "ntf"):
                methods.append((fields[5], fields[8]))
        if methods != [(e[0], e[1]) for e in expected]:
            failures.append(f"{archive}: methods {methods} != {[tuple(e) for e in expected]}")
        checked += 1
    for f in failures:
        print("FAIL", f)
    print(f"{checked} archives checked")
    if checked == 0:
        print("FAIL no archives found in", folder)
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
