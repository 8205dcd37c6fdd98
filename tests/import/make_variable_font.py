#!/usr/bin/env python3
"""Builds a small variable TrueType font with fontTools for the import's font-file tests.

One axis, wght from 100 to 900 (default 400), with the named instances "Light" (300) and
"Bold" (700). The glyphs widen with the weight, and the kerning of "A V" and "V A" varies with it,
so an import at an instance shows whether outlines, advances and kerning follow the axis.
"""
import sys

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.fontBuilder import FontBuilder

from make_test_font import box

FAMILY = "Glyfora Variable Test"
UNITS_PER_EM = 1000
ADVANCES = {".notdef": 500, "space": 250, "A": 600, "V": 600}
CODES = {0x20: "space", 0x41: "A", 0x56: "V"}
# At wght 900 each ink glyph is this much wider; its right side moves with its advance.
WIDENING = 300
FEATURES = """
languagesystem DFLT dflt;
feature kern {
    pos A V (wght=100:-40 wght=400:-100 wght=900:-200);
    pos V A (wght=100:-10 wght=400:-50 wght=900:-250);
} kern;
"""
INSTANCES = [("Light", 300), ("Bold", 700)]


def widened(name):
    """gvar deltas of name at wght 900: the right contour points and the advance move right."""
    width = ADVANCES[name]
    if width <= 300:
        return [(0, 0)] * 4
    # Points: the box's four corners, then the four phantom points (left, right, top, bottom).
    return [(0, 0), (0, 0), (WIDENING, 0), (WIDENING, 0), (0, 0), (WIDENING, 0), (0, 0), (0, 0)]


def build(path):
    from fontTools.ttLib.tables.TupleVariation import TupleVariation

    names = list(ADVANCES)
    builder = FontBuilder(UNITS_PER_EM, isTTF=True)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap(CODES)
    builder.setupGlyf({name: box(ADVANCES[name]) for name in names})
    builder.setupHorizontalMetrics({name: (ADVANCES[name], 50) for name in names})
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupNameTable({"familyName": FAMILY, "styleName": "Regular"})
    builder.setupOS2(sTypoAscender=800, sTypoDescender=-200, usWinAscent=800, usWinDescent=200)
    builder.setupPost()
    builder.setupFvar([("wght", 100, 400, 900, "Weight")],
                      [{"stylename": name, "location": {"wght": value}}
                       for name, value in INSTANCES])
    variations = {}
    for name in names:
        deltas = widened(name)
        if any(delta != (0, 0) for delta in deltas):
            variations[name] = [TupleVariation({"wght": (0.0, 1.0, 1.0)}, deltas)]
    builder.setupGvar(variations)
    addOpenTypeFeaturesFromString(builder.font, FEATURES)
    builder.save(path)


if __name__ == "__main__":
    build(sys.argv[1])
