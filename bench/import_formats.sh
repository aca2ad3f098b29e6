#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Times `kelimbo-index import` on a 1,000,000-entry StarDict dictionary, a DSL
# file of the same entries and Debian's Esperanto-English FreeDict dictionary:
# each imported in turn (A B C A B C ...), three rounds; wall time on a
# microsecond clock, CPU time and peak RSS from /usr/bin/time -v.
#   bench/import_formats.sh [BUILD]     (BUILD defaults to build-perf)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"

ensure_packages time dict-freedict-epo-eng
build=${1:-$KELIMBO_ROOT/build-perf}
sources=$build/bench-data/import-1000000
if [ ! -f "$sources/import.ifo" ] || [ ! -f "$sources/import.dsl" ]; then
    "$build/bin/kelimbo-bench-data" "$build/bench-data" 1000000 --import-sources "$sources"
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for round in 1 2 3; do
    for run in "stardict $sources/import.ifo ru" "dsl $sources/import.dsl ru" \
        "dictd /usr/share/dictd/freedict-epo-eng.index eo"; do
        set -- $run
        rm -rf "$out/dict"
        start=$(date +%s%N)
        /usr/bin/time -v -o "$out/time" "$build/bin/kelimbo-index" import "$1" "$2" \
            --direction "$3" --out "$out/dict" >"$out/summary"
        end=$(date +%s%N)
        echo "round $round, $1 $(basename "$2"): $(((end - start) / 1000)) us wall," \
            "$(sed -n 's/.*User time (seconds): //p' "$out/time") s user," \
            "$(sed -n 's/.*System time (seconds): //p' "$out/time") s system," \
            "peak RSS $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/time") KB;" \
            "$(grep -o '[0-9][0-9]* headwords;' "$out/summary")"
    done
done
