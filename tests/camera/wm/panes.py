#!/usr/bin/python3
"""Finds the docking panes of the control column on a screenshot.

  panes.py SHOT X   the y of each pane title bar, top first: the rows where the
                    close button (at X) and the float button (at X - 14) show
The panes' heights change with the pages inside them, so the end-to-end test
places its clicks from their title bars.
"""
import sys
from PIL import Image

shot = Image.open(sys.argv[1]).convert("RGB")
x = int(sys.argv[2])

def dark(px, py):
    return sum(shot.getpixel((px, py))) < 450

rows = [y for y in range(3, shot.size[1] - 3)
        if dark(x, y) and any(dark(x - 14, y + d) for d in range(-3, 4))]
groups = []
for y in rows:
    if groups and y - groups[-1][-1] <= 6:
        groups[-1].append(y)
    else:
        groups.append([y])
# A title button is about a dozen pixels high; longer runs are something else.
print(" ".join(str((g[0] + g[-1]) // 2) for g in groups if g[-1] - g[0] <= 14))
