#!/usr/bin/python3
"""An independent encoder and decoder of Tervana's environment file (".env").

Written from the file's layout alone, with nothing of the program's code, so that the tests
can hand the program files it did not write and read back the files it writes.

  environment_layout.py encode SPEC.json OUT.env   writes the file a description gives
  environment_layout.py decode IN.env              prints the description of a file

A description is JSON:
  {"version": 103,
   "main": {"maximized": 0, "left": 0, "top": 0, "width": 800, "height": 600},
   "readings": {"error": 0.0, "history_on": 0, "history_interval": 1000, "fast": 0,
                "file": "", "trigger_on": 0, "comparison": 1, "level": 0.0,
                "source_serial": 0, "source_index": 1},
   "windows": [{"maximized": 0, "left": 0, "top": 0, "width": 340, "height": 250,
                "kind": 1, "serial": 0, "value_index": 0, "channel_index": 65535,
                "read_interval": 1000, "tag": "", "channel": "", "unit": "", "decimals": 1,
                "settings": {...the kind's fields...},
                "entries": [{"color": 255, "name": "", "serial": 0, "value_index": 1,
                             "channel_index": 65535}]}]}
Encoding also takes, per window, "count" (the chart's channel count written instead of the
number of entries), and at the top "reserved" (a byte written into every reserved or unused
byte, which readers must ignore), "truncate" (bytes cut off the end) and "trailing" (bytes
added at the end). Numbers may be "nan", "inf" or "-inf". Texts are code page 1252 in the file.
Decoding adds "status": "complete", or "entries_cut" when the file ends inside a chart's
entries, and "trailing": the bytes after the last whole window.
"""
import json
import math
import struct
import sys

VERSION = 0x67
MAIN_SIZE = 20
READINGS_SIZE = 536
OLD_READINGS_SIZE = 516
WINDOW_SIZE = 152
CONFIG_OFFSET = 24
CONFIG_SIZE = 128
ENTRY_SIZE = 40

# Each kind's fields in the configuration record: name, offset, struct format.
KIND_FIELDS = {
    1: [("chart_color", 68, "<I"), ("back_color", 72, "<I"), ("ref1_on", 76, "<B"),
        ("ref1_value", 80, "<i"), ("ref1_color", 84, "<I"), ("ref2_on", 88, "<B"),
        ("ref2_value", 92, "<i"), ("ref2_color", 96, "<I"), ("channels_selected", 100, "<B"),
        ("auto_y", 101, "<B"), ("y_max", 104, "<i"), ("y_min", 108, "<i"),
        ("visible_period", 112, "<d"), ("line_width", 120, "<i")],
    2: [("on_color", 64, "<I"), ("off_color", 68, "<I"), ("back_color", 72, "<I"),
        ("digits", 76, "<H")],
    3: [("on_color", 64, "<I"), ("off_color", 68, "<I"), ("digits", 72, "<h"),
        ("segment_size", 74, "<h"), ("back_color", 76, "<I")],
    4: [("bar_color", 64, "<I"), ("bar_back_color", 68, "<I"), ("back_color", 72, "<I"),
        ("marker_color", 76, "<I"), ("show_marker", 80, "<B"), ("show_increments", 81, "<B"),
        ("increment", 84, "<i"), ("max", 88, "<i"), ("min", 92, "<i"), ("thickness", 96, "<H")],
    5: [("needle_color", 64, "<I"), ("text_color", 68, "<I"), ("center_color", 72, "<I"),
        ("face_color", 76, "<I"), ("high_color", 80, "<I"), ("mid_color", 84, "<I"),
        ("low_color", 88, "<I"), ("angle", 92, "<H"), ("max", 96, "<i"), ("min", 100, "<i"),
        ("high_on", 104, "<B"), ("high_threshold", 108, "<i"), ("low_on", 112, "<B"),
        ("low_threshold", 116, "<i"), ("mid_on", 120, "<B"), ("center_on", 121, "<B"),
        ("main_ticks", 122, "<h")],
    6: [("angle", 64, "<H"), ("max", 68, "<i"), ("min", 72, "<i"), ("show_zones", 76, "<B"),
        ("high_zone", 80, "<i"), ("low_zone", 84, "<i"), ("back_color", 88, "<I"),
        ("text_color", 92, "<I"), ("high_color", 96, "<I"), ("mid_color", 100, "<I"),
        ("low_color", 104, "<I"), ("log_scale", 108, "<B"), ("tick_count", 110, "<H")],
}
CHART_COUNT = 64

COMMON_FIELDS = [("kind", 0, "<I"), ("serial", 4, "<I"), ("value_index", 8, "<H"),
                 ("channel_index", 12, "<i"), ("read_interval", 16, "<i"),
                 ("decimals", 54, "<h")]
COMMON_TEXTS = [("tag", 20, 11), ("channel", 31, 11), ("unit", 42, 12)]
ENTRY_FIELDS = [("color", 0, "<I"), ("serial", 28, "<I"), ("value_index", 32, "<H"),
                ("channel_index", 36, "<i")]
MAIN_FIELDS = [("maximized", 0, "<B"), ("left", 4, "<i"), ("top", 8, "<i"),
               ("width", 12, "<i"), ("height", 16, "<i")]
READINGS_FIELDS = [("error", 0, "<f"), ("history_on", 4, "<B"), ("history_interval", 8, "<i"),
                   ("fast", 12, "<B")]
TRIGGER_FIELDS = [("trigger_on", 514, "<B"), ("comparison", 515, "<B"), ("level", 520, "<d"),
                  ("source_serial", 528, "<I"), ("source_index", 532, "<B")]


def number(value, fmt):
    if isinstance(value, str):
        value = float(value)
    if fmt[-1] not in "fd":
        return int(value)
    return float(value)


def described(value):
    if isinstance(value, float) and not math.isfinite(value):
        return repr(value)
    return value


def put_fields(buf, base, fields, values):
    for name, offset, fmt in fields:
        if name in values:
            struct.pack_into(fmt, buf, base + offset, number(values[name], fmt))


def get_fields(data, base, fields):
    return {name: described(struct.unpack_from(fmt, data, base + offset)[0])
            for name, offset, fmt in fields}


def put_text(buf, at, width, text):
    raw = text.encode("cp1252")
    if len(raw) > width - 1:
        raise ValueError("text too long for its field: %r" % text)
    buf[at:at + width] = raw + bytes(width - len(raw))


def get_text(data, at, width):
    field = bytes(data[at:at + width])
    end = field.find(b"\0")
    return field[:end if end >= 0 else width].decode("cp1252")


def encode_window(window, reserved):
    buf = bytearray([reserved]) * WINDOW_SIZE
    put_fields(buf, 0, MAIN_FIELDS, window)
    config = CONFIG_OFFSET
    # The channel list reference carries no meaning in a file.
    buf[config + 56:config + 60] = bytes([reserved]) * 4
    put_fields(buf, config, COMMON_FIELDS, window)
    for name, offset, width in COMMON_TEXTS:
        put_text(buf, config + offset, width, window.get(name, ""))
    kind = window["kind"]
    put_fields(buf, config, KIND_FIELDS.get(kind, []), window.get("settings", {}))
    entries = window.get("entries", [])
    if kind == 1:
        struct.pack_into("<I", buf, config + CHART_COUNT, int(window.get("count", len(entries))))
    out = bytes(buf)
    if kind == 1:
        for entry in entries:
            e = bytearray([reserved]) * ENTRY_SIZE
            put_fields(e, 0, ENTRY_FIELDS, entry)
            put_text(e, 4, 24, entry.get("name", ""))
            out += bytes(e)
    return out


def encode(spec):
    reserved = int(spec.get("reserved", 0))
    version = int(spec.get("version", VERSION))
    out = struct.pack("<i", version)
    main = bytearray([reserved]) * MAIN_SIZE
    put_fields(main, 0, MAIN_FIELDS, spec.get("main", {}))
    out += bytes(main)
    readings = spec.get("readings", {})
    size = READINGS_SIZE if version >= VERSION else OLD_READINGS_SIZE
    rec = bytearray([reserved]) * size
    put_fields(rec, 0, READINGS_FIELDS, readings)
    name = readings.get("file", "").encode("cp1252")
    field = (501 if version >= VERSION else OLD_READINGS_SIZE - 13)
    if "file_raw_hex" in readings:  # a field exactly as given, zero byte or not
        raw = bytes.fromhex(readings["file_raw_hex"])
        rec[13:13 + len(raw)] = raw
    else:
        if len(name) > field - 1:
            raise ValueError("history file name too long")
        rec[13:13 + field] = name + bytes(field - len(name))
    if version >= VERSION:
        put_fields(rec, 0, TRIGGER_FIELDS, readings)
    out += bytes(rec)
    for window in spec.get("windows", []):
        out += encode_window(window, reserved)
    if spec.get("truncate"):
        out = out[:-int(spec["truncate"])]
    out += bytes([0x5A]) * int(spec.get("trailing", 0))
    return out


def decode(data):
    result = {}
    if len(data) < 4:
        return {"status": "short"}
    version = struct.unpack_from("<i", data, 0)[0]
    result["version"] = version
    if version > VERSION:
        result["status"] = "newer"
        return result
    at = 4
    size = READINGS_SIZE if version >= VERSION else OLD_READINGS_SIZE
    if len(data) < at + MAIN_SIZE + size:
        result["status"] = "short"
        return result
    result["main"] = get_fields(data, at, MAIN_FIELDS)
    at += MAIN_SIZE
    readings = get_fields(data, at, READINGS_FIELDS)
    readings["file"] = get_text(data, at + 13, (501 if version >= VERSION else size - 13))
    if version >= VERSION:
        readings.update(get_fields(data, at, TRIGGER_FIELDS))
    result["readings"] = readings
    at += size
    windows = []
    result["status"] = "complete"
    while len(data) - at >= WINDOW_SIZE:
        window = get_fields(data, at, MAIN_FIELDS)
        config = at + CONFIG_OFFSET
        window.update(get_fields(data, config, COMMON_FIELDS))
        for name, offset, width in COMMON_TEXTS:
            window[name] = get_text(data, config + offset, width)
        kind = window["kind"]
        window["settings"] = get_fields(data, config, KIND_FIELDS.get(kind, []))
        at += WINDOW_SIZE
        if kind == 1:
            count = struct.unpack_from("<I", data, config + CHART_COUNT)[0]
            entries = []
            for _ in range(count):
                if len(data) - at < ENTRY_SIZE:
                    result["status"] = "entries_cut"
                    break
                entry = get_fields(data, at, ENTRY_FIELDS)
                entry["name"] = get_text(data, at + 4, 24)
                entries.append(entry)
                at += ENTRY_SIZE
            if result["status"] == "entries_cut":
                break
            window["entries"] = entries
        windows.append(window)
    result["windows"] = windows
    result["trailing"] = len(data) - at if result["status"] == "complete" else 0
    return result


def main(argv):
    if len(argv) == 4 and argv[1] == "encode":
        with open(argv[2], encoding="utf-8") as f:
            spec = json.load(f)
        with open(argv[3], "wb") as f:
            f.write(encode(spec))
        return 0
    if len(argv) == 3 and argv[1] == "decode":
        with open(argv[2], "rb") as f:
            data = f.read()
        text = json.dumps(decode(data), ensure_ascii=False, sort_keys=True) + "\n"
        sys.stdout.buffer.write(text.encode("utf-8"))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
