#!/usr/bin/env bash
# Installs what is missing, builds the station and starts it in the current folder
# (where it keeps "Config.set" and "Log.dat").
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
"$racine/scripts/installer.sh"
cmake -S "$racine" -B "$racine/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$racine/build" --target Veilleur -j"$(nproc)"
exec "$racine/build/Veilleur"
