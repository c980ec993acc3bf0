"""Push buttons: slices 0 normal, 1 hover (never shown), 2 pressed, 3 disabled."""

import icons
import theme as t
from paint import Canvas, font, strip, vgradient

NORMAL, HOVER, PRESSED, DISABLED = range(4)


def _face(w, h, state, primary):
    c = Canvas(w, h)
    box = (0, 0, w, h)
    r = 5
    if state == DISABLED:
        c.rrect(box, r, fill=t.DISABLED_FILL, outline=t.DISABLED_BORDER)
        return c
    if primary:
        tops = {NORMAL: ("#1cb6ff", "#0097e6"), HOVER: ("#45c3ff", "#0aa6f5"),
                PRESSED: ("#0084cc", "#0093dd")}
        border = {NORMAL: "#0a86c8", HOVER: "#29b6ff", PRESSED: "#006ba8"}[state]
    else:
        tops = {NORMAL: (t.SURFACE_TOP, t.SURFACE_BOTTOM), HOVER: (t.HOVER_TOP, t.HOVER_BOTTOM),
                PRESSED: (t.PRESSED_TOP, t.PRESSED_BOTTOM)}
        border = {NORMAL: t.SURFACE_BORDER, HOVER: "#4b5767", PRESSED: t.ACCENT_LO}[state]
    top, bottom = tops[state]
    c.fill_masked(box, r, vgradient((w, h), [(0, top), (1, bottom)]))
    if state != PRESSED:
        # Light catching the upper edge.
        c.hline(r, w - r, 1, (255, 255, 255, 46 if primary else 20))
    c.rrect(box, r, outline=border)
    return c


def push_button(w, h, label, icon=None, primary=False, size=12):
    """Strip of four slices; icon(canvas, cx, cy, colour) draws a 12 px glyph left of the text."""
    slices = []
    fnt = font(size, "bold")
    for state in range(4):
        c = _face(w, h, state, primary)
        if state == DISABLED:
            colour = t.TEXT_DISABLED
        elif primary:
            colour = "#ffffff"
        else:
            colour = t.TEXT if state != PRESSED else "#d2e9f7"
        dy = 1 if state == PRESSED else 0
        tw = fnt.getlength(label)
        gap = 7 if icon else 0
        iw = 12 if icon else 0
        x = (w - (tw + gap + iw)) / 2
        cy = h / 2 + dy
        if icon:
            icon_colour = colour
            if not primary and state in (NORMAL, HOVER):
                icon_colour = t.ACCENT
            icon(c, x + iw / 2, cy, icon_colour)
        c.text((round(x + iw + gap), round(cy)), label, fnt, colour, anchor="lm")
        slices.append(c.img)
    return strip(slices)


def exit_button(w, h):
    slices = []
    for state in range(4):
        c = Canvas(w, h)
        box = (0, 0, w, h)
        colour = "#c3ccd6"
        if state == NORMAL:
            c.rrect(box, 5, fill="#1f252e", outline="#323b47")
        elif state == HOVER:
            c.rrect(box, 5, fill="#2c3440", outline="#45505e")
            colour = "#ffffff"
        elif state == PRESSED:
            c.rrect(box, 5, fill=t.ACCENT_LO, outline=t.ACCENT)
            colour = "#ffffff"
        else:
            c.rrect(box, 5, fill=t.DISABLED_FILL, outline=t.DISABLED_BORDER)
            colour = t.TEXT_DISABLED
        dy = 1 if state == PRESSED else 0
        icons.cross(c, w / 2, h / 2 + dy, 4.5, colour, 1.7)
        slices.append(c.img)
    return strip(slices)


def _power(c, x, y, col):
    icons.power(c, x, y, 5.2, col, 1.6)


def _refresh(c, x, y, col):
    icons.refresh(c, x, y, 5.0, col, 1.6)


def _gear(c, x, y, col):
    icons.gear(c, x, y, 6.0, col)


def _check(c, x, y, col):
    icons.check(c, x, y, 5.0, col, 2.0)


def all_buttons():
    return {
        "GUIFrameMainCtrlBtn_Apply": push_button(124, 32, "Apply", _check, primary=True),
        "GUIFrameMainCtrlBtn_HWReset": push_button(124, 32, "HW Reset", _power),
        "GUIFrameMainCtrlBtn_SWReset": push_button(124, 32, "SW Reset", _refresh),
        "GUIFrameMainCtrlBtn_AdvanceSetting": push_button(124, 32, "Advance Setting", _gear,
                                                          size=11),
        "GUIFrameMainCtrlBtn_Exit": exit_button(48, 24),
    }
