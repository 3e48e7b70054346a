#!/usr/bin/env bash
# Runs the communication layer against the independent device implementation
# (tests/appareil_independant.py, Debian's pymodbus), over Modbus TCP and over
# Modbus RTU (RTU frames over TCP, made a serial line by socat), and prints
# what it saw: devices coming online, values, an alarm acknowledged, a DC+
# fault, a device lost and found again, and the alarm of KMT 2 starting a
# fault search on QFL8 34 that finds a fault on its QFL16 unit 2.
# Usage: bench/essai_appareil_independant.sh [build folder]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$racine/build}")"
cmake --build "$build" -j2 --target mesure-liaison >/dev/null
dossier="$(mktemp -d)"
pids=()
nettoyer() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$dossier"
}
trap nettoyer EXIT

# The device's console: R of KMT 2 above then below its threshold (pre-alarm,
# alarm, horn), a DC+ fault on KMT 3, KMT 1 silent for 12 s (the device keeps
# serving once its console input ends); QFL8 34 has QFL16 units 1 and 2 and a
# leak on unit 2, feeder 5, L1, which its searches find.
scenario() {
  echo "unites 34 1-2"; echo "fuite 34 5 2 1 150"; echo "duree 34 3"
  sleep 5; echo "r 2 450"; sleep 4; echo "r 2 80"; sleep 6; echo "defaut 3 4 1"
  sleep 4; echo "silence 1"; sleep 12; echo "reponds 1"
}

essai() {  # essai tcp|rtu PORT
  local genre=$1 port=$2
  mkdir -p "$dossier/$genre"
  scenario | /usr/bin/python3 "$racine/tests/appareil_independant.py" "$port" 1,2,3,34 "$genre" >"$dossier/$genre/sortie" &
  pids+=($!)
  for _ in $(seq 100); do grep -q pret "$dossier/$genre/sortie" && break; sleep 0.1; done
  if [ "$genre" = rtu ]; then
    socat "pty,link=$dossier/ligne,raw,echo=0" "tcp:127.0.0.1:$port" &
    pids+=($!)
    for _ in $(seq 50); do [ -e "$dossier/ligne" ] && break; sleep 0.1; done
    printf '[Liaison]\nPeripherique=%s\n[Appareils]\nListe=1-3,34\n[RechercheAuto]\nListe=2\n' "$dossier/ligne" >"$dossier/$genre/Reseau.ini"
  else
    printf '[Liaison]\nType=tcp\nHote=127.0.0.1\nPort=%s\n[Appareils]\nListe=1-3,34\n[RechercheAuto]\nListe=2\n' "$port" >"$dossier/$genre/Reseau.ini"
  fi
  echo "== independent device over Modbus $genre"
  "$build/mesure-liaison" - essai "$dossier/$genre/Reseau.ini" 38
}

essai tcp $((20000 + RANDOM % 20000))
essai rtu $((20000 + RANDOM % 20000))
