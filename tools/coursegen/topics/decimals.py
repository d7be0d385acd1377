"""Topic 2: Decimals. Values are kept as exact fractions; the solvers are
tested in tests/test_decimals.py."""

from fractions import Fraction as Fr

from ..contexts import ADULTS, SHOP_ITEMS, names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, fixed, fraction_key, num
from ..svg import Svg, number_line
from ..text import frac, money, n, p, place_value

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


CONVERSIONS = [  # (big unit, small unit, how many small in one big)
    ("km", "m", 1000), ("m", "cm", 100), ("kg", "g", 1000), ("\u2113", "m\u2113", 1000),
]


# ---------------------------------------------------------------- families

@family("dec.digit-value", TOPIC, ["N", "Q"], levels=(1, 2))
def digit_value(rng, level, slots):
    places = 3
    digits = rng.sample(range(1, 10), 2 + places)
    x = Fr(int("".join(map(str, digits))), 10 ** places)
    pos = rng.randint(2, 4)                  # one of the decimal digits
    digit = digits[pos]
    value = digit_place(x, digit)
    if slots[0].kind == "N":
        return Question(p(f"What is the value of the digit {digit} in {n(x)}?"),
                        [Part(key=num(value))])
    place = PLACE_NAMES[pos - 1]
    others = ["ones", "tens"] + [v for v in PLACE_NAMES.values() if v != place]
    part = choice(rng, place_value(digit, place), [place_value(digit, o) for o in rng.sample(others, 3)],
                  prompt=f"What does the digit {digit} stand for in {n(x)}?")
    return Question("", [part])


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
        return Question(p(f"Write {said} as a decimal."), [Part(key=num(x))])
    terms = [Fr(ones), Fr(tenths, 10), Fr(hundredths, 100), Fr(thousandths, 1000)]
    terms = [t for t in terms if t]
    rng.shuffle(terms)
    return Question(p(" + ".join(n(t) for t in terms) + " = ?"),
                    [Part(key=num(sum(terms)), prompt="What is the missing number?")])


@family("dec.fraction-to-decimal", TOPIC, ["N"], levels=(1, 2))
def fraction_to_decimal(rng, level, slots):
    if level == 1:
        den = rng.choice([10, 100, 1000])
        a = rng.randint(1, den - 1)
        if a % 10 == 0:
            a += 1
        w = rng.randint(1, 9)
        return Question(p(f"Write {w}{frac(a, den)} as a decimal."), [Part(key=num(w + Fr(a, den)))])
    den = rng.choice([4, 5, 8, 20, 25, 40, 50])
    a = rng.choice([x for x in range(1, den) if Fr(x, den).denominator == den])
    return Question(p(f"Write {frac(a, den)} as a decimal."), [Part(key=num(Fr(a, den)))])


@family("dec.decimal-to-fraction", TOPIC, ["F"], levels=(1, 2))
def decimal_to_fraction(rng, level, slots):
    while True:
        x = Fr(rng.randint(1, 99), 100) if level == 1 else Fr(rng.randint(1, 999), 1000)
        if x.denominator not in (10, 100, 1000, 2, 5) or level == 1:
            break
    if x.denominator == 1:
        raise ValueError("a whole number")
    return Question(p(f"Write {n(x)} as a fraction."), [Part(key=fraction_key(x))])


@family("dec.compare", TOPIC, ["Q", "N"], levels=(1, 2, 3))
def compare(rng, level, slots):
    a, b, c = rng.sample(range(1, 10), 3)
    w = rng.randint(0, 5)
    # Same digits in different places: the classic trap.
    values = sorted({w + Fr(a * 100 + b, 1000), w + Fr(a * 10 + b, 100), w + Fr(b * 10 + a, 1000),
                     w + Fr(a, 10) + Fr(c, 1000)})
    if len(values) < 4:
        raise ValueError("equal values")
    shown = values[:]
    rng.shuffle(shown)
    if slots[0].kind == "Q":
        if level == 3:
            target = round_places(values[1] + (values[2] - values[1]) / 3, 2)
            gaps = sorted(abs(v - target) for v in values)
            if gaps[0] == gaps[1] or target in values:
                raise ValueError("no single closest value")
            key = min(values, key=lambda v: abs(v - target))
            part = choice(rng, n(key), [n(v) for v in values if v != key],
                          prompt=f"Which of these numbers is closest to {n(target)}?")
            return Question("", [part])
        want = rng.choice(["greatest", "smallest"])
        key = values[-1] if want == "greatest" else values[0]
        part = choice(rng, n(key), [n(v) for v in values if v != key],
                      prompt=f"Which of these numbers is the {want}?")
        return Question("", [part])
    order = rng.choice(["smallest", "greatest"])
    ranked = values if order == "smallest" else values[::-1]
    pos = rng.randint(2, 3)
    ordinal = {2: "second", 3: "third"}[pos]
    # Spaced apart, with no full stop after the last, which would read as a decimal point.
    return Question(p(f"Arrange these numbers in order, beginning with the {order}.")
                    + p(" &#160; &#160; ".join(n(v) for v in shown)),
                    [Part(key=num(ranked[pos - 1]), prompt=f"Which number comes {ordinal}?")])


@family("dec.pattern", TOPIC, ["N"], levels=(1, 2))
def pattern(rng, level, slots):
    step = rng.choice([Fr(5, 100), Fr(2, 10), Fr(25, 100), Fr(3, 10), Fr(15, 100)]) if level == 1 \
        else rng.choice([Fr(35, 100), Fr(125, 1000), Fr(45, 100), Fr(6, 100)])
    start = dec(rng, (1, 8), 2)
    seq = [start + step * i for i in range(5)]
    blank = rng.randint(2, 4)
    shown = ", ".join("?" if i == blank else n(v) for i, v in enumerate(seq))
    return Question(p(f"What is the missing number in this pattern? &#160; {shown}"),
                    [Part(key=num(seq[blank]))])


@family("dec.round", TOPIC, ["N", "T"], levels=(1, 2, 3))
def rounding(rng, level, slots):
    if slots[0].kind == "T":
        # Results that end in zero are the point of asking for the places.
        places = 2 if level < 3 else rng.choice([1, 2])
        unit = Fr(1, 10 ** places)
        # Half the time the rounded value ends in zero: the point of asking.
        steps = rng.randint(100, 3000) * (10 if rng.random() < 0.5 else 1) + rng.randint(0, 9)
        x = steps * unit + rng.choice([-4, -3, -2, -1, 1, 2, 3, 4]) * unit / 10
        key = fixed(x, places)
        if level < 3:
            return Question(p(f"Round {n(x)} to {places} decimal places."),
                            [Part(key=key, form=f"Give your answer to {places} decimal places, "
                                  "writing any zeros at the end.")])
        person = names(rng, 1)[0]
        thing = rng.choice([("the mass of a parcel", "kg"), ("the length of a plank", "m"),
                            ("the volume of a bottle of water", "\u2113")])
        return Question(p(f"{person} measured {thing[0]} as {n(x)} {thing[1]}.",
                          f"What is this measurement correct to {places} decimal place{'s' if places > 1 else ''}?"),
                        [Part(key=key, unit=thing[1],
                              form=f"Give your answer to {places} decimal place{'s' if places > 1 else ''}, "
                                   "writing any zeros at the end.")])
    x = dec(rng, (1, 99), 3)
    target = rng.choice([("the nearest whole number", 0), ("1 decimal place", 1), ("2 decimal places", 2)])
    return Question(p(f"Round {n(x)} to {target[0]}."), [Part(key=num(round_places(x, target[1])))])


@family("dec.share-rounded", TOPIC, ["T"], levels=(2, 3))
def share_rounded(rng, level, slots):
    k = rng.choice([3, 6, 7, 9])
    total = dec(rng, (5, 40), 2)
    if (total * 1000 / k).denominator == 1:
        raise ValueError("divides exactly")
    thing = rng.choice([("parcels", "mass", "kg", "identical parcels have a total mass of"),
                        ("bottles", "volume", "\u2113", "identical bottles hold"),
                        ("planks", "length", "m", "planks of the same length have a total length of")])
    key = fixed(total / k, 2)
    return Question(p(f"{k} {thing[3]} {n(total)} {thing[2]}.",
                      f"What is the {thing[1]} of one of the {thing[0]}?"),
                    [Part(key=key, unit=thing[2],
                          form="Give your answer correct to 2 decimal places, writing any zeros at the end.")])


@family("dec.add-subtract", TOPIC, ["N"], levels=(1, 2))
def add_subtract(rng, level, slots):
    if level == 1:
        a, b = dec(rng, (1, 20), 1), dec(rng, (0, 9), 2)
        if rng.random() < 0.5:
            return Question(p(f"{n(a)} + {n(b)} = ?"), [Part(key=num(a + b))])
        whole = rng.choice([10, 20, 50, 100])
        return Question(p(f"{whole} \u2212 {n(b + 1)} = ?"), [Part(key=num(whole - b - 1))])
    a, b, c = dec(rng, (10, 40), 1), dec(rng, (1, 9), 2), dec(rng, (0, 5), 3)
    if a - b + c < 0:
        raise ValueError("negative")
    return Question(p(f"{n(a)} \u2212 {n(b)} + {n(c)} = ?"), [Part(key=num(a - b + c))])


@family("dec.multiply-divide", TOPIC, ["N"], levels=(1, 2))
def multiply_divide(rng, level, slots):
    if level == 1:
        x = dec(rng, (0, 99), 2)
        power = rng.choice([10, 100, 1000])
        if rng.random() < 0.5:
            return Question(p(f"{n(x)} \u00d7 {n(power)} = ?"), [Part(key=num(x * power))])
        return Question(p(f"{n(x)} \u00f7 {n(power)} = ?"), [Part(key=num(x / power))])
    k = rng.randint(3, 9)
    x = dec(rng, (1, 30), 2)
    if rng.random() < 0.5:
        return Question(p(f"{n(x)} \u00d7 {k} = ?"), [Part(key=num(x * k))])
    return Question(p(f"{n(x * k)} \u00f7 {k} = ?"), [Part(key=num(x))])


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
    svg = number_line(lo, hi, minor, arrow, {lo, hi, (lo + hi) / 2} if level == 2 else {lo, hi})
    fig = Figure(svg.render(), f"A number line from {n(lo)} to {n(hi)} with an arrow")
    return Question(p("What number is the arrow pointing to on the number line below?"),
                    [Part(key=num(arrow))], [fig])


@family("dec.measures", TOPIC, ["N"], levels=(1, 2))
def measures(rng, level, slots):
    big, small, k = rng.choice(CONVERSIONS)
    if level == 1:
        if rng.random() < 0.5:
            x = dec(rng, (0, 9), 2 if k == 100 else 3)
            return Question(p(f"{n(x)} {big} = ? {small}"),
                            [Part(key=num(x * k), unit=small, prompt="What is the missing number?")])
        y = rng.randint(105, 9900 if k == 1000 else 990)
        return Question(p(f"{n(y)} {small} = ? {big}"),
                        [Part(key=num(Fr(y, k)), unit=big, prompt="What is the missing number?")])
    whole, part = rng.randint(1, 9), rng.randint(5, k - 1)
    if part % 10 == 0:
        part += 5
    return Question(p(f"Write {whole} {big} {part} {small} in {big}."),
                    [Part(key=num(whole + Fr(part, k)), unit=big)])


def beaker(level_ml, full_ml=1000, step_ml=100):
    """A measuring beaker in m\u2113 with water up to level_ml."""
    svg = Svg(230, 262, font=14)
    x0, x1, top, bottom = 60, 150, 34, 250
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
    svg.text(x1 + 8, 16, "m\u2113", anchor="start", bold=True)
    svg.line(x0, y(level_ml), x1, y(level_ml), width=2)
    return svg


@family("dec.beaker", TOPIC, ["N"], levels=(1, 2))
def beaker_reading(rng, level, slots):
    full, step = rng.choice([(500, 50), (1000, 100), (1000, 50)] if level == 1 else [(2000, 100), (1000, 50)])
    level_ml = rng.randrange(step, full, 2 * step)     # between two labelled marks
    fig = Figure(beaker(level_ml, full, step).render(),
                 "A measuring beaker marked in millilitres, partly filled with water")
    ask = rng.choice(["litres", "fill"])
    if level == 1 and ask == "litres":
        return Question(p("How much water is in the beaker? Give your answer in litres."),
                        [Part(key=num(Fr(level_ml, 1000)), unit="\u2113")], [fig])
    if level == 1:
        return Question(p(f"How much more water is needed to fill the beaker to the {full} m\u2113 mark?"),
                        [Part(key=num(full - level_ml), unit="m\u2113")], [fig])
    poured = rng.choice([150, 250, 350, 450, 120, 80])
    if poured >= level_ml:
        raise ValueError("pours more than there is")
    return Question(p(f"The beaker shows the water in it. {names(rng, 1)[0]} pours out {poured} m\u2113 of the water.",
                      "How many litres of water are left in the beaker?"),
                    [Part(key=num(Fr(level_ml - poured, 1000)), unit="\u2113")], [fig])


@family("dec.change", TOPIC, ["N"], levels=(2, 3))
def change_question(rng, level, slots):
    person = names(rng, 1)[0]
    (s1, p1, r1), (s2, p2, r2) = rng.sample(SHOP_ITEMS, 2)
    v1 = Fr(rng.randint(r1[0] * 20, r1[1] * 20), 20)
    v2 = Fr(rng.randint(r2[0] * 20, r2[1] * 20), 20)
    c1 = rng.randint(2, 5)
    total = c1 * v1 + v2
    paid = (int(total) // 10 + 1) * 10
    if level == 2:
        text = p(f"{person} bought {c1} {p1} at {money(v1)} each.",
                 f"How much did {pronoun(person)} pay?")
        return Question(text, [Part(key=num(c1 * v1), unit_before="$")])
    text = p(f"{person} bought {c1} {p1} at {money(v1)} each and a {s2} for {money(v2)}.",
             f"{pronoun(person).capitalize()} paid with a {money(paid)} note. How much change did {pronoun(person)} receive?")
    return Question(text, [Part(key=num(change(paid, [c1 * v1, v2])), unit_before="$")])


@family("dec.unit-price", TOPIC, ["N"], levels=(2, 3))
def unit_price_question(rng, level, slots):
    sing, plur, rng_price = rng.choice(SHOP_ITEMS)
    each = Fr(rng.randint(rng_price[0] * 20, rng_price[1] * 20), 20)
    k = rng.randint(3, 8)
    if level == 2:
        return Question(p(f"{k} {plur} cost {money(each * k)}.", f"How much does one {sing} cost?"),
                        [Part(key=num(unit_price(each * k, k)), unit_before="$")])
    m = rng.choice([x for x in range(2, 13) if x != k])
    return Question(p(f"{k} {plur} cost {money(each * k)}.", f"How much do {m} {plur} cost?"),
                    [Part(key=num(unit_price(each * k, k) * m), unit_before="$")])


@family("dec.best-buy", TOPIC, ["Q"], levels=(1, 2, 3))
def best_buy_question(rng, level, slots):
    thing = rng.choice(["rice", "flour", "sugar", "washing powder"])
    per_kg = Fr(rng.randint(12, 30), 10)
    masses = rng.sample([Fr(1, 2), Fr(1), Fr(2), Fr(5, 2), Fr(3), Fr(5)], 4)
    # One pack is cheaper per kilogram; the others are dearer by steps.
    extras = rng.sample([Fr(1, 10), Fr(2, 10), Fr(3, 10), Fr(4, 10)], 3)
    offers = [(masses[0], per_kg * masses[0])] + \
        [(m, (per_kg + e) * m) for m, e in zip(masses[1:], extras)]
    for _, price in offers:
        if (price * 100).denominator != 1:
            raise ValueError("price is not in cents")
    key_i = best_buy(offers)
    text = [f"{n(m)} kg for {money(pr)}" for m, pr in offers]
    prompt = f"A shop sells {thing} in these packs. Which pack is the best buy (the lowest price for each kilogram)?"
    if level == 1:
        prompt = f"A shop sells {thing} in these packs. Which pack costs the least for each kilogram?"
    part = choice(rng, text[key_i], [t for i, t in enumerate(text) if i != key_i], prompt=prompt)
    return Question("", [part])


@family("dec.measure-story", TOPIC, ["N"], levels=(2, 3))
def measure_story(rng, level, slots):
    person = names(rng, 1)[0]
    if rng.random() < 0.5:
        k = rng.choice([4, 5, 6, 8])
        piece_cm = rng.choice([15, 25, 35, 45, 55, 65])
        length = Fr(piece_cm * k, 100)
        if level == 2:
            return Question(p(f"{person} cut a ribbon {n(length)} m long into {k} equal pieces.",
                              "How long was each piece? Give your answer in centimetres."),
                            [Part(key=num(piece_cm), unit="cm")])
        left_cm = rng.choice([20, 30, 40])
        total = length + Fr(left_cm, 100)
        return Question(p(f"{person} had a ribbon {n(total)} m long. {pronoun(person).capitalize()} cut {k} "
                          f"pieces of {piece_cm} cm each from it.",
                          "What length of ribbon was left? Give your answer in metres."),
                        [Part(key=num(total - Fr(piece_cm * k, 100)), unit="m")])
    jug = rng.choice([Fr(3, 2), Fr(7, 4), Fr(2), Fr(9, 4), Fr(5, 2), Fr(3)])
    cup = rng.choice([125, 150, 175, 200, 225, 250, 275, 300])
    cups = rng.randint(2, 6)
    drink = rng.choice(["orange juice", "apple juice", "milk", "lemonade", "soya milk"])
    if cup * cups >= jug * 1000:
        raise ValueError("pours more than there is")
    return Question(p(f"A jug holds {n(jug)} \u2113 of {drink}. {person} pours {cups} cups of "
                      f"{cup} m\u2113 each from the jug.",
                      f"How much {drink} is left in the jug? Give your answer in millilitres."),
                    [Part(key=num(jug * 1000 - cup * cups), unit="m\u2113")])


@family("dec.bill-share", TOPIC, ["N"], levels=(3,))
def bill_share(rng, level, slots):
    k = rng.randint(3, 6)
    # A child's lunch costs what a child's lunch costs; the adult pays the larger part.
    each = Fr(rng.randint(120, 360), 20)
    people = names(rng, k)
    adult = rng.choice(ADULTS)
    extra = Fr(rng.randint(150, 450), 10)
    text = p(f"{', '.join(people[:-1])} and {people[-1]} had lunch with {adult}. "
             f"The bill was {money(each * k + extra)}.",
             f"{adult} paid {money(extra)} of it and the {k} children shared the rest equally.",
             "How much did each child pay?")
    return Question(text, [Part(key=num(each), unit_before="$")])


STORIES = ["flour", "savings", "fabric", "race"]


@family("dec.two-step-story", TOPIC, [("N", "N")], levels=(2, 3))
def two_step_story(rng, level, slots):
    person = names(rng, 1)[0]
    he = pronoun(person)
    story = rng.choice(STORIES)
    if story == "flour":
        flour, sugar = dec(rng, (1, 4), 2), dec(rng, (0, 2), 2)
        used = Fr(rng.randint(2, 9), 10)
        if used >= flour:
            raise ValueError("uses more than there is")
        text = p(f"{person} bought {n(flour)} kg of flour and {n(sugar)} kg of sugar.")
        parts = [Part(key=num(flour + sugar), unit="kg", prompt="What was the total mass of the flour and the sugar?"),
                 Part(key=num(flour - used), unit="kg",
                      prompt=f"{he.capitalize()} used {n(used)} kg of the flour to bake bread. "
                             "How much flour was left?")]
    elif story == "savings":
        week = Fr(rng.randint(30, 90), 10) + Fr(rng.choice([0, 5]), 100)
        weeks = rng.randint(4, 9)
        price = (week * weeks - Fr(rng.randint(100, 900), 100))
        price = Fr(int(price * 20), 20)
        text = p(f"{person} saved {money(week)} every week for {weeks} weeks.")
        parts = [Part(key=num(week * weeks), unit_before="$", prompt=f"How much did {he} save altogether?"),
                 Part(key=num(week * weeks - price), unit_before="$",
                      prompt=f"{he.capitalize()} then bought a game for {money(price)}. How much money did {he} have left?")]
    elif story == "fabric":
        length = dec(rng, (3, 9), 1)
        k = rng.choice([4, 5, 8])
        per_m = Fr(rng.randint(5, 15), 2)
        text = p(f"{person} bought {n(length)} m of fabric at {money(per_m)} per metre.")
        parts = [Part(key=num(length * per_m), unit_before="$", prompt=f"How much did {he} pay for the fabric?"),
                 Part(key=num(length / k), unit="m",
                      prompt=f"{he.capitalize()} cut the fabric into {k} pieces of equal length. How long was each piece?")]
    else:
        laps = rng.randint(3, 6)
        lap = Fr(rng.randint(35, 80), 100)
        other = dec(rng, (1, 3), 2)
        text = p(f"{person} ran {laps} laps of a park. Each lap is {n(lap)} km long.",
                 f"{possess(person)} brother ran {n(other)} km.")
        parts = [Part(key=num(lap * laps), unit="km", prompt=f"How far did {person} run?"),
                 Part(key=num(abs(lap * laps - other)), unit="km",
                      prompt="What is the difference between the distances the two children ran?")]
    if any(len(part.key.partition(".")[2]) > 3 for part in parts):
        raise ValueError("an answer with more places than a pupil works with")
    return Question(text, parts)


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
    text = p(f"A shop sells {plur} at {money(single)} each, or in packs of {k} for {money(pack)}.",
             f"{buyer} needs {want} {plur}. How much does {pronoun(buyer)} "
             "save by buying packs instead of single ones?")
    return Question(text, [Part(key=num(want * single - want // k * pack), unit_before="$")])


@family("dec.price-per-kg", TOPIC, ["N"], levels=(2, 3))
def price_per_kg(rng, level, slots):
    buyer = rng.choice(ADULTS)
    food = rng.choice(["prawns", "beef", "grapes", "cheese", "chicken"])
    per_kg = Fr(rng.randint(40, 260), 10) if level == 2 else Fr(rng.randint(40, 130), 5)
    mass = rng.choice([Fr(1, 2), Fr(3, 2), Fr(5, 2), Fr(1, 4), Fr(3, 4)]) if level == 2 else \
        rng.choice([Fr(3, 2), Fr(5, 2), Fr(7, 4), Fr(5, 4)])
    cost = per_kg * mass
    if (cost * 100).denominator != 1:
        raise ValueError("not a whole number of cents")
    if level == 2:
        return Question(p(f"{food.capitalize()} cost {money(per_kg)} per kilogram.",
                          f"{buyer} bought {n(mass)} kg of {food}. How much did {pronoun(buyer)} pay?"),
                        [Part(key=num(cost), unit_before="$")])
    paid = (int(cost) // 10 + 1) * 10 + rng.choice([0, 10, 40])
    return Question(p(f"{food.capitalize()} cost {money(per_kg)} per kilogram.",
                      f"{buyer} bought {n(mass)} kg of {food} and paid with {money(paid)}.",
                      f"How much change did {pronoun(buyer)} receive?"),
                    [Part(key=num(paid - cost), unit_before="$")])


@family("dec.bottles", TOPIC, ["N"], levels=(3,))
def bottles(rng, level, slots):
    bottle_ml = rng.choice([250, 300, 330, 450, 600, 750])
    full = rng.randint(6, 15)
    left_ml = rng.randint(1, bottle_ml // 50 - 1) * 50
    total = Fr(full * bottle_ml + left_ml, 1000)
    person = rng.choice(ADULTS)
    what = rng.choice(["syrup", "soya milk", "lemonade", "soup"])
    if rng.random() < 0.5:
        return Question(p(f"{person} made {n(total)} \u2113 of {what}. {pronoun(person).capitalize()} poured it into "
                          f"bottles of {bottle_ml} m\u2113 each, filling as many bottles as possible.",
                          "How many bottles did " + pronoun(person) + " fill?"),
                        [Part(key=num(full), unit="bottles")])
    return Question(p(f"{person} made {n(total)} \u2113 of {what}. {pronoun(person).capitalize()} poured it into "
                      f"bottles of {bottle_ml} m\u2113 each, filling as many bottles as possible.",
                      f"How much {what} was left over? Give your answer in millilitres."),
                    [Part(key=num(left_ml), unit="m\u2113")])
