#!/usr/bin/python3
"""OpenCV's stitcher in scan mode on a tile set, for the side-by-side bench.
Times Stitcher(SCANS).stitch() on the pictures in memory, then finds where each
tile landed in the mosaic it made (the class does not expose its cameras): the
middle of the tile is located by normalised cross-correlation over the mosaic,
refined to a fraction of a pixel by a parabola through the peak. A tile left out
of the mosaic (or found with a correlation below 0.8) counts as not placed.
Writes OUT_CSV (file,x,y) and prints the seconds stitch() took ("failed" when it
made no mosaic)."""
import sys
import time

import cv2
import numpy as np

files, out_csv = sys.argv[1:-1], sys.argv[-1]
images = [cv2.imread(f, cv2.IMREAD_COLOR) for f in files]
cv2.setNumThreads(2)

t0 = time.perf_counter()
try:
    status, mosaic = cv2.Stitcher_create(cv2.Stitcher_SCANS).stitch(images)
except cv2.error:  # raised instead of a status when a tile has almost no features
    status, mosaic = -1, None
seconds = time.perf_counter() - t0


def vertex(a, b, c):
    """Offset of a parabola's vertex through three equally spaced values."""
    d = a - 2 * b + c
    return 0.0 if d >= 0 else 0.5 * (a - c) / d


placed = {}
if status == 0:
    grey = cv2.cvtColor(mosaic, cv2.COLOR_BGR2GRAY).astype(np.float32)
    for k, image in enumerate(images):
        h, w = image.shape[:2]
        x0, y0 = w // 5, h // 5
        middle = cv2.cvtColor(image, cv2.COLOR_BGR2GRAY)[y0:h - y0, x0:w - x0].astype(np.float32)
        if middle.shape[0] > grey.shape[0] or middle.shape[1] > grey.shape[1]:
            continue
        score = cv2.matchTemplate(grey, middle, cv2.TM_CCOEFF_NORMED)
        _, best, _, (bx, by) = cv2.minMaxLoc(score)
        if best < 0.8:
            continue
        fx = vertex(*score[by, bx - 1:bx + 2]) if 0 < bx < score.shape[1] - 1 else 0.0
        fy = vertex(*score[by - 1:by + 2, bx]) if 0 < by < score.shape[0] - 1 else 0.0
        placed[k] = (bx + fx - x0, by + fy - y0)

with open(out_csv, "w") as f:
    f.write("file,x,y\n")
    for k, name in enumerate(files):
        x, y = placed.get(k, ("", ""))
        f.write(f"{name},{x},{y}\n")
print(f"{seconds:.3f}" if status == 0 else "failed")
