"""Area and Perimeter: solvers against worked examples, pages and figures
that agree with their keys, choices whose wrong options are real slips,
and worked solutions: one per family written out and checked by hand, and
every family's over many draws kept to the course's rules."""

import html as htmllib
import random
import re
import unittest
from fractions import Fraction

from coursegen import plan
from coursegen.build import BuildError, build_topic, check, check_solution, plain, render_solution
from coursegen.families import REGISTRY
from coursegen.topics import area_perimeter as ap
from coursegen.topics import load_all

from .markup import stacked
from .test_figures import figure_problems
from .test_solutions import breakable_joins

load_all()
SEEDS = 30
NUMBER = re.compile(r"\d+(?:\.\d+)?")


def make(name, kinds, level, seed):
    """A question of the family, or None when it turns the draw down."""
    slots = tuple(plan.Slot(k, 1) for k in kinds)
    try:
        return REGISTRY[name].make(random.Random(seed), level, slots)
    except ValueError:
        return None


def worked(q, kinds):
    """A worked solution as a pupil reads it, a line a paragraph: fractions
    written a/b, no-break spaces as spaces, each figure as its alt text."""
    html, _ = render_solution(20011, q, tuple(plan.Slot(k, 1) for k in kinds))
    html = stacked(html)
    html = re.sub(r'<span class="frac"><span class="num">([^<]*)</span><span class="den">([^<]*)</span></span>',
                  r"\1/\2", html)
    html = re.sub(r'<img [^>]*alt="([^"]*)"/>', r"[figure: \1]", html)
    html = re.sub(r"</?(?:p|li|div|ol|ul|br)\b[^>]*>", "\n", html)
    text = htmllib.unescape(re.sub(r"<[^>]+>", "", html)).replace("\u00a0", " ")
    return "\n".join(line.strip() for line in text.split("\n") if line.strip())


def joins(html):
    """Breakable spaces inside joined forms. The builder sets an ordinary
    space between a final answer and its unit (render_solution): that one
    is the builder's to join, not a family's, and is left to it."""
    return breakable_joins(html.replace('</span> <span class="unit">', '</span>\u00a0<span class="unit">'))


def compare_by_hand(test, cases, topic):
    """Each (family, kinds, level, seed, text) solution reads word for word
    as written; together the cases take in every family of the topic."""
    for name, kinds, level, seed, text in cases:
        with test.subTest(name=name, seed=seed):
            test.assertEqual(worked(make(name, kinds, level, seed), kinds), text)
    test.assertEqual({name for name, *_ in cases},
                     {name for name, fam in REGISTRY.items() if fam.topic == topic})


def label_numbers(svg):
    return {x for t in re.findall(r">([^<]*)</text>", svg) for x in NUMBER.findall(t.replace(",", ""))}


# A step that names a part, a line or a shading points at a figure that draws it.
PART_NAME = re.compile(r"\b(?:rectangles?|cuboid|semicircle|bar|stem|ends|Figure) ([ABCD])\b"
                       r"|(?<![\w'])([ABC])(?= is\b| and\b| are\b|,|\.)")
DRAWN_AS = {"dashed": "stroke-dasharray", "grey": "#b8b8b8", "hatched": "url(#hatch)"}


def solution_faults(topic, counting=()):
    """What is wrong with any family's worked solutions of the topic, over
    every pattern and level it claims and SEEDS draws: a broken rule of the
    build, a joined form that can break on the question or the solution
    page, a solution figure that does not fit its frame, an alt text that
    leaves out a labelled length or (but for the families in counting,
    whose alt texts count squares or parts) says a number no label shows,
    and a step that names a part, a dashed line or a shading no figure
    shown so far draws."""
    faults = []
    for name, fam in REGISTRY.items():
        if fam.topic != topic:
            continue
        for kinds in fam.kinds:
            for level in fam.levels:
                slots = tuple(plan.Slot(k, 1) for k in kinds)
                qp = plan.QuestionPlan(plan.papers_of(topic)[0], 1, 20011, level, slots)
                for seed in range(SEEDS):
                    where = f"{name} {''.join(kinds)} level {level} seed {seed}"
                    q = make(name, kinds, level, seed)
                    if q is None:
                        continue
                    page, _ = check(q, qp, name)
                    try:
                        html, _ = check_solution(q, qp, name)
                    except BuildError as e:
                        faults.append(f"{where}: {e}")
                        continue
                    faults += [f"{where}: breaks {j!r}" for j in joins(page) + joins(html)]
                    shown = [f.svg for f in q.figures]
                    figures = list(q.figures)
                    for step in q.solution.steps:
                        if step.figure is not None:
                            shown.append(step.figure.svg)
                            figures.append(step.figure)
                            faults += [f"{where}: {p}" for p in figure_problems(step.figure.svg)]
                        for m in PART_NAME.finditer(step.say):
                            letter = m[1] or m[2]
                            if not any(re.search(rf">(?:Figure )?{letter}</text>", svg) for svg in shown):
                                faults.append(f"{where}: names {letter}, which no figure draws")
                        for word, mark in DRAWN_AS.items():
                            if word in step.say and not any(mark in svg for svg in shown):
                                faults.append(f"{where}: speaks of something {word} that no figure draws")
                    for fig in figures:
                        said, drawn = set(NUMBER.findall(fig.alt.replace(",", ""))), label_numbers(fig.svg)
                        if drawn - said:
                            faults.append(f"{where}: the alt text leaves out {sorted(drawn - said)}: {fig.alt}")
                        if name not in counting and said - drawn:
                            faults.append(f"{where}: the alt text says {sorted(said - drawn)}, not drawn: {fig.alt}")
    return faults


class WorkedExamples(unittest.TestCase):
    def test_rectilinear_figures(self):
        cases = [
            # 12 by 10 with a 4 by 3 corner cut: 120 - 12 = 108; the sides
            # still add up to 2 x (12 + 10) = 44.
            ("L", ap.l_shape(12, 10, 4, 3), 108, 44),
            # Bar 10 x 3 = 30, stem 4 x 6 = 24: 54; 10 + 10 + 3 + 3 + 6 + 6 = 38.
            ("T", ap.t_shape(10, 3, 4, 6, 2), 54, 38),
            # 12 x 8 = 96 less the 4 x 5 gap = 76; 24 + 16 + 5 + 5 = 50.
            ("U", ap.u_shape(12, 8, 4, 5, 3), 76, 50),
            # Columns 3 x 9 + 4 x 6 + 5 x 2 = 27 + 24 + 10 = 61; 2 x (12 + 9) = 42.
            ("steps", ap.step_shape([3, 4, 5], [9, 6, 2]), 61, 42),
        ]
        for name, pts, area, perimeter in cases:
            with self.subTest(name):
                self.assertEqual(ap.polygon_area(pts), area)
                self.assertEqual(ap.polygon_perimeter(pts), perimeter)

    def test_impossible_figures_refused(self):
        with self.assertRaises(ValueError):
            ap.l_shape(10, 8, 10, 3)          # the notch takes the whole width
        with self.assertRaises(ValueError):
            ap.step_shape([3, 3], [4, 6])     # a step going up
        with self.assertRaises(ValueError):
            ap.polygon_perimeter([(0, 0), (4, 3), (0, 3)])   # a slanting side

    def test_triangles_and_paths(self):
        self.assertEqual(ap.triangle_area(9, 6), 27)                # 9 x 6 / 2
        self.assertEqual(ap.triangle_area(7, 5), Fraction(35, 2))   # 17.5
        # Outer 16 x 12 = 192 less the 12 x 8 = 96 garden: 96.
        self.assertEqual(ap.path_around(12, 8, 2), 96)
        # 10 x 8 = 80 less the carpet 8 x 6 = 48: 32.
        self.assertEqual(ap.path_inside(10, 8, 1), 32)
        # 2 x 20 + 2 x 12 less the 2 x 2 crossing counted twice: 60.
        self.assertEqual(ap.crossing_paths(20, 12, 2), 60)
        with self.assertRaises(ValueError):
            ap.path_inside(6, 4, 2)

    def test_circles_under_the_stated_pi(self):
        self.assertEqual(ap.circumference(ap.PI_7, 14), 44)           # 22/7 x 14
        self.assertEqual(ap.circle_area(ap.PI_7, 7), 154)             # 22/7 x 49
        self.assertEqual(ap.circle_area(ap.PI_314, 10), 314)
        self.assertEqual(ap.semicircle_perimeter(ap.PI_7, 14), 36)    # 22 + 14
        self.assertEqual(ap.semicircle_perimeter(ap.PI_314, 10), Fraction("25.7"))   # 15.7 + 10
        self.assertEqual(ap.quarter_perimeter(ap.PI_7, 14), 50)       # 88 / 4 + 28
        # Window 14 wide, 10 high: sides 10 + 10 + 14, arc 22; area 140 + 154 / 2.
        self.assertEqual(ap.arch_window(ap.PI_7, 14, 10), (56, 217))
        # Track: straights 2 x 20, ends one circle of 31.4; 20 x 10 + 78.5.
        self.assertEqual(ap.running_track(ap.PI_314, 20, 10), (Fraction("71.4"), Fraction("278.5")))

    def test_tiles_and_grids(self):
        self.assertEqual(ap.tiles_needed(440, 320, 20), 352)          # 22 x 16
        with self.assertRaises(ValueError):
            ap.tiles_needed(250, 200, 30)
        # Three squares in an L: 3 squares, 8 unit sides round them.
        self.assertEqual(ap.grid_area_perimeter({(0, 0), (1, 0), (0, 1)}), (3, 8))
        self.assertEqual(ap.grid_area_perimeter({(0, 0), (1, 0), (0, 1), (1, 1)}), (4, 8))
        self.assertEqual(ap.grid_area_perimeter({(c, 0) for c in range(5)}), (5, 12))


class Choices(unittest.TestCase):
    def test_rectangle_options_are_one_right_pair_and_three_real_slips(self):
        # What each slip works out: the wrong pair must give the value under it.
        slips = {"area": lambda l, b: l * b, "once": lambda l, b: l + b,
                 "three": lambda l, b: {2 * l + b, l + 2 * b}, "perimeter": lambda l, b: 2 * (l + b),
                 "halved": lambda l, b: Fraction(l * b, 2), "added": lambda l, b: l + b}
        for by, values in [("perimeter", [20, 24, 28, 30, 32, 36, 40]),
                           ("area", [24, 30, 36, 40, 42, 48, 56, 60, 72])]:
            fits = (lambda pr: 2 * (pr[0] + pr[1]) == value) if by == "perimeter" else (
                lambda pr: pr[0] * pr[1] == value)
            for value in values:
                for seed in range(10):
                    right, wrong = ap.rectangle_options(random.Random(seed), value, by)
                    with self.subTest(by=by, value=value, seed=seed):
                        self.assertTrue(fits(right))
                        self.assertEqual(len({right, *(pr for pr, _ in wrong)}), 4)
                        for pr, slip in wrong:
                            self.assertFalse(fits(pr))
                            got = slips[slip](*pr)
                            self.assertIn(value, got if isinstance(got, set) else {got})

    def test_triangle_options_are_one_right_pair_and_three_real_slips(self):
        slips = {"whole": lambda b, h, a: b * h == a, "halved": lambda b, h, a: 2 * b * h == a,
                 "added": lambda b, h, a: b + h == a}
        for area in [12, 18, 20, 24, 30, 36, 40]:
            for seed in range(10):
                right, wrong = ap.triangle_options(random.Random(seed), area)
                self.assertEqual(ap.triangle_area(*right), area)
                self.assertEqual({slip for _, slip in wrong}, set(slips))
                for pr, slip in wrong:
                    self.assertNotEqual(ap.triangle_area(*pr), area)
                    self.assertTrue(slips[slip](*pr, area), (pr, slip))

    def test_greatest_area_is_worked_out_not_seen(self):
        shapes = {
            r"square of side (\d+)": lambda a: a[0] ** 2,
            r"rectangle (\d+) cm by (\d+)": lambda a: a[0] * a[1],
            r"triangle with base (\d+) cm and height (\d+)": lambda a: Fraction(a[0] * a[1], 2),
            r"bottom side (\d+) cm, left side (\d+) cm, top side (\d+) cm and right side (\d+)":
                lambda a: a[0] * a[1] - (a[0] - a[2]) * (a[1] - a[3]),
        }
        checked = 0
        for level in (1, 2, 3):
            for seed in range(40):
                q = make("area.greatest", ["Q"], level, seed)
                if q is None:
                    continue
                areas = {}
                for letter, item in re.findall(r"Figure ([ABCD]), ([^;]+)", q.figures[0].alt):
                    for pattern, area in shapes.items():
                        m = re.search(pattern, item)
                        if m:
                            areas[letter] = area([int(g) for g in m.groups()])
                self.assertEqual(len(areas), 4, q.figures[0].alt)
                part = q.parts[0]
                chosen = part.options[int(part.key) - 1][-1]
                greatest = "greatest" in part.prompt
                ranked = sorted(areas.values(), reverse=greatest)
                self.assertEqual(areas[chosen], ranked[0])
                # The answer is within a quarter of the next best: too close to judge by eye.
                self.assertLessEqual(max(ranked[:2]), Fraction(5, 4) * min(ranked[:2]))
                checked += 1
        self.assertGreater(checked, 100)


class PagesAgreeWithKeys(unittest.TestCase):
    def test_composite_labels_are_the_lengths_of_their_sides(self):
        for level in (2, 3):
            for seed in range(200):
                pts, labels, shape, _ = ap._composite(random.Random(seed), level)
                for i, value in labels.items():
                    (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % len(pts)]
                    with self.subTest(shape=shape, seed=seed, side=i):
                        self.assertEqual(abs(x2 - x1) + abs(y2 - y1), value)

    def test_rectangle_keys_from_the_drawn_sides(self):
        for seed in range(60):
            q = make("area.rectangle", ["N"], 1, seed)
            labels = [int(v) for v in re.findall(r">(\d+) c?m<", q.figures[0].svg)]
            side = labels[0] if len(labels) == 1 else None
            if "square" in q.text:
                want = side * side if "area" in q.text else 4 * side
            else:
                l, b = labels
                want = l * b if "area" in q.text else 2 * (l + b)
            self.assertEqual(q.parts[0].key, str(want), q.text)

    def test_triangle_keys_from_the_page(self):
        for level in (1, 2, 3):
            for seed in range(40):
                q = make("area.triangle", ["N"], level, seed)
                if q is None or "rectangle" in q.text:
                    continue
                svg = q.figures[0].svg
                texts = re.findall(r">([^<]+)</text>", svg)
                given = re.search(r"area of the triangle is ([\d.]+)", q.text)
                if given:
                    known = [Fraction(t.split()[0]) for t in texts if t != "?"]
                    self.assertEqual(Fraction(q.parts[0].key), 2 * Fraction(given[1]) / known[0])
                else:
                    base, height = (Fraction(t.split()[0]) for t in texts)
                    self.assertEqual(Fraction(q.parts[0].key), base * height / 2)

    def test_semicircle_and_quarter_keys_from_the_figure(self):
        asked = set()
        for seed in range(60):
            q = make("area.semicircle", ["N"], 2, seed)
            words = plain(q.text)
            pi = Fraction("3.14") if "3.14" in words else Fraction(22, 7)
            sizes = {int(t) for t in re.findall(r">(\d+) cm</text>", q.figures[0].svg)}
            self.assertEqual(len(sizes), 1)          # the one length the figure shows
            size = sizes.pop()
            if "quarter circle" in words:            # the radius, on both straight edges
                arc = pi * 2 * size / 4
                area, perimeter = pi * size * size / 4, arc + 2 * size
                curved = None
            else:                                    # the diameter
                arc = pi * size / 2
                area, perimeter, curved = pi * size * size / 8, arc + size, arc
            want = area if "area" in words else curved if "curved" in words else perimeter
            self.assertEqual(Fraction(q.parts[0].key), want, words)
            asked.add((words.split()[4], words.split()[-1]))
        self.assertEqual(len(asked), 5)

    def test_circle_pages_state_pi_when_the_key_needs_it(self):
        for name in ("area.circle", "area.semicircle"):
            fam = REGISTRY[name]
            for kinds in fam.kinds:
                for level in fam.levels:
                    for seed in range(30):
                        q = make(name, kinds, level, seed)
                        if q is None or "radius of the circle is shown" in q.text \
                                or "diameter of the circle is shown" in q.text:
                            continue
                        words = q.text + "".join(p.prompt for p in q.parts)
                        self.assertIn("Take \u03c0 =", words)


    def test_grid_figures_read_back_from_their_alt_text(self):
        # A pupil who cannot see the grid rebuilds the figure from its alt text.
        for seed in range(60):
            q = make("area.grid", ["N"], 1, seed)
            cells = set()
            for row, squares in re.findall(r"row (\d+): squares? ([\d, toand]+?)(?:;|\.$)", q.figures[0].alt):
                for item in re.split(r", | and ", squares):
                    lo, _, hi = item.partition(" to ")
                    cells |= {(c, int(row)) for c in range(int(lo), int(hi or lo) + 1)}
            area, perimeter = ap.grid_area_perimeter(cells)
            self.assertIn(q.parts[0].key, (str(area), str(perimeter)))
            self.assertEqual(q.parts[0].key, str(area if q.parts[0].unit == "cm\u00b2" else perimeter),
                             q.figures[0].alt)

    def test_composite_figures_read_back_from_their_alt_text(self):
        for level in (2, 3):
            for seed in range(80):
                pts, labels, shape, _ = ap._composite(random.Random(seed), level)
                alt = ap.composite_alt(shape, labels, "cm")
                for i, value in labels.items():
                    self.assertIn(f"{ap.SIDE_NAMES[shape][i]} {value} cm", alt)


class WorkedSolutions(unittest.TestCase):
    # One draw of every family (and of each kind of composite figure),
    # its whole solution worked through by hand.
    BY_HAND = [
    ("area.rectangle", "N", 2, 1, """\
Write the length in centimetres too: 1 m = 100 cm.
2 m = 2 × 100 = 200 cm
The area is length × breadth, both in centimetres.
200 × 50 = 10,000 cm²
Answer: 10000 cm²"""),
    ("area.rectangle", "Q", 2, 0, """\
The area of a rectangle is length × breadth. Work it out for each option.
(1) 24 × 2 = 48 m²
(2) 8 × 3 = 24 m²
(3) 7 × 5 = 35 m²
(4) 18 × 6 = 108 m²
Only option (2) gives an area of 24 m².
Answer: (2) 8 m by 3 m
Why not the other options:
(1) 24 m by 2 m: halves length × breadth, as for a triangle: 24 × 2 ÷ 2 = 24
(3) 7 m by 5 m: works out the perimeter instead: 2 × (7 + 5) = 24
(4) 18 m by 6 m: adds the length and the breadth instead of multiplying them: 18 + 6 = 24"""),
    ("area.missing-side", "N", 3, 2, """\
The wire makes the perimeter of the rectangle. Half of it is one length and one breadth.
30 ÷ 2 = 15 cm
The length is 2 units and the breadth is 1 unit, so one length and one breadth are 3 units. Find 1 unit.
15 ÷ 3 = 5 cm
[figure: A bar model: the length is a bar of 2 equal units, the breadth a bar of 1 unit; together they make \
15 cm]
The breadth is 1 unit, 5 cm. The length is 2 units.
2 × 5 = 10 cm
The area is length × breadth.
10 × 5 = 50 cm²
Answer: 50 cm²"""),
    ("area.composite", "N", 3, 3, """\
The right side, the height of the lowest step, is the left side less the two drops.
13 − 4 − 4 = 5 cm
Split the figure with level dashed lines into three rectangles, A, B and C. A, at the top, is 7 cm by 4 cm.
7 × 4 = 28 cm²
[figure: The figure split by two level dashed lines into three rectangles: A at the top, 7 cm wide and 4 cm \
high; B below it, as wide as the first two steps and 4 cm high; C at the bottom, as wide as all three steps \
and 5 cm high. Its labelled sides: the top of the first step 7 cm, the first drop 4 cm, the top of the \
second step 4 cm, the second drop 4 cm, the top of the third step 5 cm, the right side 5 cm and the left \
side 13 cm.]
B is as wide as the first two steps, and 4 cm high.
(7 + 4) × 4 = 11 × 4 = 44 cm²
C, at the bottom, is as wide as all three steps, and 5 cm high.
(7 + 4 + 5) × 5 = 16 × 5 = 80 cm²
Add the areas of A, B and C.
28 + 44 + 80 = 152 cm²
Answer: 152 cm²"""),
    ("area.composite", "N", 3, 4, """\
Split the figure with a dashed line into the bar A across the top and the stem B below it. A is 13 cm by 6 cm.
13 × 6 = 78 cm²
[figure: The T-shaped figure split by a dashed line into the bar A, 13 cm by 6 cm, and the stem B, 6 cm by 7 \
cm. Its labelled sides: the top side 13 cm, the right side of the stem 7 cm, the bottom of the stem 6 cm and \
the left end of the bar 6 cm.]
B is 6 cm by 7 cm.
6 × 7 = 42 cm²
Add the areas of A and B.
78 + 42 = 120 cm²
Answer: 120 cm²"""),
    ("area.composite", "N", 2, 0, """\
The top side and the level side at the cut-away corner together are as long as the bottom side.
top side = 16 − 7 = 9 m
The right side and the upright side at the cut-away corner together are as long as the left side.
right side = 8 − 5 = 3 m
[figure: The L-shaped figure again. Its labelled sides: the top side 9 m, the upright side at the cut-away \
corner 5 m, the level side at the cut-away corner 7 m, the right side 3 m, the bottom side 16 m and the left \
side 8 m.]
Add all six sides to find the perimeter.
9 + 5 + 7 + 3 + 16 + 8 = 48 m
Answer: 48 m"""),
    ("area.composite", "NN", 3, 2, """\
(a)
The level side at the cut-away corner is as long as the bottom side less the top side.
11 − 7 = 4 cm
Split the figure with a dashed line into two rectangles, A and B. A is 7 cm by 13 cm.
7 × 13 = 91 cm²
[figure: The L-shaped figure split by a dashed line into rectangle A, 7 cm wide and 13 cm high, on the left \
and rectangle B, 4 cm wide and 6 cm high, on the right. Its labelled sides: the top side 7 cm, the upright \
side at the cut-away corner 7 cm, the level side at the cut-away corner 4 cm, the right side 6 cm, the \
bottom side 11 cm and the left side 13 cm.]
B is 4 cm by 6 cm.
4 × 6 = 24 cm²
Add the areas of A and B.
91 + 24 = 115 cm²
Answer (a): 115 cm²
(b)
The upright side at the cut-away corner is as long as the left side less the right side.
13 − 6 = 7 cm
Add all six sides to find the perimeter.
7 + 7 + 4 + 6 + 11 + 13 = 48 cm
Answer (b): 48 cm"""),
    ("area.triangle-choice", "Q", 1, 0, """\
The area of a triangle is 1/2 × base × height. Work it out for each option.
(1) 1/2 × 10 × 8 = 40 m²
(2) 1/2 × 5 × 4 = 10 m²
(3) 1/2 × 4 × 10 = 20 m²
(4) 1/2 × 35 × 5 = 87.5 m²
Only option (1) gives an area of 40 m².
Answer: (1) base 10 m, height 8 m
Why not the other options:
(2) base 5 m, height 4 m: halves the area instead of doubling it, so looks for base × height = 20, and 5 × 4 \
= 20
(3) base 4 m, height 10 m: forgets to halve: 4 × 10 = 40
(4) base 35 m, height 5 m: adds the base and the height instead of multiplying them: 35 + 5 = 40"""),
    ("area.triangle", "N", 3, 0, """\
The area is 1/2 × base × height, so base × height is twice the area.
2 × 22 = 44
Divide by the base to find the height.
44 ÷ 11 = 4 m
Answer: 4 m"""),
    ("area.shaded", "N", 3, 1, """\
Find the area of the rectangle, length × breadth.
11 × 10 = 110 cm²
Draw a dashed line across the rectangle through the point where the tips meet. It cuts the rectangle into \
two smaller rectangles, and each white triangle has the same base and height as the rectangle it stands in, \
so it is half of it. The two white triangles together are half of the whole rectangle.
1/2 × 11 × 10 = 55 cm²
[figure: The rectangle, 11 cm by 10 cm, with a dashed line across it through the point where the tips of the \
white triangles meet]
The shaded part is the rectangle less the white part.
110 − 55 = 55 cm²
Answer: 55 cm²"""),
    ("area.path", "NN", 3, 2, """\
(a)
The path along the field is 2 m wide and as long as the field.
2 × 12 = 24 m²
The path across the field is 2 m wide and as long as the field is wide.
2 × 10 = 20 m²
The square where the paths cross, drawn grey, is part of both paths, so it has been counted twice. Find its \
area.
2 × 2 = 4 m²
[figure: The field, 12 m by 10 m, with the two paths 2 m wide; the square where they cross, 2 m by 2 m, is grey]
Add the two paths and take the square away once.
24 + 20 − 4 = 40 m²
Answer (a): 40 m²
(b)
Each square metre costs $8. Multiply the area by the cost of one square metre.
40 × $8 = $320
Answer (b): $320"""),
    ("area.grid", "N", 1, 1, """\
Each side of a square is 1 cm long. Count the sides of squares along the outline: the level ones along the \
top and bottom edges, then the upright ones along the left and right edges.
6 + 8 = 14 sides, so the perimeter is 14 cm
Answer: 14 cm"""),
    ("area.circle-choice", "Q", 2, 0, """\
The diameter is twice the radius.
2 × 10 = 20 cm
The circumference is π × diameter.
3.14 × 20 = 62.8 cm
The circumference is 62.8 cm.
Answer: (4) 62.8 cm
Why not the other options:
(1) 60 cm: takes 3 for π, so works out 3 × 20 = 60
(2) 314 cm: works out the area, 3.14 × 10 × 10 = 314, not the circumference
(3) 31.4 cm: uses the radius in place of the diameter: 3.14 × 10 = 31.4"""),
    ("area.circle", "N", 3, 2, """\
The circumference is π × diameter, so work backwards: the diameter is the circumference divided by π.
diameter = 44 ÷ 22/7
Dividing by 22/7 is the same as multiplying by 7/22.
44 × 7/22 = 14 cm
The radius is half the diameter.
14 ÷ 2 = 7 cm
The area of a circle is π × radius × radius.
22/7 × 7 × 7 = 154 cm²
Answer: 154 cm²"""),
    ("area.semicircle", "NN", 3, 2, """\
(a)
The curved top is half the circumference of a circle of diameter 14 cm.
1/2 × 22/7 × 14 = 22 cm
The straight edges are the two sides and the bottom. The dashed line is inside the window, so it is not part \
of the perimeter.
18 + 18 + 14 = 50 cm
Add the curved top and the straight edges.
22 + 50 = 72 cm
Answer (a): 72 cm
(b)
Split the window along the dashed line into rectangle A and semicircle B. A is 14 cm by 18 cm.
14 × 18 = 252 cm²
[figure: The window split along the dashed line into rectangle A, 14 cm by 18 cm, and semicircle B on top, \
with a radius of 7 cm drawn]
B is half a circle with radius 14 ÷ 2 = 7 cm. Its area is 1/2 × π × radius × radius.
1/2 × 22/7 × 7 × 7 = 77 cm²
Add the areas of A and B.
252 + 77 = 329 cm²
Answer (b): 329 cm²"""),
    ("area.greatest", "Q", 3, 0, """\
The area of a rectangle is length × breadth (side × side for a square). Work out the area of Figure D.
Figure D: 10 × 6 = 60 cm²
The area of a triangle is 1/2 × base × height. Work out the area of Figure A.
Figure A: 1/2 × 14 × 10 = 70 cm²
Figure B is a rectangle 12 cm by 6 cm with a corner cut away. The corner is as wide as the bottom less the \
top, and as deep as the left side less the right side. Take the corner's area from the whole rectangle's.
Figure B: 12 × 6 − (12 − 4) × (6 − 3) = 72 − 24 = 48 cm²
Figure C is a rectangle 9 cm by 8 cm with a corner cut away. The corner is as wide as the bottom less the \
top, and as deep as the left side less the right side. Take the corner's area from the whole rectangle's.
Figure C: 9 × 8 − (9 − 5) × (8 − 6) = 72 − 8 = 64 cm²
Figure B has the smallest area, 48 cm².
Answer: (4) Figure B
Why not the other options:
(1) Figure D: works out perimeters instead of areas: its perimeter, 32 cm, is the smallest of the figures \
whose sides are all given, but its area is 60 cm²
(2) Figure C: is chosen by how small it looks, but its area is 64 cm², more than 48 cm²
(3) Figure A: is chosen by how small it looks, but its area is 70 cm², more than 48 cm²"""),
    ("area.tiles", "N", 3, 0, """\
The tiles are measured in centimetres, so change the lengths to centimetres: 1 m = 100 cm.
2.8 m = 280 cm; 2 m = 200 cm
Find how many tiles fit along each side.
along the length: 280 ÷ 40 = 7; along the width: 200 ÷ 40 = 5
The tiles make rows and columns: multiply.
7 × 5 = 35 tiles
The tiles come in boxes of 25. 1 box is not enough, so one more box is needed for the 10 tiles left over.
35 ÷ 25 = 1 remainder 10, so 1 + 1 = 2 boxes
Answer: 2 boxes"""),

    ]

    def test_solutions_written_out_by_hand(self):
        compare_by_hand(self, self.BY_HAND, 4)

    def test_every_family_over_many_draws(self):
        faults = solution_faults(4, counting={"area.grid", "area.missing-side"})
        self.assertEqual(faults, [], "\n" + "\n".join(faults[:40]))

    def test_composite_working_agrees_with_the_figure_it_splits(self):
        # The working adds up what the split shows; the key comes from the
        # figure's corners (polygon_area), so the two agree only if the split is right.
        for level in (2, 3):
            for seed in range(120):
                pts, labels, shape, dims = ap._composite(random.Random(seed), level)
                steps, answers = ap.composite_solution(shape, dims, "cm", ["area", "perimeter"])
                self.assertEqual(answers, [ap.polygon_area(pts), ap.polygon_perimeter(pts)], shape)
                self.assertLessEqual(sum(1 for s in steps if s.part == 1), 6)


class TopicBuilds(unittest.TestCase):
    def test_every_planned_question_has_a_family_of_the_topic(self):
        papers = build_topic(4)
        families = {q.family for paper in papers for q in paper.questions}
        self.assertFalse(any(f.startswith("placeholder") for f in families))
        self.assertGreaterEqual(len(families), 10)
        for paper, key in zip(papers, plan.papers_of(4)):
            planned = plan.paper_plan(key)
            self.assertEqual([len(q.slots) for q in paper.questions], [len(q.slots) for q in planned])
            # The heading is the packer's, so questions differ by text or picture.
            pages = [(plain(q.html), tuple(q.figures.values())) for q in paper.questions]
            self.assertEqual(len(set(pages)), len(pages))

    def test_every_family_passes_the_build_checks_at_every_fit(self):
        made = set()
        for fam in (f for f in REGISTRY.values() if f.topic == 4):
            for kinds in fam.kinds:
                for level in fam.levels:
                    qp = plan.QuestionPlan(116, 1, 20011, level, tuple(plan.Slot(k, 1) for k in kinds))
                    for seed in range(25):
                        q = make(fam.name, kinds, level, seed)
                        if q is not None:
                            check(q, qp, fam.name)
                            made.add((kinds, level))
        asked = {(q.kinds, q.level) for key in plan.papers_of(4) for q in plan.paper_plan(key)}
        self.assertLessEqual(asked, made)

if __name__ == "__main__":
    unittest.main()
