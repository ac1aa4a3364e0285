"""Reads pairs of exports of the same rows (comma-separated, property list)
with Python's own readers: each plist must be an array of three-string arrays,
one per CSV record, holding the same group, label and value."""
import csv
import plistlib
import sys


def check(csv_path, plist_path):
    with open(plist_path, 'rb') as f:
        rows = plistlib.load(f)
    with open(csv_path, newline='', encoding='utf-8') as f:
        records = list(csv.reader(f))
    if len(rows) != len(records):
        return f'{plist_path}: {len(rows)} arrays, {csv_path}: {len(records)} records'
    for number, (row, record) in enumerate(zip(rows, records), 1):
        if not (isinstance(row, list) and len(row) == 3 and all(isinstance(s, str) for s in row)):
            return f'{plist_path}: array {number} is not three strings: {row!r}'
        if record != [row[0] + ' ' + row[1], row[2]]:
            return f'{csv_path}: record {number} {record!r} differs from {row!r}'
    return None


def main(paths):
    failures = [message for message in
                (check(paths[i], paths[i + 1]) for i in range(0, len(paths), 2)) if message]
    for message in failures:
        print(message, file=sys.stderr)
    return 1 if failures or not paths else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
