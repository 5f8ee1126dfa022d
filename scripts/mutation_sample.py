#!/usr/bin/env python3
"""Mutation sample: how many small faults put into the code does the test suite catch?

Draws mutants at random (fixed seed) from the subtitle readers, the settings store, playback,
presentation and the VobSub decoding, builds each one in its own build tree and runs the tests:
first the fast programs, then, for a mutant they miss, the real engine and end-to-end tests.
A mutant that does not compile is drawn again. Prints each survivor with its diff and the figures.

  scripts/mutation_sample.py [--count 90] [--seed 7] [--build build-mut] [--only FILE...]
  scripts/mutation_sample.py --replay LOG   # the survivors of an earlier run, again
"""
import argparse
import os
import random
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
AREAS = ["src/subtitle", "src/shell/settings", "src/playback", "src/presentation"]
VOBSUB = ["src/external/ffmpeg/" + name for name in
          ("ffmpeg_vobsub.cpp", "picture_decoder.cpp", "picture_index.cpp", "spu_timing.cpp",
           "vobsub_pair_reader.cpp")]
FAST = ["test_subtitle", "test_settings", "test_vobsub", "test_presentation", "test_sync", "test_gui"]
SLOW = ["test_engine", "test_e2e"]

# (name, pattern, replacement): each match in a line is one candidate.
OPERATORS = [
    ("< to <=", r"(?<=\s)<(?=\s)", "<="),
    ("<= to <", r"(?<=\s)<=(?=\s)", "<"),
    ("> to >=", r"(?<=\s)>(?=\s)", ">="),
    (">= to >", r"(?<=\s)>=(?=\s)", ">"),
    ("== to !=", r"==", "!="),
    ("!= to ==", r"!=", "=="),
    ("+ to -", r"(?<=\s)\+(?=\s)", "-"),
    ("- to +", r"(?<=\s)-(?=\s)", "+"),
    ("&& to ||", r"&&", "||"),
    ("|| to &&", r"\|\|", "&&"),
    ("true to false", r"\btrue\b", "false"),
    ("false to true", r"\bfalse\b", "true"),
    ("drop !", r"!(?=[A-Za-z_(])", ""),
    ("number + 1", r"(?<![\w.])\d+(?![\w.])", None),
]
STATEMENT = re.compile(r"^\s*(?!return\b|const\b|auto\b|if\b|for\b|while\b|case\b|else\b|using\b|int\b|bool\b|double\b)"
                       r"[A-Za-z_][\w:.\->\[\]]*\s*(\(|=|\+=|-=|\+\+|--).*;\s*$")
SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*)|static_assert|Q_OBJECT|template\s*<")


def literal_spans(line):
    """Spans of string and character literals and of a trailing comment: never mutated."""
    spans, i, n = [], 0, len(line)
    while i < n:
        c = line[i]
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            spans.append((i, j + 1))
            i = j + 1
        elif line.startswith("//", i):
            spans.append((i, n))
            break
        else:
            i += 1
    return spans


def candidates(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        lines = f.read().split("\n")
    found = []
    for number, line in enumerate(lines):
        if SKIP_LINE.search(line) or not line.strip():
            continue
        spans = literal_spans(line)
        inside = lambda pos: any(a <= pos < b for a, b in spans)
        for name, pattern, replacement in OPERATORS:
            for m in re.finditer(pattern, line):
                if inside(m.start()):
                    continue
                new = replacement if replacement is not None else str(int(m.group()) + 1)
                found.append((path, number, name, line[:m.start()] + new + line[m.end():]))
        if STATEMENT.match(line) and not inside(0) and "{" not in line and "}" not in line:
            found.append((path, number, "drop statement", ""))
    return found


def sources(only):
    if only:
        return only
    files = list(VOBSUB)
    for area in AREAS:
        for name in sorted(os.listdir(os.path.join(ROOT, area))):
            if name.endswith(".cpp"):
                files.append(f"{area}/{name}")
    return files


def run(command, timeout, env=None):
    try:
        return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout, env=env).returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def build(tree, targets):
    return run(["cmake", "--build", tree, "-j2", "--target", *targets], 900) == 0


def tests_catch(tree, programs):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for program in programs:
        command = [os.path.join(tree, "tests", program), "--gtest_brief=1", "--gtest_fail_fast"]
        if program == "test_e2e":
            env.pop("QT_QPA_PLATFORM", None)
            command = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", *command]
        # The fast programs take seconds: one that runs for a minute is caught in a loop.
        if run(command, 600 if program in SLOW else 60, env) != 0:
            return program
    return None


args_old = {}


def survivors_of(log):
    """The mutants a log reports as survivors: (path, line, operator, mutated line)."""
    found, lines = [], open(log, encoding="utf-8").read().split("\n")
    for i, line in enumerate(lines):
        m = re.match(r"SURVIVED (\S+):(\d+) \((.*)\)$", line)
        if m and i + 2 < len(lines):
            path, number = m.group(1), int(m.group(2)) - 1
            args_old[(path, number)] = lines[i + 1].strip()[2:].strip()
            new = lines[i + 2].strip()[2:]
            indent = re.match(r"\s*", open(os.path.join(ROOT, path), encoding="utf-8").read().split("\n")[number])
            found.append((path, number, m.group(3), indent.group() + new.strip() if new.strip() else ""))
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=90)
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--build", default="build-mut")
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--replay", help="a log of an earlier run: its survivors are tried again")
    args = parser.parse_args()
    tree = os.path.join(ROOT, args.build)
    if not os.path.exists(os.path.join(tree, "CMakeCache.txt")):
        subprocess.run(["cmake", "-S", ROOT, "-B", tree, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                        "-DTESSAVIEW_BUILD_BENCH=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache",
                        "-DCMAKE_C_COMPILER_LAUNCHER=ccache"], check=True)
    if not build(tree, FAST + SLOW + ["tessaview"]) or tests_catch(tree, FAST):
        sys.exit("the unmutated tree does not build or its fast tests fail")

    if args.replay:
        pool = survivors_of(args.replay)
    else:
        pool = [c for path in sources(args.only) for c in candidates(path)]
        random.Random(args.seed).shuffle(pool)
    killed, survivors, broken, started = 0, [], 0, time.time()
    for path, number, name, new in pool:
        if killed + len(survivors) >= args.count:
            break
        full = os.path.join(ROOT, path)
        with open(full, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        old = lines[number]
        if args.replay and old.strip() != args_old.get((path, number), old.strip()):
            print(f"moved    {path}:{number + 1}: the line is no longer there", flush=True)
            continue
        lines[number] = new
        with open(full, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        try:
            if not build(tree, FAST):
                broken += 1
                continue
            catcher = tests_catch(tree, FAST)
            if catcher is None and build(tree, SLOW + ["tessaview"]):
                catcher = tests_catch(tree, SLOW)
            where = f"{path}:{number + 1} ({name})"
            if catcher:
                killed += 1
                print(f"killed   {where} by {catcher}", flush=True)
            else:
                survivors.append(where)
                print(f"SURVIVED {where}\n  - {old.strip()}\n  + {new.strip()}", flush=True)
        finally:
            with open(full, "w", encoding="utf-8") as f:
                f.write(original)
    build(tree, FAST + SLOW + ["tessaview"])
    total = killed + len(survivors)
    print(f"\n{total} mutants ({broken} more did not compile), {killed} killed, {len(survivors)} survived, "
          f"{100.0 * killed / max(total, 1):.1f} % killed, {time.time() - started:.0f} s")


if __name__ == "__main__":
    main()
