"""Topic 6: Geometry.

Each family draws its values, computes every key with the solvers below and
draws its figure from the same values: angles are drawn at their true size,
so a figure never disagrees with its text. The solvers are tested against
worked examples in tests/test_geometry.py.
"""

import math
from fractions import Fraction

from ..contexts import names, pronoun, possessive
from ..families import choice, family, near_misses
from ..model import Figure, Part, Question, num
from ..svg import GREY, LIGHT, Svg, boxes_meet, text_box
from ..text import frac, n, p

TOPIC = 6
DEG = "\u00b0"
ANGLE = "\u2220"


def deg(x):
    return f"{n(x)}{DEG}"


# ---------------------------------------------------------------- solvers

def on_line(*known):
    """The last angle on a straight line."""
    return 180 - sum(known)


def at_point(*known):
    """The last angle at a point."""
    return 360 - sum(known)


def third_angle(a, b):
    """The third angle of a triangle."""
    return 180 - a - b


def base_angle(apex):
    """A base angle of an isosceles triangle from its apex angle."""
    if (180 - apex) % 2:
        raise ValueError("base angle is not whole")
    return (180 - apex) // 2


def apex_angle(base):
    return 180 - 2 * base


def exterior(a, b):
    """The exterior angle of a triangle: the sum of the two interior
    opposite angles."""
    return a + b


def co_interior(a):
    """Angles between a pair of parallel sides add up to 180."""
    return 180 - a


def quad_fourth(a, b, c):
    return 360 - a - b - c


def rhombus_equilateral(b):
    """Rhombus ABCD with angle ABC = b and an equilateral triangle BCE
    inside it: angles ABE, BAE, EAD, DCE, CED (AB = BE and CD = CE)."""
    if not 60 < b < 120:
        raise ValueError("E is not inside the rhombus")
    abe = b - 60
    bae = base_angle(abe)
    dce = (180 - b) - 60
    ced = base_angle(dce)
    return {"ABE": abe, "BAE": bae, "EAD": (180 - b) - bae, "DCE": dce, "CED": ced}


def parallelogram_line(a, b):
    """Parallelogram ABCD with angle DAB = a and E on DC with angle
    EBC = b: angles ABC, BCD, BEC, DEB, ABE."""
    abc = 180 - a
    if not 0 < b < abc:
        raise ValueError("E is not on DC")
    bec = third_angle(a, b)
    return {"ABC": abc, "BCD": a, "BEC": bec, "DEB": 180 - bec, "ABE": abc - b}


def split_triangle(bad, abd):
    """Triangle ABC with D on BC, AD = DC, angle BAD = bad and angle ABD =
    abd: angles ADB, ADC, ACD (= DAC) and BAC."""
    adb = third_angle(bad, abd)
    adc = 180 - adb
    acd = base_angle(adc)
    return {"ADB": adb, "ADC": adc, "ACD": acd, "BAC": bad + acd}


def isosceles_pair(bac):
    """B, C, D on a line with AB = AC = CD and angle BAC = bac: angles ACB,
    ACD, ADC (= CAD) and BAD."""
    acb = base_angle(bac)
    acd = 180 - acb
    adc = base_angle(acd)
    return {"ACB": acb, "ACD": acd, "ADC": adc, "BAD": bac + adc}


DIRECTIONS = ["north", "north-east", "east", "south-east", "south", "south-west",
              "west", "north-west"]


def turn(facing, degrees, clockwise=True):
    """The direction faced after a turn through a multiple of 45 degrees."""
    if degrees % 45:
        raise ValueError("turn not a multiple of 45")
    step = degrees // 45 * (1 if clockwise else -1)
    return DIRECTIONS[(DIRECTIONS.index(facing) + step) % 8]


def turn_between(start, end, clockwise=True):
    """The angle turned from one direction to another, in one sense."""
    d = (DIRECTIONS.index(end) - DIRECTIONS.index(start)) % 8
    if not clockwise:
        d = (8 - d) % 8
    return 45 * d


def clock_angle(hour, minute=0):
    """The smaller angle between the hands of a clock."""
    a = abs(30 * (hour % 12) + Fraction(minute, 2) - 6 * minute)
    return min(a, 360 - a)


def minute_hand_turn(minutes):
    return 6 * minutes


def hour_hand_turn(hours):
    return 30 * hours


def prism_counts(sides):
    """Faces, edges, vertices of a prism on a polygon of that many sides."""
    return sides + 2, 3 * sides, 2 * sides


def pyramid_counts(sides):
    return sides + 1, 2 * sides, sides + 1


def skeleton_length(length, width, height):
    """Total length of the 12 edges of a cuboid."""
    return 4 * (length + width + height)


def angle_kind(a):
    if a < 90:
        return "acute"
    if a == 90:
        return "right"
    if a < 180:
        return "obtuse"
    if a == 180:
        return "straight"
    return "reflex"


def cross(u, v):
    return u[0] * v[1] - u[1] * v[0]


def dot(u, v):
    return u[0] * v[0] + u[1] * v[1]


def vec(a, b):
    return (b[0] - a[0], b[1] - a[1])


# Cube nets: a net is a set of (row, col) cells. Folding walks the net from
# one cell; each step turns the square up a quarter turn about the shared
# edge. A net folds into a cube when its six squares land on six faces.

def _matmul(a, b):
    return tuple(tuple(sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3))
                 for i in range(3))


_ID = ((1, 0, 0), (0, 1, 0), (0, 0, 1))
_STEP = {(0, 1): ((0, 0, -1), (0, 1, 0), (1, 0, 0)),     # to the right
         (0, -1): ((0, 0, 1), (0, 1, 0), (-1, 0, 0)),
         (1, 0): ((1, 0, 0), (0, 0, -1), (0, 1, 0)),      # downwards
         (-1, 0): ((1, 0, 0), (0, 0, 1), (0, -1, 0))}


def fold_faces(cells):
    """The outward normal each cell of a net lands on when it is folded."""
    cells = set(cells)
    start = min(cells)
    frames = {start: _ID}
    todo = [start]
    while todo:
        cell = todo.pop()
        for step, turn_ in _STEP.items():
            nxt = (cell[0] + step[0], cell[1] + step[1])
            if nxt in cells and nxt not in frames:
                frames[nxt] = _matmul(frames[cell], turn_)
                todo.append(nxt)
    if len(frames) != len(cells):
        raise ValueError("the squares are not joined edge to edge")
    return {c: tuple(-frames[c][i][2] for i in range(3)) for c in cells}


def is_cube_net(cells):
    cells = set(cells)
    if len(cells) != 6:
        return False
    try:
        faces = fold_faces(cells)
    except ValueError:
        return False
    return len(set(faces.values())) == 6


def opposite_cell(cells, cell):
    faces = fold_faces(cells)
    want = tuple(-x for x in faces[cell])
    return next(c for c, f in faces.items() if f == want)


def normalise(cells):
    r0 = min(r for r, _ in cells)
    c0 = min(c for _, c in cells)
    return frozenset((r - r0, c - c0) for r, c in cells)


def variants(cells):
    """The eight rotations and reflections of a set of cells."""
    out = []
    cur = list(cells)
    for _ in range(4):
        cur = [(c, -r) for r, c in cur]
        out.append(normalise(cur))
        out.append(normalise([(r, -c) for r, c in cur]))
    return out


def free_polyominoes(size):
    """Every shape of size squares joined edge to edge, one per shape up to
    rotation and reflection."""
    shapes = {normalise([(0, 0)])}
    for _ in range(size - 1):
        grown = set()
        for s in shapes:
            for r, c in s:
                for dr, dc in _STEP:
                    cell = (r + dr, c + dc)
                    if cell not in s:
                        grown.add(min(variants(s | {cell}), key=sorted))
        shapes = grown
    return sorted(shapes, key=sorted)


HEXOMINOES = free_polyominoes(6)
CUBE_NETS = [h for h in HEXOMINOES if is_cube_net(h)]
NOT_NETS = [h for h in HEXOMINOES if not is_cube_net(h)]


def symmetric_completion(shaded, cols):
    """Squares still to shade so that the vertical line down the middle of a
    grid cols wide is a line of symmetry."""
    return {(r, cols - 1 - c) for r, c in shaded} - set(shaded)


SHAPE_SYMMETRY = {  # lines of symmetry of the shapes drawn below
    "square": 4, "rectangle": 2, "equilateral triangle": 3,
    "isosceles triangle": 1, "rhombus": 2, "parallelogram": 0, "kite": 1,
    "regular pentagon": 5, "regular hexagon": 6, "isosceles trapezium": 1,
    "right-angled triangle": 0, "regular octagon": 8,
}


# ---------------------------------------------------------------- drawing

def _dir(a_deg):
    t = math.radians(a_deg)
    return math.cos(t), math.sin(t)


def _add(p_, d, k=1.0):
    return p_[0] + d[0] * k, p_[1] + d[1] * k


def _heading(a, b):
    return math.degrees(math.atan2(b[1] - a[1], b[0] - a[0])) % 360


def _meet(p1, a1, p2, a2):
    """Where the line through p1 at heading a1 meets the line through p2 at
    heading a2, and the distances along each."""
    d1, d2 = _dir(a1), _dir(a2)
    den = cross(d1, d2)
    if abs(den) < 1e-9:
        raise ValueError("parallel lines")
    w = vec(p1, p2)
    t = cross(w, d2) / den
    s = cross(w, d1) / den
    return _add(p1, d1, t), t, s


class Drawing:
    """A figure in plain coordinates (y upwards), scaled to fit a box when
    rendered, with the marks of a geometry paper: angle arcs and labels,
    right-angle squares, equal-side ticks, parallel arrows, point names."""

    def __init__(self, width=430, height=270, margin=34):
        self.box = (width, height, margin)
        self.pts = {}
        self.ops = []
        self.extra = []

    def point(self, name, xy, label=True, at=None):
        self.pts[name] = xy
        if label:
            self.ops.append(("name", name, at))
        return xy

    def seg(self, a, b, dash=False, width=2):
        self.ops.append(("seg", a, b, dash, width))

    def poly(self, names_, width=2):
        for a, b in zip(names_, names_[1:] + names_[:1]):
            self.seg(a, b, width=width)

    def angle(self, v, a, b, label, reflex=False, radius=None):
        self.ops.append(("angle", v, a, b, label, reflex, radius))

    def right(self, v, a, b):
        self.ops.append(("right", v, a, b))

    def ticks(self, a, b, count=1):
        self.ops.append(("ticks", a, b, count))

    def arrows(self, a, b, count=1, at=0.5):
        self.ops.append(("arrows", a, b, count, at))

    def _xy(self, x):
        return self.pts[x] if isinstance(x, str) else x

    def render(self):
        width, height, m = self.box
        xs = [q[0] for q in self.pts.values()]
        ys = [q[1] for q in self.pts.values()]
        bw, bh = max(xs) - min(xs) or 1, max(ys) - min(ys) or 1
        k = min((width - 2 * m) / bw, (height - 2 * m) / bh)
        x0, y1 = min(xs), max(ys)
        w, h = bw * k + 2 * m, bh * k + 2 * m
        svg = Svg(w, h, font=15)
        cx = sum(xs) / len(xs)
        cy = sum(ys) / len(ys)

        def sc(q):
            q = self._xy(q)
            return m + (q[0] - x0) * k, m + (y1 - q[1]) * k

        # Labels keep off the lines and off each other; the small marks on
        # the sides (equal-side ticks, parallel arrows) are drawn last,
        # where they miss the labels.
        self._lines = [(sc(op[1]), sc(op[2])) for op in self.ops if op[0] == "seg"]
        arcs = {id(op): self._arc(sc, *op[1:]) for op in self.ops if op[0] == "angle"}
        for pts, *_ in arcs.values():
            self._lines += list(zip(pts, pts[1:]))
        self._labels = []
        ticks = []
        for op in self.ops:
            kind = op[0]
            if kind == "seg":
                (ax, ay), (bx, by) = sc(op[1]), sc(op[2])
                svg.line(ax, ay, bx, by, width=op[4], dash="6,4" if op[3] else None)
            elif kind == "angle":
                self._angle(svg, sc(op[1]), op[4], *arcs[id(op)])
            elif kind == "right":
                _, v, a, b = op
                V = sc(v)
                da = _unit(vec(V, sc(a)))
                db = _unit(vec(V, sc(b)))
                s = 13
                pts = [_add(V, da, s), _add(_add(V, da, s), db, s), _add(V, db, s)]
                svg.polyline(pts, width=1.5)
            elif kind == "ticks":
                ticks.append(op)
            elif kind == "arrows":
                ticks.append(op)
            elif kind == "name":
                _, name, at = op
                q = self.pts[name]
                P = sc(q)
                if at == "free":
                    tries = [(head, d0) for head, gap in self._free_headings(name)
                             for d0 in [max(19, _clear_of_rays(head - gap / 2, head + gap / 2, name, 15))]]
                else:
                    if at is None:
                        at = math.degrees(math.atan2(q[1] - cy, q[0] - cx))
                    tries = [(at, 14)]
                spots = [(head, d0 + extra) for head, d0 in tries for extra in range(0, 21, 3)]
                self._label(svg, P, spots, name, bold=True)
        for op in ticks:
            kind, a, b, count = op[:4]
            A, B = sc(a), sc(b)
            d = _unit(vec(A, B))
            nrm = (-d[1], d[0])
            at0 = op[4] if kind == "arrows" else 0.5
            for at in (at0, at0 - 0.1, at0 + 0.1, at0 - 0.18, at0 + 0.18):
                mid = (A[0] + (B[0] - A[0]) * at, A[1] + (B[1] - A[1]) * at)
                marks = []
                for i in range(count):
                    if kind == "ticks":
                        c = _add(mid, d, (i - (count - 1) / 2) * 5)
                        marks.append([_add(c, nrm, -6), _add(c, nrm, 6)])
                    else:
                        tip = _add(mid, d, 4 + (i - (count - 1) / 2) * 8)
                        back = _add(tip, d, -8)
                        marks.append([_add(back, nrm, 6), tip, _add(back, nrm, -6)])
                if not any(_crosses(seg, _grow(box, 2)) for mk in marks for seg in zip(mk, mk[1:])
                           for box in self._labels):
                    break
            for mk in marks:
                if kind == "ticks":
                    svg.line(*mk[0], *mk[1], width=1.8)
                else:
                    svg.polyline(mk, width=1.8)
        return svg.render()

    def _label(self, svg, P, spots, text, bold=False, italic=False):
        """Writes text at the first spot (heading, distance from P) where no
        line crosses it and no label is in its way; at the first spot when
        every one is taken."""
        size = svg.font
        choice_ = None
        for head, dist in spots:
            d = _dir(head)
            x, y = P[0] + d[0] * dist, P[1] - d[1] * dist + 5
            box = text_box(x, y, text, size)
            glyphs = (box[0], y - 0.75 * size, box[2], y + 1)
            if choice_ is None:
                choice_ = (x, y, box)
            if not any(_crosses(line, glyphs) for line in self._lines) and \
                    not any(boxes_meet(box, other, gap=2) for other in self._labels):
                choice_ = (x, y, box)
                break
        x, y, box = choice_
        self._labels.append(box)
        svg.text(x, y, text, bold=bold, italic=italic)

    def _free_headings(self, name):
        """Where a point's name may go: the middles of the gaps between the
        lines at the point, unmarked gaps first, wider first, each with its
        width. Lines ending at the point and lines running through it count."""
        q = self.pts[name]
        heads = []
        for op in self.ops:
            if op[0] != "seg":
                continue
            a, b = self._xy(op[1]), self._xy(op[2])
            if name in op[1:3]:
                heads.append(_heading(q, b if op[1] == name else a))
            elif (abs(cross(vec(a, q), vec(a, b))) < 1e-9 * math.dist(a, b) ** 2
                  and 0 < dot(vec(a, q), vec(a, b)) < dot(vec(a, b), vec(a, b))):
                heads += [_heading(q, a), _heading(q, b)]
        heads.sort()
        if not heads:
            return [(270, 360)]
        marked = [(_heading(q, self._xy(op[2])), _heading(q, self._xy(op[3])))
                  for op in self.ops if op[0] in ("angle", "right") and op[1] == name]

        def same(x, y):
            return abs((x - y + 180) % 360 - 180) < 1e-6

        gaps = []
        for i, h in enumerate(heads):
            nxt = heads[(i + 1) % len(heads)] + (360 if i == len(heads) - 1 else 0)
            taken = any(same(a, h) and same(b, nxt) or same(b, h) and same(a, nxt)
                        for a, b in marked)
            gaps.append(((not taken, nxt - h), h + (nxt - h) / 2, nxt - h))
        gaps.sort(key=lambda g_: g_[0], reverse=True)
        return [(where, width) for _, where, width in gaps]

    def _free_heading(self, name):
        """The middle of the widest gap at a point (an unmarked one if there
        is one) and the gap's width."""
        return self._free_headings(name)[0]

    def _arc(self, sc, v, a, b, label, reflex, radius):
        """The arc marking an angle: its points, the headings it runs
        between (anticlockwise), its sweep and radius."""
        V = sc(v)
        # Screen y points down: headings are measured with y flipped back.
        ha = math.degrees(math.atan2(-(sc(a)[1] - V[1]), sc(a)[0] - V[0]))
        hb = math.degrees(math.atan2(-(sc(b)[1] - V[1]), sc(b)[0] - V[0]))
        sweep = (hb - ha) % 360
        if (sweep > 180) != reflex:
            ha, hb = hb, ha
            sweep = 360 - sweep
        r = radius or (25 if sweep >= 60 else 25 + (60 - sweep) * 0.5)
        if label and not label.endswith(DEG) and abs(sweep - 90) < 5:
            # An unknown drawn nearly square would read as a right angle.
            raise ValueError("an unknown angle looks like a right angle")
        steps = max(6, int(sweep / 6))
        pts = []
        for i in range(steps + 1):
            t = math.radians(ha + sweep * i / steps)
            pts.append((V[0] + r * math.cos(t), V[1] - r * math.sin(t)))
        return pts, ha, hb, sweep, r

    def _angle(self, svg, V, label, pts, ha, hb, sweep, r):
        svg.polyline(pts, width=1.3)
        if label:
            mid = ha + sweep / 2
            # Far enough out along the middle that no arm of the angle
            # crosses the label, further if another line, arc or label is there.
            dist = max(r + 7 + 4 * len(label), _clear_of_rays(ha, hb, label, svg.font))
            # Then off the middle, for a line that runs into the angle.
            turns = [0] + [t * sign for t in range(6, int(sweep / 2) - 10, 6) for sign in (1, -1)]
            spots = [(mid + turn, dist + extra) for extra in range(0, 31, 3) for turn in turns]
            self._label(svg, V, spots, label, italic=len(label) == 1)


def _crosses(seg, box):
    """Whether the segment ((x1, y1), (x2, y2)) passes through the box
    (left, top, right, bottom)."""
    (x1, y1), (x2, y2) = seg
    l, t, r, b = box
    dx, dy = x2 - x1, y2 - y1
    u0, u1 = 0.0, 1.0
    for p_, q_ in ((-dx, x1 - l), (dx, r - x1), (-dy, y1 - t), (dy, b - y1)):
        if p_ == 0:
            if q_ < 0:
                return False
        else:
            u = q_ / p_
            if p_ < 0:
                u0 = max(u0, u)
            else:
                u1 = min(u1, u)
    return u0 < u1


def _grow(box, by):
    return box[0] - by, box[1] - by, box[2] + by, box[3] + by


def _clear_of_rays(h1, h2, label, size, pad=3):
    """How far from a vertex, along the middle of the turn from heading h1
    anticlockwise to h2 (degrees), a label must stand so that neither ray
    crosses it; 0 when the opening is half a turn or more."""
    sweep = (h2 - h1) % 360
    if sweep >= 180 or sweep == 0:
        return 0
    l, t, r, b = text_box(0, 0, label, size)
    w, h = r - l, 0.75 * size
    need = 0
    for head in (h1, h2):
        t_ = math.radians(head)
        # Half the label's extent across the ray, over the sine of half the opening.
        across = w / 2 * abs(math.sin(t_)) + h / 2 * abs(math.cos(t_))
        need = max(need, (across + pad) / math.sin(math.radians(sweep / 2)))
    return need


def _unit(v):
    d = math.hypot(*v)
    return v[0] / d, v[1] / d


def _fig(drawing, alt):
    return Figure(drawing.render(), alt)


# ---------------------------------------------------------------- options

def angle_choice(rng, key, wrong, prompt="", unit=True):
    """A choice of four angles: the key and three plausible wrong ones."""
    mistakes = []
    for w in wrong:
        if 0 < w < 360 and w != key and Fraction(w).denominator == 1 and w not in mistakes:
            mistakes.append(w)
    picked = rng.sample(mistakes, min(3, len(mistakes)))
    # Near values fill in when the mistakes run short.
    for extra in (10, -10, 20, -20, 30):
        if len(picked) == 3:
            break
        if key + extra > 0 and key + extra not in picked:
            picked.append(key + extra)
    show = deg if unit else n
    return choice(rng, show(key), [show(w) for w in picked], prompt=prompt)


def _answer(rng, slots, key, wrong, prompt=""):
    """An N part with the degree sign beside the blank, or a choice."""
    if slots[0].kind == "Q":
        return angle_choice(rng, key, wrong, prompt=prompt)
    return Part(key=num(key), prompt=prompt, unit=DEG)


def _even(rng, lo, hi):
    return rng.randrange(lo + lo % 2, hi + 1, 2)


def _flip(rng, d):
    """Mirror a drawing's points left to right half the time, for variety."""
    if rng.random() < 0.5:
        for k, (x, y) in d.pts.items():
            d.pts[k] = (-x, y)


# ---------------------------------------------------------------- angle families

@family("geometry.angles-on-line", TOPIC, ["N", "Q"], levels=(1, 2))
def angles_on_line(rng, level, slots):
    d = Drawing()
    d.point("A", (-1, 0))
    d.point("B", (1, 0))
    d.point("O", (0, 0), at=-90)
    d.seg("A", "B")
    if level == 1:
        phi = rng.choice([a for a in range(28, 153) if abs(a - 90) > 12])
        d.point("C", _dir(phi))
        d.seg("O", "C")
        given, ask = (phi, 180 - phi) if rng.random() < 0.5 else (180 - phi, phi)
        if given == phi:
            d.angle("O", "B", "C", deg(given))
            d.angle("O", "C", "A", "x")
        else:
            d.angle("O", "C", "A", deg(given))
            d.angle("O", "B", "C", "x")
        wrong = [360 - given, given, 90 - given, ask + 10]
        text = p("AOB is a straight line. Find " + ANGLE + "x.")
        return Question(text, [_answer(rng, slots, ask, wrong)],
                        [_fig(d, "A straight line AOB with a line OC from O")])
    while True:
        cuts = sorted(rng.sample(range(30, 151, 2), 2))
        parts = [cuts[0], cuts[1] - cuts[0], 180 - cuts[1]]
        if min(parts) >= 26:
            break
    if rng.random() < 0.3:
        # One of the three is a right angle, marked with a square.
        i = rng.randrange(3)
        a = rng.randrange(30, 61)
        rest = [a, 90 - a]
        parts = [90 if j == i else rest.pop() for j in range(3)]
        cuts = [parts[0], parts[0] + parts[1]]
    d.point("C", _dir(cuts[0]))
    d.point("D", _dir(cuts[1]))
    d.seg("O", "C")
    d.seg("O", "D")
    rays = ["B", "C", "D", "A"]
    unknown = rng.choice([j for j in range(3) if parts[j] != 90])
    for j in range(3):
        if j == unknown:
            d.angle("O", rays[j], rays[j + 1], "x")
        elif parts[j] == 90:
            d.right("O", rays[j], rays[j + 1])
        else:
            d.angle("O", rays[j], rays[j + 1], deg(parts[j]))
    known = [parts[j] for j in range(3) if j != unknown]
    key = on_line(*known)
    wrong = [sum(known), at_point(*known), 180 - known[0], 180 - known[1]]
    text = p("AOB is a straight line. Find " + ANGLE + "x.")
    return Question(text, [_answer(rng, slots, key, wrong)],
                    [_fig(d, "A straight line AOB with two lines from O")])


@family("geometry.angles-at-point", TOPIC, ["N", "Q"], levels=(1, 2, 3))
def angles_at_point(rng, level, slots):
    count = 3 if level == 1 else 4
    while True:
        cuts = sorted(rng.sample(range(40, 330, 2 if level == 3 else 1), count - 1))
        parts = [cuts[0]] + [b - a for a, b in zip(cuts, cuts[1:])] + [360 - cuts[-1]]
        if min(parts) >= 32 and max(parts) <= 175:
            break
    start = rng.randrange(0, 360)
    d = Drawing(height=260)
    d.point("O", (0, 0), label=False)
    heads = [start] + [start + c for c in cuts]
    rays = []
    for i, h in enumerate(heads):
        name = f"R{i}"
        d.point(name, _dir(h), label=False)
        d.seg("O", name)
        rays.append(name)
    unknown = rng.randrange(count)
    equal = level == 3
    if equal:
        # Two equal unknown angles, both marked x.
        others = [j for j in range(count) if j != unknown]
        twin = rng.choice(others)
        total = parts[unknown] + parts[twin]
        parts[unknown] = parts[twin] = total // 2
        # Redraw the rays so the equal angles are drawn equal.
        heads = [start]
        for q in parts[:-1]:
            heads.append(heads[-1] + q)
        for i, h in enumerate(heads):
            d.pts[f"R{i}"] = _dir(h)
        if min(parts) < 30:
            raise ValueError("an angle too small to draw")
    for j in range(count):
        a, b = rays[j], rays[(j + 1) % count]
        if j == unknown or (equal and j == twin):
            d.angle("O", a, b, "x")
        else:
            d.angle("O", a, b, deg(parts[j]))
    known = [parts[j] for j in range(count) if j != unknown and not (equal and j == twin)]
    if equal:
        key = at_point(*known) // 2
        wrong = [at_point(*known), on_line(*known) // 2 if on_line(*known) > 0 else key + 30,
                 key + 15]
    else:
        key = at_point(*known)
        wrong = [on_line(*known) if on_line(*known) > 0 else key + 30, sum(known), key - 20]
    text = p(f"The figure shows {count} angles at a point. Find {ANGLE}x.")
    return Question(text, [_answer(rng, slots, key, wrong)],
                    [_fig(d, f"{count} angles at a point")])


def _crossing(rng, count):
    """count straight lines through O, drawn at the headings returned."""
    while True:
        cuts = sorted(rng.sample(range(0, 180), count))
        gaps = [b - a for a, b in zip(cuts, cuts[1:])] + [180 - cuts[-1] + cuts[0]]
        if min(gaps) >= 34:
            return cuts


@family("geometry.vertically-opposite", TOPIC, ["N", "Q", ("N", "N")], levels=(1, 2))
def vertically_opposite(rng, level, slots):
    d = Drawing(height=250)
    d.point("O", (0, 0), at="free")
    if level == 1 and len(slots) == 1:
        h = _crossing(rng, 2)
        h = [x + rng.choice([0, 10, 20]) for x in h]
        names_ = ["A", "C", "B", "D"]
        heads = [h[0], h[1], h[0] + 180, h[1] + 180]
        for nm, hd in zip(names_, heads):
            d.point(nm, _dir(hd))
        d.seg("A", "B")
        d.seg("C", "D")
        a = h[1] - h[0]
        if abs(a - 90) < 8:
            raise ValueError("too near a right angle")
        d.angle("O", "A", "C", deg(a))
        if rng.random() < 0.5:
            d.angle("O", "B", "D", "x")
            key = a
            wrong = [180 - a, 360 - a, 90 - a if a < 90 else a - 90]
        else:
            d.angle("O", "C", "B", "x")
            key = 180 - a
            wrong = [a, 360 - a, 360 - 2 * a if a < 180 else a + 10]
        text = p(f"AB and CD are straight lines that meet at O. Find {ANGLE}x.")
        return Question(text, [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Two straight lines AB and CD crossing at O")])
    # Three lines through O: the six angles come in equal opposite pairs.
    h = _crossing(rng, 3)
    names_ = ["A", "C", "E", "B", "D", "F"]
    heads = h + [x + 180 for x in h]
    for nm, hd in zip(names_, heads):
        d.point(nm, _dir(hd))
    d.seg("A", "B")
    d.seg("C", "D")
    d.seg("E", "F")
    gaps = [h[1] - h[0], h[2] - h[1], 180 - h[2] + h[0]]
    sectors = [(names_[i], names_[(i + 1) % 6]) for i in range(6)]
    d.angle("O", *sectors[0], deg(gaps[0]))
    d.angle("O", *sectors[4], deg(gaps[1]))
    text = p(f"AB, CD and EF are straight lines that meet at O.")
    if len(slots) == 2:
        d.angle("O", *sectors[1], "y")
        d.angle("O", *sectors[2], "z")
        parts = [Part(key=num(gaps[1]), prompt=f"Find {ANGLE}y.", unit=DEG),
                 Part(key=num(on_line(gaps[0], gaps[1])), prompt=f"Find {ANGLE}z.", unit=DEG)]
        return Question(text, parts, [_fig(d, "Three straight lines crossing at O")])
    d.angle("O", *sectors[2], "x")
    key = on_line(gaps[0], gaps[1])
    wrong = [at_point(gaps[0], gaps[1]), gaps[0] + gaps[1], 180 - gaps[0]]
    return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, key, wrong)],
                    [_fig(d, "Three straight lines crossing at O")])


def _triangle(b_angle, c_angle, base=1.0):
    """B, C and A of a triangle on base BC with the given base angles."""
    B, C = (0.0, 0.0), (base, 0.0)
    A, _, _ = _meet(B, b_angle, C, 180 - c_angle)
    return A, B, C


@family("geometry.triangle", TOPIC, ["N", "Q"], levels=(1, 2))
def triangle(rng, level, slots):
    while True:
        angs = [rng.randint(25, 110), rng.randint(25, 110)]
        angs.append(180 - sum(angs))
        if min(angs) >= 25:
            break
    case = "plain" if level == 1 else rng.choice(["exterior-find", "exterior-use"])
    if level == 1 and rng.random() < 0.35:
        case = "right"
        angs = [90, rng.randint(25, 65)]
        angs.append(90 - angs[1])
        rng.shuffle(angs)
    a_, b_, c_ = angs
    A, B, C = _triangle(b_, c_)
    d = Drawing(height=240)
    d.point("A", A)
    d.point("B", B)
    d.point("C", C)
    d.poly(["A", "B", "C"])
    verts = {"A": ("A", "B", "C"), "B": ("B", "C", "A"), "C": ("C", "A", "B")}
    size = {"A": a_, "B": b_, "C": c_}
    if case in ("plain", "right"):
        unknown = rng.choice([v for v in "ABC" if size[v] != 90])
        for v in "ABC":
            vv, x, y = verts[v]
            if v == unknown:
                d.angle(vv, x, y, "x")
            elif size[v] == 90:
                d.right(vv, x, y)
            else:
                d.angle(vv, x, y, deg(size[v]))
        known = [size[v] for v in "ABC" if v != unknown]
        key = third_angle(*known)
        wrong = [at_point(*known), sum(known), 90 - known[0] if known[0] < 90 else key + 10]
        text = p(f"Find {ANGLE}x in the triangle ABC.")
        return Question(text, [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Triangle ABC")])
    # BC is extended to D: the exterior angle ACD is the sum of A and B.
    D = (C[0] + 0.5, 0.0)
    d.point("D", D, at=-90)
    d.seg("C", "D")
    ext = a_ + b_
    if case == "exterior-find":
        d.angle("A", "B", "C", deg(a_))
        d.angle("B", "C", "A", deg(b_))
        d.angle("C", "D", "A", "x")
        key, wrong = ext, [c_, 180 - a_, 360 - ext]
    else:
        d.angle("A", "B", "C", deg(a_))
        d.angle("C", "D", "A", deg(ext))
        d.angle("B", "C", "A", "x")
        key, wrong = b_, [ext + a_ if ext + a_ < 180 else c_, 180 - ext, c_]
    _flip(rng, d)
    text = p(f"In the figure, BCD is a straight line. Find {ANGLE}x.")
    return Question(text, [_answer(rng, slots, key, wrong)],
                    [_fig(d, "Triangle ABC with BC extended to D")])


@family("geometry.isosceles", TOPIC, ["N", "Q", ("N", "N")], levels=(2, 3))
def isosceles(rng, level, slots):
    d = Drawing(height=240)
    if level == 2 and len(slots) == 1:
        apex = _even(rng, 30, 120)
        base = base_angle(apex)
        A, B, C = _triangle(base, base)
        d.point("A", A, at=90)
        d.point("B", B)
        d.point("C", C)
        d.poly(["A", "B", "C"])
        d.ticks("A", "B")
        d.ticks("A", "C")
        if rng.random() < 0.5:
            d.angle("A", "B", "C", deg(apex))
            d.angle("B", "C", "A", "x")
            key, wrong = base, [180 - apex, apex, 90 - apex // 2 + 10]
        else:
            d.angle("C", "A", "B", deg(base))
            d.angle("A", "B", "C", "x")
            key, wrong = apex, [base, 180 - base, 90 - base]
        text = p(f"ABC is an isosceles triangle with AB = AC. Find {ANGLE}x.")
        return Question(text, [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Isosceles triangle ABC")])
    # BC extended to D; the exterior angle at C gives the base angle first.
    base = rng.randint(40, 75)
    ext = 180 - base
    apex = apex_angle(base)
    A, B, C = _triangle(base, base)
    d.point("A", A, at=90)
    d.point("B", B)
    d.point("C", C)
    d.point("D", (C[0] + 0.55, 0.0), at=-90)
    d.poly(["A", "B", "C"])
    d.seg("C", "D")
    d.ticks("A", "B")
    d.ticks("A", "C")
    d.angle("C", "D", "A", deg(ext))
    _flip(rng, d)
    text = p("ABC is an isosceles triangle with AB = AC, and BCD is a straight line.")
    if len(slots) == 2:
        parts = [Part(key=num(base), prompt=f"Find {ANGLE}ACB.", unit=DEG),
                 Part(key=num(apex), prompt=f"Find {ANGLE}BAC.", unit=DEG)]
        return Question(text, parts, [_fig(d, "Isosceles triangle ABC with BC extended to D")])
    d.angle("A", "B", "C", "x")
    wrong = [base, 180 - 2 * ext if ext < 90 else ext - base, 180 - ext // 2 if ext % 2 == 0 else ext]
    return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, apex, wrong)],
                    [_fig(d, "Isosceles triangle ABC with BC extended to D")])


@family("geometry.equilateral", TOPIC, ["N", "Q"], levels=(2, 3))
def equilateral(rng, level, slots):
    # D on BC; triangle ABD has angles 60 at B and BAD at A.
    # Not near 30, where AD would look square to BC.
    bad = rng.choice(list(range(15, 24)) + list(range(37, 48)))
    A, B, C = _triangle(60, 60)
    D, _, _ = _meet(A, 240 + bad, B, 0)
    d = Drawing(height=240)
    d.point("A", A, at=90)
    d.point("B", B)
    d.point("C", C)
    d.point("D", D, at=-90)
    d.poly(["A", "B", "C"])
    d.seg("A", "D")
    for a, b in (("A", "B"), ("B", "C"), ("C", "A")):
        d.ticks(a, b)
    d.angle("A", "B", "D", deg(bad))
    if level == 2:
        d.angle("D", "A", "B", "x")
        key = third_angle(60, bad)
        wrong = [180 - bad, 90 - bad, 60 + bad]
        ask = "Find " + ANGLE + "x."
    else:
        d.angle("D", "C", "A", "x")
        key = exterior(60, bad)
        wrong = [third_angle(60, bad), 180 - bad, 120 - bad]
        ask = "Find " + ANGLE + "x."
    _flip(rng, d)
    text = p("ABC is an equilateral triangle. D is a point on BC.", ask)
    return Question(text, [_answer(rng, slots, key, wrong)],
                    [_fig(d, "Equilateral triangle ABC with a line from A to D on BC")])


def _quad(A, B, C, D):
    return {"A": A, "B": B, "C": C, "D": D}


def _trapezium(a, b, width, height):
    """A, B on the base; D, C above with AD at a and BC at b to the base."""
    A, B = (0.0, 0.0), (width, 0.0)
    D = _add(A, _dir(a), height / math.sin(math.radians(a)))
    C = _add(B, _dir(180 - b), height / math.sin(math.radians(b)))
    if C[0] - D[0] < 0.3 * width:
        raise ValueError("the top side is too short")
    return _quad(A, B, C, D)


@family("geometry.quadrilaterals", TOPIC, ["N", "Q", ("N", "N")], levels=(1, 2))
def quadrilaterals(rng, level, slots):
    shape = rng.choice(["parallelogram", "trapezium", "rhombus", "quadrilateral"]
                       if level == 2 else ["parallelogram", "trapezium", "quadrilateral"])
    if len(slots) == 2:
        shape = rng.choice(["parallelogram", "trapezium"])
    d = Drawing(height=230)
    a = rng.choice([x for x in range(50, 131) if abs(x - 90) > 10])
    if shape == "parallelogram":
        q = _trapezium(a, 180 - a, 1.4, 0.75)
    elif shape == "trapezium":
        b = rng.choice([x for x in range(45, 125) if abs(x - 90) > 8 and abs(x - (180 - a)) > 15])
        q = _trapezium(a, b, 1.6, 0.7)
    elif shape == "rhombus":
        a = _even(rng, 50, 130)
        if abs(a - 90) < 10:
            raise ValueError("too near a square")
        q = _trapezium(a, 180 - a, 1.0, math.sin(math.radians(a)))
    else:
        angs = None
        for _ in range(50):
            x, y, z = rng.randint(60, 130), rng.randint(60, 130), rng.randint(60, 130)
            w = 360 - x - y - z
            if 55 <= w <= 140:
                try:
                    q = _general_quad(x, y, 1.5, 1.0, w)
                except ValueError:
                    continue
                angs = (x, y, z, w)
                break
        if not angs:
            raise ValueError("no quadrilateral")
    for k in "ABCD":
        d.point(k, q[k])
    d.poly(["A", "B", "C", "D"])
    corner = {"A": ("A", "B", "D"), "B": ("B", "C", "A"), "C": ("C", "D", "B"), "D": ("D", "A", "C")}
    if shape == "quadrilateral":
        x, y, z, w = angs
        vals = {"A": x, "B": y, "C": 360 - x - y - w, "D": w}
        unknown = rng.choice("ABCD")
        for k in "ABCD":
            d.angle(*corner[k], "x" if k == unknown else deg(vals[k]))
        known = [vals[k] for k in "ABCD" if k != unknown]
        key = quad_fourth(*known)
        text = p(f"Find {ANGLE}x in the quadrilateral ABCD.")
        wrong = [180 - known[0], sum(known) - 180, key + 20]
        return Question(text, [_answer(rng, slots, key, wrong)], [_fig(d, "Quadrilateral ABCD")])
    if shape == "parallelogram":
        d.arrows("A", "B")
        d.arrows("D", "C")
        d.arrows("A", "D", 2)
        d.arrows("B", "C", 2)
        d.angle(*corner["A"], deg(a))
        text = p("ABCD is a parallelogram.")
        if len(slots) == 2:
            return Question(text, [Part(key=num(co_interior(a)), prompt=f"Find {ANGLE}ABC.", unit=DEG),
                                   Part(key=num(a), prompt=f"Find {ANGLE}BCD.", unit=DEG)],
                            [_fig(d, "Parallelogram ABCD")])
        target = rng.choice(["B", "C", "D"])
        d.angle(*corner[target], "x")
        key = a if target == "C" else co_interior(a)
        wrong = [co_interior(a) if key == a else a, 360 - a, 90 - a if a < 90 else a - 90]
        return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Parallelogram ABCD")])
    if shape == "trapezium":
        d.arrows("A", "B")
        d.arrows("D", "C")
        d.angle(*corner["A"], deg(a))
        d.angle(*corner["B"], deg(b))
        text = p("ABCD is a trapezium in which AB is parallel to DC.")
        if len(slots) == 2:
            return Question(text, [Part(key=num(co_interior(a)), prompt=f"Find {ANGLE}ADC.", unit=DEG),
                                   Part(key=num(co_interior(b)), prompt=f"Find {ANGLE}BCD.", unit=DEG)],
                            [_fig(d, "Trapezium ABCD")])
        target = rng.choice(["C", "D"])
        d.angle(*corner[target], "x")
        key = co_interior(b if target == "C" else a)
        wrong = [co_interior(a if target == "C" else b), 360 - a - b, b if target == "C" else a]
        return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Trapezium ABCD")])
    # Rhombus with the diagonal AC: triangle ABC is isosceles (BA = BC).
    for s in (("A", "B"), ("B", "C"), ("C", "D"), ("D", "A")):
        d.ticks(*s)
    d.seg("A", "C", width=1.6)
    b_ = co_interior(a)
    d.angle(*corner["B"], deg(b_))
    d.angle("A", "B", "C", "x")
    key = base_angle(b_)
    wrong = [a, co_interior(b_ // 2), b_ // 2]
    text = p(f"ABCD is a rhombus and AC is a straight line. Find {ANGLE}x.")
    return Question(text, [_answer(rng, slots, key, wrong)], [_fig(d, "Rhombus ABCD with diagonal AC")])


def _general_quad(a, b, width, side, d_angle):
    """Quadrilateral ABCD with angles a at A, b at B, d_angle at D, base AB
    of that width and BC of length side."""
    A, B = (0.0, 0.0), (width, 0.0)
    C = _add(B, _dir(180 - b), side)
    hc = 180 - b + 180 - (360 - a - b - d_angle)   # heading of CD
    D, t, s = _meet(C, hc, A, a)
    if t <= 0.3 or s <= 0.3:
        raise ValueError("not a convex quadrilateral")
    return _quad(A, B, C, D)


# ---------------------------------------------------------------- multi-step angle figures

def _parts(named, order, slots):
    return [Part(key=num(named[k]), prompt=f"Find {ANGLE}{k}.", unit=DEG) for k in order[:len(slots)]]


@family("geometry.rhombus-triangle", TOPIC,
        ["N", "Q", ("N", "N"), ("N", "N", "N"), ("N", "N", "N", "N")], levels=(3,))
def rhombus_triangle(rng, level, slots):
    b = _even(rng, 74, 104)
    square = abs(b - 90) < 1
    named = rhombus_equilateral(b)
    q = _trapezium(180 - b, b, 1.0, math.sin(math.radians(b)))
    A, B, C, D = q["A"], q["B"], q["C"], q["D"]
    # E: turn BC a sixth of a turn towards the inside of the rhombus.
    hb = _heading(B, C)
    E = _add(B, _dir(hb + 60), 1.0)
    d = Drawing(height=260)
    for k, v in (("A", A), ("B", B), ("C", C), ("D", D)):
        d.point(k, v)
    d.point("E", E, at="free")
    d.poly(["A", "B", "C", "D"])
    d.seg("B", "E")
    d.seg("C", "E")
    d.seg("A", "E")
    d.ticks("B", "E")
    d.ticks("C", "E")
    ask = rng.choice(["BAE", "EAD", "CED"]) if len(slots) == 1 else None
    if len(slots) >= 3 or ask == "CED":
        d.seg("D", "E")
    for s in (("A", "B"), ("B", "C"), ("C", "D"), ("D", "A")):
        d.ticks(*s)
    if square:
        d.right("B", "A", "C")
        shape = "ABCD is a square"
    elif rng.random() < 0.5:
        d.angle("B", "C", "A", deg(b))
        shape = "ABCD is a rhombus"
    else:
        d.angle("C", "B", "D", deg(180 - b))
        shape = "ABCD is a rhombus"
    _flip(rng, d)
    text = p(f"{shape} and BCE is an equilateral triangle.")
    if len(slots) == 1:
        if ask == "BAE":
            d.angle("A", "B", "E", "x")
        elif ask == "EAD":
            d.angle("A", "E", "D", "x")
        else:
            d.angle("E", "C", "D", "x")
        key = named[ask]
        wrong = [named["ABE"], named["DCE"], 180 - b, named["BAE"] if ask != "BAE" else named["CED"],
                 180 - key]
        return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, key, wrong)],
                        [_fig(d, "A rhombus ABCD with an equilateral triangle BCE inside it")])
    return Question(text, _parts(named, ["ABE", "BAE", "DCE", "CED"], slots),
                    [_fig(d, "A rhombus ABCD with an equilateral triangle BCE inside it")])


@family("geometry.parallelogram-line", TOPIC,
        ["N", "Q", ("N", "N"), ("N", "N", "N"), ("N", "N", "N", "N")], levels=(3,))
def parallelogram_line_question(rng, level, slots):
    a = rng.choice([x for x in range(55, 126) if abs(x - 90) > 8])
    q = _trapezium(a, 180 - a, 1.5, 0.8)
    A, B, C, D = q["A"], q["B"], q["C"], q["D"]
    b = rng.randint(20, 180 - a - 25)
    named = parallelogram_line(a, b)
    if abs(named["BEC"] - 90) < 10:
        raise ValueError("BE would look square to DC")
    # E on DC: the line from B making angle b with BC.
    E, t, s = _meet(B, _heading(B, C) + b, D, 0)
    if not D[0] + 0.2 < E[0] < C[0] - 0.2:
        raise ValueError("E too near a corner")
    d = Drawing(height=240)
    for k, v in (("A", A), ("B", B), ("C", C), ("D", D)):
        d.point(k, v)
    d.point("E", E, at=90)
    d.poly(["A", "B", "C", "D"])
    d.seg("B", "E")
    d.arrows("A", "B")
    # The arrow on DC keeps clear of E.
    d.arrows("D", "C", at=0.8 if E[0] < (D[0] + C[0]) / 2 else 0.2)
    d.arrows("A", "D", 2)
    d.arrows("B", "C", 2)
    d.angle("A", "B", "D", deg(a))
    d.angle("B", "C", "E", deg(b))
    text = p("ABCD is a parallelogram and E is a point on DC.")
    if len(slots) == 1:
        ask = rng.choice(["BEC", "DEB"])
        if ask == "BEC":
            d.angle("E", "B", "C", "x")
        else:
            d.angle("E", "D", "B", "x")
        key = named[ask]
        wrong = [180 - named[ask], third_angle(180 - a, b) if 180 - a + b < 180 else key + 20,
                 180 - b, a + b if ask == "BEC" else 180 - a - b]
        return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Parallelogram ABCD with a line from B to E on DC")])
    order = {2: ["BCD", "BEC"], 3: ["ABC", "ABE", "BEC"], 4: ["ABC", "ABE", "BCD", "DEB"]}[len(slots)]
    return Question(text, _parts(named, order, slots),
                    [_fig(d, "Parallelogram ABCD with a line from B to E on DC")])


@family("geometry.split-triangle", TOPIC, ["N", "Q", ("N", "N"), ("N", "N", "N")], levels=(3,))
def split_triangle_question(rng, level, slots):
    while True:
        bad, abd = rng.randint(25, 70), rng.randint(30, 75)
        if (bad + abd) % 2 == 0 and 40 <= 180 - bad - abd <= 120:
            break
    named = split_triangle(bad, abd)
    B, D = (0.0, 0.0), (1.0, 0.0)
    A, t, s = _meet(B, abd, D, 180 - named["ADB"])
    ad = math.hypot(*vec(A, D))
    C = (1.0 + ad, 0.0)
    d = Drawing(height=240)
    d.point("A", A, at=90)
    d.point("B", B)
    d.point("D", D, at=-90)
    d.point("C", C)
    d.poly(["A", "B", "C"])
    d.seg("A", "D")
    d.ticks("A", "D")
    d.ticks("D", "C")
    d.angle("A", "D", "B", deg(bad))
    d.angle("B", "D", "A", deg(abd))
    _flip(rng, d)
    text = p("In triangle ABC, D is a point on BC and AD = DC.")
    if len(slots) == 1:
        d.angle("C", "A", "D", "x")
        key = named["ACD"]
        wrong = [named["ADC"], named["ADB"], base_angle(named["ADB"]) if named["ADB"] % 2 == 0
                 else key + 12]
        return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Triangle ABC split by the line AD")])
    order = ["ADB", "ACD"] if len(slots) == 2 else ["ADB", "ACD", "BAC"]
    return Question(text, _parts(named, order, slots), [_fig(d, "Triangle ABC split by the line AD")])


@family("geometry.isosceles-pair", TOPIC,
        ["N", "Q", ("N", "N"), ("N", "N", "N"), ("N", "N", "N", "N")], levels=(3,))
def isosceles_pair_question(rng, level, slots):
    bac = rng.randrange(28, 97, 4)
    named = isosceles_pair(bac)
    A, B, C = _triangle(named["ACB"], named["ACB"])
    D = (C[0] + math.hypot(*vec(A, C)), 0.0)
    d = Drawing(height=230)
    d.point("A", A, at=100)
    d.point("B", B)
    d.point("C", C, at=-90)
    d.point("D", D)
    d.poly(["A", "B", "C"])
    d.seg("C", "D")
    d.seg("A", "D")
    for a, b in (("A", "B"), ("A", "C"), ("C", "D")):
        d.ticks(a, b)
    d.angle("A", "B", "C", deg(bac))
    _flip(rng, d)
    text = p("B, C and D lie on a straight line, and AB = AC = CD.")
    if len(slots) == 1:
        ask = rng.choice(["ADC", "BAD"])
        if ask == "ADC":
            d.angle("D", "A", "C", "x")
        else:
            d.angle("A", "B", "D", "x", radius=54)
        key = named[ask]
        wrong = [named["ACB"], named["ACD"], bac + named["ACB"] if ask == "BAD" else 180 - named["ACD"],
                 180 - named["ADC"]]
        return Question(text + p(f"Find {ANGLE}x."), [_answer(rng, slots, key, wrong)],
                        [_fig(d, "Two isosceles triangles ABC and ACD side by side on a line")])
    order = {2: ["ACB", "ADC"], 3: ["ACB", "ACD", "ADC"], 4: ["ACB", "ACD", "ADC", "BAD"]}[len(slots)]
    return Question(text, _parts(named, order, slots),
                    [_fig(d, "Two isosceles triangles ABC and ACD side by side on a line")])


# ---------------------------------------------------------------- naming and measuring angles

@family("geometry.angle-kind", TOPIC, ["Q"], levels=(1, 2))
def angle_kind_question(rng, level, slots):
    kinds = ["acute", "right", "obtuse", "reflex"]
    if level == 1:
        a = rng.choice([rng.randint(20, 80), rng.randint(100, 170), rng.randint(195, 340)])
        d = Drawing(width=300, height=200)
        start = rng.randrange(0, 360, 15)
        d.point("Q", (0, 0))
        d.point("P", _dir(start))
        d.point("R", _dir(start + a))
        d.seg("Q", "P")
        d.seg("Q", "R")
        d.angle("Q", "P", "R", "", reflex=a > 180)
        options = [f"{k} angle" for k in kinds]
        key = f"{angle_kind(a)} angle"
        part = Part(key=str(options.index(key) + 1), options=options,
                    prompt=f"What kind of angle is the marked angle PQR?")
        return Question("", [part], [_fig(d, "An angle PQR marked with an arc")])
    want = rng.choice(["acute", "obtuse", "reflex"])
    ranges = {"acute": (15, 89), "obtuse": (91, 179), "reflex": (181, 350)}
    right_one = rng.randint(*ranges[want])
    others = [k for k in ranges if k != want]
    wrong = [rng.randint(*ranges[k]) for k in others] + [rng.choice([90, 180, rng.randint(*ranges[others[0]])])]
    part = choice(rng, deg(right_one), [deg(w) for w in wrong],
                  prompt=f"Which of these is {'an' if want[0] in 'aeiou' else 'a'} {want} angle?")
    return Question("", [part])


def _protractor(arm, left):
    """A protractor on line QP with the other arm QR at arm degrees from QP.
    QP points right (left=False) or left."""
    R = 175
    svg = Svg(2 * R + 90, R + 70, font=10)
    cx, cy = R + 45, R + 38
    svg.path(f"M{cx - R},{cy} A{R},{R} 0 0 1 {cx + R},{cy} Z", fill="#f4f4f4", width=1.5)
    numbers = []
    for a in range(0, 181, 5):
        t = math.radians(a)
        long_ = a % 10 == 0
        r0 = R - (12 if long_ else 7)
        svg.line(cx + R * math.cos(t), cy - R * math.sin(t), cx + r0 * math.cos(t),
                 cy - r0 * math.sin(t), width=1.2 if long_ else 0.8)
        if long_:
            # Outer scale: 0 on the left; inner scale: 0 on the right.
            ro, ri = R - 22, R - 42
            if 0 < a < 180:
                numbers.append((cx + ro * math.cos(t), cy - ro * math.sin(t) + 4, str(180 - a), 10))
                numbers.append((cx + ri * math.cos(t), cy - ri * math.sin(t) + 4, str(a), 9))
            else:
                # The end labels sit above the base line, clear of the arms.
                side = 1 if a == 0 else -1
                numbers.append((cx + side * (R - 16), cy - 6, "180" if a == 0 else "0", 10))
                numbers.append((cx + side * (R - 40), cy - 6, "0" if a == 0 else "180", 9))
    svg.line(cx - 8, cy, cx + 8, cy, width=1)
    svg.line(cx, cy - 8, cx, cy, width=1)
    base = 180 if left else 0
    other = base - arm if left else arm
    ext = R + 22
    svg.line(cx - ext if left else cx, cy, cx if left else cx + ext, cy, width=2.4)
    t = math.radians(other)
    svg.line(cx, cy, cx + ext * math.cos(t), cy - ext * math.sin(t), width=2.4)
    # The scale goes over the arm, as printed on a clear protractor laid on
    # the lines: the numbers the arm passes stay readable.
    for x, y, text, size in numbers:
        svg.text(x, y, text, size=size, halo=True)
    svg.text(cx + (ext + 10) * math.cos(t), cy - (ext + 10) * math.sin(t) + 5, "R", size=15, bold=True)
    svg.text(cx - ext - 10 if left else cx + ext + 10, cy + 5, "P", size=15, bold=True)
    svg.text(cx, cy + 22, "Q", size=15, bold=True)
    return svg.render()


@family("geometry.protractor", TOPIC, ["Q", "N"], levels=(1, 2))
def protractor(rng, level, slots):
    arm = rng.choice([a for a in range(20, 165, 5) if abs(a - 90) > 15])
    left = rng.random() < 0.5
    fig = Figure(_protractor(arm, left), "A protractor placed on the angle PQR")
    ask = f"The protractor shows the angle PQR. What is the size of {ANGLE}PQR?"
    if slots[0].kind == "N":
        return Question(p(ask), [Part(key=num(arm), unit=DEG)], [fig])
    # The usual slip: reading the other scale.
    part = angle_choice(rng, arm, [180 - arm, arm + 10, arm - 10 if arm > 20 else arm + 20])
    return Question(p(ask), [part], [fig])


# ---------------------------------------------------------------- lines on a grid

SHAPES_ON_GRID = [
    [(1, 1), (7, 1), (5, 4), (2, 4)],
    [(1, 1), (6, 1), (4, 5), (1, 5)],
    [(1, 1), (6, 1), (8, 4), (3, 4)],
    [(1, 3), (5, 1), (7, 5), (2, 6)],
    [(1, 1), (5, 1), (7, 3), (5, 5), (1, 5)],
    [(2, 1), (7, 1), (7, 3), (4, 6), (1, 4)],
    [(1, 2), (3, 0), (7, 4), (3, 6)],
    [(1, 1), (8, 1), (6, 5), (3, 5), (1, 3)],
]


def line_pairs(points, letters):
    """Sides of a polygon, and which pairs are parallel or perpendicular."""
    sides = [(letters[i] + letters[(i + 1) % len(letters)],
              vec(points[i], points[(i + 1) % len(points)])) for i in range(len(points))]
    par, perp, neither = [], [], []
    for i in range(len(sides)):
        for j in range(i + 1, len(sides)):
            (na, u), (nb, v) = sides[i], sides[j]
            if cross(u, v) == 0:
                par.append((na, nb))
            elif dot(u, v) == 0:
                perp.append((na, nb))
            else:
                neither.append((na, nb))
    return par, perp, neither


@family("geometry.parallel-perpendicular", TOPIC, ["Q"], levels=(1, 2))
def parallel_perpendicular(rng, level, slots):
    pts = rng.choice(SHAPES_ON_GRID)
    # A quarter turn or a mirror keeps the lines on the grid.
    if rng.random() < 0.5:
        pts = [(x, 6 - y) for x, y in pts]
    if rng.random() < 0.5:
        pts = [(8 - x, y) for x, y in pts]
    start = rng.choice([c for c in "ADKPV" if ord(c) + len(pts) - 1 <= ord("Z")])
    letters = [chr(ord(start) + i) for i in range(len(pts))]
    par, perp, neither = line_pairs(pts, letters)
    wants = [w for w, found in (("parallel", par), ("perpendicular", perp)) if len(found) == 1]
    if not wants:
        raise ValueError("no single pair to ask about")
    want = rng.choice(wants)
    right = (par if want == "parallel" else perp)[0]
    sides = dict(zip([a + b for a, b in zip(letters, letters[1:] + letters[:1])],
                     [vec(a, b) for a, b in zip(pts, pts[1:] + pts[:1])]))

    def clear(pair):
        # A wrong pair must look plainly wrong: 15 degrees or more away.
        u, v = sides[pair[0]], sides[pair[1]]
        t = math.degrees(math.atan2(abs(cross(u, v)), dot(u, v))) % 180
        t = min(t, 180 - t)
        return t >= 15 if want == "parallel" else abs(t - 90) >= 15

    wrong = [w for w in (perp if want == "parallel" else par) + neither if clear(w)]
    if len(wrong) < 3:
        raise ValueError("not enough wrong pairs")
    bad = rng.sample(wrong, 3)
    show = lambda pr: f"{pr[0]} and {pr[1]}"
    part = choice(rng, show(right), [show(b) for b in bad],
                  prompt=f"Which two sides of the figure are {want}?")
    # The grid runs a cell past the figure on every side, so that the corner
    # labels, set outside the corners, stay on the grid.
    cell = 34
    x0, y0 = min(x for x, _ in pts) - 1, min(y for _, y in pts) - 1
    cols, rows = max(x for x, _ in pts) + 1 - x0, max(y for _, y in pts) + 1 - y0
    svg = Svg(cols * cell + 20, rows * cell + 20)
    for i in range(cols + 1):
        svg.line(10 + i * cell, 10, 10 + i * cell, 10 + rows * cell, stroke="#999", width=0.8)
    for j in range(rows + 1):
        svg.line(10, 10 + j * cell, 10 + cols * cell, 10 + j * cell, stroke="#999", width=0.8)
    xy = [(10 + (x - x0) * cell, 10 + rows * cell - (y - y0) * cell) for x, y in pts]
    svg.polygon(xy, width=2.5)
    cx = sum(x for x, _ in xy) / len(xy)
    cy = sum(y for _, y in xy) / len(xy)
    for (x, y), name in zip(xy, letters):
        dx, dy = _unit((x - cx, y - cy))
        svg.text(x + dx * 15, y + dy * 15 + 5, name, bold=True)
    fig = Figure(svg.render(), "A figure drawn on a square grid")
    return Question(p("The figure is drawn on a square grid."), [part], [fig])


# ---------------------------------------------------------------- nets and solids

def _net_svg(cells, letters=None, cell=34):
    rows = max(r for r, _ in cells) + 1
    cols = max(c for _, c in cells) + 1
    svg = Svg(cols * cell + 8, rows * cell + 8, font=16)
    for (r, c) in sorted(cells):
        svg.rect(4 + c * cell, 4 + r * cell, cell, cell, fill=LIGHT, width=1.8)
        if letters and (r, c) in letters:
            svg.text(4 + (c + 0.5) * cell, 4 + (r + 0.5) * cell + 6, letters[(r, c)], bold=True)
    return svg.render()


@family("geometry.cube-net", TOPIC, ["Q"], levels=(1, 2))
def cube_net(rng, level, slots):
    good = rng.choice(variants(rng.choice(CUBE_NETS)))
    bad = [rng.choice(variants(h)) for h in rng.sample(NOT_NETS, 3)]
    figs = [Figure(_net_svg(c, cell=26 if level == 1 else 24), "A shape made of six squares")
            for c in [good] + bad]
    part = choice(rng, "{fig1}", ["{fig2}", "{fig3}", "{fig4}"],
                  prompt="Which of these is a net of a cube?")
    return Question("", [part], figs)


@family("geometry.opposite-face", TOPIC, ["Q"], levels=(2, 3))
def opposite_face(rng, level, slots):
    net = rng.choice(variants(rng.choice(CUBE_NETS)))
    cells = sorted(net)
    letters = dict(zip(cells, rng.sample("ABCDEFGHKMPRST", 6)))
    asked = rng.choice(cells)
    opp = opposite_cell(net, asked)
    faces = fold_faces(net)
    near = [c for c in cells if c not in (asked, opp)]
    bad = rng.sample(near, 3)
    part = choice(rng, letters[opp], [letters[c] for c in bad],
                  prompt=f"The net is folded to make a cube. Which face is opposite the face "
                         f"marked {letters[asked]}?")
    assert len(set(faces.values())) == 6
    fig = Figure(_net_svg(net, letters), "A net of a cube with a letter on each face")
    return Question(p("The figure shows the net of a cube."), [part], [fig])


SOLIDS = {  # name: (kind, sides of the base)
    "cube": ("prism", 4), "cuboid": ("prism", 4), "triangular prism": ("prism", 3),
    "pentagonal prism": ("prism", 5), "hexagonal prism": ("prism", 6),
    "triangular pyramid": ("pyramid", 3), "square pyramid": ("pyramid", 4),
    "pentagonal pyramid": ("pyramid", 5), "hexagonal pyramid": ("pyramid", 6),
}


def solid_counts(name):
    kind, sides = SOLIDS[name]
    return prism_counts(sides) if kind == "prism" else pyramid_counts(sides)


def _solid_svg(name, rng):
    """The solid drawn from a point in front and above; hidden edges dashed."""
    kind, k = SOLIDS[name]
    yaw = math.radians(rng.uniform(8, 22) + (0 if k != 4 else 0))
    if name == "cube":
        dims = (1, 1, 1)
    elif name == "cuboid":
        dims = (1.6, 0.9, 0.8)
    else:
        dims = None
    if dims:
        lx, ly, lz = dims
        base = [(-lx / 2, -ly / 2), (lx / 2, -ly / 2), (lx / 2, ly / 2), (-lx / 2, ly / 2)]
    else:
        base = [(math.cos(2 * math.pi * i / k + yaw), math.sin(2 * math.pi * i / k + yaw))
                for i in range(k)]
        lz = 1.3 if kind == "prism" else 1.4
        if kind == "prism" and k == 3:
            lz = 1.5
    if dims:
        base = [(x * math.cos(yaw) - y * math.sin(yaw), x * math.sin(yaw) + y * math.cos(yaw))
                for x, y in base]
    verts = [(x, y, 0.0) for x, y in base]
    faces = [list(range(k))[::-1]]  # bottom, seen from below
    if kind == "prism":
        verts += [(x, y, lz) for x, y in base]
        faces.append([k + i for i in range(k)])
        for i in range(k):
            j = (i + 1) % k
            faces.append([i, j, k + j, k + i])
    else:
        verts.append((0.0, 0.0, lz))
        for i in range(k):
            faces.append([i, (i + 1) % k, k])
    el = math.radians(22)
    view = (0, -math.cos(el), math.sin(el))

    def normal(face):
        a, b, c = (verts[i] for i in face[:3])
        u = [b[t] - a[t] for t in range(3)]
        v = [c[t] - a[t] for t in range(3)]
        return (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])

    seen = [sum(nv * vv for nv, vv in zip(normal(f), view)) > 1e-9 for f in faces]
    edges = {}
    for fi, f in enumerate(faces):
        for a, b in zip(f, f[1:] + f[:1]):
            edges.setdefault(frozenset((a, b)), []).append(seen[fi])
    proj = [(x, y * math.sin(el) + z * math.cos(el)) for x, y, z in verts]
    xs = [q[0] for q in proj]
    ys = [q[1] for q in proj]
    k_ = 150 / max(max(xs) - min(xs), max(ys) - min(ys))
    svg = Svg((max(xs) - min(xs)) * k_ + 30, (max(ys) - min(ys)) * k_ + 30)

    def sc(i):
        return 15 + (proj[i][0] - min(xs)) * k_, 15 + (max(ys) - proj[i][1]) * k_

    for e, vis in edges.items():
        a, b = tuple(e)
        (x1, y1), (x2, y2) = sc(a), sc(b)
        if any(vis):
            svg.line(x1, y1, x2, y2, width=2)
        else:
            svg.line(x1, y1, x2, y2, width=1.2, dash="5,4")
    return svg.render()


@family("geometry.solids", TOPIC, ["N", "Q", ("N", "N")], levels=(1, 2, 3))
def solids(rng, level, slots):
    name = rng.choice(list(SOLIDS))
    f, e, v = solid_counts(name)
    art = "an" if name[0] in "aeiou" else "a"
    fig = Figure(_solid_svg(name, rng), f"{art.capitalize()} {name}")
    if len(slots) == 2:
        who = names(rng, 1)[0]
        if level == 2:
            text = p(f"{who} makes a model of {art} {name} using straws for its edges and balls "
                     "of clay to join them at its vertices.")
            return Question(text, [Part(key=num(e), prompt="How many straws does "
                                        f"{pronoun(who)} use?", unit="straws"),
                                   Part(key=num(v), prompt="How many balls of clay does "
                                        f"{pronoun(who)} use?", unit="balls")], [fig])
        length = rng.choice([6, 8, 9, 12, 15, 18, 25])
        text = p(f"{who} makes a model of {art} {name} using straws for its edges. Each straw "
                 f"is {length} cm long.")
        return Question(text, [Part(key=num(e), prompt="How many straws are needed?", unit="straws"),
                               Part(key=num(e * length), prompt="What is the total length of the "
                                    "straws used?", unit="cm")], [fig])
    if slots[0].kind == "Q":
        # Which solid has these counts? Only solids with other counts may be wrong.
        others = [s for s in SOLIDS if solid_counts(s) != (f, e, v)]
        if level == 1:
            part = choice(rng, n(e), [n(x) for x in near_misses(rng, e, [f, v, e + 2, e - 2, 2 * v])],
                          prompt=f"How many edges does {art} {name} have?")
            return Question(p(f"The figure shows {art} {name}."), [part], [fig])
        part = choice(rng, name, rng.sample(others, 3), prompt=f"A solid has {f} faces, {e} edges "
                      f"and {v} vertices. Which solid could it be?")
        return Question("", [part])
    if level == 1:
        what, count = rng.choice([("faces", f), ("edges", e), ("vertices", v)])
        return Question(p(f"The figure shows {art} {name}."),
                        [Part(key=num(count), prompt=f"How many {what} does it have?")], [fig])
    if level == 2:
        a, b = rng.sample([("faces", f), ("edges", e), ("vertices", v)], 2)
        if a[1] == b[1]:
            return Question(p(f"The figure shows {art} {name}."),
                            [Part(key=num(a[1] + b[1]), prompt=f"What is the total number of its "
                                  f"{a[0]} and {b[0]}?")], [fig])
        big, small = (a, b) if a[1] > b[1] else (b, a)
        return Question(p(f"The figure shows {art} {name}."),
                        [Part(key=num(big[1] - small[1]), prompt=f"How many more {big[0]} than "
                              f"{small[0]} does it have?")], [fig])
    # Level 3: a skeleton cuboid from its three lengths.
    lx, ly, lz = sorted(rng.sample([4, 5, 6, 8, 9, 10, 12, 15], 3), reverse=True)
    who = names(rng, 1)[0]
    text = p(f"{who} makes the frame of a box in the shape of a cuboid from wire. The box is "
             f"{lx} cm long, {ly} cm wide and {lz} cm high.",
             "What is the total length of wire used for all the edges of the frame?")
    return Question(text, [Part(key=num(skeleton_length(lx, ly, lz)), unit="cm")],
                    [Figure(_solid_svg("cuboid", rng), "A cuboid")])


def _solid_net(name):
    """A net of the named solid, drawn in plain lines."""
    svg = Svg(300, 240)
    s = 44
    if name in ("cube", "cuboid"):
        w, hs = (s, [s] * 4) if name == "cube" else (60, [34, 50, 34, 50])
        side = 34 if name == "cuboid" else s
        x0 = 150 - w / 2
        y = 10
        tops = []
        for h in hs:
            svg.rect(x0, y, w, h, fill=LIGHT)
            tops.append((y, h))
            y += h
        y1, h1 = tops[1]
        svg.rect(x0 - side, y1, side, h1, fill=LIGHT)
        svg.rect(x0 + w, y1, side, h1, fill=LIGHT)
    elif name == "triangular prism":
        w, h = 50, 90
        x0, y0 = 75, 70
        for i in range(3):
            svg.rect(x0 + i * w, y0, w, h, fill=LIGHT)
        t = w * math.sqrt(3) / 2
        mx = x0 + w
        svg.polygon([(mx, y0), (mx + w, y0), (mx + w / 2, y0 - t)], fill=LIGHT)
        svg.polygon([(mx, y0 + h), (mx + w, y0 + h), (mx + w / 2, y0 + h + t)], fill=LIGHT)
    elif name == "square pyramid":
        c, hw, t = (150, 120), 32, 60
        sq = [(c[0] - hw, c[1] - hw), (c[0] + hw, c[1] - hw), (c[0] + hw, c[1] + hw), (c[0] - hw, c[1] + hw)]
        svg.polygon(sq, fill=LIGHT)
        for (x1, y1), (x2, y2) in zip(sq, sq[1:] + sq[:1]):
            mx, my = (x1 + x2) / 2, (y1 + y2) / 2
            ox, oy = _unit((mx - c[0], my - c[1]))
            svg.polygon([(x1, y1), (x2, y2), (mx + ox * t, my + oy * t)], fill=LIGHT)
    elif name == "triangular pyramid":
        big = 190
        h = big * math.sqrt(3) / 2
        A, B, C = (150 - big / 2, 20 + h), (150 + big / 2, 20 + h), (150, 20)
        svg.polygon([A, B, C], fill=LIGHT)
        mids = [((A[0] + B[0]) / 2, (A[1] + B[1]) / 2), ((B[0] + C[0]) / 2, (B[1] + C[1]) / 2),
                ((C[0] + A[0]) / 2, (C[1] + A[1]) / 2)]
        svg.polygon(mids, fill="none")
    elif name == "cylinder":
        svg.rect(70, 75, 160, 90, fill=LIGHT)
        r = 160 / (2 * math.pi)
        svg.circle(150, 75 - r, r, fill=LIGHT)
        svg.circle(150, 165 + r, r, fill=LIGHT)
    return svg.render()


NET_SOLIDS = ["cube", "cuboid", "triangular prism", "square pyramid", "triangular pyramid", "cylinder"]


@family("geometry.net-solid", TOPIC, ["Q"], levels=(1, 2))
def net_solid(rng, level, slots):
    name = rng.choice(NET_SOLIDS)
    # Wrong answers share something with the net: faces of one shape, or
    # the same family of solid.
    near = {"cube": ["cuboid", "square pyramid", "triangular prism"],
            "cuboid": ["cube", "triangular prism", "square pyramid"],
            "triangular prism": ["triangular pyramid", "cuboid", "square pyramid"],
            "square pyramid": ["triangular pyramid", "cube", "triangular prism"],
            "triangular pyramid": ["square pyramid", "triangular prism", "cube"],
            "cylinder": ["triangular prism", "cuboid", "square pyramid"]}[name]
    part = choice(rng, name, near, prompt="Which solid can be made by folding this net?")
    fig = Figure(_solid_net(name), "The net of a solid")
    return Question(p("The figure shows the net of a solid."), [part], [fig])


# ---------------------------------------------------------------- symmetry

def _regular(k, r=1.0, turn_=90):
    return [_dir(turn_ + 360 * i / k) for i in range(k)]


def _shape_points(name, rng):
    if name == "square":
        return [(0, 0), (1, 0), (1, 1), (0, 1)]
    if name == "rectangle":
        return [(0, 0), (1.8, 0), (1.8, 1), (0, 1)]
    if name == "equilateral triangle":
        return _regular(3)
    if name == "isosceles triangle":
        return [(0, 0), (1.2, 0), (0.6, 1.5)]
    if name == "rhombus":
        return [(0, 0.6), (1, 0), (2, 0.6), (1, 1.2)]
    if name == "parallelogram":
        return [(0, 0), (1.6, 0), (2.2, 1), (0.6, 1)]
    if name == "kite":
        return [(0, 0.9), (0.7, 1.4), (1.4, 0.9), (0.7, -0.6)]
    if name == "regular pentagon":
        return _regular(5)
    if name == "regular hexagon":
        return _regular(6, turn_=0)
    if name == "isosceles trapezium":
        return [(0, 0), (2, 0), (1.5, 1), (0.5, 1)]
    if name == "right-angled triangle":
        return [(0, 0), (1.8, 0), (0, 1.1)]
    if name == "regular octagon":
        return _regular(8, turn_=22.5)
    raise ValueError(name)


def _shape_svg(name, rng):
    # Turned to any of 24 positions: symmetry does not depend on how a
    # shape sits on the page.
    t = math.radians(rng.randrange(0, 360, 15))
    pts = [(x * math.cos(t) - y * math.sin(t), x * math.sin(t) + y * math.cos(t))
           for x, y in _shape_points(name, rng)]
    xs, ys = [q[0] for q in pts], [q[1] for q in pts]
    k = 120 / max(max(xs) - min(xs), max(ys) - min(ys))
    svg = Svg((max(xs) - min(xs)) * k + 20, (max(ys) - min(ys)) * k + 20)
    svg.polygon([(10 + (x - min(xs)) * k, 10 + (max(ys) - y) * k) for x, y in pts],
                fill=LIGHT, width=2.2)
    return svg.render()


@family("geometry.symmetry-lines", TOPIC, ["N", "Q"], levels=(1, 2))
def symmetry_lines(rng, level, slots):
    if slots[0].kind == "Q" and level == 2:
        want = rng.choice([0, 1, 2])
        right = rng.choice([s for s, c in SHAPE_SYMMETRY.items() if c == want])
        wrong = [s for s, c in SHAPE_SYMMETRY.items() if c != want]
        part = choice(rng, right, rng.sample(wrong, 3),
                      prompt=f"Which of these shapes has exactly {want} line{'s' if want != 1 else ''} "
                             "of symmetry?" if want else
                             "Which of these shapes has no line of symmetry?")
        return Question("", [part])
    name = rng.choice(list(SHAPE_SYMMETRY))
    key = SHAPE_SYMMETRY[name]
    art = "an" if name[0] in "aeiou" else "a"
    fig = Figure(_shape_svg(name, rng), f"{art.capitalize()} {name}")
    ask = "How many lines of symmetry does this figure have?"
    if slots[0].kind == "N":
        return Question(p(f"The figure shows {art} {name}."), [Part(key=num(key), prompt=ask)], [fig])
    part = choice(rng, str(key), [str(x) for x in near_misses(rng, key, [0, 1, 2, 3, 4, key + 1, len(_shape_points(name, rng))])],
                  prompt=ask)
    return Question(p(f"The figure shows {art} {name}."), [part], [fig])


@family("geometry.symmetry-complete", TOPIC, ["N", "Q"], levels=(1, 2))
def symmetry_complete(rng, level, slots):
    rows, cols = 6, 8
    half = [(r, c) for r in range(rows) for c in range(cols // 2)]
    left = set(rng.sample(half, rng.randint(4, 6) if level == 1 else rng.randint(6, 9)))
    mirrored = [(r, cols - 1 - c) for r, c in left]
    # Some of the mirror image is already shaded.
    keep = set(rng.sample(mirrored, rng.randint(1, len(mirrored) - 2)))
    shaded = left | keep
    key = len(symmetric_completion(shaded, cols))
    cell = 30
    svg = Svg(cols * cell + 20, rows * cell + 20)
    for r in range(rows):
        for c in range(cols):
            svg.rect(10 + c * cell, 10 + r * cell, cell, cell,
                     fill=GREY if (r, c) in shaded else "#fff", width=1)
    svg.line(10 + cols * cell / 2, 2, 10 + cols * cell / 2, rows * cell + 18, width=2.5, dash="8,5")
    fig = Figure(svg.render(), "Shaded squares on a grid with a dashed line down the middle")
    text = p("Some squares of the grid are shaded.")
    ask = ("What is the smallest number of squares that must be shaded so that the dashed line "
           "is a line of symmetry of the shaded figure?")
    if slots[0].kind == "N":
        return Question(text, [Part(key=num(key), prompt=ask, unit="squares")], [fig])
    part = choice(rng, str(key), [str(x) for x in near_misses(rng, key, [len(left), len(keep), key + 1, key - 1, len(shaded)])],
                  prompt=ask)
    return Question(text, [part], [fig])


# ---------------------------------------------------------------- turns

SHORT = {"north": "N", "north-east": "NE", "east": "E", "south-east": "SE", "south": "S",
         "south-west": "SW", "west": "W", "north-west": "NW"}


def _rose():
    svg = Svg(200, 200, font=14)
    c, r = 100, 62
    for i, dname in enumerate(DIRECTIONS):
        t = math.radians(90 - 45 * i)
        long_ = i % 2 == 0
        rr = r if long_ else r * 0.7
        svg.line(c, c, c + rr * math.cos(t), c - rr * math.sin(t), width=2 if long_ else 1.3)
        lr = rr + 18
        svg.text(c + lr * math.cos(t), c - lr * math.sin(t) + 5, SHORT[dname], bold=long_)
    svg.circle(c, c, 4, fill="#000")
    return svg.render()


FRACTION_TURNS = {90: (1, 4), 180: (1, 2), 270: (3, 4)}


@family("geometry.compass", TOPIC, ["Q", "N", ("N", "N")], levels=(1, 2, 3))
def compass(rng, level, slots):
    who = names(rng, 1)[0]
    he = pronoun(who)
    fig = Figure(_rose(), "The eight points of the compass")
    facing = rng.choice(DIRECTIONS)
    sense = rng.choice(["clockwise", "anticlockwise"])
    cw = sense == "clockwise"
    if len(slots) == 2:
        end = rng.choice([x for x in DIRECTIONS if x != facing and turn_between(facing, x) != 180])
        if level == 2:
            text = p(f"{who} is facing {facing}. {he.capitalize()} wants to turn to face {end}.")
            return Question(text, [
                Part(key=num(turn_between(facing, end, True)), unit=DEG,
                     prompt=f"Through what angle must {he} turn if {he} turns clockwise?"),
                Part(key=num(turn_between(facing, end, False)), unit=DEG,
                     prompt=f"Through what angle must {he} turn if {he} turns anticlockwise?")], [fig])
        first = rng.choice([90, 135, 180, 225, 270])
        mid = turn(facing, first, cw)
        end = rng.choice([x for x in DIRECTIONS if x not in (facing, mid)])
        other = "anticlockwise" if cw else "clockwise"
        text = p(f"{who} is facing {facing}. {he.capitalize()} turns {first}{DEG} {sense}.",
                 f"Then {he} turns {other} until {he} faces {end}.")
        return Question(text, [
            Part(key=num(turn_between(mid, end, not cw)), unit=DEG,
                 prompt=f"Through what angle does {he} turn the second time?"),
            Part(key=num(turn_between(end, facing, cw)), unit=DEG,
                 prompt=f"Through what angle must {he} then turn {sense} to face {facing} again?")],
            [fig])
    if slots[0].kind == "N":
        end = rng.choice([x for x in DIRECTIONS if x != facing])
        if level == 1:
            end = turn(facing, rng.choice([90, 180, 270]), cw)
        key = turn_between(facing, end, cw)
        text = p(f"{who} is facing {facing}. {he.capitalize()} turns {sense} until {he} faces {end}.",
                 f"Through what angle does {he} turn?")
        if level == 3:
            first = rng.choice([90, 135, 180, 225])
            mid = turn(facing, first, cw)
            end = rng.choice([x for x in DIRECTIONS if x not in (facing, mid)])
            key = turn_between(mid, end, not cw)
            other = "anticlockwise" if cw else "clockwise"
            text = p(f"{who} is facing {facing}. {he.capitalize()} turns {first}{DEG} {sense}.",
                     f"Then {he} turns {other} until {he} faces {end}.",
                     f"Through what angle does {he} turn the second time?")
        return Question(text, [Part(key=num(key), unit=DEG)], [fig])
    if level == 1:
        amount = rng.choice([90, 180, 270, 45, 135])
        if amount in FRACTION_TURNS and rng.random() < 0.5:
            said = f"a {frac(*FRACTION_TURNS[amount])}-turn"
        else:
            said = deg(amount)
        key = turn(facing, amount, cw)
        # Turning the other way, or an eighth of a turn too far or short.
        wrong = [turn(facing, amount, not cw), turn(facing, amount + 45, cw),
                 turn(facing, amount - 45, cw) if amount > 45 else turn(facing, amount + 90, cw),
                 turn(facing, amount + 90, cw)]
        text = p(f"{who} is facing {facing}. {he.capitalize()} turns {said} {sense}.",
                 f"Which direction is {he} facing now?")
    else:
        a1 = rng.choice([45, 90, 135, 180])
        a2 = rng.choice([90, 135, 225, 270, 45])
        key = turn(turn(facing, a1, cw), a2, not cw)
        other = "anticlockwise" if cw else "clockwise"
        wrong = [turn(turn(facing, a1, cw), a2, cw), turn(turn(facing, a1, not cw), a2, cw),
                 turn(facing, a1, cw), turn(turn(facing, a1, cw), a2 + 45, not cw)]
        text = p(f"{who} is facing {facing}. {he.capitalize()} turns {a1}{DEG} {sense} and then "
                 f"{a2}{DEG} {other}.", f"Which direction is {he} facing now?")
    bad = near_misses(rng, key, wrong)
    return Question(text, [choice(rng, key, bad)], [fig])


def _clock(hour, minute):
    svg = Svg(170, 170, font=13)
    c, r = 85, 75
    svg.circle(c, c, r, width=2.5)
    for i in range(60):
        t = math.radians(90 - 6 * i)
        r0 = r - (9 if i % 5 == 0 else 4)
        svg.line(c + r * math.cos(t), c - r * math.sin(t), c + r0 * math.cos(t), c - r0 * math.sin(t),
                 width=2 if i % 5 == 0 else 0.8)
    for h in range(1, 13):
        t = math.radians(90 - 30 * h)
        svg.text(c + (r - 20) * math.cos(t), c - (r - 20) * math.sin(t) + 5, str(h))
    th = math.radians(90 - (30 * (hour % 12) + minute / 2))
    tm = math.radians(90 - 6 * minute)
    svg.line(c, c, c + 32 * math.cos(th), c - 32 * math.sin(th), width=5)
    svg.line(c, c, c + 47 * math.cos(tm), c - 47 * math.sin(tm), width=3)
    svg.circle(c, c, 4, fill="#000")
    return svg.render()


@family("geometry.clock", TOPIC, ["N", "Q"], levels=(1, 2))
def clock(rng, level, slots):
    if level == 1 and rng.random() < 0.4:
        # The minute hand alone: a number of minutes, or from 12 to a number.
        if rng.random() < 0.5:
            minutes = rng.randrange(5, 56, 5)
            ask = f"Through how many degrees does the minute hand of a clock turn in {minutes} minutes?"
        else:
            k = rng.randint(1, 11)
            minutes = 5 * k
            ask = (f"The minute hand of a clock turns clockwise from 12 to {k}. Through how many "
                   "degrees does it turn?")
        key = minute_hand_turn(minutes)
        if slots[0].kind == "N":
            return Question(p(ask), [Part(key=num(key), unit=DEG)])
        return Question(p(ask), [angle_choice(rng, key, [minutes, 360 - key, 30 * minutes // 5 // 2,
                                                          key + 30])])
    if level == 1:
        hour = rng.choice([1, 2, 3, 4, 5, 7, 8, 9, 10, 11])
        key = clock_angle(hour)
        fig = Figure(_clock(hour, 0), f"A clock showing {hour} o'clock")
        ask = f"The clock shows {hour} o'clock. What is the smaller angle between its hands?"
        if slots[0].kind == "N":
            return Question(p(ask), [Part(key=num(key), unit=DEG)], [fig])
        return Question(p(ask), [angle_choice(rng, key, [360 - key, 6 * hour if 6 * hour != key else key + 30,
                                                          5 * hour, key + 30])], [fig])
    h = rng.randint(1, 10)
    if rng.random() < 0.5:
        m1 = rng.randrange(0, 30, 5)
        m2 = m1 + rng.randrange(10, 60 - m1, 5)
        key = minute_hand_turn(m2 - m1)
        ask = (f"Through how many degrees does the minute hand of a clock turn from "
               f"{h}.{m1:02d} to {h}.{m2:02d}?")
        wrong = [m2 - m1, 5 * (m2 - m1), 360 - key, key + 30]
    else:
        hours = rng.randint(2, 6)
        key = hour_hand_turn(hours)
        h2 = (h + hours - 1) % 12 + 1
        ask = (f"Through how many degrees does the hour hand of a clock turn from {h} o'clock "
               f"to {h2} o'clock?")
        wrong = [6 * hours, 360 - key, 45 * hours, key + 30]
    if slots[0].kind == "N":
        return Question(p(ask), [Part(key=num(key), unit=DEG)])
    return Question(p(ask), [angle_choice(rng, key, wrong)])
