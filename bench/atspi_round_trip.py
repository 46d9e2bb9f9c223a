#!/usr/bin/python3
"""How fast the application answers a screen reader: inside a session bus of its own with the
desktop's accessibility bus and registry, vestrino runs in an X server (Xvfb) and this script
times GetState calls to its root object over the accessibility bus, a call every 13 ms (a
screen reader asks in bursts as the focus moves), beside the same call to the registry on the
same bus. Run from the source folder after a build:

    dbus-run-session -- bench/atspi_round_trip.py [CALLS]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

from gi.repository import Gio, GLib

FLAGS = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
         Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
ROOT = "/org/a11y/atspi/accessible/root"


def call(bus, name, path, interface, method, args=None):
    return bus.call_sync(name, path, interface, method, args, None, 0, 1000, None)


def accessibility_bus(processes):
    processes.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher",
                                       "--launch-immediately"], stderr=subprocess.DEVNULL))
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    for _ in range(100):
        try:
            call(session, "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                 "Set", GLib.Variant("(ssv)", ("org.a11y.Status", "IsEnabled",
                                               GLib.Variant("b", True))))
            break
        except GLib.Error:
            time.sleep(0.1)
    address = call(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                   "GetAddress").unpack()[0]
    return Gio.DBusConnection.new_for_address_sync(address, FLAGS, None, None)


def timed(bus, name, calls):
    out = []
    for _ in range(calls):
        t = time.perf_counter()
        call(bus, name, ROOT, "org.a11y.atspi.Accessible", "GetState")
        out.append((time.perf_counter() - t) * 1000)
        time.sleep(0.013)
    return out


def main():
    calls = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    processes = []
    try:
        bus = accessibility_bus(processes)
        processes.append(subprocess.Popen(["Xvfb", ":58", "-screen", "0", "800x600x24"],
                                          stderr=subprocess.DEVNULL))
        time.sleep(1)
        documents = tempfile.mkdtemp(prefix="vestrino-bench-")
        # No service: the login screen, which is all a screen reader needs here.
        processes.append(subprocess.Popen(
            ["build/vestrino", "--documents", documents, "--host", "127.0.0.1:9",
             "--reachability", "0"], env=dict(os.environ, DISPLAY=":58"),
            stderr=subprocess.DEVNULL))
        name = None
        for _ in range(200):
            children = call(bus, "org.a11y.atspi.Registry", ROOT, "org.a11y.atspi.Accessible",
                            "GetChildren").unpack()[0]
            if children:
                name = children[-1][0]
                break
            time.sleep(0.1)
        if not name:
            sys.exit("the application never reached the registry")
        time.sleep(3)  # the splash is over
        app = sorted(timed(bus, name, calls))
        registry = timed(bus, "org.a11y.atspi.Registry", 50)
        print("GetState to the application, %d calls: median %.2f ms, best %.2f, 90th %.2f, "
              "worst %.2f" % (calls, statistics.median(app), app[0], app[int(calls * 0.9)],
                              app[-1]))
        print("GetState to the registry on the same bus: median %.2f ms" %
              statistics.median(registry))
    finally:
        for p in reversed(processes):
            p.terminate()
            p.wait()


if __name__ == "__main__":
    main()
