#!/usr/bin/env python3
"""Imports font files with glyfora-cli and checks the result against fontTools' reading of them.

Usage: check_font_files.py GLYFORA_CLI SCRATCH_FOLDER

A variable font made by make_variable_font.py is imported at named instances and axis values; its
advances and kerning must be those of fontTools' instance of the font at that location. A face of
a collection other than the first must give that face's family and advances. Files and choices
the import cannot use must end it with status 1, naming what is wrong, and write nothing.
"""
import json
import math
import os
import subprocess
import sys

from fontTools.ttLib import TTCollection, TTFont
from fontTools.varLib import instancer

import make_variable_font

COLLECTION = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SIZE = 50

# (extra import arguments, design location or None for the default, expected "Face")
VARIABLE_CASES = [
    (["--instance", "Light"], {"wght": 300}, "Glyfora Variable Test Light"),
    (["--instance", "bold"], {"wght": 700}, "Glyfora Variable Test Bold"),
    (["--axis", "wght=650"], {"wght": 650}, "Glyfora Variable Test"),
    (["--instance", "Bold", "--axis", "wght=900"], {"wght": 900}, "Glyfora Variable Test Bold"),
    ([], None, "Glyfora Variable Test"),
]

# (arguments after --font-file, text the error must hold); VARIABLE stands for the variable font.
FAILING_CASES = [
    (["VARIABLE", "--instance", "Heavy"], "\"Heavy\""),
    (["VARIABLE", "--axis", "wdth=100"], "\"wdth\""),
    (["VARIABLE", "--axis", "wght=950"], "950"),
    (["VARIABLE", "--axis", "wght"], "\"wght\""),
    (["VARIABLE", "--face-index", "1"], "face index 1"),
    ([COLLECTION, "--face-index", "3"], "face index 3"),
    ([COLLECTION, "--instance", "Bold"], "not a variable font"),
    (["NOT_A_FONT"], "NOT_A_FONT"),
]


def round_half_away(value):
    return math.floor(value + 0.5) if value > 0 else math.ceil(value - 0.5)


def pixels(units, font):
    return round_half_away(units * SIZE / font["head"].unitsPerEm)


def import_info(cli, args, output):
    subprocess.run([cli, "import", "--size", str(SIZE), "--hint", "4", "-o", output] + args,
                   check=True, stdout=subprocess.DEVNULL)
    return json.loads(subprocess.run([cli, "info", output, "--json"], check=True,
                                     capture_output=True, text=True).stdout)


def expected_kerning(font):
    """{(left, right): pixels} of the font's single pair-positioning lookup."""
    pairs = {}
    cmap = {name: code for code, name in font.getBestCmap().items()}
    for subtable in font["GPOS"].table.LookupList.Lookup[0].SubTable:
        for first, pair_set in zip(subtable.Coverage.glyphs, subtable.PairSet):
            for record in pair_set.PairValueRecord:
                pairs[(cmap[first], cmap[record.SecondGlyph])] = pixels(record.Value1.XAdvance,
                                                                          font)
    return pairs


def check_face(info, font, face, file_name, failures, label):
    properties = info["properties"]
    if properties.get("Face") != face or properties.get("FontFile") != file_name:
        failures.append(f"{label}: Face {properties.get('Face')!r}, "
                        f"FontFile {properties.get('FontFile')!r}")
    cmap = font.getBestCmap()
    for character in info["characters"]:
        advance = pixels(font["hmtx"][cmap[character["index"]]][0], font)
        if character["outlay"][2] != advance:
            failures.append(f"{label}: advance of {character['code']} is "
                            f"{character['outlay'][2]}, not {advance}")


def check_variable(cli, path, scratch, failures, cases=VARIABLE_CASES):
    for args, location, face in cases:
        label = " ".join(args) or "default"
        info = import_info(cli, ["--font-file", path] + args, os.path.join(scratch, "v.tf"))
        font = TTFont(path)
        if location is not None:
            font = instancer.instantiateVariableFont(font, location)
        check_face(info, font, face, os.path.basename(path), failures, f"{path}: {label}")
        kerning = {(p["left"], p["right"]): p["amount"] for p in info["kerning"]}
        if kerning != expected_kerning(font):
            failures.append(f"{label}: kerning {kerning}, not {expected_kerning(font)}")


def check_web_fonts(cli, path, scratch, failures):
    """The same font as WOFF and WOFF2 gives the same instance (WOFF2 when fontTools has brotli)."""
    for flavor in ("woff", "woff2"):
        web = os.path.splitext(path)[0] + "." + flavor
        font = TTFont(path)
        font.flavor = flavor
        try:
            font.save(web)
        except ImportError:
            print(f"skipped: fontTools cannot write {flavor}")
            continue
        check_variable(cli, web, scratch, failures, VARIABLE_CASES[1:2])


def check_collection(cli, scratch, failures):
    collection = TTCollection(COLLECTION)
    for index in (1, 2):
        font = collection.fonts[index]
        name = font["name"]
        style = name.getDebugName(2)
        face = name.getDebugName(1) + ("" if style == "Regular" else " " + style)
        info = import_info(cli, ["--font-file", COLLECTION, "--face-index", str(index),
                                 "--chars", "32-126"], os.path.join(scratch, "c.tf"))
        check_face(info, font, face, os.path.basename(COLLECTION), failures, f"face {index}")


def check_failures(cli, variable, scratch, failures):
    not_a_font = os.path.join(scratch, "NOT_A_FONT.ttf")
    with open(not_a_font, "w", encoding="utf-8") as out:
        out.write("no font\n")
    for args, wanted in FAILING_CASES:
        args = [{"VARIABLE": variable, "NOT_A_FONT": not_a_font}.get(a, a) for a in args]
        output = os.path.join(scratch, "failed.tf")
        run = subprocess.run([cli, "import", "--size", str(SIZE), "-o", output, "--font-file"]
                             + args, capture_output=True, text=True)
        if run.returncode != 1 or wanted not in run.stderr or os.path.exists(output):
            failures.append(f"{args}: status {run.returncode}, {run.stderr.strip()!r}")


def main():
    cli, scratch = sys.argv[1], sys.argv[2]
    os.makedirs(scratch, exist_ok=True)
    variable = os.path.join(scratch, "GlyforaVariableTest.ttf")
    make_variable_font.build(variable)
    failures = []
    check_variable(cli, variable, scratch, failures)
    check_web_fonts(cli, variable, scratch, failures)
    if os.path.exists(COLLECTION):
        check_collection(cli, scratch, failures)
    else:
        print(f"skipped: {COLLECTION} is not installed")
    check_failures(cli, variable, scratch, failures)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
