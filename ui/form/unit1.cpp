// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form/unit1.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>
#include <array>
#include <exception>
#include <utility>

#include "chart/chartmath.h"
#include "engine/game/errors.h"
#include "engine/game/grades.h"
#include "ui/a11y/accessible.h"
#include "ui/a11y/announce.h"
#include "ui/a11y/announcetexts.h"
#include "ui/a11y/boardspeech.h"
#include "ui/form/controlsetup.h"
#include "ui/form/formlayout.h"
#include "ui/spin/spinedit.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/fonts.h"
#include "ui/widgets/screenfit.h"
#include "ui/widgets/texts.h"

namespace zelmo::ui {

namespace {

using namespace formlayout;

// The link colour (clBlue).
const QColor kLinkColour(0, 0, 255);

// Cell button k (1-based) among the window's named controls.
constexpr std::array<TSpeedButton * TForm1::*, 9> kCellButtons = {
    &TForm1::SpeedButton1, &TForm1::SpeedButton2, &TForm1::SpeedButton3,
    &TForm1::SpeedButton4, &TForm1::SpeedButton5, &TForm1::SpeedButton6,
    &TForm1::SpeedButton7, &TForm1::SpeedButton8, &TForm1::SpeedButton9,
};

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
      errorBox_(&showErrorBox) {
    accessible::installFactory();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(texts::kFormCaption);
    setFont(fonts::windowFont());
    setAutoFillBackground(true);

    createControls();
    describeControls();
    bindEvents();
    announcer_ = new Announcer(this);
    for (const GradeSpinner& grade : kGradeSpinners) {
        announcer_->followGrade(this->*grade.spin, grade.label);
    }
    accessible::renew(this);
    addListener(*this);

    resize(scaled(kClientWidth), scaled(kClientHeight));
    move(kFrameLeft, kFrameTop);
    keepOnScreen();
    placeStatusBar();

    Button1->setFocus(Qt::OtherFocusReason);
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() {
    removeListener(*this);
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

template <typename Control>
Control* TForm1::laidOut(Control* control, const QString& name) {
    const LayoutRow* row = layoutRow(name);
    if (row == nullptr) {
        throw engine::ERangeError();
    }
    control->setObjectName(name);
    if constexpr (std::is_base_of_v<TLabel, Control>) {
        // A label sizes itself to its caption.
        control->setCaption(row->caption);
        control->move(scaled(row->left), scaled(row->top));
    } else {
        control->setGeometry(scaled(row->left), scaled(row->top), scaled(row->width),
                             scaled(row->height));
        if constexpr (std::is_base_of_v<QAbstractButton, Control>) {
            control->setText(row->caption);
        }
    }
    return control;
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
    for (int k = 1; k <= 9; ++k) {
        TSpeedButton* cell =
            laidOut(new TSpeedButton(this), QStringLiteral("SpeedButton") + QString::number(k));
        cell->setFont(fonts::cellFont());
        this->*kCellButtons[static_cast<std::size_t>(k - 1)] = cell;
    }

    const auto label = [this](const char* name, QWidget* parent) {
        return laidOut(new TLabel(QString(), parent), QString::fromLatin1(name));
    };
    Label2 = label("Label2", this);
    Label6 = label("Label6", this);
    Label7 = label("Label7", this);
    Label8 = label("Label8", this);
    // The links: blue, with a hand over them; the home page underlined and wrapped.
    Label9 = label("Label9", this);
    Label9->setFont(fonts::linkFont(true));
    Label9->setWordWrap(true);
    Label10 = label("Label10", this);
    Label10->setFont(fonts::linkFont(false));
    for (TLabel* link : {Label9, Label10}) {
        setTextColour(link, kLinkColour);
        link->setCursor(Qt::PointingHandCursor);
    }
    Label11 = label("Label11", this);
    Label12 = label("Label12", this);

    Chart1 = laidOut(new chart::TChart(this), QStringLiteral("Chart1"));
    Series1 = Chart1->CreateBarSeries();
    ConfigureScoreChart(*Chart1, *Series1);

    Panel1 = laidOut(new TPanel(this), QStringLiteral("Panel1"));
    Label1 = label("Label1", Panel1);
    Label3 = label("Label3", Panel1);
    Label4 = label("Label4", Panel1);
    for (TLabel* grade : {Label1, Label3, Label4}) {
        grade->setFont(fonts::gradeFont());
    }
    Label5 = label("Label5", Panel1);

    // In the order of creation: SpinEdit1, SpinEdit2, SpinEdit3. The win grade is set with
    // the arrows only.
    const engine::Grades start;
    for (const GradeSpinner& grade : kGradeSpinners) {
        TSpinEdit* spin = laidOut(new TSpinEdit(Panel1), QString::fromLatin1(grade.name));
        ConfigureGradeSpinner(*spin, start[grade.grade], grade.grade != engine::Grade::Win);
        spin->setAccessibleName(grade.meaning);
        spin->setAccessibleDescription(texts::kGradeDescription);
        this->*grade.spin = spin;
    }

    Button1 = laidOut(new TButton(QString(), this), QStringLiteral("Button1"));
    Bar1 = laidOut(new TStatusBar(this), QStringLiteral("Bar1"));
    Button2 = laidOut(new TButton(QString(), this), QStringLiteral("Button2"));

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
            emit playerMoved();
            guarded([this, handler] { (this->*handler)(); });
        });
    }
    connect(Button1, &TButton::clicked, this, [this] {
        if (!wipeGuard_ || wipeGuard_()) {
            guarded([this] { Button1Click(); });
        }
    });
    connect(Button2, &TButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });
    connect(Label9, &TLabel::clicked, this, [this] { guarded([this] { Label9Click(); }); });
    connect(Label10, &TLabel::clicked, this, [this] { guarded([this] { Label10Click(); }); });
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

void TForm1::openUrl(const QUrl& url) {
    urlOpener_(url);
}

void TForm1::setErrorBox(ErrorBox box) {
    errorBox_ = box ? std::move(box) : ErrorBox(&showErrorBox);
}

void TForm1::setWipeGuard(std::function<bool()> guard) {
    wipeGuard_ = std::move(guard);
}

TSpeedButton* TForm1::cellButton(int k) const {
    if (k < 1 || k > static_cast<int>(kCellButtons.size())) {
        throw engine::ERangeError();
    }
    return this->*kCellButtons[static_cast<std::size_t>(k - 1)];
}

void TForm1::showCell(int k, const engine::Cell& value) {
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
    showCounter(Label2, Label6, number);
}

void TForm1::showEntryCount(std::int32_t count) {
    showCounter(Label8, Label7, count);
}

void TForm1::showCounter(TLabel* value, const TLabel* caption, std::int32_t number) {
    const QString text = QString::number(number);
    if (text != value->text()) {
        announcer_->say(accessible::counterName(caption->text(), text));
    }
    value->setCaption(text);
}

void TForm1::showStatus(const std::string& utf8Text) {
    const QString status = QString::fromStdString(utf8Text);
    if (status != Bar1->simpleText()) {
        announcer_->say(status);
    }
    Bar1->setSimpleText(status);
}

void TForm1::setPlayEnabled(bool enabled) {
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

TSpinEdit* TForm1::gradeSpinner(engine::Grade grade) const {
    for (const GradeSpinner& spinner : kGradeSpinners) {
        if (spinner.grade == grade) {
            return this->*spinner.spin;
        }
    }
    return SpinEdit3;
}

std::int32_t TForm1::readGrade(engine::Grade grade) {
    return gradeSpinner(grade)->value();
}

engine::Grades TForm1::spinnerGrades() const {
    engine::Grades grades;
    for (const GradeSpinner& spinner : kGradeSpinners) {
        grades.set(spinner.grade, (this->*spinner.spin)->value());
    }
    return grades;
}

engine::Grades TForm1::gradesInForce() {
    return spinnerGrades();
}

void TForm1::setGrades(const engine::Grades& grades) {
    for (const GradeSpinner& spinner : kGradeSpinners) {
        (this->*spinner.spin)->setValue(grades[spinner.grade]);
    }
}

void TForm1::addScorePoint(const std::string& utf8Label) {
    Series1->Add(0.0, QString::fromStdString(utf8Label), chart::AutoColor);
    describeScore();
}

void TForm1::setScoreValue(int index, double value) {
    Series1->SetYValue(index, value);
    describeScore();
}

void TForm1::gameStarted() {
    if (!displayDeferred()) {
        announcer_->say(computerStarts() ? announcetexts::kComputerMovesFirst
                                         : announcetexts::kYourMove);
    }
}

void TForm1::gameFinished(const engine::FinishedGame& /*game*/) {
    if (!displayDeferred() && !Chart1->accessibleDescription().isEmpty()) {
        announcer_->say(texts::kScoreName);
        announcer_->say(Chart1->accessibleDescription());
    }
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
    if (cell == 0 || !playDigit(cell)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool TForm1::playDigit(int cell) {
    emit playerMoved();  // a digit that plays is the player taking over
    // A digit that plays nothing stays silent, as a click would; a screen reader hears why.
    announcer_->sayNow(boardspeech::refusedMove(*this, cell));
    if (!acceptingMoves()) {
        return false;
    }
    guarded([this, cell] { SpeedButtonClick(cell); });
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeStatusBar();
}

}  // namespace zelmo::ui
