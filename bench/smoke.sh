#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs each benchmark program of a build once, on a small dictionary made first
# by kelimbo-bench-data (with its StarDict twin and the format readers' sources),
# and the coverage program on the sample dictionaries, so that a benchmark that
# no longer works fails the test command. It measures nothing (bench/run.sh does).
#   bench/smoke.sh BUILD_FOLDER     (configured with -DKELIMBO_BUILD_BENCH=ON)
set -euo pipefail
if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_FOLDER" >&2
    exit 2
fi
bin=$1/bin
data=$1/bench-smoke
headwords=3000

# Made anew by every run, so that a change to the generator is always run.
rm -rf "$data"
"$bin/kelimbo-bench-data" "$data" "$headwords" --stardict "$data/stardict" smoke >/dev/null
"$bin/kelimbo-bench-data" "$data" "$headwords" --import-sources "$data/import" >/dev/null

export KELIMBO_BENCH_DATA=$data KELIMBO_BENCH_HEADWORDS=$headwords QT_QPA_PLATFORM=offscreen
programs=(kelimbo-bench)
[ -x "$bin/kelimbo-bench-window" ] && programs+=(kelimbo-bench-window)
status=0
for program in "${programs[@]}"; do
    log=$data/$program.log
    ran=0
    if "$bin/$program" --benchmark_min_time=0.001 >"$log" 2>&1; then
        ran=$(grep -c '^BM_' "$log" || true)
    fi
    if [ "$ran" -eq 0 ] || grep -q 'ERROR OCCURRED' "$log"; then
        echo "$program failed:"
        tail -n 20 "$log"
        status=1
    else
        echo "$program: $ran benchmarks ran once each"
    fi
done

# The format readers' program reads every source whole; the coverage program
# inflects the sample dictionaries' headwords (they are beside the programs).
readers=("stardict $data/import/import.ifo" "dsl $data/import/import.dsl")
for run in "${readers[@]}"; do
    set -- $run
    if ! articles=$("$bin/kelimbo-bench-read" "$1" "$2" | sed -n 's/^articles: //p') ||
        [ "${articles:-0}" -eq 0 ]; then
        echo "kelimbo-bench-read $1 failed"
        status=1
    else
        echo "kelimbo-bench-read $1: $articles articles"
    fi
done
if ! "$bin/kelimbo-forms-coverage" "$bin" >"$data/kelimbo-forms-coverage.log" 2>&1 ||
    ! grep -q '^  all ' "$data/kelimbo-forms-coverage.log"; then
    echo "kelimbo-forms-coverage failed:"
    tail -n 20 "$data/kelimbo-forms-coverage.log"
    status=1
else
    echo "kelimbo-forms-coverage: ran on the sample dictionaries"
fi
# The real-text coverage program, on two sentences of its own in each language.
corpus=$data/corpus
mkdir -p "$corpus/revo/revo" "$corpus/ru"
printf '<?xml version="1.0"?>\n<vortaro><art><kap><rad>hund</rad>/o</kap><drv><ekz>La <tld/>oj bojas al la kato.</ekz></drv></art></vortaro>\n' \
    >"$corpus/revo/revo/hund.xml"
printf 'Собаки лают на кошку.\n%%\n' >"$corpus/ru/smoke.u8"
if ! "$bin/kelimbo-corpus-coverage" --revo "$corpus/revo" --russian "$corpus/ru" "$bin" \
        >"$data/kelimbo-corpus-coverage.log" 2>&1 ||
    ! grep -q '^Esperanto: 3 tokens' "$data/kelimbo-corpus-coverage.log" ||
    ! grep -q '^Russian: 3 tokens' "$data/kelimbo-corpus-coverage.log"; then
    echo "kelimbo-corpus-coverage failed:"
    tail -n 20 "$data/kelimbo-corpus-coverage.log"
    status=1
else
    echo "kelimbo-corpus-coverage: ran on a corpus of two sentences"
fi
# The full-text index's benchmarks and the engines' comparison, on the
# generated dictionary (its Esperanto–Russian direction).
if KELIMBO_FULLTEXT_DIR="$data/$headwords" "$bin/kelimbo-bench-fulltext" \
        --benchmark_min_time=0.001 >"$data/kelimbo-bench-fulltext.log" 2>&1 &&
    [ "$(grep -c '^BM_' "$data/kelimbo-bench-fulltext.log")" -eq 4 ] &&
    ! grep -q 'ERROR OCCURRED' "$data/kelimbo-bench-fulltext.log"; then
    echo "kelimbo-bench-fulltext: 4 benchmarks ran"
else
    echo "kelimbo-bench-fulltext failed:"
    tail -n 20 "$data/kelimbo-bench-fulltext.log"
    status=1
fi
if [ -x "$bin/kelimbo-bench-fulltext-engines" ]; then
    for engine in fts5 xapian; do
        if "$bin/kelimbo-bench-fulltext-engines" "$data/$headwords" "$engine" "$data/engine" \
                >"$data/engines-$engine.log" 2>&1 &&
            grep -q '^common_word_median ' "$data/engines-$engine.log"; then
            echo "kelimbo-bench-fulltext-engines $engine: ran"
        else
            echo "kelimbo-bench-fulltext-engines $engine failed:"
            tail -n 20 "$data/engines-$engine.log"
            status=1
        fi
    done
fi
if [ -x "$bin/kelimbo-bench-handover" ]; then
    if "$bin/kelimbo-bench-handover" "$bin/kelimbo" "$data/$headwords" 3 >"$data/handover.log" 2>&1; then
        echo "kelimbo-bench-handover: 3 handovers"
    else
        echo "kelimbo-bench-handover failed:"
        tail -n 20 "$data/handover.log"
        status=1
    fi
fi
exit $status
