#include "app/PropertyDialogs.h"

#include "app/ItemPropDialog.h"
#include "app/TreePropDialog.h"

#include <functional>
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Records name only the fields a case needs.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace vi;

namespace {

template <class Widget> Widget* Find(QWidget* dialog, const char* name)
{
    auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QColor BaseOf(QWidget* widget) { return widget->palette().color(QPalette::Base); }
QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }
QColor WindowColour() { return QApplication::palette().color(QPalette::Base); }

struct ShownBox {
    QString Title, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Answers the next message box with OK and records what it showed.
void CloseNextMessageBox(ShownBox& shown)
{
    QTimer::singleShot(0, qApp, [&shown]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = {box->windowTitle(), box->text(), box->icon()};
        box->button(QMessageBox::Ok)->click();
    });
}

// Plays the user in the next modal dialog.
void InNextDialog(std::function<void(QDialog*)> play)
{
    QTimer::singleShot(0, qApp, [play]() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        play(dialog);
    });
}

// The next widget that the Tab key reaches.
QWidget* NextTabStop(QWidget* widget)
{
    QWidget* next = widget->nextInFocusChain();
    while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

TEST(ItemPropDialog, LayoutFollowsTheControlTable)
{
    ItemPropDialog dialog(TreeSettings{});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Item Properties"));
    EXPECT_EQ(dialog.size(), QSize(462, 486));

    auto* link = Find<QCheckBox>(&dialog, "Check1_4");
    EXPECT_EQ(link->parentWidget()->objectName(), QStringLiteral("Frame4"));
    EXPECT_EQ(link->geometry(), QRect(14, 21, 195, 18));
    EXPECT_EQ(Find<QPushButton>(&dialog, "Command1_1")->geometry(), QRect(288, 451, 76, 26));
    EXPECT_FALSE(Find<QComboBox>(&dialog, "Combo1_1")->isEditable());
    EXPECT_EQ(Find<QComboBox>(&dialog, "Combo1_1")->currentText(), QStringLiteral("Gray"));
    EXPECT_EQ(NextTabStop(Find<QCheckBox>(&dialog, "Check1_5")), Find<QCheckBox>(&dialog, "Check4_3"));
    EXPECT_EQ(NextTabStop(Find<QLineEdit>(&dialog, "Text2_6")), Find<QPushButton>(&dialog, "Command1_1"));
}

TEST(ItemPropDialog, ClicksReachTheModelAndTheWidgetsFollowIt)
{
    ItemPropDialog dialog(TreeSettings{});
    // An item text longer than a line edit's default limit must not be cut by typing.
    ItemRecord record{
        .ItemType = kBranch, .FriendlyName = QStringLiteral("Menu"), .ItemText = QString(40000, QLatin1Char('x'))};
    dialog.Model().ExchangeItemRecord(record, true);
    dialog.show();
    auto* text = Find<QLineEdit>(&dialog, "Text1");
    text->end(false);
    QTest::keyClick(text, Qt::Key_Y);
    EXPECT_EQ(dialog.Model().Text1().Text.size(), 40001);

    auto* mouseOut = Find<QCheckBox>(&dialog, "Check1_2");
    auto* path = Find<QLineEdit>(&dialog, "Text2_2");
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_EQ(BaseOf(path), ButtonFace());
    QTest::mouseClick(mouseOut, Qt::LeftButton, {}, QPoint(6, mouseOut->height() / 2));
    EXPECT_TRUE(dialog.Model().Check1(2).Value);
    EXPECT_FALSE(path->isReadOnly());
    EXPECT_EQ(BaseOf(path), WindowColour());

    auto* link = Find<QCheckBox>(&dialog, "Check1_4");
    EXPECT_FALSE(link->isEnabled());
    QTest::mouseClick(Find<QRadioButton>(&dialog, "Option1_1"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(dialog.Model().Option1(1));
    EXPECT_TRUE(link->isEnabled());

    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("Home"));
    EXPECT_EQ(Find<QLineEdit>(&dialog, "Text3")->text(), QStringLiteral("Home"));
}

TEST(ItemPropDialog, RunStoresOnOkOnly)
{
    ItemRecord record{.ItemType = kLeaf, .FriendlyName = QStringLiteral("Page")};
    const ItemRecord before = record;

    InNextDialog([](QDialog* dialog) {
        Find<QLineEdit>(dialog, "Text3")->setText(QString()); // not typed: the model keeps "Page"
        Find<QPushButton>(dialog, "Command1_0")->click();
    });
    EXPECT_FALSE(RunItemPropDialog(nullptr, record, TreeSettings{}));
    EXPECT_EQ(record, before);

    InNextDialog([](QDialog* dialog) { dialog->close(); });
    EXPECT_FALSE(RunItemPropDialog(nullptr, record, TreeSettings{}));
    EXPECT_EQ(record, before);

    InNextDialog([](QDialog* dialog) {
        auto* label = Find<QLineEdit>(dialog, "Text3");
        label->selectAll();
        QTest::keyClicks(label, QStringLiteral("About us"));
        Find<QPushButton>(dialog, "Command1_1")->click();
    });
    EXPECT_TRUE(RunItemPropDialog(nullptr, record, TreeSettings{}));
    EXPECT_EQ(record.FriendlyName, QStringLiteral("About us"));
}

TEST(ItemPropDialog, AFailingOkShowsItsMessageAndStaysOpen)
{
    ItemPropDialog dialog(TreeSettings{});
    dialog.show();
    Find<QCheckBox>(&dialog, "Check1_0")->click();
    ShownBox shown;
    CloseNextMessageBox(shown);
    Find<QPushButton>(&dialog, "Command1_1")->click();
    EXPECT_EQ(shown.Title, QStringLiteral("Vuvov-Ivoza"));
    EXPECT_EQ(shown.Icon, QMessageBox::Information);
    EXPECT_EQ(shown.Text, QStringLiteral("You must specify the SRC for the 'Non-Expanded Bullet'.  Click the folder to "
                                         "locate one on your system, or you can unclick the check box next to it."));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.Model().Tag().isEmpty());
}

TEST(TreePropDialog, LayoutBindingAndMessages)
{
    QTemporaryDir lines;
    for (const char* name : {"Black", "navy"})
        QDir(lines.path()).mkdir(QString::fromLatin1(name));
    TreePropDialog dialog(nullptr, lines.path());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tree Properties"));
    EXPECT_EQ(dialog.size(), QSize(445, 416));
    auto* upper = Find<QLineEdit>(&dialog, "Text1_1");
    EXPECT_EQ(upper->geometry(), QRect(140, 25, 40, 19));
    EXPECT_EQ(NextTabStop(upper), Find<QLineEdit>(&dialog, "Text1_0"));
    auto* lineColour = Find<QComboBox>(&dialog, "Combo1_0");
    EXPECT_EQ(lineColour->count(), 2);
    EXPECT_EQ(lineColour->itemText(1), QStringLiteral("Navy"));
    EXPECT_EQ(lineColour->currentText(), QStringLiteral("Black"));

    dialog.show();
    Find<QRadioButton>(&dialog, "Option1_0")->click();
    EXPECT_FALSE(lineColour->isEnabled());
    EXPECT_EQ(BaseOf(lineColour), ButtonFace());

    upper->selectAll();
    QTest::keyClicks(upper, QStringLiteral("abc"));
    Find<QCheckBox>(&dialog, "Check1_4")->click();
    EXPECT_FALSE(Find<QLineEdit>(&dialog, "Text2_4")->isReadOnly());
    ShownBox shown;
    CloseNextMessageBox(shown);
    Find<QPushButton>(&dialog, "Command1_1")->click();
    EXPECT_EQ(shown.Text, QStringLiteral("You must enter a number value for the Top left X, and Top left Y position."));
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
