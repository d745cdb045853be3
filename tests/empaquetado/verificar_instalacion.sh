#!/usr/bin/env bash
# What the README's service section leaves on a Debian 12 machine with systemd, checked inside
# the container of scripts/ensayar-instalacion.sh at each moment it names:
#   verificar_instalacion.sh instalado|reiniciado|retirado|reinstalado|purgado
set -euo pipefail
falla() {
  echo "FALLA: $*" >&2
  echo "Estado del servicio: $(systemctl show -p ActiveState,SubState,NRestarts,StatusText facturador | tr '\n' ' ')" >&2
  journalctl -u facturador -n 30 --no-pager >&2 || true
  exit 1
}
esperar() { for _ in $(seq 1 "${3:-600}"); do eval "$1" && return 0; sleep 0.1; done; falla "$2"; }
propiedad() { systemctl show -p "$1" --value facturador; }
status_es() { [[ $(propiedad StatusText) == *"$1" ]]; }
consulta() { mariadb -N Morvane_Central -e "$1"; }
programa=/var/lib/facturador
huella=/root/local.dll.md5

# What the headless package pulled into the minimal system: nothing of GTK, X or Mesa.
paquetes_traidos() {
  local graficos
  graficos=$(grep -E '^(libgtk|libgdk|libx11|libxcb|libxext|libxrender|libgl1|libglx|libglu|libgles|libegl|libopengl|libdrm|libwayland|libvulkan|mesa|libqt6gui|libqt6widgets|libqt6opengl|fontconfig|libfontconfig|libfreetype)' \
    /root/ensayo/nuevos.txt || true)
  [ -z "$graficos" ] || falla "el paquete trae bibliotecas de ventanas: $graficos"
  echo "El paquete trae $(grep -cv '^espacio ' /root/ensayo/nuevos.txt) paquetes," \
    "$(sed -n 's/^espacio //p' /root/ensayo/nuevos.txt)"
}

# Started through READY=1 (Type=notify), with the status line of a cycle that went through.
servicio_activo() {
  [ "$(propiedad ActiveState)/$(propiedad SubState)" = active/running ] ||
    falla "el servicio no está active (running): $(propiedad ActiveState)/$(propiedad SubState)"
  [ "$(systemctl is-enabled facturador)" = enabled ] || falla "el servicio no quedó habilitado"
  esperar "status_es ', sin errores.'" "la línea de estado no dice sin errores"
}

# A request the whole road: its file to stamp (read-only, the service's account and group) is read
# by the simulated stamping program under its own account, the result stored; refusals rejected.
camino_completo() {
  local cola=/srv/facturacion/sucursal1/cola archivo
  esperar "ls $cola/*.txt >/dev/null 2>&1" "ningún archivo para timbrar en $cola"
  archivo=$(ls "$cola"/*.txt | head -n 1)
  [ "$(stat -c '%a %U %G' "$archivo")" = "440 facturador facturador-sucursales" ] ||
    falla "$archivo: $(stat -c '%a %U %G' "$archivo")"
  # The stand-in reads the branch profiles, which monitoring's account may read; a real stamping
  # program needs no central account at all.
  systemd-run --quiet --unit=timbrador-simulado --uid=timbrador --gid=timbrador \
    -p UMask=0027 -p SupplementaryGroups=facturador-monitoreo \
    /usr/local/bin/timbrador_simulado --credenciales /etc/facturador/monitoreo.conf
  esperar "[ \"\$(consulta 'SELECT GROUP_CONCAT(ID ORDER BY ID) FROM Solicitudes_de_Facturas_OL WHERE Status = 3')\" = 101,102,103,104,105,108,110 ]" \
    "las solicitudes no llegaron a status 3" 900
  [ "$(consulta 'SELECT COUNT(*) FROM Comprobantes_Fiscales')" -ge 12 ] ||
    falla "no se guardaron el XML y el PDF de cada factura"
  systemctl stop timbrador-simulado
}

# The sandbox, seen from the service's mount namespace: only its program folder and the drop-in's
# branch folders can be written, homes are hidden; nothing the service owns lies anywhere else.
caja_de_arena() {
  local pid ruta
  pid=$(propiedad MainPID)
  for ruta in /var/lib/facturador /srv/facturacion/sucursal1/cola; do
    nsenter -t "$pid" -m -- sh -c "touch '$ruta/.sonda' && rm '$ruta/.sonda'" ||
      falla "el servicio no puede escribir $ruta"
  done
  for ruta in /etc /usr/bin /var/lib /var/cache /srv /opt; do
    ! nsenter -t "$pid" -m -- touch "$ruta/.sonda" 2>/dev/null ||
      falla "el servicio puede escribir $ruta"
  done
  ! nsenter -t "$pid" -m -- test -e /root/ensayo || falla "el servicio ve /root"
  local ajenos
  ajenos=$(find / -xdev \( -path /proc -o -path /sys \) -prune -o -user facturador -print |
    grep -v -e '^/var/lib/facturador' -e '^/srv/facturacion/' || true)
  [ -z "$ajenos" ] || falla "archivos del servicio fuera de sus carpetas: $ajenos"
}

# The monitoring account's line of the README, from any folder: healthy, with nothing on
# standard error; and the unit's real exposure.
vigilancia_y_seguridad() {
  local codigo=0 exposicion
  (cd / && runuser -u nagios -- facturador --estado >/tmp/estado 2>/tmp/errores) || codigo=$?
  [ "$codigo" = 0 ] && [ ! -s /tmp/errores ] ||
    falla "--estado de nagios: $codigo $(cat /tmp/estado /tmp/errores)"
  exposicion=$(systemd-analyze security --no-pager facturador | tail -n 1 |
    sed -n 's/.*facturador.service: \([0-9.]*\).*/\1/p')
  echo "Exposición de la unidad: $exposicion"
  awk -v e="$exposicion" 'BEGIN { exit !(e != "" && e < 1.0) }' ||
    falla "exposición de la unidad $exposicion, no menor que 1.0"
  md5sum "$programa/local.dll" >"$huella"
}

# The local files made by the service's account, not by root in its folder; each credentials file
# reaches only its own group (the stamping program reads none, monitoring only its own); root's
# --estado from anywhere, with monitoring's account, without a word on standard error; the
# built-in password no longer opens the service's account.
cuentas_y_archivos() {
  local f cuenta propio archivo lee esperado codigo=0
  for f in local.dll Taldo.dll; do
    [ "$(stat -c '%a %U %G' "$programa/$f")" = "640 facturador facturador" ] ||
      falla "$f: $(stat -c '%a %U %G' "$programa/$f")"
  done
  for par in timbrador: nagios:monitoreo; do
    cuenta=${par%%:*} propio=${par#*:}
    for archivo in central consola monitoreo; do
      lee=no esperado=no
      runuser -u "$cuenta" -- cat "/etc/facturador/$archivo.conf" >/dev/null 2>&1 && lee=si
      [ "$archivo" != "$propio" ] || esperado=si
      [ "$lee" = "$esperado" ] || falla "$cuenta lee $archivo.conf: $lee"
    done
  done
  (cd / && facturador --estado >/tmp/estado 2>/tmp/errores) || codigo=$?
  [ "$codigo" -le 1 ] && [ ! -s /tmp/errores ] ||
    falla "--estado de root: $codigo $(cat /tmp/estado /tmp/errores)"
  ! mariadb -uusuarios -pm58kbwTavRz07 -e 'SELECT 1' 2>/dev/null || falla "vale la clave integrada"
}

# A database that stops answering is no hang: waits give up, the status line says so, --estado
# calls it critical, systemd restarts nothing; once it answers, the cycles say they are back.
base_congelada() {
  local reinicios mariadbd codigo=0
  reinicios=$(propiedad NRestarts) mariadbd=$(pidof mariadbd)
  kill -STOP "$mariadbd"
  # A pooled connection waits out the statement limit (75 s), a new one the connection's (5 s).
  esperar "status_es 'sin conexión con la base de datos central.'" \
    "con la base congelada la línea de estado no dice sin conexión" 1500
  facturador --estado >/dev/null 2>&1 || codigo=$?
  kill -CONT "$mariadbd"
  [ "$codigo" = 2 ] || falla "--estado con la base congelada terminó con $codigo, no 2"
  esperar "status_es ', sin errores.'" "tras la base congelada la línea de estado no dice sin errores"
  [ "$(propiedad NRestarts)" = "$reinicios" ] || falla "systemd reinició el programa"
  journalctl -u facturador --no-pager | grep -q 'Sincronización restablecida' ||
    falla "no se dijo que la sincronización se restableció"
}

# A hang: the program stops (SIGSTOP stands for a folder whose share stopped answering). With
# the watchdog shortened to a few seconds, systemd kills it and starts it again.
programa_colgado() {
  local pid
  mkdir -p /run/systemd/system/facturador.service.d
  printf '[Service]\nWatchdogSec=4s\nTimeoutAbortSec=2s\n' \
    >/run/systemd/system/facturador.service.d/vigilancia.conf
  systemctl daemon-reload
  systemctl restart facturador
  pid=$(propiedad MainPID)
  kill -STOP "$pid"
  esperar "[ \"\$(propiedad NRestarts)\" = 1 ] && [ \"\$(propiedad SubState)\" = running ]" \
    "el programa colgado no se reinició" 300
  journalctl -u facturador --no-pager | grep -q 'Watchdog timeout' || falla "sin aviso del watchdog"
  rm /run/systemd/system/facturador.service.d/vigilancia.conf
  systemctl daemon-reload
  systemctl restart facturador
}

# Started without its database server (stopped, masked): the real cause comes first, the service
# comes up all the same, its status line saying what is missing; the server back, cycles go on.
sin_servidor_al_arrancar() {
  local diario
  systemctl stop mariadb
  systemctl mask --runtime --quiet mariadb
  systemctl restart facturador
  esperar "status_es 'sin conexión con la base de datos central.'" \
    "sin servidor la línea de estado no dice sin conexión"
  diario=$(journalctl -u facturador --no-pager -o cat \
    _SYSTEMD_INVOCATION_ID="$(propiedad InvocationID)")
  head -n 1 <<<"$diario" | grep -q '^No se pudo conectar con la base de datos central' ||
    falla "el primer aviso no es la causa: $diario"
  ! grep -q 'local.dll' <<<"$diario" || falla "sin servidor se habla de local.dll: $diario"
  systemctl unmask --runtime --quiet mariadb
  systemctl start mariadb
  esperar "status_es ', sin errores.'" "con el servidor de vuelta la línea de estado no dice sin errores"
}

instalado() {
  paquetes_traidos
  servicio_activo
  camino_completo
  caja_de_arena
  cuentas_y_archivos
  vigilancia_y_seguridad
  base_congelada
  programa_colgado
  sin_servidor_al_arrancar
}

reiniciado() {
  servicio_activo
  [ "$(propiedad NRestarts)" = 0 ] || falla "el servicio se reinició al arrancar"
  [ "$(consulta 'SELECT COUNT(*) FROM Solicitudes_de_Facturas_OL WHERE Status = 3')" = 7 ] ||
    falla "se perdieron solicitudes timbradas"
}

retirado() {
  ! systemctl is-active --quiet facturador || falla "el servicio sigue activo"
  [ ! -e /usr/bin/facturador ] || falla "quedó el programa"
  [ -f "$programa/local.dll" ] && [ -f /etc/facturador/central.conf ] ||
    falla "se perdió la carpeta del programa o la cuenta central"
}

reinstalado() {
  servicio_activo
  md5sum --check --quiet "$huella" || falla "la reinstalación reemplazó local.dll"
}

purgado() {
  [ ! -e "$programa" ] || falla "quedó $programa"
  [ -f /etc/facturador/central.conf ] || falla "se borró la cuenta central"
  getent passwd facturador >/dev/null || falla "se borró la cuenta del servicio"
  ! systemctl is-enabled --quiet facturador 2>/dev/null || falla "la unidad sigue habilitada"
}

case ${1:-} in
  instalado | reiniciado | retirado | reinstalado | purgado) "$1" ;;
  *) echo "uso: $0 instalado|reiniciado|retirado|reinstalado|purgado" >&2; exit 64 ;;
esac
echo "Verificación $1 correcta"
