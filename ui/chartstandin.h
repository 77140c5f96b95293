#pragma once

#include <QFrame>
#include <QList>
#include <QString>

#include <cstdint>

// A stand-in for the score chart until the real chart control is linked in: a framed panel
// at the chart's place that keeps the score points (value, label, colour) and lists them as
// text. It offers the calls the window makes on the chart's series, so replacing it changes
// only the types in the window.
namespace zelmo::ui {

class TChartStandIn;

// The series of the stand-in: the points in the order they were added, indexed from 0.
// Reading or writing a point that does not exist raises the range error.
class TBarSeriesStandIn {
  public:
    // A colour value 0x00BBGGRR; this one means "the series' own colour".
    using Colour = std::uint32_t;
    static constexpr Colour kAutoColour = 0x80000000u;

    explicit TBarSeriesStandIn(TChartStandIn* chart) : chart_(chart) {}

    // Appends a point and returns its index.
    int Add(double value, const QString& label, Colour colour = kAutoColour);
    double GetYValue(int index) const;
    // A different value redraws the chart; the same value changes nothing.
    void SetYValue(int index, double value);
    int Count() const { return static_cast<int>(points_.size()); }
    QString PointLabel(int index) const;

  private:
    struct Point {
        double value;
        QString label;
        Colour colour;
    };
    const Point& at(int index) const;

    TChartStandIn* chart_;
    QList<Point> points_;
};

// The panel: sunken edge, button-face background, the title and one line per point.
class TChartStandIn : public QFrame {
    Q_OBJECT
  public:
    explicit TChartStandIn(QWidget* parent);

    // The chart's one series (every call gives the same one).
    TBarSeriesStandIn* CreateBarSeries() { return &series_; }
    // The lines shown: "label: value" per point.
    QStringList lines() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TBarSeriesStandIn series_;
};

}  // namespace zelmo::ui
