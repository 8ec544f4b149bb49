#!/usr/bin/env bash
# Installs what is missing, builds and starts Tolvex File Renamer.
cd "$(dirname "$0")"
source cmake/setup.sh
tolvex_install_missing
TOLVEX_TARGET=tolvex-file-renamer tolvex_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec build/app/tolvex-file-renamer "$@"
