#!/usr/bin/env bash
# Takes the pictures of the program's windows shown in the README (docs/capturas/*.png): builds
# the project (with its picture tool), starts a private MariaDB server loaded with the demo data,
# prepares a program folder and runs the tool under Xvfb.
#   bash scripts/capturas.sh [BUILD_FOLDER]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
compilacion=${1:-$raiz/build}
capturas=$raiz/docs/capturas

"$raiz/scripts/instalar-dependencias.sh"

"$raiz/scripts/compilar.sh" "$compilacion"

# The central database: a private server reached through its socket only, with the demo data.
bd=$compilacion/mariadb-capturas
"$raiz/scripts/mariadb-privado.sh" iniciar "$bd"
trap '"$raiz/scripts/mariadb-privado.sh" detener "$bd"' EXIT
export MYSQL_UNIX_PORT=$bd/mysqld.sock
programa=$compilacion/capturas-programa
demo=$programa/demo
mkdir -p "$programa"
# Folder paths are stored with "*" in place of the path separator.
ruta_demo=$(printf '%s' "$demo" | tr '/' '*')
sed "s#@DEMO@#$ruta_demo#g" "$raiz/sql/demo/datos_demo.sql" |
  mariadb --no-defaults --socket="$MYSQL_UNIX_PORT" -uroot
for s in sucursal1 sucursal2 sucursal3; do
  mkdir -p "$demo/$s/cola" "$demo/$s/validas" "$demo/$s/no_validas"
done

# The two local database files of the program folder, as the demo leaves them.
rm -f "$programa/local.dll" "$programa/Taldo.dll"
sqlite3 "$programa/local.dll" <"$raiz/sql/local/local.sql"
sqlite3 "$programa/Taldo.dll" <"$raiz/sql/local/taldo.sql"
sqlite3 "$programa/Taldo.dll" <"$raiz/sql/demo/historial_demo.sql"

mkdir -p "$capturas"
xvfb-run -a -s "-screen 0 1280x1024x24" "$compilacion/tools/capturas/capturas" "$programa" "$capturas"
echo "Capturas en $capturas"
