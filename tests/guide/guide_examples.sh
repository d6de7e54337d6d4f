#!/usr/bin/env bash
# guide_examples.sh ORVDB SOURCE_DIR: the user guide (docs/guide.md) as a
# test. Every line of the guide starting with `$ ` runs, in order, in a fresh
# folder (holding `examples/`), and must exit as the guide says: 0, or N when
# the line ends with `# exits N`. Each command section must name every option
# its --help shows, the manual pages must be written without roff warnings,
# and every database the examples leave must pass orvdb check and open in
# mdbtools. Each command is bounded in time and output.
set -uo pipefail

orvdb=$1
source_dir=$2
guide=$source_dir/docs/guide.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Runs a shell command line in $work, stopped after 20 minutes or 20 MB of
# output (it then fails); prints its exit status.
run_bounded() {
  (
    cd "$work" || exit 255
    timeout 1200 bash -c "$1" </dev/null 2>&1 | head -c 20000000 >"$work/.output"
    exit "${PIPESTATUS[0]}"
  )
  echo $?
}

# 1. The help and the guide agree: each option of `orvdb COMMAND --help` is
# in the command's section.
for command in $(sed -n 's/^### orvdb \([a-z]*\)$/\1/p' "$guide"); do
  section=$(awk -v heading="### orvdb $command" '
    found && /^##/ { exit }
    found { print }
    $0 == heading { found = 1 }' "$guide")
  for option in $("$orvdb" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    [ "$option" = "--help" ] && continue
    grep -q -- "$option" <<<"$section" || fail "guide section 'orvdb $command' does not mention $option"
  done
done

# 2. The manual pages.
if ! "$source_dir/docs/make-man.sh" "$orvdb" "$guide" "$work/man" >"$work/.man" 2>&1; then
  fail "make-man.sh: $(head -c 2000 "$work/.man")"
elif command -v groff >/dev/null; then
  for page in "$work"/man/*.1; do
    warnings=$(timeout 60 groff -man -Tutf8 -ww -z "$page" 2>&1 | head -c 2000)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  done
fi
rm -rf "$work/man" "$work/.man"

# 3. The examples.
ln -s "$source_dir/examples" "$work/examples"
mkdir -p "$work/temp"
export PATH="$(dirname "$orvdb"):$PATH" TEMP="$work/temp"
count=0
while IFS= read -r line; do
  command=${line#    \$ }
  expected=0
  if [[ $command =~ \#\ exits\ ([0-9]+)$ ]]; then
    expected=${BASH_REMATCH[1]}
  fi
  count=$((count + 1))
  status=$(run_bounded "$command")
  if [ "$status" -ne "$expected" ]; then
    fail "'$command' exited $status, the guide says $expected; it printed:"
    tail -c 3000 "$work/.output"
  fi
done < <(grep '^    \$ ' "$guide")
[ "$count" -gt 0 ] || fail "no example found in $guide"

# 4. Every database the examples made passes orvdb check and opens in mdbtools.
while IFS= read -r database; do
  [ "$(run_bounded "orvdb check '$database'")" -eq 0 ] ||
    fail "orvdb check $database: $(tail -c 2000 "$work/.output")"
  if command -v mdb-tables >/dev/null; then
    [ "$(run_bounded "mdb-tables -1 '$database' | head -c 100000 | grep -q .")" -eq 0 ] ||
      fail "mdb-tables $database: $(tail -c 2000 "$work/.output")"
  fi
done < <(cd "$work" && find . -name '*.mdb' -o -name '*.Mdb' | grep -v /examples/)

echo "$count guide examples run, $failures failure(s)"
[ "$failures" -eq 0 ]
