// One refresh of the KMT screen with a full history: values, lights, the
// 1000-sample plot rebuilt and redrawn, range labels and read-outs.
#include "devices/CadreKMT.h"

#include <QCoreApplication>
#include <QTabWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void RemplirHistorique(TDonneesKMT& r, int premier)
{
    r.NbMesures = 0;
    for (int i = premier; i < premier + NbMaxMesures; ++i) {
        DecalerHistorique(r);
        const int k = ++r.NbMesures;
        r.HistDate[k] = 46000.5 + i * 2.0 / 86400.0;
        r.HistRIsolement[k] = static_cast<std::uint16_t>(60 + (i * 37) % 300);
        r.HistRSeuil[k] = static_cast<std::uint16_t>(97 + i % 7);
    }
    r.RIsolement = r.HistRIsolement[NbMaxMesures];
    r.RSeuil = r.HistRSeuil[NbMaxMesures];
}

void BM_ActualiserKMT1000Echantillons(benchmark::State& etat)
{
    TInfosKMT infos;
    infos.NumAppareil = 12;
    infos.NomAppareil = QStringLiteral("Source 12");
    TFrameKMT ecran;
    ecran.ChangerLangue(LangueFrancais);
    ecran.Initialiser(infos);
    auto r = std::make_unique<TDonneesKMT>();
    r->Present = true;
    RemplirHistorique(*r, 1);
    ecran.Actualiser(*r);

    // Each pass is a monitoring tick after a new sample: the history has
    // moved by one, every value and the whole plot change.
    int i = NbMaxMesures + 1;
    for (auto _ : etat) {
        etat.PauseTiming();
        DecalerHistorique(*r);
        const int k = ++r->NbMesures;
        r->HistDate[k] = 46000.5 + i * 2.0 / 86400.0;
        r->HistRIsolement[k] = static_cast<std::uint16_t>(60 + (i * 37) % 300);
        r->HistRSeuil[k] = static_cast<std::uint16_t>(97 + i % 7);
        r->RIsolement = r->HistRIsolement[k];
        r->PreAlarme = (i & 1) != 0;
        ++i;
        etat.ResumeTiming();
        ecran.Actualiser(*r);
    }
}
BENCHMARK(BM_ActualiserKMT1000Echantillons)->Unit(benchmark::kMillisecond);

// The same tick as the operator sees it: the screen is shown on its history
// tab and repainted at once, so the cost of painting the plot and the changed
// texts is counted too.
void BM_ActualiserEtPeindreKMT1000Echantillons(benchmark::State& etat)
{
    TInfosKMT infos;
    infos.NumAppareil = 12;
    TFrameKMT ecran;
    ecran.ChangerLangue(LangueFrancais);
    ecran.Initialiser(infos);
    auto r = std::make_unique<TDonneesKMT>();
    r->Present = true;
    RemplirHistorique(*r, 1);
    ecran.show();
    ecran.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
    ecran.Actualiser(*r);
    QCoreApplication::processEvents();

    int i = NbMaxMesures + 1;
    for (auto _ : etat) {
        etat.PauseTiming();
        RemplirHistorique(*r, i++);
        etat.ResumeTiming();
        ecran.Actualiser(*r);
        ecran.repaint();
    }
}
BENCHMARK(BM_ActualiserEtPeindreKMT1000Echantillons)->Unit(benchmark::kMillisecond);

// The first refresh of a freshly opened screen: the cursor scroll bars are
// set up, which lets pending events run four times.
void BM_OuvrirKMT1000Echantillons(benchmark::State& etat)
{
    TInfosKMT infos;
    infos.NumAppareil = 12;
    auto r = std::make_unique<TDonneesKMT>();
    r->Present = true;
    RemplirHistorique(*r, 1);
    for (auto _ : etat) {
        TFrameKMT ecran;
        ecran.ChangerLangue(LangueFrancais);
        ecran.Initialiser(infos);
        ecran.Actualiser(*r);
    }
}
BENCHMARK(BM_OuvrirKMT1000Echantillons)->Unit(benchmark::kMillisecond);

} // namespace
