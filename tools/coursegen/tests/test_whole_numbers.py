"""Whole Numbers: each family's worked solution read back word for word on
examples checked by hand, and the figures' alternative texts against what
the figures show."""

import random
import re
import unittest

from coursegen.build import check_solution, render
from coursegen.families import REGISTRY
from coursegen.plan import QuestionPlan, Slot
from coursegen.tests.markup import stacked
from coursegen.tests.test_figures import figure_problems
from coursegen.plan import topic_of
from coursegen.tests.test_solutions import breakable_joins, committed_questions, text_lines
from coursegen.topics import load_all
from coursegen.topics.whole_numbers import ORDINALS

load_all()


def _readable(html):
    """A page as lines of text: fractions written 3/4, mixed numbers 2 3/4."""
    html = re.sub(r'(\d)<span class="frac">', r'\1 <span class="frac">', stacked(html))

    def fraction(m):
        top, bottom = (f"({x})" if " " in x else x for x in (m[1], m[2]))
        return f"{top}/{bottom}"
    html = re.sub(r'<span class="frac"><span class="num">(.*?)</span><span class="den">(.*?)</span></span>',
                  fraction, html)
    return text_lines(html)


def made(name, kinds, level, seed):
    slots = tuple(Slot(k, 1) for k in kinds)
    return REGISTRY[name].make(random.Random(f"test:{seed}"), level, slots), slots


def worked(name, kinds, level, seed):
    """The question and its worked solution as a pupil reads them, a
    no-break space written ~ so the joins are part of what is compared."""
    q, slots = made(name, kinds, level, seed)
    qp = QuestionPlan(101, 1, 20011, level, slots)
    page, _ = render(20011, q, slots)
    solution, _ = check_solution(q, qp, name)
    text = "\n".join(["Q: " + " | ".join(_readable(page))] + _readable(solution))
    return text.replace("\u00a0", "~")


def solution_figures(name, kinds, levels, seeds=30):
    for level in levels:
        for seed in range(seeds):
            try:
                q, _ = made(name, kinds, level, seed)
            except ValueError:
                continue
            for step in q.solution.steps:
                if step.figure is not None:
                    yield q, step.figure


def check_worked(test, cases, topic):
    """Every family of the topic has a text written by hand, and each is what
    the family writes, word for word."""
    test.maxDiff = None
    names = {name for name, *_ in cases}
    test.assertEqual(names, {f.name for f in REGISTRY.values() if f.topic == topic})
    for (name, kinds, level, seed), want in cases.items():
        with test.subTest(family=name, level=level, seed=seed):
            test.assertEqual(worked(name, kinds, level, seed), want.strip("\n"))


class WorkedByHand(unittest.TestCase):
    """The whole text, word for word, for one draw of each family (and of
    each kind of question a family asks), every calculation checked by hand."""

    def test_whole_numbers(self):
        check_worked(self, EXPECTED, 1)


def arrow_and_labels(svg):
    """A number line's labelled values by x, its small marks' x, the arrow's x."""
    labels = {float(x): t.replace(",", "") for x, t in
              re.findall(r'<text x="([\d.]+)" y="\d+"[^>]*>([\d.,]+)</text>', svg)}
    marks = sorted(float(x) for x in re.findall(r'<line x1="([\d.]+)" y1="(?:45|50)"', svg))
    arrow = float(re.search(r'<line x1="([\d.]+)" y1="8"', svg)[1])
    return labels, marks, arrow


class NumberLinesReadAsTheyAreDrawn(unittest.TestCase):
    def test_alt_names_the_mark_the_arrow_points_to(self):
        for name in ("whole.number-line", "dec.number-line"):
            for level in (1, 2):
                for seed in range(30):
                    q, _ = made(name, "N", level, seed)
                    labels, marks, arrow = arrow_and_labels(q.figures[0].svg)
                    ref = max(x for x in labels if x <= arrow)
                    after = sum(1 for x in marks if ref < x <= arrow + 0.01)
                    alt = q.figures[0].alt.replace(",", "")
                    self.assertIn(f"the {ORDINALS[after]} small mark after {labels[ref]}.", alt)
                    for value in labels.values():
                        self.assertIn(value, alt)
                    # What the arrow points to is for the pupil to work out.
                    self.assertNotIn(q.parts[0].key, re.findall(r"\d+(?:\.\d+)?", alt))

    def test_the_working_labels_every_mark_and_the_arrows_in_bold(self):
        for name in ("whole.number-line", "dec.number-line"):
            for q, fig in solution_figures(name, "N", (1, 2)):
                self.assertEqual(figure_problems(fig.svg), [])
                values = [t.replace(",", "") for t in re.findall(r">([\d.,]+)</text>", fig.svg)]
                self.assertEqual(len(values), 11)
                bold = re.findall(r'font-weight="bold">([\d.,]+)<', fig.svg)
                self.assertEqual([b.replace(",", "") for b in bold], [q.parts[0].key])


class PicturesOfTheWorking(unittest.TestCase):
    def test_sticks_alt_counts_what_is_drawn(self):
        for seed in range(30):
            q, _ = made("whole.number-pattern", "N", 3, seed)
            svg, alt = q.figures[0].svg, q.figures[0].alt
            shapes = svg.count("<rect") or svg.count("<polygon")
            per_stick = 3 if "<rect" in svg else 2
            self.assertEqual(shapes, 6)           # 1 + 2 + 3 squares or triangles
            counts = [int(c) for c in re.findall(r"made of (\d+) sticks", alt)]
            self.assertEqual(counts, [per_stick * k + 1 for k in (1, 2, 3)])
            counted = q.solution.steps[0].figure
            self.assertEqual(re.findall(r">(\d+) sticks<", counted.svg), [str(c) for c in counts])

    def test_bar_models_carry_the_numbers_of_the_question(self):
        for name in ("whole.sum-and-difference", "whole.times-as-many"):
            for q, fig in solution_figures(name, "N", (3,)):
                self.assertEqual(figure_problems(fig.svg), [])
                told = [int(x.replace(",", "")) for x in re.findall(r"\d[\d,]*", re.sub("<[^>]+>", "", q.text))]
                shown = [int(x.replace(",", "")) for x in re.findall(r">\$?(\d[\d,]*)", fig.svg)]
                self.assertTrue(shown)
                if "at first" in fig.alt:
                    # Before and after: the model is of the total before any was given away.
                    k, given, now = told
                    self.assertEqual(shown, [now + given])
                else:
                    self.assertLessEqual(set(shown), set(told), q.text)

    def test_comparing_slips_are_true_of_their_options(self):
        for seed in range(30):
            q, _ = made("whole.compare", "Q", 1, seed)
            part = q.parts[0]
            values = [int(o.replace(",", "")) for o in part.options]
            greatest = "greatest" in part.prompt
            pick = max if greatest else min
            for value, slip in zip(values, part.slips):
                if slip is None:
                    continue
                digit = {"ones": 0, "tens": 1}.get(re.search(r"compares the (\w+) digits", slip)[1]
                                                   if "compares the" in slip else "", None)
                if digit is not None:
                    column = [v // 10 ** digit % 10 for v in values]
                    self.assertEqual(value // 10 ** digit % 10, pick(column), slip)
                else:
                    key = values[int(part.key) - 1]
                    self.assertEqual(value // 100, key // 100, slip)


MY_TOPICS = (1, 2, 10)


def joins_outside_the_answer_line(page):
    """Breakable joins anywhere but the final answer's line, which the
    builder writes (it puts an ordinary space between an answer and its unit)."""
    return breakable_joins(re.sub(r'<p class="final-answer">.*?</p>', "", page))


class PagesKeepJoinedFormsTogether(unittest.TestCase):
    """While the shared check leaves these topics out, the same rule over
    their committed pages and over many draws of every family."""

    def test_committed_pages(self):
        pages = 0
        for paper, folder, q in committed_questions():
            if topic_of(paper) not in MY_TOPICS:
                continue
            for page in (folder / f"{q.qid}.html", folder / f"{q.qid}.solution.html"):
                self.assertEqual(joins_outside_the_answer_line(page.read_text(encoding="utf-8")), [], page.name)
                pages += 1
        self.assertEqual(pages, 2 * (150 + 150 + 60))

    def test_every_family_over_many_draws(self):
        for fam in REGISTRY.values():
            if fam.topic not in MY_TOPICS:
                continue
            for kinds in fam.kinds:
                for level in fam.levels:
                    for seed in range(20):
                        try:
                            q, slots = made(fam.name, kinds, level, seed)
                        except ValueError:
                            continue
                        qp = QuestionPlan(101, 1, 20011, level, slots)
                        page, _ = render(20011, q, slots)
                        solution, _ = check_solution(q, qp, fam.name)
                        self.assertEqual(joins_outside_the_answer_line(page + solution), [],
                                         f"{fam.name} level {level} seed {seed}")


EXPECTED = {
    ('whole.digit-value', 'Q', 1, 0): 
"""Q: What does the digit 7 stand for in 846,720? | (1) 7 hundreds | (2) 7 ones | (3) 7 tens | (4) 7 thousands | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Read the digits of 846,720 from the right, each with its place. The 7 is in the hundreds place.
From the right: 0 ones, 2 tens, 7 hundreds
Counting from the right, the places are ones, tens, hundreds and so on; the 7 is in the hundreds place, so it stands for 7 hundreds.
Answer: (1) 7 hundreds
Why not the other options:
(2) 7 ones: gives the digit on its own, forgetting the place it is in
(3) 7 tens: counts one place too few from the right
(4) 7 thousands: counts the places from the left instead of from the right""",
    ('whole.digit-value', 'N', 2, 2): 
"""Q: In 7,168,293, what is the value of the digit 2? | Answer:
Read the digits of 7,168,293 from the right, each with its place. The 2 is in the hundreds place.
From the right: 3 ones, 9 tens, 2 hundreds
2 hundreds = 2 × 100 = 200
Answer: 200""",
    ('whole.numerals', 'Q', 1, 1): 
"""Q: Which of these is eighteen thousand and twenty? | (1) 18,200 | (2) 18,020 | (3) 1,800,020 | (4) 180,020 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
The words before “thousand”, “eighteen”, give the number of thousands.
18 thousands = 18,000
The words after it, “twenty”, are 20. Add the two parts, so the last three digits show the hundreds, tens and ones.
18,000 + 20 = 18,020
Eighteen thousand and twenty is 18 thousands and 20, which is 18,000 + 20 = 18,020.
Answer: (2) 18,020
Why not the other options:
(1) 18,200: writes twenty as 200, one place too far to the left
(3) 1,800,020: writes 18,000 in full and then 20 after it
(4) 180,020: puts four digits after the thousands instead of three""",
    ('whole.numerals', 'N', 2, 0): 
"""Q: Write five hundred and twenty thousand four hundred in numerals. | Answer:
The words before “thousand”, “five hundred and twenty”, give the number of thousands.
520 thousands = 520,000
The words after it, “four hundred”, are 400. Add the two parts, so the last three digits show the hundreds, tens and ones.
520,000 + 400 = 520,400
Answer: 520400""",
    ('whole.expanded-form', 'N', 1, 0): 
"""Q: 7 + 8000 + 50,000 + 50 = ? | What is the missing number? | Answer:
Write the parts in order of place value, greatest first. There are no hundreds, so write 0 in that place.
50,000 + 8000 + 50 + 7 = 58,057
Answer: 58057""",
    ('whole.expanded-form', 'N', 2, 1): 
"""Q: What number is made of 4 thousands, 13 hundreds, 4 tens and 1 one? | Answer:
13 hundreds is more than 9 hundreds: it is 1 thousand and 3 hundreds.
13 × 100 = 1300
Add the parts.
4000 + 1300 + 40 + 1 = 5341
Answer: 5341""",
    ('whole.digits-form', 'N', 2, 1): 
"""Q: Using each of the digits 5, 2, 8, 0 once, form the greatest 4-digit even number. | Answer:
An even number ends in 0, 2, 4, 6 or 8. Of the digits 5, 2, 8, 0, the last digit can be 0, 2 or 8.
For each possible last digit, arrange the other digits in front of it to make the greatest number: greatest digit first.
ending in 0 gives 8520
ending in 2 gives 8502
ending in 8 gives 5208
The greatest of these is 8520.
Answer: 8520""",
    ('whole.digits-form', 'N', 3, 1): 
"""Q: Using each of the digits 5, 2, 8, 0, 6 once, Sam formed the greatest and the smallest 5-digit numbers. What is the difference between the two numbers? | Answer:
For the greatest number, put the digits in order from the greatest.
8, 6, 5, 2, 0 gives 86,520
For the smallest number, put the digits in order from the smallest.
0, 2, 5, 6, 8
A number cannot begin with 0, so put the smallest other digit, 2, first and the 0 next.
20,568
Subtract the smallest number from the greatest.
86,520 − 20,568 = 65,952
Answer: 65952""",
    ('whole.compare', 'Q', 1, 1): 
"""Q: Which of these numbers is the smallest? | (1) 56,219 | (2) 56,291 | (3) 56,192 | (4) 56,129 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
All four numbers begin with 56 thousand, so compare the hundreds digits, and the tens digits where the hundreds are the same.
56,129 < 56,192 < 56,219 < 56,291
In order from the smallest, 56,129 comes first.
Answer: (4) 56,129
Why not the other options:
(1) 56,219: skips the hundreds digits and compares the tens digits
(2) 56,291: compares the ones digits first: the digits must be compared from the left
(3) 56,192: stops at the hundreds digits, which are the same; the tens digit of 56,129 is smaller""",
    ('whole.compare', 'N', 2, 0): 
"""Q: Arrange these numbers in order, beginning with the greatest. | 49,648 ~ ~ 49,486 ~ ~ 49,864 ~ ~ 49,846 | Which number comes second? | Answer:
All four numbers begin with 49 thousand, so compare the hundreds digits, and the tens digits where the hundreds are the same. In order, beginning with the greatest:
49,864 > 49,846 > 49,648 > 49,486
The second number is 49,846.
Answer: 49846""",
    ('whole.round', 'Q', 1, 0): 
"""Q: Which of these numbers is 76,700 when rounded to the nearest hundred? | (1) 76,631 | (2) 76,737 | (3) 76,776 | (4) 76,750 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
A whole number rounds to 76,700 when it lies from 76,650 (halfway up from 76,600, which rounds up) to 76,749 (just below halfway to 76,800).
Only 76,737 lies from 76,650 to 76,749.
76,737 lies between 76,700 and 76,800. Look at the tens digit: 3 is less than 5, so round down to 76,700.
Answer: (2) 76,737
Why not the other options:
(1) 76,631: rounds 76,631 up to 76,700, but its tens digit, 3, is less than 5, so it rounds down to 76,600
(3) 76,776: cuts off the digits after the hundreds instead of rounding: its tens digit, 7, is 5 or more, so it rounds up to 76,800
(4) 76,750: rounds 76,750 down to 76,700, but a number exactly halfway rounds up, to 76,800""",
    ('whole.round', 'N', 2, 1): 
"""Q: Round 28,261 to the nearest hundred. | Answer:
28,261 lies between 28,200 and 28,300. Look at the tens digit: 6 is 5 or more, so round up.
28,261 ≈ 28,300
Answer: 28300""",
    ('whole.round-range', 'N', 3, 1): 
"""Q: Emma said that the number of pupils in a school was 17,200, correct to the nearest hundred. What is the smallest possible number of pupils? | Answer:
The hundred below 17,200 is 17,100. Halfway between them is 17,150, and a number exactly halfway rounds up, to 17,200.
17,200 − 50 = 17,150
Any whole number below 17,150 rounds down to 17,100, so 17,150 is the smallest that rounds to 17,200.
Answer: 17150""",
    ('whole.estimate', 'N', 1, 0): 
"""Q: Estimate the value of 3643 + 7650 by first rounding each number to the nearest thousand. | Answer:
Round each number to the nearest thousand: look at its hundreds digit.
3643 ≈ 4000 and 7650 ≈ 8000
Add the rounded numbers.
4000 + 8000 = 12,000
Answer: 12000""",
    ('whole.factors', 'Q', 1, 0): 
"""Q: Which of these is a common factor of 28 and 42? | (1) 4 | (2) 6 | (3) 21 | (4) 14 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
A common factor of 28 and 42 divides both of them exactly. Check each option with both numbers.
28 ÷ 14 = 2 and 42 ÷ 14 = 3
14 divides both 28 and 42 with no remainder.
Answer: (4) 14
Why not the other options:
(1) 4: checks 28 only: 4 is a factor of 28, but 42 ÷ 4 leaves a remainder of 2
(2) 6: checks 42 only: 6 is a factor of 42, but 28 ÷ 6 leaves a remainder of 4
(3) 21: checks 42 only: 21 is a factor of 42, but 28 ÷ 21 leaves a remainder of 7""",
    ('whole.factors', 'N', 3, 0): 
"""Q: Umar has 54 pencils and 96 erasers. He wants to put them into bags so that every bag has the same number of pencils and the same number of erasers, with none left over. What is the greatest number of bags he can use? | Answer:
The 54 pencils are shared equally among the bags with none left over, so the number of bags divides 54 exactly. In the same way it divides 96 exactly. So the number of bags is a common factor of 54 and 96, and the greatest number of bags is their highest common factor.
List the factors of 54.
1, 2, 3, 6, 9, 18, 27, 54
List the factors of 96.
1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 96
Find the greatest number that is in both lists.
54 ÷ 6 = 9 and 96 ÷ 6 = 16, so the greatest is 6
Answer: 6""",
    ('whole.factors', 'N', 1, 1): 
"""Q: How many factors does 76 have? | Answer:
Find the factors of 76 in pairs that multiply to 76, trying 1, 2, 3, … in turn until the pairs meet.
1 × 76, 2 × 38, 4 × 19
List the factors and count them.
1, 2, 4, 19, 38, 76, so there are 6 factors
Answer: 6""",
    ('whole.multiples', 'N', 1, 1): 
"""Q: What is the smallest multiple of 11 that is greater than 140? | Answer:
Divide 140 by 11 to see how many whole lots of 11 fit into it.
140 ÷ 11 = 12 remainder 8
12 × 11 = 132 is not greater than 140, so take the next multiple.
13 × 11 = 143
Answer: 143""",
    ('whole.multiples', 'N', 3, 1): 
"""Q: Bell A rings every 6~minutes and bell B rings every 9~minutes. Both bells ring together at 9.00am. How many times do they ring together from 9.00am to 11.00am, counting the time at 9.00am? | Answer: times
Bell A rings again after 6~minutes, 12~minutes, and so on: after every multiple of 6~minutes. In the same way, bell B rings after every multiple of 9~minutes. So the bells next ring together after the smallest number of minutes that is a multiple of both 6 and 9: their lowest common multiple.
List the multiples of 9.
9, 18
18 is the first of these that 6 divides exactly.
18 ÷ 6 = 3
From 9.00am to 11.00am is 2~hours. Change it to minutes.
2 × 60 = 120~minutes
They ring together every 18~minutes. Find how many times 18~minutes fit into 120~minutes, then count the time at 9.00am as well.
120 ÷ 18 = 6 remainder 12, and 6 + 1 = 7
Answer: 7~times""",
    ('whole.primes', 'Q', 1, 1): 
"""Q: Which of these is a prime number? | (1) 49 | (2) 51 | (3) 63 | (4) 43 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
A prime number has exactly two factors: 1 and itself. Look for a factor of each option other than 1 and the number itself.
49 = 7 × 7, 51 = 3 × 17, 63 = 3 × 21; 43 has no such factor
None of 2, 3 or 5 divides 43 exactly, so its only factors are 1 and 43.
Answer: (4) 43
Why not the other options:
(1) 49: checks 2, 3 and 5 only, but 49 = 7 × 7
(2) 51: takes an odd number for a prime, but 51 = 3 × 17
(3) 63: takes an odd number for a prime, but 63 = 3 × 21""",
    ('whole.primes', 'N', 2, 1): 
"""Q: How many prime numbers are there between 33 and 43? | Answer:
Every prime number except 2 is odd, so list the odd numbers between 33 and 43.
35, 37, 39, 41
Cross out each one that has a factor other than 1 and itself.
35 = 5 × 7, 39 = 3 × 13
Count the prime numbers that are left.
37 and 41, so there are 2
Answer: 2""",
    ('whole.order-of-operations', 'N', 3, 1): 
"""Q: Find the value of (7 + 4) × 4 − 56 ÷ 14. | Answer:
Work out the bracket first: 7 + 4 = 11.
(7 + 4) × 4 − 56 ÷ 14 = 11 × 4 − 56 ÷ 14
Multiply and divide before you add and subtract, working from left to right: 11 × 4 = 44.
11 × 4 − 56 ÷ 14 = 44 − 56 ÷ 14
Next, still from left to right, divide: 56 ÷ 14 = 4.
44 − 56 ÷ 14 = 44 − 4
Finally, subtract.
44 − 4 = 40
Answer: 40""",
    ('whole.times-ten', 'N', 1, 0): 
"""Q: ? × 100 = 83,000 | What is the missing number? | Answer:
The missing number is 83,000 ÷ 100. Dividing by 100 moves every digit 2 places to the right.
83,000 ÷ 100 = 830
Answer: 830""",
    ('whole.long-multiplication', 'N', 1, 0): 
"""Q: Work out 422 × 37. | Answer:
Split 37 into 30 and 7. Multiply 422 by 30: multiply by 3, then by 10.
422 × 30 = 12,660
Multiply 422 by 7.
422 × 7 = 2954
Add the two results.
12,660 + 2954 = 15,614
Answer: 15614""",
    ('whole.division', 'N', 1, 1): 
"""Q: What is the remainder when 2098 is divided by 8? | Answer:
Divide 2098 by 8 digit by digit from the left, carrying each remainder to the next digit. The remainder left at the end is the answer.
20 ÷ 8 = 2 remainder 4
bring down 9, so 49 ÷ 8 = 6 remainder 1
bring down 8, so 18 ÷ 8 = 2 remainder 2
so 2098 ÷ 8 = 262 remainder 2
Answer: 2""",
    ('whole.division', 'N', 2, 0): 
"""Q: Work out 15,008 ÷ 16. | Answer:
Write out the multiples of 16 you may need.
16, 32, 48, 64, 80, 96, 112, 128, 144
Divide 15,008 by 16 digit by digit from the left, carrying each remainder to the next digit.
150 ÷ 16 = 9 remainder 6
bring down 0, so 60 ÷ 16 = 3 remainder 12
bring down 8, so 128 ÷ 16 = 8
so 15,008 ÷ 16 = 938
Answer: 938""",
    ('whole.number-pattern', 'N', 3, 0): 
"""Q: A pattern of triangles is made with sticks. The first three figures are shown below. | Which figure is made with 81 sticks? | Answer: Figure
Count the sticks in each figure. Each new figure adds 2 sticks.
3, 5, 7
Take away the 3 sticks of Figure 1.
81 − 3 = 78
Each figure after Figure 1 adds 2 sticks. Find how many figures after Figure 1 this is.
78 ÷ 2 = 39
It is 39 figures after Figure 1.
1 + 39 = 40
Answer: Figure~40""",
    ('whole.number-pattern', 'N', 1, 1): 
"""Q: What is the missing number in this pattern? ~ 76, 71, ?, 61, 56 | Answer:
Each number is 5 less than the one before it (76 − 71 = 5). Take 5 from the number before the gap.
71 − 5 = 66
Answer: 66""",
    ('whole.word-totals', 'N', 2, 0): 
"""Q: A sports arena has 33,800 seats. On Saturday, 23,313 of the seats were filled. On Sunday, 948 more seats were filled than on Saturday. How many seats were empty on Sunday? | Answer: seats
Find how many seats were filled on Sunday.
23,313 + 948 = 24,261
The empty seats are the seats that were not filled.
33,800 − 24,261 = 9539
Answer: 9539~seats""",
    ('whole.word-totals', 'N', 3, 0): 
"""Q: A bakery sold 2471 buns on Friday. It sold 821 more buns on Saturday than on Friday, and 498 fewer buns on Sunday than on Saturday. Each bun costs $2. How much money did the bakery get for the buns it sold on the three days? | Answer: $
Find the number of buns sold on Saturday.
2471 + 821 = 3292
Find the number of buns sold on Sunday.
3292 − 498 = 2794
Add the buns sold on the three days.
2471 + 3292 + 2794 = 8557
Each bun costs $2.
8557 × $2 = $17,114
Answer: $17114""",
    ('whole.grouping', 'N', 3, 1): 
"""Q: 331 pupils are going on a school trip. Each bus has 40 seats, and the school uses as few buses as possible. How many seats on the buses will be empty? | Answer: seats
Divide the pupils into busloads of 40.
40 × 8 = 320 and 331 − 320 = 11, so 331 ÷ 40 = 8 remainder 11
8 buses carry 320 pupils. The other 11 pupils need one more bus.
8 + 1 = 9 buses
Find the number of seats on the buses.
9 × 40 = 360
Take away the seats the pupils sit on.
360 − 331 = 29
Answer: 29~seats""",
    ('whole.who-has-most', 'T', 1, 0): 
"""Q: Wen has 6800 cards, Isaac has 6107 cards and Umar has 6260 cards. | Who has the most cards? | Write the name. | Answer:
Compare the numbers of cards from the left, digit by digit.
6800 (Wen) > 6260 (Umar) > 6107 (Isaac)
Wen has the greatest number.
Answer: Wen""",
    ('whole.who-has-most', 'T', 3, 0): 
"""Q: Wen has 65 cards. Isaac has 3 times as many cards as Wen. Umar has 19 more cards than Isaac. Wen then gives all her cards to Umar. | Who has the most cards now? | Write the name. | Answer:
Find how many cards Isaac has.
3 × 65 = 195
Find how many cards Umar has at first.
195 + 19 = 214
Wen gives all 65 cards to Umar, so Wen has none left and Umar has 65 more.
214 + 65 = 279
Compare the numbers of cards.
279 (Umar) > 195 (Isaac) > 0 (Wen)
Umar has the greatest number.
Answer: Umar""",
    ('whole.shopping', 'N', 3, 1): 
"""Q: Lucy bought 2 T-shirts at $10 each and 5 files at $2 each. She paid with $50. How much change did she receive? | Answer: $
Find the cost of the T-shirts.
2 × $10 = $20
Find the cost of the files.
5 × $2 = $10
Add the two costs.
$20 + $10 = $30
The change is what was paid take away the cost.
$50 − $30 = $20
Answer: $20""",
    ('whole.sum-and-difference', 'N', 3, 0): 
"""Q: Wen and Isaac have 1200 cards altogether. Isaac has 132 fewer cards than Wen. How many cards does Wen have? | Answer: cards
Draw a bar for each child. Wen’s bar is as long as Isaac’s and 132 more; the two bars together stand for 1200 cards.
Take away the 132 extra. What is left is two equal bars.
1200 − 132 = 1068
One bar is half of that: it is Isaac’s share.
1068 ÷ 2 = 534
Wen has 132 more than Isaac.
534 + 132 = 666
Answer: 666~cards""",
    ('whole.times-as-many', 'N', 3, 0): 
"""Q: Wen collected 4 times as many marbles as Isaac. Wen collected 735 more marbles than Isaac. How many marbles did they collect altogether? | Answer: marbles
Draw Isaac’s marbles as 1 unit; Wen’s are 4 units. Wen has 3 units more than Isaac.
4 − 1 = 3 units
3 units are 735. Find 1 unit.
735 ÷ 3 = 245
Together they have 1 + 4 = 5 units.
5 × 245 = 1225
Answer: 1225~marbles""",
    ('whole.times-as-many', 'N', 3, 1): 
"""Q: Lucy saved 3 times as much money as Ivy. They saved $292 altogether. How much money did Lucy save? | Answer: $
Draw Ivy’s savings as 1 unit; Lucy’s are 3 units. Together they are 4 units.
1 + 3 = 4 units
4 units are $292. Find 1 unit.
$292 ÷ 4 = $73
Lucy saved 3 units.
3 × $73 = $219
Answer: $219""",
    ('whole.number-line', 'N', 2, 0): 
"""Q: What number is the arrow pointing to on the number line below? | Answer:
From 17,000 to 17,250 there are 5 equal steps. Find the size of one step.
(17,250 − 17,000) ÷ 5 = 250 ÷ 5 = 50
The arrow is 1 step after 17,250.
17,250 + 1 × 50 = 17,250 + 50 = 17,300
Answer: 17300""",
    ('whole.number-pattern', 'N', 2, 1): 
"""Q: The first four numbers of a pattern are 13, 17, 21, 25. 89 is a number in the pattern. Which number of the pattern is it? | Give its place in the pattern: for the 10th number, write 10. | Answer:
The numbers go up by 4 each time.
17 − 13 = 4
Take away the first number.
89 − 13 = 76
Find how many steps of 4 that is.
76 ÷ 4 = 19
It is 19 steps after the 1st number.
1 + 19 = 20
Answer: 20""",
    ('whole.grouping', 'N', 2, 0): 
"""Q: A factory packs 579 eggs into boxes of 40. How many boxes can be filled completely? | Answer: boxes
Divide the eggs into boxes of 40.
40 × 14 = 560 and 579 − 560 = 19, so 579 ÷ 40 = 14 remainder 19
The 19 eggs left over are not enough to fill another box, so 14 boxes are full.
Answer: 14~boxes""",
}


if __name__ == "__main__":
    unittest.main()
