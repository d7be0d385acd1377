"""Families of topic 9. Placeholder until the topic's author writes them."""

from ..placeholder import register_placeholder

register_placeholder(9)
