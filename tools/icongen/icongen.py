#!/usr/bin/python3
"""Writes every icon and bitmap resource of Wimmelpult, the resource-script
fragment that lists them, and one contact sheet per icon category.

Run with Debian's Python and Pillow (see README.md). The output depends only
on this folder and the installed emoji font: no time stamps, fixed order,
fixed random seeds, so a rerun rewrites the same bytes.
"""

import argparse
import os
import sys

from PIL import Image, ImageChops, ImageEnhance, ImageStat

import catalogue
import classic
import dib
import emoji
import pictures
import sheets
import space

# Two catalogue icons whose 32 x 32 pictures differ by less than this would be
# hard to tell apart in the chooser: mean absolute difference per colour
# channel (0..255) over a grey background, taken over the pixels that either
# icon draws, so small pictures on much background are not let off lightly.
MIN_DIFFERENCE = 12.0


def source_picture(entry):
    """The large RGBA picture behind one catalogue entry."""
    if entry.startswith("space:"):
        im = space.draw(entry[len("space:"):])
    else:
        return emoji.render(entry)
    box = im.getchannel("A").getbbox()
    im = im.crop(box)
    side = max(im.size)
    square = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    square.paste(im, ((side - im.width) // 2, (side - im.height) // 2))
    return square


def fit(source, size):
    """Scales a square picture to an icon size, leaving a one-pixel border on
    the larger sizes so that neighbours in a list do not touch."""
    border = 0 if size <= 16 else 1
    inner = size - 2 * border
    im = source.resize((inner, inner), Image.LANCZOS)
    out = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    out.paste(im, (border, border))
    return out


def vivid(rgba):
    """More colour and contrast before the fixed palette, whose colours are all
    strong: soft pastel shades would otherwise fall to greys."""
    alpha = rgba.getchannel("A")
    out = ImageEnhance.Contrast(ImageEnhance.Color(rgba.convert("RGB")).enhance(1.3)).enhance(1.1)
    out = out.convert("RGBA")
    out.putalpha(alpha)
    return out


def reduce(rgba, bpp):
    return dib.to_vga16(vivid(rgba)) if bpp == 4 else dib.to_optimised256(rgba)


def catalogue_images(source, layout):
    return [reduce(fit(source, size), bpp) for size, bpp in layout]


def shown_image(images):
    """The image the system picks for a 32 x 32 icon: the deepest one."""
    return max((im for im in images if im.width == 32), key=lambda im: im.bpp)


def on_grey(img):
    base = Image.new("RGBA", (img.width, img.height), (128, 128, 128, 255))
    return Image.alpha_composite(base, img.to_rgba()).convert("RGB")


def check_distinct(shown):
    """Refuses pictures that look alike; returns the closest pair found."""
    flat = {rid: on_grey(img) for rid, img in shown.items()}
    masks = {rid: img.to_rgba().getchannel("A") for rid, img in shown.items()}
    ids = sorted(flat)
    pairs = []
    for n, a in enumerate(ids):
        for b in ids[n + 1:]:
            total = sum(ImageStat.Stat(ImageChops.difference(flat[a], flat[b])).sum) / 3
            drawn = ImageChops.lighter(masks[a], masks[b]).histogram()[255]
            pairs.append((total / max(1, drawn), a, b))
    pairs.sort()
    alike = [p for p in pairs if p[0] < MIN_DIFFERENCE]
    if alike:
        sys.exit("icons that look alike:\n" + "\n".join(
            "  %d and %d (difference %.1f)" % (a, b, diff) for diff, a, b in alike))
    return pairs[0][1], pairs[0][2], pairs[0][0]


def check_visible(rid, img):
    drawn = [i for i, o in zip(img.indices, img.opaque) if o]
    if len(drawn) < img.width * img.height // 8 or len(set(drawn)) < 2:
        sys.exit("icon %d is (nearly) empty or of one colour" % rid)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def resource_script(icon_ids):
    lines = [
        "// Icon and bitmap resources, written by tools/icongen/icongen.py: do not edit.",
        "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN",
        "",
    ]
    lines += ['%d ICON "icons/%d.ico"' % (rid, rid) for rid in icon_ids]
    lines += [
        "",
        '%d BITMAP "bitmaps/restore.bmp"' % catalogue.BITMAP_RESTORE,
        '%d BITMAP "bitmaps/close.bmp"' % catalogue.BITMAP_CLOSE,
        "",
    ]
    return "\n".join(lines).encode("ascii")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=os.path.normpath(os.path.join(here, "..", "..")),
                        help="repository root (default: two folders up)")
    parser.add_argument("--no-sheets", action="store_true", help="skip the contact sheets")
    args = parser.parse_args()
    res = os.path.join(args.root, "res")

    catalogue.check_tables()
    pictures.check_pictures()

    ids = catalogue.catalogue_ids()
    shown = {}
    for index, (rid, entry) in enumerate(zip(ids, pictures.PICTURES)):
        images = catalogue_images(source_picture(entry), catalogue.layout_of(rid))
        write(os.path.join(res, "icons", "%d.ico" % rid), dib.ico_bytes(images))
        shown[rid] = shown_image(images)
        check_visible(rid, shown[rid])

    extras = {
        catalogue.APP_ICON: [classic.app_icon_32()],
        catalogue.SPARE_ICON: [classic.spare_icon_32()],
        catalogue.ABOUT_ICON: [classic.about_icon_32(), classic.about_icon_16()],
    }
    for rid, pics in extras.items():
        layout = catalogue.layout_of(rid)
        assert [(p.width, 4) for p in pics] == layout
        images = [dib.to_vga16(p, dither=0) for p in pics]
        write(os.path.join(res, "icons", "%d.ico" % rid), dib.ico_bytes(images))

    write(os.path.join(res, "bitmaps", "restore.bmp"),
          dib.bmp_bytes(dib.to_vga16(classic.restore_bitmap(), dither=0)))
    write(os.path.join(res, "bitmaps", "close.bmp"),
          dib.bmp_bytes(dib.to_vga16(classic.close_bitmap(), dither=0)))
    write(os.path.join(res, "icons.rc"), resource_script(catalogue.all_icon_ids()))

    if not args.no_sheets:
        out = os.path.join(args.root, "docs", "contact-sheets")
        for tab, caption, slug, spans in catalogue.CATEGORIES:
            indices = [i for first, last in spans for i in range(first, last + 1)]
            sheet = sheets.contact_sheet(caption, [(i, ids[i], shown[ids[i]]) for i in indices])
            path = os.path.join(out, "%d-%s.png" % (tab, slug))
            os.makedirs(out, exist_ok=True)
            sheet.save(path, optimize=False)
        extra = sheets.contact_sheet("Programm", [
            (None, rid, dib.to_vga16(pics[0], dither=0)) for rid, pics in sorted(extras.items())])
        extra.save(os.path.join(out, "program-icons.png"), optimize=False)

    a, b, diff = check_distinct(shown)
    print("%d icon groups written; closest pair %d/%d differs by %.1f"
          % (len(catalogue.all_icon_ids()), a, b, diff))


if __name__ == "__main__":
    main()
