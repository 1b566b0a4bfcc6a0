#include "app/MainWindow.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "tests/support/FakeUserInterface.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace vi;

namespace {

// The labels the view shows, one line per item, indented by depth.
QStringList Outline(const QAbstractItemModel& model, const QModelIndex& parent = {}, int depth = 0)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        lines << QString(depth, QLatin1Char(' ')) + index.data().toString();
        lines << Outline(model, index, depth + 1);
    }
    return lines;
}

class EndToEnd : public ::testing::Test {
protected:
    TreeDocument document;
    test::FakeUserInterface ui;
    MainWindow window{document, ui};
    QTreeView* view = nullptr;

    void SetUp() override
    {
        window.SetQuitOnUnload(false);
        window.show();
        view = window.TreeView();
    }

    void Click(const char* name) { window.findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    // The user clicks the item with this label in the tree view.
    void SelectInView(const QString& label)
    {
        const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, label, 1,
                                                           Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << label.toStdString();
        view->setCurrentIndex(found.front());
    }

    // New Item under the selected item; the user names it in the dialog and confirms.
    void NewItemNamed(const QString& name, const QString& type)
    {
        ui.OnEditItem = [name, type](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = name;
            r.ItemText = name;
            r.ItemType = type;
            return true;
        };
        Click("Command2_0");
    }
};

TEST_F(EndToEnd, AnEditedTreeExportsAndLoadsBackAsTheViewShowedIt)
{
    SelectInView(kRootText);
    NewItemNamed(QStringLiteral("Products"), kBranch);
    NewItemNamed(QStringLiteral("Gadgets"), kLeaf); // under the new item, which is selected
    NewItemNamed(QStringLiteral("Widgets"), kLeaf); // refused: a leaf is selected
    EXPECT_EQ(ui.MessageTexts().size(), 1);
    SelectInView(QStringLiteral("Products"));
    NewItemNamed(QStringLiteral("Widgets"), kLeaf);
    SelectInView(kRootText);
    NewItemNamed(QStringLiteral("About"), kLeaf);

    // Item Properties renames an item; Up moves the leaf above the branch and its sub-items.
    SelectInView(QStringLiteral("Gadgets"));
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Tools");
        r.LinkHref = QStringLiteral("tools.html");
        return true;
    };
    Click("Command2_2");
    SelectInView(QStringLiteral("About"));
    Click("Command3_0");
    EXPECT_EQ(view->currentIndex().data().toString(), QStringLiteral("About"));

    const QStringList shown = Outline(*view->model());
    EXPECT_EQ(shown, (QStringList{kRootText, QStringLiteral(" About"), QStringLiteral(" Products"),
                                  QStringLiteral("  Tools"), QStringLiteral("  Widgets")}));

    QTemporaryDir out;
    ui.Folders = {out.path()};
    Click("Command1_2");
    const QString file = JoinPath(out.path(), QStringLiteral("custom.js"));
    ASSERT_TRUE(QFile::exists(file));

    Click("Command1_0"); // nothing unexported: no question
    EXPECT_EQ(Outline(*view->model()), QStringList{kRootText});
    ui.Files = {file};
    Click("Command1_1");
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_EQ(ui.MessageTexts().size(), 1) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Outline(*view->model()), shown);
    view->setCurrentIndex(view->model()->index(0, 0));
    EXPECT_EQ(document.SelectedNode(), document.Root());
    EXPECT_EQ(document.CheckInvariants(), QString());
    EXPECT_FALSE(document.TreeChanged());
}

} // namespace
