"""Two-state controls: slices 0 off, 1 on, 2 off+disabled, 3 on+disabled."""

import theme as t
from paint import Canvas, font, grey_out, strip, vgradient

OFF, ON, OFF_DISABLED, ON_DISABLED = range(4)


def _is_on(state):
    return state in (ON, ON_DISABLED)


def _disabled(state):
    return state in (OFF_DISABLED, ON_DISABLED)


def switch(w, h, label):
    """A labelled panel with a sliding toggle that reads ON or OFF."""
    slices = []
    for state in range(4):
        on, dis = _is_on(state), _disabled(state)
        c = Canvas(w, h)
        box = (0, 0, w, h)
        if dis:
            c.rrect(box, 6, fill=t.DISABLED_FILL, outline=t.DISABLED_BORDER)
        else:
            c.fill_masked(box, 6, vgradient((w, h), [(0, "#242b35"), (1, "#1d232b")]))
            c.hline(6, w - 6, 1, (255, 255, 255, 16))
            c.rrect(box, 6, outline="#39434f" if not on else "#2f6f95")
        colour = t.TEXT if not dis else t.TEXT_DISABLED
        c.text((11, round(h / 2)), label, font(11, "bold"), colour, anchor="lm")
        # Toggle track at the right end; the knob sits on the side of the state.
        tx0, tx1 = w - 8 - 40, w - 8
        ty0, ty1 = h / 2 - 10, h / 2 + 10
        tb = (tx0, ty0, tx1, ty1)
        small = font(8, "bold")
        if on:
            c.rrect(tb, 10, fill=t.ACCENT if not dis else "#3a4654",
                    outline="#33bbff" if not dis else "#465362")
            c.text((tx0 + 13, round(h / 2)), "ON", small, "#ffffff" if not dis else "#8d98a5",
                   anchor="mm")
            c.ellipse((tx1 - 17, ty0 + 3, tx1 - 3, ty1 - 3), fill="#ffffff" if not dis else "#8d98a5")
        else:
            c.rrect(tb, 10, fill="#11151a" if not dis else "#171a1f",
                    outline="#3c4654" if not dis else "#2b3038")
            c.text((tx1 - 12, round(h / 2)), "OFF", small, t.TEXT_DIM if not dis else "#434a54",
                   anchor="mm")
            c.ellipse((tx0 + 3, ty0 + 3, tx0 + 17, ty1 - 3), fill="#9aa5b2" if not dis else "#3a414a")
        slices.append(c.img)
    return strip(slices)


def radio(w, h):
    slices = []
    for state in range(4):
        on, dis = _is_on(state), _disabled(state)
        c = Canvas(w, h)
        ring = (1, 1, 17, 17)
        if dis:
            c.ellipse(ring, fill="#15181d", outline="#2f353d")
            if on:
                c.ellipse((5, 5, 13, 13), fill="#59626d")
        elif on:
            c.ellipse((0, 0, 18, 18), fill=(0, 170, 255, 40))
            c.ellipse(ring, fill="#0d1b26", outline=t.ACCENT, width=1.3)
            c.ellipse((5, 5, 13, 13), fill=t.ACCENT)
            c.ellipse((6.5, 6, 9.5, 8.5), fill=(255, 255, 255, 90))
        else:
            c.ellipse(ring, fill="#11151a", outline="#56616f", width=1.2)
        slices.append(c.img)
    return strip(slices)


def check_box(w, h):
    slices = []
    for state in range(4):
        on, dis = _is_on(state), _disabled(state)
        c = Canvas(w, h)
        box = (1, 1, 17, 17)
        if dis:
            c.rrect(box, 3, fill="#4a525c" if on else "#15181d", outline="#2f353d" if not on
                    else "#4a525c")
        elif on:
            c.rrect(box, 3, fill=t.ACCENT, outline="#33bbff")
        else:
            c.rrect(box, 3, fill="#11151a", outline="#56616f")
        if on:
            c.line([(4.8, 9.2), (7.6, 12.0), (13.4, 5.8)], "#ffffff" if not dis else "#9aa3ad",
                   2.0)
        slices.append(c.img)
    return strip(slices)


def device_box(w, h):
    """A small adapter box seen from the front-top; lit and outlined when chosen."""
    slices = []
    for state in range(4):
        on, dis = _is_on(state), _disabled(state)
        c = Canvas(w, h)
        if on:
            c.rrect((0, 0, w, h), 7, fill=(0, 170, 255, 34), outline=(0, 170, 255, 200))
        else:
            c.rrect((0, 0, w, h), 7, fill=(255, 255, 255, 6), outline="#2c343f")
        # Box body: top face, side face, front face.
        fx0, fy0, fx1, fy1 = 8, 22, 62, 56
        d = 8
        c.polygon([(fx0, fy0), (fx0 + d, fy0 - d), (fx1 + d, fy0 - d), (fx1, fy0)], "#4a5462")
        c.polygon([(fx1, fy0), (fx1 + d, fy0 - d), (fx1 + d, fy1 - d), (fx1, fy1)], "#252b34")
        c.fill_masked((fx0, fy0, fx1, fy1), 1, vgradient((fx1 - fx0, fy1 - fy0),
                                                         [(0, "#3a434f"), (1, "#2c333d")]))
        c.rrect((fx0, fy0, fx1, fy1), 1, outline="#56616f")
        c.hline(fx0 + 1, fx1 - 1, fy0 + 1, (255, 255, 255, 28))
        # Vent slots on the top face.
        for i in range(4):
            x = fx0 + 16 + i * 8
            c.line([(x, fy0 - 2.5), (x + 5, fy0 - 7.5)], "#353d48", 1.2)
        # Two display ports and a status lamp on the front.
        for px in (fx0 + 6, fx0 + 20):
            c.polygon([(px, fy1 - 13), (px + 11, fy1 - 13), (px + 11, fy1 - 8), (px + 9, fy1 - 6),
                       (px, fy1 - 6)], "#10141a")
        c.text((fx0 + 6, fy0 + 9), "QUELT", font(8, "bold"), "#8994a2", anchor="lm")
        lamp = t.ACCENT if on else "#56616f"
        if on:
            c.ellipse((fx1 - 14, fy1 - 15, fx1 - 2, fy1 - 3), fill=(0, 170, 255, 70))
        c.ellipse((fx1 - 11, fy1 - 12, fx1 - 5, fy1 - 6), fill=lamp)
        img = c.img
        if dis:
            img = grey_out(img, 1.0, 0.55)
        slices.append(img)
    return strip(slices)


def all_toggles():
    return {
        "GUIFrameMainCtrlSwitch_SerialCOM": switch(124, 36, "Serial COM"),
        "GUIFrameMainCtrlSwitch_Pattern": switch(124, 36, "Pattern"),
        "GUIFrameMainCtrlSwitch_RGBW": switch(124, 36, "RGBW"),
        "GUIFrameMainCtrlRdoBtn_STD": radio(18, 19),
        "GUIFrameMainCtrlChkBox_STD": check_box(18, 19),
        "GUIFrameMainCtrlRdoBtn_DeviceBox": device_box(78, 68),
    }
