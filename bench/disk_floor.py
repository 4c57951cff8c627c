#!/usr/bin/env python3
"""What the disk alone needs to read a tree's files of shared sizes once: their
pages are dropped from the cache, then eight threads read them whole, in the order
the walk lists them. A search cannot read those files faster than this, so its time
beside this floor shows what the program adds to the disk.

With LIST, the same files are written there, one Windows path a line (UTF-8), size
group after size group as the search reads them, for bench/open_floor_bench.cpp.

usage: disk_floor.py FOLDER [LIST]
prints: floor: N files of shared sizes, S s, U microseconds a file, F folders deep
"""
import os
import queue
import sys
import threading
import time
from collections import Counter


def write_in_groups(shared, target):
    """The files of shared sizes (size, path), each size group whole, the groups in
    the order of their first file in the walk."""
    groups = {}
    for size, path in shared:
        groups.setdefault(size, []).append(path)
    with open(target, "w", encoding="utf-8") as out:
        for members in groups.values():
            for path in members:
                out.write("Z:" + os.path.abspath(path).replace("/", "\\") + "\n")


def main():
    paths = []
    for folder, _, names in os.walk(sys.argv[1]):
        for name in names:
            path = os.path.join(folder, name)
            paths.append((os.lstat(path).st_size, path))
    sizes = Counter(size for size, _ in paths)
    shared_sizes = [(size, path) for size, path in paths if size > 0 and sizes[size] > 1]
    shared = [path for _, path in shared_sizes]
    if len(sys.argv) > 2:
        write_in_groups(shared_sizes, sys.argv[2])
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
    depth = sum(path.count(os.sep) for path in shared) / len(shared)
    print(f"floor: {len(shared)} files of shared sizes, {seconds:.1f} s, "
          f"{seconds * 1e6 / len(shared):.1f} microseconds a file, {depth:.1f} folders deep")


if __name__ == "__main__":
    main()
