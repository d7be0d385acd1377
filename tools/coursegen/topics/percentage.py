"""Topic 7: Percentage.

Each family draws its values, writes the page from them and computes every
key with the solvers below; the solvers are tested against worked examples
in tests/test_percentage.py. Values are drawn so that every answer is exact
(whole numbers, or money to the cent) and needs no rounding.
"""

from fractions import Fraction
from math import gcd

from ..contexts import ADULTS, names, possessive, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, fraction_key, num
from ..svg import Svg
from ..text import DIV, MINUS, TIMES, frac, mixed, money, n, nb, p, table
from .fractions import simplify_steps, slips_for

TOPIC = 7
PCT = "%"

# Things bought in the stories, with a price range in dollars that a
# percentage of gives whole dollars or cents.
GOODS = [("bag", 20, 120), ("watch", 40, 200), ("pair of shoes", 30, 150),
         ("bicycle", 120, 480), ("lamp", 20, 90), ("jacket", 40, 160),
         ("toaster", 20, 80), ("camera", 150, 600), ("school bag", 20, 80),
         ("table", 80, 400), ("rice cooker", 40, 160), ("guitar", 100, 400)]
BIG_GOODS = [("television", 400, 2000), ("refrigerator", 600, 2400),
             ("computer", 600, 2000), ("sofa", 400, 1600), ("washing machine", 400, 1200)]


# ---------------------------------------------------------------- solvers

def percent_of(rate, amount):
    """rate% of amount."""
    return Fraction(rate) * Fraction(amount) / 100


def as_percent(part, whole):
    """part as a percentage of whole."""
    return Fraction(part) * 100 / Fraction(whole)


def percent_fraction(rate):
    """rate% as a fraction (in lowest terms, as Fraction keeps it)."""
    return Fraction(rate) / 100


def after_change(amount, rate):
    """amount increased by rate% (a negative rate decreases it)."""
    return Fraction(amount) * (100 + Fraction(rate)) / 100


def change_percent(old, new):
    """The percentage by which old changed to become new (size only)."""
    return abs(Fraction(new) - Fraction(old)) * 100 / Fraction(old)


def whole_from_part(part, rate):
    """The whole of which part is rate%."""
    return Fraction(part) * 100 / Fraction(rate)


def before_change(after, rate):
    """The amount that, changed by rate%, became after."""
    return Fraction(after) * 100 / (100 + Fraction(rate))


def left_after_spending(amount, first, second):
    """What is left of amount after spending first% of it and then second%
    of the remainder."""
    return after_change(after_change(amount, -first), -second)


def _whole(x):
    x = Fraction(x)
    if x.denominator != 1 or x <= 0:
        raise ValueError(f"{x} is not a positive whole number")
    return int(x)


def _cents(x):
    x = Fraction(x)
    if (x * 100).denominator != 1 or x <= 0:
        raise ValueError(f"{x} is not a sum of money")
    return x


def _multiple(rng, rate, lo, hi, also=1):
    """A whole number in lo..hi whose rate% is whole (and a multiple of also)."""
    step = 100 // gcd(100, rate)
    step = step * also // gcd(step, also)
    first = -(-lo // step) * step
    if first > hi:
        raise ValueError("no amount in range")
    return rng.randrange(first, hi + 1, step)


def pct(x):
    return n(x) + PCT


# ---------------------------------------------------------------- working

def _adult(rng):
    """A grown-up's title and name, kept on one line."""
    return nb(*rng.choice(ADULTS).split())


def _exact(x, show):
    """Whether x can be written by show: whole for counts, cents for money."""
    x = Fraction(x)
    return (x * (100 if show is money else 1)).denominator == 1


# Shares of a whole a pupil finds by one division: 50% by 2, 25% by 4, ...
UNIT_RATES = [50, 25, 20, 10, 5, 4, 2, 1]


def _unit_rate(rate, amount, show):
    """The share u% of amount a pupil finds first: the rate itself when it
    is one division (50%, 25%, 20%, 10%, ...), else 10%, else 1% of a
    round hundred, else the largest share that goes into the rate; u% of
    amount must be exact."""
    rate, amount = Fraction(rate), Fraction(amount)

    def fits(u):
        return rate % u == 0 and _exact(amount * u / 100, show)
    if rate in UNIT_RATES and fits(rate):
        return int(rate)
    if fits(10):
        return 10
    if amount % 100 == 0:
        return 1
    return next((u for u in UNIT_RATES if fits(u)), 1)


def pct_line(rate, amount, show=n):
    """rate% of amount on one line, as a pupil writes it within a longer problem."""
    value = percent_of(rate, amount)
    u = _unit_rate(rate, amount, show)
    times = "" if u == rate else f" {TIMES} {n(Fraction(rate) / u)}"
    return f"{pct(rate)} of {show(amount)} = {show(amount)} {DIV} {100 // u}{times} = {show(value)}"


def pct_of_steps(rate, amount, what, show=n, part=1):
    """rate% of amount as its own question: one share found first, then as
    many of them as the rate needs."""
    value = percent_of(rate, amount)
    u = _unit_rate(rate, amount, show)
    if u == rate and u > 1:
        return [Step(f"{pct(rate)} is {frac(1, 100 // u)}, so divide {what} by {100 // u}.",
                     f"{show(amount)} {DIV} {100 // u} = {show(value)}", part)]
    share = Fraction(amount) * u / 100
    how = "divide by 100" if u == 1 else f"divide by {100 // u}"
    return [Step(f"Find {pct(u)} of {what}: {how}.", f"{show(amount)} {DIV} {100 // u} = {show(share)}", part),
            Step(f"{pct(rate)} is {n(Fraction(rate) / u)} times {pct(u)}.",
                 f"{show(share)} {TIMES} {n(Fraction(rate) / u)} = {show(value)}", part)]


def pct_as_steps(top, whole, lead, part=1):
    """top out of whole as a percentage: the fraction, then out of 100,
    simplified first when the whole does not go into 100. lead says what
    the fraction is."""
    top, whole = Fraction(top), Fraction(whole)
    if top.denominator != 1 or whole.denominator != 1:
        raise ValueError("a percentage of amounts that are not whole")
    top, whole = int(top), int(whole)
    f = Fraction(top, whole)
    rate = f * 100
    if whole == 100 or f.denominator == 100:
        work = frac(top, whole) + (f" = {frac(f)}" if whole != 100 else "")
        return [Step(f"{lead} Write it as a fraction out of 100.", f"{work} = {pct(rate)}", part)]
    if 100 % whole == 0:
        a, b = top, whole
        fraction = frac(top, whole)
    else:
        a, b = f.numerator, f.denominator
        fraction = frac(top, whole) + (f" = {frac(f)}" if f.denominator != whole else "")
    steps = [Step(f"{lead} Write it as a fraction.", fraction, part)]
    if 100 % b == 0:
        k = 100 // b
        steps.append(Step(f"Make the bottom number 100: multiply the top and the bottom by {k}.",
                          f"{frac(a, b)} = {frac(a * k, 100)} = {pct(rate)}", part))
    else:
        steps.append(Step("Multiply the fraction by 100%.", f"{frac(a, b)} {TIMES} 100% = {pct(rate)}", part))
    return steps


def whole_from_pct_steps(rate, amount, what, show=n, part=1, lead=""):
    """The whole of which amount is rate%: one share, then 100%. lead, when
    given, says how amount is rate% of the whole, in place of the plain
    statement."""
    lead = lead or f"{show(amount)} is {pct(rate)} of {what}."
    k = Fraction(100) / Fraction(rate)
    if k.denominator == 1:
        return [Step(f"{lead} {pct(rate)} is {frac(1, k)} of the whole, so the whole is {k} times "
                     f"{show(amount)}.", f"{show(amount)} {TIMES} {k} = {show(amount * k)}", part)]
    for u in UNIT_RATES:
        if Fraction(rate) % u == 0 and _exact(Fraction(amount) * u / Fraction(rate), show):
            break
    share = Fraction(amount) * u / Fraction(rate)
    return [Step(f"{lead} Find {pct(u)}: divide by {n(Fraction(rate) / u)}.",
                 f"{show(amount)} {DIV} {n(Fraction(rate) / u)} = {show(share)}", part),
            Step(f"The whole, 100%, is {100 // u} times {pct(u)}.",
                 f"{show(share)} {TIMES} {100 // u} = {show(share * (100 // u))}", part)]


def _wrongs(rng, key, pairs, count=3):
    """count different wrong options, each with its slip, from (value, slip)
    pairs; values equal to the key or to one taken already are skipped."""
    pool, seen = [], {key}
    for value, slip in pairs:
        if value is not None and value not in seen:
            seen.add(value)
            pool.append((value, slip))
    if len(pool) < count:
        raise ValueError(f"not enough distractors for {key}")
    return rng.sample(pool, count)


# ---------------------------------------------------------------- conversions

# Fractions a pupil turns into a percentage without a calculator.
FRIENDLY = [Fraction(a, b) for b in (2, 4, 5, 10, 20, 25, 50)
            for a in range(1, b) if gcd(a, b) == 1]


def _to_percent_step(x):
    """A fraction with a bottom number that goes into 100, as a percentage."""
    k = 100 // x.denominator
    return Step(f"Make the bottom number 100: multiply the top and the bottom by {k}.",
                f"{frac(x)} = {frac(f'{x.numerator} {TIMES} {k}', f'{x.denominator} {TIMES} {k}')} = "
                f"{frac(x.numerator * k, 100)} = {pct(as_percent(x, 1))}")


def _decimal_to_percent_step(x):
    return Step("To write a decimal as a percentage, multiply it by 100.",
                f"{num(x)} {TIMES} 100 = {n(x * 100)}, so {num(x)} = {pct(x * 100)}")


def _percent_to_decimal_step(rate):
    return Step("To write a percentage as a decimal, divide it by 100.",
                f"{n(rate)} {DIV} 100 = {num(percent_fraction(rate))}, so {pct(rate)} = "
                f"{num(percent_fraction(rate))}")


def _percent_to_fraction_steps(rate):
    steps = [Step(f"{pct(rate)} means {rate} out of 100.", f"{pct(rate)} = {frac(rate, 100)}")]
    return steps + simplify_steps(0, rate, 100)


@family("percent.convert", TOPIC, ["F", "N", "Q"], levels=(1, 2))
def convert(rng, level, slots):
    kind = slots[0].kind
    if kind == "F":
        rate = rng.choice([r for r in range(2, 100) if percent_fraction(r).denominator > 2
                           and r % 10 != 0] + [20, 40, 60, 80])
        return Question(p(f"Write {pct(rate)} as a fraction in its simplest form."),
                        [Part(key=fraction_key(percent_fraction(rate)))],
                        solution=Solution(_percent_to_fraction_steps(rate), [percent_fraction(rate)]))
    if kind == "Q":
        return _convert_choice(rng, level)
    way = rng.choice(["fraction", "decimal", "to-decimal"])
    if level == 2:
        # Eighths and mixed numbers go past the friendly hundredths.
        if way == "fraction":
            x = rng.choice([Fraction(a, 8) for a in (1, 3, 5, 7)] +
                           [1 + f for f in FRIENDLY if f.denominator in (4, 5, 20)])
            rate = as_percent(x, 1)
            if x < 1:
                steps = [Step("Multiply the fraction by 100%.",
                              f"{frac(x)} {TIMES} 100% = {frac(x.numerator * 100, 8)}%"),
                         Step("Divide the top by the bottom.",
                              f"{x.numerator * 100} {DIV} 8 = {n(rate)}, so {frac(x)} = {pct(rate)}")]
            else:
                f = x - 1
                k = 100 // f.denominator
                steps = [Step("The whole number 1 is 100%.", "1 = 100%"),
                         Step(f"Make the bottom number of {frac(f)} 100, then add the two.",
                              f"{frac(f)} = {frac(f.numerator * k, 100)} = {pct(f * 100)}, so {mixed(x)} = "
                              f"100% + {pct(f * 100)} = {pct(rate)}")]
            return Question(p(f"Write {frac(x) if x < 1 else mixed(x)} as a percentage."),
                            [Part(key=num(rate), unit=PCT)], solution=Solution(steps, [rate]))
        if way == "decimal":
            x = Fraction(rng.randint(101, 299), 100) if rng.random() < 0.5 else \
                Fraction(rng.randint(1, 99), 1000)
            return Question(p(f"Write {num(x)} as a percentage."),
                            [Part(key=num(as_percent(x, 1)), unit=PCT)],
                            solution=Solution([_decimal_to_percent_step(x)], [as_percent(x, 1)]))
        rate = Fraction(rng.randint(1, 99), 10) if rng.random() < 0.5 else rng.randint(101, 250)
        return Question(p(f"Write {pct(rate)} as a decimal."),
                        [Part(key=num(percent_fraction(rate)))],
                        solution=Solution([_percent_to_decimal_step(rate)], [percent_fraction(rate)]))
    if way == "fraction":
        x = rng.choice(FRIENDLY)
        return Question(p(f"Write {frac(x)} as a percentage."),
                        [Part(key=num(as_percent(x, 1)), unit=PCT)],
                        solution=Solution([_to_percent_step(x)], [as_percent(x, 1)]))
    if way == "decimal":
        x = Fraction(rng.choice([r for r in range(1, 100) if r % 10]), 100)
        return Question(p(f"Write {num(x)} as a percentage."),
                        [Part(key=num(as_percent(x, 1)), unit=PCT)],
                        solution=Solution([_decimal_to_percent_step(x)], [as_percent(x, 1)]))
    rate = rng.choice([r for r in range(1, 100) if r % 10])
    return Question(p(f"Write {pct(rate)} as a decimal."),
                    [Part(key=num(percent_fraction(rate)))],
                    solution=Solution([_percent_to_decimal_step(rate)], [percent_fraction(rate)]))


def _convert_choice(rng, level):
    x = rng.choice([f for f in FRIENDLY if f.denominator > 2])
    rate = as_percent(x, 1)
    a, b = x.numerator, x.denominator
    if rng.random() < 0.5:
        # Given a fraction: its percentage.
        wrong = [(Fraction(int(f"{a}{b}")), f"writes the top and the bottom numbers side by side"),
                 (Fraction(a), f"takes the top number, {a}, as the percentage"),
                 (100 - rate, f"finds the part that is not {frac(x)}, 100% {MINUS} {pct(rate)}"),
                 (rate / 10 if b < 10 else None, f"makes the bottom number 10 instead of 100"),
                 (rate * 10 if rate * 10 < 1000 and b > 10 else None,
                  "multiplies the top by 10 times too much")]
        wrong = [(w, s) for w, s in wrong if w is not None and w.denominator == 1 and 0 < w < 1000]
        picked = _wrongs(rng, rate, wrong)
        part = choice(rng, pct(rate), [(pct(w), s) for w, s in picked],
                      prompt=f"Which of these is equal to {frac(x)}?")
        return Question("", [part], solution=Solution([_to_percent_step(x)], [pct(rate)],
                                                      why=f"{frac(x)} = {frac(rate, 100)}, which is "
                                                          f"{pct(rate)}."))
    # Given a percentage: the fraction or the decimal equal to it.
    as_fraction = rng.random() < 0.5
    show = frac if as_fraction else num
    wrong = [(show(1 - x), f"gives the part that is not {pct(rate)}, 100% {MINUS} {pct(rate)}"),
             (show(x / 10), "divides by 1000 instead of 100")]
    whole = int(rate) if rate.denominator == 1 else None
    if as_fraction:
        if whole and whole % 10 and whole // 10:
            wrong.append((frac(Fraction(whole // 10, whole % 10)),
                          f"writes the digits of {whole} as the top and the bottom numbers"))
        if whole and Fraction(whole, 10).denominator > 1:
            wrong.append((frac(Fraction(whole, 10)), f"writes {whole} over 10 instead of over 100"))
        steps = _percent_to_fraction_steps(whole)
    else:
        wrong.append((show(x * 10) if x * 10 < 10 else None, "divides by 10 instead of 100"))
        steps = [_percent_to_decimal_step(rate)]
    wrong = [(w, s) for w, s in wrong if w and w != show(x)]
    picked = _wrongs(rng, show(x), wrong)
    part = choice(rng, show(x), picked, prompt=f"Which of these is equal to {pct(rate)}?")
    return Question("", [part], solution=Solution(steps, [show(x)],
                                                  why=f"{pct(rate)} is {rate} out of 100, which is {show(x)}."))


# Forms a number takes in an ordering question.
def _shown(v, form):
    x = Fraction(v, 100)
    return pct(v) if form == "percent" else num(x) if form == "decimal" else frac(x)


@family("percent.order", TOPIC, ["Q"], levels=(1, 2))
def order(rng, level, slots):
    """Four values in mixed forms; the greatest or smallest. Each wrong one
    is what a pupil picks by comparing the numbers as they are written."""
    want = rng.choice(["greatest", "smallest"])
    spread = 25 if level == 1 else 15
    if want == "greatest":
        key = rng.randrange(40 if level == 1 else 30, 100, 10)
        key_form = rng.choice(["decimal", "fraction"])
        below = list(range(max(11, key - spread), key))
        p1 = rng.choice([v for v in below if v % 10])
        p2 = rng.choice([v for v in below if v % 10 and v != p1])
        p3 = rng.choice([v for v in below if Fraction(v, 100).denominator in (20, 25, 50) and v not in (p1, p2)]
                        or [None])
        if p3 is None:
            raise ValueError("no fraction with big numbers below the key")
        wrong = [(pct(p1), f"compares the number {p1} with {_shown(key, key_form)} as they are written, "
                           f"but {_shown(key, key_form)} = {pct(key)}"),
                 (num(Fraction(p2, 100)), f"takes the decimal with more digits for the greater one, "
                                          f"but {num(Fraction(p2, 100))} = {pct(p2)}"),
                 (frac(Fraction(p3, 100)), f"picks the fraction with the biggest numbers, but "
                                           f"{frac(Fraction(p3, 100))} = {pct(p3)}")]
        values = [(key, key_form), (p1, "percent"), (p2, "decimal"), (p3, "fraction")]
    elif rng.random() < 0.5:
        key = rng.choice([v for v in range(15 if level == 1 else 21, 80) if v % 10])
        above = list(range(key + 1, min(99, key + spread) + 1))
        p1 = rng.choice([v for v in above if v % 10 == 0] or [None])
        p2 = rng.choice([v for v in above if Fraction(v, 100).denominator <= 10 and v != p1] or [None])
        p3 = rng.choice([v for v in above if v % 10 and v not in (p1, p2)] or [None])
        if None in (p1, p2, p3):
            raise ValueError("no values just above the key")
        wrong = [(num(Fraction(p1, 100)), f"compares {num(Fraction(p1, 100))} with the number {key} as they "
                                          f"are written, but {num(Fraction(p1, 100))} = {pct(p1)}"),
                 (frac(Fraction(p2, 100)), f"picks the fraction with the smallest numbers, but "
                                           f"{frac(Fraction(p2, 100))} = {pct(p2)}"),
                 (num(Fraction(p3, 100)), f"takes {num(Fraction(p3, 100))} for less than {key} as it is "
                                          f"written, but {num(Fraction(p3, 100))} = {pct(p3)}")]
        values = [(key, "percent"), (p1, "decimal"), (p2, "fraction"), (p3, "decimal")]
    else:
        # A decimal with two places: shorter ones and simple fractions look smaller.
        key = rng.choice([v for v in range(12 if level == 1 else 21, 80) if v % 10])
        above = list(range(key + 1, min(99, key + spread + 5) + 1))
        tenths = [v for v in above if v % 10 == 0]
        simple = [v for v in above if Fraction(v, 100).denominator <= 5 and v not in tenths]
        if len(tenths) < 2 or not simple:
            raise ValueError("no values just above the key")
        p1, p2 = rng.sample(tenths, 2)
        p3 = rng.choice(simple)
        wrong = [(num(Fraction(v, 100)), f"takes the decimal with fewer digits for the smaller one, but "
                                         f"{num(Fraction(v, 100))} = {pct(v)}") for v in (p1, p2)]
        wrong.append((frac(Fraction(p3, 100)), f"picks the fraction with the smallest numbers, but "
                                               f"{frac(Fraction(p3, 100))} = {pct(p3)}"))
        values = [(key, "decimal"), (p1, "decimal"), (p2, "decimal"), (p3, "fraction")]
    if len({v for v, _ in values}) < 4:
        raise ValueError("equal values")
    rng.shuffle(values)
    shown = _shown(key, values[[v for v, _ in values].index(key)][1])
    steps = [Step("Write every number as a percentage, so they can be compared.",
                  ", ".join(f"{_shown(v, f)} = {pct(v)}" if f != "percent" else pct(v) for v, f in values)),
             Step(f"The {want} percentage is {pct(key)}" + (f", which is {shown}." if shown != pct(key) else "."))]
    part = choice(rng, shown, wrong, prompt=f"Which of these is the {want}?")
    said = f"As a percentage {shown} is {pct(key)}," if shown != pct(key) else f"{shown} is"
    return Question("", [part], solution=Solution(steps, [shown], why=f"{said} the {want} of the four."))


def _grid(rows, cols, shaded):
    cell = min(36, 340 // cols)
    svg = Svg(cols * cell + 20, rows * cell + 20)
    for r in range(rows):
        for c in range(cols):
            fill = svg.hatch() if (r, c) in shaded else "#fff"
            svg.rect(10 + c * cell, 10 + r * cell, cell, cell, fill=fill, width=1.2)
    svg.rect(10, 10, cols * cell, rows * cell, width=2.5)
    return svg.render()


@family("percent.shaded", TOPIC, ["N", "Q"], levels=(1, 2))
def shaded(rng, level, slots):
    rows, cols = rng.choice([(4, 5), (5, 5), (2, 10), (4, 10), (5, 10), (5, 4)] if level == 1
                            else [(5, 8), (4, 5), (5, 5), (5, 10), (4, 10)])
    total = rows * cols
    count = rng.choice([k for k in range(2, total - 1) if (100 * k) % total == 0 and 2 * k != total])
    cells = [(r, c) for r in range(rows) for c in range(cols)]
    # Shade whole rows first, then part of the next, as a pupil would count.
    chosen = set(cells[:count]) if rng.random() < 0.5 else set(rng.sample(cells, count))
    what = rng.choice(["shaded", "not shaded"])
    other = "not shaded" if what == "shaded" else "shaded"
    asked = count if what == "shaded" else total - count
    key = as_percent(asked, total)
    fig = Figure(_grid(rows, cols, chosen),
                 f"A rectangle divided into {rows} rows of {cols} equal squares, {total} squares in all; "
                 f"{count} of them are shaded")
    text = p(f"The figure is made up of {total} equal squares.")
    ask = f"What percentage of the figure is {what}?"
    lead = (f"{count} of the {total} squares are shaded." if what == "shaded" else
            f"{count} of the {total} squares are shaded, so {total} {MINUS} {count} = {asked} are not.")
    steps = pct_as_steps(asked, total, lead)
    if slots[0].kind == "N":
        return Question(text, [Part(key=num(key), prompt=ask, unit=PCT)], [fig],
                        solution=Solution(steps, [key]))
    wrong = [(100 - key, f"gives the part that is {other}"),
             (Fraction(asked), f"takes the number of squares, {asked}, as the percentage, but there "
                               f"are {total} squares, not 100"),
             (Fraction(total - asked), f"counts the squares that are {other} and takes that number "
                                       "as the percentage"),
             (Fraction(asked * 10) if total != 10 else None,
              f"counts the squares as tenths, but there are {total} squares, not 10")]
    wrong = [(w, s) for w, s in wrong if w is not None and 0 < w < 100 and w.denominator == 1]
    picked = _wrongs(rng, key, wrong)
    return Question(text, [choice(rng, pct(key), [(pct(w), s) for w, s in picked], prompt=ask)], [fig],
                    solution=Solution(steps, [pct(key)],
                                      why=f"{asked} out of {total} squares is {frac(asked, total)}, "
                                          f"which is {pct(key)}."))


# ---------------------------------------------------------------- of a quantity

# (the whole, what they are, what a part of them is or does, what the rest
# are or do, and the two parts by name for comparing them)
PEOPLE_GROUPS = [("pupils in a school", "pupils", "wear glasses", "do not",
                  "pupils without glasses", "pupils with glasses"),
                 ("people at a concert", "people", "were children", "were adults", "adults", "children"),
                 ("members of a club", "members", "are girls", "are boys", "boys", "girls"),
                 ("visitors to a museum", "visitors", "were adults", "were children", "children", "adults"),
                 ("pupils in a hall", "pupils", "were boys", "were girls", "girls", "boys"),
                 ("trees in an orchard", "trees", "are mango trees", "are durian trees",
                  "durian trees", "mango trees"),
                 ("fish in a pond", "fish", "are goldfish", "are koi", "koi", "goldfish"),
                 ("books in a library", "books", "are story books", "are picture books",
                  "picture books", "story books")]


def _of_amount_slips(rate, amount, key):
    """What a pupil gets finding rate% of amount the wrong way."""
    return [(key * 10, "divides by 10 instead of 100"),
            (amount - key, f"finds what is left after taking {pct(rate)} away"),
            (Fraction(amount, rate) if amount % rate == 0 else None,
             f"divides {n(amount)} by {rate} instead of finding {rate} hundredths of it"),
            (key / 10, "divides by 1000 instead of 100"),
            (amount + key, f"adds {pct(rate)} on to {n(amount)} instead of finding {pct(rate)} of it")]


@family("percent.of-amount", TOPIC, ["N", "Q"], levels=(1, 2, 3))
def of_amount(rng, level, slots):
    if slots[0].kind == "Q":
        level = min(level, 2)     # the choices are the one- and two-step forms
    rate = rng.choice([5, 10, 15, 20, 25, 30, 35, 40, 45, 60, 65, 70, 75, 80, 12, 24, 36, 8])
    if level == 1:
        # Amounts a pupil halves and tenths in the head: multiples of 20 or 25.
        amount = _multiple(rng, rate, 40, 600, also=20 if rate % 5 == 0 else 25)
        key = percent_of(rate, amount)
        ask = f"Find {pct(rate)} of {n(amount)}."
        steps = pct_of_steps(rate, amount, n(amount))
        if slots[0].kind == "N":
            return Question(p(ask), [Part(key=num(key))], solution=Solution(steps, [key]))
        wrong = [(w, s) for w, s in _of_amount_slips(rate, amount, key)
                 if w is not None and w.denominator == 1 and w > 0]
        picked = _wrongs(rng, key, wrong)
        return Question("", [choice(rng, n(key), [(n(w), s) for w, s in picked], prompt=ask)],
                        solution=Solution(steps, [n(key)], why=f"{pct(rate)} of {n(amount)} is {n(key)}."))
    group, things, trait, rest, rest_name, trait_name = rng.choice(PEOPLE_GROUPS)
    amount = _multiple(rng, rate, 120, 2400, also=10 if level == 3 else 1)
    key = _whole(percent_of(rate, amount))
    were = "were" if trait.startswith("were") else "are"
    if level == 2:
        text = p(f"There {were} {n(amount)} {group}. {pct(rate)} of them {trait}.",
                 f"How many of the {things} {trait}?")
        steps = pct_of_steps(rate, amount, f"the {n(amount)} {things}")
        if slots[0].kind == "Q":
            slips = _of_amount_slips(rate, amount, key)
            slips[1] = (amount - key, f"finds the {things} that {rest}: the other {pct(100 - rate)}")
            wrong = [(w, s) for w, s in slips if w is not None and Fraction(w).denominator == 1 and w > 0]
            picked = _wrongs(rng, key, wrong)
            return Question(text, [choice(rng, n(key), [(n(w), s) for w, s in picked])],
                            solution=Solution(steps, [n(key)],
                                              why=f"{pct(rate)} of {n(amount)} is {n(key)}."))
        return Question(text, [Part(key=num(key), unit=things)], solution=Solution(steps, [key]))
    # Level 3: the difference between the two groups.
    if rate == 50:
        raise ValueError("no difference")
    others = amount - key
    more, fewer = (rest_name, trait_name) if others > key else (trait_name, rest_name)
    text = p(f"There {were} {n(amount)} {group}. {pct(rate)} of them {trait} and the rest {rest}.",
             f"How many more {more} {were} there than {fewer}?")
    steps = pct_of_steps(rate, amount, f"the {n(amount)} {things}")
    steps[0].say = f"Find the {trait_name}. " + steps[0].say
    steps += [Step(f"The rest are {rest_name}.", f"{n(amount)} {MINUS} {n(key)} = {n(others)}"),
              Step("Find the difference.", f"{n(max(key, others))} {MINUS} {n(min(key, others))} = "
                                           f"{n(abs(others - key))}")]
    return Question(text, [Part(key=num(abs(others - key)), unit=things if "glasses" in more else more)],
                    solution=Solution(steps, [abs(others - key)]))


# ---------------------------------------------------------------- as a percentage

@family("percent.what-percent", TOPIC, ["N", "Q"], levels=(1, 2, 3))
def what_percent(rng, level, slots):
    if slots[0].kind == "Q":
        level = min(level, 2)
    if level == 1:
        whole = rng.choice([20, 25, 40, 50, 80, 200, 250, 400, 500])
        part = rng.choice([k for k in range(1, whole) if (100 * k) % whole == 0
                           and 2 * k != whole])
        ask = f"What percentage of {n(whole)} is {n(part)}?"
        key = as_percent(part, whole)
        steps = pct_as_steps(part, whole, f"Compare {n(part)} with the whole, {n(whole)}.")
        if slots[0].kind == "N":
            return Question(p(ask), [Part(key=num(key), unit=PCT)], solution=Solution(steps, [key]))
        wrong = [(as_percent(whole, part), f"divides the other way round: {n(whole)} out of {n(part)}"),
                 (100 - key, f"gives the percentage of the rest, 100% {MINUS} {pct(key)}"),
                 (Fraction(part), f"takes {n(part)} itself as the percentage, but the whole is "
                                  f"{n(whole)}, not 100"),
                 (key / 10, "makes the bottom number 1000 instead of 100"),
                 (Fraction(part * 100), f"multiplies {n(part)} by 100 but forgets to divide by {n(whole)}")]
        wrong = [(w, s) for w, s in wrong if w.denominator == 1 and 0 < w < 1000]
        picked = _wrongs(rng, key, wrong)
        return Question("", [choice(rng, pct(key), [(pct(w), s) for w, s in picked], prompt=ask)],
                        solution=Solution(steps, [pct(key)],
                                          why=f"{n(part)} out of {n(whole)} is {frac(part, whole)}, which is "
                                              f"{pct(key)}."))
    who = names(rng, 1)[0]
    if level == 2:
        total = rng.choice([20, 25, 40, 50, 60, 80])
        got = rng.choice([k for k in range(total // 3, total) if (100 * k) % total == 0])
        text = p(f"{who} scored {got} marks out of {total} in a test.",
                 f"What percentage of the marks did {pronoun(who)} score?")
        key = as_percent(got, total)
        steps = pct_as_steps(got, total, f"{pronoun(who).capitalize()} scored {got} of the {total} marks.")
        if slots[0].kind == "Q":
            wrong = [(100 - key, "gives the percentage of the marks lost"),
                     (Fraction(got), f"takes the marks, {got}, as the percentage, but the test is out of "
                                     f"{total}, not 100"),
                     (Fraction(total - got), "takes the number of marks lost as the percentage")]
            wrong = [(w, s) for w, s in wrong if w is not None and 0 < w < 100 and w.denominator == 1]
            picked = _wrongs(rng, key, wrong)
            return Question(text, [choice(rng, pct(key), [(pct(w), s) for w, s in picked])],
                            solution=Solution(steps, [pct(key)],
                                              why=f"{got} out of {total} is {frac(got, total)}, which is "
                                                  f"{pct(key)}."))
        return Question(text, [Part(key=num(key), unit=PCT)], solution=Solution(steps, [key]))
    # Level 3: the rest, found first, as a percentage of the whole.
    total = rng.choice([40, 50, 80, 120, 150, 160, 200, 240, 300])
    colours = rng.sample(["red", "blue", "green", "yellow", "white"], 3)
    while True:
        a, b = rng.randint(total // 10, total // 2), rng.randint(total // 10, total // 2)
        rest = total - a - b
        if rest > 0 and (100 * rest) % total == 0 and a != b:
            break
    text = p(f"A box holds {total} beads. {a} of them are {colours[0]}, {b} are {colours[1]} "
             f"and the rest are {colours[2]}.",
             f"What percentage of the beads are {colours[2]}?")
    steps = [Step(f"Find the number of {colours[2]} beads.", f"{total} {MINUS} {a} {MINUS} {b} = {rest}")]
    steps += pct_as_steps(rest, total, f"{rest} of the {total} beads are {colours[2]}.")
    return Question(text, [Part(key=num(as_percent(rest, total)), unit=PCT)],
                    solution=Solution(steps, [as_percent(rest, total)]))


# ---------------------------------------------------------------- shopping

def _item(rng, big=False):
    return rng.choice(BIG_GOODS if big else GOODS)


def _plural(thing):
    if thing.startswith("pair of "):
        return "pairs of " + thing[8:]
    if thing.endswith(("ch", "sh")):
        return thing + "es"
    return thing + "s"


@family("percent.discount", TOPIC, ["N", "Q", ("N", "N")], levels=(2, 3))
def discount(rng, level, slots):
    thing, lo, hi = _item(rng, big=level == 3 and len(slots) == 1 and rng.random() < 0.5)
    rate = rng.choice([10, 15, 20, 25, 30, 35, 40, 5, 12])
    price = _multiple(rng, rate, lo, hi, also=(20 if hi > 1000 else 5) if rate % 5 == 0 else 1)
    off = percent_of(rate, price)
    sale = price - off
    who = names(rng, 1)[0]
    off_step = Step(f"Find the discount: {pct(rate)} of the usual price.", pct_line(rate, price, money))
    sale_step = Step("Take the discount away from the usual price.",
                     f"{money(price)} {MINUS} {money(off)} = {money(sale)}")
    if len(slots) == 2:
        if level == 2:
            text = p(f"A {thing} costs {money(price)}. It is sold at a discount of {pct(rate)}.")
            sale_step.part = 2
            return Question(text, [Part(key=num(off), prompt="How much is the discount?", unit_before="$"),
                                   Part(key=num(sale), prompt="What is the sale price of the "
                                        f"{thing}?", unit_before="$")],
                            solution=Solution(pct_of_steps(rate, price, money(price), money) + [sale_step],
                                              [off, sale]))
        count = rng.randint(2, 3)
        buyer = _adult(rng)
        text = p(f"The usual price of a {thing} is {money(price)}. During a sale, every {thing} "
                 f"is sold at {pct(rate)} off. {buyer} buys {count} of them at the sale as presents.")
        save = Step(f"On each {thing} {pronoun(buyer)} saves the discount, {money(off)}.",
                    f"{count} {TIMES} {money(off)} = {money(off * count)}", part=2)
        return Question(text, [
            Part(key=num(sale), prompt=f"What is the sale price of one {thing}?", unit_before="$"),
            Part(key=num(off * count), prompt=f"How much money does {buyer} save by "
                 f"buying the {count} {_plural(thing)} at the sale?", unit_before="$")],
            solution=Solution([off_step, sale_step, save], [sale, off * count]))
    if slots[0].kind == "Q":
        text = p(f"A {thing} costs {money(price)}. It is sold at a discount of {pct(rate)}.",
                 f"What is the sale price of the {thing}?")
        wrong = [(off, "gives the discount, not the price after it"),
                 (price - rate, f"takes ${rate} off instead of {pct(rate)}"),
                 (price + off, "adds the discount to the price instead of taking it away"),
                 (sale - off, "takes the discount off twice")]
        picked = _wrongs(rng, sale, [(w, s) for w, s in wrong if w > 0])
        return Question(text, [choice(rng, money(sale), [(money(w), s) for w, s in picked])],
                        solution=Solution([off_step, sale_step], [money(sale)],
                                          why=f"The price after a discount of {money(off)} is {money(sale)}."))
    if level == 2:
        if rng.random() < 0.5:
            text = p(f"A {thing} costs {money(price)}. {who} buys it at a discount of {pct(rate)}.",
                     f"How much does {pronoun(who)} pay for it?")
            return Question(text, [Part(key=num(sale), unit_before="$")],
                            solution=Solution([off_step, sale_step], [sale]))
        text = p(f"The usual price of a {thing} is {money(price)}. In a sale its price is "
                 f"{money(sale)}.", "What percentage discount is given?")
        steps = [Step("Find the discount in dollars.", f"{money(price)} {MINUS} {money(sale)} = {money(off)}")]
        steps += pct_as_steps(off, price, f"The discount is {money(off)} out of the usual {money(price)}.")
        return Question(text, [Part(key=num(change_percent(price, sale)), unit=PCT)],
                        solution=Solution(steps, [change_percent(price, sale)]))
    text = p(f"In a sale, a {thing} is sold at {pct(rate)} off its usual price. {who} pays "
             f"{money(sale)} for it.", f"What is the usual price of the {thing}?")
    steps = whole_from_pct_steps(100 - rate, sale, "the usual price", money,
                                 lead=f"The usual price is 100%. {pronoun(who).capitalize()} pays 100% "
                                      f"{MINUS} {pct(rate)} = {pct(100 - rate)} of it, {money(sale)}.")
    return Question(text, [Part(key=num(before_change(sale, -rate)), unit_before="$")],
                    solution=Solution(steps, [before_change(sale, -rate)]))


SHOPS = ["Shop A", "Shop B", "Shop C", "Shop D"]


def _only(values, pick):
    """The index of the one value pick (min or max) chooses, or None on a tie."""
    best = pick(values)
    return values.index(best) if values.count(best) == 1 else None


def best_buy_slips(rows, k):
    """Why a pupil comparing a shop with the best buy, shop k, would take
    the other shop: (test on a shop's index, slip) for a lower usual price,
    a bigger discount, more dollars off, and dollars taken off instead of a
    percentage."""
    prices = [pr for pr, _ in rows]
    rates = [r for _, r in rows]
    offs = [percent_of(r, pr) for pr, r in rows]
    sales = [pr - o for pr, o in zip(prices, offs)]
    best = SHOPS[k]

    def costs(i):
        return f"it costs {money(sales[i])} after the discount"
    return [(lambda i: prices[i] < prices[k],
             lambda i: f"has a lower usual price than {best}, but only {pct(rates[i])} off: {costs(i)}"),
            (lambda i: rates[i] > rates[k],
             lambda i: f"gives a bigger discount than {best}, but its usual price is higher: {costs(i)}"),
            (lambda i: offs[i] > offs[k],
             lambda i: f"takes more dollars off than {best}, {money(offs[i])}, but starts from a higher "
                       f"price: {costs(i)}"),
            (lambda i: prices[i] - rates[i] < prices[k] - rates[k],
             lambda i: f"takes {rates[i]} dollars off instead of {pct(rates[i])}: {pct(rates[i])} of "
                       f"{money(prices[i])} is {money(offs[i])}, so {costs(i)}")]


@family("percent.best-buy", TOPIC, ["Q"], levels=(2,))
def best_buy(rng, level, slots):
    thing, lo, hi = _item(rng)
    # The same thing costs about the same everywhere: within a third of a base.
    base = rng.randint(lo, hi)
    step = 5 if base < 100 else 10 if base < 400 else 20
    prices = list(range(-(-base * 4 // 5 // step) * step, base * 13 // 10 + 1, step))
    if len(prices) < 4:
        raise ValueError("too few prices")
    for attempt in range(300):
        rows = [(rng.choice(prices), rng.choice([10, 15, 20, 25, 30, 35, 40, 50])) for _ in SHOPS]
        sales = [pr - percent_of(r, pr) for pr, r in rows]
        best = _only(sales, min)
        # No giveaway: the best buy has neither the lowest usual price nor
        # the biggest discount, and each other shop beats it at something.
        if best is None or rows[best][0] == min(pr for pr, _ in rows) or \
                rows[best][1] == max(r for _, r in rows):
            continue
        wrong = [i for i in range(4) if i != best]
        slips, distinct = slips_for(wrong, best_buy_slips(rows, best))
        if slips and (distinct or attempt > 200):
            break
    else:
        raise ValueError("no table where every shop is a real slip")
    slips = dict(zip(wrong, slips))
    table_rows = [(shop, money(pr), pct(r)) for shop, (pr, r) in zip(SHOPS, rows)]
    sales = [pr - percent_of(r, pr) for pr, r in rows]
    text = p(f"Four shops sell the same {thing}. The table shows each shop\u2019s usual price "
             f"and the discount it gives.") + table(["Shop", "Usual price", "Discount"], table_rows)
    steps = [Step(f"{shop}: find {pct(r)} of {money(pr)} and take it away.",
                  f"{pct_line(r, pr, money)}; {money(pr)} {MINUS} {money(percent_of(r, pr))} = {money(s)}")
             for shop, (pr, r), s in zip(SHOPS, rows, sales)]
    steps.append(Step(f"The lowest price after the discount is {money(sales[best])}, at {SHOPS[best]}."))
    part = Part(key=str(best + 1), options=list(SHOPS), slips=[slips.get(i) for i in range(4)],
                prompt=f"At which shop does the {thing} cost the least after the discount?")
    why = f"{SHOPS[best]} sells it for {money(sales[best])} after the discount, less than any other shop."
    return Question(text, [part], solution=Solution(steps, [SHOPS[best]], why=why))


@family("percent.charges", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def charges(rng, level, slots):
    who = _adult(rng)
    family_ = rng.choice([f"{who} and {possessive(who)} family", f"{who} and {possessive(who)} friends"])
    if rng.random() < 0.5:
        charge, rate, what = "a service charge", 10, "cost of the food"
        bill = rng.randint(12, 60) * 5 if level == 2 else rng.randint(8, 40) * 10
        story = f"{family_} had dinner at a restaurant. The food cost {money(bill)}. "
        added = f"{charge} of {pct(rate)} was added to the bill"
    else:
        charge, rate, what = "GST", rng.choice([7, 8, 9]), "price before GST"
        thing, lo, hi = _item(rng, big=True)
        bill = rng.randint(lo // 50, hi // 50) * 50
        story = f"{who} bought a {thing}. Its price before GST was {money(bill)}. "
        added = f"GST of {pct(rate)} was charged on the price"
    name = charge.replace("a ", "", 1)
    if level < 3 or len(slots) == 2:
        extra = _cents(percent_of(rate, bill))
        total = bill + extra
        add = Step(f"Add the {name} to the {what}.", f"{money(bill)} + {money(extra)} = {money(total)}",
                   part=len(slots))
        text = p(story + added[0].upper() + added[1:] + ".")
        if len(slots) == 2:
            return Question(text, [
                Part(key=num(extra), prompt=f"How much was the {name}?", unit_before="$"),
                Part(key=num(total), prompt="How much was paid altogether?", unit_before="$")],
                solution=Solution(pct_of_steps(rate, bill, f"the {what}", money) + [add], [extra, total]))
        find = Step(f"Find the {name}: {pct(rate)} of {money(bill)}.", pct_line(rate, bill, money))
        return Question(text + p("How much was paid altogether?"), [Part(key=num(total), unit_before="$")],
                        solution=Solution([find, add], [total]))
    # Level 3: back from the total to the price before the charge.
    # GST rates other than 10% go back to a round price only from hundreds.
    bill = _multiple(rng, rate, 100, 900, also=10 if rate == 10 else 100)
    total = after_change(bill, rate)
    if charge == "GST":
        text = p(f"{who} paid {money(total)} for a {thing}. This included GST of {pct(rate)} "
                 "on its price.", "What was the price of the item before GST?")
        what = "the price before GST"
    else:
        text = p(f"{family_} paid {money(total)} for a dinner. This included a service charge of "
                 f"{pct(rate)} on the cost of the food.", "How much did the food cost?")
        what = "the cost of the food"
    steps = whole_from_pct_steps(100 + rate, total, what, money,
                                 lead=f"{what[0].upper() + what[1:]} is 100%, so the {money(total)} paid is "
                                      f"100% + {pct(rate)} = {pct(100 + rate)} of it.")
    return Question(text, [Part(key=num(before_change(total, rate)), unit_before="$")],
                    solution=Solution(steps, [bill]))


# ---------------------------------------------------------------- change

@family("percent.change", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def change(rng, level, slots):
    rate = rng.choice([5, 10, 15, 20, 25, 30, 40, 12, 8])
    up = rng.random() < 0.5
    signed = rate if up else -rate
    word = "increase" if up else "decrease"
    story = rng.choice(["visitors", "members", "price"])
    if story == "price":
        thing, lo, hi = _item(rng)
        old = _multiple(rng, rate, lo, hi, also=20 if rate % 5 == 0 else 25)
        new = after_change(old, signed)
        setting = f"The price of a {thing} was {money(old)}."
        ask_new = f"What is the new price of the {thing}?"
        unit = dict(unit_before="$")
        told = f"The price of a {thing} {'rose' if up else 'fell'} from {money(old)} to {money(new)}."
        show, then, now = money, "the old price", "the new price"
    else:
        place, people = rng.choice([("a museum", "visitors"), ("a zoo", "visitors"),
                                    ("a swimming club", "members"), ("a library", "members")])
        old = _multiple(rng, rate, 200, 5000, also=100)   # 1% is a whole number
        new = after_change(old, signed)
        setting = f"Last year {place} had {n(old)} {people}."
        ask_new = f"How many {people} does it have this year?"
        unit = dict(unit=people)
        told = f"Last year {place} had {n(old)} {people}. This year it has {n(new)} {people}."
        show, then, now = n, "last year\u2019s number", "this year\u2019s number"
    _whole(new * 100)
    diff = abs(new - old)
    diff_step = Step(f"Find the {word}: the difference between {then} and {now}.",
                     f"{show(max(old, new))} {MINUS} {show(min(old, new))} = {show(diff)}")
    as_pct = pct_as_steps(diff, old, f"The {word} is {show(diff)} out of {then}, {show(old)}.",
                          part=len(slots))
    if len(slots) == 2:
        text = p(told)
        diff_ask = (f"By how much did the price {'rise' if up else 'fall'}?" if story == "price"
                    else f"How many {'more' if up else 'fewer'} {people} does it have this year?")
        return Question(text, [Part(key=num(diff), prompt=diff_ask, **unit),
                               Part(key=num(change_percent(old, new)),
                                    prompt=f"What is the percentage {word}?", unit=PCT)],
                        solution=Solution([diff_step] + as_pct, [diff, change_percent(old, new)]))
    moved = Step(f"{'Add' if up else 'Take'} the {word} {'to' if up else 'away from'} {then}.",
                 f"{show(old)} {'+' if up else MINUS} {show(diff)} = {show(new)}")
    found = Step(f"Find the {word}: {pct(rate)} of {show(old)}.", pct_line(rate, old, show))
    if level == 2:
        if rng.random() < 0.5:
            return Question(p(told, f"What is the percentage {word}?"),
                            [Part(key=num(change_percent(old, new)), unit=PCT)],
                            solution=Solution([diff_step] + as_pct, [change_percent(old, new)]))
        change_text = (f"This year the number {'increased' if up else 'decreased'} by {pct(rate)}."
                       if story != "price" else
                       f"The price was {'increased' if up else 'decreased'} by {pct(rate)}.")
        return Question(p(setting, change_text, ask_new), [Part(key=num(new), **unit)],
                        solution=Solution([found, moved], [new]))
    # Level 3: two changes one after the other.
    second = rng.choice([10, 20, 25, 50])
    up2 = not up
    final = after_change(new, second if up2 else -second)
    _whole(final)
    if story == "price":
        raise ValueError("two price changes read poorly")
    text = p(setting, f"This year the number {'increased' if up else 'decreased'} by {pct(rate)}.",
             f"Next year it is expected to {'increase' if up2 else 'decrease'} by {pct(second)} "
             "of this year\u2019s number.",
             f"How many {people} is it expected to have next year?")
    word2 = "increase" if up2 else "decrease"
    step2 = percent_of(second, new)
    steps = [found, moved,
             Step(f"Find next year\u2019s {word2}: {pct(second)} of this year\u2019s {n(new)}.",
                  pct_line(second, new)),
             Step(f"{'Add it to' if up2 else 'Take it away from'} this year\u2019s number.",
                  f"{n(new)} {'+' if up2 else MINUS} {n(step2)} = {n(final)}")]
    return Question(text, [Part(key=num(final), **unit)], solution=Solution(steps, [final]))


# ---------------------------------------------------------------- the whole from a part

@family("percent.whole-from-part", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def whole_from_part_question(rng, level, slots):
    who = names(rng, 1)[0]
    rate = rng.choice([10, 20, 25, 30, 40, 60, 75, 15, 35, 45])
    if len(slots) == 2 or level == 2:
        thing, lo, hi = _item(rng)
        # The thing costs what such a thing costs; the savings follow from it.
        total = _multiple(rng, rate, -(-lo * 100 // rate), min(hi * 100 // rate, 2000), also=1)
        part = percent_of(rate, total)
        _whole(part)
        text = p(f"{who} spent {pct(rate)} of {possessive(who)} savings on a {thing}. "
                 f"The {thing} cost {money(part)}.")
        savings = f"{possessive(who)} savings"
        if len(slots) == 2:
            left = Step(f"Take away what the {thing} cost.", f"{money(total)} {MINUS} {money(part)} = "
                                                              f"{money(total - part)}", part=2)
            return Question(text, [
                Part(key=num(total), prompt=f"How much were {possessive(who)} savings?", unit_before="$"),
                Part(key=num(total - part), prompt=f"How much money did {pronoun(who)} have left?",
                     unit_before="$")],
                solution=Solution(whole_from_pct_steps(rate, part, savings, money) + [left],
                                  [total, total - part]))
        if rng.random() < 0.5:
            return Question(text + p(f"How much were {possessive(who)} savings?"),
                            [Part(key=num(total), unit_before="$")],
                            solution=Solution(whole_from_pct_steps(rate, part, savings, money), [total]))
        return Question(p(f"{pct(rate)} of a number is {n(part)}.", "What is the number?"),
                        [Part(key=num(total))],
                        solution=Solution(whole_from_pct_steps(rate, part, "the number"), [total]))
    # Level 3: told the difference between two groups.
    rate = rng.choice([55, 60, 65, 70, 75, 80, 45, 40, 35, 30])
    diff_rate = abs(2 * rate - 100)
    total = _multiple(rng, diff_rate, 100, 1500, also=20)
    bigger = percent_of(rate, total)
    diff = abs(bigger - (total - bigger))
    _whole(diff)
    a, b = ("girls", "boys") if rng.random() < 0.5 else ("boys", "girls")
    more = a if rate > 50 else b
    fewer = b if rate > 50 else a
    text = p(f"{pct(rate)} of the pupils in a school are {a} and the rest are {b}.",
             f"There are {n(diff)} more {more} than {fewer}.",
             "How many pupils are there in the school?")
    hi, lo = max(rate, 100 - rate), min(rate, 100 - rate)
    steps = [Step(f"The {b} are the rest of the pupils.", f"100% {MINUS} {pct(rate)} = {pct(100 - rate)}")]
    steps += whole_from_pct_steps(diff_rate, diff, "the pupils in the school",
                                  lead=f"The {more} are {pct(hi)} {MINUS} {pct(lo)} = {pct(diff_rate)} of "
                                       f"the pupils more than the {fewer}, and that difference is "
                                       f"{n(diff)} pupils.")
    return Question(text, [Part(key=num(whole_from_part(diff, diff_rate)), unit="pupils")],
                    solution=Solution(steps, [total]))


# ---------------------------------------------------------------- interest

@family("percent.interest", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def interest(rng, level, slots):
    who = _adult(rng)
    rate = rng.choice([2, 3, 4, 5, 1.5, 2.5])
    rate = Fraction(rate).limit_denominator(2)
    deposit = rng.randint(4, 40) * 500 if rate.denominator == 1 else rng.randint(2, 20) * 1000
    earned = percent_of(rate, deposit)
    _cents(earned)
    setting = (f"{who} put {money(deposit)} in a bank. The bank pays interest of {n(rate)}{PCT} "
               "per year.")
    find = pct_of_steps(rate, deposit, money(deposit), money)
    add = Step("Add the interest to the money put in.",
               f"{money(deposit)} + {money(earned)} = {money(deposit + earned)}", part=len(slots))
    if len(slots) == 2:
        return Question(p(setting), [
            Part(key=num(earned), prompt="How much interest will the money earn in one year?",
                 unit_before="$"),
            Part(key=num(deposit + earned), prompt="How much money will be in the bank after one "
                 "year?", unit_before="$")], solution=Solution(find + [add], [earned, deposit + earned]))
    if level == 2:
        return Question(p(setting, "How much interest will the money earn in one year?"),
                        [Part(key=num(earned), unit_before="$")], solution=Solution(find, [earned]))
    if rng.random() < 0.5:
        return Question(p(setting, "How much money will be in the bank after one year?"),
                        [Part(key=num(deposit + earned), unit_before="$")],
                        solution=Solution(find + [add], [deposit + earned]))
    text = p(f"{who} put some money in a bank that pays interest of {n(rate)}{PCT} per year. "
             f"After one year the money had earned {money(earned)} in interest.",
             f"How much money did {pronoun(who)} put in the bank?")
    return Question(text, [Part(key=num(whole_from_part(earned, rate)), unit_before="$")],
                    solution=Solution(whole_from_pct_steps(rate, earned, "the money put in", money),
                                      [deposit]))


# ---------------------------------------------------------------- spending

@family("percent.spending", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def spending(rng, level, slots):
    who = names(rng, 1)[0]
    he, his = pronoun(who), possessive(who)
    first = rng.choice([10, 20, 25, 30, 40, 50, 60])
    second = rng.choice([10, 20, 25, 40, 50, 60, 75])
    money_ = rng.choice([True, True, False])
    if level == 2 and len(slots) == 1:
        amount = _multiple(rng, first, 40, 400, also=4)
        spent = percent_of(first, amount)
        text = p(f"{who} had {money(amount)}. {he.capitalize()} spent {pct(first)} of it on a "
                 "present.", f"How much money did {he} have left?")
        steps = [Step(f"Find the money spent: {pct(first)} of {money(amount)}.", pct_line(first, amount, money)),
                 Step("Take it away from what he had." if he == "he" else "Take it away from what she had.",
                      f"{money(amount)} {MINUS} {money(spent)} = {money(amount - spent)}")]
        return Question(text, [Part(key=num(amount - spent), unit_before="$")],
                        solution=Solution(steps, [amount - spent]))
    amount = _multiple(rng, first, 80, 800, also=20)
    spent = percent_of(first, amount)
    rest = amount - spent
    second_spent = percent_of(second, rest)
    left = left_after_spending(amount, first, second)
    _whole(second_spent)
    show = money if money_ else n
    if money_:
        text = p(f"{who} had {money(amount)}. {he.capitalize()} spent {pct(first)} of it on a "
                 f"pair of shoes and {pct(second)} of the remaining money on a book.")
        unit = dict(unit_before="$")
        ask_left = f"How much money did {he} have left?"
        ask_second = "How much did the book cost?"
        said = ("the money spent on the shoes", "the money that remained", "the cost of the book",
                "the money at first", "the money that remained after the shoes")
    else:
        text = p(f"A baker made {n(amount)} buns. {pct(first)} of them were sold in the morning "
                 f"and {pct(second)} of the remaining buns were sold in the afternoon.")
        unit = dict(unit="buns")
        ask_left = "How many buns were left?"
        ask_second = "How many buns were sold in the afternoon?"
        said = ("the buns sold in the morning", "the buns that remained", "the buns sold in the afternoon",
                "the buns made", "the buns that remained after the morning")
    two = len(slots) == 2
    s1 = Step(f"Find {said[0]}: {pct(first)} of {show(amount)}.", pct_line(first, amount, show))
    s2 = Step(f"Find {said[1]}.", f"{show(amount)} {MINUS} {show(spent)} = {show(rest)}")
    s3 = Step(f"Find {said[2]}: {pct(second)} of the remaining {show(rest)}.", pct_line(second, rest, show))
    s4 = Step("Take that away to find what was left.", f"{show(rest)} {MINUS} {show(second_spent)} = {show(left)}")
    if two:
        if level == 3 and rng.random() < 0.5:
            ask_pct = ("What percentage of the money did " + he + " have left?" if money_
                       else "What percentage of the buns were left?")
            as_pct = pct_as_steps(left, amount, f"{show(left)} out of {show(amount)} was left.", part=2)
            return Question(text, [Part(key=num(left), prompt=ask_left, **unit),
                                   Part(key=num(as_percent(left, amount)), prompt=ask_pct, unit=PCT)],
                            solution=Solution([s1, s2, s3, s4] + as_pct, [left, as_percent(left, amount)]))
        s4.part = 2
        return Question(text, [Part(key=num(second_spent), prompt=ask_second, **unit),
                               Part(key=num(left), prompt=ask_left, **unit)],
                        solution=Solution([s1, s2, s3, s4], [second_spent, left]))
    if rng.random() < 0.5:
        return Question(text + p(ask_left), [Part(key=num(left), **unit)],
                        solution=Solution([s1, s2, s3, s4], [left]))
    # Back from what was left to what there was at first.
    if money_:
        text = p(f"{who} spent {pct(first)} of {his} money on a pair of shoes and {pct(second)} of "
                 f"the remaining money on a book. {he.capitalize()} had {money(left)} left.",
                 f"How much money did {he} have at first?")
    else:
        text = p(f"A baker sold {pct(first)} of {'her' if rng.random() < 0.5 else 'his'} buns in "
                 f"the morning and {pct(second)} of the remaining buns in the afternoon. "
                 f"{n(left)} buns were left.", "How many buns did the baker make?")
    back = whole_from_pct_steps(100 - second, left, said[4], show,
                                lead=f"Work backwards. What was left, {show(left)}, is 100% {MINUS} "
                                     f"{pct(second)} = {pct(100 - second)} of {said[4]}.")
    start = whole_from_pct_steps(100 - first, rest, said[3], show,
                                 lead=f"{show(rest)} is 100% {MINUS} {pct(first)} = {pct(100 - first)} "
                                      f"of {said[3]}.")
    return Question(text, [Part(key=num(amount), **unit)], solution=Solution(back + start, [amount]))


# ---------------------------------------------------------------- survey

@family("percent.survey", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def survey(rng, level, slots):
    total = rng.choice([200, 240, 300, 400, 480, 500, 600, 800, 1200])
    boys_rate = rng.choice([40, 45, 55, 60, 35, 65])
    boys = percent_of(boys_rate, total)
    girls = total - boys
    club = rng.choice(["choir", "chess club", "swimming team", "art club", "school band"])
    club_rate = rng.choice([10, 20, 25, 30, 40, 50])
    members = percent_of(club_rate, girls)
    _whole(boys)
    _whole(members)
    text = p(f"There are {n(total)} pupils in a school. {pct(boys_rate)} of them are boys.",
             f"{pct(club_rate)} of the girls are in the {club}.")
    two = len(slots) == 2
    find_girls = [Step(f"Find the number of boys: {pct(boys_rate)} of {n(total)}.", pct_line(boys_rate, total)),
                  Step("The rest are girls.", f"{n(total)} {MINUS} {n(boys)} = {n(girls)}")]
    find_members = Step(f"{pct(club_rate)} of the {n(girls)} girls are in the {club}.",
                        pct_line(club_rate, girls), part=2 if two and level == 2 else 1)
    if two:
        if level == 3:
            _whole(as_percent(members, total))
            as_pct = pct_as_steps(members, total, f"{n(members)} of the {n(total)} pupils are girls in "
                                                  f"the {club}.", part=2)
            return Question(text, [
                Part(key=num(members), prompt=f"How many girls are in the {club}?", unit="girls"),
                Part(key=num(as_percent(members, total)), prompt=f"What percentage of all the "
                     f"pupils in the school are girls in the {club}?", unit=PCT)],
                solution=Solution(find_girls + [find_members] + as_pct,
                                  [members, as_percent(members, total)]))
        return Question(text, [Part(key=num(girls), prompt="How many girls are there?", unit="girls"),
                               Part(key=num(members), prompt=f"How many girls are in the {club}?",
                                    unit="girls")],
                        solution=Solution(find_girls + [find_members], [girls, members]))
    if level == 2:
        return Question(text + p(f"How many girls are in the {club}?"), [Part(key=num(members), unit="girls")],
                        solution=Solution(find_girls + [find_members], [members]))
    rest_step = Step(f"Take them away from all the girls.", f"{n(girls)} {MINUS} {n(members)} = "
                                                              f"{n(girls - members)}")
    return Question(text + p(f"How many girls are not in the {club}?"),
                    [Part(key=num(girls - members), unit="girls")],
                    solution=Solution(find_girls + [find_members, rest_step], [girls - members]))


# ---------------------------------------------------------------- the rest, and comparing

@family("percent.rest", TOPIC, ["N", "Q"], levels=(1, 2))
def rest(rng, level, slots):
    """What percentage is left when the other parts are given."""
    q = slots[0].kind == "Q"
    # 100 - 35 read digit by digit gives 75: the slip with regrouping.
    regroup = "forgets to regroup the tens and ones of 100"
    if level == 1:
        group, a, b = rng.choice([("pupils in a class", "boys", "girls"),
                                  ("members of a club", "adults", "children"),
                                  ("cars in a car park", "red", "not red")])
        rate = rng.choice([r for r in range(15, 90) if r != 50 and (r % 10 or not q)])
        key = 100 - rate
        text = p(f"{pct(rate)} of the {group} are {a}. The rest are {b}.",
                 f"What percentage of the {group.split(' ')[0]} are {b}?")
        steps = [Step(f"All the {group.split(' ')[0]} make 100%. Take away the {pct(rate)} that are {a}.",
                      f"100% {MINUS} {pct(rate)} = {pct(key)}")]
        wrong = [(rate, f"gives the percentage that are {a}, not {b}"),
                 (100 + rate, f"adds {pct(rate)} to 100% instead of taking it away"),
                 (key + 10 if rate % 10 else None, f"{regroup}, so 100 {MINUS} {rate} comes out as "
                                                   f"{key + 10}, not {key}")]
    else:
        fruit = rng.sample(["apples", "oranges", "pears", "mangoes", "bananas"], 3)
        while True:
            r1, r2 = rng.randrange(10, 60, 5), rng.randrange(10, 60, 5)
            if r1 != r2 and r1 + r2 < 90:
                break
        text = p(f"A fruit stall has some fruit. {pct(r1)} of the fruit are {fruit[0]}, "
                 f"{pct(r2)} are {fruit[1]} and the rest are {fruit[2]}.",
                 f"What percentage of the fruit are {fruit[2]}?")
        key = 100 - r1 - r2
        steps = [Step(f"Add the percentages of {fruit[0]} and {fruit[1]}.",
                      f"{pct(r1)} + {pct(r2)} = {pct(r1 + r2)}"),
                 Step(f"The rest are {fruit[2]}: take the sum away from 100%.",
                      f"100% {MINUS} {pct(r1 + r2)} = {pct(key)}")]
        wrong = [(r1 + r2, f"adds the two percentages and stops: that is the {fruit[0]} and "
                           f"{fruit[1]} together"),
                 (100 - r1, f"takes away only the {pct(r1)} of {fruit[0]}"),
                 (100 - r2, f"takes away only the {pct(r2)} of {fruit[1]}"),
                 (key + 10 if (r1 + r2) % 10 else None,
                  f"{regroup}, so 100 {MINUS} {r1 + r2} comes out as {key + 10}, not {key}")]
    if not q:
        return Question(text, [Part(key=num(key), unit=PCT)], solution=Solution(steps, [key]))
    picked = _wrongs(rng, key, [(w, s) for w, s in wrong if w is not None])
    return Question(text, [choice(rng, pct(key), [(pct(w), s) for w, s in picked])],
                    solution=Solution(steps, [pct(key)], why=f"The parts make 100% together, so the rest "
                                                             f"is {pct(key)}."))


def compare_percents(r1, a1, r2, a2):
    """How much greater the larger of r1% of a1 and r2% of a2 is."""
    return abs(percent_of(r1, a1) - percent_of(r2, a2))


@family("percent.compare", TOPIC, ["N"], levels=(2, 3))
def compare(rng, level, slots):
    while True:
        r1, r2 = rng.sample([10, 15, 20, 25, 30, 40, 60, 75], 2)
        a1, a2 = _multiple(rng, r1, 40, 400, also=20), _multiple(rng, r2, 40, 400, also=20)
        if percent_of(r1, a1) != percent_of(r2, a2):
            break
    diff = compare_percents(r1, a1, r2, a2)
    x1, x2 = percent_of(r1, a1), percent_of(r2, a2)
    if level == 2:
        text = p(f"Find the difference between {pct(r1)} of {n(a1)} and {pct(r2)} of {n(a2)}.")
        steps = [Step(f"Find {pct(r1)} of {n(a1)}.", pct_line(r1, a1)),
                 Step(f"Find {pct(r2)} of {n(a2)}.", pct_line(r2, a2)),
                 Step("Take the smaller away from the greater.",
                      f"{n(max(x1, x2))} {MINUS} {n(min(x1, x2))} = {n(diff)}")]
        return Question(text, [Part(key=num(diff))], solution=Solution(steps, [diff]))
    a, b = names(rng, 2)
    more, less = (a, b) if x1 > x2 else (b, a)
    text = p(f"{a} had {money(a1)} and spent {pct(r1)} of it. {b} had {money(a2)} and spent "
             f"{pct(r2)} of it.", f"How much more money did {more} spend than {less}?")
    steps = [Step(f"Find how much {a} spent: {pct(r1)} of {money(a1)}.", pct_line(r1, a1, money)),
             Step(f"Find how much {b} spent: {pct(r2)} of {money(a2)}.", pct_line(r2, a2, money)),
             Step("Take the smaller amount away from the greater.",
                  f"{money(max(x1, x2))} {MINUS} {money(min(x1, x2))} = {money(diff)}")]
    return Question(text, [Part(key=num(diff), unit_before="$")], solution=Solution(steps, [diff]))
