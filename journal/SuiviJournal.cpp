#include "journal/SuiviJournal.h"

#include "journal/LecteurJournal.h"
#include "platform/FichierOrdinaire.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

// Holds the named event for one read when it came within the wait, and
// signals it again however the read ends, so no other waiter is starved.
class TPriseEvenement {
public:
    TPriseEvenement(TEvenementNomme& evenement, int delaiMs)
        : m_evenement(evenement), m_pris(evenement.Attendre(delaiMs)) {}
    ~TPriseEvenement()
    {
        if (m_pris)
            m_evenement.Signaler();
    }
    TPriseEvenement(const TPriseEvenement&) = delete;
    TPriseEvenement& operator=(const TPriseEvenement&) = delete;

private:
    TEvenementNomme& m_evenement;
    bool m_pris;
};

// Qt's own warnings stay out of the tool's output while in scope: the tool
// says what a failure means in its own words.
class TSansAvertissementsQt {
public:
    TSansAvertissementsQt() : m_precedent(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {}
    ~TSansAvertissementsQt() { qInstallMessageHandler(m_precedent); }
    TSansAvertissementsQt(const TSansAvertissementsQt&) = delete;
    TSansAvertissementsQt& operator=(const TSansAvertissementsQt&) = delete;

private:
    QtMessageHandler m_precedent;
};

} // namespace

TSuiviJournal::TSuiviJournal(const QString& chemin, const QString& nomEvenement, const TExportJournal& format,
                             std::FILE* sortie, std::FILE* erreurs, QObject* parent)
    : QObject(parent), m_chemin(QFileInfo(chemin).absoluteFilePath()), m_evenement(nomEvenement),
      m_format(format), m_sortie(sortie), m_erreurs(erreurs)
{
    connect(&m_veilleur, &QFileSystemWatcher::fileChanged, this, &TSuiviJournal::LireNouveaux);
    connect(&m_veilleur, &QFileSystemWatcher::directoryChanged, this, &TSuiviJournal::LireNouveaux);
    connect(&m_releve, &QTimer::timeout, this, &TSuiviJournal::LireNouveaux);
}

bool TSuiviJournal::Demarrer(qint64 queue)
{
    const QFileInfo info(m_chemin);
    if (!info.absoluteDir().exists()) {
        Avertir(LecteurJournal::PhraseErreur(QStringLiteral("follow"), m_chemin,
                                             QStringLiteral("its folder does not exist")));
        return false;
    }
    if (TFichierOrdinaire::ExisteMaisPasOrdinaire(m_chemin)) {
        Avertir(LecteurJournal::PhraseErreur(QStringLiteral("follow"), m_chemin, TFichierOrdinaire::TextePasOrdinaire()));
        return false;
    }
    const qint64 n = info.exists() ? info.size() / TailleEntreeLog : 0;
    m_lus = queue < 0 ? 0 : std::max<qint64>(0, n - queue);
    struct stat etat {};
    if (::stat(QFile::encodeName(m_chemin).constData(), &etat) == 0) {
        m_inodeConnu = true;
        m_appareil = etat.st_dev;
        m_inode = etat.st_ino;
    }
    if (!info.exists())
        Avertir(QStringLiteral("veilleur-journal: waiting for \"%1\" to be created.").arg(m_chemin));
    std::string entete;
    m_format.EnTete(entete);
    std::fwrite(entete.data(), 1, entete.size(), m_sortie);
    std::fflush(m_sortie);
    // The folder tells of the file's creation or replacement, the file of its growth.
    AjouterVeille(info.absolutePath());
    m_releve.start(ReleveMs);
    LireNouveaux();
    return true;
}

bool TSuiviJournal::AjouterVeille(const QString& chemin)
{
    bool ajoute;
    {
        TSansAvertissementsQt silence;
        ajoute = m_veilleur.addPath(chemin);
    }
    if (!ajoute && !m_veilleImpossibleDite) {
        // Told once: the regular look at the file goes on all the same.
        m_veilleImpossibleDite = true;
        std::fprintf(m_erreurs, "%s\n",
                     QStringLiteral("veilleur-journal: cannot be told of changes to \"%1\" by the system; looking at it every %2 s instead.")
                         .arg(chemin)
                         .arg(ReleveMs / 1000)
                         .toLocal8Bit()
                         .constData());
        std::fflush(m_erreurs);
    }
    return ajoute;
}

void TSuiviJournal::Surveiller()
{
    if (!m_veilleur.files().contains(m_chemin))
        AjouterVeille(m_chemin);
}

void TSuiviJournal::Avertir(const QString& texte)
{
    // A lasting fault is told once, not at every change notice.
    if (texte == m_dernierAvertissement)
        return;
    m_dernierAvertissement = texte;
    std::fprintf(m_erreurs, "%s\n", texte.toLocal8Bit().constData());
    std::fflush(m_erreurs);
}

void TSuiviJournal::LireNouveaux()
{
    const QFileInfo info(m_chemin);
    struct stat etat {};
    if (::stat(QFile::encodeName(m_chemin).constData(), &etat) != 0)
        return;
    if (m_inodeConnu && (etat.st_dev != m_appareil || etat.st_ino != m_inode)) {
        // Another file was put in its place (moved over it, or removed and
        // created again): its entries are all new to us.
        Avertir(QStringLiteral("veilleur-journal: \"%1\" was replaced by another file; following the new one from its first entry.")
                    .arg(m_chemin));
        m_lus = 0;
        m_veilleur.removePath(m_chemin);  // the watch stayed on the old file
    }
    m_inodeConnu = true;
    m_appareil = etat.st_dev;
    m_inode = etat.st_ino;
    Surveiller();
    // Only the size is looked at until whole new records are there: no open,
    // no wait on the event.
    const qint64 n = info.size() / TailleEntreeLog;
    if (n == m_lus)
        return;
    if (n < m_lus) {
        Avertir(QStringLiteral("veilleur-journal: \"%1\" became shorter; following it again from its start.")
                    .arg(m_chemin));
        m_lus = 0;
    }
    std::string lignes;
    {
        TPriseEvenement prise(m_evenement, AttenteEvenementMs);
        TLecteurJournal lecteur(m_chemin);  // closed before the event is signalled
        if (!lecteur.Ouvrir()) {
            Avertir(lecteur.Erreur());
            return;
        }
        // Records appended after the size was taken wait for the next read.
        const qint64 fin = lecteur.NbEnregistrements();
        qint64 suivant = m_lus;
        const bool lu = lecteur.Parcourir(
            [&](const TEntreeLog& e, qint64 index) {
                m_format.Ligne(lignes, e, index);
                suivant = index + 1;
            },
            m_lus, fin);
        m_lus = suivant;
        if (!lu)
            Avertir(lecteur.Erreur());
        else
            m_dernierAvertissement.clear();
    }
    std::fwrite(lignes.data(), 1, lignes.size(), m_sortie);
    std::fflush(m_sortie);
}
