import unittest
from collections import Counter

from coursegen import plan


class CourseShape(unittest.TestCase):
    """The numbers the results files and the program depend on."""

    def setUp(self):
        self.questions = plan.course_plan()

    def test_papers_and_question_counts(self):
        self.assertEqual(plan.all_papers(), list(range(101, 151)))
        counts = {p: len(plan.paper_plan(p)) for p in plan.all_papers()}
        self.assertTrue(all(counts[p] == 30 for p in range(101, 146)))
        self.assertTrue(all(counts[p] == 12 for p in range(146, 151)))
        self.assertEqual(len(self.questions), 1410)

    def test_ids_increase_from_20011_to_22841_with_gaps(self):
        ids = [q.qid for q in self.questions]
        self.assertEqual((ids[0], ids[-1]), (20011, 22841))
        self.assertEqual(ids, sorted(set(ids)))
        self.assertNotEqual(ids[-1] - ids[0] + 1, len(ids))
        self.assertTrue(all(10000 <= i <= 99999 for i in ids))

    def test_slot_counts_per_paper(self):
        special = {110: 34, 115: 36, 120: 40, 122: 36, 124: 37, 125: 33, 126: 32,
                   128: 46, 129: 41, 131: 33, 135: 46, 141: 37, 145: 50}
        for p in plan.all_papers():
            slots = sum(len(q.slots) for q in plan.paper_plan(p))
            self.assertEqual(slots, special.get(p, plan.question_count(p)), f"paper {p}")
        self.assertEqual(sum(len(q.slots) for q in self.questions), 1521)

    def test_questions_by_slot_count(self):
        self.assertEqual(Counter(len(q.slots) for q in self.questions), {1: 1309, 2: 92, 3: 8, 4: 1})

    def test_kind_counts(self):
        kinds = Counter(s.kind for q in self.questions for s in q.slots)
        self.assertEqual(kinds, {"N": 1137, "Q": 241, "T": 49, "F": 36, "R": 35, "X": 23})

    def test_marks(self):
        for q in self.questions:
            for s in q.slots:
                self.assertIn(s.marks, (1, 2, 3), f"question {q.qid}")
        totals = {p: sum(s.marks for q in plan.paper_plan(p) for s in q.slots) for p in plan.all_papers()}
        self.assertEqual((totals[101], totals[110], totals[137]), (66, 63, 48))


class KindsBelongToTheirTopics(unittest.TestCase):
    def kinds_of(self, topic):
        return Counter(s.kind for p in plan.papers_of(topic) for q in plan.paper_plan(p) for s in q.slots)

    def test_mixed_numbers_only_in_fractions_and_ratios_only_in_ratio(self):
        for t in range(1, 11):
            kinds = self.kinds_of(t)
            if t != 3:
                self.assertEqual(kinds["X"], 0, f"topic {t}")
            if t != 8:
                self.assertEqual(kinds["R"], 0, f"topic {t}")
        self.assertEqual(self.kinds_of(8)["R"], 35)

    def test_fractions_hold_most_fraction_answers(self):
        self.assertGreater(self.kinds_of(3)["F"], 36 * 3 // 4)

    def test_text_answers_only_where_one_spelling_is_natural(self):
        with_text = {t for t in range(1, 11) if self.kinds_of(t)["T"]}
        self.assertEqual(with_text, {1, 2, 9})   # names, decimal places, times of day


class PaperOrder(unittest.TestCase):
    def test_levels_rise_and_stories_come_last(self):
        for p in plan.all_papers():
            questions = plan.paper_plan(p)
            levels = [q.level for q in questions]
            self.assertEqual(levels, sorted(levels), f"paper {p}")
            sizes = [len(q.slots) > 1 for q in questions]
            self.assertEqual(sizes, sorted(sizes), f"paper {p}: a story before a short question")

    def test_marks_never_fall_through_a_paper(self):
        for p in plan.all_papers():
            singles = [q.slots[0].marks for q in plan.paper_plan(p) if len(q.slots) == 1]
            self.assertEqual(singles, sorted(singles), f"paper {p}")


class Helpers(unittest.TestCase):
    def test_spread_splits_exactly(self):
        self.assertEqual(plan._spread(7, [30, 30, 30, 30, 30]), [2, 2, 1, 1, 1])
        self.assertEqual(plan._spread(5, [30, 0, 10]), [4, 0, 1])
        self.assertEqual(sum(plan._spread(75, [28, 30, 17, 20, 30])), 75)

    def test_fix_total_raises_latest_and_lowers_earliest(self):
        marks = [[1], [1], [2], [3]]
        plan._fix_total(marks, 9)
        self.assertEqual(marks, [[2], [2], [2], [3]])
        plan._fix_total(marks, 6)
        self.assertEqual(marks, [[1], [1], [2], [2]])
        with self.assertRaises(ValueError):
            plan._fix_total([[3], [3]], 7)


if __name__ == "__main__":
    unittest.main()
