"""Ratio and Proportions: solvers against worked examples, and the families
against the plan and against what their pages show."""

import random
import re
import unittest
import xml.etree.ElementTree as ET
from fractions import Fraction

from coursegen import plan as shape
from coursegen.build import build_topic, check, plain, render_solution
from coursegen.families import REGISTRY, families_of
from coursegen.model import key_problem
from coursegen.svg import LIGHT
from coursegen.topics import load_all
from coursegen.topics import ratio as r

from .markup import stacked
from .test_figures import figure_problems
from .test_solutions import text_lines

load_all()
TOPIC = 8
NS = "{http://www.w3.org/2000/svg}"


def made(family, kinds, level, seeds=60):
    """Questions a family makes for a slot pattern, skipping draws it rejects."""
    slots = tuple(shape.Slot(k, 1) for k in kinds)
    out = []
    for seed in range(seeds):
        try:
            out.append(family.make(random.Random(seed), level, slots))
        except ValueError:
            pass
    return out


def readable(html):
    """A page or solution as a pupil reads it, line by line: fractions as
    a/b, mixed numbers as w a/b, no-break spaces as spaces."""
    html = stacked(html)
    html = re.sub(r'(\d+)<span class="frac"><span class="num">([^<]+)</span><span class="den">([^<]+)</span></span>',
                  r"\1 \2/\3", html)
    html = re.sub(r'<span class="frac"><span class="num">([^<]+)</span><span class="den">([^<]+)</span></span>',
                  r"\1/\2", html)
    return "\n".join(text_lines(html)).replace("\u00a0", " ")


def worked(name, kinds, level, seed):
    """The question a family makes for seed "test:SEED" and its worked
    solution as text."""
    slots = tuple(shape.Slot(k, 1) for k in kinds.split(","))
    q = REGISTRY[name].make(random.Random(f"test:{seed}"), level, slots)
    return q, readable(render_solution(20011, q, slots)[0])


def assert_worked(test, table, topic):
    """Every family of the topic has its hand-written solution in table,
    and each matches what the family writes, word for word."""
    test.assertEqual({name for name, *_ in table}, {f.name for f in families_of(topic)})
    for (name, kinds, level, seed), text in table.items():
        with test.subTest(name):
            test.assertEqual(worked(name, kinds, level, seed)[1], text.strip())


def solution_figures(topic, seeds=20):
    """(where, figure) of every step figure a topic's families draw."""
    for fam in families_of(topic):
        for kinds in fam.kinds:
            for level in fam.levels:
                for q in made(fam, kinds, level, seeds):
                    for i, step in enumerate(q.solution.steps):
                        if step.figure:
                            yield f"{fam.name} {kinds} level {level} step {i + 1}", step.figure


class Solvers(unittest.TestCase):
    def test_simplest_and_missing_term(self):
        # 24 : 36, both divided by 12, is 2 : 3; 15 : 10 : 25 by 5 is 3 : 2 : 5.
        self.assertEqual(r.simplest(24, 36), (2, 3))
        self.assertEqual(r.simplest(15, 10, 25), (3, 2, 5))
        # 3 : 5 = ? : 40: 40 is 5 x 8, so ? = 3 x 8 = 24.
        self.assertEqual(r.missing_term(3, 5, None, 40), 24)
        # 12 : ? = 28 : 63: 12 : ? = 4 : 9 and 12 = 4 x 3, so ? = 27.
        self.assertEqual(r.missing_term(12, None, 28, 63), 27)
        # ? : 6 = 10 : 15 = 2 : 3, so ? = 4; 6 : 9 = 4 : ? gives ? = 6.
        self.assertEqual(r.missing_term(None, 6, 10, 15), 4)
        self.assertEqual(r.missing_term(6, 9, 4, None), 6)
        with self.assertRaises(ValueError):
            r.missing_term(1, None, None, 4)

    def test_sharing(self):
        # $120 in 3 : 5: 8 units = 120, 1 unit = 15, shares 45 and 75.
        self.assertEqual(r.share(120, [3, 5]), [45, 75])
        # 90 in 2 : 3 : 4: 1 unit = 10.
        self.assertEqual(r.share(90, [2, 3, 4]), [20, 30, 40])
        # 4 : 5 with 36 in the first term: 1 unit = 9, total 9 units = 81.
        self.assertEqual(r.total_from_part([4, 5], 0, 36), 81)
        # 3 : 7, the second 28 more than the first: 4 units = 28, 10 units = 70.
        self.assertEqual(r.total_from_difference([3, 7], 1, 0, 28), 70)

    def test_combining_and_fractions(self):
        # A : B = 2 : 3 and B : C = 4 : 5: B is 12 units, so 8 : 12 : 15.
        self.assertEqual(r.combine((2, 3), (4, 5)), (8, 12, 15))
        # C : B = 1 : 3 and B : A = 1 : 2 (A twice B) give 1 : 3 : 6.
        self.assertEqual(r.combine((1, 3), (1, 2)), (1, 3, 6))
        # Red : blue = 3 : 5, so red is 3 of 8 parts; red is 3/5 of blue.
        self.assertEqual(r.part_fraction([3, 5], 0), Fraction(3, 8))
        self.assertEqual(r.part_fraction([3, 5], 0, of=1), Fraction(3, 5))

    def test_before_and_after(self):
        # Boys : girls 3 : 5; 12 boys join, girls G unchanged, 3 : 4.
        # Boys go from 3G/5 to 3G/4, up 3G/20 = 12, so G = 80 and boys 48.
        self.assertEqual(r.one_changes((3, 5), (3, 4), 12), (48, 80))
        # 7 : 4 down to 1 : 7 when 90 leave: per 28 of B, A goes 49 -> 4, so
        # B = 28 x 2 = 56, A = 98 at first.
        self.assertEqual(r.one_changes((7, 4), (1, 7), -90), (98, 56))
        # A : B 3 : 5, A gives 12 to B, 1 : 3. Total in eighths and quarters:
        # A goes from 3/8 to 2/8 of the total, 1/8 = 12, total 96.
        self.assertEqual(r.transfer((3, 5), (1, 3), 12), 96)
        # Ages 1 : 4 now and 1 : 3 in 4 years: difference 3 units = 2 units
        # later, child 8 and adult 32 now (12 and 36 later).
        self.assertEqual(r.same_change((1, 4), (1, 3), 4), (8, 32))

    def test_proportion(self):
        # 5 pens cost $7.50, one costs $1.50, 8 cost $12.
        self.assertEqual(r.proportional(5, Fraction(15, 2), 8), 12)
        # 300 g for 4 people is 75 g each, 750 g for 10.
        self.assertEqual(r.proportional(4, 300, 10), 750)

    def test_age_stories_are_whole_and_small(self):
        for child, diff, later in r.age_stories(24, 40):
            now, then = r.simplest(child, child + diff), r.simplest(child + later, child + diff + later)
            self.assertEqual(r.same_change(now, then, later), (child, child + diff))
            self.assertLessEqual(max(now + then), 9)


class Pages(unittest.TestCase):
    """Read the values back off a page and check the key against them."""

    def fam(self, name):
        return next(f for f in families_of(TOPIC) if f.name == name)

    def test_missing_term_fills_an_equal_ratio(self):
        for q in made(self.fam("ratio.equivalent"), "N", 2) + made(self.fam("ratio.equivalent"), "N", 1):
            text = plain(stacked(q.text)).replace("?", q.parts[0].key)
            a, b, c, d = map(int, re.findall(r"(\d+)\s:\s(\d+) = (\d+)\s:\s(\d+)", text)[0])
            self.assertEqual(a * d, b * c, text)

    def test_picture_key_matches_the_shapes_drawn(self):
        for level in (1, 2):
            for q in made(self.fam("ratio.picture"), "R", level):
                svg = q.figures[0].svg
                circles, triangles = svg.count("<circle"), svg.count("<polygon")
                squares = svg.count("<rect") if "hatch" not in svg else 0
                key = tuple(map(int, q.parts[0].key.split(":")))
                ask = plain(q.parts[0].prompt)
                if "shaded" in ask:
                    shaded = svg.count("url(#hatch)")
                    cells = svg.count("<rect") - 2      # the pattern tile and the outline
                    want = (shaded, cells - shaded) if level == 1 else (cells - shaded, cells)
                else:
                    counts = {"circles": circles, "triangles": triangles, "squares": squares}
                    named = re.findall(r"number of (circles|triangles|squares)", ask)
                    want = tuple(counts[w] for w in named)
                    if "total" in ask:
                        want = (counts[named[0]], circles + triangles + squares)
                self.assertEqual(key, r.simplest(*want), ask)

    def test_bar_model_draws_the_ratio_in_the_text(self):
        for q in made(self.fam("ratio.bar-model"), "N", 1):
            svg = q.figures[0].svg
            label = int(re.findall(r'font-weight="bold">(\d+)<', svg)[0])
            self.assertTrue(q.parts[0].key.isdigit())
            self.assertIn(str(label), q.figures[0].alt)

    def test_a_ratio_is_said_with_to(self):
        # Shown 2 : 3 on one line; said "2 to 3", as a colon alone may not be.
        html = r.rt(2, 3)
        self.assertEqual(stacked(html), "2\u00a0:\u00a03")
        self.assertIn('<span class="sr">2 to 3</span>', html)
        self.assertIn('<span aria-hidden="true">', html)
        self.assertIn('<span class="sr">Ali to Ben to Chen</span>', r.names_in_ratio("Ali", "Ben", "Chen"))

    def test_mixture_key_needs_the_working(self):
        # Strongest: not the jug with the most syrup parts nor the one with
        # the fewest water parts, so neither slip finds it.
        for q in made(self.fam("ratio.compare-mixtures"), "Q", 2):
            ratios = [tuple(map(int, m)) for m in re.findall(r"<td>(\d+)\s:\s(\d+)</td>", stacked(q.text))]
            best = max(range(4), key=lambda i: Fraction(ratios[i][0], sum(ratios[i])))
            self.assertEqual(q.parts[0].key, str(best + 1))
            self.assertNotEqual(best, max(range(4), key=lambda i: ratios[i][0]))
            self.assertNotEqual(best, min(range(4), key=lambda i: ratios[i][1]))
        # Matching: one jug's amounts, and only one, are in the ratio asked.
        for q in made(self.fam("ratio.compare-mixtures"), "Q", 1):
            want = r.simplest(*map(int, re.findall(r"ratio (\d+)\s:\s(\d+)", stacked(q.parts[0].prompt))[0]))
            amounts = [tuple(map(int, m)) for m in re.findall(r"<td>(\d+)</td><td>(\d+)</td>", q.text)]
            matching = [i for i, a in enumerate(amounts) if r.simplest(*a) == want]
            self.assertEqual([str(i + 1) for i in matching], [q.parts[0].key])

    def test_one_option_equals_the_ratio(self):
        for q in made(self.fam("ratio.choose-equivalent"), "Q", 1):
            given = Fraction(*map(int, re.findall(r"(\d+)\s:\s(\d+)", q.parts[0].prompt)[0]))
            equal = [i for i, o in enumerate(q.parts[0].options)
                     if Fraction(*map(int, re.findall(r"(\d+)\s:\s(\d+)", o)[0])) == given]
            self.assertEqual([str(i + 1) for i in equal], [q.parts[0].key])


class FiguresSayWhatTheyShow(unittest.TestCase):
    """Alternative texts against the drawing they stand for."""

    def test_bar_models(self):
        figures = [(f"{kinds} {level}", q.figures[0]) for kinds in ("N", "R", "Q", "F") for level in (1, 2)
                   for q in made(next(f for f in families_of(TOPIC) if f.name == "ratio.bar-model"), kinds, level, 20)]
        figures += list(solution_figures(TOPIC))
        models = [(w, f) for w, f in figures if f.alt.startswith("A bar model")]
        self.assertGreater(len(models), 100)
        for where, fig in models:
            root = ET.fromstring(fig.svg)
            tops = {}
            for rect in root.iter(NS + "rect"):
                if rect.get("fill") in (LIGHT, "url(#hatch)"):
                    tops[float(rect.get("y"))] = tops.get(float(rect.get("y")), 0) + 1
            names = [t.text for t in root.iter(NS + "text") if t.get("text-anchor") == "end"]
            said = re.findall(r"The bar for (.+?) has (\d+) units?\.", fig.alt)
            self.assertEqual(said, [(name, str(tops[y])) for name, y in zip(names, sorted(tops))], where)
            for label in (t.text for t in root.iter(NS + "text") if t.get("font-weight") == "bold"):
                self.assertIn(f"labelled {'a question mark' if label == '?' else label}", fig.alt, where)
            inside = {t.text for t in root.iter(NS + "text") if t.get("font-size") == "13"}
            inside |= {t.text[len("1 unit = "):] for t in root.iter(NS + "text") if t.text.startswith("1 unit = ")}
            self.assertEqual(inside, set(re.findall(r"Each unit is (.+?)\.", fig.alt)), where)

    def test_shapes_and_grids(self):
        for level in (1, 2):
            for kind in ("R", "Q"):
                for q in made(next(f for f in families_of(TOPIC) if f.name == "ratio.picture"), kind, level):
                    svg, alt = q.figures[0].svg, q.figures[0].alt
                    if "rectangle made of" in alt:
                        rows, cols, shaded = map(int, re.findall(r"(\d+) rows of (\d+) equal squares\. (\d+)", alt)[0])
                        self.assertEqual(svg.count('fill="url(#hatch)"'), shaded)
                        self.assertEqual(svg.count("<rect") - 2, rows * cols)
                        continue
                    drawn = {"circles": svg.count("<circle"), "triangles": svg.count("<polygon"),
                             "squares": svg.count('fill="#000"')}
                    said = {w: int(c) for c, w in re.findall(r"(\d+) (circles|triangles|squares)", alt)}
                    self.assertEqual(said, {w: c for w, c in drawn.items() if c})

    def test_solution_figures_fit(self):
        bad = [f"{where}: {p}" for where, fig in solution_figures(TOPIC) for p in figure_problems(fig.svg)]
        self.assertEqual(bad, [], "\n".join(bad[:20]))


# One worked solution per family, written out and checked by hand.
WORKED = {
    ("ratio.picture", "R", 1, 3): """\
Count each kind of shape in the picture.
6 squares and 9 circles
Write the numbers in the order asked: squares first. Divide each term by 3, the greatest number that divides 6 and 9 exactly.
6 : 9 = 2 : 3
Answer: 2:3
""",
    ("ratio.story-simplest", "R", 2, 1): """\
Find the total number of apples and oranges.
9 + 6 = 15
Write the ratio with the total first, then the oranges. Divide each term by 3, the greatest number that divides 15 and 6 exactly.
15 : 6 = 5 : 2
Answer: 5:2
""",
    ("ratio.equivalent", "N", 2, 2): """\
Simplify the ratio whose terms are both given, 15 : 40. Divide each term by 5, the greatest number that divides 15 and 40 exactly.
15 : 40 = 3 : 8
3 × 3 = 9, so multiply both terms of 3 : 8 by 3.
? = 8 × 3 = 24
Answer: 24
""",
    ("ratio.choose-equivalent", "Q", 1, 2): """\
Simplify 12 : 32. Divide each term by 4, the greatest number that divides 12 and 32 exactly.
12 : 32 = 3 : 8
Simplify the options too: dividing both terms of 6 : 16 by 2 also gives 3 : 8.
6 : 16 = 3 : 8
6 : 16 and 12 : 32 both simplify to 3 : 8, so they are equal.
Answer: (1) 6 : 16
Why not the other options:
(2) 9 : 29: takes 3 from both terms; taking away the same number does not keep a ratio equal
(3) 16 : 6: swaps the two terms: it simplifies to 8 : 3, not 3 : 8
(4) 3 : 32: divides only the first term by 4
""",
    ("ratio.three-terms", "R", 3, 2): """\
Hana is in both ratios: 5 units in the first and 7 units in the second. Make Hana’s units the same in both: the lowest common multiple of 5 and 7 is 35.
5 × 7 = 35 and 7 × 5 = 35
Multiply both terms of each ratio by its number.
2 : 5 = 14 : 35; 7 : 4 = 35 : 20
Now Hana has 35 units in both, so the three can be written together. No number greater than 1 divides all three terms.
Ethan : Hana : Victor = 14 : 35 : 20
Answer: 14:35:20
""",
    ("ratio.bar-model", "N", 2, 3): """\
Olivia has 6 − 1 = 5 units more than Lily. These 5 units stand for the 65 more coins.
5 units = 65, 1 unit = 65 ÷ 5 = 13
Together they have 1 + 6 = 7 units.
7 × 13 = 91
Answer: 91 coins
""",
    ("ratio.for-every", "N", 2, 1): """\
Each group has 2 teachers and 7 pupils.
2 + 7 = 9 in a group
Find how many groups there are.
54 ÷ 9 = 6 groups
Each group has 7 pupils.
6 × 7 = 42
Answer: 42 pupils
""",
    ("ratio.share", "N", 1, 2): """\
Add the units of the ratio.
7 + 3 = 10 units
10 units stand for $130. Find 1 unit.
1 unit = $130 ÷ 10 = $13
Ethan gets 7 units.
7 × $13 = $91
Answer: $91
""",
    ("ratio.total-from-part", "N", 2, 1): """\
The red marbles are 3 units, which stand for 15. Find 1 unit.
1 unit = 15 ÷ 3 = 5
Add the units of the ratio.
3 + 2 = 5 units
Find the number of marbles.
5 × 5 = 25
Answer: 25 marbles
""",
    ("ratio.fractions", "N", 3, 1): """\
The green marbles are the rest: 1 part out of 3.
1 − 2/3 = 1/3
So the red marbles are 2 units and the green marbles are 1 unit. There are 2 − 1 = 1 unit more red marbles than green marbles. This 1 unit stands for the 4 more red marbles.
1 unit = 4
All the marbles together are 3 units.
3 × 4 = 12
Answer: 12 marbles
""",
    ("ratio.transfer", "N", 3, 4): """\
Derrick gives cards to Ivy, so the total number of cards does not change. It is 11 units before and 9 units after. Make it the same number of units in both: the lowest common multiple of 11 and 9 is 99, so multiply the terms of the first ratio by 9 and the terms of the second ratio by 11.
Before: 5 : 6 = 45 : 54; after: 2 : 7 = 22 : 77
Derrick had 45 units and has 22 units after, so Derrick gave 23 units. They are the 69 cards.
23 units = 69, 1 unit = 69 ÷ 23 = 3
The total is 99 units, before and after.
99 × 3 = 297
Answer: 297 cards
""",
    ("ratio.one-changes", "N", 3, 2): """\
The number of dogs does not change. It is 1 unit before and 6 units after. Make it the same number of units in both: the lowest common multiple of 1 and 6 is 6, so multiply the terms of the first ratio by 6.
Before: 4 : 1 = 24 : 6; after: 7 : 6 stays as it is
The cats went from 24 units to 7 units: 17 units fewer. They are the 102 cats who left.
17 units = 102, 1 unit = 102 ÷ 17 = 6
The dogs are 6 units.
6 × 6 = 36
Answer: 36 dogs
""",
    ("ratio.same-difference", "N", 3, 4): """\
Both grow older by the same number of years, so the difference between their ages never changes. It is 7 units now and 2 units in 6 years’ time. Make it the same number of units in both: the lowest common multiple of 7 and 2 is 14, so multiply the terms of the first ratio by 2 and the terms of the second ratio by 7.
Now: 2 : 9 = 4 : 18; in 6 years’ time: 1 : 3 = 7 : 21
Derrick goes from 4 units now to 7 units in 6 years’ time, so 3 units are 6 years.
3 units = 6 years, 1 unit = 6 ÷ 3 = 2 years
Derrick is 4 units now.
4 × 2 = 8
Answer: 8 years old
""",
    ("ratio.recipe", "N", 2, 1): """\
Find the flour for 2 people: 4 people is 2 times 2 people.
250 g ÷ 2 = 125 g
6 people is 3 times 2 people.
125 g × 3 = 375 g
Answer: 375 g
""",
    ("ratio.unit-cost", "N", 3, 1): """\
Find the cost of 1 bottle of juice.
$4.50 ÷ 3 = $1.50
Find the cost of the 2 bottles of juice.
2 × $1.50 = $3
The rest of the money paid for the 4 pens.
$7 − $3 = $4
Find the cost of 1 pen.
$4 ÷ 4 = $1
Answer: $1
""",
    ("ratio.map-scale", "N", 3, 1): """\
The scale 1 : 100,000 means 1 cm on the map stands for 100,000 cm on the ground.
3 × 100,000 = 300,000 cm
Change centimetres to kilometres: 100 cm = 1 m and 1000 m = 1 km, so 100,000 cm = 1 km.
300,000 ÷ 100,000 = 3 km
Answer: 3 km
""",
    ("ratio.compare-mixtures", "Q", 2, 3): """\
Find what fraction of each jug is orange syrup: its parts of orange syrup out of all its parts.
Jug A: 8/15; Jug B: 1/10; Jug C: 7/10; Jug D: 3/5
Write the fractions with the same denominator, 30, and compare them.
Jug A: 16/30; Jug B: 3/30; Jug C: 21/30; Jug D: 18/30
Orange syrup is 21/30 of Jug C, more than in any other jug, so Jug C has the strongest taste of orange.
Answer: (3) Jug C
Why not the other options:
(1) Jug A: picks the jug with the most parts of orange syrup, 8, without comparing them with the parts of water
(2) Jug B: works out the fraction of each jug that is water, not orange syrup, and picks the largest
(4) Jug D: picks the jug with the fewest parts of water, 2, without comparing them with the parts of orange syrup
""",
}


class WorkedSolutions(unittest.TestCase):
    def test_hand_written(self):
        assert_worked(self, WORKED, TOPIC)

    def test_marks_follow_the_work(self):
        # Reading units off a model is one step, one mark; a share worked
        # through its units is three steps, two marks.
        q, _ = worked("ratio.bar-model", "Q", 1, 0)
        self.assertEqual(len(q.solution.steps), 1)
        q, _ = worked("ratio.share", "N", 1, 0)
        self.assertEqual(len(q.solution.steps), 3)


class Plan(unittest.TestCase):
    def test_every_planned_slot_pattern_and_level_has_families(self):
        fams = [f for f in families_of(TOPIC) if not f.placeholder]
        for paper in shape.papers_of(TOPIC):
            for qp in shape.paper_plan(paper):
                fits = [f for f in fams if f.fits(qp.kinds, qp.level)]
                self.assertGreaterEqual(len(fits), 2, f"{paper} q{qp.number} {qp.kinds} {qp.level}")

    def test_every_family_makes_well_formed_questions(self):
        for fam in families_of(TOPIC):
            for kinds in fam.kinds:
                for level in fam.levels:
                    qs = made(fam, kinds, level, seeds=30)
                    self.assertGreater(len(qs), 10, f"{fam.name} {kinds} {level} rejects most draws")
                    qp = shape.QuestionPlan(136, 1, 20011, level, tuple(shape.Slot(k, 1) for k in kinds))
                    for q in qs:
                        check(q, qp, fam.name)
                        for part, kind in zip(q.parts, kinds):
                            self.assertIsNone(key_problem(kind, part.key, part.options))

    def test_topic_builds_without_placeholders(self):
        papers = build_topic(TOPIC)
        used = {q.family for paper in papers for q in paper.questions}
        self.assertFalse(any("placeholder" in f for f in used))
        self.assertGreaterEqual(len(used), 12)


if __name__ == "__main__":
    unittest.main()
