"""The six 16x16 button glyphs, drawn pixel by pixel.

Each glyph is a stack of layers. A layer is a set of pixels, a fill (lighter at
the top, darker at the bottom) and a 1-pixel darker outline around the set.
Order in the strip: clear, change, add, save, move down, move up.
"""

from .bitmap_files import KEY, new_image

SIZE = 16

RED = ((255, 124, 108), (206, 36, 30), (120, 12, 8))
GREEN = ((128, 222, 110), (40, 150, 44), (16, 86, 20))
BLUE = ((120, 178, 248), (36, 100, 204), (14, 50, 128))
FOLDER_BACK = ((240, 188, 70), (214, 152, 34), (132, 88, 12))
FOLDER_FRONT = ((255, 236, 150), (250, 200, 72), (132, 88, 12))
SHUTTER = ((236, 238, 244), (176, 182, 196), (72, 78, 96))
LABEL = ((255, 255, 255), (232, 236, 244), (14, 50, 128))
DOT = (40, 40, 48)


def rect(x0, y0, x1, y1):
    """Pixels of the inclusive rectangle."""
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def where(test):
    return {(x, y) for x in range(SIZE) for y in range(SIZE) if test(x, y)}


def outline_of(pixels):
    """Pixels outside the set that touch it edge to edge."""
    around = set()
    for x, y in pixels:
        around |= {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)}
    return {(x, y) for x, y in around - pixels if 0 <= x < SIZE and 0 <= y < SIZE}


def paint_layer(glyph, pixels, colours, outline=True):
    light, base, edge = colours
    ys = [y for _, y in pixels]
    top, bottom = min(ys), max(ys)
    if outline:
        for p in outline_of(pixels):
            glyph[p] = edge
    for x, y in pixels:
        t = (y - top) / max(1, bottom - top)
        glyph[(x, y)] = tuple(int(round(a + (b - a) * t)) for a, b in zip(light, base))


def clear_glyph():
    g = {}
    band = where(lambda x, y: 2 <= x <= 13 and 2 <= y <= 13
                 and (abs(x - y) <= 1 or abs(x + y - 15) <= 1))
    paint_layer(g, band, RED)
    return g


def change_glyph():
    g = {}
    paint_layer(g, rect(1, 2, 6, 3) | rect(1, 3, 14, 11), FOLDER_BACK)
    paint_layer(g, rect(1, 6, 14, 11), FOLDER_FRONT)
    for x in (6, 9, 12):
        for p in rect(x, 13, x + 1, 14):
            g[p] = DOT
    return g


def add_glyph():
    g = {}
    paint_layer(g, rect(6, 2, 9, 13) | rect(2, 6, 13, 9), GREEN)
    return g


def save_glyph():
    g = {}
    body = where(lambda x, y: 2 <= x <= 13 and 2 <= y <= 13 and not (x - y >= 11))
    paint_layer(g, body, BLUE)
    paint_layer(g, rect(5, 2, 10, 5), SHUTTER)
    for p in rect(8, 3, 9, 4):
        g[p] = SHUTTER[2]
    paint_layer(g, rect(4, 9, 11, 12), LABEL)
    for p in rect(5, 10, 10, 10):
        g[p] = (150, 170, 204)
    return g


def down_arrow_pixels():
    shaft = rect(6, 2, 9, 7)
    head = where(lambda x, y: 8 <= y <= 13 and (y - 6) <= x <= 21 - y)
    return shaft | head


def move_down_glyph():
    g = {}
    paint_layer(g, down_arrow_pixels(), BLUE)
    return g


def move_up_glyph():
    g = {}
    paint_layer(g, {(x, SIZE - 1 - y) for x, y in down_arrow_pixels()},
                BLUE)
    return g


GLYPHS = [clear_glyph, change_glyph, add_glyph, save_glyph, move_down_glyph, move_up_glyph]


def draw_glyph_strip():
    image = new_image(SIZE * len(GLYPHS), SIZE, KEY)
    for index, draw in enumerate(GLYPHS):
        for (x, y), colour in draw().items():
            assert colour != KEY
            image["rows"][y][index * SIZE + x] = colour
    return image
