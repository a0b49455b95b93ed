#!/usr/bin/env python3
"""Window code cannot reach past the toolkit: compiled exactly as each window folder's own sources are, a
source that includes a Qt widget or GUI header, or a header that the toolkit keeps to itself, does not build,
while one that includes the toolkit's public header does."""
import json
import os
import shlex
import subprocess
import sys
import tempfile

build, source = sys.argv[1], os.path.realpath(sys.argv[2])
folders = ["main_window", "bill_window", "about_window", "app"]
reaches = {
    "a Qt widget header": "#include <QtWidgets/QLabel>",
    "a Qt GUI header": "#include <QtGui/QColor>",
    "a toolkit internal": '#include <form_builder.h>',
}

with open(os.path.join(build, "compile_commands.json")) as f:
    entries = json.load(f)

failures = []
with tempfile.TemporaryDirectory() as scratch:
    for folder in folders:
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
            probe = os.path.join(scratch, folder + ".cpp")
            with open(probe, "w") as f:
                f.write(text + "\n")
            return subprocess.run(arguments + ["-fsyntax-only", "-Wfatal-errors", probe], cwd=entry["directory"],
                                  capture_output=True).returncode == 0

        if not builds("#include <toolkit.h>"):
            failures.append(f"{folder}: the toolkit's public header does not build")
        for what, line in reaches.items():
            if builds("#include <toolkit.h>\n" + line):
                failures.append(f"{folder}: code that includes {what} builds")

for failure in failures:
    print("layering:", failure)
print("layering:", "broken" if failures else "held", "in", ", ".join(folders))
sys.exit(1 if failures else 0)
