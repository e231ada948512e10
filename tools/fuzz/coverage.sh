#!/usr/bin/env bash
# How much of the library the fuzz corpus reaches. Builds the request fuzzer
# with clang's source-based coverage (no sanitizers) in build-fuzz/cov, runs
# every input of the corpus once (build-fuzz/corpus, which run.sh grows, and
# the seeds) and prints llvm-cov's report: line and branch coverage of the
# library's files given (all of logic/ by default).
#
#   coverage.sh [FILE...]        e.g. coverage.sh logic/files.cpp
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/build-fuzz/cov"
mkdir -p "$out" "$root/build-fuzz/corpus"
tool() {  # the versioned name where only that is installed
    command -v "$1" || command -v "$1-14" || { echo "coverage.sh: $1 is missing" >&2; exit 1; }
}
profdata=$(tool llvm-profdata)
cov=$(tool llvm-cov)

clang++ -std=c++20 -O1 -g -fsanitize=fuzzer -fprofile-instr-generate -fcoverage-mapping \
    -I"$root/logic" -I"$root/wire" "$root"/logic/*.cpp "$root/tools/fuzz/fuzz_requests.cpp" \
    -o "$out/fuzz_cov"

work="$(mktemp -d "${TMPDIR:-/tmp}/casino-cov.XXXXXX")"
trap 'rm -rf "$work"' EXIT
rm -f "$out"/*.profraw
(cd "$work" && LLVM_PROFILE_FILE="$out/run.profraw" "$out/fuzz_cov" -runs=0 \
    "$root/build-fuzz/corpus" "$root/tools/fuzz/seeds" >"$out/run.log" 2>&1) ||
    { tail -n 20 "$out/run.log"; exit 1; }
"$profdata" merge -sparse "$out/run.profraw" -o "$out/run.profdata"

files=()
for file in "${@:-$root/logic}"; do files+=("$(cd "$root" && realpath "$file")"); done
"$cov" report "$out/fuzz_cov" -instr-profile="$out/run.profdata" "${files[@]}"
