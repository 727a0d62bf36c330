"""Writes the icon images and resource scripts of the benchmark's shortcut targets.

usage: make_bench_icons.py OUT_DIR
  target_png.rc  group 1: 16, 32 and 48 pixel 32-bit bitmaps and a 256 x 256 PNG
  target_bmp.rc  group 1: 16, 32 and 48 pixel 32-bit bitmaps; group 2: one 32 pixel bitmap
The pictures carry gradients; the PNG is a shaded disc.
"""
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui",
                                "description"))
import icofile  # noqa: E402


def bitmap_image(side, tint):
    pixels = b''.join(bytes(((x * 255) // side, (y * 255) // side, tint, 255))
                      for y in range(side) for x in range(side))
    return icofile.bitmap_header(side, side) + pixels + icofile.mask_bytes(side, side)


def png_image(side):
    # A shaded disc on a transparent ground, as program icons look: it
    # compresses about as well as a real 256-pixel icon does.
    def pixel(x, y):
        dx, dy = x - side // 2, y - side // 2
        inside = dx * dx + dy * dy < (side * 7 // 16) ** 2
        return bytes((x * 255 // side, y * 255 // side, 160, 255)) if inside else b'\0\0\0\0'
    rows = [b''.join(pixel(x, y) for x in range(side)) for y in range(side)]
    return icofile.plain_png(side, side, rows, 6)


def group(entries):
    return icofile.group_directory([(side, side, 32, size, ident) for side, size, ident in entries])


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {}
    images = [(16, bitmap_image(16, 40)), (32, bitmap_image(32, 120)), (48, bitmap_image(48, 200))]
    for i, (side, data) in enumerate(images, start=1):
        files['img%d.bin' % i] = data
    files['img4.png'] = png_image(256)
    files['img5.bin'] = bitmap_image(32, 250)
    bitmaps = [(side, len(data), i) for i, (side, data) in enumerate(images, start=1)]
    files['group_png.bin'] = group(bitmaps + [(256, len(files['img4.png']), 4)])
    files['group_bmp.bin'] = group(bitmaps)
    files['group_second.bin'] = group([(32, len(files['img5.bin']), 5)])
    icons = ''.join('%d 3 "img%d.bin"\n' % (i, i) for i in (1, 2, 3))
    files['target_png.rc'] = (icons + '4 3 "img4.png"\n1 14 "group_png.bin"\n').encode()
    files['target_bmp.rc'] = (icons + '5 3 "img5.bin"\n1 14 "group_bmp.bin"\n'
                              '2 14 "group_second.bin"\n').encode()
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


main()
