#include "app/MarcheStation.h"

#include "app/AlarmesActives.h"
#include "app/BoiteOuverte.h"
#include "app/CycleStation.h"
#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "text/MessagesVeilleur.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

TMarcheStation::TMarcheStation(const TEnvironnement& environnement) : m_env(environnement)
{
}

void TMarcheStation::Demarrer()
{
    if (m_demarre || m_termine)
        return;
    m_demarre = true;
    const double maintenant = DateVeilleur::Maintenant();
    // Entries the previous run could only keep aside go in first, in their
    // order, so that its stop (or its absence) is read in the right place.
    const TBilanRecuperation recuperation = m_env.Journal.RecupererEntrees();
    if (!recuperation.Erreur.isEmpty()) {
        std::fprintf(stderr, "%s\n", recuperation.Erreur.toLocal8Bit().constData());
        m_env.Signaler(recuperation.Erreur);
    }
    const bool finIncorrecte = CycleStation::FinPrecedenteIncorrecte(m_env.Journal.CheminFichier());
    m_env.Journaliser(CycleStation::EntreeLancement(maintenant, finIncorrecte));
    if (recuperation.Recuperees > 0) {
        m_env.Journaliser(TJournalLog::EntreeRecuperation(recuperation.Recuperees, maintenant));
        std::fprintf(stderr, "Journal : %d entrées récupérées de \"%s\"\n", recuperation.Recuperees,
                     qPrintable(m_env.Journal.CheminRecuperation()));
    }
    // Other programs waiting on the event would wait on someone else's.
    if (!m_env.Journal.EvenementAccesLog().Propre()) {
        const QString texte = m_env.Journal.EvenementAccesLog().Avertissement(m_env.Langue);
        std::fprintf(stderr, "%s\n", texte.toLocal8Bit().constData());
        m_avertissement = OuvrirBoite(&m_env.Fenetre, QMessageBox::Warning, Texte(MsgMenuTitreFenetre, m_env.Langue),
                                      texte, QStringLiteral("AvertissementEvenement"));
    }
}

bool TMarcheStation::AlarmesAConfirmer() const
{
    TLectureDonnees lecture(m_env.Verrou);
    for (int n = 1; n <= NbSources; ++n)
        if (TSuiviAlarmes::Active(m_env.Donnees[n]))
            return true;
    return false;
}

void TMarcheStation::DemanderConfirmation(std::function<void()> fermer)
{
    if (m_confirmation) {
        m_confirmation->raise();
        return;
    }
    const TLangue langue = m_env.Langue;
    auto* boite = new QMessageBox(QMessageBox::Warning, Texte(MsgMenuTitreFenetre, langue),
                                  Texte(MsgFermetureConfirmation, langue), QMessageBox::NoButton, &m_env.Fenetre);
    boite->setObjectName(QStringLiteral("ConfirmationFermeture"));
    boite->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* bouton = boite->addButton(Texte(MsgFermetureFermer, langue), QMessageBox::AcceptRole);
    bouton->setObjectName(QStringLiteral("ConfirmationFermer"));
    QPushButton* continuer = boite->addButton(Texte(MsgFermetureContinuer, langue), QMessageBox::RejectRole);
    continuer->setObjectName(QStringLiteral("ConfirmationContinuer"));
    boite->setDefaultButton(continuer);
    boite->setEscapeButton(continuer);
    // Once the box has gone.
    QObject::connect(bouton, &QPushButton::clicked, &m_env.Fenetre,
                     [this, fermer = std::move(fermer)] {
                         QMetaObject::invokeMethod(&m_env.Fenetre, fermer, Qt::QueuedConnection);
                     });
    m_confirmation = boite;
    // Not a loop of its own: the ticks go on while the question waits.
    boite->open();
}

void TMarcheStation::FermerConfirmation()
{
    if (m_confirmation)
        m_confirmation->close();
}

void TMarcheStation::DefinirRaison(const QString& raison, bool remplacer)
{
    if (remplacer || m_raison.isEmpty())
        m_raison = raison;
}

void TMarcheStation::Terminer(bool surEcran)
{
    FermerConfirmation();
    if (!m_demarre || m_termine)
        return;
    m_termine = true;
    const QString raison = m_raison.isEmpty() ? QString::fromLatin1(CycleStation::RaisonBouton) : m_raison;
    m_env.Journal.DeposerEntreeLog(CycleStation::EntreeFermeture(DateVeilleur::Maintenant(), raison));
    const TBilanFinJournal bilan = m_env.Journal.Terminer();
    const QString texte = bilan.Texte();
    if (!texte.isEmpty())
        std::fprintf(stderr, "%s\n", texte.toLocal8Bit().constData());
    if (!bilan.AMontrer() || !surEcran)
        return;
    // No tick runs any more: the window may wait for the operator here. Not
    // for ever, though: a log-out or a service stop waits for this process.
    QMessageBox boite(QMessageBox::Critical, Texte(MsgMenuTitreFenetre, m_env.Langue), texte, QMessageBox::Ok,
                      &m_env.Fenetre);
    boite.setObjectName(QStringLiteral("JournalNonEcrit"));
    QTimer::singleShot(60000, &boite, [&boite] { boite.done(QMessageBox::Ok); });
    boite.exec();
}
