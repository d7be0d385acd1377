"""Writes the course source from the families: python3 -m coursegen."""

import argparse
import sys
from pathlib import Path

from coursepack.source import write_paper

from . import plan as shape
from .build import BuildError, build_topic
from .topics import load_all


def main(argv=None):
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(prog="gen-course", description=__doc__)
    parser.add_argument("--course", type=Path, default=here.parent.parent / "course",
                        help="the course folder to write (default: the repository's)")
    parser.add_argument("--topic", type=int, action="append",
                        help="write only this topic's papers (may be repeated)")
    args = parser.parse_args(argv)
    load_all()
    topics = args.topic or range(1, len(shape.TOPICS) + 1)
    try:
        for t in topics:
            for i, paper in enumerate(build_topic(t), 1):
                heading = f"{shape.TOPICS[t - 1]}, paper {i}"
                write_paper(args.course / "papers" / str(paper.key), paper, heading)
            print(f"topic {t} ({shape.TOPICS[t - 1]}): written")
    except BuildError as e:
        print(f"gen-course: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
