#!/usr/bin/env python3
"""Mutation check: how many small faults planted in a module its tests catch.

Plants one mutation at a time in the module's sources (a flipped comparison,
a constant off by one, a removed call), rebuilds the module's test binaries,
runs them, and counts the mutant as killed when a test fails (or the build
breaks in a test, or the run times out). Mutants that do not compile are
replaced by others. Sites are sampled with a fixed seed, so two runs over the
same sources try the same mutants.

    tools/mutation/mutate.py [--build build] [--count 12] [--seed 7] [--lock FILE] MODULE...
"""
import argparse
import pathlib
import random
import re
import shlex
import signal
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]

# module -> (source folders, test binaries relative to the build folder)
MODULES = {
    "Navigation": (["src/Navigation"], ["tests/Navigation/navigation_tests"]),
    "Fbx": (["src/Fbx"], ["tests/Fbx/fbx_tests"]),
    "Input": (["src/Input"], ["tests/Input/input_tests"]),
    "Sound": (["src/Sound"], ["tests/Sound/sound_tests"]),
    "navmeshgen": (["tools/navmeshgen"], ["tests/Navigation/navigation_tests"]),
    "Import": (["src/Import"], ["tests/Import/import_tests"]),
    "Game": (["src/Game"], ["tests/Game/game_tests"]),
    "Scene": (["src/Engine/Scene"], ["tests/Engine/Scene/engine_scene_tests"]),
    "Render": (["src/Engine/Render"], ["tests/Engine/Render/engine_render_tests"]),
}

FLIPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
COMPARISON = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
CALL_STATEMENT = re.compile(r"^\s*[A-Za-z_][\w:.>\-]*\(.*\);\s*$")
SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*|static_assert|template|case\b)")


def sites(path):
    """Every (line, column, original, replacement, kind) the mutator may apply."""
    found = []
    previous = ";"
    for number, line in enumerate(path.read_text().splitlines()):
        starts_statement = previous.rstrip().endswith((";", "{", "}", ":")) or not previous.strip()
        previous = line if line.strip() and not SKIP_LINE.match(line) else previous
        if SKIP_LINE.match(line):
            continue
        code = line.split("//")[0]
        if '"' in code:
            code = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), code)
        for m in COMPARISON.finditer(code):
            found.append((number, m.start(), m.group(1), FLIPS[m.group(1)], "flipped comparison"))
        for m in INTEGER.finditer(code):
            found.append((number, m.start(), m.group(1), str(int(m.group(1)) + 1), "constant off by one"))
        if starts_statement and CALL_STATEMENT.match(code) and not re.match(r"^\s*(return|delete)\b", code):
            found.append((number, 0, code.rstrip(), "", "removed call"))
    return found


def apply(path, site):
    lines = path.read_text().splitlines(keepends=True)
    number, column, original, replacement, kind = site
    line = lines[number]
    if kind == "removed call":
        lines[number] = "\n"
    else:
        lines[number] = line[:column] + replacement + line[column + len(original):]
    path.write_text("".join(lines))


STILLBORN = 200  # exit status of the locked step when the build fails


def build_and_test(args, tests):
    """Builds the test binaries and runs them, under the lock as one step (one wait for the lock per
    mutant). Gives "stillborn" when the build fails, "killed" when a test fails or times out, else
    "survived". The time limit applies inside the lock, so a mutant caught in an endless loop is
    killed itself and cannot keep the lock. Tests that open a window get an X display (Xvfb when
    none is set)."""
    targets = " ".join(shlex.quote(pathlib.Path(t).name) for t in tests)
    script = f"source {shlex.quote(str(ROOT / 'scripts/lib/display.sh'))}; ensure_display\n"
    script += f"cmake --build {shlex.quote(args.build)} -j2 --target {targets} >/dev/null 2>&1 || exit {STILLBORN}\n"
    for test in tests:
        binary = ROOT / args.build / test
        script += (f"(cd {shlex.quote(str(binary.parent))} && timeout --kill-after=5 {args.timeout} "
                   f"{shlex.quote(str(binary))} --gtest_brief=1 >/dev/null 2>&1) || exit 1\n")
    command = ["bash", "-c", script]
    result = subprocess.run(["flock", args.lock] + command if args.lock else command, cwd=ROOT)
    return {0: "survived", STILLBORN: "stillborn"}.get(result.returncode, "killed")


def check_module(args, module):
    folders, tests = MODULES[module]
    files = sorted(p for f in folders for p in (ROOT / f).glob("*.cpp") if p.name != "main.cpp")
    if build_and_test(args, tests) != "survived":
        sys.exit(f"{module}: the unmutated tests do not pass; no mutant can be judged")
    build_command = ["cmake", "--build", args.build, "-j2", "--target"] + [pathlib.Path(t).name for t in tests]
    candidates = [(path, site) for path in files for site in sites(path)]
    random.Random(args.seed).shuffle(candidates)
    killed, tried, survivors = 0, 0, []
    for path, site in candidates:
        if tried == args.count:
            break
        original = path.read_text()
        try:
            apply(path, site)
            verdict = build_and_test(args, tests)
            if verdict == "stillborn":
                continue  # does not compile
            tried += 1
            killed += verdict == "killed"
            label = (f"{path.relative_to(ROOT)}:{site[0] + 1} {site[4]} {site[2]!r} -> {site[3]!r}")
            print(f"  {verdict:8}: {label}", flush=True)
            if verdict == "survived":
                survivors.append(f"  survived: {label}")
        finally:
            path.write_text(original)
    subprocess.run(["flock", args.lock] + build_command if args.lock else build_command, cwd=ROOT,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)  # binaries of the restored sources
    print(f"{module}: {killed} of {tried} mutants killed ({100 * killed // max(tried, 1)} %)")
    print("\n".join(survivors), flush=True)
    return killed, tried


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("modules", nargs="+", choices=sorted(MODULES))
    parser.add_argument("--build", default="build")
    parser.add_argument("--count", type=int, default=12)
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--timeout", type=int, default=120, help="seconds per test binary")
    parser.add_argument("--lock", help="run every build and test under flock on this file")
    args = parser.parse_args()
    # A run stopped from outside still puts the mutated file back (the finally blocks).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    for module in args.modules:
        check_module(args, module)


if __name__ == "__main__":
    main()
