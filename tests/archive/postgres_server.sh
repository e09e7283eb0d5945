#!/bin/sh
# A throwaway PostgreSQL server for the archive's tests and benchmarks:
#   postgres_server.sh start STATE [FOLDER]   start one (FOLDER kept when given)
#   postgres_server.sh stop STATE             stop it (and remove a temporary folder)
# The server listens only on a Unix socket in its own folder (no TCP, so no
# clash with the system's cluster on 5432), runs as the unprivileged
# `postgres` user when called as root (PostgreSQL refuses root), and trusts
# local connections. STATE receives `dir=`, `url=` (the maintenance
# database) and `keep=`.
set -eu

action=${1:?start or stop}
state=${2:?state file}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ] || [ ! -x "$bin/pg_ctl" ]; then
    echo "postgres_server.sh: no PostgreSQL under /usr/lib/postgresql (scripts/install-deps installs it)" >&2
    exit 1
fi

as_server_user() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

stop_server() {
    [ -f "$state" ] || return 0
    dir=$(sed -n 's/^dir=//p' "$state")
    keep=$(sed -n 's/^keep=//p' "$state")
    if [ -n "$dir" ] && [ -f "$dir/data/postmaster.pid" ]; then
        as_server_user "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 ||
            as_server_user "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    if [ "$keep" != "yes" ] && [ -n "$dir" ]; then
        rm -rf "$dir"
    fi
    rm -f "$state"
}

case "$action" in
start)
    stop_server # one left behind by an interrupted run
    if [ $# -ge 3 ]; then
        dir=$3
        keep=yes
        mkdir -p "$dir"
    else
        dir=$(mktemp -d "${TMPDIR:-/tmp}/vessor-archive-pg.XXXXXX")
        keep=no
    fi
    chmod 755 "$dir"
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres: "$dir"
    fi
    # The socket's name carries the port: any number serves, and none
    # reaches the network.
    port=$((50000 + $$ % 10000))
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        as_server_user "$bin/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --no-locale \
            >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    printf 'dir=%s\nkeep=%s\nurl=postgresql:///postgres?host=%s&port=%s&user=postgres\n' \
        "$dir" "$keep" "$dir" "$port" >"$state"
    # Speed over durability: the data is thrown away (or rebuilt) anyway.
    if ! as_server_user "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-k $dir -c listen_addresses= -p $port -c fsync=off -c synchronous_commit=off \
-c full_page_writes=off -c max_wal_size=4GB -c max_connections=40" start >/dev/null; then
        cat "$dir/server.log" >&2 || true
        stop_server
        exit 1
    fi
    ;;
stop)
    stop_server
    ;;
*)
    echo "postgres_server.sh: start or stop, not $action" >&2
    exit 2
    ;;
esac
