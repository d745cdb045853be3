#!/usr/bin/env bash
# Functions that make, boot and drive a Debian 12 container whose PID 1 is systemd, with
# systemd-nspawn; sourced by scripts/ensayar-instalacion.sh. Needs root, debootstrap and
# systemd-container (scripts/instalar-dependencias.sh installs both). Run by itself,
#   contenedor-debian.sh raiz
# makes the cached root filesystem if it is missing and prints its folder.
#
# The root filesystem (debootstrap's minbase with systemd, dbus and mariadb-server) is made once
# and kept in FACTURADOR_CACHE_CONTENEDOR (default /var/cache/facturador-pruebas), under a name
# that changes with its recipe; the Debian packages that installations inside download are kept
# beside it. Each container runs on an overlay of its own over that root filesystem, so nothing
# it does reaches the cache, and the overlay outlives a reboot of the container until
# Contenedor_Desmontar. The container has no network but its loopback: only the preparation
# before the boot (Contenedor_Chroot) uses the machine's.
#
# The caller traps EXIT (and INT, TERM, HUP, PIPE turned into exits) with Contenedor_Desmontar:
# a booted container, its mounts and its cgroups must never outlive the test on a shared machine.

cache_contenedor=${FACTURADOR_CACHE_CONTENEDOR:-/var/cache/facturador-pruebas}
# Changing the recipe changes the cached folder's name, so an old root filesystem is never used.
receta_contenedor="bookworm minbase systemd systemd-sysv dbus mariadb-server 1"

contenedor_tmp=""        # the overlay's folders
contenedor_raiz=""       # the merged root the container boots
contenedor_nspawn=""     # pid of systemd-nspawn
contenedor_init=""       # pid of the container's systemd, as this machine sees it
contenedor_cgroup=facturador-prueba-$$  # this run's cgroup in both hierarchies
contenedor_nombre=facturador-prueba-$$

# The mirror this machine's apt uses.
Espejo_Debian() {
  local espejo
  espejo=$(awk '/^URIs:/{print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  echo "${espejo:-http://deb.debian.org/debian}"
}

# A cgroup of this run in the hierarchies nspawn uses (the named systemd one and cgroup2), so
# that the payload/ and supervisor/ cgroups nspawn makes under its own are removed with it.
Contenedor_Cgroup() {
  local jerarquia
  for jerarquia in /sys/fs/cgroup/systemd /sys/fs/cgroup/unified; do
    [ -d "$jerarquia" ] && mkdir -p "$jerarquia/$contenedor_cgroup"
  done
  return 0
}

# Runs a command in this run's cgroup.
En_Cgroup() {
  bash -c 'for j in /sys/fs/cgroup/systemd /sys/fs/cgroup/unified; do
      [ -d "$j/$1" ] && echo $$ >"$j/$1/cgroup.procs"; done; shift; exec "$@"' \
    sh "$contenedor_cgroup" "$@"
}

# The container's last processes may take a moment to leave its cgroups after nspawn exits.
Quitar_Cgroup() {
  local jerarquia
  for _ in $(seq 1 50); do
    for jerarquia in /sys/fs/cgroup/systemd /sys/fs/cgroup/unified; do
      [ -d "$jerarquia/$contenedor_cgroup" ] || continue
      find "$jerarquia/$contenedor_cgroup" -depth -type d -exec rmdir {} + 2>/dev/null || true
    done
    [ ! -d "/sys/fs/cgroup/systemd/$contenedor_cgroup" ] &&
      [ ! -d "/sys/fs/cgroup/unified/$contenedor_cgroup" ] && return 0
    sleep 0.1
  done
  echo "contenedor-debian: no se pudo quitar el cgroup $contenedor_cgroup" >&2
}

# nspawn as a chroot sharing the machine's network: for apt, before any boot.
Contenedor_Chroot() {
  local raiz=$1
  shift
  En_Cgroup systemd-nspawn -q --register=no --keep-unit -D "$raiz" \
    --setenv=DEBIAN_FRONTEND=noninteractive --setenv=LANG=C.UTF-8 "$@"
}

# Prints the cached root filesystem, made first if it is not there. Two runs at once take turns.
Raiz_Contenedor() {
  local huella destino
  huella=$(printf '%s' "$receta_contenedor" | sha256sum | cut -c1-12)
  destino=$cache_contenedor/bookworm-$huella
  mkdir -p "$cache_contenedor/archivos-apt/partial"
  (
    flock 9
    [ -f "$destino/.completa" ] && exit 0
    Hacer_Raiz "$destino" >&2
  ) 9>"$cache_contenedor/.candado"
  echo "$destino"
}

Hacer_Raiz() {
  local destino=$1 parcial=$1.parcial inicio=$SECONDS
  echo "Raíz del contenedor: se hace en $destino (una sola vez)"
  rm -rf "$parcial"
  debootstrap --variant=minbase --include=systemd,systemd-sysv,dbus bookworm "$parcial" \
    "$(Espejo_Debian)" >"$cache_contenedor/debootstrap.log" 2>&1 ||
    { tail -20 "$cache_contenedor/debootstrap.log"; return 1; }
  # The suites and mirrors of this machine, so that the package built here finds the library
  # versions it was built against.
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    cp /etc/apt/sources.list.d/debian.sources "$parcial/etc/apt/sources.list.d/"
    rm -f "$parcial/etc/apt/sources.list"
  fi
  echo contenedor >"$parcial/etc/hostname"
  Contenedor_Cgroup
  Contenedor_Chroot "$parcial" /bin/sh -c 'apt-get update -qq &&
    apt-get install -y -qq --no-install-recommends mariadb-server >/dev/null && apt-get clean' ||
    return 1
  Quitar_Cgroup
  touch "$parcial/.completa"
  mv "$parcial" "$destino"
  echo "Raíz del contenedor hecha en $((SECONDS - inicio)) s"
}

# An overlay of its own over the cached root filesystem; the apt archives of the cache are the
# container's, so that what one run downloaded the next one finds.
Contenedor_Montar() {
  local raiz
  raiz=$(Raiz_Contenedor)
  contenedor_tmp=$(mktemp -d /var/tmp/facturador-contenedor.XXXXXX)
  mkdir -p "$contenedor_tmp/arriba" "$contenedor_tmp/trabajo" "$contenedor_tmp/raiz"
  contenedor_raiz=$contenedor_tmp/raiz
  mount -t overlay overlay \
    -o "lowerdir=$raiz,upperdir=$contenedor_tmp/arriba,workdir=$contenedor_tmp/trabajo" \
    "$contenedor_raiz"
  mount --bind "$cache_contenedor/archivos-apt" "$contenedor_raiz/var/cache/apt/archives"
  Contenedor_Cgroup
}

# Boots the container and waits until its systemd has started everything.
Contenedor_Arrancar() {
  local estado=""
  setsid bash -c 'for j in /sys/fs/cgroup/systemd /sys/fs/cgroup/unified; do
      [ -d "$j/$1" ] && echo $$ >"$j/$1/cgroup.procs"; done
      exec systemd-nspawn --register=no --keep-unit --console=passive --private-network \
        -M "$2" -b -D "$3"' sh "$contenedor_cgroup" "$contenedor_nombre" "$contenedor_raiz" \
    >>"$contenedor_tmp/arranque.log" 2>&1 </dev/null &
  contenedor_nspawn=$!
  for _ in $(seq 1 600); do
    contenedor_init=$(pgrep -P "$contenedor_nspawn" | head -n 1 || true)
    if [ -n "$contenedor_init" ]; then
      estado=$(Adentro systemctl is-system-running 2>/dev/null || true)
      case $estado in running | degraded) return 0 ;; esac
    fi
    kill -0 "$contenedor_nspawn" 2>/dev/null || break
    sleep 0.1
  done
  echo "El contenedor no arrancó (estado: ${estado:-ninguno}); lo que dijo systemd-nspawn:" >&2
  tail -30 "$contenedor_tmp/arranque.log" >&2
  return 1
}

# A command inside the booted container, as root, with a clean environment.
Adentro() {
  nsenter -t "$contenedor_init" -m -u -i -n -p -- /usr/bin/env -i \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

# A clean power-off: nspawn asks the container's systemd to stop everything.
Contenedor_Apagar() {
  [ -n "$contenedor_nspawn" ] || return 0
  kill -TERM "$contenedor_nspawn" 2>/dev/null || true
  for _ in $(seq 1 300); do
    kill -0 "$contenedor_nspawn" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$contenedor_nspawn" 2>/dev/null || true
  wait "$contenedor_nspawn" 2>/dev/null || true
  contenedor_nspawn="" contenedor_init=""
}

Contenedor_Desmontar() {
  Contenedor_Apagar
  if [ -n "$contenedor_raiz" ]; then
    umount "$contenedor_raiz/var/cache/apt/archives" 2>/dev/null || true
    umount "$contenedor_raiz" 2>/dev/null || umount -l "$contenedor_raiz" 2>/dev/null || true
  fi
  Quitar_Cgroup
  [ -z "$contenedor_tmp" ] || rm -rf "$contenedor_tmp"
  contenedor_raiz="" contenedor_tmp=""
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  case ${1:-} in
    raiz)
      if [ "${FACTURADOR_SIN_CONTENEDOR:-}" = 1 ]; then
        echo "contenedor-debian: se omite (FACTURADOR_SIN_CONTENEDOR=1)"
        exit 77
      fi
      trap Quitar_Cgroup EXIT
      Raiz_Contenedor
      ;;
    *) echo "uso: $0 raiz" >&2; exit 64 ;;
  esac
fi
