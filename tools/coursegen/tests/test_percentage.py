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

from .test_fractions import said, worked


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


# (family, kinds, level, seed): the solution worked out by hand.
HAND = {
    ("percent.convert", "Q", 1, 1): """\
To write a percentage as a decimal, divide it by 100.
70 ÷ 100 = 0.7, so 70% = 0.7
70% is 70 out of 100, which is 0.7.
Answer: (1) 0.7
Why not the other options:
(2) 0.07: divides by 1000 instead of 100
(3) 0.3: gives the part that is not 70%, 100% − 70%
(4) 7: divides by 10 instead of 100""",
    ("percent.order", "Q", 1, 1): """\
Write every number as a percentage, so they can be compared.
0.8 = 80%, 0.58 = 58%, 64%, 37/50 = 74%
The greatest percentage is 80%, which is 0.8.
As a percentage 0.8 is 80%, the greatest of the four.
Answer: (3) 0.8
Why not the other options:
(1) 0.58: takes the decimal with more digits for the greater one, but 0.58 = 58%
(2) 37/50: picks the fraction with the biggest numbers, but 37/50 = 74%
(4) 64%: compares the number 64 with 0.8 as they are written, but 0.8 = 80%""",
    ("percent.shaded", "Q", 1, 2): """\
4 of the 20 squares are shaded. Write it as a fraction.
4/20
Make the bottom number 100: multiply the top and the bottom by 5.
4/20 = 20/100 = 20%
4 out of 20 squares is 4/20, which is 20%.
Answer: (4) 20%
Why not the other options:
(1) 16%: counts the squares that are not shaded and takes that number as the percentage
(2) 80%: gives the part that is not shaded
(3) 4%: takes the number of squares, 4, as the percentage, but there are 20 squares, not 100""",
    ("percent.of-amount", "N", 3, 1): """\
Find the children. 25% is 1/4, so divide the 760 people by 4.
760 ÷ 4 = 190
The rest are adults.
760 − 190 = 570
Find the difference.
570 − 190 = 380
Answer: 380 adults""",
    ("percent.what-percent", "Q", 1, 2): """\
Compare 3 with the whole, 20. Write it as a fraction.
3/20
Make the bottom number 100: multiply the top and the bottom by 5.
3/20 = 15/100 = 15%
3 out of 20 is 3/20, which is 15%.
Answer: (2) 15%
Why not the other options:
(1) 300%: multiplies 3 by 100 but forgets to divide by 20
(3) 85%: gives the percentage of the rest, 100% − 15%
(4) 3%: takes 3 itself as the percentage, but the whole is 20, not 100""",
    ("percent.discount", "N", 3, 1): """\
The usual price is 100%. He pays 100% − 30% = 70% of it, $490. Find 10%: divide by 7.
$490 ÷ 7 = $70
The whole, 100%, is 10 times 10%.
$70 × 10 = $700
Answer: $700""",
    ("percent.best-buy", "Q", 2, 3): """\
Shop A: find 40% of $460 and take it away.
40% of $460 = $460 ÷ 10 × 4 = $184; $460 − $184 = $276
Shop B: find 50% of $520 and take it away.
50% of $520 = $520 ÷ 2 = $260; $520 − $260 = $260
Shop C: find 35% of $380 and take it away.
35% of $380 = $380 ÷ 20 × 7 = $133; $380 − $133 = $247
Shop D: find 10% of $360 and take it away.
10% of $360 = $360 ÷ 10 = $36; $360 − $36 = $324
The lowest price after the discount is $247, at Shop C.
Shop C sells it for $247 after the discount, less than any other shop.
Answer: (3) Shop C
Why not the other options:
(1) Shop A: gives a bigger discount than Shop C, but its usual price is higher: it costs $276 after the discount
(2) Shop B: takes more dollars off than Shop C, $260, but starts from a higher price: it costs $260 after the discount
(4) Shop D: has a lower usual price than Shop C, but only 10% off: it costs $324 after the discount""",
    ("percent.charges", "N", 3, 1): """\
The cost of the food is 100%, so the $737 paid is 100% + 10% = 110% of it. Find 10%: divide by 11.
$737 ÷ 11 = $67
The whole, 100%, is 10 times 10%.
$67 × 10 = $670
Answer: $670""",
    ("percent.change", "N", 3, 3): """\
Find the decrease: 20% of 4000.
20% of 4000 = 4000 ÷ 5 = 800
Take the decrease away from last year’s number.
4000 − 800 = 3200
Find next year’s increase: 50% of this year’s 3200.
50% of 3200 = 3200 ÷ 2 = 1600
Add it to this year’s number.
3200 + 1600 = 4800
Answer: 4800 members""",
    ("percent.whole-from-part", "N", 3, 1): """\
The boys are the rest of the pupils.
100% − 60% = 40%
The girls are 60% − 40% = 20% of the pupils more than the boys, and that difference is 148 pupils. 20% is 1/5 of the whole, so the whole is 5 times 148.
148 × 5 = 740
Answer: 740 pupils""",
    ("percent.interest", "NN", 3, 1): """\
(a)
Find 1% of $4000: divide by 100.
$4000 ÷ 100 = $40
1.5% is 1.5 times 1%.
$40 × 1.5 = $60
Answer (a): $60
(b)
Add the interest to the money put in.
$4000 + $60 = $4060
Answer (b): $4060""",
    ("percent.spending", "N", 3, 8): """\
Work backwards. What was left, $144, is 100% − 40% = 60% of the money that remained after the shoes. Find 20%: divide by 3.
$144 ÷ 3 = $48
The whole, 100%, is 5 times 20%.
$48 × 5 = $240
$240 is 100% − 25% = 75% of the money at first. Find 25%: divide by 3.
$240 ÷ 3 = $80
The whole, 100%, is 4 times 25%.
$80 × 4 = $320
Answer: $320""",
    ("percent.survey", "NN", 3, 2): """\
(a)
Find the number of boys: 40% of 200.
40% of 200 = 200 ÷ 10 × 4 = 80
The rest are girls.
200 − 80 = 120
25% of the 120 girls are in the choir.
25% of 120 = 120 ÷ 4 = 30
Answer (a): 30 girls
(b)
30 of the 200 pupils are girls in the choir. Write it as a fraction.
30/200 = 3/20
Make the bottom number 100: multiply the top and the bottom by 5.
3/20 = 15/100 = 15%
Answer (b): 15%""",
    ("percent.rest", "Q", 2, 1): """\
Add the percentages of oranges and apples.
15% + 45% = 60%
The rest are bananas: take the sum away from 100%.
100% − 60% = 40%
The parts make 100% together, so the rest is 40%.
Answer: (3) 40%
Why not the other options:
(1) 55%: takes away only the 45% of apples
(2) 60%: adds the two percentages and stops: that is the oranges and apples together
(4) 85%: takes away only the 15% of oranges""",
    ("percent.compare", "N", 3, 1): """\
Find how much Hana spent: 20% of $80.
20% of $80 = $80 ÷ 5 = $16
Find how much Hassan spent: 30% of $200.
30% of $200 = $200 ÷ 10 × 3 = $60
Take the smaller amount away from the greater.
$60 − $16 = $44
Answer: $44""",
}


class WorkedByHand(unittest.TestCase):
    def test_every_family_has_a_solution_checked_by_hand(self):
        self.assertEqual({name for name, *_ in HAND}, {f.name for f in families_of(pc.TOPIC)})
        for (name, kinds, level, seed), text in HAND.items():
            with self.subTest(name):
                self.assertEqual(worked(name, kinds, level, seed)[1], text)


def money_of(text):
    return Fraction(text.replace("$", "").replace(",", ""))


class ChoicesAreRealSlips(unittest.TestCase):
    def test_best_buy_has_no_giveaway(self):
        """The cheapest after the discount has neither the lowest usual
        price nor the biggest discount, and every other shop beats it at
        what its slip says."""
        checked = 0
        for q in made(pc.best_buy, "Q", 2, seeds=60):
            rows = [(Fraction(pr.replace(",", "")), int(r))
                    for pr, r in re.findall(r"<td>Shop .</td><td>\$([\d,]+)</td><td>(\d+)%</td>", q.text)]
            k = int(q.parts[0].key) - 1
            prices, rates = [pr for pr, _ in rows], [r for _, r in rows]
            self.assertGreater(prices[k], min(prices))
            self.assertLess(rates[k], max(rates))
            off = [pr * r / 100 for pr, r in rows]
            for i, slip in enumerate(q.parts[0].slips):
                if i == k:
                    self.assertIsNone(slip)
                    continue
                self.assertGreater(prices[i] - off[i], prices[k] - off[k])
                self.assertIn(pc.money(prices[i] - off[i]), slip)
                if "lower usual price" in slip:
                    self.assertLess(prices[i], prices[k])
                elif "bigger discount" in slip:
                    self.assertGreater(rates[i], rates[k])
                elif "more dollars off" in slip:
                    self.assertGreater(off[i], off[k])
                else:
                    self.assertLess(prices[i] - rates[i], prices[k] - rates[k])
            checked += 1
        self.assertGreater(checked, 30)

    def check_options(self, q, mistakes):
        """Each wrong option is the value its slip's mistake gives."""
        part = q.parts[0]
        for option, slip in zip(part.options, part.slips):
            if slip is None:
                continue
            got = [f for start, f in mistakes.items() if slip.startswith(start)]
            self.assertEqual(len(got), 1, slip)
            self.assertEqual(money_of(said(option).rstrip("%")), got[0], slip)

    def test_wrong_options_follow_their_slips(self):
        for q in made(pc.of_amount, "Q", 1):
            rate, amount = numbers(q.parts[0].prompt)
            key = amount * rate / 100
            self.check_options(q, {"divides by 10 ": key * 10, "finds what is left": amount - key,
                                   f"divides {pc.n(amount)} by": amount / rate, "divides by 1000": key / 10,
                                   "adds": amount + key})
        for q in made(pc.discount, "Q", 2):
            price, rate = numbers(plain(q.text))[:2]
            off = price * rate / 100
            self.check_options(q, {"gives the discount": off, "takes $": price - rate,
                                   "adds the discount": price + off, "takes the discount off twice": price - 2 * off})
        for q in made(pc.what_percent, "Q", 1):
            whole, part = numbers(q.parts[0].prompt)
            key = part * 100 / whole
            self.check_options(q, {"divides the other way": whole * 100 / part, "gives the percentage of the rest":
                                   100 - key, f"takes {pc.n(part)} itself": part, "makes the bottom number 1000":
                                   key / 10, "multiplies": part * 100})
        for level in (1, 2):
            for q in made(pc.rest, "Q", level):
                given = numbers(plain(q.text))[:2 if level == 2 else 1]
                rest = 100 - sum(given)
                mistakes = {"forgets to regroup": rest + 10, "adds the two": sum(given),
                            "gives the percentage that are": given[0], f"adds {pc.pct(given[0])} to": 100 + given[0]}
                if level == 2:
                    mistakes.update({f"takes away only the {pc.pct(given[0])}": 100 - given[0],
                                     f"takes away only the {pc.pct(given[1])}": 100 - given[1]})
                self.check_options(q, mistakes)

    def test_ordering_slips_give_the_right_percentages(self):
        for level in (1, 2):
            for q in made(pc.order, "Q", level):
                part = q.parts[0]
                values = {}
                for option in part.options:
                    text = said(option)
                    values[option] = (Fraction(text.rstrip("%")) if text.endswith("%") else
                                      Fraction(text) * 100)
                key = values[part.options[int(part.key) - 1]]
                want = max if "greatest" in part.prompt else min
                self.assertEqual(key, want(values.values()))
                for option, slip in zip(part.options, part.slips):
                    if slip:
                        shown = re.findall(r"= (\d+)%", slip)
                        self.assertIn(str(values[option]) if "compares the number" not in slip else str(key),
                                      shown, slip)


class Working(unittest.TestCase):
    def test_a_percentage_on_one_line_takes_exact_shares(self):
        rng = random.Random(5)
        for _ in range(300):
            rate = rng.choice([5, 8, 12, 15, 20, 25, 30, 35, 40, 45, 60, 75])
            amount = pc._multiple(rng, rate, 40, 2000)
            line = pc.pct_line(rate, amount)
            m = re.fullmatch(r"(\d+)% of ([\d,]+) = [\d,]+ \u00f7 (\d+)(?: \u00d7 (\d+))? = ([\d,.]+)", line)
            share = Fraction(amount, int(m[3]))
            self.assertEqual(share.denominator, 1, line)
            self.assertEqual(share * int(m[4] or 1), pc.percent_of(rate, amount), line)

    def test_the_whole_from_a_share(self):
        rng = random.Random(6)
        for _ in range(200):
            rate = rng.choice([15, 30, 35, 40, 60, 70, 75, 80, 90, 95, 107, 110])
            whole = rng.randrange(100, 5000, 100)
            part = pc.percent_of(rate, whole)
            steps = pc.whole_from_pct_steps(rate, part, "the whole", pc.money)
            self.assertEqual(money_of(steps[-1].work.split(" = ")[-1]), whole)
            for step in steps:
                for amount in re.findall(r"\$[\d,.]+", step.work):
                    self.assertEqual((money_of(amount) * 100).denominator, 1)


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
