"""Topic 5: Volume.

Each family draws its values, draws its solid or container from those same
values (edges to one scale, depth drawn at 45 degrees and halved, as in
textbooks) and computes the key with a solver below; the solvers are tested
against worked examples in tests/test_volume.py. 1 cm\u00b3 = 1 m\u2113 and
1 \u2113 = 1000 cm\u00b3 throughout.
"""

import math
from fractions import Fraction
from functools import lru_cache

from ..contexts import names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, fraction_key, num
from ..svg import GREY, LIGHT, Svg, text_box
from ..text import DIV, MINUS, NBSP, TIMES, frac, n, p, plural
from .area_perimeter import add, mul, one_slip_each, qty, sub, worklines

TOPIC = 5
CM3 = "cm\u00b3"
L = "\u2113"
ML = "m\u2113"
SQ = "cm\u00b2"
DEPTH = 0.3536          # a depth edge is drawn half its length, at 45 degrees


# ---------------------------------------------------------------- solvers

def cuboid_volume(length, breadth, height):
    return Fraction(length) * breadth * height


def litres(cm3):
    return Fraction(cm3) / 1000


def tank_litres(length, breadth, depth):
    """Litres in a tank of that base filled to that depth (all in cm),
    refused when it needs more than two decimal places."""
    return short_decimal(litres(cuboid_volume(length, breadth, depth)), 2)


def water_height(volume_l, length, breadth):
    """Depth in cm of volume_l litres in a tank with that base (cm)."""
    return Fraction(volume_l) * 1000 / (length * breadth)


def missing_edge(volume, a, b):
    v = Fraction(volume) / (Fraction(a) * b)
    if v.denominator != 1:
        raise ValueError("the edge is not a whole number")
    return v


def cube_edge(volume):
    edge = round(volume ** (1 / 3))
    if edge ** 3 != volume:
        raise ValueError(f"{volume} is not a cube number")
    return edge


def cubes_in_box(length, breadth, height, edge):
    """The most cubes of the given edge that fit in the box."""
    return (length // edge) * (breadth // edge) * (height // edge)


def time_to_fill(volume_l, rate):
    """Minutes to pour volume_l litres at rate litres a minute, exactly."""
    t = Fraction(volume_l) / rate
    if t.denominator != 1:
        raise ValueError("the time is not a whole number of minutes")
    return t


def rise_in_level(volume_cm3, length, breadth):
    """How far water in a tank with that base rises when an object of that
    volume sinks in it (the tank does not overflow)."""
    return Fraction(volume_cm3) / (length * breadth)


def capacity_from_fractions(before, after, added):
    """Capacity of a tank that goes from fraction before to fraction after
    full when added litres are poured in."""
    return Fraction(added) / (Fraction(after) - Fraction(before))


def step_solid_volume(length, breadth, low, top_length, top_height):
    """A length by breadth by low cuboid with a top_length by breadth by
    top_height cuboid on top of it."""
    return cuboid_volume(length, breadth, low) + cuboid_volume(top_length, breadth, top_height)


def solid_cubes(heights):
    """Cubes in a solid given as column heights, rows from the back."""
    return sum(sum(row) for row in heights)


def short_decimal(x, places=2):
    """x itself when it has at most that many decimal places, else a retry."""
    x = Fraction(x)
    if (x * 10 ** places).denominator != 1:
        raise ValueError(f"{x} needs more than {places} decimal places")
    return x


# ---------------------------------------------------------------- drawing

def _box(svg, x, y, w, h, d, fills=("#fff", LIGHT, GREY), width=1.8, hidden=False):
    """A box with its front-bottom-left corner at pixel (x, y): front face w by
    h, depth d pixels along the 45-degree line. Returns its corners."""
    kx, ky = d * DEPTH * 2 ** 0.5, -d * DEPTH * 2 ** 0.5
    f0, f1, f2, f3 = (x, y), (x + w, y), (x + w, y - h), (x, y - h)
    b0, b1, b2, b3 = [(px + kx, py + ky) for px, py in (f0, f1, f2, f3)]
    svg.polygon([f0, f1, f2, f3], fill=fills[0], width=width)
    svg.polygon([f3, f2, b2, b3], fill=fills[1], width=width)
    svg.polygon([f1, b1, b2, f2], fill=fills[2], width=width)
    if hidden:     # dashed over the faces, as if seen through
        for a, b in ((b0, b1), (b0, b3), (b0, f0)):
            svg.line(*a, *b, dash="5,4", width=1.1)
    return {"f0": f0, "f1": f1, "f2": f2, "f3": f3, "b0": b0, "b1": b1, "b2": b2, "b3": b3}


def _raw_polygon(svg, pts, fill, opacity):
    pts = " ".join(f"{x:.2f},{y:.2f}" for x, y in pts)
    svg.items.append(f'<polygon points="{pts}" fill="{fill}" fill-opacity="{opacity}" stroke="none"/>')


def _dimension(svg, a, b, text, side="right"):
    """An upright dimension line from a to b with end ticks and its label."""
    (x, y1), (_, y2) = a, b
    svg.line(x, y1, x, y2, width=1.1)
    svg.line(x - 4, y1, x + 4, y1, width=1.1)
    svg.line(x - 4, y2, x + 4, y2, width=1.1)
    if side == "right":
        svg.text(x + 6, (y1 + y2) / 2 + 5, text, anchor="start")
    else:
        svg.text(x - 6, (y1 + y2) / 2 + 5, text, anchor="end")


def _scale(length, breadth, height, box_w=300, box_h=190):
    return min(box_w / (length + breadth * DEPTH * 2 ** 0.5),
               box_h / (height + breadth * DEPTH * 2 ** 0.5))


def _water(svg, x, y, w, k, yw):
    """Water in a glass tank whose front face stands from x to x + w on the
    line y, its depth drawn k along and up: the surface at the line yw,
    its far edges dashed, seen through the glass."""
    front = [(x, y), (x + w, y), (x + w, yw), (x, yw)]
    top = [(x, yw), (x + w, yw), (x + w + k, yw - k), (x + k, yw - k)]
    right = [(x + w, y), (x + w + k, y - k), (x + w + k, yw - k), (x + w, yw)]
    _raw_polygon(svg, right, GREY, 0.75)
    _raw_polygon(svg, top, LIGHT, 0.9)
    _raw_polygon(svg, front, LIGHT, 0.75)
    svg.polyline([(x, yw), (x + w, yw), (x + w + k, yw - k)], width=1.4)
    svg.line(x + k, yw - k, x + w + k, yw - k, width=1.1, dash="5,4")
    svg.line(x, yw, x + k, yw - k, width=1.1, dash="5,4")


def cuboid_svg(length, breadth, height, unit="cm", labels=None, water=None, tank=False):
    """A cuboid (or a glass tank, tank=True) with its edges labelled; labels
    maps "length", "breadth", "height" to texts (default: the values with
    the unit; None leaves an edge unlabelled). water is the water's depth."""
    s = _scale(length, breadth, height)
    w, h, d = length * s, height * s, breadth * s
    k = d * DEPTH * 2 ** 0.5
    svg = Svg(w + k + 150, h + k + 60)
    x, y = 70, 20 + k + h
    texts = {"length": f"{n(length)} {unit}", "breadth": f"{n(breadth)} {unit}",
             "height": f"{n(height)} {unit}"}
    texts.update(labels or {})
    if tank:
        c = _box(svg, x, y, w, h, d, fills=("none", "none", "none"), hidden=True)
        if water:
            _water(svg, x, y, w, k, y - water * s)
        _box(svg, x, y, w, h, d, fills=("none", "none", "none"))
    else:
        c = _box(svg, x, y, w, h, d, hidden=True, fills=("#fff", LIGHT, LIGHT))
    if texts.get("length"):
        svg.text(x + w / 2, y + 20, texts["length"])
    if texts.get("height"):
        svg.text(x - 7, y - h / 2 + 5, texts["height"], anchor="end")
    if texts.get("breadth"):
        fx, fy = c["f1"]
        svg.text(fx + k / 2 + 9, fy - k / 2 + 12, texts["breadth"], anchor="start")
    if water and texts.get("water"):
        # Beside the back right edge, clear of the other labels.
        xd = x + w + k + 12
        _dimension(svg, (xd, y - k), (xd, y - k - water * s), texts["water"])
    return svg.render()


def cubes_svg(heights, cube=30):
    """A solid of unit cubes from its column heights (rows from the back,
    columns from the left), drawn back to front so near cubes hide far ones."""
    rows, cols = len(heights), len(heights[0])
    top = max(max(r) for r in heights)
    k = cube * DEPTH * 2 ** 0.5
    svg = Svg(cols * cube + rows * k + 40, top * cube + rows * k + 40)
    for ri, row in enumerate(heights):
        depth = rows - 1 - ri              # 0 is the front row
        for z in range(top):
            for ci, hgt in enumerate(row):
                if z < hgt:
                    x = 20 + ci * cube + depth * k
                    y = svg.height - 20 - z * cube - depth * k
                    _box(svg, x, y, cube, cube, cube, width=1.3)
    return svg.render()


def step_solid_svg(length, breadth, low, top_length, top_height, unit, total_height=False, names=False):
    """A cuboid with a shorter cuboid standing on its left part, same depth;
    names: the lower one named A and the upper one B, as a worked solution
    splits the solid."""
    height = low + top_height
    s = _scale(length, breadth, height)
    w, d = length * s, breadth * s
    k = d * DEPTH * 2 ** 0.5
    svg = Svg(w + k + 150, height * s + k + 70)
    x, y = 70, 30 + k + height * s
    _box(svg, x, y, w, low * s, d, fills=("#fff", LIGHT, LIGHT))
    _box(svg, x, y - low * s, top_length * s, top_height * s, d, fills=("#fff", LIGHT, LIGHT))
    svg.text(x + w / 2, y + 20, f"{n(length)} {unit}")
    svg.text(x + w + k / 2 + 9, y - k / 2 + 12, f"{n(breadth)} {unit}", anchor="start")
    svg.text(x + w + k + 7, y - k - low * s / 2 + 5, f"{n(low)} {unit}", anchor="start")
    # On the back edge of the upper cuboid's top, clear of its faces.
    svg.text(x + k + top_length * s / 2, y - height * s - k - 7, f"{n(top_length)} {unit}")
    if total_height:
        _dimension(svg, (x - 12, y), (x - 12, y - height * s), f"{n(height)} {unit}", side="left")
    else:
        svg.text(x - 7, y - low * s - top_height * s / 2 + 5, f"{n(top_height)} {unit}", anchor="end")
    if names:
        svg.text(x + w / 2, y - low * s / 2 + 6, "A", bold=True, size=17)
        svg.text(x + top_length * s / 2, y - low * s - top_height * s / 2 + 6, "B", bold=True, size=17)
    return svg.render()


def levels_svg(length, breadth, height, water, before=None, cubes=None, left=(), right=(),
               show_height=True):
    """A glass tank (cm) with water that deep, as a worked solution shows it:
    before, the level the water stood at, dashed; cubes, (edge, count)
    cubes side by side on the bottom; left and right, (low, high, text)
    dimension lines beside the front left edge and the back right edge."""
    s = _scale(length, breadth, height)
    w, h, d = length * s, height * s, breadth * s
    k = d * DEPTH * 2 ** 0.5
    widest = lambda marks: max([text_box(0, 0, t, 15, "start")[2] for _, _, t in marks] + [0])
    x = 30 + max(widest(left), 40 if show_height and not left else 0)
    svg = Svg(x + w + k + 30 + max(widest(right), 60), h + k + 60)
    y = 20 + k + h
    _box(svg, x, y, w, h, d, fills=("none", "none", "none"), hidden=True)
    if cubes:
        edge, count = cubes
        e = edge * s
        per_row = length // edge
        rows = [min(per_row, count - i) for i in range(0, count, per_row)]
        for depth in range(len(rows) - 1, -1, -1):          # back rows first
            off = depth * e * DEPTH * 2 ** 0.5
            for i in range(rows[depth]):
                _box(svg, x + 2 + i * e + off, y - 1 - off, e, e, e, width=1.2)
    _water(svg, x, y, w, k, y - water * s)
    if before is not None:
        yb = y - before * s
        svg.polyline([(x, yb), (x + w, yb), (x + w + k, yb - k)], width=1.3, dash="6,4")
    _box(svg, x, y, w, h, d, fills=("none", "none", "none"))
    svg.text(x + w / 2, y + 20, f"{n(length)} cm")
    fx, fy = x + w, y
    svg.text(fx + k / 2 + 9, fy - k / 2 + 12, f"{n(breadth)} cm", anchor="start")
    if show_height and not left:
        svg.text(x - 7, y - h / 2 + 5, f"{n(height)} cm", anchor="end")
    for low, high, text in left:
        _dimension(svg, (x - 12, y - low * s), (x - 12, y - high * s), text, side="left")
    for low, high, text in right:
        xd = x + w + k + 14
        _dimension(svg, (xd, y - k - low * s), (xd, y - k - high * s), text)
    return svg.render()


def _fig(svg, alt):
    return Figure(svg, alt)


def _tank_alt(length, breadth, height, water=None):
    text = f"A rectangular tank {length} cm long, {breadth} cm wide and {height} cm high"
    return text + (f", with water {n(water)} cm deep" if water else "")


# ---------------------------------------------------------------- working

def _litres_step(cm3, say="Change cubic centimetres to litres: 1000\u00a0cm\u00b3 = 1\u00a0\u2113."):
    return Step(say, f"{n(cm3)} {DIV} 1000 = {qty(litres(cm3), L)}")


def _volume_step(l, b, h, say, unit=CM3):
    return Step(say, f"{mul(l, b, h)} = {qty(cuboid_volume(l, b, h), unit)}")


ROW_NAMES = {2: ["back row", "front row"], 3: ["back row", "middle row", "front row"]}


def _count_step(heights, say):
    """Counting the cubes of a solid row by row, from the back."""
    if len(heights) == 1:
        row = heights[0]
        return Step(say + " Add the heights of the columns, from left to right.",
                    f"{add(*row)} = {sum(row)} cubes")
    sums = [sum(row) for row in heights]
    lines = [f"{name}: {add(*row)} = {total}" for name, row, total in zip(ROW_NAMES[len(heights)], heights, sums)]
    lines.append(f"altogether: {add(*sums)} = {sum(sums)} cubes")
    return Step(say + " Count the cubes row by row, from the back: in each row, add the heights of its "
                      "columns.", worklines(lines))


# ---------------------------------------------------------------- families

def _solid_heights(rng, level):
    shape = rng.choice(["cuboid", "steps", "back-row"])
    if shape == "cuboid":
        cols, rows, high = rng.randint(2, 5), rng.randint(2, 3), rng.randint(2, 3)
        return [[high] * cols for _ in range(rows)]
    if shape == "steps":
        cols = rng.randint(3, 4)
        rows = rng.randint(1, 2) if level == 1 else rng.randint(2, 3)
        return [list(range(cols, 0, -1)) for _ in range(rows)]
    cols, rows = rng.randint(3, 5), rng.randint(2, 3)
    back = rng.randint(2, 3)
    return [[back] * cols] + [[1] * cols for _ in range(rows - 1)]


def solid_alt(heights):
    """How the solid stands, row by row: what a sighted pupil counts from."""
    rows, cols = len(heights), len(heights[0])
    if rows == 1:
        return (f"A solid of cubes, one row of {cols} columns, with no gaps. The heights of the columns in "
                f"cubes, from left to right: {', '.join(map(str, heights[0]))}.")
    each = "; ".join(f"{name}, {', '.join(map(str, row))}" for name, row in zip(ROW_NAMES[rows], heights))
    return (f"A solid of cubes, {rows} rows of {cols} columns, with no gaps. The heights of the columns in "
            f"cubes, from left to right: {each}.")


@family("volume.unit-cubes", TOPIC, ["N"], levels=(1, 2))
def unit_cubes(rng, level, slots):
    heights = _solid_heights(rng, level)
    count = solid_cubes(heights)
    fig = _fig(cubes_svg(heights), solid_alt(heights))
    if level == 1:
        if rng.random() < 0.5:
            step = _count_step(heights, "Each 1-cm cube has a volume of 1\u00a0cm\u00b3.")
            step.work += f", so the volume is {qty(count, CM3)}"
            return Question(p("The solid below is made of 1-cm cubes, with no gaps inside it.",
                              "What is its volume?"), [Part(key=num(count), unit=CM3)], [fig],
                            Solution([step], [count]))
        return Question(p("The solid below is made of unit cubes, with no gaps inside it.",
                          "How many unit cubes are there in the solid?"),
                        [Part(key=num(count), unit="cubes")], [fig],
                        Solution([_count_step(heights, "The solid has no gaps inside.")], [count]))
    cols, rows = len(heights[0]), len(heights)
    top = max(max(r) for r in heights)
    edge = max(cols, rows, top) + rng.randint(0, 1)
    count_step = _count_step(heights, "The solid has no gaps inside.")
    if rng.random() < 0.5:
        steps = [count_step,
                 Step(f"A cube of edge {qty(edge, 'cm')} made of 1-cm cubes has {edge} rows of {edge} cubes in "
                      f"each of {edge} layers.", f"{mul(edge, edge, edge)} = {edge ** 3} cubes"),
                 Step("Take away the cubes that are already there.",
                      f"{sub(edge ** 3, count)} = {edge ** 3 - count} cubes")]
        return Question(p("The solid below is made of 1-cm cubes, with no gaps inside it.",
                          f"How many more 1-cm cubes are needed to make it into a cube of edge {qty(edge, 'cm')}?"),
                        [Part(key=num(edge ** 3 - count), unit="cubes")], [fig],
                        Solution(steps, [edge ** 3 - count]))
    side = rng.choice([2, 3])
    steps = [count_step,
             _volume_step(side, side, side, f"Each cube has a volume of edge {TIMES} edge {TIMES} edge."),
             Step("Multiply by the number of cubes.", f"{mul(count, side ** 3)} = {qty(count * side ** 3, CM3)}")]
    return Question(p(f"The solid below is made of cubes of edge {qty(side, 'cm')}, with no gaps inside it.",
                      "What is its volume?"),
                    [Part(key=num(count * side ** 3), unit=CM3)], [fig], Solution(steps, [count * side ** 3]))


def cuboid_options(rng, volume):
    """Edges (l, b, h) with the given volume, and three sets a usual slip
    picks: two edges whose product is the volume (the third forgotten),
    edges that add up to it, and two edges' product plus the third.
    Returns (right, [(edges, slip name)])."""
    sets = [(l, b, volume // (l * b)) for l in range(2, 13) for b in range(2, l + 1)
            if volume % (l * b) == 0 and 2 <= volume // (l * b) <= b]
    if not sets:
        raise ValueError("no cuboid with small edges")
    right = rng.choice(sets)
    pools = [("two", [(l, volume // l, h) for l in range(2, volume) if volume % l == 0
                      and 2 <= volume // l <= l for h in range(2, 10)]),
             ("added", [(l, b, volume - l - b) for l in range(2, volume // 3 + 7) for b in range(2, l + 1)
                        if 2 <= volume - l - b <= b]),
             ("plus", [(l, b, volume - l * b) for l in range(2, 13) for b in range(2, l + 1)
                       if 2 <= volume - l * b <= 12])]
    return right, one_slip_each(rng, pools, lambda e: e[0] * e[1] * e[2] == volume)


def cuboid_slip(slip, edges, volume):
    l, b, h = edges
    return {"two": f"multiplies only two of the edges: {mul(l, b)} = {volume}",
            "added": f"adds the edges instead of multiplying them: {add(l, b, h)} = {volume}",
            "plus": f"adds the third edge instead of multiplying by it: {mul(l, b)} + {h} = {volume}"}[slip]


@family("volume.cuboid", TOPIC, ["N", "Q"], levels=(1, 2))
def cuboid(rng, level, slots):
    if slots[0].kind == "Q":
        volume = rng.choice([24, 30, 36, 40, 48, 60, 72, 80, 90, 96, 120])
        right, wrong = cuboid_options(rng, volume)
        show = lambda e: f" {TIMES} ".join(qty(x, "cm") for x in e)
        part = choice(rng, show(right), [(show(e), cuboid_slip(slip, e, volume)) for e, slip in wrong],
                      prompt=f"Which of these cuboids has a volume of {qty(volume, CM3)}?")
        edges = {show(e): e for e in [right] + [e for e, _ in wrong]}
        work = [f"({i}) {mul(*edges[o])} = {qty(cuboid_volume(*edges[o]), CM3)}"
                for i, o in enumerate(part.options, 1)]
        k = part.options.index(show(right)) + 1
        step = Step(f"The volume of a cuboid is length {TIMES} breadth {TIMES} height. Work it out for each "
                    "option.", worklines(work))
        return Question("", [part], solution=Solution([step], [show(right)],
                                                      why=f"Only option ({k}) gives {qty(volume, CM3)}."))
    unit = rng.choice(["cm", "m"])
    u3 = f"{unit}\u00b3"
    if level == 1:
        if rng.random() < 0.35:
            e = rng.randint(2, 10)
            fig = _fig(cuboid_svg(e, e, e, unit, labels={"breadth": None, "height": None}),
                       f"A cube with one edge labelled {e} {unit}")
            return Question(p("Find the volume of the cube."), [Part(key=num(e ** 3), unit=u3)], [fig],
                            Solution([_volume_step(e, e, e, f"All the edges of a cube are equal. Its volume is "
                                                            f"edge {TIMES} edge {TIMES} edge.", u3)], [e ** 3]))
        l, b, h = rng.randint(4, 15), rng.randint(2, 9), rng.randint(2, 10)
        fig = _fig(cuboid_svg(l, b, h, unit), f"A cuboid {l} {unit} long, {b} {unit} wide and {h} {unit} high")
        return Question(p("Find the volume of the cuboid."),
                        [Part(key=num(cuboid_volume(l, b, h)), unit=u3)], [fig],
                        Solution([_volume_step(l, b, h, f"The volume of a cuboid is length {TIMES} breadth "
                                                        f"{TIMES} height.", u3)], [cuboid_volume(l, b, h)]))
    case = rng.choice(["edges", "base-area", "twice"])
    if case == "edges":
        e = rng.randint(2, 10)
        steps = [Step("A cube has 12 edges, all the same length. Divide the total by 12.",
                      f"{12 * e} {DIV} 12 = {qty(e, 'cm')}"),
                 _volume_step(e, e, e, f"The volume is edge {TIMES} edge {TIMES} edge.")]
        return Question(p(f"The total length of all the edges of a cube is {qty(12 * e, 'cm')}.",
                          "Find the volume of the cube."), [Part(key=num(e ** 3), unit=CM3)],
                        solution=Solution(steps, [e ** 3]))
    if case == "base-area":
        base, h = rng.choice([12, 18, 24, 30, 36, 45, 50, 64]), rng.randint(3, 12)
        step = Step(f"The volume of a cuboid is the area of its base {TIMES} its height.",
                    f"{mul(base, h)} = {qty(base * h, CM3)}")
        return Question(p(f"A cuboid has a base of area {qty(base, SQ)} and a height of {qty(h, 'cm')}.",
                          "Find its volume."), [Part(key=num(base * h), unit=CM3)],
                        solution=Solution([step], [base * h]))
    b, h = rng.randint(3, 8), rng.randint(2, 9)
    times = rng.choice([2, 3])
    word = {2: "twice", 3: "three times"}[times]
    fig = _fig(cuboid_svg(times * b, b, h, "cm", labels={"length": "?"}),
               f"A cuboid {b} cm wide and {h} cm high, with its length marked ?")
    steps = [Step(f"The length is {word} the breadth.", f"{mul(times, b)} = {qty(times * b, 'cm')}"),
             _volume_step(times * b, b, h, f"The volume is length {TIMES} breadth {TIMES} height.")]
    return Question(p(f"The length of the cuboid is {word} its breadth.", "Find its volume."),
                    [Part(key=num(cuboid_volume(times * b, b, h)), unit=CM3)], [fig],
                    Solution(steps, [cuboid_volume(times * b, b, h)]))


@family("volume.missing-edge", TOPIC, ["N"], levels=(1, 2, 3))
def missing_edge_question(rng, level, slots):
    if level == 1:
        if rng.random() < 0.5:
            e = rng.randint(2, 10)
            step = Step(f"The volume of a cube is edge {TIMES} edge {TIMES} edge. Find the number that, multiplied "
                        f"by itself and by itself again, gives {e ** 3}.",
                        f"{mul(e, e, e)} = {e ** 3}, so the edge is {qty(e, 'cm')}")
            return Question(p(f"A cube has a volume of {qty(e ** 3, CM3)}.", "What is the length of one edge?"),
                            [Part(key=num(e), unit="cm")], solution=Solution([step], [e]))
        l, b, h = rng.randint(4, 12), rng.randint(2, 8), rng.randint(2, 9)
        v = cuboid_volume(l, b, h)
        fig = _fig(cuboid_svg(l, b, h, "cm", labels={"height": "?"}),
                   f"A cuboid {l} cm long and {b} cm wide, with its height marked ?")
        steps = [Step("Find the area of the base, length \u00d7 breadth.", f"{mul(l, b)} = {qty(l * b, SQ)}"),
                 Step("The volume is base area \u00d7 height, so divide the volume by the base area.",
                      f"{n(v)} {DIV} {l * b} = {qty(h, 'cm')}")]
        return Question(p(f"The volume of the cuboid is {qty(v, CM3)}.", "Find its height."),
                        [Part(key=num(missing_edge(v, l, b)), unit="cm")], [fig], Solution(steps, [h]))
    if level == 2:
        if rng.random() < 0.5:
            base = rng.choice([15, 20, 24, 25, 30, 36, 40, 48])
            h = rng.randint(3, 12)
            step = Step("The volume is base area \u00d7 height, so divide the volume by the base area.",
                        f"{base * h} {DIV} {base} = {qty(h, 'cm')}")
            return Question(p(f"A cuboid has a volume of {qty(base * h, CM3)}. The area of its base is "
                              f"{qty(base, SQ)}.", "Find its height."), [Part(key=num(h), unit="cm")],
                            solution=Solution([step], [h]))
        e = rng.choice([4, 6, 8, 10, 12])
        l, b = rng.choice([(l, b) for l in range(2, 33) for b in range(2, l + 1)
                           if e ** 3 % (l * b) == 0 and l * b < e ** 3 // 2 and l != b])
        h = e ** 3 // (l * b)
        steps = [_volume_step(l, b, h, "Find the volume of the cuboid."),
                 Step(f"The cube has the same volume. Find the number that, multiplied by itself and by itself "
                      f"again, gives {e ** 3}.", f"{mul(e, e, e)} = {e ** 3}, so the edge is {qty(e, 'cm')}")]
        return Question(p(f"A cuboid {qty(l, 'cm')} long, {qty(b, 'cm')} wide and {qty(h, 'cm')} high has the "
                          "same volume as a cube.", "Find the length of an edge of the cube."),
                        [Part(key=num(cube_edge(l * b * h)), unit="cm")], solution=Solution(steps, [e]))
    case = rng.choice(["square-base", "two-edges", "base-perimeter"])
    if case == "base-perimeter":
        # The breadth comes from the base's perimeter, then the height.
        l, b, h = rng.randint(6, 12), rng.randint(2, 5), rng.randint(3, 9)
        steps = [Step("Half the perimeter of the base is one length and one breadth.",
                      f"{2 * (l + b)} {DIV} 2 = {qty(l + b, 'cm')}"),
                 Step("Take away the length to find the breadth.", f"{sub(l + b, l)} = {qty(b, 'cm')}"),
                 Step("Find the area of the base.", f"{mul(l, b)} = {qty(l * b, SQ)}"),
                 Step("Divide the volume by the base area to find the height.",
                      f"{l * b * h} {DIV} {l * b} = {qty(h, 'cm')}")]
        return Question(p(f"The base of a cuboid is a rectangle {qty(l, 'cm')} long with a perimeter of "
                          f"{qty(2 * (l + b), 'cm')}.", f"The volume of the cuboid is {qty(l * b * h, CM3)}.",
                          "Find the height of the cuboid."),
                        [Part(key=num(missing_edge(l * b * h, l, b)), unit="cm")], solution=Solution(steps, [h]))
    if case == "square-base":
        side, h = rng.randint(3, 9), rng.randint(4, 12)
        steps = [Step("Divide the volume by the height to find the area of the base.",
                      f"{side * side * h} {DIV} {h} = {qty(side * side, SQ)}"),
                 Step(f"The base is a square: find the number that, multiplied by itself, gives {side * side}.",
                      f"{mul(side, side)} = {side * side}, so the side is {qty(side, 'cm')}")]
        return Question(p(f"A cuboid has a square base and is {qty(h, 'cm')} high. Its volume is "
                          f"{qty(side * side * h, CM3)}.", "Find the length of a side of its base."),
                        [Part(key=num(side), unit="cm")], solution=Solution(steps, [side]))
    b, h = rng.randint(3, 8), rng.randint(3, 8)
    times = rng.choice([2, 3, 4])
    word = {2: "twice", 3: "three times", 4: "four times"}[times]
    v = cuboid_volume(times * b, b, h)
    steps = [Step("Divide the volume by the height to find the area of the base.",
                  f"{n(v)} {DIV} {h} = {qty(times * b * b, SQ)}"),
             Step(f"The length is {times} breadths, so the base is {times} squares of side one breadth. Find "
                  "the area of one square.", f"{times * b * b} {DIV} {times} = {qty(b * b, SQ)}"),
             Step(f"Find the number that, multiplied by itself, gives {b * b}: that is the breadth.",
                  f"{mul(b, b)} = {b * b}, so the breadth is {qty(b, 'cm')}"),
             Step(f"The length is {word} the breadth.", f"{mul(times, b)} = {qty(times * b, 'cm')}")]
    return Question(p(f"A box is {qty(h, 'cm')} high and has a volume of {qty(v, CM3)}.",
                      f"Its length is {word} its breadth.", "Find the length of the box."),
                    [Part(key=num(times * b), unit="cm")], solution=Solution(steps, [times * b]))


def litre_options(whole, ml):
    """Wrong millilitres for whole + ml/1000 litres, each with the slip that
    gives it: x 100, the digits after the point read as millilitres, x 10,
    x 10 000; the first three that differ from the answer."""
    value = whole + Fraction(ml, 1000)
    right = whole * 1000 + ml
    digits = num(value).split(".")[1]
    cands = [(value * 100, f"multiplies by 100, not by 1000, and gets {n(value)} {TIMES} 100 = {n(value * 100)}"),
             (whole * 1000 + int(digits), f"reads the digits after the point, {digits}, as millilitres, and gets "
                                          f"{whole * 1000} + {int(digits)} = {n(whole * 1000 + int(digits))}"),
             (value * 10, f"multiplies by 10, not by 1000, and gets {n(value)} {TIMES} 10 = {n(value * 10)}"),
             (value * 10000, f"multiplies by {n(10000)}, not by 1000, and gets {n(value)} {TIMES} {n(10000)} = "
                             f"{n(value * 10000)}")]
    out = []
    for v, slip in cands:
        if v != right and v not in [w for w, _ in out]:
            out.append((v, slip))
    return value, right, out[:3]


@family("volume.convert", TOPIC, ["N", "Q"], levels=(1, 2))
def convert(rng, level, slots):
    if slots[0].kind == "Q":
        whole, ml = rng.randint(1, 9), rng.choice([5, 50, 500, 25, 250, 75])
        value, right, wrong = litre_options(whole, ml)
        part = choice(rng, qty(right, ML), [(qty(w, ML), slip) for w, slip in wrong],
                      prompt=f"Which of these is equal to {qty(value, L)}?")
        step = Step(f"1\u00a0{L} = 1000\u00a0{ML}, so multiply the litres by 1000.",
                    f"{n(value)} {TIMES} 1000 = {qty(right, ML)}")
        return Question("", [part], solution=Solution([step], [qty(right, ML)],
                                                      why=f"{qty(value, L)} is {qty(right, ML)}."))
    to_ml = f"1\u00a0{L} = 1000\u00a0{ML}"
    if level == 1:
        case = rng.choice(["l-ml", "ml-l", "mixed", "cm3-l"])
        if case == "l-ml":
            x = Fraction(rng.randint(11, 95), 10)
            step = Step(f"{to_ml}, so multiply by 1000.", f"{n(x)} {TIMES} 1000 = {n(x * 1000)}")
            return Question(p(f"{qty(x, L)} = ?{NBSP}{ML}"),
                            [Part(key=num(x * 1000), prompt="What is the missing number?")],
                            solution=Solution([step], [x * 1000]))
        if case == "ml-l":
            x = rng.randint(12, 95) * 100
            step = Step(f"1000\u00a0{ML} = 1\u00a0{L}, so divide by 1000.", f"{n(x)} {DIV} 1000 = {qty(litres(x), L)}")
            return Question(p(f"Write {qty(x, ML)} in litres."), [Part(key=num(litres(x)), unit=L)],
                            solution=Solution([step], [litres(x)]))
        if case == "mixed":
            a, b = rng.randint(1, 9), rng.randint(5, 950)
            step = Step(f"{to_ml}. Change the litres to millilitres and add the millilitres.",
                        f"{mul(a, 1000)} + {b} = {a * 1000} + {b} = {qty(1000 * a + b, ML)}")
            return Question(p(f"Write {qty(a, L)} {qty(b, ML)} in millilitres."),
                            [Part(key=num(1000 * a + b), unit=ML)], solution=Solution([step], [1000 * a + b]))
        x = rng.randint(15, 90) * 100
        step = _litres_step(x, f"1000\u00a0{CM3} of water is 1\u00a0{L}, so divide by 1000.")
        return Question(p(f"A bottle holds {qty(x, CM3)} of water. How many litres is that?"),
                        [Part(key=num(litres(x)), unit=L)], solution=Solution([step], [litres(x)]))
    case = rng.choice(["cups", "bottles", "capacity"])
    if case == "cups":
        cup = rng.choice([150, 200, 250, 300])
        count = rng.randint(4, 12)
        total = Fraction(cup * count, 1000)
        steps = [Step(f"The glass is measured in millilitres, so change the litres to millilitres: {to_ml}.",
                      f"{n(total)} {TIMES} 1000 = {qty(total * 1000, ML)}"),
                 Step("Divide by the amount one glass holds.", f"{n(total * 1000)} {DIV} {cup} = {count} glasses")]
        return Question(p(f"A jug holds {qty(total, L)} of juice.",
                          f"How many glasses of {qty(cup, ML)} can be filled from the jug?"),
                        [Part(key=num(count), unit="glasses")], solution=Solution(steps, [count]))
    if case == "bottles":
        bottle = rng.choice([Fraction(3, 2), 2, Fraction(5, 4), Fraction(1, 2)])
        count = rng.randint(3, 9)
        used = rng.choice([250, 300, 400, 750, 800])
        person = names(rng, 1)[0]
        left = bottle * count * 1000 - used
        steps = [Step("Find how much water there was altogether.",
                      f"{mul(count, bottle)} = {qty(count * bottle, L)}"),
                 Step(f"Change it to millilitres: {to_ml}.", f"{n(count * bottle)} {TIMES} 1000 = "
                                                              f"{qty(count * bottle * 1000, ML)}"),
                 Step(f"Take away what {pronoun(person)} drank.",
                      f"{sub(count * bottle * 1000, used)} = {qty(left, ML)}")]
        return Question(p(f"{person} bought {count} bottles of water, each holding {qty(bottle, L)}.",
                          f"{pronoun(person).capitalize()} drank {qty(used, ML)} of it.",
                          "How many millilitres of water were left?"),
                        [Part(key=num(left), unit=ML)], solution=Solution(steps, [left]))
    l, b, h = rng.choice([10, 20, 25, 30]), rng.choice([10, 12, 15, 20]), rng.choice([8, 10, 12, 16, 20])
    fig = _fig(cuboid_svg(l, b, h, "cm", tank=True), _tank_alt(l, b, h))
    steps = [_volume_step(l, b, h, f"The capacity is length {TIMES} breadth {TIMES} height."),
             _litres_step(cuboid_volume(l, b, h))]
    return Question(p("What is the capacity of the rectangular container in litres?"),
                    [Part(key=num(tank_litres(l, b, h)), unit=L)], [fig],
                    Solution(steps, [litres(cuboid_volume(l, b, h))]))


TANK_LENGTHS = (20, 25, 30, 40, 50, 60)
TANK_BREADTHS = (10, 15, 20, 25, 30, 40)
TANK_HEIGHTS = (20, 25, 30, 40, 50)


def _tank(rng, small=False):
    """Length, breadth, height in cm of a tank with a friendly capacity."""
    l = rng.choice(TANK_LENGTHS if not small else [10, 15, 20, 25])
    b = rng.choice(TANK_BREADTHS if not small else [10, 12, 15, 20])
    h = rng.choice(TANK_HEIGHTS if not small else [10, 12, 15, 20])
    if b > l:
        l, b = b, l
    return l, b, h


# Families that need several values to come out exactly choose from every
# tank that works, rather than drawing one and turning most draws down.

@lru_cache(maxsize=None)
def _tanks():
    """Every tank _tank draws, longer side first."""
    return tuple(sorted({(max(l, b), min(l, b), h)
                         for l in TANK_LENGTHS for b in TANK_BREADTHS for h in TANK_HEIGHTS}))


def _depths(h):
    """Water depths the drawing shows clearly off the bottom and the brim."""
    return range(max(5, h // 4), h - 4)


def _pick(rng, rows, *keys):
    """One of rows, spread evenly over the values of each key in turn (by
    default the tank), so that tanks, rates or times with many working rows
    are not favoured."""
    for key in keys or (lambda row: row[:3],):
        value = rng.choice(sorted({key(row) for row in rows}))
        rows = [row for row in rows if key(row) == value]
    return rng.choice(rows)


def _to_fill_steps(l, b, h, d, say_volume="Find the volume of the empty part."):
    """From water d cm deep to the brim: the empty part's height (with the
    figure), its volume and its litres."""
    fig = _fig(levels_svg(l, b, h, d, left=[(0, d, f"{d} cm")], right=[(d, h, f"{h - d} cm")],
                          show_height=False),
               f"The tank, {l} cm long and {b} cm wide, with water {d} cm deep; the empty part above the "
               f"water is {h - d} cm high")
    return [Step("The empty part above the water is the height of the tank less the depth of the water.",
                 f"{sub(h, d)} = {qty(h - d, 'cm')}", figure=fig),
            _volume_step(l, b, h - d, say_volume, CM3),
            _litres_step(cuboid_volume(l, b, h - d))]


def _in_tank_steps(l, b, d):
    """The litres of water d cm deep in a tank with that base."""
    return [_volume_step(l, b, d, f"The water is a cuboid: length {TIMES} breadth {TIMES} depth."),
            _litres_step(cuboid_volume(l, b, d))]


@family("volume.tank-water", TOPIC, ["N"], levels=(1, 2, 3))
def tank_water(rng, level, slots):
    l, b, h = _tank(rng)
    d = rng.randint(max(5, h // 4), h - 4)
    fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": f"{d} cm"}),
               _tank_alt(l, b, h, d))
    if level == 1:
        return Question(p(f"A rectangular tank contains water {qty(d, 'cm')} deep, as shown.",
                          "Find the volume of the water."),
                        [Part(key=num(cuboid_volume(l, b, d)), unit=CM3)], [fig],
                        Solution([_in_tank_steps(l, b, d)[0]], [cuboid_volume(l, b, d)]))
    if level == 2:
        if rng.random() < 0.5:
            return Question(p(f"A rectangular tank contains water {qty(d, 'cm')} deep, as shown.",
                              "How many litres of water are in the tank?"),
                            [Part(key=num(tank_litres(l, b, d)), unit=L)], [fig],
                            Solution(_in_tank_steps(l, b, d), [litres(cuboid_volume(l, b, d))]))
        vol = tank_litres(l, b, d)
        fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": "?"}),
                   _tank_alt(l, b, h) + ", partly filled with water whose depth is marked ?")
        steps = [Step(f"Change the litres to cubic centimetres: 1\u00a0{L} = 1000\u00a0{CM3}.",
                      f"{n(vol)} {TIMES} 1000 = {qty(vol * 1000, CM3)}"),
                 Step(f"Find the area of the base, length {TIMES} breadth.", f"{mul(l, b)} = {qty(l * b, SQ)}"),
                 Step("The volume is base area \u00d7 depth, so divide the volume by the base area.",
                      f"{n(vol * 1000)} {DIV} {n(l * b)} = {qty(d, 'cm')}")]
        return Question(p(f"The rectangular tank contains {qty(vol, L)} of water.",
                          "What is the depth of the water?"),
                        [Part(key=num(water_height(vol, l, b)), unit="cm")], [fig], Solution(steps, [d]))
    case = rng.choice(["pour", "to-fill", "half-out"])
    if case == "to-fill":
        return Question(p(f"A rectangular tank contains water {qty(d, 'cm')} deep, as shown.",
                          "How many more litres of water are needed to fill the tank to the brim?"),
                        [Part(key=num(tank_litres(l, b, h - d)), unit=L)], [fig],
                        Solution(_to_fill_steps(l, b, h, d), [litres(cuboid_volume(l, b, h - d))]))
    if case == "half-out":
        out = rng.choice([Fraction(1, 2), Fraction(1, 4), Fraction(3, 4)])
        if (d * out).denominator != 1 and (d * out * 10).denominator != 1:
            raise ValueError("the depth left is not a short decimal")
        now = d * (1 - out)
        fig2 = _fig(levels_svg(l, b, h, now, before=d, left=[(0, d, f"{d} cm")], right=[(0, now, f"{n(now)} cm")],
                               show_height=False),
                    f"The tank, {l} cm long and {b} cm wide, with the level the water stood at, {d} cm, "
                    f"dashed, and the water left, {n(now)} cm deep")
        steps = [Step(f"{frac(out)} of the water is poured out, so {frac(1 - out)} of it is left.",
                      f"1 {MINUS} {frac(out)} = {frac(1 - out)}"),
                 Step(f"The base of the tank does not change, so the depth is {frac(1 - out)} of what it was too.",
                      f"{frac(1 - out)} {TIMES} {d} = {qty(now, 'cm')}", figure=fig2)]
        return Question(p(f"A rectangular tank contains water {qty(d, 'cm')} deep, as shown.",
                          f"{frac(out)} of the water is poured out.",
                          "What is the depth of the water left in the tank?"),
                        [Part(key=num(short_decimal(d * (1 - out), 1)), unit="cm")], [fig], Solution(steps, [now]))
    # Poured into a second, empty tank with a smaller base.
    l2, b2 = rng.choice([(20, 10), (20, 15), (25, 20), (30, 20), (40, 25), (25, 10)])
    vol = cuboid_volume(l, b, d)
    if l2 * b2 >= l * b:
        raise ValueError("the second tank must have the smaller base")
    depth2 = short_decimal(rise_in_level(vol, l2, b2), 1)
    if depth2 > 60:
        raise ValueError("the second tank would be a tall column")
    # A tank of a round height, 5 cm or more above the water.
    h2 = math.ceil((depth2 + 5) / 10) * 10
    second = _fig(levels_svg(l2, b2, h2, depth2, right=[(0, depth2, f"{n(depth2)} cm")]),
                  f"The second tank, {l2} cm long, {b2} cm wide and {h2} cm high, with the water {n(depth2)} cm deep")
    steps = [_volume_step(l, b, d, f"Find the volume of the water: length {TIMES} breadth {TIMES} depth."),
             Step(f"Find the area of the second tank's base.", f"{mul(l2, b2)} = {qty(l2 * b2, SQ)}"),
             Step("The same water stands on the smaller base. Divide its volume by the base area to find its "
                  "depth.", f"{n(vol)} {DIV} {n(l2 * b2)} = {qty(depth2, 'cm')}", figure=second)]
    return Question(p(f"A rectangular tank contains water {qty(d, 'cm')} deep, as shown.",
                      f"All the water is poured into an empty tank {qty(l2, 'cm')} long, {qty(b2, 'cm')} wide and "
                      f"{qty(h2, 'cm')} high.",
                      "What is the depth of the water in the second tank?"),
                    [Part(key=num(depth2), unit="cm")], [fig], Solution(steps, [vol / (l2 * b2)]))


RATES = [2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25]
# A tap filling and a hole leaking at the same time (litres a minute).
LEAKS = [(8, 3), (10, 4), (12, 7), (15, 5), (9, 4), (6, 1)]


@lru_cache(maxsize=None)
def _full_fills():
    """Empty tanks and tap rates that fill them in 3 to 40 whole minutes."""
    return tuple((l, b, h, r) for l, b, h in _tanks() for r in RATES
                 if l * b * h % (1000 * r) == 0 and 3 <= l * b * h // (1000 * r) <= 40)


@lru_cache(maxsize=None)
def _top_ups(rate, most=40):
    """Tanks with water d cm deep that a net inflow of rate litres a minute
    fills to the brim in 3 to most whole minutes, the water in the tank a
    short decimal of litres: (l, b, h, d, rate)."""
    return tuple((l, b, h, d, rate) for l, b, h in _tanks() for d in _depths(h)
                 if l * b * (h - d) % (1000 * rate) == 0 and l * b * d % 10 == 0
                 and 3 <= l * b * (h - d) // (1000 * rate) <= most)


@lru_cache(maxsize=None)
def _tap_top_ups():
    return tuple(row for r in RATES for row in _top_ups(r))


def _minutes(row):
    """Minutes a row (l, b, h, d, rate) takes to fill to the brim."""
    l, b, h, d, rate = row
    return l * b * (h - d) // (1000 * rate)


@lru_cache(maxsize=None)
def _timed_fills():
    """Empty tanks, tap rates and minutes after which the water stands a
    whole or one-place number of cm deep, clear of the brim."""
    rows = []
    for l, b, h in _tanks():
        for r in RATES:
            for t in range(2, 21):
                depth = Fraction(1000 * r * t, l * b)
                if (depth * 10).denominator == 1 and 5 <= depth <= h - 5:
                    rows.append((l, b, h, r, t))
    return tuple(rows)


def _minutes_step(volume_l, rate, part=1, say=None):
    return Step(say or f"{qty(rate, L)} flows in each minute. Divide to find how many minutes.",
                f"{n(volume_l)} {DIV} {rate} = {qty(time_to_fill(volume_l, rate), 'minutes')}", part)


@family("volume.fill-rate", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def fill_rate(rng, level, slots):
    person = names(rng, 1)[0]
    if len(slots) == 2 or level == 2:
        l, b, h, rate = _pick(rng, _full_fills(), lambda r: r[3], lambda r: r[0] * r[1] * r[2] // (1000 * r[3]))
        capacity = tank_litres(l, b, h)
        fig = _fig(cuboid_svg(l, b, h, "cm", tank=True), _tank_alt(l, b, h))
        whole = [_volume_step(l, b, h, f"The capacity of the tank is length {TIMES} breadth {TIMES} height."),
                 _litres_step(cuboid_volume(l, b, h))]
        if len(slots) == 2:
            return Question(p(f"{person} fills the empty rectangular tank shown from a tap that lets out "
                              f"{qty(rate, L)} of water a minute."),
                            [Part(key=num(capacity), prompt="What is the capacity of the tank?", unit=L),
                             Part(key=num(time_to_fill(capacity, rate)),
                                  prompt="How long does it take to fill the tank?", unit="minutes")], [fig],
                            Solution(whole + [_minutes_step(capacity, rate, 2)],
                                     [capacity, time_to_fill(capacity, rate)]))
        if rng.random() < 0.5:
            return Question(p(f"Water flows from a tap into the empty tank at {qty(rate, L)} a minute.",
                              "How many minutes does it take to fill the tank?"),
                            [Part(key=num(time_to_fill(capacity, rate)), unit="minutes")], [fig],
                            Solution(whole + [_minutes_step(capacity, rate)], [time_to_fill(capacity, rate)]))
        fig = _fig(cuboid_svg(l, b, h, "cm", water=h, tank=True), _tank_alt(l, b, h) + ", full of water")
        out = _minutes_step(capacity, rate, say=f"{qty(rate, L)} drains out each minute. Divide to find how "
                                                 "many minutes.")
        return Question(p(f"The tank is full of water. Water drains out of it at {qty(rate, L)} a minute.",
                          "How many minutes does it take to empty the tank?"),
                        [Part(key=num(time_to_fill(capacity, rate)), unit="minutes")], [fig],
                        Solution(whole + [out], [time_to_fill(capacity, rate)]))
    case = rng.choice(["tap", "leak", "depth"])
    if case == "depth":
        l, b, h, rate, t = _pick(rng, _timed_fills())
        depth = short_decimal(water_height(rate * t, l, b), 1)
        fig = _fig(cuboid_svg(l, b, h, "cm", water=depth, tank=True, labels={"water": "?"}),
                   _tank_alt(l, b, h) + ", partly filled with water whose depth is marked ?")
        steps = [Step(f"Find how much water flows into the tank in {qty(t, 'minutes')}.",
                      f"{mul(rate, t)} = {qty(rate * t, L)}"),
                 Step(f"Change it to cubic centimetres: 1\u00a0{L} = 1000\u00a0{CM3}.",
                      f"{rate * t} {TIMES} 1000 = {qty(rate * t * 1000, CM3)}"),
                 Step(f"The water stands on the base, {mul(l, b)} = {qty(l * b, SQ)}. Divide its volume by the "
                      "base area to find its depth.", f"{n(rate * t * 1000)} {DIV} {n(l * b)} = {qty(depth, 'cm')}")]
        return Question(p(f"The rectangular tank shown is empty. {person} turns on a tap that lets "
                          f"{qty(rate, L)} of water into it a minute.",
                          f"How deep is the water after {qty(t, 'minutes')}?"),
                        [Part(key=num(depth), unit="cm")], [fig], Solution(steps, [depth]))
    if case == "tap":
        l, b, h, d, rate = _pick(rng, _tap_top_ups(), lambda r: r[4], _minutes)
    else:
        fill, drain = rng.choice(LEAKS)
        l, b, h, d, _ = _pick(rng, _top_ups(fill - drain, 60), _minutes)
    more = tank_litres(l, b, h - d)
    fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": f"{d} cm"}),
               _tank_alt(l, b, h, d))
    steps = _to_fill_steps(l, b, h, d)
    if case == "tap":
        return Question(p(f"The tank contains water {qty(d, 'cm')} deep. {person} turns on a tap that lets "
                          f"{qty(rate, L)} of water into the tank a minute.",
                          "How many minutes does it take to fill the tank to the brim?"),
                        [Part(key=num(time_to_fill(more, rate)), unit="minutes")], [fig],
                        Solution(steps + [_minutes_step(more, rate)], [time_to_fill(more, rate)]))
    net = Step(f"Each minute {qty(fill, L)} flows in and {qty(drain, L)} leaks out, so the water in the tank "
               "goes up by the difference.", f"{sub(fill, drain)} = {qty(fill - drain, L)} a minute")
    return Question(p(f"The tank contains water {qty(d, 'cm')} deep. A tap lets {qty(fill, L)} of water into it "
                      f"a minute,", f"while {qty(drain, L)} a minute leaks out through a hole at the bottom.",
                      "How many minutes does it take to fill the tank to the brim?"),
                    [Part(key=num(time_to_fill(more, fill - drain)), unit="minutes")], [fig],
                    Solution([net] + steps + [_minutes_step(more, fill - drain,
                                                            say="Divide by what the tank gains each minute.")],
                             [time_to_fill(more, fill - drain)]))


CUBE_EDGES = (2, 4, 5, 8, 10)


def _sunk_depths(h, edge, change, removed):
    """Depths d of the water shown that keep the cubes under water before
    and after and the level clear of the brim; when removed, d is the depth
    with the cubes still in."""
    if removed:
        return [d for d in range(5, h - 4) if d > edge and d - change >= 4]
    return [d for d in range(5, h - 7) if d + change > edge and d + change <= h - 3]


@lru_cache(maxsize=None)
def _sinkings():
    """Tanks, cube edges and counts where the cubes, side by side on the
    bottom, move the level by a whole or one-place number of cm, at least
    half a centimetre, and some depth works both ways: (l, b, h, edge, count)."""
    rows = []
    for l, b, h in _tanks():
        for edge in CUBE_EDGES:
            room = (l // edge) * (b // edge)
            for count in range(2, min(room, 8) + 1):
                change = Fraction(count * edge ** 3, l * b)
                if (change * 10).denominator == 1 and change >= Fraction(1, 2) \
                        and _sunk_depths(h, edge, change, False) and _sunk_depths(h, edge, change, True):
                    rows.append((l, b, h, edge, count))
    return tuple(rows)


def cubes_for_rise(rise, length, breadth, edge):
    """How many cubes of that edge, sunk under water in a tank with that
    base, raise its level by rise."""
    count = Fraction(rise) * length * breadth / edge ** 3
    if count.denominator != 1:
        raise ValueError("not a whole number of cubes")
    return count


def _sunk_cubes(rng, removed):
    """A tank, its water depth d and cubes that sink in (or are lifted out):
    (l, b, h, d, edge, count, change in level)."""
    l, b, h, edge, count = _pick(rng, _sinkings())
    change = rise_in_level(count * edge ** 3, l, b)
    return l, b, h, rng.choice(_sunk_depths(h, edge, change, removed)), edge, count, change


@family("volume.displacement", TOPIC, ["N", ("N", "N"), ("N", "N", "N")], levels=(2, 3))
def displacement(rng, level, slots):
    if len(slots) == 1 and level == 2:
        l, b, h = _tank(rng)
        d1 = rng.randint(5, h - 8)
        d2 = d1 + rng.randint(1, 4)
        fig = _fig(cuboid_svg(l, b, h, "cm", water=d1, tank=True, labels={"water": f"{d1} cm"}),
                   _tank_alt(l, b, h, d1))
        after = _fig(levels_svg(l, b, h, d2, before=d1, left=[(0, d1, f"{d1} cm")],
                                right=[(d1, d2, f"rise {d2 - d1} cm")], show_height=False),
                     f"The tank, {l} cm long and {b} cm wide, with the level before the stone went in, {d1} cm, "
                     f"dashed, and the water {d2 - d1} cm higher now")
        steps = [Step("Find how far the water level rises.", f"{sub(d2, d1)} = {qty(d2 - d1, 'cm')}",
                      figure=after),
                 _volume_step(l, b, d2 - d1, "The stone takes the place of the water between the two levels: a "
                                             f"cuboid {qty(l, 'cm')} by {qty(b, 'cm')} by {qty(d2 - d1, 'cm')}.")]
        return Question(p(f"The rectangular tank shown contains water {qty(d1, 'cm')} deep.",
                          f"When a stone is put into the tank, it sinks and the water level rises to "
                          f"{qty(d2, 'cm')}.", "What is the volume of the stone?"),
                        [Part(key=num(cuboid_volume(l, b, d2 - d1)), unit=CM3)], [fig],
                        Solution(steps, [cuboid_volume(l, b, d2 - d1)]))
    # Identical metal cubes sink to the bottom, side by side, or are lifted out.
    case = rng.choice(["in", "out", "how-many"] if len(slots) == 1 else ["in", "out"])
    l, b, h, d, edge, count, change = _sunk_cubes(rng, case == "out")
    fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": f"{d} cm"}),
               _tank_alt(l, b, h, d))
    cubes = f"{count} solid metal cubes, each of edge {qty(edge, 'cm')},"
    base = Step(f"Find the area of the tank's base, length {TIMES} breadth.", f"{mul(l, b)} = {qty(l * b, SQ)}")
    if case == "how-many":
        now = d + change
        after = _fig(levels_svg(l, b, h, now, before=d, cubes=(edge, count), left=[(0, d, f"{d} cm")],
                                right=[(d, now, f"rise {n(change)} cm")], show_height=False),
                     f"The tank, {l} cm long and {b} cm wide, with the level before, {d} cm, dashed, the "
                     f"water {n(change)} cm higher and the cubes on the bottom")
        steps = [Step("Find how far the water level rises.", f"{sub(now, d)} = {qty(change, 'cm')}", figure=after),
                 _volume_step(l, b, change, "The cubes take the place of the water between the two levels: "
                                            "length \u00d7 breadth \u00d7 rise."),
                 _volume_step(edge, edge, edge, "Find the volume of one cube."),
                 Step("Divide to find how many cubes make up that volume.",
                      f"{n(change * l * b)} {DIV} {edge ** 3} = {count} cubes")]
        return Question(p(f"The rectangular tank shown contains water {qty(d, 'cm')} deep.",
                          f"Some solid metal cubes, each of edge {qty(edge, 'cm')}, are put into the tank and sink "
                          f"to the bottom. No water spills out, and the water level rises to {qty(d + change, 'cm')}.",
                          "How many cubes are put into the tank?"),
                        [Part(key=num(cubes_for_rise(change, l, b, edge)), unit="cubes")], [fig],
                        Solution(steps, [count]))
    if case == "in":
        text = p(f"The rectangular tank shown contains water {qty(d, 'cm')} deep.",
                 f"{cubes} are put into the tank and sink to the bottom. No water spills out.")
        now, moves = d + change, "rises"
        moved = Part(key=num(change), prompt="By how much does the water level rise?", unit="cm")
        after = _fig(levels_svg(l, b, h, now, before=d, cubes=(edge, count), left=[(0, d, f"{d} cm")],
                                right=[(d, now, f"rise {n(change)} cm")], show_height=False),
                     f"The tank, {l} cm long and {b} cm wide, with the level before, {d} cm, dashed, the "
                     "cubes on the bottom and the water "
                     f"{n(change)} cm higher")
    else:
        text = p(f"The rectangular tank shown contains water {qty(d, 'cm')} deep.",
                 f"{cubes} lie on the bottom of the tank, covered by the water.",
                 "The cubes are lifted out, and no water is lost.")
        now, moves = d - change, "falls"
        moved = Part(key=num(change), prompt="By how much does the water level fall?", unit="cm")
        after = _fig(levels_svg(l, b, h, now, before=d, left=[(0, d, f"{d} cm")],
                                right=[(now, d, f"fall {n(change)} cm")], show_height=False),
                     f"The tank, {l} cm long and {b} cm wide, with the level before, {d} cm, dashed, and the "
                     f"water {n(change)} cm lower "
                     "once the cubes are out")
    parts = [Part(key=num(count * edge ** 3), prompt="What is the total volume of the cubes?", unit=CM3),
             moved,
             Part(key=num(now), prompt="What is the depth of the water now?", unit="cm")]
    one = _volume_step(edge, edge, edge, "Find the volume of one cube.")
    all_cubes = Step(f"There are {count} cubes.", f"{mul(count, edge ** 3)} = {qty(count * edge ** 3, CM3)}")
    level_moves = Step(f"The level {moves} by the cubes' volume spread over the base. Divide by the base area.",
                       f"{n(count * edge ** 3)} {DIV} {n(l * b)} = {qty(change, 'cm')}", figure=after)
    depth_now = Step("Find the new depth.", f"{n(d)} {'+' if case == 'in' else MINUS} {n(change)} = {qty(now, 'cm')}")
    working = [one, all_cubes, base, level_moves, depth_now]
    if len(slots) == 3:
        for step, k in zip(working, [1, 1, 2, 2, 3]):
            step.part = k
        return Question(text, parts, [fig], Solution(working, [count * edge ** 3, change, now]))
    if len(slots) == 2:
        if rng.random() < 0.5:
            for step, k in zip(working, [1, 1, 2, 2, 2]):
                step.part = k
            return Question(text, [parts[0], parts[2]], [fig], Solution(working, [count * edge ** 3, now]))
        for step, k in zip(working[:4], [1, 1, 2, 2]):
            step.part = k
        return Question(text, parts[:2], [fig], Solution(working[:4], [count * edge ** 3, change]))
    return Question(text + p("What is the depth of the water now?"), [Part(key=num(now), unit="cm")], [fig],
                    Solution(working, [now]))


@family("volume.cubes-in-box", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def cubes_in_box_question(rng, level, slots):
    edge = rng.choice([2, 3, 4, 5])
    exact = level == 2 or len(slots) == 2
    dims = [edge * rng.randint(2, 6) for _ in range(3)]
    if not exact:
        dims = [x + rng.randint(0, edge - 1) for x in dims]
        if all(x % edge == 0 for x in dims):
            dims[0] += 1
    l, b, h = sorted(dims, reverse=True)
    count = cubes_in_box(l, b, h, edge)
    fig = _fig(cuboid_svg(l, b, h, "cm"), f"A box {l} cm long, {b} cm wide and {h} cm high")
    text = p(f"A box is {qty(l, 'cm')} long, {qty(b, 'cm')} wide and {qty(h, 'cm')} high, as shown.")

    def fit(name, size):
        whole, left = divmod(size, edge)
        if left:
            return f"{name}: {size} {DIV} {edge} = {whole} remainder {left}, so {whole} cubes"
        return f"{name}: {size} {DIV} {edge} = {whole} cubes"
    along = [fit("along the length", l), fit("along the breadth", b), fit("up the height", h)]
    say = "Find how many cubes fit along each edge of the box."
    if not exact:
        say += (" Only whole cubes fit, so leave out any remainder: the gap it leaves is too thin for "
                "another cube.")
    n_l, n_b, n_h = l // edge, b // edge, h // edge
    steps = [Step(say, worklines(along)),
             Step("The cubes stand in rows and layers: multiply.", f"{mul(n_l, n_b, n_h)} = {count} cubes")]
    if len(slots) == 2:
        steps += [_volume_step(edge, edge, edge, "Find the volume of one cube."),
                  Step(f"There are {count} cubes.", f"{mul(count, edge ** 3)} = {qty(count * edge ** 3, CM3)}")]
        steps[2].part = steps[3].part = 2
        return Question(text + p(f"It is packed full of cubes of edge {qty(edge, 'cm')}."),
                        [Part(key=num(count), prompt="How many cubes are in the box?", unit="cubes"),
                         Part(key=num(count * edge ** 3), prompt="What is the total volume of the cubes?",
                              unit=CM3)], [fig], Solution(steps, [count, count * edge ** 3]))
    if exact:
        return Question(text + p(f"How many cubes of edge {qty(edge, 'cm')} are needed to fill it completely?"),
                        [Part(key=num(count), unit="cubes")], [fig], Solution(steps, [count]))
    return Question(text + p(f"What is the greatest number of cubes of edge {qty(edge, 'cm')} that can be packed "
                             "into the box?"),
                    [Part(key=num(count), unit="cubes")], [fig], Solution(steps, [count]))


def bar_svg(parts, at_first, poured, label):
    """The tank as a bar of equal parts: the first at_first grey (the water
    at first), the next poured hatched and marked with label above them."""
    unit_w, x0, y0, high = 40, 20, 34, 34
    svg = Svg(x0 * 2 + parts * unit_w, y0 + high + 16)
    fill = svg.hatch()
    for i in range(parts):
        shade = GREY if i < at_first else fill if i < at_first + poured else "#fff"
        svg.rect(x0 + i * unit_w, y0, unit_w, high, fill=shade, width=1.6)
    a, b = x0 + at_first * unit_w, x0 + (at_first + poured) * unit_w
    svg.line(a + 2, y0 - 8, b - 2, y0 - 8, width=1.3)
    svg.line(a + 2, y0 - 8, a + 2, y0 - 3, width=1.3)
    svg.line(b - 2, y0 - 8, b - 2, y0 - 3, width=1.3)
    svg.text((a + b) / 2, y0 - 13, label)
    return svg.render()


@family("volume.fraction-full", TOPIC, ["N"], levels=(2, 3))
def fraction_full(rng, level, slots):
    if level == 2:
        l, b, h = _tank(rng)
        part = rng.choice([Fraction(1, 2), Fraction(1, 4), Fraction(3, 4), Fraction(2, 5), Fraction(3, 5),
                           Fraction(1, 5), Fraction(4, 5)])
        water = tank_litres(l, b, h) * part
        short_decimal(water, 2)
        # The water is drawn at its level, so the picture agrees with the fraction.
        fig = _fig(cuboid_svg(l, b, h, "cm", tank=True, water=h * part),
                   _tank_alt(l, b, h) + f", with water up to {part.numerator} over {part.denominator} of its height")
        capacity = tank_litres(l, b, h)
        steps = [_volume_step(l, b, h, f"The capacity of the tank is length {TIMES} breadth {TIMES} height."),
                 _litres_step(cuboid_volume(l, b, h)),
                 Step(f"The tank is {frac(part)} full.", f"{frac(part)} {TIMES} {n(capacity)} = {qty(water, L)}")]
        return Question(p(f"The rectangular tank shown is {frac(part)} full of water.",
                          "How many litres of water are in the tank?"),
                        [Part(key=num(water), unit=L)], [fig], Solution(steps, [water]))
    before, after = rng.choice([(Fraction(1, 4), Fraction(3, 4)), (Fraction(2, 5), Fraction(4, 5)),
                                (Fraction(1, 3), Fraction(5, 6)), (Fraction(1, 2), Fraction(7, 8)),
                                (Fraction(1, 5), Fraction(7, 10))])
    capacity = rng.choice([24, 30, 36, 40, 48, 60, 72, 80, 120])
    added = capacity * (after - before)
    if added.denominator != 1:
        raise ValueError("the litres added are not whole")
    person = names(rng, 1)[0]
    parts = after.denominator          # after's denominator is a multiple of before's
    first, poured = before * parts, (after - before) * parts
    one = added / poured
    model = _fig(bar_svg(parts, int(first), int(poured), f"{n(added)} {L}"),
                 f"A bar of {parts} equal parts standing for the tank: {plural(first, 'part')} grey, the water "
                 f"at first; then {poured} parts hatched and marked {n(added)} {L}, the water poured in; then "
                 f"{plural(parts - first - poured, 'part')} empty")
    steps = [Step(f"Draw the tank as a bar of {parts} equal parts. At first {frac(before)} of it is full, "
                  f"that is {plural(first, 'part')}; afterwards {frac(after)}, that is {after * parts} parts.",
                  f"{sub(after * parts, first)} = {poured} parts poured in", figure=model),
             Step(f"The {qty(added, L)} poured in fills {poured} parts. Find 1 part.",
                  f"{n(added)} {DIV} {poured} = {qty(one, L)}"),
             Step(f"The whole tank is {parts} parts.", f"{mul(one, parts)} = {qty(capacity, L)}")]
    return Question(p(f"A tank is {frac(before)} full of water.",
                      f"After {person} pours in another {qty(added, L)} of water, the tank is {frac(after)} full.",
                      "What is the capacity of the tank?"),
                    [Part(key=num(capacity_from_fractions(before, after, added)), unit=L)],
                    solution=Solution(steps, [one * parts]))


@lru_cache(maxsize=None)
def _bucket_draws():
    """Tanks with water d cm deep (a short decimal of litres) from which
    buckets of bucket litres are filled, lowering the level by a whole or
    one-place number of cm, leaving over half the water and a depth of at
    least 4 cm: (l, b, h, d, bucket, buckets)."""
    rows = []
    for l, b, h in _tanks():
        for d in _depths(h):
            if l * b * d % 10:
                continue
            for bucket in (2, 3, 4, 5):
                for buckets in range(2, 7):
                    out = bucket * buckets
                    fall = Fraction(1000 * out, l * b)
                    if (fall * 10).denominator == 1 and 2 * out * 1000 <= l * b * d and d - fall >= 4:
                        rows.append((l, b, h, d, bucket, buckets))
    return tuple(rows)


def _tank_parts_figure(l, b, h, d):
    return _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": f"{d} cm"}),
                _tank_alt(l, b, h, d))


def _fraction_steps(d, h, part):
    """The fraction of a tank h cm high that water d cm deep fills."""
    f = Fraction(d, h)
    steps = [Step("The base is the same all the way up, so the fraction of the tank filled is the depth of the "
                  "water out of the height of the tank.",
                  f"{qty(d, 'cm')} out of {qty(h, 'cm')} is {frac(d, h)}", part)]
    if f.denominator != h:
        k = h // f.denominator
        steps.append(Step(f"Simplify: divide the top and the bottom by {k}.",
                          f"{frac(d, h)} = {frac(f'{d} {DIV} {k}', f'{h} {DIV} {k}')} = {frac(f)}", part))
    return steps


@family("volume.tank-parts", TOPIC, [("N", "N"), ("N", "N", "N"), ("F", "N"), ("N", "F")], levels=(3,))
def tank_parts(rng, level, slots):
    kinds = "".join(s.kind for s in slots)
    in_tank = lambda water: Part(key=num(water), prompt="How many litres of water are in the tank?", unit=L)

    def at(steps, part):
        for step in steps:
            step.part = part
        return steps
    if kinds in ("FN", "NF"):
        l, b, h = _tank(rng)
        d = rng.randint(max(5, h // 4), h - 5)
        if Fraction(d, h).denominator == 1:
            raise ValueError("the tank is not partly full")
        water = tank_litres(l, b, d)
        more = tank_litres(l, b, h - d)
        text = p(f"The rectangular tank shown contains water {qty(d, 'cm')} deep.")
        fraction = Part(key=fraction_key(Fraction(d, h)), prompt="What fraction of the tank is filled with water?")
        if kinds == "FN":
            to_fill = Part(key=num(more), prompt="How many more litres of water are needed to fill the tank?",
                           unit=L)
            steps = _fraction_steps(d, h, 1) + at(_to_fill_steps(l, b, h, d), 2)
            return Question(text, [fraction, to_fill], [_tank_parts_figure(l, b, h, d)],
                            Solution(steps, [Fraction(d, h), litres(cuboid_volume(l, b, h - d))]))
        steps = _in_tank_steps(l, b, d) + _fraction_steps(d, h, 2)
        return Question(text, [in_tank(water), fraction], [_tank_parts_figure(l, b, h, d)],
                        Solution(steps, [litres(cuboid_volume(l, b, d)), Fraction(d, h)]))
    if rng.random() < 0.5:
        # A tap then fills the tank to the brim.
        l, b, h, d, rate = _pick(rng, _tap_top_ups(), lambda r: r[4], _minutes)
        water, more = tank_litres(l, b, d), tank_litres(l, b, h - d)
        text = p(f"The rectangular tank shown contains water {qty(d, 'cm')} deep.")
        to_fill = Part(key=num(more), prompt="How many more litres of water are needed to fill the tank?", unit=L)
        time = Part(key=num(time_to_fill(more, rate)),
                    prompt=f"Water then flows in from a tap at {qty(rate, L)} a minute. How many minutes does "
                           "it take to fill the tank?", unit="minutes")
        if len(slots) == 3:
            steps = _in_tank_steps(l, b, d) + at(_to_fill_steps(l, b, h, d), 2) + [_minutes_step(more, rate, 3)]
            return Question(text, [in_tank(water), to_fill, time], [_tank_parts_figure(l, b, h, d)],
                            Solution(steps, [water, more, time_to_fill(more, rate)]))
        steps = _in_tank_steps(l, b, d) + at(_to_fill_steps(l, b, h, d), 2) + [_minutes_step(more, rate, 2)]
        return Question(text, [in_tank(water), time], [_tank_parts_figure(l, b, h, d)],
                        Solution(steps, [water, time_to_fill(more, rate)]))
    # Some water is poured into buckets, and the level falls.
    l, b, h, d, bucket, buckets = _pick(rng, _bucket_draws())
    water, out = tank_litres(l, b, d), bucket * buckets
    left, now = water - out, d - water_height(out, l, b)
    text = p(f"The rectangular tank shown contains water {qty(d, 'cm')} deep.")
    parts = [in_tank(water),
             Part(key=num(water - out), prompt=f"{buckets} buckets, each holding {qty(bucket, L)}, are filled from "
                  "the tank. How many litres of water are left in the tank?", unit=L),
             Part(key=num(d - water_height(out, l, b)), prompt="What is the depth of the water left in the tank?",
                  unit="cm")]
    after = _fig(levels_svg(l, b, h, now, before=d, left=[(0, d, f"{d} cm")], right=[(0, now, f"{n(now)} cm")],
                            show_height=False),
                 f"The tank, {l} cm long and {b} cm wide, with the level the water stood at, {d} cm, dashed, "
                 f"and the water left, {n(now)} cm deep")
    taken = [Step(f"Find how much water the buckets take.", f"{mul(buckets, bucket)} = {qty(out, L)}"),
             Step("Take it away from the water in the tank.", f"{sub(water, out)} = {qty(left, L)}")]
    depth = [Step(f"Change the water left to cubic centimetres: 1\u00a0{L} = 1000\u00a0{CM3}.",
                  f"{n(left)} {TIMES} 1000 = {qty(left * 1000, CM3)}"),
             Step(f"Find the area of the tank's base, length {TIMES} breadth.", f"{mul(l, b)} = {qty(l * b, SQ)}"),
             Step("Divide the volume by the base area to find the depth.",
                  f"{n(left * 1000)} {DIV} {n(l * b)} = {qty(now, 'cm')}", figure=after)]
    if len(slots) == 3:
        steps = _in_tank_steps(l, b, d) + at(taken, 2) + at(depth, 3)
        return Question(text, parts, [_tank_parts_figure(l, b, h, d)], Solution(steps, [water, left, now]))
    steps = _in_tank_steps(l, b, d) + taken + at(depth, 2)
    return Question(text, parts[1:], [_tank_parts_figure(l, b, h, d)], Solution(steps, [left, now]))


@family("volume.composite-solid", TOPIC, ["N"], levels=(2, 3))
def composite_solid(rng, level, slots):
    unit = "cm"
    length, breadth = rng.randint(8, 16), rng.randint(3, 8)
    low, top_height = rng.randint(2, 6), rng.randint(2, 6)
    top_length = rng.randint(2, length - 3)
    total = level == 3
    height = low + top_height
    shown = (f"{height} {unit} high in all on its left, the lower cuboid {low} {unit} high on its right"
             if total else f"the lower cuboid {low} {unit} high and the upper one {top_height} {unit} high")
    fig = _fig(step_solid_svg(length, breadth, low, top_length, top_height, unit, total_height=total),
               f"A solid of two cuboids of the same breadth, one on top of the other: the lower cuboid is "
               f"{length} {unit} long and {breadth} {unit} wide, the upper one {top_length} {unit} long, standing "
               f"on the left part of it; {shown}")
    v = step_solid_volume(length, breadth, low, top_length, top_height)
    split = _fig(step_solid_svg(length, breadth, low, top_length, top_height, unit, names=True),
                 f"The solid split into cuboid A below, {length} by {breadth} by {low} {unit}, and cuboid B on top, "
                 f"{top_length} by {breadth} by {top_height} {unit}")
    lower, upper = cuboid_volume(length, breadth, low), cuboid_volume(top_length, breadth, top_height)
    steps = [_volume_step(length, breadth, low, f"Split the solid into cuboid A below and cuboid B on top. A is "
                                                f"{qty(length, unit)} long, {qty(breadth, unit)} wide and "
                                                f"{qty(low, unit)} high."),
             _volume_step(top_length, breadth, top_height, f"B is {qty(top_length, unit)} long, as wide as A, "
                                                           f"{qty(breadth, unit)}, and {qty(top_height, unit)} high."),
             Step("Add the volumes of A and B.", f"{add(lower, upper)} = {qty(v, CM3)}")]
    if total:
        steps.insert(0, Step("The upper cuboid's height is the height of the whole solid less the lower cuboid's.",
                             f"{sub(height, low)} = {qty(top_height, unit)}"))
    steps[1 if total else 0].figure = split
    text = p("The solid is made of two cuboids, one on top of the other. They have the same breadth.")
    return Question(text + p("Find the volume of the solid."), [Part(key=num(v), unit=CM3)], [fig],
                    Solution(steps, [lower + upper]))
