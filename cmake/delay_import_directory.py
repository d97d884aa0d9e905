#!/usr/bin/env python3
"""Fills in the delay-import directory of a PE image linked by GNU ld.

dlltool's delay-import libraries give each DLL a descriptor (ImgDelayDescr), and
the delay-load helper is handed it directly, but ld leaves the image's data
directory entry 13 at zero, so Windows' tools (dumpbin /dependents, Dependencies)
do not see the DLLs. The descriptors of the named DLLs must stand together, ended
by a zero one; the entry is set to that list.

    delay_import_directory.py IMAGE DLL [DLL ...]
"""
import struct
import sys

DESCRIPTOR = 32  # eight 32-bit fields
DELAY_IMPORT_ENTRY = 13


def sections(image, pe):
    count = struct.unpack_from("<H", image, pe + 6)[0]
    optional_size = struct.unpack_from("<H", image, pe + 20)[0]
    table = pe + 24 + optional_size
    for i in range(count):
        _, size, rva, raw_size, raw = struct.unpack_from("<8sIIII", image, table + 40 * i)
        yield rva, raw, min(size or raw_size, raw_size)


def main(path, dlls):
    with open(path, "rb") as f:
        image = bytearray(f.read())
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE image")
    magic = struct.unpack_from("<H", image, pe + 24)[0]
    directories = pe + 24 + (96 if magic == 0x10B else 112)
    regions = list(sections(image, pe))

    def offset(rva):
        for start, raw, size in regions:
            if start <= rva < start + size:
                return raw + rva - start
        return None

    # Where each DLL's name stands, as the descriptors name it.
    names = {}
    for start, raw, size in regions:
        data = bytes(image[raw:raw + size]).lower()
        for dll in dlls:
            needle = (dll.lower() + ".dll\0").encode()
            at = data.find(needle)
            while at >= 0:
                if at == 0 or data[at - 1] == 0:
                    names[start + at] = dll
                at = data.find(needle, at + 1)
    found = {}
    for start, raw, size in regions:
        for at in range(0, size - DESCRIPTOR + 1, 4):
            attributes, name = struct.unpack_from("<II", image, raw + at)
            if attributes == 1 and name in names:
                found[names[name]] = start + at
    missing = [dll for dll in dlls if dll not in found]
    if missing:
        sys.exit(f"{path}: no delay-import descriptor for {', '.join(missing)}")
    first = min(found.values())
    expected = [first + DESCRIPTOR * i for i in range(len(dlls))]
    if sorted(found.values()) != expected:
        sys.exit(f"{path}: the delay-import descriptors do not stand together")
    end = offset(first + DESCRIPTOR * len(dlls))
    if end is None or any(image[end:end + DESCRIPTOR]):
        sys.exit(f"{path}: no zero descriptor ends the delay-import descriptors")
    struct.pack_into("<II", image, directories + 8 * DELAY_IMPORT_ENTRY, first,
                     DESCRIPTOR * (len(dlls) + 1))
    with open(path, "r+b") as f:
        f.write(image)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
