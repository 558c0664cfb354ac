#!/usr/bin/env bash
# Uploads one configuration file to a unit and checks with `orvane compare`
# that the unit now holds it; no questions asked, for scripts and batches.
#
#   scripts/upload-and-check.sh PORT FILE.CFG [CATEGORIES] [-- orvane options]
#
# CATEGORIES is orvane's --only list (default: all). Exits 0 when the unit
# holds the file, otherwise with orvane's exit code (see `orvane --help`).
set -uo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 PORT FILE.CFG [CATEGORIES] [-- orvane options]" >&2
    exit 2
fi
port=$1 file=$2
shift 2
only=all
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    only=$1
    shift
fi
[ "${1:-}" = "--" ] && shift
orvane=${ORVANE:-orvane}

"$orvane" upload --port "$port" "$file" --only "$only" --yes "$@"
status=$?
if [ $status -ne 0 ]; then
    echo "upload of $file to COM$port failed (exit $status)" >&2
    exit $status
fi
"$orvane" compare "$file" --port "$port" --only "$only" "$@"
status=$?
case $status in
0) echo "COM$port holds $file" ;;
1) echo "COM$port differs from $file after the upload" >&2 ;;
*) echo "could not compare COM$port with $file (exit $status)" >&2 ;;
esac
exit $status
