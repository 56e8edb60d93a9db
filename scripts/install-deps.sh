#!/usr/bin/env bash
# scripts/install-deps.sh build|test|bench: installs the Debian packages a purpose needs, only
# those missing:
#   build  building and running the program;
#   test   building and running every test, in both trees, and fuzzing;
#   bench  the benchmark and the line-rate measurement.
# apt-get update runs only when something must be installed, through sudo unless run as root:
# everything else (the build, the tests, the program) runs as the user who called the script.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libboost-context-dev)
case "${1:-}" in
  build) ;;
  # libclang-rt-dev is the sanitizer runtime, libFuzzer included, of the clang "clang" installs.
  test) packages+=(libgtest-dev googletest clang libclang-rt-dev) ;;
  bench) packages+=(libbenchmark-dev xvfb) ;;
  *) echo "usage: scripts/install-deps.sh build|test|bench" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo > /dev/null; then
    echo "These packages are missing and sudo is not installed; install them as root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
