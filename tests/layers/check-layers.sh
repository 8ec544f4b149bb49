#!/usr/bin/env bash
# Checks the house's layers from the includes of each library folder:
#  - a folder includes only its own headers and those of the layers below it;
#  - the layers under the window and the command line include no Qt header
#    beyond QtCore's;
#  - no include cycle, even between two files of one folder (a header and
#    its .cpp count as one file).
#
#   check-layers.sh SOURCE_ROOT QTCORE_INCLUDE_DIR
set -u
root=$1
qtcore=$2
failed=0

# folder: the folders whose headers it may include (the command line sits
# beside app/ on the layers below the window)
declare -A allowed=(
  [text]="text"
  [listcore]="listcore text"
  [rules]="rules listcore text"
  [spelling]="spelling text"
  [patterns]="patterns text"
  [extrarules]="extrarules rules spelling patterns listcore text"
  [media]="media rules"
  [disk]="disk text"
  [apply]="apply disk listcore text"
  [journal]="journal apply disk text"
  [ui]="ui"
  [icons]="icons"
  [listview]="listview listcore text ui"
  [about]="about ui"
  [controls]="controls"
  [dialogs]="dialogs text"
  [platform]="platform"
  [app]="app listview apply rules disk listcore text about controls dialogs platform icons ui"
  [runs]="runs journal media apply extrarules rules disk listcore text"
  [cli]="cli runs media extrarules rules patterns spelling listcore text"
)
qtcoreOnly="text listcore rules spelling patterns extrarules media disk apply journal runs cli"

# Every in-tree include, as "file:line:target".
includes() {
  grep -n '#include "' "$root/$1"/*.h "$root/$1"/*.cpp 2>/dev/null \
    | sed -E 's/^([^:]+):([0-9]+):.*#include "([^"]+)".*/\1:\2:\3/' \
    | grep -v ':Version\.h$'
}

edges=$(mktemp)
trap 'rm -f "$edges"' EXIT

for folder in "${!allowed[@]}"; do
  while IFS=: read -r file line target; do
    [ -n "$file" ] || continue
    ok=0
    for lower in ${allowed[$folder]}; do
      [[ $target == "$lower/"* ]] && ok=1
    done
    if [ $ok -eq 0 ]; then
      echo "$file:$line: $folder/ must not include \"$target\""
      failed=1
    fi
    from=${file#"$root"/}
    from=${from%.*}
    to=${target%.*}
    [ "$from" != "$to" ] && echo "$from $to" >>"$edges"
  done < <(includes "$folder")
done

for folder in $qtcoreOnly; do
  while IFS=: read -r file line include; do
    header=$(sed -E 's/.*#include <([^>]+)>.*/\1/' <<<"$include")
    if [[ $header == Q* && ! -e "$qtcore/$header" ]]; then
      echo "$file:$line: $folder/ builds on QtCore only, not <$header>"
      failed=1
    fi
  done < <(grep -n '#include <Q' "$root/$folder"/*.h "$root/$folder"/*.cpp 2>/dev/null)
done

# tsort orders the files so that each comes after what it includes, and
# names the files of every loop it meets instead.
if ! loops=$(tsort "$edges" 2>&1 >/dev/null); then
  echo "include cycle:"
  sed -n 's/^tsort: //p' <<<"$loops" | grep -v 'input contains a loop'
  failed=1
fi

[ $failed -eq 0 ] && echo "every folder includes only its own layer and those below, and no include runs in a circle"
exit $failed
