"""Packs the course source into resource files named by id."""

import argparse
import sys
from pathlib import Path

from .pack import pack
from .source import SourceError


def main(argv=None):
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(prog="pack-course", description=__doc__)
    parser.add_argument("--course", type=Path, default=here.parent.parent / "course")
    parser.add_argument("--out", type=Path, required=True, help="folder for the resource files")
    parser.add_argument("--qrc", type=Path, help="also write a Qt resource list of them")
    args = parser.parse_args(argv)
    try:
        ids = pack(args.course, args.out, args.qrc)
    except (SourceError, ValueError, OSError) as e:
        print(f"pack-course: {e}", file=sys.stderr)
        return 1
    print(f"pack-course: {len(ids)} resources in {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
