"""Prints the cells xlrd reads from a workbook in the form of `export_table --dump`: a line per
worksheet ("sheet", its name as JSON) and one per cell in row and column order ("cell", row,
column, kind, value), tab-separated. Whatever xlrd has to say about the file goes to stderr."""
import json
import sys

import xlrd

KINDS = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_DATE: "date",
         xlrd.XL_CELL_BOOLEAN: "bool", xlrd.XL_CELL_ERROR: "error", xlrd.XL_CELL_BLANK: "blank"}

book = xlrd.open_workbook(sys.argv[1], formatting_info=True, logfile=sys.stderr, verbosity=0)
out = []
for sheet in book.sheets():
    out.append("sheet\t" + json.dumps(sheet.name))
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY:
                continue
            kind = KINDS[cell.ctype]
            if kind in ("number", "date"):
                value = "%.17g" % cell.value
            elif kind == "text":
                value = json.dumps(cell.value)
            elif kind == "bool":
                value = str(int(cell.value))
            elif kind == "error":
                value = xlrd.error_text_from_code[cell.value]
            else:
                value = ""
            out.append("cell\t%d\t%d\t%s\t%s" % (r, c, kind, value))
sys.stdout.write("".join(line + "\n" for line in out))
