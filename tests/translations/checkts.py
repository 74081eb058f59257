#!/usr/bin/env python3
"""Fails when a translation is not ready to ship.

checkts.py --ts FILE.ts --lupdate LUPDATE --lrelease LRELEASE
           --cmake CMAKE --project-in PROJECT.cmake --project-script GENERATE.cmake

- every message has a finished translation (no type="unfinished", no empty
  text, one form per plural the language has);
- every translation keeps the source's place markers (%1, %2, %n), since a
  lost %1 shows a raw marker or drops a value on screen;
- lrelease finds nothing unfinished or untranslated;
- the file is up to date with the sources: lupdate, run over a copy with the
  project's own options, neither adds nor removes a message, and leaves the
  copy byte for byte as it was.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

# Forms per count for the languages we ship (German: one, other).
PLURAL_FORMS = {"de": 2}
MARKER = re.compile(r"%(?:n|L?n|\d+)")


def messages(ts_path):
    root = ET.parse(ts_path).getroot()
    found = {}
    for context in root.iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            key = (name, message.findtext("source") or "", message.findtext("comment") or "")
            found[key] = message
    return root.get("language", ""), found


def translation_problems(ts_path):
    language, found = messages(ts_path)
    forms_wanted = PLURAL_FORMS.get(language.split("_")[0])
    problems = []
    for (context, source, _), message in found.items():
        where = f"{context}: {source!r}"
        translation = message.find("translation")
        if translation is None:
            problems.append(f"{where}: no translation")
            continue
        kind = translation.get("type")
        if kind:
            problems.append(f"{where}: translation is {kind}")
        if message.get("numerus") == "yes":
            forms = [form.text or "" for form in translation.iter("numerusform")]
            if forms_wanted and len(forms) != forms_wanted:
                problems.append(f"{where}: {len(forms)} plural forms, {forms_wanted} wanted")
        else:
            forms = [translation.text or ""]
        wanted = sorted(set(MARKER.findall(source)))
        for form in forms:
            if not form.strip():
                problems.append(f"{where}: empty translation")
            elif sorted(set(MARKER.findall(form))) != wanted:
                problems.append(f"{where}: {form!r} does not keep the markers {wanted}")
    return problems


def lrelease_problems(args, scratch):
    run = subprocess.run(
        [args.lrelease, args.ts, "-qm", os.path.join(scratch, "check.qm")],
        capture_output=True, text=True)
    report = run.stdout + run.stderr
    problems = [] if run.returncode == 0 else [f"lrelease failed:\n{report}"]
    unfinished = re.search(r"(\d+) unfinished", report)
    if unfinished and int(unfinished.group(1)) > 0:
        problems.append(f"lrelease: {unfinished.group(0)}")
    untranslated = re.search(r"Ignored (\d+) untranslated", report)
    if untranslated and int(untranslated.group(1)) > 0:
        problems.append(f"lrelease: {untranslated.group(0)} source text(s)")
    return problems


def staleness_problems(args, scratch):
    copy = os.path.join(scratch, os.path.basename(args.ts))
    shutil.copyfile(args.ts, copy)
    project = os.path.join(scratch, "project.json")
    subprocess.run([args.cmake, f"-DIN_FILE={args.project_in}", f"-DOUT_FILE={project}",
                    "-P", args.project_script], check=True)
    with open(project, encoding="utf-8") as f:
        settings = json.load(f)
    settings["translations"] = [copy]
    with open(project, "w", encoding="utf-8") as f:
        json.dump(settings, f)
    subprocess.run([args.lupdate, "-project", project, *args.lupdate_options.split()],
                   check=True, capture_output=True)
    _, before = messages(args.ts)
    _, after = messages(copy)
    problems = [f"new in the sources, missing from {args.ts}: {k[0]}: {k[1]!r}"
                for k in sorted(after.keys() - before.keys())]
    problems += [f"no longer in the sources, still in {args.ts}: {k[0]}: {k[1]!r}"
                 for k in sorted(before.keys() - after.keys())]
    if not problems:
        with open(args.ts, "rb") as a, open(copy, "rb") as b:
            if a.read() != b.read():
                problems.append(f"{args.ts} is not as lupdate writes it")
    if problems:
        problems.append("run: cmake --build build --target update_translations")
    return problems


def main():
    parser = argparse.ArgumentParser()
    for option in ("ts", "lupdate", "lrelease", "cmake", "project-in", "project-script"):
        parser.add_argument(f"--{option}", required=True)
    parser.add_argument("--lupdate-options", default="")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as scratch:
        problems = translation_problems(args.ts)
        problems += lrelease_problems(args, scratch)
        problems += staleness_problems(args, scratch)
    for problem in problems:
        print(problem, file=sys.stderr)
    print(f"{args.ts}: {len(messages(args.ts)[1])} messages, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
