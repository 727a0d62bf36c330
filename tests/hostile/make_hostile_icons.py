"""Writes the resource scripts of programs whose icon groups are damaged.

usage: make_hostile_icons.py OUT_DIR TAKEN_RUN_DIR
  missing_member.rc  a group whose members name icon images that do not exist
  past_end.rc        images whose headers claim sizes past the end of their data
  count_over.rc      a group claiming 300 members while holding one
  empty_group.rc     a group of 0 images
  png_only.rc        a group of PNG images only
TAKEN_RUN_DIR/临时数据 receives a file under every name the program can draw
for its scratch icon files (the odd numbers 156267 to 189035), made here
because creating 16,385 files through Wine takes minutes.
"""
import os
import struct
import sys
import zlib


def bitmap(side):
    header = struct.pack('<IiiHHIIiiII', 40, side, side * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + bytes((30, 160, 60, 255)) * (side * side) + bytes((side + 31) // 32 * 4 * side)


def png(side):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
    rows = b''.join(b'\0' + bytes((200, 40, 40, 255)) * side for _ in range(side))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', side, side, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def group(entries, claimed=None):
    out = struct.pack('<HHH', 0, 1, len(entries) if claimed is None else claimed)
    for side, size, ident in entries:
        out += struct.pack('<BBBBHHIH', side % 256, side % 256, 0, 0, 1, 32, size, ident)
    return out


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    big_header = struct.pack('<IiiHHIIiiII', 0x7FFFFFF0, 64, 128, 1, 32, 0, 0, 0, 0, 0, 0)
    short_bits = struct.pack('<IiiHHIIiiII', 40, 64, 128, 1, 32, 0, 0, 0, 0, 0, 0) + b'\xff' * 8
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

    scratch = os.path.join(sys.argv[2], '临时数据')
    os.makedirs(scratch, exist_ok=True)
    for number in range(156267, 156267 + 32768 + 1, 2):
        with open(os.path.join(scratch, '%d.ico' % number), 'wb') as f:
            f.write(b'keep')


main()
