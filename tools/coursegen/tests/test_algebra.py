"""Algebra: solvers against worked examples, and the pages read back as
arithmetic: an equation's key must satisfy it, a simplified option must
agree with the expression it simplifies, and the wrong options must not."""

import random
import re
import unittest
from fractions import Fraction

from coursegen import plan as shape
from coursegen.build import build_topic, check
from coursegen.families import families_of
from coursegen.model import key_problem
from coursegen.topics import algebra as al
from coursegen.topics import load_all

from .markup import stacked

load_all()
TOPIC = 10


def made(family, kinds, level, seeds=60):
    slots = tuple(shape.Slot(k, 1) for k in kinds)
    out = []
    for seed in range(seeds):
        try:
            out.append(family.make(random.Random(seed), level, slots))
        except ValueError:
            pass
    return out


def flat(html):
    return re.sub(r"\s+", " ", re.sub(r"<[^>]+>", "", html)).strip()


def as_python(html):
    """An expression as the page shows it, rewritten for eval: stacked
    fractions become divisions, 5p becomes 5*p, the signs become ASCII."""
    html = stacked(html)
    html = re.sub(r'<span class="frac"><span class="num">(.*?)</span><span class="den">(.*?)</span></span>',
                  r"((\1)/(\2))", html)
    text = flat(html).replace("\u2212", "-").replace("\u00d7", "*").replace("\u00f7", "/")
    return re.sub(r"(\d)\s*([a-z(])", r"\1*\2", text)


def at(expr, letter, x):
    return eval(expr, {}, {letter: Fraction(x)})


class Solvers(unittest.TestCase):
    def test_writing_expressions(self):
        self.assertEqual(flat(al.show((3, 10))), "3n + 10")
        self.assertEqual(flat(al.show((1, -5), "y")), "y \u2212 5")
        self.assertEqual(flat(al.show((-4, 20), "k")), "20 \u2212 4k")
        self.assertEqual(flat(al.show((-1, 9))), "9 \u2212 n")
        self.assertEqual(flat(al.show((4, 0))), "4n")
        self.assertEqual(as_python(al.show(("div", 4, 2))), "((n)/(4)) + 2")
        self.assertEqual(flat(al.show_sum([(5, True), (7, False), (-2, True), (3, False)])), "5n + 7 \u2212 2n + 3")
        with self.assertRaises(ValueError):
            al.show((-2, 0))

    def test_like_terms_and_values(self):
        # 3n + 2n - n = 4n; 5n + 7 - 2n + 3 = 3n + 10.
        self.assertEqual(al.collect([(3, True), (2, True), (-1, True)]), (4, 0))
        self.assertEqual(al.collect([(5, True), (7, False), (-2, True), (3, False)]), (3, 10))
        # 4n + 7 at n = 6 is 31; n/3 + 5 at n = 18 is 11.
        self.assertEqual(al.value((4, 7), 6), 31)
        self.assertEqual(al.value(("div", 3, 5), 18), 11)

    def test_equations(self):
        # 4n + 3 = 23: 4n = 20, n = 5.  5n - 7 = 38: 5n = 45, n = 9.
        self.assertEqual(al.solve_linear(4, 3, 23), 5)
        self.assertEqual(al.solve_linear(5, -7, 38), 9)
        # n / 8 - 18 = 19: n / 8 = 37, n = 296.
        self.assertEqual(al.solve_div(8, -18, 19), 296)

    def test_patterns(self):
        # 4, 7, 10, ...: term 20 is 4 + 19 x 3 = 61, and 61 is term 20.
        self.assertEqual(al.nth_term(4, 3, 20), 61)
        self.assertEqual(al.term_number(4, 3, 61), 20)
        with self.assertRaises(ValueError):
            al.term_number(4, 3, 62)


class Pages(unittest.TestCase):
    def fam(self, name):
        return next(f for f in families_of(TOPIC) if f.name == name)

    def test_equation_keys_satisfy_the_equation(self):
        for level in (1, 2, 3):
            for q in made(self.fam("algebra.solve"), "N", level):
                eq = re.search(r"equation (.*?)\. What", q.text)[1]
                left, right = as_python(eq).split("=")
                letter = re.search(r"value of <i>(\w)</i>", q.text)[1]
                self.assertEqual(at(left, letter, Fraction(q.parts[0].key)), at(right, letter, 0), eq)

    def test_evaluate_keys_are_the_value_shown(self):
        for level in (1, 2, 3):
            for q in made(self.fam("algebra.evaluate"), "N", level):
                m = re.search(r"value of (.*) when <i>(\w)</i> = (\d+)", q.text)
                self.assertEqual(at(as_python(m[1]), m[2], int(m[3])), Fraction(q.parts[0].key), m[0])

    def test_simplified_option_alone_agrees_with_the_sum(self):
        for level in (1, 2, 3):
            for q in made(self.fam("algebra.simplify"), "Q", level):
                part = q.parts[0]
                letter = re.search(r"<i>(\w)</i>", part.prompt)[1]
                given = as_python(re.search(r"Simplify (.*)\.", part.prompt)[1])
                for i, option in enumerate(part.options, 1):
                    agrees = all(at(as_python(option), letter, x) == at(given, letter, x) for x in (2, 3, 7))
                    self.assertEqual(agrees, part.key == str(i), f"{part.prompt} {option}")

    def test_pattern_options_fit_the_terms_shown(self):
        for q in made(self.fam("algebra.number-pattern"), "Q", 2):
            terms = [int(t) for t in re.findall(r"<td>(\d+)</td>", q.text)[4:8]]
            part = q.parts[0]
            for i, option in enumerate(part.options, 1):
                fits = [at(as_python(option), "n", k) for k in (1, 2, 3, 4)] == terms
                self.assertEqual(fits, part.key == str(i), option)
        for q in made(self.fam("algebra.pattern"), "Q", 3):
            counts = [int(c) for c in re.findall(r"(\d+)(?:,| and| sticks)", q.figures[0].alt)[-3:]]
            right = q.parts[0].options[int(q.parts[0].key) - 1]
            letter = re.search(r"Figure <i>(\w)</i>", q.parts[0].prompt)[1]
            self.assertEqual([at(as_python(right), letter, k) for k in (1, 2, 3)], counts)

    def test_balance_key_balances_the_picture(self):
        for level in (1, 2):
            for q in made(self.fam("algebra.balance"), "N", level):
                svg = q.figures[0].svg
                boxes = len(re.findall(r'font-style="italic">\w<', svg))
                left, right = map(int, re.findall(r">(\d+) kg<", svg))
                self.assertEqual(boxes * int(q.parts[0].key) + left, right)

    def test_age_keys_give_the_sum_told(self):
        for q in made(self.fam("algebra.ages"), "N", 3):
            k, later, total = map(int, re.search(r"(\d+) times as old.*In (\d+) years.*will be (\d+)", q.text).groups())
            now = int(q.parts[0].key)
            self.assertEqual(now + later + k * now + later, total)

    def test_no_expression_is_typed(self):
        for fam in families_of(TOPIC):
            for kinds in fam.kinds:
                for level in fam.levels:
                    for q in made(fam, kinds, level, seeds=10):
                        for part, kind in zip(q.parts, kinds):
                            self.assertIn(kind, ("N", "Q"))
                            if kind == "N":
                                Fraction(part.key)


class Plan(unittest.TestCase):
    def test_every_planned_pattern_has_several_families(self):
        for paper in shape.papers_of(TOPIC):
            for qp in shape.paper_plan(paper):
                fits = [f for f in families_of(TOPIC) if f.fits(qp.kinds, qp.level) and not f.placeholder]
                self.assertGreaterEqual(len(fits), 3, f"{paper} q{qp.number} {qp.kinds} {qp.level}")

    def test_every_family_makes_well_formed_questions(self):
        for fam in families_of(TOPIC):
            for kinds in fam.kinds:
                for level in fam.levels:
                    qs = made(fam, kinds, level, seeds=30)
                    self.assertGreater(len(qs), 10, f"{fam.name} {kinds} {level} rejects most draws")
                    qp = shape.QuestionPlan(146, 1, 22711, level, tuple(shape.Slot(k, 1) for k in kinds))
                    for q in qs:
                        check(q, qp, fam.name)
                        self.assertIsNone(key_problem(kinds[0], q.parts[0].key, q.parts[0].options))
                        self.assertNotIn("\\u", q.text + q.parts[0].prompt)

    def test_topic_builds_without_placeholders(self):
        papers = build_topic(TOPIC)
        used = [q.family for paper in papers for q in paper.questions]
        self.assertFalse(any("placeholder" in f for f in used))
        self.assertGreaterEqual(len(set(used)), 9)


if __name__ == "__main__":
    unittest.main()
