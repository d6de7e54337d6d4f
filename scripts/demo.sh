#!/usr/bin/env bash
# Sets orvdb up (packages, the command-line tool) and runs the main job on an
# example data root laid out as a customer's: every database upgraded, two
# providers merged into a third, every output checked, and a summary.
# Everything it writes goes under examples/out/.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

scripts/install-deps.sh
# The tool alone, in Release: a quarter less compiler time than the tests'
# RelWithDebInfo tree (scripts/test.sh builds that one, in build/).
# ORVDB_BUILD_DIR names another build folder (default: build-release).
build=${ORVDB_BUILD_DIR:-build-release}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target orvdb_cli
built=$(date +%s)

orvdb=$(cd "$build" && pwd)/tools/orvdb/orvdb
out=$PWD/examples/out
root=$out/data-root
config=$root/orvdb.ini
rm -rf "$root" "$out/tmp"
mkdir -p "$out/tmp"

echo
echo "== 1. An example data root: a library, two providers, a workshop and a manager, all old"
ORVDB=$orvdb examples/make-data-root.sh "$root"
"$orvdb" --config "$config" host

echo
echo "== 2. Every database of the data root upgraded (log: examples/out/upgrade.log)"
"$orvdb" --config "$config" upgrade --all >"$out/upgrade.log"

echo
echo "== 3. Providers Acme and Bravo merged into Merged (log: examples/out/merge.log)"
# Both providers carry a file of the same name beside XLibData.mdb
# (Notes.txt): --yes answers the merge's question about common files. The
# progress shows on the terminal (--progress tty: no window even with a
# display).
TEMP=$out/tmp "$orvdb" --config "$config" --yes merge --progress tty Acme Bravo Merged >"$out/merge.log"
grep -E '^(Copy|Congratulations|XML :|Query tarif)' "$out/merge.log" | sed 's/^/  /' | tail -8

echo
echo "== 4. Every database checked by orvdb check and opened by mdbtools"
databases=(XLib.Mdb Providers/Acme/XLibData.mdb Providers/Bravo/XLibData.mdb
  Providers/Merged/XLibData.mdb XMan/Xmandata.mdb XMan/Manager.mdb)
failures=0
declare -A checked listed
for database in "${databases[@]}"; do
  file=$root/$database
  if "$orvdb" check "$file" >"$out/check.txt" 2>&1; then
    checked[$database]=OK
  else
    checked[$database]=FAILED
    failures=$((failures + 1))
  fi
  echo "  $database: $(tail -1 "$out/check.txt")"
  # mdbtools lists the tables and exports the first one, each bounded in
  # time and output.
  if tables=$(timeout 60 mdb-tables -1 "$file" 2>/dev/null | head -c 100000) &&
    [ -n "$tables" ] &&
    first=$(printf '%s\n' "$tables" | head -1) &&
    timeout 60 mdb-export "$file" "$first" 2>/dev/null | head -c 1000000 >/dev/null; then
    listed[$database]="$(printf '%s\n' "$tables" | grep -c .) tables"
  else
    listed[$database]=FAILED
    failures=$((failures + 1))
  fi
done

echo
echo "== Summary"
# The version before and after of each upgraded file, from the upgrade's
# database / version before / version after lines.
declare -A before after
while IFS=$'\t' read -r key value; do
  case $key in
    database) current=${value#"$root/"} ;;
    "version before") before[$current]=$value ;;
    "version after") after[$current]=$value ;;
  esac
done <"$out/upgrade.log"
after[Providers/Merged/XLibData.mdb]=$("$orvdb" sql "$root/Providers/Merged/XLibData.mdb" \
  "SELECT Version FROM Version" | tail -1)

printf '%-30s %-8s %-8s %6s  %-6s %s\n' database before after rows check mdbtools
for database in "${databases[@]}"; do
  rows=$("$orvdb" info "$root/$database" | awk '/^  .*: [0-9]+ rows$/ { sum += $(NF - 1) } END { print sum + 0 }')
  printf '%-30s %-8s %-8s %6s  %-6s %s\n' "$database" "${before[$database]:--}" \
    "${after[$database]:--}" "$rows" "${checked[$database]}" "${listed[$database]}"
done
finished=$(date +%s)
echo
echo "set-up and build: $((built - started)) s; the job: $((finished - built)) s"
if [ "$failures" -ne 0 ]; then
  echo "demo: $failures check(s) failed" >&2
  exit 1
fi
