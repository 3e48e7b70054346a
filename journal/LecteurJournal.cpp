#include "journal/LecteurJournal.h"

#include <QLocale>

#include <fcntl.h>

namespace LecteurJournal {

QString PhraseErreur(const QString& action, const QString& chemin, const QString& raison)
{
    // The station's own reason is French; inside this English sentence it is
    // English too unless the system speaks French (the system's texts follow it).
    QString texte = raison;
    if (raison == TFichierOrdinaire::TextePasOrdinaire() && QLocale::system().language() != QLocale::French)
        texte = QStringLiteral("not a regular file (a folder, pipe or device)");
    return QStringLiteral("veilleur-journal: cannot %1 \"%2\": %3.").arg(action, chemin, texte);
}

} // namespace LecteurJournal

TLecteurJournal::TLecteurJournal(const QString& chemin)
    : m_chemin(chemin),
      m_tampon(new char[size_t(EnregistrementsParBloc * TailleEntreeLog)])  // not zeroed: only read bytes are used
{
}

bool TLecteurJournal::Ouvrir()
{
    if (m_fichier.Ouvrir(m_chemin, O_RDONLY))
        return true;
    m_erreur = LecteurJournal::PhraseErreur(QStringLiteral("open"), m_chemin, m_fichier.TexteErreur());
    return false;
}

qint64 TLecteurJournal::Taille()
{
    const qint64 taille = m_fichier.Taille();
    if (taille < 0)
        EchecLecture(m_fichier.TexteErreur());
    return taille;
}

qint64 TLecteurJournal::Lire(qint64 index, char* tampon, qint64 nbMax)
{
    m_restants = 0;
    int code = 0;
    const qint64 lus = m_fichier.Lire(index * TailleEntreeLog, tampon, nbMax * TailleEntreeLog, code);
    if (lus < 0) {
        Echouer(code);
        return -1;
    }
    if (lus < nbMax * TailleEntreeLog)
        m_restants = lus % TailleEntreeLog;  // the end of file
    return lus / TailleEntreeLog;
}

qint64 TLecteurJournal::Lire(qint64 index, char* tampon, qint64 nbMax, int& code) const
{
    const qint64 lus = m_fichier.Lire(index * TailleEntreeLog, tampon, nbMax * TailleEntreeLog, code);
    return lus < 0 ? -1 : lus / TailleEntreeLog;
}

void TLecteurJournal::Echouer(int code)
{
    EchecLecture(TFichierOrdinaire::TexteSysteme(code));
}

void TLecteurJournal::EchecLecture(const QString& raison)
{
    m_erreur = LecteurJournal::PhraseErreur(QStringLiteral("read"), m_chemin, raison);
}
