// "Log.dat" of arbitrary bytes: the tail load, then the event log screen's
// fill and a sort on a column chosen by the input. Nothing may be read outside
// an entry, whatever its code, text length or date.
#include "data/ErreurVeilleur.h"
#include "data/JournalLog.h"
#include "platform/EvenementNomme.h"
#include "screens/CadreJournal.h"

#include "OutilsFuzz.h"

#include <QApplication>
#include <unistd.h>

namespace {
TJournalLog* journal = nullptr;
TTamponJournal* tampon = nullptr;
TFrameJournal* ecran = nullptr;
QString nomEvenement;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);   // lives until the process ends
    QTemporaryDir* dossier = OutilsFuzz::DossierTemporaire(QStringLiteral("journal"));
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
        TEvenementNomme::Supprimer(nomEvenement);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* octets, std::size_t taille)
{
    OutilsFuzz::EcrireEntree(journal->CheminFichier(), octets, taille);
    const TLangue langue = static_cast<TLangue>(taille % NbLangues);
    try {
        journal->ChargerJournal(*tampon, langue);
    } catch (const EErreurVeilleur&) {
        std::abort();   // a regular file of any content loads
    }
    if (tampon->NbEntrees > taille / TailleEntreeLog || tampon->Langue != langue || journal->AccesLogEnCours())
        std::abort();
    ecran->ChangerLangue(langue);
    ecran->Initialiser();
    ecran->Actualiser(*tampon);
    if (taille > 0)
        ecran->ListViewJournalColumnClick(octets[0] % 4);
    return 0;
}
