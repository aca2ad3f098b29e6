#!/usr/bin/env bash
# Side by side: the same 10,000 Russian queries through sdcv (one process,
# queries on stdin, exact search) and through `kelimbo-lookup --stdin`, on the
# generated 1,000,000-headword dictionary; sdcv reads it as a StarDict
# dictionary written from the same index and text file. Prints wall time and
# peak resident memory of both and their ratios, and the peak memory of one
# single-query kelimbo-lookup against the two index files' size + 8 MB.
#
#   bench/compare.sh [BUILD_FOLDER]      (default: build-perf, built with the benchmarks)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-perf}
bin=$build/bin
data=${KELIMBO_BENCH_DATA:-$build/bench-data}
count=1000000
queries=10000

for tool in "$bin/kelimbo-bench-data" "$bin/kelimbo-lookup" sdcv /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (run bench/run.sh first)" >&2; exit 1; }
done

dict=$("$bin/kelimbo-bench-data" "$data" "$count")
stardict=$data/stardict
if [ ! -f "$stardict/dic/kelimbo_ru.ifo" ] || [ "$stardict/dic/kelimbo_ru.ifo" -ot "$dict/complete" ]; then
    "$bin/kelimbo-bench-data" "$data" "$count" --stardict "$stardict/dic" kelimbo_ru >/dev/null
fi
list=$data/queries_ru_$queries.txt
[ -f "$list" ] || "$bin/kelimbo-bench-data" "$data" "$count" --queries "$queries" >"$list"

# Runs a command under /usr/bin/time -v with stdin from the query list; prints
# "seconds kilobytes".
measure() {
    local report
    report=$(mktemp)
    /usr/bin/time -v "$@" <"$list" >/dev/null 2>"$report"
    awk -F': ' '
        /Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i] }
        /Maximum resident set size/ { kb = $2 }
        END { printf "%.3f %d\n", s, kb }' "$report"
    rm -f "$report"
}

run_sdcv() { measure sdcv -e --data-dir "$stardict" --utf8-input --utf8-output; }
run_kelimbo() { measure "$bin/kelimbo-lookup" --dir "$dict" --stdin; }

# Warm both up once (page cache, sdcv's own index cache), then take the median of three.
run_sdcv >/dev/null
run_kelimbo >/dev/null
median() { sort -n | sed -n 2p; }
sdcv_runs=$(for _ in 1 2 3; do run_sdcv; done)
kelimbo_runs=$(for _ in 1 2 3; do run_kelimbo; done)
sdcv_time=$(echo "$sdcv_runs" | awk '{print $1}' | median)
sdcv_kb=$(echo "$sdcv_runs" | awk '{print $2}' | median)
kelimbo_time=$(echo "$kelimbo_runs" | awk '{print $1}' | median)
kelimbo_kb=$(echo "$kelimbo_runs" | awk '{print $2}' | median)

echo "$queries queries, $count Russian headwords (median of 3 runs)"
printf '%-16s %12s %14s %16s\n' program "wall s" "peak RSS KB" "us per query"
printf '%-16s %12s %14s %16.1f\n' sdcv "$sdcv_time" "$sdcv_kb" "$(echo "$sdcv_time * 1000000 / $queries" | bc -l)"
printf '%-16s %12s %14s %16.1f\n' kelimbo-lookup "$kelimbo_time" "$kelimbo_kb" "$(echo "$kelimbo_time * 1000000 / $queries" | bc -l)"
if [ "$(echo "$kelimbo_time > 0" | bc -l)" = 1 ]; then
    printf 'time ratio sdcv / kelimbo-lookup:   %.1f\n' "$(echo "$sdcv_time / $kelimbo_time" | bc -l)"
fi
printf 'memory ratio sdcv / kelimbo-lookup: %.2f\n' "$(echo "$sdcv_kb / $kelimbo_kb" | bc -l)"

# One query, one process: peak memory against the two index files + 8 MB.
index_kb=$(( $(cat "$dict"/*.bsi | wc -c) / 1024 ))
report=$(mktemp)
/usr/bin/time -v "$bin/kelimbo-lookup" --dir "$dict" "$(head -n 1 "$list")" >/dev/null 2>"$report"
single=$(awk -F': ' '/Maximum resident/ {print $2}' "$report")
rm -f "$report"
echo "kelimbo-lookup, one query: peak RSS $single KB; index files $index_kb KB + 8192 KB = $((index_kb + 8192)) KB"
