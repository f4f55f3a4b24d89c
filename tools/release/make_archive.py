#!/usr/bin/env python3
"""Packs a folder into a zip whose bytes depend on the files' contents only.

Entries are sorted by path, every entry has the time of SOURCE_DATE_EPOCH (UTC,
not before 1980, the first time a zip can hold) and the same mode, so that
the same release files give the same archive in any folder, at any time.

Usage: SOURCE_DATE_EPOCH=<seconds> make_archive.py ARCHIVE FOLDER
"""

import os
import sys
import time
import zipfile


def main(argv):
    if len(argv) != 3 or not os.environ.get("SOURCE_DATE_EPOCH", "").isdigit():
        print("usage: SOURCE_DATE_EPOCH=<seconds> make_archive.py ARCHIVE FOLDER", file=sys.stderr)
        return 2
    archive, folder = argv[1], argv[2]
    date_time = max(time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6], (1980, 1, 1, 0, 0, 0))
    paths = []
    for directory, _, files in os.walk(folder):
        paths += [os.path.relpath(os.path.join(directory, name), folder) for name in files]
    with zipfile.ZipFile(archive, "w") as zip_file:
        for path in sorted(path.replace(os.sep, "/") for path in paths):
            entry = zipfile.ZipInfo(path, date_time)
            entry.create_system = 3
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(folder, path), "rb") as f:
                zip_file.writestr(entry, f.read(), compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
