// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memoryview/memoryview.h"

#include <QAccessible>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

#include "engine/game/lesson.h"
#include "ui/a11y/accessible.h"
#include "ui/memoryview/lessontext.h"
#include "ui/memoryview/matchboxdelegate.h"
#include "ui/memoryview/memorymodel.h"
#include "ui/memoryview/memorytexts.h"
#include "ui/store/memoryfilestexts.h"

namespace zelmo::ui {

namespace {

constexpr int kFrameMs = 16;

// After the player scrolled, the view leaves the scroll bar alone this long.
constexpr qint64 kPlayerScrollMs = 3000;
// The positions Page Up and Page Down move over.
constexpr int kPagePositions = 10;
// The summary, the lesson and the account together take at most this share of the window's
// height (or the summary's own, when more); the rest is the positions'.
constexpr int kNotesShareNumerator = 1;
constexpr int kNotesShareDenominator = 3;

}  // namespace

MemoryView::MemoryView(engine::GameFlow& flow, QWidget* parent)
    : QWidget(parent, Qt::Window),
      flow_(flow),
      model_(new MemoryModel(flow, this)),
      summary_(new QLabel(this)),
      lesson_(new QLabel(this)),
      account_(new QLabel(this)),
      notes_(new QScrollArea(this)),
      legend_(new QLabel(memorytexts::kLegend, this)),
      list_(new PositionList(this)) {
    setObjectName(QStringLiteral("MemoryView"));
    setWindowTitle(memorytexts::kTitle);
    setAttribute(Qt::WA_QuitOnClose, false);

    list_->setModel(model_);
    list_->setItemDelegate(new MatchBoxDelegate(*model_, *list_->viewport(), list_));
    list_->setViewMode(QListView::IconMode);
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
    // A group's heading is a row across the view, the boxes are squares.
    list_->setUniformItemSizes(false);
    list_->setWrapping(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAccessibleName(memorytexts::kListName);
    list_->installEventFilter(this);
    list_->setSpacing(2);
    // Any move of the scroll bar by the player (dragging, the wheel, its arrows) holds back
    // the view's own scrolling to the game in progress for a while.
    connect(list_->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { playerScrolled_.start(); });

    legend_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    // The account of a whole game runs to many lines: the texts above the positions scroll
    // once they would take more than their share, with no frame, so that they look as
    // before while they fit.
    auto* notes = new QWidget;
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(QMargins());
    notesLayout->setSpacing(layout->spacing());
    notesLayout->addWidget(summary_);
    notesLayout->addWidget(lesson_);
    lesson_->setWordWrap(true);
    lesson_->hide();
    notesLayout->addWidget(account_);
    account_->setWordWrap(true);
    account_->hide();
    notes_->setWidget(notes);
    notes_->setWidgetResizable(true);
    notes_->setFrameShape(QFrame::NoFrame);
    notes_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    notes_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(notes_);
    layout->addWidget(list_, 1);
    layout->addWidget(legend_);
    summary_->setWordWrap(true);
    // The summary, the last game's lesson and the account of its moves can be reached with Tab
    // and read line by line.
    for (QLabel* line : {summary_, lesson_, account_}) {
        line->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        line->setFocusPolicy(Qt::TabFocus);
    }
    setTabOrder(list_, summary_);
    setTabOrder(summary_, lesson_);
    setTabOrder(lesson_, account_);
    resize(560, 480);
    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);

    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, &MemoryView::refreshNow);
    flow_.addListener(*this);
    // An interface asked for while the list was being built is a plain list's: dropped, the
    // factory gives the list its own.
    accessible::renew(this);
}

MemoryView::~MemoryView() {
    flow_.removeListener(*this);
}

void MemoryView::open() {
    show();
    raise();
    activateWindow();
    list_->setFocus(Qt::OtherFocusReason);
}

void MemoryView::setMemoryGames(std::uint64_t games) {
    model_->setMemoryGames(games);
    schedule();
}

void MemoryView::refreshNow() {
    model_->refresh();
    summary_->setText(model_->summary() + fileLine_);
    if (lessonOutcome_) {
        lesson_->setText(lessonText(engine::lastLesson(flow_.memory(), *lessonOutcome_)));
    }
    lesson_->setVisible(lessonOutcome_.has_value());
    const QString account = accountText();
    account_->setText(account);
    account_->setVisible(!account.isEmpty());
    fitNotes();
    if (!list_->currentIndex().isValid() && model_->rowCount() > 1) {
        // The first position, after its heading, or where it was when the window was hidden.
        list_->setCurrentIndex(model_->index(std::clamp(currentRow_, 1, model_->rowCount() - 1)));
    }
    followGame();
    // Renamed while the list has the focus, the list would be read out again with every game.
    if (!list_->hasFocus()) {
        describeList();
    }
}

QString MemoryView::accountText() const {
    static const std::vector<engine::MoveExplanation> kNone;
    const std::vector<engine::MoveExplanation>* cross = crossMoves_ ? crossMoves_() : nullptr;
    QStringList moves;
    for (const engine::PlayedMove& played :
         engine::inPlayOrder(flow_.moveExplanations(), cross != nullptr ? *cross : kNone)) {
        moves << (played.cross ? memorytexts::kCrossMove : QString()) +
                     QString::fromStdString(engine::explanationText(*played.move));
    }
    return moves.isEmpty()
               ? QString()
               : (cross != nullptr ? memorytexts::kAccountWithCross : memorytexts::kAccount)
                     .arg(moves.join(memorytexts::kAccountSeparator));
}

void MemoryView::describeList() {
    // The summary is read with the list's name when the list gains the focus; the focused
    // position and its place among all (which screen readers count themselves) follow.
    const QString name = memorytexts::kListSummary.arg(
        memorytexts::kListName,
        model_->summary().replace(memorytexts::kShownSeparator, memorytexts::kSpokenSeparator));
    // Set only when changed: each change is an event for assistive technology.
    if (list_->accessibleName() != name) {
        list_->setAccessibleName(name);
    }
}

int MemoryView::walkTarget(int row, int key) const {
    // Positions only: the headings are passed over, and a group is a heading's positions.
    const int rows = model_->rowCount();
    const auto isPosition = [this, rows](int r) {
        return r >= 0 && r < rows && !model_->box(r).heading();
    };
    const auto step = [&isPosition, rows](int from, int direction) {
        for (int r = from + direction; r >= 0 && r < rows; r += direction) {
            if (isPosition(r)) {
                return r;
            }
        }
        return from;
    };
    const auto groupStart = [&isPosition](int r) {
        while (r > 0 && isPosition(r - 1)) {
            --r;
        }
        return r;
    };
    // Ctrl+Home and Ctrl+End go where Home and End go.
    switch (key) {
        case Qt::Key_Up:
            return step(row, -1);
        case Qt::Key_Down:
            return step(row, +1);
        case Qt::Key_Left: {
            // The first position of this group, or of the group before when already there.
            const int start = groupStart(row);
            return start < row ? start : groupStart(step(start, -1));
        }
        case Qt::Key_Right: {
            int r = row;
            while (isPosition(r + 1)) {
                ++r;
            }
            const int next = step(r, +1);
            return next != r ? next : row;
        }
        case Qt::Key_Home:
            return step(-1, +1);
        case Qt::Key_End:
            return step(rows, -1);
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            int r = row;
            for (int i = 0; i < kPagePositions; ++i) {
                r = step(r, key == Qt::Key_PageUp ? -1 : +1);
            }
            return r;
        }
        default:
            break;
    }
    return -1;
}

void MemoryView::walk(int row) {
    if (row < 0 || row >= model_->rowCount()) {
        return;
    }
    // Entering another group says its heading, which the list itself never reads.
    const int before = list_->currentIndex().row();
    const auto headingOf = [this](int r) {
        while (r >= 0 && !model_->box(r).heading()) {
            --r;
        }
        return r;
    };
    const int heading = headingOf(row);
    if (heading >= 0 && heading != headingOf(before) && speak_) {
        const MatchBox& box = model_->box(heading);
        // With a comma where the heading shows a dot, which a screen reader would name.
        speak_(MemoryModel::headingText(box.stage, box.groupSize)
                   .replace(memorytexts::kShownSeparator, memorytexts::kSpokenSeparator));
    }
    list_->setCurrentIndex(model_->index(row));
    list_->scrollTo(model_->index(row));
    playerScrolled_.start();
}

bool MemoryView::eventFilter(QObject* watched, QEvent* event) {
    // The keys walk the positions one by one and the groups, as a tree's would, whatever the
    // grid looks like; the headings are passed over.
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const int target = walkTarget(std::max(0, list_->currentIndex().row()), key->key());
        if (target >= 0) {
            walk(target);
            return true;
        }
    }
    // After the list's own focus event, which Qt sends once the focus-in is handled.
    if (watched == list_ && event->type() == QEvent::FocusIn && QAccessible::isActive()) {
        describeList();
        QMetaObject::invokeMethod(
            this, [this] { accessible::tellCurrentItem(list_); }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void MemoryView::hideEvent(QHideEvent* event) {
    // A current position reports the focus to assistive technology, also in a hidden window:
    // the window keeps its place and has none while hidden.
    currentRow_ = std::max(1, list_->currentIndex().row());
    list_->selectionModel()->clearCurrentIndex();
    QWidget::hideEvent(event);
}

void MemoryView::gameFinished(const engine::FinishedGame& game) {
    lessonOutcome_ = game.outcome;
}

void MemoryView::followGame() {
    if (playerScrolled_.isValid() && playerScrolled_.elapsed() < kPlayerScrollMs) {
        return;
    }
    // The last position of the game in progress: the newest answer it played.
    int row = -1;
    int stage = 0;
    for (int r = 0; r < model_->rowCount(); ++r) {
        const MatchBox& box = model_->box(r);
        if (box.played != 0 && box.stage >= stage) {
            row = r;
            stage = box.stage;
        }
    }
    if (row >= 0) {
        list_->scrollTo(model_->index(row), QAbstractItemView::EnsureVisible);
    }
}

void MemoryView::setMemoryFile(const QString& path) {
    // The name alone, which wraps with the summary; the whole path is the line's tool tip.
    fileLine_ = path.isEmpty() ? QString()
                               : QLatin1Char('\n') +
                                     memoryfilestexts::kFileLine.arg(QFileInfo(path).fileName());
    summary_->setToolTip(path);
    if (isVisible()) {
        refreshNow();
    }
}

void MemoryView::fitMinimumSize() {
    // At its smallest the window still shows a row of three boxes, the whole summary (wrapped,
    // at its longest) and the whole legend; measured once the window is polished, with the
    // fonts and margins it shows.
    const int row = MatchBoxDelegate::boxSide(list_->fontMetrics()) + 2 * list_->spacing();
    const int heading = list_->fontMetrics().height() + 8 + 2 * list_->spacing();
    const QMargins margins = layout()->contentsMargins();
    const int spacing = layout()->spacing();
    const int listWidth =
        3 * row + list_->verticalScrollBar()->sizeHint().width() + 2 * list_->frameWidth();
    const QRect longestSummary = summary_->fontMetrics().boundingRect(
        QRect(0, 0, listWidth, 0), Qt::TextWordWrap, memorytexts::kLongestSummary + fileLine_);
    list_->setMinimumHeight(heading + row + 2 * list_->frameWidth());
    // The legend takes at most a quarter of the window, however small.
    const int legend = legend_->heightForWidth(listWidth);
    const int height = margins.top() + longestSummary.height() + spacing + heading + row +
                       2 * list_->frameWidth() + spacing + legend + margins.bottom();
    setMinimumSize(listWidth + margins.left() + margins.right(), std::max(height, 4 * legend));
}

void MemoryView::fitNotes() {
    // A label wrapped at its width knows its height (before the first layout, its hint's).
    const auto heightAt = [](const QWidget& widget, int width) {
        const int height = widget.heightForWidth(width);
        return height >= 0 ? height : widget.sizeHint().height();
    };
    const int width = notes_->width();
    const int share = height() * kNotesShareNumerator / kNotesShareDenominator;
    notes_->setFixedHeight(
        std::min(heightAt(*notes_->widget(), width), std::max(share, heightAt(*summary_, width))));
}

void MemoryView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitNotes();
}

void MemoryView::showEvent(QShowEvent* event) {
    fitMinimumSize();
    QWidget::showEvent(event);
    refreshNow();
}

void MemoryView::schedule() {
    // Hidden, it costs one test per event; shown, it refreshes at most once a frame.
    if (isVisible() && !frame_.isActive()) {
        frame_.start();
    }
}

}  // namespace zelmo::ui
