"""A tiny anti-aliased rasteriser for the built-in pictures.

Shapes are signed distance functions (negative inside) with a bounding box.
A pixel's coverage is the share of a 4 x 4 grid of samples that lies inside;
for exact distance shapes a pixel whose centre lies well inside or outside is
decided from the centre alone, which keeps large flat areas fast.
"""

import math

SAMPLES = 4
_OFFSETS = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]


class Shape:
    def __init__(self, sdf, bbox, exact=True):
        self.sdf = sdf
        self.bbox = bbox  # x0, y0, x1, y1 in pixels
        self.exact = exact

    def __or__(self, other):
        return Shape(lambda x, y: min(self.sdf(x, y), other.sdf(x, y)),
                     _bbox_union(self.bbox, other.bbox), self.exact and other.exact)

    def __sub__(self, other):
        return Shape(lambda x, y: max(self.sdf(x, y), -other.sdf(x, y)), self.bbox,
                     self.exact and other.exact)

    def __and__(self, other):
        return Shape(lambda x, y: max(self.sdf(x, y), other.sdf(x, y)),
                     _bbox_intersection(self.bbox, other.bbox), self.exact and other.exact)


def _bbox_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _bbox_intersection(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return Shape(sdf, (x0, y0, x1, y1))


def rect(x0, y0, x1, y1):
    return rounded_rect(x0, y0, x1, y1, 0.0)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ring(cx, cy, r, width):
    return Shape(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2,
                 (cx - r - width, cy - r - width, cx + r + width, cy + r + width))


def outline(shape, width):
    """The band of the given width just inside a shape's edge."""
    return Shape(lambda x, y: abs(shape.sdf(x, y) + width / 2) - width / 2, shape.bbox, shape.exact)


def stroke(points, width):
    """A polyline of the given width with round caps and joins."""
    segs = list(zip(points, points[1:]))
    half = width / 2

    def sdf(x, y):
        best = float("inf")
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            best = min(best, math.hypot(x - ax - t * dx, y - ay - t * dy))
        return best - half

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half))


def polygon(points):
    """Even-odd filled polygon (inside test only, so always supersampled)."""
    n = len(points)

    def sdf(x, y):
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -1.0 if inside else 1.0

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)), exact=False)


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    def colour(_x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top_colour, bottom_colour))

    return colour


def hex_colour(value, alpha=255):
    """'#RRGGBB' to an (r, g, b, a) tuple."""
    value = value.lstrip("#")
    return (int(value[0:2], 16), int(value[2:4], 16), int(value[4:6], 16), alpha)


class Canvas:
    """Premultiplied floating-point RGBA pixels, composited with 'over'."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def coverage(self, shape, x, y):
        if shape.exact:
            d = shape.sdf(x + 0.5, y + 0.5)
            if d <= -0.75:
                return 1.0
            if d >= 0.75:
                return 0.0
        hits = 0
        for oy in _OFFSETS:
            for ox in _OFFSETS:
                if shape.sdf(x + ox, y + oy) <= 0:
                    hits += 1
        return hits / (SAMPLES * SAMPLES)

    def fill(self, shape, colour):
        """colour: (r, g, b, a) with a 0..255, or a function (x, y) -> such a tuple."""
        x0 = max(0, int(math.floor(shape.bbox[0])) - 1)
        y0 = max(0, int(math.floor(shape.bbox[1])) - 1)
        x1 = min(self.width, int(math.ceil(shape.bbox[2])) + 1)
        y1 = min(self.height, int(math.ceil(shape.bbox[3])) + 1)
        for y in range(y0, y1):
            for x in range(x0, x1):
                cov = self.coverage(shape, x, y)
                if cov <= 0:
                    continue
                r, g, b, a = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                sa = a / 255.0 * cov
                p = self.px[y * self.width + x]
                keep = 1.0 - sa
                p[0] = r * sa + p[0] * keep
                p[1] = g * sa + p[1] * keep
                p[2] = b * sa + p[2] * keep
                p[3] = sa + p[3] * keep

    def pixels(self, alpha_step=1):
        """8-bit straight-alpha pixels; alpha_step > 1 rounds alpha coarser."""
        out = []
        for r, g, b, a in self.px:
            alpha = int(round(a * 255))
            if alpha_step > 1 and 0 < alpha < 255:
                alpha = max(alpha_step, min(255, int(round(alpha / alpha_step)) * alpha_step))
            if alpha <= 0:
                out.append((0, 0, 0, 0))
                continue
            out.append((min(255, int(round(r / a))), min(255, int(round(g / a))),
                        min(255, int(round(b / a))), alpha))
        return out
