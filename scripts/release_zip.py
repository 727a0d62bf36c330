"""Writes QuickDock's release archive: a zip file whose names come out right
on a Chinese-locale Windows with every common way of unpacking it.

usage: release_zip.py OUT.zip FOLDER
  Stores FOLDER's tree (its files and every folder, empty ones too) under
  its own name, in sorted order, with one fixed time, so that the same tree
  always gives the same bytes.

How names are stored (see docs/release.md for what each unpacker honours):
  - the name field holds the name in code page 936 (GBK), bit 11 (UTF-8)
    clear: Windows' own zip folders and archivers without Unicode support
    read it in the system's OEM code page, 936 on Chinese Windows;
  - every name that is not plain ASCII also gets an Info-ZIP Unicode Path
    extra field (0x7075) with the UTF-8 name and the CRC-32 of the GBK name:
    7-Zip, WinRAR and Info-ZIP unzip take the name from there, on any locale;
  - "version made by" says MS-DOS, so the name field is read in the OEM code
    page rather than guessed to be UTF-8.
Files are deflated; folders are entries of their own, ending in "/".
"""

import os
import struct
import sys
import zlib

# 2026-01-01 00:00:00 in MS-DOS form; the archive's one timestamp.
DOS_TIME = 0
DOS_DATE = ((2026 - 1980) << 9) | (1 << 5) | 1
VERSION_MADE_BY = 20  # MS-DOS host, format 2.0
VERSION_NEEDED = 20
DEFLATED = 8
STORED = 0
UNICODE_PATH = 0x7075
ATTRIBUTE_DIRECTORY = 0x10
ATTRIBUTE_ARCHIVE = 0x20


def unicode_path_field(name, raw):
    body = struct.pack("<BI", 1, zlib.crc32(raw) & 0xFFFFFFFF) + name.encode("utf-8")
    return struct.pack("<HH", UNICODE_PATH, len(body)) + body


def entry_bytes(name, data):
    """(local header + data, central record without offset) of one entry."""
    raw = name.encode("gbk")
    extra = b"" if name.isascii() else unicode_path_field(name, raw)
    is_folder = name.endswith("/")
    if is_folder or not data:
        method, packed = STORED, b""
    else:
        squeeze = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
        method, packed = DEFLATED, squeeze.compress(data) + squeeze.flush()
        if len(packed) >= len(data):
            method, packed = STORED, data
    crc = zlib.crc32(data) & 0xFFFFFFFF
    common = struct.pack("<HHHHIII", 0, method, DOS_TIME, DOS_DATE, crc, len(packed), len(data))
    local = (struct.pack("<IH", 0x04034B50, VERSION_NEEDED) + common +
             struct.pack("<HH", len(raw), len(extra)) + raw + extra + packed)
    attributes = ATTRIBUTE_DIRECTORY if is_folder else ATTRIBUTE_ARCHIVE
    central = (struct.pack("<IHH", 0x02014B50, VERSION_MADE_BY, VERSION_NEEDED) + common +
               struct.pack("<HHHHHI", len(raw), len(extra), 0, 0, 0, attributes))
    return local, central, raw + extra


def tree_entries(folder):
    """[(name in the archive, bytes)] of a folder, the folder itself first,
    each folder before what it holds, names compared by their code points."""
    base = os.path.basename(os.path.normpath(folder))
    entries = [(base + "/", b"")]
    for top, folders, files in os.walk(folder):
        folders.sort()
        relative = os.path.relpath(top, folder)
        prefix = base + "/" + ("" if relative == "." else relative.replace(os.sep, "/") + "/")
        for name in sorted(folders + files):
            path = os.path.join(top, name)
            if os.path.isdir(path):
                entries.append((prefix + name + "/", b""))
            else:
                with open(path, "rb") as f:
                    entries.append((prefix + name, f.read()))
    # os.walk visits folders depth first in sorted order; a plain sort keeps
    # every folder before its content and gives one order for one tree.
    return sorted(entries, key=lambda e: e[0])


def write_zip(path, entries):
    out = bytearray()
    directory = bytearray()
    for name, data in entries:
        local, central, names = entry_bytes(name, data)
        directory += central + struct.pack("<I", len(out)) + names
        out += local
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(directory),
                      len(out), 0)
    with open(path, "wb") as f:
        f.write(bytes(out + directory + end))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.split("\n\n")[1])
    write_zip(sys.argv[1], tree_entries(sys.argv[2]))


if __name__ == "__main__":
    main()
