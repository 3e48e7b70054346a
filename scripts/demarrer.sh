#!/usr/bin/env bash
# Installs what is missing, builds the station and starts it in the current folder
# (where it keeps "Config.set" and "Log.dat").
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "The station needs a graphical session (DISPLAY or WAYLAND_DISPLAY); without one, try it under Xvfb: xvfb-run -a -s '-screen 0 1024x768x24' $0" >&2
  exit 1
fi
"$racine/scripts/installer.sh"
cmake -S "$racine" -B "$racine/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$racine/build" --target Veilleur -j"$(nproc)"
exec "$racine/build/Veilleur"
