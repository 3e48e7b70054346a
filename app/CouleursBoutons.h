#pragma once
// Colours of the upper (KMT) row of the monitoring strip, worked out from the
// device records alone so that the rule can be checked without a window.
#include "data/TypesVeilleur.h"

#include <QColor>

inline const QColor CouleurAlarme(255, 0, 0);
inline const QColor CouleurPreAlarme(240, 240, 0);

struct TCouleursBouton {
    QColor Face;
    QColor Texte;
};

struct TEtatBandeau {
    Tableau1<TCouleursBouton, NbSources> Boutons;
    // Some device shows a pre-alarm or an alarm: the beep sounds.
    bool AlarmeEnCours = false;
};

// Alarm wins over pre-alarm; an absent device keeps a greyed caption whatever
// its face colour. The caller holds the read lock of the records.
TCouleursBouton CouleursBouton(const TDonneesKMT& donnees);
TEtatBandeau CalculerBandeau(const Tableau1<TDonneesKMT, NbSources>& donnees);
