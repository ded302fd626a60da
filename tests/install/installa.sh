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
[ -f "$voce" ] || guasto "no desktop entry"
chiave() { sed -n "s/^$1=//p" "$voce" 2>/dev/null || true; }
[ -x "$prefisso/bin/$(chiave Exec)" ] || guasto "Exec is not an installed program"
icona=$prefisso/share/icons/hicolor/scalable/apps/$(chiave Icon).svg
python3 -c 'import sys, xml.etree.ElementTree as x; x.parse(sys.argv[1])' "$icona" ||
  guasto "no well-formed icon $icona"

# The guide the window shows, as a page a browser opens.
[ -s "$prefisso/share/doc/pliventa/guida.html" ] || guasto "no guide share/doc/pliventa/guida.html"

# The manual pages, compressed: each renders without warnings, the window's names
# --version, and pliventa-cli's has the usage line of each command's help.
pagina() {  # pagina NAME: renders NAME(1) into $prefisso/NAME.txt; false when it cannot
  local man=$prefisso/share/man/man1/$1.1.gz
  [ -f "$man" ] || { guasto "no manual page of $1"; return 1; }
  command -v groff >/dev/null || return 1
  zcat "$man" | groff -k -man -Tutf8 -P-cbou -rLL=200n -ww 2>"$prefisso/avvisi" |
    sed 's/^[[:space:]]*//' >"$prefisso/$1.txt"
  [ ! -s "$prefisso/avvisi" ] || guasto "groff warns on $1(1): $(cat "$prefisso/avvisi")"
}
command -v groff >/dev/null || echo "groff missing: the manual pages are not rendered"
if pagina pliventa; then
  grep -qxF -- "pliventa --version" "$prefisso/pliventa.txt" ||
    guasto "the manual page of pliventa lacks 'pliventa --version'"
fi
if pagina pliventa-cli; then
  for comando in import dump export risconet search check summary; do
    uso=$("$cli" "$comando" --help | sed -n '1s/^Uso: pliventa-cli //p')
    grep -qxF -- "$uso" "$prefisso/pliventa-cli.txt" ||
      guasto "the manual page lacks the usage line '$uso'"
  done
fi
exit $guasti
