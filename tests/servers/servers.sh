#!/usr/bin/env bash
# Starts or stops the throwaway PostgreSQL and MariaDB servers the server
# tests connect to, each on a data folder of its own and a free loopback
# port, and writes the test-only odbc.ini with one data source for each.
# Usage: servers.sh start|stop <state-folder>
# The state folder keeps the ports, the data folders and odbc.ini; stop
# finds the servers there, so it works after any failure of the tests.
set -euo pipefail
action=$1
state=$2
mkdir -p "$state"

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
odbc_dir=$(dirname "$(find /usr/lib -name psqlodbcw.so -print -quit 2>/dev/null || true)")

# The servers refuse to run as root; the packages made users for them.
as_user() {
  local user=$1
  shift
  if [ "$(id -u)" -eq 0 ]; then runuser -u "$user" -- "$@"; else "$@"; fi
}
owner_of() { if [ "$(id -u)" -eq 0 ]; then echo "$1"; else id -un; fi; }

free_port() {
  local port=$((20000 + ($$ * 7 + $1) % 20000))
  while (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
  echo "$port"
}

start_postgres() {
  local data=$1 port=$2
  mkdir -p "$data"
  chown "$(owner_of postgres)" "$data"
  as_user postgres "$pg_bin/initdb" -D "$data/db" -A trust -U dossel -E UTF8 --locale=C.UTF-8 >"$state/pg-init.log" 2>&1
  as_user postgres "$pg_bin/pg_ctl" -D "$data/db" -l "$data/server.log" -w -t 60 \
    -o "-p $port -k $data -c listen_addresses=127.0.0.1" start >/dev/null
  as_user postgres "$pg_bin/createdb" -h 127.0.0.1 -p "$port" -U dossel dossel
}

start_mariadb() {
  local data=$1 port=$2 user
  user=$(owner_of mysql)
  mkdir -p "$data"
  chown "$user" "$data"
  mariadb-install-db --no-defaults --datadir="$data/db" --user="$user" --auth-root-authentication-method=normal \
    >"$state/mariadb-init.log" 2>&1
  mariadbd --no-defaults --datadir="$data/db" --user="$user" --port="$port" --bind-address=127.0.0.1 \
    --socket="$data/mysqld.sock" --pid-file="$data/mysqld.pid" --log-error="$data/server.log" \
    --skip-grant-tables=0 >/dev/null 2>&1 &
  for _ in $(seq 1 300); do
    mariadb --no-defaults -S "$data/mysqld.sock" -u root -e "select 1" >/dev/null 2>&1 && break
    sleep 0.2
  done
  mariadb --no-defaults -S "$data/mysqld.sock" -u root -e \
    "create database dossel; create database dossel_other; create user 'dossel'@'127.0.0.1' identified by 'dossel';
     grant all on dossel.* to 'dossel'@'127.0.0.1'; grant all on dossel_other.* to 'dossel'@'127.0.0.1';
     flush privileges;"
}

case $action in
  start)
    "$0" stop "$state" || true
    data=$(mktemp -d /tmp/dossel-servers.XXXXXX)
    chmod 755 "$data"
    echo "$data" >"$state/data"
    pg_port=$(free_port 1)
    start_postgres "$data/pg" "$pg_port"
    maria_port=$(free_port 2)
    [ "$maria_port" != "$pg_port" ] || maria_port=$((pg_port + 1))
    start_mariadb "$data/maria" "$maria_port"
    cat >"$state/odbc.ini" <<INI
[DosselPostgres]
Driver=$odbc_dir/psqlodbcw.so
Servername=127.0.0.1
Port=$pg_port
Database=dossel
Username=dossel
Password=

[DosselMariaDB]
Driver=$odbc_dir/libmaodbc.so
Server=127.0.0.1
Port=$maria_port
Database=dossel
User=dossel
Password=dossel
INI
    echo "PostgreSQL on $pg_port, MariaDB on $maria_port; data sources in $state/odbc.ini"
    ;;
  stop)
    [ -f "$state/data" ] || exit 0
    data=$(cat "$state/data")
    if [ -d "$data/pg/db" ]; then
      as_user postgres "$pg_bin/pg_ctl" -D "$data/pg/db" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    if [ -f "$data/maria/mysqld.pid" ]; then
      kill "$(cat "$data/maria/mysqld.pid")" 2>/dev/null || true
      for _ in $(seq 1 100); do [ -f "$data/maria/mysqld.pid" ] || break; sleep 0.1; done
    fi
    rm -rf "$data" "$state/data"
    ;;
esac
