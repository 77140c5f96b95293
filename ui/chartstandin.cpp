#include "ui/chartstandin.h"

#include <QFontMetrics>
#include <QPainter>

#include "engine/errors.h"
#include "ui/fonts.h"
#include "ui/texts.h"

namespace zelmo::ui {

int TBarSeriesStandIn::Add(double value, const QString& label, Colour colour) {
    points_.append(Point{value, label, colour});
    chart_->update();
    return Count() - 1;
}

const TBarSeriesStandIn::Point& TBarSeriesStandIn::at(int index) const {
    if (index < 0 || index >= Count()) {
        throw engine::ERangeError();
    }
    return points_[index];
}

double TBarSeriesStandIn::GetYValue(int index) const {
    return at(index).value;
}

QString TBarSeriesStandIn::PointLabel(int index) const {
    return at(index).label;
}

void TBarSeriesStandIn::SetYValue(int index, double value) {
    if (at(index).value == value) {
        return;
    }
    points_[index].value = value;
    chart_->update();
}

TChartStandIn::TChartStandIn(QWidget* parent) : QFrame(parent), series_(this) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

QStringList TChartStandIn::lines() const {
    QStringList result;
    for (int i = 0; i < series_.Count(); ++i) {
        result.append(
            QStringLiteral("%1: %2").arg(series_.PointLabel(i)).arg(series_.GetYValue(i)));
    }
    return result;
}

void TChartStandIn::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    QFont titleFont(fonts::arialFamily());
    titleFont.setPixelSize(16);
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    const QRect inner = contentsRect();
    const int titleHeight = QFontMetrics(titleFont).height();
    painter.drawText(QRect(inner.left(), inner.top() + 2, inner.width(), titleHeight),
                     Qt::AlignHCenter | Qt::AlignTop, texts::kScoreTitle);

    painter.setFont(font());
    const int lineHeight = QFontMetrics(font()).height();
    int y = inner.top() + 2 + titleHeight + lineHeight;
    for (const QString& line : lines()) {
        painter.drawText(QRect(inner.left() + 8, y, inner.width() - 16, lineHeight),
                         Qt::AlignLeft | Qt::AlignTop, line);
        y += lineHeight;
    }
}

}  // namespace zelmo::ui
