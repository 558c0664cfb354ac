#!/usr/bin/env bash
# orvane provision on 1 orvane-sim unit, then on 8 at once: wall time of
# each run, the ratio of the two, and the CPU time that orvane and its
# per-port processes spend per unit (the simulators' own time left out: they
# stand for the hardware).
#
#     bench/provision-bench.sh [UNITS] [BUILD_DIR]
#
# UNITS (8) units in the second run. Every unit must end verified.
set -euo pipefail
cd "$(dirname "$0")/.."
units=${1:-8}
build=${2:-build}
orvane=$build/orvane
sim=$build/orvane-sim
for program in "$orvane" "$sim"; do
    [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 2; }
done

work=$(mktemp -d)
sims=()
stop_sims() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    sims=()
}
trap 'stop_sims; rm -rf "$work"' EXIT
mkdir -p "$work/data" "$work/links"
cp tests/factory/fixtures/*.DAT tests/factory/fixtures/modules/*.COD "$work/data/"
# The copies of units and the settings stay in the scratch folder.
export XDG_DATA_HOME=$work/home XDG_CONFIG_HOME=$work/config

# Sets WALL and CPU, in seconds, for a run on ports 1..N.
provision() {
    local n=$1
    for port in $(seq 1 "$n"); do
        "$sim" --link "$work/links/COM$port" --quiet >/dev/null 2>&1 &
        sims+=($!)
    done
    for port in $(seq 1 "$n"); do
        while [ ! -L "$work/links/COM$port" ]; do sleep 0.1; done
    done
    local out=$work/out-$n
    local TIMEFORMAT='%R %U %S'
    { time "$orvane" provision --ports "1-$n" --product-code 1 --firmware 42 \
        --data "$work/data" --db "sqlite:$work/production-$n.sqlite" \
        --link-folder "$work/links" --yes >"$out" 2>&1; } 2>"$work/time-$n" || {
        cat "$out" >&2
        exit 1
    }
    stop_sims
    [ "$(grep -c ' verified in ' "$out")" -eq "$n" ] || { cat "$out" >&2; exit 1; }
    read -r WALL user system <"$work/time-$n"
    CPU=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
}

provision 1
wall1=$WALL cpu1=$CPU
provision "$units"
awk -v n="$units" -v w1="$wall1" -v c1="$cpu1" -v wn="$WALL" -v cn="$CPU" 'BEGIN {
    printf "%-6s %10s %14s\n", "units", "wall (s)", "CPU/unit (s)"
    printf "%-6d %10.1f %14.2f\n", 1, w1, c1
    printf "%-6d %10.1f %14.2f\n", n, wn, cn / n
    printf "ratio  %.3f (goal at most 1.25)\n", wn / w1
}'
