"""One module per topic; each registers its families when imported."""

import importlib

MODULES = [
    "whole_numbers",
    "decimals",
    "fractions",
    "area_perimeter",
    "volume",
    "geometry",
    "percentage",
    "ratio",
    "rate_speed",
    "algebra",
]


def load_all():
    for name in MODULES:
        importlib.import_module(f"{__name__}.{name}")
