#!/usr/bin/env bash
# Cross-builds the Qt-free logic and its tests for 64-bit Windows with
# MinGW-w64 and runs every test program under Wine, headless, in a Wine
# prefix of its own that is removed afterwards. Installs the cross-compiler,
# Wine and GoogleTest's source when they are missing. Builds into the folder
# given (default: build-windows).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-windows}

scripts/install-deps.sh cmake make g++-mingw-w64-x86-64-posix wine64 googletest

cmake -S . -B "$dir" --toolchain cmake/mingw-w64-x86_64.cmake -DORVANE_LOGIC_ONLY=ON \
    -DORVANE_GTEST_SOURCE_DIR=/usr/src/googletest -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j "$(nproc)"

# No display, no Wine debug chatter, and no offer to install Mono or Gecko,
# which the tests do not use.
unset DISPLAY WAYLAND_DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
wine=$(sed -n 's/^ORVANE_WINE:FILEPATH=//p' "$dir/CMakeCache.txt")
if [ ! -x "$wine" ]; then
    echo "$dir was configured without Wine; remove $dir and run this script again." >&2
    exit 1
fi
wineserver=$(dirname "$wine")/wineserver
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/orvane-wine-XXXXXX")
export WINEPREFIX
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

# The prefix is made once before the programs start side by side.
if ! "$wine" wineboot --init >"$dir/wineboot.log" 2>&1; then
    cat "$dir/wineboot.log" >&2
    echo "Wine could not prepare its prefix in $WINEPREFIX (its words above)." >&2
    exit 1
fi
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"

# CTest counts programs; say how many test cases ran on Windows' C runtime.
awk '/^\[  PASSED  \] [0-9]+ test/ { passed += $4; programs++ }
     /^\[  SKIPPED \] [0-9]+ test/ { skipped += $4 }
     END { printf "Under Wine: %d test cases passed in %d programs, %d skipped\n",
                  passed, programs, skipped }' "$dir/Testing/Temporary/LastTest.log"
