"""Every family against the rules, and the pages of topics 1 to 3 read back:
the answer a pupil would work out from what the page shows must be the key."""

import random
import re
import unittest
from fractions import Fraction as Fr

from coursegen.build import check, plain, render
from coursegen.families import REGISTRY
from coursegen.plan import QuestionPlan, Slot
from coursegen.topics import load_all

from .markup import stacked

load_all()
SEEDS = 30


def draws(name, kinds, level, seeds=SEEDS):
    """The questions a family makes for a pattern, with the plan they answer."""
    fam = REGISTRY[name]
    slots = tuple(Slot(k, 1) for k in kinds)
    qp = QuestionPlan(101, 1, 20011, level, slots)
    out = []
    for seed in range(seeds):
        try:
            q = fam.make(random.Random(f"test:{seed}"), level, slots)
        except ValueError:
            continue
        out.append((qp, q))
    return out


def page_text(q, slots):
    """The page as plain text, stacked fractions written a/b and mixed
    numbers w+a/b, so the values can be read back."""
    html, _ = render(20011, q, slots)
    html = stacked(html)
    html = re.sub(r'(\d+)<span class="frac"><span class="num">(\d+)</span><span class="den">(\d+)</span></span>',
                  r" (\1+\2/\3) ", html)
    html = re.sub(r'<span class="frac"><span class="num">([^<]+)</span><span class="den">([^<]+)</span></span>',
                  r" (\1/\2) ", html)
    return plain(html).replace(",", "")


def value_of(key, kind):
    if kind == "X":
        w, f = key.split(" ")
        return int(w) + Fr(f)
    return Fr(key)


def evaluate(expr):
    expr = expr.replace("\u00d7", "*").replace("\u00f7", "/").replace("\u2212", "-")
    if not re.fullmatch(r"[\d\s.+\-*/()]+", expr):
        raise AssertionError(f"not arithmetic: {expr!r}")
    expr = re.sub(r"(\d+(?:\.\d+)?)", r'Fr("\1")', expr)
    return eval(expr, {"Fr": Fr})


class EveryFamilyKeepsTheRules(unittest.TestCase):
    def test_every_pattern_and_level_it_claims(self):
        for name, fam in REGISTRY.items():
            for kinds in fam.kinds:
                for level in fam.levels:
                    made = draws(name, kinds, level)
                    self.assertGreaterEqual(len(made), SEEDS // 3,
                                            f"{name} {kinds} level {level} rejects most draws")
                    texts = set()
                    for qp, q in made:
                        check(q, qp, name)          # raises on a broken rule
                        html, figures = render(qp.qid, q, qp.slots)
                        texts.add((plain(html), tuple(figures.values())))
                    self.assertGreater(len(texts), len(made) // 2, f"{name} repeats itself")


class ArithmeticReadsBack(unittest.TestCase):
    """Pages that show a sum: the sum of the numbers shown is the key."""

    CASES = [("whole.times-ten", "N", 1), ("whole.long-multiplication", "N", 2),
             ("dec.add-subtract", "N", 1), ("dec.add-subtract", "N", 2),
             ("dec.multiply-divide", "N", 1), ("dec.multiply-divide", "N", 2),
             ("frac.add-subtract", "F", 1), ("frac.add-subtract", "F", 2),
             ("frac.add-subtract", "X", 3), ("frac.multiply", "F", 2), ("frac.multiply", "X", 3),
             ("frac.multiply", "N", 1), ("frac.divide", "F", 2), ("frac.divide", "N", 2),
             ("frac.divide", "X", 2), ("whole.division", "N", 1)]

    def test_cases(self):
        checked = 0
        for name, kind, level in self.CASES:
            for qp, q in draws(name, (kind,), level):
                text = page_text(q, qp.slots)
                m = re.search(r"(?:Work out )?([\d\s.+\u2212\u00d7\u00f7()/]+?)\s*=\s*\?", text) or \
                    re.search(r"Work out ([\d\s.+\u2212\u00d7\u00f7()/]+)\.", text)
                if not m or "?" in m[1]:
                    continue                         # a missing-number form: read below
                self.assertEqual(evaluate(m[1]), value_of(q.parts[0].key, kind), f"{name}: {text}")
                checked += 1
        self.assertGreater(checked, 200)

    def test_missing_factor(self):
        for qp, q in draws("whole.times-ten", ("N",), 1, 60):
            text = page_text(q, qp.slots)
            m = re.search(r"\? \u00d7 (\d+) = (\d+)", text)
            if m:
                self.assertEqual(int(m[2]), int(m[1]) * int(q.parts[0].key))


class ChoicesPointAtTheRightOption(unittest.TestCase):
    def options(self, q):
        return [Fr(evaluate(page_text_of(o))) for o in q.parts[0].options]

    def test_greatest_and_smallest(self):
        for name, level in [("whole.compare", 1), ("dec.compare", 1), ("frac.compare", 1)]:
            for qp, q in draws(name, ("Q",), level):
                values = self.options(q)
                picked = values[int(q.parts[0].key) - 1]
                want = max(values) if "greatest" in q.parts[0].prompt else min(values)
                self.assertEqual(picked, want, f"{name}: {q.parts[0].prompt}")

    def test_closest(self):
        for name, level in [("dec.compare", 3), ("frac.compare", 3)]:
            for qp, q in draws(name, ("Q",), level):
                values = self.options(q)
                m = re.search(r"closest to (.+)\?", page_text_of(q.parts[0].prompt))
                target = evaluate(m[1])
                best = min(values, key=lambda v: abs(v - target))
                self.assertEqual(values[int(q.parts[0].key) - 1], best)

    def test_common_factor_and_prime(self):
        for qp, q in draws("whole.factors", ("Q",), 1):
            a, b = map(int, re.findall(r"\d+", q.parts[0].prompt))
            picks = [int(o) for o in q.parts[0].options]
            good = [x for x in picks if a % x == 0 and b % x == 0]
            self.assertEqual(good, [picks[int(q.parts[0].key) - 1]])
        for qp, q in draws("whole.primes", ("Q",), 1):
            picks = [int(o) for o in q.parts[0].options]
            primes = [x for x in picks if all(x % d for d in range(2, x))]
            self.assertEqual(primes, [picks[int(q.parts[0].key) - 1]])


def page_text_of(html):
    return page_text_html(html)


def page_text_html(html):
    html = stacked(html)
    html = re.sub(r'(\d+)<span class="frac"><span class="num">(\d+)</span><span class="den">(\d+)</span></span>',
                  r" (\1+\2/\3) ", html)
    html = re.sub(r'<span class="frac"><span class="num">([^<]+)</span><span class="den">([^<]+)</span></span>',
                  r" (\1/\2) ", html)
    return plain(html).replace(",", "")


class DiagramsShowTheAnswer(unittest.TestCase):
    def test_number_line_arrow(self):
        made = [d for name in ("dec.number-line", "whole.number-line") for level in (1, 2)
                for d in draws(name, ("N",), level)]
        for qp, q in made:
            svg = q.figures[0].svg
            labels = [Fr(t.replace(",", "")) for t in re.findall(r"<text[^>]*>([\d.,]+)</text>", svg)]
            arrow_x = float(re.search(r'<line x1="([\d.]+)" y1="8"', svg)[1])
            lo, hi = min(labels), max(labels)
            value = lo + (hi - lo) * Fr(arrow_x - 30).limit_denominator(1000) / 500
            self.assertEqual(value.limit_denominator(1000), Fr(q.parts[0].key))

    def test_shaded_fraction(self):
        for level in (1, 2):
            for qp, q in draws("frac.shaded", ("F",), level):
                svg = q.figures[0].svg
                pieces = re.findall(r"<(?:rect|path) [^>]*fill=\"([^\"]+)\"", svg)
                pieces = [f for f in pieces if f in ("url(#hatch)", "#fff")]
                shaded = Fr(pieces.count("url(#hatch)"), len(pieces))
                want = shaded if level == 1 else 1 - shaded
                self.assertEqual(want, Fr(q.parts[0].key))

    def test_sticks_pattern(self):
        for qp, q in draws("whole.number-pattern", ("N",), 3):
            svg = q.figures[0].svg
            asked = re.search(r"Figure (\d+)\?", q.parts[0].prompt)
            if asked:
                k, sticks = int(asked[1]), int(q.parts[0].key)
            else:
                k, sticks = int(q.parts[0].key), int(re.search(r"(\d+) sticks", q.parts[0].prompt)[1])
            squares = svg.count("<rect") // 6 if "<rect" in svg else 0
            if squares:     # 1 + 2 + 3 squares drawn: 4, 7, 10 sticks
                self.assertEqual(sticks, 3 * k + 1)
            else:           # 1 + 2 + 3 triangles drawn: 3, 5, 7 sticks
                self.assertEqual(svg.count("<polygon"), 6)
                self.assertEqual(sticks, 2 * k + 1)


class TextAnswers(unittest.TestCase):
    def test_names_come_from_the_question(self):
        for level in (1, 2, 3):
            for qp, q in draws("whole.who-has-most", ("T",), level):
                self.assertIn(q.parts[0].key, q.text)

    def test_decimal_places_as_asked(self):
        for level in (1, 2, 3):
            for qp, q in draws("dec.round", ("T",), level):
                places = int(re.search(r"to (\d) decimal place", q.parts[0].form)[1])
                self.assertEqual(len(q.parts[0].key.split(".")[1]), places)


if __name__ == "__main__":
    unittest.main()
