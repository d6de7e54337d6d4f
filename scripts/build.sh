#!/usr/bin/env bash
# Configures (once) and builds orvdb in ./build.
# ORVDB_WERROR=ON|OFF (re)configures with compiler warnings as errors or not
# (CI sets ON; the default build leaves warnings as warnings).
set -euo pipefail
cd "$(dirname "$0")/.."
options=()
if [ -n "${ORVDB_WERROR:-}" ]; then
  options+=(-DORVDB_WERROR="$ORVDB_WERROR")
fi
if [ ! -f build/build.ninja ] || [ ${#options[@]} -gt 0 ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
fi
cmake --build build -j"$(nproc)"
