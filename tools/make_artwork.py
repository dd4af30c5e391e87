#!/usr/bin/python3
"""Draws Taliveer's artwork into resources/: the main window background, the tab
highlight, the two button skins, the application icon, the About and promotion window
backgrounds and the promotion windows' OK button.

The pictures are PNG files (the program decodes them with the system's imaging component),
so that the exe stays small. Needs Debian's python3-pil, fonts-dejavu-core and
fonts-wqy-microhei. The outputs are committed, so the build itself does not need this
script; run it again after a change:
    /usr/bin/python3 tools/make_artwork.py
"""
import os
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

W, H = 720, 540
KEY = (153, 153, 153)          # corner key colour; also the pixel at (1, 1)
STRIP = (233, 237, 243)        # tab strip grey, y = 63..93
HEADER_TOP = (30, 104, 206)
HEADER_BOTTOM = (16, 66, 160)
FRAME = (20, 78, 176)
DEJAVU_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
WQY = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vertical_gradient(img, box, top, bottom):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    for y in range(y0, y1 + 1):
        t = (y - y0) / max(1, y1 - y0)
        d.line([(x0, y), (x1, y)], fill=lerp(top, bottom, t))


def rounded_bar(size, radius, top, bottom, border, outside):
    """A rounded bar with a vertical gradient; pixels outside it in `outside`."""
    w, h = size
    scale = 4  # draw large, then shrink: smooth edges
    mask = Image.new("L", (w * scale, h * scale), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w * scale - 1, h * scale - 1], radius * scale, fill=255)
    mask = mask.resize((w, h), Image.LANCZOS)
    fill = Image.new("RGB", (w, h))
    vertical_gradient(fill, (0, 0, w - 1, h - 1), top, bottom)
    edge = Image.new("L", (w * scale, h * scale), 0)
    ImageDraw.Draw(edge).rounded_rectangle([0, 0, w * scale - 1, h * scale - 1], radius * scale,
                                           outline=255, width=scale)
    edge = edge.resize((w, h), Image.LANCZOS)
    fill.paste(Image.new("RGB", (w, h), border), (0, 0), edge)
    out = Image.new("RGB", (w, h), outside)
    out.paste(fill, (0, 0), mask)
    # a soft highlight along the top half
    hl = Image.new("RGB", (w, h), (255, 255, 255))
    hm = Image.new("L", (w, h), 0)
    ImageDraw.Draw(hm).rounded_rectangle([2, 1, w - 3, h // 2], max(1, radius - 2), fill=70)
    out.paste(hl, (0, 0), Image.composite(hm, Image.new("L", (w, h), 0), mask))
    return out


def app_icon(size):
    scale = 8
    s = size * scale
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, s - 1, s - 1], s // 5, fill=(24, 96, 200, 255), outline=(12, 54, 130, 255),
                        width=max(scale, s // 32))
    # three list rows with round bullets: what starts, what is installed, what runs
    for i in range(3):
        y = int(s * (0.27 + 0.23 * i))
        r = s // 16
        d.ellipse([s * 0.2 - r, y - r, s * 0.2 + r, y + r], fill=(120, 220, 120, 255))
        d.rounded_rectangle([s * 0.32, y - r * 0.8, s * 0.8, y + r * 0.8], r, fill=(255, 255, 255, 255))
    return img.resize((size, size), Image.LANCZOS)


def main_background():
    img = Image.new("RGB", (W, H), (255, 255, 255))
    d = ImageDraw.Draw(img)
    # blue frame all round, header band at the top
    d.rectangle([0, 0, W - 1, H - 1], fill=FRAME)
    vertical_gradient(img, (0, 0, W - 1, 62), HEADER_TOP, HEADER_BOTTOM)
    d.line([(0, 0), (W - 1, 0)], fill=(70, 140, 230))
    # tab strip and white working area
    d.rectangle([6, 63, W - 7, 93], fill=STRIP)
    d.line([(6, 93), (W - 7, 93)], fill=(200, 208, 220))
    d.rectangle([6, 94, W - 7, H - 7], fill=(255, 255, 255))
    # icon and title at the top left
    icon = app_icon(32)
    img.paste(icon, (14, 14), icon)
    d.text((56, 12), "Taliveer", font=ImageFont.truetype(DEJAVU_BOLD, 22), fill=(255, 255, 255))
    d.text((57, 40), "启动项 · 卸载 · 进程 · 关联", font=ImageFont.truetype(WQY, 12), fill=(190, 215, 250))
    # knobs behind the three top labels ("i", "_", "x")
    for cx, cy in ((643, 16), (672, 15), (699, 16)):
        knob = rounded_bar((20, 20), 10, (250, 252, 255), (196, 216, 244), (10, 50, 120), HEADER_TOP)
        m = Image.new("L", (80, 80), 0)
        ImageDraw.Draw(m).ellipse([0, 0, 79, 79], fill=255)
        img.paste(knob, (cx - 10, cy - 10), m.resize((20, 20), Image.LANCZOS))
    # rounded corners in the key colour: 5, 4, 3, 2, 1 pixels on rows 0..4, mirrored below
    for row, count in enumerate((5, 4, 3, 2, 1)):
        for x in range(count):
            for y in (row, H - 1 - row):
                img.putpixel((x, y), KEY)
                img.putpixel((W - 1 - x, y), KEY)
    assert img.getpixel((1, 1)) == KEY
    # nothing else in the three-pixel border may carry the key colour
    border = [(x, y) for y in range(H) for x in range(W) if x < 3 or y < 3 or x >= W - 3 or y >= H - 3]
    assert sum(1 for p in border if img.getpixel(p) == KEY) == 60
    return img


def curved_corners(img, w, h):
    """The key colour in the outer corners only: 5, 4, 3, 2, 1 pixels on rows 0..4, mirrored."""
    for row, count in enumerate((5, 4, 3, 2, 1)):
        for x in range(count):
            for y in (row, h - 1 - row):
                img.putpixel((x, y), KEY)
                img.putpixel((w - 1 - x, y), KEY)
    assert img.getpixel((1, 1)) == KEY
    border = [(x, y) for y in range(h) for x in range(w) if x < 3 or y < 3 or x >= w - 3 or y >= h - 3]
    assert sum(1 for p in border if img.getpixel(p) == KEY) == 60


def small_window_background(body, band_height, about):
    """350 x 300: a blue frame, a light grey drag band along the top, the body colour inside."""
    w, h = 350, 300
    img = Image.new("RGB", (w, h), FRAME)
    d = ImageDraw.Draw(img)
    d.rectangle([3, 3, w - 4, band_height - 1], fill=(228, 232, 238))
    d.line([(3, band_height - 1), (w - 4, band_height - 1)], fill=(196, 204, 216))
    d.rectangle([3, band_height, w - 4, h - 4], fill=body)
    if about:
        # the round close button under the "x" label, and the program's picture in the middle
        knob = rounded_bar((20, 20), 10, (250, 252, 255), (196, 216, 244), (10, 50, 120), (228, 232, 238))
        m = Image.new("L", (80, 80), 0)
        ImageDraw.Draw(m).ellipse([0, 0, 79, 79], fill=255)
        img.paste(knob, (314, 12), m.resize((20, 20), Image.LANCZOS))
        icon = app_icon(96)
        img.paste(icon, ((w - 96) // 2, 90), icon)
    curved_corners(img, w, h)
    return img


def main():
    os.makedirs(OUT, exist_ok=True)
    main_background().save(os.path.join(OUT, "form1_background.png"))
    rounded_bar((141, 26), 7, (214, 233, 255), (160, 200, 250), (96, 150, 224), STRIP).save(
        os.path.join(OUT, "tab_highlight.png"))
    rounded_bar((161, 26), 8, (252, 253, 255), (208, 226, 250), (140, 175, 222), (255, 255, 255)).save(
        os.path.join(OUT, "button_a.png"))
    rounded_bar((161, 26), 8, (222, 236, 255), (150, 192, 248), (70, 124, 206), (255, 255, 255)).save(
        os.path.join(OUT, "button_b.png"))
    small_window_background((255, 255, 255), 48, True).save(os.path.join(OUT, "about_background.png"))
    small_window_background((195, 244, 255), 60, False).save(os.path.join(OUT, "promotion_background.png"))
    rounded_bar((103, 30), 14, (246, 246, 246), (196, 196, 196), (128, 128, 128), (195, 244, 255)).save(
        os.path.join(OUT, "ok_button_a.png"))
    rounded_bar((103, 30), 14, (226, 226, 226), (168, 168, 168), (96, 96, 96), (195, 244, 255)).save(
        os.path.join(OUT, "ok_button_b.png"))
    big = app_icon(256)
    big.save(os.path.join(OUT, "taliveer.ico"), sizes=[(16, 16), (24, 24), (32, 32), (48, 48)])


if __name__ == "__main__":
    main()
