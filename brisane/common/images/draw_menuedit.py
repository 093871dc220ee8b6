"""The menu editor's pictures: the previous-page and next-page arrows, each
in an enabled ("PrePage", "NextPage") and a disabled ("PrePage2",
"NextPage2") state.

draw_pictures.py calls draw() with its own globals, so the pictures are
saved through its Canvas and listed in the same resource file.
"""


def draw(pictures):
    Canvas = pictures["Canvas"]
    circle = pictures["circle"]
    polygon = pictures["polygon"]
    ring = pictures["ring"]

    size = 24
    middle = size / 2
    states = (("", (0.92, 0.92, 0.92, 1.0), (1.0, 1.0, 1.0, 0.55)),
              ("2", (0.45, 0.45, 0.45, 1.0), (1.0, 1.0, 1.0, 0.18)))
    for suffix, arrow, edge in states:
        for name, direction in (("PrePage", -1), ("NextPage", 1)):
            c = Canvas(size, size)
            c.paint(circle(middle, middle, 11), (0.10, 0.10, 0.10, 0.6))
            c.paint(ring(circle(middle, middle, 11), circle(middle, middle, 10)), edge)
            tip = middle + direction * 5.5
            back = middle - direction * 3.5
            c.paint(polygon([(tip, middle), (back, middle - 6.5), (back, middle + 6.5)]), arrow)
            c.save(name + suffix)
