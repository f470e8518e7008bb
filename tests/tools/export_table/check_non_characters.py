"""Bytes that stand for no character in code page 1252 (NUL and the undefined 0x81, 0x8D, 0x8F,
0x90 and 0x9D) in a caption and in cells, exported by the tool in every format: each file is
read back by its own reader, which must take it whole and say nothing, and every such byte
comes back as '?' in every format. Readers: Python's csv and cp1252 codec, Gnumeric's
ssconvert (DIF, SYLK), dbfread, xmllint and ElementTree, SQLite, pdflatex and pdftotext,
xmllint --html and html.parser, unrtf, qpdf and pdftotext, xlrd, the offscreen clipboard.

usage: check_non_characters.py EXPORT_TABLE WORK_FOLDER"""
import csv
import html.parser
import io
import os
import shutil
import sqlite3
import subprocess
import sys
import xml.etree.ElementTree as ET

import dbfread
import xlrd

TOOL, WORK = sys.argv[1], sys.argv[2]
SOURCE = b'na\x90me,value\r\n"a\x81b\x8dc",1\r\n"d\x00e\x8f",2\r\n"f\x90g\x9dh",3\r\n'
CAPTIONS = ['na?me', 'value']
ROWS = [['a?b?c', '1'], ['d?e?', '2'], ['f?g?h', '3']]
TEXTS = CAPTIONS[:1] + [row[0] for row in ROWS]
ENV = dict(os.environ, QT_QPA_PLATFORM='offscreen')


def path(name):
    return os.path.join(WORK, name)


def run(args):
    """Runs a program; it must succeed and say nothing on its error output."""
    done = subprocess.run(args, capture_output=True, env=ENV)
    err = b'\n'.join(line for line in done.stderr.splitlines() if b'XDG_RUNTIME_DIR' not in line)
    assert done.returncode == 0, '%s failed (%d): %s' % (args[0], done.returncode, err.decode(errors='replace'))
    assert err == b'', '%s said: %s' % (args[0], err.decode(errors='replace'))
    return done.stdout


def export(fmt, *options):
    target = path('t.' + fmt)
    run([TOOL, '--csv', path('source.csv'), '--format', fmt, '--locale', 'C', '--output', target] + list(options))
    return target


def expect_equal(what, got, want):
    assert got == want, '%s: got %r, want %r' % (what, got, want)


def expect_texts(what, text):
    for want in TEXTS:
        assert want in text, '%s lacks %r: %r' % (what, want, text)


def read_cp1252(name):
    """The file's text; a byte the code page leaves undefined fails the decoding."""
    with open(name, encoding='cp1252', newline='') as f:
        return f.read()


def check_csv():
    rows = list(csv.reader(io.StringIO(read_cp1252(export('csv'))), delimiter=','))
    expect_equal('CSV', rows, [CAPTIONS] + ROWS)


def check_txt():
    lines = read_cp1252(export('txt')).split('\r\n')
    expect_equal('text', [line.split() for line in lines if line], [CAPTIONS] + ROWS)


def spreadsheet_rows(source):
    """The cells as Gnumeric reads them, through its CSV writer."""
    target = source + '.csv'
    run(['ssconvert', source, target])
    with open(target, encoding='utf-8', newline='') as f:
        return list(csv.reader(f))


def check_dif():
    expect_equal('DIF', spreadsheet_rows(export('dif')), [CAPTIONS] + ROWS)


def check_sylk():
    expect_equal('SYLK', spreadsheet_rows(export('slk')), [CAPTIONS] + ROWS)


def check_dbf():
    records = list(dbfread.DBF(export('dbf'), encoding='cp1252'))
    # A field name keeps to the letters, digits and "_" of dBase names.
    expect_equal('dBase', [list(r.items()) for r in records], [[('NA_ME', t), ('VALUE', int(v))] for t, v in ROWS])


def check_xml():
    source = export('xml')
    run(['xmllint', '--noout', source])
    rows = ET.parse(source).getroot().findall('./ROWDATA/ROW')
    # An attribute name keeps to the characters of XML names.
    expect_equal('XML', [[row.get('na_me'), row.get('value')] for row in rows], ROWS)


def check_sql():
    db = sqlite3.connect(':memory:')
    db.executescript(read_cp1252(export('sql', '--table', 'T', '--create-table')))
    expect_equal('SQL columns', [c[1] for c in db.execute('PRAGMA table_info(T)')], CAPTIONS)
    expect_equal('SQL', db.execute('SELECT * FROM T ORDER BY rowid').fetchall(), [(t, int(v)) for t, v in ROWS])


def check_latex():
    source = export('tex')
    done = subprocess.run(['pdflatex', '-halt-on-error', '-interaction=batchmode', '-output-directory', WORK, source],
                          capture_output=True)
    assert done.returncode == 0, 'pdflatex failed (%d): %s' % (done.returncode, done.stdout.decode(errors='replace'))
    expect_texts('LaTeX', run(['pdftotext', path('t.pdf'), '-']).decode('utf-8'))


class Cells(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.text = []

    def handle_data(self, data):
        self.text.append(data)


def check_html():
    source = export('html')
    run(['xmllint', '--html', '--noout', source])
    cells = Cells()
    cells.feed(read_cp1252(source))
    expect_texts('HTML', ' '.join(cells.text))


def check_rtf():
    expect_texts('RTF', run(['unrtf', '--text', export('rtf')]).decode('utf-8'))


def check_pdf():
    source = export('pdf')
    assert b'No syntax or stream encoding errors' in run(['qpdf', '--check', source])
    expect_texts('PDF', run(['pdftotext', source, '-']).decode('utf-8'))


def check_xls():
    sheet = xlrd.open_workbook(export('xls'), logfile=sys.stderr).sheet_by_index(0)
    cells = [[str(v) if isinstance(v, str) else str(int(v)) for v in sheet.row_values(r)] for r in range(sheet.nrows)]
    expect_equal('workbook', cells, [CAPTIONS] + ROWS)


def check_clipboard():
    text = run([TOOL, '--csv', path('source.csv'), '--format', 'clipboard', '--separator', '|']).decode('utf-8')
    expect_equal('clipboard', list(csv.reader(io.StringIO(text), delimiter='|')), [CAPTIONS] + ROWS)


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    with open(path('source.csv'), 'wb') as f:
        f.write(SOURCE)
    checks = [check_csv, check_txt, check_dif, check_sylk, check_dbf, check_xml, check_sql, check_latex, check_html,
              check_rtf, check_pdf, check_xls, check_clipboard]
    failed = 0
    for check in checks:
        try:
            check()
        except Exception as error:  # every check runs; each failure is told
            failed += 1
            print('FAILED %s: %s' % (check.__name__, error))
    print('%d passed, %d failed' % (len(checks) - failed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
