"""The main window's pictures: the capacity bar's track ("levelBottom") and
its glass highlight ("levelTop"), both drawn over the whole bar. Drawn with
the canvas of draw_pictures.py, which calls draw()."""

W, H = 160, 22


def draw(g):
    canvas, rounded = g["Canvas"], g["rounded"]

    def band(y0, y1):
        return lambda x, y: y0 <= y < y1

    track = rounded(1, 2, W - 1, H - 2, 9)
    bottom = canvas(W, H)
    for row in range(H):
        level = 0.10 + 0.12 * row / (H - 1)  # darker at the top: a sunken track
        bottom.paint(lambda x, y, r=row: track(x, y) and band(r, r + 1)(x, y),
                     (level, level, level, 1))
    bottom.save("levelBottom")

    gloss = rounded(2, 3, W - 2, H / 2 + 1, 7)
    top = canvas(W, H)
    for row in range(H):
        alpha = max(0.0, 0.30 * (1 - row / (H / 2)))
        if alpha > 0:
            top.paint(lambda x, y, r=row: gloss(x, y) and band(r, r + 1)(x, y),
                      (1, 1, 1, alpha))
    top.save("levelTop")
