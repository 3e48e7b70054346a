// "Log.dat" of arbitrary bytes: the tail load, then the event log screen's
// fill and a sort on a column chosen by the input. Nothing may be read outside
// an entry, whatever its code, text length or date.
#include "data/ErreurVeilleur.h"
#include "data/JournalLog.h"
#include "platform/EvenementNomme.h"
#include "screens/CadreJournal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {
// Files in memory where possible: a save syncs its file to the disk.
QString Dossier()
{
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

QTemporaryDir* dossier = nullptr;
TJournalLog* journal = nullptr;
TTamponJournal* tampon = nullptr;
TFrameJournal* ecran = nullptr;
QString nomEvenement;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);   // lives until the process ends
    dossier = new QTemporaryDir(Dossier() + QStringLiteral("/veilleur-fuzz-journal-XXXXXX"));
    if (!dossier->isValid())
        std::abort();
    nomEvenement = QStringLiteral("/VeilleurFuzz%1").arg(getpid());
    journal = new TJournalLog(dossier->filePath(QStringLiteral("Log.dat")), nomEvenement);
    // A fixed "now" around 2026, so that most dates pass the age filter.
    journal->DefinirHorloge([] { return 46000.0; });
    tampon = new TTamponJournal();
    ecran = new TFrameJournal();
    std::atexit([] {
        delete ecran;
        delete journal;
        delete tampon;
        delete dossier;
        TEvenementNomme::Supprimer(nomEvenement);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* octets, std::size_t taille)
{
    {
        QFile f(journal->CheminFichier());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(octets), static_cast<qint64>(taille));
    }
    const TLangue langue = static_cast<TLangue>(taille % NbLangues);
    try {
        journal->ChargerJournal(*tampon, langue);
    } catch (const EErreurVeilleur&) {
        std::abort();   // a regular file of any content loads
    }
    if (tampon->NbEntrees > taille / TailleEntreeLog || tampon->Langue != langue || journal->AccesLogEnCours())
        std::abort();
    ecran->ChangerLangue(langue);
    ecran->Initialiser(nullptr);
    ecran->Actualiser(tampon);
    if (taille > 0)
        ecran->ListViewJournalColumnClick(octets[0] % 4);
    return 0;
}
