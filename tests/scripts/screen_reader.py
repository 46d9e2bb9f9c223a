#!/usr/bin/python3
"""A person with a screen reader: vestrino runs in a real X window (Xvfb) inside a session bus
with the desktop's accessibility bus and registry, and this script drives it through AT-SPI
alone (pyatspi, what Orca itself uses), never the mouse or keys: it finds the application,
reads the login screen (two named entries, the password one secure and telling its length
only, "Accedi"), reads a wrong password's alert as the event a screen reader receives, logs in
with the texts set through EditableText and "Accedi" pressed through Action, reads the cards by
name, pages the carousel, chooses the anonymous card, reads the CVV2 dialog and cancels it,
and opens the information screen. Then the program must quit cleanly.

    dbus-run-session -- screen_reader.py BUILD_DIR SOURCE_DIR
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from real_window import Session, fail  # noqa: E402

STEP_SECONDS = 20


def start_accessibility_bus(session):
    """The bus launcher of a desktop session, with accessibility switched on as the desktop's
    setting (or a screen reader) does."""
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stderr=open(session.path("launcher.log"), "w"))
    session.processes.append(launcher)
    deadline = time.monotonic() + STEP_SECONDS
    while time.monotonic() < deadline:
        r = subprocess.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus",
                            "--object-path", "/org/a11y/bus", "--method",
                            "org.freedesktop.DBus.Properties.Set", "org.a11y.Status",
                            "IsEnabled", "<true>"], capture_output=True, text=True)
        if r.returncode == 0:
            return
        time.sleep(0.1)
    fail("the accessibility bus did not start: " + open(session.path("launcher.log")).read())


class Reader:
    """What a screen reader has: the tree of the application, its events, its actions."""

    def __init__(self, pyatspi, pid):
        from gi.repository import GLib
        self.pyatspi, self.context = pyatspi, GLib.MainContext.default()
        self.events = []
        pyatspi.Registry.registerEventListener(self.events.append,
                                               "object:state-changed:showing",
                                               "object:state-changed:focused",
                                               "object:children-changed",
                                               "object:text-changed")
        self.app = self.wait("the application on the desktop", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == pid), None))

    def pump(self):
        while self.context.iteration(False):
            pass

    def wait(self, what, found, seconds=STEP_SECONDS):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            self.pump()
            try:
                value = found()
            except Exception:  # an object gone while a screen changed: look again
                value = None
            if value:
                return value
            time.sleep(0.05)
        fail("never came: " + what + "\n" + self.dump() + "\nEVENTS " + str([(e.type, e.detail1) for e in self.events]))

    def nodes(self, node=None):
        node = node or self.app
        yield node
        for child in node:
            if child is not None:
                yield from self.nodes(child)

    def find(self, role, name=None, showing=True):
        for n in self.nodes():
            if n.getRoleName() == role and (name is None or n.name == name) and (
                    not showing or n.getState().contains(self.pyatspi.STATE_SHOWING)):
                return n
        return None

    def need(self, role, name=None):
        return self.wait('%s "%s"' % (role, name), lambda: self.find(role, name))

    def alive(self, node, role):
        """Whether the node is still there with that role (the wait's alert has gone)."""
        try:
            return node.getRoleName() == role
        except Exception:
            return False

    def act(self, node, action):
        a = node.queryAction()
        names = [a.getName(i) for i in range(a.nActions)]
        if action not in names:
            fail('"%s" has no action %s (it has %s)' % (node.name, action, names))
        if not a.doAction(names.index(action)):
            fail('"%s" refused %s' % (node.name, action))

    def text(self, node):
        t = node.queryText()
        return t.getText(0, -1)

    def dump(self):
        lines = []
        try:
            for n in self.nodes():
                lines.append("%s %r" % (n.getRoleName(), n.name))
        except Exception as e:
            lines.append("(the tree changed while read: %s)" % e)
        return "\n".join(lines)


def main():
    build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        fail("run inside dbus-run-session")
    session = Session(build, source, None)
    try:
        session.start_standin()
        session.start_xvfb()
        start_accessibility_bus(session)
        import pyatspi
        env = dict(os.environ, DISPLAY=session.display, SDL_VIDEODRIVER="x11",
                   XDG_DOWNLOAD_DIR=session.path("downloads"))
        env.pop("WAYLAND_DISPLAY", None)
        app_err = open(session.path("app.err"), "w+")
        p = subprocess.Popen(session.app_command(session.documents("documents")), env=env,
                             stdout=subprocess.DEVNULL, stderr=app_err)
        session.processes.append(p)
        reader = Reader(pyatspi, p.pid)
        r = reader
        if r.app.name != "Vestrino" or r.app.getRoleName() != "application":
            fail("the application is %s %r" % (r.app.getRoleName(), r.app.name))

        # The login screen: two named entries, the password one secure, and "Accedi".
        user = r.need("entry", "Nome utente")
        password = r.need("password text", "Password")
        accedi = r.need("push button", "Accedi")
        frame = r.app[0]
        if frame.getRoleName() != "frame" or frame.name != "Vestrino \u2013 Accesso":
            fail("the window reads %s %r" % (frame.getRoleName(), frame.name))
        for field in (user, password):
            states = field.getState()
            if not (states.contains(pyatspi.STATE_EDITABLE) and
                    states.contains(pyatspi.STATE_FOCUSABLE)):
                fail('"%s" is not an editable, focusable field' % field.name)

        # A wrong password: the alert is read out as it shows, title and text.
        user.queryEditableText().setTextContents("mario.rossi")
        password.queryEditableText().setTextContents("sbagliata")
        if r.text(user) != "mario.rossi":
            fail("the user name field holds %r" % r.text(user))
        if r.text(password) != "\u2022" * 9 or password.queryText().characterCount != 9:
            fail("the password field tells %r: only its length may be told" % r.text(password))
        del r.events[:]
        r.act(accedi, "press")
        # The wait's alert ("Attendere") may come and go before its event is read: gone, it
        # has no name (the bus says there is no such object), and it is not the one to read.
        alert = r.wait("the alert's showing event", lambda: next(
            (e.source for e in r.events if e.type == "object:state-changed:showing" and
             e.detail1 == 1 and r.alive(e.source, "alert") and
             e.source.name not in ("Attendere", "")), None))
        heard = alert.name + ": " + alert.description
        if "Nome utente o password non corretti." not in heard:
            fail("the alert reads %r" % heard)
        if not alert.getState().contains(pyatspi.STATE_MODAL):
            fail("the alert is not modal")
        r.act(r.need("push button", "OK"), "press")
        r.wait("the alert to go", lambda: r.find("alert") is None)

        # The right password: typed events tell dots, never the password.
        del r.events[:]
        r.act(password, "activate")
        password.queryEditableText().deleteText(0, -1)
        r.wait("the password's deletion event", lambda: any(
            e.type.startswith("object:text-changed:delete") for e in r.events))
        password.queryEditableText().setTextContents("lumacard1")
        inserted = r.wait("the password's insertion event", lambda: next(
            (e for e in r.events if e.type.startswith("object:text-changed:insert")), None))
        if inserted.any_data != "\u2022" * 9:
            fail("typing the password was told as %r" % inserted.any_data)
        r.act(accedi, "press")

        # The wallet: the cards read by name, paged, the anonymous one chosen.
        carousel = r.need("page tab list", "Carte")
        r.wait("the wallet's name", lambda: frame.name == "Vestrino \u2013 Carte")
        # The cards come with the card list, after the wallet has shown its wait.
        expected = ("Carta regalo, Lumacard Anonima che termina con 1117",
                    "Lumacard Standard che termina con 5670")
        pages = lambda: [c.name for c in carousel if c.getRoleName() == "page tab"]
        r.wait("the card pages %s" % (expected,), lambda: all(e in pages() for e in expected))
        selected = lambda: next((c.name for c in carousel if c.getRoleName() == "page tab" and
                                 c.getState().contains(pyatspi.STATE_SELECTED)), None)
        first = r.wait("a page in view", selected)
        r.act(carousel, "next page")
        r.wait("the next page in view", lambda: selected() not in (None, first))
        r.act(carousel, "previous page")
        r.wait("the first page back", lambda: selected() == first)
        if "1117" not in first:
            fail("the first page is %r, not the anonymous card" % first)
        r.act(r.need("push button", "Scegli questa carta"), "press")

        # The CVV2 dialog: read, then cancelled.
        dialog = r.need("dialog", "Codice di sicurezza")
        if not dialog.getState().contains(pyatspi.STATE_MODAL):
            fail("the CVV2 dialog is not modal")
        code = r.need("password text", "Codice di sicurezza")
        labels = [n.name for n in r.nodes(dialog) if n.getRoleName() == "label"]
        if not any("CVV2" in l for l in labels):
            fail("the dialog's text is not there to read: %s" % labels)
        relations = code.getRelationSet()
        if not any(rel.getRelationType() == pyatspi.RELATION_LABELLED_BY and
                   rel.getTarget(0).name == "Codice di sicurezza" for rel in relations):
            fail("the code's field is not labelled by the dialog's title")
        r.act(r.need("push button", "Annulla"), "press")
        r.wait("the dialog to go", lambda: r.find("dialog") is None)

        # The information screen, from the toolbar.
        r.act(r.need("push button", "Informazioni"), "press")
        r.wait("the information screen", lambda: frame.name == "Vestrino \u2013 Informazioni")
        switch = r.need("toggle button", "Nascondi importi")
        if not switch.getState().contains(pyatspi.STATE_CHECKABLE):
            fail("the switch is not checkable")

        p.send_signal(15)
        try:
            code = p.wait(STEP_SECONDS)
        except subprocess.TimeoutExpired:
            fail("vestrino did not end after SIGTERM")
        app_err.seek(0)
        if code != 0:
            fail("vestrino ended with %d: %s" % (code, app_err.read()))
        print("screen reader session passed")
    finally:
        session.close()


if __name__ == "__main__":
    main()
