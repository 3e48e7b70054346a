#pragma once
// The run of the station as the operator and the journal see it: the start
// (entries the previous run kept aside, code 0, a word when the journal's
// system event is not the station's own), the question before closing while
// devices are in alarm, and the end (code 1 with its reason, then the store's
// end, with a word when something could not be saved).
#include "data/JournalLog.h"
#include "data/TypesVeilleur.h"

#include <QPointer>
#include <QString>
#include <functional>

class QMessageBox;
class QWidget;
class TVerrouDonnees;

class TMarcheStation {
public:
    struct TEnvironnement {
        QWidget& Fenetre;   // parent of the boxes
        TJournalLog& Journal;
        TVerrouDonnees& Verrou;
        const Tableau1<TDonneesKMT, NbSources>& Donnees;
        const TLangue& Langue;
        // The window's journal path, for the start's entries.
        std::function<void(const TEntreeLog&)> Journaliser;
        std::function<void(const QString&)> Signaler;
    };

    explicit TMarcheStation(const TEnvironnement& environnement);
    TMarcheStation(const TMarcheStation&) = delete;
    TMarcheStation& operator=(const TMarcheStation&) = delete;

    // Once; nothing after Terminer.
    void Demarrer();
    // Whether a device is in alarm, so that closing asks first.
    bool AlarmesAConfirmer() const;
    // Opens the question (or raises it); 'fermer' runs, queued, once the
    // operator chose to close.
    void DemanderConfirmation(std::function<void()> fermer);
    void FermerConfirmation();
    // The reason journalled with code 1 (the button's when none is given);
    // the first one given stays.
    void DefinirRaison(const QString& raison, bool remplacer = true);
    // Code 1, then the store's end; what it could not save goes to standard
    // error and, when surEcran, to a box that waits at most a minute.
    void Terminer(bool surEcran);

    QMessageBox* Confirmation() const { return m_confirmation; }
    QMessageBox* Avertissement() const { return m_avertissement; }

private:
    TEnvironnement m_env;
    bool m_demarre = false;
    bool m_termine = false;
    QString m_raison;
    QPointer<QMessageBox> m_confirmation;
    QPointer<QMessageBox> m_avertissement;
};
