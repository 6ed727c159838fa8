#!/usr/bin/python3
"""Placement error of found tile positions against the truth. A mosaic's origin
and orientation are arbitrary, so the found corners are first fitted to the true
ones by the rigid motion (turn and shift, no scaling) that fits best in the
least-squares sense; each tile's error is then its distance to its true corner.
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
n = len(common)
tx, ty = sum(truth[k][0] for k in common) / n, sum(truth[k][1] for k in common) / n
fx, fy = sum(found[k][0] for k in common) / n, sum(found[k][1] for k in common) / n
# The turn taking the centred found corners closest to the centred true ones.
s = sum((found[k][0] - fx) * (truth[k][1] - ty) - (found[k][1] - fy) * (truth[k][0] - tx) for k in common)
c = sum((found[k][0] - fx) * (truth[k][0] - tx) + (found[k][1] - fy) * (truth[k][1] - ty) for k in common)
a = math.atan2(s, c) if n > 1 else 0.0
errors = []
for k in common:
    x, y = found[k][0] - fx, found[k][1] - fy
    errors.append(math.hypot(x * math.cos(a) - y * math.sin(a) + tx - truth[k][0],
                             x * math.sin(a) + y * math.cos(a) + ty - truth[k][1]))
print(f"{n}/{len(truth)} {sum(errors) / n:.3f} {max(errors):.3f}")
