#!/usr/bin/env bash
# Settings records crossing between two builds of the module (the 32-bit and the 64-bit
# tree): the peer tree's test program writes its records, this tree's program writes its
# own and reads the peer's, and the peer's program reads this tree's.
#
#   record_exchange.sh PEER_TREE OWN_TREE FOLDER
set -euo pipefail

top="$(cd "$(dirname "$0")/../.." && pwd)"
peer="$1"; own="$2"; folder="$3"

# Wine shows the machine's file system as drive Z:.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# run TREE FILTER [VARIABLE=VALUE...]: the tree's test program with those tests.
run() {
  local tree="$1" filter="$2"; shift 2
  echo "== $(basename "$tree"): $filter $*"
  env "$@" QF_WINE_BUILD_DIR="$tree" \
    "$top/scripts/wine-run.sh" "$tree/bin/qf_wine_tests.exe" --gtest_filter="$filter"
}

rm -rf "$folder"
mkdir -p "$folder/peer" "$folder/own"
peer_dir="$(windows_path "$folder/peer")"
own_dir="$(windows_path "$folder/own")"

run "$peer" "RecordExchange.Writes*" QF_EXCHANGE_OUT="$peer_dir"
run "$own" "RecordExchange.*" QF_EXCHANGE_OUT="$own_dir" QF_EXCHANGE_IN="$peer_dir"
run "$peer" "RecordExchange.Reads*" QF_EXCHANGE_IN="$own_dir"
