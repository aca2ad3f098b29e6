#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Compares two kelimbo-lookup programs byte for byte on one dictionary folder:
# for every query of a list (UTF-8, one a line) the list with its range, then
# the reader's text of every line of that list (--open K), with each exit
# status. The two programs answer each query in turn; their answers go to
# OUT/a.txt and OUT/b.txt, which are compared with cmp.
#
#   tools/dev/compare-lookup.sh LOOKUP_A LOOKUP_B DICT_FOLDER QUERIES OUT
set -euo pipefail
if [ $# -ne 5 ]; then
    echo "usage: $0 LOOKUP_A LOOKUP_B DICT_FOLDER QUERIES OUT" >&2
    exit 2
fi
a=$1 b=$2 dir=$3 queries=$4 out=$5
mkdir -p "$out"
: >"$out/a.txt"
: >"$out/b.txt"

# One program's answers to one query, appended to a file.
answer() {
    local program=$1 query=$2 file=$3 lines k status
    {
        printf '== %s\n' "$query"
        status=0
        "$program" --dir "$dir" --range -- "$query" || status=$?
        echo "status $status"
        lines=$("$program" --dir "$dir" -- "$query" 2>/dev/null | wc -l) || true
        for ((k = 0; k < lines; k++)); do
            printf -- '-- open %d\n' "$k"
            status=0
            "$program" --dir "$dir" --open "$k" -- "$query" || status=$?
            echo "status $status"
        done
    } >>"$file" 2>&1
}

count=0
while IFS= read -r query || [ -n "$query" ]; do
    answer "$a" "$query" "$out/a.txt"
    answer "$b" "$query" "$out/b.txt"
    count=$((count + 1))
done <"$queries"
opens=$(grep -c '^-- open ' "$out/a.txt" || true)
echo "$count queries, $opens --open answers each; $(wc -c <"$out/a.txt") bytes from A"
cmp "$out/a.txt" "$out/b.txt" && echo "identical"
