// Opening the configuration screen: the port scan over COM1..COM50 with this
// machine's real serial devices.
#include "data/ConfigSet.h"
#include "platform/SondePort.h"
#include "screens/CadreConfiguration.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace {

// The 50 probes alone, without the screen.
void BM_SondePorts50(benchmark::State& etat)
{
    int presents = 0;
    for (auto _ : etat) {
        presents = 0;
        for (int n = PremierPortCom; n <= DernierPortCom; ++n)
            presents += SonderPort(n) ? 1 : 0;
        benchmark::DoNotOptimize(presents);
    }
    etat.counters["ports_presents"] = presents;
}
BENCHMARK(BM_SondePorts50)->Unit(benchmark::kMillisecond);

// The whole opening as the main window makes it: language, handle, record,
// scan with its progress caption and event processing after each port.
void BM_OuvertureConfiguration(benchmark::State& etat)
{
    TConfigSet config;
    std::memset(&config, 0, sizeof config);
    config.PortCom = 1;
    TInfosConfiguration infos;
    int listes = 0;
    for (auto _ : etat) {
        TFrameConfiguration ecran;
        ecran.ChangerLangue(LangueFrancais);
        ecran.Initialiser(infos);
        ecran.Actualiser(config);
        listes = ecran.NbPortsListes();
        benchmark::DoNotOptimize(listes);
    }
    etat.counters["ports_listes"] = listes;
}
BENCHMARK(BM_OuvertureConfiguration)->Unit(benchmark::kMillisecond);

} // namespace
