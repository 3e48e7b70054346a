#!/usr/bin/env bash
# Installs what is missing, builds the station and its tests, runs the whole suite.
# Usage: scripts/tester.sh [build folder] [extra cmake arguments...]
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
dossier="${1:-$racine/build}"
shift || true
"$racine/scripts/installer.sh"
cmake -S "$racine" -B "$dossier" "$@" >/dev/null
cmake --build "$dossier" -j"$(nproc)"
cd "$dossier"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure
