"""Where the panel puts each skin image and caption, for previews of the skin set."""

MAIN = "GUIFrameMain"

# (text, rect, size, italic, centred)
LABELS = [
    ("Quelt Control Center - v1.05a", (10, 7, 550, 27), 12, True, False),
    ("Device List", (10, 111, 147, 131), 12, True, True),
    ("DP1", (188, 285, 237, 304), 12, True, True),
    ("DP2", (349, 285, 398, 304), 12, True, True),
    ("Mode", (173, 111, 222, 130), 12, True, False),
    ("Clock Sync", (296, 111, 380, 130), 12, True, False),
    ("FrameRate", (391, 111, 478, 131), 12, True, False),
    ("H Limit", (482, 111, 569, 131), 12, True, False),
    ("V Limit", (576, 111, 663, 131), 12, True, False),
    ("Set DeviceID", (672, 111, 759, 131), 12, True, False),
    ("Device Setting Sync", (825, 111, 1089, 131), 12, False, False),
]
for k, s in enumerate(["Stretch 1 x 2", "Stretch 1 x 4", "Stretch 2 x 2", "Clone"]):
    LABELS.append((s, (195, 140 + 24 * k, 287, 160 + 24 * k), 12, False, False))
for k, s in enumerate(["DP1", "DP2", "OFF"]):
    LABELS.append((s, (320, 141 + 24 * k, 369, 160 + 24 * k), 12, False, False))
for k, s in enumerate(["60 Hz", "120 Hz"]):
    LABELS.append((s, (417, 141 + 24 * k, 466, 160 + 24 * k), 12, False, False))
for k, s in enumerate(["0", "50", "100", "150", "200", "250"]):
    LABELS.append((s, (511, 141 + 24 * k, 560, 160 + 24 * k), 12, False, False))
for k, s in enumerate(["15", "30", "45", "60"]):
    LABELS.append((s, (604, 141 + 24 * k, 653, 160 + 24 * k), 12, False, False))
for k in range(6):
    LABELS.append((f"ID {k + 1}", (703, 141 + 24 * k, 770, 160 + 24 * k), 12, False, False))

BEZEL_TEXTS = [((494, 590, 620, 612), False), ((1024, 302, 1112, 324), True)]
DEVICE_TEXT_RECTS = [(96, 153, 146, 212), (96, 241, 146, 300), (96, 330, 146, 389),
                     (96, 418, 146, 477), (96, 505, 146, 564), (96, 594, 146, 653)]
DEVICE_BOX_RECTS = [(17, 149 + 88 * k, 95, 217 + 88 * k) for k in range(6)]

RADIO_GROUPS = [  # x of the items, item count
    (171, 4), (294, 3), (389, 2), (485, 6), (579, 4), (677, 6),
]

CHECK_BOX = (805, 112, 823, 131)
SWITCHES = [
    ("GUIFrameMainCtrlSwitch_SerialCOM", (24, 53, 148, 89)),
    ("GUIFrameMainCtrlSwitch_Pattern", (183, 53, 307, 89)),
    ("GUIFrameMainCtrlSwitch_RGBW", (342, 53, 466, 89)),
]
BUTTONS = [  # name, rect, visible
    ("GUIFrameMainCtrlBtn_Exit", (1069, 3, 1117, 27), True),
    ("GUIFrameMainCtrlBtn_HWReset", (501, 55, 625, 87), True),
    ("GUIFrameMainCtrlBtn_SWReset", (660, 55, 784, 87), True),
    ("GUIFrameMainCtrlBtn_AdvanceSetting", (819, 55, 943, 87), False),
    ("GUIFrameMainCtrlBtn_Apply", (978, 55, 1102, 87), True),
]
HOT_KEYS = (805, 137, 1101, 301)
BEZEL_PICTURES = {
    "1x2": ("GUIFrameMainStcImage_Bezel_1x2", (585, 403, 949, 541)),
    "1x4": ("GUIFrameMainStcImage_Bezel_1x4", (511, 438, 1016, 537)),
    "2x2": ("GUIFrameMainStcImage_Bezel_2x2", (608, 360, 925, 578)),
    "clone": ("GUIFrameMainStcImage_Bezel_Clone", (608, 360, 925, 578)),
}
MODE_PICTURE_RECT = (305, 141, 691, 255)
PREVIEW_RECTS = {
    "1x2": [(592, 416, 758, 503), (773, 416, 939, 503)],
    "1x4": [(516, 447, 631, 507), (642, 447, 757, 507), (768, 447, 883, 507),
            (894, 447, 1009, 507)],
    "2x2": [(614, 371, 758, 447), (772, 371, 916, 447), (614, 470, 758, 546),
            (772, 470, 916, 546)],
}
PREVIEW_RECTS["clone"] = PREVIEW_RECTS["2x2"]

RES_THUMB_X = (173, 209)
RES_BAR = [(203, 331, 218, 645), (366, 331, 381, 645)]
RES_THUMB = [(173, 209), (336, 372)]
V_BAR = (1074, 331, 1089, 645)
V_THUMB_X = (1044, 1080)
H_BAR = (493, 615, 1029, 631)
H_THUMB_Y = (624, 665)


def stops(min_pos, max_pos, count, half):
    d = count - 1 if count > 1 else 1
    step = abs(max_pos - min_pos) // d
    out = [min_pos + i * step - half for i in range(count)]
    if count > 1:
        out[-1] = max_pos - half
    return out
