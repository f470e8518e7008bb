"""Walks the records of a workbook's stream (taken out of its compound file by xlrd's reader of
compound files) and prints as JSON what the format requires of them: each BOUNDSHEET's offset
and whether a worksheet's BOF is there, each sheet's DIMENSIONS against the cells it holds, its
WINDOW2 flags and COLINFO records, and the largest record body.
    walk_records.py FILE"""
import json
import struct
import sys

from xlrd import compdoc

CELLS = {0x00FD, 0x0203, 0x0205, 0x0201, 0x0006}

with open(sys.argv[1], "rb") as f:
    stream = compdoc.CompDoc(f.read(), logfile=sys.stderr).get_named_stream("Workbook")

records = []
at = 0
while at < len(stream):
    rid, size = struct.unpack_from("<HH", stream, at)
    records.append((at, rid, stream[at + 4:at + 4 + size]))
    at += 4 + size

out = {"size": len(stream), "end": at, "max_body": max(len(body) for _, _, body in records),
       "boundsheets": [], "sheets": []}
bofs = {offset: struct.unpack_from("<H", body, 2)[0] for offset, rid, body in records if rid == 0x0809}
sheet = None
for offset, rid, body in records:
    if rid == 0x0085:
        name_len, option = body[6], body[7]
        name = body[8:8 + 2 * name_len].decode("utf-16-le") if option else body[8:8 + name_len].decode("latin-1")
        target = struct.unpack_from("<I", body, 0)[0]
        out["boundsheets"].append({"name": name, "offset": target, "worksheet_bof": bofs.get(target) == 0x0010})
    elif rid == 0x0809 and struct.unpack_from("<H", body, 2)[0] == 0x0010:
        sheet = {"bof": offset, "dimensions": None, "window2": [], "colinfo": [], "first_row": None,
                 "last_row": None, "first_col": None, "last_col": None}
        out["sheets"].append(sheet)
    elif sheet is not None and rid == 0x0200:
        sheet["dimensions"] = list(struct.unpack_from("<IIHH", body, 0))
    elif sheet is not None and rid == 0x023E:
        sheet["window2"].append(struct.unpack_from("<H", body, 0)[0])
    elif sheet is not None and rid == 0x007D:
        sheet["colinfo"].append(list(struct.unpack_from("<HHHHH", body, 0)))
    elif sheet is not None and rid in CELLS:
        row, col = struct.unpack_from("<HH", body, 0)
        for key, value, pick in (("first_row", row, min), ("last_row", row, max), ("first_col", col, min),
                                 ("last_col", col, max)):
            sheet[key] = value if sheet[key] is None else pick(sheet[key], value)
json.dump(out, sys.stdout)
