#!/usr/bin/python3
"""Draws the updater's skins: for each dialog its region, normal, hover and pressed pictures,
and the program icon. The build uses the committed files in updater/art/skins/; run this only
to change the art:

    apt-get install python3-pil fonts-dejavu-core
    /usr/bin/python3 updater/art/draw_skins.py

Sizes and button rectangles must match the layout strings in updater/core/skin_layouts.h.
Everything outside the dialog's shape is pure white, which the program cuts away; the region
pictures are black on white and saved at the highest quality without chroma subsampling so
that the white stays exactly white.
"""

import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "skins")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

WHITE = (255, 255, 255)
BODY = (28, 28, 32)
BODY_EDGE = (70, 70, 78)
TITLE_BAR = (150, 12, 8)
TEXT = (225, 225, 225)
DIM_TEXT = (160, 160, 160)
RADIUS = 14

# Button looks: (face, edge, text) for normal, hover and pressed.
LOOKS = {
    "normal": ((58, 58, 66), (110, 110, 120), (230, 230, 230)),
    "hover": ((96, 96, 108), (235, 235, 235), (255, 255, 255)),
    "pressed": ((177, 4, 0), (255, 120, 110), (255, 255, 255)),
}
EXIT_LOOKS = {"normal": (150, 150, 150), "hover": (40, 200, 60), "pressed": (230, 20, 10)}


def font(size, bold=False):
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def shape(draw, width, height, fill):
    draw.rounded_rectangle((0, 0, width - 1, height - 1), radius=RADIUS, fill=fill)


def base(width, height, title):
    image = Image.new("RGB", (width, height), WHITE)
    draw = ImageDraw.Draw(image)
    shape(draw, width, height, BODY)
    draw.rounded_rectangle((0, 0, width - 1, 35), radius=RADIUS, fill=TITLE_BAR)
    draw.rectangle((0, 20, width - 1, 35), fill=TITLE_BAR)
    draw.rounded_rectangle((0, 0, width - 1, height - 1), radius=RADIUS, outline=BODY_EDGE, width=2)
    draw.text((16, 9), title, font=font(15, bold=True), fill=(255, 255, 255))
    return image, draw


def exit_cross(draw, x, y, w, h, look):
    colour = EXIT_LOOKS[look]
    draw.ellipse((x + 3, y + 3, x + w - 4, y + h - 4), outline=colour, width=2)
    draw.line((x + 10, y + 10, x + w - 11, y + h - 11), fill=colour, width=3)
    draw.line((x + 10, y + h - 11, x + w - 11, y + 10), fill=colour, width=3)


def button(draw, x, y, w, h, label, look):
    face, edge, text = LOOKS[look]
    draw.rounded_rectangle((x, y, x + w - 1, y + h - 1), radius=6, fill=face, outline=edge, width=2)
    f = font(14, bold=True)
    box = draw.textbbox((0, 0), label, font=f)
    tw, th = box[2] - box[0], box[3] - box[1]
    draw.text((x + (w - tw) // 2 - box[0], y + (h - th) // 2 - box[1]), label, font=f, fill=text)


def lines(draw, x, y, texts, size=13, step=19, fill=TEXT):
    for i, text in enumerate(texts):
        draw.text((x, y + i * step), text, font=font(size), fill=fill)


def region(width, height):
    image = Image.new("RGB", (width, height), WHITE)
    shape(ImageDraw.Draw(image), width, height, (0, 0, 0))
    return image


def main_dialog(look):
    image, draw = base(450, 209, "FIRMWARE UPGRADE")
    exit_cross(draw, 412, 2, 30, 30, look)
    lines(draw, 30, 52, ["The keyboard's firmware is being upgraded.",
                         "Do not unplug the keyboard's USB connector",
                         "until the upgrade has finished."])
    draw.text((30, 133), "Firmware:", font=font(12), fill=DIM_TEXT)
    # The frame of the progress bar, which sits at 30,161 394 x 19.
    draw.rectangle((27, 158, 426, 182), outline=BODY_EDGE, width=2)
    draw.rectangle((30, 161, 423, 179), fill=(9, 9, 9))
    return image


def message_dialog(title, texts, buttons, look):
    image, draw = base(340, 209, title)
    exit_cross(draw, 302, 2, 30, 30, look)
    lines(draw, 22, 50, texts)
    for (x, y, w, h, label) in buttons:
        button(draw, x, y, w, h, label, look)
    return image


OK_ONLY = [(129, 168, 78, 35, "OK")]
MESSAGES = {
    # name: (region, normal, hover, pressed, title, texts, buttons)
    "confirm": (158, 155, 156, 157, "FIRMWARE UPGRADE",
                ["Please update the keyboard's firmware.",
                 "Press OK to start the upgrade.",
                 "It takes about one minute.",
                 "Do not switch the computer off",
                 "during the upgrade."],
                [(88, 167, 75, 37, "OK"), (170, 167, 75, 37, "Abort")]),
    "fail": (160, 161, 162, 159, "FIRMWARE UPGRADE",
             ["The firmware upgrade failed.", "", "Please try once more."], OK_ONLY),
    "success": (163, 164, 165, 166, "FIRMWARE UPGRADE",
                ["The firmware upgrade succeeded.", "",
                 "Please unplug the keyboard's USB",
                 "connector, plug it in again once,",
                 "then press OK."], OK_ONLY),
    "driver": (173, 175, 176, 174, "DRIVER UPGRADE",
               ["Please download and install the",
                "newest version of the driver."], OK_ONLY),
}


def save(image, number):
    image.save(os.path.join(OUT, "skin_%d.jpg" % number), "JPEG", quality=100, subsampling=0)


def icon():
    images = []
    for size in (16, 32, 48):
        image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
        draw = ImageDraw.Draw(image)
        draw.rounded_rectangle((0, 0, size - 1, size - 1), radius=size // 5, fill=TITLE_BAR + (255,))
        m = size // 4
        draw.polygon([(size // 2, m - 1), (size - m, size // 2), (size // 2 + 2, size // 2),
                      (size // 2 + 2, size - m), (size // 2 - 2, size - m), (size // 2 - 2, size // 2),
                      (m, size // 2)], fill=(255, 255, 255, 255))
        images.append(image)
    images[-1].save(os.path.join(OUT, "KeyFwFlash.ico"), sizes=[(16, 16), (32, 32), (48, 48)])


def run():
    os.makedirs(OUT, exist_ok=True)
    save(region(450, 209), 154)
    for look, number in (("normal", 151), ("hover", 152), ("pressed", 153)):
        save(main_dialog(look), number)
    for (reg, normal, hover, pressed, title, texts, buttons) in MESSAGES.values():
        save(region(340, 209), reg)
        for look, number in (("normal", normal), ("hover", hover), ("pressed", pressed)):
            save(message_dialog(title, texts, buttons, look), number)
    icon()


if __name__ == "__main__":
    run()
