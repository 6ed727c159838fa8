#!/usr/bin/python3
"""OpenCV's stitcher in scan mode on a tile set, for the side-by-side bench.
Times Stitcher(SCANS).stitch() on the pictures in memory (the mosaic made), then
runs the same registration steps the scan mode uses (ORB features at 0.6 MP,
affine best-of-2-nearest matching, affine estimate, partial-affine bundle
adjustment) to read each tile's corner, which the high-level class does not
expose. Writes OUT_CSV (file,x,y) and prints: stitch_seconds registration_seconds."""
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
    status = -1
stitch_seconds = time.perf_counter() - t0


def register():
    """Each tile's corner in the mosaic, by index, for the tiles the scan mode keeps."""
    h, w = images[0].shape[:2]
    scale = min(1.0, (0.6e6 / (w * h)) ** 0.5)
    finder = cv2.ORB_create()
    features = [cv2.detail.computeImageFeatures2(
        finder, cv2.resize(i, None, fx=scale, fy=scale, interpolation=cv2.INTER_LINEAR_EXACT)) for i in images]
    for k, f in enumerate(features):
        f.img_idx = k
    matcher = cv2.detail_AffineBestOf2NearestMatcher(False, False, 0.3)
    pairs = matcher.apply2(features)
    kept = [int(k) for k in np.array(cv2.detail.leaveBiggestComponent(features, pairs, 1.0)).ravel()]
    if len(kept) < 2:
        return {}
    if len(kept) < len(features):
        # The bindings cannot shrink the lists in place as the C++ call does: match the kept ones again.
        features = [features[k] for k in kept]
        for k, f in enumerate(features):
            f.img_idx = k
        pairs = matcher.apply2(features)
    ok, cameras = cv2.detail_AffineBasedEstimator().apply(features, pairs, None)
    if not ok:
        return {}
    for c in cameras:
        c.R = c.R.astype(np.float32)
    adjuster = cv2.detail_BundleAdjusterAffinePartial()
    adjuster.setConfThresh(1.0)
    ok, cameras = adjuster.apply(features, pairs, cameras)
    if not ok:
        return {}
    # The scan-mode camera maps the mosaic onto a tile: its inverse takes the
    # tile's corner to the mosaic (in registration pixels).
    corners = {}
    for k, cam in zip(kept, cameras):
        inverse = np.linalg.inv(cam.R.astype(np.float64))
        corners[k] = (inverse[0, 2] / scale, inverse[1, 2] / scale)
    return corners


t0 = time.perf_counter()
try:
    placed = register()
except cv2.error:
    placed = {}
registration_seconds = time.perf_counter() - t0

with open(out_csv, "w") as f:
    f.write("file,x,y\n")
    for k, name in enumerate(files):
        x, y = placed.get(k, ("", ""))
        f.write(f"{name},{x},{y}\n")
print(f"{stitch_seconds if status == 0 else float('nan'):.3f} {registration_seconds:.3f}")
