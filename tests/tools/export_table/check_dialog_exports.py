"""Exports run from the export dialog by export_table --dialog (the form driven as a person
would: the format chosen, the file name typed, Start pressed), each read back by a program we
did not write, which must take every row and say nothing: Python's csv, xmllint, dbfread,
xlrd, qpdf and pdftotext, SQLite. A file that cannot be written is reported and fails the run,
and so does a file that is not printed as asked; a named pipe or a device named as the file is
refused and stays what it was; an options file given with the dialog sets the run's options,
and the options saved from its Tools menu set them again; an options file in UTF-16 is
refused, one in UTF-8 is read and saved as UTF-8; what a workbook leaves out is told.

usage: check_dialog_exports.py EXPORT_TABLE WORK_FOLDER"""
import csv
import os
import re
import shutil
import sqlite3
import stat
import subprocess
import sys

import dbfread
import xlrd

TOOL, WORK = sys.argv[1], sys.argv[2]
ROWS = 40
shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
ENV = dict(os.environ, QT_QPA_PLATFORM="offscreen")


def run(args):
    done = subprocess.run(args, capture_output=True, env=ENV)
    err = b"\n".join(line for line in done.stderr.splitlines() if b"XDG_RUNTIME_DIR" not in line)
    return done.returncode, done.stdout, err


def export(ext, name="table"):
    path = os.path.join(WORK, name + "." + ext)
    code, _, err = run([TOOL, "--dialog", "--rows", str(ROWS), "--format", ext, "--output", path])
    assert code == 0 and err == b"", "%s: exit %d: %s" % (ext, code, err.decode(errors="replace"))
    return path


def silent(args):
    code, out, err = run(args)
    assert code == 0 and err == b"", "%s: %s" % (args[0], err.decode(errors="replace"))
    return out


with open(export("csv"), newline="", encoding="cp1252") as f:
    rows = list(csv.reader(f))
assert len(rows) == ROWS + 1, len(rows)
assert len({len(r) for r in rows}) == 1, "rows of different lengths"

silent(["xmllint", "--noout", export("xml")])

records = list(dbfread.DBF(export("dbf"), encoding="cp1252"))
assert len(records) == ROWS, len(records)

sheet = xlrd.open_workbook(export("xls"), logfile=sys.stderr).sheet_by_index(0)
assert sheet.nrows == ROWS + 1, sheet.nrows
assert [sheet.cell_value(0, c) for c in range(sheet.ncols)] == rows[0], "captions differ from the CSV's"

pdf = export("pdf")
assert b"No syntax or stream encoding errors" in silent(["qpdf", "--check", pdf])
text = silent(["pdftotext", pdf, "-"]).decode()
assert rows[0][0] in text, "the first caption is not in the PDF"

# The generated table has missing values: each is a token of its own, and SQLite runs every
# INSERT of the script (its table named after the file, quoted where that name is a reserved word
# or holds a dot: "readings.v2.sql" names one table, not table V2 of a schema READINGS).
for name, table in (("readings", "READINGS"), ("table", '"TABLE"'), ("readings.v2", '"READINGS.V2"')):
    with open(export("sql", name), encoding="cp1252") as f:
        script = f.read()
    db = sqlite3.connect(":memory:")
    insert = re.search(r"INSERT INTO %s\s*\(([^)]*)\)" % re.escape(table), script)
    assert insert, "%s.sql inserts into no table %s: %r" % (name, table, script[:120])
    columns = insert.group(1)
    db.execute("CREATE TABLE %s(%s)" % (table, columns))
    db.executescript(script)
    assert db.execute("SELECT count(*) FROM %s" % table).fetchone()[0] == ROWS
with open(export("rtf"), "rb") as a, open(export("doc"), "rb") as b:
    assert a.read() == b.read(), "Word and RTF differ"

code, _, err = run([TOOL, "--dialog", "--rows", "5", "--format", "csv", "--output", "/proc/no/such/folder/t.csv"])
assert code == 1 and err != b"", "an unwritable file was not reported"
# A named pipe and, where this process may make one, a device like /dev/null named as the file:
# refused for every format, the file named in the message, and left what it was.
nodes = []
for ext in ("csv", "txt", "pdf", "xls"):
    nodes.append(os.path.join(WORK, "pipe." + ext))
    os.mkfifo(nodes[-1])
    try:
        os.mknod(os.path.join(WORK, "null." + ext), 0o666 | stat.S_IFCHR, os.makedev(1, 3))
        nodes.append(os.path.join(WORK, "null." + ext))
    except PermissionError:
        pass
for node in nodes:
    kind = stat.S_IFMT(os.stat(node).st_mode)
    code, _, err = run([TOOL, "--dialog", "--rows", "5", "--format", node.rsplit(".", 1)[1], "--output", node])
    assert code == 1 and ('"%s": it is a ' % node).encode() in err and b"only a regular file is replaced" in err, \
        "%s: exit %d: %s" % (node, code, err.decode(errors="replace"))
    assert stat.S_IFMT(os.stat(node).st_mode) == kind, "%s was replaced" % node

# An options file opened with the dialog: its separator and its one exported field are used.
options = os.path.join(WORK, "semicolon.cfg")
with open(options, "w", newline="\r\n", encoding="cp1252") as f:
    f.write("[GENERAL]\nExportType=8\n[FIELDS]\nfield0=Reading\n[CSV]\nComma=;\nQuote=\"\n")
# Then saved from the dialog's Tools menu, and the saved file opened with the dialog again
# gives the same export.
path = os.path.join(WORK, "options.csv")
saved = os.path.join(WORK, "saved.cfg")
code, _, err = run([TOOL, "--dialog", "--rows", str(ROWS), "--format", "csv", "--output", path, "--options", options,
                    "--save-options", saved])
assert code == 0 and err == b"", "--options: exit %d: %s" % (code, err.decode(errors="replace"))
with open(path, newline="", encoding="cp1252") as f:
    chosen = list(csv.reader(f, delimiter=";"))
assert len(chosen) == ROWS + 1 and chosen[0] == [rows[0][1]], chosen[:2]
again = os.path.join(WORK, "saved.csv")
code, _, err = run([TOOL, "--dialog", "--rows", str(ROWS), "--format", "csv", "--output", again, "--options", saved])
assert code == 0 and err == b"", "--options saved: exit %d: %s" % (code, err.decode(errors="replace"))
with open(path, "rb") as a, open(again, "rb") as b:
    assert a.read() == b.read(), "the saved options give another export"

# An options file whose style sheet is the options file itself, by a second name (a link): the
# run is refused, saying why, and the options file stays as it was.
options = os.path.join(WORK, "sheet.cfg")
os.symlink(options, os.path.join(WORK, "sheet-link.css"))
with open(options, "w", newline="\r\n", encoding="cp1252") as f:
    f.write("[GENERAL]\nExportType=3\n[HTML]\nCSS=1\nCSSFile=%s\n" % os.path.join(WORK, "sheet-link.css"))
with open(options, "rb") as f:
    before = f.read()
path = os.path.join(WORK, "sheet.html")
code, _, err = run([TOOL, "--dialog", "--rows", "5", "--format", "html", "--output", path, "--options", options])
assert code == 1 and b"a file this export reads" in err, "sheet: exit %d: %s" % (code, err.decode(errors="replace"))
with open(options, "rb") as f:
    assert f.read() == before, "the options file was written over"
assert not os.path.exists(path), "a page was written"

# Navigation titles from an options file are text on the pages, as the title is: xmllint reads
# each page without a complaint and no script is in any.
options = os.path.join(WORK, "titles.cfg")
with open(options, "w", newline="\r\n", encoding="cp1252") as f:
    f.write("[GENERAL]\nExportType=3\n[HTML]\nFileRecCount=10\nGenerateIndex=1\nIndexLinkTitle=<i>\n"
            "FirstLinkTitle=</a><script>1</script>\nPriorLinkTitle=\"<\nNextLinkTitle=&\nLastLinkTitle=<!--\n")
code, _, err = run([TOOL, "--dialog", "--rows", str(ROWS), "--format", "html", "--output",
                    os.path.join(WORK, "titles.html"), "--options", options])
assert code == 0 and err == b"", "titles: exit %d: %s" % (code, err.decode(errors="replace"))
for n in range(1, ROWS // 10 + 1):
    page = os.path.join(WORK, "titles%02d.html" % n)
    silent(["xmllint", "--html", "--noout", page])
    with open(page, encoding="cp1252") as f:
        text = f.read()
    assert "&lt;/a&gt;&lt;script&gt;1&lt;/script&gt;</a>" in text and "<script>" not in text, page

# An options file in UTF-16 is not read as one without options: the tool says so and fails,
# and the file is left as it was. One in UTF-8 behind its byte-order mark gives its texts (the
# header line here, written in code page 1252 as the CSV is), and saved from the Tools menu
# over itself stays UTF-8 behind the mark.
options = os.path.join(WORK, "wide.cfg")
wide = "[GENERAL]\r\nExportType=8\r\n[HEADER]\r\nline0=T\u00edtulo\r\n".encode("utf-16")
with open(options, "wb") as f:
    f.write(wide)
path = os.path.join(WORK, "wide.csv")
code, _, err = run([TOOL, "--dialog", "--rows", "5", "--format", "csv", "--output", path, "--options", options])
assert code == 1 and b'Cannot read the file "' + options.encode() + b'": it is UTF-16 text' in err, \
    "UTF-16 options: exit %d: %s" % (code, err.decode(errors="replace"))
assert not os.path.exists(path), "a run with options it could not read"
with open(options, "rb") as f:
    assert f.read() == wide, "the UTF-16 options file changed"
options = os.path.join(WORK, "utf8.cfg")
with open(options, "w", newline="\r\n", encoding="utf-8-sig") as f:
    f.write("[GENERAL]\nExportType=8\n[HEADER]\nline0=T\u00edtulo \u221a\n")
path = os.path.join(WORK, "utf8.csv")
code, _, err = run([TOOL, "--dialog", "--rows", "5", "--format", "csv", "--output", path, "--options", options,
                    "--save-options", options])
assert code == 0 and err == b"", "UTF-8 options: exit %d: %s" % (code, err.decode(errors="replace"))
with open(path, "rb") as f:
    assert f.read().startswith("T\u00edtulo ?\r\n".encode("cp1252")), "the header line from UTF-8"
with open(options, "rb") as f:
    saved = f.read()
assert saved.startswith(b"\xef\xbb\xbf[GENERAL]\r\n") and "line0=T\u00edtulo ?\r\n".encode() in saved, saved

# A note in the options file longer than a note holds: the workbook keeps what it holds, and
# the warning the dialog gives after the run says so.
options = os.path.join(WORK, "note.cfg")
with open(options, "w", newline="\r\n", encoding="cp1252") as f:
    f.write("[XLS_NOTE_0]\nCol=2\nRow=3\n[XLS_NOTE_0_LINES]\nline0=" + "nota " * 8000 + "\n")
path = os.path.join(WORK, "note.xls")
code, _, err = run([TOOL, "--dialog", "--rows", "5", "--format", "xls", "--output", path, "--options", options])
assert code == 0 and err == b"export_table: Note at column 2, row 3 cut to its first 32767 characters: the rest of " \
    b"its text is left out, a note holds no more", "long note: exit %d: %s" % (code, err.decode(errors="replace"))
notes = xlrd.open_workbook(path, logfile=sys.stderr).sheet_by_index(0).cell_note_map
assert [(k, n.text) for k, n in notes.items()] == [((2, 1), ("nota " * 8000)[:32767])], "the note as cut"

# "Print file after export" of a workbook, which is not printed here: the file is written, and
# the run says why it was not printed and fails.
options = os.path.join(WORK, "print.cfg")
with open(options, "w", newline="\r\n", encoding="cp1252") as f:
    f.write("[GENERAL]\nPrintFile=1\n")
path = os.path.join(WORK, "print.xls")
code, _, err = run([TOOL, "--dialog", "--rows", "5", "--format", "xls", "--output", path, "--options", options])
assert code == 1 and b"printed" in err, "a file not printed: exit %d: %s" % (code, err.decode(errors="replace"))
assert xlrd.open_workbook(path).sheet_by_index(0).nrows == 6

# A text file through an options file of its own format: its width and alignment of Id reach
# the file (choosing the format again would build the captions grid afresh and drop them), and
# the columns it names no width for, or a width that is none, keep theirs (a width of 0 would
# leave them out).
options = os.path.join(WORK, "widths.cfg")
with open(options, "w", newline="\r\n", encoding="cp1252") as f:
    f.write("[GENERAL]\nExportType=7\n[FIELDS]\nfield0=Id\nfield1=Label\nfield2=Counter\n"
            "[TXT]\nAutoCalcColWidth=0\nSpacing=1\n[ALIGN]\nId=Right\n[WIDTH]\nId=12\nLabel=abc\nCounter=-3\n")
path = os.path.join(WORK, "widths.txt")
code, _, err = run([TOOL, "--dialog", "--rows", str(ROWS), "--format", "txt", "--output", path, "--options", options])
assert code == 0 and err == b"", "--options txt: exit %d: %s" % (code, err.decode(errors="replace"))
with open(path, encoding="cp1252") as f:
    lines = f.read().splitlines()
assert len(lines) == ROWS + 1, len(lines)
assert lines[0].startswith(" " * 10 + "Id "), repr(lines[0])
for line in lines:
    assert line[12] == " " and line[13:].split(), "a column left out: %r" % line
assert lines[0][13:].split()[0] == rows[0][7], repr(lines[0])

print("dialog exports read back: csv, xml, dbf, xls, pdf, sql, rtf/doc, txt; an over-long note told; "
      "UTF-16 options refused, UTF-8 options read and saved as UTF-8")
