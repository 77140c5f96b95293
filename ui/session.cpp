// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/session.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QRandomGenerator>
#include <QtGlobal>

#include <functional>

#include "engine/store/memorybackup.h"
#include "ui/a11y/announce.h"
#include "ui/a11y/announcetexts.h"
#include "ui/a11y/boardspeech.h"
#include "ui/a11y/quietaccess.h"
#include "ui/desktop/singleinstance.h"
#include "ui/form/unit1.h"
#include "ui/help.h"
#include "ui/history/historykeeper.h"
#include "ui/history/historyplot.h"
#include "ui/history/historywindow.h"
#include "ui/memoryview/memoryview.h"
#include "ui/spin/spinedit.h"
#include "ui/store/memoryfiles.h"
#include "ui/store/memorystore.h"
#include "ui/store/windowdocument.h"
#include "ui/watch.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

Session::Session(TForm1& form)
    : QObject(nullptr),
      form_(form),
      wipeQuestion_(&askWipeQuestion),
      watchMode_(new WatchMode(
          form, [&form](const std::function<void()>& handler) { form.guarded(handler); }, this)),
      history_(new HistoryKeeper(this)),
      document_(std::make_unique<WindowDocument>(form, *history_)),
      files_(std::make_unique<MemoryFiles>(
          MemoryFiles::Host{[this] { watchMode_->stop(); }, [this] { return store_.get(); },
                            [this](const QString& path) { useMemoryFile(path); }},
          form, *document_)),
      instance_(new InstanceServer(this)),
      exitFlush_([this] {
          if (store_) {
              store_->flushSilently();
          }
          // Qt ends the process with exit() when the display is gone: no destructor runs.
          watchMode_->saveLearnerAtExit();
      }),
      gameFocus_(form) {
    form_.addListener(*this);
    form_.setWipeGuard([this] { return confirmWipe(); });
    // The player takes over with a click on a cell or a digit; an error box stops watching
    // before it opens, so that its own event loop does not run the watch mode's ticks.
    watchMode_->setReporter([this](const QString& message) { form_.reportError(message); });
    connect(&form_, &TForm1::playerMoved, watchMode_, &WatchMode::stop);
    connect(&form_, &TForm1::errorReported, watchMode_, &WatchMode::stop);
    // The last game's save may still be on its way: closing waits for it, and when the file
    // does not hold the memory as it is, says so before the window goes.
    connect(&form_, &TForm1::closing, this, [this] {
        if (store_) {
            store_->finish();
        }
    });
    // Watching ends many games a second: their saves are spaced while it runs.
    connect(watchMode_, &WatchMode::runningChanged, this, [this](bool running) {
        if (store_) {
            store_->setSpacing(running);
        }
    });
    connect(watchMode_, &WatchMode::runningChanged, this, &Session::announceWatching);
    // The memory view's summary counts the games of the memory's history.
    connect(history_, &HistoryKeeper::changed, this, [this] {
        if (memoryView_ != nullptr) {
            memoryView_->setMemoryGames(history_->history().games());
        }
    });
    connect(instance_, &InstanceServer::raiseRequested, this,
            [this](const QString& token) { bringWindowForward(form_, token); });
    createActions();
    bindKeys(&form_);
    // The actions are also a context menu on the window (right button, the Menu key and
    // Shift+F10), so that they can be found without the help; the picture of the window stays
    // as it is. Its opening is said, and its first row is current, which a screen reader reads.
    form_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&form_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { openContextMenu(form_.mapToGlobal(at)); });
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    connect(menuKey, &QAction::triggered, this, [this] {
        // As the Menu key does: the control with the focus gets the menu (a spinner its own).
        QWidget* target = form_.focusWidget() != nullptr ? form_.focusWidget() : &form_;
        const QPoint at = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &event);
    });
    form_.addAction(menuKey);
    form_.installEventFilter(this);
}

Session::~Session() {
    // Watching ends with the window, saving what it held back while the store still exists.
    watchMode_->stop();
    // The memory view listens to the game, which outlives it only while the form does.
    delete memoryView_;
    delete historyWindow_;
    delete help_;
    form_.setWipeGuard({});
    form_.removeListener(*this);
}

void Session::setWipeQuestion(WipeQuestion question) {
    wipeQuestion_ = question ? std::move(question) : WipeQuestion(&askWipeQuestion);
}

void Session::setMemoryWriter(SaveThread::Writer writer) {
    memoryWriter_ = std::move(writer);
}

bool Session::useKeptMemory(bool atStart) {
    const QString path = keptMemoryPath();
    if (path.isEmpty()) {
        form_.reportError(texts::kNoKeptMemory.arg(texts::kNoKeptFolder));
        return true;
    }
    return useMemoryFile(path, FolderPolicy::Create, atStart);
}

bool Session::useMemoryFile(const QString& path, FolderPolicy policy, bool atStart) {
    if (store_) {
        // The file used so far gets what it has not got yet, and its lock goes with it.
        store_->flush();
        store_.reset();
    }
    store_ = std::make_unique<MemoryStore>(
        *document_, path, [this](const QString& text) { form_.reportError(text); }, memoryWriter_);
    if (watchMode_->watching()) {
        store_->setSpacing(true);
    }
    // Listening before the lock is taken: whoever finds the lock held by this window then
    // finds its socket too, so two starts at the same moment end with one window.
    instance_->listen();
    bool forwarded = false;
    const auto forward = [&path, &forwarded](const engine::LockHolder& holder) {
        // A holder that has not written its name yet is a window starting too, or a trainer:
        // asking tells which.
        forwarded = (holder.program.empty() || holder.program == engine::kWindowProgram) &&
                    bringHolderForward(path, qEnvironmentVariable("XDG_ACTIVATION_TOKEN")) ==
                        Forwarded::Raised;
        return forwarded;
    };
    form_.guarded([this, policy, atStart, &forward] {
        store_->load(policy, atStart ? std::function<bool(const engine::LockHolder&)>(forward)
                                     : std::function<bool(const engine::LockHolder&)>());
    });
    if (forwarded) {
        return false;
    }
    // The help and the memory view name the file in use.
    delete help_;
    if (memoryView_ != nullptr) {
        memoryView_->setMemoryFile(store_->heldBy() ? QString() : store_->path());
    }
    return true;
}

void Session::finishSaving() {
    if (store_) {
        store_->flush();
    }
}

void Session::gameFinished(const engine::FinishedGame& game) {
    // The history takes the game first, so that its save holds it.
    history_->gameFinished(game, watchMode_->watching());
    // While watching, a screen reader hears a summary of the games instead of each move.
    form_.announcer().gameFinished(game.outcome);
    // A finished game is written to the memory file, even when grading failed (an overflow
    // still ends the game).
    if (store_) {
        store_->gameFinished();
    }
}

bool Session::confirmWipe() {
    // Forgetting a kept memory is asked first, and so is replacing a file that could not be
    // read (it may hold a memory worth more than an empty one); the empty memory and a window
    // without a file are wiped at once, as always.
    // A file another program holds is neither read nor written: the wipe loses nothing there.
    wipeAsked_ =
        store_ && !store_->heldBy() && (form_.entryCount() > 0 || store_->keepsUnreadableFile());
    if (!wipeAsked_) {
        // Without a file the wipe is immediate, and undone by the restore command.
        files_->aboutToWipe();
        return true;
    }
    // Watching would go on learning and saving behind the question.
    watchMode_->stop();
    const QString backup = QFile::decodeName(
        engine::backupPathOf(QFile::encodeName(store_->path()).toStdString()).c_str());
    const QString question = form_.entryCount() > 0
                                 ? wipeQuestionText(form_.entryCount(), backup)
                                 : unreadableWipeQuestionText(store_->path(), backup);
    return wipeQuestion_(&form_, texts::kAppName, question);
}

void Session::memoryWiped() {
    // A wiped memory begins a new history; the old one stays in the backup.
    history_->wiped();
    if (store_) {
        store_->wiped(wipeAsked_);
    }
    wipeAsked_ = false;
}

bool Session::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::WindowActivate && !greeted_) {
        greeted_ = true;
        form_.announcer().say(texts::kStartHint);
    }
    return QObject::eventFilter(watched, event);
}

void Session::openContextMenu(const QPoint& at) {
    QMenu menu(&form_);
    menu.setAccessibleName(texts::kContextMenuName);
    menu.addActions(actions_);
    connect(&menu, &QMenu::aboutToShow, this,
            [this] { form_.announcer().sayNow(texts::kContextMenuName); });
    // Opened from the keyboard, the first row is current and read out at once.
    menu.setActiveAction(actions_.constFirst());
    menu.exec(at);
}

void Session::announceWatching(bool running) {
    Announcer& announcer = form_.announcer();
    if (running) {
        // Said at once; the moves that follow are summarised from then on, and faster than the
        // summaries the controls' own changes are held back too.
        announcer.say(announcetexts::kWatchStarted);
        announcer.setSummarising(true);
        if (watchMode_->pace() < Announcer::kSummaryInterval) {
            quietaccess::begin(&announcer);
        }
    } else {
        // What waited comes first: the last move, or the games since the last summary.
        quietaccess::end();
        announcer.setSummarising(false);
        announcer.sayNow(announcetexts::kWatchStopped);
    }
}

bool Session::watch(const QString& opponent, int paceMs) {
    if (!watchMode_->setOpponent(opponent, QRandomGenerator::global()->generate64())) {
        return false;
    }
    watchMode_->setPace(paceMs);
    watchMode_->start();
    return true;
}

MemoryView& Session::memoryView() {
    if (memoryView_ == nullptr) {
        memoryView_ = new MemoryView(form_, &form_);
        memoryView_->setLastOutcome(history_->lastOutcome());
        memoryView_->setMemoryGames(history_->history().games());
        memoryView_->setSpeaker(
            [this](const QString& heading) { form_.announcer().sayNow(heading); });
        memoryView_->setCrossMoves([this] { return watchMode_->learnerMoves(); });
        bindKeys(memoryView_);
        memoryView_->setMemoryFile(store_ && !store_->heldBy() ? store_->path() : QString());
    }
    return *memoryView_;
}

HistoryWindow& Session::historyWindow() {
    if (historyWindow_ == nullptr) {
        historyWindow_ = new HistoryWindow(*history_, &form_);
        bindKeys(historyWindow_);
    }
    return *historyWindow_;
}

void Session::showHelp() {
    if (help_ == nullptr) {
        help_ = new HelpWindow(&form_, store_ ? store_->path() : QString(),
                               [this](const QUrl& url) { form_.openUrl(url); });
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void Session::createActions() {
    // Every action of the window with its keys, in the order the context menu lists them.
    const struct {
        const QString& text;
        QList<QKeySequence> keys;
        std::function<void()> run;
        bool inMemoryView = true;
    } rows[] = {
        // A new game is what «играть» does, and only when it may be pressed.
        {texts::kActionNewGame,
         {QKeySequence(Qt::Key_F2), QKeySequence(Qt::CTRL | Qt::Key_N)},
         [this] {
             if (form_.Button2->isEnabled()) {
                 form_.Button2->click();
             }
         }},
        {texts::kActionOpen, {QKeySequence(Qt::CTRL | Qt::Key_O)}, [this] { files_->open(); }},
        {texts::kActionSaveCopy,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
         [this] { files_->saveCopy(); }},
        {texts::kActionRestore,
         {QKeySequence(Qt::CTRL | Qt::Key_R)},
         [this] { files_->restore(); }},
        {texts::kActionMemoryView, {QKeySequence(Qt::Key_F3)}, [this] { memoryView().open(); }},
        {texts::kActionHistory, {QKeySequence(Qt::Key_F4)}, [this] { historyWindow().open(); }},
        {texts::kActionWatch, {QKeySequence(Qt::Key_F5)}, [this] { watchMode_->toggle(); }},
        // The keyboard's way to the grades (no tab stops) and back, and the board for a screen
        // reader: keys that Orca leaves alone (it takes Insert, CapsLock and the keypad).
        {texts::kActionWinGrade,
         {QKeySequence(Qt::ALT | Qt::Key_1)},
         [this] { gameFocus_.toGrade(form_.gradeSpinner(engine::Grade::Win)); },
         false},
        {texts::kActionLossGrade,
         {QKeySequence(Qt::ALT | Qt::Key_2)},
         [this] { gameFocus_.toGrade(form_.gradeSpinner(engine::Grade::Loss)); },
         false},
        {texts::kActionDrawGrade,
         {QKeySequence(Qt::ALT | Qt::Key_3)},
         [this] { gameFocus_.toGrade(form_.gradeSpinner(engine::Grade::Draw)); },
         false},
        {texts::kActionBackToGame,
         {QKeySequence(Qt::Key_Escape)},
         [this] { gameFocus_.backToGame(); },
         false},
        {texts::kActionBoard,
         {QKeySequence(Qt::Key_0)},
         [this] { form_.announcer().sayNow(boardspeech::board(form_)); }},
        // Why the computer played its last move, said to a screen reader (the memory view
        // shows every move of the game so).
        {texts::kActionWhy,
         {QKeySequence(Qt::Key_F6)},
         [this] {
             const auto& moves = form_.moveExplanations();
             form_.announcer().sayNow(
                 moves.empty() ? texts::kNoMoveYet
                               : QString::fromStdString(engine::explanationText(moves.back())));
         }},
        {texts::kActionHelp, {QKeySequence(Qt::Key_F1)}, [this] { showHelp(); }},
        {texts::kActionQuit, {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { form_.close(); }},
    };
    // The digits play on the board from the memory's and the history's windows too (the main
    // window takes them itself, so that a spinner with the focus keeps them).
    for (int cell = 1; cell <= 9; ++cell) {
        auto* action = new QAction(texts::kActionCell.arg(cell), this);
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + cell);
        action->setShortcuts({QKeySequence(key), QKeySequence(Qt::KeypadModifier | key)});
        connect(action, &QAction::triggered, this, [this, cell] { form_.playDigit(cell); });
        digits_.append(action);
    }
    for (const auto& row : rows) {
        // The keys after a tab: the menu shows them in its column as it would the shortcut, and
        // a screen reader reads them with the row's name (it reads a menu's own shortcut only
        // when asked where it is).
        QStringList keys;
        for (const QKeySequence& key : row.keys) {
            keys << key.toString(QKeySequence::NativeText);
        }
        auto* action =
            new QAction(row.text + QLatin1Char('\t') + keys.join(QStringLiteral(", ")), this);
        action->setShortcuts(row.keys);
        connect(action, &QAction::triggered, this, row.run);
        actions_.append(action);
        if (!row.inMemoryView) {
            formOnly_.append(action);
        }
    }
}

void Session::bindKeys(QWidget* window) {
    // Window-wide keys: they work whichever control has the focus, a spinner included, and in
    // the memory view as in the main window.
    for (QAction* action : actions_) {
        if (window == &form_ || !formOnly_.contains(action)) {
            window->addAction(action);
        }
    }
    if (window != &form_) {
        window->addActions(digits_);
    }
}

}  // namespace zelmo::ui
