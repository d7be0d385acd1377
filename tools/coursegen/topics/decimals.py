"""Topic 2: Decimals. Values are kept as exact fractions; the solvers are
tested in tests/test_decimals.py."""

from fractions import Fraction as Fr
from math import gcd

from ..contexts import ADULTS, SHOP_ITEMS, names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, fixed, fraction_key, num
from ..svg import Svg, number_line
from ..text import DIV, MINUS, TIMES, frac, listing, mixed, money, n, nb, p, place_value, unit
from .whole_numbers import LT, divide_with_remainder, line_alt, line_steps, lines, long_division

TOPIC = 2
PLACE_NAMES = {1: "tenths", 2: "hundredths", 3: "thousandths"}


def d(text):
    """An exact decimal from its text."""
    return Fr(text)


def dec(rng, whole, places):
    """A random decimal from whole[0] to just under whole[1] + 1 with exactly
    that many places (its last digit is not zero)."""
    scaled = rng.randint(whole[0] * 10 ** places, (whole[1] + 1) * 10 ** places - 1)
    if scaled % 10 == 0:
        scaled += rng.randint(1, 9)
    return Fr(scaled, 10 ** places)


# ---------------------------------------------------------------- solvers

def digit_place(x, digit):
    """Value of the single given digit of decimal x: (36.472, 7) -> 0.07."""
    text = num(x)
    if text.count(str(digit)) != 1:
        raise ValueError("digit must occur once")
    point = text.index(".") if "." in text else len(text)
    i = text.index(str(digit))
    power = point - i - 1 if i < point else point - i
    return digit * Fr(10) ** power


def round_places(x, places):
    """Round half up to a number of decimal places, as an exact value."""
    return Fr(fixed(x, places))


def change(paid, prices):
    return paid - sum(prices)


def unit_price(total, count):
    return Fr(total) / count


def best_buy(offers):
    """Index of the offer (mass, price) with the lowest price per unit."""
    return min(range(len(offers)), key=lambda i: Fr(offers[i][1]) / Fr(offers[i][0]))


BIG_NAMES = {"km": "kilometres", "m": "metres", "kg": "kilograms", "\u2113": "litres"}
CONVERSIONS = [  # (big unit, small unit, how many small in one big)
    ("km", "m", 1000), ("m", "cm", 100), ("kg", "g", 1000), ("\u2113", "m\u2113", 1000),
]


# ---------------------------------------------------------------- working

ML = "m\u2113"
LITRE = "\u2113"
ORDINALS = ["", "first", "second", "third"]


def places(x):
    """How many decimal places x is written with."""
    return len(num(x).partition(".")[2])


def pad(x, k):
    """x written with k decimal places, zeros filling the empty places."""
    return fixed(x, k)


def adult(rng):
    """An adult's title and name, kept on one line."""
    return nb(*rng.choice(ADULTS).split())


def _times_whole(x, k):
    """Multiplying a decimal by a whole number as pupils are taught: as
    whole numbers, then the point put back."""
    p_ = places(x)
    whole = int(x * 10 ** p_)
    return (f"{whole} {TIMES} {k} = {n(whole * k)}; {n(x)} has {p_} decimal place{'s' if p_ > 1 else ''}, "
            f"so {n(x)} {TIMES} {k} = {n(x * k)}")


# ---------------------------------------------------------------- families

MIRROR = {"tenths": "tens", "hundredths": "hundreds", "thousandths": "thousands"}


def _decimal_place_slips(i):
    """Wrong places for a digit i places after the point, with the slip that
    leads to each."""
    place = PLACE_NAMES[i]
    out = [(MIRROR[place], f"confuses {place} with {MIRROR[place]}, the place before the point with "
                           "a name like it")]
    if i < 3:
        out.append((PLACE_NAMES[i + 1], "counts the decimal point as a place, one place too many"))
    if i > 1:
        out.append((PLACE_NAMES[i - 1], "counts one place too few after the point"))
    out.append(("ones", "takes the first place after the point to be the ones" if i == 1
                else "takes the last digit to be the ones digit, as in a whole number"))
    return out[:3]


@family("dec.digit-value", TOPIC, ["N", "Q"], levels=(1, 2))
def digit_value(rng, level, slots):
    places_ = 3
    digits = rng.sample(range(1, 10), 2 + places_)
    x = Fr(int("".join(map(str, digits))), 10 ** places_)
    pos = rng.randint(2, 4)                  # one of the decimal digits
    digit = digits[pos]
    value = digit_place(x, digit)
    i = pos - 1
    place = PLACE_NAMES[i]
    read = ", ".join(place_value(dg, PLACE_NAMES[j]) for j, dg in enumerate(digits[2:], 1))
    step = Step(f"The places after the decimal point are tenths, hundredths and thousandths. The {digit} is "
                f"the {ORDINALS[i]} digit after the point, so it is in the {place} place.",
                f"After the point in {n(x)}, there are {read}")
    if slots[0].kind == "N":
        step.work = f"{place_value(digit, place)} = {digit} {DIV} {10 ** i} = {n(value)}"
        return Question(p(f"What is the value of the digit {digit} in {n(x)}?"),
                        [Part(key=num(value))], solution=Solution([step], [value]))
    right = place_value(digit, place)
    part = choice(rng, right, [(place_value(digit, o), s) for o, s in _decimal_place_slips(i)],
                  prompt=f"What does the digit {digit} stand for in {n(x)}?")
    why = f"The {digit} is the {ORDINALS[i]} digit after the decimal point, so it stands for {right}."
    return Question("", [part], solution=Solution([step], [right], why=why))


@family("dec.from-parts", TOPIC, ["N"], levels=(1,))
def from_parts(rng, level, slots):
    ones, tenths, hundredths, thousandths = (rng.randint(1, 9), rng.randint(0, 9),
                                             rng.randint(0, 9), rng.randint(1, 9))
    if rng.random() < 0.5:
        x = ones + Fr(tenths, 10) + Fr(thousandths, 1000)

        def count(k, place):
            return f"{k} {place[:-1] if k == 1 else place}"
        said = (f"{count(ones, 'ones')}, {count(tenths, 'tenths')} and {count(thousandths, 'thousandths')}"
                if tenths else f"{count(ones, 'ones')} and {count(thousandths, 'thousandths')}")
        gap = ("There are no hundredths, so write 0 in the hundredths place." if tenths else
               "There are no tenths and no hundredths, so write 0 in both places.")
        terms = [Fr(ones), Fr(tenths, 10), Fr(thousandths, 1000)]
        step = Step("Write each digit in its place after the point: tenths, then hundredths, then "
                    "thousandths. " + gap, " + ".join(n(t) for t in terms if t) + f" = {n(x)}")
        return Question(p(f"Write {said} as a decimal."), [Part(key=num(x))], solution=Solution([step], [x]))
    terms = [Fr(ones), Fr(tenths, 10), Fr(hundredths, 100), Fr(thousandths, 1000)]
    missing = [name for name, d in (("tenths", tenths), ("hundredths", hundredths)) if not d]
    terms = [t for t in terms if t]
    shown = terms[:]
    rng.shuffle(shown)
    say = "Add the parts place by place, from the ones: each part fills one place."
    if missing:
        say += f" There are no {listing(missing, 'and no')}, so write 0 " + \
            ("in that place." if len(missing) == 1 else "in those places.")
    return Question(p(" + ".join(n(t) for t in shown) + " = ?"),
                    [Part(key=num(sum(terms)), prompt="What is the missing number?")],
                    solution=Solution([Step(say, " + ".join(n(t) for t in terms) + f" = {n(sum(terms))}")],
                                      [sum(terms)]))


PLACE_OF = {10: "tenths", 100: "hundredths", 1000: "thousandths"}


@family("dec.fraction-to-decimal", TOPIC, ["N"], levels=(1, 2))
def fraction_to_decimal(rng, level, slots):
    if level == 1:
        den = rng.choice([10, 100, 1000])
        # A fraction in its simplest form, so the page shows it as drawn.
        a = rng.choice([x for x in range(1, den) if gcd(x, den) == 1])
        w = rng.randint(1, 9)
        x = w + Fr(a, den)
        step = Step(f"{frac(a, den)} is {place_value(a, PLACE_OF[den])}, which is {n(Fr(a, den))}. "
                    "Add the whole number.", f"{mixed(x)} = {w} + {n(Fr(a, den))} = {n(x)}")
        return Question(p(f"Write {mixed(x)} as a decimal."), [Part(key=num(x))],
                        solution=Solution([step], [x]))
    den = rng.choice([4, 5, 8, 20, 25, 40, 50])
    a = rng.choice([x for x in range(1, den) if Fr(x, den).denominator == den])
    target = next(t for t in (10, 100, 1000) if t % den == 0)
    m = target // den
    x = Fr(a, den)
    steps = [Step(f"Find an equal fraction with 10, 100 or 1000 at the bottom: multiply {den} by {m}.",
                  f"{den} {TIMES} {m} = {target}"),
             Step(f"Multiply the top by {m} too. Then the fraction is {PLACE_OF[target]}, which can be "
                  "written as a decimal.", f"{frac(a, den)} = {frac(a * m, target)} = {n(x)}")]
    return Question(p(f"Write {frac(a, den)} as a decimal."), [Part(key=num(x))],
                    solution=Solution(steps, [x]))


@family("dec.decimal-to-fraction", TOPIC, ["F"], levels=(1, 2))
def decimal_to_fraction(rng, level, slots):
    while True:
        x = Fr(rng.randint(1, 99), 100) if level == 1 else Fr(rng.randint(1, 999), 1000)
        if x.denominator not in (10, 100, 1000, 2, 5) or level == 1:
            break
    if x.denominator == 1:
        raise ValueError("a whole number")
    k = places(x)
    den = 10 ** k
    top = int(x * den)
    g = gcd(top, den)
    first = Step(f"{n(x)} has {k} decimal place{'s' if k > 1 else ''}, so it is "
                 f"{place_value(top, PLACE_OF[den])}.", f"{n(x)} = {frac(top, den)}")
    if g == 1:
        first.say += f" Only 1 divides both {top} and {den}, so the fraction is in its simplest form."
        steps = [first]
    else:
        steps = [first, Step(f"Divide the top and the bottom by {g}, the greatest number that divides both.",
                             f"{frac(top, den)} = {frac(f'{top} {DIV} {g}', f'{den} {DIV} {g}')} = {frac(x)}")]
    return Question(p(f"Write {n(x)} as a fraction."), [Part(key=fraction_key(x))],
                    solution=Solution(steps, [x]))


def _after_point(x):
    return num(x).partition(".")[2]


def _longer_slip(v, key, greatest):
    """Why a pupil picks v as the greatest (or smallest) instead of key."""
    dv, dk = _after_point(v), _after_point(key)
    if greatest:
        if int(dv) > int(dk):
            return (f"reads the digits after the point as whole numbers: {int(dv)} is more than "
                    f"{int(dk)}")
        return "thinks the number with more digits after the point is the greater"
    if int(dv) < int(dk):
        return f"reads the digits after the point as whole numbers: {int(dv)} is less than {int(dk)}"
    w = int(v)
    return (f"leaves out the zeros, reading {n(v)} as {n(w + Fr(dv.replace('0', '')) / 100)} and "
            f"{n(key)} as {n(w + Fr(dk.replace('0', '')) / 100)}")


def _closest(rng):
    """A number with two decimal places, the option closest to it, and three
    wrong options each a real slip away."""
    w, a, b = rng.randint(0, 5), rng.randint(1, 8), rng.randint(1, 9)
    t = w + Fr(a, 10) + Fr(b, 100)
    e = rng.randint(4, 8)
    key = t + rng.choice([1, -1]) * Fr(e, 1000)
    zero = w + Fr(a, 10) + Fr(b, 1000)
    r1 = round_places(t, 1)
    near = t + Fr(1, 100) if r1 <= t else t - Fr(1, 100)
    wrong = [(zero, f"leaves out the 0 in {n(zero)} and reads it as {n(t)}"),
             (r1, f"rounds {n(t)} to {n(r1)} first and looks for that number"),
             (near, f"looks at the hundredths only: {n(near)} is next to {n(t)}, but {n(key)} is nearer")]
    values = [key] + [v for v, _ in wrong]
    if len(set(values)) < 4 or any(abs(v - t) <= abs(key - t) for v in values[1:]):
        raise ValueError("no single closest value")
    return t, key, wrong


@family("dec.compare", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def compare(rng, level, slots):
    if slots[0].kind == "Q" and level == 3:
        t, key, wrong = _closest(rng)
        values = sorted([key] + [v for v, _ in wrong])
        part = choice(rng, n(key), [(n(v), s) for v, s in wrong],
                      prompt=f"Which of these numbers is closest to {n(t)}?")
        steps = [Step(f"Write {n(t)} and every option with 3 decimal places, so they are easy to compare.",
                      f"{n(t)} = {pad(t, 3)}; " + ", ".join(pad(v, 3) for v in values)),
                 Step(f"Find how far each option is from {pad(t, 3)}: take the smaller number from the "
                      "larger.", lines(*(f"{pad(max(v, t), 3)} {MINUS} {pad(min(v, t), 3)} = {n(abs(v - t))}"
                                         for v in values)) +
                      f"<br/>The smallest difference is {n(abs(key - t))}.")]
        why = f"{n(key)} is only {n(abs(key - t))} from {n(t)}; every other option is further away."
        return Question("", [part], solution=Solution(steps, [n(key)], why=why))
    a, b, c = rng.sample(range(1, 10), 3)
    w = rng.randint(0, 5)
    want = rng.choice(["greatest", "smallest"]) if slots[0].kind == "Q" else None
    if want == "smallest" and a > b:
        # Read as whole numbers or without their zeros, the options then
        # look smaller than the key: the slips this question tests.
        a, b = b, a
    # Same digits in different places: the classic trap.
    values = sorted({w + Fr(a * 100 + b, 1000), w + Fr(a * 10 + b, 100), w + Fr(b * 10 + a, 1000),
                     w + Fr(a, 10) + Fr(c, 1000)})
    if len(values) < 4:
        raise ValueError("equal values")
    shown = values[:]
    rng.shuffle(shown)
    padded = "Write every number with 3 decimal places, so they are easy to compare."
    if slots[0].kind == "Q":
        key = values[-1] if want == "greatest" else values[0]
        part = choice(rng, n(key), [(n(v), _longer_slip(v, key, want == "greatest")) for v in values if v != key],
                      prompt=f"Which of these numbers is the {want}?")
        step = Step(padded + " Then compare them from the left, digit by digit.",
                    f" {LT} ".join(pad(v, 3) for v in values))
        why = f"Written with 3 decimal places and compared digit by digit, {n(key)} is the {want} of the four."
        return Question("", [part], solution=Solution([step], [n(key)], why=why))
    order = rng.choice(["smallest", "greatest"])
    ranked = values if order == "smallest" else values[::-1]
    pos = rng.randint(2, 3)
    ordinal = {2: "second", 3: "third"}[pos]
    sign = f" {LT} " if order == "smallest" else " &gt; "
    steps = [Step(padded, ", ".join(pad(v, 3) for v in shown)),
             Step(f"Compare them from the left, digit by digit, and put them in order, beginning with the "
                  f"{order}.", sign.join(pad(v, 3) for v in ranked) +
                  f"<br/>The {ordinal} number is {n(ranked[pos - 1])}.")]
    # Spaced apart, with no full stop after the last, which would read as a decimal point.
    return Question(p(f"Arrange these numbers in order, beginning with the {order}.")
                    + p(" &#160; &#160; ".join(n(v) for v in shown)),
                    [Part(key=num(ranked[pos - 1]), prompt=f"Which number comes {ordinal}?")],
                    solution=Solution(steps, [ranked[pos - 1]]))


@family("dec.pattern", TOPIC, ["N"], levels=(1, 2))
def pattern(rng, level, slots):
    step = rng.choice([Fr(5, 100), Fr(2, 10), Fr(25, 100), Fr(3, 10), Fr(15, 100)]) if level == 1 \
        else rng.choice([Fr(35, 100), Fr(125, 1000), Fr(45, 100), Fr(6, 100)])
    start = dec(rng, (1, 8), 2)
    seq = [start + step * i for i in range(5)]
    if level == 2 and rng.random() < 0.4:
        k = rng.choice([8, 10, 12, 15])
        key = start + step * (k - 1)
        steps = [Step(f"The numbers go up by {n(step)} each time.", f"{n(seq[1])} {MINUS} {n(seq[0])} = {n(step)}"),
                 Step(f"From the 1st number to the {k}th there are {k - 1} steps of {n(step)}.",
                      f"{k - 1} {TIMES} {n(step)} = {n((k - 1) * step)}"),
                 Step("Add them to the first number.", f"{n(start)} + {n((k - 1) * step)} = {n(key)}")]
        return Question(p(f"The first four numbers of a pattern are {', '.join(n(v) for v in seq[:4])}.",
                          f"What is the {k}th number of the pattern?"), [Part(key=num(key))],
                        solution=Solution(steps, [key]))
    blank = rng.randint(2, 4)
    shown = ", ".join("?" if i == blank else n(v) for i, v in enumerate(seq))
    say = (f"Each number is {n(step)} more than the one before it ({n(seq[1])} {MINUS} {n(seq[0])} = "
           f"{n(step)}). Add {n(step)} to the number before the gap.")
    return Question(p(f"What is the missing number in this pattern? &#160; {shown}"),
                    [Part(key=num(seq[blank]))],
                    solution=Solution([Step(say, f"{n(seq[blank - 1])} + {n(step)} = {n(seq[blank])}")],
                                      [seq[blank]]))


NEXT_DIGIT = {0: "tenths", 1: "hundredths", 2: "thousandths", 3: "ten-thousandths"}


def _round_step(x, to, target):
    """Rounding x to `to` decimal places: the next digit decides."""
    d = int(x * 10 ** (to + 1)) % 10
    way = "less than 5, so round down" if d < 5 else "5 or more, so round up"
    return f"To round to {target}, look at the {NEXT_DIGIT[to]} digit of {n(x)}: it is {d}, {way}."


@family("dec.round", TOPIC, ["N", "T"], levels=(1, 2, 3))
def rounding(rng, level, slots):
    if slots[0].kind == "T":
        # Results that end in zero are the point of asking for the places.
        places_ = 2 if level < 3 else rng.choice([1, 2])
        unit_ = Fr(1, 10 ** places_)
        # Half the time the rounded value ends in zero: the point of asking.
        steps_ = rng.randint(100, 3000) * (10 if rng.random() < 0.5 else 1) + rng.randint(0, 9)
        x = steps_ * unit_ + rng.choice([-4, -3, -2, -1, 1, 2, 3, 4]) * unit_ / 10
        key = fixed(x, places_)
        said = f"{places_} decimal place{'s' if places_ > 1 else ''}"
        say = _round_step(x, places_, said)
        if key.endswith("0"):
            say += f" Keep the 0 at the end: it shows the answer has {said}."
        solution = Solution([Step(say, f"{n(x)} \u2248 {key}")], [key])
        if level < 3:
            return Question(p(f"Round {n(x)} to {places_} decimal places."),
                            [Part(key=key, form=f"Give your answer to {places_} decimal places, "
                                  "writing any zeros at the end.")], solution=solution)
        if rng.random() < 0.5:
            return _rounded_sum(rng, places_, said)
        person = names(rng, 1)[0]
        thing = rng.choice([("the mass of a parcel", "kg"), ("the length of a plank", "m"),
                            ("the volume of a bottle of water", LITRE)])
        return Question(p(f"{person} measured {thing[0]} as {unit(n(x), thing[1])}.",
                          f"What is this measurement correct to {said}?"),
                        [Part(key=key, unit=thing[1],
                              form=f"Give your answer to {said}, writing any zeros at the end.")],
                        solution=solution)
    x = dec(rng, (1, 99), 3)
    target = rng.choice([("the nearest whole number", 0), ("1 decimal place", 1), ("2 decimal places", 2)])
    key = round_places(x, target[1])
    return Question(p(f"Round {n(x)} to {target[0]}."), [Part(key=num(key))],
                    solution=Solution([Step(_round_step(x, target[1], target[0]), f"{n(x)} \u2248 {n(key)}")],
                                      [key]))


SUMS = [("A parcel has a mass of {a} and its box has a mass of {b}.", "What is their total mass", "kg"),
        ("Two pieces of rope are {a} and {b} long.", "What is their total length", "m"),
        ("A bottle holds {a} of water and a jug holds {b}.", "How much water do they hold altogether", LITRE)]


def _rounded_sum(rng, places_, said):
    """Level 3: a total worked out first, then rounded."""
    a, b = dec(rng, (1, 9), 3), dec(rng, (0, 4), 2)
    told, ask, u = rng.choice(SUMS)
    x = a + b
    key = fixed(x, places_)
    say = _round_step(x, places_, said)
    if key.endswith("0"):
        say += f" Keep the 0 at the end: it shows the answer has {said}."
    steps = [Step("Add the two amounts, lining up the decimal points.", f"{pad(a, 3)} + {pad(b, 3)} = {n(x)}"),
             Step(say, f"{n(x)} \u2248 {key}")]
    return Question(p(told.format(a=unit(n(a), u), b=unit(n(b), u)), f"{ask}, correct to {said}?"),
                    [Part(key=key, unit=u, form=f"Give your answer to {said}, writing any zeros at the end.")],
                    solution=Solution(steps, [key]))


@family("dec.share-rounded", TOPIC, ["T"], levels=(2, 3))
def share_rounded(rng, level, slots):
    k = rng.choice([3, 6, 7, 9])
    total = dec(rng, (5, 40), 2)
    if (total * 1000 / k).denominator == 1:
        raise ValueError("divides exactly")
    thing = rng.choice([("parcels", "mass", "kg", "identical parcels have a total mass of"),
                        ("bottles", "volume", LITRE, "identical bottles hold"),
                        ("planks", "length", "m", "planks of the same length have a total length of")])
    key = fixed(total / k, 2)
    cut = Fr(int(total * 1000 / k), 1000)
    steps = [Step(f"Divide the total by {k}, working to 3 decimal places: one more than the answer needs.",
                  f"{n(total)} {DIV} {k} = {pad(cut, 3)}\u2026"),
             Step(_round_step(cut, 2, "2 decimal places"), f"{pad(cut, 3)}\u2026 \u2248 {key}")]
    return Question(p(f"{k} {thing[3]} {unit(n(total), thing[2])}.",
                      f"What is the {thing[1]} of one of the {thing[0]}?"),
                    [Part(key=key, unit=thing[2],
                          form="Give your answer correct to 2 decimal places, writing any zeros at the end.")],
                    solution=Solution(steps, [key]))


@family("dec.add-subtract", TOPIC, ["N"], levels=(1, 2))
def add_subtract(rng, level, slots):
    if level == 1:
        a, b = dec(rng, (1, 20), 1), dec(rng, (0, 9), 2)
        if rng.random() < 0.5:
            step = Step("Line up the decimal points and add. Write 0 in the empty hundredths place of "
                        f"{n(a)}.", f"{pad(a, 2)} + {pad(b, 2)} = {n(a + b)}")
            return Question(p(f"{n(a)} + {n(b)} = ?"), [Part(key=num(a + b))], solution=Solution([step], [a + b]))
        whole = rng.choice([10, 20, 50, 100])
        step = Step(f"Write {whole} as {whole}.00, so both numbers have 2 decimal places. Line up the "
                    "decimal points and subtract.", f"{whole}.00 {MINUS} {pad(b + 1, 2)} = {n(whole - b - 1)}")
        return Question(p(f"{whole} {MINUS} {n(b + 1)} = ?"), [Part(key=num(whole - b - 1))],
                        solution=Solution([step], [whole - b - 1]))
    a, b, c = dec(rng, (10, 40), 1), dec(rng, (1, 9), 2), dec(rng, (0, 5), 3)
    if a - b + c < 0:
        raise ValueError("negative")
    steps = [Step("Work from left to right: subtract first. Line up the decimal points.",
                  f"{pad(a, 2)} {MINUS} {pad(b, 2)} = {n(a - b)}"),
             Step(f"Then add {n(c)}, writing 0 in any empty place.",
                  f"{pad(a - b, 3)} + {pad(c, 3)} = {n(a - b + c)}")]
    return Question(p(f"{n(a)} {MINUS} {n(b)} + {n(c)} = ?"), [Part(key=num(a - b + c))],
                    solution=Solution(steps, [a - b + c]))


def _shift_step(x, power, times):
    z = len(str(power)) - 1
    moved = f"{z} place{'s' if z > 1 else ''}"
    if times:
        return Step(f"Multiplying by {n(power)} moves every digit {moved} to the left.",
                    f"{n(x)} {TIMES} {n(power)} = {n(x * power)}")
    return Step(f"Dividing by {n(power)} moves every digit {moved} to the right.",
                f"{n(x)} {DIV} {n(power)} = {n(x / power)}")


@family("dec.multiply-divide", TOPIC, ["N"], levels=(1, 2))
def multiply_divide(rng, level, slots):
    if level == 1:
        x = dec(rng, (0, 99), 2)
        power = rng.choice([10, 100, 1000])
        if rng.random() < 0.5:
            return Question(p(f"{n(x)} {TIMES} {n(power)} = ?"), [Part(key=num(x * power))],
                            solution=Solution([_shift_step(x, power, True)], [x * power]))
        return Question(p(f"{n(x)} {DIV} {n(power)} = ?"), [Part(key=num(x / power))],
                        solution=Solution([_shift_step(x, power, False)], [x / power]))
    k = rng.randint(3, 9)
    x = dec(rng, (1, 30), 2)
    if rng.random() < 0.5:
        step = Step("Multiply as if there were no decimal point, then put the point back with as many "
                    "decimal places as the number had.", _times_whole(x, k))
        return Question(p(f"{n(x)} {TIMES} {k} = ?"), [Part(key=num(x * k))], solution=Solution([step], [x * k]))
    scaled = int(x * k * 100)
    step = Step(f"Write {n(x * k)} with 2 decimal places and divide as if there were no point, digit by "
                "digit. Then put the point back, 2 places from the right.",
                lines(*long_division(scaled, k)) +
                f"<br/>{scaled} {DIV} {k} = {int(x * 100)}, so {pad(x * k, 2)} {DIV} {k} = {n(x)}")
    return Question(p(f"{n(x * k)} {DIV} {k} = ?"), [Part(key=num(x))], solution=Solution([step], [x]))


@family("dec.number-line", TOPIC, ["N"], levels=(1, 2))
def number_line_question(rng, level, slots):
    if level == 1:
        lo = Fr(rng.randint(0, 8))
        hi, minor = lo + 1, Fr(1, 10)
    else:
        lo = Fr(rng.randint(10, 80), 10)
        hi, minor = lo + Fr(1, 10), Fr(1, 100)
    k = rng.choice([i for i in range(1, 10) if i != 5])
    arrow = lo + minor * k
    labels = {lo, hi, (lo + hi) / 2} if level == 2 else {lo, hi}
    svg = number_line(lo, hi, minor, arrow, labels)
    fig = Figure(svg.render(), line_alt(lo, hi, minor, arrow, labels))
    return Question(p("What number is the arrow pointing to on the number line below?"),
                    [Part(key=num(arrow))], [fig],
                    solution=Solution(line_steps(lo, hi, minor, arrow, labels), [arrow]))


@family("dec.measures", TOPIC, ["N"], levels=(1, 2))
def measures(rng, level, slots):
    big, small, k = rng.choice(CONVERSIONS)
    z = len(str(k)) - 1
    rule = f"{unit(1, big)} = {unit(k, small)}"
    if level == 1:
        if rng.random() < 0.5:
            x = dec(rng, (0, 9), 2 if k == 100 else 3)
            step = Step(f"{rule}, so multiply by {k}: every digit moves {z} places to the left.",
                        f"{n(x)} {TIMES} {k} = {n(x * k)}")
            return Question(p(f"{unit(n(x), big)} = {unit('?', small)}"),
                            [Part(key=num(x * k), unit=small, prompt="What is the missing number?")],
                            solution=Solution([step], [x * k]))
        y = rng.randint(105, 9900 if k == 1000 else 990)
        step = Step(f"{rule}, so divide by {k}: every digit moves {z} places to the right.",
                    f"{n(y)} {DIV} {k} = {n(Fr(y, k))}")
        return Question(p(f"{unit(n(y), small)} = {unit('?', big)}"),
                        [Part(key=num(Fr(y, k)), unit=big, prompt="What is the missing number?")],
                        solution=Solution([step], [Fr(y, k)]))
    whole, part = rng.randint(1, 9), rng.randint(5, k - 1)
    if part % 10 == 0:
        part += 5
    value = whole + Fr(part, k)
    steps = [Step(f"{rule}, so {unit(part, small)} is {unit(frac(part, k), big)}. Write it as a decimal.",
                  f"{part} {DIV} {k} = {n(Fr(part, k))}"),
             Step(f"Add the {whole} whole {BIG_NAMES[big]}.", f"{whole} + {n(Fr(part, k))} = {n(value)}")]
    return Question(p(f"Write {unit(whole, big)} {unit(part, small)} in {big}."),
                    [Part(key=num(value), unit=big)], solution=Solution(steps, [value]))


def beaker(level_ml, full_ml=1000, step_ml=100, marked=False):
    """A measuring beaker in m\u2113 with water up to level_ml; marked writes the
    level's value beside the water line, as the working reads it."""
    shift = 80 if marked else 0
    svg = Svg(230 + shift, 262, font=14)
    x0, x1, top, bottom = 60 + shift, 150 + shift, 34, 250
    h = bottom - top - 10

    def y(v):
        return bottom - h * v / full_ml
    svg.rect(x0, y(level_ml), x1 - x0, bottom - y(level_ml), stroke="none", fill="#c8c8c8")
    svg.polyline([(x0, top), (x0, bottom), (x1, bottom), (x1, top)], width=2.5)
    for v in range(0, full_ml + 1, step_ml):
        big = v % (2 * step_ml) == 0
        svg.line(x1 - (18 if big else 10), y(v), x1, y(v), width=1.5)
        if big:
            svg.text(x1 + 8, y(v) + 5, f"{v}", anchor="start")
    svg.text(x1 + 8, 16, ML, anchor="start", bold=True)
    svg.line(x0, y(level_ml), x1, y(level_ml), width=2)
    if marked:
        svg.line(x0 - 24, y(level_ml), x0 - 4, y(level_ml), width=1.5)
        svg.text(x0 - 28, y(level_ml) + 5, f"{level_ml} {ML}", anchor="end", bold=True)
    return svg


def _beaker_alt(level_ml, full, step):
    return (f"A measuring beaker with a scale in millilitres from 0 to {full}, labelled every {2 * step} "
            f"{ML}, with an unlabelled mark halfway between each pair of labels. The water comes up to the "
            f"unlabelled mark between {level_ml - step} and {level_ml + step}.")


@family("dec.beaker", TOPIC, ["N"], levels=(1, 2))
def beaker_reading(rng, level, slots):
    full, step = rng.choice([(500, 50), (1000, 100), (1000, 50)] if level == 1 else [(2000, 100), (1000, 50)])
    level_ml = rng.randrange(step, full, 2 * step)     # between two labelled marks
    fig = Figure(beaker(level_ml, full, step).render(), _beaker_alt(level_ml, full, step))
    read = [Step(f"The labels go up by {unit(2 * step, ML)} and there is one mark halfway between two "
                 f"labels, so each mark is half of {unit(2 * step, ML)}.", f"{2 * step} {DIV} 2 = {unit(step, ML)}"),
            Step(f"The water comes up to the mark after {unit(level_ml - step, ML)}.",
                 f"{level_ml - step} + {step} = {unit(level_ml, ML)}",
                 figure=Figure(beaker(level_ml, full, step, marked=True).render(),
                               f"The beaker again with the water level marked {level_ml} {ML}."))]
    ask = rng.choice(["litres", "fill"])
    if level == 1 and ask == "litres":
        litres = Fr(level_ml, 1000)
        steps = read + [Step(f"Change millilitres to litres: {unit(1000, ML)} = {unit(1, LITRE)}, so divide "
                             "by 1000.", f"{level_ml} {DIV} 1000 = {unit(n(litres), LITRE)}")]
        return Question(p("How much water is in the beaker? Give your answer in litres."),
                        [Part(key=num(litres), unit=LITRE)], [fig], solution=Solution(steps, [litres]))
    if level == 1:
        steps = read + [Step(f"Find how much more makes {unit(full, ML)}.",
                             f"{full} {MINUS} {level_ml} = {unit(full - level_ml, ML)}")]
        return Question(p(f"How much more water is needed to fill the beaker to the {unit(full, ML)} mark?"),
                        [Part(key=num(full - level_ml), unit=ML)], [fig],
                        solution=Solution(steps, [full - level_ml]))
    poured = rng.choice([150, 250, 350, 450, 120, 80])
    if poured >= level_ml:
        raise ValueError("pours more than there is")
    left = Fr(level_ml - poured, 1000)
    steps = read + [Step(f"Take away the {unit(poured, ML)} poured out.",
                         f"{level_ml} {MINUS} {poured} = {unit(level_ml - poured, ML)}"),
                    Step(f"Change millilitres to litres: {unit(1000, ML)} = {unit(1, LITRE)}, so divide by 1000.",
                         f"{level_ml - poured} {DIV} 1000 = {unit(n(left), LITRE)}")]
    return Question(p(f"The beaker shows the water in it. {names(rng, 1)[0]} pours out {unit(poured, ML)} of "
                      "the water.", "How many litres of water are left in the beaker?"),
                    [Part(key=num(left), unit=LITRE)], [fig], solution=Solution(steps, [left]))


def _cost_step(count, item, price):
    return Step(f"Find the cost of the {item}.", f"{count} {TIMES} {money(price)} = {money(count * price)}")


@family("dec.change", TOPIC, ["N"], levels=(2, 3))
def change_question(rng, level, slots):
    person = names(rng, 1)[0]
    items = rng.sample(SHOP_ITEMS, 3)
    prices = [Fr(rng.randint(r[0] * 20, r[1] * 20), 20) for _, _, r in items]
    # One kind of thing, two, or three; a single one of the second is "a cap for $9".
    kinds = rng.choice([1, 2, 2, 3]) if level == 2 else rng.choice([2, 2, 3])
    counts = [rng.randint(2, 5), rng.choice([1, 1, rng.randint(2, 4)]), rng.randint(2, 4)][:kinds]
    bought = []
    steps = []
    for (sing, plur, _), c, v in zip(items, counts, prices):
        if c == 1:
            bought.append(f"a {sing} for {money(v)}")
        else:
            bought.append(f"{c} {plur} at {money(v)} each")
            steps.append(Step(f"Find the cost of the {plur}.", f"{c} {TIMES} {money(v)} = {money(c * v)}"))
    costs = [c * v for c, v in zip(counts, prices)]
    total = sum(costs)
    if kinds > 1:
        steps.append(Step("Add the costs to find what was spent." if level == 3 else "Add the costs.",
                          " + ".join(money(c) for c in costs) + f" = {money(total)}"))
    if level == 2:
        text = p(f"{person} bought {listing(bought)}.",
                 f"How much did {pronoun(person)} pay{' altogether' if kinds > 1 else ''}?")
        return Question(text, [Part(key=num(total), unit_before="$")], solution=Solution(steps, [total]))
    paid = (int(total) // 10 + 1) * 10
    text = p(f"{person} bought {listing(bought)}.",
             f"{pronoun(person).capitalize()} paid with a {money(paid)} note. How much change did {pronoun(person)} receive?")
    steps.append(Step("The change is the note take away what was spent.",
                      f"{money(paid)} {MINUS} {money(total)} = {money(paid - total)}"))
    return Question(text, [Part(key=num(change(paid, costs)), unit_before="$")],
                    solution=Solution(steps, [paid - total]))


@family("dec.unit-price", TOPIC, ["N"], levels=(2, 3))
def unit_price_question(rng, level, slots):
    sing, plur, rng_price = rng.choice(SHOP_ITEMS)
    each = Fr(rng.randint(rng_price[0] * 20, rng_price[1] * 20), 20)
    k = rng.randint(3, 8)
    one = Step(f"Find the cost of one {sing}: divide by {k}.", f"{money(each * k)} {DIV} {k} = {money(each)}")
    if level == 2:
        return Question(p(f"{k} {plur} cost {money(each * k)}.", f"How much does one {sing} cost?"),
                        [Part(key=num(unit_price(each * k, k)), unit_before="$")], solution=Solution([one], [each]))
    m = rng.choice([x for x in range(2, 13) if x != k])
    steps = [one, Step(f"Multiply by {m} for {m} {plur}.", f"{m} {TIMES} {money(each)} = {money(each * m)}")]
    if rng.random() < 0.4:
        note = next((x for x in (5, 10, 20, 50, 100) if x > each * m), None)
        if note is None:
            raise ValueError("no note pays for it")
        buyer = names(rng, 1)[0]
        steps.append(Step("The change is the note take away the cost.",
                          f"{money(note)} {MINUS} {money(each * m)} = {money(note - each * m)}"))
        return Question(p(f"{k} {plur} cost {money(each * k)}.",
                          f"{buyer} buys {m} {plur} and pays with a {money(note)} note. How much change does "
                          f"{pronoun(buyer)} receive?"),
                        [Part(key=num(note - each * m), unit_before="$")], solution=Solution(steps, [note - each * m]))
    return Question(p(f"{k} {plur} cost {money(each * k)}.", f"How much do {m} {plur} cost?"),
                    [Part(key=num(unit_price(each * k, k) * m), unit_before="$")],
                    solution=Solution(steps, [each * m]))


def _per_kg_line(mass, price):
    """The price of 1 kg from a pack of mass kg at price, worked as a pupil
    would: halves doubled first, then divided."""
    pack = f"{unit(n(mass), 'kg')} for {money(price)}"
    per = price / mass
    if mass == 1:
        return f"{pack}, so 1\u00a0kg costs {money(price)}"
    if mass < 1:
        times = int(1 / mass)
        return f"{pack}, so 1\u00a0kg costs {times} {TIMES} {money(price)} = {money(per)}"
    if mass.denominator == 2:
        return (f"{pack}, so {unit(n(2 * mass), 'kg')} cost {money(2 * price)} and 1\u00a0kg costs "
                f"{money(2 * price)} {DIV} {n(2 * mass)} = {money(per)}")
    return f"{pack}, so 1\u00a0kg costs {money(price)} {DIV} {n(mass)} = {money(per)}"


@family("dec.best-buy", TOPIC, ["Q"], levels=(1, 2, 3))
def best_buy_question(rng, level, slots):
    thing = rng.choice(["rice", "flour", "sugar", "washing powder"])
    per_kg = Fr(rng.randint(12, 30), 10)
    # The best buy is neither the cheapest pack nor the biggest, and the
    # dearest for each kilogram is another: a pupil has to work it out.
    masses = sorted(rng.sample([Fr(1, 2), Fr(1), Fr(2), Fr(5, 2), Fr(3), Fr(5)], 4))
    key_i = rng.choice([1, 2])
    dearest = 3 - key_i
    low, high = rng.sample([Fr(1, 10), Fr(2, 10), Fr(3, 10)], 2)
    extras = {key_i: Fr(0), dearest: Fr(4, 10), 0: low, 3: high}
    offers = [(m, (per_kg + extras[i]) * m) for i, m in enumerate(masses)]
    cheapest = min(range(4), key=lambda i: offers[i][1])
    biggest = 3
    if cheapest != 0 or best_buy(offers) != key_i:
        raise ValueError("the best buy can be picked without working")
    slips = {cheapest: "picks the lowest price without thinking of how much is in the pack",
             biggest: "thinks the biggest pack is always the best buy",
             dearest: "divides the mass by the price instead of the price by the mass, then picks the "
                      "smallest result"}
    text = [f"{unit(n(m), 'kg')} for {money(pr)}" for m, pr in offers]
    prompt = f"A shop sells {thing} in these packs. Which pack is the best buy (the lowest price for each kilogram)?"
    if level == 1:
        prompt = f"A shop sells {thing} in these packs. Which pack costs the least for each kilogram?"
    part = choice(rng, text[key_i], [(t, slips[i]) for i, t in enumerate(text) if i != key_i], prompt=prompt)
    order = sorted(range(4), key=lambda i: offers[i][0])
    steps = [Step("Find the price of 1\u00a0kg in each pack.",
                  lines(*(_per_kg_line(*offers[i]) for i in order))),
             Step(f"Compare the prices of 1\u00a0kg: the lowest is {money(offers[key_i][1] / offers[key_i][0])}.")]
    why = (f"1\u00a0kg costs {money(offers[key_i][1] / offers[key_i][0])} in the pack of "
           f"{unit(n(offers[key_i][0]), 'kg')}, less than in any other pack.")
    return Question("", [part], solution=Solution(steps, [text[key_i]], why=why))


@family("dec.measure-story", TOPIC, ["N"], levels=(2, 3))
def measure_story(rng, level, slots):
    person = names(rng, 1)[0]
    if rng.random() < 0.5:
        k = rng.choice([4, 5, 6, 8])
        piece_cm = rng.choice([15, 25, 35, 45, 55, 65])
        length = Fr(piece_cm * k, 100)
        to_cm = Step(f"Change the length to centimetres: {unit(1, 'm')} = {unit(100, 'cm')}.",
                     f"{n(length)} {TIMES} 100 = {unit(n(length * 100), 'cm')}")
        if level == 2:
            steps = [to_cm, Step(f"Divide it into {k} equal pieces.",
                                 f"{n(length * 100)} {DIV} {k} = {unit(piece_cm, 'cm')}")]
            return Question(p(f"{person} cut a ribbon {unit(n(length), 'm')} long into {k} equal pieces.",
                              "How long was each piece? Give your answer in centimetres."),
                            [Part(key=num(piece_cm), unit="cm")], solution=Solution(steps, [piece_cm]))
        left_cm = rng.choice([20, 30, 40])
        total = length + Fr(left_cm, 100)
        left = total - Fr(piece_cm * k, 100)
        steps = [Step(f"Find the length of the {k} pieces.", f"{k} {TIMES} {piece_cm} = {unit(piece_cm * k, 'cm')}"),
                 Step(f"Change it to metres: {unit(100, 'cm')} = {unit(1, 'm')}.",
                      f"{piece_cm * k} {DIV} 100 = {unit(n(length), 'm')}"),
                 Step("Take it away from the length of the ribbon.",
                      f"{n(total)} {MINUS} {n(length)} = {unit(n(left), 'm')}")]
        return Question(p(f"{person} had a ribbon {unit(n(total), 'm')} long. {pronoun(person).capitalize()} "
                          f"cut {k} pieces of {unit(piece_cm, 'cm')} each from it.",
                          "What length of ribbon was left? Give your answer in metres."),
                        [Part(key=num(left), unit="m")], solution=Solution(steps, [left]))
    jug = rng.choice([Fr(3, 2), Fr(7, 4), Fr(2), Fr(9, 4), Fr(5, 2), Fr(3)])
    cup = rng.choice([125, 150, 175, 200, 225, 250, 275, 300])
    cups = rng.randint(2, 6)
    drink = rng.choice(["orange juice", "apple juice", "milk", "lemonade", "soya milk"])
    if cup * cups >= jug * 1000:
        raise ValueError("pours more than there is")
    jug_ml = int(jug * 1000)
    steps = [Step(f"Change the {drink} in the jug to millilitres: {unit(1, LITRE)} = {unit(1000, ML)}.",
                  f"{n(jug)} {TIMES} 1000 = {unit(jug_ml, ML)}"),
             Step(f"Find how much the {cups} cups hold.", f"{cups} {TIMES} {cup} = {unit(cups * cup, ML)}"),
             Step("Take it away from what was in the jug.",
                  f"{jug_ml} {MINUS} {cups * cup} = {unit(jug_ml - cups * cup, ML)}")]
    return Question(p(f"A jug holds {unit(n(jug), LITRE)} of {drink}. {person} pours {cups} cups of "
                      f"{unit(cup, ML)} each from the jug.",
                      f"How much {drink} is left in the jug? Give your answer in millilitres."),
                    [Part(key=num(jug * 1000 - cup * cups), unit=ML)],
                    solution=Solution(steps, [jug_ml - cups * cup]))


@family("dec.bill-share", TOPIC, ["N"], levels=(3,))
def bill_share(rng, level, slots):
    k = rng.randint(3, 6)
    # A child's lunch costs what a child's lunch costs; the adult pays the larger part.
    each = Fr(rng.randint(120, 360), 20)
    people = names(rng, k)
    grown = adult(rng)
    extra = Fr(rng.randint(150, 450), 10)
    if rng.random() < 0.4:
        other = adult(rng)
        if other == grown:
            raise ValueError("the same adult twice")
        bill = each * k + 2 * extra
        text = p(f"{', '.join(people[:-1])} and {people[-1]} had lunch with {grown} and {other}. "
                 f"The bill was {money(bill)}.",
                 f"The two adults paid {money(extra)} each and the {k} children shared the rest equally.",
                 "How much did each child pay?")
        steps = [Step("Find how much the two adults paid together.", f"2 {TIMES} {money(extra)} = {money(2 * extra)}"),
                 Step("Take it away to find what the children shared.",
                      f"{money(bill)} {MINUS} {money(2 * extra)} = {money(each * k)}"),
                 Step(f"Share it equally among the {k} children.", f"{money(each * k)} {DIV} {k} = {money(each)}")]
        return Question(text, [Part(key=num(each), unit_before="$")], solution=Solution(steps, [each]))
    bill = each * k + extra
    text = p(f"{', '.join(people[:-1])} and {people[-1]} had lunch with {grown}. "
             f"The bill was {money(bill)}.",
             f"{grown} paid {money(extra)} of it and the {k} children shared the rest equally.",
             "How much did each child pay?")
    steps = [Step(f"Take away what {grown} paid to find what the children shared.",
                  f"{money(bill)} {MINUS} {money(extra)} = {money(each * k)}"),
             Step(f"Share it equally among the {k} children.", f"{money(each * k)} {DIV} {k} = {money(each)}")]
    return Question(text, [Part(key=num(each), unit_before="$")], solution=Solution(steps, [each]))


STORIES = ["flour", "savings", "fabric", "race"]


def _decimal_product(a, b):
    """a × b for two decimals as pupils work it: as whole numbers, then the
    point put back after counting the decimal places of both."""
    pa, pb = places(a), places(b)
    wa, wb = int(a * 10 ** pa), int(b * 10 ** pb)
    return [Step(f"Multiply {n(a)} by {n(b)} as if there were no decimal points.",
                 f"{wa} {TIMES} {wb} = {n(wa * wb)}"),
            Step(f"{n(a)} and {n(b)} have {pa + pb} decimal places between them, so the answer has "
                 f"{pa + pb} decimal places.", f"{n(a)} {TIMES} {n(b)} = {pad(a * b, pa + pb)}")]


@family("dec.two-step-story", TOPIC, [("N", "N")], levels=(2, 3))
def two_step_story(rng, level, slots):
    person = names(rng, 1)[0]
    he = pronoun(person)
    story = rng.choice(STORIES)
    if story == "flour":
        flour, sugar = dec(rng, (1, 4), 2), dec(rng, (0, 2), 2)
        used = Fr(rng.randint(2, 9), 10)
        cakes = rng.choice([None, Fr(rng.randint(1, 4), 10) + Fr(rng.choice([0, 5]), 100)])
        if used + (cakes or 0) >= flour:
            raise ValueError("uses more than there is")
        text = p(f"{person} bought {unit(n(flour), 'kg')} of flour and {unit(n(sugar), 'kg')} of sugar.")
        steps = [Step("Add the two masses, lining up the decimal points.",
                      f"{pad(flour, 2)} + {pad(sugar, 2)} = {unit(n(flour + sugar), 'kg')}")]
        if rng.random() < 0.5:
            first = Part(key=num(flour + sugar), unit="kg", prompt="What was the total mass of the flour and the sugar?")
            answers = [flour + sugar]
        else:
            grams = (flour + sugar) * 1000
            first = Part(key=num(grams), unit="g",
                         prompt="What was the total mass of the flour and the sugar? Give your answer in grams.")
            steps.append(Step(f"Change it to grams: {unit(1, 'kg')} = {unit(1000, 'g')}.",
                              f"{n(flour + sugar)} {TIMES} 1000 = {unit(n(grams), 'g')}"))
            answers = [grams]
        if cakes is None:
            second = Part(key=num(flour - used), unit="kg",
                          prompt=f"{he.capitalize()} used {unit(n(used), 'kg')} of the flour to bake bread. "
                                 "How much flour was left?")
            steps.append(Step("Take the flour used away from the flour bought.",
                              f"{pad(flour, 2)} {MINUS} {pad(used, 2)} = {unit(n(flour - used), 'kg')}", part=2))
            answers.append(flour - used)
        else:
            left = flour - used - cakes
            second = Part(key=num(left), unit="kg",
                          prompt=f"{he.capitalize()} used {unit(n(used), 'kg')} of the flour to bake bread and "
                                 f"{unit(n(cakes), 'kg')} to bake cakes. How much flour was left?")
            steps += [Step("Find how much flour was used altogether.",
                           f"{pad(used, 2)} + {pad(cakes, 2)} = {unit(n(used + cakes), 'kg')}", part=2),
                      Step("Take it away from the flour bought.",
                           f"{pad(flour, 2)} {MINUS} {pad(used + cakes, 2)} = {unit(n(left), 'kg')}", part=2)]
            answers.append(left)
        parts = [first, second]
    elif story == "savings":
        week = Fr(rng.randint(30, 90), 10) + Fr(rng.choice([0, 5]), 100)
        weeks = rng.randint(4, 9)
        gift = rng.choice([None, Fr(rng.randint(2, 10))])
        saved = week * weeks + (gift or 0)
        price = (saved - Fr(rng.randint(100, 900), 100))
        price = Fr(int(price * 20), 20)
        if gift is None:
            text = p(f"{person} saved {money(week)} every week for {weeks} weeks.")
            steps = [Step(f"Multiply the savings of one week by {weeks}.",
                          f"{weeks} {TIMES} {money(week)} = {money(saved)}")]
        else:
            text = p(f"{person} saved {money(week)} every week for {weeks} weeks. "
                     f"{possess(person)} aunt gave {'her' if he == 'she' else 'him'} {money(gift)} more.")
            steps = [Step(f"Multiply the savings of one week by {weeks}.",
                          f"{weeks} {TIMES} {money(week)} = {money(week * weeks)}"),
                     Step(f"Add the {money(gift)} from {possess(person).lower()} aunt.",
                          f"{money(week * weeks)} + {money(gift)} = {money(saved)}")]
        book = rng.choice([None, Fr(rng.randint(40, 90), 20)])
        if book is None or book >= price:
            steps.append(Step("Take away the cost of the game.", f"{money(saved)} {MINUS} {money(price)} = "
                              f"{money(saved - price)}", part=2))
            bought = f"a game for {money(price)}"
        else:
            steps += [Step("Add the costs of the game and the book.",
                           f"{money(price - book)} + {money(book)} = {money(price)}", part=2),
                      Step("Take it away from the savings.", f"{money(saved)} {MINUS} {money(price)} = "
                           f"{money(saved - price)}", part=2)]
            bought = f"a game for {money(price - book)} and a book for {money(book)}"
        parts = [Part(key=num(saved), unit_before="$", prompt=f"How much did {he} have altogether?"),
                 Part(key=num(saved - price), unit_before="$",
                      prompt=f"{he.capitalize()} then bought {bought}. How much money did {he} have left?")]
        answers = [saved, saved - price]
    elif story == "fabric":
        length = dec(rng, (3, 9), 1)
        k = rng.choice([4, 5, 8])
        per_m = Fr(rng.randint(5, 15), 2)
        text = p(f"{person} bought {unit(n(length), 'm')} of fabric at {money(per_m)} per metre.")
        cost = length * per_m
        if per_m.denominator == 1:
            steps = [Step("Multiply the length by the price of 1 metre.", _times_whole(length, int(per_m)) +
                          f". The fabric cost {money(cost)}.")]
        else:
            steps = _decimal_product(length, per_m)
            steps[-1].work += f". The fabric cost {money(cost)}."
        steps.append(Step(f"Divide the length by {k}.", f"{n(length)} {DIV} {k} = {unit(n(length / k), 'm')}",
                          part=2))
        ask = f"{he.capitalize()} cut the fabric into {k} pieces of equal length. How long was each piece?"
        if rng.random() < 0.5:
            second = Part(key=num(length / k), unit="m", prompt=ask)
            answers = [cost, length / k]
        else:
            steps.append(Step(f"Change it to centimetres: {unit(1, 'm')} = {unit(100, 'cm')}.",
                              f"{n(length / k)} {TIMES} 100 = {unit(n(length * 100 / k), 'cm')}", part=2))
            second = Part(key=num(length * 100 / k), unit="cm", prompt=ask + " Give your answer in centimetres.")
            answers = [cost, length * 100 / k]
        parts = [Part(key=num(cost), unit_before="$", prompt=f"How much did {he} pay for the fabric?"), second]
    else:
        laps = rng.randint(3, 6)
        lap = Fr(rng.randint(35, 80), 100)
        other = dec(rng, (1, 3), 2)
        extra = rng.choice([0, Fr(rng.randint(15, 60), 100)])
        ran = lap * laps + extra
        in_metres = rng.random() < 0.5
        more = f" and then {unit(n(extra), 'km')} to the gate" if extra else ""
        text = p(f"{person} ran {laps} laps of a park{more}. Each lap is {unit(n(lap), 'km')} long.",
                 f"{possess(person)} brother ran {unit(n(other), 'km')}.")
        gap = abs(ran - other)
        if ran == other:
            raise ValueError("the same distance")
        steps = [Step(f"Multiply the length of one lap by {laps}.", _times_whole(lap, laps) + "\u00a0km")]
        if extra:
            steps.append(Step(f"Add the {unit(n(extra), 'km')} to the gate.",
                              f"{pad(lap * laps, 2)} + {pad(extra, 2)} = {unit(n(ran), 'km')}"))
        steps.append(Step("Take the shorter distance away from the longer one.",
                          f"{pad(max(ran, other), 2)} {MINUS} {pad(min(ran, other), 2)} = {unit(n(gap), 'km')}",
                          part=2))
        ask = "What is the difference between the distances the two children ran?"
        if in_metres:
            steps.append(Step(f"Change it to metres: {unit(1, 'km')} = {unit(1000, 'm')}.",
                              f"{n(gap)} {TIMES} 1000 = {unit(n(gap * 1000), 'm')}", part=2))
            second = Part(key=num(gap * 1000), unit="m", prompt=ask + " Give your answer in metres.")
            answers = [ran, gap * 1000]
        else:
            second = Part(key=num(gap), unit="km", prompt=ask)
            answers = [ran, gap]
        parts = [Part(key=num(ran), unit="km", prompt=f"How far did {person} run?"), second]
    if any(len(part.key.partition(".")[2]) > 3 for part in parts):
        raise ValueError("an answer with more places than a pupil works with")
    return Question(text, parts, solution=Solution(steps, answers))


def possess(person):
    return "Her" if pronoun(person) == "she" else "His"


@family("dec.pack-saving", TOPIC, ["N"], levels=(3,))
def pack_saving(rng, level, slots):
    sing, plur, price_range = rng.choice(SHOP_ITEMS)
    single = Fr(rng.randint(price_range[0] * 20, price_range[1] * 20), 20)
    k = rng.choice([4, 5, 6, 10])
    saving_each = Fr(rng.randint(1, 6), 20)
    pack = (single - saving_each) * k
    want = k * rng.randint(2, 3)
    buyer = names(rng, 1)[0]
    packs = want // k
    text = p(f"A shop sells {plur} at {money(single)} each, or in packs of {k} for {money(pack)}.",
             f"{buyer} needs {want} {plur}. How much does {pronoun(buyer)} "
             "save by buying packs instead of single ones?")
    saving = want * single - packs * pack
    steps = [Step(f"Find the cost of {want} single {plur}.", f"{want} {TIMES} {money(single)} = {money(want * single)}"),
             Step(f"Find how many packs of {k} make {want}.", f"{want} {DIV} {k} = {packs}"),
             Step(f"Find the cost of {packs} packs.", f"{packs} {TIMES} {money(pack)} = {money(packs * pack)}"),
             Step("The saving is the difference between the two costs.",
                  f"{money(want * single)} {MINUS} {money(packs * pack)} = {money(saving)}")]
    return Question(text, [Part(key=num(saving), unit_before="$")], solution=Solution(steps, [saving]))


FRACTION_WORDS = {Fr(1, 2): "half", Fr(1, 4): "a quarter", Fr(3, 4): "three quarters"}


def _price_of_mass(per_kg, mass):
    """The cost of mass kg at per_kg for 1 kg: the part of a kilogram first,
    then the whole kilograms."""
    whole = int(mass)
    part = mass - whole
    steps = []
    if whole >= 2:
        steps.append(Step(f"Find the cost of {unit(whole, 'kg')}.",
                          f"{whole} {TIMES} {money(per_kg)} = {money(whole * per_kg)}"))
    if part == Fr(3, 4):
        quarter = per_kg / 4
        steps.append(Step(f"{unit(n(part), 'kg')} is three quarters of 1\u00a0kg. Find the cost of a quarter of "
                          "a kilogram, then of three quarters.",
                          f"{money(per_kg)} {DIV} 4 = {money(quarter)} and 3 {TIMES} {money(quarter)} = "
                          f"{money(3 * quarter)}"))
    else:
        k = int(1 / part)
        steps.append(Step(f"{unit(n(part), 'kg')} is {FRACTION_WORDS[part]} of 1\u00a0kg, so it costs the price of "
                          f"1\u00a0kg divided by {k}.",
                          f"{money(per_kg)} {DIV} {k} = {money(per_kg / k)}"))
    if whole:
        steps.append(Step(f"Add the costs for {unit(n(mass), 'kg')}.",
                          f"{money(whole * per_kg)} + {money(part * per_kg)} = {money(mass * per_kg)}"))
    return steps


@family("dec.price-per-kg", TOPIC, ["N"], levels=(2, 3))
def price_per_kg(rng, level, slots):
    buyer = adult(rng)
    food = rng.choice(["prawns", "beef", "grapes", "cheese", "chicken"])
    per_kg = Fr(rng.randint(40, 260), 10) if level == 2 else Fr(rng.randint(40, 130), 5)
    mass = rng.choice([Fr(1, 2), Fr(3, 2), Fr(5, 2), Fr(1, 4), Fr(3, 4)]) if level == 2 else \
        rng.choice([Fr(3, 2), Fr(5, 2), Fr(7, 4), Fr(5, 4)])
    cost = per_kg * mass
    if (cost * 100).denominator != 1 or ((mass - int(mass)) * per_kg * 100).denominator != 1:
        raise ValueError("not a whole number of cents")
    steps = _price_of_mass(per_kg, mass)
    if level == 2:
        return Question(p(f"{food.capitalize()} cost {money(per_kg)} per kilogram.",
                          f"{buyer} bought {unit(n(mass), 'kg')} of {food}. How much did {pronoun(buyer)} pay?"),
                        [Part(key=num(cost), unit_before="$")], solution=Solution(steps, [cost]))
    paid = (int(cost) // 10 + 1) * 10 + rng.choice([0, 10, 40])
    steps.append(Step("The change is what was paid take away the cost.",
                      f"{money(paid)} {MINUS} {money(cost)} = {money(paid - cost)}"))
    return Question(p(f"{food.capitalize()} cost {money(per_kg)} per kilogram.",
                      f"{buyer} bought {unit(n(mass), 'kg')} of {food} and paid with {money(paid)}.",
                      f"How much change did {pronoun(buyer)} receive?"),
                    [Part(key=num(paid - cost), unit_before="$")], solution=Solution(steps, [paid - cost]))


@family("dec.bottles", TOPIC, ["N"], levels=(3,))
def bottles(rng, level, slots):
    bottle_ml = rng.choice([250, 300, 330, 450, 600, 750])
    full = rng.randint(6, 15)
    left_ml = rng.randint(1, bottle_ml // 50 - 1) * 50
    ml = full * bottle_ml + left_ml
    total = Fr(ml, 1000)
    person = adult(rng)
    what = rng.choice(["syrup", "soya milk", "lemonade", "soup"])
    said = (f"{person} made {unit(n(total), LITRE)} of {what}. {pronoun(person).capitalize()} poured it into "
            f"bottles of {unit(bottle_ml, ML)} each, filling as many bottles as possible.")
    steps = [Step(f"Change the {what} to millilitres: {unit(1, LITRE)} = {unit(1000, ML)}.",
                  f"{n(total)} {TIMES} 1000 = {unit(n(ml), ML)}"),
             Step(f"Divide it into bottles of {unit(bottle_ml, ML)}. The whole number of times is the number "
                  "of full bottles; the remainder is what is left over.", divide_with_remainder(ml, bottle_ml))]
    ask = rng.random()
    if ask < 0.3:
        price = Fr(rng.choice([125, 150, 175, 200, 225, 250]), 100)
        steps.append(Step(f"Multiply the number of full bottles by the price of one.",
                          f"{full} {TIMES} {money(price)} = {money(full * price)}"))
        return Question(p(said, f"{pronoun(person).capitalize()} sold every full bottle for {money(price)}. "
                          "How much money did " + pronoun(person) + " get?"),
                        [Part(key=num(full * price), unit_before="$")], solution=Solution(steps, [full * price]))
    if ask < 0.65:
        return Question(p(said, "How many bottles did " + pronoun(person) + " fill?"),
                        [Part(key=num(full), unit="bottles")], solution=Solution(steps, [full]))
    return Question(p(said, f"How much {what} was left over? Give your answer in millilitres."),
                    [Part(key=num(left_ml), unit=ML)], solution=Solution(steps, [left_ml]))
