#include "document/TreeDocument.h"

#include "document/AppInfo.h"
#include "tests/support/TestTree.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vi;
using vi::test::AddItem;

TEST(TreeDocument, NewTreeHoldsOnlyTheRootWithDefaults)
{
    TreeDocument d;
    d.Select(AddItem(d, d.Root(), QStringLiteral("A")));
    d.Settings().TreeX = 40;
    d.SetTreeChanged(true);

    d.NewTree();
    EXPECT_EQ(std::pair(d.NodeCount(), d.UpperBound()), std::pair(1, 1));
    EXPECT_EQ(d.Root()->Text(), QStringLiteral("Your Tree"));
    EXPECT_EQ(d.Settings(), TreeSettings{});
    EXPECT_EQ(std::pair(d.TreeChanged(), d.SelectedNodeIndex()), std::pair(false, 0));
    EXPECT_TRUE(d.RootStatement().isEmpty()) << "a new tree has no statement of its own";
    EXPECT_TRUE(d.CheckInvariants().isEmpty());
}

TEST(TreeDocument, NewItemsTakeTheTreeWideValuesButNeverTheTarget)
{
    TreeDocument d;
    d.Settings().TreeBNonExpanded = QStringLiteral("/pics/b.gif");
    d.Settings().TreeTarget = QStringLiteral("main");
    d.InitItemRecord(*d.AddItemRecord());
    const ItemRecord& r = d.Record(2);
    EXPECT_EQ(r.ItemType + r.FriendlyName + r.FontSize + r.FontColor, QStringLiteral("BRANCH(None Specifyed)2Black"));
    EXPECT_EQ((std::vector<bool>{r.UseGlobalBNonExpanded, r.UseGlobalBExpanded, r.UseGlobalFont, r.UseGlobalTarget}),
              (std::vector<bool>{true, false, true, false}));
}

TEST(TreeDocument, RemovingAnItemRenumbersTagsAndFreesItsPlacesForNewNodes)
{
    TreeDocument d;
    TreeNode* a = AddItem(d, d.Root(), QStringLiteral("A"));
    TreeNode* b = AddItem(d, a, QStringLiteral("B"));
    TreeNode* c = AddItem(d, d.Root(), QStringLiteral("C"));
    AddItem(d, b, QStringLiteral("D"));
    d.Select(d.Node(5));

    // B (Tag 3) goes with its child D, in the commands' order: record, then node.
    d.RemoveItemRecord(3);
    d.RemoveItemNode(b->Position(), 3);
    EXPECT_EQ(std::tuple(d.NodeCount(), d.Node(3), c->Tag()), std::tuple(3, c, 3));
    EXPECT_EQ(d.RecordOf(c).FriendlyName, QStringLiteral("C"));
    EXPECT_EQ(d.SelectedNodeIndex(), 0) << "a removed node cannot stay selected";
    d.RemoveItemRecord(4); // D's record, left without a node
    EXPECT_TRUE(d.CheckInvariants().isEmpty()) << d.CheckInvariants().toStdString();

    // The freed places are used again: each new node is a fresh leaf.
    TreeNode* e = AddItem(d, c, QStringLiteral("E"));
    TreeNode* f = AddItem(d, e, QStringLiteral("F"));
    EXPECT_EQ(std::pair(d.Node(2), d.Node(3)), std::pair(a, c));
    EXPECT_EQ((std::vector{a->ChildCount(), e->ChildCount(), f->ChildCount()}), (std::vector{0, 1, 0}));
    EXPECT_TRUE(d.CheckInvariants().isEmpty()) << d.CheckInvariants().toStdString();

    for (int index : {5, 4, 3, 2, 1, 99})
        d.RemoveItemRecord(index);
    EXPECT_EQ(std::pair(d.UpperBound(), int(d.Record(1).RootMark)), std::pair(1, -1));
}

// The installed layout and the one beside the program are tried by the package
// test and by every export test; here the order between them and the others.
TEST(AppInfo, TheDataFolderIsTheFirstThatExists)
{
    const struct {
        std::vector<const char*> Present; // under a scratch prefix, with the program in prefix/bin
        const char* DataFolder;
        bool PreviewInDataFolder; // else in the user's cache folder
    } rows[] = {
        {{"bin/TreeData", "share/vuvov-ivoza/TreeData"}, "bin/TreeData", true},
        {{"bin", "Resources/TreeData"}, "Resources/TreeData", false},
        {{"bin"}, "bin/TreeData", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.DataFolder);
        QTemporaryDir prefix;
        const auto native = [&](const char* path) {
            return QDir::toNativeSeparators(prefix.filePath(QString::fromLatin1(path)));
        };
        for (const char* folder : row.Present)
            ASSERT_TRUE(QDir().mkpath(prefix.filePath(QString::fromLatin1(folder))));
        SetProgramFolder(native("bin"));
        EXPECT_EQ(DataFolder(), native(row.DataFolder));
        EXPECT_EQ(TmpTreePath(), row.PreviewInDataFolder ? JoinPath(native(row.DataFolder), QStringLiteral("TmpTree"))
                                                         : UserPreviewPath());
    }
    SetProgramFolder({});
}
