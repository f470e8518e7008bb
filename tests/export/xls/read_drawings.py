"""Reads what a workbook's notes, pictures and charts became, as JSON: xlrd's notes of every
sheet; a walk over the records (the drawing group's shape id clusters and stored pictures, each
sheet's drawing reassembled from its MSODRAWING records with its drawing id, shape ids and
picture references, its OBJ ids, TXO texts, NOTE records, the ranges its charts name, each
chart series' counts with the value and category ranges it names, each bar chart's direction,
and the external sheet references); and, given gnumeric's XML of the same workbook, its
comments, images, chart data and plots per sheet.
    read_drawings.py FILE.xls [FILE.gnumeric]"""
import gzip
import json
import re
import struct
import sys
import xml.etree.ElementTree as ET

import xlrd
from xlrd import compdoc


def escher(data, out):
    at = 0
    while at + 8 <= len(data):
        verinst, rtype, length = struct.unpack_from("<HHI", data, at)
        body = data[at + 8:at + 8 + length]
        ver, inst = verinst & 0xF, verinst >> 4
        if ver == 0xF:
            escher(body, out)
        elif rtype == 0xF006:
            spid_max, cidcl, saved, drawings = struct.unpack_from("<IIII", body, 0)
            clusters = [list(struct.unpack_from("<II", body, 16 + 8 * i)) for i in range(cidcl - 1)]
            out["dgg"] = {"spid_max": spid_max, "cidcl": cidcl, "saved": saved, "drawings": drawings,
                          "clusters": clusters}
        elif rtype == 0xF007:
            out.setdefault("bse", []).append({"type": body[0], "size": struct.unpack_from("<I", body, 20)[0],
                                              "refs": struct.unpack_from("<I", body, 24)[0],
                                              "blip": struct.unpack_from("<H", body, 38)[0],
                                              "blip_len": struct.unpack_from("<I", body, 40)[0]})
        elif rtype == 0xF008:
            csp, last = struct.unpack_from("<II", body, 0)
            out.setdefault("dg", []).append({"id": inst, "csp": csp, "last": last})
        elif rtype == 0xF00A:
            out.setdefault("shapes", []).append(struct.unpack_from("<I", body, 0)[0])
        elif rtype == 0xF00B:
            ids = [struct.unpack_from("<H", body, 6 * i)[0] for i in range(inst)]
            out.setdefault("opt_sorted", []).append(ids == sorted(ids, key=lambda p: p & 0x3FFF))
            for i in range(inst):
                pid, value = struct.unpack_from("<HI", body, 6 * i)
                if pid & 0x3FFF == 0x0104:
                    out.setdefault("pibs", []).append(value)
        at += 8 + length


def walk(path):
    with open(path, "rb") as f:
        stream = compdoc.CompDoc(f.read(), logfile=sys.stderr).get_named_stream("Workbook")
    records, at = [], 0
    while at < len(stream):
        rid, size = struct.unpack_from("<HH", stream, at)
        records.append((rid, stream[at + 4:at + 4 + size]))
        at += 4 + size
    out = {"globals": {}, "sheets": []}
    group, sheet, depth, previous, txo, series = b"", None, 0, None, None, None
    for rid, body in records:
        if rid == 0x0809:
            depth += 1
            if struct.unpack_from("<H", body, 2)[0] == 0x0010:
                sheet = {"drawing": b"", "objs": [], "notes": [], "texts": [], "ai": [], "charts": 0, "series": [],
                         "bars": []}
                out["sheets"].append(sheet)
            elif sheet is not None and depth > 1:
                sheet["charts"] += 1
        elif rid == 0x000A:
            depth -= 1
        elif rid == 0x00EB:
            group += body
        elif rid == 0x003C and previous == 0x00EB:
            group += body
            rid = 0x00EB
        elif rid == 0x0017:
            n = struct.unpack_from("<H", body, 0)[0]
            out["globals"]["externsheet"] = [list(struct.unpack_from("<HHH", body, 2 + 6 * i)) for i in range(n)]
        elif sheet is None:
            pass
        elif rid == 0x00EC:
            sheet["drawing"] += body
        elif rid == 0x005D:
            sheet["objs"].append(struct.unpack_from("<HHH", body, 4)[:2])
        elif rid == 0x01B6:
            txo = {"left": struct.unpack_from("<H", body, 10)[0], "text": "", "runs": 0}
            sheet["texts"].append(txo)
        elif rid == 0x003C and txo is not None:
            if txo["left"] > 0:
                chars = body[1:].decode("utf-16-le") if body[0] else body[1:].decode("latin-1")
                txo["text"] += chars
                txo["left"] -= len(chars)
            else:
                txo["runs"] = len(body)
                txo = None
        elif rid == 0x001C:
            row, col, flags, obj = struct.unpack_from("<HHHH", body, 0)
            sheet["notes"].append({"row": row, "col": col, "obj": obj, "size": len(body)})
        elif rid == 0x1051:
            # A range: sheet, first and last row, first and last column, all from 0.
            area = list(struct.unpack_from("<HHHHH", body, 9)) if len(body) >= 19 else None
            if area is not None:
                sheet["ai"].append([body[0]] + area)
            if series is not None and body[0] in (1, 2):
                series["values" if body[0] == 1 else "categories"] = area
            elif series is not None and body[0] == 3:
                series = None
        elif rid == 0x1003:
            # Category type, value type, category count, value count, bubble type and count.
            series = {"counts": list(struct.unpack_from("<HHHHHH", body, 0))}
            sheet["series"].append(series)
        elif rid == 0x1017:
            sheet["bars"].append("horizontal" if struct.unpack_from("<H", body, 4)[0] & 1 else "vertical")
        previous = rid
    escher(group, out["globals"])
    for sheet in out["sheets"]:
        tree = {}
        escher(sheet.pop("drawing"), tree)
        sheet.update(tree)
    return out


def gnumeric(path):
    ns = {"gnm": "http://www.gnumeric.org/v10.dtd"}
    root = ET.fromstring(gzip.open(path).read())
    sheets = []
    for s in root.iter("{http://www.gnumeric.org/v10.dtd}Sheet"):
        objects = s.find("gnm:Objects", ns)
        entry = {"name": s.find("gnm:Name", ns).text, "comments": [], "images": [], "graphs": [], "plots": []}
        for o in (objects if objects is not None else []):
            tag = o.tag.split("}")[1]
            if tag == "CellComment":
                entry["comments"].append({"at": o.get("ObjectBound"), "text": o.get("Text")})
            elif tag == "SheetObjectImage":
                content = o.find("Content")
                entry["images"].append({"name": o.get("Name"), "type": content.get("image-type")})
            elif tag == "SheetObjectGraph":
                entry["graphs"].append([d.text for d in o.iter("dimension") if d.get("type") == "GnmGODataVector"])
                for plot in o.iter("GogObject"):
                    if plot.get("role") == "Plot":
                        properties = {p.get("name"): p.text for p in plot.findall("property")}
                        entry["plots"].append({"type": plot.get("type"), "horizontal": properties.get("horizontal")})
        sheets.append(entry)
    return sheets


book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
result = walk(sys.argv[1])
result["xlrd"] = [{"name": s.name, "notes": [{"row": r, "col": c, "text": n.text, "author": n.author}
                                             for (r, c), n in sorted(s.cell_note_map.items())]}
                  for s in book.sheets()]
if len(sys.argv) > 2:
    result["gnumeric"] = gnumeric(sys.argv[2])
json.dump(result, sys.stdout)
