#!/usr/bin/env bash
# Counts non-blank lines of the tests against the code they test: the tests (tests/, without the
# stamped CFDI samples) must stay at most 35% of the code in src/, tools/, bench/ and scripts/.
# Exits 1 when they do not. Counts the files git tracks, as a clean clone holds them.
set -euo pipefail
cd "$(dirname "$0")/.."
limite=${1:-35}

lineas() {
  git ls-files -- "$@" | grep -E '(\.(cpp|h|sh|cmake|in)|CMakeLists\.txt)$' |
    grep -v '^tests/fixtures/' | tr '\n' '\0' | xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}

codigo=$(lineas src tools bench scripts)
pruebas=$(lineas tests)
decimas=$((1000 * pruebas / codigo))
echo "código: $codigo líneas · pruebas: $pruebas líneas · pruebas/código:" \
  "$((decimas / 10)).$((decimas % 10)) % (límite $limite %)"
# Compared whole, not rounded down: 35.9 % is over a limit of 35 %.
[ $((100 * pruebas)) -le $((limite * codigo)) ]
