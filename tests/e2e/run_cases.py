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

A case may also hold (the Windows-only cases use them):

  cwd     a subdirectory of the scratch directory ("/" between names) to run
          in instead of the scratch directory itself.
  report  the exact first line of standard error.
  readonly
          files to make read-only before the run, one a line, relative to
          the scratch directory ("/" between names).
  drive   (Wine only) a drive letter: the letter is mapped to the scratch
          directory, so the run starts in the drive's root, e.g. R:\ (or in
          cwd below it).
  program (Wine only) the executable as the command line names it, e.g.
          "C:\diadim tools\diadim.exe" with its quotes; the executable is
          copied there first.

--runner native (the default) starts the binary directly; --runner wine
starts a Windows diadim.exe under Wine with code page 932 (see
WineRunner below). A case that a runner cannot carry out as written is
reported as skipped, with the reason.
"""

import argparse
import fcntl
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

# Wine takes its ANSI code page from the Unix locale: under a Japanese UTF-8
# locale GetACP() is 932, while Unix file names and argv stay UTF-8.
WINE_LOCALE = "ja_JP.UTF-8"


class Skip(Exception):
    """A case that the chosen runner cannot carry out as written."""


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def read_line(path):
    """The first line of a small case file, without its line end; None when
    the file does not exist."""
    if not os.path.exists(path):
        return None
    lines = read_bytes(path).splitlines()
    return lines[0] if lines else b""


def snapshot(directory, name_of=lambda name: name):
    """Relative path -> bytes of every file below `directory`. Paths are
    bytes, as the case files name them; `name_of` turns a name on disk into
    that form."""
    files = {}
    directory = os.fsencode(directory)
    for root, _dirs, names in os.walk(directory):
        for name in names:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, directory).split(b"/")
            files[b"/".join(name_of(part) for part in relative)] = read_bytes(path)
    return files


def shown(name):
    return name.decode("cp932", "backslashreplace")


def describe_difference(expected, actual):
    lines = []
    for name in sorted(set(expected) | set(actual)):
        if name not in actual:
            lines.append(f"  missing file {shown(name)}")
        elif name not in expected:
            lines.append(f"  unexpected file {shown(name)}")
        elif expected[name] != actual[name]:
            lines.append(f"  {shown(name)} differs:\n    expected {expected[name]!r}\n    actual   {actual[name]!r}")
    return "\n".join(lines)


class CaseOptions:
    """The optional files of a case that say how it is started."""

    def __init__(self, case_dir):
        self.cwd = read_line(os.path.join(case_dir, "cwd"))
        self.report = read_line(os.path.join(case_dir, "report"))
        self.drive = read_line(os.path.join(case_dir, "drive"))
        self.program = read_line(os.path.join(case_dir, "program"))
        readonly = os.path.join(case_dir, "readonly")
        self.readonly = read_bytes(readonly).splitlines() if os.path.exists(readonly) else []


class NativeRunner:
    """Starts the binary directly, under the code page 932 locale."""

    def __init__(self, binary):
        self.binary = binary
        env = dict(os.environ)
        for name in ("LANG", "LANGUAGE", "LC_CTYPE", "LC_MESSAGES", "LC_NUMERIC"):
            env.pop(name, None)
        env["LC_ALL"] = LOCALE
        self.env = env

    def check(self):
        probe = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
        if not any(name.lower().replace("-", "") == LOCALE.lower().replace("-", "") for name in probe):
            return f"locale {LOCALE} is missing: run scripts/setup-locales.sh"
        return None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        return False

    def prepare(self, input_dir, scratch):
        shutil.copytree(input_dir, scratch, dirs_exist_ok=True)

    def name_in_case(self, name):
        return name

    def disk_path(self, scratch, relative):
        return os.path.join(os.fsencode(scratch), relative)

    def launch(self, argument_text, options, scratch):
        if options.drive is not None or options.program is not None:
            raise Skip("a Windows-only case (drive or program)")
        cwd = os.fsencode(scratch)
        if options.cwd:
            cwd = os.path.join(cwd, options.cwd)
        # An empty argv element stands for a double space: the program joins
        # argv[1..] with single spaces.
        argv = [self.binary] + (argument_text.split(b" ") if argument_text else [])
        return subprocess.run(argv, cwd=cwd, env=self.env, capture_output=True, timeout=60)


def cp932_text(raw, what):
    """The characters that the code page 932 bytes `raw` stand for. Wine
    carries command lines and file names as Unicode, so only bytes that come
    back unchanged from Unicode can pass through it."""
    try:
        text = raw.decode("cp932")
    except UnicodeDecodeError:
        raise Skip(f"{what} {raw!r} is not code page 932 text")
    if text.encode("cp932") != raw:
        raise Skip(f"{what} {raw!r} does not come back from Unicode as the same bytes")
    return text


def unix_name(raw):
    """A file name of a case (code page 932) as Wine finds it on disk
    (UTF-8)."""
    return cp932_text(raw, "the file name").encode("utf-8")


def windows_path(unix_path):
    # Wine's Z: drive is the Unix root.
    return "Z:" + unix_path.replace("/", "\\")


def batch_line(command):
    """`command` escaped for a line of a batch file, so that cmd hands it on
    unchanged: %% for %, and ^ before the characters that cmd acts on
    outside quotes."""
    out = []
    quoted = False
    for c in command:
        if c == "%":
            out.append("%%")
        elif c == '"':
            quoted = not quoted
            out.append(c)
        elif not quoted and c in "^&|<>()":
            out.append("^" + c)
        else:
            out.append(c)
    return "".join(out)


class WineRunner:
    """Starts a Windows diadim.exe under Wine with code page 932.

    Every run goes through cmd, as `wine cmd /c "diadim.exe ARGS"`, so the
    program finds the command line in GetCommandLineA exactly as cmd hands it
    on, double spaces and trailing blanks included. Two things stand between
    the case's bytes and that command line:

    - Wine builds the Windows command line of `cmd` from its Unix argv and
      quotes that argument the C runtime's way: a " inside it becomes \" and
      a trailing backslash is doubled.
    - cmd acts on % everywhere and on ^ & | < > outside quotes.

    A command line free of those characters is handed to cmd directly. Any
    other is written as the one line of a batch file, escaped for cmd
    (batch_line), and cmd runs that file: a batch line reaches cmd without
    Wine's quoting, and its escapes are exact. Either way the executable
    sees the same bytes.

    Texts are code page 932 bytes in the cases; Wine's Unix side (argv, file
    names) is UTF-8 under ja_JP.UTF-8, and Wine converts to and from code
    page 932 at the Windows side, so argv and file names are handed over as
    UTF-8 and the program still reads code page 932 bytes.

    One Wine prefix serves the whole suite, and one persistent wineserver,
    started at the beginning and shut down at the end, so that each case
    costs one cmd and one diadim.exe start. A lock file keeps two suites
    from sharing the prefix at the same time.
    """

    BATCH_NAME = "diadim-e2e.bat"

    def __init__(self, binary, prefix):
        self.binary = binary
        self.prefix = os.path.abspath(prefix)
        env = dict(os.environ)
        for name in list(env):
            if name.startswith("LC_") or name in ("LANG", "LANGUAGE", "DISPLAY", "WAYLAND_DISPLAY"):
                env.pop(name)
        env.update(
            LANG=WINE_LOCALE,
            LC_ALL=WINE_LOCALE,
            WINEPREFIX=self.prefix,
            WINEDEBUG="-all",
            # No .NET or HTML engine: the prefix is made quicker and asks
            # for nothing.
            WINEDLLOVERRIDES="mscoree,mshtml=",
            # cmd finds diadim.exe by its bare name on the PATH.
            WINEPATH=windows_path(os.path.dirname(binary)),
        )
        self.env = env
        self.lock = None
        self.copied_programs = set()

    def check(self):
        for tool in ("wine", "wineserver"):
            if shutil.which(tool) is None:
                return f"{tool} is missing: run scripts/setup-windows-tools.sh"
        probe = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
        if not any(name.lower().replace("-", "") == "ja_jp.utf8" for name in probe):
            return f"locale {WINE_LOCALE} is missing: run scripts/setup-locales.sh"
        return None

    def wine(self, *argv, timeout=120, cwd=None):
        # Output goes to files, not pipes: a Wine system process that starts
        # along with a run inherits its standard handles and outlives it, and
        # would hold a pipe open.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run(["wine", *argv], env=self.env, cwd=cwd, stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(done.args, done.returncode, out.read(), err.read())

    def __enter__(self):
        os.makedirs(os.path.dirname(self.prefix), exist_ok=True)
        self.lock = open(self.prefix + ".lock", "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        try:
            if not os.path.exists(os.path.join(self.prefix, "system.reg")):
                made = self.wine("wineboot", "--init", timeout=600)
                if made.returncode != 0:
                    raise RuntimeError(f"wineboot failed: {made.stderr.decode(errors='replace')}")
                # The server that made the prefix ends by itself shortly.
                subprocess.run(["wineserver", "-w"], env=self.env, timeout=120)
            # Fails only when a server of this prefix still runs (one left by
            # an earlier suite that was cut short): then that one serves.
            subprocess.run(["wineserver", "-p"], env=self.env, timeout=60)
            # The first start brings up Wine's system processes, which stay
            # with the persistent server; they get no handle of ours.
            subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
            # The OEM code page follows the ANSI one: 932 means Wine took the
            # Japanese locale.
            codepage = self.wine("reg", "query", "HKLM\\System\\CurrentControlSet\\Control\\Nls\\CodePage",
                                 "/v", "ACP")
            if b"932" not in codepage.stdout:
                raise RuntimeError(f"Wine does not run with code page 932: {codepage.stdout!r}")
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *_):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=60)
        if self.lock:
            self.lock.close()
            self.lock = None
        return False

    def prepare(self, input_dir, scratch):
        source_root = os.fsencode(input_dir)
        target_root = os.fsencode(scratch)
        for root, dirs, names in os.walk(source_root):
            relative = os.path.relpath(root, source_root)
            target = target_root
            if relative != b".":
                target = os.path.join(target_root, *(unix_name(part) for part in relative.split(b"/")))
            os.makedirs(target, exist_ok=True)
            for name in names:
                shutil.copyfile(os.path.join(root, name), os.path.join(target, unix_name(name)))

    def disk_path(self, scratch, relative):
        return os.path.join(os.fsencode(scratch), *(unix_name(part) for part in relative.split(b"/")))

    def name_in_case(self, name):
        try:
            return name.decode("utf-8").encode("cp932")
        except (UnicodeDecodeError, UnicodeEncodeError):
            return name

    def place_program(self, program):
        """Copies diadim.exe to where `program` (as the command line names
        it, quotes and all) points on drive C:."""
        path = program.replace('"', "")
        if not path.lower().startswith("c:\\"):
            raise Skip(f"program {program!r} is not on drive C:")
        if path not in self.copied_programs:
            unix = os.path.join(self.prefix, "drive_c", *path[3:].split("\\"))
            os.makedirs(os.path.dirname(unix), exist_ok=True)
            shutil.copyfile(self.binary, unix)
            self.copied_programs.add(path)

    def launch(self, argument_text, options, scratch):
        args = cp932_text(argument_text, "the argument text")
        if args[:1] in (" ", "\t"):
            # The blanks after the executable's name are not part of the
            # argument text on Windows; no command line can carry them.
            raise Skip("the argument text begins with a blank")
        program = "diadim.exe"
        if options.program is not None:
            program = cp932_text(options.program, "the program")
            self.place_program(program)
        command = program + " " + args

        cwd = os.fsencode(scratch)
        if options.cwd:
            cwd = os.path.join(cwd, *(unix_name(part) for part in options.cwd.split(b"/")))
        link = None
        if options.drive is not None:
            letter = options.drive.decode("ascii").lower()
            link = os.path.join(self.prefix, "dosdevices", letter + ":")
            if os.path.lexists(link):
                os.remove(link)
            # Wine names a Unix directory by the drive that maps it most
            # closely, so the run starts in the drive's root.
            os.symlink(scratch, link)

        if any(c in command for c in '"%^&|<>') or command.endswith("\\"):
            batch = os.path.join(self.prefix, "drive_c", self.BATCH_NAME)
            with open(batch, "wb") as f:
                f.write(("@" + batch_line(command) + "\r\n").encode("cp932"))
            argv = ["cmd", "/c", "C:\\" + self.BATCH_NAME]
        else:
            argv = ["cmd", "/c", command.encode("utf-8")]
        try:
            return self.wine(*argv, cwd=cwd)
        finally:
            if link:
                os.remove(link)


def first_line(stderr):
    line = stderr.split(b"\n", 1)[0]
    # The Windows C runtime writes a line end on standard error as CR LF.
    return line[:-1] if line.endswith(b"\r") else line


def run_case(case_dir, runner):
    argument_text = read_bytes(os.path.join(case_dir, "args"))
    if argument_text.endswith(b"\r\n"):
        argument_text = argument_text[:-2]
    elif argument_text.endswith(b"\n"):
        argument_text = argument_text[:-1]
    error_path = os.path.join(case_dir, "error")
    expected_kind = read_bytes(error_path).decode().strip() if os.path.exists(error_path) else None
    options = CaseOptions(case_dir)
    input_dir = os.path.join(case_dir, "in")
    expected_dir = input_dir if expected_kind else os.path.join(case_dir, "out")
    expected = snapshot(expected_dir)

    with tempfile.TemporaryDirectory(prefix="diadim-e2e-") as scratch:
        if os.path.isdir(input_dir):
            runner.prepare(input_dir, scratch)
        for name in options.readonly:
            os.chmod(runner.disk_path(scratch, name), 0o444)
        result = runner.launch(argument_text, options, scratch)
        actual = snapshot(scratch, runner.name_in_case)

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
    if options.report is not None and first_line(result.stderr) != options.report:
        problems.append(f"  error report {first_line(result.stderr)!r}, expected {options.report!r}")
    difference = describe_difference(expected, actual)
    if difference:
        problems.append(difference)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True, help="the diadim executable (diadim.exe for --runner wine)")
    parser.add_argument("--cases", required=True, action="append",
                        help="a folder of case folders (may be given more than once)")
    parser.add_argument("--only", help="run only the cases whose name contains this text")
    parser.add_argument("--runner", choices=("native", "wine"), default="native",
                        help="start the binary directly, or a Windows diadim.exe under Wine")
    parser.add_argument("--wine-prefix", default=None,
                        help="the Wine prefix to use and keep (default: wine-prefix beside the binary)")
    args = parser.parse_args()

    binary = os.path.abspath(args.binary)
    if args.runner == "wine":
        prefix = args.wine_prefix or os.path.join(os.path.dirname(binary), "wine-prefix")
        runner = WineRunner(binary, prefix)
    else:
        runner = NativeRunner(binary)
    trouble = runner.check()
    if trouble:
        print(trouble, file=sys.stderr)
        return 2

    cases = []
    for folder in args.cases:
        names = sorted(n for n in os.listdir(folder) if os.path.isdir(os.path.join(folder, n)))
        if args.only:
            names = [n for n in names if args.only in n]
        cases += [(name, os.path.join(folder, name)) for name in names]
    passed = failed = skipped = 0
    with runner:
        for name, case_dir in cases:
            try:
                problems = run_case(case_dir, runner)
            except Skip as skip:
                skipped += 1
                print(f"SKIP {name}: {skip}")
                continue
            if problems:
                failed += 1
                print(f"FAIL {name}\n" + "\n".join(problems))
            else:
                passed += 1
    summary = f"e2e: {passed} passed, {failed} failed"
    if skipped:
        summary += f", {skipped} skipped"
    print(summary)
    return 1 if failed or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
