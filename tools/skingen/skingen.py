#!/usr/bin/env python3
"""Draws the panel's skin set into <out>/GUIFrameSplash and <out>/GUIFrameMain.

Usage: skingen.py [OUT_DIR]   (default: assets/GUISkin of the repository)

The output is repeatable byte for byte, and the file sizes add up to the total
the panel's skin check expects (a filler chunk in one file makes up the rest).
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import background  # noqa: E402
import buttons  # noqa: E402
import frames  # noqa: E402
import pictures  # noqa: E402
import pngpad  # noqa: E402
import sliders  # noqa: E402
import toggles  # noqa: E402
from skinfiles import BY_NAME, FILE_COUNT, PADDED_FILE, SKIN_FILES, TOTAL_BYTES  # noqa: E402

DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "assets", "GUISkin"))


def render_all():
    """name -> RGBA strip, for every skin file."""
    images = {
        "GUIFrameSplashBK": frames.splash(),
        "GUIFrameMainBK": background.background(),
        "GUIFrameMainBKShadow": frames.busy_shadow(),
    }
    images.update(buttons.all_buttons())
    images.update(toggles.all_toggles())
    images.update(sliders.all_sliders())
    images.update(pictures.all_pictures())
    missing = set(BY_NAME) - set(images)
    extra = set(images) - set(BY_NAME)
    if missing or extra:
        raise RuntimeError(f"image set mismatch: missing {sorted(missing)}, extra {sorted(extra)}")
    for name, img in images.items():
        f = BY_NAME[name]
        if img.size != (f.width, f.slice_h) or img.mode != "RGBA":
            raise RuntimeError(f"{name}: drawn {img.mode} {img.size}, "
                               f"expected RGBA {(f.width, f.slice_h)}")
    return images


def encode_all(images):
    encoded = {name: pngpad.encode(img) for name, img in images.items()}
    return pngpad.pad_to_total(encoded, PADDED_FILE, TOTAL_BYTES)


def write_set(out_dir, encoded):
    for f in SKIN_FILES:
        path = os.path.join(out_dir, f.folder, f.name + ".kesp")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as fh:
            fh.write(encoded[f.name])


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else DEFAULT_OUT
    encoded = encode_all(render_all())
    assert len(encoded) == FILE_COUNT
    write_set(out_dir, encoded)
    total = sum(len(b) for b in encoded.values())
    print(f"skingen: {len(encoded)} files, {total} bytes -> {out_dir}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
