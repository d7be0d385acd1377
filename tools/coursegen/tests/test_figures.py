"""Every picture fits its frame: each shape and each label lies inside the
SVG's viewBox, no two labels sit on top of each other, and no black line
runs through a label. Labels have no measured size in an SVG file, so their
boxes are estimated from position, font size, anchor and characters, with
widths on the generous side of the Arial/Liberation Sans metrics the pages
are drawn in."""

import math
import random
import re
import unittest
import xml.etree.ElementTree as ET

from coursegen.build import build_topic
from coursegen.families import REGISTRY
from coursegen.plan import Slot
from coursegen.topics import load_all

load_all()
NS = "{http://www.w3.org/2000/svg}"
SEEDS = 30

# Advance widths in em, each class at or above the widest of its members in
# Liberation Sans regular and bold.
NARROW = set(" .,:;'!|/()[]iIjlftr\u00b0\u00b2\u00b3")
WIDE = set("MWmw@%")
DESCENDERS = set("gjpqy(),;[]{}|Q")
CAP = 0.75          # digits and capitals rise about 0.72 em above the baseline
DESCENT = 0.22
SLACK = 0.5         # px a shape may touch past the edge (antialiasing)
OVERLAP = 0.10      # share of the smaller label two labels may have in common


def char_em(c):
    if c in NARROW:
        return 0.40
    if c in WIDE:
        return 0.95
    if c.isupper():
        return 0.78
    return 0.62


def text_box(x, y, s, size, anchor):
    """(left, top, right, bottom) of a label drawn at baseline y."""
    w = sum(char_em(c) for c in s) * size
    left = {"start": x, "middle": x - w / 2, "end": x - w}[anchor]
    bottom = y + (DESCENT * size if any(c in DESCENDERS for c in s) else 0)
    return left, y - CAP * size, left + w, bottom


def _num(s):
    return float(s.strip().rstrip("px"))


def _points(s):
    vals = [float(v) for v in re.split(r"[\s,]+", s.strip()) if v]
    return list(zip(vals[0::2], vals[1::2]))


def _arc_points(x0, y0, rx, ry, phi, large, sweep, x1, y1):
    """Points along an SVG elliptical arc (endpoint form), for its extent."""
    if rx == 0 or ry == 0 or (x0, y0) == (x1, y1):
        return [(x1, y1)]
    rx, ry, phi = abs(rx), abs(ry), math.radians(phi)
    c, s = math.cos(phi), math.sin(phi)
    dx, dy = (x0 - x1) / 2, (y0 - y1) / 2
    xp, yp = c * dx + s * dy, -s * dx + c * dy
    lam = xp ** 2 / rx ** 2 + yp ** 2 / ry ** 2
    if lam > 1:
        rx, ry = rx * math.sqrt(lam), ry * math.sqrt(lam)
    num = rx ** 2 * ry ** 2 - rx ** 2 * yp ** 2 - ry ** 2 * xp ** 2
    den = rx ** 2 * yp ** 2 + ry ** 2 * xp ** 2
    k = math.sqrt(max(0.0, num / den)) * (-1 if large == sweep else 1)
    cxp, cyp = k * rx * yp / ry, -k * ry * xp / rx
    cx = c * cxp - s * cyp + (x0 + x1) / 2
    cy = s * cxp + c * cyp + (y0 + y1) / 2
    t0 = math.atan2((yp - cyp) / ry, (xp - cxp) / rx)
    t1 = math.atan2((-yp - cyp) / ry, (-xp - cxp) / rx)
    dt = t1 - t0
    if sweep and dt < 0:
        dt += 2 * math.pi
    elif not sweep and dt > 0:
        dt -= 2 * math.pi
    out = []
    for i in range(1, 65):
        t = t0 + dt * i / 64
        out.append((cx + rx * math.cos(t) * c - ry * math.sin(t) * s,
                    cy + rx * math.cos(t) * s + ry * math.sin(t) * c))
    return out


def _path_points(d):
    """Every point a path passes through or bends towards (curves lie in the
    hull of their control points, so that is a safe extent)."""
    tokens = re.findall(r"[A-Za-z]|-?(?:\d+\.?\d*|\.\d+)(?:e-?\d+)?", d)
    out, i, cmd = [], 0, None
    x = y = sx = sy = 0.0
    arity = {"M": 2, "L": 2, "H": 1, "V": 1, "A": 7, "C": 6, "S": 4, "Q": 4, "T": 2, "Z": 0}

    def nums(k):
        nonlocal i
        vals = [float(t) for t in tokens[i:i + k]]
        i += k
        return vals
    while i < len(tokens):
        if tokens[i].isalpha():
            cmd = tokens[i]
            i += 1
            if cmd.upper() == "Z":
                x, y = sx, sy
                continue
        if cmd is None or cmd.upper() not in arity:
            raise ValueError(f"path command {cmd!r}")
        rel = cmd.islower()
        up = cmd.upper()
        v = nums(arity[up])
        ox, oy = (x, y) if rel else (0.0, 0.0)
        if up in "MLT":
            x, y = v[0] + ox, v[1] + oy
            out.append((x, y))
            if up == "M":
                sx, sy = x, y
                cmd = "l" if rel else "L"
        elif up == "H":
            x = v[0] + ox
            out.append((x, y))
        elif up == "V":
            y = v[0] + (y if rel else 0.0)
            out.append((x, y))
        elif up == "A":
            nx, ny = v[5] + ox, v[6] + oy
            out.extend(_arc_points(x, y, v[0], v[1], v[2], int(v[3]), int(v[4]), nx, ny))
            x, y = nx, ny
        else:
            pts = [(v[j] + ox, v[j + 1] + oy) for j in range(0, len(v), 2)]
            out.extend(pts)
            x, y = pts[-1]
    return out


def _crosses(seg, box):
    """Whether segment ((x1, y1), (x2, y2)) passes through box (l, t, r, b)."""
    (x1, y1), (x2, y2) = seg
    l, t, r, b = box
    dx, dy = x2 - x1, y2 - y1
    u0, u1 = 0.0, 1.0
    for p, q in ((-dx, x1 - l), (dx, r - x1), (-dy, y1 - t), (dy, b - y1)):
        if p == 0:
            if q < 0:
                return False
        elif p < 0:
            u0 = max(u0, q / p)
        else:
            u1 = min(u1, q / p)
    return u0 < u1


def _inside(pt, outline):
    """Whether pt lies inside the closed outline (even-odd rule)."""
    x, y = pt
    inside = False
    for (x1, y1), (x2, y2) in zip(outline, outline[1:]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def _frame(el):
    """The user-space box an <svg> element shows, checked against its size."""
    w, h = _num(el.get("width")), _num(el.get("height"))
    vb = el.get("viewBox")
    if vb is None:
        return (0.0, 0.0, w, h), []
    x0, y0, vw, vh = (float(v) for v in vb.replace(",", " ").split())
    problems = []
    if abs(vw - w) > 0.01 or abs(vh - h) > 0.01:
        problems.append(f"viewBox {vb} does not match width {w} and height {h}")
    return (x0, y0, x0 + vw, y0 + vh), problems


class Layout:
    """Shapes' extents and labels' boxes of one SVG, in its own user space."""

    def __init__(self, svg_text):
        root = ET.fromstring(svg_text)
        if root.tag != NS + "svg":
            raise ValueError("not an svg")
        self.frame, self.problems = _frame(root)
        self.labels = []        # (text, box, has a halo)
        self.strokes = []       # black lines and outlines: (order drawn, segment)
        self.covers = []        # opaque filled shapes: (order drawn, outline)
        self.order = 0
        self._walk(root, 0.0, 0.0, self.frame, float(root.get("font-size", "16")))

    def _outside(self, what, box, frame, slack):
        l, t, r, b = box
        fl, ft, fr, fb = frame
        cut = []
        if l < fl - slack:
            cut.append(f"left by {fl - l:.1f}")
        if t < ft - slack:
            cut.append(f"top by {ft - t:.1f}")
        if r > fr + slack:
            cut.append(f"right by {r - fr:.1f}")
        if b > fb + slack:
            cut.append(f"bottom by {b - fb:.1f}")
        if cut:
            self.problems.append(f"{what} is cut off at the " + ", ".join(cut))

    def _walk(self, el, ox, oy, frame, font):
        for child in el:
            tag = child.tag.replace(NS, "")
            if tag in ("defs", "title", "desc"):
                continue
            for attr in ("transform", "dx", "dy", "dominant-baseline", "alignment-baseline"):
                if child.get(attr) is not None:
                    raise ValueError(f"<{tag}> with {attr}: extend the check")
            sw = float(child.get("stroke-width", "1")) if child.get("stroke", "none") != "none" else 0.0
            pts = None
            if tag == "svg":
                x, y = float(child.get("x", "0")) + ox, float(child.get("y", "0")) + oy
                inner, problems = _frame(child)
                self.problems += problems
                w, h = inner[2] - inner[0], inner[3] - inner[1]
                self._outside("a nested picture", (x, y, x + w, y + h), frame, SLACK)
                self._walk(child, x - inner[0], y - inner[1], (x, y, x + w, y + h),
                           float(child.get("font-size", font)))
                continue
            if tag == "g":
                self._walk(child, ox, oy, frame, float(child.get("font-size", font)))
                continue
            if tag == "text":
                s = "".join(child.itertext())
                size = float(child.get("font-size", font))
                box = text_box(float(child.get("x", "0")) + ox, float(child.get("y", "0")) + oy,
                               s, size, child.get("text-anchor", "start"))
                halo = child.get("stroke") == "#fff" and child.get("paint-order") == "stroke"
                self.order += 1
                self.labels.append((s, box, halo, float(child.get("y", "0")) + oy, size, self.order))
                self._outside(f"label {s!r}", box, frame, SLACK)
                continue
            if tag == "line":
                pts = [(float(child.get("x1", "0")), float(child.get("y1", "0"))),
                       (float(child.get("x2", "0")), float(child.get("y2", "0")))]
            elif tag == "rect":
                x, y = float(child.get("x", "0")), float(child.get("y", "0"))
                pts = [(x, y), (x + _num(child.get("width")), y + _num(child.get("height")))]
            elif tag in ("polygon", "polyline"):
                pts = _points(child.get("points"))
            elif tag in ("circle", "ellipse"):
                cx, cy = float(child.get("cx", "0")), float(child.get("cy", "0"))
                rx = float(child.get("r") or child.get("rx"))
                ry = float(child.get("r") or child.get("ry"))
                pts = [(cx - rx, cy - ry), (cx + rx, cy + ry)]
            elif tag == "path":
                pts = _path_points(child.get("d"))
            else:
                raise ValueError(f"<{tag}>: extend the check")
            self.order += 1
            outline = pts
            if tag == "rect":
                (x0, y0), (x1, y1) = pts
                outline = [(x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0)]
            elif tag == "polygon":
                outline = pts + pts[:1]
            outline = [(x + ox, y + oy) for x, y in outline]
            if tag in ("rect", "polygon") and child.get("fill", "#000") not in ("none", "transparent") \
                    and child.get("fill-opacity", "1") == "1":
                self.covers.append((self.order, outline))
            if child.get("stroke") == "#000" and sw >= 1 and tag not in ("circle", "ellipse"):
                self.strokes += [(self.order, seg) for seg in zip(outline, outline[1:])]
            xs = [p[0] + ox for p in pts]
            ys = [p[1] + oy for p in pts]
            half = sw / 2
            self._outside(f"a <{tag}>", (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half),
                          frame, SLACK)

    def struck(self):
        """Labels a black line runs through: the letters' own box, the
        generous width trimmed back towards real widths, capitals' height.
        A label with a white halo stays readable over a line."""
        out = []
        for s, (l, t, r, b), halo, y, size, drawn in self.labels:
            inset = (r - l) * 0.08
            glyphs = (l + inset, y - 0.7 * size, r - inset, y)
            corners = [(glyphs[0], glyphs[1]), (glyphs[2], glyphs[1]), (glyphs[2], glyphs[3]),
                       (glyphs[0], glyphs[3])]
            # A filled shape under the label hides the lines drawn before it
            # (a box on a pan in front of the pan's strings).
            hidden = max([k for k, outline in self.covers
                          if k < drawn and all(_inside(c, outline) for c in corners)], default=0)
            if not halo and any(_crosses(seg, glyphs) for k, seg in self.strokes if k > hidden):
                out.append(f"label {s!r} is crossed by a line")
        return out

    def overlaps(self):
        out = []
        for i, (s1, a, *_) in enumerate(self.labels):
            for s2, b, *_ in self.labels[i + 1:]:
                w = min(a[2], b[2]) - max(a[0], b[0])
                h = min(a[3], b[3]) - max(a[1], b[1])
                if w <= 0 or h <= 0:
                    continue
                smaller = min((a[2] - a[0]) * (a[3] - a[1]), (b[2] - b[0]) * (b[3] - b[1]))
                if w * h > OVERLAP * smaller:
                    out.append(f"labels {s1!r} and {s2!r} overlap ({w:.0f} x {h:.0f} px)")
        return out


def figure_problems(svg_text):
    """What is wrong with how a picture fits together; [] when nothing."""
    layout = Layout(svg_text)
    return layout.problems + layout.overlaps() + layout.struck()


# The corner labels of a figure on a square grid as first shipped (question
# 21511): Y stood below the bottom edge of the picture.
CUT_OFF_CORNER = (
    '<svg xmlns="http://www.w3.org/2000/svg" width="326" height="258" viewBox="0 0 326 258" '
    'font-size="15"><line x1="10" y1="248" x2="316" y2="248" stroke="#999" stroke-width="0.8"/>'
    '<polygon points="44,146 180,78 248,214 78,248" stroke="#000" fill="none" stroke-width="2.5"/>'
    '<text x="29.53" y="147.05" text-anchor="middle" font-size="15" font-weight="bold">V</text>'
    '<text x="186.21" y="69.34" text-anchor="middle" font-size="15" font-weight="bold">W</text>'
    '<text x="262" y="224.38" text-anchor="middle" font-size="15" font-weight="bold">X</text>'
    '<text x="68.79" y="264.84" text-anchor="middle" font-size="15" font-weight="bold">Y</text></svg>')


def _svg(body, w=200, h=100):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}" font-size="15">{body}</svg>')


class TheCheckFindsFaults(unittest.TestCase):
    def test_corner_label_below_the_picture(self):
        problems = figure_problems(CUT_OFF_CORNER)
        self.assertEqual(len(problems), 1, problems)
        self.assertIn("'Y'", problems[0])
        self.assertIn("bottom", problems[0])

    def test_labels_past_each_edge(self):
        self.assertIn("left", figure_problems(_svg('<text x="8" y="50" text-anchor="middle">40 cm</text>'))[0])
        self.assertIn("right", figure_problems(_svg('<text x="190" y="50">12</text>'))[0])
        self.assertIn("top", figure_problems(_svg('<text x="50" y="8">A</text>'))[0])
        # A descender hangs below the baseline.
        self.assertIn("bottom", figure_problems(_svg('<text x="50" y="98">y</text>'))[0])
        self.assertEqual(figure_problems(_svg('<text x="50" y="98">A</text>'
                                              '<text x="200" y="60" text-anchor="end">12 cm</text>')), [])

    def test_shapes_past_the_edge(self):
        self.assertTrue(figure_problems(_svg('<rect x="150" y="10" width="60" height="20" stroke="#000"/>')))
        self.assertTrue(figure_problems(_svg('<circle cx="20" cy="50" r="25" stroke="#000"/>')))
        self.assertTrue(figure_problems(_svg('<line x1="0" y1="99" x2="200" y2="99" stroke="#000" '
                                             'stroke-width="4"/>')))
        self.assertTrue(figure_problems(_svg('<polyline points="10,10 100,120" stroke="#000"/>')))
        # A semicircle bulging past the bottom though both its ends are inside.
        self.assertTrue(figure_problems(_svg('<path d="M20,60 A60,60 0 0 0 140,60" stroke="#000"/>')))
        self.assertEqual(figure_problems(_svg('<path d="M20,60 A60,60 0 0 1 140,60" stroke="#000"/>'
                                              '<rect x="1" y="1" width="198" height="98" stroke="#000"/>')), [])

    def test_nested_picture_is_its_own_frame(self):
        inner = '<svg x="100" y="0" width="90" height="90" viewBox="0 0 90 90">{}</svg>'
        self.assertEqual(figure_problems(_svg(inner.format('<text x="45" y="80">3 cm</text>'))), [])
        self.assertTrue(figure_problems(_svg(inner.format('<text x="45" y="80" text-anchor="start">'
                                                          '30 cm</text>'))))
        self.assertTrue(figure_problems(_svg(inner.replace('y="0"', 'y="20"').format(''))))

    def test_frame_and_size_agree(self):
        self.assertTrue(figure_problems('<svg xmlns="http://www.w3.org/2000/svg" width="200" '
                                        'height="100" viewBox="0 0 200 120"/>'))

    def test_lines_through_labels(self):
        line = '<line x1="10" y1="45" x2="190" y2="45" stroke="{}" stroke-width="2"/>'
        label = '<text x="100" y="50" text-anchor="middle"{}>40 cm</text>'
        self.assertIn("crossed", figure_problems(_svg(line.format("#000") + label.format("")))[0])
        # A thin grey grid line does not count; a white halo keeps the label readable.
        self.assertEqual(figure_problems(_svg(line.format("#999") + label.format(""))), [])
        halo = ' stroke="#fff" stroke-width="3" paint-order="stroke"'
        self.assertEqual(figure_problems(_svg(line.format("#000") + label.format(halo))), [])
        # A filled box drawn over the line hides it under the label; drawn first, it does not.
        box = '<rect x="70" y="30" width="60" height="26" fill="#fff" stroke="#000" stroke-width="2"/>'
        self.assertEqual(figure_problems(_svg(line.format("#000") + box + label.format(""))), [])
        self.assertTrue(figure_problems(_svg(box + line.format("#000") + label.format(""))))
        # Beside a line, clear of it, is fine.
        self.assertEqual(figure_problems(_svg(line.format("#000") + '<text x="100" y="38" text-anchor="middle">40 cm</text>')), [])

    def test_labels_on_top_of_each_other(self):
        self.assertTrue(figure_problems(_svg('<text x="50" y="50">45\u00b0</text>'
                                             '<text x="60" y="55">A</text>')))
        # Side by side, or one line under the other, is fine.
        self.assertEqual(figure_problems(_svg('<text x="50" y="50" text-anchor="end">12</text>'
                                              '<text x="52" y="50" text-anchor="start">cm</text>'
                                              '<text x="50" y="68">next line</text>')), [])


def family_figures():
    """Every figure each family draws for every pattern and level it claims."""
    for name, fam in REGISTRY.items():
        for kinds in fam.kinds:
            for level in fam.levels:
                slots = tuple(Slot(k, 1) for k in kinds)
                for seed in range(SEEDS):
                    try:
                        q = fam.make(random.Random(f"test:{seed}"), level, slots)
                    except ValueError:
                        continue
                    for i, f in enumerate(q.figures, 1):
                        yield f"{name} {''.join(kinds)} level {level} seed {seed} figure {i}", f.svg


class EveryFigureFits(unittest.TestCase):
    def test_the_course(self):
        bad = []
        for t in range(1, 11):
            for paper in build_topic(t):
                for q in paper.questions:
                    for name, data in q.figures.items():
                        bad += [f"{name} ({q.family}): {p}" for p in figure_problems(data.decode())]
        self.assertEqual(bad, [], "\n" + "\n".join(bad))

    def test_every_family_over_many_draws(self):
        bad = [f"{where}: {p}" for where, svg in family_figures() for p in figure_problems(svg)]
        self.assertEqual(bad, [], f"\n{len(bad)} problems\n" + "\n".join(bad[:200]))


if __name__ == "__main__":
    unittest.main()
