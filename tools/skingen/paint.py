"""Small drawing layer over PIL: anti-aliased shapes with crisp straight edges.

Shapes are drawn four times larger on a scratch tile covering just their
bounding box and reduced with a box filter, so edges that lie on whole pixels
stay sharp while curves get smooth coverage. Text is rendered at its final
size so the font hinting keeps small labels readable.
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFont

SS = 4
FONT_DIR = "/usr/share/fonts/truetype/liberation"
_FONT_FILES = {
    "regular": "LiberationSans-Regular.ttf",
    "bold": "LiberationSans-Bold.ttf",
    "italic": "LiberationSans-Italic.ttf",
    "bolditalic": "LiberationSans-BoldItalic.ttf",
    "mono": "LiberationMono-Regular.ttf",
    "monobold": "LiberationMono-Bold.ttf",
}
_font_cache = {}


def font(size, face="regular"):
    key = (face, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(f"{FONT_DIR}/{_FONT_FILES[face]}", size)
    return _font_cache[key]


def rgba(colour, alpha=None):
    """Accepts '#rrggbb', '#rrggbbaa' or a tuple; alpha overrides the alpha."""
    if isinstance(colour, str):
        c = colour.lstrip("#")
        vals = [int(c[i : i + 2], 16) for i in range(0, len(c), 2)]
        if len(vals) == 3:
            vals.append(255)
    else:
        vals = list(colour) + [255] * (4 - len(colour))
    if alpha is not None:
        vals[3] = int(round(alpha))
    return tuple(vals)


def mix(a, b, t):
    a, b = rgba(a), rgba(b)
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(4))


def vgradient(size, stops):
    """Vertical gradient image; stops is a list of (position 0..1, colour)."""
    w, h = size
    col = Image.new("RGBA", (1, h))
    px = col.load()
    stops = [(p, rgba(c)) for p, c in stops]
    for y in range(h):
        t = (y + 0.5) / h if h else 0
        for i in range(len(stops) - 1):
            p0, c0 = stops[i]
            p1, c1 = stops[i + 1]
            if t <= p1 or i == len(stops) - 2:
                u = 0 if p1 == p0 else min(1, max(0, (t - p0) / (p1 - p0)))
                px[0, y] = mix(c0, c1, u)
                break
    return col.resize((w, h), Image.NEAREST)


def hgradient(size, stops):
    w, h = size
    return vgradient((h, w), stops).transpose(Image.TRANSPOSE)


class Canvas:
    """An RGBA image with source-over drawing helpers in 1x pixel units."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.img = Image.new("RGBA", (w, h), rgba(fill))

    @property
    def size(self):
        return self.img.size

    def paste_over(self, tile, x, y):
        x, y = int(x), int(y)
        W, H = self.img.size
        tw, th = tile.size
        sx0, sy0 = max(0, -x), max(0, -y)
        dx0, dy0 = max(0, x), max(0, y)
        tw2 = min(tw - sx0, W - dx0)
        th2 = min(th - sy0, H - dy0)
        if tw2 <= 0 or th2 <= 0:
            return
        if (sx0, sy0, tw2, th2) != (0, 0, tw, th):
            tile = tile.crop((sx0, sy0, sx0 + tw2, sy0 + th2))
        self.img.alpha_composite(tile, (dx0, dy0))

    def _shape(self, bbox, draw_fn):
        """draw_fn(draw, sc) draws at scale SS with sc(x, y) mapping 1x coordinates."""
        x0 = math.floor(bbox[0]) - 1
        y0 = math.floor(bbox[1]) - 1
        x1 = math.ceil(bbox[2]) + 1
        y1 = math.ceil(bbox[3]) + 1
        tile = Image.new("RGBA", ((x1 - x0) * SS, (y1 - y0) * SS), (0, 0, 0, 0))
        d = ImageDraw.Draw(tile)

        def sc(x, y):
            return ((x - x0) * SS, (y - y0) * SS)

        draw_fn(d, sc)
        self.paste_over(tile.reduce(SS), x0, y0)

    @staticmethod
    def _box(sc, box, inset=0.0):
        ax, ay = sc(box[0] + inset, box[1] + inset)
        bx, by = sc(box[2] - inset, box[3] - inset)
        return [ax, ay, bx - 1, by - 1]

    def rrect(self, box, r=0, fill=None, outline=None, width=1):
        """Rounded rectangle; box edges are pixel edges (right/bottom exclusive)."""

        def fn(d, sc):
            b = self._box(sc, box)
            if fill is not None:
                d.rounded_rectangle(b, radius=r * SS, fill=rgba(fill))
            if outline is not None:
                if fill is not None and rgba(fill)[3] != 255:
                    # Keep the translucent fill from doubling under the ring.
                    ring = Image.new("L", d.im.size, 0)
                    rd = ImageDraw.Draw(ring)
                    rd.rounded_rectangle(b, radius=r * SS, fill=255)
                    rd.rounded_rectangle(
                        self._box(sc, box, width), radius=max(0, r - width) * SS, fill=0
                    )
                    d.bitmap((0, 0), ring, fill=rgba(outline))
                else:
                    d.rounded_rectangle(
                        b, radius=r * SS, outline=rgba(outline), width=int(width * SS)
                    )

        self._shape(box, fn)

    def ellipse(self, box, fill=None, outline=None, width=1):
        def fn(d, sc):
            b = self._box(sc, box)
            d.ellipse(b, fill=rgba(fill) if fill else None,
                      outline=rgba(outline) if outline else None,
                      width=int(width * SS))

        self._shape(box, fn)

    def polygon(self, pts, fill):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def fn(d, sc):
            d.polygon([sc(x, y) for x, y in pts], fill=rgba(fill))

        self._shape((min(xs), min(ys), max(xs), max(ys)), fn)

    def line(self, pts, fill, width=1.0):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def fn(d, sc):
            d.line([sc(x, y) for x, y in pts], fill=rgba(fill), width=int(round(width * SS)),
                   joint="curve")

        pad = width
        self._shape((min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad), fn)

    def rect(self, box, fill):
        """Hard-edged rectangle on whole pixels."""
        x0, y0, x1, y1 = [int(v) for v in box]
        if x1 <= x0 or y1 <= y0:
            return
        self.paste_over(Image.new("RGBA", (x1 - x0, y1 - y0), rgba(fill)), x0, y0)

    def hline(self, x0, x1, y, fill):
        self.rect((x0, y, x1, y + 1), fill)

    def vline(self, x, y0, y1, fill):
        self.rect((x, y0, x + 1, y1), fill)

    def fill_masked(self, box, r, paint):
        """Fills a rounded rectangle with an image (e.g. a gradient) of the box size."""
        x0, y0, x1, y1 = [int(v) for v in box]
        w, h = x1 - x0, y1 - y0
        m = Image.new("L", (w * SS, h * SS), 0)
        ImageDraw.Draw(m).rounded_rectangle([0, 0, w * SS - 1, h * SS - 1], radius=r * SS,
                                            fill=255)
        m = m.reduce(SS)
        tile = paint.copy()
        tile.putalpha(ImageChops.multiply(tile.getchannel("A"), m))
        self.paste_over(tile, x0, y0)

    def text(self, xy, s, fnt, fill, anchor="la"):
        """Text at 1x. anchor as in PIL ('mm' centre, 'lm' left-middle, ...)."""
        bbox = fnt.getbbox(s, anchor=anchor)
        pad = 2
        w = bbox[2] - bbox[0] + 2 * pad
        h = bbox[3] - bbox[1] + 2 * pad
        tile = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        ox = round(xy[0]) + bbox[0] - pad
        oy = round(xy[1]) + bbox[1] - pad
        ImageDraw.Draw(tile).text((round(xy[0]) - ox, round(xy[1]) - oy), s, font=fnt,
                                  fill=rgba(fill), anchor=anchor)
        self.paste_over(tile, ox, oy)

    def crop(self, box):
        return self.img.crop(box)


def text_width(s, fnt):
    return fnt.getlength(s)


def strip(slices):
    """Joins equally sized slices left to right."""
    w, h = slices[0].size
    out = Image.new("RGBA", (w * len(slices), h), (0, 0, 0, 0))
    for i, s in enumerate(slices):
        assert s.size == (w, h)
        out.paste(s, (i * w, 0))
    return out


def grey_out(img, amount=0.85, dim=0.55):
    """Disabled look: desaturates and darkens while keeping the alpha."""
    r, g, b, a = img.split()
    lum = Image.merge("RGB", (r, g, b)).convert("L")
    grey = Image.merge("RGB", (lum, lum, lum))
    rgb = Image.blend(Image.merge("RGB", (r, g, b)), grey, amount)
    rgb = rgb.point(lambda v: int(v * dim + 18 * (1 - dim)))
    out = rgb.convert("RGBA")
    out.putalpha(a)
    return out
