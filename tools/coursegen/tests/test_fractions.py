"""Fractions: each family's worked solution read against a text written and
checked by hand, the figures' words against what the figures show, the
choices' slips against the options they name, and the working against
plain arithmetic."""

import html as htmllib
import random
import re
import unittest
from fractions import Fraction as Fr

from coursegen.build import render_solution
from coursegen.families import REGISTRY, families_of
from coursegen.plan import Slot
from coursegen.topics import fractions as fr
from coursegen.topics import load_all

from .markup import stacked
from .test_figures import figure_problems

load_all()


def _side(x):
    return f"({x})" if " " in x else x


def said(page):
    """A page as a pupil reads it, line by line: fractions written 3/4 (with
    brackets round working, (8 ÷ 2)/(12 ÷ 2)), mixed numbers 2 3/4, pictures
    by their words."""
    page = stacked(page)
    page = re.sub(r'(\d)(<span class="frac">)', r"\1 \2", page)
    page = re.sub(r'<span class="frac"><span class="num">([^<]*)</span><span class="den">([^<]*)</span></span>',
                  lambda m: f"{_side(m[1])}/{_side(m[2])}", page)
    page = re.sub(r"</?(?:p|li|ol|ul|div)\b[^>]*>", "\n", page)
    page = re.sub(r'<img[^>]*alt="([^"]*)"[^>]*>', r"[figure: \1]", page)
    page = htmllib.unescape(re.sub(r"<[^>]+>", "", page)).replace("\u00a0", " ")
    return "\n".join(line.strip() for line in page.split("\n") if line.strip())


def slots(kinds):
    return tuple(Slot(k, 1) for k in kinds)


def worked(name, kinds, level, seed):
    """The question a family makes from seed, and its solution as read."""
    q = REGISTRY[name].make(random.Random(seed), level, slots(kinds))
    return q, said(render_solution(20011, q, slots(kinds))[0])


def draws(name, kinds, level, seeds=40):
    for seed in range(seeds):
        try:
            yield REGISTRY[name].make(random.Random(f"draw:{seed}"), level, slots(kinds))
        except ValueError:
            continue


def value(html):
    """The number an option or a piece of page shows: 3/4, 2 1/3, 7."""
    text = said(html)
    m = re.fullmatch(r"(?:(\d+) )?(\d+)/(\d+)|(\d+)", text)
    if m[4]:
        return Fr(int(m[4]))
    return int(m[1] or 0) + Fr(int(m[2]), int(m[3]))


# (family, kinds, level, seed): the solution worked out by hand.
HAND = {
    ("frac.equivalent", "N", 2, 3): """\
Simplify the fraction: divide its top and bottom by 5, the greatest number that divides both 5 and 20.
5/20 = (5 ÷ 5)/(20 ÷ 5) = 1/4
The top number 1 became 7. Find what it was multiplied by.
7 ÷ 1 = 7
Multiply the bottom by the same number, 7.
4 × 7 = 28, so 5/20 = 7/28
Answer: 28""",
    ("frac.simplest", "F", 1, 3): """\
Find the greatest number that divides both 4 and 24 exactly. It is 4:
4 = 4 × 1 and 24 = 4 × 6
Divide the top and the bottom by 4. Only 1 divides both 1 and 6 now, so the fraction is in its simplest form.
4/24 = (4 ÷ 4)/(24 ÷ 4) = 1/6
Answer: 1/6""",
    ("frac.to-mixed", "X", 2, 1): """\
Simplify the fraction: divide its top and bottom by 3, the greatest number that divides both 87 and 12.
87/12 = (87 ÷ 3)/(12 ÷ 3) = 29/4
Change 29/4 to a mixed number: divide the top by the bottom. The answer is the whole number and the remainder is the top of the fraction.
29 ÷ 4 = 7 remainder 1, so 29/4 = 7 1/4
Answer: 7 1/4""",
    ("frac.to-improper", "F", 1, 1): """\
Each whole is 5/5, so 1 whole is 1 × 5 = 5 parts of 1/5. Add the 3 parts of the fraction.
5 + 3 = 8, so 1 3/5 = 8/5
Answer: 8/5""",
    ("frac.compare", "Q", 1, 1): """\
Write the fractions with the same bottom number, 36, so they can be compared.
3/4 = 27/36, 1/6 = 6/36, 7/12 = 21/36, 7/9 = 28/36
With the same bottom number, the greatest fraction has the greatest top number.
The greatest is 28/36 = 7/9
With the bottom number 36, 7/9 has the greatest top number, 28.
Answer: (3) 7/9
Why not the other options:
(1) 7/12: takes the greater bottom number, 12, for the greater fraction, but its parts are smaller
(2) 3/4: counts only the missing parts: it is 1 part short of a whole, fewer than 7/9, but its parts are bigger
(4) 1/6: looks only at the size of the parts: they are bigger, but there is only one of them""",
    ("frac.add-subtract", "F", 3, 2): """\
Write the fractions with the same bottom number, 12: it is the smallest number that both 3 and 4 divide into exactly.
2 1/3 = 2 4/12, 1 3/4 = 1 9/12
4/12 is less than 9/12, so change 1 of the 2 wholes into 12/12.
2 4/12 = 1 16/12
Subtract the whole numbers, then subtract the fractions.
1 16/12 − 1 9/12 = 7/12
Answer: 7/12""",
    ("frac.multiply", "X", 3, 1): """\
Change 2 1/4 to an improper fraction: 2 × 4 + 1 = 9.
2 1/4 = 9/4
Multiply the top by 2. The bottom stays 4.
9/4 × 2 = 18/4
Simplify the fraction: divide its top and bottom by 2, the greatest number that divides both 18 and 4.
18/4 = (18 ÷ 2)/(4 ÷ 2) = 9/2
Change 9/2 to a mixed number: divide the top by the bottom. The answer is the whole number and the remainder is the top of the fraction.
9 ÷ 2 = 4 remainder 1, so 9/2 = 4 1/2
Answer: 4 1/2""",
    ("frac.divide", "N", 3, 1): """\
The number of jugs is how many times 1/3 ℓ goes into 4 ℓ. There are 3 parts of 1/3 in each whole, so in 4 wholes there are 4 × 3.
4 ÷ 1/3 = 4 × 3 = 12
Answer: 12 jugs""",
    ("frac.of-quantity", "N", 3, 1): """\
Change 3 kg to g.
3 kg = 3 × 1000 g = 3000 g
To find 1/4 of 3000 g, divide it into 4 equal parts.
3000 ÷ 4 = 750
Answer: 750 g""",
    ("frac.whole-from-part", "N", 3, 4): """\
Draw the book as 4 equal units. 3/4 of it is 3 units, which are 12. Find 1 unit.
12 ÷ 3 = 4
[figure: A bar model of 4 equal units. The whole bar is marked “the book: ? pages”. The first 3 units are shaded and marked “12 pages read”.]
The whole is 4 units.
4 × 4 = 16
Answer: 16 pages""",
    ("frac.remainder", "N", 3, 1): """\
Draw the money she had at first as 16 equal units. 3/8 of 16 units is 6 units, spent on the bag.
3/8 of 16 = 16 ÷ 8 × 3 = 6; 16 − 6 = 10 units remain
1/2 of the remaining 10 units is spent on the cap, and the rest is left.
1/2 of 10 = 10 ÷ 2 = 5; 10 − 5 = 5 units are left
[figure: A bar model of 16 equal units. The whole bar is marked “?”. The first 6 units are shaded and marked “bag”. The next 5 units are shaded and marked “cap”. The next 5 units are marked “$75 left”.]
5 units are $75. Find 1 unit.
$75 ÷ 5 = $15
At first she had 16 units.
16 × $15 = $240
Answer: $240""",
    ("frac.shaded", "F", 2, 1): """\
Count the parts: 4 of the 12 equal parts are shaded. Take them away to find the parts that are not shaded.
12 − 4 = 8
8 of the 12 parts are not shaded. Simplify the fraction: divide its top and bottom by 4, the greatest number that divides both 8 and 12.
8/12 = (8 ÷ 4)/(12 ÷ 4) = 2/3
Answer: 2/3""",
    ("frac.number-line", "X", 1, 1): """\
From 0 to 1 the line is divided into 4 equal parts, so each part is 1/4.
The arrow is 2 parts to the right of 2.
2 + 2 × 1/4 = 2 2/4
Simplify the fraction: divide its top and bottom by 2, the greatest number that divides both 2 and 4.
2 2/4 = 2 (2 ÷ 2)/(4 ÷ 2) = 2 1/2
Answer: 2 1/2""",
    ("frac.of-set", "F", 3, 1): """\
Find how many marbles there are altogether.
8 + 15 + 19 = 42
The marbles that are not red are the green and the white ones.
15 + 19 = 34
34 of the 42 marbles are not red. Simplify the fraction: divide its top and bottom by 2, the greatest number that divides both 34 and 42.
34/42 = (34 ÷ 2)/(42 ÷ 2) = 17/21
Answer: 17/21""",
    ("frac.measure-fraction", "F", 3, 1): """\
Change 2 hours to minutes, so both amounts are in the same unit.
2 hours = 2 × 60 minutes = 120 minutes
114 minutes out of 120 minutes is 114/120. Simplify the fraction: divide its top and bottom by 6, the greatest number that divides both 114 and 120.
114/120 = (114 ÷ 6)/(120 ÷ 6) = 19/20
Answer: 19/20""",
    ("frac.before-after", "N", 2, 1): """\
Draw the jug as 4 equal units. It was 3/4 full and then 2/4 full, so the water poured out was 1 unit. That unit is 350 mℓ.
3/4 − 2/4 = 1/4
[figure: A bar model of 4 equal units. The whole bar is marked “capacity: ?”. The first 2 units are marked “still in the jug”. The next unit is shaded and marked “350 mℓ poured out”. The next unit is marked “empty”.]
The whole jug is 4 units.
350 × 4 = 1400
Answer: 1400 mℓ""",
    ("frac.word-problem", "X", 2, 1): """\
6 is a multiple of 3, so write the fraction with the bottom number 6: multiply the top and the bottom by the same number.
3 1/3 = 3 2/6
Take away the water Ivy used. 2/6 is less than 5/6, so change 1 of the 3 wholes into 6/6.
3 2/6 = 2 8/6
Subtract the whole numbers, then subtract the fractions.
2 8/6 − 2 5/6 = 3/6
Add the water Marcus poured in. Add the whole numbers, then add the fractions.
3/6 + 3 2/6 = 3 5/6
Answer: 3 5/6 ℓ""",
    ("frac.story-sold", "NN", 2, 1): """\
(a)
Find 1/3 of 30 curry puffs: divide it into 3 equal parts.
30 ÷ 3 = 10
2/3 is 2 of those parts.
10 × 2 = 20
Answer (a): 20 curry puffs
(b)
Find how many curry puffs remained after the morning.
30 − 20 = 10
1/2 of the remaining curry puffs were sold in the afternoon.
1/2 of 10 = 10 ÷ 2 = 5
[figure: A bar model of 6 equal units. The whole bar is marked “30 curry puffs”. The first 4 units are shaded and marked “morning: 20”. The next unit is shaded and marked “afternoon: 5”. The next unit is marked “left: ?”.]
Take away the curry puffs sold in the afternoon.
10 − 5 = 5
Answer (b): 5 curry puffs""",
    ("frac.story-spending", "FN", 2, 1): """\
(a)
Add the two fractions to find how much was spent. Write the fractions with the same bottom number, 15: it is the smallest number that both 3 and 5 divide into exactly.
1/3 = 5/15, 1/5 = 3/15
Add the tops. The bottom number stays 15.
5/15 + 3/15 = 8/15
Answer (a): 8/15
(b)
Draw his money as 15 equal units: 5 for food and 3 for clothes, so 7 units are left.
15 − 5 − 3 = 7
[figure: A bar model of 15 equal units. The whole bar is marked “at first: ?”. The first 5 units are shaded and marked “food”. The next 3 units are shaded and marked “clothes”. The next 7 units are marked “$560 left”.]
7 units are $560. Find 1 unit.
$560 ÷ 7 = $80
At first he had 15 units.
$80 × 15 = $1200
Answer (b): $1200""",
    ("frac.story-ribbon", "NN", 2, 1): """\
(a)
1 m = 100 cm. Change the whole metres and the fraction of a metre to centimetres and add them.
3 1/2 m = 3 × 100 cm + 1/2 × 100 cm = 300 cm + 50 cm = 350 cm
Answer (a): 350 cm
(b)
Add the two lengths to find the ribbon used.
3 1/2 + 1 7/8 = 3 4/8 + 1 7/8 = 5 3/8
Find the ribbon left: take the ribbon used away from 10 m.
10 − 5 3/8 = 9 8/8 − 5 3/8 = 4 5/8
Find how many pieces 1/8 m long there are in 4 5/8 m: divide by 1/8, which is the same as multiplying by 8.
4 5/8 ÷ 1/8 = 37/8 × 8 = 37
Answer (b): 37 pieces""",
    ("frac.story-class", "NN", 2, 1): """\
(a)
Find 1/4 of 32 pupils: divide it into 4 equal parts.
32 ÷ 4 = 8
3/4 is 3 of those parts.
8 × 3 = 24
Answer (a): 24 pupils
(b)
Find how many pupils do not walk.
32 − 24 = 8
1/2 of the rest come by bus.
1/2 of 8 = 8 ÷ 2 = 4
[figure: A bar model of 8 equal units. The whole bar is marked “32 pupils”. The first 6 units are shaded and marked “walk: 24”. The next unit is shaded and marked “bus: 4”. The next unit is marked “car: ?”.]
The others come by car.
8 − 4 = 4
Answer (b): 4 pupils""",
    ("frac.equivalent-choice", "Q", 2, 1): """\
An equal fraction has its top and its bottom multiplied by the same number. Check each option.
3/12 = (1 × 3)/(4 × 3), 5/20 = (1 × 5)/(4 × 5), 6/24 = (1 × 6)/(4 × 6)
In 1/16 the top and the bottom are not multiplied by the same number.
1 ÷ 1 = 1 but 16 ÷ 4 = 4
The top and the bottom of 1/16 are not the same multiple of 1 and 4, so it is not equal to 1/4.
Answer: (3) 1/16
Why not the other options:
(1) 6/24: is equal to 1/4, though it looks different: 1 × 6 = 6 and 4 × 6 = 24
(2) 3/12: is equal to 1/4, though it looks different: 1 × 3 = 3 and 4 × 3 = 12
(4) 5/20: is equal to 1/4, though it looks different: 1 × 5 = 5 and 4 × 5 = 20""",
    ("frac.shaded-choice", "Q", 2, 1): """\
Count the shaded parts and all the parts of each strip.
(1) 3 of 12, (2) 1 of 12, (3) 3 of 16, (4) 4 of 12
1/4 of 12 parts is 3 parts, so the strip must have 3 of its 12 parts shaded: that is option 1. Gathered in groups of 3, the strip is 4 equal groups with 1 of them shaded.
1/4 = 3/12
[figure: A strip of 12 equal parts with 3 of them shaded, marked off into 4 groups of 3 parts; 1 group is shaded]
3 of 12 equal parts is 3/12 = 1/4.
Answer: (1)
Why not the other options:
(2)  shades 1 of 12 parts, the top number, as if the strip had 4 parts
(3)  shades 3 parts, the right number, but of 16 parts, not 12
(4)  shades one part too many: 4 of 12 parts""",
    ("frac.order", "Q", 3, 1): """\
Write the fractions with the same bottom number, 40.
1 3/5 = 1 24/40, 3/10 = 12/40, 1 1/8 = 1 5/40
Compare the whole numbers first, then the top numbers.
12/40, 1 5/40, 1 24/40
Written with the bottom number 40, the numbers go up in this order.
Answer: (2) 3/10, 1 1/8, 1 3/5
Why not the other options:
(1) 3/10, 1 3/5, 1 1/8: orders them by their bottom numbers, as if more parts made a greater fraction
(3) 1 1/8, 3/10, 1 3/5: compares only the fractions and forgets the whole numbers
(4) 1 3/5, 1 1/8, 3/10: lists them from the greatest to the smallest, the wrong way round""",
    ("frac.estimate", "Q", 2, 1): """\
Round each mixed number to the nearest whole number: a fraction close to 1 rounds it up, a fraction close to 0 rounds it down.
4 1/9 is about 4, 4 1/8 is about 4, 6 8/9 is about 7
Add the rounded numbers.
4 + 4 + 7 = 15
Each number rounded to the nearest whole number gives 4 + 4 + 7 = 15.
Answer: (3) 15
Why not the other options:
(1) 14: adds only the whole numbers and drops the fractions
(2) 16: rounds 4 1/9 up, though its fraction is close to 0
(4) 17: rounds every number up, though 1/9 and 1/8 are close to 0""",
}


class WorkedByHand(unittest.TestCase):
    def test_every_family_has_a_solution_checked_by_hand(self):
        self.assertEqual({name for name, *_ in HAND}, {f.name for f in families_of(fr.TOPIC)})
        for (name, kinds, level, seed), text in HAND.items():
            with self.subTest(name):
                self.assertEqual(worked(name, kinds, level, seed)[1], text)


class FiguresSayWhatTheyShow(unittest.TestCase):
    def test_bar_models(self):
        """Every solution figure fits its frame, and its words give the
        units, the shaded ones and every label it draws."""
        cases = [("frac.remainder", "F", 2), ("frac.remainder", "N", 3), ("frac.before-after", "N", 2),
                 ("frac.whole-from-part", "N", 2), ("frac.multiply", "N", 3), ("frac.story-sold", "NN", 2),
                 ("frac.story-spending", "FN", 2), ("frac.story-class", "NN", 2)]
        seen = 0
        for name, kinds, level in cases:
            for q in draws(name, kinds, level):
                for step in q.solution.steps:
                    if step.figure is None:
                        continue
                    seen += 1
                    svg, alt = step.figure.svg, step.figure.alt
                    self.assertEqual(figure_problems(svg), [], name)
                    boxes = re.findall(r'<rect [^>]*height="34" [^>]*fill="([^"]+)"', svg)
                    self.assertIn(f"A bar model of {len(boxes)} equal units.", alt)
                    said_shaded = sum(int(c or 1) for c in re.findall(r"(?:first|next) (\d+ )?units? (?:is|are) shaded", alt))
                    self.assertEqual(said_shaded, boxes.count("url(#hatch)"), alt)
                    for label in re.findall(r"<text[^>]*>([^<]+)</text>", svg):
                        self.assertIn(f"\u201c{htmllib.unescape(label)}\u201d", alt)
        self.assertGreater(seen, 200)

    def test_number_line_arrow(self):
        for kind, level in (("F", 1), ("X", 2)):
            for q in draws("frac.number-line", kind, level):
                svg, alt = q.figures[0].svg, q.figures[0].alt
                d = int(re.search(r"divided into (\d+) equal parts", alt)[1])
                j, w = map(int, re.search(r"the mark (\d+) parts? to the right of (\d+)", alt).groups())
                whole = int(re.search(r"from 0 to (\d+)", alt)[1])
                x = float(re.search(r'<line x1="([\d.]+)" y1="6"', svg)[1])
                self.assertAlmostEqual(x, 30 + 500 * (w * d + j) / (whole * d), places=1)
                self.assertEqual(w + Fr(j, d), sum(Fr(t) for t in q.parts[0].key.split()))

    def test_shaded_parts_are_counted_right(self):
        for level in (1, 2):
            for q in draws("frac.shaded", "F", level):
                hatched = q.figures[0].svg.count('fill="url(#hatch)"')
                self.assertEqual(int(re.search(r"(\d+) of them are shaded", q.figures[0].alt)[1]), hatched)
        for q in draws("frac.shaded-choice", "Q", 3):
            for f in q.figures + [s.figure for s in q.solution.steps if s.figure]:
                total, shaded = map(int, re.search(r"strip of (\d+) equal parts with (\d+)", f.alt).groups())
                self.assertEqual(f.svg.count("<rect x="), total)
                self.assertEqual(f.svg.count('fill="url(#hatch)"'), shaded)


class SlipsNameTheirOptions(unittest.TestCase):
    def test_comparing(self):
        """Each wrong option is less than the greatest (more than the
        smallest), and what its slip says of it is true."""
        for level in (1, 3):
            for q in draws("frac.compare", "Q", level):
                part = q.parts[0]
                key = value(part.options[int(part.key) - 1])
                greatest = "smallest" not in part.prompt
                for option, slip in zip(part.options, part.slips):
                    v = value(option)
                    if slip is None:
                        continue
                    self.assertTrue(v < key if greatest else v > key)
                    m = re.search(r"top numbers: (\d+) is (more|less) than (\d+)", slip)
                    if m:
                        self.assertEqual((int(m[1]), int(m[3])), (v.numerator, key.numerator))
                        self.assertEqual(m[2] == "more", v.numerator > key.numerator)
                    m = re.search(r"takes the (greater|smaller) bottom number, (\d+)", slip)
                    if m:
                        self.assertEqual(int(m[2]), v.denominator)
                        self.assertEqual(m[1] == "greater", v.denominator > key.denominator)
                    m = re.search(r"it is (\d+) parts? short", slip)
                    if m:
                        self.assertEqual(int(m[1]), v.denominator - v.numerator)
                        self.assertLess(int(m[1]), key.denominator - key.numerator)

    def test_ordering(self):
        for level in (2, 3):
            for q in draws("frac.order", "Q", level):
                part = q.parts[0]
                lists = [[value(x) for x in o.split(", ")] for o in part.options]
                right = lists[int(part.key) - 1]
                self.assertEqual(right, sorted(right))
                for got, slip in zip(lists, part.slips):
                    if slip and "wrong way round" in slip:
                        self.assertEqual(got, right[::-1])
                    elif slip and "top numbers only" in slip:
                        self.assertEqual(got, sorted(got, key=lambda v: (v - int(v)).numerator))
                    elif slip and "forgets the whole numbers" in slip:
                        self.assertEqual(got, sorted(got, key=lambda v: v - int(v)))

    def test_estimates(self):
        for q in draws("frac.estimate", "Q", 2):
            part = q.parts[0]
            nums = [value(x) for x in re.split(r" \+ ", said(part.prompt).split(" of ")[1].rstrip("?"))]
            options = [int(o) for o in part.options]
            self.assertEqual(sorted(options), list(range(min(options), min(options) + 4)))
            self.assertEqual(options[int(part.key) - 1], sum(round(x) for x in nums))
            for option, slip in zip(options, part.slips):
                if slip and "only the whole numbers" in slip:
                    self.assertEqual(option, sum(int(x) for x in nums))
                if slip and "every number up" in slip:
                    self.assertEqual(option, sum(int(x) + 1 for x in nums))


class Working(unittest.TestCase):
    def test_adding_and_subtracting_as_taught(self):
        rng = random.Random(7)
        for _ in range(300):
            a = rng.randint(0, 5) + fr.proper(rng, [2, 3, 4, 5, 6, 8, 9, 10, 12])
            b = rng.randint(0, 3) + fr.proper(rng, [2, 3, 4, 5, 6, 8, 10])
            op = rng.choice(["+", fr.MINUS])
            if op != "+":
                a, b = max(a, b), min(a, b)
            steps, result = fr.add_sub(a, b, op)
            self.assertEqual(result, a + b if op == "+" else a - b)
            self.assertTrue(1 <= len(steps) <= 4)
            regrouped = any("change 1 of the" in s.say for s in steps)
            self.assertEqual(regrouped, op != "+" and (a - int(a)) < (b - int(b)))

    def test_units_of_a_remainder_bar(self):
        # 1/3 then 1/4 of the rest: 6 units, 2 and then 1 of the 4 left.
        self.assertEqual(fr.remainder_units(Fr(1, 3), Fr(1, 4)), (6, 2, 1))
        # 3/8 then 1/2 of the rest: 5 units left over cannot be halved, so 16.
        self.assertEqual(fr.remainder_units(Fr(3, 8), Fr(1, 2)), (16, 6, 5))
        self.assertEqual(fr.remainder_units(Fr(2, 5), Fr(2, 3)), (5, 2, 2))

    def test_written_over_a_bottom_number(self):
        self.assertEqual(said(fr.over(Fr(9, 4), 8)), "2 2/8")
        self.assertEqual(said(fr.over(Fr(3), 4)), "3")
        with self.assertRaises(ValueError):
            fr.over(Fr(1, 3), 4)


if __name__ == "__main__":
    unittest.main()
