#!/usr/bin/env python3
"""The application in English, as a person meets it, against the stand-in (headless):

1. The language comes from --lang or the environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG),
   also where the asked locale is not installed: each case's login screen is in the language
   it should be.
2. The tour (scripts/tour.script, then the chart, a month and the lock's alert) in English:
   no text of the catalog is left in Italian on any screen, and every English text fits its
   frame (the snapshot's measured size against the frame; nothing cut or ended in "...").

Usage: english_tour.py BUILD_DIR SOURCE_DIR [ARTIFACTS_DIR]
"""
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from catalog_check import po_entries  # noqa: E402

EXTRA_SCRIPT = """\
wait 2.1
tap 160 201
type "mario.rossi"
key tab
type "lumacard1"
key return
idle 20
wait 1
drag 280 150 40 150 0.3
wait 1
tap 160 398
idle 20
wait 1
tap 202 246
wait 0.5
snapshot en-chart-top
drag 160 420 160 60 0.3
wait 2
snapshot en-chart
tap 174 300
wait 1
drag 160 150 160 420 0.3
wait 1
snapshot en-month
tap 40 246
type "nessuna riga"
key return
wait 0.5
snapshot en-empty
wait 4
snapshot en-locked
"""


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def start_standin(build, work):
    out_path = os.path.join(work, "standin.out")
    p = subprocess.Popen([os.path.join(build, "lumacard-standin"), "--listen", "127.0.0.1:0",
                          "--tls-dir", os.path.join(work, "tls")],
                         stdout=open(out_path, "w"), stderr=subprocess.STDOUT)
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        lines = open(out_path).read().splitlines()
        host = next((l[len("listening on https://"):] for l in lines
                     if l.startswith("listening on https://")), None)
        ca = next((l[len("ca file: "):] for l in lines if l.startswith("ca file: ")), None)
        if host and ca:
            return p, host, ca
        if p.poll() is not None:
            break
        time.sleep(0.1)
    fail("the stand-in did not start: " + open(out_path).read())


def run_app(build, source, work, host, ca, name, script_text, args=(), env=None):
    docs = os.path.join(work, "docs-" + name)
    os.makedirs(docs, mode=0o700)
    shutil.copy(os.path.join(source, "standin/data/demo-documents/mario.rossi_listaCarte"), docs)
    script = os.path.join(work, name + ".script")
    with open(script, "w") as f:
        f.write(script_text)
    out = os.path.join(work, "out-" + name)
    base = {k: v for k, v in os.environ.items()
            if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
    base["XDG_CONFIG_HOME"] = os.path.join(work, "config-" + name)
    r = subprocess.run([os.path.join(build, "vestrino"), "--host", host, "--cafile", ca,
                        "--reachability", "2", "--documents", docs, *args, "--headless",
                        "--script", script, "--out", out],
                       env=dict(base, **(env or {})), capture_output=True, text=True, timeout=120)
    if r.returncode != 0:
        fail("the headless run %s failed (%d): %s" % (name, r.returncode, r.stderr))
    return out


def nodes(tree):
    stack = [tree]
    while stack:
        n = stack.pop()
        yield n
        stack.extend(n.get("children", []))


def shown(node):
    return not node.get("hidden", False) and node.get("alpha", 1.0) > 0


def visible_nodes(tree):
    """The nodes whose whole chain of parents shows."""
    stack = [tree]
    while stack:
        n = stack.pop()
        if not shown(n):
            continue
        yield n
        stack.extend(n.get("children", []))


def main():
    build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    artifacts = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
    catalog = po_entries(os.path.join(source, "po/en.po"))
    italian = {}  # an Italian text of the catalog -> its English
    english = set()
    for msgid, (plural, msgstr, _) in catalog.items():
        for i, text in enumerate([msgid] + ([plural] if plural else [])):
            translated = msgstr[min(i, len(msgstr) - 1)].strip()
            if text.strip() and text.strip() != translated:
                italian[text.strip()] = translated
        english.update(s.strip() for s in msgstr if s.strip())
    work = tempfile.mkdtemp(prefix="english-tour-")
    standin = None
    try:
        standin, host, ca = start_standin(build, work)
        problems = []

        # 1. Which language, from where.
        cases = [
            ("--lang en", ["--lang", "en"], {"LANG": "it_IT.UTF-8"}, "Log in to Lumacard"),
            ("--lang it", ["--lang", "it"], {"LANGUAGE": "en"}, "Accedi a Lumacard"),
            ("LANG=en_GB.UTF-8, not installed", [], {"LANG": "en_GB.UTF-8"},
             "Log in to Lumacard"),
            ("LC_MESSAGES=en_US.UTF-8", [], {"LANG": "it_IT.UTF-8", "LC_MESSAGES": "en_US.UTF-8"},
             "Log in to Lumacard"),
            ("LANGUAGE=de:en", [], {"LANG": "de_DE.UTF-8", "LANGUAGE": "de:en"},
             "Log in to Lumacard"),
            ("LANGUAGE=en under LANG=C", [], {"LANG": "C", "LANGUAGE": "en"},
             "Accedi a Lumacard"),
            ("LANG=it_IT.UTF-8", [], {"LANG": "it_IT.UTF-8"}, "Accedi a Lumacard"),
            ("nothing set", [], {}, "Accedi a Lumacard"),
            ("LANG=C.UTF-8", [], {"LANG": "C.UTF-8"}, "Accedi a Lumacard"),
            ("LANG=POSIX", [], {"LANG": "POSIX"}, "Accedi a Lumacard"),
            ("LANG=fr_FR.UTF-8", [], {"LANG": "fr_FR.UTF-8"}, "Accedi a Lumacard"),
        ]
        for i, (what, args, env, title) in enumerate(cases):
            out = run_app(build, source, work, host, ca, "lang%d" % i, "wait 2.1\nsnapshot login\n",
                          args, env)
            tree = json.load(open(os.path.join(out, "login.json")))["window"]
            texts = [n.get("text") for n in nodes(tree)]
            if title not in texts:
                problems.append("%s: the login screen does not say %r" % (what, title))

        # 2. The tour in English.
        with open(os.path.join(source, "scripts/tour.script")) as f:
            tour = f.read()
        outs = [run_app(build, source, work, host, ca, "tour", tour, ["--lang", "en"]),
                run_app(build, source, work, host, ca, "extra", EXTRA_SCRIPT,
                        ["--lang", "en", "--lock-after", "3"])]
        snapshots = sorted(p for out in outs for p in glob.glob(os.path.join(out, "*.json")))
        if len(snapshots) < 19:
            problems.append("only %d snapshots of the English tour" % len(snapshots))
        checked = 0
        for path in snapshots:
            name = os.path.basename(path)[:-5]
            snap = json.load(open(path))
            alert = snap.get("alert") or {}
            for text in [alert.get("title"), alert.get("message")] + alert.get("buttons", []):
                for line in (text or "").split("\n"):
                    if line.strip() in italian:
                        problems.append("%s: the alert still reads %r" % (name, line))
            for n in visible_nodes(snap["window"]):
                for key in ("text", "title", "accessibleName"):
                    value = n.get(key)
                    if isinstance(value, str) and value.strip() in italian:
                        problems.append("%s: %s %r is Italian (%s)" %
                                        (name, n.get("class"), value, key))
                for key, value_key in (("textSize", "text"), ("titleSize", "title")):
                    if key not in n:
                        continue
                    value = n.get(value_key) or ""
                    if not any(line.strip() in english for line in value.split("\n")):
                        continue  # the service's text or a figure, not one of ours
                    checked += 1
                    width, height = n["frame"][2], n["frame"][3]
                    if n[key][0] > width + 0.5 or n[key][1] > height + 0.5:
                        problems.append("%s: %r is %gx%g in a %gx%g frame" %
                                        (name, value, n[key][0], n[key][1], width, height))
                    if "shownText" in n:
                        problems.append("%s: %r is cut to %r" % (name, value, n["shownText"]))
        if checked < 100:
            problems.append("only %d English texts were measured" % checked)
        if artifacts:
            shutil.rmtree(artifacts, ignore_errors=True)
            os.makedirs(artifacts)
            for out in outs:
                for png in glob.glob(os.path.join(out, "*.png")):
                    shutil.copy(png, artifacts)
        if problems:
            fail("\n".join(problems))
        print("English: %d language cases, %d snapshots, %d English texts measured: ok" %
              (len(cases), len(snapshots), checked))
    finally:
        if standin and standin.poll() is None:
            standin.terminate()
            standin.wait(10)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
