"""Icon (.ico) file and icon-group writer (standard library only): the one
place that knows the icon formats, for the program's own icon, the test data,
the fuzzers' seeds and the benchmarks' programs.

An icon file is a directory of images, each either a 32-bit bitmap image
(BITMAPINFOHEADER, bottom-up BGRA rows, then a 1-bit mask) or a whole PNG
file. Small sizes are stored as bitmaps, which every reader of icons
understands; large ones (256) as PNG, which keeps the file small and which
Windows reads since Vista.

    images = [bitmap_image(16, 16, pixels16), ..., (256, 256, png_bytes)]
    data = icon_file(images)

A module's icon group (resource type 14) is the same directory with a resource
number instead of a file offset per image: group_directory(entries).

Tests need damaged data too: icon_file(..., check=False), group_directory's
claimed count and bitmap_header's sizes write what they are given.
The same input always gives the same bytes.
"""

import struct
import zlib

BITMAP_HEADER_SIZE = 40
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def bitmap_header(width, height, bits=32, colours=0, image_size=0):
    """A BITMAPINFOHEADER as icon images have it: the height counts the colour
    rows and the mask rows."""
    return struct.pack("<IiiHHIIiiII", BITMAP_HEADER_SIZE, width, height * 2, 1, bits, 0,
                       image_size, 0, 0, colours, 0)


def mask_bytes(width, height, fill=0):
    """The 1-bit mask of an icon bitmap, every byte `fill`."""
    return bytes((fill,)) * ((width + 31) // 32 * 4 * height)


def bitmap_image(width, height, pixels):
    """(width, height, bytes) of a 32-bit icon bitmap.

    pixels: row-major (r, g, b, a) tuples, top row first. The mask marks the
    fully transparent pixels, for readers that ignore the alpha channel.
    """
    if len(pixels) != width * height:
        raise ValueError("expected %d pixels, got %d" % (width * height, len(pixels)))
    header = bitmap_header(width, height, image_size=width * height * 4)
    colour = bytearray()
    mask = bytearray()
    mask_stride = (width + 31) // 32 * 4
    for y in reversed(range(height)):
        row = pixels[y * width:(y + 1) * width]
        for r, g, b, a in row:
            colour += bytes((b, g, r, a)) if a else bytes(4)
        bits = bytearray(mask_stride)
        for x, (_r, _g, _b, a) in enumerate(row):
            if not a:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return width, height, header + bytes(colour) + bytes(mask)


def plain_png(width, height, rows, level=-1):
    """A PNG of 8-bit RGBA rows (each `width` * 4 bytes, top first), every row
    unfiltered and the whole compressed at zlib `level`: quick to make, for
    test pictures (ui/description/pngfile.py makes the product's small ones)."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + row for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (PNG_SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, level)) +
            chunk(b"IEND", b""))


def icon_file(images, check=True):
    """The bytes of an icon file holding the given (width, height, data) images
    in the given order; data is a bitmap_image's bytes or a PNG file. An image
    may give its bit count as a fourth value (32 when left out). With
    check=False anything is written as given (for damaged test files)."""
    if check and (not images or len(images) > 0xFFFF):
        raise ValueError("an icon file holds 1 to 65535 images")
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for image in images:
        width, height, data = image[:3]
        bits = image[3] if len(image) > 3 else 32
        if check:
            if not (1 <= width <= 256 and 1 <= height <= 256):
                raise ValueError("icon images are 1 to 256 pixels wide and high")
            if not (data.startswith(PNG_SIGNATURE) or
                    data[:4] == struct.pack("<I", BITMAP_HEADER_SIZE)):
                raise ValueError("an icon image is a PNG file or a 32-bit bitmap image")
        # 256 is stored as 0 in the directory's one-byte fields.
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, bits, len(data),
                                 offset)
        offset += len(data)
    return directory + b"".join(image[2] for image in images)


def group_directory(entries, claimed=None):
    """A module's icon group: (width, height, bits, size, resource number) per
    image; `claimed` writes another image count than the entries hold."""
    directory = struct.pack("<HHH", 0, 1, len(entries) if claimed is None else claimed)
    for width, height, bits, size, ident in entries:
        directory += struct.pack("<BBBBHHIH", width % 256, height % 256, 0, 0, 1, bits, size,
                                 ident)
    return directory


def read_directory(data):
    """[(width, height, size, is_png)] of an icon file, or raises ValueError."""
    if len(data) < 6:
        raise ValueError("too short for an icon file")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or len(data) < 6 + 16 * count:
        raise ValueError("not an icon file")
    entries = []
    for i in range(count):
        width, height, _colours, _reserved, _planes, _bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        if offset + size > len(data):
            raise ValueError("image %d lies outside the file" % i)
        entries.append((width or 256, height or 256, size,
                        data[offset:offset + 8] == PNG_SIGNATURE))
    return entries
