"""A small anti-aliased rasteriser for icon pictures drawn from shapes.

A picture is a list of layers, bottom first; each layer is (inside, paint) where
inside(x, y) tells whether a point of the unit square (y downwards) is covered and
paint(x, y) gives its (r, g, b). Each pixel averages a grid of sample points.
"""
import math


def _length(dx, dy):
    return math.sqrt(dx * dx + dy * dy)


def disc(cx, cy, r):
    return lambda x, y: _length(x - cx, y - cy) <= r


def ring(cx, cy, inner, outer):
    return lambda x, y: inner <= _length(x - cx, y - cy) <= outer


def rounded_square(left, top, right, bottom, radius):
    def inside(x, y):
        nx = min(max(x, left + radius), right - radius)
        ny = min(max(y, top + radius), bottom - radius)
        return left <= x <= right and top <= y <= bottom and _length(x - nx, y - ny) <= radius
    return inside


def capsule(x0, y0, x1, y1, half_width):
    """A stroke from (x0, y0) to (x1, y1) with round ends."""
    dx, dy = x1 - x0, y1 - y0
    span = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if span == 0 else min(1.0, max(0.0, ((x - x0) * dx + (y - y0) * dy) / span))
        return _length(x - (x0 + t * dx), y - (y0 + t * dy)) <= half_width
    return inside


def arc(cx, cy, radius, half_width, gap_centre_deg, gap_deg):
    """A circular stroke with round ends, open by gap_deg around the direction
    gap_centre_deg (0 = up, clockwise)."""
    half_gap = math.radians(gap_deg) / 2
    gap_centre = math.radians(gap_centre_deg)
    ends = [capsule(cx + radius * math.sin(a), cy - radius * math.cos(a),
                    cx + radius * math.sin(a), cy - radius * math.cos(a), half_width)
            for a in (gap_centre - half_gap, gap_centre + half_gap)]

    def inside(x, y):
        if abs(_length(x - cx, y - cy) - radius) <= half_width:
            angle = math.atan2(x - cx, -(y - cy))
            off = (angle - gap_centre + math.pi) % (2 * math.pi) - math.pi
            if abs(off) >= half_gap:
                return True
        return any(end(x, y) for end in ends)
    return inside


def either(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def flat(colour):
    return lambda x, y: colour


def vertical_gradient(top_colour, bottom_colour, top=0.0, bottom=1.0):
    def paint(x, y):
        t = min(1.0, max(0.0, (y - top) / (bottom - top)))
        return tuple(a + (b - a) * t for a, b in zip(top_colour, bottom_colour))
    return paint


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def render(layers, size, samples):
    """Returns rows of (r, g, b, a) with straight alpha."""
    top_first = list(reversed(layers))
    step = 1.0 / (size * samples)
    offsets = [(i + 0.5) * step for i in range(samples)]
    total = samples * samples
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0.0
            for oy in offsets:
                y = py / size + oy
                for ox in offsets:
                    x = px / size + ox
                    for inside, paint in top_first:
                        if inside(x, y):
                            cr, cg, cb = paint(x, y)
                            r += cr
                            g += cg
                            b += cb
                            covered += 1
                            break
            if covered:
                alpha = round(255 * covered / total)
                row.append((round(r / covered), round(g / covered), round(b / covered), alpha))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows
