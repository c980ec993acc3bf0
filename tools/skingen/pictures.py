"""Static pictures (slices 0 normal, 1 disabled): wall pictures, mode pictures, hot keys."""

import theme as t
from paint import Canvas, font, grey_out, hgradient, mix, strip, vgradient

# Screen rectangles of the bezel preview, relative to each wall picture; the
# panel fills them with a gradient at run time, so they stay plain dark glass.
BEZEL_1X2 = [(7, 13, 173, 100), (188, 13, 354, 100)]
BEZEL_1X4 = [(5, 9, 120, 69), (131, 9, 246, 69), (257, 9, 372, 69), (383, 9, 498, 69)]
BEZEL_2X2 = [(6, 11, 150, 87), (164, 11, 308, 87), (6, 110, 150, 186), (164, 110, 308, 186)]


def _with_disabled(img):
    return strip([img, grey_out(img)])


def monitor(c, screen, frame, radius=3, led=True):
    x0, y0, x1, y1 = screen
    outer = (x0 - frame, y0 - frame, x1 + frame, y1 + frame)
    w, h = outer[2] - outer[0], outer[3] - outer[1]
    c.rrect((outer[0] - 1, outer[1] - 1, outer[2] + 1, outer[3] + 1), radius + 1,
            fill=(0, 0, 0, 70))
    c.fill_masked(outer, radius, vgradient((w, h), [(0, t.BEZEL_TOP), (1, t.BEZEL_BOTTOM)]))
    c.rrect(outer, radius, outline=t.BEZEL_EDGE)
    c.hline(outer[0] + radius, outer[2] - radius, outer[1] + 1, (255, 255, 255, 22))
    # Glass: dark, with a 1 px inner rim so the screen edge reads crisply.
    c.rect((x0 - 1, y0 - 1, x1 + 1, y1 + 1), "#0f1217")
    c.rect(screen, t.SCREEN)
    if led and frame >= 4:
        cx = x1 - 6
        cy = y1 + frame / 2
        c.ellipse((cx - 1.2, cy - 1.2, cx + 1.2, cy + 1.2), fill=t.ACCENT)


def stand(c, cx, top, neck_h, base_w, colour="#2a313b"):
    c.fill_masked((cx - 6, top, cx + 6, top + neck_h), 1,
                  hgradient((12, neck_h), [(0, "#1d232b"), (0.5, "#39424e"), (1, "#1d232b")]))
    by = top + neck_h
    c.rrect((cx - base_w / 2, by, cx + base_w / 2, by + 5), 2.5, fill=colour,
            outline="#3d4653")


def bezel_1x2():
    c = Canvas(364, 138)
    for s in BEZEL_1X2:
        cx = (s[0] + s[2]) / 2
        stand(c, cx, s[3] + 5, 16, 64)
    for s in BEZEL_1X2:
        monitor(c, s, 5)
    return _with_disabled(c.img)


def bezel_1x4():
    c = Canvas(505, 99)
    for s in BEZEL_1X4:
        cx = (s[0] + s[2]) / 2
        stand(c, cx, s[3] + 4, 14, 50)
    for s in BEZEL_1X4:
        monitor(c, s, 4)
    return _with_disabled(c.img)


def bezel_2x2():
    """A mounted video wall: shared rails behind four tightly packed monitors."""
    c = Canvas(317, 218)
    for x in (70, 241):
        c.fill_masked((x, 2, x + 6, 196), 1,
                      hgradient((6, 194), [(0, "#1b2028"), (0.5, "#333b46"), (1, "#1b2028")]))
    c.fill_masked((151, 191, 165, 209), 1,
                  hgradient((14, 18), [(0, "#1d232b"), (0.5, "#39424e"), (1, "#1d232b")]))
    c.rrect((98, 209, 218, 214), 2.5, fill="#2a313b", outline="#3d4653")
    for s in BEZEL_2X2:
        monitor(c, s, 5)
    return _with_disabled(c.img)


def bezel_clone():
    """Four independent monitors showing the same picture, with a copy badge between."""
    c = Canvas(317, 218)
    for s in BEZEL_2X2[2:]:
        cx = (s[0] + s[2]) / 2
        stand(c, cx, s[3] + 5, 14, 60)
    for s in BEZEL_2X2:
        monitor(c, s, 5, radius=5)
    cx, cy = 157, 98.5
    c.ellipse((cx - 10, cy - 10, cx + 10, cy + 10), fill="#1a1f27", outline="#48525f")
    c.rrect((cx - 5, cy - 5, cx + 2, cy + 2), 1.5, outline=t.TEXT_DIM, width=1.2)
    c.rrect((cx - 2, cy - 2, cx + 5, cy + 5), 1.5, fill="#1a1f27", outline=t.ACCENT, width=1.2)
    return _with_disabled(c.img)


def _mode_picture(title, caption, screens):
    """Mode illustration: caption on the left, a source feeding the wall on the right."""
    w, h = 386, 114
    c = Canvas(w, h)
    c.rrect((0, 0, w, h), 6, fill=t.PANEL, outline=t.PANEL_BORDER)
    c.rect((14, 14, 17, 28), t.ACCENT)
    c.text((23, 21), title, font(13, "bold"), t.TEXT, anchor="lm")
    for i, line in enumerate(caption):
        c.text((14, 44 + 14 * i), line, font(11), t.TEXT_DIM, anchor="lm")
    c.rrect((14, 80, 50, 102), 4, fill="#232a34", outline=t.SURFACE_BORDER)
    c.text((32, 91), "DP", font(11, "bold"), t.ACCENT, anchor="mm")
    c.line([(56, 91), (150, 91)], t.TEXT_FAINT, 1.2)
    c.polygon([(150, 87), (157, 91), (150, 95)], t.TEXT_FAINT)
    for x0, y0, x1, y1 in screens:
        c.rrect((x0 - 3, y0 - 3, x1 + 3, y1 + 3), 2, fill=t.BEZEL_BOTTOM, outline=t.BEZEL_EDGE)
        c.rect((x0, y0, x1, y1), t.SCREEN)
    return screens, c


def _light_screens(screens, c, one_picture):
    """Fills the screens: one gradient across the wall, or the same one on every screen."""
    x0 = min(s[0] for s in screens)
    x1 = max(s[2] for s in screens)
    for sx0, sy0, sx1, sy1 in screens:
        if one_picture:
            a, b = (sx0 - x0) / (x1 - x0), (sx1 - x0) / (x1 - x0)
        else:
            a, b = 0.0, 1.0
        c.fill_masked((sx0, sy0, sx1, sy1), 0, hgradient(
            (sx1 - sx0, sy1 - sy0), [(0, mix_accent(a)), (1, mix_accent(b))]))
    return _with_disabled(c.img)


def mix_accent(u):
    return mix("#00aaff", "#004ec3", u)


_WALL_2X2 = [(170, 12, 268, 54), (274, 12, 372, 54), (170, 60, 268, 102), (274, 60, 372, 102)]


def mode_pictures():
    return {
        "GUIFrameMainStcImage_Stretch_1x2": _light_screens(*_mode_picture(
            "Stretch 1 x 2", ["One picture across", "two monitors"],
            [(170, 34, 268, 90), (274, 34, 372, 90)]), True),
        "GUIFrameMainStcImage_Stretch_1x4": _light_screens(*_mode_picture(
            "Stretch 1 x 4", ["One picture across", "four monitors in a row"],
            [(170, 46, 217, 76), (222, 46, 269, 76), (274, 46, 321, 76), (326, 46, 373, 76)]),
            True),
        "GUIFrameMainStcImage_Stretch_2x2": _light_screens(*_mode_picture(
            "Stretch 2 x 2", ["One picture across", "a two by two wall"], _WALL_2X2), True),
        "GUIFrameMainStcImage_Clone": _light_screens(*_mode_picture(
            "Clone", ["The same picture on", "every monitor"], _WALL_2X2), False),
    }


def keycap(c, x, cy, label, min_w=24):
    fnt = font(10, "bold")
    w = max(min_w, round(fnt.getlength(label)) + 12)
    top, bottom = cy - 10, cy + 10
    c.rrect((x, top + 1, x + w, bottom + 1), 4, fill="#0c0f13")
    c.fill_masked((x, top, x + w, bottom), 4,
                  vgradient((w, bottom - top), [(0, "#353e4a"), (1, "#29303a")]))
    c.rrect((x, top, x + w, bottom), 4, outline="#4a5562")
    c.hline(x + 4, x + w - 4, top + 1, (255, 255, 255, 30))
    c.text((x + w / 2, cy), label, fnt, t.TEXT, anchor="mm")
    return x + w


def hot_keys():
    w, h = 296, 164
    c = Canvas(w, h)
    c.text((2, 9), "KEYBOARD SHORTCUTS", font(10, "bold"), t.TEXT_DIM, anchor="lm")
    c.text((w - 2, 9), "while connected", font(10, "italic"), t.TEXT_FAINT, anchor="rm")
    c.hline(2, w - 2, 20, t.DIVIDER)
    rows = [
        (["Esc"], "All patterns off"),
        (["1", "6"], "Pattern on box 1 - 6"),
        (["F1", "F6"], "RGBW pattern on box 1 - 6"),
        (["F12"], "Hardware reset"),
    ]
    dash = font(11, "bold")
    for i, (keys, text) in enumerate(rows):
        cy = 42 + i * 32
        x = 2
        for k, key in enumerate(keys):
            if k:
                c.text((x + 7, cy), "-", dash, t.TEXT_DIM, anchor="mm")
                x += 14
            x = keycap(c, x, cy, key)
        c.text((96, cy), text, font(12), t.TEXT, anchor="lm")
    return _with_disabled(c.img)


def all_pictures():
    out = {
        "GUIFrameMainStcImage_Bezel_1x2": bezel_1x2(),
        "GUIFrameMainStcImage_Bezel_1x4": bezel_1x4(),
        "GUIFrameMainStcImage_Bezel_2x2": bezel_2x2(),
        "GUIFrameMainStcImage_Bezel_Clone": bezel_clone(),
        "GUIFrameMainStcImage_HotKeyInfo": hot_keys(),
    }
    out.update(mode_pictures())
    return out
