#!/usr/bin/env python3
"""The program's icon: the splash's logo, two monitors showing one picture across both, on a
dark rounded tile. Each size is drawn on its own pixel grid (no scaling of a large image), so
the small ones stay crisp.

Usage: appicon.py [OUT_DIR]           write the icons (default: assets/icons of the repository)
       appicon.py --check [OUT_DIR]   draw into a scratch folder and compare byte for byte

Writes OUT_DIR/quelt-<n>.png for each size of the desktop icon theme and OUT_DIR/quelt.ico
(the Windows icon: PNG images of the sizes Windows asks for). The skin set is not touched.
Output is repeatable byte for byte with the same PIL and zlib.
"""

import os
import struct
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import theme as t  # noqa: E402
from paint import Canvas, hgradient, vgradient  # noqa: E402
from pngpad import encode  # noqa: E402

DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "assets", "icons"))
PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)
ICO_SIZES = (16, 24, 32, 48, 64, 256)


def draw(s):
    """The icon at s x s pixels (RGBA)."""
    c = Canvas(s, s)
    m = max(1, round(s / 16))
    tile = (m, m, s - m, s - m)
    radius = s * 0.19
    c.fill_masked(tile, radius, vgradient((s - 2 * m, s - 2 * m),
                                          [(0, "#2a313b"), (1, t.WINDOW_BOTTOM)]))
    if s >= 32:
        c.rrect(tile, radius, outline=t.WINDOW_BORDER, width=max(1, s / 64))

    # Two screens side by side; the picture runs across both, over the gap between them.
    pad = round(s * 0.15)
    gap = max(1, round(s * 0.05))
    width = s - 2 * pad
    screen_w = (width - gap) // 2
    screen_h = round(s * 0.34)
    top = round(s * 0.27)
    left = (s - (2 * screen_w + gap)) // 2
    frame = max(1, round(s / 40)) if s >= 24 else 0
    picture = hgradient((2 * screen_w + gap, screen_h),
                        [(0, t.ACCENT_HI), (0.5, t.ACCENT), (1, t.ACCENT_DEEP)])
    for i in range(2):
        x0 = left + i * (screen_w + gap)
        box = (x0, top, x0 + screen_w, top + screen_h)
        if frame:
            c.rrect((box[0] - frame, box[1] - frame, box[2] + frame, box[3] + frame),
                    frame, fill="#4a5563")
        part = picture.crop((x0 - left, 0, x0 - left + screen_w, screen_h))
        c.fill_masked(box, 0, part)
        # Stand: a neck under the screen's middle and a foot.
        mid = x0 + screen_w // 2
        neck = max(1, round(s / 32))
        foot_w = max(2, round(screen_w * 0.5))
        base = top + screen_h + frame
        neck_h = max(1, round(s * 0.06))
        c.rect((mid - neck, base, mid + neck, base + neck_h), "#6b7684")
        c.rect((mid - foot_w // 2, base + neck_h, mid - foot_w // 2 + foot_w,
                base + neck_h + max(1, round(s / 28))), "#8b96a4")
    # A light band across the whole picture says "one image over the wall".
    if s >= 24:
        band_h = max(1, round(screen_h * 0.14))
        y = top + screen_h // 2 - band_h // 2
        for i in range(2):
            x0 = left + i * (screen_w + gap)
            c.rect((x0, y, x0 + screen_w, y + band_h), (255, 255, 255, 110))
    return c.img


def ico(images):
    """A .ico file holding the PNG bytes of each size (Windows Vista and later read PNG entries)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for size, png in images:
        dim = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(png), offset + len(data))
        data += png
    return header + entries + data


def render():
    """file name -> bytes of every icon file."""
    pngs = {s: encode(draw(s)) for s in PNG_SIZES}
    files = {f"quelt-{s}.png": pngs[s] for s in PNG_SIZES}
    files["quelt.ico"] = ico([(s, pngs[s]) for s in ICO_SIZES])
    return files


def write(out_dir, files):
    os.makedirs(out_dir, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(out_dir, name), "wb") as fh:
            fh.write(data)


def check(out_dir):
    faults = []
    with tempfile.TemporaryDirectory() as tmp:
        write(tmp, render())
        expected = sorted(os.listdir(tmp))
        present = sorted(os.listdir(out_dir)) if os.path.isdir(out_dir) else []
        if present != expected:
            faults.append(f"files {present}, expected {expected}")
        for name in expected:
            path = os.path.join(out_dir, name)
            if not os.path.exists(path):
                continue
            with open(path, "rb") as a, open(os.path.join(tmp, name), "rb") as b:
                if a.read() != b.read():
                    faults.append(f"{name}: differs from a fresh run")
    for f in faults:
        print(f"FAIL {f}")
    if not faults:
        print(f"icons OK: {len(expected)} files in {out_dir}")
    return 1 if faults else 0


def main(argv):
    args = [a for a in argv[1:] if a != "--check"]
    out_dir = args[0] if args else DEFAULT_OUT
    if "--check" in argv:
        return check(out_dir)
    files = render()
    write(out_dir, files)
    print(f"appicon: {len(files)} files -> {out_dir}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
