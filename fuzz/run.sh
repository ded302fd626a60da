#!/usr/bin/env bash
# A fuzzing campaign: each target of fuzz/ in turn, SECONDS seconds each, starting
# from its corpus in fuzz/corpus/NAME. The inputs it finds go to
# BUILD/corpus/NAME (kept from one campaign to the next, never checked in); a
# crash is saved in BUILD/trovati/NAME/ and makes the script fail once every
# target has run. Usage: fuzz/run.sh BUILD SECONDS [NAME...]
# BUILD is a build folder configured with -DPLIVENTA_FUZZ=ON (see `make fuzz`).
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "uso: $0 CARTELLA_BUILD SECONDI [BERSAGLIO...]" >&2
  exit 2
fi
radice="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
secondi="$2"
shift 2
if [ $# -gt 0 ]; then
  bersagli=("$@")
else
  bersagli=()
  for d in "$radice"/fuzz/corpus/*/; do
    bersagli+=("$(basename "$d")")
  done
fi

# The longest input worth trying: an import needs a few dozen lines, a record
# target a few records; the workbook packs a file on every run, so it stays small.
lunghezza() {
  case "$1" in
    importa_*) echo 8192 ;;
    ricerca) echo 256 ;;
    versamento) echo 1024 ;;
    esportazione) echo 2048 ;;
    *) echo 4096 ;;
  esac
}

# The imports sync the files they write: in a memory-backed folder that costs
# nothing, on a disk it would take most of each run.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

falliti=()
for b in "${bersagli[@]}"; do
  programma="$build/fuzz/fuzz_$b"
  if [ ! -x "$programma" ]; then
    echo "$b: manca $programma" >&2
    falliti+=("$b")
    continue
  fi
  mkdir -p "$build/corpus/$b" "$build/trovati/$b" "$build/log"
  log="$build/log/$b.log"
  inizio=$SECONDS
  "$programma" -max_total_time="$secondi" -max_len="$(lunghezza "$b")" -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/trovati/$b/" \
    "$build/corpus/$b" "$radice/fuzz/corpus/$b" >"$log" 2>&1
  esito=$?
  esecuzioni=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $esito -eq 0 ]; then
    echo "$b: ${esecuzioni:-?} esecuzioni in $((SECONDS - inizio)) s, nessun errore"
  else
    echo "$b: ERRORE dopo ${esecuzioni:-?} esecuzioni (registro: $log)" >&2
    grep -E 'invariante violato|ERROR: |runtime error|SUMMARY' "$log" | head -n 5 >&2
    ls "$build/trovati/$b" >&2
    falliti+=("$b")
  fi
done

if [ ${#falliti[@]} -gt 0 ]; then
  echo "bersagli con errori: ${falliti[*]}; gli input sono in $build/trovati/" >&2
  exit 1
fi
