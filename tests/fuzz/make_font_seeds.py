#!/usr/bin/env python3
"""Writes the seed corpora of the font fuzzers into corpus/sfnt/, corpus/gpos/ and corpus/kern/.

The fonts come from the import tests' own font maker (fontTools), with a legacy kern table, an
Extension lookup and a font without OS/2 added, so that every reader starts from sound input.
Run it again after changing it and commit the result.
"""
import io
import os
import sys

from fontTools.ttLib import newTable
from fontTools.ttLib.tables._k_e_r_n import KernTable_format_0
from fontTools.ttLib.tables import otTables

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "import"))
import make_test_font  # noqa: E402


def font_bytes(font):
    out = io.BytesIO()
    font.save(out)
    return out.getvalue()


def load(path):
    from fontTools.ttLib import TTFont
    return TTFont(path)


def add_kern(font):
    subtable = KernTable_format_0()
    subtable.version, subtable.coverage, subtable.format = 0, 1, 0
    subtable.kernTable = {("A", "V"): -80, ("T", "A"): -60, ("V", "W"): 12}
    kern = newTable("kern")
    kern.version, kern.kernTables = 0, [subtable]
    font["kern"] = kern


def wrap_in_extension(font):
    for lookup in font["GPOS"].table.LookupList.Lookup:
        wrapped = []
        for subtable in lookup.SubTable:
            extension = otTables.ExtensionPos()
            extension.Format, extension.ExtSubTable = 1, subtable
            extension.ExtensionLookupType = lookup.LookupType
            wrapped.append(extension)
        lookup.SubTable, lookup.LookupType = wrapped, 9


def write(folder, name, data):
    os.makedirs(os.path.join(HERE, "corpus", folder), exist_ok=True)
    with open(os.path.join(HERE, "corpus", folder, name), "wb") as out:
        out.write(data)


def main():
    path = os.path.join(HERE, "corpus", "test.ttf")
    make_test_font.build(path)
    plain = load(path)
    os.remove(path)
    write("sfnt", "test.ttf", font_bytes(plain))
    write("gpos", "classes-and-pairs.bin", plain.getTableData("GPOS"))

    kerned = load(io.BytesIO(font_bytes(plain)))
    add_kern(kerned)
    wrap_in_extension(kerned)
    data = font_bytes(kerned)
    write("sfnt", "kern-and-extension.ttf", data)
    write("sfnt", "cut.ttf", data[: len(data) * 2 // 3])
    reloaded = load(io.BytesIO(data))
    write("gpos", "extension.bin", reloaded.getTableData("GPOS"))
    write("kern", "format0.bin", reloaded.getTableData("kern"))

    without = load(io.BytesIO(font_bytes(plain)))
    del without["OS/2"]
    write("sfnt", "no-os2.ttf", font_bytes(without))


if __name__ == "__main__":
    main()
