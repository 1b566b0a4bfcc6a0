#include "commands/ItemCommands.h"
#include "commands/LabelEdit.h"
#include "commands/TreeCommands.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ItemStatement.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <gtest/gtest.h>
#include <utility>

namespace vi {
namespace {

using Answer = UserInterface::Answer;

struct CommandsTest : ::testing::Test {
    TreeDocument doc;
    test::FakeUserInterface ui;
    test::FakeProgramFolder program;
    QTemporaryDir out;

    // Adds an item through NewItem, playing the user who names it and confirms.
    TreeNode* Add(TreeNode* parent, const char* name, const QString& type = kBranch)
    {
        doc.Select(parent);
        ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = QString::fromUtf8(name);
            r.ItemType = type;
            return true;
        };
        NewItem(doc, ui);
        ui.OnEditItem = nullptr;
        return parent->LastChild();
    }

    QString Labels(const TreeNode* parent) const
    {
        QStringList labels;
        for (const TreeNode* child : parent->Children())
            labels << child->Text();
        return labels.join(QLatin1Char(' '));
    }
};

TEST_F(CommandsTest, RefusalsShowTheirMessageAndChangeNothing)
{
    TreeNode* leaf = Add(doc.Root(), "Leaf", kLeaf);
    TreeNode* branch = Add(doc.Root(), "Branch");
    Add(branch, "Child", kLeaf);
    doc.SetTreeChanged(false);
    const struct {
        TreeNode* selected;
        void (*command)(TreeDocument&, UserInterface&, EditHistory*);
        QString message;
    } cases[] = {
        {nullptr, NewItem, kSelectParentMessage},
        {leaf, NewItem, kLeafParentMessage},
        {nullptr, DeleteItem, kSelectToDeleteMessage},
        {doc.Root(), DeleteItem, kDeleteRootMessage},
        {branch, DeleteItem, kBranchNotEmptyMessage},
        {doc.Root(), EditItemProperties, kNoPropertiesMessage},
        {nullptr, EditItemProperties, kNoPropertiesMessage},
    };
    ui.OnEditItem = [](ItemRecord&, const TreeSettings&) { return true; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        ui.Messages.clear();
        doc.Select(c.selected);
        c.command(doc, ui, nullptr);
        EXPECT_EQ(ui.MessageTexts(), QStringList{c.message});
        EXPECT_EQ(std::pair(doc.NodeCount(), doc.UpperBound()), std::pair(4, 4));
        EXPECT_FALSE(doc.TreeChanged());
    }
    while (doc.AddItemRecord()) {
    }
    ui.Messages.clear();
    doc.Select(doc.Root());
    NewItem(doc, ui);
    EXPECT_EQ(ui.MessageTexts(), QStringList{kTooManyItemsMessage});
    EXPECT_EQ(doc.NodeCount(), 4);
}

TEST_F(CommandsTest, NewAndEditStoreOnlyWhatTheUserConfirmed)
{
    doc.Select(doc.Root());
    ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
        // The view has shown the new, selected node before the dialog opens.
        EXPECT_EQ(ui.PendingEventRuns, 1);
        EXPECT_EQ(doc.SelectedNodeIndex(), 2);
        EXPECT_EQ(r.FriendlyName, kNoneSpecified);
        return true;
    };
    NewItem(doc, ui);
    TreeNode* item = doc.Node(2);
    EXPECT_EQ(item->Text(), kNoneSpecified);
    EXPECT_EQ(item->Tag(), 2);
    EXPECT_EQ(doc.Record(2).ItemType, kBranch);
    EXPECT_TRUE(doc.TreeChanged());

    // Cancelled dialogs, even ones that scribbled on the record, change nothing but the expansion.
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Scribbled");
        return false;
    };
    const ItemRecord before = doc.Record(2);
    doc.SetTreeChanged(false);
    doc.Select(item);
    NewItem(doc, ui);
    EditItemProperties(doc, ui);
    EXPECT_EQ(std::pair(doc.NodeCount(), doc.UpperBound()), std::pair(2, 2));
    EXPECT_EQ(doc.Record(2), before);
    EXPECT_TRUE(item->Expanded());
    EXPECT_EQ(doc.SelectedNode(), item);
    EXPECT_FALSE(doc.TreeChanged());
    EXPECT_EQ(doc.CheckInvariants(), QString());
}

TEST_F(CommandsTest, DeleteRenumbersTheLaterTags)
{
    Add(doc.Root(), "Two");
    TreeNode* three = Add(doc.Root(), "Three");
    Add(doc.Root(), "Four");
    doc.Select(three);
    DeleteItem(doc, ui);
    EXPECT_EQ(Labels(doc.Root()), QStringLiteral("Two Four"));
    EXPECT_EQ(doc.Root()->Child(1)->Tag(), 3);
    EXPECT_EQ(doc.Record(3).FriendlyName, QStringLiteral("Four"));
    EXPECT_EQ(doc.CheckInvariants(), QString());
}

TEST_F(CommandsTest, ABranchMovesWithItsSubItemsAndTheSelectionFollows)
{
    TreeNode* branch = Add(doc.Root(), "Branch");
    Add(branch, "A", kLeaf);
    Add(branch, "B", kLeaf);
    TreeNode* leaf = Add(doc.Root(), "Leaf", kLeaf);
    Add(doc.Root(), "End", kLeaf);
    doc.SetTreeChanged(false);
    for (const auto& [selected, up] : {std::pair{branch, true}, {doc.Root()->LastChild(), false}, {doc.Root(), true}}) {
        SCOPED_TRACE(selected->Text().toStdString() + (up ? " up" : " down"));
        doc.Select(selected);
        MoveItem(doc, up); // nothing to do at either end, or on the root
    }
    EXPECT_FALSE(doc.TreeChanged());

    doc.Select(leaf);
    MoveItem(doc, true);
    EXPECT_EQ(Labels(doc.Root()), QStringLiteral("Leaf Branch End"));
    EXPECT_EQ(Labels(branch), QStringLiteral("A B"));
    EXPECT_EQ(doc.RecordOf(branch).FriendlyName, QStringLiteral("Branch"));
    EXPECT_EQ(doc.SelectedNode(), leaf);
    EXPECT_TRUE(doc.TreeChanged());
    // Every statement names its item's new place and parent.
    for (int position = 2; position <= doc.NodeCount(); ++position) {
        const QByteArray kept = doc.RecordOf(doc.Node(position)).ScriptLine;
        BuildItemStatement(doc, position);
        EXPECT_EQ(kept, doc.RecordOf(doc.Node(position)).ScriptLine) << position;
    }

    doc.Select(branch);
    MoveItem(doc, false);
    MoveItem(doc, false);
    EXPECT_EQ(Labels(doc.Root()), QStringLiteral("Leaf End Branch"));
    EXPECT_EQ(doc.SelectedNode(), branch);
    EXPECT_EQ(doc.CheckInvariants(), QString());
}

TEST_F(CommandsTest, TheExportQuestionGuardsUnexportedChanges)
{
    const struct {
        const char* name;
        Answer answer;
        std::optional<QString> folder; // the chooser's outcome after Yes
        bool kept;
    } cases[] = {
        {"cancel", Answer::Cancel, std::nullopt, true},
        {"no", Answer::No, std::nullopt, false},
        {"yes, chooser cancelled", Answer::Yes, std::nullopt, true},
        {"yes, exported", Answer::Yes, out.path(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.NewTree();
        test::AddItem(doc, doc.Root(), QStringLiteral("Item"));
        doc.SetTreeChanged(true);
        ui.Questions.clear();
        ui.Answers = {c.answer};
        ui.Folders = {c.folder};
        NewTreeCommand(doc, ui);
        EXPECT_EQ(ui.Questions, QStringList{kExportChangesQuestion});
        EXPECT_EQ(doc.NodeCount(), c.kept ? 2 : 1);
        EXPECT_EQ(doc.TreeChanged(), c.kept);
    }
    EXPECT_TRUE(ui.MessageTexts().isEmpty());

    // Yes on a tree without items: the no-tree message, and the changes stay.
    ui.Answers = {Answer::Yes};
    doc.SetTreeChanged(true);
    EXPECT_TRUE(AskToExportChanges(doc, ui));
    EXPECT_EQ(ui.MessageTexts(), QStringList{kNoTreeToExportMessage});
}

TEST_F(CommandsTest, LoadAsksForACustomFileWhereTheUserLastWorked)
{
    LoadTreeCommand(doc, ui); // no changes: no question
    EXPECT_TRUE(ui.Questions.isEmpty());
    // No starting folder: the dialog opens on the folder last used, never the program's.
    EXPECT_EQ(ui.FileDialog, (QStringList{QStringLiteral("Load Custom JavaScript Tree.."),
                                          QStringLiteral("Custom Tree File (*.js)|*.js"), QString()}));
}

TEST_F(CommandsTest, TreePropertiesRebuildTheRootStatementOnlyOnOk)
{
    for (bool confirm : {false, true}) {
        ui.OnEditSettings = [confirm](TreeSettings& s) {
            s.TreeX = 123;
            return confirm;
        };
        EditTreeProperties(doc, ui);
        EXPECT_EQ(doc.Settings().TreeX, confirm ? 123 : 5);
        EXPECT_EQ(doc.RootStatement().startsWith(QStringLiteral("var menuBase = new menuObject(123,5,")), confirm);
        EXPECT_EQ(doc.TreeChanged(), confirm);
    }
}

TEST_F(CommandsTest, LabelEditsRefuseWhatWouldBreakTheSavedTree)
{
    TreeNode* a = Add(doc.Root(), "A");
    doc.SetTreeChanged(false);
    const struct {
        const char* name;
        QString label;
        QString message;
    } cases[] = {
        {"marker separator", QStringLiteral("a[+]b"), kMarkerInLabel},
        {"line feed", QStringLiteral("a\nb"), kLineBreakInLabel},
        {"carriage return", QStringLiteral("a\rb"), kLineBreakInLabel},
        {"line separator", QStringLiteral("a\u2028b"), kLineBreakInLabel},
        {"paragraph separator", QStringLiteral("a\u2029"), kLineBreakInLabel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui = test::FakeUserInterface{};
        EXPECT_FALSE(ApplyLabelEdit(doc, ui, a, c.label));
        EXPECT_EQ(ui.MessageTexts(), QStringList{c.message});
        EXPECT_EQ(a->Text(), QStringLiteral("A"));
        EXPECT_EQ(doc.RecordOf(a).FriendlyName, QStringLiteral("A"));
        EXPECT_FALSE(doc.TreeChanged());
    }
}

} // namespace
} // namespace vi
