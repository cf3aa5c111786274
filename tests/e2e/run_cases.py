#!/usr/bin/env python3
"""Runs the end-to-end cases against a built diadim executable.

Each case is a folder under the cases directory:

  args    the exact argument text, as the host passes it (one line; a final
          line end is not part of it). Double spaces are kept.
  in/     the files of the current directory before the run (work file,
          tolerance table).
  out/    for a successful run: the exact files of the directory afterwards.
  error   for a failing run: the kind of error ("out of range", "type
          mismatch", "invalid argument", "file error"); the directory must
          then hold exactly what in/ holds.

The case is copied into a scratch directory, which is the run's current
directory; afterwards the exit status, the first line of standard error and
every file of the directory (names and bytes) are checked, so a file left
behind fails the case too.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

EXIT_STATUS = {
    "out of range": 1,
    "type mismatch": 2,
    "invalid argument": 3,
    "file error": 4,
}

# Every case runs under code page 932, the code page of the host's users.
LOCALE = "ja_JP.WINDOWS-31J"


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def snapshot(directory):
    """Relative path -> bytes of every file below `directory`."""
    files = {}
    for root, _dirs, names in os.walk(directory):
        for name in names:
            path = os.path.join(root, name)
            files[os.path.relpath(path, directory)] = read_bytes(path)
    return files


def describe_difference(expected, actual):
    lines = []
    for name in sorted(set(expected) | set(actual)):
        if name not in actual:
            lines.append(f"  missing file {name}")
        elif name not in expected:
            lines.append(f"  unexpected file {name}")
        elif expected[name] != actual[name]:
            lines.append(f"  {name} differs:\n    expected {expected[name]!r}\n    actual   {actual[name]!r}")
    return "\n".join(lines)


def launch_native(binary, argument_text, cwd, env):
    # An empty argv element stands for a double space: the program joins
    # argv[1..] with single spaces.
    argv = [binary] + (argument_text.split(b" ") if argument_text else [])
    return subprocess.run(argv, cwd=cwd, env=env, capture_output=True, timeout=60)


def run_case(case_dir, binary, launch, env):
    argument_text = read_bytes(os.path.join(case_dir, "args"))
    if argument_text.endswith(b"\r\n"):
        argument_text = argument_text[:-2]
    elif argument_text.endswith(b"\n"):
        argument_text = argument_text[:-1]
    error_path = os.path.join(case_dir, "error")
    expected_kind = read_bytes(error_path).decode().strip() if os.path.exists(error_path) else None
    input_dir = os.path.join(case_dir, "in")
    expected_dir = input_dir if expected_kind else os.path.join(case_dir, "out")
    expected = snapshot(expected_dir)

    with tempfile.TemporaryDirectory(prefix="diadim-e2e-") as scratch:
        if os.path.isdir(input_dir):
            shutil.copytree(input_dir, scratch, dirs_exist_ok=True)
        result = launch(binary, argument_text, scratch, env)
        actual = snapshot(scratch)

    problems = []
    stderr = result.stderr.decode("latin-1")
    if expected_kind:
        want = EXIT_STATUS[expected_kind]
        if result.returncode != want:
            problems.append(f"  exit status {result.returncode}, expected {want}")
        if not stderr.startswith(f"diadim: {expected_kind}: "):
            problems.append(f"  error report {stderr.splitlines()[:1]!r}, expected kind {expected_kind!r}")
    else:
        if result.returncode != 0:
            problems.append(f"  exit status {result.returncode}, expected 0")
        if stderr:
            problems.append(f"  unexpected error report {stderr!r}")
    difference = describe_difference(expected, actual)
    if difference:
        problems.append(difference)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True, help="the diadim executable")
    parser.add_argument("--cases", required=True, help="the folder of case folders")
    parser.add_argument("--only", help="run only the cases whose name contains this text")
    args = parser.parse_args()

    env = dict(os.environ)
    for name in ("LANG", "LANGUAGE", "LC_CTYPE", "LC_MESSAGES", "LC_NUMERIC"):
        env.pop(name, None)
    env["LC_ALL"] = LOCALE
    probe = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    if not any(name.lower().replace("-", "") == LOCALE.lower().replace("-", "") for name in probe):
        print(f"locale {LOCALE} is missing: run scripts/setup-locales.sh", file=sys.stderr)
        return 2

    binary = os.path.abspath(args.binary)
    names = sorted(n for n in os.listdir(args.cases) if os.path.isdir(os.path.join(args.cases, n)))
    if args.only:
        names = [n for n in names if args.only in n]
    passed = failed = 0
    for name in names:
        problems = run_case(os.path.join(args.cases, name), binary, launch_native, env)
        if problems:
            failed += 1
            print(f"FAIL {name}\n" + "\n".join(problems))
        else:
            passed += 1
    print(f"e2e: {passed} passed, {failed} failed")
    return 1 if failed or not names else 0


if __name__ == "__main__":
    sys.exit(main())
