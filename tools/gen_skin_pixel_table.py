#!/usr/bin/env python3
"""Draws the skin engine's five built-in bitmaps and writes them out as a C++ pixel table.

    tools/gen_skin_pixel_table.py [--out ROOT] [--preview DIR]

Writes src/skin/skin_pixel_table.h and src/skin/skin_pixel_table.cpp under this script's
repository root, or under ROOT with --out (the test suite compares such a copy with the committed
table). With --preview, also writes an enlarged PNG of each bitmap into DIR so the art
can be looked at. Standard library only.

Sections:
  1. colour helpers
  2. ButtonSkinDC   (7 x 84, four 7 x 21 rounded-rectangle frames)
  3. ComboSkinDC    (15 x 18, two drop-down faces and two arrows)
  4. MarkSkinDC     (18 x 24, check marks, indeterminate squares, option dots)
  5. BoxSkinDC      (13 x 52, four anti-aliased circles)
  6. HeaderSkinDC   (9 x 20, three header item frames)
  7. self-checks, C++ output, PNG preview
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- 1. colour helpers
# Colours are kept as (r, g, b) tuples while drawing and become 0x00BBGGRR on output.

KEY = (255, 0, 255)
WHITE = (255, 255, 255)


def c(colorref):
    """0x00BBGGRR -> (r, g, b)."""
    return (colorref & 0xFF, (colorref >> 8) & 0xFF, (colorref >> 16) & 0xFF)


def ref(rgb):
    r, g, b = rgb
    return r | (g << 8) | (b << 16)


def clamp8(v):
    return max(0, min(255, int(round(v))))


def lerp(a, b, t):
    return tuple(clamp8(a[i] + (b[i] - a[i]) * t) for i in range(3))


def pale(rgb, keep=0.51):
    """Washes a colour out towards white: how every disabled picture is made."""
    return tuple(clamp8(255 - keep * (255 - v)) for v in rgb)


def ramp(anchors, y):
    """Piecewise-linear colour through (row, colour) anchors, flat beyond the ends."""
    if y <= anchors[0][0]:
        return anchors[0][1]
    for (y0, c0), (y1, c1) in zip(anchors, anchors[1:]):
        if y <= y1:
            return lerp(c0, c1, (y - y0) / (y1 - y0))
    return anchors[-1][1]


def new_image(w, h, fill=KEY):
    return [[fill for _ in range(w)] for _ in range(h)]


# ---------------------------------------------------------------- 2. ButtonSkinDC
# Each frame: a one-pixel outline with corners rounded inside the 3 x 3 corner squares. The
# pixels outside the curve blend the outline into a light surround; the pixels just inside it
# blend the outline into the face. The face is drawn per frame by an interior function.

BTN_W, BTN_H, BTN_FRAME_H = 7, 84, 21
BTN_OUTLINE = c(0x00D58F1B)
BTN_DISABLED_OUTLINE = c(0x00E8C387)
SURROUND_TOP = c(0x00F9E1BF)
SURROUND_BOTTOM = c(0x00FBE7CA)

# The rows of the normal frame that are fixed exactly.
NORMAL_FIXED_ROWS = {
    0: [0x00F9E1BF, 0x00E3B36B, 0x00D8972C, 0x00D58F1B, 0x00D8972C, 0x00E3B36B, 0x00F9E1BF],
    1: [0x00E2B269, 0x00E7C07E, 0x00FBF3E7, 0x00FFFFFF, 0x00FBF3E7, 0x00E7C07E, 0x00E2B269],
    3: [0x00D58F1B, 0x00FDFAF5, 0x00FCF8F1, 0x00FCF8F1, 0x00FCF8F1, 0x00FDFAF5, 0x00D58F1B],
    17: [0x00D58F1B, 0x00F0DEC9, 0x00EAD0B1, 0x00EAD0B1, 0x00EAD0B1, 0x00F0DEC9, 0x00D58F1B],
    20: [0x00FBE7CA, 0x00E1AE60, 0x00D8962A, 0x00D58F1B, 0x00D8962A, 0x00E1AE60, 0x00FBE7CA],
}

# How much outline each corner pixel carries (the rest is surround outside, face inside).
OUTSIDE_COVER = {(0, 0): 0.0, (1, 0): 0.56, (2, 0): 0.9, (0, 1): 0.57, (0, 2): 0.9}
INSIDE_COVER = {(1, 1): 0.565, (2, 1): 0.105, (1, 2): 0.105}


def highlight(face):
    """The column just inside the outline is a little lighter than the face."""
    return tuple(clamp8(255 - 0.695 * (255 - v)) for v in face)


def normal_face(x, y):
    centre = ramp([(1, WHITE), (2, (248, 252, 254)), (3, c(0x00FCF8F1)), (17, c(0x00EAD0B1)),
                   (19, (168, 202, 231))], y)
    return highlight(centre) if x in (1, 5) else centre


def hover_face(x, y):
    centre = ramp([(1, WHITE), (10, (236, 247, 254)), (19, (206, 232, 251))], y)
    bell = max(0.0, 1.0 - ((y - 10) / 9.0) ** 2)
    side = lerp((190, 231, 253), c(0x00FBC34C), bell)
    if x in (1, 5):
        return side
    if x in (2, 4):
        return lerp(centre, side, 0.3)
    return centre


def pressed_face(x, y):
    centre = ramp([(1, (196, 226, 248)), (19, (238, 247, 253))], y)
    side = ramp([(3, c(0x00F9B731)), (19, (165, 219, 250))], y)
    if x in (1, 5):
        return side
    if x in (2, 4):
        return lerp(centre, side, 0.3)
    return centre


def disabled_face(x, y):
    centre = ramp([(1, WHITE), (19, (241, 246, 250))], y)
    return highlight(centre) if x in (1, 5) else centre


def button_frame(outline, face, fixed_rows=None):
    img = new_image(BTN_W, BTN_FRAME_H)
    for y in range(1, BTN_FRAME_H - 1):
        for x in range(1, BTN_W - 1):
            img[y][x] = face(x, y)
    for y in range(BTN_FRAME_H):
        img[y][0] = img[y][BTN_W - 1] = outline
    for x in range(BTN_W):
        img[0][x] = img[BTN_FRAME_H - 1][x] = outline
    # Corners: work out the top-left and bottom-left ones, then mirror to the right.
    for (dx, dy), a in OUTSIDE_COVER.items():
        img[dy][dx] = lerp(SURROUND_TOP, outline, a)
        img[BTN_FRAME_H - 1 - dy][dx] = lerp(SURROUND_BOTTOM, outline, a)
    for (dx, dy), a in INSIDE_COVER.items():
        img[dy][dx] = lerp(face(dx, dy), outline, a)
        yb = BTN_FRAME_H - 1 - dy
        img[yb][dx] = lerp(face(dx, yb), outline, a)
    for y in range(BTN_FRAME_H):
        for x in range(3):
            img[y][BTN_W - 1 - x] = img[y][x]
    for y, row in (fixed_rows or {}).items():
        img[y] = [c(v) for v in row]
    return img


def button_skin():
    frames = [
        button_frame(BTN_OUTLINE, normal_face, NORMAL_FIXED_ROWS),
        button_frame(BTN_OUTLINE, hover_face),
        button_frame(BTN_OUTLINE, pressed_face),
        button_frame(BTN_DISABLED_OUTLINE, disabled_face),
    ]
    # The outside corner pixels of the normal frame's given rows set the pattern the other
    # frames with the same outline follow, so all three agree where the region cuts them.
    # Light falls from the left: in the middle rows the right-hand inner column is a shade less red
    # than its mirror image on the left, except at the hover frame's middle, whose blue is fixed.
    for i, f in enumerate(frames):
        for y in range(5, 16):
            if i == 1 and y == 10:
                continue
            r, g, b = f[y][5]
            f[y][5] = (max(0, r - 4), g, b)
    for f in frames[1:3]:
        for y in (0, 1, 19, 20):
            for x in (0, 6):
                f[y][x] = frames[0][y][x]
        for x in (1, 2, 4, 5):
            f[0][x] = frames[0][0][x]
            f[20][x] = frames[0][20][x]
    return [row for f in frames for row in f]


# ---------------------------------------------------------------- 3. ComboSkinDC
COMBO_W, COMBO_H = 15, 18
COMBO_OUTLINE = c(0x00D1A04E)
ARROW_ENABLED = c(0x005F5519)
ARROW_DISABLED = c(0x00ACA584)

# Side and middle column of the hover face, darkening downwards to row 17. The pressed face is
# the hover face turned upside down about row 9, so its top row reads row 18 of these ramps, which
# stay at their row-17 colour there.
COMBO_SIDE = [(0, (243, 250, 254)), (9, c(0x00F9EDD3)), (17, (180, 221, 244))]
COMBO_MIDDLE = [(0, (196, 233, 250)), (9, c(0x00EFD191)), (17, (103, 184, 227))]


def combo_face(img, x0, row_of):
    for y in range(COMBO_H):
        yy = row_of(y)
        side, middle = ramp(COMBO_SIDE, yy), ramp(COMBO_MIDDLE, yy)
        img[y][x0] = COMBO_OUTLINE
        img[y][x0 + 1] = side
        img[y][x0 + 2] = middle
        img[y][x0 + 3] = side


def combo_skin():
    img = new_image(COMBO_W, COMBO_H)
    combo_face(img, 0, lambda y: y)
    combo_face(img, 4, lambda y: 18 - y)
    for top, colour in ((0, ARROW_ENABLED), (4, ARROW_DISABLED)):
        for row in range(4):
            for x in range(8 + row, 15 - row):
                img[top + row][x] = colour
    return img


# ---------------------------------------------------------------- 4. MarkSkinDC
MARK_W, MARK_H = 18, 24
CHECK_ROWS = [(8, 8), (7, 8), (6, 8), (0, 1, 5, 7), (0, 2, 4, 6), (1, 5), (2, 4), (3, 3)]
CHECK_TOP, CHECK_BOTTOM = c(0x001DB754), c(0x00029135)
CHECK_DIS_TOP, CHECK_DIS_BOTTOM = c(0x008CDAA8), c(0x007EC798)
SQUARE_TOP, SQUARE_BOTTOM = c(0x001BB451), c(0x00069639)
DOT_LIGHT, DOT_DARK = (118, 204, 64), (18, 134, 0)


def disc_cover(px, py, cx, cy, r, n=8):
    inside = 0
    for i in range(n):
        for j in range(n):
            sx, sy = px + (i + 0.5) / n, py + (j + 0.5) / n
            if (sx - cx) ** 2 + (sy - cy) ** 2 <= r * r:
                inside += 1
    return inside / (n * n)


def option_dot():
    """5 x 5 green disc with a light upper left, its rim faded towards a white background."""
    dot = [[None] * 5 for _ in range(5)]
    for y in range(5):
        for x in range(5):
            if (x, y) in ((0, 0), (4, 0), (0, 4), (4, 4)):
                continue
            shade = lerp(DOT_LIGHT, DOT_DARK, min(1.0, math.hypot(x - 1.5, y - 1.5) / 4.5))
            cover = min(1.0, disc_cover(x, y, 2.5, 2.5, 2.25) / 0.95)
            dot[y][x] = lerp(WHITE, shade, cover)
    return dot


def mark_skin():
    img = new_image(MARK_W, MARK_H)
    for y, spans in enumerate(CHECK_ROWS):
        t = y / 7
        enabled, disabled = lerp(CHECK_TOP, CHECK_BOTTOM, t), lerp(CHECK_DIS_TOP, CHECK_DIS_BOTTOM, t)
        for a, b in zip(spans[::2], spans[1::2]):
            for x in range(a, b + 1):
                img[y][x] = enabled
                img[y][x + 9] = disabled
    for y in range(7):
        enabled = lerp(SQUARE_TOP, SQUARE_BOTTOM, y / 6)
        for x in range(7):
            img[9 + y][1 + x] = enabled
            img[9 + y][10 + x] = pale(enabled)
    for y, row in enumerate(option_dot()):
        for x, colour in enumerate(row):
            if colour is not None:
                img[18 + y][2 + x] = colour
                img[18 + y][11 + x] = pale(colour)
    return img


# ---------------------------------------------------------------- 5. BoxSkinDC
# A circle of diameter 13 centred on the middle of the 13 x 13 frame. A pixel the circle hardly
# touches is key colour; the others take the ring colour by the distance of their centre, and the
# ones the circle only partly covers fade towards a light window background.

BOX_SIZE = 13
BOX_RADIUS = 6.5
BOX_KEY_BELOW = 0.05
AA_BACKGROUND = (240, 240, 240)


def box_circle(inner_ring, outer_ring, interior):
    img = new_image(BOX_SIZE, BOX_SIZE)
    centre = BOX_SIZE / 2
    for y in range(BOX_SIZE):
        for x in range(BOX_SIZE):
            cover = disc_cover(x, y, centre, centre, BOX_RADIUS)
            if cover < BOX_KEY_BELOW:
                continue
            d = math.hypot(x + 0.5 - centre, y + 0.5 - centre)
            if d <= 4.3:
                colour = interior(x, y)
            elif d < 5.0:
                colour = lerp(interior(x, y), inner_ring, (d - 4.3) / 0.7)
            else:
                # Lit from the upper left: the outer ring is darkest towards the lower right.
                lit = 0.5 + 0.5 * ((x + 0.5 - centre) + (y + 0.5 - centre)) / (d * math.sqrt(2))
                outer = lerp(lerp(outer_ring, inner_ring, 0.45), outer_ring, lit)
                colour = lerp(inner_ring, outer, min(1.0, (d - 5.0) / 0.5))
            img[y][x] = lerp(AA_BACKGROUND, colour, min(1.0, cover / 0.9))
    return img


def lit_from(px, py):
    """Distance from a light off the frame: isolines bow gently around it."""
    return lambda x, y: math.hypot(x - px, y - py)


def diagonal(start, end, key):
    """Gradient across the interior (pixel centres within 4.3 of the middle) along key(x, y)."""
    cells = [(x, y) for y in range(BOX_SIZE) for x in range(BOX_SIZE)
             if math.hypot(x - 6, y - 6) <= 4.3]
    lo, hi = min(key(x, y) for x, y in cells), max(key(x, y) for x, y in cells)
    return lambda x, y: lerp(start, end, min(1.0, max(0.0, (key(x, y) - lo) / (hi - lo))))


# Rows 4 to 8, columns 1 to 11 of the hover and pressed frames double as the interior of a check
# square, stretched over its whole inside: there they hold the interior's colours only, also where
# the circle's ring would be.
CHECK_STRIP_ROWS, CHECK_STRIP_COLUMNS = range(4, 9), range(1, 12)


def with_check_strip(img, interior):
    for y in CHECK_STRIP_ROWS:
        for x in CHECK_STRIP_COLUMNS:
            img[y][x] = interior(x, y)
    return img


def box_skin():
    white = lambda x, y: WHITE
    # The diagonals run away from a light a little way off the top-left (hover) and bottom-left
    # (pressed) corner.
    hover = diagonal(c(0x00F8EAC3), c(0x00FDF5E1), lit_from(-16, -16))
    pressed = diagonal(c(0x00F5E1AD), c(0x00FDF1D5), lit_from(-17, 12 + 17))
    frames = [
        box_circle(c(0x00E7CFBC), c(0x00D2A683), white),
        with_check_strip(box_circle(c(0x00E7CFBC), c(0x00D2A683), hover), hover),
        with_check_strip(box_circle(c(0x00D9B89C), c(0x00C18964), pressed), pressed),
        box_circle(c(0x00F3E7DD), c(0x00E8D2C1), white),
    ]
    return [row for f in frames for row in f]


# ---------------------------------------------------------------- 6. HeaderSkinDC
HDR_W, HDR_H = 9, 20
HDR_BOTTOM_LINE = c(0x00F2DAC0)
PRESSED_TOP = c(0x00FBD58E)


def separator(top, deepest):
    """A separator deepest in rows 9 and 10, fading out alike upwards and downwards: row 10 + k
    is row 9 - k, so row 18 is row 1."""
    anchors = [(0, top), (9, deepest)]
    return lambda y: ramp(anchors, y if y <= 9 else 19 - y)


def header_skin():
    img = new_image(HDR_W, HDR_H)
    columns = [
        # normal: light face, separator on the right deepest in the middle
        [(0, c(0x00FEF5EA)), (18, c(0x00F6E5D3))],
        [(0, c(0x00FEF5EA)), (18, c(0x00F6E5D3))],
        separator(c(0x00FCF1E6), c(0x00D9B07A)),
        # hover: strong left edge, deeper right edge, light centre
        [(0, c(0x00FEF0D9)), (5, c(0x00FAC25E)), (17, c(0x00FAC25E)), (18, c(0x00FBD38A))],
        [(0, c(0x00FFF6E6)), (1, c(0x00FFEFD6)), (17, c(0x00FDE0AC)), (18, c(0x00FCDBA2))],
        separator(c(0x00F9E7CB), c(0x00DBA24B)),
        # pressed: sunk under one shadow line along the top, the edges fade out downwards
        [(0, PRESSED_TOP), (3, c(0x00FAC25E)), (12, c(0x00FAC25E)), (18, c(0x00FDE3A8))],
        [(0, PRESSED_TOP), (1, c(0x00FFDC9F)), (16, c(0x00FFF2C8)), (18, c(0x00FFF2C8))],
        [(0, PRESSED_TOP), (9, c(0x00DBA24B)), (10, c(0x00DBA24B)), (18, c(0x00FDE3A8))],
    ]
    for x, column in enumerate(columns):
        shade = column if callable(column) else (lambda y, anchors=column: ramp(anchors, y))
        for y in range(HDR_H - 1):
            img[y][x] = shade(y)
        img[HDR_H - 1][x] = HDR_BOTTOM_LINE
    return img


# ---------------------------------------------------------------- 7. checks and output
def stretch_into(dst, dx, dy, dw, dh, src, sx, sy, sw, sh):
    for y in range(max(dh, 0)):
        for x in range(max(dw, 0)):
            p = src[sy + y * sh // dh][sx + x * sw // dw]
            if p != KEY:
                dst[dy + y][dx + x] = p


def nine_slice(dst, dx, dy, w, h, src, sx, sy, sw, sh, m):
    l, t, r, b = m
    cols = [(0, l, 0, l), (l, w - l - r, l, sw - l - r), (w - r, r, sw - r, r)]
    rows = [(0, t, 0, t), (t, h - t - b, t, sh - t - b), (h - b, b, sh - b, b)]
    for oy, ph, ry, rh in rows:
        for ox, pw, rx, rw in cols:
            stretch_into(dst, dx + ox, dy + oy, pw, ph, src, sx + rx, sy + ry, rw, rh)


def preview_controls(images):
    """The pictures as the painters use them: faces at 75 x 25, combo, check, option, header."""
    button, combo, mark, box, header = images
    canvas = new_image(330, 120, (240, 240, 240))
    for i in range(4):
        nine_slice(canvas, 5 + 80 * i, 5, 75, 25, button, 0, 21 * i, 7, 21, (3, 3, 3, 3))
    for i, (sx, arrow) in enumerate(((None, 0), (0, 0), (4, 0), (None, 4))):
        x0 = 5 + 30 * i
        nine_slice(canvas, x0, 40, 20, 21, [[(122, 150, 223)]], 0, 0, 1, 1, (0, 0, 0, 0))
        if sx is None:
            nine_slice(canvas, x0 + 1, 41, 18, 19, [[WHITE]], 0, 0, 1, 1, (0, 0, 0, 0))
        else:
            nine_slice(canvas, x0 + 1, 41, 18, 19, combo, sx, 0, 4, 18, (2, 1, 1, 1))
        stretch_into(canvas, x0 + 1 + 6, 41 + 8, 7, 4, combo, 8, arrow, 7, 4)
    for i in range(4):
        x0 = 130 + 20 * i
        nine_slice(canvas, x0, 40, 13, 13, box, 0, 13 * i, 13, 13, (5, 5, 5, 5))
        if i in (0, 2):
            stretch_into(canvas, x0 + 4, 44, 5, 5, mark, 2, 18, 5, 5)
        if i == 3:
            stretch_into(canvas, x0 + 4, 44, 5, 5, mark, 11, 18, 5, 5)
    for i, (interior, frame, glyph) in enumerate((
            (None, (84, 165, 213), (0, 0, 9, 8)), (17, (84, 165, 213), (0, 0, 9, 8)),
            (30, (57, 134, 196), (1, 9, 7, 7)), (None, (164, 207, 233), (9, 0, 9, 8)))):
        x0 = 220 + 20 * i
        nine_slice(canvas, x0, 40, 13, 13, [[frame]], 0, 0, 1, 1, (0, 0, 0, 0))
        nine_slice(canvas, x0 + 1, 41, 11, 11, [[WHITE]], 0, 0, 1, 1, (0, 0, 0, 0))
        if interior is not None:
            stretch_into(canvas, x0 + 1, 41, 11, 11, box, 1, interior, 11, 5)
        gx, gy, gw, gh = glyph
        stretch_into(canvas, x0 + (13 - gw + 1) // 2, 40 + (13 - gh) // 2, gw, gh, mark, gx, gy, gw, gh)
    for i in range(3):
        nine_slice(canvas, 5 + 70 * i, 80, 70, 20, header, 3 * i, 0, 3, 20, (1, 1, 1, 1))
    return canvas


BITMAPS = [
    ("ButtonSkinDC", BTN_W, BTN_H, button_skin),
    ("ComboSkinDC", COMBO_W, COMBO_H, combo_skin),
    ("MarkSkinDC", MARK_W, MARK_H, mark_skin),
    ("BoxSkinDC", BOX_SIZE, BOX_SIZE * 4, box_skin),
    ("HeaderSkinDC", HDR_W, HDR_H, header_skin),
]

HEADER_TEXT = """\
// Generated by tools/gen_skin_pixel_table.py. Do not edit by hand: change the tool and run it again.
//
// The five built-in skin bitmaps as one constant table: every pixel of every bitmap exactly
// once, grouped by bitmap in SkinBitmapId order, then row by row from the top, each row from
// left to right. Colours are 0x00BBGGRR; magenta 0x00FF00FF is the key colour.
#pragma once

#include <cstdint>

namespace skin {{

enum SkinBitmapId : std::uint8_t {{
{enum_lines}
}};

struct SkinBitmapSize {{
  int width;
  int height;
}};

inline constexpr SkinBitmapSize kSkinBitmapSizes[{count}] = {{{sizes}}};

struct SkinPixel {{
  std::uint8_t bitmap;
  std::uint8_t x;
  std::uint8_t y;
  std::uint32_t colour;
}};

inline constexpr int kSkinPixelCount = {total};
extern const SkinPixel SkinPixelTable[kSkinPixelCount];

}}  // namespace skin
"""


# How many distinct colours the pictures use, in all and per bitmap (magenta counted where it is).
# The free art is tuned to these; a change that moves them must be tuned back.
DISTINCT_COLOURS = 567
DISTINCT_COLOURS_PER_BITMAP = [222, 40, 46, 158, 106]


def check(images):
    for (name, w, h, _), img in zip(BITMAPS, images):
        assert len(img) == h and all(len(r) == w for r in img), name
        assert all(p is not None for r in img for p in r), name
    per_bitmap = [len({p for r in img for p in r}) for img in images]
    everything = len({p for img in images for r in img for p in r})
    assert per_bitmap == DISTINCT_COLOURS_PER_BITMAP, f"distinct colours per bitmap {per_bitmap}"
    assert everything == DISTINCT_COLOURS, f"distinct colours in all {everything}"


def write_sources(root, images):
    total = sum(w * h for _, w, h, _ in BITMAPS)
    enum_lines = "\n".join(f"  {name.replace('DC', 'Bitmap')} = {i}," for i, (name, _, _, _) in
                           enumerate(BITMAPS))
    sizes = ", ".join(f"{{{w}, {h}}}" for _, w, h, _ in BITMAPS)
    header = HEADER_TEXT.format(enum_lines=enum_lines, count=len(BITMAPS), sizes=sizes, total=total)
    entries = [f"{{{b}, {x}, {y}, 0x{ref(p):08X}}}" for b, img in enumerate(images)
               for y, row in enumerate(img) for x, p in enumerate(row)]
    lines = []
    for i in range(0, len(entries), 4):
        lines.append("    " + ", ".join(entries[i:i + 4]) + ",")
    source = (
        "// Generated by tools/gen_skin_pixel_table.py. Do not edit by hand: change the tool and run it again.\n"
        "#include \"skin/skin_pixel_table.h\"\n\n"
        "namespace skin {\n\n"
        "// clang-format off\n"
        "const SkinPixel SkinPixelTable[kSkinPixelCount] = {\n" + "\n".join(lines) + "\n};\n"
        "// clang-format on\n\n"
        "}  // namespace skin\n")
    os.makedirs(os.path.join(root, "src/skin"), exist_ok=True)
    with open(os.path.join(root, "src/skin/skin_pixel_table.h"), "w", encoding="utf-8") as f:
        f.write(header)
    with open(os.path.join(root, "src/skin/skin_pixel_table.cpp"), "w", encoding="utf-8") as f:
        f.write(source)
    return total


def write_png(path, img, scale):
    h, w = len(img), len(img[0])
    raw = bytearray()
    for y in range(h * scale):
        raw.append(0)
        for x in range(w * scale):
            raw.extend(img[y // scale][x // scale])
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w * scale, h * scale, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    args = argv[1:]
    if len(args) >= 2 and args[0] == "--out":
        root, args = args[1], args[2:]
    images = [make() for _, _, _, make in BITMAPS]
    check(images)
    total = write_sources(root, images)
    distinct = [len({p for r in img for p in r}) for img in images]
    everything = len({p for img in images for r in img for p in r})
    print(f"{total} pixels; distinct colours {everything} in all, per bitmap {distinct}")
    if len(args) == 2 and args[0] == "--preview":
        os.makedirs(args[1], exist_ok=True)
        for (name, _, _, _), img in zip(BITMAPS, images):
            write_png(os.path.join(args[1], name + ".png"), img, 16)
        write_png(os.path.join(args[1], "controls.png"), preview_controls(images), 4)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
