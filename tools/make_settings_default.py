#!/usr/bin/env python3
"""Turns the readable defaults source (UTF-8, one line per entry) into the shipped
settings_default.ini: UTF-16 little-endian with a byte-order mark and CR LF line ends.

usage: make_settings_default.py SOURCE.txt OUTPUT.ini
"""
import sys


def main():
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    text = "\r\n".join(lines) + "\r\n"
    with open(output, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


if __name__ == "__main__":
    main()
