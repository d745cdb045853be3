#!/usr/bin/env bash
# Installs what is missing, builds, brings up MariaDB with the central database and a demo data set,
# prepares the program folder (build/) and starts the program.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
demo=$raiz/demo
programa=$raiz/build

"$raiz/scripts/instalar-dependencias.sh"
"$raiz/scripts/compilar.sh" "$programa"

# The central database lives on this machine's own MariaDB server; start it if it is not running.
if ! mariadb-admin ping >/dev/null 2>&1; then
  echo "Iniciando el servidor MariaDB del sistema..."
  if ! service mariadb start >/dev/null 2>&1; then
    install -d -o mysql -g mysql /run/mysqld
    (setsid mariadbd --user=mysql </dev/null >/dev/null 2>&1 &)
  fi
  for _ in $(seq 1 300); do mariadb-admin ping >/dev/null 2>&1 && break; sleep 0.1; done
  mariadb-admin ping >/dev/null
fi

echo "Cargando la base central Morvane_Central y los datos de demostración..."
for f in "$raiz"/sql/*.sql; do mariadb <"$f"; done
# Folder paths are stored with "*" in place of the path separator.
ruta_demo=$(printf '%s' "$demo" | tr '/' '*')
sed "s#@DEMO@#$ruta_demo#g" "$raiz/sql/demo/datos_demo.sql" | mariadb

# The demo data starts the folios at 1 again, so results left by an earlier run would carry the
# same names as the new invoices and be taken in as theirs: each run starts with empty folders.
for s in sucursal1 sucursal2 sucursal3; do
  rm -rf "${demo:?}/$s"
  mkdir -p "$demo/$s/cola" "$demo/$s/validas" "$demo/$s/no_validas"
done

# The two local database files beside the executable.
[ -f "$programa/local.dll" ] || sqlite3 "$programa/local.dll" <"$raiz/sql/local/local.sql"
if [ ! -f "$programa/Taldo.dll" ]; then
  sqlite3 "$programa/Taldo.dll" <"$raiz/sql/local/taldo.sql"
  sqlite3 "$programa/Taldo.dll" <"$raiz/sql/demo/historial_demo.sql"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No hay pantalla: el programa corre sin ventanas (plataforma offscreen)."
  export QT_QPA_PLATFORM=offscreen
fi
# The simulated stamping program serves the branches' folders beside the program, as the real
# one would; it stops when the program ends.
"$programa/tools/timbrador_simulado/timbrador_simulado" --demora 2 >>"$demo/timbrador_simulado.log" 2>&1 &
timbrador=$!
trap 'kill $timbrador 2>/dev/null || true' EXIT

echo "Iniciando facturador (Ctrl+C para terminar). Carpetas de las sucursales: $demo"
cd "$programa"
./facturador
