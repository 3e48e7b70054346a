#pragma once
// Colours of the monitoring strip, worked out from the device records alone
// so that the rule can be checked without a window.
#include "data/TypesVeilleur.h"

#include <QColor>

inline const QColor CouleurAlarme(255, 0, 0);
inline const QColor CouleurPreAlarme(240, 240, 0);
// A lost device: its state is unknown, whatever it last reported.
inline const QColor CouleurPerdu(128, 128, 128);
inline const QColor CouleurTextePerdu(255, 255, 255);

struct TCouleursBouton {
    QColor Face;
    QColor Texte;
};

struct TEtatBandeau {
    Tableau1<TCouleursBouton, NbSources> Boutons;
    // The lower row, fault locator 32 + k at k.
    Tableau1<TCouleursBouton, NbSources> BoutonsQFL;
    // Some device shows a pre-alarm or an alarm it has not had acknowledged,
    // or is lost: the beep sounds.
    bool AlarmeEnCours = false;
};

// Alarm wins over pre-alarm, acknowledged or not; an absent device keeps a
// greyed caption whatever its face colour; a lost device is grey with a white
// caption. The caller holds the read lock of the records.
TCouleursBouton CouleursBouton(const TDonneesKMT& donnees);
// A fault locator keeps the button's own colours unless it is lost.
TCouleursBouton CouleursBouton(const TDonneesQFL& donnees);
TEtatBandeau CalculerBandeau(const Tableau1<TDonneesKMT, NbSources>& donnees,
                             const Tableau1<TDonneesQFL, NbSources>* qfl = nullptr);
