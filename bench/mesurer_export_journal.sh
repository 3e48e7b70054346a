#!/usr/bin/env bash
# Export speed and memory of veilleur-journal on a journal of one million
# records (96 MB): export time against reading the same file raw with cat,
# in the same run; peak resident memory of the export.
# Usage: bench/mesurer_export_journal.sh [path to veilleur-journal] [records]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
outil="$(realpath "${1:-$racine/build/journal/veilleur-journal}")"
nombre="${2:-1000000}"
dossier="$(mktemp -d)"
trap 'rm -rf "$dossier"' EXIT
cd "$dossier"

# Pre-alarms of two devices a second apart, falling values, every few an extra text.
perl -e '
  my ($n) = @ARGV; my $jour = 45366.25; binmode STDOUT;
  for my $i (0 .. $n - 1) {
    my $texte = $i % 7 ? "" : "defaut \"$i\", boucle";
    print pack("C x7 d< C C C C a52 d< d< d<", 7, $jour + $i / 86400, $i % 2 ? 26 : 12, 0, 1,
               length($texte), $texte, 300 - ($i % 250), 100 + ($i % 7), 0);
  }' "$nombre" > Log.dat

# Seven rounds, each running cat, the CSV export and the JSON export once in
# turn, so that a slow spell of a shared machine weighs on all three alike.
# Wall times in nanoseconds, one line per round.
temps() {  # wall time in ns of one run of "$@"
  local t0 t1
  t0=$(date +%s%N); "$@" > /dev/null; t1=$(date +%s%N)
  echo $(( t1 - t0 ))
}
cat Log.dat > /dev/null  # warm the page cache
for _ in 1 2 3 4 5 6 7; do
  echo "$(temps cat Log.dat) $(temps "$outil" export Log.dat) $(temps "$outil" export --format json Log.dat)"
done > temps.txt

processeur() {  # CPU seconds (user + system) of one run of "$@", from the shell's own account
  bash -c '"$@" > /dev/null; times' _ "$@" | tail -1 | awk '{
    split($1, u, "m"); split($2, s, "m"); sub("s", "", u[2]); sub("s", "", s[2])
    printf "%.3f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }'
}
brutCpu=$(processeur cat Log.dat)
csvCpu=$(processeur "$outil" export Log.dat)
rss=$( { /usr/bin/time -v "$outil" export Log.dat > /dev/null; } 2>&1 | awk -F': ' '/Maximum resident set size/ { print $2 }')
taille=$(stat -c %s Log.dat)

# Best (and median) of the seven for each.
colonne() { awk -v c="$1" '{ print $c }' temps.txt | sort -n | awk -v q="$2" '{ v[NR] = $1 } END { print (q == "min" ? v[1] : v[int((NR + 1) / 2)]) / 1e9 }'; }
brut=$(colonne 1 min); csv=$(colonne 2 min); json=$(colonne 3 min)
brutMed=$(colonne 1 med); csvMed=$(colonne 2 med); jsonMed=$(colonne 3 med)

awk -v n="$nombre" -v taille="$taille" -v brut="$brut" -v csv="$csv" -v json="$json" -v rss="$rss" \
    -v brutMed="$brutMed" -v csvMed="$csvMed" -v jsonMed="$jsonMed" \
    -v brutCpu="$brutCpu" -v csvCpu="$csvCpu" 'BEGIN {
  printf "records:            %d (%.1f MB), best of 7 rounds (median in brackets)\n", n, taille / 1e6
  printf "cat Log.dat:        %.3f s (%.3f)\n", brut, brutMed
  printf "export (CSV):       %.3f s  %.2f M records/s  %.1f x cat (%.3f s, %.1f x)\n", csv, n / csv / 1e6, csv / brut, csvMed, csvMed / brutMed
  printf "export (JSON):      %.3f s  %.2f M records/s  %.1f x cat (%.3f s, %.1f x)\n", json, n / json / 1e6, json / brut, jsonMed, jsonMed / brutMed
  printf "CPU time:           cat %.3f s, export (CSV) %.3f s\n", brutCpu, csvCpu
  printf "peak RSS (CSV):     %.1f MB\n", rss / 1024
}'
