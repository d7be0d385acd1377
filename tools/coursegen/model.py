"""What a family returns: a question's text, its parts (one per answer slot),
its figures and its keys; and the checks every key must pass."""

from dataclasses import dataclass, field
from fractions import Fraction
from math import gcd

from coursepack.keys import key_problem  # noqa: F401  (families check keys with it)

# The sentence a page shows for the form of an answer, by kind. A family
# may give its own (a stated number of decimal places, the form of a time).
DEFAULT_FORMS = {
    "F": "Give your answer as a fraction in its simplest form.",
    "X": "Give your answer as a mixed number in its simplest form.",
    "R": "Give your answer in its simplest form.",
    "Q": "Write the number of the correct option: 1, 2, 3 or 4.",
    "N": "",
    "T": "",
}


@dataclass
class Part:
    """One answer slot as the page shows it.

    prompt: HTML of what this part asks (may be empty for a one-part
    question whose text already asks it). unit / unit_before: shown after
    or before the answer blank ("cm", "$"). form: the answer-form sentence,
    "" for the kind's default. options: for kind Q, the four options' HTML.
    """
    key: str
    prompt: str = ""
    unit: str = ""
    unit_before: str = ""
    form: str = ""
    options: list = None
    slips: list = None      # kind Q: per option, the slip that leads to it (None for the key)


@dataclass
class Figure:
    """An SVG picture. Text or options refer to it as {fig1}, {fig2}, … in
    order; a figure no text refers to is shown after the question text."""
    svg: str
    alt: str


@dataclass
class Step:
    """One line of a worked solution: what is done, in words a pupil reads
    alone (HTML), and the calculation with this question's numbers (HTML,
    may be empty). part: the 1-based part it works towards; a step that two
    parts need stands under the first. figure: a picture shown after the
    step (the figure again with what the working adds)."""
    say: str
    work: str = ""
    part: int = 1
    figure: Figure = None


@dataclass
class Solution:
    """A question's worked solution, made by its family from the values that
    made the question.

    steps: the working, in order; each part's marks follow its number of
    steps (see marks_for_steps). answers: per part, the value the working
    arrives at: a number (int or Fraction) for kinds N, F and X, a tuple of
    terms for R, the text for T, and for Q the correct option's HTML (the
    option, not its number, so a shuffled key cannot hide a wrong choice).
    why: kind Q only, a sentence on why the right option is right, shown
    with the lines on each wrong option's slip (Part.slips)."""
    steps: list
    answers: list
    why: str = ""


@dataclass
class Question:
    text: str                       # HTML paragraphs common to all parts
    parts: list
    figures: list = field(default_factory=list)
    solution: Solution = None


MAX_STEPS = 6


def marks_for_steps(steps):
    """One mark for a single step or a recall, two for two or three steps,
    three for a longer multi-step problem."""
    if steps < 1:
        raise ValueError("a part needs at least one step")
    return 1 if steps == 1 else 2 if steps <= 3 else 3


# Canonical key texts. Each raises when the value has no exact key of that
# kind, so a family cannot ship a rounded answer by accident.

def num(x):
    """Plain decimal text of an exact value: 84, 2800, 3.75."""
    x = Fraction(x)
    if x < 0:
        raise ValueError(f"negative answer {x}")
    for places in range(12):
        if (x * 10 ** places).denominator == 1:
            break
    else:
        raise ValueError(f"{x} has no short decimal")
    scaled = x * 10 ** places
    assert scaled.denominator == 1
    digits = str(scaled.numerator).rjust(places + 1, "0")
    whole, frac = digits[: len(digits) - places], digits[len(digits) - places:]
    frac = frac.rstrip("0")
    return whole + ("." + frac if frac else "")


def fraction_key(x):
    x = Fraction(x)
    if x.denominator == 1 or x <= 0:
        raise ValueError(f"{x} is not a proper or improper fraction")
    return f"{x.numerator}/{x.denominator}"


def mixed_key(x):
    x = Fraction(x)
    w, r = divmod(x.numerator, x.denominator)
    if w < 1 or r == 0:
        raise ValueError(f"{x} is not a mixed number")
    return f"{w} {r}/{x.denominator}"


def ratio_key(*terms):
    terms = [Fraction(t) for t in terms]
    if any(t <= 0 for t in terms):
        raise ValueError("ratio terms must be positive")
    lcm = 1
    for t in terms:
        lcm = lcm * t.denominator // gcd(lcm, t.denominator)
    ints = [int(t * lcm) for t in terms]
    g = 0
    for t in ints:
        g = gcd(g, t)
    return ":".join(str(t // g) for t in ints)


def fixed(x, places):
    """A value to a stated number of places, trailing zeros kept (kind T).
    Halves round up, as pupils are taught."""
    x = Fraction(x)
    scaled = x * 10 ** places
    n = int(scaled)
    if scaled - n >= Fraction(1, 2):
        n += 1
    digits = str(n).rjust(places + 1, "0")
    return digits[: len(digits) - places] + ("." + digits[len(digits) - places:] if places else "")
