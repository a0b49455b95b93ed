#!/usr/bin/env python3
"""The toolkit's core and the code above it cannot reach Qt's GUI or widgets: compiled exactly as the core's
own sources and each window folder's are, a source that includes a Qt widget or GUI header, or a header of the
toolkit's view, does not build, while one that includes the core's public header does. The program's entry
sees the view's public header, and none of the view's own."""
import json
import os
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

with open(os.path.join(build, "compile_commands.json")) as f:
    entries = json.load(f)

failures = []
with tempfile.TemporaryDirectory() as scratch:
    for folder, (allowed, reaches) in folders.items():
        entry = next((e for e in entries
                      if os.path.realpath(e["file"]).startswith(os.path.join(source, folder) + os.sep)), None)
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

for failure in failures:
    print("layering:", failure)
print("layering:", "broken" if failures else "held", "in", ", ".join(folders))
sys.exit(1 if failures else 0)
