#!/usr/bin/env bash
# One entry point for the project: installs what is missing, builds the native and the
# Windows trees with CMake, and runs the tests or the workbench.
#
#   ./build.sh test                 build both trees and run every test
#   ./build.sh workbench [ARGS...]  build the Windows tree and run the workbench (default: the demo)
#   ./build.sh build                build both trees only
#   ./build.sh bench [ARGS...]      build and run the native benchmarks (Google Benchmark options)
#   ./build.sh fuzz NAME [SECONDS]  build and run one fuzz target for long (default 600 s),
#                                   keeping its corpus in build/native/tests/fuzz/corpus/NAME
set -euo pipefail

top="$(cd "$(dirname "$0")" && pwd)"
native="$top/build/native"
windows="$top/build/windows"
jobs="${QF_JOBS:-2}"

setup() { "$top/scripts/setup.sh"; }

configure_native() { cmake -S "$top" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null; }

build_native() {
  configure_native
  cmake --build "$native" -j "$jobs"
}

build_windows() {
  cmake -S "$top" -B "$windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$windows" -j "$jobs" | grep -v -E "^\[ *[0-9]+%\] (Built target|Building|Linking)" || true
}

# Runs a command under a virtual display when there is none; the workbench then renders
# its windows to PNG files instead of waiting for someone to use them.
with_display() {
  if [ -z "${DISPLAY:-}" ]; then QF_HEADLESS=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$@"; else "$@"; fi
}

cmd="${1:-test}"
shift || true
case "$cmd" in
  build)
    setup; build_native; build_windows ;;
  test)
    setup; build_native; build_windows
    status=0
    (cd "$native" && ctest --output-on-failure -j "$jobs") || status=1
    (cd "$windows" && with_display ctest --output-on-failure) || status=1
    exit $status ;;
  workbench)
    setup; build_windows
    if [ $# -eq 0 ]; then set -- demo; fi
    QF_WINE_BUILD_DIR="$windows" with_display "$top/scripts/wine-run.sh" "$windows/bin/workbench.exe" "$@" ;;
  bench)
    setup; configure_native
    cmake --build "$native" -j "$jobs" --target qf_bench
    for bench in hologram_bench color_transform_bench; do "$native/tests/bench/$bench" "$@"; done ;;
  fuzz)
    if [ $# -lt 1 ]; then echo "usage: $0 fuzz NAME [SECONDS]" >&2; exit 2; fi
    setup; configure_native
    cmake --build "$native" -j "$jobs" --target "$1"
    fuzz_dir="$native/tests/fuzz"
    mkdir -p "$fuzz_dir/corpus/$1" "$fuzz_dir/artifacts"
    "$fuzz_dir/$1" -max_total_time="${2:-600}" -artifact_prefix="$fuzz_dir/artifacts/$1-" "$fuzz_dir/corpus/$1" ;;
  *)
    echo "usage: $0 test | workbench [ARGS...] | build | bench [ARGS...] | fuzz NAME [SECONDS]" >&2; exit 2 ;;
esac
