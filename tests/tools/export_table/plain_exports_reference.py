"""What the export tool's tables hold, as the tests of the plain formats compare them: the
rows dump of the generated table (the engine's own view of every cell, raw and formatted),
and a history file of two recording runs written here in the recorder's layout."""
import re
import subprocess

QUOTED = re.compile(rb'"((?:[^"\\]|\\.)*)"')


def unquote(raw):
    """A quoted text of the rows dump (\\", \\\\ and \\xHH escaped) as a str."""
    out = bytearray()
    i = 0
    while i < len(raw):
        c = raw[i]
        if c == 0x5C:  # backslash
            nxt = raw[i + 1]
            if nxt == ord('x'):
                out.append(int(raw[i + 2:i + 4], 16))
                i += 4
                continue
            out.append(nxt)
            i += 2
            continue
        out.append(c)
        i += 1
    return out.decode('cp1252')


class Table:
    """columns: dicts of name, caption, type; records: lists of (raw, formatted)."""

    def __init__(self, dump):
        self.columns = []
        self.records = []
        for line in dump.split(b'\r\n'):
            if re.match(rb'  \d+: name ', line):
                texts = [unquote(q) for q in QUOTED.findall(line)]
                kind = re.search(rb' type (\w+) ', line).group(1).decode()
                width = int(re.search(rb' width (\d+) ', line).group(1))
                self.columns.append({'name': texts[0], 'caption': texts[1], 'type': kind, 'width': width})
            elif line.startswith(b'record '):
                self.records.append([])
            elif line.startswith(b'  ') and b' -> ' in line:
                texts = [unquote(q) for q in QUOTED.findall(line)]
                self.records[-1].append((texts[0], texts[1]))

    def captions(self):
        return [c['caption'] for c in self.columns]

    def raw(self):
        return [[cell[0] for cell in record] for record in self.records]

    def formatted(self):
        return [[cell[1] for cell in record] for record in self.records]

    def numeric(self, column):
        return self.columns[column]['type'] in ('Integer', 'Float', 'Currency')


def generated_table(tool, rows):
    dump = subprocess.run([tool, '--format', 'rows', '--rows', str(rows), '--locale', 'C'],
                          check=True, capture_output=True).stdout
    table = Table(dump)
    assert len(table.records) == rows and len(table.columns) == 10, 'the rows dump holds the table'
    return table


# --- a history file of two recording runs --------------------------------------------------

HEADER = [' , , Sonda A, , Forno', ' , , Canal 1, Canal 2, Temperatura', ' , , \u00b0C, %, \u00b0C']


def history_lines():
    lines = list(HEADER)
    for i in range(40):
        lines.append('05/12/2026, 10:20:%02d.%03d, %.2f, %d, %.3f' % (i % 60, (i * 37) % 1000, 20 + i * 0.25,
                                                                    40 + i, -12.5 + i * 1.125))
    lines += ['##_New_Start_##', ' , ', ' , ', ' , ']
    for i in range(25):
        lines.append('06/12/2026, 08:%02d:00.%03d, %.2f, %d, %.3f' % (i, i * 3, -3.5 - i, 50 + i, 1000.5 + i))
    return lines


def write_history(path):
    with open(path, 'wb') as f:
        f.write(('\n'.join(history_lines()) + '\n').encode('cp1252'))


def history_table():
    """The viewer's table of the file written by write_history."""
    return viewer_table(history_lines())


def viewer_table(lines):
    """The viewer's table of a history file's lines: the three header rows, the data rows, one
    empty row before every later run; every field trimmed, as many fields as the value-name
    line."""
    width = len(lines[1].split(','))
    table = []
    for line in lines[:3]:
        fields = [f.strip() for f in line.split(',')]
        table.append(fields + [''] * (width - len(fields)))
    skip = 0
    for line in lines[3:]:
        if skip:
            skip -= 1
            continue
        if line == '##_New_Start_##':
            table.append([''] * width)
            skip = 3
            continue
        table.append([f.strip() for f in line.split(',')])
    return table


def split_ms(time):
    """A time text without its milliseconds, and the milliseconds ('' when it has none)."""
    point = time.rfind('.')
    return (time, '') if point < 0 else (time[:point], time[point + 1:point + 4])


def exported_history(table, mode):
    """The viewer's table as an export in the millisecond mode ('keep', 'none', 'column' or
    ',') carries it; row 0 is the caption row."""
    rows = []
    for n, row in enumerate(table):
        time = row[1]
        if mode == 'column':
            rows.append(([''] + row[:2] if n == 0 else [row[0]] + list(split_ms(time))) + row[2:])
        elif mode == 'none':
            rows.append([row[0], split_ms(time)[0]] + row[2:])
        elif mode == ',' and n >= 3 and '.' in time:
            point = time.rfind('.')
            rows.append([row[0], time[:point] + ',' + time[point + 1:]] + row[2:])
        else:
            rows.append(list(row))
    return rows
