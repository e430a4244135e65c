#!/usr/bin/env python3
"""Draws the program's bitmaps and writes them as XPM text art beside this script.

Run it after changing a picture: python3 resources/drawbitmaps.py
The .xpm files it writes are what the build compiles in; keep both in step.
Pass --preview DIR to also write each picture enlarged 8 times as PNG (not committed).
"""
import math
import os
import struct
import sys
import zlib

# The 16 colours of a classic VGA palette, plus "None" for icon transparency.
PALETTE = {
    'k': (0, 0, 0), 'm': (128, 0, 0), 'G': (0, 128, 0), 'o': (128, 128, 0),
    'n': (0, 0, 128), 'u': (128, 0, 128), 't': (0, 128, 128), 's': (192, 192, 192),
    'g': (128, 128, 128), 'r': (255, 0, 0), 'l': (0, 255, 0), 'y': (255, 255, 0),
    'b': (0, 0, 255), 'p': (255, 0, 255), 'c': (0, 255, 255), 'w': (255, 255, 255),
    ' ': None,
}
KEY_OF = {v: k for k, v in PALETTE.items()}
FREE = 'b'        # free part of the drive and memory bars; the used part is painted red
CLEAR = 'p'       # bottom-left colour of button glyphs: drawn as transparent


class Pic:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        """Right and bottom exclusive."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0 + 1, c)
        self.fill(x0, y1 - 1, x1, y1, c)
        self.fill(x0, y0, x0 + 1, y1, c)
        self.fill(x1 - 1, y0, x1, y1, c)

    def bevel(self, x0, y0, x1, y1, light, dark):
        self.fill(x0, y0, x1, y0 + 1, light)
        self.fill(x0, y0, x0 + 1, y1, light)
        self.fill(x0, y1 - 1, x1, y1, dark)
        self.fill(x1 - 1, y0, x1, y1, dark)

    def line(self, x0, y0, x1, y1, c):
        """Inclusive of both ends."""
        n = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(n + 1):
            t = i / n if n else 0
            self.set(round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t), c)

    def art(self, x0, y0, rows, keys=None):
        """Copies a grid of characters; '.' leaves the pixel as it is."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != '.':
                    self.set(x0 + dx, y0 + dy, keys.get(ch, ch) if keys else ch)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)


class Fine:
    """A picture laid out on the grid of its 1x design, drawn at n times the
    density: areas grow n times, while outlines and bevels stay one pixel thin
    on the outer edge of what they surround. At n = 1 it draws as Pic does."""

    def __init__(self, w, h, fill, n):
        self.n = n
        self.p = Pic(w * n, h * n, fill)

    def area(self, x0, y0, x1, y1, c):
        n = self.n
        self.p.fill(x0 * n, y0 * n, x1 * n, y1 * n, c)

    def dot(self, x, y, c):
        self.area(x, y, x + 1, y + 1, c)

    def bevel(self, x0, y0, x1, y1, light, dark, inset=0):
        """One pixel thin along the inside of the rectangle shrunk by `inset`
        device pixels; None leaves that side alone."""
        n, i = self.n, inset
        x0, y0, x1, y1 = x0 * n + i, y0 * n + i, x1 * n - i, y1 * n - i
        if light:
            self.p.fill(x0, y0, x1, y0 + 1, light)
            self.p.fill(x0, y0, x0 + 1, y1, light)
        if dark:
            self.p.fill(x0, y1 - 1, x1, y1, dark)
            self.p.fill(x1 - 1, y0, x1, y1, dark)

    def outline(self, x0, y0, x1, y1, c):
        """A frame one pixel thin hugging the outside of an area (a bar the
        program paints), so the area keeps exactly its place times n."""
        n = self.n
        self.p.frame(x0 * n - 1, y0 * n - 1, x1 * n + 1, y1 * n + 1, c)

    def rule(self, x0, y0, x1, y1, c):
        """A line one pixel of the design thick, one device pixel thin through
        the middle of those pixels."""
        n, m = self.n, self.n // 2
        if y1 - y0 == 1:
            self.p.fill(x0 * n, y0 * n + m, x1 * n, y0 * n + m + 1, c)
        else:
            self.p.fill(x0 * n + m, y0 * n, x0 * n + m + 1, y1 * n, c)

    def line(self, x0, y0, x1, y1, c):
        """From the middle of one pixel of the design to the middle of another."""
        n, m = self.n, self.n // 2
        self.p.line(x0 * n + m, y0 * n + m, x1 * n + m, y1 * n + m, c)

    def art(self, x0, y0, rows, lines='', under=None, diagonals=True):
        """Copies a grid of characters ('.' leaves the pixel). Pixels of the
        colours in `lines` are strokes one device pixel thin joining the
        middles of neighbouring pixels of their colour, drawn on `under`; the
        others are areas. Without `diagonals` strokes join only side by side."""
        n, m = self.n, self.n // 2
        if n == 1:
            self.p.art(x0, y0, rows)
            return
        at = lambda x, y: rows[y][x] if 0 <= y < len(rows) and 0 <= x < len(rows[y]) else '.'
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c != '.':
                    self.dot(x0 + x, y0 + y, under if c in lines else c)
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c == '.' or c not in lines:
                    continue
                self.p.set((x0 + x) * n + m, (y0 + y) * n + m, c)
                steps = [(1, 0), (0, 1)]
                if diagonals:
                    # A diagonal step only where no pixel beside it joins the two.
                    steps += [(dx, 1) for dx in (1, -1) if at(x + dx, y) != c and at(x, y + 1) != c]
                for dx, dy in steps:
                    if at(x + dx, y + dy) == c:
                        self.line(x0 + x, y0 + y, x0 + x + dx, y0 + y + dy, c)


def rows_of(p):
    return [''.join(row) for row in p.px]


# ---------------------------------------------------------------- fonts

LETTERS = {
    'A': [".kkk.", "k...k", "k...k", "kkkkk", "k...k", "k...k", "k...k"],
    'B': ["kkkk.", "k...k", "k...k", "kkkk.", "k...k", "k...k", "kkkk."],
    'C': [".kkk.", "k...k", "k....", "k....", "k....", "k...k", ".kkk."],
    'D': ["kkkk.", "k...k", "k...k", "k...k", "k...k", "k...k", "kkkk."],
    'E': ["kkkkk", "k....", "k....", "kkkk.", "k....", "k....", "kkkkk"],
    'F': ["kkkkk", "k....", "k....", "kkkk.", "k....", "k....", "k...."],
    'G': [".kkk.", "k...k", "k....", "k.kkk", "k...k", "k...k", ".kkkk"],
    'H': ["k...k", "k...k", "k...k", "kkkkk", "k...k", "k...k", "k...k"],
    'I': [".kkk.", "..k..", "..k..", "..k..", "..k..", "..k..", ".kkk."],
    'J': ["..kkk", "...k.", "...k.", "...k.", "...k.", "k..k.", ".kk.."],
    'K': ["k...k", "k..k.", "k.k..", "kk...", "k.k..", "k..k.", "k...k"],
    'L': ["k....", "k....", "k....", "k....", "k....", "k....", "kkkkk"],
    'M': ["k...k", "kk.kk", "k.k.k", "k.k.k", "k...k", "k...k", "k...k"],
    'N': ["k...k", "kk..k", "k.k.k", "k..kk", "k...k", "k...k", "k...k"],
    'O': [".kkk.", "k...k", "k...k", "k...k", "k...k", "k...k", ".kkk."],
    'P': ["kkkk.", "k...k", "k...k", "kkkk.", "k....", "k....", "k...."],
    'Q': [".kkk.", "k...k", "k...k", "k...k", "k.k.k", "k..k.", ".kk.k"],
    'R': ["kkkk.", "k...k", "k...k", "kkkk.", "k.k..", "k..k.", "k...k"],
    'S': [".kkkk", "k....", "k....", ".kkk.", "....k", "....k", "kkkk."],
    'T': ["kkkkk", "..k..", "..k..", "..k..", "..k..", "..k..", "..k.."],
    'U': ["k...k", "k...k", "k...k", "k...k", "k...k", "k...k", ".kkk."],
    'V': ["k...k", "k...k", "k...k", "k...k", "k...k", ".k.k.", "..k.."],
    'W': ["k...k", "k...k", "k...k", "k.k.k", "k.k.k", "k.k.k", ".k.k."],
    'X': ["k...k", "k...k", ".k.k.", "..k..", ".k.k.", "k...k", "k...k"],
    'Y': ["k...k", "k...k", ".k.k.", "..k..", "..k..", "..k..", "..k.."],
    'Z': ["kkkkk", "....k", "...k.", "..k..", ".k...", "k....", "kkkkk"],
}

# Seven segments: a top, b top right, c bottom right, d bottom, e bottom left,
# f top left, g middle.
SEGMENTS = {
    0: 'abcdef', 1: 'bc', 2: 'abged', 3: 'abgcd', 4: 'fgbc', 5: 'afgcd',
    6: 'afgedc', 7: 'abc', 8: 'abcdefg', 9: 'abcdfg', 'G': 'afedc',
}


def seven_segment(pic, x0, y0, w, h, digit, c='k', closed=False):
    """Segments one pixel thick. Big digits leave their corners open so they read as
    a display; at 4 pixels wide that leaves too little, so small ones close them."""
    mid = (h - 1) // 2
    segs = SEGMENTS[digit]
    a, b = (x0, x0 + w) if closed else (x0 + 1, x0 + w - 1)
    if 'a' in segs:
        pic.fill(a, y0, b, y0 + 1, c)
    if 'g' in segs:
        pic.fill(a, y0 + mid, b, y0 + mid + 1, c)
    if 'd' in segs:
        pic.fill(a, y0 + h - 1, b, y0 + h, c)
    if 'f' in segs:
        pic.fill(x0, y0 + 1, x0 + 1, y0 + mid, c)
    if 'b' in segs:
        pic.fill(x0 + w - 1, y0 + 1, x0 + w, y0 + mid, c)
    if 'e' in segs:
        pic.fill(x0, y0 + mid + 1, x0 + 1, y0 + h - 1, c)
    if 'c' in segs:
        pic.fill(x0 + w - 1, y0 + mid + 1, x0 + w, y0 + h - 1, c)
    if digit == 'G':
        # The G's inner bar, and its top right corner turned down a little.
        pic.set(x0 + w - 2, y0 + mid, c)
        pic.set(x0 + w - 1, y0 + 1, c)
    if digit == 1 or (closed and digit in (4, 7)):
        # Without the gap at the middle the stroke reads as one line.
        pic.fill(x0 + w - 1, y0 + (0 if closed else 1), x0 + w, y0 + h - (0 if closed else 1), c)
    if closed and digit == 'G':
        pic.set(x0 + w - 1, y0 + 1, 'w')


# ---------------------------------------------------------------- pictures

def let_6(n=1):
    f = Fine(26 * 6, 9, 'w', n)
    for i, ch in enumerate(sorted(LETTERS)):
        f.art(6 * i, 1, LETTERS[ch], 'k', 'w')
    return f.p


def digits_5(n=1):
    f = Fine(71, 11, 'w', n)
    for d in range(10):
        cell = Pic(5, 11, '.')
        seven_segment(cell, 0, 0, 5, 11, d)
        f.art(5 * d, 0, rows_of(cell), 'k', 'w', diagonals=False)
    # The no-disk sign: a small disk crossed out, 10 x 11 at x = 59.
    sign = Pic(10, 11, '.')
    sign.art(0, 0, [
        "...rrrr...",
        ".rr....rr.",
        ".r.kkkk.r.",
        "r.kk.wkr.r",
        "r.kk..rk.r",
        "r.kk.r.k.r",
        "r.kkrkkk.r",
        "r.krkkkk.r",
        ".rr....rr.",
        ".r.rrrr.r.",
        "..r....r..",
    ])
    sign.fill(0, 9, 10, 11, '.')
    sign.art(0, 8, ["..rrrrrr.."])
    f.art(59, 0, rows_of(sign), 'r', 'w')
    return f.p


def num_4(n=1):
    f = Fine(46, 22, 'w', n)
    for top, h in ((0, 6), (6, 7), (13, 9)):
        for d in list(range(10)) + ['G']:
            cell = Pic(4, h, '.')
            seven_segment(cell, 0, 0, 4, h, d, closed=True)
            if d == 'G' and n > 1:
                # The G's inner bar joins its right side, as a stroke has room to.
                cell.set(3, (h - 1) // 2, 'k')
            f.art(40 if d == 'G' else 4 * d, top, rows_of(cell), 'k', 'w', diagonals=False)
    return f.p


def spin(up):
    p = Pic(9, 6, 'o')
    rows = [(4, 4), (3, 5), (2, 6), (1, 7)]
    for i, (a, b) in enumerate(rows if up else rows[::-1]):
        p.fill(a, 1 + i, b + 1, 2 + i, 'k')
    return p


def boton_b():
    """The tile a launcher's icon sits on: a raised square with rounded corners."""
    p = Pic(36, 36, 's')
    p.bevel(0, 0, 36, 36, 's', 'k')
    p.bevel(1, 1, 35, 35, 'w', 'g')
    for x, y in ((0, 0), (34, 0), (0, 34), (34, 34)):
        p.fill(x, y, x + 2, y + 2, CLEAR)
    p.set(1, 1, 's')
    p.set(34, 1, 'g')
    p.set(1, 34, 'g')
    p.set(34, 34, 'k')
    return p


def folder(w, h, scale, open_):
    p = Pic(w, h, CLEAR)
    s = scale
    if not open_:
        # Back with its tab, then the front.
        x0, y0, x1, y1 = 2 * s, 4 * s + 1, w - 2 * s, h - 3 * s
        p.fill(x0, y0 - 2 * s, x0 + 6 * s, y0 + 1, 'o')
        p.fill(x0 + 1, y0 - 2 * s + 1, x0 + 6 * s - 1, y0 + 1, 'y')
        p.fill(x0, y0, x1, y1, 'k')
        p.fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 'y')
        p.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 1 + s, 'w')
        p.fill(x0 + 1, y1 - 1 - s, x1 - 1, y1 - 1, 'o')
        p.fill(x1 - 1 - s, y0 + 1, x1 - 1, y1 - 1, 'o')
        p.frame(x0, y0 - 2 * s, x0 + 6 * s, y0 + 1, 'k')
        p.fill(x0 + 1, y0, x0 + 6 * s - 1, y0 + 1, 'y')
        p.fill(x0 + 1, y0, x1 - 1, y0 + 1, 'k')
        p.fill(x0 + 1, y0, x0 + 6 * s - 1, y0 + 1, 'y')
        p.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 2, 'w')
        # A shadow under it so it stands on the button face, half the scale
        # thick (one pixel on the pictures of ordinary screens).
        t = max(1, s // 2)
        p.fill(x0 + 2 * t, y1, x1 + t, y1 + t, 'g')
        p.fill(x1, y0 + 2 * t, x1 + t, y1 + t, 'g')
        return p
    # Open: the back, a sheet of paper, and the front flap tipped forward.
    x0, y0, x1, y1 = 2 * s, 4 * s + 1, w - 4 * s, h - 3 * s
    p.fill(x0, y0 - 2 * s, x0 + 6 * s, y0 + 1, 'k')
    p.fill(x0 + 1, y0 - 2 * s + 1, x0 + 6 * s - 1, y0 + 1, 'o')
    p.fill(x0, y0, x1, y1, 'k')
    p.fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 'o')
    p.fill(x0 + 3 * s, y0 - s, x1 - 2 * s, y1 - 2 * s, 'k')
    p.fill(x0 + 3 * s + 1, y0 - s + 1, x1 - 2 * s - 1, y1 - 2 * s, 'w')
    for i in range(3):
        yy = y0 + s + 1 + i * 2 * s
        if yy < y1 - 3 * s:
            p.fill(x0 + 4 * s, yy, x1 - 3 * s, yy + 1, 's')
    top = y0 + 4 * s
    rows = y1 - top
    for i in range(rows):
        # Each row of the flap leans one step further left going down.
        left = x0 + 4 * s - (i * 4 * s) // max(rows - 1, 1)
        right = w - 1 - (i * 4 * s) // max(rows - 1, 1)
        p.fill(left, top + i, right, top + i + 1, 'y')
        p.set(left, top + i, 'k')
        p.set(right, top + i, 'k')
    p.fill(x0 + 4 * s, top, w, top + 1, 'k')
    p.fill(x0, y1 - 1, w - 4 * s, y1, 'k')
    p.fill(x0 + 4 * s + 1, top + 1, w - 1, top + 2, 'w')
    return p


def without_clear(p):
    """The clear colour as real transparency, for pictures drawn over others."""
    for row in p.px:
        row[:] = [' ' if c == CLEAR else c for c in row]
    return p


def no_icon():
    """A blank page with a question mark: an icon we could not find."""
    p = Pic(32, 32, ' ')
    p.fill(6, 2, 24, 30, 'k')
    p.fill(7, 3, 23, 29, 'w')
    # Folded top right corner.
    p.art(17, 2, [
        "k      ",
        "kk     ",
        "ksk    ",
        "kssk   ",
        "ksssk  ",
        "kssssk ",
        "kkkkkkk",
    ], {' ': ' '})
    p.fill(24, 2, 25, 8, ' ')
    p.fill(23, 8, 24, 30, 'k')
    p.fill(6, 29, 24, 30, 'k')
    p.fill(24, 9, 26, 31, 'g')
    p.fill(8, 30, 26, 31, 'g')
    p.art(10, 10, [
        "..bbbbbb..",
        ".bbbbbbbb.",
        "bbb....bbb",
        "bb......bb",
        "........bb",
        ".......bbb",
        ".....bbbb.",
        "....bbbb..",
        "....bbb...",
        "....bb....",
        "..........",
        "....bb....",
        "....bb....",
    ], {'b': 'n'})
    return p


def bclock():
    p = Pic(36, 36, 's')
    # Pixel (18, 18) is the centre, so the dial is centred on its middle.
    c = 18.5
    p.disc(c - 0.5, c - 0.5, 17.0, 'g')
    p.disc(c + 0.5, c + 0.5, 17.0, 'w')
    p.disc(c, c, 16.6, 'k')
    p.disc(c, c, 15.7, 'w')
    # Twelve hour dots on a circle of radius 15 around the centre pixel (18, 18);
    # quarters get a 2 x 2 dot.
    for h in range(12):
        a = math.radians(h * 30)
        x = round(18 + 13.5 * math.sin(a))
        y = round(18 - 13.5 * math.cos(a))
        if h % 3 == 0:
            p.fill(x, y, x + 1, y + 1, 'n')
            p.set(x - (h == 9), y - (h == 0), 'n')
            p.set(x + (h == 3), y + (h == 6), 'n')
        else:
            p.set(x, y, 'n')
    p.set(18, 18, 'k')
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        p.set(18 + dx, 18 + dy, 'g')
    return p


def drive_base(kind, letter_place=True, n=1):
    """36 x 36: display panel on top, drive drawing at (5..24, 16..27), letter box at
    (26..31, 17..25), bar at (5..30, 29..33)."""
    f = Fine(36, 36, 's', n)
    # Display panel for the digits: white, in a sunken frame just outside (5..30, 4..14),
    # black inside its top and left.
    f.area(3, 2, 33, 16, 'w')
    f.bevel(3, 2, 33, 16, 'g', 'w')
    f.bevel(3, 2, 33, 16, 'k', None, inset=1)
    # Letter box.
    if letter_place:
        f.area(25, 16, 33, 27, 'w')
        f.bevel(25, 16, 33, 27, 'g', 'w')
    # Bar: free colour inside a black outline.
    f.area(5, 29, 31, 34, FREE)
    f.outline(5, 29, 31, 34, 'k')
    kind(f)
    return f.p


def draw_box(f, x0, y0, x1, y1, face='s'):
    """A drive unit front, raised."""
    f.area(x0, y0, x1, y1, face)
    f.bevel(x0, y0, x1, y1, 'w', 'k')
    f.bevel(x0, y0, x1, y1, None, 'g', inset=1)


def hard_disk(f):
    draw_box(f, 5, 18, 25, 27)
    f.rule(7, 21, 17, 22, 'g')
    f.rule(7, 23, 17, 24, 'g')
    f.area(20, 22, 22, 24, 'l')
    f.dot(20, 22, 'G')


def floppy_drive(f):
    draw_box(f, 5, 17, 25, 27)
    # The slot, with a diskette peeking out, and the eject button.
    f.area(7, 20, 21, 22, 'k')
    f.area(9, 19, 17, 20, 'n')
    f.area(11, 19, 14, 20, 's')
    f.area(18, 23, 22, 25, 'g')
    f.area(18, 23, 21, 24, 'w')
    f.dot(8, 24, 'l')


def cd_drive(f):
    draw_box(f, 5, 21, 25, 27)
    f.rule(7, 23, 17, 24, 'k')
    f.dot(21, 23, 'y')
    # A disc resting on the tray.
    f.art(6, 16, [
        "...ggggggggg...",
        ".ggwwcccwwwwwgg",
        "gwwwccwkwwyywwg",
        ".ggwwwwwwyywwgg",
        "...ggggggggg...",
    ])


def net_drive(alive, second):
    def draw(f):
        draw_box(f, 5, 16, 25, 23, 's' if not second else 'c')
        f.rule(7, 19, 14, 20, 'g')
        f.area(20, 18, 22, 20, 'l' if alive else 'r')
        # Cable down from the drive to the network line.
        f.area(14, 23, 16, 26, 'k')
        f.area(5, 26, 25, 28, 'k' if not second else 'n')
        f.area(6, 26, 24, 27, 'G' if alive else 'g')
        if second:
            # No drive letter: a little globe of the network instead.
            f.area(26, 17, 32, 26, 's')
            f.art(26, 17, [
                ".nnnn.",
                "ncccln",
                "nclccn",
                "ncllcn",
                "ncccln",
                "nlcccn",
                ".nnnn.",
            ])
        if not alive:
            f.line(11, 20, 17, 26, 'r')
            f.line(17, 20, 11, 26, 'r')
    return draw


def minidrive(n=1):
    f = Fine(17, 17, 's', n)
    draw_box(f, 1, 2, 10, 10)
    f.rule(3, 5, 7, 6, 'g')
    f.dot(7, 7, 'l')
    f.area(11, 1, 17, 10, 'w')
    f.area(1, 12, 16, 16, FREE)
    f.outline(1, 12, 16, 16, 'k')
    return f.p


def bmem(n=1):
    f = Fine(36, 36, 's', n)
    for x0, y0, x1, y1 in ((2, 2, 16, 11), (20, 5, 34, 11), (2, 19, 16, 28), (20, 22, 34, 28)):
        f.area(x0, y0, x1, y1, 'w')
    # A slash between used and total.
    for y0 in (2, 19):
        if n == 1:
            for i in range(8):
                f.p.set(18 - i // 3, y0 + 1 + i, 'g')
        else:
            f.line(18, y0 + 1, 16, y0 + 8, 'g')
    for y0 in (11, 28):
        f.area(2, y0 + 1, 28, y0 + 6, FREE)
        f.outline(2, y0 + 1, 28, y0 + 6, 'k')
    f.art(30, 12, ["nnn.", "n..n", "nnn.", "n...", "n..."], 'n', 's')
    f.art(30, 29, ["n...n", "nn.nn", "n.n.n", "n...n", "n...n"], 'n', 's')
    return f.p


def minimem(n=1):
    f = Fine(17, 17, 's', n)
    # Row 0 stays blank: the 3-pixel pen that erases an item's frame reaches it.
    f.art(2, 1, [
        "k...k.kkk.k...k",
        "kk.kk.k...kk.kk",
        "k.k.k.kk..k.k.k",
        "k...k.k...k...k",
        "k...k.kkk.k...k",
    ], 'k', 's')
    f.outline(1, 7, 16, 16, 'k')
    f.area(1, 7, 16, 11, FREE)
    f.area(1, 11, 16, 12, 's')
    f.area(1, 12, 16, 16, FREE)
    return f.p


def tolm_icon():
    """A small shelf window holding four buttons."""
    p = Pic(48, 48, ' ')
    p.fill(3, 5, 46, 44, 's')
    p.bevel(3, 5, 46, 44, 's', 'k')
    p.bevel(4, 6, 45, 43, 'w', 'g')
    p.fill(6, 8, 43, 14, 'n')
    p.fill(38, 9, 42, 13, 's')
    p.bevel(38, 9, 42, 13, 'w', 'k')
    p.fill(8, 10, 20, 12, 'w')
    colours = [('y', 'o'), ('l', 'G'), ('r', 'm'), ('c', 't')]
    for i, (light, dark) in enumerate(colours):
        x = 7 + (i % 2) * 18
        y = 16 + (i // 2) * 13
        p.fill(x, y, x + 16, y + 12, 's')
        p.bevel(x, y, x + 16, y + 12, 'w', 'k')
        p.bevel(x + 1, y + 1, x + 15, y + 11, 's', 'g')
        p.fill(x + 4, y + 3, x + 12, y + 9, dark)
        p.fill(x + 4, y + 3, x + 11, y + 8, light)
    p.fill(46, 7, 47, 45, 'g')
    p.fill(5, 44, 47, 45, 'g')
    return p


def about():
    """280 x 120, true colour: dusk sky over a shelf of buttons. The left half stays
    calm for the labels drawn over it."""
    w, h = 280, 120
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            t = y / (h - 1)
            r = int(10 + 40 * t + 25 * (x / w))
            g = int(30 + 90 * t)
            b = int(110 + 100 * t)
            # Soft light from the lower right.
            d = math.hypot(x - 250, y - 130) / 300
            glow = max(0.0, 1 - d)
            r = min(255, int(r + 120 * glow ** 3))
            g = min(255, int(g + 90 * glow ** 3))
            b = min(255, int(b + 30 * glow ** 3))
            row.append((r & 0xF8, g & 0xF8, b & 0xF8))
        rows.append(row)

    def box(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(h, y1)):
            for x in range(max(0, x0), min(w, x1)):
                rows[y][x] = c

    # The shelf: a plank with its shadow.
    box(150, 96, 272, 101, (200, 160, 96))
    box(150, 96, 272, 97, (232, 200, 136))
    box(150, 101, 272, 103, (96, 64, 32))
    box(156, 103, 270, 106, (24, 40, 80))
    # Buttons standing on it: raised tiles with a coloured square each.
    tiles = [(160, (248, 216, 64)), (186, (72, 200, 96)), (212, (232, 72, 64)), (238, (64, 176, 232))]
    for x, colour in tiles:
        y = 72
        box(x, y, x + 22, y + 24, (192, 192, 192))
        box(x, y, x + 22, y + 1, (255, 255, 255))
        box(x, y, x + 1, y + 24, (255, 255, 255))
        box(x, y + 23, x + 22, y + 24, (0, 0, 0))
        box(x + 21, y, x + 22, y + 24, (0, 0, 0))
        box(x + 1, y + 22, x + 21, y + 23, (128, 128, 128))
        box(x + 20, y + 1, x + 21, y + 23, (128, 128, 128))
        box(x + 5, y + 5, x + 17, y + 17, tuple(c // 2 for c in colour))
        box(x + 5, y + 5, x + 16, y + 16, colour)
    # A clock face on the last-but-one shelf place, above the row.
    cx, cy, rad = 250, 40, 15
    for y in range(cy - rad - 1, cy + rad + 2):
        for x in range(cx - rad - 1, cx + rad + 2):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d <= rad - 1:
                rows[y][x] = (248, 248, 248)
            elif d <= rad + 0.5:
                rows[y][x] = (40, 40, 72)
    for i in range(12):
        a = math.radians(i * 30)
        rows[round(cy - 0.5 - 12 * math.cos(a))][round(cx - 0.5 + 12 * math.sin(a))] = (0, 0, 128)
    for t in range(10):
        rows[cy - 1 - t][cx - 1] = (0, 0, 0)
    for t in range(7):
        rows[cy - 1][cx - 1 + t] = (0, 0, 0)
    return rows


# ---------------------------------------------------------------- output

def xpm_from_pic(name, pic):
    used = sorted({c for row in pic.px for c in row})
    lines = ['/* XPM */', 'static const char *%s[] = {' % name.lower(),
             '"%d %d %d 1",' % (pic.w, pic.h, len(used))]
    for c in used:
        rgb = PALETTE[c]
        lines.append('"%s c %s",' % (c, 'None' if rgb is None else '#%02X%02X%02X' % rgb))
    for i, row in enumerate(pic.px):
        lines.append('"%s"%s' % (''.join(row), ',' if i + 1 < pic.h else ''))
    lines.append('};')
    return '\n'.join(lines) + '\n'


def xpm_from_rgb(name, rows):
    colours = sorted({c for row in rows for c in row})
    chars = [chr(c) for c in range(35, 127) if chr(c) not in '"\\']
    codes = {}
    for i, c in enumerate(colours):
        codes[c] = chars[i // len(chars)] + chars[i % len(chars)]
    h, w = len(rows), len(rows[0])
    lines = ['/* XPM */', 'static const char *%s[] = {' % name.lower(),
             '"%d %d %d 2",' % (w, h, len(colours))]
    for c in colours:
        lines.append('"%s c #%02X%02X%02X",' % ((codes[c],) + c))
    for i, row in enumerate(rows):
        lines.append('"%s"%s' % (''.join(codes[c] for c in row), ',' if i + 1 < h else ''))
    lines.append('};')
    return '\n'.join(lines) + '\n'


def png(path, rows, scale):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        line = bytearray()
        for c in row:
            line += bytes(c if c is not None else (255, 0, 255)) * scale
        for _ in range(scale):
            raw += b'\x00' + line
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n')
        f.write(chunk(b'IHDR', struct.pack('>IIBBBBB', w * scale, h * scale, 8, 2, 0, 0, 0)))
        f.write(chunk(b'IDAT', zlib.compress(bytes(raw), 9)))
        f.write(chunk(b'IEND', b''))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    preview = sys.argv[sys.argv.index('--preview') + 1] if '--preview' in sys.argv else None
    pics = {
        'boton_b': boton_b(),
        'carpeta': folder(36, 36, 2, False),
        'carpeta_a': folder(36, 36, 2, True),
        'carpeta2': folder(18, 17, 1, False),
        'carpeta2_a': folder(18, 17, 1, True),
        'NO_ICON': no_icon(),
        'bclock': bclock(),
        'floppy': drive_base(floppy_drive),
        'drive': drive_base(hard_disk),
        'net': drive_base(net_drive(True, False)),
        'nonet': drive_base(net_drive(False, False)),
        'net2': drive_base(net_drive(True, True)),
        'nonet2': drive_base(net_drive(False, True)),
        'cdrom': drive_base(cd_drive),
        'minidrive': minidrive(),
        'LET_6': let_6(),
        'DIGITS_5': digits_5(),
        'NUM_4': num_4(),
        'bmem': bmem(),
        'minimem': minimem(),
        'SpinUp': spin(True),
        'SpinDown': spin(False),
        'tolm': tolm_icon(),
    }
    # The folders again at twice and three times the size, for screens of that
    # density: the same drawing at a finer scale, its outlines one pixel thin.
    for n in (2, 3):
        for name, w, h, s in (('carpeta', 36, 36, 2), ('carpeta2', 18, 17, 1)):
            for suffix, open_ in (('', False), ('_a', True)):
                pics['%s%s_%dx' % (name, suffix, n)] = without_clear(folder(w * n, h * n, s * n, open_))
        # The drive and memory pictures and the glyphs drawn on them, laid
        # out as at 1x with every place n times as far.
        kinds = {
            'floppy': floppy_drive, 'drive': hard_disk, 'net': net_drive(True, False),
            'nonet': net_drive(False, False), 'net2': net_drive(True, True),
            'nonet2': net_drive(False, True), 'cdrom': cd_drive,
        }
        for name, kind in kinds.items():
            pics['%s_%dx' % (name, n)] = drive_base(kind, n=n)
        for name, draw in (('minidrive', minidrive), ('LET_6', let_6), ('DIGITS_5', digits_5),
                           ('NUM_4', num_4), ('bmem', bmem), ('minimem', minimem)):
            pics['%s_%dx' % (name, n)] = draw(n)
    for name, pic in pics.items():
        with open(os.path.join(here, name + '.xpm'), 'w') as f:
            f.write(xpm_from_pic(name, pic))
        if preview:
            png(os.path.join(preview, name + '.png'), [[PALETTE[c] for c in row] for row in pic.px], 8)
    art = about()
    with open(os.path.join(here, 'about.xpm'), 'w') as f:
        f.write(xpm_from_rgb('about', art))
    if preview:
        png(os.path.join(preview, 'about.png'), art, 2)


if __name__ == '__main__':
    main()
