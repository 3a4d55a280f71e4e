#!/usr/bin/env python3
"""Builds a seeded synthetic folder tree for the enumeration benchmarks.

    gentree.py --files 200000 --seed 1 OUT_DIR

The same seed and count give the same tree: folder fan-out, names, file
sizes, and access and write times spread over the ten years before 2026
(the access never before the write). Files are sparse (their size is set,
no data is written), so a large tree costs inodes, not disk space.
"""
import argparse
import os
import random
import sys

EXTENSIONS = ["txt", "jpg", "png", "doc", "pdf", "log", "c", "h", "cpp", "mp3",
              "zip", "tar.gz", "html", "json", "bak", "tmp", "dat", ""]


def name(rng):
    letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_- "
    base = "".join(rng.choice(letters) for _ in range(rng.randint(3, 16))).strip() or "x"
    if rng.random() < 0.03:
        base = "." + base  # a few hidden ones
    ext = rng.choice(EXTENSIONS)
    return base + ("." + ext if ext else "")


def size(rng):
    # Mostly small files, some large ones, as on a real disk.
    r = rng.random()
    if r < 0.05:
        return 0
    if r < 0.80:
        return rng.randint(1, 64 * 1024)
    if r < 0.98:
        return rng.randint(64 * 1024, 16 * 1024 * 1024)
    return rng.randint(16 * 1024 * 1024, 4 * 1024 * 1024 * 1024)


# File times: uniform over the ten years before TIMES_END (UTC seconds).
TIMES_END = 1767225600  # 2026-01-01
TIMES_SPAN = 10 * 365 * 86400


def times(rng):
    written = TIMES_END - rng.randrange(TIMES_SPAN)
    accessed = written + rng.randrange(TIMES_END - written + 1)
    return accessed, written


def build(out, files, seed, per_folder, fanout):
    rng = random.Random(seed)
    # A generator of its own, so the names and sizes of a seed stay as they were.
    clock = random.Random(seed * 7919 + 1)
    os.makedirs(out, exist_ok=True)
    made = 0
    folders = [out]
    queue = [out]
    wanted_folders = max(1, files // max(1, per_folder))
    while made < files:
        if not queue:
            queue = list(folders)
        folder = queue.pop(0)
        subfolders = rng.randint(1, fanout) if len(folders) < wanted_folders else 0
        for _ in range(subfolders):
            sub = os.path.join(folder, "d_" + name(rng).replace(".", "_"))
            os.makedirs(sub, exist_ok=True)
            folders.append(sub)
            queue.append(sub)
        for _ in range(rng.randint(per_folder // 2, per_folder * 3 // 2)):
            if made >= files:
                break
            path = os.path.join(folder, name(rng))
            if os.path.exists(path):
                continue
            with open(path, "wb") as f:
                f.truncate(size(rng))
            os.utime(path, times(clock))
            made += 1
    return made, len(folders)


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("out")
    p.add_argument("--files", type=int, default=200000)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--per-folder", type=int, default=20, help="files per folder on average")
    p.add_argument("--fanout", type=int, default=4, help="most subfolders per folder")
    a = p.parse_args()
    if os.path.exists(a.out) and os.listdir(a.out):
        sys.exit(f"{a.out} is not empty")
    files, folders = build(a.out, a.files, a.seed, a.per_folder, a.fanout)
    print(f"{files} files in {folders} folders under {a.out}")


if __name__ == "__main__":
    main()
