#!/usr/bin/env bash
# The real station under an X server of its own (Xvfb), driven by pointer
# clicks (xdotool) and checked on screen grabs (ImageMagick) and on its files.
# Usage: station.sh <scenario> <Veilleur binary> <e2e_journal_attendu binary> <work folder> [veilleur-journal]
# Scenarios: demarrage, demonstration, erreur_journal, sessions (which reads the
# journal with veilleur-journal). Screen grabs of a failing run stay in
# <work folder>/captures and their paths are printed.
set -uo pipefail
scenario="$1"; veilleur="$2"; attendu="$3"; travail="$4"; outil_journal="${5:-}"

# Clock speed of the demonstration runs: step 265 (device 26's first alarm,
# 530 s of station time) comes after about 18 s.
VITESSE=30
LARGEUR=1280; HAUTEUR=1024
OX=$(( (LARGEUR - 1024) / 2 )); OY=$(( (HAUTEUR - 768) / 2 ))   # the client area, centred

captures="$travail/captures"
dossier="$travail/station"
rm -rf "$captures" "$dossier"; mkdir -p "$captures" "$dossier"
pid_xvfb=""; pid_station=""; n_capture=0

nettoyer() {
  [ -n "$pid_station" ] && kill "$pid_station" 2>/dev/null && wait "$pid_station" 2>/dev/null
  [ -n "$pid_xvfb" ] && kill "$pid_xvfb" 2>/dev/null && wait "$pid_xvfb" 2>/dev/null
}
trap nettoyer EXIT

echec() {
  echo "FAILED ($scenario): $*" >&2
  capture echec
  echo "Screen grabs of this run:" >&2
  for f in "$captures"/[0-9]*.png; do echo "  $f"; done >&2
  [ -s "$dossier/sortie.txt" ] && { echo "Station output:" >&2; tail -n 20 "$dossier/sortie.txt" >&2; }
  exit 1
}

for outil in Xvfb xdotool xwininfo import convert compare; do
  command -v "$outil" >/dev/null || echec "$outil is missing (scripts/installer.sh installs it)"
done

source "$(dirname "$0")/../support/xvfb.sh"

demarrer_x() {
  demarrer_xvfb "${LARGEUR}x${HAUTEUR}" "$travail/display" || echec "Xvfb did not start"
}

# Starts the station in its fresh folder; $1, when given, speeds its clock up
# (libfaketime preloaded into the station itself, so that its pid is the station's).
demarrer_station() {
  local env_horloge=()
  if [ -n "${1:-}" ]; then
    local lib
    lib="$(find /usr/lib /usr/local/lib -name libfaketimeMT.so.1 2>/dev/null | head -n1)"
    [ -n "$lib" ] || echec "libfaketimeMT.so.1 not found"
    # An ASan build accepts a library preloaded before its runtime only so.
    env_horloge=(LD_PRELOAD="$lib" FAKETIME="+0 x$1" FAKETIME_NO_CACHE=1
                 ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0")
  fi
  ( cd "$dossier" && exec env QT_QPA_PLATFORM=xcb "${env_horloge[@]}" "$veilleur" >sortie.txt 2>&1 ) &
  pid_station=$!
  # Up once the client area's dark blue panels are painted.
  attendre 60 couleur_en $((OX + 268)) $((OY + 37)) "0,40,85" || echec "the station's window did not show"
}

capture() {
  n_capture=$((n_capture + 1))
  grab="$captures/$(printf %03d "$n_capture")-$1.png"
  import -window root "$grab" 2>/dev/null
}

# "r,g,b" of one pixel of a fresh grab (or of the grab given as $3).
pixel() {
  local image="${3:-}"
  [ -n "$image" ] || { image="$captures/courant.png"; import -window root "$image" 2>/dev/null || return 1; }
  convert "$image" -format "%[fx:int(255*p{$1,$2}.r+.5)],%[fx:int(255*p{$1,$2}.g+.5)],%[fx:int(255*p{$1,$2}.b+.5)]" info:
}
couleur_en() { [ "$(pixel "$1" "$2")" = "$3" ]; }

# Share (0..100) of the pixels of a region (x y w h) of a grab within 3 % of a colour.
part_couleur() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -fuzz 3% -fill white -opaque "rgb($6)" \
    -fill black +opaque white -format "%[fx:int(100*mean)]" info:
}

# Number of differing pixels between the same region (x y w h) of two grabs.
difference() {
  convert "$1" -crop "${5}x${6}+${3}+${4}" +repage "$captures/region-a.png"
  convert "$2" -crop "${5}x${6}+${3}+${4}" +repage "$captures/region-b.png"
  compare -metric AE "$captures/region-a.png" "$captures/region-b.png" null: 2>&1 | cut -d' ' -f1
}

# Clicks at client-area coordinates.
cliquer() {
  xdotool mousemove --sync $((OX + $1)) $((OY + $2)) click 1
  sleep 0.3
}

attendre_fin() {   # $1: seconds; sets "statut"
  local limite=$(( $(date +%s%N) + $1 * 1000000000 ))
  while kill -0 "$pid_station" 2>/dev/null; do
    [ "$(date +%s%N)" -lt "$limite" ] || return 1
    sleep 0.05
  done
  wait "$pid_station"; statut=$?; pid_station=""
}

# Quits by the button; with "confirmer", the station asks first (a device is
# in alarm) and the answer is "close" (the button before the default one).
quitter() {
  cliquer 1006 16
  if [ "${1:-}" = confirmer ]; then
    question() { [ "$(xdotool search --onlyvisible --name "Orvane" 2>/dev/null | wc -l)" -ge 2 ]; }
    attendre 5 question || echec "no question before closing while a device is in alarm"
    kill -0 "$pid_station" 2>/dev/null || echec "the station closed without asking"
    xdotool key shift+Tab; sleep 0.3; xdotool key Return
  fi
  attendre_fin 2 || echec "the quit button did not end the station within 2 s"
  [ "$statut" -eq 0 ] || echec "the station ended with status $statut"
}

# Places in the client area.
MENU=(0 109 264 642)              # PanelBoutons
HOTE=(268 113 752 634)            # PanelFrame, the visible screen
HOTE_BAS=(268 263 752 484)        # its lower part, below any edit field that may hold the focus
region() { local -n r=$1; echo "$((OX + r[0])) $((OY + r[1])) ${r[2]} ${r[3]}"; }
BOUTON_ACCUEIL=(132 205); BOUTON_SESSION=(132 291); BOUTON_VUE=(132 377)
BOUTON_EN=(50 716); BOUTON_FR=(213 716)
BANDE_26=(880 43 18 6)            # face of strip button 26, above its caption
DISQUE_PREALARME_26=(741 619 7 7) # overview, row 26
DISQUE_ALARME_26=(810 619 7 7)
ACCES_26=(438 616 12 12)          # overview, row 26's "..." button, left of its caption
JAUNE="240,240,0"; ROUGE="255,0,0"

# Colour name of a region of a grab: jaune, rouge or autre.
etat() {
  local image="$1"; shift
  if [ "$(part_couleur "$image" $((OX + $1)) $((OY + $2)) "$3" "$4" "$JAUNE")" -ge 80 ]; then echo jaune
  elif [ "$(part_couleur "$image" $((OX + $1)) $((OY + $2)) "$3" "$4" "$ROUGE")" -ge 80 ]; then echo rouge
  else echo autre; fi
}

demarrer_x

case "$scenario" in
demarrage)
  demarrer_station
  sleep 1
  capture demarrage || echec "no screen grab"; debut="$grab"
  # The client area is 1024 x 768, centred on the dark screen.
  milieu_y=$((OY + 400)); milieu_x=$((OX + 500))
  [ "$(pixel $((OX - 1)) $milieu_y "$debut")" = "16,16,16" ] || echec "left of the client area is not the dark screen"
  [ "$(pixel $((OX + 1024)) $milieu_y "$debut")" = "16,16,16" ] || echec "right of the client area is not the dark screen"
  [ "$(pixel $milieu_x $((OY - 1)) "$debut")" = "16,16,16" ] || echec "above the client area is not the dark screen"
  [ "$(pixel $milieu_x $((OY + 768)) "$debut")" = "16,16,16" ] || echec "below the client area is not the dark screen"
  for coin in "$OX $milieu_y" "$((OX + 1023)) $milieu_y" "$milieu_x $OY" "$milieu_x $((OY + 767))"; do
    [ "$(pixel $coin "$debut")" != "16,16,16" ] || echec "the client area does not reach $coin"
  done
  # The dark blue fill of the banner, the strip and the menu.
  for place in "272 12" "268 37" "5 172"; do
    set -- $place
    [ "$(pixel $((OX + $1)) $((OY + $2)) "$debut")" = "0,40,85" ] || echec "no dark blue fill at client $place"
  done
  [ ! -e "$dossier/Config.set" ] || echec "Config.set written at start-up"

  # The home screen: showing it again from the session screen gives the same picture.
  cliquer "${BOUTON_SESSION[@]}"
  capture session; session="$grab"
  cliquer "${BOUTON_ACCUEIL[@]}"
  capture accueil; accueil="$grab"
  [ "$(difference "$debut" "$session" $(region HOTE_BAS))" -gt 1000 ] || echec "the session screen looks like the first screen"
  [ "$(difference "$debut" "$accueil" $(region HOTE_BAS))" -eq 0 ] || echec "the first screen is not the home screen"

  # English: the configuration is saved with language 1 and the menu relabelled.
  cliquer "${BOUTON_EN[@]}"
  attendre 5 test -e "$dossier/Config.set" || echec "\"English\" wrote no Config.set"
  capture anglais; anglais="$grab"
  taille=$(stat -c %s "$dossier/Config.set")
  [ "$taille" -eq 3140 ] || echec "Config.set holds $taille bytes, not 3140"
  octet=$(od -An -tu1 -j8 -N1 "$dossier/Config.set" | tr -d ' ')
  [ "$octet" = 1 ] || echec "byte 8 of Config.set is $octet, not 1 (English)"
  [ "$(difference "$debut" "$anglais" $(region MENU))" -gt 500 ] || echec "the menu was not relabelled in English"
  # Back to French: the menu of the start again, and language 0 stored.
  cliquer "${BOUTON_FR[@]}"
  capture francais; francais="$grab"
  [ "$(od -An -tu1 -j8 -N1 "$dossier/Config.set" | tr -d ' ')" = 0 ] || echec "\"Français\" did not store language 0"
  [ "$(difference "$debut" "$francais" $(region MENU))" -eq 0 ] || echec "the station did not start in French"

  quitter
  ;;

demonstration)
  demarrer_station "$VITESSE"
  cliquer "${BOUTON_VUE[@]}"
  # Strip button 26, and row 26 of the overview left open: each must turn
  # yellow, then red.
  declare -A vu=()
  suivre() {
    capture demonstration || return 1
    local image="$grab"
    local nom place e
    for nom in BANDE_26 DISQUE_PREALARME_26 DISQUE_ALARME_26 ACCES_26; do
      local -n place=$nom
      e="$(etat "$image" "${place[@]}")"
      [ "$e" = autre ] || vu[$nom-$e]=1
      # Red before yellow is a fault of its own: the pre-alarm was never shown.
      [ "$e" = rouge ] && [ -z "${vu[$nom-jaune]:-}" ] && [ "$nom" != DISQUE_ALARME_26 ] && vu[$nom-saut]=1
    done
    [ "$(ls "$captures" | wc -l)" -gt 12 ] && rm -f "$(ls -1 "$captures"/*demonstration.png | head -n1)"
    [ -n "${vu[BANDE_26-rouge]:-}" ] && [ -n "${vu[DISQUE_ALARME_26-rouge]:-}" ] && [ -n "${vu[ACCES_26-rouge]:-}" ]
  }
  attendre 120 suivre
  for attente in BANDE_26-jaune BANDE_26-rouge DISQUE_PREALARME_26-jaune DISQUE_ALARME_26-rouge ACCES_26-jaune ACCES_26-rouge; do
    [ -n "${vu[$attente]:-}" ] || echec "never seen: $attente (seen: ${!vu[*]})"
  done
  for nom in BANDE_26 DISQUE_PREALARME_26 ACCES_26; do
    [ -z "${vu[$nom-saut]:-}" ] || echec "$nom turned red without being yellow first"
  done
  quitter confirmer
  "$attendu" "$dossier/Log.dat" 265 || echec "Log.dat differs from what the generator produces"
  ;;

erreur_journal)
  # Log.dat cannot be written: the error box must not stop the monitoring.
  mkdir "$dossier/Log.dat"
  demarrer_station "$VITESSE"
  cliquer "${BANDE_26[0]}" "${BANDE_26[1]}"   # strip button 26: its KMT screen
  fenetres() { xdotool search --onlyvisible --name "Orvane" 2>/dev/null | wc -l; }
  boite_ouverte() { [ "$(fenetres)" -ge 2 ]; }
  attendre 90 boite_ouverte || echec "no error box appeared"
  sleep 1
  capture boite; avant="$grab"
  sleep 4   # about 60 s, 30 ticks, of station time
  capture boite-plus-tard; apres="$grab"
  boite_ouverte || echec "the error box closed by itself"
  # The KMT screen around the box: the measurements and the plot.
  boite=$(xdotool search --onlyvisible --name "Orvane" | while read -r w; do
            xwininfo -id "$w" | awk '/Width:/{l=$2} /Height:/{h=$2} END{print l*h, '"$w"'}'; done | sort -n | head -n1 | cut -d' ' -f2)
  eval "$(xdotool getwindowgeometry --shell "$boite")"
  masque=(-fill black -draw "rectangle $X,$Y $((X + WIDTH)),$((Y + HEIGHT))")
  convert "$avant" "${masque[@]}" "$captures/avant-masque.png"
  convert "$apres" "${masque[@]}" "$captures/apres-masque.png"
  [ "$(difference "$captures/avant-masque.png" "$captures/apres-masque.png" $(region HOTE))" -gt 0 ] \
    || echec "the KMT screen did not change behind the error box"
  ;;

sessions)
  # From an empty folder: the first administrator and an operator added
  # through the session screen, the operator's session, the configuration
  # read-only, then a restart in CONSULTATION and the journal naming them.
  P=(284 161)                                   # Panel1 of the session screen, in the client area
  place() { echo $((P[0] + $1)) $((P[1] + $2)); }
  EDIT_NOM=($(place 172 468)); EDIT_PRENOM=($(place 408 468)); COMBO_MODE=($(place 592 468))
  EDIT_NV=($(place 404 76)); EDIT_NV_BIS=($(place 404 108))
  AJOUTER=($(place 576 524)); LISTE_BAS=($(place 356 360))
  EDIT_MDP=($(place 404 388)); DEBUT=($(place 604 388)); FIN=($(place 604 44))
  BOUTON_CONFIG=(132 637); VALIDER_CONFIG=(640 698)
  MODE_ACCUEIL=(636 186 241 24)                 # the home screen's mode field
  saisir() { cliquer "$1" "$2"; xdotool key --clearmodifiers ctrl+a BackSpace; xdotool type --delay 20 "$3"; sleep 0.2; }
  # The mode list, reached from the first-name field with Tab and left closed:
  # $1 steps down from its first item (ADMINISTRATION).
  choisir_mode() { xdotool key Tab; sleep 0.2; xdotool key Home; for ((i = 0; i < $1; i++)); do xdotool key Down; done; sleep 0.2; }
  ajouter() {   # nom prenom pas-du-mode mot-de-passe
    saisir "${EDIT_NOM[@]}" "$1"; saisir "${EDIT_PRENOM[@]}" "$2"; choisir_mode "$3"
    saisir "${EDIT_NV[@]}" "$4"; saisir "${EDIT_NV_BIS[@]}" "$4"
    cliquer "${AJOUTER[@]}"; sleep 0.5
  }
  entrer() {    # nom mot-de-passe
    cliquer "${LISTE_BAS[@]}"; xdotool type --delay 30 "$1"; sleep 0.2
    saisir "${EDIT_MDP[@]}" "$2"; cliquer "${DEBUT[@]}"; sleep 0.5
  }

  demarrer_station
  sleep 1
  capture accueil-ouvert; accueil_ouvert="$grab"
  cliquer "${BOUTON_SESSION[@]}"
  capture session-station-ouverte
  ajouter DURAND Helene 0 admin-123
  attendre 10 test -s "$dossier/Utilisateurs.ini" || echec "\"Ajouter\" wrote no Utilisateurs.ini"
  [ "$(stat -c %a "$dossier/Utilisateurs.ini")" = 600 ] || echec "Utilisateurs.ini is not mode 0600"
  ajouter MARTIN Paul 1 exploit-456
  attendre 10 grep -q '^Nom=MARTIN' "$dossier/Utilisateurs.ini" || echec "the operator is not in Utilisateurs.ini"
  ! grep -q -e admin-123 -e exploit-456 "$dossier/Utilisateurs.ini" || echec "a password in clear in Utilisateurs.ini"
  capture session-administration
  cliquer "${FIN[@]}"
  capture session-consultation
  entrer MARTIN exploit-456
  capture session-exploitation; exploitation="$grab"

  # The configuration cannot be changed in EXPLOITATION: its save does nothing.
  cliquer "${BOUTON_CONFIG[@]}"
  sleep 2
  capture configuration-lecture-seule
  cliquer "${VALIDER_CONFIG[@]}"
  sleep 0.5
  [ ! -e "$dossier/Config.set" ] || echec "\"Enregistrer configuration\" saved in EXPLOITATION"
  cliquer "${BOUTON_SESSION[@]}"
  cliquer "${FIN[@]}"
  capture session-fin
  quitter

  # Restarted: users exist, so nobody is logged in and the mode is CONSULTATION.
  demarrer_station
  sleep 1
  capture accueil-consultation; accueil_consultation="$grab"
  [ "$(difference "$accueil_ouvert" "$accueil_consultation" $((OX + MODE_ACCUEIL[0])) $((OY + MODE_ACCUEIL[1])) "${MODE_ACCUEIL[2]}" "${MODE_ACCUEIL[3]}")" -gt 50 ] \
    || echec "the restarted station does not show another mode than ADMINISTRATION"
  quitter

  [ -x "$outil_journal" ] || echec "veilleur-journal not given"
  ( cd "$dossier" && "$outil_journal" export Log.dat ) >"$dossier/journal.csv" 2>"$dossier/journal.err" \
    || echec "veilleur-journal export failed: $(cat "$dossier/journal.err")"
  # Columns: index, code, name, date, days, device, attribute 1, attribute 2, infos, ...
  entree() { awk -F, -v c="$1" -v a1="$2" -v a2="$3" -v nom="$4" \
               'NR > 1 && $2 == c && $7 == a1 && $8 == a2 && $9 == nom { n++ } END { exit n ? 0 : 1 }' "$dossier/journal.csv"; }
  for attendue in "4 0 1 Helene DURAND" "5 0 0 Helene DURAND" "4 0 1 Paul MARTIN" "5 0 0 Paul MARTIN"; do
    set -- $attendue
    entree "$1" "$2" "$3" "$4 $5" || { cat "$dossier/journal.csv" >&2; echec "no journal entry: $attendue"; }
  done
  if [ -n "${VEILLEUR_CAPTURES_SESSIONS:-}" ]; then
    mkdir -p "$VEILLEUR_CAPTURES_SESSIONS" && cp "$captures"/[0-9]*.png "$VEILLEUR_CAPTURES_SESSIONS"/
  fi
  ;;

*) echec "unknown scenario" ;;
esac

[ -n "${VEILLEUR_E2E_GARDER:-}" ] || rm -rf "$captures"   # VEILLEUR_E2E_GARDER=1 keeps the grabs
echo "e2e $scenario: passed"
