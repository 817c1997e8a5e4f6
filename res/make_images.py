#!/usr/bin/env python3
"""Draws Tovik's pictures and writes them as BMP / ICO files next to this script.

    python3 res/make_images.py

Written files (all committed, the build itself does not run Python):
  power.bmp, restart.bmp, logoff.bmp, timer.bmp
      32 x 32, 24 bits per pixel, bottom-up. Background pure magenta
      (255,0,255), which the program draws transparent.
  oops.bmp
      96 x 32, 8 bits per pixel (palette). Three 32 x 32 pictures side by side:
      normal, disabled, pressed. Background: a magenta palette entry.
  power-N.bmp, restart-N.bmp, logoff-N.bmp, timer-N.bmp, oops-N.bmp
      The same pictures drawn at N = 40, 48 and 64 pixels (125, 150 and 200 %
      display scaling), each 8 bits per pixel with its own palette and a
      magenta palette entry as the background; the oops strip is 3N x N.
  Tovik.ico
      The program icon at 16, 20, 24, 32, 40, 48, 64 and 256 pixels (the
      small and large icon at 100 to 200 % display scaling, and Explorer's
      large views), 32 bits per pixel with alpha. The 256-pixel image is
      stored PNG-compressed, which Windows Vista and later read; the others
      are BMP images with an AND mask, readable everywhere.

Only the Python standard library is used. Shapes are described by signed
distance functions (negative inside) and sampled 8 x 8 times per pixel. Pixels
that a shape covers only partly are blended toward a neutral light grey (the
colour of a button face), never toward the magenta key colour, so no pinkish
fringe can appear when the key colour is cut out.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

SIZE = 32
# The sizes drawn besides SIZE, for higher display scaling.
LARGER_SIZES = (40, 48, 64)
SUPERSAMPLE = 8
MAGENTA = (255, 0, 255)
# Partly covered edge pixels are mixed with this colour (a light button face).
EDGE_GREY = (236, 236, 236)
# Below this coverage a pixel stays background (transparent).
MIN_COVERAGE = 0.10
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
# From this size on the icon image is stored as PNG.
ICON_PNG_FROM = 256


# --------------------------------------------------------------------------
# Signed distance functions. Coordinates: x to the right, y downward, pixel
# (i, j) is the square [i, i+1] x [j, j+1].
# --------------------------------------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def _segment_distance(x, y, ax, ay, bx, by):
    ex, ey = bx - ax, by - ay
    wx, wy = x - ax, y - ay
    ee = ex * ex + ey * ey
    t = 0.0 if ee == 0 else max(0.0, min(1.0, (wx * ex + wy * ey) / ee))
    return math.hypot(wx - ex * t, wy - ey * t)


def capsule(ax, ay, bx, by, r):
    """A line from a to b, r thick on either side, with round ends."""
    return lambda x, y: _segment_distance(x, y, ax, ay, bx, by) - r


def arc(cx, cy, radius, start_deg, sweep_deg, half_width):
    """A circular stroke with round ends. Angles in degrees, screen
    coordinates (y down), so a positive sweep runs clockwise."""
    a0 = math.radians(start_deg)
    sweep = math.radians(sweep_deg)
    p0 = (cx + radius * math.cos(a0), cy + radius * math.sin(a0))
    p1 = (cx + radius * math.cos(a0 + sweep), cy + radius * math.sin(a0 + sweep))

    def f(x, y):
        ang = (math.atan2(y - cy, x - cx) - a0) % (2 * math.pi)
        if ang <= sweep:
            d = abs(math.hypot(x - cx, y - cy) - radius)
        else:
            d = min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1]))
        return d - half_width
    return f


def polygon(points):
    """Exact signed distance to a simple polygon."""
    pts = list(points)

    def f(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        s = 1.0
        j = len(pts) - 1
        for i in range(len(pts)):
            vix, viy = pts[i]
            vjx, vjy = pts[j]
            ex, ey = vjx - vix, vjy - viy
            wx, wy = x - vix, y - viy
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            bx, by = wx - ex * t, wy - ey * t
            d = min(d, bx * bx + by * by)
            c1 = y >= viy
            c2 = y < vjy
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    return f


def box(x0, y0, x1, y1, radius=0.0):
    """An axis-parallel rectangle with optionally rounded corners."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def f(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        inside = min(max(qx, qy), 0.0)
        return outside + inside - radius
    return f


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def grow(shape, amount):
    """The shape made `amount` pixels larger all around (an outline layer)."""
    return lambda x, y: shape(x, y) - amount


def regular_polygon(cx, cy, r, n, rotation_deg):
    return polygon([(cx + r * math.cos(math.radians(rotation_deg + k * 360.0 / n)),
                     cy + r * math.sin(math.radians(rotation_deg + k * 360.0 / n)))
                    for k in range(n)])


# --------------------------------------------------------------------------
# Colours
# --------------------------------------------------------------------------

def vertical_gradient(top, bottom, y0=2.0, y1=30.0):
    """A colour that runs from `top` at y0 to `bottom` at y1."""
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


def _colour_at(colour, x, y):
    return colour(x, y) if callable(colour) else colour


# --------------------------------------------------------------------------
# Rendering
# --------------------------------------------------------------------------

def render(layers, width=SIZE, height=SIZE, dx=0.0, dy=0.0, supersample=SUPERSAMPLE):
    """Samples the layers (list of (shape, colour), later ones on top).

    Returns rows of (colour, coverage): the average colour of the covered
    samples (None where nothing is covered) and the covered fraction.
    The picture can be moved by (dx, dy) pixels. The shapes are drawn for a
    SIZE x SIZE square; a larger width and height draw them larger (the
    same picture, sampled at the finer grid), not a larger canvas."""
    scale = height / SIZE
    n = supersample
    offsets = [(k + 0.5) / n for k in range(n)]
    top_down = list(reversed(layers))
    rows = []
    for j in range(height):
        row = []
        for i in range(width):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for oy in offsets:
                y = (j + oy) / scale - dy
                for ox in offsets:
                    x = (i + ox) / scale - dx
                    for shape, colour in top_down:
                        if shape(x, y) <= 0:
                            c = _colour_at(colour, x, y)
                            acc[0] += c[0]
                            acc[1] += c[1]
                            acc[2] += c[2]
                            covered += 1
                            break
            if covered:
                row.append((tuple(a / covered for a in acc), covered / (n * n)))
            else:
                row.append((None, 0.0))
        rows.append(row)
    return rows


def flatten(rendered, transform=None):
    """Turns (colour, coverage) rows into RGB rows on the magenta key colour.

    Partly covered pixels are mixed with EDGE_GREY, not with magenta."""
    out = []
    for row in rendered:
        line = []
        for colour, coverage in row:
            if colour is None or coverage < MIN_COVERAGE:
                line.append(MAGENTA)
                continue
            if transform:
                colour = transform(colour)
            mixed = tuple(c * coverage + g * (1.0 - coverage) for c, g in zip(colour, EDGE_GREY))
            line.append(tuple(int(round(max(0.0, min(255.0, v)))) for v in mixed))
        out.append(line)
    return out


# --------------------------------------------------------------------------
# The pictures
# --------------------------------------------------------------------------

def power_shapes(cx=16.0, cy=17.0, radius=10.5, half_width=2.1, gap_deg=46.0,
                 bar_top=4.2, bar_bottom=15.2):
    """The power symbol: a circle broken at the top, and a vertical bar."""
    ring = arc(cx, cy, radius, -90.0 + gap_deg, 360.0 - 2 * gap_deg, half_width)
    bar = capsule(cx, bar_top, cx, bar_bottom, half_width)
    return ring, bar


def picture_power():
    ring, bar = power_shapes()
    symbol = union(ring, bar)
    return [
        (grow(symbol, 0.8), (125, 12, 12)),
        (symbol, vertical_gradient((236, 70, 58), (176, 22, 22))),
    ]


def picture_restart():
    cx, cy, radius, hw = 16.0, 17.0, 10.0, 2.1
    start, sweep = -25.0, 285.0           # from about 2 o'clock, clockwise
    end = math.radians(start + sweep)     # near 12 o'clock
    stroke = arc(cx, cy, radius, start, sweep, hw)
    # Arrowhead at the end of the stroke, pointing clockwise.
    px, py = cx + radius * math.cos(end), cy + radius * math.sin(end)
    tx, ty = -math.sin(end), math.cos(end)      # clockwise tangent
    nx, ny = math.cos(end), math.sin(end)       # outward normal
    base_back, base_half, length = 0.8, 5.6, 6.6
    head = polygon([
        (px - tx * base_back + nx * base_half, py - ty * base_back + ny * base_half),
        (px + tx * length, py + ty * length),
        (px - tx * base_back - nx * base_half, py - ty * base_back - ny * base_half),
    ])
    arrow = union(stroke, head)
    return [
        (grow(arrow, 0.8), (18, 92, 30)),
        (arrow, vertical_gradient((92, 196, 88), (34, 136, 48))),
    ]


def picture_logoff():
    # A box open on its right side, with an arrow leaving it to the right.
    outer = box(3.0, 4.0, 21.0, 28.0, 2.5)
    inner = box(6.0, 7.0, 18.0, 25.0, 0.5)
    opening = box(15.0, 11.0, 24.0, 21.0)
    frame = subtract(subtract(outer, inner), opening)
    shaft = box(10.0, 14.0, 23.0, 18.0, 0.6)
    head = polygon([(21.0, 8.6), (30.4, 16.0), (21.0, 23.4)])
    arrow = union(shaft, head)
    return [
        (grow(frame, 0.8), (54, 62, 76)),
        (frame, vertical_gradient((128, 138, 156), (86, 96, 114), 4.0, 28.0)),
        (grow(arrow, 0.8), (16, 60, 140)),
        (arrow, vertical_gradient((84, 156, 240), (30, 96, 200), 8.0, 24.0)),
    ]


def picture_timer():
    # A stopwatch: round body, crown on top, a red hand over an elapsed wedge.
    cx, cy = 16.0, 18.0
    body = circle(cx, cy, 12.2)
    face = circle(cx, cy, 9.6)
    crown = union(box(12.5, 2.0, 19.5, 4.8, 1.0), box(14.6, 3.5, 17.4, 7.0))
    side = capsule(24.2, 7.6, 26.2, 5.6, 1.5)
    case = union(body, crown, side)
    # Elapsed part: a wedge from 12 o'clock clockwise to the hand.
    hand_deg = -90.0 + 75.0
    wedge_points = [(cx, cy)] + [
        (cx + 8.6 * math.cos(math.radians(a)), cy + 8.6 * math.sin(math.radians(a)))
        for a in [-90.0 + k * 75.0 / 12 for k in range(13)]]
    wedge = polygon(wedge_points)
    ticks = union(*[
        capsule(cx + 7.2 * math.cos(math.radians(a)), cy + 7.2 * math.sin(math.radians(a)),
                cx + 8.7 * math.cos(math.radians(a)), cy + 8.7 * math.sin(math.radians(a)), 0.75)
        for a in (-90.0, 0.0, 90.0, 180.0)])
    h = math.radians(hand_deg)
    hand = capsule(cx, cy, cx + 7.6 * math.cos(h), cy + 7.6 * math.sin(h), 0.95)
    hub = circle(cx, cy, 1.8)
    return [
        (grow(case, 0.8), (34, 42, 58)),
        (case, vertical_gradient((104, 118, 142), (58, 70, 92), 2.0, 30.0)),
        (face, (252, 252, 250)),
        (wedge, (255, 214, 190)),
        (ticks, (60, 70, 90)),
        (hand, (214, 36, 30)),
        (hub, (60, 70, 90)),
    ]


def picture_oops():
    # A red octagon (flat side on top) with a white horizontal bar.
    octagon = regular_polygon(16.0, 16.0, 15.0, 8, 22.5)
    bar = box(7.0, 13.0, 25.0, 19.0, 1.2)
    return [
        (octagon, (110, 8, 8)),
        (grow(octagon, -1.0), vertical_gradient((238, 58, 48), (182, 18, 18), 1.0, 31.0)),
        (bar, (255, 255, 255)),
    ]


def greyed(colour):
    """The disabled look: grey, light and low in contrast."""
    lum = 0.30 * colour[0] + 0.59 * colour[1] + 0.11 * colour[2]
    v = 150.0 + lum * 0.36
    return (v, v, v)


def darker(colour):
    return tuple(c * 0.82 for c in colour)


def picture_icon(size):
    """The program icon: a white power symbol on a red disc with a dark rim.

    Drawn for one size: the strokes are a whole number of pixels wide and
    the vertical bar lies on pixel edges, so small icons stay sharp."""
    scale = size / SIZE
    stroke = max(2, round(3.8 * scale))
    rim = max(1, round(0.8 * scale))
    # An odd stroke is centred on a pixel's middle: the symbol moves half a pixel.
    cx = 16.0 + (0.5 / scale if stroke % 2 else 0.0)
    half_width = stroke / 2 / scale
    # At least one red pixel between the bar's top and the rim.
    bar_top = max(5.2, 0.8 + (rim + 1) / scale + half_width)
    ring, bar = power_shapes(cx=cx, cy=16.8, radius=8.6, half_width=half_width,
                             gap_deg=44.0, bar_top=bar_top, bar_bottom=14.2)
    disc = circle(16.0, 16.0, 15.2)
    return [
        (disc, (120, 10, 10)),
        (grow(disc, -rim / scale), vertical_gradient((236, 70, 58), (176, 22, 22), 1.0, 31.0)),
        (union(ring, bar), (255, 255, 255)),
    ]


def icon_image(size):
    """Rows of (r, g, b, alpha) of the icon at that size: the coverage of a
    pixel is its opacity."""
    rendered = render(picture_icon(size), size, size, supersample=4 if size > 64 else SUPERSAMPLE)
    return [[(0, 0, 0, 0) if colour is None else
             tuple(int(round(c)) for c in colour) + (int(round(255 * coverage)),)
             for colour, coverage in row] for row in rendered]


# --------------------------------------------------------------------------
# Palette reduction (for the 8-bit strip)
# --------------------------------------------------------------------------

def median_cut(colours, max_colours):
    """Reduces a {colour: count} histogram to at most max_colours colours."""
    boxes = [list(colours.items())]
    while len(boxes) < max_colours:
        best, best_range, best_axis = None, -1, 0
        for index, items in enumerate(boxes):
            if len(items) < 2:
                continue
            for axis in range(3):
                values = [c[axis] for c, _ in items]
                spread = max(values) - min(values)
                if spread > best_range:
                    best, best_range, best_axis = index, spread, axis
        if best is None or best_range <= 0:
            break
        items = sorted(boxes.pop(best), key=lambda item: item[0][best_axis])
        total = sum(n for _, n in items)
        running, split = 0, 1
        for k, (_, n) in enumerate(items):
            running += n
            if running * 2 >= total:
                split = max(1, min(len(items) - 1, k + 1))
                break
        boxes.append(items[:split])
        boxes.append(items[split:])
    palette = []
    for items in boxes:
        total = sum(n for _, n in items)
        palette.append(tuple(int(round(sum(c[a] * n for c, n in items) / total)) for a in range(3)))
    return palette


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda k: sum((p - c) ** 2 for p, c in zip(palette[k], colour)))


# --------------------------------------------------------------------------
# File writers
# --------------------------------------------------------------------------

def rle8(rows):
    """Run-length encoding of 8-bit rows (bottom-up) as BI_RLE8: runs of one
    index, literal stretches of three or more, an end mark per line."""
    out = bytearray()
    for row in reversed(rows):
        i, n = 0, len(row)
        while i < n:
            run = 1
            while i + run < n and run < 255 and row[i + run] == row[i]:
                run += 1
            if run >= 3 or n - i < 3:
                out += bytes((run, row[i]))
                i += run
                continue
            # A literal stretch until the next run of three or more.
            j = i
            while j < n and j - i < 255 and not (j + 2 < n and row[j] == row[j + 1] == row[j + 2]):
                j += 1
            literal = row[i:j]
            if len(literal) < 3:
                for value in literal:
                    out += bytes((1, value))
            else:
                out += bytes((0, len(literal))) + bytes(literal) + (b"\0" if len(literal) % 2 else b"")
            i = j
        out += b"\0\0"
    out[-1] = 1  # the last end of line is the end of the picture
    return bytes(out)


def unrle8(data, width, height):
    """Decodes what rle8 writes into rows of indexes, top-down."""
    rows, row, k = [], [], 0
    while True:
        count, value = data[k], data[k + 1]
        k += 2
        if count:
            row += [value] * count
        elif value in (0, 1):
            rows.append(row)
            row = []
            if value == 1:
                break
        else:
            row += list(data[k:k + value])
            k += value + (value % 2)
    assert len(rows) == height and all(len(r) == width for r in rows)
    return list(reversed(rows))


def bmp_bytes(rows, bits, palette=None, compressed=False):
    """A BMP file (BITMAPFILEHEADER + BITMAPINFOHEADER), rows stored bottom-up.

    bits == 24: rows hold RGB triples. bits == 8: rows hold palette indexes,
    run-length encoded when compressed."""
    height = len(rows)
    width = len(rows[0])
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in ([] if compressed else reversed(rows)):
        line = bytearray()
        if bits == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        elif bits == 8:
            line += bytes(row)
        else:
            raise ValueError("unsupported bit depth")
        line += b"\0" * (stride - len(line))
        pixels += line
    colour_table = b""
    if bits == 8:
        colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    if compressed:
        pixels = rle8(rows)
    offset = 14 + 40 + len(colour_table)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 1 if compressed else 0, len(pixels),
                       2835, 2835, len(palette) if palette else 0, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + colour_table + bytes(pixels)


def png_bytes(rows):
    """A PNG file of (r, g, b, alpha) rows: 8 bits per channel, each line
    filtered with its difference to the line above."""
    height, width = len(rows), len(rows[0])
    raw, above = bytearray(), bytes(4 * width)
    for row in rows:
        line = bytes(v for pixel in row for v in pixel)
        raw += b"\2" + bytes((a - b) & 0xFF for a, b in zip(line, above))
        above = line

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def icon_bmp_bytes(rows):
    """One icon image in BMP form: the header (its height counts the colour
    image and the mask), BGRA rows bottom-up, and the AND mask that drawing
    without alpha (fewer than 32 bits of colour) uses instead: clear where
    a pixel is less than half covered."""
    size = len(rows)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(((size + 31) // 32) * 4)
        for i, pixel in enumerate(row):
            if pixel[3] < 128:
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return info + pixels + bytes(mask)


def ico_bytes(images):
    """An ICO file of {size: rows of (r, g, b, alpha)}."""
    datas = [(size, png_bytes(rows) if size >= ICON_PNG_FROM else icon_bmp_bytes(rows))
             for size, rows in sorted(images.items())]
    offset = 6 + 16 * len(datas)
    directory = struct.pack("<HHH", 0, 1, len(datas))
    for size, data in datas:
        # A width and height of 0 mean 256.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, data in datas)


def read_ico(data):
    """Decodes what ico_bytes writes: returns {size: rows of (r, g, b, alpha)}."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1)
    images = {}
    for k in range(count):
        width, height, _, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        size = width or 256
        assert width == height and planes == 1 and bits == 32
        image = data[offset:offset + length]
        if image.startswith(b"\x89PNG"):
            assert struct.unpack_from(">IIBB", image, 16) == (size, size, 8, 6)
            raw = zlib.decompress(image[41:-12])
            rows, above, stride = [], bytes(4 * size), 4 * size + 1
            for j in range(size):
                assert raw[j * stride] == 2
                line = bytes((a + b) & 0xFF for a, b in zip(raw[j * stride + 1:(j + 1) * stride], above))
                rows.append([tuple(line[i:i + 4]) for i in range(0, 4 * size, 4)])
                above = line
        else:
            assert struct.unpack_from("<IiiHH", image, 0) == (40, size, 2 * size, 1, 32)
            rows = [[(image[p + 2], image[p + 1], image[p], image[p + 3])
                     for p in range(40 + 4 * size * (size - 1 - j), 40 + 4 * size * (size - j), 4)]
                    for j in range(size)]
        images[size] = rows
    return images


# --------------------------------------------------------------------------
# Self checks on the written bytes
# --------------------------------------------------------------------------

def read_bmp(data):
    """Decodes what bmp_bytes writes: returns (width, height, bits, rgb rows top-down)."""
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    assert magic == b"BM" and file_size == len(data)
    (hsize, width, height, planes, bits, compression, _, _, _, used, _) = \
        struct.unpack_from("<IiiHHIIiiII", data, 14)
    assert hsize == 40 and planes == 1 and compression in (0, 1) and height > 0
    palette = []
    if bits == 8:
        count = used or 256
        for k in range(count):
            b, g, r, _ = struct.unpack_from("<BBBB", data, 54 + 4 * k)
            palette.append((r, g, b))
    if compression == 1:
        indexes = unrle8(data[offset:], width, height)
        return width, height, bits, [[palette[i] for i in row] for row in indexes]
    stride = ((width * bits + 31) // 32) * 4
    assert offset + stride * height == len(data)
    rows = []
    for j in range(height):
        base = offset + (height - 1 - j) * stride
        if bits == 24:
            rows.append([(data[base + 3 * i + 2], data[base + 3 * i + 1], data[base + 3 * i])
                         for i in range(width)])
        else:
            rows.append([palette[data[base + i]] for i in range(width)])
    return width, height, bits, rows


def check_picture(name, rows, x0=0, size=SIZE):
    """The key colour must surround the picture, and no other pixel may come
    near it (a pinkish fringe would show around the transparent cut-out)."""
    cell = [row[x0:x0 + size] for row in rows]
    for i in range(size):
        for edge in (cell[0][i], cell[-1][i], cell[i][0], cell[i][-1]):
            assert edge == MAGENTA, (name, "touches the border")
    corners = (cell[0][0], cell[0][-1], cell[-1][0], cell[-1][-1])
    assert all(c == MAGENTA for c in corners), (name, "corners must be key colour")
    drawn = 0
    for row in cell:
        for r, g, b in row:
            if (r, g, b) == MAGENTA:
                continue
            drawn += 1
            pinkish = r > 150 and b > 150 and g < min(r, b) - 60
            assert not pinkish, (name, "pinkish pixel", (r, g, b))
    assert drawn > size * size // 5, (name, "almost empty")


# --------------------------------------------------------------------------

def write(name, data):
    path = os.path.join(HERE, name)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", path, len(data), "bytes")


def palette_bmp(rows):
    """An 8-bit BMP of RGB rows: magenta is palette entry 0, the other
    colours are reduced to at most 255 by median cut."""
    histogram = {}
    for row in rows:
        for colour in row:
            if colour != MAGENTA:
                histogram[colour] = histogram.get(colour, 0) + 1
    palette = [MAGENTA] + median_cut(histogram, 255)
    lookup = {MAGENTA: 0}
    for colour in histogram:
        lookup[colour] = 1 + nearest(palette[1:], colour)
    indexes = [[lookup[c] for c in row] for row in rows]
    assert palette.count(MAGENTA) == 1
    # Compressed: the pictures are mostly their transparent background.
    return bmp_bytes(indexes, 8, palette, compressed=True)


def oops_strip(size):
    """The oops strip at that size: normal, disabled, pressed."""
    layers = picture_oops()
    normal = flatten(render(layers, size, size))
    disabled = flatten(render(layers, size, size), greyed)
    pressed = flatten(render(layers, size, size, dx=1.0, dy=1.0), darker)
    return [a + b + c for a, b, c in zip(normal, disabled, pressed)]


SINGLE_PICTURES = (("power", picture_power), ("restart", picture_restart),
                   ("logoff", picture_logoff), ("timer", picture_timer))


def main():
    for name, picture in SINGLE_PICTURES:
        rows = flatten(render(picture()))
        data = bmp_bytes(rows, 24)
        width, height, bits, decoded = read_bmp(data)
        assert (width, height, bits) == (SIZE, SIZE, 24) and decoded == rows
        check_picture(name, decoded)
        write(name + ".bmp", data)

    data = palette_bmp(oops_strip(SIZE))
    width, height, bits, decoded = read_bmp(data)
    assert (width, height, bits) == (3 * SIZE, SIZE, 8)
    for k in range(3):
        check_picture("oops", decoded, k * SIZE)
    write("oops.bmp", data)

    # The larger sizes, each drawn anew at its own grid (never a stretched
    # smaller picture), 8 bits per pixel to keep the program small.
    for size in LARGER_SIZES:
        for name, picture in SINGLE_PICTURES:
            data = palette_bmp(flatten(render(picture(), size, size)))
            width, height, bits, decoded = read_bmp(data)
            assert (width, height, bits) == (size, size, 8)
            check_picture(name, decoded, 0, size)
            write("%s-%d.bmp" % (name, size), data)
        data = palette_bmp(oops_strip(size))
        width, height, bits, decoded = read_bmp(data)
        assert (width, height, bits) == (3 * size, size, 8)
        for k in range(3):
            check_picture("oops", decoded, k * size, size)
        write("oops-%d.bmp" % size, data)

    # The icon, each size drawn anew at its own grid.
    images = {size: icon_image(size) for size in ICON_SIZES}
    data = ico_bytes(images)
    assert read_ico(data) == images
    for size, rows in images.items():
        # A disc: clear in the corners, opaque in the middle.
        assert rows[0][0][3] == rows[-1][-1][3] == 0 and rows[size // 2][size // 2][3] == 255, size
    write("Tovik.ico", data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
