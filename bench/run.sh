#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what the benchmarks need, builds them in build-perf and runs them:
# every benchmark (median of 5 repetitions), the window benchmarks, start-up
# in a fresh process, the side-by-side with sdcv, then the format readers.
#   bench/run.sh [extra Google Benchmark options, e.g. --benchmark_filter=FindPrefix]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"

ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev wesperanto hunspell-ru sdcv time bc \
    apertium-rus-ukr apertium-eo-en fortunes-ru
build=$KELIMBO_ROOT/build-perf
cmake -S "$KELIMBO_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKELIMBO_BUILD_BENCH=ON -DBUILD_TESTING=OFF
cmake --build "$build" -j 2 --target kelimbo-bench kelimbo-bench-data kelimbo-lookup kelimbo-bench-window \
    kelimbo-bench-read kelimbo-forms-coverage kelimbo_sample_data kelimbo-index kelimbo-corpus-coverage

"$build/bin/kelimbo-bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.5 "$@"
"$build/bin/kelimbo-bench-window" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.5 "$@"
# Start-up to the shown window in a fresh process, 1,000,000 headwords per index.
for _ in 1 2 3 4 5; do
    /usr/bin/time -f "start-up to the window, fresh process: %e s, peak RSS %M KB" \
        "$build/bin/kelimbo-bench-window" --start-once "$build/bench-data/1000000" 2>&1 | grep start-up
done
"$KELIMBO_ROOT/bench/compare.sh" "$build"
# The share of inflected forms that reach their headword, on the sample dictionaries.
"$build/bin/kelimbo-forms-coverage" "$build/bin"
# The share of real running text that reaches an entry, on Reta Vortaro's
# dictionary (when its XML folder is there: REVO, by default ../shared/revo).
revo=${REVO:-$KELIMBO_ROOT/../shared/revo}
if [ -d "$revo/revo" ]; then
    "$build/bin/kelimbo-index" revo "$revo" --out "$build/revo-dictionary" >/dev/null
    "$build/bin/kelimbo-corpus-coverage" --revo "$revo" "$build/revo-dictionary"
fi
"$KELIMBO_ROOT/bench/read_formats.sh" "$build"
"$KELIMBO_ROOT/bench/import_formats.sh" "$build"
