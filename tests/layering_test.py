#!/usr/bin/env python3
"""The toolkit's core and the code above it cannot reach Qt's GUI or widgets: compiled exactly as the core's
own sources and each window folder's are, a source that includes a Qt widget or GUI header, or a header of the
toolkit's view, does not build, while one that includes the core's public header does. The program's entry
sees the view's public header, and none of the view's own. The tests of the core and of the windows' code are
held to the core as the windows' code is. And no two parts of the program include each other, however
indirectly: a header and its source count as one part."""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

build, source = sys.argv[1], os.path.realpath(sys.argv[2])
qt = {
    "a Qt widget header": "#include <QtWidgets/QLabel>",
    "a Qt GUI header": "#include <QtGui/QColor>",
    "a header of the view's own": "#include <window_view.h>",
}
above_core = ("#include <toolkit.h>", dict(qt, **{"the view's public header": "#include <desktop.h>"}))
# Each folder: what its code may include, and what it must not reach.
folders = {
    "toolkit/core": above_core,
    "main_window": above_core,
    "bill_window": above_core,
    "about_window": above_core,
    "app": ("#include <application.h>", qt),
}
# The tests that run on the core alone: one is compiled as a probe, and all are compiled as it is.
core_tests = ["scheduler_test", "text_test", "metering_test", "boot_time_test", "reading_order_test",
              "call_control_test", "bill_window_test", "about_animation_test", "lifetime_test"]
guard = os.path.join(source, "cmake", "window_guard")
folders["tests/" + core_tests[0] + ".cpp"] = above_core

with open(os.path.join(build, "compile_commands.json")) as f:
    entries = json.load(f)

failures = []
with tempfile.TemporaryDirectory() as scratch:
    for folder, (allowed, reaches) in folders.items():
        place = os.path.join(source, folder)
        entry = next((e for e in entries if os.path.realpath(e["file"]) == place
                      or os.path.realpath(e["file"]).startswith(place + os.sep)), None)
        if entry is None:
            failures.append(f"{folder}: no source of it in the compile commands")
            continue
        arguments = entry.get("arguments") or shlex.split(entry["command"])
        arguments = [a for a in arguments if a != "-c"]
        if "-o" in arguments:
            del arguments[arguments.index("-o"):arguments.index("-o") + 2]
        arguments.remove(entry["file"])

        def builds(text):
            probe = os.path.join(scratch, folder.replace("/", "_") + ".cpp")
            with open(probe, "w") as f:
                f.write(text + "\n")
            return subprocess.run(arguments + ["-fsyntax-only", "-Wfatal-errors", probe], cwd=entry["directory"],
                                  capture_output=True).returncode == 0

        if not builds(allowed):
            failures.append(f"{folder}: {allowed} does not build")
        for what, line in reaches.items():
            if builds(allowed + "\n" + line):
                failures.append(f"{folder}: code that includes {what} builds")

for test in core_tests:
    entry = next((e for e in entries if os.path.realpath(e["file"]) == os.path.join(source, "tests", test + ".cpp")),
                 None)
    arguments = entry and (entry.get("arguments") or shlex.split(entry["command"]))
    if not arguments or "-I" + guard not in arguments:
        failures.append(f"{test}: not compiled as the windows' code is")

# Each part and the parts it includes, by name: the names of headers and sources are the program's own.
includes = {}
for folder in ("toolkit", "main_window", "bill_window", "about_window", "app"):
    for directory, _, names in os.walk(os.path.join(source, folder)):
        for name in names:
            part, extension = os.path.splitext(name)
            if extension in (".h", ".cpp"):
                with open(os.path.join(directory, name)) as f:
                    included = re.findall(r'^#include [<"](\w+)\.h[>"]', f.read(), re.MULTILINE)
                includes.setdefault(part, set()).update(included)
for part, included in includes.items():
    included.intersection_update(includes)
    included.discard(part)


def loop_from(start):
    """A chain of includes that leads from the part back to it, if there is one."""
    path, seen = [start], set()

    def walk(part):
        for other in sorted(includes[part]):
            if other == start:
                return True
            if other not in seen:
                seen.add(other)
                path.append(other)
                if walk(other):
                    return True
                path.pop()
        return False

    return path + [start] if walk(start) else None


loops = {frozenset(loop): loop for loop in map(loop_from, sorted(includes)) if loop}
for loop in loops.values():
    failures.append("parts include each other: " + " -> ".join(loop))

for failure in failures:
    print("layering:", failure)
print("layering:", "broken" if failures else "held", "in", ", ".join(folders), "and among",
      len(includes), "parts")
sys.exit(1 if failures else 0)
