#!/usr/bin/python3
"""Reads facts off a screenshot of the program for the end-to-end test.

  measure.py origin SHOT            x,y of the first pure red pixel (the picture's top left)
  measure.py run SHOT X Y           length of the pure red run starting at (X, Y)
  measure.py ants SHOT X0 X1 Y      white and black pixels on row Y between X0 and X1
  measure.py same A B X0 Y0 X1 Y1   'same' when both shots agree inside the box, else 'differ'
  measure.py blend SHOT X Y N       pixels on row Y from X on (N of them) that are neither pure red nor pure blue
  measure.py reddish SHOT           x,y of the first of 50 nearly red pixels in a row (a JPEG picture's top left)
  measure.py yellow SHOT X0 Y0 X1 Y1  pixels inside the box in the measurement objects' yellow
"""
import sys
from PIL import Image

def px(img, x, y):
    return img.getpixel((x, y))[:3]

cmd, shot = sys.argv[1], Image.open(sys.argv[2]).convert("RGB")
if cmd == "origin":
    w, h = shot.size
    for y in range(h):
        for x in range(w):
            if px(shot, x, y) == (255, 0, 0):
                print(f"{x},{y}")
                sys.exit(0)
    sys.exit(1)
if cmd == "run":
    x, y = int(sys.argv[3]), int(sys.argv[4])
    n = 0
    while x + n < shot.size[0] and px(shot, x + n, y) == (255, 0, 0):
        n += 1
    print(n)
if cmd == "ants":
    x0, x1, y = int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
    row = [px(shot, x, y) for x in range(x0, x1)]
    print(row.count((255, 255, 255)), row.count((0, 0, 0)))
if cmd == "same":
    other = Image.open(sys.argv[3]).convert("RGB")
    box = tuple(int(v) for v in sys.argv[4:8])
    print("same" if shot.crop(box).tobytes() == other.crop(box).tobytes() else "differ")
if cmd == "blend":
    x, y, n = int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
    row = [px(shot, x + i, y) for i in range(n) if x + i < shot.size[0]]
    # Mixed colours between the halves: red and blue both present.
    print(sum(1 for r, g, b in row if r > 0 and b > 0 and g == 0))
if cmd == "reddish":
    w, h = shot.size
    def red(x, y):
        r, g, b = px(shot, x, y)
        return r > 200 and g < 60 and b < 60
    for y in range(h):
        for x in range(w - 50):
            if red(x, y) and all(red(x + i, y) for i in range(1, 50)):
                print(f"{x},{y}")
                sys.exit(0)
    sys.exit(1)
if cmd == "yellow":
    box = [int(v) for v in sys.argv[3:7]]
    print(sum(1 for x in range(box[0], box[2]) for y in range(box[1], box[3])
              if (lambda c: c[0] > 200 and c[1] > 170 and c[2] < 80)(px(shot, x, y))))
