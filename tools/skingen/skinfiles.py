"""The skin files the panel and the splash load, with their strip layouts.

Every strip is drawn at the pixel size of its destination rectangle on the
panel, so the toolkit never has to scale a slice.
"""

from dataclasses import dataclass

SPLASH_DIR = "GUIFrameSplash"
MAIN_DIR = "GUIFrameMain"
EXTENSION = ".kesp"

# The panel's skin check accepts exactly this many files and bytes.
FILE_COUNT = 29
TOTAL_BYTES = 678252

PANEL_W, PANEL_H = 1127, 679
SPLASH_W, SPLASH_H = 270, 340


@dataclass(frozen=True)
class SkinFile:
    folder: str
    name: str
    slices: int
    slice_w: int
    slice_h: int

    @property
    def width(self):
        return self.slices * self.slice_w

    @property
    def rel_path(self):
        return f"{self.folder}/{self.name}{EXTENSION}"


def _main(name, slices, w, h):
    return SkinFile(MAIN_DIR, name, slices, w, h)


SKIN_FILES = [
    SkinFile(SPLASH_DIR, "GUIFrameSplashBK", 1, SPLASH_W, SPLASH_H),
    _main("GUIFrameMainBK", 1, PANEL_W, PANEL_H),
    _main("GUIFrameMainBKShadow", 2, PANEL_W, PANEL_H),
    _main("GUIFrameMainCtrlBtn_AdvanceSetting", 4, 124, 32),
    _main("GUIFrameMainCtrlBtn_Apply", 4, 124, 32),
    _main("GUIFrameMainCtrlBtn_Exit", 4, 48, 24),
    _main("GUIFrameMainCtrlBtn_HWReset", 4, 124, 32),
    _main("GUIFrameMainCtrlBtn_SWReset", 4, 124, 32),
    _main("GUIFrameMainCtrlChkBox_STD", 4, 18, 19),
    _main("GUIFrameMainCtrlRdoBtn_DeviceBox", 4, 78, 68),
    _main("GUIFrameMainCtrlRdoBtn_STD", 4, 18, 19),
    _main("GUIFrameMainCtrlSlider_BezelHBar", 3, 536, 16),
    _main("GUIFrameMainCtrlSlider_BezelHBtn", 3, 37, 41),
    _main("GUIFrameMainCtrlSlider_BezelVBar", 3, 15, 314),
    _main("GUIFrameMainCtrlSlider_BezelVBtn", 3, 36, 19),
    _main("GUIFrameMainCtrlSlider_ResolutionBar", 3, 15, 314),
    _main("GUIFrameMainCtrlSlider_ResolutionBtn", 3, 36, 19),
    _main("GUIFrameMainCtrlSwitch_Pattern", 4, 124, 36),
    _main("GUIFrameMainCtrlSwitch_RGBW", 4, 124, 36),
    _main("GUIFrameMainCtrlSwitch_SerialCOM", 4, 124, 36),
    _main("GUIFrameMainStcImage_Bezel_1x2", 2, 364, 138),
    _main("GUIFrameMainStcImage_Bezel_1x4", 2, 505, 99),
    _main("GUIFrameMainStcImage_Bezel_2x2", 2, 317, 218),
    _main("GUIFrameMainStcImage_Bezel_Clone", 2, 317, 218),
    _main("GUIFrameMainStcImage_Clone", 2, 386, 114),
    _main("GUIFrameMainStcImage_HotKeyInfo", 2, 296, 164),
    _main("GUIFrameMainStcImage_Stretch_1x2", 2, 386, 114),
    _main("GUIFrameMainStcImage_Stretch_1x4", 2, 386, 114),
    _main("GUIFrameMainStcImage_Stretch_2x2", 2, 386, 114),
]

BY_NAME = {f.name: f for f in SKIN_FILES}

# File that carries the filler chunk bringing the set to TOTAL_BYTES.
PADDED_FILE = "GUIFrameMainBKShadow"
