#!/usr/bin/env bash
# Rehearses the README's "Running as a service" on a throwaway copy of this machine: the running
# system seen through an overlay whose changes vanish at the end, in mount and process namespaces
# of its own, so that nothing installed, created or started there outlives it or reaches the
# machine. Needs root.
#   ensayar-instalacion.sh PAQUETE.deb RAIZ_FUENTES [VERIFICAR.sh]
# In the copy, before the README: the machine's MariaDB server runs on an empty data folder and
# holds the chain's central database (the schema and the demo data, whose profiles name folders
# that are not there), and the accounts of the stamping program (timbrador), of monitoring
# (nagios) and of an operator (operador) exist. Then every sh block of the section runs in order,
# as root, from a copy of the README's folder whose build-paquete/ holds PAQUETE.deb; of the
# build commands only the package's installation runs. systemd does not run in the copy:
# `systemctl enable --now`, `start` and `restart` start the service as its unit says (user,
# group, UMask, environment, working folder, ExecStart, the system read-only but for its
# ReadWritePaths), `stop` ends it, and `journalctl` shows what it wrote. VERIFICAR.sh runs (bash,
# as root) right before the removal block, with the service running. Exits 0 when everything
# succeeded, 77 when this machine cannot make the copy.
set -euo pipefail

ensayo=/root/ensayo
diario=/run/facturador.diario
servicio_pid=/run/facturador.pid

# ---- On the machine: a mount and process namespace whose end ends everything started in it.
afuera() {
  local deb=$1 fuentes=$2 verificar=${3:-}
  if [ "$(id -u)" -ne 0 ] || ! unshare --mount --pid --fork true 2>/dev/null; then
    echo "ensayar-instalacion: hace falta root con espacios de nombres de montaje" >&2
    exit 77
  fi
  tmp=""
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  unshare --mount --pid --fork --propagation private -- \
    bash "$0" --copia "$tmp" "$(realpath "$deb")" "$(realpath "$fuentes")" \
    "${verificar:+$(realpath "$verificar")}"
}

# ---- In the namespace: the copy of the machine, entered with chroot.
copia() {
  local tmp=$1 deb=$2 fuentes=$3 verificar=$4 raiz=$1/capa/raiz
  mount -t tmpfs tmpfs "$tmp"
  mkdir -p "$tmp/capa/arriba" "$tmp/capa/trabajo" "$raiz"
  mount -t overlay overlay \
    -o "lowerdir=/,upperdir=$tmp/capa/arriba,workdir=$tmp/capa/trabajo" "$raiz"
  mount -t proc proc "$raiz/proc"
  mount --rbind /dev "$raiz/dev"
  for vacia in run tmp var/lib/mysql; do mount -t tmpfs tmpfs "$raiz/$vacia"; done
  mkdir -p "$raiz$ensayo/build-paquete" "$raiz$ensayo/sql"
  cp "$fuentes/README.md" "$raiz$ensayo/"
  cp "$fuentes/sql/01_esquema.sql" "$fuentes/sql/demo/datos_demo.sql" "$raiz$ensayo/sql/"
  cp "$deb" "$raiz$ensayo/build-paquete/"
  cp "$0" "$raiz/root/ensayo.sh"
  [ -z "$verificar" ] || cp "$verificar" "$raiz/root/verificar.sh"
  chroot "$raiz" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive bash /root/ensayo.sh --maquina
}

# The machine's own server, as a fresh install leaves it, with the chain's central database.
arrancar_mariadb() {
  mariadb-install-db --user=mysql --datadir=/var/lib/mysql >/root/mariadb.log 2>&1
  install -d -o mysql -g mysql /run/mysqld
  (setsid mariadbd --user=mysql --skip-networking </dev/null >>/root/mariadb.log 2>&1 &)
  for _ in $(seq 1 300); do mariadb-admin ping >/dev/null 2>&1 && break; sleep 0.1; done
  mariadb <"$ensayo/sql/01_esquema.sql"
  sed 's#@DEMO@#*srv*sin_configurar#g' "$ensayo/sql/datos_demo.sql" | mariadb
}

# What systemd would do for the README's systemctl and journalctl.
poner_sustitutos() {
  cat >/usr/local/sbin/systemctl <<'EOF'
#!/bin/sh
set -e
ordenes=$(printf '%s\n' "$@" | grep -vx -e --now -e start -e restart -e stop | tr '\n' ' ')
[ -z "$ordenes" ] || /usr/bin/systemctl $ordenes
case " $* " in
  *" --now "* | *" start "* | *" restart "*) exec bash /root/ensayo.sh --arrancar ;;
  *" stop "*) exec bash /root/ensayo.sh --parar ;;
esac
EOF
  printf '#!/bin/sh\ncat %s\n' "$diario" >/usr/local/bin/journalctl
  chmod 0755 /usr/local/sbin/systemctl /usr/local/bin/journalctl
}

unidad() {
  cat /lib/systemd/system/facturador.service /etc/systemd/system/facturador.service.d/*.conf \
    2>/dev/null || true
}

# A setting of the unit and its drop-ins (the last one given).
ajuste() {
  unidad | sed -n "s/^$1=//p" | tail -n 1
}

parar_servicio() {
  [ -f "$servicio_pid" ] || return 0
  kill "$(cat "$servicio_pid")" 2>/dev/null || true
  while kill -0 "$(cat "$servicio_pid")" 2>/dev/null; do sleep 0.1; done
  rm -f "$servicio_pid"
}

# The unit's ProtectSystem=strict: in a mount namespace of the service's own, the system is
# read-only but for its ReadWritePaths (every one given; one not there stops the start unless
# it has a "-") and its runtime folder.
arrancar_servicio() {
  parar_servicio
  local usuario grupo entorno runtime abiertas
  usuario=$(ajuste User) grupo=$(ajuste Group)
  entorno=$(unidad | sed -n 's/^Environment=//p' | tr '\n' ' ')
  runtime=$(ajuste RuntimeDirectory)
  if [ -n "$runtime" ]; then
    runtime=/run/$runtime
    install -d -o "$usuario" -g "$grupo" -m "$(ajuste RuntimeDirectoryMode | grep . || echo 0755)" \
      "$runtime"
  fi
  abiertas="$(unidad | sed -n 's/^ReadWritePaths=//p' | tr '\n' ' ') $runtime"
  [ "$(ajuste ProtectSystem)" = strict ] || fallar "la unidad ya no protege el sistema"
  cd "$(ajuste WorkingDirectory)"
  # shellcheck disable=SC2016,SC2086 # $1 expands in the inner shell; Environment= words one each
  unshare --mount --propagation private sh -ec '
    for ruta in $1; do
      case $ruta in -*) ruta=${ruta#-}; [ -e "$ruta" ] || continue ;; esac
      mount --bind "$ruta" "$ruta"
    done
    mount -o remount,bind,ro / && mount -o remount,bind,ro /run && shift && exec "$@"' \
    sh "$abiertas" env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 HOME="$(pwd)" \
    USER="$usuario" $entorno setpriv --reuid="$usuario" --regid="$grupo" --init-groups \
    sh -c "umask $(ajuste UMask); exec $(ajuste ExecStart)" </dev/null >>"$diario" 2>&1 &
  echo $! >"$servicio_pid"
}

# The sh blocks of the README's service section, one file each: bloque.1, bloque.2...
partir_readme() {
  awk -v destino="$ensayo/bloque" '
    /^## / { seccion = ($0 == "## Running as a service") }
    seccion && /^ *```sh$/ { n++; dentro = 1; next }
    seccion && dentro && /^ *```$/ { dentro = 0; next }
    seccion && dentro { sub(/^   /, ""); print > (destino "." n) }
  ' "$ensayo/README.md"
}

correr_bloque() {
  local bloque=$1
  # The package under test stands for the one the build commands make.
  if grep -q '^cmake ' "$bloque"; then
    grep '^apt install ' "$bloque" >"$bloque.instalar"
    bloque=$bloque.instalar
  fi
  echo "== $(head -n 1 "$bloque")"
  (cd "$ensayo" && sh -e "$bloque")
}

fallar() {
  echo "FALLA: $*; lo que escribió el servicio:" >&2
  cat "$diario" >&2 2>/dev/null || true
  exit 1
}

verificar() {
  [ -f /root/verificar.sh ] || return 0
  echo "== verificación"
  bash /root/verificar.sh || fallar "verificación"
  rm /root/verificar.sh
}

maquina() {
  arrancar_mariadb
  adduser --system --group --quiet timbrador
  adduser --system --group --quiet nagios
  adduser --disabled-password --gecos '' --quiet operador
  poner_sustitutos
  partir_readme
  [ -f "$ensayo/bloque.1" ] || fallar "el README no tiene bloques sh en su sección de servicio"
  local n=1
  while [ -f "$ensayo/bloque.$n" ]; do
    # The package's removal stops the service, as its maintainer scripts do under systemd.
    if grep -q '^apt remove' "$ensayo/bloque.$n"; then
      verificar
      parar_servicio
    fi
    correr_bloque "$ensayo/bloque.$n" || fallar "bloque $n del README"
    n=$((n + 1))
  done
  verificar
}

case ${1:-} in
  --copia) shift; copia "$@" ;;
  --maquina) maquina ;;
  --arrancar) arrancar_servicio ;;
  --parar) parar_servicio ;;
  *) afuera "$@" ;;
esac
