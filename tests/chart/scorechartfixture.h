#pragma once

#include <QString>

#include <initializer_list>
#include <memory>

#include "chart/scorechart.h"
#include "chart/tbarseries.h"
#include "chart/tcustomchart.h"
#include "recordingcanvas.h"

namespace zelmo::chart::testing {

// The score chart as the window builds it (configured, three points), drawn on a recording
// canvas whose text sizes the tests choose: "W" is 19 pixels high in the title font and 14 in
// Arial 8; "W" is 11 pixels wide and every other character 6.
struct ScoreChart {
    static constexpr int kWidth = 213;
    static constexpr int kHeight = 221;

    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    TBarSeries* series = nullptr;
    TRecordingCanvas canvas;

    explicit ScoreChart(std::initializer_list<double> scores = {0, 0, 0}) {
        chart->resize(217, 225);
        series = chart->CreateBarSeries();
        ConfigureScoreChart(*chart, *series);
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

    void Pass() {
        canvas.Clear();
        chart->Draw(canvas, TRect{0, 0, kWidth, kHeight});
    }
};

}  // namespace zelmo::chart::testing
