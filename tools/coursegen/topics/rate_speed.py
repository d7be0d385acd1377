"""Topic 9: Rate and Speed.

Times of day are minutes after midnight inside the code and are written the
way the page asks for them ("9.05am", "12.42pm"). Every family draws its
values, writes the page from them and computes the keys from the values
shown with the solvers below; they are tested against worked examples in
tests/test_rate_speed.py.
"""

from fractions import Fraction
from itertools import combinations
from math import gcd

from ..contexts import SHOP_ITEMS, names, possessive, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, Solution, Step, num
from ..svg import Svg
from ..text import DIV, MINUS, NBSP, TIMES, fnum, frac, money, n, nb, p, table
from ..text import unit as qty
from .ratio import choice_in_order

TOPIC = 9
TIME_FORM = "Give the time in the form 9.05am or 2.40pm."
NAME_FORM = "Write the name."


# ---------------------------------------------------------------- solvers

def clock(minutes):
    """A time of day as the page writes it: 545 -> 9.05am, 762 -> 12.42pm.
    Noon and midnight have no safe am/pm spelling, so they are refused, as
    are times outside 6am to 11pm."""
    minutes = Fraction(minutes)
    if minutes.denominator != 1:
        raise ValueError("not a whole minute")
    minutes = int(minutes)
    if not 6 * 60 <= minutes <= 23 * 60 or minutes == 12 * 60:
        raise ValueError(f"time {minutes} out of range")
    h, m = divmod(minutes, 60)
    return f"{h % 12 or 12}.{m:02d}{'am' if h < 12 else 'pm'}"


def duration(minutes):
    """2 h 25 min, 45 min, 3 h, kept on one line."""
    minutes = Fraction(minutes)
    if minutes.denominator != 1 or minutes <= 0:
        raise ValueError("not a whole number of minutes")
    h, m = divmod(int(minutes), 60)
    return NBSP.join(([f"{h}{NBSP}h"] if h else []) + ([f"{m}{NBSP}min"] if m else []))


def minutes_between(start, end):
    return end - start


def travel_minutes(distance, speed):
    """Minutes to cover distance (km) at speed (km/h)."""
    return Fraction(distance) * 60 / speed


def distance_covered(speed, minutes):
    """km covered at speed (km/h) in minutes."""
    return Fraction(speed) * minutes / 60


def speed_of(distance, minutes):
    """km/h over distance (km) in minutes."""
    return Fraction(distance) * 60 / minutes


def average_speed(legs):
    """km/h over legs given as (km, minutes), stops included as (0, minutes)."""
    return speed_of(sum(d for d, _ in legs), sum(t for _, t in legs))


def kmh_to_m_per_min(speed):
    return Fraction(speed) * 1000 / 60


def m_per_min_to_kmh(speed):
    return Fraction(speed) * 60 / 1000


def meeting_minutes(gap, speed_a, speed_b):
    """Minutes until two travellers gap km apart, moving towards each other, meet."""
    return Fraction(gap) * 60 / (speed_a + speed_b)


def catch_up_minutes(lead, fast, slow):
    """Minutes for the faster to close a lead (km) on the slower."""
    if fast <= slow:
        raise ValueError("the chaser is not faster")
    return Fraction(lead) * 60 / (fast - slow)


def stepped_charge(amount, first, first_charge, step, step_charge):
    """A charge of first_charge for the first `first` units and step_charge
    for each further `step` units or part of them (parking, taxi fares)."""
    if amount <= first:
        return Fraction(first_charge)
    extra = -(-(Fraction(amount) - first) // step)
    return Fraction(first_charge) + extra * Fraction(step_charge)


def units_for_charge(paid, first, first_charge, step, step_charge):
    """The most units a charge of paid buys under stepped_charge."""
    steps = (Fraction(paid) - first_charge) / Fraction(step_charge)
    if steps.denominator != 1 or steps < 0:
        raise ValueError("not a possible charge")
    return first + int(steps) * step


def fill_minutes(volume, rate_in, rate_out=0):
    """Minutes to fill volume at rate_in a minute while rate_out drains."""
    if rate_in <= rate_out:
        raise ValueError("never fills")
    return Fraction(volume) / (rate_in - rate_out)



def _start(rng, lo=7, hi=15):
    """A starting time on a quarter or a five-minute mark."""
    return rng.randint(lo, hi) * 60 + rng.choice(range(0, 60, 5))


def pick_parts(rng, kinds_of, kinds):
    """Indices of candidates, in story order, whose kinds match the slots.
    Later candidates are the harder ones, so the last is kept when it fits."""
    options = [c for c in combinations(range(len(kinds_of)), len(kinds))
               if tuple(kinds_of[i] for i in c) == tuple(kinds)]
    if not options:
        raise ValueError(f"no parts for {kinds}")
    last = [c for c in options if c[-1] == len(kinds_of) - 1]
    return rng.choice(last or options)


def story(rng, slots, cands, facts):
    """Parts of one story and their worked solution. cands: (kind, part,
    answer, needs) in story order, needs naming the facts of `facts` (name
    -> Step) the part is worked from, in order, its own last. A part shows
    the steps of the facts no earlier part has shown."""
    chosen = [cands[i] for i in pick_parts(rng, [c[0] for c in cands], [s.kind for s in slots])]
    steps, shown = [], set()
    for i, (_, _, _, needs) in enumerate(chosen, 1):
        for name in needs:
            if name not in shown:
                shown.add(name)
                fact = facts[name]
                steps.append(Step(fact.say, fact.work, i, fact.figure))
    return [c[1] for c in chosen], Solution(steps, [c[2] for c in chosen])


def leg(rng, speeds, lo, hi):
    """(speed, minutes, km) of a leg with whole km and minutes on the five."""
    while True:
        speed, mins = rng.choice(speeds), rng.randint(lo, hi) * 5
        km = distance_covered(speed, mins)
        if km.denominator == 1:
            return speed, mins, km


def time_part(prompt, minutes):
    return Part(key=clock(minutes), prompt=prompt, form=TIME_FORM)


# ---------------------------------------------------------------- working

def km(x):
    return qty(n(x), "km")


def kmh(x):
    return qty(n(x), "km/h")


def minutes(x):
    return qty(n(x), "minutes")


def litres(x):
    return qty(n(x), "\u2113")


def hrs(h):
    return qty(fnum(h), "h")


def tell(t):
    """A time of day in the working. Noon, which no answer asks for, is
    "12 noon"."""
    return "12 noon" if t == 12 * 60 else clock(t)


def add_time(start, mins):
    return f"{tell(start)} + {duration(mins)} = {tell(start + mins)}"


def take_time(end, mins):
    return f"{tell(end)} {MINUS} {duration(mins)} = {tell(end - mins)}"


def between(t1, t2):
    """The time from t1 to t2, counted on through the next whole hour."""
    d = t2 - t1
    nxt = (t1 // 60 + 1) * 60
    if t1 % 60 == 0 or t2 <= nxt or d % 60 == 0:
        return f"{tell(t1)} to {tell(t2)} is {duration(d)}"
    return (f"{tell(t1)} to {tell(nxt)} is {duration(nxt - t1)}; {tell(nxt)} to {tell(t2)} is "
            f"{duration(t2 - nxt)}; {duration(nxt - t1)} + {duration(t2 - nxt)} = {duration(d)}")


def in_minutes(mins):
    """"1 h 45 min = 60 min + 45 min = 105 min"."""
    h, m = divmod(int(mins), 60)
    parts = [f"{h * 60}{NBSP}min"] + ([f"{m}{NBSP}min"] if m else [])
    return f"{duration(mins)} = {' + '.join(parts)} = {qty(n(mins), 'min')}"


def time_work(dist, speed, to_minutes=True):
    """Time = distance ÷ speed, in hours and then in minutes."""
    h = Fraction(dist) / speed
    work = f"{n(dist)} {DIV} {n(speed)} = {hrs(h)}"
    if to_minutes:
        work += f" = {qty(n(h * 60), 'min')}"
    return work


def distance_work(speed, mins):
    """Distance = speed × time, the time first changed to hours."""
    h = Fraction(mins, 60)
    if h.denominator == 1:
        return f"{n(speed)} {TIMES} {n(h)} = {km(speed * h)}"
    return f"{duration(mins)} = {hrs(h)}; {n(speed)} {TIMES} {fnum(h)} = {km(speed * h)}"


def speed_steps(dist, mins, part=1, what="distance"):
    """The steps from a distance covered in mins to the distance covered in
    one hour: in a number of minutes that goes into both, then in 60."""
    speed = speed_of(dist, mins)
    g = gcd(int(mins), 60)
    if mins == 60:
        return [Step(f"The {what} covered in 1 hour is the speed.", kmh(speed), part)]
    if g == mins:
        return [Step(f"1 hour is {60 // g} lots of {duration(mins)}.", f"{n(dist)} {TIMES} {60 // g} = {kmh(speed)}", part)]
    if g == 60:
        return [Step(f"Find the {what} in 1 hour: divide by the {qty(mins // 60, 'hours')}.",
                     f"{n(dist)} {DIV} {mins // 60} = {kmh(speed)}", part)]
    chunk = Fraction(dist) * g / mins
    return [Step(f"Find the {what} in {g}{NBSP}min: {duration(mins)} is {mins // g} lots of {g}{NBSP}min.",
                 f"{n(dist)} {DIV} {mins // g} = {km(chunk)}", part),
            Step(f"1 hour is {60 // g} lots of {g}{NBSP}min.", f"{n(chunk)} {TIMES} {60 // g} = {kmh(speed)}", part)]


# ---------------------------------------------------------------- pictures

def route_figure(points, legs, times=None):
    """A route drawn to scale along a line: points are place names, legs the
    km between them; times maps a point index to the lines under it."""
    times = {i: [t] if isinstance(t, str) else t for i, t in (times or {}).items()}
    total = sum(legs)
    width = 580
    # The SVG builder prints floats; Fractions would come out as "391/1".
    scale = (width - 160) / float(total)
    # A point between the ends writes its lines below the ends' lines.
    low = max([len(v) for i, v in times.items() if 0 < i < len(points) - 1] or [0])
    svg = Svg(width, 110 + 18 * low, font=15)
    xs = [80]
    for d in legs:
        xs.append(xs[-1] + float(d) * scale)
    svg.line(xs[0], 46, xs[-1], 46, width=2.5)
    for i, (x, name) in enumerate(zip(xs, points)):
        svg.circle(x, 46, 5, fill="#000", width=1)
        svg.text(x, 30, name, bold=True)
        first = 96 if i in (0, len(points) - 1) else 114
        for k, line in enumerate(times.get(i, [])):
            svg.text(x, first + 18 * k, line, size=14)
    for i, d in enumerate(legs):
        svg.text((xs[i] + xs[i + 1]) / 2, 68, f"{n(d)} km", size=14)
    return svg.render()


def route_alt(points, legs, times=None):
    """What the route figure shows: the places in order, the km between
    them and the times written under them."""
    times = {i: [t] if isinstance(t, str) else t for i, t in (times or {}).items()}
    said = [f"A route drawn to scale from {points[0]} to {points[-1]}."]
    for i, d in enumerate(legs):
        said.append(f"From {points[i]} to {points[i + 1]} is {km(d)}.")
    for i, lines in sorted(times.items()):
        said.append(f"Under {points[i]}: {', '.join(lines)}.")
    return " ".join(said)


def towards_figure(left, right, gap, speed_l, speed_r):
    """Two travellers on one road, with arrows for their directions."""
    svg = Svg(560, 120, font=15)
    x0, x1 = 50, 510
    svg.line(x0, 60, x1, 60, width=2.5)
    for x, name in ((x0, left[1]), (x1, right[1])):
        svg.line(x, 52, x, 68, width=2.5)
        svg.text(x, 88, name, bold=True)
    svg.text((x0 + x1) / 2, 88, f"{n(gap)} km", size=14)
    svg.arrow(x0, 36, x0 + 110, 36, width=2)
    svg.text(x0 + 55, 26, f"{left[0]}, {n(speed_l)} km/h", size=14)
    svg.arrow(x1, 36, x1 - 110, 36, width=2)
    svg.text(x1 - 55, 26, f"{right[0]}, {n(speed_r)} km/h", size=14)
    return svg.render()


def towards_alt(left, right, gap, speed_l, speed_r):
    return (f"A road from {left[1]} on the left to {right[1]} on the right, marked {km(gap)} long. "
            f"An arrow from {left[1]} points right, labelled {left[0]}, {kmh(speed_l)}. "
            f"An arrow from {right[1]} points left, labelled {right[0]}, {kmh(speed_r)}.")


def meeting_figure(left, right, gap, da):
    """The road of towards_figure with the meeting point found: each
    traveller's distance under their part of the road, to scale."""
    svg = Svg(560, 110, font=15)
    x0, x1 = 50, 510
    xm = x0 + (x1 - x0) * float(Fraction(da) / gap)
    svg.line(x0, 50, x1, 50, width=2.5)
    for x, name, anchor in ((x0, left[1], "start"), (x1, right[1], "end")):
        svg.line(x, 42, x, 58, width=2.5)
        svg.text(x, 34, name, anchor=anchor, bold=True)
    svg.circle(xm, 50, 6, fill="#000", width=1)
    svg.text(xm, 16, "they meet", size=14)
    svg.text((x0 + xm) / 2, 78, f"{left[0]}: {n(da)} km", size=14)
    svg.text((xm + x1) / 2, 98, f"{right[0]}: {n(gap - da)} km", size=14)
    return Figure(svg.render(), f"The road from {left[1]} to {right[1]}, {km(gap)} long, with the point where they "
                                f"meet marked: {left[0]} has covered {km(da)} from {left[1]} and {right[0]} "
                                f"{km(gap - da)} from {right[1]}.")


# ---------------------------------------------------------------- one-step and two-step

RATE_THINGS = [  # (what, per, unit of amount, plural unit, lo, hi per minute)
    ("A tap", "fills a tank with", "\u2113", "litres of water", 6, 25),
    ("A printer", "prints", "pages", "pages", 8, 40),
    ("A machine", "packs", "bottles", "bottles", 12, 60),
    ("A bakery machine", "shapes", "buns", "buns", 5, 30),
]
ASK_VERB = {"prints": "print", "packs": "pack", "shapes": "shape"}
DONE_VERB = {"prints": "printed", "packs": "packed", "shapes": "shaped"}


def _amount(x, unit, words):
    """45 ℓ, or 216 pages."""
    return litres(x) if unit == "\u2113" else f"{n(x)} {words}"


def _how_many_in(verb, unit, words, mins):
    if unit == "\u2113":
        return f"How many litres of water flow in {mins}?"
    return f"How many {words} does it {ASK_VERB[verb]} in {mins}?"


@family("rate.unit-rate", TOPIC, ["N"], levels=(1, 2))
def unit_rate(rng, level, slots):
    who, verb, unit, words, lo, hi = rng.choice(RATE_THINGS)
    rate = rng.randint(lo, hi)
    mins = rng.randint(3, 12)
    amount = rate * mins
    per_min = Step(f"Divide {_amount(amount, unit, words)} by {mins} to find the amount in 1 minute.",
                   f"{n(amount)} {DIV} {mins} = {_amount(rate, unit, words)}")
    text = p(f"{who} {verb} {_amount(amount, unit, words)} in {minutes(mins)}.")
    if level == 1:
        if rng.random() < 0.5:
            text += p(f"How many {words} is that per minute?")
            return Question(text, [Part(key=num(rate), unit=unit)], solution=Solution([per_min], [rate]))
        (s1, pl, (plo, phi)) = rng.choice(SHOP_ITEMS)
        price = Fraction(rng.randint(plo * 4, phi * 4), 4)
        k = rng.randint(3, 9)
        text = p(f"{k} {pl} cost {money(price * k)}.", f"What is the cost of one {s1}?")
        steps = [Step(f"Share the cost equally among the {k} {pl}.", f"{money(price * k)} {DIV} {k} = {money(price)}")]
        return Question(text, [Part(key=num(price), unit_before="$")], solution=Solution(steps, [price]))
    other = rng.choice([m for m in range(5, 25) if m != mins])
    ask = _how_many_in(verb, unit, words, minutes(other))
    text += p("At this rate, " + ask[0].lower() + ask[1:])
    steps = [per_min, Step(f"Multiply the amount in 1 minute by {other}.",
                           f"{n(rate)} {TIMES} {other} = {_amount(rate * other, unit, words)}")]
    return Question(text, [Part(key=num(rate * other), unit=unit)], solution=Solution(steps, [rate * other]))


@family("rate.rate-total", TOPIC, ["N"], levels=(1, 2, 3))
def rate_total(rng, level, slots):
    who, verb, unit, words, lo, hi = rng.choice(RATE_THINGS)
    rate = rng.randint(lo, hi)
    first = p(f"{who} {verb} {_amount(rate, unit, words)} per minute.")
    if level == 1:
        mins = rng.randint(4, 15)
        if rng.random() < 0.5:
            text = first + p(_how_many_in(verb, unit, words, minutes(mins)))
            steps = [Step(f"Each minute adds {_amount(rate, unit, words)}. Multiply by {mins}.",
                          f"{rate} {TIMES} {mins} = {_amount(rate * mins, unit, words)}")]
            return Question(text, [Part(key=num(rate * mins), unit=unit)], solution=Solution(steps, [rate * mins]))
        total = rate * mins
        text = first + p(f"How many minutes does it take to {ASK_VERB.get(verb, 'fill')} "
                         f"{_amount(total, unit, words)}?")
        steps = [Step(f"Find how many lots of {_amount(rate, unit, words)} make {_amount(total, unit, words)}.",
                      f"{n(total)} {DIV} {rate} = {minutes(mins)}")]
        return Question(text, [Part(key=num(fill_minutes(total, rate)), unit="minutes")],
                        solution=Solution(steps, [mins]))
    if level == 2:
        h, m = rng.randint(1, 2), rng.choice([10, 15, 20, 30, 45])
        mins = h * 60 + m
        text = first + p(_how_many_in(verb, unit, words, duration(mins)))
        steps = [Step(f"Change {duration(mins)} to minutes.", in_minutes(mins)),
                 Step(f"Each minute adds {_amount(rate, unit, words)}. Multiply by {mins}.",
                      f"{rate} {TIMES} {mins} = {_amount(rate * mins, unit, words)}")]
        return Question(text, [Part(key=num(rate * mins), unit=unit)], solution=Solution(steps, [rate * mins]))
    # Two taps fill together while a drain lets water out.
    a, b = rng.randint(8, 20), rng.randint(5, 15)
    drain = rng.randint(2, 6) if rng.random() < 0.5 else 0
    mins = rng.randint(8, 30)
    volume = (a + b - drain) * mins
    leak = (f" While they run, water drains out of the tank at {litres(drain)} per minute." if drain else "")
    text = p(f"An empty tank holds {litres(volume)} of water when full.",
             f"Tap A fills it at {litres(a)} per minute and Tap B at {litres(b)} per minute.",
             f"Both taps are turned on at the same time.{leak}",
             "How many minutes does it take to fill the tank?")
    steps = [Step("Add the water both taps let in each minute.", f"{a} + {b} = {litres(a + b)} per minute")]
    if drain:
        steps.append(Step("Take away the water that drains out each minute.",
                          f"{a + b} {MINUS} {drain} = {litres(a + b - drain)} per minute"))
    steps.append(Step(f"Find how many lots of {litres(a + b - drain)} fill {litres(volume)}.",
                      f"{n(volume)} {DIV} {a + b - drain} = {minutes(mins)}"))
    return Question(text, [Part(key=num(fill_minutes(volume, a + b, drain)), unit="minutes")],
                    solution=Solution(steps, [mins]))


@family("rate.speed-basics", TOPIC, ["N"], levels=(1, 2))
def speed_basics(rng, level, slots):
    who = names(rng, 1)[0]
    he, his = pronoun(who), possessive(who)
    how, speeds = rng.choice([("drove", [40, 45, 48, 50, 54, 60, 72, 75, 80, 90]),
                              ("cycled", [12, 15, 16, 18, 20, 24]), ("ran", [8, 9, 10, 12])])
    what = rng.choice(["distance", "speed", "time"])
    if level == 1:
        speed, hours = rng.choice(speeds), rng.randint(2, 5)
        dist = speed * hours
        if what == "distance":
            text = p(f"{who} {how} at {kmh(speed)} for {qty(hours, 'hours')}.", f"How far did {he} travel?")
            steps = [Step(f"Each hour {he} covered {km(speed)}. Distance = speed {TIMES} time.",
                          f"{speed} {TIMES} {hours} = {km(dist)}")]
            return Question(text, [Part(key=num(distance_covered(speed, hours * 60)), unit="km")],
                            solution=Solution(steps, [dist]))
        if what == "speed":
            text = p(f"{who} {how} {km(dist)} in {qty(hours, 'hours')}.", f"What was {his} speed?")
            steps = [Step(f"Speed is the distance covered in 1 hour: divide the distance by {hours}.",
                          f"{dist} {DIV} {hours} = {kmh(speed)}")]
            return Question(text, [Part(key=num(speed_of(dist, hours * 60)), unit="km/h")],
                            solution=Solution(steps, [speed]))
        text = p(f"{who} {how} {km(dist)} at {kmh(speed)}.", "How many hours did the journey take?")
        steps = [Step(f"Each hour {he} covered {km(speed)}. Time = distance {DIV} speed.",
                      f"{dist} {DIV} {speed} = {qty(hours, 'h')}")]
        return Question(text, [Part(key=num(travel_minutes(dist, speed) / 60), unit="hours")],
                        solution=Solution(steps, [hours]))
    mins = rng.choice([15, 20, 30, 40, 45, 50, 75, 90])
    speed = rng.choice(speeds)
    dist = distance_covered(speed, mins)
    if dist.denominator != 1 and (dist * 2).denominator != 1:
        raise ValueError("distance not a whole or a half")
    if what == "distance":
        text = p(f"{who} {how} at {kmh(speed)} for {duration(mins)}.", f"How far did {he} travel?")
        steps = [Step("Change the time to hours.", f"{duration(mins)} = {frac(mins, 60)}{NBSP}h = {hrs(Fraction(mins, 60))}"),
                 Step(f"Distance = speed {TIMES} time.",
                      f"{speed} {TIMES} {fnum(Fraction(mins, 60))} = {km(dist)}")]
        return Question(text, [Part(key=num(dist), unit="km")], solution=Solution(steps, [dist]))
    if what == "speed":
        text = p(f"{who} {how} {km(dist)} in {duration(mins)}.", f"What was {his} speed in km/h?")
        steps = speed_steps(dist, mins)
        return Question(text, [Part(key=num(speed_of(dist, mins)), unit="km/h")],
                        solution=Solution(steps, [speed]))
    text = p(f"{who} {how} {km(dist)} at {kmh(speed)}.", "How many minutes did the journey take?")
    h = Fraction(mins, 60)
    steps = [Step(f"Time = distance {DIV} speed, in hours.", f"{n(dist)} {DIV} {speed} = {hrs(h)}"),
             Step(f"Change the hours to minutes: 1 hour is {minutes(60)}.", f"{fnum(h)} {TIMES} 60 = {qty(mins, 'min')}")]
    return Question(text, [Part(key=num(travel_minutes(dist, speed)), unit="minutes")],
                    solution=Solution(steps, [mins]))


def m_per_min(x):
    return qty(n(x), "m/min")


@family("rate.convert-speed", TOPIC, ["N", "Q"], levels=(1, 2))
def convert_speed(rng, level, slots):
    v = rng.choice(range(6, 121, 6))
    mmin = kmh_to_m_per_min(v)
    to_m = [Step(f"{km(v)} is {qty(n(v * 1000), 'm')}, so {kmh(v)} is {qty(n(v * 1000), 'm')} in {minutes(60)}.",
                 f"{v} {TIMES} {n(1000)} = {qty(n(v * 1000), 'm')}"),
            Step("Divide by 60 to find the metres in 1 minute.", f"{n(v * 1000)} {DIV} 60 = {m_per_min(mmin)}")]
    to_km = [Step(f"In {minutes(60)}, {m_per_min(mmin)} covers 60 times as far.",
                  f"{n(mmin)} {TIMES} 60 = {qty(n(mmin * 60), 'm')}"),
             Step(f"Change metres to kilometres: {qty(n(1000), 'm')} = {qty(1, 'km')}.",
                  f"{n(mmin * 60)} {DIV} {n(1000)} = {km(v)}, so the speed is {kmh(v)}")]
    if slots[0].kind == "N":
        if level == 1:
            if rng.random() < 0.5:
                return Question(p(f"Express {kmh(v)} in m/min."), [Part(key=num(mmin), unit="m/min")],
                                solution=Solution(to_m, [mmin]))
            mover = "A train" if v > 60 else ("A car" if v > 24 else "A cyclist")
            return Question(p(f"{mover} travels at {kmh(v)}.", "How many metres does it travel in one minute?"),
                            [Part(key=num(mmin), unit="m")], solution=Solution(to_m, [mmin]))
        who = names(rng, 1)[0]
        his = possessive(who)
        if rng.random() < 0.4:
            text = p(f"Express {m_per_min(mmin)} in km/h.")
        elif v <= 6:
            text = p(f"{who} walks {qty(n(mmin), 'm')} every minute.", f"What is {his} speed in km/h?")
        elif v <= 24:
            text = p(f"{who} cycles {qty(n(mmin), 'm')} every minute.", f"What is {his} speed in km/h?")
        else:
            text = p(f"A car travels {qty(n(mmin), 'm')} every minute.", "What is its speed in km/h?")
        return Question(text, [Part(key=num(m_per_min_to_kmh(mmin)), unit="km/h")],
                        solution=Solution(to_km, [v]))
    if level == 1:
        right = m_per_min(mmin)
        part = choice(rng, right, [
            (m_per_min(v * 1000), f"changes km into m but forgets to divide by the {minutes(60)} in an hour"),
            (m_per_min(Fraction(v, 60)), "divides by 60 but forgets to change km into m"),
            (m_per_min(Fraction(v * 100, 60)), f"takes {km(1)} as {qty(100, 'm')} instead of {qty(n(1000), 'm')}")],
            prompt=f"Which of these is the same as {kmh(v)}?")
        why = f"{kmh(v)} is {qty(n(v * 1000), 'm')} in {minutes(60)}, which is {right} in 1 minute."
        return Question("", [part], solution=Solution(to_m, [right], why=why))
    right = kmh(v)
    part = choice(rng, right, [
        (kmh(Fraction(mmin, 1000)), f"changes m into km but forgets that an hour has {minutes(60)}"),
        (kmh(mmin * 60), "multiplies by 60 but forgets to change m into km"),
        (kmh(Fraction(mmin * 60, 100)), f"takes {km(1)} as {qty(100, 'm')} instead of {qty(n(1000), 'm')}")],
        prompt=f"Which of these is the same as {m_per_min(mmin)}?")
    why = f"{m_per_min(mmin)} is {qty(n(mmin * 60), 'm')} in {minutes(60)}, which is {km(v)} in 1 hour."
    return Question("", [part], solution=Solution(to_km, [right], why=why))


EVENTS = ["A film", "A concert", "A school sports day", "A football match", "A cooking class"]


@family("rate.duration", TOPIC, ["N"], levels=(1, 2))
def duration_question(rng, level, slots):
    start = _start(rng, 8, 13)
    event = rng.choice(EVENTS)
    if level == 1:
        length = rng.randint(5, 22) * 5
    else:
        length = rng.randint(4, 20) * 5 + 60 + rng.randint(1, 2) * 60
    end = start + length
    clock(end)
    count = Step("Count on from the start to the end, through the next whole hour.", between(start, end))
    steps = [count] + ([Step("Change the time to minutes.", in_minutes(length))] if length > 60 else [])
    if level == 1 or rng.random() < 0.5:
        text = p(f"{event} began at {clock(start)} and ended at {clock(end)}.", "How many minutes did it last?")
        return Question(text, [Part(key=num(minutes_between(start, end)), unit="minutes")],
                        solution=Solution(steps, [length]))
    # A train's speed from its timetable times.
    speed = rng.choice([40, 48, 54, 60, 72, 80, 90])
    dist = distance_covered(speed, length)
    if dist.denominator != 1:
        raise ValueError("distance not whole")
    text = p(f"A train left Northgate at {clock(start)} and reached Southport, {km(dist)} away, at {clock(end)}.",
             "What was its average speed?")
    steps = [Step("Find how long the journey took.", between(start, end))] + speed_steps(dist, length)
    return Question(text, [Part(key=num(speed_of(dist, minutes_between(start, end))), unit="km/h")],
                    solution=Solution(steps, [speed]))


@family("rate.average-speed", TOPIC, ["N"], levels=(2, 3))
def average_speed_question(rng, level, slots):
    who = names(rng, 1)[0]
    he, his = pronoun(who), possessive(who)
    while True:
        t1, t2 = rng.choice([30, 40, 45, 60, 90, 120]), rng.choice([20, 30, 45, 60, 90])
        s1, s2 = rng.randint(8, 18) * 5, rng.randint(8, 18) * 5
        d1, d2 = distance_covered(s1, t1), distance_covered(s2, t2)
        rest = rng.choice([0, 15, 30]) if level == 3 else 0
        avg = average_speed([(d1, t1), (0, rest), (d2, t2)])
        if d1.denominator == 1 and d2.denominator == 1 and avg.denominator == 1 and s1 != s2:
            break
    whole = t1 + rest + t2
    if level == 2:
        text = p(f"{who} drove {km(d1)} in {duration(t1)} and then another {km(d2)} in {duration(t2)}.",
                 f"What was {his} average speed for the whole journey?")
        steps = [Step("Add the distances.", f"{n(d1)} + {n(d2)} = {km(d1 + d2)}"),
                 Step("Add the times.", f"{duration(t1)} + {duration(t2)} = {duration(whole)}")]
        steps += speed_steps(d1 + d2, whole, what="distance")
        steps[2].say = "Average speed is the whole distance over the whole time. " + steps[2].say
        return Question(text, [Part(key=num(average_speed([(d1, t1), (d2, t2)])), unit="km/h")],
                        solution=Solution(steps, [avg]))
    stop = f" {he.capitalize()} stopped for {minutes(rest)} for lunch." if rest else ""
    text = p(f"{who} drove for {duration(t1)} at {kmh(s1)}.{stop}",
             f"Then {he} drove {km(d2)} at {kmh(s2)}.",
             "What was the average speed for the whole journey" + (", including the stop?" if rest else "?"))
    key = average_speed([(distance_covered(s1, t1), t1), (0, rest), (d2, travel_minutes(d2, s2))])
    steps = [Step("Find the distance of the first part: distance = speed " + TIMES + " time.", distance_work(s1, t1)),
             Step("Find the time of the second part: time = distance " + DIV + " speed.", time_work(d2, s2)),
             Step("Add the distances, and the times" + (" with the stop" if rest else "") + ".",
                  f"{n(d1)} + {n(d2)} = {km(d1 + d2)}; "
                  + " + ".join(duration(t) for t in (t1, rest, t2) if t) + f" = {duration(whole)}")]
    steps += speed_steps(d1 + d2, whole)
    steps[3].say = "Average speed is the whole distance over the whole time. " + steps[3].say
    return Question(text, [Part(key=num(key), unit="km/h")], solution=Solution(steps, [avg]))


@family("rate.meeting", TOPIC, ["N"], levels=(3,))
def meeting(rng, level, slots):
    a, b = names(rng, 2)
    while True:
        va, vb = rng.randint(6, 16) * 5, rng.randint(6, 16) * 5
        mins = rng.choice([30, 45, 60, 90, 120, 150])
        gap = distance_covered(va + vb, mins)
        if gap.denominator == 1 and va != vb:
            break
    if rng.random() < 0.5:
        text = p(f"{a} and {b} set off at the same time from two towns {km(gap)} apart and drive towards each other.",
                 f"{a} drives at {kmh(va)} and {b} drives at {kmh(vb)}.",
                 f"How far from {a}\u2019s town do they meet?")
        key = distance_covered(va, meeting_minutes(gap, va, vb))
        if key.denominator != 1:
            raise ValueError("meeting point not whole")
        h = Fraction(mins, 60)
        steps = [Step("Each hour they come closer by both their speeds together.",
                      f"{va} + {vb} = {kmh(va + vb)}"),
                 Step(f"Find how long they take to close the {km(gap)} between them.",
                      f"{n(gap)} {DIV} {va + vb} = {hrs(h)}"),
                 Step(f"In that time {a} drives at {kmh(va)}.", f"{va} {TIMES} {fnum(h)} = {km(key)}",
                      figure=meeting_figure((a, f"{a}\u2019s town"), (b, f"{b}\u2019s town"), gap, key))]
        return Question(text, [Part(key=num(key), unit="km")], solution=Solution(steps, [key]))
    # Catching up: b starts later from the same place.
    va, vb = rng.choice([(40, 60), (45, 60), (50, 75), (60, 80), (48, 72), (60, 90)])
    later = rng.choice([20, 30, 40, 60])
    lead = distance_covered(va, later)
    if lead.denominator != 1:
        raise ValueError("lead not whole")
    text = p(f"{a} leaves a town and drives along a highway at {kmh(va)}.",
             f"{minutes(later)} later, {b} leaves the same town and drives along the same highway at {kmh(vb)}.",
             f"How many minutes after setting off does {b} catch up with {a}?")
    key = catch_up_minutes(lead, vb, va)
    steps = [Step(f"Find how far ahead {a} is when {b} sets off.", distance_work(va, later)),
             Step(f"Each hour {b} closes the gap by the difference in their speeds.",
                  f"{vb} {MINUS} {va} = {kmh(vb - va)}"),
             Step(f"Find how long {b} takes to close {km(lead)}.", time_work(lead, vb - va))]
    return Question(text, [Part(key=num(key), unit="minutes")], solution=Solution(steps, [key]))


@family("rate.best-buy", TOPIC, ["Q"], levels=(1, 2))
def best_buy(rng, level, slots):
    thing, unit = rng.choice([("rice", "kg"), ("cooking oil", "\u2113"), ("washing powder", "kg"),
                              ("apple juice", "\u2113")])
    labels = ["A", "B", "C", "D"]
    while True:
        sizes = rng.sample([1, 2, 3, 4, 5, 6], 4) if level == 2 else rng.sample([1, 2, 4, 5], 4)
        # Prices per unit in cents, all different, each pack a whole number of 5 cents.
        per = rng.sample(range(120, 400, 5), 4)
        prices = [Fraction(c * s, 100) for c, s in zip(per, sizes)]
        # Each wrong pack is the one a real slip picks: the lowest price, the
        # biggest pack, or the most per dollar read the wrong way round.
        picks = [min(range(4), key=per.__getitem__), min(range(4), key=prices.__getitem__),
                 max(range(4), key=sizes.__getitem__), max(range(4), key=per.__getitem__)]
        if all((x * 20).denominator == 1 for x in prices) and len(set(picks)) == 4:
            break
    best, cheapest, biggest, dearest = picks
    rows = [[f"Pack {lab}", qty(s, unit), money(pr)] for lab, s, pr in zip(labels, sizes, prices)]
    text = p(f"A shop sells {thing} in four packs.") + table(["Pack", "Amount", "Price"], rows)
    options = [f"Pack {x}" for x in labels]
    slips = {options[cheapest]: "picks the lowest price without dividing it by the amount in the pack",
             options[biggest]: f"picks the biggest pack, as if a bigger pack always cost less for {qty(1, unit)}",
             options[dearest]: f"divides the amount by the price, which gives the {unit} for $1, and then "
                               "picks the smallest result"}
    part = choice_in_order(options, options[best], slips, f"Which pack gives the lowest cost for {qty(1, unit)}?")
    steps = [Step(f"Find the cost of {qty(1, unit)} in each pack: divide the price by the amount.",
                  "<br/>".join(f"Pack {lab}: {money(pr)} {DIV} {s} = {money(Fraction(c, 100))}"
                               for lab, s, pr, c in zip(labels, sizes, prices, per))),
             Step(f"Compare the costs of {qty(1, unit)}.",
                  f"{money(Fraction(per[best], 100))} is the lowest")]
    why = f"{qty(1, unit)} costs {money(Fraction(per[best], 100))} in Pack {labels[best]}, less than in any other pack."
    return Question(text, [part], solution=Solution(steps, [options[best]], why=why))


VEHICLES = ["A bus", "A train", "A ferry", "A coach"]


@family("rate.arrival-time", TOPIC, ["T"], levels=(1, 2, 3))
def arrival_time(rng, level, slots):
    start = _start(rng, 7, 14)
    vehicle = rng.choice(VEHICLES)
    if level == 1:
        length = rng.randint(3, 40) * 5
        text = p(f"{vehicle} left at {clock(start)}. The journey took {duration(length)}.",
                 "At what time did it arrive?")
        steps = [Step("Add the time of the journey to the time it left.", add_time(start, length))]
        return Question(text, [time_part("", start + length)], solution=Solution(steps, [clock(start + length)]))
    speeds = [40, 45, 50, 60, 72, 80, 90]
    speed, length, dist = leg(rng, speeds, 6, 40)
    if level == 2:
        text = p(f"{vehicle} left at {clock(start)} and travelled {km(dist)} at an average speed of {kmh(speed)}.",
                 "At what time did it arrive?")
        steps = [Step(f"Find the time of the journey: time = distance {DIV} speed.", time_work(dist, speed)),
                 Step("Add it to the time it left.", add_time(start, length))]
        return Question(text, [time_part("", start + travel_minutes(dist, speed))],
                        solution=Solution(steps, [clock(start + length)]))
    stop = rng.choice([10, 15, 20, 25, 30])
    speed2, len2, dist2 = leg(rng, speeds, 4, 24)
    text = p(f"{vehicle} left Ashton at {clock(start)} and travelled {km(dist)} to Brimley at {kmh(speed)}.",
             f"It stopped at Brimley for {minutes(stop)}, then travelled {km(dist2)} to Carlow at {kmh(speed2)}.",
             "At what time did it reach Carlow?")
    end = start + travel_minutes(dist, speed) + stop + travel_minutes(dist2, speed2)
    whole = length + stop + len2
    steps = [Step("Find the time from Ashton to Brimley: time = distance " + DIV + " speed.", time_work(dist, speed)),
             Step("Find the time from Brimley to Carlow.", time_work(dist2, speed2)),
             Step("Add the two journeys and the stop.",
                  f"{duration(length)} + {duration(stop)} + {duration(len2)} = {duration(whole)}"),
             Step("Add the total to the time it left Ashton.", add_time(start, whole))]
    return Question(text, [time_part("", end)], solution=Solution(steps, [clock(end)]))


@family("rate.departure-time", TOPIC, ["T"], levels=(1, 2, 3))
def departure_time(rng, level, slots):
    who = names(rng, 1)[0]
    he = pronoun(who)
    end = _start(rng, 9, 17)
    place = rng.choice(["the airport", "the museum", "{his} grandmother\u2019s house", "the stadium", "the zoo"])
    place = place.format(his=possessive(who))
    if level == 1:
        length = rng.randint(3, 30) * 5
        text = p(f"{who} reached {place} at {clock(end)}. The journey took {duration(length)}.",
                 f"At what time did {he} set off?")
        steps = [Step("Work backwards: take the time of the journey away from the time of arrival.",
                      take_time(end, length))]
        return Question(text, [time_part("", end - length)], solution=Solution(steps, [clock(end - length)]))
    speed, length, dist = leg(rng, [40, 45, 48, 50, 60, 75, 80], 5, 30)
    time = Step(f"Find the time of the journey: time = distance {DIV} speed.", time_work(dist, speed))
    if level == 2:
        text = p(f"{who} drove {km(dist)} to {place} at an average speed of {kmh(speed)} and arrived at {clock(end)}.",
                 f"At what time did {he} set off?")
        steps = [time, Step("Work backwards from the time of arrival.", take_time(end, length))]
        return Question(text, [time_part("", end - travel_minutes(dist, speed))],
                        solution=Solution(steps, [clock(end - length)]))
    early = rng.choice([10, 15, 20, 30])
    text = p(f"{who} must be at {place} by {clock(end)} and wants to arrive {minutes(early)} early.",
             f"The journey is {km(dist)} and {he} drives at an average speed of {kmh(speed)}.",
             f"What is the latest time {he} can set off?")
    steps = [Step(f"Find when {he} wants to arrive.", take_time(end, early)), time,
             Step("Work backwards from that time.", take_time(end - early, length))]
    return Question(text, [time_part("", end - early - length)],
                    solution=Solution(steps, [clock(end - early - length)]))


@family("rate.finish-time", TOPIC, ["T"], levels=(2, 3))
def finish_time(rng, level, slots):
    who, verb, unit, words, lo, hi = rng.choice(RATE_THINGS)
    rate = rng.randint(lo, hi)
    mins = rng.randint(5, 30) * 5
    amount = rate * mins
    start = _start(rng, 8, 14)
    tap = unit == "\u2113"

    def done(count, have="has"):
        if tap:
            return f"{litres(count)} of water have flowed into the tank"
        return f"it {have} {DONE_VERB[verb]} {n(count)} {words}"

    def spell(count):
        return Step(f"Find how long it takes to {'let in' if tap else ASK_VERB[verb]} {_amount(count, unit, words)}.",
                    f"{n(count)} {DIV} {rate} = {minutes(Fraction(count, rate))}")
    first = p(f"{who} {verb} {_amount(rate, unit, words)} per minute. It is turned on at {clock(start)}.")
    if level == 2:
        text = first + p(f"At what time will {done(amount, 'have')}?")
        steps = [spell(amount), Step("Add that time to the time it was turned on.", add_time(start, mins))]
        return Question(text, [time_part("", start + fill_minutes(amount, rate))],
                        solution=Solution(steps, [clock(start + mins)]))
    pause = rng.choice([10, 15, 20, 30])
    # The pause comes after a whole number of minutes, so a pupil can time both spells.
    half = rate * rng.randint(mins // 3, 2 * mins // 3)
    text = first + p(f"When {done(half)}, it is turned off for {minutes(pause)} and then turned on again "
                     "at the same rate.",
                     f"At what time will {done(amount, 'have')}?")
    end = start + fill_minutes(half, rate) + pause + fill_minutes(amount - half, rate)
    m1, m2 = half // rate, (amount - half) // rate
    steps = [spell(half),
             Step(f"The rest is {n(amount)} {MINUS} {n(half)} = {_amount(amount - half, unit, words)}.",
                  f"{n(amount - half)} {DIV} {rate} = {minutes(m2)}"),
             Step("Add the two spells and the pause.",
                  f"{m1}{NBSP}min + {pause}{NBSP}min + {m2}{NBSP}min = {duration(m1 + pause + m2)}"),
             Step("Add the total to the time it was turned on.", add_time(start, m1 + pause + m2))]
    return Question(text, [time_part("", end)], solution=Solution(steps, [clock(end)]))


@family("rate.who-first", TOPIC, ["T"], levels=(2, 3))
def who_first(rng, level, slots):
    a, b = names(rng, 2)
    while True:
        sa, sb = rng.randint(8, 20), rng.randint(8, 20)
        ta, tb = rng.randint(4, 18) * 5, rng.randint(4, 18) * 5
        da, db = distance_covered(sa, ta), distance_covered(sb, tb)
        # The faster rider has the longer ride, so only the times tell.
        if (da.denominator == 1 and db.denominator == 1 and sa != sb and abs(ta - tb) >= 5
                and (sa > sb) == (da > db) and da != db):
            break
    ride = [Step(f"Find how long {a}\u2019s ride takes: time = distance {DIV} speed.", time_work(da, sa)),
            Step(f"Find how long {b}\u2019s ride takes.", time_work(db, sb))]
    if level == 2:
        text = p(f"{a} and {b} set off from school at the same time and cycled home.",
                 f"{a} cycled {km(da)} at {kmh(sa)}. {b} cycled {km(db)} at {kmh(sb)}.",
                 "Who reached home first?")
        arrive = {a: travel_minutes(da, sa), b: travel_minutes(db, sb)}
        key = min(arrive, key=arrive.get)
        steps = ride + [Step("They set off together, so the one whose ride takes less time gets home first.",
                             f"{minutes(arrive[key])} is less than {minutes(max(arrive.values()))}")]
        return Question(text, [Part(key=key, form=NAME_FORM)], solution=Solution(steps, [key]))
    start_a = _start(rng, 7, 9)
    start_b = start_a + rng.choice([-10, -5, 5, 10, 15])
    text = p(f"{a} and {b} cycled to the park.",
             f"{a} left home at {clock(start_a)} and cycled {km(da)} at {kmh(sa)}.",
             f"{b} left home at {clock(start_b)} and cycled {km(db)} at {kmh(sb)}.",
             "Who reached the park first?")
    left, ride_minutes = {a: start_a, b: start_b}, {a: ta, b: tb}
    arrive = {x: left[x] + ride_minutes[x] for x in (a, b)}
    key = min(arrive, key=arrive.get)
    other = b if key == a else a
    # Not decided at a glance: the first home did not both leave first and ride for less time.
    if arrive[a] == arrive[b] or (left[key] <= left[other] and ride_minutes[key] < ride_minutes[other]):
        raise ValueError("a tie, or a winner seen without working")
    steps = [ride[0], Step(f"Find when {a} reached the park.", add_time(start_a, ta)),
             ride[1], Step(f"Find when {b} reached the park.", add_time(start_b, tb)),
             Step("Compare the two times.", f"{key} arrived first, at {tell(arrive[key])}")]
    return Question(text, [Part(key=key, form=NAME_FORM)], solution=Solution(steps, [key]))


CHARGES = [
    # (title, thing, first units, first charge, step, step charge, unit word)
    ("Car park charges", "parking", 60, 2, 30, Fraction(6, 5), "minutes"),
    ("Car park charges", "parking", 120, Fraction(7, 2), 60, Fraction(3, 2), "minutes"),
    ("Taxi fares", "a taxi ride", 1000, Fraction(16, 5), 400, Fraction(1, 4), "m"),
    ("Bicycle hire", "hiring a bicycle", 60, 5, 30, 2, "minutes"),
]


def _measure(x, unit):
    """A stretch of the charge's unit: 400 m, 1 km, 1 h 30 min."""
    if unit == "m":
        return km(Fraction(x, 1000)) if x % 1000 == 0 else qty(n(x), "m")
    return duration(x)


def _charge_rows(first, first_charge, step, step_charge, unit):
    return [[f"First {_measure(first, unit)}", money(first_charge)],
            [f"Every {_measure(step, unit)} or part of it after that", money(step_charge)]]


def _work_unit(x, unit):
    """A stretch in the working, always in the unit of the table's steps."""
    return qty(n(x), "m" if unit == "m" else "min")


def fare_steps(amount, first, c1, step, c2, unit):
    """The charge for amount: the first stretch, then every step or part."""
    extra = amount - first
    count = -(-extra // step)
    whole, left = divmod(extra, step)
    how = (f"{n(extra)} {DIV} {step} = {whole}" + (f" remainder {left}, and the part counts as a whole "
                                                    f"{_measure(step, unit)}: {count}" if left else ""))
    return [Step(f"Find how much is charged for after the first {_measure(first, unit)}, in lots of "
                 f"{_measure(step, unit)}.",
                 f"{_work_unit(amount, unit)} {MINUS} {_work_unit(first, unit)} = {_work_unit(extra, unit)}; {how}"),
            Step("Add the charges.", f"{money(c1)} + {count} {TIMES} {money(c2)} = {money(c1 + count * c2)}")]


def longest_steps(paid, first, c1, step, c2, unit):
    """The most a charge of paid buys: the first stretch and as many steps
    as the rest of the money pays for."""
    count = (Fraction(paid) - c1) / c2
    most = first + count * step
    work = (f"{_work_unit(first, unit)} + {n(count)} {TIMES} {_work_unit(step, unit)} = "
            f"{_work_unit(first, unit)} + {_work_unit(count * step, unit)} = {_work_unit(most, unit)}")
    if unit == "m":
        work += f" = {km(Fraction(most, 1000))}"
    return [Step(f"Take away the charge for the first {_measure(first, unit)}.",
                 f"{money(paid)} {MINUS} {money(c1)} = {money(paid - c1)}"),
            Step(f"Find how many lots of {money(c2)} that pays for.", f"{money(paid - c1)} {DIV} {money(c2)} = {n(count)}"),
            Step(f"Each lot pays for up to {_measure(step, unit)} more after the first {_measure(first, unit)}.", work)]


@family("rate.charges", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def charges(rng, level, slots):
    title, thing, first, c1, step, c2, unit = rng.choice(CHARGES)
    card = table([title, "Charge"], _charge_rows(first, c1, step, c2, unit))
    who = names(rng, 1)[0]
    if unit == "m":
        trip = first + rng.randint(3, 20) * step - rng.choice([0, 0, 150])
        ask1 = p(f"{who} took a taxi ride of {km(Fraction(trip, 1000))}. How much was the fare?")
        fare = stepped_charge(trip, first, c1, step, c2)
        part1 = Part(key=num(fare), prompt=ask1, unit_before="$")
        steps1 = [Step(f"Change {km(Fraction(trip, 1000))} to metres.", f"{km(Fraction(trip, 1000))} = {qty(n(trip), 'm')}")]
        steps1 += fare_steps(trip, first, c1, step, c2, unit)
        count = rng.randint(4, 25)
        paid = c1 + count * c2
        ask2 = p(f"{'A' if len(slots) == 1 else 'Another'} ride cost {money(paid)}. "
                 "What is the longest distance, in km, the ride could have been?")
        longest = Fraction(units_for_charge(paid, first, c1, step, c2), 1000)
        part2 = Part(key=num(longest), prompt=ask2, unit="km")
    else:
        start = _start(rng, 8, 12)
        stay = first + rng.randint(1, 8) * step - rng.choice([0, 10, 20])
        end = start + stay
        clock(end)
        ask1 = p(f"{who} started {thing} at {clock(start)} and finished at {clock(end)}. "
                 f"How much did {pronoun(who)} pay?")
        fare = stepped_charge(minutes_between(start, end), first, c1, step, c2)
        part1 = Part(key=num(fare), prompt=ask1, unit_before="$")
        steps1 = [Step(f"Find how long {who} {'parked' if thing == 'parking' else 'had the bicycle'}.",
                       between(start, end) + (f" = {qty(stay, 'min')}" if stay > 60 else ""))]
        steps1 += fare_steps(stay, first, c1, step, c2, unit)
        count = rng.randint(2, 9)
        paid = c1 + count * c2
        ask2 = p(f"{'A' if len(slots) == 1 else 'Another'} customer paid {money(paid)}. "
                 f"What is the longest time, in minutes, the customer could have "
                 f"{'parked' if thing == 'parking' else 'hired the bicycle'} for?")
        longest = units_for_charge(paid, first, c1, step, c2)
        part2 = Part(key=num(longest), prompt=ask2, unit="minutes")
    steps2 = [Step(s.say, s.work, 2) for s in longest_steps(paid, first, c1, step, c2, unit)]
    text = p(f"The table shows the charges for {thing}.") + card
    if len(slots) == 1:
        if rng.random() < 0.5:
            return Question(text, [part1], solution=Solution(steps1, [fare]))
        return Question(text, [part2], solution=Solution([Step(s.say, s.work) for s in steps2], [longest]))
    return Question(text, [part1, part2], solution=Solution(steps1 + steps2, [fare, longest]))


# ---------------------------------------------------------------- stories with parts

MULTI = [("N", "N"), ("N", "T"), ("T", "N"), ("N", "N", "N"), ("N", "N", "T")]
TOWNS = ["Ashton", "Brimley", "Carlow", "Dunmore", "Elmfield", "Fernhill", "Greyford", "Holbury"]
ADULTS = [nb(*a.split()) for a in ("Mr Tan", "Mrs Lim", "Mr Kumar", "Mrs Ong", "Mr Hassan", "Mrs Lee",
                                   "Mr Rahman", "Mrs Das")]


@family("rate.journey", TOPIC, MULTI[:4], levels=(2, 3))
def journey(rng, level, slots):
    """A car's journey in two legs with a stop, drawn as a route."""
    a, b, c = rng.sample(TOWNS, 3)
    driver = rng.choice(ADULTS)
    he, his = pronoun(driver), possessive(driver)
    while True:
        s1, s2 = rng.choice([40, 45, 50, 60, 72, 80, 90]), rng.choice([40, 45, 50, 60, 72, 80, 90])
        t1, t2 = rng.randint(6, 30) * 5, rng.randint(6, 24) * 5
        d1, d2 = distance_covered(s1, t1), distance_covered(s2, t2)
        # Legs within 1 : 3 of each other, so the route is drawn to scale legibly.
        if d1.denominator == 1 and d2.denominator == 1 and s1 != s2 and max(d1, d2) <= 3 * min(d1, d2):
            break
    start = _start(rng, 7, 11)
    stop = rng.choice([15, 20, 25, 30, 40, 45])
    reach_b = start + t1
    leave_b = reach_b + stop
    reach_c = leave_b + t2
    clock(reach_c)
    times = {0: f"leaves {clock(start)}", 2: f"arrives {clock(reach_c)}"}
    fig = Figure(route_figure([a, b, c], [d1, d2], times), route_alt([a, b, c], [d1, d2], times))
    text = (p(f"{driver} left {a} at {clock(start)} and drove {km(d1)} to {b} at an average speed of {kmh(s1)}.",
              f"{he.capitalize()} stopped at {b} for {minutes(stop)} and then drove {km(d2)} to {c}, "
              f"arriving at {clock(reach_c)}.") + "<p class=\"figure-row\">{fig1}</p>")
    at_b = dict(times)
    at_b[1] = [f"arrives {tell(reach_b)}", f"leaves {tell(leave_b)}"]
    facts = {
        "t1": Step(f"Find the time from {a} to {b}: time = distance {DIV} speed.", time_work(d1, s1)),
        "reach_b": Step(f"Add it to the time {he} left {a}.", add_time(start, t1)),
        "leave_b": Step(f"Add the stop of {minutes(stop)} at {b}.", add_time(reach_b, stop),
                        figure=Figure(route_figure([a, b, c], [d1, d2], at_b), route_alt([a, b, c], [d1, d2], at_b))),
        "t2": Step(f"Find the time from leaving {b} to arriving at {c}.", between(leave_b, reach_c)
                   + (f" = {qty(t2, 'min')}" if t2 > 60 else "")),
    }
    speed = speed_steps(d2, t2)
    speed[0].say = f"Average speed from {b} to {c}: {km(d2)} in {duration(t2)}. " + speed[0].say
    facts.update({f"speed{i}": st for i, st in enumerate(speed)})
    cands = [
        ("N", Part(key=num(travel_minutes(d1, s1)), unit="minutes",
                   prompt=f"How many minutes did the drive from {a} to {b} take?"), t1, ["t1"]),
        ("T", time_part(f"At what time did {he} reach {b}?", reach_b), clock(reach_b), ["t1", "reach_b"]),
        ("T", time_part(f"At what time did {he} leave {b}?", leave_b), clock(leave_b), ["t1", "reach_b", "leave_b"]),
        ("N", Part(key=num(minutes_between(leave_b, reach_c)), unit="minutes",
                   prompt=f"How many minutes did the drive from {b} to {c} take?"), t2,
         ["t1", "reach_b", "leave_b", "t2"]),
        ("N", Part(key=num(speed_of(d2, minutes_between(leave_b, reach_c))), unit="km/h",
                   prompt=f"What was {his} average speed from {b} to {c}?"), s2,
         ["t1", "reach_b", "leave_b", "t2"] + [f"speed{i}" for i in range(len(speed))]),
    ]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, [fig], solution=solution)


@family("rate.meeting-parts", TOPIC, [("N", "N"), ("N", "T"), ("T", "N")], levels=(2, 3))
def meeting_parts(rng, level, slots):
    x, y = rng.sample(TOWNS, 2)
    a, b = names(rng, 2)
    how = rng.choice(["cycle", "drive"])
    lo, hi = (2, 5) if how == "cycle" else (8, 16)
    while True:
        va, vb = rng.randint(lo, hi) * 5, rng.randint(lo, hi) * 5
        mins = rng.choice([30, 40, 45, 60, 90, 120])
        gap = distance_covered(va + vb, mins)
        da = distance_covered(va, mins)
        if gap.denominator == 1 and da.denominator == 1 and va != vb and gap >= 20:
            break
    start = _start(rng, 8, 13)
    fig = Figure(towards_figure((a, x), (b, y), gap, va, vb), towards_alt((a, x), (b, y), gap, va, vb))
    text = (p(f"{x} and {y} are {km(gap)} apart. At {clock(start)}, {a} sets off from {x} towards {y} "
              f"and {b} sets off from {y} towards {x}, on the same road.",
              f"{a} {how}s at {kmh(va)} and {b} {how}s at {kmh(vb)}.") + "<p class=\"figure-row\">{fig1}</p>")
    half = mins // 2 if (mins // 2) % 5 == 0 else 30
    apart = gap - distance_covered(va + vb, half)
    if apart <= 0:
        raise ValueError("they have already met")
    meet = meeting_minutes(gap, va, vb)
    facts = {
        "closing": Step("Each hour they come closer by both their speeds together.", f"{va} + {vb} = {kmh(va + vb)}"),
        "covered": Step(f"Find how far they close the gap in {minutes(half)}.", distance_work(va + vb, half)),
        "apart": Step("Take that from the distance between the towns.",
                      f"{n(gap)} {MINUS} {n(distance_covered(va + vb, half))} = {km(apart)}"),
        "meet": Step(f"Find how long they take to close the {km(gap)}: time = distance {DIV} speed.",
                     time_work(gap, va + vb)),
        "when": Step(f"Add that time to {clock(start)}.", add_time(start, meet)),
        "where": Step(f"In that time {a} {how}s at {kmh(va)}: distance = speed {TIMES} time.", distance_work(va, meet),
                      figure=meeting_figure((a, x), (b, y), gap, distance_covered(va, meet))),
    }
    cands = [
        ("N", Part(key=num(apart), unit="km", prompt=f"How far apart are they {minutes(half)} after setting off?"),
         apart, ["closing", "covered", "apart"]),
        ("N", Part(key=num(meet), unit="minutes", prompt="How many minutes after setting off do they meet?"),
         meet, ["closing", "meet"]),
        ("T", time_part("At what time do they meet?", start + meet), clock(start + meet), ["closing", "meet", "when"]),
        ("N", Part(key=num(distance_covered(va, meet)), unit="km", prompt=f"How far from {x} do they meet?"),
         distance_covered(va, meet), ["closing", "meet", "where"]),
    ]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, [fig], solution=solution)


@family("rate.catch-up", TOPIC, [("N", "N"), ("N", "T"), ("T", "N"), ("N", "N", "T")], levels=(2, 3))
def catch_up(rng, level, slots):
    a, b = names(rng, 2)
    town = rng.choice(TOWNS)
    va, vb = rng.choice([(40, 60), (45, 60), (50, 75), (60, 80), (48, 72), (60, 90), (54, 72)])
    later = rng.choice([15, 20, 30, 40, 60])
    lead = distance_covered(va, later)
    if lead.denominator != 1:
        raise ValueError("lead not whole")
    start = _start(rng, 7, 12)
    chase = catch_up_minutes(lead, vb, va)
    text = p(f"At {clock(start)}, {a} left {town} and drove along a highway at a steady {kmh(va)}.",
             f"At {clock(start + later)}, {b} left {town} and drove along the same highway at a steady {kmh(vb)}.")
    facts = {
        "later": Step(f"{a} drove for {minutes(later)} before {b} set off.", between(start, start + later)),
        "lead": Step(f"Find how far {a} drove in that time: distance = speed {TIMES} time.", distance_work(va, later)),
        "gain": Step(f"Each hour {b} closes the gap by the difference in their speeds.",
                     f"{vb} {MINUS} {va} = {kmh(vb - va)}"),
        "chase": Step(f"Find how long {b} takes to close {km(lead)}: time = distance {DIV} speed.",
                      time_work(lead, vb - va)),
        "where": Step(f"In that time {b} drives at {kmh(vb)}: distance = speed {TIMES} time.", distance_work(vb, chase)),
        "when": Step(f"Add that time to when {b} set off.", add_time(start + later, chase)),
    }
    cands = [
        ("N", Part(key=num(lead), unit="km", prompt=f"How far from {town} was {a} when {b} set off?"),
         lead, ["later", "lead"]),
        ("N", Part(key=num(chase), unit="minutes", prompt=f"How many minutes did {b} take to catch up with {a}?"),
         chase, ["later", "lead", "gain", "chase"]),
        ("N", Part(key=num(distance_covered(vb, chase)), unit="km",
                   prompt=f"How far from {town} did {b} catch up with {a}?"),
         distance_covered(vb, chase), ["later", "lead", "gain", "chase", "where"]),
        ("T", time_part(f"At what time did {b} catch up with {a}?", start + later + chase),
         clock(start + later + chase), ["later", "lead", "gain", "chase", "when"]),
    ]
    if [s.kind for s in slots] == ["T", "N"]:
        cands = [cands[3], cands[2]]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, solution=solution)


@family("rate.school-run", TOPIC, MULTI, levels=(2, 3))
def school_run(rng, level, slots):
    who = names(rng, 1)[0]
    he, his = pronoun(who), possessive(who)
    while True:
        walk = rng.choice([50, 60, 64, 70, 75, 80])
        mins = rng.randint(10, 25)
        dist = walk * mins
        ride = rng.choice([160, 200, 240, 250, 300])
        if dist % ride == 0 and dist // ride < mins:
            break
    start = 7 * 60 + rng.randint(0, 8) * 5
    cycle = dist // ride
    text = p(f"{who} walks from home to school at {m_per_min(walk)} and takes {minutes(mins)}.",
             f"{he.capitalize()} leaves home at {clock(start)}.")
    facts = {
        "dist": Step(f"Each minute {he} walks {qty(walk, 'm')}. Distance = speed {TIMES} time.",
                     f"{walk} {TIMES} {mins} = {qty(n(dist), 'm')}"),
        "arrive": Step(f"Add the {minutes(mins)} to the time {he} leaves.", add_time(start, mins)),
        "ride": Step(f"Find how many lots of {qty(ride, 'm')} make {qty(n(dist), 'm')}: time = distance {DIV} speed.",
                     f"{n(dist)} {DIV} {ride} = {qty(cycle, 'min')}"),
        "sooner": Step("Compare the two times.", f"{mins} {MINUS} {cycle} = {qty(mins - cycle, 'min')}"),
        "cycle_arrive": Step(f"Add the ride to {clock(start + 10)}.", add_time(start + 10, cycle)),
    }
    cands = [
        ("N", Part(key=num(walk * mins), unit="m", prompt=f"How far is {his} home from the school?"),
         dist, ["dist"]),
        ("T", time_part(f"At what time does {he} reach school?", start + mins), clock(start + mins), ["arrive"]),
        ("N", Part(key=num(fill_minutes(dist, ride)), unit="minutes",
                   prompt=f"One day {he} cycles to school at {m_per_min(ride)}. How many minutes does the ride take?"),
         cycle, ["dist", "ride"]),
        ("N", Part(key=num(mins - fill_minutes(dist, ride)), unit="minutes",
                   prompt=f"How many minutes sooner does {he} reach school by cycling at {m_per_min(ride)} "
                          "than by walking?"),
         mins - cycle, ["dist", "ride", "sooner"]),
        ("T", time_part(f"On a day when {he} cycles at {m_per_min(ride)} and leaves at {clock(start + 10)}, "
                        f"at what time does {he} reach school?", start + 10 + fill_minutes(dist, ride)),
         clock(start + 10 + cycle), ["dist", "ride", "cycle_arrive"]),
    ]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, solution=solution)


@family("rate.tank", TOPIC, [("N", "N"), ("N", "N", "N"), ("T", "N"), ("N", "T")], levels=(2, 3))
def tank(rng, level, slots):
    while True:
        a = rng.randint(6, 20)
        drain = rng.randint(2, a - 2)
        # A volume both rates divide, so both filling times are whole minutes.
        base = a * (a - drain) // gcd(a, a - drain)
        volume = base * rng.randint(1, 6)
        mins = volume // a
        if 60 <= volume <= 600 and mins >= 6:
            break
    start = _start(rng, 8, 15)
    half = mins // 2
    text = p(f"An empty tank holds {litres(volume)} when full. A tap fills it at {litres(a)} per minute.",
             f"The tap is turned on at {clock(start)}.")
    net = a - drain
    facts = {
        "fill": Step(f"Find how many lots of {litres(a)} make {litres(volume)}.",
                     f"{n(volume)} {DIV} {a} = {qty(mins, 'min')}"),
        "full": Step(f"Add the {minutes(mins)} to the time the tap was turned on.", add_time(start, mins)),
        "poured": Step(f"Find the water let in during {minutes(half)}.", f"{a} {TIMES} {half} = {litres(a * half)}"),
        "more": Step("Take it from what the tank holds.", f"{n(volume)} {MINUS} {a * half} = {litres(volume - a * half)}"),
        "net": Step("Each minute the tap lets in water and the hole lets some out.",
                    f"{a} {MINUS} {drain} = {litres(net)} per minute"),
        "slow": Step(f"Find how many lots of {litres(net)} make {litres(volume)}.",
                     f"{n(volume)} {DIV} {net} = {qty(volume // net, 'min')}"),
    }
    cands = [
        ("N", Part(key=num(fill_minutes(volume, a)), unit="minutes",
                   prompt="How many minutes does the tap take to fill the tank?"), mins, ["fill"]),
        ("T", time_part("At what time is the tank full?", start + fill_minutes(volume, a)), clock(start + mins),
         ["fill", "full"]),
        ("N", Part(key=num(volume - a * half), unit="\u2113",
                   prompt=f"How many more litres are needed to fill the tank {minutes(half)} after the tap is turned on?"),
         volume - a * half, ["poured", "more"]),
        ("N", Part(key=num(fill_minutes(volume, a, drain)), unit="minutes",
                   prompt=f"The next day a hole lets water out at {litres(drain)} per minute while the tap runs. "
                          "How many minutes does the tank take to fill then?"),
         volume // net, ["net", "slow"]),
    ]
    if half < 2:
        raise ValueError("too quick")
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, solution=solution)


@family("rate.work", TOPIC, [("N", "N"), ("N", "N", "N")], levels=(2, 3))
def work(rng, level, slots):
    what, things = rng.choice([("Machine", "cards"), ("Printer", "posters"), ("Machine", "cups")])
    ra, rb = rng.randint(4, 15), rng.randint(3, 12)
    ta = rng.randint(3, 8)
    job = (ra + rb) * rng.randint(6, 20)
    text = p(f"{what} A makes {n(ra * ta)} {things} in {minutes(ta)}. {what} B makes {rb} {things} per minute.")
    facts = {
        "ra": Step(f"Divide {what} A\u2019s {things} by {ta} to find how many it makes in 1 minute.",
                   f"{n(ra * ta)} {DIV} {ta} = {ra}"),
        "hour": Step(f"There are {minutes(60)} in 1 hour.", f"{ra} {TIMES} 60 = {n(ra * 60)}"),
        "both": Step("Add what the two machines make in 1 minute.", f"{ra} + {rb} = {ra + rb} {things}"),
        "job": Step(f"Find how many lots of {ra + rb} make {n(job)}.", f"{n(job)} {DIV} {ra + rb} = {qty(job // (ra + rb), 'min')}"),
    }
    cands = [
        ("N", Part(key=num(Fraction(ra * ta, ta)), unit=things, prompt=f"How many {things} does {what} A make per minute?"),
         ra, ["ra"]),
        ("N", Part(key=num(Fraction(ra * ta, ta) * 60), unit=things, prompt=f"How many {things} does {what} A make in 1 hour?"),
         ra * 60, ["ra", "hour"]),
        ("N", Part(key=num(fill_minutes(job, Fraction(ra * ta, ta) + rb)), unit="minutes",
                   prompt=f"Both machines work together. How many minutes do they take to make {n(job)} {things}?"),
         job // (ra + rb), ["ra", "both", "job"]),
    ]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, solution=solution)


@family("rate.timetable", TOPIC, [("N", "N"), ("N", "T"), ("T", "N"), ("N", "N", "T")], levels=(2, 3))
def timetable(rng, level, slots):
    stops = rng.sample(TOWNS, 4)
    while True:
        legs = [leg(rng, [48, 60, 72, 80, 90], 3, 12) for _ in range(3)]
        dists = [d for _, _, d in legs]
        if speed_of(sum(dists), sum(m for _, m, _ in legs)).denominator == 1 and len({s for s, _, _ in legs}) > 1:
            break
    times = [_start(rng, 7, 12)]
    for _, mins, _ in legs:
        times.append(times[-1] + mins)
    for t in times:
        clock(t)
    late = rng.choice([10, 15, 20, 25, 35])
    rows = [[s, clock(t), n(sum(dists[:i]))] for i, (s, t) in enumerate(zip(stops, times))]
    text = (p("Part of a train timetable is shown. The train does not wait at the stations.")
            + table(["Station", "Time", "Distance from " + stops[0] + " (km)"], rows))
    whole, total = times[3] - times[0], sum(dists)
    last = times[3] - times[2]
    facts = {
        "bd": Step(f"Read the times at {stops[1]} and {stops[3]} and count on.", between(times[1], times[3])
                   + (f" = {qty(times[3] - times[1], 'min')}" if times[3] - times[1] > 60 else "")),
        "ad": Step(f"Read the distance and the times from the table: {km(total)} from {stops[0]} to {stops[3]}.",
                   between(times[0], times[3])),
        "late": Step(f"The train reaches {stops[2]} {minutes(late)} later than the timetable says.",
                     add_time(times[2], late)),
        "cd": Step(f"Find the distance and the time from {stops[2]} to {stops[3]}.",
                   f"{n(total)} {MINUS} {n(dists[0] + dists[1])} = {km(dists[2])}; " + between(times[2], times[3])),
    }
    ad_speed = speed_steps(total, whole)
    cd_speed = speed_steps(dists[2], last)
    facts.update({f"ad{i}": st for i, st in enumerate(ad_speed)})
    facts.update({f"cd{i}": st for i, st in enumerate(cd_speed)})
    cands = [
        ("N", Part(key=num(minutes_between(times[1], times[3])), unit="minutes",
                   prompt=f"How many minutes does the train take from {stops[1]} to {stops[3]}?"),
         times[3] - times[1], ["bd"]),
        ("N", Part(key=num(speed_of(total, whole)), unit="km/h",
                   prompt=f"What is the average speed of the train from {stops[0]} to {stops[3]}?"),
         speed_of(total, whole), ["ad"] + [f"ad{i}" for i in range(len(ad_speed))]),
        ("T", time_part(f"One day the train leaves {stops[0]} {minutes(late)} late and keeps to the same "
                        f"journey times. At what time does it reach {stops[2]}?", times[2] + late),
         clock(times[2] + late), ["late"]),
        ("N", Part(key=num(speed_of(dists[2], last)), unit="km/h",
                   prompt=f"What is the average speed of the train from {stops[2]} to {stops[3]}?"),
         speed_of(dists[2], last), ["cd"] + [f"cd{i}" for i in range(len(cd_speed))]),
    ]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, solution=solution)


JOBS = ["a shop assistant", "a tutor", "a gardener", "a cook", "a cleaner", "a lifeguard"]


@family("rate.wages", TOPIC, ["N", ("N", "N"), ("N", "T"), ("T", "N")], levels=(1, 2, 3))
def wages(rng, level, slots):
    who = rng.choice(ADULTS)
    he = pronoun(who)
    pay = rng.choice([9, 10, 12, 14, 15, 16, 18, 20])
    job = rng.choice(JOBS)
    if len(slots) == 1 and level == 1:
        hours = rng.randint(3, 9)
        text = p(f"{who} works as {job} and is paid {money(pay)} per hour.",
                 f"How much is {he} paid for {qty(hours, 'hours')} of work?")
        steps = [Step(f"Each hour of work pays {money(pay)}.", f"{hours} {TIMES} {money(pay)} = {money(pay * hours)}")]
        return Question(text, [Part(key=num(pay * hours), unit_before="$")], solution=Solution(steps, [pay * hours]))
    start = rng.choice([7, 8, 9]) * 60 + rng.choice([0, 15, 30, 45])
    worked = rng.randint(10, 18) * 30
    lunch = rng.choice([30, 60])
    end = start + worked + lunch
    clock(end)
    intro = p(f"{who} works as {job} and is paid {money(pay)} for every hour of work.")
    text = intro + p(f"One day {he} started at {clock(start)} and finished at {clock(end)}, "
                     f"with a {lunch}-minute lunch break that is not paid.")
    hours = Fraction(worked, 60)
    earned = pay * hours
    target_hours = rng.randint(3, 7)
    begin2 = rng.choice([13, 14]) * 60 + rng.choice([0, 15, 30])
    hours2 = rng.randint(2, 5)
    facts = {
        "day": Step(f"Find how long {he} was at work.", between(start, end)),
        "paid": Step(f"Take away the {lunch}-minute lunch break.",
                     f"{duration(worked + lunch)} {MINUS} {duration(lunch)} = {duration(worked)}"
                     + ("" if hours.denominator == 1 else f" = {hrs(hours)}")),
        "earned": Step(f"Each hour pays {money(pay)}.", f"{fnum(hours)} {TIMES} {money(pay)} = {money(earned)}"),
        "needed": Step(f"Find how many hours of work pay {money(pay * target_hours)}.",
                       f"{money(pay * target_hours)} {DIV} {money(pay)} = {qty(target_hours, 'h')}"),
        "stop": Step(f"Add the hours to the time {he} started.", add_time(begin2, target_hours * 60)),
        "after": Step(f"Find what {he} earned for {qty(hours2, 'hours')}.",
                      f"{hours2} {TIMES} {money(pay)} = {money(pay * hours2)}"),
        "both": Step("Add the pay for the two days.",
                     f"{money(pay * target_hours)} + {money(pay * hours2)} = {money(pay * (target_hours + hours2))}"),
    }
    cands = [
        ("N", Part(key=num(hours), unit="hours", prompt=f"For how many hours was {he} paid that day?"),
         hours, ["day", "paid"]),
        ("N", Part(key=num(earned), unit_before="$", prompt=f"How much was {he} paid that day?"),
         earned, ["day", "paid", "earned"]),
        ("T", time_part(f"{'One' if slots[0].kind == 'T' else 'The next'} day {he} started at {clock(begin2)} "
                        "and worked without a break until "
                        f"{he} had earned {money(pay * target_hours)}. At what time did {he} stop?",
                        begin2 + target_hours * 60), clock(begin2 + target_hours * 60), ["needed", "stop"]),
    ]
    if len(slots) == 1:
        steps = [facts[k] for k in ("day", "paid", "earned")]
        return Question(text + p(cands[1][1].prompt), [Part(key=cands[1][1].key, unit_before="$")],
                        solution=Solution(steps, [earned]))
    if [s.kind for s in slots] == ["T", "N"]:
        text = intro
        cands = [cands[2],
                 ("N", Part(key=num(pay * (target_hours + hours2)), unit_before="$",
                            prompt=f"The day after, {he} worked {qty(hours2, 'hours')}. How much did {he} earn on "
                                   "the two days altogether?"),
                  pay * (target_hours + hours2), ["after", "both"])]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, solution=solution)


def proportional_rate(per_amount, per_distance, amount):
    """At per_amount for every per_distance, what goes with amount."""
    return Fraction(per_amount) * amount / per_distance


@family("rate.fuel", TOPIC, ["N", ("N", "N")], levels=(1, 2, 3))
def fuel(rng, level, slots):
    per100 = rng.choice([5, 6, 8, 10, 12])
    trip = rng.randint(2, 9) * 50
    price = Fraction(rng.randint(36, 48) * 5, 100)
    driver = rng.choice(ADULTS)
    text = p(f"{driver}\u2019s car uses {litres(per100)} of petrol for every {km(100)} it travels.")
    used = proportional_rate(per100, 100, trip)
    lots = Fraction(trip, 100)
    use = Step(f"{km(trip)} is {fnum(lots)} lots of {km(100)}, and each lot uses {litres(per100)}.",
               f"{n(trip)} {DIV} 100 = {fnum(lots)}; {fnum(lots)} {TIMES} {per100} = {litres(used)}")
    if len(slots) == 1:
        if level == 1:
            return Question(text + p(f"How much petrol does it use for {km(trip)}?"),
                            [Part(key=num(used), unit="\u2113")], solution=Solution([use], [used]))
        tank_l = per100 * rng.randint(4, 8)
        far = proportional_rate(100, per100, tank_l)
        steps = [Step(f"Find how many lots of {litres(per100)} there are in {litres(tank_l)}.",
                      f"{tank_l} {DIV} {per100} = {tank_l // per100}"),
                 Step(f"Each lot takes the car {km(100)}.", f"{tank_l // per100} {TIMES} 100 = {km(far)}")]
        return Question(text + p(f"The petrol tank holds {litres(tank_l)}. How far can the car travel on a full tank?"),
                        [Part(key=num(far), unit="km")], solution=Solution(steps, [far]))
    parts = [Part(key=num(used), unit="\u2113", prompt=f"How much petrol does the car use for a trip of {km(trip)}?"),
             Part(key=num(used * price), unit_before="$",
                  prompt=f"Petrol costs {money(price)} per litre. How much does the petrol for that trip cost?")]
    steps = [use, Step(f"Each litre costs {money(price)}.", f"{n(used)} {TIMES} {money(price)} = {money(used * price)}", 2)]
    return Question(text, parts, solution=Solution(steps, [used, used * price]))


@family("rate.there-and-back", TOPIC, ["N", ("N", "N"), ("N", "N", "N"), ("N", "T"), ("T", "N")], levels=(2, 3))
def there_and_back(rng, level, slots):
    a, b = rng.sample(TOWNS, 2)
    vehicle = rng.choice(["A bus", "A van", "A lorry"])
    while True:
        s1, s2 = rng.choice([40, 45, 48, 50, 60, 72, 75, 80, 90]), rng.choice([40, 45, 48, 50, 60, 72, 75, 80, 90])
        t1 = rng.randint(6, 36) * 5
        d = distance_covered(s1, t1)
        if d.denominator == 1 and s1 != s2 and travel_minutes(d, s2).denominator == 1:
            t2 = travel_minutes(d, s2)
            if t2 % 5 == 0 and average_speed([(d, t1), (d, t2)]).denominator == 1:
                break
    start = _start(rng, 7, 10)
    rest = rng.choice([30, 45, 60])
    text = p(f"{vehicle} travelled from {a} to {b} at an average speed of {kmh(s1)}. The trip took {duration(t1)}.",
             f"It came back along the same road at an average speed of {kmh(s2)}.")
    avg = average_speed([(d, t1), (d, t2)])
    whole = t1 + t2
    back = start + t1 + rest + t2
    facts = {
        "d": Step(f"Find the distance from {a} to {b}: distance = speed {TIMES} time.", distance_work(s1, t1)),
        "t2": Step("Find the time of the trip back: time = distance " + DIV + " speed.", time_work(d, s2)),
        "total": Step("Add the times there, at the stop and back.",
                      f"{duration(t1)} + {duration(rest)} + {duration(t2)} = {duration(t1 + rest + t2)}"),
        "back": Step(f"Add the total to the time it left {a}.", add_time(start, t1 + rest + t2)),
        "both": Step("Add the distances and the times there and back.",
                     f"{n(d)} + {n(d)} = {km(2 * d)}; {duration(t1)} + {duration(t2)} = {duration(whole)}"),
    }
    speed = speed_steps(2 * d, whole)
    speed[0].say = "Average speed is the whole distance over the whole time. " + speed[0].say
    facts.update({f"speed{i}": st for i, st in enumerate(speed)})
    avg_needs = ["d", "t2", "both"] + [f"speed{i}" for i in range(len(speed))]
    if len(slots) == 1:
        steps = [facts[k] for k in avg_needs]
        return Question(text + p("What was its average speed for the whole trip there and back?"),
                        [Part(key=num(avg), unit="km/h")], solution=Solution(steps, [avg]))
    cands = [
        ("N", Part(key=num(d), unit="km", prompt=f"How far is {a} from {b}?"), d, ["d"]),
        ("N", Part(key=num(t2), unit="minutes", prompt="How many minutes did the trip back take?"), t2, ["d", "t2"]),
        ("T", time_part(f"It left {a} at {clock(start)} and waited {minutes(rest)} at {b} before coming back. "
                        f"At what time did it get back to {a}?", back), clock(back), ["d", "t2", "total", "back"]),
        ("N", Part(key=num(avg), unit="km/h",
                   prompt="What was its average speed for the whole trip there and back, not counting any stops?"),
         avg, avg_needs),
    ]
    parts, solution = story(rng, slots, cands, facts)
    return Question(text, parts, solution=solution)
