#!/usr/bin/env bash
# Sets up everything the demo runs against, without starting the program: a private MariaDB
# server in CARPETA/mariadb (its socket only, never the machine's own server) with the central
# database, the account `usuarios` and the demo data; the branches' folders CARPETA/sucursal1..4,
# empty; local.dll and Taldo.dll in the program folder when they are absent.
#   preparar-demo.sh CARPETA PROGRAMA [RUTA]
# The branch profiles name RUTA/sucursalN/... (default: CARPETA). The server keeps running;
# `scripts/mariadb-privado.sh detener CARPETA/mariadb` stops it.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
demo=$(mkdir -p "$1" && cd "$1" && pwd)
programa=$2
ruta=${3:-$demo}
bd=$demo/mariadb

echo "Iniciando el servidor MariaDB de la demostración en $bd..."
"$raiz/scripts/mariadb-privado.sh" iniciar "$bd"
# Folder paths are stored with "*" in place of the path separator.
sed "s#@DEMO@#$(printf '%s' "$ruta" | tr '/' '*')#g" "$raiz/sql/demo/datos_demo.sql" |
  mariadb --no-defaults --socket="$bd/mysqld.sock" -uroot

# The demo data starts the folios at 1 again, so results left by an earlier run would carry the
# same names as the new invoices and be taken in as theirs: each run starts with empty folders.
for s in sucursal1 sucursal2 sucursal3 sucursal4; do
  rm -rf "${demo:?}/$s"
  mkdir -p "$demo/$s/cola" "$demo/$s/validas" "$demo/$s/no_validas"
done

# The two local database files of the program folder, with a short run history.
mkdir -p "$programa"
[ -f "$programa/local.dll" ] || sqlite3 "$programa/local.dll" <"$raiz/sql/local/local.sql"
if [ ! -f "$programa/Taldo.dll" ]; then
  sqlite3 "$programa/Taldo.dll" <"$raiz/sql/local/taldo.sql"
  sqlite3 "$programa/Taldo.dll" <"$raiz/sql/demo/historial_demo.sql"
fi
