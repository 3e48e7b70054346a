// Journal store costs: a tail load must not grow with the file, an append is
// one open-seek-write-close.
#include "data/DateVeilleur.h"
#include "data/JournalLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

namespace {

QString FichierDe(QTemporaryDir& dossier, qint64 nbEnregistrements)
{
    const QString chemin = QDir(dossier.path()).filePath(QStringLiteral("Log.dat"));
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    TEntreeLog e;
    std::memset(&e, 0, sizeof e);
    e.Code = 7;
    e.DateHeure = DateVeilleur::Maintenant();
    QByteArray bloc;
    for (int i = 0; i < 10000; ++i)
        bloc.append(reinterpret_cast<const char*>(&e), sizeof e);
    for (qint64 n = 0; n < nbEnregistrements; n += 10000)
        f.write(bloc.constData(), std::min<qint64>(10000, nbEnregistrements - n) * qint64(sizeof e));
    return chemin;
}

void BM_ChargerJournal(benchmark::State& etat)
{
    QTemporaryDir dossier;
    const QString chemin = FichierDe(dossier, etat.range(0));
    TJournalLog journal(chemin, QStringLiteral("EvtBenchJournal"));
    auto tampon = std::make_unique<TTamponJournal>();
    for (auto _ : etat) {
        journal.ChargerJournal(*tampon, 0);
        benchmark::DoNotOptimize(tampon->NbEntrees);
    }
    TEvenementNomme::Supprimer(QStringLiteral("EvtBenchJournal"));
}
BENCHMARK(BM_ChargerJournal)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_AjouterEntreeLog(benchmark::State& etat)
{
    QTemporaryDir dossier;
    TJournalLog journal(QDir(dossier.path()).filePath(QStringLiteral("Log.dat")), QStringLiteral("EvtBenchJournal"));
    TEntreeLog e;
    std::memset(&e, 0, sizeof e);
    e.Code = 7;
    for (auto _ : etat)
        journal.AjouterEntreeLog(e);
    TEvenementNomme::Supprimer(QStringLiteral("EvtBenchJournal"));
}
BENCHMARK(BM_AjouterEntreeLog)->Unit(benchmark::kMicrosecond);

} // namespace
