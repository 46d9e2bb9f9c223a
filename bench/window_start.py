#!/usr/bin/python3
"""The window's start and memory, as a person meets them: vestrino in an X server (Xvfb, SDL's
x11 driver) against the stand-in. For each run: the time from starting the process to its first
frame on the screen (the program logs the moment with VESTRINO_LOG_FIRST_FRAME, on the clock
this script reads), and the resident memory on the login screen once the splash is over. The
headless program's memory on the same screen beside it. With --portal the desktop has a session
bus with a settings portal that says dark (a stand-in, version 1): the look is read on the
way, so the first frame can be compared with and without it. Run from the source folder after a
build: bench/window_start.py [--portal] [RUNS]
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "scripts"))
import real_window as rw  # noqa: E402  (the session helpers of the real-window test)
import desktop_appearance as da  # noqa: E402  (the private bus and the stand-in portal)


def rss_mb(pid):
    for line in open("/proc/%d/status" % pid):
        if line.startswith("VmRSS:"):
            return int(line.split()[1]) / 1024
    return float("nan")


def main():
    args = [a for a in sys.argv[1:] if a != "--portal"]
    portal = "--portal" in sys.argv[1:]
    runs = int(args[0]) if args else 10
    s = rw.Session(os.path.abspath("build"), os.path.abspath("."), None)
    firsts, memories, looks = [], [], []
    bus_env = {}
    try:
        if portal:
            bus, address = da.start_bus(s.work)
            s.processes.append(bus)
            s.processes.append(da.start_portal(address, s.work, "portal",
                                               ["--version", "1", "--scheme", "1"]))
            bus_env = {"DBUS_SESSION_BUS_ADDRESS": address}
        s.start_standin()
        s.start_xvfb()
        for i in range(runs):
            env = dict(s.env(), VESTRINO_LOG_FIRST_FRAME="1", **bus_env)
            err = open(s.path("start-%d.err" % i), "w+")
            started = time.monotonic()
            p = subprocess.Popen(s.app_command(s.documents("docs-%d" % i)), env=env,
                                 stdout=subprocess.DEVNULL, stderr=err)
            line = ""
            while time.monotonic() - started < 20 and "first frame" not in line:
                time.sleep(0.005)
                err.seek(0)
                line = err.read()
            at = float(line.split("monotonic ")[1].split(" s")[0])
            firsts.append((at - started) * 1000)
            looks.append("dark" if ", dark)" in line else "light")
            time.sleep(2.5)  # the splash is over: the login screen
            memories.append(rss_mb(p.pid))
            p.terminate()
            p.wait(10)
        script = s.path("login.script")
        with open(script, "w") as f:
            f.write("wait 2\n")
        headless = subprocess.Popen(s.app_command(s.documents("docs-headless")) +
                                    ["--headless", "--script", script, "--out", s.path("out")])
        _, status, usage = os.wait4(headless.pid, 0)
        headless_mb = usage.ru_maxrss / 1024
    finally:
        s.close()
    firsts.sort()
    memories.sort()
    print("window (Xvfb, x11), %d runs%s" % (runs, ", a settings portal on the session bus"
                                             if portal else ", no session bus"))
    print("  process start to first frame: median %.1f ms (%.1f to %.1f)" %
          (firsts[len(firsts) // 2], firsts[0], firsts[-1]))
    print("  the first frame's look: %d dark, %d light" % (looks.count("dark"),
                                                          looks.count("light")))
    print("  resident memory on the login screen: median %.1f MB (%.1f to %.1f)" %
          (memories[len(memories) // 2], memories[0], memories[-1]))
    print("headless, the login screen: peak resident memory %.1f MB" % headless_mb)


if __name__ == "__main__":
    main()
