"""Topic 1: Whole Numbers.

Each family draws its values, writes the page from them and computes the
key with a solver below it; the solvers are tested against worked examples
in tests/test_whole_numbers.py.
"""

from itertools import permutations
from math import gcd

from ..contexts import COUNTABLES, SHOP_ITEMS, names, possessive, pronoun
from ..families import choice, family, near_misses
from ..model import Figure, Part, Question, Solution, Step, num
from ..svg import Svg, number_line, text_box
from ..text import DIV, MINUS, TIMES, listing, money, n, nb, p, place_value, unit, words

TOPIC = 1
PLACES = ["ones", "tens", "hundreds", "thousands", "ten thousands",
          "hundred thousands", "millions"]


# ---------------------------------------------------------------- solvers

def digit_value(number, digit):
    """Value of the (single) given digit in number: 4352917, 5 -> 50000."""
    text = str(number)
    if text.count(str(digit)) != 1:
        raise ValueError("digit must occur once")
    return digit * 10 ** (len(text) - 1 - text.index(str(digit)))


def form_number(digits, want):
    """Greatest or smallest number using each digit once, no leading zero,
    with an optional condition: 'even', 'odd', 'mult5'."""
    size, _, cond = want.partition(" ")
    found = []
    for perm in permutations(digits):
        if perm[0] == 0:
            continue
        value = int("".join(map(str, perm)))
        if cond == "even" and value % 2 or cond == "odd" and not value % 2:
            continue
        if cond == "mult5" and value % 5:
            continue
        found.append(value)
    return max(found) if size == "greatest" else min(found)


def round_to(x, unit):
    """Round half up to a multiple of unit."""
    return (x + unit // 2) // unit * unit


def round_range(value, unit, which):
    """Smallest or greatest whole number that rounds to value."""
    return value - unit // 2 if which == "smallest" else value + unit // 2 - 1


def factors(x):
    return [d for d in range(1, x + 1) if x % d == 0]


def lcm(a, b):
    return a * b // gcd(a, b)


def is_prime(x):
    return x > 1 and all(x % d for d in range(2, int(x ** 0.5) + 1))


def multiples_between(k, lo, hi):
    """How many multiples of k lie strictly between lo and hi."""
    return (hi - 1) // k - lo // k


def buses_needed(people, size):
    return -(-people // size)


def sum_and_difference(total, difference):
    """The smaller and larger of two amounts with that total and difference."""
    small = (total - difference) // 2
    return small, small + difference


def sticks_in_figure(first, step, k):
    return first + step * (k - 1)


# ---------------------------------------------------------------- working

LT = "&lt;"
ORDINALS = ["zeroth", "first", "second", "third", "fourth", "fifth", "sixth", "seventh",
            "eighth", "ninth", "tenth"]


def lines(*rows):
    """Calculations one under the other in a step's working."""
    return "<br/>".join(rows)


def long_division(x, d):
    """Dividing x by d digit by digit from the left, each remainder carried
    to the next digit, as a pupil writes it out: one line per digit."""
    s = str(x)
    i, cur = 0, 0
    while i < len(s) - 1 and cur * 10 + int(s[i]) < d:
        cur = cur * 10 + int(s[i])
        i += 1
    cur = cur * 10 + int(s[i])
    out = []

    def say(q, r):
        return f"{cur} {DIV} {d} = {q}" + (f" remainder {r}" if r else "")
    q, r = divmod(cur, d)
    out.append(say(q, r))
    for ch in s[i + 1:]:
        cur = r * 10 + int(ch)
        q, r = divmod(cur, d)
        out.append(f"bring down {ch}, so " + say(q, r))
    return out


def divide_with_remainder(x, d):
    """How a pupil finds x ÷ d when d has two digits: the multiple of d just
    below x, then what is left."""
    q, r = divmod(x, d)
    return f"{d} {TIMES} {q} = {n(q * d)} and {n(x)} {MINUS} {n(q * d)} = {r}, " \
           f"so {n(x)} {DIV} {d} = {q} remainder {r}"


def bar_model(rows, total=None, under=None, font=14):
    """A bar model: rows of (name, [(width, text), ...]) boxes from a common
    left edge with each name to the left of its bar. total: a bracket to the
    right of all the bars with its text. under: (row, first box, last box,
    text), a bracket under those boxes of that row."""
    name_w = max(text_box(0, 0, name, font, "start")[2] for name, _ in rows)
    x0 = name_w + 22
    height, top = 32, 14
    tops = []
    for i in range(len(rows)):
        tops.append(top)
        top += height + (46 if under and under[0] == i else 20)
    right = x0 + max(sum(w for w, _ in boxes) for _, boxes in rows)
    width = right + 16
    if total:
        width = right + 30 + text_box(0, 0, total, font, "start")[2] + 10
    bottom = tops[-1] + height + (44 if under and under[0] == len(rows) - 1 else 0) + 12
    svg = Svg(width, bottom, font=font)
    for (name, boxes), y in zip(rows, tops):
        svg.text(x0 - 10, y + height / 2 + 5, name, anchor="end")
        x = x0
        for w, label in boxes:
            svg.rect(x, y, w, height, fill="#fff", width=2)
            if label:
                svg.text(x + w / 2, y + height / 2 + 5, label)
            x += w
    if total:
        bx, y1, y2 = right + 14, tops[0], tops[-1] + height
        svg.polyline([(bx - 6, y1), (bx, y1), (bx, y2), (bx - 6, y2)], width=1.5)
        svg.text(bx + 8, (y1 + y2) / 2 + 5, total, anchor="start")
    if under:
        row, first, last, label = under
        boxes = rows[row][1]
        xa = x0 + sum(w for w, _ in boxes[:first])
        xb = x0 + sum(w for w, _ in boxes[:last + 1])
        y = tops[row] + height + 6
        svg.polyline([(xa, y - 4), (xa, y), (xb, y), (xb, y - 4)], width=1.5)
        svg.text((xa + xb) / 2, y + 19, label)
    return svg.render()


def every_mark_line(lo, hi, minor, arrow, size=13):
    """A number line like the question's with every mark's value written
    under it, the value the arrow points to in bold: what the working adds."""
    left, right = 30, 530
    steps = int((hi - lo) / minor)
    labels = [n(lo + minor * i) for i in range(steps + 1)]
    widest = max(text_box(0, 0, s, size, "start")[2] for s in labels)
    stagger = widest > (right - left) / steps - 6
    svg = Svg(560, 106 if stagger else 90, font=16)

    def at(v):
        return left + (right - left) * float((v - lo) / (hi - lo))
    svg.line(left - 10, 56, right + 10, 56, width=2)
    for i, label in enumerate(labels):
        v = lo + minor * i
        svg.line(at(v), 49, at(v), 63, width=1.5)
        svg.text(at(v), 98 if stagger and i % 2 else 80, label, size=size, bold=(v == arrow))
    svg.arrow(at(arrow), 8, at(arrow), 42, width=2.2)
    return svg.render()


def line_alt(lo, hi, minor, arrow, labels):
    """What a pupil reads off a number line: its labelled marks, the small
    steps between them, and which mark the arrow points to."""
    labels = sorted(labels)
    between = int((labels[1] - labels[0]) / minor)
    ref = max(v for v in labels if v <= arrow)
    j = int((arrow - ref) / minor)
    if len(labels) == 2:
        head = f"A number line from {n(lo)} to {n(hi)}, with {between - 1} small marks between them"
    else:
        head = ("A number line with marks labelled " + listing([n(v) for v in labels]) +
                f", with {between - 1} small marks between each pair of labels")
    return (f"{head}, making "
            f"{between} equal steps. The arrow points to the {ORDINALS[j]} small mark after {n(ref)}.")


def line_steps(lo, hi, minor, arrow, labels):
    """Reading a number line: the size of one small step, then counting
    steps from the labelled mark before the arrow."""
    labels = sorted(labels)
    a, b = labels[0], labels[1]
    between = int((b - a) / minor)
    ref = max(v for v in labels if v <= arrow)
    j = int((arrow - ref) / minor)
    first = Step(f"From {n(a)} to {n(b)} there are {between} equal steps. Find the size of one step.",
                 f"({n(b)} {MINUS} {n(a)}) {DIV} {between} = {n(b - a)} {DIV} {between} = {n(minor)}")
    second = Step(f"The arrow is {j} step{'s' if j > 1 else ''} after {n(ref)}.",
                  f"{n(ref)} + {j} {TIMES} {n(minor)} = {n(ref)} + {n(j * minor)} = {n(arrow)}",
                  figure=Figure(every_mark_line(lo, hi, minor, arrow),
                                "The number line again with every mark labelled: "
                                + ", ".join(n(lo + minor * i) for i in range(int((hi - lo) / minor) + 1))
                                + f". The arrow points to {n(arrow)}."))
    return [first, second]


# ---------------------------------------------------------------- families

def _place_slips(r, pos, size):
    """Wrong places for a digit r places from the right (pos from the
    left), each with the slip that leads to it."""
    found = {}
    for place, slip in [(PLACES[pos], "counts the places from the left instead of from the right"),
                        (PLACES[r + 1], "counts one place too many from the right"),
                        (PLACES[r - 1], "counts one place too few from the right"),
                        (PLACES[0], "gives the digit on its own, forgetting the place it is in")]:
        if place != PLACES[r] and place not in found:
            found[place] = slip
    return list(found.items())


@family("whole.digit-value", TOPIC, ["N", "Q"], levels=(1, 2))
def digit_value_question(rng, level, slots):
    size = 6 if level == 1 else 7
    pos = rng.randint(1, size - 2)
    digits = rng.sample(range(10), size)
    if digits[0] == 0 or digits[pos] == 0:
        raise ValueError("a leading zero, or a zero asked about")
    number = int("".join(map(str, digits)))
    digit = digits[pos]
    value = digit_value(number, digit)
    r = size - 1 - pos
    place = PLACES[r]
    read = ", ".join(place_value(dg, PLACES[i]) for i, dg in enumerate(digits[::-1][:r + 1]))
    step = Step(f"Read the digits of {n(number)} from the right, each with its place. "
                f"The {digit} is in the {place} place.", f"From the right: {read}")
    if slots[0].kind == "N":
        step.work += f"<br/>{place_value(digit, place)} = {digit} {TIMES} {n(10 ** r)} = {n(value)}"
        return Question(p(f"In {n(number)}, what is the value of the digit {digit}?"),
                        [Part(key=num(value))], solution=Solution([step], [value]))
    wrong = _place_slips(r, pos, size)
    rng.shuffle(wrong)
    right = place_value(digit, place)
    part = choice(rng, right, [(place_value(digit, o), slip) for o, slip in wrong[:3]],
                  prompt=f"What does the digit {digit} stand for in {n(number)}?")
    why = (f"Counting from the right, the places are ones, tens, hundreds and so on; "
           f"the {digit} is in the {place} place, so it stands for {right}.")
    return Question("", [part], solution=Solution([step], [right], why=why))


def _numeral_slips(number):
    """Numbers a pupil writes for number's words by a real slip."""
    t, b = divmod(number, 1000)
    out = []
    if b:
        out.append((int(str(t * 1000) + str(b)),
                    f"writes {n(t * 1000)} in full and then {b} after it"))
    if 0 < b < 100:
        out.append((int(str(t) + str(b)),
                    f"writes {b} straight after the {t} thousands, leaving out the zeros that keep its places"))
        out.append((t * 1000 + b * 10, f"writes {words(b)} as {b * 10}, one place too far to the left"))
    out.append((t * 10000 + b, "puts four digits after the thousands instead of three"))
    if t >= 100 and t % 100:
        out.append((int(str(t // 100 * 100) + str(t % 100)) * 1000 + b,
                    f"writes \u201c{words(t)}\u201d as {t // 100 * 100} followed by {t % 100}"))
    if not b:
        out.append((t * 100, "writes one zero too few"))
    return [(v, s) for v, s in out if v != number]


@family("whole.numerals", TOPIC, ["N", "Q"], levels=(1, 2))
def numerals(rng, level, slots):
    # Numbers with zeros in them are the ones pupils misread.
    a = rng.choice([1, 2, 3, 4, 5, 6, 7, 8, 9]) * 100 + rng.choice([0, 0, 5, 10, 20, 40])
    b = rng.choice([0, 6, 20, 35, 108, 400, 60] if slots[0].kind == "N" else [6, 20, 35, 108, 400, 60])
    number = a * 1000 + b if level == 2 else rng.randint(10, 99) * 1000 + b
    t = number // 1000
    steps = [Step(f"The words before \u201cthousand\u201d, \u201c{words(t)}\u201d, give the number of "
                  "thousands.", f"{t} thousands = {n(t * 1000)}")]
    if b:
        steps.append(Step(f"The words after it, \u201c{words(b)}\u201d, are {b}. Add the two parts, "
                          "so the last three digits show the hundreds, tens and ones.",
                          f"{n(t * 1000)} + {b} = {n(number)}"))
    if slots[0].kind == "N":
        return Question(p(f"Write <b>{words(number)}</b> in numerals."), [Part(key=num(number))],
                        solution=Solution(steps, [number]))
    wrong = rng.sample(_numeral_slips(number), 3)
    part = choice(rng, n(number), [(n(v), s) for v, s in wrong],
                  prompt=f"Which of these is <b>{words(number)}</b>?")
    why = (f"{words(number).capitalize()} is {t} thousands and {b}, which is {n(t * 1000)} + {b} = "
           f"{n(number)}.")
    return Question("", [part], solution=Solution(steps, [n(number)], why=why))


@family("whole.expanded-form", TOPIC, ["N"], levels=(1, 2))
def expanded_form(rng, level, slots):
    if level == 1:
        digits = [rng.randint(1, 9), rng.randint(0, 9), 0, rng.randint(1, 9), rng.randint(1, 9)]
        rng.shuffle(digits[1:])
        terms = [d * 10 ** (4 - i) for i, d in enumerate(digits) if d]
        rng.shuffle(terms)
        missing = [PLACES[4 - i] for i, d in enumerate(digits) if not d]
        value = sum(terms)
        say = ("Write the parts in order of place value, greatest first. There are no "
               + listing(missing, "and no ") + ", so write 0 in "
               + ("that place." if len(missing) == 1 else "those places."))
        work = " + ".join(n(t) for t in sorted(terms, reverse=True)) + f" = {n(value)}"
        return Question(p(" + ".join(n(t) for t in terms) + " = ?"),
                        [Part(key=num(value), prompt="What is the missing number?")],
                        solution=Solution([Step(say, work)], [value]))
    # Regrouping: more than nine of a place.
    th, hu, te, on = rng.randint(2, 8), rng.randint(11, 19), rng.randint(3, 9), rng.randint(0, 9)
    value = th * 1000 + hu * 100 + te * 10 + on
    said = f"{th} thousands, {hu} hundreds, {te} tens" + (f" and {place_value(on, 'ones')}" if on else "")
    parts = [th * 1000, hu * 100, te * 10] + ([on] if on else [])
    steps = [Step(f"{hu} hundreds is more than 9 hundreds: it is 1 thousand and {hu - 10} hundreds.",
                  f"{hu} {TIMES} 100 = {hu * 100}"),
             Step("Add the parts.", " + ".join(str(x) for x in parts) + f" = {n(value)}")]
    return Question(p(f"What number is made of {said}?"), [Part(key=num(value))],
                    solution=Solution(steps, [value]))


def _digits_in_order(digits, greatest):
    return ", ".join(map(str, sorted(digits, reverse=greatest)))


def _smallest_steps(digits, size_word=""):
    """Steps to the smallest number made of the digits: in order, and 0 not
    in front."""
    ordered = sorted(digits)
    steps = [Step(f"For the smallest {size_word}number, put the digits in order from the smallest.",
                  _digits_in_order(digits, False) if ordered[0] == 0
                  else f"{_digits_in_order(digits, False)} gives {n(form_number(digits, 'smallest'))}")]
    if ordered[0] == 0:
        steps.append(Step(f"A number cannot begin with 0, so put the smallest other digit, {ordered[1]}, "
                          "first and the 0 next.", n(form_number(digits, "smallest"))))
    return steps


@family("whole.digits-form", TOPIC, ["N"], levels=(1, 2, 3))
def digits_form(rng, level, slots):
    while True:
        digits = rng.sample(range(10), 4 if level < 3 else 5)
        if any(d % 2 == 0 for d in digits) and any(d % 2 for d in digits):
            break
    shown = ", ".join(map(str, digits))
    size = len(digits)
    greatest_step = Step("For the greatest number, put the digits in order from the greatest.",
                         f"{_digits_in_order(digits, True)} gives {n(form_number(digits, 'greatest'))}")
    if level == 1:
        want = rng.choice(["greatest", "smallest"])
        key = form_number(digits, want)
        ask = f"Using each of the digits {shown} once, form the {want} {size}-digit number."
        steps = [greatest_step] if want == "greatest" else _smallest_steps(digits)
    elif level == 2:
        want = rng.choice(["greatest even", "smallest even", "greatest odd", "smallest odd"])
        key = form_number(digits, want)
        size_word, cond = want.split()
        ask = f"Using each of the digits {shown} once, form the {size_word} {size}-digit {cond} number."
        ends = sorted(d for d in digits if d % 2 == (cond == "odd"))
        rule = ("An even number ends in 0, 2, 4, 6 or 8." if cond == "even"
                else "An odd number ends in 1, 3, 5, 7 or 9.")
        if len(ends) == 1:
            steps = [Step(f"{rule} Of the digits {shown}, only {ends[0]} can be the last digit.")]
        else:
            steps = [Step(f"{rule} Of the digits {shown}, the last digit can be "
                          f"{listing([str(e) for e in ends], 'or')}.")]
        made = {}
        for e in ends:
            rest = list(digits)
            rest.remove(e)
            made[e] = form_number(rest, size_word) * 10 + e
        order = "greatest digit first" if size_word == "greatest" else \
            "smallest digit first, but never 0 in front"
        each = "For each possible last digit, arrange" if len(ends) > 1 else "Arrange"
        steps.append(Step(f"{each} the other digits in front of it to make the {size_word} number: {order}.",
                          "<br/>".join(f"ending in {e} gives {made[e]}" for e in ends)))
        if len(ends) > 1:
            steps.append(Step(f"The {size_word[:-3]}{'er' if len(ends) == 2 else 'est'} of these is {key}."))
    else:
        g, s = form_number(digits, "greatest"), form_number(digits, "smallest")
        key = g - s
        ask = (f"Using each of the digits {shown} once, Sam formed the greatest and the smallest "
               f"{size}-digit numbers. What is the difference between the two numbers?")
        steps = [greatest_step] + _smallest_steps(digits) + [
            Step("Subtract the smallest number from the greatest.", f"{n(g)} {MINUS} {n(s)} = {n(key)}")]
    return Question(p(ask), [Part(key=num(key))], solution=Solution(steps, [key]))


def _compare_slip(v, key, options, greatest):
    """The slip that makes a pupil pick v as the greatest (or smallest) of
    options sharing their leading digits; None when no real slip does."""
    def digits(x):
        return x // 100 % 10, x // 10 % 10, x % 10
    best = max if greatest else min
    h, t, o = digits(v)
    kh, kt, ko = digits(key)
    word = "greater" if greatest else "smaller"
    ones = [digits(x)[2] for x in options]
    tens = [digits(x)[1] for x in options]
    if o == best(ones) and ones.count(o) == 1 and o != ko:
        return f"compares the ones digits first: the digits must be compared from the left"
    if t == best(tens) and tens.count(t) == 1 and t != kt and h != kh:
        return "skips the hundreds digits and compares the tens digits"
    if h == kh:
        return (f"stops at the hundreds digits, which are the same; the tens digit of {n(key)} "
                f"is {word}")
    return None


@family("whole.compare", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def compare(rng, level, slots):
    base = rng.randint(10, 99) * 1000
    digits = rng.sample(range(10), 3)
    # Four numbers that share their leading digits, as on a real paper.
    values = sorted({base + digits[0] * 100 + digits[1] * 10 + digits[2],
                     base + digits[1] * 100 + digits[0] * 10 + digits[2],
                     base + digits[2] * 100 + digits[1] * 10 + digits[0],
                     base + digits[0] * 100 + digits[2] * 10 + digits[1]})
    if len(values) < 4:
        raise ValueError("two of the numbers are the same")
    shown = values[:]
    rng.shuffle(shown)
    lead = n(base)[:-4] if base >= 10000 else str(base // 1000)
    rule = (f"All four numbers begin with {lead} thousand, so compare the hundreds digits, and the "
            "tens digits where the hundreds are the same.")
    if slots[0].kind == "Q":
        want = rng.choice(["greatest", "smallest"])
        # Each wrong option is the one a pupil picks by one slip: stopping at
        # equal hundreds, comparing the tens first, or the ones first.
        lo, mid, hi = sorted(digits)
        if want == "greatest":
            ends = [(hi, mid, lo), (hi, lo, mid), (mid, hi, lo), rng.choice([(lo, mid, hi), (mid, lo, hi)])]
        else:
            ends = [(lo, mid, hi), (lo, hi, mid), (mid, lo, hi), rng.choice([(hi, mid, lo), (mid, hi, lo)])]
        values = sorted(base + h * 100 + t * 10 + o for h, t, o in ends)
        key = base + ends[0][0] * 100 + ends[0][1] * 10 + ends[0][2]
        wrong = [(n(v), _compare_slip(v, key, values, want == "greatest")) for v in values if v != key]
        assert all(s for _, s in wrong), wrong
        part = choice(rng, n(key), wrong, prompt=f"Which of these numbers is the {want}?")
        step = Step(rule, f" {LT} ".join(n(v) for v in values))
        why = f"In order from the smallest, {n(key)} comes {'last' if want == 'greatest' else 'first'}."
        return Question("", [part], solution=Solution([step], [n(key)], why=why))
    order = rng.choice(["smallest", "greatest"])
    pos = rng.randint(2, 3)
    ranked = values if order == "smallest" else values[::-1]
    ordinal = {2: "second", 3: "third"}[pos]
    sign = f" {LT} " if order == "smallest" else " &gt; "
    steps = [Step(rule + f" In order, beginning with the {order}:", sign.join(n(v) for v in ranked) +
                  f"<br/>The {ordinal} number is {n(ranked[pos - 1])}.")]
    # Spaced apart, not listed with commas: the commas inside 93,827 would blur the list.
    return Question(p(f"Arrange these numbers in order, beginning with the {order}.")
                    + p(" &#160; &#160; ".join(n(v) for v in shown)),
                    [Part(key=num(ranked[pos - 1]), prompt=f"Which number comes {ordinal}?")],
                    solution=Solution(steps, [ranked[pos - 1]]))


ROUND_NAMES = {10: "ten", 100: "hundred", 1000: "thousand"}
NEXT_PLACE = {10: "ones", 100: "tens", 1000: "hundreds"}


def _next_digit(x, unit):
    return x // (unit // 10) % 10


def _round_step(value, unit):
    low = value // unit * unit
    d = _next_digit(value, unit)
    way = "less than 5, so round down" if d < 5 else "5 or more, so round up"
    return Step(f"{n(value)} lies between {n(low)} and {n(low + unit)}. Look at the "
                f"{NEXT_PLACE[unit]} digit: {d} is {way}.",
                f"{n(value)} \u2248 {n(round_to(value, unit))}")


@family("whole.round", TOPIC, ["N", "Q"], levels=(1, 2))
def rounding(rng, level, slots):
    unit = rng.choice([10, 100, 1000])
    value = rng.randint(10000, 99999)
    if value % unit in (0, unit // 2):
        value += 3
    name = ROUND_NAMES[unit]
    if slots[0].kind == "N":
        key = round_to(value, unit)
        return Question(p(f"Round {n(value)} to the nearest {name}."), [Part(key=num(key))],
                        solution=Solution([_round_step(value, unit)], [key]))
    target = round_to(value, unit)
    half = unit // 2
    good = target - half + rng.randint(0, unit - 1)
    below = target - half - rng.randint(1, half - 1)
    above = target + half + rng.randint(1, half - 1)
    place = NEXT_PLACE[unit]
    bad = [(below, f"rounds {n(below)} up to {n(target)}, but its {place} digit, "
                   f"{_next_digit(below, unit)}, is less than 5, so it rounds down to {n(target - unit)}"),
           (target + half, f"rounds {n(target + half)} down to {n(target)}, but a number exactly halfway "
                           f"rounds up, to {n(target + unit)}"),
           (above, f"cuts off the digits after the {name}s instead of rounding: its {place} digit, "
                   f"{_next_digit(above, unit)}, is 5 or more, so it rounds up to {n(target + unit)}")]
    part = choice(rng, n(good), [(n(b), s) for b, s in bad],
                  prompt=f"Which of these numbers is {n(target)} when rounded to the nearest {name}?")
    step = Step(f"A whole number rounds to {n(target)} when it lies from {n(target - half)} (halfway up "
                f"from {n(target - unit)}, which rounds up) to {n(target + half - 1)} (just below halfway "
                f"to {n(target + unit)}).",
                f"Only {n(good)} lies from {n(target - half)} to {n(target + half - 1)}.")
    why = _round_step(good, unit).say[:-1] + f" to {n(target)}."
    return Question("", [part], solution=Solution([step], [n(good)], why=why))


@family("whole.round-range", TOPIC, ["N"], levels=(2, 3))
def round_range_question(rng, level, slots):
    unit = rng.choice([10, 100])
    value = rng.randint(30, 900) * unit
    which = rng.choice(["smallest", "greatest"])
    person = names(rng, 1)[0]
    name = ROUND_NAMES[unit]
    thing = rng.choice(["pupils in a school", "visitors at a fair", "fans at a match", "books in a library"])
    if level == 2:
        text = p(f"A whole number rounded to the nearest {name} is {n(value)}.",
                 f"What is the {which} possible value of the number?")
    else:
        text = p(f"{person} said that the number of {thing} was {n(value)}, correct to the nearest {name}.",
                 f"What is the {which} possible number of {thing.split()[0]}?")
    key = round_range(value, unit, which)
    half = unit // 2
    if which == "smallest":
        steps = [Step(f"The {name} below {n(value)} is {n(value - unit)}. Halfway between them is "
                      f"{n(value - half)}, and a number exactly halfway rounds up, to {n(value)}.",
                      f"{n(value)} {MINUS} {half} = {n(value - half)}"),
                 Step(f"Any whole number below {n(value - half)} rounds down to {n(value - unit)}, so "
                      f"{n(value - half)} is the smallest that rounds to {n(value)}.")]
    else:
        steps = [Step(f"The {name} above {n(value)} is {n(value + unit)}. Halfway between them is "
                      f"{n(value + half)}, and a number exactly halfway rounds up, to {n(value + unit)}.",
                      f"{n(value)} + {half} = {n(value + half)}"),
                 Step(f"So the greatest whole number that rounds to {n(value)} is the one just before "
                      f"{n(value + half)}.", f"{n(value + half)} {MINUS} 1 = {n(key)}")]
    return Question(text, [Part(key=num(key))], solution=Solution(steps, [key]))


@family("whole.estimate", TOPIC, ["N"], levels=(1, 2))
def estimate(rng, level, slots):
    if level == 1:
        a, b = rng.randint(1100, 8900), rng.randint(1100, 8900)
        ra, rb = round_to(a, 1000), round_to(b, 1000)
        text = p(f"Estimate the value of {a} + {b} by first rounding each number to the nearest thousand.")
        steps = [Step("Round each number to the nearest thousand: look at its hundreds digit.",
                      f"{a} \u2248 {ra} and {b} \u2248 {rb}"),
                 Step("Add the rounded numbers.", f"{ra} + {rb} = {n(ra + rb)}")]
        return Question(text, [Part(key=num(ra + rb))], solution=Solution(steps, [ra + rb]))
    a = rng.randint(11, 98) * 10 + rng.choice([1, 2, 3, 7, 8, 9])
    b = rng.randint(3, 9)
    ra = round_to(a, 100)
    text = p(f"Estimate the value of {a} {TIMES} {b} by first rounding {a} to the nearest hundred.")
    steps = [_round_step(a, 100), Step(f"Multiply the rounded number by {b}.", f"{ra} {TIMES} {b} = {n(ra * b)}")]
    return Question(text, [Part(key=num(ra * b))], solution=Solution(steps, [ra * b]))


def _factor_pairs(x):
    return [(d, x // d) for d in range(1, int(x ** 0.5) + 1) if x % d == 0]


def _pairs_step(x):
    pairs = _factor_pairs(x)
    square = pairs[-1][0] == pairs[-1][1]
    return Step(f"Find the factors of {x} in pairs that multiply to {x}, trying 1, 2, 3, \u2026 in turn "
                "until the pairs meet.", ", ".join(f"{a} {TIMES} {b}" for a, b in pairs)), square


@family("whole.factors", TOPIC, ["N", "Q"], levels=(1, 2, 3))
def factor_question(rng, level, slots):
    if slots[0].kind == "Q":
        a, b = rng.choice([(18, 30), (24, 36), (28, 42), (20, 50), (36, 54), (32, 48), (45, 60)])
        common = [d for d in factors(a) if b % d == 0 and d > 1]
        key = rng.choice(common)
        wrong = [d for d in range(2, max(a, b)) if not (a % d == 0 and b % d == 0)
                 and (a % d == 0 or b % d == 0)]

        def slip(w):
            one, other = (a, b) if a % w == 0 else (b, a)
            return (f"checks {one} only: {w} is a factor of {one}, but {other} {DIV} {w} leaves "
                    f"a remainder of {other % w}")
        part = choice(rng, str(key), [(str(w), slip(w)) for w in near_misses(rng, key, wrong)],
                      prompt=f"Which of these is a common factor of {a} and {b}?")
        step = Step(f"A common factor of {a} and {b} divides both of them exactly. Check each option "
                    "with both numbers.",
                    f"{a} {DIV} {key} = {a // key} and {b} {DIV} {key} = {b // key}")
        why = f"{key} divides both {a} and {b} with no remainder."
        return Question("", [part], solution=Solution([step], [str(key)], why=why))
    if level == 1:
        x = rng.choice([k for k in range(12, 100) if len(factors(k)) >= 4])
        first, square = _pairs_step(x)
        fs = factors(x)
        steps = [first, Step("List the factors and count them" +
                             (f"; {_factor_pairs(x)[-1][0]} {TIMES} {_factor_pairs(x)[-1][0]} gives only one "
                              "factor." if square else "."),
                             f"{', '.join(map(str, fs))}, so there are {len(fs)} factors")]
        return Question(p(f"How many factors does {x} have?"), [Part(key=num(len(fs)))],
                        solution=Solution(steps, [len(fs)]))
    if level == 2:
        x = rng.choice([k for k in range(10, 60) if len(factors(k)) >= 4])
        first, _ = _pairs_step(x)
        fs = factors(x)
        steps = [first, Step("Add all the factors, each once.", " + ".join(map(str, fs)) + f" = {sum(fs)}")]
        return Question(p(f"What is the sum of all the factors of {x}?"), [Part(key=num(sum(fs)))],
                        solution=Solution(steps, [sum(fs)]))
    a = rng.choice([24, 36, 42, 48, 54, 60, 72, 84, 90])
    b = rng.choice([c for c in [18, 30, 40, 45, 56, 63, 96, 120] if gcd(a, c) > 4 and c != a])
    person = names(rng, 1)[0]
    sweets, cards = rng.choice([("red beads", "blue beads"), ("pencils", "erasers"), ("apples", "oranges")])
    text = p(f"{person} has {a} {sweets} and {b} {cards}.",
             f"{pronoun(person).capitalize()} wants to put them into bags so that every bag has the same "
             f"number of {sweets} and the same number of {cards}, with none left over.",
             "What is the greatest number of bags " + pronoun(person) + " can use?")
    g = gcd(a, b)
    steps = [Step(f"The {a} {sweets} are shared equally among the bags with none left over, so the number "
                  f"of bags divides {a} exactly. In the same way it divides {b} exactly. So the number of "
                  f"bags is a common factor of {a} and {b}, and the greatest number of bags is their "
                  "highest common factor."),
             Step(f"List the factors of {a}.", ", ".join(map(str, factors(a)))),
             Step(f"List the factors of {b}.", ", ".join(map(str, factors(b)))),
             Step("Find the greatest number that is in both lists.",
                  f"{a} {DIV} {g} = {a // g} and {b} {DIV} {g} = {b // g}, so the greatest is {g}")]
    return Question(text, [Part(key=num(g))], solution=Solution(steps, [g]))


@family("whole.multiples", TOPIC, ["N"], levels=(1, 2, 3))
def multiples(rng, level, slots):
    if level == 1:
        k = rng.randint(6, 13)
        start = rng.randint(10, 40) * 10
        q, r = divmod(start, k)
        key = (q + 1) * k
        steps = [Step(f"Divide {start} by {k} to see how many whole lots of {k} fit into it.",
                      f"{start} {DIV} {k} = {q}" + (f" remainder {r}" if r else "")),
                 Step(f"{q} {TIMES} {k} = {q * k} is not greater than {start}, so take the next multiple.",
                      f"{q + 1} {TIMES} {k} = {key}")]
        return Question(p(f"What is the smallest multiple of {k} that is greater than {start}?"),
                        [Part(key=num(key))], solution=Solution(steps, [key]))
    if level == 2:
        if rng.random() < 0.5:
            a, b = rng.choice([(6, 8), (4, 10), (6, 9), (8, 12), (9, 12), (10, 15), (12, 18)])
            m = lcm(a, b)
            steps = [Step(f"List the multiples of the greater number, {b}, until you reach one that "
                          f"{a} also divides exactly.", ", ".join(str(b * i) for i in range(1, m // b + 1))),
                     Step(f"{m} is the first of these that {a} divides exactly, so it is the lowest "
                          "common multiple.", f"{m} {DIV} {a} = {m // a}")]
            return Question(p(f"What is the lowest common multiple of {a} and {b}?"),
                            [Part(key=num(m))], solution=Solution(steps, [m]))
        k = rng.randint(6, 9)
        lo, hi = rng.randint(2, 5) * 10, rng.randint(9, 15) * 10
        q1, q2 = lo // k + 1, (hi - 1) // k
        count = multiples_between(k, lo, hi)
        steps = [Step(f"Find the first multiple of {k} that is greater than {lo}.",
                      f"{q1} {TIMES} {k} = {q1 * k}"),
                 Step(f"Find the last multiple of {k} that is less than {hi}.",
                      f"{q2} {TIMES} {k} = {q2 * k}"),
                 Step(f"The multiples go from {q1} {TIMES} {k} to {q2} {TIMES} {k}. Count them.",
                      f"{q2} {MINUS} {q1} + 1 = {count}")]
        return Question(p(f"How many multiples of {k} are there between {lo} and {hi}?"),
                        [Part(key=num(count))], solution=Solution(steps, [count]))
    a, b = rng.choice([(6, 8), (4, 10), (6, 9), (8, 12), (10, 15), (12, 20), (9, 15)])
    first, second, both, verb = rng.choice([("Bell A rings", "bell B rings", "bells", "ring"),
                                            ("Bus A leaves the station", "bus B leaves it", "buses", "leave"),
                                            ("A red light flashes", "a green light flashes", "lights", "flash")])
    text = p(f"{first} every {unit(a, 'minutes')} and {second} every {unit(b, 'minutes')}.",
             f"Both {both} {verb} together at 9.00am.",
             f"After how many minutes will they next {verb} together?")
    m = lcm(a, b)
    hours = rng.choice([0, 2, 3, 4])
    if hours:
        end = {2: "11.00am", 3: nb("12", "noon"), 4: "1.00pm"}[hours]
        text = p(f"{first} every {unit(a, 'minutes')} and {second} every {unit(b, 'minutes')}.",
                 f"Both {both} {verb} together at 9.00am.",
                 f"How many times do they {verb} together from 9.00am to {end}, counting the time at 9.00am?")
    steps = [Step(f"{first} again after {unit(a, 'minutes')}, {unit(2 * a, 'minutes')}, and so on: after "
                  f"every multiple of {unit(a, 'minutes')}. In the same way, {second} after every multiple of "
                  f"{unit(b, 'minutes')}. So the {both} next {verb} together after the smallest number of minutes that "
                  f"is a multiple of both {a} and {b}: their lowest common multiple."),
             Step(f"List the multiples of {b}.", ", ".join(str(b * i) for i in range(1, m // b + 1))),
             Step(f"{m} is the first of these that {a} divides exactly.", f"{m} {DIV} {a} = {m // a}")]
    if not hours:
        return Question(text, [Part(key=num(m), unit="minutes")], solution=Solution(steps, [m]))
    minutes = 60 * hours
    times, left = divmod(minutes, m)
    steps += [Step(f"From 9.00am to {end} is {unit(hours, 'hours')}. Change it to minutes.",
                   f"{hours} {TIMES} 60 = {unit(minutes, 'minutes')}"),
              Step(f"They {verb} together every {unit(m, 'minutes')}. Find how many times {unit(m, 'minutes')} "
                   f"fit into {unit(minutes, 'minutes')}, then count the time at 9.00am as well.",
                   f"{minutes} {DIV} {m} = {times}" + (f" remainder {left}" if left else "") +
                   f", and {times} + 1 = {times + 1}")]
    return Question(text, [Part(key=num(times + 1), unit="times")], solution=Solution(steps, [times + 1]))


def _smallest_factor(x):
    return next(d for d in range(2, x + 1) if x % d == 0)


def _split(x):
    """x as a product of its smallest factor and the rest: 51 = 3 × 17."""
    d = _smallest_factor(x)
    return f"{x} = {d} {TIMES} {x // d}"


@family("whole.primes", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def primes(rng, level, slots):
    if slots[0].kind == "Q":
        lo = rng.choice([20, 30, 40, 50, 60, 70, 80])
        ps = [x for x in range(lo, lo + 30) if is_prime(x)]
        # Odd and not ending in 5: numbers that look prime at a glance.
        odd_composites = [x for x in range(lo, lo + 30) if x % 2 and x % 5 and not is_prime(x)]
        key = rng.choice(ps)
        wrong = rng.sample(odd_composites, 3)

        def slip(c):
            d = _smallest_factor(c)
            if d == 3:
                return f"takes an odd number for a prime, but {_split(c)}"
            return f"checks 2, 3 and 5 only, but {_split(c)}"
        part = choice(rng, str(key), [(str(c), slip(c)) for c in wrong],
                      prompt="Which of these is a prime number?")
        tried = [d for d in (2, 3, 5, 7) if d * d <= key]
        step = Step("A prime number has exactly two factors: 1 and itself. Look for a factor of each "
                    "option other than 1 and the number itself.",
                    ", ".join(_split(c) for c in sorted(wrong)) +
                    f"; {key} has no such factor")
        why = (f"None of {listing([str(d) for d in tried], 'or')} divides {key} exactly, so its only "
               f"factors are 1 and {key}.")
        return Question("", [part], solution=Solution([step], [str(key)], why=why))
    if level == 1:
        x = rng.randint(20, 90)
        nxt = next(k for k in range(x + 1, 200) if is_prime(k))
        checks = [_split(k) for k in range(x + 1, nxt)] + [f"{nxt} is prime"]
        step = Step(f"Check the numbers after {x} in turn until one has no factor other than 1 and itself.",
                    ", ".join(checks))
        return Question(p(f"What is the smallest prime number greater than {x}?"), [Part(key=num(nxt))],
                        solution=Solution([step], [nxt]))
    lo = rng.randint(10, 60)
    hi = lo + rng.randint(8, 20)
    odd = [x for x in range(lo + 1, hi) if x % 2]
    ps = [x for x in odd if is_prime(x)]
    if not ps:
        raise ValueError("no primes in the range")
    crossed = [x for x in odd if not is_prime(x)]
    steps = [Step(f"Every prime number except 2 is odd, so list the odd numbers between {lo} and {hi}.",
                  ", ".join(map(str, odd))),
             Step("Cross out each one that has a factor other than 1 and itself.",
                  ", ".join(_split(x) for x in crossed) if crossed else "none of them has such a factor")]
    if level == 2:
        steps.append(Step("Count the prime numbers that are left.",
                          f"{listing([str(x) for x in ps])}, so there are {len(ps)}"))
        return Question(p(f"How many prime numbers are there between {lo} and {hi}?"),
                        [Part(key=num(len(ps)))], solution=Solution(steps, [len(ps)]))
    steps.append(Step("The prime numbers left are " + listing([str(x) for x in ps]) + ". Add them.",
                      " + ".join(map(str, ps)) + f" = {sum(ps)}"))
    return Question(p(f"What is the sum of all the prime numbers between {lo} and {hi}?"),
                    [Part(key=num(sum(ps)))], solution=Solution(steps, [sum(ps)]))


def _eval(tokens):
    """Value of a list of numbers and operators, \u00d7 and \u00f7 first, then + and
    - from left to right; brackets are given as nested lists."""
    tokens = [_eval(t) if isinstance(t, list) else t for t in tokens]
    out = [tokens[0]]
    for op, val in zip(tokens[1::2], tokens[2::2]):
        if op == "\u00d7":
            out[-1] *= val
        elif op == "\u00f7":
            if out[-1] % val:
                raise ValueError("inexact division")
            out[-1] //= val
        else:
            out += [op, val]
    total = out[0]
    for op, val in zip(out[1::2], out[2::2]):
        total = total + val if op == "+" else total - val
    return total


def _show(tokens):
    return " ".join(f"({_show(t)})" if isinstance(t, list) else (
        "\u2212" if t == "-" else str(t)) for t in tokens)


OP_WORDS = {"\u00d7": "multiply", "\u00f7": "divide", "+": "add", "-": "subtract"}


def _operation_steps(tokens):
    """One step per operation, in the order they are done: brackets, then
    \u00d7 and \u00f7 from left to right, then + and \u2212 from left to right; each
    step shows the whole expression before and after."""
    steps = []
    tokens = list(tokens)
    first = True
    while len(tokens) > 1 or isinstance(tokens[0], list):
        before = _show(tokens)
        bracket = next((i for i, t in enumerate(tokens) if isinstance(t, list)), None)
        if bracket is not None:
            inner = tokens[bracket]
            tokens[bracket] = _eval(inner)
            say = f"Work out the bracket first: {_show(inner)} = {tokens[bracket]}."
        else:
            ops = [i for i in range(1, len(tokens), 2) if tokens[i] in ("\u00d7", "\u00f7")] or \
                  list(range(1, len(tokens), 2))
            i = ops[0]
            a, op, b = tokens[i - 1:i + 2]
            value = _eval([a, op, b])
            if op in ("\u00d7", "\u00f7"):
                rule = ("Multiply and divide before you add and subtract, working from left to right"
                        if first else "Next, still from left to right, " + OP_WORDS[op])
                first = False
            else:
                rule = "Then add and subtract from left to right"
            say = f"{rule}: {_show([a, op, b])} = {value}."
            if len(tokens) == 3:
                say = f"Finally, {OP_WORDS[op]}."
            tokens[i - 1:i + 2] = [value]
        steps.append(Step(say, f"{before} = {_show(tokens)}"))
    return steps


@family("whole.order-of-operations", TOPIC, ["N"], levels=(1, 2, 3))
def order_of_operations(rng, level, slots):
    while True:
        a, b, c, d = rng.randint(2, 12), rng.randint(2, 9), rng.randint(2, 9), rng.randint(2, 20)
        if level == 1:
            tokens = [a * b + d, "-", a, "\u00d7", b] if rng.random() < 0.5 else [d, "+", a * c, "\u00f7", c]
        elif level == 2:
            tokens = [a * b * 2, "-", a * b, "\u00f7", b, "\u00d7", c, "+", d]
        else:
            tokens = [[a, "+", b], "\u00d7", c, "-", a * c * 2, "\u00f7", [d % 5 + 2, "\u00d7", 1]]
            tokens[-1] = a * 2
        try:
            value = _eval(tokens)
        except ValueError:
            continue
        if value >= 0:
            break
    return Question(p(f"Find the value of {_show(tokens)}."), [Part(key=num(value))],
                    solution=Solution(_operation_steps(tokens), [value]))


@family("whole.times-ten", TOPIC, ["N"], levels=(1,))
def times_ten(rng, level, slots):
    power = rng.choice([10, 100, 1000])
    x = rng.randint(12, 999)
    kind = rng.choice(["times", "divide", "missing", "how-many"])
    zeros = len(str(power)) - 1
    places = f"{zeros} place{'s' if zeros > 1 else ''}"
    left = f"Multiplying by {n(power)} moves every digit {places} to the left; zeros fill the empty places."
    right = f"Dividing by {n(power)} moves every digit {places} to the right."
    division = f"{n(x * power)} {DIV} {n(power)} = {n(x)}"
    if kind == "times":
        return Question(p(f"{n(x)} {TIMES} {n(power)} = ?"), [Part(key=num(x * power))],
                        solution=Solution([Step(left, f"{n(x)} {TIMES} {n(power)} = {n(x * power)}")],
                                          [x * power]))
    if kind == "divide":
        return Question(p(f"{n(x * power)} {DIV} {n(power)} = ?"), [Part(key=num(x))],
                        solution=Solution([Step(right, division)], [x]))
    if kind == "missing":
        return Question(p(f"? {TIMES} {n(power)} = {n(x * power)}"),
                        [Part(key=num(x), prompt="What is the missing number?")],
                        solution=Solution([Step(f"The missing number is {n(x * power)} {DIV} {n(power)}. "
                                                + right, division)], [x]))
    word = {10: "tens", 100: "hundreds", 1000: "thousands"}[power]
    return Question(p(f"How many {word} are there in {n(x * power)}?"), [Part(key=num(x))],
                    solution=Solution([Step(f"The number of {word} in {n(x * power)} is {n(x * power)} "
                                            f"{DIV} {n(power)}. " + right, division)], [x]))


@family("whole.long-multiplication", TOPIC, ["N"], levels=(1, 2))
def long_multiplication(rng, level, slots):
    a = rng.randint(105, 989) if level == 1 else rng.randint(1020, 4980)
    b = rng.randint(12, 39) if level == 1 else rng.randint(21, 68)
    t, o = divmod(b, 10)
    if o:
        steps = [Step(f"Split {b} into {t * 10} and {o}. Multiply {n(a)} by {t * 10}: multiply by {t}, "
                      "then by 10." if t > 1 else f"Split {b} into 10 and {o}. Multiply {n(a)} by 10.",
                      f"{n(a)} {TIMES} {t * 10} = {n(a * t * 10)}"),
                 Step(f"Multiply {n(a)} by {o}.", f"{n(a)} {TIMES} {o} = {n(a * o)}"),
                 Step("Add the two results.", f"{n(a * t * 10)} + {n(a * o)} = {n(a * b)}")]
    else:
        steps = [Step(f"{b} is {t} {TIMES} 10. Multiply {n(a)} by {t} first.",
                      f"{n(a)} {TIMES} {t} = {n(a * t)}"),
                 Step("Then multiply by 10: every digit moves one place to the left.",
                      f"{n(a * t)} {TIMES} 10 = {n(a * b)}")]
    return Question(p(f"Work out {n(a)} {TIMES} {b}."), [Part(key=num(a * b))],
                    solution=Solution(steps, [a * b]))


@family("whole.division", TOPIC, ["N"], levels=(1, 2))
def division(rng, level, slots):
    d = rng.randint(6, 9) if level == 1 else rng.randint(12, 25)
    q, r = rng.randint(120, 990), rng.randint(1, d - 1)
    x = q * d + r
    steps = []
    if level == 2:
        steps.append(Step(f"Write out the multiples of {d} you may need.",
                          ", ".join(f"{d * i}" for i in range(1, 10))))
    if rng.random() < 0.5:
        steps.append(Step(f"Divide {n(x)} by {d} digit by digit from the left, carrying each remainder "
                          "to the next digit. The remainder left at the end is the answer.",
                          lines(*long_division(x, d)) + f"<br/>so {n(x)} {DIV} {d} = {q} remainder {r}"))
        return Question(p(f"What is the remainder when {n(x)} is divided by {d}?"), [Part(key=num(r))],
                        solution=Solution(steps, [r]))
    exact = q * d
    steps.append(Step(f"Divide {n(exact)} by {d} digit by digit from the left, carrying each remainder to "
                      "the next digit.", lines(*long_division(exact, d)) + f"<br/>so {n(exact)} {DIV} {d} = {q}"))
    return Question(p(f"Work out {n(exact)} {DIV} {d}."), [Part(key=num(q))], solution=Solution(steps, [q]))


def _sticks_figure(first, step, shown=3, counts=False):
    """Squares in a row made of sticks (4, 7, 10, ...: step 3) or triangles
    alternately up and down along a strip (3, 5, 7, ...: step 2); counts
    writes each figure's number of sticks under its name."""
    side = 34
    widths = [k * side if step == 3 else side / 2 * (k + 1) for k in range(1, shown + 1)]
    gap = 50
    # Each figure stands in a column at least as wide as its caption.
    cols = [max(w, 76) for w in widths]
    svg = Svg(sum(cols) + gap * (shown - 1) + 20, 132 if counts else 110, font=15)
    left = 10
    for k, width, col in zip(range(1, shown + 1), widths, cols):
        x = left + (col - width) / 2
        if step == 3:
            for i in range(k):
                svg.rect(x + i * side, 16, side, side, width=3)
        else:
            for i in range(k):
                xa = x + i * side / 2
                if i % 2 == 0:
                    svg.polygon([(xa, 50), (xa + side / 2, 16), (xa + side, 50)], width=3)
                else:
                    svg.polygon([(xa, 16), (xa + side, 16), (xa + side / 2, 50)], width=3)
        svg.text(x + width / 2, 90, f"Figure {k}")
        if counts:
            svg.text(x + width / 2, 114, f"{sticks_in_figure(first, step, k)} sticks", bold=True)
        left += col + gap
    return svg.render()


def _sticks_alt(first, step):
    shape_word = "square" if step == 3 else "triangle"
    how = "in a row" if step == 3 else "in a row, pointing up and down in turn"
    said = [f"Figure 1 is 1 {shape_word} made of {first} sticks"]
    for k in (2, 3):
        said.append(f"Figure {k} is {k} {shape_word}s {how}, made of {sticks_in_figure(first, step, k)} sticks")
    return "; ".join(said) + "."


@family("whole.number-pattern", TOPIC, ["N"], levels=(1, 2, 3))
def number_pattern(rng, level, slots):
    if level == 1:
        start, step = rng.randint(3, 40), rng.randint(3, 12)
        down = rng.random() < 0.4
        if down:
            start = start + 10 * step
            seq = [start - step * i for i in range(5)]
        else:
            seq = [start + step * i for i in range(5)]
        blank = rng.randint(2, 4)
        shown = ", ".join("?" if i == blank else str(v) for i, v in enumerate(seq))
        a, b = sorted(seq[:2], reverse=True)
        sign = MINUS if down else "+"
        say = (f"Each number is {step} {'less' if down else 'more'} than the one before it "
               f"({a} {MINUS} {b} = {step}). {'Take' if down else 'Add'} {step} "
               f"{'from' if down else 'to'} the number before the gap.")
        return Question(p(f"What is the missing number in this pattern? &#160; {shown}"),
                        [Part(key=num(seq[blank]))],
                        solution=Solution([Step(say, f"{seq[blank - 1]} {sign} {step} = {seq[blank]}")],
                                          [seq[blank]]))
    if level == 2:
        start, step = rng.randint(2, 20), rng.randint(3, 9)
        k = rng.choice([15, 20, 25, 30, 40])
        seq = [start + step * i for i in range(4)]
        key = start + step * (k - 1)
        if rng.random() < 0.35:
            # Working backwards: which place in the pattern a number has.
            steps = [Step(f"The numbers go up by {step} each time.", f"{seq[1]} {MINUS} {seq[0]} = {step}"),
                     Step("Take away the first number.", f"{key} {MINUS} {start} = {key - start}"),
                     Step(f"Find how many steps of {step} that is.", f"{key - start} {DIV} {step} = {k - 1}"),
                     Step(f"It is {k - 1} steps after the 1st number.", f"1 + {k - 1} = {k}")]
            return Question(p(f"The first four numbers of a pattern are {', '.join(map(str, seq))}.",
                              f"{key} is a number in the pattern. Which number of the pattern is it?"),
                            [Part(key=num(k), prompt="Give its place in the pattern: for the 10th number, "
                                  "write 10.")], solution=Solution(steps, [k]))
        steps = [Step(f"The numbers go up by {step} each time.", f"{seq[1]} {MINUS} {seq[0]} = {step}"),
                 Step(f"From the 1st number to the {k}th there are {k - 1} steps of {step}.",
                      f"{k - 1} {TIMES} {step} = {(k - 1) * step}"),
                 Step("Add them to the first number.", f"{start} + {(k - 1) * step} = {key}")]
        return Question(p(f"The first four numbers of a pattern are {', '.join(map(str, seq))}.",
                          f"What is the {k}th number of the pattern?"),
                        [Part(key=num(key))], solution=Solution(steps, [key]))
    first, step = rng.choice([(4, 3), (3, 2)])
    shape_word = "squares" if step == 3 else "triangles"
    k = rng.randint(8, 40)
    fig = Figure(_sticks_figure(first, step), _sticks_alt(first, step))
    counted = Step(f"Count the sticks in each figure. Each new figure adds {step} sticks.",
                   f"{first}, {first + step}, {first + 2 * step}",
                   figure=Figure(_sticks_figure(first, step, counts=True),
                                 f"The three figures with their sticks counted: {first}, {first + step} "
                                 f"and {first + 2 * step} sticks."))
    text = p(f"A pattern of {shape_word} is made with sticks. The first three figures are shown below.")
    sticks = sticks_in_figure(first, step, k)
    if rng.random() < 0.6:
        steps = [counted,
                 Step(f"Figure {k} has the {first} sticks of Figure 1 and {k - 1} more lots of {step}.",
                      f"{k - 1} {TIMES} {step} = {(k - 1) * step}"),
                 Step(f"Add the {first} sticks of Figure 1.", f"{first} + {(k - 1) * step} = {sticks}")]
        return Question(text, [Part(key=num(sticks), prompt=f"How many sticks are needed for Figure {k}?",
                                    unit="sticks")], [fig], solution=Solution(steps, [sticks]))
    steps = [counted,
             Step(f"Take away the {first} sticks of Figure 1.", f"{sticks} {MINUS} {first} = {sticks - first}"),
             Step(f"Each figure after Figure 1 adds {step} sticks. Find how many figures after Figure 1 "
                  "this is.", f"{sticks - first} {DIV} {step} = {k - 1}"),
             Step(f"It is {k - 1} figures after Figure 1.", f"1 + {k - 1} = {k}")]
    return Question(text, [Part(key=num(k), prompt=f"Which figure is made with {sticks} sticks?",
                                unit_before="Figure\u00a0")], [fig], solution=Solution(steps, [k]))


@family("whole.word-totals", TOPIC, ["N"], levels=(2, 3))
def word_totals(rng, level, slots):
    if level == 2:
        seats = rng.randint(180, 450) * 100
        filled = seats - rng.randint(1200, 9800)
        place = rng.choice(["stadium", "concert hall", "sports arena"])
        if rng.random() < 0.5:
            text = p(f"A {place} has {n(seats)} seats. {n(filled)} of the seats were filled for a show.",
                     "How many seats were empty?")
            steps = [Step("The empty seats are the seats that were not filled.",
                          f"{n(seats)} {MINUS} {n(filled)} = {n(seats - filled)}")]
            return Question(text, [Part(key=num(seats - filled), unit="seats")],
                            solution=Solution(steps, [seats - filled]))
        more = rng.randint(3, 11) * 100 + rng.randint(1, 99)
        first = filled - more
        sunday = first + more
        text = p(f"A {place} has {n(seats)} seats. On Saturday, {n(first)} of the seats were filled.",
                 f"On Sunday, {n(more)} more seats were filled than on Saturday.",
                 "How many seats were empty on Sunday?")
        steps = [Step("Find how many seats were filled on Sunday.", f"{n(first)} + {n(more)} = {n(sunday)}"),
                 Step("The empty seats are the seats that were not filled.",
                      f"{n(seats)} {MINUS} {n(sunday)} = {n(seats - sunday)}")]
        return Question(text, [Part(key=num(seats - sunday), unit="seats")],
                        solution=Solution(steps, [seats - sunday]))
    first, second = rng.randint(1200, 4800), rng.randint(300, 900)
    third_less = rng.randint(150, 600)
    text = p(f"A bakery sold {n(first)} buns on Friday. It sold {second} more buns on Saturday "
             f"than on Friday, and {third_less} fewer buns on Sunday than on Saturday.",
             "How many buns did it sell on the three days altogether?")
    sat, sun = first + second, first + second - third_less
    total = first + sat + sun
    steps = [Step("Find the number of buns sold on Saturday.", f"{n(first)} + {second} = {n(sat)}"),
             Step("Find the number of buns sold on Sunday.", f"{n(sat)} {MINUS} {third_less} = {n(sun)}"),
             Step("Add the buns sold on the three days.", f"{n(first)} + {n(sat)} + {n(sun)} = {n(total)}")]
    price = rng.choice([0, 2, 3])
    if not price:
        return Question(text, [Part(key=num(total), unit="buns")], solution=Solution(steps, [total]))
    text = text.replace("How many buns did it sell on the three days altogether?",
                        f"Each bun costs {money(price)}. How much money did the bakery get for the buns "
                        "it sold on the three days?")
    steps.append(Step(f"Each bun costs {money(price)}.", f"{n(total)} {TIMES} {money(price)} = {money(total * price)}"))
    return Question(text, [Part(key=num(total * price), unit_before="$")], solution=Solution(steps, [total * price]))


@family("whole.grouping", TOPIC, ["N"], levels=(2, 3))
def grouping(rng, level, slots):
    size = rng.choice([24, 36, 40, 45, 48])
    people = rng.randint(6, 15) * size + rng.randint(1, size - 1)
    q, r = divmod(people, size)
    case = rng.choice(["buses", "boxes", "more"])
    if level == 3 or rng.random() < 0.25:
        return _grouping_further(rng, people, size, rng.choice(["seats", "money"]))
    if case == "buses":
        text = p(f"{n(people)} pupils are going on a school trip. Each bus can carry {size} pupils.",
                 "What is the least number of buses needed?")
        steps = [Step(f"Divide the pupils into busloads of {size}.", divide_with_remainder(people, size)),
                 Step(f"{q} buses carry {q * size} pupils. The other {r} pupils need one more bus.",
                      f"{q} + 1 = {q + 1}")]
        return Question(text, [Part(key=num(buses_needed(people, size)), unit="buses")],
                        solution=Solution(steps, [q + 1]))
    thing = rng.choice(["eggs", "muffins", "oranges", "pencils"])
    if case == "boxes":
        text = p(f"A factory packs {n(people)} {thing} into boxes of {size}.",
                 "How many boxes can be filled completely?")
        steps = [Step(f"Divide the {thing} into boxes of {size}.", divide_with_remainder(people, size)),
                 Step(f"The {r} {thing} left over are not enough to fill another box, so {q} boxes are full.")]
        return Question(text, [Part(key=num(q), unit="boxes")], solution=Solution(steps, [q]))
    text = p(f"A shop packs {n(people)} {thing} into boxes of {size}.",
             f"How many more {thing} are needed to fill one more box completely?")
    steps = [Step(f"Divide the {thing} into boxes of {size}.", divide_with_remainder(people, size)),
             Step(f"The last box has only {r} {thing}. Find how many more make {size}.",
                  f"{size} {MINUS} {r} = {size - r}")]
    return Question(text, [Part(key=num(size - r), unit=thing)], solution=Solution(steps, [size - r]))


def _grouping_further(rng, people, size, case):
    """Level 3: what follows from the division, the empty seats on the buses
    or the money the full boxes and the rest bring."""
    q, r = divmod(people, size)
    if case == "seats":
        text = p(f"{n(people)} pupils are going on a school trip. Each bus has {size} seats, and the school "
                 "uses as few buses as possible.", "How many seats on the buses will be empty?")
        steps = [Step(f"Divide the pupils into busloads of {size}.", divide_with_remainder(people, size)),
                 Step(f"{q} buses carry {q * size} pupils. The other {r} pupils need one more bus.",
                      f"{q} + 1 = {q + 1} buses"),
                 Step("Find the number of seats on the buses.", f"{q + 1} {TIMES} {size} = {n((q + 1) * size)}"),
                 Step("Take away the seats the pupils sit on.",
                      f"{n((q + 1) * size)} {MINUS} {n(people)} = {size - r}")]
        return Question(text, [Part(key=num(size - r), unit="seats")], solution=Solution(steps, [size - r]))
    thing = rng.choice(["muffins", "cupcakes", "buns"])
    box_price, each = rng.randint(8, 20), rng.randint(1, 3)
    total = q * box_price + r * each
    text = p(f"A bakery packs {n(people)} {thing} into boxes of {size}. It sells each full box for {money(box_price)} "
             f"and each of the {thing} left over for {money(each)}.", "How much money does it get altogether?")
    steps = [Step(f"Divide the {thing} into boxes of {size}.", divide_with_remainder(people, size)),
             Step(f"Find the money for the {q} full boxes.", f"{q} {TIMES} {money(box_price)} = {money(q * box_price)}"),
             Step(f"Find the money for the {r} {thing} left over.", f"{r} {TIMES} {money(each)} = {money(r * each)}"),
             Step("Add the two amounts.", f"{money(q * box_price)} + {money(r * each)} = {money(total)}")]
    return Question(text, [Part(key=num(total), unit_before="$")], solution=Solution(steps, [total]))


@family("whole.who-has-most", TOPIC, ["T"], levels=(1, 2, 3))
def who_has_most(rng, level, slots):
    people = names(rng, 3)
    sing, plur = rng.choice(COUNTABLES)
    steps = []
    if level == 1:
        base = rng.randint(200, 900) * 10
        vals = [base + d for d in rng.sample([7, 70, 700, 16, 160], 3)]
        text = p(f"{people[0]} has {n(vals[0])} {plur}, {people[1]} has {n(vals[1])} {plur} "
                 f"and {people[2]} has {n(vals[2])} {plur}.")
        amounts = vals
        ask = f"Who has the most {plur}?"
    elif level == 2:
        a = rng.randint(120, 480)
        more, fewer = rng.randint(20, 90), rng.randint(20, 90)
        while more == fewer:
            fewer = rng.randint(20, 90)
        amounts = [a, a + more, a + more - fewer - rng.choice([0, more])]
        gap = amounts[1] - amounts[2]
        # The third is told from the second, so the pupil works out both.
        text = p(f"{people[0]} has {a} {plur}. {people[1]} has {more} more {plur} than {people[0]}.",
                 f"{people[2]} has {gap} fewer {plur} than {people[1]}.")
        ask = f"Who has the fewest {plur}?"
        steps = [Step(f"Find how many {plur} {people[1]} has.", f"{a} + {more} = {amounts[1]}"),
                 Step(f"Find how many {plur} {people[2]} has.", f"{amounts[1]} {MINUS} {gap} = {amounts[2]}")]
    else:
        a = rng.randint(40, 90)
        k = rng.randint(2, 4)
        d = rng.randint(15, 60)
        amounts = [a, a * k, a * k - d if rng.random() < 0.5 else a * k + d]
        rel = "fewer" if amounts[2] < amounts[1] else "more"
        text = p(f"{people[0]} has {a} {plur}. {people[1]} has {k} times as many {plur} as {people[0]}.",
                 f"{people[2]} has {abs(amounts[2] - amounts[1])} {rel} {plur} than {people[1]}.",
                 f"{people[0]} then gives all {possessive(people[0])} {plur} to {people[2]}.")
        sign = MINUS if rel == "fewer" else "+"
        steps = [Step(f"Find how many {plur} {people[1]} has.", f"{k} {TIMES} {a} = {a * k}"),
                 Step(f"Find how many {plur} {people[2]} has at first.",
                      f"{a * k} {sign} {d} = {amounts[2]}"),
                 Step(f"{people[0]} gives all {a} {plur} to {people[2]}, so {people[0]} has none left "
                      f"and {people[2]} has {a} more.", f"{amounts[2]} + {a} = {amounts[2] + a}")]
        amounts = [0, amounts[1], amounts[2] + a]
        ask = f"Who has the most {plur} now?"
    most = max(amounts) if "most" in ask else min(amounts)
    if amounts.count(most) != 1:
        raise ValueError("a tie has no single answer")
    key = people[amounts.index(most)]
    word = "greatest" if "most" in ask else "smallest"
    order = sorted(range(3), key=lambda i: amounts[i], reverse=word == "greatest")
    sign = " &gt; " if word == "greatest" else f" {LT} "
    steps.append(Step(f"Compare the numbers of {plur}" + (" from the left, digit by digit." if level == 1 else "."),
                      sign.join(f"{n(amounts[i])} ({people[i]})" for i in order) +
                      f"<br/>{key} has the {word} number."))
    return Question(text, [Part(key=key, prompt=ask, form="Write the name.")],
                    solution=Solution(steps, [key]))


@family("whole.shopping", TOPIC, ["N"], levels=(2, 3))
def shopping(rng, level, slots):
    buyer = names(rng, 1)[0]
    # Two or three kinds of thing; more of the cheap ones, so the sums stay worth working.
    items = rng.sample(SHOP_ITEMS, 3 if level == 2 and rng.random() < 0.4 else 2)
    counts = [rng.randint(2, 6) if r[1] > 5 else rng.randint(5, 12) for _, _, r in items]
    prices = [rng.randint(*r) for _, _, r in items]
    costs = [c * v for c, v in zip(counts, prices)]
    cost = sum(costs)
    steps = [Step(f"Find the cost of the {pl}.", f"{c} {TIMES} {money(v)} = {money(c * v)}")
             for (_, pl, _), c, v in zip(items, counts, prices)]
    steps.append(Step(f"Add the {'two' if len(items) == 2 else 'three'} costs.",
                      " + ".join(money(c) for c in costs) + f" = {money(cost)}"))
    bought = listing([f"{c} {pl} at {money(v)} each" for (_, pl, _), c, v in zip(items, counts, prices)])
    if level == 2:
        text = p(f"{buyer} bought {bought}.", f"How much did {pronoun(buyer)} spend altogether?")
        return Question(text, [Part(key=num(cost), unit_before="$")], solution=Solution(steps, [cost]))
    paid = (cost // 50 + 1) * 50
    text = p(f"{buyer} bought {bought}.",
             f"{pronoun(buyer).capitalize()} paid with {money(paid)}. How much change did {pronoun(buyer)} receive?")
    steps.append(Step("The change is what was paid take away the cost.",
                      f"{money(paid)} {MINUS} {money(cost)} = {money(paid - cost)}"))
    return Question(text, [Part(key=num(paid - cost), unit_before="$")], solution=Solution(steps, [paid - cost]))


def _unit_width(units, most=330, widest=150):
    return min(widest, most / units)


@family("whole.sum-and-difference", TOPIC, ["N"], levels=(3,))
def sum_difference(rng, level, slots):
    a, b = names(rng, 2)
    sing, plur = rng.choice(COUNTABLES)
    small = rng.randint(120, 600)
    diff = rng.randint(30, 250)
    total = 2 * small + diff
    s, l = sum_and_difference(total, diff)
    ask_small = rng.random() < 0.5
    if ask_small:
        text = p(f"{a} and {b} have {n(total)} {plur} altogether. {a} has {diff} more {plur} than {b}.",
                 f"How many {plur} does {b} have?")
    else:
        text = p(f"{a} and {b} have {n(total)} {plur} altogether. {b} has {diff} fewer {plur} than {a}.",
                 f"How many {plur} does {a} have?")
    extra = max(60, min(130, 150 * diff / small))
    model = Figure(bar_model([(b, [(150, "?")]), (a, [(150, "?"), (extra, str(diff))])],
                             total=f"{n(total)} altogether"),
                   f"A bar model: {b}\u2019s bar is one part; {a}\u2019s bar is an equal part and {diff} more. "
                   f"The two bars together are {n(total)}.")
    steps = [Step(f"Draw a bar for each child. {a}\u2019s bar is as long as {b}\u2019s and {diff} more; "
                  f"the two bars together stand for {n(total)} {plur}.", figure=model),
             Step(f"Take away the {diff} extra. What is left is two equal bars.",
                  f"{n(total)} {MINUS} {diff} = {n(total - diff)}"),
             Step(f"One bar is half of that: it is {b}\u2019s share.", f"{n(total - diff)} {DIV} 2 = {s}")]
    if not ask_small:
        steps.append(Step(f"{a} has {diff} more than {b}.", f"{s} + {diff} = {l}"))
    key = s if ask_small else l
    return Question(text, [Part(key=num(key), unit=plur)], solution=Solution(steps, [key]))


@family("whole.times-as-many", TOPIC, ["N"], levels=(3,))
def times_as_many(rng, level, slots):
    a, b = names(rng, 2)
    k = rng.randint(2, 5)
    each = rng.randint(40, 300)
    total = each * (k + 1)
    thing = rng.choice(["saved", "collected"])
    u = _unit_width(k)
    rows = [(b, [(u, "")]), (a, [(u, "")] * k)]
    if thing == "saved":
        text = p(f"{a} saved {k} times as much money as {b}. They saved {money(total)} altogether.",
                 f"How much money did {a} save?")
        model = Figure(bar_model(rows, total=f"{money(total)} altogether"),
                       f"A bar model: {b}\u2019s bar is 1 unit and {a}\u2019s bar is {k} equal units. "
                       f"The two bars together are {money(total)}.")
        steps = [Step(f"Draw {b}\u2019s savings as 1 unit; {a}\u2019s are {k} units. Together they are "
                      f"{k + 1} units.", f"1 + {k} = {k + 1} units", figure=model),
                 Step(f"{k + 1} units are {money(total)}. Find 1 unit.",
                      f"{money(total)} {DIV} {k + 1} = {money(each)}"),
                 Step(f"{a} saved {k} units.", f"{k} {TIMES} {money(each)} = {money(each * k)}")]
        return Question(text, [Part(key=num(each * k), unit_before="$")], solution=Solution(steps, [each * k]))
    sing, plur = rng.choice(COUNTABLES)
    if rng.random() < 0.4:
        return _gave_away(rng, a, b, k, each, plur, rows)
    diff = each * (k - 1)
    text = p(f"{a} collected {k} times as many {plur} as {b}. {a} collected {n(diff)} more {plur} than {b}.",
             "How many " + plur + " did they collect altogether?")
    model = Figure(bar_model(rows, under=(1, 1, k - 1, f"{n(diff)} more")),
                   f"A bar model: {b}\u2019s bar is 1 unit and {a}\u2019s bar is {k} equal units. "
                   f"{a}\u2019s last {k - 1} unit{'s are' if k > 2 else ' is'} marked {n(diff)} more.")
    steps = [Step(f"Draw {b}\u2019s {plur} as 1 unit; {a}\u2019s are {k} units. {a} has {k - 1} "
                  f"unit{'s' if k > 2 else ''} more than {b}.", f"{k} {MINUS} 1 = {k - 1} unit{'s' if k > 2 else ''}",
                  figure=model),
             Step(f"{k - 1} units are {n(diff)}. Find 1 unit.", f"{n(diff)} {DIV} {k - 1} = {each}")
             if k > 2 else Step(f"The 1 unit more is {n(diff)}, so 1 unit is {n(diff)}."),
             Step(f"Together they have 1 + {k} = {k + 1} units.", f"{k + 1} {TIMES} {each} = {n(total)}")]
    return Question(text, [Part(key=num(total), unit=plur)], solution=Solution(steps, [total]))


def _gave_away(rng, a, b, k, each, plur, rows):
    """Before and after: a had k times as many as b, gave some away, and the
    two have a total left. How many did a have at first?"""
    c = rng.choice([x for x in names(rng, 4) if x not in (a, b)])
    given = rng.randint(10, each - 1)
    before = each * (k + 1)
    now = before - given
    text = p(f"{a} had {k} times as many {plur} as {b}. {a} gave {given} {plur} to {c}.",
             f"{a} and {b} now have {n(now)} {plur} altogether. How many {plur} did {a} have at first?")
    model = Figure(bar_model(rows, total=f"{n(before)} at first"),
                   f"A bar model of the {plur} at first: {b}\u2019s bar is 1 unit and {a}\u2019s bar is {k} equal "
                   f"units. The two bars together are {n(before)}.")
    steps = [Step(f"Before {a} gave any away, {b} had 1 unit and {a} had {k} units: {k + 1} units in all.",
                  f"1 + {k} = {k + 1} units"),
             Step(f"Put back the {given} {plur} {a} gave away to find how many they had together at first.",
                  f"{n(now)} + {given} = {n(before)}", figure=model),
             Step(f"{k + 1} units are {n(before)}. Find 1 unit.", f"{n(before)} {DIV} {k + 1} = {each}"),
             Step(f"At first {a} had {k} units.", f"{k} {TIMES} {each} = {n(k * each)}")]
    return Question(text, [Part(key=num(k * each), unit=plur)], solution=Solution(steps, [k * each]))


@family("whole.number-line", TOPIC, ["N"], levels=(1, 2))
def whole_number_line(rng, level, slots):
    # Level 1 counts in hundreds; level 2 in steps the pupil must work out.
    if level == 1:
        lo = rng.randint(1, 9) * 1000
        hi, minor = lo + 1000, 100
        labels = {lo, hi}
    else:
        minor = rng.choice([20, 25, 50, 200, 250])
        lo = rng.randint(2, 40) * minor * 10
        hi = lo + 10 * minor
        labels = {lo, lo + 5 * minor, hi}
    arrow = lo + minor * rng.choice([k for k in range(1, 10) if k != 5])
    fig = Figure(number_line(lo, hi, minor, arrow, labels).render(), line_alt(lo, hi, minor, arrow, labels))
    return Question(p("What number is the arrow pointing to on the number line below?"),
                    [Part(key=num(arrow))], [fig],
                    solution=Solution(line_steps(lo, hi, minor, arrow, labels), [arrow]))
