// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QWidget>

#include "ui/spin/spinbutton.h"
#include "ui/spin/spinparse.h"

class QMenu;

namespace zelmo::ui {

// A whole-number edit box with a pair of arrows; the window's three grade spinners. The text is
// the only state of the value: reading Value parses it every time, writing Value replaces it.
// A box that is not a tab stop has no Qt focus policy (so a press on its arrows cannot hand it
// the focus) and takes the focus itself when its text is clicked.
class TSpinEdit : public QLineEdit {
    Q_OBJECT
  public:
    static constexpr int kBorder = 2;  // sunken 3D border on each side

    explicit TSpinEdit(QWidget* parent = nullptr);

    // Decimal with an optional sign, or hexadecimal after "$", "x", "X", "0x", "0X"; 32 bits.
    static std::optional<std::int32_t> ParseInteger(const QString& text) {
        return ui::ParseInteger(text);
    }

    std::int32_t value() const;     // ParseInteger of the text, MinValue on failure; no clamping
    void setValue(std::int32_t v);  // text := decimal of ClampValue(v)
    // Equal bounds mean no bounds; a result beyond 32 bits then saturates.
    std::int32_t ClampValue(std::int64_t v) const;
    void StepUp();
    void StepDown();
    // The filter for a typed character; a refused one is dropped with the beep.
    bool AcceptsChar(QChar c) const;

    std::int32_t minValue() const { return minValue_; }
    void setMinValue(std::int32_t v) { minValue_ = v; }
    std::int32_t maxValue() const { return maxValue_; }
    void setMaxValue(std::int32_t v) { maxValue_ = v; }
    std::int32_t increment() const { return increment_; }
    void setIncrement(std::int32_t v) { increment_ = v; }
    bool editorEnabled() const { return editorEnabled_; }
    void setEditorEnabled(bool on) { editorEnabled_ = on; }
    bool readOnlyValue() const { return isReadOnly(); }  // ReadOnly: the value may not change
    void setReadOnlyValue(bool on) { setReadOnly(on); }
    bool autoSelect() const { return autoSelect_; }
    void setAutoSelect(bool on) { autoSelect_ = on; }
    bool tabStop() const;
    void setTabStop(bool on);

    TSpinButton* button() const { return button_; }
    // The rectangle the text is laid out in, in client co-ordinates (inside the border).
    QRect EditRect() const;
    // The least height of the box for its current font.
    int MinimumHeight() const;
    // The context menu: undo, cut, copy, paste, delete, select all, with cut, paste, delete and
    // undo disabled while the text may not be edited. The caller owns the menu.
    QMenu* createContextMenu();

    // The system beep for refused input; tests replace it to count beeps.
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }
    QChar decimalSeparator() const { return decimalSeparator_; }
    // The locale's decimal separator accepted as a typed character; tests may set it.
    void setDecimalSeparator(QChar c) { decimalSeparator_ = c; }

  signals:
    // An arrow or an arrow key stepped the value (also when a bound kept it as it was).
    void stepped();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool canEditText() const { return editorEnabled_ && !isReadOnly(); }
    // Inserts what passes the character filter of a key event's text; beeps for the rest.
    void typeText(QKeyEvent* event);
    void writeValue(std::int64_t v);
    void step(std::int64_t delta);
    void beep();
    void updateMinimumHeight();

    TSpinButton* button_;
    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
    std::int32_t increment_ = 1;
    bool editorEnabled_ = true;
    bool autoSelect_ = true;
    QChar decimalSeparator_;
    std::function<void()> beep_;
};

}  // namespace zelmo::ui
