"""The preview window's pictures: the play and pause buttons ("dvd-play",
"dvd-pause"), the seek bar's strip and knob ("TimelineBack.png",
"PlayBtn2.png") and two chapter marks ("ChapterImage.png",
"ChapterImage2.png"). Drawn with the canvas of draw_pictures.py, which calls
draw()."""

LIGHT = (0.86, 0.87, 0.90, 1)


def draw(g):
    canvas, circle, polygon, rounded = g["Canvas"], g["circle"], g["polygon"], g["rounded"]

    play = canvas(24, 24)
    play.paint(polygon([(7, 4), (20, 12), (7, 20)]), LIGHT)
    play.save("dvd-play")

    pause = canvas(24, 24)
    pause.paint(rounded(6, 4, 10, 20, 1), LIGHT)
    pause.paint(rounded(14, 4, 18, 20, 1), LIGHT)
    pause.save("dvd-pause")

    # The bar lies 12 points above the strip's bottom, level with the knob's
    # centre when the knob sits 6 points up.
    strip = canvas(40, 24)
    strip.paint(rounded(0, 9, 40, 15, 3), (0.07, 0.07, 0.08, 1))
    strip.paint(rounded(0, 10.5, 40, 13.5, 1.5), (0.36, 0.38, 0.42, 1))
    strip.save("TimelineBack.png")

    knob = canvas(12, 12)
    knob.paint(circle(6, 6, 5.5), (0.10, 0.10, 0.11, 1))
    knob.paint(circle(6, 6, 4.5), LIGHT)
    knob.save("PlayBtn2.png")

    chapter = canvas(6, 10)
    chapter.paint(polygon([(0, 0), (6, 0), (3, 10)]), (0.95, 0.70, 0.25, 1))
    chapter.save("ChapterImage.png")

    chapter2 = canvas(6, 10)
    chapter2.paint(polygon([(0, 0), (6, 0), (3, 10)]), (0.55, 0.75, 0.95, 1))
    chapter2.save("ChapterImage2.png")
