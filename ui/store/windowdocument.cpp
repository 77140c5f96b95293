// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/store/windowdocument.h"

#include <utility>

#include "ui/form/unit1.h"
#include "ui/history/historykeeper.h"

namespace zelmo::ui {

engine::DocumentView WindowDocument::view() const {
    return {form_.memory(), form_.entryCount(), history_.history(), form_.spinnerGrades()};
}

void WindowDocument::replace(engine::MemoryDocument& document) {
    const engine::MemorySnapshot& positions = document.positions;
    form_.restoreMemory(positions.memory, positions.entryCount);
    form_.setGrades(document.gradesInForce());
    history_.replace(std::move(document.history));
}

bool WindowDocument::gameRunning() const {
    return form_.acceptingMoves();
}

}  // namespace zelmo::ui
