#include "commands/ItemCommands.h"
#include "document/TreeDocument.h"
#include "script/ItemStatement.h"
#include "tests/support/FakeUserInterface.h"

#include <gtest/gtest.h>
#include <functional>

namespace vi {
namespace {

class ItemCommandsTest : public ::testing::Test {
protected:
    TreeDocument doc;
    test::FakeUserInterface ui;

    // Adds an item through NewItem, playing the user who names it and confirms.
    TreeNode* Add(TreeNode* parent, const QString& name, const QString& type = kBranch)
    {
        doc.Select(parent);
        ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = name;
            r.ItemType = type;
            return true;
        };
        NewItem(doc, ui);
        ui.OnEditItem = nullptr;
        return parent->LastChild();
    }

    QStringList Labels(const TreeNode* parent) const
    {
        QStringList labels;
        for (const TreeNode* child : parent->Children())
            labels << child->Text();
        return labels;
    }
};

TEST_F(ItemCommandsTest, RefusalsShowTheirMessageAndChangeNothing)
{
    TreeNode* leaf = Add(doc.Root(), QStringLiteral("Leaf"), kLeaf);
    TreeNode* branch = Add(doc.Root(), QStringLiteral("Branch"));
    Add(branch, QStringLiteral("Child"), kLeaf);
    doc.SetTreeChanged(false);

    struct Case {
        const char* name;
        TreeNode* selected;
        std::function<void()> command;
        QString message;
    };
    const Case cases[] = {
        {"new item without selection", nullptr, [&] { NewItem(doc, ui); }, kSelectParentMessage},
        {"new item under a leaf", leaf, [&] { NewItem(doc, ui); }, kLeafParentMessage},
        {"delete without selection", nullptr, [&] { DeleteItem(doc, ui); }, kSelectToDeleteMessage},
        {"delete the root", doc.Root(), [&] { DeleteItem(doc, ui); }, kDeleteRootMessage},
        {"delete a branch with items", branch, [&] { DeleteItem(doc, ui); }, kBranchNotEmptyMessage},
        {"properties of the root", doc.Root(), [&] { EditItemProperties(doc, ui); }, kNoPropertiesMessage},
        {"properties without selection", nullptr, [&] { EditItemProperties(doc, ui); }, kNoPropertiesMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Messages.clear();
        ui.OnEditItem = [](ItemRecord&, const TreeSettings&) { return true; };
        doc.Select(c.selected);
        c.command();
        ASSERT_EQ(ui.MessageTexts(), QStringList{c.message});
        EXPECT_EQ(ui.Messages.front().Kind, UserInterface::Icon::Information);
        EXPECT_EQ(doc.NodeCount(), 4);
        EXPECT_EQ(doc.UpperBound(), 4);
        EXPECT_FALSE(doc.TreeChanged());
    }
}

TEST_F(ItemCommandsTest, NewItemUnderTheRootShowsTheNodeBeforeTheDialogAndKeepsTheConfirmedRecord)
{
    doc.Select(doc.Root());
    bool checked = false;
    ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
        // The view has shown the new, selected node before the dialog opens.
        EXPECT_EQ(ui.PendingEventRuns, 1);
        EXPECT_EQ(doc.NodeCount(), 2);
        EXPECT_EQ(doc.SelectedNodeIndex(), 2);
        EXPECT_TRUE(doc.Root()->Expanded());
        EXPECT_EQ(r.FriendlyName, kNoneSpecified);
        r.FriendlyName = QStringLiteral("Home");
        checked = true;
        return true;
    };
    NewItem(doc, ui);
    ASSERT_TRUE(checked);
    const TreeNode* node = doc.Node(2);
    EXPECT_EQ(node->Text(), QStringLiteral("Home"));
    EXPECT_EQ(node->Tag(), 2);
    EXPECT_EQ(doc.Record(2).ItemType, kBranch);
    EXPECT_EQ(doc.Record(2).FriendlyName, QStringLiteral("Home"));
    EXPECT_TRUE(doc.TreeChanged());
    EXPECT_EQ(doc.CheckInvariants(), QString());
}

TEST_F(ItemCommandsTest, CancelledNewItemLeavesTheDocumentAsBeforeButExpanded)
{
    TreeNode* branch = Add(doc.Root(), QStringLiteral("Branch"));
    for (bool changed : {false, true}) {
        doc.SetTreeChanged(changed);
        doc.SetExpanded(branch, false);
        const ItemRecord before = doc.Record(2);
        doc.Select(branch);
        NewItem(doc, ui); // the fake cancels
        EXPECT_EQ(doc.NodeCount(), 2);
        EXPECT_EQ(doc.UpperBound(), 2);
        EXPECT_EQ(doc.Record(2), before);
        EXPECT_EQ(doc.TreeChanged(), changed);
        EXPECT_TRUE(branch->Expanded());
        EXPECT_EQ(doc.SelectedNode(), branch);
        EXPECT_EQ(doc.CheckInvariants(), QString());
    }
}

TEST_F(ItemCommandsTest, NewItemPastTheRecordLimitIsRefused)
{
    while (doc.AddItemRecord()) {
    }
    const int nodes = doc.NodeCount();
    const int records = doc.UpperBound();
    doc.Select(doc.Root());
    ui.OnEditItem = [](ItemRecord&, const TreeSettings&) { return true; };
    NewItem(doc, ui);
    EXPECT_EQ(ui.MessageTexts(), QStringList{kTooManyItemsMessage});
    EXPECT_EQ(doc.NodeCount(), nodes);
    EXPECT_EQ(doc.UpperBound(), records);
    EXPECT_FALSE(doc.TreeChanged());
}

TEST_F(ItemCommandsTest, AnItemSwitchedToLeafInItsDialogRefusesNewItems)
{
    TreeNode* item = Add(doc.Root(), QStringLiteral("Item"));
    doc.Select(item);
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.ItemType = kLeaf;
        return true;
    };
    EditItemProperties(doc, ui);
    NewItem(doc, ui);
    EXPECT_EQ(ui.MessageTexts(), QStringList{kLeafParentMessage});
    EXPECT_EQ(item->ChildCount(), 0);
}

TEST_F(ItemCommandsTest, EditItemPropertiesStoresOnlyOnOk)
{
    TreeNode* item = Add(doc.Root(), QStringLiteral("Item"));
    doc.SetTreeChanged(false);
    doc.Select(item);
    const ItemRecord before = doc.Record(2);
    // A dialog that scribbles on the record and is then cancelled.
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Scribbled");
        r.LinkHref = QStringLiteral("x.html");
        return false;
    };
    EditItemProperties(doc, ui);
    EXPECT_EQ(doc.Record(2), before);
    EXPECT_EQ(item->Text(), QStringLiteral("Item"));
    EXPECT_FALSE(doc.TreeChanged());

    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Renamed");
        return true;
    };
    EditItemProperties(doc, ui);
    EXPECT_EQ(doc.Record(2).FriendlyName, QStringLiteral("Renamed"));
    EXPECT_EQ(item->Text(), QStringLiteral("Renamed"));
    EXPECT_TRUE(doc.TreeChanged());
}

TEST_F(ItemCommandsTest, DeleteRenumbersTheLaterTags)
{
    Add(doc.Root(), QStringLiteral("Two"));
    TreeNode* three = Add(doc.Root(), QStringLiteral("Three"));
    Add(doc.Root(), QStringLiteral("Four"));
    doc.SetTreeChanged(false);
    doc.Select(three);
    DeleteItem(doc, ui);
    EXPECT_TRUE(ui.Messages.empty());
    ASSERT_EQ(Labels(doc.Root()), (QStringList{QStringLiteral("Two"), QStringLiteral("Four")}));
    EXPECT_EQ(doc.Root()->Child(1)->Tag(), 3);
    EXPECT_EQ(doc.Record(3).FriendlyName, QStringLiteral("Four"));
    EXPECT_EQ(doc.UpperBound(), 3);
    EXPECT_TRUE(doc.TreeChanged());
    EXPECT_EQ(doc.CheckInvariants(), QString());
}

TEST_F(ItemCommandsTest, MoveAtEitherEndOrWithoutAnItemDoesNothing)
{
    TreeNode* first = Add(doc.Root(), QStringLiteral("First"));
    TreeNode* last = Add(doc.Root(), QStringLiteral("Last"));
    doc.SetTreeChanged(false);
    const std::pair<TreeNode*, bool> cases[] = {{first, true}, {last, false}, {doc.Root(), true}, {nullptr, false}};
    for (const auto& [selected, up] : cases) {
        doc.Select(selected);
        MoveItem(doc, up);
        EXPECT_EQ(Labels(doc.Root()), (QStringList{QStringLiteral("First"), QStringLiteral("Last")}));
        EXPECT_EQ(doc.SelectedNode(), selected);
        EXPECT_FALSE(doc.TreeChanged());
    }
}

TEST_F(ItemCommandsTest, ABranchMovesWithItsSubItemsAndTheSelectionFollows)
{
    TreeNode* branch = Add(doc.Root(), QStringLiteral("Branch"));
    TreeNode* a = Add(branch, QStringLiteral("A"), kLeaf);
    Add(branch, QStringLiteral("B"), kLeaf);
    TreeNode* leaf = Add(doc.Root(), QStringLiteral("Leaf"), kLeaf);
    Add(doc.Root(), QStringLiteral("End"), kLeaf);
    doc.SetTreeChanged(false);

    doc.Select(leaf);
    MoveItem(doc, true);
    EXPECT_EQ(Labels(doc.Root()), (QStringList{QStringLiteral("Leaf"), QStringLiteral("Branch"), QStringLiteral("End")}));
    EXPECT_EQ(Labels(branch), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(leaf->ChildCount(), 0);
    EXPECT_EQ(doc.RecordOf(leaf).FriendlyName, QStringLiteral("Leaf"));
    EXPECT_EQ(doc.RecordOf(branch).FriendlyName, QStringLiteral("Branch"));
    EXPECT_EQ(doc.SelectedNode(), leaf);
    EXPECT_TRUE(doc.TreeChanged());
    EXPECT_EQ(doc.CheckInvariants(), QString());
    // Every statement names the item's new place and parent.
    for (int position = 2; position <= doc.NodeCount(); ++position) {
        const QString kept = doc.RecordOf(doc.Node(position)).ScriptLine;
        BuildItemStatement(doc, position);
        EXPECT_EQ(kept, doc.RecordOf(doc.Node(position)).ScriptLine) << position;
    }
    EXPECT_TRUE(doc.RecordOf(a).ScriptLine.contains(ItemScriptPath(a)));

    // Repeated moves carry the same item on, then stop at the end.
    doc.Select(branch);
    MoveItem(doc, false);
    MoveItem(doc, false);
    EXPECT_EQ(Labels(doc.Root()), (QStringList{QStringLiteral("Leaf"), QStringLiteral("End"), QStringLiteral("Branch")}));
    EXPECT_EQ(doc.SelectedNode(), branch);
    EXPECT_EQ(branch->ChildCount(), 2);
    EXPECT_EQ(doc.CheckInvariants(), QString());
}

} // namespace
} // namespace vi
