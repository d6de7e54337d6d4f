#!/usr/bin/env bash
# Sets orvdb up (packages, build) and runs the main job on the bundled examples.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
orvdb=build/tools/orvdb/orvdb

echo "== orvdb --version"
"$orvdb" --version
echo "== Host configuration for the example data root"
"$orvdb" --data-root examples/data host

echo "== A database made and queried with Access SQL"
out=examples/out
mkdir -p "$out"
rm -f "$out/demo.mdb"
"$orvdb" create "$out/demo.mdb"
"$orvdb" sql --format table "$out/demo.mdb" < examples/demo.sql
echo "== Its schema"
"$orvdb" schema "$out/demo.mdb"

echo "== An example data root: a library, a provider, a workshop and a manager at old versions, then upgraded"
root="$out/data-root"
rm -rf "$root"
mkdir -p "$root/Providers/Acme" "$root/XMan"
"$orvdb" create "$root/XLib.Mdb"
"$orvdb" sql "$root/XLib.Mdb" < examples/library.sql
"$orvdb" create "$root/Providers/Acme/XLibData.Mdb"
"$orvdb" sql "$root/Providers/Acme/XLibData.Mdb" < examples/provider.sql
"$orvdb" upgrade --kind library --data-root "$root"
"$orvdb" upgrade --kind provider --provider Acme --data-root "$root"
"$orvdb" sql --format table "$root/Providers/Acme/XLibData.Mdb" \
  "SELECT Ref1, ID, ZV_Position FROM VariableObjTree_TextList_Text ORDER BY Ref1, ZV_Position" \
  "SELECT zvID, zvCode FROM ZV_VersionCode ORDER BY zvID"
"$orvdb" create "$root/XMan/Xmandata.mdb"
"$orvdb" sql "$root/XMan/Xmandata.mdb" < examples/workshop.sql
"$orvdb" upgrade --kind workshop --data-root "$root"
"$orvdb" sql --format table "$root/XMan/Xmandata.mdb" \
  "SELECT WORKSTATIONNAME, FAMILY, CARTROLE, CARTNAME FROM qryWorkStationsOrigineCart ORDER BY WORKSTATIONID, CARTID"
"$orvdb" create "$root/XMan/Manager.mdb"
"$orvdb" sql "$root/XMan/Manager.mdb" < examples/manager.sql
"$orvdb" upgrade --kind manager --database Manager --data-root "$root" \
  | awk '!/^rights\t/ || /^rights\t(administrators|group)\t/'
"$orvdb" sql --format table "$root/XMan/Manager.mdb" \
  "SELECT UserName, RightsModel, UserPassword FROM ApplicationUsers ORDER BY ID" \
  "SELECT ID, NAME, VATRateName, DeviseName, ComputesModesId FROM DEVIS ORDER BY ID"

if [ -f ../shared/fixtures/jet4/northwind.mdb ]; then
  echo "== An Access file (a copy of northwind.mdb): info, a query, a change, a check"
  cp ../shared/fixtures/jet4/northwind.mdb "$out/northwind.mdb"
  chmod u+w "$out/northwind.mdb"
  "$orvdb" info "$out/northwind.mdb" | head -8
  "$orvdb" sql --format table "$out/northwind.mdb" \
    "SELECT TOP 3 CompanyName, Country FROM Customers ORDER BY CompanyName"
  "$orvdb" sql "$out/northwind.mdb" \
    "UPDATE Shippers SET Phone = '(503) 555-0101' WHERE ShipperID = 1"
  "$orvdb" check "$out/northwind.mdb"
fi
