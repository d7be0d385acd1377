"""Topic 6: Geometry.

Each family draws its values, computes every key with the solvers below and
draws its figure from the same values: angles are drawn at their true size,
so a figure never disagrees with its text. The solvers are tested against
worked examples in tests/test_geometry.py.
"""

import math
from fractions import Fraction

from ..contexts import names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, num
from ..svg import GREY, LIGHT, Svg, boxes_meet, text_box
from ..text import DIV, MINUS, TIMES, frac, listing, n, nb, p, plural, unit

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
        self.named = []
        self.lead = None        # what the figure shows, for its alternative text

    def point(self, name, xy, label=True, at=None):
        self.pts[name] = xy
        if label:
            self.ops.append(("name", name, at))
            self.named.append(name)
        return xy

    def copy(self):
        """The same figure, to add the working to."""
        other = Drawing(*self.box)
        other.pts, other.ops, other.named = dict(self.pts), list(self.ops), list(self.named)
        other.lead = self.lead
        return other

    def found(self, v, a, b, value):
        """Marks an angle the working has found: its size in bold over a
        double arc, in place of an x there or as a new mark."""
        for i, op in enumerate(self.ops):
            if op[0] == "angle" and op[1] == v and {op[2], op[3]} == {a, b}:
                self.ops[i] = op[:4] + (deg(value),) + op[5:7] + (True,)
                return self
        self.ops.append(("angle", v, a, b, deg(value), False, None, True))
        return self

    def solve_x(self, value):
        """Every angle marked x shown with its size, as found."""
        for op in [op for op in self.ops if op[0] == "angle" and op[4] == "x"]:
            self.found(op[1], op[2], op[3], value)
        return self

    def _name(self, v, a, b):
        if all(isinstance(q, str) and q in self.named for q in (a, v, b)):
            return a + v + b
        return None

    def describe(self):
        """What a sighted pupil reads off the marks, as sentences: each
        marked angle with its size or letter, right angles, equal sides and
        parallel sides. Angles at unnamed points are for the family to say."""
        marks, found = [], []
        for op in self.ops:
            if op[0] == "angle" and self._name(*op[1:4]):
                name = self._name(*op[1:4])
                if op[7]:
                    found.append(f"angle {name} is {op[4]}")
                else:
                    marks.append(f"angle {name} is marked {op[4]}")
            elif op[0] == "right" and self._name(*op[1:4]):
                marks.append(f"angle {self._name(*op[1:4])} is marked as a right angle")
        said = []
        if marks:
            said.append(_upper(listing(marks)) + ".")
        if found:
            said.append("Found in the working: " + listing(found) + ".")
        for kind, verb in (("ticks", "equal"), ("arrows", "parallel")):
            groups = {}
            for op in self.ops:
                if op[0] == kind:
                    groups.setdefault(op[3], []).append(op[1] + op[2])
            for count, sides in sorted(groups.items()):
                what = "" if len(groups) == 1 else \
                    f" ({plural(count, 'arrow' if kind == 'arrows' else 'mark')} each)"
                said.append(f"{listing(sides)} are marked {verb}{what}.")
        return " ".join(said)

    def seg(self, a, b, dash=False, width=2):
        self.ops.append(("seg", a, b, dash, width))

    def poly(self, names_, width=2):
        for a, b in zip(names_, names_[1:] + names_[:1]):
            self.seg(a, b, width=width)

    def angle(self, v, a, b, label, reflex=False, radius=None):
        self.ops.append(("angle", v, a, b, label, reflex, radius, False))

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
        for polylines, *_ in arcs.values():
            for pts in polylines:
                self._lines += list(zip(pts, pts[1:]))
        self._labels = []
        ticks = []
        for op in self.ops:
            kind = op[0]
            if kind == "seg":
                (ax, ay), (bx, by) = sc(op[1]), sc(op[2])
                svg.line(ax, ay, bx, by, width=op[4], dash="6,4" if op[3] else None)
            elif kind == "angle":
                self._angle(svg, sc(op[1]), op[4], op[7], *arcs[id(op)])
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

    def _arc(self, sc, v, a, b, label, reflex, radius, found):
        """The arc marking an angle (two arcs for an angle found in the
        working): their points, the headings they run between
        (anticlockwise), the sweep and the outer radius."""
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
        polylines = []
        for rr in ((r, r + 4) if found else (r,)):
            pts = []
            for i in range(steps + 1):
                t = math.radians(ha + sweep * i / steps)
                pts.append((V[0] + rr * math.cos(t), V[1] - rr * math.sin(t)))
            polylines.append(pts)
        return polylines, ha, hb, sweep, rr

    def _angle(self, svg, V, label, found, polylines, ha, hb, sweep, r):
        for pts in polylines:
            svg.polyline(pts, width=1.3)
        if label:
            mid = ha + sweep / 2
            # Far enough out along the middle that no arm of the angle
            # crosses the label, further if another line, arc or label is there.
            dist = max(r + 7 + 4 * len(label), _clear_of_rays(ha, hb, label, svg.font))
            # Then off the middle, for a line that runs into the angle.
            turns = [0] + [t * sign for t in range(6, int(sweep / 2) - 10, 6) for sign in (1, -1)]
            spots = [(mid + turn, dist + extra) for extra in range(0, 31, 3) for turn in turns]
            self._label(svg, V, spots, label, bold=found, italic=len(label) == 1)


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


def _fig(drawing, lead=None):
    """A figure with its alternative text: what it shows, then each mark a
    sighted pupil reads off it."""
    lead = lead or drawing.lead
    said = drawing.describe()
    return Figure(drawing.render(), f"{lead}. {said}" if said else f"{lead}.")


def _again(drawing):
    """The question's figure again with what the working has found."""
    return _fig(drawing, "The figure again: " + drawing.lead[0].lower() + drawing.lead[1:])


# ---------------------------------------------------------------- working

LINE = f"Angles on a straight line add up to {deg(180)}."
POINT = f"Angles at a point add up to {deg(360)}."
TRIANGLE = f"The angles of a triangle add up to {deg(180)}."


def minus(*xs):
    return f" {MINUS} ".join(deg(x) for x in xs)


def plus(*xs):
    return " + ".join(deg(x) for x in xs)


def _columns(a, b, payback):
    """a - b worked column by column with a pupil's slip: borrowing a ten
    but not paying it back (payback False), or taking the smaller digit
    from the larger (payback None). None when no column needs a borrow."""
    da, db = str(a)[::-1], str(b)[::-1].ljust(len(str(a)), "0")
    out, borrowed, slipped = [], 0, False
    for x, y in zip(map(int, da), map(int, db)):
        x -= borrowed if payback else 0
        if x < y:
            slipped = True
            out.append(x + 10 - y if payback is not None else y - x)
            borrowed = 1
        else:
            out.append(x - y)
            borrowed = 0
    if not slipped:
        return None
    return int("".join(map(str, out[::-1])))


def sub_slips(a, b):
    """The wrong differences column subtraction of a - b most often gives,
    each with its slip, marked as slips in the arithmetic (see _pick)."""
    out = []
    forgot = _columns(a, b, False)
    if forgot is not None and forgot != a - b:
        out.append((forgot, f"forgets to pay back the ten borrowed in {a} {MINUS} {b}", True))
    flipped = _columns(a, b, None)
    if flipped is not None and flipped != a - b:
        out.append((flipped, f"takes the smaller digit from the larger in each column of "
                             f"{a} {MINUS} {b}", True))
    return out


def last_angle(total, known, name, fact, say_known=""):
    """Steps finding the last angle of a total: one step when one angle is
    known, else add the known angles first. say_known: how the known angles
    come (a right angle's square, an angle found before)."""
    if len(known) == 1:
        return [Step(f"{fact} So take {deg(known[0])} from {deg(total)}.",
                     f"{name} = {minus(total, known[0])} = {deg(total - known[0])}")]
    s = sum(known)
    return [Step(f"{fact} Add the angles you know{say_known}.", f"{plus(*known)} = {deg(s)}"),
            Step(f"Take the sum from {deg(total)}.", f"{name} = {minus(total, s)} = {deg(total - s)}")]


def _pick(rng, key, wrong, usable=lambda w: True):
    """Three of the wrong answers, none equal to the key or to each other.
    Each is a pair (answer, the slip that leads to it), or a triple marked
    True for a slip in the arithmetic: those fill in when the slips in the
    method run short, and otherwise one of them now and then takes a place,
    so that the options are not all slips of subtraction."""
    method, sums, seen = [], [], {key}
    for w in wrong:
        if w is None or w[0] is None or not usable(w[0]) or w[0] in seen:
            continue
        seen.add(w[0])
        (sums if len(w) > 2 else method).append(w[:2])
    if len(method) + len(sums) < 3:
        raise ValueError(f"too few wrong answers for {key}")
    if len(method) >= 3:
        picked = rng.sample(method[:4], 3)
        if sums and rng.random() < 0.4:
            picked[2] = rng.choice(sums)
        return picked
    return method + rng.sample(sums, 3 - len(method))


def angle_choice(rng, key, wrong, prompt=""):
    """A choice of four angles: the key and three wrong ones, each from a
    pair (angle, the slip that leads to it)."""
    picked = _pick(rng, key, wrong, lambda w: 0 < w < 360 and Fraction(w).denominator == 1)
    return choice(rng, deg(key), [(deg(w), slip) for w, slip in picked], prompt=prompt)


def _answer(rng, slots, key, wrong, steps, why, prompt=""):
    """An N part with the degree sign beside the blank, or a choice of
    angles, with the question's solution."""
    if slots[0].kind == "Q":
        return angle_choice(rng, key, wrong, prompt=prompt), Solution(steps, [deg(key)], why=why)
    return Part(key=num(key), prompt=prompt, unit=DEG), Solution(steps, [key])


def _angle_question(rng, slots, text, d, lead, key, wrong, steps, why):
    part, solution = _answer(rng, slots, key, wrong, steps, why)
    return Question(text, [part], [_fig(d, lead)], solution=solution)


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
    text = p(f"AOB is a straight line. Find {ANGLE}x.")
    d.lead = ("A straight line AOB with a line OC from O" if level == 1 else
              "A straight line AOB with lines OC and OD from O")
    if level == 1:
        phi = rng.choice([a for a in range(28, 153) if abs(a - 90) > 12])
        d.point("C", _dir(phi))
        d.seg("O", "C")
        given, key = (phi, 180 - phi) if rng.random() < 0.5 else (180 - phi, phi)
        if given == phi:
            d.angle("O", "B", "C", deg(given))
            d.angle("O", "C", "A", "x")
        else:
            d.angle("O", "C", "A", deg(given))
            d.angle("O", "B", "C", "x")
        steps = last_angle(180, [given], f"{ANGLE}x", f"{ANGLE}x and the {deg(given)} angle make "
                           f"up the straight line AOB. {LINE}")
        steps[-1].figure = _again(d.copy().solve_x(key))
        wrong = [(360 - given, f"takes {deg(given)} from {deg(360)}, as if the angles were round "
                               f"a point, not on a straight line"),
                 (given, f"takes {ANGLE}x to be equal to the {deg(given)} angle; only vertically "
                         "opposite angles are equal"),
                 (90 - given, f"takes {deg(given)} from {deg(90)}, as if AOB were a right angle")]
        wrong += sub_slips(180, given)
        return _angle_question(rng, slots, text, d, d.lead, key, wrong, steps, f"{ANGLE}x and {deg(given)} make a straight "
                               f"line, so {ANGLE}x = {minus(180, given)} = {deg(key)}.")
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
    square = f" (the square marks a right angle, {deg(90)})" if 90 in known else ""
    steps = last_angle(180, known, f"{ANGLE}x", f"The three angles make up the straight line AOB. "
                       f"{LINE}", square)
    steps[-1].figure = _again(d.copy().solve_x(key))
    s = sum(known)
    wrong = [(s, f"adds the two angles it knows and stops, without taking the sum from {deg(180)}"),
             (360 - s, f"takes the sum from {deg(360)}, as if the angles were round a point"),
             (180 - known[0], f"takes only the {deg(known[0])} angle from {deg(180)} and leaves "
                              f"out the {deg(known[1])} one"),
             (180 - known[1], f"takes only the {deg(known[1])} angle from {deg(180)} and leaves "
                              f"out the {deg(known[0])} one")]
    wrong += sub_slips(180, s)
    return _angle_question(rng, slots, text, d, d.lead, key, wrong, steps, f"The three angles make a straight line, so "
                           f"{ANGLE}x = {minus(180, known[0], known[1])} = {deg(key)}.")


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
    twin = None
    if equal:
        # Two equal unknown angles, both marked x.
        twin = rng.choice([j for j in range(count) if j != unknown])
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
    labels = []
    for j in range(count):
        a, b = rays[j], rays[(j + 1) % count]
        labels.append("x" if j in (unknown, twin) else deg(parts[j]))
        d.angle("O", a, b, labels[-1])
    known = [parts[j] for j in range(count) if j not in (unknown, twin)]
    s = sum(known)
    words = {3: "Three", 4: "Four"}[count]
    lead = f"{words} angles at a point, marked {listing(labels)} going round"
    if equal:
        key = (360 - s) // 2
        steps = last_angle(360, known, f"{ANGLE}x + {ANGLE}x", POINT)
        steps.append(Step(f"The two angles marked x are equal, so halve {deg(360 - s)}.",
                          f"{ANGLE}x = {deg(360 - s)} {DIV} 2 = {deg(key)}"))
        wrong = [(360 - s, "finds the two angles marked x together and forgets to halve"),
                 (Fraction(180 - s, 2), f"takes the sum from {deg(180)}, as if the angles were on "
                                        "a straight line, before halving"),
                 (Fraction(360 - s + known[0], 2), f"leaves out the {deg(known[0])} angle when "
                                                   "adding the angles it knows")]
        wrong += [(Fraction(v, 2), slip + ", then halves", True) for v, slip, _ in sub_slips(360, s)]
        why = (f"The two angles x make {minus(360, s)} = {deg(360 - s)} together, so "
               f"{ANGLE}x = {deg(key)}.")
    else:
        key = 360 - s
        steps = last_angle(360, known, f"{ANGLE}x", POINT)
        wrong = [(180 - s, f"takes the sum from {deg(180)}, as if the angles were on a straight "
                           "line"),
                 (s, f"adds the angles it knows and stops, without taking the sum from {deg(360)}"),
                 (360 - s + known[-1], f"leaves out the {deg(known[-1])} angle when adding")]
        wrong += sub_slips(360, s)
        why = f"{POINT[:-1]}, so {ANGLE}x = {minus(360, *known)} = {deg(key)}."
    solved = d.copy().solve_x(key)
    steps[-1].figure = Figure(solved.render(), f"The figure again: the angles at the point are "
                              f"{listing([deg(key) if t == 'x' else t for t in labels])}.")
    part, solution = _answer(rng, slots, key, wrong, steps, why)
    text = p(f"The figure shows {count} angles at a point. Find {ANGLE}x.")
    return Question(text, [part], [Figure(d.render(), lead + ".")], solution=solution)


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
        text = p(f"AB and CD are straight lines that meet at O. Find {ANGLE}x.")
        d.lead = lead = "Two straight lines AB and CD crossing at O"
        if rng.random() < 0.5:
            d.angle("O", "B", "D", "x")
            key = a
            steps = [Step(f"{ANGLE}x and the {deg(a)} angle are vertically opposite: they face "
                          "each other across O where the lines cross. Vertically opposite angles "
                          "are equal.", f"{ANGLE}x = {deg(a)}")]
            wrong = [(180 - a, f"takes {deg(a)} from {deg(180)}, as if {ANGLE}x and the {deg(a)} "
                               "angle lay together on a straight line"),
                     (360 - a, f"takes {deg(a)} from {deg(360)}, as if they made a whole turn"),
                     (90 - a if a < 90 else a - 90, f"thinks the lines cross at a right angle and "
                                                    f"finds the difference from {deg(90)}")]
            why = f"Vertically opposite angles are equal, so {ANGLE}x = {deg(a)}."
        else:
            d.angle("O", "C", "B", "x")
            key = 180 - a
            steps = last_angle(180, [a], f"{ANGLE}x", f"{ANGLE}x and the {deg(a)} angle lie "
                               f"together on the straight line AB. {LINE}")
            wrong = [(a, f"takes {ANGLE}x to be vertically opposite the {deg(a)} angle; it lies "
                         "beside it"),
                     (360 - a, f"takes {deg(a)} from {deg(360)} instead of {deg(180)}")]
            wrong += sub_slips(180, a)
            why = f"{ANGLE}x and {deg(a)} make the straight line AB, so {ANGLE}x = {minus(180, a)} = {deg(key)}."
        steps[-1].figure = _again(d.copy().solve_x(key))
        return _angle_question(rng, slots, text, d, lead, key, wrong, steps, why)
    # Three lines through O: the six angles come in equal opposite pairs.
    h = _crossing(rng, 3)
    names_ = ["A", "C", "E", "B", "D", "F"]
    heads = h + [x + 180 for x in h]
    for nm, hd in zip(names_, heads):
        d.point(nm, _dir(hd))
    d.seg("A", "B")
    d.seg("C", "D")
    d.seg("E", "F")
    g0, g1 = h[1] - h[0], h[2] - h[1]
    sectors = [(names_[i], names_[(i + 1) % 6]) for i in range(6)]
    d.angle("O", *sectors[0], deg(g0))
    d.angle("O", *sectors[4], deg(g1))
    text = p("AB, CD and EF are straight lines that meet at O.")
    d.lead = lead = "Three straight lines AB, CD and EF crossing at O"
    opposite = Step(f"{ANGLE}COE and the {deg(g1)} angle DOF are vertically opposite, so they "
                    "are equal.", f"{ANGLE}COE = {deg(g1)}")
    z = on_line(g0, g1)
    along = f"The angles AOC, COE and EOB make up the straight line AB. {LINE}"
    if len(slots) == 2:
        d.angle("O", *sectors[1], "y")
        d.angle("O", *sectors[2], "z")
        opposite.say = (f"{ANGLE}y and the {deg(g1)} angle DOF are vertically opposite, so they "
                        "are equal.")
        opposite.work = f"{ANGLE}y = {deg(g1)}"
        opposite.figure = _again(d.copy().found("O", *sectors[1], g1))
        rest = last_angle(180, [g0, g1], f"{ANGLE}z", f"{ANGLE}z, {ANGLE}y and the {deg(g0)} "
                          f"angle make up the straight line AB. {LINE}",
                          f" ({ANGLE}y = {deg(g1)} from (a))")
        for s in rest:
            s.part = 2
        parts = [Part(key=num(g1), prompt=f"Find {ANGLE}y.", unit=DEG),
                 Part(key=num(z), prompt=f"Find {ANGLE}z.", unit=DEG)]
        return Question(text, parts, [_fig(d, lead)],
                        solution=Solution([opposite] + rest, [g1, z]))
    d.angle("O", *sectors[2], "x")
    opposite.figure = _again(d.copy().found("O", *sectors[1], g1))
    steps = [opposite] + last_angle(180, [g0, g1], f"{ANGLE}x", along)
    wrong = [(360 - g0 - g1, f"takes the angles from {deg(360)} instead of {deg(180)}"),
             (g0 + g1, "adds the two marked angles and stops"),
             (180 - g0, f"leaves out {ANGLE}COE, the angle vertically opposite the {deg(g1)} "
                        "angle"),
             (180 - g1, f"leaves out the {deg(g0)} angle AOC")]
    why = (f"{ANGLE}COE = {deg(g1)} (vertically opposite), and AOC, COE and EOB make a straight "
           f"line, so {ANGLE}x = {minus(180, g0, g1)} = {deg(z)}.")
    return _angle_question(rng, slots, text + p(f"Find {ANGLE}x."), d, lead, z, wrong, steps, why)


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
    if case not in ("plain", "right"):
        d.point("D", (C[0] + 0.5, 0.0), at=-90)
        d.seg("C", "D")
        _flip(rng, d)
    d.lead = "Triangle ABC" if case in ("plain", "right") else "Triangle ABC with BC extended to D"
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
        square = f" (the square marks a right angle, {deg(90)})" if 90 in known else ""
        steps = last_angle(180, known, f"{ANGLE}x", TRIANGLE, square)
        steps[-1].figure = _again(d.copy().solve_x(key))
        s = sum(known)
        wrong = [(360 - s, f"takes the sum from {deg(360)}; the angles of a triangle add up to "
                           f"{deg(180)}"),
                 (s, f"adds the two angles it knows and stops, without taking the sum from "
                     f"{deg(180)}"),
                 (180 - known[0], f"takes only the {deg(known[0])} angle from {deg(180)} and "
                                  f"leaves out the {deg(known[1])} one")]
        wrong += sub_slips(180, s)
        return _angle_question(rng, slots, p(f"Find {ANGLE}x in the triangle ABC."), d,
                               d.lead, key, wrong, steps,
                               f"{TRIANGLE[:-1]}, so {ANGLE}x = {minus(180, *known)} = {deg(key)}.")
    # BC is extended to D: the exterior angle ACD is the sum of A and B.
    ext = a_ + b_
    d.angle("A", "B", "C", deg(a_))
    lead = d.lead
    if case == "exterior-find":
        d.angle("B", "C", "A", deg(b_))
        d.angle("C", "D", "A", "x")
        key = ext
        steps = last_angle(180, [a_, b_], f"{ANGLE}ACB", TRIANGLE)
        steps[-1].figure = _again(d.copy().found("C", "A", "B", c_))
        steps.append(Step(f"{ANGLE}ACB and {ANGLE}x make up the straight line BCD. {LINE}",
                          f"{ANGLE}x = {minus(180, c_)} = {deg(key)}"))
        wrong = [(c_, f"stops at {ANGLE}ACB, the angle inside the triangle"),
                 (180 - a_, f"takes only the {deg(a_)} angle from {deg(180)}"),
                 (180 - b_, f"takes only the {deg(b_)} angle from {deg(180)}"),
                 (360 - ext, f"takes the sum of the two marked angles from {deg(360)}")]
        why = (f"{ANGLE}ACB = {minus(180, a_, b_)} = {deg(c_)}, and BCD is a straight line, so "
               f"{ANGLE}x = {minus(180, c_)} = {deg(key)}.")
    else:
        d.angle("C", "D", "A", deg(ext))
        d.angle("B", "C", "A", "x")
        key = b_
        first = last_angle(180, [ext], f"{ANGLE}ACB", f"{ANGLE}ACB and the {deg(ext)} angle make "
                           f"up the straight line BCD. {LINE}")
        first[-1].figure = _again(d.copy().found("C", "A", "B", c_))
        steps = first + last_angle(180, [a_, c_], f"{ANGLE}x", TRIANGLE,
                                   f" ({ANGLE}ACB is the one just found)")
        wrong = [(c_, f"stops at {ANGLE}ACB, the angle next to the {deg(ext)} angle"),
                 (180 - a_, f"takes only the {deg(a_)} angle from {deg(180)} and leaves out "
                            f"{ANGLE}ACB"),
                 (ext + a_, "adds the two marked angles"),
                 (a_ + c_, f"adds the {deg(a_)} angle and {ANGLE}ACB and stops, without taking "
                           f"the sum from {deg(180)}")]
        why = (f"{ANGLE}ACB = {minus(180, ext)} = {deg(c_)}, so in the triangle "
               f"{ANGLE}x = {minus(180, a_, c_)} = {deg(key)}.")
    text = p(f"In the figure, BCD is a straight line. Find {ANGLE}x.")
    return _angle_question(rng, slots, text, d, lead, key, wrong, steps, why)


def _halve(say, pair, total, taken, name, value):
    """Two steps for the equal angles of an isosceles triangle: what is
    left of 180 after the third angle, then half of it."""
    return [Step(say, f"{pair} = {minus(total, taken)} = {deg(total - taken)}"),
            Step("The two angles are equal, so halve.",
                 f"{name} = {deg(total - taken)} {DIV} 2 = {deg(value)}")]


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
        d.lead = "Isosceles triangle ABC"
        if rng.random() < 0.5:
            d.angle("A", "B", "C", deg(apex))
            d.angle("B", "C", "A", "x")
            key = base
            steps = _halve(f"AB = AC, so the angles at B and C are equal. Together they make what "
                           f"is left of {deg(180)} after the {deg(apex)} angle at A.",
                           f"{ANGLE}ABC + {ANGLE}ACB", 180, apex, f"{ANGLE}x", base)
            wrong = [(180 - apex, f"forgets to halve: {deg(180 - apex)} is the two equal angles "
                                  "together"),
                     (apex, "takes all three angles of the triangle to be equal"),
                     (180 - 2 * apex, f"takes the {deg(apex)} angle at A to be one of the two "
                                      "equal angles"),
                     (Fraction(360 - apex, 2), f"takes the {deg(apex)} angle from {deg(360)} "
                                               "before halving")]
            why = (f"The equal angles at B and C make {minus(180, apex)} = {deg(180 - apex)}, so "
                   f"{ANGLE}x = {deg(180 - apex)} {DIV} 2 = {deg(base)}.")
            steps[-1].figure = _again(d.copy().solve_x(key))
        else:
            d.angle("C", "A", "B", deg(base))
            d.angle("A", "B", "C", "x")
            key = apex
            same = Step("AB = AC, so the angles at B and C are equal.",
                        f"{ANGLE}ABC = {ANGLE}ACB = {deg(base)}",
                        figure=_again(d.copy().found("B", "A", "C", base)))
            steps = [same] + last_angle(180, [base, base], f"{ANGLE}x", TRIANGLE)
            wrong = [(base, "takes all three angles of the triangle to be equal"),
                     (180 - base, f"takes only one {deg(base)} angle from {deg(180)}; the angle "
                                  "at B is equal to it"),
                     (Fraction(180 - base, 2), f"takes the {deg(base)} angle at C to be the angle "
                                               "between the equal sides and halves what is left")]
            wrong += sub_slips(180, 2 * base)
            why = (f"The angles at B and C are both {deg(base)}, so "
                   f"{ANGLE}x = {minus(180, base, base)} = {deg(apex)}.")
        text = p(f"ABC is an isosceles triangle with AB = AC. Find {ANGLE}x.")
        return _angle_question(rng, slots, text, d, d.lead, key, wrong, steps, why)
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
    d.lead = lead = "Isosceles triangle ABC with BC extended to D"
    text = p("ABC is an isosceles triangle with AB = AC, and BCD is a straight line.")
    first = last_angle(180, [ext], f"{ANGLE}ACB", f"{ANGLE}ACB and the {deg(ext)} angle make up "
                       f"the straight line BCD. {LINE}")
    same = Step("AB = AC, so the angles at B and C are equal.",
                f"{ANGLE}ABC = {ANGLE}ACB = {deg(base)}")
    if len(slots) == 2:
        first[0].figure = _again(d.copy().found("C", "A", "B", base))
        rest = [same] + last_angle(180, [base, base], f"{ANGLE}BAC", TRIANGLE)
        for s in rest:
            s.part = 2
        parts = [Part(key=num(base), prompt=f"Find {ANGLE}ACB.", unit=DEG),
                 Part(key=num(apex), prompt=f"Find {ANGLE}BAC.", unit=DEG)]
        return Question(text, parts, [_fig(d, lead)],
                        solution=Solution(first + rest, [base, apex]))
    d.angle("A", "B", "C", "x")
    first[0].figure = _again(d.copy().found("C", "A", "B", base))
    steps = first + [same] + last_angle(180, [base, base], f"{ANGLE}x", TRIANGLE)
    wrong = [(base, f"stops at {ANGLE}ACB, one of the two equal angles"),
             (ext, f"takes only one {deg(base)} angle from {deg(180)}; the angle at B is equal "
                   "to it"),
             (Fraction(ext, 2), f"shares the {deg(ext)} angle equally between the angles at A and "
                                "B, but they are not equal")]
    wrong += sub_slips(180, 2 * base)
    why = (f"{ANGLE}ACB = {minus(180, ext)} = {deg(base)} and {ANGLE}ABC is equal to it, so "
           f"{ANGLE}x = {minus(180, base, base)} = {deg(apex)}.")
    return _angle_question(rng, slots, text + p(f"Find {ANGLE}x."), d, lead, apex, wrong, steps,
                           why)


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
    _flip(rng, d)
    d.lead = "Equilateral triangle ABC with a line from A to D on BC"
    adb = third_angle(60, bad)
    sixty = Step(f"ABC is equilateral, so each of its angles is {deg(60)}.",
                 f"{ANGLE}ABD = {deg(60)}",
                 figure=_again(d.copy().found("B", "A", "D", 60)))
    inside = f"The angles of triangle ABD add up to {deg(180)}."
    if level == 2:
        d.angle("D", "A", "B", "x")
        key = adb
        steps = [sixty] + last_angle(180, [60, bad], f"{ANGLE}x", inside)
        wrong = [(180 - bad, f"leaves out the {deg(60)} angle at B"),
                 (60 + bad, "adds the two angles and stops, without taking the sum from "
                            f"{deg(180)}"),
                 (60 - bad, f"finds {ANGLE}DAC, the rest of the {deg(60)} angle at A")]
        wrong += sub_slips(180, 60 + bad)
        why = f"In triangle ABD, {ANGLE}x = {minus(180, 60, bad)} = {deg(key)}."
    else:
        d.angle("D", "C", "A", "x")
        key = exterior(60, bad)
        steps = [sixty] + last_angle(180, [60, bad], f"{ANGLE}ADB", inside)
        steps.append(Step(f"{ANGLE}ADB and {ANGLE}x make up the straight line BC. {LINE}",
                          f"{ANGLE}x = {minus(180, adb)} = {deg(key)}"))
        wrong = [(adb, f"stops at {ANGLE}ADB, the angle on the other side of AD"),
                 (180 - bad, f"takes only the {deg(bad)} angle from {deg(180)}"),
                 (60 - bad, f"finds {ANGLE}DAC, the rest of the {deg(60)} angle at A")]
        wrong += sub_slips(180, adb)
        why = (f"{ANGLE}ADB = {minus(180, 60, bad)} = {deg(adb)}, and BDC is a straight line, so "
               f"{ANGLE}x = {minus(180, adb)} = {deg(key)}.")
    text = p("ABC is an equilateral triangle. D is a point on BC.", f"Find {ANGLE}x.")
    return _angle_question(rng, slots, text, d, d.lead, key, wrong, steps, why)


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


def _between(pair, at, other):
    """The step for an angle between a pair of parallel sides."""
    return f"{pair} are parallel, so the angles at {at} and {other} between them add up to {deg(180)}."


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
    ask = p(f"Find {ANGLE}x.")
    d.lead = {"quadrilateral": "Quadrilateral ABCD", "parallelogram": "Parallelogram ABCD",
              "trapezium": "Trapezium ABCD", "rhombus": "Rhombus ABCD with the diagonal AC"}[shape]
    if shape == "quadrilateral":
        x, y, z, w = angs
        vals = {"A": x, "B": y, "C": 360 - x - y - w, "D": w}
        unknown = rng.choice("ABCD")
        for k in "ABCD":
            d.angle(*corner[k], "x" if k == unknown else deg(vals[k]))
        known = [vals[k] for k in "ABCD" if k != unknown]
        key = quad_fourth(*known)
        steps = last_angle(360, known, f"{ANGLE}x", f"The angles of a quadrilateral add up to "
                           f"{deg(360)}.")
        steps[-1].figure = _again(d.copy().solve_x(key))
        s = sum(known)
        wrong = [(s, f"adds the three angles it knows and stops, without taking the sum from "
                     f"{deg(360)}"),
                 (key + known[0], f"leaves out the {deg(known[0])} angle when adding"),
                 (key + known[2], f"leaves out the {deg(known[2])} angle when adding")]
        wrong += sub_slips(360, s)
        text = p(f"Find {ANGLE}x in the quadrilateral ABCD.")
        return _angle_question(rng, slots, text, d, d.lead, key, wrong, steps,
                               f"The angles of a quadrilateral add up to {deg(360)}, so "
                               f"{ANGLE}x = {minus(360, *known)} = {deg(key)}.")
    if shape == "parallelogram":
        d.arrows("A", "B")
        d.arrows("D", "C")
        d.arrows("A", "D", 2)
        d.arrows("B", "C", 2)
        d.angle(*corner["A"], deg(a))
        text = p("ABCD is a parallelogram.")
        lead = "Parallelogram ABCD"
        next_to = last_angle(180, [a], f"{ANGLE}ABC", _between("AD and BC", "A", "B"))
        opposite = Step("Opposite angles of a parallelogram are equal.",
                        f"{ANGLE}BCD = {ANGLE}DAB = {deg(a)}")
        if len(slots) == 2:
            next_to[0].figure = _again(d.copy().found("B", "C", "A", 180 - a))
            opposite.part = 2
            return Question(text, [Part(key=num(co_interior(a)), prompt=f"Find {ANGLE}ABC.", unit=DEG),
                                   Part(key=num(a), prompt=f"Find {ANGLE}BCD.", unit=DEG)],
                            [_fig(d, lead)],
                            solution=Solution(next_to + [opposite], [180 - a, a]))
        target = rng.choice(["B", "C", "D"])
        d.angle(*corner[target], "x")
        key = a if target == "C" else co_interior(a)
        if target == "C":
            opposite.work = f"{ANGLE}x = {ANGLE}DAB = {deg(a)}"
            steps = [opposite]
            wrong = [(180 - a, f"takes the angles at A and C to add up to {deg(180)}, as "
                               "neighbouring angles do"),
                     (360 - a, f"takes the {deg(a)} angle from {deg(360)}"),
                     (360 - 3 * a, f"takes the other three angles to be {deg(a)} too and takes "
                                   f"them from {deg(360)}")]
            why = f"Opposite angles of a parallelogram are equal, so {ANGLE}x = {deg(a)}."
        else:
            pair, other = ("AD and BC", "B") if target == "B" else ("AB and DC", "D")
            steps = last_angle(180, [a], f"{ANGLE}x", _between(pair, "A", other))
            wrong = [(a, "takes neighbouring angles to be equal; only opposite angles of a "
                         "parallelogram are equal"),
                     (360 - a, f"takes the {deg(a)} angle from {deg(360)} instead of {deg(180)}")]
            wrong += sub_slips(180, a)
            why = (f"{pair} are parallel, so {ANGLE}x = {minus(180, a)} = {deg(key)}.")
        steps[-1].figure = _again(d.copy().solve_x(key))
        return _angle_question(rng, slots, text + ask, d, lead, key, wrong, steps, why)
    if shape == "trapezium":
        d.arrows("A", "B")
        d.arrows("D", "C")
        d.angle(*corner["A"], deg(a))
        d.angle(*corner["B"], deg(b))
        text = p("ABCD is a trapezium in which AB is parallel to DC.")
        lead = "Trapezium ABCD"
        at_d = last_angle(180, [a], f"{ANGLE}ADC", _between("AB and DC", "A", "D"))
        at_c = last_angle(180, [b], f"{ANGLE}BCD", _between("AB and DC", "B", "C"))
        if len(slots) == 2:
            at_d[0].figure = _again(d.copy().found("D", "A", "C", 180 - a))
            at_c[0].part = 2
            return Question(text, [Part(key=num(co_interior(a)), prompt=f"Find {ANGLE}ADC.", unit=DEG),
                                   Part(key=num(co_interior(b)), prompt=f"Find {ANGLE}BCD.", unit=DEG)],
                            [_fig(d, lead)],
                            solution=Solution(at_d + at_c, [180 - a, 180 - b]))
        target = rng.choice(["C", "D"])
        d.angle(*corner[target], "x")
        mine, other = (b, a) if target == "C" else (a, b)
        near, far = ("B", "A") if target == "C" else ("A", "B")
        key = co_interior(mine)
        steps = last_angle(180, [mine], f"{ANGLE}x", _between("AB and DC", near, target))
        steps[-1].figure = _again(d.copy().solve_x(key))
        wrong = [(180 - other, f"takes the {deg(other)} angle at {far} from {deg(180)}; "
                               f"{ANGLE}x is between the parallel sides with the angle at {near}"),
                 (360 - a - b, f"takes both marked angles from {deg(360)}: that gives the angles "
                               "at C and D together"),
                 (other, f"takes {ANGLE}x to be equal to the angle at {far}, across the trapezium")]
        wrong += sub_slips(180, mine)
        why = f"AB and DC are parallel, so {ANGLE}x = {minus(180, mine)} = {deg(key)}."
        return _angle_question(rng, slots, text + ask, d, lead, key, wrong, steps, why)
    # Rhombus with the diagonal AC: triangle ABC is isosceles (BA = BC).
    for s in (("A", "B"), ("B", "C"), ("C", "D"), ("D", "A")):
        d.ticks(*s)
    d.seg("A", "C", width=1.6)
    b_ = co_interior(a)
    d.angle(*corner["B"], deg(b_))
    d.angle("A", "B", "C", "x")
    key = base_angle(b_)
    steps = _halve(f"All the sides of a rhombus are equal, so BA = BC and the angles BAC and BCA "
                   f"are equal. Together they make what is left of {deg(180)} in triangle ABC.",
                   f"{ANGLE}BAC + {ANGLE}BCA", 180, b_, f"{ANGLE}x", key)
    steps[-1].figure = _again(d.copy().solve_x(key))
    wrong = [(180 - b_, f"forgets to halve: {deg(180 - b_)} is the whole angle at A"),
             (b_ // 2, f"halves the {deg(b_)} angle at B instead"),
             (b_, f"takes {ANGLE}x to be equal to the {deg(b_)} angle at B; the equal angles are "
                  "the two at the ends of AC")]
    wrong += [(Fraction(v, 2), slip + ", then halves", True) for v, slip, _ in sub_slips(180, b_)]
    why = (f"BA = BC, so the angles at A and C of triangle ABC are equal: "
           f"{ANGLE}x = ({minus(180, b_)}) {DIV} 2 = {deg(key)}.")
    text = p(f"ABCD is a rhombus and AC is one of its diagonals. Find {ANGLE}x.")
    return _angle_question(rng, slots, text, d, d.lead, key, wrong, steps, why)


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

class Working:
    """The steps that find named angles one after another. Finding an angle
    first finds the angles it needs, each once, under the part that first
    needs it; the first angle found is marked on the figure again.

    rules: name -> function(working) -> (names it needs, its steps). asked:
    the angle marked x, written x where its value is worked out."""

    def __init__(self, drawing, values, rules, given=(), asked=None):
        self.drawing, self.values, self.rules = drawing, values, rules
        self.done = set(given)
        self.asked = asked
        self.steps = []

    def nm(self, name):
        return f"{ANGLE}x" if name == self.asked else f"{ANGLE}{name}"

    def find(self, name, part=1):
        if name in self.done:
            return self
        needs, steps = self.rules[name](self)
        for other in needs:
            self.find(other, part)
        for s in steps:
            s.part = part
        if not self.steps:
            steps[-1].figure = _again(self.drawing.copy().found(name[1], name[0], name[2],
                                                                 self.values[name]))
        self.steps += steps
        self.done.add(name)
        return self


def _multi(d, lead, text, w, order, slots, named):
    """A question of several parts, one named angle each, worked in turn."""
    parts = []
    for i, name in enumerate(order[:len(slots)], 1):
        w.find(name, i)
        parts.append(Part(key=num(named[name]), prompt=f"Find {ANGLE}{name}.", unit=DEG))
    return Question(text, parts, [_fig(d, lead)],
                    solution=Solution(w.steps, [named[k] for k in order[:len(slots)]]))


def _what_is_left(name, whole, part, w, say):
    v = w.values
    return Step(say, f"{w.nm(name)} = {minus(v[whole], v[part] if isinstance(part, str) else part)} "
                     f"= {deg(v[name])}")


def _isosceles_rule(name, needs, equal, pair, triangle, third):
    """A rule: an angle of an isosceles triangle, from its third angle.
    equal: why the two angles are equal; third: the third angle's name, or
    (its size, how it is said) when it is marked."""
    def rule(w):
        taken, said = (w.values[third], f"{ANGLE}{third}") if isinstance(third, str) else third
        return needs, _halve(f"{equal}, so the angles {pair[0]} and {pair[1]} are equal. Together "
                             f"they make what is left of {deg(180)} in triangle {triangle} after "
                             f"{said}.", f"{ANGLE}{pair[0]} + {ANGLE}{pair[1]}", 180, taken,
                             w.nm(name), w.values[name])
    return rule


def _line_rule(name, other, line):
    """A rule: an angle beside one found before on a straight line."""
    return lambda w: ([other], [Step(
        f"{ANGLE}{other} and {ANGLE}{name} make up the straight line {line}. {LINE}",
        f"{w.nm(name)} = {minus(180, w.values[other])} = {deg(w.values[name])}")])


def _sum_rule(name, found, marked, part, equal):
    """A rule: an angle made of a marked angle (name, size) and a part equal
    to the angle found before (found, said as equal)."""
    return lambda w: ([found], [Step(
        f"{ANGLE}{name} is made of {ANGLE}{marked[0]} and {ANGLE}{part}, and "
        f"{ANGLE}{part} = {ANGLE}{equal}.",
        f"{w.nm(name)} = {plus(marked[1], w.values[found])} = {deg(w.values[name])}")])


def _single(rng, slots, text, d, w, ask, wrong, why, radius=None):
    """A one-part question on the angle ask, marked x on the figure."""
    d.angle(ask[1], ask[0], ask[2], "x", radius=radius)
    w.asked = ask
    w.find(ask)
    part, solution = _answer(rng, slots, w.values[ask], wrong, w.steps, why)
    return Question(text + p(f"Find {ANGLE}x."), [part], [_fig(d)], solution=solution)


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
    ask = rng.choice(["BAE", "EAD", "CED"]) if len(slots) == 1 else None
    if len(slots) >= 3 or ask == "CED":
        d.seg("D", "E")
    for s in (("A", "B"), ("B", "C"), ("C", "D"), ("D", "A"), ("B", "E"), ("C", "E")):
        d.ticks(*s)
    if square:
        d.right("B", "A", "C")
        mark, shape = "square", "square"
    elif rng.random() < 0.5:
        d.angle("B", "C", "A", deg(b))
        mark, shape = "ABC", "rhombus"
    else:
        d.angle("C", "B", "D", deg(180 - b))
        mark, shape = "BCD", "rhombus"
    _flip(rng, d)
    d.lead = (f"{shape.capitalize()} ABCD with an equilateral triangle BCE inside it, and the "
              + ("lines AE and DE" if len(slots) >= 3 or ask == "CED" else "line AE"))
    values = dict(named, ABC=b, BCD=180 - b, BAD=180 - b)
    whole = {k: f"the right angle {k}" if square else f"{ANGLE}{k}" for k in ("ABC", "BCD", "BAD")}

    def given(name, step):
        return lambda w: ([], [step(w)])

    rules = {
        "ABC": given("ABC", lambda w: Step(_between("AB and DC", "B", "C"),
                                           f"{ANGLE}ABC = {minus(180, 180 - b)} = {deg(b)}")),
        "BCD": given("BCD", lambda w: Step(_between("AB and DC", "B", "C"),
                                           f"{ANGLE}BCD = {minus(180, b)} = {deg(180 - b)}")),
        "BAD": given("BAD", lambda w: Step(
            "Opposite angles of a rhombus are equal.",
            f"{ANGLE}BAD = {ANGLE}BCD = {deg(180 - b)}") if mark == "BCD" else Step(
            _between("AD and BC", "A", "B"), f"{ANGLE}BAD = {minus(180, b)} = {deg(180 - b)}")),
        "ABE": lambda w: (["ABC"], [_what_is_left(
            "ABE", "ABC", 60, w, f"BCE is equilateral, so {ANGLE}EBC = {deg(60)}. {ANGLE}ABE is "
                                 f"what is left of {whole['ABC']}.")]),
        "BAE": _isosceles_rule("BAE", ["ABE"], f"BA = BE, because BA = BC (sides of the {shape}) "
                               "and BC = BE (sides of the equilateral triangle)", ("BAE", "BEA"),
                               "ABE", "ABE"),
        "DCE": lambda w: (["BCD"], [_what_is_left(
            "DCE", "BCD", 60, w, f"BCE is equilateral, so {ANGLE}BCE = {deg(60)}. {ANGLE}DCE is "
                                 f"what is left of {whole['BCD']}.")]),
        "CED": _isosceles_rule("CED", ["DCE"], f"CD = CE, because CD = CB (sides of the {shape}) "
                               "and CB = CE (sides of the equilateral triangle)", ("CED", "CDE"),
                               "CDE", "DCE"),
        "EAD": lambda w: (["BAE", "BAD"], [_what_is_left(
            "EAD", "BAD", "BAE", w, f"{ANGLE}EAD is what is left of {whole['BAD']} after "
                                    f"{ANGLE}BAE.")]),
    }
    known = {"square": ("ABC", "BCD", "BAD"), "ABC": ("ABC",), "BCD": ("BCD",)}[mark]
    w = Working(d, values, rules, known, ask)
    text = p(f"ABCD is a {shape} and BCE is an equilateral triangle.")
    if len(slots) > 1:
        return _multi(d, d.lead, text, w, ["ABE", "BAE", "DCE", "CED"], slots, named)
    key, v = named[ask], values
    wrong = {
        "BAE": [(v["ABE"], f"stops at {ANGLE}ABE, the angle at B"),
                (180 - v["ABE"], f"forgets to halve: {deg(180 - v['ABE'])} is {ANGLE}BAE and "
                                 f"{ANGLE}BEA together"),
                (v["BAD"], "takes the whole angle at A")],
        "EAD": [(v["BAE"], f"stops at {ANGLE}BAE; {ANGLE}EAD is the rest of the angle at A"),
                (v["BAD"], "takes the whole angle at A"),
                (180 - v["BAE"], f"takes {ANGLE}BAE from {deg(180)} instead of from the angle "
                                 "at A")],
        "CED": [(v["DCE"], f"stops at {ANGLE}DCE, the angle at C"),
                (180 - v["DCE"], f"forgets to halve: {deg(180 - v['DCE'])} is {ANGLE}CED and "
                                 f"{ANGLE}CDE together"),
                (60, "takes triangle CDE to be equilateral, like BCE")]}[ask]
    why = {"BAE": f"Triangle ABE is isosceles with BA = BE, and {ANGLE}ABE = {deg(v['ABE'])}, so "
                  f"{ANGLE}x = ({minus(180, v['ABE'])}) {DIV} 2 = {deg(key)}.",
           "EAD": f"{ANGLE}BAE = {deg(v['BAE'])} (triangle ABE is isosceles) and the angle at A is "
                  f"{deg(v['BAD'])}, so {ANGLE}x = {minus(v['BAD'], v['BAE'])} = {deg(key)}.",
           "CED": f"Triangle CDE is isosceles with CD = CE, and {ANGLE}DCE = {deg(v['DCE'])}, so "
                  f"{ANGLE}x = ({minus(180, v['DCE'])}) {DIV} 2 = {deg(key)}."}[ask]
    return _single(rng, slots, text, d, w, ask, wrong, why)


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
    d.lead = lead = "Parallelogram ABCD with a line from B to E on DC"
    v = named

    def deb(w):
        if "ABE" in w.done:
            return ["ABE"], [Step(_between("AB and DC", "B", "E"),
                                  f"{w.nm('DEB')} = {minus(180, v['ABE'])} = {deg(v['DEB'])}")]
        return _line_rule("DEB", "BEC", "DC")(w)

    rules = {
        "ABC": lambda w: ([], [Step(_between("AD and BC", "A", "B"),
                                    f"{w.nm('ABC')} = {minus(180, a)} = {deg(v['ABC'])}")]),
        "BCD": lambda w: ([], [Step("Opposite angles of a parallelogram are equal.",
                                    f"{w.nm('BCD')} = {ANGLE}BAD = {deg(a)}")]),
        "BEC": lambda w: (["BCD"], last_angle(180, [a, b], w.nm("BEC"), f"The angles of triangle "
                                              f"BEC add up to {deg(180)}.",
                                              f", {ANGLE}BCE and {ANGLE}EBC")),
        "ABE": lambda w: (["ABC"], [_what_is_left("ABE", "ABC", b, w, f"{ANGLE}ABE is what is "
                                                  f"left of {ANGLE}ABC after the {deg(b)} angle "
                                                  "EBC.")]),
        "DEB": deb,
    }
    w = Working(d, v, rules)
    if len(slots) > 1:
        order = {2: ["BCD", "BEC"], 3: ["ABC", "ABE", "BEC"], 4: ["ABC", "ABE", "BCD", "DEB"]}[len(slots)]
        return _multi(d, lead, text, w, order, slots, named)
    ask = rng.choice(["BEC", "DEB"])
    key = named[ask]
    if ask == "BEC":
        wrong = [(v["DEB"], f"finds {ANGLE}DEB, the angle on the other side of E"),
                 (a - b, f"uses {ANGLE}ABC instead of {ANGLE}BCD for the angle at C"),
                 (180 - b, f"leaves out the {deg(a)} angle at C"),
                 (a + b, "adds the two angles of triangle BEC it knows and stops")]
        wrong += sub_slips(180, a + b)
        why = (f"{ANGLE}BCD = {ANGLE}BAD = {deg(a)}, so in triangle BEC "
               f"{ANGLE}x = {minus(180, a, b)} = {deg(key)}.")
    else:
        wrong = [(v["BEC"], f"stops at {ANGLE}BEC, the angle on the other side of E"),
                 (180 - a + b, f"uses {ANGLE}ABC instead of {ANGLE}BCD for the angle at C"),
                 (360 - v["BEC"], f"takes {ANGLE}BEC from {deg(360)} instead of {deg(180)}")]
        wrong += sub_slips(180, v["BEC"])
        why = (f"In triangle BEC, {ANGLE}BEC = {minus(180, a, b)} = {deg(v['BEC'])}, and DEC is "
               f"a straight line, so {ANGLE}x = {minus(180, v['BEC'])} = {deg(key)}.")
    return _single(rng, slots, text, d, w, ask, wrong, why)


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
    d.lead = lead = "Triangle ABC split by the line AD"
    v = named
    rules = {
        "ADB": lambda w: ([], last_angle(180, [bad, abd], w.nm("ADB"), f"The angles of triangle "
                                         f"ABD add up to {deg(180)}.")),
        "ADC": _line_rule("ADC", "ADB", "BC"),
        "ACD": _isosceles_rule("ACD", ["ADC"], "AD = DC", ("DAC", "DCA"), "ADC", "ADC"),
        "BAC": _sum_rule("BAC", "ACD", ("BAD", bad), "DAC", "DCA"),
    }
    w = Working(d, v, rules)
    if len(slots) > 1:
        return _multi(d, lead, text, w, ["ADB", "ACD", "BAC"], slots, named)
    key = named["ACD"]
    wrong = [(v["ADC"], f"stops at {ANGLE}ADC, the angle at D"),
             (v["ADB"], f"forgets to halve: {deg(v['ADB'])} is {ANGLE}DAC and {ANGLE}DCA together"),
             (Fraction(180 - v["ADB"], 2), f"uses {ANGLE}ADB instead of {ANGLE}ADC as the angle at "
                                           "D of triangle ADC")]
    wrong += [(Fraction(x, 2), slip + ", then halves", True) for x, slip, _ in sub_slips(180, v["ADC"])]
    why = (f"{ANGLE}ADB = {minus(180, bad, abd)} = {deg(v['ADB'])}, so {ANGLE}ADC = "
           f"{deg(v['ADC'])}; triangle ADC is isosceles, so {ANGLE}x = ({minus(180, v['ADC'])}) "
           f"{DIV} 2 = {deg(key)}.")
    return _single(rng, slots, text, d, w, "ACD", wrong, why)


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
    d.lead = lead = "Two isosceles triangles ABC and ACD side by side on the line BD"
    v = named
    rules = {
        "ACB": _isosceles_rule("ACB", [], "AB = AC", ("ABC", "ACB"), "ABC",
                               (bac, f"the {deg(bac)} angle at A")),
        "ACD": _line_rule("ACD", "ACB", "BD"),
        "ADC": _isosceles_rule("ADC", ["ACD"], "CA = CD", ("CAD", "CDA"), "ACD", "ACD"),
        "BAD": _sum_rule("BAD", "ADC", ("BAC", bac), "CAD", "CDA"),
    }
    w = Working(d, v, rules)
    if len(slots) > 1:
        order = {2: ["ACB", "ADC"], 3: ["ACB", "ACD", "ADC"], 4: ["ACB", "ACD", "ADC", "BAD"]}[len(slots)]
        return _multi(d, lead, text, w, order, slots, named)
    ask = rng.choice(["ADC", "BAD"])
    key = named[ask]
    if ask == "ADC":
        wrong = [(v["ACB"], f"stops at {ANGLE}ACB"),
                 (v["ACD"], f"stops at {ANGLE}ACD"),
                 (v["ACD"] // 2, f"halves {ANGLE}ACD instead of what is left of {deg(180)}")]
        why = (f"{ANGLE}ACB = ({minus(180, bac)}) {DIV} 2 = {deg(v['ACB'])}, so {ANGLE}ACD = "
               f"{deg(v['ACD'])}; triangle ACD is isosceles, so {ANGLE}x = "
               f"({minus(180, v['ACD'])}) {DIV} 2 = {deg(key)}.")
    else:
        wrong = [(v["ADC"], f"finds {ANGLE}CAD and forgets to add {ANGLE}BAC"),
                 (bac + v["ACB"], f"adds {ANGLE}ACB instead of {ANGLE}CAD to {ANGLE}BAC"),
                 (180 - v["ADC"], f"takes only {ANGLE}ADC from {deg(180)} in triangle ABD and "
                                  "leaves out the angle at B")]
        why = (f"{ANGLE}CAD = {ANGLE}CDA = {deg(v['ADC'])} (triangle ACD is isosceles), so "
               f"{ANGLE}x = {plus(bac, v['ADC'])} = {deg(key)}.")
    return _single(rng, slots, text, d, w, ask, wrong, why, radius=54 if ask == "BAD" else None)


# ---------------------------------------------------------------- naming and measuring angles

KIND_RANGE = {"acute": f"less than {deg(90)}", "right": f"exactly {deg(90)}",
              "obtuse": f"between {deg(90)} and {deg(180)}", "straight": f"exactly {deg(180)}",
              "reflex": f"between {deg(180)} and {deg(360)}"}


def _upper(text):
    """The first letter a capital, the rest as it is (point names stay capitals)."""
    return text[:1].upper() + text[1:]


def _article(word):
    return "an" if word[0] in "aeiou" else "a"


def clock_position(heading):
    """Where a direction points on a clock face, to the nearest half hour:
    "3", "between 12 and 1". heading: degrees anticlockwise from 3 o'clock."""
    halves = round((90 - heading) % 360 / 15)      # half hours clockwise from 12
    hour, half = divmod(halves, 2)
    hour = hour or 12
    return str(hour) if not half else f"between {hour} and {hour % 12 + 1}"


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
        kind = angle_kind(a)
        inside = angle_kind(min(a, 360 - a))
        slips = {"right": "takes it for a right angle by eye; a right angle is exactly a quarter "
                          "turn and is marked with a small square"}
        if kind == "reflex":
            slips[inside] = "looks at the angle inside the arms, not the one the arc marks going " \
                            "round the outside"
            other = "obtuse" if inside == "acute" else "acute"
            slips[other] = "looks at the angle inside the arms and mixes up acute and obtuse"
        else:
            slips["reflex"] = "looks at the angle outside the arms, not the one the arc marks"
            other = "obtuse" if kind == "acute" else "acute"
            slips[other] = f"mixes up the names: {_article(other)} {other} angle is " \
                           f"{KIND_RANGE[other]}"
        options = [f"{k} angle" for k in kinds]
        key = f"{kind} angle"
        part = Part(key=str(options.index(key) + 1), options=options,
                    prompt="What kind of angle is the marked angle PQR?",
                    slips=[None if k == kind else slips[k] for k in kinds])
        # The working: a right angle and a straight line drawn from QP.
        ref = d.copy()
        # Q's name goes in a gap the dashed lines leave free.
        ref.ops = [("name", "Q", "free") if op == ("name", "Q", None) else op for op in ref.ops]
        ref.point("S", _dir(start + 90), label=False)
        ref.point("T", _dir(start + 180), label=False)
        ref.seg("Q", "S", dash=True)
        ref.seg("Q", "T", dash=True)
        ref.right("Q", "P", "S")
        where = {"acute": "before it reaches the right angle",
                 "obtuse": "after the right angle but before the straight line",
                 "reflex": "only after it has passed the straight line"}[kind]
        steps = [Step(f"Compare the marked angle with a right angle ({deg(90)}) and a straight "
                      f"line ({deg(180)}), drawn dashed from QP. Going round from QP the way the "
                      f"arc goes, you reach QR {where}.",
                      f"{ANGLE}PQR is {KIND_RANGE[kind]}: {_article(kind)} {kind} angle",
                      figure=Figure(ref.render(), "The angle PQR again, with dashed lines from Q "
                                    "showing a right angle and a straight line from QP."))]
        why = f"{_article(kind).capitalize()} {kind} angle is {KIND_RANGE[kind]}, and so is {ANGLE}PQR."
        alt = (f"Two arms QP and QR meet at Q. On a clock face, QP points to "
               f"{clock_position(start % 360)} and QR points to "
               f"{clock_position((start + a) % 360)}. An arc marks the angle PQR, going "
               f"anticlockwise from QP to QR{' the long way round' if a > 180 else ''}.")
        return Question("", [part], [Figure(d.render(), alt)],
                        solution=Solution(steps, [key], why=why))
    want = rng.choice(["acute", "obtuse", "reflex"])
    ranges = {"acute": (15, 89), "obtuse": (91, 179), "reflex": (181, 350)}
    right_one = rng.randint(*ranges[want])
    others = [k for k in ranges if k != want]
    wrong = [rng.randint(*ranges[k]) for k in others] + [rng.choice([90, 180, rng.randint(*ranges[others[0]])])]

    def slip(x):
        kind = angle_kind(x)
        if kind in ("right", "straight"):
            return f"forgets that {deg(x)} is exactly {_article(kind)} {kind} angle, not " \
                   f"{_article(want)} {want} one"
        return f"mixes up {want} and {kind}: {deg(x)} is {KIND_RANGE[kind]}, so it is " \
               f"{_article(kind)} {kind} angle"
    if len({right_one, *wrong}) < 4:
        raise ValueError("two options alike")
    part = choice(rng, deg(right_one), [(deg(w), slip(w)) for w in wrong],
                  prompt=f"Which of these is {_article(want)} {want} angle?")
    steps = [Step(f"{_article(want).capitalize()} {want} angle is {KIND_RANGE[want]}. Check each "
                  "option against that.", f"{deg(right_one)} is {KIND_RANGE[want]}")]
    why = f"Only {deg(right_one)} is {KIND_RANGE[want]}."
    return Question("", [part], solution=Solution(steps, [deg(right_one)], why=why))


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
    inner = (180 - arm) if left else arm          # where QR crosses each scale
    side, scale = ("left", "outer") if left else ("right", "inner")
    alt = (f"A protractor laid on the angle PQR, its centre on Q and its base line along QP, "
           f"which points to the {side}. The inner scale counts from 0 on the right, the outer "
           f"scale from 0 on the left. The arm QR crosses the inner scale at {inner} and the "
           f"outer scale at {180 - inner}.")
    fig = Figure(_protractor(arm, left), alt)
    ask = f"The protractor shows the angle PQR. What is the size of {ANGLE}PQR?"
    kind = angle_kind(arm)
    steps = [Step(f"QP points to the {side}, along the 0 on the {side} of the protractor, so count "
                  f"from that 0: use the {scale} scale. QR crosses the {scale} scale at {arm}. "
                  f"Check: {ANGLE}PQR is {_article(kind)} {kind} angle, so {deg(arm)} and not "
                  f"{deg(180 - arm)} fits.", f"{ANGLE}PQR = {deg(arm)}")]
    if slots[0].kind == "N":
        return Question(p(ask), [Part(key=num(arm), unit=DEG)], [fig],
                        solution=Solution(steps, [arm]))
    other_scale = "inner" if left else "outer"
    part = angle_choice(rng, arm, [
        (180 - arm, f"reads the {other_scale} scale, which counts from 0 on the other side"),
        (arm + 10, f"counts one 10{DEG} mark too many along the {scale} scale"),
        (arm - 10, f"counts one 10{DEG} mark too few along the {scale} scale")])
    return Question(p(ask), [part], [fig],
                    solution=Solution(steps, [deg(arm)], why=f"QP lies along the 0 of the {scale} "
                                      f"scale, and QR crosses that scale at {arm}."))


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


def _run(u):
    """How a side goes along the grid: "6 squares right", "2 squares left
    and 3 squares up"."""
    dx, dy = u
    bits = []
    if dx:
        bits.append(f"{plural(abs(dx), 'square')} {'right' if dx > 0 else 'left'}")
    if dy:
        bits.append(f"{plural(abs(dy), 'square')} {'up' if dy > 0 else 'down'}")
    return " and ".join(bits)


def _slope(u):
    """The way a side runs, the same for a side and its reverse."""
    dx, dy = u
    g = math.gcd(abs(dx), abs(dy))
    sx, sy = dx // g, dy // g
    if sx < 0 or (sx == 0 and sy < 0):
        sx, sy = -sx, -sy
    if sy == 0:
        return "straight across the grid"
    if sx == 0:
        return "straight up and down the grid"
    return (f"{plural(abs(sy), 'square')} {'up' if sy > 0 else 'down'} for every "
            f"{plural(sx, 'square')} to the right")


def _grid_svg(pts, letters, pair=None, want=None):
    """The figure on its grid; pair: two sides drawn thick, with parallel
    arrows or a right-angle square where they meet."""
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
    at = dict(zip(letters, xy))
    svg.polygon(xy, width=2.5)
    if pair:
        for side in pair:
            (ax, ay), (bx, by) = at[side[0]], at[side[1]]
            svg.line(ax, ay, bx, by, width=5)
            if want == "parallel":
                d = _unit((bx - ax, by - ay))
                nrm = (-d[1], d[0])
                tip = ((ax + bx) / 2 + d[0] * 5, (ay + by) / 2 + d[1] * 5)
                back = _add(tip, d, -10)
                svg.polyline([_add(back, nrm, 7), tip, _add(back, nrm, -7)], width=2)
        corner = set(pair[0]) & set(pair[1])
        if want == "perpendicular" and corner:
            c = corner.pop()
            ends = [s.replace(c, "") for s in pair]
            V = at[c]
            da, db = (_unit(vec(V, at[e])) for e in ends)
            s = 14
            svg.polyline([_add(V, da, s), _add(_add(V, da, s), db, s), _add(V, db, s)], width=2)
    cx = sum(x for x, _ in xy) / len(xy)
    cy = sum(y for _, y in xy) / len(xy)
    for (x, y), name in zip(xy, letters):
        dx, dy = _unit((x - cx, y - cy))
        svg.text(x + dx * 15, y + dy * 15 + 5, name, bold=True)
    return svg.render(), (x0, y0)


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

    def runs(pair):
        return f"{pair[0]} goes {_run(sides[pair[0]])} and {pair[1]} goes {_run(sides[pair[1]])}"

    def slip(pair):
        meet = set(pair[0]) & set(pair[1])
        if pair in perp:
            return f"mixes up the words: {pair[0]} and {pair[1]} meet at a right angle, so they " \
                   "are perpendicular, not parallel"
        if pair in par:
            return f"mixes up the words: {pair[0]} and {pair[1]} run the same way and never " \
                   "meet, so they are parallel, not perpendicular"
        if want == "parallel":
            if meet:
                return f"picks two sides that meet at {meet.pop()}; parallel sides never meet"
            return f"takes two sides that face each other across the figure to be parallel " \
                   f"without checking the grid: {runs(pair)}"
        if meet:
            return f"takes the corner at {meet.pop()} to be a right angle without checking the " \
                   f"grid: {runs(pair)}"
        return f"judges by eye without checking the grid: {runs(pair)}"

    wrong = [w for w in (perp if want == "parallel" else par) + neither if clear(w)]
    if len(wrong) < 3:
        raise ValueError("not enough wrong pairs")
    bad = rng.sample(wrong, 3)
    show = lambda pr: f"{pr[0]} and {pr[1]}"
    part = choice(rng, show(right), [(show(b), slip(b)) for b in bad],
                  prompt=f"Which two sides of the figure are {want}?")
    svg, (x0, y0) = _grid_svg(pts, letters)
    corners = listing([f"{k} ({x - x0}, {y - y0})" for k, (x, y) in zip(letters, pts)])
    alt = (f"A figure {''.join(letters)} drawn on a square grid. Its corners, counted in "
           f"squares across and up from the bottom left of the grid: {corners}.")
    u, v = sides[right[0]], sides[right[1]]
    if want == "parallel":
        because = f"Both run {_slope(u)}, so however far they are drawn they never meet."
    elif 0 in u and 0 in v:
        because = ("One runs straight across the grid and the other straight up and down, so "
                   "they meet at a right angle, as the grid lines do.")
    else:
        # Slanting sides: one side's step, given a quarter turn, is the other's.
        g0 = math.gcd(*u)
        step = (u[0] // g0, u[1] // g0)
        turned = (-step[1], step[0])
        if cross(turned, v) != 0 or dot(turned, v) < 0:
            turned = (step[1], -step[0])
        because = (f"Give {right[0]}'s direction a quarter turn: {_run(step)} turns into "
                   f"{_run(turned)}, the way {right[1]} runs. A quarter turn is a right angle, so "
                   "the sides are perpendicular.")
    steps = [Step(f"Follow each side along the grid, counting squares. {runs(right)}.", because,
                  figure=Figure(_grid_svg(pts, letters, right, want)[0],
                                f"The figure again with {right[0]} and {right[1]} drawn thick and "
                                f"marked {want}."))]
    why = f"{right[0]} and {right[1]} are {want}: {runs(right)}."
    return Question(p("The figure is drawn on a square grid."), [part], [Figure(svg, alt)],
                    solution=Solution(steps, [show(right)], why=why))


# ---------------------------------------------------------------- nets and solids

def _columns_said(cols):
    """Columns 1 to 4, columns 1 and 3, column 2."""
    runs, start = [], None
    cols = sorted(cols)
    for i, c in enumerate(cols):
        if start is None:
            start = c
        if i + 1 == len(cols) or cols[i + 1] != c + 1:
            runs.append((start, c))
            start = None
    bits = []
    for a, b in runs:
        bits += [str(a + 1)] if a == b else [str(a + 1), str(b + 1)] if b == a + 1 else \
            [f"{a + 1} to {b + 1}"]
    word = "column" if len(cols) == 1 else "columns"
    return f"{word} {listing(bits)}"


def rows_said(cells, letters=None):
    """Squares on a grid read row by row from the top, for a screen reader:
    "row 1: column 2; row 2: columns 1 to 4". With letters, each square's
    letter and column."""
    out = []
    for r in sorted({r for r, _ in cells}):
        cols = sorted(c for rr, c in cells if rr == r)
        if letters:
            said = listing([f"{letters[(r, c)]} in column {c + 1}" for c in cols])
        else:
            said = _columns_said(cols)
        out.append(f"row {r + 1}: {said}")
    return "; ".join(out)


def _net_svg(cells, letters=None, cell=34, shade=()):
    rows = max(r for r, _ in cells) + 1
    cols = max(c for _, c in cells) + 1
    svg = Svg(cols * cell + 8, rows * cell + 8, font=16)
    for (r, c) in sorted(cells):
        svg.rect(4 + c * cell, 4 + r * cell, cell, cell, fill=GREY if (r, c) in shade else LIGHT,
                 width=1.8)
        if letters and (r, c) in letters:
            svg.text(4 + (c + 0.5) * cell, 4 + (r + 0.5) * cell + 6, letters[(r, c)], bold=True)
    return svg.render()


def clash(cells):
    """Two squares of a shape that fold onto the same face of a cube, or
    None for a net."""
    faces = fold_faces(cells)
    seen = {}
    for c in sorted(cells):
        if faces[c] in seen:
            return seen[faces[c]], c
        seen[faces[c]] = c
    return None


def opposite_pairs(cells):
    """A net's squares numbered 1 to 3, the same number on opposite faces."""
    faces = fold_faces(cells)
    axes = []
    out = {}
    for c in sorted(cells):
        axis = tuple(abs(x) for x in faces[c])
        if axis not in axes:
            axes.append(axis)
        out[c] = axes.index(axis) + 1
    return out


def net_fault(cells):
    """Why six squares joined edge to edge do not fold into a cube, and the
    squares that show it: ("block", the four of a 2 by 2 block), ("row",
    the first and fifth of five or more in a row) or ("clash", two squares
    that land on the same face)."""
    cells = set(cells)
    for r, c in sorted(cells):
        block = {(r, c), (r + 1, c), (r, c + 1), (r + 1, c + 1)}
        if block <= cells:
            return "block", block
    for r, c in sorted(cells):
        for dr, dc in ((0, 1), (1, 0)):
            run = [(r + dr * k, c + dc * k) for k in range(5)]
            if set(run) <= cells:
                return "row", {run[0], run[4]}
    # Without a block the squares join as a tree, so the fold is the only
    # one and squares joined along an edge never share a face.
    return "clash", set(clash(cells))


def why_not_a_net(cells):
    """The slip behind picking a shape of six squares that is not a net."""
    kind, _ = net_fault(cells)
    if kind == "row":
        row = max(max(sum(1 for k in range(6) if (r, c + k) in cells),
                      sum(1 for k in range(6) if (r + k, c) in cells)) for r, c in cells)
        return (f"checks only that there are six squares; it has {row} squares in a row, but a "
                "cube is only four faces round, so the hatched squares land on the same face")
    if kind == "block":
        return ("checks only that there are six squares; it has four squares in a 2 by 2 block "
                "(hatched), but only three faces of a cube meet at a corner")
    return ("checks only that there are six squares joined edge to edge; folded, the two hatched "
            "squares land on the same face and one face of the cube is left open")


def _nets_again(shapes, right):
    """The four shapes of a choice side by side, in option order: the net
    with its opposite faces numbered alike, the others with the squares
    that cannot fold hatched."""
    cols = sum(max(c for _, c in s) + 1 for s in shapes)
    gap = 22
    cell = min(22, (540 - gap * 3) / cols)
    height = max(max(r for r, _ in s) + 1 for s in shapes) * cell
    svg = Svg(cols * cell + gap * 3 + 20, height + 40, font=13)
    x = 10
    for k, s in enumerate(shapes, 1):
        marks = opposite_pairs(s) if k == right else {}
        hatched = net_fault(s)[1] if k != right else set()
        for (r, c) in sorted(s):
            svg.rect(x + c * cell, 6 + r * cell, cell, cell,
                     fill=svg.hatch() if (r, c) in hatched else LIGHT, width=1.5)
            if (r, c) in marks:
                svg.text(x + (c + 0.5) * cell, 6 + (r + 0.5) * cell + 5, str(marks[(r, c)]), bold=True)
        w = (max(c for _, c in s) + 1) * cell
        svg.text(x + w / 2, height + 30, f"({k})", bold=k == right)
        x += w + gap
    return svg.render()


@family("geometry.cube-net", TOPIC, ["Q"], levels=(1, 2))
def cube_net(rng, level, slots):
    good = rng.choice(variants(rng.choice(CUBE_NETS)))
    bad = [rng.choice(variants(h)) for h in rng.sample(NOT_NETS, 3)]
    shapes = [good] + bad
    figs = [Figure(_net_svg(c, cell=26 if level == 1 else 24),
                   f"Six squares joined edge to edge, in rows from the top: {rows_said(c)}.")
            for c in shapes]
    part = choice(rng, "{fig1}", [("{fig2}", why_not_a_net(bad[0])), ("{fig3}", why_not_a_net(bad[1])),
                                  ("{fig4}", why_not_a_net(bad[2]))],
                  prompt="Which of these is a net of a cube?")
    order = [shapes[int(o[4]) - 1] for o in part.options]
    k = int(part.key)
    steps = [Step("Fold each shape in your mind, one square at a time, round a cube. A net puts "
                  "one square on each of the six faces.",
                  f"Option {k} folds into a cube. In each of the others, the hatched squares "
                  "show where folding fails.",
                  figure=Figure(_nets_again(order, k),
                                f"The four shapes again. In option {k}, squares that fold onto "
                                "opposite faces carry the same number, 1, 2 or 3. In each other "
                                "option the squares that cannot fold are hatched: two that land on "
                                "one face, or four in a 2 by 2 block."))]
    why = (f"Folded, the six squares of option {k} land on six different faces: the squares "
           "numbered alike in the figure end up opposite each other.")
    return Question("", [part], figs, solution=Solution(steps, ["{fig1}"], why=why))


@family("geometry.opposite-face", TOPIC, ["Q"], levels=(2, 3))
def opposite_face(rng, level, slots):
    net = rng.choice(variants(rng.choice(CUBE_NETS)))
    cells = sorted(net)
    letters = dict(zip(cells, rng.sample("ABCDEFGHKMPRST", 6)))
    asked = rng.choice(cells)
    opp = opposite_cell(net, asked)
    near = [c for c in cells if c not in (asked, opp)]
    bad = rng.sample(near, 3)
    a, o = letters[asked], letters[opp]

    def slip(c):
        if abs(c[0] - asked[0]) + abs(c[1] - asked[1]) == 1:
            return f"picks {letters[c]}, joined to {a} along an edge in the net; joined squares " \
                   "fold up side by side, never opposite"
        return f"picks {letters[c]}, which is not joined to {a} in the net, but folding brings " \
               f"it up beside {a}, sharing an edge"
    part = choice(rng, o, [(letters[c], slip(c)) for c in bad],
                  prompt=f"The net is folded to make a cube. Which face is opposite the face "
                         f"marked {a}?")
    between = ((asked[0] + opp[0]) / 2, (asked[1] + opp[1]) / 2)
    if abs(asked[0] - opp[0]) + abs(asked[1] - opp[1]) == 2 and between in net:
        why = (f"{a} and {o} are in a line with one square between them: folded, that square "
               f"becomes a side joining them, and {o} faces {a}.")
    else:
        why = (f"Folded, the four faces that meet {a} are "
               f"{listing(sorted(letters[c] for c in near))}; the one face left, {o}, is opposite {a}.")
    steps = [Step(f"Fold the net with {a} as the bottom face: the squares joined to it fold up "
                  "as sides, and folding on round brings the last square over the top.",
                  f"The face opposite {a} is {o}.",
                  figure=Figure(_net_svg(net, letters, shade=(asked, opp)),
                                f"The net again with the squares {a} and {o} shaded."))]
    fig = Figure(_net_svg(net, letters), "A net of a cube with a letter on each square, in rows "
                 f"from the top: {rows_said(net, letters)}.")
    return Question(p("The figure shows the net of a cube."), [part], [fig],
                    solution=Solution(steps, [o], why=why))


SOLIDS = {  # name: (kind, sides of the base)
    "cube": ("prism", 4), "cuboid": ("prism", 4), "triangular prism": ("prism", 3),
    "pentagonal prism": ("prism", 5), "hexagonal prism": ("prism", 6),
    "triangular pyramid": ("pyramid", 3), "square pyramid": ("pyramid", 4),
    "pentagonal pyramid": ("pyramid", 5), "hexagonal pyramid": ("pyramid", 6),
}
BASE = {3: "triangular", 4: "square", 5: "pentagonal", 6: "hexagonal"}


def solid_counts(name):
    kind, sides = SOLIDS[name]
    return prism_counts(sides) if kind == "prism" else pyramid_counts(sides)


def counting(name, what):
    """How to count a solid's faces, edges or vertices: (words, working)."""
    kind, k = SOLIDS[name]
    f, e, v = solid_counts(name)
    art = _article(name).capitalize()
    box = name in ("cube", "cuboid")
    if kind == "prism":
        ends = "a top and a bottom" if box else f"two {BASE[k]} ends"
        each = ("round its top", "round its bottom") if box else ("round each of its two ends", "")
        said = {
            "faces": (f"{art} {name} has {k} faces round its sides, and {ends}.",
                      f"{k} + 2 = {f} faces"),
            "edges": (f"{art} {name} has {k} edges {each[0]}, "
                      + (f"{k} {each[1]} " if box else "")
                      + f"and {k} edges joining {'them' if box else 'the ends'}.",
                      f"{k} + {k} + {k} = {e} edges"),
            "vertices": (f"{art} {name} has {k} corners {each[0]}"
                         + (f" and {k} {each[1]}." if box else "."), f"{k} + {k} = {v} vertices")}
    else:
        said = {
            "faces": (f"{art} {name} has a {BASE[k]} base and {k} triangles, one on each side of "
                      "the base.", f"1 + {k} = {f} faces"),
            "edges": (f"{art} {name} has {k} edges round its base and {k} edges up to the top.",
                      f"{k} + {k} = {e} edges"),
            "vertices": (f"{art} {name} has {k} corners round its base and 1 at the top.",
                         f"{k} + 1 = {v} vertices")}
    return said[what]


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


@family("geometry.solids", TOPIC, ["N", "Q", ("N", "N")], levels=(1, 2, 3))
def solids(rng, level, slots):
    name = rng.choice(list(SOLIDS))
    kind, k = SOLIDS[name]
    f, e, v = solid_counts(name)
    art = _article(name)
    svg = _solid_svg(name, rng)
    fig = Figure(svg, f"A drawing of {art} {name}, with its hidden edges drawn dashed.")
    shows = p(f"The figure shows {art} {name}.")
    if len(slots) == 2:
        who = names(rng, 1)[0]
        edges = Step(*counting(name, "edges"))
        edges.say += " One straw makes each edge."
        if level == 2:
            text = p(f"{who} makes a model of {art} {name} using straws for its edges and balls "
                     "of clay to join them at its vertices.")
            balls = Step(*counting(name, "vertices"), part=2)
            balls.say += " One ball of clay sits at each vertex."
            return Question(text, [Part(key=num(e), prompt="How many straws does "
                                        f"{pronoun(who)} use?", unit="straws"),
                                   Part(key=num(v), prompt="How many balls of clay does "
                                        f"{pronoun(who)} use?", unit="balls")], [fig],
                            solution=Solution([edges, balls], [e, v]))
        length = rng.choice([6, 8, 9, 12, 15, 18, 25])
        text = p(f"{who} makes a model of {art} {name} using straws for its edges. Each straw "
                 f"is {unit(length, 'cm')} long.")
        total = Step(f"Each of the {e} straws is {unit(length, 'cm')} long.",
                     f"{e} {TIMES} {unit(length, 'cm')} = {unit(e * length, 'cm')}", part=2)
        return Question(text, [Part(key=num(e), prompt="How many straws are needed?", unit="straws"),
                               # In words, not beside the blank: the solution's answer line
                               # would part the number from its unit.
                               Part(key=num(e * length), prompt="What is the total length of the "
                                    "straws used, in centimetres?")], [fig],
                        solution=Solution([edges, total], [e, e * length]))
    if slots[0].kind == "Q":
        if level == 1:
            hidden = svg.count("stroke-dasharray")
            wrong = [(f, "counts the faces instead of the edges"),
                     (v, "counts the vertices, the corners, instead of the edges"),
                     (e - hidden, "counts only the edges drawn solid and misses the "
                                  + ("dashed hidden edge" if hidden == 1 else
                                     f"{hidden} dashed hidden edges")),
                     (2 * k if kind == "prism" else k,
                      f"counts the edges round the ends and misses the {k} edges joining them"
                      if kind == "prism" else f"counts only the edges round the base and misses "
                      f"the {k} edges up to the top")]
            picked = _pick(rng, e, wrong)
            part = choice(rng, n(e), [(n(x), s) for x, s in picked],
                          prompt=f"How many edges does {art} {name} have?")
            return Question(shows, [part], [fig],
                            solution=Solution([Step(*counting(name, "edges"))], [n(e)],
                                              why=f"Counting every edge, hidden ones too, "
                                                  f"{art} {name} has {e} edges."))
        part, steps, why = _which_solid(rng, name)
        return Question("", [part], solution=Solution(steps, [name], why=why))
    if level == 1:
        what, count = rng.choice([("faces", f), ("edges", e), ("vertices", v)])
        return Question(shows, [Part(key=num(count), prompt=f"How many {what} does it have?")],
                        [fig], solution=Solution([Step(*counting(name, what))], [count]))
    if level == 2:
        a, b = rng.sample([("faces", f), ("edges", e), ("vertices", v)], 2)
        steps = [Step(*counting(name, a[0])), Step(*counting(name, b[0]))]
        if a[1] == b[1]:
            steps.append(Step(f"Add the {a[0]} and the {b[0]}.", f"{a[1]} + {b[1]} = {a[1] + b[1]}"))
            return Question(shows, [Part(key=num(a[1] + b[1]), prompt=f"What is the total number "
                                         f"of its {a[0]} and {b[0]}?")], [fig],
                            solution=Solution(steps, [a[1] + b[1]]))
        big, small = (a, b) if a[1] > b[1] else (b, a)
        steps.append(Step(f"Take the number of {small[0]} from the number of {big[0]}.",
                          f"{big[1]} {MINUS} {small[1]} = {big[1] - small[1]}"))
        return Question(shows, [Part(key=num(big[1] - small[1]), prompt=f"How many more {big[0]} "
                                     f"than {small[0]} does it have?")], [fig],
                        solution=Solution(steps, [big[1] - small[1]]))
    # Level 3: a skeleton cuboid from its three lengths.
    lx, ly, lz = sorted(rng.sample([4, 5, 6, 8, 9, 10, 12, 15], 3), reverse=True)
    who = names(rng, 1)[0]
    text = p(f"{who} makes the frame of a box in the shape of a cuboid from wire. The box is "
             f"{unit(lx, 'cm')} long, {unit(ly, 'cm')} wide and {unit(lz, 'cm')} high.",
             "What is the total length of wire, in centimetres, used for all the edges of the "
             "frame?")
    total = skeleton_length(lx, ly, lz)
    steps = [Step(f"A cuboid has 12 edges: 4 of them are {unit(lx, 'cm')} long, 4 are "
                  f"{unit(ly, 'cm')} and 4 are {unit(lz, 'cm')}. Add one edge of each length.",
                  f"{lx} + {ly} + {lz} = {unit(lx + ly + lz, 'cm')}"),
             Step("There are 4 edges of each length, so take 4 of these.",
                  f"4 {TIMES} {unit(lx + ly + lz, 'cm')} = {unit(total, 'cm')}")]
    return Question(text, [Part(key=num(total))],
                    [Figure(_solid_svg("cuboid", rng), "A drawing of a cuboid, with its hidden "
                            "edges drawn dashed.")], solution=Solution(steps, [total]))


def _which_solid(rng, name):
    """Which solid has these counts: the wrong options are the solids a
    pupil mixes it up with, a prism for a pyramid on the same base, the
    next base, one sharing a count."""
    kind, k = SOLIDS[name]
    f, e, v = solid_counts(name)
    scored = []
    for other, (okind, ok) in SOLIDS.items():
        counts = solid_counts(other)
        if counts == (f, e, v):
            continue
        said = (f"{_article(other)} {other} has {counts[0]} faces, {counts[1]} edges and "
                f"{counts[2]} vertices")
        same = [w for w, a, b in zip(("faces", "edges", "vertices"), counts, (f, e, v)) if a == b]
        if ok == k:
            scored.append((0, other, f"mixes up prisms and pyramids: {said}"))
        elif okind == kind and abs(ok - k) == 1:
            scored.append((1, other, f"takes the wrong shape of end or base: {said}"))
        elif same:
            scored.append((2, other, f"matches the number of {same[0]} only: {said}"))
    scored.sort()
    picked = rng.sample(scored[:4], 3)
    part = choice(rng, name, [(o, s) for _, o, s in picked],
                  prompt=f"A solid has {f} faces, {e} edges and {v} vertices. Which solid could "
                         "it be?")
    said = [counting(name, w)[0] for w in ("faces", "edges", "vertices")]
    who = f"{_article(name).capitalize()} {name} has"
    steps = [Step(f"Count the faces, edges and vertices of {_article(name)} {name}. " + said[0] + " "
                  + " ".join(x.replace(who, "It has") for x in said[1:]),
                  "; ".join(counting(name, w)[1] for w in ("faces", "edges", "vertices")))]
    why = f"{_article(name).capitalize()} {name} has exactly {f} faces, {e} edges and {v} vertices."
    return part, steps, why


NET_SOLIDS = ["cube", "cuboid", "triangular prism", "square pyramid", "triangular pyramid", "cylinder"]
NET_FACES = {"cube": "six equal squares",
             "cuboid": "six rectangles, in three matching pairs",
             "triangular prism": "two triangles and three rectangles",
             "square pyramid": "a square and four triangles",
             "triangular pyramid": "four equal triangles",
             "cylinder": "two circles and a rectangle"}
NET_DRAWN = {
    "cube": "six equal squares: a column of four, with one more square on each side of the "
            "second",
    "cuboid": "six rectangles: a column of four, narrow and wide in turn, with a rectangle on "
              "each side of the second",
    "triangular prism": "three rectangles side by side, with a triangle on the top and on the "
                        "bottom of the middle one",
    "square pyramid": "a square with a triangle on each of its four sides",
    "triangular pyramid": "a large triangle divided into four equal triangles",
    "cylinder": "a rectangle with a circle touching its top side and a circle touching its "
                "bottom side"}
NET_FOLDS = {
    "cube": "the column of four squares folds round into a tube and the other two squares "
            "close its ends",
    "cuboid": "the four rectangles in the column fold round into a box and the two at the sides "
              "close its ends",
    "triangular prism": "the three rectangles fold round into a tube with three sides, and the "
                        "two triangles close its ends",
    "square pyramid": "the four triangles fold up from the sides of the square and meet at a point",
    "triangular pyramid": "the three outer triangles fold up from the middle one and meet at a "
                          "point",
    "cylinder": "the rectangle rolls round into a tube and the two circles close its ends"}
NET_SLIPS = {  # the solid a net is mistaken for, and the slip behind it
    "cube": {"cuboid": "forgets that all six faces here are equal squares; a cuboid's net has "
                       "rectangles of different sizes",
             "square pyramid": "sees a square with faces round it, as in a pyramid's net; but "
                               "these faces are squares, not triangles",
             "triangular prism": "sees the column of four-sided faces, as in a prism's net; but "
                                 "a triangular prism has triangles at its ends"},
    "cuboid": {"cube": "takes the rectangles for squares; a cube's net has six equal squares",
               "triangular prism": "sees the rectangles, as in a prism's net; but a triangular "
                                   "prism has only three rectangles, and two triangular ends",
               "square pyramid": "sees a face with faces round it; but a pyramid's sides are "
                                 "triangles"},
    "triangular prism": {"triangular pyramid": "sees the triangles; but a triangular pyramid's "
                                               "net is four triangles and no rectangles",
                         "cuboid": "sees the rectangles; but a cuboid has six rectangles and no "
                                   "triangles",
                         "square pyramid": "sees the triangles; but a square pyramid's net is a "
                                           "square with four triangles round it",
                         "cylinder": "sees the tube of rectangles between two ends; but a "
                                     "cylinder's ends are circles"},
    "square pyramid": {"triangular pyramid": "sees the triangles meeting at a point; but a "
                                             "triangular pyramid has a triangle for its base, "
                                             "not a square",
                       "cube": "sees the square in the middle; but a cube's net is six squares",
                       "triangular prism": "sees the triangles; but a triangular prism has only "
                                           "two triangles, joined by three rectangles"},
    "triangular pyramid": {"square pyramid": "sees triangles that fold up to a point; but a "
                                             "square pyramid has a square base",
                           "triangular prism": "sees the triangles; but a triangular prism's "
                                               "net also has three rectangles",
                           "cone": "knows the solid comes to a point; but a cone has a curved "
                                   "face and a circle, and this net has only flat triangles"},
    "cylinder": {"triangular prism": "sees the rectangle between two ends; but a triangular "
                                     "prism's ends are triangles",
                 "cuboid": "sees the rectangle; but a cuboid's net has six rectangles and no "
                           "circles",
                 "cone": "sees the circles; but a cone has only one circle, and a curved face "
                         "cut from a circle"},
}


@family("geometry.net-solid", TOPIC, ["Q"], levels=(1, 2))
def net_solid(rng, level, slots):
    name = rng.choice(NET_SOLIDS)
    wrong = rng.sample(sorted(NET_SLIPS[name].items()), 3)
    part = choice(rng, name, wrong, prompt="Which solid can be made by folding this net?")
    fig = Figure(_solid_net(name), f"The net of a solid: {NET_DRAWN[name]}.")
    steps = [Step(f"Look at the faces of the net: {NET_FACES[name]}. Fold it in your mind.",
                  f"Folded, {NET_FOLDS[name]}: {_article(name)} {name}.")]
    why = f"Folding this net makes {_article(name)} {name}: {NET_FOLDS[name]}."
    return Question(p("The figure shows the net of a solid."), [part], [fig],
                    solution=Solution(steps, [name], why=why))


# ---------------------------------------------------------------- symmetry

def _regular(k, r=1.0, turn_=90):
    return [_dir(turn_ + 360 * i / k) for i in range(k)]


def _shape_points(name):
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


def symmetry_axes(pts):
    """The directions (degrees, 0 to 180) of a polygon's lines of symmetry:
    lines through the middle of its corners that carry each corner onto a
    corner when folded. Every such line passes through a corner or the
    middle of a side."""
    cx = sum(x for x, _ in pts) / len(pts)
    cy = sum(y for _, y in pts) / len(pts)
    mids = [((x1 + x2) / 2, (y1 + y2) / 2) for (x1, y1), (x2, y2) in zip(pts, pts[1:] + pts[:1])]
    found = []
    for x, y in pts + mids:
        if math.hypot(x - cx, y - cy) < 1e-9:
            continue
        t = math.atan2(y - cy, x - cx)
        c, s = math.cos(2 * t), math.sin(2 * t)
        folded = [(cx + c * (px - cx) + s * (py - cy), cy + s * (px - cx) - c * (py - cy))
                  for px, py in pts]
        if all(any(math.hypot(fx - px, fy - py) < 1e-6 for px, py in pts) for fx, fy in folded):
            a = math.degrees(t) % 180
            if not any(abs(a - b) < 1e-6 or abs(abs(a - b) - 180) < 1e-6 for b in found):
                found.append(a)
    return sorted(found)


def _shape_svg(name, turn_deg, axes=False):
    """The shape turned through turn_deg; with axes, its lines of symmetry
    drawn dashed across it."""
    t = math.radians(turn_deg)
    pts = [(x * math.cos(t) - y * math.sin(t), x * math.sin(t) + y * math.cos(t))
           for x, y in _shape_points(name)]
    xs, ys = [q[0] for q in pts], [q[1] for q in pts]
    k = 120 / max(max(xs) - min(xs), max(ys) - min(ys))
    pad = 24 if axes else 10
    w, h = (max(xs) - min(xs)) * k + 2 * pad, (max(ys) - min(ys)) * k + 2 * pad
    svg = Svg(w, h)
    screen = [(pad + (x - min(xs)) * k, pad + (max(ys) - y) * k) for x, y in pts]
    svg.polygon(screen, fill=LIGHT, width=2.2)
    if axes:
        cx = sum(x for x, _ in screen) / len(screen)
        cy = sum(y for _, y in screen) / len(screen)
        for a in symmetry_axes(pts):
            d = _dir(a)
            d = (d[0], -d[1])
            # Across the shape and a little past it, inside the picture.
            reach = min((cx - 4) / abs(d[0]) if d[0] else 1e9, (w - 4 - cx) / abs(d[0]) if d[0] else 1e9,
                        (cy - 4) / abs(d[1]) if d[1] else 1e9, (h - 4 - cy) / abs(d[1]) if d[1] else 1e9)
            svg.line(cx - d[0] * reach, cy - d[1] * reach, cx + d[0] * reach, cy + d[1] * reach,
                     width=1.6, dash="7,5")
    return svg.render()


SYMMETRY_WHERE = {
    "square": "along its two diagonals and along the two lines through the middles of opposite "
              "sides",
    "rectangle": "along the two lines through the middles of opposite sides; folding along a "
                 "diagonal does not fit",
    "equilateral triangle": "along the line from each corner to the middle of the opposite side",
    "isosceles triangle": "only along the line from the corner between the equal sides to the "
                          "middle of the opposite side",
    "rhombus": "along its two diagonals; folding along a line through the middles of opposite "
               "sides does not fit",
    "parallelogram": "along no line at all: folding along a diagonal or through the middles of "
                     "the sides does not fit",
    "kite": "only along the diagonal through the corners where the equal sides meet",
    "regular pentagon": "along the line from each corner to the middle of the opposite side",
    "regular hexagon": "along the 3 lines through opposite corners and the 3 lines through the "
                       "middles of opposite sides",
    "isosceles trapezium": "only along the line through the middles of the two parallel sides",
    "right-angled triangle": "along no line at all: no fold makes its two halves fit",
    "regular octagon": "along the 4 lines through opposite corners and the 4 lines through the "
                       "middles of opposite sides",
}
SYMMETRY_SLIPS = {  # the count a pupil wrongly gives a shape, and why
    "square": (2, "misses the diagonals"),
    "rectangle": (4, "takes the diagonals for lines of symmetry too"),
    "equilateral triangle": (1, "finds only the fold down the middle"),
    "isosceles triangle": (3, "takes it for an equilateral triangle"),
    "rhombus": (4, "takes the lines through the middles of the sides for lines of symmetry too"),
    "parallelogram": (2, "takes the diagonals for lines of symmetry"),
    "kite": (2, "takes the other diagonal for a line of symmetry too"),
    "regular pentagon": (1, "finds only the fold down the middle"),
    "regular hexagon": (3, "counts only the lines through opposite corners"),
    "isosceles trapezium": (2, "takes the line across the middle for a line of symmetry too"),
    "right-angled triangle": (1, "thinks a fold through the right angle fits"),
    "regular octagon": (4, "counts only the lines through opposite corners"),
}


def lines_said(count):
    return "no line of symmetry" if count == 0 else plural(count, "line") + " of symmetry"


@family("geometry.symmetry-lines", TOPIC, ["N", "Q"], levels=(1, 2))
def symmetry_lines(rng, level, slots):
    if slots[0].kind == "Q" and level == 2:
        want = rng.choice([0, 1, 2])
        right = rng.choice([s for s, c in SHAPE_SYMMETRY.items() if c == want])
        wrong = rng.sample([s for s, c in SHAPE_SYMMETRY.items() if c != want], 3)

        def slip(shape):
            return (f"takes {_article(shape)} {shape} to have {lines_said(want)}; it folds onto "
                    f"itself {SYMMETRY_WHERE[shape]}")
        ask = (f"Which of these shapes has exactly {lines_said(want)}?" if want else
               "Which of these shapes has no line of symmetry?")
        part = choice(rng, right, [(s, slip(s)) for s in wrong], prompt=ask)
        steps = [Step("Picture each shape folding onto itself, and count the fold lines where "
                      "the two halves fit exactly.",
                      f"{_article(right).capitalize()} {right} folds onto itself "
                      f"{SYMMETRY_WHERE[right]}: {lines_said(want)}.")]
        return Question("", [part], solution=Solution(
            steps, [right], why=f"Only the {right} has {lines_said(want)}: it folds onto itself "
                                f"{SYMMETRY_WHERE[right]}."))
    name = rng.choice(list(SHAPE_SYMMETRY))
    key = SHAPE_SYMMETRY[name]
    turn_deg = rng.randrange(0, 360, 15)
    art = _article(name)
    # Turned to any of 24 positions: symmetry does not depend on how a
    # shape sits on the page.
    fig = Figure(_shape_svg(name, turn_deg), f"{art.capitalize()} {name}, drawn turned on the page.")
    ask = "How many lines of symmetry does this figure have?"
    text = p(f"The figure shows {art} {name}.")
    steps = [Step(f"A line of symmetry folds the shape onto itself, one half exactly over the "
                  f"other. {art.capitalize()} {name} folds onto itself {SYMMETRY_WHERE[name]}.",
                  f"{key} {'line' if key == 1 else 'lines'} of symmetry",
                  figure=Figure(_shape_svg(name, turn_deg, axes=True),
                                f"The {name} again with its {lines_said(key)} drawn dashed."
                                if key else f"The {name} again: it has no line of symmetry."))]
    if slots[0].kind == "N":
        return Question(text, [Part(key=num(key), prompt=ask)], [fig], solution=Solution(steps, [key]))
    pts = _shape_points(name)
    t = math.radians(turn_deg)
    turned = [(x * math.cos(t) - y * math.sin(t), x * math.sin(t) + y * math.cos(t)) for x, y in pts]
    upright = sum(1 for a in symmetry_axes(turned) if abs(a % 90) < 1e-6 or abs(a % 90 - 90) < 1e-6)
    wrong = [SYMMETRY_SLIPS[name],
             (upright, "looks only for fold lines running straight up or straight across the page"),
             (len(pts), "counts the sides instead of the lines of symmetry"),
             (2 * key, "counts each line twice, once at each end") if key else None,
             (1, "finds one fold line and stops looking") if key > 1 else None]
    picked = _pick(rng, key, [w for w in wrong if w])
    part = choice(rng, str(key), [(str(x), s) for x, s in picked], prompt=ask)
    return Question(text, [part], [fig], solution=Solution(
        steps, [str(key)], why=f"{art.capitalize()} {name} folds onto itself {SYMMETRY_WHERE[name]}."))


@family("geometry.symmetry-complete", TOPIC, ["N", "Q"], levels=(1, 2))
def symmetry_complete(rng, level, slots):
    rows, cols = 6, 8
    half = [(r, c) for r in range(rows) for c in range(cols // 2)]
    left = set(rng.sample(half, rng.randint(4, 6) if level == 1 else rng.randint(6, 9)))
    mirrored = [(r, cols - 1 - c) for r, c in left]
    # Some of the mirror image is already shaded.
    keep = set(rng.sample(mirrored, rng.randint(1, len(mirrored) - 2)))
    shaded = left | keep
    missing = symmetric_completion(shaded, cols)
    key = len(missing)
    cell = 30

    def grid(hatched=()):
        svg = Svg(cols * cell + 20, rows * cell + 20)
        for r in range(rows):
            for c in range(cols):
                fill = GREY if (r, c) in shaded else svg.hatch() if (r, c) in hatched else "#fff"
                svg.rect(10 + c * cell, 10 + r * cell, cell, cell, fill=fill, width=1)
        svg.line(10 + cols * cell / 2, 2, 10 + cols * cell / 2, rows * cell + 18, width=2.5,
                 dash="8,5")
        return svg.render()
    fig = Figure(grid(), f"A grid of squares, {cols} across and {rows} down, with a dashed line "
                 f"down the middle between columns {cols // 2} and {cols // 2 + 1}. The shaded "
                 f"squares, by rows from the top: {rows_said(shaded)}.")
    text = p("Some squares of the grid are shaded.")
    ask = ("What is the smallest number of squares that must be shaded so that the dashed line "
           "is a line of symmetry of the shaded figure?")
    L, K = len(left), len(keep)
    steps = [Step("Each shaded square needs its mirror image: the square in the same row, the "
                  "same number of squares away on the other side of the dashed line. Count the "
                  "shaded squares on each side.",
                  f"left of the line: {L}; right of the line: {K}"),
             Step(f"Each of the {K} on the right is the image of one on the left. Take them away "
                  "to find how many squares on the left have no image yet.",
                  f"{L} {MINUS} {K} = {key}",
                  figure=Figure(grid(missing), f"The grid again with the {key} squares still to "
                                "shade hatched, each the mirror image of a shaded square."))]
    if slots[0].kind == "N":
        return Question(text, [Part(key=num(key), prompt=ask, unit="squares")], [fig],
                        solution=Solution(steps, [key]))
    wrong = [(L, f"counts all {L} shaded squares on the left and forgets that {K} of their "
                 "images are already shaded"),
             (K, f"counts the {K} squares already shaded on the right, not the ones still "
                 "missing"),
             (L + K, "counts every shaded square in the grid")]
    picked = _pick(rng, key, wrong)
    part = choice(rng, str(key), [(str(x), s) for x, s in picked], prompt=ask)
    return Question(text, [part], [fig], solution=Solution(
        steps, [str(key)], why=f"{K} of the {L} shaded squares on the left already have their "
                               f"images on the right, so {L} {MINUS} {K} = {key} images are "
                               "still to shade."))


# ---------------------------------------------------------------- turns

SHORT = {"north": "N", "north-east": "NE", "east": "E", "south-east": "SE", "south": "S",
         "south-west": "SW", "west": "W", "north-west": "NW"}
ROSE = ("The eight points of the compass: N at the top, then NE, E, SE, S, SW, W and NW going "
        "round clockwise.")


def _rose(turns=()):
    """The compass rose; turns: (start, degrees, clockwise), each drawn as
    an arrow round the centre, the first innermost, on a larger rose."""
    size = 270 if turns else 200
    svg = Svg(size, size, font=14)
    c, r = size / 2, 62 * size / 200
    for i, dname in enumerate(DIRECTIONS):
        t = math.radians(90 - 45 * i)
        long_ = i % 2 == 0
        rr = r if long_ else r * 0.7
        svg.line(c, c, c + rr * math.cos(t), c - rr * math.sin(t), width=2 if long_ else 1.3)
        lr = rr + 18
        svg.text(c + lr * math.cos(t), c - lr * math.sin(t) + 5, SHORT[dname], bold=long_)
    for j, (start, degrees, clockwise) in enumerate(turns):
        radius = 34 + 20 * j
        t0 = 90 - 45 * DIRECTIONS.index(start)
        sign = -1 if clockwise else 1
        steps = max(8, degrees // 8)
        pts = [(c + radius * math.cos(math.radians(t0 + sign * degrees * s / steps)),
                c - radius * math.sin(math.radians(t0 + sign * degrees * s / steps)))
               for s in range(steps + 1)]
        svg.polyline(pts[:-1] + [_add(pts[-1], _unit(vec(pts[-1], pts[-2])), 8)], width=2.2)
        d = _unit(vec(pts[-2], pts[-1]))
        back = _add(pts[-1], d, -12)
        svg.polygon([pts[-1], _add(back, (-d[1], d[0]), 6), _add(back, (d[1], -d[0]), 6)],
                    fill="#000", width=1)
        # Where the turn starts: a dot on the starting direction.
        svg.circle(*pts[0], 3.5, fill="#000")
    svg.circle(c, c, 4, fill="#000")
    return svg.render()


def _turned(turns):
    """A compass figure with the turns of the working, and its text."""
    said = [f"{deg(degrees)} {'clockwise' if cw else 'anticlockwise'} from {start}"
            for start, degrees, cw in turns]
    return Figure(_rose(turns), "The compass again with an arrow round the centre for each turn: "
                                f"{listing(said)}.")


def _next_points(start, steps, clockwise):
    i = DIRECTIONS.index(start)
    d = 1 if clockwise else -1
    return [SHORT[DIRECTIONS[(i + d * j) % 8]] for j in range(1, steps + 1)]


def _count(start, end, clockwise, part=1):
    """The step counting a turn from one direction to another."""
    k = turn_between(start, end, clockwise) // 45
    sense = "clockwise" if clockwise else "anticlockwise"
    return Step(f"Each step from one compass point to the next is an eighth of a turn, "
                f"{deg(45)}. Going {sense} from {SHORT[start]} to {SHORT[end]} passes "
                f"{listing(_next_points(start, k, clockwise))}: {plural(k, 'step')}.",
                f"{k} {TIMES} {deg(45)} = {deg(45 * k)}", part=part)


def _move(who, start, degrees, clockwise, part=1):
    """The step finding where a turn of so many degrees ends."""
    k = degrees // 45
    sense = "clockwise" if clockwise else "anticlockwise"
    end = turn(start, degrees, clockwise)
    return Step(f"Each step from one compass point to the next is {deg(45)}. Count the steps in "
                f"{deg(degrees)} and go {sense} from {SHORT[start]}: "
                f"{listing(_next_points(start, k, clockwise))}.",
                f"{deg(degrees)} {DIV} {deg(45)} = {k} steps, so {who} faces {end}", part=part)


FRACTION_TURNS = {90: (1, 4), 180: (1, 2), 270: (3, 4)}


@family("geometry.compass", TOPIC, ["Q", "N", ("N", "N")], levels=(1, 2, 3))
def compass(rng, level, slots):
    who = names(rng, 1)[0]
    he = pronoun(who)
    He = he.capitalize()
    fig = Figure(_rose(), ROSE)
    facing = rng.choice(DIRECTIONS)
    sense = rng.choice(["clockwise", "anticlockwise"])
    cw = sense == "clockwise"
    other = "anticlockwise" if cw else "clockwise"
    if len(slots) == 2:
        if level == 2:
            end = rng.choice([x for x in DIRECTIONS if x != facing and turn_between(facing, x) != 180])
            a1 = turn_between(facing, end, True)
            first = _count(facing, end, True)
            first.figure = _turned([(facing, a1, True)])
            back = Step(f"Turning anticlockwise instead, the two turns together make a whole turn, "
                        f"{deg(360)}.", f"{minus(360, a1)} = {deg(360 - a1)}", part=2)
            text = p(f"{who} is facing {facing}. {He} wants to turn to face {end}.")
            return Question(text, [
                Part(key=num(a1), unit=DEG,
                     prompt=f"Through what angle must {he} turn if {he} turns clockwise?"),
                Part(key=num(360 - a1), unit=DEG,
                     prompt=f"Through what angle must {he} turn if {he} turns anticlockwise?")],
                [fig], solution=Solution([first, back], [a1, 360 - a1]))
        first = rng.choice([90, 135, 180, 225, 270])
        mid = turn(facing, first, cw)
        end = rng.choice([x for x in DIRECTIONS if x not in (facing, mid)])
        second = turn_between(mid, end, not cw)
        back = turn_between(end, facing, cw)
        steps = [_move(who, facing, first, cw), _count(mid, end, not cw),
                 _count(end, facing, cw, part=2)]
        steps[1].figure = _turned([(facing, first, cw), (mid, second, not cw)])
        text = p(f"{who} is facing {facing}. {He} turns {deg(first)} {sense}.",
                 f"Then {he} turns {other} until {he} faces {end}.")
        return Question(text, [
            Part(key=num(second), unit=DEG, prompt=f"Through what angle does {he} turn the second time?"),
            Part(key=num(back), unit=DEG,
                 prompt=f"Through what angle must {he} then turn {sense} to face {facing} again?")],
            [fig], solution=Solution(steps, [second, back]))
    if slots[0].kind == "N":
        if level == 3:
            first = rng.choice([90, 135, 180, 225])
            mid = turn(facing, first, cw)
            end = rng.choice([x for x in DIRECTIONS if x not in (facing, mid)])
            key = turn_between(mid, end, not cw)
            text = p(f"{who} is facing {facing}. {He} turns {deg(first)} {sense}.",
                     f"Then {he} turns {other} until {he} faces {end}.",
                     f"Through what angle does {he} turn the second time?")
            steps = [_move(who, facing, first, cw), _count(mid, end, not cw)]
            steps[-1].figure = _turned([(facing, first, cw), (mid, key, not cw)])
            return Question(text, [Part(key=num(key), unit=DEG)], [fig],
                            solution=Solution(steps, [key]))
        end = rng.choice([x for x in DIRECTIONS if x != facing])
        if level == 1:
            end = turn(facing, rng.choice([90, 180, 270]), cw)
        key = turn_between(facing, end, cw)
        text = p(f"{who} is facing {facing}. {He} turns {sense} until {he} faces {end}.",
                 f"Through what angle does {he} turn?")
        step = _count(facing, end, cw)
        step.figure = _turned([(facing, key, cw)])
        return Question(text, [Part(key=num(key), unit=DEG)], [fig], solution=Solution([step], [key]))
    if level == 1:
        amount = rng.choice([90, 180, 270, 45, 135])
        steps = []
        if amount in FRACTION_TURNS and rng.random() < 0.5:
            f = FRACTION_TURNS[amount]
            said = f"a {frac(*f)}-turn"
            steps.append(Step(f"A whole turn is {deg(360)}, so {said} is {frac(*f)} of {deg(360)}.",
                              f"{frac(*f)} {TIMES} {deg(360)} = {deg(amount)}"))
        else:
            said = deg(amount)
        key = turn(facing, amount, cw)
        steps.append(_move(who, facing, amount, cw))
        steps[-1].figure = _turned([(facing, amount, cw)])
        wrong = [(turn(facing, amount, not cw), f"turns {other} instead of {sense}"),
                 (turn(facing, amount + 45, cw), f"counts one step of {deg(45)} too many"),
                 (turn(facing, amount - 45, cw) if amount > 45 else None,
                  f"counts one step of {deg(45)} too few"),
                 (turn(facing, amount // 2, cw) if amount % 90 == 0 else None,
                  f"takes each step from one point to the next as {deg(90)}, not {deg(45)}"),
                 (turn(facing, amount + 45, not cw), f"turns {other} instead of {sense}, and one "
                                                     "step too far")]
        text = p(f"{who} is facing {facing}. {He} turns {said} {sense}.",
                 f"Which direction is {he} facing now?")
        why = f"Turning {said} {sense} from {facing} ends facing {key}."
    else:
        a1 = rng.choice([45, 90, 135, 180])
        a2 = rng.choice([90, 135, 225, 270, 45])
        mid = turn(facing, a1, cw)
        key = turn(mid, a2, not cw)
        steps = [_move(who, facing, a1, cw), _move(who, mid, a2, not cw)]
        steps[-1].figure = _turned([(facing, a1, cw), (mid, a2, not cw)])
        wrong = [(turn(mid, a2, cw), f"turns {sense} the second time too, instead of {other}"),
                 (turn(turn(facing, a1, not cw), a2, cw), "turns the wrong way both times"),
                 (mid, "forgets the second turn"),
                 (turn(mid, a2 + 45, not cw), f"counts one step of {deg(45)} too many in the "
                                              "second turn")]
        text = p(f"{who} is facing {facing}. {He} turns {deg(a1)} {sense} and then "
                 f"{deg(a2)} {other}.", f"Which direction is {he} facing now?")
        why = f"After the first turn {he} faces {mid}; turning {deg(a2)} {other} from there ends at {key}."
    picked = _pick(rng, key, wrong)
    return Question(text, [choice(rng, key, picked)], [fig], solution=Solution(steps, [key], why=why))


OCLOCK = "o'clock"


def _clock(hour, minute, arc=False):
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
    hour_at = 90 - (30 * (hour % 12) + minute / 2)
    minute_at = 90 - 6 * minute
    if arc:
        # The smaller angle between the hands, marked with an arc.
        a, b = sorted((hour_at % 360, minute_at % 360))
        if b - a > 180:
            a, b = b, a + 360
        pts = [(c + 20 * math.cos(math.radians(a + (b - a) * s / 24)),
                c - 20 * math.sin(math.radians(a + (b - a) * s / 24))) for s in range(25)]
        svg.polyline(pts, width=1.6)
    th, tm = math.radians(hour_at), math.radians(minute_at)
    svg.line(c, c, c + 32 * math.cos(th), c - 32 * math.sin(th), width=5)
    svg.line(c, c, c + 47 * math.cos(tm), c - 47 * math.sin(tm), width=3)
    svg.circle(c, c, 4, fill="#000")
    return svg.render()


@family("geometry.clock", TOPIC, ["N", "Q"], levels=(1, 2))
def clock(rng, level, slots):
    figs = []
    if level == 1 and rng.random() < 0.4:
        # The minute hand alone: a number of minutes, or from 12 to a number.
        if rng.random() < 0.5:
            minutes = rng.randrange(5, 56, 5)
            ask = (f"Through how many degrees does the minute hand of a clock turn in "
                   f"{unit(minutes, 'minutes')}?")
            key = minute_hand_turn(minutes)
            steps = [Step(f"The minute hand turns a whole turn, {deg(360)}, in {unit(60, 'minutes')}. Find "
                          "its turn in 1 minute.", f"{deg(360)} {DIV} 60 = {deg(6)}"),
                     Step(f"Then its turn in {unit(minutes, 'minutes')}.",
                          f"{minutes} {TIMES} {deg(6)} = {deg(key)}")]
            wrong = [(minutes, f"takes {deg(1)} for each minute"),
                     (5 * minutes, f"takes {deg(5)} for each minute, thinking of the {unit(5, 'minutes')} "
                                   "between numbers"),
                     (360 - key, "gives the turn still to go to reach 12 again"),
                     (30 * minutes, f"takes {deg(30)}, the turn from one number to the next, for "
                                    "each minute")]
        else:
            k = rng.randint(1, 11)
            minutes = 5 * k
            ask = (f"The minute hand of a clock turns clockwise from 12 to {k}. Through how many "
                   "degrees does it turn?")
            key = minute_hand_turn(minutes)
            steps = [Step(f"The 12 numbers share a whole turn, so from one number to the next is "
                          f"{deg(360)} {DIV} 12 = {deg(30)}. From 12 to {k} is "
                          f"{plural(k, 'number')} round.", f"{k} {TIMES} {deg(30)} = {deg(key)}")]
            wrong = [(6 * k, f"takes {deg(6)}, the minute hand's turn in one minute, for each "
                             "number"),
                     (360 - key, f"measures the other way round, from {k} back to 12"),
                     (30 * (k + 1), "counts the 12 as well as the numbers passed: one number "
                                    "too many"),
                     (5 * k, f"takes {deg(5)} for each number, thinking of the {unit(5, 'minutes')}")]
        why = f"The minute hand turns {deg(6)} a minute, {deg(30)} from one number to the next."
    elif level == 1:
        hour = rng.choice([1, 2, 3, 4, 5, 7, 8, 9, 10, 11])
        key = clock_angle(hour)
        figs = [Figure(_clock(hour, 0), f"A clock face with the hour hand pointing at {hour} and "
                                        "the minute hand pointing at 12.")]
        ask = f"The clock shows {nb(hour, OCLOCK)}. What is the smaller angle between its hands?"
        again = Figure(_clock(hour, 0, arc=True), "The clock again with the smaller angle between "
                                                  "its hands marked by an arc.")
        gap = min(hour, 12 - hour)
        steps = []
        if hour > 6:
            steps.append(Step(f"The smaller angle is the other way round, from {hour} on to 12.",
                              f"12 {MINUS} {hour} = {plural(gap, 'number')}"))
        steps.append(Step(f"The 12 numbers share a whole turn, so from one number to the next is "
                          f"{deg(360)} {DIV} 12 = {deg(30)}. The hands are "
                          f"{plural(gap, 'number')} apart.",
                          f"{gap} {TIMES} {deg(30)} = {deg(key)}", figure=again))
        wrong = [(360 - key, "gives the larger angle, the long way round"),
                 (6 * hour, f"takes {deg(6)}, the minute hand's turn in a minute, for each number"),
                 (key + 30, "counts the 12 as well: one number too many"),
                 (5 * hour, f"takes {deg(5)} for each number, thinking of the {unit(5, 'minutes')}")]
        why = f"The hands are {plural(gap, 'number')} apart, and each number is {deg(30)}."
    else:
        h = rng.randint(1, 10)
        if rng.random() < 0.5:
            m1 = rng.randrange(0, 30, 5)
            m2 = m1 + rng.randrange(10, 60 - m1, 5)
            gone = m2 - m1
            key = minute_hand_turn(gone)
            ask = (f"Through how many degrees does the minute hand of a clock turn from "
                   f"{h}.{m1:02d} to {h}.{m2:02d}?")
            steps = [Step(f"Find how long the hand turns for, from {h}.{m1:02d} to {h}.{m2:02d}.",
                          f"{m2} {MINUS} {m1} = {unit(gone, 'minutes')}"),
                     Step(f"The minute hand turns {deg(360)} in {unit(60, 'minutes')}, so {deg(6)} each "
                          "minute.", f"{gone} {TIMES} {deg(6)} = {deg(key)}")]
            wrong = [(gone, f"takes {deg(1)} for each minute"),
                     (5 * gone, f"takes {deg(5)} for each minute"),
                     (360 - key, "gives the turn still to go to the next hour"),
                     (minute_hand_turn(m2), f"measures from 12 to {unit(m2, 'minutes')} instead of from "
                                            f"{unit(m1, 'minutes')}")]
        else:
            hours = rng.randint(2, 6)
            key = hour_hand_turn(hours)
            h2 = (h + hours - 1) % 12 + 1
            ask = (f"Through how many degrees does the hour hand of a clock turn from "
                   f"{nb(h, OCLOCK)} to {nb(h2, OCLOCK)}?")
            steps = [Step(f"Count the hours from {nb(h, OCLOCK)} to {nb(h2, OCLOCK)}.",
                          unit(hours, "hours")),
                     Step(f"In each hour the hour hand moves from one number to the next, "
                          f"{deg(360)} {DIV} 12 = {deg(30)}.",
                          f"{hours} {TIMES} {deg(30)} = {deg(key)}")]
            wrong = [(6 * hours, f"takes {deg(6)}, the minute hand's turn in a minute, for each "
                                 "hour"),
                     (360 - key, "gives the turn the other way round"),
                     (30 * (hours + 1), "counts the numbers the hand touches, both ends: one "
                                        "too many"),
                     (45 * hours, f"takes {deg(45)} for each hour, as between compass points")]
        why = (f"The hand turns for {unit(gone, 'minutes')} at {deg(6)} a minute: "
               f"{gone} {TIMES} {deg(6)} = {deg(key)}." if steps[0].work.endswith("minutes") else
               f"The hour hand turns {deg(30)} an hour: {hours} {TIMES} {deg(30)} = {deg(key)}.")
    if slots[0].kind == "N":
        return Question(p(ask), [Part(key=num(key), unit=DEG)], figs, solution=Solution(steps, [key]))
    return Question(p(ask), [angle_choice(rng, key, wrong)], figs,
                    solution=Solution(steps, [deg(key)], why=why))
