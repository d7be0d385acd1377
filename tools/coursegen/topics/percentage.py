"""Topic 7: Percentage.

Each family draws its values, writes the page from them and computes every
key with the solvers below; the solvers are tested against worked examples
in tests/test_percentage.py. Values are drawn so that every answer is exact
(whole numbers, or money to the cent) and needs no rounding.
"""

from fractions import Fraction
from math import gcd

from ..contexts import ADULTS, GIRLS, BOYS, names, pronoun, possessive
from ..families import choice, family, near_misses
from ..model import Figure, Part, Question, fraction_key, num
from ..svg import GREY, Svg
from ..text import frac, money, n, p, table

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


# ---------------------------------------------------------------- conversions

# Fractions a pupil turns into a percentage without a calculator.
FRIENDLY = [Fraction(a, b) for b in (2, 4, 5, 10, 20, 25, 50)
            for a in range(1, b) if gcd(a, b) == 1]


@family("percent.convert", TOPIC, ["F", "N", "Q"], levels=(1, 2))
def convert(rng, level, slots):
    kind = slots[0].kind
    if kind == "F":
        rate = rng.choice([r for r in range(2, 100) if percent_fraction(r).denominator > 2
                           and r % 10 != 0] + [20, 40, 60, 80])
        return Question(p(f"Write {pct(rate)} as a fraction in its simplest form."),
                        [Part(key=fraction_key(percent_fraction(rate)))])
    if kind == "Q":
        return _convert_choice(rng, level)
    way = rng.choice(["fraction", "decimal", "to-decimal"])
    if level == 2:
        # Eighths and mixed numbers go past the friendly hundredths.
        if way == "fraction":
            x = rng.choice([Fraction(a, 8) for a in (1, 3, 5, 7)] +
                           [1 + f for f in FRIENDLY if f.denominator in (4, 5, 20)])
            shown = frac(x) if x < 1 else _mixed_html(x)
            return Question(p(f"Write {shown} as a percentage."),
                            [Part(key=num(as_percent(x, 1)), unit=PCT)])
        if way == "decimal":
            x = Fraction(rng.randint(101, 299), 100) if rng.random() < 0.5 else \
                Fraction(rng.randint(1, 99), 1000)
            return Question(p(f"Write {num(x)} as a percentage."),
                            [Part(key=num(as_percent(x, 1)), unit=PCT)])
        rate = Fraction(rng.randint(1, 99), 10) if rng.random() < 0.5 else rng.randint(101, 250)
        return Question(p(f"Write {n(rate)}{PCT} as a decimal."),
                        [Part(key=num(percent_fraction(rate)))])
    if way == "fraction":
        x = rng.choice(FRIENDLY)
        return Question(p(f"Write {frac(x)} as a percentage."),
                        [Part(key=num(as_percent(x, 1)), unit=PCT)])
    if way == "decimal":
        x = Fraction(rng.choice([r for r in range(1, 100) if r % 10]), 100)
        return Question(p(f"Write {num(x)} as a percentage."),
                        [Part(key=num(as_percent(x, 1)), unit=PCT)])
    rate = rng.choice([r for r in range(1, 100) if r % 10])
    return Question(p(f"Write {pct(rate)} as a decimal."),
                    [Part(key=num(percent_fraction(rate)))])


def _mixed_html(x):
    w = int(x)
    return f"{w}{frac(x - w)}"


def _convert_choice(rng, level):
    x = rng.choice([f for f in FRIENDLY if f.denominator > 2])
    rate = as_percent(x, 1)
    if rng.random() < 0.5:
        # Given a fraction: its percentage. Wrong ones misread the digits
        # (3/5 as 35% or 3%) or take the other part (40%).
        wrong = [Fraction(int(f"{x.numerator}{x.denominator}")), Fraction(x.numerator),
                 100 - rate, rate / 10, Fraction(x.numerator + x.denominator), rate * 2]
        wrong = [w for w in wrong if w.denominator == 1 and 0 < w < 1000]
        bad = near_misses(rng, rate, wrong)
        part = choice(rng, pct(rate), [pct(b) for b in bad],
                      prompt=f"Which of these is equal to {frac(x)}?")
        return Question("", [part])
    # Given a percentage: the fraction or the decimal equal to it.
    as_fraction = rng.random() < 0.5
    show = frac if as_fraction else num
    wrong = [show(1 - x), show(x / 10), show(x * 10) if x * 10 < 10 else None]
    if as_fraction:
        # 45% read as 4/5; the percentage over 10 instead of 100.
        whole = int(rate)
        if rate.denominator == 1 and whole % 10 and whole // 10:
            wrong.append(frac(Fraction(whole // 10, whole % 10)))
        wrong.append(frac(Fraction(whole, 10)) if Fraction(whole, 10).denominator > 1 else None)
    else:
        wrong.append(num(x + 1))
    wrong = [w for w in wrong if w and w != show(x)]
    bad = near_misses(rng, show(x), wrong)
    part = choice(rng, show(x), bad, prompt=f"Which of these is equal to {pct(rate)}?")
    return Question("", [part])


@family("percent.order", TOPIC, ["Q"], levels=(1, 2))
def order(rng, level, slots):
    """Four values in mixed forms; the greatest or smallest."""
    base = rng.randint(3, 8) * 10 if level == 1 else rng.randint(2, 9) * 10
    spread = [0, 5, 10, 15, 20, -5, -10, 25, 2, 4, 6, 8]
    values = sorted({base + d for d in rng.sample(spread, 4)})
    if len(values) < 4 or min(values) <= 0 or max(values) >= 100:
        raise ValueError("values out of range")
    forms = ["percent", "decimal", "fraction", rng.choice(["percent", "decimal", "fraction"])]
    rng.shuffle(forms)
    shown = []
    for v, form in zip(values, forms):
        x = Fraction(v, 100)
        if form == "fraction" and x.denominator > 25 and level == 1:
            form = "decimal"
        shown.append(pct(v) if form == "percent" else num(x) if form == "decimal" else frac(x))
    want = rng.choice(["greatest", "smallest"])
    key = shown[-1] if want == "greatest" else shown[0]
    part = choice(rng, key, [s for s in shown if s != key],
                  prompt=f"Which of these is the {want}?")
    return Question("", [part])


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
    key = as_percent(count if what == "shaded" else total - count, total)
    fig = Figure(_grid(rows, cols, chosen),
                 f"A rectangle divided into {total} equal squares, {count} of them shaded")
    text = p(f"The figure is made up of {total} equal squares.")
    ask = f"What percentage of the figure is {what}?"
    if slots[0].kind == "N":
        return Question(text, [Part(key=num(key), prompt=ask, unit=PCT)], [fig])
    other = as_percent(total - count if what == "shaded" else count, total)
    wrong = [other, Fraction(count if what == "shaded" else total - count),
             key / 2 if key % 2 == 0 else key + 5, key + 10, key - 10]
    bad = near_misses(rng, key, [w for w in wrong if 0 < w < 100 and w.denominator == 1])
    return Question(text, [choice(rng, pct(key), [pct(b) for b in bad], prompt=ask)], [fig])


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
        if slots[0].kind == "N":
            return Question(p(ask), [Part(key=num(key))])
        wrong = [Fraction(rate * amount, 10), amount - key, percent_of(rate, amount) * 10,
                 Fraction(amount, rate) if amount % rate == 0 else key + 10, key + rate]
        bad = near_misses(rng, key, [w for w in wrong if w.denominator == 1 and w > 0])
        return Question("", [choice(rng, n(key), [n(b) for b in bad], prompt=ask)])
    group, things, trait, rest, rest_name, trait_name = rng.choice(PEOPLE_GROUPS)
    amount = _multiple(rng, rate, 120, 2400, also=10 if level == 3 else 1)
    key = _whole(percent_of(rate, amount))
    were = "were" if trait.startswith("were") else "are"
    if level == 2:
        text = p(f"There {were} {n(amount)} {group}. {pct(rate)} of them {trait}.",
                 f"How many of the {things} {trait}?")
        if slots[0].kind == "Q":
            wrong = [amount - key, Fraction(rate * amount, 10), key + rate, key * 2, key // 2]
            bad = near_misses(rng, key, [w for w in wrong if w and Fraction(w).denominator == 1])
            return Question(text, [choice(rng, n(key), [n(b) for b in bad])])
        return Question(text, [Part(key=num(key), unit=things)])
    # Level 3: the difference between the two groups.
    if rate == 50:
        raise ValueError("no difference")
    others = amount - key
    more, fewer = (rest_name, trait_name) if others > key else (trait_name, rest_name)
    text = p(f"There {were} {n(amount)} {group}. {pct(rate)} of them {trait} and the rest {rest}.",
             f"How many more {more} {were} there than {fewer}?")
    return Question(text, [Part(key=num(abs(others - key)), unit=things if "glasses" in more else more)])


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
        if slots[0].kind == "N":
            return Question(p(ask), [Part(key=num(key), unit=PCT)])
        # The whole over the part, the other part, the part itself.
        wrong = [as_percent(whole, part), 100 - key, Fraction(part), key / 10,
                 key * 2 if key < 50 else key - 20]
        bad = near_misses(rng, key, [w for w in wrong if w.denominator == 1 and 0 < w < 1000])
        return Question("", [choice(rng, pct(key), [pct(b) for b in bad], prompt=ask)])
    who = names(rng, 1)[0]
    if level == 2:
        total = rng.choice([20, 25, 40, 50, 60, 80])
        got = rng.choice([k for k in range(total // 3, total) if (100 * k) % total == 0])
        text = p(f"{who} scored {got} marks out of {total} in a test.",
                 f"What percentage of the marks did {pronoun(who)} score?")
        key = as_percent(got, total)
        if slots[0].kind == "Q":
            wrong = [100 - key, Fraction(got), key - 10, key + 5, Fraction(total - got)]
            bad = near_misses(rng, key, [w for w in wrong if 0 < w < 100])
            return Question(text, [choice(rng, pct(key), [pct(b) for b in bad])])
        return Question(text, [Part(key=num(key), unit=PCT)])
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
    return Question(text, [Part(key=num(as_percent(rest, total)), unit=PCT)])


# ---------------------------------------------------------------- shopping

def _item(rng, big=False):
    return rng.choice(BIG_GOODS if big else GOODS)


@family("percent.discount", TOPIC, ["N", "Q", ("N", "N")], levels=(2, 3))
def discount(rng, level, slots):
    thing, lo, hi = _item(rng, big=level == 3 and len(slots) == 1 and rng.random() < 0.5)
    rate = rng.choice([10, 15, 20, 25, 30, 35, 40, 5, 12])
    price = _multiple(rng, rate, lo, hi, also=(20 if hi > 1000 else 5) if rate % 5 == 0 else 1)
    off = percent_of(rate, price)
    sale = price - off
    who = names(rng, 1)[0]
    if len(slots) == 2:
        if level == 2:
            text = p(f"A {thing} costs {money(price)}. It is sold at a discount of {pct(rate)}.")
            return Question(text, [Part(key=num(off), prompt="How much is the discount?", unit_before="$"),
                                   Part(key=num(sale), prompt="What is the sale price of the "
                                        f"{thing}?", unit_before="$")])
        count = rng.randint(2, 3)
        buyer = rng.choice(ADULTS)
        text = p(f"The usual price of a {thing} is {money(price)}. During a sale, every {thing} "
                 f"is sold at {pct(rate)} off. {buyer} buys {count} of them at the sale as presents.")
        return Question(text, [
            Part(key=num(sale), prompt=f"What is the sale price of one {thing}?", unit_before="$"),
            Part(key=num(off * count), prompt=f"How much money does {buyer} save by "
                 f"buying the {count} {_plural(thing)} at the sale?", unit_before="$")])
    if slots[0].kind == "Q":
        text = p(f"A {thing} costs {money(price)}. It is sold at a discount of {pct(rate)}.",
                 f"What is the sale price of the {thing}?")
        wrong = [off, price - rate, price + off, sale - off]
        bad = near_misses(rng, sale, [w for w in wrong if w > 0])
        return Question(text, [choice(rng, money(sale), [money(b) for b in bad])])
    if level == 2:
        if rng.random() < 0.5:
            text = p(f"A {thing} costs {money(price)}. {who} buys it at a discount of {pct(rate)}.",
                     f"How much does {pronoun(who)} pay for it?")
            return Question(text, [Part(key=num(sale), unit_before="$")])
        text = p(f"The usual price of a {thing} is {money(price)}. In a sale its price is "
                 f"{money(sale)}.", "What percentage discount is given?")
        return Question(text, [Part(key=num(change_percent(price, sale)), unit=PCT)])
    text = p(f"In a sale, a {thing} is sold at {pct(rate)} off its usual price. {who} pays "
             f"{money(sale)} for it.", f"What is the usual price of the {thing}?")
    return Question(text, [Part(key=num(before_change(sale, -rate)), unit_before="$")])


def _plural(thing):
    if thing.startswith("pair of "):
        return "pairs of " + thing[8:]
    if thing.endswith(("ch", "sh")):
        return thing + "es"
    return thing + "s"


@family("percent.best-buy", TOPIC, ["Q"], levels=(2,))
def best_buy(rng, level, slots):
    thing, lo, hi = _item(rng)
    shops = ["Shop A", "Shop B", "Shop C", "Shop D"]
    rows, sales = [], []
    # The same thing costs about the same everywhere: within a third of a base.
    base = rng.randint(lo, hi)
    for shop in shops:
        rate = rng.choice([10, 20, 25, 30, 40, 50])
        price = _multiple(rng, rate, base * 4 // 5, base * 13 // 10, also=2)
        sales.append(price - percent_of(rate, price))
        rows.append((shop, money(price), pct(rate)))
    best = min(sales)
    if sales.count(best) != 1:
        raise ValueError("a tie")
    # Mostly the lowest usual price is not the best buy, so the pupil must work.
    usual = [Fraction(r[1][1:]) for r in rows]
    if usual.index(min(usual)) == sales.index(best) and rng.random() < 0.7:
        raise ValueError("too easy")
    text = p(f"Four shops sell the same {thing}. The table shows each shop\u2019s usual price "
             f"and the discount it gives.") + table(["Shop", "Usual price", "Discount"], rows)
    part = Part(key=str(sales.index(best) + 1), options=shops,
                prompt=f"At which shop does the {thing} cost the least after the discount?")
    return Question(text, [part])


@family("percent.charges", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def charges(rng, level, slots):
    who = rng.choice(ADULTS)
    family_ = rng.choice([f"{who} and {possessive(who)} family", f"{who} and {possessive(who)} friends"])
    if rng.random() < 0.5:
        charge, rate = "a service charge", 10
        bill = rng.randint(12, 60) * 5 if level == 2 else rng.randint(8, 40) * 10
        story = f"{family_} had dinner at a restaurant. The food cost {money(bill)}. "
        added = f"{charge} of {pct(rate)} was added to the bill"
    else:
        charge, rate = "GST", rng.choice([7, 8, 9])
        thing, lo, hi = _item(rng, big=True)
        bill = rng.randint(lo // 50, hi // 50) * 50
        story = f"{who} bought a {thing}. Its price before GST was {money(bill)}. "
        added = f"GST of {pct(rate)} was charged on the price"
    extra = _cents(percent_of(rate, bill))
    total = bill + extra
    if len(slots) == 2:
        text = p(story + added[0].upper() + added[1:] + ".")
        return Question(text, [
            Part(key=num(extra), prompt=f"How much was the {charge.replace('a ', '', 1)}?", unit_before="$"),
            Part(key=num(total), prompt=f"How much was paid altogether?", unit_before="$")])
    if level == 2:
        text = p(story + added[0].upper() + added[1:] + ".", "How much was paid altogether?")
        return Question(text, [Part(key=num(total), unit_before="$")])
    # Level 3: back from the total to the price before the charge.
    # GST rates other than 10% go back to a round price only from hundreds.
    bill = _multiple(rng, rate, 100, 900, also=10 if rate == 10 else 100)
    total = after_change(bill, rate)
    if charge == "GST":
        text = p(f"{who} paid {money(total)} for a {thing}. This included GST of {pct(rate)} "
                 "on its price.", "What was the price of the item before GST?")
    else:
        text = p(f"{family_} paid {money(total)} for a dinner. This included a service charge of "
                 f"{pct(rate)} on the cost of the food.", "How much did the food cost?")
    return Question(text, [Part(key=num(before_change(total, rate)), unit_before="$")])


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
    else:
        place, people = rng.choice([("a museum", "visitors"), ("a zoo", "visitors"),
                                    ("a swimming club", "members"), ("a library", "members")])
        old = _multiple(rng, rate, 200, 5000, also=100)   # 1% is a whole number
        new = after_change(old, signed)
        setting = f"Last year {place} had {n(old)} {people}."
        ask_new = f"How many {people} does it have this year?"
        unit = dict(unit=people)
        told = f"Last year {place} had {n(old)} {people}. This year it has {n(new)} {people}."
    _whole(new * 100)
    if len(slots) == 2:
        diff = abs(new - old)
        text = p(told)
        diff_ask = (f"By how much did the price {'rise' if up else 'fall'}?" if story == "price"
                    else f"How many {'more' if up else 'fewer'} {people} does it have this year?")
        return Question(text, [Part(key=num(diff), prompt=diff_ask, **unit),
                               Part(key=num(change_percent(old, new)),
                                    prompt=f"What is the percentage {word}?", unit=PCT)])
    if level == 2:
        if rng.random() < 0.5:
            return Question(p(told, f"What is the percentage {word}?"),
                            [Part(key=num(change_percent(old, new)), unit=PCT)])
        change_text = (f"This year the number {'increased' if up else 'decreased'} by {pct(rate)}."
                       if story != "price" else
                       f"The price was {'increased' if up else 'decreased'} by {pct(rate)}.")
        return Question(p(setting, change_text, ask_new), [Part(key=num(new), **unit)])
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
    return Question(text, [Part(key=num(final), **unit)])


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
        if len(slots) == 2:
            return Question(text, [
                Part(key=num(total), prompt=f"How much were {possessive(who)} savings?", unit_before="$"),
                Part(key=num(total - part), prompt=f"How much money did {pronoun(who)} have left?",
                     unit_before="$")])
        if rng.random() < 0.5:
            return Question(text + p(f"How much were {possessive(who)} savings?"),
                            [Part(key=num(total), unit_before="$")])
        return Question(p(f"{pct(rate)} of a number is {n(part)}.", "What is the number?"),
                        [Part(key=num(total))])
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
    return Question(text, [Part(key=num(whole_from_part(diff, diff_rate)), unit="pupils")])


# ---------------------------------------------------------------- interest

@family("percent.interest", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def interest(rng, level, slots):
    who = rng.choice(ADULTS)
    rate = rng.choice([2, 3, 4, 5, 1.5, 2.5])
    rate = Fraction(rate).limit_denominator(2)
    deposit = rng.randint(4, 40) * 500 if rate.denominator == 1 else rng.randint(2, 20) * 1000
    earned = percent_of(rate, deposit)
    _cents(earned)
    setting = (f"{who} put {money(deposit)} in a bank. The bank pays interest of {n(rate)}{PCT} "
               "per year.")
    if len(slots) == 2:
        return Question(p(setting), [
            Part(key=num(earned), prompt="How much interest will the money earn in one year?",
                 unit_before="$"),
            Part(key=num(deposit + earned), prompt="How much money will be in the bank after one "
                 "year?", unit_before="$")])
    if level == 2:
        return Question(p(setting, "How much interest will the money earn in one year?"),
                        [Part(key=num(earned), unit_before="$")])
    if rng.random() < 0.5:
        return Question(p(setting, "How much money will be in the bank after one year?"),
                        [Part(key=num(deposit + earned), unit_before="$")])
    text = p(f"{who} put some money in a bank that pays interest of {n(rate)}{PCT} per year. "
             f"After one year the money had earned {money(earned)} in interest.",
             f"How much money did {pronoun(who)} put in the bank?")
    return Question(text, [Part(key=num(whole_from_part(earned, rate)), unit_before="$")])


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
        return Question(text, [Part(key=num(amount - spent), unit_before="$")])
    amount = _multiple(rng, first, 80, 800, also=20)
    rest = amount - percent_of(first, amount)
    second_spent = percent_of(second, rest)
    left = left_after_spending(amount, first, second)
    _whole(second_spent)
    if money_:
        text = p(f"{who} had {money(amount)}. {he.capitalize()} spent {pct(first)} of it on a "
                 f"pair of shoes and {pct(second)} of the remaining money on a book.")
        unit = dict(unit_before="$")
        ask_left = f"How much money did {he} have left?"
        ask_second = "How much did the book cost?"
    else:
        text = p(f"A baker made {n(amount)} buns. {pct(first)} of them were sold in the morning "
                 f"and {pct(second)} of the remaining buns were sold in the afternoon.")
        unit = dict(unit="buns")
        ask_left = "How many buns were left?"
        ask_second = "How many buns were sold in the afternoon?"
    if len(slots) == 2:
        if level == 3 and rng.random() < 0.5:
            ask_pct = ("What percentage of the money did " + he + " have left?" if money_
                       else "What percentage of the buns were left?")
            return Question(text, [Part(key=num(left), prompt=ask_left, **unit),
                                   Part(key=num(as_percent(left, amount)), prompt=ask_pct, unit=PCT)])
        return Question(text, [Part(key=num(second_spent), prompt=ask_second, **unit),
                               Part(key=num(left), prompt=ask_left, **unit)])
    if rng.random() < 0.5:
        return Question(text + p(ask_left), [Part(key=num(left), **unit)])
    # Back from what was left to what there was at first.
    if money_:
        text = p(f"{who} spent {pct(first)} of {his} money on a pair of shoes and {pct(second)} of "
                 f"the remaining money on a book. {he.capitalize()} had {money(left)} left.",
                 f"How much money did {he} have at first?")
    else:
        text = p(f"A baker sold {pct(first)} of {'her' if rng.random() < 0.5 else 'his'} buns in "
                 f"the morning and {pct(second)} of the remaining buns in the afternoon. "
                 f"{n(left)} buns were left.", "How many buns did the baker make?")
    return Question(text, [Part(key=num(amount), **unit)])


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
    if len(slots) == 2:
        if level == 3:
            _whole(as_percent(members, total))
            return Question(text, [
                Part(key=num(members), prompt=f"How many girls are in the {club}?", unit="girls"),
                Part(key=num(as_percent(members, total)), prompt=f"What percentage of all the "
                     f"pupils in the school are girls in the {club}?", unit=PCT)])
        return Question(text, [Part(key=num(girls), prompt="How many girls are there?", unit="girls"),
                               Part(key=num(members), prompt=f"How many girls are in the {club}?",
                                    unit="girls")])
    if level == 2:
        return Question(text + p(f"How many girls are in the {club}?"), [Part(key=num(members), unit="girls")])
    return Question(text + p(f"How many girls are not in the {club}?"),
                    [Part(key=num(girls - members), unit="girls")])


# ---------------------------------------------------------------- the rest, and comparing

@family("percent.rest", TOPIC, ["N", "Q"], levels=(1, 2))
def rest(rng, level, slots):
    """What percentage is left when the other parts are given."""
    if level == 1:
        group, a, b = rng.choice([("pupils in a class", "boys", "girls"),
                                  ("members of a club", "adults", "children"),
                                  ("cars in a car park", "red", "not red")])
        rate = rng.choice([r for r in range(15, 90) if r != 50])
        text = p(f"{pct(rate)} of the {group} are {a}. The rest are {b}.",
                 f"What percentage of the {group.split(' ')[0]} are {b}?")
        key = 100 - rate
        wrong = [rate, 100 + rate if rate < 50 else rate - 10, key + 10, key - 10]
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
        wrong = [r1 + r2, 100 - r1, 100 - r2, key + 10]
    if slots[0].kind == "N":
        return Question(text, [Part(key=num(key), unit=PCT)])
    bad = near_misses(rng, key, [w for w in wrong if 0 < w < 200])
    return Question(text, [choice(rng, pct(key), [pct(w) for w in bad])])


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
    if level == 2:
        text = p(f"Find the difference between {pct(r1)} of {n(a1)} and {pct(r2)} of {n(a2)}.")
        return Question(text, [Part(key=num(diff))])
    a, b = names(rng, 2)
    more, less = (a, b) if percent_of(r1, a1) > percent_of(r2, a2) else (b, a)
    text = p(f"{a} had {money(a1)} and spent {pct(r1)} of it. {b} had {money(a2)} and spent "
             f"{pct(r2)} of it.", f"How much more money did {more} spend than {less}?")
    return Question(text, [Part(key=num(diff), unit_before="$")])
