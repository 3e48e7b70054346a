#!/usr/bin/env bash
# The installed station: a staged install holds valid desktop files and icons; the
# launcher, with a fresh HOME, makes the data folder and runs the station there; a
# station killed and started again comes back with its configuration and journal.
# Usage: installation.sh <build folder> <launcher name> <desktop id>
set -euo pipefail
build=$1 nom=$2 id=$3
racine=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
source "$racine/tests/support/xvfb.sh"
pid_xvfb='' station=''
nettoyer() {
    [ -n "$station" ] && kill -KILL "$station" 2>/dev/null
    [ -n "$pid_xvfb" ] && kill "$pid_xvfb" 2>/dev/null && wait "$pid_xvfb" 2>/dev/null
    rm -rf "$tmp"
}
trap nettoyer EXIT
echec() { echo "FAIL: $*" >&2; [ -f "$tmp/station.log" ] && cat "$tmp/station.log" >&2; exit 1; }

# --- Staged install -------------------------------------------------------------------
scene=$tmp/scene
DESTDIR=$scene cmake --install "$build" --prefix /usr >/dev/null
usr=$scene/usr
[ -x "$usr/bin/$nom" ] || echec "no launcher"
# Menu, log-in entry and service all run the launcher found on the path, whatever the prefix.
for f in share/applications/$id.desktop share/$nom/autostart/$id.desktop lib/systemd/user/$nom.service; do
    grep -qx "Exec\(Start\)\?=$nom" "$usr/$f" || echec "$f does not run the launcher"
done
desktop-file-validate "$usr/share/applications/$id.desktop" "$usr/share/$nom/autostart/$id.desktop" \
    || echec "desktop entries invalid"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >"$tmp/appstream.log" 2>&1 \
    || { cat "$tmp/appstream.log" >&2; echec "metainfo invalid"; }
for t in 16 22 24 32 48 64 128 256; do
    icone=$usr/share/icons/hicolor/${t}x$t/apps/$id.png
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$icone" 2>/dev/null | xargs)" = "$t $t" ] \
        || echec "icon $t x $t missing or of the wrong size"
done

# --- No graphical session: one clear sentence, not a toolkit error --------------------
sans_affichage=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$tmp/home")
for commande in "$usr/bin/$nom" "$racine/scripts/demarrer.sh"; do
    if "${sans_affichage[@]}" "$commande" >"$tmp/sortie" 2>&1; then echec "$commande started without a display"; fi
    [ "$(wc -l <"$tmp/sortie")" -eq 1 ] && grep -q "graphical session" "$tmp/sortie" && grep -q "xvfb-run" "$tmp/sortie" \
        || { cat "$tmp/sortie" >&2; echec "$commande: no one-line hint without a display"; }
done
[ ! -e "$tmp/home" ] || echec "the launcher made its folder without a display"

# --- The launcher under a private X server --------------------------------------------
demarrer_xvfb 1024x768 "$tmp/affichage" || echec "Xvfb did not start"
dossier=$tmp/home/.local/share/$nom

# lancer [folder]: starts the station through the launcher, from an unrelated folder,
# and waits for its window.
lancer() {
    (cd / && exec env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_DATA_HOME HOME="$tmp/home" \
        "$usr/bin/$nom" "$@") >"$tmp/station.log" 2>&1 &
    station=$!
    attendre 90 xdotool search --onlyvisible --pid "$station" >/dev/null 2>&1 || echec "no station window"
    sleep 1.5   # let it paint
    [ "$(readlink "/proc/$station/cwd")" = "$dossier" ] || echec "the station does not run in $dossier"
}
# The three language buttons, left to right; the selected one is drawn pressed.
langues() { xdotool mousemove 130 60; sleep 0.5; import -window root -crop 240x31+12+701 "$1"; }
# Gone, or a zombie waiting for us to collect it.
fini() { [ ! -e "/proc/$station" ] || [ "$(cut -d' ' -f3 "/proc/$station/stat")" = Z ]; }
arreter() {
    kill "-$1" "$station"
    attendre 20 fini || echec "station did not stop"
    wait "$station" 2>/dev/null || true
    station=''
}
anglais() { [ "$(od -An -tu1 -j8 -N1 "$dossier/Config.set" 2>/dev/null | tr -d ' ')" = 1 ]; }

lancer
[ -d "$dossier" ] || echec "data folder not made"
langues "$tmp/francais.rgb"
xdotool mousemove 50 716 click 1   # "English"
attendre 20 anglais || echec "Config.set not written in the data folder on a language click"
[ "$(stat -c %s "$dossier/Config.set")" -eq 3140 ] || echec "Config.set of the wrong size"
langues "$tmp/anglais.rgb"
cmp -s "$tmp/francais.rgb" "$tmp/anglais.rgb" && echec "the language buttons did not change"

# A crash, then a start from the launcher given the folder: same settings, same journal.
arreter KILL
[ -s "$dossier/Log.dat" ] || head -c 192 /dev/zero >"$dossier/Log.dat"
cp "$dossier/Config.set" "$tmp/Config.set" && cp "$dossier/Log.dat" "$tmp/Log.dat"
lancer "$dossier"
langues "$tmp/relance.rgb"
cmp -s "$tmp/anglais.rgb" "$tmp/relance.rgb" || echec "the station came back in another language"
cmp -s "$tmp/Config.set" "$dossier/Config.set" || echec "Config.set changed by the restart"
cmp -s -n "$(stat -c %s "$tmp/Log.dat")" "$tmp/Log.dat" "$dossier/Log.dat" || echec "Log.dat lost entries"
arreter TERM
echo "installation: all checks passed"
