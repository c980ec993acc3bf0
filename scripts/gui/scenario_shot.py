#!/usr/bin/python3
"""Checks what a screenshot of the connected panel (face at 236, 185) shows.

usage: scenario_shot.py [--wait SECONDS] FILE KIND [ARGUMENT]
  connected N[,K]  N device boxes listed with their texts, the rest of the list empty, box K
                (default 0) chosen; first Mode and Clock Sync items chosen; no shadow
  chosen        Stretch 2 x 2 and Clock Sync OFF chosen; no shadow
  applied       as chosen, and the H bezel thumb moved along its bar
  synced        Clone and Device Setting Sync chosen, box 1 highlighted; no shadow
  disconnected  no device listed, every text but the title grey, Apply unlit
  pattern       a pattern shows: every text but the title grey, Apply and HW Reset unlit, the
                Pattern switch lit
  busy REF      the shadow covers the panel: the face is much darker than in screenshot REF and
                the device texts are gone
With --wait, FILE is (re)taken from the screen until the check passes or the time is up.
"""
import subprocess
import sys
import time

from PIL import Image

LEFT, TOP = 236, 185
FACE = (0, 0, 1127, 679)


def screen_box(box):
    return (box[0] + LEFT, box[1] + TOP, box[2] + LEFT, box[3] + TOP)


def mean_level(shot, box):
    data = list(shot.crop(screen_box(box)).convert("L").getdata())
    return sum(data) / len(data)


def count(shot, box, test):
    return sum(1 for p in shot.crop(screen_box(box)).getdata() if test(p))


def light(p):
    return sum(p) > 3 * 150


def blue(p):
    return p[2] > 150 and p[0] < 80


def info_text(k):
    return (96, 153 + 88 * k, 146, 212 + 88 * k)


def chosen(shot, left, items):
    """Which items of a radio column (left edge x, rows 24 px apart from y 141) are on."""
    return [blue(shot.getpixel((LEFT + left + 9, TOP + 150 + 24 * k))) for k in range(items)]


def not_busy(shot, failures):
    if mean_level(shot, FACE) < 30:
        failures.append("the face is dark (busy shadow?)")
    if count(shot, (978, 55, 1102, 87), blue) < 1000:
        failures.append("the Apply button is not lit")


def check_connected(shot, argument):
    failures = []
    boxes, current = (int(n) for n in (argument + ",0").split(",")[:2])
    for k in range(6):
        text = count(shot, info_text(k), light)
        if k < boxes and text < 60:
            failures.append(f"no device text in slot {k}")
        if k >= boxes and text > 0:
            failures.append(f"slot {k} is not empty")
        lit = count(shot, (17, 149 + 88 * k, 95, 217 + 88 * k), blue) > 150
        if lit != (k == current):
            failures.append(f"device box {k} is {'' if lit else 'not '}highlighted")
    if chosen(shot, 171, 4) != [True, False, False, False]:
        failures.append("Mode is not Stretch 1 x 2")
    if chosen(shot, 294, 3) != [True, False, False]:
        failures.append("Clock Sync is not DP1")
    not_busy(shot, failures)
    return failures


def check_chosen(shot, _argument):
    failures = []
    if chosen(shot, 171, 4) != [False, False, True, False]:
        failures.append("Mode is not Stretch 2 x 2 alone")
    if chosen(shot, 294, 3) != [False, False, True]:
        failures.append("Clock Sync is not OFF alone")
    not_busy(shot, failures)
    return failures


def check_applied(shot, argument):
    failures = check_chosen(shot, argument)
    if count(shot, (560, 624, 1029, 665), blue) < 300:
        failures.append("the H bezel thumb is not along its bar")
    return failures


def check_synced(shot, _argument):
    failures = []
    if chosen(shot, 171, 4) != [False, False, False, True]:
        failures.append("Mode is not Clone alone")
    if count(shot, (805, 112, 823, 131), blue) < 20:
        failures.append("Device Setting Sync is not ticked")
    if count(shot, (17, 237, 95, 305), blue) < 150:
        failures.append("device box 1 is not highlighted")
    not_busy(shot, failures)
    return failures


def brightest(shot, box):
    return max(sum(p) // 3 for p in shot.crop(screen_box(box)).getdata())


def check_pattern(shot, _argument):
    failures = []
    grey_texts(shot, failures)
    if brightest(shot, info_text(0)) > 170:
        failures.append("the device text is not grey")
    if count(shot, (978, 55, 1102, 87), blue) > 100 or count(shot, (501, 55, 625, 87), light) > 20:
        failures.append("Apply or HW Reset looks usable")
    if count(shot, (183, 53, 307, 89), blue) < 100:
        failures.append("the Pattern switch is not on")
    return failures


def grey_texts(shot, failures):
    if brightest(shot, (10, 7, 300, 27)) < 200:
        failures.append("the title is not white")
    for name, box in [("Mode heading", (173, 111, 222, 130)),
                      ("Stretch 1 x 2 label", (195, 140, 287, 160)),
                      ("resolution label", (219, 331, 333, 360))]:
        if brightest(shot, box) > 170:
            failures.append(f"the {name} is not grey")


def check_disconnected(shot, _argument):
    failures = []
    for k in range(6):
        if count(shot, info_text(k), light):
            failures.append(f"slot {k} shows a device text")
    grey_texts(shot, failures)
    if count(shot, (978, 55, 1102, 87), blue) > 100:
        failures.append("Apply looks usable")
    return failures


def check_busy(shot, argument):
    failures = []
    reference = Image.open(argument).convert("RGB")
    dark, normal = mean_level(shot, FACE), mean_level(reference, FACE)
    if dark > 0.7 * normal:
        failures.append(f"the face is not darkened ({dark:.1f} against {normal:.1f})")
    if any(count(shot, info_text(k), light) for k in range(6)):
        failures.append("device texts are not shaded")
    return failures


CHECKS = {
    "connected": check_connected,
    "chosen": check_chosen,
    "applied": check_applied,
    "synced": check_synced,
    "disconnected": check_disconnected,
    "pattern": check_pattern,
    "busy": check_busy,
}


def main(argv):
    wait = 0.0
    if argv[1] == "--wait":
        wait, argv = float(argv[2]), argv[:1] + argv[3:]
    path, kind = argv[1], argv[2]
    argument = argv[3] if len(argv) > 3 else ""
    deadline = time.monotonic() + wait
    while True:
        if wait:
            subprocess.run(["import", "-window", "root", path], check=True)
        failures = CHECKS[kind](Image.open(path).convert("RGB"), argument)
        if not failures or time.monotonic() >= deadline:
            break
        time.sleep(0.1)
    for failure in failures:
        print(f"  {path}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
