"""Area and Perimeter: solvers against worked examples, and families whose
pages must agree with their keys."""

import random
import re
import unittest
from fractions import Fraction

from coursegen import plan
from coursegen.build import build_topic, check, plain
from coursegen.families import REGISTRY
from coursegen.topics import area_perimeter as ap
from coursegen.topics import load_all

load_all()


def make(name, kinds, level, seed):
    """A question of the family, or None when it turns the draw down."""
    slots = tuple(plan.Slot(k, 1) for k in kinds)
    try:
        return REGISTRY[name].make(random.Random(seed), level, slots)
    except ValueError:
        return None


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
    def test_rectangle_options_have_one_right_pair(self):
        for by, values in [("perimeter", [20, 24, 28, 30, 32, 36, 40]),
                           ("area", [24, 30, 36, 40, 42, 48, 56, 60, 72])]:
            for value in values:
                for seed in range(10):
                    right, wrong = ap.rectangle_options(random.Random(seed), value, by)
                    fits = (lambda pr: 2 * (pr[0] + pr[1]) == value) if by == "perimeter" else (
                        lambda pr: pr[0] * pr[1] == value)
                    with self.subTest(by=by, value=value, seed=seed):
                        self.assertTrue(fits(right))
                        self.assertEqual(len({right, *wrong}), 4)
                        self.assertFalse(any(fits(w) for w in wrong))

    def test_greatest_area_key_is_the_greatest_figure(self):
        shapes = {
            "square of side (\\d+)": lambda a: a[0] ** 2,
            "rectangle (\\d+) cm by (\\d+)": lambda a: a[0] * a[1],
            "triangle with base (\\d+) cm and height (\\d+)": lambda a: Fraction(a[0] * a[1], 2),
            "L-shaped figure with sides (\\d+), (\\d+), (\\d+) and (\\d+)":
                lambda a: a[0] * a[1] - (a[0] - a[2]) * (a[1] - a[3]),
        }
        checked = 0
        for level in (1, 2, 3):
            for seed in range(40):
                q = make("area.greatest", ["Q"], level, seed)
                if q is None:
                    continue
                areas = {}
                for item in q.figures[0].alt.split("; "):
                    letter = item[7]
                    for pattern, area in shapes.items():
                        m = re.search(pattern, item)
                        if m:
                            areas[letter] = area([int(g) for g in m.groups()])
                self.assertEqual(len(areas), 4, q.figures[0].alt)
                part = q.parts[0]
                chosen = part.options[int(part.key) - 1][-1]
                want = max if "greatest" in part.prompt else min
                self.assertEqual(areas[chosen], want(areas.values()))
                checked += 1
        self.assertGreater(checked, 60)


class PagesAgreeWithKeys(unittest.TestCase):
    def test_composite_labels_are_the_lengths_of_their_sides(self):
        for level in (2, 3):
            for seed in range(200):
                pts, labels, shape = ap._composite(random.Random(seed), level)
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
