#!/usr/bin/env bash
# Installs the Debian packages the build, the program and its tests need, only those missing.
# apt-get update runs only when something must be installed, through sudo unless run as root:
# everything else (the build, the tests, the program) runs as the user who called the script.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev
  libboost-context-dev
  libgtest-dev googletest
  clang libclang-rt-14-dev  # the sanitizer tree; libFuzzer ships with clang's runtime
  xvfb xauth
)
if [ "${HYDROMON_WITH_BENCH:-0}" = 1 ]; then packages+=(libbenchmark-dev); fi

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
