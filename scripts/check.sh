#!/usr/bin/env bash
# Builds everything from scratch and runs every test. On a fresh machine it
# first installs what the build and the tests need (as root, with apt-get).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev)
# The Windows executable: its cross-compiler, and Wine to run it.
packages+=(g++-mingw-w64-x86-64 wine64)
bash scripts/install-packages.sh "${packages[@]}"

jobs=$(nproc 2>/dev/null || echo 2)

echo "== Release build and tests"
rm -rf build/check
cmake -S . -B build/check -DCMAKE_BUILD_TYPE=Release
cmake --build build/check -j "$jobs"
ctest --test-dir build/check --output-on-failure -j "$jobs"

echo "== Windows build, run under Wine and compared with the Linux build"
bash scripts/check-windows.sh build/check

bash scripts/check-sanitizers.sh
