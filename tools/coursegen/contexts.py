"""Names and everyday things questions are told with. Names are single
words with one natural spelling, so a family may ask for one as an answer."""

GIRLS = ["Aisha", "Bella", "Chloe", "Devi", "Emma", "Farah", "Grace", "Hana",
         "Ivy", "Jasmine", "Kavya", "Lily", "Meiling", "Nadia", "Olivia", "Priya",
         "Rosa", "Siti", "Tara", "Wen", "Yasmin", "Zara", "Amira", "Lucy"]
BOYS = ["Ali", "Ben", "Chen", "Daniel", "Ethan", "Faisal", "Gopal", "Hassan",
        "Isaac", "Jun", "Kumar", "Leo", "Marcus", "Nikhil", "Omar", "Peter",
        "Ravi", "Samuel", "Tom", "Umar", "Victor", "Wei", "Yusuf", "Derrick"]
NAMES = GIRLS + BOYS
ADULTS = ["Mr Tan", "Mrs Lim", "Mr Kumar", "Mrs Ong", "Mr Hassan", "Mrs Lee",
          "Mr Smith", "Mrs Wong", "Mr Rahman", "Mrs Das"]

# Things children count: (singular, plural).
COUNTABLES = [("stamp", "stamps"), ("marble", "marbles"), ("sticker", "stickers"),
              ("bead", "beads"), ("card", "cards"), ("shell", "shells"),
              ("badge", "badges"), ("coin", "coins"), ("button", "buttons")]

SHOP_ITEMS = [  # (singular, plural, usual price range in dollars)
    ("pen", "pens", (1, 4)), ("notebook", "notebooks", (2, 6)),
    ("T-shirt", "T-shirts", (8, 25)), ("book", "books", (6, 20)),
    ("cap", "caps", (5, 15)), ("bottle of juice", "bottles of juice", (1, 3)),
    ("box of crayons", "boxes of crayons", (3, 8)), ("ruler", "rulers", (1, 3)),
    ("bag of rice", "bags of rice", (6, 15)), ("file", "files", (2, 5)),
]

PLACES = ["a school hall", "a stadium", "a cinema", "a concert hall", "a theatre"]


def names(rng, count, pool=NAMES):
    return rng.sample(pool, count)


def name(rng, pool=NAMES):
    return rng.choice(pool)


def pronoun(person):
    """he / she for a child's name; they are told apart by the lists above."""
    return "she" if person in GIRLS or person.startswith(("Mrs", "Ms")) else "he"


def possessive(person):
    return "her" if pronoun(person) == "she" else "his"
