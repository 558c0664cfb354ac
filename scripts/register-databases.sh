# Sourced by the production register's stress and kill scripts: fresh, empty
# databases on each engine, removed again by register_cleanup.
#
#     register_database sqlite|postgresql NAME   sets register_url to a new one
#
# Called in the script's own shell (not in $(...)), so that the cleanup knows
# the cluster and databases it made.
#
# PostgreSQL databases go into the cluster named by ORVANE_POSTGRES_STATE (the
# one ctest starts), or else into a private cluster started on first use.

register_work=$(mktemp -d)
register_state=${ORVANE_POSTGRES_STATE:-}
register_own_cluster=false
register_made=()
register_url=

register_database() {
    local engine=$1 name=$2_$$ cluster
    case $engine in
    sqlite) register_url="sqlite:$register_work/$name.sqlite" ;;
    postgresql)
        if [ -z "$register_state" ] || [ ! -s "$register_state" ]; then
            register_state=$register_work/cluster
            register_own_cluster=true
            scripts/postgres-cluster.sh start "$register_state" >/dev/null
        fi
        cluster=$(cat "$register_state")
        psql "$cluster" -qc "CREATE DATABASE $name" >/dev/null
        register_made+=("$name")
        register_url=${cluster/\/orvane\?//$name?}
        ;;
    *)
        echo "unknown engine: $engine (sqlite or postgresql)" >&2
        return 2
        ;;
    esac
}

register_cleanup() {
    if $register_own_cluster; then
        scripts/postgres-cluster.sh stop "$register_state"
    elif [ ${#register_made[@]} -gt 0 ]; then
        for name in "${register_made[@]}"; do
            psql "$(cat "$register_state")" -qc "DROP DATABASE IF EXISTS $name WITH (FORCE)" \
                >/dev/null 2>&1 || true
        done
    fi
    rm -rf "$register_work"
}
