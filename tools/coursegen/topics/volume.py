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
from ..model import Figure, Part, Question, fraction_key, num
from ..svg import GREY, LIGHT, Svg
from ..text import frac, n, p

TOPIC = 5
CM3 = "cm\u00b3"
L = "\u2113"
ML = "m\u2113"
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
            yw = y - water * s
            front = [(x, y), (x + w, y), (x + w, yw), (x, yw)]
            top = [(x, yw), (x + w, yw), (x + w + k, yw - k), (x + k, yw - k)]
            right = [(x + w, y), (x + w + k, y - k), (x + w + k, yw - k), (x + w, yw)]
            _raw_polygon(svg, right, GREY, 0.75)
            _raw_polygon(svg, top, LIGHT, 0.9)
            _raw_polygon(svg, front, LIGHT, 0.75)
            svg.polyline([(x, yw), (x + w, yw), (x + w + k, yw - k)], width=1.4)
            svg.line(x + k, yw - k, x + w + k, yw - k, width=1.1, dash="5,4")
            svg.line(x, yw, x + k, yw - k, width=1.1, dash="5,4")
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


def step_solid_svg(length, breadth, low, top_length, top_height, unit, total_height=False):
    """A cuboid with a shorter cuboid standing on its left part, same depth."""
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
    return svg.render()


def _fig(svg, alt):
    return Figure(svg, alt)


def _tank_alt(length, breadth, height, water=None):
    text = f"A rectangular tank {length} cm long, {breadth} cm wide and {height} cm high"
    return text + (f", with water {n(water)} cm deep" if water else "")


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


@family("volume.unit-cubes", TOPIC, ["N"], levels=(1, 2))
def unit_cubes(rng, level, slots):
    heights = _solid_heights(rng, level)
    count = solid_cubes(heights)
    fig = _fig(cubes_svg(heights), f"A solid made of {count} cubes: columns of heights "
               + "; ".join(", ".join(map(str, r)) for r in heights) + " from the back row to the front")
    if level == 1:
        if rng.random() < 0.5:
            return Question(p("The solid below is made of 1-cm cubes, with no gaps inside it.",
                              "What is its volume?"), [Part(key=num(count), unit=CM3)], [fig])
        return Question(p("The solid below is made of unit cubes, with no gaps inside it.",
                          "How many unit cubes are there in the solid?"),
                        [Part(key=num(count), unit="cubes")], [fig])
    cols, rows = len(heights[0]), len(heights)
    top = max(max(r) for r in heights)
    edge = max(cols, rows, top) + rng.randint(0, 1)
    if rng.random() < 0.5:
        return Question(p("The solid below is made of 1-cm cubes, with no gaps inside it.",
                          f"How many more 1-cm cubes are needed to make it into a cube of edge {edge} cm?"),
                        [Part(key=num(edge ** 3 - count), unit="cubes")], [fig])
    side = rng.choice([2, 3])
    return Question(p(f"The solid below is made of cubes of edge {side} cm, with no gaps inside it.",
                      "What is its volume?"),
                    [Part(key=num(count * side ** 3), unit=CM3)], [fig])


def cuboid_options(rng, volume):
    """Edges (l, b, h) with the given volume, and three sets whose volume is
    not it: one edge one more, one whose edges add up to the volume's factor
    sum, one with two edges swapped for a near pair."""
    sets = [(l, b, volume // (l * b)) for l in range(2, 13) for b in range(2, l + 1)
            if volume % (l * b) == 0 and 2 <= volume // (l * b) <= b]
    if not sets:
        raise ValueError("no cuboid with small edges")
    right = rng.choice(sets)
    l, b, h = right
    wrong = [(l + 1, b, h), (l, b + 1, h - 1), (l + 2, b - 1, h), (l, b, h + 1), (l - 1, b + 1, h + 1)]
    wrong = [w for w in wrong if min(w) >= 1 and w[0] * w[1] * w[2] != volume]
    unique = []
    for w in wrong:
        if w not in unique:
            unique.append(w)
    if len(unique) < 3:
        raise ValueError("too few wrong cuboids")
    return right, rng.sample(unique, 3)


@family("volume.cuboid", TOPIC, ["N", "Q"], levels=(1, 2))
def cuboid(rng, level, slots):
    if slots[0].kind == "Q":
        volume = rng.choice([24, 30, 36, 40, 48, 60, 72, 80, 90, 96, 120])
        right, wrong = cuboid_options(rng, volume)
        show = lambda e: f"{e[0]} cm \u00d7 {e[1]} cm \u00d7 {e[2]} cm"
        part = choice(rng, show(right), [show(w) for w in wrong],
                      prompt=f"Which of these cuboids has a volume of {volume} {CM3}?")
        return Question("", [part])
    unit = rng.choice(["cm", "m"])
    if level == 1:
        if rng.random() < 0.35:
            e = rng.randint(2, 10)
            fig = _fig(cuboid_svg(e, e, e, unit, labels={"breadth": None, "height": None}),
                       f"A cube of edge {e} {unit}")
            return Question(p("Find the volume of the cube."), [Part(key=num(e ** 3), unit=f"{unit}\u00b3")],
                            [fig])
        l, b, h = rng.randint(4, 15), rng.randint(2, 9), rng.randint(2, 10)
        fig = _fig(cuboid_svg(l, b, h, unit), f"A cuboid {l} {unit} long, {b} {unit} wide and {h} {unit} high")
        return Question(p("Find the volume of the cuboid."),
                        [Part(key=num(cuboid_volume(l, b, h)), unit=f"{unit}\u00b3")], [fig])
    case = rng.choice(["edges", "base-area", "twice"])
    if case == "edges":
        e = rng.randint(2, 10)
        return Question(p(f"The total length of all the edges of a cube is {12 * e} cm.",
                          "Find the volume of the cube."), [Part(key=num(e ** 3), unit=CM3)])
    if case == "base-area":
        base, h = rng.choice([12, 18, 24, 30, 36, 45, 50, 64]), rng.randint(3, 12)
        return Question(p(f"A cuboid has a base of area {base} cm\u00b2 and a height of {h} cm.",
                          "Find its volume."), [Part(key=num(base * h), unit=CM3)])
    b, h = rng.randint(3, 8), rng.randint(2, 9)
    times = rng.choice([2, 3])
    word = {2: "twice", 3: "three times"}[times]
    fig = _fig(cuboid_svg(times * b, b, h, "cm", labels={"length": "?"}),
               f"A cuboid {b} cm wide and {h} cm high whose length is not given")
    return Question(p(f"The length of the cuboid is {word} its breadth.", "Find its volume."),
                    [Part(key=num(cuboid_volume(times * b, b, h)), unit=CM3)], [fig])


@family("volume.missing-edge", TOPIC, ["N"], levels=(1, 2, 3))
def missing_edge_question(rng, level, slots):
    if level == 1:
        if rng.random() < 0.5:
            e = rng.randint(2, 10)
            return Question(p(f"A cube has a volume of {e ** 3} {CM3}.", "What is the length of one edge?"),
                            [Part(key=num(e), unit="cm")])
        l, b, h = rng.randint(4, 12), rng.randint(2, 8), rng.randint(2, 9)
        v = cuboid_volume(l, b, h)
        fig = _fig(cuboid_svg(l, b, h, "cm", labels={"height": "?"}),
                   f"A cuboid {l} cm long and {b} cm wide whose height is not given")
        return Question(p(f"The volume of the cuboid is {n(v)} {CM3}.", "Find its height."),
                        [Part(key=num(missing_edge(v, l, b)), unit="cm")], [fig])
    if level == 2:
        if rng.random() < 0.5:
            base = rng.choice([15, 20, 24, 25, 30, 36, 40, 48])
            h = rng.randint(3, 12)
            return Question(p(f"A cuboid has a volume of {base * h} {CM3}. The area of its base is "
                              f"{base} cm\u00b2.", "Find its height."), [Part(key=num(h), unit="cm")])
        e = rng.choice([4, 6, 8, 10, 12])
        l, b = rng.choice([(l, b) for l in range(2, 33) for b in range(2, l + 1)
                           if e ** 3 % (l * b) == 0 and l * b < e ** 3 // 2 and l != b])
        h = e ** 3 // (l * b)
        return Question(p(f"A cuboid {l} cm long, {b} cm wide and {h} cm high has the same volume as a cube.",
                          "Find the length of an edge of the cube."),
                        [Part(key=num(cube_edge(l * b * h)), unit="cm")])
    case = rng.choice(["square-base", "two-edges", "base-perimeter"])
    if case == "base-perimeter":
        # The breadth comes from the base's perimeter, then the height.
        l, b, h = rng.randint(6, 12), rng.randint(2, 5), rng.randint(3, 9)
        return Question(p(f"The base of a cuboid is a rectangle {l} cm long with a perimeter of {2 * (l + b)} cm.",
                          f"The volume of the cuboid is {l * b * h} {CM3}.", "Find the height of the cuboid."),
                        [Part(key=num(missing_edge(l * b * h, l, b)), unit="cm")])
    if case == "square-base":
        side, h = rng.randint(3, 9), rng.randint(4, 12)
        return Question(p(f"A cuboid has a square base and is {h} cm high. Its volume is {side * side * h} {CM3}.",
                          "Find the length of a side of its base."), [Part(key=num(side), unit="cm")])
    b, h = rng.randint(3, 8), rng.randint(3, 8)
    times = rng.choice([2, 3, 4])
    word = {2: "twice", 3: "three times", 4: "four times"}[times]
    v = cuboid_volume(times * b, b, h)
    return Question(p(f"A box is {h} cm high and has a volume of {n(v)} {CM3}.",
                      f"Its length is {word} its breadth.", "Find the length of the box."),
                    [Part(key=num(times * b), unit="cm")])


@family("volume.convert", TOPIC, ["N", "Q"], levels=(1, 2))
def convert(rng, level, slots):
    if slots[0].kind == "Q":
        whole, ml = rng.randint(1, 9), rng.choice([5, 50, 500, 25, 250, 75])
        value = Fraction(whole * 1000 + ml, 1000)
        right = whole * 1000 + ml
        wrong = {whole * 100 + ml, whole * 1000 + ml * 10 if ml < 100 else whole * 1000 + ml // 10,
                 whole * 10000 + ml, whole * 1000 + ml + 1000 * (ml < 100)}
        wrong.discard(right)
        wrong = sorted(wrong)
        if len(wrong) < 3:
            raise ValueError("too few slips")
        part = choice(rng, f"{n(right)} {ML}", [f"{n(w)} {ML}" for w in rng.sample(wrong, 3)],
                      prompt=f"Which of these is equal to {n(value)} {L}?")
        return Question("", [part])
    if level == 1:
        case = rng.choice(["l-ml", "ml-l", "mixed", "cm3-l"])
        if case == "l-ml":
            x = Fraction(rng.randint(11, 95), 10)
            return Question(p(f"{n(x)} {L} = ? {ML}"), [Part(key=num(x * 1000), prompt="What is the missing number?")])
        if case == "ml-l":
            x = rng.randint(12, 95) * 100
            return Question(p(f"Write {n(x)} {ML} in litres."), [Part(key=num(litres(x)), unit=L)])
        if case == "mixed":
            a, b = rng.randint(1, 9), rng.randint(5, 950)
            return Question(p(f"Write {a} {L} {b} {ML} in millilitres."), [Part(key=num(1000 * a + b), unit=ML)])
        x = rng.randint(15, 90) * 100
        return Question(p(f"A bottle holds {n(x)} {CM3} of water. How many litres is that?"),
                        [Part(key=num(litres(x)), unit=L)])
    case = rng.choice(["cups", "bottles", "capacity"])
    if case == "cups":
        cup = rng.choice([150, 200, 250, 300])
        count = rng.randint(4, 12)
        total = Fraction(cup * count, 1000)
        return Question(p(f"A jug holds {n(total)} {L} of juice.",
                          f"How many glasses of {cup} {ML} can be filled from the jug?"),
                        [Part(key=num(count), unit="glasses")])
    if case == "bottles":
        bottle = rng.choice([Fraction(3, 2), 2, Fraction(5, 4), Fraction(1, 2)])
        count = rng.randint(3, 9)
        used = rng.choice([250, 300, 400, 750, 800])
        person = names(rng, 1)[0]
        left = bottle * count * 1000 - used
        return Question(p(f"{person} bought {count} bottles of water, each holding {n(bottle)} {L}.",
                          f"{pronoun(person).capitalize()} drank {used} {ML} of it.",
                          "How many millilitres of water were left?"),
                        [Part(key=num(left), unit=ML)])
    l, b, h = rng.choice([10, 20, 25, 30]), rng.choice([10, 12, 15, 20]), rng.choice([8, 10, 12, 16, 20])
    fig = _fig(cuboid_svg(l, b, h, "cm", tank=True), _tank_alt(l, b, h))
    return Question(p("What is the capacity of the rectangular container in litres?"),
                    [Part(key=num(tank_litres(l, b, h)), unit=L)], [fig])


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


@family("volume.tank-water", TOPIC, ["N"], levels=(1, 2, 3))
def tank_water(rng, level, slots):
    l, b, h = _tank(rng)
    d = rng.randint(max(5, h // 4), h - 4)
    fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": f"{d} cm"}),
               _tank_alt(l, b, h, d))
    if level == 1:
        return Question(p(f"A rectangular tank contains water {d} cm deep, as shown.",
                          "Find the volume of the water."),
                        [Part(key=num(cuboid_volume(l, b, d)), unit=CM3)], [fig])
    if level == 2:
        if rng.random() < 0.5:
            return Question(p(f"A rectangular tank contains water {d} cm deep, as shown.",
                              "How many litres of water are in the tank?"),
                            [Part(key=num(tank_litres(l, b, d)), unit=L)], [fig])
        vol = tank_litres(l, b, d)
        fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": "?"}),
                   _tank_alt(l, b, h) + ", partly filled with water of unknown depth")
        return Question(p(f"The rectangular tank contains {n(vol)} {L} of water.",
                          "What is the depth of the water?"),
                        [Part(key=num(water_height(vol, l, b)), unit="cm")], [fig])
    case = rng.choice(["pour", "to-fill", "half-out"])
    if case == "to-fill":
        return Question(p(f"A rectangular tank contains water {d} cm deep, as shown.",
                          "How many more litres of water are needed to fill the tank to the brim?"),
                        [Part(key=num(tank_litres(l, b, h - d)), unit=L)], [fig])
    if case == "half-out":
        out = rng.choice([Fraction(1, 2), Fraction(1, 4), Fraction(3, 4)])
        if (d * out).denominator != 1 and (d * out * 10).denominator != 1:
            raise ValueError("the depth left is not a short decimal")
        return Question(p(f"A rectangular tank contains water {d} cm deep, as shown.",
                          f"{frac(out)} of the water is poured out.",
                          "What is the depth of the water left in the tank?"),
                        [Part(key=num(short_decimal(d * (1 - out), 1)), unit="cm")], [fig])
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
    return Question(p(f"A rectangular tank contains water {d} cm deep, as shown.",
                      f"All the water is poured into an empty tank {l2} cm long, {b2} cm wide and {h2} cm high.",
                      "What is the depth of the water in the second tank?"),
                    [Part(key=num(depth2), unit="cm")], [fig])


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


@family("volume.fill-rate", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def fill_rate(rng, level, slots):
    person = names(rng, 1)[0]
    if len(slots) == 2 or level == 2:
        l, b, h, rate = _pick(rng, _full_fills(), lambda r: r[3], lambda r: r[0] * r[1] * r[2] // (1000 * r[3]))
        capacity = tank_litres(l, b, h)
        fig = _fig(cuboid_svg(l, b, h, "cm", tank=True), _tank_alt(l, b, h))
        if len(slots) == 2:
            return Question(p(f"{person} fills the empty rectangular tank shown from a tap that lets out "
                              f"{rate} {L} of water a minute."),
                            [Part(key=num(capacity), prompt="What is the capacity of the tank?", unit=L),
                             Part(key=num(time_to_fill(capacity, rate)),
                                  prompt="How long does it take to fill the tank?", unit="minutes")], [fig])
        if rng.random() < 0.5:
            return Question(p(f"Water flows from a tap into the empty tank at {rate} {L} a minute.",
                              "How many minutes does it take to fill the tank?"),
                            [Part(key=num(time_to_fill(capacity, rate)), unit="minutes")], [fig])
        fig = _fig(cuboid_svg(l, b, h, "cm", water=h, tank=True), _tank_alt(l, b, h) + ", full of water")
        return Question(p(f"The tank is full of water. Water drains out of it at {rate} {L} a minute.",
                          "How many minutes does it take to empty the tank?"),
                        [Part(key=num(time_to_fill(capacity, rate)), unit="minutes")], [fig])
    case = rng.choice(["tap", "leak", "depth"])
    if case == "depth":
        l, b, h, rate, t = _pick(rng, _timed_fills())
        depth = short_decimal(water_height(rate * t, l, b), 1)
        fig = _fig(cuboid_svg(l, b, h, "cm", water=depth, tank=True, labels={"water": "?"}),
                   _tank_alt(l, b, h) + ", partly filled with water of unknown depth")
        return Question(p(f"The rectangular tank shown is empty. {person} turns on a tap that lets "
                          f"{rate} {L} of water into it a minute.",
                          f"How deep is the water after {t} minutes?"),
                        [Part(key=num(depth), unit="cm")], [fig])
    if case == "tap":
        l, b, h, d, rate = _pick(rng, _tap_top_ups(), lambda r: r[4], _minutes)
    else:
        fill, drain = rng.choice(LEAKS)
        l, b, h, d, _ = _pick(rng, _top_ups(fill - drain, 60), _minutes)
    more = tank_litres(l, b, h - d)
    fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": f"{d} cm"}),
               _tank_alt(l, b, h, d))
    if case == "tap":
        return Question(p(f"The tank contains water {d} cm deep. {person} turns on a tap that lets "
                          f"{rate} {L} of water into the tank a minute.",
                          "How many minutes does it take to fill the tank to the brim?"),
                        [Part(key=num(time_to_fill(more, rate)), unit="minutes")], [fig])
    return Question(p(f"The tank contains water {d} cm deep. A tap lets {fill} {L} of water into it a minute,",
                      f"while {drain} {L} a minute leaks out through a hole at the bottom.",
                      "How many minutes does it take to fill the tank to the brim?"),
                    [Part(key=num(time_to_fill(more, fill - drain)), unit="minutes")], [fig])


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
        return Question(p(f"The rectangular tank shown contains water {d1} cm deep.",
                          f"When a stone is put into the tank, it sinks and the water level rises to {d2} cm.",
                          "What is the volume of the stone?"),
                        [Part(key=num(cuboid_volume(l, b, d2 - d1)), unit=CM3)], [fig])
    # Identical metal cubes sink to the bottom, side by side, or are lifted out.
    case = rng.choice(["in", "out", "how-many"] if len(slots) == 1 else ["in", "out"])
    l, b, h, d, edge, count, change = _sunk_cubes(rng, case == "out")
    fig = _fig(cuboid_svg(l, b, h, "cm", water=d, tank=True, labels={"water": f"{d} cm"}),
               _tank_alt(l, b, h, d))
    cubes = f"{count} solid metal cubes, each of edge {edge} cm,"
    if case == "how-many":
        return Question(p(f"The rectangular tank shown contains water {d} cm deep.",
                          f"Some solid metal cubes, each of edge {edge} cm, are put into the tank and sink "
                          f"to the bottom. No water spills out, and the water level rises to {n(d + change)} cm.",
                          "How many cubes are put into the tank?"),
                        [Part(key=num(cubes_for_rise(change, l, b, edge)), unit="cubes")], [fig])
    if case == "in":
        text = p(f"The rectangular tank shown contains water {d} cm deep.",
                 f"{cubes} are put into the tank and sink to the bottom. No water spills out.")
        now = d + change
        moved = Part(key=num(change), prompt="By how much does the water level rise?", unit="cm")
    else:
        text = p(f"The rectangular tank shown contains water {d} cm deep.",
                 f"{cubes} lie on the bottom of the tank, covered by the water.",
                 "The cubes are lifted out, and no water is lost.")
        now = d - change
        moved = Part(key=num(change), prompt="By how much does the water level fall?", unit="cm")
    parts = [Part(key=num(count * edge ** 3), prompt="What is the total volume of the cubes?", unit=CM3),
             moved,
             Part(key=num(now), prompt="What is the depth of the water now?", unit="cm")]
    if len(slots) == 3:
        return Question(text, parts, [fig])
    if len(slots) == 2:
        return Question(text, [parts[0], parts[2]] if rng.random() < 0.5 else parts[:2], [fig])
    return Question(text + p("What is the depth of the water now?"), [Part(key=num(now), unit="cm")], [fig])


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
    text = p(f"A box is {l} cm long, {b} cm wide and {h} cm high, as shown.")
    if len(slots) == 2:
        return Question(text + p(f"It is packed full of cubes of edge {edge} cm."),
                        [Part(key=num(count), prompt="How many cubes are in the box?", unit="cubes"),
                         Part(key=num(count * edge ** 3), prompt="What is the total volume of the cubes?",
                              unit=CM3)], [fig])
    if exact:
        return Question(text + p(f"How many cubes of edge {edge} cm are needed to fill it completely?"),
                        [Part(key=num(count), unit="cubes")], [fig])
    return Question(text + p(f"What is the greatest number of cubes of edge {edge} cm that can be packed "
                             "into the box?"),
                    [Part(key=num(count), unit="cubes")], [fig])


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
                   _tank_alt(l, b, h) + f", {part} full of water")
        return Question(p(f"The rectangular tank shown is {frac(part)} full of water.",
                          "How many litres of water are in the tank?"),
                        [Part(key=num(water), unit=L)], [fig])
    before, after = rng.choice([(Fraction(1, 4), Fraction(3, 4)), (Fraction(2, 5), Fraction(4, 5)),
                                (Fraction(1, 3), Fraction(5, 6)), (Fraction(1, 2), Fraction(7, 8)),
                                (Fraction(1, 5), Fraction(7, 10))])
    capacity = rng.choice([24, 30, 36, 40, 48, 60, 72, 80, 120])
    added = capacity * (after - before)
    if added.denominator != 1:
        raise ValueError("the litres added are not whole")
    person = names(rng, 1)[0]
    return Question(p(f"A tank is {frac(before)} full of water.",
                      f"After {person} pours in another {n(added)} {L} of water, the tank is {frac(after)} full.",
                      "What is the capacity of the tank?"),
                    [Part(key=num(capacity_from_fractions(before, after, added)), unit=L)])


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


@family("volume.tank-parts", TOPIC, [("N", "N"), ("N", "N", "N"), ("F", "N"), ("N", "F")], levels=(3,))
def tank_parts(rng, level, slots):
    kinds = "".join(s.kind for s in slots)
    in_tank = lambda water: Part(key=num(water), prompt="How many litres of water are in the tank?", unit=L)
    if kinds in ("FN", "NF"):
        l, b, h = _tank(rng)
        d = rng.randint(max(5, h // 4), h - 5)
        if Fraction(d, h).denominator == 1:
            raise ValueError("the tank is not partly full")
        water = tank_litres(l, b, d)
        more = tank_litres(l, b, h - d)
        text = p(f"The rectangular tank shown contains water {d} cm deep.")
        fraction = Part(key=fraction_key(Fraction(d, h)), prompt="What fraction of the tank is filled with water?")
        if kinds == "FN":
            to_fill = Part(key=num(more), prompt="How many more litres of water are needed to fill the tank?",
                           unit=L)
            return Question(text, [fraction, to_fill], [_tank_parts_figure(l, b, h, d)])
        return Question(text, [in_tank(water), fraction], [_tank_parts_figure(l, b, h, d)])
    if rng.random() < 0.5:
        # A tap then fills the tank to the brim.
        l, b, h, d, rate = _pick(rng, _tap_top_ups(), lambda r: r[4], _minutes)
        water, more = tank_litres(l, b, d), tank_litres(l, b, h - d)
        text = p(f"The rectangular tank shown contains water {d} cm deep.")
        to_fill = Part(key=num(more), prompt="How many more litres of water are needed to fill the tank?", unit=L)
        time = Part(key=num(time_to_fill(more, rate)),
                    prompt=f"Water then flows in from a tap at {rate} {L} a minute. How many minutes does "
                           "it take to fill the tank?", unit="minutes")
        parts = [in_tank(water), to_fill, time] if len(slots) == 3 else [in_tank(water), time]
        return Question(text, parts, [_tank_parts_figure(l, b, h, d)])
    # Some water is poured into buckets, and the level falls.
    l, b, h, d, bucket, buckets = _pick(rng, _bucket_draws())
    water, out = tank_litres(l, b, d), bucket * buckets
    text = p(f"The rectangular tank shown contains water {d} cm deep.")
    parts = [in_tank(water),
             Part(key=num(water - out), prompt=f"{buckets} buckets, each holding {bucket} {L}, are filled from "
                  "the tank. How many litres of water are left in the tank?", unit=L),
             Part(key=num(d - water_height(out, l, b)), prompt="What is the depth of the water left in the tank?",
                  unit="cm")]
    return Question(text, parts if len(slots) == 3 else parts[1:], [_tank_parts_figure(l, b, h, d)])


@family("volume.composite-solid", TOPIC, ["N"], levels=(2, 3))
def composite_solid(rng, level, slots):
    unit = "cm"
    length, breadth = rng.randint(8, 16), rng.randint(3, 8)
    low, top_height = rng.randint(2, 6), rng.randint(2, 6)
    top_length = rng.randint(2, length - 3)
    total = level == 3
    fig = _fig(step_solid_svg(length, breadth, low, top_length, top_height, unit, total_height=total),
               f"A solid made of a cuboid {length} by {breadth} by {low} {unit} with a cuboid "
               f"{top_length} {unit} long and {top_height} {unit} high on top of its left part")
    v = step_solid_volume(length, breadth, low, top_length, top_height)
    text = p("The solid is made of two cuboids, one on top of the other. They have the same breadth.")
    return Question(text + p("Find the volume of the solid."), [Part(key=num(v), unit=CM3)], [fig])
