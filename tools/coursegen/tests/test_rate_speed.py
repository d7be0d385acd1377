"""Rate and Speed: solvers against worked examples, time keys as a pupil
types them, and the families against the plan and their own pages."""

import random
import re
import unittest
from fractions import Fraction

from coursegen import plan as shape
from coursegen.build import build_topic, check, plain
from coursegen.families import families_of
from coursegen.model import Part, Step, key_problem
from coursegen.topics import load_all
from coursegen.topics import rate_speed as rs

from .test_figures import figure_problems
from .test_ratio import assert_worked, solution_figures

load_all()
TOPIC = 9


def made(family, kinds, level, seeds=60):
    slots = tuple(shape.Slot(k, 1) for k in kinds)
    out = []
    for seed in range(seeds):
        try:
            out.append(family.make(random.Random(seed), level, slots))
        except ValueError:
            pass
    return out


def minutes_of(text):
    """A time of day on the page, 9.05am or 12.42pm, as minutes after midnight."""
    h, m, half = re.fullmatch(r"(\d{1,2})\.(\d\d)(am|pm)", text).groups()
    return (int(h) % 12 + (12 if half == "pm" else 0)) * 60 + int(m)


class Clock(unittest.TestCase):
    def test_times_of_day_across_noon(self):
        # 9 h 5 min after midnight; 12 h 42 min is 12.42pm; 13 h 15 min is 1.15pm.
        self.assertEqual(rs.clock(9 * 60 + 5), "9.05am")
        self.assertEqual(rs.clock(12 * 60 + 42), "12.42pm")
        self.assertEqual(rs.clock(11 * 60 + 59), "11.59am")
        self.assertEqual(rs.clock(13 * 60 + 15), "1.15pm")
        for bad in (12 * 60, 5 * 60, 23 * 60 + 30, Fraction(601, 2)):
            with self.assertRaises(ValueError):
                rs.clock(bad)

    def test_every_time_key_reads_back(self):
        for m in range(6 * 60, 23 * 60 + 1):
            if m != 12 * 60:
                key = rs.clock(m)
                self.assertEqual(minutes_of(key), m)
                self.assertIsNone(key_problem("T", key))

    def test_durations(self):
        # Kept on one line: no-break spaces only.
        self.assertEqual(rs.duration(145), "2\u00a0h\u00a025\u00a0min")
        self.assertEqual(rs.duration(45), "45\u00a0min")
        self.assertEqual(rs.duration(180), "3\u00a0h")

    def test_counting_on_through_the_hour(self):
        # 10.40am to 11.00am is 20 min, then 1 h 25 min to 12.25pm.
        self.assertEqual(rs.between(640, 745).replace("\u00a0", " "),
                         "10.40am to 11.00am is 20 min; 11.00am to 12.25pm is 1 h 25 min; "
                         "20 min + 1 h 25 min = 1 h 45 min")
        # Within the hour, from a whole hour, or whole hours: one stretch; noon is said as such.
        self.assertEqual(rs.between(545, 590).replace("\u00a0", " "), "9.05am to 9.50am is 45 min")
        self.assertEqual(rs.between(660, 735).replace("\u00a0", " "), "11.00am to 12.15pm is 1 h 15 min")
        self.assertEqual(rs.between(615, 735).replace("\u00a0", " "), "10.15am to 12.15pm is 2 h")
        self.assertEqual(rs.add_time(690, 30).replace("\u00a0", " "), "11.30am + 30 min = 12 noon")


class Solvers(unittest.TestCase):
    def test_speed_distance_time(self):
        # 150 km at 60 km/h: 2.5 h = 150 min.
        self.assertEqual(rs.travel_minutes(150, 60), 150)
        # 18 km/h for 40 min: 18 x 40/60 = 12 km.
        self.assertEqual(rs.distance_covered(18, 40), 12)
        # 1.8 km in 24 min: 1.8 x 60/24 = 4.5 km/h.
        self.assertEqual(rs.speed_of(Fraction(9, 5), 24), Fraction(9, 2))
        # 72 km/h = 72 000 m in 60 min = 1200 m/min, and back.
        self.assertEqual(rs.kmh_to_m_per_min(72), 1200)
        self.assertEqual(rs.m_per_min_to_kmh(900), 54)

    def test_average_speed_counts_stops(self):
        # 80 km in 60 min, then 60 km in 90 min: 140 km in 150 min = 56 km/h.
        self.assertEqual(rs.average_speed([(80, 60), (60, 90)]), 56)
        # 60 km/h for 90 min (90 km), 30 min stop, 60 km at 40 km/h (90 min):
        # 150 km in 210 min = 150 x 60/210 = 300/7 km/h.
        self.assertEqual(rs.average_speed([(90, 90), (0, 30), (60, 90)]), Fraction(300, 7))

    def test_meeting_and_catching_up(self):
        # 90 km apart at 15 and 75 km/h: close at 90 km/h, meet after 60 min.
        self.assertEqual(rs.meeting_minutes(90, 15, 75), 60)
        # A leads by 20 km (40 km/h for 30 min); B at 60 km/h gains 20 km/h: 60 min.
        self.assertEqual(rs.catch_up_minutes(20, 60, 40), 60)
        with self.assertRaises(ValueError):
            rs.catch_up_minutes(5, 40, 60)

    def test_stepped_charges(self):
        # First hour $2, each 30 min or part $1.20: 2 h 10 min is 60 + 70 min,
        # 70 min is 3 steps, 2 + 3.60 = 5.60.
        self.assertEqual(rs.stepped_charge(130, 60, 2, 30, Fraction(6, 5)), Fraction(28, 5))
        self.assertEqual(rs.stepped_charge(45, 60, 2, 30, Fraction(6, 5)), 2)
        self.assertEqual(rs.stepped_charge(120, 60, 2, 30, Fraction(6, 5)), Fraction(22, 5))
        # Taxi: first 1 km $3.20, then $0.25 a 400 m: 8.05 km is 7050 m more,
        # 18 steps (17.6 rounded up), 3.20 + 4.50 = 7.70.
        self.assertEqual(rs.stepped_charge(8050, 1000, Fraction(16, 5), 400, Fraction(1, 4)), Fraction(77, 10))
        # $8.95 = 3.20 + 23 x 0.25, so at most 1000 + 23 x 400 = 10 200 m.
        self.assertEqual(rs.units_for_charge(Fraction(179, 20), 1000, Fraction(16, 5), 400, Fraction(1, 4)), 10200)
        with self.assertRaises(ValueError):
            rs.units_for_charge(Fraction(9), 1000, Fraction(16, 5), 400, Fraction(1, 4))

    def test_filling(self):
        # 300 l at 12 + 8 l/min less a 5 l/min drain: 15 l/min, 20 min.
        self.assertEqual(rs.fill_minutes(300, 20, 5), 20)
        with self.assertRaises(ValueError):
            rs.fill_minutes(100, 3, 3)

    def test_parts_follow_the_story_order(self):
        kinds = ["N", "T", "N", "T"]
        for seed in range(20):
            got = rs.pick_parts(random.Random(seed), kinds, ("N", "T"))
            self.assertIn(got, ((0, 3), (2, 3)))    # the last is kept
        self.assertEqual(rs.pick_parts(random.Random(1), kinds, ("T", "N")), (1, 2))
        with self.assertRaises(ValueError):
            rs.pick_parts(random.Random(1), kinds, ("T", "T", "T"))

    def test_story_shows_each_fact_once_under_the_first_part_needing_it(self):
        facts = {k: Step(k) for k in "abcd"}
        cands = [("N", Part("1"), 1, ["a"]), ("N", Part("2"), 2, ["a", "b"]), ("T", Part("3"), "x", ["a", "c", "d"])]
        for seed in range(10):
            parts, sol = rs.story(random.Random(seed), (shape.Slot("N", 1), shape.Slot("T", 1)), cands, facts)
            first = [p.key for p in parts][0]
            want = {"1": [("a", 1), ("c", 2), ("d", 2)], "2": [("a", 1), ("b", 1), ("c", 2), ("d", 2)]}[first]
            self.assertEqual([(st.say, st.part) for st in sol.steps], want)
            self.assertEqual(sol.answers[1], "x")


class Pages(unittest.TestCase):
    def fam(self, name):
        return next(f for f in families_of(TOPIC) if f.name == name)

    def test_arrival_is_departure_plus_the_journey_shown(self):
        for q in made(self.fam("rate.arrival-time"), "T", 1):
            text = plain(q.text)
            left = minutes_of(re.search(r"left at (\S+?)\.? ", text)[1])
            h = re.search(r"(\d+) h", text)
            m = re.search(r"(\d+) min", text)
            took = (int(h[1]) * 60 if h else 0) + (int(m[1]) if m else 0)
            self.assertEqual(minutes_of(q.parts[0].key), left + took, text)

    def test_route_figure_agrees_with_the_text(self):
        for kinds in (("N", "T"), ("N", "N")):
            for q in made(self.fam("rate.journey"), kinds, 3):
                svg = q.figures[0].svg
                kms = re.findall(r">(\d+) km<", svg)
                self.assertEqual(kms, re.findall(r"drove (\d+) km", plain(q.text)))
                xs = [float(x) for x in re.findall(r'<circle cx="([\d.]+)"', svg)]
                # Drawn to scale: the legs' lengths on the page as their km.
                self.assertAlmostEqual((xs[1] - xs[0]) / (xs[2] - xs[1]), int(kms[0]) / int(kms[1]), places=2)

    def test_who_first_names_someone_in_the_story_and_needs_the_working(self):
        for level in (2, 3):
            for q in made(self.fam("rate.who-first"), "T", level):
                text = plain(q.text)
                self.assertIn(q.parts[0].key, text)
                rides = re.findall(r"(\w+) (?:left home at (\S+) and )?cycled (\d+)\s?km at (\d+)\s?km/h", text)
                (n1, t1, d1, s1), (n2, t2, d2, s2) = rides
                # The faster rider has the longer ride, so no one wins at a glance.
                self.assertEqual(int(s1) > int(s2), int(d1) > int(d2), text)
                if level == 3:
                    ride = {n1: Fraction(int(d1), int(s1)), n2: Fraction(int(d2), int(s2))}
                    left = {n1: minutes_of(t1), n2: minutes_of(t2)}
                    win, other = q.parts[0].key, n2 if q.parts[0].key == n1 else n1
                    self.assertFalse(left[win] <= left[other] and ride[win] < ride[other], text)

    def test_best_buy_is_neither_the_cheapest_nor_the_biggest_pack(self):
        for level in (1, 2):
            for q in made(self.fam("rate.best-buy"), "Q", level):
                packs = [(int(a), Fraction(p)) for a, p in
                         re.findall(r"<td>(\d+)\s(?:kg|\u2113)</td><td>\$([\d.]+)</td>", q.text)]
                best = min(range(4), key=lambda i: packs[i][1] / packs[i][0])
                self.assertEqual(q.parts[0].key, str(best + 1))
                self.assertNotEqual(best, min(range(4), key=lambda i: packs[i][1]))
                self.assertNotEqual(best, max(range(4), key=lambda i: packs[i][0]))


class FiguresSayWhatTheyShow(unittest.TestCase):
    def test_route_and_road_texts_give_the_labels(self):
        # Every word and number the picture shows is in its text: places,
        # km, times and speeds.
        figures = [f for kinds in (("N", "T"), ("N", "N"), ("T", "N"))
                   for q in made(self.fam("rate.journey"), kinds, 3, 20) for f in q.figures]
        figures += [f for _, f in solution_figures(TOPIC)]
        figures += [f for kinds in (("N", "T"), ("T", "N"))
                    for q in made(self.fam("rate.meeting-parts"), kinds, 2, 20) for f in q.figures]
        self.assertGreater(len(figures), 40)
        for fig in figures:
            alt = fig.alt.replace("\u00a0", " ")
            words = {w.rstrip(".") for w in re.findall(r"[\w.\u2019/]+", alt)}
            for label in re.findall(r"<text[^>]*>([^<]+)</text>", fig.svg):
                for word in re.findall(r"[\w.\u2019/]+", label):
                    self.assertIn(word, words, fig.alt)

    def test_meeting_point_drawn_to_scale(self):
        meetings = [f for _, f in solution_figures(TOPIC) if "where they meet" in f.alt]
        self.assertGreater(len(meetings), 10)
        for fig in meetings:
            gap, first = map(int, re.findall(r"(\d+)\s?km long.*?covered (\d+)\s?km", fig.alt)[0])
            ends = [float(x) for x in re.findall(r'<line x1="([\d.]+)" y1="42"', fig.svg)]
            dot = float(re.findall(r'<circle cx="([\d.]+)"', fig.svg)[0])
            self.assertAlmostEqual((dot - ends[0]) / (ends[1] - ends[0]), first / gap, places=2)

    def fam(self, name):
        return next(f for f in families_of(TOPIC) if f.name == name)

    def test_solution_figures_fit(self):
        bad = [f"{where}: {p}" for where, fig in solution_figures(TOPIC) for p in figure_problems(fig.svg)]
        self.assertEqual(bad, [], "\n".join(bad[:20]))


# One worked solution per family, written out and checked by hand.
WORKED = {
    ("rate.unit-rate", "N", 2, 1): """\
Divide 100 bottles by 5 to find the amount in 1 minute.
100 ÷ 5 = 20 bottles
Multiply the amount in 1 minute by 8.
20 × 8 = 160 bottles
Answer: 160 bottles
""",
    ("rate.rate-total", "N", 3, 1): """\
Add the water both taps let in each minute.
10 + 6 = 16 ℓ per minute
Take away the water that drains out each minute.
16 − 2 = 14 ℓ per minute
Find how many lots of 14 ℓ fill 238 ℓ.
238 ÷ 14 = 17 minutes
Answer: 17 minutes
""",
    ("rate.speed-basics", "N", 2, 3): """\
Time = distance ÷ speed, in hours.
4.5 ÷ 9 = 1/2 h
Change the hours to minutes: 1 hour is 60 minutes.
1/2 × 60 = 30 min
Answer: 30 minutes
""",
    ("rate.convert-speed", "Q", 1, 1): """\
72 km is 72,000 m, so 72 km/h is 72,000 m in 60 minutes.
72 × 1000 = 72,000 m
Divide by 60 to find the metres in 1 minute.
72,000 ÷ 60 = 1200 m/min
72 km/h is 72,000 m in 60 minutes, which is 1200 m/min in 1 minute.
Answer: (3) 1200 m/min
Why not the other options:
(1) 120 m/min: takes 1 km as 100 m instead of 1000 m
(2) 1.2 m/min: divides by 60 but forgets to change km into m
(4) 72,000 m/min: changes km into m but forgets to divide by the 60 minutes in an hour
""",
    ("rate.duration", "N", 2, 1): """\
Count on from the start to the end, through the next whole hour.
10.10am to 11.00am is 50 min; 11.00am to 12.40pm is 1 h 40 min; 50 min + 1 h 40 min = 2 h 30 min
Change the time to minutes.
2 h 30 min = 120 min + 30 min = 150 min
Answer: 150 minutes
""",
    ("rate.average-speed", "N", 3, 1): """\
Find the distance of the first part: distance = speed × time.
30 min = 1/2 h; 60 × 1/2 = 30 km
Find the time of the second part: time = distance ÷ speed.
30 ÷ 40 = 3/4 h = 45 min
Add the distances, and the times with the stop.
30 + 30 = 60 km; 30 min + 15 min + 45 min = 1 h 30 min
Average speed is the whole distance over the whole time. Find the distance in 30 min: 1 h 30 min is 3 lots of 30 min.
60 ÷ 3 = 20 km
1 hour is 2 lots of 30 min.
20 × 2 = 40 km/h
Answer: 40 km/h
""",
    ("rate.meeting", "N", 3, 2): """\
Each hour they come closer by both their speeds together.
80 + 60 = 140 km/h
Find how long they take to close the 105 km between them.
105 ÷ 140 = 3/4 h
In that time Ethan drives at 80 km/h.
80 × 3/4 = 60 km
Answer: 60 km
""",
    ("rate.best-buy", "Q", 2, 1): """\
Find the cost of 1 kg in each pack: divide the price by the amount.
Pack A: $5.25 ÷ 3 = $1.75
Pack B: $7.90 ÷ 2 = $3.95
Pack C: $2.90 ÷ 1 = $2.90
Pack D: $12.30 ÷ 6 = $2.05
Compare the costs of 1 kg.
$1.75 is the lowest
1 kg costs $1.75 in Pack A, less than in any other pack.
Answer: (1) Pack A
Why not the other options:
(2) Pack B: divides the amount by the price, which gives the kg for $1, and then picks the smallest result
(3) Pack C: picks the lowest price without dividing it by the amount in the pack
(4) Pack D: picks the biggest pack, as if a bigger pack always cost less for 1 kg
""",
    ("rate.arrival-time", "T", 3, 1): """\
Find the time from Ashton to Brimley: time = distance ÷ speed.
30 ÷ 40 = 3/4 h = 45 min
Find the time from Brimley to Carlow.
80 ÷ 80 = 1 h = 60 min
Add the two journeys and the stop.
45 min + 10 min + 1 h = 1 h 55 min
Add the total to the time it left Ashton.
12.10pm + 1 h 55 min = 2.05pm
Answer: 2.05pm
""",
    ("rate.departure-time", "T", 3, 1): """\
Find when she wants to arrive.
11.10am − 20 min = 10.50am
Find the time of the journey: time = distance ÷ speed.
24 ÷ 48 = 1/2 h = 30 min
Work backwards from that time.
10.50am − 30 min = 10.20am
Answer: 10.20am
""",
    ("rate.finish-time", "T", 3, 1): """\
Find how long it takes to pack 340 bottles.
340 ÷ 20 = 17 minutes
The rest is 1000 − 340 = 660 bottles.
660 ÷ 20 = 33 minutes
Add the two spells and the pause.
17 min + 10 min + 33 min = 1 h
Add the total to the time it was turned on.
8.00am + 1 h = 9.00am
Answer: 9.00am
""",
    ("rate.who-first", "T", 3, 4): """\
Find how long Derrick’s ride takes: time = distance ÷ speed.
8 ÷ 12 = 2/3 h = 40 min
Find when Derrick reached the park.
7.20am + 40 min = 8.00am
Find how long Ivy’s ride takes.
20 ÷ 15 = 1 1/3 h = 80 min
Find when Ivy reached the park.
7.10am + 1 h 20 min = 8.30am
Compare the two times.
Derrick arrived first, at 8.00am
Answer: Derrick
""",
    ("rate.charges", "N,N", 3, 2): """\
(a)
Find how long Ethan had the bicycle.
8.55am to 9.00am is 5 min; 9.00am to 1.25pm is 4 h 25 min; 5 min + 4 h 25 min = 4 h 30 min = 270 min
Find how much is charged for after the first 1 h, in lots of 30 min.
270 min − 60 min = 210 min; 210 ÷ 30 = 7
Add the charges.
$5 + 7 × $2 = $19
Answer (a): $19
(b)
Take away the charge for the first 1 h.
$19 − $5 = $14
Find how many lots of $2 that pays for.
$14 ÷ $2 = 7
Each lot pays for up to 30 min more after the first 1 h.
60 min + 7 × 30 min = 60 min + 210 min = 270 min
Answer (b): 270 minutes
""",
    ("rate.journey", "N,T", 3, 1): """\
(a)
Find the time from Fernhill to Brimley: time = distance ÷ speed.
75 ÷ 60 = 1 1/4 h = 75 min
Answer (a): 75 minutes
(b)
Add it to the time she left Fernhill.
8.15am + 1 h 15 min = 9.30am
Add the stop of 25 minutes at Brimley.
9.30am + 25 min = 9.55am
Answer (b): 9.55am
""",
    ("rate.meeting-parts", "T,N", 3, 2): """\
(a)
Each hour they come closer by both their speeds together.
60 + 50 = 110 km/h
Find how long they take to close the 165 km: time = distance ÷ speed.
165 ÷ 110 = 1 1/2 h = 90 min
Add that time to 1.05pm.
1.05pm + 1 h 30 min = 2.35pm
Answer (a): 2.35pm
(b)
In that time Ethan drives at 60 km/h: distance = speed × time.
1 h 30 min = 1 1/2 h; 60 × 1 1/2 = 90 km
Answer (b): 90 km
""",
    ("rate.catch-up", "N,N,T", 3, 1): """\
(a)
Lucy drove for 15 minutes before Ivy set off.
7.00am to 7.15am is 15 min
Find how far Lucy drove in that time: distance = speed × time.
15 min = 1/4 h; 40 × 1/4 = 10 km
Answer (a): 10 km
(b)
Each hour Ivy closes the gap by the difference in their speeds.
60 − 40 = 20 km/h
Find how long Ivy takes to close 10 km: time = distance ÷ speed.
10 ÷ 20 = 1/2 h = 30 min
In that time Ivy drives at 60 km/h: distance = speed × time.
30 min = 1/2 h; 60 × 1/2 = 30 km
Answer (b): 30 km
(c)
Add that time to when Ivy set off.
7.15am + 30 min = 7.45am
Answer (c): 7.45am
""",
    ("rate.school-run", "N,N,N", 2, 0): """\
(a)
Each minute she walks 50 m. Distance = speed × time.
50 × 16 = 800 m
Answer (a): 800 m
(b)
Find how many lots of 200 m make 800 m: time = distance ÷ speed.
800 ÷ 200 = 4 min
Answer (b): 4 minutes
(c)
Compare the two times.
16 − 4 = 12 min
Answer (c): 12 minutes
""",
    ("rate.tank", "N,N,N", 2, 0): """\
(a)
Find how many lots of 16 ℓ make 320 ℓ.
320 ÷ 16 = 20 min
Answer (a): 20 minutes
(b)
Find the water let in during 10 minutes.
16 × 10 = 160 ℓ
Take it from what the tank holds.
320 − 160 = 160 ℓ
Answer (b): 160 ℓ
(c)
Each minute the tap lets in water and the hole lets some out.
16 − 6 = 10 ℓ per minute
Find how many lots of 10 ℓ make 320 ℓ.
320 ÷ 10 = 32 min
Answer (c): 32 minutes
""",
    ("rate.work", "N,N,N", 2, 0): """\
(a)
Divide Printer A’s posters by 6 to find how many it makes in 1 minute.
72 ÷ 6 = 12
Answer (a): 12 posters
(b)
There are 60 minutes in 1 hour.
12 × 60 = 720
Answer (b): 720 posters
(c)
Add what the two machines make in 1 minute.
12 + 7 = 19 posters
Find how many lots of 19 make 361.
361 ÷ 19 = 19 min
Answer (c): 19 minutes
""",
    ("rate.timetable", "N,N,T", 2, 0): """\
(a)
Read the times at Greyford and Carlow and count on.
11.00am to 11.40am is 40 min
Answer (a): 40 minutes
(b)
Read the distance and the times from the table: 125 km from Elmfield to Carlow.
10.00am to 11.40am is 1 h 40 min
Find the distance in 20 min: 1 h 40 min is 5 lots of 20 min.
125 ÷ 5 = 25 km
1 hour is 3 lots of 20 min.
25 × 3 = 75 km/h
Answer (b): 75 km/h
(c)
The train reaches Holbury 10 minutes later than the timetable says.
11.15am + 10 min = 11.25am
Answer (c): 11.25am
""",
    ("rate.wages", "T,N", 3, 1): """\
(a)
Find how many hours of work pay $60.
$60 ÷ $12 = 5 h
Add the hours to the time she started.
2.00pm + 5 h = 7.00pm
Answer (a): 7.00pm
(b)
Find what she earned for 4 hours.
4 × $12 = $48
Add the pay for the two days.
$60 + $48 = $108
Answer (b): $108
""",
    ("rate.fuel", "N,N", 2, 1): """\
(a)
200 km is 2 lots of 100 km, and each lot uses 8 ℓ.
200 ÷ 100 = 2; 2 × 8 = 16 ℓ
Answer (a): 16 ℓ
(b)
Each litre costs $1.90.
16 × $1.90 = $30.40
Answer (b): $30.40
""",
    ("rate.there-and-back", "N", 3, 1): """\
Find the distance from Fernhill to Brimley: distance = speed × time.
2 h 30 min = 2 1/2 h; 90 × 2 1/2 = 225 km
Find the time of the trip back: time = distance ÷ speed.
225 ÷ 60 = 3 3/4 h = 225 min
Add the distances and the times there and back.
225 + 225 = 450 km; 2 h 30 min + 3 h 45 min = 6 h 15 min
Average speed is the whole distance over the whole time. Find the distance in 15 min: 6 h 15 min is 25 lots of 15 min.
450 ÷ 25 = 18 km
1 hour is 4 lots of 15 min.
18 × 4 = 72 km/h
Answer: 72 km/h
""",
}


class WorkedSolutions(unittest.TestCase):
    def test_hand_written(self):
        assert_worked(self, WORKED, TOPIC)


class Plan(unittest.TestCase):
    def test_every_planned_pattern_has_several_families(self):
        fams = [f for f in families_of(TOPIC) if not f.placeholder]
        for paper in shape.papers_of(TOPIC):
            for qp in shape.paper_plan(paper):
                fits = [f for f in fams if f.fits(qp.kinds, qp.level)]
                self.assertGreaterEqual(len(fits), 2, f"{paper} q{qp.number} {qp.kinds} {qp.level}")

    def test_every_family_makes_well_formed_questions(self):
        for fam in families_of(TOPIC):
            for kinds in fam.kinds:
                for level in fam.levels:
                    qs = made(fam, kinds, level, seeds=30)
                    self.assertGreater(len(qs), 8, f"{fam.name} {kinds} {level} rejects most draws")
                    qp = shape.QuestionPlan(141, 1, 22411, level, tuple(shape.Slot(k, 1) for k in kinds))
                    for q in qs:
                        check(q, qp, fam.name)
                        attrs = [v for f in q.figures for v in re.findall(r'="([^"]*)"', f.svg)
                                 if not v.startswith("http")]
                        self.assertFalse([v for v in attrs if "/" in v], f"{fam.name}: a fraction in the SVG")
                        for part in q.parts:
                            self.assertTrue(part.unit or part.unit_before or part.form or part.options,
                                            f"{fam.name}: a part without a unit or a form")

    def test_topic_builds_without_placeholders_and_parts_differ(self):
        papers = build_topic(TOPIC)
        used = {q.family for paper in papers for q in paper.questions}
        self.assertFalse(any("placeholder" in f for f in used))
        self.assertGreaterEqual(len(used), 15)
        for paper in papers:
            for q in paper.questions:
                prompts = re.findall(r'<div class="part">(.*?)</div>', q.html, re.S)
                self.assertEqual(len(set(prompts)), len(prompts), f"question {q.qid} repeats a part")


if __name__ == "__main__":
    unittest.main()
