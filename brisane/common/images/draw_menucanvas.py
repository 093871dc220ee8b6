"""The menu canvas's pictures: "CropDrag2", the corner handle drawn on each
corner of a selected menu item, a white knob with a dark rim and an orange
centre, 24 x 24 so that it stays sharp when the canvas is enlarged.

draw_pictures.py calls draw() with its own globals, so the picture is saved
through its Canvas and listed in the same resource file.
"""


def draw(pictures):
    Canvas = pictures["Canvas"]
    circle = pictures["circle"]

    size = 24
    middle = size / 2
    c = Canvas(size, size)
    c.paint(circle(middle, middle, 10.5), (0.0, 0.0, 0.0, 0.55))
    c.paint(circle(middle, middle, 9.0), (1.0, 1.0, 1.0, 1.0))
    c.paint(circle(middle, middle, 4.0), (1.0, 0.5, 0.0, 1.0))
    c.save("CropDrag2")
