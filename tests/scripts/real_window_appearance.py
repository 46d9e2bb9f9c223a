#!/usr/bin/python3
"""The desktop turns dark while the application runs in a real window (Xvfb, SDL's x11
driver), on a private session bus with a stand-in settings portal (version 1, light at first).
A user name is typed into the login form; the window must show what the headless run in the
light look shows for that state. The portal is then told to send SettingChanged: the window
must show the dark headless snapshot of the same state (the screen and the typed name unchanged), and the
time from the signal to the dark frame on screen is printed. The screenshots before and after
stay in the artifacts folder.

    real_window_appearance.py BUILD_DIR SOURCE_DIR [ARTIFACTS_DIR]
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_appearance import start_bus, start_portal  # noqa: E402
from real_window import (Session, difference, fail, reference_pixels,  # noqa: E402
                         MAX_OFF_PIXELS, STEP_SECONDS)

HEADLESS = """\
wait 2.1
type "mario.rossi"
wait 1
snapshot typed
"""


class BusSession(Session):
    """A session whose programs see the private session bus."""

    def env(self, language=None):
        env = super().env(language)
        env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        return env


def main():
    build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    artifacts = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
    if artifacts:
        shutil.rmtree(artifacts, ignore_errors=True)
        os.makedirs(artifacts)
    session = BusSession(build, source, artifacts)
    try:
        bus, session.bus_address = start_bus(session.work)
        session.processes.append(bus)
        session.start_standin()
        session.start_xvfb()
        # The references: the same state in each look, headless on the virtual clock.
        script = session.path("typed.script")
        with open(script, "w") as f:
            f.write(HEADLESS)
        refs = {}
        for look in ("light", "dark"):
            out = session.path("headless-" + look)
            r = subprocess.run(session.app_command(session.documents("docs-" + look)) +
                               ["--theme", look, "--headless", "--physical-keyboard",
                                "--script", script, "--out", out],
                               capture_output=True, text=True, timeout=120,
                               env=session.app_env())
            if r.returncode != 0:
                fail("the headless run (%s) failed: %s" % (look, r.stderr))
            refs[look] = reference_pixels(os.path.join(out, "typed.png"))
        if difference(refs["light"], refs["dark"])[0] < 0.5:
            fail("the light and dark references look alike")

        portal = start_portal(session.bus_address, session.work, "portal",
                              ["--version", "1", "--scheme", "2", "--change-to", "1",
                               "--change-when", session.path("turn-dark")])
        session.processes.append(portal)
        app = session.start_app(session.documents("docs-window"))
        # The login form has the focus at start; keys go to the window under the pointer.
        session.xdotool("mousemove", "--window", session.window, "160", "440")
        time.sleep(2.5)  # past the launch screen
        session.type_text("mario.rossi")

        def shows(ref, name):
            deadline = time.monotonic() + STEP_SECONDS
            best = 2.0
            while time.monotonic() < deadline:
                shot = session.screenshot()
                off, largest = difference(shot, ref)
                best = min(best, off)
                if off <= MAX_OFF_PIXELS:
                    session.save_png(shot, "window-%s.png" % name)
                    print("%-6s matches its headless snapshot: %.3f%% of pixels off, largest "
                          "channel difference %d" % (name, off * 100, largest))
                    return time.monotonic()
                time.sleep(0.05)
            session.save_png(shot, "window-%s-mismatch.png" % name)
            fail("the window never showed the %s look: at best %.2f%% of pixels differ" %
                 (name, best * 100))

        shows(refs["light"], "before")
        open(session.path("turn-dark"), "w").close()  # the portal sends the change now
        dark_at = shows(refs["dark"], "after")
        for line in open(session.path("portal.portal")).read().splitlines():
            if line.startswith("SettingChanged"):
                sent = float(line.split()[-1])
                print("dark on screen %.0f ms after SettingChanged" % ((dark_at - sent) * 1000))
        session.xdotool("key", "ctrl+q")
        code = app.wait(30)
        if code != 0:
            fail("the program ended with %d: %s" % (code, open(session.path("app.err")).read()))
    finally:
        session.close()


if __name__ == "__main__":
    main()
