#pragma once
// The active alarms in the status bar, one clickable entry each, most severe
// first; "+N" for those that do not fit. Hidden while no alarm is active, so
// that the bar is then as it always was.
#include "app/AlarmesActives.h"

#include <QWidget>
#include <vector>

class QHBoxLayout;
class QLabel;
class QStatusBar;
class QToolButton;
class TVerrouDonnees;

class TBarreAlarmes : public QWidget {
    Q_OBJECT
public:
    // Added to the bar after its own panels, 'largeur' pixels wide.
    TBarreAlarmes(QStatusBar& barre, int largeur);

    void Afficher(const std::vector<TAlarmeActive>& alarmes, TLangue langue);
    // The records' active alarms now, each with since when it has been seen.
    void Actualiser(TVerrouDonnees& verrou, const Tableau1<TDonneesKMT, NbSources>& donnees, TLangue langue);

    // Shown entries (the buttons, in order) and the count that did not fit.
    std::vector<QToolButton*> Entrees() const;
    int NonAffichees() const { return m_nonAffichees; }

signals:
    // The operator clicked the entry of a KMT device.
    void Ouvrir(int appareil);

private:
    QToolButton* Bouton(int index);

    TSuiviAlarmes m_suivi;
    QHBoxLayout* m_disposition;
    std::vector<QToolButton*> m_boutons;
    QLabel* m_plus;
    int m_nonAffichees = 0;
};
