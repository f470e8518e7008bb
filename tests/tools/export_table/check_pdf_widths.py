#!/usr/bin/python3
"""The widths every PDF font declares are the font's own, as a reader needs them to place each
glyph: a PDF table is written in each of the fourteen standard fonts and each encoding the
export dialog offers, and every font's /Widths (read back by qpdf) is compared code by code
with the font's metrics file (the metric-compatible fonts of fonts-urw-base35), the glyph at
each code found through the encoding from Python's code pages and the Adobe Glyph List.
Then the page as a reader lays it out (pdftotext -bbox): Portuguese words with accents and
"°C" come out whole, each as wide as its glyphs.

    check_pdf_widths.py EXPORT_TABLE WORK_FOLDER
"""
import json
import os
import re
import shutil
import subprocess
import sys

TOOL, WORK = sys.argv[1], sys.argv[2]
AFM = "/usr/share/fonts/type1/urw-base35"
GLYPH_LIST = "/usr/share/texlive/texmf-dist/fonts/map/glyphlist/glyphlist.txt"
shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
failures = []

METRICS = {
    "Helvetica": "NimbusSans-Regular", "Helvetica-Bold": "NimbusSans-Bold",
    "Helvetica-Oblique": "NimbusSans-Italic", "Helvetica-BoldOblique": "NimbusSans-BoldItalic",
    "Courier": "NimbusMonoPS-Regular", "Courier-Bold": "NimbusMonoPS-Bold",
    "Courier-Oblique": "NimbusMonoPS-Italic", "Courier-BoldOblique": "NimbusMonoPS-BoldItalic",
    "Times-Roman": "NimbusRoman-Regular", "Times-Bold": "NimbusRoman-Bold",
    "Times-Italic": "NimbusRoman-Italic", "Times-BoldItalic": "NimbusRoman-BoldItalic",
    "Symbol": "StandardSymbolsPS", "ZapfDingbats": "D050000L",
}
SYMBOLIC = {"Symbol", "ZapfDingbats"}
GROUPS = [["Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"],
          ["Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"],
          ["Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"],
          ["Symbol", "ZapfDingbats"]]
WORDS = ["Temperatura da c\u00e2mara superior", "Fluxo t\u00e9rmico", "M\u00e9dia m\u00e1xima",
         "Press\u00e3o m\u00ednima", "\u00b0C", "W/m\u00b2", "\u00c1gua \u00e0 sa\u00edda"]


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def run(args):
    done = subprocess.run(args, capture_output=True)
    if done.returncode != 0:
        raise AssertionError("%s exited %d: %s" % (" ".join(args), done.returncode, done.stderr.decode()))
    return done.stdout


def read_metrics(name):
    """Widths by glyph name, and the font's own encoding: code to glyph name."""
    widths, own = {}, {}
    with open(os.path.join(AFM, METRICS[name] + ".afm"), encoding="latin-1") as f:
        for line in f:
            m = re.match(r"C (-?\d+) ; WX (\d+) ; N (\S+) ;", line)
            if m:
                widths[m.group(3)] = int(m.group(2))
                if int(m.group(1)) >= 0:
                    own[int(m.group(1))] = m.group(3)
    return widths, own


def read_glyph_list():
    names = {}
    with open(GLYPH_LIST, encoding="ascii") as f:
        for line in f:
            m = re.match(r"(\w+);([0-9A-F]{4})$", line.strip())
            if m:
                names.setdefault(int(m.group(2), 16), []).append(m.group(1))
    return names


GLYPHS_BY_CHAR = read_glyph_list()


def written_as(code):
    """The byte the writer puts in the file for a byte of text."""
    if code in (9, 10, 13):
        return 32
    if code < 32 or code in (0x81, 0x8D, 0x8F, 0x90, 0x9D):
        return 63
    return code


def glyph_of_char(char, widths):
    """The font's glyph for a character: one of its names in the glyph list, or uniXXXX."""
    for name in GLYPHS_BY_CHAR.get(ord(char), []) + ["uni%04X" % ord(char)]:
        if name in widths:
            return name
    return None


def code_page_glyph(code, widths, codec):
    try:
        char = bytes([code]).decode(codec)
    except UnicodeDecodeError:
        return None
    return glyph_of_char(char, widths)


def win_ansi_glyph(code, widths):
    # WinAnsiEncoding shows its unused codes above the space as a bullet.
    return "bullet" if code == 0x7F else code_page_glyph(code, widths, "cp1252")


def expected_widths(font, encoding):
    widths, own = read_metrics(font)
    table = []
    for code in range(256):
        shown = written_as(code)
        if encoding is None:
            name = own.get(shown)
        elif encoding == "WinAnsiEncoding":
            name = win_ansi_glyph(shown, widths)
        else:
            # Readers take two codes by their older names: the currency sign where Mac OS
            # Roman now has the euro, and "Omega" (which these fonts lack) for Greek omega.
            older = {0xDB: "currency", 0xBD: "Omega"}
            name = older.get(shown) or code_page_glyph(shown, widths, "mac_roman")
        if name not in widths:
            # Nothing there: as wide as what WinAnsiEncoding shows there, or a blank.
            name = win_ansi_glyph(shown, widths)
        table.append(widths[name if name in widths else "space"])
    return table


def fonts_of(path):
    """Every font dictionary of the file (qpdf's JSON), by its resource name."""
    objects = json.loads(run(["qpdf", "--json=2", "--json-key=qpdf", path]))["qpdf"][1]
    fonts = {}
    for value in objects.values():
        d = value.get("value")
        if isinstance(d, dict) and d.get("/Type") == "/Font":
            fonts[d["/Name"][1:]] = d
    return fonts


csv_path = os.path.join(WORK, "words.csv")
with open(csv_path, "w", encoding="utf-8") as f:
    f.write("Grandeza;Unidade\n")
    for word in WORDS:
        f.write("%s;\u00b0C\n" % word)

checked = 0
for encoding in ["StandardEncoding", "WinAnsiEncoding", "MacRomanEncoding", "PDFDocEncoding"]:
    for group in GROUPS:
        path = os.path.join(WORK, "%s-%s.pdf" % (group[0], encoding))
        run([TOOL, "--format", "pdf", "--csv", csv_path, "--autowidth", "--pdf-fonts", ",".join(group),
             "--pdf-encoding", encoding, "--output", path])
        fonts = fonts_of(path)
        # A shorter list of fonts repeats its last.
        for i, resource in enumerate(["DataFont", "CaptionFont", "HeaderFont", "FooterFont"]):
            font = group[min(i, len(group) - 1)]
            d = fonts.get(resource)
            if d is None:
                fail("%s: no font %s" % (path, resource))
                continue
            if d["/BaseFont"] != "/" + font:
                fail("%s: %s is %s, not %s" % (path, resource, d["/BaseFont"], font))
            # The symbol fonts' glyphs are named in their own encoding only; PDFDocEncoding is
            # no font encoding, and its fonts are WinAnsiEncoding's.
            declared = None if font in SYMBOLIC or encoding == "StandardEncoding" else (
                "WinAnsiEncoding" if encoding == "PDFDocEncoding" else encoding)
            if d.get("/Encoding") != (None if declared is None else "/" + declared):
                fail("%s %s (%s chosen): declares %s" % (font, resource, encoding, d.get("/Encoding")))
            if d.get("/FirstChar") != 0 or d.get("/LastChar") != 255:
                fail("%s %s: codes %s to %s" % (font, resource, d.get("/FirstChar"), d.get("/LastChar")))
            expected = expected_widths(font, declared)
            got = d.get("/Widths", [])
            wrong = [(code, got[code] if code < len(got) else None, want)
                     for code, want in enumerate(expected) if code >= len(got) or got[code] != want]
            if wrong:
                fail("%s in %s: %d widths differ from its metrics, e.g. %s" % (
                    font, declared or "its own encoding", len(wrong),
                    ", ".join("code %d: %s, not %s" % w for w in wrong[:6])))
            checked += 1

# As a reader lays the page out: every word whole, as wide as its glyphs at 10 points.
for font in ["Helvetica", "Courier", "Times-Roman"]:
    path = os.path.join(WORK, "%s-WinAnsiEncoding.pdf" % font)
    box = run(["pdftotext", "-bbox", "-enc", "UTF-8", path, "-"]).decode()
    words = [(float(a), float(b), t) for a, b, t in
             re.findall(r'<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">(.*?)</word>', box)]
    widths, _ = read_metrics(font)
    for word in " ".join(WORDS).split():
        found = [(x0, x1) for x0, x1, text in words if text == word.replace("&", "&amp;")]
        if not found:
            fail("%s: %r is not one word on the page: %s" % (font, word, [t for _, _, t in words]))
            continue
        want = sum(widths[glyph_of_char(c, widths)] for c in word) * 10 / 1000
        for x0, x1 in found:
            if abs((x1 - x0) - want) > 0.05:
                fail("%s: %r is %.2f points wide on the page, its glyphs %.2f" % (font, word, x1 - x0, want))

print("%d fonts' widths compared with their metrics" % checked)
if failures:
    print("%d failures" % len(failures))
    sys.exit(1)
print("all widths are the fonts' own")
