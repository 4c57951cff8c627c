#!/usr/bin/env python3
"""What the disk alone needs to read a tree's files of shared sizes once: their
pages are dropped from the cache, then eight threads read them whole, in the order
the walk lists them. A search cannot read those files faster than this, so its time
beside this floor shows what the program adds to the disk.

usage: disk_floor.py FOLDER
prints: floor: N files of shared sizes, S s, U microseconds a file
"""
import os
import queue
import sys
import threading
import time
from collections import Counter


def main():
    paths = []
    for folder, _, names in os.walk(sys.argv[1]):
        for name in names:
            path = os.path.join(folder, name)
            paths.append((os.lstat(path).st_size, path))
    sizes = Counter(size for size, _ in paths)
    shared = [path for size, path in paths if size > 0 and sizes[size] > 1]
    for path in shared:
        fd = os.open(path, os.O_RDONLY)
        os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
        os.close(fd)
    work = queue.Queue()
    for path in shared:
        work.put(path)

    def read_all():
        while True:
            try:
                path = work.get_nowait()
            except queue.Empty:
                return
            with open(path, "rb", buffering=0) as f:
                while f.read(1 << 20):
                    pass

    start = time.monotonic()
    threads = [threading.Thread(target=read_all) for _ in range(8)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    seconds = time.monotonic() - start
    print(f"floor: {len(shared)} files of shared sizes, {seconds:.1f} s, "
          f"{seconds * 1e6 / len(shared):.1f} microseconds a file")


if __name__ == "__main__":
    main()
