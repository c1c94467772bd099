#!/usr/bin/env python3
"""Builds the driver data file (the defaults block) from its readable source.

Each line of the source is: offset type field value meaning, where the meaning is the
rest of the line; a line starting with '#' is a comment. Text values are quoted. Types: u8 i8 u16 i16 u32 i32 (little-endian), text:N (a
zero-padded 8-bit text of N bytes) and wtext:N (zero-padded UTF-16 text of N characters).
Bytes no line names are zero. Overlapping fields and values out of range are errors.
"""
import shlex
import struct
import sys

BLOCK_SIZE = 3856
FORMATS = {"u8": "<B", "i8": "<b", "u16": "<H", "i16": "<h", "u32": "<I", "i32": "<i"}


def encode(kind, value, where):
    if kind in FORMATS:
        try:
            return struct.pack(FORMATS[kind], int(value, 0))
        except (ValueError, struct.error) as err:
            sys.exit(f"{where}: {value} does not fit {kind}: {err}")
    name, _, count = kind.partition(":")
    if name in ("text", "wtext") and count.isdigit():
        text = value
        data = text.encode("latin-1") if name == "text" else text.encode("utf-16-le")
        size = int(count) * (1 if name == "text" else 2)
        if len(data) >= size:
            sys.exit(f"{where}: text longer than its field")
        return data.ljust(size, b"\0")
    sys.exit(f"{where}: unknown type {kind}")


def build(source):
    block = bytearray(BLOCK_SIZE)
    owner = [None] * BLOCK_SIZE
    with open(source, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            where = f"{source}:{number}"
            parts = shlex.split(line)
            if len(parts) < 4:
                sys.exit(f"{where}: expected offset type field value meaning")
            offset, kind, field, value = int(parts[0], 0), parts[1], parts[2], parts[3]
            data = encode(kind, value, where)
            if offset < 0 or offset + len(data) > BLOCK_SIZE:
                sys.exit(f"{where}: {field} lies outside the block")
            for at in range(offset, offset + len(data)):
                if owner[at] is not None:
                    sys.exit(f"{where}: {field} overlaps {owner[at]}")
                owner[at] = field
            block[offset:offset + len(data)] = data
    return bytes(block)


def write_source(block, path):
    """The same block as a C++ array, linked into the module as its built-in defaults."""
    rows = [", ".join(f"0x{b:02X}" for b in block[i:i + 16]) for i in range(0, len(block), 16)]
    with open(path, "w", encoding="utf-8") as out:
        out.write("// Generated from package/defaults.txt by package/make_defaults.py.\n")
        out.write('#include "driver/settings/builtin_defaults.h"\n\n')
        out.write("namespace qf {\n\n")
        out.write(f"const uint8_t kBuiltInDefaultsBlock[{len(block)}] = {{\n")
        out.write("".join(f"    {row},\n" for row in rows))
        out.write("};\n\n}  // namespace qf\n")


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit("usage: make_defaults.py SOURCE OUTPUT [CXX-OUTPUT]")
    block = build(sys.argv[1])
    with open(sys.argv[2], "wb") as out:
        out.write(block)
    if len(sys.argv) == 4:
        write_source(block, sys.argv[3])


if __name__ == "__main__":
    main()
