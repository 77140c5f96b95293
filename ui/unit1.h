// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/tbarseries.h"
#include "chart/tcustomchart.h"
#include "engine/gameflow.h"
#include "ui/errorbox.h"
#include "ui/links.h"
#include "ui/memorylocation.h"
#include "ui/savethread.h"
#include "ui/wipequestion.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zelmo::ui {

class Announcer;
class TButton;
class TLabel;
class TPanel;
class TSpeedButton;
class TSpinEdit;
class TStatusBar;
class MemoryStore;
class HelpWindow;
class MemoryView;
class WatchMode;

// The main window: the board's nine cell buttons, the play and wipe buttons, the counters, the
// grade panel, the score chart, the contact links and the status line. It holds the game
// (the game flow is its base) and shows it through the display operations; every event
// handler runs inside one guard that reports an error in a message box and goes on.
class TForm1 : public QWidget, public engine::GameFlow {
    Q_OBJECT
  public:
    // Builds every control, then runs FormCreate; the window is shown by the caller.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Contact links.
    void Label9Click();   // the home page
    void Label10Click();  // a message to the contact address

    // Replace the desktop's URL handling, the error box, the question before a wipe and the
    // memory file's writer (tests; the writer before useMemoryFile).
    void setUrlOpener(links::UrlOpener opener);
    void setErrorBox(ErrorBox box);
    void setWipeQuestion(WipeQuestion question);
    void setMemoryWriter(SaveThread::Writer writer);

    // Keeps the computer's memory in a file (zelmo --memory FILE): reads it now, then saves it
    // after every finished game and every wipe. Without it nothing is stored.
    // `policy` says whether the file's folder may be created (the kept memory's own folder).
    void useMemoryFile(const QString& path, FolderPolicy policy = FolderPolicy::MustExist);
    // The memory kept in the user's data folder (`zelmo --keep-memory`); without such a folder
    // an error box says so and nothing is kept.
    void useKeptMemory();
    // The memory file's store, or nullptr when no file is used.
    MemoryStore* memoryStore() const { return memoryStore_.get(); }
    // Waits until the last save handed to the saving thread is written; reports a failure.
    // Closing the window waits too (MemoryStore::finish).
    void finishSaving();

    // Opens the help (F1), or brings it forward when it is open.
    void showHelp();

    // The window playing "X" by itself (toggled with F5): `opponent` is "random", "perfect" or
    // "mixed:P", `paceMs` the milliseconds per move. False for an unknown opponent.
    bool watch(const QString& opponent, int paceMs);
    WatchMode& watchMode() const { return *watchMode_; }
    // The memory view (F3), created when first opened.
    MemoryView& memoryView();
    // Binds the window's keys (help, new game, memory view, watching, quit) on `window` too.
    void bindKeys(QWidget* window);

    // While deferred, the display operations only note that the window is stale, and
    // flushDisplay() shows the game's state at once (the watch mode at full speed).
    void setDisplayDeferred(bool deferred);
    void flushDisplay();

    // Runs one event handler: an exception ends it, the mouse capture is released and the
    // error box shows the message; the window goes on with the state the handler left.
    void guarded(const std::function<void()>& handler);

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

  signals:
    // A game has ended (told once per game by the game flow, after all its end-of-game steps).
    void gameEnded(zelmo::engine::Outcome outcome);
    // An event handler has run to its end (or to its error): the board, the memory or the
    // counters may have changed.
    void handled();
    // An error box is about to open.
    void errorReported();

  protected:
    void showCell(int k, const engine::Cell& value) override;
    void showGameNumber(std::int32_t number) override;
    void showEntryCount(std::int32_t count) override;
    void showStatus(const std::string& utf8Text) override;
    void setPlayEnabled(bool enabled) override;
    std::int32_t readGrade(int spinner) override;
    void addScorePoint(const std::string& utf8Label) override;
    void setScoreValue(int index, double value) override;
    void gameFinished(engine::Outcome outcome) override;

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The cell that a key plays (1..9), or 0 for any other key.
    static int cellOfKey(const QKeyEvent* event);
    // Accessible descriptions; the names that change with the game come from the controls.
    void describeControls();
    void describeScore();
    // While the display is deferred, notes that it is stale and returns true; the show and set
    // calls of the game flow then paint nothing, and flushDisplay() paints the whole state.
    bool deferDisplay();
    // What the game flow's display calls paint; a screen reader hears what is new.
    void paintCell(int k, const engine::Cell& value);
    void paintCounter(TLabel* value, const TLabel* caption, std::int32_t number);
    // Shows status_ in the status line.
    void paintStatus();
    void paintScore(int index, double value);
    void paintPlayEnabled(bool enabled);
    void createControls();
    void bindEvents();

    // «промыть мозги»: asks first when a kept memory would lose positions.
    void wipeClicked();
    void placeStatusBar();
    // Moves the window just enough for all of it to lie on its screen's available area.
    void keepOnScreen();
    void place(QWidget* control, int left, int top, int width, int height);
    // A label sized to its caption, at design position (left, top) in its parent.
    TLabel* addLabel(const QString& name, const QString& caption, QWidget* parent, int left,
                     int top);
    // A grade spinner of the grade panel, in its row at design height `top`.
    // `meaning` is its accessible name.
    TSpinEdit* addGradeSpinner(const QString& name, const QString& meaning, int top,
                               std::int32_t value, bool editorEnabled);
    void reportError(const QString& message);

    int lineHeight_;
    links::UrlOpener urlOpener_;
    ErrorBox errorBox_;
    WipeQuestion wipeQuestion_;
    SaveThread::Writer memoryWriter_;  // empty: the engine's
    QPointer<HelpWindow> help_;
    std::unique_ptr<MemoryStore> memoryStore_;  // only with a memory file
    WatchMode* watchMode_;                      // a child of the window
    MemoryView* memoryView_ = nullptr;          // created on first use
    bool displayDeferred_ = false;
    bool displayStale_ = false;
    QString status_;                  // the status text last set, shown again by flushDisplay
    Announcer* announcer_ = nullptr;  // reads the game out to a screen reader
};

}  // namespace zelmo::ui
