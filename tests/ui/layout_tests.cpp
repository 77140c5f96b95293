// The main window's layout and looks: positions and sizes of the controls, parents and
// stacking, fonts, the resize rule, the icon, the error text rule, the application setup and
// the stand-in chart.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QTest>

#include <memory>

#include "engine/errors.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/errorbox.h"
#include "ui/fonts.h"
#include "ui/icon.h"
#include "ui/links.h"
#include "ui/spinedit.h"
#include "ui/unit1.h"

namespace {

using zelmo::ui::TForm1;

// True when some pixel of the image passes the test.
template <typename Test>
bool hasPixel(const QImage& image, Test test) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(image.pixelColor(x, y))) {
                return true;
            }
        }
    }
    return false;
}

class Form1LayoutTest : public ::testing::Test {
  protected:
    void SetUp() override { form = std::make_unique<TForm1>(); }

    QRect design(int left, int top, int width, int height) const {
        return {form->scaled(left), form->scaled(top), form->scaled(width), form->scaled(height)};
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(Form1LayoutTest, ControlsStandWhereDesigned) {
    const struct {
        QWidget* control;
        QRect rect;
    } fixed[] = {
        {form->SpeedButton1, design(24, 40, 33, 33)}, {form->SpeedButton2, design(56, 40, 33, 33)},
        {form->SpeedButton6, design(88, 72, 33, 33)}, {form->SpeedButton9, design(88, 104, 33, 33)},
        {form->Chart1, design(160, 16, 217, 225)},    {form->Panel1, design(8, 184, 137, 97)},
        {form->SpinEdit2, design(96, 48, 33, 22)},    {form->Button1, design(8, 168, 137, 17)},
        {form->Button2, design(24, 24, 97, 17)},      {form->Bar1, design(0, 284, 380, 19)},
    };
    for (const auto& [control, rect] : fixed) {
        EXPECT_EQ(control->geometry(), rect) << control->objectName().toStdString();
    }
    // Labels keep their top-left corner and take the size of their text.
    EXPECT_EQ(form->Label6->pos(), QPoint(form->scaled(40), form->scaled(8)));
    EXPECT_EQ(form->Label1->pos(), QPoint(form->scaled(16), form->scaled(24)));
    EXPECT_EQ(form->Label9->pos(), QPoint(form->scaled(288), form->scaled(264)));
    const QFontMetrics metrics(form->Label7->font());
    EXPECT_EQ(form->Label7->size(),
              QSize(metrics.horizontalAdvance(form->Label7->text()), metrics.height()));
    EXPECT_EQ(form->Label9->height(), QFontMetrics(form->Label9->font()).height());
    // "Партия:" ends before the game number begins.
    EXPECT_LE(form->Label6->geometry().right(), form->Label2->x() + 1);
}

TEST_F(Form1LayoutTest, ControlsHaveTheirNamesParentsAndOrder) {
    EXPECT_EQ(form->objectName(), QStringLiteral("Form1"));
    for (QWidget* inPanel :
         std::initializer_list<QWidget*>{form->Label1, form->Label3, form->Label4, form->Label5,
                                         form->SpinEdit1, form->SpinEdit2, form->SpinEdit3}) {
        EXPECT_EQ(inPanel->parentWidget(), form->Panel1) << inPanel->objectName().toStdString();
    }
    EXPECT_EQ(form->Bar1->parentWidget(), form.get());
    EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("SpeedButton7")), form->SpeedButton7);
    EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("Label12"))->property("text").toString(),
              QStringLiteral("Сайт автора:"));

    // Creation order is stacking order: later windowed controls cover earlier ones.
    const QObjectList& children = form->children();
    EXPECT_LT(children.indexOf(form->SpeedButton9), children.indexOf(form->Label2));
    EXPECT_LT(children.indexOf(form->Chart1), children.indexOf(form->Panel1));
    EXPECT_LT(children.indexOf(form->Panel1), children.indexOf(form->Button1));
    EXPECT_LT(children.indexOf(form->Bar1), children.indexOf(form->Button2));
    // Button1 covers the panel's top edge.
    const QPoint edge(form->Button1->geometry().center().x(), form->Panel1->y());
    EXPECT_EQ(form->childAt(edge), form->Button1);

    EXPECT_EQ(form->SpeedButton1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form->SpinEdit1->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_FALSE(form->SpinEdit1->editorEnabled());
    EXPECT_TRUE(form->SpinEdit2->editorEnabled());
    EXPECT_EQ(form->SpinEdit3->minValue(), 2);
    EXPECT_EQ(form->SpinEdit3->maxValue(), 5);
}

TEST_F(Form1LayoutTest, FontsAndLinkLooks) {
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_EQ(QFontMetrics(form->font()).height(), 13)
        << "the window font's substitute keeps the designed line height";
    EXPECT_EQ(form->SpeedButton4->font().pixelSize(), 19);
    EXPECT_EQ(form->Label3->font().pixelSize(), 13);
    EXPECT_TRUE(form->Label3->font().bold());
    EXPECT_FALSE(form->Label5->font().bold());

    EXPECT_TRUE(form->Label9->font().underline());
    EXPECT_FALSE(form->Label10->font().underline());
    for (QWidget* link :
         {static_cast<QWidget*>(form->Label9), static_cast<QWidget*>(form->Label10)}) {
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(
            hasPixel(link->grab().toImage(),
                     [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }))
            << link->objectName().toStdString() << " is drawn in blue";
    }
    EXPECT_FALSE(hasPixel(form->Label11->grab().toImage(), [](QColor c) {
        return c.blue() > c.red() + 40;
    })) << "plain labels are not blue";
    EXPECT_TRUE(hasPixel(form->Label5->grab().toImage(), [](QColor c) {
        return c.lightness() < 40;
    })) << "the panel's heading is drawn in the window-text colour";
    EXPECT_EQ(form->Label10->text(), zelmo::ui::links::contactEmail());
    EXPECT_EQ(form->Label9->text(), zelmo::ui::links::homepageHost());
    EXPECT_EQ(form->Label11->palette().color(QPalette::WindowText),
              form->palette().color(QPalette::WindowText));
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
    EXPECT_TRUE(form->Bar1->isSizeGripEnabled());
}

TEST(ErrorBoxText, AppendsAFullStopAfterLettersAndDigits) {
    using zelmo::ui::errorBoxText;
    EXPECT_EQ(errorBoxText(QStringLiteral("Integer overflow")),
              QStringLiteral("Integer overflow."));
    EXPECT_EQ(errorBoxText(QStringLiteral("code 7")), QStringLiteral("code 7."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Ошибка")), QStringLiteral("Ошибка."));
    EXPECT_EQ(errorBoxText(QStringLiteral("/")), QStringLiteral("/."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
    EXPECT_EQ(errorBoxText(QStringLiteral("Oops!")), QStringLiteral("Oops!"));
    EXPECT_EQ(errorBoxText(QStringLiteral("(see above)")), QStringLiteral("(see above)"));
    EXPECT_EQ(errorBoxText(QStringLiteral("a-")), QStringLiteral("a-"));
    EXPECT_EQ(errorBoxText(QString()), QString());
}

TEST(MainIcon, IsA32By32PictureInSixteenColours) {
    const QImage image = zelmo::ui::mainIconImage();
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), 16);
    // Crosses on the diagonal (red), noughts in the other corners (blue).
    EXPECT_EQ(image.pixelColor(2 + 4, 2 + 4), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(22 + 1, 2 + 4), QColor(0, 0, 255));
    EXPECT_FALSE(zelmo::ui::mainIcon().isNull());
}

TEST(Fonts, ScalingRoundsHalvesAwayFromZero) {
    using zelmo::ui::fonts::mulDiv;
    EXPECT_EQ(mulDiv(380, 13, 13), 380);
    EXPECT_EQ(mulDiv(33, 15, 13), 38);  // 38.08
    EXPECT_EQ(mulDiv(13, 15, 26), 8);   // 7.5
    EXPECT_EQ(mulDiv(-13, 15, 26), -8);
    EXPECT_EQ(mulDiv(19, 12, 13), 18);  // 17.54
}

TEST(Application, NameStyleAndFont) {
    // The setup changes application-wide state; put it back for the other tests.
    const QString oldName = QCoreApplication::applicationName();
    const QString oldStyle = QApplication::style()->name();
    const QPalette oldPalette = QApplication::palette();
    const QFont oldFont = QApplication::font();

    zelmo::ui::initApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Zelmo"));
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("windows"));
    EXPECT_EQ(QApplication::font().pixelSize(), 11);
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    {
        TForm1 form;
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Зельмо"));
    }

    QCoreApplication::setApplicationName(oldName);
    QApplication::setStyle(oldStyle);
    QApplication::setPalette(oldPalette);
    QApplication::setFont(oldFont);
}

}  // namespace
