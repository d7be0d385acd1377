"""Topic 3: Fractions. All arithmetic is exact; the solvers are tested in
tests/test_fractions.py."""

from fractions import Fraction as Fr
from math import gcd

from ..contexts import ADULTS, COUNTABLES, names, possessive, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, fraction_key, mixed_key, num
from ..svg import Svg
from ..text import DIV, TIMES, fnum, frac, mixed, money, n, p

TOPIC = 3
IMPROPER_FORM = "Give your answer as an improper fraction in its simplest form."


def key_as(value, kind):
    """The key of value for a slot of that kind; raises when the value has
    no such form (a whole number for a fraction slot, and so on)."""
    value = Fr(value)
    if kind == "N":
        if value.denominator != 1:
            raise ValueError(f"{value} is not a whole number")
        return num(value)
    if kind == "F":
        if value.denominator == 1 or value >= 1:
            raise ValueError(f"{value} is not a proper fraction")
        return fraction_key(value)
    if kind == "X":
        return mixed_key(value)
    raise ValueError(kind)


def proper(rng, dens):
    """A proper fraction in simplest form with one of the denominators."""
    d = rng.choice(dens)
    a = rng.choice([x for x in range(1, d) if gcd(x, d) == 1])
    return Fr(a, d)


# ---------------------------------------------------------------- solvers

def left_after(first, of_rest):
    """Fraction of the whole left after spending first of it and then
    of_rest of what remained."""
    return (1 - Fr(first)) * (1 - Fr(of_rest))


def whole_from_part(part_value, fraction):
    """The whole of which fraction is part_value: 3/8 of ? = 24 -> 64."""
    whole = Fr(part_value) / Fr(fraction)
    if whole.denominator != 1:
        raise ValueError("not a whole number")
    return whole


def pieces(length, piece):
    """Whole pieces of length piece cut from length, and what is left."""
    count = int(Fr(length) // Fr(piece))
    return count, Fr(length) - count * Fr(piece)


# ---------------------------------------------------------------- families

@family("frac.equivalent", TOPIC, ["N"], levels=(1, 2))
def equivalent(rng, level, slots):
    f = proper(rng, [3, 4, 5, 6, 7, 8, 9])
    k = rng.randint(2, 9)
    if level == 1 or rng.random() < 0.5:
        return Question(p(f"{frac(f.numerator, f.denominator)} = {frac('?', f.denominator * k)}"),
                        [Part(key=num(f.numerator * k), prompt="What is the missing number?")])
    j = rng.randint(2, 6)
    return Question(p(f"{frac(f.numerator * j, f.denominator * j)} = {frac(f.numerator * k, '?')}"),
                    [Part(key=num(f.denominator * k), prompt="What is the missing number?")])


@family("frac.simplest", TOPIC, ["F"], levels=(1, 2))
def simplest(rng, level, slots):
    f = proper(rng, [3, 4, 5, 6, 7, 8, 9, 10, 12])
    k = rng.randint(2, 6) if level == 1 else rng.randint(6, 12)
    top, bottom = f.numerator * k, f.denominator * k
    solution = Solution(
        [Step(f"Find the greatest number that divides both {top} and {bottom} exactly. "
              f"It is {k}:",
              f"{top} = {k} {TIMES} {f.numerator} and {bottom} = {k} {TIMES} {f.denominator}"),
         Step(f"Divide the top and the bottom by {k}. Only 1 divides both "
              f"{f.numerator} and {f.denominator} now, so the fraction is in its simplest form.",
              f"{frac(top, bottom)} = {frac(f'{top} {DIV} {k}', f'{bottom} {DIV} {k}')} "
              f"= {frac(f)}")],
        [f])
    return Question(p(f"Express {frac(top, bottom)} in its simplest form."),
                    [Part(key=fraction_key(f))], solution=solution)


@family("frac.to-mixed", TOPIC, ["X"], levels=(1, 2))
def to_mixed(rng, level, slots):
    d = rng.choice([3, 4, 5, 6, 7, 8, 9])
    w = rng.randint(1, 5) if level == 1 else rng.randint(3, 9)
    r = rng.choice([x for x in range(1, d) if gcd(x, d) == 1])
    x = Fr(w * d + r, d)
    if level == 1:
        return Question(p(f"Write {frac(x.numerator, d)} as a mixed number."), [Part(key=mixed_key(x))])
    k = rng.randint(2, 4)
    return Question(p(f"Write {frac(x.numerator * k, d * k)} as a mixed number in its simplest form."),
                    [Part(key=mixed_key(x))])


@family("frac.to-improper", TOPIC, ["F"], levels=(1, 2))
def to_improper(rng, level, slots):
    d = rng.choice([3, 4, 5, 6, 7, 8, 9, 11, 12])
    w = rng.randint(1, 4) if level == 1 else rng.randint(4, 9)
    r = rng.choice([x for x in range(1, d) if gcd(x, d) == 1])
    x = Fr(w * d + r, d)
    return Question(p(f"Write {mixed(x)} as an improper fraction."),
                    [Part(key=fraction_key(x), form="Give your answer as an improper fraction.")])


@family("frac.compare", TOPIC, ["Q"], levels=(1, 2, 3))
def compare(rng, level, slots):
    if level == 1:
        values = set()
        while len(values) < 4:
            values.add(proper(rng, [3, 4, 5, 6, 8, 9, 10, 12]))
        values = sorted(values)
        want = rng.choice(["greatest", "smallest"])
        key = values[-1] if want == "greatest" else values[0]
        return Question("", [choice(rng, frac(key), [frac(v) for v in values if v != key],
                                    prompt=f"Which of these fractions is the {want}?")])
    if level == 2:
        lo, hi = rng.choice([(Fr(1, 2), Fr(3, 4)), (Fr(1, 3), Fr(1, 2)), (Fr(2, 5), Fr(3, 5)),
                             (Fr(1, 4), Fr(1, 2))])
        inside = [f for f in (Fr(a, b) for b in (5, 7, 8, 9, 10, 12) for a in range(1, b))
                  if lo < f < hi and f.denominator not in (lo.denominator, hi.denominator)]
        # Distractors close to either end, so the pupil has to compare.
        outside = [f for f in (Fr(a, b) for b in (5, 6, 7, 8, 9, 10, 12) for a in range(1, b))
                   if lo - Fr(1, 4) < f < lo or hi < f < hi + Fr(1, 4)]
        key = rng.choice(inside)
        wrong = rng.sample(sorted(set(outside)), 3)
        return Question("", [choice(rng, frac(key), [frac(w) for w in wrong],
                                    prompt=f"Which of these fractions lies between {frac(lo)} and {frac(hi)}?")])
    values = set()
    while len(values) < 4:
        d = rng.choice([5, 6, 7, 8, 9, 10, 11, 12])
        values.add(Fr(rng.randint(d - 3, d - 1), d))
    values = sorted(values)
    key = values[-1]
    gaps = sorted(1 - v for v in values)
    if gaps[0] == gaps[1]:
        raise ValueError("two fractions equally close to 1")
    return Question("", [choice(rng, frac(key), [frac(v) for v in values if v != key],
                                prompt="Which of these fractions is closest to 1?")])


@family("frac.add-subtract", TOPIC, ["F", "X"], levels=(1, 2, 3))
def add_subtract(rng, level, slots):
    kind = slots[0].kind
    if level == 1:
        d = rng.choice([4, 6, 8, 9, 10, 12, 14, 15, 16])
        small = rng.choice([x for x in (2, 3, 4, 5, 7, 8) if d % x == 0 and x != d])
        a, b = proper(rng, [d]), proper(rng, [small])
    elif level == 2:
        a, b = proper(rng, [3, 4, 5, 6]), proper(rng, [4, 5, 7, 8, 9])
        if a.denominator == b.denominator:
            raise ValueError("like denominators")
    elif kind == "F":
        # A difference of mixed numbers under 1, often with regrouping.
        w = rng.randint(2, 6)
        a = w + proper(rng, [3, 4, 5, 6])
        b = w - rng.choice([0, 1]) + proper(rng, [2, 4, 8, 9, 10])
        a, b = max(a, b), min(a, b)
        if not 0 < a - b < 1:
            raise ValueError("difference not a proper fraction")
    else:
        a = rng.randint(1, 4) + proper(rng, [3, 4, 5, 6])
        b = rng.randint(1, 3) + proper(rng, [2, 4, 8, 9, 10])
    op = "\u2212" if kind == "F" and level == 3 else rng.choice(["+", "\u2212"])
    if kind == "X" and level < 3:
        op = "+"
        a, b = max(a, 1 - a), max(b, 1 - b)     # a sum over 1
    if op != "+":
        a, b = max(a, b), min(a, b)
    value = a + b if op == "+" else a - b
    if value <= 0:
        raise ValueError("no difference")
    key = key_as(value, kind)
    show = mixed if level == 3 else frac
    return Question(p(f"{show(a)} {op} {show(b)} = ?"), [Part(key=key)])


@family("frac.multiply", TOPIC, ["N", "F", "X"], levels=(1, 2, 3))
def multiply(rng, level, slots):
    kind = slots[0].kind
    if kind == "F":
        a, b = proper(rng, [2, 3, 4, 5, 6]), proper(rng, [3, 4, 5, 7, 8, 9])
        return Question(p(f"{frac(a)} \u00d7 {frac(b)} = ?"), [Part(key=key_as(a * b, kind))])
    f = proper(rng, [3, 4, 5, 6, 8])
    if kind == "N":
        k = f.denominator * rng.randint(2, 9)
        if level == 3:
            person = names(rng, 1)[0]
            sing, plur = rng.choice(COUNTABLES)
            return Question(p(f"{person} had {k} {plur}. {pronoun(person).capitalize()} gave "
                              f"{frac(f)} of them to {possessive(person)} friend.",
                              f"How many {plur} did {pronoun(person)} give away?"),
                            [Part(key=key_as(f * k, kind), unit=plur)])
        return Question(p(f"{frac(f)} \u00d7 {k} = ?"), [Part(key=key_as(f * k, kind))])
    if level < 3:
        k = rng.randint(2, 12)
        return Question(p(f"{frac(f)} \u00d7 {k} = ?"), [Part(key=key_as(f * k, kind))])
    x = rng.randint(1, 3) + f
    k = rng.randint(2, 5)
    return Question(p(f"{mixed(x)} \u00d7 {k} = ?"), [Part(key=key_as(x * k, kind))])


@family("frac.divide", TOPIC, ["N", "F", "X"], levels=(1, 2, 3))
def divide(rng, level, slots):
    kind = slots[0].kind
    if kind == "F":
        f = proper(rng, [2, 3, 4, 5, 7, 8])
        k = rng.randint(2, 6)
        return Question(p(f"{frac(f)} \u00f7 {k} = ?"), [Part(key=key_as(f / k, kind))])
    if kind == "N":
        f = proper(rng, [2, 3, 4, 5, 6])
        w = f.numerator * rng.randint(2, 8)
        if level == 3:
            juice = rng.choice(["orange juice", "water", "soup"])
            adult = rng.choice(ADULTS)
            return Question(p(f"{adult} poured {w} \u2113 of {juice} into jugs, filling each jug to the top.",
                              f"Each jug holds {frac(f)} \u2113. How many jugs did {pronoun(adult)} fill?"),
                            [Part(key=key_as(w / f, kind), unit="jugs")])
        return Question(p(f"{w} \u00f7 {frac(f)} = ?"), [Part(key=key_as(w / f, kind))])
    w = rng.randint(2, 9)
    f = proper(rng, [3, 4, 5, 7])
    return Question(p(f"{w} \u00f7 {frac(f)} = ?"), [Part(key=key_as(w / f, kind))])


QUANTITIES = [  # (whole as shown, unit as shown, factor to answer unit, answer unit)
    ("1 hour", "", 60, "minutes"), ("1 kg", "", 1000, "g"), ("1 m", "", 100, "cm"),
    ("1 \u2113", "", 1000, "m\u2113"), ("1 day", "", 24, "hours"),
]


@family("frac.of-quantity", TOPIC, ["N"], levels=(1, 2, 3))
def of_quantity(rng, level, slots):
    if level == 1:
        f = proper(rng, [3, 4, 5, 6, 8])
        total = f.denominator * rng.randint(3, 15)
        what = rng.choice([("kg", ""), ("", "$"), ("m", ""), ("pupils", "")])
        shown = money(total) if what[1] else f"{total} {what[0]}"
        return Question(p(f"What is {frac(f)} of {shown}?"),
                        [Part(key=num(f * total), unit=what[0], unit_before=what[1])])
    whole, _, factor, unit = rng.choice(QUANTITIES)
    count = rng.choice([1, 2, 3]) if level == 3 else 1
    shown = whole if count == 1 else whole.replace("1 ", f"{count} ") + ("s" if "hour" in whole or "day" in whole else "")
    f = rng.choice([Fr(a, b) for b in (3, 4, 5, 6, 8, 10, 12) for a in range(1, b)
                    if gcd(a, b) == 1 and (Fr(a, b) * factor * count).denominator == 1])
    return Question(p(f"What is {frac(f)} of {shown}? Give your answer in {unit}."),
                    [Part(key=num(f * factor * count), unit=unit)])


@family("frac.whole-from-part", TOPIC, ["N"], levels=(2, 3))
def whole_from_part_question(rng, level, slots):
    f = proper(rng, [3, 4, 5, 6, 7, 8, 9])
    if f.numerator == 1 and level == 3:
        raise ValueError("too easy for a late question")
    whole = f.denominator * rng.randint(3, 12)
    part = f * whole
    if level == 2:
        return Question(p(f"{frac(f)} of a number is {part}. What is the number?"),
                        [Part(key=num(whole_from_part(part, f)))])
    person = names(rng, 1)[0]
    return Question(p(f"{person} has read {frac(f)} of a book. {pronoun(person).capitalize()} has read {part} pages.",
                      "How many pages are there in the book?"),
                    [Part(key=num(whole_from_part(part, f)), unit="pages")])


@family("frac.remainder", TOPIC, ["F", "N"], levels=(2, 3))
def remainder(rng, level, slots):
    person = names(rng, 1)[0]
    he = pronoun(person)
    a = rng.choice([Fr(1, 3), Fr(1, 4), Fr(2, 5), Fr(1, 5), Fr(3, 8), Fr(1, 6)])
    b = rng.choice([Fr(1, 2), Fr(1, 3), Fr(1, 4), Fr(2, 3), Fr(3, 4), Fr(2, 5)])
    things = rng.choice([("a book", "a pen"), ("a bag", "a cap"), ("a toy", "a box of sweets")])
    spending = (f"spent {frac(a)} of {possessive(person)} money on {things[0]} and "
                f"{frac(b)} of the remaining money on {things[1]}.")
    text = f"{person} {spending}"
    left = left_after(a, b)
    if slots[0].kind == "F":
        return Question(p(text, f"What fraction of {possessive(person)} money did {he} have left?"),
                        [Part(key=key_as(left, "F"))])
    start = left.denominator * rng.randint(2, 10) * (5 if level == 3 else 1)
    if level == 2:
        return Question(p(f"{person} had {money(start)}. {he.capitalize()} {spending}",
                          f"How much did {he} spend on {things[1]}?"),
                        [Part(key=num((1 - a) * b * start), unit_before="$")])
    return Question(p(text, f"{he.capitalize()} had {money(left * start)} left.",
                      f"How much money did {he} have at first?"),
                    [Part(key=num(start), unit_before="$")])


def _grid(rows, cols, shaded, cell=34):
    svg = Svg(cols * cell + 4, rows * cell + 4)
    fill = svg.hatch()
    for r in range(rows):
        for c in range(cols):
            on = (r * cols + c) in shaded
            svg.rect(2 + c * cell, 2 + r * cell, cell, cell, fill=fill if on else "#fff", width=1.6)
    return svg.render()


def _circle(parts, shaded, r=90):
    svg = Svg(2 * r + 8, 2 * r + 8)
    fill = svg.hatch()
    for i in range(parts):
        svg.sector(r + 4, r + 4, r, 360 * i / parts, 360 * (i + 1) / parts,
                   fill=fill if i in shaded else "#fff", width=1.8)
    return svg.render()


@family("frac.shaded", TOPIC, ["F"], levels=(1, 2, 3))
def shaded(rng, level, slots):
    if rng.random() < 0.6:
        rows, cols = rng.choice([(2, 4), (3, 4), (2, 6), (3, 6), (4, 4), (4, 5), (3, 5), (2, 5)])
        total = rows * cols
        k = rng.choice([x for x in range(2, total - 1) if gcd(x, total) > 1])
        cells = set(rng.sample(range(total), k))
        fig = Figure(_grid(rows, cols, cells), f"A rectangle divided into {total} equal squares, {k} of them shaded")
    else:
        total = rng.choice([6, 8, 10, 12])
        k = rng.choice([x for x in range(2, total - 1) if gcd(x, total) > 1])
        cells = set(rng.sample(range(total), k))
        fig = Figure(_circle(total, cells), f"A circle divided into {total} equal parts, {k} of them shaded")
    if level == 1:
        return Question(p("What fraction of the figure is shaded?"), [Part(key=fraction_key(Fr(k, total)))], [fig])
    return Question(p("The figure is divided into equal parts. What fraction of the figure is <b>not</b> shaded?"),
                    [Part(key=fraction_key(Fr(total - k, total)))], [fig])


def _fraction_line(d, whole, arrow):
    svg = Svg(560, 96, font=16)
    left, right = 30, 530
    steps = d * whole

    def at(i):
        return left + (right - left) * i / steps
    svg.line(left - 10, 56, right + 10, 56, width=2)
    for i in range(steps + 1):
        big = i % d == 0
        svg.line(at(i), 56 - (12 if big else 7), at(i), 56 + (12 if big else 7), width=2 if big else 1.3)
        if big:
            svg.text(at(i), 90, str(i // d))
    svg.arrow(at(arrow), 6, at(arrow), 42, width=2.2)
    return svg.render()


@family("frac.number-line", TOPIC, ["F", "X"], levels=(1, 2, 3))
def number_line(rng, level, slots):
    d = rng.choice([3, 4, 5, 6, 8, 10])
    whole = rng.choice([1, 2]) if slots[0].kind == "F" else 3
    lo, hi = (1, d) if slots[0].kind == "F" else (d + 1, whole * d)
    i = rng.choice([x for x in range(lo, hi) if x % d])
    value = Fr(i, d)
    fig = Figure(_fraction_line(d, whole, i), f"A number line from 0 to {whole}, each whole divided into {d} equal parts, with an arrow")
    text = p("The number line is divided into equal parts. What number is the arrow pointing to?")
    return Question(text, [Part(key=key_as(value, slots[0].kind))], [fig])


@family("frac.of-set", TOPIC, ["F"], levels=(1, 2, 3))
def of_set(rng, level, slots):
    if level == 1:
        total = rng.choice([24, 30, 32, 36, 40, 42])
        girls = rng.choice([x for x in range(8, total - 8) if gcd(x, total) > 1 and gcd(total - x, total) > 1])
        return Question(p(f"There are {total} pupils in a class. {girls} of them are girls.",
                          "What fraction of the class are boys?"),
                        [Part(key=key_as(Fr(total - girls, total), "F"))])
    a, b, c = rng.randint(6, 20), rng.randint(6, 20), rng.randint(6, 20)
    colours = rng.sample(["red", "blue", "green", "yellow", "white"], 3)
    sing, plur = rng.choice([("bead", "beads"), ("marble", "marbles"), ("button", "buttons")])
    total = a + b + c
    if Fr(b, total).denominator == total and level == 2:
        raise ValueError("nothing to simplify")
    ask = f"What fraction of the {plur} are {colours[1]}?" if level == 2 else \
        f"What fraction of the {plur} are not {colours[0]}?"
    value = Fr(b, total) if level == 2 else Fr(b + c, total)
    return Question(p(f"A box holds {a} {colours[0]} {plur}, {b} {colours[1]} {plur} and {c} {colours[2]} {plur}.", ask),
                    [Part(key=key_as(value, "F"))])


MEASURES = [("1 m", "cm", 100), ("1 kg", "g", 1000), ("1 hour", "minutes", 60), ("$1", "cents", 100),
            ("2 m", "cm", 200), ("2 hours", "minutes", 120), ("3 kg", "g", 3000), ("1 \u2113", "m\u2113", 1000)]


@family("frac.measure-fraction", TOPIC, ["F"], levels=(1, 2, 3))
def measure_fraction(rng, level, slots):
    whole, unit, size = rng.choice(MEASURES[:4] if level == 1 else MEASURES if level == 2 else MEASURES[4:])
    part = rng.choice([x for x in range(1, size) if gcd(x, size) > 1 and x % (size // 20 or 1) == 0] or [size // 4])
    if Fr(part, size).denominator == 1:
        raise ValueError("whole")
    return Question(p(f"What fraction of {whole} is {part} {unit}?"), [Part(key=key_as(Fr(part, size), "F"))])


@family("frac.before-after", TOPIC, ["N"], levels=(2, 3))
def before_after(rng, level, slots):
    person = names(rng, 1)[0]
    if rng.random() < 0.5:
        f = proper(rng, [3, 4, 5, 7, 8])
        whole = f.denominator * rng.randint(4, 15)
        left = whole - f * whole
        sing, plur = rng.choice(COUNTABLES)
        return Question(p(f"{person} gave away {frac(f)} of {possessive(person)} {plur}. "
                          f"{pronoun(person).capitalize()} had {n(left)} {plur} left.",
                          f"How many {plur} did {pronoun(person)} have at first?"),
                        [Part(key=num(whole_from_part(left, 1 - f)), unit=plur)])
    full, later = rng.choice([(Fr(3, 4), Fr(1, 2)), (Fr(2, 3), Fr(1, 3)), (Fr(5, 6), Fr(1, 2)),
                              (Fr(4, 5), Fr(1, 2)), (Fr(7, 8), Fr(3, 8))])
    capacity = (full - later).denominator * rng.randint(3, 12) * 50
    poured = (full - later) * capacity
    if poured.denominator != 1:
        raise ValueError("not whole millilitres")
    return Question(p(f"A jug was {frac(full)} full of water. After {n(poured)} m\u2113 of water was poured out, "
                      f"it was {frac(later)} full.", "What is the capacity of the jug?"),
                    [Part(key=num(whole_from_part(poured, full - later)), unit="m\u2113")])


@family("frac.word-problem", TOPIC, ["F", "X", "N"], levels=(2, 3))
def word_problem(rng, level, slots):
    kind = slots[0].kind
    a, b = names(rng, 2)
    if kind == "F":
        x, y = proper(rng, [3, 4, 5, 6]), proper(rng, [4, 6, 8, 10, 12])
        food = rng.choice(["cake", "pizza", "pie", "watermelon"])
        if x + y >= 1:
            raise ValueError("eats more than the whole")
        return Question(p(f"{a} ate {frac(x)} of a {food} and {b} ate {frac(y)} of it.",
                          f"What fraction of the {food} was left?"), [Part(key=key_as(1 - x - y, kind))])
    if kind == "X":
        start = rng.randint(3, 6) + proper(rng, [2, 3, 4])
        used = rng.randint(1, 2) + proper(rng, [4, 6, 8])
        added = rng.randint(1, 3) + proper(rng, [2, 3])
        value = start - used + added
        if start <= used:
            raise ValueError("uses more than there is")
        return Question(p(f"A tank had {mixed(start)} \u2113 of water. {a} used {mixed(used)} \u2113 of it.",
                          f"Then {b} poured {mixed(added)} \u2113 of water into the tank.",
                          "How much water was in the tank then?"),
                        [Part(key=key_as(value, kind), unit="\u2113")])
    piece = proper(rng, [3, 4, 5, 6])
    length = rng.randint(3, 12)
    count, rest = pieces(length, piece)
    ask = "How many pieces did she cut?" if rest == 0 else "What is the greatest number of pieces she could cut?"
    return Question(p(f"{rng.choice(['Mrs Lim', 'Mrs Ong', 'Mrs Das', 'Mrs Lee'])} cut a ribbon {n(length)} m long "
                      f"into pieces, each {frac(piece)} m long.", ask),
                    [Part(key=num(count), unit="pieces")])


# Multi-part stories: one situation, two questions.

@family("frac.story-sold", TOPIC, [("N", "N")], levels=(2, 3))
def story_sold(rng, level, slots):
    baker = rng.choice(ADULTS)
    a = proper(rng, [3, 4, 5, 8])
    b = proper(rng, [2, 3, 4, 5])
    total = a.denominator * b.denominator * rng.randint(2, 6)
    morning = a * total
    left = (1 - a) * (1 - b) * total
    if morning.denominator != 1 or left.denominator != 1:
        raise ValueError("not whole buns")
    what = rng.choice(["buns", "muffins", "cookies", "curry puffs"])
    return Question(p(f"{baker} baked {total} {what}. {pronoun(baker).capitalize()} sold {frac(a)} of them in the "
                      f"morning and {frac(b)} of the remaining {what} in the afternoon."),
                    [Part(key=num(morning), unit=what, prompt=f"How many {what} were sold in the morning?"),
                     Part(key=num(left), unit=what, prompt=f"How many {what} were left at the end of the day?")])


@family("frac.story-spending", TOPIC, [("F", "N"), ("N", "F")], levels=(2, 3))
def story_spending(rng, level, slots):
    person = rng.choice(ADULTS)
    a, b = proper(rng, [3, 4, 5]), proper(rng, [4, 5, 10])
    if a + b >= 1 or a.denominator == b.denominator:
        raise ValueError("spends too much")
    spent = a + b
    total = spent.denominator * rng.randint(4, 20) * 5
    spending = f"spent {frac(a)} of {possessive(person)} money on food and {frac(b)} of it on clothes."
    text = p(f"{person} {spending}")
    if slots[0].kind == "F":
        return Question(text, [
            Part(key=key_as(spent, "F"), prompt=f"What fraction of {possessive(person)} money did "
                                                f"{pronoun(person)} spend altogether?"),
            Part(key=num(total), unit_before="$",
                 prompt=f"{pronoun(person).capitalize()} had {money((1 - spent) * total)} left. "
                        f"How much money did {pronoun(person)} have at first?")])
    return Question(p(f"{person} had {money(total)}. {pronoun(person).capitalize()} {spending}"), [
        Part(key=num(a * total), unit_before="$", prompt="How much did " + pronoun(person) + " spend on food?"),
        Part(key=key_as(1 - spent, "F"), prompt=f"What fraction of {possessive(person)} money was left?")])


@family("frac.story-ribbon", TOPIC, [("X", "N"), ("N", "N")], levels=(2, 3))
def story_ribbon(rng, level, slots):
    person = names(rng, 1)[0]
    used1 = rng.randint(1, 3) + proper(rng, [2, 4])
    used2 = rng.randint(1, 2) + proper(rng, [4, 8])
    used = used1 + used2
    if used.denominator == 1:
        raise ValueError("whole metres used")
    length = -(-used.numerator // used.denominator) + rng.randint(1, 4)
    left = length - used
    fits = [c for c in (Fr(1, 2), Fr(1, 4), Fr(3, 4), Fr(1, 8), Fr(3, 8))
            if (left / c).denominator == 1 and left / c >= 2]
    if not fits:
        raise ValueError("the rest does not cut evenly")
    piece = rng.choice(fits)
    text = p(f"{person} had a ribbon {n(length)} m long. {pronoun(person).capitalize()} used {mixed(used1)} m of it "
             f"for a bag and {mixed(used2)} m for a hat.")
    second = Part(key=num(left / piece), unit="pieces",
                  prompt=f"{pronoun(person).capitalize()} cut the rest of the ribbon into pieces {frac(piece)} m long. "
                         "How many pieces did " + pronoun(person) + " get?")
    if slots[0].kind == "X":
        first = Part(key=key_as(used, "X"), unit="m", prompt="How much ribbon did " + pronoun(person) + " use altogether?")
    else:
        first = Part(key=num(used1 * 100), unit="cm", prompt="How many centimetres of ribbon did "
                     + pronoun(person) + " use for the bag?")
        if (used1 * 100).denominator != 1:
            raise ValueError("not whole centimetres")
    return Question(text, [first, second])


@family("frac.story-class", TOPIC, [("N", "N")], levels=(2, 3))
def story_class(rng, level, slots):
    total = rng.choice([24, 30, 32, 36, 40, 42, 45, 48])
    f = rng.choice([x for x in (Fr(a, b) for b in (3, 4, 5, 6, 8) for a in range(1, b)) if (x * total).denominator == 1
                    and x.denominator > 2])
    shares = [x for x in (Fr(a, b) for b in (2, 3, 4) for a in range(1, b))
              if (x * (total - f * total)).denominator == 1]
    if not shares:
        raise ValueError("the rest does not share out")
    g = rng.choice(shares)
    walk = f * total
    bus = g * (total - walk)
    return Question(p(f"There are {total} pupils in a class. {frac(f)} of them walk to school and "
                      f"{frac(g)} of the rest come by bus. The others come by car."),
                    [Part(key=num(walk), unit="pupils", prompt="How many pupils walk to school?"),
                     Part(key=num(total - walk - bus), unit="pupils", prompt="How many pupils come by car?")])


@family("frac.equivalent-choice", TOPIC, ["Q"], levels=(1, 2))
def equivalent_choice(rng, level, slots):
    f = proper(rng, [3, 4, 5, 6, 8])
    k = rng.randint(2, 5)
    a, b = f.numerator, f.denominator
    right = frac(a * k, b * k)
    # Wrong ones keep the look of the right one: the same change to one term
    # only, or adding instead of multiplying.
    wrong = {(a * k, b * (k + 1)), (a + k, b + k), (a * k, b + k), (a * (k + 1), b * k), (a, b * k)}
    wrong = [frac(x, y) for x, y in sorted(wrong) if Fr(x, y) != f]
    if len(wrong) < 3:
        raise ValueError("too few distractors")
    if level == 1:
        prompt = f"Which of these fractions is equal to {frac(f)}?"
        return Question("", [choice(rng, right, rng.sample(wrong, 3), prompt=prompt)])
    prompt = f"Which of these fractions is <b>not</b> equal to {frac(f)}?"
    rights = [frac(a * j, b * j) for j in (2, 3, 4, 5, 6) if j != k]
    return Question("", [choice(rng, rng.choice(wrong), rng.sample(rights, 3), prompt=prompt)])


def _strip(parts, shaded, width=150, height=40):
    svg = Svg(width + 4, height + 4)
    fill = svg.hatch()
    w = width / parts
    for i in range(parts):
        svg.rect(2 + i * w, 2, w, height, fill=fill if i in shaded else "#fff", width=1.6)
    return svg


@family("frac.shaded-choice", TOPIC, ["Q"], levels=(1, 2, 3))
def shaded_choice(rng, level, slots):
    target = proper(rng, [3, 4, 5] if level == 1 else [3, 4, 5, 6])
    k = rng.choice([2, 3]) if level > 1 else 1
    parts = target.denominator * k
    right = target.numerator * k
    # Wrong strips shade the numerator's count, or the right count of a
    # different whole: the usual slips.
    options = [(parts, right)]
    for cand in [(parts, target.numerator), (parts, right + 1), (parts, right - 1),
                 (parts + target.denominator, right), (parts, parts - right)]:
        if 0 < cand[1] < cand[0] and Fr(cand[1], cand[0]) != target and cand not in options:
            options.append(cand)
    if len(options) < 4:
        raise ValueError("too few distractors")
    options = options[:1] + rng.sample(options[1:], 3)
    figures = []
    for total, shade in options:
        cells = set(rng.sample(range(total), shade)) if level == 3 else set(range(shade))
        figures.append(Figure(_strip(total, cells).render(), f"A strip of {total} equal parts with {shade} shaded"))
    order = list(range(4))
    rng.shuffle(order)
    texts = [f"{{fig{i + 1}}}" for i in order]
    key = str(order.index(0) + 1)
    part = Part(key=key, prompt=f"In which figure is {frac(target)} of the strip shaded?", options=texts)
    return Question("", [part], figures)


@family("frac.order", TOPIC, ["Q"], levels=(2, 3))
def order(rng, level, slots):
    values = set()
    while len(values) < 3:
        values.add(proper(rng, [3, 4, 5, 6, 8, 9, 10, 12]))
    if level == 3:
        values = {v + rng.randint(0, 1) for v in values}
        if len(values) < 3:
            raise ValueError("equal values")
    vals = sorted(values)
    show = fnum
    right = ", ".join(show(v) for v in vals)
    perms = [(vals[0], vals[2], vals[1]), (vals[1], vals[0], vals[2]), (vals[2], vals[1], vals[0]),
             (vals[1], vals[2], vals[0])]
    wrong = [", ".join(show(v) for v in pm) for pm in rng.sample(perms, 3)]
    return Question("", [choice(rng, right, wrong,
                                prompt="Which list shows the numbers in order, from the smallest to the greatest?")])


@family("frac.estimate", TOPIC, ["Q"], levels=(2, 3))
def estimate(rng, level, slots):
    a = rng.randint(1, 5) + rng.choice([Fr(7, 8), Fr(9, 10), Fr(5, 6), Fr(1, 9), Fr(1, 10), Fr(1, 8)])
    b = rng.randint(1, 5) + rng.choice([Fr(7, 8), Fr(9, 10), Fr(1, 12), Fr(1, 9), Fr(11, 12)])
    nearest = round(a) + round(b)
    if abs((a + b) - nearest) >= Fr(1, 2):
        raise ValueError("no clear estimate")
    wrong = [str(x) for x in (nearest - 1, nearest + 1, nearest + 2 if nearest > 2 else nearest + 3)]
    return Question("", [choice(rng, str(nearest), wrong,
                                prompt=f"Which is the best estimate of {mixed(a)} + {mixed(b)}?")])
