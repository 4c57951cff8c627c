#!/usr/bin/env python3
"""Generates a tree of about 200 files of 1 to 50 MiB where most sizes are unique:
34 pairs of copies, 5 pairs of the same size and other content, the rest unique.

usage: make_large_tree.py FOLDER [SEED]
"""
import os
import random
import sys


def main():
    root = sys.argv[1]
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 11)
    os.makedirs(root, exist_ok=True)
    block = os.urandom(64 << 20)
    sizes = set()

    def new_size():
        while True:
            size = rng.randint(1 << 20, 50 << 20)
            if size not in sizes:
                sizes.add(size)
                return size

    def write(name, size, salt):
        folder = os.path.join(root, "dir%d" % (salt % 7))
        os.makedirs(folder, exist_ok=True)
        start = (salt * 7919) % (len(block) - size) if size < len(block) else 0
        with open(os.path.join(folder, name), "wb") as f:
            f.write(block[start:start + size])

    made = 0
    for pair in range(34):                      # copies
        size = new_size()
        write("copy%03d_a.bin" % pair, size, made)
        write("copy%03d_b.bin" % pair, size, made)
        made += 2
    for pair in range(5):                       # same size, other content
        size = new_size()
        write("same%03d_a.bin" % pair, size, made)
        write("same%03d_b.bin" % pair, size, made + 1)
        made += 2
    while made < 200:                           # unique sizes
        write("unique%03d.bin" % made, new_size(), made)
        made += 1
    print("%d files" % made)


if __name__ == "__main__":
    main()
