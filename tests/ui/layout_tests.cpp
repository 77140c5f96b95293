// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout and looks (positions, stacking, fonts, links, the resize rule) and
// the error text rule.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <memory>
#include <utility>
#include <vector>

#include "tests/ui/printers.h"
#include "ui/form/formlayout.h"
#include "ui/form/unit1.h"
#include "ui/spin/spinedit.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/errorbox.h"
#include "ui/widgets/fonts.h"
#include "ui/widgets/links.h"
#include "ui/widgets/screenfit.h"

namespace {

using zelmo::ui::TForm1;

class Form1LayoutTest : public ::testing::Test {
  protected:
    QRect design(int left, int top, int width, int height) const {
        return {form->scaled(left), form->scaled(top), form->scaled(width), form->scaled(height)};
    }
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
};

TEST_F(Form1LayoutTest, NeighboursShareTheirEdgesAndLaterControlsCoverEarlierOnes) {
    EXPECT_EQ(form->size(), QSize(form->scaled(380), form->scaled(303)));
    // The board is one grid: each cell's last column and row are its neighbours' first.
    for (int k = 1; k <= 9; ++k) {
        const QRect cell = form->cellButton(k)->geometry();
        if (k % 3 != 0) {
            EXPECT_EQ(cell.right(), form->cellButton(k + 1)->geometry().left()) << k;
        }
        if (k <= 6) {
            EXPECT_EQ(cell.bottom(), form->cellButton(k + 3)->geometry().top()) << k;
        }
    }
    EXPECT_LE(form->Label6->geometry().right(), form->Label2->x() + 1) << "Партия: overlaps";
    EXPECT_FALSE(form->SpinEdit1->editorEnabled());
    EXPECT_TRUE(form->SpinEdit3->editorEnabled());
    // Later controls cover earlier ones: Button1 the panel's top edge, Button2 the cells' top row.
    EXPECT_EQ(form->childAt(form->Button1->geometry().center().x(), form->Panel1->y()),
              form->Button1);
    const QPoint strip(form->SpeedButton2->geometry().center().x(),
                       form->Button2->geometry().bottom());
    ASSERT_TRUE(form->SpeedButton2->geometry().contains(strip));
    EXPECT_EQ(form->childAt(strip), form->Button2);
}

TEST_F(Form1LayoutTest, EveryControlOfTheLayoutTable) {
    // The layout table the window is built from: every control in it, at its design rectangle
    // (labels: top-left corner only, they size to their text), with its caption.
    TForm1* f = form.get();
    struct Row {
        QWidget* control;
        QWidget* parent;
        int left, top, width, height;
        QString caption;
    };
    std::vector<Row> table;
    for (const zelmo::ui::LayoutRow& row : zelmo::ui::formLayout()) {
        QWidget* parent = row.inPanel ? static_cast<QWidget*>(f->Panel1) : f;
        auto* control = parent->findChild<QWidget*>(row.name, Qt::FindDirectChildrenOnly);
        ASSERT_NE(control, nullptr) << row.name.toStdString();
        table.push_back({control, parent, row.left, row.top, row.width, row.height, row.caption});
    }
    ASSERT_EQ(table.size(), 29u) << "with Series1, the thirty controls";
    // A few captions as the window shows them.
    EXPECT_EQ(f->Button2->text(), QStringLiteral("играть"));
    EXPECT_EQ(f->Label7->text(), QStringLiteral("Извилин:"));
    EXPECT_EQ(f->SpinEdit1->text(), QStringLiteral("5"));
    std::vector<QWidget*> order[2];  // creation order in the window and in the panel
    for (const Row& row : table) {
        const std::string name = row.control->objectName().toStdString();
        EXPECT_EQ(row.control->parentWidget(), row.parent) << name;
        order[row.parent == f ? 0 : 1].push_back(row.control);
        auto* label = qobject_cast<zelmo::ui::TLabel*>(row.control);
        if (label != nullptr) {
            const QFontMetrics metrics(label->font());
            EXPECT_EQ(label->geometry(),
                      QRect(form->scaled(row.left), form->scaled(row.top),
                            metrics.horizontalAdvance(row.caption), metrics.height()))
                << name;
            EXPECT_EQ(label->text(), row.caption) << name;
            continue;
        }
        EXPECT_EQ(row.control->geometry(), design(row.left, row.top, row.width, row.height))
            << name;
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(row.control)) {
            caption = button->text();
        } else if (auto* edit = qobject_cast<QLineEdit*>(row.control)) {
            caption = edit->text();
        } else if (row.control == f->Bar1) {
            caption = f->Bar1->simpleText();
        }
        EXPECT_EQ(caption, row.caption) << name;
    }
    EXPECT_EQ(form->SpeedButton7->font().pixelSize(), 19);
    EXPECT_EQ(form->Label4->font().pixelSize(), 13);
    EXPECT_EQ(form->Series1->ParentChart(), form->Chart1);
    // Later controls lie above earlier ones: the children stand in creation order.
    for (int i = 0; i < 2; ++i) {
        std::vector<QWidget*> children;
        for (QObject* child : (i == 0 ? static_cast<QWidget*>(f) : f->Panel1)->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget != nullptr && !widget->objectName().isEmpty()) {
                children.push_back(widget);
            }
        }
        EXPECT_EQ(children, order[i]);
    }
}

TEST_F(Form1LayoutTest, WindowPlaceAndTitle) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // At its place when the screen holds it there, else moved just enough. CTest also runs this
    // test with QT_SCALE_FACTOR=2, where the offscreen screen is 400 x 300 pixels.
    const QRect available = form->screen()->availableGeometry();
    const QSize outer(form->scaled(388), form->scaled(330));
    const QPoint expected = zelmo::ui::fitOnScreen(QRect(QPoint(298, 153), outer), available);
    EXPECT_EQ(form->frameGeometry().topLeft(), expected);
    if (available.contains(QRect(QPoint(298, 153), outer))) {
        EXPECT_EQ(expected, QPoint(298, 153));
    } else {
        EXPECT_TRUE(available.contains(QRect(expected, outer)));
    }
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Зельмо"));
}

TEST_F(Form1LayoutTest, StatusBarAndPushButtonsAreOpaque) {
    // Made small, the window's status bar lies over the top row of cells: none of the cells'
    // border lines may show through its text field.
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->resize(form->width(), form->scaled(70));
    ASSERT_TRUE(form->Bar1->geometry().intersects(form->SpeedButton1->geometry()));
    QImage image = form->grab().toImage();
    const QColor face = form->Bar1->palette().color(QPalette::Button);
    const int middle = form->Bar1->geometry().center().y();
    for (int x = form->SpeedButton1->x(); x <= form->SpeedButton3->geometry().right(); ++x) {
        EXPECT_EQ(image.pixelColor(x, middle), face) << "status bar at x " << x;
    }

    // The push buttons' faces reach their bottom edge, focused (Button1) or not (Button2):
    // there the black outer line lies over the cells' and the panel's top borders.
    form->resize(form->scaled(380), form->scaled(303));
    image = form->grab().toImage();
    const QColor black = form->palette().color(QPalette::Shadow);
    for (QWidget* button :
         {static_cast<QWidget*>(form->Button1), static_cast<QWidget*>(form->Button2)}) {
        const QRect r = button->geometry();
        for (int x = r.left(); x <= r.right(); ++x) {
            EXPECT_EQ(image.pixelColor(x, r.bottom()), black)
                << button->objectName().toStdString() << " at x " << x;
        }
    }
}

TEST_F(Form1LayoutTest, FontsAndLinkLooks) {
    EXPECT_EQ(QFontMetrics(form->font()).height(), 13)
        << "the window font's substitute keeps the designed line height";
    EXPECT_TRUE(form->Label3->font().bold());
    EXPECT_TRUE(form->Label9->font().underline());
    EXPECT_FALSE(form->Label10->font().underline());
    for (QWidget* link : std::initializer_list<QWidget*>{form->Label9, form->Label10}) {
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        const QImage image = link->grab().toImage();
        int blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                blue += c.blue() > 200 && c.red() < 60 && c.green() < 60 ? 1 : 0;
            }
        }
        EXPECT_GT(blue, 0) << link->objectName().toStdString() << " is drawn in blue";
    }
}

TEST_F(Form1LayoutTest, ResizingMovesOnlyTheStatusBar) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    std::vector<std::pair<QWidget*, QRect>> before;
    for (QWidget* child : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        before.emplace_back(child, child->geometry());
    }
    form->resize(form->width() + 120, form->height() + 80);
    for (const auto& [child, rect] : before) {
        if (child != form->Bar1) {
            EXPECT_EQ(child->geometry(), rect) << child->objectName().toStdString();
        }
    }
    const int barHeight = form->scaled(19);
    EXPECT_EQ(form->Bar1->geometry(),
              QRect(0, form->height() - barHeight, form->width(), barHeight));
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCodesAboveIt) {
    for (const QString message : {"Integer overflow", "code 7", "Ошибка", "/"}) {
        EXPECT_EQ(zelmo::ui::errorBoxText(message), message + '.') << message.toStdString();
    }
    for (const QString message : {"Done.", "Oops!", "(see)", "a-", ""}) {
        EXPECT_EQ(zelmo::ui::errorBoxText(message), message) << message.toStdString();
    }
}

TEST(ScreenFit, MovesAWindowJustEnoughToLieOnTheScreen) {
    const QRect screen(0, 0, 640, 512);
    const struct {
        QRect frame;
        QPoint expected;
    } rows[] = {
        {{298, 153, 388, 330}, {252, 153}},  // 46 past the right edge
        {{100, 100, 388, 330}, {100, 100}},  // fits: stays
        {{100, 300, 388, 330}, {100, 182}},  // past the bottom
        {{-20, -5, 388, 330}, {0, 0}},       // before the left and top edges
        {{298, 153, 700, 600}, {0, 0}},      // larger than the screen: its corner on it
    };
    for (const auto& row : rows) {
        EXPECT_EQ(zelmo::ui::fitOnScreen(row.frame, screen), row.expected) << row.frame.x();
    }
    EXPECT_EQ(zelmo::ui::fitOnScreen({700, 10, 100, 100}, QRect(640, 0, 640, 512)), QPoint(700, 10))
        << "a second screen";
}

}  // namespace
