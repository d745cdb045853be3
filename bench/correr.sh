#!/usr/bin/env bash
# Runs one benchmark, or all of them, against a private server of its own, stopped afterwards.
#   bench/correr.sh [NOMBRE] [BUILD_FOLDER]
# NOMBRE: bench_ciclo_inactivo, bench_generacion, bench_recepcion or bench_memoria_programa;
# "todos" or nothing runs them all. BUILD_FOLDER defaults to build.
# With FACTURADOR_HEAPTRACK=1 each benchmark's own process runs under heaptrack: its profile, the
# analysis and the histogram of allocation sizes go into BUILD_FOLDER/heaptrack, never into the
# working folder (heaptrack_print's -H takes the histogram's file name, not a yes or no: given
# "0" it once left a file named 0 at the repository's root).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
nombre=${1:-todos}
build=$(cd "${2:-$raiz/build}" && pwd)
case $nombre in
  todos) bancos=(bench_ciclo_inactivo bench_generacion bench_recepcion bench_memoria_programa) ;;
  bench_ciclo_inactivo | bench_generacion | bench_recepcion | bench_memoria_programa)
    bancos=("$nombre") ;;
  *) echo "uso: $0 [bench_ciclo_inactivo|bench_generacion|bench_recepcion|bench_memoria_programa|todos] [BUILD_FOLDER]" >&2
     exit 2 ;;
esac
carpeta_bd=$build/mariadb-bench
envoltura=()
if [ "${FACTURADOR_HEAPTRACK:-0}" = 1 ]; then
  command -v heaptrack_print >/dev/null || { echo "Falta heaptrack: apt install heaptrack" >&2; exit 2; }
  perfiles=$build/heaptrack
  mkdir -p "$perfiles"
fi
trap '"$raiz/scripts/mariadb-privado.sh" detener "$carpeta_bd"' EXIT
for banco in "${bancos[@]}"; do
  # Each one starts from a freshly loaded central schema.
  "$raiz/scripts/mariadb-privado.sh" iniciar "$carpeta_bd"
  echo "== $banco"
  # The daily log's lines also go to standard error when it is not a terminal (a service's journal):
  # kept out of the figures, and shown only when the benchmark fails.
  if [ -n "${perfiles:-}" ]; then
    rm -rf "${perfiles:?}/$banco" && mkdir "$perfiles/$banco"
    envoltura=(heaptrack -o "$perfiles/$banco/perfil")
  fi
  MYSQL_UNIX_PORT=$carpeta_bd/mysqld.sock "${envoltura[@]}" "$build/bench/$banco" \
    2>"$carpeta_bd/$banco.stderr" || { tail -20 "$carpeta_bd/$banco.stderr" >&2; exit 1; }
  if [ -n "${perfiles:-}" ]; then
    heaptrack_print -f "$perfiles/$banco"/perfil.* -H "$perfiles/$banco/histograma.tsv" \
      >"$perfiles/$banco/analisis.txt"
    echo "perfil de memoria: $perfiles/$banco/analisis.txt"
  fi
done
