"""The slideshow editor's pictures: the play and pause images of its preview
button. Drawn with the canvas of draw_pictures.py, which calls slideshow()."""


def slideshow(canvas, circle, polygon, rounded):
    """Light glyphs on a dark round button, 32 x 32."""
    face = (0.08, 0.08, 0.09, 0.75)
    rim = (1, 1, 1, 0.55)
    glyph = (1, 1, 1, 0.92)

    def button():
        c = canvas(32, 32)
        c.paint(circle(16, 16, 15.5), rim)
        c.paint(circle(16, 16, 14.3), face)
        return c

    play = button()
    play.paint(polygon([(12.5, 9), (23.5, 16), (12.5, 23)]), glyph)
    play.save("Render_Play.png")

    pause = button()
    pause.paint(rounded(10.5, 9.5, 14.5, 22.5, 1), glyph)
    pause.paint(rounded(17.5, 9.5, 21.5, 22.5, 1), glyph)
    pause.save("Render_Pause.png")
