#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Five dictionaries side by side with sdcv: the generated 1,000,000-headword
# dictionary five times over, as the data folder's own pair plus four added
# dictionaries (dictionaries/d2 … d5, their files links to the same ones) for
# kelimbo-lookup, and as five StarDict dictionaries (each its own .ifo with
# its own name, the .idx and .dict links to the one StarDict copy) for sdcv.
# Every headword is then in all five, the most work a merge can have.
#
#   1. one process per query: RUNS Russian queries (default 200), each program
#      started once per query, A B A B, wall clock of each start from spawn to
#      exit (bash's EPOCHREALTIME); kelimbo-lookup with --articles, so that it
#      prints every exact hit's articles, of all five, as sdcv does;
#   2. the peak resident memory of one single-query process (/usr/bin/time's
#      "%M"), the largest over ROUNDS queries (default 5).
#
#   bench/compare_five.sh [BUILD_FOLDER]      (default: build-perf)
set -euo pipefail
source "$(dirname "$0")/compare_common.sh"
# The links below name them from elsewhere.
dict=$(cd "$dict" && pwd)
stardict=$(cd "$stardict" && pwd)

# The five, made anew each run from the one dictionary.
five=$data/five
rm -rf "$five" "$data/stardict5"
mkdir -p "$five" "$data/stardict5/dic"
for file in EoRu_kelimbo.txt EoRu_kelimbo.bsi tarnesk_rusa_esperanto.txt tarnesk_rusa_esperanto.bsi; do
    ln -s "$dict/$file" "$five/$file"
    for n in 2 3 4 5; do
        mkdir -p "$five/dictionaries/d$n"
        ln -s "$dict/$file" "$five/dictionaries/d$n/$file"
    done
done
for n in 1 2 3 4 5; do
    sed "s/^bookname=.*/bookname=kelimbo $n/" "$stardict/dic/kelimbo_ru.ifo" \
        >"$data/stardict5/dic/kelimbo_ru$n.ifo"
    ln -s "$stardict/dic/kelimbo_ru.idx" "$data/stardict5/dic/kelimbo_ru$n.idx"
    ln -s "$stardict/dic/kelimbo_ru.dict" "$data/stardict5/dic/kelimbo_ru$n.dict"
done

sdcv_args=(-n -x --data-dir "$data/stardict5" --utf8-input --utf8-output)
kelimbo=("$bin/kelimbo-lookup" --dir "$five" --articles)
[ "$("$bin/kelimbo-lookup" --dir "$five" --open 0 "$(head -n 1 "$list")" | grep -c '^— ')" = 5 ] ||
    { echo "kelimbo-lookup does not answer from five dictionaries" >&2; exit 1; }

echo "load before: $(uptime)"
elapsed_us /dev/null sdcv "${sdcv_args[@]}" -- "$(head -n 1 "$list")" >/dev/null
elapsed_us /dev/null "${kelimbo[@]}" -- "$(head -n 1 "$list")" >/dev/null

s1=() k1=()
while IFS= read -r query; do
    s1+=("$(elapsed_us /dev/null sdcv "${sdcv_args[@]}" -- "$query")")
    k1+=("$(elapsed_us /dev/null "${kelimbo[@]}" -- "$query")")
done < <(head -n "$runs" "$list")
read -r s1m s1lo s1hi < <(printf '%s\n' "${s1[@]}" | percentiles)
read -r k1m k1lo k1hi < <(printf '%s\n' "${k1[@]}" | percentiles)

s2=0 k2=0
while IFS= read -r query; do
    s=$(peak_kb sdcv "${sdcv_args[@]}" -- "$query")
    k=$(peak_kb "${kelimbo[@]}" -- "$query")
    ((s > s2)) && s2=$s
    ((k > k2)) && k2=$k
done < <(head -n "$rounds" "$list")
echo "load after:  $(uptime)"

echo
echo "five dictionaries of $count headwords; row 1: median of $runs starts each [p10-p90]"
echo
echo "| what | kelimbo-lookup | sdcv | sdcv / kelimbo | goal |"
echo "|---|---|---|---|---|"
echo "| one process per query ($runs runs) | $(ms "$k1m") [$(ms "$k1lo")-$(ms "$k1hi")] | $(ms "$s1m") [$(ms "$s1lo")-$(ms "$s1hi")] | $(ratio "$s1m" "$k1m")x | >= 1x (<= sdcv) |"
echo "| peak RSS, one query (largest of $rounds) | $k2 KB | $s2 KB | $(ratio "$s2" "$k2")x | >= 1x (<= sdcv) |"
