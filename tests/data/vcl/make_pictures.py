#!/usr/bin/env python3
"""Writes the test pictures of the component library tests: a 3 x 2 RGBA PNG with known
pixels (picture.png) and the same file cut short inside its image data (broken.png)."""
import struct
import zlib

PIXELS = [
    [(255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255)],
    [(128, 0, 0, 255), (255, 255, 255, 0), (10, 20, 30, 128)],
]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


good = png(PIXELS)
with open("picture.png", "wb") as f:
    f.write(good)
idat = good.index(b"IDAT")
with open("broken.png", "wb") as f:
    f.write(good[: idat + 10])
