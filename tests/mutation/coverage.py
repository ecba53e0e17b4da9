#!/usr/bin/env python3
"""Line coverage of src/ per folder, from a build made with --coverage after its tests ran.

    coverage.py BUILD_DIR
"""
import json
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent.parent


def main():
    build = sys.argv[1]
    report = subprocess.run(
        ["gcovr", "-r", str(ROOT), "--object-directory", build, "--filter", "src/",
         "--gcov-ignore-parse-errors", "--json-summary", "-"],
        check=True, capture_output=True, text=True).stdout
    folders = {}
    for entry in json.loads(report)["files"]:
        folder = entry["filename"].split("/")[1]
        covered, total = folders.get(folder, (0, 0))
        folders[folder] = (covered + entry["line_covered"], total + entry["line_total"])
    all_covered = sum(c for c, _ in folders.values())
    all_total = sum(t for _, t in folders.values())
    for folder, (covered, total) in sorted(folders.items()) + [("all", (all_covered, all_total))]:
        print(f"{folder:12} {covered:6}/{total:<6} {100 * covered / total:5.1f}%")


if __name__ == "__main__":
    main()
