"""Icon (.ico) file writer (standard library only).

An icon file is a directory of images, each either a 32-bit bitmap image
(BITMAPINFOHEADER, bottom-up BGRA rows, then a 1-bit mask) or a whole PNG
file. Small sizes are stored as bitmaps, which every reader of icons
understands; large ones (256) as PNG, which keeps the file small and which
Windows reads since Vista.

    images = [bitmap_image(16, 16, pixels16), ..., (256, 256, png_bytes)]
    data = icon_file(images)

The same pixels always give the same bytes.
"""

import struct

BITMAP_HEADER_SIZE = 40
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def bitmap_image(width, height, pixels):
    """(width, height, bytes) of a 32-bit icon bitmap.

    pixels: row-major (r, g, b, a) tuples, top row first. The mask marks the
    fully transparent pixels, for readers that ignore the alpha channel.
    """
    if len(pixels) != width * height:
        raise ValueError("expected %d pixels, got %d" % (width * height, len(pixels)))
    # The header's height counts the colour rows and the mask rows.
    header = struct.pack("<IiiHHIIiiII", BITMAP_HEADER_SIZE, width, height * 2, 1, 32, 0,
                         width * height * 4, 0, 0, 0, 0)
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


def icon_file(images):
    """The bytes of an icon file holding the given (width, height, data) images
    in the given order; data is a bitmap_image's bytes or a PNG file."""
    if not images or len(images) > 0xFFFF:
        raise ValueError("an icon file holds 1 to 65535 images")
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for width, height, data in images:
        if not (1 <= width <= 256 and 1 <= height <= 256):
            raise ValueError("icon images are 1 to 256 pixels wide and high")
        if not (data.startswith(PNG_SIGNATURE) or data[:4] == struct.pack("<I", BITMAP_HEADER_SIZE)):
            raise ValueError("an icon image is a PNG file or a 32-bit bitmap image")
        # 256 is stored as 0 in the directory's one-byte fields.
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data),
                                 offset)
        offset += len(data)
    return directory + b"".join(data for _w, _h, data in images)


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
