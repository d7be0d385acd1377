"""Topic 1: Whole Numbers.

Each family draws its values, writes the page from them and computes the
key with a solver below it; the solvers are tested against worked examples
in tests/test_whole_numbers.py.
"""

from itertools import permutations
from math import gcd

from ..contexts import COUNTABLES, SHOP_ITEMS, names, possessive, pronoun
from ..families import choice, family, near_misses
from ..model import Figure, Part, Question, num
from ..svg import Svg, number_line
from ..text import money, n, p, place_value, words

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


# ---------------------------------------------------------------- families

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
    if slots[0].kind == "N":
        return Question(p(f"In {n(number)}, what is the value of the digit {digit}?"),
                        [Part(key=num(value))])
    place = PLACES[len(str(value)) - 1]
    others = [pl for pl in PLACES[:size] if pl != place]
    part = choice(rng, place_value(digit, place), [place_value(digit, o) for o in rng.sample(others, 3)],
                  prompt=f"What does the digit {digit} stand for in {n(number)}?")
    return Question("", [part])


@family("whole.numerals", TOPIC, ["N", "Q"], levels=(1, 2))
def numerals(rng, level, slots):
    # Numbers with zeros in them are the ones pupils misread.
    a = rng.choice([1, 2, 3, 4, 5, 6, 7, 8, 9]) * 100 + rng.choice([0, 0, 5, 10, 20, 40])
    b = rng.choice([0, 6, 20, 35, 108, 400, 60])
    number = a * 1000 + b if level == 2 else rng.randint(10, 99) * 1000 + b
    if slots[0].kind == "N":
        return Question(p(f"Write <b>{words(number)}</b> in numerals."), [Part(key=num(number))])
    text = str(number)
    wrong = {int(text[::-1].lstrip("0") or 0), number * 10, number // 10 + (number % 10),
             int(text[:-3]) * 100 + number % 1000, int(text[:-3]) * 10000 + number % 1000,
             number + 900, number - 90}
    wrong.discard(number)
    wrong = [n(w) for w in sorted(wrong) if w > 999][:6]
    part = choice(rng, n(number), rng.sample(wrong, 3),
                  prompt=f"Which of these is <b>{words(number)}</b>?")
    return Question("", [part])


@family("whole.expanded-form", TOPIC, ["N"], levels=(1, 2))
def expanded_form(rng, level, slots):
    if level == 1:
        digits = [rng.randint(1, 9), rng.randint(0, 9), 0, rng.randint(1, 9), rng.randint(1, 9)]
        rng.shuffle(digits[1:])
        terms = [d * 10 ** (4 - i) for i, d in enumerate(digits) if d]
        rng.shuffle(terms)
        return Question(p(" + ".join(n(t) for t in terms) + " = ?"),
                        [Part(key=num(sum(terms)), prompt="What is the missing number?")])
    # Regrouping: more than nine of a place.
    th, hu, te, on = rng.randint(2, 8), rng.randint(11, 19), rng.randint(3, 9), rng.randint(0, 9)
    value = th * 1000 + hu * 100 + te * 10 + on
    said = f"{th} thousands, {hu} hundreds, {te} tens" + (f" and {on} ones" if on else "")
    return Question(p(f"What number is made of {said}?"), [Part(key=num(value))])


@family("whole.digits-form", TOPIC, ["N"], levels=(1, 2, 3))
def digits_form(rng, level, slots):
    while True:
        digits = rng.sample(range(10), 4 if level < 3 else 5)
        if any(d % 2 == 0 for d in digits) and any(d % 2 for d in digits):
            break
    shown = ", ".join(map(str, digits))
    size = len(digits)
    if level == 1:
        want = rng.choice(["greatest", "smallest"])
        key = form_number(digits, want)
        ask = f"Using each of the digits {shown} once, form the {want} {size}-digit number."
    elif level == 2:
        want = rng.choice(["greatest even", "smallest even", "greatest odd", "smallest odd"])
        key = form_number(digits, want)
        size_word, cond = want.split()
        ask = f"Using each of the digits {shown} once, form the {size_word} {size}-digit {cond} number."
    else:
        key = form_number(digits, "greatest") - form_number(digits, "smallest")
        ask = (f"Using each of the digits {shown} once, Sam formed the greatest and the smallest "
               f"{size}-digit numbers. What is the difference between the two numbers?")
    return Question(p(ask), [Part(key=num(key))])


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
    if slots[0].kind == "Q":
        want = rng.choice(["greatest", "smallest"])
        key = values[-1] if want == "greatest" else values[0]
        part = choice(rng, n(key), [n(v) for v in values if v != key],
                      prompt=f"Which of these numbers is the {want}?")
        return Question("", [part])
    order = rng.choice(["smallest", "greatest"])
    pos = rng.randint(2, 3)
    ranked = values if order == "smallest" else values[::-1]
    ordinal = {2: "second", 3: "third"}[pos]
    # Spaced apart, not listed with commas: the commas inside 93,827 would blur the list.
    return Question(p(f"Arrange these numbers in order, beginning with the {order}.")
                    + p(" &#160; &#160; ".join(n(v) for v in shown)),
                    [Part(key=num(ranked[pos - 1]), prompt=f"Which number comes {ordinal}?")])


@family("whole.round", TOPIC, ["N", "Q"], levels=(1, 2))
def rounding(rng, level, slots):
    unit = rng.choice([10, 100, 1000])
    value = rng.randint(10000, 99999)
    if value % unit in (0, unit // 2):
        value += 3
    name = {10: "ten", 100: "hundred", 1000: "thousand"}[unit]
    if slots[0].kind == "N":
        return Question(p(f"Round {n(value)} to the nearest {name}."),
                        [Part(key=num(round_to(value, unit)))])
    target = round_to(value, unit)
    good = target - unit // 2 + rng.randint(0, unit - 1)
    bad = [target - unit // 2 - rng.randint(1, unit // 2), target + unit // 2 + rng.randint(0, unit // 2 - 1),
           target + unit + rng.randint(-unit // 3, unit // 3)]
    part = choice(rng, n(good), [n(b) for b in bad],
                  prompt=f"Which of these numbers is {n(target)} when rounded to the nearest {name}?")
    return Question("", [part])


@family("whole.round-range", TOPIC, ["N"], levels=(2, 3))
def round_range_question(rng, level, slots):
    unit = rng.choice([10, 100])
    value = rng.randint(30, 900) * unit
    which = rng.choice(["smallest", "greatest"])
    person = names(rng, 1)[0]
    name = {10: "ten", 100: "hundred"}[unit]
    thing = rng.choice(["pupils in a school", "visitors at a fair", "fans at a match", "books in a library"])
    if level == 2:
        text = p(f"A whole number rounded to the nearest {name} is {n(value)}.",
                 f"What is the {which} possible value of the number?")
    else:
        text = p(f"{person} said that the number of {thing} was {n(value)}, correct to the nearest {name}.",
                 f"What is the {which} possible number of {thing.split()[0]}?")
    return Question(text, [Part(key=num(round_range(value, unit, which)))])


@family("whole.estimate", TOPIC, ["N"], levels=(1, 2))
def estimate(rng, level, slots):
    if level == 1:
        a, b = rng.randint(1100, 8900), rng.randint(1100, 8900)
        text = p(f"Estimate the value of {a} + {b} by first rounding each number to the nearest thousand.")
        return Question(text, [Part(key=num(round_to(a, 1000) + round_to(b, 1000)))])
    a = rng.randint(11, 98) * 10 + rng.choice([1, 2, 3, 7, 8, 9])
    b = rng.randint(3, 9)
    text = p(f"Estimate the value of {a} \u00d7 {b} by first rounding {a} to the nearest hundred.")
    return Question(text, [Part(key=num(round_to(a, 100) * b))])


@family("whole.factors", TOPIC, ["N", "Q"], levels=(1, 2, 3))
def factor_question(rng, level, slots):
    if slots[0].kind == "Q":
        a, b = rng.choice([(18, 30), (24, 36), (28, 42), (20, 50), (36, 54), (32, 48), (45, 60)])
        common = [d for d in factors(a) if b % d == 0 and d > 1]
        key = rng.choice(common)
        wrong = [d for d in range(2, max(a, b)) if not (a % d == 0 and b % d == 0)
                 and (a % d == 0 or b % d == 0)]
        part = choice(rng, str(key), [str(w) for w in near_misses(rng, key, wrong)],
                      prompt=f"Which of these is a common factor of {a} and {b}?")
        return Question("", [part])
    if level == 1:
        x = rng.choice([k for k in range(12, 100) if len(factors(k)) >= 4])
        return Question(p(f"How many factors does {x} have?"), [Part(key=num(len(factors(x))))])
    if level == 2:
        x = rng.choice([k for k in range(10, 60) if len(factors(k)) >= 4])
        return Question(p(f"What is the sum of all the factors of {x}?"), [Part(key=num(sum(factors(x))))])
    a = rng.choice([24, 36, 42, 48, 54, 60, 72, 84, 90])
    b = rng.choice([c for c in [18, 30, 40, 45, 56, 63, 96, 120] if gcd(a, c) > 4 and c != a])
    person = names(rng, 1)[0]
    sweets, cards = rng.choice([("red beads", "blue beads"), ("pencils", "erasers"), ("apples", "oranges")])
    text = p(f"{person} has {a} {sweets} and {b} {cards}.",
             f"{pronoun(person).capitalize()} wants to put them into bags so that every bag has the same "
             f"number of {sweets} and the same number of {cards}, with none left over.",
             "What is the greatest number of bags " + pronoun(person) + " can use?")
    return Question(text, [Part(key=num(gcd(a, b)))])


@family("whole.multiples", TOPIC, ["N"], levels=(1, 2, 3))
def multiples(rng, level, slots):
    if level == 1:
        k = rng.randint(6, 13)
        start = rng.randint(10, 40) * 10
        key = (start // k + 1) * k
        return Question(p(f"What is the smallest multiple of {k} that is greater than {start}?"),
                        [Part(key=num(key))])
    if level == 2:
        if rng.random() < 0.5:
            a, b = rng.choice([(6, 8), (4, 10), (6, 9), (8, 12), (9, 12), (10, 15), (12, 18)])
            return Question(p(f"What is the lowest common multiple of {a} and {b}?"),
                            [Part(key=num(lcm(a, b)))])
        k = rng.randint(6, 9)
        lo, hi = rng.randint(2, 5) * 10, rng.randint(9, 15) * 10
        return Question(p(f"How many multiples of {k} are there between {lo} and {hi}?"),
                        [Part(key=num(multiples_between(k, lo, hi)))])
    a, b = rng.choice([(6, 8), (4, 10), (6, 9), (8, 12), (10, 15), (12, 20), (9, 15)])
    first, second, both, verb = rng.choice([("Bell A rings", "bell B rings", "bells", "ring"),
                                            ("Bus A leaves the station", "bus B leaves it", "buses", "leave"),
                                            ("A red light flashes", "a green light flashes", "lights", "flash")])
    text = p(f"{first} every {a} minutes and {second} every {b} minutes.",
             f"Both {both} {verb} together at 9.00am.",
             f"After how many minutes will they next {verb} together?")
    return Question(text, [Part(key=num(lcm(a, b)), unit="minutes")])


@family("whole.primes", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def primes(rng, level, slots):
    if slots[0].kind == "Q":
        lo = rng.choice([20, 30, 40, 50, 60, 70, 80])
        ps = [x for x in range(lo, lo + 30) if is_prime(x)]
        odd_composites = [x for x in range(lo, lo + 30) if x % 2 and not is_prime(x)]
        key = rng.choice(ps)
        part = choice(rng, str(key), [str(c) for c in rng.sample(odd_composites, 3)],
                      prompt="Which of these is a prime number?")
        return Question("", [part])
    if level == 1:
        x = rng.randint(20, 90)
        nxt = next(k for k in range(x + 1, 200) if is_prime(k))
        return Question(p(f"What is the smallest prime number greater than {x}?"), [Part(key=num(nxt))])
    lo = rng.randint(10, 60)
    hi = lo + rng.randint(8, 20)
    ps = [x for x in range(lo + 1, hi) if is_prime(x)]
    if not ps:
        raise ValueError("no primes in the range")
    if level == 2:
        return Question(p(f"How many prime numbers are there between {lo} and {hi}?"),
                        [Part(key=num(len(ps)))])
    return Question(p(f"What is the sum of all the prime numbers between {lo} and {hi}?"),
                    [Part(key=num(sum(ps)))])


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
    return Question(p(f"Find the value of {_show(tokens)}."), [Part(key=num(value))])


@family("whole.times-ten", TOPIC, ["N"], levels=(1,))
def times_ten(rng, level, slots):
    power = rng.choice([10, 100, 1000])
    x = rng.randint(12, 999)
    kind = rng.choice(["times", "divide", "missing", "how-many"])
    if kind == "times":
        return Question(p(f"{n(x)} \u00d7 {n(power)} = ?"), [Part(key=num(x * power))])
    if kind == "divide":
        return Question(p(f"{n(x * power)} \u00f7 {n(power)} = ?"), [Part(key=num(x))])
    if kind == "missing":
        return Question(p(f"? \u00d7 {n(power)} = {n(x * power)}"),
                        [Part(key=num(x), prompt="What is the missing number?")])
    word = {10: "tens", 100: "hundreds", 1000: "thousands"}[power]
    return Question(p(f"How many {word} are there in {n(x * power)}?"), [Part(key=num(x))])


@family("whole.long-multiplication", TOPIC, ["N"], levels=(1, 2))
def long_multiplication(rng, level, slots):
    a = rng.randint(105, 989) if level == 1 else rng.randint(1020, 4980)
    b = rng.randint(12, 39) if level == 1 else rng.randint(21, 68)
    return Question(p(f"Work out {n(a)} \u00d7 {b}."), [Part(key=num(a * b))])


@family("whole.division", TOPIC, ["N"], levels=(1, 2))
def division(rng, level, slots):
    d = rng.randint(6, 9) if level == 1 else rng.randint(12, 25)
    q, r = rng.randint(120, 990), rng.randint(1, d - 1)
    x = q * d + r
    if rng.random() < 0.5:
        return Question(p(f"What is the remainder when {n(x)} is divided by {d}?"), [Part(key=num(r))])
    exact = q * d
    return Question(p(f"Work out {n(exact)} \u00f7 {d}."), [Part(key=num(q))])


def _sticks_figure(first, step, shown=3):
    """Squares in a row made of sticks (4, 7, 10, ...: step 3) or triangles
    alternately up and down along a strip (3, 5, 7, ...: step 2)."""
    side = 34
    widths = [k * side if step == 3 else side / 2 * (k + 1) for k in range(1, shown + 1)]
    gap = 50
    # Each figure stands in a column at least as wide as its caption.
    cols = [max(w, 76) for w in widths]
    svg = Svg(sum(cols) + gap * (shown - 1) + 20, 110, font=15)
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
        left += col + gap
    return svg.render()


@family("whole.number-pattern", TOPIC, ["N"], levels=(1, 2, 3))
def number_pattern(rng, level, slots):
    if level == 1:
        start, step = rng.randint(3, 40), rng.randint(3, 12)
        if rng.random() < 0.4:
            start = start + 10 * step
            seq = [start - step * i for i in range(5)]
        else:
            seq = [start + step * i for i in range(5)]
        blank = rng.randint(2, 4)
        shown = ", ".join("?" if i == blank else str(v) for i, v in enumerate(seq))
        return Question(p(f"What is the missing number in this pattern? &#160; {shown}"),
                        [Part(key=num(seq[blank]))])
    if level == 2:
        start, step = rng.randint(2, 20), rng.randint(3, 9)
        k = rng.choice([15, 20, 25, 30, 40])
        seq = [start + step * i for i in range(4)]
        return Question(p(f"The first four numbers of a pattern are {', '.join(map(str, seq))}.",
                          f"What is the {k}th number of the pattern?"),
                        [Part(key=num(start + step * (k - 1)))])
    first, step = rng.choice([(4, 3), (3, 2)])
    shape_word = "squares" if step == 3 else "triangles"
    k = rng.randint(8, 40)
    fig = Figure(_sticks_figure(first, step), f"The first three figures of a pattern of {shape_word} made of sticks")
    text = p(f"A pattern of {shape_word} is made with sticks. The first three figures are shown below.")
    if rng.random() < 0.6:
        return Question(text, [Part(key=num(sticks_in_figure(first, step, k)),
                                    prompt=f"How many sticks are needed for Figure {k}?", unit="sticks")],
                        [fig])
    return Question(text, [Part(key=num(k), prompt=f"Which figure is made with "
                                f"{sticks_in_figure(first, step, k)} sticks?",
                                unit_before="Figure")], [fig])


@family("whole.word-totals", TOPIC, ["N"], levels=(2, 3))
def word_totals(rng, level, slots):
    if level == 2:
        seats = rng.randint(180, 450) * 100
        filled = seats - rng.randint(1200, 9800)
        place = rng.choice(["stadium", "concert hall", "sports arena"])
        text = p(f"A {place} has {n(seats)} seats. {n(filled)} of the seats were filled for a show.",
                 "How many seats were empty?")
        return Question(text, [Part(key=num(seats - filled), unit="seats")])
    first, second = rng.randint(1200, 4800), rng.randint(300, 900)
    third_less = rng.randint(150, 600)
    text = p(f"A bakery sold {n(first)} buns on Friday. It sold {second} more buns on Saturday "
             f"than on Friday, and {third_less} fewer buns on Sunday than on Saturday.",
             "How many buns did it sell on the three days altogether?")
    total = first + (first + second) + (first + second - third_less)
    return Question(text, [Part(key=num(total), unit="buns")])


@family("whole.grouping", TOPIC, ["N"], levels=(2, 3))
def grouping(rng, level, slots):
    size = rng.choice([24, 36, 40, 45, 48])
    people = rng.randint(6, 15) * size + rng.randint(1, size - 1)
    case = rng.choice(["buses", "boxes", "more"])
    if case == "buses":
        text = p(f"{n(people)} pupils are going on a school trip. Each bus can carry {size} pupils.",
                 "What is the least number of buses needed?")
        return Question(text, [Part(key=num(buses_needed(people, size)), unit="buses")])
    thing = rng.choice(["eggs", "muffins", "oranges", "pencils"])
    if case == "boxes":
        text = p(f"A factory packs {n(people)} {thing} into boxes of {size}.",
                 "How many boxes can be filled completely?")
        return Question(text, [Part(key=num(people // size), unit="boxes")])
    text = p(f"A shop packs {n(people)} {thing} into boxes of {size}.",
             f"How many more {thing} are needed to fill one more box completely?")
    return Question(text, [Part(key=num(size - people % size), unit=thing)])


@family("whole.who-has-most", TOPIC, ["T"], levels=(1, 2, 3))
def who_has_most(rng, level, slots):
    people = names(rng, 3)
    sing, plur = rng.choice(COUNTABLES)
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
        # The third is told from the second, so the pupil works out both.
        text = p(f"{people[0]} has {a} {plur}. {people[1]} has {more} more {plur} than {people[0]}.",
                 f"{people[2]} has {amounts[1] - amounts[2]} fewer {plur} than {people[1]}.")
        ask = f"Who has the fewest {plur}?"
    else:
        a = rng.randint(40, 90)
        k = rng.randint(2, 4)
        d = rng.randint(15, 60)
        amounts = [a, a * k, a * k - d if rng.random() < 0.5 else a * k + d]
        rel = "fewer" if amounts[2] < amounts[1] else "more"
        text = p(f"{people[0]} has {a} {plur}. {people[1]} has {k} times as many {plur} as {people[0]}.",
                 f"{people[2]} has {abs(amounts[2] - amounts[1])} {rel} {plur} than {people[1]}.",
                 f"{people[0]} then gives all {possessive(people[0])} {plur} to {people[2]}.")
        amounts = [0, amounts[1], amounts[2] + a]
        ask = f"Who has the most {plur} now?"
    most = max(amounts) if "most" in ask else min(amounts)
    if amounts.count(most) != 1:
        raise ValueError("a tie has no single answer")
    key = people[amounts.index(most)]
    return Question(text, [Part(key=key, prompt=ask, form="Write the name.")])


@family("whole.shopping", TOPIC, ["N"], levels=(2, 3))
def shopping(rng, level, slots):
    buyer = names(rng, 1)[0]
    (s1, p1, r1), (s2, p2, r2) = rng.sample(SHOP_ITEMS, 2)
    # Prices from each item's usual range; more of the cheap things, so the sums stay worth working.
    c1, c2 = [rng.randint(2, 6) if r[1] > 5 else rng.randint(5, 12) for r in (r1, r2)]
    v1, v2 = rng.randint(*r1), rng.randint(*r2)
    cost = c1 * v1 + c2 * v2
    if level == 2:
        text = p(f"{buyer} bought {c1} {p1} at {money(v1)} each and {c2} {p2} at {money(v2)} each.",
                 f"How much did {pronoun(buyer)} spend altogether?")
        return Question(text, [Part(key=num(cost), unit_before="$")])
    paid = (cost // 50 + 1) * 50
    text = p(f"{buyer} bought {c1} {p1} at {money(v1)} each and {c2} {p2} at {money(v2)} each.",
             f"{pronoun(buyer).capitalize()} paid with {money(paid)}. How much change did {pronoun(buyer)} receive?")
    return Question(text, [Part(key=num(paid - cost), unit_before="$")])


@family("whole.sum-and-difference", TOPIC, ["N"], levels=(3,))
def sum_difference(rng, level, slots):
    a, b = names(rng, 2)
    sing, plur = rng.choice(COUNTABLES)
    small = rng.randint(120, 600)
    diff = rng.randint(30, 250)
    total = 2 * small + diff
    s, l = sum_and_difference(total, diff)
    if rng.random() < 0.5:
        text = p(f"{a} and {b} have {n(total)} {plur} altogether. {a} has {diff} more {plur} than {b}.",
                 f"How many {plur} does {b} have?")
        key = s
    else:
        text = p(f"{a} and {b} have {n(total)} {plur} altogether. {b} has {diff} fewer {plur} than {a}.",
                 f"How many {plur} does {a} have?")
        key = l
    return Question(text, [Part(key=num(key), unit=plur)])


@family("whole.times-as-many", TOPIC, ["N"], levels=(3,))
def times_as_many(rng, level, slots):
    a, b = names(rng, 2)
    k = rng.randint(2, 5)
    unit = rng.randint(40, 300)
    total = unit * (k + 1)
    thing = rng.choice(["saved", "collected"])
    if thing == "saved":
        text = p(f"{a} saved {k} times as much money as {b}. They saved {money(total)} altogether.",
                 f"How much money did {a} save?")
        return Question(text, [Part(key=num(unit * k), unit_before="$")])
    sing, plur = rng.choice(COUNTABLES)
    diff = unit * (k - 1)
    text = p(f"{a} collected {k} times as many {plur} as {b}. {a} collected {n(diff)} more {plur} than {b}.",
             "How many " + plur + " did they collect altogether?")
    return Question(text, [Part(key=num(total), unit=plur)])


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
    fig = Figure(number_line(lo, hi, minor, arrow, labels).render(),
                 f"A number line from {n(lo)} to {n(hi)} with an arrow")
    return Question(p("What number is the arrow pointing to on the number line below?"),
                    [Part(key=num(arrow))], [fig])
