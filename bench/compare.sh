#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Side by side with sdcv on the generated 1,000,000-headword dictionary; sdcv
# reads a StarDict copy of it written from the same index and text file, and
# only that one (-x). Four rows, all from this one run:
#
#   1. 10,000 Russian queries streamed: `kelimbo-lookup --stdin` against
#      `sdcv -e` with the queries on its input, wall clock;
#   2. the same, kelimbo also printing the article of each exact hit
#      (`--articles`), as sdcv prints the article it finds;
#   3. one process per query: RUNS queries (default 200), each program started
#      once per query, wall clock of each start from spawn to exit;
#   4. the peak resident memory of one single-query process.
#
# Times come from bash's EPOCHREALTIME (microseconds) around each run, the
# programs alternating A B A B; rows 1 and 2 take ROUNDS rounds (default 5)
# and give the median and range, and below the table the same runs' CPU time
# (user + system, which other work on the machine moves far less), row 3 the median and the 10th-90th
# percentiles of every start, row 4 the largest peak over ROUNDS single queries
# (/usr/bin/time's "%M"). Note the load average printed first: other work on
# the machine slows both programs, not by the same share.
#
#   bench/compare.sh [BUILD_FOLDER]      (default: build-perf, built with the benchmarks)
#   ROUNDS=5 RUNS=200 bench/compare.sh build-perf
set -euo pipefail
source "$(dirname "$0")/compare_common.sh"

# Queries on its input for the streamed rows; -n for one word on the command line.
sdcv_args=(-e -x --data-dir "$stardict" --utf8-input --utf8-output)
kelimbo=("$bin/kelimbo-lookup" --dir "$dict")


echo "load before: $(uptime)"
# Warm up both once (page cache, sdcv's cached index).
elapsed_us "$list" sdcv "${sdcv_args[@]}" >/dev/null
elapsed_us "$list" "${kelimbo[@]}" --stdin >/dev/null

# Rows 1 and 2: A B A B, wall and CPU time of each run.
s1=() k1=() s2=() k2=() s1c=() k1c=() s2c=() k2c=()
for ((r = 0; r < rounds; r++)); do
    read -r w c < <(timed_us "$list" sdcv "${sdcv_args[@]}") && s1+=("$w") s1c+=("$c")
    read -r w c < <(timed_us "$list" "${kelimbo[@]}" --stdin) && k1+=("$w") k1c+=("$c")
    read -r w c < <(timed_us "$list" sdcv "${sdcv_args[@]}") && s2+=("$w") s2c+=("$c")
    read -r w c < <(timed_us "$list" "${kelimbo[@]}" --stdin --articles) && k2+=("$w") k2c+=("$c")
done
read -r s1m s1lo s1hi < <(printf '%s\n' "${s1[@]}" | summary)
read -r k1m k1lo k1hi < <(printf '%s\n' "${k1[@]}" | summary)
read -r s2m s2lo s2hi < <(printf '%s\n' "${s2[@]}" | summary)
read -r k2m k2lo k2hi < <(printf '%s\n' "${k2[@]}" | summary)
read -r s1cm s1clo s1chi < <(printf '%s\n' "${s1c[@]}" | summary)
read -r k1cm k1clo k1chi < <(printf '%s\n' "${k1c[@]}" | summary)
read -r s2cm s2clo s2chi < <(printf '%s\n' "${s2c[@]}" | summary)
read -r k2cm k2clo k2chi < <(printf '%s\n' "${k2c[@]}" | summary)

# Row 3: one process per query, the two alternating on the same query.
s3=() k3=()
while IFS= read -r query; do
    s3+=("$(elapsed_us /dev/null sdcv -n "${sdcv_args[@]}" -- "$query")")
    k3+=("$(elapsed_us /dev/null "${kelimbo[@]}" -- "$query")")
done < <(head -n "$runs" "$list")
read -r s3m s3lo s3hi < <(printf '%s\n' "${s3[@]}" | percentiles)
read -r k3m k3lo k3hi < <(printf '%s\n' "${k3[@]}" | percentiles)

# Row 4: peak RSS of one query, the largest over the rounds.
s4=0 k4=0
while IFS= read -r query; do
    s=$(peak_kb sdcv -n "${sdcv_args[@]}" -- "$query")
    k=$(peak_kb "${kelimbo[@]}" -- "$query")
    ((s > s4)) && s4=$s
    ((k > k4)) && k4=$k
done < <(head -n "$rounds" "$list")
echo "load after:  $(uptime)"

echo
echo "$queries Russian queries (half whole headwords, half 2-6-letter prefixes), $count headwords;"
echo "rows 1-2: median of $rounds runs each [range]; row 3: median of $runs starts each [p10-p90]"
echo
echo "| what | kelimbo-lookup | sdcv | sdcv / kelimbo | goal |"
echo "|---|---|---|---|---|"
echo "| $queries queries streamed (--stdin vs sdcv -e) | $(ms "$k1m") [$(ms "$k1lo")-$(ms "$k1hi")] | $(ms "$s1m") [$(ms "$s1lo")-$(ms "$s1hi")] | $(ratio "$s1m" "$k1m")x | >= 12x |"
echo "| the same, kelimbo printing each exact hit's article (--articles) | $(ms "$k2m") [$(ms "$k2lo")-$(ms "$k2hi")] | $(ms "$s2m") [$(ms "$s2lo")-$(ms "$s2hi")] | $(ratio "$s2m" "$k2m")x | >= 6x |"
echo "| one process per query ($runs runs) | $(ms "$k3m") [$(ms "$k3lo")-$(ms "$k3hi")] | $(ms "$s3m") [$(ms "$s3lo")-$(ms "$s3hi")] | $(ratio "$s3m" "$k3m")x | >= 1x (<= sdcv) |"
echo "| peak RSS, one query (largest of $rounds) | $k4 KB | $s4 KB | $(ratio "$s4" "$k4")x | >= 1x (<= sdcv) |"
echo
echo "CPU time (user + system) of rows 1-2, median of $rounds runs each [range]:"
echo
echo "| what | kelimbo-lookup | sdcv | sdcv / kelimbo |"
echo "|---|---|---|---|"
echo "| row 1, CPU | $(ms "$k1cm") [$(ms "$k1clo")-$(ms "$k1chi")] | $(ms "$s1cm") [$(ms "$s1clo")-$(ms "$s1chi")] | $(ratio "$s1cm" "$k1cm")x |"
echo "| row 2, CPU | $(ms "$k2cm") [$(ms "$k2clo")-$(ms "$k2chi")] | $(ms "$s2cm") [$(ms "$s2clo")-$(ms "$s2chi")] | $(ratio "$s2cm" "$k2cm")x |"
