#!/usr/bin/env python3
"""The look follows the desktop's colour scheme, read from a stand-in settings portal on a
private session bus (headless runs against the stand-in service):

1. What the first snapshot's look is: the desktop dark, light or without a preference, through
   a portal of version 1 (Read: a variant in a variant) and of version 2 (ReadOne); a portal
   that does not know the setting; no portal on the bus; no bus at all. Nothing is printed.
2. The person's choice before the desktop's: --theme, and "aspetto" in the preferences.
3. A change while running (SettingChanged, sent once the first snapshot is written): the
   screens repaint in the dark look, and nothing else changes (the screen, what was typed, the
   focus); a change of another key of the namespace changes nothing.
4. The program quits while the portal has not answered yet: status 0, nothing printed.

Usage: desktop_appearance.py BUILD_DIR SOURCE_DIR
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from english_tour import start_standin  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
FIRST = "wait 2.1\nidle 10\nsnapshot first\n"
CHANGE = """\
wait 2.1
tap @usernameField
type "mario.rossi"
idle 10
snapshot before
sleep 3
snapshot after
"""


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def start_bus(work):
    p = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = p.stdout.readline().strip()
    if not address:
        fail("dbus-daemon gave no address")
    return p, address


def start_portal(address, work, name, args):
    ready = os.path.join(work, name + ".ready")
    log = open(os.path.join(work, name + ".portal"), "w")
    p = subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, "settings_portal.py"),
                          "--ready", ready, *args],
                         env=dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address),
                         stdout=log, stderr=subprocess.STDOUT)
    deadline = time.monotonic() + 20
    while not os.path.exists(ready):
        if p.poll() is not None or time.monotonic() > deadline:
            fail("the stand-in portal did not start: " +
                 open(os.path.join(work, name + ".portal")).read())
        time.sleep(0.05)
    return p


def run_app(build, work, name, host, ca, script, address, args=(), preferences=None):
    config = os.path.join(work, "config-" + name)
    if preferences is not None:
        os.makedirs(os.path.join(config, "vestrino"), mode=0o700)
        with open(os.path.join(config, "vestrino", "preferences.json"), "w") as f:
            json.dump(preferences, f)
    with open(os.path.join(work, name + ".script"), "w") as f:
        f.write(script)
    env = {k: v for k, v in os.environ.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
    env.update(XDG_CONFIG_HOME=config, LANG="it_IT.UTF-8")
    if address:
        env["DBUS_SESSION_BUS_ADDRESS"] = address
    out = os.path.join(work, "out-" + name)
    docs = os.path.join(work, "docs-" + name)
    os.makedirs(docs, mode=0o700)
    r = subprocess.run([os.path.join(build, "vestrino"), "--host", host, "--cafile", ca,
                        "--reachability", "2", "--documents", docs, *args, "--headless",
                        "--script", os.path.join(work, name + ".script"), "--out", out],
                       env=env, capture_output=True, text=True, timeout=120)
    if r.returncode != 0:
        fail("%s: the headless run failed (%d): %s" % (name, r.returncode, r.stderr))
    return out, r.stderr


def said(stderr):
    """What the program printed, less LeakSanitizer's list of the suppressions it used (a
    sanitizer build prints it at every exit)."""
    return re.sub(r"-+\nSuppressions used:\n.*?\n-+\n+", "", stderr, flags=re.S).strip()


def snapshot(out, name):
    return json.load(open(os.path.join(out, name + ".json")))


def without_colours(node):
    """The tree with what a look changes (colours, pictures' looks) taken out."""
    return {k: ([without_colours(c) for c in v] if k == "children" else v)
            for k, v in node.items() if k not in ("textColor", "titleColor", "backgroundColor")}


def main():
    build = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="desktop-appearance-")
    bus = standin = None
    problems = []
    try:
        bus, address = start_bus(work)
        standin, host, ca = start_standin(build, work)
        # 1 and 2: the first look.
        cases = [
            # name, portal args (None: no portal), bus, app args, preferences, expected, method
            ("v2 dark", ["--version", "2", "--scheme", "1"], True, [], None, "dark", "ReadOne"),
            ("v1 dark", ["--version", "1", "--scheme", "1"], True, [], None, "dark", "Read"),
            ("v2 light", ["--version", "2", "--scheme", "2"], True, [], None, "light", "ReadOne"),
            ("v1 light", ["--version", "1", "--scheme", "2"], True, [], None, "light", "Read"),
            ("v2 no preference", ["--version", "2", "--scheme", "0"], True, [], None, "light",
             "ReadOne"),
            ("v1 a value it should not have", ["--version", "1", "--scheme", "7"], True, [], None,
             "light", "Read"),
            ("v2 setting unknown", ["--version", "2", "--scheme", "absent"], True, [], None,
             "light", "ReadOne"),
            ("no portal", None, True, [], None, "light", None),
            ("no bus", None, False, [], None, "light", None),
            ("--theme light over a dark desktop", ["--scheme", "1"], True, ["--theme", "light"],
             None, "light", None),
            ("--theme dark without a portal", None, True, ["--theme", "dark"], None, "dark", None),
            ("kept choice dark over a light desktop", ["--scheme", "2"], True, [],
             {"aspetto": "dark"}, "dark", None),
            ("kept choice light over a dark desktop", ["--scheme", "1"], True, [],
             {"aspetto": "light"}, "light", None),
            ("kept choice system, dark desktop", ["--scheme", "1"], True, [],
             {"aspetto": "system"}, "dark", None),
            ("--theme system over a kept light", ["--scheme", "1"], True, ["--theme", "system"],
             {"aspetto": "light"}, "dark", None),
        ]
        for i, (what, portal_args, has_bus, args, prefs, expected, method) in enumerate(cases):
            name = "case%d" % i
            portal = start_portal(address, work, name, portal_args) if portal_args else None
            try:
                out, stderr = run_app(build, work, name, host, ca, FIRST,
                                      address if has_bus else None, args, prefs)
            finally:
                if portal:
                    portal.terminate()
                    portal.wait()
            look = snapshot(out, "first").get("appearance")
            if look != expected:
                problems.append("%s: the look is %r, not %r" % (what, look, expected))
            if said(stderr):
                problems.append("%s: the program printed %r" % (what, said(stderr)))
            calls = open(os.path.join(work, name + ".portal")).read() if portal_args else ""
            if method and not any(l.startswith(method + " ") for l in calls.splitlines()):
                problems.append("%s: the portal was not asked with %s: %r" % (what, method, calls))
            if method == "ReadOne" and any(l.startswith("Read ") for l in calls.splitlines()):
                problems.append("%s: Read was asked although ReadOne answered" % what)

        # 3. A change while running: light, then the desktop turns dark once the first snapshot
        # is on disk (another key's change, in a second run, changes nothing).
        for other, expected in ((False, "dark"), (True, "light")):
            name = "change-other" if other else "change"
            out = os.path.join(work, "out-" + name)
            portal = start_portal(address, work, name,
                                  ["--version", "1", "--scheme", "2", "--change-to", "1",
                                   "--change-when", os.path.join(out, "before.json")] +
                                  (["--other-key"] if other else []))
            try:
                out, stderr = run_app(build, work, name, host, ca, CHANGE, address)
            finally:
                portal.terminate()
                portal.wait()
            if "SettingChanged" not in open(os.path.join(work, name + ".portal")).read():
                problems.append("%s: the portal sent no change" % name)
            before, after = snapshot(out, "before"), snapshot(out, "after")
            if (before.get("appearance"), after.get("appearance")) != ("light", expected):
                problems.append("%s: %r then %r" % (name, before.get("appearance"),
                                                    after.get("appearance")))
            for key in ("screens", "visible", "alert", "firstResponder", "focus"):
                if before.get(key) != after.get(key):
                    problems.append("%s changed %s: %r -> %r" %
                                    (name, key, before.get(key), after.get(key)))
            if without_colours(before["window"]) != without_colours(after["window"]):
                problems.append("%s changed the view tree beyond its colours" % name)
            same = open(os.path.join(out, "before.png"), "rb").read() == \
                open(os.path.join(out, "after.png"), "rb").read()
            if same != other:
                problems.append("%s: the picture %s" % (name, "did not change" if not other
                                                        else "changed"))

        # 4. Quitting while the portal takes its time to answer.
        portal = start_portal(address, work, "late", ["--version", "2", "--scheme", "1",
                                                      "--delay", "4"])
        try:
            out, stderr = run_app(build, work, "late", host, ca, "wait 2.1\nsnapshot first\n",
                                  address)
        finally:
            portal.terminate()
            portal.wait()
        if said(stderr):
            problems.append("quitting before the portal answered printed %r" % said(stderr))
        if snapshot(out, "first").get("appearance") != "light":
            problems.append("the look changed before the portal answered")
    finally:
        for p in (standin, bus):
            if p:
                p.terminate()
                p.wait()
        shutil.rmtree(work, ignore_errors=True)
    for p in problems:
        print("FAIL: " + p, file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
