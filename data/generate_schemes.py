#!/usr/bin/env python3
"""Writes the saved web colour schemes that ship with Tintora.

Produces "set.hcs" (one quoted name per line, CR LF after each, Latin-1) and
"colorset.dat" (one 36-byte record per name: six BBGGRR fields for text,
background, normal, visited, active and hover link). The output depends on
nothing but this file, so running it again gives the same bytes.

Usage: generate_schemes.py [output folder]   (default: this script's folder)
"""

import pathlib
import sys

# name, then text, background, normal link, visited link, active link and
# hover link, each as #RRGGBB. Scheme 1 is shown at every start and can never
# be deleted, so it is the plain, readable one.
SCHEMES = [
    ("Classic Web", "#000000", "#FFFFFF", "#0000FF", "#800080", "#FF0000", "#FF6600"),
    ("Midnight Blue", "#E8EEF7", "#14213D", "#7FB2FF", "#C3A6FF", "#FFD166", "#FFFFFF"),
    ("Forest Path", "#2F3E2E", "#F4F1E8", "#2E7D32", "#6D4C41", "#C62828", "#E65100"),
    ("Ocean Breeze", "#0B3954", "#E0F2F7", "#087E8B", "#5C4B99", "#FF5A5F", "#C81D25"),
    ("Terminal Green", "#33FF33", "#000000", "#00CCFF", "#CC99FF", "#FFFF00", "#FF9900"),
    ("Sand and Slate", "#333333", "#F5E6CA", "#336699", "#996633", "#CC3300", "#FF6600"),
]


def bgr_field(html):
    """#RRGGBB as the stored BBGGRR field, upper case."""
    if len(html) != 7 or html[0] != "#":
        raise ValueError("not a #RRGGBB colour: " + html)
    int(html[1:], 16)
    red, green, blue = html[1:3], html[3:5], html[5:7]
    return (blue + green + red).upper()


def build():
    names = b""
    records = b""
    for scheme in SCHEMES:
        name, colors = scheme[0], scheme[1:]
        if '"' in name or "\r" in name or "\n" in name:
            raise ValueError("shipped names stay plain: " + name)
        names += b'"' + name.encode("latin-1") + b'"\r\n'
        record = "".join(bgr_field(color) for color in colors).encode("ascii")
        assert len(record) == 36
        records += record
    return names, records


def main():
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent
    names, records = build()
    (folder / "set.hcs").write_bytes(names)
    (folder / "colorset.dat").write_bytes(records)


if __name__ == "__main__":
    main()
