"""Pictures of the photo crop sheet: the two diagonal resize cursors of the
crop frame's corners. "Crop_Resize_Cursor_L.png" runs from the lower left to
the upper right (the bottom-left and top-right corners), "..._R.png" from the
upper left to the lower right. draw_pictures.py calls draw() with its own
names, so these are saved and listed with the others."""

import types


def draw(names):
    lib = types.SimpleNamespace(**names)
    # Screen rows grow downward: the lower-left end has the larger y.
    diagonal("Crop_Resize_Cursor_L.png", lib, (5, 19), (19, 5))
    diagonal("Crop_Resize_Cursor_R.png", lib, (5, 5), (19, 19))


def diagonal(name, lib, one, other):
    c = lib.Canvas(24, 24)

    def towards(a, b, by):
        dx, dy = b[0] - a[0], b[1] - a[1]
        n = (dx * dx + dy * dy) ** 0.5
        return (a[0] + dx / n * by, a[1] + dy / n * by)

    inner = (towards(one, other, 4.5), towards(other, one, 4.5))
    for width, color in ((4.2, (0, 0, 0, 1)), (1.8, (1, 1, 1, 1))):
        c.paint(lib.stroke(list(inner), width), color)
    for tip, back in ((one, other), (other, one)):
        near = towards(tip, back, 6.5)
        c.paint(lib.arrow_head(towards(tip, back, -1.2), near, 5.2), (0, 0, 0, 1))
        c.paint(lib.arrow_head(towards(tip, back, 0.6), towards(tip, back, 5.6), 3.4),
                (1, 1, 1, 1))
    c.save(name)
