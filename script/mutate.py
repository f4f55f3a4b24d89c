#!/usr/bin/env python3
"""Mutation testing of the launcher's product code.

Each mutant changes one line of one product file. It is built and tested on
the host first; a mutant the host tests do not kill, in a file the Windows
build compiles, is then built with mingw-w64 and tested under Wine. Prints the
mutation score and every surviving mutant. Run through script/mutate.
"""
import argparse
import fcntl
import fnmatch
import os
import random
import re
import resource
import signal
import statistics
import subprocess
import sys
import time

# The product code: paths relative to the repository root, matched as by
# fnmatch, where * also spans folders.
PRODUCT_GLOBS = ["*.c", "*.cpp", "*.h"]
EXCLUDED_GLOBS = ["tests/*", "bench/*", "tools/*", "build/*", "dist/*", ".*"]

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
HOST_DIR = "build/mutate-host"
WINDOWS_DIR = "build/mutate-windows"
WORK_DIR = "build/mutate"
BACKUP_CONTENT = os.path.join(WORK_DIR, "backup.content")
BACKUP_PATH = os.path.join(WORK_DIR, "backup.path")
HOST_CONFIGURE = ["-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug"]
WINDOWS_CONFIGURE = ["-G", "Ninja", "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake",
                     "-DCMAKE_BUILD_TYPE=Release"]
WINE_PREFIX = os.path.join(WINDOWS_DIR, "wineprefix")
# For the tests without a timeout of their own; the Wine tests set 120 s themselves.
WINE_TIMEOUT = 120
# A mutant that allocates without end must not take the shared machine's memory.
HOST_MEMORY_LIMIT = 4 << 30


# ---------------------------------------------------------------- mutants

def is_raw_string(text, quote):
    k = quote - 1
    if k < 0 or text[k] != "R":
        return False
    if text[k - 2:k] == "u8":
        k -= 2
    elif k > 0 and text[k - 1] in "uUL":
        k -= 1
    return k == 0 or not (text[k - 1].isalnum() or text[k - 1] == "_")


def mask_source(text):
    """The text with the insides of literals and all comments blanked.

    Same length and line breaks as the text, so positions found in the mask
    are positions in the source.
    """
    out = list(text)
    n = len(text)
    i = 0

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == '"' and is_raw_string(text, i):
            m = re.match(r'"([^()\\\s]{0,16})\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            end = n if end < 0 else end + len(m.group(1)) + 1
            blank(i + 1, end)
            i = end + 1
        elif c == "'" and 0 < i < n - 1 and text[i - 1].isdigit() and text[i + 1].isalnum():
            i += 1  # a digit separator (1'000)
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j, n)
            blank(i + 1, j)
            i = j + 1
        else:
            i += 1
    return "".join(out)


COMPARISONS = {"==": ["!="], "!=": ["=="], "<": ["<=", ">"], "<=": ["<"], ">": [">=", "<"], ">=": [">"]}
# Binary operators only when written with a blank each side: that is how the
# code writes them, and it keeps template brackets, ->, <<, ++ and += out.
COMPARISON_RE = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
LOGICAL_RE = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
ARITHMETIC_RE = re.compile(r"(?<=\s)([+-])(?=\s)")
INTEGER_RE = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|[0-9]+)([uUlL]*)(?![\w.'])")
# The 0 of "= 0" after a parameter list makes a function pure virtual, not a number.
PURE_VIRTUAL_RE = re.compile(r"\)[\w\s]*=\s*$")
BOOLEAN_RE = re.compile(r"\b(true|false)\b")
CONDITION_RE = re.compile(r"\b(if|while)\s*\(")
CALL_STATEMENT_RE = re.compile(r"[A-Za-z_~:][\w:.\->\[\]()*&]*\(.*\)\s*;")
NOT_CALLS = {"return", "delete", "throw", "case", "goto", "co_return", "co_yield", "else", "do",
             "static_assert", "sizeof", "new", "if", "while", "for", "switch"}
STRING_ONLY_RE = re.compile(r'[\s,;+()]*((u8|u|U|L)?R?"[^"]*"[\s,;+()]*)+')
# A named constant, as the system's headers name flags and arguments
# (FILE_SHARE_READ, OPEN_EXISTING, INFINITE, TRUE), not a macro that is called.
NAMED_CONSTANT_RE = re.compile(r"\b(?!FALSE\b|NULL\b)[A-Z][A-Z0-9_]{2,}\b(?!\s*\()")
CALLEE_RE = re.compile(r"(?<![.>\w])(::)?(?![A-Z][A-Z0-9_]*\s*$)[A-Za-z_]\w*\s*$")
# The value a failing call gives under the test's fault hook: not the call's.
FAULT_BRANCH_RE = re.compile(r'Fails\("[^"]*"\)\s*\?$')


def integer_mutations(literal, suffix):
    value = int(literal, 16) if literal[:2].lower() == "0x" else int(literal)
    if literal[:2].lower() == "0x":
        fmt = "0x%X" if any(ch.isupper() for ch in literal[2:]) else "0x%x"
        spell = lambda v: (fmt % v) if v else "0"
    else:
        spell = str
    if value == 0:
        return [spell(1) + suffix]
    return [spell(value + 1) + suffix, "0" + suffix]


def matching_paren(text, start, step=1):
    """Where the parenthesis at start is matched, walking forwards (step 1) or
    backwards (step -1); -1 if it is not."""
    opening, closing = "()" if step == 1 else ")("
    depth = 0
    for k in range(start, len(text) if step == 1 else -1, step):
        if text[k] == opening:
            depth += 1
        elif text[k] == closing:
            depth -= 1
            if depth == 0:
                return k
    return -1


def line_mutations(line, masked):
    """(start, end, replacement) for every mutation of one line."""
    found = []
    for m in COMPARISON_RE.finditer(masked):
        for new in COMPARISONS[m.group(1)]:
            found.append((m.start(), m.end(), new))
    for m in LOGICAL_RE.finditer(masked):
        found.append((m.start(), m.end(), "||" if m.group(1) == "&&" else "&&"))
    for m in CONDITION_RE.finditer(masked):
        if masked[m.end():].lstrip().startswith("constexpr"):
            continue
        close = matching_paren(masked, m.end() - 1)
        if close > m.end():
            found.append((m.end(), close, "!(" + line[m.end():close] + ")"))
    for m in ARITHMETIC_RE.finditer(masked):
        found.append((m.start(), m.end(), "-" if m.group(1) == "+" else "+"))
    for m in INTEGER_RE.finditer(masked):
        if PURE_VIRTUAL_RE.search(masked[:m.start()]):
            continue
        for new in integer_mutations(m.group(1), m.group(2)):
            found.append((m.start(), m.end(), new))
    for m in BOOLEAN_RE.finditer(masked):
        found.append((m.start(), m.end(), "false" if m.group(1) == "true" else "true"))
    stripped = masked.strip()
    if CALL_STATEMENT_RE.fullmatch(stripped):
        call = stripped[:-1].rstrip()
        opening = matching_paren(call, len(call) - 1, -1)
        callee = call[:opening]
        head = re.match(r"[\w:~]*", stripped).group(0)
        if opening > 0 and not re.search(r"\s", callee) and head not in NOT_CALLS \
                and call.count("(") == call.count(")"):
            start = masked.index(stripped[0])
            end = masked.rindex(";") + 1
            found.append((start, end, ";"))
    return found


def enclosing_call(masked, position):
    """Whether position lies at the top level of the arguments of a call that
    is not a method's: a system call's, or one through a pointer to it."""
    depth = 0
    for k in range(position - 1, -1, -1):
        if masked[k] == ")":
            depth += 1
        elif masked[k] == "(":
            if depth == 0:
                callee = CALLEE_RE.search(masked[:k])
                return bool(callee) and callee.group(0).strip() not in NOT_CALLS
            depth -= 1
        elif masked[k] in ";{}":
            return False
    return False


def flag_mutations(masked):
    """(start, end) in the masked text of every named constant that is a term
    of a '|', the value a '?' chooses or a whole argument of a call (not of a
    method or a macro): a flag that can be dropped, an argument that can be 0."""
    found = []
    for m in NAMED_CONSTANT_RE.finditer(masked):
        before = masked[:m.start()].rstrip()
        after = masked[m.end():].lstrip()
        previous, following = before[-1:], after[:1]
        term = (previous == "|" and before[-2:] != "||") or (following == "|" and after[:2] != "||")
        operand = previous == "?" and not FAULT_BRANCH_RE.search(before)
        argument = previous in ("(", ",") and following in (",", ")") and enclosing_call(masked, m.start())
        if term or operand or argument:
            found.append((m.start(), m.end()))
    return found


def file_mutants(path, flags_only=False):
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    lines = text.splitlines(keepends=True)
    masked_text = mask_source(text)
    masked_lines = masked_text.splitlines(keepends=True)
    # The flag operators read across lines (a call's arguments, one per line).
    flags = {}
    line_starts = [0]
    for line in lines:
        line_starts.append(line_starts[-1] + len(line))
    for start, end in flag_mutations(masked_text):
        number = next(n for n in range(len(lines)) if line_starts[n + 1] > start)
        flags.setdefault(number + 1, []).append(
            (start - line_starts[number], end - line_starts[number], "0"))
    mutants = []
    seen = set()
    in_directive = False
    for number, (line, masked) in enumerate(zip(lines, masked_lines), start=1):
        body = line.rstrip("\r\n")
        mbody = masked.rstrip("\r\n")
        directive = in_directive or mbody.lstrip().startswith("#")
        in_directive = directive and mbody.rstrip().endswith("\\")
        if directive or not mbody.strip() or STRING_ONLY_RE.fullmatch(mbody):
            continue
        candidates = [] if flags_only else line_mutations(body, mbody)
        for start, end, new in candidates + flags.get(number, []):
            mutated = body[:start] + new + body[end:]
            if mutated == body or (number, mutated) in seen:
                continue
            seen.add((number, mutated))
            mutants.append({"path": path, "line": number, "original": body, "mutated": mutated})
    return mutants


def product_files(restrict):
    def excluded(path):
        return any(fnmatch.fnmatch(path, x) for x in EXCLUDED_GLOBS)

    files = []
    # Walked rather than globbed, so the build folders (a Wine prefix among
    # them) are never entered.
    for folder, subfolders, names in os.walk(ROOT):
        relative = os.path.relpath(folder, ROOT)
        relative = "" if relative == "." else relative + "/"
        subfolders[:] = sorted(d for d in subfolders if not excluded(relative + d + "/"))
        for name in names:
            path = relative + name
            if excluded(path) or not any(fnmatch.fnmatch(path, g) for g in PRODUCT_GLOBS):
                continue
            if restrict and not any(fnmatch.fnmatch(path, r) for r in restrict):
                continue
            files.append(path)
    return sorted(files)


def describe(m):
    return "%s:%d: %s -> %s" % (m["path"], m["line"], m["original"].strip(), m["mutated"].strip())


# ---------------------------------------------------------------- running

class Failure(Exception):
    pass


def run(command, log, timeout, limit_memory=False):
    """Runs a command in a session of its own, its output appended to log.

    Returns (exit code, output); a timeout returns code None. The whole
    session is ended on a timeout or an interrupt, so nothing it started
    keeps running.
    """
    def limits():
        if limit_memory:
            resource.setrlimit(resource.RLIMIT_AS, (HOST_MEMORY_LIMIT, HOST_MEMORY_LIMIT))

    log.write("$ %s\n" % " ".join(command))
    log.flush()
    proc = subprocess.Popen(command, cwd=ROOT, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, start_new_session=True, preexec_fn=limits)
    try:
        output, _ = proc.communicate(timeout=timeout)
        code = proc.returncode
    except subprocess.TimeoutExpired:
        code = None
        os.killpg(proc.pid, signal.SIGKILL)
        output, _ = proc.communicate()
    except BaseException:
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait()
        raise
    text = output.decode("utf-8", "replace")
    log.write(text)
    log.flush()
    return code, text


def failed_tests(output):
    names = re.findall(r"^\s*\d+ - (\S+) \(", output.split("The following tests FAILED:")[-1], re.M)
    return names if "The following tests FAILED:" in output else []


class Builds:
    def __init__(self, args, log):
        self.args = args
        self.log = log

    def configure(self, directory, settings):
        if os.path.exists(os.path.join(ROOT, directory, "build.ninja")):
            return
        code, _ = run(["cmake", "-S", ".", "-B", directory] + settings, self.log, 600)
        if code != 0:
            raise Failure("cannot configure %s (see %s/log.txt)" % (directory, WORK_DIR))

    def build(self, directory):
        code, _ = run(["cmake", "--build", directory, "-j", str(self.args.jobs)], self.log, 3600)
        return code == 0

    def sources(self, directory):
        """Every file the build's compilations read, relative to the root."""
        with open(os.devnull, "w") as quiet:
            code, output = run(["ninja", "-C", directory, "-t", "deps"], quiet, 120)
        if code != 0:
            raise Failure("cannot read the dependencies of %s" % directory)
        found = set()
        for line in output.splitlines():
            if line.startswith(" "):
                path = os.path.normpath(os.path.join(ROOT, directory, line.strip()))
                if path.startswith(ROOT + os.sep):
                    found.add(os.path.relpath(path, ROOT))
        return found

    def host_tests(self):
        code, output = run(["ctest", "--test-dir", HOST_DIR, "--stop-on-failure", "-j", str(self.args.jobs),
                            "--timeout", str(self.args.host_timeout)], self.log, 3600, limit_memory=True)
        return code == 0, failed_tests(output)

    def wine_tests(self):
        teardown = [os.path.join(ROOT, "script/wine-env.sh"), "teardown", os.path.join(ROOT, WINE_PREFIX)]
        try:
            # One at a time: the Wine tests share a prefix and read each other's message boxes.
            code, output = run(["ctest", "--test-dir", WINDOWS_DIR, "--stop-on-failure", "--output-on-failure", "-j", "1", "-E", "^release$",
                                "--timeout", str(WINE_TIMEOUT)], self.log, 4 * 3600)
        finally:
            run(teardown, self.log, 300)
        failed = failed_tests(output)
        if "wine_setup" in failed:
            raise Failure("the Wine prefix could not be set up (see %s/log.txt)" % WORK_DIR)
        return code == 0, failed


# ---------------------------------------------------------------- the file under mutation

def write_file(path, data):
    # Written in place so the file gets a new modification time: Ninja then
    # rebuilds from the restored text instead of keeping the mutant's objects.
    with open(os.path.join(ROOT, path), "wb") as f:
        f.write(data)


def recover_backup():
    if not os.path.exists(os.path.join(ROOT, BACKUP_PATH)):
        return
    with open(os.path.join(ROOT, BACKUP_PATH)) as f:
        path = f.read().strip()
    with open(os.path.join(ROOT, BACKUP_CONTENT), "rb") as f:
        data = f.read()
    write_file(path, data)
    os.remove(os.path.join(ROOT, BACKUP_PATH))
    print("mutate: restored %s from the backup an interrupted run left" % path, file=sys.stderr)


class Mutated:
    """The mutant written into the worktree for the time of a with block."""

    def __init__(self, mutant):
        self.mutant = mutant

    def __enter__(self):
        path = self.mutant["path"]
        with open(os.path.join(ROOT, path), "rb") as f:
            self.original = f.read()
        lines = self.original.decode("utf-8", "surrogateescape").splitlines(keepends=True)
        line = lines[self.mutant["line"] - 1]
        body = line.rstrip("\r\n")
        if body != self.mutant["original"]:
            raise Failure("%s changed while mutating it" % path)
        lines[self.mutant["line"] - 1] = self.mutant["mutated"] + line[len(body):]
        with open(os.path.join(ROOT, BACKUP_CONTENT), "wb") as f:
            f.write(self.original)
            os.fsync(f.fileno())
        with open(os.path.join(ROOT, BACKUP_PATH), "w") as f:
            f.write(path + "\n")
            os.fsync(f.fileno())
        try:
            write_file(path, "".join(lines).encode("utf-8", "surrogateescape"))
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        write_file(self.mutant["path"], self.original)
        os.remove(os.path.join(ROOT, BACKUP_PATH))
        return False


def interrupt(signum, frame):
    raise KeyboardInterrupt


# ---------------------------------------------------------------- main

def parse_args(argv):
    p = argparse.ArgumentParser(prog="script/mutate", description="Mutation testing of the product code "
                                "against the host tests and the Wine scenarios.")
    p.add_argument("--sample", type=int, metavar="N", help="test a random sample of N mutants")
    p.add_argument("--seed", type=int, default=1, metavar="S", help="seed of the sample (default 1)")
    p.add_argument("--files", nargs="+", metavar="GLOB", help="only files matching these globs")
    p.add_argument("--host-only", action="store_true", help="host tests only, no Windows build or Wine")
    p.add_argument("--flags-only", action="store_true",
                   help="only the flag operators: a named constant dropped from a '|' or turned into 0")
    p.add_argument("--list", action="store_true", help="list the mutants and stop")
    p.add_argument("--only", metavar="FILE",
                   help="only the mutants listed in FILE, one per line as a run lists its survivors")
    p.add_argument("--jobs", type=int, default=2, metavar="N", help="build and host-test jobs (default 2)")
    p.add_argument("--host-timeout", type=int, default=30, metavar="S", help="per host test (default 30)")
    return p.parse_args(argv)


def main(argv):
    args = parse_args(argv)
    os.chdir(ROOT)
    os.makedirs(WORK_DIR, exist_ok=True)
    lock = open(os.path.join(WORK_DIR, "lock"), "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        raise Failure("another script/mutate runs in this worktree")
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, interrupt)
    recover_backup()

    files = product_files(args.files)
    if not files:
        raise Failure("no product file matches")
    mutants = [m for path in files for m in file_mutants(path, args.flags_only)]
    if args.only:
        with open(args.only) as f:
            wanted = {line.strip() for line in f if line.strip()}
        mutants = [m for m in mutants if describe(m) in wanted]
    if args.list:
        for m in mutants:
            print(describe(m))
        print("%d mutants in %d files" % (len(mutants), len(files)))
        return 0

    log = open(os.path.join(WORK_DIR, "log.txt"), "w")
    builds = Builds(args, log)
    print("mutate: building and checking the unmutated code (log: %s/log.txt)" % WORK_DIR, flush=True)
    builds.configure(HOST_DIR, HOST_CONFIGURE)
    if not builds.build(HOST_DIR):
        raise Failure("the unmutated host build fails")
    host_files = builds.sources(HOST_DIR)
    windows_files = set()
    if not args.host_only:
        builds.configure(WINDOWS_DIR, WINDOWS_CONFIGURE)
        if not builds.build(WINDOWS_DIR):
            raise Failure("the unmutated Windows build fails")
        windows_files = builds.sources(WINDOWS_DIR)

    built = host_files | windows_files
    unbuilt = sorted({m["path"] for m in mutants if m["path"] not in built})
    if unbuilt:
        print("mutate: no build compiles %s; not mutated" % ", ".join(unbuilt))
    mutants = [m for m in mutants if m["path"] in built]
    total = len(mutants)
    if args.sample is not None and args.sample < len(mutants):
        mutants = random.Random(args.seed).sample(mutants, args.sample)
        mutants.sort(key=lambda m: (m["path"], m["line"]))
    print("mutate: %d of %d mutants" % (len(mutants), total), flush=True)

    ok, failed = builds.host_tests()
    if not ok:
        raise Failure("host tests fail without a mutant: %s" % " ".join(failed))
    if any(m["path"] in windows_files for m in mutants):
        start = time.monotonic()
        ok, failed = builds.wine_tests()
        if not ok:
            raise Failure("Wine tests fail without a mutant: %s" % " ".join(failed))
        print("mutate: Wine tests pass unmutated in %.0f s" % (time.monotonic() - start), flush=True)

    results = []
    for k, m in enumerate(mutants, start=1):
        start = time.monotonic()
        status, where, tests = "survived", "", []
        with Mutated(m):
            log.write("\n==== [%d/%d] %s\n" % (k, len(mutants), describe(m)))
            if m["path"] in host_files:
                where = "host"
                if not builds.build(HOST_DIR):
                    status = "no-compile"
                else:
                    ok, tests = builds.host_tests()
                    if not ok:
                        status = "killed"
            if status == "survived" and m["path"] in windows_files:
                where = "wine"
                if not builds.build(WINDOWS_DIR):
                    status = "no-compile"
                else:
                    ok, tests = builds.wine_tests()
                    if not ok:
                        status = "killed"
        seconds = time.monotonic() - start
        results.append((m, status, where, seconds))
        by = " by %s" % tests[0] if status == "killed" and tests else ""
        print("[%d/%d] %s %s:%d  %s -> %s  (%s, %.1f s%s)" % (
            k, len(mutants), status, m["path"], m["line"], m["original"].strip(), m["mutated"].strip(),
            where, seconds, by), flush=True)

    report(results)
    return 0


def report(results):
    killed = [r for r in results if r[1] == "killed"]
    survived = [r for r in results if r[1] == "survived"]
    compiling = len(killed) + len(survived)
    score = 100.0 * len(killed) / compiling if compiling else 0.0
    print()
    print("mutation score: %d killed of %d compiling (%.1f%%)" % (len(killed), compiling, score))
    print("not compiling: %d" % (len(results) - compiling))
    for label, rows in (("host-killed", [r for r in killed if r[2] == "host"]),
                        ("Wine-evaluated", [r for r in results if r[2] == "wine"]),
                        ("not compiling", [r for r in results if r[1] == "no-compile"])):
        if rows:
            # The median too: a mutant in a header rebuilds nearly everything and pulls the average up.
            print("time per %s mutant: %.1f s average, %.1f s median, over %d" % (
                label, sum(r[3] for r in rows) / len(rows), statistics.median(r[3] for r in rows), len(rows)))
    if survived:
        print("survivors:")
    lines = [describe(r[0]) for r in survived]
    for line in lines:
        print(line)
    with open(os.path.join(ROOT, WORK_DIR, "survivors.txt"), "w") as f:
        f.write("".join(line + "\n" for line in lines))


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except Failure as e:
        print("mutate: %s" % e, file=sys.stderr)
        sys.exit(2)
    except KeyboardInterrupt:
        print("\nmutate: interrupted; the mutated file is restored", file=sys.stderr)
        sys.exit(130)
