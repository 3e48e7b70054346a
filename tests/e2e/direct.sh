#!/usr/bin/env bash
# The real station in live mode, under an X server of its own, against the
# device simulator on a pseudo-terminal: a pre-alarm turns its strip button
# yellow, "Acquitter" is confirmed by the device while the colour stays, a
# threshold out of range is refused on screen, killing the simulator greys the
# buttons and journals each device lost once, restarting it brings them back.
# Usage: direct.sh <Veilleur> <veilleur-simulateur> <veilleur-journal> <work folder>
# Screen grabs stay in <work folder>/captures (VEILLEUR_E2E_GARDER=1 keeps them
# after a success too).
set -uo pipefail
veilleur="$1"; simulateur="$2"; journal="$3"; travail="$4"

NOM=direct
APPAREILS="1-3"
# The line's response delay and the cycle: lost after 3 failed transactions.
DELAI_MS=200
source "$(dirname "$0")/../support/e2e_direct.sh"

tous_les_boutons_sont() {
  local n; for n in 1 2 3; do bouton_est "$n" "$1" || return 1; done
}

demarrer_xvfb "${LARGEUR}x${HAUTEUR}" "$travail/display" || echec "Xvfb did not start"

# The station's folder: only the network file, pointing at the simulator's link.
demarrer_simulateur --kmt "$APPAREILS"
demarrer_station "$APPAREILS"

# Devices answer: their buttons leave the grey of "never heard".
attendre 15 tous_les_boutons_sont "$(couleur_bouton 20)" || true
sim "seuil 2 100"
sim "r 2 150"            # below twice the threshold: pre-alarm
attendre 10 bouton_est 2 "$JAUNE" || echec "button 2 did not turn yellow (it is $(couleur_bouton 2))"
capture prealarme

# Its KMT screen; "Acquitter" of the pre-alarm: the device confirms (code 13),
# the button stays yellow (the fault is still there), the control is spent.
cliquer $((305 + 23 + 8)) 52
ACQ_PREALARME=(878 416); ACQ_KLAXON=(878 464); ACQ_ALARME=(878 512)
ONGLET_REGLAGES=(397 175); EDIT_NVSEUIL=(618 292); OK_NVSEUIL=(814 292)
sleep 1.5
cliquer "${ACQ_PREALARME[@]}"
attendre 10 au_moins 13 2 1 || echec "no acknowledgement of the pre-alarm (code 13) in the journal"
sleep 1.5
bouton_est 2 "$JAUNE" || echec "the acknowledged pre-alarm lost its colour ($(couleur_bouton 2))"
capture prealarme-acquittee

# An alarm (the horn with it): red; silencing the horn and acknowledging the
# alarm are asked (19, 20) and confirmed (15, 14); the button stays red.
sim "r 2 60"
attendre 10 bouton_est 2 "$ROUGE" || echec "button 2 did not turn red (it is $(couleur_bouton 2))"
sleep 1.5
cliquer "${ACQ_KLAXON[@]}"
sleep 1.5
cliquer "${ACQ_ALARME[@]}"
for code in 19 20 15 14; do
  attendre 10 exactement $code 2 1 || echec "code $code for device 2: $(compter $code 2) entries, not 1"
done
sleep 1.5
bouton_est 2 "$ROUGE" || echec "the acknowledged alarm lost its colour ($(couleur_bouton 2))"
capture alarme-acquittee
cp "$grab" "$travail/alarme-acquittee.png"

# A threshold out of range: refused on screen, nothing asked of the device.
cliquer "${ONGLET_REGLAGES[@]}"
cliquer "${EDIT_NVSEUIL[@]}"
xdotool key End; xdotool type --delay 50 "20000"
cliquer "${OK_NVSEUIL[@]}"
sleep 1
capture seuil-refuse
cp "$grab" "$travail/seuil-refuse.png"
[ "$(compter 22 2)" -eq 0 ] || echec "a threshold out of range was sent"

# The simulator dies: within 3 failed transactions per device and a tick,
# every button is grey, and each device is journalled lost once.
arreter_simulateur
debut=$(date +%s%N)
attendre 10 tous_les_boutons_sont "$GRIS" || echec "the buttons did not turn grey ($(couleur_bouton 1) $(couleur_bouton 2) $(couleur_bouton 3))"
ms=$(( ($(date +%s%N) - debut) / 1000000 ))
# 3 cycles (each device's transaction times out, then the shortest cycle's
# 200 ms), a monitoring tick, and the time a grab takes here.
limite=$(( 3 * (3 * DELAI_MS + 200) + 1000 + 800 ))
[ "$ms" -le "$limite" ] || echec "grey after $ms ms (at most $limite)"
echo "buttons grey $ms ms after the simulator died (at most $limite)"
capture perdus
cp "$grab" "$travail/perdus.png"
# White captions on grey.
blanc=$(convert "$grab" -crop "14x10+$((OX + $(face_x 2) - 4))+$((OY + 48))" +repage -fill black +opaque white \
        -format "%[fx:int(1000*mean)]" info:)
[ "$blanc" -gt 0 ] || echec "the caption of a lost button is not white"
sleep 3
for n in 1 2 3; do
  [ "$(compter 3 $n)" -eq 1 ] || echec "device $n journalled lost $(compter 3 $n) times, not once"
done

# It comes back: the buttons leave the grey, each device journalled back (2).
demarrer_simulateur --kmt "$APPAREILS"
attendre 20 au_moins 2 3 2 || echec "device 3 not journalled back"
for n in 1 2 3; do
  [ "$(compter 2 $n)" -eq 2 ] || echec "device $n: $(compter 2 $n) code 2 entries, not 2 (first answer, return)"
done
attendre 5 bouton_est 1 "$(couleur_bouton 20)" || echec "button 1 still grey after the return"

# The station ends cleanly, in well under the layer's second.
quitter_station

[ -n "${VEILLEUR_E2E_GARDER:-}" ] || rm -rf "$captures"
echo "e2e direct: passed"
