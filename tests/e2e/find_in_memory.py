#!/usr/bin/env python3
"""Searches the writable memory of a running process for a text, as UTF-8 and
as UTF-16 (Qt's strings), and prints one line per copy found: address, the
mapping it lies in, and the encoding. Exit status 0 when none is found, 1 when
some is, 2 when the memory cannot be read.
Usage: find_in_memory.py PID TEXT"""
import re
import sys


def regions(pid):
    with open(f"/proc/{pid}/maps") as maps:
        for line in maps:
            fields = line.split()
            start, end = (int(x, 16) for x in fields[0].split("-"))
            perms = fields[1]
            name = fields[5] if len(fields) > 5 else "[anonymous]"
            # Only what the program can have written: not code, not files mapped read-only.
            if "r" in perms and "w" in perms and not name.startswith("[vvar") and not name.startswith("[vsyscall"):
                yield start, end, name


CHUNK = 16 << 20


def main():
    pid, text = sys.argv[1], sys.argv[2]
    needles = {"utf-8": text.encode("utf-8"), "utf-16": text.encode("utf-16-le")}
    found = 0
    try:
        mem = open(f"/proc/{pid}/mem", "rb", 0)
    except OSError as error:
        print(f"cannot read the memory of {pid}: {error}")
        return 2
    with mem:
        overlap = max(len(n) for n in needles.values()) - 1
        for start, end, name in regions(pid):
            # In pieces, overlapping by a marker's length: a region can be large.
            at = start
            while at < end:
                length = min(CHUNK + overlap, end - at)
                try:
                    mem.seek(at)
                    data = mem.read(length)
                except OSError:
                    break
                for encoding, needle in needles.items():
                    for match in re.finditer(re.escape(needle), data):
                        if match.start() < CHUNK or at + length == end:
                            found += 1
                            print(f"0x{at + match.start():x} {encoding} in {name} "
                                  f"(+0x{at - start + match.start():x})")
                at += CHUNK
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
