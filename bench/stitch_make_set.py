#!/usr/bin/python3
"""Cuts a tile set with known offsets out of a large picture, as a microscope
camera would see it while the stage steps over a grid: overlapping tiles, small
random deviations from the nominal grid (sub-pixel), vignetting, sensor noise,
and the files named in shuffled order. Writes DIR/NN.png and DIR/truth.csv
(file,x,y: each tile's top-left corner in the source picture)."""
import argparse
import os

import cv2
import numpy as np

p = argparse.ArgumentParser()
p.add_argument("source")
p.add_argument("out")
p.add_argument("--grid", default="4x3")
p.add_argument("--tile", default="800x600")
p.add_argument("--overlap", type=float, default=20, help="percent")
p.add_argument("--jitter", type=float, default=3, help="largest deviation from the grid, percent of a step")
p.add_argument("--noise", type=float, default=3, help="sensor noise, standard deviation in grey levels")
p.add_argument("--vignette", type=float, default=0.25, help="light lost in the corners, 0..1")
p.add_argument("--seed", type=int, default=1)
a = p.parse_args()

cols, rows = (int(v) for v in a.grid.split("x"))
tw, th = (int(v) for v in a.tile.split("x"))
rng = np.random.default_rng(a.seed)
src = cv2.imread(a.source, cv2.IMREAD_COLOR).astype(np.float32)
sx, sy = tw * (1 - a.overlap / 100), th * (1 - a.overlap / 100)
jx, jy = sx * a.jitter / 100, sy * a.jitter / 100
span_w, span_h = tw + (cols - 1) * sx + 2 * jx + 8, th + (rows - 1) * sy + 2 * jy + 8
if span_w > src.shape[1] or span_h > src.shape[0]:
    raise SystemExit(f"{a.source} is too small for this set ({span_w:.0f} x {span_h:.0f} needed)")
x0 = (src.shape[1] - span_w) / 2 + jx + 4
y0 = (src.shape[0] - span_h) / 2 + jy + 4

yy, xx = np.mgrid[0:th, 0:tw].astype(np.float32)
r2 = ((xx - (tw - 1) / 2) / (tw / 2)) ** 2 + ((yy - (th - 1) / 2) / (th / 2)) ** 2
light = (1 - a.vignette * r2 / 2)[..., None]  # r2 is 2 in the corners

os.makedirs(a.out, exist_ok=True)
names = [f"{n:02d}.png" for n in rng.permutation(cols * rows)]
truth = []
k = 0
for r in range(rows):
    for c in range(cols):
        x = x0 + c * sx + rng.uniform(-jx, jx)
        y = y0 + r * sy + rng.uniform(-jy, jy)
        # Tile pixel (i, j) sees source position (x + i, y + j).
        m = np.float32([[1, 0, -x], [0, 1, -y]])
        tile = cv2.warpAffine(src, m, (tw, th), flags=cv2.INTER_LANCZOS4, borderMode=cv2.BORDER_REFLECT)
        tile = tile * light + rng.normal(0, a.noise, tile.shape)
        cv2.imwrite(os.path.join(a.out, names[k]), np.clip(tile + 0.5, 0, 255).astype(np.uint8))
        truth.append((names[k], x, y))
        k += 1
with open(os.path.join(a.out, "truth.csv"), "w") as f:
    f.write("file,x,y\n")
    for name, x, y in sorted(truth):
        f.write(f"{name},{x:.4f},{y:.4f}\n")
