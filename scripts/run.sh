#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor with a virtual
# Orvane linked as COM1, so it can be tried without an instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build

sim_pid=""
editor_options=()
if [ -x build/orvane-sim ]; then
    build/orvane-sim --quiet --link build/COM1 --state build/orvane-sim.state &
    sim_pid=$!
    trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
    # Pointed at the virtual unit for this run; the working file keeps its
    # own port until the user saves.
    editor_options=(--port 1)
fi
build/orvane-editor "${editor_options[@]}"
