#!/usr/bin/env python3
"""Imports fonts with glyfora-cli and checks the result against fontTools' reading of the fonts.

Usage: check_font_import.py GLYFORA_CLI SCRATCH_FOLDER

The line height must be the Windows line box (usWinAscent + usWinDescent plus the external
leading hhea leaves over), "Base" the rounded-up usWinAscent, every unhinted advance the design
advance scaled and rounded halves away from zero, and "Face" the family fontconfig matched. The
test font made by make_test_font.py is installed for the run through a private fontconfig file.
"""
import json
import math
import os
import subprocess
import sys

from fontTools.ttLib import TTFont

import make_test_font

# (family asked for, size, family expected in "Face", expected kerning pairs or None)
CASES = [
    ("Glyfora Metrics Test", 100, "Glyfora Metrics Test", [[65, 86, -10], [84, 86, -10], [86, 65, 0]]),
    ("glyfora metrics test", 7, "Glyfora Metrics Test", None),
    ("DejaVu Sans", 24, "DejaVu Sans", None),
    ("DejaVu Sans", 13, "DejaVu Sans", None),
    ("Nimbus Sans", 24, "Nimbus Sans", None),
    ("Nimbus Sans", 13, "Nimbus Sans", None),
]


def round_half_away(value):
    return math.floor(value + 0.5) if value > 0 else math.ceil(value - 0.5)


def font_file(family, env):
    out = subprocess.run(["fc-match", "-f", "%{family}\n%{file}", family], env=env,
                         capture_output=True, text=True, check=True).stdout.split("\n")
    return out[1] if family.lower() in out[0].lower().split(",") else None


def expected_metrics(font, size):
    """(line height, base) of the Windows line box, in pixels of an em of size pixels."""
    units = font["head"].unitsPerEm
    hhea = font["hhea"]
    os2 = font["OS/2"]
    win = os2.usWinAscent + os2.usWinDescent
    leading = max(0, hhea.lineGap - (win - (hhea.ascent - hhea.descent)))
    return (round_half_away((win + leading) * size / units),
            math.ceil(os2.usWinAscent * size / units))


def main():
    cli, scratch = sys.argv[1], sys.argv[2]
    fonts = os.path.join(scratch, "fonts")
    os.makedirs(fonts, exist_ok=True)
    make_test_font.build(os.path.join(fonts, "GlyforaMetricsTest.ttf"))
    config = os.path.join(scratch, "fonts.conf")
    with open(config, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0"?>\n<fontconfig>\n'
                  '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>\n'
                  f"  <dir>{fonts}</dir>\n  <cachedir>{scratch}/cache</cachedir>\n</fontconfig>\n")
    env = dict(os.environ, FONTCONFIG_FILE=config)

    failures = []
    checked = 0
    for family, size, face, pairs in CASES:
        path = font_file(family, env)
        if path is None:
            print(f"skipped: {family} is not installed")
            continue
        font = TTFont(path)
        output = os.path.join(scratch, f"{face.replace(' ', '')}{size}.tf")
        subprocess.run([cli, "import", "--family", family, "--size", str(size), "--hint", "4",
                        "-o", output], env=env, check=True)
        info = json.loads(subprocess.run([cli, "info", output, "--json"], env=env, check=True,
                                         capture_output=True, text=True).stdout)
        line, base = expected_metrics(font, size)
        cmap = font.getBestCmap()
        hmtx = font["hmtx"]
        units = font["head"].unitsPerEm
        label = f"{family} {size}"
        if info["properties"].get("Face") != face:
            failures.append(f"{label}: Face {info['properties'].get('Face')!r}, expected {face!r}")
        if info["properties"].get("Base") != str(base):
            failures.append(f"{label}: Base {info['properties'].get('Base')}, expected {base}")
        for character in info["characters"]:
            code = character["index"]
            advance = round_half_away(hmtx[cmap[code]][0] * size / units)
            if character["outlay"][2:] != [advance, line]:
                failures.append(f"{label}: code {code} advance and line height "
                                f"{character['outlay'][2:]}, expected {[advance, line]}")
        if pairs is not None:
            got = [[p["left"], p["right"], p["amount"]] for p in info["kerning"]]
            if sorted(got) != pairs:
                failures.append(f"{label}: kerning {sorted(got)}, expected {pairs}")
        checked += 1
    for failure in failures[:40]:
        print(failure)
    print(f"{checked} imports checked, {len(failures)} differences")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
