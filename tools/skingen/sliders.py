"""Slider thumbs and bars: slices 0 normal, 1 dragging, 2 disabled.

The panel draws the bar over the thumb, so a bar is a narrow groove on a
transparent strip and a thumb is a tab whose tip reaches under the groove.
"""

import theme as t
from paint import Canvas, strip, vgradient, hgradient

NORMAL, DRAGGING, DISABLED = range(3)

_BODY = {
    NORMAL: ("#25b8ff", "#0091dd", "#0a7fbf", "#005b8c"),
    DRAGGING: ("#6fd2ff", "#16acf7", "#b8e8ff", "#00679e"),
    DISABLED: ("#444c57", "#363d47", "#4c5561", "#2a3039"),
}


def _grips(c, pts, colours):
    light, dark = colours
    for kind, a, b in pts:
        if kind == "v":
            x, y0, y1 = a, b[0], b[1]
            c.vline(x, y0, y1, dark)
            c.vline(x + 1, y0, y1, light)
        else:
            y, x0, x1 = a, b[0], b[1]
            c.hline(x0, x1, y, dark)
            c.hline(x0, x1, y + 1, light)


def vertical_thumb(w, h):
    """A tab pointing right at the groove: body on the left, tip under the bar."""
    slices = []
    for state in range(3):
        top, bottom, border, grip = _BODY[state]
        c = Canvas(w, h)
        body = (1, 1, 27, h - 1)
        cy = h / 2
        if state == DRAGGING:
            c.rrect((0, 0, 28, h), 5, fill=(0, 170, 255, 60))
        c.polygon([(24, cy - 6.5), (33.5, cy), (24, cy + 6.5)], border)
        c.polygon([(24, cy - 5), (32, cy), (24, cy + 5)], bottom)
        c.fill_masked(body, 4, vgradient((26, h - 2), [(0, top), (1, bottom)]))
        c.rrect(body, 4, outline=border)
        _grips(c, [("v", x, (5, h - 5)) for x in (9, 13, 17)],
               ((255, 255, 255, 90), (0, 0, 0, 70)) if state != DISABLED
               else ((255, 255, 255, 25), (0, 0, 0, 60)))
        slices.append(c.img)
    return strip(slices)


def horizontal_thumb(w, h):
    """A tab pointing up at the groove, body below it."""
    slices = []
    for state in range(3):
        top, bottom, border, grip = _BODY[state]
        c = Canvas(w, h)
        cx = w / 2
        body = (3, 9, w - 3, h - 4)
        if state == DRAGGING:
            c.rrect((1, 7, w - 1, h - 2), 7, fill=(0, 170, 255, 60))
        c.polygon([(cx - 7.5, 10), (cx, 2.0), (cx + 7.5, 10)], border)
        c.polygon([(cx - 6, 10), (cx, 3.5), (cx + 6, 10)], top)
        c.fill_masked(body, 5, vgradient((body[2] - body[0], body[3] - body[1]),
                                         [(0, top), (1, bottom)]))
        c.rrect(body, 5, outline=border)
        _grips(c, [("v", x, (16, h - 11)) for x in (13, 17, 21)],
               ((255, 255, 255, 90), (0, 0, 0, 70)) if state != DISABLED
               else ((255, 255, 255, 25), (0, 0, 0, 60)))
        slices.append(c.img)
    return strip(slices)


_GROOVE = {
    NORMAL: ("#0d1116", "#4a5563"),
    DRAGGING: ("#0b1a25", t.ACCENT_LO),
    DISABLED: ("#14171b", "#272c33"),
}


def vertical_bar(w, h):
    slices = []
    for state in range(3):
        fill, edge = _GROOVE[state]
        c = Canvas(w, h)
        groove = (4, 1, 11, h - 1)
        c.rrect(groove, 3.5, fill=fill, outline=edge)
        if state == DRAGGING:
            c.fill_masked((6, 3, 9, h - 3), 1.5,
                          vgradient((3, h - 6), [(0, (0, 170, 255, 150)), (1, (0, 170, 255, 60))]))
        slices.append(c.img)
    return strip(slices)


def horizontal_bar(w, h):
    slices = []
    for state in range(3):
        fill, edge = _GROOVE[state]
        c = Canvas(w, h)
        groove = (1, 4, w - 1, 11)
        c.rrect(groove, 3.5, fill=fill, outline=edge)
        if state == DRAGGING:
            c.fill_masked((3, 6, w - 3, 9), 1.5,
                          hgradient((w - 6, 3), [(0, (0, 170, 255, 150)), (1, (0, 170, 255, 60))]))
        slices.append(c.img)
    return strip(slices)


def all_sliders():
    return {
        "GUIFrameMainCtrlSlider_ResolutionBtn": vertical_thumb(36, 19),
        "GUIFrameMainCtrlSlider_ResolutionBar": vertical_bar(15, 314),
        "GUIFrameMainCtrlSlider_BezelVBtn": vertical_thumb(36, 19),
        "GUIFrameMainCtrlSlider_BezelVBar": vertical_bar(15, 314),
        "GUIFrameMainCtrlSlider_BezelHBtn": horizontal_thumb(37, 41),
        "GUIFrameMainCtrlSlider_BezelHBar": horizontal_bar(536, 16),
    }
