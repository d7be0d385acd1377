"""Topic 4: Area and Perimeter.

Each family draws its values, draws its figure from those same values (to
scale) and computes the key with a solver below; the solvers are tested
against worked examples in tests/test_area_perimeter.py. Circles take pi as
22/7 or 3.14, always stated, and keys are exact under that value.
"""

import math
from fractions import Fraction

from ..contexts import names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, num
from ..svg import GREY, LIGHT, Svg, boxes_meet, text_box
from ..text import DIV, MINUS, TIMES, frac, listing, money, n, p, plural
from ..text import unit as joined

TOPIC = 4
PI_7 = Fraction(22, 7)
PI_314 = Fraction(314, 100)
SQ = {"cm": "cm\u00b2", "m": "m\u00b2"}
RIGHT_ANGLES = "All the angles in the figure are right angles."


# ---------------------------------------------------------------- solvers

def polygon_area(points):
    """Area of a simple polygon from its corners (shoelace)."""
    twice = 0
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        twice += Fraction(x1) * y2 - Fraction(x2) * y1
    return abs(twice) / 2


def polygon_perimeter(points):
    """Perimeter of a polygon whose sides are all horizontal or vertical."""
    total = 0
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if x1 != x2 and y1 != y2:
            raise ValueError("a slanting side")
        total += abs(x2 - x1) + abs(y2 - y1)
    return total


def l_shape(w, h, a, b):
    """A w by h rectangle with an a by b corner cut from its top right
    (y grows downwards, as on the page)."""
    if not (0 < a < w and 0 < b < h):
        raise ValueError("the notch must be inside the rectangle")
    return [(0, 0), (w - a, 0), (w - a, b), (w, b), (w, h), (0, h)]


def t_shape(w, h1, s, h2, x):
    """A bar w wide and h1 high with a stem s wide and h2 long below it,
    starting x from the bar's left end."""
    if not (0 < x and x + s < w):
        raise ValueError("the stem must be under the bar")
    return [(0, 0), (w, 0), (w, h1), (x + s, h1), (x + s, h1 + h2), (x, h1 + h2),
            (x, h1), (0, h1)]


def u_shape(w, h, a, b, x):
    """A w by h rectangle with an a wide, b deep gap cut down from its top,
    starting x from the left."""
    if not (0 < x and x + a < w and 0 < b < h):
        raise ValueError("the gap must be inside the rectangle")
    return [(0, 0), (x, 0), (x, b), (x + a, b), (x + a, 0), (w, 0), (w, h), (0, h)]


def step_shape(widths, heights):
    """Columns standing on one line, left to right, each lower than the last."""
    if any(h2 >= h1 for h1, h2 in zip(heights, heights[1:])):
        raise ValueError("steps must go down")
    top = heights[0]
    pts = [(0, 0)]
    x = 0
    for i, (w, h) in enumerate(zip(widths, heights)):
        x += w
        pts.append((x, top - h))
        if i + 1 < len(widths):
            pts.append((x, top - heights[i + 1]))
    pts += [(x, top), (0, top)]
    return pts


def triangle_area(base, height):
    return Fraction(base) * height / 2


def path_around(length, breadth, width):
    """Area of a path of the given width all round the outside of a rectangle."""
    return (length + 2 * width) * (breadth + 2 * width) - length * breadth


def path_inside(length, breadth, width):
    """Area of a border of the given width along the inside edge of a rectangle."""
    if 2 * width >= min(length, breadth):
        raise ValueError("the border is too wide")
    return length * breadth - (length - 2 * width) * (breadth - 2 * width)


def crossing_paths(length, breadth, width):
    """Area of two paths of the given width crossing a rectangle, one along
    its length and one across it; the square where they cross counts once."""
    return width * length + width * breadth - width * width


def circumference(pi, diameter):
    return Fraction(pi) * diameter


def circle_area(pi, radius):
    return Fraction(pi) * radius * radius


def semicircle_perimeter(pi, diameter):
    """The curved half of the circle and its diameter."""
    return circumference(pi, diameter) / 2 + diameter


def quarter_perimeter(pi, radius):
    """The quarter arc and the two radii."""
    return circumference(pi, 2 * radius) / 4 + 2 * radius


def arch_window(pi, width, height):
    """A rectangle width by height with a semicircle on its top side:
    (perimeter, area)."""
    perimeter = 2 * height + width + circumference(pi, width) / 2
    area = Fraction(width) * height + circle_area(pi, Fraction(width, 2)) / 2
    return perimeter, area


def running_track(pi, straight, diameter):
    """Two straights joined by semicircular ends: (perimeter, area)."""
    perimeter = 2 * straight + circumference(pi, diameter)
    area = Fraction(straight) * diameter + circle_area(pi, Fraction(diameter, 2))
    return perimeter, area


def tiles_needed(floor_l, floor_b, tile):
    """Square tiles that cover a floor exactly (all lengths in one unit)."""
    if floor_l % tile or floor_b % tile:
        raise ValueError("tiles do not fit exactly")
    return (floor_l // tile) * (floor_b // tile)


def grid_area_perimeter(cells):
    """Area (in squares) and perimeter (in square sides) of a figure made of
    whole grid squares, given as (column, row) pairs."""
    cells = set(cells)
    edges = sum(1 for (c, r) in cells for d in ((1, 0), (-1, 0), (0, 1), (0, -1))
                if (c + d[0], r + d[1]) not in cells)
    return len(cells), edges


# ---------------------------------------------------------------- drawing

def _inside(pt, poly):
    x, y = pt
    inside = False
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def _label_edge(svg, a, b, text, poly, gap=7, avoid=None, blocks=()):
    """Writes text beside the side a-b, outside the polygon poly (pixels).
    With avoid (a list of label boxes, added to), a label that would cover
    another slides along its side, then moves to the inside of the side;
    it never stands across a side of poly or a line of blocks (segments)."""
    (x1, y1), (x2, y2) = a, b
    length = ((x2 - x1) ** 2 + (y2 - y1) ** 2) ** 0.5
    nx, ny = -(y2 - y1) / length, (x2 - x1) / length
    mx, my = (x1 + x2) / 2, (y1 + y2) / 2
    if _inside((mx + 3 * nx, my + 3 * ny), poly):
        nx, ny = -nx, -ny
    size = svg.font

    def spot(t, out):
        px, py = x1 + (x2 - x1) * t, y1 + (y2 - y1) * t
        sx, sy = (nx, ny) if out else (-nx, -ny)
        if abs(sy) > 0.9:            # a level side: above or below it
            return px, py + (gap + size * 0.75 if sy > 0 else -gap), "middle"
        if abs(sx) > 0.9:            # an upright side: left or right of it
            return px + (gap if sx > 0 else -gap), py + size * 0.35, "start" if sx > 0 else "end"
        return px + sx * gap * 1.6, py + sy * gap * 1.6 + size * 0.35, "start" if sx > 0 else "end"

    x, y, anchor = spot(0.5, True)
    if avoid is not None:
        # Beside the middle of its side, outside or in, reads best; slid
        # along the side next.
        for t, out in [(0.5, True), (0.5, False)] + [(t, out) for out in (True, False)
                                                      for t in (0.4, 0.6, 0.3, 0.7)]:
            sx, sy, sa = spot(t, out)
            box = text_box(sx, sy, text, size, sa)
            # Slid along a level side, a label must still stand over that side.
            if t != 0.5 and abs(ny) > 0.9 and (box[0] < min(x1, x2) or box[2] > max(x1, x2)):
                continue
            glyphs = (box[0], sy - 0.75 * size, box[2], sy + 1)
            if any(_crosses(e, glyphs) for e in list(zip(poly, poly[1:] + poly[:1])) + list(blocks)):
                continue
            if not any(boxes_meet(box, o, gap=6) for o in avoid):
                x, y, anchor = sx, sy, sa
                break
        avoid.append(text_box(x, y, text, size, anchor))
    svg.text(x, y, text, anchor=anchor)


def _crosses(seg, box):
    """Whether segment ((x1, y1), (x2, y2)) passes through box (l, t, r, b)."""
    (x1, y1), (x2, y2) = seg
    l, t, r, b = box
    dx, dy = x2 - x1, y2 - y1
    u0, u1 = 0.0, 1.0
    for p_, q_ in ((-dx, x1 - l), (dx, r - x1), (-dy, y1 - t), (dy, b - y1)):
        if p_ == 0:
            if q_ < 0:
                return False
        elif p_ < 0:
            u0 = max(u0, q_ / p_)
        else:
            u1 = min(u1, q_ / p_)
    return u0 < u1


class _Frame:
    """Maps figure units to pixels with one scale, so a figure is drawn to
    scale inside a box of about box_w by box_h pixels."""

    def __init__(self, points, box_w=320, box_h=200, pad_x=58, pad_y=30, scale=None):
        xs = [x for x, _ in points]
        ys = [y for _, y in points]
        self.x0, self.y0 = min(xs), min(ys)
        w, h = max(xs) - self.x0, max(ys) - self.y0
        self.s = scale or min(box_w / w, box_h / h)
        self.pad_x, self.pad_y = pad_x, pad_y
        self.width = w * self.s + 2 * pad_x
        self.height = h * self.s + 2 * pad_y

    def __call__(self, pt):
        x, y = pt
        return (self.pad_x + (float(x) - self.x0) * self.s,
                self.pad_y + (float(y) - self.y0) * self.s)


def polygon_svg(points, labels, fill="#fff", box=(320, 200), notes=(), scale=None,
                dashed=(), names=()):
    """A polygon (units, y down) with some sides labelled: labels maps a
    side's index (side i joins corner i to corner i + 1) to its text.
    dashed: segments (units) drawn dashed, the split of a worked solution;
    names: (x, y, letter) written bold at those points, the parts' names."""
    frame = _Frame(points, *box, scale=scale)
    svg = Svg(frame.width, frame.height)
    px = [frame(pt) for pt in points]
    svg.polygon(px, fill=fill, width=2.2)
    cuts = [(frame(a), frame(b)) for a, b in dashed]
    for a, b in cuts:
        svg.line(*a, *b, dash="6,4", width=1.5)
    placed = []
    for x, y, text in names:
        qx, qy = frame((x, y))
        svg.text(qx, qy + 6, text, bold=True, size=17)
        placed.append(text_box(qx, qy + 6, text, 17))
    # Short sides first: they have the fewest places for a label.
    for i in sorted(labels, key=lambda i: math.dist(px[i], px[(i + 1) % len(px)])):
        _label_edge(svg, px[i], px[(i + 1) % len(px)], labels[i], px, avoid=placed, blocks=cuts)
    for x, y, text in notes:
        qx, qy = frame((x, y))
        svg.text(qx, qy + 5, text)
    return svg.render()


def _square_ticks(svg, a, b):
    """A short stroke across the middle of side a-b: sides with it are equal."""
    (x1, y1), (x2, y2) = a, b
    mx, my = (x1 + x2) / 2, (y1 + y2) / 2
    if y1 == y2:
        svg.line(mx, my - 6, mx, my + 6, width=1.5)
    else:
        svg.line(mx - 6, my, mx + 6, my, width=1.5)


def rectangle_svg(length, breadth, unit, square=False, inside=None, hide=None,
                  fill="#fff", scale=None):
    """A rectangle length wide and breadth high, both sides labelled unless
    hide names one ("length" or "breadth", shown as ?); inside is a note in
    the middle."""
    pts = [(0, 0), (length, 0), (length, breadth), (0, breadth)]
    frame = _Frame(pts, 300, 170, scale=scale)
    svg = Svg(frame.width, frame.height)
    px = [frame(pt) for pt in pts]
    svg.polygon(px, fill=fill, width=2.2)
    top = "?" if hide == "length" else f"{n(length)} {unit}"
    side = "?" if hide == "breadth" else f"{n(breadth)} {unit}"
    # A square's label stands a little further off, clear of the tick on that side.
    _label_edge(svg, px[2], px[3], top, px, gap=11 if square else 7)
    if not square:
        _label_edge(svg, px[1], px[2], side, px)
    else:
        for i in range(4):
            _square_ticks(svg, px[i], px[(i + 1) % 4])
    if inside:
        cx, cy = (px[0][0] + px[2][0]) / 2, (px[0][1] + px[2][1]) / 2
        svg.text(cx, cy + 5, inside)
    return svg.render()


def triangle_svg(base, height, apex_x, unit, fill="#fff", show=("base", "height"), scale=None):
    """A triangle on a level base with its height dashed from the top corner
    to the base (extended when the foot falls outside it, as for an obtuse
    triangle). show lists the labels; a name in it mapped through a dict
    gives its own text."""
    pts = [(0, height), (base, height), (apex_x, 0)]
    frame = _Frame(pts + [(min(0, apex_x), height), (max(base, apex_x), height)], 300, 170,
                   pad_x=80, scale=scale)
    svg = Svg(frame.width, frame.height)
    a, b, c = (frame(pt) for pt in pts)
    foot = frame((apex_x, height))
    svg.polygon([a, b, c], fill=fill, width=2.2)
    if apex_x < 0 or apex_x > base:
        near = a if apex_x < 0 else b
        svg.line(near[0], near[1], foot[0], foot[1], dash="5,4", width=1.4)
    if 0 < apex_x < base or apex_x < 0 or apex_x > base:
        svg.line(c[0], c[1], foot[0], foot[1], dash="5,4", width=1.4)
    # Right-angle mark, on the side of the foot toward the base.
    d = 9 if apex_x < base else -9
    svg.polyline([(foot[0] + d, foot[1]), (foot[0] + d, foot[1] - 9), (foot[0], foot[1] - 9)],
                 width=1.3)
    texts = show if isinstance(show, dict) else {
        k: f"{n(base if k == 'base' else height)} {unit}" for k in show}
    if "base" in texts:
        svg.text((a[0] + b[0]) / 2, a[1] + 20, texts["base"])
    if "height" in texts:
        # A dimension line beside the triangle, level with its top corner and
        # its base, so the label never meets a side however small it is.
        xr = max(a[0], b[0], c[0], foot[0]) + 16
        svg.line(c[0] + 4, c[1], xr + 4, c[1], dash="2,3", width=1)
        svg.line(xr, c[1], xr, foot[1], width=1.2)
        svg.line(xr - 5, c[1], xr + 5, c[1], width=1.2)
        svg.line(xr - 5, foot[1], xr + 5, foot[1], width=1.2)
        svg.text(xr + 7, (c[1] + foot[1]) / 2 + 5, texts["height"], anchor="start")
    return svg.render()


def circle_svg(radius, unit, show="radius", label=None):
    """A circle with its centre marked and its radius or diameter drawn."""
    r = 80
    svg = Svg(2 * r + 120, 2 * r + 40)
    cx, cy = svg.width / 2, svg.height / 2
    svg.circle(cx, cy, r, width=2.2)
    svg.circle(cx, cy, 2.5, fill="#000", width=1)
    text = label or f"{n(radius if show == 'radius' else 2 * radius)} {unit}"
    if show == "radius":
        svg.line(cx, cy, cx + r, cy, width=1.6)
        svg.text(cx + r / 2, cy - 7, text)
    else:
        svg.line(cx - r, cy, cx + r, cy, width=1.6)
        svg.text(cx, cy - 7, text)
    return svg.render()


def semicircle_svg(diameter, unit, kind="semicircle", height=None, fill="#fff",
                   straight=None, split=False):
    """The curved figures: a semicircle on its diameter, a quarter circle,
    an arch (rectangle with a semicircle on top) or a running track. split
    (arch and track): the parts named A, B (, C) and a radius drawn and
    labelled outside the curve, as a worked solution shows them."""
    f = lambda v: f"{v:.2f}"
    if kind == "semicircle":
        s = 260 / diameter
        w, r = diameter * s, diameter * s / 2
        svg = Svg(w + 80, r + 60)
        x0, y0 = 40, r + 20
        svg.path(f"M{f(x0)},{f(y0)} A{f(r)},{f(r)} 0 0 1 {f(x0 + w)},{f(y0)} Z", fill=fill, width=2.2)
        svg.text(x0 + r, y0 + 20, f"{n(diameter)} {unit}")
    elif kind == "quarter":
        radius = diameter
        r = 170
        svg = Svg(r + 110, r + 60)
        x0, y0 = 60, r + 20
        svg.path(f"M{f(x0)},{f(y0)} L{f(x0 + r)},{f(y0)} A{f(r)},{f(r)} 0 0 0 {f(x0)},{f(y0 - r)} Z",
                 fill=fill, width=2.2)
        svg.polyline([(x0 + 10, y0), (x0 + 10, y0 - 10), (x0, y0 - 10)], width=1.3)
        svg.text(x0 + r / 2, y0 + 20, f"{n(radius)} {unit}")
        svg.text(x0 - 7, y0 - r / 2 + 5, f"{n(radius)} {unit}", anchor="end")
    elif kind == "arch":
        s = min(200 / diameter, 170 / (height + diameter / 2))
        w, h, r = diameter * s, height * s, diameter * s / 2
        svg = Svg(w + 130, h + r + 50)
        x0, y0 = 65, r + 15
        svg.path(f"M{f(x0)},{f(y0)} A{f(r)},{f(r)} 0 0 1 {f(x0 + w)},{f(y0)} "
                 f"L{f(x0 + w)},{f(y0 + h)} L{f(x0)},{f(y0 + h)} Z", fill=fill, width=2.2)
        svg.line(x0, y0, x0 + w, y0, dash="5,4", width=1.2)
        svg.text(x0 + r, y0 + h + 20, f"{n(diameter)} {unit}")
        svg.text(x0 + w + 7, y0 + h / 2 + 5, f"{n(height)} {unit}", anchor="start")
        if split:
            _radius_out(svg, x0 + r, y0, r, diameter, unit)
            svg.text(x0 + r, y0 + h / 2 + 6, "A", bold=True, size=17)
            svg.text(x0 + 1.35 * r, y0 - 0.25 * r + 6, "B", bold=True, size=17)
    else:  # track
        s = 340 / (straight + diameter)
        w, r = straight * s, diameter * s / 2
        svg = Svg(w + 2 * r + 90, 2 * r + 60)
        x0, y0 = 45 + r, 30
        svg.path(f"M{f(x0)},{f(y0)} L{f(x0 + w)},{f(y0)} A{f(r)},{f(r)} 0 0 1 {f(x0 + w)},{f(y0 + 2 * r)} "
                 f"L{f(x0)},{f(y0 + 2 * r)} A{f(r)},{f(r)} 0 0 1 {f(x0)},{f(y0)} Z", fill=fill, width=2.2)
        svg.line(x0, y0, x0, y0 + 2 * r, dash="5,4", width=1.2)
        svg.line(x0 + w, y0, x0 + w, y0 + 2 * r, dash="5,4", width=1.2)
        svg.text(x0 + w / 2, y0 - 8, f"{n(straight)} {unit}")
        svg.text(x0 + w + 7, y0 + r + 5, f"{n(diameter)} {unit}", anchor="start")
        if split:
            _radius_out(svg, x0, y0 + r, r, diameter, unit)
            svg.text(x0 + w / 2, y0 + r + 6, "A", bold=True, size=17)
            svg.text(x0 - 0.45 * r, y0 + 1.45 * r + 6, "B", bold=True, size=17)
            svg.text(x0 + w + 0.4 * r, y0 + 0.45 * r + 6, "C", bold=True, size=17)
    return svg.render()


def _radius_out(svg, cx, cy, r, diameter, unit):
    """A radius from the centre (cx, cy) up and to the left, its length
    written just outside the curve where it ends."""
    ex, ey = cx - 0.7071 * r, cy - 0.7071 * r
    svg.line(cx, cy, ex, ey, width=1.6)
    svg.circle(cx, cy, 2.5, fill="#000", width=1)
    svg.text(ex - 5, ey - 4, f"{n(Fraction(diameter, 2))} {unit}", anchor="end")


def _figure(svg, alt):
    return Figure(svg, alt)


def _pi_text(pi):
    return f"Take \u03c0 = {frac(22, 7)}." if pi == PI_7 else "Take \u03c0 = 3.14."


# ---------------------------------------------------------------- working
# How worked solutions write their sums; Volume writes its own the same way.

def qty(x, u):
    """A quantity as a page prints it, never split from its unit: 45 cm\u00b2."""
    return joined(n(x), u)


def mul(*factors):
    """A product written out: 12 \u00d7 8."""
    return f" {TIMES} ".join(f if isinstance(f, str) else n(f) for f in factors)


def add(*terms):
    return " + ".join(t if isinstance(t, str) else n(t) for t in terms)


def sub(a, *bs):
    return f" {MINUS} ".join(t if isinstance(t, str) else n(t) for t in (a,) + bs)


def _pi_value(pi):
    return frac(22, 7) if pi == PI_7 else "3.14"


HALF = frac(1, 2)
QUARTER = frac(1, 4)


def one_slip_each(rng, pools, right):
    """For a choice: from each (slip, candidates) pool, one candidate that
    is not a right answer (right(candidate) false) nor picked already, as
    (candidate, slip)."""
    picked = []
    for slip, pool in pools:
        pool = [c for c in pool if not right(c) and c not in [q for q, _ in picked]]
        if not pool:
            raise ValueError("too few slips")
        picked.append((rng.choice(pool), slip))
    return picked


def worklines(lines):
    """Working that takes several lines, one per option or figure."""
    return "<br/>".join(lines)


# ---------------------------------------------------------------- families

@family("area.rectangle", TOPIC, ["N", "Q"], levels=(1, 2))
def rectangle(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    if slots[0].kind == "Q":
        return _rectangle_choice(rng, level, unit)
    if level == 1:
        case = rng.choice(["area", "perimeter", "square-area", "square-perimeter"])
        if case.startswith("square"):
            side = rng.randint(4, 13)
            fig = _figure(rectangle_svg(side, side, unit, square=True),
                          f"A square with one side labelled {side} {unit}; its four sides are marked equal")
            what = case.split("-")[1]
            if what == "area":
                key = side * side
                step = Step(f"The area of a square is side {TIMES} side.",
                            f"{mul(side, side)} = {qty(key, SQ[unit])}")
            else:
                key = 4 * side
                step = Step(f"A square has four equal sides, so its perimeter is 4 {TIMES} side.",
                            f"{mul(4, side)} = {qty(key, unit)}")
            return Question(p(f"Find the {what} of the square."),
                            [Part(key=num(key), unit=SQ[unit] if what == "area" else unit)], [fig],
                            Solution([step], [key]))
        breadth = rng.randint(3, 12)
        length = breadth + rng.randint(2, 8)
        fig = _figure(rectangle_svg(length, breadth, unit),
                      f"A rectangle {length} {unit} long and {breadth} {unit} wide")
        if case == "area":
            key = length * breadth
            step = Step(f"The area of a rectangle is length {TIMES} breadth.",
                        f"{mul(length, breadth)} = {qty(key, SQ[unit])}")
        else:
            key = 2 * (length + breadth)
            step = Step("The perimeter is the distance all the way round the rectangle: add its four sides.",
                        f"{add(length, breadth, length, breadth)} = {qty(key, unit)}")
        return Question(p(f"Find the {case} of the rectangle."),
                        [Part(key=num(key), unit=SQ[unit] if case == "area" else unit)], [fig],
                        Solution([step], [key]))
    case = rng.choice(["square-from-perimeter", "shorter-breadth", "mixed-units"])
    if case == "square-from-perimeter":
        side = rng.randint(5, 15)
        steps = [Step("A square has four equal sides. Divide the perimeter by 4 to find one side.",
                      f"{4 * side} {DIV} 4 = {qty(side, unit)}"),
                 Step(f"The area of a square is side {TIMES} side.",
                      f"{mul(side, side)} = {qty(side * side, SQ[unit])}")]
        return Question(p(f"A square has a perimeter of {qty(4 * side, unit)}.", "Find its area."),
                        [Part(key=num(side * side), unit=SQ[unit])], solution=Solution(steps, [side * side]))
    if case == "shorter-breadth":
        length = rng.randint(10, 20)
        less = rng.randint(2, length - 4)
        breadth = length - less
        what = rng.choice(["area", "perimeter"])
        steps = [Step(f"The breadth is {qty(less, unit)} shorter than the length. Take {qty(less, unit)} "
                      "from the length.", f"{sub(length, less)} = {qty(breadth, unit)}")]
        if what == "area":
            key = length * breadth
            steps.append(Step(f"The area is length {TIMES} breadth.",
                              f"{mul(length, breadth)} = {qty(key, SQ[unit])}"))
        else:
            key = 2 * (length + breadth)
            steps.append(Step(f"The perimeter is 2 {TIMES} (length + breadth).",
                              f"2 {TIMES} ({add(length, breadth)}) = {mul(2, length + breadth)} = "
                              f"{qty(key, unit)}"))
        return Question(p(f"A rectangle is {qty(length, unit)} long.",
                          f"Its breadth is {qty(less, unit)} shorter than its length.",
                          f"Find the {what} of the rectangle."),
                        [Part(key=num(key), unit=SQ[unit] if what == "area" else unit)],
                        solution=Solution(steps, [key]))
    metres = rng.randint(2, 5)
    cm = rng.choice([20, 25, 30, 40, 50, 60, 75, 80])
    key = metres * 100 * cm
    steps = [Step("Write the length in centimetres too: 1\u00a0m = 100\u00a0cm.",
                  f"{qty(metres, 'm')} = {mul(metres, 100)} = {qty(metres * 100, 'cm')}"),
             Step(f"The area is length {TIMES} breadth, both in centimetres.",
                  f"{mul(metres * 100, cm)} = {qty(key, SQ['cm'])}")]
    return Question(p(f"A rectangular table top is {qty(metres, 'm')} long and {qty(cm, 'cm')} wide.",
                      "Find its area in square centimetres."),
                    [Part(key=num(key), unit=SQ["cm"])], solution=Solution(steps, [key]))


def rectangle_options(rng, value, by):
    """A length-by-breadth pair with the given perimeter (by = "perimeter")
    or area, and three wrong pairs, each the one a usual slip picks: the
    other measure worked out (the area for the perimeter, and back), the
    wrong rule (length + breadth taken as the whole perimeter; length x
    breadth halved, as for a triangle), and a half-done sum (three sides
    only; length + breadth for the area). Returns (right, [(pair, slip)])
    with the slip's name."""
    def ok(pr):
        return 2 * (pr[0] + pr[1]) == value if by == "perimeter" else pr[0] * pr[1] == value

    def pairs_with_sum(total):
        return [(l, total - l) for l in range(total - 2, (total - 1) // 2, -1)
                if total - l >= 2 and l != total - l]

    def pairs_with_product(product):
        return [(l, product // l) for l in range(2, product) if product % l == 0 and l > product // l]

    if by == "perimeter":
        right = rng.choice(pairs_with_sum(value // 2))
        pools = [("area", pairs_with_product(value)), ("once", pairs_with_sum(value)),
                 ("three", [(l, b) for l in range(3, value) for b in range(2, l)
                            if value in (2 * l + b, l + 2 * b)])]
    else:
        right = rng.choice(pairs_with_product(value))
        pools = [("perimeter", pairs_with_sum(value // 2)), ("halved", pairs_with_product(2 * value)),
                 ("added", pairs_with_sum(value))]
    return right, one_slip_each(rng, pools, ok)


def rectangle_slip(slip, pair, value):
    """What a pupil who makes that slip works out for the pair, arriving at value."""
    l, b = pair
    return {
        "area": f"works out length {TIMES} breadth, the area: {mul(l, b)} = {value}",
        "once": f"adds the length and the breadth only once: {add(l, b)} = {value}",
        "three": f"adds only three of the four sides: {add(l, b, l if 2 * l + b == value else b)} = {value}",
        "perimeter": f"works out the perimeter instead: 2 {TIMES} ({add(l, b)}) = {value}",
        "halved": f"halves length {TIMES} breadth, as for a triangle: {mul(l, b)} {DIV} 2 = {value}",
        "added": f"adds the length and the breadth instead of multiplying them: {add(l, b)} = {value}",
    }[slip]


def _rectangle_choice(rng, level, unit):
    by = rng.choice(["perimeter", "area"])
    value = rng.choice([20, 24, 28, 30, 32, 36, 40]) if by == "perimeter" else rng.choice(
        [24, 30, 36, 40, 42, 48, 56, 60, 72])
    right, wrong = rectangle_options(rng, value, by)
    show = lambda pr: f"{qty(pr[0], unit)} by {qty(pr[1], unit)}"
    u = unit if by == "perimeter" else SQ[unit]
    part = choice(rng, show(right), [(show(pr), rectangle_slip(slip, pr, value)) for pr, slip in wrong],
                  prompt=f"A rectangle has {'a perimeter' if by == 'perimeter' else 'an area'} of "
                         f"{qty(value, u)}. Which of these could be its length and breadth?")
    pairs = {show(pr): pr for pr in [right] + [pr for pr, _ in wrong]}
    if by == "perimeter":
        rule = f"The perimeter of a rectangle is 2 {TIMES} (length + breadth)."
        work = [f"({i}) 2 {TIMES} ({add(*pairs[o])}) = {qty(2 * sum(pairs[o]), u)}"
                for i, o in enumerate(part.options, 1)]
    else:
        rule = f"The area of a rectangle is length {TIMES} breadth."
        work = [f"({i}) {mul(*pairs[o])} = {qty(pairs[o][0] * pairs[o][1], u)}"
                for i, o in enumerate(part.options, 1)]
    k = part.options.index(show(right)) + 1
    solution = Solution([Step(f"{rule} Work it out for each option.", worklines(work))], [show(right)],
                        why=f"Only option ({k}) gives {'a perimeter' if by == 'perimeter' else 'an area'} "
                            f"of {qty(value, u)}.")
    return Question("", [part], solution=solution)


@family("area.missing-side", TOPIC, ["N", ("N", "N")], levels=(1, 2, 3))
def missing_side(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    if len(slots) == 2:
        breadth = rng.randint(4, 12)
        length = breadth + rng.randint(3, 10)
        person = names(rng, 1)[0]
        what = rng.choice(["garden", "poster", "mat"])
        unit = "m" if what == "garden" else "cm"
        perimeter, half = 2 * (length + breadth), length + breadth
        text = p(f"{person}\u2019s rectangular {what} has a perimeter of {qty(perimeter, unit)}.",
                 f"Its length is {qty(length, unit)}.")
        steps = [Step("Half the perimeter is one length and one breadth.",
                      f"{perimeter} {DIV} 2 = {qty(half, unit)}"),
                 Step("Take the length away to leave the breadth.", f"{sub(half, length)} = {qty(breadth, unit)}"),
                 Step(f"The area is length {TIMES} breadth.",
                      f"{mul(length, breadth)} = {qty(length * breadth, SQ[unit])}", part=2)]
        return Question(text, [Part(key=num(breadth), prompt=f"What is the breadth of the {what}?", unit=unit),
                               Part(key=num(length * breadth), prompt=f"What is the area of the {what}?",
                                    unit=SQ[unit])], solution=Solution(steps, [breadth, length * breadth]))
    if level == 1:
        breadth = rng.randint(3, 12)
        length = breadth + rng.randint(2, 9)
        if rng.random() < 0.5:
            area = length * breadth
            fig = _figure(rectangle_svg(length, breadth, unit, hide="breadth",
                                        inside=f"Area = {area} {SQ[unit]}"),
                          f"A rectangle {length} {unit} long with its breadth marked ?, and "
                          f"Area = {area} {SQ[unit]} written inside it")
            step = Step(f"The area is length {TIMES} breadth, so the breadth is the area divided by the length.",
                        f"{area} {DIV} {length} = {qty(breadth, unit)}")
            return Question(p("The area of the rectangle is shown. Find its breadth."),
                            [Part(key=num(breadth), unit=unit)], [fig], Solution([step], [breadth]))
        side = rng.randint(4, 15)
        step = Step("A square has four equal sides, so one side is the perimeter divided by 4.",
                    f"{4 * side} {DIV} 4 = {qty(side, unit)}")
        return Question(p(f"A square has a perimeter of {qty(4 * side, unit)}.", "Find the length of one side."),
                        [Part(key=num(side), unit=unit)], solution=Solution([step], [side]))
    if level == 2:
        if rng.random() < 0.5:
            breadth = rng.randint(4, 14)
            length = breadth + rng.randint(2, 12)
            perimeter, half = 2 * (length + breadth), length + breadth
            fig = _figure(rectangle_svg(length, breadth, unit, hide="breadth",
                                        inside=f"Perimeter = {perimeter} {unit}"),
                          f"A rectangle {length} {unit} long with its breadth marked ?, and "
                          f"Perimeter = {perimeter} {unit} written inside it")
            steps = [Step("Half the perimeter is one length and one breadth.",
                          f"{perimeter} {DIV} 2 = {qty(half, unit)}"),
                     Step("Take the length away to leave the breadth.",
                          f"{sub(half, length)} = {qty(breadth, unit)}")]
            return Question(p("The perimeter of the rectangle is shown. Find its breadth."),
                            [Part(key=num(breadth), unit=unit)], [fig], Solution(steps, [breadth]))
        side = rng.randint(4, 12)
        steps = [Step(f"Find the side: which number times itself gives {side * side}?",
                      f"{mul(side, side)} = {side * side}, so each side is {qty(side, unit)}"),
                 Step(f"A square has four equal sides, so its perimeter is 4 {TIMES} side.",
                      f"{mul(4, side)} = {qty(4 * side, unit)}")]
        return Question(p(f"A square has an area of {qty(side * side, SQ[unit])}.", "Find its perimeter."),
                        [Part(key=num(4 * side), unit=unit)], solution=Solution(steps, [4 * side]))
    case = rng.choice(["wire", "same-area", "same-perimeter"])
    if case == "wire":
        times = rng.randint(2, 4)
        breadth = rng.randint(3, 9)
        length = times * breadth
        wire = 2 * breadth * (times + 1)
        half = wire // 2
        times_word = {2: "twice", 3: "three times", 4: "four times"}[times]
        model = _figure(bar_model_svg([("length", times), ("breadth", 1)], f"{half} cm"),
                        f"A bar model: the length is a bar of {times} equal units, the breadth a bar of 1 "
                        f"unit; together they make {half} cm")
        steps = [Step("The wire makes the perimeter of the rectangle. Half of it is one length and one "
                      "breadth.", f"{wire} {DIV} 2 = {qty(half, 'cm')}"),
                 Step(f"The length is {times} units and the breadth is 1 unit, so one length and one breadth "
                      f"are {times + 1} units. Find 1 unit.",
                      f"{half} {DIV} {times + 1} = {qty(breadth, 'cm')}", figure=model),
                 Step(f"The breadth is 1 unit, {qty(breadth, 'cm')}. The length is {times} units.",
                      f"{mul(times, breadth)} = {qty(length, 'cm')}"),
                 Step(f"The area is length {TIMES} breadth.",
                      f"{mul(length, breadth)} = {qty(length * breadth, SQ['cm'])}")]
        return Question(p(f"A piece of wire {qty(wire, 'cm')} long is bent to form a rectangle.",
                          f"The length of the rectangle is {times_word} its breadth.",
                          "Find the area of the rectangle."),
                        [Part(key=num(length * breadth), unit=SQ["cm"])],
                        solution=Solution(steps, [length * breadth]))
    if case == "same-area":
        side = rng.choice([6, 8, 10, 12, 9])
        length = rng.choice([l for l in range(side + 1, side * side) if side * side % l == 0 and side * side // l > 1])
        area = side * side
        breadth = area // length
        key = 2 * (length + breadth)
        steps = [Step("Find the area of the square.", f"{mul(side, side)} = {qty(area, SQ[unit])}"),
                 Step("The rectangle has the same area, so its breadth is the area divided by its length.",
                      f"{area} {DIV} {length} = {qty(breadth, unit)}"),
                 Step(f"The perimeter of the rectangle is 2 {TIMES} (length + breadth).",
                      f"2 {TIMES} ({add(length, breadth)}) = {mul(2, length + breadth)} = {qty(key, unit)}")]
        return Question(p(f"A rectangle has the same area as a square of side {qty(side, unit)}.",
                          f"The length of the rectangle is {qty(length, unit)}.",
                          "Find the perimeter of the rectangle."),
                        [Part(key=num(key), unit=unit)], solution=Solution(steps, [key]))
    side = rng.randint(6, 14)
    breadth = rng.randint(2, side - 1)
    length = 2 * side - breadth
    key = length * breadth
    steps = [Step("Find the perimeter of the square.", f"{mul(4, side)} = {qty(4 * side, unit)}"),
             Step("The rectangle has the same perimeter. Half of it is one length and one breadth.",
                  f"{4 * side} {DIV} 2 = {qty(2 * side, unit)}"),
             Step("Take the breadth away to find the length.", f"{sub(2 * side, breadth)} = {qty(length, unit)}"),
             Step(f"The area is length {TIMES} breadth.", f"{mul(length, breadth)} = {qty(key, SQ[unit])}")]
    return Question(p(f"A rectangle has the same perimeter as a square of side {qty(side, unit)}.",
                      f"The breadth of the rectangle is {qty(breadth, unit)}.",
                      "Find the area of the rectangle."),
                    [Part(key=num(key), unit=SQ[unit])], solution=Solution(steps, [key]))


def bar_model_svg(rows, total):
    """Bars of equal units, one under the other, each named on its left, with
    a bracket on the right giving what they make together."""
    unit_w, left, top, high, gap = 56, 84, 12, 30, 12
    most = max(k for _, k in rows)
    bottom = top + len(rows) * high + (len(rows) - 1) * gap
    xr = left + most * unit_w + 14
    svg = Svg(xr + 16 + text_box(0, 0, total, 15, "start")[2] + 12, bottom + 14)
    for i, (name, count) in enumerate(rows):
        y = top + i * (high + gap)
        svg.text(left - 10, y + high / 2 + 5, name, anchor="end")
        for j in range(count):
            svg.rect(left + j * unit_w, y, unit_w, high, fill=LIGHT, width=1.6)
    svg.line(xr, top, xr, bottom, width=1.3)
    svg.line(xr - 6, top, xr, top, width=1.3)
    svg.line(xr - 6, bottom, xr, bottom, width=1.3)
    svg.text(xr + 8, (top + bottom) / 2 + 5, total, anchor="start")
    return svg.render()


def _composite(rng, level):
    """A rectilinear figure: (points, labels, shape, dims). labels give
    every length the area needs; the perimeter may need sides worked out
    from others. dims are the values the figure was made from."""
    shape = rng.choice(["L", "L", "T", "U", "step"]) if level == 3 else "L"
    if shape == "L":
        w, h = rng.randint(10, 20), rng.randint(8, 16)
        a, b = rng.randint(3, w - 4), rng.randint(3, h - 3)
        pts = l_shape(w, h, a, b)
        # Sides: 0 top, 1 notch down, 2 notch across, 3 right, 4 bottom, 5 left.
        notch = level == 2 and rng.random() < 0.5
        labels = {4: w, 5: h, 1: b, 2: a} if notch else {4: w, 5: h, 0: w - a, 3: h - b}
        return pts, labels, "L", (w, h, a, b, notch)
    if shape == "T":
        w, h1 = rng.randint(12, 20), rng.randint(3, 6)
        s, h2 = rng.randint(3, 6), rng.randint(5, 12)
        x = rng.randint(2, w - s - 2)
        pts = t_shape(w, h1, s, h2, x)
        # Sides: 0 top, 1 bar right, 4 stem bottom, 3 stem right, 7 bar left.
        return pts, {0: w, 7: h1, 4: s, 3: h2}, "T", (w, h1, s, h2, x)
    if shape == "U":
        w, h = rng.randint(12, 20), rng.randint(9, 16)
        a, b = rng.randint(4, w - 6), rng.randint(3, h - 4)
        x = rng.randint(2, w - a - 2)
        pts = u_shape(w, h, a, b, x)
        # Sides: 2 gap bottom, 1 gap left side, 6 bottom, 7 left.
        return pts, {6: w, 7: h, 2: a, 1: b}, "U", (w, h, a, b, x)
    widths = [rng.randint(3, 7) for _ in range(3)]
    h3 = rng.randint(2, 5)
    h2 = h3 + rng.randint(2, 4)
    h1 = h2 + rng.randint(2, 4)
    pts = step_shape(widths, [h1, h2, h3])
    # Sides: 0, 2, 4 the step tops; 1, 3 the risers; 5 right; 6 bottom; 7 left.
    return (pts, {0: widths[0], 2: widths[1], 4: widths[2], 1: h1 - h2, 3: h2 - h3, 7: h1}, "step",
            (widths, (h1, h2, h3)))


SIDE_NAMES = {
    "L": ["the top side", "the upright side at the cut-away corner", "the level side at the cut-away corner",
          "the right side", "the bottom side", "the left side"],
    "T": ["the top side", "the right end of the bar", "the bar's lower edge right of the stem",
          "the right side of the stem", "the bottom of the stem", "the left side of the stem",
          "the bar's lower edge left of the stem", "the left end of the bar"],
    "U": ["the top side left of the gap", "the left side of the gap", "the bottom of the gap",
          "the right side of the gap", "the top side right of the gap", "the right side", "the bottom side",
          "the left side"],
    "step": ["the top of the first step", "the first drop", "the top of the second step", "the second drop",
             "the top of the third step", "the right side", "the bottom side", "the left side"],
}
SHAPE_INTROS = {
    "L": "An L-shaped figure: a rectangle with a corner cut away at its top right.",
    "T": "A T-shaped figure: a bar across the top with a stem below it.",
    "U": "A U-shaped figure: a rectangle with a gap cut down from its top side.",
    "step": "A figure of three steps going down from left to right, standing on a level bottom side.",
}


def sides_text(shape, labels, unit):
    """The labelled sides of a composite figure, each named by where it stands."""
    said = [f"{SIDE_NAMES[shape][i]} {n(v)} {unit}" for i, v in sorted(labels.items())]
    return f"Its labelled sides: {listing(said)}."


def composite_alt(shape, labels, unit):
    """What a sighted pupil reads off a composite figure: its shape and
    where each labelled length stands."""
    return f"{SHAPE_INTROS[shape]} {sides_text(shape, labels, unit)}"


SHAPE_NAMES = {"L": "L-shaped", "T": "T-shaped", "U": "U-shaped", "step": "stepped"}


def composite_solution(shape, dims, unit, asked):
    """The working for a composite figure: asked lists "area" and/or
    "perimeter", one per part in order. Returns (steps, answers). The area
    is found by splitting the figure (or completing it and taking away what
    is missing), shown in a figure; the perimeter by working out the sides
    not labelled, shown with every side labelled. When both are asked, one
    figure shows the split and every side, so the page stays short."""
    u2 = SQ[unit]
    area_part = asked.index("area") + 1 if "area" in asked else None
    per_part = asked.index("perimeter") + 1 if "perimeter" in asked else None
    first = min(k for k in (area_part, per_part) if k)
    q = lambda v: qty(v, unit)
    u = f" {unit}"
    if shape == "L":
        w, h, a, b, notch = dims
        pts = l_shape(w, h, a, b)
        area, perimeter = w * h - a * b, 2 * (w + h)
        sides = {0: w - a, 1: b, 2: a, 3: h - b, 4: w, 5: h}
        if notch:
            split = ({4: w, 5: h, 1: b, 2: a}, [((w - a, 0), (w, 0)), ((w, 0), (w, b))], [],
                     f"The L-shaped figure with its missing corner drawn in dashed lines, making a rectangle "
                     f"{w}{u} by {h}{u}; the missing corner is {a}{u} by {b}{u}.")
            found = []
            area_steps = [Step(f"Draw in the missing corner with dashed lines. The figure is then a whole "
                               f"rectangle, {q(w)} by {q(h)}. Find its area.", f"{mul(w, h)} = {qty(w * h, u2)}"),
                          Step(f"The missing corner is a rectangle {q(a)} by {q(b)}.",
                               f"{mul(a, b)} = {qty(a * b, u2)}"),
                          Step("Take the missing corner away from the whole rectangle.",
                               f"{sub(w * h, a * b)} = {qty(area, u2)}")]
            per_steps = [Step("The top side and the level side at the cut-away corner together are as long as "
                              "the bottom side.", f"top side = {sub(w, a)} = {q(w - a)}"),
                         Step("The right side and the upright side at the cut-away corner together are as long as "
                              "the left side.", f"right side = {sub(h, b)} = {q(h - b)}")]
        else:
            split = ({4: w, 5: h, 0: w - a, 3: h - b, 2: a}, [((w - a, b), (w - a, h))],
                     [(Fraction(w - a, 2), Fraction(h, 2), "A"), (w - Fraction(a, 2), b + Fraction(h - b, 2), "B")],
                     f"The L-shaped figure split by a dashed line into rectangle A, {w - a}{u} wide and {h}{u} "
                     f"high, on the left and rectangle B, {a}{u} wide and {h - b}{u} high, on the right.")
            found = [Step("The level side at the cut-away corner is as long as the bottom side less the top side.",
                          f"{sub(w, w - a)} = {q(a)}")]
            area_steps = [Step(f"Split the figure with a dashed line into two rectangles, A and B. "
                               f"A is {q(w - a)} by {q(h)}.", f"{mul(w - a, h)} = {qty((w - a) * h, u2)}"),
                          Step(f"B is {q(a)} by {q(h - b)}.", f"{mul(a, h - b)} = {qty(a * (h - b), u2)}"),
                          Step("Add the areas of A and B.", f"{add((w - a) * h, a * (h - b))} = {qty(area, u2)}")]
            per_steps = [Step("The upright side at the cut-away corner is as long as the left side less the right "
                              "side.", f"{sub(h, h - b)} = {q(b)}")]
        per_steps.append(Step("Add all six sides to find the perimeter.",
                              f"{add(w - a, b, a, h - b, w, h)} = {q(perimeter)}"))
    elif shape == "T":
        w, h1, s, h2, x = dims
        pts = t_shape(w, h1, s, h2, x)
        area, perimeter = w * h1 + s * h2, 2 * (w + h1 + h2)
        sides = {0: w, 1: h1, 7: h1, 3: h2, 5: h2, 4: s}
        split = ({0: w, 7: h1, 4: s, 3: h2}, [((x, h1), (x + s, h1))],
                 [(Fraction(w, 2), Fraction(h1, 2), "A"), (x + Fraction(s, 2), h1 + Fraction(h2, 2), "B")],
                 f"The T-shaped figure split by a dashed line into the bar A, {w}{u} by {h1}{u}, and the stem B, "
                 f"{s}{u} by {h2}{u}.")
        found = []
        area_steps = [Step(f"Split the figure with a dashed line into the bar A across the top and the stem B below "
                           f"it. A is {q(w)} by {q(h1)}.", f"{mul(w, h1)} = {qty(w * h1, u2)}"),
                      Step(f"B is {q(s)} by {q(h2)}.", f"{mul(s, h2)} = {qty(s * h2, u2)}"),
                      Step("Add the areas of A and B.", f"{add(w * h1, s * h2)} = {qty(area, u2)}")]
        per_steps = [Step("Opposite sides of a rectangle are equal: the bar's right end is as long as its left end, "
                          "and the stem's left side as long as its right side.",
                          f"right end = {q(h1)}, left side of the stem = {q(h2)}"),
                     Step("The two short pieces of the bar's lower edge, either side of the stem, together are the "
                          "top side less the stem's bottom.", f"{sub(w, s)} = {q(w - s)}"),
                     Step("Add all the sides to find the perimeter.",
                          f"{add(w, h1, w - s, h2, s, h2, h1)} = {q(perimeter)}")]
    elif shape == "U":
        w, h, a, b, x = dims
        pts = u_shape(w, h, a, b, x)
        area, perimeter = w * h - a * b, 2 * (w + h + b)
        sides = {6: w, 7: h, 5: h, 2: a, 1: b, 3: b}
        split = ({6: w, 7: h, 2: a, 1: b}, [((x, 0), (x + a, 0))], [],
                 f"The U-shaped figure with the top of its gap closed by a dashed line, making a rectangle {w}{u} "
                 f"by {h}{u}; the gap is {a}{u} wide and {b}{u} deep.")
        found = []
        area_steps = [Step(f"Close the top of the gap with a dashed line. The figure is then a whole rectangle, "
                           f"{q(w)} by {q(h)}. Find its area.", f"{mul(w, h)} = {qty(w * h, u2)}"),
                      Step(f"The gap is a rectangle {q(a)} by {q(b)}.", f"{mul(a, b)} = {qty(a * b, u2)}"),
                      Step("Take the gap away from the whole rectangle.", f"{sub(w * h, a * b)} = {qty(area, u2)}")]
        per_steps = [Step("Opposite sides are equal: the right side is as long as the left side, and both sides "
                          "of the gap are as deep.", f"right side = {q(h)}, other side of the gap = {q(b)}"),
                     Step("The two pieces of the top side, either side of the gap, together are the bottom side "
                          "less the gap's width.", f"{sub(w, a)} = {q(w - a)}"),
                     Step("Add all the sides to find the perimeter.",
                          f"{add(w - a, b, a, b, h, w, h)} = {q(perimeter)}")]
    else:
        (w1, w2, w3), (h1, h2, h3) = dims
        r1, r2 = h1 - h2, h2 - h3
        pts = step_shape([w1, w2, w3], [h1, h2, h3])
        area, perimeter = w1 * r1 + (w1 + w2) * r2 + (w1 + w2 + w3) * h3, 2 * (w1 + w2 + w3 + h1)
        sides = {0: w1, 2: w2, 4: w3, 1: r1, 3: r2, 7: h1, 5: h3, 6: w1 + w2 + w3}
        split = ({0: w1, 2: w2, 4: w3, 1: r1, 3: r2, 7: h1, 5: h3},
                 [((0, r1), (w1, r1)), ((0, r1 + r2), (w1 + w2, r1 + r2))],
                 [(Fraction(w1, 2), Fraction(r1, 2), "A"), (Fraction(w1 + w2, 2), r1 + Fraction(r2, 2), "B"),
                  (Fraction(w1 + w2 + w3, 2), r1 + r2 + Fraction(h3, 2), "C")],
                 f"The figure split by two level dashed lines into three rectangles: A at the top, {w1}{u} wide "
                 f"and {r1}{u} high; B below it, as wide as the first two steps and {r2}{u} high; C at the "
                 f"bottom, as wide as all three steps and {h3}{u} high.")
        found = [Step("The right side, the height of the lowest step, is the left side less the two drops.",
                      f"{sub(h1, r1, r2)} = {q(h3)}")]
        area_steps = [Step(f"Split the figure with level dashed lines into three rectangles, A, B and C. "
                           f"A, at the top, is {q(w1)} by {q(r1)}.", f"{mul(w1, r1)} = {qty(w1 * r1, u2)}"),
                      Step(f"B is as wide as the first two steps, and {q(r2)} high.",
                           f"({add(w1, w2)}) {TIMES} {r2} = {mul(w1 + w2, r2)} = {qty((w1 + w2) * r2, u2)}"),
                      Step(f"C, at the bottom, is as wide as all three steps, and {q(h3)} high.",
                           f"({add(w1, w2, w3)}) {TIMES} {h3} = {mul(w1 + w2 + w3, h3)} = "
                           f"{qty((w1 + w2 + w3) * h3, u2)}"),
                      Step("Add the areas of A, B and C.",
                           f"{add(w1 * r1, (w1 + w2) * r2, (w1 + w2 + w3) * h3)} = {qty(area, u2)}")]
        per_steps = [Step("The bottom side is as long as the tops of the three steps together.",
                          f"{add(w1, w2, w3)} = {q(w1 + w2 + w3)}"),
                     Step("Add all eight sides to find the perimeter.",
                          f"{add(w1, r1, w2, r2, w3, h3, w1 + w2 + w3, h1)} = {q(perimeter)}")]
    lab = lambda labels: {k: f"{n(v)}{u}" for k, v in labels.items()}
    labels, dashed, names_, alt = split
    if area_part and per_part:
        area_steps[0].figure = _figure(polygon_svg(pts, lab({**labels, **sides}), fill=LIGHT, dashed=dashed,
                                                   names=names_),
                                       f"{alt} {sides_text(shape, {**labels, **sides}, unit)}")
    elif area_part:
        area_steps[0].figure = _figure(polygon_svg(pts, lab(labels), fill=LIGHT, dashed=dashed, names=names_),
                                       f"{alt} {sides_text(shape, labels, unit)}")
    else:
        # The figure stands with the last side found, just before the sides are added.
        per_steps[-2 if len(found + per_steps) > 2 else 0].figure = _figure(
            polygon_svg(pts, lab(sides), fill=LIGHT),
            f"The {SHAPE_NAMES[shape]} figure again. {sides_text(shape, sides, unit)}")
    for step in found:
        step.part = first
    for step in area_steps:
        step.part = area_part or 0
    for step in per_steps:
        step.part = per_part or 0
    steps = found + (area_steps if area_part else []) + (per_steps if per_part else [])
    answers = {"area": area, "perimeter": perimeter}
    return steps, [answers[what] for what in asked]


@family("area.composite", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def composite(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    pts, labels, shape, dims = _composite(rng, level)
    text = {k: f"{n(v)} {unit}" for k, v in labels.items()}
    fig = _figure(polygon_svg(pts, text, fill=LIGHT), composite_alt(shape, labels, unit))
    intro = p(f"The figure is made up of rectangles. {RIGHT_ANGLES}")
    if len(slots) == 2:
        steps, answers = composite_solution(shape, dims, unit, ["area", "perimeter"])
        return Question(intro, [Part(key=num(answers[0]), prompt="Find the area of the figure.", unit=SQ[unit]),
                                Part(key=num(answers[1]), prompt="Find the perimeter of the figure.", unit=unit)],
                        [fig], Solution(steps, answers))
    what = rng.choice(["area", "perimeter"])
    steps, answers = composite_solution(shape, dims, unit, [what])
    return Question(intro + p(f"Find the {what} of the figure."),
                    [Part(key=num(answers[0]), unit=SQ[unit] if what == "area" else unit)], [fig],
                    Solution(steps, answers))


def _triangle_values(rng, obtuse):
    base = rng.randint(5, 16)
    height = rng.randint(3, min(12, base + 2))
    if base * height % 2:
        height += 1
    if obtuse:
        k = rng.randint(2, max(2, base // 2))
        apex = -k if rng.random() < 0.5 else base + k
    else:
        apex = rng.choice([0, base, rng.randint(1, base - 1)])
    return base, height, apex


def _triangle_step(base, height, unit, say="The area of a triangle is {half} \u00d7 base \u00d7 height."):
    return Step(say.format(half=HALF), f"{HALF} {TIMES} {mul(base, height)} = "
                                       f"{qty(triangle_area(base, height), SQ[unit])}")


def triangle_options(rng, area):
    """A base and height giving the area, and three pairs a usual slip picks:
    base x height equal to the area (the halving forgotten), to half the
    area (halved when working back instead of doubled), and base + height
    equal to the area. Returns (right, [(pair, slip name)])."""
    pairs = lambda product: [(b, product // b) for b in range(3, product) if product % b == 0
                             and product // b >= 2]
    right = rng.choice(pairs(2 * area))
    pools = [("whole", pairs(area)), ("halved", pairs(area // 2) if area % 2 == 0 else []),
             ("added", [(b, area - b) for b in range(3, area - 2)])]
    return right, one_slip_each(rng, pools, lambda pr: pr[0] * pr[1] == 2 * area)


def triangle_slip(slip, pair, area):
    b, h = pair
    return {
        "whole": f"forgets to halve: {mul(b, h)} = {area}",
        "halved": f"halves the area instead of doubling it, so looks for base {TIMES} height = {area // 2}, "
                  f"and {mul(b, h)} = {area // 2}",
        "added": f"adds the base and the height instead of multiplying them: {add(b, h)} = {area}",
    }[slip]


# The choice is a one-step question: it stands early in a paper only.
@family("area.triangle-choice", TOPIC, ["Q"], levels=(1, 2))
@family("area.triangle", TOPIC, ["N"], levels=(1, 2, 3))
def triangle(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    u2 = SQ[unit]
    if slots[0].kind == "Q":
        if level == 3:
            raise ValueError("a one-step choice is too short for the end of a paper")
        area = rng.choice([12, 18, 20, 24, 30, 36, 40])
        right, wrong = triangle_options(rng, area)
        show = lambda pr: f"base {qty(pr[0], unit)}, height {qty(pr[1], unit)}"
        part = choice(rng, show(right), [(show(pr), triangle_slip(slip, pr, area)) for pr, slip in wrong],
                      prompt=f"A triangle has an area of {qty(area, u2)}. "
                             "Which of these could be its base and height?")
        pairs = {show(pr): pr for pr in [right] + [pr for pr, _ in wrong]}
        work = [f"({i}) {HALF} {TIMES} {mul(*pairs[o])} = {qty(triangle_area(*pairs[o]), u2)}"
                for i, o in enumerate(part.options, 1)]
        k = part.options.index(show(right)) + 1
        solution = Solution([Step(f"The area of a triangle is {HALF} {TIMES} base {TIMES} height. Work it out "
                                  "for each option.", worklines(work))], [show(right)],
                            why=f"Only option ({k}) gives an area of {qty(area, u2)}.")
        return Question("", [part], solution=solution)
    if level == 1:
        base, height, apex = _triangle_values(rng, obtuse=False)
        fig = _figure(triangle_svg(base, height, apex, unit),
                      f"A triangle with base {base} {unit} and height {height} {unit}, the height drawn "
                      "from its top corner straight down to the base")
        return Question(p("Find the area of the triangle."),
                        [Part(key=num(triangle_area(base, height)), unit=u2)], [fig],
                        Solution([_triangle_step(base, height, unit)], [triangle_area(base, height)]))
    if level == 2:
        if rng.random() < 0.5:
            base, height, apex = _triangle_values(rng, obtuse=True)
            fig = _figure(triangle_svg(base, height, apex, unit),
                          f"An obtuse triangle with base {base} {unit}; its height, {height} {unit}, is a dashed "
                          "line from its top corner down to the base line extended outside the triangle")
            step = _triangle_step(base, height, unit,
                                  "The height is the dashed line, at right angles to the base line, even though it "
                                  "falls outside the triangle. The area is {half} \u00d7 base \u00d7 height.")
            return Question(p("Find the area of the triangle. The dashed line shows its height."),
                            [Part(key=num(triangle_area(base, height)), unit=u2)], [fig],
                            Solution([step], [triangle_area(base, height)]))
        # A triangle in a rectangle: its top corner on the rectangle's top side.
        w, h = rng.randint(8, 18), rng.randint(5, 12)
        if w * h % 2:
            w += 1
        x = rng.randint(2, w - 2)
        pts = [(0, 0), (w, 0), (w, h), (0, h)]
        frame = _Frame(pts, 300, 170)
        svg = Svg(frame.width, frame.height)
        corners = [frame(q) for q in pts]
        svg.polygon(corners, width=2.2)
        tri = [frame((0, h)), frame((w, h)), frame((x, 0))]
        svg.polygon(tri, fill=svg.hatch(), width=2)
        _label_edge(svg, corners[2], corners[3], f"{n(w)} {unit}", corners)
        _label_edge(svg, corners[1], corners[2], f"{n(h)} {unit}", corners)
        fig = _figure(svg.render(), f"A rectangle {w} {unit} by {h} {unit} with a shaded triangle "
                      "whose base is the bottom side and whose top corner is on the top side")
        what = rng.choice(["shaded", "unshaded"])
        tri_area = triangle_area(w, h)
        steps = [_triangle_step(w, h, unit, f"The shaded triangle's base is the rectangle's bottom side, "
                                            f"{qty(w, unit)}, and its height is the rectangle's height, "
                                            f"{qty(h, unit)}. Its area is {{half}} \u00d7 base \u00d7 height.")]
        if what == "unshaded":
            steps = [Step(f"The area of the rectangle is length {TIMES} breadth.",
                          f"{mul(w, h)} = {qty(w * h, u2)}")] + steps + [
                Step("The unshaded part is the rectangle less the shaded triangle.",
                     f"{sub(w * h, tri_area)} = {qty(w * h - tri_area, u2)}")]
        return Question(p("The figure shows a rectangle. Its top side touches the top corner of the "
                          f"shaded triangle.", f"Find the area of the {what} part of the rectangle."),
                        [Part(key=num(tri_area), unit=u2)], [fig],
                        Solution(steps, [tri_area if what == "shaded" else w * h - tri_area]))
    base, height, apex = _triangle_values(rng, obtuse=rng.random() < 0.5)
    area = triangle_area(base, height)
    double = Step(f"The area is {HALF} {TIMES} base {TIMES} height, so base {TIMES} height is twice the area.",
                  f"{mul(2, area)} = {n(2 * area)}")
    if rng.random() < 0.5:
        fig = _figure(triangle_svg(base, height, apex, unit,
                                   show={"base": f"{n(base)} {unit}", "height": "?"}),
                      f"A triangle with base {base} {unit} and its height marked ?")
        steps = [double, Step("Divide by the base to find the height.",
                              f"{n(2 * area)} {DIV} {base} = {qty(height, unit)}")]
        return Question(p(f"The area of the triangle is {qty(area, u2)}.", "Find its height."),
                        [Part(key=num(height), unit=unit)], [fig], Solution(steps, [height]))
    fig = _figure(triangle_svg(base, height, apex, unit,
                               show={"base": "?", "height": f"{n(height)} {unit}"}),
                  f"A triangle with height {height} {unit} and its base marked ?")
    steps = [double, Step("Divide by the height to find the base.",
                          f"{n(2 * area)} {DIV} {height} = {qty(base, unit)}")]
    return Question(p(f"The area of the triangle is {qty(area, u2)}.", "Find the length of its base."),
                    [Part(key=num(base), unit=unit)], [fig], Solution(steps, [base]))


def _frame_picture(rng, unit):
    """A rectangular card with a rectangular hole: (outer l, b, hole l, b).
    The hole, drawn in a 300 by 180 box, is big enough to hold its two
    labels, one under its top side and one in the middle of its right."""
    l, b = rng.randint(14, 24), rng.randint(10, 18)
    s = min(300 / l, 180 / b)
    hl, hb = rng.randint(max(4, math.ceil(64 / s)), l - 6), rng.randint(max(3, math.ceil(64 / s)), b - 5)
    return l, b, hl, hb


@family("area.shaded", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def shaded(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    u2 = SQ[unit]
    case = "hole" if level == 2 else rng.choice(["hole", "triangle-cut", "two-triangles"])
    if len(slots) == 2:
        case = "triangle-cut"     # the two-triangle answer is plain half, twice
    if case == "hole":
        l, b, hl, hb = _frame_picture(rng, unit)
        ox, oy = rng.randint(2, l - hl - 2), rng.randint(2, b - hb - 2)
        outer = [(0, 0), (l, 0), (l, b), (0, b)]
        frame = _Frame(outer, 300, 180)
        svg = Svg(frame.width, frame.height)
        po = [frame(q) for q in outer]
        svg.polygon(po, fill=svg.hatch(), width=2.2)
        hole = [(ox, oy), (ox + hl, oy), (ox + hl, oy + hb), (ox, oy + hb)]
        ph = [frame(q) for q in hole]
        svg.polygon(ph, fill="#fff", width=2)
        _label_edge(svg, po[2], po[3], f"{n(l)} {unit}", po)
        _label_edge(svg, po[1], po[2], f"{n(b)} {unit}", po)
        svg.text((ph[0][0] + ph[1][0]) / 2, ph[0][1] + 19, f"{n(hl)} {unit}")
        svg.text(ph[1][0] - 6, (ph[1][1] + ph[2][1]) / 2 + 5, f"{n(hb)} {unit}", anchor="end")
        fig = _figure(svg.render(), f"A shaded rectangle {l} {unit} by {b} {unit} with an unshaded "
                      f"rectangle {hl} {unit} by {hb} {unit} inside it")
        steps = [Step(f"Find the area of the big rectangle, length {TIMES} breadth.",
                      f"{mul(l, b)} = {qty(l * b, u2)}"),
                 Step("Find the area of the small rectangle that is cut out.",
                      f"{mul(hl, hb)} = {qty(hl * hb, u2)}"),
                 Step("The shaded part is the big rectangle less the small one.",
                      f"{sub(l * b, hl * hb)} = {qty(l * b - hl * hb, u2)}")]
        return Question(p("A small rectangle is cut out of a bigger rectangle, as shown.",
                          "Find the area of the shaded part."),
                        [Part(key=num(l * b - hl * hb), unit=u2)], [fig], Solution(steps, [l * b - hl * hb]))
    w, h = rng.randint(10, 20), rng.randint(6, 14)
    outer = [(0, 0), (w, 0), (w, h), (0, h)]
    frame = _Frame(outer, 300, 180)

    def draw(split=False):
        svg = Svg(frame.width, frame.height)
        po = [frame(q) for q in outer]
        svg.polygon(po, fill=svg.hatch(), width=2.2)
        if case == "triangle-cut":
            tri = [frame((0, h)), frame((tb, h)), frame((0, h - th))]
            svg.polygon(tri, fill="#fff", width=2)
            # The triangle's sides are labelled outside the rectangle, below and
            # left of the corner, where a small triangle has no room inside; the
            # rectangle's own sides are then labelled at the top and the right.
            svg.text((tri[0][0] + tri[1][0]) / 2, tri[0][1] + 18, f"{n(tb)} {unit}")
            svg.text(tri[0][0] - 7, (tri[0][1] + tri[2][1]) / 2 + 5, f"{n(th)} {unit}", anchor="end")
            _label_edge(svg, po[0], po[1], f"{n(w)} {unit}", po)
        else:
            for y_side in (0, h):
                svg.polygon([frame((0, y_side)), frame((w, y_side)), frame((x, mid))], fill="#fff", width=2)
            if split:
                a, b = frame((0, mid)), frame((w, mid))
                svg.line(*a, *b, dash="6,4", width=1.5)
            _label_edge(svg, po[2], po[3], f"{n(w)} {unit}", po)
        _label_edge(svg, po[1], po[2], f"{n(h)} {unit}", po)
        return svg.render()

    if case == "triangle-cut":
        # A right-angled triangle cut from the bottom-left corner.
        tb, th = rng.randint(3, w - 3), rng.randint(2, h - 2)
        if tb * th % 2:
            tb = tb - 1 if tb > 3 else tb + 1
        cut = triangle_area(tb, th)
        what = "a right-angled triangle is cut from one corner of a rectangle"
        alt = (f"A shaded rectangle {w} {unit} by {h} {unit} with a white right-angled triangle at its "
               f"bottom left corner; the triangle's sides along the rectangle are {tb} {unit} and {th} {unit}")
        cut_step = Step(f"The white triangle has a right angle at the corner, so its two short sides are its "
                        f"base and height. Its area is {HALF} {TIMES} base {TIMES} height.",
                        f"{HALF} {TIMES} {mul(tb, th)} = {qty(cut, u2)}")
        steps = [cut_step]
    else:
        # Two triangles on the top and bottom sides meeting at one point.
        x = rng.randint(2, w - 2)
        mid = rng.randint(2, h - 2)
        cut = triangle_area(w, mid) + triangle_area(w, h - mid)
        what = ("the two unshaded triangles have the top and bottom sides of the rectangle as their "
                "bases, and their top corners meet at one point inside the rectangle")
        alt = (f"A shaded rectangle {w} {unit} by {h} {unit} with two white triangles whose bases are its top "
               "and bottom sides and whose tips meet at a point inside it")
        split = _figure(draw(split=True),
                        f"The rectangle, {w} {unit} by {h} {unit}, with a dashed line across it through the point "
                        "where the tips of the white triangles meet")
        steps = [Step("Draw a dashed line across the rectangle through the point where the tips meet. It cuts "
                      "the rectangle into two smaller rectangles, and each white triangle has the same base and "
                      "height as the rectangle it stands in, so it is half of it. The two white triangles "
                      "together are half of the whole rectangle.",
                      f"{HALF} {TIMES} {mul(w, h)} = {qty(cut, u2)}", figure=split)]
    fig = _figure(draw(), alt)
    total = w * h
    shaded_area = total - cut
    big = Step(f"Find the area of the rectangle, length {TIMES} breadth.", f"{mul(w, h)} = {qty(total, u2)}")
    rest = Step("The shaded part is the rectangle less the white part.",
                f"{sub(total, cut)} = {qty(shaded_area, u2)}")
    if len(slots) == 2:
        big.part = rest.part = 2
        return Question(p(f"In the figure, {what}. The triangle is unshaded."),
                        [Part(key=num(cut), prompt="Find the area of the unshaded part.", unit=u2),
                         Part(key=num(shaded_area), prompt="Find the area of the shaded part.", unit=u2)],
                        [fig], Solution(steps + [big, rest], [cut, shaded_area]))
    return Question(p(f"In the figure, {what}.", "Find the area of the shaded part."),
                    [Part(key=num(shaded_area), unit=u2)], [fig], Solution([big] + steps + [rest], [shaded_area]))


def _path_svg(length, breadth, width, inside=False, crossing=False, solution=False):
    """A path round, inside or across a rectangle, shaded. solution: the
    lengths the working finds written on too (the outer rectangle, the
    carpet) or the square where two paths cross filled grey."""
    if crossing:
        outer = [(0, 0), (length, 0), (length, breadth), (0, breadth)]
        frame = _Frame(outer, 300, 180)
        svg = Svg(frame.width, frame.height)
        po = [frame(q) for q in outer]
        svg.polygon(po, fill="#fff", width=2.2)
        x = (length - width) / 2
        y = (breadth - width) / 2
        for rect in ([(x, 0), (x + width, 0), (x + width, breadth), (x, breadth)],
                     [(0, y), (length, y), (length, y + width), (0, y + width)]):
            svg.polygon([frame(q) for q in rect], fill=svg.hatch(), width=1.6)
        if solution:
            svg.polygon([frame(q) for q in [(x, y), (x + width, y), (x + width, y + width), (x, y + width)]],
                        fill=GREY, width=2.2)
        svg.polygon(po, fill="none", width=2.2)
        _label_edge(svg, po[2], po[3], f"{n(length)} m", po)
        _label_edge(svg, po[1], po[2], f"{n(breadth)} m", po)
        a, b = frame((x, 0)), frame((x + width, 0))
        svg.text((a[0] + b[0]) / 2, a[1] - 7, f"{n(width)} m")
        return svg.render()
    if inside:
        outer_l, outer_b = length, breadth
        inner = (width, width, length - width, breadth - width)
    else:
        outer_l, outer_b = length + 2 * width, breadth + 2 * width
        inner = (width, width, width + length, width + breadth)
    outer = [(0, 0), (outer_l, 0), (outer_l, outer_b), (0, outer_b)]
    frame = _Frame(outer, 300, 190)
    svg = Svg(frame.width, frame.height)
    po = [frame(q) for q in outer]
    svg.polygon(po, fill=svg.hatch(), width=2.2)
    x0, y0, x1, y1 = inner
    pi = [frame(q) for q in [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]]
    svg.polygon(pi, fill="#fff", width=2)
    if inside:
        _label_edge(svg, po[2], po[3], f"{n(length)} m", po)
        _label_edge(svg, po[1], po[2], f"{n(breadth)} m", po)
    else:
        svg.text((pi[0][0] + pi[1][0]) / 2, pi[0][1] + 19, f"{n(length)} m")
        svg.text(pi[1][0] - 6, (pi[1][1] + pi[2][1]) / 2 + 5, f"{n(breadth)} m", anchor="end")
    if solution and inside:
        svg.text((pi[0][0] + pi[1][0]) / 2, pi[0][1] + 19, f"{n(length - 2 * width)} m")
        svg.text(pi[1][0] - 6, (pi[1][1] + pi[2][1]) / 2 + 5, f"{n(breadth - 2 * width)} m", anchor="end")
    elif solution:
        _label_edge(svg, po[0], po[1], f"{n(outer_l)} m", po)
        _label_edge(svg, po[1], po[2], f"{n(outer_b)} m", po)
    # The path's width, marked across it on the left.
    ym = (pi[0][1] + pi[3][1]) / 2 - 22
    svg.line(po[0][0], ym, pi[0][0], ym, width=1.2)
    svg.line(po[0][0], ym - 5, po[0][0], ym + 5, width=1.2)
    svg.line(pi[0][0], ym - 5, pi[0][0], ym + 5, width=1.2)
    svg.text(po[0][0] - 6, ym + 5, f"{n(width)} m", anchor="end")
    return svg.render()


@family("area.path", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def path(rng, level, slots):
    person = names(rng, 1)[0]
    breadth = rng.randint(5, 14)
    length = breadth + rng.randint(2, 8)
    width = rng.choice([1, 2]) if level == 2 else rng.choice([1, 2, 3])
    place = rng.choice(["garden", "lawn", "pond", "swimming pool"])
    case = "around" if level == 2 and rng.random() < 0.6 else rng.choice(["around", "inside", "crossing"])
    if len(slots) == 2:
        case = rng.choice(["around", "crossing"])
    m, m2 = (lambda v: qty(v, "m")), (lambda v: qty(v, SQ["m"]))
    if case == "around":
        area = path_around(length, breadth, width)
        outer_l, outer_b = length + 2 * width, breadth + 2 * width
        fig = _figure(_path_svg(length, breadth, width),
                      f"A {place} {length} m by {breadth} m with a shaded path {width} m wide around it")
        text = p(f"A rectangular {place} {m(length)} long and {m(breadth)} wide has a path {m(width)} wide "
                 "all round it, as shown by the shaded part.")
        outer = Step("The outer edge of the path is a rectangle. Each of its sides has the path's width added at "
                     "both ends.", f"length: {add(length, width, width)} = {m(outer_l)}; "
                                   f"breadth: {add(breadth, width, width)} = {m(outer_b)}",
                     figure=_figure(_path_svg(length, breadth, width, solution=True),
                                    f"The {place}, {length} m by {breadth} m, inside the outer edge of the path, "
                                    f"a rectangle {outer_l} m by {outer_b} m; the path is {width} m wide"))
        steps = [outer,
                 Step("Find the area inside the outer edge.", f"{mul(outer_l, outer_b)} = {m2(outer_l * outer_b)}"),
                 Step(f"Find the area of the {place}.", f"{mul(length, breadth)} = {m2(length * breadth)}"),
                 Step(f"The path is the area inside the outer edge less the {place}.",
                      f"{sub(outer_l * outer_b, length * breadth)} = {m2(area)}")]
    elif case == "inside":
        length, breadth = max(length, breadth) + 2, min(length, breadth) + 2
        area = path_inside(length, breadth, width)
        inner_l, inner_b = length - 2 * width, breadth - 2 * width
        fig = _figure(_path_svg(length, breadth, width, inside=True),
                      f"A room {length} m by {breadth} m with a shaded border {width} m wide along its walls")
        text = p(f"A rectangular carpet is laid in a room {m(length)} long and {m(breadth)} wide, leaving a "
                 f"border {m(width)} wide all round it, as shown by the shaded part.")
        carpet = Step("The border's width is taken off both ends of each side of the room to leave the carpet.",
                      f"length: {sub(length, width, width)} = {m(inner_l)}; "
                      f"breadth: {sub(breadth, width, width)} = {m(inner_b)}",
                      figure=_figure(_path_svg(length, breadth, width, inside=True, solution=True),
                                     f"The room, {length} m by {breadth} m, with the carpet inside it, "
                                     f"{inner_l} m by {inner_b} m; the border is {width} m wide"))
        carpet_area = Step("Find the area of the carpet.", f"{mul(inner_l, inner_b)} = {m2(inner_l * inner_b)}")
        steps = [carpet, Step("Find the area of the room.", f"{mul(length, breadth)} = {m2(length * breadth)}"),
                 carpet_area,
                 Step("The border is the room less the carpet.",
                      f"{sub(length * breadth, inner_l * inner_b)} = {m2(area)}")]
    else:
        length, breadth = max(length, breadth) + 4, min(length, breadth) + 4
        area = crossing_paths(length, breadth, width)
        fig = _figure(_path_svg(length, breadth, width, crossing=True),
                      f"A field {length} m by {breadth} m with two shaded paths {width} m wide crossing it, one "
                      "along its length and one across it")
        text = p(f"Two paths, each {m(width)} wide, cross a rectangular field {m(length)} long and "
                 f"{m(breadth)} wide, as shown by the shaded part.")
        steps = [Step(f"The path along the field is {m(width)} wide and as long as the field.",
                      f"{mul(width, length)} = {m2(width * length)}"),
                 Step(f"The path across the field is {m(width)} wide and as long as the field is wide.",
                      f"{mul(width, breadth)} = {m2(width * breadth)}"),
                 Step("The square where the paths cross, drawn grey, is part of both paths, so it has been "
                      "counted twice. Find its area.", f"{mul(width, width)} = {m2(width * width)}",
                      figure=_figure(_path_svg(length, breadth, width, crossing=True, solution=True),
                                     f"The field, {length} m by {breadth} m, with the two paths {width} m wide; the "
                                     f"square where they cross, {width} m by {width} m, is grey")),
                 Step("Add the two paths and take the square away once.",
                      f"{add(width * length, width * breadth)} {MINUS} {n(width * width)} = {m2(area)}")]
    what = {"around": "path", "inside": "border", "crossing": "paths"}[case]
    if len(slots) == 2:
        price = rng.choice([5, 6, 8, 12, 15, 20, 25])
        cost = Step(f"Each square metre costs {money(price)}. Multiply the area by the cost of one square metre.",
                    f"{mul(area, money(price))} = {money(area * price)}", part=2)
        return Question(text + p(f"{person} pays {money(price)} for each square metre of paving laid on the "
                                 f"{what}."),
                        [Part(key=num(area), prompt=f"Find the area of the {what}.", unit=SQ["m"]),
                         Part(key=num(area * price), prompt="How much does the paving cost?", unit_before="$")],
                        [fig], Solution(steps + [cost], [area, area * price]))
    if level == 3 and case == "around" and rng.random() < 0.5:
        key = 2 * (outer_l + outer_b)
        fence = Step(f"The fence goes all round the outer edge. Its length is 2 {TIMES} (length + breadth).",
                     f"2 {TIMES} ({add(outer_l, outer_b)}) = {mul(2, outer_l + outer_b)} = {m(key)}")
        return Question(text + p(f"{person} puts a fence along the outer edge of the path.",
                                 "How long is the fence?"),
                        [Part(key=num(key), unit="m")], [fig], Solution([steps[0], fence], [key]))
    if level == 3 and case == "inside" and rng.random() < 0.5:
        return Question(text + p("Find the area of the carpet."),
                        [Part(key=num(length * breadth - area), unit=SQ["m"])], [fig],
                        Solution([steps[0], carpet_area], [inner_l * inner_b]))
    return Question(text + p(f"Find the area of the {what}."), [Part(key=num(area), unit=SQ["m"])], [fig],
                    Solution(steps, [area]))


def _grid_figure(rng, size):
    """A figure of size whole squares inside an 8 by 6 grid, joined side to side,
    with no hole and no two squares meeting only at a corner."""
    cols, rows = 8, 6
    for _ in range(200):
        cells = {(rng.randint(2, 5), rng.randint(2, 3))}
        while len(cells) < size:
            c, r = rng.choice(sorted(cells))
            dc, dr = rng.choice([(1, 0), (-1, 0), (0, 1), (0, -1)])
            if 1 <= c + dc < cols - 1 and 1 <= r + dr < rows - 1:
                cells.add((c + dc, r + dr))
        if _grid_ok(cells, cols, rows):
            return cells
    raise ValueError("no figure found")


def _grid_ok(cells, cols, rows):
    for c in range(-1, cols):
        for r in range(-1, rows):
            block = [(c, r) in cells, (c + 1, r) in cells, (c, r + 1) in cells, (c + 1, r + 1) in cells]
            if block in ([True, False, False, True], [False, True, True, False]):
                return False
    outside, todo = set(), [(-1, -1)]
    while todo:
        q = todo.pop()
        if q in outside or q in cells or not (-1 <= q[0] <= cols and -1 <= q[1] <= rows):
            continue
        outside.add(q)
        todo += [(q[0] + 1, q[1]), (q[0] - 1, q[1]), (q[0], q[1] + 1), (q[0], q[1] - 1)]
    return len(outside) + len(cells) == (cols + 2) * (rows + 2)


def grid_svg(cells=(), polygon=None, cols=8, rows=6, cell=34):
    svg = Svg(cols * cell + 20, rows * cell + 20)
    x0 = y0 = 10
    for c in range(cols + 1):
        svg.line(x0 + c * cell, y0, x0 + c * cell, y0 + rows * cell, stroke="#808080", width=1)
    for r in range(rows + 1):
        svg.line(x0, y0 + r * cell, x0 + cols * cell, y0 + r * cell, stroke="#808080", width=1)
    cells = set(cells)
    for c, r in cells:
        svg.rect(x0 + c * cell, y0 + r * cell, cell, cell, fill=GREY, width=0)
    for c, r in cells:
        for dc, dr, (a, b, e, f) in [(0, -1, (0, 0, 1, 0)), (0, 1, (0, 1, 1, 1)),
                                     (-1, 0, (0, 0, 0, 1)), (1, 0, (1, 0, 1, 1))]:
            if (c + dc, r + dr) not in cells:
                svg.line(x0 + (c + a) * cell, y0 + (r + b) * cell, x0 + (c + e) * cell,
                         y0 + (r + f) * cell, width=3)
    if polygon:
        svg.polygon([(x0 + c * cell, y0 + r * cell) for c, r in polygon], fill=GREY, width=3)
    return svg.render()


def grid_rows(cells):
    """The shaded squares' columns in each row that has any, top row first."""
    return [(r, sorted(c for c, rr in cells if rr == r)) for r in sorted({r for _, r in cells})]


def _runs(cols):
    """Columns 1, 2, 3, 5, 6 (counted from 0) as a pupil counts them:
    "squares 2 to 4, 6 and 7"."""
    items, start = [], cols[0]
    for a, b in zip(cols, cols[1:] + [None]):
        if b != a + 1:
            items += [f"{start + 1} to {a + 1}"] if a >= start + 2 else [str(c + 1) for c in range(start, a + 1)]
            start = b
    return ("squares " if len(cols) > 1 else "square ") + listing(items)


def grid_alt(cells, squares):
    rows = "; ".join(f"row {r + 1}: {_runs(cols)}" for r, cols in grid_rows(cells))
    return (f"A shaded figure of whole squares on a grid of {squares}, 8 squares across and 6 down. Counting "
            f"rows from the top and squares from the left, the shaded squares are in {rows}.")


def grid_edges(cells):
    """The outline's level and upright sides of squares: (level, upright)."""
    level = sum(1 for c, r in cells for d in (-1, 1) if (c, r + d) not in cells)
    upright = sum(1 for c, r in cells for d in (-1, 1) if (c + d, r) not in cells)
    return level, upright


@family("area.grid", TOPIC, ["N"], levels=(1, 2))
def grid(rng, level, slots):
    def count_step(cells, say):
        counts = [len(cols) for _, cols in grid_rows(cells)]
        return Step(say + " Count the shaded squares row by row, from the top.",
                    f"{add(*counts)} = {sum(counts)} squares")

    def edge_step(cells, say):
        flat, upright = grid_edges(cells)
        return Step(say + " Count the sides of squares along the outline: the level ones along the top and "
                          "bottom edges, then the upright ones along the left and right edges.",
                    f"{add(flat, upright)} = {flat + upright} sides")

    if level == 1:
        cells = _grid_figure(rng, rng.randint(7, 13))
        area, perimeter = grid_area_perimeter(cells)
        what = rng.choice(["area", "perimeter"])
        fig = _figure(grid_svg(cells), grid_alt(cells, "1-cm squares"))
        if what == "area":
            step = count_step(cells, "Each square is 1\u00a0cm by 1\u00a0cm, so it has an area of 1\u00a0cm\u00b2.")
            step.work += f", so the area is {qty(area, SQ['cm'])}"
        else:
            step = edge_step(cells, "Each side of a square is 1\u00a0cm long.")
            step.work += f", so the perimeter is {qty(perimeter, 'cm')}"
        return Question(p("The shaded figure is drawn on a grid of 1-cm squares.", f"Find its {what}."),
                        [Part(key=num(area if what == "area" else perimeter),
                              unit="cm\u00b2" if what == "area" else "cm")], [fig],
                        Solution([step], [area if what == "area" else perimeter]))
    if rng.random() < 0.5:
        side = rng.choice([2, 3])
        cells = _grid_figure(rng, rng.randint(6, 10))
        area, perimeter = grid_area_perimeter(cells)
        what = rng.choice(["area", "perimeter"])
        fig = _figure(grid_svg(cells), grid_alt(cells, "squares"))
        if what == "area":
            key = area * side * side
            steps = [count_step(cells, "The figure is made of whole squares."),
                     Step(f"Each square is {qty(side, 'cm')} by {qty(side, 'cm')}, so its area is "
                          f"{mul(side, side)} = {qty(side * side, SQ['cm'])}. Multiply by the number of squares.",
                          f"{mul(area, side * side)} = {qty(key, SQ['cm'])}")]
        else:
            key = perimeter * side
            steps = [edge_step(cells, "The outline runs along the sides of the squares."),
                     Step(f"Each side of a square is {qty(side, 'cm')} long. Multiply by the number of sides.",
                          f"{mul(perimeter, side)} = {qty(key, 'cm')}")]
        return Question(p(f"The shaded figure is drawn on a grid of squares. Each square has sides of "
                          f"{qty(side, 'cm')}.", f"Find the {what} of the figure."),
                        [Part(key=num(key), unit="cm\u00b2" if what == "area" else "cm")], [fig],
                        Solution(steps, [key]))
    base = rng.randint(3, 7)
    height = rng.randint(2, 5)
    if base * height % 2:
        base = base + 1 if base < 7 else base - 1
    left = rng.randint(0, 7 - base)
    apex = rng.randint(max(0, left - 1), min(8, left + base + 1))
    bottom = 5
    tri = [(left, bottom), (left + base, bottom), (apex, bottom - height)]
    fig = _figure(grid_svg(polygon=tri), f"A shaded triangle on a grid of 1-cm squares. Its base lies along a "
                  f"grid line and is {base} squares long; its top corner is {height} squares above the base")
    steps = [Step("Read the base and the height off the grid. The base runs along a grid line; the height is "
                  "how many squares the top corner stands above the base line.",
                  f"base = {qty(base, 'cm')}, height = {qty(height, 'cm')}"),
             _triangle_step(base, height, "cm")]
    return Question(p("The shaded triangle is drawn on a grid of 1-cm squares.", "Find its area."),
                    [Part(key=num(triangle_area(base, height)), unit="cm\u00b2")], [fig],
                    Solution(steps, [triangle_area(base, height)]))


def _circumference_step(pi, d, unit="cm", say="The circumference is \u03c0 \u00d7 diameter."):
    return Step(say, f"{_pi_value(pi)} {TIMES} {n(d)} = {qty(circumference(pi, d), unit)}")


def _circle_area_step(pi, r, unit="cm", say="The area of a circle is \u03c0 \u00d7 radius \u00d7 radius."):
    return Step(say, f"{_pi_value(pi)} {TIMES} {mul(r, r)} = {qty(circle_area(pi, r), SQ[unit])}")


# The choice is a one-step question: it stands early in a paper only.
@family("area.circle-choice", TOPIC, ["Q"], levels=(1, 2))
@family("area.circle", TOPIC, ["N"], levels=(1, 2, 3))
def circle(rng, level, slots):
    if slots[0].kind == "Q":
        if level == 3:
            raise ValueError("a circumference choice is too short for the end of a paper")
        pi = rng.choice([PI_7, PI_314])
        r = rng.choice([7, 14, 21]) if pi == PI_7 else rng.choice([5, 10, 20])
        c = circumference(pi, 2 * r)
        shown = _pi_value(pi)
        wrong = [(circumference(pi, r), f"uses the radius in place of the diameter: {shown} {TIMES} {r} = "
                                        f"{n(circumference(pi, r))}"),
                 (circle_area(pi, r), f"works out the area, {shown} {TIMES} {mul(r, r)} = "
                                      f"{n(circle_area(pi, r))}, not the circumference"),
                 (2 * r * 3, f"takes 3 for \u03c0, so works out 3 {TIMES} {2 * r} = {6 * r}")]
        part = choice(rng, qty(c, "cm"), [(qty(w, "cm"), slip) for w, slip in wrong],
                      prompt=f"A circle has a radius of {qty(r, 'cm')}. {_pi_text(pi)} "
                             "What is its circumference?")
        steps = [Step("The diameter is twice the radius.", f"{mul(2, r)} = {qty(2 * r, 'cm')}"),
                 _circumference_step(pi, 2 * r)]
        return Question("", [part], solution=Solution(steps, [qty(c, "cm")],
                                                      why=f"The circumference is {qty(c, 'cm')}."))
    if level == 1:
        case = rng.choice(["diameter", "radius", "circumference"])
        if case == "diameter":
            r = rng.randint(3, 25)
            fig = _figure(circle_svg(r, "cm"), f"A circle with its centre marked and a radius of {r} cm drawn")
            step = Step("The diameter goes right across the circle through its centre: it is twice the radius.",
                        f"{mul(2, r)} = {qty(2 * r, 'cm')}")
            return Question(p("The radius of the circle is shown. What is its diameter?"),
                            [Part(key=num(2 * r), unit="cm")], [fig], Solution([step], [2 * r]))
        if case == "radius":
            r = rng.randint(3, 25)
            fig = _figure(circle_svg(r, "cm", show="diameter"),
                          f"A circle with its centre marked and a diameter of {2 * r} cm drawn")
            step = Step("The radius goes from the centre to the edge: it is half the diameter.",
                        f"{2 * r} {DIV} 2 = {qty(r, 'cm')}")
            return Question(p("The diameter of the circle is shown. What is its radius?"),
                            [Part(key=num(r), unit="cm")], [fig], Solution([step], [r]))
        pi = rng.choice([PI_7, PI_314])
        d = rng.choice([7, 14, 21, 28, 35, 42, 49, 56, 70] if pi == PI_7 else [5, 10, 20, 30, 40, 50])
        fig = _figure(circle_svg(d / 2, "cm", show="diameter", label=f"{d} cm"),
                      f"A circle with its centre marked and a diameter of {d} cm drawn")
        return Question(p(f"Find the circumference of the circle. {_pi_text(pi)}"),
                        [Part(key=num(circumference(pi, d)), unit="cm")], [fig],
                        Solution([_circumference_step(pi, d)], [circumference(pi, d)]))
    if level == 2:
        # Radius or diameter shown; area or circumference asked; either value of pi.
        pi = rng.choice([PI_7, PI_314])
        r = rng.choice([7, 14, 21, 28]) if pi == PI_7 else rng.choice([2, 3, 4, 5, 6, 10, 20])
        shown = rng.choice(["radius", "diameter"])
        if shown == "radius":
            fig = _figure(circle_svg(r, "cm"), f"A circle with its centre marked and a radius of {r} cm drawn")
        else:
            fig = _figure(circle_svg(r, "cm", show="diameter", label=f"{2 * r} cm"),
                          f"A circle with its centre marked and a diameter of {2 * r} cm drawn")
        if rng.random() < 0.5:
            steps = [_circle_area_step(pi, r)]
            if shown == "diameter":
                steps.insert(0, Step("The radius is half the diameter.", f"{2 * r} {DIV} 2 = {qty(r, 'cm')}"))
            return Question(p(f"Find the area of the circle. {_pi_text(pi)}"),
                            [Part(key=num(circle_area(pi, r)), unit="cm\u00b2")], [fig],
                            Solution(steps, [circle_area(pi, r)]))
        steps = [_circumference_step(pi, 2 * r)]
        if shown == "radius":
            steps.insert(0, Step("The diameter is twice the radius.", f"{mul(2, r)} = {qty(2 * r, 'cm')}"))
        return Question(p(f"Find the circumference of the circle. {_pi_text(pi)}"),
                        [Part(key=num(circumference(pi, 2 * r)), unit="cm")], [fig],
                        Solution(steps, [circumference(pi, 2 * r)]))
    case = rng.choice(["area-from-circumference", "wheel", "radius-from-circumference"])
    if case == "wheel":
        d = rng.choice([35, 70, 140])
        turns = rng.choice([10, 20, 50, 100])
        person = names(rng, 1)[0]
        once = circumference(PI_7, d)
        dist_cm = once * turns
        steps = [_circumference_step(PI_7, d, say="In one turn, the bicycle moves forward the wheel's "
                                                  "circumference, \u03c0 \u00d7 diameter."),
                 Step(f"Multiply by the number of turns, {turns}.", f"{mul(once, turns)} = {qty(dist_cm, 'cm')}"),
                 Step("Change centimetres to metres: 100\u00a0cm = 1\u00a0m.",
                      f"{n(dist_cm)} {DIV} 100 = {qty(dist_cm / 100, 'm')}")]
        return Question(p(f"The wheel of {person}\u2019s bicycle has a diameter of {qty(d, 'cm')}.",
                          f"How far does the bicycle travel when the wheel turns {turns} times?",
                          f"Give your answer in metres. {_pi_text(PI_7)}"),
                        [Part(key=num(dist_cm / 100), unit="m")], solution=Solution(steps, [dist_cm / 100]))
    r = rng.choice([7, 14, 21])
    c = circumference(PI_7, 2 * r)
    back = [Step("The circumference is \u03c0 \u00d7 diameter, so work backwards: the diameter is the "
                 "circumference divided by \u03c0.", f"diameter = {n(c)} {DIV} {frac(22, 7)}"),
            Step(f"Dividing by {frac(22, 7)} is the same as multiplying by {frac(7, 22)}.",
                 f"{n(c)} {TIMES} {frac(7, 22)} = {qty(2 * r, 'cm')}")]
    if case == "radius-from-circumference":
        return Question(p(f"The circumference of a circle is {qty(c, 'cm')}. {_pi_text(PI_7)}",
                          "Find the diameter of the circle."),
                        [Part(key=num(2 * r), unit="cm")], solution=Solution(back, [2 * r]))
    steps = back + [Step("The radius is half the diameter.", f"{2 * r} {DIV} 2 = {qty(r, 'cm')}"),
                    _circle_area_step(PI_7, r)]
    return Question(p(f"The circumference of a circle is {qty(c, 'cm')}. {_pi_text(PI_7)}",
                      "Find the area of the circle."),
                    [Part(key=num(circle_area(PI_7, r)), unit="cm\u00b2")],
                    solution=Solution(steps, [circle_area(PI_7, r)]))


# Sizes whose arcs come out in whole numbers or short decimals under the
# stated pi; a semicircle's area needs a whole radius (key: pi, area asked).
SEMICIRCLE_DIAMETERS = {(PI_7, False): [7, 14, 21, 28, 35, 42], (PI_7, True): [14, 28, 42],
                        (PI_314, False): [4, 6, 8, 10, 12, 20, 30, 40],
                        (PI_314, True): [4, 8, 10, 20, 40]}
QUARTER_RADII = {PI_7: [7, 14, 21, 28], PI_314: [2, 4, 6, 8, 10, 20]}


@family("area.semicircle", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def semicircle(rng, level, slots):
    pi = rng.choice([PI_7, PI_314])
    d = rng.choice([14, 28, 42]) if pi == PI_7 else rng.choice([10, 20, 40])
    shown = _pi_value(pi)
    if len(slots) == 2 or level == 3:
        kind = rng.choice(["arch", "track", "square-quarter"])
        if kind == "square-quarter":
            # A square with a quarter circle drawn from one corner.
            s = d
            pts = [(0, 0), (s, 0), (s, s), (0, s)]
            frame = _Frame(pts, 190, 190)
            svg = Svg(frame.width, frame.height)
            po = [frame(q) for q in pts]
            svg.polygon(po, fill=svg.hatch(), width=2.2)
            r = s * frame.s
            x0, y0 = po[3]
            svg.path(f"M{x0:.2f},{y0:.2f} L{x0 + r:.2f},{y0:.2f} A{r:.2f},{r:.2f} 0 0 0 "
                     f"{x0:.2f},{y0 - r:.2f} Z", fill="#fff", width=2)
            _label_edge(svg, po[2], po[3], f"{n(s)} cm", po)
            fig = _figure(svg.render(), f"A square of side {s} cm with an unshaded quarter circle "
                          "drawn from its bottom left corner, reaching the two far sides; the rest is shaded")
            quarter = circle_area(pi, s) / 4
            text = p(f"The figure shows a square of side {qty(s, 'cm')}. A quarter circle with its centre at one "
                     f"corner of the square is drawn inside it. {_pi_text(pi)}")
            steps = [Step(f"The quarter circle's radius is the side of the square, {qty(s, 'cm')}. Its area is "
                          f"{QUARTER} of \u03c0 \u00d7 radius \u00d7 radius.",
                          f"{QUARTER} {TIMES} {shown} {TIMES} {mul(s, s)} = {qty(quarter, SQ['cm'])}"),
                     Step(f"The area of the square is side {TIMES} side.", f"{mul(s, s)} = {qty(s * s, SQ['cm'])}"),
                     Step("The shaded part is the square less the quarter circle.",
                          f"{sub(s * s, quarter)} = {qty(s * s - quarter, SQ['cm'])}")]
            if len(slots) == 2:
                steps[1].part = steps[2].part = 2
                return Question(text, [
                    Part(key=num(quarter), prompt="Find the area of the quarter circle.", unit="cm\u00b2"),
                    Part(key=num(s * s - quarter), prompt="Find the area of the shaded part.", unit="cm\u00b2")],
                    [fig], Solution(steps, [quarter, s * s - quarter]))
            return Question(text + p("Find the area of the shaded part."),
                            [Part(key=num(s * s - quarter), unit="cm\u00b2")], [fig],
                            Solution(steps, [s * s - quarter]))
        r = Fraction(d, 2)
        if kind == "arch":
            h = rng.choice([d // 2 + 3, d - 2, d + 4, 2 * d - 5])
            perimeter, area = arch_window(pi, d, h)
            unit = "cm"
            fig = _figure(semicircle_svg(d, unit, "arch", height=h, fill=LIGHT),
                          f"A window made of a rectangle {d} cm wide and {h} cm high with a semicircle on top; "
                          "a dashed line marks where they meet")
            text = p(f"A window is made of a rectangle {qty(d, 'cm')} wide and {qty(h, 'cm')} high with a "
                     f"semicircle on top, as shown. {_pi_text(pi)}")
            arc = circumference(pi, d) / 2
            per_steps = [Step(f"The curved top is half the circumference of a circle of diameter {qty(d, unit)}.",
                              f"{HALF} {TIMES} {shown} {TIMES} {d} = {qty(arc, unit)}"),
                         Step("The straight edges are the two sides and the bottom. The dashed line is inside "
                              "the window, so it is not part of the perimeter.",
                              f"{add(h, h, d)} = {qty(2 * h + d, unit)}"),
                         Step("Add the curved top and the straight edges.",
                              f"{add(arc, 2 * h + d)} = {qty(perimeter, unit)}")]
            split = _figure(semicircle_svg(d, unit, "arch", height=h, fill=LIGHT, split=True),
                            f"The window split along the dashed line into rectangle A, {d} cm by {h} cm, and "
                            f"semicircle B on top, with a radius of {n(r)} cm drawn")
            rect, half_circle = d * h, circle_area(pi, r) / 2
            area_steps = [Step(f"Split the window along the dashed line into rectangle A and semicircle B. "
                               f"A is {qty(d, unit)} by {qty(h, unit)}.", f"{mul(d, h)} = {qty(rect, SQ[unit])}",
                               figure=split),
                          Step(f"B is half a circle with radius {d} {DIV} 2 = {qty(r, unit)}. Its area is "
                               f"{HALF} {TIMES} \u03c0 {TIMES} radius {TIMES} radius.",
                               f"{HALF} {TIMES} {shown} {TIMES} {mul(r, r)} = {qty(half_circle, SQ[unit])}"),
                          Step("Add the areas of A and B.", f"{add(rect, half_circle)} = {qty(area, SQ[unit])}")]
        else:
            straight = rng.choice([2 * d, d + 10, 3 * d // 2])
            perimeter, area = running_track(pi, straight, d)
            unit = "m"
            fig = _figure(semicircle_svg(d, "m", "track", straight=straight, fill=LIGHT),
                          f"A figure of a rectangle {straight} m long and {d} m wide with a semicircle on each end; "
                          "dashed lines mark where they meet")
            text = p(f"A flower bed is made of a rectangle {qty(straight, 'm')} long and {qty(d, 'm')} wide with a "
                     f"semicircle at each end, as shown. {_pi_text(pi)}")
            whole = circumference(pi, d)
            per_steps = [Step(f"The two curved ends are halves of the same circle, of diameter {qty(d, unit)}. "
                              f"Together they make its whole circumference.",
                              f"{shown} {TIMES} {d} = {qty(whole, unit)}"),
                         Step("Add the two straight sides. The dashed lines are inside the flower bed, so they "
                              "are not part of the perimeter.",
                              f"{add(whole, straight, straight)} = {qty(perimeter, unit)}")]
            split = _figure(semicircle_svg(d, unit, "track", straight=straight, fill=LIGHT, split=True),
                            f"The flower bed split along the dashed lines into rectangle A, {straight} m by {d} m, "
                            f"and the two semicircular ends B and C, with a radius of {n(r)} m drawn in B")
            rect, circle_part = straight * d, circle_area(pi, r)
            area_steps = [Step(f"Split the flower bed along the dashed lines into rectangle A and the ends B and "
                               f"C. A is {qty(straight, unit)} by {qty(d, unit)}.",
                               f"{mul(straight, d)} = {qty(rect, SQ[unit])}", figure=split),
                          Step(f"B and C are the two halves of one circle with radius {d} {DIV} 2 = "
                               f"{qty(r, unit)}. Together their area is \u03c0 {TIMES} radius {TIMES} radius.",
                               f"{shown} {TIMES} {mul(r, r)} = {qty(circle_part, SQ[unit])}"),
                          Step("Add the areas of A, B and C.", f"{add(rect, circle_part)} = {qty(area, SQ[unit])}")]
        if len(slots) == 2:
            for step in area_steps:
                step.part = 2
            return Question(text, [
                Part(key=num(perimeter), prompt="Find the perimeter of the figure.", unit=unit),
                Part(key=num(area), prompt="Find the area of the figure.", unit=SQ[unit])], [fig],
                Solution(per_steps + area_steps, [perimeter, area]))
        what = rng.choice(["perimeter", "area"])
        return Question(text + p(f"Find the {what} of the figure."),
                        [Part(key=num(perimeter if what == "perimeter" else area),
                              unit=unit if what == "perimeter" else SQ[unit])], [fig],
                        Solution(per_steps if what == "perimeter" else area_steps,
                                 [perimeter if what == "perimeter" else area]))
    if rng.random() < 0.5:
        what = rng.choice(["perimeter", "curved", "area"])
        d = rng.choice(SEMICIRCLE_DIAMETERS[pi, what == "area"])
        fig = _figure(semicircle_svg(d, "cm"), f"A semicircle with its straight edge, the diameter, labelled {d} cm")
        asks = {"perimeter": "Find its perimeter.", "curved": "Find the length of its curved edge.",
                "area": "Find its area."}[what]
        key = {"perimeter": semicircle_perimeter(pi, d), "curved": circumference(pi, d) / 2,
               "area": circle_area(pi, Fraction(d, 2)) / 2}[what]
        arc = circumference(pi, d) / 2
        if what == "area":
            r = Fraction(d, 2)
            steps = [Step("The radius is half the diameter.", f"{d} {DIV} 2 = {qty(r, 'cm')}"),
                     Step(f"A semicircle is half a circle. Its area is {HALF} {TIMES} \u03c0 {TIMES} radius "
                          f"{TIMES} radius.", f"{HALF} {TIMES} {shown} {TIMES} {mul(r, r)} = {qty(key, SQ['cm'])}")]
        else:
            steps = [Step("The curved edge is half the circumference of a circle with the same diameter.",
                          f"{HALF} {TIMES} {shown} {TIMES} {d} = {qty(arc, 'cm')}")]
            if what == "perimeter":
                steps.append(Step("The perimeter also takes in the straight edge, the diameter.",
                                  f"{add(arc, d)} = {qty(key, 'cm')}"))
        return Question(p(f"The figure is a semicircle. {_pi_text(pi)}", asks),
                        [Part(key=num(key), unit="cm\u00b2" if what == "area" else "cm")], [fig],
                        Solution(steps, [key]))
    r = rng.choice(QUARTER_RADII[pi])
    fig = _figure(semicircle_svg(r, "cm", "quarter"),
                  "A quarter circle with a right angle at its centre; each of its two straight edges is "
                  f"labelled {r} cm")
    what = rng.choice(["area", "perimeter"])
    key = circle_area(pi, r) / 4 if what == "area" else quarter_perimeter(pi, r)
    if what == "area":
        steps = [Step(f"The straight edges are radii, so the radius is {qty(r, 'cm')}. A quarter circle's area is "
                      f"{QUARTER} {TIMES} \u03c0 {TIMES} radius {TIMES} radius.",
                      f"{QUARTER} {TIMES} {shown} {TIMES} {mul(r, r)} = {qty(key, SQ['cm'])}")]
    else:
        arc = circumference(pi, 2 * r) / 4
        steps = [Step(f"The curved edge is a quarter of the circumference of a circle with radius {qty(r, 'cm')}, "
                      f"so with diameter {mul(2, r)} = {qty(2 * r, 'cm')}.",
                      f"{QUARTER} {TIMES} {shown} {TIMES} {2 * r} = {qty(arc, 'cm')}"),
                 Step("Add the two straight edges, each a radius.", f"{add(arc, r, r)} = {qty(key, 'cm')}")]
    return Question(p(f"The figure is a quarter circle. {_pi_text(pi)}", f"Find its {what}."),
                    [Part(key=num(key), unit="cm\u00b2" if what == "area" else "cm")], [fig],
                    Solution(steps, [key]))


def _small_shape(rng, kind):
    """One option of area.greatest as (kind, values, area, perimeter, width,
    height); drawn later, when the scale shared by all four is known."""
    if kind == "square":
        side = rng.randint(4, 9)
        return kind, (side,), side * side, 4 * side, side, side
    if kind == "rectangle":
        l, b = rng.randint(5, 14), rng.randint(2, 7)
        return kind, (l, b), l * b, 2 * (l + b), l, b
    if kind == "triangle":
        b, h = rng.randint(6, 14), rng.randint(4, 10)
        if b * h % 2:
            h += 1
        return kind, (b, h, rng.randint(1, b - 1)), triangle_area(b, h), 0, b, h
    w, h = rng.randint(6, 12), rng.randint(5, 9)
    a, c = rng.randint(2, w - 3), rng.randint(2, h - 3)
    pts = l_shape(w, h, a, c)
    return kind, (w, h, a, c), polygon_area(pts), polygon_perimeter(pts), w, h


def _draw_small(shape, unit, scale):
    kind, v = shape[0], shape[1]
    if kind == "square":
        return (rectangle_svg(v[0], v[0], unit, square=True, scale=scale),
                f"a square of side {v[0]} {unit}")
    if kind == "rectangle":
        return (rectangle_svg(v[0], v[1], unit, scale=scale),
                f"a rectangle {v[0]} {unit} by {v[1]} {unit}")
    if kind == "triangle":
        return (triangle_svg(v[0], v[1], v[2], unit, scale=scale),
                f"a triangle with base {v[0]} {unit} and height {v[1]} {unit}")
    w, h, a, c = v
    labels = {4: f"{w} {unit}", 5: f"{h} {unit}", 0: f"{w - a} {unit}", 3: f"{h - c} {unit}"}
    return (polygon_svg(l_shape(w, h, a, c), labels, scale=scale),
            f"an L-shaped figure, a rectangle with its top right corner cut away, with bottom side {w} {unit}, "
            f"left side {h} {unit}, top side {w - a} {unit} and right side {h - c} {unit}")


def _small_area_work(shape, unit):
    """One line of working: a figure's area from the lengths it shows."""
    kind, v, area = shape[0], shape[1], shape[2]
    u2 = SQ[unit]
    if kind == "square":
        return f"{mul(v[0], v[0])} = {qty(area, u2)}"
    if kind == "rectangle":
        return f"{mul(v[0], v[1])} = {qty(area, u2)}"
    if kind == "triangle":
        return f"{HALF} {TIMES} {mul(v[0], v[1])} = {qty(area, u2)}"
    w, h, a, c = v
    return (f"{mul(w, h)} {MINUS} ({sub(w, w - a)}) {TIMES} ({sub(h, h - c)}) = "
            f"{sub(w * h, a * c)} = {qty(area, u2)}")


@family("area.greatest", TOPIC, ["Q"], levels=(1, 2, 3))
def greatest(rng, level, slots):
    unit = "cm"
    u2 = SQ[unit]
    kinds = {1: ["square", "rectangle", "rectangle", "rectangle"],
             2: ["square", "rectangle", "triangle", "triangle"],
             3: ["L", "L", "rectangle", "triangle"]}[level]
    want = rng.choice(["greatest", "smallest"])
    for _ in range(60):
        rng.shuffle(kinds)
        shapes = [_small_shape(rng, k) for k in kinds]
        areas = [s[2] for s in shapes]
        perims = [s[3] for s in shapes]
        order = sorted(areas, reverse=want == "greatest")
        best = order[0]
        trap = perims.index(max(perims) if want == "greatest" else min(p_ for p_ in perims if p_))
        # Four different areas; the answer close to the next best, so the
        # drawings (to one scale) cannot be compared by eye; and the figure
        # with the greatest (smallest) perimeter not the answer, so a pupil
        # who adds the sides is caught.
        if len(set(areas)) == 4 and max(order[:2]) <= Fraction(5, 4) * min(order[:2]) \
                and (level == 1 or trap != areas.index(best)):
            break
    else:
        raise ValueError("no four figures to compare")
    # One scale for all four, so the drawings compare as the figures do;
    # one picture with the figures named A to D, as on a printed paper.
    scale = min(min(120 / sh[4], 90 / sh[5]) for sh in shapes)
    drawn = [_draw_small(sh, unit, scale) for sh in shapes]
    fig = _figure(_side_by_side([d[0] for d in drawn], "ABCD"),
                  "Four figures drawn to the same scale: " + "; ".join(f"Figure {k}, {d[1]}"
                                                                        for k, d in zip("ABCD", drawn)))
    opts = [f"Figure {k}" for k in "ABCD"]
    right = opts[areas.index(best)]
    wrong = []
    for i, (o, sh) in enumerate(zip(opts, shapes)):
        if o == right:
            continue
        if i == trap and sh[3]:
            among = "of the four" if all(perims) else "of the figures whose sides are all given"
            slip = (f"works out perimeters instead of areas: its perimeter, {qty(sh[3], unit)}, is the {want} "
                    f"{among}, but its area is {qty(sh[2], u2)}")
        elif sh[0] == "triangle" and want == "greatest" and 2 * sh[2] > best:
            slip = (f"forgets to halve: {mul(sh[1][0], sh[1][1])} = {n(2 * sh[2])} would beat "
                    f"{qty(best, u2)}, but the triangle's area is half of it, {qty(sh[2], u2)}")
        else:
            slip = (f"is chosen by how {'big' if want == 'greatest' else 'small'} it looks, but its area is "
                    f"{qty(sh[2], u2)}, {'less' if want == 'greatest' else 'more'} than {qty(best, u2)}")
        wrong.append((o, slip))
    part = choice(rng, right, wrong, prompt=f"Which of these figures has the {want} area?")
    note = " All the angles in the L-shaped figures are right angles." if level == 3 else ""
    # One step for each kind of figure: the rectangles (and square) at once,
    # the triangles at once, each L-shape on its own.
    groups = []
    rects = [k for k, sh in zip("ABCD", shapes) if sh[0] in ("square", "rectangle")]
    tris = [k for k, sh in zip("ABCD", shapes) if sh[0] == "triangle"]
    line = lambda k: f"Figure {k}: {_small_area_work(shapes['ABCD'.index(k)], unit)}"
    if rects:
        groups.append(Step(f"The area of a rectangle is length {TIMES} breadth (side {TIMES} side for a square). "
                           f"Work out the area of {listing([f'Figure {k}' for k in rects])}.",
                           worklines([line(k) for k in rects])))
    if tris:
        groups.append(Step(f"The area of a triangle is {HALF} {TIMES} base {TIMES} height. Work out the area of "
                           f"{listing([f'Figure {k}' for k in tris])}.", worklines([line(k) for k in tris])))
    for k, sh in zip("ABCD", shapes):
        if sh[0] == "L":
            w, h, a, c = sh[1]
            groups.append(Step(f"Figure {k} is a rectangle {qty(w, unit)} by {qty(h, unit)} with a corner cut "
                               f"away. The corner is as wide as the bottom less the top, and as deep as the left "
                               "side less the right side. Take the corner's area from the whole "
                               "rectangle's.", line(k)))
    return Question(p(f"Figures A, B, C and D are drawn below.{note}"), [part], [fig],
                    Solution(groups, [right],
                             why=f"{right} has the {want} area, {qty(best, u2)}."))


def _side_by_side(svgs, captions):
    """Nests small drawings in one picture, two to a row, each captioned."""
    sizes = []
    for one in svgs:
        w = float(one.split('width="', 1)[1].split('"', 1)[0])
        h = float(one.split('height="', 1)[1].split('"', 1)[0])
        sizes.append((w, h))
    cell_w = max(w for w, _ in sizes)
    row_h = [max(sizes[i][1], sizes[i + 1][1]) + 26 for i in range(0, len(svgs), 2)]
    out = Svg(2 * cell_w + 20, sum(row_h))
    y = 0
    for i, (one, (w, h)) in enumerate(zip(svgs, sizes)):
        col = i % 2
        if col == 0 and i:
            y += row_h[i // 2 - 1]
        x = 10 + col * cell_w + (cell_w - w) / 2
        out.items.append(one.replace("<svg ", f'<svg x="{x:.1f}" y="{y + 22:.1f}" ', 1).strip())
        out.text(10 + col * cell_w + cell_w / 2, y + 18, f"Figure {captions[i]}", bold=True)
    return out.render()


@family("area.tiles", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def tiles(rng, level, slots):
    person = names(rng, 1)[0]
    tile = rng.choice([20, 25, 50]) if level == 2 else rng.choice([20, 25, 30, 40, 50])
    fl, fb = rng.sample([c for c in range(200, 501, 10) if c % tile == 0], 2)
    fl, fb = max(fl, fb), min(fl, fb)
    count = tiles_needed(fl, fb, tile)
    room = rng.choice(["kitchen floor", "bathroom wall", "patio", "classroom floor"])
    metres = lambda cm: qty(Fraction(cm, 100), "m")
    text = p(f"{person} wants to cover a rectangular {room} {metres(fl)} long and {metres(fb)} wide "
             f"with square tiles of side {qty(tile, 'cm')}, with no gaps or overlaps.")
    along, across = fl // tile, fb // tile
    steps = [Step("The tiles are measured in centimetres, so change the lengths to centimetres: "
                  "1\u00a0m = 100\u00a0cm.",
                  f"{metres(fl)} = {qty(fl, 'cm')}; {metres(fb)} = {qty(fb, 'cm')}"),
             Step("Find how many tiles fit along each side.",
                  f"along the length: {fl} {DIV} {tile} = {along}; along the width: {fb} {DIV} {tile} = {across}"),
             Step("The tiles make rows and columns: multiply.", f"{mul(along, across)} = {count} tiles")]
    if len(slots) == 2:
        price = rng.choice([2, 3, 4, 5])
        steps.append(Step(f"Each tile costs {money(price)}.", f"{mul(count, money(price))} = {money(count * price)}",
                          part=2))
        return Question(text + p(f"Each tile costs {money(price)}."),
                        [Part(key=num(count), prompt="How many tiles are needed?", unit="tiles"),
                         Part(key=num(count * price), prompt="How much do the tiles cost altogether?",
                              unit_before="$")], solution=Solution(steps, [count, count * price]))
    if level == 3:
        box = rng.choice([10, 12, 20, 25])
        boxes = -(-count // box)
        full, left = divmod(count, box)
        if not full:
            steps.append(Step(f"The tiles come in boxes of {box}, so one box holds all {count}.",
                              f"{count} is less than {box}, so 1 box"))
        elif left:
            steps.append(Step(f"The tiles come in boxes of {box}. {plural(full, 'box', 'boxes')} "
                              f"{'is' if full == 1 else 'are'} not enough, so one more box is needed for the {left} "
                              f"tiles left over.",
                              f"{count} {DIV} {box} = {full} remainder {left}, so {full} + 1 = {boxes} boxes"))
        else:
            steps.append(Step(f"The tiles come in boxes of {box}.", f"{count} {DIV} {box} = {boxes} boxes"))
        return Question(text + p(f"The tiles are sold in boxes of {box}.",
                                 "How many boxes must be bought?"),
                        [Part(key=num(boxes), unit="boxes")], solution=Solution(steps, [boxes]))
    return Question(text + p("How many tiles are needed?"), [Part(key=num(count), unit="tiles")],
                    solution=Solution(steps, [count]))
