#!/usr/bin/env bash
# Installs what Quorbel needs to build and run its tests on Debian or Ubuntu; with the argument
# "fuzz" also what the fuzzing harnesses need (clang and its libFuzzer runtime).
# Does nothing when every package is already present.
set -euo pipefail

packages=(
    build-essential
    cmake
    make
    qt6-base-dev
    qt6-svg-dev
    libgl-dev
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    fonts-dejavu-core
    xdg-utils
    python3-scikit-rf
)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
