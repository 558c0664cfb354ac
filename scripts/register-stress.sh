#!/usr/bin/env bash
# Four stations, as separate processes, issue serial numbers at once from one
# production register, on each engine in turn; the audit requires every
# number distinct, none lost and every record verified.
#
#     scripts/register-stress.sh [NUMBERS] [DAYS] [BUILD_DIR] [ENGINES]
#
# NUMBERS (10000) spread evenly over DAYS (40) production days; ENGINES is
# "sqlite postgresql" unless named.
set -euo pipefail
cd "$(dirname "$0")/.."
numbers=${1:-10000}
days=${2:-40}
build=${3:-build}
engines=${4:-sqlite postgresql}
stress=$build/bench/orvane_register_stress
[ -x "$stress" ] || { echo "missing $stress: build first" >&2; exit 2; }

source scripts/register-databases.sh
trap register_cleanup EXIT

status=0
for engine in $engines; do
    echo "== $engine"
    register_database "$engine" stress
    url=$register_url
    "$stress" run --db "$url" --processes 4 --numbers "$numbers" --days "$days" || status=1
done
exit $status
