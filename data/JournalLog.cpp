#include "data/JournalLog.h"

#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"
#include "platform/FichierOrdinaire.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

namespace {

// How long an append or a load waits for another process's access to end.
constexpr int DelaiVerrouMs = 2000;

EErreurVeilleur ErreurES(const QString& chemin, const QString& raison)
{
    return EErreurVeilleur(QStringLiteral("Erreur d'accès au fichier \"%1\" : %2")
                               .arg(QFileInfo(chemin).absoluteFilePath(), raison));
}

} // namespace

TJournalLog::TJournalLog(const QString& cheminFichier, const QString& nomEvenement)
    : m_chemin(cheminFichier), m_evenement(nomEvenement)
{
    m_horloge = [] { return DateVeilleur::Maintenant(); };
    m_pompe = [] {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    };
    // No access of ours is in progress yet: the event is free, even when a
    // station that died during an access left it non-signalled.
    m_evenement.Signaler();
}

TJournalLog::~TJournalLog()
{
    if (m_attente.empty())
        return;
    try {
        EcrireEntreesEnAttente();
    } catch (const EErreurVeilleur& e) {
        std::fprintf(stderr, "Journal : %d entrées non écrites (%s)\n", EntreesEnAttente(),
                     e.Texte().toLocal8Bit().constData());
    }
}

void TJournalLog::PrendreAccesLog()
{
    // Only this process's own flag decides whether to wait; the event is for
    // other processes.
    while (m_accesLogEnCours) {
        const bool signale = m_evenement.Attendre0();
        m_pompe();
        if (signale)
            break;
    }
    m_evenement.Reinitialiser();
    m_accesLogEnCours = true;
}

void TJournalLog::RendreAccesLog()
{
    m_accesLogEnCours = false;
    m_evenement.Signaler();
}

void TJournalLog::AjouterEntreeLog(const TEntreeLog& entree)
{
    // The sender's record only lives for the call: keep our own copy first.
    m_attente.push_back(entree);
    while (static_cast<int>(m_attente.size()) > CapaciteAttente) {
        m_attente.pop_front();
        ++m_perdues;
    }

    EcrireEntreesEnAttente();
}

void TJournalLog::EcrireEntreesEnAttente()
{
    if (m_attente.empty())
        return;
    TAccesLog acces(*this);
    // Other stations append to the same file: "size, seek, write" is one step
    // under an exclusive lock, or two of them would write at the same place.
    TFichierOrdinaire fichier;
    if (!fichier.Ouvrir(m_chemin, O_RDWR | O_CREAT) || !fichier.Verrouiller(true, DelaiVerrouMs))
        throw ErreurES(m_chemin, fichier.TexteErreur());
    const qint64 taille = fichier.Taille();
    if (taille < 0)
        throw ErreurES(m_chemin, fichier.TexteErreur());
    // Whole records only: an incomplete trailing record is written over.
    qint64 position = (taille / TailleEntreeLog) * TailleEntreeLog;
    while (!m_attente.empty()) {
        if (!fichier.Ecrire(position, &m_attente.front(), TailleEntreeLog))
            throw ErreurES(m_chemin, fichier.TexteErreur());
        m_attente.pop_front();
        position += TailleEntreeLog;
    }
}

void TJournalLog::ChargerJournal(TTamponJournal& tampon, TLangue langue)
{
    {
        TAccesLog acces(*this);
        if (!QFileInfo::exists(m_chemin)) {
            std::memset(static_cast<void*>(&tampon), 0, sizeof(tampon));
        } else {
            // A shared lock: no append of another process is half done while we read.
            TFichierOrdinaire fichier;
            if (!fichier.Ouvrir(m_chemin, O_RDONLY) || !fichier.Verrouiller(false, DelaiVerrouMs))
                throw ErreurES(m_chemin, fichier.TexteErreur());
            const qint64 taille = fichier.Taille();
            if (taille < 0)
                throw ErreurES(m_chemin, fichier.TexteErreur());
            const qint64 n = taille / TailleEntreeLog;
            tampon.NbEntrees = 0;
            // The last entries in one read (from slot 1), then those too old
            // are left out by moving the others down.
            const qint64 nbLus = std::min<qint64>(n, NbMaxLus);
            const qint64 octets = nbLus * TailleEntreeLog;
            const qint64 lus = fichier.Lire((n - nbLus) * TailleEntreeLog, &tampon.Entrees[1], octets);
            if (lus < 0)
                throw ErreurES(m_chemin, fichier.TexteErreur());
            if (lus != octets)
                throw ErreurES(m_chemin, QStringLiteral("fin de fichier inattendue"));
            int i = 1;
            for (int k = 1; k <= int(nbLus); ++k) {
                const double maintenant = m_horloge();
                if (EntreeTropAncienne(tampon.Entrees[k].DateHeure, maintenant))
                    continue;
                if (i != k)
                    tampon.Entrees[i] = tampon.Entrees[k];
                tampon.NbEntrees = static_cast<std::uint16_t>(i);
                ++i;
            }
        }
    }
    tampon.Langue = langue;
}
