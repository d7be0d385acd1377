"""Topic 8: Ratio and Proportions.

Each family draws its values, writes the page from them and computes the
key from the values shown with a solver below; the solvers are tested
against worked examples in tests/test_ratio.py.
"""

from fractions import Fraction
from math import gcd

from ..contexts import COUNTABLES, names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, fraction_key, num, ratio_key
from ..svg import GREY, LIGHT, Svg
from ..text import frac, money, n, p, table

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


def _whole(x):
    x = Fraction(x)
    if x.denominator != 1 or x <= 0:
        raise ValueError(f"{x} is not a positive whole number")
    return int(x)


# The colon of a ratio between no-break spaces: a ratio never splits over two lines.
NBC = "\u00a0:\u00a0"


def rt(*terms):
    return NBC.join(n(t) for t in terms)


def _coprime_pair(rng, lo=1, hi=9, unequal=True):
    while True:
        a, b = rng.randint(lo, hi), rng.randint(lo, hi)
        if gcd(a, b) == 1 and (a != b or not unequal):
            return a, b


# ---------------------------------------------------------------- pictures

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


def bar_model(rows, labels):
    """A ratio model: rows of (name, units); labels maps a row index to the
    text of the bracket over that whole bar ("45", "?")."""
    most = max(u for _, u in rows)
    unit = min(48, 360 // most)
    # Room for the names: 11 px a letter holds "Emma" and "Samuel" at 15 px.
    left = 20 + max(len(name) for name, _ in rows) * 11
    height = 30
    gap = 40 if labels else 18
    svg = Svg(left + most * unit + 30, 22 + len(rows) * (height + gap), font=15)
    for i, (name, units) in enumerate(rows):
        y = 10 + gap + i * (height + gap)
        svg.text(left - 10, y + height / 2 + 5, name, anchor="end")
        for k in range(units):
            svg.rect(left + k * unit, y, unit, height, fill=LIGHT, width=1.8)
        if i in labels:
            x1, x2 = left, left + units * unit
            svg.line(x1, y - 6, x2, y - 6, width=1.3)
            svg.line(x1, y - 12, x1, y - 2, width=1.3)
            svg.line(x2, y - 12, x2, y - 2, width=1.3)
            svg.text((x1 + x2) / 2, y - 12, labels[i], bold=True)
    return svg.render()


# ---------------------------------------------------------------- families

@family("ratio.picture", TOPIC, ["R", "Q"], levels=(1, 2))
def picture(rng, level, slots):
    if rng.random() < 0.5 or slots[0].kind == "Q":
        kinds = rng.sample(["circle", "triangle", "square"], 3 if level == 2 and slots[0].kind == "R" else 2)
        while True:
            counts = [rng.randint(2, 12) for _ in kinds]
            if sum(counts) <= 24 and len(set(counts)) == len(counts) and gcd(*counts[:2]) > 1:
                break
        fig = Figure(shapes_figure(rng, counts, kinds),
                     ", ".join(f"{c} {SHAPE_WORDS[k]}" for c, k in zip(counts, kinds)) + ", mixed together")
        words = [SHAPE_WORDS[k] for k in kinds]
        if slots[0].kind == "Q":
            a, b = simplest(*counts)
            # Swapped, part to whole, and the counts of the wrong pair.
            wrong = [rt(b, a), rt(a, a + b), rt(b, a + b), rt(counts[1], sum(counts))]
            opts = [w for w in dict.fromkeys(wrong) if w != rt(a, b)]
            part = choice(rng, rt(a, b), opts[:3],
                          prompt=f"What is the ratio of the number of {words[0]} to the number "
                                 f"of {words[1]}, in its simplest form?")
            return Question(p("Look at the shapes below.") + "<p class=\"figure-row\">{fig1}</p>", [part], [fig])
        if len(kinds) == 3:
            ask = (f"What is the ratio of the number of {words[0]} to the number of {words[1]} "
                   f"to the number of {words[2]}?")
        elif level == 1:
            ask = f"What is the ratio of the number of {words[0]} to the number of {words[1]}?"
        else:
            ask = f"What is the ratio of the number of {words[1]} to the total number of shapes?"
            return Question(p("Look at the shapes below.") + "<p class=\"figure-row\">{fig1}</p>",
                            [Part(key=ratio_key(counts[1], sum(counts)), prompt=ask)], [fig])
        return Question(p("Look at the shapes below.") + "<p class=\"figure-row\">{fig1}</p>",
                        [Part(key=ratio_key(*counts), prompt=ask)], [fig])
    rows, cols = rng.choice([(3, 6), (4, 6), (3, 8), (4, 8), (4, 5), (2, 9), (3, 9)])
    shaded = rng.randint(2, rows * cols - 2)
    if gcd(shaded, rows * cols) == 1 and rng.random() < 0.7:
        raise ValueError("prefer a ratio that simplifies")
    fig = Figure(grid_figure(rng, rows, cols, shaded),
                 f"A rectangle of {rows * cols} equal squares; {shaded} of them are shaded")
    unshaded = rows * cols - shaded
    if level == 1:
        ask, key = "What is the ratio of the number of shaded squares to the number of unshaded squares?", \
            ratio_key(shaded, unshaded)
    else:
        ask, key = ("What is the ratio of the number of unshaded squares to the total number of squares?",
                    ratio_key(unshaded, rows * cols))
    return Question(p("The figure is made of equal squares.") + "<p class=\"figure-row\">{fig1}</p>",
                    [Part(key=key, prompt=ask)], [fig])


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


@family("ratio.story-simplest", TOPIC, ["R"], levels=(1, 2))
def story_simplest(rng, level, slots):
    if level == 1:
        x, y, _, story = rng.choice(STORY_PAIRS)
        a, b = _coprime_pair(rng, 1, 9)
        k = rng.randint(3, 12)
        text = p(story.format(a=a * k, b=b * k),
                 f"What is the ratio of the number of {x} to the number of {y}?")
        return Question(text, [Part(key=ratio_key(a * k, b * k))])
    if rng.random() < 0.5:
        x, y, where, story = rng.choice(STORY_PAIRS)
        a, b = _coprime_pair(rng, 2, 9)
        k = rng.randint(3, 9)
        # Part to whole, or the other way round: the pupil must find the total first.
        if rng.random() < 0.5:
            ask = f"What is the ratio of the total number of {x} and {y} to the number of {y}?"
            key = ratio_key(a * k + b * k, b * k)
        else:
            ask = f"What is the ratio of the number of {x} to the total number of {x} and {y}?"
            key = ratio_key(a * k, a * k + b * k)
        return Question(p(story.format(a=a * k, b=b * k), ask), [Part(key=key)])
    big, small, factor, tha, thb = rng.choice(MEASURE_PAIRS)
    while True:
        a, b = _coprime_pair(rng, 2, 9)
        step = rng.choice([5, 10, 20, 25]) if factor == 100 else rng.choice([50, 100, 125, 250])
        va, vb = a * step, b * step
        if va % factor and va > factor and vb < factor:
            break
    shown_a = f"{n(Fraction(va, factor))} {big}"
    shown_b = f"{n(vb)} {small}"
    if big == "km":
        pa, pb = names(rng, 2)
        text = p(f"{pa} walks {shown_a} to school. {pb} walks {shown_b} to school.",
                 f"What is the ratio of the distance {pa} walks to the distance {pb} walks?")
    else:
        word = {"kg": "mass", "\u2113": "volume", "m": "length"}[big]
        text = p(f"The {word} of {tha} is {shown_a}. The {word} of {thb} is {shown_b}.",
                 f"What is the ratio of the {word} of {tha} to the {word} of {thb}?")
    # Both in the smaller unit before the ratio is simplified.
    return Question(text, [Part(key=ratio_key(Fraction(va, factor) * factor, vb))])


@family("ratio.equivalent", TOPIC, ["N"], levels=(1, 2))
def equivalent(rng, level, slots):
    a, b = _coprime_pair(rng, 2, 9)
    k = rng.randint(3, 12)
    terms = [a, b, a * k, b * k]
    if level == 2:
        # Neither side is in simplest form, so a pupil must simplify first.
        j = rng.randint(2, 5)
        while j == k:
            j = rng.randint(2, 5)
        terms = [a * j, b * j, a * k, b * k]
    gap = rng.randint(0, 3) if level == 2 else rng.choice([2, 3])
    shown = [("?" if i == gap else n(t)) for i, t in enumerate(terms)]
    given = [None if i == gap else t for i, t in enumerate(terms)]
    key = missing_term(*given)
    return Question(p(f"Find the missing number: &#160; {NBC.join(shown[:2])} = {NBC.join(shown[2:])}"),
                    [Part(key=num(key))])


@family("ratio.choose-equivalent", TOPIC, ["Q"], levels=(1, 2))
def choose_equivalent(rng, level, slots):
    a, b = _coprime_pair(rng, 2, 9)
    if level == 1:
        k = rng.randint(3, 9)
        x, y = a * k, b * k
        j = rng.choice([j for j in (1, 2, 3) if j != k])
        right = rt(a * j, b * j)
        d = rng.randint(1, min(x, y) - 1)
        # Wrong ways: the terms swapped, the same number taken from both, one term only divided.
        wrong = [rt(b * j, a * j), rt(x - d, y - d), rt(a, y), rt(a + 1, b + 1)]
        part = choice(rng, right, [w for w in dict.fromkeys(wrong) if w != right][:3],
                      prompt=f"Which of these ratios is equal to {rt(x, y)}?")
        return Question("", [part])
    x, y, where, story = rng.choice(STORY_PAIRS)
    a, b = _coprime_pair(rng, 2, 9)
    want = rng.choice(["part", "whole"])
    if want == "part":
        correct = rt(b, a + b)
        wrong = [rt(a, a + b), rt(b, a), rt(a + b, b)]
        ask = f"What is the ratio of the number of {y} to the total number of {x} and {y}?"
    else:
        correct = rt(a + b, a)
        wrong = [rt(a, a + b), rt(a + b, b), rt(b, a)]
        ask = f"What is the ratio of the total number of {x} and {y} to the number of {x}?"
    part = choice(rng, correct, wrong, prompt=ask)
    return Question(p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}."), [part])


@family("ratio.three-terms", TOPIC, ["R"], levels=(2, 3))
def three_terms(rng, level, slots):
    people = names(rng, 3)
    sing, plur = rng.choice(COUNTABLES)
    if level == 2:
        while True:
            base = [rng.randint(1, 7) for _ in range(3)]
            if len(set(base)) == 3 and gcd(gcd(*base[:2]), base[2]) == 1:
                break
        k = rng.randint(3, 9)
        vals = [t * k for t in base]
        text = p(f"{people[0]} has {vals[0]} {plur}, {people[1]} has {vals[1]} {plur} and "
                 f"{people[2]} has {vals[2]} {plur}.",
                 f"What is the ratio of the number of {plur} {people[0]} has to the number "
                 f"{people[1]} has to the number {people[2]} has?")
        return Question(text, [Part(key=ratio_key(*vals))])
    if rng.random() < 0.5:
        ab = _coprime_pair(rng, 1, 7)
        bc = _coprime_pair(rng, 1, 7)
        if ab[1] == bc[0]:
            raise ValueError("want the middle terms to differ")
        text = p(f"The ratio of {people[0]}\u2019s {plur} to {people[1]}\u2019s {plur} is {rt(*ab)}.",
                 f"The ratio of {people[1]}\u2019s {plur} to {people[2]}\u2019s {plur} is {rt(*bc)}.",
                 f"Find the ratio of {people[0]}\u2019s {plur} to {people[1]}\u2019s {plur} to "
                 f"{people[2]}\u2019s {plur}.")
        return Question(text, [Part(key=ratio_key(*combine(ab, bc)))])
    # Told as times as many: B = m * C, A = k * B.
    m, k = rng.randint(2, 4), rng.randint(2, 5)
    text = p(f"{people[0]} has {k} times as many {plur} as {people[1]}.",
             f"{people[1]} has {m} times as many {plur} as {people[2]}.",
             f"Find the ratio of the number of {plur} {people[2]} has to the number {people[1]} has "
             f"to the number {people[0]} has.")
    return Question(text, [Part(key=ratio_key(*combine((1, m), (1, k))))])


NAMED_ROWS = [("boys", "girls"), ("apples", "pears"), ("red pens", "blue pens")]


@family("ratio.bar-model", TOPIC, ["N", "R", "Q", "F"], levels=(1, 2))
def bar_model_question(rng, level, slots):
    a, b = _coprime_pair(rng, 1, 7)
    unit = rng.randint(3, 15)
    pa, pb = names(rng, 2)
    sing, plur = rng.choice(COUNTABLES)
    rows = [(pa, a), (pb, b)]
    if slots[0].kind == "Q":
        fig = Figure(bar_model(rows, {}), f"A model: {pa}'s bar has {a} equal units, {pb}'s bar has {b}")
        text = p(f"The model shows the number of {plur} {pa} and {pb} have.") + "<p class=\"figure-row\">{fig1}</p>"
        if level == 1:
            part = choice(rng, rt(a, b), [rt(b, a), rt(a, a + b), rt(a + b, b)],
                          prompt=f"What is the ratio of {pa}\u2019s {plur} to {pb}\u2019s {plur}?")
        else:
            part = choice(rng, rt(b, a + b), [rt(a, a + b), rt(b, a), rt(a + b, b)],
                          prompt=f"What is the ratio of {pb}\u2019s {plur} to the total number of {plur}?")
        return Question(text, [part], [fig])
    if slots[0].kind == "F":
        fig = Figure(bar_model(rows, {}), f"A model: {pa}'s bar has {a} equal units, {pb}'s bar has {b}")
        text = (p(f"The model shows the number of {plur} {pa} and {pb} have.") + "<p class=\"figure-row\">{fig1}</p>"
                + p(f"What fraction of the {plur} altogether belong to {pb}?"))
        return Question(text, [Part(key=fraction_key(part_fraction([a, b], 1)))], [fig])
    if slots[0].kind == "R":
        fig = Figure(bar_model(rows, {}), f"A model: {pa}'s bar has {a} equal units, {pb}'s bar has {b}")
        text = p(f"The model shows the number of {plur} {pa} and {pb} have.") + "<p class=\"figure-row\">{fig1}</p>"
        if level == 1:
            ask = f"What is the ratio of {pb}\u2019s {plur} to {pa}\u2019s {plur}?"
            key = ratio_key(b, a)
        else:
            ask = f"What is the ratio of {pa}\u2019s {plur} to the total number of {plur}?"
            key = ratio_key(a, a + b)
        return Question(text, [Part(key=key, prompt=ask)], [fig])
    known = rng.randint(0, 1)
    if level == 1:
        labels = {known: n(rows[known][1] * unit), 1 - known: "?"}
        fig = Figure(bar_model(rows, labels),
                     f"A model: {pa}'s bar has {a} equal units, {pb}'s bar has {b}; "
                     f"{rows[known][0]} has {rows[known][1] * unit}")
        text = (p(f"The model shows the number of {plur} {pa} and {pb} have.") + "<p class=\"figure-row\">{fig1}</p>"
                + p(f"How many {plur} does {rows[1 - known][0]} have?"))
        key = proportional(rows[known][1], rows[known][1] * unit, rows[1 - known][1])
        return Question(text, [Part(key=num(key), unit=plur)], [fig])
    if a == b:
        raise ValueError("no difference to show")
    big, small = (0, 1) if a > b else (1, 0)
    diff = abs(a - b) * unit
    fig = Figure(bar_model(rows, {}), f"A model: {pa}'s bar has {a} equal units, {pb}'s bar has {b}")
    text = (p(f"The model shows the number of {plur} {pa} and {pb} have.") + "<p class=\"figure-row\">{fig1}</p>"
            + p(f"{rows[big][0]} has {diff} more {plur} than {rows[small][0]}.",
                f"How many {plur} do they have altogether?"))
    key = total_from_difference([a, b], big, small, diff)
    return Question(text, [Part(key=num(key), unit=plur)], [fig])


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
        return Question(text, [Part(key=num(proportional(a, b, a * k)), unit=y)])
    text = p(f"For every {n(a)} {x} there are {n(b)} {y} {what}.",
             f"There are {n((a + b) * k)} {x} and {y} altogether. How many {y} are there?")
    return Question(text, [Part(key=num(share((a + b) * k, [a, b])[1]), unit=y)])


@family("ratio.share", TOPIC, ["N"], levels=(1, 2, 3))
def share_question(rng, level, slots):
    pa, pb, pc = names(rng, 3)
    if level == 1:
        a, b = _coprime_pair(rng, 1, 9)
        total = (a + b) * rng.randint(3, 20)
        who = rng.randint(0, 1)
        text = p(f"{pa} and {pb} share {money(total)} in the ratio {rt(a, b)}.",
                 f"How much does {[pa, pb][who]} get?")
        return Question(text, [Part(key=num(share(total, [a, b])[who]), unit_before="$")])
    if level == 2:
        while True:
            r = [rng.randint(1, 6) for _ in range(3)]
            if len(set(r)) == 3 and gcd(gcd(*r[:2]), r[2]) == 1:
                break
        total = sum(r) * rng.randint(4, 15)
        sing, plur = rng.choice(COUNTABLES)
        if rng.random() < 0.5:
            who = rng.randint(0, 2)
            ask = f"How many {plur} does {[pa, pb, pc][who]} get?"
            key = share(total, r)[who]
        else:
            hi, lo = max(range(3), key=r.__getitem__), min(range(3), key=r.__getitem__)
            ask = f"How many more {plur} does {[pa, pb, pc][hi]} get than {[pa, pb, pc][lo]}?"
            s = share(total, r)
            key = s[hi] - s[lo]
        text = p(f"{n(total)} {plur} are shared among {pa}, {pb} and {pc} in the ratio {rt(*r)}.", ask)
        return Question(text, [Part(key=num(key), unit=plur)])
    a, b = _coprime_pair(rng, 2, 9)
    unit = rng.randint(6, 25)
    her = "her" if pronoun(pa) == "she" else "his"
    if rng.random() < 0.5:
        given = Fraction(a * unit)
        text = p(f"{pa} and {pb} shared some prize money in the ratio {rt(a, b)}.",
                 f"{pa} gave half of {her} share to {pc}. {pc} received {money(given)}.",
                 f"How much prize money did {pa} and {pb} share?")
        key = total_from_part([a, b], 0, 2 * given)
        return Question(text, [Part(key=num(key), unit_before="$")])
    if a > b:
        a, b = b, a
    diff = (b - a) * unit
    spent = rng.randint(a * unit // 4 + 1, a * unit * 3 // 4)
    text = p(f"{pa} and {pb} shared some money in the ratio {rt(a, b)}. {pb} received "
             f"{money(diff)} more than {pa}.",
             f"{pa} then spent {money(spent)} of {her} share. How much money did {pa} have left?")
    key = share(total_from_difference([a, b], 1, 0, diff), [a, b])[0] - spent
    return Question(text, [Part(key=num(key), unit_before="$")])


GROUPS = [  # (first, second, whole, where)
    ("boys", "girls", "pupils", "in a school choir"),
    ("adults", "children", "people", "at a fun fair"),
    ("red marbles", "green marbles", "marbles", "in a bag"),
    ("cats", "dogs", "animals", "at an animal shelter"),
    ("story books", "picture books", "books", "in a book corner"),
]
PEOPLE = {"boys", "adults", "cats"}


@family("ratio.total-from-part", TOPIC, ["N"], levels=(2, 3))
def total_from_part_question(rng, level, slots):
    x, y, whole, where = rng.choice(GROUPS)
    a, b = _coprime_pair(rng, 2, 9)
    unit = rng.randint(4, 16)
    if level == 2:
        known = rng.randint(0, 1)
        value = [a, b][known] * unit
        text = p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}.",
                 f"There are {n(value)} {[x, y][known]}. How many {whole} are there altogether?")
        return Question(text, [Part(key=num(total_from_part([a, b], known, value)), unit=whole)])
    if a == b:
        raise ValueError("no difference")
    big, small = (0, 1) if a > b else (1, 0)
    diff = abs(a - b) * unit
    ask = rng.choice(["total", "other"])
    text = p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}.",
             f"There are {n(diff)} more {[x, y][big]} than {[x, y][small]}.")
    total = total_from_difference([a, b], big, small, diff)
    if ask == "total":
        return Question(text + p(f"How many {whole} are there altogether?"),
                        [Part(key=num(total), unit=whole)])
    return Question(text + p(f"How many {[x, y][small]} are there?"),
                    [Part(key=num(share(total, [a, b])[small]), unit=[x, y][small])])


@family("ratio.fractions", TOPIC, ["F", "R", "N"], levels=(2, 3))
def ratio_fractions(rng, level, slots):
    kind = slots[0].kind
    x, y, whole, where = rng.choice(GROUPS)
    a, b = _coprime_pair(rng, 1, 9)
    if kind == "F":
        if rng.random() < 0.5:
            text = p(f"The ratio of the number of {x} to the number of {y} {where} is {rt(a, b)}.",
                     f"What fraction of the {whole} are {y}?")
            return Question(text, [Part(key=fraction_key(part_fraction([a, b], 1)))])
        pa, pb = names(rng, 2)
        a, b = sorted((a, b))
        text = p(f"The ratio of {pa}\u2019s savings to {pb}\u2019s savings is {rt(a, b)}.",
                 f"What fraction of {pb}\u2019s savings are {pa}\u2019s savings?")
        return Question(text, [Part(key=fraction_key(part_fraction([a, b], 0, of=1)))])
    if kind == "R":
        d = a + b
        if level == 2:
            text = p(f"{frac(a, d)} of the {whole} {where} are {x} and the rest are {y}.",
                     f"What is the ratio of the number of {x} to the number of {y}?")
            return Question(text, [Part(key=ratio_key(a, b))])
        pa, pb = names(rng, 2)
        if b == 1 or a == b:
            raise ValueError("a fraction that is not proper")
        lo, hi = sorted((a, b))
        text = p(f"{pa}\u2019s money is {frac(lo, hi)} of {pb}\u2019s money.",
                 f"What is the ratio of {pb}\u2019s money to the total amount of money they have?")
        return Question(text, [Part(key=ratio_key(hi, lo + hi))])
    unit = rng.randint(3, 12)
    d = a + b
    if level == 2:
        text = p(f"{frac(a, d)} of the {whole} {where} are {x} and the rest are {y}.",
                 f"There are {n(b * unit)} {y}. How many {x} are there?")
        return Question(text, [Part(key=num(proportional(b, b * unit, a)), unit=x)])
    if a == b:
        raise ValueError("no difference")
    big = x if a > b else y
    small = y if a > b else x
    diff = abs(a - b) * unit
    text = p(f"{frac(a, d)} of the {whole} {where} are {x} and the rest are {y}.",
             f"There are {n(diff)} more {big} than {small}. How many {whole} are there altogether?")
    return Question(text, [Part(key=num(total_from_difference([a, b], 0 if a > b else 1,
                                                              1 if a > b else 0, diff)), unit=whole)])


@family("ratio.transfer", TOPIC, ["R", "N"], levels=(2, 3))
def transfer_question(rng, level, slots):
    pa, pb = names(rng, 2)
    sing, plur = rng.choice(COUNTABLES)
    if slots[0].kind == "R" and level == 3:
        while True:
            q = rng.choice([3, 4, 5])
            va, vb = q * rng.randint(4, 15), rng.randint(10, 60)
            give = va // q
            if gcd(va - give, vb + give) > 1 and va - give != vb + give:
                break
        text = p(f"{pa} had {va} {plur} and {pb} had {vb} {plur}.",
                 f"{pa} gave {frac(1, q)} of {possessive_of(pa)} {plur} to {pb}.",
                 f"What is the ratio of the number of {plur} {pa} had to the number {pb} had in the end?")
        return Question(text, [Part(key=ratio_key(va - va / Fraction(q), vb + va / Fraction(q)))])
    if slots[0].kind == "R":
        while True:
            va, vb = rng.randint(20, 90), rng.randint(10, 60)
            give = rng.randint(2, 20)
            after = (va - give, vb + give)
            if after[0] > 0 and gcd(*after) > 1 and gcd(va, vb) < gcd(*after) and after[0] != after[1]:
                break
        text = p(f"{pa} had {va} {plur} and {pb} had {vb} {plur}. {pa} gave {give} {plur} to {pb}.",
                 f"What is the ratio of the number of {plur} {pa} had to the number {pb} had in the end?")
        return Question(text, [Part(key=ratio_key(va - give, vb + give))])
    # Unchanged total: the units of both ratios are made to match.
    while True:
        a, b = _coprime_pair(rng, 2, 9)
        c, d = _coprime_pair(rng, 1, 9)
        if Fraction(c, c + d) < Fraction(a, a + b):
            break
    total = (a + b) * (c + d) // gcd(a + b, c + d) * rng.randint(1, 4)
    amount = total * a // (a + b) - total * c // (c + d)
    if total > 400 or amount < 3:
        raise ValueError("numbers too big or too small")
    ask = rng.choice(["total", "before"])
    text = p(f"The ratio of the number of {plur} {pa} had to the number {pb} had was {rt(a, b)}.",
             f"After {pa} gave {amount} {plur} to {pb}, the ratio became {rt(c, d)}.")
    t = transfer((a, b), (c, d), amount)
    if ask == "total":
        return Question(text + p(f"How many {plur} did they have altogether?"),
                        [Part(key=num(t), unit=plur)])
    return Question(text + p(f"How many {plur} did {pb} have at first?"),
                    [Part(key=num(share(t, [a, b])[1]), unit=plur)])


@family("ratio.one-changes", TOPIC, ["N"], levels=(3,))
def one_changes_question(rng, level, slots):
    x, y, whole, where = rng.choice(GROUPS)
    while True:
        a, b = _coprime_pair(rng, 1, 7)
        c, d = _coprime_pair(rng, 1, 7)
        if Fraction(c, d) != Fraction(a, b):
            break
    lcm_bd = b * d // gcd(b, d)
    big_b = lcm_bd * rng.randint(1, 6)
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
    ask = rng.choice(["x", "y", "total"])
    if ask == "x":
        return Question(text + p(f"How many {x} were there at first?"), [Part(key=num(pa), unit=x)])
    if ask == "y":
        return Question(text + p(f"How many {y} were there?"), [Part(key=num(pb), unit=y)])
    return Question(text + p(f"How many {whole} were there in the end?"),
                    [Part(key=num(pa + change + pb), unit=whole)])


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
    text = p(f"The ratio of {child}\u2019s age to {possessive_of(child)} {adult}\u2019s age is {rt(*now)}.",
             f"In {later} years\u2019 time, the ratio will be {rt(*then)}.")
    ages = same_change(now, then, later)
    if rng.random() < 0.5:
        return Question(text + p(f"How old is {child} now?"), [Part(key=num(ages[0]), unit="years old")])
    return Question(text + p(f"How old will {possessive_of(child)} {adult} be in {later} years\u2019 time?"),
                    [Part(key=num(ages[1] + later), unit="years old")])


def possessive_of(person):
    return "her" if pronoun(person) == "she" else "his"


RECIPES = [  # (dish, serves, [(ingredient, amount, unit)])
    ("pancakes", [("flour", 200, "g"), ("milk", 300, "m\u2113"), ("eggs", 2, "")]),
    ("fruit punch", [("orange juice", 400, "m\u2113"), ("apple juice", 250, "m\u2113"), ("lemonade", 150, "m\u2113")]),
    ("muffins", [("flour", 250, "g"), ("sugar", 100, "g"), ("butter", 120, "g")]),
    ("fried rice", [("rice", 300, "g"), ("peas", 90, "g"), ("eggs", 3, "")]),
]


@family("ratio.recipe", TOPIC, ["N"], levels=(1, 2, 3))
def recipe(rng, level, slots):
    dish, items = rng.choice(RECIPES)
    serves = rng.choice([4, 5, 6])
    if level == 3:
        # A recipe and an ingredient with a whole amount for one person.
        dish, items, serves = rng.choice([(d, it, s) for d, it in RECIPES for s in (4, 5, 6)
                                          if any(u and a % s == 0 for _, a, u in it)])
    cook = names(rng, 1)[0]
    rows = [[ing, f"{amt} {unit}".strip()] for ing, amt, unit in items]
    card = table(["Ingredient", f"For {serves} people"], rows)
    i = rng.randrange(len(items))
    if level == 3:
        i = rng.choice([j for j, (_, a, u) in enumerate(items) if u and a % serves == 0])
    ing, amt, unit = items[i]
    shown_unit = unit or ing
    if level == 1:
        want = serves * rng.randint(2, 4)
        text = (p(f"{cook} uses this recipe to make {dish} for {serves} people.") + card
                + p(f"How much {ing} does {pronoun(cook)} need to make {dish} for {want} people?"
                    if unit else f"How many {ing} does {pronoun(cook)} need for {want} people?"))
        return Question(text, [Part(key=num(proportional(serves, amt, want)), unit=shown_unit)])
    if level == 2:
        want = rng.choice([w for w in range(3, 13) if w != serves and w % serves and
                           (amt * w) % serves == 0] or [0])
        if not want:
            raise ValueError("no whole amount")
        text = (p(f"{cook} uses this recipe to make {dish} for {serves} people.") + card
                + p(f"How much {ing} is needed to make {dish} for {want} people?"
                    if unit else f"How many {ing} are needed for {want} people?"))
        return Question(text, [Part(key=num(proportional(serves, amt, want)), unit=shown_unit)])
    # The most people the stock of one ingredient allows.
    if not unit or amt % serves:
        raise ValueError("want a whole amount for one person")
    per = Fraction(amt, serves)
    have = amt * rng.randint(3, 6) + rng.randint(1, amt - 1)
    text = (p(f"{cook} uses this recipe to make {dish} for {serves} people.") + card
            + p(f"{pronoun(cook).capitalize()} has {n(have)} {unit} of {ing} and plenty of everything else.",
                f"What is the greatest number of people {pronoun(cook)} can make {dish} for?"))
    return Question(text, [Part(key=num(int(Fraction(have) / per)), unit="people")])


@family("ratio.unit-cost", TOPIC, ["N"], levels=(1, 2, 3))
def unit_cost(rng, level, slots):
    from ..contexts import SHOP_ITEMS
    sing, plur, (lo, hi) = rng.choice(SHOP_ITEMS)
    buyer = names(rng, 1)[0]
    price = Fraction(rng.randint(lo * 4, hi * 4), 4)
    k = rng.randint(3, 8)
    if level == 1:
        m = rng.choice([x for x in range(2, 12) if x != k])
        text = p(f"{k} {plur} cost {money(price * k)}.", f"How much do {m} {plur} cost?")
        return Question(text, [Part(key=num(proportional(k, price * k, m)), unit_before="$")])
    if level == 2:
        budget = price * rng.randint(9, 20)
        text = p(f"{k} {plur} cost {money(price * k)}.",
                 f"{buyer} has {money(budget)}. How many {plur} can {pronoun(buyer)} buy with it?")
        key = int(Fraction(budget) / proportional(k, price * k, 1))
        return Question(text, [Part(key=num(key), unit=plur)])
    # Two items: one told by proportion, the second from the total.
    (s2, p2, (lo2, hi2)) = rng.choice([it for it in SHOP_ITEMS if it[0] != sing])
    price2 = rng.randint(lo2, hi2 + 2)
    m, j = rng.randint(2, 6), rng.randint(2, 5)
    if m == k:
        m += 1
    total = price * m + price2 * j
    text = p(f"{k} {plur} cost {money(price * k)}.",
             f"{buyer} bought {m} {plur} and {j} {p2}. {pronoun(buyer).capitalize()} paid {money(total)} altogether.",
             f"How much did one {s2} cost?")
    key = (Fraction(total) - proportional(k, price * k, m)) / j
    return Question(text, [Part(key=num(key), unit_before="$")])


@family("ratio.map-scale", TOPIC, ["N"], levels=(1, 2, 3))
def map_scale(rng, level, slots):
    towns = rng.sample(["Ashford", "Bayview", "Cedar Hill", "Dunmore", "Elmwood", "Fairfield",
                        "Glenbrook", "Hilltop"], 3)
    per_cm = rng.choice([2, 4, 5, 10, 20, 25])
    if level == 1:
        cm = rng.randint(3, 12)
        text = p(f"On a map, 1 cm stands for {per_cm} km.",
                 f"The distance between {towns[0]} and {towns[1]} on the map is {cm} cm.",
                 "What is the real distance between the two towns?")
        return Question(text, [Part(key=num(proportional(1, per_cm, cm)), unit="km")])
    if level == 2:
        cm = Fraction(rng.randint(5, 29), 2)
        real = proportional(1, per_cm, cm)
        if rng.random() < 0.5:
            text = p(f"On a map, 1 cm stands for {per_cm} km.",
                     f"The real distance between {towns[0]} and {towns[1]} is {n(real)} km.",
                     "How far apart are the two towns on the map?")
            return Question(text, [Part(key=num(proportional(per_cm, 1, real)), unit="cm")])
        text = p(f"On a map, 2 cm stand for {2 * per_cm} km.",
                 f"The distance between {towns[0]} and {towns[1]} on the map is {n(cm)} cm.",
                 "What is the real distance between the two towns?")
        return Question(text, [Part(key=num(proportional(2, 2 * per_cm, cm)), unit="km")])
    # A scale written as a ratio: centimetres on the map to centimetres on the ground.
    scale = rng.choice([100000, 200000, 250000, 500000])
    cm = rng.randint(3, 14) if scale != 250000 else rng.choice([4, 8, 12, 6, 10])
    text = p(f"The scale of a map is {rt(1, scale)}.",
             f"On the map, {towns[0]} and {towns[1]} are {cm} cm apart.",
             "What is the real distance between the two towns in kilometres?")
    real_cm = proportional(1, scale, cm)
    return Question(text, [Part(key=num(real_cm / 100000), unit="km")])


@family("ratio.compare-mixtures", TOPIC, ["Q"], levels=(1, 2))
def compare_mixtures(rng, level, slots):
    drink, base = rng.choice([("orange drink", "orange syrup"), ("lime drink", "lime syrup"),
                              ("paint", "blue paint"), ("tea", "milk")])
    other = "white paint" if drink == "paint" else "water"
    word = {"paint": "the darkest blue"}.get(drink, f"the strongest taste of {base.split()[0]}")
    if level == 1:
        # The same amount of the other part: compare the first terms.
        w = rng.randint(4, 9)
        firsts = rng.sample([f for f in range(1, 10) if f != w], 4)
        mixes = [(f, w) for f in firsts]
    else:
        while True:
            mixes = [_coprime_pair(rng, 1, 9) for _ in range(4)]
            strengths = [Fraction(f, f + o) for f, o in mixes]
            if len(set(strengths)) == 4 and len({f for f, _ in mixes}) > 1:
                break
    best = max(mixes, key=lambda m: Fraction(m[0], m[0] + m[1]))
    labels = ["A", "B", "C", "D"]
    rows = [[f"Jug {lab}", rt(f, o)] for lab, (f, o) in zip(labels, mixes)]
    text = (p(f"Four jugs of {drink} are made by mixing {base} and {other}.",
              f"The table gives the ratio of {base} to {other} in each jug.")
            + table(["Jug", f"{base.capitalize()} : {other}"], rows))
    key = labels[mixes.index(best)]
    part = choice(rng, f"Jug {key}", [f"Jug {lab}" for lab in labels if lab != key],
                  prompt=f"Which jug has {word}?")
    # Keep the options in table order, so the choice reads like the table.
    order = [f"Jug {lab}" for lab in labels]
    part.options = order
    part.key = str(labels.index(key) + 1)
    return Question(text, [part])
