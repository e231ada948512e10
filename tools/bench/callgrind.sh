#!/usr/bin/env bash
# Instructions per game inside CallTheLogic: callgrind counts only what runs
# inside the entry while casino-bench plays its full-game benchmark, and the
# count is divided by the games begun (calls of NewGame). Instruction counts,
# unlike times, do not depend on what else the machine is doing.
#
#   tools/bench/callgrind.sh [build folder] [seconds]
#
# Prints the instructions per game; the profile stays in callgrind.bench.out
# in the build folder (read it with callgrind_annotate).
set -euo pipefail
build=${1:-build}
seconds=${2:-1}
out="$build/callgrind.bench.out"
valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect=CallTheLogic \
    --compress-strings=no --compress-pos=no \
    "$build/bin/casino-bench" --benchmark_filter=FullGame --benchmark_min_time="$seconds" \
    >/dev/null 2>&1
awk '/^summary:/ { total = $2 }
     /^cfn=/ { callee = substr($0, 5) }
     /^calls=/ { if (callee ~ /kzq::NewGame\(/) { split(substr($0, 7), a, " "); games += a[1] } }
     END { if (games == 0) { print "no games counted"; exit 1 }
           printf "games %d\ninstructions %d\ninstructions per game %d\n", games, total, total / games }' "$out"
