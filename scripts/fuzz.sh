#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time
# (seconds, default 60). Seeds: the SQL statements the suite sends and the
# Jet fixtures when present.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1"
cmake -S . -B "$dir" -G Ninja -DORVDB_FUZZ=ON -DORVDB_TESTS=ON -DORVDB_BENCH=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$dir" -j"$(nproc)" --target fuzz_sql_parser fuzz_jet_reader test_jet

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$corpus/sql" "$corpus/jet"
i=0
while IFS= read -r line; do
  printf '%s' "$line" > "$corpus/sql/seed$i"; i=$((i+1))
done < tests/sql/suite_statements.sql
if [ -d ../shared/fixtures/jet4 ]; then
  cp ../shared/fixtures/jet4/*.mdb "$corpus/jet/" 2>/dev/null || true
fi

"$dir/tests/fuzz_sql_parser" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  "$corpus/sql" 2>&1 | tail -3
"$dir/tests/fuzz_jet_reader" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
  -max_len=300000 "$corpus/jet" 2>&1 | tail -3

# The damage campaign at length: structures of every fixture damaged one at a
# time, read and checked, with the sanitizers on.
ORVDB_DAMAGE_MUTANTS=$((seconds * 2)) "$dir/tests/test_jet" --gtest_brief=1 \
  --gtest_filter='*DamageCampaign*' 2>&1 | tail -3
