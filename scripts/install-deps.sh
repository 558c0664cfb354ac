#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, run and test, or
# the packages named on the command line.
# Only what is missing is installed, so a second run costs nothing.
set -euo pipefail

packages=(
    build-essential cmake
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-serialport-dev qt6-charts-dev libgl-dev
    libqt6sql6-sqlite libqt6sql6-psql
    libgtest-dev
    # the production register's tests run a private PostgreSQL server
    postgresql
    fonts-dejavu-core
)
# Other scripts name the extra packages they need.
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
# The tests start a private PostgreSQL cluster of their own. The package's
# default cluster, a system service, is not wanted, and cannot even be made
# where the postgres user cannot reach the root folder (a chroot): say so
# before the package is installed, unless the machine has said otherwise.
cluster_config=/etc/postgresql-common/createcluster.conf
if [[ " ${missing[*]} " == *" postgresql "* ]] && [ ! -e "$cluster_config" ]; then
    $sudo mkdir -p "$(dirname "$cluster_config")"
    echo "create_main_cluster = false" | $sudo tee "$cluster_config" >/dev/null
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold "${missing[@]}"
