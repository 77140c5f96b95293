// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tbarseries.h"
#include "chart/tcustomchart.h"
#include "engine/game/gameflow.h"
#include "ui/widgets/errorbox.h"
#include "ui/widgets/links.h"
#include "ui/widgets/texts.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

namespace zelmo::ui {

class Announcer;
class TButton;
class TLabel;
class TPanel;
class TSpeedButton;
class TSpinEdit;
class TStatusBar;

// The main window: the board's nine cell buttons, the play and wipe buttons, the counters, the
// grade panel, the score chart, the contact links and the status line. It holds the game
// (the game flow is its base) and shows it through the display operations; every event
// handler runs inside one guard that reports an error in a message box and goes on. What the
// program adds around it (the memory file, the watch mode, the memory view) lives in the
// session beside it, which hears it through the game flow's listeners and the signals below.
class TForm1 : public QWidget, public engine::GameFlow, private engine::GameListener {
    Q_OBJECT
  public:
    // Builds every control, then runs FormCreate; the window is shown by the caller.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Contact links.
    void Label9Click();   // the home page
    void Label10Click();  // a message to the contact address

    // Replace the desktop's URL handling and the error box (tests).
    void setUrlOpener(links::UrlOpener opener);
    void setErrorBox(ErrorBox box);
    // Asked before «промыть мозги» wipes the memory; false keeps it. Empty: always wipes.
    void setWipeGuard(std::function<bool()> guard);
    // Hands a URL to the desktop (or the replacement), as the links do.
    void openUrl(const QUrl& url);

    // Runs one event handler: an exception ends it, the mouse capture is released and the
    // error box shows the message; the window goes on with the state the handler left.
    void guarded(const std::function<void()>& handler);
    // Shows an error in the error box.
    void reportError(const QString& message);

    // Design pixels (96 dpi) scaled by the window font's line height over its design height.
    int scaled(int designPixels) const;

    // The controls, in creation order.
    TSpeedButton* SpeedButton1;
    TSpeedButton* SpeedButton2;
    TSpeedButton* SpeedButton3;
    TSpeedButton* SpeedButton4;
    TSpeedButton* SpeedButton5;
    TSpeedButton* SpeedButton6;
    TSpeedButton* SpeedButton7;
    TSpeedButton* SpeedButton8;
    TSpeedButton* SpeedButton9;
    TLabel* Label2;
    TLabel* Label6;
    TLabel* Label7;
    TLabel* Label8;
    TLabel* Label9;
    TLabel* Label10;
    TLabel* Label11;
    TLabel* Label12;
    chart::TChart* Chart1;
    chart::TBarSeries* Series1;
    TPanel* Panel1;
    TLabel* Label1;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5;
    TSpinEdit* SpinEdit1;
    TSpinEdit* SpinEdit2;
    TSpinEdit* SpinEdit3;
    TButton* Button1;
    TStatusBar* Bar1;
    TButton* Button2;

    // Cell button k (1..9).
    TSpeedButton* cellButton(int k) const;
    // The digit key of `cell` (1..9): the cell is played while a game runs; a screen reader
    // hears why it was not. True when it was played.
    bool playDigit(int cell);
    // The spinner that holds `grade` (kGradeSpinners).
    TSpinEdit* gradeSpinner(engine::Grade grade) const;
    // The three spinners' values, and the three set at once (clamped as the spinners clamp).
    engine::Grades spinnerGrades() const;
    void setGrades(const engine::Grades& grades);
    // What a screen reader hears of the game, for what the session adds to it.
    Announcer& announcer() const { return *announcer_; }

  signals:
    // The player has played a cell (a click or a digit key): watching gives way.
    void playerMoved();
    // An error box is about to open.
    void errorReported();
    // The window is closing: what must be kept is written now.
    void closing();

  protected:
    void showCell(int k, const engine::Cell& value) override;
    void showGameNumber(std::int32_t number) override;
    void showEntryCount(std::int32_t count) override;
    void showStatus(const std::string& utf8Text) override;
    void setPlayEnabled(bool enabled) override;
    std::int32_t readGrade(engine::Grade grade) override;
    engine::Grades gradesInForce() override;
    void addScorePoint(const std::string& utf8Label) override;
    void setScoreValue(int index, double value) override;

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // After the outcome a screen reader hears the new score, which only the chart shows.
    void gameFinished(const engine::FinishedGame& game) override;
    // A new game: a screen reader hears whose move it is after its number.
    void gameStarted() override;

    // The cell that a key plays (1..9), or 0 for any other key.
    static int cellOfKey(const QKeyEvent* event);
    // Accessible descriptions; the names that change with the game come from the controls.
    void describeControls();
    void describeScore();
    // Shows a counter's number; a screen reader hears it with its caption.
    void showCounter(TLabel* value, const TLabel* caption, std::int32_t number);
    void createControls();
    void bindEvents();

    void placeStatusBar();
    // Moves the window just enough for all of it to lie on its screen's available area.
    void keepOnScreen();
    // Gives `control` its name, design rectangle and caption from the layout table.
    template <typename Control>
    Control* laidOut(Control* control, const QString& name);

    int lineHeight_;
    links::UrlOpener urlOpener_;
    ErrorBox errorBox_;
    std::function<bool()> wipeGuard_;
    Announcer* announcer_ = nullptr;  // reads the game out to a screen reader
};

// Which spinner holds which grade: the one place that says so. SpinEdit1 beside «Победа»
// grades a computer win, SpinEdit2 beside «Поражение» its loss, SpinEdit3 beside «Ничья» a
// draw; in the order the spinners are created.
struct GradeSpinner {
    engine::Grade grade;
    TSpinEdit* TForm1::*spin;
    const char* name;
    const QString& meaning;
    const QString& label;  // the grade's name on the panel
};
inline const GradeSpinner kGradeSpinners[] = {
    {engine::Grade::Win, &TForm1::SpinEdit1, "SpinEdit1", texts::kWinGradeName, texts::kWinGrade},
    {engine::Grade::Loss, &TForm1::SpinEdit2, "SpinEdit2", texts::kLossGradeName,
     texts::kLossGrade},
    {engine::Grade::Draw, &TForm1::SpinEdit3, "SpinEdit3", texts::kDrawGradeName,
     texts::kDrawGrade},
};

}  // namespace zelmo::ui
