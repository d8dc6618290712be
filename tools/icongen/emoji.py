"""Large pictures rendered from the Noto Color Emoji font."""

from PIL import Image, ImageDraw, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
FONT_SIZE = 109   # the only size of the font's colour bitmaps

_font = None


def _get_font():
    global _font
    if _font is None:
        _font = ImageFont.truetype(FONT_PATH, FONT_SIZE)
    return _font


def render(text):
    """The emoji on a transparent square canvas, trimmed to its drawn pixels."""
    im = Image.new("RGBA", (FONT_SIZE * 3, FONT_SIZE * 2), (0, 0, 0, 0))
    ImageDraw.Draw(im).text((FONT_SIZE // 2, FONT_SIZE // 4), text,
                            font=_get_font(), embedded_color=True)
    box = im.getbbox()
    if box is None:
        raise ValueError("the font has no picture for %r" % text)
    if box[2] - box[0] > FONT_SIZE * 1.4:
        # Wider than one glyph: the font lacks this sequence and fell back to parts.
        raise ValueError("the font has no single picture for %r" % text)
    im = im.crop(box)
    side = max(im.size)
    square = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    square.paste(im, ((side - im.width) // 2, (side - im.height) // 2))
    return square
