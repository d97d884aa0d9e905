"""The Velbrook logo: a file dialog whose places bar, a blue panel with five
stacked shortcut tiles, stands in front; the selected tile is the amber accent.

Drawn in a 48 by 48 design space and rendered at any size by supersampling.
"""

from .bitmap_files import KEY
from .canvas import Canvas, lerp, rounded_rect_test, vertical_gradient

DESIGN = 48

# Edges are blended against this neutral light colour, never against the key.
EDGE_BACKDROP = (244, 244, 244)
# Pixels covered less than this count as background and become the key.
KEY_THRESHOLD = 0.3

INK = (24, 52, 110)
PANEL_TOP, PANEL_BOTTOM = (58, 128, 222), (22, 70, 168)
TILE_TOP, TILE_BOTTOM = (236, 244, 255), (184, 212, 248)
ACCENT_TOP, ACCENT_BOTTOM = (255, 206, 92), (244, 146, 28)
ACCENT_INDEX = 1
WINDOW_TOP, WINDOW_BOTTOM = (255, 255, 255), (224, 232, 244)
TITLE_TOP, TITLE_BOTTOM = (110, 168, 236), (64, 124, 206)
LINE_GREY = (168, 182, 204)


# The 48 by 48 design as a list of shapes, painted in order, each opaque over
# what it covers: (x0, y0, x1, y1, corner radius, lowest y painted or None,
# paint). A paint is (top colour, bottom colour, y0, y1), a vertical gradient
# over y0 to y1. Every length is a whole number of tenths (the program keeps
# them so, in res/art_shapes.inc).


def _solid(colour):
    return (colour, colour, 0.0, 1.0)


def _gradient(top, bottom, y0, y1):
    return (top, bottom, y0, y1)


def _rounded(x0, y0, x1, y1, radius, paint, clip_bottom=None):
    return (x0, y0, x1, y1, radius, clip_bottom, paint)


def _back_window():
    x0, y0, x1, y1 = 15.0, 7.0, 46.0, 41.0
    title_bottom = y0 + 6.0
    items = [
        _rounded(x0, y0, x1, y1, 3.0, _solid((96, 116, 152))),
        _rounded(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 2.0,
                 _gradient(WINDOW_TOP, WINDOW_BOTTOM, y0, y1)),
        _rounded(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 2.0,
                 _gradient(TITLE_TOP, TITLE_BOTTOM, y0, title_bottom), title_bottom),
    ]
    for k in range(4):
        top = 18.0 + 5.0 * k
        items.append(_rounded(28.0, top, 31.0, top + 3.0, 0.0, _solid((120, 150, 200))))
        items.append(_rounded(33.0, top + 1.0, 43.0 - 4.0 * (k % 2), top + 2.0, 0.0,
                              _solid(LINE_GREY)))
    return items


def _places_panel():
    x0, y0, x1, y1 = 2.0, 1.5, 25.0, 46.5
    items = [
        _rounded(x0, y0, x1, y1, 4.5, _solid(INK)),
        _rounded(x0 + 1.2, y0 + 1.2, x1 - 1.2, y1 - 1.2, 3.4,
                 _gradient(PANEL_TOP, PANEL_BOTTOM, y0, y1)),
    ]
    tile_h, gap = 6.0, 2.0
    top = y0 + (y1 - y0 - (5 * tile_h + 4 * gap)) / 2
    for k in range(5):
        ty = top + k * (tile_h + gap)
        if k == ACCENT_INDEX:
            colours = (ACCENT_TOP, ACCENT_BOTTOM)
            edge = (176, 88, 10)
        else:
            colours = (TILE_TOP, TILE_BOTTOM)
            edge = (16, 46, 118)
        items.append(_rounded(6.0, ty, 21.0, ty + tile_h, 1.5, _solid(edge)))
        items.append(_rounded(7.0, ty + 1.0, 20.0, ty + tile_h - 1.0, 1.0,
                              _gradient(*colours, ty, ty + tile_h)))
        items.append(_rounded(9.0, ty + 2.0, 11.0, ty + 4.0, 0.0, _solid(edge)))
    return items


def _in_tenths(value):
    return round(value * 10) / 10


def _tidy(item):
    x0, y0, x1, y1, radius, clip_bottom, (top, bottom, g0, g1) = item
    return (*(_in_tenths(v) for v in (x0, y0, x1, y1, radius)),
            None if clip_bottom is None else _in_tenths(clip_bottom),
            (top, bottom, _in_tenths(g0), _in_tenths(g1)))


LOGO = [_tidy(item) for item in _back_window() + _places_panel()]


def paint_item(c, item):
    x0, y0, x1, y1, radius, clip_bottom, (top, bottom, g0, g1) = item
    inside = rounded_rect_test(x0, y0, x1, y1, radius)
    if clip_bottom is None:
        clip_bottom = y1
    c.fill((x0, y0, x1, min(y1, clip_bottom)),
           lambda x, y: inside(x, y) and y <= clip_bottom,
           vertical_gradient(top, bottom, g0, g1))


def _small_window(c):
    c.rounded_rect(7.0, 2.0, 16.0, 14.0, 1.0, (96, 116, 152))
    c.rect(8.0, 3.0, 15.0, 13.0, vertical_gradient(WINDOW_TOP, WINDOW_BOTTOM, 3.0, 13.0))
    c.rect(8.0, 3.0, 15.0, 5.0, TITLE_BOTTOM)
    for top in (7.0, 10.0):
        c.rect(11.0, top, 14.0, top + 1.0, LINE_GREY)


def _small_panel(c):
    c.rounded_rect(0.0, 0.0, 10.0, 16.0, 2.0, INK)
    c.rounded_rect(1.0, 1.0, 9.0, 15.0, 1.0, vertical_gradient(PANEL_TOP, PANEL_BOTTOM, 1, 15))
    for k in range(5):
        top = 1.0 + 3 * k
        colour = ACCENT_BOTTOM if k == ACCENT_INDEX else TILE_TOP
        c.rect(2.0, top, 8.0, top + 2.0, colour)


def render_small():
    """The 16x16 version, laid out on whole pixels so that it stays crisp."""
    c = Canvas(16, 16, 8)
    _small_window(c)
    _small_panel(c)
    return c.coverage_image()


def render(size, supersample=4):
    c = Canvas(size, DESIGN, supersample)
    for item in LOGO:
        paint_item(c, item)
    return c.coverage_image()


def draw_logo(size=DESIGN):
    """size x size 24 bpp image on the magenta key, edges blended against a light grey."""
    rows = []
    for row in render(size):
        out = []
        for r, g, b, a in row:
            if a < KEY_THRESHOLD:
                out.append(KEY)
            else:
                px = lerp(EDGE_BACKDROP, (r, g, b), a)
                out.append(_not_key(tuple(int(round(v)) for v in px)))
        rows.append(out)
    return {"width": size, "height": size, "rows": rows}


def _not_key(px):
    return (254, 0, 255) if px == KEY else px


def draw_icon(size):
    """size x size image with straight alpha for the window icon."""
    rows = []
    for row in render_small() if size <= 16 else render(size):
        rows.append([(int(round(r)), int(round(g)), int(round(b)), int(round(a * 255)))
                     if a > 0.02 else (0, 0, 0, 0) for r, g, b, a in row])
    return {"width": size, "height": size, "rows": rows}
