"""Pictures of the title list: the page row's arrow, the title row's picture
and the clip rows' chapter-edit and video-edit buttons. draw_pictures.py
calls draw() with its own names, so these are saved and listed with the
others. Drawn at twice the size they are shown at."""

import types


def draw(names):
    lib = types.SimpleNamespace(**names)
    page_arrow(lib)
    title_image(lib)
    clip_mark_button(lib)
    video_edit_button(lib)


def page_arrow(lib):
    # A disclosure arrow pointing right, drawn into 25 x 25.
    c = lib.Canvas(50, 50)
    c.paint(lib.polygon([(15, 9), (40, 25), (15, 41)]), (0.78, 0.80, 0.84, 1))
    c.save("Page_arrow_image")


def title_image(lib):
    # A film frame: a light strip with sprocket holes and a picture window.
    c = lib.Canvas(50, 50)
    body = lib.rounded(4, 9, 46, 41, 4)
    holes = []
    for i in range(5):
        x = 7 + i * 8.4
        holes.append(lib.rounded(x, 12, x + 4.5, 16, 1))
        holes.append(lib.rounded(x, 34, x + 4.5, 38, 1))
    window = lib.rounded(9, 19.5, 41, 30.5, 1.5)

    def strip(x, y):
        return body(x, y) and not window(x, y) and not any(h(x, y) for h in holes)

    c.paint(strip, (0.70, 0.76, 0.86, 1))
    c.paint(window, (0.25, 0.42, 0.75, 1))
    c.save("TitleImage")


def plate(lib, c):
    """The round dark plate both buttons stand on, with a light rim."""
    c.paint(lib.circle(45, 45, 44), (0.85, 0.87, 0.9, 1))
    c.paint(lib.circle(45, 45, 41), (0.16, 0.17, 0.2, 1))


def clip_mark_button(lib):
    # Chapter edit: a bookmark flag over three chapter ticks.
    c = lib.Canvas(90, 90)
    plate(lib, c)
    light = (0.95, 0.78, 0.25, 1)
    c.paint(lib.polygon([(33, 20), (57, 20), (57, 58), (45, 48), (33, 58)]), light)
    for x in (27, 45, 63):
        c.paint(lib.rounded(x - 2, 63, x + 2, 71, 1), (0.9, 0.9, 0.92, 1))
    c.paint(lib.rounded(22, 66, 68, 68, 1), (0.9, 0.9, 0.92, 1))
    c.save("clip_mark_btn")


def video_edit_button(lib):
    # Video edit: a film frame with a pencil across it.
    c = lib.Canvas(90, 90)
    plate(lib, c)
    frame = lib.ring(lib.rounded(20, 26, 62, 60, 3), lib.rounded(25, 31, 57, 55, 2))
    c.paint(frame, (0.9, 0.9, 0.92, 1))
    c.paint(lib.polygon([(25, 55), (43, 37), (57, 49), (39, 67)]), (0.16, 0.17, 0.2, 1))
    pencil = (0.4, 0.75, 1.0, 1)
    c.paint(lib.polygon([(44, 62), (64, 30), (72, 35), (52, 67)]), pencil)
    c.paint(lib.polygon([(44, 62), (52, 67), (43, 71)]), (0.95, 0.85, 0.65, 1))
    c.save("video_edit_btn")
