// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/store/memorydocument.h"

namespace zelmo::ui {

class HistoryKeeper;
class TForm1;

// The window's memory as one document: the positions in the form's game flow, the learning
// history in the history keeper, the grades in force in the three spinners. The memory store
// and the file commands (open, save a copy, restore) read and replace it only as a whole.
class WindowDocument : public engine::LiveDocument {
  public:
    WindowDocument(TForm1& form, HistoryKeeper& history) : form_(form), history_(history) {}

    engine::DocumentView view() const override;
    // The memory, the history and the spinners all take the document's (its grades in force:
    // those kept, else its history's last, else the grades at start).
    void replace(engine::MemoryDocument& document) override;
    bool gameRunning() const override;

  private:
    TForm1& form_;
    HistoryKeeper& history_;
};

}  // namespace zelmo::ui
