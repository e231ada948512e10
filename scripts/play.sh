#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" qt6-qpa-plugins
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
# Only what the game needs: the program (with its pictures) and the library it
# loads; the tests are built by scripts/test.sh.
cmake --build build -j"$(nproc)" --target casinogui casino
exec build/bin/casinogui
