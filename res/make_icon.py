#!/usr/bin/env python3
"""Writes app.ico: one 32 x 32 image with 16 colours (4 bits per pixel).

The picture: a large window frame (the parent) holding a small one (the child), with a line
from the small window's title bar to a third, floating window (its owner).
Run from any folder: python3 res/make_icon.py
"""
import os
import struct

PALETTE = [  # the 16 standard VGA colours, as (B, G, R, 0)
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
    (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
BLACK, NAVY, GRAY, WHITE, YELLOW, SILVER = 0, 4, 8, 15, 14, 7

def picture():
    px = [[None] * 32 for _ in range(32)]  # None is transparent

    def window(x0, y0, x1, y1, title):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                px[y][x] = BLACK if edge else (title if y <= y0 + 3 else WHITE)

    window(1, 1, 24, 22, NAVY)       # the parent
    window(5, 8, 16, 18, GRAY)       # its child
    window(19, 20, 30, 30, 12)       # a floating owner (blue title)
    for i in range(8):               # the owner line, child -> owner
        px[17 + i // 2][16 + i // 2 + i % 2] = YELLOW
    return px

def main():
    px = picture()
    xor = bytearray()
    for y in range(31, -1, -1):  # bottom-up rows
        row = px[y]
        for x in range(0, 32, 2):
            a = row[x] if row[x] is not None else 0
            b = row[x + 1] if row[x + 1] is not None else 0
            xor.append((a << 4) | b)
    andmask = bytearray()
    for y in range(31, -1, -1):
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if px[y][x] is None else 0)
        andmask += struct.pack('>I', bits)
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(andmask), 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (b, g, r) in PALETTE)
    image = header + pal + xor + andmask
    ico = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 22)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'app.ico')
    with open(out, 'wb') as f:
        f.write(ico + image)

if __name__ == '__main__':
    main()
