#!/usr/bin/env python3
"""Draws the window's own artwork (picture buttons, message status icons and
the tab pictures) as small PNG files, using nothing but the standard library.

    scripts/make-artwork.py src/manager_window/artwork

then move status-new.png and status-saved.png to src/widgets/artwork (the
status pictures belong to the reusable controls).
"""
import struct
import sys
import zlib
from pathlib import Path


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def put(self, x, y, rgba):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = rgba

    def rect(self, x0, y0, x1, y1, rgba):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, rgba)

    def frame(self, x0, y0, x1, y1, rgba):
        for x in range(x0, x1 + 1):
            self.put(x, y0, rgba)
            self.put(x, y1, rgba)
        for y in range(y0, y1 + 1):
            self.put(x0, y, rgba)
            self.put(x1, y, rgba)

    def circle(self, cx, cy, r, rgba):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, rgba)

    def polygon(self, points, rgba):
        for y in range(self.h):
            for x in range(self.w):
                if inside(points, x + 0.5, y + 0.5):
                    self.put(x, y, rgba)

    def line(self, x0, y0, x1, y1, rgba, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0)) * 2 + 1
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dx in range(width):
                for dy in range(width):
                    self.put(int(round(x)) + dx, int(round(y)) + dy, rgba)

    def png(self):
        raw = b"".join(b"\0" + b"".join(struct.pack("4B", *p) for p in row) for row in self.px)

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def inside(points, x, y):
    result = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


INK = (40, 40, 40, 255)
WHITE = (255, 255, 255, 255)
PAPER = (250, 246, 225, 255)
RED = (200, 30, 30, 255)
GREEN = (30, 150, 50, 255)
BLUE = (40, 80, 190, 255)
GREY = (150, 150, 150, 255)
GOLD = (235, 170, 20, 255)


def envelope(c, body, flap, mark=None):
    c.rect(1, 3, 14, 13, body)
    c.frame(1, 3, 14, 13, INK)
    c.line(1, 3, 7, 9, flap)
    c.line(14, 3, 8, 9, flap)
    if mark:
        c.circle(12.5, 3.5, 3, mark)


def status_new():
    c = Canvas(16, 15)
    envelope(c, PAPER, INK, GOLD)
    return c


def status_saved():
    c = Canvas(16, 15)
    envelope(c, (225, 225, 225, 255), GREY)
    return c


def play():
    c = Canvas(16, 16)
    c.polygon([(4, 2), (14, 8), (4, 14)], GREEN)
    return c


def record():
    c = Canvas(16, 16)
    c.circle(8, 8, 5.5, RED)
    return c


def stop():
    c = Canvas(16, 16)
    c.rect(3, 3, 12, 12, INK)
    return c


def delete():
    c = Canvas(16, 16)
    c.line(3, 3, 12, 12, RED, 2)
    c.line(12, 3, 3, 12, RED, 2)
    return c


def prev():
    c = Canvas(16, 16)
    c.polygon([(12, 2), (3, 8), (12, 14)], BLUE)
    return c


def next_():
    c = Canvas(16, 16)
    c.polygon([(4, 2), (13, 8), (4, 14)], BLUE)
    return c


def mailbox():
    c = Canvas(32, 32)
    c.rect(4, 10, 24, 24, BLUE)
    c.circle(14, 11, 10, BLUE)
    c.rect(4, 11, 24, 24, BLUE)
    c.rect(12, 24, 15, 31, INK)
    c.rect(25, 4, 26, 14, RED)
    c.rect(26, 4, 30, 7, RED)
    c.rect(7, 15, 21, 17, WHITE)
    return c


def settings():
    c = Canvas(32, 32)
    c.circle(16, 16, 12, GREY)
    for x0, y0, x1, y1 in [(14, 1, 17, 30), (1, 14, 30, 17)]:
        c.rect(x0, y0, x1, y1, GREY)
    c.line(5, 5, 26, 26, GREY, 3)
    c.line(26, 5, 5, 26, GREY, 3)
    c.circle(16, 16, 5, WHITE)
    return c


def email():
    c = Canvas(32, 32)
    c.rect(2, 7, 29, 25, PAPER)
    c.frame(2, 7, 29, 25, INK)
    c.line(2, 7, 15, 17, INK)
    c.line(29, 7, 16, 17, INK)
    return c


def upload():
    c = Canvas(32, 32)
    c.polygon([(16, 2), (28, 14), (21, 14), (21, 24), (11, 24), (11, 14), (4, 14)], GREEN)
    c.rect(4, 27, 27, 29, INK)
    return c


def command():
    c = Canvas(32, 32)
    c.rect(2, 4, 29, 27, INK)
    c.line(6, 9, 11, 14, WHITE, 2)
    c.line(11, 14, 6, 19, WHITE, 2)
    c.rect(14, 19, 22, 20, WHITE)
    return c


PICTURES = {
    "status-new": status_new, "status-saved": status_saved, "play": play, "record": record, "stop": stop,
    "delete": delete, "prev": prev, "next": next_, "mailbox": mailbox, "settings": settings, "email": email,
    "upload": upload, "command": command,
}


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    for name, draw in PICTURES.items():
        (out / f"{name}.png").write_bytes(draw().png())


if __name__ == "__main__":
    main()
