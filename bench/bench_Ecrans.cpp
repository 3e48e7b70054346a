// Screen costs: filling the event log with a full load, re-sorting it, and one
// refresh of the overview (every second while it is shown).
#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "screens/CadreJournal.h"
#include "screens/CadreVueDEnsemble.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<TTamponJournal> TamponPlein()
{
    auto tampon = std::make_unique<TTamponJournal>();
    std::memset(tampon.get(), 0, sizeof *tampon);
    const double maintenant = DateVeilleur::Maintenant();
    for (int k = 1; k <= NbMaxLus; ++k) {
        TEntreeLog& e = tampon->Entrees[k];
        e.Code = static_cast<std::uint8_t>(k % NbCodesEvenements);
        e.Origine = static_cast<std::uint8_t>(k % 63 + 1);
        e.DateHeure = maintenant - (NbMaxLus - k) * 0.137;
        EcrireChaine(e.InfosCompl, QStringLiteral("Valeur %1 kOhm").arg(k * 7919 % 1000));
    }
    tampon->NbEntrees = NbMaxLus;
    tampon->Langue = LangueFrancais;
    return tampon;
}

void BM_JournalActualiser(benchmark::State& etat)
{
    auto tampon = TamponPlein();
    TFrameJournal ecran;
    ecran.ChangerLangue(LangueFrancais);
    ecran.Initialiser();
    ecran.show();
    QCoreApplication::processEvents();
    for (auto _ : etat) {
        ecran.Actualiser(*tampon);
        QCoreApplication::processEvents();  // the one repaint
    }
}
BENCHMARK(BM_JournalActualiser)->Unit(benchmark::kMillisecond);

void BM_JournalTriColonne(benchmark::State& etat)
{
    auto tampon = TamponPlein();
    TFrameJournal ecran;
    ecran.ChangerLangue(LangueFrancais);
    ecran.Initialiser();
    ecran.Actualiser(*tampon);
    ecran.show();
    QCoreApplication::processEvents();
    int colonne = 0;
    for (auto _ : etat) {
        // Each click sorts by another key: no pass finds the list already in order.
        ecran.ListViewJournalColumnClick(colonne);
        QCoreApplication::processEvents();
        colonne = (colonne + 1) % 4;
    }
}
BENCHMARK(BM_JournalTriColonne)->Unit(benchmark::kMillisecond);

void BM_VueDEnsembleActualiser(benchmark::State& etat)
{
    TNomsAppareils noms;
    TEtatsAppareils etats;
    for (int r = 1; r <= NbSources; ++r) {
        noms.Noms[r] = QStringLiteral("Source %1").arg(r);
        etats.Present[r] = true;
        etats.RMin[r] = 50;
        etats.RSeuil[r] = 100;
    }
    TFrameVueDEnsemble ecran;
    ecran.ChangerLangue(LangueFrancais);
    ecran.Initialiser(noms);
    ecran.show();
    QCoreApplication::processEvents();
    int tour = 0;
    for (auto _ : etat) {
        ++tour;
        for (int r = 1; r <= NbSources; ++r) {
            etats.RIsolement[r] = static_cast<std::uint16_t>(150 + (r + tour) % 100);
            etats.PreAlarme[r] = etats.RIsolement[r] < 200;
            etats.Alarme[r] = etats.RIsolement[r] < 160;
        }
        ecran.Actualiser(etats);
        QCoreApplication::processEvents();  // the repaint of the written cells
    }
}
BENCHMARK(BM_VueDEnsembleActualiser)->Unit(benchmark::kMillisecond);

} // namespace
