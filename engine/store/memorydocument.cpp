// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/store/memorydocument.h"

#include <utility>

namespace zelmo::engine {

Grades MemoryDocument::gradesInForce() const {
    if (grades) {
        return *grades;
    }
    if (!history.empty()) {
        return gradesOf(history.blocks().back().grades);
    }
    return Grades{};
}

DocumentView FlowDocument::view() const {
    return {flow_.memory(), flow_.entryCount(), history_, grades_};
}

void FlowDocument::replace(MemoryDocument& document) {
    MemorySnapshot& positions = document.positions;
    flow_.restoreMemory(positions.memory, positions.entryCount);
    grades_ = document.grades;
    history_ = std::move(document.history);
}

}  // namespace zelmo::engine
