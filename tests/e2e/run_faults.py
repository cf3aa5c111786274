#!/usr/bin/env python3
"""Runs diadim against faults of the disk and against hostile inputs that a
case folder cannot hold (run_cases.py runs the folders).

Every check starts from the case typical-with-tolerance-class (its args, its
in/ files and its expected out/work.txt), changes one thing, runs the binary
natively in a scratch directory under code page 932 and checks:

- a failing run: the exit status and the kind of its one-line report, the
  place that the report names where it matters, and every file of the
  directory byte for byte as before the run (so a file left behind fails);
- a successful run: the files of the directory as the case expects them.

Faults:
- the work file's directory is not writable, or the work file is read-only;
- the write fails part way: a small RLIMIT_FSIZE, with SIGXFSZ ignored, as on
  a full disk;
- the work file or the table is a directory, or cannot be read.
(A missing work file or table are the cases error-work-file-missing and
error-table-file-missing.)

Permissions do not bind root, so a run that needs them is started as the
user nobody when the harness runs as root; the binary is copied to a place
that user can reach.

Hostile inputs generated here: 1e400 in every numeric position, one at a
time (type mismatch, at that position), and an item of 10 MB on one line
(as a skipped work-file item, a table heading and a point coordinate).

    python3 tests/e2e/run_faults.py --binary build/debug/diadim --cases tests/e2e/cases
"""

import argparse
import os
import resource
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

EXIT_STATUS = {"out of range": 1, "type mismatch": 2, "invalid argument": 3, "file error": 4}
LOCALE = "ja_JP.WINDOWS-31J"
BASE_CASE = "typical-with-tolerance-class"
NOBODY = 65534
# A 10 MB item must not make the run slow; the bound is wide enough for the
# sanitizer build on a busy machine.
BIG_ITEM_SECONDS = 60


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class Base:
    """The case that every check starts from."""

    def __init__(self, cases_dir):
        case = os.path.join(cases_dir, BASE_CASE)
        self.args = read_bytes(os.path.join(case, "args")).rstrip(b"\r\n")
        self.work = read_bytes(os.path.join(case, "in", "work.txt"))
        self.table = read_bytes(os.path.join(case, "in", "tol.txt"))
        self.result = read_bytes(os.path.join(case, "out", "work.txt"))

    def files(self, work=None, table=None):
        return {b"work.txt": self.work if work is None else work,
                b"tol.txt": self.table if table is None else table}


def snapshot(directory):
    """Relative path -> bytes of every file, and a trailing-slash entry for
    every directory, below `directory`."""
    found = {}
    root = os.fsencode(directory)
    for parent, dirs, names in os.walk(root):
        for name in dirs:
            found[os.path.relpath(os.path.join(parent, name), root) + b"/"] = None
        for name in names:
            path = os.path.join(parent, name)
            found[os.path.relpath(path, root)] = read_bytes(path)
    return found


def describe_difference(expected, actual):
    lines = []
    for name in sorted(set(expected) | set(actual)):
        shown = name.decode("cp932", "backslashreplace")
        if len(shown) > 60:
            shown = shown[:60] + "..."
        if name not in actual:
            lines.append(f"  missing {shown}")
        elif name not in expected:
            lines.append(f"  unexpected {shown}")
        elif expected[name] != actual[name]:
            lines.append(f"  {shown} differs: expected {expected[name][:200]!r}, "
                         f"actual {actual[name][:200]!r}")
    return "\n".join(lines)


class Runner:
    def __init__(self, binary):
        # A copy that the user nobody can reach and run.
        self.home = tempfile.mkdtemp(prefix="diadim-faults-")
        os.chmod(self.home, 0o755)
        self.binary = os.path.join(self.home, "diadim")
        shutil.copy2(binary, self.binary)
        os.chmod(self.binary, 0o755)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("LANG", "LANGUAGE") and not k.startswith("LC_")}
        self.env["LC_ALL"] = LOCALE
        self.as_root = os.geteuid() == 0

    def close(self):
        shutil.rmtree(self.home, ignore_errors=True)

    def run(self, directory, args, unprivileged=False, file_size=None):
        def prepare():
            if file_size is not None:
                # A full disk, as the process meets it: a write past the
                # limit fails with EFBIG instead of killing the process.
                signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                resource.setrlimit(resource.RLIMIT_FSIZE, (file_size, file_size))
            if unprivileged and self.as_root:
                os.setgroups([])
                os.setgid(NOBODY)
                os.setuid(NOBODY)

        argv = [self.binary] + (args.split(b" ") if args else [])
        started = time.monotonic()
        result = subprocess.run(argv, cwd=directory, env=self.env, capture_output=True,
                                preexec_fn=prepare, timeout=300)
        result.seconds = time.monotonic() - started
        return result


class Check:
    """One run: the files before it, how it is started, what it must give."""

    def __init__(self, name, files, args, kind=None, detail=None, expected=None,
                 unprivileged=False, file_size=None, setup=None, max_seconds=None):
        self.name = name
        self.files = files
        self.args = args
        self.kind = kind
        self.detail = detail
        self.expected = expected
        self.unprivileged = unprivileged
        self.file_size = file_size
        self.setup = setup
        self.max_seconds = max_seconds

    def carry_out(self, runner):
        scratch = tempfile.mkdtemp(prefix="diadim-fault-")
        try:
            for name, content in self.files.items():
                with open(os.path.join(os.fsencode(scratch), name), "wb") as f:
                    f.write(content)
                os.chmod(os.path.join(os.fsencode(scratch), name), 0o644)
            os.chmod(scratch, 0o777)
            if self.setup:
                self.setup(scratch)
            before = snapshot(scratch)
            result = runner.run(scratch, self.args, self.unprivileged, self.file_size)
            after = snapshot(scratch)
        finally:
            os.chmod(scratch, 0o700)
            shutil.rmtree(scratch, ignore_errors=True)
        return self.judge(result, before, after)

    def judge(self, result, before, after):
        problems = []
        report = result.stderr.decode("latin-1")
        if self.kind:
            want = EXIT_STATUS[self.kind]
            if result.returncode != want:
                problems.append(f"  exit status {result.returncode}, expected {want}")
            lines = report.splitlines()
            if len(lines) != 1 or not lines[0].startswith(f"diadim: {self.kind}: "):
                problems.append(f"  report {report[:300]!r}, expected one line of kind {self.kind!r}")
            elif self.detail and self.detail not in lines[0]:
                problems.append(f"  report {lines[0][:300]!r} does not name {self.detail!r}")
            expected = before
        else:
            if result.returncode != 0 or report:
                problems.append(f"  exit status {result.returncode}, report {report[:300]!r}")
            expected = dict(before)
            expected.update(self.expected)
        difference = describe_difference(expected, after)
        if difference:
            problems.append(difference)
        if self.max_seconds is not None and result.seconds > self.max_seconds:
            problems.append(f"  took {result.seconds:.1f} s, more than {self.max_seconds} s")
        return problems


def with_item(content, old, new):
    """`content` with the work-file or table item `old` replaced by `new`."""
    lines = content.split(b"\r\n")
    assert old in lines, old
    return b"\r\n".join(new if line == old else line for line in lines)


def make_directory(name):
    def setup(scratch):
        path = os.path.join(scratch, name)
        os.remove(path)
        os.mkdir(path)
        with open(os.path.join(path, "inside.txt"), "wb") as f:
            f.write(b"hp1   0 0\r\n")
    return setup


def set_mode(name, mode):
    def setup(scratch):
        os.chmod(os.path.join(scratch, name), mode)
    return setup


def fault_checks(base):
    args = base.args
    files = base.files()
    file_error = dict(kind="file error")
    return [
        Check("directory not writable", files, args, **file_error, detail="work.txt",
              unprivileged=True, setup=lambda scratch: os.chmod(scratch, 0o555)),
        Check("work file read-only", files, args, **file_error, unprivileged=True,
              setup=set_mode("work.txt", 0o444)),
        Check("write fails at once", files, args, **file_error, file_size=0),
        Check("write fails part way", files, args, **file_error, file_size=100),
        Check("write fails one byte short", files, args, **file_error,
              file_size=len(base.result) - 1),
        Check("work file is a directory", files, args, **file_error,
              setup=make_directory("work.txt")),
        Check("table is a directory", files, args, **file_error, detail="tol.txt",
              setup=make_directory("tol.txt")),
        Check("work file unreadable", files, args, **file_error, detail="work.txt",
              unprivileged=True, setup=set_mode("work.txt", 0o200)),
        Check("table unreadable", files, args, **file_error, detail="tol.txt",
              unprivileged=True, setup=set_mode("tol.txt", 0o200)),
        # The new file is made beside the work file; a long name must not
        # make its name too long.
        Check("work file with a 255-byte name",
              {b"w" * 255: base.work, b"tol.txt": base.table},
              b"w" * 255 + args[len(b"work.txt"):], expected={b"w" * 255: base.result}),
    ]


# The numeric positions of the command line (taken as numbers) and of the
# text kinds (whole numbers when a metric record is present).
NUMERIC_PARAMETERS = [3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 2, 16]

# Each numeric value of the work file and the table: the item, the item
# with 1e400 in place of one value, and the text the report must hold.
NUMERIC_ITEMS = [
    ("work", b"hcw 3 2.5", b"hcw 1e400 2.5", "item 1"),
    ("work", b"hcw 3 2.5", b"hcw 3 1e400", "item 1"),
    ("work", b"hcd 0.5 0.3", b"hcd 1e400 0.3", "item 2"),
    ("work", b"hcd 0.5 0.3", b"hcd 0.5 1e400", "item 2"),
    ("work", b"hch 3.5 2.5", b"hch 1e400 2.5", "item 3"),
    ("work", b"hch 3.5 2.5", b"hch 3.5 1e400", "item 3"),
    ("work", b"hs 1 1", b"hs 1 1e400", "item 6"),
    ("work", b"hp1   0 0", b"hp1   1e400 0", "hp1"),
    ("work", b"hp1   0 0", b"hp1   0 1e400", "hp1"),
    ("work", b"hp2   5 40", b"hp2   1e400 40", "hp2"),
    ("work", b"hp2   5 40", b"hp2   5 1e400", "hp2"),
    ("work", b"hp3   30 0", b"hp3   1e400 0", "hp3"),
    ("work", b"hp3   30 0", b"hp3   30 1e400", "hp3"),
    ("work", b"hp4   0 20", b"hp4   1e400 20", "hp4"),
    ("work", b"hp4   0 20", b"hp4   0 1e400", "hp4"),
    ("table", b"H7/30/+0.021/0", b"H7/1e400/+0.021/0", "row 2"),
]


def overflow_checks(base):
    checks = []
    for position in NUMERIC_PARAMETERS:
        parameters = base.args.split(b" ")
        parameters[position] = b"1e400"
        checks.append(Check(f"1e400 at parameter {position}", base.files(), b" ".join(parameters),
                            kind="type mismatch", detail=f"parameter {position} "))
    for file, old, new, place in NUMERIC_ITEMS:
        if file == "work":
            files = base.files(work=with_item(base.work, old, new))
        else:
            files = base.files(table=with_item(base.table, old, new))
        checks.append(Check(f"1e400 in {new.decode()}", files, base.args, kind="type mismatch",
                            detail=place))
    return checks


def big_item_checks(base):
    big = 10 * 1024 * 1024
    # The run must not care how long an item is: a skipped item and a
    # heading change nothing, and a coordinate of ten million zeros is 0.
    skipped = base.work + b"x" * big + b"\r\n"
    heading = with_item(base.table, b"class/size/upper/lower", b"h" * big)
    zeros = with_item(base.work, b"hp4   0 20", b"hp4   " + b"0" * big + b" 20")
    long_row = with_item(base.table, b"H7/50/+0.025/0", b"H7/50/+0.025/0/" + b"9" * big)
    return [
        Check("10 MB skipped work-file item", base.files(work=skipped), base.args,
              expected={b"work.txt": base.result}, max_seconds=BIG_ITEM_SECONDS),
        Check("10 MB table heading", base.files(table=heading), base.args,
              expected={b"work.txt": base.result}, max_seconds=BIG_ITEM_SECONDS),
        Check("10 MB matching table row", base.files(table=long_row), base.args,
              expected={b"work.txt": base.result}, max_seconds=BIG_ITEM_SECONDS),
        Check("10 MB coordinate", base.files(work=zeros), base.args,
              expected={b"work.txt": base.result}, max_seconds=BIG_ITEM_SECONDS),
        # Ten million pieces, the first of them empty.
        Check("10 MB of blanks in a metric record",
              base.files(work=with_item(base.work, b"hcw 3 2.5", b"hcw" + b" " * big)),
              base.args, kind="type mismatch", detail="item 1", max_seconds=BIG_ITEM_SECONDS),
        Check("10 MB number in a metric record",
              base.files(work=with_item(base.work, b"hcw 3 2.5", b"hcw 3 2" + b"5" * big)),
              base.args, kind="type mismatch", max_seconds=BIG_ITEM_SECONDS),
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True, help="the diadim executable")
    parser.add_argument("--cases", required=True, help="the folder of the end-to-end cases")
    parser.add_argument("--only", help="run only the checks whose name contains this text")
    args = parser.parse_args()

    base = Base(args.cases)
    checks = fault_checks(base) + overflow_checks(base) + big_item_checks(base)
    if args.only:
        checks = [check for check in checks if args.only in check.name]
    runner = Runner(os.path.abspath(args.binary))
    passed = failed = 0
    try:
        for check in checks:
            problems = check.carry_out(runner)
            if problems:
                failed += 1
                print(f"FAIL {check.name}\n" + "\n".join(problems))
            else:
                passed += 1
    finally:
        runner.close()
    print(f"faults: {passed} passed, {failed} failed")
    return 1 if failed or not checks else 0


if __name__ == "__main__":
    sys.exit(main())
