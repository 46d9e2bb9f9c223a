#!/usr/bin/python3
"""The window through a slow link, as a person meets it: vestrino in an X server (Xvfb) against
the stand-in with every reply held back 300 ms (its --fault '*:delay=300'). A tour by keyboard
and pointer (the launch with its banners, the login, the card list, a card's statement, back,
"Esci", Ctrl+Q), then the longest the main thread spent on one turn of its loop (the program
logs it with VESTRINO_LOG_LOOP). Beside it, the time from process start to the first frame on
the screen of the application and of a bare SDL window (build/bench/bare_window), medians of
RUNS. Run from the source folder after a build: bench/slow_link.py [RUNS]
"""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "scripts"))
import real_window as rw  # noqa: E402


def first_frame_ms(command, env, err_path):
    err = open(err_path, "w+")
    started = time.monotonic()
    p = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=err)
    line = ""
    while time.monotonic() - started < 20 and "first frame" not in line:
        time.sleep(0.002)
        err.seek(0)
        line = err.read()
    at = float(line.split("monotonic ")[1].split(" s")[0])
    p.terminate()
    p.wait(10)
    return (at - started) * 1000


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 10
    s = rw.Session(os.path.abspath("build"), os.path.abspath("."), None)
    try:
        s.start_standin(faults=["*:delay=300"])
        s.start_xvfb()
        env = dict(s.env(), VESTRINO_LOG_FIRST_FRAME="1", VESTRINO_LOG_LOOP="1")
        app, bare = [], []
        for i in range(runs):
            app.append(first_frame_ms(s.app_command(s.documents("docs-%d" % i)), env,
                                      s.path("app-%d.err" % i)))
            bare.append(first_frame_ms([os.path.join(s.build, "bench", "bare_window")], env,
                                       s.path("bare-%d.err" % i)))
        os.environ.update(VESTRINO_LOG_LOOP="1")
        p = s.start_app(s.documents("docs-tour"), extra=["--physical-keyboard"])
        time.sleep(4)  # the splash's banner, 300 ms late, and the login's
        s.log_in_by_keyboard()
        time.sleep(4)  # the login and the card list, 300 ms each, and the key's derivation
        s.xdotool("mousemove", "--window", s.window, "160", "300")
        s.xdotool("key", "Right")
        time.sleep(1)
        s.click(160, 398)  # "Scegli questa carta": the card's statement
        time.sleep(3)
        s.xdotool("key", "Escape")  # back to the wallet
        time.sleep(1.5)
        s.click(119, 456)  # "Esci"
        time.sleep(1.5)
        s.xdotool("key", "ctrl+q")
        code = p.wait(15)
        s.app_err.seek(0)
        err = s.app_err.read()
        turn = [l for l in err.splitlines() if l.startswith("longest loop turn")]
    finally:
        s.close()
    print("through a 300 ms link: %s (status %d)" % (turn[0] if turn else "no turn logged", code))
    a, b = statistics.median(app), statistics.median(bare)
    print("process start to first frame: application %.0f ms (%.0f to %.0f), bare SDL window "
          "%.0f ms (%.0f to %.0f): %.2f x" % (a, min(app), max(app), b, min(bare), max(bare),
                                              a / b))


if __name__ == "__main__":
    main()
