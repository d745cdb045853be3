#!/usr/bin/env bash
# The long fault run: 300 random faults (or as many as given) against a private durable server of
# its own, then the table of violations by fault. Works for a user other than root too (the
# full-disk fault needs root to mount its small file system and is left out otherwise).
#   scripts/fallas-largas.sh [FALLAS] [BUILD_FOLDER] [more options of inyector_fallas]
# A failing run prints its seed; `--semilla S` replays it.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
fallas=${1:-300}
build=$(cd "${2:-$raiz/build}" && pwd)
shift $(($# < 2 ? $# : 2))
cmake --build "$build" --target inyector_fallas >/dev/null
exec "$build/tools/inyector_fallas/inyector_fallas" --fallas "$fallas" "$@"
