#!/usr/bin/python3
"""Checks a screenshot of the panel: usage check_shot.py FILE splash|panel."""
import sys

from PIL import Image

shot = Image.open(sys.argv[1]).convert("RGB")
kind = sys.argv[2]


def bright(box):
    """Number of pixels brighter than mid-grey in the box (left, top, right, bottom)."""
    region = shot.crop(box)
    return sum(1 for p in region.getdata() if sum(p) > 3 * 150)


def lit(x, y):
    return sum(shot.getpixel((x, y))) > 0


failures = []
if kind == "splash":
    # Something is drawn around the middle of the 1600 x 1050 area, nothing in the far corner.
    if not lit(800, 525):
        failures.append("nothing drawn at the centre")
    if lit(5, 5):
        failures.append("the corner is not empty")
elif kind == "panel":
    # The 1127 x 679 face at (236, 185): drawn inside, empty just outside.
    for x, y in [(240, 190), (1358, 860), (800, 525)]:
        if not lit(x, y):
            failures.append(f"panel pixel {x},{y} is empty")
    for x, y in [(230, 180), (1370, 870)]:
        if lit(x, y):
            failures.append(f"outside pixel {x},{y} is drawn")
    # The title text, light on the dark title band.
    if bright((246, 192, 786, 212)) < 40:
        failures.append("no title text")
else:
    failures.append("unknown kind " + kind)

for failure in failures:
    print(f"{sys.argv[1]}: {failure}")
sys.exit(1 if failures else 0)
