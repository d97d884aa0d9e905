"""The glyph and logo shapes as C++ tables, from which the program draws them
at the size its display needs (ui/art/ reads them; the types are in
ui/art/art_shapes.h)."""

from .glyphs import GLYPHS
from .logo import DESIGN as LOGO_DESIGN, LOGO


def _rgb(colour):
    r, g, b = colour
    return f"0x{r:02X}{g:02X}{b:02X}"


def _tenths(value):
    return str(round(value * 10))


def program_tables():
    # One line of half_planes per piece.
    half_planes, pieces, parts, glyphs = [], [], [], []
    plane_count = 0
    for description in GLYPHS:
        glyphs.append(f"{{{len(parts)}, {len(description)}}}")
        for kind, shape, (light, base, edge) in description:
            parts.append(f"{{{'true' if kind == 'layer' else 'false'}, {_rgb(light)}, "
                         f"{_rgb(base)}, {_rgb(edge)}, {len(pieces)}, {len(shape)}}}")
            for piece in shape:
                pieces.append(f"{{{plane_count}, {len(piece)}}}")
                half_planes.append(", ".join(f"{{{a}, {b}, {c}}}" for a, b, c in piece))
                plane_count += len(piece)
    shapes = []
    for x0, y0, x1, y1, radius, clip_bottom, (top, bottom, g0, g1) in LOGO:
        clip = y1 if clip_bottom is None else clip_bottom
        numbers = ", ".join(_tenths(v) for v in (x0, y0, x1, y1, radius, clip))
        shapes.append(f"{{{numbers}, {_rgb(top)}, {_rgb(bottom)}, {_tenths(g0)}, {_tenths(g1)}}}")

    def table(kind, name, rows):
        body = "".join(f"    {row},\n" for row in rows)
        return f"inline constexpr {kind} {name}[] = {{\n{body}}};\n"

    return ("// Drawn by scripts/make-art from scripts/art: edit the shapes there and run it again.\n"
            "// clang-format off\n"
            + table("HalfPlane", "kGlyphHalfPlanes", half_planes)
            + table("GlyphPiece", "kGlyphPieces", pieces)
            + table("GlyphPart", "kGlyphParts", parts)
            + table("GlyphShapes", "kGlyphs", glyphs)
            + f"inline constexpr int kLogoDesignSize = {LOGO_DESIGN};\n"
            + table("LogoShape", "kLogoShapes", shapes)
            + "// clang-format on\n").encode()
