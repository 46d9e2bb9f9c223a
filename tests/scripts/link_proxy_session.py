#!/usr/bin/python3
"""The application headless through a bad link (tests/scripts/link_proxy.py between it and the
stand-in), as a person on a train meets it:
  1. every chunk 300 ms late each way: the login, the wallet and a card's statement still come
     (and the offline copy is written);
  2. every connection's replies cut after a few kilobytes: the short replies come, the statement
     is refused whole (the wallet stays, with the statement's alert), nothing half read shown;
  3. connections taken and never answered: the login gives up at its limits and the wallet opens
     from the copy, dated "Senza connessione: dati del …".
Each run must end with status 0.

    link_proxy_session.py BUILD_DIR SOURCE_DIR
"""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import real_window as rw  # noqa: E402

SCRIPT = """\
wait 2.1
type "mario.rossi"
key tab
type "lumacard1"
key return
idle 40
wait 1
snapshot after-login
key right
wait 0.5
tap 160 398
idle 40
wait 1
snapshot after-choice
"""


def proxy(s, *options):
    p = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__), "link_proxy.py"),
                          s.host, "--seconds", "150", *options], stdout=subprocess.PIPE, text=True)
    s.processes.append(p)
    line = p.stdout.readline()
    if not line.startswith("listening on "):
        rw.fail("the proxy did not start: " + line)
    return line.split("listening on ")[1].strip()


def visible(out, name):
    with open(os.path.join(out, name + ".json")) as f:
        doc = json.load(f)
    texts = []

    def walk(n):
        if n.get("name") == "ageLabel" and not n.get("hidden"):
            texts.append(n.get("text", ""))
        for c in n.get("children", []):
            walk(c)
    walk(doc.get("window", doc))
    return doc["visible"], (texts[0] if texts else ""), doc.get("alert")


def run(s, host, documents, name):
    script = s.path(name + ".script")
    with open(script, "w") as f:
        f.write(SCRIPT)
    out = s.path("out-" + name)
    r = subprocess.run(s.app_command(documents, host) +
                       ["--headless", "--physical-keyboard", "--script", script, "--out", out],
                       capture_output=True, text=True, timeout=200, env=s.app_env())
    if r.returncode != 0:
        rw.fail("%s: status %d: %s" % (name, r.returncode, r.stderr))
    return out


def main():
    s = rw.Session(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), None)
    try:
        s.start_standin()
        documents = s.documents("docs")

        out = run(s, proxy(s, "--latency", "300"), documents, "slow")
        screen, age, alert = visible(out, "after-choice")
        if screen != "TransazioniViewController" or not age.startswith("Dati del "):
            rw.fail("slow link: %s, %r, alert %r" % (screen, age, alert))
        if not os.path.exists(os.path.join(documents, "mario.rossi_offline")):
            rw.fail("slow link: no offline copy written")
        print("slow link: the statement came, %r" % age)

        # The login's and the card list's replies are short and come whole; a statement's is
        # longer than what a connection is let through.
        out = run(s, proxy(s, "--cut-after", "3000"), documents, "cut")
        screen, age, alert = visible(out, "after-choice")
        if screen != "CarteViewController" or not alert or alert.get("title") != "Errore":
            rw.fail("cut replies: %s, %r, alert %r" % (screen, age, alert))
        print("cut replies: the statement refused whole, %r" % alert.get("message"))

        out = run(s, proxy(s, "--blackhole"), documents, "silent")
        screen, age, alert = visible(out, "after-login")
        if screen != "CarteViewController" or not age.startswith("Senza connessione: dati del "):
            rw.fail("silent link: %s, %r, alert %r" % (screen, age, alert))
        screen, age, _ = visible(out, "after-choice")
        if screen != "TransazioniViewController" or not age.startswith("Senza connessione"):
            rw.fail("silent link, the statement: %s, %r" % (screen, age))
        print("silent link: offline from the copy, %r" % age)
    finally:
        s.close()
    print("PASS")


if __name__ == "__main__":
    main()
