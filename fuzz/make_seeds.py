"""Writes the small seed inputs of the fuzzers: one valid example (and a few
near misses) of each format, so that fuzzing starts past the first checks.

usage: make_seeds.py CORPUS_DIR [UI_SEGMENT_BIN]
"""
import os
import struct
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui",
                                "description"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import icofile  # noqa: E402
import pefile  # noqa: E402


def u32(*values):
    return b''.join(struct.pack('<I', v & 0xFFFFFFFF) for v in values)


def bitmap(side, bits, colours=0):
    header = icofile.bitmap_header(side, side, bits, colours)
    palette = b''.join(bytes((i * 40 % 256, i * 90 % 256, i * 10 % 256, 0))
                       for i in range(colours or (1 << bits if bits <= 8 else 0)))
    stride = (side * bits + 31) // 32 * 4
    colour = bytes((x * 7 + y) % 256 for y in range(side) for x in range(stride))
    return header + palette + colour + icofile.mask_bytes(side, side, 0x55)


def png(side):
    rows = [b''.join(bytes((x * 40 % 256, y * 40 % 256, 9, 200)) for x in range(side))
            for y in range(side)]
    return icofile.plain_png(side, side, rows)


def icon_group(entries, claimed=None):
    return icofile.group_directory([(width, width, bits, size, ident)
                                    for width, bits, size, ident in entries], claimed)


def icon_file(images):
    return icofile.icon_file([(width, width, data, bits) for width, bits, data in images],
                             check=False)


def resources(directory, images):
    out = struct.pack('<H', len(directory)) + directory
    for ident, data in images:
        out += struct.pack('<HH', ident, len(data)) + data
    return out


def small_segment():
    options = u32(1, 0, 0, 0xFF000000, 1, 1, 1, 0, 1, 0, 0, 0, 0, 0)
    record = (u32(0x00010001) + bytes(20) + b'win\0' + b'\0' + u32(0, 0, 0, 400, 248, 0, 0, 0) +
              u32(0) + b'\0' + u32(0, 1, 0) + u32(1, 2, 8) + bytes(20) + bytes(20) + options)
    menu = (u32(0x00010003) + bytes(20) + b'm\0' + b'\0' + u32(0, 0, 0) + b'open\0' + u32(4) +
            bytes(16))
    records = u32(len(record)) + record + u32(len(menu)) + menu
    table = u32(0x06000000, 0x26000001) + u32(0, 4 + len(record)) + records
    window = u32(0, 1) + u32(3) + b'win' + u32(0) + u32(2, len(table)) + table
    return u32(8, 0x52010001, 0) + window


def skin_descriptor():
    name = 'skin'.encode('utf-16-le') + b'\0\0'
    image = png(2)
    header_end = 56 + len(name)
    value_offset = header_end
    values = u32(0xFFFFFFFF, 0xFF000000, 0xFF202020)
    part_offset = value_offset + len(values)
    parts = u32(1, 0, 0, 0, 0, 2, 2, 1, 1)
    image_offset = part_offset + len(parts)
    data_offset = image_offset + 24
    section = bytes(16) + u32(len(image)) + u32(data_offset)
    total = data_offset + len(image)
    head = (bytes((0xFF, 0xD8, 0xFF, 0xE1, 0, 0x53, 0x6B, 0x69, 0x6E, 0x55, 0x69, 0x2B)) +
            u32(1, total, 2, 1, image_offset, 1, part_offset, 3, value_offset, len(name), 0))
    return head + name + values + parts + section + image


def attribute_block(kind_values, blocks):
    out = u32(12, 0)
    for i in range(kind_values):
        if i in blocks:
            marker, data = blocks[i]
            out += u32(marker, len(data)) + data
        else:
            out += u32(i)
    return out


def list_items():
    out = u32(1, 2)
    for text, picture in (('一', b''), ('two', png(1))):
        t = text.encode('utf-16-le')
        out += u32(len(picture)) + picture + u32(len(t)) + t + u32(0, 30, 0xFF000000)
    return out


def bmp_file(side):
    """A bitmap file (file header, then a 24-bit bitmap)."""
    stride = (side * 3 + 3) // 4 * 4
    pixels = bytes((x * 50 + y) % 256 for y in range(side) for x in range(stride))
    info = struct.pack('<IiiHHIIiiII', 40, side, side, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 54) + info + pixels


def odd_frames():
    """[(group width, bits, image bytes)]: the frames old and odd icon files
    hold: 32-bit with no alpha (the mask gives the shape) and without a mask,
    32-bit with colour masks (after a short header and inside a long one),
    colour masks where they do not belong, a palette shorter than the indices, a wide
    bitmap, a one-pixel-wide PNG, a PNG cut after its size, a PNG cut in its
    header, an image of five bytes."""
    def no_alpha(side, mask=True):
        colour = b''.join(bytes((x * 9 % 256, y * 5 % 256, 77, 0)) for y in range(side)
                          for x in range(side))
        return (icofile.bitmap_header(side, side, 32) + colour +
                (icofile.mask_bytes(side, side, 0x3C) if mask else b''))

    masks = bytearray(icofile.bitmap_header(8, 8, 32))
    struct.pack_into('<I', masks, 16, 3)  # colour masks follow the header
    masks += u32(0xFF0000, 0xFF00, 0xFF) + bytes((9, 8, 7, 255)) * 64 + icofile.mask_bytes(8, 8)
    # The same with a version-4 header (108 bytes, the masks inside it), and
    # colour masks on a palette bitmap, which are refused.
    v4 = bytearray(icofile.bitmap_header(8, 8, 32)) + u32(0xFF0000, 0xFF00, 0xFF, 0xFF000000)
    v4 += bytes(108 - len(v4))
    struct.pack_into('<II', v4, 0, 108, 8)
    struct.pack_into('<HI', v4, 14, 32, 3)
    v4 += bytes((1, 2, 3, 128)) * 64 + icofile.mask_bytes(8, 8)
    masked_palette = bytearray(bitmap(8, 8))
    struct.pack_into('<I', masked_palette, 16, 3)
    wide = bytearray(bitmap(32, 8))
    struct.pack_into('<i', wide, 8, 2 * 16)  # 32 x 16
    thin = png(1)
    thin = thin[:16] + struct.pack('>II', 1, 200) + thin[24:]
    cut = png(48)[:24]
    return [(16, 32, no_alpha(16)), (8, 32, no_alpha(8, mask=False)), (8, 32, bytes(masks)),
            (8, 32, bytes(v4)), (8, 8, bytes(masked_palette)),
            (16, 8, bitmap(16, 8, colours=3)), (32, 8, bytes(wide)), (1, 32, thin),
            (48, 32, cut), (0, 32, cut[:12]), (4, 4, b'\x28\0\0\0\0')]


def odd_module():
    """A program whose icon group holds the odd frames."""
    frames = odd_frames()
    directory = icofile.group_directory([(width, width, bits, len(data), ident + 1)
                                         for ident, (width, bits, data) in enumerate(frames)])
    return pefile.pe_file({14: {1: {0: directory}},
                           3: {ident + 1: {0: data} for ident, (_w, _b, data) in enumerate(frames)}})


def main():
    root = sys.argv[1]
    modules = pefile.sample_modules()
    modules['odd_frames'] = odd_module()
    # More than one icon file may hold: one image's bytes past the limit, or
    # only its entry in the file's directory. Only for icon_chain: each run
    # takes some 50 ms, which would slow pe_icon tenfold; the chain spends as
    # long on every picture anyway.
    capped = {'capped': pefile.capped_module(exact=False),
              'capped_exactly': pefile.capped_module()}
    seeds = {
        'ui_description': {'small': small_segment(), 'truncated': small_segment()[:-9]},
        'icon_group': {
            'bitmap_and_png': resources(icon_group([(16, 4, 0, 1), (0, 32, 0, 2)]),
                                        [(1, bitmap(16, 4)), (2, png(4))]),
            'damaged': resources(icon_group([(16, 32, 0, 9), (8, 8, 0, 3)], claimed=5),
                                 [(3, b'\x28\0\0\0garbage')]),
        },
        'icon_file': {'two': icon_file([(16, 8, bitmap(16, 8)), (0, 32, png(3))])},
        'engine_icon': {
            'palette': icon_file([(8, 1, bitmap(8, 1)), (16, 4, bitmap(16, 4))]),
            'deep': icon_file([(4, 24, bitmap(4, 24)), (4, 32, bitmap(4, 32)), (0, 32, png(5))]),
            'bare': bitmap(8, 8, colours=3),
            'empty': b'',
            'no_frames': struct.pack('<HHH', 0, 1, 0),
            'odd_frames': icon_file([(w, b, data) for w, b, data in odd_frames() if len(data) >= 24]),
        },
        'byte_set': {'record': bytes((3,)) + u32(1) + u32(7) + b'name\0' + struct.pack('<d', 2.5)},
        'split_text': {
            'gbk': b'\x01|\x04' + 'a|b||中文|末'.encode('gbk'),
            'lead_at_end': b'\x02\xd6\xd0\x00' + 'x中'.encode('gbk')[:2] + b'\xd6',
        },
        'numbers': {'decimal': b' -12.5e3x', 'big': b'2147483648', 'full_width': '１２３'.encode('gbk')},
        'attribute_block': {
            'toolbar': attribute_block(17, {1: (-1, skin_descriptor())}),
            'picture': attribute_block(17, {1: (-1, b''), 2: (-2, png(2))}),
            'listbox': attribute_block(17, {1: (-1, b''), 9: (-3, list_items())}),
        },
        'skin_descriptor': {'one_image': skin_descriptor()},
        'stored_list_items': {'two': list_items()},
        'pe_icon': modules,
        'icon_chain': dict({name: modules[name]
                            for name in ('plain', 'depths', 'png', 'languages', 'repeats',
                                         'odd_frames')}, **capped),
        'engine_image': {
            'icon': icon_file([(16, 32, bitmap(16, 32)), (8, 4, bitmap(8, 4)), (0, 32, png(6))]),
            'png': png(7),
            'bmp': bmp_file(5),
            'empty': b'',
            'palette': icon_file([(8, 1, bitmap(8, 1)), (16, 8, bitmap(16, 8))]),
            'deep': icon_file([(4, 24, bitmap(4, 24)), (0, 32, png(5))]),
            'odd_frames': icon_file([(w, b, data) for w, b, data in odd_frames() if len(data) >= 24]),
        },
        # One byte for what the folder test answers, then the name (GBK).
        'shortcut_target': {
            'program': b'\0' + 'C:\\程序\\编辑器.exe'.encode('gbk'),
            'folder': b'\2' + 'D:\\资料\\運 誠'.encode('gbk'),
            'shortcut': b'\1' + '02運\\便签.lnk'.encode('gbk'),
            'upper': b'\3' + 'C:\\Tools\\A.EXE'.encode('gbk'),
        },
    }
    if len(sys.argv) > 2:
        with open(sys.argv[2], 'rb') as f:
            seeds['ui_description']['stored'] = f.read()
    for fuzzer, files in seeds.items():
        os.makedirs(os.path.join(root, fuzzer), exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(root, fuzzer, name), 'wb') as f:
                f.write(data)


main()
