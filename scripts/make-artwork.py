#!/usr/bin/env python3
"""Draws the window's own artwork (picture buttons, message status icons, the
tab pictures and the application icon) with nothing but the standard library.

    scripts/make-artwork.py

Every picture is a list of filled shapes on a small design grid (16 or 32
units), rendered with anti-aliasing at any scale: name.png at the design size
and name@2x.png at twice that, for screens at 200%. Each of these pictures
gets a light rim one design unit wide, so that its dark shapes stand out on a
dark theme's buttons and pages as well as on a light one's. The application
icon (the mailbox) is also rendered at the usual icon-theme sizes and written
as SVG.
The status pictures go to src/widgets/artwork (they belong to the reusable
controls), everything else to src/manager_window/artwork.
"""
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
WINDOW_ART = ROOT / "src/manager_window/artwork"
WIDGET_ART = ROOT / "src/widgets/artwork"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SAMPLES = 4  # per pixel and axis: 16 coverage samples per pixel


class Polygon:
    def __init__(self, points, rgba):
        self.points, self.rgba = points, rgba

    def bounds(self):
        xs, ys = [p[0] for p in self.points], [p[1] for p in self.points]
        return min(xs), min(ys), max(xs), max(ys)

    def contains(self, x, y):
        result = False
        j = len(self.points) - 1
        for i, (xi, yi) in enumerate(self.points):
            xj, yj = self.points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    def svg(self):
        points = " ".join(f"{x:g},{y:g}" for x, y in self.points)
        return f'<polygon points="{points}" fill="{svg_colour(self.rgba)}"/>'


class Rect(Polygon):
    def __init__(self, x0, y0, x1, y1, rgba):
        super().__init__([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], rgba)
        self.box = (x0, y0, x1, y1)

    def contains(self, x, y):
        x0, y0, x1, y1 = self.box
        return x0 <= x < x1 and y0 <= y < y1

    def svg(self):
        x0, y0, x1, y1 = self.box
        return f'<rect x="{x0:g}" y="{y0:g}" width="{x1 - x0:g}" height="{y1 - y0:g}" fill="{svg_colour(self.rgba)}"/>'


class Circle:
    def __init__(self, cx, cy, r, rgba):
        self.cx, self.cy, self.r, self.rgba = cx, cy, r, rgba

    def bounds(self):
        return self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r

    def contains(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r * self.r

    def svg(self):
        return f'<circle cx="{self.cx:g}" cy="{self.cy:g}" r="{self.r:g}" fill="{svg_colour(self.rgba)}"/>'


def svg_colour(rgba):
    return "#%02x%02x%02x" % rgba[:3]


class Picture:
    """Shapes in design units; a unit is one pixel of the 1x rendering.
    Coordinates name pixel cells as the artwork was first drawn: rect(4, 10,
    24, 24) fills cells 4 to 24 inclusive."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.shapes = []

    def rect(self, x0, y0, x1, y1, rgba):
        self.shapes.append(Rect(x0, y0, x1 + 1, y1 + 1, rgba))

    def frame(self, x0, y0, x1, y1, rgba):
        self.rect(x0, y0, x1, y0, rgba)
        self.rect(x0, y1, x1, y1, rgba)
        self.rect(x0, y0, x0, y1, rgba)
        self.rect(x1, y0, x1, y1, rgba)

    def circle(self, cx, cy, r, rgba):
        self.shapes.append(Circle(cx, cy, r, rgba))

    def polygon(self, points, rgba):
        self.shapes.append(Polygon(points, rgba))

    def line(self, x0, y0, x1, y1, rgba, width=1):
        # A square pen of `width` cells swept from cell (x0, y0) to (x1, y1):
        # the convex hull of the pen at both ends.
        self.shapes.append(Polygon(hull([(x + dx, y + dy) for x, y in ((x0, y0), (x1, y1))
                                         for dx in (0, width) for dy in (0, width)]), rgba))

    def render(self, scale):
        """RGBA rows at `scale` output pixels per design unit."""
        w, h = round(self.w * scale), round(self.h * scale)
        px = [[[0.0, 0.0, 0.0, 0.0] for _ in range(w)] for _ in range(h)]  # premultiplied
        offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
        for shape in self.shapes:
            bx0, by0, bx1, by1 = shape.bounds()
            r, g, b, a = (c / 255 for c in shape.rgba)
            for y in range(max(0, int(by0 * scale)), min(h, int(by1 * scale) + 1)):
                for x in range(max(0, int(bx0 * scale)), min(w, int(bx1 * scale) + 1)):
                    hits = sum(shape.contains((x + ox) / scale, (y + oy) / scale) for ox in offsets for oy in offsets)
                    if hits:
                        cover = a * hits / (SAMPLES * SAMPLES)
                        p = px[y][x]
                        px[y][x] = [r * cover + p[0] * (1 - cover), g * cover + p[1] * (1 - cover),
                                    b * cover + p[2] * (1 - cover), cover + p[3] * (1 - cover)]
        return [[straight(p) for p in row] for row in px]

    def svg(self):
        body = "\n  ".join(shape.svg() for shape in self.shapes)
        return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.w}" height="{self.h}" '
                f'viewBox="0 0 {self.w} {self.h}">\n  {body}\n</svg>\n')


def straight(p):
    if p[3] <= 0:
        return (0, 0, 0, 0)
    return tuple(round(min(1.0, c / p[3]) * 255) for c in p[:3]) + (round(p[3] * 255),)


RIM = (235, 235, 235, 230)


def with_rim(rows, radius):
    """The picture laid over a light rim: every pixel within `radius` of a
    drawn one is covered by RIM as far as its most covered neighbour is."""
    h, w = len(rows), len(rows[0])
    out = []
    for y in range(h):
        row = []
        for x in range(w):
            r, g, b, a = rows[y][x]
            near = max(rows[j][i][3] for j in range(max(0, y - radius), min(h, y + radius + 1))
                       for i in range(max(0, x - radius), min(w, x + radius + 1)))
            top, under = a / 255, near / 255 * RIM[3] / 255
            cover = top + under * (1 - top)
            if cover <= 0:
                row.append((0, 0, 0, 0))
                continue
            colour = [(c * top + rc * under * (1 - top)) / cover for c, rc in zip((r, g, b), RIM[:3])]
            row.append(tuple(round(c) for c in colour) + (round(cover * 255),))
        out.append(row)
    return out


def hull(points):
    points = sorted(set(points))

    def half(seq):
        out = []
        for p in seq:
            while len(out) >= 2 and ((out[-1][0] - out[-2][0]) * (p[1] - out[-2][1]) -
                                     (out[-1][1] - out[-2][1]) * (p[0] - out[-2][0])) <= 0:
                out.pop()
            out.append(p)
        return out[:-1]

    return half(points) + half(reversed(points))


def png(rows):
    raw = b"".join(b"\0" + b"".join(struct.pack("4B", *p) for p in row) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


INK = (40, 40, 40, 255)
WHITE = (255, 255, 255, 255)
PAPER = (250, 246, 225, 255)
RED = (235, 60, 60, 255)  # light enough to stand out on dark buttons too
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
    c = Picture(16, 15)
    envelope(c, PAPER, INK, GOLD)
    return c


def status_saved():
    c = Picture(16, 15)
    envelope(c, (225, 225, 225, 255), GREY)
    return c


def play():
    c = Picture(16, 16)
    c.polygon([(4, 2), (14, 8), (4, 14)], GREEN)
    return c


def record():
    c = Picture(16, 16)
    c.circle(8, 8, 5.5, RED)
    return c


def stop():
    c = Picture(16, 16)
    c.rect(3, 3, 12, 12, INK)
    return c


def delete():
    c = Picture(16, 16)
    c.line(3, 3, 12, 12, RED, 2)
    c.line(12, 3, 3, 12, RED, 2)
    return c


def prev():
    c = Picture(16, 16)
    c.polygon([(12, 2), (3, 8), (12, 14)], BLUE)
    return c


def next_():
    c = Picture(16, 16)
    c.polygon([(4, 2), (13, 8), (4, 14)], BLUE)
    return c


def mailbox():
    c = Picture(32, 32)
    c.rect(4, 10, 24, 24, BLUE)
    c.circle(14, 11, 10, BLUE)
    c.rect(4, 11, 24, 24, BLUE)
    c.rect(12, 24, 15, 31, INK)
    c.rect(25, 4, 26, 14, RED)
    c.rect(26, 4, 30, 7, RED)
    c.rect(7, 15, 21, 17, WHITE)
    return c


def settings():
    c = Picture(32, 32)
    c.circle(16, 16, 12, GREY)
    for x0, y0, x1, y1 in [(14, 1, 17, 30), (1, 14, 30, 17)]:
        c.rect(x0, y0, x1, y1, GREY)
    c.line(5, 5, 26, 26, GREY, 3)
    c.line(26, 5, 5, 26, GREY, 3)
    c.circle(16, 16, 5, WHITE)
    return c


def email():
    c = Picture(32, 32)
    c.rect(2, 7, 29, 25, PAPER)
    c.frame(2, 7, 29, 25, INK)
    c.line(2, 7, 15, 17, INK)
    c.line(29, 7, 16, 17, INK)
    return c


def upload():
    c = Picture(32, 32)
    c.polygon([(16, 2), (28, 14), (21, 14), (21, 24), (11, 24), (11, 14), (4, 14)], GREEN)
    c.rect(4, 27, 27, 29, INK)
    return c


def command():
    c = Picture(32, 32)
    c.rect(2, 4, 29, 27, INK)
    c.line(6, 9, 11, 14, WHITE, 2)
    c.line(11, 14, 6, 19, WHITE, 2)
    c.rect(14, 19, 22, 20, WHITE)
    return c


PICTURES = {
    "status-new": (status_new, WIDGET_ART), "status-saved": (status_saved, WIDGET_ART),
    "play": (play, WINDOW_ART), "record": (record, WINDOW_ART), "stop": (stop, WINDOW_ART),
    "delete": (delete, WINDOW_ART), "prev": (prev, WINDOW_ART), "next": (next_, WINDOW_ART),
    "mailbox": (mailbox, WINDOW_ART), "settings": (settings, WINDOW_ART), "email": (email, WINDOW_ART),
    "upload": (upload, WINDOW_ART), "command": (command, WINDOW_ART),
}
APP_ICON = mailbox


def main():
    if len(sys.argv) > 1:
        sys.exit(__doc__)
    for name, (draw, folder) in PICTURES.items():
        folder.mkdir(parents=True, exist_ok=True)
        picture = draw()
        (folder / f"{name}.png").write_bytes(png(with_rim(picture.render(1), 1)))
        (folder / f"{name}@2x.png").write_bytes(png(with_rim(picture.render(2), 2)))
    icon = APP_ICON()
    for size in ICON_SIZES:
        (WINDOW_ART / f"app-icon-{size}.png").write_bytes(png(icon.render(size / icon.w)))
    (WINDOW_ART / "app-icon.svg").write_text(icon.svg())


if __name__ == "__main__":
    main()
