#!/usr/bin/python3
"""Writes export/pdf_font_widths.cpp: the advance widths of the fourteen standard PDF fonts,
code by code, in the three encodings a PDF font dictionary can give them (the font's own,
WinAnsiEncoding and MacRomanEncoding).

The widths come from the metrics files of the metric-compatible fonts that Debian's
fonts-urw-base35 package installs; the glyph at a code is the one the encoding names there
(the font's own encoding is the codes its metrics file gives). A code where the encoding names
no glyph, or a glyph the font does not have, gets 0: what the writer declares there is the
writer's choice (export/pdf_font.cpp).

    make_pdf_font_widths.py [AFM_FOLDER] > export/pdf_font_widths.cpp
"""
import os
import sys

FOLDER = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/type1/urw-base35"

# In the order of TPDFFontName.
FONTS = [
    ("Helvetica", "NimbusSans-Regular"), ("Helvetica-Bold", "NimbusSans-Bold"),
    ("Helvetica-Oblique", "NimbusSans-Italic"), ("Helvetica-BoldOblique", "NimbusSans-BoldItalic"),
    ("Courier", "NimbusMonoPS-Regular"), ("Courier-Bold", "NimbusMonoPS-Bold"),
    ("Courier-Oblique", "NimbusMonoPS-Italic"), ("Courier-BoldOblique", "NimbusMonoPS-BoldItalic"),
    ("Times-Roman", "NimbusRoman-Regular"), ("Times-Bold", "NimbusRoman-Bold"),
    ("Times-Italic", "NimbusRoman-Italic"), ("Times-BoldItalic", "NimbusRoman-BoldItalic"),
    ("Symbol", "StandardSymbolsPS"), ("ZapfDingbats", "D050000L"),
]

ASCII = ("space exclam quotedbl numbersign dollar percent ampersand quotesingle parenleft parenright "
         "asterisk plus comma hyphen period slash zero one two three four five six seven eight nine "
         "colon semicolon less equal greater question at A B C D E F G H I J K L M N O P Q R S T U V W X "
         "Y Z bracketleft backslash bracketright asciicircum underscore grave a b c d e f g h i j k l m n o "
         "p q r s t u v w x y z braceleft bar braceright asciitilde").split()
assert len(ASCII) == 95

# Codes 127 to 255. The codes WinAnsiEncoding leaves unused above the space show the bullet.
WIN_ANSI_HIGH = (
    "bullet Euro bullet quotesinglbase florin quotedblbase ellipsis dagger daggerdbl circumflex "
    "perthousand Scaron guilsinglleft OE bullet Zcaron bullet bullet quoteleft quoteright quotedblleft "
    "quotedblright bullet endash emdash tilde trademark scaron guilsinglright oe bullet zcaron Ydieresis "
    "space exclamdown cent sterling currency yen brokenbar section dieresis copyright ordfeminine "
    "guillemotleft logicalnot hyphen registered macron degree plusminus twosuperior threesuperior acute "
    "mu paragraph periodcentered cedilla onesuperior ordmasculine guillemotright onequarter onehalf "
    "threequarters questiondown Agrave Aacute Acircumflex Atilde Adieresis Aring AE Ccedilla Egrave "
    "Eacute Ecircumflex Edieresis Igrave Iacute Icircumflex Idieresis Eth Ntilde Ograve Oacute "
    "Ocircumflex Otilde Odieresis multiply Oslash Ugrave Uacute Ucircumflex Udieresis Yacute Thorn "
    "germandbls agrave aacute acircumflex atilde adieresis aring ae ccedilla egrave eacute ecircumflex "
    "edieresis igrave iacute icircumflex idieresis eth ntilde ograve oacute ocircumflex otilde odieresis "
    "divide oslash ugrave uacute ucircumflex udieresis yacute thorn ydieresis").split()
assert len(WIN_ANSI_HIGH) == 129

# Codes 128 to 255, as readers take MacRomanEncoding (with the Mac's mathematical signs).
MAC_ROMAN_HIGH = (
    "Adieresis Aring Ccedilla Eacute Ntilde Odieresis Udieresis aacute agrave acircumflex adieresis "
    "atilde aring ccedilla eacute egrave ecircumflex edieresis iacute igrave icircumflex idieresis ntilde "
    "oacute ograve ocircumflex odieresis otilde uacute ugrave ucircumflex udieresis dagger degree cent "
    "sterling section bullet paragraph germandbls registered copyright trademark acute dieresis notequal "
    "AE Oslash infinity plusminus lessequal greaterequal yen mu partialdiff summation product pi integral "
    "ordfeminine ordmasculine Omega ae oslash questiondown exclamdown logicalnot radical florin "
    "approxequal Delta guillemotleft guillemotright ellipsis space Agrave Atilde Otilde OE oe endash "
    "emdash quotedblleft quotedblright quoteleft quoteright divide lozenge ydieresis Ydieresis fraction "
    "currency guilsinglleft guilsinglright fi fl daggerdbl periodcentered quotesinglbase quotedblbase "
    "perthousand Acircumflex Ecircumflex Aacute Edieresis Egrave Iacute Icircumflex Idieresis Igrave "
    "Oacute Ocircumflex apple Ograve Uacute Ucircumflex Ugrave dotlessi circumflex tilde macron breve "
    "dotaccent ring cedilla hungarumlaut ogonek caron").split()
assert len(MAC_ROMAN_HIGH) == 128

WIN_ANSI = [None] * 32 + ASCII + WIN_ANSI_HIGH
MAC_ROMAN = [None] * 32 + ASCII + [None] + MAC_ROMAN_HIGH


def read_afm(path):
    """The font's widths by glyph name and its own encoding (code to glyph name)."""
    widths, own = {}, [None] * 256
    with open(path, encoding="latin-1") as f:
        for line in f:
            if not line.startswith("C "):
                continue
            fields = dict(part.strip().split(" ", 1) for part in line.split(";") if part.strip())
            name, code, width = fields["N"], int(fields["C"]), int(fields["WX"])
            widths[name] = width
            if 0 <= code < 256:
                own[code] = name
    return widths, own


def main():
    out = []
    out.append("// Generated by tools/pdf_font_widths/make_pdf_font_widths.py from the metrics files of Debian's")
    out.append("// fonts-urw-base35 (metric-compatible with the standard PDF fonts). Do not edit: run it again.")
    out.append('#include "export/pdf_font_widths.h"')
    out.append("")
    out.append("namespace vantrix {")
    out.append("")
    out.append("// clang-format off")
    out.append("const uint16_t kPDFGlyphWidths[14][3][256] = {")
    for pdf_name, afm in FONTS:
        widths, own = read_afm(os.path.join(FOLDER, afm + ".afm"))
        out.append("  {  // %s (%s)" % (pdf_name, afm))
        for label, encoding in (("own", own), ("WinAnsiEncoding", WIN_ANSI), ("MacRomanEncoding", MAC_ROMAN)):
            row = [widths.get(name, 0) if name else 0 for name in encoding]
            out.append("    {  // %s" % label)
            for start in range(0, 256, 32):
                out.append("      " + " ".join("%d," % w for w in row[start:start + 32]))
            out.append("    },")
        out.append("  },")
    out.append("};")
    out.append("// clang-format on")
    out.append("")
    out.append("}  // namespace vantrix")
    sys.stdout.write("\n".join(out) + "\n")


main()
