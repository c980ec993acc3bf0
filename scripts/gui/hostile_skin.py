#!/usr/bin/python3
"""Copies a skin folder with one file replaced by one that lies, keeping the count and the byte
total so that the skin check passes and the lie reaches the image loading.

usage: hostile_skin.py SOURCE_GUISKIN TARGET_GUISKIN KIND
  oversized          a control image whose header claims 20000 x 20000 pixels (1.6 GB decoded)
  small-background   a 1 x 1 panel background
  bad-splash         a splash image of zeros (present, same size, undecodable)
"""
import os
import shutil
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "skingen"))
import pngpad  # noqa: E402

PICTURE = os.path.join("GUIFrameMain", "GUIFrameMainStcImage_HotKeyInfo.kesp")
BACKGROUND = os.path.join("GUIFrameMain", "GUIFrameMainBK.kesp")
SPLASH = os.path.join("GUIFrameSplash", "GUIFrameSplashBK.kesp")


def png(width, height, rows):
    """RGBA PNG whose header says width x height, with pixel data for `rows` rows only."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    raw = (b"\0" + b"\x40" * (4 * width)) * rows
    return (pngpad.SIGNATURE + pngpad.chunk(b"IHDR", ihdr)
            + pngpad.chunk(b"IDAT", zlib.compress(raw, 9)) + pngpad.chunk(b"IEND", b""))


def replace_padded(path, data):
    size = os.path.getsize(path)
    missing = size - len(data)
    if missing < pngpad.CHUNK_OVERHEAD:
        raise SystemExit(f"{path}: {len(data)} bytes do not fit in {size}")
    with open(path, "wb") as f:
        f.write(pngpad.insert_before_iend(data, pngpad.filler_chunk(missing)))


def main():
    source, target, kind = sys.argv[1:4]
    shutil.rmtree(target, ignore_errors=True)
    shutil.copytree(source, target)
    if kind == "oversized":
        replace_padded(os.path.join(target, PICTURE), png(20000, 20000, 1))
    elif kind == "small-background":
        replace_padded(os.path.join(target, BACKGROUND), png(1, 1, 1))
    elif kind == "bad-splash":
        path = os.path.join(target, SPLASH)
        size = os.path.getsize(path)
        with open(path, "wb") as f:
            f.write(b"\0" * size)
    else:
        raise SystemExit("unknown kind " + kind)


if __name__ == "__main__":
    main()
