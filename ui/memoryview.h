// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QListView;

namespace zelmo::ui {

class MemoryModel;
class TForm1;

// The memory view «Память компьютера»: a non-modal top-level window that shows every position
// the computer remembers as a small board (a match box) with its answers' weights on coloured
// beads, and a summary line. It follows the game while shown (at most once a frame) and does
// nothing while hidden; it only reads the game flow. The main window opens it with F3.
class MemoryView : public QWidget {
    Q_OBJECT
  public:
    explicit MemoryView(TForm1& form);
    ~MemoryView() override;

    // Shows the window (or brings it to the front) with the memory as it is now.
    void open();
    // Reads the memory again and repaints (a full refresh; the benchmark's unit).
    void refreshNow();

    MemoryModel& model() const { return *model_; }
    QListView& list() const { return *list_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void schedule();
    void fitMinimumSize();

    TForm1& form_;
    MemoryModel* model_;
    QLabel* summary_;
    QLabel* legend_;
    QListView* list_;
    QTimer frame_;
};

}  // namespace zelmo::ui
