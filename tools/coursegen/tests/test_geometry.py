"""Geometry: the solvers against worked examples, the figures against the
angles they are drawn from, and every family against the key rules."""

import math
import random
import re
import unittest
import xml.etree.ElementTree as ET

from coursegen import plan as shape
from coursegen.build import build_topic, plain, render
from coursegen.families import families_of
from coursegen.model import key_problem
from coursegen.topics import geometry as g


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
        # angle drawn there.
        checked = 0
        for fam in families_of(6):
            for kinds in fam.kinds:
                for level in fam.levels:
                    for seed in range(6):
                        try:
                            _, drawing = self._drawing(fam.make, kinds, level, seed)
                        except ValueError:
                            continue
                        if drawing is None:
                            continue
                        for op in drawing.ops:
                            if op[0] == "angle" and op[4].endswith(g.DEG):
                                v, a, b = (drawing._xy(x) for x in op[1:4])
                                want = float(op[4][:-1])
                                got = angle_at(v, a, b)
                                self.assertAlmostEqual(got if not op[5] else 360 - got, want,
                                                       places=5, msg=fam.name)
                                checked += 1
                            if op[0] == "right":
                                v, a, b = (drawing._xy(x) for x in op[1:4])
                                self.assertAlmostEqual(angle_at(v, a, b), 90, places=6)
        self.assertGreater(checked, 100)

    def _drawing(self, make, kinds, level, seed):
        """A family's question and the drawing it made, caught as it renders."""
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

    def test_angle_choice_prefers_the_mistakes(self):
        part = g.angle_choice(random.Random(4), 50, [130, 310, 50, 400, 130])
        self.assertEqual(part.options[int(part.key) - 1], "50\u00b0")
        self.assertEqual(len(set(part.options)), 4)
        self.assertIn("130\u00b0", part.options)
        self.assertIn("310\u00b0", part.options)
        self.assertNotIn("400\u00b0", part.options)


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
