// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/explanation.h"

#include "engine/game/texts.h"

namespace zelmo::engine {

namespace {

using texts::format;

std::string signedNumber(std::int32_t value) {
    return value > 0 ? "+" + std::to_string(value) : std::to_string(value);
}

// The best answer as comp() picks it: the highest weight, the earliest among equals.
ExplainedAnswer best(const MoveExplanation& move) {
    ExplainedAnswer chosen = move.answer(0);
    const int count = move.answerCount();
    for (int k = 1; k < count; ++k) {
        const ExplainedAnswer answer = move.answer(k);
        if (answer.weight > chosen.weight) {
            chosen = answer;
        }
    }
    return chosen;
}

}  // namespace

int MoveExplanation::answerCount() const {
    int count = 0;
    while (count < MemoryEntry::kSlots && entrySlots[count + 1].Answer != 0) {
        ++count;
    }
    return count;
}

ExplainedAnswer MoveExplanation::answer(int k) const {
    const MoveSlot& slot = entrySlots[k + 1];
    return {rotate(slot.Answer, turns), slot.Weight};
}

std::vector<PlayedMove> inPlayOrder(const std::vector<MoveExplanation>& computer,
                                    const std::vector<MoveExplanation>& cross) {
    std::vector<PlayedMove> moves;
    moves.reserve(computer.size() + cross.size());
    auto c = computer.begin();
    auto x = cross.begin();
    while (c != computer.end() || x != cross.end()) {
        const bool isCross = c == computer.end() || (x != cross.end() && x->marks < c->marks);
        moves.push_back({isCross ? &*x++ : &*c++, isCross});
    }
    return moves;
}

std::string explanationText(const MoveExplanation& move) {
    namespace t = texts::explain;
    std::string text = format(t::kCell, std::to_string(move.cell));
    if (move.rule == MoveRule::NewPosition) {
        return text + format(t::kNew, std::to_string(move.entry));
    }
    if (move.rule == MoveRule::TableFull) {
        return text + std::string(t::kFull);
    }
    text += format(t::kFound, std::to_string(move.entry),
                   std::string(t::kTurns[static_cast<std::size_t>(move.turns & 3)]));
    std::string answers;
    const int count = move.answerCount();
    for (int k = 0; k < count; ++k) {
        const ExplainedAnswer answer = move.answer(k);
        answers += (k > 0 ? ", " : "") +
                   format(t::kAnswer, std::to_string(answer.cell), signedNumber(answer.weight));
    }
    text += format(t::kAnswers, answers);
    const ExplainedAnswer top = best(move);
    switch (move.rule) {
        case MoveRule::BestPositive:
            return text +
                   format(t::kBestPositive, std::to_string(top.cell), signedNumber(top.weight));
        case MoveRule::AllTried:
            return text + format(t::kAllTried, std::to_string(top.cell), signedNumber(top.weight));
        default:
            return text + format(t::kUntried, signedNumber(top.weight));
    }
}

}  // namespace zelmo::engine
