// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/explanation.h"

#include "engine/game/texts.h"

namespace zelmo::engine {

namespace {

std::string signedNumber(std::int32_t value) {
    return value > 0 ? "+" + std::to_string(value) : std::to_string(value);
}

// "%1", "%2", "%3" in `pattern` replaced by the arguments.
std::string fill(std::string_view pattern, const std::string& a1, const std::string& a2 = {},
                 const std::string& a3 = {}) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '3') {
            out += next == '1' ? a1 : next == '2' ? a2 : a3;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// The best answer as comp() picks it: the highest weight, the earliest among equals.
const ExplainedAnswer& best(const MoveExplanation& move) {
    const ExplainedAnswer* chosen = &move.answers[0];
    for (int k = 1; k < move.answerCount; ++k) {
        if (move.answers[static_cast<std::size_t>(k)].weight > chosen->weight) {
            chosen = &move.answers[static_cast<std::size_t>(k)];
        }
    }
    return *chosen;
}

}  // namespace

std::string explanationText(const MoveExplanation& move) {
    namespace t = texts::explain;
    std::string text = fill(t::kCell, std::to_string(move.cell));
    if (move.rule == MoveRule::NewPosition) {
        return text + fill(t::kNew, std::to_string(move.entry));
    }
    if (move.rule == MoveRule::TableFull) {
        return text + std::string(t::kFull);
    }
    text += fill(t::kFound, std::to_string(move.entry),
                 std::string(t::kTurns[static_cast<std::size_t>(move.turns & 3)]));
    std::string answers;
    for (int k = 0; k < move.answerCount; ++k) {
        const ExplainedAnswer& answer = move.answers[static_cast<std::size_t>(k)];
        answers += (k > 0 ? ", " : "") +
                   fill(t::kAnswer, std::to_string(answer.cell), signedNumber(answer.weight));
    }
    text += fill(t::kAnswers, answers);
    const ExplainedAnswer& top = best(move);
    switch (move.rule) {
        case MoveRule::BestPositive:
            return text +
                   fill(t::kBestPositive, std::to_string(top.cell), signedNumber(top.weight));
        case MoveRule::AllTried:
            return text + fill(t::kAllTried, std::to_string(top.cell), signedNumber(top.weight));
        default:
            return text + fill(t::kUntried, signedNumber(top.weight));
    }
}

}  // namespace zelmo::engine
