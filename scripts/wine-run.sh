#!/usr/bin/env bash
# Runs a Windows program of the build under Wine with a private prefix in the build tree.
# The program's own header says whether it is a 32-bit or a 64-bit program; each kind
# gets its own prefix (WINEARCH win32 or win64) and the matching Wine loader. The prefix
# is made once (without the Mono and Gecko installers) under a lock, so that tests
# started together do not race to create it.
set -euo pipefail

exe="$1"; shift
build_dir="${QF_WINE_BUILD_DIR:-$(cd "$(dirname "$exe")/.." && pwd)}"
export WINEPREFIX="${QF_WINEPREFIX:-$build_dir/wineprefix}"
export WINEDEBUG="${QF_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

# The PE header starts at the offset kept at 0x3C; its machine word follows "PE\0\0".
pe_machine() {
  local header
  header=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((header + 4)) -N 2 "$1" | tr -d ' '
}

case "$(pe_machine "$exe")" in
  8664)
    export WINEARCH=win64
    loader="$(command -v wine64 || echo /usr/lib/wine/wine64)"
    export WINELOADER="$loader" ;;
  *)
    export WINEARCH=win32
    loader=wine
    # Exit code 77 tells ctest the test was skipped, not passed.
    if ! "$(dirname "$0")/runs-32bit.sh"; then
      echo "wine-run: skipped $(basename "$exe"): this machine cannot run 32-bit programs" \
           "(the kernel's 32-bit emulation is off), so 32-bit Wine cannot start" >&2
      exit 77
    fi ;;
esac

(
  flock 9
  if [ ! -f "$WINEPREFIX/.qf-ready" ]; then
    "$loader" wineboot.exe -i >/dev/null 2>&1 || true
    # Wine draws its windows' frames itself: there is no window manager under Xvfb, and
    # without this Wine waits for one whenever a window is hidden.
    "$loader" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.qf-ready"
  fi
  # QF_WINE_DPI (e.g. 144) makes the prefix's screen that many dots per inch, as a user's
  # display setting does; a prefix of its own (QF_WINEPREFIX) keeps the others at 96.
  if [ -n "${QF_WINE_DPI:-}" ] && [ ! -f "$WINEPREFIX/.qf-dpi-$QF_WINE_DPI" ]; then
    "$loader" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QF_WINE_DPI" /f \
      >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.qf-dpi-$QF_WINE_DPI"
  fi
  # The title bars' minimise, maximise and close glyphs come from the Marlett font of
  # Wine's own fonts (Debian's fonts-wine); the prefix's Fonts folder holds it, so that
  # the buttons are drawn as on Windows rather than as the letters "0 1 r".
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
) 9>"$build_dir/.wineprefix.lock"

# QF_WINE_LOCALE (e.g. de_DE.UTF-8) runs the program in that locale: Wine takes the user's
# language, and with it the module's resource block, from LC_ALL. It is set for the program
# alone, so that this script's shell never tries a locale the system may not have generated.
# QF_WINE_UI_LOCALE sets the user's language apart from it (LC_MESSAGES), while
# QF_WINE_LOCALE then gives the system's code page (LC_CTYPE): a Japanese user on a Western
# system.
locale=()
if [ -n "${QF_WINE_LOCALE:-}" ] && [ -n "${QF_WINE_UI_LOCALE:-}" ]; then
  locale=(env -u LC_ALL LANG="$QF_WINE_LOCALE" LC_CTYPE="$QF_WINE_LOCALE" LC_MESSAGES="$QF_WINE_UI_LOCALE")
elif [ -n "${QF_WINE_LOCALE:-}" ]; then
  locale=(env LC_ALL="$QF_WINE_LOCALE")
fi

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "${locale[@]}" "$loader" "$exe" "$@"
fi
exec "${locale[@]}" "$loader" "$exe" "$@"
