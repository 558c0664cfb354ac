#!/usr/bin/env bash
# Builds the Debian package (orvane-editor, orvane-sim, orvane, the desktop
# entry, icon, metainfo and manual pages) in build-package/ and prints its path,
# size and its dependencies (those dpkg-shlibdeps computed, and Qt's SQL
# drivers, which it cannot see). Install it with
#   sudo apt-get install ./build-package/orvane-editor_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-package

scripts/install-deps.sh
# dpkg-shlibdeps computes Depends, and CPack finds the programs with file;
# the two validators check the desktop entry and the AppStream metainfo.
scripts/install-deps.sh dpkg-dev file desktop-file-utils appstream

desktop-file-validate packaging/orvane-editor.desktop
appstreamcli validate --no-net packaging/*.metainfo.xml

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"

rm -f "$dir"/*.deb
if ! (cd "$dir" && cpack -G DEB >cpack.log 2>&1); then
    cat "$dir/cpack.log"
    exit 1
fi
deb=$(ls "$dir"/*.deb)
echo "Package: $deb"
echo "Size: $(du -h "$deb" | cut -f1) ($(stat -c %s "$deb") bytes)"
dpkg-deb -I "$deb" | grep -E '^ (Depends|Recommends|Installed-Size):'
