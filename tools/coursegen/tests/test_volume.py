"""Volume: solvers against worked examples, pages and figures that agree
with their keys, choices whose wrong options are real slips, and worked
solutions: one per family written out and checked by hand, and every
family's over many draws kept to the course's rules."""

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
from .test_area_perimeter import compare_by_hand, make, solution_faults

load_all()


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

    def test_cuboid_options_are_one_right_set_and_three_real_slips(self):
        slips = {"two": lambda l, b, h: l * b, "added": lambda l, b, h: l + b + h,
                 "plus": lambda l, b, h: l * b + h}
        for volume in [24, 30, 36, 40, 48, 60, 72, 80, 90, 96, 120]:
            for seed in range(10):
                right, wrong = vo.cuboid_options(random.Random(seed), volume)
                with self.subTest(volume=volume, seed=seed):
                    self.assertEqual(right[0] * right[1] * right[2], volume)
                    self.assertEqual(len({right, *(e for e, _ in wrong)}), 4)
                    self.assertEqual({slip for _, slip in wrong}, set(slips))
                    for e, slip in wrong:
                        self.assertNotEqual(e[0] * e[1] * e[2], volume)
                        self.assertEqual(slips[slip](*e), volume)

    def test_litre_options_are_the_slips_they_name(self):
        # 3.05 l is 3050 ml; x 100 gives 305, the digits after the point read
        # as millilitres 3005, x 10 gives 30.5.
        value, right, wrong = vo.litre_options(3, 50)
        self.assertEqual((value, right), (Fraction("3.05"), 3050))
        self.assertEqual([w for w, _ in wrong], [305, 3005, Fraction("30.5")])
        # 4.125 l: the digits read as millilitres give the answer itself, so
        # the next slip, x 10 000, takes their place.
        value, right, wrong = vo.litre_options(4, 125)
        self.assertEqual([w for w, _ in wrong], [Fraction("412.5"), Fraction("41.25"), 41250])
        for whole in range(1, 10):
            for ml in (5, 50, 500, 25, 250, 75):
                value, right, wrong = vo.litre_options(whole, ml)
                self.assertEqual(len({right, *(w for w, _ in wrong)}), 4)


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


    def test_solids_read_back_from_their_alt_text(self):
        # The heights of the columns, row by row, are all a pupil who cannot
        # see the solid needs to count it.
        asked = Counter()
        for level in (1, 2):
            for seed in range(40):
                q = make("volume.unit-cubes", ["N"], level, seed)
                alt = q.figures[0].alt
                count = sum(int(h) for h in re.findall(r"\d+", alt.split("from left to right: ")[1]))
                words = plain(q.text)
                edge = re.search(r"into a cube of edge (\d+) cm", words)
                side = re.search(r"made of cubes of edge (\d+) cm", words)
                want = int(edge[1]) ** 3 - count if edge else count * int(side[1]) ** 3 if side else count
                self.assertEqual(q.parts[0].key, str(want), alt)
                asked["more" if edge else "side" if side else "count"] += 1
        self.assertEqual(set(asked), {"more", "side", "count"})

    def test_two_cuboid_solids_read_back_from_their_alt_text(self):
        for level in (2, 3):
            for seed in range(40):
                q = make("volume.composite-solid", ["N"], level, seed)
                alt = q.figures[0].alt
                l, b, top_l = map(int, re.search(r"lower cuboid is (\d+) cm long and (\d+) cm wide, the upper "
                                                 r"one (\d+) cm long", alt).groups())
                if level == 3:
                    total, low = map(int, re.search(r"(\d+) cm high in all on its left, the lower cuboid "
                                                    r"(\d+) cm high", alt).groups())
                    top_h = total - low
                else:
                    low, top_h = map(int, re.search(r"the lower cuboid (\d+) cm high and the upper one "
                                                    r"(\d+) cm high", alt).groups())
                self.assertEqual(q.parts[0].key, str(l * b * low + top_l * b * top_h), alt)


class WorkedSolutions(unittest.TestCase):
    # One draw of every family (two of the choices and of the tank stories),
    # its whole solution worked through by hand.
    BY_HAND = [
    ("volume.unit-cubes", "N", 2, 4, """\
The solid has no gaps inside. Count the cubes row by row, from the back: in each row, add the heights of its \
columns.
back row: 3 + 3 + 3 + 3 = 12
front row: 3 + 3 + 3 + 3 = 12
altogether: 12 + 12 = 24 cubes
A cube of edge 5 cm made of 1-cm cubes has 5 rows of 5 cubes in each of 5 layers.
5 × 5 × 5 = 125 cubes
Take away the cubes that are already there.
125 − 24 = 101 cubes
Answer: 101 cubes"""),
    ("volume.cuboid", "Q", 1, 0, """\
The volume of a cuboid is length × breadth × height. Work it out for each option.
(1) 9 × 4 × 2 = 72 cm³
(2) 28 × 26 × 18 = 13,104 cm³
(3) 9 × 8 × 4 = 288 cm³
(4) 11 × 6 × 6 = 396 cm³
Only option (1) gives 72 cm³.
Answer: (1) 9 cm × 4 cm × 2 cm
Why not the other options:
(2) 28 cm × 26 cm × 18 cm: adds the edges instead of multiplying them: 28 + 26 + 18 = 72
(3) 9 cm × 8 cm × 4 cm: multiplies only two of the edges: 9 × 8 = 72
(4) 11 cm × 6 cm × 6 cm: adds the third edge instead of multiplying by it: 11 × 6 + 6 = 72"""),
    ("volume.cuboid", "N", 2, 2, """\
A cube has 12 edges, all the same length. Divide the total by 12.
36 ÷ 12 = 3 cm
The volume is edge × edge × edge.
3 × 3 × 3 = 27 cm³
Answer: 27 cm³"""),
    ("volume.missing-edge", "N", 3, 5, """\
Half the perimeter of the base is one length and one breadth.
24 ÷ 2 = 12 cm
Take away the length to find the breadth.
12 − 8 = 4 cm
Find the area of the base.
8 × 4 = 32 cm²
Divide the volume by the base area to find the height.
288 ÷ 32 = 9 cm
Answer: 9 cm"""),
    ("volume.convert", "N", 2, 0, """\
Find how much water there was altogether.
3 × 0.5 = 1.5 ℓ
Change it to millilitres: 1 ℓ = 1000 mℓ.
1.5 × 1000 = 1500 mℓ
Take away what he drank.
1500 − 400 = 1100 mℓ
Answer: 1100 mℓ"""),
    ("volume.convert", "Q", 1, 3, """\
1 ℓ = 1000 mℓ, so multiply the litres by 1000.
4.25 × 1000 = 4250 mℓ
4.25 ℓ is 4250 mℓ.
Answer: (1) 4250 mℓ
Why not the other options:
(2) 4025 mℓ: reads the digits after the point, 25, as millilitres, and gets 4000 + 25 = 4025
(3) 42.5 mℓ: multiplies by 10, not by 1000, and gets 4.25 × 10 = 42.5
(4) 425 mℓ: multiplies by 100, not by 1000, and gets 4.25 × 100 = 425"""),
    ("volume.tank-water", "N", 3, 11, """\
3/4 of the water is poured out, so 1/4 of it is left.
1 − 3/4 = 1/4
The base of the tank does not change, so the depth is 1/4 of what it was too.
1/4 × 24 = 6 cm
[figure: The tank, 40 cm long and 30 cm wide, with the level the water stood at, 24 cm, dashed, and the \
water left, 6 cm deep]
Answer: 6 cm"""),
    ("volume.fill-rate", "N", 3, 0, """\
Each minute 8 ℓ flows in and 3 ℓ leaks out, so the water in the tank goes up by the difference.
8 − 3 = 5 ℓ a minute
The empty part above the water is the height of the tank less the depth of the water.
50 − 22 = 28 cm
[figure: The tank, 50 cm long and 25 cm wide, with water 22 cm deep; the empty part above the water is 28 cm \
high]
Find the volume of the empty part.
50 × 25 × 28 = 35,000 cm³
Change cubic centimetres to litres: 1000 cm³ = 1 ℓ.
35,000 ÷ 1000 = 35 ℓ
Divide by what the tank gains each minute.
35 ÷ 5 = 7 minutes
Answer: 7 minutes"""),
    ("volume.displacement", "NNN", 3, 1, """\
(a)
Find the volume of one cube.
5 × 5 × 5 = 125 cm³
There are 6 cubes.
6 × 125 = 750 cm³
Answer (a): 750 cm³
(b)
Find the area of the tank's base, length × breadth.
25 × 10 = 250 cm²
The level rises by the cubes' volume spread over the base. Divide by the base area.
750 ÷ 250 = 3 cm
[figure: The tank, 25 cm long and 10 cm wide, with the level before, 6 cm, dashed, the cubes on the bottom \
and the water 3 cm higher]
Answer (b): 3 cm
(c)
Find the new depth.
6 + 3 = 9 cm
Answer (c): 9 cm"""),
    ("volume.displacement", "N", 3, 5, """\
Find how far the water level rises.
17 − 12 = 5 cm
[figure: The tank, 40 cm long and 25 cm wide, with the level before, 12 cm, dashed, the water 5 cm higher \
and the cubes on the bottom]
The cubes take the place of the water between the two levels: length × breadth × rise.
40 × 25 × 5 = 5000 cm³
Find the volume of one cube.
10 × 10 × 10 = 1000 cm³
Divide to find how many cubes make up that volume.
5000 ÷ 1000 = 5 cubes
Answer: 5 cubes"""),
    ("volume.cubes-in-box", "N", 3, 1, """\
Find how many cubes fit along each edge of the box. Only whole cubes fit, so leave out any remainder: the \
gap it leaves is too thin for another cube.
along the length: 18 ÷ 3 = 6 cubes
along the breadth: 13 ÷ 3 = 4 remainder 1, so 4 cubes
up the height: 7 ÷ 3 = 2 remainder 1, so 2 cubes
The cubes stand in rows and layers: multiply.
6 × 4 × 2 = 48 cubes
Answer: 48 cubes"""),
    ("volume.fraction-full", "N", 3, 7, """\
Draw the tank as a bar of 6 equal parts. At first 1/3 of it is full, that is 2 parts; afterwards 5/6, that \
is 5 parts.
5 − 2 = 3 parts poured in
[figure: A bar of 6 equal parts standing for the tank: 2 parts grey, the water at first; then 3 parts \
hatched and marked 18 ℓ, the water poured in; then 1 part empty]
The 18 ℓ poured in fills 3 parts. Find 1 part.
18 ÷ 3 = 6 ℓ
The whole tank is 6 parts.
6 × 6 = 36 ℓ
Answer: 36 ℓ"""),
    ("volume.tank-parts", "NN", 3, 0, """\
(a)
The water is a cuboid: length × breadth × depth.
60 × 20 × 13 = 15,600 cm³
Change cubic centimetres to litres: 1000 cm³ = 1 ℓ.
15,600 ÷ 1000 = 15.6 ℓ
Find how much water the buckets take.
3 × 2 = 6 ℓ
Take it away from the water in the tank.
15.6 − 6 = 9.6 ℓ
Answer (a): 9.6 ℓ
(b)
Change the water left to cubic centimetres: 1 ℓ = 1000 cm³.
9.6 × 1000 = 9600 cm³
Find the area of the tank's base, length × breadth.
60 × 20 = 1200 cm²
Divide the volume by the base area to find the depth.
9600 ÷ 1200 = 8 cm
[figure: The tank, 60 cm long and 20 cm wide, with the level the water stood at, 13 cm, dashed, and the \
water left, 8 cm deep]
Answer (b): 8 cm"""),
    ("volume.tank-parts", "FN", 3, 2, """\
(a)
The base is the same all the way up, so the fraction of the tank filled is the depth of the water out of the \
height of the tank.
10 cm out of 20 cm is 10/20
Simplify: divide the top and the bottom by 10.
10/20 = 10 ÷ 10/20 ÷ 10 = 1/2
Answer (a): 1/2
(b)
The empty part above the water is the height of the tank less the depth of the water.
20 − 10 = 10 cm
[figure: The tank, 20 cm long and 10 cm wide, with water 10 cm deep; the empty part above the water is 10 cm \
high]
Find the volume of the empty part.
20 × 10 × 10 = 2000 cm³
Change cubic centimetres to litres: 1000 cm³ = 1 ℓ.
2000 ÷ 1000 = 2 ℓ
Answer (b): 2 ℓ"""),
    ("volume.composite-solid", "N", 3, 0, """\
The upper cuboid's height is the height of the whole solid less the lower cuboid's.
6 − 2 = 4 cm
Split the solid into cuboid A below and cuboid B on top. A is 14 cm long, 6 cm wide and 2 cm high.
14 × 6 × 2 = 168 cm³
[figure: The solid split into cuboid A below, 14 by 6 by 2 cm, and cuboid B on top, 10 by 6 by 4 cm]
B is 10 cm long, as wide as A, 6 cm, and 4 cm high.
10 × 6 × 4 = 240 cm³
Add the volumes of A and B.
168 + 240 = 408 cm³
Answer: 408 cm³"""),

    ]

    def test_solutions_written_out_by_hand(self):
        compare_by_hand(self, self.BY_HAND, 5)

    def test_every_family_over_many_draws(self):
        faults = solution_faults(5, counting={"volume.unit-cubes", "volume.fraction-full"})
        self.assertEqual(faults, [], "\n" + "\n".join(faults[:40]))


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
