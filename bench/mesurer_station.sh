#!/usr/bin/env bash
# Measures the station as it runs: time from launch to its window on screen,
# resident memory after a minute, CPU share while idle (its four timers only).
# Usage: bench/mesurer_station.sh [path to Veilleur] [seconds of idle measure]
# Runs under a private Xvfb display, in an empty temporary folder.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
binaire="$(realpath "${1:-$racine/build/Veilleur}")"
duree="${2:-60}"
ecran=":$((90 + RANDOM % 9))"

dossier="$(mktemp -d)"
Xvfb "$ecran" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pid=""
nettoyer() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$dossier"
}
trap nettoyer EXIT
for _ in $(seq 50); do xdpyinfo -display "$ecran" >/dev/null 2>&1 && break; sleep 0.1; done

cd "$dossier"
debut=$(date +%s%N)
DISPLAY="$ecran" QT_QPA_PLATFORM=xcb "$binaire" 2>/dev/null &
pid=$!
# The window is up once a viewable top-level titled "Orvane.PC" exists.
while :; do
  if xwininfo -display "$ecran" -name "Orvane.PC" 2>/dev/null | grep -q "IsViewable"; then break; fi
  kill -0 "$pid" 2>/dev/null || { echo "the station ended early" >&2; exit 1; }
done
fin=$(date +%s%N)
echo "start-up to window shown: $(( (fin - debut) / 1000000 )) ms"

tic=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
sleep 10   # past start-up
avant=$(cpu); t0=$(date +%s%N)
sleep "$duree"
apres=$(cpu); t1=$(date +%s%N)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
echo "RSS after $((duree + 10)) s: $((rss / 1024)) MB ($rss kB)"
awk -v c=$((apres - avant)) -v tic="$tic" -v ns=$((t1 - t0)) \
    'BEGIN { printf "idle CPU share over %.0f s: %.2f %% of one core\n", ns / 1e9, 100 * (c / tic) / (ns / 1e9) }'
