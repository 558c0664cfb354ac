#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: in a fresh temporary folder,
# listening on a Unix socket there only, run by an unprivileged user (the
# postgres system user when started as root, which PostgreSQL requires).
# "start" writes the URL of its database "orvane" to STATE and the folder to
# STATE.folder; "stop" stops the cluster they name and removes the folder.
#
#     scripts/postgres-cluster.sh start|stop STATE
set -euo pipefail
action=${1:-}
state=${2:-}
if [ -z "$state" ] || { [ "$action" != start ] && [ "$action" != stop ]; }; then
    echo "usage: $0 start|stop STATE" >&2
    exit 2
fi

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ ! -x "$bindir/initdb" ]; then
    echo "PostgreSQL's server is not installed: run scripts/install-deps.sh (Debian: postgresql)" >&2
    exit 1
fi

root=false
[ "$(id -u)" -eq 0 ] && root=true
as_owner() {
    if $root; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop_cluster() {
    [ -f "$state.folder" ] || return 0
    local folder
    folder=$(cat "$state.folder")
    if [ -f "$folder/data/postmaster.pid" ]; then
        as_owner "$bindir/pg_ctl" -D "$folder/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$folder"
    rm -f "$state" "$state.folder" "$state.log"
}

if [ "$action" = stop ]; then
    stop_cluster
    exit 0
fi

# A cluster left behind by a run that was itself killed goes first.
stop_cluster
if $root; then
    id postgres >/dev/null 2>&1 || { echo "no postgres user: install Debian's postgresql" >&2; exit 1; }
    if ! runuser -u postgres -- test -x "$bindir/initdb"; then
        echo "the postgres user cannot run $bindir/initdb: a folder on its way is closed" \
            "to other users ($(stat -c '%A %n' / /usr /usr/lib/postgresql | tr '\n' ' '))" >&2
        exit 1
    fi
    # The postgres user must reach the folder, so not under root's TMPDIR.
    folder=$(mktemp -d /tmp/orvane-postgres-XXXXXX)
    chown postgres: "$folder"
else
    folder=$(mktemp -d "${TMPDIR:-/tmp}/orvane-postgres-XXXXXX")
fi
chmod 700 "$folder"
echo "$folder" >"$state.folder"

# Trust is safe here: only the owner (and root) can reach the socket folder.
if ! as_owner "$bindir/initdb" -D "$folder/data" -U orvane --auth=trust -E UTF8 --no-locale \
    >"$state.log" 2>&1; then
    cat "$state.log" >&2
    stop_cluster
    exit 1
fi
if ! as_owner "$bindir/pg_ctl" -D "$folder/data" -l "$folder/data/server.log" -w -t 60 \
    -o "-c listen_addresses='' -k $folder" start >>"$state.log" 2>&1; then
    cat "$state.log" "$folder/data/server.log" >&2 || true
    stop_cluster
    exit 1
fi
as_owner "$bindir/createdb" -h "$folder" -U orvane orvane
echo "postgresql://orvane@/orvane?host=$folder" >"$state"
echo "PostgreSQL cluster on $folder"
