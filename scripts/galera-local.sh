#!/usr/bin/env bash
# A MariaDB Galera cluster of this machine's MariaDB on one machine, for the tests, the fault runs
# and the demo: each node in CARPETA/nodoN with its own data folder, socket and ports (all on the
# loopback), the first node bootstrapping the cluster and the others joining it by a mariabackup
# state transfer (Debian's mariadb-backup and socat; the default rsync transfer does not work
# between nodes of one machine).
#   galera-local.sh iniciar CARPETA [NODOS]  starts the cluster (3 nodes) and loads a fresh schema
#   galera-local.sh detener CARPETA          stops every node
#   galera-local.sh arrancar CARPETA N       starts node N again, joining the running nodes
#   galera-local.sh parar CARPETA N          stops node N cleanly
#   galera-local.sh matar CARPETA N          kills node N at once (kill -9), as a power cut would
#   galera-local.sh aislar CARPETA N         cuts node N off from the others (its group
#                                            communication closed), as a broken network would
#   galera-local.sh reunir CARPETA N         ends the cut: node N joins the others again
#   galera-local.sh sanar CARPETA N          waits for node N to be synced again (after a pause),
#                                            or kills it and starts it anew
#   galera-local.sh estado CARPETA           each node's cluster size and state
# A copy of the program reaches node N with MYSQL_UNIX_PORT=CARPETA/nodoN/mysqld.sock. The ports
# start at GALERA_PUERTO_BASE (default 24500): node N listens for clients on BASE+N, for the group
# on BASE+10+N, for incremental transfers on BASE+20+N and for full transfers on BASE+30+N.
set -euo pipefail
# A step that fails says which, so that a cluster that does not start is never a silent exit.
trap 'echo "galera-local.sh: falló la línea $LINENO: $BASH_COMMAND" >&2' ERR
accion=$1
carpeta=$(mkdir -p "$2" && cd "$2" && pwd)
raiz=$(cd "$(dirname "$0")/.." && pwd)
base=${GALERA_PUERTO_BASE:-24500}
cuenta=$(id -un)
como_usuario=()
[ "$(id -u)" -eq 0 ] && como_usuario=(--user=root)
proveedor=/usr/lib/galera/libgalera_smm.so

nodos() { ls -d "$carpeta"/nodo* 2>/dev/null | sed 's/.*nodo//' | sort -n; }
socket() { echo "$carpeta/nodo$1/mysqld.sock"; }
sql() { mariadb --no-defaults --socket="$(socket "$1")" -u"$cuenta" -N -B -e "$2"; }
responde() {
  mariadb-admin --no-defaults --connect-timeout=2 --socket="$(socket "$1")" -u"$cuenta" ping \
    >/dev/null 2>&1
}
pid_de() { cat "$carpeta/nodo$1/mysqld.pid" 2>/dev/null; }

direcciones() {
  local lista=() n
  for n in $(nodos); do lista+=("127.0.0.1:$((base + 10 + n))"); done
  (IFS=,; echo "${lista[*]}")
}

# Ready when it answers, its cluster is the primary component and it has caught up with it.
sincronizado() {
  responde "$1" && [ "$(sql "$1" "SELECT GROUP_CONCAT(VARIABLE_VALUE ORDER BY VARIABLE_NAME)
      FROM information_schema.GLOBAL_STATUS WHERE VARIABLE_NAME IN
      ('WSREP_CLUSTER_STATUS', 'WSREP_LOCAL_STATE_COMMENT', 'WSREP_READY')" 2>/dev/null)" \
      = Primary,Synced,ON ]
}

esperar() {
  local n=$1 plazo=${2:-1200}
  for _ in $(seq 1 "$plazo"); do sincronizado "$n" && return 0; sleep 0.1; done
  echo "El nodo $n no quedó sincronizado; ver $carpeta/nodo$n/error.log" >&2
  tail -20 "$carpeta/nodo$n/error.log" >&2 || true
  return 1
}

# Each node's options in a file of its own, so that the state transfer scripts, which read the
# server's options again, find these and never the machine's own server configuration.
escribir_opciones() {
  local n=$1 dir=$carpeta/nodo$1
  cat >"$dir/my.cnf" <<FIN
[mysqld]
datadir=$dir/datos
socket=$dir/mysqld.sock
port=$((base + n))
bind-address=127.0.0.1
pid-file=$dir/mysqld.pid
log-error=$dir/error.log
innodb-buffer-pool-size=64M
binlog-format=ROW
innodb-autoinc-lock-mode=2
default-storage-engine=InnoDB
wsrep-on=ON
wsrep-provider=$proveedor
wsrep-cluster-name=facturador
wsrep-node-name=nodo$n
wsrep-node-address=127.0.0.1:$((base + 10 + n))
wsrep-cluster-address=gcomm://$(direcciones)
wsrep-provider-options="gmcast.listen_addr=tcp://127.0.0.1:$((base + 10 + n));ist.recv_addr=127.0.0.1:$((base + 20 + n));gcache.size=128M;evs.suspect_timeout=PT3S;evs.inactive_timeout=PT6S;evs.install_timeout=PT6S"
wsrep-sst-method=mariabackup
wsrep-sst-receive-address=127.0.0.1:$((base + 30 + n))
${como_usuario:+user=root}
[sst]
sst-syslog=-1
sst-log-archive=0
FIN
}

# Starts node N; with "nuevo" it founds a new cluster, otherwise it joins the running nodes.
arrancar() {
  local n=$1 nuevo=${2:-} dir=$carpeta/nodo$1 fundar=()
  [ "$nuevo" = nuevo ] && fundar=(--wsrep-new-cluster)
  escribir_opciones "$n"
  if [ ! -d "$dir/datos/mysql" ]; then
    rm -rf "$dir/datos"
    mariadb-install-db --no-defaults --datadir="$dir/datos" "${como_usuario[@]}" \
      --auth-root-authentication-method=socket >"$dir/instalacion.log" 2>&1 ||
      { tail -20 "$dir/instalacion.log" >&2; return 1; }
  fi
  (setsid mariadbd --defaults-file="$dir/my.cnf" "${fundar[@]}" </dev/null >/dev/null 2>&1 &)
  esperar "$n"
}

parar() {
  local n=$1 pid
  pid=$(pid_de "$n") || return 0
  kill -CONT "$pid" 2>/dev/null || true
  responde "$n" && mariadb-admin --no-defaults --socket="$(socket "$n")" -u"$cuenta" shutdown \
    >/dev/null 2>&1 || kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "$carpeta/nodo$n/mysqld.pid"
}

matar() {
  local n=$1 pid
  pid=$(pid_de "$n") || return 0
  kill -CONT "$pid" 2>/dev/null || true
  kill -9 "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
  rm -f "$carpeta/nodo$n/mysqld.pid"
}

aislar() { sql "$1" "SET GLOBAL wsrep_provider_options = 'gmcast.isolate=1'"; }

reunir() {
  sql "$1" "SET GLOBAL wsrep_provider_options = 'gmcast.isolate=0'"
  esperar "$1"
}

cargar_esquema() {
  sql 1 "DROP DATABASE IF EXISTS Morvane_Central"
  for f in "$raiz"/sql/*.sql; do
    mariadb --no-defaults --socket="$(socket 1)" -u"$cuenta" <"$f"
  done
}

iniciar() {
  local cuantos=${1:-3} n
  for n in $(seq 1 "$cuantos"); do mkdir -p "$carpeta/nodo$n"; done
  if ! sincronizado 1; then
    # A cluster left from an earlier run: every node stopped, then founded anew from node 1.
    for n in $(nodos); do matar "$n"; done
    sed -i 's/^safe_to_bootstrap: 0/safe_to_bootstrap: 1/' "$carpeta/nodo1/datos/grastate.dat" \
      2>/dev/null || true
    arrancar 1 nuevo
  fi
  for n in $(nodos); do [ "$n" = 1 ] || sincronizado "$n" || arrancar "$n"; done
  cargar_esquema
}

case $accion in
  iniciar) iniciar "${3:-3}" ;;
  detener) for n in $(nodos | sort -rn); do parar "$n"; done ;;
  arrancar) responde "$3" || arrancar "$3" ;;
  parar) parar "$3" ;;
  matar) matar "$3" ;;
  aislar) aislar "$3" ;;
  reunir) reunir "$3" 2>/dev/null || { matar "$3"; arrancar "$3"; } ;;
  sanar) esperar "$3" 300 2>/dev/null || { matar "$3"; arrancar "$3"; } ;;
  estado)
    for n in $(nodos); do
      echo "nodo$n $(sql "$n" "SELECT GROUP_CONCAT(VARIABLE_VALUE ORDER BY VARIABLE_NAME SEPARATOR ' ')
        FROM information_schema.GLOBAL_STATUS WHERE VARIABLE_NAME IN
        ('WSREP_CLUSTER_SIZE', 'WSREP_LOCAL_STATE_COMMENT')" 2>/dev/null || echo parado)"
    done ;;
  *) echo "uso: $0 iniciar|detener|estado CARPETA [NODOS] | arrancar|parar|matar|aislar|reunir CARPETA N" >&2
     exit 2 ;;
esac
