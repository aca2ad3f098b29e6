#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Times the format readers on 1,000,000-entry sources (StarDict with a plain and
# a dictzip .dict, a UTF-16 DSL file) and on Debian's Esperanto-English FreeDict
# dictionary: each read in turn, three rounds, time and peak RSS of each run.
#   bench/read_formats.sh [BUILD]     (BUILD defaults to build-perf)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"

ensure_packages dictzip dict-freedict-epo-eng
build=${1:-$KELIMBO_ROOT/build-perf}
sources=$build/bench-data/import-1000000
if [ ! -f "$sources/complete" ]; then
    "$build/bin/kelimbo-bench-data" "$build/bench-data" 1000000 --import-sources "$sources"
    mkdir -p "$sources/dz"
    cp "$sources/import.ifo" "$sources/import.idx" "$sources/import.dict" "$sources/dz/"
    dictzip "$sources/dz/import.dict" # replaces it with import.dict.dz
    touch "$sources/complete"
fi
for round in 1 2 3; do
    for run in "stardict $sources/import.ifo" "stardict $sources/dz/import.ifo" \
        "dsl $sources/import.dsl" "dictd /usr/share/dictd/freedict-epo-eng.index"; do
        set -- $run
        echo "round $round, $1 $(basename "$(dirname "$2")")/$(basename "$2"):" \
            "$("$build/bin/kelimbo-bench-read" "$1" "$2" | grep -E '^(articles|read time|peak RSS)' |
                tr '\n' ' ')"
    done
done
