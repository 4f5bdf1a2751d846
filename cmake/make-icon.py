#!/usr/bin/env python3
"""Builds the program's .ico from its text source (res/icon.txt).

Each image is stored as a classic paletted DIB (what Windows 95 and NT 4.0
read): the 32x32 image with 8 bits per pixel and a 256-entry palette, the
16x16 one with 4 bits and 16 entries. The output depends on the source alone.
"""
import struct
import sys


def parse(path):
    palette, images, current = {}, [], None
    for raw in open(path, encoding="ascii"):
        line = raw.rstrip("\n")
        if line.startswith("#"):
            continue
        if line.startswith("palette "):
            _, ch, rgb = line.split()
            palette[ch] = int(rgb, 16)
        elif line.startswith("image "):
            current = (int(line.split()[1]), [])
            images.append(current)
        elif line and current:
            current[1].append(line)
    return palette, images


def dib(size, rows, palette, bits):
    order = list(palette)  # index 0 is the transparent colour
    colours = 1 << bits
    if len(order) > colours:
        sys.exit(f"{size}x{size}: {len(order)} colours do not fit in {bits} bits")
    if len(rows) != size or any(len(r) != size for r in rows):
        sys.exit(f"image {size}: needs {size} rows of {size} pixels")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    table = b"".join(struct.pack("<BBBB", palette[c] & 255, (palette[c] >> 8) & 255,
                                 palette[c] >> 16, 0) for c in order)
    table += b"\0" * 4 * (colours - len(order))
    xor, mask = b"", b""
    for row in reversed(rows):  # DIBs store the bottom row first
        indices = [order.index(c) for c in row]
        if bits == 8:
            line = bytes(indices)
        else:
            line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        xor += line + b"\0" * (-len(line) % 4)
        bitsrow = 0
        for c in row:
            bitsrow = (bitsrow << 1) | (1 if c == "." else 0)
        m = bitsrow.to_bytes(size // 8, "big")
        mask += m + b"\0" * (-len(m) % 4)
    return header + table + xor + mask, colours


def main(source, target):
    palette, images = parse(source)
    depth = {32: 8, 16: 4}
    blobs = [(size, *dib(size, rows, palette, depth[size])) for size, rows in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, data, colours in blobs:
        out += struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1, depth[size],
                           len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data, _ in blobs)
    with open(target, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
