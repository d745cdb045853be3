#!/usr/bin/env bash
# A private MariaDB server for the tests and benchmarks, in a folder of its own and reachable only
# through its socket (no TCP port to collide with another server):
#   mariadb-privado.sh iniciar CARPETA    starts it (if not running) and loads a fresh central schema
#   mariadb-privado.sh reiniciar CARPETA  stops and starts it again, keeping the data
#   mariadb-privado.sh detener CARPETA    stops it
#   mariadb-privado.sh matar CARPETA      kills it at once (kill -9), as a power cut would
# Clients reach it with MYSQL_UNIX_PORT=CARPETA/mysqld.sock.
# For speed the tests' server does not flush its log at every commit; with FACTURADOR_BD_DURABLE=1
# in the environment it keeps the server's own durable default (innodb_flush_log_at_trx_commit=1),
# as a production server does. Run by another user than root, the server runs as that user and
# its administrator account is that user's, reached through the socket.
set -euo pipefail
accion=$1
carpeta=$(mkdir -p "$2" && cd "$2" && pwd)
raiz=$(cd "$(dirname "$0")/.." && pwd)
socket=$carpeta/mysqld.sock
cuenta=$(id -un)
como_usuario=()
[ "$(id -u)" -eq 0 ] && como_usuario=(--user=root)
durabilidad=(--innodb-flush-log-at-trx-commit=2)
[ "${FACTURADOR_BD_DURABLE:-0}" = 1 ] && durabilidad=()

responde() { mariadb-admin --no-defaults --socket="$socket" -u"$cuenta" ping >/dev/null 2>&1; }

arrancar() {
  if [ ! -d "$carpeta/datos/mysql" ]; then
    rm -rf "$carpeta/datos"
    if ! mariadb-install-db --no-defaults --datadir="$carpeta/datos" "${como_usuario[@]}" \
      --auth-root-authentication-method=socket >"$carpeta/instalacion.log" 2>&1; then
      echo "No se pudo crear la base del servidor MariaDB privado en $carpeta/datos:" >&2
      tail -20 "$carpeta/instalacion.log" >&2
      exit 1
    fi
  fi
  (setsid mariadbd --no-defaults --datadir="$carpeta/datos" --socket="$socket" --skip-networking \
     --pid-file="$carpeta/mysqld.pid" "${como_usuario[@]}" --log-error="$carpeta/error.log" \
     --innodb-buffer-pool-size=128M "${durabilidad[@]}" --skip-log-bin \
     </dev/null >/dev/null 2>&1 &)
  for _ in $(seq 1 300); do responde && return 0; sleep 0.1; done
  echo "El servidor MariaDB privado no respondió; ver $carpeta/error.log" >&2
  tail -20 "$carpeta/error.log" >&2 || true
  exit 1
}

parar() {
  if responde; then mariadb-admin --no-defaults --socket="$socket" -u"$cuenta" shutdown || true; fi
  for _ in $(seq 1 100); do [ -e "$carpeta/mysqld.pid" ] || return 0; sleep 0.1; done
}

# The pid file names the server; it is gone once the process is.
matar() {
  local pid
  pid=$(cat "$carpeta/mysqld.pid" 2>/dev/null) || return 0
  kill -9 "$pid" 2>/dev/null || true
  while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
  rm -f "$carpeta/mysqld.pid"
}

cargar_esquema() {
  mariadb --no-defaults --socket="$socket" -u"$cuenta" -e "DROP DATABASE IF EXISTS Morvane_Central"
  for f in "$raiz"/sql/*.sql; do mariadb --no-defaults --socket="$socket" -u"$cuenta" <"$f"; done
}

# A test killed while its proxy stood on the socket path (a timeout) leaves the server's socket
# moved aside: put it back, or a second server would be started over the running one's files.
devolver_socket() { [ -S "$socket.servidor" ] && mv -f "$socket.servidor" "$socket" || true; }

case $accion in
  iniciar) devolver_socket; responde || arrancar; cargar_esquema ;;
  reiniciar) parar; arrancar ;;
  detener) parar ;;
  matar) matar ;;
  *) echo "uso: $0 iniciar|reiniciar|detener|matar CARPETA" >&2; exit 2 ;;
esac
