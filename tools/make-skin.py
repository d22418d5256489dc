#!/usr/bin/env python3
"""Builds the skin image that brinkvale.exe hands to its skin engine, from res/skin/*.skin.

    make-skin.py SOURCE OUTPUT

The image ("SHE" format, version 1) is always 30,738 bytes, all numbers little-endian:

    offset  size  field
    0       4     magic ".SHE"
    4       2     version, 1
    6       2     header size, 32
    8       4     total length, 30738
    12      2     colour count, 22
    14      2     image count, 6
    16      16    skin name, ANSI, NUL-padded
    32      88    22 colours of 4 bytes each: R, G, B, 0, in the order of COLOURS
    120     ...   6 images in the order of IMAGES: width x height pixels of 3 bytes (R, G, B),
                  rows top to bottom; FF00FF is transparent

Every frame of a multi-frame image sits side by side in one strip. The engine knows the sizes,
so a designer changes pixels and colours, never the layout.
"""
import struct
import sys

MAGIC = b".SHE"
VERSION = 1
HEADER_SIZE = 32
TOTAL_SIZE = 30738

COLOURS = [
    "caption_text_active", "caption_text_inactive",
    "frame_outer_active", "frame_inner_active", "frame_outer_inactive", "frame_inner_inactive",
    "button_text", "button_text_hot", "button_text_pressed", "button_text_disabled", "focus_mark",
    "edit_border", "edit_border_focused", "edit_border_disabled",
    "combo_face", "combo_text", "combo_selected_face", "combo_selected_text",
    "combo_border", "combo_border_focused",
    "check_text_disabled", "window_face",
]

IMAGES = [  # name, width, height
    ("button", 90, 18),
    ("check", 78, 13),
    ("caption", 32, 24),
    ("caption_buttons", 96, 14),
    ("combo_arrow", 48, 20),
    ("background", 60, 75),
]

TRANSPARENT = "FF00FF"


class SkinError(Exception):
    pass


def parse_rgb(text, where):
    if len(text) != 6 or any(c not in "0123456789abcdefABCDEF" for c in text):
        raise SkinError("%s: colour %r is not RRGGBB" % (where, text))
    return bytes.fromhex(text)


def parse(lines):
    """Returns (name, {colour: rgb}, {image: pixel bytes}) from the source's lines."""
    name, colours, images = "", {}, {}
    i = 0
    while i < len(lines):
        where = "line %d" % (i + 1)
        words = lines[i].split()
        i += 1
        if not words or words[0].startswith("#"):
            continue
        if words[0] == "name":
            name = " ".join(words[1:])
        elif words[0] == "colour" and len(words) == 3:
            colours[words[1]] = parse_rgb(words[2], where)
        elif words[0] == "image" and len(words) == 4:
            image, width, height = words[1], int(words[2]), int(words[3])
            legend = {".": bytes.fromhex(TRANSPARENT)}
            while i < len(lines) and lines[i].split() != ["pixels"]:
                entry = lines[i].split()
                i += 1
                if entry and not entry[0].startswith("#"):
                    if len(entry) != 2 or len(entry[0]) != 1:
                        raise SkinError("line %d: a pixel letter and its colour expected" % i)
                    legend[entry[0]] = parse_rgb(entry[1], "line %d" % i)
            i += 1
            rows = lines[i:i + height]
            i += height
            if lines[i:i + 1] != ["end"]:
                raise SkinError("%s: image %s needs %d rows and then 'end'" % (where, image, height))
            i += 1
            pixels = bytearray()
            for number, row in enumerate(rows):
                if len(row) != width:
                    raise SkinError("image %s row %d: %d pixels, %d expected" % (image, number + 1, len(row), width))
                for letter in row:
                    if letter not in legend:
                        raise SkinError("image %s row %d: unknown pixel letter %r" % (image, number + 1, letter))
                    pixels += legend[letter]
            images[image] = (width, height, bytes(pixels))
        else:
            raise SkinError("%s: cannot read %r" % (where, lines[i - 1]))
    return name, colours, images


def build(name, colours, images):
    out = bytearray(MAGIC)
    encoded_name = name.encode("gbk")
    if len(encoded_name) > 15:
        raise SkinError("skin name longer than 15 bytes")
    out += struct.pack("<HHIHH", VERSION, HEADER_SIZE, TOTAL_SIZE, len(COLOURS), len(IMAGES))
    out += encoded_name.ljust(16, b"\0")
    for colour in COLOURS:
        if colour not in colours:
            raise SkinError("colour %s missing" % colour)
        out += colours[colour] + b"\0"
    for image, width, height in IMAGES:
        if image not in images:
            raise SkinError("image %s missing" % image)
        if images[image][:2] != (width, height):
            raise SkinError("image %s must be %dx%d" % (image, width, height))
        out += images[image][2]
    extra = set(colours) - set(COLOURS) | set(images) - {n for n, _, _ in IMAGES}
    if extra:
        raise SkinError("unknown entries: %s" % ", ".join(sorted(extra)))
    assert len(out) == TOTAL_SIZE, len(out)
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        print("usage: make-skin.py SOURCE OUTPUT", file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as source:
        lines = source.read().splitlines()
    try:
        image = build(*parse(lines))
    except SkinError as error:
        print("%s: %s" % (argv[1], error), file=sys.stderr)
        return 1
    with open(argv[2], "wb") as output:
        output.write(image)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
