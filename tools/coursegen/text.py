"""HTML pieces a question's text is written with: numbers as a pupil reads
them, stacked fractions, money, lists of names."""

import html
import re
from fractions import Fraction

from .model import num


def esc(s):
    return html.escape(str(s), quote=False)


def n(x):
    """A number as printed on the paper: thousands grouped with commas from
    10,000 up (2800 stays 2800), decimals as they are."""
    text = num(x)
    whole, _, frac = text.partition(".")
    if len(whole) > 4:
        groups = []
        while whole:
            groups.insert(0, whole[-3:])
            whole = whole[:-3]
        whole = ",".join(groups)
    return whole + ("." + frac if frac else "")


def money(x):
    """Dollars, with cents shown whenever there are any: $4.05, $12."""
    x = Fraction(x)
    if x.denominator == 1:
        return "$" + n(x)
    cents = x * 100
    if cents.denominator != 1:
        raise ValueError(f"{x} is not a sum of money")
    return "$" + n(int(x)) + "." + f"{int(cents) % 100:02d}"


NBSP = "\u00a0"
TIMES = "\u00d7"
DIV = "\u00f7"
MINUS = "\u2212"


def spoken(text):
    """Text a screen reader says in place of what is drawn beside it; on the
    page it takes no room (the .sr class of page.css)."""
    return f'<span class="sr">{text}</span>'


def _stack(a, b):
    return (f'<span class="num" aria-hidden="true">{a}</span>'
            f'<span class="den" aria-hidden="true">{b}</span>')


def _said(x):
    """A fraction's top or bottom as a screen reader should say it: the
    visible text without markup."""
    return re.sub(r"<[^>]+>", "", str(x))


def frac(a, b=None):
    """A stacked fraction a/b (or of a Fraction). A screen reader reads it
    whole, "3 over 4", never as the two numbers 3 4."""
    if b is None:
        a = Fraction(a)
        a, b = a.numerator, a.denominator
    return (f'<span class="frac">{_stack(a, b)}'
            f'{spoken(f"{_said(a)} over {_said(b)}")}</span>')


def mixed(x):
    """A value as a whole number and a stacked proper fraction: 2 3/4,
    kept on one line and read "2 and 3 over 4"."""
    x = Fraction(x)
    w, r = divmod(x.numerator, x.denominator)
    if r == 0:
        return str(w)
    if w == 0:
        return frac(r, x.denominator)
    return (f'<span class="mixed"><span aria-hidden="true">{w}</span>'
            f'<span class="frac">{_stack(r, x.denominator)}</span>'
            f'{spoken(f"{w} and {r} over {x.denominator}")}</span>')


def unit(value, name):
    """A quantity and its unit, never split over two lines: 45 cm², 2 h."""
    return f"{value}{NBSP}{name}"


def nb(*words):
    """Words that must stay on one line: a title and a name ("Mr Rahman"),
    a time and its part of the day."""
    return NBSP.join(str(w) for w in words)


def fnum(x):
    """A rational value in the form a pupil expects to read it: a whole
    number, a fraction, or a mixed number."""
    x = Fraction(x)
    if x.denominator == 1:
        return n(x)
    if x < 1:
        return frac(x)
    return mixed(x)


def p(*sentences):
    return "<p>" + " ".join(sentences) + "</p>"


def listing(items, last="and"):
    items = list(items)
    if len(items) == 1:
        return items[0]
    return ", ".join(items[:-1]) + f" {last} " + items[-1]


def place_value(digit, place):
    """"3 tenths", but "1 tenth": place is the plural name of the place."""
    if digit != 1:
        return f"{digit} {place}"
    return f"1 {place[:-1] if place.endswith('s') else place}"


def plural(count, word, words=None):
    if count == 1:
        return f"{n(count)} {word}"
    return f"{n(count)} {words or word + 's'}"


def table(header, rows, cls="data"):
    head = "".join(f"<th>{h}</th>" for h in header)
    body = "".join("<tr>" + "".join(f"<td>{c}</td>" for c in row) + "</tr>" for row in rows)
    return f'<table class="{cls}"><tr>{head}</tr>{body}</table>'


_ONES = ["zero", "one", "two", "three", "four", "five", "six", "seven", "eight",
         "nine", "ten", "eleven", "twelve", "thirteen", "fourteen", "fifteen",
         "sixteen", "seventeen", "eighteen", "nineteen"]
_TENS = ["", "", "twenty", "thirty", "forty", "fifty", "sixty", "seventy",
         "eighty", "ninety"]


def _below_thousand(x):
    words = []
    h, rest = divmod(x, 100)
    if h:
        words.append(_ONES[h] + " hundred")
    if rest:
        if h:
            words.append("and")
        if rest < 20:
            words.append(_ONES[rest])
        else:
            t, o = divmod(rest, 10)
            words.append(_TENS[t] + ("-" + _ONES[o] if o else ""))
    return " ".join(words)


def words(x):
    """A whole number below a billion in British English words:
    305020 -> "three hundred and five thousand and twenty"."""
    if x == 0:
        return "zero"
    if not 0 < x < 10 ** 9:
        raise ValueError(x)
    parts = []
    millions, rest = divmod(x, 10 ** 6)
    thousands, ones = divmod(rest, 1000)
    if millions:
        parts.append(_below_thousand(millions) + " million")
    if thousands:
        parts.append(_below_thousand(thousands) + " thousand")
    if ones:
        text = _below_thousand(ones)
        if parts and ones < 100:
            text = "and " + text
        parts.append(text)
    return " ".join(parts)


# ---------------------------------------------------------------- fractions (topic 3)

def frac_mixed(whole, top, bottom):
    """A mixed number as it stands in working, its fraction not yet
    simplified or regrouped (3 9/12, 2 15/12): on one line, read
    "3 and 9 over 12"."""
    return (f'<span class="mixed"><span aria-hidden="true">{whole}</span>'
            f'<span class="frac">{_stack(top, bottom)}</span>'
            f'{spoken(f"{whole} and {top} over {bottom}")}</span>')
