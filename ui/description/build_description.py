"""Builds the stored UI description and the folder picture as C++ constant data.

    python3 build_description.py --slots HandlerSlots.h --images DIR
        --segment-cpp OUT.cpp --folder-cpp OUT.cpp [--segment-bin OUT.bin]

The windows come from windows.py. Handler names are resolved against
HandlerSlots.h (stored offset = slot x 4). Before anything is written the
segment is read back with an independent reader and compared with the source;
any difference, a malformed block or an image of the wrong size or kind stops
the build.
"""

import argparse
import hashlib
import os
import re
import struct
import sys

# Keep the source folder free of compiled caches.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pngfile  # noqa: E402
import windows as W  # noqa: E402

HANDLER_OFFSET_UNIT = 4
ATTRIBUTE_FORMAT = 12
SKIN_MAGIC = b"\xFF\xD8\xFF\xE1\x00" + b"SkinUi+"
MARKER_SKIN, MARKER_IMAGE, MARKER_ITEMS = -1, -2, -3
MARKERS = {"skin": MARKER_SKIN, "image": MARKER_IMAGE, "items": MARKER_ITEMS}
DEFAULT_CURSOR = struct.pack("<I", 0)

# (width, height, PNG colour type) by file-name prefix.
IMAGE_FORMATS = [
    ("dock_button", (32, 32, pngfile.COLOUR_TYPE_RGBA)),
    ("window_frame", (227, 273, pngfile.COLOUR_TYPE_RGBA)),
    ("caption_", (30, 30, pngfile.COLOUR_TYPE_PALETTE)),
    ("scroll_", (12, 12, pngfile.COLOUR_TYPE_RGBA)),
    ("toolbar_", (16, 16, pngfile.COLOUR_TYPE_RGBA)),
    ("item_", (64, 64, pngfile.COLOUR_TYPE_RGBA)),
    ("folder", (64, 64, pngfile.COLOUR_TYPE_RGBA)),
]


class BuildError(Exception):
    pass


def fail(message, *args):
    raise BuildError(message % args if args else message)


# --- Handler slots ----------------------------------------------------------------------------

def read_handler_slots(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    slots = {name: int(value) for name, value in re.findall(r"\b(kSlot\w+)\s*=\s*(\d+)", text)}
    if not slots:
        fail("%s: no handler slots found", path)
    return slots


# --- Encoding helpers ---------------------------------------------------------------------------

def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def i32(v):
    return struct.pack("<i", v)


def gbk_z(text):
    return text.encode("gbk") + b"\0"


def utf16_z(text):
    return text.encode("utf-16-le") + b"\0\0"


def sized(data):
    return u32(len(data)) + data


class Images:
    """Reads each image file once and checks it has the size and kind its role needs."""

    def __init__(self, folder):
        self.folder = folder
        self.cache = {}

    def get(self, name):
        if name not in self.cache:
            with open(os.path.join(self.folder, name), "rb") as f:
                data = f.read()
            check_image(name, data)
            self.cache[name] = data
        return self.cache[name]


def check_image(name, data):
    expected = next((fmt for prefix, fmt in IMAGE_FORMATS if name.startswith(prefix)), None)
    if expected is None:
        fail("image %s has no known role", name)
    try:
        width, height, depth, colour = pngfile.read_header(data)
    except ValueError:
        fail("image %s is not a PNG file", name)
    if (width, height, colour) != expected or depth != 8:
        fail("image %s is %dx%d colour type %d depth %d, expected %dx%d colour type %d depth 8",
             name, width, height, colour, depth, *expected)


# --- Skin descriptors, stored list items and attribute blocks ---------------------------------

SKIN_HEADER_SIZE = 56


def encode_skin(desc, images):
    name, label = utf16_z(desc["name"]), utf16_z(W.ORIGIN_LABEL)
    pictures = [images.get(n) for n in desc["images"]]
    values = b"".join(u32(v) for v in desc["values"])
    parts = b"".join(
        b"".join(i32(p[k]) for k in ("part", "state", "image", "x", "y", "width", "height",
                                     "margin_x", "margin_y"))
        for p in desc["parts"])
    value_offset = SKIN_HEADER_SIZE + len(name) + len(label)
    part_offset = value_offset + len(values)
    image_offset = part_offset + len(parts)
    n = len(pictures)
    first_picture = image_offset + n * (16 + 4 + 4)
    offsets, at = [], first_picture
    for p in pictures:
        offsets.append(at)
        at += len(p)
    image_section = (b"".join(hashlib.md5(p).digest() for p in pictures)
                     + b"".join(u32(len(p)) for p in pictures)
                     + b"".join(u32(o) for o in offsets) + b"".join(pictures))
    total = image_offset + len(image_section)
    header = (SKIN_MAGIC + u32(desc["format"]) + u32(total) + u32(desc["kind"]) + u32(n)
              + u32(image_offset) + u32(len(desc["parts"])) + u32(part_offset)
              + u32(len(desc["values"])) + u32(value_offset) + u32(len(name)) + u32(len(label)))
    assert len(header) == SKIN_HEADER_SIZE
    return header + name + label + values + parts + image_section


def encode_items(items, images):
    out = u32(1) + u32(len(items))
    for item in items:
        picture = images.get(item["icon"]) if item["icon"] else b""
        out += sized(picture) + sized(utf16_z(item["text"])) + u32(0) + u32(item["height"])
        out += u32(item["colour"])
    return out


def encode_engine_value(value, images):
    if isinstance(value, int):
        return i32(value)
    kind, content = value
    if content is None:
        body = b""
    elif kind == "skin":
        body = encode_skin(content, images)
    elif kind == "image":
        body = images.get(content)
    else:
        body = encode_items(content, images)
    return i32(MARKERS[kind]) + sized(body)


def encode_skinned_attributes(values, images):
    return (bytes(20) + u32(ATTRIBUTE_FORMAT) + u32(0)
            + b"".join(encode_engine_value(v, images) for v in values))


def encode_window_options(o):
    words = [o["version"], o["border"], 0, o["background"], o["maximise_box"], o["minimise_box"],
             o["control_box"], o["start_position"], o["close_entry_kept"], 0, 0, 0, 0, 0,
             o["taskbar_button"], 0, 0, o["always_on_top"], 0]
    return bytes(20) + b"".join(u32(w) for w in words) + sized(o["class_name"].encode("gbk"))


# --- Element records, window blocks, segment ------------------------------------------------

def handler_offset(name, slots):
    if name is None:
        return -1
    if name not in slots:
        fail("handler %s is not a slot of HandlerSlots.h", name)
    return slots[name] * HANDLER_OFFSET_UNIT


def encode_element(type_id, name, geometry, flags, events, attributes, slots):
    out = u32(type_id) + bytes(20) + gbk_z(name) + gbk_z("") + u32(0)
    out += b"".join(i32(v) for v in geometry)
    out += u32(0) + u32(0) + u32(0)  # reserved, parent: the window, no children
    out += sized(DEFAULT_CURSOR) + gbk_z("") + u32(0) + u32(flags) + u32(0)
    out += u32(len(events)) + b"".join(i32(e) + i32(handler_offset(h, slots)) for e, h in events)
    return out + bytes(20) + attributes


def encode_menu_entry(entry, slots):
    return (u32(W.MENU_ENTRY) + bytes(20) + gbk_z("") + gbk_z("") + u32(entry["hot_key"])
            + u32(entry["level"]) + u32(entry["flags"]) + gbk_z(entry["text"])
            + i32(handler_offset(entry["click"], slots)) + bytes(16))


def window_elements(window):
    """(ComponentId, record) of every element in creation order, the window first."""
    yield window["self_id"], ("window", window)
    for element in window["elements"]:
        yield element["id"], ("menu" if element["type"] == W.MENU_ENTRY else "control", element)


def encode_record(kind, element, slots, images):
    if kind == "window":
        return encode_element(W.WINDOW, "", element["geometry"], element["flags"], element["events"],
                              encode_window_options(element["options"]), slots)
    if kind == "menu":
        return encode_menu_entry(element, slots)
    return encode_element(element["type"], element["name"], element["geometry"], element["flags"],
                          element["events"], encode_skinned_attributes(element["values"], images),
                          slots)


def encode_window(window, slots, images):
    elements = list(window_elements(window))
    records, offsets, at = b"", [], 0
    for _, (kind, element) in elements:
        record = sized(encode_record(kind, element, slots, images))
        offsets.append(at)
        at += len(record)
        records += record
    table = b"".join(u32(cid) for cid, _ in elements) + b"".join(u32(o) for o in offsets) + records
    return (u32(0) + u32(window["handler_module"]) + sized(b"") + sized(b"")
            + u32(len(elements)) + sized(table))


def encode_segment(windows, slots, images):
    out = u32(8 * len(windows)) + b"".join(u32(w["id"]) for w in windows) + bytes(4 * len(windows))
    return out + b"".join(encode_window(w, slots, images) for w in windows)


# --- Independent reader: checks the written bytes against the source -----------------------

class Reader:
    def __init__(self, data, what):
        self.data, self.pos, self.what = data, 0, what

    def take(self, n):
        if n < 0 or self.pos + n > len(self.data):
            fail("%s: %d bytes wanted at offset %d of %d", self.what, n, self.pos, len(self.data))
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def u32(self):
        return struct.unpack("<I", self.take(4))[0]

    def i32(self):
        return struct.unpack("<i", self.take(4))[0]

    def sized(self):
        return self.take(self.u32())

    def gbk_z(self):
        end = self.data.find(b"\0", self.pos)
        if end < 0:
            fail("%s: unterminated text at offset %d", self.what, self.pos)
        text = self.take(end - self.pos).decode("gbk")
        self.take(1)
        return text

    def done(self):
        if self.pos != len(self.data):
            fail("%s: %d bytes left over", self.what, len(self.data) - self.pos)


def _shown(value):
    if isinstance(value, bytes) and len(value) > 32:
        return "%d bytes (MD5 %s)" % (len(value), hashlib.md5(value).hexdigest())
    return repr(value)


def expect(actual, wanted, what):
    if actual != wanted:
        fail("%s: read back %s, expected %s", what, _shown(actual), _shown(wanted))


def verify_skin(data, desc, images, what):
    r = Reader(data, what)
    expect(r.take(12), SKIN_MAGIC, what + " magic")
    expect(r.u32(), desc["format"], what + " format")
    expect(r.u32(), len(data), what + " total length")
    expect(r.u32(), desc["kind"], what + " kind")
    count, image_offset = r.u32(), r.u32()
    expect(count, len(desc["images"]), what + " image count")
    part_count, part_offset, value_count, value_offset = r.u32(), r.u32(), r.u32(), r.u32()
    name_length, label_length = r.u32(), r.u32()
    r.pos = SKIN_HEADER_SIZE
    expect(r.take(name_length).decode("utf-16-le"), desc["name"] + "\0", what + " name")
    expect(r.take(label_length).decode("utf-16-le"), W.ORIGIN_LABEL + "\0", what + " label")
    expect(r.pos, value_offset, what + " value offset")
    expect([r.u32() for _ in range(value_count)], desc["values"], what + " values")
    expect(r.pos, part_offset, what + " part offset")
    expect(part_count, len(desc["parts"]), what + " part count")
    for i, p in enumerate(desc["parts"]):
        words = [r.i32() for _ in range(9)]
        expect(words, [p[k] for k in ("part", "state", "image", "x", "y", "width", "height",
                                       "margin_x", "margin_y")], "%s part %d" % (what, i))
        if not -1 <= p["image"] < count:
            fail("%s part %d names image %d of %d", what, i, p["image"], count)
    expect(r.pos, image_offset, what + " image offset")
    digests = [r.take(16) for _ in range(count)]
    lengths = [r.u32() for _ in range(count)]
    offsets = [r.u32() for _ in range(count)]
    for i, name in enumerate(desc["images"]):
        if offsets[i] + lengths[i] > len(data):
            fail("%s image %d runs past the end", what, i)
        picture = data[offsets[i]:offsets[i] + lengths[i]]
        expect(picture, images.get(name), "%s image %d (%s)" % (what, i, name))
        expect(digests[i], hashlib.md5(picture).digest(), "%s image %d digest" % (what, i))
    expect(sum(lengths) + (offsets[0] if count else r.pos), len(data), what + " image bytes")


def verify_items(data, items, images, what):
    r = Reader(data, what)
    expect(r.u32(), 1, what + " dimension")
    expect(r.u32(), len(items), what + " count")
    for i, item in enumerate(items):
        picture = r.sized()
        expect(picture, images.get(item["icon"]) if item["icon"] else b"", "%s %d icon" % (what, i))
        expect(r.sized().decode("utf-16-le"), item["text"] + "\0", "%s %d text" % (what, i))
        expect([r.u32(), r.u32(), r.u32()], [0, item["height"], item["colour"]], "%s %d" % (what, i))
    r.done()


def verify_attributes(r, values, images, what):
    expect(r.take(20), bytes(20), what + " reserved")
    expect([r.u32(), r.u32()], [ATTRIBUTE_FORMAT, 0], what + " format and page")
    for index, value in enumerate(values):
        where = "%s engine index %d" % (what, index)
        if isinstance(value, int):
            expect(r.i32(), value, where)
            continue
        kind, content = value
        expect(r.i32(), MARKERS[kind], where + " marker")
        body = r.sized()
        if content is None:
            expect(body, b"", where)
        elif kind == "skin":
            verify_skin(body, content, images, where + " skin")
        elif kind == "image":
            expect(body, images.get(content), where + " image")
        else:
            verify_items(body, content, images, where + " items")
    r.done()


def verify_window_options(r, o, what):
    expect(r.take(20), bytes(20), what + " reserved")
    words = [r.u32() for _ in range(19)]
    if words[0] > 6:
        fail("%s: version %d cannot be read", what, words[0])
    named = dict(version=words[0], border=words[1], background=words[3], maximise_box=words[4],
                 minimise_box=words[5], control_box=words[6], start_position=words[7],
                 close_entry_kept=words[8], taskbar_button=words[14], always_on_top=words[17],
                 class_name=r.sized().decode("gbk"))
    expect(named, o, what)
    r.done()


def verify_events(r, events, slots, what):
    count = r.u32()
    read = [(r.i32(), r.i32()) for _ in range(count)]
    expect(read, [(e, handler_offset(h, slots)) for e, h in events], what + " events")


def verify_record(data, kind, element, slots, images, what):
    r = Reader(data, what)
    if kind == "menu":
        expect(r.u32(), W.MENU_ENTRY, what + " type")
        expect(r.take(20), bytes(20), what + " reserved")
        expect([r.gbk_z(), r.gbk_z()], ["", ""], what + " name and comment")
        expect([r.u32(), r.u32(), r.u32()], [element["hot_key"], element["level"], element["flags"]],
               what + " hot key, level, flags")
        expect(r.gbk_z(), element["text"], what + " text")
        expect(r.i32(), handler_offset(element["click"], slots), what + " click handler")
        expect(r.take(16), bytes(16), what + " reserved")
        r.done()
        return
    type_id = W.WINDOW if kind == "window" else element["type"]
    expect(r.u32(), type_id, what + " type")
    r.take(20)
    expect(r.gbk_z(), "" if kind == "window" else element["name"], what + " name")
    expect(r.gbk_z(), "", what + " comment")
    r.u32()
    expect(tuple(r.i32() for _ in range(4)), tuple(element["geometry"]), what + " geometry")
    r.u32()
    expect(r.u32(), 0, what + " parent")
    expect(r.u32(), 0, what + " child count")
    expect(r.sized(), DEFAULT_CURSOR, what + " cursor")
    expect(r.gbk_z(), "", what + " tag")
    r.u32()
    expect(r.u32(), element["flags"], what + " flags")
    r.u32()
    verify_events(r, element["events"], slots, what)
    r.take(20)
    if kind == "window":
        verify_window_options(r, element["options"], what + " window options")
    else:
        verify_attributes(r, element["values"], images, what + " attributes")


def verify_segment(data, windows, slots, images):
    r = Reader(data, "segment")
    expect(r.u32(), 8 * len(windows), "window table size")
    expect([r.u32() for _ in windows], [w["id"] for w in windows], "window ids")
    r.take(4 * len(windows))
    for w in windows:
        what = "window %08X" % w["id"]
        expect(r.u32(), 0, what + " reserved")
        expect(r.u32(), w["handler_module"], what + " handler module")
        expect([r.sized(), r.sized()], [b"", b""], what + " name and comment")
        elements = list(window_elements(w))
        expect(r.u32(), len(elements), what + " element count")
        table = Reader(r.sized(), what + " element table")
        expect([table.u32() for _ in elements], [cid for cid, _ in elements], what + " element ids")
        offsets = [table.u32() for _ in elements]
        base = table.pos
        for (cid, (kind, element)), offset in zip(elements, offsets):
            table.pos = base + offset
            verify_record(table.sized(), kind, element, slots, images, "element %08X" % cid)
        table.done()
    r.done()


# --- Output --------------------------------------------------------------------------------------

def byte_rows(data):
    return ",\n".join("    " + ", ".join("0x%02X" % b for b in data[i:i + 16])
                      for i in range(0, len(data), 16))


GENERATED_NOTE = "// Generated by ui/description/build_description.py; edit windows.py or the images.\n"


def segment_source(segment):
    return (GENERATED_NOTE + '#include "ui/description/UiSegment.h"\n\n'
            "alignas(4) extern const uint8_t kUiSegment[] = {\n%s\n};\n"
            "extern const uint32_t kUiSegmentSize = %du;\n" % (byte_rows(segment), len(segment)))


def folder_source(png):
    block = u32(1) + u32(len(png)) + png
    return (GENERATED_NOTE + '#include "ui/description/FolderImage.h"\n\n'
            "alignas(4) extern const uint8_t kFolderImageBlock[] = {\n%s\n};\n"
            "extern const uint32_t kFolderImageBlockSize = %du;\n" % (byte_rows(block), len(block)))


def check_panel_fill(panel, height):
    """The laid-out panel is exactly the icon list below the separator line."""
    by_name = {e.get("name"): e for e in panel["elements"] if "name" in e}
    filled = by_name["图标列表框"]["geometry"][3] + by_name["分割线1"]["geometry"][3]
    if filled != height:
        raise BuildError("the icon list and separator fill %d of the panel's %d pixels"
                         % (filled, height))


def geometry_header(geometry):
    lines = [GENERATED_NOTE.replace("windows.py or the images", "windows.py"),
             "// The sizes of the program's two windows, for the program, its tests and\n",
             "// the benchmarks.\n", "#pragma once\n", "#include <cstdint>\n", "\n"]
    for name, value, note in geometry:
        lines.append("constexpr int32_t %s = %d;%s\n" % (name, value, ("  // " + note) if note else ""))
    return "".join(lines)


def write_if_changed(path, text):
    """Leaves an unchanged output alone so that nothing downstream rebuilds."""
    mode = "wb" if isinstance(text, bytes) else "w"
    if os.path.exists(path):
        with open(path, "rb") as f:
            old = f.read()
        if old == (text if isinstance(text, bytes) else text.encode("utf-8")):
            return
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, mode, **({} if mode == "wb" else {"encoding": "utf-8", "newline": "\n"})) as f:
        f.write(text)


def main():
    parser = argparse.ArgumentParser(description="Builds the stored UI description.")
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--slots", default=os.path.join(here, "HandlerSlots.h"))
    parser.add_argument("--images", default=os.path.join(here, "images"))
    parser.add_argument("--segment-cpp")
    parser.add_argument("--folder-cpp")
    parser.add_argument("--segment-bin", help="also write the raw segment (for inspection)")
    parser.add_argument("--geometry-h", help="the window sizes as a C++ header")
    args = parser.parse_args()
    try:
        check_panel_fill(W.DOCK_PANEL_WINDOW, W.PANEL_HEIGHT)
    except BuildError as e:
        print("build_description: %s" % e, file=sys.stderr)
        return 1
    if args.geometry_h:
        write_if_changed(args.geometry_h, geometry_header(W.GEOMETRY))
    if not (args.segment_cpp or args.folder_cpp or args.segment_bin):
        return 0
    try:
        slots = read_handler_slots(args.slots)
        images = Images(args.images)
        segment = encode_segment(W.WINDOWS, slots, images)
        verify_segment(segment, W.WINDOWS, slots, images)
        folder = images.get(W.FOLDER_IMAGE)
    except (BuildError, OSError, UnicodeError) as e:
        print("build_description: %s" % e, file=sys.stderr)
        return 1
    if args.segment_cpp:
        write_if_changed(args.segment_cpp, segment_source(segment))
    if args.folder_cpp:
        write_if_changed(args.folder_cpp, folder_source(folder))
    if args.segment_bin:
        write_if_changed(args.segment_bin, segment)
    print("build_description: UI segment %d bytes, folder picture %d bytes" % (len(segment), len(folder)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
