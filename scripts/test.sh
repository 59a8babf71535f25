#!/usr/bin/env bash
# Builds everything and runs every test; then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer; then builds every fuzz
# target with clang and libFuzzer and replays its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --gui --fuzz
jobs=$(nproc)
# In CI the real GEDCOM files must be there: their tests fail rather than skip.
shared=OFF
[ "${CI:-}" = "true" ] && shared=ON
# Warnings fail this build, so none creep back in.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENTHAUL_REQUIRE_SHARED_DATA=$shared \
      -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DBRENTHAUL_CORE_ONLY=ON \
      -DBRENTHAUL_SANITIZE=ON -DBRENTHAUL_BENCH=OFF -DBRENTHAUL_REQUIRE_SHARED_DATA=$shared >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")
# The fuzz build as scripts/fuzz.sh makes it, so it cannot break unseen; each
# target runs its seeds and kept crash inputs once.
shopt -s nullglob
targets=()
for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENTHAUL_FUZZ=ON \
      -DBRENTHAUL_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target "${targets[@]}"
for t in "${targets[@]}"; do
  inputs=(fuzz/seeds/"${t#fuzz_}"/* fuzz/regressions/"${t#fuzz_}"/*)
  [ ${#inputs[@]} -eq 0 ] && continue
  ASAN_OPTIONS=abort_on_error=1 "build-fuzz/fuzz/$t" "${inputs[@]}" >"build-fuzz/$t-replay.log" 2>&1 ||
    { cat "build-fuzz/$t-replay.log"; echo "$t failed on its seeds"; exit 1; }
done
echo "Fuzz targets built and their seeds replayed: ${targets[*]#fuzz_}"
