#!/usr/bin/env python3
"""Review sheet of a skin set: panel previews plus every strip cut into its labelled slices.

Usage: contact_sheet.py [--skin DIR] [--out PNG]
Defaults: the repository's assets/GUISkin, and build/skin-contact-sheet.png. The
previews are also written beside the sheet as <out>-<name>.png at full size.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import panel_layout as L  # noqa: E402
from paint import Canvas, font, hgradient  # noqa: E402
from skinfiles import SKIN_FILES  # noqa: E402

REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
STATE_NAMES = {
    4: ["0 normal/off", "1 hover/on", "2 pressed/off dis.", "3 disabled/on dis."],
    3: ["0 normal", "1 dragging", "2 disabled"],
    2: ["0 normal", "1 disabled"],
    1: ["image"],
}
BUTTON_NAMES = ["0 normal", "1 hover (unused)", "2 pressed", "3 disabled"]
TOGGLE_NAMES = ["0 off", "1 on", "2 off, disabled", "3 on, disabled"]
SHEET_BG = (40, 44, 52, 255)


def load_set(skin_dir):
    return {f.name: Image.open(os.path.join(skin_dir, f.folder, f.name + ".kesp")).convert("RGBA")
            for f in SKIN_FILES}


def cut(img, k, n):
    w = img.width // n
    return img.crop((k * w, 0, k * w + w, img.height))


class Panel:
    """Paints a panel face the way the program composes it."""

    def __init__(self, imgs):
        self.imgs = imgs
        self.c = Canvas(1127, 679)
        self.c.img.alpha_composite(imgs["GUIFrameMainBK"])

    def put(self, name, rect, state, slices):
        img = cut(self.imgs[name], state, slices)
        w, h = rect[2] - rect[0], rect[3] - rect[1]
        if img.size != (w, h):
            img = img.resize((w, h), Image.BILINEAR)
        self.c.paste_over(img, rect[0], rect[1])

    def text(self, s, rect, size, italic=False, centred=False, grey=False, alpha=220):
        fnt = font(size, "italic" if italic else "regular")
        colour = (150, 150, 150, alpha) if grey else (255, 255, 255, alpha)
        lines = s.split("\n")
        lh = round(size * 1.15)
        top = (rect[1] + rect[3]) / 2 - lh * len(lines) / 2
        for i, line in enumerate(lines):
            y = top + lh * i + lh / 2
            if centred:
                self.c.text(((rect[0] + rect[2]) / 2, y), line, fnt, colour, anchor="mm")
            else:
                self.c.text((rect[0], y), line, fnt, colour, anchor="lm")

    def gradient(self, rect, light, dark):
        w, h = rect[2] - rect[0], rect[3] - rect[1]
        self.c.paste_over(hgradient((w, h), [(0, light + (254,)), (1, dark + (254,))]),
                          rect[0], rect[1])


def preview(imgs, connected, busy=False):
    p = Panel(imgs)
    dis = not connected
    for i, (s, rect, size, italic, centred) in enumerate(L.LABELS):
        p.text(s, rect, size, italic, centred, grey=dis and i > 0)
    boxes = 3 if connected else 0
    for k in range(boxes):
        p.text(f"FW: {3 + k}\nCOM: {4 + 2 * k}\nBoxID: {k + 1}", L.DEVICE_TEXT_RECTS[k], 11)
        p.put("GUIFrameMainCtrlRdoBtn_DeviceBox", L.DEVICE_BOX_RECTS[k], 1 if k == 0 else 0, 4)
    mode = "2x2" if connected else "1x2"
    name, rect = L.BEZEL_PICTURES[mode]
    p.put(name, rect, 0 if connected else 1, 2)
    light, dark = ((0, 170, 255), (0, 78, 195)) if connected else ((50, 50, 50), (30, 30, 30))
    rects = L.PREVIEW_RECTS[mode]
    sh, sv = (3, 4) if connected else (0, 0)
    for i, (x0, y0, x1, y1) in enumerate(rects):
        left, top = i % 2 == 0, i < 2
        x0, x1 = (x0 + 2 * sh, x1) if left else (x0, x1 - 2 * sh)
        if mode != "1x2":
            y0, y1 = (y0 + 2 * sv, y1) if top else (y0, y1 - 2 * sv)
        p.gradient((x0, y0, x1, y1), *((light, dark) if left else (dark, light)))
    p.put("GUIFrameMainCtrlChkBox_STD", L.CHECK_BOX, 0 if connected else 2, 4)
    for i, (name, rect) in enumerate(L.SWITCHES):
        state = (1 if i == 0 else 0) if connected else (0 if i == 0 else 2)
        p.put(name, rect, state, 4)
    for i, (name, rect, visible) in enumerate(L.BUTTONS):
        if visible:
            p.put(name, rect, 0 if connected or i == 0 else 3, 4)
    chosen = [2, 2, 0, 2, 1, 0] if connected else [0] * 6
    for (x, n), on in zip(L.RADIO_GROUPS, chosen):
        for k in range(n):
            state = int(k == on) + (0 if connected else 2)
            p.put("GUIFrameMainCtrlRdoBtn_STD", (x, 141 + 24 * k, x + 18, 160 + 24 * k), state, 4)
    res_stops = L.stops(331, 645, 14, 9)
    texts = ["2048 x 1536", "2560 x 1440", "2560 x 1536", "2560 x 1600", "2560 x 2048",
             "2732 x 1536", "2800 x 2100", "2880 x 1800", "2880 x 2100", "3200 x 1800",
             "3200 x 2400", "3360 x 2100", "3840 x 2160", "3840 x 2400"]
    for col, (bar, (tx0, tx1)) in enumerate(zip(L.RES_BAR, L.RES_THUMB)):
        y = res_stops[12]
        state = 0 if connected and col == 0 else 2
        p.put("GUIFrameMainCtrlSlider_ResolutionBtn", (tx0, y, tx1, y + 19), state, 3)
        p.put("GUIFrameMainCtrlSlider_ResolutionBar", bar, state, 3)
    for k, t in enumerate(texts):
        y = res_stops[k]
        p.text(t, (219, y, 333, y + 19), 12, grey=dis)
        p.text(t, (385, y, 500, y + 19), 12, grey=True if connected else dis)
    p.text("6" if connected else "0", L.BEZEL_TEXTS[0][0], 14, grey=dis)
    p.text("8" if connected else "0", L.BEZEL_TEXTS[1][0], 14, centred=True, grey=dis)
    hx = L.stops(493, 1029, 101, 18)[6 if connected else 0]
    p.put("GUIFrameMainCtrlSlider_BezelHBtn", (hx, L.H_THUMB_Y[0], hx + 37, L.H_THUMB_Y[1]),
          0 if connected else 2, 3)
    p.put("GUIFrameMainCtrlSlider_BezelHBar", L.H_BAR, 0 if connected else 2, 3)
    vy = L.stops(331, 645, 31, 9)[8 if connected else 0]
    p.put("GUIFrameMainCtrlSlider_BezelVBtn", (L.V_THUMB_X[0], vy, L.V_THUMB_X[1], vy + 19),
          1 if connected else 2, 3)
    p.put("GUIFrameMainCtrlSlider_BezelVBar", L.V_BAR, 1 if connected else 2, 3)
    p.put("GUIFrameMainStcImage_HotKeyInfo", L.HOT_KEYS, 0 if connected else 1, 2)
    if busy:
        p.put("GUIFrameMainBKShadow", (0, 0, 1127, 679), 0, 2)
    return p.c.img


def splash_preview(imgs):
    img = imgs["GUIFrameSplashBK"]
    p = Panel.__new__(Panel)
    p.c = Canvas(*img.size)
    p.c.img.alpha_composite(img)
    rect = (6, 313, 264, 330)
    fnt = font(12)
    p.c.text((rect[2], (rect[1] + rect[3]) / 2), "v1.05a", fnt, (255, 255, 255, 254), anchor="rm")
    return p.c.img


def slice_names(f):
    if "CtrlBtn_" in f.name:
        return BUTTON_NAMES
    if f.slices == 4:
        return TOGGLE_NAMES
    return STATE_NAMES[f.slices]


def sheet(imgs, previews):
    width = 1127 + 40
    blocks = []
    for title, img in previews:
        blocks.append((title, [(None, img)], 1))
    for f in SKIN_FILES:
        if f.name == "GUIFrameMainBK":
            continue
        img = imgs[f.name]
        scale = 3 if f.slice_w <= 80 and f.slice_h <= 80 else (2 if f.slice_w <= 130 else 1)
        if f.slice_w > 600:
            scale = 0.4
        names = slice_names(f)
        parts = []
        for k in range(f.slices):
            s = cut(img, k, f.slices)
            s = s.resize((round(s.width * scale), round(s.height * scale)),
                         Image.NEAREST if scale >= 1 else Image.BILINEAR)
            parts.append((names[k], s))
        title = f"{f.rel_path}  {img.width}x{img.height}, {f.slices} x {f.slice_w}x{f.slice_h}"
        if scale != 1:
            title += f"  (shown x{scale})"
        blocks.append((title, parts, scale))
    # Flow the slices of each block left to right, wrapping at the sheet width.
    rows = []
    for title, parts, _ in blocks:
        x, line, lines = 0, [], []
        for label, s in parts:
            if line and x + s.width > width - 40:
                lines.append(line)
                line, x = [], 0
            line.append((label, s, x))
            x += max(s.width, round(font(11).getlength(label or ""))) + 16
        lines.append(line)
        rows.append((title, lines))
    height = 20
    for _, lines in rows:
        height += 26 + sum(max(s.height for _, s, _ in ln) + 22 for ln in lines) + 12
    out = Canvas(width, height, SHEET_BG)
    y = 20
    f_title, f_label = font(13, "bold"), font(11)
    for title, lines in rows:
        out.text((20, y + 8), title, f_title, (230, 235, 240), anchor="lm")
        y += 26
        for ln in lines:
            lh = max(s.height for _, s, _ in ln)
            for label, s, x in ln:
                if label:
                    out.text((20 + x, y + 7), label, f_label, (150, 200, 235), anchor="lm")
                out.rect((19 + x, y + 15, 21 + x + s.width, y + 17 + s.height), (70, 76, 86))
                out.rect((20 + x, y + 16, 20 + x + s.width, y + 16 + s.height), (21, 24, 29))
                out.img.alpha_composite(s, (20 + x, y + 16))
            y += lh + 22
        y += 12
    return out.img


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--skin", default=os.path.join(REPO, "assets", "GUISkin"))
    ap.add_argument("--out", default=os.path.join(REPO, "build", "skin-contact-sheet.png"))
    args = ap.parse_args(argv[1:])
    imgs = load_set(args.skin)
    previews = [
        ("Preview: after start-up (disconnected)", preview(imgs, connected=False)),
        ("Preview: connected, Stretch 2 x 2", preview(imgs, connected=True)),
        ("Preview: busy", preview(imgs, connected=True, busy=True)),
        ("Preview: splash with its version text", splash_preview(imgs)),
    ]
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    stem = os.path.splitext(args.out)[0]
    for i, (_, img) in enumerate(previews):
        img.save(f"{stem}-preview{i + 1}.png")
    sheet(imgs, previews).save(args.out)
    print(f"contact sheet: {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
