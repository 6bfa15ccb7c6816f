"""Reads a spanned zip set (the volume files in order) on its own and checks
its placement data: the first volume starts with the spanning signature, the
end record on the last volume names that volume, the directory's volume and
offset point at the first central header, and every central header's disk
number and local-header offset point at that member's local header."""
import struct
import sys

vols = [open(p, "rb").read() for p in sys.argv[1:]]
problems = []

last = vols[-1]
eocd = last.rfind(b"PK\x05\x06")
if eocd < 0:
    sys.exit("FAIL: no end record on the last volume")
(this_disk, cd_disk, n_disk, n_total, cd_size, cd_off, clen) = struct.unpack("<HHHHIIH", last[eocd + 4:eocd + 22])
if vols[0][:4] != b"PK\x07\x08":
    problems.append("first volume lacks the spanning signature")
if this_disk != len(vols) - 1:
    problems.append("end record's disk %d, expected %d" % (this_disk, len(vols) - 1))
if n_disk != n_total:
    problems.append("entry counts differ: %d on disk, %d total" % (n_disk, n_total))

# The directory may itself run on over volumes: read it as one stream.
stream = b"".join([vols[cd_disk][cd_off:]] + vols[cd_disk + 1:])
if stream[:4] != b"PK\x01\x02":
    problems.append("directory disk %d offset %d is not a central header" % (cd_disk, cd_off))
pos = 0
for i in range(n_total):
    if stream[pos:pos + 4] != b"PK\x01\x02":
        problems.append("central header %d missing" % i)
        break
    f = struct.unpack("<IHHHHHHIIIHHHHHII", stream[pos:pos + 46])
    nlen, xlen, mlen, disk, local = f[10], f[11], f[12], f[13], f[16]
    name = stream[pos + 46:pos + 46 + nlen]
    if disk >= len(vols):
        problems.append("%r: disk %d beyond the set" % (name, disk))
    else:
        v = vols[disk]
        if v[local:local + 4] != b"PK\x03\x04":
            problems.append("%r: disk %d offset %d is not a local header" % (name, disk, local))
        else:
            lnlen = struct.unpack("<H", v[local + 26:local + 28])[0]
            if v[local + 30:local + 30 + lnlen] != name:
                problems.append("%r: the local header there names %r" % (name, v[local + 30:local + 30 + lnlen]))
    pos += 46 + nlen + xlen + mlen
if problems:
    sys.exit("FAIL: " + "; ".join(problems))
print("spanned set of %d volumes: %d entries, directory on disk %d at %d, placement data consistent"
      % (len(vols), n_total, cd_disk, cd_off))
