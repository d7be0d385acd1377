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

from ..contexts import SHOP_ITEMS, names, pronoun
from ..families import choice, family
from ..model import Figure, Part, Question, num
from ..svg import Svg
from ..text import money, n, p, table

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
    """2 h 25 min, 45 min, 3 h."""
    minutes = Fraction(minutes)
    if minutes.denominator != 1 or minutes <= 0:
        raise ValueError("not a whole number of minutes")
    h, m = divmod(int(minutes), 60)
    return " ".join(([f"{h} h"] if h else []) + ([f"{m} min"] if m else []))


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


def _whole(x, what="value"):
    x = Fraction(x)
    if x.denominator != 1 or x <= 0:
        raise ValueError(f"{what} {x} is not a positive whole number")
    return int(x)


def _start(rng, lo=7, hi=15):
    """A starting time on a quarter or a five-minute mark."""
    return rng.randint(lo, hi) * 60 + rng.choice(range(0, 60, 5))


def fit_parts(rng, candidates, kinds):
    """Parts of one story in story order whose kinds match the slots. Later
    candidates are the harder ones, so the last is kept when it fits."""
    options = [c for c in combinations(range(len(candidates)), len(kinds))
               if tuple(candidates[i][0] for i in c) == tuple(kinds)]
    if not options:
        raise ValueError(f"no parts for {kinds}")
    last = [c for c in options if c[-1] == len(candidates) - 1]
    pick = rng.choice(last or options)
    return [candidates[i][1] for i in pick]


def leg(rng, speeds, lo, hi):
    """(speed, minutes, km) of a leg with whole km and minutes on the five."""
    while True:
        speed, mins = rng.choice(speeds), rng.randint(lo, hi) * 5
        km = distance_covered(speed, mins)
        if km.denominator == 1:
            return speed, mins, km


def time_part(prompt, minutes):
    return Part(key=clock(minutes), prompt=prompt, form=TIME_FORM)


# ---------------------------------------------------------------- pictures

def route_figure(points, legs, times=None):
    """A route drawn to scale along a line: points are place names, legs the
    km between them; times maps a point index to a label under it."""
    times = times or {}
    total = sum(legs)
    width = 580
    # The SVG builder prints floats; Fractions would come out as "391/1".
    scale = (width - 160) / float(total)
    svg = Svg(width, 110, font=15)
    xs = [80]
    for d in legs:
        xs.append(xs[-1] + float(d) * scale)
    svg.line(xs[0], 46, xs[-1], 46, width=2.5)
    for i, (x, name) in enumerate(zip(xs, points)):
        svg.circle(x, 46, 5, fill="#000", width=1)
        svg.text(x, 30, name, bold=True)
        if i in times:
            svg.text(x, 96, times[i], size=14)
    for i, d in enumerate(legs):
        svg.text((xs[i] + xs[i + 1]) / 2, 68, f"{n(d)} km", size=14)
    return svg.render()


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


# ---------------------------------------------------------------- one-step and two-step

RATE_THINGS = [  # (what, per, unit of amount, plural unit, lo, hi per minute)
    ("A tap", "fills a tank with", "\u2113", "litres of water", 6, 25),
    ("A printer", "prints", "pages", "pages", 8, 40),
    ("A machine", "packs", "bottles", "bottles", 12, 60),
    ("A bakery machine", "shapes", "buns", "buns", 5, 30),
]
ASK_VERB = {"prints": "print", "packs": "pack", "shapes": "shape"}
DONE_VERB = {"prints": "printed", "packs": "packed", "shapes": "shaped"}


@family("rate.unit-rate", TOPIC, ["N"], levels=(1, 2))
def unit_rate(rng, level, slots):
    who, verb, unit, words, lo, hi = rng.choice(RATE_THINGS)
    rate = rng.randint(lo, hi)
    mins = rng.randint(3, 12)
    amount = rate * mins
    shown = f"{n(amount)} {unit}" if unit == "\u2113" else f"{n(amount)} {words}"
    if level == 1:
        if rng.random() < 0.5:
            text = p(f"{who} {verb} {shown} in {mins} minutes.",
                     f"How many {words} is that per minute?")
            return Question(text, [Part(key=num(Fraction(amount, mins)), unit=unit)])
        (s1, pl, (plo, phi)) = rng.choice(SHOP_ITEMS)
        price = Fraction(rng.randint(plo * 4, phi * 4), 4)
        k = rng.randint(3, 9)
        text = p(f"{k} {pl} cost {money(price * k)}.", f"What is the cost of one {s1}?")
        return Question(text, [Part(key=num(price * k / k), unit_before="$")])
    other = rng.choice([m for m in range(5, 25) if m != mins])
    text = p(f"{who} {verb} {shown} in {mins} minutes.",
             f"At this rate, how many {words} does it {ASK_VERB.get(verb)} in {other} minutes?"
             if unit != "\u2113" else f"At this rate, how many litres of water flow in {other} minutes?")
    return Question(text, [Part(key=num(Fraction(amount, mins) * other), unit=unit)])


@family("rate.rate-total", TOPIC, ["N"], levels=(1, 2, 3))
def rate_total(rng, level, slots):
    who, verb, unit, words, lo, hi = rng.choice(RATE_THINGS)
    rate = rng.randint(lo, hi)
    per = f"{rate} {unit}" if unit == "\u2113" else f"{rate} {words}"
    if level == 1:
        mins = rng.randint(4, 15)
        if rng.random() < 0.5:
            text = p(f"{who} {verb} {per} per minute.",
                     f"How many {words} does it {ASK_VERB.get(verb)} in {mins} minutes?" if unit != "\u2113"
                     else f"How many litres of water flow in {mins} minutes?")
            return Question(text, [Part(key=num(rate * mins), unit=unit)])
        text = p(f"{who} {verb} {per} per minute.",
                 f"How many minutes does it take to {ASK_VERB.get(verb, 'fill')} {n(rate * mins)} "
                 f"{unit if unit == chr(0x2113) else words}?")
        return Question(text, [Part(key=num(fill_minutes(rate * mins, rate)), unit="minutes")])
    if level == 2:
        h, m = rng.randint(1, 2), rng.choice([10, 15, 20, 30, 45])
        text = p(f"{who} {verb} {per} per minute.",
                 f"How many {words} does it {ASK_VERB.get(verb)} in {duration(h * 60 + m)}?" if unit != "\u2113"
                 else f"How many litres of water flow in {duration(h * 60 + m)}?")
        return Question(text, [Part(key=num(rate * (h * 60 + m)), unit=unit)])
    # Two taps fill together while a drain lets water out.
    a, b = rng.randint(8, 20), rng.randint(5, 15)
    drain = rng.randint(2, 6) if rng.random() < 0.5 else 0
    mins = rng.randint(8, 30)
    volume = (a + b - drain) * mins
    leak = (f" While they run, water drains out of the tank at {drain} \u2113 per minute." if drain else "")
    text = p(f"An empty tank holds {n(volume)} \u2113 of water when full.",
             f"Tap A fills it at {a} \u2113 per minute and Tap B at {b} \u2113 per minute.",
             f"Both taps are turned on at the same time.{leak}",
             "How many minutes does it take to fill the tank?")
    return Question(text, [Part(key=num(fill_minutes(volume, a + b, drain)), unit="minutes")])


@family("rate.speed-basics", TOPIC, ["N"], levels=(1, 2))
def speed_basics(rng, level, slots):
    who = names(rng, 1)[0]
    how, speeds = rng.choice([("drove", [40, 45, 48, 50, 54, 60, 72, 75, 80, 90]),
                              ("cycled", [12, 15, 16, 18, 20, 24]), ("ran", [8, 9, 10, 12])])
    what = rng.choice(["distance", "speed", "time"])
    if level == 1:
        speed, hours = rng.choice(speeds), rng.randint(2, 5)
        dist = speed * hours
        if what == "distance":
            text = p(f"{who} {how} at {speed} km/h for {hours} hours.", "How far did " + pronoun(who) + " travel?")
            return Question(text, [Part(key=num(distance_covered(speed, hours * 60)), unit="km")])
        if what == "speed":
            text = p(f"{who} {how} {dist} km in {hours} hours.", "What was " + ("her" if pronoun(who) == "she" else "his") + " speed?")
            return Question(text, [Part(key=num(speed_of(dist, hours * 60)), unit="km/h")])
        text = p(f"{who} {how} {dist} km at {speed} km/h.", "How many hours did the journey take?")
        return Question(text, [Part(key=num(travel_minutes(dist, speed) / 60), unit="hours")])
    mins = rng.choice([15, 20, 30, 40, 45, 50, 75, 90])
    speed = rng.choice(speeds)
    dist = distance_covered(speed, mins)
    if dist.denominator != 1 and (dist * 2).denominator != 1:
        raise ValueError("distance not a whole or a half")
    his = "her" if pronoun(who) == "she" else "his"
    if what == "distance":
        text = p(f"{who} {how} at {speed} km/h for {duration(mins)}.", f"How far did {pronoun(who)} travel?")
        return Question(text, [Part(key=num(distance_covered(speed, mins)), unit="km")])
    if what == "speed":
        text = p(f"{who} {how} {n(dist)} km in {duration(mins)}.", f"What was {his} speed in km/h?")
        return Question(text, [Part(key=num(speed_of(dist, mins)), unit="km/h")])
    text = p(f"{who} {how} {n(dist)} km at {speed} km/h.", "How many minutes did the journey take?")
    return Question(text, [Part(key=num(travel_minutes(dist, speed)), unit="minutes")])


@family("rate.convert-speed", TOPIC, ["N", "Q"], levels=(1, 2))
def convert_speed(rng, level, slots):
    kmh = rng.choice(range(6, 121, 6))
    mmin = kmh_to_m_per_min(kmh)
    if slots[0].kind == "N":
        if level == 1:
            if rng.random() < 0.5:
                return Question(p(f"Express {kmh} km/h in m/min."), [Part(key=num(mmin), unit="m/min")])
            mover = "A train" if kmh > 60 else ("A car" if kmh > 24 else "A cyclist")
            return Question(p(f"{mover} travels at {kmh} km/h.",
                              "How many metres does it travel in one minute?"),
                            [Part(key=num(mmin), unit="m")])
        who = names(rng, 1)[0]
        his = "her" if pronoun(who) == "she" else "his"
        if rng.random() < 0.4:
            text = p(f"Express {n(mmin)} m/min in km/h.")
        elif kmh <= 6:
            text = p(f"{who} walks {n(mmin)} m every minute.", f"What is {his} speed in km/h?")
        elif kmh <= 24:
            text = p(f"{who} cycles {n(mmin)} m every minute.", f"What is {his} speed in km/h?")
        else:
            text = p(f"A car travels {n(mmin)} m every minute.", "What is its speed in km/h?")
        return Question(text, [Part(key=num(m_per_min_to_kmh(mmin)), unit="km/h")])
    # Wrong ways: dividing by 60 only, multiplying by 1000 only, or by 60.
    if level == 1:
        wrong = {f"{n(Fraction(kmh, 60))} m/min", f"{n(kmh * 1000)} m/min", f"{n(kmh * 60)} m/min",
                 f"{n(mmin * 10)} m/min"}
        wrong.discard(f"{n(mmin)} m/min")
        part = choice(rng, f"{n(mmin)} m/min", sorted(wrong)[:3], prompt=f"Which of these is the same as {kmh} km/h?")
        return Question("", [part])
    speeds = rng.sample([6, 12, 18, 24, 30, 36, 42, 48], 4)
    # Each shown in its own unit: km/h, m/min, km in some minutes, m in some seconds... kept to two units.
    shown = []
    for i, v in enumerate(speeds):
        if i % 2 == 0:
            shown.append((v, f"{v} km/h"))
        else:
            shown.append((v, f"{n(kmh_to_m_per_min(v))} m/min"))
    best = max(shown)[1]
    part = choice(rng, best, [t for v, t in shown if t != best], prompt="Which of these speeds is the fastest?")
    return Question("", [part])


@family("rate.duration", TOPIC, ["N"], levels=(1, 2))
def duration_question(rng, level, slots):
    start = _start(rng, 8, 13)
    length = rng.randint(4, 20) * 5 + (60 if level == 2 else 0) + (rng.randint(1, 2) * 60 if level == 2 else 0)
    end = start + length
    clock(end)
    event = rng.choice(["A film", "A concert", "A school sports day", "A football match", "A cooking class"])
    if level == 1:
        length = rng.randint(5, 22) * 5
        end = start + length
        text = p(f"{event} began at {clock(start)} and ended at {clock(end)}.", "How many minutes did it last?")
        return Question(text, [Part(key=num(minutes_between(start, end)), unit="minutes")])
    if rng.random() < 0.5:
        text = p(f"{event} began at {clock(start)} and ended at {clock(end)}.", "How many minutes did it last?")
        return Question(text, [Part(key=num(minutes_between(start, end)), unit="minutes")])
    # A train's speed from its timetable times.
    speed = rng.choice([40, 48, 54, 60, 72, 80, 90])
    dist = distance_covered(speed, length)
    if dist.denominator != 1:
        raise ValueError("distance not whole")
    text = p(f"A train left Northgate at {clock(start)} and reached Southport, {n(dist)} km away, at {clock(end)}.",
             "What was its average speed?")
    return Question(text, [Part(key=num(speed_of(dist, minutes_between(start, end))), unit="km/h")])


@family("rate.average-speed", TOPIC, ["N"], levels=(2, 3))
def average_speed_question(rng, level, slots):
    who = names(rng, 1)[0]
    while True:
        t1, t2 = rng.choice([30, 40, 45, 60, 90, 120]), rng.choice([20, 30, 45, 60, 90])
        s1, s2 = rng.randint(8, 18) * 5, rng.randint(8, 18) * 5
        d1, d2 = distance_covered(s1, t1), distance_covered(s2, t2)
        rest = rng.choice([0, 15, 30]) if level == 3 else 0
        avg = average_speed([(d1, t1), (0, rest), (d2, t2)])
        if d1.denominator == 1 and d2.denominator == 1 and avg.denominator == 1 and s1 != s2:
            break
    if level == 2:
        text = p(f"{who} drove {n(d1)} km in {duration(t1)} and then another {n(d2)} km in {duration(t2)}.",
                 f"What was {'her' if pronoun(who) == 'she' else 'his'} average speed for the whole journey?")
        return Question(text, [Part(key=num(average_speed([(d1, t1), (d2, t2)])), unit="km/h")])
    stop = f" {pronoun(who).capitalize()} stopped for {rest} minutes for lunch." if rest else ""
    text = p(f"{who} drove for {duration(t1)} at {s1} km/h.{stop}",
             f"Then {pronoun(who)} drove {n(d2)} km at {s2} km/h.",
             "What was the average speed for the whole journey" + (", including the stop?" if rest else "?"))
    key = average_speed([(distance_covered(s1, t1), t1), (0, rest), (d2, travel_minutes(d2, s2))])
    return Question(text, [Part(key=num(key), unit="km/h")])


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
        text = p(f"{a} and {b} set off at the same time from two towns {n(gap)} km apart and drive towards each other.",
                 f"{a} drives at {va} km/h and {b} drives at {vb} km/h.",
                 f"How far from {a}'s town do they meet?".replace("'", "\u2019"))
        key = distance_covered(va, meeting_minutes(gap, va, vb))
        if key.denominator != 1:
            raise ValueError("meeting point not whole")
        return Question(text, [Part(key=num(key), unit="km")])
    # Catching up: b starts later from the same place.
    va, vb = rng.choice([(40, 60), (45, 60), (50, 75), (60, 80), (48, 72), (60, 90)])
    later = rng.choice([20, 30, 40, 60])
    lead = distance_covered(va, later)
    if lead.denominator != 1:
        raise ValueError("lead not whole")
    text = p(f"{a} leaves a town and drives along a highway at {va} km/h.",
             f"{later} minutes later, {b} leaves the same town and drives along the same highway at {vb} km/h.",
             f"How many minutes after setting off does {b} catch up with {a}?")
    return Question(text, [Part(key=num(catch_up_minutes(lead, vb, va)), unit="minutes")])


@family("rate.best-buy", TOPIC, ["Q"], levels=(1, 2))
def best_buy(rng, level, slots):
    thing, unit = rng.choice([("rice", "kg"), ("cooking oil", "\u2113"), ("washing powder", "kg"),
                              ("apple juice", "\u2113")])
    sizes = rng.sample([1, 2, 3, 4, 5, 6], 4) if level == 2 else [1, 2, 4, 5]
    while True:
        # Prices per unit in cents, all different, each pack a whole number of 5 cents.
        per = rng.sample(range(120, 400, 5), 4)
        prices = [Fraction(c * s, 100) for c, s in zip(per, sizes)]
        if all((x * 20).denominator == 1 for x in prices):
            break
    labels = ["A", "B", "C", "D"]
    rows = [[f"Pack {lab}", f"{s} {unit}", money(pr)] for lab, s, pr in zip(labels, sizes, prices)]
    best = min(range(4), key=lambda i: prices[i] / sizes[i])
    text = p(f"A shop sells {thing} in four packs.") + table(["Pack", "Amount", "Price"], rows)
    part = choice(rng, f"Pack {labels[best]}", [f"Pack {x}" for x in labels if x != labels[best]],
                  prompt=f"Which pack gives the lowest cost for 1 {unit}?")
    part.options = [f"Pack {x}" for x in labels]
    part.key = str(best + 1)
    return Question(text, [part])


@family("rate.arrival-time", TOPIC, ["T"], levels=(1, 2, 3))
def arrival_time(rng, level, slots):
    start = _start(rng, 7, 14)
    vehicle = rng.choice(["A bus", "A train", "A ferry", "A coach"])
    if level == 1:
        length = rng.randint(3, 40) * 5
        text = p(f"{vehicle} left at {clock(start)}. The journey took {duration(length)}.",
                 "At what time did it arrive?")
        return Question(text, [time_part("", start + length)])
    speeds = [40, 45, 50, 60, 72, 80, 90]
    speed, length, dist = leg(rng, speeds, 6, 40)
    if level == 2:
        text = p(f"{vehicle} left at {clock(start)} and travelled {n(dist)} km at an average speed of {speed} km/h.",
                 "At what time did it arrive?")
        return Question(text, [time_part("", start + travel_minutes(dist, speed))])
    stop = rng.choice([10, 15, 20, 25, 30])
    speed2, len2, dist2 = leg(rng, speeds, 4, 24)
    text = p(f"{vehicle} left Ashton at {clock(start)} and travelled {n(dist)} km to Brimley at {speed} km/h.",
             f"It stopped at Brimley for {stop} minutes, then travelled {n(dist2)} km to Carlow at {speed2} km/h.",
             "At what time did it reach Carlow?")
    end = start + travel_minutes(dist, speed) + stop + travel_minutes(dist2, speed2)
    return Question(text, [time_part("", end)])


@family("rate.departure-time", TOPIC, ["T"], levels=(1, 2, 3))
def departure_time(rng, level, slots):
    who = names(rng, 1)[0]
    end = _start(rng, 9, 17)
    place = rng.choice(["the airport", "the museum", "{his} grandmother\u2019s house", "the stadium", "the zoo"])
    place = place.format(his="her" if pronoun(who) == "she" else "his")
    if level == 1:
        length = rng.randint(3, 30) * 5
        text = p(f"{who} reached {place} at {clock(end)}. The journey took {duration(length)}.",
                 f"At what time did {pronoun(who)} set off?")
        return Question(text, [time_part("", end - length)])
    speed, length, dist = leg(rng, [40, 45, 48, 50, 60, 75, 80], 5, 30)
    if level == 2:
        text = p(f"{who} drove {n(dist)} km to {place} at an average speed of {speed} km/h and arrived at {clock(end)}.",
                 f"At what time did {pronoun(who)} set off?")
        return Question(text, [time_part("", end - travel_minutes(dist, speed))])
    early = rng.choice([10, 15, 20, 30])
    text = p(f"{who} must be at {place} by {clock(end)} and wants to arrive {early} minutes early.",
             f"The journey is {n(dist)} km and {pronoun(who)} drives at an average speed of {speed} km/h.",
             f"What is the latest time {pronoun(who)} can set off?")
    return Question(text, [time_part("", end - early - travel_minutes(dist, speed))])


@family("rate.finish-time", TOPIC, ["T"], levels=(2, 3))
def finish_time(rng, level, slots):
    who, verb, unit, words, lo, hi = rng.choice(RATE_THINGS)
    rate = rng.randint(lo, hi)
    mins = rng.randint(5, 30) * 5
    amount = rate * mins
    start = _start(rng, 8, 14)
    tap = unit == "\u2113"
    thing = "litres of water" if tap else words

    def done(count):
        if tap:
            return f"{n(count)} litres of water have flowed into the tank"
        return f"it has {DONE_VERB[verb]} {n(count)} {thing}"
    first = p(f"{who} {verb} {rate} {thing} per minute. It is turned on at {clock(start)}.")
    if level == 2:
        text = first + p(f"At what time will {done(amount).replace('it has', 'it have')}?")
        return Question(text, [time_part("", start + fill_minutes(amount, rate))])
    pause = rng.choice([10, 15, 20, 30])
    # The pause comes after a whole number of minutes, so a pupil can time both spells.
    half = rate * rng.randint(mins // 3, 2 * mins // 3)
    text = first + p(f"When {done(half)}, it is turned off for {pause} minutes and then turned on again "
                     "at the same rate.",
                     f"At what time will {done(amount).replace('it has', 'it have')}?")
    end = start + fill_minutes(half, rate) + pause + fill_minutes(amount - half, rate)
    return Question(text, [time_part("", end)])


@family("rate.who-first", TOPIC, ["T"], levels=(2, 3))
def who_first(rng, level, slots):
    a, b = names(rng, 2)
    while True:
        sa, sb = rng.randint(8, 20), rng.randint(8, 20)
        ta, tb = rng.randint(4, 18) * 5, rng.randint(4, 18) * 5
        da, db = distance_covered(sa, ta), distance_covered(sb, tb)
        if da.denominator == 1 and db.denominator == 1 and sa != sb and abs(ta - tb) >= 5:
            break
    if level == 2:
        text = p(f"{a} and {b} set off from school at the same time and cycled home.",
                 f"{a} cycled {n(da)} km at {sa} km/h. {b} cycled {n(db)} km at {sb} km/h.",
                 "Who reached home first?")
        arrive = {a: travel_minutes(da, sa), b: travel_minutes(db, sb)}
    else:
        start_a = _start(rng, 7, 9)
        start_b = start_a + rng.choice([-10, -5, 5, 10, 15])
        text = p(f"{a} and {b} cycled to the park.",
                 f"{a} left home at {clock(start_a)} and cycled {n(da)} km at {sa} km/h.",
                 f"{b} left home at {clock(start_b)} and cycled {n(db)} km at {sb} km/h.",
                 "Who reached the park first?")
        arrive = {a: start_a + travel_minutes(da, sa), b: start_b + travel_minutes(db, sb)}
    if arrive[a] == arrive[b]:
        raise ValueError("they arrive together")
    key = min(arrive, key=arrive.get)
    return Question(text, [Part(key=key, form=NAME_FORM)])


CHARGES = [
    # (title, thing, first units, first charge, step, step charge, unit word, unit name)
    ("Car park charges", "parking", 60, 2, 30, Fraction(6, 5), "minutes", None),
    ("Car park charges", "parking", 120, Fraction(7, 2), 60, Fraction(3, 2), "minutes", None),
    ("Taxi fares", "a taxi ride", 1000, Fraction(16, 5), 400, Fraction(1, 4), "m", None),
    ("Bicycle hire", "hiring a bicycle", 60, 5, 30, 2, "minutes", None),
]


def _charge_rows(first, first_charge, step, step_charge, unit):
    if unit == "m":
        return [[f"First {n(Fraction(first, 1000))} km", money(first_charge)],
                [f"Every {step} m or part of it after that", money(step_charge)]]
    return [[f"First {duration(first)}", money(first_charge)],
            [f"Every {duration(step)} or part of it after that", money(step_charge)]]


def _charge_story(rng):
    title, thing, first, c1, step, c2, unit, _ = rng.choice(CHARGES)
    card = table([title, "Charge"], _charge_rows(first, c1, step, c2, unit))
    return title, thing, first, c1, step, c2, unit, card


@family("rate.charges", TOPIC, ["N", ("N", "N")], levels=(2, 3))
def charges(rng, level, slots):
    title, thing, first, c1, step, c2, unit, card = _charge_story(rng)
    who = names(rng, 1)[0]
    if unit == "m":
        trip = first + rng.randint(3, 20) * step - rng.choice([0, 0, 150])
        ask1 = p(f"{who} took a taxi ride of {n(Fraction(trip, 1000))} km. How much was the fare?")
        part1 = Part(key=num(stepped_charge(trip, first, c1, step, c2)), prompt=ask1, unit_before="$")
        steps = rng.randint(4, 25)
        paid = c1 + steps * c2
        ask2 = p(f"{'A' if len(slots) == 1 else 'Another'} ride cost {money(paid)}. "
                 "What is the longest distance, in km, the ride could have been?")
        part2 = Part(key=num(Fraction(units_for_charge(paid, first, c1, step, c2), 1000)), prompt=ask2, unit="km")
    else:
        start = _start(rng, 8, 12)
        stay = first + rng.randint(1, 8) * step - rng.choice([0, 10, 20])
        end = start + stay
        clock(end)
        ask1 = p(f"{who} started {thing} at {clock(start)} and finished at {clock(end)}. How much did {pronoun(who)} pay?")
        part1 = Part(key=num(stepped_charge(minutes_between(start, end), first, c1, step, c2)),
                     prompt=ask1, unit_before="$")
        steps = rng.randint(2, 9)
        paid = c1 + steps * c2
        ask2 = p(f"{'A' if len(slots) == 1 else 'Another'} customer paid {money(paid)}. "
                 f"What is the longest time, in minutes, the customer could have "
                 f"{'parked' if thing == 'parking' else 'hired the bicycle'} for?")
        part2 = Part(key=num(units_for_charge(paid, first, c1, step, c2)), prompt=ask2, unit="minutes")
    text = p(f"The table shows the charges for {thing}.") + card
    if len(slots) == 1:
        return Question(text, [rng.choice([part1, part2])])
    return Question(text, [part1, part2])


# ---------------------------------------------------------------- stories with parts

MULTI = [("N", "N"), ("N", "T"), ("T", "N"), ("N", "N", "N"), ("N", "N", "T")]
TOWNS = ["Ashton", "Brimley", "Carlow", "Dunmore", "Elmfield", "Fernhill", "Greyford", "Holbury"]


@family("rate.journey", TOPIC, MULTI[:4], levels=(2, 3))
def journey(rng, level, slots):
    """A car's journey in two legs with a stop, drawn as a route."""
    a, b, c = rng.sample(TOWNS, 3)
    driver = rng.choice(["Mr Tan", "Mrs Lim", "Mr Kumar", "Mrs Ong", "Mr Hassan", "Mrs Lee"])
    he = pronoun(driver)
    while True:
        s1, s2 = rng.choice([40, 45, 50, 60, 72, 80, 90]), rng.choice([40, 45, 50, 60, 72, 80, 90])
        t1, t2 = rng.randint(6, 30) * 5, rng.randint(6, 24) * 5
        d1, d2 = distance_covered(s1, t1), distance_covered(s2, t2)
        # Legs within 1 : 3 of each other, so the route is drawn to scale legibly.
        if d1.denominator == 1 and d2.denominator == 1 and s1 != s2 and max(d1, d2) <= 3 * min(d1, d2):
            break
    start = _start(rng, 7, 11)
    stop = rng.choice([15, 20, 25, 30, 40, 45])
    reach_b = start + travel_minutes(d1, s1)
    leave_b = reach_b + stop
    reach_c = leave_b + t2
    clock(reach_c)
    fig = Figure(route_figure([a, b, c], [d1, d2], {0: f"leaves {clock(start)}", 2: f"arrives {clock(reach_c)}"}),
                 f"A route from {a} through {b} to {c}: {n(d1)} km then {n(d2)} km")
    text = (p(f"{driver} left {a} at {clock(start)} and drove {n(d1)} km to {b} at an average speed of {s1} km/h.",
              f"{he.capitalize()} stopped at {b} for {stop} minutes and then drove {n(d2)} km to {c}, "
              f"arriving at {clock(reach_c)}.") + "<p class=\"figure-row\">{fig1}</p>")
    cands = [
        ("N", Part(key=num(travel_minutes(d1, s1)), unit="minutes",
                   prompt=f"How many minutes did the drive from {a} to {b} take?")),
        ("T", time_part(f"At what time did {he} reach {b}?", reach_b)),
        ("T", time_part(f"At what time did {he} leave {b}?", leave_b)),
        ("N", Part(key=num(minutes_between(leave_b, reach_c)), unit="minutes",
                   prompt=f"How many minutes did the drive from {b} to {c} take?")),
        ("N", Part(key=num(speed_of(d2, minutes_between(leave_b, reach_c))), unit="km/h",
                   prompt=f"What was {'her' if he == 'she' else 'his'} average speed from {b} to {c}?")),
    ]
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]), [fig])


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
    fig = Figure(towards_figure((a, x), (b, y), gap, va, vb),
                 f"{a} sets off from {x} and {b} from {y}, {n(gap)} km apart, towards each other")
    text = (p(f"{x} and {y} are {n(gap)} km apart. At {clock(start)}, {a} sets off from {x} towards {y} "
              f"and {b} sets off from {y} towards {x}, on the same road.",
              f"{a} {how}s at {va} km/h and {b} {how}s at {vb} km/h.") + "<p class=\"figure-row\">{fig1}</p>")
    half = mins // 2 if (mins // 2) % 5 == 0 else 30
    apart = gap - distance_covered(va + vb, half)
    meet = meeting_minutes(gap, va, vb)
    cands = [
        ("N", Part(key=num(apart), unit="km", prompt=f"How far apart are they {half} minutes after setting off?")),
        ("N", Part(key=num(meet), unit="minutes", prompt="How many minutes after setting off do they meet?")),
        ("T", time_part("At what time do they meet?", start + meet)),
        ("N", Part(key=num(distance_covered(va, meet)), unit="km", prompt=f"How far from {x} do they meet?")),
    ]
    if apart <= 0:
        raise ValueError("they have already met")
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]), [fig])


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
    text = p(f"At {clock(start)}, {a} left {town} and drove along a highway at a steady {va} km/h.",
             f"At {clock(start + later)}, {b} left {town} and drove along the same highway at a steady {vb} km/h.")
    cands = [
        ("N", Part(key=num(lead), unit="km", prompt=f"How far from {town} was {a} when {b} set off?")),
        ("N", Part(key=num(chase), unit="minutes", prompt=f"How many minutes did {b} take to catch up with {a}?")),
        ("N", Part(key=num(distance_covered(vb, chase)), unit="km",
                   prompt=f"How far from {town} did {b} catch up with {a}?")),
        ("T", time_part(f"At what time did {b} catch up with {a}?", start + later + chase)),
    ]
    if [s.kind for s in slots] == ["T", "N"]:
        cands = [cands[3], cands[2]]
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]))


@family("rate.school-run", TOPIC, MULTI, levels=(2, 3))
def school_run(rng, level, slots):
    who = names(rng, 1)[0]
    he, his = pronoun(who), "her" if pronoun(who) == "she" else "his"
    while True:
        walk = rng.choice([50, 60, 64, 70, 75, 80])
        mins = rng.randint(10, 25)
        dist = walk * mins
        ride = rng.choice([160, 200, 240, 250, 300])
        if dist % ride == 0 and dist // ride < mins:
            break
    start = 7 * 60 + rng.randint(0, 8) * 5
    text = p(f"{who} walks from home to school at {walk} m/min and takes {mins} minutes.",
             f"{he.capitalize()} leaves home at {clock(start)}.")
    cands = [
        ("N", Part(key=num(walk * mins), unit="m", prompt=f"How far is {his} home from the school?")),
        ("T", time_part(f"At what time does {he} reach school?", start + mins)),
        ("N", Part(key=num(fill_minutes(dist, ride)), unit="minutes",
                   prompt=f"One day {he} cycles to school at {ride} m/min. How many minutes does the ride take?")),
        ("N", Part(key=num(mins - fill_minutes(dist, ride)), unit="minutes",
                   prompt=f"How many minutes sooner does {he} reach school by cycling at {ride} m/min than by walking?")),
        ("T", time_part(f"On a day when {he} cycles at {ride} m/min and leaves at {clock(start + 10)}, "
                        f"at what time does {he} reach school?", start + 10 + fill_minutes(dist, ride))),
    ]
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]))


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
    text = p(f"An empty tank holds {n(volume)} \u2113 when full. A tap fills it at {a} \u2113 per minute.",
             f"The tap is turned on at {clock(start)}.")
    cands = [
        ("N", Part(key=num(fill_minutes(volume, a)), unit="minutes", prompt="How many minutes does the tap take to fill the tank?")),
        ("T", time_part("At what time is the tank full?", start + fill_minutes(volume, a))),
        ("N", Part(key=num(volume - a * (mins // 2)), unit="\u2113",
                   prompt=f"How many more litres are needed to fill the tank {mins // 2} minutes after the tap is turned on?")),
        ("N", Part(key=num(fill_minutes(volume, a, drain)), unit="minutes",
                   prompt=f"The next day a hole lets water out at {drain} \u2113 per minute while the tap runs. "
                          "How many minutes does the tank take to fill then?")),
    ]
    if mins // 2 < 2:
        raise ValueError("too quick")
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]))


@family("rate.work", TOPIC, [("N", "N"), ("N", "N", "N")], levels=(2, 3))
def work(rng, level, slots):
    what, things = rng.choice([("Machine", "cards"), ("Printer", "posters"), ("Machine", "cups")])
    ra, rb = rng.randint(4, 15), rng.randint(3, 12)
    ta = rng.randint(3, 8)
    job = (ra + rb) * rng.randint(6, 20)
    text = p(f"{what} A makes {n(ra * ta)} {things} in {ta} minutes. {what} B makes {rb} {things} per minute.")
    cands = [
        ("N", Part(key=num(Fraction(ra * ta, ta)), unit=things, prompt=f"How many {things} does {what} A make per minute?")),
        ("N", Part(key=num(Fraction(ra * ta, ta) * 60), unit=things, prompt=f"How many {things} does {what} A make in 1 hour?")),
        ("N", Part(key=num(fill_minutes(job, Fraction(ra * ta, ta) + rb)), unit="minutes",
                   prompt=f"Both machines work together. How many minutes do they take to make {n(job)} {things}?")),
    ]
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]))


@family("rate.timetable", TOPIC, [("N", "N"), ("N", "T"), ("T", "N"), ("N", "N", "T")], levels=(2, 3))
def timetable(rng, level, slots):
    stops = rng.sample(TOWNS, 4)
    while True:
        legs = [leg(rng, [48, 60, 72, 80, 90], 3, 12) for _ in range(3)]
        dists = [km for _, _, km in legs]
        if speed_of(sum(dists), sum(m for _, m, _ in legs)).denominator == 1 and len({s for s, _, _ in legs}) > 1:
            break
    times = [_start(rng, 7, 12)]
    for _, mins, _ in legs:
        times.append(times[-1] + mins)
    late = rng.choice([10, 15, 20, 25, 35])
    rows = [[s, clock(t), n(sum(dists[:i]))] for i, (s, t) in enumerate(zip(stops, times))]
    text = (p("Part of a train timetable is shown. The train does not wait at the stations.")
            + table(["Station", "Time", "Distance from " + stops[0] + " (km)"], rows))
    cands = [
        ("N", Part(key=num(minutes_between(times[1], times[3])), unit="minutes",
                   prompt=f"How many minutes does the train take from {stops[1]} to {stops[3]}?")),
        ("N", Part(key=num(speed_of(sum(dists), minutes_between(times[0], times[3]))), unit="km/h",
                   prompt=f"What is the average speed of the train from {stops[0]} to {stops[3]}?")),
        ("T", time_part(f"One day the train leaves {stops[0]} {late} minutes late and keeps to the same "
                        f"journey times. At what time does it reach {stops[2]}?", times[2] + late)),
        ("N", Part(key=num(speed_of(dists[2], minutes_between(times[2], times[3]))), unit="km/h",
                   prompt=f"What is the average speed of the train from {stops[2]} to {stops[3]}?")),
    ]
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]))


JOBS = ["a shop assistant", "a tutor", "a gardener", "a cook", "a cleaner", "a lifeguard"]


@family("rate.wages", TOPIC, ["N", ("N", "N"), ("N", "T"), ("T", "N")], levels=(1, 2, 3))
def wages(rng, level, slots):
    who = rng.choice(["Mr Tan", "Mrs Lim", "Mr Kumar", "Mrs Ong", "Mr Rahman", "Mrs Das"])
    he = pronoun(who)
    pay = rng.choice([9, 10, 12, 14, 15, 16, 18, 20])
    job = rng.choice(JOBS)
    if len(slots) == 1 and level == 1:
        hours = rng.randint(3, 9)
        text = p(f"{who} works as {job} and is paid {money(pay)} per hour.",
                 f"How much is {he} paid for {hours} hours of work?")
        return Question(text, [Part(key=num(pay * hours), unit_before="$")])
    start = rng.choice([7, 8, 9]) * 60 + rng.choice([0, 15, 30, 45])
    worked = rng.randint(10, 18) * 30
    lunch = rng.choice([30, 60])
    end = start + worked + lunch
    clock(end)
    text = p(f"{who} works as {job} and is paid {money(pay)} for every hour of work.",
             f"One day {he} started at {clock(start)} and finished at {clock(end)}, "
             f"with a {lunch}-minute lunch break that is not paid.")
    earned = pay * Fraction(minutes_between(start, end) - lunch, 60)
    target_hours = rng.randint(3, 7)
    begin2 = rng.choice([13, 14]) * 60 + rng.choice([0, 15, 30])
    cands = [
        ("N", Part(key=num(Fraction(minutes_between(start, end) - lunch, 60)), unit="hours",
                   prompt=f"For how many hours was {he} paid that day?")),
        ("N", Part(key=num(earned), unit_before="$", prompt=f"How much was {he} paid that day?")),
        ("T", time_part(f"The next day {he} started at {clock(begin2)} and worked without a break until "
                        f"{he} had earned {money(pay * target_hours)}. At what time did {he} stop?",
                        begin2 + target_hours * 60)),
    ]
    if len(slots) == 1:
        return Question(text + p(cands[1][1].prompt), [Part(key=cands[1][1].key, unit_before="$")])
    if [s.kind for s in slots] == ["T", "N"]:
        text = p(f"{who} works as {job} and is paid {money(pay)} for every hour of work.")
        hours2 = rng.randint(2, 5)
        cands = [cands[2],
                 ("N", Part(key=num(pay * (target_hours + hours2)), unit_before="$",
                            prompt=f"The day after, {he} worked {hours2} hours. How much did {he} earn on the "
                                   "two days altogether?"))]
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]))


@family("rate.fuel", TOPIC, ["N", ("N", "N")], levels=(1, 2, 3))
def fuel(rng, level, slots):
    per100 = rng.choice([5, 6, 8, 10, 12])
    trip = rng.randint(2, 9) * 50
    price = Fraction(rng.randint(36, 48) * 5, 100)
    driver = rng.choice(["Mr Tan", "Mrs Lim", "Mr Kumar", "Mrs Ong", "Mr Hassan", "Mrs Lee"])
    text = p(f"{driver}\u2019s car uses {per100} \u2113 of petrol for every 100 km it travels.")
    litres = proportional_rate(per100, 100, trip)
    if len(slots) == 1:
        if level == 1:
            return Question(text + p(f"How much petrol does it use for {trip} km?"),
                            [Part(key=num(litres), unit="\u2113")])
        tank_l = per100 * rng.randint(4, 8)
        return Question(text + p(f"The petrol tank holds {tank_l} \u2113. How far can the car travel on a full tank?"),
                        [Part(key=num(proportional_rate(100, per100, tank_l)), unit="km")])
    parts = [Part(key=num(litres), unit="\u2113", prompt=f"How much petrol does the car use for a trip of {trip} km?"),
             Part(key=num(litres * price), unit_before="$",
                  prompt=f"Petrol costs {money(price)} per litre. How much does the petrol for that trip cost?")]
    return Question(text, parts)


def proportional_rate(per_amount, per_distance, amount):
    """At per_amount for every per_distance, what goes with amount."""
    return Fraction(per_amount) * amount / per_distance


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
    text = p(f"{vehicle} travelled from {a} to {b} at an average speed of {s1} km/h. The trip took {duration(t1)}.",
             f"It came back along the same road at an average speed of {s2} km/h.")
    if len(slots) == 1:
        return Question(text + p("What was its average speed for the whole trip there and back?"),
                        [Part(key=num(average_speed([(d, t1), (d, travel_minutes(d, s2))])), unit="km/h")])
    cands = [
        ("N", Part(key=num(d), unit="km", prompt=f"How far is {a} from {b}?")),
        ("N", Part(key=num(travel_minutes(distance_covered(s1, t1), s2)), unit="minutes",
                   prompt="How many minutes did the trip back take?")),
        ("T", time_part(f"It left {a} at {clock(start)} and waited {rest} minutes at {b} before coming back. "
                        f"At what time did it get back to {a}?", start + t1 + rest + travel_minutes(d, s2))),
        ("N", Part(key=num(average_speed([(d, t1), (d, travel_minutes(d, s2))])), unit="km/h",
                   prompt="What was its average speed for the whole trip there and back, not counting any stops?")),
    ]
    return Question(text, fit_parts(rng, cands, [s.kind for s in slots]))
