#!/usr/bin/python3
"""Writes the benchmark package: the same bytes for the same seed.

About 60 MB of content: about 400 files in about 60 nested folders; text, ini and xml
that compress well, random bytes standing for already compressed assets, and one 20 MB
binary.
"""
import random
import sys
import zipfile

WORDS = ("zorvane launcher patch realm guild quest sword shield potion mana forge "
         "dungeon raid loot armor helm boots ring amulet scroll rune bow arrow").split()
DATE = (2026, 12, 9, 12, 30, 0)


def text(rng, size):
    out, total = [], 0
    while total < size:
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 14))) + "\r\n"
        out.append(line)
        total += len(line)
    return "".join(out).encode()[:size]


def ini(rng, size):
    out, total, section = [], 0, 0
    while total < size:
        section += 1
        block = "[section%d]\r\n" % section + "".join(
            "%s_%d=%d\r\n" % (rng.choice(WORDS), i, rng.randint(0, 99999)) for i in range(12))
        out.append(block)
        total += len(block)
    return "".join(out).encode()[:size]


def xml(rng, size):
    out, total = ["<?xml version=\"1.0\"?>\r\n<items>\r\n"], 0
    while total < size:
        item = '  <item id="%d" name="%s" level="%d" />\r\n' % (
            rng.randint(1, 10**6), rng.choice(WORDS), rng.randint(1, 80))
        out.append(item)
        total += len(item)
    out.append("</items>\r\n")
    return "".join(out).encode()[:size]


def main(path, seed=20261209):
    rng = random.Random(seed)
    folders = [""]
    while len(folders) < 60:
        parent = rng.choice(folders)
        folders.append((parent + "/" if parent else "") + "%s%d" % (rng.choice(WORDS), len(folders)))
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as zf:
        def add(name, data):
            info = zipfile.ZipInfo(name, DATE)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0x20
            zf.writestr(info, data)
        for folder in folders[1:]:
            info = zipfile.ZipInfo(folder + "/", DATE)
            info.external_attr = 0x10
            zf.writestr(info, b"")
        add("bin/Zorvane.bin", rng.randbytes(20 * 1024 * 1024))
        for n in range(400):
            folder = rng.choice(folders)
            kind = rng.random()
            if kind < 0.35:
                name, data = "pack%03d.dat" % n, rng.randbytes(rng.randint(60, 220) * 1024)
            elif kind < 0.65:
                name, data = "notes%03d.txt" % n, text(rng, rng.randint(2, 120) * 1024)
            elif kind < 0.85:
                name, data = "conf%03d.ini" % n, ini(rng, rng.randint(1, 60) * 1024)
            else:
                name, data = "items%03d.xml" % n, xml(rng, rng.randint(4, 200) * 1024)
            add((folder + "/" if folder else "") + name, data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
