"""Pictures of the chapter editor's timeline: the bar ("Clip_PlayBack"), a
chapter marker ("Clip_ChapterImage2") and its selected look
("Clip_ChapterImage"), and the playhead ("Clip_PlayPoint"). Their sizes set
the timeline's geometry: the bar's height is its thickness, the marker hangs
from the bar's lower edge with its left edge at the marker's time, and the
playhead sits just above the bar. draw_pictures.py calls draw() with its own
names, so these are saved and listed with the others."""

import types


def draw(names):
    lib = types.SimpleNamespace(**names)
    bar(lib)
    markers(lib)
    playhead(lib)


def bar(lib):
    # Stretched along the timeline: a dark edge round a groove lit from above.
    back = lib.Canvas(16, 8)
    back.paint(lambda x, y: True, (0.05, 0.05, 0.06, 1))
    for row, grey in enumerate([0.42, 0.36, 0.31, 0.27, 0.24, 0.22]):
        back.paint(lambda x, y, r=row: 1 <= x <= 15 and 1 + r <= y < 2 + r,
                   (grey, grey, grey + 0.02, 1))
    back.save("Clip_PlayBack")


def marker(lib, name, fill):
    # A stem down from the bar along the marker's time, and a tab to grip
    # below the bar's hit band.
    edge = (0.08, 0.08, 0.09, 1)
    c = lib.Canvas(13, 24)
    c.paint(lib.rounded(0, 0, 3, 24, 0.5), edge)
    c.paint(lib.rounded(0, 11, 13, 24, 2.5), edge)
    c.paint(lambda x, y: 0.8 <= x <= 2.2 and 0 <= y <= 22, fill)
    c.paint(lib.rounded(0.8, 11.8, 12.2, 23.2, 2), fill)
    c.save(name)


def markers(lib):
    marker(lib, "Clip_ChapterImage2", (0.55, 0.75, 0.95, 1))
    marker(lib, "Clip_ChapterImage", (1.0, 0.68, 0.20, 1))


def playhead(lib):
    # A triangle pointing down at the bar.
    point = lib.Canvas(13, 13)
    point.paint(lib.polygon([(0.5, 1), (12.5, 1), (6.5, 12.5)]), (0.05, 0.05, 0.06, 0.8))
    point.paint(lib.polygon([(2.2, 2), (10.8, 2), (6.5, 10.5)]), (0.96, 0.96, 0.96, 1))
    point.save("Clip_PlayPoint")
