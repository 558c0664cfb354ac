#!/usr/bin/env bash
# Kills the editor with SIGKILL at random moments while it saves, and checks
# after every kill that each file is whole (its old content or its new one,
# read back with the editor's own reader) and that no temporary file is left.
#
#     scripts/kill-saves.sh [KILLS] [BUILD_DIR] [SEED]
#
# The kills take turns: the real orvane-editor starting in a fresh program
# folder without DEFAULT.CFG (its start-up rewrite), then File > Save and
# File > Save As in a loop, driven by bench/orvane_save_driver on the real
# main window. Save and Save As keep their folder from kill to kill, so each
# save replaces what the previous, killed one left.
set -euo pipefail
cd "$(dirname "$0")/.."
kills=${1:-1000}
build=${2:-build}
RANDOM=${3:-1}
editor=$build/orvane-editor
driver=$build/bench/orvane_save_driver
for program in "$editor" "$driver"; do
    [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 2; }
done

export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/save" "$work/saveas"

# A moment up to this many milliseconds after the start; the start-up of Qt
# takes most of the first few hundred.
most_ms=1500

declare -A count=([startup]=0 [save]=0 [saveas]=0)
mid_save=0
whole=0
faults=0
left_behind=0
most_at_once=0
piled=0
for ((i = 1; i <= kills; i++)); do
    case $((i % 3)) in
    0) mode=startup ;;
    1) mode=save ;;
    2) mode=saveas ;;
    esac
    if [ "$mode" = startup ]; then
        folder=$work/startup
        rm -rf "$folder"
        mkdir "$folder"
        # The program folder is where the binary is: a hard link (or a copy)
        # puts it in the fresh folder.
        ln "$editor" "$folder/orvane-editor" 2>/dev/null || cp "$editor" "$folder/orvane-editor"
        "$folder/orvane-editor" >/dev/null 2>&1 &
    else
        folder=$work/$mode
        "$driver" "$mode" "$folder" $((i * 1000000)) >/dev/null 2>&1 &
    fi
    pid=$!
    delay_ms=$((RANDOM % most_ms))
    sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    count[$mode]=$((count[$mode] + 1))
    # Killed between the start and the end of a save?
    if [ "$mode" = startup ]; then
        [ -f "$folder/DEFAULT.CFG" ] || mid_save=$((mid_save + 1))
    elif tail -n 1 "$folder/saves.log" 2>/dev/null | grep -q '^begin'; then
        mid_save=$((mid_save + 1))
    fi

    report=$("$driver" check "$folder" 2>/dev/null) || true
    whole=$((whole + $(grep -c ' whole \(old\|new\)$\| missing old$' <<<"$report" || true)))
    bad=$(grep -v ' whole \(old\|new\)$\| missing old$\| temporary$' <<<"$report" || true)
    left=$(grep ' temporary$' <<<"$report" || true)
    if [ -n "$bad" ]; then
        faults=$((faults + 1))
        echo "kill $i ($mode after $delay_ms ms): $bad" >&2
    fi
    # A kill may leave a save's temporary file; the next saves of that file
    # remove it once no save can still be writing it. One older than a minute
    # was not removed: temporaries pile up.
    if [ -n "$left" ]; then
        left_behind=$((left_behind + 1))
        present=$(wc -l <<<"$left")
        [ "$present" -gt "$most_at_once" ] && most_at_once=$present
    fi
    stale=$(find "$folder" -maxdepth 1 -name '*.CFG.??????' -mmin +1)
    if [ -n "$stale" ]; then
        piled=$((piled + 1))
        echo "kill $i ($mode after $delay_ms ms): not removed: $stale" >&2
    fi
done

echo "kills: $kills (start-up rewrite ${count[startup]}, Save ${count[save]}," \
    "Save As ${count[saveas]})"
echo "kills before a save had ended (or, at start-up, before the file was written): $mid_save"
echo "files found whole (old or new content): $whole"
echo "kills after which a file was damaged, lost or foreign: $faults"
echo "checks that found a temporary file: $left_behind (at most $most_at_once at once)"
echo "checks that found one older than a minute (piling up): $piled"
[ "$faults" -eq 0 ] && [ "$piled" -eq 0 ]
