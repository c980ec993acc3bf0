#!/usr/bin/python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/ (run once; the files are
kept in the tree). Usage: make_seeds.py"""
import io
import os
import struct

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# image_header: small images in every format the check reads, and one it refuses.
for fmt, ext in [("PNG", "png"), ("JPEG", "jpg"), ("GIF", "gif"), ("BMP", "bmp"),
                 ("TIFF", "tif")]:
    img = Image.new("RGB" if fmt in ("JPEG", "BMP") else "RGBA", (7, 5), (30, 60, 90))
    buf = io.BytesIO()
    img.save(buf, format=fmt)
    write("image_header", "small." + ext, buf.getvalue())
ihdr = struct.pack(">I", 13) + b"IHDR" + struct.pack(">II", 60000, 60000) + bytes(9)
write("image_header", "claims-60000.png", b"\x89PNG\r\n\x1a\n" + ihdr)

# cli_args: the arguments after the program name, separated by zero bytes.
for name, args in {
    "discover": ["discover", "--json"],
    "status": ["status", "--box", "2", "--json"],
    "apply": ["apply", "--all", "--mode", "clone", "--rate", "120", "--sync", "dp2", "--res1",
              "3", "--res2", "0", "--hlimit", "100", "--vlimit", "30", "--hbezel", "20",
              "--vbezel", "5", "--id", "4"],
    "reset": ["reset", "sw", "--box", "1"],
    "pattern": ["pattern", "rgbw"],
    "help": ["--help"],
}.items():
    write("cli_args", name, b"\0".join(a.encode() for a in args))


# device_replies: byte 0 the ports that open, byte 1 the operations, then pieces of the byte
# stream (a length byte, then that many bytes).
def frame(code, firmware=12, box_id=1, flags=0, res=(0, 0), limits=(50, 15), bezels=(0, 0)):
    return bytes([code, 0x54, firmware, box_id]) + struct.pack("<I", flags) + bytes(
        [res[0], res[1], 0, limits[0], limits[1], bezels[0], bezels[1], 0xAA])


def pieces(*frames, split=16):
    out = b""
    for f in frames:
        for i in range(0, len(f), split):
            part = f[i:i + split]
            out += bytes([len(part)]) + part
    return out


status = frame(0xFF)
write("device_replies", "one-box", bytes([0x01, 0x00]) + pieces(status, status))
clone120 = frame(0xFF, flags=(1 << 5) | (1 << 15), res=(2, 1), limits=(100, 30), bezels=(7, 3))
write("device_replies", "two-boxes-select",
      bytes([0x05, 0x11]) + pieces(status, frame(0xFF, box_id=2), status, clone120))
write("device_replies", "apply",
      bytes([0x01, 0x02]) + pieces(status, status, frame(0), frame(100), clone120))
write("device_replies", "apply-split",
      bytes([0x01, 0x02]) + pieces(status, status, frame(0), frame(100), clone120, split=5))
write("device_replies", "negative-reply",
      bytes([0x01, 0x02]) + pieces(status, status, frame(0xFE), status))
write("device_replies", "reset-and-patterns",
      bytes([0x03, 0x0C]) + pieces(status, status, status, frame(2), status, frame(11), frame(3),
                                   frame(4), frame(4)))
