#!/usr/bin/env bash
# One entry point for the project: installs what is missing, builds the native and the
# Windows trees with CMake, and runs the tests or the workbench.
#
#   ./build.sh test                 build both trees and run every test
#   ./build.sh workbench [ARGS...]  build the Windows tree and run the workbench (default: the demo)
#   ./build.sh build                build both trees only
#   ./build.sh bench [ARGS...]      build and run the native benchmarks
set -euo pipefail

top="$(cd "$(dirname "$0")" && pwd)"
native="$top/build/native"
windows="$top/build/windows"
jobs="${QF_JOBS:-2}"

setup() { "$top/scripts/setup.sh"; }

build_native() {
  cmake -S "$top" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
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
    setup
    cmake -S "$top" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$native" -j "$jobs" --target qf_benchmarks
    "$native/tests/bench/qf_benchmarks" "$@" ;;
  *)
    echo "usage: $0 test | workbench [ARGS...] | build | bench [ARGS...]" >&2; exit 2 ;;
esac
