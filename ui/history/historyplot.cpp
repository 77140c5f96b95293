// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/history/historyplot.h"

#include <QKeySequence>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>

#include <algorithm>
#include <array>
#include <cmath>

#include "ui/history/historykeeper.h"
#include "ui/history/historytexts.h"

namespace zelmo::ui {

namespace {

struct Series {
    double HistoryPoint::*share;
    const QString& name;
    QColor colour;
    Qt::PenStyle style;  // told apart without colour too
};

const std::array<Series, 3> kSeries = {{
    {&HistoryPoint::computerWins, historytexts::kComputerWins, QColor(0x2e, 0x9e, 0x3a),
     Qt::SolidLine},
    {&HistoryPoint::playerWins, historytexts::kPlayerWins, QColor(0xd3, 0x2f, 0x2f), Qt::DashLine},
    {&HistoryPoint::draws, historytexts::kDraws, QColor(0x1e, 0x5f, 0xc8), Qt::DashDotLine},
}};

// A round step for about `ticks` ticks up to `top`: 1, 2 or 5 times a power of ten.
double roundStep(double top, int ticks) {
    const double raw = std::max(1.0, top / ticks);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= raw) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

QString countText(double games) {
    return QLocale(QLocale::Russian).toString(static_cast<qlonglong>(games));
}

}  // namespace

QString axisLabel(double games) {
    // Up to 9 999 as they are; above, in thousands, millions... with one decimal at most, so
    // that a label keeps to its room between the ticks at any count the history allows.
    static const std::array<QString, 5> kUnits = {historytexts::kThousands, historytexts::kMillions,
                                                  historytexts::kBillions, historytexts::kTrillions,
                                                  historytexts::kQuadrillions};
    if (games < 10000) {
        return countText(games);
    }
    double unit = 1000;
    std::size_t index = 0;
    while (index + 1 < kUnits.size() && games >= unit * 1000) {
        unit *= 1000;
        ++index;
    }
    const double value = std::round(games / unit * 10) / 10;
    return QStringLiteral("%1 %2").arg(QLocale(QLocale::Russian).toString(value, 'g', 4),
                                       kUnits[index]);
}

namespace {

void paintLegend(QPainter& painter, const QRectF& line, const QFontMetricsF& metrics) {
    double x = line.left();
    const double swatch = metrics.height() * 1.6;
    for (const Series& series : kSeries) {
        painter.setPen(QPen(series.colour, 2.5, series.style, Qt::FlatCap));
        const double y = line.center().y();
        painter.drawLine(QPointF(x, y), QPointF(x + swatch, y));
        x += swatch + metrics.height() * 0.4;
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(x, line.top(), metrics.horizontalAdvance(series.name) + 2, line.height()),
            Qt::AlignLeft | Qt::AlignVCenter, series.name);
        x += metrics.horizontalAdvance(series.name) + metrics.height();
    }
}

}  // namespace

std::vector<HistoryPoint> historyPoints(const std::vector<engine::HistoryBlock>& blocks,
                                        int columns) {
    std::vector<HistoryPoint> points;
    double total = 0;
    for (const engine::HistoryBlock& block : blocks) {
        total += static_cast<double>(block.games());
    }
    if (total <= 0 || columns < 1) {
        return points;
    }
    const double perColumn = std::max(1.0, std::ceil(total / columns));
    double played = 0;
    double games = 0;
    double playerWins = 0;
    double computerWins = 0;
    double draws = 0;
    for (const engine::HistoryBlock& block : blocks) {
        played += static_cast<double>(block.games());
        games += static_cast<double>(block.games());
        playerWins += static_cast<double>(block.playerWins);
        computerWins += static_cast<double>(block.computerWins);
        draws += static_cast<double>(block.draws);
        if (games >= perColumn || &block == &blocks.back()) {
            if (games > 0) {
                points.push_back({played, playerWins / games, computerWins / games, draws / games});
            }
            games = playerWins = computerWins = draws = 0;
        }
    }
    return points;
}

QString historySummary(const engine::LearningHistory& history) {
    if (history.empty() || history.games() == 0) {
        return historytexts::kEmpty;
    }
    const engine::HistoryBlock& last = history.blocks().back();
    const double games = static_cast<double>(last.games());
    const auto percent = [games](std::uint64_t count) {
        return QString::number(std::lround(100.0 * static_cast<double>(count) / games));
    };
    const double all = static_cast<double>(history.games());
    return historytexts::kSummary.arg(countText(all - games + 1), countText(all),
                                      percent(last.playerWins), percent(last.computerWins),
                                      percent(last.draws), countText(all));
}

void paintHistory(QPainter& painter, const QRect& area, const engine::LearningHistory& history,
                  const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(font);
    painter.fillRect(area, Qt::white);
    const QFontMetricsF metrics(font);
    const double line = metrics.height();
    if (history.games() == 0) {
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, historytexts::kEmpty);
        painter.restore();
        return;
    }
    // The legend on top, the share axis on the left, the games axis and its name below.
    const QRectF legend(area.left() + line, area.top() + line * 0.5, area.width() - 2 * line,
                        line * 1.4);
    const double left = area.left() + metrics.horizontalAdvance(QStringLiteral("100 %")) + line;
    // Room on the right for half of the last games label.
    const QRectF plot(left, legend.bottom() + line, area.right() - 2.5 * line - left,
                      area.bottom() - 3 * line - (legend.bottom() + line));
    if (plot.width() < line || plot.height() < line) {
        painter.restore();
        return;
    }
    paintLegend(painter, legend, metrics);

    const std::vector<HistoryPoint> points =
        historyPoints(history.blocks(), std::max(1, static_cast<int>(plot.width() / 3)));
    const double total = points.back().games;
    const auto xOf = [&plot, total](double games) {
        return plot.left() + plot.width() * games / total;
    };
    const auto yOf = [&plot](double share) { return plot.bottom() - plot.height() * share; };

    // Grid and the share axis: every quarter.
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double y = yOf(quarter / 4.0);
        painter.setPen(QPen(quarter == 0 ? Qt::black : QColor(0xdd, 0xdd, 0xdd), 1.0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), y - line / 2, left - area.left() - line / 3, line),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1 %").arg(quarter * 25));
    }
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    // The games axis: round steps, labelled where they do not collide.
    const double step = roundStep(total, std::max(1, static_cast<int>(plot.width() / (8 * line))));
    for (double games = 0; games <= total + 0.5; games += step) {
        const double x = xOf(games);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + line / 3));
        painter.drawText(QRectF(x - 4 * line, plot.bottom() + line / 3, 8 * line, line),
                         Qt::AlignHCenter | Qt::AlignTop, axisLabel(games));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + 1.5 * line, plot.width(), line),
                     Qt::AlignHCenter | Qt::AlignTop, historytexts::kGamesAxis);

    // The three shares; a history of one column is a row of dots.
    painter.setClipRect(plot.adjusted(-3, -3, 3, 3));
    for (const Series& series : kSeries) {
        QPainterPath path;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const QPointF at(xOf(points[i].games), yOf(points[i].*series.share));
            if (i == 0) {
                path.moveTo(xOf(0), at.y());
            }
            path.lineTo(at);
        }
        painter.setPen(QPen(series.colour, 2.0, series.style, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.restore();
}

}  // namespace zelmo::ui
