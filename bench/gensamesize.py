#!/usr/bin/env python3
"""Builds a tree where many files share one size but differ, for the
duplicate-search benchmarks: FILES files of SIZE bytes with random contents
(seeded), of which DUPS are copies of others, spread over nested folders.

    gensamesize.py --files 20000 --size 65536 --dups 2000 --seed 1 OUT_DIR

Every file has the same size, so a search by size must read them all; only
the copies are duplicates. The same seed gives the same tree.
"""
import argparse
import os
import random
import sys


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("out")
    p.add_argument("--files", type=int, default=20000)
    p.add_argument("--size", type=int, default=65536)
    p.add_argument("--dups", type=int, default=2000)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--per-folder", type=int, default=50)
    a = p.parse_args()
    if os.path.exists(a.out) and os.listdir(a.out):
        sys.exit(f"{a.out} is not empty")
    rng = random.Random(a.seed)
    folders = max(1, a.files // a.per_folder)
    unique = a.files - a.dups
    originals = []
    for k in range(a.files):
        folder = os.path.join(a.out, f"g{k % 10:02d}", f"f{k % folders:05d}")
        os.makedirs(folder, exist_ok=True)
        if k < unique:
            data = rng.randbytes(a.size)
            if len(originals) < a.dups:
                originals.append(data)
        else:
            data = originals[k - unique]
        with open(os.path.join(folder, f"file{k:06d}.bin"), "wb") as f:
            f.write(data)
    print(f"{a.files} files of {a.size} bytes under {a.out}, {a.dups} of them copies")


if __name__ == "__main__":
    main()
