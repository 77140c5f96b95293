// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QString>
#include <QWidget>

// The small controls of the main window that Qt lacks in the needed shape: the cell buttons,
// click-able auto-sizing labels, the raised grade panel, the push buttons and the status bar.
namespace zelmo::ui {

// A cell of the board: a raised push-button face with a centred caption that never takes the
// focus. Pressing the left button pushes it in and captures the mouse; it clicks on release
// over itself only. The second press of a double click acts as a new press.
class TSpeedButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit TSpeedButton(QWidget* parent);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A text label drawn on its parent's surface. It sizes itself to its text (left-aligned, so
// a longer text grows to the right) and clicks when the left button is pressed and released
// over it; the second press of a double click does not click.
class TLabel : public QLabel {
    Q_OBJECT
  public:
    TLabel(const QString& caption, QWidget* parent);

    // The text, followed by the automatic resize.
    void setCaption(const QString& caption);
    QSize sizeHint() const override;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool pressed_ = false;
};

// A panel with a raised one-pixel bevel and no border, filled with the button face.
class TPanel : public QFrame {
    Q_OBJECT
  public:
    explicit TPanel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A push button of the window: a tab stop that clicks on Space and on Enter while it has the
// focus, and shows the black default frame while focused.
class TButton : public QPushButton {
    Q_OBJECT
  public:
    TButton(const QString& caption, QWidget* parent);

  protected:
    // The face covers the whole rectangle, and so does the area that takes clicks: the style
    // would keep a pixel of room all round for the default frame, through which the controls
    // below would show and in which clicks would be lost.
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// The status bar in simple mode: one sunken text field across the whole width, with a size
// grip at the right end. It paints its own button-face background, so that nothing beneath it
// shows through when the window is made small.
class TStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit TStatusBar(QWidget* parent);

    QString simpleText() const;
    // Setting the text already shown changes nothing.
    void setSimpleText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* field_;
};

}  // namespace zelmo::ui
