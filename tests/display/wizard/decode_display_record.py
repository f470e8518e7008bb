#!/usr/bin/python3
"""Decodes a display record (128 bytes) and the chart entries after it (40 bytes each), as a
program reading the environment file would, and prints one key=value line per field."""
import struct
import sys

data = open(sys.argv[1], "rb").read()
rec = data[:128]
out = {}


def text(raw):
    return raw.split(b"\0")[0].decode("cp1252")


def put(names, fmt, offset, buf=rec, prefix=""):
    for name, value in zip(names, struct.unpack_from(fmt, buf, offset)):
        out[prefix + name] = value


put(["kind", "serial", "valueIndex"], "<IIH", 0)
put(["channelIndex", "readInterval"], "<ii", 12)
out["tag"] = text(rec[20:31])
out["channelName"] = text(rec[31:42])
out["unit"] = text(rec[42:54])
put(["decimals"], "<h", 54)
kind = out["kind"]
if kind == 1:
    put(["count", "chartColor", "backColor", "ref1On"], "<IIIB", 64)
    put(["ref1Value", "ref1Color", "ref2On"], "<iIB", 80)
    put(["ref2Value", "ref2Color", "selected", "autoY"], "<iIBB", 92)
    put(["yMax", "yMin", "period", "lineWidth"], "<iidi", 104)
    for i in range(out["count"]):
        entry = data[128 + 40 * i:168 + 40 * i]
        put(["color"], "<I", 0, entry, "entry%d." % i)
        out["entry%d.name" % i] = text(entry[4:28])
        put(["serial", "valueIndex", "channelIndex"], "<IH2xi", 28, entry, "entry%d." % i)
elif kind == 2:
    put(["onColor", "offColor", "backColor", "digits"], "<IIIH", 64)
elif kind == 3:
    put(["onColor", "offColor", "digits", "segmentSize", "backColor"], "<IIhhI", 64)
elif kind == 4:
    put(["barColor", "barBackColor", "backColor", "markerColor", "showMarker", "showIncrements"], "<IIIIBB", 64)
    put(["increment", "max", "min", "thickness"], "<iiiH", 84)
elif kind == 5:
    put(["needleColor", "textColor", "centerColor", "faceColor", "highColor", "midColor", "lowColor",
         "angle"], "<7IH", 64)
    put(["max", "min", "highOn"], "<iiB", 96)
    put(["highThreshold", "lowOn"], "<iB", 108)
    put(["lowThreshold", "midOn", "centerOn", "mainTicks"], "<iBBh", 116)
elif kind == 6:
    put(["angle"], "<H", 64)
    put(["max", "min", "showZones"], "<iiB", 68)
    put(["highZone", "lowZone", "backColor", "textColor", "highColor", "midColor", "lowColor", "logScale"],
        "<iiIIIIIB", 80)
    put(["tickCount"], "<H", 110)
for key in sorted(out):
    sys.stdout.buffer.write(("%s=%s\n" % (key, out[key])).encode("utf-8"))
