"""Families of topic 3."""

from ..placeholder import register_placeholder

register_placeholder(3)
