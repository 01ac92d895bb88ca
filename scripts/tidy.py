#!/usr/bin/env python3
"""Runs clang-tidy with .clang-tidy over every C++ source file in src/ and
fails on any finding.

    scripts/tidy.py [BUILD_DIR]   (default: build; configured and built, since
                                   the moc files must exist)

Why the files are checked a library at a time: clang-tidy 14 parses the Qt
headers again for every file and runs its matchers over all of them, so each
file costs about as much as any other whatever its own size, most of it spent
on Qt. Each library's files are therefore included into one generated file
(BUILD_DIR/tidy/<target>.cpp) and checked together with that library's compile
command. Findings still name the real file and line. A file whose local names
clash with another file of its library (two `kCrLf` constants in unnamed
namespaces) makes its unit fail to compile; such files are moved to a unit of
their own and the rest is checked again.

Two units run at a time (VM_TIDY_JOBS). The tests are left out: they would
double the time for code that the compiler's warnings already cover.
"""
import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ERROR_LINE = re.compile(r"^(/[^:]+):\d+:\d+: error: .*\[clang-diagnostic-error\]$")
# clang-tidy counts the warnings of the system headers it skips: noise.
COUNT_LINE = re.compile(r"^\d+ warnings? (and \d+ errors? )?generated\.$")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    jobs = int(os.environ.get("VM_TIDY_JOBS", "2"))
    database = os.path.join(build, "compile_commands.json")
    if not os.path.isfile(database):
        sys.exit(f"tidy: {database} missing; configure and build first")
    tracked = subprocess.run(["git", "ls-files", "src/*.cpp"], cwd=ROOT, check=True, capture_output=True,
                             text=True).stdout.split()
    commands = {}
    with open(database, encoding="utf-8") as f:
        for entry in json.load(f):
            commands[os.path.normpath(os.path.join(entry["directory"], entry["file"]))] = entry
    libraries = {}
    for name in tracked:
        path = os.path.join(ROOT, name)
        entry = commands.get(path)
        if entry is None:
            sys.exit(f"tidy: {name} is not in {database}; configure with every target on")
        command = entry.get("command") or shlex.join(entry["arguments"])
        target = re.search(r"CMakeFiles/([^/ ]+)\.dir/", command).group(1)
        libraries.setdefault(target, []).append((path, command, entry["directory"]))

    work = os.path.join(build, "tidy")
    os.makedirs(work, exist_ok=True)
    header_filter = "^" + re.escape(os.path.join(ROOT, "src")) + r"/.*\.(h|cpp)$"

    def check(unit, members):
        """Checks the members together; returns (output, failed, files that broke the unit)."""
        source = os.path.join(work, unit + ".cpp")
        with open(source, "w", encoding="utf-8") as f:
            for path, _, _ in members:
                f.write(f'#include "{path}" // NOLINT(bugprone-suspicious-include)\n')
        # clang-tidy reads the command from a compile_commands.json of the unit's own.
        path, command, directory = members[0]
        unit_dir = os.path.join(work, unit)
        os.makedirs(unit_dir, exist_ok=True)
        with open(os.path.join(unit_dir, "compile_commands.json"), "w", encoding="utf-8") as f:
            json.dump([{"directory": directory, "command": command.replace(path, source), "file": source}], f)
        run = subprocess.run(["clang-tidy", "-p", unit_dir, "--config-file", os.path.join(ROOT, ".clang-tidy"),
                              "--header-filter", header_filter, "--quiet", source],
                             cwd=ROOT, capture_output=True, text=True)
        lines = [line for line in (run.stdout + run.stderr).splitlines() if not COUNT_LINE.match(line)]
        broken = {m.group(1) for m in map(ERROR_LINE.match, lines) if m}
        return "\n".join(lines), run.returncode != 0, broken

    pending = [(target, members) for target, members in libraries.items()]
    findings = False
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        while pending:
            results = list(pool.map(lambda job: (job, check(*job)), pending))
            pending = []
            for (unit, members), (output, failed, broken) in results:
                names = {path for path, _, _ in members}
                if broken and len(members) > 1:
                    # Something did not compile: if it is a clash between files, check the rest
                    # again and the clashing files apart; otherwise halve the unit until the
                    # error is alone with its file.
                    apart = [m for m in members if m[0] in broken]
                    if not broken & names or len(apart) == len(members):
                        apart = members[len(members) // 2:]
                    rest = [m for m in members if m not in apart]
                    pending.append((unit + "-a", rest))
                    pending.append((unit + "-b", apart))
                    continue
                if output.strip():
                    print(output)
                findings = findings or failed
    if findings:
        sys.exit("tidy: clang-tidy found the problems above")
    print(f"tidy: no findings in src/ ({len(tracked)} files)")


if __name__ == "__main__":
    main()
