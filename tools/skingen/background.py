"""The main panel's face: window shape, title band, toolbar and the framed regions.

Group captions, values and the title are drawn by the program, so the face
only provides their bands and frames.
"""

from PIL import Image, ImageChops, ImageDraw

import theme as t
from paint import SS, Canvas, font, rgba, vgradient
from skinfiles import PANEL_H, PANEL_W

TITLE_H = 34
TOOLBAR = (8, 42, 1119, 98)
DEVICES = (8, 104, 152, 671)
OPTIONS = (160, 104, 792, 283)
RESOLUTION = (160, 283, 468, 671)
# Drawn overlapping the options box so the joined panel has one smooth outline.
_RESOLUTION_JOIN = (160, 260, 468, 671)
SYNC = (798, 104, 1119, 298)
BEZEL = (474, 304, 1119, 671)
# The bezel preview's stage inside BEZEL, under its caption band.
STAGE = (497, 336, 1030, 586)
HEADER_H = 30
DEVICE_SLOTS = [(12, 145 + 88 * k, 149, 221 + 88 * k) for k in range(6)]
OPTION_DIVIDERS = [290, 385, 479, 573, 668]


def window_mask(r=t.WINDOW_RADIUS):
    m = Image.new("L", (PANEL_W * SS, PANEL_H * SS), 0)
    ImageDraw.Draw(m).rounded_rectangle([0, 0, PANEL_W * SS - 1, PANEL_H * SS - 1],
                                        radius=r * SS, fill=255)
    return m.reduce(SS)


def _union_mask(boxes, r, inset, origin, size):
    """Anti-aliased union of rounded rectangles shrunk by inset, in a tile at origin."""
    ox, oy = origin
    m = Image.new("L", (size[0] * SS, size[1] * SS), 0)
    d = ImageDraw.Draw(m)
    for x0, y0, x1, y1 in boxes:
        d.rounded_rectangle([(x0 - ox + inset) * SS, (y0 - oy + inset) * SS,
                             (x1 - ox - inset) * SS - 1, (y1 - oy - inset) * SS - 1],
                            radius=max(0, r - inset) * SS, fill=255)
    return m.reduce(SS)


def _panel(c, boxes, r=t.PANEL_RADIUS, fill=t.PANEL, border=t.PANEL_BORDER):
    """A flat panel over the union of the boxes with a 1 px border.

    Boxes that join must overlap by more than the radius so the union is smooth.
    Returns the panel's inner coverage as a full-size mask for clipping.
    """
    x0 = min(b[0] for b in boxes)
    y0 = min(b[1] for b in boxes)
    size = (max(b[2] for b in boxes) - x0, max(b[3] for b in boxes) - y0)
    outer = _union_mask(boxes, r, 0, (x0, y0), size)
    inner = _union_mask(boxes, r, 1, (x0, y0), size)
    c.img.alpha_composite(_solid(fill, inner), (x0, y0))
    c.img.alpha_composite(_solid(border, ImageChops.subtract(outer, inner)), (x0, y0))
    full = Image.new("L", c.img.size, 0)
    full.paste(inner, (x0, y0))
    return full


def _solid(colour, mask):
    img = Image.new("RGBA", mask.size, rgba(colour))
    img.putalpha(ImageChops.multiply(mask, Image.new("L", mask.size, rgba(colour)[3])))
    return img


def _clip_rect(c, box, colour, clip):
    """A rectangle of colour limited to the clip mask (keeps panel corners round)."""
    x0, y0, x1, y1 = box
    tile = Image.new("RGBA", (x1 - x0, y1 - y0), rgba(colour))
    a = clip.crop(box)
    tile.putalpha(ImageChops.multiply(a, tile.getchannel("A")))
    c.img.alpha_composite(tile, (x0, y0))


def _header(c, box, clip, h=HEADER_H):
    x0, y0, x1, _ = box
    _clip_rect(c, (x0, y0, x1, y0 + h), t.PANEL_HEADER, clip)
    c.hline(x0 + 1, x1 - 1, y0 + h, t.DIVIDER)


def _accent_tick(c, x, y):
    """Short accent mark at the left of a header band."""
    c.rect((x, y, x + 3, y + 12), t.ACCENT)


def _brand(c, right, cy):
    """Small maker mark at the right end of the title band: a lit pair of monitors and the name."""
    fnt = font(11, "bold")
    name = "QUELT"
    x = right - fnt.getlength(name)
    c.text((x, cy), name, fnt, t.TEXT_FAINT, anchor="lm")
    x0 = round(x) - 25
    c.rect((x0, cy - 5, x0 + 9, cy + 2), t.ACCENT)
    c.rect((x0 + 10, cy - 5, x0 + 19, cy + 2), t.ACCENT_LO)
    c.rect((x0 + 8, cy + 3, x0 + 11, cy + 5), "#4a5563")
    c.rect((x0 + 5, cy + 5, x0 + 14, cy + 6), "#4a5563")


def background():
    c = Canvas(PANEL_W, PANEL_H)
    shape = window_mask()
    body = vgradient((PANEL_W, PANEL_H), [(0, t.WINDOW_TOP), (1, t.WINDOW_BOTTOM)])
    body.putalpha(shape)
    c.img.alpha_composite(body)

    # Title band with the window's rounded top corners.
    band = vgradient((PANEL_W, TITLE_H), [(0, t.TITLE_TOP), (1, t.TITLE_BOTTOM)])
    band.putalpha(shape.crop((0, 0, PANEL_W, TITLE_H)))
    c.img.alpha_composite(band)
    c.hline(0, PANEL_W, TITLE_H, "#0c0e12")
    c.hline(1, PANEL_W - 1, TITLE_H + 1, "#262d37")
    c.rect((0, TITLE_H - 1, 160, TITLE_H), t.ACCENT)
    c.rect((160, TITLE_H - 1, 320, TITLE_H), (0, 170, 255, 90))
    c.rect((320, TITLE_H - 1, 480, TITLE_H), (0, 170, 255, 30))

    _brand(c, 1056, 15)

    # Toolbar strip holding the switches and the action buttons.
    _panel(c, [TOOLBAR], 7, fill="#191e25")
    for x in (168, 327, 484):
        c.vline(x, TOOLBAR[1] + 10, TOOLBAR[3] - 10, t.DIVIDER)

    # Device list column with six bays.
    clip = _panel(c, [DEVICES])
    _header(c, DEVICES, clip)
    for bay in DEVICE_SLOTS:
        c.rrect(bay, 7, fill=t.WELL, outline=t.WELL_BORDER)

    # Options and the resolution columns share one panel.
    clip = _panel(c, [OPTIONS, _RESOLUTION_JOIN])
    _header(c, OPTIONS, clip)
    for x in OPTION_DIVIDERS:
        c.vline(x, OPTIONS[1] + 6, OPTIONS[3] - 6, t.DIVIDER)
    # Resolution header band under the option groups.
    c.hline(RESOLUTION[0] + 1, RESOLUTION[2] - 1, RESOLUTION[1], t.DIVIDER)
    c.rect((RESOLUTION[0] + 1, RESOLUTION[1] + 1, RESOLUTION[2] - 1, RESOLUTION[1] + 25),
           t.PANEL_HEADER)
    c.hline(RESOLUTION[0] + 1, RESOLUTION[2] - 1, RESOLUTION[1] + 25, t.DIVIDER)
    c.vline(327, RESOLUTION[1] + 32, RESOLUTION[3] - 10, t.DIVIDER)

    # Sync check box and the shortcut legend.
    clip = _panel(c, [SYNC])
    _header(c, SYNC, clip)

    # Bezel compensation area: preview stage, H slider below, V slider at the right.
    clip = _panel(c, [BEZEL])
    _header(c, BEZEL, clip, h=17)
    c.text((484, BEZEL[1] + 9), "BEZEL COMPENSATION", font(10, "bold"), t.TEXT_DIM,
           anchor="lm")
    c.rrect(STAGE, 6, fill="#15191f", outline="#232a33")
    c.vline(1036, 330, 600, t.DIVIDER)
    return c.img
