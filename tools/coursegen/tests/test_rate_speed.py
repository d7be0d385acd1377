"""Rate and Speed: solvers against worked examples, time keys as a pupil
types them, and the families against the plan and their own pages."""

import random
import re
import unittest
from fractions import Fraction

from coursegen import plan as shape
from coursegen.build import build_topic, check, plain
from coursegen.families import families_of
from coursegen.model import key_problem
from coursegen.topics import load_all
from coursegen.topics import rate_speed as rs

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
        self.assertEqual(rs.duration(145), "2 h 25 min")
        self.assertEqual(rs.duration(45), "45 min")
        self.assertEqual(rs.duration(180), "3 h")


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
        cands = [("N", "a"), ("T", "b"), ("N", "c"), ("T", "d")]
        for seed in range(20):
            got = rs.fit_parts(random.Random(seed), cands, ("N", "T"))
            self.assertIn(got, (["a", "d"], ["c", "d"]))    # the last is kept
        self.assertEqual(rs.fit_parts(random.Random(1), cands, ("T", "N")), ["b", "c"])
        with self.assertRaises(ValueError):
            rs.fit_parts(random.Random(1), cands, ("T", "T", "T"))


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

    def test_who_first_names_someone_in_the_story(self):
        for level in (2, 3):
            for q in made(self.fam("rate.who-first"), "T", level):
                self.assertIn(q.parts[0].key, plain(q.text))


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
