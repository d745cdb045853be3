#!/usr/bin/env bash
# Checks that every include of src/ runs down the floors of the program:
#   app  >  generation, intake, cancellation  >  issuing_config  >  data  >  platform
# A folder may include its own floor's folder and any floor below; generation, intake and
# cancellation never include one another. ui/ (the dialogs every window uses) includes only
# platform/, and any window (a qt/ folder) may include ui/. main.cpp may include anything.
# Prints each include that breaks the rule and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"

piso() {
  case $1 in
    platform) echo 0 ;; data) echo 1 ;; issuing_config) echo 2 ;;
    generation | intake | cancellation) echo 3 ;; app) echo 4 ;; ui) echo 0 ;;
    *) echo -1 ;;
  esac
}

permitido() {  # from-folder from-file to-folder
  local de=$1 archivo=$2 a=$3
  [ "$de" = "$a" ] && return 0
  if [ "$a" = ui ]; then [[ $archivo == */qt/* ]]; return; fi
  [ "$de" = ui ] && { [ "$a" = platform ]; return; }
  local pd pa
  pd=$(piso "$de") pa=$(piso "$a")
  [ "$pa" -ge 0 ] && [ "$pa" -lt "$pd" ]
}

fallas=0
while IFS= read -r archivo; do
  de=${archivo%%/*}
  while IFS= read -r incluido; do
    a=${incluido%%/*}
    [ "$a" = "$incluido" ] && continue  # a header of the same folder or one generated
    if ! permitido "$de" "$archivo" "$a"; then
      echo "src/$archivo incluye $incluido"
      fallas=$((fallas + 1))
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$archivo")
done < <(find . -mindepth 2 -name '*.cpp' -o -mindepth 2 -name '*.h' | sed 's#^\./##' | sort)
[ "$fallas" -eq 0 ] && echo "Las inclusiones bajan por los pisos." && exit 0
echo "$fallas inclusiones rompen los pisos."
exit 1
