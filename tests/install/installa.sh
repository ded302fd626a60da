#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the tree a desktop gets: both
# programs run there and answer --version without a display, the menu entry's
# Exec and Icon name installed files, the icon is well-formed XML, and the manual
# pages render without warnings, pliventa-cli's with the same usage lines as its help.
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

# The guide the window shows, as a page a browser opens.
[ -s "$prefisso/share/doc/pliventa/guida.html" ] || guasto "no guide share/doc/pliventa/guida.html"

# The manual pages, compressed: each renders without warnings, the window's names
# --version, and pliventa-cli's has the usage line of each command's help.
pagina() {  # pagina NAME: renders NAME(1) into $prefisso/NAME.txt
  zcat "$prefisso/share/man/man1/$1.1.gz" |
    groff -k -man -Tutf8 -P-cbou -rLL=200n -ww 2>"$prefisso/avvisi" |
    sed 's/^[[:space:]]*//' >"$prefisso/$1.txt"
  [ ! -s "$prefisso/avvisi" ] || guasto "groff warns on $1(1): $(cat "$prefisso/avvisi")"
}
for programma in pliventa pliventa-cli; do
  [ -f "$prefisso/share/man/man1/$programma.1.gz" ] || guasto "no manual page of $programma"
done
if ! command -v groff >/dev/null; then
  echo "groff missing: the manual pages are not rendered"
else
  if [ -f "$prefisso/share/man/man1/pliventa.1.gz" ]; then
    pagina pliventa
    grep -qxF -- "pliventa --version" "$prefisso/pliventa.txt" ||
      guasto "the manual page of pliventa lacks 'pliventa --version'"
  fi
  if [ -f "$prefisso/share/man/man1/pliventa-cli.1.gz" ]; then
    pagina pliventa-cli
    for comando in import dump export risconet search check summary; do
      uso=$("$cli" "$comando" --help | sed -n '1s/^Uso: pliventa-cli //p')
      grep -qxF -- "$uso" "$prefisso/pliventa-cli.txt" ||
        guasto "the manual page lacks the usage line '$uso'"
    done
  fi
fi
exit $guasti
