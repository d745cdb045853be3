#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what an administrator relies on: its
# name, files, metadata and dependencies, lintian's verdict, the systemd unit, that creating
# the local database files never replaces existing ones, and the README's service section run
# step by step on a throwaway copy of this machine.
#   paquete_test.sh BUILD_FOLDER VERSION
set -euo pipefail
compilacion=$1
version=$2
raiz=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
falla() { echo "FALLA: $*" >&2; exit 1; }

echo "== cpack"
(cd "$compilacion" && cpack -G DEB -B "$tmp/salida") >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; falla "cpack"; }
deb=$tmp/salida/facturador_${version}_amd64.deb
[ -f "$deb" ] || falla "no se generó $(basename "$deb"): $(ls "$tmp/salida")"

echo "== contenido"
dpkg-deb -c "$deb" | awk '{print $1, $6}' >"$tmp/contenido"
for esperado in '-rwxr-xr-x ./usr/bin/facturador' \
  '-rw-r--r-- ./lib/systemd/system/facturador.service' \
  '-rw-r--r-- ./usr/share/applications/facturador.desktop' \
  '-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/facturador.png' \
  '-rw-r--r-- ./usr/share/man/man1/facturador.1.gz' \
  '-rw-r--r-- ./usr/share/facturador/local.sql' '-rw-r--r-- ./usr/share/facturador/01_esquema.sql' \
  '-rw------- ./usr/share/facturador/02_cuenta.sql' '-rw-r--r-- ./usr/share/doc/facturador/README.md.gz' \
  '-rwxr-xr-x ./usr/share/facturador/crear-archivos-locales' \
  '-rwxr-xr-x ./usr/share/facturador/facturador-consola'; do
  grep -qxF -- "$esperado" "$tmp/contenido" || falla "falta $esperado"
done
# Only the program: no tests, simulated stamping program, picture tools or benchmarks.
ejecutables=$(awk '$1 ~ /^-..x/ {print $2}' "$tmp/contenido" | sort | tr '\n' ' ')
[ "$ejecutables" = "./usr/bin/facturador ./usr/share/facturador/crear-archivos-locales \
./usr/share/facturador/facturador-consola " ] ||
  falla "ejecutables inesperados: $ejecutables"

echo "== metadatos"
[ "$(dpkg-deb -f "$deb" Package Version Architecture | tr '\n' ' ')" = \
  "Package: facturador Version: $version Architecture: amd64 " ] || falla "nombre o versión"
# Package names of Depends, without versions.
dpkg-deb -f "$deb" Depends | tr ',' '\n' | awk '{print $1}' >"$tmp/depende"
for d in libmariadb3 libqt6widgets6 libqt6gui6 libsqlite3-0 libfmt9 qt6-translations-l10n \
  sqlite3 adduser tzdata; do
  grep -qx "$d" "$tmp/depende" || falla "Depends sin $d: $(tr '\n' ' ' <"$tmp/depende")"
done
dpkg-deb -f "$deb" Recommends | grep -qx 'mariadb-server' || falla "Recommends"
# The changelog's newest entry is the package's version.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/facturador/changelog.gz | gzip -d |
  head -1 | grep -qF "facturador ($version)" || falla "el changelog no empieza por $version"

echo "== lintian"
lintian --fail-on error,warning "$deb" || falla "lintian"

echo "== guiones del paquete"
dpkg-deb -e "$deb" "$tmp/control"
for s in postinst prerm postrm; do sh -n "$tmp/control/$s" || falla "$s"; done
dpkg-deb -x "$deb" "$tmp/raiz"

echo "== unidad de systemd"
if command -v systemd-analyze >/dev/null; then
  # In a copy of the system's units with the package on top, so that the targets it names and
  # the program it starts exist; any message is a fault in the unit.
  mkdir -p "$tmp/sistema/lib/systemd/system"
  cp -a /lib/systemd/system/. "$tmp/sistema/lib/systemd/system/"
  dpkg-deb -x "$deb" "$tmp/sistema"
  mensajes=$(systemd-analyze verify --man=no --root="$tmp/sistema" \
    /lib/systemd/system/facturador.service 2>&1) || falla "systemd-analyze: $mensajes"
  [ -z "$mensajes" ] || falla "systemd-analyze: $mensajes"
else
  echo "systemd-analyze no está instalado: no se verifica la unidad"
fi

echo "== archivos locales"
crear=$tmp/raiz/usr/share/facturador/crear-archivos-locales
programa=$tmp/programa
mkdir "$programa"
"$crear" "$programa"
[ "$(sqlite3 "$programa/local.dll" 'SELECT BD_MySQL FROM Configuracion')" = Morvane_Central ] ||
  falla "local.dll nuevo"
[ "$(sqlite3 "$programa/Taldo.dll" 'SELECT COUNT(*) FROM Sincronizaciones')" = 0 ] ||
  falla "Taldo.dll nuevo"
# An operator's local.dll survives; a missing Taldo.dll comes back; nothing else is left behind.
sqlite3 "$programa/local.dll" "UPDATE Configuracion SET IP_Servidor = 'marca'"
rm "$programa/Taldo.dll"
"$crear" "$programa"
[ "$(sqlite3 "$programa/local.dll" 'SELECT IP_Servidor FROM Configuracion')" = marca ] ||
  falla "se reemplazó local.dll"
[ -f "$programa/Taldo.dll" ] || falla "no se volvió a crear Taldo.dll"
[ "$(LC_ALL=C ls -A "$programa" | tr '\n' ' ')" = "Taldo.dll local.dll " ] ||
  falla "sobrantes: $(ls -A "$programa")"

echo "== el README, paso a paso"
codigo=0
bash "$raiz/scripts/ensayar-instalacion.sh" "$deb" "$raiz" \
  "$raiz/tests/empaquetado/verificar_instalacion.sh" >"$tmp/ensayo.log" 2>&1 || codigo=$?
if [ "$codigo" = 77 ]; then
  cat "$tmp/ensayo.log"
elif [ "$codigo" != 0 ]; then
  cat "$tmp/ensayo.log"
  falla "la sección del servicio del README"
fi
echo "Paquete correcto: $(basename "$deb")"
