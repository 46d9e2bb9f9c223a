#!/usr/bin/env python3
"""A stand-in for the desktop's settings portal on the session bus, for tests.

Owns org.freedesktop.portal.Desktop and serves /org/freedesktop/portal/desktop with
org.freedesktop.portal.Settings as a portal of version 1 (Read only, whose answer is a variant
in a variant, as Debian 12's) or 2 (ReadOne too, whose answer is the value in a variant).

Options: --version 1|2, --scheme N (the color-scheme; "absent": the portal does not know the
key), --change-to N (SettingChanged once the file --change-when names exists, looked for every
50 ms after the first read), --other-key (the change is sent for another key of the namespace,
which readers must ignore), --delay S (each answer S seconds late), --ready FILE (written once
the name is owned). Every call is printed on standard output.
"""
import argparse
import os
import sys
import time

from gi.repository import Gio, GLib

NS, KEY = "org.freedesktop.appearance", "color-scheme"


def introspection(version):
    read_one = """<method name="ReadOne"><arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="v" direction="out"/></method>""" if version >= 2 else ""
    return """<node><interface name="org.freedesktop.portal.Settings">
      <method name="ReadAll"><arg type="as" direction="in"/><arg type="a{sa{sv}}" direction="out"/></method>
      <method name="Read"><arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="v" direction="out"/></method>%s
      <signal name="SettingChanged"><arg type="s"/><arg type="s"/><arg type="v"/></signal>
      <property name="version" type="u" access="read"/>
    </interface></node>""" % read_one


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--version", type=int, default=2)
    ap.add_argument("--scheme", default="1")
    ap.add_argument("--change-to", type=int)
    ap.add_argument("--change-when")
    ap.add_argument("--other-key", action="store_true")
    ap.add_argument("--delay", type=float, default=0.0)
    ap.add_argument("--ready")
    args = ap.parse_args()
    loop = GLib.MainLoop()
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    info = Gio.DBusNodeInfo.new_for_xml(introspection(args.version)).interfaces[0]
    state = {"scheme": None if args.scheme == "absent" else int(args.scheme), "read": False}

    def change():
        if not os.path.exists(args.change_when):
            return True  # look again in 50 ms
        key = "contrast" if args.other_key else KEY
        if not args.other_key:
            state["scheme"] = args.change_to
        bus.emit_signal(None, "/org/freedesktop/portal/desktop",
                        "org.freedesktop.portal.Settings", "SettingChanged",
                        GLib.Variant("(ssv)", (NS, key, GLib.Variant("u", args.change_to))))
        # When it went, on the clock the tests read too (CLOCK_MONOTONIC).
        print("SettingChanged %d at %.6f" % (args.change_to, time.monotonic()), flush=True)
        return False

    def call(conn, sender, path, iface, method, params, invocation):
        print("%s %s" % (method, params.unpack()), flush=True)
        if args.delay:
            time.sleep(args.delay)
        if method == "ReadAll":
            values = {} if state["scheme"] is None else {KEY: GLib.Variant("u", state["scheme"])}
            invocation.return_value(GLib.Variant("(a{sa{sv}})", ({NS: values},)))
            return
        ns, key = params.unpack()
        if (ns, key) != (NS, KEY) or state["scheme"] is None:
            invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound",
                                         "Requested setting not found")
            return
        value = GLib.Variant("u", state["scheme"])
        if method == "Read":
            value = GLib.Variant("v", value)  # version 1: a variant in the variant
        invocation.return_value(GLib.Variant("(v)", (value,)))
        if not state["read"] and args.change_to is not None:
            GLib.timeout_add(50, change)
        state["read"] = True

    def get_property(conn, sender, path, iface, name):
        return GLib.Variant("u", args.version)

    bus.register_object("/org/freedesktop/portal/desktop", info, call, get_property, None)

    def acquired(*_):
        if args.ready:
            open(args.ready, "w").write("ready\n")

    Gio.bus_own_name_on_connection(bus, "org.freedesktop.portal.Desktop",
                                   Gio.BusNameOwnerFlags.NONE, acquired, lambda *_: loop.quit())
    loop.run()


if __name__ == "__main__":
    sys.exit(main())
