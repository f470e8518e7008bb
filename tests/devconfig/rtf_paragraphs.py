#!/usr/bin/python3
"""A small RTF reader of our own, independent of the writer under test: prints each paragraph
of an RTF file on one line as

    <alignment> <page> <mark>|<run>|<run>...

alignment l, c, r or j; page 1 when a page break came before the paragraph's first text;
mark and each run "size/b/i/u" (size in points, each flag 0 or 1), a run followed by ":" and
its text. Text is decoded by the document's code page, tabs show as "\\t" and a backslash as
"\\\\". Adjacent runs of one format are joined. Group-scoped formatting, \\plain, \\pard, \\par,
\\page, \\tab, control symbols and \\'hh escapes are understood; destinations ({\\*...} and the
font, colour and style tables) are skipped."""
import re
import sys

TOKEN = re.compile(rb"\\([a-zA-Z]+)(-?\d+)? ?|\\'([0-9a-fA-F]{2})|\\(.)|([{}])|([\r\n]+)|([^\\{}\r\n]+)", re.S)
SKIPPED = {b"fonttbl", b"colortbl", b"stylesheet", b"info", b"pict"}


def plain():
    return {"fs": 24, "b": 0, "i": 0, "ul": 0}


def fmt(state):
    size = state["fs"] / 2
    size = int(size) if size == int(size) else size
    return f"{size}/{state['b']}/{state['i']}/{state['ul']}"


def main():
    data = open(sys.argv[1], "rb").read()
    codepage = "cp1252"
    m = re.search(rb"\\ansicpg(\d+)", data)
    if m:
        codepage = "cp" + m.group(1).decode()
    stack = []
    char = plain()
    align = "l"
    skip_depth = None  # depth at which a skipped destination started
    depth = 0
    paragraphs = []
    runs = []
    page = False
    pending_page = False
    first_in_group = False

    def add_text(text):
        nonlocal page, pending_page
        if not text:
            return
        if not runs:
            page = pending_page
            pending_page = False
        f = fmt(char)
        if runs and runs[-1][0] == f:
            runs[-1][1] += text
        else:
            runs.append([f, text])

    for tok in TOKEN.finditer(data):
        word, arg, hexbyte, symbol, brace, newline, text = tok.groups()
        if brace == b"{":
            stack.append((dict(char), align))
            depth += 1
            first_in_group = True
            continue
        if brace == b"}":
            char, align = stack.pop()
            if skip_depth is not None and depth == skip_depth:
                skip_depth = None
            depth -= 1
            first_in_group = False
            continue
        starts_group = first_in_group
        first_in_group = False
        if newline:
            continue
        if skip_depth is not None:
            continue
        if symbol == b"*" and starts_group:
            skip_depth = depth
            continue
        if word is not None:
            if word in SKIPPED and starts_group:
                skip_depth = depth
                continue
            value = int(arg) if arg is not None else None
            if word == b"par":
                paragraphs.append((align, page, fmt(char), runs))
                runs, page = [], False
            elif word == b"pard":
                align = "l"
            elif word in (b"ql", b"qc", b"qr", b"qj"):
                align = word.decode()[1]
            elif word == b"plain":
                char = plain()
            elif word == b"fs":
                char["fs"] = value
            elif word in (b"b", b"i", b"ul"):
                char[word.decode()] = 0 if value == 0 else 1
            elif word == b"ulnone":
                char["ul"] = 0
            elif word == b"page":
                pending_page = True
            elif word == b"tab":
                add_text("\t")
            elif word == b"line":
                add_text("\n")
            continue
        if hexbyte is not None:
            add_text(bytes([int(hexbyte, 16)]).decode(codepage))
        elif symbol is not None:
            if symbol in b"\\{}":
                add_text(symbol.decode())
            elif symbol == b"~":
                add_text("\u00a0")
        elif text is not None:
            add_text(text.decode(codepage))
    if runs:
        paragraphs.append((align, page, fmt(char), runs))

    def escape(s):
        return s.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("|", "\\|")

    out = sys.stdout.buffer
    for align, page, mark, prs in paragraphs:
        line = f"{align} {int(page)} {mark}" + "".join(f"|{f}:{escape(t)}" for f, t in prs)
        out.write(line.encode("utf-8") + b"\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
