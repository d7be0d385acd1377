"""Turns the plan and the families into the course source: picks a family
for every planned question, makes the question, checks it and renders its
page fragment."""

import random
import re
import xml.etree.ElementTree as ET
from collections import Counter
from dataclasses import dataclass
from fractions import Fraction

from coursepack.source import PaperSource, QuestionSource, SlotSource

from . import plan as shape
from .families import families_of
from .model import (DEFAULT_FORMS, MAX_STEPS, fraction_key, key_problem, marks_for_steps,
                    mixed_key, num, ratio_key)
from .text import NBSP, esc, money, spoken

ATTEMPTS = 40


class BuildError(Exception):
    """A family broke the rules: its questions cannot ship."""


def plain(html):
    return re.sub(r"\s+", " ", re.sub(r"<[^>]+>", " ", html)).strip()


def _figure_tag(name, figure):
    return f'<img class="figure" src="{name}" alt="{esc(figure.alt)}"/>'


def _options(part):
    # The words a screen reader says for a ratio take no room on the page.
    def width(option):
        return len(plain(re.sub(r'(<span class="ratio">.*?</span>)<span class="sr">.*?</span>', r"\1", option)))

    short = all(width(o) <= 14 and "<img" not in o and "{fig" not in o for o in part.options)
    cls = "options short" if short else "options"
    items = "".join(f'<li><span class="option">({i})</span> {o}</li>'
                    for i, o in enumerate(part.options, 1))
    return f'<ol class="{cls}">{items}</ol>'


def render(qid, question, slots):
    """The page fragment and its pictures for one question."""
    names = [f"{qid}-{i}.svg" for i in range(1, len(question.figures) + 1)]
    used = set()

    def place(text):
        def sub(m):
            i = int(m[1]) - 1
            used.add(i)
            return _figure_tag(names[i], question.figures[i])
        return re.sub(r"\{fig(\d+)\}", sub, text)

    body = [place(question.text)]
    parts = []
    for part, slot in zip(question.parts, slots):
        inner = []
        if part.prompt:
            inner.append(place(part.prompt if part.prompt.startswith("<") else f"<p>{part.prompt}</p>"))
        if slot.kind == "Q":
            inner.append(place(_options(part)))
        form = part.form or DEFAULT_FORMS[slot.kind]
        if form:
            inner.append(f'<p class="form">{form}</p>')
        before = f'<span class="unit">{part.unit_before}</span>' if part.unit_before else ""
        after = f'<span class="unit">{part.unit}</span>' if part.unit else ""
        inner.append(f'<p class="answer">Answer: {before}<span class="blank"></span>{after}</p>')
        parts.append('<div class="part">\n' + "\n".join(inner) + "\n</div>")
    rest = [i for i in range(len(names)) if i not in used]
    if rest:
        body.append('<div class="figures">' +
                    "".join(_figure_tag(names[i], question.figures[i]) for i in rest) + "</div>")
    html = "\n".join(body + parts) + "\n"
    figures = {name: f.svg.encode() for name, f in zip(names, question.figures)}
    return html, figures


def check(question, qp, family):
    where = f"question {qp.qid} ({family})"
    if len(question.parts) != len(qp.slots):
        raise BuildError(f"{where}: {len(question.parts)} parts for {len(qp.slots)} slots")
    for part, slot in zip(question.parts, qp.slots):
        problem = key_problem(slot.kind, part.key, part.options)
        if problem:
            raise BuildError(f"{where}: {problem}")
        if slot.kind == "Q" and not part.options:
            raise BuildError(f"{where}: a choice without options")
        if slot.kind != "Q" and part.options:
            raise BuildError(f"{where}: options on a slot of kind {slot.kind}")
        if slot.kind == "T" and not (part.form or part.prompt):
            raise BuildError(f"{where}: a text answer needs the form it must take")
    html, figures = render(qp.qid, question, qp.slots)
    try:
        ET.fromstring(f"<div>{html}</div>")
    except ET.ParseError as e:
        raise BuildError(f"{where}: page is not well formed: {e}\n{html}") from None
    for name, data in figures.items():
        try:
            ET.fromstring(data)
        except ET.ParseError as e:
            raise BuildError(f"{where}: {name} is not well formed: {e}") from None
    if "{fig" in html:
        raise BuildError(f"{where}: figure reference without a figure")
    return html, figures


PART_LETTERS = "abcdefghijklmnopqrst"


def answer_text(kind, value, part):
    """A solution's answer in the form of its slot's key; a sum of money
    with cents keeps both places ($137.50), which the number rule marks
    right against the key 137.5."""
    if kind == "N":
        if part.unit_before == "$" and Fraction(value).denominator != 1:
            return money(value)[1:]
        return num(value)
    if kind == "F":
        return fraction_key(value)
    if kind == "X":
        return mixed_key(value)
    if kind == "R":
        return ratio_key(*value)
    if kind == "T":
        return str(value)
    if kind == "Q":
        if value not in part.options:
            raise ValueError("the solution's option is not one of the options")
        return str(part.options.index(value) + 1)
    raise ValueError(f"no answer form for kind {kind}")


def answer_said(kind, text):
    """What a screen reader says for a final answer written as its key is
    typed: "1 and 1 over 4" for 1 1/4, "1 over 25", "3 to 7" for 3:7; None
    where the text reads as it is."""
    if kind == "F":
        top, bottom = text.split("/")
        return f"{top} over {bottom}"
    if kind == "X":
        whole, rest = text.split(" ")
        top, bottom = rest.split("/")
        return f"{whole} and {top} over {bottom}"
    if kind == "R":
        return " to ".join(text.split(":"))
    return None


def _option_html(option):
    # An option drawn as a picture is named by its number alone.
    return "" if "{fig" in option or "<img" in option else option


def render_solution(qid, question, slots):
    """The worked solution's fragment and its pictures: the steps of each
    part, then that part's answer marked <span class="final">, in slot order."""
    solution = question.solution
    figures = {}

    def figure_tag(fig):
        name = f"{qid}-s{len(figures) + 1}.svg"
        figures[name] = fig.svg.encode()
        return f'<p class="figure-row">{_figure_tag(name, fig)}</p>'

    def step_item(step):
        inner = [f'<p class="say">{step.say}</p>']
        if step.work:
            inner.append(f'<p class="work">{step.work}</p>')
        if step.figure is not None:
            inner.append(figure_tag(step.figure))
        return "<li>" + "".join(inner) + "</li>"

    many = len(slots) > 1
    blocks = []
    for i, (part, slot) in enumerate(zip(question.parts, slots), 1):
        steps = [s for s in solution.steps if s.part == i]
        label = f"({PART_LETTERS[i - 1]})" if many else ""
        inner = []
        if label:
            inner.append(f'<p class="part-label">{label}</p>')
        inner.append('<ol class="steps">' + "".join(step_item(s) for s in steps) + "</ol>")
        final = answer_text(slot.kind, solution.answers[i - 1], part)
        if slot.kind == "Q":
            shown = _option_html(solution.answers[i - 1])
            if solution.why:
                inner.append(f'<p class="why">{solution.why}</p>')
            # Written as the page numbers its options: (2) 9x.
            before, after = "(", ")" + (f" {shown}" if shown else "")
        else:
            before = f'<span class="unit">{part.unit_before}</span>' if part.unit_before else ""
            # A unit stays on the answer's line; a per cent or degree sign sits close.
            space = "" if part.unit.startswith(("%", "\u00b0")) else NBSP
            after = f'{space}<span class="unit">{part.unit}</span>' if part.unit else ""
        head = f"Answer {label}:" if label else "Answer:"
        # Shown as the pupil types it; heard as it is said.
        shown = f'<span class="final" data-slot="{i}">{esc(final)}</span>'
        said = answer_said(slot.kind, final)
        if said:
            shown = f'<span aria-hidden="true">{shown}</span>{spoken(said)}'
        inner.append(f'<p class="final-answer">{head} {before}{shown}{after}</p>')
        if slot.kind == "Q":
            others = "".join(
                f'<li><span class="option">({k})</span> {_option_html(o)}{": " if _option_html(o) else " "}'
                f"{slip}</li>"
                for k, (o, slip) in enumerate(zip(part.options, part.slips or [None] * 4), 1)
                if o != solution.answers[i - 1])
            inner.append(f'<div class="others"><p>Why not the other options:</p><ul>{others}</ul></div>')
        blocks.append('<div class="part-solution">\n' + "\n".join(inner) + "\n</div>")
    return '<div class="solution">\n' + "\n".join(blocks) + "\n</div>\n", figures


def solution_marks(question, slots):
    """Each part's marks, from the steps its solution takes."""
    return [marks_for_steps(sum(1 for s in question.solution.steps if s.part == i))
            for i in range(1, len(slots) + 1)]


def check_solution(question, qp, where):
    solution = question.solution
    if len(solution.answers) != len(qp.slots):
        raise BuildError(f"{where}: the solution answers {len(solution.answers)} parts "
                         f"of {len(qp.slots)}")
    if not 1 <= len(solution.steps) <= MAX_STEPS * len(qp.slots):
        raise BuildError(f"{where}: the solution takes {len(solution.steps)} steps")
    for step in solution.steps:
        if not 1 <= step.part <= len(qp.slots):
            raise BuildError(f"{where}: a step works towards part {step.part}")
        if not step.say.strip():
            raise BuildError(f"{where}: a step says nothing")
    for i, (part, slot) in enumerate(zip(question.parts, qp.slots), 1):
        count = sum(1 for s in solution.steps if s.part == i)
        if not 1 <= count <= MAX_STEPS:
            raise BuildError(f"{where}: part {i} takes {count} steps (1 to {MAX_STEPS})")
        try:
            final = answer_text(slot.kind, solution.answers[i - 1], part)
        except ValueError as e:
            raise BuildError(f"{where}: part {i}: {e}") from None
        same = (Fraction(final) == Fraction(part.key)) if slot.kind == "N" else final == part.key
        if not same:
            raise BuildError(f"{where}: part {i}: the solution arrives at {final!r}, "
                             f"the key is {part.key!r}")
        if slot.kind == "Q":
            if not solution.why:
                raise BuildError(f"{where}: a choice's solution must say why its option is right")
            if not part.slips or any(not s for o, s in zip(part.options, part.slips)
                                     if o != solution.answers[i - 1]):
                raise BuildError(f"{where}: every wrong option needs the slip that leads to it")
    html, figures = render_solution(qp.qid, question, qp.slots)
    try:
        ET.fromstring(f"<div>{html}</div>")
    except ET.ParseError as e:
        raise BuildError(f"{where}: solution is not well formed: {e}\n{html}") from None
    for name, data in figures.items():
        try:
            ET.fromstring(data)
        except ET.ParseError as e:
            raise BuildError(f"{where}: {name} is not well formed: {e}") from None
    if "{fig" in html:
        raise BuildError(f"{where}: the solution refers to a figure of the question")
    return html, figures


@dataclass
class Made:
    """One question as built: its family, its page and solution, its marks."""
    family: object
    question: object
    html: str
    figures: dict
    solution_html: str
    solution_figures: dict
    marks: list

    def same_as(self):
        # Two questions are the same when they read, look and answer alike.
        return (plain(self.html), tuple(self.figures.values()),
                tuple(p.key for p in self.question.parts))


def make_question(fam, qp, rng):
    """The family's question for qp from rng, checked and rendered; None when
    the family rejects the draw."""
    try:
        question = fam.make(rng, qp.level, qp.slots)
    except ValueError:
        return None
    html, figures = check(question, qp, fam.name)
    if question.solution is None:
        return Made(fam, question, html, figures, "", {}, [s.marks for s in qp.slots])
    where = f"question {qp.qid} ({fam.name})"
    sol_html, sol_figures = check_solution(question, qp, where)
    return Made(fam, question, html, figures, sol_html, sol_figures,
                solution_marks(question, qp.slots))


def build_topic(topic):
    """The topic's papers, as sources. Families are spread so that each is
    used about equally over the topic and at most once more than the least
    used one within a paper. A part's marks follow its solution's steps;
    where a paper's total is fixed, draws are chosen to reach it."""
    fams = families_of(topic)
    uses = Counter()
    papers = []
    for key in shape.papers_of(topic):
        in_paper = Counter()
        seen = set()
        made_list, fits_list = [], []
        for qp in shape.paper_plan(key):
            fits = [f for f in fams if f.fits(qp.kinds, qp.level)]
            if not fits:
                raise BuildError(f"paper {key} question {qp.number}: no family of topic "
                                 f"{topic} gives {''.join(qp.kinds)} at level {qp.level}")
            tie = random.Random(f"pick:{qp.qid}")
            fits.sort(key=lambda f: (in_paper[f.name], uses[f.name], tie.random()))
            made = _make(fits, qp, seen)
            in_paper[made.family.name] += 1
            uses[made.family.name] += 1
            made_list.append(made)
            fits_list.append(fits)
        if key in shape.MARK_TOTALS:
            _reach_total(key, shape.paper_plan(key), made_list, fits_list, seen)
        questions = [
            QuestionSource(qp.number, qp.qid, m.family.name,
                           [SlotSource(s.kind, mk, p.key)
                            for s, mk, p in zip(qp.slots, m.marks, m.question.parts)],
                           m.html, m.figures, m.solution_html, m.solution_figures)
            for qp, m in zip(shape.paper_plan(key), made_list)]
        papers.append(PaperSource(key, questions))
    return papers


def _make(fits, qp, seen):
    """A family rejects a draw it cannot use by raising ValueError; the next
    seed is tried. Broken rules (BuildError) are never retried."""
    for fam in fits:
        for attempt in range(ATTEMPTS):
            made = make_question(fam, qp, random.Random(f"{qp.qid}:{attempt}"))
            if made is not None and made.same_as() not in seen:
                seen.add(made.same_as())
                return made
    raise BuildError(f"question {qp.qid}: no family made a usable question")


def _reach_total(key, plans, made_list, fits_list, seen):
    """Swaps draws, one question at a time, for draws of the same families
    whose solutions take more (or fewer) steps, until the paper's marks add
    up to its fixed total. Later questions are raised first and earlier ones
    lowered first, so marks still rise through the paper."""
    target = shape.MARK_TOTALS[key]
    total = sum(sum(m.marks) for m in made_list)
    if total == target:
        return
    order = range(len(plans) - 1, -1, -1) if total < target else range(len(plans))
    for i in order:
        gap = target - total
        if gap == 0:
            break
        qp, old = plans[i], made_list[i]
        have = sum(old.marks)
        for fam in [old.family] + [f for f in fits_list[i] if f is not old.family]:
            found = None
            for attempt in range(ATTEMPTS, 4 * ATTEMPTS):
                made = make_question(fam, qp, random.Random(f"{qp.qid}:{attempt}"))
                if made is None or made.same_as() in seen:
                    continue
                change = sum(made.marks) - have
                if change != 0 and (change > 0) == (gap > 0) and abs(change) <= abs(gap):
                    found = made
                    break
            if found:
                seen.discard(old.same_as())
                seen.add(found.same_as())
                made_list[i] = found
                total += sum(found.marks) - have
                break
    if total != target:
        raise BuildError(f"paper {key}: its marks add up to {total}, not {target}; "
                         "its families' solutions need more variety of steps")
