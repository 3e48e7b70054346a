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

# --- What Debian asks: manual pages, doc files, completion ----------------------------
for page in $nom veilleur-journal; do
    f=$usr/share/man/man1/$page.1.gz
    gzip -t "$f" 2>/dev/null || echec "no gzipped manual page for $page"
    sections=$(zcat "$f" | sed -n 's/^\.SH "\?\([^"]*\)"\?$/\1/p' | tr '\n' ,)
    case $sections in NAME,SYNOPSIS,DESCRIPTION,OPTIONS,*) ;; *) echec "manual page of $page: sections $sections" ;; esac
    zcat "$f" | grep -qF "$page \\- " || echec "manual page of $page has no one-line summary"
done
zcat "$usr/share/man/man1/veilleur-journal.1.gz" | grep -q '^\.SH FIELDS' || echec "the journal tool's page lacks its fields"
for champ in index code evenement date jours origine attribut1 infos valeur1 valeur2 valeur3 source; do
    zcat "$usr/share/man/man1/veilleur-journal.1.gz" | grep -q "^\.B.* $champ\b" || echec "the field $champ is not documented"
done
head -1 "$usr/share/doc/$nom/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || echec "copyright not in the machine-readable format"
version=$("$usr/bin/veilleur-journal" --version | sed 's/.* //')
zcat "$usr/share/doc/$nom/changelog.Debian.gz" | head -1 | grep -q "^$nom ($version-[0-9]*) " \
    || echec "changelog.Debian.gz is not that of version $version"
# completer <words...>: what bash offers for the last word.
completer() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _veilleur_journal; echo "${COMPREPLY[*]}"' \
        _ "$usr/share/bash-completion/completions/veilleur-journal" veilleur-journal "$@"
}
[ "$(completer ex)" = export ] || echec "no completion of the command"
[ "$(completer tendance --)" = "--help --fenetre --origine" ] || echec "completion of tendance: $(completer tendance --)"
[ "$(completer export --format '')" = "csv json" ] || echec "no completion of --format"

# --- Options: answered without a display, nothing started or made ---------------------
sans_affichage=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$tmp/home")
"${sans_affichage[@]}" "$usr/bin/$nom" --help | grep -q "^Usage: $nom " || echec "launcher: no --help"
[ "$("${sans_affichage[@]}" "$usr/bin/$nom" --version)" = "$nom (Orvane.PC) $version" ] || echec "launcher: wrong --version"
if (cd "$tmp" && "${sans_affichage[@]}" "$usr/bin/$nom" --bogus 2>/dev/null); then echec "launcher took --bogus"; fi
[ ! -e "$tmp/home" ] && [ ! -e "$tmp/--bogus" ] || echec "the launcher made a folder for an unknown option"

# --- No graphical session: one clear sentence, not a toolkit error --------------------
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
# A second start on the folder: one sentence, a box for the operator, then it ends.
(cd / && exec env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_DATA_HOME HOME="$tmp/home" "$usr/bin/$nom") \
    >/dev/null 2>"$tmp/seconde.log" &
seconde=$!
attendre 30 xdotool search --onlyvisible --pid "$seconde" >/dev/null 2>&1 || echec "no message box from a second station"
grep -qx "Veilleur: a station already runs in $dossier (process $station); only one station may use a folder." \
    "$tmp/seconde.log" || { cat "$tmp/seconde.log" >&2; echec "no sentence from a second station"; }
# No window manager: the keyboard goes to the window under the pointer.
boite=$(xdotool search --onlyvisible --pid "$seconde" | tail -1)
xdotool mousemove --window "$boite" 20 20 sleep 0.5 key Return
attendre 20 eval '! kill -0 "$seconde" 2>/dev/null || [ "$(cut -d" " -f3 "/proc/$seconde/stat")" = Z ]' \
    || echec "the second station's box did not close on Return"
code=0; wait "$seconde" || code=$?
[ "$code" -eq 1 ] || echec "a second station ended with status $code"
kill -0 "$station" || echec "the first station stopped"
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
