// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memory/memoryview.h"

#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/memory/memoryfilestexts.h"
#include "ui/memory/memorymodel.h"
#include "ui/memory/memorytexts.h"

namespace zelmo::ui {

namespace {

constexpr int kFrameMs = 16;

const QColor kBoxFace(0xf4, 0xe4, 0xc1);  // the match box's cardboard
const QColor kBoxEdge(0x8a, 0x6a, 0x3c);
const QColor kInGameEdge(0x1e, 0x5f, 0xc8);  // a position of the game in progress
const QColor kPlayedCell(0xbf, 0xd7, 0xff);  // the answer played there
const QColor kGridLine(0xb8, 0x9c, 0x6e);
const QColor kMarkColour(0x26, 0x1c, 0x10);

// Paints one match box: a 3 x 3 board with the marks and a bead on every answer tried. Sizes
// follow the font, so the boxes grow with the screen's density; the painter takes care of the
// device pixel ratio.
class MatchBoxDelegate : public QStyledItemDelegate {
  public:
    MatchBoxDelegate(const MemoryModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const int side = boxSide(option.fontMetrics);
        return {side, side};
    }

    // A box's width and height for a font.
    static int boxSide(const QFontMetrics& metrics) {
        return 3 * cellSide(metrics) + 2 * kPad + 2 * kMargin;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const MatchBox& box = model_.box(index.row());
        const int cell = cellSide(option.fontMetrics);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        const QRectF outer = QRectF(option.rect).adjusted(kMargin, kMargin, -kMargin, -kMargin);
        const bool inGame = box.played != 0;
        painter->setPen(QPen(inGame ? kInGameEdge : kBoxEdge, inGame ? 2.5 : 1.0));
        painter->setBrush(kBoxFace);
        painter->drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

        const QPointF origin = outer.topLeft() + QPointF(kPad - kMargin, kPad - kMargin);
        QFont markFont = option.font;
        markFont.setBold(true);
        markFont.setPixelSize(std::max(8, cell * 2 / 3));
        QFont beadFont = option.font;
        for (int k = 1; k <= 9; ++k) {
            const auto i = static_cast<std::size_t>(k - 1);
            const QRectF square = squareOf(origin, cell, k);
            painter->setPen(QPen(kGridLine, 1.0));
            painter->setBrush(k == box.played ? QBrush(kPlayedCell) : Qt::NoBrush);
            painter->drawRect(square);
            if (box.marks[i] != ' ') {
                painter->setPen(kMarkColour);
                painter->setFont(markFont);
                painter->drawText(square, Qt::AlignCenter, QString(QChar(box.marks[i])));
            } else if (box.beads[i] != MatchBox::Bead::None) {
                paintBead(*painter, square, box, i, k == box.chosen, beadFont);
            }
        }
        if (box.played != 0) {
            // The answer of the game in progress: its cell framed in the position's colour.
            const int k = box.played;
            painter->setPen(QPen(kInGameEdge, 2.0));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(squareOf(origin, cell, k).adjusted(1, 1, -1, -1));
        }
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.highlight().color(), 2.0, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(QRectF(option.rect).adjusted(1, 1, -1, -1), 5, 5);
        }
        painter->restore();
    }

  private:
    static constexpr int kPad = 6;
    static constexpr int kMargin = 3;

    // Cell k (1..9) of a board whose top left corner is `origin`, row by row.
    static QRectF squareOf(const QPointF& origin, int cell, int k) {
        const int column = (k - 1) % 3;
        const int row = (k - 1) / 3;
        return {origin.x() + column * cell, origin.y() + row * cell, static_cast<qreal>(cell),
                static_cast<qreal>(cell)};
    }

    static int cellSide(const QFontMetrics& metrics) { return metrics.height() * 3 / 2 + 2; }

    static void paintBead(QPainter& painter, const QRectF& square, const MatchBox& box,
                          std::size_t i, bool chosen, QFont& font) {
        const QColor colour = MemoryModel::beadColour(box.beads[i]);
        const qreal diameter = square.width() * 0.84;
        const QRectF bead(square.center() - QPointF(diameter / 2, diameter / 2),
                          QSizeF(diameter, diameter));
        // The answer it would play now wears a black ring.
        painter.setPen(chosen ? QPen(Qt::black, 2.2) : QPen(colour.darker(140), 1.0));
        painter.setBrush(colour);
        painter.drawEllipse(bead);
        const QString number = MemoryModel::beadLabel(box.weights[i]);
        // The number shrinks until it fits inside the bead.
        int pixels = std::max(6, static_cast<int>(diameter * 0.55));
        font.setPixelSize(pixels);
        while (pixels > 5 && QFontMetricsF(font).horizontalAdvance(number) > diameter - 2) {
            font.setPixelSize(--pixels);
        }
        painter.setFont(font);
        painter.setPen(box.beads[i] == MatchBox::Bead::Zero ? Qt::black : Qt::white);
        painter.drawText(bead, Qt::AlignCenter, number);
    }

    const MemoryModel& model_;
};

}  // namespace

MemoryView::MemoryView(engine::GameFlow& flow, QWidget* parent)
    : QWidget(parent, Qt::Window),
      flow_(flow),
      model_(new MemoryModel(flow, this)),
      summary_(new QLabel(this)),
      legend_(new QLabel(memorytexts::kLegend, this)),
      list_(new QListView(this)) {
    setObjectName(QStringLiteral("MemoryView"));
    setWindowTitle(memorytexts::kTitle);
    setAttribute(Qt::WA_QuitOnClose, false);

    list_->setModel(model_);
    list_->setItemDelegate(new MatchBoxDelegate(*model_, list_));
    list_->setViewMode(QListView::IconMode);
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
    list_->setUniformItemSizes(true);
    list_->setWrapping(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAccessibleName(memorytexts::kListName);
    list_->setSpacing(2);

    legend_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);
    layout->addWidget(legend_);
    summary_->setWordWrap(true);
    resize(560, 480);
    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);

    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, &MemoryView::refreshNow);
    flow_.addListener(*this);
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

void MemoryView::refreshNow() {
    model_->refresh();
    summary_->setText(model_->summary() + fileLine_);
    if (!list_->currentIndex().isValid() && model_->rowCount() > 0) {
        list_->setCurrentIndex(model_->index(0));
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
    const QMargins margins = layout()->contentsMargins();
    const int spacing = layout()->spacing();
    const int listWidth =
        3 * row + list_->verticalScrollBar()->sizeHint().width() + 2 * list_->frameWidth();
    const QRect longestSummary = summary_->fontMetrics().boundingRect(
        QRect(0, 0, listWidth, 0), Qt::TextWordWrap, memorytexts::kLongestSummary + fileLine_);
    list_->setMinimumHeight(row + 2 * list_->frameWidth());
    setMinimumSize(listWidth + margins.left() + margins.right(),
                   margins.top() + longestSummary.height() + spacing + row +
                       2 * list_->frameWidth() + spacing + legend_->heightForWidth(listWidth) +
                       margins.bottom());
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
