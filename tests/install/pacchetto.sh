#!/usr/bin/env bash
# Builds the Debian package of a build tree with CPack, into a temporary folder, and
# checks it: lintian finds no error (its warnings and notes are listed, they do not
# fail), both programs have their manual page, and xdg-utils is recommended, since
# the window opens the exported workbook through xdg-open.
# Usage: pacchetto.sh BUILD_DIR [CPACK]
set -euo pipefail
build=$1
cpack=${2:-cpack}

if ! command -v lintian >/dev/null; then
  echo "FAIL: lintian is missing (make deps installs it)" >&2
  exit 1
fi
cartella=$(mktemp -d)
trap 'rm -rf "$cartella"' EXIT
if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$cartella" >"$cartella/cpack.log" 2>&1; then
  cat "$cartella/cpack.log" >&2
  echo "FAIL: cpack" >&2
  exit 1
fi
pacchetti=("$cartella"/pliventa_*.deb)
deb=${pacchetti[0]}

guasti=0
guasto() {
  echo "FAIL: $*" >&2
  guasti=1
}

contenuto=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for programma in pliventa pliventa-cli; do
  grep -qxF "./usr/bin/$programma" <<<"$contenuto" || guasto "no /usr/bin/$programma"
  grep -qxF "./usr/share/man/man1/$programma.1.gz" <<<"$contenuto" ||
    guasto "no compressed manual page of $programma"
done
grep -qw xdg-utils <<<"$(dpkg-deb --field "$deb" Recommends)" || guasto "xdg-utils not recommended"

# The whole report is shown; only errors, and lintian's own failures, fail.
esito=0
rapporto=$(lintian --fail-on error "$deb" 2>&1) || esito=$?
[ -n "$rapporto" ] && echo "$rapporto"
if [ $esito -ne 0 ]; then
  guasto "lintian ended with status $esito: $(grep -c '^E: ' <<<"$rapporto" || true) errors"
fi
exit $guasti
