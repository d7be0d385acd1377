"""Topic 8: Ratio and Proportions.

Each family draws its values, writes the page from them and computes the
key from the values shown with a solver below; the solvers are tested
against worked examples in tests/test_ratio.py.
"""

from fractions import Fraction
from math import gcd

from ..contexts import COUNTABLES, names, possessive, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, fraction_key, num, ratio_key
from ..svg import GREY, LIGHT, Svg, text_box
from ..text import DIV, MINUS, TIMES, frac, listing, money, n, nb, p, plural, spoken, table
from ..text import unit as qty

TOPIC = 8


# ---------------------------------------------------------------- solvers

def simplest(*terms):
    """A ratio of whole numbers in its simplest form, as a tuple."""
    return tuple(int(t) for t in ratio_key(*terms).split(":"))


def missing_term(a, b, c=None, d=None):
    """The unknown (given as None) of a : b = c : d."""
    vals = [a, b, c, d]
    if vals.count(None) != 1:
        raise ValueError("exactly one term is unknown")
    i = vals.index(None)
    a, b, c, d = [Fraction(v) if v is not None else None for v in vals]
    return {0: lambda: b * c / d, 1: lambda: a * d / c,
            2: lambda: a * d / b, 3: lambda: b * c / a}[i]()


def share(total, ratio):
    """The shares of total in the given ratio."""
    unit = Fraction(total, sum(ratio))
    return [unit * r for r in ratio]


def total_from_part(ratio, index, value):
    """The whole, when the share of term index is value."""
    return Fraction(value) * sum(ratio) / ratio[index]


def total_from_difference(ratio, i, j, difference):
    """The whole, when share i is difference more than share j."""
    return Fraction(difference) * sum(ratio) / (ratio[i] - ratio[j])


def combine(ab, bc):
    """A : B : C in its simplest form from A : B and B : C."""
    (a, b1), (b2, c) = ab, bc
    return simplest(a * b2, b1 * b2, b1 * c)


def part_fraction(ratio, index, of=None):
    """Term index as a fraction of the whole, or of term `of`."""
    whole = sum(ratio) if of is None else ratio[of]
    return Fraction(ratio[index], whole)


def one_changes(before, after, change):
    """A : B goes from before to after when A alone changes by change
    (negative when A goes down). The two quantities before."""
    (a, b), (c, d) = before, after
    # B is b units before and d units after: per unit of B, A moves by c/d - a/b.
    per_b = Fraction(c, d) - Fraction(a, b)
    big_b = Fraction(change) / per_b
    return big_b * a / b, big_b


def transfer(before, after, amount):
    """A gives amount to B, the total unchanged, and A : B goes from before
    to after. The total."""
    (a, b), (c, d) = before, after
    return Fraction(amount) / (Fraction(a, a + b) - Fraction(c, c + d))


def same_change(before, after, change):
    """Both A and B change by change (ages: years later), so their difference
    stays. A and B before."""
    (a, b), (c, d) = before, after
    # d(a u + x) = c(b u + x)  =>  u = x (c - d) / (a d - b c)
    u = Fraction(change) * (c - d) / (a * d - b * c)
    return a * u, b * u


def proportional(known_count, known_value, new_count):
    """Direct proportion: the value for new_count."""
    return Fraction(known_value) * new_count / known_count


def lcm(a, b):
    return a * b // gcd(a, b)


def hcf(*terms):
    g = 0
    for t in terms:
        g = gcd(g, int(t))
    return g


# The colon of a ratio between no-break spaces: a ratio never splits over two lines.
NBC = "\u00a0:\u00a0"


def ratio_of(*terms):
    """Terms (numbers, names, a "?") as a ratio: 2 : 3 on the page, "2 to 3"
    to a screen reader, which may say nothing for a lone colon and leave
    two numbers."""
    shown = NBC.join(str(t) for t in terms)
    return f'<span class="ratio"><span aria-hidden="true">{shown}</span>{spoken(" to ".join(map(str, terms)))}</span>'


def rt(*terms):
    return ratio_of(*(n(t) for t in terms))


def _coprime_pair(rng, lo=1, hi=9, unequal=True):
    while True:
        a, b = rng.randint(lo, hi), rng.randint(lo, hi)
        if gcd(a, b) == 1 and (a != b or not unequal):
            return a, b


# ---------------------------------------------------------------- pictures

FIGROW = '<p class="figure-row">{fig1}</p>'


def _shape(svg, kind, x, y, size=15):
    if kind == "circle":
        svg.circle(x, y, size, width=2)
    elif kind == "triangle":
        svg.polygon([(x, y - size), (x + size, y + size * 0.8), (x - size, y + size * 0.8)],
                    fill=GREY, width=2)
    else:
        svg.rect(x - size * 0.85, y - size * 0.85, size * 1.7, size * 1.7, fill="#000", width=2)


SHAPE_WORDS = {"circle": "circles", "triangle": "triangles", "square": "squares"}


def shapes_figure(rng, counts, kinds):
    """Shapes mixed in rows of up to 8, in a random order."""
    cells = [k for k, c in zip(kinds, counts) for _ in range(c)]
    rng.shuffle(cells)
    cols = 8
    rows = -(-len(cells) // cols)
    svg = Svg(20 + cols * 48, 16 + rows * 46)
    for i, k in enumerate(cells):
        r, c = divmod(i, cols)
        _shape(svg, k, 34 + c * 48, 36 + r * 46)
    return svg.render()


def grid_figure(rng, rows, cols, shaded):
    """A rectangle of squares, some of them shaded, scattered."""
    cells = [True] * shaded + [False] * (rows * cols - shaded)
    rng.shuffle(cells)
    side = min(34, 420 // cols)
    svg = Svg(cols * side + 20, rows * side + 20)
    for i, s in enumerate(cells):
        r, c = divmod(i, cols)
        svg.rect(10 + c * side, 10 + r * side, side, side,
                 fill=svg.hatch() if s else "#fff", width=1.5)
    svg.rect(10, 10, cols * side, rows * side, width=2.5)
    return svg.render()


def units(k):
    return plural(k, "unit")


def _width(s, size):
    left, _, right, _ = text_box(0, 0, s, size, "start")
    return right - left


MODEL_WIDTH = 560


def units_figure(rows, inside="", brackets=(), total="", shaded=None):
    """A bar model: rows of (name, units), each unit an equal box.

    inside: the value of one unit, written in every box (or once under the
    bars when it does not fit). brackets: (row, first, last, label), a
    bracket over units first..last-1 of that row with its label above.
    total: the label of a brace to the right of all the bars. shaded: a row
    index -> the indices of its units drawn hatched (units that move)."""
    shaded = shaded or {}
    most = max(u for _, u in rows)
    left = 22 + max(_width(name, 15) for name, _ in rows)
    right = _width(total, 15) + 34 if total else 16
    unit = min(48, int((MODEL_WIDTH - left - right) // most))
    fits = inside and _width(inside, 13) <= unit - 6
    height = 30
    marked = {b[0] for b in brackets}
    ys, y = [], 10
    for i in range(len(rows)):
        y += 30 if i in marked else (4 if i == 0 else 12)
        ys.append(y)
        y += height
    note = inside and not fits
    svg = Svg(left + most * unit + right, y + (34 if note else 10), font=15)
    for i, ((name, count), y) in enumerate(zip(rows, ys)):
        svg.text(left - 10, y + height / 2 + 5, name, anchor="end")
        for k in range(count):
            hatched = k in shaded.get(i, ())
            svg.rect(left + k * unit, y, unit, height, fill=svg.hatch() if hatched else LIGHT, width=1.8)
            if fits:
                svg.text(left + (k + 0.5) * unit, y + 20, inside, size=13, halo=hatched)
    for row, first, last, label in brackets:
        y = ys[row]
        x1, x2 = left + first * unit, left + last * unit
        svg.line(x1 + 1, y - 6, x2 - 1, y - 6, width=1.3)
        svg.line(x1 + 1, y - 12, x1 + 1, y - 2, width=1.3)
        svg.line(x2 - 1, y - 12, x2 - 1, y - 2, width=1.3)
        svg.text((x1 + x2) / 2, y - 12, label, bold=True)
    if total:
        xb = left + most * unit + 12
        top, bottom = ys[0], ys[-1] + height
        svg.line(xb, top, xb, bottom, width=1.3)
        svg.line(xb - 6, top, xb, top, width=1.3)
        svg.line(xb - 6, bottom, xb, bottom, width=1.3)
        svg.text(xb + 8, (top + bottom) / 2 + 5, total, anchor="start", bold=True)
    if note:
        svg.text(left, y + 22, f"1 unit = {inside}", anchor="start")
    return svg.render()


def _said(label):
    return "a question mark" if label == "?" else label


def units_alt(rows, inside="", brackets=(), total="", shaded=None):
    """What a sighted pupil reads off units_figure, in the same order."""
    shaded = shaded or {}
    said = ["A bar model of equal units."]
    said += [f"The bar for {name} has {units(count)}." for name, count in rows]
    for row, k in sorted(shaded.items()):
        said.append(f"{units(len(k)).capitalize()} of the bar for {rows[row][0]} "
                    f"{'is' if len(k) == 1 else 'are'} shaded.")
    if inside:
        said.append(f"Each unit is {inside}.")
    for row, first, last, label in brackets:
        name, count = rows[row]
        over = "the whole bar" if (first, last) == (0, count) else units(last - first) + " of the bar"
        said.append(f"A bracket over {over} for {name} is labelled {_said(label)}.")
    if total:
        said.append(f"A brace beside all the bars is labelled {_said(total)}.")
    return " ".join(said)


def model(rows, **kw):
    """The bar model and its alternative text, from the same values."""
    return Figure(units_figure(rows, **kw), units_alt(rows, **kw))


# ---------------------------------------------------------------- working

def simplify_step(terms, first="", part=1):
    """One step: divide every term by the greatest number dividing them all."""
    g = hcf(*terms)
    said = listing([n(t) for t in terms])
    if g == 1:
        return Step(f"{first}No whole number greater than 1 divides {said} exactly, so the ratio "
                    "is already in its simplest form.", rt(*terms), part)
    return Step(f"{first}Divide each term by {g}, the greatest number that divides {said} exactly.",
                f"{rt(*terms)} = {rt(*(t // g for t in terms))}", part)


def one_unit(k, value, show=n):
    """"4 units = 48, 1 unit = 48 ÷ 4 = 12", or "1 unit = 12" when k is 1."""
    if k == 1:
        return f"1 unit = {show(value)}"
    return f"{units(k)} = {show(value)}, 1 unit = {show(value)} {DIV} {k} = {show(Fraction(value, k))}"


def of_units(k, u, show=n):
    """"3 × 12 = 36", or "1 unit = 12" when k is 1."""
    if k == 1:
        return f"1 unit = {show(u)}"
    return f"{k} {TIMES} {show(u)} = {show(k * u)}"


def choice_in_order(options, correct, slips, prompt):
    """A kind Q part whose options keep the order of a table on the page
    (Jug A to Jug D); slips maps each wrong option to its slip."""
    return Part(key=str(options.index(correct) + 1), prompt=prompt, options=list(options),
                slips=[None if o == correct else slips[o] for o in options])


def scaled(before, m):
    """"2 : 3 = 8 : 12", or "2 : 3 stays" when it is multiplied by 1."""
    if m == 1:
        return f"{rt(*before)} stays as it is"
    return f"{rt(*before)} = {rt(*(t * m for t in before))}"


def names_in_ratio(*names_):
    return ratio_of(*names_)


# ---------------------------------------------------------------- families

@family("ratio.picture", TOPIC, ["R", "Q"], levels=(1, 2))
def picture(rng, level, slots):
    kind = slots[0].kind
    if kind == "Q" or rng.random() < 0.5:
        return _shapes_question(rng, level, kind)
    rows, cols = rng.choice([(3, 6), (4, 6), (3, 8), (4, 8), (4, 5), (2, 9), (3, 9)])
    total = rows * cols
    shaded = rng.randint(2, total - 2)
    if gcd(shaded, total) == 1 and rng.random() < 0.7:
        raise ValueError("prefer a ratio that simplifies")
    fig = Figure(grid_figure(rng, rows, cols, shaded),
                 f"A rectangle made of {rows} rows of {cols} equal squares. {shaded} of the squares "
                 "are shaded, scattered over the rectangle; the others are white.")
    unshaded = total - shaded
    if level == 1:
        ask, terms = ("What is the ratio of the number of shaded squares to the number of unshaded squares?",
                      (shaded, unshaded))
    else:
        ask, terms = ("What is the ratio of the number of unshaded squares to the total number of squares?",
                      (unshaded, total))
    steps = [Step(f"Find how many squares there are: {rows} rows of {cols}.", f"{rows} {TIMES} {cols} = {total}"),
             Step("Count the shaded squares. The rest are unshaded.",
                  f"{shaded} shaded; {total} {MINUS} {shaded} = {unshaded} unshaded"),
             simplify_step(terms, "Write the ratio in the order asked. ")]
    return Question(p("The figure is made of equal squares.") + FIGROW,
                    [Part(key=ratio_key(*terms), prompt=ask)], [fig],
                    solution=Solution(steps, [simplest(*terms)]))


def _shapes_question(rng, level, kind):
    kinds = rng.sample(["circle", "triangle", "square"], 3 if level == 2 and kind == "R" else 2)
    while True:
        counts = [rng.randint(2, 12) for _ in kinds]
        if sum(counts) <= 24 and len(set(counts)) == len(counts) and gcd(*counts[:2]) > 1:
            break
    words = [SHAPE_WORDS[k] for k in kinds]
    said = listing([f"{c} {w}" for c, w in zip(counts, words)])
    fig = Figure(shapes_figure(rng, counts, kinds), f"Shapes mixed together: {said}.")
    text = p("Look at the shapes below.") + FIGROW
    count = Step("Count each kind of shape in the picture.", said)
    ask = ("What is the ratio of the number of " + " to the number of ".join(words)
           + ("?" if kind == "R" else ", in its simplest form?"))
    simple = simplest(*counts)
    steps = [count, simplify_step(counts, f"Write the numbers in the order asked: {words[0]} first. ")]
    if kind == "R":
        return Question(text, [Part(key=ratio_key(*counts), prompt=ask)], [fig],
                        solution=Solution(steps, [simple]))
    (a, b), (c0, c1) = simple, counts
    part = choice(rng, rt(a, b), [
        (rt(b, a), f"writes the number of {words[1]} first, so the ratio is the wrong way round"),
        (rt(c0, c1), f"counts the shapes but does not simplify {rt(c0, c1)}"),
        (rt(a, a + b), f"compares the {words[0]} with all {c0 + c1} shapes, not with the {words[1]}")],
        prompt=ask)
    why = f"There are {c0} {words[0]} and {c1} {words[1]}, and {rt(c0, c1)} in its simplest form is {rt(a, b)}."
    return Question(text, [part], [fig], solution=Solution(steps, [rt(a, b)], why=why))


STORY_PAIRS = [
    ("boys", "girls", "in a class", "There are {a} boys and {b} girls in a class."),
    ("apples", "oranges", "in a basket", "A basket holds {a} apples and {b} oranges."),
    ("cars", "vans", "in a car park", "In a car park there are {a} cars and {b} vans."),
    ("adults", "children", "at a concert", "At a concert there were {a} adults and {b} children."),
    ("fiction books", "non-fiction books", "on a shelf", "A shelf holds {a} fiction books and {b} non-fiction books."),
    ("red beads", "blue beads", "in a box", "A box holds {a} red beads and {b} blue beads."),
]

MEASURE_PAIRS = [  # (big unit, small unit, factor, thing a, thing b)
    ("m", "cm", 100, "a rope", "a ribbon"),
    ("kg", "g", 1000, "a bag of flour", "a bag of sugar"),
    ("\u2113", "m\u2113", 1000, "a jug of water", "a bottle of juice"),
    ("km", "m", 1000, "", ""),
]
MEASURE_WORDS = {"kg": "mass", "\u2113": "volume", "m": "length", "km": "distance"}


@family("ratio.story-simplest", TOPIC, ["R"], levels=(1, 2))
def story_simplest(rng, level, slots):
    if level == 1:
        x, y, _, story = rng.choice(STORY_PAIRS)
        a, b = _coprime_pair(rng, 1, 9)
        k = rng.randint(3, 12)
        text = p(story.format(a=a * k, b=b * k),
                 f"What is the ratio of the number of {x} to the number of {y}?")
        steps = [simplify_step((a * k, b * k), f"Write the number of {x} to the number of {y}. ")]
        return Question(text, [Part(key=ratio_key(a * k, b * k))], solution=Solution(steps, [(a, b)]))
    if rng.random() < 0.5:
        x, y, where, story = rng.choice(STORY_PAIRS)
        a, b = _coprime_pair(rng, 2, 9)
        k = rng.randint(3, 9)
        va, vb = a * k, b * k
        # Part to whole, or the other way round: the pupil must find the total first.
        if rng.random() < 0.5:
            ask = f"What is the ratio of the total number of {x} and {y} to the number of {y}?"
            terms, order = (va + vb, vb), f"the total first, then the {y}"
        else:
            ask = f"What is the ratio of the number of {x} to the total number of {x} and {y}?"
            terms, order = (va, va + vb), f"the {x} first, then the total"
        steps = [Step(f"Find the total number of {x} and {y}.", f"{va} + {vb} = {va + vb}"),
                 simplify_step(terms, f"Write the ratio with {order}. ")]
        return Question(p(story.format(a=va, b=vb), ask), [Part(key=ratio_key(*terms))],
                        solution=Solution(steps, [simplest(*terms)]))
    big, small, factor, tha, thb = rng.choice(MEASURE_PAIRS)
    while True:
        a, b = _coprime_pair(rng, 2, 9)
        step = rng.choice([5, 10, 20, 25]) if factor == 100 else rng.choice([50, 100, 125, 250])
        va, vb = a * step, b * step
        if va % factor and va > factor and vb < factor:
            break
    shown_a = qty(n(Fraction(va, factor)), big)
    shown_b = qty(n(vb), small)
    word = MEASURE_WORDS[big]
    if big == "km":
        pa, pb = names(rng, 2)
        text = p(f"{pa} walks {shown_a} to school. {pb} walks {shown_b} to school.",
                 f"What is the ratio of the distance {pa} walks to the distance {pb} walks?")
    else:
        text = p(f"The {word} of {tha} is {shown_a}. The {word} of {thb} is {shown_b}.",
                 f"What is the ratio of the {word} of {tha} to the {word} of {thb}?")
    # Both in the smaller unit before the ratio is simplified.
    steps = [Step(f"Write both {word}s in the same unit, {small}. {qty(1, big)} = {qty(n(factor), small)}.",
                  f"{shown_a} = {n(Fraction(va, factor))} {TIMES} {qty(n(factor), small)} = {qty(n(va), small)}"),
             simplify_step((va, vb), "Write the ratio and simplify it. ")]
    return Question(text, [Part(key=ratio_key(va, vb))], solution=Solution(steps, [(a, b)]))


@family("ratio.equivalent", TOPIC, ["N"], levels=(1, 2))
def equivalent(rng, level, slots):
    a, b = _coprime_pair(rng, 2, 9)
    k = rng.randint(3, 12)
    if level == 1:
        j = 1
        gap = rng.choice([2, 3])
    else:
        # Neither side is in simplest form, so a pupil must simplify first.
        j = rng.choice([x for x in range(2, 6) if x != k])
        gap = rng.randint(0, 3)
    terms = [a * j, b * j, a * k, b * k]
    shown = [("?" if i == gap else n(t)) for i, t in enumerate(terms)]
    given = [None if i == gap else t for i, t in enumerate(terms)]
    key = missing_term(*given)
    # The side with the gap is (a : b) times m; its other term tells m.
    m = k if gap >= 2 else j
    known = given[gap ^ 1]
    base_known, base_gap = (b, a) if gap % 2 == 0 else (a, b)
    scale = Step(f"{base_known} {TIMES} {m} = {n(known)}, so multiply both terms of {rt(a, b)} by {m}.",
                 f"? = {base_gap} {TIMES} {m} = {n(key)}")
    if level == 1:
        steps = [scale]
    else:
        full = terms[2:] if gap < 2 else terms[:2]
        steps = [simplify_step(full, f"Simplify the ratio whose terms are both given, {rt(*full)}. "), scale]
    return Question(p(f"Find the missing number: &#160; {ratio_of(*shown[:2])} = {ratio_of(*shown[2:])}"),
                    [Part(key=num(key))], solution=Solution(steps, [key]))


@family("ratio.choose-equivalent", TOPIC, ["Q"], levels=(1, 2))
def choose_equivalent(rng, level, slots):
    a, b = _coprime_pair(rng, 2, 9)
    if level == 1:
        k = rng.randint(3, 9)
        x, y = a * k, b * k
        j = rng.choice([j for j in (1, 2, 3) if j != k])
        right = rt(a * j, b * j)
        d = rng.randint(1, min(x, y, 10) - 1)
        part = choice(rng, right, [
            (rt(b * j, a * j), f"swaps the two terms: it simplifies to {rt(b, a)}, not {rt(a, b)}"),
            (rt(x - d, y - d), f"takes {d} from both terms; taking away the same number does not keep "
                               "a ratio equal"),
            (rt(a, y), f"divides only the first term by {k}")],
            prompt=f"Which of these ratios is equal to {rt(x, y)}?")
        steps = [simplify_step((x, y), f"Simplify {rt(x, y)}. ")]
        if j > 1:
            steps.append(Step(f"Simplify the options too: dividing both terms of {right} by {j} "
                              f"also gives {rt(a, b)}.", f"{right} = {rt(a, b)}"))
            why = f"{right} and {rt(x, y)} both simplify to {rt(a, b)}, so they are equal."
        else:
            why = f"{right} is {rt(x, y)} in its simplest form."
        return Question("", [part], solution=Solution(steps, [right], why=why))
    x, y, where, story = rng.choice(STORY_PAIRS)
    if rng.random() < 0.5:
        correct = rt(b, a + b)
        wrong = [(rt(a, a + b), f"uses the number of {x}, not the number of {y}"),
                 (rt(b, a), f"compares the {y} with the {x}, not with the total"),
                 (rt(a + b, b), "writes the total first, so the ratio is the wrong way round")]
        ask = f"What is the ratio of the number of {y} to the total number of {x} and {y}?"
        why = f"The {y} are {b} of the {a + b} parts, so the ratio is {correct}."
    else:
        correct = rt(a + b, a)
        wrong = [(rt(a, a + b), f"writes the number of {x} first, so the ratio is the wrong way round"),
                 (rt(a + b, b), f"compares the total with the {y}, not with the {x}"),
                 (rt(b, a), f"compares the {y} with the {x} and leaves out the total")]
        ask = f"What is the ratio of the total number of {x} and {y} to the number of {x}?"
        why = f"The total is {a + b} parts and the {x} are {a} of them, so the ratio is {correct}."
    part = choice(rng, correct, wrong, prompt=ask)
    steps = [Step(f"For every {a} {x} there are {b} {y}. Add the parts to find the total.",
                  f"{a} + {b} = {a + b} parts")]
    return Question(p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}."), [part],
                    solution=Solution(steps, [correct], why=why))


@family("ratio.three-terms", TOPIC, ["R"], levels=(2, 3))
def three_terms(rng, level, slots):
    people = names(rng, 3)
    sing, plur = rng.choice(COUNTABLES)
    if level == 2:
        while True:
            base = [rng.randint(1, 7) for _ in range(3)]
            if len(set(base)) == 3 and hcf(*base) == 1:
                break
        k = rng.randint(3, 9)
        vals = [t * k for t in base]
        text = p(f"{people[0]} has {vals[0]} {plur}, {people[1]} has {vals[1]} {plur} and "
                 f"{people[2]} has {vals[2]} {plur}.",
                 f"What is the ratio of the number of {plur} {people[0]} has to the number "
                 f"{people[1]} has to the number {people[2]} has?")
        steps = [simplify_step(vals, f"Write the three numbers in the order asked: {listing(people)}. ")]
        return Question(text, [Part(key=ratio_key(*vals))], solution=Solution(steps, [tuple(base)]))
    a0, a1, a2 = people
    if rng.random() < 0.5:
        ab = _coprime_pair(rng, 1, 7)
        bc = _coprime_pair(rng, 1, 7)
        if ab[1] == bc[0]:
            raise ValueError("want the middle terms to differ")
        text = p(f"The ratio of {a0}\u2019s {plur} to {a1}\u2019s {plur} is {rt(*ab)}.",
                 f"The ratio of {a1}\u2019s {plur} to {a2}\u2019s {plur} is {rt(*bc)}.",
                 f"Find the ratio of {a0}\u2019s {plur} to {a1}\u2019s {plur} to "
                 f"{a2}\u2019s {plur}.")
        b1, b2 = ab[1], bc[0]
        m1, m2 = lcm(b1, b2) // b1, lcm(b1, b2) // b2
        whole = (ab[0] * m1, lcm(b1, b2), bc[1] * m2)
        steps = [Step(f"{a1} is in both ratios: {units(b1)} in the first and {units(b2)} in the second. "
                      f"Make {a1}\u2019s units the same in both: the lowest common multiple of "
                      f"{b1} and {b2} is {lcm(b1, b2)}.",
                      f"{b1} {TIMES} {m1} = {lcm(b1, b2)} and {b2} {TIMES} {m2} = {lcm(b1, b2)}"),
                 Step("Multiply both terms of each ratio by its number.",
                      f"{scaled(ab, m1)}; {scaled(bc, m2)}"),
                 Step(f"Now {a1} has {lcm(b1, b2)} units in both, so the three can be written together. "
                      "No number greater than 1 divides all three terms.",
                      f"{names_in_ratio(a0, a1, a2)} = {rt(*whole)}")]
        assert simplest(*whole) == combine(ab, bc)
        return Question(text, [Part(key=ratio_key(*combine(ab, bc)))], solution=Solution(steps, [whole]))
    # Told as times as many: B = m * C, A = k * B.
    m, k = rng.randint(2, 4), rng.randint(2, 5)
    text = p(f"{a0} has {k} times as many {plur} as {a1}.",
             f"{a1} has {m} times as many {plur} as {a2}.",
             f"Find the ratio of the number of {plur} {a2} has to the number {a1} has "
             f"to the number {a0} has.")
    steps = [Step(f"Let {a2}\u2019s {plur} be 1 unit. {a1} has {m} times as many.",
                  f"{a1}: {m} {TIMES} 1 unit = {units(m)}"),
             Step(f"{a0} has {k} times as many as {a1}.", f"{a0}: {k} {TIMES} {m} units = {units(k * m)}"),
             Step(f"Write the units in the order asked: {a2}, then {a1}, then {a0}.",
                  f"{names_in_ratio(a2, a1, a0)} = {rt(1, m, k * m)}")]
    if k * m <= 12:
        steps[1].figure = model([(a2, 1), (a1, m), (a0, k * m)])
    return Question(text, [Part(key=ratio_key(*combine((1, m), (1, k))))],
                    solution=Solution(steps, [(1, m, k * m)]))


@family("ratio.bar-model", TOPIC, ["N", "R", "Q", "F"], levels=(1, 2))
def bar_model_question(rng, level, slots):
    a, b = _coprime_pair(rng, 1, 7)
    u = rng.randint(3, 15)
    pa, pb = names(rng, 2)
    sing, plur = rng.choice(COUNTABLES)
    rows = [(pa, a), (pb, b)]
    kind = slots[0].kind
    text = p(f"The model shows the number of {plur} {pa} and {pb} have.") + FIGROW
    read = Step(f"Count the units in each bar: {pa} has {units(a)} and {pb} has {units(b)}.")
    add = Step(f"{pa} has {units(a)} and {pb} has {units(b)}. Add them to find the total.",
               f"{a} + {b} = {units(a + b)}")
    if kind in "QFR":
        fig = model(rows)
        if kind == "Q" and level == 1:
            part = choice(rng, rt(a, b), [
                (rt(b, a), f"puts {pb}\u2019s units first, so the ratio is the wrong way round"),
                (rt(a, a + b), f"compares {pa} with the total, not with {pb}"),
                (rt(a + b, b), f"compares the total with {pb}, not {pa} with {pb}")],
                prompt=f"What is the ratio of {pa}\u2019s {plur} to {pb}\u2019s {plur}?")
            return Question(text, [part], [fig], solution=Solution(
                [read], [rt(a, b)], why=f"{pa}\u2019s {a} units come first and {pb}\u2019s {b} units second."))
        if kind == "Q":
            part = choice(rng, rt(b, a + b), [
                (rt(a, a + b), f"uses {pa}\u2019s units instead of {pb}\u2019s"),
                (rt(b, a), f"compares {pb} with {pa}, not with the total"),
                (rt(a + b, b), "writes the total first, so the ratio is the wrong way round")],
                prompt=f"What is the ratio of {pb}\u2019s {plur} to the total number of {plur}?")
            return Question(text, [part], [fig], solution=Solution(
                [add], [rt(b, a + b)], why=f"{pb} has {b} of the {a + b} units."))
        if kind == "F":
            text += p(f"What fraction of the {plur} altogether belong to {pb}?")
            steps = [add, Step(f"{pb} has {b} of the {a + b} units.", f"{pb}: {frac(b, a + b)} of the {plur}")]
            return Question(text, [Part(key=fraction_key(part_fraction([a, b], 1)))], [fig],
                            solution=Solution(steps, [Fraction(b, a + b)]))
        if level == 1:
            ask = f"What is the ratio of {pb}\u2019s {plur} to {pa}\u2019s {plur}?"
            steps = [Step(f"Count the units: {pb} has {units(b)} and {pa} has {units(a)}. "
                          f"Write {pb}\u2019s units first.", rt(b, a))]
            return Question(text, [Part(key=ratio_key(b, a), prompt=ask)], [fig],
                            solution=Solution(steps, [(b, a)]))
        ask = f"What is the ratio of {pa}\u2019s {plur} to the total number of {plur}?"
        steps = [add, Step(f"Write {pa}\u2019s units first, then the total. Only 1 divides both "
                           f"{a} and {a + b}, so the ratio is in its simplest form.", rt(a, a + b))]
        return Question(text, [Part(key=ratio_key(a, a + b), prompt=ask)], [fig],
                        solution=Solution(steps, [(a, a + b)]))
    known = rng.randint(0, 1)
    if level == 1:
        (kn, ku), (on, ou) = rows[known], rows[1 - known]
        labels = [(known, 0, ku, n(ku * u)), (1 - known, 0, ou, "?")]
        fig = model(rows, brackets=labels)
        text += p(f"How many {plur} does {on} have?")
        key = proportional(ku, ku * u, ou)
        found = [(known, 0, ku, n(ku * u)), (1 - known, 0, ou, n(key))]
        if ku == 1:
            steps = [Step(f"{kn}\u2019s bar is 1 unit, and it stands for {u} {plur}.", f"1 unit = {u}")]
        else:
            steps = [Step(f"{kn}\u2019s {units(ku)} stand for {ku * u} {plur}. Find 1 unit.",
                          f"1 unit = {ku * u} {DIV} {ku} = {u}")]
        if ou > 1:
            steps.append(Step(f"{on} has {units(ou)}.", f"{ou} {TIMES} {u} = {n(key)}",
                              figure=model(rows, inside=n(u), brackets=found)))
        else:
            steps[0].figure = model(rows, inside=n(u), brackets=found)
            steps[0].say += f" {on} has just 1 unit."
        return Question(text, [Part(key=num(key), unit=plur)], [fig], solution=Solution(steps, [key]))
    if a == b:
        raise ValueError("no difference to show")
    big, small = (0, 1) if a > b else (1, 0)
    d = abs(a - b)
    diff = d * u
    fig = model(rows)
    text += p(f"{rows[big][0]} has {diff} more {plur} than {rows[small][0]}.",
              f"How many {plur} do they have altogether?")
    key = total_from_difference([a, b], big, small, diff)
    extra = [(big, rows[small][1], rows[big][1], n(diff))]
    steps = [difference_step(rows, big, small, u, f"{rows[big][0]} has {{d}} more than {rows[small][0]}.",
                             f"the {diff} more {plur}"),
             Step(f"Together they have {a} + {b} = {units(a + b)}.", f"{a + b} {TIMES} {u} = {n(key)}",
                  figure=model(rows, inside=n(u), brackets=extra, total=n(key)))]
    steps[0].figure = None
    return Question(text, [Part(key=num(key), unit=plur)], [fig], solution=Solution(steps, [key]))


@family("ratio.for-every", TOPIC, ["N"], levels=(1, 2))
def for_every(rng, level, slots):
    a, b = _coprime_pair(rng, 2, 9)     # plural on both sides
    k = rng.randint(4, 15)
    x, y, what = rng.choice([
        ("teachers", "pupils", "on a school trip"), ("red tiles", "white tiles", "on a floor"),
        ("cups of rice", "cups of water", "in a pot"), ("sunflowers", "roses", "in a garden"),
        ("blue balloons", "yellow balloons", "at a party")])
    if x == "teachers":
        # A trip has several pupils to each teacher.
        a = rng.choice([2, 3])
        b = rng.choice([v for v in range(7, 20) if gcd(a, v) == 1])
    if level == 1:
        text = p(f"For every {n(a)} {x} there are {n(b)} {y} {what}.",
                 f"There are {n(a * k)} {x}. How many {y} are there?")
        key = proportional(a, b, a * k)
        steps = [Step(f"{n(a * k)} {x} make {k} groups of {a}, since {a} {TIMES} {k} = {n(a * k)}. "
                      f"Each group comes with {b} {y}.", f"{b} {TIMES} {k} = {n(key)}")]
        return Question(text, [Part(key=num(key), unit=y)], solution=Solution(steps, [key]))
    total = (a + b) * k
    text = p(f"For every {n(a)} {x} there are {n(b)} {y} {what}.",
             f"There are {n(total)} {x} and {y} altogether. How many {y} are there?")
    key = share(total, [a, b])[1]
    steps = [Step(f"Each group has {a} {x} and {b} {y}.", f"{a} + {b} = {a + b} in a group"),
             Step("Find how many groups there are.", f"{n(total)} {DIV} {a + b} = {k} groups"),
             Step(f"Each group has {b} {y}.", f"{k} {TIMES} {b} = {n(key)}")]
    return Question(text, [Part(key=num(key), unit=y)], solution=Solution(steps, [key]))


@family("ratio.share", TOPIC, ["N"], levels=(1, 2, 3))
def share_question(rng, level, slots):
    pa, pb, pc = names(rng, 3)
    if level == 1:
        a, b = _coprime_pair(rng, 1, 9)
        u = rng.randint(3, 20)
        total = (a + b) * u
        who = rng.randint(0, 1)
        text = p(f"{pa} and {pb} share {money(total)} in the ratio {rt(a, b)}.",
                 f"How much does {[pa, pb][who]} get?")
        key = share(total, [a, b])[who]
        rows = [(pa, a), (pb, b)]
        steps = [Step("Add the units of the ratio.", f"{a} + {b} = {units(a + b)}"),
                 Step(f"{units(a + b)} stand for {money(total)}. Find 1 unit.",
                      f"1 unit = {money(total)} {DIV} {a + b} = {money(u)}"),
                 Step(f"{[pa, pb][who]} gets {units([a, b][who])}.",
                      of_units([a, b][who], u, money),
                      figure=model(rows, inside=money(u), total=money(total),
                                   brackets=[(who, 0, [a, b][who], money(key))]))]
        return Question(text, [Part(key=num(key), unit_before="$")], solution=Solution(steps, [key]))
    if level == 2:
        while True:
            r = [rng.randint(1, 6) for _ in range(3)]
            if len(set(r)) == 3 and hcf(*r) == 1:
                break
        u = rng.randint(4, 15)
        total = sum(r) * u
        sing, plur = rng.choice(COUNTABLES)
        people = [pa, pb, pc]
        rows = list(zip(people, r))
        s = share(total, r)
        steps = [Step("Add the units of the ratio.", f"{r[0]} + {r[1]} + {r[2]} = {units(sum(r))}"),
                 Step(f"{units(sum(r))} stand for {n(total)} {plur}. Find 1 unit.",
                      f"1 unit = {n(total)} {DIV} {sum(r)} = {u}")]
        if rng.random() < 0.5:
            who = rng.randint(0, 2)
            ask = f"How many {plur} does {people[who]} get?"
            key = s[who]
            steps.append(Step(f"{people[who]} gets {units(r[who])}.",
                              of_units(r[who], u),
                              figure=model(rows, inside=n(u), total=n(total),
                                           brackets=[(who, 0, r[who], n(key))])))
        else:
            hi, lo = max(range(3), key=r.__getitem__), min(range(3), key=r.__getitem__)
            ask = f"How many more {plur} does {people[hi]} get than {people[lo]}?"
            key = s[hi] - s[lo]
            d = r[hi] - r[lo]
            steps.append(Step(f"{people[hi]} gets {r[hi]} {MINUS} {r[lo]} = {units(d)} more than {people[lo]}.",
                              f"{d} {TIMES} {u} = {n(key)}",
                              figure=model(rows, inside=n(u), total=n(total),
                                           brackets=[(hi, r[lo], r[hi], n(key))])))
        text = p(f"{n(total)} {plur} are shared among {pa}, {pb} and {pc} in the ratio {rt(*r)}.", ask)
        return Question(text, [Part(key=num(key), unit=plur)], solution=Solution(steps, [key]))
    a, b = _coprime_pair(rng, 2, 9)
    u = rng.randint(6, 25)
    her = possessive(pa)
    if rng.random() < 0.5:
        given = Fraction(a * u)
        text = p(f"{pa} and {pb} shared some prize money in the ratio {rt(a, b)}.",
                 f"{pa} gave half of {her} share to {pc}. {pc} received {money(given)}.",
                 f"How much prize money did {pa} and {pb} share?")
        key = total_from_part([a, b], 0, 2 * given)
        one = 2 * u
        steps = [Step(f"{pc} received half of {pa}\u2019s share, so {pa}\u2019s share was twice as much.",
                      f"2 {TIMES} {money(given)} = {money(2 * given)}"),
                 Step(f"{pa}\u2019s share is {units(a)}. Find 1 unit.",
                      f"1 unit = {money(2 * given)} {DIV} {a} = {money(one)}"),
                 Step(f"The prize money is {a} + {b} = {units(a + b)}.",
                      f"{a + b} {TIMES} {money(one)} = {money(key)}",
                      figure=model([(pa, a), (pb, b)], inside=money(one), total=money(key),
                                   brackets=[(0, 0, a, money(2 * given))]))]
        return Question(text, [Part(key=num(key), unit_before="$")], solution=Solution(steps, [key]))
    if a > b:
        a, b = b, a
    d = b - a
    diff = d * u
    spent = rng.randint(a * u // 4 + 1, a * u * 3 // 4)
    text = p(f"{pa} and {pb} shared some money in the ratio {rt(a, b)}. {pb} received "
             f"{money(diff)} more than {pa}.",
             f"{pa} then spent {money(spent)} of {her} share. How much money did {pa} have left?")
    key = share(total_from_difference([a, b], 1, 0, diff), [a, b])[0] - spent
    these = f"These {units(d)} stand" if d > 1 else "This 1 unit stands"
    steps = [Step(f"{pb} has {b} {MINUS} {a} = {units(d)} more than {pa}. {these} for {money(diff)}.",
                  one_unit(d, diff, money),
                  figure=model([(pa, a), (pb, b)], inside=money(u), brackets=[(1, a, b, money(diff))])),
             Step(f"{pa}\u2019s share is {units(a)}.", f"{a} {TIMES} {money(u)} = {money(a * u)}"),
             Step(f"Take away what {pa} spent.", f"{money(a * u)} {MINUS} {money(spent)} = {money(key)}")]
    return Question(text, [Part(key=num(key), unit_before="$")], solution=Solution(steps, [key]))


GROUPS = [  # (first, second, whole, where)
    ("boys", "girls", "pupils", "in a school choir"),
    ("adults", "children", "people", "at a fun fair"),
    ("red marbles", "green marbles", "marbles", "in a bag"),
    ("cats", "dogs", "animals", "at an animal shelter"),
    ("story books", "picture books", "books", "in a book corner"),
]
PEOPLE = {"boys", "adults", "cats"}


def _cap(s):
    return s[:1].upper() + s[1:]


def difference_step(rows, big, small, u, first, value):
    """The step of a difference model: the extra units stand for the
    difference, so 1 unit is found from them. rows: (name, units); first:
    the sentence saying how many more, with {d} for the working; value:
    what the extra units stand for ("the 48 more red marbles")."""
    d = rows[big][1] - rows[small][1]
    diff = d * u
    these = f"These {units(d)} stand" if d > 1 else "This 1 unit stands"
    return Step(first.format(d=f"{rows[big][1]} {MINUS} {rows[small][1]} = {units(d)}") + f" {these} for {value}.",
                one_unit(d, diff),
                figure=model(rows, inside=n(u), brackets=[(big, rows[small][1], rows[big][1], n(diff))]))


@family("ratio.total-from-part", TOPIC, ["N"], levels=(2, 3))
def total_from_part_question(rng, level, slots):
    x, y, whole, where = rng.choice(GROUPS)
    a, b = _coprime_pair(rng, 2, 9)
    u = rng.randint(4, 16)
    rows = [(_cap(x), a), (_cap(y), b)]
    if level == 2:
        known = rng.randint(0, 1)
        value = [a, b][known] * u
        text = p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}.",
                 f"There are {n(value)} {[x, y][known]}. How many {whole} are there altogether?")
        key = total_from_part([a, b], known, value)
        steps = [Step(f"The {[x, y][known]} are {units([a, b][known])}, which stand for {n(value)}. Find 1 unit.",
                      f"1 unit = {n(value)} {DIV} {[a, b][known]} = {u}"),
                 Step("Add the units of the ratio.", f"{a} + {b} = {units(a + b)}"),
                 Step(f"Find the number of {whole}.", f"{a + b} {TIMES} {u} = {n(key)}",
                      figure=model(rows, inside=n(u), total=n(key),
                                   brackets=[(known, 0, [a, b][known], n(value))]))]
        return Question(text, [Part(key=num(key), unit=whole)], solution=Solution(steps, [key]))
    big, small = (0, 1) if a > b else (1, 0)
    diff = abs(a - b) * u
    text = p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}.",
             f"There are {n(diff)} more {[x, y][big]} than {[x, y][small]}.")
    total = total_from_difference([a, b], big, small, diff)
    steps = [difference_step(rows, big, small, u, f"There are {{d}} more {[x, y][big]} than {[x, y][small]}.",
                                       f"the {n(diff)} more {[x, y][big]}")]
    if rng.random() < 0.5:
        steps.append(Step(f"Altogether there are {a} + {b} = {units(a + b)}.", f"{a + b} {TIMES} {u} = {n(total)}"))
        return Question(text + p(f"How many {whole} are there altogether?"),
                        [Part(key=num(total), unit=whole)], solution=Solution(steps, [total]))
    key = share(total, [a, b])[small]
    steps.append(Step(f"The {[x, y][small]} are {units([a, b][small])}.",
                      f"{[a, b][small]} {TIMES} {u} = {n(key)}"))
    return Question(text + p(f"How many {[x, y][small]} are there?"),
                    [Part(key=num(key), unit=[x, y][small])], solution=Solution(steps, [key]))


@family("ratio.fractions", TOPIC, ["F", "R", "N"], levels=(2, 3))
def ratio_fractions(rng, level, slots):
    kind = slots[0].kind
    x, y, whole, where = rng.choice(GROUPS)
    a, b = _coprime_pair(rng, 1, 9)
    d = a + b
    if kind == "F":
        if rng.random() < 0.5:
            text = p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}.",
                     f"What fraction of the {whole} are {y}?")
            steps = [Step(f"For every {a} {x} there are {b} {y}. Add the parts to find the whole.",
                          f"{a} + {b} = {d} parts"),
                     Step(f"The {y} are {b} of the {d} parts. Only 1 divides both {b} and {d}, so the "
                          "fraction is in its simplest form.", f"{_cap(y)}: {frac(b, d)} of the {whole}")]
            return Question(text, [Part(key=fraction_key(part_fraction([a, b], 1)))],
                            solution=Solution(steps, [Fraction(b, d)]))
        pa, pb = names(rng, 2)
        a, b = sorted((a, b))
        text = p(f"The ratio of {pa}\u2019s savings to {pb}\u2019s savings is {rt(a, b)}.",
                 f"What fraction of {pb}\u2019s savings are {pa}\u2019s savings?")
        steps = [Step(f"{pa} has {units(a)} for every {units(b)} {pb} has, so {pa}\u2019s savings are "
                      f"{a} parts out of {pb}\u2019s {b}.", f"{frac(a, b)} of {pb}\u2019s savings")]
        return Question(text, [Part(key=fraction_key(part_fraction([a, b], 0, of=1)))],
                        solution=Solution(steps, [Fraction(a, b)]))
    rest = Step(f"The {y} are the rest: {b} {'part' if b == 1 else 'parts'} out of {d}.",
                f"1 {MINUS} {frac(a, d)} = {frac(b, d)}")
    if kind == "R":
        if level == 2:
            text = p(f"{frac(a, d)} of the {whole} {where} are {x} and the rest are {y}.",
                     f"What is the ratio of the number of {x} to the number of {y}?")
            steps = [rest, Step(f"Both fractions are out of {d}, so the {x} are {a} parts and the {y} "
                                f"are {b} parts.", f"{_cap(x)} : {y} = {rt(a, b)}")]
            return Question(text, [Part(key=ratio_key(a, b))], solution=Solution(steps, [(a, b)]))
        pa, pb = names(rng, 2)
        lo, hi = sorted((a, b))
        text = p(f"{pa}\u2019s money is {frac(lo, hi)} of {pb}\u2019s money.",
                 f"What is the ratio of {pb}\u2019s money to the total amount of money they have?")
        steps = [Step(f"Let {pb}\u2019s money be {hi} units. Then {pa}\u2019s money is {frac(lo, hi)} of it.",
                      f"{pa}: {units(lo)}, {pb}: {units(hi)}"),
                 Step(f"Together they have {lo} + {hi} = {units(lo + hi)}. Write {pb}\u2019s units first.",
                      rt(hi, lo + hi))]
        return Question(text, [Part(key=ratio_key(hi, lo + hi))], solution=Solution(steps, [(hi, lo + hi)]))
    u = rng.randint(3, 12)
    rows = [(_cap(x), a), (_cap(y), b)]
    if level == 2:
        text = p(f"{frac(a, d)} of the {whole} {where} are {x} and the rest are {y}.",
                 f"There are {n(b * u)} {y}. How many {x} are there?")
        key = proportional(b, b * u, a)
        given = (f"The {units(b)} of {y} stand for {n(b * u)}. Find 1 unit." if b > 1
                 else f"The 1 unit of {y} stands for {n(b * u)}.")
        steps = [rest,
                 Step(f"So the {x} are {units(a)} and the {y} are {units(b)}. {given}",
                      f"1 unit = {n(b * u)} {DIV} {b} = {u}" if b > 1 else f"1 unit = {u}"),
                 Step(f"The {x} are {units(a)}.", of_units(a, u),
                      figure=model(rows, inside=n(u), brackets=[(1, 0, b, n(b * u)), (0, 0, a, n(key))]))]
        return Question(text, [Part(key=num(key), unit=x)], solution=Solution(steps, [key]))
    if a == b:
        raise ValueError("no difference")
    big, small = (0, 1) if a > b else (1, 0)
    diff = abs(a - b) * u
    text = p(f"{frac(a, d)} of the {whole} {where} are {x} and the rest are {y}.",
             f"There are {n(diff)} more {[x, y][big]} than {[x, y][small]}. "
             f"How many {whole} are there altogether?")
    key = total_from_difference([a, b], big, small, diff)
    steps = [rest, difference_step(rows, big, small, u, f"There are {{d}} more {[x, y][big]} than {[x, y][small]}.",
                                       f"the {n(diff)} more {[x, y][big]}")]
    steps[1].say = f"So the {x} are {units(a)} and the {y} are {units(b)}. " + steps[1].say
    steps.append(Step(f"All the {whole} together are {units(d)}.", f"{d} {TIMES} {u} = {n(key)}"))
    return Question(text, [Part(key=num(key), unit=whole)], solution=Solution(steps, [key]))


def make_equal_step(what, before, after, size, when=("before", "after")):
    """The first step of a before-and-after problem: the quantity that does
    not change, size(ratio) units of each ratio (a term, their sum or their
    difference), is made the same number of units in both ratios. Returns
    the step and the two multipliers."""
    s1, s2 = size(before), size(after)
    common = lcm(s1, s2)
    m1, m2 = common // s1, common // s2
    if s1 == s2:
        step = Step(f"{what} It is {units(s1)} both {when[0]} and {when[1]}, so the units already match.",
                    f"{_cap(when[0])}: {rt(*before)}; {when[1]}: {rt(*after)}")
        return step, m1, m2
    how = [f"the terms of the {which} ratio by {m}" for which, m in (("first", m1), ("second", m2)) if m > 1]
    step = Step(f"{what} It is {units(s1)} {when[0]} and {units(s2)} {when[1]}. Make it the same number of "
                f"units in both: the lowest common multiple of {s1} and {s2} is {common}, so multiply "
                f"{' and '.join(how)}.",
                f"{_cap(when[0])}: {scaled(before, m1)}; {when[1]}: {scaled(after, m2)}")
    return step, m1, m2


BEFORE_AFTER_DRAWN = 12   # units a bar may have for the model to be drawn


@family("ratio.transfer", TOPIC, ["R", "N"], levels=(2, 3))
def transfer_question(rng, level, slots):
    pa, pb = names(rng, 2)
    sing, plur = rng.choice(COUNTABLES)
    end = f"What is the ratio of the number of {plur} {pa} had to the number {pb} had in the end?"
    if slots[0].kind == "R" and level == 3:
        while True:
            q = rng.choice([3, 4, 5])
            va, vb = q * rng.randint(4, 15), rng.randint(10, 60)
            give = va // q
            if gcd(va - give, vb + give) > 1 and va - give != vb + give:
                break
        text = p(f"{pa} had {va} {plur} and {pb} had {vb} {plur}.",
                 f"{pa} gave {frac(1, q)} of {possessive(pa)} {plur} to {pb}.", end)
        after = (va - give, vb + give)
        steps = [Step(f"Find {frac(1, q)} of {pa}\u2019s {va} {plur}.", f"{va} {DIV} {q} = {give}"),
                 Step(f"{pa} has {give} fewer and {pb} has {give} more.",
                      f"{pa}: {va} {MINUS} {give} = {after[0]}; {pb}: {vb} + {give} = {after[1]}"),
                 simplify_step(after, f"Write {pa}\u2019s {plur} to {pb}\u2019s. ")]
        return Question(text, [Part(key=ratio_key(*after))], solution=Solution(steps, [simplest(*after)]))
    if slots[0].kind == "R":
        while True:
            va, vb = rng.randint(20, 90), rng.randint(10, 60)
            give = rng.randint(2, 20)
            after = (va - give, vb + give)
            if after[0] > 0 and gcd(*after) > 1 and gcd(va, vb) < gcd(*after) and after[0] != after[1]:
                break
        text = p(f"{pa} had {va} {plur} and {pb} had {vb} {plur}. {pa} gave {give} {plur} to {pb}.", end)
        steps = [Step(f"{pa} has {give} fewer and {pb} has {give} more.",
                      f"{pa}: {va} {MINUS} {give} = {after[0]}; {pb}: {vb} + {give} = {after[1]}"),
                 simplify_step(after, f"Write {pa}\u2019s {plur} to {pb}\u2019s. ")]
        return Question(text, [Part(key=ratio_key(*after))], solution=Solution(steps, [simplest(*after)]))
    # Unchanged total: the units of both ratios are made to match.
    while True:
        a, b = _coprime_pair(rng, 2, 9)
        c, d = _coprime_pair(rng, 1, 9)
        if Fraction(c, c + d) < Fraction(a, a + b):
            break
    total = lcm(a + b, c + d) * rng.randint(1, 4)
    amount = total * a // (a + b) - total * c // (c + d)
    if total > 400 or amount < 3:
        raise ValueError("numbers too big or too small")
    text = p(f"The ratio of the number of {plur} {pa} had to the number {pb} had was {rt(a, b)}.",
             f"After {pa} gave {amount} {plur} to {pb}, the ratio became {rt(c, d)}.")
    t = transfer((a, b), (c, d), amount)
    first, m1, m2 = make_equal_step(f"{pa} gives {plur} to {pb}, so the total number of {plur} does not change.",
                                     (a, b), (c, d), sum)
    steps = [first]
    common = (a + b) * m1
    u = Fraction(t, common)
    given = a * m1 - c * m2
    steps.append(Step(f"{pa} had {units(a * m1)} and has {units(c * m2)} after, so {pa} gave "
                      f"{units(given)}. {'They are' if given > 1 else 'It is'} the {amount} {plur}.",
                      one_unit(given, amount)))
    if common <= BEFORE_AFTER_DRAWN:
        rows = [(f"{pa} before", a * m1), (f"{pb} before", b * m1),
                (f"{pa} after", c * m2), (f"{pb} after", d * m2)]
        steps[-1].figure = model(rows, inside=n(u), shaded={0: range(c * m2, a * m1)},
                                 brackets=[(0, c * m2, a * m1, n(amount))])
    if rng.random() < 0.5:
        steps.append(Step(f"The total is {units(common)}, before and after.", f"{common} {TIMES} {n(u)} = {n(t)}"))
        return Question(text + p(f"How many {plur} did they have altogether?"),
                        [Part(key=num(t), unit=plur)], solution=Solution(steps, [t]))
    key = share(t, [a, b])[1]
    steps.append(Step(f"{pb} had {units(b * m1)} at first.", f"{b * m1} {TIMES} {n(u)} = {n(key)}"))
    return Question(text + p(f"How many {plur} did {pb} have at first?"),
                    [Part(key=num(key), unit=plur)], solution=Solution(steps, [key]))


@family("ratio.one-changes", TOPIC, ["N"], levels=(3,))
def one_changes_question(rng, level, slots):
    x, y, whole, where = rng.choice(GROUPS)
    while True:
        a, b = _coprime_pair(rng, 1, 7)
        c, d = _coprime_pair(rng, 1, 7)
        if Fraction(c, d) != Fraction(a, b):
            break
    big_b = lcm(b, d) * rng.randint(1, 6)
    before_a, after_a = Fraction(a * big_b, b), Fraction(c * big_b, d)
    change = after_a - before_a
    if abs(change) < 4 or not 12 <= big_b <= 120 or min(before_a, after_a) < 4:
        raise ValueError("too small a change or too many")
    if x in PEOPLE:
        verb = f"{n(change)} more {x} joined" if change > 0 else f"{n(-change)} {x} left"
    else:
        verb = f"{n(change)} more {x} were put in" if change > 0 else f"{n(-change)} {x} were taken out"
    text = p(f"The ratio of the number of {x} to the number of {y} {where} was {rt(a, b)}.",
             f"After {verb}, the ratio became {rt(c, d)}. The number of {y} did not change.")
    pa, pb = one_changes((a, b), (c, d), change)
    first, m1, m2 = make_equal_step(f"The number of {y} does not change.", (a, b), (c, d),
                                     lambda r: r[1])
    steps = [first]
    ua, ub, common = a * m1, c * m2, b * m1
    moved = abs(ub - ua)
    u = Fraction(abs(change), moved)
    if x in PEOPLE:
        moved_how = "who joined" if change > 0 else "who left"
    else:
        moved_how = "that were put in" if change > 0 else "that were taken out"
    steps.append(Step(f"The {x} went from {units(ua)} to {units(ub)}: {units(moved)} "
                      f"{'more' if ub > ua else 'fewer'}. {'They are' if moved > 1 else 'It is'} the "
                      f"{n(abs(change))} {x} {moved_how}.",
                      one_unit(moved, abs(change))))
    if max(ua, ub, common) <= BEFORE_AFTER_DRAWN:
        rows = [(f"{_cap(x)} before", ua), (f"{_cap(x)} after", ub), (_cap(y), common)]
        lo, hi = sorted((ua, ub))
        steps[-1].figure = model(rows, inside=n(u), brackets=[(0 if ua > ub else 1, lo, hi, n(abs(change)))])
    ask = rng.choice(["x", "y", "total"])
    if ask == "x":
        steps.append(Step(f"At first the {x} were {units(ua)}.", of_units(ua, u)))
        return Question(text + p(f"How many {x} were there at first?"), [Part(key=num(pa), unit=x)],
                        solution=Solution(steps, [pa]))
    if ask == "y":
        steps.append(Step(f"The {y} are {units(common)}.", f"{common} {TIMES} {n(u)} = {n(pb)}"))
        return Question(text + p(f"How many {y} were there?"), [Part(key=num(pb), unit=y)],
                        solution=Solution(steps, [pb]))
    end = pa + change + pb
    steps.append(Step(f"In the end there are {ub} + {common} = {units(ub + common)}.",
                      f"{ub + common} {TIMES} {n(u)} = {n(end)}"))
    return Question(text + p(f"How many {whole} were there in the end?"),
                    [Part(key=num(end), unit=whole)], solution=Solution(steps, [end]))


RELATIVES = [("mother", 24, 40), ("father", 25, 42), ("aunt", 20, 35), ("uncle", 20, 35),
             ("grandmother", 50, 64), ("grandfather", 52, 66)]


def age_stories(low, high):
    """(child's age, difference, years later) whose ratios now and later are
    both small: 8 and 32 now (1 : 4), 12 and 36 in 4 years (1 : 3)."""
    found = []
    for child in range(4, 15):
        for diff in range(low, high + 1):
            for later in range(2, 16):
                now = simplest(child, child + diff)
                then = simplest(child + later, child + diff + later)
                if max(now) <= 9 and max(then) <= 9:
                    found.append((child, diff, later))
    return found


@family("ratio.same-difference", TOPIC, ["N"], levels=(3,))
def same_difference(rng, level, slots):
    child = names(rng, 1)[0]
    adult, low, high = rng.choice(RELATIVES)
    age, diff, later = rng.choice(age_stories(low, high))
    now, then = simplest(age, age + diff), simplest(age + later, age + diff + later)
    years = nb(later, "years\u2019")
    his = possessive(child)
    text = p(f"The ratio of {child}\u2019s age to {his} {adult}\u2019s age is {rt(*now)}.",
             f"In {years} time, the ratio will be {rt(*then)}.")
    ages = same_change(now, then, later)
    first, m1, m2 = make_equal_step("Both grow older by the same number of years, so the difference between "
                                     "their ages never changes.", now, then,
                                     lambda r: r[1] - r[0],
                                     ("now", f"in {years} time"))
    steps = [first]
    c1, a1, c2, a2 = now[0] * m1, now[1] * m1, then[0] * m2, then[1] * m2
    u = Fraction(later, c2 - c1)
    steps.append(Step(f"{child} goes from {units(c1)} now to {units(c2)} in {years} time, "
                      f"so {units(c2 - c1)} {'are' if c2 - c1 > 1 else 'is'} {qty(later, 'years')}.",
                      f"1 unit = {qty(later, 'years')}" if c2 - c1 == 1 else
                      f"{units(c2 - c1)} = {qty(later, 'years')}, 1 unit = {later} {DIV} {c2 - c1} = "
                      f"{qty(n(u), 'year' if u == 1 else 'years')}"))
    if a2 <= BEFORE_AFTER_DRAWN + 2:
        rows = [(f"{child} now", c1), (f"{_cap(adult)} now", a1),
                (f"{child} later", c2), (f"{_cap(adult)} later", a2)]
        steps[-1].figure = model(rows, inside=n(u), brackets=[(2, c1, c2, qty(later, "years"))])
    if rng.random() < 0.5:
        steps.append(Step(f"{child} is {units(c1)} now.", of_units(c1, u)))
        return Question(text + p(f"How old is {child} now?"), [Part(key=num(ages[0]), unit="years old")],
                        solution=Solution(steps, [ages[0]]))
    steps.append(Step(f"{child}\u2019s {adult} will be {units(a2)} in {years} time.",
                      f"{a2} {TIMES} {n(u)} = {n(ages[1] + later)}"))
    return Question(text + p(f"How old will {his} {adult} be in {years} time?"),
                    [Part(key=num(ages[1] + later), unit="years old")],
                    solution=Solution(steps, [ages[1] + later]))


RECIPES = [  # (dish, [(ingredient, amount, unit)])
    ("pancakes", [("flour", 200, "g"), ("milk", 300, "m\u2113"), ("eggs", 2, "")]),
    ("fruit punch", [("orange juice", 400, "m\u2113"), ("apple juice", 250, "m\u2113"), ("lemonade", 150, "m\u2113")]),
    ("muffins", [("flour", 250, "g"), ("sugar", 100, "g"), ("butter", 120, "g")]),
    ("fried rice", [("rice", 300, "g"), ("peas", 90, "g"), ("eggs", 3, "")]),
]


def _amount(x, unit):
    return qty(n(x), unit) if unit else n(x)


def _people(k):
    return "1 person" if k == 1 else f"{k} people"


@family("ratio.recipe", TOPIC, ["N"], levels=(1, 2, 3))
def recipe(rng, level, slots):
    dish, items = rng.choice(RECIPES)
    serves = rng.choice([4, 5, 6])
    if level == 3:
        # A recipe and an ingredient with a whole amount for one person.
        dish, items, serves = rng.choice([(d, it, s) for d, it in RECIPES for s in (4, 5, 6)
                                          if any(u and a % s == 0 for _, a, u in it)])
    cook = names(rng, 1)[0]
    he = pronoun(cook)
    rows = [[ing, _amount(amt, unit)] for ing, amt, unit in items]
    card = table(["Ingredient", f"For {serves} people"], rows)
    i = rng.randrange(len(items))
    if level == 3:
        i = rng.choice([j for j, (_, a, u) in enumerate(items) if u and a % serves == 0])
    ing, amt, unit = items[i]
    shown_unit = unit or ing
    much = f"as much {ing}" if unit else f"as many {ing}"
    intro = p(f"{cook} uses this recipe to make {dish} for {serves} people.") + card
    if level == 1:
        k = rng.randint(2, 4)
        want = serves * k
        text = intro + p(f"How much {ing} does {he} need to make {dish} for {want} people?"
                         if unit else f"How many {ing} does {he} need for {want} people?")
        key = proportional(serves, amt, want)
        steps = [Step(f"{want} people is {k} times {serves} people, since {serves} {TIMES} {k} = {want}. "
                      f"So {he} needs {k} times {much}.", f"{_amount(amt, unit)} {TIMES} {k} = {_amount(key, unit)}")]
        return Question(text, [Part(key=num(key), unit=shown_unit)], solution=Solution(steps, [key]))
    if level == 2:
        want = rng.choice([w for w in range(3, 13) if w != serves and w % serves and
                           (amt * w) % serves == 0] or [0])
        if not want:
            raise ValueError("no whole amount")
        text = intro + p(f"How much {ing} is needed to make {dish} for {want} people?"
                         if unit else f"How many {ing} are needed for {want} people?")
        key = proportional(serves, amt, want)
        g = gcd(serves, want)
        few = Fraction(amt * g, serves)
        steps = [Step(f"Find the {ing} for {_people(g)}: {serves} people is {serves // g} times {_people(g)}.",
                      f"{_amount(amt, unit)} {DIV} {serves // g} = {_amount(few, unit)}"),
                 Step(f"{want} people is {want // g} times {_people(g)}.",
                      f"{_amount(few, unit)} {TIMES} {want // g} = {_amount(key, unit)}")]
        return Question(text, [Part(key=num(key), unit=shown_unit)], solution=Solution(steps, [key]))
    # The most people the stock of one ingredient allows.
    per = amt // serves
    have = amt * rng.randint(3, 6) + rng.randint(1, amt - 1)
    text = intro + p(f"{_cap(he)} has {qty(n(have), unit)} of {ing} and plenty of everything else.",
                     f"What is the greatest number of people {he} can make {dish} for?")
    most, left = divmod(have, per)
    steps = [Step(f"Find the {ing} for 1 person.", f"{qty(amt, unit)} {DIV} {serves} = {qty(per, unit)}"),
             Step(f"Find how many lots of {qty(per, unit)} there are in {qty(n(have), unit)}.",
                  f"{n(have)} {DIV} {per} = {most}" + (f" remainder {left}" if left else ""))]
    if left:
        steps.append(Step(f"The {qty(left, unit)} left over is not enough for one more person.",
                          f"{most} people"))
    return Question(text, [Part(key=num(most), unit="people")], solution=Solution(steps, [most]))


@family("ratio.unit-cost", TOPIC, ["N"], levels=(1, 2, 3))
def unit_cost(rng, level, slots):
    from ..contexts import SHOP_ITEMS
    sing, plur, (lo, hi) = rng.choice(SHOP_ITEMS)
    buyer = names(rng, 1)[0]
    he = pronoun(buyer)
    price = Fraction(rng.randint(lo * 4, hi * 4), 4)
    k = rng.randint(3, 8)
    one = Step(f"Find the cost of 1 {sing}.", f"{money(price * k)} {DIV} {k} = {money(price)}")
    if level == 1:
        m = rng.choice([x for x in range(2, 12) if x != k])
        text = p(f"{k} {plur} cost {money(price * k)}.", f"How much do {m} {plur} cost?")
        key = proportional(k, price * k, m)
        steps = [one, Step(f"Find the cost of {m} {plur}.", f"{m} {TIMES} {money(price)} = {money(key)}")]
        return Question(text, [Part(key=num(key), unit_before="$")], solution=Solution(steps, [key]))
    if level == 2:
        budget = price * rng.randint(9, 20)
        text = p(f"{k} {plur} cost {money(price * k)}.",
                 f"{buyer} has {money(budget)}. How many {plur} can {he} buy with it?")
        key = int(Fraction(budget) / proportional(k, price * k, 1))
        steps = [one, Step(f"Find how many lots of {money(price)} make {money(budget)}.",
                           f"{money(budget)} {DIV} {money(price)} = {key}")]
        return Question(text, [Part(key=num(key), unit=plur)], solution=Solution(steps, [key]))
    # Two items: one told by proportion, the second from the total.
    (s2, p2, (lo2, hi2)) = rng.choice([it for it in SHOP_ITEMS if it[0] != sing])
    price2 = rng.randint(lo2, hi2 + 2)
    m, j = rng.randint(2, 6), rng.randint(2, 5)
    if m == k:
        m += 1
    total = price * m + price2 * j
    text = p(f"{k} {plur} cost {money(price * k)}.",
             f"{buyer} bought {m} {plur} and {j} {p2}. {_cap(he)} paid {money(total)} altogether.",
             f"How much did one {s2} cost?")
    key = (Fraction(total) - proportional(k, price * k, m)) / j
    steps = [one,
             Step(f"Find the cost of the {m} {plur}.", f"{m} {TIMES} {money(price)} = {money(price * m)}"),
             Step(f"The rest of the money paid for the {j} {p2}.",
                  f"{money(total)} {MINUS} {money(price * m)} = {money(price2 * j)}"),
             Step(f"Find the cost of 1 {s2}.", f"{money(price2 * j)} {DIV} {j} = {money(key)}")]
    return Question(text, [Part(key=num(key), unit_before="$")], solution=Solution(steps, [key]))


TOWNS = ["Ashford", "Bayview", "Cedar Hill", "Dunmore", "Elmwood", "Fairfield", "Glenbrook", "Hilltop"]


@family("ratio.map-scale", TOPIC, ["N"], levels=(1, 2, 3))
def map_scale(rng, level, slots):
    towns = [nb(*t.split()) for t in rng.sample(TOWNS, 2)]
    per_cm = rng.choice([2, 4, 5, 10, 20, 25])
    stands = f"On a map, {qty(1, 'cm')} stands for {qty(per_cm, 'km')}."
    if level == 1:
        cm = rng.randint(3, 12)
        real = proportional(1, per_cm, cm)
        text = p(stands, f"The distance between {towns[0]} and {towns[1]} on the map is {qty(cm, 'cm')}.",
                 "What is the real distance between the two towns?")
        steps = [Step(f"Each {qty(1, 'cm')} on the map stands for {qty(per_cm, 'km')}.",
                      f"{cm} {TIMES} {per_cm} = {qty(n(real), 'km')}")]
        return Question(text, [Part(key=num(real), unit="km")], solution=Solution(steps, [real]))
    if level == 2:
        cm = Fraction(rng.randint(5, 29), 2)
        real = proportional(1, per_cm, cm)
        if rng.random() < 0.5:
            text = p(stands, f"The real distance between {towns[0]} and {towns[1]} is {qty(n(real), 'km')}.",
                     "How far apart are the two towns on the map?")
            steps = [Step(f"Each {qty(per_cm, 'km')} is {qty(1, 'cm')} on the map.",
                          f"{n(real)} {DIV} {per_cm} = {qty(n(cm), 'cm')}")]
            return Question(text, [Part(key=num(proportional(per_cm, 1, real)), unit="cm")],
                            solution=Solution(steps, [cm]))
        text = p(f"On a map, {qty(2, 'cm')} stand for {qty(2 * per_cm, 'km')}.",
                 f"The distance between {towns[0]} and {towns[1]} on the map is {qty(n(cm), 'cm')}.",
                 "What is the real distance between the two towns?")
        steps = [Step(f"Find what {qty(1, 'cm')} stands for.", f"{2 * per_cm} {DIV} 2 = {qty(per_cm, 'km')}"),
                 Step(f"The towns are {qty(n(cm), 'cm')} apart on the map.",
                      f"{n(cm)} {TIMES} {per_cm} = {qty(n(real), 'km')}")]
        return Question(text, [Part(key=num(proportional(2, 2 * per_cm, cm)), unit="km")],
                        solution=Solution(steps, [real]))
    # A scale written as a ratio: centimetres on the map to centimetres on the ground.
    scale = rng.choice([100000, 200000, 250000, 500000])
    cm = rng.randint(3, 14) if scale != 250000 else rng.choice([4, 8, 12, 6, 10])
    text = p(f"The scale of a map is {rt(1, scale)}.",
             f"On the map, {towns[0]} and {towns[1]} are {qty(cm, 'cm')} apart.",
             "What is the real distance between the two towns in kilometres?")
    real_cm = proportional(1, scale, cm)
    key = real_cm / 100000
    steps = [Step(f"The scale {rt(1, scale)} means {qty(1, 'cm')} on the map stands for "
                  f"{qty(n(scale), 'cm')} on the ground.", f"{cm} {TIMES} {n(scale)} = {qty(n(real_cm), 'cm')}"),
             Step(f"Change centimetres to kilometres: {qty(100, 'cm')} = {qty(1, 'm')} and "
                  f"{qty(n(1000), 'm')} = {qty(1, 'km')}, so {qty(n(100000), 'cm')} = {qty(1, 'km')}.",
                  f"{n(real_cm)} {DIV} {n(100000)} = {qty(n(key), 'km')}")]
    return Question(text, [Part(key=num(key), unit="km")], solution=Solution(steps, [key]))


MIXES = [  # (drink, the part that gives the taste, what it is mixed with, the strongest)
    ("orange drink", "orange syrup", "water", "the strongest taste of orange"),
    ("lime drink", "lime syrup", "water", "the strongest taste of lime"),
    ("paint", "blue paint", "white paint", "the darkest blue"),
    ("fruit punch", "mango juice", "soda water", "the strongest taste of mango"),
]
JUGS = ["A", "B", "C", "D"]


@family("ratio.compare-mixtures", TOPIC, ["Q"], levels=(1, 2))
def compare_mixtures(rng, level, slots):
    drink, base, other, strongest = rng.choice(MIXES)
    options = [f"Jug {j}" for j in JUGS]
    if level == 1:
        return _matching_jug(rng, drink, base, other, options)
    while True:
        mixes = [_coprime_pair(rng, 1, 9) for _ in range(4)]
        totals = [f + o for f, o in mixes]
        common = 1
        for t in totals:
            common = lcm(common, t)
        strength = [Fraction(f, f + o) for f, o in mixes]
        # Each wrong jug is the one a real slip picks: the most parts of the
        # base, the fewest of the other, or the largest fraction of the other.
        picks = [max(range(4), key=strength.__getitem__), max(range(4), key=lambda i: mixes[i][0]),
                 min(range(4), key=lambda i: mixes[i][1]), min(range(4), key=strength.__getitem__)]
        unique = (len(set(strength)) == 4 and len({f for f, _ in mixes}) == 4
                  and len({o for _, o in mixes}) == 4)
        if unique and len(set(picks)) == 4 and common <= 60:
            break
    best, most, fewest, weakest = picks
    rows = [[f"Jug {lab}", rt(f, o)] for lab, (f, o) in zip(JUGS, mixes)]
    text = (p(f"Four jugs of {drink} are made by mixing {base} and {other}.",
              f"The table gives the ratio of {base} to {other} in each jug.")
            + table(["Jug", ratio_of(_cap(base), other)], rows))
    slips = {options[most]: f"picks the jug with the most parts of {base}, {mixes[most][0]}, without comparing "
                            f"them with the parts of {other}",
             options[fewest]: f"picks the jug with the fewest parts of {other}, {mixes[fewest][1]}, without "
                              f"comparing them with the parts of {base}",
             options[weakest]: f"works out the fraction of each jug that is {other}, not {base}, and picks "
                               "the largest"}
    part = choice_in_order(options, options[best], slips, f"Which jug has {strongest}?")
    steps = [Step(f"Find what fraction of each jug is {base}: its parts of {base} out of all its parts.",
                  "; ".join(f"Jug {lab}: {frac(f, f + o)}" for lab, (f, o) in zip(JUGS, mixes))),
             Step(f"Write the fractions with the same denominator, {common}, and compare them.",
                  "; ".join(f"Jug {lab}: {frac(f * common // (f + o), common)}"
                            for lab, (f, o) in zip(JUGS, mixes)))]
    f, o = mixes[best]
    why = (f"{base.capitalize()} is {frac(f * common // (f + o), common)} of Jug {JUGS[best]}, more than in any "
           f"other jug, so Jug {JUGS[best]} has {strongest}.")
    return Question(text, [part], solution=Solution(steps, [options[best]], why=why))


def _matching_jug(rng, drink, base, other, options):
    """Which jug's amounts are in a given ratio: the others are the ratio
    turned round, taken as part to whole, or with the same number added."""
    while True:
        a, b = _coprime_pair(rng, 1, 5)
        e = rng.choice([1, 2])
        sizes = [rng.choice([40, 50, 60, 75, 80, 120, 150]) for _ in range(4)]
        jugs = [(a * sizes[0], b * sizes[0]), (b * sizes[1], a * sizes[1]),
                (a * sizes[2], (a + b) * sizes[2]), ((a + e) * sizes[3], (b + e) * sizes[3])]
        if len(set(jugs)) == 4 and max(max(j) for j in jugs) <= 1000 and hcf(*jugs[0]) > 1:
            break
    slips = [None,
             f"reads the ratio the wrong way round: this jug has {base} to {other} in the ratio {rt(b, a)}",
             f"mixes up the {other} with the whole mixture: this jug has {a} parts of {base} to {a + b} of {other}",
             f"adds {e} to both terms of {rt(a, b)}, which gives {rt(a + e, b + e)}, a different ratio"]
    order = list(range(4))
    rng.shuffle(order)
    jugs = [jugs[i] for i in order]
    slips = {options[k]: slips[i] for k, i in enumerate(order) if slips[i]}
    right = options[order.index(0)]
    rows = [[f"Jug {lab}", n(s), n(o)] for lab, (s, o) in zip(JUGS, jugs)]
    text = (p(f"Four jugs of {drink} are made by mixing {base} and {other}.",
              f"The table gives the amounts in each jug.")
            + table(["Jug", f"{_cap(base)} (m\u2113)", f"{_cap(other)} (m\u2113)"], rows))
    part = choice_in_order(options, right, slips, f"Which jug has {base} and {other} in the ratio {rt(a, b)}?")
    steps = [Step("Simplify the amounts in each jug: divide both by the greatest number that divides them exactly.",
                  "<br/>".join(f"Jug {lab}: {rt(s, o)} = {rt(*simplest(s, o))}" for lab, (s, o) in zip(JUGS, jugs)))]
    why = f"Only {right} simplifies to {rt(a, b)}."
    return Question(text, [part], solution=Solution(steps, [right], why=why))
