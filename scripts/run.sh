#!/usr/bin/env bash
# Builds hydromon into build/, without the tests, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake --preset program > /dev/null
cmake --build --preset program
exec build/hydromon "$@"
