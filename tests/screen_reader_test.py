"""What a screen reader user hears of the real program, read over the accessibility bus as a screen reader
reads it: the windows' names and roles, what each holds in reading order with the headings of its values,
what is left out or not showing, where the focus goes, and which changes are announced. Runs the program
through a call, the about window and the bill. Started by screen_reader_test.sh inside a private session bus
on a private X server; the program is the first argument."""

import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

MAIN = """\
menu bar
  menu item "Start"
  menu item "Stop "
  menu item "Něco o..."
filler
  label "Datum:"
  label "Dnešní datum" ← "Datum:"
  label "Den v týdnu"
  label "Provoz:"
  label "Druh provozu" ← "Provoz:"
  label "Po startu minimalizovat:"
  check box "Po startu minimalizovat" ← "Po startu minimalizovat:"
  label "Po stopnutí zobrazit vyúčtování :"
  check box "Po stopnutí zobrazit vyúčtování" ← "Po stopnutí zobrazit vyúčtování :"
  label "Délka hovoru:"
  label "Hodiny" ← "Délka hovoru:"
  label ":"
  label "Minuty" ← "Délka hovoru:"
  label ":"
  label "Sekundy" ← "Délka hovoru:"
  label "/hod"
  label "Cena hovoru:"
  label "Cena hovoru v Kč" ← "Cena hovoru:"
  label "Kč"
  push button "Start"
  push button "Stop & Konec\""""

CREDITS = ["Copyright © 1998 Ondřej Kalousek", "Napsal Ondřej Kalousek", "Marta Hrubešová", "Radim Štěpánek",
           "Kvadrant® Software s.r.o.", "Lipová 27", "Nové Zahrádky", "PSČ 591 07", "Distribuce", "Znak DALKO",
           "DALKO distribuce a.s.", "Na Vyhlídce 1432/8", "Dolní Kamenice", "PSČ 417 63"]

ABOUT = """\
filler
  panel
    filler
      label "ZELVOR"
  panel
    filler
""" + "\n".join(f'      {"image" if name == "Znak DALKO" else "label"} "{name}"' for name in CREDITS) + """
  push button "Znovu"
  push button "Konec\""""

BILL = """\
filler
  image "Logo SPT TELECOM"
  label "SPT TELECOM, a.s."
  label "oblast Praha, o.z."
  label "Olšová 1726/14"
  label "130 00 Praha 3"
  label "Ing. Radim Pospíchal"
  label "Za Lipovou alejí 312"
  label "538 21 Lhotka nad Doubravkou"
  label "VYÚČTOVÁNÍ ZA TELEKOMUNIKAČNÍ SLUŽBY"
  label "Pobočka Žižkov"
  label "Vystaveno dne"
  label "Účtovací období"
  label "Datum vystavení dokladu"
  label "Vyúčtovaný měsíc" ← "Účtovací období"
  label "Vystaveno dne" ← "Datum vystavení dokladu"
  label "Hovory spoj autom 2.4 Kč/imp"
  label "Částka za hovory v Kč" ← "Hovory spoj autom 2.4 Kč/imp"
  label "Kč"
  label "Celkem k platbě Kč"
  label "Celková částka v Kč" ← "Celkem k platbě Kč"
  push button "Tak dobře ...\""""

TITLE = re.compile(r"\d+:\d+:\d+ = \d+(,\d+)? Kč")

heard = []  # (type, source, detail1, any_data), in the order heard
failures = []


def hear(event):
    heard.append((event.type, event.source, event.detail1, event.any_data))


def check(condition, message):
    if not condition:
        failures.append(message)
        print(f"screen_reader: {message}", file=sys.stderr)


def wait_for(what, condition, seconds=30):
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while not condition():
        if time.monotonic() > deadline:
            sys.exit(f"screen_reader: no {what} within {seconds} s")
        context.iteration(True)


def since(start, kind):
    return [entry for entry in heard[start:] if entry[0].startswith(kind)]


def activation(start, window=None):
    """The last window activation heard since `start`, of the given window or else of any."""
    found = [e for e in since(start, "window:activate") if window is None or e[1] == window]
    return found[-1] if found else None


def role(accessible):
    """The role by pyatspi's name of its constant, "push button" say: the registry's own names for roles
    differ between versions."""
    return str(pyatspi.Role(int(accessible.getRole()))).removeprefix("ROLE_").replace("_", " ").lower()


def announced(start, window, role_name, name):
    """Waits for the window's activation and checks how a listener hears it; returns the window."""
    wait_for(f"{name!r} activated", lambda: activation(start, window))
    _, source, _, heard_name = activation(start, window)
    check(role(source) == role_name, f"{name!r} is a {role(source)}, not a {role_name}")
    check(heard_name == name or name is TITLE and TITLE.fullmatch(heard_name),
          f"{name!r} is announced as {heard_name!r}")
    return source


def last_focus():
    focused = [e[1] for e in since(0, "object:state-changed:focused") if e[2] == 1]
    return focused[-1] if focused else None


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def tree(accessible, depth=0):
    """The object's children, as a listener meets them: role, name and headings, one a line."""
    lines = []
    for child in children(accessible):
        line = "  " * depth + role(child) + (f' "{child.name}"' if child.name else "")
        for relation in child.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                targets = [relation.getTarget(i) for i in range(relation.getNTargets())]
                line += " ← " + ", ".join(f'"{target.name}"' for target in targets)
        lines += [line] + tree(child, depth + 1)
    return lines


def compare(what, accessible, expected):
    accessible.clearCache()
    actual = "\n".join(tree(accessible))
    check(actual == expected, f"{what} reads\n{actual}\ninstead of\n{expected}")


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


def find(root, role_name, name):
    for child in children(root):
        if role(child) == role_name and child.name == name:
            return child
        if found := find(child, role_name, name):
            return found
    return None


def main():
    # What a screen reader does when it starts: it tells the session that one is listening.
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
        None, Gio.DBusCallFlags.NONE, 10000, None)
    for kind in ["window:activate", "object:state-changed:focused", "object:state-changed:showing",
                 "object:property-change:accessible-name", "object:text-changed"]:
        pyatspi.Registry.registerEventListener(hear, kind)
    GLib.timeout_add(50, lambda: True)  # wakes the waits up to look again

    program = subprocess.Popen([sys.argv[1]])

    # Launch: the main window is a frame, named while its title is still empty.
    main = announced(0, None, "frame", "Měřič hovorného")
    compare("the main window", main, MAIN)

    # A call started from the menu bar: the focus goes back where it was; only the values are announced.
    wait_for("first focus", last_focus)
    before = last_focus()
    start = len(heard)
    key("alt+s")
    seconds = lambda: [e[3] for e in since(start, "object:text-changed:insert") if e[1].name == "Sekundy"]
    wait_for("three seconds of a call", lambda: "3" in seconds())
    check(last_focus() == before, f"after Alt+S the focus is on {last_focus().name!r}, not {before.name!r}")
    changed = {e[1].name for e in since(start, "object:property-change:accessible-name")}
    check(not changed, f"during the call, names change: {changed}")
    values = {e[1].name for e in since(start, "object:text-changed")}
    check(values <= {"Sekundy", "Druh provozu", "Cena hovoru v Kč"}, f"during the call, texts change: {values}")

    # The about window: a dialog with two panels; credits below the viewport are not showing.
    start = len(heard)
    key("alt+o")
    wait_for("another window activated", lambda: activation(start) and activation(start)[1] != main)
    about = announced(start, activation(start)[1], "dialog", "Něco o...")
    compare("the about window", about, ABOUT)
    credits = [find(about, "image" if c == "Znak DALKO" else "label", c) for c in CREDITS]
    if None in credits:
        sys.exit(f"screen_reader: the about window lacks {CREDITS[credits.index(None)]!r}")
    opened = heard.index(activation(start, about))
    told = {e[1].name: e[2] for e in heard[start:opened] if e[0] == "object:state-changed:showing"}
    shown = [c.name for c in credits if showing(c) or told.get(c.name)]
    check(not shown, f"before the credits roll, {shown} are showing")
    wait_for("the first credit in view", lambda: showing(credits[0]))
    viewport = about.getChildAtIndex(0).getChildAtIndex(1).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    first = credits[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check(first.y < viewport.y + viewport.height, "the first credit is showing below the viewport")
    shown = [c.name for c in credits[1:] if showing(c)]
    check(not shown, f"with the first credit coming into view, {shown} are showing too")

    # Back in the main window: its new name comes before the activation that announces it.
    start = len(heard)
    key("alt+k")
    announced(start, main, "frame", TITLE)
    renamed = [i for i, e in enumerate(heard[start:]) if e[0].endswith("accessible-name") and e[1] == main]
    activated = heard.index(activation(start, main)) - start
    check(renamed and renamed[0] < activated, "the main window's new name is not told before its activation")

    # Stop shows the bill: values named apart from their headings; the stray dash is left out.
    start = len(heard)
    key("alt+t")
    wait_for("another window activated", lambda: activation(start) and activation(start)[1] != main)
    bill = announced(start, activation(start)[1], "frame", "Vyúčtování ")
    compare("the bill", bill, BILL)
    wait_for("focus on the bill", lambda: last_focus() and last_focus().name == "Tak dobře ...")
    key("space")
    try:
        status = program.wait(timeout=30)
    except subprocess.TimeoutExpired:
        program.kill()
        sys.exit("screen_reader: the bill's button did not end the program")
    check(status == 0, f"the program ended with status {status}")
    sys.exit(1 if failures else 0)


main()
