"""What a screen reader finds of the real program, read over the accessibility bus: the windows' names and
roles, what each holds in reading order with the meaning and headings of its values, what is left out, where
the focus goes after a command from the menu bar, and that the running title is not announced. Runs the
program through a call, the about window and the bill; orca_test.sh checks what Orca itself says of them.
Started by screen_reader_test.sh inside a private session bus on a private X server; the program is the first
argument."""

import datetime
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

# Values as shown when the window opens, dated by the day it opened; what a value means is in brackets.
FIRST_DAY = datetime.date.today()
WEEKDAYS = ["pondělí", "úterý", "středa", "čtvrtek", "pátek", "sobota", "neděle"]


def main_window(day):
    return f"""\
menu bar
  menu item "Start"
  menu item "Stop "
  menu item "Něco o..."
filler
  label "Datum:"
  label "{day.day}.{day.month}.{day.year}" [Dnešní datum] ← "Datum:"
  label "{WEEKDAYS[day.weekday()]}" [Den v týdnu]
  label "Provoz:"
  label "Klepněte na Start" [Druh provozu] ← "Provoz:"
  check box "Po startu minimalizovat" ← "Po startu minimalizovat:"
  check box "Po stopnutí zobrazit vyúčtování" ← "Po stopnutí zobrazit vyúčtování :"
  label "Délka hovoru:"
  label "0" [Hodiny] ← "Délka hovoru:"
  label ":"
  label "0" [Minuty] ← "Délka hovoru:"
  label ":"
  label "0" [Sekundy] ← "Délka hovoru:"
  label "/hod"
  label "Cena hovoru:"
  label "0" [Cena hovoru v Kč] ← "Cena hovoru:"
  label "Kč"
  push button "Start"
  push button "Stop & Konec\""""

# The credits are out of the view when the window opens, unless it took long to open: the test leaves them out,
# and orca_test.sh reviews them as they come into view.
ABOUT = """\
filler
  panel
    filler
      label "ZELVOR"
  panel
    filler
  push button "Znovu"
  push button "Konec\""""



def bill_window(day):
    issued = f"{day.day:02}.{day.month:02}.{day.year}"
    return f"""\
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
  label "{issued}" [Vystaveno dne]
  label "Účtovací období"
  label "Datum vystavení dokladu"
  label "{day.month:02}/{day.year}" [Vyúčtovaný měsíc] ← "Účtovací období"
  label "{issued}" [Vystaveno dne] ← "Datum vystavení dokladu"
  label "Hovory spoj autom 2.4 Kč/imp"
  label "2,4" [Částka za hovory v Kč] ← "Hovory spoj autom 2.4 Kč/imp"
  label "Kč"
  label "Celkem k platbě Kč"
  label "2,4" [Celková částka v Kč] ← "Celkem k platbě Kč"
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
    """The object's children, as a listener meets them: role, name, description and headings, one a line."""
    lines = []
    for child in children(accessible):
        line = "  " * depth + role(child) + (f' "{child.name}"' if child.name else "")
        line += f" [{child.description}]" if child.description else ""
        for relation in child.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                targets = [relation.getTarget(i) for i in range(relation.getNTargets())]
                line += " ← " + ", ".join(f'"{target.name}"' for target in targets)
        lines += [line] + tree(child, depth + 1)
    return lines


def compare(what, accessible, expected, ignored=None):
    """Compares what the object holds with what is expected, leaving out the lines that match `ignored`;
    `expected` may be a function of the day, which is any day since the test began: midnight may pass."""
    accessible.clearCache()
    actual = "\n".join(line for line in tree(accessible) if not (ignored and re.match(ignored, line)))
    if callable(expected):
        days = [FIRST_DAY + datetime.timedelta(n) for n in range((datetime.date.today() - FIRST_DAY).days + 1)]
        expected = next((text for text in map(expected, days) if text == actual), expected(days[-1]))
    check(actual == expected, f"{what} reads\n{actual}\ninstead of\n{expected}")


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


def main():
    # What a screen reader does when it starts: it tells the session that one is listening.
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
        None, Gio.DBusCallFlags.NONE, 10000, None)
    for kind in ["window:activate", "object:state-changed:focused", "object:property-change:accessible-name"]:
        pyatspi.Registry.registerEventListener(hear, kind)
    GLib.timeout_add(50, lambda: True)  # wakes the waits up to look again

    program = subprocess.Popen([sys.argv[1]])

    # Launch: the main window is a frame, named while its title is still empty.
    main = announced(0, None, "frame", "Měřič hovorného")
    compare("the main window", main, main_window)

    # A call started from the menu bar: the focus goes back where it was; the running title is not announced.
    wait_for("first focus", last_focus)
    before = last_focus()
    start = len(heard)
    key("alt+s")
    def counted(least):
        renamed = [e[1] for e in since(start, "object:property-change:accessible-name") if e[1] != main]
        return any(label.description == "Sekundy" and int(label.name) >= least for label in renamed)
    wait_for("three seconds of a call", lambda: counted(3))
    check(last_focus() == before, f"after Alt+S the focus is on {last_focus().name!r}, not {before.name!r}")
    renamed = [e[3] for e in since(start, "object:property-change:accessible-name") if e[1] == main]
    check(not renamed, f"during the call, the main window is renamed: {renamed}")

    # The about window: a dialog with two panels; credits below the viewport are left out.
    start = len(heard)
    key("alt+o")
    wait_for("another window activated", lambda: activation(start) and activation(start)[1] != main)
    about = announced(start, activation(start)[1], "dialog", "Něco o...")
    compare("the about window", about, ABOUT, r'      (label|image) "(?!ZELVOR")')

    # Back in the main window: the activation tells its name as it is then, and nothing renames it besides, which a
    # screen reader would read out once more, perhaps after the activation and out of date.
    start = len(heard)
    key("alt+k")
    announced(start, main, "frame", TITLE)
    renamed = [e for e in since(start, "object:property-change:accessible-name") if e[1] == main]
    check(not renamed, f"back in the main window, it is renamed {len(renamed)} times besides its activation")

    # Stop shows the bill: values as shown, their meaning apart; the stray dash is left out.
    start = len(heard)
    key("alt+t")
    wait_for("another window activated", lambda: activation(start) and activation(start)[1] != main)
    bill = announced(start, activation(start)[1], "frame", "Vyúčtování ")
    compare("the bill", bill, bill_window)
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
