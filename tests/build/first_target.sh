#!/usr/bin/env bash
# Builds one target of the native tree as the first and only thing in an empty build
# folder, as `./build.sh bench` and `./build.sh fuzz NAME` do on a fresh clone: every
# file the target needs, generated ones included, must be made on the way.
#
#   first_target.sh SOURCE_DIR WORK_DIR TARGET
set -euo pipefail

source_dir="$1"
tree="$2/$3"
target="$3"
jobs="${QF_JOBS:-1}"

mkdir -p "$2"
rm -rf "$tree"
if ! cmake -S "$source_dir" -B "$tree" -DCMAKE_BUILD_TYPE=Debug >"$tree.log" 2>&1 ||
   ! cmake --build "$tree" -j "$jobs" --target "$target" >>"$tree.log" 2>&1; then
  tail -n 20 "$tree.log"
  echo "building $target first in an empty build folder failed (log: $tree.log)" >&2
  exit 1
fi
rm -rf "$tree" "$tree.log"
