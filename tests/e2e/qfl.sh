#!/usr/bin/env bash
# The real station in live mode, under an X server of its own, against the
# device simulator on a pseudo-terminal, with a KMT and two QFL8 fault
# locators: the QFL screen shows the device's settings and a new threshold is
# asked, confirmed and shown while a value out of range is refused unasked;
# fault searches started from the search screen are journalled, disable the
# controls while they run and paint the faulty feeder of the QFL8 or the
# faulty cell of a QFL16 unit in the alarm colour, and nothing else; the
# history and the connected units follow; killing the simulator greys the
# locator's strip button as the KMT's.
# Usage: qfl.sh <Veilleur> <veilleur-simulateur> <veilleur-journal> <work folder>
# Every step's screen grab stays in <work folder>/captures.
set -uo pipefail
veilleur="$1"; simulateur="$2"; journal="$3"; travail="$4"

NOM=qfl
KMT=5; QFL=37; AUTRE_QFL=38
DELAI_MS=200
# Long enough to see a search run, short enough for the test.
DUREE_RECHERCHE_MS=3000
APPAREILS_SIM=(--kmt "$KMT" --qfl "$QFL,$AUTRE_QFL" --duree-recherche "$DUREE_RECHERCHE_MS")
source "$(dirname "$0")/../support/e2e_direct.sh"

# zone grab x y w h file: a client rectangle of a grab.
zone() { convert "$1" -crop "$4x$5+$((OX + $2))+$((OY + $3))" +repage "$6"; }
# Pixels that differ between two images of one size.
ecart() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
memes() { [ "$(ecart "$1" "$2")" = 0 ]; }
# Pixels of a client rectangle of the current screen in a colour, or dark ones.
pixels_de() {  # x y w h r,g,b
  ecran || return 1
  convert "$captures/courant.png" -crop "$3x$4+$((OX + $1))+$((OY + $2))" +repage \
      -fill black +opaque "rgb($5)" -fill white -opaque "rgb($5)" -format "%[fx:int(w*h*mean+.5)]" info:
}
sombres() {  # grab x y w h
  convert "$1" -crop "$4x$5+$((OX + $2))+$((OY + $3))" +repage -colorspace gray -threshold 50% -negate \
      -format "%[fx:int(w*h*mean+.5)]" info:
}
a_du_rouge() { [ "$(pixels_de "$@" 255,0,0)" -gt 0 ]; }
sans_rouge() { [ "$(pixels_de "$@" 255,0,0)" -eq 0 ]; }


# --- The QFL screen (tabs, settings row 0, messages, its buttons).
ONGLET_HISTORIQUE=(404 175); ONGLET_INFOS=(472 175)
NV_ITRANSFO=(722 256); OK_ITRANSFO=(902 256)
TEXTE_ITRANSFO=(474 247 113 18)       # inside the current value's edit
TEXTE_NV_ITRANSFO=(666 247 113 18)    # inside the new value's edit, same size
MESSAGE_QFL=(302 624 673 16)          # under the settings table
ETAT_COM_QFL=(284 642 713 15)         # under the tabs
BOUTON_RECHERCHE=(640 693)
QUITTER_ECRAN=(996 132)
CORPS_HISTORIQUE=(306 226 660 380)    # the history list under its headings
TEXTE_VERSION=(562 236 113 18)
# Cell of QFL16 unit u in the connected units' row.
unite_x() { echo $((352 + 19 * ($1 - 1) + 9)); }
UNITE_Y=382

# --- The search screen.
ONGLET_QFL16=(372 175)
NOUVELLE_RECHERCHE=(856 688)
TEXTE_NOUVELLE_RECHERCHE=(745 675 220 27)
ETAT_RECHERCHE=(284 730 713 16)
# Feeder f (3..10) of the QFL8 tab: a point of its current field and of its
# resistance field, right of their texts.
depart_i() { echo "816 $((330 + 40 * ($1 - 3) + 12))"; }
depart_r() { echo "912 $((330 + 40 * ($1 - 3) + 12))"; }
TRANSFO_I=(480 342)
# Cell of unit u, feeder f of the QFL16 table: a point right of its text.
cellule() { echo "$((300 + 38 * $2 + 34)) $((335 + 15 * $1 + 12))"; }   # u f

valeurs1() { exporter "$1" "$2" | sed -n 's/.*"valeur1":\([-0-9.e+]*\).*/\1/p' | tr '\n' ' '; }

demarrer_xvfb "${LARGEUR}x${HAUTEUR}" "$travail/display" || echec "Xvfb did not start"

# ---------------------------------------------------------------------------
# 1. Online: the station hears the three devices.
demarrer_simulateur "${APPAREILS_SIM[@]}"
demarrer_station "$KMT,$QFL-$AUTRE_QFL"
for n in $KMT $QFL $AUTRE_QFL; do
  attendre 15 exactement 2 $n 1 || echec "device $n not journalled online once (code 2: $(compter 2 $n))"
done
bouton_est $QFL "$FACE" || echec "button $QFL is not on the button face while online ($(couleur_bouton $QFL))"
capture en-ligne

# ---------------------------------------------------------------------------
# 2. The QFL screen, live: the current values come from the device.
cliquer "$(face_x $QFL)" "$(face_y $QFL)"
vide="$captures/edit-vide.png"; actuel="$captures/edit-actuel.png"; nouveau="$captures/edit-nouveau.png"
valeur_affichee() {
  ecran || return 1
  zone "$captures/courant.png" "${TEXTE_ITRANSFO[@]}" "$actuel"
  zone "$captures/courant.png" "${TEXTE_NV_ITRANSFO[@]}" "$vide"
  [ "$(sombres "$captures/courant.png" "${TEXTE_ITRANSFO[@]}")" -gt 0 ] && ! memes "$actuel" "$vide"
}
attendre 10 valeur_affichee || echec "the QFL screen shows no current I transformer threshold"
sans_rouge "${ETAT_COM_QFL[@]}" || echec "the QFL screen says the device is not online"
cp "$actuel" "$captures/edit-avant.png"
capture qfl-reglages-avant

# A new I transformer threshold, typed in mA: asked (31) and confirmed (27)
# in hundredths of a mA, then shown as the value in force.
cliquer "${NV_ITRANSFO[@]}"
xdotool type --delay 50 "12.34"
cliquer "${OK_ITRANSFO[@]}"
attendre 10 au_moins 27 $QFL 1 || echec "no confirmation (code 27) of the new threshold in the journal"
[ "$(valeurs1 31 $QFL)" = "1234 " ] || echec "the request (code 31) carries '$(valeurs1 31 $QFL)', not 1234 once"
[ "$(valeurs1 27 $QFL)" = "1234 " ] || echec "the confirmation (code 27) carries '$(valeurs1 27 $QFL)', not 1234 once"
[ "$(compter 31 $AUTRE_QFL)" -eq 0 ] || echec "the threshold was asked of QFL $AUTRE_QFL too (its box was not ticked)"
# The button took the focus: both edits show their text alone.
affiche_le_nouveau() {
  ecran || return 1
  zone "$captures/courant.png" "${TEXTE_ITRANSFO[@]}" "$actuel"
  zone "$captures/courant.png" "${TEXTE_NV_ITRANSFO[@]}" "$nouveau"
  memes "$actuel" "$nouveau"
}
attendre 5 affiche_le_nouveau \
  || echec "the current value does not show the new threshold ($(ecart "$actuel" "$nouveau") pixels differ)"
memes "$actuel" "$captures/edit-avant.png" && echec "the current value did not change"
cp "$actuel" "$captures/edit-1234.png"
capture qfl-reglages-modifie
cp "$grab" "$travail/qfl-reglages.png"

# Out of range (600 mA > 500 mA): a message on screen, nothing asked.
cliquer "${NV_ITRANSFO[@]}"
xdotool key ctrl+a
xdotool type --delay 50 "600"
cliquer "${OK_ITRANSFO[@]}"
attendre 5 a_du_rouge "${MESSAGE_QFL[@]}" || echec "no message for a threshold out of range"
sleep 1.5
for code in 31 27; do
  [ "$(compter $code $QFL)" -eq 1 ] || echec "a threshold out of range was journalled (code $code: $(compter $code $QFL))"
done
ecran; zone "$captures/courant.png" "${TEXTE_ITRANSFO[@]}" "$actuel"
memes "$actuel" "$captures/edit-1234.png" || echec "the value in force changed after a refused value"
capture qfl-reglages-hors-plage

# ---------------------------------------------------------------------------
# 3. Searches. The first finds a fault on the QFL8's own feeder 5.
sim "fuite $QFL 5 0 1 150"
cliquer "${BOUTON_RECHERCHE[@]}"
# An enabled button has black text, a disabled one grey (hover and focus
# change its face, not that).
texte_noir() {  # x y w h: pixels darker than 30 %
  ecran || return 1
  convert "$captures/courant.png" -crop "$3x$4+$((OX + $1))+$((OY + $2))" +repage -colorspace gray \
      -threshold 30% -negate -format "%[fx:int(w*h*mean+.5)]" info:
}
recherche_possible() { [ "$(texte_noir "${TEXTE_NOUVELLE_RECHERCHE[@]}")" -gt 0 ]; }
recherche_bloquee() { [ "$(texte_noir "${TEXTE_NOUVELLE_RECHERCHE[@]}")" -eq 0 ]; }
attendre 10 recherche_possible || echec "the search screen's button is not enabled"
for f in 3 5 10; do
  [ "$(pixel $(depart_i $f))" != "$ROUGE" ] || echec "feeder $f is red before any search"
done
capture recherche-avant

# depart_rouge f: both fields of the feeder on the alarm colour.
depart_rouge() {
  ecran || return 1
  [ "$(pixel $(depart_i "$1") "$captures/courant.png")" = "$ROUGE" ] \
    && [ "$(pixel $(depart_r "$1") "$captures/courant.png")" = "$ROUGE" ]
}
depart_normal() {
  ecran || return 1
  [ "$(pixel $(depart_i "$1") "$captures/courant.png")" != "$ROUGE" ] \
    && [ "$(pixel $(depart_r "$1") "$captures/courant.png")" != "$ROUGE" ]
}

debut=$(date +%s%N)
cliquer "${NOUVELLE_RECHERCHE[@]}"
attendre 5 exactement 37 $QFL 1 || echec "the search was not journalled (code 37: $(compter 37 $QFL))"
# While it runs: the button is disabled and the screen says so, in red.
recherche_bloquee || echec "the search button is not disabled while the search runs"
a_du_rouge "${ETAT_RECHERCHE[@]}" || echec "the search screen does not say a search runs"
capture recherche-en-cours
attendre $((DUREE_RECHERCHE_MS / 1000 + 10)) depart_rouge 5 || echec "feeder 5 not on the alarm colour after the search"
ms=$(( ($(date +%s%N) - debut) / 1000000 ))
# The results are the device's: they come when its search ends, not before.
[ "$ms" -ge $((DUREE_RECHERCHE_MS - 300)) ] || echec "results after $ms ms, before the search could end"
echo "first search: feeder 5 red $ms ms after the click (the device searches $DUREE_RECHERCHE_MS ms)"
attendre 5 recherche_possible || echec "the search button did not come back after the search"
ecran
for f in 3 4 6 10; do
  [ "$(pixel $(depart_i $f) "$captures/courant.png")" != "$ROUGE" ] || echec "feeder $f red, the fault is on feeder 5"
done
[ "$(pixel "${TRANSFO_I[@]}" "$captures/courant.png")" != "$ROUGE" ] || echec "the transformer red, the fault is on feeder 5"
capture recherche-qfl8-defaut
cp "$grab" "$travail/recherche-qfl8.png"
[ "$(compter 37 $AUTRE_QFL)" -eq 0 ] || echec "a search was asked of QFL $AUTRE_QFL"

# The second finds it on feeder 5 of QFL16 unit 2: the QFL8's feeder 5 goes
# back to its colours, the unit's cell turns red on the QFL16 tab.
sim "fuite $QFL 5 2 1 150"
cliquer "${NOUVELLE_RECHERCHE[@]}"
attendre 5 exactement 37 $QFL 2 || echec "the second search was not journalled (code 37: $(compter 37 $QFL))"
sleep 0.5
depart_rouge 5 || echec "feeder 5 lost its colour before the second search ended"
attendre $((DUREE_RECHERCHE_MS / 1000 + 10)) depart_normal 5 || echec "feeder 5 still red after a search that found the fault elsewhere"
attendre 5 recherche_possible || echec "the search button did not come back after the second search"
capture recherche-qfl8-apres-qfl16
cliquer "${ONGLET_QFL16[@]}"
cellule_rouge() { ecran || return 1; [ "$(pixel $(cellule 2 5) "$captures/courant.png")" = "$ROUGE" ]; }
attendre 5 cellule_rouge || echec "the cell of unit 2, feeder 5 is not on the alarm colour ($(pixel $(cellule 2 5)))"
for uf in "1 5" "3 5" "2 4" "2 6" "1 1"; do
  [ "$(pixel $(cellule $uf) "$captures/courant.png")" != "$ROUGE" ] || echec "the cell of unit/feeder $uf is red too"
done
capture recherche-qfl16-defaut
cp "$grab" "$travail/recherche-qfl16.png"

# ---------------------------------------------------------------------------
# Back on the QFL screen: two faults in the history, the units' states.
cliquer "${QUITTER_ECRAN[@]}"
cliquer "${ONGLET_HISTORIQUE[@]}"
lignes_historique() {  # rows of text in the list
  ecran || return 1
  convert "$captures/courant.png" -crop "${CORPS_HISTORIQUE[2]}x${CORPS_HISTORIQUE[3]}+$((OX + CORPS_HISTORIQUE[0]))+$((OY + CORPS_HISTORIQUE[1]))" \
      +repage -colorspace gray -threshold 50% -negate -scale "1x${CORPS_HISTORIQUE[3]}!" -depth 8 txt:- \
    | tail -n +2 | awk '{ encre = ($3 != "#000000"); if (encre && !avant) n++; avant = encre } END { print n + 0 }'
}
deux_lignes() { [ "$(lignes_historique)" -eq 2 ]; }
attendre 5 deux_lignes || echec "the history shows $(lignes_historique) rows of text, not the 2 faults found"
capture qfl-historique
cp "$grab" "$travail/qfl-historique.png"

cliquer "${ONGLET_INFOS[@]}"
sleep 0.5; ecran; infos="$captures/courant.png"
[ "$(sombres "$infos" "${TEXTE_VERSION[@]}")" -gt 0 ] || echec "no software version on the info tab"
# The simulator connects units 1-4; the fault is on unit 2.
for u in 1 3 4; do
  [ "$(pixel "$(unite_x $u)" $UNITE_Y "$infos")" = "$VERT" ] || echec "unit $u not shown connected ($(pixel "$(unite_x $u)" $UNITE_Y "$infos"))"
done
[ "$(pixel "$(unite_x 2)" $UNITE_Y "$infos")" = "$ROUGE" ] || echec "unit 2, where the fault is, not in the alarm colour"
for u in 5 17 31; do
  c=$(pixel "$(unite_x $u)" $UNITE_Y "$infos")
  [ "$c" != "$VERT" ] && [ "$c" != "$ROUGE" ] || echec "unit $u shown connected or faulty ($c)"
done
capture qfl-infos
cp "$grab" "$travail/qfl-infos.png"

# ---------------------------------------------------------------------------
# 4. The simulator dies: the locator's button greys as the KMT's, the open
# screen says the line is lost and shows nothing of it as current, each
# device journalled lost once.
sans_rouge "${ETAT_COM_QFL[@]}" || echec "the QFL screen says the line is lost while it is not"
arreter_simulateur
perdus() { bouton_est $QFL "$GRIS" && bouton_est $KMT "$GRIS"; }
attendre 15 perdus || echec "buttons not grey after the simulator died (QFL $(couleur_bouton $QFL), KMT $(couleur_bouton $KMT))"
capture perdus
cp "$grab" "$travail/perdus.png"
# White captions on grey, in both rows.
for n in $KMT $QFL; do
  blanc=$(convert "$grab" -crop "14x10+$((OX + $(face_x $n) - 4))+$((OY + $(face_y $n) + 4))" +repage \
          -fill black +opaque white -format "%[fx:int(1000*mean)]" info:)
  [ "$blanc" -gt 0 ] || echec "the caption of lost button $n is not white"
done
[ "$(couleur_bouton 36)" = "$FACE" ] || echec "button 36, not on the line, changed too ($(couleur_bouton 36))"
attendre 5 a_du_rouge "${ETAT_COM_QFL[@]}" || echec "the QFL screen does not say the line is lost"
# The units' states are of unknown age now: the strip's grey, none connected.
ecran
for u in 1 2 5; do
  [ "$(pixel "$(unite_x $u)" $UNITE_Y "$captures/courant.png")" = "$GRIS" ] \
    || echec "unit $u of the lost locator is $(pixel "$(unite_x $u)" $UNITE_Y "$captures/courant.png"), not grey"
done
capture qfl-ligne-perdue
sleep 2
for n in $KMT $QFL $AUTRE_QFL; do
  [ "$(compter 3 $n)" -eq 1 ] || echec "device $n journalled lost $(compter 3 $n) times, not once"
done

# It comes back: journalled back, the button and the screen leave the lost state.
demarrer_simulateur "${APPAREILS_SIM[@]}"
attendre 20 exactement 2 $QFL 2 || echec "QFL $QFL not journalled back (code 2: $(compter 2 $QFL))"
attendre 5 bouton_est $QFL "$FACE" || echec "button $QFL still $(couleur_bouton $QFL) after the return"
attendre 5 sans_rouge "${ETAT_COM_QFL[@]}" || echec "the QFL screen still says the line is lost"
unite_connectee() { couleur_en "$(unite_x 1)" $UNITE_Y "$VERT"; }
attendre 5 unite_connectee || echec "unit 1 not shown connected again after the return"
attendre 10 bouton_est $KMT "$FACE" || echec "button $KMT still $(couleur_bouton $KMT) after the return"

# The station ends cleanly (nothing in alarm: no question asked).
quitter_station

rm -f "$captures/courant.png"
echo "e2e qfl: passed"
