#!/usr/bin/env bash
# Builds everything and runs every test headless: first with GCC, then a second tree built
# with clang and AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"
strict=OFF
if [ "${CI:-}" = true ]; then strict=ON; fi

echo "== GCC build =="
cmake --preset normal -DHYDROMON_WARNINGS_AS_ERRORS="$strict" > /dev/null
cmake --build --preset normal
ctest --preset normal -j "$jobs"

echo "== clang build with AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake --preset sanitize -DHYDROMON_WARNINGS_AS_ERRORS="$strict" > /dev/null
cmake --build --preset sanitize
source scripts/sanitizer-env.sh
ctest --preset sanitize -j "$jobs"

# --- Fuzzing, in CI only: each fuzz target for 60 s from its seed corpus (scripts/fuzz.sh) ---
if [ "${CI:-}" = true ]; then
  echo "== fuzzing, 60 s per target =="
  scripts/fuzz.sh 60
fi
