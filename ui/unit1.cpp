#include "ui/unit1.h"

#include <QFontMetrics>
#include <QPalette>
#include <QResizeEvent>

#include <exception>
#include <utility>

#include "engine/errors.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/icon.h"
#include "ui/spinedit.h"
#include "ui/texts.h"

namespace zelmo::ui {

namespace {

// The window at design: client area and the outer frame's screen position.
constexpr int kClientWidth = 380;
constexpr int kClientHeight = 303;
constexpr int kFrameLeft = 298;
constexpr int kFrameTop = 153;
constexpr int kStatusBarHeight = 19;

// The link colour (clBlue).
const QColor kLinkColour(0, 0, 255);

template <typename T>
T* named(T* control, const char* name) {
    control->setObjectName(QLatin1String(name));
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
      errorBox_(&showErrorBox) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(texts::kFormCaption);
    setWindowIcon(mainIcon());
    setFont(fonts::windowFont());
    setAutoFillBackground(true);

    createControls();
    bindEvents();

    resize(scaled(kClientWidth), scaled(kClientHeight));
    move(kFrameLeft, kFrameTop);
    placeStatusBar();

    Button1->setFocus(Qt::OtherFocusReason);
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

int TForm1::scaled(int designPixels) const {
    return fonts::mulDiv(designPixels, lineHeight_, fonts::kDesignLineHeight);
}

void TForm1::place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(scaled(left), scaled(top), scaled(width), scaled(height));
}

void TForm1::placeLabel(TLabel* label, int left, int top) {
    label->move(scaled(left), scaled(top));
    label->adjustSize();
}

void TForm1::createControls() {
    const std::array<const char*, 9> cellNames = {
        "SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5",
        "SpeedButton6", "SpeedButton7", "SpeedButton8", "SpeedButton9",
    };
    // Cells 1..9 row by row, 32 pixels apart and 33 wide, so neighbours share a border line.
    for (int k = 0; k < 9; ++k) {
        TSpeedButton* cell = named(new TSpeedButton(this), cellNames[static_cast<std::size_t>(k)]);
        cell->setText(texts::kEmptyCell);
        cell->setFont(fonts::cellFont());
        place(cell, 24 + 32 * (k % 3), 40 + 32 * (k / 3), 33, 33);
        cells_[static_cast<std::size_t>(k)] = cell;
    }
    SpeedButton1 = cells_[0];
    SpeedButton2 = cells_[1];
    SpeedButton3 = cells_[2];
    SpeedButton4 = cells_[3];
    SpeedButton5 = cells_[4];
    SpeedButton6 = cells_[5];
    SpeedButton7 = cells_[6];
    SpeedButton8 = cells_[7];
    SpeedButton9 = cells_[8];

    Label2 = named(new TLabel(texts::kZero, this), "Label2");
    placeLabel(Label2, 80, 8);
    Label6 = named(new TLabel(texts::kGameLabel, this), "Label6");
    placeLabel(Label6, 40, 8);
    Label7 = named(new TLabel(texts::kMemoryLabel, this), "Label7");
    placeLabel(Label7, 40, 152);
    Label8 = named(new TLabel(texts::kZero, this), "Label8");
    placeLabel(Label8, 88, 152);

    Label9 = named(new TLabel(links::homepageHost(), this), "Label9");
    Label9->setFont(fonts::linkFont(true));
    Label9->setWordWrap(true);
    setTextColour(Label9, kLinkColour);
    Label9->setCursor(Qt::PointingHandCursor);
    placeLabel(Label9, 288, 264);
    Label10 = named(new TLabel(links::contactEmail(), this), "Label10");
    Label10->setFont(fonts::linkFont(false));
    setTextColour(Label10, kLinkColour);
    Label10->setCursor(Qt::PointingHandCursor);
    placeLabel(Label10, 288, 248);
    Label11 = named(new TLabel(texts::kFeedbackLabel, this), "Label11");
    placeLabel(Label11, 200, 248);
    Label12 = named(new TLabel(texts::kSiteLabel, this), "Label12");
    placeLabel(Label12, 200, 264);

    Chart1 = named(new chart::TChart(this), "Chart1");
    place(Chart1, 160, 16, 217, 225);
    Series1 = Chart1->CreateBarSeries();
    chart::ConfigureScoreChart(*Chart1, *Series1);

    Panel1 = named(new TPanel(this), "Panel1");
    place(Panel1, 8, 184, 137, 97);
    Label1 = named(new TLabel(texts::kWinGrade, Panel1), "Label1");
    Label1->setFont(fonts::gradeFont());
    placeLabel(Label1, 16, 24);
    Label3 = named(new TLabel(texts::kLossGrade, Panel1), "Label3");
    Label3->setFont(fonts::gradeFont());
    placeLabel(Label3, 16, 48);
    Label4 = named(new TLabel(texts::kDrawGrade, Panel1), "Label4");
    Label4->setFont(fonts::gradeFont());
    placeLabel(Label4, 16, 72);
    Label5 = named(new TLabel(texts::kGradesHeading, Panel1), "Label5");
    placeLabel(Label5, 40, 8);

    SpinEdit1 = named(new TSpinEdit(Panel1), "SpinEdit1");
    place(SpinEdit1, 96, 24, 33, 22);
    ConfigureGradeSpinner(*SpinEdit1, 5, false);
    SpinEdit2 = named(new TSpinEdit(Panel1), "SpinEdit2");
    place(SpinEdit2, 96, 48, 33, 22);
    ConfigureGradeSpinner(*SpinEdit2, 2, true);
    SpinEdit3 = named(new TSpinEdit(Panel1), "SpinEdit3");
    place(SpinEdit3, 96, 72, 33, 22);
    ConfigureGradeSpinner(*SpinEdit3, 4, true);
    spinEdits_ = {SpinEdit1, SpinEdit2, SpinEdit3};

    Button1 = named(new TButton(texts::kWipeButton, this), "Button1");
    place(Button1, 8, 168, 137, 17);
    Bar1 = named(new TStatusBar(this), "Bar1");
    place(Bar1, 0, 284, 380, kStatusBarHeight);
    Button2 = named(new TButton(texts::kPlayButton, this), "Button2");
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
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const Handler handler = cellHandlers[i];
        connect(cells_[i], &TSpeedButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    }
    connect(Button1, &TButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    connect(Button2, &TButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });
    connect(Label9, &TLabel::clicked, this, [this] { guarded([this] { Label9Click(); }); });
    connect(Label10, &TLabel::clicked, this, [this] { guarded([this] { Label10Click(); }); });
}

void TForm1::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        if (QWidget* grabber = QWidget::mouseGrabber()) {
            grabber->releaseMouse();
        }
        errorBox_(this, texts::kAppName, errorBoxText(QString::fromUtf8(error.what())));
    }
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

TSpeedButton* TForm1::cellButton(int k) const {
    if (k < 1 || k > static_cast<int>(cells_.size())) {
        throw engine::ERangeError();
    }
    return cells_[static_cast<std::size_t>(k - 1)];
}

void TForm1::showCell(int k, const engine::Cell& value) {
    // The new caption is painted with the next repaint, after the handler has returned, so
    // the player's mark and the computer's answer appear together.
    cellButton(k)->setText(QString::fromStdString(value.text()));
}

void TForm1::showGameNumber(std::int32_t number) {
    Label2->setCaption(QString::number(number));
}

void TForm1::showEntryCount(std::int32_t count) {
    Label8->setCaption(QString::number(count));
}

void TForm1::showStatus(const std::string& utf8Text) {
    Bar1->setSimpleText(QString::fromStdString(utf8Text));
}

void TForm1::setPlayEnabled(bool enabled) {
    // A disabled button hands the focus to the window itself, not to the next tab stop (Qt's
    // default): a Space or Enter pressed during the game must not reach the wipe button.
    if (!enabled && Button2->hasFocus()) {
        Button2->clearFocus();
    }
    Button2->setEnabled(enabled);
}

std::int32_t TForm1::readGrade(int spinner) {
    if (spinner < 1 || spinner > static_cast<int>(spinEdits_.size())) {
        throw engine::ERangeError();
    }
    return spinEdits_[static_cast<std::size_t>(spinner - 1)]->value();
}

void TForm1::addScorePoint(const std::string& utf8Label) {
    Series1->Add(0.0, QString::fromStdString(utf8Label), chart::AutoColor);
}

double TForm1::scoreValue(int index) {
    return Series1->GetYValue(index);
}

void TForm1::setScoreValue(int index, double value) {
    Series1->SetYValue(index, value);
}

void TForm1::placeStatusBar() {
    // The status bar alone follows the bottom edge and spans the width.
    const int height = scaled(kStatusBarHeight);
    Bar1->setGeometry(0, this->height() - height, width(), height);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeStatusBar();
}

}  // namespace zelmo::ui
