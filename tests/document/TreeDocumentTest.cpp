#include "document/AppInfo.h"
#include "document/RootStatement.h"
#include "document/TreeDocument.h"

#include <gtest/gtest.h>

using namespace vi;

namespace {

// Adds an item the way the commands do: record first, then node and Tag, then defaults.
TreeNode* AddItem(TreeDocument& d, TreeNode* parent, const QString& name)
{
    const int k = *d.AddItemRecord();
    TreeNode* n = d.AddNode(parent, name, k);
    d.InitItemRecord(k);
    d.Record(k).FriendlyName = name;
    return n;
}

std::vector<int> ItemTags(const TreeDocument& d)
{
    std::vector<int> tags;
    for (int p = 2; p <= d.NodeCount(); ++p)
        tags.push_back(d.Node(p)->Tag());
    return tags;
}

} // namespace

TEST(TreeDocument, NewTreeHoldsOnlyTheRootWithDefaults)
{
    TreeDocument d;
    AddItem(d, d.Root(), QStringLiteral("A"));
    d.Settings().TreeX = 40;
    d.SetTreeChanged(true);

    d.NewTree();
    EXPECT_EQ(d.NodeCount(), 1);
    EXPECT_EQ(d.Root()->Text(), QStringLiteral("Your Tree"));
    EXPECT_EQ(d.UpperBound(), 1);
    EXPECT_EQ(d.Record(1).RootMark, -1);
    EXPECT_EQ(d.Settings(), TreeSettings{});
    EXPECT_EQ(d.Settings().TreeFontSize, QStringLiteral("2"));
    EXPECT_TRUE(d.Settings().TreeLeaf.isEmpty());
    EXPECT_FALSE(d.TreeChanged());
    EXPECT_EQ(d.RootStatement(), BuildRootStatement(TreeSettings{}));
    EXPECT_EQ(d.SelectedNodeIndex(), 0);
    EXPECT_TRUE(d.CheckInvariants().isEmpty());
}

TEST(TreeDocument, InitItemRecordFollowsTheSettings)
{
    TreeDocument d;
    const int k = *d.AddItemRecord();
    EXPECT_EQ(k, 2);
    d.InitItemRecord(k);
    const ItemRecord& r = d.Record(k);
    EXPECT_EQ(r.ItemType, QStringLiteral("BRANCH"));
    EXPECT_EQ(r.FriendlyName, QStringLiteral("(None Specifyed)"));
    EXPECT_FALSE(r.UseGlobalBNonExpanded);
    EXPECT_FALSE(r.UseGlobalBExpanded);
    EXPECT_TRUE(r.UseGlobalFont);
    EXPECT_EQ(r.FontSize, QStringLiteral("2"));
    EXPECT_EQ(r.FontColor, QStringLiteral("Black"));
    EXPECT_FALSE(r.UseGlobalTarget);

    d.Settings().TreeBNonExpanded = QStringLiteral("/pics/b.gif");
    d.Settings().TreeTarget = QStringLiteral("main");
    d.Settings().TreeFontSize.clear();
    const int k2 = *d.AddItemRecord();
    d.InitItemRecord(k2);
    EXPECT_TRUE(d.Record(k2).UseGlobalBNonExpanded);
    EXPECT_FALSE(d.Record(k2).UseGlobalTarget); // the target is never global by default
    EXPECT_FALSE(d.Record(k2).UseGlobalFont);
    EXPECT_TRUE(d.Record(k2).FontSize.isEmpty());
}

TEST(TreeDocument, RemoveItemRecordMovesLaterRecordsDown)
{
    TreeDocument d;
    for (const char* name : {"r2", "r3", "r4"})
        d.Record(*d.AddItemRecord()).FriendlyName = QString::fromLatin1(name);
    d.RemoveItemRecord(2);
    ASSERT_EQ(d.UpperBound(), 3);
    EXPECT_EQ(d.Record(2).FriendlyName, QStringLiteral("r3"));
    EXPECT_EQ(d.Record(3).FriendlyName, QStringLiteral("r4"));

    d.RemoveItemRecord(3); // the last one only shrinks
    EXPECT_EQ(d.UpperBound(), 2);
    d.RemoveItemRecord(2);
    d.RemoveItemRecord(1); // the placeholder always stays
    d.RemoveItemRecord(99);
    EXPECT_EQ(d.UpperBound(), 1);
    EXPECT_EQ(d.Record(1).RootMark, -1);
}

TEST(TreeDocument, RemoveItemNodeRenumbersTagsAndClosesPositions)
{
    TreeDocument d;
    TreeNode* a = AddItem(d, d.Root(), QStringLiteral("A"));
    TreeNode* b = AddItem(d, a, QStringLiteral("B"));
    AddItem(d, d.Root(), QStringLiteral("C"));
    AddItem(d, b, QStringLiteral("D"));
    ASSERT_EQ(ItemTags(d), (std::vector<int>{2, 3, 4, 5}));
    d.Select(d.Node(5));

    // The node with Tag 3 (B) has a child; removing its record and node with
    // the commands' order keeps the Tags dense.
    const int pos = b->Position();
    d.RemoveItemRecord(3);
    d.RemoveItemNode(pos, 3);
    EXPECT_EQ(d.NodeCount(), 3); // B and its child D are gone
    EXPECT_EQ(d.Node(3)->Text(), QStringLiteral("C"));
    EXPECT_EQ(d.Node(3)->Position(), 3);
    EXPECT_EQ(d.SelectedNodeIndex(), 0) << "a removed node cannot stay selected";
    EXPECT_EQ(d.Node(3)->Tag(), 3);
    EXPECT_EQ(d.RootStatement(), BuildRootStatement(d.Settings()));

    // Record 4 (D) still exists without a node: remove it the same way to restore the invariant.
    d.RemoveItemRecord(4);
    EXPECT_TRUE(d.CheckInvariants().isEmpty()) << d.CheckInvariants().toStdString();
}

TEST(TreeDocument, TagsAboveTheRemovedRecordMoveDown)
{
    TreeDocument d;
    for (const char* name : {"A", "B", "C", "D"})
        AddItem(d, d.Root(), QString::fromLatin1(name));
    d.RemoveItemRecord(3);
    d.RemoveItemNode(3, 3);
    EXPECT_EQ(ItemTags(d), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(d.RecordOf(d.Node(3)).FriendlyName, QStringLiteral("C"));
    EXPECT_TRUE(d.CheckInvariants().isEmpty());
}

TEST(TreeDocument, SiblingsRowsAndMoves)
{
    TreeDocument d;
    TreeNode* a = AddItem(d, d.Root(), QStringLiteral("A"));
    TreeNode* b = AddItem(d, d.Root(), QStringLiteral("B"));
    TreeNode* c = AddItem(d, d.Root(), QStringLiteral("C"));
    TreeNode* a1 = AddItem(d, a, QStringLiteral("A1"));

    EXPECT_EQ(b->FirstSibling(), a);
    EXPECT_EQ(b->LastSibling(), c);
    EXPECT_EQ(b->PreviousSibling(), a);
    EXPECT_EQ(b->NextSibling(), c);
    EXPECT_EQ(a->PreviousSibling(), nullptr);
    EXPECT_EQ(c->NextSibling(), nullptr);
    EXPECT_EQ(d.Root()->FirstSibling(), d.Root());
    EXPECT_EQ(a1->Parent(), a);

    d.MoveNode(a, 2); // A, with its child, goes last; positions keep the order of addition
    EXPECT_EQ(d.Root()->Child(0), b);
    EXPECT_EQ(d.Root()->Child(2), a);
    EXPECT_EQ(a->Row(), 2);
    EXPECT_EQ(b->Row(), 0);
    EXPECT_EQ(a1->Parent(), a);
    EXPECT_EQ(a->Position(), 2);
    d.MoveNode(a, 5); // out of range: nothing happens
    EXPECT_EQ(a->Row(), 2);
    EXPECT_TRUE(d.CheckInvariants().isEmpty());
}

TEST(TreeDocument, SelectedNodeIndex)
{
    TreeDocument d;
    EXPECT_EQ(d.SelectedNodeIndex(), 0);
    d.Select(d.Root());
    EXPECT_EQ(d.SelectedNodeIndex(), 1);
    TreeNode* a = AddItem(d, d.Root(), QStringLiteral("A"));
    d.Select(a);
    EXPECT_EQ(d.SelectedNodeIndex(), 2);
    d.Select(nullptr);
    EXPECT_EQ(d.SelectedNodeIndex(), 0);
}

TEST(TreeDocument, RecordLimitRefusesTheItemPastIt)
{
    TreeDocument d;
    TreeNode* root = d.Root();
    for (int i = 0; i < kMaxItems; ++i) {
        const std::optional<int> k = d.AddItemRecord();
        ASSERT_TRUE(k.has_value()) << i;
        d.AddNode(root, QStringLiteral("x"), *k);
    }
    EXPECT_EQ(d.UpperBound(), 32767);
    EXPECT_FALSE(d.CanAddItem());
    EXPECT_FALSE(d.AddItemRecord().has_value());
    EXPECT_EQ(d.UpperBound(), 32767);
    EXPECT_EQ(kTooManyItemsMessage, QStringLiteral("The tree can not hold more than 32766 items."));
    EXPECT_TRUE(d.CheckInvariants().isEmpty());
}

TEST(TreeDocument, ObserversHearOneResetForABulkChange)
{
    struct Counter : DocumentObserver {
        int resets = 0, inserts = 0, removes = 0, moves = 0, texts = 0;
        void AfterReset() override { ++resets; }
        void AfterInsert(TreeNode*, int) override { ++inserts; }
        void AfterRemove(TreeNode*, int) override { ++removes; }
        void AfterMove(TreeNode*, int, int) override { ++moves; }
        void TextChanged(TreeNode*) override { ++texts; }
    } counter;
    TreeDocument d;
    d.AddObserver(&counter);
    TreeNode* a = AddItem(d, d.Root(), QStringLiteral("A"));
    AddItem(d, d.Root(), QStringLiteral("B"));
    d.MoveNode(a, 1);
    d.SetText(a, QStringLiteral("A2"));
    d.SetText(a, QStringLiteral("A2")); // unchanged text is no change
    d.RemoveNode(a->Position());
    EXPECT_EQ(counter.inserts, 2);
    EXPECT_EQ(counter.moves, 1);
    EXPECT_EQ(counter.texts, 1);
    EXPECT_EQ(counter.removes, 1);

    d.BeginBulkChange();
    d.NewTree();
    for (int i = 0; i < 10; ++i)
        AddItem(d, d.Root(), QStringLiteral("x"));
    d.EndBulkChange();
    EXPECT_EQ(counter.inserts, 2);
    EXPECT_EQ(counter.resets, 1);
    d.RemoveObserver(&counter);
}

TEST(RootStatement, FollowsTheSettings)
{
    TreeSettings s;
    EXPECT_EQ(BuildRootStatement(s),
              QStringLiteral("var menuBase = new menuObject(5,5,20,true,\"treePics/plus.gif\",\"treePics/minus.gif\","
                             "\"treePics/top.gif\",\"treePics/mid.gif\",\"treePics/btm.gif\",\"treePics/hline.gif\","
                             "\"treePics/vline.gif\");"));
    s.TreeLines = 0;
    EXPECT_EQ(BuildRootStatement(s),
              QStringLiteral("var menuBase = new menuObject(5,5,20,false,\"\",\"\",\"\",\"\",\"\",\"\",\"\");"));
    s.TreeLines = 2;
    s.TreeSize = 4;
    s.TreeX = -10;
    EXPECT_EQ(BuildRootStatement(s),
              QStringLiteral("var menuBase = new menuObject(-10,5,32,true,\"treePics/plus.gif\",\"treePics/minus.gif\","
                             "\"treePics/2x2.gif\",\"treePics/2x2.gif\",\"treePics/2x2.gif\",\"treePics/2x2.gif\","
                             "\"treePics/2x2.gif\");"));
    s.TreeSize = 0;
    EXPECT_TRUE(BuildRootStatement(s).startsWith(QStringLiteral("var menuBase = new menuObject(-10,5,16,")));
}

TEST(AppInfo, VersionAndFolders)
{
    EXPECT_EQ(AppVersion(), QStringLiteral("2.0.3"));
    SetProgramFolder(QStringLiteral("/opt/vi"));
    EXPECT_EQ(TmpTreePath(), QStringLiteral("/opt/vi/TreeData/TmpTree"));
    SetProgramFolder({});
}
