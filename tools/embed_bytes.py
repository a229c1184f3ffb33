#!/usr/bin/env python3
"""Writes a C++ source that holds a file's bytes as a constant array.

    embed_bytes.py INPUT OUTPUT NAME

defines `extern const unsigned char NAME[]` and `extern const std::size_t
NAME_SIZE` (NAME followed by "Size"), the file's bytes unchanged.
"""
import sys

BYTES_PER_LINE = 24


def main():
    source, target, name = sys.argv[1:4]
    with open(source, "rb") as f:
        data = f.read()
    lines = [
        "// Generated from " + source.replace("\\", "/").split("/")[-1] + " by tools/embed_bytes.py; do not edit.",
        "#include <cstddef>",
        "",
        f"extern const unsigned char {name}[];",
        f"extern const std::size_t {name}Size;",
        f"const std::size_t {name}Size = {len(data)};",
        f"const unsigned char {name}[] = {{",
    ]
    for at in range(0, len(data), BYTES_PER_LINE):
        lines.append(",".join(str(b) for b in data[at:at + BYTES_PER_LINE]) + ",")
    lines.append("};")
    with open(target, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
