#!/usr/bin/python3
"""A person's session in a real window: vestrino runs in an X server (Xvfb) with SDL's x11
driver against the stand-in; xdotool logs in with the mouse and the keyboard (Tab between the
fields), pages the carousel with a mouse drag and opens a statement. At each step the window's
screenshot (xwd) must match the headless snapshot of the same state, made first by the same
program on a virtual clock. Then the window gets the close request a window manager sends
(WM_DELETE_WINDOW) and the program must end with status 0 and no X error. A second run logs
in with the keyboard alone, mending a typo in the middle of the user name, and quits with
Ctrl+Q; a third, with no service to reach, shows the connection alert whole and Escape puts
it away; a fourth goes through the application with the keyboard alone (the focus ring on a
card, a button and a toggle, the CVV2 dialog, an export, back, a new card). The headless
references model a desktop with its own keyboard (--physical-keyboard), as the window is.

    real_window.py BUILD_DIR SOURCE_DIR [ARTIFACTS_DIR]
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X, display, protocol

STEP_SECONDS = 30  # the longest a step may take to show on screen
WIDTH, HEIGHT = 320, 480
# Two renderers draw the same frame: a pixel may differ a little in blending. Pictures are
# filtered alike and shapes are drawn on whole pixels, so the only pixels that differ more are
# the text caret's, which blinks on the real clock in the window (about 0.07 % of the screen).
CHANNEL_TOLERANCE = 24
MAX_OFF_PIXELS = 0.002  # share of pixels beyond the channel tolerance
# A port of this machine where nothing listens: the service cannot be reached.
OFFLINE_HOST = "127.0.0.1:9"

HEADLESS_SCRIPT = """\
wait 2.1
snapshot login
tap 160 201
type "mario.rossi"
key tab
type "lumacard1"
key return
idle 20
wait 1
snapshot wallet
drag 280 150 40 150 0.3
wait 1
snapshot page2
tap 160 398
idle 20
wait 1
snapshot statement
tap 202 246
wait 1
drag 160 420 160 60 0.3
wait 2
snapshot chart
tap 174 300
wait 1
snapshot month
"""

# A person with the keyboard alone: the user name has the focus at start; typed with a letter
# missing and mended in the middle (the window types "mario.rosi", Left, Left, "s", End), Tab,
# the password, Return.
HEADLESS_KEYBOARD_SCRIPT = """\
wait 2.1
type "mario.rossi"
wait 0.6
snapshot login-name
key tab
type "lumacard1"
key return
idle 20
wait 1
snapshot wallet-by-keyboard
"""

# Left alone once logged in (the program started with a lock after 3 seconds): the login
# screen comes back with the lock's alert.
HEADLESS_LOCK_SCRIPT = """\
wait 2.1
type "mario.rossi"
key tab
type "lumacard1"
key return
idle 20
wait 4
snapshot locked
"""
LOCK_AFTER = ["--lock-after", "3"]

# A desktop in English (a locale the system need not have installed): the login screen and,
# after a wrong password, the alert in English.
HEADLESS_ENGLISH_SCRIPT = """\
wait 2.1
snapshot en-login
type "mario.rossi"
key tab
type "sbagliata"
key return
idle 20
wait 1
snapshot en-login-error
"""
ENGLISH = {"LANG": "en_GB.UTF-8"}

# No service to reach: the connection alert, read in full, then Escape.
HEADLESS_OFFLINE_SCRIPT = """\
wait 2.1
snapshot offline-login
type "mario.rossi"
key tab
type "lumacard1"
key return
idle 20
wait 1
snapshot offline-alert
key escape
wait 0.6
snapshot offline-dismissed
"""

# The keyboard alone from the wallet on: Tab to the anonymous card, Return opens the CVV2
# dialog, Tab to its field and its button, Return; in the statement a search, "Esporta" by the
# keyboard and its two alerts (the format, what was written) answered with Return, a toggle;
# Escape back; the arrows to the add page, Return, the editor filled and its button pressed by
# Return. The focus ring is seen on a card, a button and a toggle.
HEADLESS_KEYBOARD_TOUR_SCRIPT = """\
wait 2.1
type "mario.rossi"
key tab
type "lumacard1"
key return
idle 20
wait 1
snapshot kb-wallet
key tab
wait 0.3
snapshot kb-card
key return
wait 0.6
type "739"
key tab
wait 0.3
snapshot kb-save
key return
wait 0.5
idle 20
wait 1
snapshot kb-statement
key tab
key tab
type "ric"
key tab
key tab
key return
wait 0.5
key return
wait 0.5
snapshot kb-export
key return
wait 0.3
key tab
wait 0.5
snapshot kb-toggle
key space
wait 0.5
key escape
wait 0.6
idle 20
wait 1
snapshot kb-back
key right
wait 0.6
key right
wait 0.6
key right
wait 0.6
key right
wait 0.6
key return
wait 0.6
type "Spesa"
key tab
type "5375123499990001"
key tab
type "05/29"
wait 0.3
snapshot kb-add
key return
wait 0.6
idle 20
wait 1
snapshot kb-added
"""


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


class Session:
    def __init__(self, build, source, artifacts):
        self.build, self.source, self.artifacts = build, source, artifacts
        self.work = tempfile.mkdtemp(prefix="real-window-")
        self.processes = []

    def close(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)
                try:
                    p.wait(10)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.work, *parts)

    def start_standin(self, faults=()):
        out = open(self.path("standin.out"), "w+")
        p = subprocess.Popen([os.path.join(self.build, "lumacard-standin"), "--listen",
                              "127.0.0.1:0", "--tls-dir", self.path("tls")] +
                             [a for f in faults for a in ("--fault", f)],
                             stdout=out, stderr=subprocess.STDOUT)
        self.processes.append(p)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            text = open(self.path("standin.out")).read()
            lines = dict(l.split(": ", 1) if ": " in l else ("", l) for l in text.splitlines())
            host = next((l[len("listening on https://"):] for l in text.splitlines()
                         if l.startswith("listening on https://")), None)
            if host and "ca file" in lines:
                self.host, self.cafile = host, lines["ca file"]
                return
            if p.poll() is not None:
                break
            time.sleep(0.1)
        fail("the stand-in did not start: " + open(self.path("standin.out")).read())

    def start_xvfb(self):
        read, write = os.pipe()
        p = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "800x600x24",
                              "-nolisten", "tcp"], pass_fds=(write,),
                             stderr=open(self.path("xvfb.log"), "w"))
        os.close(write)
        self.processes.append(p)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                fail("Xvfb did not start: " + open(self.path("xvfb.log")).read())
            number += chunk
        os.close(read)
        self.display = ":" + number.decode().strip()

    def documents(self, name):
        folder = self.path(name)
        os.makedirs(folder, mode=0o700)
        shutil.copy(os.path.join(self.source, "standin/data/demo-documents/mario.rossi_listaCarte"),
                    folder)
        return folder

    def app_command(self, documents, host=None):
        return [os.path.join(self.build, "vestrino"), "--host", host or self.host, "--cafile",
                self.cafile, "--reachability", "2", "--documents", documents]

    def headless_references(self):
        """Runs the headless scripts; their snapshots all go to one folder."""
        out = self.path("headless")
        runs = [("steps", HEADLESS_SCRIPT, None, [], {}),
                ("keyboard", HEADLESS_KEYBOARD_SCRIPT, None, [], {}),
                ("offline", HEADLESS_OFFLINE_SCRIPT, OFFLINE_HOST, [], {}),
                ("tour", HEADLESS_KEYBOARD_TOUR_SCRIPT, None, [], {}),
                ("lock", HEADLESS_LOCK_SCRIPT, None, LOCK_AFTER, {}),
                ("english", HEADLESS_ENGLISH_SCRIPT, None, [], ENGLISH)]
        for name, text, host, extra, language in runs:
            script = self.path(name + ".script")
            with open(script, "w") as f:
                f.write(text)
            r = subprocess.run(self.app_command(self.documents("documents-headless-" + name),
                                                host) + extra +
                               ["--headless", "--physical-keyboard", "--script", script,
                                "--out", out],
                               capture_output=True, text=True, timeout=120,
                               env=self.app_env(language))
            if r.returncode != 0:
                fail("the headless run %s failed: %s" % (name, r.stderr))
        return out

    def app_env(self, language=None):
        """Exports go to a folder of the session's, the same for the headless run and the
        window (the alert names it); emptied before each run. Italian unless `language` says
        otherwise."""
        downloads = self.path("downloads")
        shutil.rmtree(downloads, ignore_errors=True)
        os.makedirs(downloads)
        env = {k: v for k, v in os.environ.items()
               if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
        return dict(env, XDG_DOWNLOAD_DIR=downloads, **(language or {}))

    def env(self, language=None):
        env = dict(self.app_env(language), DISPLAY=self.display, SDL_VIDEODRIVER="x11")
        env.pop("WAYLAND_DISPLAY", None)
        # A desktop with no session bus: nothing may start one that outlives the program.
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        return env

    def start_app(self, documents, host=None, extra=(), language=None):
        self.app_err = open(self.path("app.err"), "w+")
        p = subprocess.Popen(self.app_command(documents, host) + list(extra),
                             env=self.env(language),
                             stdout=subprocess.DEVNULL, stderr=self.app_err)
        self.processes.append(p)
        r = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Vestrino$"],
                           env=self.env(), capture_output=True, text=True, timeout=STEP_SECONDS)
        ids = r.stdout.split()
        if not ids:
            fail("no Vestrino window appeared: " + r.stderr)
        if len(ids) > 1:
            print("more than one window named Vestrino: %s" % ids)
        self.window = ids[0]
        return p

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env(), check=True, timeout=30)

    def type_text(self, text):
        self.xdotool("type", "--delay", "40", text)

    def log_in_by_keyboard(self, password="lumacard1"):
        """The user name has the focus at start: it, Tab, the password, Return. Keys go to the
        window under the pointer (no window manager gives focus)."""
        self.xdotool("mousemove", "--window", self.window, "160", "440")
        self.type_text("mario.rossi")
        self.xdotool("key", "Tab")
        self.type_text(password)
        self.xdotool("key", "Return")

    def click(self, x, y):
        self.xdotool("mousemove", "--window", self.window, str(x), str(y), "click", "1")

    def drag(self, x1, y1, x2, y2, seconds):
        self.xdotool("mousemove", "--window", self.window, str(x1), str(y1), "mousedown", "1")
        steps = 12
        for i in range(1, steps + 1):
            time.sleep(seconds / steps)
            x = x1 + (x2 - x1) * i // steps
            y = y1 + (y2 - y1) * i // steps
            self.xdotool("mousemove", "--window", self.window, str(x), str(y))
        self.xdotool("mouseup", "1")

    def screenshot(self):
        xwd = subprocess.run(["xwd", "-id", self.window, "-silent"], env=self.env(),
                             capture_output=True, timeout=30, check=True).stdout
        return subprocess.run(["convert", "xwd:-", "-depth", "8", "rgb:-"], input=xwd,
                              capture_output=True, timeout=30, check=True).stdout

    def save_png(self, rgb, name):
        if self.artifacts:
            subprocess.run(["convert", "-size", "%dx%d" % (WIDTH, HEIGHT), "-depth", "8",
                            "rgb:-", os.path.join(self.artifacts, name)], input=rgb, check=True)


def reference_pixels(png):
    return subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True,
                          check=True).stdout


def difference(shot, ref):
    """Share of pixels that differ beyond the tolerance, and the largest channel difference."""
    if len(shot) != len(ref):
        return 1.0, 255
    off = 0
    largest = 0
    for i in range(0, len(ref), 3):
        d = max(abs(shot[i] - ref[i]), abs(shot[i + 1] - ref[i + 1]), abs(shot[i + 2] - ref[i + 2]))
        if d > CHANNEL_TOLERANCE:
            off += 1
        largest = max(largest, d)
    return off / (len(ref) // 3), largest


def wait_for(session, refs, name):
    """Takes screenshots until the window shows what the headless snapshot `name` shows."""
    ref = reference_pixels(os.path.join(refs, name + ".png"))
    if len(ref) != WIDTH * HEIGHT * 3:
        fail("the headless snapshot %s is not %dx%d" % (name, WIDTH, HEIGHT))
    deadline = time.monotonic() + STEP_SECONDS
    best = (2.0, 255)
    while time.monotonic() < deadline:
        shot = session.screenshot()
        if len(shot) != len(ref):
            fail("the window's screenshot has %d bytes, not %d (%dx%d)" %
                 (len(shot), len(ref), WIDTH, HEIGHT))
        off, largest = difference(shot, ref)
        best = min(best, (off, largest))
        if off <= MAX_OFF_PIXELS:
            session.save_png(shot, "window-" + name + ".png")
            print("%-10s matches its headless snapshot: %.3f%% of pixels beyond %d, largest "
                  "channel difference %d" % (name, off * 100, CHANNEL_TOLERANCE, largest))
            return
        time.sleep(0.25)
    session.save_png(shot, "window-" + name + "-mismatch.png")
    fail("the window never showed %s: at best %.2f%% of pixels differ (largest %d)" %
         (name, best[0] * 100, best[1]))


def close_like_a_window_manager(session):
    d = display.Display(session.display)
    window = d.create_resource_object("window", int(session.window))
    protocols = d.intern_atom("WM_PROTOCOLS")
    delete = d.intern_atom("WM_DELETE_WINDOW")
    supported = window.get_wm_protocols() or []
    if delete not in supported:
        fail("the window does not take WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                         data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    # A round trip before hanging up, as a window manager's long-lived connection has: a busy X
    # server that sees a client gone may drop the requests it has not read yet, the close with
    # them (flush and close alone lost about half of the closes beside two busy cores).
    d.sync()
    d.close()


def expect_clean_exit(session, process, how):
    try:
        code = process.wait(STEP_SECONDS)
    except subprocess.TimeoutExpired:
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=session.env(),
                              capture_output=True, text=True).stdout
        named = [l.strip() for l in tree.splitlines() if "Vestrino" in l]
        fail("vestrino did not end after %s (close sent to %s; windows named Vestrino: %s)" %
             (how, session.window, named))
    session.app_err.seek(0)
    err = session.app_err.read()
    if code != 0:
        fail("vestrino ended with status %d after %s: %s" % (code, how, err))
    for bad in ("X Error", "BadWindow", "BadDrawable", "XIO"):
        if bad in err:
            fail("an X error after %s: %s" % (how, err))
    leftovers = [n for d in os.listdir(session.work) if d.startswith("documents-window")
                 for n in os.listdir(session.path(d)) if n.startswith(".")]
    if leftovers:
        fail("a card file's temporary file was left behind: %s" % leftovers)
    print("vestrino ended with status 0 after " + how)


def session_bus_daemons():
    r = subprocess.run(["pgrep", "-f", "dbus-daemon.*--session"], capture_output=True, text=True)
    return set(r.stdout.split())


def main():
    build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    artifacts = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
    if artifacts:
        shutil.rmtree(artifacts, ignore_errors=True)
        os.makedirs(artifacts)
    session = Session(build, source, artifacts)
    daemons = session_bus_daemons()
    try:
        session.start_standin()
        refs = session.headless_references()
        session.start_xvfb()

        app = session.start_app(session.documents("documents-window"))
        wait_for(session, refs, "login")
        session.click(160, 201)
        session.type_text("mario.rossi")
        session.xdotool("key", "Tab")
        session.type_text("lumacard1")
        session.xdotool("key", "Return")
        wait_for(session, refs, "wallet")
        session.drag(280, 150, 40, 150, 0.3)
        wait_for(session, refs, "page2")
        session.click(160, 398)
        wait_for(session, refs, "statement")
        # "Grafico", the page pushed to its end, a month touched: its rows and their total.
        session.click(202, 246)
        time.sleep(1)
        session.drag(160, 420, 160, 60, 0.3)
        wait_for(session, refs, "chart")
        session.click(174, 300)
        wait_for(session, refs, "month")
        close_like_a_window_manager(session)
        expect_clean_exit(session, app, "the window manager's close (WM_DELETE_WINDOW)")

        # The keyboard alone, a typo mended in the middle of the user name.
        app = session.start_app(session.documents("documents-window-2"))
        wait_for(session, refs, "login")
        # Keys go to the window under the pointer (no window manager gives focus); the user
        # name has the focus at start.
        session.xdotool("mousemove", "--window", session.window, "160", "440")
        session.type_text("mario.rosi")
        session.xdotool("key", "--delay", "60", "Left", "Left")
        session.type_text("s")
        session.xdotool("key", "End")
        wait_for(session, refs, "login-name")
        session.xdotool("key", "Tab")
        session.type_text("lumacard1")
        session.xdotool("key", "Return")
        wait_for(session, refs, "wallet-by-keyboard")
        session.xdotool("key", "ctrl+q")
        expect_clean_exit(session, app, "Ctrl+Q")

        # No service: the connection alert is read whole, and Escape puts it away.
        app = session.start_app(session.documents("documents-window-3"), OFFLINE_HOST)
        wait_for(session, refs, "offline-login")  # no banner without the service
        session.log_in_by_keyboard()
        wait_for(session, refs, "offline-alert")
        session.xdotool("key", "Escape")
        wait_for(session, refs, "offline-dismissed")
        close_like_a_window_manager(session)
        expect_clean_exit(session, app, "the window manager's close, offline")

        # The keyboard alone through the application: the focus ring on a card, a button, a
        # toggle; a statement opened, exported, left; a card added.
        app = session.start_app(session.documents("documents-window-4"))
        wait_for(session, refs, "login")
        session.log_in_by_keyboard()
        wait_for(session, refs, "kb-wallet")
        session.xdotool("key", "Tab")
        wait_for(session, refs, "kb-card")
        session.xdotool("key", "Return")
        time.sleep(0.6)
        # The dialog opens with its field focused: the code, then Tab to "Conferma".
        session.type_text("739")
        session.xdotool("key", "Tab")
        wait_for(session, refs, "kb-save")
        session.xdotool("key", "Return")
        wait_for(session, refs, "kb-statement")
        # Indietro, then the search; "ric"; past "Grafico" to "Esporta".
        session.xdotool("key", "--delay", "60", "Tab", "Tab")
        session.type_text("ric")
        session.xdotool("key", "--delay", "60", "Tab", "Tab", "Return")
        time.sleep(0.6)
        # The format's choice: Return takes CSV.
        session.xdotool("key", "Return")
        wait_for(session, refs, "kb-export")
        # The alert answered, the focus is back on "Esporta"; the first toggle next.
        session.xdotool("key", "--delay", "60", "Return", "Tab")
        wait_for(session, refs, "kb-toggle")
        session.xdotool("key", "space")
        time.sleep(0.5)
        session.xdotool("key", "Escape")
        wait_for(session, refs, "kb-back")
        # The ring is on the card shown and follows the pages to the add page.
        for _ in range(4):
            session.xdotool("key", "Right")
            time.sleep(0.6)
        session.xdotool("key", "Return")
        time.sleep(0.6)
        # The editor starts in the name; Return in the last field saves.
        session.type_text("Spesa")
        session.xdotool("key", "Tab")
        session.type_text("5375123499990001")
        session.xdotool("key", "Tab")
        session.type_text("05/29")
        wait_for(session, refs, "kb-add")
        session.xdotool("key", "Return")
        wait_for(session, refs, "kb-added")
        session.xdotool("key", "ctrl+q")
        expect_clean_exit(session, app, "Ctrl+Q after the keyboard's tour")
        # Left alone after the login: the session locks itself, the login screen says why.
        app = session.start_app(session.documents("documents-window-5"), extra=LOCK_AFTER)
        wait_for(session, refs, "login")
        session.log_in_by_keyboard()
        wait_for(session, refs, "locked")
        session.xdotool("key", "ctrl+q")
        expect_clean_exit(session, app, "Ctrl+Q on the lock's alert")
        # A desktop in English: the login, a wrong password, the alert read and put away.
        app = session.start_app(session.documents("documents-window-6"), language=ENGLISH)
        wait_for(session, refs, "en-login")
        session.log_in_by_keyboard("sbagliata")
        wait_for(session, refs, "en-login-error")
        session.xdotool("key", "ctrl+q")
        expect_clean_exit(session, app, "Ctrl+Q in English")
        left = session_bus_daemons() - daemons
        if left:
            fail("a session bus daemon started during the runs outlived them: %s" % left)
    finally:
        session.close()
    print("a person's session in a real window: ok")


if __name__ == "__main__":
    main()
