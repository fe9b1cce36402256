#!/usr/bin/env python3
"""Makes the uninstaller describe itself as the uninstaller.

NSIS gives the uninstaller the installer's version record. makensis runs this on the
uninstaller it has just made (!uninstfinalize in packaging/karvoss.nsi): the FileDescription
"Установка Karvoss" becomes "Удаление Karvoss", in place (the new text is shorter; the rest of
the value is NULs), and the uninstaller's check sum, which NSIS takes over everything after the
first 512 bytes and keeps in the last 4, is made again. The check sum is verified first, so a
layout this does not know stops the build instead of making an uninstaller that refuses to run.

    python3 scripts/describe_uninstaller.py <uninstaller.exe>
"""

import struct
import sys
import zlib

INSTALLER = "Установка Karvoss"
UNINSTALLER = "Удаление Karvoss"
KEY = "FileDescription\0".encode("utf-16-le")
CHECKED_FROM = 512


def check_sum(data: bytes) -> int:
    return zlib.crc32(data[CHECKED_FROM:-4])


def main() -> int:
    path = sys.argv[1]
    data = bytearray(open(path, "rb").read())
    if struct.unpack("<I", data[-4:])[0] != check_sum(data):
        sys.exit(f"describe_uninstaller: {path}: not an NSIS uninstaller with a known check sum")

    # A version-record String: wLength, wValueLength (characters with the NUL), wType, the key
    # and its NUL, padding to 4 bytes, the value.
    key = data.find(KEY)
    old = (INSTALLER + "\0").encode("utf-16-le")
    value = key + len(KEY)
    value += (-value) % 4
    if key < 6 or data[value : value + len(old)] != old:
        sys.exit(f'describe_uninstaller: {path}: no FileDescription "{INSTALLER}"')
    length_at = key - 4
    if struct.unpack("<H", data[length_at : length_at + 2])[0] != len(INSTALLER) + 1:
        sys.exit(f"describe_uninstaller: {path}: unexpected FileDescription length")

    new = (UNINSTALLER + "\0").encode("utf-16-le")
    data[value : value + len(old)] = new.ljust(len(old), b"\0")
    data[length_at : length_at + 2] = struct.pack("<H", len(UNINSTALLER) + 1)
    data[-4:] = struct.pack("<I", check_sum(data))
    open(path, "wb").write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
