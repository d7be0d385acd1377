import filecmp
import tempfile
import unittest
from pathlib import Path

from coursegen import plan
from coursegen.build import build_topic, plain
from coursegen.families import families_of
from coursegen.topics import load_all
from coursepack.source import read_paper_list, write_paper

load_all()
COURSE = Path(__file__).resolve().parents[3] / "course"


class BuiltTopicsFollowThePlan(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.papers = {t: build_topic(t) for t in range(1, 11)}

    def test_slots_and_kinds_are_the_plans_and_marks_reach_fixed_totals(self):
        for t, papers in self.papers.items():
            for paper in papers:
                planned = plan.paper_plan(paper.key)
                self.assertEqual([q.qid for q in paper.questions], [q.qid for q in planned])
                for made, want in zip(paper.questions, planned):
                    self.assertEqual([s.kind for s in made.slots], [s.kind for s in want.slots])
                    for s, w in zip(made.slots, want.slots):
                        self.assertIn(s.marks, (1, 2, 3))
                        if not made.solution:
                            self.assertEqual(s.marks, w.marks, f"question {made.qid}")
                if paper.key in plan.MARK_TOTALS:
                    self.assertEqual(sum(s.marks for q in paper.questions for s in q.slots),
                                     plan.MARK_TOTALS[paper.key], f"paper {paper.key}")

    def test_no_two_questions_of_a_paper_alike(self):
        for papers in self.papers.values():
            for paper in papers:
                seen = [(plain(q.html), tuple(q.figures.values()), tuple(s.key for s in q.slots))
                        for q in paper.questions]
                self.assertEqual(len(seen), len(set(seen)), f"paper {paper.key}")

    def test_written_topics_use_many_families_and_no_placeholder(self):
        for t in (1, 2, 3):
            used = {q.family for paper in self.papers[t] for q in paper.questions}
            self.assertGreaterEqual(len(used), 18, f"topic {t}")
            self.assertFalse(any(f.placeholder for f in families_of(t)))
            for paper in self.papers[t]:
                per_paper = {}
                for q in paper.questions:
                    per_paper[q.family] = per_paper.get(q.family, 0) + 1
                self.assertLessEqual(max(per_paper.values()), 4, f"paper {paper.key}")

    def test_same_seeds_same_course(self):
        again = build_topic(1)
        self.assertEqual([q.html for p in again for q in p.questions],
                         [q.html for p in self.papers[1] for q in p.questions])


class CommittedCourseIsTheGenerators(unittest.TestCase):
    """Families and course/ must not drift apart: regenerate after a change."""

    def test_every_paper_folder_matches(self):
        with tempfile.TemporaryDirectory() as tmp:
            for t in range(1, 11):
                for i, paper in enumerate(build_topic(t), 1):
                    out = Path(tmp) / str(paper.key)
                    write_paper(out, paper, f"{plan.TOPICS[t - 1]}, paper {i}")
                    committed = COURSE / "papers" / str(paper.key)
                    names = sorted(p.name for p in out.iterdir())
                    self.assertEqual(names, sorted(p.name for p in committed.iterdir()),
                                     f"paper {paper.key}: run tools/gen-course")
                    _, mismatch, errors = filecmp.cmpfiles(out, committed, names, shallow=False)
                    self.assertEqual(mismatch + errors, [], f"paper {paper.key}: run tools/gen-course")

    def test_paper_list_reads_back(self):
        paper = read_paper_list(COURSE / "papers" / "115" / "paper.txt")
        self.assertEqual(paper.key, 115)
        self.assertEqual(sum(len(q.slots) for q in paper.questions), 36)


if __name__ == "__main__":
    unittest.main()
