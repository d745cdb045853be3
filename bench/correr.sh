#!/usr/bin/env bash
# Runs one benchmark, or all of them, against a private server of its own, stopped afterwards.
#   bench/correr.sh [NOMBRE] [BUILD_FOLDER]
# NOMBRE: bench_ciclo_inactivo, bench_generacion, bench_recepcion, bench_memoria_programa,
# bench_generacion_cluster or bench_busqueda (1,000,000 requests: a few minutes and about 1 GB of
# disk while it runs); "todos" or nothing runs them all. BUILD_FOLDER defaults to build.
# bench_generacion_cluster runs beside a durable private server of its own and a three-node Galera
# cluster (scripts/galera-local.sh, about 40 s to start) in BUILD_FOLDER/galera-bench, on ports from
# GALERA_PUERTO_BASE (here 24800 unless set: the script's own default is the fault runs' and the
# demo's); both are stopped on exit.
# With FACTURADOR_HEAPTRACK=1 each benchmark's own process runs under heaptrack: its profile, the
# analysis and the histogram of allocation sizes go into BUILD_FOLDER/heaptrack, never into the
# working folder (heaptrack_print's -H takes the histogram's file name, not a yes or no: given
# "0" it once left a file named 0 at the repository's root).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
nombre=${1:-todos}
build=$(cd "${2:-$raiz/build}" && pwd)
case $nombre in
  todos) bancos=(bench_ciclo_inactivo bench_generacion bench_recepcion bench_memoria_programa
                 bench_generacion_cluster bench_busqueda) ;;
  bench_ciclo_inactivo | bench_generacion | bench_recepcion | bench_memoria_programa | \
  bench_generacion_cluster | bench_busqueda)
    bancos=("$nombre") ;;
  *) echo "uso: $0 [bench_ciclo_inactivo|bench_generacion|bench_recepcion|bench_memoria_programa|bench_generacion_cluster|bench_busqueda|todos] [BUILD_FOLDER]" >&2
     exit 2 ;;
esac
carpeta_bd=$build/mariadb-bench
carpeta_durable=$build/mariadb-bench-durable
carpeta_galera=$build/galera-bench
export GALERA_PUERTO_BASE=${GALERA_PUERTO_BASE:-24800}
envoltura=()
if [ "${FACTURADOR_HEAPTRACK:-0}" = 1 ]; then
  command -v heaptrack_print >/dev/null || { echo "Falta heaptrack: apt install heaptrack" >&2; exit 2; }
  perfiles=$build/heaptrack
  mkdir -p "$perfiles"
fi

detener_servidores() {
  "$raiz/scripts/mariadb-privado.sh" detener "$carpeta_bd" || true
  [ ! -d "$carpeta_durable" ] || "$raiz/scripts/mariadb-privado.sh" detener "$carpeta_durable" || true
  [ ! -d "$carpeta_galera" ] || "$raiz/scripts/galera-local.sh" detener "$carpeta_galera" || true
}
trap detener_servidores EXIT

# Each benchmark starts from a freshly loaded central schema. The cluster's runs beside a durable
# server and the cluster, whose nodes keep the server's durable default: their setting is shown.
preparar_servidores() {
  if [ "$1" != bench_generacion_cluster ]; then
    "$raiz/scripts/mariadb-privado.sh" iniciar "$carpeta_bd"
    socket=$carpeta_bd/mysqld.sock argumentos=()
    return
  fi
  FACTURADOR_BD_DURABLE=1 "$raiz/scripts/mariadb-privado.sh" iniciar "$carpeta_durable"
  "$raiz/scripts/galera-local.sh" iniciar "$carpeta_galera" 3
  for n in 1 2 3; do
    echo "nodo$n: innodb_flush_log_at_trx_commit=$(mariadb --no-defaults -N -B \
      --socket="$carpeta_galera/nodo$n/mysqld.sock" -u"$(id -un)" \
      -e 'SELECT @@innodb_flush_log_at_trx_commit')"
  done
  socket=$carpeta_durable/mysqld.sock
  argumentos=("$socket" "$carpeta_galera/nodo1/mysqld.sock")
}

for banco in "${bancos[@]}"; do
  echo "== $banco"
  preparar_servidores "$banco"
  # The daily log's lines also go to standard error when it is not a terminal (a service's journal):
  # kept out of the figures, and shown only when the benchmark fails.
  if [ -n "${perfiles:-}" ]; then
    rm -rf "${perfiles:?}/$banco" && mkdir "$perfiles/$banco"
    envoltura=(heaptrack -o "$perfiles/$banco/perfil")
  fi
  MYSQL_UNIX_PORT=$socket "${envoltura[@]}" "$build/bench/$banco" "${argumentos[@]}" \
    2>"${socket%/*}/$banco.stderr" || { tail -20 "${socket%/*}/$banco.stderr" >&2; exit 1; }
  if [ -n "${perfiles:-}" ]; then
    heaptrack_print -f "$perfiles/$banco"/perfil.* -H "$perfiles/$banco/histograma.tsv" \
      >"$perfiles/$banco/analisis.txt"
    echo "perfil de memoria: $perfiles/$banco/analisis.txt"
  fi
done
