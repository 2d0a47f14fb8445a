#!/usr/bin/env python3
"""Copies UTF-8 C++ sources with every non-ASCII character written as the octal escapes
of its code page 936 bytes.

clang accepts no execution character set but UTF-8, so the fuzz build compiles these
copies to get the same run-time bytes that -fexec-charset=GBK gives the main build.
Octal escapes always have three digits, so a digit after one is never swallowed, and
no escape ends in a backslash that could splice a comment line onto the next.

Usage: gbk_escape.py OUTPUT_DIR SOURCE...
"""
import pathlib
import sys


def escaped(text: str) -> str:
    pieces = []
    for char in text:
        if ord(char) < 0x80:
            pieces.append(char)
        else:
            pieces.append("".join(f"\\{byte:03o}" for byte in char.encode("gbk")))
    return "".join(pieces)


def main() -> int:
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    output = pathlib.Path(sys.argv[1])
    output.mkdir(parents=True, exist_ok=True)
    for name in sys.argv[2:]:
        source = pathlib.Path(name)
        target = output / source.name
        text = escaped(source.read_text(encoding="utf-8"))
        # Unchanged copies keep their time stamps, so only changed sources rebuild.
        if not target.exists() or target.read_text(encoding="ascii") != text:
            target.write_text(text, encoding="ascii")
    return 0


if __name__ == "__main__":
    sys.exit(main())
