#!/usr/bin/env bash
# Builds the two Debian packages and checks what an administrator relies on: names, files,
# metadata, dependencies, no window library in the one for servers, lintian, the systemd unit,
# local database files never replaced, and the README's service section run step by step with the
# package for servers in a Debian 12 container booted with systemd.
#   paquete_test.sh BUILD_FOLDER VERSION TIMBRADOR_SIMULADO
set -euo pipefail
compilacion=$1
version=$2
timbrador=$3
raiz=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
falla() { echo "FALLA: $*" >&2; exit 1; }

echo "== cpack"
(cd "$compilacion" && cpack -G DEB -B "$tmp/salida") >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; falla "cpack"; }
deb=$tmp/salida/facturador_${version}_amd64.deb
servidor=$tmp/salida/facturador-servicio_${version}_amd64.deb
for paquete in "$deb" "$servidor"; do
  [ -f "$paquete" ] || falla "no se generó $(basename "$paquete"): $(ls "$tmp/salida")"
done

# What a package holds (its own doc folder, and for the one with windows its desktop entry, icon
# and console): the files given after its name, and no executable but those given.
revisar_contenido() {
  local paquete=$1 nombre=$2 esperado
  shift 2
  dpkg-deb -c "$paquete" | awk '{print $1, $6}' >"$tmp/contenido"
  for esperado in "-rw-r--r-- ./usr/share/doc/$nombre/README.md.gz" "$@"; do
    grep -qxF -- "$esperado" "$tmp/contenido" || falla "a $nombre le falta $esperado"
  done
  [ "$(grep -c '^-..x' "$tmp/contenido")" = "$(printf '%s\n' "$@" | grep -c '^-..x')" ] ||
    falla "ejecutables inesperados en $nombre: $(grep '^-..x' "$tmp/contenido")"
}
comunes=('-rwxr-xr-x ./usr/bin/facturador' '-rw-r--r-- ./lib/systemd/system/facturador.service'
  '-rw-r--r-- ./usr/share/man/man1/facturador.1.gz' '-rw-r--r-- ./usr/share/facturador/local.sql'
  '-rw-r--r-- ./usr/share/facturador/01_esquema.sql' '-rw------- ./usr/share/facturador/02_cuenta.sql'
  '-rwxr-xr-x ./usr/share/facturador/crear-archivos-locales')

# Name, version, the other package replaced, dependencies (names only), newest changelog entry.
revisar_metadatos() {
  local paquete=$1 nombre=$2 otro=$3
  shift 3
  [ "$(dpkg-deb -f "$paquete" Package Version Architecture Conflicts Replaces | tr '\n' ' ')" = \
    "Package: $nombre Version: $version Architecture: amd64 Conflicts: $otro Replaces: $otro " ] ||
    falla "nombre, versión o reemplazo de $nombre"
  dpkg-deb -f "$paquete" Depends | tr ',' '\n' | awk '{print $1}' >"$tmp/depende"
  for d in libmariadb3 libqt6core6 libsqlite3-0 libfmt9 sqlite3 adduser tzdata "$@"; do
    grep -qx "$d" "$tmp/depende" || falla "Depends de $nombre sin $d: $(tr '\n' ' ' <"$tmp/depende")"
  done
  dpkg-deb -f "$paquete" Recommends | grep -qx 'mariadb-server' || falla "Recommends de $nombre"
  dpkg-deb --fsys-tarfile "$paquete" | tar -xO "./usr/share/doc/$nombre/changelog.gz" | gzip -d |
    head -1 | grep -qF "facturador ($version)" || falla "el changelog no empieza por $version"
}

echo "== contenido y metadatos"
revisar_contenido "$deb" facturador "${comunes[@]}" \
  '-rw-r--r-- ./usr/share/applications/facturador.desktop' \
  '-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/facturador.png' \
  '-rwxr-xr-x ./usr/share/facturador/facturador-consola'
revisar_contenido "$servidor" facturador-servicio "${comunes[@]}"
! grep -qE '/(applications|icons)/' "$tmp/contenido" || falla "facturador-servicio lleva ventanas"
revisar_metadatos "$deb" facturador facturador-servicio libqt6widgets6 libqt6gui6 \
  qt6-translations-l10n
revisar_metadatos "$servidor" facturador-servicio facturador
if grep -qE '^(libqt6gui|libqt6widgets|libqt6opengl|libgl|libegl|libx|libxcb)' "$tmp/depende"; then
  falla "facturador-servicio depende de bibliotecas de ventanas: $(tr '\n' ' ' <"$tmp/depende")"
fi
# The program for servers loads no window library, whatever its dependencies say.
mkdir "$tmp/servidor"
dpkg-deb -x "$servidor" "$tmp/servidor"
ventanas=$(ldd "$tmp/servidor/usr/bin/facturador" |
  grep -E 'libQt6(Gui|Widgets|OpenGL|XcbQpa|DBus)|libGL|libEGL|libOpenGL|libX|libxcb|libgtk' || true)
[ -z "$ventanas" ] || falla "el programa para servidores carga: $ventanas"

echo "== lintian"
for paquete in "$deb" "$servidor"; do
  lintian --fail-on error,warning "$paquete" || falla "lintian de $(basename "$paquete")"
done

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

echo "== el README, paso a paso, en un contenedor con systemd"
codigo=0
bash "$raiz/scripts/ensayar-instalacion.sh" "$servidor" "$raiz" \
  "$raiz/tests/empaquetado/verificar_instalacion.sh" "$timbrador" || codigo=$?
[ "$codigo" = 0 ] || [ "$codigo" = 77 ] || falla "la sección del servicio del README"
echo "Paquetes correctos: $(basename "$deb"), $(basename "$servidor")"
exit "$codigo"
