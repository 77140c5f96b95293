// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAbstractItemView;
class QWidget;

// What assistive technology sees of the main window: the window as a frame, the cells as
// buttons named by their number and mark, the counters as one label each with their caption,
// the grades as spin boxes with a value and bounds, the contact links as links, the grade panel
// as a panel headed by its caption, the chart as a chart.
namespace zelmo::ui::accessible {

// Makes Qt ask this program first for the interfaces of its controls; once per process, before
// the first window is built.
void installFactory();

// Qt caches the first interface that anyone asked for, and a control is asked for one already
// while its Qt base class is being built, before it is known as one of ours. Dropping the cache
// of `root` and everything in it after they are built lets the factory give each its own.
void renew(QWidget* root);

// A counter read with its caption: "Партия: 3".
QString counterName(const QString& caption, const QString& number);

// A mark as a word: "крестик", "нолик", or "пусто" for a free cell.
QString markName(const QString& mark);

// The name of cell `number` with caption `caption`: "Клетка 5: крестик".
QString cellName(int number, const QString& caption);

// Tells assistive technology that the current item of `view` has the focus, when the view has
// it. Qt does so itself only when the current item changes while the view has the focus; a view
// that gains the focus is named alone.
void tellCurrentItem(QAbstractItemView* view);

}  // namespace zelmo::ui::accessible
