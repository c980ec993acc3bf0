#!/usr/bin/env python3
"""Checks a skin folder against what the panel and the splash need.

Usage: check_skin.py SKIN_DIR [--no-regen]

- exactly the 29 expected files, and their sizes add up to 678252 bytes;
- every file is an intact PNG (signature, chunk CRCs, IHDR first, IEND last,
  only ancillary extra chunks) that decodes to an image with an alpha channel;
- every strip splits into its slice count and each slice has the pixel size of
  the rectangle the panel draws it into;
- running the generator again reproduces every file byte for byte.
Exits 0 when all holds, 1 otherwise, listing each fault.
"""

import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

from pngpad import SIGNATURE, iter_chunks  # noqa: E402

TOTAL_BYTES = 678252
SPLASH_SIZE = (270, 340)
# The splash's version text is right-aligned in this rectangle; the image must reach it.
SPLASH_VERSION_RECT = (6, 313, 264, 330)

# file -> (slice count, destination rectangle on the panel), written out from the
# panel layout independently of the generator's own table.
MAIN = {
    "GUIFrameMainBK": (1, (0, 0, 1127, 679)),
    "GUIFrameMainBKShadow": (2, (0, 0, 1127, 679)),
    "GUIFrameMainStcImage_HotKeyInfo": (2, (805, 137, 1101, 301)),
    "GUIFrameMainStcImage_Stretch_1x2": (2, (305, 141, 691, 255)),
    "GUIFrameMainStcImage_Stretch_1x4": (2, (305, 141, 691, 255)),
    "GUIFrameMainStcImage_Stretch_2x2": (2, (305, 141, 691, 255)),
    "GUIFrameMainStcImage_Clone": (2, (305, 141, 691, 255)),
    "GUIFrameMainStcImage_Bezel_1x2": (2, (585, 403, 949, 541)),
    "GUIFrameMainStcImage_Bezel_1x4": (2, (511, 438, 1016, 537)),
    "GUIFrameMainStcImage_Bezel_2x2": (2, (608, 360, 925, 578)),
    "GUIFrameMainStcImage_Bezel_Clone": (2, (608, 360, 925, 578)),
    "GUIFrameMainCtrlChkBox_STD": (4, (805, 112, 823, 131)),
    "GUIFrameMainCtrlSwitch_SerialCOM": (4, (24, 53, 148, 89)),
    "GUIFrameMainCtrlSwitch_Pattern": (4, (183, 53, 307, 89)),
    "GUIFrameMainCtrlSwitch_RGBW": (4, (342, 53, 466, 89)),
    "GUIFrameMainCtrlBtn_Exit": (4, (1069, 3, 1117, 27)),
    "GUIFrameMainCtrlBtn_HWReset": (4, (501, 55, 625, 87)),
    "GUIFrameMainCtrlBtn_SWReset": (4, (660, 55, 784, 87)),
    "GUIFrameMainCtrlBtn_AdvanceSetting": (4, (819, 55, 943, 87)),
    "GUIFrameMainCtrlBtn_Apply": (4, (978, 55, 1102, 87)),
    "GUIFrameMainCtrlRdoBtn_DeviceBox": (4, (17, 149, 95, 217)),
    "GUIFrameMainCtrlRdoBtn_STD": (4, (171, 141, 189, 160)),
    "GUIFrameMainCtrlSlider_ResolutionBtn": (3, (173, 348, 209, 367)),
    "GUIFrameMainCtrlSlider_ResolutionBar": (3, (203, 331, 218, 645)),
    "GUIFrameMainCtrlSlider_BezelHBtn": (3, (494, 624, 531, 665)),
    "GUIFrameMainCtrlSlider_BezelHBar": (3, (493, 615, 1029, 631)),
    "GUIFrameMainCtrlSlider_BezelVBtn": (3, (1044, 348, 1080, 367)),
    "GUIFrameMainCtrlSlider_BezelVBar": (3, (1074, 331, 1089, 645)),
}
CRITICAL = {b"IHDR", b"PLTE", b"IDAT", b"IEND"}


def expected_files():
    files = {("GUIFrameSplash", "GUIFrameSplashBK.kesp"): (1, (0, 0) + SPLASH_SIZE)}
    for name, spec in MAIN.items():
        files[("GUIFrameMain", name + ".kesp")] = spec
    return files


def png_faults(data):
    """Structural faults of one PNG file, as text."""
    faults = []
    try:
        chunks = [c for c, _, _ in iter_chunks(data)]
    except ValueError as e:
        return [str(e)]
    if not chunks or chunks[0] != b"IHDR":
        faults.append("IHDR is not the first chunk")
    if not chunks or chunks[-1] != b"IEND" or chunks.count(b"IEND") != 1:
        faults.append("IEND is not the single last chunk")
    if b"IDAT" not in chunks:
        faults.append("no image data")
    for c in chunks:
        if c not in CRITICAL and not (c[0:1].islower()):
            faults.append(f"unknown critical chunk {c!r}")
    return faults


def check_folder(skin_dir):
    faults = []
    expected = expected_files()
    found = set()
    for sub in ("GUIFrameSplash", "GUIFrameMain"):
        d = os.path.join(skin_dir, sub)
        if os.path.isdir(d):
            found |= {(sub, n) for n in os.listdir(d) if os.path.isfile(os.path.join(d, n))}
    for missing in sorted(set(expected) - found):
        faults.append(f"missing {'/'.join(missing)}")
    for extra in sorted(found - set(expected)):
        faults.append(f"unexpected {'/'.join(extra)}")
    total = 0
    for (sub, name) in sorted(found & set(expected)):
        slices, rect = expected[(sub, name)]
        path = os.path.join(skin_dir, sub, name)
        with open(path, "rb") as fh:
            data = fh.read()
        total += len(data)
        label = f"{sub}/{name}"
        if not data.startswith(SIGNATURE):
            faults.append(f"{label}: not a PNG")
            continue
        faults += [f"{label}: {f}" for f in png_faults(data)]
        try:
            with Image.open(path) as im:
                im.load()
                mode, (w, h) = im.mode, im.size
        except Exception as e:  # noqa: BLE001 - any decoder failure is a fault here
            faults.append(f"{label}: does not decode ({e})")
            continue
        if mode not in ("RGBA", "LA"):
            faults.append(f"{label}: decodes as {mode}, without an alpha channel")
        rw, rh = rect[2] - rect[0], rect[3] - rect[1]
        if w % slices:
            faults.append(f"{label}: width {w} does not split into {slices} slices")
        elif (w // slices, h) != (rw, rh):
            faults.append(f"{label}: slice {w // slices}x{h}, drawn into {rw}x{rh}")
    if found == set(expected) and total != TOTAL_BYTES:
        faults.append(f"total size {total} bytes, expected {TOTAL_BYTES}")
    return faults


def regeneration_faults(skin_dir):
    faults = []
    with tempfile.TemporaryDirectory() as tmp:
        run = subprocess.run([sys.executable, os.path.join(HERE, "skingen.py"), tmp],
                             capture_output=True, text=True)
        if run.returncode != 0:
            return [f"generator failed: {run.stderr.strip()}"]
        for (sub, name) in sorted(expected_files()):
            a = os.path.join(skin_dir, sub, name)
            b = os.path.join(tmp, sub, name)
            if not os.path.exists(a) or not os.path.exists(b):
                continue
            with open(a, "rb") as fa, open(b, "rb") as fb:
                if fa.read() != fb.read():
                    faults.append(f"{sub}/{name}: differs from a fresh generator run")
    return faults


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    if len(args) != 1:
        print(__doc__)
        return 2
    skin_dir = args[0]
    faults = check_folder(skin_dir)
    if "--no-regen" not in argv:
        faults += regeneration_faults(skin_dir)
    for f in faults:
        print(f"FAIL {f}")
    if not faults:
        print(f"skin set OK: {len(expected_files())} files, {TOTAL_BYTES} bytes")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
