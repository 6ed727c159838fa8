#!/usr/bin/python3
"""Hugin's command-line tools on a tile set, for the side-by-side bench:
pto_gen (a 1-degree lens, so the rotation model Hugin optimises is a plain
shift to well under a pixel over these mosaics), cpfind (all pairs: the order
is unknown; RANSAC with the rotation-only model, which is what a stage scan is
through such a lens: its default homography model accepts false four-point
matches between look-alike cells), cpclean, then autooptimiser -p: pictures placed pair by pair
from the anchor, then yaw, pitch and roll fitted together (the lens is left
as given, as a microscope's is known). Reads each tile's
corner back from the optimised project. Writes OUT_CSV (file,x,y) and prints
the seconds taken."""
import math
import os
import re
import subprocess
import sys
import tempfile
import time

files, out_csv = sys.argv[1:-1], sys.argv[-1]
work = tempfile.mkdtemp(prefix="stitch-hugin-")
pto = os.path.join(work, "p.pto")
quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

t0 = time.perf_counter()
subprocess.run(["pto_gen", "-f", "1", "-o", pto] + files, check=True, **quiet)
subprocess.run(["cpfind", "--ransacmode=rpy", "-o", pto, pto], check=True, **quiet)
subprocess.run(["cpclean", "-o", pto, pto], check=True, **quiet)
done = subprocess.run(["autooptimiser", "-p", "-o", pto, pto], **quiet).returncode == 0
seconds = time.perf_counter() - t0

# Tiles with no control point are not placed; the rest by yaw and pitch.
images, linked = [], set()
with open(pto) as f:
    for line in f:
        if line.startswith("i "):
            fields = dict(re.findall(r"\b([a-zA-Z]+)(-?[0-9.e+-]+|\"[^\"]*\")", line))
            images.append(fields)
        elif line.startswith("c "):
            n = re.search(r"\bn(\d+)", line).group(1)
            N = re.search(r"\bN(\d+)", line).group(1)
            linked.update({int(n), int(N)})
with open(out_csv, "w") as f:
    f.write("file,x,y\n")
    for k, name in enumerate(files):
        x = y = ""
        if done and k in linked and k < len(images):
            i = images[k]
            w, h = float(i["w"]), float(i["h"])
            # A lens linked to the first picture's reads "v=0": the value is the first picture's.
            fov = float(i["v"]) if "v" in i else float(images[0]["v"])
            focal = (w / 2) / math.tan(math.radians(fov) / 2)
            x = focal * math.tan(math.radians(float(i.get("y", 0)))) - w / 2
            y = -focal * math.tan(math.radians(float(i.get("p", 0)))) - h / 2
        f.write(f"{name},{x},{y}\n")
print(f"{seconds:.3f}")
