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


def texture(w, h, sigmas):
    """Smooth random field, -1..1 roughly, with detail at the given scales."""
    total = np.zeros((h, w), np.float32)
    for sigma in sigmas:
        layer = cv2.GaussianBlur(rng.normal(0, 1, (h, w)).astype(np.float32), (0, 0), sigma)
        total += layer / (np.abs(layer).max() + 1e-6)
    return total / len(sigmas)


def specimen(w, h):
    """Stained cells on a bright field (no real picture): cells of varied size,
    shape and stain with off-centre nuclei and granules, under an uneven stain
    density, and a little optical blur. No two cells alike, as in a real smear,
    so feature matchers are not misled by repeats."""
    dtype = np.uint8 if a.whole_pixels else np.float32
    field = np.full((h, w, 3), 215, dtype)
    for _ in range(w * h // 2500):
        c = np.array([rng.uniform(0, w), rng.uniform(0, h)])
        r = rng.uniform(6, 32)
        # An irregular outline: a circle with random low-order wobble.
        t = np.linspace(0, 2 * np.pi, 24, endpoint=False)
        wobble = 1 + sum(rng.uniform(-0.12, 0.12) * np.cos(k * t + rng.uniform(0, 6.3)) for k in (2, 3, 5))
        outline = np.stack([c[0] + r * wobble * np.cos(t), c[1] + r * rng.uniform(0.6, 1) * wobble * np.sin(t)], 1)
        body = tuple(float(v) for v in rng.uniform([130, 70, 150], [225, 170, 240]))
        cv2.fillPoly(field, [np.int32(outline * 16)], body, cv2.LINE_AA, 4)
        cv2.polylines(field, [np.int32(outline * 16)], True, tuple(v * rng.uniform(0.55, 0.85) for v in body),
                      int(rng.integers(1, 4)), cv2.LINE_AA, 4)
        n = c + rng.uniform(-0.3, 0.3, 2) * r
        cv2.ellipse(field, (int(n[0]), int(n[1])), (max(2, int(r * rng.uniform(0.2, 0.45))),
                    max(2, int(r * rng.uniform(0.2, 0.45)))), float(rng.uniform(0, 180)), 0, 360,
                    tuple(float(v) for v in rng.uniform([90, 30, 60], [150, 80, 120])), -1, cv2.LINE_AA)
        for _ in range(int(rng.integers(0, 6))):
            g = c + rng.uniform(-0.7, 0.7, 2) * r
            cv2.circle(field, (int(g[0]), int(g[1])), 1, (80.0, 40.0, 70.0), -1, cv2.LINE_AA)
    if not a.whole_pixels:
        field *= (1 + 0.12 * texture(w, h, (3.0, 12.0, 40.0)))[..., None]
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
