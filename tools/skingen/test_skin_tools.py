#!/usr/bin/env python3
"""Checks that the skin check notices damaged sets and that filler chunks keep PNGs valid."""

import io
import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import background  # noqa: E402
import check_skin  # noqa: E402
import frames  # noqa: E402
import panel_layout as L  # noqa: E402
import pngpad  # noqa: E402

SKIN = os.path.normpath(os.path.join(HERE, "..", "..", "assets", "GUISkin"))
APPLY = os.path.join("GUIFrameMain", "GUIFrameMainCtrlBtn_Apply.kesp")


def _png(mode="RGBA", size=(8, 4)):
    buf = io.BytesIO()
    Image.new(mode, size, 0).save(buf, format="PNG")
    return buf.getvalue()


class PaddingTest(unittest.TestCase):
    def test_filler_reaches_the_total_and_keeps_the_png_decodable(self):
        files = {"a": _png(), "b": _png()}
        for target in (len(files["a"]) + len(files["b"]) + extra for extra in (0, 12, 13, 5000)):
            out = pngpad.pad_to_total(files, "b", target)
            self.assertEqual(sum(len(v) for v in out.values()), target)
            self.assertEqual(check_skin.png_faults(out["b"]), [])
            with Image.open(io.BytesIO(out["b"])) as im:
                im.load()
                self.assertEqual(im.size, (8, 4))

    def test_a_gap_too_small_or_negative_is_refused(self):
        files = {"a": _png()}
        for extra in (1, 11, -1):
            with self.assertRaises(ValueError):
                pngpad.pad_to_total(files, "a", len(files["a"]) + extra)


class CheckFolderTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.skin = os.path.join(self.tmp, "GUISkin")
        shutil.copytree(SKIN, self.skin)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def _replace(self, rel, data):
        with open(os.path.join(self.skin, rel), "wb") as fh:
            fh.write(data)

    def test_shipped_set_passes(self):
        self.assertEqual(check_skin.check_folder(self.skin), [])

    def test_damaged_byte_is_found(self):
        path = os.path.join(self.skin, APPLY)
        with open(path, "rb") as fh:
            data = bytearray(fh.read())
        data[60] ^= 0x40
        self._replace(APPLY, bytes(data))
        self.assertTrue(any("CRC" in f or "decode" in f for f in check_skin.check_folder(self.skin)))

    def test_extra_or_missing_file_is_found(self):
        self._replace(os.path.join("GUIFrameMain", "extra.kesp"), b"")
        os.remove(os.path.join(self.skin, "GUIFrameSplash", "GUIFrameSplashBK.kesp"))
        faults = check_skin.check_folder(self.skin)
        self.assertTrue(any(f.startswith("unexpected") for f in faults))
        self.assertTrue(any(f.startswith("missing") for f in faults))

    def test_wrong_slice_size_missing_alpha_and_total_are_found(self):
        self._replace(APPLY, _png("RGB", (500, 32)))
        faults = check_skin.check_folder(self.skin)
        self.assertTrue(any("without an alpha" in f for f in faults))
        self.assertTrue(any("slice 125x32" in f for f in faults))
        self.assertTrue(any(f.startswith("total size") for f in faults))

    def test_regeneration_mismatch_is_found(self):
        self.assertEqual(check_skin.regeneration_faults(self.skin), [])
        path = os.path.join(self.skin, APPLY)
        img = Image.open(path).convert("RGBA")
        img.putpixel((0, 0), (1, 2, 3, 4))
        self._replace(APPLY, pngpad.encode(img))
        self.assertTrue(any("differs" in f for f in check_skin.regeneration_faults(self.skin)))


def _overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


class BusyBadgeTest(unittest.TestCase):
    def test_the_working_badge_covers_no_label(self):
        texts = [rect for _, rect, *_ in L.LABELS]
        texts += [rect for rect, _ in L.BEZEL_TEXTS] + L.DEVICE_TEXT_RECTS + [L.HOT_KEYS]
        for y in L.stops(331, 645, 14, 9):
            texts += [(219, y, 333, y + 19), (385, y, 500, y + 19)]
        # The caption bands of the framed regions ("BEZEL COMPENSATION" among them).
        for box in (background.SYNC, background.BEZEL, background.RESOLUTION):
            texts.append((box[0], box[1], box[2], box[1] + 30))
        badge = frames.BADGE_RECT
        # The shadow of the pill reaches one pixel out and three down.
        reach = (badge[0] - 1, badge[1], badge[2] + 1, badge[3] + 3)
        for rect in texts:
            self.assertFalse(_overlap(reach, rect), f"badge {reach} covers {rect}")
        stage = background.STAGE
        self.assertTrue(stage[0] <= reach[0] and reach[2] <= stage[2] and stage[1] <= reach[1]
                        and reach[3] <= stage[3])


if __name__ == "__main__":
    unittest.main()
