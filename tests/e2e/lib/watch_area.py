#!/usr/bin/env python3
"""Watches a rectangle of a window and tells when it first changes.

Reads the rectangle straight from the X server about every 10 ms, which a
screenshot program started for each look cannot do on a busy machine. The
first read is the reference. Prints, on one line, the wall-clock time in
milliseconds since the epoch at which a read that shows a change had
returned: the change was on the screen by then. Prints "none" when nothing
changed within the given seconds.

usage: watch_area.py <window id> <x> <y> <width> <height> <seconds>
       (DISPLAY names the X server; "ready" goes to standard error once the
       reference has been read)
"""

import ctypes
import ctypes.util
import sys
import time

Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(~0 & 0xFFFFFFFFFFFFFFFF)


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as they are read here.
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.c_void_p),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
    ]


def main():
    if len(sys.argv) != 7:
        print(__doc__.strip().splitlines()[-3], file=sys.stderr)
        return 2
    window = int(sys.argv[1], 0)
    x, y, w, h = (int(v) for v in sys.argv[2:6])
    seconds = float(sys.argv[6])
    xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XGetImage.restype = ctypes.POINTER(XImage)
    xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                               ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    xlib.XFree.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = xlib.XOpenDisplay(None)
    if not display:
        print("watch_area.py: cannot open the display", file=sys.stderr)
        return 1

    def read():
        image = xlib.XGetImage(display, window, x, y, w, h, ALL_PLANES, Z_PIXMAP)
        if not image:
            return None
        size = image.contents.bytes_per_line * image.contents.height
        pixels = ctypes.string_at(image.contents.data, size)
        xlib.XFree(image.contents.data)
        xlib.XFree(image)
        return pixels

    reference = read()
    if reference is None:
        print("watch_area.py: cannot read the window", file=sys.stderr)
        return 1
    print("ready", file=sys.stderr, flush=True)
    deadline = time.monotonic() + seconds
    result = "none"
    while time.monotonic() < deadline:
        now = read()
        if now is not None and now != reference:
            result = str(int(time.time() * 1000))
            break
        time.sleep(0.01)
    print(result, flush=True)
    xlib.XCloseDisplay(display)
    return 0


if __name__ == "__main__":
    sys.exit(main())
