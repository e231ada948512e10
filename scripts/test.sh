#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, a short fuzzing run
# of the request protocol, and the library's tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" qt6-qpa-plugins clang libclang-rt-14-dev \
    xvfb xauth xdotool imagemagick faketime dbus at-spi2-core python3-pyatspi \
    openbox orca speech-dispatcher libsm-dev libice-dev
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

bash tools/fuzz/run.sh "${FUZZ_SECONDS:-60}" > build/fuzz.log 2>&1 || {
    tail -n 60 build/fuzz.log
    echo "The request fuzzer failed; its log is build/fuzz.log."
    exit 1
}
grep -E '^Done [0-9]+ runs' build/fuzz.log || true

cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DCASINO_SANITIZE=ON \
      -DCASINO_BUILD_GUI=OFF -DCASINO_BUILD_TOOLS=OFF >/dev/null
cmake --build build-san -j"$jobs"
(cd build-san && ctest --output-on-failure -j"$jobs")
