"""A small SVG builder for diagrams that print well in black and white:
black strokes, white or grey fills, hatching, Arial labels."""

import math

from .text import esc, n

GREY = "#b8b8b8"
LIGHT = "#e4e4e4"


def _f(x):
    x = round(x, 2)
    return str(int(x)) if x == int(x) else str(x)


_NARROW = set(" .,:;'!|/()[]iIjlftr\u00b0\u00b2\u00b3")
_WIDE = set("MWmw@%")


def text_box(x, y, s, size, anchor="middle"):
    """(left, top, right, bottom) a label drawn at baseline y takes up, a
    little generous on Arial's widths, so families can keep labels apart."""
    w = sum(0.40 if c in _NARROW else 0.95 if c in _WIDE else 0.78 if c.isupper() else 0.62
            for c in s) * size
    left = {"start": x, "middle": x - w / 2, "end": x - w}[anchor]
    return left, y - 0.75 * size, left + w, y + 0.22 * size


def boxes_meet(a, b, gap=2):
    return a[0] < b[2] + gap and b[0] < a[2] + gap and a[1] < b[3] + gap and b[1] < a[3] + gap


class Svg:
    def __init__(self, width, height, font=15):
        self.width, self.height, self.font = width, height, font
        self.items = []
        self.defs = []

    def _style(self, stroke="#000", fill="none", width=1.5, dash=None):
        s = f'stroke="{stroke}" fill="{fill}" stroke-width="{_f(width)}"'
        if dash:
            s += f' stroke-dasharray="{dash}"'
        return s

    def line(self, x1, y1, x2, y2, **kw):
        self.items.append(f'<line x1="{_f(x1)}" y1="{_f(y1)}" x2="{_f(x2)}" '
                          f'y2="{_f(y2)}" {self._style(**kw)}/>')

    def rect(self, x, y, w, h, **kw):
        self.items.append(f'<rect x="{_f(x)}" y="{_f(y)}" width="{_f(w)}" '
                          f'height="{_f(h)}" {self._style(**kw)}/>')

    def polygon(self, points, **kw):
        pts = " ".join(f"{_f(x)},{_f(y)}" for x, y in points)
        self.items.append(f'<polygon points="{pts}" {self._style(**kw)}/>')

    def polyline(self, points, **kw):
        pts = " ".join(f"{_f(x)},{_f(y)}" for x, y in points)
        self.items.append(f'<polyline points="{pts}" {self._style(**kw)}/>')

    def circle(self, cx, cy, r, **kw):
        self.items.append(f'<circle cx="{_f(cx)}" cy="{_f(cy)}" r="{_f(r)}" '
                          f'{self._style(**kw)}/>')

    def path(self, d, **kw):
        self.items.append(f'<path d="{d}" {self._style(**kw)}/>')

    def sector(self, cx, cy, r, a0, a1, **kw):
        """A pie slice between angles a0 and a1 in degrees, clockwise from 12 o'clock."""
        def pt(a):
            t = math.radians(a - 90)
            return cx + r * math.cos(t), cy + r * math.sin(t)
        x0, y0 = pt(a0)
        x1, y1 = pt(a1)
        large = 1 if a1 - a0 > 180 else 0
        self.path(f"M{_f(cx)},{_f(cy)} L{_f(x0)},{_f(y0)} "
                  f"A{_f(r)},{_f(r)} 0 {large} 1 {_f(x1)},{_f(y1)} Z", **kw)

    def text(self, x, y, s, anchor="middle", size=None, bold=False, italic=False, halo=False):
        """halo: a white rim round the letters, so a line drawn across the
        label (the arm over a protractor's scale) leaves it readable."""
        attrs = f'x="{_f(x)}" y="{_f(y)}" text-anchor="{anchor}" font-size="{size or self.font}"'
        if bold:
            attrs += ' font-weight="bold"'
        if italic:
            attrs += ' font-style="italic"'
        if halo:
            attrs += ' stroke="#fff" stroke-width="3" paint-order="stroke"'
        self.items.append(f'<text {attrs}>{esc(s)}</text>')

    def hatch(self):
        """Fill pattern id for shaded regions: diagonal lines, clear in print."""
        if not self.defs:
            self.defs.append(
                '<pattern id="hatch" width="6" height="6" patternUnits="userSpaceOnUse" '
                'patternTransform="rotate(45)"><rect width="6" height="6" fill="#d0d0d0"/>'
                '<line x1="0" y1="0" x2="0" y2="6" stroke="#000" stroke-width="1.6"/></pattern>')
        return "url(#hatch)"

    def arrow(self, x1, y1, x2, y2, head=8, **kw):
        self.line(x1, y1, x2, y2, **kw)
        a = math.atan2(y2 - y1, x2 - x1)
        pts = [(x2, y2),
               (x2 - head * math.cos(a - 0.4), y2 - head * math.sin(a - 0.4)),
               (x2 - head * math.cos(a + 0.4), y2 - head * math.sin(a + 0.4))]
        self.polygon(pts, fill="#000", width=1)

    def render(self):
        defs = f"<defs>{''.join(self.defs)}</defs>" if self.defs else ""
        return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{_f(self.width)}" '
                f'height="{_f(self.height)}" viewBox="0 0 {_f(self.width)} {_f(self.height)}" '
                f'font-family="Arial, Liberation Sans, sans-serif" font-size="{self.font}">'
                f'{defs}' + "".join(self.items) + "</svg>\n")


def number_line(lo, hi, minor, arrow, labels):
    """A number line from lo to hi with a tick every minor step, the values
    in labels written under their ticks and an arrow pointing at arrow."""
    svg = Svg(560, 96, font=16)
    left, right = 30, 530

    def at(v):
        return left + (right - left) * float((v - lo) / (hi - lo))
    svg.line(left - 10, 56, right + 10, 56, width=2)
    steps = int((hi - lo) / minor)
    for i in range(steps + 1):
        v = lo + minor * i
        big = v in labels
        svg.line(at(v), 56 - (11 if big else 6), at(v), 56 + (11 if big else 6), width=2 if big else 1.3)
        if big:
            svg.text(at(v), 88, n(v))
    svg.arrow(at(arrow), 8, at(arrow), 42, width=2.2)
    return svg
