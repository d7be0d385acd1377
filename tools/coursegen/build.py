"""Turns the plan and the families into the course source: picks a family
for every planned question, makes the question, checks it and renders its
page fragment."""

import random
import re
import xml.etree.ElementTree as ET
from collections import Counter

from coursepack.source import PaperSource, QuestionSource, SlotSource

from . import plan as shape
from .families import families_of
from .model import DEFAULT_FORMS, key_problem
from .text import esc

ATTEMPTS = 40


class BuildError(Exception):
    """A family broke the rules: its questions cannot ship."""


def plain(html):
    return re.sub(r"\s+", " ", re.sub(r"<[^>]+>", " ", html)).strip()


def _figure_tag(name, figure):
    return f'<img class="figure" src="{name}" alt="{esc(figure.alt)}"/>'


def _options(part):
    short = all(len(plain(o)) <= 14 and "<img" not in o and "{fig" not in o for o in part.options)
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


def build_topic(topic):
    """The topic's papers, as sources. Families are spread so that each is
    used about equally over the topic and at most once more than the least
    used one within a paper."""
    fams = families_of(topic)
    uses = Counter()
    papers = []
    for key in shape.papers_of(topic):
        in_paper = Counter()
        seen = set()
        questions = []
        for qp in shape.paper_plan(key):
            fits = [f for f in fams if f.fits(qp.kinds, qp.level)]
            if not fits:
                raise BuildError(f"paper {key} question {qp.number}: no family of topic "
                                 f"{topic} gives {''.join(qp.kinds)} at level {qp.level}")
            tie = random.Random(f"pick:{qp.qid}")
            fits.sort(key=lambda f: (in_paper[f.name], uses[f.name], tie.random()))
            made = _make(fits, qp, seen)
            fam, question, html, figures = made
            in_paper[fam.name] += 1
            uses[fam.name] += 1
            questions.append(QuestionSource(
                qp.number, qp.qid, fam.name,
                [SlotSource(s.kind, s.marks, p.key) for s, p in zip(qp.slots, question.parts)],
                html, figures))
        papers.append(PaperSource(key, questions))
    return papers


def _make(fits, qp, seen):
    """A family rejects a draw it cannot use by raising ValueError; the next
    seed is tried. Broken rules (BuildError) are never retried."""
    last = "repeats a question of its paper"
    for fam in fits:
        for attempt in range(ATTEMPTS):
            rng = random.Random(f"{qp.qid}:{attempt}")
            try:
                question = fam.make(rng, qp.level, qp.slots)
            except ValueError as e:
                last = f"{fam.name}: {e}"
                continue
            html, figures = check(question, qp, fam.name)
            # Two questions are the same when they read, look and answer alike.
            text = (plain(html), tuple(figures.values()), tuple(p.key for p in question.parts))
            if text not in seen:
                seen.add(text)
                return fam, question, html, figures
    raise BuildError(f"question {qp.qid}: no family made a usable question ({last})")
