#!/usr/bin/python3
"""An independent reading of a history file written by Tervana.

Checks what other programs rely on: line feeds only, code page 1252 text, three header
lines, every line with as many comma-separated fields as the first header line, the date
and time at their fixed positions, numbers with "." as decimal mark, and (when asked) data
lines stamped exactly one interval apart. An appended recording ("##_New_Start_##" and its
three placeholder lines) starts a new series of stamps.

With --echoed, the file must hold a prefix of the lines a killed run printed, missing at
most --max-missing of them at the end.
"""
import argparse
import datetime
import sys


def fail(text):
    print("history check: " + text, file=sys.stderr)
    sys.exit(1)


def stamp(line, number):
    if len(line) < 24 or line[2] != "/" or line[5] != "/" or line[10:12] != ", ":
        fail("line %d: date not at its fixed place: %r" % (number, line))
    try:
        day, month, year = int(line[0:2]), int(line[3:5]), int(line[6:10])
        hour, minute = int(line[12:14]), int(line[15:17])
        second, milli = int(line[18:20]), int(line[21:24])
        if line[14] != ":" or line[17] != ":" or line[20] != ".":
            raise ValueError("separators")
        return datetime.datetime(year, month, day, hour, minute, second, milli * 1000)
    except ValueError as error:
        fail("line %d: bad date or time (%s): %r" % (number, error, line))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--interval-ms", type=int, default=0)
    parser.add_argument("--min-lines", type=int, default=1)
    parser.add_argument("--echoed")
    parser.add_argument("--max-missing", type=int, default=0)
    args = parser.parse_args()

    raw = open(args.file, "rb").read()
    if b"\r" in raw:
        fail("carriage return in the file")
    if not raw.endswith(b"\n"):
        fail("the last line has no line feed")
    try:
        text = raw.decode("cp1252")
    except UnicodeDecodeError as error:
        fail("not code page 1252: %s" % error)
    lines = text[:-1].split("\n")
    if len(lines) < 3:
        fail("fewer than three header lines")
    fields = len(lines[0].split(","))
    for name, line in zip(("device", "value", "unit"), lines[:3]):
        if len(line.split(",")) != fields:
            fail("%s header has %d fields, not %d" % (name, len(line.split(",")), fields))

    data = []
    previous = None
    skip = 0
    for number, line in enumerate(lines[3:], start=4):
        if skip:
            if line.strip() not in (",", ""):
                fail("line %d: placeholder expected after a new start: %r" % (number, line))
            skip -= 1
            continue
        if line.split(",")[0].strip() == "##_New_Start_##":
            skip = 3
            previous = None
            continue
        parts = line.split(",")
        if len(parts) != fields:
            fail("line %d has %d fields, not %d: %r" % (number, len(parts), fields, line))
        when = stamp(line, number)
        for value in parts[2:]:
            try:
                float(value)
            except ValueError:
                fail("line %d: not a number with a decimal point: %r" % (number, value))
        if args.interval_ms and previous is not None:
            step = (when - previous).total_seconds() * 1000
            if round(step) != args.interval_ms:
                fail("line %d: %d ms after the line before, not %d" % (number, step, args.interval_ms))
        previous = when
        data.append(line)
    if len(data) < args.min_lines:
        fail("%d data lines, expected at least %d" % (len(data), args.min_lines))

    if args.echoed:
        echoed = [l for l in open(args.echoed, encoding="utf-8").read().split("\n") if l[2:3] == "/"]
        if data != [l.encode("utf-8").decode("utf-8") for l in echoed[:len(data)]]:
            fail("the file is not a prefix of the lines the run wrote")
        missing = len(echoed) - len(data)
        if missing > args.max_missing:
            fail("%d lines lost, at most %d allowed" % (missing, args.max_missing))
        print("history check: %d of %d lines on disk" % (len(data), len(echoed)))
    print("history check: %s: %d data lines of %d fields" % (args.file, len(data), fields))


main()
