#!/usr/bin/env python3
"""Line and branch coverage of the module's code, per folder and in total.

    scripts/coverage-report.py BUILD_DIR [--list LIST.md] [--min-branches PERCENT]
                               [--write-untaken FILE]

Reads the counts the tests left in BUILD_DIR (a build with KORVANE_COVERAGE
on, after its tests ran) through gcovr, for the module's folders only: not
the stand-in host, the tools, the tests, the benchmarks or the fuzzers.

With --list, every branch the tests never took must be listed in LIST.md
(docs/coverage.md) with its reason, and every branch listed there must still
be one the tests never take: a line

    - `FOLDER/FILE.cpp` N of `CODE`: why

says the N branches of the line whose code (trimmed) is CODE are not taken;
"up to N of" marks branches that only another thread's timing takes, which
one run takes and the next may not. Lines are found by their code, not
their number, so the list stays true while code above them moves.

Exit status: 0 when the list matches and the branches reach the minimum,
1 when either does not, 2 when the counts cannot be read.
"""

import argparse
import collections
import json
import os
import re
import subprocess
import sys

MODULE_DIRS = ["platform", "services", "entry", "engine", "loading", "frame", "commands",
               "loadingscreen", "config"]
ENTRY = re.compile(r"^- `([^`]+)` (up to )?(\d+) of `(.*)`: (.+)$")


def run_gcovr(root, build):
    out = os.path.join(build, "coverage.json")
    command = ["gcovr", "--root", root, "--object-directory", build, "-j", "2",
               "--exclude-unreachable-branches", "--exclude-throw-branches",
               "--json", out]
    for folder in MODULE_DIRS:
        command += ["--filter", folder + "/"]
    # gcovr's worker threads can wait forever after one of them fails to
    # read gcov's output: a report that takes minutes has failed.
    try:
        result = subprocess.run(command, cwd=root, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                universal_newlines=True, timeout=300)
    except subprocess.TimeoutExpired as stuck:
        sys.stderr.write("gcovr gave no report within %d s\n" % stuck.timeout)
        sys.exit(2)
    if result.returncode != 0:
        sys.stderr.write(result.stdout + result.stderr)
        sys.exit(2)
    with open(out, encoding="utf-8") as f:
        return json.load(f)


def percent(covered, total):
    return 100.0 * covered / total if total else 100.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--list", help="the list of branches not taken (docs/coverage.md)")
    parser.add_argument("--min-branches", type=float, default=0.0)
    parser.add_argument("--write-untaken", help="write the untaken branches in the list's form")
    args = parser.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    build = os.path.abspath(args.build)
    report = run_gcovr(root, build)

    folders = collections.OrderedDict((d, [0, 0, 0, 0]) for d in MODULE_DIRS)
    untaken = collections.Counter()
    where = {}
    for entry in report["files"]:
        name = entry["file"].replace("\\", "/")
        folder = name.split("/", 1)[0]
        if folder not in folders:
            continue
        sums = folders[folder]
        with open(os.path.join(root, name), encoding="utf-8", errors="replace") as f:
            source = f.read().splitlines()
        for line in entry["lines"]:
            if line.get("gcovr/noncode"):
                continue
            sums[0] += 1
            sums[1] += 1 if line["count"] > 0 else 0
            for branch in line["branches"]:
                sums[2] += 1
                if branch["count"] > 0:
                    sums[3] += 1
                else:
                    number = line["line_number"]
                    code = source[number - 1].strip() if number <= len(source) else ""
                    untaken[(name, code)] += 1
                    where.setdefault((name, code), number)

    print("%-15s %18s %18s" % ("folder", "lines", "branches taken"))
    total = [0, 0, 0, 0]
    for folder, (lines, lines_hit, branches, taken) in folders.items():
        print("%-15s %6.1f%% of %5d %8.1f%% of %5d" % (folder + "/", percent(lines_hit, lines), lines,
                                                    percent(taken, branches), branches))
        total = [a + b for a, b in zip(total, (lines, lines_hit, branches, taken))]
    print("%-15s %6.1f%% of %5d %8.1f%% of %5d" % ("total", percent(total[1], total[0]), total[0],
                                                percent(total[3], total[2]), total[2]))
    status = 0
    branch_percent = percent(total[3], total[2])
    if branch_percent < args.min_branches:
        print("branches taken %.1f%% are below %.1f%%" % (branch_percent, args.min_branches))
        status = 1

    if args.write_untaken:
        with open(args.write_untaken, "w", encoding="utf-8") as f:
            for key in sorted(untaken, key=lambda k: (k[0], where[k])):
                f.write("- `%s` %d of `%s`: \n" % (key[0], untaken[key], key[1]))

    if args.list:
        status_before_list = status
        status = 0
        listed = collections.Counter()
        timing = set()
        with open(args.list, encoding="utf-8") as f:
            for number, text in enumerate(f, 1):
                match = ENTRY.match(text.rstrip("\n"))
                if match:
                    key = (match.group(1), match.group(4).strip())
                    listed[key] += int(match.group(3))
                    if match.group(2):
                        timing.add(key)
                elif text.startswith("- `"):
                    print("%s:%d: not an entry of the form - `FILE` [up to ]N of `CODE`: why" % (args.list, number))
                    status = 1
        for key in sorted(set(untaken) | set(listed), key=lambda k: (k[0], where.get(k, 0))):
            if untaken[key] == listed[key] or (key in timing and untaken[key] <= listed[key]):
                continue
            status = 1
            if not listed[key]:
                print("not listed: %s:%d %d of `%s`" % (key[0], where[key], untaken[key], key[1]))
            elif not untaken[key]:
                print("listed, but every branch is taken now (or the code changed): %s `%s`" % key)
            else:
                print("%s:%d `%s`: %d branches not taken, %d listed" % (key[0], where[key], key[1],
                                                                      untaken[key], listed[key]))
        if status == 0:
            print("every branch not taken is listed in %s with its reason" % args.list)
        status = max(status, status_before_list)
    return status


if __name__ == "__main__":
    sys.exit(main())
