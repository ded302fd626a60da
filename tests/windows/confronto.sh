#!/usr/bin/env bash
# The Windows command line, under Wine, against the Linux one on the same inputs:
# every layout, an automatic import of several, a Risconet export. The work files,
# the converted file, the dumps, the CSV summaries and the checks must be the same
# bytes, and so must what each says on standard error; the workbooks the same
# cells (their sheet's name holds the minute of the export, left out).
#   confronto.sh LINUX_CLI WINDOWS_CLI WINE_RUN WINEPREFIX SAMPLES LEGGI_LIBRO
set -euo pipefail
linux=$1 windows=$2 wine_run=$3 prefisso=$4 campioni=$5 leggi=$6
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
mkdir "$lavoro/linux" "$lavoro/windows"
for d in linux windows; do cp "$campioni"/*.txt "$lavoro/$d/"; done

# Each command runs in both folders, with the same relative names; its output goes
# to OUT.stdout and OUT.stderr there.
esegui() {
  local nome=$1
  shift
  (cd "$lavoro/linux" && "$linux" "$@" >"$nome.stdout" 2>"$nome.stderr") || echo "$?" >"$lavoro/linux/$nome.rc"
  (cd "$lavoro/windows" && bash "$wine_run" "$prefisso" "$windows" "$@" >"$nome.stdout" 2>"$nome.stderr") ||
    echo "$?" >"$lavoro/windows/$nome.rc"
}

esegui cnc2000 import cnc2000 cnc2000.txt -o cnc2000.out
esegui cnc1997 import cnc1997 cnc1997.txt -o cnc1997.out
esegui viol1997 import viol1997 viol1997.txt -o viol1997.out
esegui f24 import f24 f24.txt -o f24.out
esegui risconet risconet risconet.txt --belfiore H501
esegui auto import auto cnc2000.txt cnc1997.txt viol1997.txt f24.txt risconet.txt --belfiore H501
for w in cnc2000.out cnc1997.out viol1997.out f24.out iciview.out; do
  esegui "dump-$w" dump "$w" --valuta E
  esegui "check-$w" check "$w" --valuta E
  esegui "summary-$w" summary "$w" --by anno --format csv --valuta E
  esegui "export-$w" export "$w" -o "$w.xlsx" --valuta E
done

diversi=0
for f in "$lavoro/linux"/*; do
  nome=$(basename "$f")
  case "$nome" in *.xlsx) continue ;; esac
  if ! cmp -s "$f" "$lavoro/windows/$nome"; then
    echo "diverso: $nome" >&2
    diff <(od -c "$f" | head -20) <(od -c "$lavoro/windows/$nome" 2>/dev/null | head -20) >&2 || true
    diversi=1
  fi
done
for f in "$lavoro/linux"/*.xlsx; do
  nome=$(basename "$f")
  if ! cmp -s <(/usr/bin/python3 "$leggi" "$f" | grep -v '^fogli') \
              <(/usr/bin/python3 "$leggi" "$lavoro/windows/$nome" | grep -v '^fogli'); then
    echo "diverso: le celle di $nome" >&2
    diversi=1
  fi
done
# Nothing but what the commands were told to write, and the same on both sides.
if ! diff <(cd "$lavoro/linux" && ls -A) <(cd "$lavoro/windows" && ls -A) >&2; then
  diversi=1
fi
[ "$diversi" = 0 ] && echo "stessi file e stesse celle: $(ls "$lavoro/linux" | wc -l) confrontati"
exit "$diversi"
