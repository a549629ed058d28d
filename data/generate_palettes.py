#!/usr/bin/env python3
"""Writes the palette index "colorchart.cci" and the shipped palette files.

Run from anywhere: the files go beside this script. The output depends on
nothing but this file, so running it again gives the same bytes.

A palette file is a headerless run of 6-byte records (red, green, blue as two
upper-case hexadecimal digits each), oldest first. The palette view shows the
newest record first, down each of its 12-row columns and then across, so every
palette below is written as the reverse of the order in which it should appear.
"""

import colorsys
import os

HERE = os.path.dirname(os.path.abspath(__file__))
ROWS = 12


def record(rgb):
    red, green, blue = rgb
    return "%02X%02X%02X" % (red, green, blue)


def write_palette(file_name, shown_order):
    """Writes the colours so that the view shows them in `shown_order`."""
    data = "".join(record(rgb) for rgb in reversed(shown_order))
    with open(os.path.join(HERE, file_name), "wb") as out:
        out.write(data.encode("ascii"))


def from_hex(text):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))


# Pleasant colours for a designer's own palette: a calm blue, teal, green,
# warm accents and two neutrals, one column of the grid.
MY_COLORS = [
    "#336699", "#3399CC", "#2A9D8F", "#57A773", "#E9C46A", "#F4A261",
    "#E76F51", "#C0392B", "#8E44AD", "#5D6D7E", "#F5F0E6", "#2B2D42",
]

# Four columns of a user's first palette.
MY_PALETTE = [
    "#1D3557", "#457B9D", "#A8DADC", "#F1FAEE", "#E63946", "#FFB703",
]


def web_safe():
    """The 216 web-safe colours as six 6 x 6 blocks, one red level each: blue
    runs down the rows, green across the columns."""
    levels = [0, 51, 102, 153, 204, 255]
    cells = []
    for cell in range(216):
        column, row = divmod(cell, ROWS)
        red = levels[(row // 6) * 3 + column // 6]
        green = levels[column % 6]
        blue = levels[row % 6]
        cells.append((red, green, blue))
    return cells


def grays():
    """Black to white in steps of 5: 52 greys, down the columns."""
    return [(v, v, v) for v in range(0, 256, 5)]


# The named colours of CSS, alphabetically. Where two names share a value
# (aqua/cyan, fuchsia/magenta, gray/grey...) the colour appears once.
CSS_NAMED = [
    ("aliceblue", "F0F8FF"), ("antiquewhite", "FAEBD7"), ("aqua", "00FFFF"),
    ("aquamarine", "7FFFD4"), ("azure", "F0FFFF"), ("beige", "F5F5DC"),
    ("bisque", "FFE4C4"), ("black", "000000"), ("blanchedalmond", "FFEBCD"),
    ("blue", "0000FF"), ("blueviolet", "8A2BE2"), ("brown", "A52A2A"),
    ("burlywood", "DEB887"), ("cadetblue", "5F9EA0"), ("chartreuse", "7FFF00"),
    ("chocolate", "D2691E"), ("coral", "FF7F50"), ("cornflowerblue", "6495ED"),
    ("cornsilk", "FFF8DC"), ("crimson", "DC143C"), ("cyan", "00FFFF"),
    ("darkblue", "00008B"), ("darkcyan", "008B8B"), ("darkgoldenrod", "B8860B"),
    ("darkgray", "A9A9A9"), ("darkgreen", "006400"), ("darkgrey", "A9A9A9"),
    ("darkkhaki", "BDB76B"), ("darkmagenta", "8B008B"), ("darkolivegreen", "556B2F"),
    ("darkorange", "FF8C00"), ("darkorchid", "9932CC"), ("darkred", "8B0000"),
    ("darksalmon", "E9967A"), ("darkseagreen", "8FBC8F"), ("darkslateblue", "483D8B"),
    ("darkslategray", "2F4F4F"), ("darkslategrey", "2F4F4F"), ("darkturquoise", "00CED1"),
    ("darkviolet", "9400D3"), ("deeppink", "FF1493"), ("deepskyblue", "00BFFF"),
    ("dimgray", "696969"), ("dimgrey", "696969"), ("dodgerblue", "1E90FF"),
    ("firebrick", "B22222"), ("floralwhite", "FFFAF0"), ("forestgreen", "228B22"),
    ("fuchsia", "FF00FF"), ("gainsboro", "DCDCDC"), ("ghostwhite", "F8F8FF"),
    ("gold", "FFD700"), ("goldenrod", "DAA520"), ("gray", "808080"),
    ("green", "008000"), ("greenyellow", "ADFF2F"), ("grey", "808080"),
    ("honeydew", "F0FFF0"), ("hotpink", "FF69B4"), ("indianred", "CD5C5C"),
    ("indigo", "4B0082"), ("ivory", "FFFFF0"), ("khaki", "F0E68C"),
    ("lavender", "E6E6FA"), ("lavenderblush", "FFF0F5"), ("lawngreen", "7CFC00"),
    ("lemonchiffon", "FFFACD"), ("lightblue", "ADD8E6"), ("lightcoral", "F08080"),
    ("lightcyan", "E0FFFF"), ("lightgoldenrodyellow", "FAFAD2"), ("lightgray", "D3D3D3"),
    ("lightgreen", "90EE90"), ("lightgrey", "D3D3D3"), ("lightpink", "FFB6C1"),
    ("lightsalmon", "FFA07A"), ("lightseagreen", "20B2AA"), ("lightskyblue", "87CEFA"),
    ("lightslategray", "778899"), ("lightslategrey", "778899"), ("lightsteelblue", "B0C4DE"),
    ("lightyellow", "FFFFE0"), ("lime", "00FF00"), ("limegreen", "32CD32"),
    ("linen", "FAF0E6"), ("magenta", "FF00FF"), ("maroon", "800000"),
    ("mediumaquamarine", "66CDAA"), ("mediumblue", "0000CD"), ("mediumorchid", "BA55D3"),
    ("mediumpurple", "9370DB"), ("mediumseagreen", "3CB371"), ("mediumslateblue", "7B68EE"),
    ("mediumspringgreen", "00FA9A"), ("mediumturquoise", "48D1CC"), ("mediumvioletred", "C71585"),
    ("midnightblue", "191970"), ("mintcream", "F5FFFA"), ("mistyrose", "FFE4E1"),
    ("moccasin", "FFE4B5"), ("navajowhite", "FFDEAD"), ("navy", "000080"),
    ("oldlace", "FDF5E6"), ("olive", "808000"), ("olivedrab", "6B8E23"),
    ("orange", "FFA500"), ("orangered", "FF4500"), ("orchid", "DA70D6"),
    ("palegoldenrod", "EEE8AA"), ("palegreen", "98FB98"), ("paleturquoise", "AFEEEE"),
    ("palevioletred", "DB7093"), ("papayawhip", "FFEFD5"), ("peachpuff", "FFDAB9"),
    ("peru", "CD853F"), ("pink", "FFC0CB"), ("plum", "DDA0DD"),
    ("powderblue", "B0E0E6"), ("purple", "800080"), ("rebeccapurple", "663399"),
    ("red", "FF0000"), ("rosybrown", "BC8F8F"), ("royalblue", "4169E1"),
    ("saddlebrown", "8B4513"), ("salmon", "FA8072"), ("sandybrown", "F4A460"),
    ("seagreen", "2E8B57"), ("seashell", "FFF5EE"), ("sienna", "A0522D"),
    ("silver", "C0C0C0"), ("skyblue", "87CEEB"), ("slateblue", "6A5ACD"),
    ("slategray", "708090"), ("slategrey", "708090"), ("snow", "FFFAFA"),
    ("springgreen", "00FF7F"), ("steelblue", "4682B4"), ("tan", "D2B48C"),
    ("teal", "008080"), ("thistle", "D8BFD8"), ("tomato", "FF6347"),
    ("turquoise", "40E0D0"), ("violet", "EE82EE"), ("wheat", "F5DEB3"),
    ("white", "FFFFFF"), ("whitesmoke", "F5F5F5"), ("yellow", "FFFF00"),
    ("yellowgreen", "9ACD32"),
]


def css_named():
    seen = set()
    cells = []
    for _, value in CSS_NAMED:
        if value not in seen:
            seen.add(value)
            cells.append(from_hex(value))
    return cells


def color_wheel():
    """Eighteen hues 20 degrees apart, one per column; down each column the
    colour runs from a pale tint through the full hue to a deep shade."""
    lightness = [0.92, 0.85, 0.78, 0.70, 0.62, 0.55, 0.50, 0.43, 0.36, 0.29, 0.22, 0.15]
    cells = []
    for cell in range(216):
        column, row = divmod(cell, ROWS)
        red, green, blue = colorsys.hls_to_rgb(column / 18.0, lightness[row], 0.85)
        cells.append(tuple(int(round(channel * 255)) for channel in (red, green, blue)))
    return cells


# File, display name, kind ("0" fixed, "1" the user's own, "2" read-only). The
# first two entries and the last entry's "c" + number + ".rgb" name are what the
# program relies on.
INDEX = [
    ("mycolor.rgb", "My Colors", "0", [from_hex(c) for c in MY_COLORS]),
    ("recent.rgb", "Recent Colors", "0", None),
    ("c1.rgb", "Web Safe Colors", "2", web_safe()),
    ("c2.rgb", "Grays", "2", grays()),
    ("c3.rgb", "CSS Named Colors", "2", css_named()),
    ("c4.rgb", "Color Wheel", "2", color_wheel()),
    ("c5.rgb", "My Palette", "1", [from_hex(c) for c in MY_PALETTE]),
]


def main():
    lines = []
    for file_name, name, kind, colors in INDEX:
        lines += [file_name, name, kind]
        if colors is not None:
            write_palette(file_name, colors)
    with open(os.path.join(HERE, "colorchart.cci"), "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("latin-1"))


if __name__ == "__main__":
    main()
