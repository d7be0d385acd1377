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
from ..model import Figure, Part, Question, num
from ..svg import GREY, LIGHT, Svg, boxes_meet, text_box
from ..text import esc, frac, money, n, p

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


def _label_edge(svg, a, b, text, poly, gap=7, avoid=None):
    """Writes text beside the side a-b, outside the polygon poly (pixels).
    With avoid (a list of label boxes, added to), a label that would cover
    another slides along its side, then moves to the inside of the side."""
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
            if any(_crosses(e, glyphs) for e in zip(poly, poly[1:] + poly[:1])):
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


def polygon_svg(points, labels, fill="#fff", box=(320, 200), notes=(), scale=None):
    """A polygon (units, y down) with some sides labelled: labels maps a
    side's index (side i joins corner i to corner i + 1) to its text."""
    frame = _Frame(points, *box, scale=scale)
    svg = Svg(frame.width, frame.height)
    px = [frame(pt) for pt in points]
    svg.polygon(px, fill=fill, width=2.2)
    placed = []
    # Short sides first: they have the fewest places for a label.
    for i in sorted(labels, key=lambda i: math.dist(px[i], px[(i + 1) % len(px)])):
        _label_edge(svg, px[i], px[(i + 1) % len(px)], labels[i], px, avoid=placed)
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
                   straight=None):
    """The curved figures: a semicircle on its diameter, a quarter circle,
    an arch (rectangle with a semicircle on top) or a running track."""
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
    return svg.render()


def _figure(svg, alt):
    return Figure(svg, alt)


def _pi_text(pi):
    return f"Take \u03c0 = {frac(22, 7)}." if pi == PI_7 else "Take \u03c0 = 3.14."


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
                          f"A square of side {side} {unit}")
            what = case.split("-")[1]
            key = side * side if what == "area" else 4 * side
            return Question(p(f"Find the {what} of the square."),
                            [Part(key=num(key), unit=SQ[unit] if what == "area" else unit)], [fig])
        breadth = rng.randint(3, 12)
        length = breadth + rng.randint(2, 8)
        fig = _figure(rectangle_svg(length, breadth, unit),
                      f"A rectangle {length} {unit} long and {breadth} {unit} wide")
        key = length * breadth if case == "area" else 2 * (length + breadth)
        return Question(p(f"Find the {case} of the rectangle."),
                        [Part(key=num(key), unit=SQ[unit] if case == "area" else unit)], [fig])
    case = rng.choice(["square-from-perimeter", "shorter-breadth", "mixed-units"])
    if case == "square-from-perimeter":
        side = rng.randint(5, 15)
        return Question(p(f"A square has a perimeter of {4 * side} {unit}.", "Find its area."),
                        [Part(key=num(side * side), unit=SQ[unit])])
    if case == "shorter-breadth":
        length = rng.randint(10, 20)
        less = rng.randint(2, length - 4)
        what = rng.choice(["area", "perimeter"])
        key = length * (length - less) if what == "area" else 2 * (2 * length - less)
        return Question(p(f"A rectangle is {length} {unit} long.",
                          f"Its breadth is {less} {unit} shorter than its length.",
                          f"Find the {what} of the rectangle."),
                        [Part(key=num(key), unit=SQ[unit] if what == "area" else unit)])
    metres = rng.randint(2, 5)
    cm = rng.choice([20, 25, 30, 40, 50, 60, 75, 80])
    return Question(p(f"A rectangular table top is {metres} m long and {cm} cm wide.",
                      "Find its area in square centimetres."),
                    [Part(key=num(metres * 100 * cm), unit=SQ["cm"])])


def rectangle_options(rng, value, by):
    """A length-by-breadth pair with the given perimeter (by = "perimeter")
    or area, and three pairs that are the usual slips: one that swaps area
    and perimeter, one from a wrong rule (the whole perimeter taken as
    length + breadth, or the area halved), and one a side off."""
    def ok(pr):
        return 2 * (pr[0] + pr[1]) == value if by == "perimeter" else pr[0] * pr[1] == value

    def pairs_with_sum(total):
        return [(l, total - l) for l in range(total - 2, (total - 1) // 2, -1)
                if total - l >= 2 and l != total - l]

    def pairs_with_product(product):
        return [(l, product // l) for l in range(2, product) if product % l == 0 and l > product // l]

    if by == "perimeter":
        right = rng.choice(pairs_with_sum(value // 2))
        swapped, rule = pairs_with_product(value), pairs_with_sum(value)
    else:
        right = rng.choice(pairs_with_product(value))
        swapped, rule = pairs_with_sum(value // 2), pairs_with_product(value // 2)
    off = [(right[0] + 1, right[1]), (right[0], right[1] + 1), (right[0] + 1, right[1] - 1)]
    picked = []
    for pool in (swapped, rule, off):
        pool = [pr for pr in pool if not ok(pr) and pr not in picked and pr[1] >= 1]
        if not pool:
            raise ValueError("too few slips")
        picked.append(rng.choice(pool))
    return right, picked


def _rectangle_choice(rng, level, unit):
    by = rng.choice(["perimeter", "area"])
    value = rng.choice([20, 24, 28, 30, 32, 36, 40]) if by == "perimeter" else rng.choice(
        [24, 30, 36, 40, 42, 48, 56, 60, 72])
    right, wrong = rectangle_options(rng, value, by)
    show = lambda pr: f"{pr[0]} {unit} by {pr[1]} {unit}"
    amount = f"{value} {unit}" if by == "perimeter" else f"{value} {SQ[unit]}"
    part = choice(rng, show(right), [show(w) for w in wrong],
                  prompt=f"A rectangle has {'a perimeter' if by == 'perimeter' else 'an area'} of "
                         f"{amount}. Which of these could be its length and breadth?")
    return Question("", [part])


@family("area.missing-side", TOPIC, ["N", ("N", "N")], levels=(1, 2, 3))
def missing_side(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    if len(slots) == 2:
        breadth = rng.randint(4, 12)
        length = breadth + rng.randint(3, 10)
        person = names(rng, 1)[0]
        what = rng.choice(["garden", "poster", "mat"])
        unit = "m" if what == "garden" else "cm"
        text = p(f"{person}\u2019s rectangular {what} has a perimeter of {2 * (length + breadth)} {unit}.",
                 f"Its length is {length} {unit}.")
        return Question(text, [Part(key=num(breadth), prompt=f"What is the breadth of the {what}?", unit=unit),
                               Part(key=num(length * breadth), prompt=f"What is the area of the {what}?",
                                    unit=SQ[unit])])
    if level == 1:
        breadth = rng.randint(3, 12)
        length = breadth + rng.randint(2, 9)
        if rng.random() < 0.5:
            fig = _figure(rectangle_svg(length, breadth, unit, hide="breadth",
                                        inside=f"Area = {length * breadth} {SQ[unit]}"),
                          f"A rectangle of area {length * breadth} {SQ[unit]} and length {length} {unit}")
            return Question(p("The area of the rectangle is shown. Find its breadth."),
                            [Part(key=num(breadth), unit=unit)], [fig])
        side = rng.randint(4, 15)
        return Question(p(f"A square has a perimeter of {4 * side} {unit}.", "Find the length of one side."),
                        [Part(key=num(side), unit=unit)])
    if level == 2:
        if rng.random() < 0.5:
            breadth = rng.randint(4, 14)
            length = breadth + rng.randint(2, 12)
            fig = _figure(rectangle_svg(length, breadth, unit, hide="breadth",
                                        inside=f"Perimeter = {2 * (length + breadth)} {unit}"),
                          f"A rectangle of perimeter {2 * (length + breadth)} {unit} and length {length} {unit}")
            return Question(p("The perimeter of the rectangle is shown. Find its breadth."),
                            [Part(key=num(breadth), unit=unit)], [fig])
        side = rng.randint(4, 12)
        return Question(p(f"A square has an area of {side * side} {SQ[unit]}.", "Find its perimeter."),
                        [Part(key=num(4 * side), unit=unit)])
    case = rng.choice(["wire", "same-area", "same-perimeter"])
    if case == "wire":
        times = rng.randint(2, 4)
        breadth = rng.randint(3, 9)
        wire = 2 * breadth * (times + 1)
        times_word = {2: "twice", 3: "three times", 4: "four times"}[times]
        return Question(p(f"A piece of wire {wire} cm long is bent to form a rectangle.",
                          f"The length of the rectangle is {times_word} its breadth.",
                          "Find the area of the rectangle."),
                        [Part(key=num(times * breadth * breadth), unit=SQ["cm"])])
    if case == "same-area":
        side = rng.choice([6, 8, 10, 12, 9])
        length = rng.choice([l for l in range(side + 1, side * side) if side * side % l == 0 and side * side // l > 1])
        return Question(p(f"A rectangle has the same area as a square of side {side} {unit}.",
                          f"The length of the rectangle is {length} {unit}.",
                          "Find the perimeter of the rectangle."),
                        [Part(key=num(2 * (length + side * side // length)), unit=unit)])
    side = rng.randint(6, 14)
    breadth = rng.randint(2, side - 1)
    return Question(p(f"A rectangle has the same perimeter as a square of side {side} {unit}.",
                      f"The breadth of the rectangle is {breadth} {unit}.",
                      "Find the area of the rectangle."),
                    [Part(key=num((2 * side - breadth) * breadth), unit=SQ[unit])])


def _composite(rng, level):
    """A rectilinear figure, its labels and its name. Returns (points,
    labels, fully_labelled) where labels give every length the area needs;
    the perimeter may need sides worked out from others."""
    shape = rng.choice(["L", "L", "T", "U", "step"]) if level == 3 else "L"
    if shape == "L":
        w, h = rng.randint(10, 20), rng.randint(8, 16)
        a, b = rng.randint(3, w - 4), rng.randint(3, h - 3)
        pts = l_shape(w, h, a, b)
        # Sides: 0 top, 1 notch down, 2 notch across, 3 right, 4 bottom, 5 left.
        if level == 2 and rng.random() < 0.5:
            labels = {4: w, 5: h, 1: b, 2: a}
        else:
            labels = {4: w, 5: h, 0: w - a, 3: h - b}
        return pts, labels, "L"
    if shape == "T":
        w, h1 = rng.randint(12, 20), rng.randint(3, 6)
        s, h2 = rng.randint(3, 6), rng.randint(5, 12)
        x = rng.randint(2, w - s - 2)
        pts = t_shape(w, h1, s, h2, x)
        # Sides: 0 top, 1 bar right, 4 stem bottom, 3 stem right, 7 bar left.
        return pts, {0: w, 7: h1, 4: s, 3: h2}, "T"
    if shape == "U":
        w, h = rng.randint(12, 20), rng.randint(9, 16)
        a, b = rng.randint(4, w - 6), rng.randint(3, h - 4)
        x = rng.randint(2, w - a - 2)
        pts = u_shape(w, h, a, b, x)
        # Sides: 2 gap bottom, 1 gap left side, 6 bottom, 7 left.
        return pts, {6: w, 7: h, 2: a, 1: b}, "U"
    widths = [rng.randint(3, 7) for _ in range(3)]
    h3 = rng.randint(2, 5)
    h2 = h3 + rng.randint(2, 4)
    h1 = h2 + rng.randint(2, 4)
    pts = step_shape(widths, [h1, h2, h3])
    # Sides: 0, 2, 4 the step tops; 1, 3 the risers; 5 right; 6 bottom; 7 left.
    return pts, {0: widths[0], 2: widths[1], 4: widths[2], 1: h1 - h2, 3: h2 - h3, 7: h1}, "step"


@family("area.composite", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def composite(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    pts, labels, shape = _composite(rng, level)
    area, perimeter = polygon_area(pts), polygon_perimeter(pts)
    text = {k: f"{n(v)} {unit}" for k, v in labels.items()}
    fig = _figure(polygon_svg(pts, text, fill=LIGHT),
                  f"A figure made of rectangles, with sides of {', '.join(text.values())}")
    intro = p(f"The figure is made up of rectangles. {RIGHT_ANGLES}")
    if len(slots) == 2:
        return Question(intro, [Part(key=num(area), prompt="Find the area of the figure.", unit=SQ[unit]),
                                Part(key=num(perimeter), prompt="Find the perimeter of the figure.", unit=unit)],
                        [fig])
    what = rng.choice(["area", "perimeter"])
    key = area if what == "area" else perimeter
    return Question(intro + p(f"Find the {what} of the figure."),
                    [Part(key=num(key), unit=SQ[unit] if what == "area" else unit)], [fig])


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


# The choice is a one-step question: it stands early in a paper only.
@family("area.triangle-choice", TOPIC, ["Q"], levels=(1, 2))
@family("area.triangle", TOPIC, ["N"], levels=(1, 2, 3))
def triangle(rng, level, slots):
    unit = rng.choice(["cm", "m"])
    if slots[0].kind == "Q":
        if level == 3:
            raise ValueError("a one-step choice is too short for the end of a paper")
        area = rng.choice([12, 18, 20, 24, 30, 36, 40])
        pairs = [(b, 2 * area // b) for b in range(3, 2 * area) if 2 * area % b == 0 and 2 * area // b >= 3]
        right = rng.choice(pairs)
        wrong = {(b, area // b) for b in range(3, area) if area % b == 0 and area // b >= 2}
        wrong |= {(right[0] + 2, right[1]), (right[0], right[1] - 1), (right[0] * 2, right[1] * 2)}
        wrong = [w for w in wrong if w[0] * w[1] != 2 * area and w[1] > 0]
        if len(wrong) < 3:
            raise ValueError("too few slips")
        show = lambda pr: f"base {pr[0]} {unit}, height {pr[1]} {unit}"
        part = choice(rng, show(right), [show(w) for w in rng.sample(sorted(wrong), 3)],
                      prompt=f"A triangle has an area of {area} {SQ[unit]}. "
                             "Which of these could be its base and height?")
        return Question("", [part])
    if level == 1:
        base, height, apex = _triangle_values(rng, obtuse=False)
        fig = _figure(triangle_svg(base, height, apex, unit),
                      f"A triangle with base {base} {unit} and height {height} {unit}")
        return Question(p("Find the area of the triangle."),
                        [Part(key=num(triangle_area(base, height)), unit=SQ[unit])], [fig])
    if level == 2:
        if rng.random() < 0.5:
            base, height, apex = _triangle_values(rng, obtuse=True)
            fig = _figure(triangle_svg(base, height, apex, unit),
                          f"An obtuse triangle with base {base} {unit} and height {height} {unit} "
                          "drawn outside it")
            return Question(p("Find the area of the triangle. The dashed line shows its height."),
                            [Part(key=num(triangle_area(base, height)), unit=SQ[unit])], [fig])
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
        return Question(p("The figure shows a rectangle. Its top side touches the top corner of the "
                          f"shaded triangle.", f"Find the area of the {what} part of the rectangle."),
                        [Part(key=num(triangle_area(w, h)), unit=SQ[unit])], [fig])
    base, height, apex = _triangle_values(rng, obtuse=rng.random() < 0.5)
    area = triangle_area(base, height)
    if rng.random() < 0.5:
        fig = _figure(triangle_svg(base, height, apex, unit,
                                   show={"base": f"{n(base)} {unit}", "height": "?"}),
                      f"A triangle with base {base} {unit} and an unknown height")
        return Question(p(f"The area of the triangle is {n(area)} {SQ[unit]}.", "Find its height."),
                        [Part(key=num(height), unit=unit)], [fig])
    fig = _figure(triangle_svg(base, height, apex, unit,
                               show={"base": "?", "height": f"{n(height)} {unit}"}),
                  f"A triangle with height {height} {unit} and an unknown base")
    return Question(p(f"The area of the triangle is {n(area)} {SQ[unit]}.", "Find the length of its base."),
                    [Part(key=num(base), unit=unit)], [fig])


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
        return Question(p("A small rectangle is cut out of a bigger rectangle, as shown.",
                          "Find the area of the shaded part."),
                        [Part(key=num(l * b - hl * hb), unit=u2)], [fig])
    w, h = rng.randint(10, 20), rng.randint(6, 14)
    outer = [(0, 0), (w, 0), (w, h), (0, h)]
    frame = _Frame(outer, 300, 180)
    svg = Svg(frame.width, frame.height)
    po = [frame(q) for q in outer]
    svg.polygon(po, fill=svg.hatch(), width=2.2)
    if case == "triangle-cut":
        # A right-angled triangle cut from the bottom-left corner.
        tb, th = rng.randint(3, w - 3), rng.randint(2, h - 2)
        if tb * th % 2:
            tb = tb - 1 if tb > 3 else tb + 1
        tri = [frame((0, h)), frame((tb, h)), frame((0, h - th))]
        svg.polygon(tri, fill="#fff", width=2)
        # The triangle's sides are labelled outside the rectangle, below and
        # left of the corner, where a small triangle has no room inside; the
        # rectangle's own sides are then labelled at the top and the right.
        svg.text((tri[0][0] + tri[1][0]) / 2, tri[0][1] + 18, f"{n(tb)} {unit}")
        svg.text(tri[0][0] - 7, (tri[0][1] + tri[2][1]) / 2 + 5, f"{n(th)} {unit}", anchor="end")
        cut = triangle_area(tb, th)
        what = "a right-angled triangle is cut from one corner of a rectangle"
        alt = f"a white right-angled triangle with sides {tb} {unit} and {th} {unit} at one corner"
    else:
        # Two triangles on the top and bottom sides meeting at one point.
        x = rng.randint(2, w - 2)
        mid = rng.randint(2, h - 2)
        top = [frame((0, 0)), frame((w, 0)), frame((x, mid))]
        bottom = [frame((0, h)), frame((w, h)), frame((x, mid))]
        svg.polygon(top, fill="#fff", width=2)
        svg.polygon(bottom, fill="#fff", width=2)
        cut = triangle_area(w, mid) + triangle_area(w, h - mid)
        what = ("the two unshaded triangles have the top and bottom sides of the rectangle as their "
                "bases, and their top corners meet at one point inside the rectangle")
        alt = "two white triangles whose bases are the top and bottom sides and whose tips meet"
    if case == "triangle-cut":
        _label_edge(svg, po[0], po[1], f"{n(w)} {unit}", po)
    else:
        _label_edge(svg, po[2], po[3], f"{n(w)} {unit}", po)
    _label_edge(svg, po[1], po[2], f"{n(h)} {unit}", po)
    fig = _figure(svg.render(), f"A shaded rectangle {w} {unit} by {h} {unit} with {alt}")
    total = w * h
    shaded_area = total - cut
    if len(slots) == 2:
        return Question(p(f"In the figure, {what}. The triangle is unshaded."),
                        [Part(key=num(cut), prompt="Find the area of the unshaded part.", unit=u2),
                         Part(key=num(shaded_area), prompt="Find the area of the shaded part.", unit=u2)],
                        [fig])
    return Question(p(f"In the figure, {what}.", "Find the area of the shaded part."),
                    [Part(key=num(shaded_area), unit=u2)], [fig])


def _path_svg(length, breadth, width, inside=False, crossing=False):
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
    if case == "around":
        area = path_around(length, breadth, width)
        fig = _figure(_path_svg(length, breadth, width),
                      f"A {place} {length} m by {breadth} m with a shaded path {width} m wide around it")
        text = p(f"A rectangular {place} {length} m long and {breadth} m wide has a path {width} m wide "
                 "all round it, as shown by the shaded part.")
    elif case == "inside":
        length, breadth = max(length, breadth) + 2, min(length, breadth) + 2
        area = path_inside(length, breadth, width)
        fig = _figure(_path_svg(length, breadth, width, inside=True),
                      f"A room {length} m by {breadth} m with a shaded border {width} m wide along its walls")
        text = p(f"A rectangular carpet is laid in a room {length} m long and {breadth} m wide, leaving a "
                 f"border {width} m wide all round it, as shown by the shaded part.")
    else:
        length, breadth = max(length, breadth) + 4, min(length, breadth) + 4
        area = crossing_paths(length, breadth, width)
        fig = _figure(_path_svg(length, breadth, width, crossing=True),
                      f"A field {length} m by {breadth} m with two shaded paths {width} m wide crossing it")
        text = p(f"Two paths, each {width} m wide, cross a rectangular field {length} m long and "
                 f"{breadth} m wide, as shown by the shaded part.")
    what = {"around": "path", "inside": "border", "crossing": "paths"}[case]
    if len(slots) == 2:
        price = rng.choice([5, 6, 8, 12, 15, 20, 25])
        return Question(text + p(f"{person} pays {money(price)} for each square metre of paving laid on the "
                                 f"{what}."),
                        [Part(key=num(area), prompt=f"Find the area of the {what}.", unit=SQ["m"]),
                         Part(key=num(area * price), prompt="How much does the paving cost?", unit_before="$")],
                        [fig])
    if level == 3 and case == "around" and rng.random() < 0.5:
        key = 2 * (length + 2 * width + breadth + 2 * width)
        return Question(text + p(f"{person} puts a fence along the outer edge of the path.",
                                 "How long is the fence?"),
                        [Part(key=num(key), unit="m")], [fig])
    if level == 3 and case == "inside" and rng.random() < 0.5:
        return Question(text + p("Find the area of the carpet."),
                        [Part(key=num(length * breadth - area), unit=SQ["m"])], [fig])
    return Question(text + p(f"Find the area of the {what}."), [Part(key=num(area), unit=SQ["m"])], [fig])


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


@family("area.grid", TOPIC, ["N"], levels=(1, 2))
def grid(rng, level, slots):
    if level == 1:
        cells = _grid_figure(rng, rng.randint(7, 13))
        area, perimeter = grid_area_perimeter(cells)
        what = rng.choice(["area", "perimeter"])
        fig = _figure(grid_svg(cells), f"A shaded figure of {area} whole squares on a grid of 1-cm squares")
        return Question(p("The shaded figure is drawn on a grid of 1-cm squares.", f"Find its {what}."),
                        [Part(key=num(area if what == "area" else perimeter),
                              unit="cm\u00b2" if what == "area" else "cm")], [fig])
    if rng.random() < 0.5:
        side = rng.choice([2, 3])
        cells = _grid_figure(rng, rng.randint(6, 10))
        area, perimeter = grid_area_perimeter(cells)
        what = rng.choice(["area", "perimeter"])
        fig = _figure(grid_svg(cells), f"A shaded figure of {area} whole squares on a grid")
        key = area * side * side if what == "area" else perimeter * side
        return Question(p(f"The shaded figure is drawn on a grid of squares. Each square has sides of "
                          f"{side} cm.", f"Find the {what} of the figure."),
                        [Part(key=num(key), unit="cm\u00b2" if what == "area" else "cm")], [fig])
    base = rng.randint(3, 7)
    height = rng.randint(2, 5)
    if base * height % 2:
        base = base + 1 if base < 7 else base - 1
    left = rng.randint(0, 7 - base)
    apex = rng.randint(max(0, left - 1), min(8, left + base + 1))
    bottom = 5
    tri = [(left, bottom), (left + base, bottom), (apex, bottom - height)]
    fig = _figure(grid_svg(polygon=tri), f"A shaded triangle on a grid of 1-cm squares, its base "
                  f"{base} squares long and its top corner {height} squares above the base")
    return Question(p("The shaded triangle is drawn on a grid of 1-cm squares.", "Find its area."),
                    [Part(key=num(triangle_area(base, height)), unit="cm\u00b2")], [fig])


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
        wrong = [circumference(pi, r), circle_area(pi, r), circumference(pi, 4 * r), 2 * r * 3]
        wrong = [w for w in wrong if w != c]
        part = choice(rng, f"{n(c)} cm", [f"{n(w)} cm" for w in wrong[:3]],
                      prompt=f"A circle has a radius of {r} cm. {_pi_text(pi)} "
                             "What is its circumference?")
        return Question("", [part])
    if level == 1:
        case = rng.choice(["diameter", "radius", "circumference"])
        if case == "diameter":
            r = rng.randint(3, 25)
            fig = _figure(circle_svg(r, "cm"), f"A circle with radius {r} cm")
            return Question(p("The radius of the circle is shown. What is its diameter?"),
                            [Part(key=num(2 * r), unit="cm")], [fig])
        if case == "radius":
            r = rng.randint(3, 25)
            fig = _figure(circle_svg(r, "cm", show="diameter"), f"A circle with diameter {2 * r} cm")
            return Question(p("The diameter of the circle is shown. What is its radius?"),
                            [Part(key=num(r), unit="cm")], [fig])
        pi = rng.choice([PI_7, PI_314])
        d = rng.choice([7, 14, 21, 28, 35, 42, 49, 56, 70] if pi == PI_7 else [5, 10, 20, 30, 40, 50])
        fig = _figure(circle_svg(d / 2, "cm", show="diameter", label=f"{d} cm"), f"A circle with diameter {d} cm")
        return Question(p(f"Find the circumference of the circle. {_pi_text(pi)}"),
                        [Part(key=num(circumference(pi, d)), unit="cm")], [fig])
    if level == 2:
        # Radius or diameter shown; area or circumference asked; either value of pi.
        pi = rng.choice([PI_7, PI_314])
        r = rng.choice([7, 14, 21, 28]) if pi == PI_7 else rng.choice([2, 3, 4, 5, 6, 10, 20])
        shown = rng.choice(["radius", "diameter"])
        if shown == "radius":
            fig = _figure(circle_svg(r, "cm"), f"A circle with radius {r} cm")
        else:
            fig = _figure(circle_svg(r, "cm", show="diameter", label=f"{2 * r} cm"),
                          f"A circle with diameter {2 * r} cm")
        if rng.random() < 0.5:
            return Question(p(f"Find the area of the circle. {_pi_text(pi)}"),
                            [Part(key=num(circle_area(pi, r)), unit="cm\u00b2")], [fig])
        return Question(p(f"Find the circumference of the circle. {_pi_text(pi)}"),
                        [Part(key=num(circumference(pi, 2 * r)), unit="cm")], [fig])
    case = rng.choice(["area-from-circumference", "wheel", "radius-from-circumference"])
    if case == "wheel":
        d = rng.choice([35, 70, 140])
        turns = rng.choice([10, 20, 50, 100])
        person = names(rng, 1)[0]
        dist_cm = circumference(PI_7, d) * turns
        return Question(p(f"The wheel of {person}\u2019s bicycle has a diameter of {d} cm.",
                          f"How far does the bicycle travel when the wheel turns {turns} times?",
                          f"Give your answer in metres. {_pi_text(PI_7)}"),
                        [Part(key=num(dist_cm / 100), unit="m")])
    r = rng.choice([7, 14, 21])
    c = circumference(PI_7, 2 * r)
    if case == "radius-from-circumference":
        return Question(p(f"The circumference of a circle is {n(c)} cm. {_pi_text(PI_7)}",
                          "Find the diameter of the circle."),
                        [Part(key=num(2 * r), unit="cm")])
    return Question(p(f"The circumference of a circle is {n(c)} cm. {_pi_text(PI_7)}",
                      "Find the area of the circle."),
                    [Part(key=num(circle_area(PI_7, r)), unit="cm\u00b2")])


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
                          "drawn from one corner; the rest is shaded")
            quarter = circle_area(pi, s) / 4
            text = p(f"The figure shows a square of side {s} cm. A quarter circle with its centre at one "
                     f"corner of the square is drawn inside it. {_pi_text(pi)}")
            if len(slots) == 2:
                return Question(text, [
                    Part(key=num(quarter), prompt="Find the area of the quarter circle.", unit="cm\u00b2"),
                    Part(key=num(s * s - quarter), prompt="Find the area of the shaded part.", unit="cm\u00b2")],
                    [fig])
            return Question(text + p("Find the area of the shaded part."),
                            [Part(key=num(s * s - quarter), unit="cm\u00b2")], [fig])
        if kind == "arch":
            h = rng.choice([d // 2 + 3, d - 2, d + 4, 2 * d - 5])
            perimeter, area = arch_window(pi, d, h)
            fig = _figure(semicircle_svg(d, "cm", "arch", height=h, fill=LIGHT),
                          f"A window made of a rectangle {d} cm wide and {h} cm high with a semicircle on top")
            text = p(f"A window is made of a rectangle {d} cm wide and {h} cm high with a semicircle on top, "
                     f"as shown. {_pi_text(pi)}")
        else:
            straight = rng.choice([2 * d, d + 10, 3 * d // 2])
            perimeter, area = running_track(pi, straight, d)
            fig = _figure(semicircle_svg(d, "m", "track", straight=straight, fill=LIGHT),
                          f"A figure of a rectangle {straight} m by {d} m with a semicircle on each end")
            text = p(f"A flower bed is made of a rectangle {straight} m long and {d} m wide with a semicircle "
                     f"at each end, as shown. {_pi_text(pi)}")
        unit = "m" if kind == "track" else "cm"
        if len(slots) == 2:
            return Question(text, [
                Part(key=num(perimeter), prompt="Find the perimeter of the figure.", unit=unit),
                Part(key=num(area), prompt="Find the area of the figure.", unit=SQ[unit])], [fig])
        what = rng.choice(["perimeter", "area"])
        return Question(text + p(f"Find the {what} of the figure."),
                        [Part(key=num(perimeter if what == "perimeter" else area),
                              unit=unit if what == "perimeter" else SQ[unit])], [fig])
    if rng.random() < 0.5:
        what = rng.choice(["perimeter", "curved", "area"])
        d = rng.choice(SEMICIRCLE_DIAMETERS[pi, what == "area"])
        fig = _figure(semicircle_svg(d, "cm"), f"A semicircle with diameter {d} cm")
        asks = {"perimeter": "Find its perimeter.", "curved": "Find the length of its curved edge.",
                "area": "Find its area."}[what]
        key = {"perimeter": semicircle_perimeter(pi, d), "curved": circumference(pi, d) / 2,
               "area": circle_area(pi, Fraction(d, 2)) / 2}[what]
        return Question(p(f"The figure is a semicircle. {_pi_text(pi)}", asks),
                        [Part(key=num(key), unit="cm\u00b2" if what == "area" else "cm")], [fig])
    r = rng.choice(QUARTER_RADII[pi])
    fig = _figure(semicircle_svg(r, "cm", "quarter"), f"A quarter circle of radius {r} cm")
    what = rng.choice(["area", "perimeter"])
    key = circle_area(pi, r) / 4 if what == "area" else quarter_perimeter(pi, r)
    return Question(p(f"The figure is a quarter circle. {_pi_text(pi)}", f"Find its {what}."),
                    [Part(key=num(key), unit="cm\u00b2" if what == "area" else "cm")], [fig])


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
                f"A square of side {v[0]} {unit}")
    if kind == "rectangle":
        return (rectangle_svg(v[0], v[1], unit, scale=scale),
                f"A rectangle {v[0]} {unit} by {v[1]} {unit}")
    if kind == "triangle":
        return (triangle_svg(v[0], v[1], v[2], unit, scale=scale),
                f"A triangle with base {v[0]} {unit} and height {v[1]} {unit}")
    w, h, a, c = v
    labels = {4: f"{w} {unit}", 5: f"{h} {unit}", 0: f"{w - a} {unit}", 3: f"{h - c} {unit}"}
    return (polygon_svg(l_shape(w, h, a, c), labels, scale=scale),
            f"An L-shaped figure with sides {w}, {h}, {w - a} and {h - c} {unit}")


@family("area.greatest", TOPIC, ["Q"], levels=(1, 2, 3))
def greatest(rng, level, slots):
    unit = "cm"
    kinds = {1: ["square", "rectangle", "rectangle", "rectangle"],
             2: ["square", "rectangle", "triangle", "triangle"],
             3: ["L", "L", "rectangle", "triangle"]}[level]
    want = rng.choice(["greatest", "smallest"])
    shapes = [_small_shape(rng, k) for k in kinds]
    areas = [s[2] for s in shapes]
    if len(set(areas)) < 4:
        raise ValueError("two figures have the same area")
    best = max(areas) if want == "greatest" else min(areas)
    # The figure with the greatest perimeter is not the answer, so a pupil
    # who adds the sides is caught.
    perims = [s[3] for s in shapes]
    if level > 1 and perims.index(max(perims)) == areas.index(best):
        raise ValueError("the perimeter would give the same answer")
    # One scale for all four, so the drawings compare as the figures do;
    # one picture with the figures named A to D, as on a printed paper.
    scale = min(min(120 / sh[4], 90 / sh[5]) for sh in shapes)
    drawn = [_draw_small(sh, unit, scale) for sh in shapes]
    fig = _figure(_side_by_side([d[0] for d in drawn], "ABCD"),
                  "; ".join(f"Figure {k}: {d[1]}" for k, d in zip("ABCD", drawn)))
    opts = [f"Figure {k}" for k in "ABCD"]
    right = opts[areas.index(best)]
    part = choice(rng, right, [o for o in opts if o != right],
                  prompt=f"Which of these figures has the {want} area?")
    note = " All the angles in the L-shaped figures are right angles." if level == 3 else ""
    return Question(p(f"Figures A, B, C and D are drawn below.{note}"), [part], [fig])


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
    metres = lambda cm: n(Fraction(cm, 100))
    text = p(f"{person} wants to cover a rectangular {room} {metres(fl)} m long and {metres(fb)} m wide "
             f"with square tiles of side {tile} cm, with no gaps or overlaps.")
    if len(slots) == 2:
        price = rng.choice([2, 3, 4, 5])
        return Question(text + p(f"Each tile costs {money(price)}."),
                        [Part(key=num(count), prompt="How many tiles are needed?", unit="tiles"),
                         Part(key=num(count * price), prompt="How much do the tiles cost altogether?",
                              unit_before="$")])
    if level == 3:
        box = rng.choice([10, 12, 20, 25])
        boxes = -(-count // box)
        return Question(text + p(f"The tiles are sold in boxes of {box}.",
                                 "How many boxes must be bought?"),
                        [Part(key=num(boxes), unit="boxes")])
    return Question(text + p("How many tiles are needed?"), [Part(key=num(count), unit="tiles")])
