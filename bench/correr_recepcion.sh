#!/usr/bin/env bash
# Runs the result-intake benchmark against a private server of its own, stopped afterwards.
#   bench/correr_recepcion.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$raiz/build}" && pwd)
carpeta_bd=$build/mariadb-bench
trap '"$raiz/scripts/mariadb-privado.sh" detener "$carpeta_bd"' EXIT
"$raiz/scripts/mariadb-privado.sh" iniciar "$carpeta_bd"
MYSQL_UNIX_PORT=$carpeta_bd/mysqld.sock "$build/bench/bench_recepcion"
