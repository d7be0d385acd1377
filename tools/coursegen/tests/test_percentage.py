"""Percentage: the solvers against worked examples, the keys against the
numbers their pages show, and every family against the key rules."""

import random
import re
import unittest
from fractions import Fraction

from coursegen import plan as shape
from coursegen.build import build_topic, plain, render
from coursegen.families import families_of
from coursegen.model import key_problem
from coursegen.topics import percentage as pc


def slots(*kinds):
    return tuple(shape.Slot(k, 1) for k in kinds)


def numbers(text):
    """The numbers on a page in order, money and percentages as plain values."""
    return [Fraction(x.replace(",", "")) for x in re.findall(r"\d[\d,]*(?:\.\d+)?", text)]


def made(make, kinds, level, seeds=40):
    for seed in range(seeds):
        try:
            yield make(random.Random(seed), level, slots(*kinds))
        except ValueError:
            continue


class Solvers(unittest.TestCase):
    def test_percent_of_and_as_percent(self):
        # 10% of 480 is 48, 5% is 24: 35% = 3 x 48 + 24 = 168.
        self.assertEqual(pc.percent_of(35, 480), 168)
        self.assertEqual(pc.percent_of(Fraction(5, 2), 3000), 75)     # 1% = 30, 2.5% = 75
        self.assertEqual(pc.as_percent(42, 60), 70)                    # 42/60 = 7/10
        self.assertEqual(pc.as_percent(3, 8), Fraction(75, 2))         # 37.5%

    def test_conversions(self):
        self.assertEqual(pc.percent_fraction(35), Fraction(7, 20))     # 35/100 = 7/20
        self.assertEqual(pc.percent_fraction(8), Fraction(2, 25))

    def test_changes(self):
        self.assertEqual(pc.after_change(400, 15), 460)                # 400 + 60
        self.assertEqual(pc.after_change(80, -15), 68)                 # 80 - 12
        self.assertEqual(pc.change_percent(400, 460), 15)              # 60 of 400
        self.assertEqual(pc.change_percent(445, 267), 40)              # 178 of 445
        self.assertEqual(pc.before_change(96, -20), 120)               # 96 is 80%: 12 a tenth
        self.assertEqual(pc.before_change(218, 9), 200)                # 218 is 109%

    def test_comparing_two_percentages(self):
        # 35% of 240 = 84, 20% of 300 = 60: 24 more.
        self.assertEqual(pc.compare_percents(35, 240, 20, 300), 24)
        self.assertEqual(pc.compare_percents(20, 300, 35, 240), 24)

    def test_whole_from_part_and_spending(self):
        self.assertEqual(pc.whole_from_part(18, 40), 45)               # 18 / 40 x 100
        # 240 less 25% is 180; 40% of 180 is 72; 180 - 72 = 108.
        self.assertEqual(pc.left_after_spending(240, 25, 40), 108)

    def test_multiple_gives_whole_percentages(self):
        rng = random.Random(3)
        for rate in (5, 8, 12, 15, 24, 35, 36):
            for _ in range(20):
                x = pc._multiple(rng, rate, 40, 600, also=20 if rate % 5 == 0 else 25)
                self.assertTrue(40 <= x <= 600)
                self.assertEqual(pc.percent_of(rate, x).denominator, 1)
        with self.assertRaises(ValueError):
            pc._multiple(rng, 7, 1, 50)                                # 7% needs a multiple of 100


class KeysAgreeWithPages(unittest.TestCase):
    def test_fraction_of_a_percentage(self):
        for q in made(pc.convert, "F", 1):
            rate = numbers(plain(q.text))[0]
            self.assertEqual(Fraction(q.parts[0].key), rate / 100)

    def test_discount_and_sale_price_make_the_price(self):
        for q in made(pc.discount, "NN", 2):
            price, rate = numbers(plain(q.text))
            off, sale = (Fraction(part.key) for part in q.parts)
            self.assertEqual(off + sale, price)
            self.assertEqual(off, price * rate / 100)

    def test_charge_and_total(self):
        for q in made(pc.charges, "NN", 2):
            nums = numbers(plain(q.text))
            bill, rate = nums[0], nums[1]
            extra, total = (Fraction(part.key) for part in q.parts)
            self.assertEqual(total - extra, bill)
            self.assertEqual(extra, bill * rate / 100)

    def test_usual_price_from_sale_price(self):
        for q in made(pc.discount, "N", 3):
            rate, paid = numbers(plain(q.text))
            usual = Fraction(q.parts[0].key)
            self.assertEqual(usual * (100 - rate) / 100, paid)

    def test_spending_backwards_gives_what_is_left(self):
        checked = 0
        for q in made(pc.spending, "N", 3, seeds=80):
            text = plain(q.text)
            if "at first" not in text and "make?" not in text:
                continue
            first, second, left = numbers(text)[:3]
            start = Fraction(q.parts[0].key)
            self.assertEqual(start * (100 - first) * (100 - second) / 10000, left)
            checked += 1
        self.assertGreater(checked, 5)

    def test_shaded_percentage_counts_the_squares(self):
        for q in made(pc.shaded, "N", 1):
            svg = q.figures[0].svg
            hatched = svg.count('fill="url(#hatch)"')
            total = hatched + svg.count('fill="#fff"')
            share = total - hatched if "not shaded" in q.parts[0].prompt else hatched
            self.assertEqual(Fraction(q.parts[0].key), Fraction(100 * share, total))

    def test_best_buy_is_the_lowest_sale_price(self):
        for q in made(pc.best_buy, "Q", 2):
            rows = re.findall(r"<td>(Shop .)</td><td>\$([\d,]+)</td><td>(\d+)%</td>", q.text)
            sale = [Fraction(price) * (100 - int(rate)) / 100 for _, price, rate in rows]
            self.assertEqual(len(rows), 4)
            self.assertEqual(int(q.parts[0].key) - 1, sale.index(min(sale)))

    def test_difference_between_the_two_groups(self):
        for q in made(pc.of_amount, "N", 3):
            total, rate = numbers(plain(q.text))[:2]
            part = total * rate / 100
            self.assertEqual(Fraction(q.parts[0].key), abs(total - 2 * part))

    def test_the_rest_is_what_the_given_parts_leave(self):
        for q in made(pc.rest, "N", 2):
            r1, r2 = numbers(plain(q.text))[:2]
            self.assertEqual(Fraction(q.parts[0].key), 100 - r1 - r2)

    def test_interest_and_the_money_after_a_year(self):
        for q in made(pc.interest, "NN", 3):
            deposit, rate = numbers(plain(q.text))[:2]
            earned, after = (Fraction(part.key) for part in q.parts)
            self.assertEqual(earned, deposit * rate / 100)
            self.assertEqual(after, deposit + earned)

    def test_girls_in_a_club(self):
        for q in made(pc.survey, "NN", 2):
            total, boys, club = numbers(plain(q.text))[:3]
            girls, members = (Fraction(part.key) for part in q.parts)
            self.assertEqual(girls, total * (100 - boys) / 100)
            self.assertEqual(members, girls * club / 100)


class Families(unittest.TestCase):
    def test_every_pattern_and_level_gives_well_formed_questions(self):
        for fam in families_of(7):
            self.assertFalse(fam.placeholder)
            for kinds in fam.kinds:
                for level in fam.levels:
                    count = 0
                    for q in made(fam.make, kinds, level, seeds=25):
                        count += 1
                        self.assertEqual(len(q.parts), len(kinds))
                        for part, kind in zip(q.parts, kinds):
                            self.assertIsNone(key_problem(kind, part.key, part.options),
                                              (fam.name, kinds, level))
                        html, _ = render(1, q, slots(*kinds))
                        self.assertNotIn("{fig", html)
                    self.assertGreater(count, 5, (fam.name, kinds, level))

    def test_topic_builds_without_placeholder(self):
        papers = build_topic(7)
        self.assertEqual(len(papers), 5)
        for paper in papers:
            self.assertTrue(all(q.family.startswith("percent.") for q in paper.questions))


if __name__ == "__main__":
    unittest.main()
