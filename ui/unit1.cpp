// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/unit1.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QRandomGenerator>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>

#include <array>
#include <exception>
#include <utility>

#include "chart/chartmath.h"
#include "engine/errors.h"
#include "engine/grades.h"
#include "engine/memorybackup.h"
#include "ui/accessible.h"
#include "ui/announce.h"
#include "ui/controls.h"
#include "ui/controlsetup.h"
#include "ui/fonts.h"
#include "ui/help.h"
#include "ui/icon.h"
#include "ui/memorystore.h"
#include "ui/memoryview.h"
#include "ui/screenfit.h"
#include "ui/spinedit.h"
#include "ui/texts.h"
#include "ui/watch.h"

namespace zelmo::ui {

namespace {

// The window at design: client area and the outer frame's screen position.
constexpr int kClientWidth = 380;
constexpr int kClientHeight = 303;
constexpr int kFrameLeft = 298;
constexpr int kFrameTop = 153;
constexpr int kFrameWidth = 388;
constexpr int kFrameHeight = 330;
constexpr int kStatusBarHeight = 19;

// The link colour (clBlue).
const QColor kLinkColour(0, 0, 255);

// Cell button k and grade spinner k (1-based) among the window's named controls.
constexpr std::array<TSpeedButton * TForm1::*, 9> kCellButtons = {
    &TForm1::SpeedButton1, &TForm1::SpeedButton2, &TForm1::SpeedButton3,
    &TForm1::SpeedButton4, &TForm1::SpeedButton5, &TForm1::SpeedButton6,
    &TForm1::SpeedButton7, &TForm1::SpeedButton8, &TForm1::SpeedButton9,
};
constexpr std::array<TSpinEdit * TForm1::*, 3> kGradeSpinners = {
    &TForm1::SpinEdit1,
    &TForm1::SpinEdit2,
    &TForm1::SpinEdit3,
};

template <typename T>
T* named(T* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

void setTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent),
      lineHeight_(QFontMetrics(fonts::windowFont()).height()),
      urlOpener_(&links::openWithDesktop),
      errorBox_(&showErrorBox),
      wipeQuestion_(&askWipeQuestion) {
    accessible::installFactory();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(texts::kFormCaption);
    setWindowIcon(mainIcon());
    setFont(fonts::windowFont());
    setAutoFillBackground(true);

    createControls();
    describeControls();
    bindEvents();
    watchMode_ = new WatchMode(*this);
    bindKeys(this);
    announcer_ = new Announcer(this);
    for (TSpinEdit* TForm1::*spin : kGradeSpinners) {
        announcer_->followGrade(this->*spin);
    }
    accessible::renew(this);

    resize(scaled(kClientWidth), scaled(kClientHeight));
    move(kFrameLeft, kFrameTop);
    keepOnScreen();
    placeStatusBar();

    Button1->setFocus(Qt::OtherFocusReason);
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() {
    // Watching ends with the window, saving what it held back while the store still exists.
    watchMode_->stop();
}

void TForm1::keepOnScreen() {
    const QScreen* screen = QGuiApplication::screenAt(QPoint(kFrameLeft, kFrameTop));
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    // Before the window is shown its frame is not known yet; the design's frame stands in.
    QRect frame = frameGeometry();
    if (frame == geometry()) {
        frame.setSize(frame.size() + QSize(scaled(kFrameWidth - kClientWidth),
                                           scaled(kFrameHeight - kClientHeight)));
    }
    move(fitOnScreen(frame, screen->availableGeometry()));
}

int TForm1::scaled(int designPixels) const {
    // Halves away from zero, as the window system scales its dialog units.
    return chart::MulDiv(designPixels, lineHeight_, fonts::kDesignLineHeight);
}

void TForm1::place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(scaled(left), scaled(top), scaled(width), scaled(height));
}

TLabel* TForm1::addLabel(const QString& name, const QString& caption, QWidget* parent, int left,
                         int top) {
    TLabel* label = named(new TLabel(caption, parent), name);
    label->move(scaled(left), scaled(top));
    return label;
}

TSpinEdit* TForm1::addGradeSpinner(const QString& name, const QString& meaning, int top,
                                   std::int32_t value, bool editorEnabled) {
    TSpinEdit* spin = named(new TSpinEdit(Panel1), name);
    place(spin, 96, top, 33, 22);
    ConfigureGradeSpinner(*spin, value, editorEnabled);
    spin->setAccessibleName(meaning);
    spin->setAccessibleDescription(texts::kGradeDescription);
    return spin;
}

void TForm1::describeControls() {
    for (int k = 1; k <= 9; ++k) {
        cellButton(k)->setAccessibleDescription(
            texts::kCellDescription.arg((k - 1) / 3 + 1).arg((k - 1) % 3 + 1).arg(k));
    }
    Label2->setAccessibleDescription(texts::kGameNumberDescription);
    Label8->setAccessibleDescription(texts::kEntryCountDescription);
    Label9->setAccessibleDescription(texts::kHomepageDescription);
    Label10->setAccessibleDescription(texts::kMailDescription);
    Chart1->setAccessibleName(texts::kScoreName);
    Panel1->setAccessibleName(texts::kGradesPanelName);
    Button1->setAccessibleDescription(texts::kWipeDescription);
    Button2->setAccessibleDescription(texts::kPlayDescription);
    Bar1->setAccessibleName(texts::kStatusName);
    Bar1->setAccessibleDescription(texts::kStatusDescription);
}

void TForm1::describeScore() {
    if (Series1->Count() < 3) {
        return;
    }
    // Counts in plain digits at any size (QString::arg(double) turns a million into "1e+06").
    const auto count = [this](int i) { return QString::number(Series1->GetYValue(i), 'f', 0); };
    Chart1->setAccessibleDescription(texts::kScoreDescription.arg(count(0), count(1), count(2)));
}

void TForm1::createControls() {
    // Cells 1..9 row by row, 32 pixels apart and 33 wide, so neighbours share a border line.
    for (int k = 1; k <= 9; ++k) {
        TSpeedButton* cell =
            named(new TSpeedButton(this), QStringLiteral("SpeedButton") + QString::number(k));
        cell->setText(texts::kEmptyCell);
        cell->setFont(fonts::cellFont());
        place(cell, 24 + 32 * ((k - 1) % 3), 40 + 32 * ((k - 1) / 3), 33, 33);
        this->*kCellButtons[static_cast<std::size_t>(k - 1)] = cell;
    }

    Label2 = addLabel(QStringLiteral("Label2"), texts::kZero, this, 80, 8);
    Label6 = addLabel(QStringLiteral("Label6"), texts::kGameLabel, this, 40, 8);
    Label7 = addLabel(QStringLiteral("Label7"), texts::kMemoryLabel, this, 40, 152);
    Label8 = addLabel(QStringLiteral("Label8"), texts::kZero, this, 88, 152);

    Label9 = addLabel(QStringLiteral("Label9"), links::homepageHost(), this, 288, 264);
    Label9->setFont(fonts::linkFont(true));
    Label9->setWordWrap(true);
    setTextColour(Label9, kLinkColour);
    Label9->setCursor(Qt::PointingHandCursor);
    Label10 = addLabel(QStringLiteral("Label10"), links::contactEmail(), this, 288, 248);
    Label10->setFont(fonts::linkFont(false));
    setTextColour(Label10, kLinkColour);
    Label10->setCursor(Qt::PointingHandCursor);
    Label11 = addLabel(QStringLiteral("Label11"), texts::kFeedbackLabel, this, 200, 248);
    Label12 = addLabel(QStringLiteral("Label12"), texts::kSiteLabel, this, 200, 264);

    Chart1 = named(new chart::TChart(this), QStringLiteral("Chart1"));
    place(Chart1, 160, 16, 217, 225);
    Series1 = Chart1->CreateBarSeries();
    ConfigureScoreChart(*Chart1, *Series1);

    Panel1 = named(new TPanel(this), QStringLiteral("Panel1"));
    place(Panel1, 8, 184, 137, 97);
    Label1 = addLabel(QStringLiteral("Label1"), texts::kWinGrade, Panel1, 16, 24);
    Label1->setFont(fonts::gradeFont());
    Label3 = addLabel(QStringLiteral("Label3"), texts::kLossGrade, Panel1, 16, 48);
    Label3->setFont(fonts::gradeFont());
    Label4 = addLabel(QStringLiteral("Label4"), texts::kDrawGrade, Panel1, 16, 72);
    Label4->setFont(fonts::gradeFont());
    Label5 = addLabel(QStringLiteral("Label5"), texts::kGradesHeading, Panel1, 40, 8);

    SpinEdit1 = addGradeSpinner(QStringLiteral("SpinEdit1"), texts::kWinGradeName, 24,
                                engine::grades::kWinDefault, false);
    SpinEdit2 = addGradeSpinner(QStringLiteral("SpinEdit2"), texts::kLossGradeName, 48,
                                engine::grades::kLossDefault, true);
    SpinEdit3 = addGradeSpinner(QStringLiteral("SpinEdit3"), texts::kDrawGradeName, 72,
                                engine::grades::kDrawDefault, true);

    Button1 = named(new TButton(texts::kWipeButton, this), QStringLiteral("Button1"));
    place(Button1, 8, 168, 137, 17);
    Bar1 = named(new TStatusBar(this), QStringLiteral("Bar1"));
    place(Bar1, 0, 284, 380, kStatusBarHeight);
    Button2 = named(new TButton(texts::kPlayButton, this), QStringLiteral("Button2"));
    place(Button2, 24, 24, 97, 17);

    // Only the two push buttons are tab stops, Button1 first.
    setTabOrder(Button1, Button2);
}

void TForm1::bindEvents() {
    using Handler = void (engine::GameFlow::*)();
    const std::array<Handler, 9> cellHandlers = {
        &TForm1::SpeedButton1Click, &TForm1::SpeedButton2Click, &TForm1::SpeedButton3Click,
        &TForm1::SpeedButton4Click, &TForm1::SpeedButton5Click, &TForm1::SpeedButton6Click,
        &TForm1::SpeedButton7Click, &TForm1::SpeedButton8Click, &TForm1::SpeedButton9Click,
    };
    for (std::size_t i = 0; i < kCellButtons.size(); ++i) {
        const Handler handler = cellHandlers[i];
        connect(this->*kCellButtons[i], &TSpeedButton::clicked, this, [this, handler] {
            watchMode_->stop();  // the player takes over
            guarded([this, handler] { (this->*handler)(); });
        });
    }
    connect(Button1, &TButton::clicked, this, [this] { wipeClicked(); });
    connect(Button2, &TButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });
    connect(Label9, &TLabel::clicked, this, [this] { guarded([this] { Label9Click(); }); });
    connect(Label10, &TLabel::clicked, this, [this] { guarded([this] { Label10Click(); }); });
}

void TForm1::bindKeys(QWidget* window) {
    // Window-wide shortcuts: they work whichever control has the focus, a spinner included,
    // and in the memory view as in this window.
    auto bind = [this, window](const QKeySequence& keys, auto action) {
        auto* shortcut = new QShortcut(keys, window);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    bind(QKeySequence(Qt::Key_F1), [this] { showHelp(); });
    bind(QKeySequence(Qt::Key_F3), [this] { memoryView().open(); });
    bind(QKeySequence(Qt::Key_F5), [this] { watchMode_->toggle(); });
    // A new game is what «играть» does, and only when it may be pressed.
    const auto newGame = [this] {
        if (Button2->isEnabled()) {
            Button2->click();
        }
    };
    bind(QKeySequence(Qt::Key_F2), newGame);
    bind(QKeySequence(Qt::CTRL | Qt::Key_N), newGame);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
}

void TForm1::wipeClicked() {
    // Forgetting a kept memory is asked first, and so is replacing a file that could not be
    // read (it may hold a memory worth more than an empty one); the empty memory and a window
    // without a file are wiped at once, as always.
    const bool ask = memoryStore_ && (entryCount() > 0 || memoryStore_->keepsUnreadableFile());
    if (ask) {
        // Watching would go on learning and saving behind the question.
        watchMode_->stop();
        const QString backup = QFile::decodeName(
            engine::backupPathOf(QFile::encodeName(memoryStore_->path()).toStdString()).c_str());
        const QString question = entryCount() > 0
                                     ? wipeQuestionText(entryCount(), backup)
                                     : unreadableWipeQuestionText(memoryStore_->path(), backup);
        if (!wipeQuestion_(this, texts::kAppName, question)) {
            return;
        }
    }
    guarded([this, ask] {
        Button1Click();
        if (memoryStore_) {
            memoryStore_->wiped(ask);
        }
    });
}

void TForm1::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        reportError(QString::fromUtf8(error.what()));
    } catch (...) {
        // Nothing may travel on through Qt's event loop, whatever its type.
        reportError(texts::kUnknownError);
    }
    emit handled();
}

void TForm1::reportError(const QString& message) {
    emit errorReported();
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
    errorBox_(this, texts::kAppName, errorBoxText(message));
}

void TForm1::Label9Click() {
    urlOpener_(links::homepageUrl());
}

void TForm1::Label10Click() {
    urlOpener_(links::mailUrl());
}

void TForm1::setUrlOpener(links::UrlOpener opener) {
    urlOpener_ = opener ? std::move(opener) : links::UrlOpener(&links::openWithDesktop);
}

void TForm1::setErrorBox(ErrorBox box) {
    errorBox_ = box ? std::move(box) : ErrorBox(&showErrorBox);
}

void TForm1::setWipeQuestion(WipeQuestion question) {
    wipeQuestion_ = question ? std::move(question) : WipeQuestion(&askWipeQuestion);
}

void TForm1::setMemoryWriter(SaveThread::Writer writer) {
    memoryWriter_ = std::move(writer);
}

void TForm1::finishSaving() {
    if (memoryStore_) {
        memoryStore_->flush();
    }
}

void TForm1::showHelp() {
    if (help_ == nullptr) {
        help_ = new HelpWindow(this, memoryStore_ ? memoryStore_->path() : QString(),
                               [this](const QUrl& url) { urlOpener_(url); });
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void TForm1::useKeptMemory() {
    const QString path = keptMemoryPath();
    if (path.isEmpty()) {
        reportError(texts::kNoKeptMemory.arg(texts::kNoKeptFolder));
        return;
    }
    useMemoryFile(path, FolderPolicy::Create);
}

void TForm1::useMemoryFile(const QString& path, FolderPolicy policy) {
    memoryStore_ = std::make_unique<MemoryStore>(
        *this, path, [this](const QString& text) { reportError(text); }, memoryWriter_);
    guarded([this, policy] { memoryStore_->load(policy); });
}

bool TForm1::watch(const QString& opponent, int paceMs) {
    if (!watchMode_->setOpponent(opponent, QRandomGenerator::global()->generate64())) {
        return false;
    }
    watchMode_->setPace(paceMs);
    watchMode_->start();
    return true;
}

MemoryView& TForm1::memoryView() {
    if (memoryView_ == nullptr) {
        memoryView_ = new MemoryView(*this);
    }
    return *memoryView_;
}

void TForm1::setDisplayDeferred(bool deferred) {
    displayDeferred_ = deferred;
    if (!deferred) {
        flushDisplay();
    }
}

void TForm1::flushDisplay() {
    if (!std::exchange(displayStale_, false)) {
        return;
    }
    for (int k = 1; k <= 9; ++k) {
        paintCell(k, board().at(k));
    }
    paintCounter(Label2, Label6, gameNumber());
    paintCounter(Label8, Label7, entryCount());
    paintStatus();
    for (int i = 0; i < static_cast<int>(scores().size()); ++i) {
        paintScore(i, scores()[static_cast<std::size_t>(i)]);
    }
    paintPlayEnabled(!acceptingMoves());
}

bool TForm1::deferDisplay() {
    displayStale_ = displayStale_ || displayDeferred_;
    return displayDeferred_;
}

TSpeedButton* TForm1::cellButton(int k) const {
    if (k < 1 || k > static_cast<int>(kCellButtons.size())) {
        throw engine::ERangeError();
    }
    return this->*kCellButtons[static_cast<std::size_t>(k - 1)];
}

void TForm1::showCell(int k, const engine::Cell& value) {
    if (!deferDisplay()) {
        paintCell(k, value);
    }
}

void TForm1::paintCell(int k, const engine::Cell& value) {
    // The new caption is painted with the next repaint, after the handler has returned, so
    // the player's mark and the computer's answer appear together.
    // A screen reader hears the marks placed (the computer's answer among them), not the
    // board being cleared.
    TSpeedButton* cell = cellButton(k);
    const QString caption = QString::fromStdString(value.text());
    if (caption != cell->text() && !caption.trimmed().isEmpty()) {
        announcer_->say(accessible::cellName(k, caption));
    }
    cell->setText(caption);
}

void TForm1::showGameNumber(std::int32_t number) {
    if (!deferDisplay()) {
        paintCounter(Label2, Label6, number);
    }
}

void TForm1::showEntryCount(std::int32_t count) {
    if (!deferDisplay()) {
        paintCounter(Label8, Label7, count);
    }
}

void TForm1::paintCounter(TLabel* value, const TLabel* caption, std::int32_t number) {
    const QString text = QString::number(number);
    if (text != value->text()) {
        announcer_->say(accessible::counterName(caption->text(), text));
    }
    value->setCaption(text);
}

void TForm1::showStatus(const std::string& utf8Text) {
    status_ = QString::fromStdString(utf8Text);
    if (!deferDisplay()) {
        paintStatus();
    }
}

void TForm1::paintStatus() {
    if (status_ != Bar1->simpleText()) {
        announcer_->say(status_);
    }
    Bar1->setSimpleText(status_);
}

void TForm1::setPlayEnabled(bool enabled) {
    if (!deferDisplay()) {
        paintPlayEnabled(enabled);
    }
}

void TForm1::paintPlayEnabled(bool enabled) {
    // A disabled button hands the focus to the window itself, not to the next tab stop (Qt's
    // default): a Space or Enter pressed during the game must not reach the wipe button. The
    // window keeps it when it is deactivated and activated again. An inactive window's button
    // may hold the window's focus without having the keyboard's, so the window's focus widget
    // is what counts.
    if (!enabled && (focusWidget() == Button2 || Button2->hasFocus())) {
        setFocus(Qt::OtherFocusReason);
    }
    Button2->setEnabled(enabled);
}

std::int32_t TForm1::readGrade(int spinner) {
    if (spinner < 1 || spinner > static_cast<int>(kGradeSpinners.size())) {
        throw engine::ERangeError();
    }
    return (this->*kGradeSpinners[static_cast<std::size_t>(spinner - 1)])->value();
}

void TForm1::addScorePoint(const std::string& utf8Label) {
    Series1->Add(0.0, QString::fromStdString(utf8Label), chart::AutoColor);
    describeScore();
}

void TForm1::setScoreValue(int index, double value) {
    if (!deferDisplay()) {
        paintScore(index, value);
    }
}

void TForm1::paintScore(int index, double value) {
    Series1->SetYValue(index, value);
    describeScore();
}

void TForm1::gameFinished(engine::Outcome outcome) {
    // A finished game is written to the memory file, even when grading failed (an overflow
    // still ends the game).
    if (memoryStore_) {
        memoryStore_->gameFinished();
    }
    // After the outcome a screen reader hears the new score, which only the chart shows.
    if (!displayDeferred_ && !Chart1->accessibleDescription().isEmpty()) {
        announcer_->say(texts::kScoreName);
        announcer_->say(Chart1->accessibleDescription());
    }
    emit gameEnded(outcome);
}

void TForm1::placeStatusBar() {
    // The status bar alone follows the bottom edge and spans the width.
    const int height = scaled(kStatusBarHeight);
    Bar1->setGeometry(0, this->height() - height, width(), height);
}

int TForm1::cellOfKey(const QKeyEvent* event) {
    // The digit keys of the main block and of the numeric keypad, without Ctrl, Alt or Meta
    // (Shift is allowed: some keyboard layouts type their digits with it).
    const int key = event->key();
    if (key < Qt::Key_1 || key > Qt::Key_9 ||
        (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) != Qt::NoModifier) {
        return 0;
    }
    return key - Qt::Key_0;
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // Digit k plays cell k while a game runs. Keys reach the window when it holds the focus
    // itself or when a push button with the focus passes them on; a spinner keeps its own.
    const int cell = cellOfKey(event);
    if (cell != 0) {
        watchMode_->stop();  // a digit that plays is the player taking over
    }
    if (cell == 0 || !acceptingMoves()) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    guarded([this, cell] { SpeedButtonClick(cell); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The last game's save may still be on its way: the window waits for it, and when the
    // file does not hold the memory as it is, says so before it goes.
    if (memoryStore_) {
        memoryStore_->finish();
    }
    QWidget::closeEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeStatusBar();
}

}  // namespace zelmo::ui
