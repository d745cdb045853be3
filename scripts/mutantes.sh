#!/usr/bin/env bash
# Proves that the test suite catches real faults: applies, one at a time, each small mutation of
# scripts/mutantes.lista to a scratch copy of the tracked sources, rebuilds, runs the suite and
# reports the mutation as caught (the suite stops at its first failing test, named in the table)
# or missed (every test passed).
#   scripts/mutantes.sh [LISTA] [NOMBRE...]   NOMBRE: run only the mutations whose name holds it
# Exits 1 when a mutation is missed, does not apply exactly once, or does not build.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
lista=$(cd "$(dirname "${1:-$raiz/scripts/mutantes.lista}")" && pwd)/$(basename "${1:-mutantes.lista}")
shift || true
filtros=("$@")
copia=$(mktemp -d /tmp/mutantes.XXXXXX)
# The fault runs start the programs as an unprivileged user, who must reach the copy's build.
chmod 755 "$copia"
trap '"$copia/scripts/mariadb-privado.sh" detener "$copia/build/mariadb-pruebas" >/dev/null 2>&1 || true; rm -rf "$copia"' EXIT

(cd "$raiz" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$copia"
export CCACHE_BASEDIR=$copia CCACHE_NOHASHDIR=1
lanzador=$(command -v ccache >/dev/null && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache" || true)
echo "Compilando la copia de trabajo en $copia ..."
FACTURADOR_CMAKE_OPCIONES="$lanzador -DFACTURADOR_BENCH=OFF" "$copia/scripts/compilar.sh" "$copia/build" >/dev/null

# The cluster's fault run (minutes of waiting for leases to expire) is left out: it catches no
# small fault that the rest of the suite does not. So is the package test, which boots a
# container for minutes, but for the mutations of what it alone checks: the packaging, the
# rehearsal of the README's service section, the simulated stamping program's account, and the
# program folder the installed executable takes (only /usr/bin/facturador in the container has it).
fuera="cluster|contenedor"
suite() {
  (cd "$copia/build" && ctest -j2 --timeout 300 --output-on-failure -LE "$fuera" "$@" \
     >"$copia/suite.log" 2>&1)
}
fuera_para() {
  case $1 in
    empaquetado/* | cmake/Paquete.cmake | scripts/ensayar-instalacion.sh | \
      scripts/contenedor-debian.sh | tests/empaquetado/* | tools/timbrador_simulado/main.cpp | \
      src/app/Linea_Comandos.cpp)
      echo cluster ;;
    *) echo "cluster|contenedor" ;;
  esac
}
# The tests that failed in the last run of the suite, comma-separated.
fallidas() {
  sed -n '/The following tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' \
    "$copia/suite.log" | paste -sd, -
}
if ! suite; then
  echo "La suite falla sin mutaciones: nada que medir." >&2
  tail -n 80 "$copia/suite.log" >&2
  exit 1
fi

# Replaces the one occurrence of DE by A in the file, a "⏎" in either standing for a line break;
# fails unless DE occurs exactly once.
aplicar() {
  DE=$2 A=$3 perl -0777 -i -ne '
    my ($de, $por) = map { s/⏎/\n/gr } @ENV{qw(DE A)};
    my $n = () = /\Q$de\E/g;
    if ($n != 1) { print; print STDERR "$n\n"; exit 3 }
    s/\Q$de\E/$por/; print' "$1"
}

elegida() {
  [ ${#filtros[@]} -eq 0 ] && return 0
  for f in "${filtros[@]}"; do [[ $1 == *"$f"* ]] && return 0; done
  return 1
}

probar() {  # nombre archivo de a
  elegida "$1" || return 0
  local original=$copia/$2 respaldo resultado por=""
  respaldo=$(mktemp)
  cp "$original" "$respaldo"
  if ! aplicar "$original" "$3" "$4" 2>/dev/null; then
    resultado="NO APLICA"
  elif ! cmake --build "$copia/build" >/dev/null 2>&1; then
    resultado="NO COMPILA"
  elif fuera=$(fuera_para "$2") && suite --stop-on-failure; then
    resultado="ESCAPÓ"
  else
    resultado="atrapada" por=$(fallidas)
  fi
  cp "$respaldo" "$original" && rm -f "$respaldo"
  printf '| %-60s | %-10s | %s\n' "$1" "$resultado" "$por"
  [ "$resultado" = atrapada ] || fallas=$((fallas + 1))
}

fallas=0
printf '| %-60s | %-10s | %s\n|%s|%s|%s\n' "mutación" "resultado" "atrapada por" \
  "$(printf -- '-%.0s' {1..62})" "------------" "-------------"
nombre="" archivo="" de="" a=""
while IFS= read -r linea || [ -n "$linea" ]; do
  case $linea in
    "== "*) nombre=${linea#== } archivo="" de="" a="" ;;
    "archivo "*) archivo=${linea#archivo } ;;
    "de "*) de=${linea#de } ;;
    "a "*) a=${linea#a }; probar "$nombre" "$archivo" "$de" "$a" ;;
  esac
done <"$lista"
cmake --build "$copia/build" >/dev/null 2>&1 || true
echo
[ "$fallas" -eq 0 ] && echo "Todas las mutaciones fueron atrapadas." || echo "$fallas mutaciones sin atrapar."
[ "$fallas" -eq 0 ]
