#!/usr/bin/python3
"""Writes the document formats with export_table and reads them back with programs we did
not write: qpdf and pdftotext for PDF, unrtf for RTF, xmllint and Python's html.parser for
HTML. Every reader must stay silent and every cell must come back.

    check_documents.py EXPORT_TABLE
"""
import html.parser
import os
import re
import subprocess
import sys
import tempfile

TOOL = sys.argv[1]
TABLES = [["--rows", "40"], ["--history-shaped", "30"]]
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, **kw)


def unquote(text):
    return re.sub(r"\\x([0-9A-F]{2})|\\(.)",
                  lambda m: chr(int(m.group(1), 16)) if m.group(1) else m.group(2), text)


def expected(table):
    """Captions and the formatted cells of every record, as the rows dump shows them."""
    out = run([TOOL, "--format", "rows", "--autowidth"] + table).stdout.decode("cp1252")
    quoted = r'"((?:[^"\\]|\\.)*)"'
    captions, records = [], []
    for line in out.split("\r\n"):
        if line.startswith("captions "):
            captions = [unquote(q) for q in re.findall(quoted, line)]
        elif line.startswith("record "):
            records.append([])
        elif line.startswith("  ") and " -> " in line and records:
            records[-1].append(unquote(re.findall(quoted, line)[-1]))
    return captions, records


def norm(text):
    return " ".join(text.replace("\xa0", " ").split())


def export(fmt, table, path, extra=()):
    result = run([TOOL, "--format", fmt, "--autowidth", "--output", path] + list(extra) + table)
    if result.returncode != 0:
        fail(f"{fmt} {table}: export_table exited {result.returncode}: {result.stderr.decode()}")
    return result


def check_cells_in_text(what, text, captions, records):
    body = norm(text)
    missing = [c for c in captions + [c for r in records for c in r] if norm(c) and norm(c) not in body]
    if missing:
        fail(f"{what}: {len(missing)} cells missing, first {missing[:5]}")


def check_pdf(table, folder, captions, records):
    path = os.path.join(folder, "t.pdf")
    export("pdf", table, path)
    check = run(["qpdf", "--check", path])
    said = (check.stdout + check.stderr).decode(errors="replace")
    if check.returncode != 0 or "WARNING" in said.upper():
        fail(f"pdf {table}: qpdf --check exited {check.returncode}: {said}")
    text = run(["pdftotext", "-raw", "-enc", "Latin1", path, "-"])  # in drawing order
    if text.returncode != 0 or text.stderr:
        fail(f"pdf {table}: pdftotext said {text.stderr.decode(errors='replace')}")
    check_cells_in_text(f"pdf {table}", text.stdout.decode("latin-1"), captions, records)


def balanced(rtf):
    depth, i = 0, 0
    while i < len(rtf):
        c = rtf[i]
        if c == "{":
            depth += 1
        elif c == "}":
            depth -= 1
            if depth < 0 or (depth == 0 and i + 1 != len(rtf)):
                return False
        elif c == "\\":
            i += 3 if rtf[i + 1:i + 2] == "'" else 1
        elif ord(c) > 127:
            return False
        i += 1
    return depth == 0


def check_rtf(fmt, table, folder, captions, records):
    path = os.path.join(folder, "t." + fmt)
    export(fmt, table, path)
    with open(path, "rb") as f:
        if not balanced(f.read().decode("latin-1")):
            fail(f"{fmt} {table}: groups do not balance")
    text = run(["unrtf", "--text", path])
    if text.returncode != 0 or text.stderr:
        fail(f"{fmt} {table}: unrtf said {text.stderr.decode(errors='replace')}")
    check_cells_in_text(f"{fmt} {table}", text.stdout.decode("cp1252"), captions, records)


class Table(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.cell = [], None

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.rows.append([])
        elif tag == "td" and self.rows:
            self.cell = ""

    def handle_endtag(self, tag):
        if tag == "td" and self.cell is not None:
            self.rows[-1].append(self.cell)
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data


def check_html_file(what, path):
    lint = run(["xmllint", "--html", "--noout", path])
    if lint.returncode != 0 or lint.stdout or lint.stderr:
        fail(f"{what}: xmllint said {(lint.stdout + lint.stderr).decode(errors='replace')}")
    parser = Table()
    with open(path, "rb") as f:
        parser.feed(f.read().decode("cp1252"))
    return parser.rows


def check_html(table, folder, captions, records):
    path = os.path.join(folder, "t.html")
    export("html", table, path)
    rows = check_html_file(f"html {table}", path)
    want = [captions] + records
    got = [[norm(c) for c in row] for row in rows]
    if got != [[norm(c) for c in row] for row in want]:
        fail(f"html {table}: {len(got)} rows read, {len(want)} written; first difference "
             f"{next(((g, w) for g, w in zip(got, want) if g != [norm(c) for c in w]), None)}")

    # Ten rows a file: numbered files with captions, bars of two rows' worth of links.
    multi = os.path.join(folder, "multi", "m.html")
    export("html", table, multi, ["--max-records", "10"])
    files = sorted(n for n in os.listdir(os.path.dirname(multi)) if re.match(r"m\d\d\.html$", n))
    if len(files) != (len(records) + 9) // 10:
        fail(f"html {table}: {len(files)} numbered files for {len(records)} records")
    data = []
    for name in files:
        rows = check_html_file(f"html {table} {name}", os.path.join(os.path.dirname(multi), name))
        table_rows = [r for r in rows if "First" not in r]  # leave out the navigation bars
        if len(files) > 1 and len(table_rows) != len(rows) - 2:
            fail(f"html {table} {name}: {len(rows) - len(table_rows)} navigation bars, 2 expected")
        if not table_rows or [norm(c) for c in table_rows[0]] != [norm(c) for c in captions]:
            fail(f"html {table} {name}: no caption row first")
        data += table_rows[1:]
    if [[norm(c) for c in r] for r in data] != [[norm(c) for c in r] for r in records]:
        fail(f"html {table}: the numbered files hold {len(data)} records, {len(records)} written")


def main():
    passed = failed = 0
    for table in TABLES:
        captions, records = expected(table)
        if not records:
            fail(f"{table}: the rows dump shows no record")
            failed += 1
            continue
        with tempfile.TemporaryDirectory() as folder:
            for check in (lambda: check_pdf(table, folder, captions, records),
                          lambda: check_rtf("rtf", table, folder, captions, records),
                          lambda: check_rtf("doc", table, folder, captions, records),
                          lambda: check_html(table, folder, captions, records)):
                before = len(failures)
                check()
                if len(failures) == before:
                    passed += 1
                else:
                    failed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


sys.exit(main())
