#!/usr/bin/env bash
# Root makes the local database files in a folder an unprivileged account owns (as postinst does)
# while the account puts a link to a root-only file at each temporary file's name once written:
# that file must come out of every try unchanged; unattacked, the files are the account's, 0640.
#   carrera_archivos_locales.sh RAIZ_FUENTES
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "carrera_archivos_locales: hace falta root"; exit 77; }
cuenta=65534 # nobody:nogroup
tmp=$(mktemp -d)
chmod 0755 "$tmp"
hostil=""
trap '[ -z "$hostil" ] || kill "$hostil" 2>/dev/null; rm -rf "$tmp"' EXIT
falla() { echo "FALLA: $*" >&2; exit 1; }
como_cuenta() { setpriv --reuid="$cuenta" --regid="$cuenta" --clear-groups -- "$@"; }

# The script with its SQL beside it, in a folder of root's, as the package installs them.
mkdir "$tmp/share"
cp "$1/empaquetado/crear-archivos-locales" "$1/sql/local/local.sql" "$1/sql/local/taldo.sql" \
  "$tmp/share/"
programa=$tmp/programa secreto=$tmp/secreto
install -d -o "$cuenta" -g "$cuenta" -m 0750 "$programa"
printf 'solo de root\n' >"$secreto"
chmod 0600 "$secreto"

# shellcheck disable=SC2016 # expanded by the account's shell
setpriv --reuid="$cuenta" --regid="$cuenta" --clear-groups -- bash -c 'while :; do
    for t in "$1"/.*.dll.??????; do
      [ -s "$t" ] && [ ! -L "$t" ] && ln -sfn "$2" "$t.l" 2>/dev/null && mv -fT "$t.l" "$t" 2>/dev/null
    done
  done' hostil "$programa" "$secreto" </dev/null >/dev/null 2>&1 &
hostil=$!
for i in $(seq 1 20); do
  como_cuenta rm -f "$programa/local.dll" "$programa/Taldo.dll"
  "$tmp/share/crear-archivos-locales" "$programa" "$cuenta" >/dev/null 2>&1 || true
  [ "$(stat -c '%u %g %a' "$secreto")" = "0 0 600" ] && [ "$(cat "$secreto")" = "solo de root" ] ||
    falla "intento $i: el archivo de root quedó $(stat -c '%U:%G %a' "$secreto")"
done
kill "$hostil" && wait "$hostil" 2>/dev/null || true
hostil=""

como_cuenta rm -f "$programa/local.dll" "$programa/Taldo.dll" "$programa"/.*.dll.*
"$tmp/share/crear-archivos-locales" "$programa" "$cuenta" || falla "sin ataque, falló"
for archivo in local.dll Taldo.dll; do
  [ "$(stat -c '%u %g %a' "$programa/$archivo")" = "$cuenta $cuenta 640" ] ||
    falla "$archivo: $(stat -c '%u %g %a' "$programa/$archivo")"
done
echo "Los archivos locales se crearon sin seguir enlaces en 20 intentos"
