#!/usr/bin/env bash
# The layer check itself: it passes a small clean house and fails each fault
# it is there to catch, so that it cannot pass by reading nothing.
#   check-layers-catches.sh CHECK_SCRIPT QTCORE_INCLUDE_DIR
set -u
check=$1 qtcore=$2
house=$(mktemp -d)
trap 'rm -rf "$house"' EXIT
failures=0

# build NAME FILE=INCLUDE...: a house of one-line files, each including one header
build() {
  rm -rf "${house:?}"/*
  for item in "$@"; do
    file=${item%%=*} include=${item#*=}
    mkdir -p "$house/$(dirname "$file")"
    echo "#include \"$include\"" >>"$house/$file"
  done
}
expect() {
  local want=$1 what=$2
  bash "$check" "$house" "$qtcore" >/dev/null
  local got=$?
  if { [ "$want" = pass ] && [ $got -ne 0 ]; } || { [ "$want" = fail ] && [ $got -eq 0 ]; }; then
    echo "FAIL: the check should $want $what"
    failures=$((failures + 1))
  fi
}

build text/A.h=text/B.h text/B.h=text/C.h listcore/D.cpp=text/A.h
expect pass "a house whose includes point down"
build text/A.h=listcore/D.h listcore/D.h=text/B.h
expect fail "an upward include"
build disk/A.h=disk/B.h disk/B.cpp=disk/C.h disk/C.h=disk/A.h
expect fail "a cycle between the files of one folder"
build listview/A.cpp=listview/B.h listview/B.cpp=listview/A.h
expect fail "a cycle through a header and the other's .cpp"
build rules/A.h=QtWidgets
sed -i 's/#include "QtWidgets"/#include <QWidget>/' "$house/rules/A.h"
expect fail "a widget header below the window"

[ $failures -eq 0 ] && echo "the layer check catches every fault it is shown"
exit $failures
