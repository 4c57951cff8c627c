#!/usr/bin/env python3
"""Drops a folder tree's files from the page cache, so that a search of it reads
from the disk as a search of a tree not read lately does.

usage: drop_cache.py FOLDER
"""
import os
import sys


def main():
    for folder, _, names in os.walk(sys.argv[1]):
        for name in names:
            try:
                fd = os.open(os.path.join(folder, name), os.O_RDONLY)
            except OSError:
                continue
            try:
                os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
            finally:
                os.close(fd)


if __name__ == "__main__":
    main()
