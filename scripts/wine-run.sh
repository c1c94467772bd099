#!/usr/bin/env bash
# Runs a Windows program of the build under Wine with a private prefix in the build tree.
# The prefix is made once (without the Mono and Gecko installers) under a lock, so that
# tests started together do not race to create it.
set -euo pipefail

exe="$1"; shift
build_dir="${QF_WINE_BUILD_DIR:-$(cd "$(dirname "$exe")/.." && pwd)}"
export WINEPREFIX="${QF_WINEPREFIX:-$build_dir/wineprefix}"
export WINEDEBUG="${QF_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32

(
  flock 9
  if [ ! -f "$WINEPREFIX/.qf-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    # Wine draws its windows' frames itself: there is no window manager under Xvfb, and
    # without this Wine waits for one whenever a window is hidden.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.qf-ready"
  fi
) 9>"$build_dir/.wineprefix.lock"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$exe" "$@"
fi
exec wine "$exe" "$@"
