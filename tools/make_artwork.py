#!/usr/bin/python3
"""Draws Taliveer's artwork into resources/: the main window background, the tab
highlight, the two button skins, the application icon, the About and promotion window
backgrounds and the promotion windows' OK button.

Every picture is drawn for the light and the dark skin (name_dark.png, ...), each at 100,
125, 150, 175 and 200 % (name_125.png, ...), its sizes and
positions rounded as the program rounds them, so that a window is sharp at each of these
display scales. The pictures are PNG files (the program decodes them with the system's
imaging component), so that the exe stays small. Needs Debian's python3-pil, fonts-dejavu-core and
fonts-wqy-microhei. The outputs are committed, so the build itself does not need this
script; run it again after a change:
    /usr/bin/python3 tools/make_artwork.py
"""
import os
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

W, H = 720, 540
PERCENTS = (100, 125, 150, 175, 200)  # the scales every picture is drawn at
KEY = (153, 153, 153)          # corner key colour, in both skins; also the pixel at (1, 1)

# The two skins' colours. The dark one follows Windows' dark app mode; its texts are drawn in
# the colours the program maps the tables' colours to (ui/pure/skin.cpp).
LIGHT = dict(
    strip=(233, 237, 243), strip_line=(200, 208, 220), header_top=(30, 104, 206), header_bottom=(16, 66, 160),
    header_line=(70, 140, 230), frame=(20, 78, 176), page=(255, 255, 255), title=(255, 255, 255),
    subtitle=(190, 215, 250), knob=((250, 252, 255), (196, 216, 244), (10, 50, 120)),
    band=(228, 232, 238), band_line=(196, 204, 216), about_body=(255, 255, 255), promotion_body=(195, 244, 255),
    tab=((214, 233, 255), (160, 200, 250), (96, 150, 224)),
    button_a=((252, 253, 255), (208, 226, 250), (140, 175, 222)),
    button_b=((222, 236, 255), (150, 192, 248), (70, 124, 206)),
    ok_a=((246, 246, 246), (196, 196, 196), (128, 128, 128)),
    ok_b=((226, 226, 226), (168, 168, 168), (96, 96, 96)))
DARK = dict(
    strip=(43, 45, 50), strip_line=(64, 67, 74), header_top=(30, 48, 82), header_bottom=(18, 30, 56),
    header_line=(60, 84, 126), frame=(24, 34, 56), page=(32, 32, 32), title=(235, 240, 250),
    subtitle=(150, 170, 205), knob=((70, 76, 88), (46, 50, 58), (120, 130, 150)),
    band=(45, 47, 52), band_line=(66, 69, 76), about_body=(32, 32, 32), promotion_body=(22, 52, 60),
    tab=((46, 58, 82), (34, 44, 66), (90, 120, 180)),
    button_a=((66, 68, 74), (50, 52, 58), (96, 100, 110)),
    button_b=((48, 60, 84), (34, 44, 64), (100, 140, 210)),
    ok_a=((52, 54, 58), (36, 38, 42), (110, 112, 118)),
    ok_b=((44, 46, 50), (30, 32, 36), (130, 132, 138)))
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


def rounded_bar(size, radius, top, bottom, border, outside, line=1):
    """A rounded bar with a vertical gradient, its edge `line` pixels wide; pixels outside it
    in `outside`."""
    w, h = size
    scale = 4  # draw large, then shrink: smooth edges
    mask = Image.new("L", (w * scale, h * scale), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w * scale - 1, h * scale - 1], radius * scale, fill=255)
    mask = mask.resize((w, h), Image.LANCZOS)
    fill = Image.new("RGB", (w, h))
    vertical_gradient(fill, (0, 0, w - 1, h - 1), top, bottom)
    edge = Image.new("L", (w * scale, h * scale), 0)
    ImageDraw.Draw(edge).rounded_rectangle([0, 0, w * scale - 1, h * scale - 1], radius * scale,
                                           outline=255, width=scale * line)
    edge = edge.resize((w, h), Image.LANCZOS)
    fill.paste(Image.new("RGB", (w, h), border), (0, 0), edge)
    out = Image.new("RGB", (w, h), outside)
    out.paste(fill, (0, 0), mask)
    # a soft highlight along the top half
    hl = Image.new("RGB", (w, h), (255, 255, 255))
    hm = Image.new("L", (w, h), 0)
    ImageDraw.Draw(hm).rounded_rectangle([2 * line, line, w - 1 - 2 * line, h // 2], max(1, radius - 2 * line), fill=70)
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


def main_background(p, c):
    S = scaler(p)
    w, h = S(W), S(H)
    img = Image.new("RGB", (w, h), c["page"])
    d = ImageDraw.Draw(img)
    # blue frame all round, header band at the top
    d.rectangle([0, 0, w - 1, h - 1], fill=c["frame"])
    vertical_gradient(img, (0, 0, w - 1, S(63) - 1), c["header_top"], c["header_bottom"])
    d.rectangle([0, 0, w - 1, S(1) - 1], fill=c["header_line"])
    # tab strip and white working area
    d.rectangle([S(6), S(63), w - 1 - S(6), S(94) - 1], fill=c["strip"])
    d.rectangle([S(6), S(94) - S(1), w - 1 - S(6), S(94) - 1], fill=c["strip_line"])
    d.rectangle([S(6), S(94), w - 1 - S(6), h - 1 - S(6)], fill=c["page"])
    # icon and title at the top left
    icon = app_icon(S(32))
    img.paste(icon, (S(14), S(14)), icon)
    d.text((S(56), S(12)), "Taliveer", font=ImageFont.truetype(DEJAVU_BOLD, S(22)), fill=c["title"])
    d.text((S(57), S(40)), "启动项 · 卸载 · 进程 · 关联", font=ImageFont.truetype(WQY, S(12)), fill=c["subtitle"])
    # knobs behind the three top labels ("i", "_", "x")
    for cx, cy in ((643, 16), (672, 15), (699, 16)):
        paste_knob(img, S(20), (S(cx) - S(10), S(cy) - S(10)), c["knob"], c["header_top"])
    curved_corners(img, w, h, p)
    return img


def scaler(p):
    """96-DPI pixels at p per cent, rounded half up as the program rounds them."""
    return lambda v: (v * p + 50) // 100


def paste_knob(img, side, at, colours, outside):
    knob = rounded_bar((side, side), side // 2, *colours, outside)
    m = Image.new("L", (side * 4, side * 4), 0)
    ImageDraw.Draw(m).ellipse([0, 0, side * 4 - 1, side * 4 - 1], fill=255)
    img.paste(knob, at, m.resize((side, side), Image.LANCZOS))


def curved_corners(img, w, h, p):
    """The key colour in the outer corners only: at 100 % 5, 4, 3, 2, 1 pixels on rows 0..4,
    mirrored; at other scales the same cut, its size scaled. Every key pixel lies in the
    border the region routine reads (3 pixels, scaled)."""
    S = scaler(p)
    n = S(5)
    for row in range(n):
        for x in range(n - row):
            for y in (row, h - 1 - row):
                img.putpixel((x, y), KEY)
                img.putpixel((w - 1 - x, y), KEY)
    assert img.getpixel((1, 1)) == KEY
    b = S(3)
    assert (n + 1) // 2 <= b
    border = [(x, y) for y in range(h) for x in range(w) if x < b or y < b or x >= w - b or y >= h - b]
    assert sum(1 for q in border if img.getpixel(q) == KEY) == 4 * n * (n + 1) // 2


def small_window_background(p, c, body, band_height, about):
    """350 x 300: a blue frame, a light grey drag band along the top, the body colour inside."""
    S = scaler(p)
    w, h = S(350), S(300)
    img = Image.new("RGB", (w, h), c["frame"])
    d = ImageDraw.Draw(img)
    d.rectangle([S(3), S(3), w - 1 - S(3), S(band_height) - 1], fill=c["band"])
    d.rectangle([S(3), S(band_height) - S(1), w - 1 - S(3), S(band_height) - 1], fill=c["band_line"])
    d.rectangle([S(3), S(band_height), w - 1 - S(3), h - 1 - S(3)], fill=body)
    if about:
        # the round close button under the "x" label, and the program's picture in the middle
        paste_knob(img, S(20), (S(314), S(12)), c["knob"], c["band"])
        icon = app_icon(S(96))
        img.paste(icon, ((w - S(96)) // 2, S(90)), icon)
    curved_corners(img, w, h, p)
    return img


def bar(p, size, radius, top, bottom, border, outside):
    S = scaler(p)
    return rounded_bar((S(size[0]), S(size[1])), S(radius), top, bottom, border, outside, S(1))


def save(img, name, p, dark):
    img.save(os.path.join(OUT, name + ("_dark" if dark else "") + ("" if p == 100 else "_%d" % p) + ".png"),
             optimize=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    for dark, c in ((False, LIGHT), (True, DARK)):
        for p in PERCENTS:
            save(main_background(p, c), "form1_background", p, dark)
            save(bar(p, (141, 26), 7, *c["tab"], c["strip"]), "tab_highlight", p, dark)
            save(bar(p, (161, 26), 8, *c["button_a"], c["page"]), "button_a", p, dark)
            save(bar(p, (161, 26), 8, *c["button_b"], c["page"]), "button_b", p, dark)
            save(small_window_background(p, c, c["about_body"], 48, True), "about_background", p, dark)
            save(small_window_background(p, c, c["promotion_body"], 60, False), "promotion_background", p, dark)
            save(bar(p, (103, 30), 14, *c["ok_a"], c["promotion_body"]), "ok_button_a", p, dark)
            save(bar(p, (103, 30), 14, *c["ok_b"], c["promotion_body"]), "ok_button_b", p, dark)
    big = app_icon(256)
    big.save(os.path.join(OUT, "taliveer.ico"), sizes=[(16, 16), (20, 20), (24, 24), (32, 32), (48, 48), (64, 64)])


if __name__ == "__main__":
    main()
