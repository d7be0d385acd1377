import unittest
from fractions import Fraction as Fr

from coursegen.model import fixed, fraction_key, key_problem, mixed_key, num, ratio_key
from coursegen.text import money, n, place_value, words


class KeyTexts(unittest.TestCase):
    def test_plain_decimals(self):
        cases = {Fr(84): "84", Fr(2800): "2800", Fr(15, 4): "3.75", Fr(1, 8): "0.125",
                 Fr("0.050"): "0.05", Fr(0): "0", Fr("10.10"): "10.1"}
        for value, text in cases.items():
            self.assertEqual(num(value), text)
        for bad in (Fr(1, 3), Fr(-2)):
            with self.assertRaises(ValueError):
                num(bad)

    def test_stated_places_keep_zeros_and_round_half_up(self):
        self.assertEqual(fixed(Fr("9.097"), 2), "9.10")
        self.assertEqual(fixed(Fr("3.996"), 2), "4.00")
        self.assertEqual(fixed(Fr("2.345"), 2), "2.35")
        self.assertEqual(fixed(Fr("7.25") / 3, 2), "2.42")
        self.assertEqual(fixed(Fr(5), 1), "5.0")

    def test_fractions_mixed_numbers_and_ratios(self):
        self.assertEqual(fraction_key(Fr(18, 24)), "3/4")
        self.assertEqual(mixed_key(Fr(17, 3)), "5 2/3")
        self.assertEqual(ratio_key(6, 9, 12), "2:3:4")
        self.assertEqual(ratio_key(Fr(1, 2), Fr(1, 3)), "3:2")
        for bad in (lambda: fraction_key(4), lambda: mixed_key(Fr(2, 3)), lambda: mixed_key(3)):
            with self.assertRaises(ValueError):
                bad()


class WellFormedKeys(unittest.TestCase):
    def test_good_keys(self):
        for kind, key in [("N", "84"), ("N", "3.75"), ("N", "0"), ("F", "109/200"), ("X", "5 2/3"),
                          ("R", "7:23"), ("R", "5:3:2"), ("T", "12.42pm"), ("T", "Derrick")]:
            self.assertIsNone(key_problem(kind, key), f"{kind} {key}")
        self.assertIsNone(key_problem("Q", "3", ["a", "b", "c", "d"]))

    def test_bad_keys(self):
        for kind, key in [("N", "3.50"), ("N", "084"), ("N", "1,000"), ("N", ""), ("N", " 8"),
                          ("F", "6/8"), ("F", "4/1"), ("F", "3 / 4"), ("X", "5 4/3"), ("X", "5 2/4"),
                          ("X", "17/3"), ("R", "6:9"), ("R", "7"), ("Q", "5"), ("T", "a>b"),
                          ("T", "#1"), ("L", "x")]:
            self.assertIsNotNone(key_problem(kind, key), f"{kind} {key!r}")
        self.assertIsNotNone(key_problem("Q", "1", ["a", "a", "b", "c"]))


class PrintedNumbers(unittest.TestCase):
    def test_grouping_and_money(self):
        self.assertEqual(n(2800), "2800")
        self.assertEqual(n(45649), "45,649")
        self.assertEqual(n(Fr("1234567.5")), "1,234,567.5")
        self.assertEqual(money(Fr("4.5")), "$4.50")
        self.assertEqual(money(12), "$12")
        with self.assertRaises(ValueError):
            money(Fr(1, 3))

    def test_place_values_are_singular_for_one(self):
        self.assertEqual(place_value(1, "thousandths"), "1 thousandth")
        self.assertEqual(place_value(1, "ten thousands"), "1 ten thousand")
        self.assertEqual(place_value(3, "tenths"), "3 tenths")

    def test_words(self):
        self.assertEqual(words(305020), "three hundred and five thousand and twenty")
        self.assertEqual(words(40006), "forty thousand and six")
        self.assertEqual(words(1200000), "one million two hundred thousand")
        self.assertEqual(words(999), "nine hundred and ninety-nine")


if __name__ == "__main__":
    unittest.main()
