// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "chart/chartexceptions.h"
#include "chart/tbarseries.h"
#include "chart/tcustomchart.h"
#include "recordingcanvas.h"
#include "ui/form/scorechart.h"

namespace zelmo::chart::testing {

// The score chart as the window builds it (configured, three points), drawn either on a
// recording canvas whose text sizes the tests choose ("W" is 19 pixels high in the title font
// and 14 in Arial 8; "W" is 11 pixels wide and every other character 6) or as a widget.
struct ScoreChart {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    TBarSeries* series = nullptr;
    TRecordingCanvas canvas;

    explicit ScoreChart(std::initializer_list<double> scores = {0, 0, 0}) {
        chart->resize(217, 225);
        series = chart->CreateBarSeries();
        zelmo::ui::ConfigureScoreChart(*chart, *series);
        series->Add(0.0, QStringLiteral(u"Игрок"), AutoColor);
        series->Add(0.0, QStringLiteral(u"Компьютер"), AutoColor);
        series->Add(0.0, QStringLiteral(u"Ничья"), AutoColor);
        int i = 0;
        for (double score : scores) {
            series->SetYValue(i++, score);
        }
        canvas.TextHeight = [](const TFontData& font, const QString&) {
            return font.Height == -16 ? 19 : 14;
        };
        canvas.TextWidth = [](const TFontData&, const QString& text) {
            return text == QStringLiteral("W") ? 11 : 6 * static_cast<int>(text.size());
        };
    }

    // One drawing pass of the 213 x 221 client area on the recording canvas.
    void Pass() {
        canvas.Records.clear();
        chart->Draw(canvas, TRect{0, 0, 213, 221});
    }
    // Paints the widget; returns what the window shows.
    QImage Paint() { return chart->grab().toImage(); }
    // A pixel of the off-screen image as 0xRRGGBB.
    QRgb Pixel(int x, int y) const {
        return chart->OffscreenCanvas().Image().pixel(x, y) & 0xFFFFFFu;
    }
};

// The kind and message of the chart error a call raises, or "none".
inline std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ChartException& e) {
        return std::string("Chart: ") + e.what();
    } catch (const AxisException& e) {
        return std::string("Axis: ") + e.what();
    } catch (const BarException& e) {
        return std::string("Bar: ") + e.what();
    } catch (const EListError& e) {
        return std::string("List: ") + e.what();
    }
    return "none";
}

}  // namespace zelmo::chart::testing
