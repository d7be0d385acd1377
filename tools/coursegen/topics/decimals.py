"""Families of topic 2."""

from ..placeholder import register_placeholder

register_placeholder(2)
