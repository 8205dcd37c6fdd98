#!/usr/bin/env python3
"""Fails when a function in the given folder is longer than the limit, counted from its first
line to its closing brace as universal-ctags reports them."""
import subprocess
import sys


def main():
    ctags, folder, limit = sys.argv[1], sys.argv[2], int(sys.argv[3])
    tags = subprocess.run([ctags, "-R", "--languages=C++", "--fields=+ne", "--kinds-C++=f",
                           "-o", "-", folder], capture_output=True, text=True, check=True).stdout
    too_long = []
    for line in tags.splitlines():
        fields = line.split("\t")
        extras = dict(field.split(":", 1) for field in fields[3:] if ":" in field)
        if "line" in extras and "end" in extras:
            length = int(extras["end"]) - int(extras["line"]) + 1
            if length > limit:
                too_long.append(f"{fields[1]}:{extras['line']}: {fields[0]} has {length} lines")
    for entry in sorted(too_long):
        print(entry)
    print(f"{len(too_long)} functions longer than {limit} lines")
    return 1 if too_long else 0


if __name__ == "__main__":
    sys.exit(main())
