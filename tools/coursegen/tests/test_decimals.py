"""Decimals: each family's worked solution read back word for word on
examples checked by hand; the beaker read as it is drawn; choices whose
right option cannot be picked without working."""

import re
import unittest
from fractions import Fraction as Fr

from coursegen.build import render
from coursegen.tests.test_figures import figure_problems
from coursegen.tests.test_whole_numbers import check_worked, made


class WorkedByHand(unittest.TestCase):
    def test_decimals(self):
        check_worked(self, EXPECTED, 2)


class TheBeakerReadsAsItIsDrawn(unittest.TestCase):
    def beakers(self):
        for level in (1, 2):
            for seed in range(30):
                try:
                    yield made("dec.beaker", "N", level, seed)[0]
                except ValueError:
                    continue

    def test_alt_gives_the_scale_and_the_marks_either_side_of_the_water(self):
        for q in self.beakers():
            svg, alt = q.figures[0].svg, q.figures[0].alt
            labels = [int(t) for t in re.findall(r">(\d+)</text>", svg)]
            full, step = labels[-1], labels[1] - labels[0]
            bottom, top = 250, 250 - 206
            water = float(re.search(r'<rect x="[\d.]+" y="([\d.]+)"', svg)[1])
            level = round((bottom - water) / (bottom - top) * full)
            self.assertIn(f"from 0 to {full}, labelled every {step} m\u2113", alt)
            self.assertIn(f"between {level - step // 2} and {level + step // 2}", alt)
            self.assertIn(level - step // 2, labels)
            self.assertNotIn(str(level), re.findall(r"\d+", alt))
            # The working marks that level on the beaker again, and reads it from the labels.
            marked = next(s for s in q.solution.steps if s.figure is not None)
            self.assertIn(f">{level} m\u2113<", marked.figure.svg)
            self.assertIn(f"the mark after {level - step // 2}\u00a0m\u2113", marked.say)
            self.assertEqual(figure_problems(marked.figure.svg), [])


class ChoicesNeedWorking(unittest.TestCase):
    def test_the_best_buy_is_neither_the_cheapest_pack_nor_the_biggest(self):
        for level in (1, 2, 3):
            for seed in range(30):
                q, _ = made("dec.best-buy", "Q", level, seed)
                packs = [tuple(Fr(x) for x in re.findall(r"([\d.]+)", o)) for o in q.parts[0].options]
                best = packs[int(q.parts[0].key) - 1]
                self.assertEqual(best, min(packs, key=lambda m_p: m_p[1] / m_p[0]))
                self.assertNotEqual(best, min(packs, key=lambda m_p: m_p[1]))
                self.assertNotEqual(best, max(packs))

    def test_slips_are_true_of_their_options(self):
        for seed in range(30):
            q, _ = made("dec.compare", "Q", 1, seed)
            part = q.parts[0]
            key = part.options[int(part.key) - 1]
            for option, slip in zip(part.options, part.slips):
                m = re.search(r"as whole numbers: (\d+) is (?:more|less) than (\d+)", slip or "")
                if m:
                    self.assertEqual((m[1], m[2]), (str(int(option.split(".")[1])), str(int(key.split(".")[1]))))
            q, _ = made("dec.compare", "Q", 3, seed)
            part = q.parts[0]
            target = Fr(re.search(r"closest to ([\d.]+)", part.prompt)[1])
            for option, slip in zip(part.options, part.slips):
                if slip and "leaves out the 0" in slip:
                    point = option.index(".")
                    self.assertEqual(option[point + 2], "0")
                    self.assertEqual(Fr(option[:point + 2] + option[point + 3:]), target)
                if slip and "rounds" in slip:
                    self.assertEqual(Fr(option), Fr(int(target * 10 + Fr(1, 2)), 10))   # halves round up

    def test_digit_value_slips_name_their_places(self):
        order = ["thousands", "hundreds", "tens", "ones", "tenths", "hundredths", "thousandths"]
        for level in (1, 2):
            for seed in range(30):
                q, _ = made("dec.digit-value", "Q", level, seed)
                part = q.parts[0]
                right = order.index(part.options[int(part.key) - 1].split(" ", 1)[1].rstrip("s") + "s")
                for option, slip in zip(part.options, part.slips):
                    place = order.index(option.split(" ", 1)[1].rstrip("s") + "s")
                    if slip and "one place too many" in slip:
                        self.assertEqual(place, right + 1)
                    if slip and "one place too few" in slip:
                        self.assertEqual(place, right - 1)


class FractionsAreSpokenWhole(unittest.TestCase):
    def test_a_mixed_number_on_the_page_is_one_mixed_number(self):
        for seed in range(20):
            q, slots = made("dec.fraction-to-decimal", "N", 1, seed)
            page, _ = render(20011, q, slots)
            w, top, bottom = re.search(r'<span class="mixed"><span aria-hidden="true">(\d+)</span>.*?'
                                       r'num" aria-hidden="true">(\d+)<.*?den" aria-hidden="true">(\d+)<', page).groups()
            self.assertIn(f'<span class="sr">{w} and {top} over {bottom}</span>', page)
            self.assertEqual(Fr(q.parts[0].key), int(w) + Fr(int(top), int(bottom)))


EXPECTED = {
    ('dec.digit-value', 'Q', 1, 1): 
"""Q: What does the digit 2 stand for in 63.219? | (1) 2 ones | (2) 2 hundredths | (3) 2 tens | (4) 2 tenths | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
The places after the decimal point are tenths, hundredths and thousandths. The 2 is the first digit after the point, so it is in the tenths place.
After the point in 63.219, there are 2 tenths, 1 hundredth, 9 thousandths
The 2 is the first digit after the decimal point, so it stands for 2 tenths.
Answer: (4) 2 tenths
Why not the other options:
(1) 2 ones: takes the first place after the point to be the ones
(2) 2 hundredths: counts the decimal point as a place, one place too many
(3) 2 tens: confuses tenths with tens, the place before the point with a name like it""",
    ('dec.digit-value', 'N', 1, 0): 
"""Q: What is the value of the digit 3 in 59.743? | Answer:
The places after the decimal point are tenths, hundredths and thousandths. The 3 is the third digit after the point, so it is in the thousandths place.
3 thousandths = 3 ÷ 1000 = 0.003
Answer: 0.003""",
    ('dec.from-parts', 'N', 1, 0): 
"""Q: 0.007 + 0.8 + 0.04 + 5 = ? | What is the missing number? | Answer:
Add the parts place by place, from the ones: each part fills one place.
5 + 0.8 + 0.04 + 0.007 = 5.847
Answer: 5.847""",
    ('dec.from-parts', 'N', 1, 1): 
"""Q: Write 6 ones, 2 tenths and 2 thousandths as a decimal. | Answer:
Write each digit in its place after the point: tenths, then hundredths, then thousandths. There are no hundredths, so write 0 in the hundredths place.
6 + 0.2 + 0.002 = 6.202
Answer: 6.202""",
    ('dec.fraction-to-decimal', 'N', 2, 0): 
"""Q: Write 5/8 as a decimal. | Answer:
Find an equal fraction with 10, 100 or 1000 at the bottom: multiply 8 by 125.
8 × 125 = 1000
Multiply the top by 125 too. Then the fraction is thousandths, which can be written as a decimal.
5/8 = 625/1000 = 0.625
Answer: 0.625""",
    ('dec.decimal-to-fraction', 'F', 1, 1): 
"""Q: Write 0.47 as a fraction. | Give your answer as a fraction in its simplest form. | Answer:
0.47 has 2 decimal places, so it is 47 hundredths. Only 1 divides both 47 and 100, so the fraction is in its simplest form.
0.47 = 47/100
Answer: 47/100""",
    ('dec.compare', 'Q', 1, 0): 
"""Q: Which of these numbers is the smallest? | (1) 3.095 | (2) 3.59 | (3) 3.509 | (4) 3.507 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Write every number with 3 decimal places, so they are easy to compare. Then compare them from the left, digit by digit.
3.095 < 3.507 < 3.509 < 3.590
Written with 3 decimal places and compared digit by digit, 3.095 is the smallest of the four.
Answer: (1) 3.095
Why not the other options:
(2) 3.59: reads the digits after the point as whole numbers: 59 is less than 95
(3) 3.509: leaves out the zeros, reading 3.509 as 3.59 and 3.095 as 3.95
(4) 3.507: leaves out the zeros, reading 3.507 as 3.57 and 3.095 as 3.95""",
    ('dec.compare', 'Q', 3, 1): 
"""Q: Which of these numbers is closest to 2.33? | (1) 2.3 | (2) 2.303 | (3) 2.34 | (4) 2.334 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Write 2.33 and every option with 3 decimal places, so they are easy to compare.
2.33 = 2.330; 2.300, 2.303, 2.334, 2.340
Find how far each option is from 2.330: take the smaller number from the larger.
2.330 − 2.300 = 0.03
2.330 − 2.303 = 0.027
2.334 − 2.330 = 0.004
2.340 − 2.330 = 0.01
The smallest difference is 0.004.
2.334 is only 0.004 from 2.33; every other option is further away.
Answer: (4) 2.334
Why not the other options:
(1) 2.3: rounds 2.33 to 2.3 first and looks for that number
(2) 2.303: leaves out the 0 in 2.303 and reads it as 2.33
(3) 2.34: looks at the hundredths only: 2.34 is next to 2.33, but 2.334 is nearer""",
    ('dec.compare', 'N', 1, 1): 
"""Q: Arrange these numbers in order, beginning with the greatest. | 0.602 ~ ~ 0.603 ~ ~ 0.63 ~ ~ 0.036 | Which number comes third? | Answer:
Write every number with 3 decimal places, so they are easy to compare.
0.602, 0.603, 0.630, 0.036
Compare them from the left, digit by digit, and put them in order, beginning with the greatest.
0.630 > 0.603 > 0.602 > 0.036
The third number is 0.602.
Answer: 0.602""",
    ('dec.pattern', 'N', 1, 0): 
"""Q: What is the missing number in this pattern? ~ 6.21, 6.46, 6.71, 6.96, ? | Answer:
Each number is 0.25 more than the one before it (6.46 − 6.21 = 0.25). Add 0.25 to the number before the gap.
6.96 + 0.25 = 7.21
Answer: 7.21""",
    ('dec.round', 'T', 3, 1): 
"""Q: Two pieces of rope are 5.188~m and 0.28~m long. What is their total length, correct to 2 decimal places? | Give your answer to 2 decimal places, writing any zeros at the end. | Answer: m
Add the two amounts, lining up the decimal points.
5.188 + 0.280 = 5.468
To round to 2 decimal places, look at the thousandths digit of 5.468: it is 8, 5 or more, so round up.
5.468 ≈ 5.47
Answer: 5.47~m""",
    ('dec.round', 'N', 1, 0): 
"""Q: Round 41.702 to 2 decimal places. | Answer:
To round to 2 decimal places, look at the thousandths digit of 41.702: it is 2, less than 5, so round down.
41.702 ≈ 41.7
Answer: 41.7""",
    ('dec.share-rounded', 'T', 2, 1): 
"""Q: 7 identical parcels have a total mass of 10.73~kg. What is the mass of one of the parcels? | Give your answer correct to 2 decimal places, writing any zeros at the end. | Answer: kg
Divide the total by 7, working to 3 decimal places: one more than the answer needs.
10.73 ÷ 7 = 1.532…
To round to 2 decimal places, look at the thousandths digit of 1.532: it is 2, less than 5, so round down.
1.532… ≈ 1.53
Answer: 1.53~kg""",
    ('dec.add-subtract', 'N', 2, 0): 
"""Q: 25.8 − 9.18 + 4.169 = ? | Answer:
Work from left to right: subtract first. Line up the decimal points.
25.80 − 9.18 = 16.62
Then add 4.169, writing 0 in any empty place.
16.620 + 4.169 = 20.789
Answer: 20.789""",
    ('dec.multiply-divide', 'N', 2, 0): 
"""Q: 109.2 ÷ 5 = ? | Answer:
Write 109.2 with 2 decimal places and divide as if there were no point, digit by digit. Then put the point back, 2 places from the right.
10 ÷ 5 = 2
bring down 9, so 9 ÷ 5 = 1 remainder 4
bring down 2, so 42 ÷ 5 = 8 remainder 2
bring down 0, so 20 ÷ 5 = 4
10920 ÷ 5 = 2184, so 109.20 ÷ 5 = 21.84
Answer: 21.84""",
    ('dec.multiply-divide', 'N', 1, 0): 
"""Q: 50.87 ÷ 1000 = ? | Answer:
Dividing by 1000 moves every digit 3 places to the right.
50.87 ÷ 1000 = 0.05087
Answer: 0.05087""",
    ('dec.fraction-to-decimal', 'N', 1, 0): 
"""Q: Write 5 81/100 as a decimal. | Answer:
81/100 is 81 hundredths, which is 0.81. Add the whole number.
5 81/100 = 5 + 0.81 = 5.81
Answer: 5.81""",
    ('dec.decimal-to-fraction', 'F', 2, 1): 
"""Q: Write 0.376 as a fraction. | Give your answer as a fraction in its simplest form. | Answer:
0.376 has 3 decimal places, so it is 376 thousandths.
0.376 = 376/1000
Divide the top and the bottom by 8, the greatest number that divides both.
376/1000 = (376 ÷ 8)/(1000 ÷ 8) = 47/125
Answer: 47/125""",
    ('dec.number-line', 'N', 1, 0): 
"""Q: What number is the arrow pointing to on the number line below? | Answer:
From 4 to 5 there are 10 equal steps. Find the size of one step.
(5 − 4) ÷ 10 = 1 ÷ 10 = 0.1
The arrow is 6 steps after 4.
4 + 6 × 0.1 = 4 + 0.6 = 4.6
Answer: 4.6""",
    ('dec.measures', 'N', 2, 0): 
"""Q: Write 9~kg 701~g in kg. | Answer: kg
1~kg = 1000~g, so 701~g is 701/1000~kg. Write it as a decimal.
701 ÷ 1000 = 0.701
Add the 9 whole kilograms.
9 + 0.701 = 9.701
Answer: 9.701~kg""",
    ('dec.measures', 'N', 1, 1): 
"""Q: 1.075~kg = ?~g | What is the missing number? | Answer: g
1~kg = 1000~g, so multiply by 1000: every digit moves 3 places to the left.
1.075 × 1000 = 1075
Answer: 1075~g""",
    ('dec.beaker', 'N', 1, 1): 
"""Q: How much water is in the beaker? Give your answer in litres. | Answer: ℓ
The labels go up by 200~mℓ and there is one mark halfway between two labels, so each mark is half of 200~mℓ.
200 ÷ 2 = 100~mℓ
The water comes up to the mark after 200~mℓ.
200 + 100 = 300~mℓ
Change millilitres to litres: 1000~mℓ = 1~ℓ, so divide by 1000.
300 ÷ 1000 = 0.3~ℓ
Answer: 0.3~ℓ""",
    ('dec.beaker', 'N', 2, 0): 
"""Q: The beaker shows the water in it. Lucy pours out 450~mℓ of the water. How many litres of water are left in the beaker? | Answer: ℓ
The labels go up by 100~mℓ and there is one mark halfway between two labels, so each mark is half of 100~mℓ.
100 ÷ 2 = 50~mℓ
The water comes up to the mark after 800~mℓ.
800 + 50 = 850~mℓ
Take away the 450~mℓ poured out.
850 − 450 = 400~mℓ
Change millilitres to litres: 1000~mℓ = 1~ℓ, so divide by 1000.
400 ÷ 1000 = 0.4~ℓ
Answer: 0.4~ℓ""",
    ('dec.change', 'N', 3, 0): 
"""Q: Wen bought 4 bags of rice at $10.70 each, 2 caps at $14.25 each and 3 boxes of crayons at $3.45 each. She paid with a $90 note. How much change did she receive? | Answer: $
Find the cost of the bags of rice.
4 × $10.70 = $42.80
Find the cost of the caps.
2 × $14.25 = $28.50
Find the cost of the boxes of crayons.
3 × $3.45 = $10.35
Add the costs to find what was spent.
$42.80 + $28.50 + $10.35 = $81.65
The change is the note take away what was spent.
$90 − $81.65 = $8.35
Answer: $8.35""",
    ('dec.change', 'N', 2, 1): 
"""Q: Lucy bought 4 T-shirts at $9.55 each and a file for $2.25. How much did she pay altogether? | Answer: $
Find the cost of the T-shirts.
4 × $9.55 = $38.20
Add the costs.
$38.20 + $2.25 = $40.45
Answer: $40.45""",
    ('dec.unit-price', 'N', 3, 1): 
"""Q: 4 bottles of juice cost $5.60. Devi buys 3 bottles of juice and pays with a $5 note. How much change does she receive? | Answer: $
Find the cost of one bottle of juice: divide by 4.
$5.60 ÷ 4 = $1.40
Multiply by 3 for 3 bottles of juice.
3 × $1.40 = $4.20
The change is the note take away the cost.
$5 − $4.20 = $0.80
Answer: $0.80""",
    ('dec.best-buy', 'Q', 2, 0): 
"""Q: A shop sells sugar in these packs. Which pack is the best buy (the lowest price for each kilogram)? | (1) 2~kg for $5.60 | (2) 5~kg for $15 | (3) 2.5~kg for $8 | (4) 1~kg for $3.10 | Write the number of the correct option: 1, 2, 3 or 4. | Answer:
Find the price of 1~kg in each pack.
1~kg for $3.10, so 1~kg costs $3.10
2~kg for $5.60, so 1~kg costs $5.60 ÷ 2 = $2.80
2.5~kg for $8, so 5~kg cost $16 and 1~kg costs $16 ÷ 5 = $3.20
5~kg for $15, so 1~kg costs $15 ÷ 5 = $3
Compare the prices of 1~kg: the lowest is $2.80.
1~kg costs $2.80 in the pack of 2~kg, less than in any other pack.
Answer: (1) 2~kg for $5.60
Why not the other options:
(2) 5~kg for $15: thinks the biggest pack is always the best buy
(3) 2.5~kg for $8: divides the mass by the price instead of the price by the mass, then picks the smallest result
(4) 1~kg for $3.10: picks the lowest price without thinking of how much is in the pack""",
    ('dec.measure-story', 'N', 3, 1): 
"""Q: Lucy had a ribbon 0.8~m long. She cut 4 pieces of 15~cm each from it. What length of ribbon was left? Give your answer in metres. | Answer: m
Find the length of the 4 pieces.
4 × 15 = 60~cm
Change it to metres: 100~cm = 1~m.
60 ÷ 100 = 0.6~m
Take it away from the length of the ribbon.
0.8 − 0.6 = 0.2~m
Answer: 0.2~m""",
    ('dec.measure-story', 'N', 2, 0): 
"""Q: A jug holds 2.5~ℓ of milk. Wen pours 5 cups of 225~mℓ each from the jug. How much milk is left in the jug? Give your answer in millilitres. | Answer: mℓ
Change the milk in the jug to millilitres: 1~ℓ = 1000~mℓ.
2.5 × 1000 = 2500~mℓ
Find how much the 5 cups hold.
5 × 225 = 1125~mℓ
Take it away from what was in the jug.
2500 − 1125 = 1375~mℓ
Answer: 1375~mℓ""",
    ('dec.bill-share', 'N', 3, 0): 
"""Q: Isaac, Umar, Tara, Ben and Lucy had lunch with Mrs~Lim. The bill was $123. Mrs~Lim paid $42 of it and the 5 children shared the rest equally. How much did each child pay? | Answer: $
Take away what Mrs~Lim paid to find what the children shared.
$123 − $42 = $81
Share it equally among the 5 children.
$81 ÷ 5 = $16.20
Answer: $16.20""",
    ('dec.two-step-story', 'NN', 3, 0): 
"""Q: Wen bought 8.1~m of fabric at $3 per metre. | How much did she pay for the fabric? | Answer: $ | She cut the fabric into 5 pieces of equal length. How long was each piece? Give your answer in centimetres. | Answer: cm
(a)
Multiply the length by the price of 1 metre.
81 × 3 = 243; 8.1 has 1 decimal place, so 8.1 × 3 = 24.3. The fabric cost $24.30.
Answer (a): $24.30
(b)
Divide the length by 5.
8.1 ÷ 5 = 1.62~m
Change it to centimetres: 1~m = 100~cm.
1.62 × 100 = 162~cm
Answer (b): 162~cm""",
    ('dec.two-step-story', 'NN', 3, 1): 
"""Q: Lucy saved $4 every week for 4 weeks. | How much did she have altogether? | Answer: $ | She then bought a game for $12. How much money did she have left? | Answer: $
(a)
Multiply the savings of one week by 4.
4 × $4 = $16
Answer (a): $16
(b)
Take away the cost of the game.
$16 − $12 = $4
Answer (b): $4""",
    ('dec.two-step-story', 'NN', 3, 2): 
"""Q: Ethan ran 3 laps of a park and then 0.25~km to the gate. Each lap is 0.79~km long. His brother ran 3.13~km. | How far did Ethan run? | Answer: km | What is the difference between the distances the two children ran? Give your answer in metres. | Answer: m
(a)
Multiply the length of one lap by 3.
79 × 3 = 237; 0.79 has 2 decimal places, so 0.79 × 3 = 2.37~km
Add the 0.25~km to the gate.
2.37 + 0.25 = 2.62~km
Answer (a): 2.62~km
(b)
Take the shorter distance away from the longer one.
3.13 − 2.62 = 0.51~km
Change it to metres: 1~km = 1000~m.
0.51 × 1000 = 510~m
Answer (b): 510~m""",
    ('dec.two-step-story', 'NN', 3, 3): 
"""Q: Bella saved $4.10 every week for 7 weeks. | How much did she have altogether? | Answer: $ | She then bought a game for $21.85 and a book for $3.80. How much money did she have left? | Answer: $
(a)
Multiply the savings of one week by 7.
7 × $4.10 = $28.70
Answer (a): $28.70
(b)
Add the costs of the game and the book.
$21.85 + $3.80 = $25.65
Take it away from the savings.
$28.70 − $25.65 = $3.05
Answer (b): $3.05""",
    ('dec.pack-saving', 'N', 3, 0): 
"""Q: A shop sells caps at $11.50 each, or in packs of 6 for $67.80. Yusuf needs 18 caps. How much does he save by buying packs instead of single ones? | Answer: $
Find the cost of 18 single caps.
18 × $11.50 = $207
Find how many packs of 6 make 18.
18 ÷ 6 = 3
Find the cost of 3 packs.
3 × $67.80 = $203.40
The saving is the difference between the two costs.
$207 − $203.40 = $3.60
Answer: $3.60""",
    ('dec.price-per-kg', 'N', 3, 0): 
"""Q: Chicken cost $25.40 per kilogram. Mr~Hassan bought 1.75~kg of chicken and paid with $60. How much change did he receive? | Answer: $
0.75~kg is three quarters of 1~kg. Find the cost of a quarter of a kilogram, then of three quarters.
$25.40 ÷ 4 = $6.35 and 3 × $6.35 = $19.05
Add the costs for 1.75~kg.
$25.40 + $19.05 = $44.45
The change is what was paid take away the cost.
$60 − $44.45 = $15.55
Answer: $15.55""",
    ('dec.price-per-kg', 'N', 2, 1): 
"""Q: Beef cost $8.20 per kilogram. Mrs~Lee bought 0.5~kg of beef. How much did she pay? | Answer: $
0.5~kg is half of 1~kg, so it costs the price of 1~kg divided by 2.
$8.20 ÷ 2 = $4.10
Answer: $4.10""",
    ('dec.bottles', 'N', 3, 0): 
"""Q: Mr~Smith made 4.77~ℓ of lemonade. He poured it into bottles of 330~mℓ each, filling as many bottles as possible. How much lemonade was left over? Give your answer in millilitres. | Answer: mℓ
Change the lemonade to millilitres: 1~ℓ = 1000~mℓ.
4.77 × 1000 = 4770~mℓ
Divide it into bottles of 330~mℓ. The whole number of times is the number of full bottles; the remainder is what is left over.
330 × 14 = 4620 and 4770 − 4620 = 150, so 4770 ÷ 330 = 14 remainder 150
Answer: 150~mℓ""",
}


if __name__ == "__main__":
    unittest.main()
