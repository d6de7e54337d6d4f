#!/usr/bin/env bash
# The long storage campaigns (hours, not minutes; the test suite runs short
# versions of both):
#   - processes sharing one file: two writers inserting 2,000 rows each in
#     turns while a reader counts, then 8 processes inserting at once for
#     100 rounds;
#   - kill -9 at random instants during commits on the ~110 MB large file,
#     500 trials, each followed by the file check and a count of every batch.
# Usage: scripts/campaigns.sh [WORK_DIR] [trials]
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-${TMPDIR:-/tmp}/orvdb-campaigns}
trials=${2:-500}
mkdir -p "$work"
[ -f build-campaigns/build.ninja ] ||
  cmake -S . -B build-campaigns -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVDB_BENCH=ON >/dev/null
cmake --build build-campaigns -j"$(nproc)" --target test_engine bench_crash_campaign

echo "== sharing: 2 x 2,000 rows, 8 processes x 100 rounds"
start=$(date +%s)
ORVDB_SHARING_ROWS=2000 ORVDB_SHARING_ROUNDS=100 \
  build-campaigns/tests/test_engine --gtest_filter='SharingTest.*'
echo "sharing campaign: $(($(date +%s) - start)) s"

echo "== kill -9 during commits: $trials trials on the large file"
build-campaigns/bench/bench_crash_campaign "$work" "$trials" 1
