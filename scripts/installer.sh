#!/usr/bin/env bash
# Installs the Debian 12 packages the station and its tests need (skips those already there).
set -euo pipefail
paquets=(build-essential cmake ccache qt6-base-dev qt6-serialport-dev qt6-multimedia-dev
         libgl-dev libcanberra-dev fonts-liberation2 libgtest-dev libbenchmark-dev pkg-config)
# The communication layer, the device simulator (veilleur-simulateur) and the tests that
# drive it over Modbus, against it and against an independent device (pymodbus).
paquets+=(libmodbus-dev python3-pymodbus socat)
# Installation checks and the Debian package: a private X server to run the installed
# station, the desktop-file validators, dpkg-shlibdeps.
paquets+=(xvfb xdotool x11-utils imagemagick desktop-file-utils appstream dpkg-dev)
# Password hashes (yescrypt) of the users file.
paquets+=(libcrypt-dev)
# Manual pages made from the programs' --help, and Debian's package checks.
paquets+=(help2man lintian)
# End-to-end tests (sped-up clock) and fuzzing.
paquets+=(libfaketime clang libclang-rt-14-dev)
manquants=()
for p in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
if [ ${#manquants[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${manquants[@]}"
fi
