#!/usr/bin/env python3
"""Plants one fault at a time in src/ and runs the tests of its folder.

    mutate.py generate [--seed N] [--count N]   writes mutants.txt beside this script
    mutate.py run BUILD_DIR [--only I,J,...]    builds and tests each mutant, prints the score

Line coverage, the other measure of the tests, comes from coverage.py beside it.

A mutant is killed when the folder's tests fail (or time out) with the fault in
place; it survives when they pass. A mutant that does not compile is counted
apart: it says nothing about the tests. The source file is restored after each
mutant, also when the run is interrupted. Not part of CI: a full run takes hours.
"""

import argparse
import json
import os
import random
import re
import signal
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
MUTANTS = HERE / "mutants.txt"

# (name, pattern, replacement). Each applies at one match on one line.
OPERATORS = [
    ("flip <", r"(?<![<\-])<(?![<=])(?=\s)", ">="),
    ("flip >", r"(?<=\s)>(?![>=])", "<="),
    ("flip <=", r"<=", ">"),
    ("flip >=", r">=", "<"),
    ("flip ==", r"==", "!="),
    ("flip !=", r"!=", "=="),
    ("flip &&", r"&&", "||"),
    ("flip ||", r"\|\|", "&&"),
    ("negate if", r"\bif \(", "if (!"),
    ("true->false", r"\btrue\b", "false"),
    ("false->true", r"\bfalse\b", "true"),
    ("off by one", r"(?<![\w.])([1-9])(?![\w.])", None),  # n -> n+1
]

SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*)|static_assert|Q_OBJECT|Q_EMIT|template|operator")


def folders():
    return sorted(p.name for p in (ROOT / "src").iterdir() if p.is_dir())


def candidates(path):
    lines = path.read_text(encoding="utf-8").splitlines()
    found = []
    for number, line in enumerate(lines, 1):
        if SKIP_LINE.search(line) or "QStringLiteral" in line and '"' in line and "==" not in line:
            continue
        for name, pattern, replacement in OPERATORS:
            for match in re.finditer(pattern, line):
                if name == "negate if" and "if (!" in line:
                    continue
                found.append((number, name, match.start(), match.group(0),
                              replacement or str(int(match.group(0)) + 1)))
        stripped = line.strip()
        # Whole statements on one line, not declarations or control flow.
        if (stripped.endswith(";") and not stripped.startswith(("return", "case", "const", "auto",
                                                                 "QString ", "int ", "bool "))
                and "(" in stripped and "=" not in stripped.split("(")[0]):
            found.append((number, "drop statement", line.index(stripped), stripped, ";"))
    return found


def generate(seed, count):
    rng = random.Random(seed)
    per_folder = {}
    for folder in folders():
        pool = []
        for path in sorted((ROOT / "src" / folder).rglob("*.cpp")):
            for entry in candidates(path):
                pool.append((path.relative_to(ROOT).as_posix(),) + entry)
        rng.shuffle(pool)
        per_folder[folder] = pool
    # Round robin over the folders, so every folder gets its share.
    chosen = []
    while len(chosen) < count and any(per_folder.values()):
        for folder in folders():
            if per_folder[folder] and len(chosen) < count:
                chosen.append(per_folder[folder].pop())
    with MUTANTS.open("w", encoding="utf-8") as out:
        out.write(f"# seed {seed}, {len(chosen)} mutants: file<TAB>line<TAB>kind<TAB>column"
                  "<TAB>original<TAB>replacement\n")
        for path, line, kind, column, original, replacement in chosen:
            out.write(f"{path}\t{line}\t{kind}\t{column}\t{original}\t{replacement}\n")
    print(f"{len(chosen)} mutants written to {MUTANTS.relative_to(ROOT)}")


def read_mutants():
    result = []
    for raw in MUTANTS.read_text(encoding="utf-8").splitlines():
        if raw.startswith("#") or not raw.strip():
            continue
        path, line, kind, column, original, replacement = raw.split("\t")
        result.append((path, int(line), kind, int(column), original, replacement))
    return result


def tests_of(build, folder):
    """The folder's CTest names, and the executables to build for them."""
    listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                             check=True, capture_output=True, text=True).stdout
    prefix = str(Path(build).resolve() / "tests" / folder) + "/"
    names, targets = [], set()
    for test in json.loads(listing)["tests"]:
        ours = [arg for arg in test.get("command", []) if arg.startswith(prefix)]
        if test["name"].startswith("e2e_"):
            continue  # the whole program: judged with its own folder, not here
        if ours:
            names.append(test["name"])
            targets.update(Path(arg).name for arg in ours)
    return names, sorted(targets)


def run(build, only):
    mutants = read_mutants()
    selected = [int(i) for i in only.split(",")] if only else range(1, len(mutants) + 1)
    score = {}
    for index in selected:
        path, line, kind, column, original, replacement = mutants[index - 1]
        folder = path.split("/")[1]
        names, targets = tests_of(build, folder)
        source = ROOT / path
        text = source.read_text(encoding="utf-8")
        lines = text.split("\n")
        target = lines[line - 1]
        if target[column:column + len(original)] != original:
            verdict = "stale"  # the code moved since the list was made
        else:
            lines[line - 1] = target[:column] + replacement + target[column + len(original):]
            previous = signal.signal(signal.SIGINT, signal.SIG_IGN)
            signal.signal(signal.SIGTERM, signal.SIG_IGN)
            try:
                source.write_text("\n".join(lines), encoding="utf-8")
                signal.signal(signal.SIGINT, previous)
                signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
                verdict = judge(build, names, targets)
            finally:
                source.write_text(text, encoding="utf-8")
                os.utime(source)  # rebuilt next time, never left mutated
        counts = score.setdefault(folder, {})
        counts[verdict] = counts.get(verdict, 0) + 1
        print(f"{index:4} {verdict:9} {path}:{line} {kind}: {original!r} -> {replacement!r}",
              flush=True)
    print("\nfolder        killed survived no-build stale  score")
    total_killed = total_valid = 0
    for folder, counts in sorted(score.items()):
        killed, survived = counts.get("killed", 0), counts.get("survived", 0)
        valid = killed + survived
        total_killed += killed
        total_valid += valid
        share = f"{100 * killed / valid:5.1f}%" if valid else "  -  "
        print(f"{folder:13} {killed:6} {survived:8} {counts.get('no-build', 0):8} "
              f"{counts.get('stale', 0):5}  {share}")
    if total_valid:
        print(f"{'all':13} {total_killed:6} {total_valid - total_killed:8}"
              f"{'':15}  {100 * total_killed / total_valid:5.1f}%")


def judge(build, names, targets):
    if not names:
        return "untested"
    built = subprocess.run(["cmake", "--build", build, "-j2", "--target"] + targets,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if built.returncode != 0:
        return "no-build"
    regex = "^(" + "|".join(names) + ")$"
    try:
        tested = subprocess.run(["ctest", "--test-dir", build, "-R", regex, "--timeout", "120",
                                 "-j2"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=900)
    except subprocess.TimeoutExpired:
        return "killed"
    return "survived" if tested.returncode == 0 else "killed"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    g = sub.add_parser("generate")
    g.add_argument("--seed", type=int, default=20261207)
    g.add_argument("--count", type=int, default=180)
    r = sub.add_parser("run")
    r.add_argument("build")
    r.add_argument("--only", default="")
    args = parser.parse_args()
    if args.command == "generate":
        generate(args.seed, args.count)
    else:
        run(args.build, args.only)


if __name__ == "__main__":
    sys.exit(main())
