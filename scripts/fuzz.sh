#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/*Fuzz.cpp) with clang and runs each for
# the given number of minutes (default 1; fractions allowed), from its seed
# corpus and with its dictionary. Installs clang and its fuzzer runtime when
# they are missing. Inputs that raise coverage are kept in
# build-fuzz/corpus/<target>; a crash stops the run with the input's path.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-1}
seconds=$(awk -v m="$minutes" 'BEGIN { s = int(m * 60); print (s < 1 ? 1 : s) }')

scripts/install-deps.sh clang libclang-rt-14-dev

CXX=clang++ cmake -S . -B build-fuzz -DORVANE_FUZZ=ON -DORVANE_BUILD_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=$(basename -s .cpp fuzz/*Fuzz.cpp)
# shellcheck disable=SC2086
cmake --build build-fuzz -j "$(nproc)" --target $targets

for target in $targets; do
    corpus=build-fuzz/corpus/$target
    log=build-fuzz/$target.log
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build-fuzz/$target-")
    [ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
    seeds=()
    [ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
    if ! "build-fuzz/fuzz/$target" "${options[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        tail -n 30 "$log"
        echo "$target: crash or leak found (log: $log)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
    echo "$target: $runs runs in ${seconds} s, $cov, no findings"
done
