"""The plain formats of the export tool, each read back by a program we did not write:
Python's csv, Gnumeric's ssconvert (DIF and SYLK), dbfread (dBase), xmllint and ElementTree
(XML), sqlite3 (SQL), pdflatex and pdftotext (LaTeX), and the clipboard of the offscreen
platform. Every cell of the generated table must come back, and every reader stay silent.
Then the history road: a history file of two recording runs exported to CSV, text, dBase
and XML in the three millisecond modes, compared field by field with the file.

usage: check_plain_exports.py EXPORT_TABLE WORK_FOLDER"""
import csv
import datetime
import gzip
import io
import os
import re
import sqlite3
import subprocess
import sys
import unicodedata
import xml.etree.ElementTree as ET

import dbfread

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from plain_exports_reference import exported_history, generated_table, history_table, write_history  # noqa: E402

TOOL, WORK = sys.argv[1], sys.argv[2]
ROWS = 120
TABLE = None


def path(name):
    return os.path.join(WORK, name)


def run(args, env=None):
    """Runs a program; it must succeed and say nothing on its error output."""
    done = subprocess.run(args, capture_output=True, env=env)
    assert done.returncode == 0, '%s failed (%d): %s' % (args[0], done.returncode, done.stderr.decode(errors='replace'))
    assert done.stderr == b'', '%s said: %s' % (args[0], done.stderr.decode(errors='replace'))
    return done.stdout


def export(fmt, name, *options):
    run([TOOL, '--format', fmt, '--rows', str(ROWS), '--locale', 'C', '--output', path(name)] + list(options))
    return path(name)


def expect_equal(what, got, want):
    assert got == want, '%s: got %r, want %r' % (what, got, want)


def one_line(text):
    return text.replace('\r', ' ').replace('\n', ' ')


# --- CSV and text --------------------------------------------------------------------------

def check_csv():
    with open(export('csv', 't.csv', '--separator', ';'), newline='', encoding='cp1252') as f:
        rows = list(csv.reader(f, delimiter=';'))
    expect_equal('CSV rows', rows, [TABLE.captions()] + TABLE.formatted())


def check_txt():
    with open(export('txt', 't.txt', '--title', 'Leituras'), encoding='cp1252', newline='') as f:
        lines = f.read().split('\r\n')
    expect_equal('title', lines[:3], ['Leituras', '-' * 80, ''])
    # The width pass makes every column as wide as its longest text (never narrower than
    # the source's width); one blank after each.
    rows = [TABLE.captions()] + TABLE.formatted()
    widths = [max([c['width']] + [len(r[i]) for r in rows]) for i, c in enumerate(TABLE.columns)]
    for n, row in enumerate(rows):
        line, at = lines[3 + n], 0
        for i, cell in enumerate(row):
            piece = line[at:at + widths[i]]
            expect_equal('text cell %d,%d' % (n, i), piece.strip(), cell.strip())
            if TABLE.numeric(i) and cell:
                assert piece.endswith(cell), 'numbers are right-aligned: %r' % piece
            at += widths[i] + 1


# --- DIF and SYLK --------------------------------------------------------------------------

def number_or_text(column, raw, formatted):
    """What a DIF or SYLK cell holds: the number itself for a numeric column, else the text.
    A numeric cell without a number holds what the other layouts write for it: an integer's 0
    is the number 0."""
    if TABLE.numeric(column) and raw:
        return float(raw)
    if TABLE.numeric(column) and re.fullmatch(r'-?\d+(\.\d+)?', formatted):
        return float(formatted)
    return one_line(formatted)


def expected_machine_rows():
    rows = [[c for c in TABLE.captions()]]
    for record in TABLE.records:
        rows.append([number_or_text(i, raw, fmt) for i, (raw, fmt) in enumerate(record)])
    return rows


def parse_dif(data):
    lines = data.decode('cp1252').split('\r\n')
    assert lines[0] == 'TABLE' and lines[4] == '0,%d' % len(TABLE.columns), 'DIF header: %r' % lines[:8]
    expect_equal('DIF tuples', lines[7], '0,%d' % ROWS)
    expect_equal('DIF data item', lines[9:12], ['DATA', '0,0', '""'])
    rows, i = [], 12
    while True:
        kind, value = lines[i], lines[i + 1]
        i += 2
        if kind == '-1,0' and value == 'BOT':
            rows.append([])
        elif kind == '-1,0' and value == 'EOD':
            return rows
        elif kind == '1,0':
            assert value[0] == '"' and value[-1] == '"', value
            rows[-1].append(value[1:-1])
        elif kind.startswith('0,') and value == 'V':
            rows[-1].append(float(kind[2:]))
        else:
            raise AssertionError('DIF item %r %r' % (kind, value))


def parse_sylk(data):
    cells = {}
    lines = data.decode('cp1252').split('\r\n')
    expect_equal('SYLK first record', lines[0], 'ID;PVASCIIEXPORT')
    for line in lines[1:]:
        if line in ('E', ''):
            continue
        m = re.match(r'C;X(\d+);Y(\d+);K(.*)$', line)
        assert m, 'SYLK record %r' % line
        value = m.group(3)
        if value.startswith('"'):
            assert value.endswith('"'), line
            value = value[1:-1].replace(';;', ';')
        else:
            value = float(value)
        cells[(int(m.group(2)) - 1, int(m.group(1)) - 1)] = value
    return cells


# Texts that Gnumeric's DIF reader takes as typed input rather than text (a number, a
# percentage, a date, a time, a truth value, text marked by a leading apostrophe).
LOOKS_LIKE_A_VALUE = re.compile(r"^(-?[\d,]*\.?\d+%?|\d+ \w{3} \d{4}( [\d:]+)?|[\d:]+|true|false|'.*)$", re.I)


def gnumeric_cells(source):
    target = source + '.gnumeric'
    run(['ssconvert', source, target])
    with gzip.open(target) as f:
        root = ET.parse(f).getroot()
    ns = {'gnm': 'http://www.gnumeric.org/v10.dtd'}
    cells = {}
    for cell in root.iterfind('.//gnm:Cell', ns):
        cells[(int(cell.get('Row')), int(cell.get('Col')))] = (cell.get('ValueType'), cell.text or '')
    return cells


def check_with_gnumeric(name, source, dif):
    cells = gnumeric_cells(source)
    want = expected_machine_rows()
    for r, row in enumerate(want):
        for c, value in enumerate(row):
            got = cells.get((r, c))
            where = '%s cell %d,%d' % (name, r, c)
            if isinstance(value, float):
                assert got and got[0] == '40', '%s is no number: %r' % (where, got)
                assert abs(float(got[1]) - value) <= 1e-9 * max(1.0, abs(value)), '%s: %r for %r' % (where, got, value)
            elif value == '':
                assert got is None or got[1] == '', '%s: %r for an empty cell' % (where, got)
            elif got and got[0] == '60':
                # A leading apostrophe marks the rest as text to Gnumeric's DIF reader.
                expect_equal(where, got[1], value[1:] if dif and value.startswith("'") else value)
            else:
                assert dif and LOOKS_LIKE_A_VALUE.match(value), '%s: %r for the text %r' % (where, got, value)


def check_dif():
    source = export('dif', 't.dif')
    with open(source, 'rb') as f:
        rows = parse_dif(f.read())
    expect_equal('DIF cells', rows, expected_machine_rows())
    check_with_gnumeric('DIF', source, True)


def check_sylk():
    source = export('slk', 't.slk')
    with open(source, 'rb') as f:
        cells = parse_sylk(f.read())
    want = {}
    for r, row in enumerate(expected_machine_rows()):
        for c, value in enumerate(row):
            if value != '':
                want[(r, c)] = value
    expect_equal('SYLK cells', cells, want)
    check_with_gnumeric('SYLK', source, False)
    # Without captions the first data row is Y1.
    with open(export('slk', 'n.slk', '--no-captions'), 'rb') as f:
        first = parse_sylk(f.read())
    expect_equal('SYLK first row without captions', first[(0, 0)], float(TABLE.raw()[0][0]))


# --- dBase ---------------------------------------------------------------------------------

def dbf_value(column, raw):
    kind = TABLE.columns[column]['type']
    if kind == 'Integer':
        return int(raw) if raw else None
    if kind in ('Float', 'Currency'):
        return round(float(raw), 4) if raw else None
    if kind == 'Date':
        return datetime.datetime.strptime(raw, '%d %b %Y').date()
    if kind == 'DateTime':
        return datetime.datetime.strptime(raw, '%d %b %Y %H:%M:%S').date()
    if kind == 'Boolean':
        return raw == 'true'
    return raw


def check_dbf():
    table = dbfread.DBF(export('dbf', 't.dbf'))
    expect_equal('dBase encoding from the header', table.encoding, 'cp1252')
    expect_equal('dBase field names', table.field_names,
                 ['ID', 'READING', 'AMOUNT', 'DAY', 'CLOCK', 'STAMP', 'OK', 'LABEL', 'NOTE', 'COUNTER'])
    records = list(table)
    expect_equal('dBase records', len(records), ROWS)
    for r, record in enumerate(records):
        for c, raw in enumerate(TABLE.raw()[r]):
            got = list(record.values())[c]
            want = dbf_value(c, raw)
            if isinstance(want, float):
                assert got is not None and abs(got - want) < 1e-9 * max(1, abs(want)), 'dBase %d,%d: %r for %r' % (
                    r, c, got, raw)
            else:
                expect_equal('dBase %d,%d' % (r, c), got, want)


# --- XML -----------------------------------------------------------------------------------

def check_xml(encoding=None):
    options = ['--encoding', encoding] if encoding else []
    source = export('xml', 't-%s.xml' % (encoding or 'default'), *options)
    run(['xmllint', '--noout', source])
    root = ET.parse(source).getroot()
    fields = root.findall('./METADATA/FIELDS/FIELD')
    expect_equal('XML fields', [f.get('FieldName') for f in fields], [c['name'] for c in TABLE.columns])
    rows = root.findall('./ROWDATA/ROW')
    expect_equal('XML rows', len(rows), ROWS)
    for r, row in enumerate(rows):
        expect_equal('XML row %d' % r, [row.get(c['name']) for c in TABLE.columns], TABLE.raw()[r])


# --- SQL -----------------------------------------------------------------------------------

def sql_value(column, raw):
    kind = TABLE.columns[column]['type']
    if kind == 'Integer':
        return int(raw) if raw else None
    if kind in ('Float', 'Currency'):
        return float(raw) if raw else None
    if kind == 'Boolean':
        return 1 if raw == 'true' else 0
    return raw


def check_sql():
    source = export('sql', 't.sql', '--table', 'Leituras de hoje', '--create-table')
    with open(source, encoding='cp1252', newline='') as f:
        script = f.read()
    db = sqlite3.connect(':memory:')
    db.executescript(script)
    rows = db.execute('SELECT * FROM "Leituras de hoje" ORDER BY rowid').fetchall()
    expect_equal('SQL rows', len(rows), ROWS)
    for r, row in enumerate(rows):
        expect_equal('SQL row %d' % r, list(row), [sql_value(c, raw) for c, raw in enumerate(TABLE.raw()[r])])


# --- LaTeX ---------------------------------------------------------------------------------

def printed(text):
    """Text as pdftotext gives back what LaTeX typeset: curly quotes for straight ones,
    accents composed."""
    text = unicodedata.normalize('NFC', text)
    return text.replace('\u2019', "'").replace('\u2018', "'").replace('\u201d', '"').replace('\u201c', '"')


def check_latex():
    source = export('tex', 't.tex', '--preamble', r'\usepackage[paperwidth=90cm,paperheight=120cm,margin=1cm]{geometry}')
    # Only pdflatex's answer counts: on a fresh machine its first run makes the bitmap fonts it
    # lacks and says so on its error output, which is no fault of the file.
    done = subprocess.run(['pdflatex', '-halt-on-error', '-interaction=batchmode', '-output-directory', WORK, source],
                          capture_output=True)
    assert done.returncode == 0, 'pdflatex failed (%d): %s' % (done.returncode, done.stdout.decode(errors='replace'))
    text = printed(run(['pdftotext', '-layout', path('t.pdf'), '-']).decode('utf-8'))
    lines = [line for line in text.split('\n') if line.strip()]
    rows = [TABLE.captions()] + TABLE.formatted()
    for n, row in enumerate(rows):
        for c, cell in enumerate(row):
            # A control character prints as a blank, and blanks in a row as one.
            want = ' '.join(printed(re.sub(r'[\x00-\x1f]', ' ', cell)).split())
            assert want in ' '.join(lines[n].split()), 'LaTeX row %d lacks %r: %r' % (n, want, lines[n])


# --- clipboard -----------------------------------------------------------------------------

def check_clipboard():
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    args = [TOOL, '--format', 'clipboard', '--rows', str(ROWS), '--locale', 'C', '--separator', '|']
    done = subprocess.run(args, capture_output=True, env=env)
    assert done.returncode == 0, done.stderr
    # Cells holding the separator, a quote or a line break are quoted, as CSV quotes them.
    rows = list(csv.reader(io.StringIO(done.stdout.decode('utf-8'), newline=''), delimiter='|'))
    expect_equal('clipboard rows', rows[:ROWS + 1], [TABLE.captions()] + TABLE.formatted())


# --- the history road ----------------------------------------------------------------------

def export_history(name, *options):
    run([TOOL, '--history', path('h.mpc'), '--locale', 'en_GB', '--output', path(name)] + list(options))
    return path(name)


def history_expected(mode):
    """The viewer's table as an export with the given millisecond mode carries it."""
    return exported_history(history_table(), mode)


def check_history():
    write_history(path('h.mpc'))
    for mode, options in (('keep', []), ('none', ['--no-milliseconds']), ('column', ['--milliseconds-column']),
                          (',', ['--milliseconds-separator', ','])):
        want = history_expected(mode)
        with open(export_history('h.csv', *options), newline='', encoding='cp1252') as f:
            expect_equal('history CSV, milliseconds %s' % mode, list(csv.reader(f, delimiter=';')), want)
    want = history_expected('keep')
    # The extension in capitals picks the same format.
    with open(export_history('H.CSV'), newline='', encoding='cp1252') as f:
        expect_equal('history .CSV', list(csv.reader(f, delimiter=';')), want)

    with open(export_history('h.txt'), encoding='cp1252', newline='') as f:
        lines = f.read().split('\r\n')
    widths = [11, 13] + [11] * (len(want[0]) - 2)  # the sample date and time, with milliseconds
    widths = [max([w] + [len(row[i]) for row in want]) for i, w in enumerate(widths)]
    for n, row in enumerate(want):
        line, at = lines[n], 0
        for i, cell in enumerate(row):
            expect_equal('history text %d,%d' % (n, i), line[at:at + widths[i]].strip(), cell)
            at += widths[i] + 2

    table = dbfread.DBF(export_history('h.dbf'))
    expect_equal('history dBase fields', table.field_names, ['COLUMN%d' % i for i in range(len(want[0]))])
    expect_equal('history dBase records', [list(r.values()) for r in table], want[1:])

    source = export_history('h.xml')
    run(['xmllint', '--noout', source])
    rows = ET.parse(source).getroot().findall('./ROWDATA/ROW')
    expect_equal('history XML rows', [[r.get('Column%d' % i) for i in range(len(want[0]))] for r in rows], want[1:])

    failed = subprocess.run([TOOL, '--history', path('h.mpc'), '--output', path('h.odt')], capture_output=True)
    assert failed.returncode == 1 and 'xml, dbf, txt ou csv' in failed.stderr.decode(), failed.stderr


def main():
    global TABLE
    os.makedirs(WORK, exist_ok=True)
    TABLE = generated_table(TOOL, ROWS)
    checks = [check_csv, check_txt, check_dif, check_sylk, check_dbf, check_xml,
              lambda: check_xml('ISO-8859-1'), lambda: check_xml('US-ASCII'), lambda: check_xml('UTF-16'),
              check_sql, check_latex, check_clipboard, check_history]
    passed = failed = 0
    for check in checks:
        try:
            check()
            passed += 1
        except Exception as error:  # every check runs; each failure is told
            failed += 1
            print('FAILED %s: %s' % (getattr(check, '__name__', 'check'), error))
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
