"""Ratio and Proportions: solvers against worked examples, and the families
against the plan and against what their pages show."""

import random
import re
import unittest
from fractions import Fraction

from coursegen import plan as shape
from coursegen.build import build_topic, check, plain
from coursegen.families import families_of
from coursegen.model import key_problem
from coursegen.topics import load_all
from coursegen.topics import ratio as r

load_all()
TOPIC = 8


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
            text = plain(q.text).replace("?", q.parts[0].key)
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

    def test_mixture_key_is_the_strongest(self):
        for level in (1, 2):
            for q in made(self.fam("ratio.compare-mixtures"), "Q", level):
                ratios = [tuple(map(int, m)) for m in re.findall(r"<td>(\d+)\s:\s(\d+)</td>", q.text)]
                best = max(range(4), key=lambda i: Fraction(ratios[i][0], sum(ratios[i])))
                self.assertEqual(q.parts[0].key, str(best + 1))


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
