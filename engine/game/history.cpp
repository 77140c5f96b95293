// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/game/history.h"

#include "engine/game/errors.h"

#include <utility>

namespace zelmo::engine {

namespace {

// The later block's grades and positions stand for the merged one: they were in force at its
// end, as in every block.
void mergeInto(HistoryBlock& into, const HistoryBlock& next) {
    into.playerWins += next.playerWins;
    into.computerWins += next.computerWins;
    into.draws += next.draws;
    into.computerBegan += next.computerBegan;
    into.grades = next.grades;
    into.positions = next.positions;
}

// One pass from the oldest block on: each block takes its successors while the sum stays
// within `limit` games (and, with `sameGrades`, while the grades agree). Any two neighbours
// left hold more than `limit` games together, so at most 2 * games / limit + 1 blocks remain.
std::vector<HistoryBlock> mergePass(const std::vector<HistoryBlock>& blocks, std::uint64_t limit,
                                    bool sameGrades) {
    std::vector<HistoryBlock> merged;
    merged.reserve(blocks.size());
    for (const HistoryBlock& block : blocks) {
        if (!merged.empty() && merged.back().games() + block.games() <= limit &&
            (!sameGrades || merged.back().grades == block.grades)) {
            mergeInto(merged.back(), block);
        } else {
            merged.push_back(block);
        }
    }
    return merged;
}

}  // namespace

void LearningHistory::add(const HistoryGame& game, std::uint32_t blockSize) {
    if (games_ >= kMaxGames) {
        throw EIntOverflow();
    }
    const std::uint32_t size = blockSize > 0 ? blockSize : 1;
    if (!open_ || openSize_ != size || openGames_ >= size || blocks_.back().grades != game.grades) {
        if (blocks_.size() >= kMaxBlocks) {
            coarsen();
        }
        blocks_.push_back(HistoryBlock{});
        blocks_.back().grades = game.grades;
        open_ = true;
        openSize_ = size;
        openGames_ = 0;
    }
    HistoryBlock& block = blocks_.back();
    switch (game.outcome) {
        case Outcome::PlayerWin:
            ++block.playerWins;
            break;
        case Outcome::ComputerWin:
            ++block.computerWins;
            break;
        case Outcome::Draw:
            ++block.draws;
            break;
    }
    block.computerBegan += game.computerBegan ? 1 : 0;
    block.positions = game.positions;
    ++openGames_;
    ++games_;
}

void LearningHistory::clear() {
    blocks_.clear();
    games_ = 0;
    open_ = false;
}

void LearningHistory::assign(std::vector<HistoryBlock> blocks) {
    blocks_ = std::move(blocks);
    games_ = 0;
    for (const HistoryBlock& block : blocks_) {
        games_ += block.games();
    }
    open_ = false;
}

void LearningHistory::coarsen() {
    // Blocks of up to four times the average size leave at most half of kMaxBlocks, so this
    // runs again only after kMaxBlocks / 2 more blocks: a constant cost per block on average.
    const std::uint64_t limit = (4 * games_ + kMaxBlocks - 1) / kMaxBlocks;
    blocks_ = mergePass(blocks_, limit, true);
    // Grades changed so often that keeping them apart leaves too little room: then a block
    // also takes neighbours graded otherwise.
    if (blocks_.size() > kMaxBlocks * 3 / 4) {
        blocks_ = mergePass(blocks_, limit, false);
    }
    open_ = false;
}

}  // namespace zelmo::engine
