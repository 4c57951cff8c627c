#!/usr/bin/env python3
"""Generates a folder tree that looks like a user's documents for the search benchmark.

Sizes follow a log-normal spread (many small files, a few large ones); some files
come in duplicate groups, some are empty, and some share a size with another file
but differ in content. The same seed gives the same tree.

usage: make_tree.py FOLDER [FILES] [SEED] [EMPTY_SHARE]

EMPTY_SHARE (default 0.003) is the share of empty files: about 300 in 100,000, whose
pairs alone make some 45,000 twin rows.
"""
import os
import random
import sys


def main():
    root = sys.argv[1]
    total = int(sys.argv[2]) if len(sys.argv) > 2 else 100_000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 7)
    empty_share = float(sys.argv[4]) if len(sys.argv) > 4 else 0.003
    os.makedirs(root, exist_ok=True)
    folders = [root]
    made = 0
    written = 0
    block = os.urandom(1 << 20)

    def new_folder():
        parent = rng.choice(folders[-200:]) if rng.random() < 0.7 else rng.choice(folders)
        path = os.path.join(parent, "dir%05d" % len(folders))
        os.makedirs(path, exist_ok=True)
        folders.append(path)
        return path

    def content(size, salt):
        start = (salt * 7919) % (len(block) - 1)
        out = bytearray()
        while len(out) < size:
            out += block[start:start + size - len(out)]
            start = 0
        return bytes(out[:size])

    def write(path, data):
        nonlocal made, written
        with open(path, "wb") as f:
            f.write(data)
        made += 1
        written += len(data)

    folder = root
    while made < total:
        if rng.random() < 0.03:
            folder = new_folder()
        size = min(int(rng.lognormvariate(8.0, 1.8)), 64 << 20)
        roll = rng.random()
        name = os.path.join(folder, "file%06d.bin" % made)
        if roll < empty_share:
            write(name, b"")                                   # empty
        elif roll < empty_share + 0.098:
            data = content(size, made)                         # a duplicate group
            for copy in range(rng.randint(2, 4)):
                if made >= total:
                    break
                target = rng.choice(folders)
                write(os.path.join(target, "copy%06d_%d.bin" % (made, copy)), data)
        elif roll < empty_share + 0.138:
            data = bytearray(content(size or 1, made))         # same size, other content
            write(name, bytes(data))
            data[len(data) // 2] ^= 0xFF
            write(os.path.join(rng.choice(folders), "near%06d.bin" % made), bytes(data))
        else:
            write(name, content(size, made))
    print("%d files, %d folders, %d bytes" % (made, len(folders), written))


if __name__ == "__main__":
    main()
