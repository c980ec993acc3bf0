"""Line icons drawn with the anti-aliased shape helpers; (cx, cy) is the icon centre."""

import math


def cross(c, cx, cy, r, colour, width=1.6):
    c.line([(cx - r, cy - r), (cx + r, cy + r)], colour, width)
    c.line([(cx - r, cy + r), (cx + r, cy - r)], colour, width)


def check(c, cx, cy, r, colour, width=1.8):
    c.line([(cx - r, cy + 0.1 * r), (cx - 0.3 * r, cy + 0.75 * r), (cx + r, cy - 0.7 * r)],
           colour, width)


def _arc_points(cx, cy, r, a0, a1, steps=24):
    return [
        (cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
         cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
        for i in range(steps + 1)
    ]


def power(c, cx, cy, r, colour, width=1.6):
    """Hardware reset: the power symbol."""
    c.line(_arc_points(cx, cy, r, -60, 240), colour, width)
    c.line([(cx, cy - r - 1), (cx, cy - 0.1 * r)], colour, width)


def refresh(c, cx, cy, r, colour, width=1.6):
    """Software reset: a circular arrow."""
    pts = _arc_points(cx, cy, r, -30, 270)
    c.line(pts, colour, width)
    ex, ey = pts[0]
    # Arrow head at the start of the arc, pointing along the turn.
    c.polygon([(ex + 3.2, ey - 3.6), (ex + 1.0, ey + 3.2), (ex - 3.6, ey - 0.6)], colour)


def gear(c, cx, cy, r, colour, width=1.6):
    ring = r * 0.6
    c.ellipse((cx - ring, cy - ring, cx + ring, cy + ring), outline=colour, width=width)
    for i in range(8):
        a = math.pi * i / 4
        c.line([(cx + ring * math.cos(a), cy + ring * math.sin(a)),
                (cx + r * math.cos(a), cy + r * math.sin(a))], colour, 2.0)


def bars(c, cx, cy, r, colours):
    """Colour bars (test pattern); colours left to right."""
    n = len(colours)
    w = 2 * r / n
    for i, col in enumerate(colours):
        x0 = cx - r + i * w
        c.rect((round(x0), cy - r, round(x0 + w), cy + r), col)
