# SPDX-License-Identifier: GPL-2.0-or-later
# What bench/compare.sh and bench/compare_five.sh share, sourced by both: the
# build folder (their first argument), the generated 1,000,000-headword
# dictionary ($dict), its StarDict copy ($stardict) and the query list ($list),
# made when missing, and the timing and formatting helpers.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-perf}
bin=$build/bin
data=${KELIMBO_BENCH_DATA:-$build/bench-data}
count=1000000
queries=10000
rounds=${ROUNDS:-5}
runs=${RUNS:-200}

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

# Microseconds that a command takes, its input from the file $1, its output dropped.
elapsed_us() {
    local input=$1 start end
    shift
    start=$EPOCHREALTIME
    "$@" <"$input" >/dev/null 2>&1 || true
    end=$EPOCHREALTIME
    echo $((${end/./} - ${start/./}))
}

# "WALL CPU" in microseconds of a command, its input from the file $1, its
# output dropped: wall time from EPOCHREALTIME around it, CPU time (user +
# system) from bash's time keyword, which reads the child's resource usage.
# The CPU time moves much less than the wall time when other work shares the
# machine, so the streamed rows give both.
timed_us() {
    local input=$1 start end cpu user system
    shift
    start=$EPOCHREALTIME
    cpu=$({ TIMEFORMAT='%3U %3S'; time "$@" <"$input" >/dev/null 2>&1 || true; } 2>&1)
    end=$EPOCHREALTIME
    read -r user system <<<"${cpu##*$'\n'}"
    echo "$((${end/./} - ${start/./})) $(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1e6 }')"
}

# "median min max" of numbers, one a line.
summary() { sort -n | awk '{v[NR] = $1} END {printf "%d %d %d\n", v[int((NR + 1) / 2)], v[1], v[NR]}'; }
# "median p10 p90" of numbers, one a line.
percentiles() {
    sort -n | awk '{v[NR] = $1} END {
        p10 = v[int(NR * 0.1) > 0 ? int(NR * 0.1) : 1]; p90 = v[int(NR * 0.9) > 0 ? int(NR * 0.9) : 1]
        printf "%d %d %d\n", v[int((NR + 1) / 2)], p10, p90 }'
}
ms() { awk -v us="$1" 'BEGIN { printf "%.1f ms", us / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# Peak resident memory of a command in KB.
peak_kb() { /usr/bin/time -f %M "$@" </dev/null 2>&1 >/dev/null | tail -n 1; }
