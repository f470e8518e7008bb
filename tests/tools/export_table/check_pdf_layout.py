#!/usr/bin/python3
"""Where the text of a PDF table lands, as a reader lays it out: qpdf gives the column rules and
the font sizes of every page, pdftotext -bbox every word's box. No word may cross a column's
rule or pass the page's right margin, no text is set under 6 points, and the words between two
rules must be that cell's text: whole in the history viewer's PDF (long value names, accents,
in portrait and landscape), whole or cut and marked "..." in the export dialog's PDF at its
default widths (right-aligned numbers, accents, long notes), where dates and times are whole
too, in four page setups and font sizes. The viewer's table starts at its
left and top margins, which turn with the page.

A table too wide for the page at 6 points goes on column pages: each page of rows is followed
by the pages of its further columns, the same rows at the same heights (in the viewer's PDF
each beginning with the date and the time again); every cell is read once over them. Cases:
a CSV of four columns with a long remark column, history files of 16, 32 and 64 channels, 255
columns, and a single column wider than the page (cut at the margin and marked).

    check_pdf_layout.py EXPORT_TABLE WORK_FOLDER
"""
import csv
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from plain_exports_reference import Table, exported_history, viewer_table  # noqa: E402

TOOL, WORK = sys.argv[1], sys.argv[2]
shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
ENV = dict(os.environ, QT_QPA_PLATFORM="offscreen")
MM = 72 / 25.4
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def run(args):
    done = subprocess.run(args, capture_output=True, env=ENV)
    if done.returncode != 0:
        raise AssertionError("%s exited %d: %s" % (" ".join(args), done.returncode, done.stderr.decode()))
    return done.stdout


def norm(text):
    return " ".join(text.replace("\xa0", " ").split())


def pages(path):
    """Per page: its height, the x of its vertical rules, its words (x0, top, x1, text) and its
    width."""
    plain = path + ".qdf"
    run(["qpdf", "--qdf", "--object-streams=disable", path, plain])
    with open(plain, "rb") as f:
        parts = re.split(rb"%% Contents for page \d+", f.read())[1:]
    rules = []
    for part in parts:
        lines = re.findall(rb"([-\d.]+) ([-\d.]+) m\s+([-\d.]+) ([-\d.]+) l", part.split(b"endstream")[0])
        rules.append(sorted({float(a) for a, _, c, _ in lines if a == c}))
    box = run(["pdftotext", "-bbox", "-enc", "UTF-8", path, "-"]).decode()
    result = []
    for n, page in enumerate(re.findall(r'<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>', box, re.S)):
        words = [(float(a), float(b), float(c), unescape(t)) for a, b, c, _, t in
                 re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>',
                            page[2])]
        result.append((float(page[1]), rules[n] if n < len(rules) else [], words, float(page[0])))
    return result


def unescape(text):
    return text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", '"').replace("&apos;", "'") \
        .replace("&amp;", "&")


def page_lines(what, number, edges, words):
    """A page's lines top to bottom, each the text between each pair of rules, with the line's
    top; a word that crosses a rule is a failure."""
    if len(edges) < 2:
        fail("%s, page %d: %d column rules" % (what, number, len(edges)))
        return []
    rows = {}
    for x0, top, x1, text in words:
        column = max((i for i, e in enumerate(edges[:-1]) if e <= x0 + 1e-6), default=-1)
        if column < 0 or x1 > edges[column + 1] + 1e-6:
            fail("%s, page %d: \"%s\" (%.2f to %.2f) crosses a column rule (%s)" %
                 (what, number, text, x0, x1, ", ".join("%g" % e for e in edges)))
            continue
        rows.setdefault(round(top), [[] for _ in edges[:-1]])[column].append((x0, text))
    return [(top, [" ".join(t for _, t in sorted(cell)) for cell in rows[top]]) for top in sorted(rows)]


def table_lines(what, path):
    """The table's lines top to bottom over every page. Also every page's rules and words."""
    every = pages(path)
    lines = []
    for number, (_, edges, words, _) in enumerate(every, 1):
        lines += [cells for _, cells in page_lines(what, number, edges, words)]
    return lines, every


def column_rows(what, path, width, repeated=0):
    """The table's rows put together from its column pages: a page of rows, then pages of its
    further columns until all `width` are shown, each holding the same rows at the same heights
    and beginning with the `repeated` columns again, whose cells must be the first page's. Also
    every page's rules and words."""
    every = pages(path)
    laid = [(len(edges) - 1, page_lines(what, n, edges, words)) for n, (_, edges, words, _) in enumerate(every, 1)]
    rows = []
    n = 0
    while n < len(laid):
        first = n
        shown = laid[n][0]
        n += 1
        while shown < width and n < len(laid):
            shown += laid[n][0] - repeated
            n += 1
        if shown != width:
            fail("%s, pages %d to %d: %d columns, %d expected" % (what, first + 1, n, shown, width))
        base = laid[first][1]
        for number in range(first + 1, n):
            page = laid[number][1]
            if [top for top, _ in page] != [top for top, _ in base]:
                fail("%s, page %d: its rows are not those of page %d" % (what, number + 1, first + 1))
                continue
            for (_, cells), (_, again) in zip(base, page):
                if again[:repeated] != cells[:repeated]:
                    fail("%s, page %d: %s where page %d begins the row with %s" %
                         (what, number + 1, again[:repeated], first + 1, cells[:repeated]))
        for r, (_, cells) in enumerate(base):
            rows.append(list(cells))
            for number in range(first + 1, n):
                page = laid[number][1]
                if r < len(page):
                    rows[-1] += page[r][1][repeated:]
    return rows, every


def font_sizes(path):
    """Every size text is set in, over the pages (the file qpdf wrote for pages())."""
    with open(path + ".qdf", "rb") as f:
        return [float(size) for size in re.findall(rb"/\w+ (-?[\d.]+) Tf", f.read())]


def check_page(what, path, every, right_margin):
    """No text under 6 points; no rule past the right margin (in points from the page's right)."""
    small = sorted({size for size in font_sizes(path) if size < 6})
    if small:
        fail("%s: text set at %s points" % (what, ", ".join("%g" % size for size in small)))
    for number, (_, edges, words, width) in enumerate(every, 1):
        limit = width - right_margin + 0.5
        if edges and edges[-1] > limit or any(x1 > limit for _, _, x1, _ in words):
            fail("%s, page %d: the table reaches %g, the right margin is at %g" %
                 (what, number, max([edges[-1]] + [w[2] for w in words]), limit - 0.5))


def expect_cells(what, lines, want, cut_allowed):
    """cut_allowed: True, False, or which (row, column) may be cut and marked."""
    want = [[norm(c) for c in row] for row in want if any(norm(c) for c in row)]
    if len(lines) != len(want):
        fail("%s: %d lines of text, %d rows expected" % (what, len(lines), len(want)))
    for n, (got, row) in enumerate(zip(lines, want)):
        if len(got) != len(row):
            fail("%s, line %d: %d columns, %d expected" % (what, n, len(got), len(row)))
            return
        for c, (g, w) in enumerate(zip(got, row)):
            whole = g == w
            may_cut = cut_allowed(n, c) if callable(cut_allowed) else cut_allowed
            cut = may_cut and g.endswith("...") and len(g) <= len(w) + 3 and w.startswith(g[:-3].rstrip())
            if not (whole or cut):
                fail("%s, line %d: \"%s\" where the cell holds \"%s\"" % (what, n, g, w))
                return


def history_file(name, devices, values, units, rows):
    path = os.path.join(WORK, name)
    lines = [" , , " + ", ".join(devices), " , , " + ", ".join(values), " , , " + ", ".join(units)]
    for i in range(rows):
        cells = ["%d.%d" % ((-1) ** i * (i * 37 % 1000), i % 10) if c % 2 else "-1234.5678" for c in range(len(values))]
        lines.append("07/12/2026, 10:%02d:%02d.%03d, %s" % (i // 60 % 60, i % 60, i * 7 % 1000, ", ".join(cells)))
    with open(path, "wb") as f:
        f.write(("\n".join(lines) + "\n").encode("cp1252"))
    return path


def check_viewer(name, values, margins, landscape, rows=60, milliseconds_column=False):
    """The viewer's PDF of a recording with these value names: every cell whole between its
    rules, read once over the column pages, which begin with the date and the time (and the
    milliseconds' own column) again; the table at the page's left margin and below its top
    margin, and within its right margin (in millimetres: left, top, right)."""
    devices = ["Sonda %c" % chr(65 + 4 * i // len(values)) for i in range(len(values))]
    units = ["\u00b0C" if i % 2 == 0 else "%" for i in range(len(values))]
    source = history_file(name + ".mpc", devices, values, units, rows)
    path = os.path.join(WORK, name + ".pdf")
    mode = ["--milliseconds-column"] if milliseconds_column else []
    run([TOOL, "--history", source, "--locale", "en_GB", "--output", path] + mode)
    what = "viewer %s" % name
    with open(source, "rb") as f:
        want = viewer_table([l for l in f.read().decode("cp1252").split("\n") if l])
    want = exported_history(want, "column" if milliseconds_column else "keep")
    lines, every = column_rows(what, path, len(want[0]), repeated=3 if milliseconds_column else 2)
    expect_cells(what, lines, want, cut_allowed=False)
    check_page(what, path, every, margins[2] * MM)
    height, edges, words, _ = every[0]
    if (height < 600) != landscape:
        fail("%s: a page %g points high (landscape expected: %s)" % (what, height, landscape))
    left, top = margins[0] * MM, margins[1] * MM
    if edges and abs(edges[0] - round(left)) > 0.6:
        fail("%s: the table's left rule at %g, the left margin is at %.1f" % (what, edges[0], left))
    first_left = min(w[0] for w in words)
    first_top = min(w[1] for w in words)
    if not round(left) < first_left < left + 10:
        fail("%s: the leftmost text starts at %.2f, the left margin is at %.1f" % (what, first_left, left))
    if not top < first_top < top + 15:
        fail("%s: the first line's top at %.2f, the top margin is at %.1f" % (what, first_top, top))


def trim_right(path):
    """How far the first page's trim box ends from the page's right edge (the file qpdf wrote
    for pages())."""
    with open(path + ".qdf", "rb") as f:
        text = f.read()
    media = [float(v) for v in re.search(rb"/MediaBox \[([-\d.\s]+)\]", text).group(1).split()]
    trim = [float(v) for v in re.search(rb"/TrimBox \[([-\d.\s]+)\]", text).group(1).split()]
    return media[2] - trim[2]


DIALOG_DATES = {"Data", "Hora", "Data e hora"}


def dialog_options(name, pdf_keys, font_keys):
    """The dialog's own options, saved from its Tools menu, with keys of the [PDF] section and of
    the four font sections changed."""
    saved = os.path.join(WORK, "dialog-saved.cfg")
    if not os.path.exists(saved):
        run([TOOL, "--dialog", "--rows", "2", "--format", "pdf", "--output", os.path.join(WORK, "unused.pdf"),
             "--save-options", saved])
    with open(saved, "rb") as f:
        text = f.read().decode("cp1252")
    section = None
    lines = []
    for line in text.split("\r\n"):
        if line.startswith("["):
            section = line.strip("[]")
        key = line.split("=", 1)[0]
        changes = pdf_keys if section == "PDF" else font_keys if section.startswith("PDF_OPTION_") else {}
        lines.append("%s=%s" % (key, changes[key]) if key in changes else line)
    path = os.path.join(WORK, name + ".cfg")
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode("cp1252"))
    return path


def check_dialog(name, options=None, rows=40):
    """The dialog's PDF at its default widths (or an options file's): every word between two
    rules, every cell its text, whole or cut and marked, but never a date or a time."""
    table = os.path.join(WORK, name)
    extra = ["--options", options] if options else []
    run([TOOL, "--dialog", "--rows", str(rows), "--format", "csv", "--output", table + ".csv"])
    with open(table + ".csv", newline="", encoding="cp1252") as f:
        want = list(csv.reader(f))
    run([TOOL, "--dialog", "--rows", str(rows), "--format", "pdf", "--output", table + ".pdf"] + extra)
    what = "dialog pdf " + name
    lines, every = column_rows(what, table + ".pdf", len(want[0]))
    expect_cells(what, lines, want, cut_allowed=lambda row, column: want[0][column] not in DIALOG_DATES)
    check_page(what, table + ".pdf", every, trim_right(table + ".pdf"))
    return lines


# Value names of 15 to 19 characters, wide letters and accents: 7 columns stay in portrait,
# whose margins are left 25, right 15, top 20, bottom 20 mm; 9 go to landscape, where the left
# margin is the portrait's bottom one and the top margin the portrait's left one.
PORTRAIT = ["WWWWWWWWWWWWWWWWWWW", "Temperatura \u00e7\u00e3o", "Umidade relativa", "M\u00e9dia m\u00e1xima",
            "Press\u00e3o atmosf."]
LANDSCAPE = ["WWWWWWWWWWWWWWW", "Temperatura \u00e7\u00e3o", "Umidade", "M\u00c9DIA M\u00c1XIMA \u00c7\u00c3O",
             "\u00e1\u00e9\u00ed\u00f3\u00fa\u00e7\u00e3\u00f5\u00e2\u00ea\u00f4\u00e0 \u00fc\u00f1\u00e4\u00f6",
             "mmmmmmmmmmmmmmmmm", "%%%%%%%%%%%%%%%"]
def check_csv(name, header, records, cut_columns):
    """A CSV file's table as the PDF exporter writes it with its default options (an A4
    portrait page, 42 points of right margin): the columns in `cut_columns` may be cut and
    marked, the others are whole."""
    source = os.path.join(WORK, name + ".csv")
    with open(source, "w", newline="", encoding="cp1252") as f:
        csv.writer(f).writerows([header] + records)
    path = os.path.join(WORK, name + ".pdf")
    run([TOOL, "--csv", source, "--locale", "C", "--format", "pdf", "--output", path])
    what = "csv %s" % name
    lines, every = column_rows(what, path, len(header))
    expect_cells(what, lines, [header] + records, cut_allowed=lambda row, column: column in cut_columns)
    check_page(what, path, every, 42)
    return lines, every


def check_wide_table(columns, rows):
    """The tool's table of integer columns: every number whole (the narrow columns' captions
    may be cut)."""
    table = Table(run([TOOL, "--format", "rows", "--locale", "C", "--columns", str(columns), "--rows", str(rows)]))
    path = os.path.join(WORK, "columns%d.pdf" % columns)
    run([TOOL, "--format", "pdf", "--locale", "C", "--columns", str(columns), "--rows", str(rows), "--output", path])
    what = "%d columns" % columns
    lines, every = column_rows(what, path, columns)
    expect_cells(what, lines, [table.captions()] + table.formatted(), cut_allowed=lambda row, _: row == 0)
    check_page(what, path, every, 42)
    if len(every) < 2:
        fail("%s: %d page; the table no longer tests column pages" % (what, len(every)))


check_viewer("portrait", PORTRAIT, (25, 20, 15), landscape=False)
check_viewer("landscape", LANDSCAPE, (20, 25, 20), landscape=True)
for channels in (16, 32, 64):
    check_viewer("channels%d" % channels, ["Canal %d" % (i + 1) for i in range(channels)], (20, 25, 20),
                 landscape=True, rows=90)
check_viewer("milliseconds", ["Canal %d" % (i + 1) for i in range(32)], (20, 25, 20), landscape=True,
             milliseconds_column=True)
lines = check_dialog("dialog")
if not any(c.endswith("...") for line in lines for c in line):
    fail("dialog pdf: no cell was cut at the default widths; the table no longer tests cutting")
# Page setups and font sizes: A4 across at 12 points, Letter in Times at 11, A5 at 16 (set
# smaller to fit), and Courier at 8.
check_dialog("dialog landscape", dialog_options("landscape", {"PageOrientation": "1"}, {"FontSize": "12"}))
check_dialog("dialog letter", dialog_options("letter", {"PageFormat": "0", "PageWidth": "612", "PageHeight": "792"},
                                             {"FontName": "8", "FontSize": "11"}))
check_dialog("dialog a5", dialog_options("a5", {"PageFormat": "4", "PageWidth": "420", "PageHeight": "595"},
                                         {"FontSize": "16"}))
check_dialog("dialog courier", dialog_options("courier", {}, {"FontName": "4", "FontSize": "8"}))
REMARK = "calibra\u00e7\u00e3o conferida e registrada pelo t\u00e9cnico respons\u00e1vel"
remarks = [["%02d/12/2026" % (i % 28 + 1), "Sonda %d" % (i % 4), "%.2f" % (20 + i * 0.37),
            "Observa\u00e7\u00e3o %d: %s" % (i, " ".join([REMARK] * (i % 6)))] for i in range(70)]
_, every = check_csv("remarks", ["Data", "Sensor", "Leitura", "Observa\u00e7\u00e3o"], remarks, {3})
if len(every) < 2:
    fail("csv remarks: %d page; the long remarks no longer take pages of their own" % len(every))
check_wide_table(255, 30)
# A single column wider than the page: cut at the right margin, and marked.
lines, every = check_csv("one column", ["Observa\u00e7\u00e3o"], [[r[3]] for r in remarks], {0})
if not all(len(edges) == 2 and abs(edges[1] - 552) < 0.6 for _, edges, _, _ in every):
    fail("one column: its rules are not at the margins on every page")
for line, record in zip(lines[1:], remarks):
    if line[0].endswith("...") != (record[3].count(REMARK) > 2) and record[3].count(REMARK) != 2:
        fail("one column: \"%s\" for a remark of %d characters" % (line[0], len(record[3])))
if failures:
    sys.exit("%d failures" % len(failures))
print("PDF tables read back: no text crosses a column rule or the right margin, none under 6 points; "
      "column pages hold every cell once; the viewer's table at its margins")
