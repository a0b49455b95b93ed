#!/usr/bin/python3
"""A settings portal of the test's own on the session bus, as slow or as broken as the test asks.

    fake_portal.py BEHAVIOUR [GROUP KEY VALUE]...

BEHAVIOUR says how it answers ReadAll: "answers" at once, "late" after 3 seconds, "silent" never, "error"
with an error. Each GROUP KEY VALUE is a setting it holds, VALUE typed as b:true, u:1 or s:text. Besides
the portal's own interface it offers the test zelvor.test.Portal: Questions() says how many questions came
and how many still wait for their answer, and Change(GROUP, KEY, VALUE) changes a setting and tells of it,
as a portal does."""

import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

SETTINGS = "org.freedesktop.portal.Settings"
TEST = "zelvor.test.Portal"


def typed(value):
    kind, text = value.split(":", 1)
    if kind == "b":
        return dbus.Boolean(text == "true")
    if kind == "u":
        return dbus.UInt32(int(text))
    return dbus.String(text)


class Portal(dbus.service.Object):
    def __init__(self, bus, behaviour, settings):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.behaviour = behaviour
        self.settings = settings
        self.asked = 0
        self.waiting = []

    def answer(self, namespaces):
        return dbus.Dictionary(
            {group: dbus.Dictionary(keys, signature="sv")
             for group, keys in self.settings.items() if not namespaces or group in namespaces},
            signature="sa{sv}")

    @dbus.service.method(SETTINGS, in_signature="as", out_signature="a{sa{sv}}",
                         async_callbacks=("reply", "fail"))
    def ReadAll(self, namespaces, reply, fail):
        self.asked += 1
        if self.behaviour == "answers":
            reply(self.answer(namespaces))
        elif self.behaviour == "error":
            fail(dbus.exceptions.DBusException("the backend failed", name="org.freedesktop.portal.Error.Failed"))
        elif self.behaviour == "late":
            self.waiting.append(reply)
            GLib.timeout_add_seconds(3, self.answer_late, namespaces, reply)
        else:
            self.waiting.append(reply)

    def answer_late(self, namespaces, reply):
        self.waiting.remove(reply)
        reply(self.answer(namespaces))
        return GLib.SOURCE_REMOVE

    @dbus.service.signal(SETTINGS, signature="ssv")
    def SettingChanged(self, group, key, value):
        pass

    @dbus.service.method(TEST, out_signature="uu")
    def Questions(self):
        return self.asked, len(self.waiting)

    @dbus.service.method(TEST, in_signature="sss")
    def Change(self, group, key, value):
        self.settings.setdefault(group, {})[key] = typed(value)
        self.SettingChanged(group, key, typed(value))


def main():
    behaviour, rest = sys.argv[1], sys.argv[2:]
    settings = {}
    for group, key, value in zip(rest[0::3], rest[1::3], rest[2::3]):
        settings.setdefault(group, {})[key] = typed(value)
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus, behaviour, settings)
    portal.name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus, do_not_queue=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
