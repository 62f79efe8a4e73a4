#!/usr/bin/env python3
"""Checks the committed artwork in resources/art/ against what the window
code relies on: file form (uncompressed 24-bit BMP, 54-byte header, 2,834
pixels per metre), picture sizes, the mask's outline and banded region, and
the transparent black of the button strips.

Usage: tools/check-artwork.py [art-folder]. Prints the region's band and
rectangle count and exits non-zero on the first broken rule."""

import os
import struct
import sys

MASK_COLOUR = (245, 255, 255)  # R, G, B

SIZES = {
    "mask.bmp": (813, 553),
    "title_en.bmp": (442, 121),
    "title_cn.bmp": (381, 125),
    "title_tw.bmp": (392, 123),
    "logo_en.bmp": (236, 70),
    "logo_cn.bmp": (239, 70),
    "cancel_en.bmp": (412, 34),
    "cancel_cn.bmp": (412, 34),
    "cancel_tw.bmp": (412, 34),
    "webicon.bmp": (937, 22),
    "thumb.bmp": (10, 28),
}

failures = []


def fail(msg):
    failures.append(msg)
    print("FAIL:", msg)


def read_bmp(path):
    """Returns (width, height, rows) with rows[y][x] = (r, g, b), top row first."""
    data = open(path, "rb").read()
    name = os.path.basename(path)
    if data[:2] != b"BM":
        raise ValueError(name + ": not a BMP")
    file_size, offset = struct.unpack_from("<I4xI", data, 2)
    hdr, w, h, planes, bpp, comp, _img, xppm, yppm, used = struct.unpack_from(
        "<IiiHHIIiiI", data, 14)
    if file_size != len(data):
        fail(f"{name}: header says {file_size} bytes, file has {len(data)}")
    if offset != 54 or hdr != 40:
        fail(f"{name}: pixel offset {offset}, info header {hdr} (want 54, 40)")
    if planes != 1 or bpp != 24 or comp != 0 or used != 0:
        fail(f"{name}: planes {planes}, {bpp} bpp, compression {comp}, {used} palette colours")
    if (xppm, yppm) != (2834, 2834):
        fail(f"{name}: {xppm} x {yppm} pixels per metre (want 2834)")
    if h <= 0:
        fail(f"{name}: rows not stored bottom-up")
    stride = (w * 3 + 3) & ~3
    if len(data) != 54 + stride * h:
        fail(f"{name}: {len(data)} bytes, want {54 + stride * h}")
    rows = []
    for y in range(h):
        base = offset + (h - 1 - y) * stride
        row = data[base:base + w * 3]
        rows.append([(row[i + 2], row[i + 1], row[i]) for i in range(0, w * 3, 3)])
    return w, h, rows


def region_runs(rows, inside):
    """Per row, the runs [start, end) of pixels for which inside(pixel) holds."""
    result = []
    for row in rows:
        runs, x, w = [], 0, len(row)
        while x < w:
            while x < w and not inside(row[x]):
                x += 1
            start = x
            while x < w and inside(row[x]):
                x += 1
            if start < x:
                runs.append((start, x))
        result.append(runs)
    return result


def bands(runs):
    """Merges consecutive rows with equal runs, as the system's region data
    does. Returns (band count, rectangle count, bounding box)."""
    nb = nr = 0
    prev = None
    top = bottom = None
    left, right = 1 << 30, -1
    for y, r in enumerate(runs):
        if r:
            top = y if top is None else top
            bottom = y + 1
            left = min(left, r[0][0])
            right = max(right, r[-1][1])
        if r and r != prev:
            nb += 1
            nr += len(r)
        prev = r
    return nb, nr, (left, top, right, bottom)


def check_mask(path):
    w, h, rows = read_bmp(path)
    runs = region_runs(rows, lambda p: p != MASK_COLOUR)
    nb, nr, box = bands(runs)
    outside = sum(row.count(MASK_COLOUR) for row in rows)
    print(f"mask: {nb} bands, {nr} rectangles, bounding box {box}, "
          f"{outside} pixels of the mask colour")
    if (nb, nr) != (33, 55):
        fail(f"mask: {nb} bands of {nr} rectangles, want 33 of 55")
    if box != (0, 2, 813, 553):
        fail(f"mask: bounding box {box}")
    expect = {
        0: [], 1: [], 2: [(274, 535)], 3: [(274, 535)], 25: None,
        26: [(15, 100), None, (713, 798)],
        36: [(0, 111), (248, 561), (701, 812)],
        37: [(0, 813)], 552: [(0, 813)],
    }
    for y, want in expect.items():
        got = runs[y]
        if want is None:
            continue
        if len(got) != len(want) or any(g != v for g, v in zip(got, want) if v):
            fail(f"mask row {y}: runs {got}, want {want}")
    if runs[36][1] != (248, 561):
        fail(f"mask row 36 centre tab {runs[36][1]}")
    for y in range(37, h):
        if runs[y] != [(0, w)]:
            fail(f"mask row {y} is not full width: {runs[y]}")
            break
    # Every mask-coloured pixel lies in rows 0..36 by the checks above; the
    # outline must also be a single piece per tab with no holes, which the
    # run lists of rows 2..36 (one or three runs) show.
    for y in range(2, 37):
        if len(runs[y]) not in (1, 3):
            fail(f"mask row {y}: {len(runs[y])} runs")


def check_strip(path, frame_width, starts):
    w, h, rows = read_bmp(path)
    name = os.path.basename(path)
    for s in starts:
        if rows[0][s] != (0, 0, 0):
            fail(f"{name}: top-left pixel of the frame at {s} is {rows[0][s]}")
    # Frame 3 as cut (at 3 * frame_width) must start with black as well.
    cut = 3 * frame_width
    if rows[0][cut] != (0, 0, 0):
        fail(f"{name}: pixel (0, {cut}) is {rows[0][cut]}")
    first = [r[starts[0]:starts[0] + frame_width] for r in rows]
    last = [r[starts[3]:starts[3] + frame_width] for r in rows]
    if first != last:
        fail(f"{name}: the disabled picture differs from the normal one")
    # The button is shaped to its non-black pixels: each frame's region must
    # be one solid plate, i.e. no black hole strictly inside a row's run.
    for s in starts[:3]:
        for y, r in enumerate(rows):
            seg = r[s:s + frame_width]
            lit = [i for i, p in enumerate(seg) if p != (0, 0, 0)]
            if lit and len(lit) != lit[-1] - lit[0] + 1:
                fail(f"{name}: black hole in frame at {s}, row {y}")
                break


def main():
    art = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "art")
    for name, size in SIZES.items():
        w, h, _ = read_bmp(os.path.join(art, name))
        if (w, h) != size:
            fail(f"{name}: {w} x {h}, want {size[0]} x {size[1]}")
    check_mask(os.path.join(art, "mask.bmp"))
    for name in ("cancel_en.bmp", "cancel_cn.bmp", "cancel_tw.bmp"):
        check_strip(os.path.join(art, name), 103, [0, 103, 206, 309])
    check_strip(os.path.join(art, "webicon.bmp"), 234, [0, 234, 468, 703])
    if failures:
        print(f"{len(failures)} problem(s)")
        return 1
    print("artwork OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
