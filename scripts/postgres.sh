#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: its data, its log and its Unix socket in one
# folder, no TCP, trust for local connections, UTF-8 with the C.UTF-8 locale, and a database
# "morvek_test". As root the server runs as the "postgres" user; as anyone else, as that user.
#
#   scripts/postgres.sh start DIR   # creates DIR, starts the cluster, prints its connection string
#   scripts/postgres.sh env DIR     # prints the connection string of the cluster in DIR
#   scripts/postgres.sh stop DIR    # stops the cluster and removes DIR
#
# The binaries come from $MORVEK_PG_BIN, else the newest /usr/lib/postgresql/*/bin, else PATH.
set -euo pipefail

usage() {
  echo "usage: $0 start|stop|env DIR" >&2
  exit 2
}
[ $# -eq 2 ] || usage
command=$1
dir=$2
case "$dir" in /*) ;; *) dir="$(pwd)/$dir" ;; esac
marker="$dir/.morvek-postgres"  # stop removes only a folder this script made

bin="${MORVEK_PG_BIN:-}"
if [ -z "$bin" ]; then
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
  [ -n "$bin" ] || bin=$(dirname "$(command -v pg_ctl || echo /usr/bin/pg_ctl)")
fi

# Runs a server program as the cluster's owner.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

connection() { echo "postgresql:///morvek_test?host=$dir&user=postgres"; }

case "$command" in
  start)
    if [ -e "$dir" ] && [ -n "$(ls -A "$dir" 2>/dev/null)" ]; then
      echo "postgres.sh: $dir is not empty" >&2
      exit 1
    fi
    mkdir -p "$dir"
    touch "$marker"
    if [ "$(id -u)" -eq 0 ]; then
      chown postgres: "$dir" "$marker"
      # Clients of other users reach the socket; the data folder stays the server's alone.
      chmod 0755 "$dir"
    fi
    as_owner "$bin/initdb" -D "$dir/data" -U postgres --auth=trust --encoding=UTF8 \
      --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || {
      cat "$dir/initdb.log" >&2
      exit 1
    }
    # A cluster for tests: no TCP, and durability traded for speed.
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
      -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off \
-c synchronous_commit=off -c full_page_writes=off" start >/dev/null || {
      cat "$dir/server.log" >&2
      exit 1
    }
    as_owner "$bin/createdb" -h "$dir" -U postgres morvek_test
    connection
    ;;
  env)
    [ -f "$marker" ] || {
      echo "postgres.sh: no cluster in $dir" >&2
      exit 1
    }
    connection
    ;;
  stop)
    [ -f "$marker" ] || {
      echo "postgres.sh: no cluster in $dir" >&2
      exit 1
    }
    if [ -f "$dir/data/postmaster.pid" ]; then
      as_owner "$bin/pg_ctl" -D "$dir/data" -w -t 30 -m fast stop >/dev/null ||
        as_owner "$bin/pg_ctl" -D "$dir/data" -w -t 30 -m immediate stop >/dev/null || true
    fi
    rm -rf "$dir"
    ;;
  *) usage ;;
esac
