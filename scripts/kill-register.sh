#!/usr/bin/env bash
# Kills stations with SIGKILL at random moments while they issue serial
# numbers and record units in one production register, on each engine, and
# audits the database after every round: no number issued twice, none
# reported and lost, every number with its one first record, and (SQLite)
# the file's own integrity check.
#
#     scripts/kill-register.sh [KILLS] [BUILD_DIR] [SEED] [ENGINES]
#
# Each round starts two stations (ports 1 and 2) on a fresh production day,
# 100 days after the last round's, and kills them one after the other, so KILLS per engine (default 100) take
# KILLS/2 rounds. ENGINES is "sqlite postgresql" unless named.
set -euo pipefail
cd "$(dirname "$0")/.."
kills=${1:-100}
build=${2:-build}
RANDOM=${3:-1}
engines=${4:-sqlite postgresql}
stress=$build/bench/orvane_register_stress
[ -x "$stress" ] || { echo "missing $stress: build first" >&2; exit 2; }

source scripts/register-databases.sh
trap register_cleanup EXIT

# A moment this many milliseconds after a station started, at least the
# first: a station connects and opens its register within a few tens.
least_ms=10
most_ms=600

sleep_ms() {
    sleep "$(printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)))"
}

status=0
for engine in $engines; do
    register_database "$engine" kills
    url=$register_url
    logs=("$register_work/$engine-1.log" "$register_work/$engine-2.log")
    done_kills=0
    rounds=0
    ended_alone=0
    bad_audits=0
    while [ "$done_kills" -lt "$kills" ]; do
        rounds=$((rounds + 1))
        day=$(date -u -d "2025-01-01 + $((rounds * 100)) days" +%y%m%d)
        pids=()
        for port in 1 2; do
            "$stress" until-killed --db "$url" --port "$port" --day "$day" \
                --log "${logs[$((port - 1))]}" 2>>"$register_work/$engine-stations.err" &
            pids+=($!)
        done
        for pid in "${pids[@]}"; do
            sleep_ms $((least_ms + RANDOM % (most_ms - least_ms)))
            if kill -KILL "$pid" 2>/dev/null; then
                done_kills=$((done_kills + 1))
            else
                ended_alone=$((ended_alone + 1))
            fi
            wait "$pid" 2>/dev/null || true
        done
        if ! report=$("$stress" check --db "$url" "${logs[@]}"); then
            bad_audits=$((bad_audits + 1))
            echo "round $rounds: the audit failed:" >&2
            echo "$report" >&2
        fi
    done
    echo "== $engine: $done_kills kills in $rounds rounds," \
        "stations that ended before their kill $ended_alone, audits failed $bad_audits"
    echo "$report"
    if [ "$ended_alone" -gt 0 ]; then
        echo "what the stations said:" >&2
        sort "$register_work/$engine-stations.err" | uniq -c >&2
    fi
    [ "$ended_alone" -eq 0 ] && [ "$bad_audits" -eq 0 ] || status=1
done
exit $status
