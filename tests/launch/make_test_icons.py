"""Writes the icon images the launch tests build into resource-only DLLs.

usage: make_test_icons.py OUT_DIR
  small.bin     a 32x32 32-bit bitmap icon image (header, colour bits, mask)
  tiny.bin      a 16x16 32-bit bitmap icon image
  large.png     a 256x256 RGBA PNG
  garbage.bin   10 bytes that are neither a bitmap header nor a PNG
  png_group.bin     group: small.bin as id 1, large.png as id 2 (0 x 0 = 256)
  damaged_group.bin group claiming 4 members, holding 3: id 99 (missing),
                    id 5 (garbage), id 6 (tiny.bin); the 4th would lie outside
  picture.ico   an icon file with small.bin and large.png
  png_icons.rc, damaged_icons.rc  the resource scripts of the two test DLLs
"""
import struct
import sys
import zlib
import os


def bitmap_image(side, colour):
    header = struct.pack('<IiiHHIIiiII', 40, side, side * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytes(colour) * (side * side)
    mask_row = ((side + 31) // 32) * 4
    mask = b'\0' * (mask_row * side)
    return header + pixels + mask


def png_image(side):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)
    rows = b''.join(b'\0' + b''.join(bytes((x, y, 128, 255)) for x in range(side))
                    for y in range(side))
    ihdr = struct.pack('>IIBBBBB', side, side, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(rows, 9)) +
            chunk(b'IEND', b''))


def group(entries, claimed=None):
    count = len(entries) if claimed is None else claimed
    out = struct.pack('<HHH', 0, 1, count)
    for width, height, bits, size, ident in entries:
        out += struct.pack('<BBBBHHIH', width, height, 0, 0, 1, bits, size, ident)
    return out


def icon_file(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, data in images:
        out += struct.pack('<BBBBHHII', width, height, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b''.join(d for _, _, d in images)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    small = bitmap_image(32, (0, 120, 255, 255))
    tiny = bitmap_image(16, (255, 0, 0, 255))
    large = png_image(256)
    files = {
        'small.bin': small,
        'tiny.bin': tiny,
        'large.png': large,
        'garbage.bin': b'\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a',
        'png_group.bin': group([(32, 32, 32, len(small), 1), (0, 0, 32, len(large), 2)]),
        'damaged_group.bin': group([(32, 32, 32, 4264, 99), (16, 16, 32, 10, 5),
                                    (16, 16, 32, len(tiny), 6)], claimed=4),
        'picture.ico': icon_file([(32, 32, small), (0, 0, large)]),
    }
    files['png_icons.rc'] = b'1 3 "small.bin"\n2 3 "large.png"\n1 14 "png_group.bin"\n'
    files['damaged_icons.rc'] = b'5 3 "garbage.bin"\n6 3 "tiny.bin"\n7 14 "damaged_group.bin"\n'
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


main()
