#!/usr/bin/env python3
"""Imports a font whose glyph is two overlapping contours as a distance field and checks its sign.

Usage: check_overlapping_distance_field.py GLYFORA_CLI SCRATCH_FOLDER

Variable fonts (and some CFF fonts) draw one shape with contours that overlap. A distance field
measured from the contours would see their inner edges; measured from the rasterised glyph it must
not. The "+" of the font made here is a horizontal and a vertical bar, each its own contour:
inside the overlap the field must be as far inside as the "+"'s own outline says, and everywhere it
must be inside (at least 128) exactly where the plain import has at least half coverage.
"""
import os
import struct
import subprocess
import sys
import zlib

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FAMILY = "Glyfora Overlap Test"
SIZE = 64  # pixels per em of 1000 units
SPREAD = 4
HORIZONTAL = (100, 300, 900, 500)  # x0, y0, x1, y1 in font units
VERTICAL = (400, 0, 600, 800)


def rectangle(pen, box):
    x0, y0, x1, y1 = box
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def build_font(path):
    plus = TTGlyphPen(None)
    rectangle(plus, HORIZONTAL)
    rectangle(plus, VERTICAL)
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder([".notdef", "plus"])
    builder.setupCharacterMap({0x2B: "plus"})
    builder.setupGlyf({".notdef": TTGlyphPen(None).glyph(), "plus": plus.glyph()})
    builder.setupHorizontalMetrics({".notdef": (500, 0), "plus": (1000, 100)})
    builder.setupHorizontalHeader(ascent=900, descent=-100)
    builder.setupNameTable({"familyName": FAMILY, "styleName": "Regular"})
    builder.setupOS2(usWinAscent=900, usWinDescent=100, sTypoAscender=900, sTypoDescender=-100)
    builder.setupPost()
    builder.save(path)


def read_png(path):
    """(width, height, rows of (r, g, b, a)) of an 8-bit grey + alpha or RGBA PNG."""
    with open(path, "rb") as png:
        data = png.read()
    position, idat, header = 8, b"", None
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        position += 12 + length
    width, height, depth, colour = header[0], header[1], header[2], header[3]
    assert depth == 8 and colour in (4, 6), header
    channels = 2 if colour == 4 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                best = min((abs(p - left), 0, left), (abs(p - up), 1, up),
                           (abs(p - corner), 2, corner))[2]
                line[i] = (line[i] + best) & 255
        previous = line
        pixels = []
        for x in range(width):
            values = line[x * channels:(x + 1) * channels]
            pixels.append((values[0],) * 3 + (values[1],) if channels == 2 else tuple(values))
        rows.append(pixels)
    return width, height, rows


def glyph_alphas(cli, env, scratch, name, extra):
    """The alpha of every pixel of the "+", by its place relative to the cursor."""
    tf = os.path.join(scratch, name + ".tf")
    fnt = os.path.join(scratch, name + ".fnt")
    subprocess.run([cli, "import", "--family", FAMILY, "--size", str(SIZE), "--chars", "0x2B",
                    "-o", tf] + extra, env=env, check=True, capture_output=True)
    subprocess.run([cli, "convert", tf, fnt, "--fnt", "text"], env=env, check=True,
                   capture_output=True)
    fields = {}
    page = None
    with open(fnt, encoding="utf-8") as descriptor:
        for line in descriptor:
            words = line.split()
            if words and words[0] == "page":
                page = line.split('file="')[1].split('"')[0]
            if words and words[0] == "char":
                fields = dict(word.split("=") for word in words[1:])
    _, _, rows = read_png(os.path.join(scratch, page))
    x, y = int(fields["x"]), int(fields["y"])
    dx, dy = int(fields["xoffset"]), int(fields["yoffset"])
    return {(px + dx, py + dy): rows[y + py][x + px][3]
            for py in range(int(fields["height"])) for px in range(int(fields["width"]))}


def main():
    cli, scratch = sys.argv[1], sys.argv[2]
    fonts = os.path.join(scratch, "overlap-fonts")
    os.makedirs(fonts, exist_ok=True)
    build_font(os.path.join(fonts, "GlyforaOverlapTest.ttf"))
    config = os.path.join(scratch, "overlap-fonts.conf")
    with open(config, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0"?>\n<fontconfig>\n'
                  '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>\n'
                  f"  <dir>{fonts}</dir>\n  <cachedir>{scratch}/cache</cachedir>\n</fontconfig>\n")
    env = dict(os.environ, FONTCONFIG_FILE=config)
    field = glyph_alphas(cli, env, scratch, "overlap-sdf", ["--sdf", str(SPREAD)])
    plain = glyph_alphas(cli, env, scratch, "overlap-plain", [])

    failures = []
    for place in set(field) | set(plain):
        inside = field.get(place, 0) >= 128
        if inside != (plain.get(place, 0) >= 128):
            failures.append(f"pixel {place}: field {field.get(place, 0)}, plain {plain.get(place, 0)}")
    # The overlap, in pixels relative to the cursor (the baseline 900 units below the top; pixel
    # centres on whole coordinates, as the import draws without a half-pixel offset). Its
    # corners are the concave corners of the "+", the only outside within the spread of it; a
    # field measured from the contours would see the bars' inner edges there too.
    scale = SIZE / 1000
    x0, x1 = VERTICAL[0] * scale, VERTICAL[2] * scale
    top, bottom = (900 - HORIZONTAL[3]) * scale, (900 - HORIZONTAL[1]) * scale
    corners = [(x0, top), (x1, top), (x0, bottom), (x1, bottom)]
    overlap = [(x, y) for (x, y) in field
               if x0 <= x <= x1 and top <= y <= bottom]
    if len(overlap) < 100:
        failures.append(f"only {len(overlap)} pixels found in the overlap")
    for x, y in overlap:
        distance = min(((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 for cx, cy in corners)
        expected = min(255, int(128 + 128 * distance / SPREAD))
        # Half a pixel for the edge the coverage of antialiased corner pixels stands for.
        if abs(field[(x, y)] - expected) > 128 * 0.5 / SPREAD:
            failures.append(f"overlap pixel {(x, y)}: field {field[(x, y)]}, not {expected}")
    print(f"{len(field)} field pixels, {len(overlap)} in the overlap, {len(failures)} failures")
    for failure in failures[:20]:
        print("  " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
