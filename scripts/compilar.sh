#!/usr/bin/env bash
# Configures and builds the program, its tests and tools into build/ (or the folder given).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
destino=${1:-$raiz/build}
cmake -S "$raiz" -B "$destino" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${FACTURADOR_CMAKE_OPCIONES:-} >/dev/null
cmake --build "$destino" -j2
