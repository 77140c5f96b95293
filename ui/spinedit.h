#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QLineEdit>
#include <QString>
#include <QWidget>

class QTimer;

namespace zelmo::ui {

class TSpinEdit;

// One arrow of a spin editor: a push-button face drawn pushed in while held with the pointer
// over it, with auto-repeat (first step after 400 ms, then every 100 ms, and once more at a
// release over the arrow).
class TTimerSpeedButton : public QWidget {
    Q_OBJECT
public:
    enum class Direction { Up, Down };
    TTimerSpeedButton(Direction direction, QWidget* parent);

    Direction direction() const { return direction_; }
    bool isDown() const { return down_; }
    // Test hook: one tick of the repeat timer, as if it had fired.
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

private:
    Direction direction_;
    bool down_ = false;
    bool held_ = false;
    QTimer* timer_ = nullptr;
};

// The pair of arrows at the right end of a spin editor.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent);
    TTimerSpeedButton* upButton() const { return up_; }
    TTimerSpeedButton* downButton() const { return down_; }
    QWidget* FocusControl = nullptr;

signals:
    void OnUpClick();
    void OnDownClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TTimerSpeedButton* up_;
    TTimerSpeedButton* down_;
};

// A whole-number edit box with up/down arrows; used for the three grade spinners. The text is
// the only state of the value: reading Value parses it every time.
class TSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // Decimal with sign, or hexadecimal with "$", "x", "X", "0x", "0X"; 32-bit limits.
    static std::optional<std::int32_t> ParseInteger(const QString& text);

    std::int32_t value() const;  // ParseInteger of the text, MinValue on failure; no clamping
    void setValue(std::int32_t v);  // text := decimal of ClampValue(v)
    std::int32_t ClampValue(std::int64_t v) const;
    void StepUp();
    void StepDown();
    bool AcceptsChar(QChar c);  // false: the character is dropped and the beep sounds

    std::int32_t minValue() const { return minValue_; }
    void setMinValue(std::int32_t v) { minValue_ = v; }
    std::int32_t maxValue() const { return maxValue_; }
    void setMaxValue(std::int32_t v) { maxValue_ = v; }
    std::int32_t increment() const { return increment_; }
    void setIncrement(std::int32_t v) { increment_ = v; }
    bool editorEnabled() const { return editorEnabled_; }
    void setEditorEnabled(bool on) { editorEnabled_ = on; }
    bool readOnlyValue() const { return readOnly_; }  // ReadOnly: the value may not change
    void setReadOnlyValue(bool on) { readOnly_ = on; }
    bool autoSelect() const { return autoSelect_; }
    void setAutoSelect(bool on) { autoSelect_ = on; }
    void setTabStop(bool on);

    TSpinButton* button() const { return button_; }

    // The system beep for refused characters; tests replace it to count beeps.
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }
    // The locale's decimal separator accepted as a typed character; tests may set it.
    void setDecimalSeparator(QChar c) { decimalSeparator_ = c; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void beep();

    TSpinButton* button_;
    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
    std::int32_t increment_ = 1;
    bool editorEnabled_ = true;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    QChar decimalSeparator_;
    std::function<void()> beep_;
};

}  // namespace zelmo::ui
