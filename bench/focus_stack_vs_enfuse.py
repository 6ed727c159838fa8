#!/usr/bin/python3
"""Focus stacking beside enfuse on synthetic focal stacks with known ground truth.

Each stack starts from a sharp textured colour picture and a depth map (tilted
plane, dome, steps) with values 0..1. Slice k of N is focused at depth
k / (N - 1); every pixel is blurred with a Gaussian whose sigma grows in
proportion to the distance between its depth and the slice's plane, then
Gaussian noise is added. Both tools run as commands from PNG files to a file,
one after the other in the same run; the wall time is the median of the runs.
Quality is measured against the sharp picture: PSNR over all pixels and
channels, SSIM (Gaussian window, sigma 1.5, mean over B, G, R). The depth map
is compared with the true depth by Spearman's rank correlation.

Usage: bench/focus_stack_vs_enfuse.py BUILD_DIR [--runs N] [--quick]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

import cv2
import numpy as np

ENFUSE = ["enfuse", "--exposure-weight=0", "--saturation-weight=0", "--contrast-weight=1", "--hard-mask"]


def sharp_picture(width, height, seed):
    """Cells and fibres over a mottled background: texture at every scale."""
    rng = np.random.default_rng(seed)
    img = np.zeros((height, width, 3), np.float32)
    for octave in range(6):
        step = 2 ** octave
        small = rng.normal(0, 1, (height // step + 2, width // step + 2, 3)).astype(np.float32)
        layer = cv2.resize(small, (width + 2 * step, height + 2 * step), interpolation=cv2.INTER_CUBIC)
        img += layer[step:step + height, step:step + width] * (14.0 / (1 + 0.5 * octave))
    img += np.array([150, 120, 170], np.float32)
    cells = np.zeros((height, width), np.uint8)
    for _ in range(int(width * height / 6000)):
        c = (int(rng.integers(0, width)), int(rng.integers(0, height)))
        axes = (int(rng.integers(6, 30)), int(rng.integers(6, 30)))
        cv2.ellipse(cells, c, axes, float(rng.uniform(0, 180)), 0, 360, 255, -1)
        cv2.ellipse(img, c, axes, float(rng.uniform(0, 180)), 0, 360, tuple(float(v) for v in rng.uniform(40, 230, 3)), 2)
    for _ in range(int(width * height / 20000)):
        p = rng.integers(0, [width, height], (2, 2))
        cv2.line(img, tuple(int(v) for v in p[0]), tuple(int(v) for v in p[1]),
                 tuple(float(v) for v in rng.uniform(30, 220, 3)), 1, cv2.LINE_AA)
    img[cells > 0] *= 0.8
    return np.clip(img, 0, 255).astype(np.float32)


def flatten_half(picture):
    """The right half becomes a smooth, flat background, as around cells."""
    height, width = picture.shape[:2]
    y, x = np.mgrid[0:height, 0:width].astype(np.float32)
    flat = np.dstack([180 + 20 * x / width, 170 + 10 * y / height, 200 - 15 * x / width])
    return np.where((x > width / 2)[..., None], flat, picture).astype(np.float32)


def depth_map(kind, width, height):
    y, x = np.mgrid[0:height, 0:width].astype(np.float32)
    u, v = x / (width - 1), y / (height - 1)
    if kind.startswith("tilted plane"):
        return 0.8 * u + 0.2 * v
    if kind.startswith("dome"):
        r2 = ((u - 0.5) ** 2 + (v - 0.5) ** 2) / 0.5 ** 2
        return np.sqrt(np.clip(1 - r2, 0, 1))
    if kind == "steps":
        return np.floor(u * 5) / 4 * 0.7 + np.floor(v * 2) * 0.3
    raise ValueError(kind)


def slices(sharp, depth, count, max_sigma, noise, seed):
    """Slice k: per-pixel blur sigma = max_sigma * |depth - k / (count - 1)|."""
    rng = np.random.default_rng(seed)
    sigmas = np.arange(0, max_sigma + 0.5, 0.5)
    blurred = [sharp if s == 0 else cv2.GaussianBlur(sharp, (0, 0), s) for s in sigmas]
    frames = []
    for k in range(count):
        sigma = max_sigma * np.abs(depth - k / (count - 1))
        position = sigma / 0.5
        low = np.clip(np.floor(position).astype(int), 0, len(sigmas) - 2)
        frac = (position - low)[..., None]
        frame = np.zeros_like(sharp)
        for j in range(len(sigmas) - 1):
            mask = (low == j)[..., None]
            frame += np.where(mask, blurred[j] * (1 - frac) + blurred[j + 1] * frac, 0)
        frame += rng.normal(0, noise, frame.shape).astype(np.float32)
        frames.append(np.clip(np.rint(frame), 0, 255).astype(np.uint8))
    return frames


def move(frame, k, width, height):
    """Slice k shifted by up to 3 pixels and scaled by 1 + 0.003 k about the
    centre (focus breathing); slice 0 stays where the ground truth is."""
    if k == 0:
        return frame
    rng = np.random.default_rng(500 + k)
    m = cv2.getRotationMatrix2D((width / 2, height / 2), 0, 1 + 0.003 * k)
    m[:, 2] += rng.uniform(-3, 3, 2)
    return cv2.warpAffine(frame, m, (width, height), flags=cv2.INTER_CUBIC, borderMode=cv2.BORDER_REFLECT)


def psnr(a, b):
    mse = np.mean((a.astype(np.float64) - b.astype(np.float64)) ** 2)
    return 10 * np.log10(255.0 ** 2 / mse)


def ssim(a, b):
    c1, c2 = (0.01 * 255) ** 2, (0.03 * 255) ** 2
    values = []
    for ch in range(3):
        x, y = a[..., ch].astype(np.float64), b[..., ch].astype(np.float64)
        blur = lambda m: cv2.GaussianBlur(m, (11, 11), 1.5)
        mx, my = blur(x), blur(y)
        sxx, syy, sxy = blur(x * x) - mx * mx, blur(y * y) - my * my, blur(x * y) - mx * my
        s = ((2 * mx * my + c1) * (2 * sxy + c2)) / ((mx * mx + my * my + c1) * (sxx + syy + c2))
        values.append(s[5:-5, 5:-5].mean())
    return float(np.mean(values))


def ranks(values):
    """Ranks with ties given their average rank."""
    order = np.argsort(values, kind="stable")
    sorted_values = values[order]
    r = np.empty(len(values), np.float64)
    starts = np.r_[0, np.flatnonzero(np.diff(sorted_values)) + 1]
    ends = np.r_[starts[1:], len(values)]
    for s, e in zip(starts, ends):
        r[order[s:e]] = (s + e - 1) / 2.0
    return r


def spearman(a, b):
    ra, rb = ranks(a.ravel().astype(np.float64)), ranks(b.ravel().astype(np.float64))
    return float(np.corrcoef(ra, rb)[0, 1])


def timed(command, runs, work):
    """Median wall and CPU (user + system) seconds, largest peak memory in MiB."""
    walls, cpus, peak = [], [], 0
    report = os.path.join(work, "time.txt")
    for _ in range(runs):
        subprocess.run(["/usr/bin/time", "-f", "%e %U %S %M", "-o", report] + command, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall, user, system, kib = open(report).read().split()[-4:]
        walls.append(float(wall))
        cpus.append(float(user) + float(system))
        peak = max(peak, int(kib) / 1024)
    return float(np.median(walls)), float(np.median(cpus)), peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--quick", action="store_true", help="the 1.2 MP stacks only")
    opts = parser.parse_args()
    ours = os.path.join(os.path.abspath(opts.build), "src/cli/vistorel-img")
    stacks = [("tilted plane", 1280, 960, "png"), ("dome", 1280, 960, "png"), ("steps", 1280, 960, "png"),
              ("tilted plane, right half flat", 1280, 960, "png"), ("dome, moving and breathing", 1280, 960, "png")]
    if not opts.quick:
        # The same 5 MP slices as PNG and as uncompressed TIFF: decoding the
        # PNG files is a good part of both tools' time.
        stacks += [("tilted plane", 2592, 1944, "png"), ("tilted plane", 2592, 1944, "tif")]
    rows = []
    load_before = os.getloadavg()
    with tempfile.TemporaryDirectory() as work:
        for n, (kind, width, height, ext) in enumerate(stacks):
            seed = stacks.index((kind, width, height, "png"))
            sharp = sharp_picture(width, height, 7 + seed)
            if kind.endswith("flat"):
                sharp = flatten_half(sharp)
            depth = depth_map(kind, width, height)
            frames = slices(sharp, depth, 10, 6.0 * width / 1280, 2.0, 100 + seed)
            moving = "moving" in kind
            if moving:
                frames = [move(f, k, width, height) for k, f in enumerate(frames)]
            names = []
            for k, f in enumerate(frames):
                names.append(os.path.join(work, "slice%02d.%s" % (k, ext)))
                cv2.imwrite(names[k], f, [cv2.IMWRITE_TIFF_COMPRESSION, 1] if ext == "tif" else [])
            truth = np.clip(np.rint(sharp), 0, 255).astype(np.uint8)
            best_slice = max(psnr(f, truth) for f in frames)
            # Both write an uncompressed picture: BMP here, enfuse's default TIFF.
            out, dmap, enf = (os.path.join(work, x) for x in ("ours.bmp", "depth.bmp", "enfuse.tif"))
            results = {}
            peer = ENFUSE + ["-o", enf] + names
            if moving:
                # enfuse does not align: Hugin's align_image_stack (shift, turn and
                # field of view, i.e. scale) goes first, timed with it.
                aligned = os.path.join(work, "aligned_")
                peer = ["sh", "-c", "align_image_stack -m -a %s %s && %s %s*.tif" % (
                    aligned, " ".join(names), " ".join(ENFUSE + ["-o", enf]), aligned)]
            # Moved frames leave unknown borders: the measures then skip 40 pixels at each edge.
            inside = (slice(40, -40), slice(40, -40)) if moving else (slice(None), slice(None))
            for label, command, output in [
                ("ours", [ours, "stack", out] + names + ["--depth-map", dmap], out),
                ("ours, --align off", [ours, "stack", out] + names + ["--align", "off"], out),
                ("enfuse", peer, enf),
            ]:
                wall, cpu, peak = timed(command, opts.runs, work)
                picture = cv2.imread(output, cv2.IMREAD_COLOR)[inside]
                results[label] = (psnr(picture, truth[inside]), ssim(picture, truth[inside]), wall, cpu, peak)
                if label == "ours":
                    rho = spearman(cv2.imread(dmap, cv2.IMREAD_GRAYSCALE)[inside], depth[inside])
            rows.append(("%s, %d x %d, %s" % (kind, width, height, ext.upper()), best_slice, results, rho))
            print("done: %s %dx%d %s" % (kind, width, height, ext), file=sys.stderr)

    print("%s; load average before %.2f %.2f %.2f, after %.2f %.2f %.2f; median of %d runs" % (
        time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()), *load_before, *os.getloadavg(), opts.runs))
    print()
    print("| stack | best slice | ours PSNR | enfuse PSNR | ours SSIM | enfuse SSIM | ours wall s | enfuse wall s "
          "| wall ratio | ours CPU s | enfuse CPU s | CPU ratio | ours MiB | enfuse MiB | depth rank corr. |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|")
    for label, best, r, rho in rows:
        o, e = r["ours"], r["enfuse"]
        print("| %s | %.2f | %.2f | %.2f | %.4f | %.4f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.0f | %.0f "
              "| %.3f |" % (label, best, o[0], e[0], o[1], e[1], o[2], e[2], o[2] / e[2], o[3], e[3],
                            o[3] / e[3], o[4], e[4], rho))
    print()
    print("Without alignment (--align off):")
    print()
    print("| stack | PSNR | SSIM | wall s | CPU s |")
    print("|---|---|---|---|---|")
    for label, best, r, rho in rows:
        a = r["ours, --align off"]
        print("| %s | %.2f | %.4f | %.2f | %.2f |" % (label, a[0], a[1], a[2], a[3]))


if __name__ == "__main__":
    main()
