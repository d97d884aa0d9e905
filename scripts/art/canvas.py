"""A supersampled canvas for smooth shapes.

Shapes are given in design units and painted, opaque, at `supersample` samples
per output pixel in each direction. `coverage_image` averages each block of
samples into one pixel with straight (not premultiplied) alpha.
"""


class Canvas:
    def __init__(self, size, design_size, supersample=4):
        self.size = size
        self.ss = supersample
        self.n = size * supersample
        self.scale = self.n / design_size  # samples per design unit
        self.colour = [[(0.0, 0.0, 0.0)] * self.n for _ in range(self.n)]
        self.alpha = [[0.0] * self.n for _ in range(self.n)]

    def _sample_points(self, x0, y0, x1, y1):
        """Sample indexes whose centres may lie in the design box, with the centres."""
        s = self.scale
        i0, i1 = max(0, int(x0 * s) - 1), min(self.n, int(x1 * s) + 2)
        j0, j1 = max(0, int(y0 * s) - 1), min(self.n, int(y1 * s) + 2)
        for j in range(j0, j1):
            y = (j + 0.5) / s
            for i in range(i0, i1):
                yield i, j, (i + 0.5) / s, y

    def fill(self, box, inside, paint):
        """Paints paint(x, y), or a plain colour, wherever inside(x, y) holds."""
        paint = as_paint(paint)
        for i, j, x, y in self._sample_points(*box):
            if inside(x, y):
                self.colour[j][i] = paint(x, y)
                self.alpha[j][i] = 1.0

    def rect(self, x0, y0, x1, y1, paint):
        self.fill((x0, y0, x1, y1), lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, paint)

    def rounded_rect(self, x0, y0, x1, y1, radius, paint):
        self.fill((x0, y0, x1, y1), rounded_rect_test(x0, y0, x1, y1, radius), paint)

    def coverage_image(self):
        """Rows of (r, g, b, a) floats, colour 0-255 and alpha 0-1, one per output pixel."""
        ss, area = self.ss, self.ss * self.ss
        rows = []
        for py in range(self.size):
            row = []
            for px in range(self.size):
                r = g = b = a = 0.0
                for j in range(py * ss, py * ss + ss):
                    for i in range(px * ss, px * ss + ss):
                        w = self.alpha[j][i]
                        if w:
                            c = self.colour[j][i]
                            r, g, b, a = r + c[0] * w, g + c[1] * w, b + c[2] * w, a + w
                if a:
                    row.append((r / a, g / a, b / a, a / area))
                else:
                    row.append((0.0, 0.0, 0.0, 0.0))
            rows.append(row)
        return rows


def rounded_rect_test(x0, y0, x1, y1, radius):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + radius - x, 0.0, x - (x1 - radius))
        dy = max(y0 + radius - y, 0.0, y - (y1 - radius))
        return dx * dx + dy * dy <= radius * radius
    return inside


def as_paint(paint):
    return paint if callable(paint) else (lambda x, y: paint)


def lerp(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    return lambda x, y: lerp(top_colour, bottom_colour, (y - y0) / (y1 - y0))
