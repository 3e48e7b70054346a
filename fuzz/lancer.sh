#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan) and runs each for a bounded time.
# Usage: fuzz/lancer.sh [--duree SECONDS] [--fuites] [--corpus-seul] [name...]
#   --duree N      seconds per target (default 60)
#   --fuites       also look for leaks after each input (about ten times slower: the
#                  toolkit fills its font caches as inputs come, and each check scans the heap)
#   --corpus-seul  only run each target once over its seed corpus (what CI does)
#   name           run only these targets (e.g. config journal)
# New inputs go to <build>/corpus/<name>/, never into the seed corpus; crashes are
# written to <build>/crashes/ and end the script with a failure.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
dossier="${VEILLEUR_FUZZ_BUILD:-$racine/build-fuzz}"
duree=60
corpus_seul=0
fuites=0
noms=()
while [ $# -gt 0 ]; do
  case "$1" in
    --duree) duree="$2"; shift 2 ;;
    --corpus-seul) corpus_seul=1; shift ;;
    --fuites) fuites=1; shift ;;
    -h|--help) sed -n 2,11p "$0"; exit 0 ;;
    *) noms+=("$1"); shift ;;
  esac
done

CC=clang CXX=clang++ cmake -S "$racine" -B "$dossier" -DVEILLEUR_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dossier" --target fuzz -j"$(nproc)"

if [ ${#noms[@]} -eq 0 ]; then
  for source in "$racine"/fuzz/fuzz_*.cpp; do
    nom="$(basename "$source" .cpp)"; noms+=("${nom#fuzz_}")
  done
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="suppressions=$racine/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$dossier/crashes"
for nom in "${noms[@]}"; do
  cible="$dossier/fuzz/fuzz_$nom"
  graines="$racine/fuzz/corpus/$nom"
  if [ "$corpus_seul" -eq 1 ]; then
    echo "== fuzz_$nom: seed corpus"
    "$cible" -runs=0 -artifact_prefix="$dossier/crashes/${nom}-" "$graines"
  else
    travail="$dossier/corpus/$nom"
    mkdir -p "$travail"
    echo "== fuzz_$nom: $duree s"
    "$cible" -max_total_time="$duree" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 -detect_leaks="$fuites" \
      -artifact_prefix="$dossier/crashes/${nom}-" "$travail" "$graines"
  fi
done
