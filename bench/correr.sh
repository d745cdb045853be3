#!/usr/bin/env bash
# Runs one benchmark, or all of them, against a private server of its own, stopped afterwards.
#   bench/correr.sh [NOMBRE] [BUILD_FOLDER]
# NOMBRE: bench_ciclo_inactivo, bench_generacion, bench_recepcion or bench_memoria_programa;
# "todos" or nothing runs them all. BUILD_FOLDER defaults to build.
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
trap '"$raiz/scripts/mariadb-privado.sh" detener "$carpeta_bd"' EXIT
for banco in "${bancos[@]}"; do
  # Each one starts from a freshly loaded central schema.
  "$raiz/scripts/mariadb-privado.sh" iniciar "$carpeta_bd"
  echo "== $banco"
  # The daily log's lines also go to standard error when it is not a terminal (a service's journal):
  # kept out of the figures, and shown only when the benchmark fails.
  MYSQL_UNIX_PORT=$carpeta_bd/mysqld.sock "$build/bench/$banco" 2>"$carpeta_bd/$banco.stderr" ||
    { tail -20 "$carpeta_bd/$banco.stderr" >&2; exit 1; }
done
