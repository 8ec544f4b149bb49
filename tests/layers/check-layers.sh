#!/usr/bin/env bash
# Checks the house's layers from the includes of each library folder: a
# folder includes only its own headers and those of the layers below it, and
# the two lower layers and the command line include no Qt header beyond
# QtCore's.
#
#   check-layers.sh SOURCE_ROOT QTCORE_INCLUDE_DIR
set -u
root=$1
qtcore=$2
failed=0

# folder: the folders whose headers it may include (the command line sits
# beside app/ on the two lower layers)
declare -A allowed=(
  [listcore]="listcore"
  [rename]="rename listcore"
  [ui]="ui"
  [icons]="icons"
  [listview]="listview listcore ui"
  [about]="about ui"
  [app]="app listview listcore rename about icons ui"
  [cli]="cli rename listcore"
)

for folder in "${!allowed[@]}"; do
  while IFS=: read -r file line include; do
    target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$include")
    [ "$target" = "Version.h" ] && continue
    ok=0
    for lower in ${allowed[$folder]}; do
      [[ $target == "$lower/"* ]] && ok=1
    done
    if [ $ok -eq 0 ]; then
      echo "$file:$line: $folder/ must not include \"$target\""
      failed=1
    fi
  done < <(grep -n '#include "' "$root/$folder"/*.h "$root/$folder"/*.cpp 2>/dev/null | sed -E 's/^([^:]+):([0-9]+):/\1:\2:/')
done

for folder in listcore rename cli; do
  while IFS=: read -r file line include; do
    header=$(sed -E 's/.*#include <([^>]+)>.*/\1/' <<<"$include")
    if [[ $header == Q* && ! -e "$qtcore/$header" ]]; then
      echo "$file:$line: $folder/ builds on QtCore only, not <$header>"
      failed=1
    fi
  done < <(grep -n '#include <Q' "$root/$folder"/*.h "$root/$folder"/*.cpp 2>/dev/null)
done

[ $failed -eq 0 ] && echo "every folder includes only its own layer and those below"
exit $failed
