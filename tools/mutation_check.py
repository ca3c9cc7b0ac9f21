#!/usr/bin/env python3
"""Measures how many small faults in the engine and the plot the fast tests catch.

Each mutant is one small change to one line of core/ or plot/: a comparison flipped or moved
by one (< to <=), + and - or * and / swapped, && and || swapped, true and false swapped, a
numeric constant changed, one character of a string literal changed, or a statement in a branch
dropped. The mutants are applied one at a time to scratch copies of the tree (never to the tree
itself), each copy rebuilds incrementally and runs core_tests, plot_tests, results_shown_tests and
cli_tests, and the mutant is "killed" when a test fails or times out and "survived" when all
pass. A mutant that does not compile is "stillborn" and a mutant whose line is no longer in the
tree is "missing": neither counts in the score, which is "mutation score: K of N killed" over
the mutants that built.

A mutant is named by its file, the whole text of the original line, which of the identical
lines it is, and the whole text of the mutated line, so that a saved list applies to a later
tree as long as the line still stands somewhere under core/ or plot/ (a line moved to another
file is found there). tools/mutation_list.jsonl is the list the recorded scores use; it is the
default. --seed or --count generates a new list from the sources instead. --folders
cli,session,register draws from the command line, the session layer and the lot register
instead, which cli_tests and register_tests cover.
"""

import argparse
import concurrent.futures
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

SOURCE_DIRS = ("core", "plot")
TESTS_FOR_DIR = {
    # The tests run in the order most likely to catch a fault there first; the rest only run
    # while the mutant survives. plot_tests does not link the engine's changes into anything
    # but the plot, which cli_tests also reaches.
    "core": ("core_tests", "cli_tests", "results_shown_tests", "plot_tests"),
    "plot": ("plot_tests", "results_shown_tests", "cli_tests"),
    # The command line and the session layer it shares with the windows; the window tests,
    # which reach the session too, are left to tools/ui_mutation_check.sh.
    "cli": ("cli_tests",),
    "session": ("cli_tests",),
    # register_tests runs its SQLite half here; its PostgreSQL half runs when
    # MORVANE_TEST_POSTGRES_URL names a server (as ctest sets it) and skips without one.
    "register": ("register_tests", "cli_tests"),
}
BUILD_TARGETS = {"cli_tests": ("morvane-cli", "cli_tests"),
                 "register_tests": ("register_writer", "register_tests")}
DEFAULT_SEED = 13
DEFAULT_COUNT = 170
CHUNK = 8

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_LIST = os.path.join(HERE, "mutation_list.jsonl")
EQUIVALENTS = os.path.join(HERE, "mutation_equivalents.jsonl")


def load_equivalents(path=EQUIVALENTS):
    """The mutants no test can tell from the original, each with the reason why, keyed by file,
    the line above, the original line and the mutated line (all stripped), as the mutant list
    names them. They are never drawn and never counted."""
    if not os.path.exists(path):
        return {}
    with open(path, encoding="utf-8") as f:
        entries = [json.loads(line) for line in f if line.strip()]
    return {(e["file"], e["after"], e["from"], e["to"]): e["why"] for e in entries}


# ---------------------------------------------------------------------------------------------
# Finding the places to mutate


def mask_line(line, in_block):
    """Returns (code, literals, in_block): the line with comments blanked to '_' and the
    insides of string and character literals blanked to '_', and the (start, end) spans of the
    insides of the string literals."""
    out = []
    literals = []
    i = 0
    n = len(line)
    while i < n:
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                out.append("_" * (n - i))
                i = n
            else:
                out.append("_" * (end + 2 - i))
                i = end + 2
                in_block = False
            continue
        c = line[i]
        if line.startswith("//", i):
            out.append("_" * (n - i))
            break
        if line.startswith("/*", i):
            in_block = True
            out.append("__")
            i += 2
            continue
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            j = min(j, n - 1)
            out.append(c + "_" * (j - i - 1) + line[j])
            if c == '"':
                literals.append((i + 1, j))
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out), literals, in_block


REL_SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITH_SWAP = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "*=": "/=",
              "/=": "*="}
LOGIC_SWAP = {"&&": "||", "||": "&&"}
BOOL_SWAP = {"true": "false", "false": "true"}
DECLARATION = re.compile(
    r"^(?:(?:const|static|constexpr|auto)\s+)*[A-Za-z_][\w:<>,]*[\s*&]+[A-Za-z_]\w*\s*[={;(\[]")
BRANCH_HEAD = re.compile(r"^(?:\}\s*)?(?:if\b|else\b|case\b|default\b)")


def changed_number(text):
    """A literal changed by one step in its last significant digit: 0 -> 1, 1 -> 0, 7 -> 8,
    0.5 -> 0.6, 1e-9 -> 2e-9, 2.9 -> 2.8."""
    m = re.match(r"^(\d*\.?\d*)(.*)$", text)
    mantissa, rest = m.group(1), m.group(2)
    if "." not in mantissa:
        value = int(mantissa)
        return str(1 if value == 0 else 0 if value == 1 else value + 1) + rest
    digits = list(mantissa)
    for k in range(len(digits) - 1, -1, -1):
        if digits[k].isdigit():
            digits[k] = "8" if digits[k] == "9" else str(int(digits[k]) + 1)
            break
    return "".join(digits) + rest


def changed_char(c):
    if c.isalpha():
        base = "a" if c.islower() else "A"
        return chr((ord(c) - ord(base) + 1) % 26 + ord(base))
    if c.isdigit():
        return str((int(c) + 1) % 10)
    if c == " ":
        return "_"
    return " "


def candidates_in_file(root, rel):
    """Every place in one file where a mutation applies: (class, line index, builder), where
    builder(rng) returns (mutated line, description)."""
    with open(os.path.join(root, rel), encoding="utf-8") as f:
        lines = f.read().split("\n")
    found = []
    in_block = False
    previous_code = ""
    for index, line in enumerate(lines):
        code, literals, in_block = mask_line(line, in_block)
        stripped = code.strip().rstrip("_").strip()
        if not stripped:
            continue
        skip = (stripped.startswith("#") or "assert" in code or "include" in code)
        if not skip:
            def swap_at(start, end, new, desc, line=line):
                return lambda rng: (line[:start] + new + line[end:], desc)

            for m in re.finditer(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", code):
                op = m.group(1)
                found.append(("compare", index, swap_at(m.start(), m.end(), REL_SWAP[op],
                                                         f"'{op}' -> '{REL_SWAP[op]}'")))
            if not literals:
                for m in re.finditer(r"(?<=\s)([-+*/]=?)(?=\s)", code):
                    op = m.group(1)
                    found.append(("arithmetic", index,
                                  swap_at(m.start(), m.end(), ARITH_SWAP[op],
                                          f"'{op}' -> '{ARITH_SWAP[op]}'")))
            for m in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", code):
                op = m.group(1)
                found.append(("logic", index, swap_at(m.start(), m.end(), LOGIC_SWAP[op],
                                                       f"'{op}' -> '{LOGIC_SWAP[op]}'")))
            for m in re.finditer(r"\b(true|false)\b", code):
                op = m.group(1)
                found.append(("boolean", index, swap_at(m.start(), m.end(), BOOL_SWAP[op],
                                                         f"'{op}' -> '{BOOL_SWAP[op]}'")))
            for m in re.finditer(r"(?<![\w.])(\d+\.\d*|\.\d+|\d+)([eE][-+]?\d+)?(?![\w.])",
                                 code):
                old = m.group(0)
                new = changed_number(old)
                found.append(("number", index,
                              swap_at(m.start(), m.end(), new, f"{old} -> {new}")))
            for start, end in literals:
                positions = []
                k = start
                while k < end:
                    if line[k] == "\\":
                        k += 2
                        continue
                    positions.append(k)
                    k += 1
                if positions:
                    def change_literal(rng, line=line, positions=positions, start=start,
                                       end=end):
                        k = rng.choice(positions)
                        new = line[:k] + changed_char(line[k]) + line[k + 1:]
                        return new, f'"{line[start:end]}" -> "{new[start:end]}"'

                    found.append(("string", index, change_literal))
            statement = stripped
            in_branch = BRANCH_HEAD.match(previous_code) and (
                previous_code.endswith(("{", ")", ":")) or previous_code == "else")
            declares = DECLARATION.match(statement) and not re.match(r"^(return|throw)\b",
                                                                     statement)
            if statement.endswith(";") and in_branch and not declares:
                indent = line[:len(line) - len(line.lstrip())]
                found.append(("drop", index,
                              lambda rng, indent=indent, s=line.strip():
                              (indent + ";", f"drops '{s}'")))
        previous_code = stripped
    return lines, found


def source_files(root):
    """The C++ files of the folders being mutated, their subfolders included (the window code
    keeps one folder for each window or job)."""
    files = []
    for d in SOURCE_DIRS:
        for folder, subfolders, names in os.walk(os.path.join(root, d)):
            subfolders.sort()
            rel = os.path.relpath(folder, root)
            files += [f"{rel}/{name}" for name in sorted(names) if name.endswith((".cpp", ".h"))]
    return files


def generate(root, seed, count, equivalents=None):
    """Draws count mutants from the sources with a seeded generator: the places are grouped by
    kind of mutation, each group shuffled, and the groups taken in turn, so that every kind is
    represented however many places of each kind there are."""
    rng = random.Random(seed)
    groups = {}
    file_lines = {}
    for rel in source_files(root):
        lines, found = candidates_in_file(root, rel)
        file_lines[rel] = lines
        for kind, index, builder in found:
            groups.setdefault(kind, []).append((rel, index, builder))
    kinds = sorted(groups)
    for kind in kinds:
        rng.shuffle(groups[kind])
    mutants = []
    seen = set()
    while len(mutants) < count and any(groups[k] for k in kinds):
        for kind in kinds:
            if len(mutants) >= count or not groups[kind]:
                continue
            rel, index, builder = groups[kind].pop()
            original = file_lines[rel][index]
            mutated, desc = builder(rng)
            key = (rel, index, mutated)
            named = (rel, previous_line(file_lines[rel], index), original.strip(), mutated.strip())
            if mutated == original or key in seen or named in (equivalents or {}):
                continue
            seen.add(key)
            nth = sum(1 for line in file_lines[rel][:index] if line.strip() == original.strip())
            mutants.append({"file": rel, "nth": nth, "kind": kind, "desc": desc,
                            "after": previous_line(file_lines[rel], index),
                            "from": original.strip(), "to": mutated.strip(),
                            "line": index + 1})
    mutants.sort(key=lambda m: (m["file"], m["line"], m["to"]))
    for number, m in enumerate(mutants, 1):
        m["id"] = f"m{number:03d}"
    return mutants


# ---------------------------------------------------------------------------------------------
# Applying a mutant to a tree


def previous_line(lines, index):
    """The text of the nearest non-blank line above, which tells apart identical lines such as
    "return false;"."""
    for k in range(index - 1, -1, -1):
        if lines[k].strip():
            return lines[k].strip()
    return ""


def locate(root, mutant):
    """The file and line index of the mutant's original line in the tree, or None. In the file
    it was drawn from, the nth of the identical lines that follow the same line is taken; a
    line moved to another file under core/ or plot/ is found there by the same two lines."""
    files = [mutant["file"]] + [f for f in source_files(root) if f != mutant["file"]]
    for rel in files:
        path = os.path.join(root, rel)
        if not os.path.exists(path):
            continue
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        same = [i for i, line in enumerate(lines) if line.strip() == mutant["from"]]
        if rel == mutant["file"] and mutant["nth"] < len(same):
            index = same[mutant["nth"]]
            if previous_line(lines, index) == mutant["after"]:
                return rel, index
        for index in same:
            if previous_line(lines, index) == mutant["after"]:
                return rel, index
    return None


# ---------------------------------------------------------------------------------------------
# Scratch copies and their builds


def copy_tree(tree, dest):
    """Copies the tracked and untracked-but-not-ignored files of the checkout, so that local
    edits are measured too and no build folder comes along."""
    listing = subprocess.run(["git", "-C", tree, "ls-files", "-z", "-c", "-o",
                              "--exclude-standard"], check=True, capture_output=True).stdout
    for rel in listing.decode().split("\0"):
        if not rel or not os.path.isfile(os.path.join(tree, rel)):
            continue
        target = os.path.join(dest, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(os.path.join(tree, rel), target)


RUNNING = set()


def run(cmd, timeout=None, cwd=None, env=None):
    """Runs a command in its own process group, so that a timeout ends its children too.
    Returns (exit status or None on timeout, output)."""
    with subprocess.Popen(cmd, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          start_new_session=True) as proc:
        RUNNING.add(proc.pid)
        try:
            out, _ = proc.communicate(timeout=timeout)
            return proc.returncode, out.decode(errors="replace")
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            out, _ = proc.communicate()
            return None, out.decode(errors="replace")
        finally:
            RUNNING.discard(proc.pid)


def stop_on_signal(scratch):
    """On Ctrl-C or a kill, ends the builds and tests under way and removes the scratch
    copies before leaving."""
    def handler(number, frame):
        for pid in list(RUNNING):
            try:
                os.killpg(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        if scratch:
            time.sleep(0.5)
            shutil.rmtree(scratch, ignore_errors=True)
        print(f"mutation check stopped by signal {number}", file=sys.stderr, flush=True)
        os._exit(128 + number)

    signal.signal(signal.SIGINT, handler)
    signal.signal(signal.SIGTERM, handler)


class Worker:
    def __init__(self, tree, base, number, optimisation):
        self.src = os.path.join(base, f"copy{number}")
        self.build = os.path.join(self.src, "build")
        # The tests' scratch files go to a temporary folder of this copy's own: copies testing
        # side by side, or other test runs on the machine, must not write into each other's.
        self.tmp = os.path.join(base, f"tmp{number}")
        os.makedirs(self.tmp, exist_ok=True)
        self.env = dict(os.environ, TMPDIR=self.tmp, TEST_TMPDIR=self.tmp)
        copy_tree(tree, self.src)
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        status, out = run(["cmake", "-S", self.src, "-B", self.build, *generator,
                           "-DCMAKE_BUILD_TYPE=None",
                           f"-DCMAKE_CXX_FLAGS={optimisation} -g0 -DNDEBUG",
                           "-DCMAKE_CXX_COMPILER_LAUNCHER=", "-DMORVANE_BUILD_UI=OFF",
                           "-DMORVANE_BUILD_BENCHMARKS=OFF", "-DMORVANE_CLI_LINKAGE=shared",
                           ])
        if status != 0:
            raise RuntimeError(f"configuring {self.src} failed:\n{out}")
        self.timeouts = {}

    def build_targets(self, targets):
        status, out = run(["cmake", "--build", self.build, "-j1", "--target", *targets])
        return status == 0, out

    def run_test(self, name, timeout):
        status, out = run([os.path.join(self.build, "bin", name), "--gtest_brief=1"],
                          timeout=timeout, cwd=self.build, env=self.env)
        if status is None:
            return "timeout"
        if status != 0:
            failed = re.findall(r"^\[  FAILED  \] ([\w/.]+)", out, re.M)
            failed = sorted(set(f for f in failed if "." in f))
            return ", ".join(failed) if failed else f"exit {status}"
        return None

    def baseline(self, timeout):
        """Builds the unchanged copy and runs every test once: a failure here would make every
        mutant look killed. Sets each test's time limit from its own run time."""
        names = sorted({name for d in SOURCE_DIRS for name in TESTS_FOR_DIR[d]})
        targets = {t for name in names for t in BUILD_TARGETS.get(name, (name,))}
        ok, out = self.build_targets(sorted(targets))
        if not ok:
            raise RuntimeError(f"the unchanged tree does not build:\n{out[-4000:]}")
        for name in names:
            started = time.monotonic()
            fate = self.run_test(name, None)
            elapsed = time.monotonic() - started
            if fate:
                raise RuntimeError(f"{name} fails on the unchanged tree ({fate})")
            self.timeouts[name] = timeout or max(20.0, 10 * elapsed)

    def try_mutant(self, mutant, every_test=False):
        """Returns (fate, detail). The tests stop at the first program that fails unless
        every_test is set, when all of them run and the detail names every failing test."""
        place = locate(self.src, mutant)
        if place is None:
            return "missing", ""
        rel, index = place
        path = os.path.join(self.src, rel)
        with open(path, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        indent = lines[index][:len(lines[index]) - len(lines[index].lstrip())]
        lines[index] = indent + mutant["to"]
        try:
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            failures = []
            for name in TESTS_FOR_DIR[rel.split("/")[0]]:
                ok, _ = self.build_targets(BUILD_TARGETS.get(name, (name,)))
                if not ok:
                    return "stillborn", f"{name} does not build"
                fate = self.run_test(name, self.timeouts[name])
                if fate:
                    failures.append(f"{name}: {fate}")
                    if not every_test:
                        break
            return ("killed", "; ".join(failures)) if failures else ("survived", "")
        finally:
            # The restored file is newer than the mutant's object, so the next build compiles
            # the original again.
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)


# ---------------------------------------------------------------------------------------------


def main():
    global SOURCE_DIRS
    parser = argparse.ArgumentParser(
        description="Applies small faults to core/ and plot/ one at a time in scratch copies "
                    "and counts those the fast tests catch.")
    parser.add_argument("--tree", default=os.path.dirname(HERE),
                        help="checkout to measure (default: the one holding this script)")
    parser.add_argument("--list", default=None,
                        help=f"mutant list to apply (default: {DEFAULT_LIST} when neither "
                             "--seed nor --count is given)")
    parser.add_argument("--seed", type=int, default=None,
                        help=f"generate the list from the sources with this seed "
                             f"(default {DEFAULT_SEED})")
    parser.add_argument("--count", type=int, default=None,
                        help=f"number of mutants to generate (default {DEFAULT_COUNT})")
    parser.add_argument("--fresh", type=int, default=None, metavar="N",
                        help="draw N mutants from the current sources with a new random seed, "
                             "printed on the first line so the draw can be repeated")
    parser.add_argument("--save", default=None, help="write the mutant list to this file")
    parser.add_argument("--list-only", action="store_true",
                        help="print the mutants without building anything")
    parser.add_argument("--ids", default=None, help="only these mutants, e.g. m004,m120")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2,
                        help="scratch copies building and testing side by side (default: "
                             "the number of processors)")
    parser.add_argument("--timeout", type=float, default=None,
                        help="seconds one test program may run (default: ten times its run "
                             "on the unchanged tree, at least 20)")
    parser.add_argument("--optimisation", default="-O1",
                        help="compiler optimisation of the scratch builds (default -O1)")
    parser.add_argument("--scratch", default=None,
                        help="folder for the scratch copies (default: a new temporary folder)")
    parser.add_argument("--keep", action="store_true", help="keep the scratch copies")
    parser.add_argument("--every-test", action="store_true",
                        help="run every test program on each mutant and name every failing "
                             "test, to see which tests catch which mutants (slower)")
    parser.add_argument("--folders", default=",".join(SOURCE_DIRS),
                        help="folders to draw mutants from, e.g. ui for the window code, whose "
                             "mutants tools/ui_mutation_check.sh runs (default core,plot; "
                             "core, plot, cli, session and register can be run here)")
    args = parser.parse_args()

    SOURCE_DIRS = tuple(args.folders.split(","))
    if not args.list_only and not set(SOURCE_DIRS) <= set(TESTS_FOR_DIR):
        parser.error("the fast tests cover core, plot, cli, session and register; run the "
                     "window code's mutants with tools/ui_mutation_check.sh")
    tree = os.path.abspath(args.tree)
    if args.fresh is not None:
        args.seed, args.count = random.SystemRandom().randrange(1, 10**6), args.fresh
    if args.seed is None and args.count is None and args.list is None \
            and os.path.exists(DEFAULT_LIST):
        args.list = DEFAULT_LIST
    if args.list:
        with open(args.list, encoding="utf-8") as f:
            mutants = [json.loads(line) for line in f if line.strip()]
        equivalents = load_equivalents()
        listed = len(mutants)
        mutants = [m for m in mutants
                   if (m["file"], m["after"], m["from"], m["to"]) not in equivalents]
        origin = f"list {os.path.relpath(args.list)}, {listed - len(mutants)} equivalent set aside"
    else:
        seed = DEFAULT_SEED if args.seed is None else args.seed
        count = DEFAULT_COUNT if args.count is None else args.count
        mutants = generate(tree, seed, count, load_equivalents())
        origin = f"seed {seed}, count {count}"
    if args.save:
        with open(args.save, "w", encoding="utf-8") as f:
            for m in mutants:
                f.write(json.dumps(m, ensure_ascii=False) + "\n")
    if args.ids:
        wanted = set(args.ids.split(","))
        mutants = [m for m in mutants if m["id"] in wanted]
    if args.list_only:
        print(f"# {origin}")
        for m in mutants:
            print(f"{m['id']} {m['file']}:{m['line']} {m['kind']} {m['desc']}")
        return 0

    commit = subprocess.run(["git", "-C", tree, "rev-parse", "--short", "HEAD"],
                            capture_output=True, text=True).stdout.strip()
    dirty = subprocess.run(["git", "-C", tree, "status", "--porcelain", "--", "core", "plot",
                            "tests", "cli", "session", "register"],
                           capture_output=True, text=True).stdout.strip()
    print(f"mutation check of {tree} at {commit}{' with local changes' if dirty else ''}: "
          f"{len(mutants)} mutants ({origin}), {args.jobs} jobs", flush=True)

    started = time.monotonic()
    base = args.scratch or tempfile.mkdtemp(prefix="morvane-mutants.")
    os.makedirs(base, exist_ok=True)
    # The saving tests run a child as an unprivileged user in their temporary folder, which
    # lies in here: that user must be able to reach it.
    os.chmod(base, 0o755)
    stop_on_signal(None if args.keep else base)
    lock = threading.Lock()
    results = {}
    try:
        # Mutants of the same file go to the same copy in small batches, so a copy rarely has
        # to compile a restored file again; the batches are handed out as copies come free.
        by_file = {}
        for m in mutants:
            by_file.setdefault(m["file"], []).append(m)
        batches = [group[i:i + CHUNK] for group in by_file.values()
                   for i in range(0, len(group), CHUNK)]
        batches.sort(key=len, reverse=True)
        queue = list(reversed(batches))

        def work(number):
            worker = Worker(tree, base, number, args.optimisation)
            worker.baseline(args.timeout)
            while True:
                with lock:
                    if not queue:
                        return
                    batch = queue.pop()
                for m in batch:
                    fate, detail = worker.try_mutant(m, args.every_test)
                    with lock:
                        results[m["id"]] = (fate, detail)
                        print(f"{m['id']} {m['file']}:{m['line']} {m['kind']} {m['desc']}: "
                              f"{fate}{' (' + detail + ')' if detail else ''}", flush=True)

        jobs = max(1, min(args.jobs, len(batches)))
        with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
            for future in [pool.submit(work, n) for n in range(jobs)]:
                future.result()
    finally:
        if not args.keep:
            shutil.rmtree(base, ignore_errors=True)

    fates = [results[m["id"]][0] for m in mutants]
    killed = fates.count("killed")
    survived = [m for m in mutants if results[m["id"]][0] == "survived"]
    minutes = (time.monotonic() - started) / 60
    print(f"survived: {' '.join(m['id'] for m in survived) or 'none'}")
    print(f"stillborn (did not compile, not counted): {fates.count('stillborn')}; "
          f"missing (line not in this tree, not counted): {fates.count('missing')}; "
          f"run time {minutes:.1f} min")
    print(f"mutation score: {killed} of {killed + len(survived)} killed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
