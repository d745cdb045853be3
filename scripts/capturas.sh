#!/usr/bin/env bash
# Takes the pictures of the program's windows shown in the README (docs/capturas/*.png): builds
# the project (with its picture tool), sets up the demo in a folder of the build (private MariaDB
# server, demo data, local database files) and runs the tool under Xvfb.
#   bash scripts/capturas.sh [BUILD_FOLDER]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
compilacion=${1:-$raiz/build}
capturas=$raiz/docs/capturas
demo=$compilacion/capturas-demo
programa=$compilacion/capturas-programa

"$raiz/scripts/instalar-dependencias.sh"
"$raiz/scripts/compilar.sh" "$compilacion"

# The pictures show the local database files as the demo first leaves them, and branch folders
# under a neutral path rather than a folder of the machine that takes them.
rm -rf "$programa"
trap '"$raiz/scripts/mariadb-privado.sh" detener "$demo/mariadb"' EXIT
"$raiz/scripts/preparar-demo.sh" "$demo" "$programa" /srv/facturacion
export MYSQL_UNIX_PORT=$demo/mariadb/mysqld.sock

mkdir -p "$capturas"
xvfb-run -a -s "-screen 0 1280x1024x24" "$compilacion/tools/capturas/capturas" "$programa" "$capturas"
echo "Capturas en $capturas"
