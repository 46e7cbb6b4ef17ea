#!/usr/bin/env python3
"""Writes and reads diary files for the two-computer test.

  diary_pages.py write FILE DATE:BODY...   a diary of these pages (atomic rename)
  diary_pages.py list FILE                 one line per page: DATE<TAB>BODY
A page is a fixed 10090-byte record in CP932: date, weekday, expense,
signature, time and weather of 15 bytes each, then a 10000-byte body, each
padded with spaces.
"""
import datetime
import os
import sys

WIDTHS = (15, 15, 15, 15, 15, 15, 10000)
WEEKDAYS = "月火水木金土日"


def record(date, body):
    day = datetime.date.fromisoformat(date)
    fields = (f"{day.year}年{day.month}月{day.day}日", WEEKDAYS[day.weekday()] + "曜日", "", "", "午前 9:00:00", "", body)
    return b"".join(f.encode("cp932").ljust(w, b" ") for f, w in zip(fields, WIDTHS))


def write(path, pages):
    temporary = path + ".writing"
    with open(temporary, "wb") as out:
        for page in pages:
            date, body = page.split(":", 1)
            out.write(record(date, body))
        out.flush()
        os.fsync(out.fileno())
    os.replace(temporary, path)


def pages(path):
    data = open(path, "rb").read()
    size = sum(WIDTHS)
    for start in range(0, len(data) - size + 1, size):
        chunk = data[start:start + size]
        yield chunk[:15].decode("cp932").strip(), chunk[90:].decode("cp932", "replace").strip()


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], sys.argv[3:])
    else:
        for date, body in pages(sys.argv[2]):
            print(f"{date}\t{body}")
