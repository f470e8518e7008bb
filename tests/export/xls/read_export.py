"""Reads an exported workbook with xlrd (formatting included) and prints what a reader sees as
JSON: per sheet its name, size, merged ranges, hyperlinks, and the cells of its first rows
with their values, types, number formats, fonts and fills. xlrd's own remarks go to stderr,
which the tests expect to stay empty.
    read_export.py FILE [ROWS]"""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True, logfile=sys.stderr, verbosity=0)
rows = int(sys.argv[2]) if len(sys.argv) > 2 else None
out = {"sheets": []}
for sheet in book.sheets():
    cells = []
    for r in range(sheet.nrows if rows is None else min(rows, sheet.nrows)):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            cells.append({
                "row": r, "col": c, "type": cell.ctype, "value": cell.value,
                "format": book.format_map[xf.format_key].format_str,
                # BIFF8 keeps boldness in the weight: xlrd's "bold" is an option bit left 0.
                "weight": font.weight, "italic": font.italic, "underline": font.underline_type,
                "colour": font.colour_index, "pattern": xf.background.fill_pattern,
                "fill": xf.background.pattern_colour_index,
            })
    out["sheets"].append({
        "name": sheet.name, "rows": sheet.nrows, "cols": sheet.ncols,
        "merged": [list(m) for m in sheet.merged_cells],
        "links": [{"row": h.frowx, "col": h.fcolx, "url": h.url_or_path, "desc": h.desc, "tip": h.quicktip}
                  for h in sheet.hyperlink_list],
        "numbers": sum(1 for r in range(sheet.nrows) for v in sheet.row_types(r) if v == xlrd.XL_CELL_NUMBER),
        "cells": cells,
    })
json.dump(out, sys.stdout)
