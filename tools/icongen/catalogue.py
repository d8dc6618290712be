"""Which icon resources exist, in which order, and in which file format.

The index -> id runs and the category ranges mirror the program's catalogue
(icons/); the format table is ours and is checked against the required counts
before anything is written.
"""

# (first index, last index, first resource id); ids rise by one within a run.
INDEX_RUNS = [
    (0, 0, 150),
    (1, 1, 149),
    (2, 3, 151),
    (4, 4, 137),
    (5, 38, 154),
    (39, 39, 632),
    (40, 47, 140),
    (48, 89, 188),
    (90, 157, 233),
    (158, 279, 302),
    (280, 482, 429),
]

CATALOGUE_SIZE = 483


def catalogue_ids():
    """Resource ids in icon-index order."""
    ids = []
    for first, last, first_id in INDEX_RUNS:
        ids += range(first_id, first_id + last - first + 1)
    assert len(ids) == CATALOGUE_SIZE and len(set(ids)) == CATALOGUE_SIZE
    return ids


# (tab, caption, file-name slug, [(first index, last index), ...])
CATEGORIES = [
    (0, "Standard", "standard", [(0, 39)]),
    (1, "Cartoons", "cartoons", [(158, 222)]),
    (2, "Star Wars", "star-wars", [(62, 89)]),
    (3, "Star Trek", "star-trek", [(90, 157)]),
    (4, "Nahrung", "nahrung", [(358, 439)]),
    (5, "Gesichter", "gesichter", [(223, 279)]),
    (6, "Tiere", "tiere", [(280, 357)]),
    (7, "Sonstige", "sonstige", [(40, 61), (440, 482)]),
]

# Icons outside the catalogue.
APP_ICON, SPARE_ICON, ABOUT_ICON = 128, 129, 148
BITMAP_RESTORE, BITMAP_CLOSE = 638, 639


def _ids(*spans):
    out = []
    for span in spans:
        if isinstance(span, int):
            out.append(span)
        else:
            out += range(span[0], span[1] + 1)
    return out


# Image layouts. Each is a list of (size, bits per pixel) in file order.
PAIR16 = [(32, 4), (16, 4)]          # 16 colours, 32x32 then 16x16
SINGLE16 = [(32, 4)]                 # 16 colours, 32x32 only
SMALL_FIRST16 = [(16, 4), (32, 4)]   # 16 colours, 16x16 stored first
DUAL_DEPTH = [(32, 4), (32, 8)]      # 32x32 in 16 and in 256 colours
WITH48 = [(32, 8), (48, 8)]          # 256 colours, 32x32 and 48x48
SINGLE256 = [(32, 8)]                # 256 colours, 32x32 only

# Which catalogue icons are not plain 256-colour ones. The 16-colour layouts
# go to flat, symbol-like pictures that survive the fixed palette: the
# "Standard" tab and the tools at the start of "Sonstige".
SPECIAL_FORMATS = [
    # layout         resource ids                                   required count
    (PAIR16,        _ids(150, 149, 151, 152, 137, (154, 186)),       38),
    (SINGLE16,      _ids((140, 147), 188),                            9),
    (SMALL_FIRST16, _ids((189, 194)),                                 6),
    (DUAL_DEPTH,    _ids(187, 632, (589, 597)),                      11),
    (WITH48,        _ids(326),                                        1),
]
SINGLE256_COUNT = 418

# Layouts of the three icons outside the catalogue.
EXTRA_FORMATS = {
    APP_ICON: SINGLE16,
    SPARE_ICON: SINGLE16,
    ABOUT_ICON: PAIR16,
}


def layout_of(resource_id):
    if resource_id in EXTRA_FORMATS:
        return EXTRA_FORMATS[resource_id]
    for layout, ids, _ in SPECIAL_FORMATS:
        if resource_id in ids:
            return layout
    return SINGLE256


def check_tables():
    ids = catalogue_ids()
    seen = set()
    for layout, group, count in SPECIAL_FORMATS:
        assert len(group) == count, (layout, len(group), count)
        assert not seen & set(group), "an icon is given two layouts"
        assert set(group) <= set(ids), "a layout names an id outside the catalogue"
        seen |= set(group)
    assert len([i for i in ids if layout_of(i) == SINGLE256]) == SINGLE256_COUNT
    covered = []
    for _, _, _, spans in CATEGORIES:
        for a, b in spans:
            covered += range(a, b + 1)
    assert sorted(covered) == list(range(CATALOGUE_SIZE)), "categories must cover each index once"
    assert ids[182] == 326


def all_icon_ids():
    """Every icon group of the program, in rising id order."""
    return sorted(catalogue_ids() + [APP_ICON, SPARE_ICON, ABOUT_ICON])
