"""Geometry: the solvers against worked examples, the figures against the
angles they are drawn from, and every family against the key rules."""

import html
import math
import random
import re
import unittest
import xml.etree.ElementTree as ET

from coursegen import plan as shape
from coursegen.build import build_topic, plain, render, render_solution
from coursegen.families import REGISTRY, families_of
from coursegen.model import key_problem
from coursegen.topics import geometry as g

from .test_figures import SEEDS, figure_problems


def angle_at(v, a, b):
    """The angle at v between va and vb, in degrees, from coordinates."""
    u, w = g.vec(v, a), g.vec(v, b)
    return math.degrees(math.atan2(abs(g.cross(u, w)), g.dot(u, w)))


def dist(a, b):
    return math.hypot(a[0] - b[0], a[1] - b[1])


class AngleSolvers(unittest.TestCase):
    def test_lines_points_and_triangles(self):
        self.assertEqual(g.on_line(47), 133)              # 180 - 47
        self.assertEqual(g.on_line(35, 90), 55)           # 180 - 35 - 90
        self.assertEqual(g.at_point(120, 95, 80), 65)     # 360 - 295
        self.assertEqual(g.third_angle(43, 87), 50)       # 180 - 130
        self.assertEqual(g.exterior(44, 60), 104)         # 44 + 60
        self.assertEqual(g.quad_fourth(100, 85, 70), 105)  # 360 - 255
        self.assertEqual(g.co_interior(118), 62)          # 180 - 118

    def test_isosceles(self):
        self.assertEqual(g.base_angle(86), 47)            # (180 - 86) / 2 = 94 / 2
        self.assertEqual(g.apex_angle(47), 86)            # 180 - 2 x 47
        with self.assertRaises(ValueError):
            g.base_angle(85)                              # 95 / 2 is not whole

    def test_rhombus_with_equilateral_triangle(self):
        # Square: ABE = 90 - 60 = 30; AB = BE so BAE = (180 - 30) / 2 = 75;
        # DCE = 90 - 60 = 30, CED = 75.
        # EAD = BAD - BAE = 90 - 75 = 15.
        self.assertEqual(g.rhombus_equilateral(90),
                         {"ABE": 30, "BAE": 75, "EAD": 15, "DCE": 30, "CED": 75})
        # ABC = 100: ABE = 40, BAE = 140 / 2 = 70; BCD = 80, DCE = 20, CED = 160 / 2 = 80.
        # EAD = 80 - 70 = 10.
        self.assertEqual(g.rhombus_equilateral(100),
                         {"ABE": 40, "BAE": 70, "EAD": 10, "DCE": 20, "CED": 80})
        with self.assertRaises(ValueError):
            g.rhombus_equilateral(130)                    # E would fall outside

    def test_parallelogram_with_a_line(self):
        # A = 63: ABC = 117, BCD = 63; triangle BEC: 180 - 63 - 28 = 89;
        # DEB = 180 - 89 = 91; ABE = 117 - 28 = 89.
        self.assertEqual(g.parallelogram_line(63, 28),
                         {"ABC": 117, "BCD": 63, "BEC": 89, "DEB": 91, "ABE": 89})

    def test_split_and_paired_triangles(self):
        # ADB = 180 - 41 - 69 = 70, ADC = 110, ACD = (180 - 110) / 2 = 35,
        # BAC = 41 + 35 = 76.
        self.assertEqual(g.split_triangle(41, 69), {"ADB": 70, "ADC": 110, "ACD": 35, "BAC": 76})
        # BAC = 40: ACB = 70, ACD = 110, ADC = 70 / 2 = 35, BAD = 40 + 35 = 75.
        self.assertEqual(g.isosceles_pair(40), {"ACB": 70, "ACD": 110, "ADC": 35, "BAD": 75})

    def test_angle_kinds(self):
        self.assertEqual([g.angle_kind(a) for a in (89, 90, 91, 179, 180, 181)],
                         ["acute", "right", "obtuse", "obtuse", "straight", "reflex"])


class TurnsAndClocks(unittest.TestCase):
    def test_compass_turns(self):
        self.assertEqual(g.turn("north-east", 135), "south")           # NE, E, SE, S
        self.assertEqual(g.turn("west", 90, clockwise=False), "south")
        self.assertEqual(g.turn("north", 405), "north-east")           # a whole turn and 45
        # W -> NW -> N -> NE -> E -> SE is five eighths of a turn clockwise.
        self.assertEqual(g.turn_between("west", "south-east"), 225)
        self.assertEqual(g.turn_between("west", "south-east", clockwise=False), 135)
        with self.assertRaises(ValueError):
            g.turn("north", 100)

    def test_clock(self):
        self.assertEqual(g.clock_angle(4), 120)            # 4 x 30
        self.assertEqual(g.clock_angle(9), 90)             # 270 the other way round
        self.assertEqual(g.clock_angle(3, 30), 75)         # hour hand 105, minute hand 180
        self.assertEqual(g.minute_hand_turn(25), 150)      # 25 x 6
        self.assertEqual(g.hour_hand_turn(4), 120)


class Solids(unittest.TestCase):
    def test_counts(self):
        self.assertEqual(g.prism_counts(5), (7, 15, 10))
        self.assertEqual(g.pyramid_counts(4), (5, 8, 5))
        self.assertEqual(g.solid_counts("cube"), (6, 12, 8))
        self.assertEqual(g.solid_counts("triangular prism"), (5, 9, 6))
        for name in g.SOLIDS:
            f, e, v = g.solid_counts(name)
            self.assertEqual(f + v - e, 2, name)               # Euler

    def test_skeleton(self):
        self.assertEqual(g.skeleton_length(8, 5, 3), 64)       # 4 x (8 + 5 + 3)

    def test_drawn_solids_show_every_edge(self):
        # Each edge is one line, solid or dashed.
        for name in g.SOLIDS:
            svg = g._solid_svg(name, random.Random(1))
            self.assertEqual(svg.count("<line"), g.solid_counts(name)[1], name)


class Nets(unittest.TestCase):
    CROSS = {(0, 1), (1, 0), (1, 1), (1, 2), (2, 1), (3, 1)}

    def test_eleven_of_the_thirty_five_hexominoes_fold_into_a_cube(self):
        self.assertEqual(len(g.HEXOMINOES), 35)
        self.assertEqual(len(g.CUBE_NETS), 11)

    def test_known_nets(self):
        self.assertTrue(g.is_cube_net(self.CROSS))
        self.assertFalse(g.is_cube_net({(r, c) for r in range(2) for c in range(3)}))
        self.assertFalse(g.is_cube_net({(0, c) for c in range(6)}))
        self.assertFalse(g.is_cube_net({(0, 0), (0, 1), (0, 2), (0, 3), (1, 0), (3, 3)}))

    def test_opposite_faces(self):
        # The cross: left and right arms meet, the top is opposite the square
        # below the centre, the centre is opposite the foot.
        self.assertEqual(g.opposite_cell(self.CROSS, (1, 0)), (1, 2))
        self.assertEqual(g.opposite_cell(self.CROSS, (0, 1)), (2, 1))
        self.assertEqual(g.opposite_cell(self.CROSS, (1, 1)), (3, 1))

    def test_variants_keep_nets_nets(self):
        for net in g.CUBE_NETS:
            self.assertTrue(all(g.is_cube_net(v) for v in g.variants(net)))


class LinesAndSymmetry(unittest.TestCase):
    def test_line_pairs(self):
        par, perp, neither = g.line_pairs([(1, 1), (7, 1), (5, 4), (2, 4)], "ABCD")
        self.assertEqual((par, perp), ([("AB", "CD")], []))
        par, perp, _ = g.line_pairs([(1, 2), (3, 0), (7, 4), (3, 6)], "PQRS")
        # PQ = (2, -2) and QR = (4, 4): dot product 0.
        self.assertEqual(par, [])
        self.assertIn(("PQ", "QR"), perp)

    def test_symmetric_completion(self):
        # Grid 8 wide: (0, 0) mirrors to (0, 7), already shaded; (1, 2) to (1, 5).
        self.assertEqual(g.symmetric_completion({(0, 0), (0, 7), (1, 2)}, 8), {(1, 5)})
        self.assertEqual(g.symmetric_completion({(2, 3), (2, 4)}, 8), set())


class FiguresAgreeWithTheirAngles(unittest.TestCase):
    def test_triangle_from_base_angles(self):
        A, B, C = g._triangle(43, 87)
        self.assertAlmostEqual(angle_at(B, A, C), 43, places=6)
        self.assertAlmostEqual(angle_at(C, A, B), 87, places=6)
        self.assertAlmostEqual(angle_at(A, B, C), 50, places=6)

    def test_trapezium_and_quadrilateral(self):
        q = g._trapezium(118, 104, 1.6, 0.7)
        self.assertAlmostEqual(angle_at(q["A"], q["B"], q["D"]), 118, places=6)
        self.assertAlmostEqual(angle_at(q["B"], q["A"], q["C"]), 104, places=6)
        self.assertAlmostEqual(q["C"][1], q["D"][1], places=9)          # DC parallel to AB
        q = g._general_quad(100, 85, 1.5, 1.0, 70)
        self.assertAlmostEqual(angle_at(q["C"], q["B"], q["D"]), 105, places=6)
        self.assertAlmostEqual(angle_at(q["D"], q["A"], q["C"]), 70, places=6)

    def _made(self, make, kinds, level):
        """Questions of a family with the points of the drawing they show."""
        for seed in range(40):
            try:
                q, drawing = self._drawing(make, kinds, level, seed)
            except ValueError:
                continue
            yield q, drawing.pts

    def test_rhombus_triangle_drawn_to_its_keys(self):
        for q, pts in self._made(g.rhombus_triangle, ("N",) * 4, 3):
            A, B, C, D, E = (pts[k] for k in "ABCDE")
            self.assertAlmostEqual(dist(B, E), dist(B, C), places=6)
            self.assertAlmostEqual(dist(C, E), dist(B, C), places=6)
            keys = [float(part.key) for part in q.parts]
            self.assertAlmostEqual(angle_at(B, A, E), keys[0], places=6)
            self.assertAlmostEqual(angle_at(A, B, E), keys[1], places=6)
            self.assertAlmostEqual(angle_at(C, D, E), keys[2], places=6)
            self.assertAlmostEqual(angle_at(E, C, D), keys[3], places=6)

    def test_parallelogram_line_drawn_to_its_keys(self):
        for q, pts in self._made(g.parallelogram_line_question, ("N",) * 4, 3):
            A, B, C, D, E = (pts[k] for k in "ABCDE")
            keys = [float(part.key) for part in q.parts]      # ABC, ABE, BCD, DEB
            self.assertAlmostEqual(angle_at(B, A, C), keys[0], places=6)
            self.assertAlmostEqual(angle_at(B, A, E), keys[1], places=6)
            self.assertAlmostEqual(angle_at(C, B, D), keys[2], places=6)
            self.assertAlmostEqual(angle_at(E, D, B), keys[3], places=6)

    def test_split_and_paired_triangles_drawn_to_their_keys(self):
        for q, pts in self._made(g.split_triangle_question, ("N",) * 3, 3):
            A, B, C, D = (pts[k] for k in "ABCD")
            self.assertAlmostEqual(dist(A, D), dist(D, C), places=6)
            keys = [float(part.key) for part in q.parts]      # ADB, ACD, BAC
            self.assertAlmostEqual(angle_at(D, A, B), keys[0], places=6)
            self.assertAlmostEqual(angle_at(C, A, D), keys[1], places=6)
            self.assertAlmostEqual(angle_at(A, B, C), keys[2], places=6)
        for q, pts in self._made(g.isosceles_pair_question, ("N",) * 4, 3):
            A, B, C, D = (pts[k] for k in "ABCD")
            self.assertAlmostEqual(dist(A, B), dist(A, C), places=6)
            self.assertAlmostEqual(dist(C, D), dist(A, C), places=6)
            keys = [float(part.key) for part in q.parts]      # ACB, ACD, ADC, BAD
            self.assertAlmostEqual(angle_at(C, A, B), keys[0], places=6)
            self.assertAlmostEqual(angle_at(C, A, D), keys[1], places=6)
            self.assertAlmostEqual(angle_at(D, A, C), keys[2], places=6)
            self.assertAlmostEqual(angle_at(A, B, D), keys[3], places=6)

    def test_marked_degrees_match_the_drawing(self):
        # Every angle written on a figure as a number of degrees is the
        # angle drawn there, in the question and in the working's figures
        # (where an angle found is marked with its size).
        checked = found = 0
        for fam in families_of(6):
            for kinds in fam.kinds:
                for level in fam.levels:
                    for seed in range(6):
                        try:
                            _, drawings = self._drawing(fam.make, kinds, level, seed, every=True)
                        except ValueError:
                            continue
                        for drawing, op in [(d, op) for d in drawings for op in d.ops]:
                            if op[0] == "angle" and op[4].endswith(g.DEG):
                                v, a, b = (drawing._xy(x) for x in op[1:4])
                                want = float(op[4][:-1])
                                got = angle_at(v, a, b)
                                self.assertAlmostEqual(got if not op[5] else 360 - got, want,
                                                       places=5, msg=fam.name)
                                checked += 1
                                found += op[7]
                            if op[0] == "right":
                                v, a, b = (drawing._xy(x) for x in op[1:4])
                                self.assertAlmostEqual(angle_at(v, a, b), 90, places=6)
        self.assertGreater(checked, 100)
        self.assertGreater(found, 100)

    def _drawing(self, make, kinds, level, seed, every=False):
        """A family's question and the drawing it made, caught as it renders;
        every: all the drawings it rendered, the working's too."""
        caught = []
        real = g.Drawing.render

        def spy(d):
            caught.append(d)
            return real(d)
        g.Drawing.render = spy
        try:
            q = make(random.Random(seed), level, tuple(shape.Slot(k, 1) for k in kinds))
        finally:
            g.Drawing.render = real
        if every:
            return q, caught
        return q, caught[0] if caught else None


class DrawingRules(unittest.TestCase):
    def _crossing(self, label):
        d = g.Drawing()
        d.point("O", (0, 0), at="free")
        for name, h in (("A", 0), ("C", 88), ("B", 180), ("D", 268)):
            d.point(name, g._dir(h))
        d.seg("A", "B")
        d.seg("C", "D")
        d.angle("O", "A", "C", label)
        return d

    def test_an_unknown_that_looks_square_is_refused(self):
        with self.assertRaises(ValueError):
            self._crossing("x").render()
        self.assertIn("88\u00b0", self._crossing("88\u00b0").render())

    def test_a_point_name_goes_in_an_unmarked_gap(self):
        d = self._crossing("88\u00b0")
        d.angle("O", "C", "B", "92\u00b0")
        heading, gap = d._free_heading("O")
        self.assertTrue(180 < heading % 360 < 360, heading)      # below AB, where nothing is marked
        self.assertAlmostEqual(gap, 92)        # the wider of the two unmarked gaps, D to A

    def test_choices_come_from_the_slips(self):
        wrong = [(130, "line"), (310, "point"), (50, "the key itself"), (400, "past a turn"), (25, "half"),
                 (130, "again"), (143, "borrow", True), (147, "digits", True)]
        seen_sums = 0
        for seed in range(40):
            part = g.angle_choice(random.Random(seed), 50, wrong)
            self.assertEqual(part.options[int(part.key) - 1], "50\u00b0")
            shown = dict(zip(part.options, part.slips))
            self.assertEqual(len(shown), 4)
            self.assertNotIn("400\u00b0", shown)
            self.assertEqual(shown.get("130\u00b0", "line"), "line")     # the first slip for 130
            # Slips in the method come first; one in the arithmetic only now and then.
            sums = [o for o in ("143\u00b0", "147\u00b0") if o in shown]
            self.assertLessEqual(len(sums), 1)
            seen_sums += len(sums)
        self.assertTrue(0 < seen_sums < 40)
        # Arithmetic slips fill in when the method gives too few; too few in all is no question.
        part = g.angle_choice(random.Random(1), 50, [(130, "line"), (143, "borrow", True),
                                                     (147, "digits", True)])
        self.assertEqual(sorted(part.options), ["130\u00b0", "143\u00b0", "147\u00b0", "50\u00b0"])
        with self.assertRaises(ValueError):
            g.angle_choice(random.Random(1), 50, [(130, "line"), (50, "key"), (0, "none")])


class PagesAgreeWithKeys(unittest.TestCase):
    def test_parallel_and_perpendicular_from_the_drawn_figure(self):
        for seed in range(30):
            try:
                q = g.parallel_perpendicular(random.Random(seed), 1, (shape.Slot("Q", 1),))
            except ValueError:
                continue
            svg = q.figures[0].svg
            pts = [tuple(float(t) for t in xy.split(","))
                   for xy in re.search(r'<polygon points="([^"]+)"', svg)[1].split()]
            names = re.findall(r'font-weight="bold">(\w)</text>', svg)
            where = dict(zip(names, pts))
            part = q.parts[0]
            pair = re.fullmatch(r"(\w\w) and (\w\w)", part.options[int(part.key) - 1])
            u = g.vec(where[pair[1][0]], where[pair[1][1]])
            v = g.vec(where[pair[2][0]], where[pair[2][1]])
            if "parallel" in part.prompt:
                self.assertAlmostEqual(g.cross(u, v), 0, places=6)
            else:
                self.assertAlmostEqual(g.dot(u, v), 0, places=6)

    def test_squares_to_shade_counted_from_the_grid(self):
        for seed in range(20):
            q = g.symmetry_complete(random.Random(seed), 2, (shape.Slot("N", 1),))
            cells = re.findall(r'<rect x="([\d.]+)" y="([\d.]+)" width="30" height="30" '
                               r'stroke="#000" fill="([^"]+)"', q.figures[0].svg)
            shaded = {(round((float(y) - 10) / 30), round((float(x) - 10) / 30))
                      for x, y, fill in cells if fill != "#fff"}
            # Count by hand: each shaded square whose mirror square is white.
            missing = sum(1 for r, c in shaded if (r, 7 - c) not in shaded)
            self.assertEqual(int(q.parts[0].key), missing)

    def test_opposite_face_from_the_drawn_net(self):
        for seed in range(20):
            q = g.opposite_face(random.Random(seed), 2, (shape.Slot("Q", 1),))
            svg = q.figures[0].svg
            letters = {(round((float(y) - 10) / 34 - 0.5), round((float(x) - 4) / 34 - 0.5)): t
                       for x, y, t in re.findall(r'<text x="([\d.]+)" y="([\d.]+)"[^>]*>(\w)</text>', svg)}
            cells = set(letters)
            asked = re.search(r"marked (\w)\?", q.parts[0].prompt)[1]
            cell = next(c for c, t in letters.items() if t == asked)
            want = letters[g.opposite_cell(cells, cell)]
            self.assertEqual(q.parts[0].options[int(q.parts[0].key) - 1], want)


class Families(unittest.TestCase):
    def test_every_pattern_and_level_gives_well_formed_questions(self):
        for fam in families_of(6):
            self.assertFalse(fam.placeholder)
            for kinds in fam.kinds:
                for level in fam.levels:
                    made = 0
                    for seed in range(25):
                        slots = tuple(shape.Slot(k, 1) for k in kinds)
                        try:
                            q = fam.make(random.Random(seed), level, slots)
                        except ValueError:
                            continue
                        made += 1
                        self.assertEqual(len(q.parts), len(kinds))
                        for part, kind in zip(q.parts, kinds):
                            self.assertIsNone(key_problem(kind, part.key, part.options),
                                              (fam.name, kinds, level, seed))
                            if kind == "N" and part.unit == g.DEG:
                                self.assertTrue(0 < float(part.key) < 360)
                        html, figures = render(1, q, slots)
                        for svg in figures.values():
                            ET.fromstring(svg)
                        self.assertNotIn("{fig", html)
                    self.assertGreater(made, 5, (fam.name, kinds, level))

    def test_compass_key_is_the_turn_the_page_states(self):
        checked = 0
        for seed in range(40):
            q = g.compass(random.Random(seed), 1, (shape.Slot("Q", 1),))
            m = re.search(r"facing ([a-z-]+)\. \w+ turns (\d+)\u00b0 (clockwise|anticlockwise)",
                          plain(q.text))
            if not m:
                continue                      # told as a fraction of a turn
            part = q.parts[0]
            self.assertEqual(part.options[int(part.key) - 1],
                             g.turn(m[1], int(m[2]), m[3] == "clockwise"))
            checked += 1
        self.assertGreater(checked, 5)

    def test_protractor_key_is_the_drawn_arm(self):
        for seed in range(10):
            q = g.protractor(random.Random(seed), 1, (shape.Slot("N", 1),))
            svg = q.figures[0].svg
            # The two thick arms: the base and QR; QR's heading is the key,
            # measured from whichever end of the base QP points to.
            arms = re.findall(r'<line x1="([\d.]+)" y1="([\d.]+)" x2="([\d.]+)" y2="([\d.]+)" '
                              r'stroke="#000" fill="none" stroke-width="2.4"/>', svg)
            (bx1, by1, bx2, _), (qx, qy, rx, ry) = [[float(t) for t in a] for a in arms]
            base_left = bx1 < qx
            heading = math.degrees(math.atan2(qy - ry, rx - qx))
            drawn = 180 - heading if base_left else heading
            self.assertAlmostEqual(drawn, float(q.parts[0].key), delta=0.2)

    def test_topic_builds_without_placeholder(self):
        papers = build_topic(6)
        self.assertEqual(len(papers), 5)
        for paper in papers:
            self.assertTrue(all(q.family.startswith("geometry.") for q in paper.questions))
            self.assertEqual(len(paper.questions), 30)


if __name__ == "__main__":
    unittest.main()


def solution_lines(q, slots):
    """A worked solution as a pupil reads it, line by line: fractions as
    a/b, each figure as its alternative text."""
    page, _ = render_solution(1, q, slots)
    page = re.sub(r'<span class="sr">.*?</span>', "", page)
    page = re.sub(r'<span class="num"[^>]*>(.*?)</span><span class="den"[^>]*>(.*?)</span>',
                  r"\1/\2", page)
    page = re.sub(r'<img [^>]*alt="([^"]*)"[^>]*>', r"[figure: \1]", page)
    page = re.sub(r"</?(?:p|li|div|ol|ul)\b[^>]*>", "\n", page)
    text = html.unescape(re.sub(r"<[^>]+>", "", page)).replace("\u00a0", " ")
    return [line.strip() for line in text.split("\n") if line.strip()]


def every_draw(seeds=SEEDS):
    """Every family's questions over its patterns and levels, as the figure
    check draws them."""
    for fam in families_of(6):
        for kinds in sorted(fam.kinds):
            for level in fam.levels:
                slots = tuple(shape.Slot(k, 1) for k in kinds)
                for seed in range(seeds):
                    try:
                        q = fam.make(random.Random(f"test:{seed}"), level, slots)
                    except ValueError:
                        continue
                    yield f"{fam.name} {''.join(kinds)} level {level} seed {seed}", fam, slots, q


# One question of each family, its whole worked solution written out and
# its arithmetic checked by hand (the figures' texts included).
WORKED = [
    ('angles-on-line', 'Q', 1, 0, """\
∠x and the 113° angle make up the straight line AOB. Angles on a straight line add up to 180°. So take 113° from 180°.
∠x = 180° − 113° = 67°
[figure: The figure again: a straight line AOB with a line OC from O. Angle COA is marked 113°. Found in the working: angle BOC is 67°.]
∠x and 113° make a straight line, so ∠x = 180° − 113° = 67°.
Answer: (2) 67°
Why not the other options:
(1) 113°: takes ∠x to be equal to the 113° angle; only vertically opposite angles are equal
(3) 247°: takes 113° from 360°, as if the angles were round a point, not on a straight line
(4) 73°: takes the smaller digit from the larger in each column of 180 − 113
"""),
    ('angles-at-point', 'N', 3, 0, """\
Angles at a point add up to 360°. Add the angles you know.
70° + 82° = 152°
Take the sum from 360°.
∠x + ∠x = 360° − 152° = 208°
The two angles marked x are equal, so halve 208°.
∠x = 208° ÷ 2 = 104°
[figure: The figure again: the angles at the point are 104°, 70°, 82° and 104°.]
Answer: 104°
"""),
    ('vertically-opposite', 'NN', 2, 0, """\
(a)
∠y and the 44° angle DOF are vertically opposite, so they are equal.
∠y = 44°
[figure: The figure again: three straight lines AB, CD and EF crossing at O. Angle AOC is marked 51°, angle DOF is marked 44° and angle EOB is marked z. Found in the working: angle COE is 44°.]
Answer (a): 44°
(b)
∠z, ∠y and the 51° angle make up the straight line AB. Angles on a straight line add up to 180°. Add the angles you know (∠y = 44° from (a)).
51° + 44° = 95°
Take the sum from 180°.
∠z = 180° − 95° = 85°
Answer (b): 85°
"""),
    ('triangle', 'Q', 2, 1, """\
The angles of a triangle add up to 180°. Add the angles you know.
71° + 42° = 113°
Take the sum from 180°.
∠ACB = 180° − 113° = 67°
[figure: The figure again: triangle ABC with BC extended to D. Angle BAC is marked 71°, angle CBA is marked 42° and angle DCA is marked x. Found in the working: angle ACB is 67°.]
∠ACB and ∠x make up the straight line BCD. Angles on a straight line add up to 180°.
∠x = 180° − 67° = 113°
∠ACB = 180° − 71° − 42° = 67°, and BCD is a straight line, so ∠x = 180° − 67° = 113°.
Answer: (3) 113°
Why not the other options:
(1) 109°: takes only the 71° angle from 180°
(2) 67°: stops at ∠ACB, the angle inside the triangle
(4) 247°: takes the sum of the two marked angles from 360°
"""),
    ('isosceles', 'N', 3, 0, """\
∠ACB and the 121° angle make up the straight line BCD. Angles on a straight line add up to 180°. So take 121° from 180°.
∠ACB = 180° − 121° = 59°
[figure: The figure again: isosceles triangle ABC with BC extended to D. Angle DCA is marked 121° and angle BAC is marked x. Found in the working: angle ACB is 59°. AB and AC are marked equal.]
AB = AC, so the angles at B and C are equal.
∠ABC = ∠ACB = 59°
The angles of a triangle add up to 180°. Add the angles you know.
59° + 59° = 118°
Take the sum from 180°.
∠x = 180° − 118° = 62°
Answer: 62°
"""),
    ('equilateral', 'N', 2, 0, """\
ABC is equilateral, so each of its angles is 60°.
∠ABD = 60°
[figure: The figure again: equilateral triangle ABC with a line from A to D on BC. Angle BAD is marked 37°. Found in the working: angle ABD is 60°. AB, BC and CA are marked equal.]
The angles of triangle ABD add up to 180°. Add the angles you know.
60° + 37° = 97°
Take the sum from 180°.
∠x = 180° − 97° = 83°
Answer: 83°
"""),
    ('quadrilaterals', 'Q', 2, 0, """\
All the sides of a rhombus are equal, so BA = BC and the angles BAC and BCA are equal. Together they make what is left of 180° in triangle ABC.
∠BAC + ∠BCA = 180° − 66° = 114°
The two angles are equal, so halve.
∠x = 114° ÷ 2 = 57°
[figure: The figure again: rhombus ABCD with the diagonal AC. Angle CBA is marked 66°. Found in the working: angle BAC is 57°. AB, BC, CD and DA are marked equal.]
BA = BC, so the angles at A and C of triangle ABC are equal: ∠x = (180° − 66°) ÷ 2 = 57°.
Answer: (4) 57°
Why not the other options:
(1) 114°: forgets to halve: 114° is the whole angle at A
(2) 66°: takes ∠x to be equal to the 66° angle at B; the equal angles are the two at the ends of AC
(3) 33°: halves the 66° angle at B instead
"""),
    ('rhombus-triangle', 'NNN', 3, 0, """\
(a)
AB and DC are parallel, so the angles at B and C between them add up to 180°.
∠ABC = 180° − 88° = 92°
[figure: The figure again: rhombus ABCD with an equilateral triangle BCE inside it, and the lines AE and DE. Angle BCD is marked 88°. Found in the working: angle ABC is 92°. AB, BC, CD, DA, BE and CE are marked equal.]
BCE is equilateral, so ∠EBC = 60°. ∠ABE is what is left of ∠ABC.
∠ABE = 92° − 60° = 32°
Answer (a): 32°
(b)
BA = BE, because BA = BC (sides of the rhombus) and BC = BE (sides of the equilateral triangle), so the angles BAE and BEA are equal. Together they make what is left of 180° in triangle ABE after ∠ABE.
∠BAE + ∠BEA = 180° − 32° = 148°
The two angles are equal, so halve.
∠BAE = 148° ÷ 2 = 74°
Answer (b): 74°
(c)
BCE is equilateral, so ∠BCE = 60°. ∠DCE is what is left of ∠BCD.
∠DCE = 88° − 60° = 28°
Answer (c): 28°
"""),
    ('parallelogram-line', 'Q', 3, 1, """\
Opposite angles of a parallelogram are equal.
∠BCD = ∠BAD = 78°
[figure: The figure again: parallelogram ABCD with a line from B to E on DC. Angle BAD is marked 78°, angle CBE is marked 28° and angle BEC is marked x. Found in the working: angle BCD is 78°. AB and DC are marked parallel (1 arrow each). AD and BC are marked parallel (2 arrows each).]
The angles of triangle BEC add up to 180°. Add the angles you know, ∠BCE and ∠EBC.
78° + 28° = 106°
Take the sum from 180°.
∠x = 180° − 106° = 74°
∠BCD = ∠BAD = 78°, so in triangle BEC ∠x = 180° − 78° − 28° = 74°.
Answer: (4) 74°
Why not the other options:
(1) 152°: leaves out the 78° angle at C
(2) 86°: takes the smaller digit from the larger in each column of 180 − 106
(3) 106°: finds ∠DEB, the angle on the other side of E
"""),
    ('split-triangle', 'NN', 3, 0, """\
(a)
The angles of triangle ABD add up to 180°. Add the angles you know.
44° + 62° = 106°
Take the sum from 180°.
∠ADB = 180° − 106° = 74°
[figure: The figure again: triangle ABC split by the line AD. Angle DAB is marked 44° and angle DBA is marked 62°. Found in the working: angle ADB is 74°. AD and DC are marked equal.]
Answer (a): 74°
(b)
∠ADB and ∠ADC make up the straight line BC. Angles on a straight line add up to 180°.
∠ADC = 180° − 74° = 106°
AD = DC, so the angles DAC and DCA are equal. Together they make what is left of 180° in triangle ADC after ∠ADC.
∠DAC + ∠DCA = 180° − 106° = 74°
The two angles are equal, so halve.
∠ACD = 74° ÷ 2 = 37°
Answer (b): 37°
"""),
    ('isosceles-pair', 'N', 3, 1, """\
AB = AC, so the angles ABC and ACB are equal. Together they make what is left of 180° in triangle ABC after the 72° angle at A.
∠ABC + ∠ACB = 180° − 72° = 108°
The two angles are equal, so halve.
∠ACB = 108° ÷ 2 = 54°
[figure: The figure again: two isosceles triangles ABC and ACD side by side on the line BD. Angle BAC is marked 72° and angle ADC is marked x. Found in the working: angle ACB is 54°. AB, AC and CD are marked equal.]
∠ACB and ∠ACD make up the straight line BD. Angles on a straight line add up to 180°.
∠ACD = 180° − 54° = 126°
CA = CD, so the angles CAD and CDA are equal. Together they make what is left of 180° in triangle ACD after ∠ACD.
∠CAD + ∠CDA = 180° − 126° = 54°
The two angles are equal, so halve.
∠x = 54° ÷ 2 = 27°
Answer: 27°
"""),
    ('angle-kind', 'Q', 1, 0, """\
Compare the marked angle with a right angle (90°) and a straight line (180°), drawn dashed from QP. Going round from QP the way the arc goes, you reach QR after the right angle but before the straight line.
∠PQR is between 90° and 180°: an obtuse angle
[figure: The angle PQR again, with dashed lines from Q showing a right angle and a straight line from QP.]
An obtuse angle is between 90° and 180°, and so is ∠PQR.
Answer: (3) obtuse angle
Why not the other options:
(1) acute angle: mixes up the names: an acute angle is less than 90°
(2) right angle: takes it for a right angle by eye; a right angle is exactly a quarter turn and is marked with a small square
(4) reflex angle: looks at the angle outside the arms, not the one the arc marks
"""),
    ('protractor', 'Q', 2, 0, """\
QP points to the right, along the 0 on the right of the protractor, so count from that 0: use the inner scale. QR crosses the inner scale at 65. Check: ∠PQR is an acute angle, so 65° and not 115° fits.
∠PQR = 65°
QP lies along the 0 of the inner scale, and QR crosses that scale at 65.
Answer: (2) 65°
Why not the other options:
(1) 55°: counts one 10° mark too few along the inner scale
(3) 115°: reads the outer scale, which counts from 0 on the other side
(4) 75°: counts one 10° mark too many along the inner scale
"""),
    ('parallel-perpendicular', 'Q', 1, 0, """\
Follow each side along the grid, counting squares. KL goes 4 squares right and NO goes 4 squares left.
Both run straight across the grid, so however far they are drawn they never meet.
[figure: The figure again with KL and NO drawn thick and marked parallel.]
KL and NO are parallel: KL goes 4 squares right and NO goes 4 squares left.
Answer: (3) KL and NO
Why not the other options:
(1) KL and MN: takes two sides that face each other across the figure to be parallel without checking the grid: KL goes 4 squares right and MN goes 2 squares left and 2 squares up
(2) LM and NO: takes two sides that face each other across the figure to be parallel without checking the grid: LM goes 2 squares right and 2 squares up and NO goes 4 squares left
(4) LM and MN: mixes up the words: LM and MN meet at a right angle, so they are perpendicular, not parallel
"""),
    ('cube-net', 'Q', 1, 0, """\
Fold each shape in your mind, one square at a time, round a cube. A net puts one square on each of the six faces.
Option 3 folds into a cube. In each of the others, the hatched squares show where folding fails.
[figure: The four shapes again. In option 3, squares that fold onto opposite faces carry the same number, 1, 2 or 3. In each other option the squares that cannot fold are hatched: two that land on one face, or four in a 2 by 2 block.]
Folded, the six squares of option 3 land on six different faces: the squares numbered alike in the figure end up opposite each other.
Answer: (3)
Why not the other options:
(1)  checks only that there are six squares; it has four squares in a 2 by 2 block (hatched), but only three faces of a cube meet at a corner
(2)  checks only that there are six squares; it has four squares in a 2 by 2 block (hatched), but only three faces of a cube meet at a corner
(4)  checks only that there are six squares joined edge to edge; folded, the two hatched squares land on the same face and one face of the cube is left open
"""),
    ('opposite-face', 'Q', 2, 0, """\
Fold the net with G as the bottom face: the squares joined to it fold up as sides, and folding on round brings the last square over the top.
The face opposite G is B.
[figure: The net again with the squares G and B shaded.]
Folded, the four faces that meet G are F, K, R and S; the one face left, B, is opposite G.
Answer: (4) B
Why not the other options:
(1) S: picks S, joined to G along an edge in the net; joined squares fold up side by side, never opposite
(2) R: picks R, which is not joined to G in the net, but folding brings it up beside G, sharing an edge
(3) F: picks F, which is not joined to G in the net, but folding brings it up beside G, sharing an edge
"""),
    ('solids', 'NN', 3, 0, """\
(a)
A hexagonal prism has 6 edges round each of its two ends, and 6 edges joining the ends. One straw makes each edge.
6 + 6 + 6 = 18 edges
Answer (a): 18 straws
(b)
Each of the 18 straws is 18 cm long.
18 × 18 cm = 324 cm
Answer (b): 324
"""),
    ('net-solid', 'Q', 1, 0, """\
Look at the faces of the net: two triangles and three rectangles. Fold it in your mind.
Folded, the three rectangles fold round into a tube with three sides, and the two triangles close its ends: a triangular prism.
Folding this net makes a triangular prism: the three rectangles fold round into a tube with three sides, and the two triangles close its ends.
Answer: (4) triangular prism
Why not the other options:
(1) triangular pyramid: sees the triangles; but a triangular pyramid's net is four triangles and no rectangles
(2) square pyramid: sees the triangles; but a square pyramid's net is a square with four triangles round it
(3) cylinder: sees the tube of rectangles between two ends; but a cylinder's ends are circles
"""),
    ('symmetry-lines', 'Q', 1, 0, """\
A line of symmetry folds the shape onto itself, one half exactly over the other. A rhombus folds onto itself along its two diagonals; folding along a line through the middles of opposite sides does not fit.
2 lines of symmetry
[figure: The rhombus again with its 2 lines of symmetry drawn dashed.]
A rhombus folds onto itself along its two diagonals; folding along a line through the middles of opposite sides does not fit.
Answer: (2) 2
Why not the other options:
(1) 1: finds one fold line and stops looking
(3) 4: takes the lines through the middles of the sides for lines of symmetry too
(4) 0: looks only for fold lines running straight up or straight across the page
"""),
    ('symmetry-complete', 'N', 1, 0, """\
Each shaded square needs its mirror image: the square in the same row, the same number of squares away on the other side of the dashed line. Count the shaded squares on each side.
left of the line: 5; right of the line: 3
Each of the 3 on the right is the image of one on the left. Take them away to find how many squares on the left have no image yet.
5 − 3 = 2
[figure: The grid again with the 2 squares still to shade hatched, each the mirror image of a shaded square.]
Answer: 2 squares
"""),
    ('compass', 'NN', 3, 0, """\
(a)
Each step from one compass point to the next is 45°. Count the steps in 180° and go anticlockwise from S: SE, E, NE and N.
180° ÷ 45° = 4 steps, so Wen faces north
Each step from one compass point to the next is an eighth of a turn, 45°. Going clockwise from N to NW passes NE, E, SE, S, SW, W and NW: 7 steps.
7 × 45° = 315°
[figure: The compass again with an arrow round the centre for each turn: 180° anticlockwise from south and 315° clockwise from north.]
Answer (a): 315°
(b)
Each step from one compass point to the next is an eighth of a turn, 45°. Going anticlockwise from NW to S passes W, SW and S: 3 steps.
3 × 45° = 135°
Answer (b): 135°
"""),
    ('clock', 'Q', 1, 2, """\
The smaller angle is the other way round, from 9 on to 12.
12 − 9 = 3 numbers
The 12 numbers share a whole turn, so from one number to the next is 360° ÷ 12 = 30°. The hands are 3 numbers apart.
3 × 30° = 90°
[figure: The clock again with the smaller angle between its hands marked by an arc.]
The hands are 3 numbers apart, and each number is 30°.
Answer: (2) 90°
Why not the other options:
(1) 120°: counts the 12 as well: one number too many
(3) 54°: takes 6°, the minute hand's turn in a minute, for each number
(4) 270°: gives the larger angle, the long way round
"""),
]


class WorkedSolutions(unittest.TestCase):
    def test_one_solution_of_each_family_word_for_word(self):
        self.assertEqual({"geometry." + case[0] for case in WORKED}, {f.name for f in families_of(6)})
        for name, kinds, level, seed, text in WORKED:
            slots = tuple(shape.Slot(k, 1) for k in kinds)
            q = REGISTRY["geometry." + name].make(random.Random(f"test:{seed}"), level, slots)
            self.assertEqual("\n".join(solution_lines(q, slots)) + "\n", text, name)


class SlipsAndWords(unittest.TestCase):
    def test_subtraction_slips(self):
        # 180 - 47: borrowing for 10 - 7 = 3 and leaving the 8 as it was gives
        # 143; 7 - 0 = 7 and 8 - 4 = 4 taken the wrong way round gives 147.
        self.assertEqual([v for v, *_ in g.sub_slips(180, 47)], [143, 147])
        # 360 - 152: 10 - 2 = 8, 6 - 5 = 1 unpaid: 218; 2 - 0 = 2: 212.
        self.assertEqual([v for v, *_ in g.sub_slips(360, 152)], [218, 212])
        self.assertEqual(g.sub_slips(180, 60), [])          # nothing to borrow: no slip
        self.assertTrue(all(marked for *_, marked in g.sub_slips(180, 47)))

    def test_clock_positions(self):
        self.assertEqual(g.clock_position(90), "12")
        self.assertEqual(g.clock_position(0), "3")
        self.assertEqual(g.clock_position(75), "between 12 and 1")
        self.assertEqual(g.clock_position(165), "between 9 and 10")      # 15 short of 9
        self.assertEqual(g.clock_position(195), "between 8 and 9")       # 15 past 9
        # 80 degrees from 3 o'clock rounds to half past: never onto 12, a right angle away.
        self.assertEqual(g.clock_position(80), "between 12 and 1")

    def test_rows_read_aloud(self):
        self.assertEqual(g.rows_said({(0, 1), (1, 0), (1, 1), (1, 2), (1, 3), (2, 1)}),
                         "row 1: column 2; row 2: columns 1 to 4; row 3: column 2")
        self.assertEqual(g.rows_said({(0, 0), (0, 2), (0, 3)}), "row 1: columns 1, 3 and 4")
        self.assertEqual(g.rows_said({(0, 0), (1, 0)}, {(0, 0): "A", (1, 0): "K"}),
                         "row 1: A in column 1; row 2: K in column 1")

    def test_grid_directions(self):
        self.assertEqual(g._run((4, 0)), "4 squares right")
        self.assertEqual(g._run((-2, 1)), "2 squares left and 1 square up")
        # A side and its reverse run the same way.
        self.assertEqual(g._slope((-4, -2)), g._slope((2, 1)))
        self.assertEqual(g._slope((2, 1)), "1 square up for every 2 squares to the right")
        self.assertEqual(g._slope((0, -3)), "straight up and down the grid")


class SymmetryAndNets(unittest.TestCase):
    def test_lines_of_symmetry_found_from_the_corners(self):
        # However a shape is turned, the fold lines found are the ones it has.
        for name, count in g.SHAPE_SYMMETRY.items():
            for turn in (0, 15, 90, 135):
                t = math.radians(turn)
                pts = [(x * math.cos(t) - y * math.sin(t), x * math.sin(t) + y * math.cos(t))
                       for x, y in g._shape_points(name)]
                self.assertEqual(len(g.symmetry_axes(pts)), count, (name, turn))
        # A square's four: across, up and the two diagonals.
        self.assertEqual([round(a) for a in g.symmetry_axes(g._shape_points("square"))],
                         [0, 45, 90, 135])

    def test_squares_that_land_on_one_face(self):
        cross = Nets.CROSS
        self.assertIsNone(g.clash(cross))
        pairs = g.opposite_pairs(cross)
        # The arms are opposite, and the top is opposite the square under the centre.
        self.assertEqual(pairs[(1, 0)], pairs[(1, 2)])
        self.assertEqual(pairs[(0, 1)], pairs[(2, 1)])
        self.assertEqual(sorted(pairs.values()), [1, 1, 2, 2, 3, 3])
        row = {(0, c) for c in range(5)} | {(1, 0)}
        self.assertEqual(g.clash(row), ((0, 0), (0, 4)))       # the fifth lands on the first
        self.assertIn("5 squares in a row", g.why_not_a_net(row))
        block = {(0, 0), (0, 1), (1, 0), (1, 1), (2, 0), (3, 0)}
        self.assertIn("2 by 2 block", g.why_not_a_net(block))
        # Every shape that is not a net has two squares on one face.
        self.assertTrue(all(g.clash(h) for h in g.NOT_NETS))
        # What the working hatches: the block, the ends of the row, or two
        # squares apart in the shape that fold onto one face.
        self.assertEqual(g.net_fault(block), ("block", {(0, 0), (0, 1), (1, 0), (1, 1)}))
        self.assertEqual(g.net_fault(row), ("row", {(0, 0), (0, 4)}))
        for h in g.NOT_NETS:
            kind, squares = g.net_fault(h)
            if kind == "clash":
                (a, b), (c, d) = sorted(squares)
                self.assertGreater(abs(a - c) + abs(b - d), 1, sorted(h))


ANGLE_FAMILIES = {"angles-on-line", "angles-at-point", "vertically-opposite", "triangle", "isosceles",
                  "equilateral", "quadrilaterals", "rhombus-triangle", "parallelogram-line",
                  "split-triangle", "isosceles-pair"}


def labels(svg):
    return [html.unescape(t) for t in re.findall(r"<text[^>]*>([^<]*)</text>", svg)]


def cells_read(text):
    """The squares a rows_said text names: {(row, column): letter or ""}."""
    out = {}
    for row, said in re.findall(r"row (\d+): ([^;.]+)", text):
        r = int(row) - 1
        for letter, col in re.findall(r"\b([A-Z]) in column (\d+)", said):
            out[(r, int(col) - 1)] = letter
        for a, b in re.findall(r"(\d+) to (\d+)", said):
            out.update({(r, c - 1): "" for c in range(int(a), int(b) + 1)})
        plain_cols = re.sub(r"\d+ to \d+|[A-Z] in column \d+", "", said)
        out.update({(r, int(c) - 1): "" for c in re.findall(r"\d+", plain_cols)})
    return out


def drawn_cells(svg, size, left, top):
    """{(row, column): fill} of the squares of a net or grid drawn at that size."""
    return {(round((float(y) - top) / size), round((float(x) - left) / size)): fill
            for x, y, w, fill in re.findall(r'<rect x="([\d.]+)" y="([\d.]+)" width="([\d.]+)" '
                                             r'height="[\d.]+" stroke="#000" fill="([^"]+)"', svg)
            if abs(float(w) - size) < 0.01}


class WorkingFigures(unittest.TestCase):
    def test_fit_their_frames_as_question_figures_do(self):
        bad, count = [], 0
        for where, fam, slots, q in every_draw():
            for i, step in enumerate(q.solution.steps, 1):
                if step.figure:
                    count += 1
                    bad += [f"{where} step {i}: {p}" for p in figure_problems(step.figure.svg)]
        self.assertEqual(bad, [], "\n".join(bad[:50]))
        self.assertGreater(count, 1000)

    def test_solutions_name_only_what_is_drawn(self):
        for where, fam, slots, q in every_draw(8):
            steps = q.solution.steps
            said = " ".join(s.say + " " + s.work for s in steps) + q.solution.why
            said += " ".join(s for p_ in q.parts for s in (p_.slips or []) if s)
            shown = [s.figure.svg for s in steps if s.figure]
            if fam.name[9:] in ANGLE_FAMILIES:
                drawn = set(labels(q.figures[0].svg))
                for name in re.findall(f"{g.ANGLE}([A-Za-z]+)", said):
                    self.assertTrue(set(name) <= drawn, (where, name))
                self.assertTrue(shown, where)       # the angle found first, marked
            if "hatched" in said:
                self.assertTrue(any("url(#hatch)" in svg for svg in shown), where)
            if "shaded" in said and fam.name == "geometry.opposite-face":
                self.assertTrue(any(g.GREY in svg for svg in shown), where)
            if "drawn thick" in said or "thick" in " ".join(s.figure.alt for s in steps if s.figure):
                self.assertTrue(any('stroke-width="5"' in svg for svg in shown), where)


class AltTexts(unittest.TestCase):
    """A figure's text says what a sighted pupil reads off it, and no more."""

    def test_angle_figures_say_each_marked_angle_and_point(self):
        for where, fam, slots, q in every_draw(10):
            if fam.name[9:] not in ANGLE_FAMILIES:
                continue
            figures = q.figures + [s.figure for s in q.solution.steps if s.figure]
            for f in figures:
                shown = labels(f.svg)
                # The sizes written on the figure, each as often as it is written: the
                # question's figure never gives a size it does not show, so never the answer.
                self.assertEqual(sorted(t for t in shown if t.endswith(g.DEG)),
                                 sorted(re.findall(r"\d+\u00b0", f.alt)), (where, f.alt))
                for t in shown:
                    if len(t) == 1 and t.isupper():
                        self.assertRegex(f.alt, rf"\b[A-Z]*{t}[A-Z]*\b", (where, f.alt))
                    elif t in "xyz":
                        self.assertRegex(f.alt, rf"(?<![\w']){t}(?![\w'])", (where, f.alt))

    def test_clock_hands_point_where_the_text_says(self):
        for where, fam, slots, q in every_draw():
            if fam.name != "geometry.clock" or not q.figures:
                continue
            svg, alt = q.figures[0].svg, q.figures[0].alt
            hour = int(re.search(r"hour hand pointing at (\d+)", alt)[1])
            x1, y1, x2, y2 = map(float, re.search(r'<line x1="([\d.]+)" y1="([\d.]+)" x2="([\d.]+)" '
                                                  r'y2="([\d.]+)" stroke="#000" fill="none" '
                                                  r'stroke-width="5"', svg).groups())
            # Clockwise from 12, as on the face.
            drawn = math.degrees(math.atan2(x2 - x1, y1 - y2)) % 360
            self.assertAlmostEqual(drawn, 30 * hour % 360, delta=0.5)
            self.assertIn("minute hand pointing at 12", alt)

    def test_protractor_text_gives_both_readings(self):
        for where, fam, slots, q in every_draw():
            if fam.name != "geometry.protractor":
                continue
            inner, outer = map(int, re.search(r"inner scale at (\d+) and the outer scale at (\d+)",
                                              q.figures[0].alt).groups())
            self.assertEqual(inner + outer, 180)
            key = q.parts[0].options[int(q.parts[0].key) - 1][:-1] if q.parts[0].options \
                else q.parts[0].key
            side = "outer" if "points to the left" in q.figures[0].alt else "inner"
            self.assertEqual(int(key), inner if side == "inner" else outer, where)

    def test_grid_corners_as_drawn(self):
        for where, fam, slots, q in every_draw():
            if fam.name != "geometry.parallel-perpendicular":
                continue
            svg, alt = q.figures[0].svg, q.figures[0].alt
            rows = (float(re.search(r'height="([\d.]+)"', svg)[1]) - 20) / 34
            said = {k: (int(x), int(y)) for k, x, y in re.findall(r"([A-Z]) \((\d+), (\d+)\)", alt)}
            drawn = [tuple(map(float, xy.split(",")))
                     for xy in re.search(r'<polygon points="([^"]+)"', svg)[1].split()]
            self.assertEqual(len(said), len(drawn))
            for (x, y), (gx, gy) in zip(drawn, said.values()):
                self.assertAlmostEqual(x, 10 + 34 * gx)
                self.assertAlmostEqual(y, 10 + 34 * (rows - gy))

    def test_squares_read_row_by_row_as_drawn(self):
        checked = 0
        for where, fam, slots, q in every_draw():
            if fam.name == "geometry.symmetry-complete":
                f = q.figures[0]
                shaded = {c for c, fill in drawn_cells(f.svg, 30, 10, 10).items() if fill == g.GREY}
                self.assertEqual(set(cells_read(f.alt)), shaded, where)
            elif fam.name in ("geometry.cube-net", "geometry.opposite-face"):
                for f in q.figures:
                    size = float(re.search(r'<rect x="[\d.]+" y="[\d.]+" width="([\d.]+)"', f.svg)[1])
                    cells = drawn_cells(f.svg, size, 4, 4)
                    said = cells_read(f.alt)
                    self.assertEqual(set(said), set(cells), where)
                    letters = {(round((float(y) - 10) / size - 0.5), round((float(x) - 4) / size - 0.5)): t
                               for x, y, t in re.findall(r'<text x="([\d.]+)" y="([\d.]+)"[^>]*>(\w)</text>',
                                                         f.svg)}
                    self.assertEqual({c: t for c, t in said.items() if t}, letters, where)
            else:
                continue
            checked += 1
        self.assertGreater(checked, 100)

    def test_angle_arms_point_where_the_text_says(self):
        spy = FiguresAgreeWithTheirAngles()
        for seed in range(20):
            q, d = spy._drawing(g.angle_kind_question, ("Q",), 1, seed)
            alt = q.figures[0].alt
            heading = {k: math.degrees(math.atan2(d.pts[k][1], d.pts[k][0])) % 360 for k in "PR"}
            self.assertIn(f"QP points to {g.clock_position(heading['P'])} and QR points to "
                          f"{g.clock_position(heading['R'])}.", alt)
            # Half an hour on the clock is 15 degrees: said to the nearest, an arm is
            # never more than 7.5 degrees from where the text puts it.
            for k in "PR":
                said = re.search(rf"Q{k} points to (\d+|between (\d+) and \d+)", alt)
                hour = int(said[2] or said[1]) + (0.5 if said[2] else 0)
                self.assertLessEqual(abs((90 - 30 * hour - heading[k] + 180) % 360 - 180), 7.5)
            self.assertEqual("the long way round" in alt, (heading["R"] - heading["P"]) % 360 > 180)
