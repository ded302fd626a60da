#!/usr/bin/env bash
# Runs a program of the Windows build under Wine: the emulator that
# cmake/mingw-w64-x86_64.cmake gives ctest, gtest_discover_tests and try_run.
#   scripts/wine-run.sh PREFIX PROGRAM.exe [ARGUMENT...]
# PREFIX is the build's own Wine prefix, made here on first use; without a PROGRAM
# only that is done (`make windows-cli` does it before building, so that no test
# pays for it). The program's exit code is this script's, as Wine reports it: the
# low 8 bits of the Windows one, so a crash (0xC0000005) ends with 5, never 0.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "Uso: $0 PREFISSO [PROGRAMMA.exe [ARGOMENTO...]]" >&2
  exit 2
fi
WINEPREFIX=$(realpath -m "$1")
shift
export WINEPREFIX
export WINEARCH=win64
# Only the program's own output: none of Wine's diagnostic channels.
export WINEDEBUG=-all
# No Mono or Gecko, whose installers would open a dialog and wait for it, and no
# menu entries for the prefix's programs on the desktop of whoever builds.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# No window, whatever the desktop of the caller: the tests are console programs,
# and without a display a crash prints its backtrace on the console instead of
# opening the debugger's window.
unset DISPLAY WAYLAND_DISPLAY

# The prefix is made once, under a lock, as two tests may start together. It is
# ready when .pronto names the Wine that made it: a wineboot cut short is made
# again next time, and so is a prefix of another Wine, which that Wine would
# otherwise update at its first start, inside the time of a test.
wine=$(wine --version)
pronto() { [ "$(cat "$WINEPREFIX/.pronto" 2>/dev/null)" = "$wine" ]; }
if ! pronto; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if ! pronto; then
    # Made or brought up to date in place, never removed: a folder that holds
    # something else than a Wine prefix is a wrong argument, and is left alone.
    if [ -n "$(ls -A "$WINEPREFIX" 2>/dev/null)" ] && [ ! -e "$WINEPREFIX/system.reg" ]; then
      echo "$WINEPREFIX non è un prefisso di Wine" >&2
      exit 2
    fi
    registro="$WINEPREFIX.log"
    echo "Preparo il prefisso di Wine $WINEPREFIX" >&2
    # wineboot returns before the prefix's services have finished writing the
    # registry; wineserver -w waits for the last of them. Its messages (the 32-bit
    # half of Wine, which Debian installs apart, is missing) go to the log.
    if ! timeout 300 wine wineboot --init >"$registro" 2>&1 ||
       ! timeout 300 wineserver --wait >>"$registro" 2>&1; then
      wineserver --kill 2>/dev/null || true
      echo "Il prefisso di Wine non si prepara; il registro: $registro" >&2
      tail -n 20 "$registro" >&2
      exit 1
    fi
    echo "$wine" >"$WINEPREFIX/.pronto"
  fi
  exec 9>&-
fi

# A network share for the tests, as the tax office's files often live on one:
# \\ufficio\c is the prefix's drive C:, through Wine's map of UNC paths.
if [ ! -L "$WINEPREFIX/dosdevices/unc/ufficio/c" ]; then
  mkdir -p "$WINEPREFIX/dosdevices/unc/ufficio"
  ln -sfn ../../../drive_c "$WINEPREFIX/dosdevices/unc/ufficio/c"
fi

[ $# -eq 0 ] && exit 0
exec wine "$@"
