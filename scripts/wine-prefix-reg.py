#!/usr/bin/env python3
"""Writes the test prefix's registry settings as the UTF-16LE .reg regedit reads.

Wine draws the window frames itself and does not wait for a window manager
that Xvfb lacks (each hide or destroy would otherwise stall 2 s), and the
program's Chinese face and the caption font fall back to WenQuanYi Micro Hei.
"""
import struct
import sys

FACE = "WenQuanYi Micro Hei"


def hex_bytes(data: bytes) -> str:
    return ",".join(f"{b:02x}" for b in data)


def logfont(height: int, face: str) -> bytes:
    name = face.encode("utf-16-le").ljust(64, b"\0")
    # height, width, escapement, orientation, weight, then eight bytes of flags
    return struct.pack("<iiiii8B", height, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0) + name


def multi_sz(*values: str) -> bytes:
    return "".join(v + "\0" for v in values).encode("utf-16-le") + b"\0\0"


text = f"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Decorated"="N"
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"微软雅黑"="{FACE}"
"Microsoft YaHei"="{FACE}"

[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]
"CaptionFont"=hex:{hex_bytes(logfont(-12, FACE))}
"SmCaptionFont"=hex:{hex_bytes(logfont(-12, FACE))}
"MessageFont"=hex:{hex_bytes(logfont(-12, FACE))}

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=hex(7):{hex_bytes(multi_sz("wqy-microhei.ttc," + FACE))}
"MS Shell Dlg"=hex(7):{hex_bytes(multi_sz("wqy-microhei.ttc," + FACE))}
"""

with open(sys.argv[1], "wb") as out:
    out.write(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))
