// SPDX-License-Identifier: GPL-3.0-or-later
#include "train/history.h"
#include "engine/game/lesson.h"
#include "engine/store/memoryfile.h"
#include "train/texts.h"

#include <memory>
#include <ostream>

namespace zelmo::train {

void writeHistoryCsv(const engine::LearningHistory& history, std::ostream& out) {
    out << texts::kHistoryCsvHeader << '\n';
    std::uint64_t games = 0;
    for (const engine::HistoryBlock& block : history.blocks()) {
        games += block.games();
        out << games << ',' << block.games() << ',' << block.computerBegan << ','
            << block.playerWins << ',' << block.computerWins << ',' << block.draws << ','
            << block.grades.win << ',' << block.grades.loss << ',' << block.grades.draw << ','
            << block.positions << '\n';
    }
}

bool printHistory(const std::string& path, std::ostream& out, std::ostream& err) {
    auto document = std::make_unique<engine::MemoryDocument>();
    const engine::MemoryLoadResult loaded = engine::loadMemoryFile(path, *document, std::nullopt);
    if (loaded.status != engine::MemoryFileStatus::Ok) {
        err << texts::kProgram << ": " << loaded.message << '\n';
        return false;
    }
    writeHistoryCsv(document->history, out);
    out.flush();
    if (!out) {
        err << texts::kProgram << ": " << texts::kCannotWrite << ' ' << texts::kHistoryStdout
            << '\n';
        return false;
    }
    return true;
}

}  // namespace zelmo::train
