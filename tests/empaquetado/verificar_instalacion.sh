#!/usr/bin/env bash
# What the README's service section leaves on a machine, checked in the rehearsal's copy right
# after its steps, with the service running (scripts/ensayar-instalacion.sh runs it as root).
set -euo pipefail
falla() { echo "FALLA: $*" >&2; exit 1; }
esperar() { for _ in $(seq 1 300); do eval "$1" && return 0; sleep 0.1; done; falla "$2"; }
cola=/srv/facturacion/sucursal1/cola

# A file to stamp, read-only, of the service's account and the branch folders' group, that the
# stamping program's account reads and takes; the error it leaves, under its own umask, the
# service takes in.
esperar "ls '$cola'/*.txt >/dev/null 2>&1" "ningún archivo para timbrar en $cola"
archivo=$(ls "$cola"/*.txt | head -n 1)
[ "$(stat -c '%a %U %G' "$archivo")" = "440 facturador facturador-sucursales" ] ||
  falla "$archivo: $(stat -c '%a %U %G' "$archivo")"
error="/srv/facturacion/sucursal1/no_validas/$(basename "$archivo" .txt)-error timbrado.txt"
runuser -u timbrador -- sh -ec "umask 0027; cat '$archivo' >/dev/null; rm '$archivo'
  printf 'Rechazado en el ensayo\r\n' >'$error'"
esperar "mariadb -N Morvane_Central -e \"SELECT Resultado FROM Solicitudes_de_Facturas_OL\" |
  grep -qx 'Error: Rechazado en el ensayo'" "el servicio no tomó el resultado del timbrador"

# The local files were made by the service's account, not by root in its folder.
for f in local.dll Taldo.dll; do
  [ "$(stat -c '%a %U %G' "/var/lib/facturador/$f")" = "640 facturador facturador" ] ||
    falla "$f: $(stat -c '%a %U %G' "/var/lib/facturador/$f")"
done

# Each credentials file reaches only its own group: the stamping program reads none, monitoring
# and the operator only theirs.
for par in timbrador: nagios:monitoreo operador:consola; do
  cuenta=${par%%:*} propio=${par#*:}
  for archivo in central consola monitoreo; do
    lee=no esperado=no
    runuser -u "$cuenta" -- cat "/etc/facturador/$archivo.conf" >/dev/null 2>&1 && lee=si
    [ "$archivo" != "$propio" ] || esperado=si
    [ "$lee" = "$esperado" ] || falla "$cuenta lee $archivo.conf: $lee"
  done
done

# The commands find the installed folder from anywhere, as root (without Qt's runtime-folder
# warning) and as the monitoring account, with monitoring's central account (nagios reads no other
# file); the built-in password no longer opens the service's account.
for cuenta in root nagios; do
  codigo=0
  (cd / && runuser -u "$cuenta" -- facturador --estado >/tmp/estado 2>/tmp/errores) || codigo=$?
  [ "$codigo" -le 1 ] && [ ! -s /tmp/errores ] || falla "--estado de $cuenta: $codigo
$(cat /tmp/estado /tmp/errores)"
  ! grep -q "falta la carpeta" /tmp/estado || falla "--estado de $cuenta: $(cat /tmp/estado)"
done
# The operator's console: a program folder of the operator's own, made on first use, from which
# the central database is reached with the console's account while the service holds the lease.
codigo=0
runuser -u operador -- sh -c 'cd && HOME=$(pwd) /usr/share/facturador/facturador-consola --estado' \
  >/tmp/consola 2>&1 || codigo=$?
carpeta=$(getent passwd operador | cut -d: -f6)/.local/share/facturador
[ "$(stat -c %U "$carpeta/local.dll")" = operador ] || falla "la consola no tiene su carpeta"
grep -q "^Turno de trabajo: .*:/var/lib/facturador pid" /tmp/consola ||
  falla "consola ($codigo): $(cat /tmp/consola)"
! mariadb -uusuarios -pm58kbwTavRz07 -e 'SELECT 1' 2>/dev/null || falla "vale la clave integrada"
echo "Instalación correcta"
