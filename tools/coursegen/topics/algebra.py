"""Topic 10: Algebra, at primary level: expressions in one letter, their
value, simplifying like terms, simple equations and word problems.

An expression is a pair (a, b) standing for a x letter + b; one to be read
as "letter divided by k, plus b" is ("div", k, b). Expressions are only
ever offered as options or evaluated, never typed. Families compute keys
from the values shown with the solvers below, tested against worked
examples in tests/test_algebra.py.
"""

from fractions import Fraction

from ..contexts import COUNTABLES, SHOP_ITEMS, names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, num
from ..svg import GREY, LIGHT, Svg
from ..text import DIV, MINUS, TIMES, frac, listing, money, n, p, unit

TOPIC = 10
LETTERS = ["n", "y", "k", "p", "m", "x", "w"]
# Letters for expressions shown as options: not m, which beside a number
# reads as metres ("option 3 m + 9").
OPTION_LETTERS = ["n", "y", "k", "p", "x", "w"]


# ---------------------------------------------------------------- solvers

def value(expr, x):
    """The value of an expression for letter = x."""
    if expr[0] == "div":
        _, k, b = expr
        return Fraction(x, k) + b
    a, b = expr
    return a * Fraction(x) + b


def collect(terms):
    """Like terms gathered: terms are (coefficient, is_letter) with signs in
    the coefficients. 3n + 2n - n -> (4, 0); 5n + 7 - 2n + 3 -> (3, 10)."""
    a = sum(c for c, letter in terms if letter)
    b = sum(c for c, letter in terms if not letter)
    return a, b


def solve_linear(a, b, rhs):
    """x with a x + b = rhs."""
    x = Fraction(rhs - b, a)
    return x


def solve_div(k, b, rhs):
    """x with x / k + b = rhs."""
    return (Fraction(rhs) - b) * k


def nth_term(first, step, k):
    """Term k of first, first + step, ...: step x k + (first - step)."""
    return step * k + first - step


def term_number(first, step, term):
    """Which term has the value term."""
    k = Fraction(term - first, step) + 1
    if k.denominator != 1 or k < 1:
        raise ValueError("not a term of the pattern")
    return int(k)


# ---------------------------------------------------------------- writing

def var(letter):
    return f"<i>{letter}</i>"


def term(c, letter):
    """c times the letter as it is written: 3n, n."""
    return var(letter) if c == 1 else f"{n(c)}{var(letter)}"


def show(expr, letter="n"):
    """HTML of an expression: 3n + 10, n - 5, 20 - 4k, n / 4 (stacked)."""
    v = var(letter)
    if expr[0] == "div":
        _, k, b = expr
        head = frac(v, k)
    else:
        a, b = expr
        if a == 0:
            return n(b) if b >= 0 else MINUS + n(-b)
        if a < 0:
            if b <= 0:
                raise ValueError("no negative expressions")
            return f"{n(b)} {MINUS} {term(-a, letter)}"
        head = term(a, letter)
    if b > 0:
        return f"{head} + {n(b)}"
    if b < 0:
        return f"{head} {MINUS} {n(-b)}"
    return head


def show_sum(terms, letter="n"):
    """A sum of terms as written before simplifying: 5n + 7 - 2n + 3."""
    out = []
    for i, (c, is_letter) in enumerate(terms):
        body = term(abs(c), letter) if is_letter else n(abs(c))
        if i == 0:
            out.append(body if c > 0 else MINUS + body)
        else:
            out.append(f"{'+' if c > 0 else MINUS} {body}")
    return " ".join(out)


def options(rng, correct, wrong, letter, prompt):
    """A choice of expressions; wrong is a list of (expression, slip). Wrong
    ones that show the same as the right one or as each other are dropped
    before three are taken, so every option differs."""
    right = show(correct, letter)
    shown = []
    for w, slip in wrong:
        try:
            s = show(w, letter)
        except ValueError:
            continue
        if s != right and s not in [x for x, _ in shown]:
            shown.append((s, slip))
    if len(shown) < 3:
        raise ValueError("not enough different wrong expressions")
    # One span per option: the options list lays out its items' children
    # with gaps between them, which would split "3n + 1" at the letter.
    return choice(rng, f"<span>{right}</span>", [(f"<span>{w}</span>", s) for w, s in shown[:3]], prompt=prompt)


def chosen(part):
    """The correct option's HTML of a choice part, for its solution."""
    return part.options[int(part.key) - 1]


# ---------------------------------------------------------------- pictures

def sticks_figure(kind, shown=3):
    """The first figures of a matchstick pattern: 'squares' (3k + 1 sticks),
    'triangles' (2k + 1), 'ladder' (two rows of squares, 5k + 2),
    'diagonals' (squares each crossed once, 4k + 1) or 'houses' (squares
    with roofs, 5k + 1)."""
    side = 28
    widths = [k * side if kind != "triangles" else (k + 1) * side / 2 for k in range(1, shown + 1)]
    tall = kind in ("ladder", "houses")
    svg = Svg(int(sum(widths) + 60 * shown + 20), 130 if tall else 110, font=14)
    x = 24
    for k, w in zip(range(1, shown + 1), widths):
        top = 20
        if kind in ("squares", "diagonals", "houses"):
            y = top + (26 if kind == "houses" else 10)
            for i in range(k):
                svg.rect(x + i * side, y, side, side, width=3)
                if kind == "diagonals":
                    svg.line(x + i * side, y + side, x + (i + 1) * side, y, width=3)
                if kind == "houses":
                    svg.polyline([(x + i * side, y), (x + i * side + side / 2, y - 22), (x + (i + 1) * side, y)],
                                 width=3)
        elif kind == "ladder":
            for r in range(2):
                for i in range(k):
                    svg.rect(x + i * side, top + r * side, side, side, width=3)
        else:
            for i in range(k):
                xa = x + i * side / 2
                if i % 2 == 0:
                    svg.polygon([(xa, top + 34), (xa + side / 2, top + 8), (xa + side, top + 34)], width=3)
                else:
                    svg.polygon([(xa, top + 8), (xa + side, top + 8), (xa + side / 2, top + 34)], width=3)
        svg.text(x + w / 2, 118 if tall else 98, f"Figure {k}")
        x += w + 60
    return svg.render()


STICKS = {"squares": (4, 3), "triangles": (3, 2), "ladder": (7, 5),   # first figure, step
          "diagonals": (5, 4), "houses": (6, 5)}


def rectangle_figure(length_label, width_label, length, width):
    """A rectangle drawn in proportion to length x width, sides labelled."""
    scale = min(300 / length, 150 / width)
    w, h = length * scale, width * scale
    svg = Svg(w + 150, h + 70, font=15)
    x0, y0 = 90, 20
    svg.rect(x0, y0, w, h, fill=LIGHT, width=2.5)
    svg.text(x0 + w / 2, y0 + h + 26, length_label)
    svg.text(x0 - 10, y0 + h / 2 + 5, width_label, anchor="end")
    return svg.render()


def triangle_figure(side_label, base_label, side, base):
    """An isosceles triangle with two equal sides and a base, in proportion."""
    scale = 220 / max(side, base)
    b = base * scale
    s = side * scale
    hgt = max((s * s - (b / 2) ** 2), 1) ** 0.5
    svg = Svg(b + 200, hgt + 70, font=15)
    x0, y0 = 100, hgt + 24
    apex = (x0 + b / 2, y0 - hgt)
    svg.polygon([(x0, y0), (x0 + b, y0), apex], fill=LIGHT, width=2.5)
    svg.text(x0 + b / 2, y0 + 24, base_label)
    svg.text((x0 + apex[0]) / 2 - 16, (y0 + apex[1]) / 2, side_label, anchor="end")
    svg.text((x0 + b + apex[0]) / 2 + 16, (y0 + apex[1]) / 2, side_label, anchor="start")
    # Equal sides are marked with a tick each.
    for (ax, ay), (bx, by) in (((x0, y0), apex), ((x0 + b, y0), apex)):
        mx, my = (ax + bx) / 2, (ay + by) / 2
        dx, dy = bx - ax, by - ay
        ln = (dx * dx + dy * dy) ** 0.5
        nx, ny = -dy / ln * 6, dx / ln * 6
        svg.line(mx - nx, my - ny, mx + nx, my + ny, width=2)
    return svg.render()


def balance_figure(boxes, left_mass, right_mass, letter):
    """A balanced scale: boxes of mass letter and a mass on the left pan,
    one mass on the right."""
    svg = Svg(520, 170, font=15)
    svg.polygon([(240, 160), (280, 160), (260, 34)], fill=GREY, width=2)
    svg.line(70, 34, 450, 34, width=4)
    for cx in (130, 390):
        # A pan hung from the beam's end by two strings.
        svg.line(cx, 34, cx - 95, 118, width=1.3)
        svg.line(cx, 34, cx + 95, 118, width=1.3)
        svg.line(cx - 100, 118, cx + 100, 118, width=3)
    x = 130 - (boxes * 34 + (50 if left_mass else 0)) / 2
    for i in range(boxes):
        svg.rect(x, 86, 30, 30, fill="#fff", width=2)
        svg.text(x + 15, 107, letter, italic=True)
        x += 34
    if left_mass:
        svg.rect(x + 2, 90, 46, 26, fill=LIGHT, width=2)
        svg.text(x + 25, 109, f"{left_mass} kg", size=13)
    svg.rect(358, 86, 64, 30, fill=LIGHT, width=2)
    svg.text(390, 107, f"{right_mass} kg", size=13)
    return svg.render()


# ---------------------------------------------------------------- families

def _other_item(item):
    """A second thing bought with item, never one whose name it shares
    (a bag with a bag of rice would read as the same thing)."""
    return "basket" if "bag" in item else "bag"


def _choice_question(rng, text, right, wrong, letter, prompt, steps, why, figures=()):
    part = options(rng, right, wrong, letter, prompt)
    return Question(text, [part], list(figures), solution=Solution(steps, [chosen(part)], why=why))


@family("algebra.write-expression", TOPIC, ["Q"], levels=(1, 2, 3))
def write_expression(rng, level, slots):
    a, b = names(rng, 2)
    letter = rng.choice(OPTION_LETTERS)
    v = var(letter)
    sing, plur = rng.choice(COUNTABLES)
    if level == 1:
        k = rng.randint(3, 12)
        how = rng.choice(["more", "fewer", "times", "share"])
        ask = f"How many {plur} does {b} have?"
        if how == "more":
            text = p(f"{a} has {v} {plur}. {b} has {k} more {plur} than {a}.")
            right = (1, k)
            wrong = [((1, -k), f"takes {k} away, but {b} has more, not fewer"),
                     ((k, 0), f"multiplies by {k} instead of adding {k}"),
                     (("div", k, 0), f"divides by {k} instead of adding {k}")]
            step = Step(f"{b} has {k} more than {a}, so add {k} to {a}\u2019s {v}.", show(right, letter))
        elif how == "fewer":
            text = p(f"{a} has {v} {plur}. {b} has {k} fewer {plur} than {a}.")
            right = (1, -k)
            wrong = [((1, k), f"adds {k}, but {b} has fewer, not more"),
                     ((-1, k), f"takes {v} away from {k} instead of {k} away from {v}"),
                     (("div", k, 0), f"divides by {k} instead of taking {k} away")]
            step = Step(f"{b} has {k} fewer than {a}, so take {k} away from {a}\u2019s {v}.", show(right, letter))
        elif how == "times":
            text = p(f"{a} has {v} {plur}. {b} has {k} times as many {plur} as {a}.")
            right = (k, 0)
            wrong = [((1, k), f"adds {k} instead of multiplying by {k}"),
                     (("div", k, 0), f"divides by {k} instead of multiplying by {k}"),
                     ((1, -k), f"takes {k} away instead of multiplying by {k}")]
            step = Step(f"{k} times as many as {v} is {k} {TIMES} {v}, written without the {TIMES} sign.",
                        f"{k} {TIMES} {v} = {show(right, letter)}")
        else:
            text = p(f"{a} has {v} {plur}. {pronoun(a).capitalize()} shares them equally among {k} friends.")
            ask = "How many does each friend get?"
            right = ("div", k, 0)
            wrong = [((k, 0), f"multiplies by {k} instead of dividing by {k}"),
                     ((1, -k), f"takes {k} away instead of sharing among {k}"),
                     ((-1, k), f"takes {v} away from {k} instead of dividing {v} by {k}")]
            step = Step(f"Sharing {v} equally among {k} friends means dividing {v} by {k}, written as a fraction.",
                        f"{v} {DIV} {k} = {show(right, letter)}")
        why = f"{show(right, letter)} is {b}\u2019s number of {plur} written with {a}\u2019s {v}." \
            if how != "share" else f"Each friend gets {v} {DIV} {k}, which is {show(right, letter)}."
        return _choice_question(rng, text, right, wrong, letter, ask, [step], why)
    if level == 2:
        (s1, p1, _) = rng.choice(SHOP_ITEMS)
        more = rng.randint(2, 9)
        count = rng.randint(2, 5)
        bag = _other_item(s1)
        text = p(f"A {s1} costs ${v}. A {bag} costs ${more} more than a {s1}.",
                 f"{a} buys {count} {p1} and one {bag}.")
        # count x letter for the items and letter + more for the bag.
        right = (count + 1, more)
        wrong = [((count, more), f"counts only the ${more} extra for the {bag}, not the ${v} it costs as well"),
                 ((count + 1, 0), f"leaves out the ${more} the {bag} costs on top of ${v}"),
                 ((count + 1, more * count), f"adds ${more} for every {s1} as well as for the {bag}"),
                 ((count, more * count), f"adds ${more} to each {s1} and leaves out the {bag}")]
        steps = [Step(f"The {count} {p1} cost {count} {TIMES} {v} dollars.", f"{count} {TIMES} {v} = {term(count, letter)}"),
                 Step(f"The {bag} costs ${more} more than a {s1}.", f"{v} + {more}"),
                 Step(f"Add the two costs and put the {v} terms together.",
                      f"{term(count, letter)} + {v} + {more} = {show(right, letter)}")]
        why = f"{show(right, letter)} dollars is the cost of the {count} {p1} and the {bag} together."
        return _choice_question(rng, text, right, wrong, letter, f"How much does {a} pay, in dollars?", steps, why)
    k = rng.randint(2, 5)
    d = rng.randint(3, 15)
    c = rng.choice([x for x in names(rng, 4) if x not in (a, b)])
    text = p(f"{a} has {v} {plur}. {b} has {k} times as many {plur} as {a}.",
             f"{c} has {d} fewer {plur} than {b}.")
    right = (1 + 2 * k, -d)
    wrong = [((1 + 2 * k, d), f"adds {d}, but {c} has {d} fewer, not more"),
             ((1 + k, -d), f"leaves out {b}\u2019s {term(k, letter)}"),
             ((2 * k, -d), f"leaves out {a}\u2019s own {v}"),
             ((k + 2, -d), f"takes {c}\u2019s {plur} as {d} fewer than {a}\u2019s instead of {b}\u2019s")]
    steps = [Step(f"{b} has {k} times as many as {a}.", f"{k} {TIMES} {v} = {term(k, letter)}"),
             Step(f"{c} has {d} fewer than {b}.", f"{term(k, letter)} {MINUS} {d}"),
             Step(f"Add the three amounts and put the {v} terms together.",
                  f"{v} + {term(k, letter)} + {term(k, letter)} {MINUS} {d} = {show(right, letter)}")]
    why = f"{show(right, letter)} is {a}\u2019s, {b}\u2019s and {c}\u2019s {plur} added together."
    return _choice_question(rng, text, right, wrong, letter,
                            f"How many {plur} do the three children have altogether?", steps, why)


def _grouped(terms, letter):
    """Like terms side by side, each with its sign: letter terms first."""
    return show_sum(sorted(terms, key=lambda t: not t[1]), letter)


@family("algebra.simplify", TOPIC, ["Q"], levels=(1, 2, 3))
def simplify(rng, level, slots):
    letter = rng.choice(OPTION_LETTERS)
    v = var(letter)
    if level == 1:
        c1, c2, c3 = rng.randint(2, 9), rng.randint(2, 9), rng.randint(1, 5)
        terms = [(c1, True), (c2, True), (-c3, True)]
        a, _ = collect(terms)
        right_s = show((a, 0), letter)
        # Adding every term, forgetting the last, and dropping the letter.
        bad = [(show((c1 + c2 + c3, 0), letter), f"treats {MINUS} {term(c3, letter)} as + {term(c3, letter)}"),
               (show((c1 + c2, 0), letter), f"leaves out the {MINUS} {term(c3, letter)}"),
               (n(a), f"drops the letter: {right_s} means {a} {TIMES} {v}")]
        bad = [(x, s) for x, s in bad if x != right_s]
        part = choice(rng, f"<span>{right_s}</span>", [(f"<span>{x}</span>", s) for x, s in bad[:3]],
                      prompt=f"Simplify {show_sum(terms, letter)}.")
        step = Step(f"All three terms are {v} terms, so work out the numbers in front of them, from left to right.",
                    f"{c1} + {c2} {MINUS} {c3} = {a}, so {show_sum(terms, letter)} = {right_s}")
        return Question("", [part], solution=Solution([step], [chosen(part)],
                                                        why=f"{show_sum(terms, letter)} is {a} lots of {v}."))
    if level == 2:
        a1, b1, a2, b2 = rng.randint(3, 9), rng.randint(2, 12), rng.randint(1, 5), rng.randint(2, 9)
        if a2 >= a1:
            raise ValueError("letter terms would cancel")
        terms = [(a1, True), (b1, False), (-a2, True), (b2, False)]
        right = collect(terms)
        wrong = [((a1 + a2, b1 + b2), f"treats {MINUS} {term(a2, letter)} as + {term(a2, letter)}"),
                 ((a1 - a2, b1 - b2), f"takes away {b2} as well, but the minus sign in front of {term(a2, letter)} "
                                      f"belongs to {term(a2, letter)} only"),
                 ((a1 - a2 + b1 + b2, 0), f"adds the numbers to the {v} terms, but numbers and {v} terms are not "
                                          "like terms"),
                 ((a1 + a2, b1 - b2), f"swaps the signs in front of {term(a2, letter)} and {b2}")]
    else:
        a1, b1, a2, b2, a3 = (rng.randint(4, 9), rng.randint(8, 20), rng.randint(1, 3), rng.randint(2, 7),
                              rng.randint(1, 4))
        terms = [(a1, True), (b1, False), (-a2, True), (-b2, False), (a3, True)]
        right = collect(terms)
        wrong = [((a1 - a2 - a3, b1 - b2), f"takes away the + {term(a3, letter)} at the end as well, but only "
                                           f"{MINUS} {term(a2, letter)} has a minus sign in front of it"),
                 ((a1 + a2 + a3, b1 - b2), f"treats {MINUS} {term(a2, letter)} as + {term(a2, letter)}"),
                 ((a1 - a2 + a3, b1 + b2), f"treats {MINUS} {b2} as + {b2}"),
                 ((a1 + a3, b1 - b2), f"leaves out the {MINUS} {term(a2, letter)}")]
    letters = [c for c, is_letter in terms if is_letter]
    numbers = [c for c, is_letter in terms if not is_letter]

    def worked(cs):
        return " ".join(("" if i == 0 else ("+ " if c > 0 else f"{MINUS} ")) + str(abs(c)) for i, c in enumerate(cs))
    steps = [Step(f"Put the like terms together, each with the sign in front of it: the {v} terms first, "
                  "then the numbers.", f"{show_sum(terms, letter)} = {_grouped(terms, letter)}"),
             Step("Work out each group.", f"{worked(letters)} = {right[0]} and {worked(numbers)} = {right[1]}, "
                                          f"so the answer is {show(right, letter)}")]
    why = f"The {v} terms make {term(right[0], letter)} and the numbers make {right[1]}."
    return _choice_question(rng, "", right, wrong, letter, f"Simplify {show_sum(terms, letter)}.", steps, why)


@family("algebra.evaluate", TOPIC, ["N"], levels=(1, 2, 3))
def evaluate(rng, level, slots):
    letter = rng.choice(LETTERS)
    v = var(letter)
    x = rng.randint(2, 12)
    if level == 1:
        if rng.random() < 0.5:
            expr = (rng.randint(2, 9), rng.randint(1, 20))
            a, b = expr
            steps = [Step(f"Put {x} in place of {v}. {term(a, letter)} means {a} {TIMES} {v}, so multiply first.",
                          f"{a} {TIMES} {x} = {a * x}"),
                     Step(f"Then add {b}.", f"{a * x} + {b} = {a * x + b}")]
        else:
            k = rng.choice([2, 3, 4, 5])
            x = k * rng.randint(2, 10)
            expr = ("div", k, rng.randint(1, 15))
            b = expr[2]
            steps = [Step(f"Put {x} in place of {v}. {frac(v, k)} means {v} {DIV} {k}, so divide first.",
                          f"{x} {DIV} {k} = {x // k}"),
                     Step(f"Then add {b}.", f"{x // k} + {b} = {x // k + b}")]
        return Question(p(f"Find the value of {show(expr, letter)} when {v} = {x}."),
                        [Part(key=num(value(expr, x)))], solution=Solution(steps, [value(expr, x)]))
    if level == 2:
        a = rng.randint(3, 9)
        if rng.random() < 0.5:
            expr = (a, -rng.randint(1, a * x - 1))
            b = -expr[1]
            steps = [Step(f"Put {x} in place of {v}. {term(a, letter)} means {a} {TIMES} {v}, so multiply first.",
                          f"{a} {TIMES} {x} = {a * x}"),
                     Step(f"Then take away {b}.", f"{a * x} {MINUS} {b} = {a * x - b}")]
            return Question(p(f"Find the value of {show(expr, letter)} when {v} = {x}."),
                            [Part(key=num(value(expr, x)))], solution=Solution(steps, [value(expr, x)]))
        c = rng.randint(2, 6)
        expr_text = f"({v} + {c}) {TIMES} {a}"
        steps = [Step(f"Put {x} in place of {v} and work out the bracket first.", f"{x} + {c} = {x + c}"),
                 Step(f"Then multiply by {a}.", f"{x + c} {TIMES} {a} = {(x + c) * a}")]
        return Question(p(f"Find the value of {expr_text} when {v} = {x}."),
                        [Part(key=num(value((a, a * c), x)))], solution=Solution(steps, [(x + c) * a]))
    k = rng.choice([3, 4, 5, 6])
    while True:
        a, b = rng.randint(2, 9), rng.randint(1, 20)
        if (a * x + b) % k == 0:
            break
    expr_text = f"({term(a, letter)} + {b}) {DIV} {k}"
    inner = a * x + b
    steps = [Step(f"Put {x} in place of {v}. Work out the bracket first; inside it, multiply first.",
                  f"{a} {TIMES} {x} = {a * x}"),
             Step(f"Then add {b} to finish the bracket.", f"{a * x} + {b} = {inner}"),
             Step(f"Divide by {k}.", f"{inner} {DIV} {k} = {inner // k}")]
    # The bracket first, then the division.
    return Question(p(f"Find the value of {expr_text} when {v} = {x}."),
                    [Part(key=num(value((a, b), x) / k))], solution=Solution(steps, [inner // k]))


@family("algebra.solve", TOPIC, ["N"], levels=(1, 2, 3))
def solve(rng, level, slots):
    letter = rng.choice(LETTERS)
    v = var(letter)
    x = rng.randint(2, 15)
    if level == 1:
        form = rng.choice(["add", "sub", "mul", "div"])
        k = rng.randint(3, 20)
        if form == "add":
            eq, key = f"{v} + {k} = {x + k}", solve_linear(1, k, x + k)
            step = Step(f"Take {k} away from both sides.", f"{v} = {x + k} {MINUS} {k} = {key}")
        elif form == "sub":
            eq, key = f"{v} {MINUS} {k} = {x}", solve_linear(1, -k, x)
            step = Step(f"Add {k} to both sides.", f"{v} = {x} + {k} = {key}")
        elif form == "mul":
            k = rng.randint(3, 9)
            eq, key = f"{k}{v} = {k * x}", solve_linear(k, 0, k * x)
            step = Step(f"{k}{v} means {k} {TIMES} {v}. Divide both sides by {k}.", f"{v} = {k * x} {DIV} {k} = {key}")
        else:
            k = rng.randint(2, 6)
            eq, key = f"{v} {DIV} {k} = {x}", solve_div(k, 0, x)
            step = Step(f"Multiply both sides by {k}.", f"{v} = {x} {TIMES} {k} = {key}")
        return Question(p(f"Solve the equation {eq}.", f"What is the value of {v}?"), [Part(key=num(key))],
                        solution=Solution([step], [key]))
    if level == 2:
        a = rng.randint(2, 9)
        if rng.random() < 0.6:
            b = rng.randint(1, 20)
            eq, key = f"{a}{v} + {b} = {a * x + b}", solve_linear(a, b, a * x + b)
            first = Step(f"Take {b} away from both sides.", f"{a}{v} = {a * x + b} {MINUS} {b} = {a * x}")
        else:
            b = rng.randint(1, a * x - 1)
            eq, key = f"{a}{v} {MINUS} {b} = {a * x - b}", solve_linear(a, -b, a * x - b)
            first = Step(f"Add {b} to both sides.", f"{a}{v} = {a * x - b} + {b} = {a * x}")
        steps = [first, Step(f"Divide both sides by {a}.", f"{v} = {a * x} {DIV} {a} = {key}")]
        return Question(p(f"Solve the equation {eq}.", f"What is the value of {v}?"), [Part(key=num(key))],
                        solution=Solution(steps, [key]))
    a1, a2, b = rng.randint(3, 8), rng.randint(1, 2), rng.randint(2, 15)
    terms = [(a1, True), (-b, False), (-a2, True)] if rng.random() < 0.5 else [(a1, True), (a2, True), (-b, False)]
    a, c = collect(terms)
    rhs = a * x + c
    if rhs <= 0:
        raise ValueError("negative side")
    key = solve_linear(a, c, rhs)
    steps = [Step(f"Put the {v} terms together.", f"{show_sum(terms, letter)} = {show((a, c), letter)}"),
             Step(f"The equation is now {show((a, c), letter)} = {rhs}. Add {-c} to both sides.",
                  f"{term(a, letter)} = {rhs} + {-c} = {rhs - c}")]
    if a > 1:
        steps.append(Step(f"Divide both sides by {a}.", f"{v} = {rhs - c} {DIV} {a} = {key}"))
    return Question(p(f"Solve the equation {show_sum(terms, letter)} = {rhs}.", f"What is the value of {v}?"),
                    [Part(key=num(key))], solution=Solution(steps, [key]))


@family("algebra.word-problem", TOPIC, ["N"], levels=(2, 3))
def word_problem(rng, level, slots):
    a, b = names(rng, 2)
    nv = var("n")
    if level == 2:
        m, add, x = rng.randint(3, 9), rng.randint(2, 20), rng.randint(4, 20)
        if rng.random() < 0.5:
            text = p(f"{a} thinks of a number. {pronoun(a).capitalize()} multiplies it by {m} and then adds {add}.",
                     f"The answer is {m * x + add}. What number did {pronoun(a)} think of?")
            steps = [Step(f"Work backwards from {m * x + add}. Undo \u201cadd {add}\u201d by taking {add} away.",
                          f"{m * x + add} {MINUS} {add} = {m * x}"),
                     Step(f"Undo \u201cmultiply by {m}\u201d by dividing by {m}.", f"{m * x} {DIV} {m} = {x}")]
            return Question(text, [Part(key=num(solve_linear(m, add, m * x + add)))], solution=Solution(steps, [x]))
        text = p(f"{a} thinks of a number. {pronoun(a).capitalize()} divides it by {m} and then subtracts {add}.",
                 f"The answer is {x}. What number did {pronoun(a)} think of?")
        key = solve_div(m, -add, x)
        steps = [Step(f"Work backwards from {x}. Undo \u201csubtract {add}\u201d by adding {add}.",
                      f"{x} + {add} = {x + add}"),
                 Step(f"Undo \u201cdivide by {m}\u201d by multiplying by {m}.", f"{x + add} {TIMES} {m} = {key}")]
        return Question(text, [Part(key=num(key))], solution=Solution(steps, [key]))
    kind = rng.choice(["times", "consecutive", "cost"])
    if kind == "times":
        sing, plur = rng.choice(COUNTABLES)
        k, x = rng.randint(2, 6), rng.randint(8, 40)
        more = rng.randint(0, 12)
        told = (f"{b} has {more} {sing if more == 1 else plur} more than {k} times the number {a} has." if more
                else f"{b} has {k} times as many {plur} as {a}.")
        total = (k + 1) * x + more
        text = p(told, f"Together they have {total} {plur}. How many {plur} does {a} have?")
        theirs = f"{term(k, 'n')} + {more}" if more else term(k, "n")
        steps = [Step(f"Let {a} have {nv} {plur}. Then {b} has {theirs}."),
                 Step(f"Together they have {total}. Put the {nv} terms together.",
                      f"{nv} + {theirs} = {show((k + 1, more))} = {total}")]
        if more:
            steps.append(Step(f"Take {more} away from both sides.",
                              f"{term(k + 1, 'n')} = {total} {MINUS} {more} = {total - more}"))
        steps.append(Step(f"Divide both sides by {k + 1}.", f"{nv} = {total - more} {DIV} {k + 1} = {x}"))
        return Question(text, [Part(key=num(solve_linear(k + 1, more, total)), unit=plur)],
                        solution=Solution(steps, [x]))
    if kind == "consecutive":
        x = rng.randint(8, 60)
        count = rng.choice([3, 4])
        total = sum(range(x, x + count))
        s = sum(range(count))
        # x + (x + 1) + ... is count x + (0 + 1 + ...).
        text = p(f"The sum of {count} consecutive whole numbers is {total}.", "What is the largest of the numbers?")
        numbers = [nv] + [f"{nv} + {i}" for i in range(1, count)]
        steps = [Step(f"Consecutive numbers follow one another. Call the smallest number {nv}; the numbers are "
                      f"{listing(numbers)}."),
                 Step(f"Add them and put the {nv} terms together.",
                      " + ".join(f"({t})" if "+" in t else t for t in numbers) + f" = {show((count, s))} = {total}"),
                 Step(f"Take {s} away from both sides.", f"{term(count, 'n')} = {total} {MINUS} {s} = {total - s}"),
                 Step(f"Divide both sides by {count}.", f"{nv} = {total - s} {DIV} {count} = {x}"),
                 Step(f"The largest number is {nv} + {count - 1}.", f"{x} + {count - 1} = {x + count - 1}")]
        return Question(text, [Part(key=num(solve_linear(count, s, total) + count - 1))],
                        solution=Solution(steps, [x + count - 1]))
    (s1, p1, (lo, hi)) = rng.choice(SHOP_ITEMS)
    price, more = rng.randint(lo, hi), rng.randint(2, 9)
    c1, c2 = rng.randint(2, 5), rng.randint(1, 3)
    total = c1 * price + c2 * (price + more)
    pv = var("p")
    boxes = f"lunch box{'es' if c2 > 1 else ''}"
    text = p(f"A {s1} costs ${pv}. A lunch box costs ${more} more than a {s1}.",
             f"{a} paid {money(total)} for {c1} {p1} and {c2} {boxes}.",
             f"What is the value of {pv}?")
    first = (Step(f"A lunch box costs {pv} + {more} dollars, so the {c2} {boxes} cost {c2} lots of {pv} + {more}: "
                  f"that is {term(c2, 'p')} and {c2} {TIMES} {more} more.",
                  f"{c2} {TIMES} ({pv} + {more}) = {term(c2, 'p')} + {c2 * more}") if c2 > 1 else
             Step(f"A lunch box costs {more} dollars more than a {s1}.", f"{pv} + {more}"))
    steps = [first,
             Step(f"Add the cost of the {c1} {p1} and put the {pv} terms together. This is {money(total)}.",
                  f"{term(c1, 'p')} + {term(c2, 'p')} + {c2 * more} = {show((c1 + c2, c2 * more), 'p')} = {total}"),
             Step(f"Take {c2 * more} away from both sides.",
                  f"{term(c1 + c2, 'p')} = {total} {MINUS} {c2 * more} = {total - c2 * more}"),
             Step(f"Divide both sides by {c1 + c2}.", f"{pv} = {total - c2 * more} {DIV} {c1 + c2} = {price}")]
    return Question(text, [Part(key=num(solve_linear(c1 + c2, c2 * more, total)))],
                    solution=Solution(steps, [price]))


def _rule_steps(first, step, letter, noun, counted):
    """Finding the rule of a pattern that grows by step from first: the
    step, then the fixed number added to step x letter. noun names a place
    in the pattern ("Figure", "term number"); counted says what is read."""
    v = var(letter)
    rule = show((step, first - step), letter)
    return rule, [
        Step(f"{counted} {first}, {first + step} and {first + 2 * step}. Each is {step} more than the one before.",
             f"{first + step} {MINUS} {first} = {step}"),
        Step(f"So the rule is {step} {TIMES} {v} and a fixed number more. For {noun} 1, {step} {TIMES} 1 = {step} "
             f"and {first} {MINUS} {step} = {first - step}, so the fixed number is {first - step}.", rule)]


def _pattern_slips(first, step, letter, noun):
    v = var(letter)
    plus = (f"that fits {noun} 1 only" if 1 + step == first
            else f"that gives {1 + step} for {noun} 1, not {first}")
    return [((first, 0), f"multiplies {first} by {v}: that gives {2 * first} for {noun} 2, not {first + step}"),
            ((1, step), f"adds {step} to {v} instead of multiplying {v} by {step}: {plus}"),
            ((step, first), f"adds {first}, the number for {noun} 1, instead of {first - step}: that gives "
                            f"{step + first} for {noun} 1"),
            ((first - step, step), f"swaps the two numbers: that gives {2 * (first - step) + step} for {noun} 2, "
                                   f"not {first + step}")]


@family("algebra.pattern", TOPIC, ["N", "Q"], levels=(2, 3))
def pattern(rng, level, slots):
    kind = rng.choice(sorted(STICKS))
    first, step = STICKS[kind]
    word = {"squares": "squares in a row", "triangles": "triangles in a row",
            "ladder": "two rows of squares", "diagonals": "squares in a row, each with a diagonal,",
            "houses": "houses in a row"}[kind]
    fig = Figure(sticks_figure(kind),
                 f"Figures 1, 2 and 3 of a pattern of {word} made of sticks: "
                 f"{first}, {first + step} and {first + 2 * step} sticks")
    text = p(f"A pattern of {word} is made with sticks. The first three figures are shown.") + "<p class=\"figure-row\">{fig1}</p>"
    letter = rng.choice(["n", "k", "p"]) if slots[0].kind == "Q" else "n"
    rule, steps = _rule_steps(first, step, letter, "Figure", "Count the sticks in Figures 1, 2 and 3: there are")
    if slots[0].kind == "Q":
        right = (step, first - step)
        wrong = _pattern_slips(first, step, letter, "Figure")
        why = f"{rule} gives {first}, {first + step} and {first + 2 * step} sticks for Figures 1, 2 and 3."
        return _choice_question(rng, text, right, wrong, letter,
                                f"Which expression gives the number of sticks in Figure {var(letter)}?",
                                steps, why, [fig])
    if level == 2:
        k = rng.choice([10, 12, 15, 20, 25, 30])
        key = nth_term(first, step, k)
        steps.append(Step(f"Put {k} in place of {var('n')}.", f"{step} {TIMES} {k} + {first - step} = {key}"))
        return Question(text, [Part(key=num(key), unit="sticks",
                                    prompt=f"How many sticks are needed for Figure {k}?")], [fig],
                        solution=Solution(steps, [key]))
    sticks = nth_term(first, step, rng.randint(12, 40))
    k = term_number(first, step, sticks)
    steps += [Step(f"Figure {var('n')} has {sticks} sticks: {rule} = {sticks}. Take {first - step} away from "
                   "both sides.", f"{term(step, 'n')} = {sticks} {MINUS} {first - step} = {sticks - first + step}"),
              Step(f"Divide both sides by {step}.", f"{var('n')} = {sticks - first + step} {DIV} {step} = {k}")]
    return Question(text, [Part(key=num(k),
                                prompt=f"Which figure is made with {sticks} sticks? Give its figure number.")], [fig],
                    solution=Solution(steps, [k]))


@family("algebra.number-pattern", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def number_pattern(rng, level, slots):
    step = rng.randint(2, 9)
    first = rng.randint(step, step + 12)     # so the nth term is step x n plus a whole number
    if first == step:
        first += 1
    terms = [nth_term(first, step, k) for k in range(1, 5)]
    rows = [[str(k) for k in range(1, 5)] + ["\u2026", "<i>n</i>"],
            [str(t) for t in terms] + ["\u2026", "?"]]
    card = ('<table class="data"><tr><th>Term number</th>' + "".join(f"<td>{c}</td>" for c in rows[0])
            + "</tr><tr><th>Term</th>" + "".join(f"<td>{c}</td>" for c in rows[1]) + "</tr></table>")
    text = p("The table shows a number pattern.") + card
    rule, steps = _rule_steps(first, step, "n", "term number", "Read the first terms from the table: they are")
    if slots[0].kind == "Q":
        right = (step, first - step)
        wrong = _pattern_slips(first, step, "n", "term number")
        wrong[3] = ((step + 1, first - step - 1), f"finds a rule that fits term number 1 only: it gives "
                                                  f"{2 * (step + 1) + first - step - 1} for term number 2, not {first + step}")
        why = f"{rule} gives {', '.join(map(str, terms[:3]))} and {terms[3]} for term numbers 1 to 4."
        return _choice_question(rng, text, right, wrong, "n",
                                "Which expression gives the term for term number <i>n</i>?", steps, why)
    if level == 1:
        k = rng.choice([6, 7, 8])
        more = [nth_term(first, step, j) for j in range(5, k + 1)]
        say = (f"The terms go up by {step} each time ({terms[1]} {MINUS} {terms[0]} = {step}). Keep adding "
               f"{step} from term 4 to term {k}.")
        work = ", ".join(f"{t} + {step} = {t + step}" for t in [terms[3]] + more[:-1])
        return Question(text + p(f"What is term number {k}?"), [Part(key=num(more[-1]))],
                        solution=Solution([Step(say, work)], [more[-1]]))
    k = rng.choice([10, 15, 20, 25, 50, 100])
    key = nth_term(first, step, k)
    steps.append(Step(f"Put {k} in place of {var('n')}.", f"{step} {TIMES} {k} + {first - step} = {key}"))
    return Question(text + p(f"What is term number {k}?"), [Part(key=num(key))], solution=Solution(steps, [key]))


@family("algebra.perimeter", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def perimeter(rng, level, slots):
    letter = rng.choice(["y", "x", "w", "k"])
    v = var(letter)
    shape = rng.choice(["rectangle", "triangle"])
    extra = rng.randint(2, 9)
    x = rng.randint(3, 12)
    if shape == "rectangle":
        # The length is extra cm more than the width; drawn for the width x.
        fig = Figure(rectangle_figure(f"({letter} + {extra}) cm", f"{letter} cm", x + extra, x),
                     f"A rectangle, {letter} + {extra} cm long and {letter} cm wide")
        text = p(f"The rectangle below is ({v} + {extra}) cm long and {v} cm wide.") + "<p class=\"figure-row\">{fig1}</p>"
        right = (4, 2 * extra)
        wrong = [((2, extra), "adds one length and one width only: that is half the perimeter"),
                 ((4, extra), f"adds the {extra} only once, but there are two lengths"),
                 ((2, 2 * extra), "adds the two lengths and leaves out the two widths"),
                 ((3, extra), "adds only three sides: one length is missing")]
        sides = f"({v} + {extra}) + {v} + ({v} + {extra}) + {v}"
        add_sides = Step("The perimeter is the distance all the way round: two lengths and two widths.", sides)
        collect_step = Step(f"Put the {v} terms together and the numbers together.", f"{sides} = {show(right, letter)}")
    else:
        base = extra + 4
        fig = Figure(triangle_figure(f"{letter} cm", unit(base, "cm"), x + 3, base),
                     f"A triangle with two sides of {letter} cm and a base of {base} cm")
        text = p(f"The triangle below has two sides of {v} cm each and a base of {unit(base, 'cm')}.") + "<p class=\"figure-row\">{fig1}</p>"
        x = x + 3
        right = (2, base)
        wrong = [((1, base), "counts only one of the two equal sides"),
                 ((2, 2 * base), "counts the base twice"),
                 ((3, base), f"counts three sides of {v}, but the base is {unit(base, 'cm')}"),
                 ((2 + base, 0), f"adds the number to the {v} terms, but they are not like terms")]
        sides = f"{v} + {v} + {base}"
        add_sides = Step("The perimeter is the distance all the way round: add the three sides.", sides)
        collect_step = Step(f"Put the {v} terms together.", f"{sides} = {show(right, letter)}")
    if slots[0].kind == "Q":
        why = f"{show(right, letter)} is the sum of all the sides of the {shape}."
        return _choice_question(rng, text, right, wrong, letter, "Which expression gives its perimeter in cm?",
                                [add_sides, collect_step], why, [fig])
    if level < 3:
        per = value(right, x)
        if shape == "rectangle":
            steps = [Step(f"Put {x} in place of {v} to find the length.", f"{x} + {extra} = {unit(x + extra, 'cm')}"),
                     Step("Add the two lengths and the two widths.",
                          f"{x + extra} + {x} + {x + extra} + {x} = {unit(per, 'cm')}")]
        else:
            steps = [Step(f"Add the three sides, putting {x} in place of {v}.", f"{x} + {x} + {base} = {unit(per, 'cm')}")]
        return Question(text + p(f"Find its perimeter when {v} = {x}."),
                        [Part(key=num(per), unit="cm")], [fig], solution=Solution(steps, [per]))
    per = value(right, x)
    a, b = right
    steps = [Step(add_sides.say + f" Put the {v} terms together.", f"{sides} = {show(right, letter)}"),
             Step(f"The perimeter is {unit(per, 'cm')}, so {show(right, letter)} = {per}. Take {b} away from both sides.",
                  f"{term(a, letter)} = {per} {MINUS} {b} = {per - b}"),
             Step(f"Divide both sides by {a}.", f"{v} = {per - b} {DIV} {a} = {x}")]
    return Question(text + p(f"Its perimeter is {unit(n(per), 'cm')}. What is the value of {v}?"),
                    [Part(key=num(solve_linear(right[0], right[1], per)))], [fig], solution=Solution(steps, [x]))


@family("algebra.total-cost", TOPIC, ["Q", "N"], levels=(2, 3))
def total_cost(rng, level, slots):
    buyer = names(rng, 1)[0]
    (s1, p1, (lo, hi)) = rng.choice(SHOP_ITEMS)
    letter = rng.choice(["k", "p", "c"])
    v = var(letter)
    count = rng.randint(2, 6)
    price = rng.randint(lo, hi)
    # A note that pays for the dearest such shopping, bag included, with change.
    note = min(x for x in (20, 50, 100, 150, 200) if x > (count + 1) * hi + 10)
    text = p(f"A {s1} costs ${v}. {buyer} buys {count} {p1} and pays with {money(note)}.")
    right = (-count, note)
    cost = Step(f"The {count} {p1} cost {count} {TIMES} {v} dollars.", f"{count} {TIMES} {v} = {term(count, letter)}")
    if slots[0].kind == "Q":
        ask = f"How much change, in dollars, does {buyer} receive?"
        if level == 3:
            more = rng.randint(2, 9)
            bag = _other_item(s1)
            text = p(f"A {s1} costs ${v}. A {bag} costs ${more} more than a {s1}.",
                     f"{buyer} buys {count} {p1} and a {bag}, and pays with {money(note)}.")
            right = (-(count + 1), note - more)
            wrong = [((-(count + 1), note + more), f"adds the ${more} instead of taking it away with the rest of the cost"),
                     ((-count, note - more), f"counts only the ${more} extra for the {bag}, not the ${v} it costs as well"),
                     ((count + 1, note - more), "adds the cost to the note instead of taking it away"),
                     ((-(count + 1), note), f"leaves out the ${more} the {bag} costs on top of ${v}")]
            steps = [cost, Step(f"The {bag} costs ${more} more than a {s1}.", f"{v} + {more}"),
                     Step(f"Add the costs and put the {v} terms together.",
                          f"{term(count, letter)} + {v} + {more} = {show((count + 1, more), letter)}"),
                     Step(f"The change is {money(note)} take away all of the cost: take away "
                          f"{term(count + 1, letter)} and take away {more}.",
                          f"{note} {MINUS} {term(count + 1, letter)} {MINUS} {more} = {show(right, letter)}")]
            why = f"{show(right, letter)} dollars is {money(note)} less the cost of the {p1} and the {bag}."
            return _choice_question(rng, text, right, wrong, letter, ask, steps, why)
        wrong = [((count, -note), "takes the note away from the cost: the change is the note take away the cost"),
                 ((-1, note), f"takes away the price of one {s1} only"),
                 ((-1, note - count), f"takes away {count} and {v} instead of {count} {TIMES} {v}"),
                 ((count, note), "adds the cost to the note instead of taking it away")]
        steps = [cost, Step(f"The change is {money(note)} take away the cost.", f"{note} {MINUS} {term(count, letter)}")]
        why = f"{show(right, letter)} dollars is {money(note)} less the cost of the {count} {p1}."
        return _choice_question(rng, text, right, wrong, letter, ask, steps, why)
    if level == 2:
        change = value(right, price)
        steps = [Step(f"The {count} {p1} cost {count} {TIMES} {money(price)}.", f"{count} {TIMES} {price} = {count * price}"),
                 Step(f"The change is {money(note)} take away the cost.", f"{note} {MINUS} {count * price} = {change}")]
        return Question(text + p(f"How much change does {pronoun(buyer)} receive when {v} = {price}?"),
                        [Part(key=num(change), unit_before="$")], solution=Solution(steps, [change]))
    change = value(right, price)
    steps = [Step(f"The {count} {p1} cost {term(count, letter)} dollars, and the change is {money(note)} take away "
                  "the cost.", f"{note} {MINUS} {term(count, letter)} = {change}"),
             Step(f"So the cost, {term(count, letter)}, is {money(note)} take away the change.",
                  f"{term(count, letter)} = {note} {MINUS} {change} = {note - change}"),
             Step(f"Divide both sides by {count}.", f"{v} = {note - change} {DIV} {count} = {price}")]
    return Question(text + p(f"{pronoun(buyer).capitalize()} receives {money(change)} in change. "
                             f"What is the value of {v}?"),
                    [Part(key=num(solve_linear(count, 0, note - change)))], solution=Solution(steps, [price]))


@family("algebra.balance", TOPIC, ["N"], levels=(1, 2))
def balance(rng, level, slots):
    letter = rng.choice(["n", "y", "m"])
    v = var(letter)
    x = rng.randint(2, 12)
    boxes = 1 if level == 1 else rng.randint(2, 4)
    extra = rng.randint(1, 9)
    right = boxes * x + extra
    plural = "es" if boxes > 1 else ""
    fig = Figure(balance_figure(boxes, extra, right, letter),
                 f"A balance: {boxes} box{plural} of {letter} kg and {extra} kg "
                 f"on the left, {right} kg on the right")
    text = (p(f"Each box has a mass of {v} kg. The scale below is balanced.") + "<p class=\"figure-row\">{fig1}</p>"
            + p(f"What is the value of {v}?"))
    taken = Figure(balance_figure(boxes, 0, right - extra, letter),
                   f"The balance with {extra} kg taken off both pans: {boxes} box{plural} of {letter} kg on the "
                   f"left, {right - extra} kg on the right")
    off = Step(f"Take {unit(extra, 'kg')} off both pans: the scale stays balanced.",
               f"{term(boxes, letter)} = {right} {MINUS} {extra} = {right - extra}", figure=taken)
    steps = [off]
    if boxes > 1:
        steps.append(Step(f"The {boxes} boxes have the same mass, so divide by {boxes}.",
                          f"{v} = {right - extra} {DIV} {boxes} = {x}"))
    return Question(text, [Part(key=num(solve_linear(boxes, extra, right)))], [fig], solution=Solution(steps, [x]))


@family("algebra.ages", TOPIC, ["Q", "N"], levels=(2, 3))
def ages(rng, level, slots):
    child = names(rng, 1)[0]
    his = "her" if pronoun(child) == "she" else "his"
    letter = rng.choice(["y", "t", "n"])
    v = var(letter)
    adult = rng.choice(["mother", "father", "aunt", "uncle"])
    later = rng.randint(2, 9)
    in_time = f"in {unit(later, 'years')}\u2019 time"
    if level == 2:
        gap = rng.randint(22, 38)
        text = p(f"{child} is {v} years old. {his.capitalize()} {adult} is {unit(gap, 'years')} older than {child}.")
        if slots[0].kind == "Q":
            right = (1, gap + later)
            wrong = [((1, gap), f"leaves out the {unit(later, 'years')} still to come"),
                     ((1, gap - later), f"takes the {unit(later, 'years')} away instead of adding them"),
                     ((gap, later), f"multiplies {v} by {gap} instead of adding {gap}"),
                     ((gap + later, 0), f"multiplies {v} by {gap} + {later} instead of adding")]
            steps = [Step(f"{his.capitalize()} {adult} is {unit(gap, 'years')} older than {child}.", f"{v} + {gap}"),
                     Step(f"{his.capitalize()} {adult} will be {unit(later, 'years')} older {in_time}.",
                          f"{v} + {gap} + {later} = {show(right, letter)}")]
            why = f"{show(right, letter)} is {his} {adult}\u2019s age now, {v} + {gap}, and {later} more."
            return _choice_question(rng, text, right, wrong, letter,
                                    f"How old will {his} {adult} be {in_time}?", steps, why)
        now = rng.randint(6, 12)
        steps = [Step(f"{child} is {now}, so {his} {adult} is {now} + {gap} now.", f"{now} + {gap} = {now + gap}"),
                 Step(f"Add the {unit(later, 'years')} still to come.", f"{now + gap} + {later} = {now + gap + later}")]
        return Question(text + p(f"How old will {his} {adult} be {in_time} if {v} = {now}?"),
                        [Part(key=num(value((1, gap + later), now)), unit="years old")],
                        solution=Solution(steps, [now + gap + later]))
    k = rng.randint(3, 5)
    # Both ages grow by the same number of years: (k + 1) y + 2 x later.
    right = (k + 1, 2 * later)
    text = p(f"{child} is {v} years old. {his.capitalize()} {adult} is {k} times as old as {child}.")
    steps = [Step(f"{in_time.capitalize()}, {child} will be {unit(later, 'years')} older.", f"{v} + {later}"),
             Step(f"{his.capitalize()} {adult} is {term(k, letter)} now and will also be {unit(later, 'years')} older.",
                  f"{term(k, letter)} + {later}"),
             Step("Add the two ages and put like terms together.",
                  f"{v} + {later} + {term(k, letter)} + {later} = {show(right, letter)}")]
    if slots[0].kind == "Q":
        wrong = [((k + 1, later), f"adds the {unit(later, 'years')} once, but both of them grow older"),
                 ((k, 2 * later), f"leaves out {child}\u2019s own age, {v}"),
                 ((k + 1, (k + 1) * later), f"multiplies the {unit(later, 'years')} by {k + 1}, as if the years "
                                            "grew like the ages")]
        why = f"{show(right, letter)} adds {child}\u2019s age and {his} {adult}\u2019s age {in_time}."
        return _choice_question(rng, text, right, wrong, letter,
                                f"What will the sum of their ages be {in_time}?", steps, why)
    now = rng.randint(6, 12)
    total = value(right, now)
    steps[-1].work += f" = {total}"
    steps += [Step(f"Take {2 * later} away from both sides.",
                   f"{term(k + 1, letter)} = {total} {MINUS} {2 * later} = {total - 2 * later}"),
              Step(f"Divide both sides by {k + 1}.", f"{v} = {total - 2 * later} {DIV} {k + 1} = {now}")]
    return Question(text + p(f"{in_time.capitalize()}, the sum of their ages will be {n(total)}.",
                             f"How old is {child} now?"),
                    [Part(key=num(solve_linear(k + 1, 2 * later, total)), unit="years old")],
                    solution=Solution(steps, [now]))
