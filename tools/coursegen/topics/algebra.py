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
from ..model import Figure, Part, Question, num
from ..svg import GREY, LIGHT, Svg
from ..text import money, n, p, table

TOPIC = 10
LETTERS = ["n", "y", "k", "p", "m", "x", "w"]
MINUS = "\u2212"


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

def show(expr, letter="n"):
    """HTML of an expression: 3n + 10, n - 5, 20 - 4k, n / 4 (stacked)."""
    v = f"<i>{letter}</i>"
    if expr[0] == "div":
        _, k, b = expr
        head = (f'<span class="frac"><span class="num">{v}</span>'
                f'<span class="den">{k}</span></span>')
    else:
        a, b = expr
        if a == 0:
            return n(b) if b >= 0 else MINUS + n(-b)
        if a < 0:
            if b <= 0:
                raise ValueError("no negative expressions")
            return f"{n(b)} {MINUS} {'' if a == -1 else n(-a)}{v}"
        head = v if a == 1 else f"{n(a)}{v}"
    if b > 0:
        return f"{head} + {n(b)}"
    if b < 0:
        return f"{head} {MINUS} {n(-b)}"
    return head


def show_sum(terms, letter="n"):
    """A sum of terms as written before simplifying: 5n + 7 - 2n + 3."""
    out = []
    for i, (c, is_letter) in enumerate(terms):
        body = (f"<i>{letter}</i>" if abs(c) == 1 else f"{n(abs(c))}<i>{letter}</i>") if is_letter else n(abs(c))
        if i == 0:
            out.append(body if c > 0 else MINUS + body)
        else:
            out.append(f"{'+' if c > 0 else MINUS} {body}")
    return " ".join(out)


def options(rng, correct, wrong, letter, prompt):
    """A choice of expressions; wrong ones equal to the right one are dropped
    before three are taken, so every option differs."""
    right = show(correct, letter)
    shown = []
    for w in wrong:
        try:
            s = show(w, letter)
        except ValueError:
            continue
        if s != right and s not in shown:
            shown.append(s)
    if len(shown) < 3:
        raise ValueError("not enough different wrong expressions")
    # One span per option: the options list lays out its items' children
    # with gaps between them, which would split "3n + 1" at the letter.
    return choice(rng, f"<span>{right}</span>", [f"<span>{w}</span>" for w in shown[:3]], prompt=prompt)


def var(letter):
    return f"<i>{letter}</i>"


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


@family("algebra.write-expression", TOPIC, ["Q"], levels=(1, 2, 3))
def write_expression(rng, level, slots):
    a, b = names(rng, 2)
    letter = rng.choice(LETTERS)
    v = var(letter)
    sing, plur = rng.choice(COUNTABLES)
    if level == 1:
        k = rng.randint(3, 12)
        how = rng.choice(["more", "fewer", "times", "share"])
        if how == "more":
            text = p(f"{a} has {v} {plur}. {b} has {k} more {plur} than {a}.")
            ask, right, wrong = f"How many {plur} does {b} have?", (1, k), [(1, -k), (k, 0), ("div", k, 0)]
        elif how == "fewer":
            text = p(f"{a} has {v} {plur}. {b} has {k} fewer {plur} than {a}.")
            ask, right, wrong = f"How many {plur} does {b} have?", (1, -k), [(1, k), (-1, k), ("div", k, 0)]
        elif how == "times":
            text = p(f"{a} has {v} {plur}. {b} has {k} times as many {plur} as {a}.")
            ask, right, wrong = f"How many {plur} does {b} have?", (k, 0), [(1, k), ("div", k, 0), (1, -k)]
        else:
            text = p(f"{a} has {v} {plur}. {pronoun(a).capitalize()} shares them equally among {k} friends.")
            ask, right, wrong = "How many does each friend get?", ("div", k, 0), [(k, 0), (1, -k), (-1, k)]
        return Question(text, [options(rng, right, wrong, letter, ask)])
    if level == 2:
        (s1, p1, _) = rng.choice(SHOP_ITEMS)
        more = rng.randint(2, 9)
        count = rng.randint(2, 5)
        bag = _other_item(s1)
        text = p(f"A {s1} costs ${v}. A {bag} costs ${more} more than a {s1}.",
                 f"{a} buys {count} {p1} and one {bag}.")
        # count x letter for the items and letter + more for the bag.
        right = (count + 1, more)
        wrong = [(count, more), (count + 1, 0), (count + 1, more * count), (count, more * count)]
        return Question(text, [options(rng, right, wrong, letter, f"How much does {a} pay, in dollars?")])
    k = rng.randint(2, 5)
    d = rng.randint(3, 15)
    c = rng.choice([x for x in names(rng, 4) if x not in (a, b)])
    text = p(f"{a} has {v} {plur}. {b} has {k} times as many {plur} as {a}.",
             f"{c} has {d} fewer {plur} than {b}.")
    right = (1 + 2 * k, -d)
    wrong = [(1 + 2 * k, d), (1 + k, -d), (2 * k, -d), (k + 2, -d)]
    return Question(text, [options(rng, right, wrong, letter,
                                   f"How many {plur} do the three children have altogether?")])


@family("algebra.simplify", TOPIC, ["Q"], levels=(1, 2, 3))
def simplify(rng, level, slots):
    letter = rng.choice(LETTERS)
    if level == 1:
        c1, c2, c3 = rng.randint(2, 9), rng.randint(2, 9), rng.randint(1, 5)
        terms = [(c1, True), (c2, True), (-c3, True)]
        a, _ = collect(terms)
        right_s = show((a, 0), letter)
        # Adding every term, forgetting the last, and dropping the letter.
        bad = [show((c1 + c2 + c3, 0), letter), show((c1 + c2, 0), letter), n(a)]
        bad = [x for x in dict.fromkeys(bad) if x != right_s]
        part = choice(rng, f"<span>{right_s}</span>", [f"<span>{b}</span>" for b in bad[:3]],
                      prompt=f"Simplify {show_sum(terms, letter)}.")
        return Question("", [part])
    if level == 2:
        a1, b1, a2, b2 = rng.randint(3, 9), rng.randint(2, 12), rng.randint(1, 5), rng.randint(2, 9)
        if a2 >= a1:
            raise ValueError("letter terms would cancel")
        terms = [(a1, True), (b1, False), (-a2, True), (b2, False)]
        right = collect(terms)
        wrong = [(a1 + a2, b1 + b2), (a1 - a2, b1 - b2), (a1 - a2, b1 + b2 + 1), (a1 + a2, b1 - b2)]
        return Question("", [options(rng, right, wrong, letter, f"Simplify {show_sum(terms, letter)}.")])
    a1, b1, a2, b2, a3 = rng.randint(4, 9), rng.randint(8, 20), rng.randint(1, 3), rng.randint(2, 7), rng.randint(1, 4)
    terms = [(a1, True), (b1, False), (-a2, True), (-b2, False), (a3, True)]
    right = collect(terms)
    wrong = [(a1 - a2 - a3, b1 - b2), (a1 + a2 + a3, b1 - b2), (a1 - a2 + a3, b1 + b2), (a1 + a3, b1 - b2)]
    return Question("", [options(rng, right, wrong, letter, f"Simplify {show_sum(terms, letter)}.")])


@family("algebra.evaluate", TOPIC, ["N"], levels=(1, 2, 3))
def evaluate(rng, level, slots):
    letter = rng.choice(LETTERS)
    x = rng.randint(2, 12)
    if level == 1:
        if rng.random() < 0.5:
            expr = (rng.randint(2, 9), rng.randint(1, 20))
        else:
            k = rng.choice([2, 3, 4, 5])
            x = k * rng.randint(2, 10)
            expr = ("div", k, rng.randint(1, 15))
        return Question(p(f"Find the value of {show(expr, letter)} when {var(letter)} = {x}."),
                        [Part(key=num(value(expr, x)))])
    if level == 2:
        a = rng.randint(3, 9)
        if rng.random() < 0.5:
            expr = (a, -rng.randint(1, a * x - 1))
            return Question(p(f"Find the value of {show(expr, letter)} when {var(letter)} = {x}."),
                            [Part(key=num(value(expr, x)))])
        c = rng.randint(2, 6)
        expr_text = f"({var(letter)} + {c}) \u00d7 {a}"
        return Question(p(f"Find the value of {expr_text} when {var(letter)} = {x}."),
                        [Part(key=num(value((a, a * c), x)))])
    k = rng.choice([3, 4, 5, 6])
    while True:
        a, b = rng.randint(2, 9), rng.randint(1, 20)
        if (a * x + b) % k == 0:
            break
    expr_text = f"({n(a)}{var(letter)} + {b}) \u00f7 {k}"
    # The bracket first, then the division.
    return Question(p(f"Find the value of {expr_text} when {var(letter)} = {x}."),
                    [Part(key=num(value((a, b), x) / k))])


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
        elif form == "sub":
            eq, key = f"{v} {MINUS} {k} = {x}", solve_linear(1, -k, x)
        elif form == "mul":
            k = rng.randint(3, 9)
            eq, key = f"{k}{v} = {k * x}", solve_linear(k, 0, k * x)
        else:
            k = rng.randint(2, 6)
            eq, key = f"{v} \u00f7 {k} = {x}", solve_div(k, 0, x)
        return Question(p(f"Solve the equation {eq}.", f"What is the value of {v}?"), [Part(key=num(key))])
    if level == 2:
        a = rng.randint(2, 9)
        if rng.random() < 0.6:
            b = rng.randint(1, 20)
            eq, key = f"{a}{v} + {b} = {a * x + b}", solve_linear(a, b, a * x + b)
        else:
            b = rng.randint(1, a * x - 1)
            eq, key = f"{a}{v} {MINUS} {b} = {a * x - b}", solve_linear(a, -b, a * x - b)
        return Question(p(f"Solve the equation {eq}.", f"What is the value of {v}?"), [Part(key=num(key))])
    a1, a2, b = rng.randint(3, 8), rng.randint(1, 2), rng.randint(2, 15)
    terms = [(a1, True), (-b, False), (-a2, True)] if rng.random() < 0.5 else [(a1, True), (a2, True), (-b, False)]
    a, c = collect(terms)
    rhs = a * x + c
    if rhs <= 0:
        raise ValueError("negative side")
    return Question(p(f"Solve the equation {show_sum(terms, letter)} = {rhs}.", f"What is the value of {v}?"),
                    [Part(key=num(solve_linear(a, c, rhs)))])


@family("algebra.word-problem", TOPIC, ["N"], levels=(2, 3))
def word_problem(rng, level, slots):
    a, b = names(rng, 2)
    if level == 2:
        m, add, x = rng.randint(3, 9), rng.randint(2, 20), rng.randint(4, 20)
        if rng.random() < 0.5:
            text = p(f"{a} thinks of a number. {pronoun(a).capitalize()} multiplies it by {m} and then adds {add}.",
                     f"The answer is {m * x + add}. What number did {pronoun(a)} think of?")
            return Question(text, [Part(key=num(solve_linear(m, add, m * x + add)))])
        text = p(f"{a} thinks of a number. {pronoun(a).capitalize()} divides it by {m} and then subtracts {add}.",
                 f"The answer is {x}. What number did {pronoun(a)} think of?")
        return Question(text, [Part(key=num(solve_div(m, -add, x)))])
    kind = rng.choice(["times", "consecutive", "cost"])
    if kind == "times":
        sing, plur = rng.choice(COUNTABLES)
        k, x = rng.randint(2, 6), rng.randint(8, 40)
        more = rng.randint(0, 12)
        told = (f"{b} has {more} {sing if more == 1 else plur} more than {k} times the number {a} has." if more
                else f"{b} has {k} times as many {plur} as {a}.")
        text = p(told,
                 f"Together they have {(k + 1) * x + more} {plur}. How many {plur} does {a} have?")
        return Question(text, [Part(key=num(solve_linear(k + 1, more, (k + 1) * x + more)), unit=plur)])
    if kind == "consecutive":
        x = rng.randint(8, 60)
        count = rng.choice([3, 4])
        total = sum(range(x, x + count))
        # x + (x + 1) + ... is count x + (0 + 1 + ...).
        text = p(f"The sum of {count} consecutive whole numbers is {total}.", "What is the largest of the numbers?")
        return Question(text, [Part(key=num(solve_linear(count, sum(range(count)), total) + count - 1))])
    (s1, p1, (lo, hi)) = rng.choice(SHOP_ITEMS)
    price, more = rng.randint(lo, hi), rng.randint(2, 9)
    c1, c2 = rng.randint(2, 5), rng.randint(1, 3)
    total = c1 * price + c2 * (price + more)
    text = p(f"A {s1} costs $<i>p</i>. A lunch box costs ${more} more than a {s1}.",
             f"{a} paid {money(total)} for {c1} {p1} and {c2} lunch box{'es' if c2 > 1 else ''}.",
             "What is the value of <i>p</i>?")
    return Question(text, [Part(key=num(solve_linear(c1 + c2, c2 * more, total)))])


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
    if slots[0].kind == "Q":
        letter = rng.choice(["n", "k", "m", "p"])
        right = (step, first - step)
        wrong = [(first, 0), (1, step), (step, first), (first - step, step)]
        return Question(text, [options(rng, right, wrong, letter,
                                       f"Which expression gives the number of sticks in Figure {var(letter)}?")],
                        [fig])
    if level == 2:
        k = rng.choice([10, 12, 15, 20, 25, 30])
        return Question(text, [Part(key=num(nth_term(first, step, k)), unit="sticks",
                                    prompt=f"How many sticks are needed for Figure {k}?")], [fig])
    sticks = nth_term(first, step, rng.randint(12, 40))
    return Question(text, [Part(key=num(term_number(first, step, sticks)),
                                prompt=f"Which figure is made with {sticks} sticks? Give its figure number.")], [fig])


@family("algebra.number-pattern", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def number_pattern(rng, level, slots):
    step = rng.randint(2, 9)
    first = rng.randint(step, step + 12)     # so the nth term is step x n plus a whole number
    if first == step:
        first += 1
    rows = [[str(k) for k in range(1, 5)] + ["\u2026", "<i>n</i>"],
            [str(nth_term(first, step, k)) for k in range(1, 5)] + ["\u2026", "?"]]
    card = ('<table class="data"><tr><th>Term number</th>' + "".join(f"<td>{c}</td>" for c in rows[0])
            + "</tr><tr><th>Term</th>" + "".join(f"<td>{c}</td>" for c in rows[1]) + "</tr></table>")
    text = p("The table shows a number pattern.") + card
    if slots[0].kind == "Q":
        right = (step, first - step)
        wrong = [(first, 0), (1, step), (step, first), (step + 1, first - step - 1)]
        return Question(text, [options(rng, right, wrong, "n",
                                       "Which expression gives the term for term number <i>n</i>?")])
    k = rng.choice([10, 15, 20, 25, 50, 100]) if level > 1 else rng.choice([6, 7, 8])
    return Question(text + p(f"What is term number {k}?"), [Part(key=num(nth_term(first, step, k)))])


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
        wrong = [(2, extra), (4, extra), (2, 2 * extra), (3, extra)]
    else:
        base = extra + 4
        fig = Figure(triangle_figure(f"{letter} cm", f"{base} cm", x + 3, base),
                     f"A triangle with two sides of {letter} cm and a base of {base} cm")
        text = p(f"The triangle below has two sides of {v} cm each and a base of {base} cm.") + "<p class=\"figure-row\">{fig1}</p>"
        x = x + 3
        right = (2, base)
        wrong = [(1, base), (2, 2 * base), (3, base), (2 + base, 0)]
    if slots[0].kind == "Q":
        return Question(text, [options(rng, right, wrong, letter, "Which expression gives its perimeter in cm?")],
                        [fig])
    if level < 3:
        return Question(text + p(f"Find its perimeter when {v} = {x}."),
                        [Part(key=num(value(right, x)), unit="cm")], [fig])
    per = value(right, x)
    return Question(text + p(f"Its perimeter is {n(per)} cm. What is the value of {v}?"),
                    [Part(key=num(solve_linear(right[0], right[1], per)))], [fig])


@family("algebra.total-cost", TOPIC, ["Q", "N"], levels=(2, 3))
def total_cost(rng, level, slots):
    buyer = names(rng, 1)[0]
    (s1, p1, (lo, hi)) = rng.choice(SHOP_ITEMS)
    letter = rng.choice(["k", "p", "m"])
    v = var(letter)
    count = rng.randint(2, 6)
    price = rng.randint(lo, hi)
    # A note that pays for the dearest such shopping, bag included, with change.
    note = min(x for x in (20, 50, 100, 150, 200) if x > (count + 1) * hi + 10)
    text = p(f"A {s1} costs ${v}. {buyer} buys {count} {p1} and pays with {money(note)}.")
    right = (-count, note)
    if slots[0].kind == "Q":
        wrong = [(count, -note), (-1, note), (-count, note - count), (count, note)]
        if level == 3:
            more = rng.randint(2, 9)
            bag = _other_item(s1)
            text = p(f"A {s1} costs ${v}. A {bag} costs ${more} more than a {s1}.",
                     f"{buyer} buys {count} {p1} and a {bag}, and pays with {money(note)}.")
            right = (-(count + 1), note - more)
            wrong = [(-(count + 1), note + more), (-count, note - more), (count + 1, note - more),
                     (-(count + 1), note)]
        return Question(text, [options(rng, right, wrong, letter,
                                       f"How much change, in dollars, does {buyer} receive?")])
    if level == 2:
        return Question(text + p(f"How much change does {pronoun(buyer)} receive when {v} = {price}?"),
                        [Part(key=num(value(right, price)), unit_before="$")])
    change = value(right, price)
    return Question(text + p(f"{pronoun(buyer).capitalize()} receives {money(change)} in change. "
                             f"What is the value of {v}?"),
                    [Part(key=num(solve_linear(count, 0, note - change)))])


@family("algebra.balance", TOPIC, ["N"], levels=(1, 2))
def balance(rng, level, slots):
    letter = rng.choice(["n", "y", "m"])
    x = rng.randint(2, 12)
    boxes = 1 if level == 1 else rng.randint(2, 4)
    extra = rng.randint(1, 9)
    right = boxes * x + extra
    fig = Figure(balance_figure(boxes, extra, right, letter),
                 f"A balance: {boxes} box{'es' if boxes > 1 else ''} of {letter} kg and {extra} kg "
                 f"on the left, {right} kg on the right")
    text = (p(f"Each box has a mass of {var(letter)} kg. The scale below is balanced.") + "<p class=\"figure-row\">{fig1}</p>"
            + p(f"What is the value of {var(letter)}?"))
    return Question(text, [Part(key=num(solve_linear(boxes, extra, right)))], [fig])


@family("algebra.ages", TOPIC, ["Q", "N"], levels=(2, 3))
def ages(rng, level, slots):
    child = names(rng, 1)[0]
    his = "her" if pronoun(child) == "she" else "his"
    letter = rng.choice(["y", "t", "m"])
    v = var(letter)
    adult = rng.choice(["mother", "father", "aunt", "uncle"])
    later = rng.randint(2, 9)
    if level == 2:
        gap = rng.randint(22, 38)
        text = p(f"{child} is {v} years old. {his.capitalize()} {adult} is {gap} years older than {child}.")
        if slots[0].kind == "Q":
            return Question(text, [options(rng, (1, gap + later), [(1, gap), (1, gap - later), (gap, later),
                                                                   (gap + later, 0)], letter,
                                           f"How old will {his} {adult} be in {later} years\u2019 time?")])
        now = rng.randint(6, 12)
        return Question(text + p(f"How old will {his} {adult} be in {later} years\u2019 time if {v} = {now}?"),
                        [Part(key=num(value((1, gap + later), now)), unit="years old")])
    k = rng.randint(3, 5)
    # Both ages grow by the same number of years: (k + 1) y + 2 x later.
    right = (k + 1, 2 * later)
    text = p(f"{child} is {v} years old. {his.capitalize()} {adult} is {k} times as old as {child}.")
    if slots[0].kind == "Q":
        return Question(text, [options(rng, right, [(k + 1, later), (k, 2 * later), (k + 1, (k + 1) * later),
                                                    (k * later + 1, 0)], letter,
                                       f"What will the sum of their ages be in {later} years\u2019 time?")])
    now = rng.randint(6, 12)
    total = value(right, now)
    return Question(text + p(f"In {later} years\u2019 time, the sum of their ages will be {n(total)}.",
                             f"How old is {child} now?"),
                    [Part(key=num(solve_linear(k + 1, 2 * later, total)), unit="years old")])
