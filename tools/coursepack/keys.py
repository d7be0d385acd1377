"""What a well-formed answer key of each kind looks like."""

import re
from math import gcd

_NUMBER = re.compile(r"(0|[1-9][0-9]*)(\.[0-9]*[1-9])?")
_FRACTION = re.compile(r"([1-9][0-9]*)/([1-9][0-9]*)")
_MIXED = re.compile(r"([1-9][0-9]*) ([1-9][0-9]*)/([1-9][0-9]*)")
_RATIO = re.compile(r"[1-9][0-9]*(:[1-9][0-9]*)+")


def key_problem(kind, key, options=None):
    """Why key is not a well-formed answer of its kind, or None. For a
    choice, options (when given) are its four options."""
    if not key or key != key.strip():
        return f"empty key or outer spaces: {key!r}"
    if ">" in key or "#" in key:
        return f"key holds a separator: {key!r}"
    if kind == "N":
        if not _NUMBER.fullmatch(key):
            return f"not a plain decimal number: {key!r}"
    elif kind == "Q":
        if key not in ("1", "2", "3", "4"):
            return f"choice key not 1..4: {key!r}"
        if options is not None and (len(options) != 4 or len(set(options)) != 4):
            return "a choice needs four different options"
    elif kind == "F":
        m = _FRACTION.fullmatch(key)
        if not m:
            return f"not a fraction a/b: {key!r}"
        a, b = int(m[1]), int(m[2])
        if b < 2 or gcd(a, b) != 1:
            return f"fraction not in simplest form: {key!r}"
    elif kind == "X":
        m = _MIXED.fullmatch(key)
        if not m:
            return f"not a mixed number w n/d: {key!r}"
        n, d = int(m[2]), int(m[3])
        if n >= d or gcd(n, d) != 1:
            return f"fraction part not proper and simplest: {key!r}"
    elif kind == "R":
        if not _RATIO.fullmatch(key):
            return f"not a ratio of whole numbers: {key!r}"
        terms = [int(t) for t in key.split(":")]
        g = 0
        for t in terms:
            g = gcd(g, t)
        if g != 1:
            return f"ratio not in simplest form: {key!r}"
    elif kind == "T":
        if not key.isascii() or "  " in key:
            return f"text key must be plain ASCII: {key!r}"
    else:
        return f"unknown kind {kind!r}"
    return None
