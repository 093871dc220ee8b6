#!/usr/bin/env python3
"""Draws the pictures of the image-drawn controls, the cursors and the default
thumbnail, and writes CommonImages.qrc beside this folder.

Run it from anywhere after changing a picture; the PNG files and the resource
list are committed, so the build does not need it. Plain Python: shapes are
anti-aliased by 4 x 4 supersampling and written as RGBA PNG.
"""

import math
import os
import struct
import zlib

import draw_slideshow

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # subsamples per pixel side
SAVED = {}  # logical name -> file name


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(w)] for _ in range(h)]

    def paint(self, inside, color):
        """Source-over of `color` (r, g, b, a in 0..1) where inside(x, y) holds."""
        r, g, b, a = color
        for y in range(self.h):
            for x in range(self.w):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            hits += 1
                if not hits:
                    continue
                ca = a * hits / (SS * SS)
                pr, pg, pb, pa = self.px[y][x]
                self.px[y][x] = (r * ca + pr * (1 - ca), g * ca + pg * (1 - ca),
                                 b * ca + pb * (1 - ca), ca + pa * (1 - ca))

    def crop(self, x0, w):
        c = Canvas(w, self.h)
        c.px = [row[x0:x0 + w] for row in self.px]
        return c

    def save(self, name):
        raw = b""
        for row in self.px:
            raw += b"\0"
            for r, g, b, a in row:
                if a > 0:
                    r, g, b = r / a, g / a, b / a  # stored straight, not premultiplied
                raw += bytes(max(0, min(255, round(v * 255))) for v in (r, g, b, a))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        # "Name.tiff" (or "Name.png") is stored as "Name.png" and keeps its name in the resource.
        stem = name.rsplit(".", 1)[0] if name.endswith((".tiff", ".tif", ".png")) else name
        SAVED[name] = stem + ".png"
        with open(os.path.join(HERE, stem + ".png"), "wb") as f:
            f.write(png)


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def ring(outer, inner):
    return lambda x, y: outer(x, y) and not inner(x, y)


def polygon(points):
    def inside(x, y):
        n, hit = len(points), False
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def stroke(points, width):
    def inside(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= (width / 2) ** 2:
                return True
        return False
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


WHITE = (1, 1, 1)


def rgba(rgb, a):
    return (rgb[0], rgb[1], rgb[2], a)


def body(w, h, fill, edge, radius):
    c = Canvas(w, h)
    c.paint(rounded(0.5, 0.5, w - 0.5, h - 0.5, radius), fill)
    c.paint(ring(rounded(0.5, 0.5, w - 0.5, h - 0.5, radius),
                 rounded(1.5, 1.5, w - 1.5, h - 1.5, radius - 1)), edge)
    return c


def three_part(left, fill_name, rights, h, fill, edge, radius, cap):
    """Left cap, fill and right cap(s) cut from one drawn body. `rights` holds
    (name, arrows) pairs: arrows None for a plain cap, True for the pop-up's
    up-down arrows, False for the pull-down arrow."""
    width = 48
    whole = body(width, h, fill, edge, radius)
    whole.crop(0, cap).save(left)
    whole.crop(cap + 4, 4).save(fill_name)
    for name, both in rights:
        if both is None:
            whole.crop(width - cap, cap).save(name)
            continue
        right = whole.crop(width - 18, 18)
        mid, ax = h / 2, 8.5
        right.paint(lambda x, y: 1.5 <= x <= 2.5 and 4 <= y <= h - 4, rgba(WHITE, 0.25))
        if both:
            right.paint(polygon([(ax - 3, mid - 1.5), (ax + 3, mid - 1.5), (ax, mid - 5)]),
                        rgba(WHITE, 0.9))
            right.paint(polygon([(ax - 3, mid + 1.5), (ax + 3, mid + 1.5), (ax, mid + 5)]),
                        rgba(WHITE, 0.9))
        else:
            right.paint(polygon([(ax - 3.5, mid - 1.5), (ax + 3.5, mid - 1.5), (ax, mid + 2.5)]),
                        rgba(WHITE, 0.9))
        right.save(name)


def controls():
    normal = ((0.08, 0.08, 0.08, 0.55), rgba(WHITE, 0.45))
    pressed = ((0.55, 0.55, 0.6, 0.55), rgba(WHITE, 0.75))
    for s, (fill, edge) in (("N", normal), ("P", pressed)):
        three_part("TransparentButtonLeft" + s, "TransparentButtonFill" + s,
                   [("TransparentButtonRight" + s, None)], 20, fill, edge, 5, 6)
        three_part("TransparentPopUpLeft" + s, "TransparentPopUpFill" + s,
                   [("TransparentPopUpRight" + s, True),
                    ("TransparentPopUpPullDownRight" + s, False)], 20, fill, edge, 5, 6)
    dark_n = ((0.16, 0.16, 0.17, 0.95), (0.35, 0.35, 0.37, 1.0))
    dark_p = ((0.30, 0.30, 0.32, 0.95), (0.50, 0.50, 0.53, 1.0))
    # The dark pop-up's names carry the extensions (and the spelling) the program asks for.
    three_part("DrakPopUpLeftN.tiff", "DrakPopUpFillN.tiff",
               [("DrakPopUpRightN.tiff", True), ("DrakPopUpDownRightN.tif", False)],
               22, dark_n[0], dark_n[1], 4, 6)
    three_part("DrakPopUpLeftP.tiff", "DrakPopUpFillP.tiff",
               [("DrakPopUpRightP.tiff", True), ("DrakPopUplDownRightP.tif", False)],
               22, dark_p[0], dark_p[1], 4, 6)
    checkbox()
    slider()


def checkbox():
    for on in (True, False):
        for state in "NP":
            c = Canvas(15, 15)
            fill = (0.08, 0.08, 0.08, 0.55) if state == "N" else (0.55, 0.55, 0.6, 0.6)
            c.paint(rounded(0.5, 0.5, 14.5, 14.5, 3), fill)
            c.paint(ring(rounded(0.5, 0.5, 14.5, 14.5, 3), rounded(1.5, 1.5, 13.5, 13.5, 2)),
                    rgba(WHITE, 0.6 if state == "N" else 0.85))
            if on:
                c.paint(stroke([(3.8, 7.7), (6.4, 10.6), (11.4, 4.2)], 1.8), rgba(WHITE, 0.95))
            c.save("TransparentCheckbox%s%s" % ("On" if on else "Off", state))


def slider():
    track = Canvas(16, 5)
    track.paint(rounded(0.5, 0.5, 15.5, 4.5, 2), (0.05, 0.05, 0.05, 0.7))
    track.paint(ring(rounded(0.5, 0.5, 15.5, 4.5, 2), rounded(1.5, 1.5, 14.5, 3.5, 1)),
                rgba(WHITE, 0.55))
    track.crop(0, 3).save("TransparentSliderTrackLeft.tiff")
    track.crop(6, 2).save("TransparentSliderTrackFill.tiff")
    track.crop(13, 3).save("TransparentSliderTrackRight.tiff")
    for state, shade in (("N", 0.95), ("P", 0.72)):
        knob = Canvas(13, 13)
        knob.paint(circle(6.5, 6.5, 6), (0, 0, 0, 0.35))
        knob.paint(circle(6.5, 6.5, 5.2), (shade, shade, shade, 1))
        knob.save("TransparentSliderThumb%s.tiff" % state)
        tri = Canvas(11, 13)
        tri.paint(polygon([(0.5, 0.5), (10.5, 0.5), (10.5, 7), (5.5, 12.5), (0.5, 7)]),
                  (0, 0, 0, 0.35))
        tri.paint(polygon([(1.5, 1.5), (9.5, 1.5), (9.5, 6.6), (5.5, 11), (1.5, 6.6)]),
                  (shade, shade, shade, 1))
        tri.save("TransparentSliderTriangleThumb%s.tiff" % state)


def arrow_head(tip, back, half):
    (tx, ty), (bx, by) = tip, back
    dx, dy = tx - bx, ty - by
    n = math.hypot(dx, dy)
    px, py = -dy / n * half, dx / n * half
    return polygon([(tx, ty), (bx + px, by + py), (bx - px, by - py)])


def cursors():
    # A left-right resize arrow; the program turns it by 45 degrees both ways.
    c = Canvas(24, 24)
    for width, color in ((4.2, (0, 0, 0, 1)), (1.8, (1, 1, 1, 1))):
        c.paint(stroke([(6, 12), (18, 12)], width), color)
    for tip, back in (((1.5, 12), (8, 12)), ((22.5, 12), (16, 12))):
        c.paint(arrow_head(tip, back, 5.2), (0, 0, 0, 1))
        c.paint(arrow_head((tip[0] + (1.4 if tip[0] < 12 else -1.4), 12), back, 3.6),
                (1, 1, 1, 1))
    c.save("resize-left-right-cursor")
    # A turning arrow for rotating a menu element.
    r = Canvas(24, 24)
    arc = [(12 + 7.5 * math.cos(math.radians(a)), 12 - 7.5 * math.sin(math.radians(a)))
           for a in range(-200, 61, 10)]
    for width, color in ((4.2, (0, 0, 0, 1)), (1.8, (1, 1, 1, 1))):
        r.paint(stroke(arc, width), color)
    tip = (12 + 7.5 * math.cos(math.radians(80)), 12 - 7.5 * math.sin(math.radians(80)))
    r.paint(arrow_head((tip[0] + 1.5, tip[1] + 0.5), arc[-1], 5.0), (0, 0, 0, 1))
    r.paint(arrow_head((tip[0] + 0.3, tip[1] + 0.6), arc[-1], 3.2), (1, 1, 1, 1))
    r.save("resize-rotate-cursor")


def action_icon():
    c = Canvas(16, 16)
    gear = []
    for i in range(32):
        a = 2 * math.pi * i / 32
        rad = 7.3 if (i // 2) % 2 == 0 else 5.4
        gear.append((8 + rad * math.cos(a), 8 + rad * math.sin(a)))
    body = polygon(gear)
    c.paint(lambda x, y: body(x, y) and not circle(8, 8, 2.4)(x, y), (1, 1, 1, 0.95))
    c.save("ActionTemplate")


def default_image():
    w, h = 160, 120
    c = Canvas(w, h)
    c.paint(lambda x, y: True, (0.22, 0.23, 0.26, 1))
    c.paint(ring(rounded(40, 28, 120, 92, 6), rounded(43, 31, 117, 89, 4)), (0.62, 0.64, 0.68, 1))
    c.paint(circle(98, 46, 7), (0.62, 0.64, 0.68, 1))
    c.paint(lambda x, y: polygon([(46, 86), (70, 54), (86, 74), (96, 64), (114, 86)])(x, y),
            (0.62, 0.64, 0.68, 1))
    c.save("DefaultImage")


def write_qrc():
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/common/images">']
    for alias in sorted(SAVED):
        lines.append('    <file alias="%s">images/%s</file>' % (alias, SAVED[alias]))
    lines += ['</qresource>', '</RCC>', '']
    with open(os.path.join(os.path.dirname(HERE), "CommonImages.qrc"), "w") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    controls()
    cursors()
    action_icon()
    default_image()
    __import__("draw_menuedit").draw(globals())
    __import__("draw_menucanvas").draw(globals())
    __import__("draw_videoedit").draw(globals())
    __import__("draw_videoedit_chapters").draw(globals())
    __import__("draw_listedit").draw(globals())
    __import__("draw_slidecrop").draw(globals())
    __import__("draw_musicline").draw(globals())
    draw_slideshow.slideshow(Canvas, circle, polygon, rounded)
    __import__("draw_shell").draw(globals())
    __import__("draw_preview").draw(globals())
    write_qrc()
