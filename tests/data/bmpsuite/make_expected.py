#!/usr/bin/env python3
"""Writes expected.tsv: what the BMP Suite's reference pictures show, for the files the loader
decodes, as a checksum of the expected pixels.

usage: make_expected.py REFERENCE_DIR > expected.tsv    (needs netpbm's pngtopnm)

The reference PNGs belong to the suite's documentation (GPL-3.0) and are not copied into this
project; only these checksums are kept. Each checksum is the 64-bit FNV-1a of the picture's
8-bit red, green, blue bytes, top row first (16-bit references rounded to 8 bits; transparent
pixels on black, which is what the loader leaves where a run-length file skips pixels).
"""
import subprocess
import sys

# file, reference picture. Files of one picture share it; where the suite offers several
# renderings, the one with skipped pixels shown black ("-b") or the unstretched one ("-e").
FILES = [
    ("g/pal1.bmp", "pal1.png"), ("g/pal1wb.bmp", "pal1.png"), ("g/pal1bg.bmp", "pal1bg.png"),
    ("g/pal4.bmp", "pal4.png"), ("g/pal4gs.bmp", "pal4gs.png"), ("g/pal4rle.bmp", "pal4.png"),
    ("g/pal8.bmp", "pal8.png"), ("g/pal8-0.bmp", "pal8.png"), ("g/pal8gs.bmp", "pal8gs.png"),
    ("g/pal8rle.bmp", "pal8.png"), ("g/pal8topdown.bmp", "pal8.png"), ("g/pal8os2.bmp", "pal8.png"),
    ("g/pal8w124.bmp", "pal8w124.png"), ("g/pal8w125.bmp", "pal8w125.png"),
    ("g/pal8w126.bmp", "pal8w126.png"), ("g/pal8nonsquare.bmp", "pal8nonsquare-e.png"),
    ("g/rgb16.bmp", "rgb16.png"), ("g/rgb16bfdef.bmp", "rgb16.png"),
    ("g/rgb16-565.bmp", "rgb16-565.png"), ("g/rgb16-565pal.bmp", "rgb16-565.png"),
    ("g/rgb24.bmp", "rgb24.png"), ("g/rgb24pal.bmp", "rgb24.png"), ("g/rgb32.bmp", "rgb24.png"),
    ("g/rgb32bf.bmp", "rgb24.png"), ("g/rgb32bfdef.bmp", "rgb24.png"),
    ("q/pal1p1.bmp", "pal1p1.png"), ("q/pal4rlecut.bmp", "pal4rlecut-b.png"),
    ("q/pal4rletrns.bmp", "pal4rletrns-b.png"), ("q/pal8rlecut.bmp", "pal8rlecut-b.png"),
    ("q/pal8rletrns.bmp", "pal8rletrns-b.png"), ("q/pal8offs.bmp", "pal8.png"),
    ("q/pal8oversizepal.bmp", "pal8.png"), ("q/pal8os2-sz.bmp", "pal8.png"),
    ("q/pal8os2-hs.bmp", "pal8.png"), ("q/pal8os2sp.bmp", "pal8.png"),
    ("q/pal8os2v2-40sz.bmp", "pal8.png"), ("q/rgb16faketrns.bmp", "rgb16.png"),
    ("q/rgb16-231.bmp", "rgb16-231.png"), ("q/rgb16-3103.bmp", "rgb16-3103.png"),
    ("q/rgb24largepal.bmp", "rgb24.png"), ("q/rgb32fakealpha.bmp", "rgb24.png"),
    ("q/rgb32-7187.bmp", "rgb32-7187.png"), ("b/rgb16-880.bmp", "rgb16-880.png"),
]


def read_reference(path):
    pnm = subprocess.run(["pngtopnm", "-mix", "-background=black", path], check=True,
                         capture_output=True).stdout
    pnm = subprocess.run(["ppmtoppm"], input=pnm, check=True, capture_output=True).stdout
    magic, width, height, maxval, data = pnm.split(maxsplit=4)
    assert magic == b"P6"
    width, height, maxval = int(width), int(height), int(maxval)
    if maxval == 255:
        return width, height, data[: width * height * 3]
    samples = [(data[2 * i] << 8) | data[2 * i + 1] for i in range(width * height * 3)]
    return width, height, bytes((v * 255 + maxval // 2) // maxval for v in samples)


def fnv1a(data):
    value = 14695981039346656037
    for byte in data:
        value = ((value ^ byte) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return value


def main():
    reference = sys.argv[1]
    print("# file\twidth\theight\tFNV-1a 64 of RGB, top row first\treference picture")
    for name, picture in FILES:
        width, height, rgb = read_reference(f"{reference}/{picture}")
        print(f"{name}\t{width}\t{height}\t{fnv1a(rgb):016x}\t{picture}")


if __name__ == "__main__":
    main()
