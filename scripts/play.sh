#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" qt6-qpa-plugins
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/bin/casinogui ]; then
    exec build/bin/casinogui
else
    echo "The library is built (build/bin/libcasino.so); the game program is not there yet."
fi
