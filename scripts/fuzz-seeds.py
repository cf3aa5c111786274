#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz target from the end-to-end cases.

Each case folder (tests/e2e/README.md) becomes one input in the target's
format (fuzz/run_fuzzer.cc): the argument text, the separator, the bytes of
the work file that parameter 0 names, the separator, the bytes of the table
that parameter 15 names. A file that the case does not hold ends the input
early, so the run meets a missing file. Cases that run in a subdirectory or
only under Windows (cwd, drive, program) are left out.

    scripts/fuzz-seeds.py OUTPUT_DIR [CASES_DIR ...]
"""

import os
import sys

SEPARATOR = b"\0|\0"
WINDOWS_OR_SUBDIRECTORY = ("cwd", "drive", "program")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def seed_of(case_dir):
    if any(os.path.exists(os.path.join(case_dir, name)) for name in WINDOWS_OR_SUBDIRECTORY):
        return None
    args_path = os.path.join(case_dir, "args")
    if not os.path.exists(args_path):
        return None
    args = read(args_path)
    for end in (b"\r\n", b"\n"):
        if args.endswith(end):
            args = args[: -len(end)]
            break
    parameters = args.split(b" ")
    names = [parameters[0], parameters[15] if len(parameters) > 15 else None]
    seed = args
    for name in names:
        path = os.path.join(os.fsencode(case_dir), b"in", name) if name else None
        if path is None or not os.path.isfile(path):
            break
        seed += SEPARATOR + read(path)
    return seed


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    output = sys.argv[1]
    folders = sys.argv[2:] or [os.path.join(os.path.dirname(__file__), "..", "tests", "e2e", "cases")]
    os.makedirs(output, exist_ok=True)
    written = 0
    for folder in folders:
        for name in sorted(os.listdir(folder)):
            seed = seed_of(os.path.join(folder, name))
            if seed is None:
                continue
            with open(os.path.join(output, name), "wb") as f:
                f.write(seed)
            written += 1
    print(f"fuzz-seeds: {written} seeds in {output}")
    return 0 if written else 1


if __name__ == "__main__":
    sys.exit(main())
