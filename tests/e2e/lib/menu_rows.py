#!/usr/bin/env python3
"""Reads the rows of a popup menu from a screenshot.

Inside the menu's 3-pixel edge, a separator is an etched line that crosses
the left margin, where no item draws; an item is a run of rows with ink
between the margin and the right edge. An item whose ink is dark somewhere
(its text is smoothed, so rarely pure black) is enabled; one drawn only in
the light etched grays is grayed. Prints one word per
row from top to bottom: E (enabled), G (grayed) or - (separator).

usage: menu_rows.py <screenshot.ppm> <x> <y> <width> <height>
"""

import sys

FACE = (212, 208, 200)
EDGE = 3
MARGIN = 10  # a column left of every item's text
DARK = 112  # no channel above this: the text colour, not the etched gray


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit("not a binary 8-bit PPM")
    width = int(fields[1])
    return width, data[at + 1:]


def main():
    path, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:6])
    width, pixels = read_ppm(path)

    def pixel(px, py):
        i = (py * width + px) * 3
        return tuple(pixels[i:i + 3])

    rows = []  # per row: "sep", "ink", "black" or ""
    for py in range(y + EDGE, y + h - EDGE):
        if pixel(x + MARGIN, py) != FACE:
            rows.append("sep")
            continue
        ink = [pixel(px, py) for px in range(x + 2 * MARGIN, x + w - EDGE)]
        ink = [p for p in ink if p != FACE]
        rows.append("black" if any(max(p) < DARK for p in ink) else "ink" if ink else "")

    words = []
    previous = ""
    black = False
    for kind in rows + [""]:
        if kind == "sep" and previous != "sep":
            words.append("-")
        if kind in ("ink", "black"):
            black = black or kind == "black"
        elif previous in ("ink", "black"):
            words.append("E" if black else "G")
            black = False
        previous = kind
    print(" ".join(words))


if __name__ == "__main__":
    main()
