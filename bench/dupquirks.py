#!/usr/bin/env python3
"""Builds a small tree of odd cases for the duplicate search.

    dupquirks.py OUT_DIR

Names that differ only in case (also outside ASCII: sharp s, title-case
letters, the Kelvin sign, dotless and dotted i, final sigma, combining
accents, characters beyond the BMP), leading and trailing blanks, sizes
whose grouped texts sort unlike their numbers, keys that join to the same
text ("a1" of 5 bytes and "a" of 15), times outside the DOS range and at
odd seconds, hidden files and folders, symbolic and hard links. Used by
dups_same_results.sh; the same every time.
"""
import os
import sys

root = sys.argv[1]
os.makedirs(root, exist_ok=True)
def w(rel, data, mtime=None, atime=None):
    p = os.path.join(root, rel)
    os.makedirs(os.path.dirname(p), exist_ok=True)
    with open(p, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())
    if mtime is not None:
        os.utime(p, (atime if atime is not None else mtime, mtime))
T = 1600000000
names = ["Report.DOC", "report.doc", "REPORT.doc", "abc ", "abc", " abc", "straße.txt", "STRASSE.txt",
         "Ǆ.txt", "ǅ.txt", "ǆ.txt", "\u212a.txt", "k.txt", "K.txt", "ı.txt", "I.txt", "i.txt", "İ.txt",
         "ς.x", "σ.x", "Σ.x", "x.", "x", "y.tar.gz", "Y.TAR.GZ", "zz.Txt", "zz.txt", "a1", "a", "ab", "a b", "a-b", "a_b", "A~b",
         "é.txt", "É.txt", "e\u0301.txt", "😀.txt", "😁.txt", "[x].txt", "x.DOC", "x.doc", "{x}.log", "`x`.log"]
sizes = [0, 5, 15, 200, 999, 1000, 12345, 100000, 1234567, 2049]
dirs = ["", "one", "two", "one/deep", "Two", "three/x y", "ÄÖ", "z", "Z"]
k = 0
for i, n in enumerate(names):
    for j, d in enumerate(dirs):
        if (i + j) % 3 == 0:
            continue
        s = sizes[(i + j * 7) % len(sizes)]
        if j % 4 == 1:
            s = sizes[i % len(sizes)]
        data = bytes([(i * 7 + j) % 3 + 65]) * s if j % 2 else bytes([65]) * s
        mt = T + (i % 4) * 86400 + (j % 3) * 2 + (j % 5) * 3600
        w(os.path.join(d, n), data, mt, mt + 100 * (j % 2))
        k += 1
# key concatenation: "a1" + "5" == "a" + "15"
w("cat/a1", "12345", T); w("cat2/a", "123456789012345", T)
# times out of the DOS range, and odd seconds
w("old/f.txt", "old", 0); w("old2/f.txt", "old", 1); w("new/f.txt", "old", 4500000000); w("odd/f.txt", "old", T + 1)
w("acc/f.txt", "old", T, 0)
# hidden things and links
w(".hid/f.txt", "old", T); w("h/.f.txt", "old", T)
os.makedirs(os.path.join(root, "lnk"), exist_ok=True)
os.symlink("../one", os.path.join(root, "lnk/to_one"))
os.symlink("../old/f.txt", os.path.join(root, "lnk/f.txt"))
os.link(os.path.join(root, "cat/a1"), os.path.join(root, "lnk/a1"))
print(k, "files")
