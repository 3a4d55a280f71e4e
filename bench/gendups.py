#!/usr/bin/env python3
"""Builds a seeded synthetic folder tree for the duplicate-search benchmarks.

    gendups.py --files 100000 --seed 1 OUT_DIR

The tree holds three kinds of files, spread over nested folders:

  - groups of exact duplicates: the same name and the same contents in
    different folders (what "file name and size" groups, and what a checksum
    confirms);
  - groups of look-alikes: the same name and size in different folders, but
    different contents (grouped by name and size, dropped by the checksum);
  - unique files: a name and a size no other file has.

Sizes run from a few hundred bytes to a few hundred KB, with a few files of
some MB. Files of a group get real contents (slices of one seeded random
pool, so equal slices make equal files); unique files are sparse, since no
duplicate search reads a file whose size no other file has. Modification
and access times are spread over past years, as on a real disk. No hidden
files, links or empty files: every tool compared sees the same files.

The same seed and count give the same tree.
"""
import argparse
import math
import os
import random
import sys

EXTENSIONS = ["txt", "jpg", "png", "doc", "pdf", "log", "c", "h", "cpp", "mp3",
              "zip", "tar.gz", "html", "json", "bak", "tmp", "dat", ""]
LETTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_- "
POOL_SIZE = 24 * 1024 * 1024   # contents come from slices of this
MAX_GROUP_FILE = 8 * 1024 * 1024
NOW = 1_700_000_000            # fixed, so a tree does not depend on the day
YEAR = 365 * 24 * 3600


def name(rng):
    base = "".join(rng.choice(LETTERS) for _ in range(rng.randint(3, 16))).strip(" -") or "x"
    ext = rng.choice(EXTENSIONS)
    return base + ("." + ext if ext else "")


def log_uniform(rng, lo, hi):
    return int(math.exp(rng.uniform(math.log(lo), math.log(hi))))


def size(rng):
    # Mostly small files, some of a few hundred KB, a few of some MB.
    r = rng.random()
    if r < 0.85:
        return log_uniform(rng, 200, 16 * 1024)
    if r < 0.999:
        return log_uniform(rng, 16 * 1024, 300 * 1024)
    return log_uniform(rng, 1024 * 1024, MAX_GROUP_FILE)


def make_folders(rng, out, count, fanout):
    """Nested folders, breadth first with a random fan-out: count in all."""
    folders = [out]
    queue = [out]
    seen = set()
    while len(folders) < count:
        parent = queue.pop(0) if queue else rng.choice(folders)
        for _ in range(rng.randint(1, fanout)):
            if len(folders) >= count:
                break
            sub = os.path.join(parent, "d_" + name(rng).replace(".", "_"))
            if sub in seen:
                continue
            seen.add(sub)
            os.mkdir(sub)
            folders.append(sub)
            queue.append(sub)
    return folders


def build(out, files, seed, per_folder, fanout, dup_share, lookalike_share):
    rng = random.Random(seed)
    os.makedirs(out, exist_ok=True)
    folders = make_folders(rng, out, max(1, files // max(1, per_folder)), fanout)
    pool = rng.randbytes(POOL_SIZE)
    names_in = {f: set() for f in folders}
    for f in folders[1:]:
        names_in[os.path.dirname(f)].add(os.path.basename(f))  # no file may take a folder's name
    used_sizes = set()
    stats = {"duplicates": 0, "dup_groups": 0, "lookalikes": 0, "lookalike_groups": 0,
             "unique": 0, "bytes": 0, "sparse_bytes": 0}

    def place(n, k):
        """k distinct folders where name n is still free; fewer if none left."""
        chosen = []
        for _ in range(k * 4):
            f = rng.choice(folders)
            if f not in chosen and n not in names_in[f]:
                chosen.append(f)
                if len(chosen) == k:
                    break
        return chosen

    def times():
        mtime = NOW - rng.randint(0, 6 * YEAR)
        atime = max(mtime, NOW - rng.randint(0, 60 * 24 * 3600))
        return atime, mtime

    def write(folder, n, data=None, sparse_size=0):
        names_in[folder].add(n)
        path = os.path.join(folder, n)
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
        try:
            if data is None:
                os.ftruncate(fd, sparse_size)
            else:
                os.write(fd, data)
            os.utime(fd, times())
        finally:
            os.close(fd)

    made = 0
    want_dups = int(files * dup_share)
    want_lookalikes = int(files * lookalike_share)
    # Groups of exact duplicates: 2 to 4 copies of one slice of the pool.
    while stats["duplicates"] < want_dups and made < files:
        n = name(rng)
        s = size(rng)
        k = min(rng.choice((2, 2, 2, 3, 3, 4)), want_dups - stats["duplicates"], files - made)
        where = place(n, max(2, k)) if k >= 2 else []
        if len(where) < 2:
            break
        at = rng.randrange(0, POOL_SIZE - s)
        data = pool[at:at + s]
        for f in where:
            write(f, n, data)
        used_sizes.add(s)
        made += len(where)
        stats["duplicates"] += len(where)
        stats["dup_groups"] += 1
        stats["bytes"] += s * len(where)
    # Look-alikes: the same name and size, each copy with its own contents.
    while stats["lookalikes"] < want_lookalikes and made < files:
        n = name(rng)
        s = size(rng)
        k = min(rng.choice((2, 2, 3)), want_lookalikes - stats["lookalikes"], files - made)
        where = place(n, max(2, k)) if k >= 2 else []
        if len(where) < 2:
            break
        for f in where:
            at = rng.randrange(0, POOL_SIZE - s)
            write(f, n, pool[at:at + s])
        used_sizes.add(s)
        made += len(where)
        stats["lookalikes"] += len(where)
        stats["lookalike_groups"] += 1
        stats["bytes"] += s * len(where)
    # Unique files: sparse, each with a size of its own.
    while made < files:
        n = name(rng)
        f = rng.choice(folders)
        if n in names_in[f]:
            continue
        s = size(rng)
        while s in used_sizes:  # small sizes run out first: move up to a free one
            s += 1 + rng.randrange(s // 8 + 1)
        used_sizes.add(s)
        write(f, n, sparse_size=s)
        made += 1
        stats["unique"] += 1
        stats["sparse_bytes"] += s
    return made, len(folders), stats


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("out")
    p.add_argument("--files", type=int, default=100000)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--per-folder", type=int, default=20, help="files per folder on average")
    p.add_argument("--fanout", type=int, default=4, help="most subfolders per folder")
    p.add_argument("--dup-share", type=float, default=0.20, help="share of files that are exact duplicates")
    p.add_argument("--lookalike-share", type=float, default=0.10,
                   help="share of files with the name and size of another but other contents")
    a = p.parse_args()
    if os.path.exists(a.out) and os.listdir(a.out):
        sys.exit(f"{a.out} is not empty")
    files, folders, s = build(a.out, a.files, a.seed, a.per_folder, a.fanout, a.dup_share, a.lookalike_share)
    print(f"{files} files in {folders} folders under {a.out}: "
          f"{s['duplicates']} duplicates in {s['dup_groups']} groups, "
          f"{s['lookalikes']} look-alikes in {s['lookalike_groups']} groups, {s['unique']} unique; "
          f"{s['bytes'] / 2**20:.0f} MiB written, {s['sparse_bytes'] / 2**20:.0f} MiB sparse")


if __name__ == "__main__":
    main()
