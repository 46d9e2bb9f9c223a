#!/usr/bin/python3
"""A person with Orca, the desktop's screen reader: vestrino in a real X window (Xvfb) inside a
session bus with the accessibility bus and registry, Orca running with its debug log, and the
keyboard used at a person's pace (a key every 1.5 s). Each key's announcement must come before
the next key: the login's fields and button, the wallet's card in view, "+ Nuova" and "Scegli
questa carta", the card shown after Right, and a statement's first controls. Orca drops an
announcement when the application's answers are slow and a newer event is already queued, so
this is also the check that the application answers the bus as calls come. A password is
never spoken, only its dots.

    dbus-run-session -- orca_session.py BUILD_DIR SOURCE_DIR
"""
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from real_window import Session, fail  # noqa: E402
from screen_reader import start_accessibility_bus  # noqa: E402

PACE = 1.5  # seconds between keys, as a person tabs while listening
START_SECONDS = 20
# A line of Orca's log for what it says: SPEECH OUTPUT: 'Accedi push button.'{...}
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\s*\{")


class Orca:
    """Orca's spoken output, read from its debug log as it grows."""

    def __init__(self, session, env):
        self.log = session.path("orca.debug")
        open(self.log, "w").close()
        # Orca as its launcher runs it, with its debug log written a line at a time (it is
        # block-buffered otherwise, and read here as it grows).
        launcher = ("import builtins, runpy, sys\n"
                    "_open = builtins.open\n"
                    "def line_buffered(file, mode='r', *args, **kwargs):\n"
                    "    if file == %r and not args and 'buffering' not in kwargs:\n"
                    "        kwargs['buffering'] = 1\n"
                    "    return _open(file, mode, *args, **kwargs)\n"
                    "builtins.open = line_buffered\n"
                    "sys.argv = ['orca', '--replace', '--debug-file=' + %r]\n"
                    "runpy.run_path(%r, run_name='__main__')\n" %
                    (self.log, self.log, shutil.which("orca")))
        p = subprocess.Popen(["/usr/bin/python3", "-c", launcher], env=env,
                             stdout=open(session.path("orca.out"), "w"), stderr=subprocess.STDOUT)
        session.processes.append(p)
        self.read_to = 0
        self.heard = []

    def spoken(self):
        with open(self.log, errors="replace") as f:
            f.seek(self.read_to)
            text = f.read()
        # Only whole lines: the rest is read next time.
        end = text.rfind("\n") + 1
        self.read_to += len(text[:end].encode(errors="replace"))
        for line in text[:end].splitlines():
            said = SPEECH.search(line)
            if said:
                self.heard.append(said.group(1))

    def expect(self, phrase, seconds):
        """Waits up to `seconds` for `phrase` among what is said from now on."""
        start = len(self.heard)
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.spoken()
            if any(phrase in h for h in self.heard[start:]):
                return True
            time.sleep(0.05)
        return False


def main():
    build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        fail("run inside dbus-run-session")
    if not shutil.which("orca"):
        fail("orca is not installed (scripts/install-deps installs it)")
    session = Session(build, source, None)
    try:
        session.start_standin()
        session.start_xvfb()
        start_accessibility_bus(session)
        home = session.path("home")  # Orca's settings: its defaults
        os.makedirs(home)
        env = dict(os.environ, DISPLAY=session.display, SDL_VIDEODRIVER="x11", HOME=home,
                   XDG_DOWNLOAD_DIR=session.path("downloads"))
        env.pop("WAYLAND_DISPLAY", None)
        orca = Orca(session, env)
        if not orca.expect("Screen reader on", START_SECONDS):
            fail("Orca did not start: " + open(session.path("orca.out")).read()[-2000:])
        p = subprocess.Popen(session.app_command(session.documents("documents")), env=env,
                             stdout=subprocess.DEVNULL, stderr=open(session.path("app.err"), "w"))
        session.processes.append(p)
        r = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                            "^Vestrino$"], env=env, capture_output=True, text=True,
                           timeout=START_SECONDS)
        if not r.stdout.split():
            fail("no Vestrino window appeared: " + r.stderr)
        window = r.stdout.split()[0]
        # Keys go to the window under the pointer (no window manager gives focus).
        subprocess.run(["xdotool", "mousemove", "--window", window, "160", "440"], env=env,
                       check=True)
        if not orca.expect("Nome utente entry", START_SECONDS):
            fail("the login's first field was never read: %s" % orca.heard)

        missed = []

        def key(name, phrase):
            t = time.monotonic()
            subprocess.run(["xdotool", "key", name], env=env, check=True)
            if not orca.expect(phrase, PACE - 0.1):
                missed.append("%s: %r" % (name, phrase))
            time.sleep(max(0.0, PACE - (time.monotonic() - t)))

        def typed(text):
            subprocess.run(["xdotool", "type", "--delay", "120", text], env=env, check=True)
            time.sleep(PACE)

        key("Tab", "Password password text")
        key("Tab", "Accedi push button")
        key("Tab", "Nome utente entry")
        typed("mario.rossi")
        key("Tab", "Password password text")
        typed("lumacard1")
        key("Return", "Vestrino \u2013 Carte")
        time.sleep(PACE)
        key("Tab", "Lumacard Anonima che termina con 1117 page tab")
        key("Tab", "+ Nuova push button")
        key("Tab", "Carta regalo push button")
        key("Tab", "Scegli questa carta push button")
        key("shift+Tab", "Carta regalo push button")
        key("shift+Tab", "+ Nuova push button")
        key("shift+Tab", "Lumacard Anonima che termina con 1117 page tab")
        key("Right", "Lumacard Standard che termina con 5670 page tab")
        key("Return", "Vestrino \u2013 Movimenti")
        time.sleep(PACE)
        key("Tab", "Indietro push button")
        key("Tab", "Aggiorna push button")
        key("Tab", "Cerca nei movimenti entry")
        key("Tab", "Grafico toggle button not pressed")
        orca.spoken()
        if missed:
            if os.environ.get("ORCA_LOG_COPY"):
                shutil.copy(orca.log, os.environ["ORCA_LOG_COPY"])
            fail("not read before the next key: %s\nheard: %s" % ("; ".join(missed), orca.heard))
        if any("lumacard1" in h or h in list("lumacrd1") for h in orca.heard):
            fail("the password was spoken: %s" % orca.heard)
        p.send_signal(15)
        if p.wait(START_SECONDS) != 0:
            fail("vestrino did not end cleanly")
        print("Orca session passed: %d announcements" % len(orca.heard))
    finally:
        session.close()


if __name__ == "__main__":
    main()
