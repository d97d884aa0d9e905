"""The six button glyphs, drawn at any size from one description each.

A glyph is described in a 16 by 16 design square, v downwards. A shape is a
union of convex pieces, each piece a list of half-planes (a, b, c) that hold
where a*u + b*v <= c, all small integers. A pixel belongs to a shape when its
centre does, so at 16 pixels every design unit is one pixel, and at larger
sizes the same shapes are drawn again on the finer grid (never enlarged from
the 16 pixel image). The program draws the glyphs with the same rules from
these shapes (make-art writes them to res/art_shapes.inc).

Each glyph is a stack of parts. A layer is a shape, a fill (lighter at its top
row, darker at its bottom row) and a darker outline of whole pixels around it,
one pixel wide below 40 pixels and a pixel wider for every 24 above. A spot is
a shape filled with one colour, without an outline. Order in a strip: clear,
change, add, save, move down, move up.
"""

from fractions import Fraction

from .bitmap_files import KEY, new_image

DESIGN = 16

RED = ((255, 124, 108), (206, 36, 30), (120, 12, 8))
GREEN = ((128, 222, 110), (40, 150, 44), (16, 86, 20))
BLUE = ((120, 178, 248), (36, 100, 204), (14, 50, 128))
FOLDER_BACK = ((240, 188, 70), (214, 152, 34), (132, 88, 12))
FOLDER_FRONT = ((255, 236, 150), (250, 200, 72), (132, 88, 12))
SHUTTER = ((236, 238, 244), (176, 182, 196), (72, 78, 96))
LABEL = ((255, 255, 255), (232, 236, 244), (14, 50, 128))
LABEL_LINE = (150, 170, 204)
DOT = (40, 40, 48)


def box(x0, y0, x1, y1, *cuts):
    """The closed rectangle, less what the extra half-planes cut away."""
    return [[(-1, 0, -x0), (1, 0, x1), (0, -1, -y0), (0, 1, y1), *cuts]]


def union(*shapes):
    return [piece for shape in shapes for piece in shape]


def upside_down(shape):
    return [[(a, -b, c - DESIGN * b) for a, b, c in piece] for piece in shape]


# Two diagonal bands two units wide, crossing in the middle.
CROSS = union(box(2, 2, 14, 14, (1, -1, 1), (-1, 1, 1)),
              box(2, 2, 14, 14, (1, 1, 17), (-1, -1, -15)))
DOWN_ARROW = union(box(6, 2, 10, 8), box(0, 8, 16, 14, (-1, 1, 6), (1, 1, 22)))
# A floppy disk: a square with its top right corner cut off.
DISK = box(2, 2, 14, 14, (2, -2, 21))


def layer(shape, colours):
    return ("layer", shape, colours)


def spot(shape, colour):
    return ("spot", shape, (colour, colour, colour))


GLYPHS = [
    [layer(CROSS, RED)],
    [layer(union(box(1, 2, 7, 4), box(1, 3, 15, 12)), FOLDER_BACK),
     layer(box(1, 6, 15, 12), FOLDER_FRONT)]
    + [spot(box(x, 13, x + 2, 15), DOT) for x in (6, 9, 12)],
    [layer(union(box(6, 2, 10, 14), box(2, 6, 14, 10)), GREEN)],
    [layer(DISK, BLUE),
     layer(box(5, 2, 11, 6), SHUTTER),
     spot(box(8, 3, 10, 5), SHUTTER[2]),
     layer(box(4, 9, 12, 13), LABEL),
     spot(box(5, 10, 11, 11), LABEL_LINE)],
    [layer(DOWN_ARROW, BLUE)],
    [layer(upside_down(DOWN_ARROW), BLUE)],
]


def outline_width(size):
    return max(1, (size + 8) // 24)


def pixels_of(shape, size):
    # Exact centres, so that a centre on an edge falls the same way every time.
    centres = [Fraction(DESIGN * (2 * i + 1), 2 * size) for i in range(size)]
    return {(x, y) for y, v in enumerate(centres) for x, u in enumerate(centres)
            if any(all(a * u + b * v <= c for a, b, c in piece) for piece in shape)}


def outline_of(pixels, size, width):
    """Pixels outside the set within `width` edge-to-edge steps of it."""
    grown = set(pixels)
    for _ in range(width):
        for x, y in list(grown):
            grown |= {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)}
    return {(x, y) for x, y in grown - pixels if 0 <= x < size and 0 <= y < size}


def blend(light, base, step, steps):
    """light + (base - light) * step / steps per channel, rounded half to even."""
    return tuple(round(Fraction(a * steps + (b - a) * step, steps)) for a, b in zip(light, base))


def draw_glyph(parts, size):
    """{(x, y): (r, g, b)} of the glyph's pixels at size x size."""
    glyph = {}
    for kind, shape, (light, base, edge) in parts:
        pixels = pixels_of(shape, size)
        if not pixels:
            continue
        if kind == "layer":
            for p in outline_of(pixels, size, outline_width(size)):
                glyph[p] = edge
        ys = [y for _, y in pixels]
        top, steps = min(ys), max(1, max(ys) - min(ys))
        for x, y in pixels:
            glyph[(x, y)] = blend(light, base, y - top, steps)
    return glyph


def draw_glyph_strip(size=DESIGN):
    image = new_image(size * len(GLYPHS), size, KEY)
    for index, parts in enumerate(GLYPHS):
        for (x, y), colour in draw_glyph(parts, size).items():
            assert colour != KEY
            image["rows"][y][index * size + x] = colour
    return image
