"""Writes the resource scripts of programs whose icon groups are damaged.

usage: make_hostile_icons.py OUT_DIR TAKEN_RUN_DIR PROGRAMS_DIR
  missing_member.rc  a group whose members name icon images that do not exist
  past_end.rc        images whose headers claim sizes past the end of their data
  count_over.rc      a group claiming 300 members while holding one
  empty_group.rc     a group of 0 images
  png_only.rc        a group of PNG images only
PROGRAMS_DIR receives two programs written directly (fuzz/pefile.py):
  hostile_blowup.exe       one icon group naming one 8 KiB image 65,535 times
  hostile_large_image.exe  an icon group with a 512 KiB image and a small one
TAKEN_RUN_DIR/临时数据 receives a file under every name the program can draw
for its scratch icon files (the odd numbers 156267 to 189035), made here
because creating 16,385 files through Wine takes minutes.
"""
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui",
                                "description"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "fuzz"))
import icofile  # noqa: E402
import pefile  # noqa: E402


def bitmap(side):
    return (icofile.bitmap_header(side, side) + bytes((30, 160, 60, 255)) * (side * side) +
            icofile.mask_bytes(side, side))


def png(side):
    return icofile.plain_png(side, side, [bytes((200, 40, 40, 255)) * side] * side)


def group(entries, claimed=None):
    return icofile.group_directory([(side, side, 32, size, ident) for side, size, ident in entries],
                                   claimed)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    # A header claiming a size far past its data, and one followed by 8 bytes only.
    big_header = b'\xf0\xff\xff\x7f' + icofile.bitmap_header(64, 64)[4:]
    short_bits = icofile.bitmap_header(64, 64) + b'\xff' * 8
    modules = {
        'missing_member': ({}, group([(32, 4264, 40), (16, 1128, 41)])),
        'past_end': ({1: big_header, 2: short_bits, 3: png(48)[:30]},
                     group([(64, 0x7FFFFFFF, 1), (64, 0xFFFFFFFF, 2), (48, 99999, 3)])),
        'count_over': ({1: bitmap(16)}, group([(16, 1128, 1)], claimed=300)),
        'empty_group': ({1: bitmap(16)}, group([])),
        'png_only': ({1: png(32), 2: png(256)}, group([(32, 0, 1), (0, 0, 2)])),
    }
    for name, (images, directory) in modules.items():
        lines = []
        for ident, data in images.items():
            file = '%s_%d.bin' % (name, ident)
            with open(os.path.join(out, file), 'wb') as f:
                f.write(data)
            lines.append('%d 3 "%s"' % (ident, file))
        with open(os.path.join(out, name + '_group.bin'), 'wb') as f:
            f.write(directory)
        lines.append('1 14 "%s_group.bin"' % name)
        with open(os.path.join(out, name + '.rc'), 'w') as f:
            f.write('\n'.join(lines) + '\n')

    large = png(16) + bytes(512 * 1024)
    small = bitmap(16)
    programs = {
        'hostile_blowup.exe': pefile.blowup_module(8192, 0xFFFF),
        'hostile_large_image.exe': pefile.pe_file({
            14: {1: {0: group([(0, len(large), 1), (16, len(small), 2)])}},
            3: {1: {0: large}, 2: {0: small}}}),
    }
    for name, data in programs.items():
        with open(os.path.join(sys.argv[3], name), 'wb') as f:
            f.write(data)

    scratch = os.path.join(sys.argv[2], '临时数据')
    os.makedirs(scratch, exist_ok=True)
    for number in range(156267, 156267 + 32768 + 1, 2):
        with open(os.path.join(scratch, '%d.ico' % number), 'wb') as f:
            f.write(b'keep')


main()
