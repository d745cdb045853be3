#!/usr/bin/env bash
# The demo never touches a database it did not create. A private server with a marker row stands
# for the machine's own, reached by default (MYSQL_UNIX_PORT, the user's option file); the demo's
# set-up must leave it as it was and load its own server.
#   preparar_demo_test.sh SOURCE_FOLDER
set -euo pipefail
raiz=$1
tmp=$(mktemp -d)
privado=$raiz/scripts/mariadb-privado.sh
trap '"$privado" detener "$tmp/demo/mariadb"; "$privado" detener "$tmp/ajena"; rm -rf "$tmp"' EXIT
falla() { echo "FALLA: $*" >&2; exit 1; }
consulta() { mariadb --no-defaults --socket="$1/mysqld.sock" -uroot -N -B Morvane_Central -e "$2"; }

"$privado" iniciar "$tmp/ajena"
consulta "$tmp/ajena" "INSERT INTO Sucursales (ID, Nombre) VALUES (77, 'Marca de otra base')"
export MYSQL_UNIX_PORT=$tmp/ajena/mysqld.sock HOME=$tmp
printf '[client]\nsocket=%s\n' "$MYSQL_UNIX_PORT" >"$HOME/.my.cnf"

"$raiz/scripts/preparar-demo.sh" "$tmp/demo" "$tmp/programa"

[ "$(consulta "$tmp/ajena" 'SELECT ID, Nombre FROM Sucursales')" = $'77\tMarca de otra base' ] ||
  falla "la base ajena cambió: $(consulta "$tmp/ajena" 'SELECT * FROM Sucursales')"
[ "$(consulta "$tmp/demo/mariadb" 'SELECT COUNT(*) FROM Sucursales')" = 4 ] ||
  falla "el servidor de la demostración no tiene las sucursales"
# The program's own account works on the demo's server, and the profiles name the demo's folders.
mariadb --no-defaults --socket="$tmp/demo/mariadb/mysqld.sock" -uusuarios -pm58kbwTavRz07 \
  Morvane_Central -e 'SELECT 1' >/dev/null || falla "la cuenta usuarios no entra"
[ "$(consulta "$tmp/demo/mariadb" 'SELECT Ruta_Cola_Facturas FROM Configuracion_Facturas_Electronicas WHERE ID_Sucursal = 1')" = \
  "$(printf '%s' "$tmp/demo/sucursal1/cola" | tr '/' '*')" ] || falla "rutas de las sucursales"
[ -d "$tmp/demo/sucursal3/no_validas" ] && [ -f "$tmp/programa/local.dll" ] &&
  [ -f "$tmp/programa/Taldo.dll" ] || falla "carpetas o archivos locales"
echo "La demostración usó solo su propio servidor"
