#!/usr/bin/env bash
# Builds the fuzz targets with clang (coverage and sanitizers in every library
# they use, see fuzz/CMakeLists.txt) and runs each for SECONDS, at most JOBS
# targets at a time (default 3), each on one core. Corpora grow in
# build-fuzz/corpus/<target> from the seeds in fuzz/seeds/<target>; crash
# inputs land in build-fuzz/findings/<target>/. Ends with executions, speed
# and findings per target.
#   scripts/fuzz.sh SECONDS [JOBS [TARGET...]]     targets: expand gedcom trailer date ini escape
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:?usage: scripts/fuzz.sh SECONDS [JOBS [TARGET...]]}
jobs=${2:-3}
shift $(($# >= 2 ? 2 : 1))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(expand gedcom trailer date ini escape)
scripts/deps.sh --fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENTHAUL_FUZZ=ON \
      -DBRENTHAUL_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target "${targets[@]/#/fuzz_}"

export SECS=$secs
run_one() {
    t=$1
    mkdir -p "build-fuzz/corpus/$t" "build-fuzz/findings/$t"
    # A finding ends the run of its target; its input is in findings/.
    ASAN_OPTIONS=abort_on_error=1 "build-fuzz/fuzz/fuzz_$t" -max_total_time="$SECS" -print_final_stats=1 \
        -timeout=10 -rss_limit_mb=4096 -artifact_prefix="build-fuzz/findings/$t/" \
        "build-fuzz/corpus/$t" "fuzz/seeds/$t" >"build-fuzz/fuzz_$t.log" 2>&1 || true
}
export -f run_one
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one {}'

printf '%-8s %14s %10s %9s\n' target executions execs/s findings
for t in "${targets[@]}"; do
    log="build-fuzz/fuzz_$t.log"
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
    speed=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log")
    found=$(find "build-fuzz/findings/$t" -type f | wc -l)
    printf '%-8s %14s %10s %9s\n' "$t" "${runs:-?}" "${speed:-?}" "$found"
done
