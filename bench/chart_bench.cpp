// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the score chart: one drawing pass into the off-screen image, a repaint without
// change, which only copies the cached image to the window, and the floor that the pass is
// measured against: the same lines, faces, clips and texts drawn straight with QPainter onto an
// image of the same size, antialiasing off. The run ends with the pass-to-floor ratio.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRegion>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/fontcache.h"
#include "chart/qtcanvas.h"
#include "ui/form/scorechart.h"

namespace {

using namespace zelmo::chart;

struct ScoreChart {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    TBarSeries* series = chart->CreateBarSeries();

    ScoreChart() {
        chart->resize(217, 225);
        zelmo::ui::ConfigureScoreChart(*chart, *series);
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

// One drawing operation of a pass, as plain QPainter calls would make it.
struct FloorOp {
    enum Kind { Line, Fill, Rect, Polygon, Clip, Unclip, Text } kind;
    QPolygon points;  // line ends, rectangle corners, polygon or clip vertices, text origin
    QPen pen;
    QBrush brush;
    int font = -1;
    QString text;
};

// Lists what a pass draws (its 3D operations come down to these flat ones), measuring texts
// with the fonts the off-screen canvas would choose, so the layout is the real one.
class FloorRecorder : public TChartCanvas3D {
  public:
    std::vector<FloorOp> ops;
    std::vector<QFont> fonts;

    void SetTextAlignment(unsigned flags) override { alignment_ = flags; }
    int MeasureTextWidth(const QString& text) override {
        return QFontMetrics(fonts[static_cast<std::size_t>(FontIndex())]).horizontalAdvance(text);
    }
    int MeasureTextHeight(const QString&) override {
        return QFontMetrics(fonts[static_cast<std::size_t>(FontIndex())]).height();
    }
    void TextOut2D(int x, int y, const QString& text) override {
        const int font = FontIndex();
        const QFontMetrics metrics(fonts[static_cast<std::size_t>(font)]);
        const int width = metrics.horizontalAdvance(text);
        const int left = (alignment_ & 6u) == 6u ? x - width / 2 : x;
        if (BackMode == TBackMode::Opaque) {
            Add(FloorOp::Fill, QPolygon(QRect(left, y, width, metrics.height())), Qt::NoPen,
                QColor(ToQRgb(BackColor)));
        }
        FloorOp op{FloorOp::Text,
                   QPolygon({QPoint(left, y + metrics.ascent())}),
                   QPen(QColor(ToQRgb(Font.Color))),
                   Qt::NoBrush,
                   font,
                   text};
        ops.push_back(op);
    }
    void Rectangle2D(const TRect& r) override {
        Add(FloorOp::Rect,
            QPolygon(QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1))), CurrentPen(),
            CurrentBrush());
    }
    void FillPolygon(std::span<const TPoint> points) override {
        Add(FloorOp::Polygon, Polygon(points), CurrentPen(), CurrentBrush());
    }
    void Unclip() override { Add(FloorOp::Unclip, {}, Qt::NoPen, Qt::NoBrush); }
    void MoveTo(int x, int y) override { pos_ = QPoint(x, y); }
    void LineTo(int x, int y) override {
        Add(FloorOp::Line, QPolygon({pos_, QPoint(x, y)}), CurrentPen(), Qt::NoBrush);
        pos_ = QPoint(x, y);
    }
    void FillRect(const TRect& r) override {
        Add(FloorOp::Fill,
            QPolygon(QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1))), Qt::NoPen,
            CurrentBrush());
    }
    void ClipPolygon(std::span<const TPoint> points) override {
        Add(FloorOp::Clip, Polygon(points), Qt::NoPen, Qt::NoBrush);
    }
    void ClipRectangle(const TRect& r) override {
        const std::array<TPoint, 4> corners = {
            TPoint{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
        ClipPolygon(corners);
    }

  private:
    int FontIndex() {
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i] == Font) {
                return static_cast<int>(i);
            }
        }
        keys_.push_back(Font);
        fonts.push_back(FontCache::MakeFont(Font));
        return static_cast<int>(fonts.size() - 1);
    }
    QPen CurrentPen() const {
        if (Pen.Style == TPenStyle::psClear) {
            return Qt::NoPen;
        }
        QPen pen(QColor(ToQRgb(Pen.Color)), Pen.Width > 1 ? Pen.Width : 0);
        if (Pen.SmallDots || Pen.Style == TPenStyle::psDot) {
            pen.setStyle(Qt::DotLine);
        }
        return pen;
    }
    QBrush CurrentBrush() const {
        if (Brush.Style != TBrushStyle::bsSolid) {
            return Qt::NoBrush;
        }
        return QColor(ToQRgb(Brush.Color));
    }
    static QPolygon Polygon(std::span<const TPoint> points) {
        QPolygon polygon;
        for (const TPoint& p : points) {
            polygon << QPoint(p.X, p.Y);
        }
        return polygon;
    }
    void Add(FloorOp::Kind kind, const QPolygon& points, const QPen& pen, const QBrush& brush) {
        ops.push_back(FloorOp{kind, points, pen, brush, -1, {}});
    }

    std::vector<TFontData> keys_;
    unsigned alignment_ = 0;
    QPoint pos_;
};

// The floor: the pass's operations replayed straight onto a QImage with one QPainter.
void BM_DrawingFloor(benchmark::State& state) {
    ScoreChart s;
    const QRect area = s.chart->DrawingArea();
    FloorRecorder recorder;
    s.chart->Draw(recorder, TRect{0, 0, area.width(), area.height()});
    QImage image(area.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        for (const FloorOp& op : recorder.ops) {
            switch (op.kind) {
                case FloorOp::Line:
                    painter.setPen(op.pen);
                    painter.drawLine(op.points[0], op.points[1]);
                    break;
                case FloorOp::Fill:
                    painter.fillRect(op.points.boundingRect(), op.brush);
                    break;
                case FloorOp::Rect:
                    painter.setPen(op.pen);
                    painter.setBrush(op.brush);
                    painter.drawRect(op.points.boundingRect());
                    break;
                case FloorOp::Polygon:
                    painter.setPen(op.pen);
                    painter.setBrush(op.brush);
                    painter.drawPolygon(op.points, Qt::OddEvenFill);
                    break;
                case FloorOp::Clip:
                    painter.setClipRegion(QRegion(op.points, Qt::OddEvenFill));
                    break;
                case FloorOp::Unclip:
                    painter.setClipping(false);
                    break;
                case FloorOp::Text:
                    painter.setFont(recorder.fonts[static_cast<std::size_t>(op.font)]);
                    painter.setPen(op.pen);
                    painter.drawText(op.points[0], op.text);
                    break;
            }
        }
    }
    state.counters["operations"] = static_cast<double>(recorder.ops.size());
}
BENCHMARK(BM_DrawingFloor);

// The console report, plus the drawing pass's time over the floor's (medians when repeated).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Plain text: the output is mostly read from logs.
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                // A median replaces the single runs of its benchmark once it comes.
                if (median || medians_.count(name) == 0) {
                    cpu_[name] = run.GetAdjustedCPUTime();
                }
                if (median) {
                    medians_[name] = true;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto pass = cpu_.find("BM_DrawingPass");
        const auto floor = cpu_.find("BM_DrawingFloor");
        if (pass != cpu_.end() && floor != cpu_.end() && floor->second > 0) {
            std::printf("drawing pass / plain QPainter floor (CPU time): %.0f / %.0f = %.2f\n",
                        pass->second, floor->second, pass->second / floor->second);
        }
    }

  private:
    std::map<std::string, double> cpu_;
    std::map<std::string, bool> medians_;
};

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
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
