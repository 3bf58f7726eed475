#!/usr/bin/env python3
"""Draws the program's icon, hand cursor and the two support-window cards.

Writes resources/tapvane2.ico, resources/hand.cur, resources/thanks_card.png and
resources/support_card.png. Standard library only; the output is the same on
every run, so the files can be regenerated and compared.
"""

import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
OUT = os.path.join(ROOT, "resources")

RED = (255, 0, 0)
DARK_RED = (170, 0, 0)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


# --- shapes as signed distances (negative inside), in pixels ---------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_rect(left, top, right, bottom, r):
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - r, (bottom - top) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def ellipse(cx, cy, rx, ry):
    # Not exact, but close enough near the edge for these flat shapes.
    def sdf(x, y):
        k = math.hypot((x - cx) / rx, (y - cy) / ry)
        return (k - 1.0) * min(rx, ry)
    return sdf


def capsule(ax, ay, bx, by, r):
    def sdf(x, y):
        px, py, ex, ey = x - ax, y - ay, bx - ax, by - ay
        t = max(0.0, min(1.0, (px * ex + py * ey) / (ex * ex + ey * ey)))
        return math.hypot(px - ex * t, py - ey * t) - r
    return sdf


def polygon(points):
    def sdf(x, y):
        d = (x - points[0][0]) ** 2 + (y - points[0][1]) ** 2
        s = 1.0
        j = len(points) - 1
        for i in range(len(points)):
            vix, viy = points[i]
            vjx, vjy = points[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = x - vix, y - viy
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1, c2, c3 = y >= viy, y < vjy, ex * wy > ey * wx
            if (c1 and c2 and c3) or not (c1 or c2 or c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return sdf


def heart(cx, bottom, size):
    """A heart whose lower tip is at (cx, bottom), about size pixels high."""
    def sdf(x, y):
        px, py = abs(x - cx) / size, (bottom - y) / size
        if px + py > 1.0:
            d = math.hypot(px - 0.25, py - 0.75) - math.sqrt(2.0) / 4.0
        else:
            m = 0.5 * max(px + py, 0.0)
            d = math.sqrt(min((px) ** 2 + (py - 1.0) ** 2, (px - m) ** 2 + (py - m) ** 2))
            d *= 1.0 if px - py > 0 else -1.0
        return d * size
    return sdf


def sparkle(cx, cy, r):
    inner = r * 0.28
    points = []
    for k in range(8):
        a = math.pi / 4 * k - math.pi / 2
        radius = r if k % 2 == 0 else inner
        points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return polygon(points)


def grow(sdf, by):
    return lambda x, y: sdf(x, y) - by


def outline(sdf, half_width):
    return lambda x, y: abs(sdf(x, y)) - half_width


def union(*sdfs):
    return lambda x, y: min(s(x, y) for s in sdfs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


# --- a small RGBA canvas ---------------------------------------------------

class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, sdf, colour, opacity=1.0, box=None):
        """Paints the shape over what is there, its edge antialiased."""
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        left, top = max(0, int(left)), max(0, int(top))
        right, bottom = min(self.width, int(math.ceil(right))), min(self.height, int(math.ceil(bottom)))
        r, g, b = (c / 255.0 for c in colour)
        for y in range(top, bottom):
            row = y * self.width
            for x in range(left, right):
                coverage = 0.5 - sdf(x + 0.5, y + 0.5)
                if coverage <= 0.0:
                    continue
                a = min(coverage, 1.0) * opacity
                p = self.pixels[row + x]
                out_a = a + p[3] * (1.0 - a)
                if out_a > 0.0:
                    keep = p[3] * (1.0 - a)
                    p[0] = (r * a + p[0] * keep) / out_a
                    p[1] = (g * a + p[1] * keep) / out_a
                    p[2] = (b * a + p[2] * keep) / out_a
                p[3] = out_a

    def rgba(self, x, y):
        p = self.pixels[y * self.width + x]
        return tuple(int(round(max(0.0, min(1.0, c)) * 255)) for c in p)


# --- file formats ----------------------------------------------------------

def png_bytes(canvas):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    rows = bytearray()
    for y in range(canvas.height):
        rows.append(0)  # no filter
        for x in range(canvas.width):
            rows.extend(canvas.rgba(x, y))
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def ico_bytes(canvas):
    """One 32-bit image stored as a bitmap, with its AND mask."""
    w, h = canvas.width, canvas.height
    xor = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(h)):  # bottom-up
        mask_row = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = canvas.rgba(x, y)
            xor.extend((b, g, r, a))
            if a == 0:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask.extend(mask_row)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def cur_bytes(rows, hot_x, hot_y):
    """A monochrome cursor from rows of '#' (black), 'o' (white), '.' (clear)."""
    w, h = len(rows[0]), len(rows)
    stride = ((w + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for row in reversed(rows):
        xor_row, mask_row = bytearray(stride), bytearray(stride)
        for x, ch in enumerate(row):
            bit = 0x80 >> (x % 8)
            if ch == "o":
                xor_row[x // 8] |= bit
            elif ch == ".":
                mask_row[x // 8] |= bit
        xor.extend(xor_row)
        mask.extend(mask_row)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 0, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


# --- the pictures ----------------------------------------------------------

def draw_icon():
    """A white pointer clicking, on a red rounded square."""
    c = Canvas(123, 128)
    c.fill(rounded_rect(2, 4, 121, 124, 26), DARK_RED)
    c.fill(rounded_rect(2, 2, 121, 120, 26), RED)
    # The classic arrow, tip at (50, 38).
    arrow = [(0, 0), (0, 17), (4.2, 13), (7.4, 20.5), (10.2, 19.3), (7.1, 12), (12.5, 12)]
    scale, tip_x, tip_y = 3.6, 50.0, 38.0
    shape = polygon([(tip_x + px * scale, tip_y + py * scale) for px, py in arrow])
    c.fill(grow(shape, 3.0), DARK_RED, box=(40, 28, 105, 118))
    c.fill(shape, WHITE, box=(40, 28, 105, 118))
    # Rays of the click around the tip.
    for angle in (200, 240, 280):
        a = math.radians(angle)
        c.fill(capsule(tip_x + 14 * math.cos(a), tip_y + 14 * math.sin(a),
                       tip_x + 28 * math.cos(a), tip_y + 28 * math.sin(a), 3.2), WHITE)
    return c


def draw_thanks_card():
    """Red card with a white heart and sparkles; the lower rows may be cut off."""
    c = Canvas(200, 300)
    card = rounded_rect(0, 0, 200, 300, 18)
    c.fill(card, RED)
    c.fill(outline(rounded_rect(9, 9, 191, 291, 12), 1.5), WHITE)
    c.fill(heart(100, 178, 92), DARK_RED, opacity=0.45, box=(35, 65, 170, 190))
    c.fill(heart(100, 172, 92), WHITE, box=(35, 60, 165, 180))
    c.fill(heart(100, 140, 36), RED, box=(70, 95, 130, 145))
    for x, y, r in ((42, 52, 13), (160, 72, 9), (150, 200, 12), (52, 212, 8)):
        c.fill(sparkle(x, y, r), WHITE, box=(x - r - 2, y - r - 2, x + r + 2, y + r + 2))
    # A row of small hearts, like a signature line.
    for i in range(5):
        x = 52 + i * 24
        c.fill(heart(x, 252, 14), WHITE, box=(x - 12, 234, x + 12, 256))
    return c


def draw_support_card():
    """White card with a red cup of something warm and its steam."""
    c = Canvas(200, 271)
    card = rounded_rect(0, 0, 200, 271, 18)
    c.fill(card, WHITE)
    c.fill(outline(rounded_rect(6, 6, 194, 265, 13), 2.5), RED)
    # Saucer, cup body and handle.
    c.fill(ellipse(98, 205, 68, 12), DARK_RED)
    c.fill(subtract(rounded_rect(48, 120, 148, 200, 22), rounded_rect(0, 0, 200, 128, 0)), RED)
    c.fill(rounded_rect(48, 116, 148, 130, 6), RED)
    c.fill(outline(circle(152, 152, 16), 6.0), RED, box=(126, 126, 180, 180))
    c.fill(heart(98, 178, 34), WHITE, box=(70, 140, 126, 182))
    # Three wisps of steam.
    for x0 in (72, 98, 124):
        points = [(x0 + 8 * math.sin(t / 6.0 * math.pi * 2), 106 - t * 9) for t in range(7)]
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            c.fill(capsule(ax, ay, bx, by, 3.5), RED, box=(x0 - 14, by - 6, x0 + 14, ay + 6))
    for x, y, r in ((36, 42, 10), (166, 50, 12), (40, 238, 8), (160, 236, 9)):
        c.fill(sparkle(x, y, r), RED, box=(x - r - 2, y - r - 2, x + r + 2, y + r + 2))
    return c


def hand_rows():
    """A pointing hand: index finger up, its tip at the hot spot (6, 1).

    Built from rectangles (left, top, right, bottom, inclusive); the outline of
    the whole and of each finger is black, the inside white, the rest clear.
    """
    fingers = [  # index, middle, ring, little
        (5, 0, 8, 13), (8, 6, 11, 13), (11, 7, 14, 13), (14, 9, 17, 14),
    ]
    body = [
        (5, 12, 17, 19),    # palm
        (6, 20, 16, 21),    # heel of the hand
        (1, 11, 4, 13),     # thumb
        (2, 14, 5, 16),
        (3, 17, 5, 18),
        (7, 22, 15, 26),    # cuff
    ]

    def inside(rects, x, y):
        return any(l <= x <= r and t <= y <= b for l, t, r, b in rects)

    shape = fingers + body
    # Round the finger tips off where no other part covers the corner.
    cut = set()
    for finger in fingers:
        l, t, r, b = finger
        others = [rect for rect in shape if rect != finger]
        cut.update(p for p in ((l, t), (r, t)) if not inside(others, *p))
    rows = []
    for y in range(32):
        row = []
        for x in range(32):
            if not inside(shape, x, y) or (x, y) in cut:
                row.append(".")
                continue
            edge = any(not inside(shape, x + dx, y + dy) or (x + dx, y + dy) in cut
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            finger_side = any(x in (l, r) and t <= y <= 11 for l, t, r, b in fingers)
            cuff_line = y == 22
            row.append("#" if edge or finger_side or cuff_line else "o")
        rows.append("".join(row))
    return rows


def main():
    hand = hand_rows()
    assert hand[0][6] == "#" and hand[1][6] == "o", "the hot spot must sit in the finger tip"
    files = {
        "tapvane2.ico": ico_bytes(draw_icon()),
        "hand.cur": cur_bytes(hand, 6, 1),
        "thanks_card.png": png_bytes(draw_thanks_card()),
        "support_card.png": png_bytes(draw_support_card()),
    }
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as out:
            out.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
