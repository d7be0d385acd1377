"""From course source to resource files: the checks a source must pass
before it is packed, and the packing itself."""

from pathlib import Path

from . import mhtml, tagged
from .keys import key_problem
from .source import read_course

KINDS = set("NQTFRXLGM")
MAX_SLOTS = 20        # rows of the answer sheet
MAX_TOPICS = 10
MAX_PAPERS = 50


def problems(course):
    """Everything in the source that would pack into a broken course."""
    out = []
    if not 1 <= len(course.topics) <= MAX_TOPICS:
        out.append(f"{len(course.topics)} topics; a module holds 1 to {MAX_TOPICS}")
    for name in [course.title, course.code, course.label, *course.topics]:
        if not name or ">" in name or "#" in name:
            out.append(f"course definition text {name!r} is empty or holds > or #")
    keys = [p.key for p in course.papers]
    wanted = list(range(101, 101 + course.paper_count))
    if keys != wanted:
        out.append(f"papers must be {wanted[0]}..{wanted[-1]}, found {keys[:3]}..{keys[-3:]}")
    last = 0
    for paper in course.papers:
        where = f"paper {paper.key}"
        if [q.number for q in paper.questions] != list(range(1, len(paper.questions) + 1)):
            out.append(f"{where}: questions are not numbered 1, 2, 3, ...")
        if not paper.questions:
            out.append(f"{where}: no questions")
        for q in paper.questions:
            here = f"{where} question {q.number} ({q.qid})"
            if not 10000 <= q.qid <= 29999:
                out.append(f"{here}: id is not a five-digit page id")
            if q.qid <= last:
                out.append(f"{here}: ids must increase through the course")
            last = max(last, q.qid)
            if not 1 <= len(q.slots) <= MAX_SLOTS:
                out.append(f"{here}: {len(q.slots)} answer slots")
            for s in q.slots:
                if s.kind not in KINDS:
                    out.append(f"{here}: unknown kind {s.kind}")
                elif s.kind in "NQTFRX":
                    problem = key_problem(s.kind, s.key)
                    if problem:
                        out.append(f"{here}: {problem}")
                if s.marks < 1:
                    out.append(f"{here}: a slot must carry marks")
            n = mhtml.part_count(q.html)
            if n != len(q.slots):
                out.append(f"{here}: page has {n} parts for {len(q.slots)} slots")
            if q.qid and f"{{{{" in q.html:
                out.append(f"{here}: page holds a template field")
            if q.solution:
                finals = mhtml.final_slots(q.solution)
                if finals != list(range(1, len(q.slots) + 1)):
                    out.append(f"{here}: the solution marks final answers {finals} "
                               f"for {len(q.slots)} slots")
                if "{{" in q.solution:
                    out.append(f"{here}: solution holds a template field")
    return out


def resources(course):
    """(id, bytes) of every resource the course ships."""
    m = course.module
    yield tagged.COURSE_DEFINITION, tagged.course_definition(course)
    yield from zip(tagged.catalogue_ids(m), tagged.catalogue(course))
    yield from zip(tagged.template_ids(m), tagged.templates(course))
    for i, paper in enumerate(course.papers):
        topic = course.topics[i // 5]
        for q in paper.questions:
            html = mhtml.page_html(course, paper, q, topic, i % 5 + 1)
            yield q.qid, mhtml.archive(q.qid, html, q.figures)
        for q in paper.questions:
            if q.solution:
                html = mhtml.solution_html(course, paper, q, topic, i % 5 + 1)
                sid = q.qid + mhtml.SOLUTION_OFFSET
                yield sid, mhtml.archive(sid, html, q.solution_figures, "Worked solution")


def qrc(ids):
    files = "".join(f'    <file alias="{i}">{i}</file>\n' for i in ids)
    return ('<!DOCTYPE RCC>\n<RCC version="1.0">\n  <qresource prefix="/Custom">\n'
            f"{files}  </qresource>\n</RCC>\n")


def pack(course_dir, out_dir, qrc_path=None):
    """Writes every resource into out_dir as a file named by its id; files
    whose bytes are unchanged are left alone. Returns the ids written."""
    course = read_course(course_dir)
    found = problems(course)
    if found:
        raise ValueError("\n".join(found))
    out_dir = Path(out_dir)
    out_dir.mkdir(parents=True, exist_ok=True)
    ids = []
    for rid, data in resources(course):
        path = out_dir / str(rid)
        if not path.exists() or path.read_bytes() != data:
            path.write_bytes(data)
        ids.append(rid)
    if qrc_path:
        text = qrc(ids)
        qrc_path = Path(qrc_path)
        if not qrc_path.exists() or qrc_path.read_text() != text:
            qrc_path.write_text(text)
    return ids
