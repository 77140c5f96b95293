// The main window's layout and looks (positions, stacking, fonts, links, the resize rule), the
// error text rule, the icon and the scaling arithmetic.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QTest>

#include <memory>
#include <utility>
#include <vector>

#include "tests/ui/printers.h"
#include "ui/controls.h"
#include "ui/errorbox.h"
#include "ui/fonts.h"
#include "ui/icon.h"
#include "ui/spinedit.h"
#include "ui/unit1.h"

namespace {

using zelmo::ui::TForm1;

class Form1LayoutTest : public ::testing::Test {
  protected:
    QRect design(int left, int top, int width, int height) const {
        return {form->scaled(left), form->scaled(top), form->scaled(width), form->scaled(height)};
    }
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
};

TEST_F(Form1LayoutTest, ControlsStandWhereDesignedAndStackInCreationOrder) {
    EXPECT_EQ(form->size(), QSize(form->scaled(380), form->scaled(303)));
    const std::pair<QWidget*, QRect> placed[] = {
        {form->SpeedButton1, design(24, 40, 33, 33)}, {form->SpeedButton6, design(88, 72, 33, 33)},
        {form->Chart1, design(160, 16, 217, 225)},    {form->Panel1, design(8, 184, 137, 97)},
        {form->SpinEdit2, design(96, 48, 33, 22)},    {form->Button1, design(8, 168, 137, 17)},
        {form->Button2, design(24, 24, 97, 17)},      {form->Bar1, design(0, 284, 380, 19)}};
    for (const auto& [control, rect] : placed) {
        EXPECT_EQ(control->geometry(), rect) << control->objectName().toStdString();
    }
    // Labels keep their top-left corner and take the size of their text.
    EXPECT_EQ(form->Label9->pos(), QPoint(form->scaled(288), form->scaled(264)));
    const QFontMetrics metrics(form->Label7->font());
    EXPECT_EQ(form->Label7->size(),
              QSize(metrics.horizontalAdvance(form->Label7->text()), metrics.height()));
    EXPECT_LE(form->Label6->geometry().right(), form->Label2->x() + 1) << "Партия: overlaps";

    EXPECT_EQ(form->SpinEdit2->parentWidget(), form->Panel1);
    EXPECT_EQ(form->Label3->parentWidget(), form->Panel1);
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

TEST(MainIcon, IsA32By32PictureInSixteenColours) {
    const QImage image = zelmo::ui::mainIconImage();
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.colorCount(), 16);
    // Crosses on the diagonal (red), noughts in the other corners (blue).
    EXPECT_EQ(image.pixelColor(6, 6), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(23, 6), QColor(0, 0, 255));
}

TEST(Fonts, ScalingRoundsHalvesAwayFromZero) {
    using zelmo::ui::fonts::mulDiv;
    EXPECT_EQ(mulDiv(33, 15, 13), 38);  // 38.08
    EXPECT_EQ(mulDiv(13, 15, 26), 8);   // 7.5
    EXPECT_EQ(mulDiv(-13, 15, 26), -8);
    EXPECT_EQ(mulDiv(19, 12, 13), 18);  // 17.54
}

}  // namespace
