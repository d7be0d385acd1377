"""Reading and writing the course source in course/ (see course/README.md).

course.txt          the course definition: title, code, module, topics
page.html, page.css the frame every question page is set in
papers/KEY/paper.txt  the paper's questions in order, with their slots
papers/KEY/ID.html    a question's text and parts (an HTML fragment)
papers/KEY/ID-*.svg   its diagrams, referred to from the fragment
"""

import re
from dataclasses import dataclass, field
from pathlib import Path

PAPERS_PER_TOPIC = 5


class SourceError(ValueError):
    pass


@dataclass
class SlotSource:
    kind: str
    marks: int
    key: str


@dataclass
class QuestionSource:
    number: int
    qid: int
    family: str
    slots: list
    html: str = ""
    figures: dict = field(default_factory=dict)   # file name -> bytes
    solution: str = ""                             # the worked solution's fragment
    solution_figures: dict = field(default_factory=dict)


@dataclass
class PaperSource:
    key: int
    questions: list


@dataclass
class CourseSource:
    title: str
    code: str
    module: int
    label: str
    topics: list
    papers: list
    page_template: str = ""
    page_css: str = ""

    @property
    def paper_count(self):
        return PAPERS_PER_TOPIC * len(self.topics)


def _lines(path):
    """Non-blank lines without comments, with their line numbers."""
    for i, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.rstrip()
        if line.strip() and not line.lstrip().startswith("#"):
            yield i, line


def read_definition(path):
    fields, topics = {}, {}
    for i, line in _lines(path):
        name, sep, value = line.partition(":")
        if not sep:
            raise SourceError(f"{path}:{i}: expected 'name: value'")
        name, value = name.strip(), value.strip()
        m = re.fullmatch(r"topic (\d+)", name)
        if m:
            topics[int(m[1])] = value
        elif name in ("title", "code", "module", "label"):
            fields[name] = value
        else:
            raise SourceError(f"{path}:{i}: unknown field {name!r}")
    missing = [f for f in ("title", "code", "module", "label") if f not in fields]
    if missing:
        raise SourceError(f"{path}: missing {', '.join(missing)}")
    if sorted(topics) != list(range(1, len(topics) + 1)):
        raise SourceError(f"{path}: topics must be numbered 1, 2, 3, ...")
    if not re.fullmatch(r"[A-Za-z0-9]+", fields["code"]):
        raise SourceError(f"{path}: the code must be letters and digits")
    if fields["module"] not in ("1", "2", "3"):
        raise SourceError(f"{path}: module must be 1, 2 or 3")
    return fields, [topics[t] for t in sorted(topics)]


def read_paper_list(path):
    key, questions, current = None, [], None
    for i, line in _lines(path):
        words = line.split()
        if words[0] == "paper" and len(words) == 2 and key is None:
            key = int(words[1])
        elif words[0] == "question" and len(words) in (3, 4):
            current = QuestionSource(int(words[1]), int(words[2]),
                                     words[3] if len(words) == 4 else "", [])
            questions.append(current)
        elif line.startswith((" ", "\t")) and current is not None:
            m = re.fullmatch(r"\s+([A-Z])\s+(\d+)\s+(\S(?:.*\S)?)", line)
            if not m:
                raise SourceError(f"{path}:{i}: expected 'KIND MARKS KEY'")
            current.slots.append(SlotSource(m[1], int(m[2]), m[3]))
        else:
            raise SourceError(f"{path}:{i}: cannot read {line.strip()!r}")
    if key is None:
        raise SourceError(f"{path}: no 'paper KEY' line")
    for q in questions:
        if not q.slots:
            raise SourceError(f"{path}: question {q.number} has no answer slots")
    return PaperSource(key, questions)


_SRC = re.compile(r'\bsrc="([^"]+)"')


def figure_names(html):
    return _SRC.findall(html)


def read_course(root):
    root = Path(root)
    fields, topics = read_definition(root / "course.txt")
    course = CourseSource(fields["title"], fields["code"], int(fields["module"]),
                          fields["label"], topics, [],
                          (root / "page.html").read_text(encoding="utf-8"),
                          (root / "page.css").read_text(encoding="utf-8"))
    for folder in sorted((root / "papers").iterdir()):
        if not folder.is_dir():
            continue
        paper = read_paper_list(folder / "paper.txt")
        if str(paper.key) != folder.name:
            raise SourceError(f"{folder}/paper.txt: says paper {paper.key}")
        for q in paper.questions:
            page = folder / f"{q.qid}.html"
            if not page.exists():
                raise SourceError(f"{page}: missing page of question {q.number}")
            q.html = page.read_text(encoding="utf-8")
            for name in figure_names(q.html):
                picture = folder / name
                if "/" in name or not picture.exists():
                    raise SourceError(f"{page}: picture {name} is not beside the page")
                q.figures[name] = picture.read_bytes()
            solution = folder / f"{q.qid}.solution.html"
            if solution.exists():
                q.solution = solution.read_text(encoding="utf-8")
                for name in figure_names(q.solution):
                    picture = folder / name
                    if "/" in name or not picture.exists():
                        raise SourceError(f"{solution}: picture {name} is not beside the page")
                    q.solution_figures[name] = picture.read_bytes()
        course.papers.append(paper)
    return course


def paper_list_text(paper, heading):
    out = [f"# {heading}",
           "# Each question: 'question NUMBER ID FAMILY', then one line per answer",
           "# slot in slot order: 'KIND MARKS KEY' (the key runs to the end of the line).",
           f"paper {paper.key}", ""]
    for q in paper.questions:
        out.append(f"question {q.number} {q.qid}" + (f" {q.family}" if q.family else ""))
        for s in q.slots:
            out.append(f"  {s.kind} {s.marks} {s.key}")
        out.append("")
    return "\n".join(out)


def write_paper(folder, paper, heading):
    """Writes one paper's folder whole: files of questions no longer in it go."""
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    keep = {"paper.txt"}
    _write_if_changed(folder / "paper.txt", paper_list_text(paper, heading).encode())
    for q in paper.questions:
        keep.add(f"{q.qid}.html")
        _write_if_changed(folder / f"{q.qid}.html", q.html.encode())
        for name, data in q.figures.items():
            keep.add(name)
            _write_if_changed(folder / name, data)
        if q.solution:
            keep.add(f"{q.qid}.solution.html")
            _write_if_changed(folder / f"{q.qid}.solution.html", q.solution.encode())
            for name, data in q.solution_figures.items():
                keep.add(name)
                _write_if_changed(folder / name, data)
    for old in folder.iterdir():
        if old.name not in keep:
            old.unlink()


def _write_if_changed(path, data):
    # Unchanged files keep their time, so the build repacks only what changed.
    if not path.exists() or path.read_bytes() != data:
        path.write_bytes(data)
