#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Compares two builds of kelimbo-index on the 1,000,000-entry import sources
# (StarDict, DSL, a TSV made from the StarDict) and on Reta Vortaro, A B A B:
# each input twice per program, the two alternating. Prints wall, CPU and peak
# RSS from /usr/bin/time -v, and whether both wrote the same bytes (cmp).
#   bench/import_ab.sh A/kelimbo-index B/kelimbo-index SOURCES [REVO_FOLDER]
# SOURCES holds import.ifo/.idx/.dict and import.dsl (kelimbo-bench-data CACHE
# 1000000 --import-sources SOURCES); import.tsv is made there on first use.
set -euo pipefail
a=$1 b=$2 sources=$3 revo=${4:-/work/shared/revo}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if [ ! -f "$sources/import.tsv" ]; then
    python3 - "$sources" <<'PY'
import struct, sys
folder = sys.argv[1]
idx = open(folder + "/import.idx", "rb").read()
data = open(folder + "/import.dict", "rb").read()
with open(folder + "/import.tsv", "wb") as tsv:
    i = 0
    while i < len(idx):
        j = idx.index(b"\0", i)
        offset, size = struct.unpack(">II", idx[j + 1:j + 9])
        text = data[offset:offset + size].replace(b"\\", b"\\\\").replace(b"\r", b"")
        tsv.write(idx[i:j] + b"\t" + text.replace(b"\t", b"\\t").replace(b"\n", b"\\n") + b"\n")
        i = j + 9
PY
fi
run() { # LABEL PROGRAM ARGS...
    local label=$1 program=$2
    shift 2
    rm -rf "$out/$label"
    /usr/bin/time -v -o "$out/time" "$program" "$@" --out "$out/$label" >"$out/summary.$label"
    echo "  $label: wall $(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$out/time")," \
        "user $(sed -n 's/.*User time (seconds): //p' "$out/time") s," \
        "system $(sed -n 's/.*System time (seconds): //p' "$out/time") s," \
        "peak RSS $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/time") KB"
}
inputs=("import stardict $sources/import.ifo --direction ru" "import dsl $sources/import.dsl --direction ru"
    "build --lang ru $sources/import.tsv")
[ -d "$revo" ] && inputs+=("revo $revo")
for input in "${inputs[@]}"; do
    echo "$input (load $(cut -d' ' -f1-3 /proc/loadavg))"
    for round in 1 2; do
        run A "$a" $input
        run B "$b" $input
        same=yes
        [ "$(ls "$out/A")" = "$(ls "$out/B")" ] || same=no
        for file in "$out"/A/*; do cmp -s "$file" "$out/B/$(basename "$file")" || same=no; done
        cmp -s "$out/summary.A" "$out/summary.B" || same="$same (the summaries differ)"
        echo "  round $round: the same files: $same"
    done
done
