#!/usr/bin/env bash
# The long fault run on a three-node Galera cluster of this machine: 200 random faults (or as many
# as given) aimed at the working copy of the program and its node, then the table of violations
# and of the time each kind of fault left without a worker.
#   scripts/fallas-cluster.sh [FALLAS] [BUILD_FOLDER] [more options of inyector_fallas]
# A failing run prints its seed; `--semilla S` replays it.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
exec "$raiz/scripts/fallas-largas.sh" "${1:-200}" "${2:-$raiz/build}" --nodos 3 "${@:3}"
