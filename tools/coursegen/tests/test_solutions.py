"""Worked solutions: every family solves what it asks in
one to six steps per part and arrives at the key; the committed course's
marks follow its solutions' steps; pages keep a number with its unit, a
title with its name, a ratio and a time of day on one line."""

import html as htmllib
import random
import re
import unittest
from pathlib import Path

from coursegen import plan
from coursegen.build import answer_said, check_solution
from coursegen.families import REGISTRY
from coursegen.model import marks_for_steps
from coursegen.plan import QuestionPlan, Slot
from coursegen.topics import load_all
from coursepack.source import read_paper_list

load_all()
COURSE = Path(__file__).resolve().parents[3] / "course"
SEEDS = 20

UNITS = ("mm", "cm", "m", "km", "g", "kg", "ml", "m\u2113", "\u2113", "l", "h", "min", "s",
         "cm\u00b2", "m\u00b2", "km\u00b2", "cm\u00b3", "m\u00b3", "km/h", "m/min", "m/s",
         "cents", "\u00b0C", "years", "hours", "minutes", "seconds", "days")
_UNIT = re.compile(r"\d (?:%s)(?![\w\u00b2\u00b3/])" % "|".join(
    re.escape(u) for u in sorted(UNITS, key=len, reverse=True)))
_TITLE = re.compile(r"\b(?:Mr|Mrs|Ms|Miss|Dr)\.? (?=[A-Z])")
_RATIO = re.compile(r"\d :[ \u00a0]?\d|\d[ \u00a0]?: \d")
_TIME = re.compile(r"\b\d{1,2}(?:[.:]\d{2})? (?:am|pm|a\.m\.|p\.m\.)\b")
_BLOCK = re.compile(r"</?(?:p|div|li|ol|ul|td|th|tr|table|br|h\d|header|section)\b[^>]*>")


def text_lines(page):
    """What a page reads as, line by line: screen-reader text and tags gone,
    entities decoded; a block ends a line, inline tags join their text."""
    page = re.sub(r'<span class="sr">.*?</span>', "", page)
    page = _BLOCK.sub("\n", page)
    page = htmllib.unescape(re.sub(r"<[^>]+>", "", page))
    return [line.strip() for line in page.split("\n") if line.strip()]


def breakable_joins(page):
    """Places a line may break where a pupil must read one thing."""
    found = []
    for line in text_lines(page):
        for rule in (_UNIT, _TITLE, _RATIO, _TIME):
            found += [line[max(0, m.start() - 12):m.end() + 12] for m in rule.finditer(line)]
    # A whole number and its fraction stay together only inside .mixed.
    found += re.findall(r"\d<span class=\"frac\">", page)
    return found


def steps_per_part(solution):
    blocks = solution.split('<div class="part-solution">')[1:]
    return [len(re.findall(r"<li>", b.split("</ol>")[0])) for b in blocks]


def committed_questions():
    for folder in sorted((COURSE / "papers").iterdir()):
        paper = read_paper_list(folder / "paper.txt")
        for q in paper.questions:
            yield paper.key, folder, q


class JoinsAreFound(unittest.TestCase):
    """The checker itself, on lines it must and must not flag."""

    def test_breakable_and_joined(self):
        bad = ["<p>The rope is 45 cm long.</p>", "<p>It takes 2 h.</p>", "<p>Ask Mr Rahman.</p>",
               "<p>in the ratio 3 : 2</p>", "<p>The bus leaves at 10.05 am.</p>",
               '<p>2<span class="frac"><span class="num">3</span><span class="den">4</span></span></p>',
               "<p>An area of 45 cm\u00b2.</p>"]
        good = ["<p>The rope is 45\u00a0cm long.</p>", "<p>Ask Mr\u00a0Rahman.</p>",
                "<p>in the ratio 3:2</p>", "<p>at 10.05am</p>", "<p>2 more apples</p>",
                "<p>Answer: 5</p>", "<td>5</td><td>cm</td>", "<p>He has 3 marbles.</p>"]
        for page in bad:
            self.assertTrue(breakable_joins(page), page)
        for page in good:
            self.assertEqual(breakable_joins(page), [], page)


class FamiliesSolveWhatTheyAsk(unittest.TestCase):
    def test_every_family(self):
        for name, fam in REGISTRY.items():
            for kinds in fam.kinds:
                for level in fam.levels:
                    slots = tuple(Slot(k, 1) for k in kinds)
                    qp = QuestionPlan(plan.papers_of(fam.topic)[0], 1, 20011, level, slots)
                    for seed in range(SEEDS):
                        try:
                            q = fam.make(random.Random(f"test:{seed}"), level, slots)
                        except ValueError:
                            continue
                        self.assertIsNotNone(q.solution, f"{name} {kinds} level {level}")
                        html, _ = check_solution(q, qp, name)     # raises on a broken rule
                        self.assertEqual(breakable_joins(html), [], f"{name} seed {seed}")


class CommittedSolutions(unittest.TestCase):
    def test_marks_follow_the_steps_and_finals_are_in_slot_order(self):
        for paper, folder, q in committed_questions():
            page = folder / f"{q.qid}.solution.html"
            self.assertTrue(page.exists(), f"question {q.qid} has no solution")
            solution = page.read_text(encoding="utf-8")
            steps = steps_per_part(solution)
            self.assertEqual(len(steps), len(q.slots), f"question {q.qid}")
            for s, count in zip(q.slots, steps):
                self.assertEqual(s.marks, marks_for_steps(count), f"question {q.qid}")
            finals = [int(x) for x in re.findall(r'<span class="final" data-slot="(\d+)">', solution)]
            self.assertEqual(finals, list(range(1, len(q.slots) + 1)), f"question {q.qid}")

    def test_finals_written_as_typed_are_said_whole(self):
        # "1 1/4", "1/25" and "3:7" show how the answer is typed; a screen
        # reader says them "1 and 1 over 4", "1 over 25", "3 to 7", never as
        # two numbers. The final itself stays exactly the key.
        self.assertEqual(answer_said("X", "1 1/4"), "1 and 1 over 4")
        self.assertEqual(answer_said("F", "13/20"), "13 over 20")
        self.assertEqual(answer_said("R", "2:4:3"), "2 to 4 to 3")
        self.assertIsNone(answer_said("N", "1.25"))
        self.assertIsNone(answer_said("T", "12.42pm"))
        for paper, folder, q in committed_questions():
            solution = (folder / f"{q.qid}.solution.html").read_text(encoding="utf-8")
            for i, s in enumerate(q.slots, 1):
                final = re.search(r'(<span aria-hidden="true">)?<span class="final" data-slot="%d">([^<]*)</span>'
                                  r'(?:</span><span class="sr">([^<]*)</span>)?' % i, solution)
                said = answer_said(s.kind, s.key)
                if said:
                    self.assertEqual(final.group(2), s.key, q.qid)
                self.assertEqual(final.group(3), said, q.qid)
                self.assertEqual(bool(final.group(1)), said is not None, q.qid)

    def test_pages_keep_joined_forms_on_one_line(self):
        for paper, folder, q in committed_questions():
            for page in (folder / f"{q.qid}.html", folder / f"{q.qid}.solution.html"):
                self.assertEqual(breakable_joins(page.read_text(encoding="utf-8")), [],
                                 f"{page.name}")


if __name__ == "__main__":
    unittest.main()
