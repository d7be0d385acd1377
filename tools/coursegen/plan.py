"""The shape of the shipped course: papers, question ids, answer slots,
their kinds and marks.

Stored results files and the program depend on this shape, so it is fixed
here once and everything else (the families, the writer, the packer's
checks) follows it. Every number below is checked by tests/test_plan.py.
"""

from dataclasses import dataclass

TOPICS = [
    "Whole Numbers",
    "Decimals",
    "Fractions",
    "Area and Perimeter",
    "Volume",
    "Geometry",
    "Percentage",
    "Ratio and Proportions",
    "Rate and Speed",
    "Algebra",
]

FIRST_PAPER = 101
PAPERS_PER_TOPIC = 5
KINDS = ("N", "Q", "T", "F", "R", "X")

# Multi-slot questions per paper, as kind patterns. They stand at the end of
# their paper, in this order: they are the multi-step stories.
MULTI = {
    110: [("N", "N")] * 4,
    115: [("N", "N"), ("F", "N"), ("N", "F"), ("N", "N"), ("X", "N"), ("N", "N")],
    120: [("N", "N")] * 10,
    122: [("N", "N")] * 2 + [("N", "N", "N")] * 2,
    124: [("N", "N"), ("N", "N"), ("F", "N"), ("N", "N"), ("N", "N"), ("N", "N", "N")],
    125: [("N", "F"), ("N", "N", "N")],
    126: [("N", "N")] * 2,
    128: [("N", "N")] * 11 + [("N", "N", "N"), ("N", "N", "N", "N")],
    129: [("N", "N")] * 9 + [("N", "N", "N")],
    131: [("N", "N")] * 3,
    135: [("N", "N")] * 16,
    141: [("T", "N"), ("N", "N"), ("N", "T"), ("N", "N"), ("N", "N"), ("N", "N", "N")],
    145: [("N", "T"), ("N", "N"), ("T", "N"), ("N", "N"), ("N", "N"), ("N", "T"),
          ("N", "N"), ("T", "N"), ("N", "N"), ("N", "N"), ("N", "T"), ("N", "N"),
          ("T", "N"), ("N", "N"), ("N", "N"), ("N", "N"), ("N", "N"), ("N", "N"),
          ("N", "N", "T")],
}

# Kinds of the one-slot questions of each topic, beyond "N", and the share of
# a paper (from its start) where each kind may stand. Choices are short
# questions and come early except where a topic is built on them.
SINGLE_KINDS = {
    1: {"Q": (30, 0.75), "T": (8, 1.0)},
    2: {"Q": (25, 0.75), "T": (14, 1.0), "F": (2, 0.6)},
    3: {"Q": (24, 0.75), "F": (26, 1.0), "X": (22, 1.0)},
    4: {"Q": (18, 0.8)},
    5: {"Q": (8, 0.7)},
    6: {"Q": (75, 1.0)},
    7: {"Q": (14, 0.75), "F": (2, 0.5)},
    8: {"R": (35, 1.0), "Q": (13, 0.75), "F": (2, 1.0)},
    9: {"Q": (6, 0.7), "T": (18, 1.0)},
    10: {"Q": (28, 1.0)},
}

# Papers whose total marks are fixed.
MARK_TOTALS = {101: 66, 110: 63, 137: 48}


@dataclass(frozen=True)
class Slot:
    kind: str
    marks: int


@dataclass(frozen=True)
class QuestionPlan:
    paper: int
    number: int       # 1-based position in the paper
    qid: int
    level: int        # 1 short one-step .. 3 multi-step word problem
    slots: tuple      # of Slot

    @property
    def kinds(self):
        return tuple(s.kind for s in self.slots)

    @property
    def topic(self):
        return topic_of(self.paper)


def topic_of(paper):
    return (paper - FIRST_PAPER) // PAPERS_PER_TOPIC + 1


def papers_of(topic):
    first = FIRST_PAPER + PAPERS_PER_TOPIC * (topic - 1)
    return list(range(first, first + PAPERS_PER_TOPIC))


def all_papers():
    return list(range(FIRST_PAPER, FIRST_PAPER + PAPERS_PER_TOPIC * len(TOPICS)))


def question_count(paper):
    return 12 if topic_of(paper) == 10 else 30


def question_ids(paper):
    """Ids step by 2 inside a paper; 30-question papers own blocks of 60,
    the short Algebra papers blocks of 27, so the last id is 22841."""
    n = question_count(paper)
    if n == 30:
        base = 20011 + 60 * (paper - FIRST_PAPER)
    else:
        base = 22711 + 27 * (paper - 146)
    return [base + 2 * i for i in range(n)]


def level_of(number, count):
    if 3 * number <= count:
        return 1
    if 3 * number <= 2 * count:
        return 2
    return 3


def _spread(total, weights):
    """Largest-remainder split of total over weights, ties to the earlier."""
    whole = sum(weights)
    if whole == 0:
        return [0] * len(weights)
    exact = [total * w / whole for w in weights]
    shares = [int(e) for e in exact]
    order = sorted(range(len(weights)), key=lambda i: (-(exact[i] - shares[i]), i))
    for i in order[: total - sum(shares)]:
        shares[i] += 1
    return shares


def _single_kinds(topic):
    """Kind per one-slot question, keyed by (paper, number)."""
    papers = papers_of(topic)
    singles = {p: question_count(p) - len(MULTI.get(p, [])) for p in papers}
    kinds = {(p, n): "N" for p in papers for n in range(1, singles[p] + 1)}
    # Rarer kinds first, so they get the positions they ask for.
    wanted = sorted(SINGLE_KINDS.get(topic, {}).items(), key=lambda kv: kv[1][0])
    for kind, (count, reach) in wanted:
        shares = _spread(count, [singles[p] for p in papers])
        for p, share in zip(papers, shares):
            free = [n for n in range(1, singles[p] + 1)
                    if kinds[(p, n)] == "N" and n <= max(1, round(reach * question_count(p)))]
            if share > len(free):
                raise ValueError(f"paper {p}: no room for {share} {kind} questions")
            for j in range(share):
                kinds[(p, free[(2 * j + 1) * len(free) // (2 * share)])] = kind
    return kinds


def _base_marks(level, nslots):
    if nslots == 1:
        return [level]
    if nslots == 2:
        return [level - 1, level - 1] if level > 1 else [1, 1]
    return [1] * nslots


def _fix_total(marks, target):
    """Raise the latest low marks or lower the earliest high marks, one at a
    time, so marks still rise through the paper."""
    flat = [(qi, si) for qi, row in enumerate(marks) for si in range(len(row))]
    total = sum(map(sum, marks))
    while total < target:
        qi, si = min(flat, key=lambda p: (marks[p[0]][p[1]], -p[0], -p[1]))
        if marks[qi][si] >= 3:
            raise ValueError("marks total out of reach")
        marks[qi][si] += 1
        total += 1
    while total > target:
        qi, si = max(flat, key=lambda p: (marks[p[0]][p[1]], -p[0], -p[1]))
        if marks[qi][si] <= 1:
            raise ValueError("marks total out of reach")
        marks[qi][si] -= 1
        total -= 1


def paper_plan(paper, _cache={}):
    if paper in _cache:
        return _cache[paper]
    topic = topic_of(paper)
    singles_kinds = _single_kinds(topic)
    count = question_count(paper)
    multi = MULTI.get(paper, [])
    nsingle = count - len(multi)
    patterns = [(singles_kinds[(paper, n)],) for n in range(1, nsingle + 1)] + list(multi)
    levels = [level_of(n, count) for n in range(1, count + 1)]
    levels = [max(lv, 2) if len(pat) > 1 else lv for lv, pat in zip(levels, patterns)]
    marks = [_base_marks(lv, len(pat)) for lv, pat in zip(levels, patterns)]
    if paper in MARK_TOTALS:
        _fix_total(marks, MARK_TOTALS[paper])
    plan = [
        QuestionPlan(paper, n, qid, levels[n - 1],
                     tuple(Slot(k, m) for k, m in zip(patterns[n - 1], marks[n - 1])))
        for n, qid in zip(range(1, count + 1), question_ids(paper))
    ]
    _cache[paper] = plan
    return plan


def course_plan():
    return [q for p in all_papers() for q in paper_plan(p)]
