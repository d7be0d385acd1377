"""A stand-in family for a topic whose own families are not written yet: it
answers every slot pattern the plan asks of the topic with plain exercises,
so the whole course builds, packs and validates. Its pages say so."""

from fractions import Fraction

from . import plan as shape
from .families import choice, family
from .model import Part, Question, fraction_key, mixed_key, num, ratio_key
from .text import frac, n


def _part(rng, kind):
    if kind == "N":
        a, b = rng.randint(12, 99), rng.randint(12, 99)
        return Part(key=num(a + b), prompt=f"Work out {a} + {b}.")
    if kind == "Q":
        values = rng.sample(range(100, 1000), 4)
        return choice(rng, n(max(values)), [n(v) for v in values if v != max(values)],
                      prompt=f"Which of these numbers is the greatest?")
    if kind == "T":
        h, m, add = rng.randint(7, 11), rng.randrange(5, 60, 5), rng.choice([15, 25, 35, 45, 50])
        later = m + add
        h2, m2 = h + later // 60, later % 60
        suffix = "pm" if h2 >= 12 else "am"
        h12 = h2 - 12 if h2 > 12 else h2
        return Part(key=f"{h12}.{m2:02d}{suffix}",
                    prompt=f"What time is it {add} minutes after {h}.{m:02d}am?",
                    form="Give the time in the form 10.05am.")
    if kind == "F":
        d = rng.choice([6, 8, 9, 10, 12])
        k = rng.randint(2, 4)
        a = rng.choice([x for x in range(1, d) if Fraction(x, d).denominator == d])
        return Part(key=fraction_key(Fraction(a, d)),
                    prompt=f"Write {frac(a * k, d * k)} in its simplest form.")
    if kind == "R":
        a, b = rng.sample([2, 3, 5, 7], 2)
        k = rng.randint(2, 6)
        return Part(key=ratio_key(a, b), prompt=f"Write the ratio {a * k} : {b * k} "
                    "in its simplest form.")
    if kind == "X":
        d = rng.choice([3, 4, 5, 7])
        w = rng.randint(1, 4)
        r = rng.randint(1, d - 1)
        return Part(key=mixed_key(Fraction(w * d + r, d)),
                    prompt=f"Write {frac(w * d + r, d)} as a mixed number.")
    raise ValueError(kind)


def register_placeholder(topic):
    name = shape.TOPICS[topic - 1]
    patterns = {q.kinds for p in shape.papers_of(topic) for q in shape.paper_plan(p)}

    @family(f"placeholder.topic{topic}", topic, patterns, placeholder=True)
    def make(rng, level, slots):
        parts = [_part(rng, s.kind) for s in slots]
        text = (f'<p class="placeholder">This is a placeholder for a question on '
                f'{name.lower()}; the topic\u2019s own questions will replace it.</p>')
        return Question(text=text, parts=parts)
    return make
