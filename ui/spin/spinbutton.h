// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTimer;

namespace zelmo::ui {

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

}  // namespace zelmo::ui
