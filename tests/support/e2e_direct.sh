# Shell functions of the end-to-end tests of the station in live mode: the
# station under a private X server, the device simulator on a pseudo-terminal
# fed through a FIFO, screen grabs, pixels and the journal read by the journal
# tool. Sourced, not run, after setting veilleur, simulateur, journal, travail
# and NOM (the scenario's name, for the failure message).
# Coordinates are the client area's (0..1023, 0..767).

LARGEUR=1280; HAUTEUR=1024
OX=$(( (LARGEUR - 1024) / 2 )); OY=$(( (HAUTEUR - 768) / 2 ))

captures="$travail/captures"
dossier="$travail/station"
rm -rf "$captures" "$dossier"; mkdir -p "$captures" "$dossier"
pid_xvfb=""; pid_station=""; pid_sim=""; n_capture=0; entree_ouverte=
entree_sim="$travail/simulateur.fifo"

arreter_simulateur() {
  if [ -n "$pid_sim" ]; then
    kill "$pid_sim" 2>/dev/null; wait "$pid_sim" 2>/dev/null
  fi
  pid_sim=""
  if [ -n "$entree_ouverte" ]; then exec 7>&-; entree_ouverte=""; fi
}
nettoyer() {
  arreter_simulateur
  [ -n "$pid_station" ] && kill "$pid_station" 2>/dev/null && wait "$pid_station" 2>/dev/null
  [ -n "$pid_xvfb" ] && kill "$pid_xvfb" 2>/dev/null && wait "$pid_xvfb" 2>/dev/null
}
trap nettoyer EXIT

echec() {
  echo "FAILED ($NOM): $*" >&2
  capture echec
  echo "Screen grabs of this run:" >&2
  for f in "$captures"/[0-9]*.png; do echo "  $f"; done >&2
  [ -s "$dossier/sortie.txt" ] && { echo "Station output:" >&2; tail -n 20 "$dossier/sortie.txt" >&2; }
  [ -s "$travail/simulateur.txt" ] && { echo "Simulator output:" >&2; tail -n 20 "$travail/simulateur.txt" >&2; }
  [ -s "$dossier/Log.dat" ] && { echo "Journal:" >&2; "$journal" export "$dossier/Log.dat" 2>&1 | tail -n 15 >&2; }
  exit 1
}

for outil in Xvfb xdotool import convert compare; do
  command -v "$outil" >/dev/null || echec "$outil is missing (scripts/installer.sh installs it)"
done
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

capture() {
  n_capture=$((n_capture + 1))
  grab="$captures/$(printf %03d "$n_capture")-$1.png"
  import -window root "$grab" 2>/dev/null
}
ecran() { import -window root "$captures/courant.png" 2>/dev/null; }
# pixel x y [grab]: "r,g,b" of a client point, from a new grab unless one is given.
pixel() {
  local image="${3:-}"
  [ -n "$image" ] || { ecran || return 1; image="$captures/courant.png"; }
  local x=$((OX + $1)) y=$((OY + $2))
  convert "$image" -format "%[fx:int(255*p{$x,$y}.r+.5)],%[fx:int(255*p{$x,$y}.g+.5)],%[fx:int(255*p{$x,$y}.b+.5)]" info:
}
couleur_en() { [ "$(pixel "$1" "$2")" = "$3" ]; }
cliquer() {
  xdotool mousemove --sync $((OX + $1)) $((OY + $2)) click 1
  sleep 0.3
}

# Strip buttons: KMT n in the upper row, QFL n (33..63) under KMT n - 32; a
# point of the face above the caption.
face_x() { local n=$1; [ "$n" -gt 32 ] && n=$((n - 32)); echo $((305 + 23 * (n - 1) + 8)); }
face_y() { if [ "$1" -gt 32 ]; then echo 74; else echo 44; fi; }
couleur_bouton() { pixel "$(face_x "$1")" "$(face_y "$1")"; }
bouton_est() { [ "$(couleur_bouton "$1")" = "$2" ]; }
JAUNE="240,240,0"; ROUGE="255,0,0"; GRIS="128,128,128"; FACE="240,240,240"; VERT="0,160,0"

# demarrer_simulateur <options...>: the simulator on a pseudo-terminal linked
# at $dossier/ligne, its console on the FIFO behind sim().
demarrer_simulateur() {
  rm -f "$entree_sim"; mkfifo "$entree_sim"
  "$simulateur" --pty "$dossier/ligne" --demarrage-ms 0 --derive 0 "$@" \
      <"$entree_sim" >"$travail/simulateur.txt" 2>&1 &
  pid_sim=$!
  exec 7>"$entree_sim"; entree_ouverte=1
  attendre 10 test -L "$dossier/ligne" || echec "the simulator made no pseudo-terminal"
}
sim() { echo "$*" >&7; }

# demarrer_station <device list>: the station in its folder, with only the
# network file naming the simulator's link; waits for its window.
demarrer_station() {
  cat >"$dossier/Reseau.ini" <<INI
[Liaison]
Peripherique=$dossier/ligne
DelaiReponse=$DELAI_MS
[Appareils]
Liste=$1
INI
  ( cd "$dossier" && exec env QT_QPA_PLATFORM=xcb "$veilleur" >sortie.txt 2>&1 ) &
  pid_station=$!
  attendre 60 couleur_en 268 37 "0,40,85" || echec "the station's window did not show"
}

# The quit button ends the station, with status 0, within a few seconds.
quitter_station() {
  cliquer 1006 16
  local limite=$(( $(date +%s) + 3 ))
  while kill -0 "$pid_station" 2>/dev/null && [ "$(date +%s)" -lt "$limite" ]; do sleep 0.05; done
  kill -0 "$pid_station" 2>/dev/null && echec "the quit button did not end the station"
  wait "$pid_station"; local statut=$?; pid_station=""
  [ "$statut" -eq 0 ] || echec "the station ended with status $statut"
}

# The journal, read by the journal tool: entries of a code for a device.
exporter() {  # code origin: the entries, one JSON line each
  "$journal" export --format json --code "$1" --origine "$2" "$dossier/Log.dat" 2>/dev/null
}
compter() { exporter "$1" "$2" | grep -c . || true; }
au_moins() { [ "$(compter "$1" "$2")" -ge "$3" ]; }   # code origin count
exactement() { [ "$(compter "$1" "$2")" -eq "$3" ]; }
