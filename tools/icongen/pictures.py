"""What each catalogue icon shows, in icon-index order.

A plain string is an emoji of Noto Color Emoji; a name starting with "space:"
is one of our own drawings (space.py), since the emoji set has too few space
pictures for two whole tabs.
"""

# index 0-39, tab "Standard"
STANDARD = [
    "📄", "📁", "📂", "💻", "🖥️", "🌐", "✉️", "🕒", "🛠️", "⚙️",
    "🔍", "🔒", "🔑", "📝", "📋", "📅", "🖨️", "💾", "💿", "📊",
    "🗑️", "🏠", "⚠️", "ℹ️", "✅", "❌", "🔔", "📌", "📎", "🖱️",
    "⌨️", "☎️", "🎵", "📷", "💡", "📦", "📚", "❓", "📈", "🛡️",
]

# index 40-61, first part of tab "Sonstige"
OTHER_A = [
    "✂️", "📏", "✏️", "🖊️", "📐", "🔨", "🔦", "🧲",
    "⚓", "☂️", "👓", "🎒", "👟", "🧦", "👕",
    "🎩", "👑", "💍", "🪑", "🛏️", "🛋️", "🚪",
]

# index 62-89, tab "Star Wars": ships, fighters and things that fly
SPACE_A = [
    "🚀", "🛸", "🛰️", "👽", "👾", "🤖", "☄️", "🌠",
    "space:rocket_red", "space:rocket_blue", "space:rocket_green", "space:rocket_chubby",
    "space:shuttle", "space:rocket_boosters", "space:saucer_silver", "space:saucer_green_beam",
    "space:saucer_purple", "space:fighter_arrow", "space:capsule", "space:cruiser",
    "space:station_ring", "space:station_modules", "space:probe_dish", "space:lander",
    "space:alien_blob", "space:alien_cyclops", "space:tin_robot", "space:asteroids",
]

# index 90-157, tab "Star Trek": the worlds and lights out there
SPACE_B = [
    "🪐", "🌍", "🌏", "🌑", "🌒", "🌓", "🌔", "🌕",
    "🌖", "🌗", "🌘", "🌙", "🌚", "🌛", "🌝", "🌞",
    "☀️", "⭐", "📡", "✨", "💫", "🌌", "🔭", "🧑‍🚀",
    "🌀",
    "space:planet_mars", "space:planet_ocean", "space:planet_jupiter", "space:planet_saturn",
    "space:planet_ice_rings", "space:planet_lava", "space:planet_ice", "space:planet_toxic",
    "space:planet_purple_rings", "space:planet_desert", "space:planet_neptune", "space:planet_cratered",
    "space:planet_forest", "space:planet_pink_bands", "space:planet_storm", "space:planet_double",
    "space:planet_with_moon", "space:planet_crystal", "space:planet_rainbow_rings", "space:planet_cloudy",
    "space:moon_red_gibbous", "space:moon_blue_half", "space:moon_gold_gibbous", "space:moon_ice_full",
    "space:galaxy_blue", "space:galaxy_pink", "space:galaxy_gold", "space:galaxy_elliptical",
    "space:nebula_red", "space:nebula_teal", "space:nebula_ring",
    "space:star_red_giant", "space:star_blue", "space:star_binary", "space:supernova",
    "space:pulsar", "space:black_hole", "space:eclipse", "space:comet_blue",
    "space:comet_gold", "space:constellation_dipper", "space:constellation_w", "space:meteor_shower",
]

# index 158-222, tab "Cartoons"
CARTOONS = [
    "🤡", "👻", "🎃", "🦸", "🦹", "🧙", "🧚", "🧛", "🧜", "🧝",
    "🧞", "🧟", "🧌", "🎅", "🤶", "👼", "🥷", "🤴", "👸", "🐉",
    "🦖", "🦕", "☃️", "🎈", "🦄", "🎉", "🎊", "🎁", "🎠", "🎡",
    "🎢", "🎪", "🌈", "🎭", "🪄", "🔮", "🧸", "🪅", "🪆", "🎏",
    "🏰", "🎮", "🕹️", "👹", "👺", "🏴‍☠️", "🪩", "🎆", "🎄", "💖",
    "🤹", "🏄", "🏂", "⛷️", "🚴", "🧑‍🎤", "🧑‍🚒", "👷", "💂", "🕵️",
    "🧑‍🍳", "🧑‍🎨", "🎯", "🪀", "🎀",
]

# index 223-279, tab "Gesichter"
FACES = [
    "😀", "😂", "😊", "😇", "🥰", "😍", "🤩", "😘", "😋", "🫠",
    "😜", "🤪", "🤑", "🤗", "🤭", "🤫", "🤔", "🤐", "🤨", "😐",
    "😏", "🙄", "😬", "😴", "😷", "🤒", "🤕", "🤢", "🤧", "🥵",
    "🥶", "🥴", "😵", "🤯", "🤠", "🥳", "🥸", "😎", "🤓", "🧐",
    "😮", "😳", "🥺", "😨", "😭", "😱", "😡", "🤬", "😈", "🤥",
    "🙃", "🥱", "👶", "👧", "👦", "👵", "👴",
]

# index 280-357, tab "Tiere"
ANIMALS = [
    "🐶", "🐱", "🐭", "🐹", "🐰", "🦊", "🐻", "🐼", "🐨", "🐯",
    "🦁", "🐮", "🐷", "🐸", "🐵", "🐔", "🐧", "🐦", "🐤", "🦆",
    "🦅", "🦉", "🦇", "🐺", "🐗", "🐴", "🐝", "🐛", "🦋", "🐌",
    "🐞", "🐜", "🕷️", "🦂", "🐢", "🐍", "🦎", "🐙", "🦑", "🦐",
    "🦞", "🦀", "🐡", "🐠", "🐬", "🐳", "🦈", "🐊", "🦓", "🦍",
    "🐘", "🦛", "🦏", "🐪", "🦒", "🦘", "🐄", "🐎", "🐖", "🐑",
    "🦙", "🐐", "🦌", "🐈", "🐓", "🦃", "🦚", "🦜", "🦢", "🦩",
    "🐇", "🦝", "🦨", "🦔", "🦦", "🦥", "🐿️", "🦭",
]

# index 358-439, tab "Nahrung"
FOOD = [
    "🍎", "🍐", "🍊", "🍋", "🍌", "🍉", "🍇", "🍓", "🫐", "🍒",
    "🍑", "🥭", "🍍", "🥥", "🥝", "🍅", "🍆", "🥑", "🥦", "🥒",
    "🌶️", "🌽", "🥕", "🧄", "🧅", "🥔", "🥐", "🥨", "🍞", "🥖",
    "🧀", "🥚", "🍳", "🥞", "🧇", "🥓", "🍗", "🍖", "🌭", "🍔",
    "🍟", "🍕", "🥪", "🌮", "🌯", "🥗", "🍝", "🍜", "🍲", "🍛",
    "🍣", "🍱", "🥟", "🍤", "🍙", "🍡", "🍧", "🍨", "🍦", "🥧",
    "🧁", "🍰", "🎂", "🍮", "🍭", "🍬", "🍫", "🍿", "🍩", "🍪",
    "🥜", "🍯", "🥛", "☕", "🍵", "🧃", "🥤", "🍺", "🍷", "🍸",
    "🍹", "🍾",
]

# index 440-482, second part of tab "Sonstige"
OTHER_B = [
    "🪟", "🚿", "🛁", "🧻", "🧼", "🪥", "🧹", "🧺", "🪣", "🪛",
    "🪚", "🕯️", "🧯", "⏳", "⌚", "📱", "📺", "📻", "🎧", "🎸",
    "🎺", "🎻", "⚽", "🏀", "🎾", "🚲", "🚗", "🚌", "🚂", "✈️",
    "⛵", "🚁", "🛴", "🎲", "🧩", "🪁", "🎨", "🧶", "🪴", "🧳",
    "🛒", "💰", "🌡️",
]

PICTURES = (STANDARD + OTHER_A + SPACE_A + SPACE_B + CARTOONS + FACES
            + ANIMALS + FOOD + OTHER_B)


def check_pictures():
    sizes = [(STANDARD, 40), (OTHER_A, 22), (SPACE_A, 28), (SPACE_B, 68),
             (CARTOONS, 65), (FACES, 57), (ANIMALS, 78), (FOOD, 82), (OTHER_B, 43)]
    for lst, n in sizes:
        assert len(lst) == n, (lst[:2], len(lst), n)
    dupes = sorted(set(p for p in PICTURES if PICTURES.count(p) > 1))
    assert not dupes, "pictures used twice: %s" % dupes
