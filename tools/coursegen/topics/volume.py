"""Families of topic 5. Placeholder until the topic's author writes them."""

from ..placeholder import register_placeholder

register_placeholder(5)
