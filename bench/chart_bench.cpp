// Costs of the score chart: one drawing pass into the off-screen image, and a repaint without
// change, which only copies the cached image to the window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <memory>

#include "chart/scorechart.h"

namespace {

using namespace zelmo::chart;

struct ScoreChart {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    TBarSeries* series = chart->CreateBarSeries();

    ScoreChart() {
        chart->resize(217, 225);
        ConfigureScoreChart(*chart, *series);
        series->Add(3.0, QStringLiteral(u"Игрок"), AutoColor);
        series->Add(1.0, QStringLiteral(u"Компьютер"), AutoColor);
        series->Add(0.0, QStringLiteral(u"Ничья"), AutoColor);
    }
};

// A full pass into the off-screen image, as a paint after a score change runs it.
void BM_DrawingPass(benchmark::State& state) {
    ScoreChart s;
    QImage target(217, 225, QImage::Format_RGB32);
    for (auto _ : state) {
        s.series->SetYValue(0, s.series->GetYValue(0));  // marks the image stale
        QPainter painter(&target);
        s.chart->render(&painter);
    }
    state.counters["passes"] = static_cast<double>(s.chart->DrawPasses());
}
BENCHMARK(BM_DrawingPass);

// A paint with nothing changed: the cached image is copied.
void BM_RepaintWithoutChange(benchmark::State& state) {
    ScoreChart s;
    QImage target(217, 225, QImage::Format_RGB32);
    {
        QPainter painter(&target);
        s.chart->render(&painter);
    }
    const long passes = s.chart->DrawPasses();
    for (auto _ : state) {
        QPainter painter(&target);
        s.chart->render(&painter);
    }
    if (s.chart->DrawPasses() != passes) {
        state.SkipWithError("a repaint without change ran a drawing pass");
    }
}
BENCHMARK(BM_RepaintWithoutChange);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
