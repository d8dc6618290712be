"""Contact sheets for reviewing the pictures of one category at a glance."""

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

DIALOG = (212, 208, 200)       # classic dialog face colour
CAPTION = (10, 36, 106)        # classic active title bar
COLUMNS = 10
CELL_W, CELL_H = 72, 58
SMALL_PER_ROW = 20


def title_bar_size(img):
    """The 32 x 32 picture as a title bar shows it: shrunk to 16 x 16 by
    dropping every other row and column, as a plain StretchBlt does."""
    return img.to_rgba().resize((16, 16), Image.NEAREST)


def contact_sheet(caption, items):
    """items: (icon index or None, resource id, 32x32 dib.Indexed image)."""
    font = ImageFont.truetype(FONT, 10)
    head = ImageFont.truetype(FONT_BOLD, 14)
    rows = (len(items) + COLUMNS - 1) // COLUMNS
    small_rows = (len(items) + SMALL_PER_ROW - 1) // SMALL_PER_ROW
    width = COLUMNS * CELL_W + 16
    grid_top = 30
    small_top = grid_top + rows * CELL_H + 26
    height = small_top + small_rows * 24 + 10
    sheet = Image.new("RGBA", (width, height), DIALOG + (255,))
    d = ImageDraw.Draw(sheet)
    d.text((8, 7), "%s (%d)" % (caption, len(items)), font=head, fill=(0, 0, 0))
    for n, (index, rid, img) in enumerate(items):
        x = 8 + (n % COLUMNS) * CELL_W
        y = grid_top + (n // COLUMNS) * CELL_H
        sheet.alpha_composite(img.to_rgba(), (x + (CELL_W - 32) // 2, y))
        label = "%d / %d" % (index, rid) if index is not None else "%d" % rid
        tw = d.textlength(label, font=font)
        d.text((x + (CELL_W - tw) / 2, y + 36), label, font=font, fill=(0, 0, 0))
    d.text((8, small_top - 20), "16 x 16, wie in der Titelleiste", font=font, fill=(0, 0, 0))
    for r in range(small_rows):
        y = small_top + r * 24
        d.rectangle((8, y, width - 9, y + 19), fill=CAPTION)
        for k, (_, _, img) in enumerate(items[r * SMALL_PER_ROW:(r + 1) * SMALL_PER_ROW]):
            sheet.alpha_composite(title_bar_size(img), (12 + k * 24, y + 2))
    return sheet.convert("RGB")
