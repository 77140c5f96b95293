// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/game/gameflow.h"
#include "ui/desktop/shutdown.h"
#include "ui/form/gamefocus.h"
#include "ui/store/memorylocation.h"
#include "ui/store/savethread.h"
#include "ui/store/wipequestion.h"

#include <QAction>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

namespace zelmo::ui {

class HelpWindow;
class HistoryKeeper;
class HistoryWindow;
class InstanceServer;
class MemoryFiles;
class MemoryStore;
class MemoryView;
class TForm1;
class WatchMode;
class WindowDocument;

// What the window does beyond its own controls, kept beside it: the memory file and its saving,
// the question before a wipe that would lose a kept memory, the watch mode, the memory view,
// the help, and the keys that reach them. It hears the game through the game flow's listener
// and the form's few signals; the form does not know it. The program makes one per window,
// after the window and gone before it.
class Session : public QObject, private engine::GameListener {
    Q_OBJECT
  public:
    explicit Session(TForm1& form);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Replace the question before a wipe and the memory file's writer (tests; the writer
    // before useMemoryFile).
    void setWipeQuestion(WipeQuestion question);
    void setMemoryWriter(SaveThread::Writer writer);

    // Keeps the computer's memory in a file (zelmo --memory FILE): reads it now, then saves it
    // after every finished game and every wipe. Without it nothing is stored.
    // `policy` says whether the file's folder may be created (the kept memory's own folder).
    // A file used before is saved and let go first (a file opened with Ctrl+O). While the
    // window holds its file, a second start on that file brings this window forward.
    // At start-up (`atStart`), a file that another window took a moment before this one brings
    // that window forward instead: false then, and the caller ends this window.
    bool useMemoryFile(const QString& path, FolderPolicy policy = FolderPolicy::MustExist,
                       bool atStart = false);
    // The memory kept in the user's data folder (`zelmo --keep-memory`); without such a folder
    // an error box says so and nothing is kept.
    bool useKeptMemory(bool atStart = false);
    // The window's memory document (positions, history, grades), as the store saves it.
    WindowDocument& document() const { return *document_; }
    // The memory file's store, or nullptr when no file is used.
    MemoryStore* memoryStore() const { return store_.get(); }
    // Waits until the last save handed to the saving thread is written; reports a failure.
    void finishSaving();

    // The window playing "X" by itself (toggled with F5): `opponent` is "random", "perfect" or
    // "mixed:P", `paceMs` the milliseconds per move. False for an unknown opponent.
    bool watch(const QString& opponent, int paceMs);
    WatchMode& watchMode() const { return *watchMode_; }
    // The memory view (F3), created when first opened.
    MemoryView& memoryView();
    // The learning history, kept with the memory in its file.
    HistoryKeeper& historyKeeper() const { return *history_; }
    // The learning history's plot (F4), created when first opened.
    HistoryWindow& historyWindow();
    // Opens the help (F1), or brings it forward when it is open.
    void showHelp();

    // The window's actions with their keys (new game, memory view, watching, help, quit, the
    // grades and the board for the keyboard), in the order of the form's context menu.
    const QList<QAction*>& actions() const { return actions_; }
    // Binds the actions' keys on `window`: the form's and the memory view's (there without the
    // grades and the way back to the game, whose Escape closes the memory view).
    void bindKeys(QWidget* window);
    // Opening, saving a copy and restoring memory files (Ctrl+O, Ctrl+Shift+S, Ctrl+R).
    MemoryFiles& memoryFiles() const { return *files_; }

  protected:
    // The window's first activation: a screen reader hears the keys to begin with.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void gameFinished(const engine::FinishedGame& game) override;
    void memoryWiped() override;
    // Before «промыть мозги»: asks first when a kept memory would lose positions.
    bool confirmWipe();
    void createActions();
    // The watch mode is said when it begins and ends, and summarised while it runs.
    void announceWatching(bool running);
    // The window's context menu at `at` (global): every action with its keys.
    void openContextMenu(const QPoint& at);

    TForm1& form_;
    WipeQuestion wipeQuestion_;
    SaveThread::Writer memoryWriter_;     // empty: the engine's
    std::unique_ptr<MemoryStore> store_;  // only with a memory file
    bool wipeAsked_ = false;              // the player confirmed the wipe that runs
    WatchMode* watchMode_;                // a child of the session
    HistoryKeeper* history_;              // a child of the session
    // The window's memory document: the form's positions, the history, the spinners' grades.
    std::unique_ptr<WindowDocument> document_;
    QPointer<MemoryView> memoryView_;  // a window of the form's, created on first use
    QPointer<HelpWindow> help_;
    QPointer<HistoryWindow> historyWindow_;  // a window of the form's, created on first use
    QList<QAction*> actions_;                // children of the session
    std::unique_ptr<MemoryFiles> files_;
    InstanceServer* instance_;  // a child of the session: answers a second start on the file
    // Should the process end through exit() (the display gone), the held-back save is written.
    ExitFlush exitFlush_;
    QList<QAction*> formOnly_;  // the actions that the main window alone binds
    QList<QAction*> digits_;    // 1..9 for the windows beside the main one
    bool greeted_ = false;      // the keys to begin with have been said
    GameFocus gameFocus_;
};

}  // namespace zelmo::ui
