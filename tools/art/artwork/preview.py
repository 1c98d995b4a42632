"""Contact sheet of all pictures on the window blue, scaled up 2x (for review only)."""

from .canvas import Canvas
from .colour import C, WINDOW_BLUE
from .files import png_plain

SHEET_W, SHEET_H = 800, 590


def write_preview(path, drawn):
    """Lays out the drawn pictures (file name -> picture) and writes the sheet as PNG."""
    sheet = Canvas(SHEET_W, SHEET_H, 1.0, C(*WINDOW_BLUE))
    place_splash(sheet, drawn["splash.bmp"], drawn["velkaro.ico"])
    place_icons(sheet, drawn["velkaro.ico"],
                zip(drawn["close_normal.ico"], drawn["close_hot.ico"]))
    place_buttons(sheet, [images for name, images in drawn.items() if name.startswith("btn_")])
    rgb = sheet.rgb8_on(WINDOW_BLUE)
    with open(path, "wb") as f:
        f.write(png_plain(SHEET_W * 2, SHEET_H * 2, doubled(rgb, SHEET_W, SHEET_H), 3))


def place_splash(sheet, splash, velkaro):
    """The splash top left, with the program icon where the splash window shows it."""
    sp = Canvas(splash.w, splash.h, 1.0)
    rgb = splash.rgb
    for i in range(splash.w * splash.h):
        sp.px[i * 4:i * 4 + 4] = [rgb[i * 3] / 255.0, rgb[i * 3 + 1] / 255.0,
                                  rgb[i * 3 + 2] / 255.0, 1.0]
    sheet.over(sp, 10, 10)
    v64 = [c for c in velkaro if c.w == 64][0]
    sheet.over(v64, 10 + 168, 10 + 144)


def place_icons(sheet, velkaro, closes):
    """The program icon at every size, then the close buttons, idle above hover."""
    big = [c for c in velkaro if c.w == 256][0]
    sheet.over(big, 425, 10)
    x = 425
    for c in velkaro:
        if c.w < 256:
            sheet.over(c, x, 280)
            x += c.w + 8
    x += 12
    for normal, hot in closes:
        sheet.over(normal, x, 280)
        sheet.over(hot, x, 315)
        x += normal.w + 6


def place_buttons(sheet, buttons):
    """The picture buttons in rows of seven, each at 48 and 32 pixels."""
    per_row = 7
    for idx, (c32, c48) in enumerate(buttons):
        col, row = idx % per_row, idx // per_row
        bx, by = 10 + col * 110, 370 + row * 72
        sheet.over(c48, bx, by)
        sheet.over(c32, bx + 56, by + 8)


def doubled(rgb, w, h):
    """RGB rows scaled up 2x, nearest neighbour."""
    big_rows = bytearray()
    for j in range(h):
        row = rgb[j * w * 3:(j + 1) * w * 3]
        row2 = bytearray(w * 6)
        for i in range(w):
            p = row[i * 3:i * 3 + 3]
            row2[i * 6:i * 6 + 3] = p
            row2[i * 6 + 3:i * 6 + 6] = p
        big_rows += row2
        big_rows += row2
    return big_rows
