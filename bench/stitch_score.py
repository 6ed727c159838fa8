#!/usr/bin/python3
"""Placement error of found tile positions against the truth: the found set is
moved by the mean difference over the tiles both have (a mosaic's origin is
arbitrary), then each tile's distance to its true corner is measured.
Prints: placed/total mean_px max_px."""
import csv
import math
import sys


def read(path):
    out = {}
    with open(path) as f:
        for row in csv.DictReader(f):
            if row["x"] != "" and row["y"] != "":
                out[row["file"].split("/")[-1]] = (float(row["x"]), float(row["y"]))
    return out


truth, found = read(sys.argv[1]), read(sys.argv[2])
common = [k for k in truth if k in found]
if not common:
    print(f"0/{len(truth)} - -")
    sys.exit(0)
dx = sum(truth[k][0] - found[k][0] for k in common) / len(common)
dy = sum(truth[k][1] - found[k][1] for k in common) / len(common)
errors = [math.hypot(found[k][0] + dx - truth[k][0], found[k][1] + dy - truth[k][1]) for k in common]
print(f"{len(common)}/{len(truth)} {sum(errors) / len(errors):.3f} {max(errors):.3f}")
