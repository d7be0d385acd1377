"""Algebra: solvers against worked examples, and the pages read back as
arithmetic: an equation's key must satisfy it, a simplified option must
agree with the expression it simplifies, and the wrong options must not."""

import random
import re
import unittest
from fractions import Fraction

from coursegen import plan as shape
from coursegen.build import build_topic, check, render
from coursegen.families import families_of
from coursegen.model import key_problem
from coursegen.topics import algebra as al
from coursegen.topics import load_all

from .markup import stacked
from .test_figures import figure_problems
from .test_whole_numbers import check_worked

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
            k, later, total = map(int, re.search(r"(\d+) times as old.*In (\d+)\s+years.*will be (\d+)", q.text).groups())
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


class WorkedByHand(unittest.TestCase):
    def test_algebra(self):
        check_worked(self, EXPECTED, TOPIC)


class WorkingAndPictures(unittest.TestCase):
    def fam(self, name):
        return next(f for f in families_of(TOPIC) if f.name == name)

    def test_every_fraction_is_spoken_whole(self):
        seen = 0
        for fam in families_of(TOPIC):
            for kinds in fam.kinds:
                for level in fam.levels:
                    for q in made(fam, kinds, level, seeds=15):
                        slots = tuple(shape.Slot(k, 1) for k in kinds)
                        page, _ = render(22711, q, slots)
                        fracs = re.findall(r'<span class="frac">(.*?</span>){2}(<span class="sr">[^<]*</span>)?', page)
                        self.assertTrue(all(sr for _, sr in fracs), page)
                        seen += len(fracs)
        self.assertGreater(seen, 10)

    def test_balance_working_takes_the_mass_off_both_pans(self):
        for level in (1, 2):
            for q in made(self.fam("algebra.balance"), "N", level):
                left, right = map(int, re.findall(r">(\d+) kg<", q.figures[0].svg))
                taken = q.solution.steps[0].figure.svg
                self.assertEqual(re.findall(r">(\d+) kg<", taken), [str(right - left)])
                boxes = len(re.findall(r'font-style="italic">\w<', q.figures[0].svg))
                self.assertEqual(len(re.findall(r'font-style="italic">\w<', taken)), boxes)
                self.assertEqual(figure_problems(taken), [])

    def test_pattern_slips_give_the_values_they_say(self):
        for name, level in (("algebra.pattern", 2), ("algebra.number-pattern", 2)):
            for q in made(self.fam(name), "Q", level):
                part = q.parts[0]
                letter = re.search(r"<i>(\w)</i>", part.prompt)[1]
                for option, slip in zip(part.options, part.slips):
                    m = re.search(r"gives (\d+) for (?:Figure|term number) (\d)", slip or "")
                    if m:
                        self.assertEqual(at(as_python(option), letter, int(m[2])), int(m[1]), slip)


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


EXPECTED = {
    ('algebra.write-expression', 'Q', 1, 0): 
"""Q: Wen has w cards. Isaac has 9 times as many cards as Wen. | How many cards does Isaac have? | (1) w − 9 | (2) w + 9 | (3) w/9 | (4) 9w | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
9 times as many as w is 9 × w, written without the × sign.
9 × w = 9w
9w is Isaac’s number of cards written with Wen’s w.
Answer: (4) 9w
Why not the other options:
(1) w − 9: takes 9 away instead of multiplying by 9
(2) w + 9: adds 9 instead of multiplying by 9
(3) w/9: divides by 9 instead of multiplying by 9""",
    ('algebra.write-expression', 'Q', 2, 1): 
"""Q: A pen costs $y. A bag costs $3 more than a pen. Lucy buys 2 pens and one bag. | How much does Lucy pay, in dollars? | (1) 3y + 6 | (2) 3y + 3 | (3) 2y + 3 | (4) 3y | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
The 2 pens cost 2 × y dollars.
2 × y = 2y
The bag costs $3 more than a pen.
y + 3
Add the two costs and put the y terms together.
2y + y + 3 = 3y + 3
3y + 3 dollars is the cost of the 2 pens and the bag together.
Answer: (2) 3y + 3
Why not the other options:
(1) 3y + 6: adds $3 for every pen as well as for the bag
(3) 2y + 3: counts only the $3 extra for the bag, not the $y it costs as well
(4) 3y: leaves out the $3 the bag costs on top of $y""",
    ('algebra.write-expression', 'Q', 3, 1): 
"""Q: Lucy has y marbles. Ivy has 2 times as many marbles as Lucy. Tara has 4 fewer marbles than Ivy. | How many marbles do the three children have altogether? | (1) 5y − 4 | (2) 5y + 4 | (3) 4y − 4 | (4) 3y − 4 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Ivy has 2 times as many as Lucy.
2 × y = 2y
Tara has 4 fewer than Ivy.
2y − 4
Add the three amounts and put the y terms together.
y + 2y + 2y − 4 = 5y − 4
5y − 4 is Lucy’s, Ivy’s and Tara’s marbles added together.
Answer: (1) 5y − 4
Why not the other options:
(2) 5y + 4: adds 4, but Tara has 4 fewer, not more
(3) 4y − 4: leaves out Lucy’s own y
(4) 3y − 4: leaves out Ivy’s 2y""",
    ('algebra.simplify', 'Q', 1, 1): 
"""Q: Simplify 4k + 4k − k. | (1) 9k | (2) 8k | (3) 7 | (4) 7k | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
All three terms are k terms, so work out the numbers in front of them, from left to right.
4 + 4 − 1 = 7, so 4k + 4k − k = 7k
4k + 4k − k is 7 lots of k.
Answer: (4) 7k
Why not the other options:
(1) 9k: treats − k as + k
(2) 8k: leaves out the − k
(3) 7: drops the letter: 7k means 7 × k""",
    ('algebra.simplify', 'Q', 3, 0): 
"""Q: Simplify 8k + 18 − 2k − 5 + 3k. | (1) 9k + 23 | (2) 3k + 13 | (3) 13k + 13 | (4) 9k + 13 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Put the like terms together, each with the sign in front of it: the k terms first, then the numbers.
8k + 18 − 2k − 5 + 3k = 8k − 2k + 3k + 18 − 5
Work out each group.
8 − 2 + 3 = 9 and 18 − 5 = 13, so the answer is 9k + 13
The k terms make 9k and the numbers make 13.
Answer: (4) 9k + 13
Why not the other options:
(1) 9k + 23: treats − 5 as + 5
(2) 3k + 13: takes away the + 3k at the end as well, but only − 2k has a minus sign in front of it
(3) 13k + 13: treats − 2k as + 2k""",
    ('algebra.evaluate', 'N', 1, 0): 
"""Q: Find the value of k/4 + 14 when k = 32. | Answer:
Put 32 in place of k. k/4 means k ÷ 4, so divide first.
32 ÷ 4 = 8
Then add 14.
8 + 14 = 22
Answer: 22""",
    ('algebra.evaluate', 'N', 3, 1): 
"""Q: Find the value of (6k + 12) ÷ 4 when k = 4. | Answer:
Put 4 in place of k. Work out the bracket first; inside it, multiply first.
6 × 4 = 24
Then add 12 to finish the bracket.
24 + 12 = 36
Divide by 4.
36 ÷ 4 = 9
Answer: 9""",
    ('algebra.solve', 'N', 1, 0): 
"""Q: Solve the equation 9k = 126. What is the value of k? | Answer:
9k means 9 × k. Divide both sides by 9.
k = 126 ÷ 9 = 14
Answer: 14""",
    ('algebra.solve', 'N', 3, 1): 
"""Q: Solve the equation 4k − 2 − k = 10. What is the value of k? | Answer:
Put the k terms together.
4k − 2 − k = 3k − 2
The equation is now 3k − 2 = 10. Add 2 to both sides.
3k = 10 + 2 = 12
Divide both sides by 3.
k = 12 ÷ 3 = 4
Answer: 4""",
    ('algebra.word-problem', 'N', 2, 0): 
"""Q: Wen thinks of a number. She divides it by 8 and then subtracts 11. The answer is 16. What number did she think of? | Answer:
Work backwards from 16. Undo “subtract 11” by adding 11.
16 + 11 = 27
Undo “divide by 8” by multiplying by 8.
27 × 8 = 216
Answer: 216""",
    ('algebra.word-problem', 'N', 3, 0): 
"""Q: A cap costs $p. A lunch box costs $7 more than a cap. Wen paid $76 for 2 caps and 3 lunch boxes. What is the value of p? | Answer:
A lunch box costs p + 7 dollars, so the 3 lunch boxes cost 3 lots of p + 7: that is 3p and 3 × 7 more.
3 × (p + 7) = 3p + 21
Add the cost of the 2 caps and put the p terms together. This is $76.
2p + 3p + 21 = 5p + 21 = 76
Take 21 away from both sides.
5p = 76 − 21 = 55
Divide both sides by 5.
p = 55 ÷ 5 = 11
Answer: 11""",
    ('algebra.word-problem', 'N', 3, 1): 
"""Q: Ivy has 2 times as many marbles as Lucy. Together they have 39 marbles. How many marbles does Lucy have? | Answer: marbles
Let Lucy have n marbles. Then Ivy has 2n.
Together they have 39. Put the n terms together.
n + 2n = 3n = 39
Divide both sides by 3.
n = 39 ÷ 3 = 13
Answer: 13~marbles""",
    ('algebra.pattern', 'Q', 2, 0): 
"""Q: A pattern of two rows of squares is made with sticks. The first three figures are shown. | Which expression gives the number of sticks in Figure p? | (1) 5p + 2 | (2) 5p + 7 | (3) 7p | (4) p + 5 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Count the sticks in Figures 1, 2 and 3: there are 7, 12 and 17. Each is 5 more than the one before.
12 − 7 = 5
So the rule is 5 × p and a fixed number more. For Figure 1, 5 × 1 = 5 and 7 − 5 = 2, so the fixed number is 2.
5p + 2
5p + 2 gives 7, 12 and 17 sticks for Figures 1, 2 and 3.
Answer: (1) 5p + 2
Why not the other options:
(2) 5p + 7: adds 7, the number for Figure 1, instead of 2: that gives 12 for Figure 1
(3) 7p: multiplies 7 by p: that gives 14 for Figure 2, not 12
(4) p + 5: adds 5 to p instead of multiplying p by 5: that gives 6 for Figure 1, not 7""",
    ('algebra.pattern', 'N', 3, 1): 
"""Q: A pattern of two rows of squares is made with sticks. The first three figures are shown. | Which figure is made with 82 sticks? Give its figure number. | Answer:
Count the sticks in Figures 1, 2 and 3: there are 7, 12 and 17. Each is 5 more than the one before.
12 − 7 = 5
So the rule is 5 × n and a fixed number more. For Figure 1, 5 × 1 = 5 and 7 − 5 = 2, so the fixed number is 2.
5n + 2
Figure n has 82 sticks: 5n + 2 = 82. Take 2 away from both sides.
5n = 82 − 2 = 80
Divide both sides by 5.
n = 80 ÷ 5 = 16
Answer: 16""",
    ('algebra.number-pattern', 'Q', 1, 1): 
"""Q: The table shows a number pattern. | Term number | 1 | 2 | 3 | 4 | … | n | Term | 9 | 16 | 23 | 30 | … | ? | Which expression gives the term for term number n? | (1) 7n + 9 | (2) n + 7 | (3) 7n + 2 | (4) 9n | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Read the first terms from the table: they are 9, 16 and 23. Each is 7 more than the one before.
16 − 9 = 7
So the rule is 7 × n and a fixed number more. For term number 1, 7 × 1 = 7 and 9 − 7 = 2, so the fixed number is 2.
7n + 2
7n + 2 gives 9, 16, 23 and 30 for term numbers 1 to 4.
Answer: (3) 7n + 2
Why not the other options:
(1) 7n + 9: adds 9, the number for term number 1, instead of 2: that gives 16 for term number 1
(2) n + 7: adds 7 to n instead of multiplying n by 7: that gives 8 for term number 1, not 9
(4) 9n: multiplies 9 by n: that gives 18 for term number 2, not 16""",
    ('algebra.number-pattern', 'N', 1, 1): 
"""Q: The table shows a number pattern. | Term number | 1 | 2 | 3 | 4 | … | n | Term | 9 | 16 | 23 | 30 | … | ? | What is term number 6? | Answer:
The terms go up by 7 each time (16 − 9 = 7). Keep adding 7 from term 4 to term 6.
30 + 7 = 37, 37 + 7 = 44
Answer: 44""",
    ('algebra.number-pattern', 'N', 2, 0): 
"""Q: The table shows a number pattern. | Term number | 1 | 2 | 3 | 4 | … | n | Term | 18 | 24 | 30 | 36 | … | ? | What is term number 50? | Answer:
Read the first terms from the table: they are 18, 24 and 30. Each is 6 more than the one before.
24 − 18 = 6
So the rule is 6 × n and a fixed number more. For term number 1, 6 × 1 = 6 and 18 − 6 = 12, so the fixed number is 12.
6n + 12
Put 50 in place of n.
6 × 50 + 12 = 312
Answer: 312""",
    ('algebra.perimeter', 'Q', 1, 1): 
"""Q: The rectangle below is (w + 4) cm long and w cm wide. | Which expression gives its perimeter in cm? | (1) 2w + 4 | (2) 4w + 4 | (3) 2w + 8 | (4) 4w + 8 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
The perimeter is the distance all the way round: two lengths and two widths.
(w + 4) + w + (w + 4) + w
Put the w terms together and the numbers together.
(w + 4) + w + (w + 4) + w = 4w + 8
4w + 8 is the sum of all the sides of the rectangle.
Answer: (4) 4w + 8
Why not the other options:
(1) 2w + 4: adds one length and one width only: that is half the perimeter
(2) 4w + 4: adds the 4 only once, but there are two lengths
(3) 2w + 8: adds the two lengths and leaves out the two widths""",
    ('algebra.perimeter', 'N', 3, 0): 
"""Q: The triangle below has two sides of w cm each and a base of 12~cm. | Its perimeter is 34~cm. What is the value of w? | Answer:
The perimeter is the distance all the way round: add the three sides. Put the w terms together.
w + w + 12 = 2w + 12
The perimeter is 34~cm, so 2w + 12 = 34. Take 12 away from both sides.
2w = 34 − 12 = 22
Divide both sides by 2.
w = 22 ÷ 2 = 11
Answer: 11""",
    ('algebra.perimeter', 'N', 1, 1): 
"""Q: The rectangle below is (w + 4) cm long and w cm wide. | Find its perimeter when w = 4. | Answer: cm
Put 4 in place of w to find the length.
4 + 4 = 8~cm
Add the two lengths and the two widths.
8 + 4 + 8 + 4 = 24~cm
Answer: 24~cm""",
    ('algebra.total-cost', 'Q', 3, 1): 
"""Q: A T-shirt costs $k. A bag costs $3 more than a T-shirt. Lucy buys 2 T-shirts and a bag, and pays with $100. | How much change, in dollars, does Lucy receive? | (1) 3k + 97 | (2) 97 − 2k | (3) 103 − 3k | (4) 97 − 3k | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
The 2 T-shirts cost 2 × k dollars.
2 × k = 2k
The bag costs $3 more than a T-shirt.
k + 3
Add the costs and put the k terms together.
2k + k + 3 = 3k + 3
The change is $100 take away all of the cost: take away 3k and take away 3.
100 − 3k − 3 = 97 − 3k
97 − 3k dollars is $100 less the cost of the T-shirts and the bag.
Answer: (4) 97 − 3k
Why not the other options:
(1) 3k + 97: adds the cost to the note instead of taking it away
(2) 97 − 2k: counts only the $3 extra for the bag, not the $k it costs as well
(3) 103 − 3k: adds the $3 instead of taking it away with the rest of the cost""",
    ('algebra.total-cost', 'N', 3, 1): 
"""Q: A T-shirt costs $k. Lucy buys 2 T-shirts and pays with $100. | She receives $82 in change. What is the value of k? | Answer:
The 2 T-shirts cost 2k dollars, and the change is $100 take away the cost.
100 − 2k = 82
So the cost, 2k, is $100 take away the change.
2k = 100 − 82 = 18
Divide both sides by 2.
k = 18 ÷ 2 = 9
Answer: 9""",
    ('algebra.total-cost', 'Q', 2, 0): 
"""Q: A bag of rice costs $c. Wen buys 4 bags of rice and pays with $100. | How much change, in dollars, does Wen receive? | (1) 4c − 100 | (2) 100 − 4c | (3) 96 − c | (4) 100 − c | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
The 4 bags of rice cost 4 × c dollars.
4 × c = 4c
The change is $100 take away the cost.
100 − 4c
100 − 4c dollars is $100 less the cost of the 4 bags of rice.
Answer: (2) 100 − 4c
Why not the other options:
(1) 4c − 100: takes the note away from the cost: the change is the note take away the cost
(3) 96 − c: takes away 4 and c instead of 4 × c
(4) 100 − c: takes away the price of one bag of rice only""",
    ('algebra.balance', 'N', 2, 1): 
"""Q: Each box has a mass of y kg. The scale below is balanced. | What is the value of y? | Answer:
Take 2~kg off both pans: the scale stays balanced.
2y = 10 − 2 = 8
The 2 boxes have the same mass, so divide by 2.
y = 8 ÷ 2 = 4
Answer: 4""",
    ('algebra.ages', 'Q', 3, 1): 
"""Q: Lucy is y years old. Her father is 3 times as old as Lucy. | What will the sum of their ages be in 3~years’ time? | (1) 3y + 6 | (2) 4y + 3 | (3) 4y + 12 | (4) 4y + 6 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
In 3~years’ time, Lucy will be 3~years older.
y + 3
Her father is 3y now and will also be 3~years older.
3y + 3
Add the two ages and put like terms together.
y + 3 + 3y + 3 = 4y + 6
4y + 6 adds Lucy’s age and her father’s age in 3~years’ time.
Answer: (4) 4y + 6
Why not the other options:
(1) 3y + 6: leaves out Lucy’s own age, y
(2) 4y + 3: adds the 3~years once, but both of them grow older
(3) 4y + 12: multiplies the 3~years by 4, as if the years grew like the ages""",
    ('algebra.ages', 'N', 3, 1): 
"""Q: Lucy is y years old. Her father is 3 times as old as Lucy. | In 3~years’ time, the sum of their ages will be 30. How old is Lucy now? | Answer: years old
In 3~years’ time, Lucy will be 3~years older.
y + 3
Her father is 3y now and will also be 3~years older.
3y + 3
Add the two ages and put like terms together.
y + 3 + 3y + 3 = 4y + 6 = 30
Take 6 away from both sides.
4y = 30 − 6 = 24
Divide both sides by 4.
y = 24 ÷ 4 = 6
Answer: 6~years old""",
    ('algebra.ages', 'Q', 2, 0): 
"""Q: Wen is n years old. Her aunt is 33~years older than Wen. | How old will her aunt be in 8~years’ time? | (1) 33n + 8 | (2) n + 33 | (3) n + 25 | (4) n + 41 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Her aunt is 33~years older than Wen.
n + 33
Her aunt will be 8~years older in 8~years’ time.
n + 33 + 8 = n + 41
n + 41 is her aunt’s age now, n + 33, and 8 more.
Answer: (4) n + 41
Why not the other options:
(1) 33n + 8: multiplies n by 33 instead of adding 33
(2) n + 33: leaves out the 8~years still to come
(3) n + 25: takes the 8~years away instead of adding them""",
}


if __name__ == "__main__":
    unittest.main()
