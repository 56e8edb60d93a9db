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
source scripts/sanitizer-env.sh
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# --- Fuzzing, in CI only: each fuzz target for 60 s from its seed corpus (scripts/fuzz.sh) ---
if [ "${CI:-}" = true ]; then
  echo "== fuzzing, 60 s per target =="
  scripts/fuzz.sh 60
fi
