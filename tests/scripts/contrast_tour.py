#!/usr/bin/env python3
"""Every text of every screen is readable in both looks (WCAG 2.1 AA), as a person sees it.

The tour (scripts/tour.script) and a second walk (a statement's chart and month, the cash
machines found for a town, the information screen's look alert) run headless against the
stand-in with --theme light and --theme dark. For each snapshot, each text a view shows (a
label's, a button's title, a field's text or placeholder) is taken from the view tree with the
colour it is painted in, and set against what is painted under its middle before it: the
backgrounds of the views around and before it (blended by their alpha) and the pictures there
(the dark versions in the dark look, blended by their pixels' alpha). A text must stand
4.5 : 1 from it, 3 : 1 when large (24 points, or 18.66 bold). A failure names the snapshot,
the look and the text.

Usage: contrast_tour.py BUILD_DIR SOURCE_DIR [ARTIFACTS_DIR]
"""
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from english_tour import run_app, start_standin  # noqa: E402

SECOND_WALK = """\
wait 2.1
tap @usernameField
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
tap @graficoButton
wait 0.5
snapshot chart
drag 160 420 160 60 0.3
wait 2
snapshot chart-months
tap 174 300
wait 1
drag 160 150 160 420 0.3
wait 1
snapshot month
tap @esportaButton
wait 0.5
snapshot export-alert
key escape
wait 0.5
tap 175 455
wait 0.6
tap @aspettoButton
wait 0.5
snapshot appearance-alert
key escape
wait 0.5
tap @lumaspotButton
wait 0.6
tap @cercaCitta
type "Roma"
key return
idle 20
wait 1
snapshot lumaspot
"""


def png_pixels(path):
    """The pixels of a PNG, through ImageMagick as the real-window test reads its pictures:
    (width, height, rows of (r, g, b, a))."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                          text=True, check=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    raw = subprocess.run(["convert", path, "-depth", "8", "rgba:-"], capture_output=True,
                         check=True).stdout
    return width, height, [[tuple(raw[(y * width + x) * 4:(y * width + x) * 4 + 4])
                            for x in range(width)] for y in range(height)]


def luminance(rgb):
    def channel(c):
        c /= 255.0
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = rgb
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b)


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def parse_colour(rgba):
    return tuple(rgba[:3])


class Pictures:
    """The application's pictures as the look paints them: the dark version where there is one."""

    def __init__(self, source, look):
        base = os.path.join(source, "resources", "images")
        self.folders = ([os.path.join(base, "dark")] if look == "dark" else []) + [base]
        self.cache = {}

    def get(self, name):
        if name not in self.cache:
            self.cache[name] = None
            for folder in self.folders:
                path = os.path.join(folder, name)
                if os.path.isfile(path):
                    self.cache[name] = png_pixels(path)
                    break
        return self.cache[name]


def over(top, alpha, under):
    return tuple(round(top[i] * alpha + under[i] * (1 - alpha)) for i in range(3))


def painted(tree):
    """The views in the order they are painted, with the views around each (shown ones only)."""
    def walk(n):
        if n.get("hidden") or n.get("alpha", 1.0) <= 0:
            return
        yield n
        for c in n.get("children", []):
            yield from walk(c)
    return list(walk(tree))


def behind(order, index, point, pictures):
    """What is painted under `point` before the text of order[index] (its own background and
    picture included): backgrounds blended by their alpha, pictures by their pixels' alpha."""
    colour = (0, 0, 0)
    px, py = point
    for n in order[:index + 1]:
        x, y, w, h = n["windowFrame"]
        if not (x <= px < x + w and y <= py < y + h):
            continue
        bg = n.get("backgroundColor")
        if bg:
            colour = over(parse_colour(bg), bg[3] / 255.0, colour)
        image = n.get("image")
        picture = pictures.get(image) if isinstance(image, str) and image else None
        if picture:
            pw, ph, rows = picture
            ix = min(pw - 1, max(0, int((px - x) / w * pw)))
            iy = min(ph - 1, max(0, int((py - y) / h * ph)))
            r, g, b, a = rows[iy][ix]
            colour = over((r, g, b), a / 255.0, colour)
    return colour


def check_snapshot(json_path, look, pictures, problems):
    snap = json.load(open(json_path))
    name = os.path.basename(json_path)[:-5]
    if snap.get("appearance") != look:
        problems.append("%s (%s): the snapshot says it is %r" % (name, look, snap.get("appearance")))
    order = painted(snap["window"])
    checked = 0
    for i, n in enumerate(order):
        if "textColor" in n and (n.get("text") or n.get("placeholder")):
            text, colour = n.get("text") or n.get("placeholder"), n["textColor"]
        elif "titleColor" in n and n.get("title"):
            text, colour = n["title"], n["titleColor"]
        else:
            continue
        x, y, w, h = n["windowFrame"]
        wx, wy, ww, wh = order[0]["windowFrame"]
        if w <= 0 or h <= 0 or not (wx <= x + w / 2 < wx + ww and wy <= y + h / 2 < wy + wh):
            continue  # scrolled out of the window
        back = behind(order, i, (x + w / 2, y + h / 2), pictures)
        font = n.get("font") or ["Helvetica", 17]
        large = font[1] >= 24 or ("Bold" in font[0] and font[1] >= 18.66)
        minimum = 3.0 if large else 4.5
        front = parse_colour(colour)
        if colour[3] < 255:
            front = over(front, colour[3] / 255.0, back)
        ratio = contrast(front, back)
        checked += 1
        if ratio < minimum:
            problems.append("%s (%s): %s %r, #%02x%02x%02x on #%02x%02x%02x, is %.2f : 1 "
                            "(needs %.1f)" % (name, look, n.get("class"), text, *front, *back,
                                              ratio, minimum))
    return checked


def main():
    build, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    artifacts = os.path.abspath(sys.argv[3]) if len(sys.argv) > 3 else None
    work = tempfile.mkdtemp(prefix="contrast-tour-")
    standin = None
    problems = []
    try:
        standin, host, ca = start_standin(build, work)
        with open(os.path.join(source, "scripts/tour.script")) as f:
            tour = f.read()
        for look in ("light", "dark"):
            outs = [run_app(build, source, work, host, ca, "tour-" + look, tour,
                            ["--theme", look]),
                    run_app(build, source, work, host, ca, "walk-" + look, SECOND_WALK,
                            ["--theme", look])]
            snapshots = sorted(p for out in outs for p in glob.glob(os.path.join(out, "*.json")))
            if len(snapshots) < 20:
                problems.append("%s: only %d snapshots" % (look, len(snapshots)))
            pictures = Pictures(source, look)
            checked = sum(check_snapshot(p, look, pictures, problems) for p in snapshots)
            # Every screen's texts were found in the pictures, not skipped.
            if checked < 250:
                problems.append("%s: only %d texts were found in the pictures" % (look, checked))
            print("%s: %d snapshots, %d texts checked" % (look, len(snapshots), checked))
            if artifacts:
                for out in outs:
                    dest = os.path.join(artifacts, os.path.basename(out))
                    shutil.rmtree(dest, ignore_errors=True)
                    shutil.copytree(out, dest)
    finally:
        if standin:
            standin.terminate()
            standin.wait()
        shutil.rmtree(work, ignore_errors=True)
    for p in problems:
        print("FAIL: " + p, file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
