"""Pictures of the slideshow music window: the play and preview buttons of a
music row, the row's note picture and the default picture of a music file.
draw_pictures.py calls draw() with its own names."""

import types


def draw(names):
    lib = types.SimpleNamespace(**names)
    buttons(lib)
    notes(lib)


def note(lib, c, x, y, s, color):
    """An eighth-note pair scaled by s with its lower left head at (x, y)."""
    c.paint(lib.circle(x + 4 * s, y - 3 * s, 3.6 * s), color)
    c.paint(lib.circle(x + 18 * s, y - 6 * s, 3.6 * s), color)
    c.paint(lib.rounded(x + 6.5 * s, y - 24 * s, x + 8 * s, y - 3 * s, 0.3), color)
    c.paint(lib.rounded(x + 20.5 * s, y - 27 * s, x + 22 * s, y - 6 * s, 0.3), color)
    c.paint(lib.polygon([(x + 6.5 * s, y - 24 * s), (x + 22 * s, y - 27 * s),
                         (x + 22 * s, y - 23 * s), (x + 6.5 * s, y - 20 * s)]), color)


def buttons(lib):
    light = (0.9, 0.9, 0.9, 1)
    amber = (1.0, 0.82, 0.2, 1)
    play = lib.Canvas(22, 22)
    play.paint(lib.polygon([(6.5, 4), (18, 11), (6.5, 18)]), light)
    play.save("audio-edit-play")
    pause = lib.Canvas(22, 22)
    pause.paint(lib.rounded(5.5, 4.5, 9.5, 17.5, 1), light)
    pause.paint(lib.rounded(12.5, 4.5, 16.5, 17.5, 1), light)
    pause.save("audio-edit-pause")
    preview = lib.Canvas(22, 22)
    preview.paint(lib.ring(lib.circle(11, 11, 10), lib.circle(11, 11, 8.6)), light)
    preview.paint(lib.polygon([(8.5, 6.5), (15.5, 11), (8.5, 15.5)]), light)
    preview.save("audio-edit-preview")
    stop = lib.Canvas(22, 22)
    stop.paint(lib.ring(lib.circle(11, 11, 10), lib.circle(11, 11, 8.6)), amber)
    stop.paint(lib.rounded(7.5, 7.5, 10, 14.5, 0.8), amber)
    stop.paint(lib.rounded(12, 7.5, 14.5, 14.5, 0.8), amber)
    stop.save("audio-edit-preview-pause")


def notes(lib):
    back = lib.Canvas(70, 70)
    back.paint(lib.rounded(1, 1, 69, 69, 8), (0.12, 0.32, 0.55, 1))
    back.paint(lib.rounded(3, 3, 67, 67, 7), (0.2, 0.45, 0.72, 1))
    note(lib, back, 20, 52, 1.2, (1, 1, 1, 0.95))
    back.save("BackMusic.png")
    icon = lib.Canvas(96, 64)
    icon.paint(lib.rounded(0.5, 0.5, 95.5, 63.5, 6), (0.16, 0.16, 0.18, 1))
    note(lib, icon, 32, 48, 1.3, (0.85, 0.85, 0.88, 1))
    icon.save("default-audio-icon")
