"""Topic 3: Fractions. All arithmetic is exact; the solvers are tested in
tests/test_solvers.py and tests/test_fractions.py, where the worked
solutions are read against texts checked by hand."""

from fractions import Fraction as Fr
from itertools import permutations
from math import floor, gcd

from ..contexts import ADULTS, COUNTABLES, names, possessive, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, fraction_key, mixed_key, num
from ..svg import Svg, text_box
from ..text import (DIV, MINUS, TIMES, fnum, frac, frac_mixed, listing, mixed, money, n, nb, p,
                    plural, unit)

TOPIC = 3
LITRE, MILLILITRE = "\u2113", "m\u2113"


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


def lcm(*xs):
    out = 1
    for x in xs:
        out = out * x // gcd(out, x)
    return out


def adult(rng):
    """A grown-up's title and name, kept on one line."""
    return nb(*rng.choice(ADULTS).split())


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


def remainder_units(first, of_rest):
    """The fewest equal units a bar needs so that first of it, and of_rest
    of what is left, are whole units: (units, first's units, second's units)."""
    first, of_rest = Fr(first), Fr(of_rest)
    units = lcm(first.denominator, (of_rest * (1 - first)).denominator)
    a = first * units
    b = of_rest * (units - a)
    return units, int(a), int(b)


# ---------------------------------------------------------------- working

def raw(whole, top, bottom):
    """whole + top/bottom as it stands in working, not simplified."""
    if top == 0:
        return n(whole)
    if whole == 0:
        return frac(top, bottom)
    return frac_mixed(whole, top, bottom)


def over(value, bottom):
    """value written with the bottom number given: 3/4 over 12 is 9/12."""
    value = Fr(value)
    whole = floor(value)
    top = (value - whole) * bottom
    if top.denominator != 1:
        raise ValueError(f"{value} has no bottom number {bottom}")
    return raw(whole, int(top), bottom)


def simplify_steps(whole, top, bottom, part=1, lead=""):
    """The step that simplifies whole + top/bottom, or none when it is
    already in its simplest form. lead: what the fraction is, said first."""
    g = gcd(top, bottom)
    if top == 0 or g == 1:
        return []
    split = frac(f"{top} {DIV} {g}", f"{bottom} {DIV} {g}")
    mid = frac_mixed(whole, f"{top} {DIV} {g}", f"{bottom} {DIV} {g}") if whole else split
    return [Step(f"{lead}Simplify the fraction: divide its top and bottom by {g}, the greatest "
                 f"number that divides both {top} and {bottom}.",
                 f"{raw(whole, top, bottom)} = {mid} = {raw(whole, top // g, bottom // g)}", part)]


def fraction_step(top, bottom, lead, part=1):
    """One step: top out of bottom as a fraction, simplified if it can be."""
    return simplify_steps(0, top, bottom, part, lead=lead + " ") or [
        Step(f"{lead} Only 1 divides both {top} and {bottom}, so the fraction is in its "
             "simplest form.", f"{top} out of {bottom} is {frac(top, bottom)}", part)]


def to_mixed_step(top, bottom, part=1):
    """An improper fraction as a mixed number: the division and its remainder."""
    w, r = divmod(top, bottom)
    return Step(f"Change {frac(top, bottom)} to a mixed number: divide the top by the bottom. "
                "The answer is the whole number and the remainder is the top of the fraction.",
                f"{top} {DIV} {bottom} = {w} remainder {r}, so {frac(top, bottom)} = {raw(w, r, bottom)}",
                part)


def rename_steps(values, bottom, part=1):
    """The step writing fractions and mixed numbers over one bottom number,
    or none when they already have it."""
    changed = list(dict.fromkeys(Fr(v) for v in values if Fr(v).denominator not in (1, bottom)))
    if not changed:
        return []
    dens = sorted({Fr(v).denominator for v in values if Fr(v).denominator != 1})
    if bottom in dens:
        others = [d for d in dens if d != bottom]
        say = (f"{bottom} is a multiple of {listing([str(d) for d in others])}, so write "
               f"{'the fraction' if len(changed) == 1 else 'the fractions'} with the bottom number "
               f"{bottom}: multiply the top and the bottom by the same number.")
    else:
        say = (f"Write the fractions with the same bottom number, {bottom}: it is the smallest "
               f"number that {'both ' if len(dens) == 2 else ''}{listing([str(d) for d in dens])} "
               "divide into exactly.")
    return [Step(say, ", ".join(f"{fnum(v)} = {over(v, bottom)}" for v in changed), part)]


def add_sub_steps(a, b, op, bottom, part=1, lead=""):
    """a + b or a - b with both written over bottom: the wholes and the
    fractions, a whole taken apart when the fractions need it, one put back
    together when they make one. Returns (steps, whole, top): the result is
    whole + top/bottom with top < bottom, not yet simplified."""
    a, b = Fr(a), Fr(b)
    wa, wb = floor(a), floor(b)
    ta, tb = int((a - wa) * bottom), int((b - wb) * bottom)
    steps = []
    both_proper = wa == 0 and wb == 0
    if op == "+":
        whole, top = wa + wb, ta + tb
        say = lead + " " * bool(lead) + (
            f"Add the tops. The bottom number stays {bottom}." if both_proper else
            "Add the whole numbers, then add the fractions.")
        steps.append(Step(say, f"{raw(wa, ta, bottom)} + {raw(wb, tb, bottom)} = "
                               f"{raw(whole, top, bottom)}", part))
        if top >= bottom:
            if whole == 0:
                steps.append(to_mixed_step(top, bottom, part))
            else:
                steps.append(Step(f"{frac(top, bottom)} is more than a whole: {frac(top, bottom)} = "
                                  f"{raw(1, top - bottom, bottom)}. Add that 1 to the {whole} "
                                  f"{'whole' if whole == 1 else 'wholes'}.",
                                  f"{raw(whole, top, bottom)} = {raw(whole + 1, top - bottom, bottom)}",
                                  part))
            whole, top = whole + 1, top - bottom
        return steps, whole, top
    if ta < tb:
        have = (f"{raw(wa, ta, bottom)} has no fraction to take {frac(tb, bottom)} from" if ta == 0
                else f"{frac(ta, bottom)} is less than {frac(tb, bottom)}")
        wholes = "whole" if wa == 1 else "wholes"
        steps.append(Step(f"{lead + ' ' if lead else ''}{have}, so change 1 of the {wa} {wholes} "
                          f"into {frac(bottom, bottom)}.",
                          f"{raw(wa, ta, bottom)} = {raw(wa - 1, ta + bottom, bottom)}"
                          if wa > 1 else f"{raw(wa, ta, bottom)} = {frac(ta + bottom, bottom)}", part))
        wa, ta = wa - 1, ta + bottom
        both_proper = wa == 0 and wb == 0
    whole, top = wa - wb, ta - tb
    say = (f"Subtract the tops. The bottom number stays {bottom}." if both_proper else
           "Subtract the whole numbers, then subtract the fractions.")
    if lead and not steps:
        say = lead + " " + say
    steps.append(Step(say, f"{raw(wa, ta, bottom)} {MINUS} {raw(wb, tb, bottom)} = "
                           f"{raw(whole, top, bottom)}", part))
    return steps, whole, top


def add_sub(a, b, op, part=1):
    """The whole working of a + b or a - b, simplified: (steps, value)."""
    a, b = Fr(a), Fr(b)
    bottom = lcm(a.denominator, b.denominator)
    steps = rename_steps([a, b], bottom, part)
    more, whole, top = add_sub_steps(a, b, op, bottom, part)
    steps += more + simplify_steps(whole, top, bottom, part)
    return steps, whole + Fr(top, bottom)


def one_line(a, b, op):
    """a + b or a - b worked on one line, as a pupil writes it once the
    method is known: (work, value)."""
    a, b = Fr(a), Fr(b)
    bottom = lcm(a.denominator, b.denominator)
    value = a + b if op == "+" else a - b
    sign = "+" if op == "+" else MINUS
    shown_a = over(a, bottom)
    ta = (a - floor(a)) * bottom
    if op != "+" and ta < (b - floor(b)) * bottom:
        shown_a = raw(floor(a) - 1, int(ta) + bottom, bottom)
    work = f"{fnum(a)} {sign} {fnum(b)} = "
    if (shown_a, over(b, bottom)) != (fnum(a), fnum(b)):
        work += f"{shown_a} {sign} {over(b, bottom)} = "
    if over(value, bottom) != fnum(value):
        work += f"{over(value, bottom)} = "
    return work + fnum(value), value


def of_work(f, amount, show=n):
    """f of amount on one line: divide by the bottom, multiply by the top."""
    f, amount = Fr(f), Fr(amount)
    one = amount / f.denominator
    if f.numerator == 1:
        return f"{frac(f)} of {show(amount)} = {show(amount)} {DIV} {f.denominator} = {show(one)}"
    return (f"{frac(f)} of {show(amount)} = {show(amount)} {DIV} {f.denominator} {TIMES} {f.numerator} "
            f"= {show(one * f.numerator)}")


def fraction_of_steps(f, amount, what="", part=1, show=n):
    """f of amount by the unitary method: one part, then the parts asked for.
    what: how the amount is said ("60 minutes"); show writes the numbers."""
    f = Fr(f)
    one = Fr(amount) / f.denominator
    shown = what or show(amount)
    if f.numerator == 1:
        return [Step(f"To find {frac(f)} of {shown}, divide it into {f.denominator} equal parts.",
                     f"{show(amount)} {DIV} {f.denominator} = {show(one)}", part)]
    return [Step(f"Find {frac(1, f.denominator)} of {shown}: divide it into {f.denominator} equal parts.",
                 f"{show(amount)} {DIV} {f.denominator} = {show(one)}", part),
            Step(f"{frac(f)} is {f.numerator} of those parts.",
                 f"{show(one)} {TIMES} {f.numerator} = {show(one * f.numerator)}", part)]


# ---------------------------------------------------------------- figures

def bar_model(units, marks, whole="", width=520):
    """A bar model: `units` equal boxes in a row; marks are brackets under
    the bar, (first unit, count, label, shaded); whole labels a bracket over
    the bar. Labels that would run into each other drop to a lower row."""
    size = 15
    box = min(56, (width - 60) // units)
    left = (width - box * units) / 2
    top = 32 if whole else 8
    svg = Svg(width, 10, font=size)
    fill = svg.hatch()
    shaded = set()
    for first, count, _, on in marks:
        if on:
            shaded.update(range(first, first + count))
    for i in range(units):
        svg.rect(left + i * box, top, box, 34, fill=fill if i in shaded else "#fff", width=1.5)
    # A heavier line where one part of the story ends and the next begins.
    for edge in sorted({m[0] for m in marks} | {m[0] + m[1] for m in marks} | {0, units}):
        svg.line(left + edge * box, top, left + edge * box, top + 34, width=3)
    if whole:
        y = top - 8
        svg.line(left, y, left + box * units, y, width=1.3)
        svg.line(left, y, left, y + 6, width=1.3)
        svg.line(left + box * units, y, left + box * units, y + 6, width=1.3)
        svg.text(left + box * units / 2, y - 6, whole)
    rows = []
    bottom = top + 34
    for first, count, label, _ in marks:
        x0, x1 = left + first * box + 3, left + (first + count) * box - 3
        y = top + 42
        svg.line(x0, y, x1, y, width=1.3)
        svg.line(x0, y - 6, x0, y, width=1.3)
        svg.line(x1, y - 6, x1, y, width=1.3)
        mid = (x0 + x1) / 2
        for row in range(4):
            base = top + 62 + 20 * row
            edge = text_box(mid, base, label, size)
            clear = edge[0] >= 2 and edge[2] <= width - 2
            if row == len(rows):
                rows.append([])
            if all(e[2] + 4 < edge[0] or edge[2] + 4 < e[0] for e in rows[row]):
                break
        if not clear:
            mid = min(max(mid, (edge[2] - edge[0]) / 2 + 2), width - (edge[2] - edge[0]) / 2 - 2)
            edge = text_box(mid, base, label, size)
        rows[row].append(edge)
        if row:
            svg.line(mid, y + 2, mid, base - 15, width=0.8, stroke="#777")
        svg.text(mid, base, label)
        bottom = max(bottom, base + 6)
    svg.height = bottom + 2
    return svg.render()


def bar_alt(units, marks, whole=""):
    """The words of a bar model for a screen reader: the units, what each
    bracket marks, and the whole's label."""
    said = [f"{'The first' if i == 0 else 'The next'} {'unit' if count == 1 else f'{count} units'} "
            f"{'is' if count == 1 else 'are'}{' shaded and' if on else ''} marked “{label}”."
            for i, (first, count, label, on) in enumerate(marks)]
    head = f"A bar model of {units} equal units." + (f" The whole bar is marked “{whole}”." if whole else "")
    return " ".join([head] + said)


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


def _strip(parts, shaded, width=150, height=40, group=1):
    """A strip of equal parts; group > 1 draws a thicker line after every
    group-th part, showing the parts gathered into larger equal pieces."""
    svg = Svg(width + 4, height + 4)
    fill = svg.hatch()
    w = width / parts
    for i in range(parts):
        svg.rect(2 + i * w, 2, w, height, fill=fill if i in shaded else "#fff", width=1.6)
    if group > 1:
        for i in range(0, parts + 1, group):
            svg.line(2 + i * w, 2, 2 + i * w, 2 + height, width=4)
    return svg


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


# ---------------------------------------------------------------- families

@family("frac.equivalent", TOPIC, ["N"], levels=(1, 2))
def equivalent(rng, level, slots):
    f = proper(rng, [3, 4, 5, 6, 7, 8, 9])
    k = rng.randint(2, 9)
    a, b = f.numerator, f.denominator
    if level == 1 or rng.random() < 0.5:
        steps = [Step(f"The bottom number {b} became {b * k}. Find what it was multiplied by.",
                      f"{b * k} {DIV} {b} = {k}"),
                 Step(f"Multiply the top by the same number, {k}, so the fraction keeps its value.",
                      f"{a} {TIMES} {k} = {a * k}, so {frac(a, b)} = {frac(a * k, b * k)}")]
        return Question(p(f"{frac(a, b)} = {frac('?', b * k)}"),
                        [Part(key=num(a * k), prompt="What is the missing number?")],
                        solution=Solution(steps, [a * k]))
    j = rng.randint(2, 6)
    steps = simplify_steps(0, a * j, b * j) + [
        Step(f"The top number {a} became {a * k}. Find what it was multiplied by.",
             f"{a * k} {DIV} {a} = {k}"),
        Step(f"Multiply the bottom by the same number, {k}.",
             f"{b} {TIMES} {k} = {b * k}, so {frac(a * j, b * j)} = {frac(a * k, b * k)}")]
    return Question(p(f"{frac(a * j, b * j)} = {frac(a * k, '?')}"),
                    [Part(key=num(b * k), prompt="What is the missing number?")],
                    solution=Solution(steps, [b * k]))


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
        return Question(p(f"Write {frac(x.numerator, d)} as a mixed number."), [Part(key=mixed_key(x))],
                        solution=Solution([to_mixed_step(x.numerator, d)], [x]))
    k = rng.randint(2, 4)
    steps = simplify_steps(0, x.numerator * k, d * k) + [to_mixed_step(x.numerator, d)]
    return Question(p(f"Write {frac(x.numerator * k, d * k)} as a mixed number in its simplest form."),
                    [Part(key=mixed_key(x))], solution=Solution(steps, [x]))


@family("frac.to-improper", TOPIC, ["F"], levels=(1, 2))
def to_improper(rng, level, slots):
    d = rng.choice([3, 4, 5, 6, 7, 8, 9, 11, 12])
    w = rng.randint(1, 4) if level == 1 else rng.randint(4, 9)
    r = rng.choice([x for x in range(1, d) if gcd(x, d) == 1])
    x = Fr(w * d + r, d)
    step = Step(f"Each whole is {frac(d, d)}, so {w} {'whole is' if w == 1 else 'wholes are'} "
                f"{w} {TIMES} {d} = {w * d} parts of {frac(1, d)}. Add the {r} "
                f"{'part' if r == 1 else 'parts'} of the fraction.",
                f"{w * d} + {r} = {x.numerator}, so {mixed(x)} = {frac(x.numerator, d)}")
    return Question(p(f"Write {mixed(x)} as an improper fraction."),
                    [Part(key=fraction_key(x), form="Give your answer as an improper fraction.")],
                    solution=Solution([step], [x]))


# Why a pupil comparing an option with the right one picks the option:
# (test on the option v, given the right one k; the slip).
def _compare_rules(want, k):
    def parts(g):
        return "part" if g == 1 else "parts"
    if want == "smallest":
        return [
            (lambda v: v.numerator < k.numerator,
             lambda v: f"compares only the top numbers: {v.numerator} is less than {k.numerator}, "
                       "but its parts are bigger"),
            (lambda v: v.denominator > k.denominator,
             lambda v: f"takes the greater bottom number, {v.denominator}, for the smaller fraction: "
                       "its parts are smaller, but there are more of them"),
            (lambda v: v.denominator < k.denominator,
             lambda v: f"takes the smaller bottom number, {v.denominator}, for the smaller fraction, "
                       "but its parts are bigger"),
        ]
    return [
        (lambda v: v.numerator > k.numerator,
         lambda v: f"compares only the top numbers: {v.numerator} is more than {k.numerator}, but its "
                   "parts are smaller"),
        (lambda v: v.denominator - v.numerator < k.denominator - k.numerator,
         lambda v: f"counts only the missing parts: it is {v.denominator - v.numerator} "
                   f"{parts(v.denominator - v.numerator)} short of a whole, fewer than {frac(k)}, but "
                   "its parts are bigger"),
        (lambda v: v.denominator > k.denominator,
         lambda v: f"takes the greater bottom number, {v.denominator}, for the greater fraction, but "
                   "its parts are smaller"),
        (lambda v: v.denominator < k.denominator,
         lambda v: f"looks only at the size of the parts: they are bigger, but there "
                   f"{'is only one' if v.numerator == 1 else f'are only {v.numerator}'} of them"),
    ]


def slips_for(wrong, rules):
    """A slip for each wrong option from rules, (holds(option), slip(option))
    pairs, and whether the slips all differ; (None, False) when an option
    fits no rule."""
    fits = [[i for i, (holds, _) in enumerate(rules) if holds(v)] for v in wrong]
    if not all(fits):
        return None, False
    for picked in permutations(range(len(rules)), len(wrong)):
        if all(i in f for i, f in zip(picked, fits)):
            return [rules[i][1](v) for i, v in zip(picked, wrong)], True
    return [rules[f[0]][1](v) for f, v in zip(fits, wrong)], False


def written_over(values, bottom):
    """Each value with the bottom number given, those that already have it once."""
    return ", ".join(f"{fnum(v)} = {over(v, bottom)}" if Fr(v).denominator != bottom else fnum(v)
                     for v in values)


# Common bottom numbers a pupil handles, and the bottom numbers under them.
BOTTOMS = {12: [3, 4, 6, 12], 20: [4, 5, 10, 20], 24: [3, 4, 6, 8, 12], 30: [3, 5, 6, 10],
           36: [4, 6, 9, 12], 40: [5, 8, 10], 18: [3, 6, 9]}


def _fractions_over(rng, bottom, count, lo=Fr(0), hi=Fr(1)):
    pool = sorted({Fr(a, d) for d in BOTTOMS[bottom] for a in range(1, d)
                   if gcd(a, d) == 1 and lo < Fr(a, d) < hi})
    if len(pool) < count:
        raise ValueError("too few fractions")
    return rng.sample(pool, count)


@family("frac.compare", TOPIC, ["Q"], levels=(1, 2, 3))
def compare(rng, level, slots):
    if level == 2:
        return _between(rng)
    want = rng.choice(["greatest", "smallest"]) if level == 1 else "closest"
    fallback = None
    for attempt in range(100):
        bottom = rng.choice([b for b in BOTTOMS if len(BOTTOMS[b]) >= 4])
        lo = Fr(1, 2) if level == 3 else Fr(0)
        values = []
        for d in rng.sample(BOTTOMS[bottom], 4):
            values.append(rng.choice([Fr(a, d) for a in range(1, d) if gcd(a, d) == 1 and Fr(a, d) > lo]))
        if len(set(values)) < 4:
            continue
        key = min(values) if want == "smallest" else max(values)
        wrong = [v for v in values if v != key]
        slips, distinct = slips_for(wrong, _compare_rules(want, key))
        if slips and (distinct or attempt > 80):
            break
    else:
        raise ValueError("no set of fractions with a slip for each")
    common = lcm(*(v.denominator for v in values))
    if want == "closest":
        gaps = [1 - v for v in values]
        steps = [Step("Find how far each fraction is from 1: take it away from 1.",
                      ", ".join(f"1 {MINUS} {frac(v)} = {frac(1 - v)}" for v in values)),
                 Step(f"Compare these gaps with the same bottom number, {common}.",
                      ", ".join(over(g, common) for g in gaps)),
                 Step(f"The smallest gap is {over(1 - key, common)}, so {frac(key)} is closest to 1.")]
        why = f"{frac(key)} is only {frac(1 - key)} away from 1, less than any other."
        prompt = "Which of these fractions is closest to 1?"
    else:
        steps = [Step(f"Write the fractions with the same bottom number, {common}, so they can be "
                      "compared.", written_over(values, common)),
                 Step(f"With the same bottom number, the {want} fraction has the {want} top number.",
                      f"The {want} is {over(key, common)}" + (
                          f" = {frac(key)}" if key.denominator != common else ""))]
        why = (f"With the bottom number {common}, {frac(key)} has the {want} top number, "
               f"{key * common}.")
        prompt = f"Which of these fractions is the {want}?"
    part = choice(rng, frac(key), [(frac(v), s) for v, s in zip(wrong, slips)], prompt=prompt)
    return Question("", [part], solution=Solution(steps, [frac(key)], why=why))


# The two ends of "which fraction lies between", each with the fewest
# equal parts a pupil would use.
ENDS = [(Fr(1, 2), Fr(3, 4)), (Fr(1, 3), Fr(1, 2)), (Fr(2, 5), Fr(3, 5)), (Fr(1, 4), Fr(1, 2)),
        (Fr(1, 3), Fr(2, 3)), (Fr(3, 5), Fr(4, 5)), (Fr(1, 2), Fr(2, 3))]


def _between(rng):
    lo, hi = rng.choice(ENDS)
    bottom = rng.choice([b for b in BOTTOMS if b % lo.denominator == 0 and b % hi.denominator == 0])
    pool = sorted({Fr(a, d) for d in BOTTOMS[bottom] for a in range(1, d) if gcd(a, d) == 1})
    inside = [f for f in pool if lo < f < hi and f.denominator not in (lo.denominator, hi.denominator)]
    below = [f for f in pool if lo - Fr(1, 4) < f < lo]
    above = [f for f in pool if hi < f < hi + Fr(1, 4)]
    if not inside or not below or not above:
        raise ValueError("no fractions near the ends")
    key = rng.choice(inside)
    low, high = rng.choice(below), rng.choice(above)
    ends = sorted((lo.denominator, hi.denominator))
    # Its bottom number between the ends' bottom numbers: it looks between.
    looks = [f for f in below + above if ends[0] < f.denominator < ends[1] and f not in (low, high)]
    third = rng.choice(looks or [f for f in below + above if f not in (low, high)] or [None])
    if third is None:
        raise ValueError("too few distractors")

    def slip(f):
        if f in looks:
            return (f"sees its bottom number, {f.denominator}, lie between {ends[0]} and {ends[1]}, but "
                    f"that does not put the fraction between {frac(lo)} and {frac(hi)}")
        if f < lo:
            return (f"checks it only against {frac(hi)}: it is less than {frac(hi)}, but it is less "
                    f"than {frac(lo)} too")
        return (f"checks it only against {frac(lo)}: it is more than {frac(lo)}, but it is more "
                f"than {frac(hi)} too")
    options = [key, low, high, third]
    common = lcm(*(f.denominator for f in options + [lo, hi]))
    steps = [Step(f"Write {frac(lo)} and {frac(hi)} with the same bottom number, {common}.",
                  f"{frac(lo)} = {over(lo, common)}, {frac(hi)} = {over(hi, common)}"),
             Step("Write each option with that bottom number too.",
                  written_over(options[1:] + options[:1], common)),
             Step(f"Only one option has a top number between {lo * common} and {hi * common}.",
                  f"{over(key, common)} lies between {over(lo, common)} and {over(hi, common)}")]
    part = choice(rng, frac(key), [(frac(f), slip(f)) for f in (low, high, third)],
                  prompt=f"Which of these fractions lies between {frac(lo)} and {frac(hi)}?")
    why = (f"{frac(key)} is {over(key, common)}, and {key * common} lies between "
           f"{lo * common} and {hi * common}.")
    return Question("", [part], solution=Solution(steps, [frac(key)], why=why))


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
    op = MINUS if kind == "F" and level == 3 else rng.choice(["+", MINUS])
    if kind == "X" and level < 3:
        op = "+"
        a, b = max(a, 1 - a), max(b, 1 - b)     # a sum over 1
    if op != "+":
        a, b = max(a, b), min(a, b)
    steps, value = add_sub(a, b, op)
    if value <= 0:
        raise ValueError("no difference")
    key = key_as(value, kind)
    show = mixed if level == 3 else frac
    return Question(p(f"{show(a)} {op} {show(b)} = ?"), [Part(key=key)],
                    solution=Solution(steps, [value]))


@family("frac.multiply", TOPIC, ["N", "F", "X"], levels=(1, 2, 3))
def multiply(rng, level, slots):
    kind = slots[0].kind
    if kind == "F":
        a, b = proper(rng, [2, 3, 4, 5, 6]), proper(rng, [3, 4, 5, 7, 8, 9])
        top, bottom = a.numerator * b.numerator, a.denominator * b.denominator
        steps = [Step("Multiply the tops, and multiply the bottoms.",
                      f"{frac(a)} {TIMES} {frac(b)} = "
                      f"{frac(f'{a.numerator} {TIMES} {b.numerator}', f'{a.denominator} {TIMES} {b.denominator}')}"
                      f" = {frac(top, bottom)}")] + simplify_steps(0, top, bottom)
        return Question(p(f"{frac(a)} {TIMES} {frac(b)} = ?"), [Part(key=key_as(a * b, kind))],
                        solution=Solution(steps, [a * b]))
    f = proper(rng, [3, 4, 5, 6, 8])
    a, d = f.numerator, f.denominator
    if kind == "N":
        k = d * rng.randint(2, 9)
        if level == 3:
            person = names(rng, 1)[0]
            sing, plur = rng.choice(COUNTABLES)
            marks = [(0, a, "given away", True), (a, d - a, "kept", False)]
            figure = Figure(bar_model(d, marks, f"{k} {plur}"), bar_alt(d, marks, f"{k} {plur}"))
            one = k // d
            steps = [Step(f"Draw the {k} {plur} as {d} equal units. {pronoun(person).capitalize()} "
                          f"gave away {frac(f)} of them: {a} of the {d} units.", figure=figure),
                     Step(f"Find 1 unit: share the {k} {plur} equally into {d} units.",
                          f"{k} {DIV} {d} = {one}")]
            if a > 1:
                steps.append(Step(f"{pronoun(person).capitalize()} gave away {a} units.",
                                  f"{one} {TIMES} {a} = {one * a}"))
            return Question(p(f"{person} had {k} {plur}. {pronoun(person).capitalize()} gave "
                              f"{frac(f)} of them to {possessive(person)} friend.",
                              f"How many {plur} did {pronoun(person)} give away?"),
                            [Part(key=key_as(f * k, kind), unit=plur)],
                            solution=Solution(steps, [f * k]))
        steps = fraction_of_steps(f, k)
        steps[0].say = f"{frac(f)} {TIMES} {k} is {frac(f)} of {k}. " + steps[0].say
        return Question(p(f"{frac(f)} {TIMES} {k} = ?"), [Part(key=key_as(f * k, kind))],
                        solution=Solution(steps, [f * k]))
    if level < 3:
        k = rng.randint(2, 12)
        value = f * k
        steps = [Step(f"Multiply the top by {k}. The bottom stays {d}.",
                      f"{frac(f)} {TIMES} {k} = {frac(f'{a} {TIMES} {k}', d)} = {frac(a * k, d)}")]
        steps += simplify_steps(0, a * k, d)
        steps.append(to_mixed_step(value.numerator, value.denominator))
        return Question(p(f"{frac(f)} {TIMES} {k} = ?"), [Part(key=key_as(value, kind))],
                        solution=Solution(steps, [value]))
    x = rng.randint(1, 3) + f
    k = rng.randint(2, 5)
    value = x * k
    w = floor(x)
    steps = [Step(f"Change {mixed(x)} to an improper fraction: {w} {TIMES} {d} + {a} = {x.numerator}.",
                  f"{mixed(x)} = {frac(x.numerator, d)}"),
             Step(f"Multiply the top by {k}. The bottom stays {d}.",
                  f"{frac(x.numerator, d)} {TIMES} {k} = {frac(x.numerator * k, d)}")]
    steps += simplify_steps(0, x.numerator * k, d)
    steps.append(to_mixed_step(value.numerator, value.denominator))
    return Question(p(f"{mixed(x)} {TIMES} {k} = ?"), [Part(key=key_as(value, kind))],
                    solution=Solution(steps, [value]))


def _divide_by_fraction(w, f, lead=""):
    """w divided by the fraction f: multiplying by f turned upside down."""
    a, d = f.numerator, f.denominator
    value = Fr(w) / f
    if a == 1:
        return [Step(f"{lead}There are {d} parts of {frac(f)} in each whole, so in {w} wholes there "
                     f"are {w} {TIMES} {d}.", f"{w} {DIV} {frac(f)} = {w} {TIMES} {d} = {n(value)}")]
    steps = [Step(f"{lead}Dividing by {frac(f)} is the same as multiplying by {frac(d, a)}, the "
                  "fraction turned upside down.",
                  f"{w} {DIV} {frac(f)} = {w} {TIMES} {frac(d, a)} = {frac(f'{w} {TIMES} {d}', a)} "
                  f"= {frac(w * d, a)}")]
    if value.denominator == 1:
        steps.append(Step(f"Divide the top by the bottom.", f"{w * d} {DIV} {a} = {n(value)}"))
        return steps
    steps += simplify_steps(0, w * d, a)
    steps.append(to_mixed_step(value.numerator, value.denominator))
    return steps


@family("frac.divide", TOPIC, ["N", "F", "X"], levels=(1, 2, 3))
def divide(rng, level, slots):
    kind = slots[0].kind
    if kind == "F":
        f = proper(rng, [2, 3, 4, 5, 7, 8])
        k = rng.randint(2, 6)
        a, d = f.numerator, f.denominator
        steps = [Step(f"Dividing by {k} is the same as multiplying by {frac(1, k)}: the bottom "
                      f"is multiplied by {k}.",
                      f"{frac(f)} {DIV} {k} = {frac(f)} {TIMES} {frac(1, k)} = "
                      f"{frac(a, f'{d} {TIMES} {k}')} = {frac(a, d * k)}")]
        steps += simplify_steps(0, a, d * k)
        return Question(p(f"{frac(f)} {DIV} {k} = ?"), [Part(key=key_as(f / k, kind))],
                        solution=Solution(steps, [f / k]))
    if kind == "N":
        f = proper(rng, [2, 3, 4, 5, 6])
        w = f.numerator * rng.randint(2, 8)
        if level == 3:
            juice = rng.choice(["orange juice", "water", "soup"])
            who = adult(rng)
            lead = (f"The number of jugs is how many times {unit(frac(f), LITRE)} goes into "
                    f"{unit(w, LITRE)}. ")
            return Question(p(f"{who} poured {unit(w, LITRE)} of {juice} into jugs, filling each jug "
                              "to the top.",
                              f"Each jug holds {unit(frac(f), LITRE)}. How many jugs did "
                              f"{pronoun(who)} fill?"),
                            [Part(key=key_as(w / f, kind), unit="jugs")],
                            solution=Solution(_divide_by_fraction(w, f, lead), [w / f]))
        return Question(p(f"{w} {DIV} {frac(f)} = ?"), [Part(key=key_as(w / f, kind))],
                        solution=Solution(_divide_by_fraction(w, f), [w / f]))
    for _ in range(20):
        w = rng.randint(2, 9)
        f = proper(rng, [3, 4, 5, 7])
        if (w / f).denominator != 1:
            break
    return Question(p(f"{w} {DIV} {frac(f)} = ?"), [Part(key=key_as(w / f, kind))],
                    solution=Solution(_divide_by_fraction(w, f), [w / f]))


# (a whole of it, several, factor to the answer's unit, the answer's unit)
QUANTITIES = [("hour", "hours", 60, "minutes"), ("kg", "kg", 1000, "g"), ("m", "m", 100, "cm"),
              (LITRE, LITRE, 1000, MILLILITRE), ("day", "days", 24, "hours")]


@family("frac.of-quantity", TOPIC, ["N"], levels=(1, 2, 3))
def of_quantity(rng, level, slots):
    if level == 1:
        f = proper(rng, [3, 4, 5, 6, 8])
        total = f.denominator * rng.randint(3, 15)
        what = rng.choice([("kg", ""), ("", "$"), ("m", ""), ("pupils", "")])
        shown = money(total) if what[1] else unit(total, what[0])
        return Question(p(f"What is {frac(f)} of {shown}?"),
                        [Part(key=num(f * total), unit=what[0], unit_before=what[1])],
                        solution=Solution(fraction_of_steps(f, total, shown), [f * total]))
    sing, plur, factor, into = rng.choice(QUANTITIES)
    count = rng.choice([1, 2, 3]) if level == 3 else 1
    shown = unit(count, sing if count == 1 else plur)
    f = rng.choice([Fr(a, b) for b in (3, 4, 5, 6, 8, 10, 12) for a in range(1, b)
                    if gcd(a, b) == 1 and (Fr(a, b) * factor * count).denominator == 1])
    amount = factor * count
    change = (f"{shown} = {unit(n(amount), into)}" if count == 1 else
              f"{shown} = {count} {TIMES} {unit(factor, into)} = {unit(n(amount), into)}")
    steps = [Step(f"Change {shown} to {into}.", change)]
    steps += fraction_of_steps(f, amount, unit(n(amount), into))
    return Question(p(f"What is {frac(f)} of {shown}? Give your answer in {into}."),
                    [Part(key=num(f * amount), unit=into)], solution=Solution(steps, [f * amount]))


def _whole_from_part_steps(f, part, what, whole_label, part_label):
    """a units of d are part: one unit, then the whole, on a bar model."""
    a, d = f.numerator, f.denominator
    marks = [(0, a, part_label, True)]
    if d > a:
        marks.append((a, d - a, "", False))
    marks = [m for m in marks if m[2]]
    figure = Figure(bar_model(d, marks, whole_label), bar_alt(d, marks, whole_label))
    whole = part / f
    if a == 1:
        return [Step(f"Draw {what} as {d} equal units. {frac(f)} of it is 1 unit, which is "
                     f"{n(part)}. The whole is {d} units.", f"{n(part)} {TIMES} {d} = {n(whole)}",
                     figure=figure)]
    one = Fr(part, a)
    return [Step(f"Draw {what} as {d} equal units. {frac(f)} of it is {a} units, which are "
                 f"{n(part)}. Find 1 unit.", f"{n(part)} {DIV} {a} = {n(one)}", figure=figure),
            Step(f"The whole is {d} units.", f"{n(one)} {TIMES} {d} = {n(whole)}")]


@family("frac.whole-from-part", TOPIC, ["N"], levels=(2, 3))
def whole_from_part_question(rng, level, slots):
    f = proper(rng, [3, 4, 5, 6, 7, 8, 9])
    if f.numerator == 1 and level == 3:
        raise ValueError("too easy for a late question")
    whole = f.denominator * rng.randint(3, 12)
    part = f * whole
    if level == 2:
        steps = _whole_from_part_steps(f, part, "the number", "the number: ?", str(part))
        return Question(p(f"{frac(f)} of a number is {part}. What is the number?"),
                        [Part(key=num(whole_from_part(part, f)))], solution=Solution(steps, [whole]))
    person = names(rng, 1)[0]
    steps = _whole_from_part_steps(f, part, "the book", "the book: ? pages", f"{part} pages read")
    return Question(p(f"{person} has read {frac(f)} of a book. {pronoun(person).capitalize()} has read "
                      f"{part} pages.", "How many pages are there in the book?"),
                    [Part(key=num(whole_from_part(part, f)), unit="pages")],
                    solution=Solution(steps, [whole]))


def _remainder_bar(first, of_rest, labels, whole=""):
    """The bar of a 'then a fraction of the rest' story: units, the two
    parts and what is left, with its figure."""
    units, x, y = remainder_units(first, of_rest)
    marks = [(0, x, labels[0], True), (x, y, labels[1], True), (x + y, units - x - y, labels[2], False)]
    return units, x, y, Figure(bar_model(units, marks, whole), bar_alt(units, marks, whole))


@family("frac.remainder", TOPIC, ["F", "N"], levels=(2, 3))
def remainder(rng, level, slots):
    person = names(rng, 1)[0]
    he = pronoun(person)
    a = rng.choice([Fr(1, 3), Fr(1, 4), Fr(2, 5), Fr(1, 5), Fr(3, 8), Fr(1, 6)])
    b = rng.choice([Fr(1, 2), Fr(1, 3), Fr(1, 4), Fr(2, 3), Fr(3, 4), Fr(2, 5)])
    things = rng.choice([("a book", "a pen"), ("a bag", "a cap"), ("a toy", "a box of sweets")])
    short = [t.split(" ", 1)[1] if t.count(" ") == 1 else t[2:] for t in things]
    spending = (f"spent {frac(a)} of {possessive(person)} money on {things[0]} and "
                f"{frac(b)} of the remaining money on {things[1]}.")
    text = f"{person} {spending}"
    left = left_after(a, b)
    units, x, y = remainder_units(a, b)
    z = units - x - y
    if slots[0].kind == "F":
        *_, figure = _remainder_bar(a, b, (short[0], short[1], "left"))
        steps = [Step(f"Draw the money as {units} equal units, so that both fractions give whole "
                      f"units. {frac(a)} of {units} units is {plural(x, 'unit')}, spent on the {short[0]}.",
                      f"{of_work(a, units)}; {units} {MINUS} {x} = {units - x} units are left"),
                 Step(f"{frac(b)} of the remaining {units - x} units is spent on the {short[1]}.",
                      of_work(b, units - x), figure=figure),
                 Step("Take away both parts to find the units left.",
                      f"{units} {MINUS} {x} {MINUS} {y} = {z}")]
        steps += fraction_step(z, units, f"{z} of the {units} units are left.")
        return Question(p(text, f"What fraction of {possessive(person)} money did {he} have left?"),
                        [Part(key=key_as(left, "F"))], solution=Solution(steps, [left]))
    each = rng.randint(2, 10) * (5 if level == 3 else 1)
    start = units * each
    if level == 2:
        first = a * start
        rest = start - first
        second = b * rest
        steps = [Step(f"Find the money spent on the {short[0]}.", of_work(a, start, money)),
                 Step(f"Find the money that remained.",
                      f"{money(start)} {MINUS} {money(first)} = {money(rest)}"),
                 Step(f"{frac(b)} of the remaining money was spent on the {short[1]}.",
                      of_work(b, rest, money))]
        return Question(p(f"{person} had {money(start)}. {he.capitalize()} {spending}",
                          f"How much did {he} spend on {things[1]}?"),
                        [Part(key=num(second), unit_before="$")], solution=Solution(steps, [second]))
    *_, figure = _remainder_bar(a, b, (short[0], short[1], f"{money(left * start)} left"), "?")
    steps = [Step(f"Draw the money {he} had at first as {units} equal units. {frac(a)} of {units} "
                  f"units is {plural(x, 'unit')}, spent on the {short[0]}.",
                  f"{of_work(a, units)}; {units} {MINUS} {x} = {units - x} units remain"),
             Step(f"{frac(b)} of the remaining {units - x} units is spent on the {short[1]}, and the "
                  "rest is left.",
                  f"{of_work(b, units - x)}; {units - x} {MINUS} {y} = {z} units are left",
                  figure=figure),
             Step(f"{z} {'unit is' if z == 1 else 'units are'} {money(left * start)}. Find 1 unit.",
                  f"{money(left * start)} {DIV} {z} = {money(each)}"),
             Step(f"At first {he} had {units} units.", f"{units} {TIMES} {money(each)} = {money(start)}")]
    return Question(p(text, f"{he.capitalize()} had {money(left * start)} left.",
                      f"How much money did {he} have at first?"),
                    [Part(key=num(start), unit_before="$")], solution=Solution(steps, [start]))


@family("frac.shaded", TOPIC, ["F"], levels=(1, 2, 3))
def shaded(rng, level, slots):
    if rng.random() < 0.6:
        rows, cols = rng.choice([(2, 4), (3, 4), (2, 6), (3, 6), (4, 4), (4, 5), (3, 5), (2, 5)])
        total = rows * cols
        k = rng.choice([x for x in range(2, total - 1) if gcd(x, total) > 1])
        cells = set(rng.sample(range(total), k))
        fig = Figure(_grid(rows, cols, cells),
                     f"A rectangle divided into {rows} rows of {cols} equal squares, {total} squares "
                     f"in all; {k} of them are shaded")
    else:
        total = rng.choice([6, 8, 10, 12])
        k = rng.choice([x for x in range(2, total - 1) if gcd(x, total) > 1])
        cells = set(rng.sample(range(total), k))
        fig = Figure(_circle(total, cells), f"A circle divided into {total} equal parts; {k} of them "
                                            "are shaded")
    if level == 1:
        steps = fraction_step(k, total, f"Count the parts: {k} of the {total} equal parts are shaded.")
        return Question(p("What fraction of the figure is shaded?"),
                        [Part(key=fraction_key(Fr(k, total)))], [fig],
                        solution=Solution(steps, [Fr(k, total)]))
    steps = [Step(f"Count the parts: {k} of the {total} equal parts are shaded. Take them away "
                  "to find the parts that are not shaded.", f"{total} {MINUS} {k} = {total - k}")]
    steps += fraction_step(total - k, total, f"{total - k} of the {total} parts are not shaded.")
    return Question(p("The figure is divided into equal parts. What fraction of the figure is "
                      "<b>not</b> shaded?"),
                    [Part(key=fraction_key(Fr(total - k, total)))], [fig],
                    solution=Solution(steps, [Fr(total - k, total)]))


@family("frac.number-line", TOPIC, ["F", "X"], levels=(1, 2, 3))
def number_line(rng, level, slots):
    d = rng.choice([3, 4, 5, 6, 8, 10])
    whole = rng.choice([1, 2]) if slots[0].kind == "F" else 3
    lo, hi = (1, d) if slots[0].kind == "F" else (d + 1, whole * d)
    i = rng.choice([x for x in range(lo, hi) if x % d])
    value = Fr(i, d)
    w, j = divmod(i, d)
    parts = "part" if j == 1 else "parts"
    fig = Figure(_fraction_line(d, whole, i),
                 f"A number line from 0 to {whole} with the whole numbers labelled; each whole is "
                 f"divided into {d} equal parts by small marks. The arrow points at the mark {j} "
                 f"{parts} to the right of {w}.")
    steps = [Step(f"From 0 to 1 the line is divided into {d} equal parts, so each part is {frac(1, d)}."),
             Step(f"The arrow is {j} {parts} to the right of {w}.",
                  f"{j} {TIMES} {frac(1, d)} = {frac(j, d)}" if w == 0 and j > 1 else
                  f"1 part is {frac(1, d)}" if w == 0 else
                  f"{w} + {j} {TIMES} {frac(1, d)} = {raw(w, j, d)}")]
    steps += simplify_steps(w, j, d)
    text = p("The number line is divided into equal parts. What number is the arrow pointing to?")
    return Question(text, [Part(key=key_as(value, slots[0].kind))], [fig],
                    solution=Solution(steps, [value]))


@family("frac.of-set", TOPIC, ["F"], levels=(1, 2, 3))
def of_set(rng, level, slots):
    if level == 1:
        total = rng.choice([24, 30, 32, 36, 40, 42])
        girls = rng.choice([x for x in range(8, total - 8) if gcd(x, total) > 1 and gcd(total - x, total) > 1])
        boys = total - girls
        steps = [Step("The boys are the pupils who are not girls.", f"{total} {MINUS} {girls} = {boys}")]
        steps += fraction_step(boys, total, f"{boys} of the {total} pupils are boys.")
        return Question(p(f"There are {total} pupils in a class. {girls} of them are girls.",
                          "What fraction of the class are boys?"),
                        [Part(key=key_as(Fr(boys, total), "F"))], solution=Solution(steps, [Fr(boys, total)]))
    for _ in range(20):
        a, b, c = rng.randint(6, 20), rng.randint(6, 20), rng.randint(6, 20)
        if gcd(b, a + b + c) > 1 or level == 3:
            break
    colours = rng.sample(["red", "blue", "green", "yellow", "white"], 3)
    sing, plur = rng.choice([("bead", "beads"), ("marble", "marbles"), ("button", "buttons")])
    total = a + b + c
    if Fr(b, total).denominator == total and level == 2:
        raise ValueError("nothing to simplify")
    steps = [Step(f"Find how many {plur} there are altogether.", f"{a} + {b} + {c} = {total}")]
    if level == 2:
        ask = f"What fraction of the {plur} are {colours[1]}?"
        value = Fr(b, total)
        steps += fraction_step(b, total, f"{b} of the {total} {plur} are {colours[1]}.")
    else:
        ask = f"What fraction of the {plur} are not {colours[0]}?"
        value = Fr(b + c, total)
        steps += [Step(f"The {plur} that are not {colours[0]} are the {colours[1]} and the "
                       f"{colours[2]} ones.", f"{b} + {c} = {b + c}")]
        steps += fraction_step(b + c, total, f"{b + c} of the {total} {plur} are not {colours[0]}.")
    return Question(p(f"A box holds {a} {colours[0]} {plur}, {b} {colours[1]} {plur} and {c} "
                      f"{colours[2]} {plur}.", ask),
                    [Part(key=key_as(value, "F"))], solution=Solution(steps, [value]))


# (how many of the bigger unit, it, the smaller unit, how many of it that is)
MEASURES = [(1, "m", "cm", 100), (1, "kg", "g", 1000), (1, "hour", "minutes", 60), (1, "$", "cents", 100),
            (2, "m", "cm", 200), (2, "hours", "minutes", 120), (3, "kg", "g", 3000),
            (1, LITRE, MILLILITRE, 1000)]


@family("frac.measure-fraction", TOPIC, ["F"], levels=(1, 2, 3))
def measure_fraction(rng, level, slots):
    count, big, small, size = rng.choice(MEASURES[:4] if level == 1 else MEASURES if level == 2
                                         else MEASURES[4:])
    part = rng.choice([x for x in range(1, size) if gcd(x, size) > 1 and x % (size // 20 or 1) == 0]
                      or [size // 4])
    if Fr(part, size).denominator == 1:
        raise ValueError("whole")
    whole = money(count) if big == "$" else unit(count, big)
    per = size // count
    change = (f"{whole} = {unit(size, small)}" if count == 1 else
              f"{whole} = {count} {TIMES} {unit(per, small)} = {unit(size, small)}")
    steps = [Step(f"Change {whole} to {small}, so both amounts are in the same unit.", change)]
    steps += fraction_step(part, size, f"{unit(part, small)} out of {unit(size, small)} is "
                                       f"{frac(part, size)}.")
    return Question(p(f"What fraction of {whole} is {unit(part, small)}?"),
                    [Part(key=key_as(Fr(part, size), "F"))], solution=Solution(steps, [Fr(part, size)]))


@family("frac.before-after", TOPIC, ["N"], levels=(2, 3))
def before_after(rng, level, slots):
    person = names(rng, 1)[0]
    if rng.random() < 0.5:
        f = proper(rng, [3, 4, 5, 7, 8])
        a, d = f.numerator, f.denominator
        whole = d * rng.randint(4, 15)
        left = whole - f * whole
        sing, plur = rng.choice(COUNTABLES)
        he = pronoun(person)
        marks = [(0, a, "given away", True), (a, d - a, f"{n(left)} left", False)]
        figure = Figure(bar_model(d, marks, "at first: ?"), bar_alt(d, marks, "at first: ?"))
        kept = d - a
        steps = [Step(f"Draw the {plur} {he} had at first as {d} equal units. {he.capitalize()} gave away "
                      f"{a} of them, so {kept} {'unit is' if kept == 1 else 'units are'} left.",
                      f"{d} {MINUS} {a} = {kept}", figure=figure)]
        one = left / kept
        if kept > 1:
            steps.append(Step(f"{kept} units are {n(left)} {plur}. Find 1 unit.",
                              f"{n(left)} {DIV} {kept} = {n(one)}"))
        else:
            steps[0].say += f" That unit is {n(left)} {plur}."
        steps.append(Step(f"At first {he} had {d} units.", f"{n(one)} {TIMES} {d} = {n(whole)}"))
        return Question(p(f"{person} gave away {frac(f)} of {possessive(person)} {plur}. "
                          f"{he.capitalize()} had {n(left)} {plur} left.",
                          f"How many {plur} did {he} have at first?"),
                        [Part(key=num(whole_from_part(left, 1 - f)), unit=plur)],
                        solution=Solution(steps, [whole]))
    full, later = rng.choice([(Fr(3, 4), Fr(1, 2)), (Fr(2, 3), Fr(1, 3)), (Fr(5, 6), Fr(1, 2)),
                              (Fr(4, 5), Fr(1, 2)), (Fr(7, 8), Fr(3, 8))])
    capacity = (full - later).denominator * rng.randint(3, 12) * 50
    poured = (full - later) * capacity
    if poured.denominator != 1:
        raise ValueError("not whole millilitres")
    units = lcm(full.denominator, later.denominator)
    kept, out = int(later * units), int((full - later) * units)
    marks = [(0, kept, "still in the jug", False), (kept, out, f"{n(poured)} m\u2113 poured out", True)]
    if units > kept + out:
        marks.append((kept + out, units - kept - out, "empty", False))
    figure = Figure(bar_model(units, marks, "capacity: ?"), bar_alt(units, marks, "capacity: ?"))
    one = poured / out
    steps = [Step(f"Draw the jug as {units} equal units. It was {over(full, units)} full and then "
                  f"{over(later, units)} full, so the water poured out was {out} "
                  f"{'unit' if out == 1 else 'units'}.",
                  f"{over(full, units)} {MINUS} {over(later, units)} = {frac(out, units)}", figure=figure)]
    if out > 1:
        steps.append(Step(f"{out} units are {unit(n(poured), MILLILITRE)}. Find 1 unit.",
                          f"{n(poured)} {DIV} {out} = {n(one)}"))
    else:
        steps[0].say += f" That unit is {unit(n(poured), MILLILITRE)}."
    steps.append(Step(f"The whole jug is {units} units.", f"{n(one)} {TIMES} {units} = {n(capacity)}"))
    return Question(p(f"A jug was {frac(full)} full of water. After {unit(n(poured), MILLILITRE)} of water "
                      f"was poured out, it was {frac(later)} full.", "What is the capacity of the jug?"),
                    [Part(key=num(whole_from_part(poured, full - later)), unit=MILLILITRE)],
                    solution=Solution(steps, [capacity]))


@family("frac.word-problem", TOPIC, ["F", "X", "N"], levels=(2, 3))
def word_problem(rng, level, slots):
    kind = slots[0].kind
    a, b = names(rng, 2)
    if kind == "F":
        for _ in range(20):
            x, y = proper(rng, [3, 4, 5, 6]), proper(rng, [4, 6, 8, 10, 12])
            if x + y < 1:
                break
        else:
            raise ValueError("eats more than the whole")
        food = rng.choice(["cake", "pizza", "pie", "watermelon"])
        bottom = lcm(x.denominator, y.denominator)
        eaten = int((x + y) * bottom)
        steps = rename_steps([x, y], bottom)
        steps += [Step("Add to find how much of it was eaten.",
                       f"{over(x, bottom)} + {over(y, bottom)} = {frac(eaten, bottom)}"),
                  Step(f"The whole {food} is {frac(bottom, bottom)}. Take away what was eaten.",
                       f"{frac(bottom, bottom)} {MINUS} {frac(eaten, bottom)} = {frac(bottom - eaten, bottom)}")]
        steps += simplify_steps(0, bottom - eaten, bottom)
        return Question(p(f"{a} ate {frac(x)} of a {food} and {b} ate {frac(y)} of it.",
                          f"What fraction of the {food} was left?"), [Part(key=key_as(1 - x - y, kind))],
                        solution=Solution(steps, [1 - x - y]))
    if kind == "X":
        start = rng.randint(3, 6) + proper(rng, [2, 3, 4])
        used = rng.randint(1, 2) + proper(rng, [4, 6, 8])
        added = rng.randint(1, 3) + proper(rng, [2, 3])
        value = start - used + added
        if start <= used:
            raise ValueError("uses more than there is")
        bottom = lcm(start.denominator, used.denominator, added.denominator)
        steps = rename_steps([start, used, added], bottom)
        more, w, t = add_sub_steps(start, used, MINUS, bottom, lead=f"Take away the water {a} used.")
        steps += more
        more, w, t = add_sub_steps(w + Fr(t, bottom), added, "+", bottom,
                                   lead=f"Add the water {b} poured in.")
        steps += more + simplify_steps(w, t, bottom)
        return Question(p(f"A tank had {unit(mixed(start), LITRE)} of water. {a} used "
                          f"{unit(mixed(used), LITRE)} of it.",
                          f"Then {b} poured {unit(mixed(added), LITRE)} of water into the tank.",
                          "How much water was in the tank then?"),
                        [Part(key=key_as(value, kind), unit=LITRE)], solution=Solution(steps, [value]))
    piece = proper(rng, [3, 4, 5, 6])
    length = rng.randint(3, 12)
    count, rest = pieces(length, piece)
    pa, pd = piece.numerator, piece.denominator
    who = nb("Mrs", rng.choice(["Lim", "Ong", "Das", "Lee"]))
    if pa == 1:
        steps = [Step(f"Each metre gives {pd} pieces {unit(frac(piece), 'm')} long, so {length} metres "
                      f"give {length} {TIMES} {pd}.",
                      f"{length} {DIV} {frac(piece)} = {length} {TIMES} {pd} = {count}")]
    else:
        steps = [Step(f"Dividing by {frac(piece)} is the same as multiplying by {frac(pd, pa)}.",
                      f"{length} {DIV} {frac(piece)} = {length} {TIMES} {frac(pd, pa)} = {frac(length * pd, pa)}")]
        if rest:
            steps.append(Step(f"Only whole pieces count: divide {length * pd} by {pa} and keep the whole "
                              f"number. {count} pieces use {unit(fnum(count * piece), 'm')}; the "
                              f"{unit(fnum(rest), 'm')} left over is too short for another piece.",
                              f"{length * pd} {DIV} {pa} = {count} remainder {length * pd - count * pa}"))
        else:
            steps.append(Step("Divide the top by the bottom.", f"{length * pd} {DIV} {pa} = {count}"))
    ask = "How many pieces did she cut?" if rest == 0 else "What is the greatest number of pieces she could cut?"
    return Question(p(f"{who} cut a ribbon {unit(n(length), 'm')} long "
                      f"into pieces, each {unit(frac(piece), 'm')} long.", ask),
                    [Part(key=num(count), unit="pieces")], solution=Solution(steps, [count]))


# Multi-part stories: one situation, two questions.

@family("frac.story-sold", TOPIC, [("N", "N")], levels=(2, 3))
def story_sold(rng, level, slots):
    baker = adult(rng)
    for _ in range(20):
        a, b = proper(rng, [3, 4, 5, 8]), proper(rng, [2, 3, 4, 5])
        if remainder_units(a, b)[0] <= 24:      # a bar a pupil can draw
            break
    total = a.denominator * b.denominator * rng.randint(2, 6)
    morning = a * total
    left = (1 - a) * (1 - b) * total
    if morning.denominator != 1 or left.denominator != 1:
        raise ValueError("not whole buns")
    what = rng.choice(["buns", "muffins", "cookies", "curry puffs"])
    rest = total - morning
    afternoon = b * rest
    units, x, y, figure = _remainder_bar(a, b, (f"morning: {n(morning)}", f"afternoon: {n(afternoon)}",
                                                "left: ?"), f"{total} {what}")
    steps = fraction_of_steps(a, total, f"{total} {what}")
    steps += [Step(f"Find how many {what} remained after the morning.",
                   f"{total} {MINUS} {n(morning)} = {n(rest)}", part=2),
              Step(f"{frac(b)} of the remaining {what} were sold in the afternoon.",
                   of_work(b, rest), part=2, figure=figure),
              Step(f"Take away the {what} sold in the afternoon.",
                   f"{n(rest)} {MINUS} {n(afternoon)} = {n(left)}", part=2)]
    return Question(p(f"{baker} baked {total} {what}. {pronoun(baker).capitalize()} sold {frac(a)} of them "
                      f"in the morning and {frac(b)} of the remaining {what} in the afternoon."),
                    [Part(key=num(morning), unit=what, prompt=f"How many {what} were sold in the morning?"),
                     Part(key=num(left), unit=what, prompt=f"How many {what} were left at the end of the day?")],
                    solution=Solution(steps, [morning, left]))


@family("frac.story-spending", TOPIC, [("F", "N"), ("N", "F")], levels=(2, 3))
def story_spending(rng, level, slots):
    person = adult(rng)
    he = pronoun(person)
    for _ in range(20):
        a, b = proper(rng, [3, 4, 5]), proper(rng, [4, 5, 10])
        if a + b < 1 and a.denominator != b.denominator:
            break
    else:
        raise ValueError("spends too much")
    spent = a + b
    total = spent.denominator * rng.randint(4, 20) * 5
    bottom = lcm(a.denominator, b.denominator)
    spending = f"spent {frac(a)} of {possessive(person)} money on food and {frac(b)} of it on clothes."
    text = p(f"{person} {spending}")
    food_u, clothes_u = int(a * bottom), int(b * bottom)
    left_u = bottom - food_u - clothes_u
    if slots[0].kind == "F":
        kept = (1 - spent) * total
        steps = [s for s in add_sub(a, b, "+")[0]]
        steps[0].say = "Add the two fractions to find how much was spent. " + steps[0].say
        marks = [(0, food_u, "food", True), (food_u, clothes_u, "clothes", True),
                 (food_u + clothes_u, left_u, f"{money(kept)} left", False)]
        figure = Figure(bar_model(bottom, marks, "at first: ?"), bar_alt(bottom, marks, "at first: ?"))
        one = kept / left_u
        steps += [Step(f"Draw {possessive(person)} money as {bottom} equal units: {food_u} for food and "
                       f"{clothes_u} for clothes, so {left_u} {'unit is' if left_u == 1 else 'units are'} "
                       "left.", f"{bottom} {MINUS} {food_u} {MINUS} {clothes_u} = {left_u}", part=2,
                       figure=figure)]
        if left_u > 1:
            steps.append(Step(f"{left_u} units are {money(kept)}. Find 1 unit.",
                              f"{money(kept)} {DIV} {left_u} = {money(one)}", part=2))
        else:
            steps[-1].say += f" That unit is {money(kept)}."
        steps.append(Step(f"At first {he} had {bottom} units.",
                          f"{money(one)} {TIMES} {bottom} = {money(total)}", part=2))
        return Question(text, [
            Part(key=key_as(spent, "F"), prompt=f"What fraction of {possessive(person)} money did "
                                                f"{he} spend altogether?"),
            Part(key=num(total), unit_before="$",
                 prompt=f"{he.capitalize()} had {money(kept)} left. How much money did {he} have at first?")],
            solution=Solution(steps, [spent, total]))
    steps = fraction_of_steps(a, total, show=money)
    steps += rename_steps([a, b], bottom, part=2)
    steps.append(Step(f"The whole of the money is {frac(bottom, bottom)}. Take away both parts spent.",
                      f"{frac(bottom, bottom)} {MINUS} {over(a, bottom)} {MINUS} {over(b, bottom)} = "
                      f"{frac(left_u, bottom)}", part=2))
    steps += simplify_steps(0, left_u, bottom, part=2)
    return Question(p(f"{person} had {money(total)}. {he.capitalize()} {spending}"), [
        Part(key=num(a * total), unit_before="$", prompt=f"How much did {he} spend on food?"),
        Part(key=key_as(1 - spent, "F"), prompt=f"What fraction of {possessive(person)} money was left?")],
        solution=Solution(steps, [a * total, 1 - spent]))


@family("frac.story-ribbon", TOPIC, [("X", "N"), ("N", "N")], levels=(2, 3))
def story_ribbon(rng, level, slots):
    person = names(rng, 1)[0]
    he = pronoun(person)
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
    count = left / piece
    text = p(f"{person} had a ribbon {unit(n(length), 'm')} long. {he.capitalize()} used "
             f"{unit(mixed(used1), 'm')} of it for a bag and {unit(mixed(used2), 'm')} for a hat.")
    second = Part(key=num(count), unit="pieces",
                  prompt=f"{he.capitalize()} cut the rest of the ribbon into pieces {unit(frac(piece), 'm')} "
                         f"long. How many pieces did {he} get?")
    upside = frac(piece.denominator, piece.numerator) if piece.numerator > 1 else str(piece.denominator)
    rest_work, _ = one_line(length, used, MINUS)
    cut = [Step(f"Find the ribbon left: take the ribbon used away from {unit(n(length), 'm')}.", rest_work, 2),
           Step(f"Find how many pieces {unit(frac(piece), 'm')} long there are in {unit(fnum(left), 'm')}: "
                f"divide by {frac(piece)}, which is the same as multiplying by {upside}.",
                f"{fnum(left)} {DIV} {frac(piece)} = {frac(left.numerator, left.denominator)} {TIMES} "
                f"{upside} = {n(count)}", 2)]
    if slots[0].kind == "X":
        steps, value = add_sub(used1, used2, "+")
        steps[0].say = "Add the two lengths used. " + steps[0].say
        first = Part(key=key_as(used, "X"), unit="m", prompt=f"How much ribbon did {he} use altogether?")
        return Question(text, [first, second], solution=Solution(steps + cut, [used, count]))
    if (used1 * 100).denominator != 1:
        raise ValueError("not whole centimetres")
    w1 = floor(used1)
    steps = [Step(f"{unit(1, 'm')} = {unit(100, 'cm')}. Change the whole metres and the fraction of a "
                  "metre to centimetres and add them.",
                  f"{unit(mixed(used1), 'm')} = {w1} {TIMES} {unit(100, 'cm')} + {frac(used1 - w1)} "
                  f"{TIMES} {unit(100, 'cm')} = {unit(w1 * 100, 'cm')} + {unit(n((used1 - w1) * 100), 'cm')} "
                  f"= {unit(n(used1 * 100), 'cm')}")]
    add_work, _ = one_line(used1, used2, "+")
    cut.insert(0, Step("Add the two lengths to find the ribbon used.", add_work, 2))
    first = Part(key=num(used1 * 100), unit="cm",
                 prompt=f"How many centimetres of ribbon did {he} use for the bag?")
    return Question(text, [first, second], solution=Solution(steps + cut, [used1 * 100, count]))


@family("frac.story-class", TOPIC, [("N", "N")], levels=(2, 3))
def story_class(rng, level, slots):
    total = rng.choice([24, 30, 32, 36, 40, 42, 45, 48])
    f = rng.choice([x for x in (Fr(a, b) for b in (3, 4, 5, 6, 8) for a in range(1, b))
                    if (x * total).denominator == 1 and x.denominator > 2])
    shares = [x for x in (Fr(a, b) for b in (2, 3, 4) for a in range(1, b))
              if (x * (total - f * total)).denominator == 1]
    if not shares:
        raise ValueError("the rest does not share out")
    shares = [x for x in shares if remainder_units(f, x)[0] <= 24] or shares
    g = rng.choice(shares)
    walk = f * total
    rest = total - walk
    bus = g * rest
    car = rest - bus
    units, x, y, figure = _remainder_bar(f, g, (f"walk: {n(walk)}", f"bus: {n(bus)}", "car: ?"),
                                         f"{total} pupils")
    steps = fraction_of_steps(f, total, f"{total} pupils")
    steps += [Step("Find how many pupils do not walk.", f"{total} {MINUS} {n(walk)} = {n(rest)}", 2),
              Step(f"{frac(g)} of the rest come by bus.", of_work(g, rest), 2, figure=figure),
              Step("The others come by car.", f"{n(rest)} {MINUS} {n(bus)} = {n(car)}", 2)]
    return Question(p(f"There are {total} pupils in a class. {frac(f)} of them walk to school and "
                      f"{frac(g)} of the rest come by bus. The others come by car."),
                    [Part(key=num(walk), unit="pupils", prompt="How many pupils walk to school?"),
                     Part(key=num(car), unit="pupils", prompt="How many pupils come by car?")],
                    solution=Solution(steps, [walk, car]))


@family("frac.equivalent-choice", TOPIC, ["Q"], levels=(1, 2))
def equivalent_choice(rng, level, slots):
    f = proper(rng, [3, 4, 5, 6, 8])
    k = rng.randint(2, 5)
    a, b = f.numerator, f.denominator
    right = frac(a * k, b * k)
    # Wrong ones keep the look of the right one: the same change to one term
    # only, or adding instead of multiplying.
    slips = {(a * k, b * (k + 1)): f"multiplies the top by {k} but the bottom by {k + 1}",
             (a + k, b + k): f"adds {k} to the top and to the bottom instead of multiplying them",
             (a * k, b + k): f"multiplies the top by {k} but adds {k} to the bottom",
             (a * (k + 1), b * k): f"multiplies the top by {k + 1} but the bottom by {k}",
             (a, b * k): f"multiplies only the bottom by {k}"}
    wrong = [(x, y) for x, y in sorted(slips) if Fr(x, y) != f]
    if len(wrong) < 3:
        raise ValueError("too few distractors")
    if level == 1:
        picked = rng.sample(wrong, 3)
        steps = [Step(f"Check the option {right}: divide its top and its bottom by {k}.",
                      f"{right} = {frac(f'{a * k} {DIV} {k}', f'{b * k} {DIV} {k}')} = {frac(f)}")]
        why = (f"Multiplying the top and the bottom of {frac(f)} by the same number, {k}, gives "
               f"{right}: the value does not change.")
        part = choice(rng, right, [(frac(x, y), slips[(x, y)]) for x, y in picked],
                      prompt=f"Which of these fractions is equal to {frac(f)}?")
        return Question("", [part], solution=Solution(steps, [right], why=why))
    x, y = rng.choice(wrong)
    others = rng.sample([j for j in (2, 3, 4, 5, 6) if j != k], 3)
    key = frac(x, y)
    steps = [Step(f"An equal fraction has its top and its bottom multiplied by the same number. "
                  "Check each option.",
                  ", ".join(f"{frac(a * j, b * j)} = {frac(f'{a} {TIMES} {j}', f'{b} {TIMES} {j}')}"
                            for j in sorted(others))),
             Step(f"In {key} the top and the bottom are not multiplied by the same number.",
                  f"{x} {DIV} {a} = {fnum(Fr(x, a))} but {y} {DIV} {b} = {fnum(Fr(y, b))}")]
    why = (f"The top and the bottom of {key} are not the same multiple of {a} and {b}, so it is "
           f"not equal to {frac(f)}.")
    part = choice(rng, key, [(frac(a * j, b * j),
                              f"is equal to {frac(f)}, though it looks different: {a} {TIMES} {j} = "
                              f"{a * j} and {b} {TIMES} {j} = {b * j}") for j in others],
                  prompt=f"Which of these fractions is <b>not</b> equal to {frac(f)}?")
    return Question("", [part], solution=Solution(steps, [key], why=why))


@family("frac.shaded-choice", TOPIC, ["Q"], levels=(1, 2, 3))
def shaded_choice(rng, level, slots):
    target = proper(rng, [3, 4, 5] if level == 1 else [3, 4, 5, 6])
    k = rng.choice([2, 3]) if level > 1 else 1
    parts = target.denominator * k
    right = target.numerator * k
    # Wrong strips shade the numerator's count, or the right count of a
    # different whole, or the other part: the usual slips.
    t, b = target.numerator, target.denominator
    slips = {(parts, t): f"shades {t} of {parts} parts, the top number, as if the strip had {b} parts",
             (parts, right + 1): f"shades one part too many: {right + 1} of {parts} parts",
             (parts, right - 1): f"shades one part too few: {right - 1} of {parts} parts",
             (parts + b, right): f"shades {right} parts, the right number, but of {parts + b} parts, "
                                 f"not {parts}",
             (parts, parts - right): f"shades the other part: {parts - right} of {parts} parts is "
                                     f"{frac(1 - target)}, not {frac(target)}"}
    wrong = [c for c in slips if 0 < c[1] < c[0] and Fr(c[1], c[0]) != target]
    wrong = list(dict.fromkeys(wrong))
    if len(wrong) < 3:
        raise ValueError("too few distractors")
    options = [(parts, right)] + rng.sample(wrong, 3)
    figures = []
    for total, shade in options:
        cells = set(rng.sample(range(total), shade)) if level == 3 else set(range(shade))
        figures.append(Figure(_strip(total, cells).render(), f"A strip of {total} equal parts with "
                                                             f"{shade} of them shaded"))
    order = list(range(4))
    rng.shuffle(order)
    texts = [f"{{fig{i + 1}}}" for i in order]
    key = order.index(0) + 1
    steps = [Step("Count the shaded parts and all the parts of each strip.",
                  ", ".join(f"({i}) {options[o][1]} of {options[o][0]}" for i, o in enumerate(order, 1))),
             Step(f"{frac(target)} of {parts} parts is {right} parts, so the strip must have {right} "
                  f"of its {parts} parts shaded: that is option {key}.",
                  f"{frac(target)} = {frac(right, parts)}")]
    if k > 1:
        steps[-1].figure = Figure(
            _strip(parts, set(range(right)), width=300, height=44, group=k).render(),
            f"A strip of {parts} equal parts with {right} of them shaded, marked off into "
            f"{target.denominator} groups of {k} parts; {plural(target.numerator, 'group')} "
            f"{'is' if target.numerator == 1 else 'are'} shaded")
        steps[-1].say += (f" Gathered in groups of {k}, the strip is {target.denominator} equal "
                          f"groups with {target.numerator} of them shaded.")
    part = Part(key=str(key), prompt=f"In which figure is {frac(target)} of the strip shaded?",
                options=texts, slips=[None if o == 0 else slips[options[o]] for o in order])
    why = f"{right} of {parts} equal parts is {frac(right, parts)} = {frac(target)}."
    return Question("", [part], figures, solution=Solution(steps, [texts[key - 1]], why=why))


def _order_slips(values, level):
    """Orders a pupil could give by a wrong rule: (order, slip), each order
    different from the right one and from the others."""
    right = sorted(values)
    whole = [floor(v) for v in values]
    part = [v - floor(v) for v in values]
    rules = [(sorted(values, reverse=True), "lists them from the greatest to the smallest, the wrong "
                                            "way round")]
    tops = [(v - floor(v)).numerator for v in values]
    bottoms = [v.denominator for v in values]
    if len(set(tops)) == 3:
        rules.append((sorted(values, key=lambda v: (v - floor(v)).numerator),
                      "orders them by their top numbers only"))
    if len(set(bottoms)) == 3:
        rules.append((sorted(values, key=lambda v: (floor(v), v.denominator)),
                      "orders them by their bottom numbers, as if more parts made a greater fraction"))
        rules.append((sorted(values, key=lambda v: (floor(v), -v.denominator)),
                      "orders them by their bottom numbers only, forgetting their top numbers"))
    if level == 3 and len(set(whole)) > 1 and len(set(part)) == 3:
        rules.append((sorted(values, key=lambda v: v - floor(v)),
                      "compares only the fractions and forgets the whole numbers"))
    out = []
    for order, slip in rules:
        if order != right and all(order != o for o, _ in out):
            out.append((order, slip))
    return out


@family("frac.order", TOPIC, ["Q"], levels=(2, 3))
def order(rng, level, slots):
    for _ in range(60):
        bottom = rng.choice(list(BOTTOMS))
        values = _fractions_over(rng, bottom, 3)
        if level == 3:
            values = [v + rng.randint(0, 1) for v in values]
        wrong = _order_slips(values, level)
        if len(wrong) >= 3 and len(set(values)) == 3:
            break
    else:
        raise ValueError("no three orders with a slip each")
    right = sorted(values)
    common = lcm(*(v.denominator for v in values))
    show = fnum
    steps = [Step(f"Write the fractions with the same bottom number, {common}.",
                  written_over(values, common)),
             Step("Compare the whole numbers first, then the top numbers." if level == 3 else
                  "With the same bottom number, the smaller fraction has the smaller top number.",
                  ", ".join(over(v, common) for v in right))]
    text = ", ".join(show(v) for v in right)
    picked = rng.sample(wrong, 3)
    part = choice(rng, text, [(", ".join(show(v) for v in o), s) for o, s in picked],
                  prompt="Which list shows the numbers in order, from the smallest to the greatest?")
    why = f"Written with the bottom number {common}, the numbers go up in this order."
    return Question("", [part], solution=Solution(steps, [text], why=why))


NEAR_ONE = [Fr(7, 8), Fr(9, 10), Fr(5, 6), Fr(11, 12), Fr(8, 9)]
NEAR_NOUGHT = [Fr(1, 8), Fr(1, 10), Fr(1, 9), Fr(1, 12), Fr(1, 6)]


@family("frac.estimate", TOPIC, ["Q"], levels=(2, 3))
def estimate(rng, level, slots):
    ups = rng.choice([1, 1, 2, 2, 0, 3])
    fracs = rng.sample(NEAR_ONE, ups) + rng.sample(NEAR_NOUGHT, 3 - ups)
    rng.shuffle(fracs)
    wholes = [rng.randint(1, 6) for _ in range(3)]
    nums = [w + f for w, f in zip(wholes, fracs)]
    rounded = [w + (1 if f > Fr(1, 2) else 0) for w, f in zip(wholes, fracs)]
    best = sum(rounded)
    if abs(sum(nums) - best) >= Fr(1, 2):
        raise ValueError("no clear estimate")
    low = sum(wholes)
    up = [x for x in nums if x - floor(x) > Fr(1, 2)]
    down = [x for x in nums if x - floor(x) < Fr(1, 2)]

    def slip(value):
        j = value - low
        if j == 0:
            return "adds only the whole numbers and drops the fractions"
        if j == 3:
            return (f"rounds every number up, though {listing([frac(x - floor(x)) for x in down])} "
                    f"{'is' if len(down) == 1 else 'are'} close to 0")
        if j < ups:
            wrongly = up[:ups - j]
            return (f"rounds {listing([mixed(x) for x in wrongly])} down, though "
                    f"{'its fraction is' if len(wrongly) == 1 else 'their fractions are'} close to 1")
        wrongly = down[:j - ups]
        return (f"rounds {listing([mixed(x) for x in wrongly])} up, though "
                f"{'its fraction is' if len(wrongly) == 1 else 'their fractions are'} close to 0")
    wrong = [(str(v), slip(v)) for v in range(low, low + 4) if v != best]
    expr = " + ".join(mixed(x) for x in nums)
    steps = [Step("Round each mixed number to the nearest whole number: a fraction close to 1 "
                  "rounds it up, a fraction close to 0 rounds it down.",
                  ", ".join(f"{mixed(x)} is about {r}" for x, r in zip(nums, rounded))),
             Step("Add the rounded numbers.", f"{' + '.join(map(str, rounded))} = {best}")]
    why = f"Each number rounded to the nearest whole number gives {' + '.join(map(str, rounded))} = {best}."
    return Question("", [choice(rng, str(best), wrong, prompt=f"Which is the best estimate of {expr}?")],
                    solution=Solution(steps, [str(best)], why=why))
