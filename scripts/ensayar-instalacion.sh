#!/usr/bin/env bash
# Rehearses the README's "Running as a service" on a Debian 12 machine of its own: a container
# booted with systemd as PID 1 (scripts/contenedor-debian.sh), on a throwaway overlay of a cached
# minimal root filesystem whose mariadb-server holds the chain's central database (the schema and
# the demo data, whose profiles name folders that are not there). Every sh block of the section
# runs there in order, as root, from a copy of the README's folder whose build-paquete/ holds
# PAQUETE.deb; of the build commands only the package's installation runs. Needs root.
#   ensayar-instalacion.sh PAQUETE.deb RAIZ_FUENTES [VERIFICAR.sh [PROGRAMA...]]
# The container has no network: what the package's installation pulls in is downloaded before the
# boot, and listed with its size in /root/ensayo/nuevos.txt. Each PROGRAMA is copied into the
# container's /usr/local/bin. VERIFICAR.sh runs inside (bash, as root) with the moment's name:
#   instalado    after the set-up blocks, before the first removal block; then the container is
#                powered off and booted again, and
#   reiniciado   runs;
#   retirado, reinstalado, purgado  after the blocks that remove, install again and purge.
# Exits 0 when everything succeeded and 1 with the reason otherwise, also when this machine
# cannot boot the container; 77 (skipped) only when FACTURADOR_SIN_CONTENEDOR=1 says so.
set -euo pipefail
aqui=$(cd "$(dirname "$0")" && pwd)
ensayo=/root/ensayo

fallar() {
  echo "FALLA: $*" >&2
  exit 1
}

paso() {
  echo "== $* ($((SECONDS - inicio)) s)"
}

Requisitos() {
  if [ "${FACTURADOR_SIN_CONTENEDOR:-}" = 1 ]; then
    echo "ensayar-instalacion: se omite (FACTURADOR_SIN_CONTENEDOR=1)"
    exit 77
  fi
  [ "$(id -u)" -eq 0 ] || fallar "hace falta root para arrancar el contenedor"
  local programa
  for programa in debootstrap systemd-nspawn nsenter; do
    command -v "$programa" >/dev/null ||
      fallar "falta $programa (scripts/instalar-dependencias.sh lo instala)"
  done
}

# The sh blocks of the README's service section, one file each: bloque.1, bloque.2...
Partir_Readme() {
  awk -v destino="$1/bloque" '
    /^## / { seccion = ($0 == "## Running as a service") }
    seccion && /^ *```sh$/ { n++; dentro = 1; next }
    seccion && dentro && /^ *```$/ { dentro = 0; next }
    seccion && dentro { sub(/^   /, ""); print > (destino "." n) }
  ' "$2"
}

# The README's folder as the container sees it, with the package under test where the build
# commands leave theirs.
Preparar_Copia() {
  local deb=$1 fuentes=$2 verificar=$3 destino=$contenedor_raiz$ensayo
  shift 3
  mkdir -p "$destino/build-paquete" "$destino/sql"
  cp "$fuentes/README.md" "$destino/"
  cp "$fuentes/sql/01_esquema.sql" "$fuentes/sql/demo/datos_demo.sql" "$destino/sql/"
  cp "$deb" "$destino/build-paquete/"
  [ -z "$verificar" ] || cp "$verificar" "$contenedor_raiz/root/verificar.sh"
  [ $# -eq 0 ] || cp "$@" "$contenedor_raiz/usr/local/bin/"
  Partir_Readme "$destino" "$fuentes/README.md"
  [ -f "$destino/bloque.1" ] || fallar "el README no tiene bloques sh en su sección de servicio"
}

# What `apt install` of the package pulls into the minimal system, downloaded with the machine's
# network before the boot: the new packages, one a line, and the disk space they take.
Descargar_Paquetes() {
  local deb=$1 salida=$contenedor_raiz$ensayo/nuevos.log
  Contenedor_Chroot "$contenedor_raiz" /usr/bin/apt-get install --download-only --yes \
    "$ensayo/build-paquete/$(basename "$deb")" >"$salida" 2>&1 ||
    { cat "$salida"; fallar "no se pudieron descargar los paquetes que instala $deb"; }
  awk '/^The following NEW packages/ { nuevos = 1; next }
       nuevos && /^  / { for (i = 1; i <= NF; i++) print $i; next }
       { nuevos = 0 }' "$salida" >"$contenedor_raiz$ensayo/nuevos.txt"
  sed -n 's/^After this operation, \([0-9.,]* [kMG]*B\) .*/espacio \1/p' \
    "$salida" >>"$contenedor_raiz$ensayo/nuevos.txt"
}

# The machine's own server, as a fresh install leaves it, with the chain's central database.
Cargar_Base_Central() {
  Adentro sh -ec "
    for _ in \$(seq 1 300); do mariadb-admin ping >/dev/null 2>&1 && break; sleep 0.1; done
    mariadb <$ensayo/sql/01_esquema.sql
    sed 's#@DEMO@#*srv*sin_configurar#g' $ensayo/sql/datos_demo.sql | mariadb"
}

Verificar() {
  [ -f "$contenedor_raiz/root/verificar.sh" ] || return 0
  paso "verificación: $1"
  Adentro bash /root/verificar.sh "$1" || fallar "verificación $1"
}

Reiniciar_Contenedor() {
  paso "se apaga y se vuelve a arrancar el contenedor"
  Contenedor_Apagar
  Contenedor_Arrancar || fallar "el contenedor no volvió a arrancar"
}

Correr_Bloque() {
  local n=$1 bloque=$ensayo/bloque.$1
  # The package under test stands for the one the build commands make.
  if grep -q '^cmake ' "$contenedor_raiz$bloque"; then
    grep '^apt install ' "$contenedor_raiz$bloque" >"$contenedor_raiz$bloque.instalar"
    bloque=$bloque.instalar
  fi
  paso "bloque $n: $(head -n 1 "$contenedor_raiz$bloque")"
  Adentro bash -c "cd $ensayo && bash -e $bloque" || fallar "bloque $n del README"
}

Correr_Readme() {
  local n=1 retirando=false
  while [ -f "$contenedor_raiz$ensayo/bloque.$n" ]; do
    local texto
    texto=$(cat "$contenedor_raiz$ensayo/bloque.$n")
    if ! $retirando && grep -q '^apt remove' <<<"$texto"; then
      retirando=true
      Verificar instalado
      Reiniciar_Contenedor
      Verificar reiniciado
    fi
    Correr_Bloque "$n"
    if grep -q '^apt purge' <<<"$texto"; then
      Verificar purgado
    elif grep -q '^apt remove' <<<"$texto"; then
      Verificar retirado
    elif $retirando && grep -q '^apt install' <<<"$texto"; then
      Verificar reinstalado
    fi
    n=$((n + 1))
  done
  $retirando || fallar "el README no dice cómo quitar el paquete"
}

main() {
  [ $# -ge 2 ] || { echo "uso: $0 PAQUETE.deb RAIZ_FUENTES [VERIFICAR.sh [PROGRAMA...]]" >&2; exit 64; }
  local deb fuentes verificar=""
  deb=$(realpath "$1") fuentes=$(realpath "$2")
  [ $# -lt 3 ] || verificar=$(realpath "$3")
  shift $(($# < 3 ? $# : 3))
  Requisitos
  # shellcheck source=contenedor-debian.sh
  source "$aqui/contenedor-debian.sh"
  trap Contenedor_Desmontar EXIT
  trap 'exit 1' INT TERM HUP PIPE
  inicio=$SECONDS
  paso "raíz del contenedor"
  Contenedor_Montar || fallar "no se pudo preparar la raíz del contenedor"
  Preparar_Copia "$deb" "$fuentes" "$verificar" "$@"
  paso "paquetes que trae la instalación"
  Descargar_Paquetes "$deb"
  paso "arranque"
  Contenedor_Arrancar || fallar "el contenedor no arrancó con systemd"
  Cargar_Base_Central || fallar "no se cargó la base central en el mariadb-server del contenedor"
  Correr_Readme
  paso "la sección del servicio del README se cumplió"
}

main "$@"
