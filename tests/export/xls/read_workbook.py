"""Reads a workbook with xlrd and prints what it found as JSON on stdout; whatever xlrd has
to say about the file goes to stderr, which the test expects to stay empty."""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True, logfile=sys.stderr, verbosity=0)
out = {"sheets": []}
for sheet in book.sheets():
    cells = []
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            cells.append({
                "row": r, "col": c, "type": cell.ctype, "value": cell.value, "xf": cell.xf_index,
                "format": book.format_map[xf.format_key].format_str,
                "weight": font.weight, "underline": font.underline_type, "colour": font.colour_index,
                "font": font.name, "bottom_border": xf.border.bottom_line_style,
            })
    out["sheets"].append({"name": sheet.name, "rows": sheet.nrows, "cols": sheet.ncols, "cells": cells})
json.dump(out, sys.stdout)
