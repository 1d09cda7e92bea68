#!/usr/bin/env python3
"""Rewrites a ZIP archive so that it holds nothing of who made it, where or
when: its entries sorted by name, each with the given time (in UTC), its
mode and its contents alone (no extra fields: no owner, group or access
times), compressed as before.

usage: normalize_zip.py ARCHIVE SOURCE_DATE_EPOCH
"""
import sys
import time
import zipfile


def main(path, epoch):
    date_time = time.gmtime(max(int(epoch), 315532800))[:6]  # ZIP times start in 1980
    with zipfile.ZipFile(path) as source:
        entries = [(info, source.read(info)) for info in source.infolist()]
    entries.sort(key=lambda entry: entry[0].filename)
    with zipfile.ZipFile(path, "w") as target:
        for info, data in entries:
            clean = zipfile.ZipInfo(info.filename, date_time)
            clean.external_attr = info.external_attr
            clean.create_system = 3  # Unix, so the modes are kept
            clean.compress_type = info.compress_type
            target.writestr(clean, data, compresslevel=9)


if __name__ == "__main__":
    main(*sys.argv[1:])
