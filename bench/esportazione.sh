#!/usr/bin/env bash
# Export of a full sheet (1,048,574 payments) against a minimal C program that
# writes the same cells with libxlsxwriter alone: within 1.3x of it, with peak
# memory that does not grow with the number of payments (and under 64 MiB).
set -euo pipefail
build="${PLIVENTA_BUILD:?PLIVENTA_BUILD must point at a release build folder}"
gen="$build/tools/pliventa-genera"
cli="$build/src/cli/pliventa-cli"
minimo="$build/bench/libro_minimo"
for p in "$gen" "$cli" "$minimo"; do
  [ -x "$p" ] || { echo "manca $p: compilare prima la build di release" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "manca /usr/bin/time (pacchetto time)" >&2; exit 1; }

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
export TMPDIR="$tmp"
pieno=1048574

# A work file of exactly `n` payments of the generator's ANCI-CNC 2000 file.
archivio() {
  "$gen" cnc2000 --righe $(( $1 + $1 / 10 + 100 )) --seme 11 > "$tmp/in.txt"
  "$cli" import cnc2000 "$tmp/in.txt" -o "$2" 2>/dev/null
  truncate -s $(( $1 * 202 )) "$2"
  rm -f "$tmp/in.txt"
}

ms() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}

mediana() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

archivio 100000 "$tmp/piccolo.out"
archivio "$pieno" "$tmp/pieno.out"

# Paired runs: ours and the yardstick alternate, so a machine that drifts
# affects both alike.
nostri=(); minimi=()
for _ in 1 2 3; do
  minimi+=("$(ms "$minimo" "$tmp/pieno.out" "$tmp/minimo.xlsx")")
  nostri+=("$(ms "$cli" export "$tmp/pieno.out" -o "$tmp/nostro.xlsx")")
  rm -f "$tmp/minimo.xlsx" "$tmp/nostro.xlsx"
done
m_ms=$(mediana "${minimi[@]}")
n_ms=$(mediana "${nostri[@]}")

picco() {
  /usr/bin/time -f %M -o "$tmp/rss" "$cli" export "$1" -o "$tmp/rss.xlsx" >/dev/null 2>&1
  rm -f "$tmp/rss.xlsx"
  cat "$tmp/rss"
}
rss_p=$(picco "$tmp/piccolo.out")
rss_g=$(picco "$tmp/pieno.out")

rapporto=$(awk -v a="$n_ms" -v b="$m_ms" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }')
ok=$(awk -v r="$rapporto" -v p="$rss_p" -v g="$rss_g" \
  'BEGIN { print (r <= 1.3 && g <= p * 1.1 + 1024 && g < 65536) ? "sì" : "NO" }')
printf '%-10s %9s %10s %10s %8s %7s %12s %12s\n' \
  operazione versamenti "minimo ms" "nostro ms" rapporto limite "RSS 100k" "RSS pieno"
printf '%-10s %9s %10s %10s %8s %7s %8s KiB %8s KiB  %s\n' \
  export "$pieno" "$m_ms" "$n_ms" "${rapporto}x" 1.3x "$rss_p" "$rss_g" "$ok"
[ "$ok" = sì ] || echo "attenzione: l'esportazione è fuori dai limiti (tempo o memoria)"
