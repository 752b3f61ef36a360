#!/usr/bin/python3
"""Inspects the shipping files without starting them: dist/Zorvane.exe, a 32-bit GUI program
that imports only system libraries, carries FileVersion 3.0.0.4 and has no loopback test host
in it; and dist/updater.dll beside it, a 32-bit library of the same kind whose one export is
_ExternalUpdate@16, the name RUNDLL32.EXE is given."""
import os
import re
import struct
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comctl32.dll",
    "gdiplus.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "urlmon.dll", "version.dll",
    "shlwapi.dll", "msimg32.dll", "uxtheme.dll", "comdlg32.dll", "ws2_32.dll", "winmm.dll",
    "wininet.dll",
}
IMAGE_FILE_DLL = 0x2000


def fail(message):
    print("release check failed:", message)
    sys.exit(1)


class Image:
    """The parts of a PE32 file the checks read."""

    def __init__(self, path):
        self.name = os.path.basename(path)
        self.data = data = open(path, "rb").read()
        if data[:2] != b"MZ":
            fail("%s: not an MZ executable" % self.name)
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            fail("%s: no PE header" % self.name)
        machine, sections = struct.unpack_from("<HH", data, pe + 4)
        if machine != 0x14C:
            fail("%s: machine 0x%X is not i386" % (self.name, machine))
        self.characteristics = struct.unpack_from("<H", data, pe + 22)[0]
        self.opt = opt = pe + 24
        if struct.unpack_from("<H", data, opt)[0] != 0x10B:
            fail("%s: not a PE32 (32-bit) optional header" % self.name)
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        # Section table, to turn the directories' addresses into file offsets.
        table = opt + struct.unpack_from("<H", data, pe + 20)[0]
        self.spans = []
        for i in range(sections):
            _, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", data, table + i * 40)
            self.spans.append((vaddr, max(vsize, rsize), raw))

    def offset(self, rva):
        for vaddr, size, raw in self.spans:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raw
        fail("%s: address 0x%X in no section" % (self.name, rva))

    def directory(self, index):
        return struct.unpack_from("<I", self.data, self.opt + 96 + 8 * index)[0]

    def text_at(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        dlls = []
        pos = self.offset(self.directory(1))
        while True:
            name_rva = struct.unpack_from("<I", self.data, pos + 12)[0]
            if name_rva == 0:
                return dlls
            dlls.append(self.text_at(name_rva).lower())
            pos += 20

    def exports(self):
        rva = self.directory(0)
        if rva == 0:
            return []
        count, names = struct.unpack_from("<I4xI", self.data, self.offset(rva) + 24)
        return [self.text_at(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0])
                for i in range(count)]


def check_shipping(image):
    foreign = [d for d in image.imports() if d not in SYSTEM_DLLS]
    if foreign:
        fail("%s imports libraries that are not the system's: %s" % (image.name, ", ".join(foreign)))
    wide = lambda s: s.encode("utf-16-le")
    for loopback in ("127.0.0.1", "localhost"):
        if loopback.encode() in image.data or wide(loopback) in image.data:
            fail("a loopback host (%s) is compiled into the shipping %s" % (loopback, image.name))


def check_launcher(path):
    image = Image(path)
    if image.subsystem != 2:
        fail("subsystem %d is not the Windows GUI" % image.subsystem)
    check_shipping(image)
    wide = lambda s: s.encode("utf-16-le")
    if not re.search(re.escape(wide("FileVersion")) + b"\0\0(?:\0\0)?" + re.escape(wide("3.0.0.4")),
                     image.data):
        fail("no FileVersion 3.0.0.4")
    print("release check passed: PE32 GUI i386, imports %s" % ", ".join(sorted(image.imports())))


def check_updater(path):
    if not os.path.exists(path):
        fail("no updater.dll beside the launcher")
    image = Image(path)
    if not image.characteristics & IMAGE_FILE_DLL:
        fail("updater.dll is not a library")
    check_shipping(image)
    if image.exports() != ["_ExternalUpdate@16"]:
        fail("updater.dll exports %s, not just _ExternalUpdate@16" % image.exports())
    print("release check passed: updater.dll is a PE32 i386 library exporting _ExternalUpdate@16,"
          " imports %s" % ", ".join(sorted(image.imports())))


def main(path):
    check_launcher(path)
    check_updater(os.path.join(os.path.dirname(path), "updater.dll"))


if __name__ == "__main__":
    main(sys.argv[1])
