// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the score chart's drawing pass into its off-screen image with arbitrary point
// values (NaN, infinities, huge and tiny numbers among them), chart sizes, device pixel ratios
// (1, 1.5, 2), axis ranges and bar, page, mark and 3D settings; now and then through the
// widget's own paint. A pass must end in time bounded by the image size
// (libFuzzer's -timeout turns a hang into a finding) and must never crash or touch memory
// it does not own. Property setters may refuse a value with the chart's own errors; a pass
// may raise them too, but nothing else.
#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QImage>
#include <QString>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>

#include "chart/chartexceptions.h"
#include "chart/tbarseries.h"
#include "chart/tcustomchart.h"
#include "chart/tseriesmarks.h"
#include "ui/form/scorechart.h"

namespace {

using namespace zelmo::chart;

// Runs a call that the chart may refuse with one of its own errors.
void tolerant(const std::function<void()>& call) {
    try {
        call();
    } catch (const ChartException&) {
    } catch (const AxisException&) {
    } catch (const BarException&) {
    } catch (const EListError&) {
    }
}

double someDouble(FuzzedDataProvider& fdp) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    static constexpr std::array<double, 20> kValues = {0.0,
                                                       1.0,
                                                       3.0,
                                                       -1.0,
                                                       0.5,
                                                       99999.0,
                                                       1e7,
                                                       -1e7,
                                                       1e15,
                                                       1e300,
                                                       -1e300,
                                                       1e-300,
                                                       4.9e-324,
                                                       2.5,
                                                       1.0e-9,
                                                       2147483648.0,
                                                       1.7976931348623157e308,
                                                       -kInf,
                                                       kInf,
                                                       std::numeric_limits<double>::quiet_NaN()};
    if (fdp.ConsumeIntegralInRange<int>(0, 3) != 0) {
        return kValues[fdp.ConsumeIntegralInRange<std::size_t>(0, kValues.size() - 1)];
    }
    return fdp.ConsumeFloatingPoint<double>();
}

// Integer settings stay near the range a window would use; the values just outside it try the
// setters' own checks. Only the data values (someDouble) range over everything.
int someInt(FuzzedDataProvider& fdp, int low, int high) {
    if (fdp.ConsumeIntegralInRange<int>(0, 7) == 0) {
        const std::array<int, 4> edges = {low - 1, high + 1, -1, 0};
        return edges[fdp.ConsumeIntegralInRange<std::size_t>(0, edges.size() - 1)];
    }
    return fdp.ConsumeIntegralInRange<int>(low, high);
}

template <typename Enum>
Enum someEnum(FuzzedDataProvider& fdp, int count) {
    return static_cast<Enum>(fdp.ConsumeIntegralInRange<int>(0, count - 1));
}

void configureAxis(FuzzedDataProvider& fdp, TChartAxis& axis) {
    switch (fdp.ConsumeIntegralInRange<int>(0, 11)) {
        case 0:
            axis.SetAutomatic(fdp.ConsumeBool());
            break;
        case 1:
            axis.SetAutomaticMinimum(fdp.ConsumeBool());
            break;
        case 2:
            axis.SetAutomaticMaximum(fdp.ConsumeBool());
            break;
        case 3:
            tolerant([&] { axis.SetMinimum(someDouble(fdp)); });
            break;
        case 4:
            tolerant([&] { axis.SetMaximum(someDouble(fdp)); });
            break;
        case 5:
            tolerant([&] { axis.SetIncrement(someDouble(fdp)); });
            break;
        case 6:
            axis.SetLogarithmic(fdp.ConsumeBool());
            break;
        case 7:
            axis.SetInverted(fdp.ConsumeBool());
            break;
        case 8:
            axis.SetVisible(fdp.ConsumeBool());
            break;
        case 9:
            axis.SetLabelStyle(someEnum<TAxisLabelStyle>(fdp, 5));
            break;
        case 10:
            tolerant([&] { axis.SetLabelsSeparation(someInt(fdp, 0, 200)); });
            break;
        default:
            axis.SetLabels(fdp.ConsumeBool());
            break;
    }
}

void configure(FuzzedDataProvider& fdp, TChart& chart, TBarSeries& series) {
    switch (fdp.ConsumeIntegralInRange<int>(0, 15)) {
        case 0:
        case 1:
            configureAxis(fdp, chart.LeftAxis());
            break;
        case 2:
            configureAxis(fdp, chart.BottomAxis());
            break;
        case 3: {
            const int index = fdp.ConsumeIntegralInRange<int>(0, series.Count());
            if (index < series.Count()) {
                tolerant([&] { series.SetYValue(index, someDouble(fdp)); });
            } else if (series.Count() < 12) {
                tolerant([&] { series.Add(someDouble(fdp), QStringLiteral("W"), AutoColor); });
            }
            break;
        }
        case 4:
            tolerant([&] { chart.SetChart3DPercent(someInt(fdp, 1, 100)); });
            break;
        case 5:
            chart.SetView3D(fdp.ConsumeBool());
            break;
        case 6:
            tolerant([&] { chart.View3DOptions().SetRotation(someInt(fdp, 0, 360)); });
            tolerant([&] { chart.View3DOptions().SetElevation(someInt(fdp, 0, 360)); });
            break;
        case 7:
            tolerant([&] { chart.View3DOptions().SetZoom(someInt(fdp, 1, 500)); });
            break;
        case 8:
            tolerant([&] { series.SetBarWidthPercent(someInt(fdp, 1, 100)); });
            break;
        case 9:
            tolerant([&] { chart.SetMaxPointsPerPage(someInt(fdp, 0, 12)); });
            tolerant([&] { chart.SetPage(someInt(fdp, 0, 12)); });
            break;
        case 10:
            series.Marks().SetVisible(fdp.ConsumeBool());
            break;
        case 11:
            series.SetUseYOrigin(fdp.ConsumeBool());
            tolerant([&] { series.SetYOrigin(someDouble(fdp)); });
            break;
        case 12:
            series.SetBarStyle(fdp.ConsumeBool() ? TBarStyle::bsPyramid : TBarStyle::bsRectangle);
            break;
        case 13:
            chart.SetMarginLeft(someInt(fdp, 0, 50));
            chart.SetMarginTop(someInt(fdp, 0, 50));
            break;
        case 14:
            series.Marks().SetArrowLength(someInt(fdp, -50, 50));
            break;
        default:
            chart.SetClipPoints(fdp.ConsumeBool());
            break;
    }
}

// One pass into the off-screen image at `ratio` device pixels per pixel, sized as the widget's
// paint sizes it: the client size times the ratio, rounded. The chart is laid out in pixels of
// the client size, as the widget lays it out; the canvas scales them to device pixels.
void pass(TChart& chart, int width, int height, double ratio) {
    TQtChartCanvas& canvas = chart.OffscreenCanvas();
    const QSize device = QSize(width, height) * ratio;
    canvas.BeginPaint(device, ratio);
    tolerant([&] { chart.Draw(canvas, TRect{0, 0, width, height}); });
    if (canvas.Painting()) {
        canvas.EndPaint();
    }
}

// The widget's own paint at `ratio`, onto an image of that ratio: the pass, then the copy of its
// image onto the device pixels inside the edge. The paint keeps every error to itself.
void paint(TChart& chart, double ratio) {
    QImage target(chart.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(ratio);
    chart.render(&target);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt must not see libFuzzer's options. The application is never destroyed: libFuzzer ends
    // the process with exit(), and a QApplication torn down among the static destructors
    // crashes in Qt's own input-device cleanup.
    static int argc = 1;
    static char name[] = "chart_fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    auto chart = std::make_unique<TChart>();
    TBarSeries* series = chart->CreateBarSeries();
    zelmo::ui::ConfigureScoreChart(*chart, *series);
    series->Add(0.0, QStringLiteral(u"Игрок"), AutoColor);
    series->Add(0.0, QStringLiteral(u"Компьютер"), AutoColor);
    series->Add(0.0, QStringLiteral(u"Ничья"), AutoColor);

    // Up to four passes, each after a few changes: nothing may carry over between them.
    for (int passes = 0; passes < 4 && fdp.remaining_bytes() > 0; ++passes) {
        const int changes = fdp.ConsumeIntegralInRange<int>(1, 8);
        for (int i = 0; i < changes; ++i) {
            configure(fdp, *chart, *series);
        }
        // Sizes from nothing to about the window's, sometimes far larger; mostly small, so that
        // there are many runs a second.
        const int limit = fdp.ConsumeIntegralInRange<int>(0, 7) == 0 ? 1200 : 320;
        const int width = fdp.ConsumeIntegralInRange<int>(0, limit);
        const int height = fdp.ConsumeIntegralInRange<int>(0, limit);
        // The screens the window meets: plain, 150 % and 200 %.
        static constexpr std::array<double, 3> kRatios = {1.0, 1.5, 2.0};
        const double ratio =
            kRatios[fdp.ConsumeIntegralInRange<std::size_t>(0, kRatios.size() - 1)];
        chart->resize(width + 4, height + 4);
        // Three in four passes draw straight into the off-screen image (and an input whose bytes
        // ran out does); the fourth goes through the widget's paint.
        if (fdp.ConsumeIntegralInRange<int>(0, 3) == 3) {
            paint(*chart, ratio);
        } else {
            pass(*chart, width, height, ratio);
        }
    }
    return 0;
}
