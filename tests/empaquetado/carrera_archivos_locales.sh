#!/usr/bin/env bash
# Root creates the local database files in a program folder that an unprivileged account owns, as
# postinst does at every installation and upgrade in /var/lib/facturador. Meanwhile the account
# puts a link to a root-only file at the name of each temporary database file as soon as sqlite3
# has written it, hoping that root's next step follows the link. The root-only file must come out
# of every try as it went in, and without the attack the files are made, the account's and 0640.
#   carrera_archivos_locales.sh RAIZ_FUENTES
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "carrera_archivos_locales: hace falta root"; exit 77; }
raiz=$1
cuenta=65534 # nobody:nogroup, on every Debian machine
intentos=10
tmp=$(mktemp -d)
chmod 0755 "$tmp"
hostil=""
trap '[ -z "$hostil" ] || kill "$hostil" 2>/dev/null; rm -rf "$tmp"' EXIT
falla() { echo "FALLA: $*" >&2; exit 1; }

# The script with its SQL beside it, as the package installs them, in a folder of root's.
mkdir "$tmp/share"
cp "$raiz/empaquetado/crear-archivos-locales" "$raiz/sql/local/local.sql" \
  "$raiz/sql/local/taldo.sql" "$tmp/share/"
crear=$tmp/share/crear-archivos-locales
programa=$tmp/programa
install -d -o "$cuenta" -g "$cuenta" -m 0750 "$programa"
secreto=$tmp/secreto
printf 'solo de root\n' >"$secreto"
chmod 0600 "$secreto"
como_cuenta() { setpriv --reuid="$cuenta" --regid="$cuenta" --clear-groups -- "$@"; }

# shellcheck disable=SC2016 # expanded by the account's shell
setpriv --reuid="$cuenta" --regid="$cuenta" --clear-groups -- bash -c '
  while :; do
    for t in "$1"/.*.dll.??????; do
      [ -s "$t" ] && [ ! -L "$t" ] || continue
      ln -sfn "$2" "$t.enlace" 2>/dev/null && mv -fT "$t.enlace" "$t" 2>/dev/null
    done
  done' hostil "$programa" "$secreto" </dev/null >/dev/null 2>&1 &
hostil=$!

for i in $(seq 1 "$intentos"); do
  como_cuenta rm -f "$programa/local.dll" "$programa/Taldo.dll"
  "$crear" "$programa" "$cuenta" >/dev/null 2>&1 || true
  [ "$(stat -c '%u %g %a' "$secreto")" = "0 0 600" ] && [ "$(cat "$secreto")" = "solo de root" ] ||
    falla "intento $i: el archivo de root quedó $(stat -c '%U:%G %a' "$secreto")"
done
kill "$hostil"
wait "$hostil" 2>/dev/null || true
hostil=""

como_cuenta rm -f "$programa/local.dll" "$programa/Taldo.dll" "$programa"/.*.dll.*
"$crear" "$programa" "$cuenta" || falla "sin ataque, crear-archivos-locales falló"
for archivo in local.dll Taldo.dll; do
  [ "$(stat -c '%u %g %a' "$programa/$archivo")" = "$cuenta $cuenta 640" ] ||
    falla "$archivo: $(stat -c '%u %g %a' "$programa/$archivo")"
done
[ "$(sqlite3 "$programa/local.dll" 'SELECT BD_MySQL FROM Configuracion')" = Morvane_Central ] ||
  falla "local.dll nuevo"
echo "Los archivos locales se crearon sin seguir enlaces en $intentos intentos"
