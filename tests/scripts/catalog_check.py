#!/usr/bin/env python3
"""The English catalog against the texts of the application: every text the code marks for
translation (xgettext over the sources: tr, trn, N_) and every text of the layouts (a label's
text, a title, a placeholder, a name for assistive technology) must be in po/en.po, translated,
and not fuzzy; a plural must have both forms. With --template FILE it writes what it found as a
.pot instead (to update the catalog with msgmerge).

Usage: catalog_check.py SOURCE_TREE [--template FILE]
"""
import glob
import json
import os
import subprocess
import sys
import tempfile

LAYOUT_KEYS = ("text", "title", "placeholder", "accessibilityLabel")
# Texts of the layouts that are the same in every language: the product's names and the
# figures a layout shows before the screen fills them in.
SAME_EVERYWHERE = {"Lumacard", "Vestrino", "**** **** ****", "CVV2", "Password", "Lumaspot",
                   "1 km", "5 km", "20 km", "5 min"}


def po_entries(path):
    """msgid -> (msgid_plural, [msgstr...], fuzzy) from a .po or .pot file."""
    entries, current, key, fuzzy = {}, None, None, False

    def unquote(s):
        return json.loads(s)

    def finish():
        if current is not None and current.get("msgid", "") != "":
            entries[current["msgid"]] = (current.get("msgid_plural"),
                                         current.get("msgstr", []), current.get("fuzzy", False))

    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("#,") and "fuzzy" in line:
                fuzzy = True
                continue
            if line.startswith("#") or not line.strip():
                continue
            if line.startswith("msgid "):
                finish()
                current = {"msgid": unquote(line[6:]), "fuzzy": fuzzy}
                fuzzy = False
                key = "msgid"
            elif line.startswith("msgid_plural "):
                current["msgid_plural"] = unquote(line[13:])
                key = "msgid_plural"
            elif line.startswith("msgstr["):
                current.setdefault("msgstr", []).append(unquote(line[line.index(" ") + 1:]))
                key = "msgstr"
            elif line.startswith("msgstr "):
                current["msgstr"] = [unquote(line[7:])]
                key = "msgstr"
            elif line.startswith('"'):
                if key == "msgstr":
                    current["msgstr"][-1] += unquote(line)
                else:
                    current[key] += unquote(line)
        finish()
    return entries


def layout_texts(tree):
    found = {}
    for path in sorted(glob.glob(os.path.join(tree, "resources/layouts/*.json"))):
        def walk(node):
            if isinstance(node, dict):
                for k in LAYOUT_KEYS:
                    v = node.get(k)
                    if isinstance(v, str) and v and v not in SAME_EVERYWHERE:
                        found.setdefault(v, os.path.relpath(path, tree))
                for v in node.values():
                    walk(v)
            elif isinstance(node, list):
                for v in node:
                    walk(v)
        with open(path, encoding="utf-8") as f:
            walk(json.load(f))
    return found


def source_texts(tree, pot):
    sources = sorted(glob.glob(os.path.join(tree, "src/**/*.cpp"), recursive=True) +
                     glob.glob(os.path.join(tree, "src/**/*.h"), recursive=True))
    subprocess.run(["xgettext", "--from-code=UTF-8", "--language=C++", "--keyword=tr",
                    "--keyword=trn:1,2", "--keyword=N_", "--no-wrap", "--sort-output",
                    "--package-name=vestrino", "-o", pot] + sources, check=True,
                   env=dict(os.environ, LC_ALL="C.UTF-8"))
    return po_entries(pot) if os.path.exists(pot) else {}


def main():
    tree = os.path.abspath(sys.argv[1])
    template = sys.argv[sys.argv.index("--template") + 1] if "--template" in sys.argv else None
    with tempfile.TemporaryDirectory() as tmp:
        code = source_texts(tree, os.path.join(tmp, "code.pot"))
    layouts = layout_texts(tree)
    wanted = {k: v[0] for k, v in code.items()}
    for text in layouts:
        wanted.setdefault(text, None)
    if template:
        with open(template, "w", encoding="utf-8") as f:
            f.write('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n\n')
            for msgid, plural in sorted(wanted.items()):
                f.write("msgid %s\n" % json.dumps(msgid, ensure_ascii=False))
                if plural is not None:
                    f.write("msgid_plural %s\n" % json.dumps(plural, ensure_ascii=False))
                    f.write('msgstr[0] ""\nmsgstr[1] ""\n\n')
                else:
                    f.write('msgstr ""\n\n')
        print("%d texts written to %s" % (len(wanted), template))
        return
    catalog = po_entries(os.path.join(tree, "po/en.po"))
    problems = []
    for msgid, plural in sorted(wanted.items()):
        where = layouts.get(msgid, "the code")
        entry = catalog.get(msgid)
        if entry is None:
            problems.append("not in po/en.po (%s): %s" % (where, json.dumps(msgid, ensure_ascii=False)))
            continue
        cat_plural, msgstr, fuzzy = entry
        if fuzzy:
            problems.append("fuzzy in po/en.po: %s" % json.dumps(msgid, ensure_ascii=False))
        if (plural is None) != (cat_plural is None):
            problems.append("singular/plural mismatch: %s" % json.dumps(msgid, ensure_ascii=False))
        if not msgstr or any(not s for s in msgstr) or (plural is not None and len(msgstr) != 2):
            problems.append("untranslated: %s" % json.dumps(msgid, ensure_ascii=False))
    unused = sorted(set(catalog) - set(wanted))
    for msgid in unused:
        problems.append("in po/en.po but used nowhere: %s" % json.dumps(msgid, ensure_ascii=False))
    if problems:
        print("\n".join(problems))
        print("%d problems in the catalog (%d texts wanted, %d in po/en.po)" %
              (len(problems), len(wanted), len(catalog)))
        sys.exit(1)
    print("po/en.po translates all %d texts (%d from the code, %d from the layouts)" %
          (len(wanted), len(code), len(layouts)))


if __name__ == "__main__":
    main()
