#!/usr/bin/env python3
"""Draws the application icon: one 256 x 256 image at 32 bits per pixel.

A green rounded square with a white sheet of paper and teal lines of text,
written as a plain BMP-style ICO entry so that every Windows version reads it.
Run: python3 res/make_icon.py res/app.ico
"""
import struct
import sys

SIZE = 256


def inside_rounded(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(x, y):
    """BGRA colour of pixel (x, y), y counted from the top."""
    if not inside_rounded(x + 0.5, y + 0.5, 8, 8, 248, 248, 40):
        return (0, 0, 0, 0)
    colour = (0, 128, 0, 255)  # the window's green
    if 64 <= x < 192 and 40 <= y < 216:  # the sheet
        colour = (255, 255, 255, 255)
        if 168 <= x and y < 64 and (x - 168) > (y - 40):  # folded corner
            colour = (0, 128, 0, 255)
        for row in range(80, 200, 24):  # lines of text
            if row <= y < row + 10 and 84 <= x < (172 if row < 176 else 140):
                colour = (128, 128, 0, 255)
    return colour


def main(out_path):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # BMP rows run bottom-up
        rows.append(b"".join(bytes(pixel(x, y)) for x in range(SIZE)))
    xor = b"".join(rows)
    and_mask = bytes(SIZE * SIZE // 8)  # alpha carries the shape
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(image), 6 + 16)
    with open(out_path, "wb") as f:
        f.write(directory + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app.ico")
