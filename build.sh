#!/usr/bin/env bash
# One entry point for the project: installs what is missing, builds the native tree and
# the two Windows trees (32-bit and 64-bit) with CMake, and runs the tests or the workbench.
#
#   ./build.sh test                        build the three trees and run every test
#   ./build.sh workbench [--x64] [--lang L] [ARGS...]  build a Windows tree and run its workbench
#                                           (default: the 32-bit one; ARGS default to the demo; with
#                                           --lang de|fr|es|ja|en the module in that language, ARGS
#                                           default to every window, with a contact sheet)
#   ./build.sh manual [--x64]              build a Windows tree and render the operator's manual's
#                                           pictures beside its DLL (build/windows/bin)
#   ./build.sh build                       build the three trees only
#   ./build.sh bench [ARGS...]             build and run the native benchmarks (Google Benchmark options)
#   ./build.sh entry-bench [--x64]        build a Windows tree and time the calls applications make
#                                          before every print against their floor, under Wine
#   ./build.sh fuzz NAME [SECONDS]         build and run one fuzz target for long (default 600 s),
#                                          keeping its corpus in build/native/tests/fuzz/corpus/NAME
#   ./build.sh failure-walk [--x64] [PATH]  build a Windows tree and walk every failure point of every
#                                          path (or of the paths whose name contains PATH)
set -euo pipefail

top="$(cd "$(dirname "$0")" && pwd)"
native="$top/build/native"
windows="$top/build/windows"
windows64="$top/build/windows64"
jobs="${QF_JOBS:-2}"

setup() { "$top/scripts/setup.sh"; }

configure_native() { cmake -S "$top" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null; }

build_native() {
  configure_native
  cmake --build "$native" -j "$jobs"
}

# build_windows TREE TOOLCHAIN [CMAKE OPTIONS...]
build_windows() {
  local tree="$1" toolchain="$2"
  shift 2
  cmake -S "$top" -B "$tree" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain" "$@" >/dev/null
  # Progress lines ("[ 42%] Building ...", "Generating ...", "Copying ...") are dropped;
  # warnings and errors pass, and a failed build still fails the command (pipefail).
  cmake --build "$tree" -j "$jobs" | { grep -v -E "^\[ *[0-9]+%\] " || true; }
}
build_windows32() { build_windows "$windows" mingw-i686.cmake; }
# The 64-bit tree knows the 32-bit one, whose programs its record exchange test runs.
build_windows64() { build_windows "$windows64" mingw-x86_64.cmake -DQF_PEER_TREE="$windows"; }

# Runs a command under a virtual display when there is none; the workbench then renders
# its windows to PNG files instead of waiting for someone to use them.
# When the virtual display closes, Xlib's "X connection to :NN broken" notice of the
# Wine processes still connected to it is dropped from the error output; every other line
# passes. Xlib ends that notice with CR LF, so the line grep reads ends with a CR.
with_display() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; return; fi
  QF_HEADLESS=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$@" \
    2> >(grep -v -E $'^X connection to :[0-9.]+ broken \\(explicit kill or server shutdown\\)\\.\r?$' >&2)
}

# The manual's language page shows a few windows in German and Japanese (as the manual's file
# list names them, qf862k-de-*.png and qf862k-ja-*.png); the workbench renders them in that
# language beside the DLL after the manual's English pictures (the English run removes them).
render_language_pictures() {
  local tree="$1" lang locale
  for lang in de ja; do
    case "$lang" in de) locale=de_DE.UTF-8 ;; ja) locale=ja_JP.UTF-8 ;; esac
    QF_WINE_LOCALE="$locale" QF_WINE_BUILD_DIR="$tree" \
      with_display "$top/scripts/wine-run.sh" "$tree/bin/workbench.exe" --lang "$lang" manual --languages-page >/dev/null
  done
}

cmd="${1:-test}"
shift || true
case "$cmd" in
  build)
    setup; build_native; build_windows32; build_windows64 ;;
  test)
    setup; build_native; build_windows32; build_windows64
    status=0
    (cd "$native" && ctest --output-on-failure -j "$jobs") || status=1
    if ! "$top/scripts/runs-32bit.sh"; then
      echo "test: this machine cannot run 32-bit programs (the kernel's 32-bit emulation is off):" \
           "the 32-bit tree is built, and its Wine tests are reported as skipped" >&2
    fi
    (cd "$windows" && with_display ctest --output-on-failure) || status=1
    (cd "$windows64" && with_display ctest --output-on-failure) || status=1
    exit $status ;;
  manual)
    if [ "${1:-}" = "--x64" ]; then set -- --x64 manual; else set -- manual; fi
    ;&
  workbench)
    setup
    tree="$windows"
    if [ "${1:-}" = "--x64" ]; then
      shift; tree="$windows64"; build_windows64
    elif ! "$top/scripts/runs-32bit.sh"; then
      echo "workbench: this machine cannot run 32-bit programs (the kernel's 32-bit emulation is off);" \
           "running the 64-bit module instead (its output matches apart from paths)" >&2
      tree="$windows64"; build_windows64
    else
      build_windows32
    fi
    # --lang CODE shows the module in that language: Wine, as Windows, takes the language
    # from the user's locale, which wine-run.sh sets for the workbench alone. Without a
    # command it renders every window in that language, with a contact sheet of them all.
    lang=""
    if [ "${1:-}" = "--lang" ]; then
      case "${2:-}" in
        en) locale=en_US.UTF-8 ;; de) locale=de_DE.UTF-8 ;; fr) locale=fr_FR.UTF-8 ;;
        es) locale=es_ES.UTF-8 ;; ja) locale=ja_JP.UTF-8 ;;
        *) echo "usage: $0 workbench [--x64] [--lang en|de|fr|es|ja] [COMMAND [ARGS...]]" >&2; exit 2 ;;
      esac
      lang="$2"; shift 2
      if [ $# -eq 0 ]; then set -- manual; fi
    fi
    if [ $# -eq 0 ]; then set -- demo; fi
    # install (and the demo, which starts with it) copies the manual beside the installed
    # driver: on a fresh tree its pictures are rendered first, so that every page shows.
    if [ "$1" = install ] || [ "$1" = demo ]; then
      missing=0
      while read -r file; do
        case "$file" in *.png) [ -f "$tree/bin/$file" ] || missing=$((missing + 1)) ;; esac
      done < "$top/manual/qf862k-manual.lst"
      if [ "$missing" -gt 0 ]; then
        echo "workbench: rendering the operator's manual's $missing missing pictures first (workbench manual)" >&2
        QF_WINE_BUILD_DIR="$tree" with_display "$top/scripts/wine-run.sh" "$tree/bin/workbench.exe" manual >/dev/null
        render_language_pictures "$tree"
      fi
    fi
    if [ -z "$lang" ]; then
      status=0
      QF_WINE_BUILD_DIR="$tree" with_display "$top/scripts/wine-run.sh" "$tree/bin/workbench.exe" "$@" || status=$?
      if [ "$status" -eq 0 ] && [ "$*" = manual ]; then render_language_pictures "$tree"; fi
      exit "$status"
    fi
    QF_WINE_LOCALE="$locale" QF_WINE_BUILD_DIR="$tree" \
      with_display "$top/scripts/wine-run.sh" "$tree/bin/workbench.exe" --lang "$lang" "$@"
    pictures="$tree/workbench-output/$lang"
    if [ "$1" = manual ] && ls "$pictures"/*.png >/dev/null 2>&1; then
      # The windows only: the decoded hologram cards beside them are the same in every language.
      windows=()
      for picture in "$pictures"/*.png; do
        case "$picture" in *hologram-front.png|*hologram-back.png|*hologram-source.png) ;; *) windows+=("$picture") ;; esac
      done
      montage -label '%t' -font DejaVu-Sans -pointsize 12 -geometry '+8+8' -tile 4x -background '#d8d8d8' \
        "${windows[@]}" "$tree/workbench-output/contact-sheet-$lang.png"
      echo "contact sheet: $tree/workbench-output/contact-sheet-$lang.png"
    fi ;;
  bench)
    setup; configure_native
    cmake --build "$native" -j "$jobs" --target qf_bench
    for bench in hologram_bench color_transform_bench; do "$native/tests/bench/$bench" "$@"; done ;;
  entry-bench)
    setup
    tree="$windows"
    if [ "${1:-}" = "--x64" ] || ! "$top/scripts/runs-32bit.sh"; then
      [ "${1:-}" = "--x64" ] && shift
      tree="$windows64"; build_windows64
    else
      build_windows32
    fi
    cmake --build "$tree" -j "$jobs" --target entry_points_bench | { grep -v -E "^\[ *[0-9]+%\] " || true; }
    QF_WINE_BUILD_DIR="$tree" "$top/scripts/wine-run.sh" "$tree/bin/entry_points_bench.exe" "$@" ;;
  fuzz)
    if [ $# -lt 1 ]; then echo "usage: $0 fuzz NAME [SECONDS]" >&2; exit 2; fi
    setup; configure_native
    cmake --build "$native" -j "$jobs" --target "$1"
    fuzz_dir="$native/tests/fuzz"
    mkdir -p "$fuzz_dir/corpus/$1" "$fuzz_dir/artifacts"
    "$fuzz_dir/$1" -max_total_time="${2:-600}" -artifact_prefix="$fuzz_dir/artifacts/$1-" "$fuzz_dir/corpus/$1" ;;
  failure-walk)
    setup
    tree="$windows"
    if [ "${1:-}" = "--x64" ]; then
      shift; tree="$windows64"; build_windows64
    else
      build_windows32
    fi
    QF_FAILURE_WALK=all QF_FAILURE_WALK_PATH="${1:-}" QF_WINE_BUILD_DIR="$tree" \
      with_display "$top/scripts/wine-run.sh" "$tree/bin/qf_wine_tests.exe" --gtest_filter='FailureWalk.*' ;;
  *)
    echo "usage: $0 test | workbench [--x64] [--lang L] [ARGS...] | manual [--x64] | build | bench [ARGS...] | entry-bench [--x64] | fuzz NAME [SECONDS] | failure-walk [--x64] [PATH]" >&2; exit 2 ;;
esac
