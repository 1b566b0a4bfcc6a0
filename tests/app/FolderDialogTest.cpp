#include "app/FolderDialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace vi;

TEST(FolderDialog, ControlsAndTheKeptFolder)
{
    FolderDialog dialog;
    auto child = [&](const char* name) { return dialog.findChild<QWidget*>(QString::fromLatin1(name)); };
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export to Folder"));
    // Tab order among the tab stops (the focus chain also holds labels and scroll bars).
    QStringList order;
    for (QWidget* w = child("Drive1"); order.size() < 5; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            order << w->objectName();
    EXPECT_EQ(order.join(QLatin1Char(' ')).toStdString(), "Drive1 Dir1 Text1 Command1_1 Command1_0");

    QTemporaryDir tmp;
    const QString site = QDir::toNativeSeparators(tmp.path());
    auto* dir1 = static_cast<QTreeView*>(child("Dir1"));
    auto* text1 = static_cast<QLineEdit*>(child("Text1"));
    auto runWhile = [&](std::function<void()> act) {
        QTimer::singleShot(0, &dialog, std::move(act));
        return dialog.Run();
    };
    // The user opens a folder and confirms; the next show opens on it; the close box answers Cancel.
    EXPECT_EQ(runWhile([&] {
                  dir1->setCurrentIndex(static_cast<QFileSystemModel*>(dir1->model())->index(tmp.path()));
                  EXPECT_EQ(text1->text(), site);
                  static_cast<QPushButton*>(child("Command1_1"))->click();
              }),
              std::optional<QString>(site));
    EXPECT_EQ(runWhile([&] {
                  EXPECT_EQ(text1->text(), site);
                  dialog.close();
              }),
              std::nullopt);
    // Afresh after the close box, on the current folder.
    EXPECT_EQ(runWhile([&] {
                  EXPECT_EQ(text1->text(), QDir::toNativeSeparators(QDir::currentPath()));
                  static_cast<QPushButton*>(child("Command1_0"))->click();
              }),
              std::nullopt);
}
