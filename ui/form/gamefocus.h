// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

namespace zelmo::ui {

class TForm1;
class TSpinEdit;

// The keyboard's way to the grades and back, for the session's grade keys: the spinners are no
// tab stops (the mouse reaches them), so a key puts the focus on one, and another key takes it
// back to where the digits play the cells again. The tab order stays as it is.
class GameFocus {
  public:
    explicit GameFocus(TForm1& form) : form_(form) {}

    // Focuses `spin` (its whole text selected where it may be typed, so that a typed grade
    // replaces it; the arrows step it); remembers where the focus was.
    void toGrade(TSpinEdit* spin);
    // From a grade, back to the push button that had the focus (while it can take it) or to the
    // window itself, where digits play; elsewhere it leaves the focus as it is.
    void backToGame();

  private:
    TForm1& form_;
    QPointer<QWidget> before_;  // where the focus was before the first grade key
};

}  // namespace zelmo::ui
