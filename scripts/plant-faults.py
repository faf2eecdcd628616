#!/usr/bin/env python3
"""Plants single-line faults in the product code one at a time and runs the tests against each.

    scripts/plant-faults.py [--e2e] [--matrix] [--only N,...] [FAULTS_FILE]

FAULTS_FILE (default scripts/faults.txt) holds one fault per block: a line "== file", a line with
the exact text to find (it must occur once in that file), and a line with what replaces it. The
tests run from a build of their own (build/faults: debug, no sanitizers, so each fault costs a few
seconds): the unit tests (label unit) always, the end-to-end ones (label e2e) with --e2e for the
faults that the unit tests let through. Each fault is taken out again, whatever happens; the table
says which suite caught it. The tree is left as it was found.
"""
import argparse
import os
import re
import subprocess
import sys

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.join(top, "build", "faults")


def read_faults(path):
    faults = []
    with open(path, encoding="utf-8") as listing:
        lines = [line.rstrip("\n") for line in listing if not line.startswith("#")]
    lines = [line for line in lines if line.strip() != ""]
    for at in range(0, len(lines), 3):
        head, find, replace = lines[at:at + 3]
        if not head.startswith("== "):
            sys.exit(f"{path}: expected '== file' at fault {at // 3 + 1}, found {head!r}")
        faults.append((head[3:].strip(), find.strip(), replace.strip()))
    return faults


def run(command, quiet=True):
    result = subprocess.run(command, cwd=top, stdout=subprocess.PIPE if quiet else None,
                            stderr=subprocess.STDOUT if quiet else None, text=True)
    return result.returncode == 0


def caught_by(label):
    return not run(["ctest", "--test-dir", build, "-L", label, "-j", str(os.cpu_count() or 1),
                    "--stop-on-failure", "--timeout", "300"])


def failing_tests(label):
    """Every test of the label that fails, for --matrix: which tests catch which faults."""
    result = subprocess.run(["ctest", "--test-dir", build, "-L", label, "-j", str(os.cpu_count() or 1),
                             "--timeout", "300"], cwd=top, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True)
    return sorted(set(re.findall(r"\d+ - (\S+) \((?:Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)",
                                 result.stdout)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("faults", nargs="?", default=os.path.join(top, "scripts", "faults.txt"))
    parser.add_argument("--e2e", action="store_true", help="run the end-to-end tests on what the unit tests miss")
    parser.add_argument("--only", help="comma-separated fault numbers")
    parser.add_argument("--matrix", action="store_true",
                        help="run every unit test on each fault and list the ones that fail")
    options = parser.parse_args()
    faults = read_faults(options.faults)
    chosen = {int(n) for n in options.only.split(",")} if options.only else None

    if not run(["cmake", "-S", top, "-B", build, "-DCMAKE_BUILD_TYPE=Debug", "-DVORNIX_TESTS=ON"]) or \
            not run(["cmake", "--build", build, "-j", str(os.cpu_count() or 1)]):
        sys.exit("the unchanged tree does not build in build/faults")
    if caught_by("unit"):
        sys.exit("the unit tests fail on the unchanged tree")

    caught = 0
    for number, (name, find, replace) in enumerate(faults, 1):
        if chosen and number not in chosen:
            continue
        path = os.path.join(top, name)
        with open(path, encoding="utf-8") as source:
            original = source.read()
        if original.count(find) != 1:
            print(f"{number:3}  {name}: the text to replace occurs {original.count(find)} times: {find}")
            continue
        with open(path, "w", encoding="utf-8") as source:
            source.write(original.replace(find, replace))
        try:
            if not run(["cmake", "--build", build, "-j", str(os.cpu_count() or 1)]):
                verdict = "does not build"
            elif options.matrix:
                failed = failing_tests("unit")
                verdict = "unit" if failed else "MISSED"
                print(f"{number:3}  caught by: {' '.join(failed)}", flush=True)
            elif caught_by("unit"):
                verdict = "unit"
            elif options.e2e and caught_by("e2e"):
                verdict = "e2e"
            else:
                verdict = "MISSED"
        finally:
            with open(path, "w", encoding="utf-8") as source:
                source.write(original)
        caught += verdict in ("unit", "e2e")
        print(f"{number:3}  {verdict:14} {name}: {find}  ->  {replace}", flush=True)
    run(["cmake", "--build", build, "-j", str(os.cpu_count() or 1)])
    print(f"caught {caught} of {len(chosen) if chosen else len(faults)}")


if __name__ == "__main__":
    main()
