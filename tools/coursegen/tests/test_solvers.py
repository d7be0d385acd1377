"""The solvers of topics 1 to 3 against examples worked by hand."""

import unittest
from fractions import Fraction as Fr

from coursegen.topics import decimals as dec
from coursegen.topics import fractions as fr
from coursegen.topics import whole_numbers as wn


class WholeNumbers(unittest.TestCase):
    def test_place_value(self):
        self.assertEqual(wn.digit_value(4352917, 5), 50000)
        self.assertEqual(wn.digit_value(860243, 8), 800000)
        with self.assertRaises(ValueError):
            wn.digit_value(4455, 4)

    def test_numbers_from_digits(self):
        digits = [3, 0, 8, 5]
        self.assertEqual(wn.form_number(digits, "greatest"), 8530)
        self.assertEqual(wn.form_number(digits, "smallest"), 3058)
        self.assertEqual(wn.form_number(digits, "smallest even"), 3058)
        self.assertEqual(wn.form_number(digits, "greatest odd"), 8503)
        self.assertEqual(wn.form_number([1, 2, 0, 7], "smallest odd"), 1027)

    def test_rounding(self):
        self.assertEqual(wn.round_to(45649, 100), 45600)
        self.assertEqual(wn.round_to(45650, 100), 45700)
        self.assertEqual(wn.round_to(99951, 1000), 100000)
        self.assertEqual(wn.round_range(3500, 100, "smallest"), 3450)
        self.assertEqual(wn.round_range(3500, 100, "greatest"), 3549)
        self.assertEqual(wn.round_range(350, 10, "greatest"), 354)

    def test_factors_multiples_primes(self):
        self.assertEqual(len(wn.factors(36)), 9)
        self.assertEqual(sum(wn.factors(18)), 39)
        self.assertEqual(wn.lcm(6, 8), 24)
        self.assertEqual(wn.multiples_between(6, 20, 80), 10)      # 24, 30, ..., 78
        self.assertEqual(wn.multiples_between(7, 21, 70), 6)       # 28 .. 63: ends excluded
        self.assertEqual([x for x in range(20, 40) if wn.is_prime(x)], [23, 29, 31, 37])
        self.assertFalse(wn.is_prime(1))

    def test_order_of_operations(self):
        x, d = "\u00d7", "\u00f7"
        self.assertEqual(wn._eval([36, "-", 12, d, 4, x, 3, "+", 5]), 32)
        self.assertEqual(wn._eval([[4, "+", 3], x, 5, "-", 16, d, 8]), 33)
        self.assertEqual(wn._eval([20, "-", 6, "-", 4]), 10)   # left to right
        with self.assertRaises(ValueError):
            wn._eval([7, d, 2])

    def test_word_problems(self):
        self.assertEqual(wn.buses_needed(318, 45), 8)
        self.assertEqual(wn.buses_needed(315, 45), 7)
        self.assertEqual(wn.sum_and_difference(560, 84), (238, 322))
        self.assertEqual(wn.sticks_in_figure(4, 3, 10), 31)
        self.assertEqual(wn.sticks_in_figure(3, 2, 25), 51)


class Decimals(unittest.TestCase):
    def test_digit_place(self):
        self.assertEqual(dec.digit_place(Fr("36.472"), 7), Fr("0.07"))
        self.assertEqual(dec.digit_place(Fr("5.038"), 3), Fr("0.03"))
        self.assertEqual(dec.digit_place(Fr("5.038"), 5), 5)
        self.assertEqual(dec.digit_place(Fr("41.9"), 4), 40)

    def test_rounding(self):
        self.assertEqual(dec.round_places(Fr("6.748"), 1), Fr("6.7"))
        self.assertEqual(dec.round_places(Fr("6.75"), 1), Fr("6.8"))
        self.assertEqual(dec.round_places(Fr("9.097"), 2), Fr("9.1"))
        self.assertEqual(dec.round_places(Fr("12.5"), 0), 13)

    def test_money(self):
        self.assertEqual(dec.change(10, [3 * Fr("1.45"), Fr("2.30")]), Fr("3.35"))
        self.assertEqual(dec.unit_price(Fr("4.20"), 6), Fr("0.70"))
        offers = [(Fr(2), Fr("5.60")), (Fr(1, 2), Fr("1.30")), (Fr(5), Fr("13.50"))]
        self.assertEqual(dec.best_buy(offers), 1)                 # 2.80, 2.60, 2.70 per kg
        offers = [(Fr(3), Fr("7.50")), (Fr(1), Fr("2.60"))]
        self.assertEqual(dec.best_buy(offers), 0)                 # the big pack: 2.50 per kg


class Fractions(unittest.TestCase):
    def test_remainder(self):
        self.assertEqual(fr.left_after(Fr(1, 3), Fr(1, 4)), Fr(1, 2))
        self.assertEqual(fr.left_after(Fr(2, 5), Fr(2, 3)), Fr(1, 5))

    def test_whole_from_part(self):
        self.assertEqual(fr.whole_from_part(24, Fr(3, 8)), 64)
        self.assertEqual(fr.whole_from_part(36, Fr(3, 5)), 60)     # 2/5 given away, 36 left
        self.assertEqual(fr.whole_from_part(150, Fr(1, 4)), 600)   # jug 3/4 full to 1/2 full
        with self.assertRaises(ValueError):
            fr.whole_from_part(10, Fr(3, 4))

    def test_pieces(self):
        self.assertEqual(fr.pieces(5, Fr(3, 4)), (6, Fr(1, 2)))
        self.assertEqual(fr.pieces(6, Fr(3, 4)), (8, 0))

    def test_keys_by_kind(self):
        self.assertEqual(fr.key_as(Fr(11, 12), "F"), "11/12")
        self.assertEqual(fr.key_as(Fr(5, 4), "X"), "1 1/4")
        self.assertEqual(fr.key_as(Fr(18, 2), "N"), "9")
        for value, kind in [(Fr(5, 4), "F"), (Fr(3), "X"), (Fr(1, 2), "N")]:
            with self.assertRaises(ValueError):
                fr.key_as(value, kind)


if __name__ == "__main__":
    unittest.main()
