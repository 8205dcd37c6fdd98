#!/usr/bin/env python3
"""Writes the seed corpus of the ".tf" fuzzer into corpus/tf/.

Written independently of the C++ writer (struct, zlib), so the seeds also hold files that the
writer never makes: chunks out of order, repeated or reserved chunks, grey and palette pictures,
damaged and cut-off files. Run it again after changing it and commit the result.
"""
import os
import struct
import zlib

MAGIC = bytes([0x54, 0x83, 0x7C, 0x31, 0x2E, 0x34, 0x30, 0x7C])


def chunk(chunk_type, body=b""):
    payload = struct.pack("<i", chunk_type) + body
    return struct.pack("<iI", len(payload), zlib.crc32(payload)) + payload


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, colour_type, rows, extra=b""):
    """rows: raw bytes of each row without the filter byte; 8 bits per sample."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra +
            png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b""))


def characters(records):
    body = struct.pack("<i", len(records))
    for code, *metrics in records:
        body += struct.pack("<H8h", code, *metrics)
    return chunk(2, body)


def pairs(records):
    return chunk(3, struct.pack("<i", len(records)) +
                 b"".join(struct.pack("<HHh", *record) for record in records))


def properties(entries):
    body = struct.pack("<i", len(entries))
    for key, value in entries:
        body += key.encode() + b"\0" + value.encode() + b"\0"
    return chunk(4, body)


END = chunk(0)

rgba = png(4, 3, 6, [bytes(v for x in range(4) for v in (x * 60, y * 80, 200, (x + y) * 40))
                     for y in range(3)])
grey = png(3, 2, 0, [bytes((0, 128, 255)), bytes((64, 32, 16))])
palette = png(2, 2, 3, [bytes((0, 1)), bytes((1, 2))],
              png_chunk(b"PLTE", bytes((255, 0, 0, 0, 255, 0, 0, 0, 255))) +
              png_chunk(b"tRNS", bytes((255, 128, 0))))

CHARS = characters([(65, 0, 0, 5, 9, 0, 0, 4, 3), (66, -2, 1, 4, 9, 1, 0, 3, 3),
                    (0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0)])
PAIRS = pairs([(65, 86, -3), (0xFFFF, 0, 7)])
PROPS = properties([("Author", "X"), ("Comment", "\u00e4b")])
full = MAGIC + chunk(1, rgba) + CHARS + PAIRS + PROPS + END

seeds = {
    "full.tf": full,
    "no-image.tf": MAGIC + CHARS + PAIRS + PROPS + END,
    "empty.tf": MAGIC + END,
    "reordered.tf": MAGIC + PROPS + chunk(7, b"\1\2\3") + PAIRS + CHARS + chunk(1, grey) + CHARS + END,
    "palette.tf": MAGIC + chunk(1, palette) + characters([(32, 0, 0, 2, 2, 0, 0, 2, 2)]) + END,
    "damaged-crc.tf": full[:len(full) - len(END + PROPS) + 12] + b"\xff" +
                      full[len(full) - len(END + PROPS) + 13:],
    "cut.tf": full[:len(full) - 20],
    # Without the signature the fuzzer leaves CRCs as they are.
    "chunks-damaged-crc": bytes(b ^ (i == 40) for i, b in enumerate(full[8:])),
}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "tf")
os.makedirs(folder, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
