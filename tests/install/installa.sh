#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the tree a desktop gets: both
# programs run there and answer --version without a display, the menu entry's
# Exec and Icon name installed files, the icon is well-formed XML, and the manual
# page renders without warnings with the same usage lines as the program's help.
# Usage: installa.sh BUILD_DIR VERSION [CMAKE]
set -euo pipefail
build=$1
versione=$2
cmake=${3:-cmake}

prefisso=$(mktemp -d)
trap 'rm -rf "$prefisso"' EXIT
unset DESTDIR
"$cmake" --install "$build" --prefix "$prefisso" >/dev/null

guasti=0
guasto() {
  echo "FAIL: $*" >&2
  guasti=1
}
uguale() {  # uguale WHAT GOT EXPECTED
  [ "$2" = "$3" ] || guasto "$1: got '$2', expected '$3'"
}

cli=$prefisso/bin/pliventa-cli
uguale "pliventa-cli --version" "$("$cli" --version)" "pliventa-cli $versione"
# No display at all: a window created before the answer would abort.
uguale "pliventa --version" \
  "$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 20 \
    "$prefisso/bin/pliventa" --version 2>&1)" "pliventa $versione"

voce=$prefisso/share/applications/pliventa.desktop
if [ -f "$voce" ]; then
  [ -x "$prefisso/bin/$(sed -n 's/^Exec=//p' "$voce")" ] || guasto "Exec is not an installed program"
  icona=$prefisso/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$voce").svg
  if [ -f "$icona" ]; then
    python3 -c 'import sys, xml.etree.ElementTree as x; x.parse(sys.argv[1])' "$icona" ||
      guasto "the icon is not well-formed"
  else
    guasto "no icon $icona"
  fi
else
  guasto "no desktop entry"
fi

manuale=$prefisso/share/man/man1/pliventa-cli.1
if [ ! -f "$manuale" ]; then
  guasto "no manual page"
elif command -v groff >/dev/null; then
  testo=$(groff -k -man -Tutf8 -P-cbou -rLL=200n -ww "$manuale" 2>"$prefisso/avvisi" |
    sed 's/^[[:space:]]*//')
  [ -s "$prefisso/avvisi" ] && guasto "groff warns: $(cat "$prefisso/avvisi")"
  for comando in import dump export risconet search check summary; do
    uso=$("$cli" "$comando" --help | sed -n '1s/^Uso: pliventa-cli //p')
    grep -qxF -- "$uso" <<<"$testo" || guasto "the manual page lacks the usage line '$uso'"
  done
else
  echo "groff missing: the manual page is not rendered"
fi
exit $guasti
