#!/usr/bin/env bash
# Builds orvdb in Release (library and CLI, no tests), installs it into a
# scratch prefix, and builds and runs the embedding examples
# (examples/embedding) against the installed package: once through
# pkg-config, once through find_package(orvdb).
#
#   scripts/check-install.sh [BUILD_DIR]      (default: build-release)
#
# ORVDB_WERROR=ON makes compiler warnings errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
werror=${ORVDB_WERROR:-OFF}

work=$(mktemp -d "${TMPDIR:-/tmp}/orvdb-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

step() { echo "== $*"; }
fail() {
  echo "check-install: $*" >&2
  exit 1
}

step "Release build ($build)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVDB_TESTS=OFF \
      -DORVDB_BENCH=OFF -DORVDB_WERROR="$werror" >/dev/null
cmake --build "$build" -j"$(nproc)" --target liborvdb orvdb_cli

step "cmake --install into $prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
library=$(find "$prefix" -name 'liborvdb.so' -print -quit)
[ -n "$library" ] || fail "no liborvdb.so under $prefix"
libdir=$(dirname "$library")
for file in "$prefix/bin/orvdb" "$prefix/include/orvdb/host.h" "$prefix/include/orvdb/host.hpp" \
            "$libdir/pkgconfig/orvdb.pc" "$libdir/cmake/orvdb/orvdbConfig.cmake"; do
  [ -e "$file" ] || fail "not installed: $file"
done
soname=$(readelf -d "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "liborvdb.so.0" ] || fail "SONAME is '$soname', expected liborvdb.so.0"
[ -e "$libdir/$soname" ] || fail "no $soname beside liborvdb.so"
"$prefix/bin/orvdb" --version

# A fresh data root per run, with the provider template the examples copy.
data_root() {
  local root=$work/root-$1
  mkdir -p "$root/Data"
  "$prefix/bin/orvdb" create "$root/Data/DataModel.Dat" >/dev/null
  echo "$root"
}

run() {
  local name=$1
  shift
  step "run $name"
  timeout 120 "$@" >"$work/$name.out" 2>&1 || {
    head -c 20000 "$work/$name.out" >&2
    fail "$name failed"
  }
  tail -n 1 "$work/$name.out"
}

step "examples through pkg-config"
export PKG_CONFIG_PATH=$libdir/pkgconfig
warnings=(-Wall -Wextra)
[ "$werror" = "ON" ] && warnings+=(-Werror)
# shellcheck disable=SC2046  # pkg-config output is a list of flags
cc -std=c11 "${warnings[@]}" examples/embedding/embed.c -o "$work/embed-pc" \
   $(pkg-config --cflags --libs orvdb)
# shellcheck disable=SC2046
c++ -std=c++20 "${warnings[@]}" examples/embedding/embed.cpp -o "$work/embed-cpp-pc" \
    $(pkg-config --cflags --libs orvdb)
run embed-pc env LD_LIBRARY_PATH="$libdir" "$work/embed-pc" "$(data_root c-pc)"
run embed-cpp-pc env LD_LIBRARY_PATH="$libdir" "$work/embed-cpp-pc" "$(data_root cpp-pc)"

step "examples through find_package(orvdb)"
cmake -S examples/embedding -B "$work/cmake-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_FLAGS="${warnings[*]}" \
      -DCMAKE_CXX_FLAGS="${warnings[*]}" >/dev/null
cmake --build "$work/cmake-build"
# CMake gives the programs the installed library's folder as their run path.
# (ldd's output is read whole first: with pipefail, grep -q leaving early
# would fail the pipe through ldd's broken pipe.)
libraries=$(ldd "$work/cmake-build/embed")
grep -q "$libdir/liborvdb.so" <<<"$libraries" ||
  fail "embed does not load the installed liborvdb: $libraries"
run embed-cmake "$work/cmake-build/embed" "$(data_root c-cmake)"
run embed-cpp-cmake "$work/cmake-build/embed_cpp" "$(data_root cpp-cmake)"
echo "install check passed"
