"""Families of topic 6. Placeholder until the topic's author writes them."""

from ..placeholder import register_placeholder

register_placeholder(6)
