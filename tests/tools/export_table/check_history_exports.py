#!/usr/bin/python3
"""The history road's workbook, PDF, rich-text and HTML exports (and the plain ones beside
them) read back by programs we did not write: xlrd and ssconvert, qpdf and pdftotext, unrtf,
html.parser and xmllint, Python's csv, dbfread and ElementTree. The history files come from the
history benchmark's generator (export_table --write-history): two recording runs, "\u00b0C",
names longer than a table cell. Every cell is compared with the viewer's table in each
millisecond mode; then long tables split into sheets.

    check_history_exports.py EXPORT_TABLE WORK_FOLDER
"""
import csv
import html.parser
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

import dbfread
import xlrd

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from plain_exports_reference import exported_history as exported  # noqa: E402
from plain_exports_reference import viewer_table as reference_table  # noqa: E402

TOOL, WORK = sys.argv[1], sys.argv[2]
MODES = {'keep': [], 'none': ['--no-milliseconds'], 'column': ['--milliseconds-column'],
         ',': ['--milliseconds-separator', ',']}
failures = []


def fail(message):
    failures.append(message)
    print('FAIL:', message)


def run(args, **kw):
    result = subprocess.run(args, capture_output=True, **kw)
    if result.returncode != 0:
        raise AssertionError('%s exited %d: %s' % (' '.join(args), result.returncode, result.stderr.decode()))
    return result


def path(name):
    return os.path.join(WORK, name)


def generate(name, lines, runs=1, long_names=False):
    run([TOOL, '--write-history', path(name), '--lines', str(lines), '--runs', str(runs)] +
        (['--long-names'] if long_names else []))
    return path(name)


def export(source, name, mode='keep'):
    run([TOOL, '--history', source, '--locale', 'en_GB', '--output', path(name)] + MODES[mode])
    return path(name)


# --- the viewer's table, from the history file ---------------------------------------------

def viewer_table(source):
    """The viewer's table of the file (en_GB shows dates and times as the file writes them);
    a last line without its line feed is no data."""
    with open(source, 'rb') as f:
        lines = f.read().decode('cp1252').split('\n')
    return reference_table([l for l in lines[:-1] if l])


def norm(text):
    return ' '.join(text.replace('\xa0', ' ').split())


def first_difference(got, want):
    for i, (g, w) in enumerate(zip(got, want)):
        if g != w:
            return i, g, w
    return len(got), got[len(want):len(want) + 1], want[len(got):len(got) + 1]


def expect_rows(what, got, want):
    if got != want:
        fail('%s: %d rows read, %d expected; first difference %s' % (what, len(got), len(want),
                                                                     first_difference(got, want)))


# --- readers ---------------------------------------------------------------------------------

def xls_sheets(name):
    book = xlrd.open_workbook(name, logfile=open(os.devnull, 'w'))
    return [(s.name, [[str(v) for v in s.row_values(r)] for r in range(s.nrows)]) for s in book.sheets()]


def ssconvert_rows(name, what):
    out = name + '.csv'
    result = subprocess.run(['ssconvert', '--export-type=Gnumeric_stf:stf_csv', name, out], capture_output=True)
    noise = [l for l in result.stderr.decode(errors='replace').splitlines() if l.strip()]
    if result.returncode != 0 or noise:
        fail('%s: ssconvert said %s' % (what, noise))
        return []
    with open(out, newline='', encoding='utf-8') as f:
        return list(csv.reader(f))


def pdf_check(name, what, columns):
    check = subprocess.run(['qpdf', '--check', name], capture_output=True)
    said = (check.stdout + check.stderr).decode(errors='replace')
    if check.returncode != 0 or 'WARNING' in said.upper():
        fail('%s: qpdf --check exited %d: %s' % (what, check.returncode, said))
    plain = os.path.join(WORK, 'qdf.pdf')
    run(['qpdf', '--qdf', '--object-streams=disable', name, plain])
    with open(plain, 'rb') as f:
        boxes = re.findall(rb'/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\]', f.read())
    landscape = columns >= 8
    if not boxes or any((float(b[2]) > float(b[3])) != landscape for b in boxes):
        fail('%s: %d columns, MediaBoxes %s (landscape expected: %s)' % (what, columns, boxes[:2], landscape))
    text = subprocess.run(['pdftotext', '-raw', '-enc', 'Latin1', name, '-'], capture_output=True)
    if text.returncode != 0 or text.stderr:
        fail('%s: pdftotext said %s' % (what, text.stderr.decode(errors='replace')))
    # Laid out as on the page, a text drawn over its neighbour's comes apart.
    layout = subprocess.run(['pdftotext', '-layout', '-enc', 'Latin1', name, '-'], capture_output=True)
    return text.stdout.decode('latin-1'), layout.stdout.decode('latin-1')


def check_pdf_text(what, texts, rows):
    """Each data row comes back as one line, in order; every header cell is whole in the text
    as laid out on the page."""
    text, layout = texts
    lines = [norm(l) for l in text.split('\n')]
    body = ' | '.join(norm(l) for l in layout.split('\n'))
    missing = [c for row in rows[:3] for c in row if norm(c) and norm(c) not in body]
    if missing:
        fail('%s: header cells missing or drawn over: %s' % (what, missing[:5]))
    at = 0
    for row in rows[3:]:
        line = norm(' '.join(c for c in row if c))
        if not line:
            continue
        try:
            at = lines.index(line, at) + 1
        except ValueError:
            fail('%s: the row "%s" is not in the text after line %d' % (what, line, at))
            return


def rtf_rows(name, what, columns):
    with open(name, 'rb') as f:
        raw = f.read().decode('latin-1')
    if ('\\landscape' in raw) != (columns >= 8):
        fail('%s: %d columns, \\landscape %s' % (what, columns, '\\landscape' in raw))
    text = subprocess.run(['unrtf', '--text', name], capture_output=True)
    if text.returncode != 0 or text.stderr:
        fail('%s: unrtf said %s' % (what, text.stderr.decode(errors='replace')))
    lines = text.stdout.decode('cp1252').split('\n')
    body = lines[lines.index('-----------------') + 1:]
    return [l[1:].split('\t') for l in body if l.startswith('\t')]


class HtmlTable(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.cell, self.attrs = [], None, []
        self.title = ''
        self.in_title = False

    def handle_starttag(self, tag, attrs):
        if tag == 'title':
            self.in_title = True
        elif tag == 'tr':
            self.rows.append([])
            self.attrs.append([])
        elif tag == 'td' and self.rows:
            self.cell = ''
            self.attrs[-1].append(dict(attrs))

    def handle_endtag(self, tag):
        if tag == 'title':
            self.in_title = False
        elif tag == 'td' and self.cell is not None:
            self.rows[-1].append(self.cell)
            self.cell = None

    def handle_data(self, data):
        if self.in_title:
            self.title += data
        if self.cell is not None:
            self.cell += data


def html_table(name, what):
    lint = subprocess.run(['xmllint', '--html', '--noout', name], capture_output=True)
    if lint.returncode != 0 or lint.stdout or lint.stderr:
        fail('%s: xmllint said %s' % (what, (lint.stdout + lint.stderr).decode(errors='replace')))
    parser = HtmlTable()
    with open(name, 'rb') as f:
        page = f.read().decode('cp1252')
    parser.feed(page)
    # The outer frame table's row holds the whole inner table: only rows of cells count.
    keep = [i for i, row in enumerate(parser.rows) if row and not any('<' in c for c in row)]
    rows = [parser.rows[i] for i in keep if len(parser.rows[i]) > 1]
    attrs = [parser.attrs[i] for i in keep if len(parser.rows[i]) > 1]
    return page, parser.title, rows, attrs


def check_html(what, name, want, source):
    """The page of the history file source: titled by its name, the value-name row marked."""
    page, title, rows, attrs = html_table(name, what)
    expect_rows(what, [[norm(c) for c in r] for r in rows], [[norm(c) for c in r] for r in want])
    if norm(title) != os.path.basename(source):
        fail('%s: title "%s"' % (what, title))
    if not re.search(r'\.ThRows\s*\{[^}]*text-align:\s*center', page):
        fail('%s: the caption row is not centred' % what)
    yellow = [[('#ffff00' in a.get('style', '')) for a in row] for row in attrs]
    if yellow[1:2] != [[True] * len(want[1])] or any(any(r) for i, r in enumerate(yellow) if i != 1):
        fail('%s: yellow cells by row %s' % (what, [sum(r) for r in yellow[:4]]))
    if any(a.get('align', '').lower() != 'center' for row in attrs[1:] for a in row):
        fail('%s: a data cell is not centred' % what)
    if '.TrBC { background-color: #bfcddb }' not in page:
        fail('%s: the border is not the inactive caption colour' % what)


# --- the checks ------------------------------------------------------------------------------

def check_every_format():
    source = generate('runs.mpc', 240, runs=2, long_names=True)
    table = viewer_table(source)
    assert len(table) == 3 + 240 + 1 and max(len(c) for c in table[1]) > 20, 'two runs, long names'
    narrow = path('narrow.mpc')  # 5 values: 7 columns, 8 with the milliseconds apart
    with open(narrow, 'wb') as f:
        f.write(' , , Sonda, , , , \n , , A, B, C, D, E\n , , \u00b0C, %, \u00b0C, , \n'.encode('cp1252'))
        for i in range(30):
            f.write(('07/12/2026, 10:%02d:%02d.%03d, %d.5, 2, 3, 4, 5\n' % (i // 60, i % 60, i * 7, i)).encode())
    for mode in MODES:
        want = exported(table, mode)
        what = lambda ext: 'history %s, milliseconds %s' % (ext, mode)
        sheets = xls_sheets(export(source, 'runs.xls', mode))
        expect_rows(what('xls sheets'), [s[0] for s in sheets], ['runs.mpc'])
        expect_rows(what('xls (xlrd)'), sheets[0][1], want)
        book = xlrd.open_workbook(path('runs.xls'), formatting_info=True, logfile=open(os.devnull, 'w'))
        sheet = book.sheet_by_index(0)
        weights = [[book.font_list[book.xf_list[sheet.cell_xf_index(r, c)].font_index].weight
                    for c in range(sheet.ncols)] for r in (1, 2, 3)]
        if weights != [[700] * len(want[0]), [400] * len(want[0]), [400] * len(want[0])]:
            fail('%s: font weights of rows 1 to 3: %s' % (what('xls'), weights))
        got = ssconvert_rows(path('runs.xls'), what('xls'))
        expect_rows(what('xls (ssconvert)'), [r + [''] * (len(want[0]) - len(r)) for r in got], want)

        text = pdf_check(export(source, 'runs.pdf', mode), what('pdf'), len(want[0]))
        check_pdf_text(what('pdf'), text, want)
        expect_rows(what('rtf'), rtf_rows(export(source, 'runs.rtf', mode), what('rtf'), len(want[0])), want)
        for ext in ('html', 'htm'):
            check_html(what(ext), export(source, 'runs.' + ext, mode), want, source)

        with open(export(source, 'runs.csv', mode), newline='', encoding='cp1252') as f:
            expect_rows(what('csv'), list(csv.reader(f, delimiter=';')), want)
        records = [[str(v) for v in r.values()] for r in dbfread.DBF(export(source, 'runs.dbf', mode))]
        expect_rows(what('dbf'), records, want[1:])
        rows = ET.parse(export(source, 'runs.xml', mode)).getroot().findall('./ROWDATA/ROW')
        expect_rows(what('xml'), [[r.get('Column%d' % i) for i in range(len(want[0]))] for r in rows], want[1:])

        small = exported(viewer_table(narrow), mode)
        pdf_check(export(narrow, 'narrow.pdf', mode), 'narrow pdf %s' % mode, len(small[0]))
        expect_rows('narrow rtf %s' % mode, rtf_rows(export(narrow, 'narrow.rtf', mode), 'narrow rtf', len(small[0])),
                    small)
        check_html('narrow html %s' % mode, export(narrow, 'narrow.html', mode), small, narrow)


def check_sheets(lines, name, titles):
    """A long table on sheets titled by the history file's name: each sheet the caption row
    and rows 1 and 2, then its block of data rows; together every data row once, in order, no
    sheet without data."""
    source = generate(name, lines)
    table = viewer_table(source)
    what = '%d rows' % len(table)
    sheets = xls_sheets(export(source, 'long.xls'))
    expect_rows(what + ' sheet titles', [s[0] for s in sheets], titles)
    data = []
    for title, rows in sheets:
        if rows[:3] != table[:3] or len(rows) < 4 or len(rows) > 65536:
            fail('%s, sheet %s: %d rows, begins %s' % (what, title, len(rows), rows[:1]))
        data += rows[3:]
    if data != table[3:]:
        fail('%s: the sheets hold %d data rows, the file %d; first difference %s'
             % (what, len(data), len(table) - 3, first_difference(data, table[3:])))
    os.remove(source)


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    checks = [check_every_format,
              lambda: check_sheets(69997, 'h70k.mpc', ['h70k.mpc - 1', 'h70k.mpc - 2']),
              lambda: check_sheets(65533, 'long.mpc', ['long.mpc']),
              lambda: check_sheets(131068, 'long.mpc', ['long.mpc - 1', 'long.mpc - 2', 'long.mpc - 3']),
              # Characters no sheet name may hold, and a name so long the number must stay.
              lambda: check_sheets(69997, 'Ensaio [forno 2] 10:30 ok? medidas 1.mpc',
                                   ['Ensaio _forno 2_ 10_30 ok_  - 1', 'Ensaio _forno 2_ 10_30 ok_  - 2'])]
    passed = failed = 0
    for check in checks:
        before = len(failures)
        try:
            check()
        except AssertionError as e:
            fail(str(e))
        if len(failures) == before:
            passed += 1
        else:
            failed += 1
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


sys.exit(main())
