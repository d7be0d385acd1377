import email
import email.policy
import shutil
import tempfile
import unittest
from pathlib import Path

from coursepack import mhtml, tagged
from coursepack.pack import pack, problems, qrc
from coursepack.source import (PaperSource, QuestionSource, SlotSource, SourceError, read_course,
                               read_paper_list, write_paper)

COURSE = Path(__file__).resolve().parents[3] / "course"


def lines_of(data):
    return data.decode("cp1252").split("\r\n")


class ShippedResources(unittest.TestCase):
    """The packed shipped course, byte by byte where the program depends on it."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.out = Path(cls.tmp.name)
        cls.ids = pack(COURSE, cls.out, cls.out / "course.qrc")

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def read(self, rid):
        return (self.out / str(rid)).read_bytes()

    def test_course_definition(self):
        data = self.read(30000)
        self.assertEqual(len(data), 285)
        lines = lines_of(data)
        self.assertEqual((lines[0], lines[-1]), ("...", "..."))
        self.assertIn("-" * 31, lines)
        self.assertFalse(data.endswith(b"\r\n"))
        self.assertIn("#LBH#>Practice", lines)
        self.assertIn("#TT2#>10", lines)
        self.assertIn("#TP2#>50", lines)
        self.assertFalse(any(l.startswith(("#LAH#", "#LCH#")) for l in lines))
        topics = next(l for l in lines if l.startswith("#TN2#")).split(">")[1:]
        self.assertEqual(topics[0], "Whole Numbers")
        self.assertEqual(topics[7], "Ratio and Proportions")
        code = next(l for l in lines if l.startswith("#COD#"))[6:]
        self.assertRegex(code, r"^[A-Za-z0-9]{1,8}$")

    def test_catalogue_is_parallel_and_in_paper_order(self):
        papers, keys, kinds, marks = (lines_of(self.read(i))[1:-1] for i in (30022, 30023, 30024, 30025))
        for data in (self.read(i) for i in (30022, 30023, 30024, 30025)):
            self.assertTrue(data.startswith(b"...\r\n") and data.endswith(b"\r\n..."))
        self.assertEqual([l[1:4] for l in papers], [str(k) for k in range(101, 151)])
        ids = [i for l in papers for i in l.split(">")[1:]]
        self.assertEqual(len(ids), 1410)
        for file in (keys, kinds, marks):
            self.assertEqual([l[1:6] for l in file], ids)
            self.assertTrue(all(l[6:8] == "#>" for l in file))
        counts = [[l.count(">") for l in f] for f in (keys, kinds, marks)]
        self.assertEqual(counts[0], counts[1])
        self.assertEqual(counts[0], counts[2])
        self.assertEqual(sum(counts[0]), 1521)

    def test_templates(self):
        marks = self.read(30121)
        self.assertEqual(len(marks), 450)
        self.assertEqual(lines_of(marks), ["...", "#FSE#" + ">" * 50, "#SSE#" + ">" * 50,
                                           "#LTM#" + ">" * 50, "#CDD#" + ">" * 50,
                                           "#FST#" + ">0" * 50, "#SST#" + ">0" * 50, "..."])
        per_paper = self.read(30122)
        for rid in (30123, 30124, 30125):
            self.assertEqual(self.read(rid), per_paper)
        lines = lines_of(per_paper)
        self.assertEqual(len(lines), 52)
        self.assertEqual(lines[1], "#101#" + ">" * 30)
        self.assertEqual(lines[10], "#110#" + ">" * 34)
        self.assertEqual(lines[45], "#145#" + ">" * 50)
        self.assertEqual(lines[50], "#150#" + ">" * 12)
        self.assertEqual(self.read(30126), b"#TRD#")

    def test_every_page_is_an_archive_whose_parts_resolve(self):
        pages = [i for i in self.ids if i < 30000]
        self.assertEqual(len(pages), 1410)
        for qid in pages[::47] + [20039, 22841]:
            msg = email.message_from_bytes(self.read(qid), policy=email.policy.default)
            self.assertEqual(msg.get_content_type(), "multipart/related")
            parts = list(msg.iter_parts())
            root = parts[0]
            self.assertEqual(root.get_content_type(), "text/html")
            self.assertEqual(root.get_content_charset(), "utf-8")
            base = root["Content-Location"]
            self.assertTrue(base.startswith("http://"))
            html = root.get_content()
            locations = {p["Content-Location"] for p in parts[1:]}
            for name in mhtml.figure_names(html):
                self.assertIn(base.rsplit("/", 1)[0] + "/" + name, locations)
            self.assertIn("<h1>Question ", html)

    def test_qrc_lists_every_resource_under_custom(self):
        text = (self.out / "course.qrc").read_text()
        self.assertIn('<qresource prefix="/Custom">', text)
        self.assertEqual(text.count("<file "), len(self.ids))
        self.assertIn('<file alias="30000">30000</file>', text)


class Lines(unittest.TestCase):
    def test_separators_in_values_are_refused(self):
        self.assertEqual(tagged.line("FSE", ["", "", ""]), "#FSE#>>>")
        for bad in ("a>b", "#1", "x\r\ny"):
            with self.assertRaises(ValueError):
                tagged.line("NME", [bad])

    def test_fenced_files_have_no_final_line_end(self):
        self.assertEqual(tagged.fenced(["#TRD#"]), b"...\r\n#TRD#\r\n...")
        with self.assertRaises(UnicodeEncodeError):
            tagged.encode(["\u2113"])          # not in Windows-1252


def question(number, qid, slots, parts=None):
    slots = [SlotSource(*s) for s in slots]
    body = '<p>Text</p>\n' + '<div class="part">\n<p>x</p>\n</div>\n' * (len(slots) if parts is None else parts)
    return QuestionSource(number, qid, "test.family", slots, body)


class Pages(unittest.TestCase):
    def test_parts_get_letters_only_when_there_are_several(self):
        one = mhtml.label_parts(question(1, 20011, [("N", 2, "5")]).html, [SlotSource("N", 2, "5")])
        self.assertNotIn("(a)", one)
        self.assertIn("[2 marks]", one)
        slots = [SlotSource("N", 1, "5"), SlotSource("F", 2, "1/2"), SlotSource("N", 1, "3")]
        three = mhtml.label_parts(question(1, 20011, [("N", 1, "5")], parts=3).html, slots)
        self.assertEqual([three.index(f"({c})") for c in "abc"], sorted(three.index(f"({c})") for c in "abc"))
        self.assertIn("[1 mark]", three)
        with self.assertRaises(ValueError):
            mhtml.label_parts(question(1, 20011, [], parts=2).html, slots)

    def test_archive_round_trips_text_and_pictures(self):
        html = '<p>Caf\u00e9 \u2113 = ' + "x" * 200 + '</p><img src="20011-1.svg"/>'
        svg = b'<svg xmlns="http://www.w3.org/2000/svg"><text>=A</text></svg>'
        data = mhtml.archive(20011, html, {"20011-1.svg": svg})
        self.assertTrue(all(len(l) <= 78 for l in data.split(b"\r\n")))
        msg = email.message_from_bytes(data, policy=email.policy.default)
        root, picture = msg.iter_parts()
        self.assertEqual(root.get_content(), html)
        self.assertEqual(picture.get_content_type(), "image/svg+xml")
        self.assertEqual(picture["Content-Location"], "http://exampractice.local/q20011/20011-1.svg")
        self.assertEqual(picture.get_payload(decode=True), svg)
        with self.assertRaises(ValueError):
            mhtml.archive(20011, html, {})


class BrokenSources(unittest.TestCase):
    """A copy of the shipped course, broken on purpose, must not pack."""

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.root = Path(self.tmp.name) / "course"
        shutil.copytree(COURSE, self.root)
        self.paper = self.root / "papers" / "101" / "paper.txt"

    def tearDown(self):
        self.tmp.cleanup()

    def edit(self, old, new, path=None):
        path = path or self.paper
        text = path.read_text()
        self.assertIn(old, text)
        path.write_text(text.replace(old, new, 1))

    def found(self):
        return problems(read_course(self.root))

    def test_shipped_copy_is_clean(self):
        self.assertEqual(self.found(), [])

    def test_bad_key_for_its_kind(self):
        first = read_paper_list(self.paper).questions[0]
        self.edit(f"  {first.slots[0].kind} {first.slots[0].marks} {first.slots[0].key}\n",
                  f"  F {first.slots[0].marks} 6/8\n")
        self.assertTrue(any("simplest" in p for p in self.found()))

    def test_ids_out_of_order(self):
        self.edit("question 2 20013", "question 2 20009")
        (self.root / "papers" / "101" / "20013.html").rename(self.root / "papers" / "101" / "20009.html")
        self.assertTrue(any("increase" in p for p in self.found()))

    def test_page_parts_disagree_with_slots(self):
        first = read_paper_list(self.paper).questions[0]
        s = first.slots[0]
        self.edit(f"  {s.kind} {s.marks} {s.key}\n", f"  {s.kind} {s.marks} {s.key}\n  N 1 4\n")
        self.assertTrue(any("1 parts for 2 slots" in p for p in self.found()))
        with self.assertRaises(ValueError):
            pack(self.root, Path(self.tmp.name) / "out")

    def test_missing_page_and_picture(self):
        (self.root / "papers" / "101" / "20011.html").unlink()
        with self.assertRaises(SourceError):
            read_course(self.root)

    def test_unreadable_slot_line(self):
        self.edit("question 1 20011", "question 1 20011\n  N two 5")
        with self.assertRaises(SourceError):
            read_course(self.root)

    def test_bad_definition(self):
        path = self.root / "course.txt"
        self.edit("code: ", "code: UP-", path)
        with self.assertRaises(SourceError):
            read_course(self.root)


class PaperFolders(unittest.TestCase):
    def test_write_then_read_and_stale_files_go(self):
        with tempfile.TemporaryDirectory() as tmp:
            folder = Path(tmp) / "101"
            folder.mkdir()
            (folder / "29999.html").write_text("old")
            q = question(1, 20011, [("X", 2, "5 2/3"), ("T", 1, "12.42pm")], parts=2)
            q.figures = {"20011-1.svg": b"<svg/>"}
            write_paper(folder, PaperSource(101, [q]), "Test paper")
            self.assertFalse((folder / "29999.html").exists())
            back = read_paper_list(folder / "paper.txt")
            self.assertEqual([(s.kind, s.marks, s.key) for s in back.questions[0].slots],
                             [("X", 2, "5 2/3"), ("T", 1, "12.42pm")])
            self.assertEqual((folder / "20011-1.svg").read_bytes(), b"<svg/>")


class ResourceList(unittest.TestCase):
    def test_qrc(self):
        self.assertIn('<file alias="20011">20011</file>', qrc([20011]))


if __name__ == "__main__":
    unittest.main()
