"""A small writer of PE files that hold resources and nothing else (standard
library only): the seeds of the fuzzers that read programs' icons, and test
modules with resource layouts a resource compiler does not make.

    tree = {14: {1: {0: group}, "MAINICON": {0x409: group2}},
            3: {1: {0: image1}, 2: {0: image2}}}
    data = pe_file(tree)

A tree maps resource type -> name (a number or a text) -> language -> bytes.
The file is a DOS header, the PE headers (32-bit by default, `wide=True` for
the 64-bit form), one section ".rsrc" at RVA 0x1000 holding the resource
directory (named entries first, each level sorted as the system expects
unless `ordered=False`, which keeps the tree's own order), then the data.

Damage for tests: `sizes` maps (type, name, language) to the size written in
that resource's data entry instead of the real one; `alias` maps (type, name,
language) to another such key whose data entry it shares.
The same input always gives the same bytes.
"""

import struct

SECTION_RVA = 0x1000
FILE_ALIGNMENT = 0x200


def _key(name):
    # Named entries come first, sorted as the system compares them; then ids.
    return (0, name.upper()) if isinstance(name, str) else (1, name)


def _entries(mapping, ordered):
    items = list(mapping.items())
    return sorted(items, key=lambda item: _key(item[0])) if ordered else items


def resource_section(tree, rva=SECTION_RVA, ordered=True, sizes=None, alias=None):
    """The bytes of a resource section placed at `rva`."""
    sizes = sizes or {}
    alias = alias or {}
    names = []

    def directory_size(count):
        return 16 + 8 * count

    # First the offsets of every directory, breadth first.
    plan = []  # (path, entries)
    queue = [((), tree)]
    offset = 0
    offsets = {}
    while queue:
        path, mapping = queue.pop(0)
        offsets[path] = offset
        items = _entries(mapping, ordered)
        plan.append((path, items))
        offset += directory_size(len(items))
        if len(path) < 2:
            for name, child in items:
                queue.append((path + (name,), child))
    # Then the name strings, the data entries and the data.
    for path, items in plan:
        for name, _child in items:
            if isinstance(name, str):
                names.append(((path, name), offset))
                offset += 2 + 2 * len(name)
    offset = (offset + 3) & ~3
    keys = []
    for path, items in plan:
        if len(path) == 2:
            for language, data in items:
                keys.append((path + (language,), data))
    entry_offsets = {}
    for key, _data in keys:
        if key in alias:
            continue
        entry_offsets[key] = offset
        offset += 16
    data_offsets = {}
    for key, data in keys:
        if key in alias:
            continue
        offset = (offset + 7) & ~7
        data_offsets[key] = offset
        offset += len(data)
    for key, target in alias.items():
        entry_offsets[key] = entry_offsets[target]

    out = bytearray(offset)
    name_offsets = dict(names)
    for path, items in plan:
        at = offsets[path]
        named = sum(1 for name, _ in items if isinstance(name, str))
        struct.pack_into("<IIHHHH", out, at, 0, 0, 0, 0, named, len(items) - named)
        for index, (name, child) in enumerate(items):
            if isinstance(name, str):
                first = 0x80000000 | name_offsets[(path, name)]
            else:
                first = name
            if len(path) < 2:
                second = 0x80000000 | offsets[path + (name,)]
            else:
                second = entry_offsets[path + (name,)]
            struct.pack_into("<II", out, at + 16 + 8 * index, first, second)
    for (path, name), at in names:
        encoded = name.encode("utf-16-le")
        struct.pack_into("<H", out, at, len(name))
        out[at + 2:at + 2 + len(encoded)] = encoded
    for key, data in keys:
        if key in alias:
            continue
        size = sizes.get(key, len(data))
        struct.pack_into("<IIII", out, entry_offsets[key], rva + data_offsets[key],
                         size & 0xFFFFFFFF, 0, 0)
        out[data_offsets[key]:data_offsets[key] + len(data)] = data
    return bytes(out)


def pe_file(tree, wide=False, ordered=True, sizes=None, alias=None):
    """A whole PE file whose only section holds the resources of `tree`."""
    return pe_file_of(resource_section(tree, SECTION_RVA, ordered, sizes, alias), wide)


def pe_file_of(section, wide=False):
    """A whole PE file whose only section, at RVA 0x1000, is `section` (the
    bytes of a resource section)."""
    raw_size = (len(section) + FILE_ALIGNMENT - 1) // FILE_ALIGNMENT * FILE_ALIGNMENT
    optional_size = 240 if wide else 224
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 64)
    machine = 0x8664 if wide else 0x14C
    characteristics = 0x2102 if not wide else 0x2022  # a DLL
    file_header = struct.pack("<4sHHIIIHH", b"PE\0\0", machine, 1, 0, 0, 0, optional_size,
                              characteristics)
    image_size = SECTION_RVA + (len(section) + 0xFFF) // 0x1000 * 0x1000
    directories = bytearray(16 * 8)
    struct.pack_into("<II", directories, 2 * 8, SECTION_RVA, len(section))
    if wide:
        optional = struct.pack("<HBBIIIIIQIIHHHHHHIIIIHHQQQQII", 0x20B, 2, 0, 0, raw_size, 0, 0,
                               SECTION_RVA, 0x180000000, 0x1000, FILE_ALIGNMENT, 6, 0, 0, 0, 6,
                               0, 0, image_size, FILE_ALIGNMENT, 0, 2, 0x160, 0x100000, 0x1000,
                               0x100000, 0x1000, 0, 16)
    else:
        optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 2, 0, 0, raw_size, 0, 0,
                               SECTION_RVA, 0, 0x10000000, 0x1000, FILE_ALIGNMENT, 4, 0, 0, 0, 4,
                               0, 0, image_size, FILE_ALIGNMENT, 0, 2, 0x140, 0x100000, 0x1000,
                               0x100000, 0x1000, 0, 16)
    optional += bytes(directories)
    assert len(optional) == optional_size, len(optional)
    section_header = struct.pack("<8sIIIIIIHHI", b".rsrc", len(section), SECTION_RVA, raw_size,
                                 FILE_ALIGNMENT, 0, 0, 0, 0, 0x40000040)
    headers = bytes(dos) + file_header + optional + section_header
    headers += bytes(FILE_ALIGNMENT - len(headers))
    return headers + section + bytes(raw_size - len(section))


def _icons():
    import os
    import sys
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui",
                                    "description"))
    import icofile
    return icofile


def _bitmap(icofile, side, bits, seed=0):
    colours = 1 << bits if bits <= 8 else 0
    palette = b"".join(bytes(((i * 37 + seed) % 256, (i * 91) % 256, (i * 13) % 256, 0))
                       for i in range(colours))
    stride = (side * bits + 31) // 32 * 4
    colour = bytes((x * 7 + y * 3 + seed) % 256 for y in range(side) for x in range(stride))
    return icofile.bitmap_header(side, side, bits) + palette + colour + icofile.mask_bytes(
        side, side, 0x0F)


def sample_modules():
    """{name: PE bytes}: the resource layouts that the fuzzers start from and
    that the tests read through the system's loader, to compare what it finds
    with what the fuzzers' reader of the file finds. Small on purpose."""
    icofile = _icons()
    small = _bitmap(icofile, 16, 32)
    four = _bitmap(icofile, 32, 4, 5)
    one = _bitmap(icofile, 16, 1, 9)
    png = icofile.plain_png(24, 24, [bytes((200, 30 + y, 90, 255)) * 24 for y in range(24)])

    def group(*members):
        return icofile.group_directory([(side, side, bits, len(data), ident)
                                        for side, bits, data, ident in members])

    plain = {14: {1: {0: group((16, 32, small, 1), (32, 4, four, 2))}},
             3: {1: {0: small}, 2: {0: four}}}
    depths = [(8, 1, _bitmap(icofile, 8, 1, 1), 1), (8, 8, _bitmap(icofile, 8, 8, 2), 2),
              (8, 24, _bitmap(icofile, 8, 24, 3), 3), (16, 32, small, 4), (24, 32, png, 5)]
    modules = {
        "plain": pe_file(plain),
        # Every bit depth the engine decodes, and a PNG.
        "depths": pe_file({14: {1: {0: group(*depths)}},
                           3: {ident: {0: data} for _side, _bits, data, ident in depths}}),
        "wide": pe_file(plain, wide=True),
        "png": pe_file({14: {1: {0: group((24, 32, png, 1), (16, 1, one, 2))}},
                        3: {1: {0: png}, 2: {0: one}}}),
        # "#3" names group 3; a name stored in small letters is never found.
        "named": pe_file({14: {"#3": {0: group((16, 32, small, 1))},
                               "MAINICON": {0: group((32, 4, four, 2))},
                               "lower": {0: group((16, 1, one, 3))},
                               3: {0: group((16, 1, one, 3), (16, 32, small, 1))}},
                          3: {1: {0: small}, 2: {0: four}, 3: {0: one}}}),
        # Chinese (PRC) comes before English; a group only in German falls
        # back to its first language.
        "languages": pe_file({14: {1: {0x409: group((16, 32, small, 1)),
                                       0x804: group((32, 4, four, 2), (16, 1, one, 3))},
                                   2: {0x407: group((16, 1, one, 3))}},
                              3: {1: {0x409: small}, 2: {0x804: four}, 3: {0x407: one}}}),
        # Stored out of order: enumerated as stored, looked up by halving.
        "unordered": pe_file({14: {5: {0: group((16, 32, small, 9), (32, 4, four, 2))},
                                   2: {0: group((16, 1, one, 3))},
                                   9: {0: group((16, 32, small, 1))}},
                              3: {9: {0: small}, 2: {0: four}, 1: {0: small}, 3: {0: one}}},
                             ordered=False),
        # One image's entry states a size past the end of the file (and of its last page).
        "oversized": pe_file(plain, sizes={(3, 2, 0): 0x100000}),
        # A group naming one image again and again, and images sharing one entry.
        "repeats": pe_file({14: {1: {0: group(*[(16, 32, small, 1)] * 5 +
                                               [(32, 4, four, 2), (16, 32, small, 1)])}},
                            3: {1: {0: small}, 2: {0: four}}}),
        "shared": pe_file({14: {1: {0: group(*[(16, 32, small, i) for i in range(1, 5)])}},
                           3: {i: {0: small} for i in range(1, 5)}},
                          alias={(3, i, 0): (3, 1, 0) for i in range(2, 5)}),
    }
    data = bytearray(modules["plain"])
    # The resource entry of an image points outside every section.
    modules["truncated"] = bytes(data[:0x200 + 0x100])
    modules["no_resources"] = pe_file({})
    return modules


def capped_module(count=1300, limit=16 << 20, exact=True):
    """A program of under 32 KiB whose icon group names `count` images that
    are all the same bytes, about 25 MB together: more than an icon file of
    `limit` bytes may hold. The group's images share one language directory,
    and the group directory itself lies inside the image (a PNG signature,
    then the group): structures a resource compiler never shares. With
    `exact`, the image is padded so that at the limit its bytes would still
    fit but not its 16-byte entry in the file's directory."""
    def directory(entries):  # [(id, offset with its high bit)]
        return struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(entries)) + b"".join(
            struct.pack("<II", ident, target) for ident, target in entries)

    subdirectory = 0x80000000
    types, groups, group_languages, image_languages = 0, 32, 56, 80
    group_entry, image_entry, images = 104, 120, 136
    group = struct.pack("<HHH", 0, 1, count) + b"".join(
        struct.pack("<BBBBHHIH", 16, 16, 0, 0, 1, 32, 1024, ident) for ident in range(1, count + 1))
    image_at = (images + 16 + 8 * count + 7) & ~7
    image = b"\x89PNG\r\n\x1a\n" + group
    while exact and (limit - 6 + 16) % (len(image) + 16) >= 16:
        image += b"\0"
    out = bytearray(image_at + len(image))
    out[types:groups] = directory([(3, subdirectory | images), (14, subdirectory | groups)])
    out[groups:group_languages] = directory([(1, subdirectory | group_languages)])
    out[group_languages:image_languages] = directory([(0, group_entry)])
    out[image_languages:group_entry] = directory([(0, image_entry)])
    struct.pack_into("<IIII", out, group_entry, SECTION_RVA + image_at + 8, len(group), 0, 0)
    struct.pack_into("<IIII", out, image_entry, SECTION_RVA + image_at, len(image), 0, 0)
    out[images:images + 16 + 8 * count] = directory(
        [(ident, subdirectory | image_languages) for ident in range(1, count + 1)])
    out[image_at:] = image
    return pe_file_of(bytes(out))


def blowup_module(image_bytes=8192, repeats=0xFFFF):
    """A program whose only icon group names one image `repeats` times."""
    icofile = _icons()
    side = 1
    while (side * 2) * (side * 2) * 4 <= image_bytes:
        side *= 2
    image = icofile.bitmap_header(side, side) + bytes(image_bytes - 40)
    directory = icofile.group_directory([(side, side, 32, len(image), 1)] * repeats)
    return pe_file({14: {1: {0: directory}}, 3: {1: {0: image}}})
