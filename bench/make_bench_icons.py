"""Writes the icon images and resource scripts of the benchmark's shortcut targets.

usage: make_bench_icons.py OUT_DIR
  target_png.rc  group 1: 16, 32 and 48 pixel 32-bit bitmaps and a 256 x 256 PNG
  target_bmp.rc  group 1: 16, 32 and 48 pixel 32-bit bitmaps; group 2: one 32 pixel bitmap
The pictures carry gradients; the PNG is a shaded disc.
"""
import os
import struct
import sys
import zlib


def bitmap_image(side, tint):
    header = struct.pack('<IiiHHIIiiII', 40, side, side * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(((x * 255) // side, (y * 255) // side, tint, 255))
                      for y in range(side) for x in range(side))
    mask = b'\0' * (((side + 31) // 32) * 4 * side)
    return header + pixels + mask


def png_image(side):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)
    # A shaded disc on a transparent ground, as program icons look: it
    # compresses about as well as a real 256-pixel icon does.
    def pixel(x, y):
        dx, dy = x - side // 2, y - side // 2
        inside = dx * dx + dy * dy < (side * 7 // 16) ** 2
        return bytes((x * 255 // side, y * 255 // side, 160, 255)) if inside else b'\0\0\0\0'
    rows = b''.join(b'\0' + b''.join(pixel(x, y) for x in range(side)) for y in range(side))
    ihdr = struct.pack('>IIBBBBB', side, side, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(rows, 6)) +
            chunk(b'IEND', b''))


def group(entries):
    out = struct.pack('<HHH', 0, 1, len(entries))
    for side, size, ident in entries:
        out += struct.pack('<BBBBHHIH', side % 256, side % 256, 0, 0, 1, 32, size, ident)
    return out


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
