#include "app/MainWindow.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "tests/support/FakeUserInterface.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace vi;

namespace {

// The labels the view shows, indented by depth.
QString Outline(const QAbstractItemModel& model, const QModelIndex& parent = {}, int depth = 0)
{
    QString lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        lines += QString(depth, QLatin1Char(' ')) + index.data().toString() + QLatin1Char('\n');
        lines += Outline(model, index, depth + 1);
    }
    return lines;
}

} // namespace

TEST(EndToEnd, AnEditedTreeExportsAndLoadsBackAsTheViewShowedIt)
{
    TreeDocument document;
    test::FakeUserInterface ui;
    MainWindow window(document, ui);
    window.SetQuitOnUnload(false);
    window.show();
    QTreeView* view = window.TreeView();
    auto click = [&](const char* name) { window.findChild<QPushButton*>(QString::fromLatin1(name))->click(); };
    auto select = [&](const char* label) {
        view->setCurrentIndex(view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                                   QString::fromUtf8(label), 1, Qt::MatchRecursive).value(0));
    };
    auto newItem = [&](const char* name, const QString& type) {
        ui.OnEditItem = [=](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = r.ItemText = QString::fromUtf8(name);
            r.ItemType = type;
            return true;
        };
        click("Command2_0");
    };

    select("Your Tree");
    newItem("Products", kBranch);
    newItem("Gadgets", kLeaf); // under the new item, which is selected
    select("Products");
    newItem("Widgets", kLeaf);
    select("Your Tree");
    newItem("About", kLeaf);
    select("Gadgets");
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Tools");
        return true;
    };
    click("Command2_2");
    select("About");
    click("Command3_0");
    EXPECT_EQ(view->currentIndex().data().toString(), QStringLiteral("About"));
    const QString shown = Outline(*view->model());
    EXPECT_EQ(shown.toStdString(), "Your Tree\n About\n Products\n  Tools\n  Widgets\n");

    QTemporaryDir out;
    ui.Folders = {out.path()};
    click("Command1_2");
    click("Command1_0"); // exported: no question
    EXPECT_EQ(Outline(*view->model()).toStdString(), "Your Tree\n");
    ui.Files = {JoinPath(out.path(), QStringLiteral("custom.js"))};
    click("Command1_1");
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Outline(*view->model()), shown);
    EXPECT_FALSE(document.TreeChanged());
}
