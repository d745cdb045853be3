#!/usr/bin/env bash
# A private MariaDB server for the tests and benchmarks, in a folder of its own and reachable only
# through its socket (no TCP port to collide with another server):
#   mariadb-privado.sh iniciar CARPETA    starts it (if not running) and loads a fresh central schema
#   mariadb-privado.sh reiniciar CARPETA  stops and starts it again, keeping the data
#   mariadb-privado.sh detener CARPETA    stops it
# Clients reach it with MYSQL_UNIX_PORT=CARPETA/mysqld.sock.
set -euo pipefail
accion=$1
carpeta=$(mkdir -p "$2" && cd "$2" && pwd)
raiz=$(cd "$(dirname "$0")/.." && pwd)
socket=$carpeta/mysqld.sock

responde() { mariadb-admin --no-defaults --socket="$socket" -uroot ping >/dev/null 2>&1; }

arrancar() {
  if [ ! -d "$carpeta/datos/mysql" ]; then
    rm -rf "$carpeta/datos"
    mariadb-install-db --no-defaults --datadir="$carpeta/datos" --user=root \
      --auth-root-authentication-method=socket >"$carpeta/instalacion.log" 2>&1
  fi
  (setsid mariadbd --no-defaults --datadir="$carpeta/datos" --socket="$socket" --skip-networking \
     --pid-file="$carpeta/mysqld.pid" --user=root --log-error="$carpeta/error.log" \
     --innodb-buffer-pool-size=128M --innodb-flush-log-at-trx-commit=2 --skip-log-bin \
     </dev/null >/dev/null 2>&1 &)
  for _ in $(seq 1 300); do responde && return 0; sleep 0.1; done
  echo "El servidor MariaDB privado no respondió; ver $carpeta/error.log" >&2
  tail -20 "$carpeta/error.log" >&2 || true
  exit 1
}

parar() {
  if responde; then mariadb-admin --no-defaults --socket="$socket" -uroot shutdown || true; fi
  for _ in $(seq 1 100); do [ -e "$carpeta/mysqld.pid" ] || return 0; sleep 0.1; done
}

cargar_esquema() {
  mariadb --no-defaults --socket="$socket" -uroot -e "DROP DATABASE IF EXISTS Morvane_Central"
  for f in "$raiz"/sql/*.sql; do mariadb --no-defaults --socket="$socket" -uroot <"$f"; done
}

case $accion in
  iniciar) responde || arrancar; cargar_esquema ;;
  reiniciar) parar; arrancar ;;
  detener) parar ;;
  *) echo "uso: $0 iniciar|reiniciar|detener CARPETA" >&2; exit 2 ;;
esac
