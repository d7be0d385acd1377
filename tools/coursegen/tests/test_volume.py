"""Volume: solvers against worked examples, and families whose pages must
agree with their keys."""

import random
import re
import unittest
from collections import Counter
from fractions import Fraction

from coursegen import plan
from coursegen.build import build_topic, check, plain
from coursegen.families import REGISTRY
from coursegen.topics import load_all
from coursegen.topics import volume as vo

from .markup import stacked

load_all()


def make(name, kinds, level, seed):
    slots = tuple(plan.Slot(k, 1) for k in kinds)
    try:
        return REGISTRY[name].make(random.Random(seed), level, slots)
    except ValueError:
        return None


def tank_of(question):
    """Length, breadth, height and water depth the page shows."""
    m = re.search(r"tank (\d+) cm long, (\d+) cm wide and (\d+) cm high(?:, with water (\d+) cm deep)?",
                  question.figures[0].alt)
    return tuple(int(g) if g else None for g in m.groups())


class WorkedExamples(unittest.TestCase):
    def test_cuboids_and_edges(self):
        self.assertEqual(vo.cuboid_volume(12, 5, 4), 240)
        self.assertEqual(vo.missing_edge(240, 12, 5), 4)            # 240 / 60
        with self.assertRaises(ValueError):
            vo.missing_edge(250, 12, 5)
        self.assertEqual(vo.cube_edge(343), 7)                       # 7 x 7 x 7
        with self.assertRaises(ValueError):
            vo.cube_edge(100)
        # 12 x 4 x 6 = 288 below, 2 x 4 x 4 = 32 on top: 320.
        self.assertEqual(vo.step_solid_volume(12, 4, 6, 2, 4), 320)
        # Back row 3 + 3 + 3, front row 1 + 1 + 1.
        self.assertEqual(vo.solid_cubes([[3, 3, 3], [1, 1, 1]]), 12)

    def test_litres_and_water(self):
        self.assertEqual(vo.litres(9000), 9)
        self.assertEqual(vo.tank_litres(25, 20, 32), 16)             # 16,000 cm3
        self.assertEqual(vo.tank_litres(30, 25, 14), Fraction("10.5"))
        with self.assertRaises(ValueError):
            vo.tank_litres(25, 25, 23)                               # 14.375 litres
        self.assertEqual(vo.water_height(6, 30, 20), 10)             # 6000 / 600
        # Three 10-cm cubes (3000 cm3) in a 40 by 15 base: 3000 / 600 = 5 cm.
        self.assertEqual(vo.rise_in_level(3000, 40, 15), 5)
        self.assertEqual(vo.rise_in_level(250, 50, 10), Fraction(1, 2))
        # A 2.5 cm rise over a 40 by 40 base is 4000 cm3: four 10-cm cubes.
        self.assertEqual(vo.cubes_for_rise(Fraction(5, 2), 40, 40, 10), 4)
        with self.assertRaises(ValueError):
            vo.cubes_for_rise(1, 30, 20, 5)                          # 600 / 125 = 4.8 cubes

    def test_rates_boxes_and_fractions(self):
        self.assertEqual(vo.time_to_fill(48, 6), 8)
        with self.assertRaises(ValueError):
            vo.time_to_fill(45, 6)                                   # 7.5 minutes
        # 25 // 4 = 6, 14 // 4 = 3, 9 // 4 = 2: 36 cubes.
        self.assertEqual(vo.cubes_in_box(25, 14, 9, 4), 36)
        self.assertEqual(vo.cubes_in_box(12, 12, 12, 3), 64)
        # From 2/5 to 4/5 full is 2/5 of the tank = 18 litres: 45 litres.
        self.assertEqual(vo.capacity_from_fractions(Fraction(2, 5), Fraction(4, 5), 18), 45)

    def test_cuboid_options_have_one_right_set(self):
        for volume in [24, 30, 36, 40, 48, 60, 72, 80, 90, 96, 120]:
            for seed in range(10):
                right, wrong = vo.cuboid_options(random.Random(seed), volume)
                with self.subTest(volume=volume, seed=seed):
                    self.assertEqual(right[0] * right[1] * right[2], volume)
                    self.assertEqual(len({right, *wrong}), 4)
                    self.assertTrue(all(w[0] * w[1] * w[2] != volume for w in wrong))


class PagesAgreeWithKeys(unittest.TestCase):
    def test_cube_drawing_shows_every_cube(self):
        for heights in ([[2, 2], [2, 2]], [[3, 2, 1]], [[3, 3, 3], [1, 1, 1], [1, 1, 1]]):
            svg = vo.cubes_svg(heights)
            # Each cube is drawn as three faces.
            self.assertEqual(svg.count("<polygon"), 3 * vo.solid_cubes(heights))

    def test_displaced_water_from_the_page(self):
        cases = Counter()
        for kinds in [("N",), ("N", "N"), ("N", "N", "N")]:
            for level in (2, 3):
                for seed in range(60):
                    q = make("volume.displacement", kinds, level, seed)
                    if q is None or "stone" in q.text:
                        continue
                    l, b, h, d = tank_of(q)
                    words = plain(q.text)
                    edge = int(re.search(r"each of edge (\d+) cm", words)[1])
                    m = re.search(r"(\d+) solid metal cubes", words)
                    if m is None:
                        # How many cubes: from the level they raise the water to.
                        now = Fraction(re.search(r"rises to ([\d.]+) cm", words)[1])
                        self.assertTrue(edge < now < h)
                        self.assertEqual(Fraction(q.parts[0].key), (now - d) * l * b / edge ** 3)
                        cases["how many"] += 1
                        continue
                    count = int(m[1])
                    self.assertLessEqual(count, (l // edge) * (b // edge), "the cubes fit side by side")
                    change = Fraction(count * edge ** 3, l * b)
                    out = "lifted out" in words
                    now = d - change if out else d + change
                    # Under water while in the tank, so the change is their whole volume.
                    self.assertTrue(edge < (d if out else now) < h)
                    self.assertGreater(now, 0)
                    for part in q.parts:
                        asked = part.prompt or words
                        want = (count * edge ** 3 if "total volume" in asked else
                                change if "rise?" in asked or "fall?" in asked else now)
                        self.assertEqual(Fraction(part.key), want, asked)
                    cases["out" if out else "in"] += 1
        self.assertEqual(set(cases), {"in", "out", "how many"})
        self.assertGreater(sum(cases.values()), 200)

    def test_tank_story_parts_from_the_page(self):
        asked = Counter()
        for kinds in [("F", "N"), ("N", "F"), ("N", "N"), ("N", "N", "N")]:
            for seed in range(40):
                q = make("volume.tank-parts", kinds, 3, seed)
                if q is None:
                    continue
                l, b, h, d = tank_of(q)
                taken = 0
                for part in q.parts:
                    words = plain(part.prompt)
                    buckets = re.search(r"(\d+) buckets, each holding (\d+) ", words)
                    tap = re.search(r"from a tap at (\d+) ", words)
                    if buckets:
                        taken = int(buckets[1]) * int(buckets[2])
                        want = Fraction(l * b * d, 1000) - taken
                    elif tap:
                        want = Fraction(l * b * (h - d), 1000) / int(tap[1])
                    elif "fraction" in words:
                        want = Fraction(d, h)
                    elif words.startswith("How many litres of water are in"):
                        want = Fraction(l * b * d, 1000)
                    elif words.startswith("How many more litres"):
                        want = Fraction(l * b * (h - d), 1000)
                    elif words.startswith("What is the depth of the water left"):
                        self.assertGreater(taken, 0)
                        want = d - Fraction(taken * 1000, l * b)
                    else:
                        self.fail(f"unread part: {words}")
                    self.assertEqual(Fraction(part.key), want, words)
                    asked[words.split()[0] if not (buckets or tap) else "buckets" if buckets else "tap"] += 1
        self.assertTrue({"buckets", "tap"} <= set(asked))

    def test_filling_times_and_depths_from_the_page(self):
        checked = Counter()
        for kinds, level in [(("N",), 2), (("N",), 3), (("N", "N"), 2), (("N", "N"), 3)]:
            for seed in range(40):
                q = make("volume.fill-rate", kinds, level, seed)
                if q is None:
                    continue
                l, b, h, d = tank_of(q)
                words = plain(q.text)
                after = re.search(r"lets (\d+) \S+ of water into it a minute. How deep is the water after "
                                  r"(\d+) minutes", words)
                leak = re.search(r"A tap lets (\d+) \S+ of water into it a minute, while (\d+) ", words)
                rate = re.search(r"(\d+) \S+ (?:of water )?(?:into the tank )?a minute", words)
                if after:
                    want = [Fraction(1000 * int(after[1]) * int(after[2]), l * b)]
                    self.assertLess(want[0], h)
                    checked["depth"] += 1
                elif d is not None:      # filled from the depth shown to the brim
                    net = int(leak[1]) - int(leak[2]) if leak else int(rate[1])
                    want = [Fraction(l * b * (h - d), 1000) / net]
                    checked["leak" if leak else "top-up"] += 1
                else:                    # the empty (or full) tank shown
                    capacity = Fraction(l * b * h, 1000)
                    want = [capacity / int(rate[1])]
                    if len(kinds) == 2:
                        want = [capacity] + want
                    checked["whole tank"] += 1
                self.assertEqual([Fraction(p.key) for p in q.parts], want, words)
        self.assertEqual(set(checked), {"depth", "leak", "top-up", "whole tank"})

    def test_fraction_full_keys_from_the_page(self):
        for seed in range(40):
            q = make("volume.fraction-full", ["N"], 2, seed)
            if q is None:
                continue
            l, b, h, _ = tank_of(q)
            m = re.search(r'class="num">(\d+)</span><span class="den">(\d+)<', stacked(q.text))
            self.assertEqual(Fraction(q.parts[0].key), Fraction(l * b * h, 1000) * Fraction(int(m[1]), int(m[2])))

    def test_litre_keys_need_no_more_than_two_places(self):
        for fam in (f for f in REGISTRY.values() if f.topic == 5):
            for kinds in fam.kinds:
                for level in fam.levels:
                    for seed in range(20):
                        q = make(fam.name, kinds, level, seed)
                        for part in (q.parts if q else []):
                            if part.unit in (vo.L, "cm") and "." in part.key:
                                self.assertLessEqual(len(part.key.split(".")[1]), 2, part.key)


class TopicBuilds(unittest.TestCase):
    def test_every_planned_question_has_a_family_of_the_topic(self):
        papers = build_topic(5)
        families = {q.family for paper in papers for q in paper.questions}
        self.assertFalse(any(f.startswith("placeholder") for f in families))
        self.assertGreaterEqual(len(families), 10)
        for paper, key in zip(papers, plan.papers_of(5)):
            planned = plan.paper_plan(key)
            self.assertEqual([s.kind for q in paper.questions for s in q.slots],
                             [s.kind for q in planned for s in q.slots])
            # The heading is the packer's, so questions differ by text or picture.
            pages = [(plain(q.html), tuple(q.figures.values())) for q in paper.questions]
            self.assertEqual(len(set(pages)), len(pages))

    def test_every_fit_the_plan_asks_for_is_made_and_passes_the_checks(self):
        made = set()
        for fam in (f for f in REGISTRY.values() if f.topic == 5):
            for kinds in fam.kinds:
                for level in fam.levels:
                    qp = plan.QuestionPlan(121, 1, 20311, level, tuple(plan.Slot(k, 1) for k in kinds))
                    for seed in range(25):
                        q = make(fam.name, kinds, level, seed)
                        if q is not None:
                            check(q, qp, fam.name)
                            made.add((kinds, level))
        asked = {(q.kinds, q.level) for key in plan.papers_of(5) for q in plan.paper_plan(key)}
        self.assertLessEqual(asked, made)


if __name__ == "__main__":
    unittest.main()
