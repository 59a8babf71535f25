#!/usr/bin/env bash
# Builds everything and runs every test; then the core tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
# In CI the real GEDCOM files must be there: their tests fail rather than skip.
shared=OFF
[ "${CI:-}" = "true" ] && shared=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRENTHAUL_REQUIRE_SHARED_DATA=$shared >/dev/null
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" -DBRENTHAUL_CORE_ONLY=ON \
      -DBRENTHAUL_SANITIZE=ON -DBRENTHAUL_BENCH=OFF -DBRENTHAUL_REQUIRE_SHARED_DATA=$shared >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$jobs")
