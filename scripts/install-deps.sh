#!/usr/bin/env bash
# Installs the Debian packages orvdb needs to build, test and run.
# Runs apt-get only when something is missing (needs root then).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsqlite3-dev sqlite3 zlib1g-dev libicu-dev nettle-dev libinih-dev libcli11-dev libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  mdbtools
  libmariadb-dev mariadb-server mariadb-client
  libgtk-3-dev fonts-liberation
  xvfb imagemagick tesseract-ocr tesseract-ocr-eng tmux
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node and npm run one independent-reader test. Some machines carry a Node
# build that bundles npm (and conflicts with Debian's npm package), so look
# for the commands rather than the packages.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
