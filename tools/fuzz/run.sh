#!/usr/bin/env bash
# Builds the request fuzzer with clang++ (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs it for the given number
# of seconds (default 60). A crash, a sanitizer report or a failed check of
# the fuzzer makes this script fail; the input that did it is left in
# build-fuzz/ as crash-* (or leak-*, timeout-*).
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/build-fuzz"
mkdir -p "$out/obj" "$out/corpus" "$out/work"

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root/logic" -I"$root/wire")
sources=("$root"/logic/*.cpp "$root/tools/fuzz/fuzz_requests.cpp")

# Compile what changed, two files at a time.
stale=()
for src in "${sources[@]}"; do
    obj="$out/obj/$(basename "$src" .cpp).o"
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ "$0" -nt "$obj" ] ||
       [ -n "$(find "$root/logic" "$root/wire" -name '*.h' -newer "$obj" -print -quit)" ]; then
        stale+=("$src")
    fi
done
if [ ${#stale[@]} -gt 0 ]; then
    printf '%s\n' "${stale[@]}" | xargs -P 2 -I{} sh -c \
        'clang++ "$@" -c "{}" -o "'"$out"'/obj/$(basename "{}" .cpp).o"' _ "${flags[@]}"
fi
# Only the objects of today's sources: one of a source since removed would
# bring back its old code.
objects=()
for src in "${sources[@]}"; do objects+=("$out/obj/$(basename "$src" .cpp).o"); done
clang++ "${flags[@]}" "${objects[@]}" -o "$out/fuzz_requests"

# Every input saves the records file, and a save flushes it to the disk: in a
# folder in memory that costs nothing, on a real disk it slows the run a
# hundredfold.
work="$out/work"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    work="$(mktemp -d /dev/shm/casino-fuzz.XXXXXX)"
    trap 'rm -rf "$work"' EXIT
fi
cd "$work"
"$out/fuzz_requests" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" "$root/tools/fuzz/seeds"
