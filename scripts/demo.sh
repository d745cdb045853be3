#!/usr/bin/env bash
# Installs what is missing, builds, sets up the demo (scripts/preparar-demo.sh: a private MariaDB
# server in demo/mariadb with the central database and demo data, the branch folders, the local
# database files in build/) and starts the simulated stamping program and the program. Ctrl+C
# ends both and stops the demo's server; its data stays in demo/mariadb.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
demo=$raiz/demo
programa=$raiz/build

"$raiz/scripts/instalar-dependencias.sh"
"$raiz/scripts/compilar.sh" "$programa"

trap '"$raiz/scripts/mariadb-privado.sh" detener "$demo/mariadb"' EXIT
"$raiz/scripts/preparar-demo.sh" "$demo" "$programa"
# The client library's standard socket variable: the program and the simulated stamping program
# reach the demo's server, whatever server the machine itself runs.
export MYSQL_UNIX_PORT=$demo/mariadb/mysqld.sock

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No hay pantalla: el programa corre sin ventanas (plataforma offscreen)."
  export QT_QPA_PLATFORM=offscreen
fi
# The simulated stamping program serves the branches' folders beside the program, as the real
# one would; it stops when the program ends.
"$programa/tools/timbrador_simulado/timbrador_simulado" --demora 2 >>"$demo/timbrador_simulado.log" 2>&1 &
timbrador=$!
trap 'kill $timbrador 2>/dev/null || true; "$raiz/scripts/mariadb-privado.sh" detener "$demo/mariadb"' EXIT

echo "Iniciando facturador (Ctrl+C para terminar). Carpetas de las sucursales: $demo"
echo "Datos: mariadb --socket=$MYSQL_UNIX_PORT Morvane_Central"
cd "$programa"
./facturador
