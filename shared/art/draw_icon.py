#!/usr/bin/python3
"""Draws the product's icon (Monitor.exe's and Brenik Option.exe's), a small keyboard with its
WASD keys lit, into product.ico beside this script. The build uses the committed file; run this only to change the art:

    apt-get install python3-pil
    /usr/bin/python3 shared/art/draw_icon.py [preview.png]

Both sizes are drawn pixel by pixel rather than scaled, so every key stays a crisp dot at 16x16.
The icon file is written here rather than by Pillow, whose ICO writer stores PNG frames: these
are classic 32-bit DIB frames with alpha and an AND mask, which every shell and Wine show.
The same input always gives the same bytes. With an argument it also saves a preview of both
sizes scaled up 8x on a light and on a dark background.
"""

import os
import struct
import sys

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "product.ico")

CLEAR = (0, 0, 0, 0)
BODY = (36, 36, 42, 255)
BODY_EDGE = (118, 118, 130, 255)
KEY = (222, 222, 230, 255)
ACCENT = (232, 36, 24, 255)

# One layout per size. body: the keyboard's outer rectangle (inclusive) and corner radius.
# Keys are key_w x key_h at a pitch of pitch pixels; each row lists its y, first x, the count of
# keys and the x its last key is stretched to (None: no stretch). Each row starts one pixel
# further right, like a real keyboard's stagger, and the stretched last keys (backspace, enter)
# square the right edge up again.
# space: the bottom row's (y, x0, x1) bar. accent: the WASD keys as (row, column).
LAYOUTS = {
    16: {
        "body": ((0, 3, 15, 11), 2),
        "key_w": 1, "key_h": 1, "pitch": 2,
        "rows": [(5, 2, 6, None), (7, 3, 6, None)],
        "space": (9, 4, 11), "side_keys": [(9, 2), (9, 13)],
        "accent": [(0, 2), (1, 1), (1, 2), (1, 3)],
    },
    32: {
        "body": ((0, 7, 31, 23), 3),
        "key_w": 2, "key_h": 2, "pitch": 3,
        "rows": [(10, 3, 9, None), (13, 4, 8, 28), (16, 5, 8, 28)],
        "space": (19, 9, 22), "side_keys": [(19, 3), (19, 6), (19, 24), (19, 27)],
        "accent": [(1, 1), (2, 0), (2, 1), (2, 2)],
    },
}


def draw(size):
    layout = LAYOUTS[size]
    image = Image.new("RGBA", (size, size), CLEAR)
    d = ImageDraw.Draw(image)
    box, radius = layout["body"]
    d.rounded_rectangle(box, radius=radius, fill=BODY, outline=BODY_EDGE, width=1)
    w, h, pitch = layout["key_w"], layout["key_h"], layout["pitch"]
    accent = set(layout["accent"])
    for row, (y, x0, count, last_end) in enumerate(layout["rows"]):
        for column in range(count):
            x = x0 + column * pitch
            x1 = last_end if last_end is not None and column == count - 1 else x + w - 1
            colour = ACCENT if (row, column) in accent else KEY
            d.rectangle((x, y, x1, y + h - 1), fill=colour)
    y, x0, x1 = layout["space"]
    d.rectangle((x0, y, x1, y + h - 1), fill=KEY)
    for y, x in layout["side_keys"]:
        d.rectangle((x, y, x + w - 1, y + h - 1), fill=KEY)
    return image


def dib_frame(image):
    """A BITMAPINFOHEADER, bottom-up BGRA rows and the 1-bit AND mask (set where transparent)."""
    size = image.width
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = image.getpixel((x, y))
            if a == 0:
                r = g = b = 0
                row_mask[x // 8] |= 0x80 >> (x % 8)
            pixels += bytes((b, g, r, a))
        mask += row_mask
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, images):
    frames = [dib_frame(image) for image in images]
    data = struct.pack("<HHH", 0, 1, len(frames))
    offset = 6 + 16 * len(frames)
    for image, frame in zip(images, frames):
        data += struct.pack("<BBBBHHII", image.width % 256, image.height % 256, 0, 0, 1, 32,
                            len(frame), offset)
        offset += len(frame)
    with open(path, "wb") as out:
        out.write(data + b"".join(frames))


def preview(path, images, scale=8):
    width = sum(i.width * scale for i in images) + 16 * (len(images) + 1)
    height = max(i.height * scale for i in images) + 32
    sheet = Image.new("RGB", (width, height * 2), (255, 255, 255))
    sheet.paste((48, 48, 52), (0, height, width, height * 2))
    for band in range(2):
        x = 16
        for image in images:
            big = image.resize((image.width * scale, image.height * scale), Image.NEAREST)
            sheet.paste(big, (x, band * height + 16), big)
            x += big.width + 16
    sheet.save(path)


def run():
    images = [draw(16), draw(32)]
    write_ico(OUT, images)
    if len(sys.argv) > 1:
        preview(sys.argv[1], images)


if __name__ == "__main__":
    run()
