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
  pe_<layout>.dll   the programs the fuzzers start from (fuzz/pefile.py), whose
                    icons the tests read both through the system's loader and
                    through the fuzzers' reader of the file, to compare them
"""
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui",
                                "description"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "fuzz"))
import icofile  # noqa: E402
import pefile  # noqa: E402


def bitmap_image(side, colour):
    pixels = bytes(colour) * (side * side)
    return icofile.bitmap_header(side, side) + pixels + icofile.mask_bytes(side, side)


def png_image(side):
    rows = [b''.join(bytes((x, y, 128, 255)) for x in range(side)) for y in range(side)]
    return icofile.plain_png(side, side, rows, 9)


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
        'png_group.bin': icofile.group_directory([(32, 32, 32, len(small), 1),
                                                  (256, 256, 32, len(large), 2)]),
        'damaged_group.bin': icofile.group_directory([(32, 32, 32, 4264, 99), (16, 16, 32, 10, 5),
                                                      (16, 16, 32, len(tiny), 6)], claimed=4),
        'picture.ico': icofile.icon_file([(32, 32, small), (256, 256, large)]),
    }
    files['png_icons.rc'] = b'1 3 "small.bin"\n2 3 "large.png"\n1 14 "png_group.bin"\n'
    files['damaged_icons.rc'] = b'5 3 "garbage.bin"\n6 3 "tiny.bin"\n7 14 "damaged_group.bin"\n'
    for layout, data in pefile.sample_modules().items():
        files['pe_%s.dll' % layout] = data
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


main()
