#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its demo need; does nothing when they
# are all there already.
set -euo pipefail
paquetes=(g++ cmake ninja-build pkg-config qt6-base-dev libmariadb-dev mariadb-server mariadb-client
          libsqlite3-dev sqlite3 libfmt-dev googletest libgtest-dev xvfb xauth clang-format
          dpkg-dev lintian qt6-translations-l10n)
# sd_notify: readiness and the watchdog of the systemd service.
paquetes+=(libsystemd-dev)
# The local Galera cluster of the fault runs and the cluster benchmark: its provider, and the state
# transfer by mariabackup through socat.
paquetes+=(galera-4 mariadb-backup socat)
# The package test boots a Debian 12 container with systemd (tests/empaquetado/contenedor.sh):
# its root filesystem is made by debootstrap and booted by systemd-nspawn. Without recommends,
# which would change the machine's nsswitch.conf.
paquetes+=(debootstrap systemd-container)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Instalando: ${faltan[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
