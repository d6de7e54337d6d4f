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
# A throwaway MariaDB server for the tests of the MariaDB database, unless
# ORVDB_MARIADB names one already; without it those tests skip, saying why.
if [ -z "${ORVDB_MARIADB:-}" ]; then
  if server_env="$(scripts/mariadb-test-server.sh start)"; then
    eval "$server_env"
    trap 'scripts/mariadb-test-server.sh stop || true' EXIT
  else
    echo "note: no MariaDB test server could be started; its tests will skip"
  fi
fi
ctest --test-dir build --output-on-failure -j"$(nproc)"
