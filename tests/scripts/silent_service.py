#!/usr/bin/python3
"""A service that takes the connection and never answers: vestrino in a real X window (Xvfb)
must show its window while its banner requests are still waiting for that service, and end
with status 0 at the window manager's close, the requests still unanswered. Nothing here is
timed but the close, given far less than the network's limits: what is checked is that the
window and the close did not wait for the network.

    silent_service.py BUILD_DIR SOURCE_DIR
"""
import os
import socket
import subprocess
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import real_window as rw  # noqa: E402

# Well under the banner operation's limits (its connectivity check and its request).
CLOSE_SECONDS = 3


class SilentService:
    """Accepts on 127.0.0.1 and never writes a byte; counts the connections still open."""

    def __init__(self):
        self.socket = socket.socket()
        self.socket.bind(("127.0.0.1", 0))
        self.socket.listen(16)
        self.port = self.socket.getsockname()[1]
        self.connections = []
        threading.Thread(target=self.accept, daemon=True).start()

    def accept(self):
        while True:
            try:
                c, _ = self.socket.accept()
            except OSError:
                return
            self.connections.append(c)

    def waiting(self):
        """The connections the client has not given up (no end of file from it)."""
        open_ = 0
        for c in self.connections:
            c.setblocking(False)
            try:
                # What the client sent (its TLS hello) is read away: then an end of file says
                # it gave up, nothing more to read says it still waits.
                while c.recv(1 << 16):
                    pass
            except BlockingIOError:
                open_ += 1
            except OSError:
                pass
        return open_

    def close(self):
        self.socket.close()
        for c in self.connections:
            c.close()


def main():
    build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    service = SilentService()
    session = rw.Session(build, source, None)
    try:
        session.start_standin()  # for its CA file only: the application never reaches it
        session.start_xvfb()
        app = session.start_app(session.documents("documents"),
                                host="127.0.0.1:%d" % service.port)
        if service.waiting() < 1:
            rw.fail("the window came only after the banner requests had ended (%d connections, "
                    "none waiting)" % len(service.connections))
        rw.close_like_a_window_manager(session)
        # The banner operation allows its request seconds before it gives up: a close that
        # waited for the network would still be waiting long after this.
        try:
            app.wait(CLOSE_SECONDS)
        except subprocess.TimeoutExpired:
            rw.fail("the close waited for the service (still running after %d s)" %
                    CLOSE_SECONDS)
        rw.expect_clean_exit(session, app, "the window manager's close while the service "
                                           "never answers")
        print("silent service: the window and its close did not wait (%d connection(s))" %
              len(service.connections))
    finally:
        session.close()
        service.close()


if __name__ == "__main__":
    main()
