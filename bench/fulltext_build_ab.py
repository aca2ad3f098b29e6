#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Compares two builds of `kelimbo-index fulltext`, A B A B.

    bench/fulltext_build_ab.py A/kelimbo-index B/kelimbo-index FOLDER... [--rounds N]
    bench/fulltext_build_ab.py A/kelimbo-index B/kelimbo-index --revo REVO [--rounds N]

Each FOLDER is a dictionary folder (its .txt and .bsi files); it is only
read: each program writes into a folder of its own holding links to them.
Every round runs A then B on each folder and prints the wall time (a
monotonic clock read to the microsecond), the CPU time and the peak memory
of each run, and the rate in MB of article text per second (the text the
program reports it indexed, 10^6 bytes a MB). At the end it says whether A
and B wrote the same indexes: the same terms at the same places of the same
rows, the same rows and the same recorded text identity. The files' bytes
may differ where the engine's segments are laid out otherwise.

With --revo, each round runs the whole import `kelimbo-index revo REVO --out
DIR` of A then B instead, and prints the same figures but the rate: the
import time that writing the full-text indexes adds is B's time less that of
an A that writes none.
"""
import argparse
import hashlib
import os
import re
import shutil
import sqlite3
import statistics
import subprocess
import tempfile
import time

FILES = ["EoRu_kelimbo.txt", "EoRu_kelimbo.bsi",
         "tarnesk_rusa_esperanto.txt", "tarnesk_rusa_esperanto.bsi"]
INDEXES = ["EoRu_kelimbo.fts", "tarnesk_rusa_esperanto.fts"]


def linked(folder, into):
    os.makedirs(into)
    for name in FILES:
        source = os.path.join(folder, name)
        if os.path.exists(source):
            os.symlink(os.path.realpath(source), os.path.join(into, name))


def run(program, folder, revo=None):
    command = [program, "revo", revo, "--out", folder] if revo else [program, "fulltext", folder]
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE)
    output = process.stdout.read().decode()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        raise SystemExit(f"{' '.join(command)} failed: {status}")
    text = sum(int(n) for n in re.findall(r"(\d+) bytes of article text", output))
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, text


def digest(path, scratch):
    copy = os.path.join(scratch, "digest.db")
    shutil.copyfile(path, copy)
    db = sqlite3.connect(copy)
    db.execute("CREATE VIRTUAL TABLE temp.v USING fts5vocab(main, body, instance)")
    h = hashlib.sha256()
    for query in ("SELECT term, doc, offset FROM temp.v ORDER BY term, doc, offset",
                  "SELECT id, headword, hex(refs) FROM entry ORDER BY id",
                  "SELECT key, value FROM kelimbo_fulltext ORDER BY key"):
        for row in db.execute(query):
            h.update(repr(row).encode())
    db.close()
    return h.hexdigest()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("a")
    parser.add_argument("b")
    parser.add_argument("folders", nargs="*")
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--revo")
    args = parser.parse_args()
    scratch = tempfile.mkdtemp()
    try:
        if args.revo:
            walls = {"A": [], "B": []}
            for round_ in range(args.rounds):
                for label, program in (("A", args.a), ("B", args.b)):
                    out = os.path.join(scratch, f"revo{label}")
                    shutil.rmtree(out, ignore_errors=True)
                    wall, cpu, rss, _ = run(program, out, args.revo)
                    walls[label].append(wall)
                    print(f"  round {round_ + 1} {label}: wall {wall:.6f} s, CPU {cpu:.3f} s,"
                          f" peak RSS {rss} KB")
            a, b = statistics.median(walls["A"]), statistics.median(walls["B"])
            print(f"  median wall A {a:.6f} s, B {b:.6f} s: B takes {b - a:+.6f} s more")
        for n, folder in enumerate(args.folders):
            places = {}
            for label in "AB":
                places[label] = os.path.join(scratch, f"{n}{label}")
                linked(folder, places[label])
            with open("/proc/loadavg") as load:
                print(f"{folder} (load {' '.join(load.read().split()[:3])})")
            walls = {"A": [], "B": []}
            for round_ in range(args.rounds):
                for label, program in (("A", args.a), ("B", args.b)):
                    wall, cpu, rss, text = run(program, places[label])
                    walls[label].append(wall)
                    print(f"  round {round_ + 1} {label}: wall {wall:.6f} s, CPU {cpu:.3f} s,"
                          f" peak RSS {rss} KB, {text / 1e6:.2f} MB of text:"
                          f" {text / 1e6 / wall:.1f} MB/s")
            a, b = statistics.median(walls["A"]), statistics.median(walls["B"])
            print(f"  median wall A {a:.6f} s, B {b:.6f} s: B takes {b / a:.2f}× A's time")
            same = all(digest(os.path.join(places["A"], name), scratch) ==
                       digest(os.path.join(places["B"], name), scratch)
                       for name in INDEXES if os.path.exists(os.path.join(places["A"], name)))
            print(f"  the same indexes: {'yes' if same else 'NO'}")
    finally:
        shutil.rmtree(scratch)


if __name__ == "__main__":
    main()
