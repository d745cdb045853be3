#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. The tests start their own
# private MariaDB server (build/mariadb-pruebas) through a CTest fixture and stop it at the end.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
# Some tests run the program as the folder's owner or the service's account, which must reach the
# test server's socket under build/: a checkout in a private folder (mktemp -d makes it 0700) is
# opened for passing through, never for reading.
[ -O "$raiz" ] && chmod o+x "$raiz"
"$raiz/scripts/instalar-dependencias.sh"
FACTURADOR_CMAKE_OPCIONES="-DFACTURADOR_WERROR=ON ${FACTURADOR_CMAKE_OPCIONES:-}" "$raiz/scripts/compilar.sh" "$raiz/build"
cd "$raiz/build"
ctest --output-on-failure -j2 "$@"
