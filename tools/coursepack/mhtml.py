"""Question pages as single-file web archives (MHTML, multipart/related).

The root part is the UTF-8 HTML page; every picture is a further part. All
parts carry http:// Content-Locations under one base, because the web view
refuses file:/// sub-resources; the page refers to pictures relative to
its own location.
"""

import email.policy
import quopri
import re
from email.mime.multipart import MIMEMultipart
from email.mime.nonmultipart import MIMENonMultipart

from .source import figure_names

BASE = "http://exampractice.local/"
PART_LABELS = "abcdefghijklmnopqrst"
TYPES = {".svg": "image/svg+xml", ".png": "image/png", ".gif": "image/gif",
         ".jpg": "image/jpeg"}


def base_of(qid):
    return f"{BASE}q{qid}/"


def marks_text(marks):
    return f"[{marks} mark{'s' if marks != 1 else ''}]"


_PART = re.compile(r'<div class="part">')


def part_count(fragment):
    return len(_PART.findall(fragment))


def label_parts(fragment, slots):
    """Puts each part's letter (for two or more parts) and marks in front of
    it, from the paper's slots, so a page cannot disagree with the key."""
    if part_count(fragment) != len(slots):
        raise ValueError(f"{part_count(fragment)} parts on the page for {len(slots)} slots")
    it = iter(range(len(slots)))

    def sub(_):
        i = next(it)
        label = (f'<span class="label">({PART_LABELS[i]})</span>' if len(slots) > 1 else "")
        return (f'<div class="part{" labelled" if label else ""}">'
                f'<span class="marks">{marks_text(slots[i].marks)}</span>{label}')
    return _PART.sub(sub, fragment)


def page_html(course, paper, question, topic_name, paper_index):
    body = label_parts(question.html, question.slots)
    fields = {
        "title": f"Question {question.number}",
        "heading": f"Question {question.number}",
        "paper": f"{topic_name} \u00b7 Paper {paper_index}",
        "css": course.page_css,
        "body": body,
    }
    page = course.page_template
    for name, value in fields.items():
        page = page.replace("{{" + name + "}}", value)
    if "{{" in page:
        raise ValueError("page template has a field the packer does not fill")
    return page


SOLUTION_OFFSET = 20000   # a question's worked solution is resource id + 20000

_FINAL = re.compile(r'<span class="final" data-slot="(\d+)">')


def final_slots(fragment):
    """The slot numbers of a solution's final answers, in page order."""
    return [int(m) for m in _FINAL.findall(fragment)]


def solution_html(course, paper, question, topic_name, paper_index):
    fields = {
        "title": f"Question {question.number}: worked solution",
        "heading": f"Question {question.number}: worked solution",
        "paper": f"{topic_name} \u00b7 Paper {paper_index}",
        "css": course.page_css,
        "body": question.solution,
    }
    page = course.page_template.replace('<main class="question">', '<main class="question worked">')
    for name, value in fields.items():
        page = page.replace("{{" + name + "}}", value)
    if "{{" in page:
        raise ValueError("page template has a field the packer does not fill")
    return page


def _part(ctype, location, data):
    """One part, quoted-printable: every byte kept, lines of at most 76."""
    maintype, _, rest = ctype.partition("/")
    subtype, *params = [p.strip() for p in rest.split(";")]
    part = MIMENonMultipart(maintype, subtype, **dict(p.split("=", 1) for p in params))
    del part["MIME-Version"]  # said once, for the whole archive
    # Spaces stay spaces (the library's own encoder quotes them all).
    part.set_payload(quopri.encodestring(data.replace(b"\r\n", b"\n")).decode("ascii"))
    part["Content-Transfer-Encoding"] = "quoted-printable"
    part["Content-Location"] = location
    return part


def archive(qid, html, pictures, subject="Question page"):
    """The .mht bytes of one page. pictures: file name -> bytes, every name
    the page refers to."""
    base = base_of(qid)
    boundary = f"----=_ExamPractice_q{qid}"
    missing = [n for n in figure_names(html) if n not in pictures]
    if missing:
        raise ValueError(f"page refers to missing pictures: {missing}")
    message = MIMEMultipart("related", boundary=boundary, type="text/html")
    message["From"] = "<Exam Practice course>"
    message["Subject"] = f"{subject} {qid}"
    message["Snapshot-Content-Location"] = f"{base}index.html"
    message.attach(_part("text/html; charset=utf-8", f"{base}index.html", html.encode("utf-8")))
    for name, data in pictures.items():
        ext = name[name.rfind("."):].lower()
        message.attach(_part(TYPES[ext], base + name, data))
    out = message.as_bytes(policy=_CRLF)
    if out.count(f"--{boundary}".encode()) != len(pictures) + 2:
        raise ValueError("boundary occurs in a part")
    return out


# CR LF line ends, long header lines folded, nothing else changed.
_CRLF = email.policy.compat32.clone(linesep="\r\n")
