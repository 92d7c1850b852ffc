#!/usr/bin/python3
"""Builds the two fonts of the program into data/fonts:

  sigilum.ttf  family "Sigilum": the astrological glyphs of the chart wheel, the body
               list, the aspectarium and the graphic windows, on plain ASCII codes.
  tabmono.ttf  family "Tabula Mono": monospaced text with full Cyrillic.

The generated files are committed, so that building the program needs no FontForge;
run this only to change them.

Needs:  apt-get install python3-fontforge fonts-noto-core fonts-dejavu-core
Run:    /usr/bin/python3 tools/fonts/build_fonts.py [output directory]
        (FontForge's module exists only for the system interpreter.)
"""
import os
import sys

# FontForge stamps the build time into 'head'; a fixed stamp keeps a rebuild from the
# same sources byte-identical, so that git shows only real changes.
os.environ.setdefault("SOURCE_DATE_EPOCH", "1735689600")  # 2025-01-01

import fontforge  # noqa: E402
import psMat  # noqa: E402

NOTO = "/usr/share/fonts/truetype/noto/"
SOURCES = {
    "symbols": NOTO + "NotoSansSymbols-Regular.ttf",
    "symbols2": NOTO + "NotoSansSymbols2-Regular.ttf",
    "sans": NOTO + "NotoSans-Regular.ttf",
    "math": NOTO + "NotoSansMath-Regular.ttf",
}
DEJAVU_MONO = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"

# Sigilum metrics. The wheel centres each glyph's cell (advance x ascent+descent) on
# its point, so the ink is centred on the cell too: horizontally in the advance and
# vertically at MIDDLE, halfway between the cell's top and bottom. Ascent+descent equal
# the em, so a font height means the same whether it is read as em or as cell height.
EM = 1000
ASCENT = 850
DESCENT = 150
MIDDLE = (ASCENT - DESCENT) // 2
# Every symbol has one advance: the body list and the aspectarium measure a sample
# glyph ("e", "X", the Moon) for their column widths.
SYMBOL_ADVANCE = 1000
INK_WIDTH = 860  # widest ink of a symbol, leaving clear side bearings
INK_HEIGHT_MAX = 780  # the ring of sign glyphs is one font height wide
INK_HEIGHT_MIN = 580  # small symbols (Aquarius, semisextile) grow to this
DIGIT_ADVANCE = 600
DIGIT_HEIGHT = 700
SPACE_ADVANCE = 350
STROKE = 70  # bars drawn here, close to the stems of the Noto symbols

# Glyph table: character -> recipe. ("src", font, code point) copies a Noto glyph;
# the other recipes compose glyphs that Unicode lacks.
BODIES = {
    "p": ("src", "symbols2", 0x2609),  # Sun
    "q": ("src", "symbols", 0x263D),  # Moon
    "r": ("src", "symbols", 0x263F),  # Mercury
    "s": ("src", "symbols", 0x2640),  # Venus
    "t": ("src", "symbols", 0x2642),  # Mars
    "u": ("src", "symbols", 0x2643),  # Jupiter
    "v": ("src", "symbols", 0x2644),  # Saturn
    "w": ("src", "symbols", 0x2645),  # Uranus
    "x": ("src", "symbols", 0x2646),  # Neptune
    "y": ("src", "symbols", 0x2647),  # Pluto
    "\\": ("src", "symbols", 0x260A),  # lunar north node
    "_": ("src", "symbols2", 0x2BDD),  # Selena, the White Moon
    "Z": ("src", "symbols", 0x26B7),  # Chiron
    "[": ("src", "symbols2", 0x2BD8),  # Proserpina
    "^": ("src", "symbols", 0x26B8),  # Lilith, the Black Moon
}
SIGNS = {chr(77 + s): ("src", "symbols", 0x2648 + s - 1) for s in range(1, 13)}
ASPECTS = {
    "A": ("src", "symbols", 0x260C),  # 0 conjunction
    "B": ("src", "symbols", 0x26BA),  # 30 semisextile
    "C": ("src", "math", 0x22A5),  # 36 decile
    "D": ("src", "math", 0x2220),  # 45 semisquare
    "E": ("src", "symbols", 0x26B9),  # 60 sextile
    "F": ("letters", "Q"),  # 72 quintile
    "G": ("src", "symbols2", 0x25A1),  # 90 square
    "H": ("src", "symbols2", 0x25B3),  # 120 trine
    "I": ("src", "symbols", 0x26BC),  # 135 sesquiquadrate
    "J": ("letters", "bQ"),  # 144 biquintile
    "K": ("src", "symbols", 0x26BB),  # 150 quincunx
    "L": ("src", "symbols", 0x260D),  # 180 opposition
}
# Cusp k has the character 'a' + k - 2; the angles have their own letters l m n o,
# and their places in that run (` c f i) get the same marks.
ANGLES = {"l": "AC", "m": "DC", "n": "MC", "o": "IC"}
ANGLE_ALIASES = {"`": "l", "c": "o", "f": "m", "i": "n"}
CUSPS = {"a": 2, "b": 3, "d": 5, "e": 6, "g": 8, "h": 9, "j": 11, "k": 12}
HOUSE_NUMBERS = {chr(48 + k): k for k in range(1, 13)}  # 1 .. 9 : ; <
RETROGRADE = ("~", ("src", "sans", 0x211E))


def load_sources():
    fonts = {}
    for key, path in SOURCES.items():
        if not os.path.exists(path):
            sys.exit("missing %s (apt-get install fonts-noto-core)" % path)
        fonts[key] = fontforge.open(path)
        if fonts[key].em != EM:
            sys.exit("%s: em %d, expected %d" % (path, fonts[key].em, EM))
    return fonts


def outline(font, glyph):
    """The glyph's contours with its references resolved, as a new layer."""
    layer = glyph.foreground.dup()
    for ref in glyph.references:
        part = outline(font, font[ref[0]])
        part.transform(ref[1])
        layer += part
    return layer


def source_outline(fonts, font_key, code_point):
    font = fonts[font_key]
    if code_point not in font:
        sys.exit("%s lacks U+%04X" % (SOURCES[font_key], code_point))
    return outline(font, font[code_point])


def bounds(layer):
    x0, y0, x1, y1 = layer.boundingBox()
    return x0, y0, x1 - x0, y1 - y0


def fit_symbol(layer):
    """Scales a symbol into the common ink box, keeping its proportions."""
    _, _, w, h = bounds(layer)
    largest = min(INK_HEIGHT_MAX / h, INK_WIDTH / w)
    smallest = min(INK_HEIGHT_MIN / h, INK_WIDTH / w)
    scale = max(min(1.0, largest), smallest)
    layer.transform(psMat.scale(scale))
    return layer


def centre(layer, advance, middle=MIDDLE):
    x, y, w, h = bounds(layer)
    layer.transform(psMat.translate(advance / 2 - (x + w / 2), middle - (y + h / 2)))
    return layer


def row(parts, gap):
    """Sets layers side by side on a common baseline, `gap` apart ink to ink."""
    result = fontforge.layer()
    result.is_quadratic = True
    pen = 0.0
    for part in parts:
        x, _, w, _ = bounds(part)
        part.transform(psMat.translate(pen - x, 0))
        result += part
        pen += w + gap
    return result


def squeeze(layer, width, height):
    """Scales to `height`, then narrows (never widens) to fit `width`."""
    _, _, w, h = bounds(layer)
    layer.transform(psMat.scale(height / h))
    w = w * height / h
    if w > width:
        layer.transform(psMat.scale(width / w, 1.0))
    return layer


def rectangle(x0, y0, x1, y1):
    contour = fontforge.contour()
    contour.is_quadratic = True
    contour.moveTo(x0, y0)
    contour.lineTo(x0, y1)
    contour.lineTo(x1, y1)
    contour.lineTo(x1, y0)
    contour.closed = True
    return contour


def letters(fonts, text, gap=40):
    return row([source_outline(fonts, "sans", ord(ch)) for ch in text], gap)


def angle_mark(fonts, text):
    """AC, DC, MC, IC: the two capitals set tight as one mark."""
    return centre(squeeze(letters(fonts, text), INK_WIDTH, 640), SYMBOL_ADVANCE)


def aspect_letters(fonts, text):
    """Quintile Q and biquintile bQ, the b small before the Q."""
    layer = letters(fonts, text, gap=30)
    return centre(squeeze(layer, INK_WIDTH, 700), SYMBOL_ADVANCE)


def cusp_mark(fonts, number):
    """An intermediate cusp: its number between two bars, so that it reads as one
    mark and is not taken for a house number or for the degrees beside it."""
    digits = squeeze(letters(fonts, str(number), gap=30), 560, 520)
    _, _, w, _ = bounds(digits)
    half = max(w, 400) / 2 + 50
    bar_gap = 60
    top = 520 + bar_gap
    bottom = -bar_gap
    layer = digits
    layer += rectangle(w / 2 - half, top, w / 2 + half, top + STROKE)
    layer += rectangle(w / 2 - half, bottom - STROKE, w / 2 + half, bottom)
    return centre(layer, SYMBOL_ADVANCE)


def house_number(fonts, number):
    """House numbers: plain digits; 10..12 narrowed into one cell."""
    text = str(number)
    advance = DIGIT_ADVANCE if number < 10 else SYMBOL_ADVANCE
    layer = squeeze(letters(fonts, text, gap=40), advance - 120, DIGIT_HEIGHT)
    x, y, w, h = bounds(layer)
    # Digits keep their baseline so that they line up with text digits.
    layer.transform(psMat.translate(advance / 2 - (x + w / 2), -y))
    return layer, advance


def make_glyph(font, char, layer, advance):
    glyph = font.createChar(ord(char), fontforge.nameFromUnicode(ord(char)))
    glyph.foreground = layer
    glyph.width = int(advance)
    glyph.removeOverlap()
    glyph.correctDirection()
    glyph.round()
    return glyph


def symbol_from_recipe(fonts, recipe):
    if recipe[0] == "src":
        return centre(fit_symbol(source_outline(fonts, recipe[1], recipe[2])), SYMBOL_ADVANCE)
    if recipe[0] == "letters":
        return aspect_letters(fonts, recipe[1])
    raise ValueError(recipe)


def set_vertical_metrics(font, ascent, descent):
    font.ascent = ascent
    font.descent = descent
    for attr in ("os2_winascent_add", "os2_windescent_add", "os2_typoascent_add",
                 "os2_typodescent_add", "hhea_ascent_add", "hhea_descent_add"):
        setattr(font, attr, False)
    font.os2_winascent = ascent
    font.os2_windescent = descent
    font.os2_typoascent = ascent
    font.os2_typodescent = -descent
    font.os2_typolinegap = 0
    font.hhea_ascent = ascent
    font.hhea_descent = -descent
    font.hhea_linegap = 0
    font.os2_use_typo_metrics = True


def build_sigilum(path):
    fonts = load_sources()
    font = fontforge.font()
    font.encoding = "UnicodeBmp"
    font.em = EM
    font.layers["Fore"].is_quadratic = True
    set_vertical_metrics(font, ASCENT, DESCENT)
    font.familyname = "Sigilum"
    font.fullname = "Sigilum"
    font.fontname = "Sigilum"
    font.weight = "Regular"
    font.version = "1.000"
    font.copyright = "\n".join(
        sorted({f.copyright for f in fonts.values()})
        + ["Sigilum is a Modified Version of these Noto fonts, built by Orbeta's "
           "tools/fonts/build_fonts.py."])
    font.appendSFNTName("English (US)", "SubFamily", "Regular")
    font.appendSFNTName("English (US)", "License",
                        "This Font Software is licensed under the SIL Open Font License, "
                        "Version 1.1 (LICENSE-OFL.txt).")

    notdef = font.createChar(-1, ".notdef")
    notdef.width = SYMBOL_ADVANCE
    font.createChar(32, "space").width = SPACE_ADVANCE

    for table in (BODIES, SIGNS, ASPECTS):
        for char, recipe in table.items():
            make_glyph(font, char, symbol_from_recipe(fonts, recipe), SYMBOL_ADVANCE)
    for char, text in ANGLES.items():
        make_glyph(font, char, angle_mark(fonts, text), SYMBOL_ADVANCE)
    for alias, char in ANGLE_ALIASES.items():
        make_glyph(font, alias, font[ord(char)].foreground.dup(), SYMBOL_ADVANCE)
    for char, number in CUSPS.items():
        make_glyph(font, char, cusp_mark(fonts, number), SYMBOL_ADVANCE)
    # '0' is no house but the degrees of the graphic windows' legends are written
    # in this font ("%02d").
    make_glyph(font, "0", *house_number(fonts, 0))
    for char, number in HOUSE_NUMBERS.items():
        make_glyph(font, char, *house_number(fonts, number))
    make_glyph(font, RETROGRADE[0], symbol_from_recipe(fonts, RETROGRADE[1]),
               SYMBOL_ADVANCE)

    font.generate(path, flags=("opentype", "no-FFTM-table"))
    font.close()
    for f in fonts.values():
        f.close()


def build_tabula_mono(path):
    if not os.path.exists(DEJAVU_MONO):
        sys.exit("missing %s (apt-get install fonts-dejavu-core)" % DEJAVU_MONO)
    font = fontforge.open(DEJAVU_MONO)
    # The Bitstream Vera licence allows changed fonts only under names without
    # "Bitstream" or "Vera"; the outlines and hints stay as DejaVu made them.
    font.familyname = "Tabula Mono"
    font.fullname = "Tabula Mono"
    font.fontname = "TabulaMono"
    font.weight = "Book"
    keep = {"Copyright", "Version", "Manufacturer", "License", "License URL", "SubFamily"}
    names = [n for n in font.sfnt_names if n[1] in keep]
    font.sfnt_names = tuple(names) + (
        ("English (US)", "Family", "Tabula Mono"),
        ("English (US)", "Fullname", "Tabula Mono"),
        ("English (US)", "UniqueID", "Tabula Mono"),
        ("English (US)", "PostScriptName", "TabulaMono"),
        ("English (US)", "Descriptor",
         "DejaVu Sans Mono renamed for Orbeta; outlines unchanged."),
    )
    font.generate(path, flags=("opentype", "no-FFTM-table"))
    font.close()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "data", "fonts")
    os.makedirs(out, exist_ok=True)
    build_sigilum(os.path.join(out, "sigilum.ttf"))
    build_tabula_mono(os.path.join(out, "tabmono.ttf"))


if __name__ == "__main__":
    main()
