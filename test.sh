#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
cd "$(dirname "$0")"
source cmake/setup.sh
tolvex_install_missing
tolvex_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEX_BUILD_TESTS=ON
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
