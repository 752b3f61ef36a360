#!/usr/bin/python3
"""Inspects the shipping executable without starting it: a 32-bit GUI program that imports
only system libraries, carries FileVersion 3.0.0.4 and has no loopback test host in it."""
import re
import struct
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comctl32.dll",
    "gdiplus.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "urlmon.dll", "version.dll",
    "shlwapi.dll", "msimg32.dll", "uxtheme.dll", "comdlg32.dll", "ws2_32.dll", "winmm.dll",
}


def fail(message):
    print("release check failed:", message)
    sys.exit(1)


def main(path):
    data = open(path, "rb").read()
    if data[:2] != b"MZ":
        fail("not an MZ executable")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        fail("no PE header")
    machine, sections = struct.unpack_from("<HH", data, pe + 4)
    if machine != 0x14C:
        fail("machine 0x%X is not i386" % machine)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    if magic != 0x10B:
        fail("not a PE32 (32-bit) optional header")
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    if subsystem != 2:
        fail("subsystem %d is not the Windows GUI" % subsystem)

    # Section table, to turn the import directory's addresses into file offsets.
    opt_size = struct.unpack_from("<H", data, pe + 20)[0]
    table = opt + opt_size
    spans = []
    for i in range(sections):
        _, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", data, table + i * 40)
        spans.append((vaddr, max(vsize, rsize), raw))

    def offset(rva):
        for vaddr, size, raw in spans:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raw
        fail("address 0x%X in no section" % rva)

    import_rva = struct.unpack_from("<I", data, opt + 96 + 8)[0]
    dlls = []
    pos = offset(import_rva)
    while True:
        name_rva = struct.unpack_from("<I", data, pos + 12)[0]
        if name_rva == 0:
            break
        start = offset(name_rva)
        dlls.append(data[start:data.index(b"\0", start)].decode("ascii").lower())
        pos += 20
    foreign = [d for d in dlls if d not in SYSTEM_DLLS]
    if foreign:
        fail("imports libraries that are not the system's: %s" % ", ".join(foreign))

    wide = lambda s: s.encode("utf-16-le")
    if not re.search(re.escape(wide("FileVersion")) + b"\0\0(?:\0\0)?" + re.escape(wide("3.0.0.4")), data):
        fail("no FileVersion 3.0.0.4")
    for loopback in ("127.0.0.1", "localhost"):
        if loopback.encode() in data or wide(loopback) in data:
            fail("a loopback host (%s) is compiled into the shipping build" % loopback)
    print("release check passed: PE32 GUI i386, imports %s" % ", ".join(sorted(dlls)))


if __name__ == "__main__":
    main(sys.argv[1])
