#pragma once
// The desktop's system colours as the layouts name them, fixed so that the
// station looks the same on every machine.
#include <QColor>

namespace CouleursSysteme {
inline const QColor FaceBouton(240, 240, 240);     // button face
inline const QColor TexteBouton(0, 0, 0);          // button text
inline const QColor OmbreBouton(160, 160, 160);    // button shadow (greyed caption)
inline const QColor SurbrillanceBouton(255, 255, 255);  // button highlight
inline const QColor TexteFenetre(0, 0, 0);         // window text
inline const QColor Fenetre(255, 255, 255);        // window background (edits, lists)
inline const QColor BleuFonce(0, 40, 85);          // fill of the decorated panels
}
