#!/usr/bin/env python3
"""Cuts a font down to the characters the screens can draw.

    subset-font.py FONT OUT SOURCE...

The characters are printable ASCII (numbers and names are made up at run time) and every other
character that stands in the sources' string literals.
"""
import re
import sys

from fontTools import subset


def characters(sources):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    literal = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
    for path in sources:
        with open(path, encoding="utf-8") as source:
            for text in literal.findall(source.read()):
                chars.update(c for c in text if ord(c) > 0x7E)
    return "".join(sorted(chars))


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    font, out, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.notdef_outline = True
    font_object = subset.load_font(font, options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=characters(sources))
    subsetter.subset(font_object)
    subset.save_font(font_object, out, options)


if __name__ == "__main__":
    main()
