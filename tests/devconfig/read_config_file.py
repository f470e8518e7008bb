#!/usr/bin/python3
"""Prints a device configuration file as Python's configparser reads it: "[section]" and then
"key=value" per line, in file order. Code page 1252, no interpolation, the keys' case kept."""
import configparser
import sys


def main():
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    with open(sys.argv[1], encoding="cp1252", newline="") as f:
        text = f.read()
    if "\r\n" not in text or text.replace("\r\n", "").find("\n") >= 0:
        print("line ends are not CRLF", file=sys.stderr)
        return 1
    parser.read_string(text)
    out = sys.stdout.buffer
    for section in parser.sections():
        out.write(f"[{section}]\n".encode("utf-8"))
        for key, value in parser.items(section):
            out.write(f"{key}={value}\n".encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
