#!/usr/bin/env bash
# Builds meadowbrookgate_setup.exe twice, from copies of the sources at two
# different paths into two different build folders, and checks that the two
# programs are byte-identical: no timestamp or path gets into the binary.
#   check_reproducible.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build_copy() {
  local src="$work/$1/src"
  mkdir -p "$src"
  tar -C "$source_dir" --exclude=./build --exclude=./.git -cf - . | tar -C "$src" -xf -
  cmake -S "$src" -B "$work/$1/out" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$work/$1/out" --target meadowbrookgate_setup >/dev/null
}

build_copy first
build_copy "second/somewhere else"
a="$work/first/out/meadowbrookgate_setup.exe"
b="$work/second/somewhere else/out/meadowbrookgate_setup.exe"
if cmp "$a" "$b"; then
  echo "two builds from different paths: identical, $(stat -c %s "$a") bytes, sha256 $(sha256sum <"$a" | cut -c1-16)"
else
  echo "the two builds differ"
  exit 1
fi
