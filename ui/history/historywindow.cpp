// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/history/historywindow.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/history/historykeeper.h"
#include "ui/history/historyplot.h"
#include "ui/history/historytable.h"
#include "ui/history/historytexts.h"

namespace zelmo::ui {

namespace {

// One frame at 60 Hz: the window follows the history no faster.
constexpr int kFrameMs = 16;

}  // namespace

// The plot itself, painted from the keeper's history; an image to assistive technology, whose
// words are the course and the table beside it.
class HistoryWindow::Plot : public QWidget {
  public:
    Plot(const HistoryKeeper& keeper, QWidget* parent) : QWidget(parent), keeper_(keeper) {
        setAccessibleName(historytexts::kTitle);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        paintHistory(painter, rect(), keeper_.history(), font());
    }

  private:
    const HistoryKeeper& keeper_;
};

HistoryWindow::HistoryWindow(const HistoryKeeper& keeper, QWidget* parent)
    : QWidget(parent, Qt::Window),
      keeper_(keeper),
      plot_(new Plot(keeper, this)),
      course_(new QLabel(this)),
      table_(new QTableView(this)),
      model_(new HistoryTableModel(keeper, this)) {
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(historytexts::kTitle);
    setAccessibleName(historytexts::kTitle);
    setAttribute(Qt::WA_QuitOnClose, false);
    const int line = fontMetrics().height();
    setMinimumSize(24 * line, 20 * line);
    resize(40 * line, 30 * line);

    course_->setWordWrap(true);
    course_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    course_->setFocusPolicy(Qt::StrongFocus);
    table_->setModel(model_);
    table_->setAccessibleName(historytexts::kTableName);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(plot_, 3);
    layout->addWidget(course_);
    layout->addWidget(table_, 2);
    setFocusProxy(table_);

    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, &HistoryWindow::refresh);
    connect(&keeper_, &HistoryKeeper::changed, this, &HistoryWindow::schedule);
}

void HistoryWindow::open() {
    show();
    raise();
    activateWindow();
    table_->setFocus(Qt::OtherFocusReason);
}

void HistoryWindow::schedule() {
    // Hidden, it costs one test per game; shown, it refreshes at most once a frame.
    if (isVisible() && !frame_.isActive()) {
        frame_.start();
    }
}

void HistoryWindow::refresh() {
    setAccessibleDescription(historySummary(keeper_.history()));
    const QString course = courseSummary(keeper_.history());
    course_->setText(course.isEmpty() ? historytexts::kEmpty : course);
    table_->setAccessibleDescription(course);
    const int row = table_->currentIndex().row();
    model_->refresh();
    // The row the player stood on stays current; a new history starts at its last block.
    const int rows = model_->rowCount();
    if (rows > 0) {
        table_->setCurrentIndex(model_->index(row >= 0 && row < rows ? row : rows - 1, 0));
    }
    plot_->update();
}

void HistoryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

}  // namespace zelmo::ui
