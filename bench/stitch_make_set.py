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
p.add_argument("source", help="a picture, or specimen:WxH for a seeded procedural specimen")
p.add_argument("out")
p.add_argument("--grid", default="4x3")
p.add_argument("--tile", default="800x600")
p.add_argument("--overlap", type=float, default=20, help="percent")
p.add_argument("--jitter", type=float, default=3, help="largest deviation from the grid, percent of a step")
p.add_argument("--noise", type=float, default=3, help="sensor noise, standard deviation in grey levels")
p.add_argument("--vignette", type=float, default=0.25, help="light lost in the corners, 0..1")
p.add_argument("--seed", type=int, default=1)
p.add_argument("--whole-pixels", action="store_true",
               help="8-bit specimen without texture, corners on whole pixels: for sets too large for float pictures")
a = p.parse_args()

cols, rows = (int(v) for v in a.grid.split("x"))
tw, th = (int(v) for v in a.tile.split("x"))
rng = np.random.default_rng(a.seed)


def specimen(w, h):
    """Stained cells on a bright field (no real picture): a faint multi-scale
    texture, cells with darker rims and nuclei, a little optical blur."""
    if a.whole_pixels:
        field = np.full((h, w, 3), 215, np.uint8)
    else:
        field = np.zeros((h, w, 3), np.float32)
        for sigma in (2.0, 8.0, 30.0):
            layer = cv2.GaussianBlur(rng.normal(0, 1, (h, w, 3)).astype(np.float32), (0, 0), sigma)
            field += layer / (np.abs(layer).max() + 1e-6)
        field = 215 + 12 * field
    for _ in range(w * h // 2500):
        c = (int(rng.uniform(0, w)), int(rng.uniform(0, h)))
        axes = (int(rng.uniform(8, 30)), int(rng.uniform(8, 30)))
        angle = float(rng.uniform(0, 180))
        body = tuple(float(v) for v in rng.uniform([150, 90, 170], [210, 150, 230]))
        cv2.ellipse(field, c, axes, angle, 0, 360, body, -1, cv2.LINE_AA)
        cv2.ellipse(field, c, axes, angle, 0, 360, tuple(v * 0.7 for v in body), 2, cv2.LINE_AA)
        nucleus = (max(2, axes[0] // 3), max(2, axes[1] // 3))
        cv2.ellipse(field, c, nucleus, angle, 0, 360, (120.0, 50.0, 90.0), -1, cv2.LINE_AA)
    return cv2.GaussianBlur(field, (0, 0), 0.8)


if a.source.startswith("specimen:"):
    sw, sh = (int(v) for v in a.source[len("specimen:"):].split("x"))
    src = specimen(sw, sh)
else:
    src = cv2.imread(a.source, cv2.IMREAD_COLOR)
    if not a.whole_pixels:
        src = src.astype(np.float32)
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
        if a.whole_pixels:
            x, y = round(x), round(y)
            tile = src[y:y + th, x:x + tw].astype(np.float32)
        else:
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
