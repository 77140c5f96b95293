// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form/gamefocus.h"

#include "ui/form/unit1.h"
#include "ui/spin/spinedit.h"
#include "ui/widgets/controls.h"

namespace zelmo::ui {

namespace {

bool isGrade(const QWidget* widget) {
    return qobject_cast<const TSpinEdit*>(widget) != nullptr;
}

}  // namespace

void GameFocus::toGrade(TSpinEdit* spin) {
    QWidget* focus = form_.focusWidget();
    if (!isGrade(focus)) {
        before_ = focus;
    }
    spin->setFocus(Qt::OtherFocusReason);
    // A typed grade replaces the old one; the win grade takes no typing, so nothing to select.
    if (spin->editorEnabled()) {
        spin->selectAll();
    }
}

void GameFocus::backToGame() {
    if (!isGrade(form_.focusWidget())) {
        return;
    }
    // Digits play on the window and on a push button that passes them on.
    const bool button = before_ == form_.Button1 || before_ == form_.Button2;
    QWidget* target = button && before_->isEnabled() ? before_.data() : &form_;
    target->setFocus(Qt::OtherFocusReason);
}

}  // namespace zelmo::ui
