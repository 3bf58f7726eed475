#!/usr/bin/env python3
"""Writes the download: a zip archive with Tapvane2.exe and the Chinese guide.

Usage: make_package.py EXE GUIDE VERSION EPOCH OUTPUT_ZIP

GUIDE is the guide as kept in the repository (UTF-8, LF line ends, @VERSION@
where the version goes); it is stored as 使用说明.txt with a byte-order mark and
CRLF line ends, which every Notepad shows. EPOCH (seconds) is the time every
entry carries.

The same inputs always give the same bytes: fixed entry order, one fixed time,
fixed attributes, no extra fields that hold times or owners. A non-ASCII name
is stored in the Chinese code page (GBK), which the zip support built into
Chinese Windows reads on every version from 7 on, and again in UTF-8 in an
Info-ZIP Unicode Path field, which 7-Zip, WinRAR, Bandizip and unzip read.
"""

import struct
import sys
import time
import zlib

GUIDE_NAME = "使用说明.txt"
MADE_BY_MSDOS_V20 = 20  # host 0 (MS-DOS/FAT attributes), zip 2.0
NEEDED_V20 = 20
DEFLATED = 8
ARCHIVE_ATTRIBUTE = 0x20  # what Windows itself sets on files it zips
UNICODE_PATH_FIELD = 0x7075


def dos_time(epoch):
    t = time.gmtime(max(epoch, 315532800))  # zip times start in 1980
    return ((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2),
            ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday)


def stored_name(name):
    """The name's bytes for the header, and the extra field that goes with them."""
    if name.isascii():
        return name.encode("ascii"), b""
    legacy = name.encode("gbk")
    unicode_path = struct.pack("<BI", 1, zlib.crc32(legacy)) + name.encode("utf-8")
    return legacy, struct.pack("<HH", UNICODE_PATH_FIELD, len(unicode_path)) + unicode_path


def write_zip(path, entries, epoch):
    clock, date = dos_time(epoch)
    body = bytearray()
    directory = bytearray()
    for name, data in entries:
        raw_name, extra = stored_name(name)
        packer = zlib.compressobj(9, zlib.DEFLATED, -15)
        packed = packer.compress(data) + packer.flush()
        crc = zlib.crc32(data)
        offset = len(body)
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, NEEDED_V20, 0, DEFLATED, clock, date,
                            crc, len(packed), len(data), len(raw_name), len(extra))
        body += raw_name + extra + packed
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, MADE_BY_MSDOS_V20, NEEDED_V20,
                                 0, DEFLATED, clock, date, crc, len(packed), len(data),
                                 len(raw_name), len(extra), 0, 0, 0, ARCHIVE_ATTRIBUTE, offset)
        directory += raw_name + extra
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries),
                      len(directory), len(body), 0)
    with open(path, "wb") as out:
        out.write(bytes(body + directory + end))


def guide_bytes(source, version):
    text = open(source, encoding="utf-8").read().replace("@VERSION@", version)
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    return "\ufeff".encode("utf-8") + text.encode("utf-8")


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    exe, guide, version, epoch, output = sys.argv[1:]
    entries = [("Tapvane2.exe", open(exe, "rb").read()), (GUIDE_NAME, guide_bytes(guide, version))]
    write_zip(output, entries, int(epoch))


if __name__ == "__main__":
    main()
