// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

#include <cstdint>

class QFontMetrics;

namespace zelmo::ui {

class MemoryModel;
struct MatchBox;

// Paints the memory view's rows: a group's heading across the view, or one match box, a 3 x 3
// board with the marks and a bead on every answer tried, the bead growing with the weight's
// size. Sizes follow the font and the view's width (a wider view, bigger boxes, within
// bounds), so they grow with the screen's density; the painter takes care of the device pixel
// ratio.
class MatchBoxDelegate : public QStyledItemDelegate {
  public:
    // `view` is the list's viewport: its width sizes the boxes and the headings.
    MatchBoxDelegate(const MemoryModel& model, const QWidget& view, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // A box's width and height for a font and a view's width (the smallest for width 0).
    static int boxSide(const QFontMetrics& metrics, int viewWidth = 0);
    // A cell's side: from the font, grown with the view up to twice as big.
    static int cellSide(const QFontMetrics& metrics, int viewWidth);
    // The bead's diameter as a share of its cell: grows with the weight's size to a cap.
    static double beadShare(std::int32_t weight);
    // The smallest type a bead's number is printed in, in pixels; below it there is no number.
    static constexpr int kLeastNumberPixels = 8;

  private:
    void paintHeading(QPainter& painter, const QStyleOptionViewItem& option,
                      const MatchBox& box) const;

    const MemoryModel& model_;
    const QWidget& view_;
};

}  // namespace zelmo::ui
