#include "app/FolderDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

using namespace vi;

namespace {

template <typename T> T* Child(QWidget& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

// Runs the dialog modally while the user does what `act` does.
std::optional<QString> RunWhile(FolderDialog& dialog, const std::function<void()>& act)
{
    QTimer::singleShot(0, &dialog, act);
    return dialog.Run();
}

} // namespace

TEST(FolderDialog, ControlsStandAtTheirPlacesInTabOrder)
{
    FolderDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export to Folder"));
    EXPECT_EQ(dialog.size(), QSize(253, 292));
    const struct {
        const char* name;
        QRect place;
    } controls[] = {
        {"Label1_0", {17, 6, 167, 19}},  {"Drive1", {12, 24, 230, 21}},     {"Label1_1", {17, 54, 167, 19}},
        {"Dir1", {12, 72, 230, 141}},    {"Text1", {12, 229, 230, 19}},     {"Command1_1", {98, 258, 68, 24}},
        {"Command1_0", {174, 258, 68, 24}},
    };
    for (const auto& c : controls) {
        QWidget* w = Child<QWidget>(dialog, c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->geometry(), c.place) << c.name;
    }
    EXPECT_EQ(Child<QPushButton>(dialog, "Command1_1")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(Child<QPushButton>(dialog, "Command1_0")->text(), QStringLiteral("&Cancel"));
    auto* text1 = Child<QLineEdit>(dialog, "Text1");
    EXPECT_TRUE(text1->isReadOnly());
    EXPECT_EQ(text1->palette().color(QPalette::Base), text1->palette().color(QPalette::Button));

    // The focus chain also holds the labels and the list's scroll bars; only tab stops count.
    QStringList order;
    QWidget* w = Child<QWidget>(dialog, "Drive1");
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != Child<QWidget>(dialog, "Drive1"));
    EXPECT_EQ(order.join(QLatin1Char(' ')).toStdString(), "Drive1 Dir1 Text1 Command1_1 Command1_0");
}

TEST(FolderDialog, TheChosenFolderIsKeptUntilTheCloseBox)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("site")));
    const QString site = QDir::toNativeSeparators(tmp.filePath(QStringLiteral("site")));
    FolderDialog dialog;
    auto* dir1 = Child<QTreeView>(dialog, "Dir1");
    auto* text1 = Child<QLineEdit>(dialog, "Text1");
    auto* ok = Child<QPushButton>(dialog, "Command1_1");

    // The user opens a folder in Dir1 and confirms.
    const auto chosen = RunWhile(dialog, [&] {
        EXPECT_GT(Child<QComboBox>(dialog, "Drive1")->count(), 0);
        EXPECT_EQ(text1->text(), QDir::toNativeSeparators(QDir::currentPath()));
        auto* folders = static_cast<QFileSystemModel*>(dir1->model());
        dir1->setCurrentIndex(folders->index(QDir::fromNativeSeparators(site)));
        EXPECT_EQ(text1->text(), site);
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    EXPECT_EQ(chosen, std::optional<QString>(site));

    // The next show opens on it; the close box answers as Cancel does.
    const auto closed = RunWhile(dialog, [&] {
        EXPECT_EQ(text1->text(), site);
        dialog.close();
    });
    EXPECT_EQ(closed, std::nullopt);
    EXPECT_EQ(dialog.Model().Tag(), QStringLiteral("CANCEL"));

    // After the close box it starts afresh on the current folder.
    const auto cancelled = RunWhile(dialog, [&] {
        EXPECT_EQ(text1->text(), QDir::toNativeSeparators(QDir::currentPath()));
        Child<QPushButton>(dialog, "Command1_0")->click();
    });
    EXPECT_EQ(cancelled, std::nullopt);
}
