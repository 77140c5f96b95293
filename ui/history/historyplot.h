// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <vector>

#include "engine/game/history.h"

class QPainter;

namespace zelmo::ui {

// How the games of a history ended, as shares against the games played: the blocks binned
// into at most `columns` columns of about equal games, each a point of the plot.
struct HistoryPoint {
    double games = 0;  // games played at the end of the column
    double playerWins = 0;
    double computerWins = 0;
    double draws = 0;  // shares, 0..1
};
std::vector<HistoryPoint> historyPoints(const std::vector<engine::HistoryBlock>& blocks,
                                        int columns);

// The last block in words, for a screen reader (the window's accessible description).
QString historySummary(const engine::LearningHistory& history);

// A label of the games axis: "9 999", "2,5 тыс.", "9 квадрлн"; short at any count.
QString axisLabel(double games);

// Paints the plot into `area`: the shares of player wins, computer wins and draws per column
// against the games played, with both axes, their labels and a legend; an empty history says
// so. Sizes follow `font`; lines are antialiased, so it is sharp at any device pixel ratio.
void paintHistory(QPainter& painter, const QRect& area, const engine::LearningHistory& history,
                  const QFont& font);

}  // namespace zelmo::ui
