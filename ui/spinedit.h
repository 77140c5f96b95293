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

class QMenu;
class QTimer;

namespace zelmo::ui {

class TSpinEdit;

// One arrow of a spin editor: a push-button face drawn pushed in while the left button holds it
// with the pointer over it. Holding repeats: the first step 400 ms after the press, then one
// every 100 ms while pushed in, and once more when released over the arrow.
class TTimerSpeedButton : public QWidget {
    Q_OBJECT
  public:
    enum class Direction { Up, Down };
    static constexpr int kFirstDelayMs = 400;
    static constexpr int kRepeatMs = 100;
    static constexpr int kGlyphWidth = 9;
    static constexpr int kGlyphHeight = 6;

    TTimerSpeedButton(Direction direction, QWidget* parent);

    bool isDown() const { return down_; }  // drawn pushed in

    // One tick of the repeat timer, as if it had fired; tests step the repeat with it.
    void timerTick();
    bool timerActive() const;
    int timerInterval() const;

  signals:
    void clicked();  // one step

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void press();
    void cancelHold();
    void setDown(bool down);

    Direction direction_;
    bool down_ = false;
    bool held_ = false;  // a left press is in progress (the mouse is captured)
    QTimer* timer_ = nullptr;
};

// The pair of arrows at the right end of a spin editor: the up arrow above the down arrow,
// sharing one row of pixels. It takes no keyboard focus of its own; a press on it focuses the
// spin editor it belongs to only when that box is a tab stop (Qt hands a click's focus up to
// the first parent that accepts it).
class TSpinButton : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMinWidth = 15;

    explicit TSpinButton(QWidget* parent);
    TTimerSpeedButton* upButton() const { return up_; }
    TTimerSpeedButton* downButton() const { return down_; }

  signals:
    void OnUpClick();
    void OnDownClick();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    TTimerSpeedButton* up_;
    TTimerSpeedButton* down_;
};

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
    static std::optional<std::int32_t> ParseInteger(const QString& text);

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
