#!/usr/bin/env bash
# Builds orvdb and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
# The independent reader some Jet tests compare with (npm package mdb-reader);
# the tests skip it when it cannot be installed (no network).
node_deps=build/node-deps
if [ ! -d "$node_deps/node_modules/mdb-reader" ]; then
  npm install --silent --no-audit --no-fund --prefix "$node_deps" mdb-reader@3 >/dev/null 2>&1 ||
    echo "note: npm could not install mdb-reader; the tests that use it will skip"
fi
export ORVDB_NODE_MODULES="$PWD/$node_deps/node_modules"
ctest --test-dir build --output-on-failure -j"$(nproc)"
