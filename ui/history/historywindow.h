// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QTableView;

namespace zelmo::ui {

class HistoryKeeper;
class HistoryTableModel;

// The window «История обучения»: the plot on top, the course in one sentence under it, and the
// blocks as a table that the keyboard and a screen reader can walk (Tab reaches it, the arrows
// go row by row). Live while shown (refreshed at most once a frame after the history changes),
// nothing while hidden. The session creates it when it is first opened (F4).
class HistoryWindow : public QWidget {
    Q_OBJECT
  public:
    HistoryWindow(const HistoryKeeper& keeper, QWidget* parent);

    void open();

    QTableView& table() const { return *table_; }
    const QLabel& course() const { return *course_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    class Plot;
    void schedule();
    void refresh();

    const HistoryKeeper& keeper_;
    Plot* plot_;
    QLabel* course_;
    QTableView* table_;
    HistoryTableModel* model_;
    QTimer frame_;
};

}  // namespace zelmo::ui
