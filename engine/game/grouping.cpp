// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/grouping.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelmo::engine {

int answerStage(const Board& position) {
    int marks = 0;
    for (int k = 1; k <= Board::kCells; ++k) {
        marks += position.is(k, kCross) || position.is(k, kNought) ? 1 : 0;
    }
    const int stage = marks / 2 + 1;
    return stage < kAnswerStages ? stage : kAnswerStages;
}

std::vector<StageGroup> groupEntries(const PositionMemory& memory, std::int32_t count,
                                     EntryOrder order) {
    const int last = std::clamp<std::int32_t>(count, 0, PositionMemory::Capacity);
    std::array<std::vector<int>, kAnswerStages> stages;
    // Walking the newest first makes the Newest order, and a stable sort by plays keeps the
    // order learnt among equals when the walk goes the other way.
    if (order == EntryOrder::Newest) {
        for (int j = last; j >= 1; --j) {
            stages[static_cast<std::size_t>(answerStage(memory[j].Position) - 1)].push_back(j);
        }
    } else {
        for (int j = 1; j <= last; ++j) {
            stages[static_cast<std::size_t>(answerStage(memory[j].Position) - 1)].push_back(j);
        }
    }
    std::vector<StageGroup> groups;
    for (int s = 1; s <= kAnswerStages; ++s) {
        std::vector<int>& entries = stages[static_cast<std::size_t>(s - 1)];
        if (entries.empty()) {
            continue;
        }
        if (order == EntryOrder::MostPlayed) {
            std::stable_sort(entries.begin(), entries.end(),
                             [&memory](int a, int b) { return memory.plays(a) > memory.plays(b); });
        }
        groups.push_back(StageGroup{s, std::move(entries)});
    }
    return groups;
}

}  // namespace zelmo::engine
