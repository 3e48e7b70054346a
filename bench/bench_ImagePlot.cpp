// Cost of one full redraw of the measurement plot as the KMT screen does it
// every second: a full history on the screen's 551 x 223 picture.
#include "devices/ImagePlot.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

void BM_ImagePlotUpdate(benchmark::State& etat)
{
    TImagePlot plot;
    plot.resize(551, 223);
    plot.DefinirCouleurFond(QColor(255, 255, 255));
    plot.DefinirCouleurCourbe2(QColor(255, 0, 0));
    plot.DefinirCouleurCourbe3(QColor(0, 0, 255));
    plot.DefinirCouleurRepereX1(QColor(0, 128, 128));
    plot.DefinirCouleurRepereX2(QColor(128, 0, 128));
    const int n = int(etat.range(0));
    for (int i = 1; i <= n; ++i) {
        plot.ValeursX[i] = 45000.0 + i * 2.0 / 86400.0;
        // A noisy measurement swinging over most of the height.
        plot.ValeursY1[i] = 800.0 + 500.0 * std::sin(i / 40.0) + 150.0 * std::sin(i * 1.7);
        plot.ValeursY2[i] = 300.0;
        plot.ValeursY3[i] = 600.0;
    }
    plot.DefinirNbValeurs(n);
    plot.DefinirRepereX1(1);
    plot.DefinirRepereX2(n);
    for (auto _ : etat) {
        plot.Update();
        benchmark::DoNotOptimize(plot.Image().constBits());
    }
}
BENCHMARK(BM_ImagePlotUpdate)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
