#include "document/TreeDocument.h"

#include "document/AppInfo.h"
#include "tests/support/TestTree.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

using namespace vi;
using vi::test::AddItem;

TEST(TreeDocument, NewTreeHoldsOnlyTheRootAndNewItemsTakeTheTreeWideValuesButNeverTheTarget)
{
    TreeDocument d;
    d.Select(AddItem(d, d.Root(), QStringLiteral("A")));
    d.Settings().TreeX = 40;
    d.SetTreeChanged(true);
    d.NewTree();
    EXPECT_EQ(std::tuple(d.NodeCount(), d.UpperBound(), d.Root()->Text()),
              std::tuple(1, 1, QStringLiteral("Your Tree")));
    EXPECT_EQ(d.Settings(), TreeSettings{});
    EXPECT_EQ(std::pair(d.TreeChanged(), d.SelectedNodeIndex()), std::pair(false, 0));
    EXPECT_TRUE(d.RootStatement().isEmpty()) << "a new tree has no statement of its own";

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
    EXPECT_EQ(std::tuple(d.NodeCount(), d.Node(3), c->Tag(), d.RecordOf(c).FriendlyName),
              std::tuple(3, c, 3, QStringLiteral("C")));
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

// Whole items keep nodes, records and Tags in step: each change taken back
// leaves the document exactly as it was, positions and Tags included.
TEST(TreeDocument, ItemsAreAddedRemovedAndMovedWithTheirRecordsAndSubtrees)
{
    TreeDocument d;
    TreeNode* a = AddItem(d, d.Root(), QStringLiteral("A"));
    AddItem(d, AddItem(d, a, QStringLiteral("B")), QStringLiteral("C"));
    TreeNode* e = AddItem(d, d.Root(), QStringLiteral("E"));
    const auto shape = [&] {
        QString s;
        for (int p = 2; p <= d.NodeCount(); ++p)
            s += d.Node(p)->Text() + QString::number(d.Node(p)->Tag()) + d.RecordOf(d.Node(p)).FriendlyName + u' ';
        return s + d.CheckInvariants();
    };
    const QString before = shape();

    ItemRecord record = d.NewItemRecord();
    record.FriendlyName = QStringLiteral("N");
    TreeNode* n = d.AddItem(e, record);
    EXPECT_EQ(std::tuple(n->Position(), n->Tag(), n->Text(), d.RecordOf(n).ItemType),
              std::tuple(6, 6, QStringLiteral("N"), kBranch));
    d.RemoveItem(n);
    EXPECT_EQ(shape(), before);

    Subtree removed = d.RemoveItem(a->Child(0)); // B with C
    EXPECT_EQ(std::pair(d.NodeCount(), d.RecordOf(e).FriendlyName), std::pair(3, QStringLiteral("E")));
    EXPECT_EQ(e->Tag(), 3) << "later Tags close up";
    d.InsertItems(removed);
    EXPECT_EQ(shape(), before);

    TreeNode* b = a->Child(0);
    const std::vector<int> positions = d.SubtreePositions(b);
    EXPECT_TRUE(d.MoveItem(b, e, 0));
    EXPECT_EQ(std::pair(b->Position(), b->Parent()), std::pair(4, e)) << "a new parent puts the subtree last";
    EXPECT_TRUE(d.MoveItem(b, a, 0, positions));
    EXPECT_EQ(shape(), before);
    EXPECT_FALSE(d.MoveItem(a, b, 0)) << "never into its own subtree";
    EXPECT_FALSE(d.MoveItem(b, a, 0)) << "where it already is";
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

namespace {

std::string Name(const TreeNode* n) { return n ? n->Text().toStdString() : "none"; }

// Notes every notification with the parent's children as they stand at that
// moment, so a case sees both the state before and the state after a change.
struct Recorder final : DocumentObserver {
    std::string Log;
    void BeforeReset() override { Note("BeforeReset"); }
    void AfterReset() override { Note("AfterReset"); }
    void BeforeInsert(TreeNode* p, int row) override { Note("BeforeInsert", p, row); }
    void AfterInsert(TreeNode* p, int row) override { Note("AfterInsert", p, row); }
    void BeforeRemove(TreeNode* p, int row) override { Note("BeforeRemove", p, row); }
    void AfterRemove(TreeNode* p, int row) override { Note("AfterRemove", p, row); }
    void BeforeMove(TreeNode* p, int from, TreeNode* q, int to) override { Note("BeforeMove", p, from, q, to); }
    void AfterMove(TreeNode* p, int from, TreeNode* q, int to) override { Note("AfterMove", p, from, q, to); }
    void TextChanged(TreeNode* n) override { Note("TextChanged " + Name(n)); }
    void SelectionChanged(TreeNode* n) override { Note("SelectionChanged " + Name(n)); }
    void ExpansionChanged(TreeNode* n) override { Note("ExpansionChanged " + Name(n)); }
    // "Parent 0->2 [B C A]" within one parent, "0->B:0" into another; '|' between notifications.
    void Note(std::string line, const TreeNode* p = nullptr, int row = 0, const TreeNode* q = nullptr, int to = 0)
    {
        if (p) {
            line += ' ' + Name(p) + ' ' + std::to_string(row);
            if (q)
                line += "->" + (p == q ? "" : Name(q) + ':') + std::to_string(to);
            line += " [";
            for (const TreeNode* child : p->Children())
                line += Name(child) + (child == p->LastChild() ? "" : " ");
            line += ']';
        }
        Log += (Log.empty() ? "" : "|") + line;
    }
};

// The view's own test drives selection, expansion and a new tree through Qt's model tester.
TEST(DocumentObserver, NotifiesBeforeAndAfterEachChangeAndOnlyOnChange)
{
    TreeDocument d;
    for (const char* name : {"A", "B", "C"})
        AddItem(d, d.Root(), QString::fromLatin1(name));
    TreeNode* a = d.Root()->Child(0);
    TreeNode* b = d.Root()->Child(1);
    Recorder recorder;
    d.AddObserver(&recorder);
    AddItem(d, d.Root(), QStringLiteral("D"));
    d.MoveNode(a, 3);
    d.MoveNode(b, 0); // a row of its own: nothing to do
    for (int row : {4, -1})
        d.MoveNode(b, row);
    d.MoveNode(d.Root(), 0);
    d.MoveNode(nullptr, 0);
    d.MoveNode(b, b, 0);
    d.MoveNode(b, a, 1); // past the end of A's children
    d.MoveNode(b, a, 0);
    TreeNode* c = d.Root()->Child(0);
    const int tag = c->Tag();
    d.RemoveItemRecord(tag);
    d.RemoveItemNode(c->Position(), tag);
    d.MoveNode(a, 0);
    d.SetText(a, QStringLiteral("A"));
    d.SetText(a, QStringLiteral("A2"));
    d.BeginBulkChange();
    d.BeginBulkChange();
    AddItem(d, d.Root(), QStringLiteral("E"));
    d.EndBulkChange();
    d.MoveNode(d.Root()->Child(0), 1);
    d.EndBulkChange();
    d.EndBulkChange(); // unbalanced: ignored
    d.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.Log, "BeforeInsert Your Tree 3 [A B C]|AfterInsert Your Tree 3 [A B C D]"
                            "|BeforeMove Your Tree 0->3 [A B C D]|AfterMove Your Tree 0->3 [B C D A]"
                            "|BeforeMove Your Tree 0->A:0 [B C D A]|AfterMove Your Tree 0->A:0 [C D A]"
                            "|BeforeRemove Your Tree 0 [C D A]|AfterRemove Your Tree 0 [D A]"
                            "|BeforeMove Your Tree 1->0 [D A]|AfterMove Your Tree 1->0 [A D]"
                            "|TextChanged A2|BeforeReset|AfterReset");
    EXPECT_EQ(d.CheckInvariants().toStdString(), "");
}

} // namespace
