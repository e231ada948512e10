#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, the library again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" qt6-qpa-plugins clang libclang-rt-14-dev \
    xvfb xauth xdotool imagemagick
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DCASINO_SANITIZE=ON \
      -DCASINO_BUILD_GUI=OFF -DCASINO_BUILD_TOOLS=OFF >/dev/null
cmake --build build-san -j"$jobs"
(cd build-san && ctest --output-on-failure -j"$jobs")

if [ -f tools/fuzz/run.sh ]; then
    bash tools/fuzz/run.sh "${FUZZ_SECONDS:-60}"
fi
