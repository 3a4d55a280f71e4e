#!/usr/bin/env python3
"""Writes COUNT files of SIZE bytes of mixed, compressible text into FOLDER,
spread over sub-folders of 500 files (f000/00000.txt ...), as the zip
benchmark and the crash test use them. Each file mixes words from a fixed
vocabulary (compresses well), numbers, and a stretch of random letters
(compresses little), so Deflate has real work. Deterministic for a seed.

    genzipfiles.py FOLDER COUNT [SIZE] [SEED]      (defaults: SIZE 20480, SEED 1)
"""
import os
import random
import sys

WORDS = ("alpha beta gamma delta folder archive entry record total backup "
         "deleted restored drive letter comment settings window progress "
         "duplicate harbor safe cluster sector index table column row").split()


def contents(rng, size):
    parts = []
    length = 0
    while length < size:
        kind = rng.random()
        if kind < 0.7:
            line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(4, 14)))
        elif kind < 0.9:
            line = ",".join(str(rng.randint(0, 99999)) for _ in range(rng.randint(3, 10)))
        else:
            line = "".join(rng.choice("abcdefghijklmnopqrstuvwxyz0123456789") for _ in range(rng.randint(20, 80)))
        parts.append(line)
        length += len(line) + 1
    return ("\n".join(parts) + "\n").encode()[:size]


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    folder = sys.argv[1]
    count = int(sys.argv[2])
    size = int(sys.argv[3]) if len(sys.argv) > 3 else 20480
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    for i in range(count):
        sub = os.path.join(folder, "f%03d" % (i // 500))
        if i % 500 == 0:
            os.makedirs(sub, exist_ok=True)
        with open(os.path.join(sub, "%05d.txt" % i), "wb") as f:
            f.write(contents(rng, size))


if __name__ == "__main__":
    main()
