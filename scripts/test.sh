#!/usr/bin/env bash
# Builds everything and runs every test headless: first with GCC, then a second tree built
# with clang and AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"
strict=OFF
if [ "${CI:-}" = true ]; then strict=ON; fi

echo "== GCC build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHYDROMON_WARNINGS_AS_ERRORS="$strict" > /dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== clang build with AddressSanitizer and UndefinedBehaviorSanitizer =="
CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DHYDROMON_SANITIZE=ON -DHYDROMON_WARNINGS_AS_ERRORS="$strict" > /dev/null
cmake --build build-sanitize
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# --- Fuzzing, in CI only: each fuzz target for 60 s from its seed corpus (scripts/fuzz.sh) ---
if [ "${CI:-}" = true ]; then
  echo "== fuzzing, 60 s per target =="
  scripts/fuzz.sh 60
fi
