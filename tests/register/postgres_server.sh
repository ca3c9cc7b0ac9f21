#!/bin/sh
# Starts or stops a PostgreSQL server of its own for the register tests:
#   postgres_server.sh start|stop DIR PORT
# The server keeps its data in a fresh temporary folder that DIR links to, listens on no
# network address, only on the Unix socket DIR/socket/.s.PGSQL.PORT, and trusts every local
# user. Run as root, it runs as the postgres user that Debian's postgresql package makes.
set -eu

action=$1
dir=$2
port=$3

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "postgres_server.sh: no PostgreSQL server in /usr/lib/postgresql (install the" \
         "Debian package postgresql)" >&2
    exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
    owner=postgres
    as_owner() { runuser -u postgres -- "$@"; }
else
    owner=$(id -un)
    as_owner() { "$@"; }
fi

stop_server() {
    if [ -L "$dir" ]; then
        data=$(readlink "$dir")
        if [ -f "$data/data/postmaster.pid" ]; then
            (cd / && as_owner "$bin/pg_ctl" -D "$data/data" -m immediate -w stop) \
                >/dev/null 2>&1 || true
        fi
        rm -rf "$data" "$dir"
    fi
}

start_server() {
    stop_server
    mkdir -p "$(dirname "$dir")"
    data=$(mktemp -d "${TMPDIR:-/tmp}/morvane-postgres.XXXXXX")
    mkdir "$data/socket"
    chown -R "$owner" "$data"
    ln -s "$data" "$dir"
    cd /
    as_owner "$bin/initdb" -D "$data/data" -U postgres --auth=trust -E UTF8 --locale=C \
        >"$data/initdb.log" 2>&1 || { cat "$data/initdb.log" >&2; exit 1; }
    as_owner "$bin/pg_ctl" -D "$data/data" -l "$data/server.log" -w -t 60 -o \
        "-c listen_addresses='' -k $data/socket -p $port -c fsync=off -c max_connections=60" \
        start >/dev/null || { cat "$data/server.log" >&2; exit 1; }
}

case $action in
start) start_server ;;
stop) stop_server ;;
*) echo "usage: postgres_server.sh start|stop DIR PORT" >&2; exit 2 ;;
esac
