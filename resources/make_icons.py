#!/usr/bin/env python3
"""Draws the program icon and writes it as a Windows icon file and as PNGs.

The picture is a small monitor playing a video: a dark frame, a blue screen
with a white play triangle, a strip of three colours (one per subject) under
the screen, and a grey stand.  Each size has its own pixel geometry so that
edges fall on whole pixels; only the triangle is smoothed, with the blend
colours that the palette keeps for it.

Usage: make_icons.py [OUTPUT_DIR]   (default: this script's folder)

Writes OUTPUT_DIR/valdremo.ico (16, 32 and 48 pixels, 16 colours each) and
OUTPUT_DIR/icons/hicolor/NxN/apps/valdremo.png for the same three sizes.
The output depends on nothing but this file: no time stamps, and the PNG data
is stored rather than compressed, since deflate output differs between zlib
builds and the checked-in files are compared byte for byte.
"""

import os
import struct
import sys
import zlib

SIZES = (16, 32, 48)
SUPERSAMPLE = 4  # subsamples per pixel along each axis

# The 16-colour palette, (red, green, blue).  Entry 0 is what transparent
# pixels hold in the colour image; Windows draws black there under the mask.
TRANSPARENT = 0
FRAME_DARK = 1
FRAME = 2
SCREEN = 3
SCREEN_DEEP = 4
SCREEN_LIGHT = 5
WHITE = 6
PALE_BLUE = 7
WORD_BLUE = 8
EXCEL_GREEN = 9
PPT_ORANGE = 10
STAND_LIGHT = 11
STAND = 12
STAND_DARK = 13
MID_BLUE = 14
FRAME_LIGHT = 15

PALETTE = (
    (0x00, 0x00, 0x00),  # TRANSPARENT
    (0x1B, 0x24, 0x32),  # FRAME_DARK
    (0x2E, 0x3B, 0x4E),  # FRAME
    (0x2F, 0x80, 0xDC),  # SCREEN
    (0x1F, 0x5F, 0xB4),  # SCREEN_DEEP
    (0x5C, 0xA4, 0xEE),  # SCREEN_LIGHT
    (0xFF, 0xFF, 0xFF),  # WHITE
    (0xB4, 0xD6, 0xF8),  # PALE_BLUE, between WHITE and SCREEN
    (0x4A, 0x86, 0xF0),  # WORD_BLUE
    (0x34, 0xB0, 0x5E),  # EXCEL_GREEN
    (0xF5, 0x7D, 0x2F),  # PPT_ORANGE
    (0xD2, 0xD8, 0xE0),  # STAND_LIGHT
    (0x9B, 0xA6, 0xB3),  # STAND
    (0x6A, 0x76, 0x84),  # STAND_DARK
    (0x7C, 0xB2, 0xEE),  # MID_BLUE, between PALE_BLUE and SCREEN
    (0x4A, 0x5A, 0x70),  # FRAME_LIGHT
)

# Colours a smoothed edge may take, by the colours it lies between.
BLENDS = {
    frozenset((WHITE, SCREEN)): (WHITE, PALE_BLUE, MID_BLUE, SCREEN),
    frozenset((WHITE, SCREEN_LIGHT)): (WHITE, PALE_BLUE, MID_BLUE, SCREEN_LIGHT),
    frozenset((WHITE, SCREEN_DEEP)): (WHITE, PALE_BLUE, MID_BLUE, SCREEN, SCREEN_DEEP),
}

# Per size, in pixels (x to the right, y down, edges between pixels):
#   body:   the monitor, x0, y0, x1, y1 and the corner cut-off radius
#   frame:  frame width at the sides and top; the screen starts inside it
#   screen_bottom: where the screen ends and the chin of the frame begins
#   strip:  the three colour bars in the chin: y0, y1, then x0, x1 per bar
#   neck, foot: the stand, as rectangles (the foot with rounded ends)
#   play:   the triangle: left x, top y, bottom y, apex x
#   sheen:  height of the lighter band at the top of the screen (0: none)
#   deep:   height of the darker band at the bottom of the screen (0: none)
GEOMETRY = {
    16: {
        "body": (0, 1, 16, 12, 2.0),
        "frame": 1,
        "screen_bottom": 9,
        "strip": (10, 11, ((2, 5), (6, 10), (11, 14))),
        "neck": (6, 12, 10, 13),
        "foot": (3, 13, 13, 15),
        "play": (6.0, 2.5, 8.5, 11.0),
        "sheen": 0,
        "deep": 0,
    },
    32: {
        "body": (0, 2, 32, 24, 2.5),
        "frame": 2,
        "screen_bottom": 18,
        "strip": (20, 22, ((5, 11), (13, 19), (21, 27))),
        "neck": (13, 24, 19, 27),
        "foot": (6, 27, 26, 30),
        "play": (12.0, 6.0, 16.0, 20.0),
        "sheen": 1,
        "deep": 1,
    },
    48: {
        "body": (0, 3, 48, 36, 3.5),
        "frame": 3,
        "screen_bottom": 27,
        "strip": (30, 33, ((7, 17), (19, 29), (31, 41))),
        "neck": (19, 36, 29, 40),
        "foot": (9, 40, 39, 45),
        "play": (18.0, 9.0, 24.0, 30.0),
        "sheen": 2,
        "deep": 2,
    },
}


def in_rounded_rect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x < x1 and y0 <= y < y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_rect(x, y, x0, y0, x1, y1):
    return x0 <= x < x1 and y0 <= y < y1


def in_play(x, y, left, top, bottom, apex):
    """Inside the right-pointing triangle (left, top), (left, bottom), (apex, mid)."""
    if x < left or x > apex:
        return False
    mid = (top + bottom) / 2.0
    half = (bottom - top) / 2.0 * (apex - x) / (apex - left)
    return abs(y - mid) <= half


def sample(size, x, y):
    """The palette index at point (x, y) of the picture, or None if transparent."""
    g = GEOMETRY[size]
    bx0, by0, bx1, by1, br = g["body"]
    f = g["frame"]
    if in_rounded_rect(x, y, bx0, by0, bx1, by1, br):
        sx0, sy0, sx1, sy1 = bx0 + f, by0 + f, bx1 - f, g["screen_bottom"]
        if in_rect(x, y, sx0, sy0, sx1, sy1):
            if in_play(x, y, *g["play"]):
                return WHITE
            if y < sy0 + g["sheen"]:
                return SCREEN_LIGHT
            if y >= sy1 - g["deep"]:
                return SCREEN_DEEP
            return SCREEN
        strip_y0, strip_y1, bars = g["strip"]
        for colour, (x0, x1) in zip((WORD_BLUE, EXCEL_GREEN, PPT_ORANGE), bars):
            if in_rect(x, y, x0, strip_y0, x1, strip_y1):
                return colour
        # A lighter line along the top of the frame and a darker bottom edge
        # give the body some depth from 32 pixels up.
        if size > 16 and y < by0 + 1 and bx0 + br <= x < bx1 - br:
            return FRAME_LIGHT
        if size > 16 and y >= by1 - 1:
            return FRAME_DARK
        return FRAME
    if in_rect(x, y, *g["neck"]):
        nx0, _, nx1, _ = g["neck"]
        return STAND_DARK if size > 16 and (x < nx0 + 1 or x >= nx1 - 1) else STAND
    fx0, fy0, fx1, fy1 = g["foot"]
    if in_rounded_rect(x, y, fx0, fy0, fx1, fy1, (fy1 - fy0) / 2.0):
        if y < fy0 + 1:
            return STAND_LIGHT
        if y >= fy1 - 1:
            return STAND_DARK
        return STAND
    return None


def nearest(rgb, candidates):
    def distance(index):
        return sum((a - b) ** 2 for a, b in zip(rgb, PALETTE[index]))

    # Ties go to the lower index, so the choice never depends on set order.
    return min(sorted(candidates), key=distance)


def render(size):
    """The picture as rows of palette indices, None where transparent."""
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = [
                sample(size, px + (sx + 0.5) / n, py + (sy + 0.5) / n)
                for sy in range(n)
                for sx in range(n)
            ]
            opaque = [h for h in hits if h is not None]
            if len(opaque) * 2 < len(hits):
                row.append(None)
                continue
            present = set(opaque)
            if len(present) == 1:
                row.append(opaque[0])
                continue
            rgb = [sum(PALETTE[h][c] for h in opaque) / len(opaque) for c in range(3)]
            candidates = set(present)
            for pair, blends in BLENDS.items():
                if pair <= present:
                    candidates.update(blends)
            row.append(nearest(rgb, candidates))
        rows.append(row)
    return rows


def ico_image(rows):
    """One BMP-format icon image: header, palette, 4-bit colours, 1-bit mask."""
    size = len(rows)
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colours = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x, index in enumerate(row):
            value = TRANSPARENT if index is None else index
            line[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if index is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        colours += line
        mask += bits
    header = struct.pack(
        "<IiiHHIIiiII",
        40,  # header size
        size,
        size * 2,  # colour image and mask, one above the other
        1,  # planes
        4,  # bits per pixel
        0,  # BI_RGB
        len(colours) + len(mask),
        0,
        0,
        16,  # colours used
        0,
    )
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colours) + bytes(mask)


def ico_file(pictures):
    images = [ico_image(rows) for rows in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for rows, image in zip(pictures, images):
        size = len(rows)
        entries += struct.pack(
            "<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(image), offset
        )
        offset += len(image)
    return directory + entries + b"".join(images)


def png_chunk(kind, data):
    return (
        struct.pack(">I", len(data))
        + kind
        + data
        + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    )


def stored_zlib(data):
    """A zlib stream of uncompressed deflate blocks, the same on every zlib build."""
    out = bytearray(b"\x78\x01")
    limit = 0xFFFF
    blocks = [data[i : i + limit] for i in range(0, len(data), limit)] or [b""]
    for i, block in enumerate(blocks):
        final = 1 if i == len(blocks) - 1 else 0
        out += struct.pack("<BHH", final, len(block), len(block) ^ 0xFFFF)
        out += block
    out += struct.pack(">I", zlib.adler32(data) & 0xFFFFFFFF)
    return bytes(out)


def png_file(rows):
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter: none
        for index in row:
            if index is None:
                raw += b"\0\0\0\0"
            else:
                raw += bytes(PALETTE[index]) + b"\xff"
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (
        b"\x89PNG\r\n\x1a\n"
        + png_chunk(b"IHDR", header)
        + png_chunk(b"IDAT", stored_zlib(bytes(raw)))
        + png_chunk(b"IEND", b"")
    )


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) > 2:
        sys.stderr.write("usage: make_icons.py [OUTPUT_DIR]\n")
        return 2
    out = argv[1] if len(argv) == 2 else os.path.dirname(os.path.abspath(__file__))
    pictures = [render(size) for size in SIZES]
    write(os.path.join(out, "valdremo.ico"), ico_file(pictures))
    for size, rows in zip(SIZES, pictures):
        name = "%dx%d" % (size, size)
        write(os.path.join(out, "icons", "hicolor", name, "apps", "valdremo.png"), png_file(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
