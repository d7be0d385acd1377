"""The tagged text resources: course definition, paper catalogue and the
results templates.

A tagged line is "#" KEY "#" followed by each value preceded by ">".
Shipped files are Windows-1252 bytes with CR LF between lines and none
after the last; all but the trend template open and close with "...".
"""

CRLF = "\r\n"
FENCE = "..."
RULER = "-" * 31
LABEL_KEYS = {1: "LAH", 2: "LBH", 3: "LCH"}

# Resource ids.
COURSE_DEFINITION = 30000
PAGE_IDS = range(10000, 30000)


def catalogue_ids(module):
    """Paper list, answer key, answer kinds, marks."""
    base = 30000 + 10 * module
    return base + 2, base + 3, base + 4, base + 5


def template_ids(module):
    """Marks, first, second, fresults, sresults, trend."""
    base = 30100 + 10 * module
    return tuple(base + i for i in range(1, 7))


def line(key, values):
    values = [str(v) for v in values]
    for v in values:
        if ">" in v or "#" in v or "\r" in v or "\n" in v:
            raise ValueError(f"value {v!r} of #{key}# would break its line")
    return f"#{key}#" + "".join(">" + v for v in values)


def encode(lines):
    return CRLF.join(lines).encode("cp1252")


def fenced(lines):
    return encode([FENCE, *lines, FENCE])


def course_definition(course):
    m = course.module
    return fenced([
        line("NME", [course.title]),
        line("COD", [course.code]),
        line(LABEL_KEYS[m], [course.label]),
        line(f"TT{m}", [len(course.topics)]),
        line(f"TP{m}", [course.paper_count]),
        line(f"TN{m}", course.topics),
        RULER,
    ])


def catalogue(course):
    """The four catalogue files, in the order of catalogue_ids."""
    papers, keys, kinds, marks = [], [], [], []
    for paper in course.papers:
        papers.append(line(str(paper.key), [q.qid for q in paper.questions]))
        for q in paper.questions:
            keys.append(line(str(q.qid), [s.key for s in q.slots]))
            kinds.append(line(str(q.qid), [s.kind for s in q.slots]))
            marks.append(line(str(q.qid), [s.marks for s in q.slots]))
    return tuple(fenced(lines) for lines in (papers, keys, kinds, marks))


def templates(course):
    """The six results templates, in the order of template_ids."""
    count = 50     # the results lists always have room for 50 papers
    marks = fenced([line("FSE", [""] * count), line("SSE", [""] * count),
                    line("LTM", [""] * count), line("CDD", [""] * count),
                    line("FST", ["0"] * count), line("SST", ["0"] * count)])
    slots = {p.key: sum(len(q.slots) for q in p.questions) for p in course.papers}
    per_paper = fenced([line(str(k), [""] * slots[k]) for k in sorted(slots)])
    trend = b"#TRD#"
    return marks, per_paper, per_paper, per_paper, per_paper, trend
