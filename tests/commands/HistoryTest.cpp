#include "commands/ClipboardCommands.h"
#include "commands/EditHistory.h"
#include "commands/ItemCommands.h"
#include "commands/LabelEdit.h"
#include "commands/TreeCommands.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/ItemStatement.h"
#include "script/TreeLoader.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <tuple>

namespace vi {
namespace {

// Everything undo must bring back: records, shape, Tags, positions, settings,
// the root statement and TreeChanged.
struct State {
    std::vector<ItemRecord> Records;
    std::vector<std::tuple<int, int, int, QString>> Nodes; // parent position, row, Tag, text by position
    TreeSettings Settings;
    QString RootStatement;
    bool TreeChanged = false;
    bool operator==(const State&) const = default;
};

State StateOf(const TreeDocument& d)
{
    State s{{}, {}, d.Settings(), d.RootStatement(), d.TreeChanged()};
    for (int k = 1; k <= d.UpperBound(); ++k)
        s.Records.push_back(d.Record(k));
    for (int p = 1; p <= d.NodeCount(); ++p) {
        const TreeNode* n = d.Node(p);
        s.Nodes.emplace_back(n->IsRoot() ? 0 : n->Parent()->Position(), n->Row(), n->Tag(), n->Text());
    }
    return s;
}

// Where the first difference lies, for a readable failure.
std::string Difference(const State& a, const State& b)
{
    if (a.Records.size() != b.Records.size())
        return "record count";
    for (std::size_t i = 0; i < a.Records.size(); ++i)
        if (!(a.Records[i] == b.Records[i]))
            return "record " + std::to_string(i + 1);
    if (a.Nodes != b.Nodes)
        return "nodes";
    if (!(a.Settings == b.Settings) || a.RootStatement != b.RootStatement)
        return "settings";
    return a.TreeChanged != b.TreeChanged ? "TreeChanged" : "";
}

struct HistoryTest : ::testing::Test {
    TreeDocument doc;
    test::FakeUserInterface ui;
    test::FakeProgramFolder program;
    QTemporaryDir out;
    std::unique_ptr<EditHistory> history = std::make_unique<EditHistory>(doc);

    // Branches A (with a1, a2, a3) and B (with b1), a leaf L: statements built,
    // one left out of date on purpose, exported so TreeChanged is false.
    void BuildTree()
    {
        TreeNode* a = test::AddItem(doc, doc.Root(), QStringLiteral("A"));
        for (const char* name : {"a1", "a2", "a3"})
            test::AddItem(doc, a, QString::fromUtf8(name), [](ItemRecord& r) { r.ItemType = kLeaf; });
        TreeNode* b = test::AddItem(doc, doc.Root(), QStringLiteral("B"));
        test::AddItem(doc, b, QStringLiteral("b1"));
        test::AddItem(doc, doc.Root(), QStringLiteral("L"), [](ItemRecord& r) { r.ItemType = kLeaf; });
        ExportTree(doc, out.path(), false, ui);
        doc.Record(3).ScriptLine = QByteArrayLiteral("out of date");
        doc.SetTreeChanged(false);
    }

    TreeNode* Find(const char* label) const
    {
        for (int p = 1; p <= doc.NodeCount(); ++p)
            if (doc.Node(p)->Text() == QString::fromUtf8(label))
                return doc.Node(p);
        return nullptr;
    }
};

TEST_F(HistoryTest, EveryCommandUndoesToTheStateBeforeAndRedoesToTheStateAfter)
{
    const struct {
        const char* name;
        const char* selected;
        std::function<void(HistoryTest&)> command;
        QString step;
    } rows[] = {
        {"new item", "B",
         [](HistoryTest& t) {
             t.ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
                 r.FriendlyName = QStringLiteral("New");
                 return true;
             };
             NewItem(t.doc, t.ui, t.history.get());
         },
         kNewItemStep},
        {"delete an item with a Tag in the middle", "a2",
         [](HistoryTest& t) { DeleteItem(t.doc, t.ui, t.history.get()); }, kDeleteItemStep},
        {"item properties", "a1",
         [](HistoryTest& t) {
             t.ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
                 r.FriendlyName = QStringLiteral("Renamed");
                 r.LinkHref = QStringLiteral("x.html");
                 return true;
             };
             EditItemProperties(t.doc, t.ui, t.history.get());
         },
         kItemPropertiesStep},
        {"move a branch down", "A", [](HistoryTest& t) { MoveItem(t.doc, false, t.history.get()); }, kMoveDownStep},
        {"move a leaf up", "a3", [](HistoryTest& t) { MoveItem(t.doc, true, t.history.get()); }, kMoveUpStep},
        {"rename", "b1",
         [](HistoryTest& t) {
             ApplyLabelEdit(t.doc, t.ui, t.doc.SelectedNode(), QStringLiteral(" spaced "), t.history.get());
         },
         kRenameStep},
        {"tree properties", "A",
         [](HistoryTest& t) {
             t.ui.OnEditSettings = [](TreeSettings& s) {
                 s.TreeX = 77;
                 s.TreeLeaf = QStringLiteral("leaf.gif");
                 return true;
             };
             EditTreeProperties(t.doc, t.ui, t.history.get());
         },
         kTreePropertiesStep},
        {"new tree", "A", [](HistoryTest& t) { NewTreeCommand(t.doc, t.ui, t.history.get()); }, kNewTreeStep},
        {"load after a change", "A",
         [](HistoryTest& t) {
             t.ui.Answers = {UserInterface::Answer::No};
             t.ui.Files = {t.out.filePath(QStringLiteral("custom.js"))};
             LoadTreeCommand(t.doc, t.ui);
         },
         kLoadTreeStep},
        {"cut a branch", "A", [](HistoryTest& t) { CutItem(t.doc, t.ui, t.history.get()); }, kCutStep},
        {"paste a branch into a branch", "B",
         [](HistoryTest& t) {
             t.ui.ClipboardItems = EncodeItems(t.doc, t.Find("A"));
             PasteItem(t.doc, t.ui, t.history.get());
         },
         kPasteStep},
        {"drop a branch into another", "A",
         [](HistoryTest& t) { DropItems(t.doc, t.history.get(), EncodeItems(t.doc, t.Find("A")), t.Find("B"), -1); },
         kMoveItemStep},
        {"drop a leaf before its parent", "a3",
         [](HistoryTest& t) { DropItems(t.doc, t.history.get(), EncodeItems(t.doc, t.Find("a3")), t.doc.Root(), 0); },
         kMoveItemStep},
        {"drop from another editor", "L",
         [](HistoryTest& t) {
             TreeDocument other;
             test::AddItem(other, other.Root(), QStringLiteral("Foreign"));
             DropItems(t.doc, t.history.get(), EncodeItems(other, other.Node(2)), t.Find("A"), 1);
         },
         kDropStep},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        history.reset();
        doc.NewTree();
        history = std::make_unique<EditHistory>(doc);
        BuildTree();
        // A loaded tree is the clean state, so the one before it has changes.
        const bool loads = row.step == kLoadTreeStep;
        if (loads)
            ApplyLabelEdit(doc, ui, Find("L"), QStringLiteral("Changed"), history.get());
        doc.Select(Find(row.selected));
        const State before = StateOf(doc);
        row.command(*this);
        const State after = StateOf(doc);
        ASSERT_NE(Difference(before, after), "");
        // A new tree or a load is unchanged; the tree before either comes back as it was.
        EXPECT_EQ(after.TreeChanged, !loads && row.step != kNewTreeStep);
        EXPECT_EQ(history->UndoName(), row.step);
        EXPECT_EQ(doc.CheckInvariants(), QString());
        for (int round = 0; round < 2; ++round) {
            history->Undo();
            EXPECT_EQ(Difference(StateOf(doc), before), "");
            EXPECT_EQ(history->RedoName(), row.step);
            history->Redo();
            EXPECT_EQ(Difference(StateOf(doc), after), "");
            EXPECT_EQ(doc.CheckInvariants(), QString());
        }
    }
}

TEST_F(HistoryTest, TreeChangedFollowsTheStateLastExported)
{
    BuildTree();
    doc.Select(Find("L"));
    DeleteItem(doc, ui, history.get());
    doc.Select(Find("b1"));
    DeleteItem(doc, ui, history.get());
    ExportTree(doc, out.path(), false, ui); // exported after two steps
    EXPECT_FALSE(doc.TreeChanged());
    history->Undo();
    EXPECT_TRUE(doc.TreeChanged());
    history->Redo();
    EXPECT_FALSE(doc.TreeChanged());

    // A new step after undoing past the exported state makes it unreachable.
    history->Undo();
    doc.Select(Find("a1"));
    DeleteItem(doc, ui, history.get());
    history->Undo();
    history->Redo();
    EXPECT_TRUE(doc.TreeChanged());

    // A refused command leaves the history alone.
    const std::size_t steps = history->Count();
    doc.Select(doc.Root());
    DeleteItem(doc, ui, history.get());
    EXPECT_EQ(history->Count(), steps);
}

TEST_F(HistoryTest, AnEmptyTreeReplacedLeavesNoStepAndNoStepsOfItsOwn)
{
    NewTreeCommand(doc, ui, history.get()); // as at start-up
    EXPECT_FALSE(history->CanUndo());
    test::AddItem(doc, doc.Root(), QStringLiteral("A"));
    doc.Select(doc.Node(2));
    DeleteItem(doc, ui, history.get());
    history->Undo();
    NewTreeCommand(doc, ui, history.get()); // the tree with A stays undoable
    EXPECT_EQ(history->UndoName(), kNewTreeStep);
    EXPECT_FALSE(history->CanRedo());
    doc.Select(doc.Root());
    ui.OnEditItem = [](ItemRecord&, const TreeSettings&) { return true; };
    NewItem(doc, ui, history.get());
    history->Undo(); // back to the empty tree, with the New Item to redo
    ui.Answers = {UserInterface::Answer::No};
    NewTreeCommand(doc, ui, history.get());
    EXPECT_FALSE(history->CanUndo());
    EXPECT_FALSE(history->CanRedo()) << "a redo would act on a tree that is gone";
    EXPECT_FALSE(doc.TreeChanged());
}

TEST_F(HistoryTest, TheMemoryLimitDropsTheOldestStepsFirst)
{
    BuildTree();
    for (const char* label : {"a1", "a2", "a3"}) {
        doc.Select(Find(label));
        DeleteItem(doc, ui, history.get());
    }
    const std::size_t all = history->MemoryUse();
    history->SetMemoryLimit(all - 1);
    EXPECT_EQ(history->Count(), 2u);
    history->SetMemoryLimit(0);
    EXPECT_EQ(history->Count(), 1u); // the newest step always stays
    history->Undo();
    EXPECT_FALSE(history->CanUndo());
    EXPECT_EQ(Find("a3")->Parent(), Find("A"));
}

TEST_F(HistoryTest, PasteFollowsTheRulesOfNewItem)
{
    BuildTree();
    const QByteArray branch = EncodeItems(doc, Find("A"));
    const struct {
        const char* name;
        const char* selected;
        QByteArray clipboard;
        QString message;
    } rows[] = {
        {"nothing selected", nullptr, branch, kSelectParentMessage},
        {"under a leaf", "L", branch, kLeafParentMessage},
        {"empty clipboard", "B", {}, kNothingToPasteMessage},
        {"cut short", "B", branch.left(branch.size() - 3), kNothingToPasteMessage},
        {"not ours", "B", QByteArray("plain text"), kNothingToPasteMessage},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ui.Messages.clear();
        ui.ClipboardItems = row.clipboard;
        doc.Select(row.selected ? Find(row.selected) : nullptr);
        PasteItem(doc, ui, history.get());
        EXPECT_EQ(ui.MessageTexts(), QStringList{row.message});
        EXPECT_FALSE(history->CanUndo());
    }

    // Past the item limit: refused as New Item refuses.
    while (doc.UpperBound() + 3 < kMaxRecords)
        doc.AddItemRecord();
    ui.Messages.clear();
    ui.ClipboardItems = branch;
    doc.Select(Find("B"));
    PasteItem(doc, ui, history.get());
    EXPECT_EQ(ui.MessageTexts(), QStringList{kTooManyItemsMessage});
}

TEST_F(HistoryTest, CopyOffersTheItemsAndTheirLabelsIndentedByDepth)
{
    BuildTree();
    doc.Select(doc.Root());
    CopyItem(doc, ui);
    EXPECT_EQ(ui.MessageTexts(), QStringList{kCopyRootMessage});
    doc.Select(Find("A"));
    CopyItem(doc, ui);
    EXPECT_EQ(ui.ClipboardText, QStringLiteral("A\n\ta1\n\ta2\n\ta3\n"));

    // Pasted into another editor: every value arrives, statements are built.
    TreeDocument other;
    test::FakeUserInterface otherUi;
    otherUi.ClipboardItems = ui.ClipboardItems;
    other.Select(other.Root());
    PasteItem(other, otherUi);
    ASSERT_EQ(other.NodeCount(), 5);
    EXPECT_EQ(other.Node(2)->Text(), QStringLiteral("A"));
    ItemRecord expected = doc.RecordOf(Find("a2"));
    expected.ScriptLine =
        ItemStatementBytes(expected, other.Settings(), QStringLiteral("menuBase.menuItems[0].subMenu[1]"), 1);
    EXPECT_EQ(other.Record(4), expected);
    EXPECT_EQ(other.CheckInvariants(), QString());
}

TEST_F(HistoryTest, DropsFollowTheRules)
{
    BuildTree();
    const struct {
        const char* name;
        const char* dragged;
        const char* target; // nullptr: the root
        int row;
        bool allowed;
    } rows[] = {
        {"into a leaf", "a1", "L", -1, false},
        {"into its own subtree", "A", "a1", -1, false},
        {"into itself", "A", "A", 0, false},
        {"the root", nullptr, "B", -1, false},
        {"a row past the end", "L", "B", 5, false},
        {"into a branch", "A", "B", -1, true},
        {"after the last item", "A", nullptr, 3, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TreeNode* target = row.target ? Find(row.target) : doc.Root();
        const QByteArray payload = EncodeItems(doc, row.dragged ? Find(row.dragged) : doc.Root());
        EXPECT_EQ(CanDropItems(doc, payload, target, row.row), row.allowed);
    }
    doc.Select(Find("L"));
    ASSERT_TRUE(DropItems(doc, history.get(), EncodeItems(doc, Find("A")), Find("B"), 0));
    EXPECT_EQ(Find("A")->Parent(), Find("B"));
    EXPECT_EQ(doc.SelectedNode(), Find("A"));
    // The moved items' statements name their new place and parent, the
    // out-of-date one included; the others wait for the export, as after New Item.
    for (const char* label : {"A", "a1", "a2", "a3"}) {
        const int p = Find(label)->Position();
        const QByteArray kept = doc.RecordOf(doc.Node(p)).ScriptLine;
        BuildItemStatement(doc, p);
        EXPECT_EQ(kept, doc.RecordOf(doc.Node(p)).ScriptLine) << label;
    }
}

// Random commands, undos and redos on a generated tree: the document stays
// sound after each, undoing everything gives the first tree back, redoing
// everything the last, and the result survives export and load.
TEST_F(HistoryTest, RandomEditingKeepsTheDocumentSoundAndRoundTrips)
{
    std::mt19937 rng(20261206);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 150; ++i)
        test::AddItem(doc, doc.Node(pick(1, doc.NodeCount())), QStringLiteral("Item %1").arg(i),
                      [&](ItemRecord& r) { r.ItemType = pick(0, 3) ? kBranch : kLeaf; });
    doc.SetTreeChanged(false);
    history.reset();
    history = std::make_unique<EditHistory>(doc);
    const State first = StateOf(doc);
    int counter = 0;
    ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Edit %1").arg(++counter);
        r.ItemType = pick(0, 2) ? kBranch : kLeaf;
        r.LinkHref = pick(0, 1) ? QString() : QStringLiteral("page%1.html").arg(counter);
        return pick(0, 5) > 0;
    };
    ui.OnEditSettings = [&](TreeSettings& s) {
        s.TreeX = static_cast<std::int16_t>(pick(0, 500));
        return true;
    };
    for (int i = 0; i < 10000; ++i) {
        doc.Select(doc.Node(pick(1, doc.NodeCount())));
        switch (pick(0, 13)) {
        case 0:
            NewItem(doc, ui, history.get());
            break;
        case 1:
            DeleteItem(doc, ui, history.get());
            break;
        case 2:
            EditItemProperties(doc, ui, history.get());
            break;
        case 3:
            MoveItem(doc, pick(0, 1) == 1, history.get());
            break;
        case 4:
            ApplyLabelEdit(doc, ui, doc.SelectedNode(), QStringLiteral("Label %1").arg(i), history.get());
            break;
        case 5:
            EditTreeProperties(doc, ui, history.get());
            break;
        case 6:
            CopyItem(doc, ui);
            break;
        case 7:
            pick(0, 9) ? PasteItem(doc, ui, history.get()) : CutItem(doc, ui, history.get());
            break;
        case 8: {
            TreeNode* target = doc.Node(pick(1, doc.NodeCount()));
            DropItems(doc, history.get(), EncodeItems(doc, doc.SelectedNode()), target, pick(-1, target->ChildCount()));
            break;
        }
        case 9:
        case 10:
        case 11:
            history->Undo();
            break;
        default:
            history->Redo();
            break;
        }
        // Keep the tree from growing without bound through paste.
        if (doc.NodeCount() > 400)
            ui.ClipboardItems.clear();
        ASSERT_EQ(doc.CheckInvariants(), QString()) << "after step " << i;
    }
    while (history->CanRedo())
        history->Redo();
    const State last = StateOf(doc);
    while (history->CanUndo())
        history->Undo();
    EXPECT_EQ(Difference(StateOf(doc), first), "");
    while (history->CanRedo())
        history->Redo();
    EXPECT_EQ(Difference(StateOf(doc), last), "");

    ASSERT_TRUE(ExportTree(doc, out.path(), false, ui).Complete());
    const QByteArray exported = test::ReadFile(out.filePath(QStringLiteral("custom.js")));
    TreeDocument loaded;
    LoadTreeScript(loaded, out.filePath(QStringLiteral("custom.js")), ui);
    EXPECT_EQ(loaded.CheckInvariants(), QString());
    EXPECT_EQ(loaded.NodeCount(), doc.NodeCount());
    QTemporaryDir again;
    ASSERT_TRUE(ExportTree(loaded, again.path(), false, ui).Complete());
    EXPECT_EQ(test::ReadFile(again.filePath(QStringLiteral("custom.js"))), exported);
}

} // namespace
} // namespace vi
