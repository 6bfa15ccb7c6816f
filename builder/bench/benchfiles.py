#!/usr/bin/env python3
# Writes the source files of one benchmark project: COUNT files of about
# TOTAL_MB megabytes in all, named file00000.txt, ... in FOLDER, the same bytes
# on every run (fixed seed). Sizes spread from 1 KB to eight times the mean;
# the contents are a mix of text (compresses well), random bytes (does not)
# and repeated blocks with small changes (compresses very well).
#   benchfiles.py FOLDER COUNT TOTAL_MB
import math
import os
import random
import sys

SEED = 20240917


def sizes(rnd, count, total):
    mean = total / count
    low, high = math.log(1024), math.log(8 * mean)
    raw = [math.exp(rnd.uniform(low, high)) for _ in range(count)]
    scale = total / sum(raw)
    out = [max(1, int(r * scale)) for r in raw]
    out[-1] += total - sum(out)
    return out


def text_pool(rnd):
    words = ("the package cabinet installer folder component feature file setup choice "
             "directory version product update registry shortcut stream member sequence "
             "a of to and in for with is on").split()
    lines = []
    for _ in range(60000):
        lines.append(" ".join(rnd.choice(words) for _ in range(rnd.randrange(4, 14))))
    return ("\r\n".join(lines) + "\r\n").encode()


def text(rnd, pool, size):
    start = rnd.randrange(len(pool))
    if start + size <= len(pool):
        return pool[start:start + size]
    data = (pool[start:] + pool) * (size // len(pool) + 1)
    return data[:size]


def repeated(rnd, size):
    block = rnd.randbytes(rnd.randrange(16, 512))
    data = bytearray((block * (size // len(block) + 1))[:size])
    for at in range(0, size, 4096):
        data[at] = rnd.randrange(256)
    return bytes(data)


def main():
    folder, count, total_mb = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rnd = random.Random(SEED + count)
    pool = text_pool(rnd)
    os.makedirs(folder, exist_ok=True)
    for i, size in enumerate(sizes(rnd, count, total_mb * 1000 * 1000)):
        kind = rnd.random()
        if kind < 0.4:
            name, data = "txt", text(rnd, pool, size)
        elif kind < 0.7:
            name, data = "bin", rnd.randbytes(size)
        else:
            name, data = "dat", repeated(rnd, size)
        with open(os.path.join(folder, "file%05d.%s" % (i, name)), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
