#!/usr/bin/env bash
# make-data-root.sh DIR: builds, through orvdb itself, a data root laid out
# as a customer's installation keeps it, every database at an old version:
#
#   DIR/orvdb.ini                 the host's registry information (--config)
#   DIR/Velmardix_Params.dat      connection settings, one CONNEXION<alias> section a database
#   DIR/XLib.Mdb                  the library (0.5) with the merge configuration tables
#   DIR/Providers/Acme/           provider Acme: XLibData.mdb (0.35835) and its sub-folders
#   DIR/Providers/Bravo/          provider Bravo: other articles, prices and colours (0.35835)
#   DIR/XMan/Xmandata.mdb         the workshop data (1.1)
#   DIR/XMan/Manager.mdb          a manager database (1.0)
#
# DIR must not exist yet. orvdb is taken from $ORVDB, else from PATH.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 DIR" >&2
  exit 2
fi
root=$1
if [ -e "$root" ]; then
  echo "$0: $root exists already; give a new folder" >&2
  exit 1
fi
orvdb=${ORVDB:-orvdb}
examples=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$root/Providers" "$root/XMan"
root=$(cd "$root" && pwd)

# One database from SQL scripts, one statement a line.
make_database() {
  local file=$1
  shift
  cat "$@" | "$orvdb" sql --create "$file" >/dev/null
}

make_database "$root/XLib.Mdb" "$examples/library.sql" "$examples/merge-config.sql"

# Bravo starts as a copy of the provider Acme's supplier shipped, then gets
# its own name, articles, prices and colours. It has no value-list values:
# the merge writes column names unbracketed, as the host does, and Jet reads
# the column name Value as a keyword, so such rows cannot be merged.
mkdir -p "$root/Providers/Acme" "$root/Providers/Bravo"
make_database "$root/Providers/Acme/XLibData.mdb" "$examples/provider.sql"
cp "$root/Providers/Acme/XLibData.mdb" "$root/Providers/Bravo/XLibData.mdb"
"$orvdb" sql "$root/Providers/Bravo/XLibData.mdb" <"$examples/provider-bravo.sql" >/dev/null
cp -R "$examples/folders/Acme/." "$root/Providers/Acme/"
cp -R "$examples/folders/Bravo/." "$root/Providers/Bravo/"

make_database "$root/XMan/Xmandata.mdb" "$examples/workshop.sql"
make_database "$root/XMan/Manager.mdb" "$examples/manager.sql"

cat >"$root/orvdb.ini" <<EOF
; Registry information of the host for this data root. Folders are relative
; to this file; the library, workshop, parameters and language folders
; derive from the data root when they are not given.
[registry]
DataRoot = .
EOF

{
  echo "; Connection settings: orvdb open $root/Velmardix_Params.dat ALIAS"
  for entry in "XLIB|XLib.Mdb" "ACME|Providers/Acme/XLibData.mdb" \
    "BRAVO|Providers/Bravo/XLibData.mdb" "XMANDATA|XMan/Xmandata.mdb" \
    "MANAGER|XMan/Manager.mdb"; do
    alias=${entry%%|*}
    echo
    echo "[CONNEXION$alias]"
    echo "NAME=$alias"
    echo "PATH=$root/${entry#*|}"
    echo "PARAMPATH=$root/Velmardix_Params.dat"
    echo "FORMAT=0"
    echo "OPEN=TRUE"
  done
} >"$root/Velmardix_Params.dat"

echo "data root: $root"
