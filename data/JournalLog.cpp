#include "data/JournalLog.h"

#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

namespace {

EErreurVeilleur ErreurES(const QFile& fichier, const QString& raison = QString())
{
    return EErreurVeilleur(QStringLiteral("Erreur d'accès au fichier \"%1\" : %2")
                               .arg(QFileInfo(fichier.fileName()).absoluteFilePath(),
                                    fichier.error() != QFileDevice::NoError || raison.isEmpty()
                                        ? fichier.errorString() : raison));
}

// Opens the journal for reading and writing, creating it when missing.
void Ouvrir(QFile& fichier)
{
    if (!fichier.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw ErreurES(fichier);
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
    QFile fichier(m_chemin);
    Ouvrir(fichier);
    // Whole records only: an incomplete trailing record is written over.
    const qint64 fin = (fichier.size() / TailleEntreeLog) * TailleEntreeLog;
    if (!fichier.seek(fin))
        throw ErreurES(fichier);
    while (!m_attente.empty()) {
        const qint64 ecrits = fichier.write(reinterpret_cast<const char*>(&m_attente.front()), TailleEntreeLog);
        if (ecrits != TailleEntreeLog)
            throw ErreurES(fichier, QStringLiteral("écriture incomplète"));
        m_attente.pop_front();
    }
}

void TJournalLog::ChargerJournal(TTamponJournal& tampon, TLangue langue)
{
    {
        TAccesLog acces(*this);
        QFile fichier(m_chemin);
        if (!fichier.exists()) {
            std::memset(static_cast<void*>(&tampon), 0, sizeof(tampon));
        } else {
            if (!fichier.open(QIODevice::ReadOnly))
                throw ErreurES(fichier);
            const qint64 n = fichier.size() / TailleEntreeLog;
            tampon.NbEntrees = 0;
            if (n > 0) {
                const qint64 premier = n - std::min<qint64>(n, NbMaxLus);
                if (!fichier.seek(premier * TailleEntreeLog))
                    throw ErreurES(fichier);
                int i = 1;
                for (qint64 position = premier; position < n; ++position) {
                    TEntreeLog& entree = tampon.Entrees[i];
                    const qint64 lus = fichier.read(reinterpret_cast<char*>(&entree), TailleEntreeLog);
                    if (lus != TailleEntreeLog)
                        throw ErreurES(fichier, QStringLiteral("fin de fichier inattendue"));
                    const double maintenant = m_horloge();
                    if (EntreeTropAncienne(entree.DateHeure, maintenant))
                        continue;
                    tampon.NbEntrees = static_cast<std::uint16_t>(i);
                    ++i;
                }
            }
        }
    }
    tampon.Langue = langue;
}
