#!/usr/bin/env python3
"""Builds the small TrueType font the import tests read, with fontTools.

Its numbers are chosen to show the import's rules: the Windows line box is taller than hhea's and
adds external leading, the advance of "A" is an exact half pixel at 100 pixels, and the kern
feature has a class subtable that covers "A" and "T" before a subtable that would kern "A W".
"""
import sys

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FAMILY = "Glyfora Metrics Test"
UNITS_PER_EM = 1000
WIN_ASCENT, WIN_DESCENT = 1100, 300
HHEA_ASCENT, HHEA_DESCENT, HHEA_LINE_GAP = 800, -200, 500
ADVANCES = {".notdef": 500, "space": 250, "A": 355, "T": 500, "V": 610, "W": 730}
CODES = {0x20: "space", 0x41: "A", 0x54: "T", 0x56: "V", 0x57: "W"}
FEATURES = """
languagesystem DFLT dflt;
feature kern {
    pos [A T] [V] -100;
    subtable;
    pos [A] [W] -200;
    pos V A -4;
} kern;
"""


def box(width):
    pen = TTGlyphPen(None)
    if width > 300:
        pen.moveTo((50, 0))
        pen.lineTo((50, 700))
        pen.lineTo((width - 50, 700))
        pen.lineTo((width - 50, 0))
        pen.closePath()
    return pen.glyph()


def build(path, family=FAMILY):
    names = list(ADVANCES)
    builder = FontBuilder(UNITS_PER_EM, isTTF=True)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap(CODES)
    builder.setupGlyf({name: box(ADVANCES[name]) for name in names})
    builder.setupHorizontalMetrics({name: (ADVANCES[name], 50) for name in names})
    builder.setupHorizontalHeader(ascent=HHEA_ASCENT, descent=HHEA_DESCENT,
                                  lineGap=HHEA_LINE_GAP)
    builder.setupNameTable({"familyName": family, "styleName": "Regular"})
    builder.setupOS2(usWinAscent=WIN_ASCENT, usWinDescent=WIN_DESCENT, sTypoAscender=800,
                     sTypoDescender=-200, sTypoLineGap=0, usWeightClass=400)
    builder.setupPost()
    addOpenTypeFeaturesFromString(builder.font, FEATURES)
    builder.save(path)


if __name__ == "__main__":
    build(sys.argv[1])
