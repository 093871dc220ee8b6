"""Pictures of the video edit sheet: the play, pause and preview buttons and
the trim timeline's bar, handles and playhead. draw_pictures.py calls draw()
with its own names, so these are saved and listed with the others."""

import types


def draw(names):
    lib = types.SimpleNamespace(**names)
    buttons(lib)
    timeline(lib)


def buttons(lib):
    light = (0.92, 0.92, 0.92, 1)
    play = lib.Canvas(24, 24)
    play.paint(lib.polygon([(7, 4.5), (20, 12), (7, 19.5)]), light)
    play.save("video_edit_play")
    pause = lib.Canvas(24, 24)
    pause.paint(lib.rounded(6, 5, 10, 19, 1), light)
    pause.paint(lib.rounded(14, 5, 18, 19, 1), light)
    pause.save("video_edit_pause")
    # Preview: the play triangle inside a ring; while it runs, a square.
    preview = lib.Canvas(24, 24)
    preview.paint(lib.ring(lib.circle(12, 12, 10.5), lib.circle(12, 12, 9)), light)
    preview.paint(lib.polygon([(9.5, 7), (17, 12), (9.5, 17)]), light)
    preview.save("video_edit_preview")
    stop = lib.Canvas(24, 24)
    stop.paint(lib.ring(lib.circle(12, 12, 10.5), lib.circle(12, 12, 9)), (1.0, 0.75, 0.2, 1))
    stop.paint(lib.rounded(8, 8, 16, 16, 1), (1.0, 0.75, 0.2, 1))
    stop.save("video_edit_preview_stop")


def timeline(lib):
    # The bar picture's height sets the bar's thickness; it is not drawn.
    bar = lib.Canvas(8, 8)
    bar.paint(lib.rounded(0.5, 0.5, 7.5, 7.5, 2), (0.1, 0.1, 0.1, 0.8))
    bar.save("player_progress_bar_background")
    # Handles hang below the bar: a stem along the segment's end and a grip.
    grip = (0.85, 0.85, 0.85, 1)
    edge = (0.2, 0.2, 0.2, 1)
    left = lib.Canvas(9, 16)
    left.paint(lib.polygon([(8.5, 0), (8.5, 15.5), (0.5, 15.5), (0.5, 7), (6.5, 0)]), edge)
    left.paint(lib.polygon([(7.5, 1), (7.5, 14.5), (1.5, 14.5), (1.5, 7.5), (6.8, 1.5)]), grip)
    left.save("player_trim_left")
    right = lib.Canvas(9, 16)
    right.paint(lib.polygon([(0.5, 0), (0.5, 15.5), (8.5, 15.5), (8.5, 7), (2.5, 0)]), edge)
    right.paint(lib.polygon([(1.5, 1), (1.5, 14.5), (7.5, 14.5), (7.5, 7.5), (2.2, 1.5)]), grip)
    right.save("player_trim_right")
    point = lib.Canvas(13, 13)
    point.paint(lib.circle(6.5, 6.5, 6), (0, 0, 0, 0.45))
    point.paint(lib.circle(6.5, 6.5, 4.8), (1, 1, 1, 1))
    point.save("player_progress_point")
