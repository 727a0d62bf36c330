"""Draws the built-in pictures of the UI description into images/.

Run it after changing a drawing; the PNG files are committed and the
description build reads them from there:
    python3 ui/description/draw_images.py [--preview SHEET.png]
--preview also writes an enlarged contact sheet over a checkerboard, for
looking at the pictures at a glance.

The look is one family: a dark translucent panel, near-white text and glyphs,
a clear blue accent, and rounded shapes with 6 px corners on the large parts.
"""

import argparse
import os
import sys

# Keep the source folder free of compiled caches.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import icofile  # noqa: E402
import pngfile  # noqa: E402
from raster import (Canvas, circle, hex_colour, outline, polygon, rect, ring,  # noqa: E402
                    rounded_rect, stroke, vertical_gradient)

IMAGE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")

PANEL = hex_colour("#202428", 0xF0)
BORDER = hex_colour("#3A4048")
GLYPH = hex_colour("#D5D9DE")
WHITE = hex_colour("#FFFFFF")
ACCENT = hex_colour("#3C8CE7")
ACCENT_LIGHT = hex_colour("#5AA5F5")
ACCENT_DARK = hex_colour("#2A6FC9")
HOVER = hex_colour("#3A4048")
PRESSED = hex_colour("#2B3036")
CLOSE_HOVER = hex_colour("#E5484D")
CLOSE_PRESSED = hex_colour("#C13A3F")


# --- DockWindow ------------------------------------------------------------------

def dock_button(size=32):
    """The taskbar button: a blue tile holding a grid of four rounded squares.

    Drawn on a 32-pixel grid scaled to `size`, so the application icon's
    sizes are the same picture."""
    k = size / 32

    def box(x0, y0, x1, y1, r):
        return rounded_rect(x0 * k, y0 * k, x1 * k, y1 * k, r * k)

    c = Canvas(size, size)
    c.fill(box(2, 3, 30, 31, 7), (0, 0, 0, 60))  # soft shadow below the tile
    c.fill(box(2, 2, 30, 30, 7), vertical_gradient(ACCENT_LIGHT, ACCENT_DARK, 2 * k, 30 * k))
    c.fill(outline(box(2, 2, 30, 30, 7), k), (255, 255, 255, 40))
    for x, y in ((8, 8), (17, 8), (8, 17)):
        c.fill(box(x, y, x + 7, y + 7, 2), WHITE)
    # The fourth cell is a circle: the one "launch" spot of the grid.
    c.fill(circle(20.5 * k, 20.5 * k, 3.8 * k), WHITE)
    return c


def window_frame():
    """Nine-grid frame of the button window's skin: dark translucent rounded panel."""
    c = Canvas(227, 273)
    body = rounded_rect(0, 0, 227, 273, 6)
    c.fill(body, vertical_gradient(hex_colour("#262B30", 0xF0), PANEL, 0, 273))
    c.fill(outline(body, 1), BORDER)
    # A faint highlight just inside the top edge gives the panel a lit rim.
    c.fill(rect(6, 1, 221, 2), (255, 255, 255, 22))
    return c


def caption_button(glyph, state, close=False):
    c = Canvas(30, 30)
    face = rounded_rect(3, 3, 27, 27, 4)
    colour = GLYPH
    if state == "hover":
        c.fill(face, CLOSE_HOVER if close else HOVER)
        colour = WHITE
    elif state == "pressed":
        c.fill(face, CLOSE_PRESSED if close else PRESSED)
        colour = WHITE
    for shape in glyph:
        c.fill(shape, colour)
    return c


def close_glyph():
    return [stroke([(10.5, 10.5), (19.5, 19.5)], 1.4), stroke([(19.5, 10.5), (10.5, 19.5)], 1.4)]


def maximise_glyph():
    return [outline(rounded_rect(10, 10, 20, 20, 1.5), 1.2)]


def restore_glyph():
    back = outline(rounded_rect(12, 9, 21, 18, 1.5), 1.2) - rounded_rect(9.6, 11.4, 18.4, 20.4, 1.5)
    return [back, outline(rounded_rect(9, 12, 18, 21, 1.5), 1.2)]


def minimise_glyph():
    return [stroke([(10, 15.5), (20, 15.5)], 1.3)]


# --- List and icon-list scroll bar parts ----------------------------------------

def scroll_arrow(up):
    c = Canvas(12, 12)
    ys = (7.5, 4.5) if up else (4.5, 7.5)
    c.fill(stroke([(3, ys[0]), (6, ys[1]), (9, ys[0])], 1.5), hex_colour("#9AA3AD"))
    return c


def scroll_thumb():
    c = Canvas(12, 12)
    c.fill(rounded_rect(3.5, 0.5, 8.5, 11.5, 2.5), hex_colour("#5C646E"))
    return c


def scroll_track():
    c = Canvas(12, 12)
    c.fill(rounded_rect(3.5, 0.5, 8.5, 11.5, 2.5), (255, 255, 255, 16))
    return c


# --- Toolbar parts -------------------------------------------------------------------

def toolbar_face(state):
    c = Canvas(16, 16)
    face = rounded_rect(0.5, 0.5, 15.5, 15.5, 4)
    if state == "hover":
        c.fill(face, (255, 255, 255, 26))
    elif state == "pressed":
        c.fill(face, (255, 255, 255, 14))
        c.fill(outline(face, 1), (255, 255, 255, 20))
    elif state == "selected":
        c.fill(face, ACCENT[:3] + (72,))
    return c


def toolbar_selection_mark():
    c = Canvas(16, 16)
    c.fill(rounded_rect(0.5, 3, 3.5, 13, 1.5), ACCENT)
    return c


def toolbar_focus_ring():
    c = Canvas(16, 16)
    c.fill(outline(rounded_rect(0.5, 0.5, 15.5, 15.5, 4), 1.2), ACCENT[:3] + (200,))
    return c


# --- Sample list item icons: one tile style, four colours and glyphs ------------------

def icon_tile(top, bottom):
    c = Canvas(64, 64)
    c.fill(rounded_rect(4, 6, 60, 62, 13), (0, 0, 0, 50))
    c.fill(rounded_rect(4, 4, 60, 60, 13), vertical_gradient(hex_colour(top), hex_colour(bottom), 4, 60))
    c.fill(outline(rounded_rect(4, 4, 60, 60, 13), 1), (255, 255, 255, 36))
    return c


def item_timer():
    """Timed shutdown: a power symbol."""
    c = icon_tile("#FF8A5C", "#E5484D")
    arc = ring(32, 34, 13, 4.2) - polygon([(32, 34), (20, 4), (44, 4)])
    c.fill(arc, WHITE)
    c.fill(stroke([(32, 16), (32, 32)], 4.2), WHITE)
    return c


def item_pictures():
    """Pictures: a photo frame with hills and a sun."""
    c = icon_tile("#3FD0A8", "#179C7B")
    frame = rounded_rect(15, 18, 49, 46, 4)
    c.fill(frame, WHITE)
    inner = rounded_rect(18.5, 21.5, 45.5, 42.5, 2)
    c.fill(inner, hex_colour("#1FA985"))
    c.fill(circle(38.5, 28, 3.2), WHITE)
    c.fill(polygon([(18.5, 42.5), (28, 30), (36, 40.5), (39.5, 36.5), (45.5, 42.5)]) & inner, WHITE)
    return c


def item_favourites():
    """Favourites: a five-pointed star."""
    import math
    c = icon_tile("#FFCC4D", "#F29B05")
    cx, cy, outer, inner = 32, 33.5, 17, 7.4
    points = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        angle = -math.pi / 2 + i * math.pi / 5
        points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    c.fill(polygon(points), WHITE)
    return c


def item_diary():
    """Diary: a notebook with a spine and ruled lines."""
    c = icon_tile("#9B8CFA", "#6A52E6")
    c.fill(rounded_rect(18, 14, 46, 50, 4), WHITE)
    c.fill(rect(22, 14, 25, 50), hex_colour("#C9C0FD"))
    for y in (24, 30, 36):
        c.fill(stroke([(29, y), (41, y)], 2), hex_colour("#7D6AF0"))
    return c


# --- Built-in folder picture for shortcuts to folders ---------------------------------

def folder():
    """A flat yellow folder with a lighter tab; kept to few colours so the file stays small."""
    c = Canvas(64, 64)
    back = rounded_rect(6, 12, 30, 24, 3) | rounded_rect(6, 16, 58, 40, 4)
    c.fill(back, hex_colour("#FFD768"))
    c.fill(rounded_rect(6, 22, 58, 52, 4), hex_colour("#F5B623"))
    return c


# --- Registry of every picture: file name, maker, colour type -------------------------

def catalogue():
    rgba, palette = "rgba", "palette"
    items = [
        ("dock_button.png", dock_button, rgba),
        ("window_frame.png", window_frame, rgba),
    ]
    glyphs = [("close", close_glyph, True), ("maximise", maximise_glyph, False),
              ("restore", restore_glyph, False), ("minimise", minimise_glyph, False)]
    for name, glyph, is_close in glyphs:
        for state in ("normal", "hover", "pressed"):
            items.append(("caption_%s_%s.png" % (name, state),
                          lambda g=glyph, s=state, cl=is_close: caption_button(g(), s, cl), palette))
    items += [
        ("scroll_up.png", lambda: scroll_arrow(True), rgba),
        ("scroll_down.png", lambda: scroll_arrow(False), rgba),
        ("scroll_thumb.png", scroll_thumb, rgba),
        ("scroll_track.png", scroll_track, rgba),
    ]
    for state in ("normal", "hover", "pressed", "selected"):
        items.append(("toolbar_face_%s.png" % state, lambda s=state: toolbar_face(s), rgba))
    items += [
        ("toolbar_selection_mark.png", toolbar_selection_mark, rgba),
        ("toolbar_focus_ring.png", toolbar_focus_ring, rgba),
        ("item_timer.png", item_timer, rgba),
        ("item_pictures.png", item_pictures, rgba),
        ("item_favourites.png", item_favourites, rgba),
        ("item_diary.png", item_diary, rgba),
        ("folder.png", folder, rgba),
    ]
    return items


# --- The application icon: the dock button at the sizes Windows shows ------------------

APP_ICON = "app_icon.ico"
APP_ICON_SIZES = (16, 24, 32, 48, 256)


def app_icon():
    """The program file's icon; the large size is a PNG, the small ones bitmaps."""
    images = []
    for size in APP_ICON_SIZES:
        pixels = dock_button(size).pixels()
        if size >= 256:
            images.append((size, size, pngfile.encode_rgba(size, size, pixels)))
        else:
            images.append(icofile.bitmap_image(size, size, pixels))
    return icofile.icon_file(images)


def encode(canvas, kind, name):
    if kind == "palette":
        return pngfile.encode_palette(canvas.width, canvas.height, canvas.pixels())
    # The folder picture lives in the program's constant data: coarser alpha
    # steps on its anti-aliased edges keep it well under a kilobyte.
    step = 16 if name == "folder.png" else 1
    return pngfile.encode_rgba(canvas.width, canvas.height, canvas.pixels(step))


def write_preview(path, files):
    """Contact sheet: every picture enlarged, over a light and a dark checkerboard."""
    decoded = [pngfile.decode_rgba(data) for data in files]
    pad = 8
    cols = []
    for w, h, px in decoded:
        scale = 2 if w > 64 else 4
        cols.append((w * scale, h * scale, w, h, px, scale))
    # Large pictures get their own row; small ones share rows.
    sheet_w = 1200
    placements, x, y, row_h = [], pad, pad, 0
    for item in cols:
        if x + item[0] * 2 + pad > sheet_w:
            x, y, row_h = pad, y + row_h + pad, 0
        placements.append((x, y, item))
        x += item[0] * 2 + pad * 2
        row_h = max(row_h, item[1])
    sheet_h = y + row_h + pad
    sheet = [(128, 128, 128, 255)] * (sheet_w * sheet_h)
    for x0, y0, (sw, sh, w, h, px, scale) in placements:
        for half, tones in ((0, (232, 216)), (1, (40, 30))):
            for yy in range(sh):
                for xx in range(sw):
                    tone = tones[((xx // 8) + (yy // 8)) % 2]
                    r, g, b, a = px[(yy // scale) * w + (xx // scale)]
                    blend = lambda s, d: int(s * a / 255 + d * (255 - a) / 255)
                    sheet[(y0 + yy) * sheet_w + x0 + half * (sw + pad) + xx] = (
                        blend(r, tone), blend(g, tone), blend(b, tone), 255)
    with open(path, "wb") as f:
        f.write(pngfile.encode_rgba(sheet_w, sheet_h, sheet))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", help="also write an enlarged contact sheet here")
    parser.add_argument("--only", help="draw only the pictures whose file name contains this")
    args = parser.parse_args()
    os.makedirs(IMAGE_DIR, exist_ok=True)
    written = []
    for name, maker, kind in catalogue():
        if args.only and args.only not in name:
            continue
        data = encode(maker(), kind, name)
        with open(os.path.join(IMAGE_DIR, name), "wb") as f:
            f.write(data)
        written.append(data)
        print("%-28s %6d bytes" % (name, len(data)))
    if not args.only or args.only in APP_ICON:
        data = app_icon()
        with open(os.path.join(IMAGE_DIR, APP_ICON), "wb") as f:
            f.write(data)
        # The preview shows each of the icon's sizes.
        written += [pngfile.encode_rgba(s, s, dock_button(s).pixels()) for s in APP_ICON_SIZES]
        print("%-28s %6d bytes" % (APP_ICON, len(data)))
    if args.preview:
        write_preview(args.preview, written)


if __name__ == "__main__":
    main()
