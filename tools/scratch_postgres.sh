#!/bin/bash
# A PostgreSQL instance in a scratch folder, for tests and the local cluster:
#   scratch_postgres.sh start DIR   a new instance (first time) and start; prints
#                                   the URI of its database "quarn"
#   scratch_postgres.sh stop DIR    fast shutdown, the folder kept
# It listens on a unix socket in DIR only. The server refuses to run as root,
# so as root it runs as "nobody", who gets the folder.
# Exit 2, with a line saying so, when the PostgreSQL programs are missing.
set -euo pipefail
command=${1:?start or stop}
dir=$(realpath -m "${2:?DIR}")
bin=${QUARN_PG_BIN:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)}
if [[ -z $bin || ! -x $bin/pg_ctl ]]; then
  echo "PostgreSQL programs not found (Debian postgresql)" >&2
  exit 2
fi
as=()
if [[ $(id -u) == 0 ]]; then as=(runuser -u nobody --); fi

# A pristine data folder with database "quarn", made once per machine and
# copied for each instance: initdb costs seconds, a copy a fraction of one.
template() {
  local major template
  major=$(basename "$(dirname "$bin")")
  template=${TMPDIR:-/tmp}/quarn-pg-template-$major-$(id -u)
  if [[ ! -f $template/PG_VERSION ]]; then
    local work
    work=$(mktemp -d "$template.XXXXXX")
    chmod 755 "$work"
    if [[ ${#as[@]} -gt 0 ]]; then chown nobody "$work"; fi
    "${as[@]}" "$bin/initdb" -D "$work/data" -U quarn -A trust -E UTF8 --no-sync \
      >"$work/initdb.log" 2>&1
    "${as[@]}" "$bin/pg_ctl" -D "$work/data" -w -t 60 -l "$work/log" \
      -o "-k $work -c listen_addresses= -c fsync=off" start >/dev/null
    "$bin/createdb" -h "$work" -U quarn quarn
    "${as[@]}" "$bin/pg_ctl" -D "$work/data" -m fast -w -t 60 stop >/dev/null
    # Another start may have made it meanwhile: the first one stays.
    mv -T "$work/data" "$template" 2>/dev/null || true
    rm -rf "$work"
  fi
  echo "$template"
}

case $command in
  start)
    mkdir -p "$dir"
    if [[ ${#as[@]} -gt 0 ]]; then chown nobody "$dir"; fi
    if [[ ! -f $dir/data/PG_VERSION ]]; then cp -a "$(template)" "$dir/data"; fi
    # A scratch instance: no fsync unless asked (QUARN_PG_FSYNC=on, to measure
    # what a real server's commits cost).
    "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/postgres.log" -w -t 60 \
      -o "-k $dir -c listen_addresses= -c max_connections=200 -c fsync=${QUARN_PG_FSYNC:-off}" \
      start >/dev/null
    echo "postgresql://quarn@/quarn?host=$dir"
    ;;
  stop)
    if [[ -f $dir/data/postmaster.pid ]]; then
      "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null
    fi
    ;;
  *)
    echo "usage: $0 start|stop DIR" >&2
    exit 1
    ;;
esac
