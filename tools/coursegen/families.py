"""The family registry and the helpers families share.

A family is a function make(rng, level, slots) -> Question, registered with
the @family decorator, which says which topic it belongs to, which kind
patterns it can answer and at which levels it fits. See README.md.
"""

from dataclasses import dataclass

from .model import Part

REGISTRY = {}


@dataclass(frozen=True)
class Family:
    name: str
    topic: int
    kinds: frozenset     # of kind tuples, e.g. {("N",), ("Q",)}
    levels: tuple        # levels it fits, from 1 (short) to 3 (multi-step)
    make: object
    placeholder: bool = False

    def fits(self, kinds, level):
        return tuple(kinds) in self.kinds and level in self.levels


def family(name, topic, kinds, levels=(1, 2, 3), placeholder=False):
    kinds = frozenset(tuple(k) if isinstance(k, (tuple, list)) else (k,) for k in kinds)

    def register(make):
        if name in REGISTRY:
            raise ValueError(f"family {name} registered twice")
        REGISTRY[name] = Family(name, topic, kinds, tuple(levels), make, placeholder)
        return make
    return register


def families_of(topic):
    return [f for f in REGISTRY.values() if f.topic == topic]


def choice(rng, correct, distractors, prompt="", **kw):
    """A kind Q part: the correct option and three distractors shuffled.
    A distractor is its HTML, or a pair (HTML, slip): the slip is the
    mistake that leads a pupil to it ("adds the tops and the bottoms"), and
    the worked solution shows it beside that option. Options are compared
    as text, so distractors equal to the answer are a family's fault and
    raise."""
    wrong = [d if isinstance(d, tuple) else (d, None) for d in list(distractors)[:3]]
    options = [(correct, None)] + wrong
    texts = [o for o, _ in options]
    if len(options) != 4 or len(set(texts)) != 4:
        raise ValueError(f"choice needs four different options: {texts}")
    rng.shuffle(options)
    texts = [o for o, _ in options]
    return Part(key=str(texts.index(correct) + 1), prompt=prompt, options=texts,
                slips=[s for _, s in options], **kw)


def near_misses(rng, value, candidates, count=3):
    """Three distinct wrong values from candidates, none equal to value."""
    pool = []
    for c in candidates:
        if c != value and c not in pool:
            pool.append(c)
    if len(pool) < count:
        raise ValueError(f"not enough distractors for {value}: {pool}")
    return rng.sample(pool, count)
