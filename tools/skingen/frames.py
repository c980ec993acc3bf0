"""Whole-window images: the busy shadow and the splash."""

import math

from PIL import Image

import theme as t
from background import STAGE, window_mask
from paint import Canvas, font, hgradient, strip, vgradient
from skinfiles import PANEL_H, PANEL_W, SPLASH_H, SPLASH_W

# The splash's version text is drawn at run time, right-aligned in this rectangle.
VERSION_RECT = (6, 313, 264, 330)

# The busy shadow's "Working..." badge: centred on the bezel preview stage, where it covers
# only pictures, never a caption or a text the program draws.
BADGE_CENTRE = ((STAGE[0] + STAGE[2]) // 2, (STAGE[1] + STAGE[3]) // 2)
BADGE_RECT = (BADGE_CENTRE[0] - 86, BADGE_CENTRE[1] - 22, BADGE_CENTRE[0] + 86,
              BADGE_CENTRE[1] + 22)


def _shadow_slice(alpha, hint):
    c = Canvas(PANEL_W, PANEL_H)
    veil = Image.new("RGBA", (PANEL_W, PANEL_H), (4, 6, 9, 255))
    mask = window_mask().point(lambda v: v * alpha // 255)
    veil.putalpha(mask)
    c.img.alpha_composite(veil)
    if hint:
        cy = BADGE_CENTRE[1]
        pill = BADGE_RECT
        c.rrect((pill[0] - 1, pill[1] + 1, pill[2] + 1, pill[3] + 3), 23, fill=(0, 0, 0, 90))
        c.rrect(pill, 22, fill=(26, 31, 39, 240), outline=(0, 170, 255, 150))
        for i in range(12):
            a = 2 * math.pi * i / 12 - math.pi / 2
            k = (12 - i) % 12
            x, y = pill[0] + 28 + 8 * math.cos(a), cy + 8 * math.sin(a)
            r = 1.9
            c.ellipse((x - r, y - r, x + r, y + r), fill=(0, 170, 255, 255 - k * 18))
        c.text((pill[0] + 48, cy), "Working...", font(14, "bold"), t.TEXT, anchor="lm")
    return c.img


def busy_shadow():
    return strip([_shadow_slice(140, True), _shadow_slice(90, False)])


def _logo(c, cx, cy):
    """Two monitors side by side showing one picture across both, as on a stretched wall."""
    w, h, gap = 58, 36, 5
    x0 = cx - w - gap / 2
    y0 = cy - h / 2 - 6
    c.rrect((cx - 84, cy - 44, cx + 84, cy + 44), 14, fill=(0, 170, 255, 18),
            outline=(0, 170, 255, 64))
    for i in range(2):
        sx = round(x0 + i * (w + gap))
        sy = round(y0)
        c.rrect((sx - 3, sy - 3, sx + w + 3, sy + h + 3), 3, fill="#2a313b", outline="#4a5563")
        stops = [(0, "#00aaff"), (1, "#0064d0")] if i == 0 else [(0, "#0064d0"), (1, "#00aaff")]
        c.fill_masked((sx, sy, sx + w, sy + h), 0, hgradient((w, h), stops))
        mx = sx + w / 2
        c.rect((round(mx) - 3, sy + h + 3, round(mx) + 3, sy + h + 11), "#39424e")
        c.rrect((mx - 16, sy + h + 11, mx + 16, sy + h + 15), 2, fill="#2f3742",
                outline="#465160")


def splash():
    w, h = SPLASH_W, SPLASH_H
    c = Canvas(w, h)
    box = (0, 0, w, h)
    face = vgradient((w, h), [(0, "#1d232c"), (0.55, "#151a20"), (1, "#111419")])
    face.paste(t.ACCENT, (0, 0, w, 3))
    c.fill_masked(box, 12, face)
    c.rrect(box, 12, outline=t.WINDOW_BORDER)

    _logo(c, w // 2, 104)
    c.text((w // 2, 186), "Quelt", font(34, "bold"), t.TEXT, anchor="mm")
    c.text((w // 2, 216), "CONTROL CENTER", font(13, "bold"), t.ACCENT, anchor="mm")
    c.text((w // 2, 240), "Multi-display adapter control panel", font(11), t.TEXT_DIM,
           anchor="mm")
    # Start-up progress hint.
    bar = (40, 270, w - 40, 274)
    c.rrect(bar, 2, fill="#0c0f13", outline="#262d36")
    c.fill_masked((41, 271, 41 + 110, 273), 1,
                  vgradient((110, 2), [(0, t.ACCENT_HI), (1, t.ACCENT)]))
    c.text((w // 2, 290), "Starting...", font(10, "italic"), t.TEXT_FAINT, anchor="mm")
    # Bottom strip under the version text stays plain.
    c.hline(14, w - 14, 306, "#222831")
    return c.img
