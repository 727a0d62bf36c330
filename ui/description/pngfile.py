"""Small PNG writer and header reader (standard library only).

The writer makes the smallest file it can cheaply find: it tries every fixed
row filter and the adaptive choice, several zlib strategies at level 9, and
keeps the shortest result. Fully transparent pixels are written as 0,0,0,0 so
that they compress to nothing.
"""

import struct
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
COLOUR_TYPE_PALETTE = 3
COLOUR_TYPE_RGBA = 6


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(kind, row, prev, bpp):
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        if kind == 0:
            p = 0
        elif kind == 1:
            p = a
        elif kind == 2:
            p = b
        elif kind == 3:
            p = (a + b) >> 1
        else:
            p = _paeth(a, b, c)
        out[i] = (x - p) & 0xFF
    return bytes(out)


def _filtered_streams(rows, bpp):
    """Yields candidate filtered image data: each fixed filter, then adaptive."""
    width = len(rows[0])
    per_row = []
    prev = bytes(width)
    for row in rows:
        per_row.append([_filter_row(k, row, prev, bpp) for k in range(5)])
        prev = row
    for k in range(5):
        yield b"".join(bytes([k]) + choices[k] for choices in per_row)

    def cost(data):
        return sum(v if v < 128 else 256 - v for v in data)

    adaptive = bytearray()
    for choices in per_row:
        k = min(range(5), key=lambda j: cost(choices[j]))
        adaptive += bytes([k]) + choices[k]
    yield bytes(adaptive)


def _smallest_deflate(raw_candidates):
    best = None
    for raw in raw_candidates:
        for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED, zlib.Z_RLE):
            for mem_level in (8, 9):
                c = zlib.compressobj(9, zlib.DEFLATED, 15, mem_level, strategy)
                data = c.compress(raw) + c.flush()
                if best is None or len(data) < len(best):
                    best = data
    return best


def _clean(pixels):
    return [tuple(p) if p[3] else (0, 0, 0, 0) for p in pixels]


def encode_rgba(width, height, pixels):
    """pixels: row-major list of (r, g, b, a) 0..255 tuples."""
    pixels = _clean(pixels)
    rows = [bytes(v for p in pixels[y * width:(y + 1) * width] for v in p) for y in range(height)]
    ihdr = struct.pack(">IIBBBBB", width, height, 8, COLOUR_TYPE_RGBA, 0, 0, 0)
    idat = _smallest_deflate(_filtered_streams(rows, 4))
    return PNG_SIGNATURE + _chunk(b"IHDR", ihdr) + _chunk(b"IDAT", idat) + _chunk(b"IEND", b"")


def _quantise(pixels):
    """Rounds colours coarser until at most 256 remain (rarely needed)."""
    step = 1
    while True:
        q = [tuple(min(255, (v + step // 2) // step * step) for v in p) for p in pixels]
        q = _clean(q)
        if len(set(q)) <= 256:
            return q
        step += 1


def encode_palette(width, height, pixels):
    """An 8-bit palette PNG with a tRNS chunk for the translucent entries."""
    pixels = _quantise(_clean(pixels))
    # Translucent entries first so that the tRNS chunk stays short.
    colours = sorted(set(pixels), key=lambda p: (p[3] == 255, p))
    index = {c: i for i, c in enumerate(colours)}
    rows = [bytes(index[p] for p in pixels[y * width:(y + 1) * width]) for y in range(height)]
    ihdr = struct.pack(">IIBBBBB", width, height, 8, COLOUR_TYPE_PALETTE, 0, 0, 0)
    plte = b"".join(bytes(c[:3]) for c in colours)
    alphas = [c[3] for c in colours if c[3] != 255]
    idat = _smallest_deflate(_filtered_streams(rows, 1))
    out = PNG_SIGNATURE + _chunk(b"IHDR", ihdr) + _chunk(b"PLTE", plte)
    if alphas:
        out += _chunk(b"tRNS", bytes(alphas))
    return out + _chunk(b"IDAT", idat) + _chunk(b"IEND", b"")


def read_header(data):
    """(width, height, bit depth, colour type) of a PNG, or raises ValueError."""
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    return width, height, depth, colour


def decode_rgba(data):
    """Decodes the files this module writes (8-bit RGBA or palette) to pixels."""
    width, height, depth, colour = read_header(data)
    if depth != 8 or colour not in (COLOUR_TYPE_RGBA, COLOUR_TYPE_PALETTE):
        raise ValueError("unsupported PNG kind")
    pos, idat, plte, trns = 8, b"", b"", b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IDAT":
            idat += body
        elif kind == b"PLTE":
            plte = body
        elif kind == b"tRNS":
            trns = body
        pos += 12 + length
    raw = zlib.decompress(idat)
    bpp = 4 if colour == COLOUR_TYPE_RGBA else 1
    stride = width * bpp
    prev = bytearray(stride)
    pixels = []
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            p = (0, a, b, (a + b) >> 1, _paeth(a, b, c))[kind]
            row[i] = (row[i] + p) & 0xFF
        prev = row
        if bpp == 4:
            pixels += [tuple(row[i:i + 4]) for i in range(0, stride, 4)]
        else:
            for i in row:
                alpha = trns[i] if i < len(trns) else 255
                pixels.append(tuple(plte[i * 3:i * 3 + 3]) + (alpha,))
    return width, height, pixels
