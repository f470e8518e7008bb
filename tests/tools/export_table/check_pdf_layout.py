#!/usr/bin/python3
"""Where the text of a PDF table lands, as a reader lays it out: qpdf gives the column rules of
every page, pdftotext -bbox every word's box. No word may cross a column's rule, and the words
between two rules must be that cell's text: whole in the history viewer's PDF (long value
names, accents, in portrait and landscape), whole or cut and marked "..." in the export
dialog's PDF at its default widths (right-aligned numbers, accents, long notes). The viewer's
table starts at its left and top margins, which turn with the page.

    check_pdf_layout.py EXPORT_TABLE WORK_FOLDER
"""
import csv
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from plain_exports_reference import viewer_table  # noqa: E402

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
    """Per page: its height, the x of its vertical rules and its words (x0, top, x1, text)."""
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
        result.append((float(page[1]), rules[n] if n < len(rules) else [], words))
    return result


def unescape(text):
    return text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", '"').replace("&apos;", "'") \
        .replace("&amp;", "&")


def table_lines(what, path):
    """The table's lines top to bottom over every page, each the text between each pair of
    rules; a word that crosses a rule is a failure. Also the first page's rules and words."""
    lines = []
    every = pages(path)
    for number, (height, edges, words) in enumerate(every, 1):
        if len(edges) < 2:
            fail("%s, page %d: %d column rules" % (what, number, len(edges)))
            continue
        rows = {}
        for x0, top, x1, text in words:
            column = max((i for i, e in enumerate(edges[:-1]) if e <= x0 + 1e-6), default=-1)
            if column < 0 or x1 > edges[column + 1] + 1e-6:
                fail("%s, page %d: \"%s\" (%.2f to %.2f) crosses a column rule (%s)" %
                     (what, number, text, x0, x1, ", ".join("%g" % e for e in edges)))
                continue
            rows.setdefault(round(top), [[] for _ in edges[:-1]])[column].append((x0, text))
        for top in sorted(rows):
            lines.append([" ".join(t for _, t in sorted(cell)) for cell in rows[top]])
    return lines, every


def expect_cells(what, lines, want, cut_allowed):
    want = [[norm(c) for c in row] for row in want if any(norm(c) for c in row)]
    if len(lines) != len(want):
        fail("%s: %d lines of text, %d rows expected" % (what, len(lines), len(want)))
    for n, (got, row) in enumerate(zip(lines, want)):
        if len(got) != len(row):
            fail("%s, line %d: %d columns, %d expected" % (what, n, len(got), len(row)))
            return
        for g, w in zip(got, row):
            whole = g == w
            cut = cut_allowed and g.endswith("...") and len(g) <= len(w) + 3 and w.startswith(g[:-3].rstrip())
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


def check_viewer(name, values, margins, landscape):
    """The viewer's PDF of a recording with these value names: every cell whole between its
    rules; the table at the page's left margin and below its top margin (in millimetres)."""
    devices = ["Sonda A" if i < len(values) // 2 else "Sonda B" for i in range(len(values))]
    units = ["\u00b0C" if i % 2 == 0 else "%" for i in range(len(values))]
    source = history_file(name + ".mpc", devices, values, units, 60)
    path = os.path.join(WORK, name + ".pdf")
    run([TOOL, "--history", source, "--locale", "en_GB", "--output", path])
    what = "viewer %s" % name
    lines, every = table_lines(what, path)
    with open(source, "rb") as f:
        want = viewer_table([l for l in f.read().decode("cp1252").split("\n") if l])
    expect_cells(what, lines, want, cut_allowed=False)
    height, edges, words = every[0]
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


def check_dialog():
    """The dialog's PDF at its default widths: every word between two rules, every cell its
    text, whole or cut and marked."""
    table = os.path.join(WORK, "dialog")
    run([TOOL, "--dialog", "--rows", "40", "--format", "csv", "--output", table + ".csv"])
    with open(table + ".csv", newline="", encoding="cp1252") as f:
        want = list(csv.reader(f))
    run([TOOL, "--dialog", "--rows", "40", "--format", "pdf", "--output", table + ".pdf"])
    lines, _ = table_lines("dialog pdf", table + ".pdf")
    expect_cells("dialog pdf", lines, want, cut_allowed=True)
    if not any(c.endswith("...") for line in lines for c in line):
        fail("dialog pdf: no cell was cut at the default widths; the table no longer tests cutting")


# Value names of 15 to 19 characters, wide letters and accents: 7 columns stay in portrait,
# whose margins are left 25, right 15, top 20, bottom 20 mm; 9 go to landscape, where the left
# margin is the portrait's bottom one and the top margin the portrait's left one.
PORTRAIT = ["WWWWWWWWWWWWWWWWWWW", "Temperatura \u00e7\u00e3o", "Umidade relativa", "M\u00e9dia m\u00e1xima",
            "Press\u00e3o atmosf."]
LANDSCAPE = ["WWWWWWWWWWWWWWW", "Temperatura \u00e7\u00e3o", "Umidade", "M\u00c9DIA M\u00c1XIMA \u00c7\u00c3O",
             "\u00e1\u00e9\u00ed\u00f3\u00fa\u00e7\u00e3\u00f5\u00e2\u00ea\u00f4\u00e0 \u00fc\u00f1\u00e4\u00f6",
             "mmmmmmmmmmmmmmmmm", "%%%%%%%%%%%%%%%"]
check_viewer("portrait", PORTRAIT, (25, 20), landscape=False)
check_viewer("landscape", LANDSCAPE, (20, 25), landscape=True)
check_dialog()
if failures:
    sys.exit("%d failures" % len(failures))
print("PDF tables read back: no text crosses a column rule; the viewer's table at its margins")
