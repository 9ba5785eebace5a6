#!/usr/bin/env bash
# The test run's own PostgreSQL server, for the library tests on PostgreSQL:
#   pg_cluster.sh start STATE_DIR   a new cluster on a free port on 127.0.0.1;
#                                   STATE_DIR/url gets its URL
#   pg_cluster.sh stop STATE_DIR    stops it and removes every file of it
# ctest runs these as the setup and cleanup of the fixture the PostgreSQL
# tests require, so the server lives exactly as long as they need it, and
# cleanup runs when a test failed too. Never the machine's own service:
# the cluster is made here, trusts connections from 127.0.0.1 only, and
# listens nowhere else. PostgreSQL refuses to run as root; under root the
# server runs as the user nobody.
set -euo pipefail

action=${1:-}
state=${2:-}
if [ -z "$state" ] || { [ "$action" != start ] && [ "$action" != stop ]; }; then
  echo "usage: $0 start|stop STATE_DIR" >&2
  exit 2
fi

server_bin() {
  local dir
  # The newest installed major version first.
  for dir in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -t/ -k5 -V -r); do
    if [ -x "$dir/initdb" ] && [ -x "$dir/pg_ctl" ]; then
      echo "$dir"
      return
    fi
  done
  if command -v initdb >/dev/null && command -v pg_ctl >/dev/null; then
    dirname "$(command -v pg_ctl)"
    return
  fi
  echo "$0: no PostgreSQL server programs (initdb, pg_ctl); scripts/setup installs them" >&2
  exit 1
}

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    HOME=/ setpriv --reuid=nobody --regid=nogroup --init-groups -- "$@"
  else
    "$@"
  fi
}

stop_server() {
  [ -f "$state/datadir" ] || { rm -rf "$state"; return 0; }
  local data
  data=$(cat "$state/datadir")
  if [ -f "$data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" stop -D "$data" -m fast -w -t 30 >/dev/null 2>&1 ||
      as_owner "$bin/pg_ctl" stop -D "$data" -m immediate -w -t 30 >/dev/null 2>&1 || true
  fi
  rm -rf "$data" "$state"
}

bin=$(server_bin)
stop_server  # a server left by an interrupted run of the tests goes first

if [ "$action" = stop ]; then
  exit 0
fi

mkdir -p "$state"
state=$(cd "$state" && pwd)
data="$state/data"
if [ "$(id -u)" -eq 0 ]; then
  mkdir -p "$data"
  chown nobody:nogroup "$data"
  # The server's user must reach the folder through every parent; where it
  # cannot (a build tree under a private home), a temporary folder serves.
  if ! as_owner test -w "$data"; then
    rm -rf "$data"
    data=$(mktemp -d "${TMPDIR:-/tmp}/acvlogger-pg.XXXXXX")
    chown nobody:nogroup "$data"
  fi
fi
echo "$data" >"$state/datadir"

if ! as_owner "$bin/initdb" -D "$data" -U acvtest -A trust --no-locale -E UTF8 --no-sync \
    >"$state/initdb.log" 2>&1; then
  cat "$state/initdb.log" >&2
  exit 1
fi

# The socket beside the data, unless the path is too long for a socket
# name; the tests connect over TCP anyway.
socket_dir="$data"
[ "${#data}" -lt 80 ] || socket_dir=""
# Tests need no durability: without fsync a run is much faster.
cat >>"$data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
unix_socket_directories = '$socket_dir'
fsync = off
synchronous_commit = off
full_page_writes = off
CONF
cat >"$data/pg_hba.conf" <<HBA
local all all trust
host all all 127.0.0.1/32 trust
HBA

# A random port, tried again while another program holds it.
for attempt in $(seq 1 20); do
  port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
  if as_owner "$bin/pg_ctl" start -D "$data" -o "-p $port" -w -t 60 -l "$data/server.log" \
      >/dev/null 2>&1; then
    echo "postgresql://acvtest@127.0.0.1:$port/postgres" >"$state/url"
    echo "PostgreSQL $("$bin/pg_ctl" --version | awk '{print $3}') on 127.0.0.1:$port, data in $data"
    exit 0
  fi
  if ! grep -q "already in use" "$data/server.log" 2>/dev/null; then
    break
  fi
done
echo "$0: the server did not start (attempt $attempt):" >&2
cat "$data/server.log" >&2 || true
stop_server
exit 1
