#!/usr/bin/env bash
# Measures the communication layer against the project's simulator: the poll
# cycle against its floor (the wire time of its reads) at 19200 baud over a
# pseudo-terminal for 8, 31 and 62 numbers, and with 31 KMT and 31 QFL8 while
# fault searches' results are read; the CPU while polling 31 KMT over
# TCP; the longest read of the records by an event-loop tick while every device
# times out; the time from a change at a device to its record.
# Usage: bench/mesurer_liaison.sh [build folder] [seconds per measure]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$racine/build}")"
duree="${2:-30}"
cmake --build "$build" -j2 --target mesure-liaison veilleur-simulateur >/dev/null
mesure="$build/mesure-liaison"
sim="$build/simulateur/veilleur-simulateur"

echo "== cycle at 19200 baud (pseudo-terminal)"
"$mesure" "$sim" cycle 19200 1-8 1-8 "$duree"
"$mesure" "$sim" cycle 19200 1-31 1-31 "$duree"
# 31 KMT answering and 31 more numbers listed that nobody answers: the QFL8
# numbers 33-63 when no QFL8 is on the line, and for the silent-KMT cost, 15
# listed KMT numbers that never answer.
"$mesure" "$sim" cycle 19200 1-31 1-31,33-63 "$duree"
"$mesure" "$sim" cycle 19200 1-16 1-31 "$duree"
echo "== cycle with 31 KMT and 31 QFL8 while searches' results are read (19200 baud)"
"$mesure" "$sim" recherches 19200
echo "== CPU, 31 KMT over TCP"
"$mesure" "$sim" cpu 1-31 "$duree"
echo "== event-loop tick while every device times out (19200 baud)"
# Long enough to see the devices lost (3 cycles of 31 timeouts) and then retried.
"$mesure" "$sim" tic 19200 1-31 $((duree * 2))
echo "== latency, 31 KMT at 19200 baud"
"$mesure" "$sim" latence 19200 1-31 40
